#include "gui/InquiryWindow.h"

#include "gui/CombinedOrderWindow.h"
#include "gui/ScreenReaderNames.h"
#include "gui/SetStockWindow.h"
#include "ui/Controls.h"
#include "ui/EnterKey.h"
#include "ui/FlexGrid.h"
#include "ui/Layout.h"
#include "ui/ScreenTableModel.h"
#include "ui/WayBack.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace texts {
const auto inquiryCaption = u"セ ッ ト 商 品 在 庫 照 会"_s;
const auto codeCaption = u"商品コード"_s;
const auto nameCaption = u"商品名"_s;
const auto searchButton = u"検　索"_s;
const auto hint =
    u"文字検索可。上記商品コード、商品名が未入力の場合、全件表示(MAX100件)になります。"_s;
const auto listCaption = u"セット商品在庫一覧"_s;
const auto detailsButton = u"在　庫　詳　細"_s;
const auto backButton = u"戻る"_s;
const auto combinedButton = u"まとめ照会"_s;
const auto inquiryName = u"Frm0020F"_s;
} // namespace texts

InquiryWindow::InquiryWindow(AppContext& context, QString directory)
    : m_context(context), m_book(context.book()), m_directory(std::move(directory)), m_screen(this)
{
    setAttribute(Qt::WA_DeleteOnClose);
    controls::setUpWindow(this, texts::inquiryName, texts::inquiryCaption,
                          layout::size(12975, 6540));
    const QFont captionFont = layout::gothic(9.75, true);
    const QFont buttonFont = layout::gothic(11.25, true);
    const QString fieldStyle =
        u"QLineEdit { color: black; background-color: %1; }"_s.arg(layout::colour::field.name());

    controls::label(this, u"Label4"_s, texts::codeCaption, layout::rect(180, 240, 1335, 315),
                    captionFont, layout::colour::caption);
    m_txtScode = new QLineEdit(this);
    m_txtScode->setObjectName(u"TxtScode"_s);
    m_txtScode->setGeometry(layout::rect(1380, 180, 2235, 315));
    // Codes are typed in Latin letters and digits, even with the Japanese input method on.
    m_txtScode->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoAutoUppercase);
    controls::label(this, u"Label2"_s, texts::nameCaption, layout::rect(4020, 240, 1335, 315),
                    captionFont, layout::colour::caption);
    m_txtSname = new QLineEdit(this);
    m_txtSname->setObjectName(u"TxtSname"_s);
    m_txtSname->setGeometry(layout::rect(4920, 180, 3735, 315));
    for (QLineEdit* box : {m_txtScode, m_txtSname}) {
        box->setFont(layout::gothic(9.75));
        box->setStyleSheet(fieldStyle);
    }
    m_cmdSearch = controls::button(this, u"CmdSearch"_s, texts::searchButton,
                                   layout::rect(9780, 180, 1815, 495), buttonFont,
                                   layout::colour::fileButton);
    controls::label(this, u"Label3"_s, texts::hint, layout::rect(900, 600, 8895, 315),
                    layout::gothic(9.75), layout::colour::caption);
    controls::label(this, u"Label1"_s, texts::listCaption, layout::rect(180, 900, 2295, 315),
                    layout::gothic(11.25, true), layout::colour::message);
    m_lblMsg = controls::label(this, u"LblMsg"_s, {}, layout::rect(3120, 900, 9615, 315),
                               captionFont, layout::colour::message);
    m_lblMsg->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_grid = new FlexGrid(this, new ScreenTableModel(m_screen, InquiryScreen::headings(), nullptr));
    m_grid->setObjectName(u"MSFlexGrid1"_s);
    m_grid->setGeometry(layout::rect(180, 1260, 12615, 4515));
    m_grid->setFont(layout::gothic(9.75));
    m_cmdZshosai = controls::button(this, u"CmdZshosai"_s, texts::detailsButton,
                                    layout::rect(360, 5880, 2655, 495), buttonFont,
                                    layout::colour::actionButton);
    m_cmdExit = controls::button(this, u"CmdExit"_s, texts::backButton,
                                 layout::rect(11400, 5880, 1215, 495), buttonFont,
                                 layout::colour::exitButton);

    m_cmdMatome = controls::button(this, u"CmdMatome"_s, texts::combinedButton,
                                   layout::rect(3240, 5880, 2175, 495), buttonFont,
                                   layout::colour::actionButton);
    connect(m_cmdMatome, &QPushButton::clicked, this, &InquiryWindow::openCombined);

    setTabOrder(m_txtScode, m_txtSname);
    setTabOrder(m_txtSname, m_cmdSearch);
    setTabOrder(m_cmdSearch, m_grid);
    setTabOrder(m_grid, m_cmdZshosai);
    setTabOrder(m_cmdZshosai, m_cmdMatome);
    setTabOrder(m_cmdMatome, m_cmdExit);

    connect(m_cmdSearch, &QPushButton::clicked, this, &InquiryWindow::search);
    connect(m_grid, &FlexGrid::currentCellMoved, this, &InquiryWindow::followCurrentCell);
    connect(m_grid, &FlexGrid::rowHeadingPressed, this, &InquiryWindow::pickRowByHeading);
    connect(m_grid, &FlexGrid::cellDoubleClicked, this, &InquiryWindow::openRow);
    connect(m_cmdZshosai, &QPushButton::clicked, this, &InquiryWindow::openDetails);
    // Enter in a search box searches; Enter in the list opens the selected row.
    controls::pressOnEnter(m_txtScode, m_cmdSearch);
    controls::pressOnEnter(m_txtSname, m_cmdSearch);
    controls::pressOnEnter(m_grid, m_cmdZshosai);
    connect(m_cmdExit, &QPushButton::clicked, this, &InquiryWindow::goBack);
    m_wayBack = new controls::WayBack(this, m_cmdExit);
    clearScreen();
    m_txtScode->setFocus();
    describeForScreenReaders(*this);
}

InquiryWindow::~InquiryWindow()
{
    // The grid and its model read the screen model, a member: they go before it.
    delete m_grid;
}

void InquiryWindow::showButtons()
{
    const InquiryButtons buttons = m_screen.buttons();
    m_cmdSearch->setEnabled(buttons.search);
    m_cmdZshosai->setEnabled(buttons.details);
    m_cmdExit->setEnabled(buttons.back);
    m_cmdMatome->setEnabled(buttons.combined);
}

void InquiryWindow::clearScreen()
{
    m_txtScode->clear();
    m_txtSname->clear();
    m_lblMsg->clear();
    for (int column = 0; column < m_grid->columns(); ++column) {
        m_grid->setColumnWidthTwips(
            column, InquiryScreen::columns()[static_cast<std::size_t>(column)].widthTwips);
    }
    m_grid->setHeadingHeightTwips(350);
    m_grid->setCurrent(1, 1);
    showButtons();
}

void InquiryWindow::showMessageLine()
{
    m_lblMsg->setText(m_screen.messageLine());
}

void InquiryWindow::boxesDue()
{
    showMessageLine();
    showButtons();
    m_context.prompter().show(this, m_screen.takeBoxes());
}

void InquiryWindow::search()
{
    m_grid->setTopRow(1);
    m_screen.search(m_book->stocks(), m_txtScode->text(), m_txtSname->text());
    showMessageLine();
    showButtons();
    m_grid->setCurrent(1, 1);
}

void InquiryWindow::followCurrentCell(int row, int column)
{
    if (m_steering) {
        return;
    }
    if (InquiryScreen::picksRow(column)) {
        m_screen.selectRow(row);
        return;
    }
    // The last column holds no data: landing on it keeps the selection, and the current cell
    // stays in the selected row, so that the row highlighted is always the one 在庫詳細 opens.
    if (row != m_screen.selectedRow()) {
        m_steering = true;
        m_grid->setCurrent(m_screen.selectedRow(), column);
        m_steering = false;
    }
}

void InquiryWindow::pickRowByHeading(int row)
{
    const int column = m_grid->col();
    m_grid->setCurrent(row, InquiryScreen::picksRow(column) ? column : 1);
}

void InquiryWindow::openRow(int row, int column)
{
    // The double-clicked row, whichever of its cells: a cell that does not pick a row picks it
    // here, so that the row opened is the one under the pointer.
    m_grid->setCurrent(row, InquiryScreen::picksRow(column) ? column : 1);
    if (m_cmdZshosai->isEnabled()) {
        m_cmdZshosai->click();
    }
}

void InquiryWindow::openDetails()
{
    const int openedRow = m_grid->row();
    m_screen.detailsOpened();
    showButtons();
    auto* details = new SetStockWindow(m_context, m_screen.selection(), m_directory);
    connect(details, &SetStockWindow::finished, this, [this, openedRow] {
        m_screen.detailsClosed();
        showButtons();
        // Back on the row the details were opened from, even where the list was clicked
        // meanwhile.
        const int column = m_grid->col();
        m_grid->setCurrent(openedRow, InquiryScreen::picksRow(column) ? column : 1);
        m_grid->setFocus();
    });
    controls::showInFrontOf(details, this);
}

void InquiryWindow::openCombined()
{
    m_screen.combinedOpened();
    showButtons();
    // The combined order asks for the highlighted row each time it adds one.
    QPointer<InquiryWindow> inquiry(this);
    auto* combined =
        new CombinedOrderWindow(m_context, m_directory, [inquiry]() -> std::optional<SetProduct> {
            return inquiry ? inquiry->chosenSetProduct() : std::nullopt;
        });
    connect(combined, &CombinedOrderWindow::finished, this, [this] {
        m_screen.combinedClosed();
        showButtons();
        m_cmdMatome->setFocus();
    });
    controls::showInFrontOf(combined, this);
}

void InquiryWindow::goBack()
{
    emit finished();
    m_wayBack->leave();
}

} // namespace setzaiko
