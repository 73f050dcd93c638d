#include "component/Frm0030F.h"

#include "component/ComponentGrid.h"
#include "component/ComponentTexts.h"
#include "component/OrderSimulation.h"
#include "export/ExportTexts.h"
#include "export/StockStatusCsv.h"
#include "inquiry/Frm0020F.h"
#include "ui/BusyCursor.h"
#include "ui/Controls.h"
#include "ui/FlexGrid.h"
#include "ui/Layout.h"

#include <QCloseEvent>
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
const auto addableCaption = u"追加可能数量"_s;
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
const auto inquiryName = u"Frm0020F"_s;
} // namespace texts

namespace {

// The window's grid as the engine writes component rows into it.
class GridWriter : public ComponentGrid
{
public:
    explicit GridWriter(FlexGrid& grid) : m_grid(grid) {}

    void setText(int row, int column, const QString& text) override
    {
        m_grid.setText(row, column, text);
    }

    void setColours(int row, int column, const CellColours& colours) override
    {
        m_grid.setColours(
            row, column, QColor(colours.text.red, colours.text.green, colours.text.blue),
            QColor(colours.background.red, colours.background.green, colours.background.blue));
    }

private:
    FlexGrid& m_grid;
};

} // namespace

Frm0030F::Frm0030F(AppContext& context, Frm0020F* inquiry) : m_context(context), m_inquiry(inquiry)
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
    m_grid = new FlexGrid(this, 101, ComponentRow::columnCount);
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

    connect(m_cmdSearch, &QPushButton::clicked, this, &Frm0030F::CmdSearch_Click);
    connect(m_cmdCalc, &QPushButton::clicked, this, &Frm0030F::CmdCalc_Click);
    connect(m_cmdCsvout, &QPushButton::clicked, this, &Frm0030F::CmdCsvout_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &Frm0030F::CmdExit_Click);
    Form_Load();
}

void Frm0030F::Form_Load()
{
    m_txtJsuryo->clear();
    m_lblMsg->clear();
    m_lblJsuryo.clear();
    m_lblRow = u"0"_s;
    m_listStatus = liststatus::complete;
    m_cmdCalc->setEnabled(false);
    m_cmdCsvout->setEnabled(false);
    m_grid->setHeadings(texts::headings);
    for (int column = 0; column < m_grid->columns(); ++column) {
        m_grid->setColumnWidthTwips(column, texts::columnWidths[column]);
    }
    m_grid->setHeadingHeightTwips(350);
    m_grid->blankData();
    m_grid->setCurrent(1, 1);
    m_exitByButton = 0;
}

void Frm0030F::setSelection(const QString& code, const QString& name, const QString& stock,
                            const QString& unit)
{
    m_lblScode->setText(code);
    m_lblSname->setText(name);
    m_lblZaikosu->setText(stock);
    m_lblTani->setText(unit);
    m_lblTani2->setText(unit);
    m_lblKnousu->setText(u"0"_s);
}

void Frm0030F::closeEvent(QCloseEvent* event)
{
    if (m_exitByButton != 1) {
        event->ignore();
        return;
    }
    event->accept();
}

void Frm0030F::reportFailure(QStringView text)
{
    m_context.prompter().beep();
    m_context.prompter().inform(text.toString());
}

void Frm0030F::showListing(const ComponentListing& listing)
{
    m_lblMsg->clear();
    m_listStatus = liststatus::complete;
    m_grid->setTopRow(1);
    GridWriter writer(*m_grid);
    writeComponentRows(writer, listing.rows);
    m_listStatus = listing.listStatus;
    if (listing.failed) {
        reportFailure(componenttexts::listingFailed);
        return;
    }
    if (listing.capacityExceeded) {
        m_context.prompter().inform(componenttexts::capacityBox.toString());
    }
    m_lblKnousu->setText(listing.knousuText);
    m_lblMsg->setText(listing.messageLine);
    m_grid->setCurrent(1, 1);
    m_lblRow = listing.rowText;
}

void Frm0030F::ShowComponentList()
{
    ComponentListing listing;
    try {
        listing = listComponents(m_lblScode->text(), m_context.products(), m_context.stocks(),
                                 m_grid->rows() - 1);
    } catch (const std::exception&) {
        m_listStatus = liststatus::failed;
        reportFailure(componenttexts::listingFailed);
        return;
    }
    showListing(listing);
}

void Frm0030F::enableAfterCompleteListing()
{
    if (m_listStatus == liststatus::complete) {
        m_cmdCalc->setEnabled(true);
        m_cmdCsvout->setEnabled(true);
    }
}

void Frm0030F::CmdSearch_Click()
{
    ShowComponentList();
    enableAfterCompleteListing();
}

void Frm0030F::CmdCalc_Click()
{
    m_lblJsuryo.clear();
    OrderSimulation simulation;
    try {
        simulation = simulateOrder(m_txtJsuryo->text(), m_lblZaikosu->text(), m_lblScode->text(),
                                   m_context.products(), m_context.stocks(), m_grid->rows() - 1);
    } catch (const std::exception&) {
        reportFailure(componenttexts::simulationFailed);
        return;
    }
    m_lblJsuryo = simulation.jsuryoText;
    switch (simulation.outcome) {
    case OrderSimulation::Outcome::Refused:
        m_context.prompter().inform(simulation.messageBox);
        return;
    case OrderSimulation::Outcome::Covered:
        showListing(*simulation.listing);
        enableAfterCompleteListing();
        return;
    case OrderSimulation::Outcome::Simulated:
    case OrderSimulation::Outcome::Failed: {
        if (simulation.rowsRewritten) {
            m_grid->setTopRow(1);
            m_lblMsg->clear();
        }
        GridWriter writer(*m_grid);
        writeComponentRows(writer, simulation.rows);
        if (simulation.outcome == OrderSimulation::Outcome::Failed) {
            reportFailure(simulation.messageBox);
            return;
        }
        if (simulation.capacityExceeded) {
            m_context.prompter().inform(componenttexts::capacityBox.toString());
        }
        m_grid->setCurrent(1, 1);
        return;
    }
    }
}

void Frm0030F::setActionButtonsEnabled(bool enabled)
{
    m_cmdSearch->setEnabled(enabled);
    m_cmdCalc->setEnabled(enabled);
    m_cmdCsvout->setEnabled(enabled);
    m_cmdExit->setEnabled(enabled);
}

void Frm0030F::CmdCsvout_Click()
{
    const QDateTime stamp = QDateTime::currentDateTime();
    BusyCursor busy;
    setActionButtonsEnabled(false);
    m_lblMsg->setText(exporttexts::exporting.toString());
    repaint();
    QCoreApplication::processEvents();

    StockStatusScreen screen;
    screen.directory = m_lblDir;
    screen.setCode = m_lblScode->text();
    screen.setName = m_lblSname->text();
    screen.orderText = m_lblJsuryo;
    screen.stockText = m_lblZaikosu->text();
    screen.addableText = m_lblKnousu->text();
    screen.unitText = m_lblTani->text();
    screen.rowText = m_lblRow;
    screen.cell = [this](int row, int column) -> std::optional<QString> {
        if (row < 1 || row >= m_grid->rows()) {
            return std::nullopt;
        }
        return m_grid->text(row, column);
    };
    StockStatusExport written;
    try {
        const std::unique_ptr<Cp932Encoder> encoder = Cp932Encoder::create();
        written = exportStockStatus(screen, stamp, *encoder);
    } catch (const std::exception&) {
        busy.release();
        reportFailure(exporttexts::failed);
        m_cmdExit->setEnabled(true);
        return;
    }
    if (written.lines > 0) {
        m_grid->setCurrent(written.lines, shortageColumn);
    }
    busy.release();
    m_context.prompter().inform(written.countMessage);
    m_lblMsg->clear();
    setActionButtonsEnabled(true);
}

void Frm0030F::CmdExit_Click()
{
    m_exitByButton = 1;
    if (m_lblFname == texts::inquiryName && m_inquiry) {
        m_inquiry->setButtonsEnabled(true, true, true);
    }
    close();
}

} // namespace setzaiko
