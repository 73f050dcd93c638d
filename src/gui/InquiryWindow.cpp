#include "gui/InquiryWindow.h"

#include "gui/SetStockWindow.h"
#include "inquiry/InquiryTexts.h"
#include "inquiry/SetProductSearch.h"
#include "ui/Controls.h"
#include "ui/FlexGrid.h"
#include "ui/Layout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <tuple>
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
const QStringList headings = {u"No."_s,  u"商品名"_s, u"商品コード"_s,  u"在庫数"_s,
                              u"単位"_s, u"備考"_s,   u"\u3000\u3000"_s};
constexpr int columnWidths[] = {500, 4300, 2300, 1100, 800, 3250, 1000};
const auto inquiryName = u"Frm0020F"_s;
} // namespace texts

InquiryWindow::InquiryWindow(AppContext& context, QString directory)
    : m_context(context), m_book(context.book()), m_directory(std::move(directory))
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
    // The list shows as many columns as the search gives each row.
    m_grid = new FlexGrid(this, listCapacity + 1,
                          static_cast<int>(std::tuple_size_v<SetProductListRow>));
    m_grid->setObjectName(u"MSFlexGrid1"_s);
    m_grid->setGeometry(layout::rect(180, 1260, 12615, 4515));
    m_grid->setFont(layout::gothic(9.75));
    m_cmdZshosai = controls::button(this, u"CmdZshosai"_s, texts::detailsButton,
                                    layout::rect(360, 5880, 2655, 495), buttonFont,
                                    layout::colour::actionButton);
    m_cmdExit = controls::button(this, u"CmdExit"_s, texts::backButton,
                                 layout::rect(11400, 5880, 1215, 495), buttonFont,
                                 layout::colour::exitButton);

    setTabOrder(m_txtScode, m_txtSname);
    setTabOrder(m_txtSname, m_cmdSearch);
    setTabOrder(m_cmdSearch, m_grid);
    setTabOrder(m_grid, m_cmdZshosai);
    setTabOrder(m_cmdZshosai, m_cmdExit);

    connect(m_cmdSearch, &QPushButton::clicked, this, &InquiryWindow::search);
    connect(m_grid, &FlexGrid::currentCellMoved, this, &InquiryWindow::followCurrentCell);
    connect(m_grid, &FlexGrid::rowHeadingPressed, this, &InquiryWindow::pickRowByHeading);
    connect(m_cmdZshosai, &QPushButton::clicked, this, &InquiryWindow::openDetails);
    connect(m_cmdExit, &QPushButton::clicked, this, &InquiryWindow::goBack);
    clearScreen();
    m_txtScode->setFocus();
}

void InquiryWindow::setButtonsEnabled(bool search, bool details, bool exit)
{
    m_cmdSearch->setEnabled(search);
    m_cmdZshosai->setEnabled(details);
    m_cmdExit->setEnabled(exit);
}

void InquiryWindow::clearScreen()
{
    m_txtScode->clear();
    m_txtSname->clear();
    m_chosen.reset();
    m_lblMsg->clear();
    m_cmdZshosai->setEnabled(false);
    clearList();
}

void InquiryWindow::clearList()
{
    m_grid->setHeadings(texts::headings);
    for (int column = 0; column < m_grid->columns(); ++column) {
        m_grid->setColumnWidthTwips(column, texts::columnWidths[column]);
    }
    m_grid->setHeadingHeightTwips(350);
    m_grid->blankData();
    m_listed.clear();
    m_grid->setCurrent(1, 1);
}

void InquiryWindow::closeEvent(QCloseEvent* event)
{
    if (!m_closingByButton) {
        event->ignore();
        return;
    }
    event->accept();
}

void InquiryWindow::selectRow(int row)
{
    m_chosenRow = row;
    const auto index = static_cast<std::size_t>(row - 1);
    if (row >= 1 && index < m_listed.size()) {
        m_chosen = m_listed[index];
    } else {
        m_chosen.reset();
    }
}

void InquiryWindow::reportFailure(QStringView text)
{
    m_context.prompter().beep();
    m_context.prompter().inform(this, text.toString());
}

void InquiryWindow::search()
{
    QString code;
    QString name;
    try {
        m_grid->blankData();
        m_listed.clear();
        m_grid->setTopRow(1);
        m_lblMsg->clear();
        code = m_txtScode->text();
        name = m_txtSname->text();
    } catch (const std::exception&) {
        reportFailure(inquirytexts::searchFailed);
        return;
    }
    // The filtered listing reports its own failures.
    const bool filtered = isFilteredSearch(code, name);
    try {
        if (filtered) {
            m_lblMsg->clear();
            m_grid->setTopRow(1);
        }
        const SetProductSearchResult found =
            searchSetProducts(m_book->stocks(), code, name, m_grid->rows() - 1);
        m_listed = found.products;
        for (std::size_t i = 0; i < found.rows.size(); ++i) {
            for (int column = 0; column < m_grid->columns(); ++column) {
                m_grid->setText(static_cast<int>(i) + 1, column, found.rows[i][column]);
            }
        }
        if (found.limitReached) {
            m_context.prompter().inform(this, found.limitBox);
            m_lblMsg->setText(found.limitLine);
        }
        m_cmdZshosai->setEnabled(true);
        m_grid->setCurrent(1, 1);
        selectRow(1);
    } catch (const std::exception&) {
        reportFailure(filtered ? inquirytexts::filterFailed : inquirytexts::searchFailed);
    }
}

bool InquiryWindow::isDataColumn(int column)
{
    return column >= 1 && column <= 5;
}

void InquiryWindow::followCurrentCell(int row, int column)
{
    if (m_steering) {
        return;
    }
    if (isDataColumn(column)) {
        selectRow(row);
        return;
    }
    // The last column holds no data: landing on it keeps the selection, and the current cell
    // stays in the selected row, so that the row highlighted is always the one 在庫詳細 opens.
    if (row != m_chosenRow) {
        m_steering = true;
        m_grid->setCurrent(m_chosenRow, column);
        m_steering = false;
    }
}

void InquiryWindow::pickRowByHeading(int row)
{
    const int column = m_grid->col();
    m_grid->setCurrent(row, isDataColumn(column) ? column : 1);
}

void InquiryWindow::openDetails()
{
    setButtonsEnabled(false, false, false);
    auto* details = new SetStockWindow(m_context, m_chosen, m_directory);
    connect(details, &SetStockWindow::finished, this,
            [this] { setButtonsEnabled(true, true, true); });
    controls::showInFrontOf(details, this);
}

void InquiryWindow::goBack()
{
    m_closingByButton = true;
    emit finished();
    close();
}

} // namespace setzaiko
