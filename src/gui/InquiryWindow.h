#pragma once

#include "gui/AppContext.h"
#include "inquiry/SetProduct.h"
#include "screen/InquiryScreen.h"

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace setzaiko {

class FlexGrid;
namespace controls {
class WayBack;
}

// The set product inquiry: search by code and name, pick a row, open its component window.
// The screen of an InquiryScreen: it shows the model and hands it its input.
class InquiryWindow : public QWidget, private InquiryScreenView
{
    Q_OBJECT

public:
    // directory: that of the last imported workbook, where the export writes.
    InquiryWindow(AppContext& context, QString directory);
    ~InquiryWindow() override;

    QLineEdit* TxtScode() const { return m_txtScode; }
    QLineEdit* TxtSname() const { return m_txtSname; }
    QPushButton* CmdSearch() const { return m_cmdSearch; }
    QPushButton* CmdZshosai() const { return m_cmdZshosai; }
    QPushButton* CmdExit() const { return m_cmdExit; }
    QPushButton* CmdMatome() const { return m_cmdMatome; }
    QLabel* LblMsg() const { return m_lblMsg; }
    FlexGrid* MSFlexGrid1() const { return m_grid; }

    const QString& directory() const { return m_directory; }
    // The set product of the row last picked; nullopt for a blank row.
    const std::optional<SetProduct>& chosenSetProduct() const { return m_screen.selection(); }
    const InquiryScreen& screen() const { return m_screen; }

signals:
    // The window is closing through its back button.
    void finished();

private:
    void clearScreen();
    void showMessageLine();
    void showButtons();
    void search();
    // The current cell moved: onto a data column it selects its row.
    void followCurrentCell(int row, int column);
    void pickRowByHeading(int row);
    void openRow(int row, int column);
    void openDetails();
    void openCombined();
    void goBack();
    void boxesDue() override;

    AppContext& m_context;
    // The book the window was opened with: its searches read it for as long as it lives.
    std::shared_ptr<const ImportedBook> m_book;

    QLineEdit* m_txtScode;
    QLineEdit* m_txtSname;
    QPushButton* m_cmdSearch;
    QLabel* m_lblMsg;
    FlexGrid* m_grid;
    QPushButton* m_cmdZshosai;
    QPushButton* m_cmdExit;
    QPushButton* m_cmdMatome;
    controls::WayBack* m_wayBack;

    QString m_directory;
    InquiryScreen m_screen;
    bool m_steering = false;
};

} // namespace setzaiko
