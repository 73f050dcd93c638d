#pragma once

#include "gui/AppContext.h"
#include "gui/WorkbookChoice.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace setzaiko {

class DirectoryList;
class DriveList;
class FileList;
namespace controls {
class WayBack;
}

// The workbook chooser: a drive list, a directory list and the .xls files of the open
// directory. 決定 hands the highlighted workbook back to the opener, and is enabled exactly
// while a file is highlighted; 戻る or the close box hand back nothing.
class WorkbookChooser : public QWidget
{
    Q_OBJECT

public:
    explicit WorkbookChooser(AppContext& context);

    DriveList* Drive1() const { return m_drive1; }
    DirectoryList* Dir1() const { return m_dir1; }
    FileList* File1() const { return m_file1; }
    QPushButton* CmdOK() const { return m_cmdOK; }
    QPushButton* CmdExit() const { return m_cmdExit; }
    QPushButton* CmdSel() const { return m_cmdSel; }
    QPushButton* CmdClr() const { return m_cmdClr; }
    QListWidget* WsList1() const { return m_wsList1; }
    QLabel* LblMsg() const { return m_lblMsg; }

    // What 決定 would hand back: the directory after the last change of directory (empty
    // before any), the highlighted file's path (empty while none is), the file name as last
    // picked, and the worksheet choice.
    QString directory() const { return m_directory; }
    QString chosenPath() const { return m_chosenPath; }
    QString fileName() const { return m_fileName; }
    QString worksheets() const { return m_worksheets; }

signals:
    void chosen(const WorkbookChoice& choice);
    void cancelled();

private:
    void clearChoice();
    void openDrive(const QString& root);
    void showDirectory();
    void pickDirectory();
    void pickFile();
    void dropFile();
    void pickWorksheet();
    void pickAllWorksheets();
    void clearWorksheets();
    void confirmChoice();
    void cancel();

    AppContext& m_context;

    DriveList* m_drive1;
    DirectoryList* m_dir1;
    FileList* m_file1;
    QLabel* m_lblMsg;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdExit;
    QPushButton* m_cmdClr;
    QPushButton* m_cmdSel;
    QListWidget* m_wsList1;
    controls::WayBack* m_wayBack;

    QString m_directory;
    QString m_chosenPath;
    QString m_fileName;
    QString m_worksheets;
};

} // namespace setzaiko
