#include "gui/WorkbookChooser.h"

#include "common/TextRules.h"
#include "gui/ScreenReaderNames.h"
#include "screen/ImportTexts.h"
#include "ui/Controls.h"
#include "ui/DirectoryList.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/Layout.h"
#include "ui/PathText.h"
#include "ui/WayBack.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <initializer_list>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace texts {
const auto chooserCaption = u"E X C E L フ ァ イ ル 選 択"_s;
const auto driveCaption = u"ドライブの指定"_s;
const auto directoryCaption = u"ディレクトリ指定"_s;
const auto fileCaption = u"ファイル一覧"_s;
const auto okButton = u"決定"_s;
const auto backButton = u"戻る"_s;
const auto clearButton = u"選択解除"_s;
const auto worksheetCaption = u"ﾜｰｸｼｰﾄ一覧"_s;
const auto selectAllButton = u"全選択"_s;
const auto allWorksheets = u"ALL"_s;
const auto invalidDrive = u"このドライブは無効です"_s;
const auto unreadableDirectory = u"このディレクトリは開けません"_s;
} // namespace texts

namespace {

template <typename List>
List* listControl(QWidget* parent, const QString& name, QRect geometry)
{
    auto* list = new List(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setFont(layout::gothic(9.75));
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, layout::colour::field);
    palette.setColor(QPalette::Button, layout::colour::field);
    list->setPalette(palette);
    return list;
}

} // namespace

WorkbookChooser::WorkbookChooser(AppContext& context) : m_context(context)
{
    setAttribute(Qt::WA_DeleteOnClose);
    controls::setUpWindow(this, u"FSelect"_s, texts::chooserCaption, layout::size(6855, 4650));
    const QFont captionFont = layout::gothic(9.75, true);
    const QFont buttonFont = layout::gothic(11.25, true);

    controls::label(this, u"Label1"_s, texts::driveCaption, layout::rect(120, 120, 2115, 255),
                    captionFont, layout::colour::caption);
    m_drive1 = listControl<DriveList>(this, u"Drive1"_s, layout::rect(120, 360, 5235, 315));
    controls::label(this, u"Label2"_s, texts::directoryCaption, layout::rect(120, 780, 2475, 315),
                    captionFont, layout::colour::caption);
    m_dir1 = listControl<DirectoryList>(this, u"Dir1"_s, layout::rect(120, 1020, 5235, 1440));
    controls::label(this, u"Label3"_s, texts::fileCaption, layout::rect(120, 2640, 1695, 315),
                    captionFont, layout::colour::caption);
    m_lblMsg = controls::label(this, u"LblMsg"_s, {}, layout::rect(1800, 2640, 3495, 315),
                               captionFont, layout::colour::message);
    m_file1 = listControl<FileList>(this, u"File1"_s, layout::rect(120, 2940, 5235, 1455));
    m_cmdOK =
        controls::button(this, u"CmdOK"_s, texts::okButton, layout::rect(5520, 3000, 1155, 435),
                         buttonFont, layout::colour::actionButton);
    m_cmdExit =
        controls::button(this, u"CmdExit"_s, texts::backButton, layout::rect(5520, 4020, 1155, 435),
                         buttonFont, layout::colour::exitButton);

    // The worksheet section lies below the visible part of the window; its list is never
    // filled, so only its buttons' effect on the worksheet choice remains.
    const QFont smallFont = layout::gothic(9);
    m_cmdClr =
        controls::button(this, u"CmdClr"_s, texts::clearButton, layout::rect(5700, 5100, 1095, 375),
                         smallFont, layout::colour::actionButton);
    controls::label(this, u"Label4"_s, texts::worksheetCaption, layout::rect(240, 5400, 1035, 195),
                    smallFont, Qt::black);
    m_cmdSel = controls::button(this, u"CmdSel"_s, texts::selectAllButton,
                                layout::rect(5700, 5580, 1095, 375), smallFont,
                                layout::colour::actionButton);
    m_wsList1 = new QListWidget(this);
    m_wsList1->setObjectName(u"WsList1"_s);
    m_wsList1->setGeometry(layout::rect(300, 6060, 5175, 1320));
    m_wsList1->setSelectionMode(QAbstractItemView::MultiSelection);
    // Out of sight, so out of the tab order too.
    for (QWidget* hidden : std::initializer_list<QWidget*>{m_cmdClr, m_cmdSel, m_wsList1}) {
        hidden->setFocusPolicy(Qt::NoFocus);
    }

    connect(m_drive1, &DriveList::driveChanged, this, &WorkbookChooser::openDrive);
    connect(m_dir1, &DirectoryList::pathChanged, this, &WorkbookChooser::showDirectory);
    connect(m_dir1, &DirectoryList::listClicked, this, &WorkbookChooser::pickDirectory);
    connect(m_dir1, &DirectoryList::openRefused, this,
            [this] { m_lblMsg->setText(texts::unreadableDirectory); });
    connect(m_file1, &FileList::fileClicked, this, &WorkbookChooser::pickFile);
    // Opening a file is picking it and pressing 決定.
    connect(m_file1, &FileList::fileOpened, this, [this] {
        pickFile();
        confirmChoice();
    });
    connect(m_wsList1, &QListWidget::itemClicked, this, &WorkbookChooser::pickWorksheet);
    connect(m_cmdSel, &QPushButton::clicked, this, &WorkbookChooser::pickAllWorksheets);
    connect(m_cmdClr, &QPushButton::clicked, this, &WorkbookChooser::clearWorksheets);
    connect(m_cmdOK, &QPushButton::clicked, this, &WorkbookChooser::confirmChoice);
    connect(m_cmdExit, &QPushButton::clicked, this, &WorkbookChooser::cancel);
    // The close box and Esc count as 戻る, so that the import window always gets its buttons
    // back.
    m_wayBack = new controls::WayBack(this, m_cmdExit);
    clearChoice();
    m_file1->setFocus();
    describeForScreenReaders(*this);
}

void WorkbookChooser::clearChoice()
{
    m_chosenPath.clear();
    m_fileName.clear();
    m_worksheets.clear();
    m_lblMsg->clear();
    m_directory.clear();
    m_cmdOK->setEnabled(false);
}

void WorkbookChooser::openDrive(const QString& root)
{
    // A volume that cannot be opened leaves the lists where they were.
    if (!m_dir1->setPath(root)) {
        m_context.prompter().beep();
        m_context.prompter().inform(this, texts::invalidDrive);
    }
}

void WorkbookChooser::showDirectory()
{
    // The refilled file list highlights nothing, so nothing is chosen any more.
    m_file1->setPath(m_dir1->path());
    m_directory = directoryWithSeparator(m_dir1->path());
    // A refusal to open another directory is over once one opens.
    m_lblMsg->clear();
    dropFile();
}

void WorkbookChooser::pickDirectory()
{
    // A pick in the directory list moves the user's attention away from the file: were the
    // file left highlighted, 決定 would seem to take it while handing back something else.
    dropFile();
}

void WorkbookChooser::pickFile()
{
    m_chosenPath = directoryWithSeparator(m_file1->path()) + m_file1->fileName();
    m_fileName = m_file1->fileName();
    m_cmdOK->setEnabled(true);
    m_lblMsg->clear();
}

void WorkbookChooser::dropFile()
{
    m_file1->dropPick();
    m_chosenPath.clear();
    m_cmdOK->setEnabled(false);
}

void WorkbookChooser::pickWorksheet()
{
    if (const QListWidgetItem* item = m_wsList1->currentItem()) {
        m_worksheets = item->text();
    }
}

void WorkbookChooser::pickAllWorksheets()
{
    m_wsList1->selectAll();
    m_worksheets = texts::allWorksheets;
}

void WorkbookChooser::clearWorksheets()
{
    m_wsList1->clearSelection();
    m_worksheets.clear();
}

void WorkbookChooser::confirmChoice()
{
    repaint();
    if (rightTrim(m_chosenPath).isEmpty()) {
        m_context.prompter().inform(this, importtexts::selectFile.toString());
        return;
    }
    emit chosen({m_chosenPath, m_directory, m_fileName, m_worksheets});
    m_wayBack->leave();
}

void WorkbookChooser::cancel()
{
    emit cancelled();
    m_wayBack->leave();
}

} // namespace setzaiko
