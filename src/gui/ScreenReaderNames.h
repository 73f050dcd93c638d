#pragma once

namespace setzaiko {

class CombinedOrderWindow;
class ImportWindow;
class InquiryWindow;
class MainMenu;
class SetStockWindow;
class WorkbookChooser;

// What a screen reader meets in each window: the window's role and name, every text box, list
// and grid named by its caption, every value label by what it counts, names without the spaces
// and marks that lay captions out, and nothing of what lies out of sight. Each window calls
// its own once its controls exist.
void describeForScreenReaders(MainMenu& window);
void describeForScreenReaders(ImportWindow& window);
void describeForScreenReaders(WorkbookChooser& window);
void describeForScreenReaders(InquiryWindow& window);
void describeForScreenReaders(SetStockWindow& window);
void describeForScreenReaders(CombinedOrderWindow& window);

} // namespace setzaiko
