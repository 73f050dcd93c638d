#pragma once

#include "app/AppContext.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace setzaiko {

// The main menu: import the workbook, open the stock inquiry, or end the program.
class FrmMainF : public QWidget
{
    Q_OBJECT

public:
    explicit FrmMainF(AppContext& context);

    QPushButton* CmdImport() const { return m_cmdImport; }
    QPushButton* CmdZaiko() const { return m_cmdZaiko; }
    QPushButton* CmdExit() const { return m_cmdExit; }

    // The directory of the last imported workbook, handed on to the inquiry.
    QString LblDir() const { return m_lblDir; }
    void setLblDir(const QString& directory) { m_lblDir = directory; }

    void setButtonsEnabled(bool import, bool zaiko, bool exit);

private:
    void Form_Load();
    void CmdImport_Click();
    void CmdExit_Click();

    AppContext& m_context;
    QPushButton* m_cmdImport;
    QPushButton* m_cmdZaiko;
    QPushButton* m_cmdExit;
    QLabel* m_label6;
    QString m_lblDir;
};

} // namespace setzaiko
