#include "gui/MainMenu.h"

#include "gui/ImportWindow.h"
#include "gui/InquiryWindow.h"
#include "gui/ScreenReaderNames.h"
#include "ui/AppTexts.h"
#include "ui/Controls.h"
#include "ui/Layout.h"
#include "ui/WayBack.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko {

namespace texts {
const auto importButton = u"商品・在庫情報EXCEL取込"_s;
const auto zaikoButton = u"在　庫　照　会"_s;
const auto exitButton = u"終了"_s;
const auto version = u"Ver 1.0"_s;
} // namespace texts

MainMenu::MainMenu(AppContext& context) : m_context(context)
{
    controls::setUpWindow(this, u"FrmMainF"_s, apptexts::title.toString(),
                          layout::size(6165, 3390));
    const QFont buttonFont = layout::gothic(11.25, true);
    m_cmdImport = controls::button(this, u"CmdImport"_s, texts::importButton,
                                   layout::rect(660, 600, 4815, 435), buttonFont,
                                   layout::colour::actionButton);
    m_cmdZaiko = controls::button(this, u"CmdZaiko"_s, texts::zaikoButton,
                                  layout::rect(660, 1320, 4815, 435), buttonFont,
                                  layout::colour::actionButton);
    m_cmdExit =
        controls::button(this, u"CmdExit"_s, texts::exitButton, layout::rect(4500, 2160, 975, 495),
                         buttonFont, layout::colour::exitButton);
    m_label6 =
        controls::label(this, u"Label6"_s, texts::version, layout::rect(4620, 120, 1335, 255),
                        layout::gothic(9.75, true, true), layout::colour::caption);
    setTabOrder(m_cmdImport, m_cmdZaiko);
    setTabOrder(m_cmdZaiko, m_cmdExit);

    connect(m_cmdImport, &QPushButton::clicked, this, &MainMenu::openImport);
    connect(m_cmdZaiko, &QPushButton::clicked, this, &MainMenu::openInquiry);
    // The close box ends the program as 終了 does, and not while another window is open.
    m_wayBack = new controls::WayBack(this, m_cmdExit, controls::WayBack::Escape::Ignored);
    connect(m_cmdExit, &QPushButton::clicked, m_wayBack, &controls::WayBack::leave);
    m_cmdZaiko->setEnabled(false);
    describeForScreenReaders(*this);
}

void MainMenu::setButtonsEnabled(bool import, bool zaiko, bool exit)
{
    m_cmdImport->setEnabled(import);
    m_cmdZaiko->setEnabled(zaiko);
    m_cmdExit->setEnabled(exit);
}

void MainMenu::openImport()
{
    setButtonsEnabled(false, false, false);
    auto* window = new ImportWindow(m_context);
    connect(window, &ImportWindow::finished, this,
            [this](bool inquiryEnabled, const QString& directory) {
                setButtonsEnabled(true, inquiryEnabled, true);
                m_directory = directory;
            });
    controls::showInFrontOf(window, this);
}

void MainMenu::openInquiry()
{
    setButtonsEnabled(false, false, false);
    auto* window = new InquiryWindow(m_context, m_directory);
    connect(window, &InquiryWindow::finished, this, [this] {
        setButtonsEnabled(true, true, true);
        m_cmdZaiko->setFocus();
    });
    controls::showInFrontOf(window, this);
}

} // namespace setzaiko
