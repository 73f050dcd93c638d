#pragma once

#include "app/AppContext.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace setzaiko {

class FrmMainF;
struct ImportCounts;

// The import window: choose the workbook, import it, read the counts, and go back.
class Frm0010F : public QWidget
{
    Q_OBJECT

public:
    Frm0010F(AppContext& context, FrmMainF* mainMenu);

    QLineEdit* TxtFile() const { return m_txtFile; }
    QPushButton* CmdFile() const { return m_cmdFile; }
    QPushButton* CmdOK() const { return m_cmdOK; }
    QPushButton* CmdExit() const { return m_cmdExit; }
    QLabel* LblMsg() const { return m_lblMsg; }
    QLabel* LblOcnt1() const { return m_lblOcnt1; }
    QLabel* LblOcnt2() const { return m_lblOcnt2; }
    QLabel* LblTcnt() const { return m_lblTcnt; }

    // Hidden state written by the main menu and the chooser.
    QString LblFname() const { return m_lblFname; }
    void setLblFname(const QString& name) { m_lblFname = name; }
    QString LblDir() const { return m_lblDir; }
    void setLblDir(const QString& directory) { m_lblDir = directory; }
    QString LblFilename() const { return m_lblFilename; }
    void setLblFilename(const QString& name) { m_lblFilename = name; }
    QString LblWSname() const { return m_lblWSname; }
    void setLblWSname(const QString& name) { m_lblWSname = name; }

    std::int16_t ImportStatus() const { return m_importStatus; }
    std::int16_t ExitByButton() const { return m_exitByButton; }
    std::int16_t ChooserOpened() const { return m_chooserOpened; }

    void setButtonsEnabled(bool file, bool ok, bool exit);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class ImportProgress;

    void Form_Load();
    void CmdFile_Click();
    void CmdOK_Click();
    void CmdExit_Click();
    void leaveTo(bool zaikoEnabled, const QString& directory);

    void showImporting();
    void showCounts(const ImportCounts& counts);

    AppContext& m_context;
    QPointer<FrmMainF> m_mainMenu;

    QGroupBox* m_frame1;
    QLineEdit* m_txtFile;
    QPushButton* m_cmdFile;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdExit;
    QLabel* m_lblOcnt1;
    QLabel* m_lblOcnt2;
    QLabel* m_lblTcnt;
    QLabel* m_lblMsg;

    QString m_lblDir;
    QString m_lblFilename;
    QString m_lblWSname;
    QString m_lblFname;

    std::int16_t m_importStatus = 0;
    std::int16_t m_exitByButton = 0;
    std::int16_t m_chooserOpened = 0;
};

} // namespace setzaiko
