#include "gui/ImportWindow.h"

#include "gui/ScreenReaderNames.h"
#include "gui/WorkbookChooser.h"
#include "screen/ImportScreen.h"
#include "screen/ImportTexts.h"
#include "ui/BusyCursor.h"
#include "ui/Controls.h"
#include "ui/EnterKey.h"
#include "ui/Layout.h"
#include "ui/WayBack.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace texts {
const auto caption = u"商 品 ・ 在 庫 デ ー タ 抽 出"_s;
const auto frame = u"商品・在庫情報のＥＸＣＥＬファイルを選択する"_s;
const auto fileButton = u"参 照"_s;
const auto importButton = u"<< EXCELデータ取込ボタン >>"_s;
const auto exitButton = u"戻る"_s;
const auto leaveQuestion =
    u"EXCELファイルの取込が行われてません。前画面に戻ってよろしいでしょうか。"_s;
const auto leaveQuestionTitle = u"EXCELデータ取込"_s;
const auto pressImport = u"<< EXCELデータ取込ボタン >> を押下してください"_s;
const auto windowName = u"Frm0010F"_s;
} // namespace texts

ImportWindow::ImportWindow(AppContext& context) : m_context(context)
{
    setAttribute(Qt::WA_DeleteOnClose);
    controls::setUpWindow(this, texts::windowName, texts::caption, layout::size(10680, 3300));
    setFont(layout::proportionalGothic(9.75));

    const QFont captionFont = layout::gothic(9.75, true);
    const QFont buttonFont = layout::gothic(11.25, true);
    const QFont countFont = layout::gothic(11.25, true);

    m_frame1 = new QGroupBox(texts::frame, this);
    m_frame1->setObjectName(u"Frame1"_s);
    m_frame1->setGeometry(layout::rect(120, 180, 10395, 1095));
    m_frame1->setFont(captionFont);
    m_frame1->setStyleSheet(u"QGroupBox { color: blue; }"_s);

    m_txtFile = new QLineEdit(this);
    m_txtFile->setObjectName(u"TxtFile"_s);
    m_txtFile->setGeometry(layout::rect(240, 480, 8535, 615));
    m_txtFile->setFont(layout::gothic(9.75));
    m_txtFile->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_txtFile->setStyleSheet(
        u"QLineEdit { background-color: %1; }"_s.arg(layout::colour::field.name()));

    m_cmdFile =
        controls::button(this, u"CmdFile"_s, texts::fileButton, layout::rect(9000, 480, 1335, 675),
                         buttonFont, layout::colour::fileButton);
    m_cmdOK =
        controls::button(this, u"CmdOK"_s, texts::importButton, layout::rect(240, 1380, 10095, 615),
                         layout::gothic(15.75, true), layout::colour::actionButton);
    controls::label(this, u"Label2"_s, importtexts::productCountCaption.toString(),
                    layout::rect(300, 2100, 2235, 255), captionFont, layout::colour::caption);
    m_lblOcnt1 = controls::label(this, u"LblOcnt1"_s, {}, layout::rect(840, 2400, 1695, 315),
                                 countFont, Qt::black, layout::colour::field);
    controls::label(this, u"Label4"_s, importtexts::stockCountCaption.toString(),
                    layout::rect(2760, 2100, 2355, 255), captionFont, layout::colour::caption);
    m_lblOcnt2 = controls::label(this, u"LblOcnt2"_s, {}, layout::rect(3420, 2400, 1695, 315),
                                 countFont, Qt::black, layout::colour::field);
    controls::label(this, u"Label1"_s, importtexts::totalCountCaption.toString(),
                    layout::rect(6180, 2100, 1515, 255), captionFont, layout::colour::caption);
    m_lblTcnt = controls::label(this, u"LblTcnt"_s, {}, layout::rect(6000, 2400, 1695, 315),
                                countFont, Qt::black, layout::colour::field);
    for (QLabel* count : {m_lblOcnt1, m_lblOcnt2, m_lblTcnt}) {
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_cmdExit =
        controls::button(this, u"CmdExit"_s, texts::exitButton, layout::rect(9000, 2280, 1335, 435),
                         buttonFont, layout::colour::exitButton);
    m_lblMsg = controls::label(this, u"LblMsg"_s, {}, layout::rect(300, 2820, 10035, 315),
                               layout::gothic(11.25, true), layout::colour::message);

    // Tab follows the eye: the path, then 参照 beside it; the window opens on 参照 all the same.
    setTabOrder(m_txtFile, m_cmdFile);
    setTabOrder(m_cmdFile, m_cmdOK);
    setTabOrder(m_cmdOK, m_cmdExit);
    m_cmdFile->setFocus();

    connect(m_cmdFile, &QPushButton::clicked, this, &ImportWindow::chooseWorkbook);
    connect(m_cmdOK, &QPushButton::clicked, this, &ImportWindow::importWorkbook);
    controls::pressOnEnter(m_txtFile, m_cmdOK);
    connect(m_cmdExit, &QPushButton::clicked, this, &ImportWindow::goBack);
    m_wayBack = new controls::WayBack(this, m_cmdExit);
    connect(
        &m_task, &ImportTask::progressed, this,
        [this](qint32 products, qint32 stocks) {
            showCounts({products, stocks});
        },
        Qt::QueuedConnection);
    connect(&m_task, &ImportTask::finished, this, &ImportWindow::finishImport);
    clearScreen();
    describeForScreenReaders(*this);
}

ImportWindow::~ImportWindow() = default;

void ImportWindow::setButtonsEnabled(bool file, bool ok, bool exit)
{
    m_cmdFile->setEnabled(file);
    m_cmdOK->setEnabled(ok);
    m_cmdExit->setEnabled(exit);
}

void ImportWindow::clearScreen()
{
    m_txtFile->clear();
    m_lblOcnt1->clear();
    m_lblOcnt2->clear();
    m_lblTcnt->clear();
    m_lblMsg->clear();
    m_importStatus = ImportStatus::Ok;
    setButtonsEnabled(true, false, true);
}

void ImportWindow::closeEvent(QCloseEvent* event)
{
    // Only 戻る leaves this window (see WayBack), and never while an import reads.
    if (m_task.isRunning()) {
        event->ignore();
        return;
    }
    event->accept();
}

void ImportWindow::chooseWorkbook()
{
    m_chooserOpened = true;
    m_txtFile->clear();
    setButtonsEnabled(false, false, false);
    auto* chooser = new WorkbookChooser(m_context);
    connect(chooser, &WorkbookChooser::chosen, this, &ImportWindow::takeChoice);
    connect(chooser, &WorkbookChooser::cancelled, this, [this] {
        m_txtFile->clear();
        setButtonsEnabled(true, false, true);
    });
    controls::showInFrontOf(chooser, this);
}

void ImportWindow::takeChoice(const WorkbookChoice& choice)
{
    m_choice = choice;
    m_txtFile->setText(choice.path);
    m_lblMsg->setText(texts::pressImport);
    setButtonsEnabled(true, true, true);
    m_cmdOK->setFocus();
}

void ImportWindow::showImporting()
{
    m_lblOcnt1->clear();
    m_lblOcnt2->clear();
    m_lblTcnt->clear();
    m_lblMsg->clear();
    showButtons(buttonsWhileImporting);
    m_lblMsg->setText(importtexts::importing.toString());
}

void ImportWindow::showCounts(const ImportCounts& counts)
{
    m_lblOcnt1->setText(countText(counts.products));
    m_lblOcnt2->setText(countText(counts.stocks));
    m_lblTcnt->setText(countText(counts.total()));
}

void ImportWindow::showButtons(const ImportButtons& buttons)
{
    setButtonsEnabled(buttons.file, buttons.ok, buttons.exit);
}

void ImportWindow::render(const ImportScreen& screen)
{
    if (screen.counts) {
        showCounts(*screen.counts);
    }
    if (screen.buttons && screen.buttonsBeforeBox) {
        showButtons(*screen.buttons);
    }
    if (screen.box) {
        Prompter& prompter = m_context.prompter();
        if (screen.box->beep) {
            prompter.beep();
        }
        prompter.inform(this, screen.box->text, screen.box->details);
    }
    if (!screen.messageLine.isEmpty()) {
        m_lblMsg->setText(screen.messageLine);
    }
    if (screen.buttons) {
        showButtons(*screen.buttons);
    }
}

void ImportWindow::importWorkbook()
{
    m_importStatus = ImportStatus::Ok;
    m_lblMsg->clear();
    const QString pathText = m_txtFile->text();
    if (refusesPath(pathText)) {
        render(ImportScreen::after(runImport(pathText, m_context.workbookOpener())));
        focusAfterImport(false);
        return;
    }
    // The run reads on a worker; this window goes on handling its events, its buttons disabled
    // so that no second run starts and the window cannot be left meanwhile.
    m_busy.emplace();
    showImporting();
    // A run starts from empty tables: the earlier book goes now rather than at the swap, so
    // that a large workbook imported again never needs the memory of two books. Nothing reads
    // it meanwhile: every other window is closed or disabled while this one is open.
    m_context.setBook(std::make_shared<const ImportedBook>());
    m_task.start(pathText, m_context.workbookOpener());
}

void ImportWindow::finishImport()
{
    const ImportResult& result = m_task.result();
    m_busy.reset();
    // The tables are whatever the run left, in every outcome.
    m_context.setBook(result.book);
    m_importStatus = result.status;
    render(ImportScreen::after(result));
    focusAfterImport(result.outcome == ImportOutcome::Success);
    emit importFinished();
}

void ImportWindow::focusAfterImport(bool succeeded)
{
    // The next step: back after a success, another workbook after a failure (or back, where an
    // unexpected error leaves nothing else).
    QPushButton* next = succeeded || !m_cmdFile->isEnabled() ? m_cmdExit : m_cmdFile;
    next->setFocus();
}

void ImportWindow::leaveTo(bool inquiryEnabled, const QString& directory)
{
    emit finished(inquiryEnabled, directory);
    m_wayBack->leave();
}

void ImportWindow::goBack()
{
    const QString typed = m_txtFile->text();
    const bool tablesEmpty = m_context.book()->isEmpty();
    const bool ok = m_importStatus == ImportStatus::Ok;

    if (ok && !typed.isEmpty() && tablesEmpty && m_chooserOpened) {
        if (m_context.prompter().confirm(this, texts::leaveQuestion, texts::leaveQuestionTitle)) {
            leaveTo(false, QString());
        }
        return;
    }
    if (ok && typed.isEmpty() && tablesEmpty) {
        leaveTo(false, QString());
        return;
    }
    // The inquiry needs rows: a path typed but never imported leaves it off too.
    leaveTo(ok && !tablesEmpty,
            handedBackFolder(*m_context.book(), m_choice.path, m_choice.directory));
}

} // namespace setzaiko
