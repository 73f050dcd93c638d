#pragma once

#include "import/ImportedBook.h"
#include "ui/Prompter.h"
#include "workbook/Workbook.h"

#include <functional>
#include <memory>

namespace setzaiko {

// What every window reaches: the book of the last import, the message-box route and the
// workbook engine, which is made at the first import and kept until the program ends. A window
// that reads the tables takes the book when it opens and keeps it; an import hands a new book
// over in its place.
class AppContext
{
public:
    using OpenerFactory = std::function<std::unique_ptr<WorkbookOpener>()>;

    AppContext(Prompter& prompter, OpenerFactory makeOpener);
    // Waits for an import still reading with the engine.
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const std::shared_ptr<const ImportedBook>& book() const { return m_book; }
    void setBook(std::shared_ptr<const ImportedBook> book);
    Prompter& prompter() { return m_prompter; }
    WorkbookOpener& workbookOpener();

private:
    std::shared_ptr<const ImportedBook> m_book = std::make_shared<const ImportedBook>();
    Prompter& m_prompter;
    OpenerFactory m_makeOpener;
    std::unique_ptr<WorkbookOpener> m_opener;
};

} // namespace setzaiko
