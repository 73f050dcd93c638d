#pragma once

#include "app/AppContext.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace setzaiko {

class DirectoryList;
class DriveList;
class FileList;
class Frm0010F;

// The workbook chooser: a drive list, a directory list and the .xls files of the open
// directory. 決定 hands the chosen path back to the import window.
class FSelect : public QWidget
{
    Q_OBJECT

public:
    FSelect(AppContext& context, Frm0010F* importWindow);

    DriveList* Drive1() const { return m_drive1; }
    DirectoryList* Dir1() const { return m_dir1; }
    FileList* File1() const { return m_file1; }
    QPushButton* CmdOK() const { return m_cmdOK; }
    QPushButton* CmdExit() const { return m_cmdExit; }
    QPushButton* CmdSel() const { return m_cmdSel; }
    QPushButton* CmdClr() const { return m_cmdClr; }
    QListWidget* WsList1() const { return m_wsList1; }
    QLabel* LblMsg() const { return m_lblMsg; }

    QString LblFname() const { return m_lblFname; }
    void setLblFname(const QString& name) { m_lblFname = name; }
    QString LblDir() const { return m_lblDir; }
    QString LblFile() const { return m_lblFile; }
    QString LblFilename() const { return m_lblFilename; }
    QString LblWSname() const { return m_lblWSname; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Drive1_Change(const QString& root);
    void Dir1_Change();
    void Dir1_Click();
    void File1_Click();
    void WsList1_Click();
    void CmdSel_Click();
    void CmdClr_Click();
    void CmdOK_Click();
    void CmdExit_Click();
    void handBackExit();

    AppContext& m_context;
    QPointer<Frm0010F> m_importWindow;
    bool m_handedBack = false;

    DriveList* m_drive1;
    DirectoryList* m_dir1;
    FileList* m_file1;
    QLabel* m_lblMsg;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdExit;
    QPushButton* m_cmdClr;
    QPushButton* m_cmdSel;
    QListWidget* m_wsList1;

    QString m_lblDir;
    QString m_lblFile;
    QString m_lblFname;
    QString m_lblFilename;
    QString m_lblWSname;
};

} // namespace setzaiko
