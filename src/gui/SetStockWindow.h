#pragma once

#include "gui/AppContext.h"
#include "inquiry/SetProduct.h"
#include "screen/ComponentScreen.h"
#include "screen/ComponentScreenView.h"

#include <QWidget>

#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace setzaiko {

class BusyCursor;
class FlexGrid;
namespace controls {
class WayBack;
}

// One set product: its components with their stock, the sets they allow, the order
// simulation and the stock status export. The screen of a ComponentScreen: it shows the
// model and hands it the buttons.
class SetStockWindow : public QWidget, private ComponentScreenView
{
    Q_OBJECT

public:
    SetStockWindow(AppContext& context, std::optional<SetProduct> setProduct, QString directory);
    ~SetStockWindow() override;

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

    const ComponentScreen& screen() const { return m_screen; }

signals:
    // The window is closing through its back button.
    void finished();

private:
    void clearScreen();
    void onListComponents();
    void onRecalculate();
    void onExport();
    void onBack();
    void showState();

    void scrolledToTop() override;
    void cursorMoved(int row, int column) override;
    void working() override;
    void boxesDue() override;

    AppContext& m_context;
    // The book the window was opened with, which its screen reads for as long as it lives.
    std::shared_ptr<const ImportedBook> m_book;
    ComponentScreen m_screen;
    std::unique_ptr<BusyCursor> m_busy;

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
    controls::WayBack* m_wayBack;
};

} // namespace setzaiko
