#pragma once

#include "app/AppContext.h"
#include "component/ComponentListing.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace setzaiko {

class FlexGrid;
class Frm0020F;

// One set product: its components with their stock, the sets they allow, the order
// simulation and the stock status export.
class Frm0030F : public QWidget
{
    Q_OBJECT

public:
    Frm0030F(AppContext& context, Frm0020F* inquiry);

    QLabel* LblScode() const { return m_lblScode; }
    QLabel* LblSname() const { return m_lblSname; }
    QLabel* LblZaikosu() const { return m_lblZaikosu; }
    QLabel* LblTani() const { return m_lblTani; }
    QLabel* LblTani2() const { return m_lblTani2; }
    QLabel* LblKnousu() const { return m_lblKnousu; }
    QLabel* LblMsg() const { return m_lblMsg; }
    QLineEdit* TxtJsuryo() const { return m_txtJsuryo; }
    QPushButton* CmdSearch() const { return m_cmdSearch; }
    QPushButton* CmdCalc() const { return m_cmdCalc; }
    QPushButton* CmdCsvout() const { return m_cmdCsvout; }
    QPushButton* CmdExit() const { return m_cmdExit; }
    FlexGrid* MSFlexGrid1() const { return m_grid; }

    QString LblRow() const { return m_lblRow; }
    QString LblJsuryo() const { return m_lblJsuryo; }
    QString LblDir() const { return m_lblDir; }
    void setLblDir(const QString& directory) { m_lblDir = directory; }
    QString LblFname() const { return m_lblFname; }
    void setLblFname(const QString& name) { m_lblFname = name; }
    std::int16_t ListStatus() const { return m_listStatus; }
    std::int16_t ExitByButton() const { return m_exitByButton; }

    // The hand-over of the chosen set product, in the inquiry's order.
    void setSelection(const QString& code, const QString& name, const QString& stock,
                      const QString& unit);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void CmdSearch_Click();
    void CmdCalc_Click();
    void CmdCsvout_Click();
    void CmdExit_Click();
    void ShowComponentList();
    void showListing(const ComponentListing& listing);
    void enableAfterCompleteListing();
    void setActionButtonsEnabled(bool enabled);
    void reportFailure(QStringView text);

    AppContext& m_context;
    QPointer<Frm0020F> m_inquiry;

    QLabel* m_lblScode;
    QLabel* m_lblSname;
    QLabel* m_lblZaikosu;
    QLabel* m_lblTani;
    QLabel* m_lblKnousu;
    QLabel* m_lblTani2;
    QPushButton* m_cmdSearch;
    QLabel* m_lblMsg;
    FlexGrid* m_grid;
    QGroupBox* m_frame1;
    QLineEdit* m_txtJsuryo;
    QPushButton* m_cmdCalc;
    QPushButton* m_cmdCsvout;
    QPushButton* m_cmdExit;

    QString m_lblRow;
    QString m_lblJsuryo;
    QString m_lblDir;
    QString m_lblFname;
    std::int16_t m_listStatus = 0;
    std::int16_t m_exitByButton = 0;
};

} // namespace setzaiko
