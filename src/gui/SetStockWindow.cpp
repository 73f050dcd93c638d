#include "gui/SetStockWindow.h"

#include "gui/ScreenReaderNames.h"
#include "screen/ComponentTexts.h"
#include "ui/BusyCursor.h"
#include "ui/Controls.h"
#include "ui/EnterKey.h"
#include "ui/FlexGrid.h"
#include "ui/Layout.h"
#include "ui/ScreenTableModel.h"
#include "ui/WayBack.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace texts {
const auto detailCaption = u"セ ッ ト 商 品 個 別 在 庫 状 況"_s;
const auto codeCaption = u"商品コード"_s;
const auto nameCaption = u"商品名"_s;
const auto stockCaption = u"在庫数"_s;
const auto addableCaption = componenttexts::addableLabel.toString();
const auto showButton = u"構成商品を表示"_s;
const auto listCaption = u"構成商品在庫一覧"_s;
const auto frameCaption = u"受注シミュレーション"_s;
const auto orderCaption = u"受注予定数"_s;
const auto calcButton = u"再計算"_s;
const auto note1 = u"再計算すると構成部品の在庫数が更新され"_s;
const auto note2 = u"不足構成商品に不足在庫数が表示されます。"_s;
const auto csvButton = u"在庫状況CSV出力"_s;
const auto backButton = u"戻る"_s;
const QStringList headings = {
    u"No."_s,      u"構成商品名"_s, u"構成商品コード"_s, u"在庫数"_s,     u"単位"_s,
    u"構成数量"_s, u"出荷予定数"_s, u"不足在庫数"_s,     u"出荷可能数"_s, u"必要在庫数"_s};
constexpr int columnWidths[] = {500, 4300, 2300, 1120, 600, 1120, 1140, 1120, 1120, 1120};
const auto detailName = u"Frm0030F"_s;
} // namespace texts

SetStockWindow::SetStockWindow(AppContext& context, std::optional<SetProduct> setProduct,
                               QString directory)
    : m_context(context), m_book(context.book()),
      m_screen(m_book->masters(), std::move(setProduct), std::move(directory), this)
{
    setAttribute(Qt::WA_DeleteOnClose);
    controls::setUpWindow(this, texts::detailName, texts::detailCaption, layout::size(12975, 6540));
    const QFont textFont = layout::gothic(9.75);
    const QFont captionFont = layout::gothic(9.75, true);
    const QFont buttonFont = layout::gothic(11.25, true);
    const auto value = [&](const QString& name, QRect geometry) {
        return controls::label(this, name, {}, geometry, textFont, Qt::black,
                               layout::colour::window);
    };

    controls::label(this, u"Label4"_s, texts::codeCaption, layout::rect(300, 300, 1335, 315),
                    captionFont, layout::colour::caption);
    m_lblScode = value(u"LblScode"_s, layout::rect(1620, 300, 2655, 255));
    controls::label(this, u"Label1"_s, texts::nameCaption, layout::rect(300, 600, 1335, 315),
                    captionFont, layout::colour::caption);
    m_lblSname = value(u"LblSname"_s, layout::rect(1620, 600, 4935, 255));
    controls::label(this, u"Label2"_s, texts::stockCaption, layout::rect(6660, 300, 1335, 315),
                    captionFont, layout::colour::caption);
    m_lblZaikosu = value(u"LblZaikosu"_s, layout::rect(8280, 300, 1335, 255));
    m_lblTani = value(u"LblTani"_s, layout::rect(9780, 300, 1335, 255));
    controls::label(this, u"Label8"_s, texts::addableCaption, layout::rect(6660, 600, 1575, 315),
                    captionFont, layout::colour::caption);
    m_lblKnousu = value(u"LblKnousu"_s, layout::rect(8280, 600, 1335, 255));
    m_lblTani2 = value(u"LblTani2"_s, layout::rect(9780, 600, 1335, 255));
    for (QLabel* number : {m_lblZaikosu, m_lblKnousu}) {
        number->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
    m_cmdSearch = controls::button(this, u"CmdSearch"_s, texts::showButton,
                                   layout::rect(2760, 1020, 2475, 435), buttonFont,
                                   layout::colour::fileButton);
    controls::label(this, u"Label5"_s, texts::listCaption, layout::rect(240, 1140, 2175, 315),
                    captionFont, layout::colour::message);
    m_lblMsg = controls::label(this, u"LblMsg"_s, {}, layout::rect(5640, 1140, 6795, 315),
                               captionFont, layout::colour::message);
    m_grid = new FlexGrid(this, new ScreenTableModel(m_screen, texts::headings, nullptr));
    m_grid->setObjectName(u"MSFlexGrid1"_s);
    m_grid->setGeometry(layout::rect(180, 1500, 12555, 3795));
    m_grid->setFont(textFont);

    m_frame1 = new QGroupBox(texts::frameCaption, this);
    m_frame1->setObjectName(u"Frame1"_s);
    m_frame1->setGeometry(layout::rect(120, 5400, 11175, 1035));
    m_frame1->setFont(captionFont);
    m_frame1->setStyleSheet(u"QGroupBox { color: blue; }"_s);
    controls::label(this, u"Text1"_s, texts::orderCaption, layout::rect(420, 5880, 1215, 315),
                    textFont, Qt::black);
    m_txtJsuryo = new QLineEdit(this);
    m_txtJsuryo->setObjectName(u"TxtJsuryo"_s);
    m_txtJsuryo->setGeometry(layout::rect(1680, 5820, 1395, 375));
    m_txtJsuryo->setFont(textFont);
    m_txtJsuryo->setAlignment(Qt::AlignRight);
    // A quantity is typed in half-width digits, even with the Japanese input method on.
    m_txtJsuryo->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferNumbers);
    m_txtJsuryo->setStyleSheet(
        u"QLineEdit { background-color: %1; }"_s.arg(layout::colour::field.name()));
    m_cmdCalc =
        controls::button(this, u"CmdCalc"_s, texts::calcButton, layout::rect(3240, 5820, 1275, 435),
                         buttonFont, layout::colour::actionButton);
    controls::label(this, u"Text2"_s, texts::note1, layout::rect(4740, 5760, 3795, 315), textFont,
                    Qt::black);
    controls::label(this, u"Text4"_s, texts::note2, layout::rect(4740, 6060, 3795, 315), textFont,
                    Qt::black);
    m_cmdCsvout = controls::button(this, u"CmdCsvout"_s, texts::csvButton,
                                   layout::rect(8580, 5760, 2535, 495), buttonFont,
                                   layout::colour::actionButton);
    m_cmdExit = controls::button(this, u"CmdExit"_s, texts::backButton,
                                 layout::rect(11520, 5760, 1275, 495), buttonFont,
                                 layout::colour::exitButton);

    connect(m_cmdSearch, &QPushButton::clicked, this, &SetStockWindow::onListComponents);
    connect(m_cmdCalc, &QPushButton::clicked, this, &SetStockWindow::onRecalculate);
    controls::pressOnEnter(m_txtJsuryo, m_cmdCalc);
    connect(m_cmdCsvout, &QPushButton::clicked, this, &SetStockWindow::onExport);
    connect(m_cmdExit, &QPushButton::clicked, this, &SetStockWindow::onBack);
    m_wayBack = new controls::WayBack(this, m_cmdExit);
    clearScreen();
    describeForScreenReaders(*this);
}

SetStockWindow::~SetStockWindow()
{
    // The grid and its model read the screen model, a member: they go before it.
    delete m_grid;
}

void SetStockWindow::clearScreen()
{
    m_txtJsuryo->clear();
    for (int column = 0; column < m_grid->columns(); ++column) {
        m_grid->setColumnWidthTwips(column, texts::columnWidths[column]);
    }
    m_grid->setHeadingHeightTwips(350);
    m_grid->setCurrent(1, 1);

    m_lblScode->setText(m_screen.setCodeText());
    m_lblSname->setText(m_screen.setNameText());
    m_lblZaikosu->setText(m_screen.setStockText());
    m_lblTani->setText(m_screen.setUnitText());
    m_lblTani2->setText(m_screen.setUnitText());
    showState();
}

void SetStockWindow::showState()
{
    m_lblKnousu->setText(m_screen.addableText());
    m_lblMsg->setText(m_screen.messageLine());
    const ComponentButtons buttons = m_screen.buttons();
    m_cmdSearch->setEnabled(buttons.list);
    m_cmdCalc->setEnabled(buttons.recalculate);
    m_cmdCsvout->setEnabled(buttons.exportCsv);
    m_cmdExit->setEnabled(buttons.back);
}

void SetStockWindow::scrolledToTop()
{
    m_grid->setTopRow(1);
}

void SetStockWindow::cursorMoved(int row, int column)
{
    m_grid->setCurrent(row, column);
}

void SetStockWindow::working()
{
    showState();
    repaint();
    QCoreApplication::processEvents();
}

void SetStockWindow::boxesDue()
{
    // The hourglass of a long step goes before its box.
    m_busy.reset();
    showState();
    m_context.prompter().show(this, m_screen.takeBoxes());
}

void SetStockWindow::onListComponents()
{
    m_screen.listComponents();
    showState();
}

void SetStockWindow::onRecalculate()
{
    m_screen.recalculate(m_txtJsuryo->text());
    showState();
}

void SetStockWindow::onExport()
{
    const QDateTime stamp = QDateTime::currentDateTime();
    m_busy = std::make_unique<BusyCursor>();
    m_screen.exportStockStatus(stamp);
    m_busy.reset();
    showState();
    // The buttons were disabled meanwhile, which took the focus away.
    if (m_cmdCsvout->isEnabled()) {
        m_cmdCsvout->setFocus();
    }
}

void SetStockWindow::onBack()
{
    emit finished();
    m_wayBack->leave();
}

} // namespace setzaiko
