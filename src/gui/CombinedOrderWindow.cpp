#include "gui/CombinedOrderWindow.h"

#include "gui/ScreenReaderNames.h"
#include "screen/CombinedTexts.h"
#include "ui/BusyCursor.h"
#include "ui/Controls.h"
#include "ui/EnterKey.h"
#include "ui/FlexGrid.h"
#include "ui/Layout.h"
#include "ui/ScreenTableModel.h"
#include "ui/WayBack.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <span>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

const auto windowName = u"Frm0040F"_s;
constexpr int setWidths[] = {500, 1800, 4000, 1120, 1120, 1120, 900, 1200};
constexpr int componentWidths[] = {500, 4300, 2300, 1120, 600, 1140, 1120, 1120};

QStringList headingsOf(std::span<const QStringView> headings)
{
    QStringList texts;
    for (const QStringView heading : headings) {
        texts << heading.toString();
    }
    return texts;
}

FlexGrid* grid(QWidget* parent, ScreenTable& table, std::span<const QStringView> headings,
               std::span<const int> widths, const QString& name, QRect geometry)
{
    auto* grid = new FlexGrid(parent, new ScreenTableModel(table, headingsOf(headings), nullptr));
    grid->setObjectName(name);
    grid->setGeometry(geometry);
    grid->setFont(layout::gothic(9.75));
    for (int column = 0; column < grid->columns(); ++column) {
        grid->setColumnWidthTwips(column, widths[static_cast<std::size_t>(column)]);
    }
    grid->setHeadingHeightTwips(350);
    grid->setCurrent(1, 1);
    return grid;
}

} // namespace

CombinedOrderWindow::CombinedOrderWindow(AppContext& context, QString directory,
                                         Highlighted highlighted)
    : m_context(context), m_book(context.book()), m_highlighted(std::move(highlighted)),
      m_screen(m_book->masters(), std::move(directory), this)
{
    using namespace combinedtexts;
    setAttribute(Qt::WA_DeleteOnClose);
    controls::setUpWindow(this, windowName, caption.toString(), layout::size(12975, 6540));
    const QFont textFont = layout::gothic(9.75);
    const QFont captionFont = layout::gothic(9.75, true);
    const QFont buttonFont = layout::gothic(11.25, true);

    controls::label(this, u"Label1"_s, setsCaption.toString(), layout::rect(240, 180, 2775, 315),
                    captionFont, layout::colour::message);
    m_lblMsg = controls::label(this, u"LblMsg"_s, {}, layout::rect(3120, 180, 9615, 315),
                               captionFont, layout::colour::message);
    m_lblMsg->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_setGrid = grid(this, m_screen.setsTable(), setHeadings, setWidths, u"MSFlexGrid1"_s,
                     layout::rect(180, 480, 12555, 1935));

    controls::label(this, u"Text1"_s, quantityCaption.toString(),
                    layout::rect(240, 2580, 1215, 315), textFont, Qt::black);
    m_txtJsuryo = new QLineEdit(this);
    m_txtJsuryo->setObjectName(u"TxtJsuryo"_s);
    m_txtJsuryo->setGeometry(layout::rect(1500, 2520, 1395, 375));
    m_txtJsuryo->setFont(textFont);
    m_txtJsuryo->setAlignment(Qt::AlignRight);
    m_txtJsuryo->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferNumbers);
    m_txtJsuryo->setStyleSheet(
        u"QLineEdit { background-color: %1; }"_s.arg(layout::colour::field.name()));
    const auto action = [&](const QString& name, QStringView text, QRect geometry,
                            const QColor& colour) {
        QPushButton* button =
            controls::button(this, name, text.toString(), geometry, buttonFont, colour);
        return button;
    };
    m_cmdAdd = action(u"CmdAdd"_s, addButton, layout::rect(3060, 2520, 1275, 435),
                      layout::colour::fileButton);
    m_cmdChange = action(u"CmdChange"_s, changeButton, layout::rect(4500, 2520, 1575, 435),
                         layout::colour::actionButton);
    m_cmdDelete = action(u"CmdDelete"_s, removeButton, layout::rect(6240, 2520, 1275, 435),
                         layout::colour::actionButton);

    controls::label(this, u"Label2"_s, componentsCaption.toString(),
                    layout::rect(240, 3120, 2775, 315), captionFont, layout::colour::message);
    m_componentGrid = grid(this, m_screen.componentsTable(), componentHeadings, componentWidths,
                           u"MSFlexGrid2"_s, layout::rect(180, 3420, 12555, 2295));
    m_cmdCsvout = action(u"CmdCsvout"_s, csvButton, layout::rect(8580, 5880, 2535, 495),
                         layout::colour::actionButton);
    m_cmdExit = action(u"CmdExit"_s, backButton, layout::rect(11520, 5880, 1275, 495),
                       layout::colour::exitButton);

    setTabOrder(m_setGrid, m_txtJsuryo);
    setTabOrder(m_txtJsuryo, m_cmdAdd);
    setTabOrder(m_cmdAdd, m_cmdChange);
    setTabOrder(m_cmdChange, m_cmdDelete);
    setTabOrder(m_cmdDelete, m_componentGrid);
    setTabOrder(m_componentGrid, m_cmdCsvout);
    setTabOrder(m_cmdCsvout, m_cmdExit);

    connect(m_setGrid, &FlexGrid::currentCellMoved, this, [this](int row, int) {
        m_screen.selectRow(row);
        showState();
    });
    connect(m_cmdAdd, &QPushButton::clicked, this, &CombinedOrderWindow::onAdd);
    connect(m_cmdChange, &QPushButton::clicked, this, &CombinedOrderWindow::onChange);
    connect(m_cmdDelete, &QPushButton::clicked, this, &CombinedOrderWindow::onDelete);
    connect(m_cmdCsvout, &QPushButton::clicked, this, &CombinedOrderWindow::onExport);
    connect(m_cmdExit, &QPushButton::clicked, this, &CombinedOrderWindow::onBack);
    // Enter in the quantity adds the highlighted set; the close box and Esc press 戻る.
    controls::pressOnEnter(m_txtJsuryo, m_cmdAdd);
    m_wayBack = new controls::WayBack(this, m_cmdExit);
    showState();
    m_txtJsuryo->setFocus();
    describeForScreenReaders(*this);
}

CombinedOrderWindow::~CombinedOrderWindow()
{
    // The grids and their models read the screen model, a member: they go before it.
    delete m_setGrid;
    delete m_componentGrid;
}

void CombinedOrderWindow::showState()
{
    m_lblMsg->setText(m_screen.messageLine());
    const CombinedButtons buttons = m_screen.buttons();
    m_cmdAdd->setEnabled(buttons.add);
    m_cmdChange->setEnabled(buttons.change);
    m_cmdDelete->setEnabled(buttons.remove);
    m_cmdCsvout->setEnabled(buttons.exportCsv);
    m_cmdExit->setEnabled(buttons.back);
}

void CombinedOrderWindow::working()
{
    showState();
    repaint();
    QCoreApplication::processEvents();
}

void CombinedOrderWindow::boxesDue()
{
    m_busy.reset();
    showState();
    m_context.prompter().show(this, m_screen.takeBoxes());
}

void CombinedOrderWindow::onAdd()
{
    if (m_screen.addSet(m_highlighted ? m_highlighted() : std::nullopt, m_txtJsuryo->text())) {
        m_setGrid->setCurrent(m_screen.selectedRow(), 1);
    }
    showState();
}

void CombinedOrderWindow::onChange()
{
    m_screen.changeQuantity(m_screen.selectedRow(), m_txtJsuryo->text());
    showState();
}

void CombinedOrderWindow::onDelete()
{
    if (m_screen.removeSet(m_screen.selectedRow())) {
        m_setGrid->setCurrent(m_screen.selectedRow(), m_setGrid->col());
    }
    showState();
}

void CombinedOrderWindow::onExport()
{
    const QDateTime stamp = QDateTime::currentDateTime();
    m_busy = std::make_unique<BusyCursor>();
    m_screen.exportCombined(stamp);
    m_busy.reset();
    showState();
    m_cmdCsvout->setFocus();
}

void CombinedOrderWindow::onBack()
{
    emit finished();
    m_wayBack->leave();
}

} // namespace setzaiko
