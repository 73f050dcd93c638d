#pragma once

#include "gui/AppContext.h"
#include "gui/ImportTask.h"
#include "gui/WorkbookChoice.h"
#include "import/ImportRun.h"
#include "screen/ImportScreen.h"
#include "ui/BusyCursor.h"

#include <QWidget>

#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace setzaiko {

namespace controls {
class WayBack;
}

// The import window: choose the workbook, import it, read the counts, and go back.
class ImportWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ImportWindow(AppContext& context);
    // Waits for an import still reading (the window refuses to close meanwhile).
    ~ImportWindow() override;

    QLineEdit* TxtFile() const { return m_txtFile; }
    QPushButton* CmdFile() const { return m_cmdFile; }
    QPushButton* CmdOK() const { return m_cmdOK; }
    QPushButton* CmdExit() const { return m_cmdExit; }
    QLabel* LblMsg() const { return m_lblMsg; }
    QLabel* LblOcnt1() const { return m_lblOcnt1; }
    QLabel* LblOcnt2() const { return m_lblOcnt2; }
    QLabel* LblTcnt() const { return m_lblTcnt; }

    // The workbook the chooser handed back last.
    const QString& directory() const { return m_choice.directory; }
    void setDirectory(const QString& directory) { m_choice.directory = directory; }
    const QString& fileName() const { return m_choice.fileName; }
    const QString& worksheets() const { return m_choice.worksheets; }

    ImportStatus importStatus() const { return m_importStatus; }

    void setButtonsEnabled(bool file, bool ok, bool exit);

signals:
    // The window is closing through its back button: whether the inquiry may open now, and
    // the directory of the imported workbook.
    void finished(bool inquiryEnabled, const QString& directory);
    // An import press has been handled to its end, its boxes answered.
    void importFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void clearScreen();
    void chooseWorkbook();
    void takeChoice(const WorkbookChoice& choice);
    void importWorkbook();
    void finishImport();
    void goBack();
    void leaveTo(bool inquiryEnabled, const QString& directory);

    void showImporting();
    void showButtons(const ImportButtons& buttons);
    // Renders what a handled press of the import button shows, in the order it shows it.
    void render(const ImportScreen& screen);
    void showCounts(const ImportCounts& counts);
    void focusAfterImport(bool succeeded);

    AppContext& m_context;

    QGroupBox* m_frame1;
    QLineEdit* m_txtFile;
    QPushButton* m_cmdFile;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdExit;
    QLabel* m_lblOcnt1;
    QLabel* m_lblOcnt2;
    QLabel* m_lblTcnt;
    QLabel* m_lblMsg;
    controls::WayBack* m_wayBack;

    WorkbookChoice m_choice;
    ImportStatus m_importStatus = ImportStatus::Ok;
    bool m_chooserOpened = false;
    std::optional<BusyCursor> m_busy;
    // Last, so that it is destroyed first: its run reports to this window.
    ImportTask m_task;
};

} // namespace setzaiko
