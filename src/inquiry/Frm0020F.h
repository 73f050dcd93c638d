#pragma once

#include "app/AppContext.h"
#include "inquiry/SetProduct.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace setzaiko {

class FlexGrid;
class FrmMainF;

// The set product inquiry: search by code and name, pick a row, open its component window.
class Frm0020F : public QWidget
{
    Q_OBJECT

public:
    Frm0020F(AppContext& context, FrmMainF* mainMenu);

    QLineEdit* TxtScode() const { return m_txtScode; }
    QLineEdit* TxtSname() const { return m_txtSname; }
    QPushButton* CmdSearch() const { return m_cmdSearch; }
    QPushButton* CmdZshosai() const { return m_cmdZshosai; }
    QPushButton* CmdExit() const { return m_cmdExit; }
    QLabel* LblMsg() const { return m_lblMsg; }
    FlexGrid* MSFlexGrid1() const { return m_grid; }

    QString LblFname() const { return m_lblFname; }
    void setLblFname(const QString& name) { m_lblFname = name; }
    QString LblDir() const { return m_lblDir; }
    void setLblDir(const QString& directory) { m_lblDir = directory; }
    // The set product of the row last picked; nullopt for a blank row.
    const std::optional<SetProduct>& chosenSetProduct() const { return m_chosen; }

    void setButtonsEnabled(bool search, bool details, bool exit);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void InitGrid();
    void CmdSearch_Click();
    void MSFlexGrid1_Click();
    void CmdZshosai_Click();
    void CmdExit_Click();
    void selectRow(int row);
    void reportFailure(QStringView text);

    AppContext& m_context;
    QPointer<FrmMainF> m_mainMenu;

    QLineEdit* m_txtScode;
    QLineEdit* m_txtSname;
    QPushButton* m_cmdSearch;
    QLabel* m_lblMsg;
    FlexGrid* m_grid;
    QPushButton* m_cmdZshosai;
    QPushButton* m_cmdExit;

    QString m_lblDir;
    QString m_lblFname;
    std::vector<SetProduct> m_listed; // the set product of each listed row
    std::optional<SetProduct> m_chosen;
    bool m_closingByButton = false;
};

} // namespace setzaiko
