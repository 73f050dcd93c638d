#pragma once

#include "gui/AppContext.h"
#include "inquiry/SetProduct.h"
#include "screen/CombinedScreen.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace setzaiko {

class BusyCursor;
class FlexGrid;
namespace controls {
class WayBack;
}

// An order of several set products: the sets chosen in the inquiry with their quantities,
// what their components need together, and the combined file. The screen of a CombinedScreen.
class CombinedOrderWindow : public QWidget, private CombinedScreenView
{
    Q_OBJECT

public:
    // The set product highlighted in the inquiry list, asked for each time 追加 is pressed.
    using Highlighted = std::function<std::optional<SetProduct>()>;

    CombinedOrderWindow(AppContext& context, QString directory, Highlighted highlighted);
    ~CombinedOrderWindow() override;

    QLineEdit* TxtJsuryo() const { return m_txtJsuryo; }
    QPushButton* CmdAdd() const { return m_cmdAdd; }
    QPushButton* CmdChange() const { return m_cmdChange; }
    QPushButton* CmdDelete() const { return m_cmdDelete; }
    QPushButton* CmdCsvout() const { return m_cmdCsvout; }
    QPushButton* CmdExit() const { return m_cmdExit; }
    QLabel* LblMsg() const { return m_lblMsg; }
    FlexGrid* SetGrid() const { return m_setGrid; }
    FlexGrid* ComponentGrid() const { return m_componentGrid; }

    const CombinedScreen& screen() const { return m_screen; }

signals:
    // The window is closing through its back button, its close box or Esc.
    void finished();

private:
    void onAdd();
    void onChange();
    void onDelete();
    void onExport();
    void onBack();
    void showState();
    void working() override;
    void boxesDue() override;

    AppContext& m_context;
    std::shared_ptr<const ImportedBook> m_book;
    Highlighted m_highlighted;
    CombinedScreen m_screen;
    std::unique_ptr<BusyCursor> m_busy;

    QLabel* m_lblMsg;
    FlexGrid* m_setGrid;
    QLineEdit* m_txtJsuryo;
    QPushButton* m_cmdAdd;
    QPushButton* m_cmdChange;
    QPushButton* m_cmdDelete;
    FlexGrid* m_componentGrid;
    QPushButton* m_cmdCsvout;
    QPushButton* m_cmdExit;
    controls::WayBack* m_wayBack;
};

} // namespace setzaiko
