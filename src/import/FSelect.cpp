#include "import/FSelect.h"

#include "common/TextRules.h"
#include "import/Frm0010F.h"
#include "import/ImportTexts.h"
#include "ui/Controls.h"
#include "ui/DirectoryList.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/Layout.h"
#include "ui/PathText.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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
const auto pressImport = u"<< EXCELデータ取込ボタン >> を押下してください"_s;
const auto importWindowName = u"Frm0010F"_s;
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

FSelect::FSelect(AppContext& context, Frm0010F* importWindow)
    : m_context(context), m_importWindow(importWindow)
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

    connect(m_drive1, &DriveList::driveChanged, this, &FSelect::Drive1_Change);
    connect(m_dir1, &DirectoryList::pathChanged, this, &FSelect::Dir1_Change);
    connect(m_dir1, &DirectoryList::listClicked, this, &FSelect::Dir1_Click);
    connect(m_file1, &FileList::fileClicked, this, &FSelect::File1_Click);
    connect(m_wsList1, &QListWidget::itemClicked, this, &FSelect::WsList1_Click);
    connect(m_cmdSel, &QPushButton::clicked, this, &FSelect::CmdSel_Click);
    connect(m_cmdClr, &QPushButton::clicked, this, &FSelect::CmdClr_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &FSelect::CmdOK_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &FSelect::CmdExit_Click);
    Form_Load();
}

void FSelect::Form_Load()
{
    m_lblFile.clear();
    m_lblFilename.clear();
    m_lblWSname.clear();
    m_lblMsg->clear();
    m_lblDir.clear();
    m_cmdOK->setEnabled(false);
}

void FSelect::Drive1_Change(const QString& root)
{
    // A volume that cannot be opened leaves the lists where they were.
    if (!m_dir1->setPath(root)) {
        m_context.prompter().beep();
        m_context.prompter().inform(texts::invalidDrive);
    }
}

void FSelect::Dir1_Change()
{
    m_file1->setPath(m_dir1->path());
    m_lblDir = directoryWithSeparator(m_dir1->path());
}

void FSelect::Dir1_Click()
{
    m_lblFile = directoryWithSeparator(m_dir1->path());
}

void FSelect::File1_Click()
{
    m_lblFile = directoryWithSeparator(m_file1->path()) + m_file1->fileName();
    m_lblFilename = m_file1->fileName();
    m_cmdOK->setEnabled(true);
    m_lblMsg->clear();
}

void FSelect::WsList1_Click()
{
    if (const QListWidgetItem* item = m_wsList1->currentItem()) {
        m_lblWSname = item->text();
    }
}

void FSelect::CmdSel_Click()
{
    m_wsList1->selectAll();
    m_lblWSname = texts::allWorksheets;
}

void FSelect::CmdClr_Click()
{
    m_wsList1->clearSelection();
    m_lblWSname.clear();
}

void FSelect::CmdOK_Click()
{
    repaint();
    const QString caller = m_lblFname;
    if (rightTrim(m_lblFile).isEmpty()) {
        m_context.prompter().inform(importtexts::selectFile.toString());
        return;
    }
    if (caller == texts::importWindowName && m_importWindow) {
        Frm0010F& window = *m_importWindow;
        window.setLblDir(m_lblDir);
        window.setLblFilename(m_lblFilename);
        window.setLblWSname(m_lblWSname);
        window.TxtFile()->setText(m_lblFile);
        window.LblMsg()->setText(texts::pressImport);
        window.setButtonsEnabled(true, true, true);
    }
    m_handedBack = true;
    close();
}

void FSelect::handBackExit()
{
    if (m_lblFname == texts::importWindowName && m_importWindow) {
        m_importWindow->TxtFile()->clear();
        m_importWindow->setButtonsEnabled(true, false, true);
    }
    m_handedBack = true;
}

void FSelect::CmdExit_Click()
{
    handBackExit();
    close();
}

void FSelect::closeEvent(QCloseEvent* event)
{
    // Closing the chooser by its close box counts as 戻る, so that the import window always
    // gets its buttons back.
    if (!m_handedBack) {
        handBackExit();
    }
    event->accept();
}

} // namespace setzaiko
