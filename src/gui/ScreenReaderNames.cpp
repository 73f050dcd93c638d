#include "gui/ScreenReaderNames.h"

#include "gui/CombinedOrderWindow.h"
#include "gui/ImportWindow.h"
#include "gui/InquiryWindow.h"
#include "gui/MainMenu.h"
#include "gui/SetStockWindow.h"
#include "gui/WorkbookChooser.h"
#include "screen/CombinedTexts.h"
#include "screen/ComponentTexts.h"
#include "screen/ImportTexts.h"
#include "screen/InquiryTexts.h"
#include "ui/Accessibility.h"
#include "ui/AppTexts.h"
#include "ui/DirectoryList.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/FlexGrid.h"
#include "ui/ScreenTableModel.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace {

QLabel* caption(QWidget& window, const QString& objectName)
{
    auto* label = window.findChild<QLabel*>(objectName);
    Q_ASSERT(label);
    return label;
}

ScreenTableModel* tableOf(FlexGrid* grid)
{
    return qobject_cast<ScreenTableModel*>(grid->model());
}

} // namespace

void describeForScreenReaders(MainMenu& window)
{
    accessible::describeWindow(&window, accessible::WindowRole::Frame,
                               apptexts::spoken::mainMenu.toString());
    window.CmdZaiko()->setAccessibleName(apptexts::spoken::inquiryButton.toString());
}

void describeForScreenReaders(ImportWindow& window)
{
    namespace spoken = importtexts::spoken;
    accessible::describeWindow(&window, accessible::WindowRole::Frame,
                               spoken::importWindow.toString());
    // The frame drawn around the path box and 参照 is the path box's caption.
    if (const auto* frame = window.findChild<QGroupBox*>(u"Frame1"_s)) {
        window.TxtFile()->setAccessibleName(frame->title());
    }
    window.CmdFile()->setAccessibleName(spoken::fileButton.toString());
    window.CmdOK()->setAccessibleName(spoken::importButton.toString());
    accessible::describeValue(window.LblOcnt1(), importtexts::productCountCaption.toString());
    accessible::describeValue(window.LblOcnt2(), importtexts::stockCountCaption.toString());
    accessible::describeValue(window.LblTcnt(), importtexts::totalCountCaption.toString());
    accessible::describeValue(window.LblMsg(), spoken::messageLine.toString());
}

void describeForScreenReaders(WorkbookChooser& window)
{
    namespace spoken = importtexts::spoken;
    accessible::describeWindow(&window, accessible::WindowRole::Dialog, spoken::chooser.toString());
    accessible::labelWith(window.Drive1(), caption(window, u"Label1"_s));
    accessible::labelWith(window.Dir1(), caption(window, u"Label2"_s));
    accessible::labelWith(window.File1(), caption(window, u"Label3"_s));
    accessible::describeValue(window.LblMsg(), spoken::messageLine.toString());
    // The worksheet section lies below the window's visible part, never seen: hidden, it is
    // not offered to a screen reader either. Its buttons still work when pressed.
    for (QWidget* outOfSight :
         {static_cast<QWidget*>(window.CmdClr()), static_cast<QWidget*>(window.CmdSel()),
          static_cast<QWidget*>(window.WsList1()),
          static_cast<QWidget*>(caption(window, u"Label4"_s))}) {
        outOfSight->hide();
    }
}

void describeForScreenReaders(InquiryWindow& window)
{
    namespace spoken = inquirytexts::spoken;
    accessible::describeWindow(&window, accessible::WindowRole::Frame, spoken::window.toString());
    accessible::labelWith(window.TxtScode(), caption(window, u"Label4"_s));
    accessible::labelWith(window.TxtSname(), caption(window, u"Label2"_s));
    accessible::labelWith(window.MSFlexGrid1(), caption(window, u"Label1"_s));
    window.CmdSearch()->setAccessibleName(spoken::searchButton.toString());
    window.CmdZshosai()->setAccessibleName(spoken::detailsButton.toString());
    accessible::describeValue(window.LblMsg(), spoken::messageLine.toString());
    // The last column's heading is blank on screen.
    ScreenTableModel* table = tableOf(window.MSFlexGrid1());
    table->setSpokenHeading(table->columnCount() - 1, spoken::blankColumn.toString());
}

void describeForScreenReaders(SetStockWindow& window)
{
    namespace spoken = componenttexts::spoken;
    accessible::describeWindow(&window, accessible::WindowRole::Frame, spoken::window.toString());
    const auto captionText = [&window](const QString& objectName) {
        return caption(window, objectName)->text();
    };
    accessible::describeValue(window.LblScode(), captionText(u"Label4"_s));
    accessible::describeValue(window.LblSname(), captionText(u"Label1"_s));
    accessible::describeValue(window.LblZaikosu(), captionText(u"Label2"_s));
    accessible::describeValue(window.LblTani(), spoken::unit.toString());
    accessible::describeValue(window.LblKnousu(), captionText(u"Label8"_s));
    accessible::describeValue(window.LblTani2(), spoken::unit.toString());
    accessible::describeValue(window.LblMsg(), spoken::messageLine.toString());
    accessible::labelWith(window.MSFlexGrid1(), caption(window, u"Label5"_s));
    accessible::labelWith(window.TxtJsuryo(), caption(window, u"Text1"_s));
    tableOf(window.MSFlexGrid1())->setShortageDescription(spoken::shortage.toString());
}

void describeForScreenReaders(CombinedOrderWindow& window)
{
    namespace spoken = combinedtexts::spoken;
    accessible::describeWindow(&window, accessible::WindowRole::Frame, spoken::window.toString());
    accessible::labelWith(window.SetGrid(), caption(window, u"Label1"_s));
    accessible::labelWith(window.TxtJsuryo(), caption(window, u"Text1"_s));
    accessible::labelWith(window.ComponentGrid(), caption(window, u"Label2"_s));
    accessible::describeValue(window.LblMsg(), spoken::messageLine.toString());
    for (FlexGrid* grid : {window.SetGrid(), window.ComponentGrid()}) {
        tableOf(grid)->setShortageDescription(spoken::shortage.toString());
    }
}

} // namespace setzaiko
