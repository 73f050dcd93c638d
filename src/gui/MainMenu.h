#pragma once

#include "gui/AppContext.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace setzaiko {

namespace controls {
class WayBack;
}

// The main menu: import the workbook, open the stock inquiry, or end the program.
class MainMenu : public QWidget
{
    Q_OBJECT

public:
    explicit MainMenu(AppContext& context);

    QPushButton* CmdImport() const { return m_cmdImport; }
    QPushButton* CmdZaiko() const { return m_cmdZaiko; }
    QPushButton* CmdExit() const { return m_cmdExit; }

    // The directory of the last imported workbook, handed on to the inquiry.
    const QString& directory() const { return m_directory; }
    void setDirectory(const QString& directory) { m_directory = directory; }

    void setButtonsEnabled(bool import, bool zaiko, bool exit);

private:
    void openImport();
    void openInquiry();

    AppContext& m_context;
    QPushButton* m_cmdImport;
    QPushButton* m_cmdZaiko;
    QPushButton* m_cmdExit;
    QLabel* m_label6;
    controls::WayBack* m_wayBack;
    QString m_directory;
};

} // namespace setzaiko
