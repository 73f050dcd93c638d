#include "app/FrmMainF.h"

#include "import/Frm0010F.h"
#include "ui/AppTexts.h"
#include "ui/Controls.h"
#include "ui/Layout.h"

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

FrmMainF::FrmMainF(AppContext& context) : m_context(context)
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

    connect(m_cmdImport, &QPushButton::clicked, this, &FrmMainF::CmdImport_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &FrmMainF::CmdExit_Click);
    Form_Load();
}

void FrmMainF::setButtonsEnabled(bool import, bool zaiko, bool exit)
{
    m_cmdImport->setEnabled(import);
    m_cmdZaiko->setEnabled(zaiko);
    m_cmdExit->setEnabled(exit);
}

void FrmMainF::Form_Load()
{
    m_cmdZaiko->setEnabled(false);
    m_lblDir.clear();
}

void FrmMainF::CmdImport_Click()
{
    setButtonsEnabled(false, false, false);
    auto* window = new Frm0010F(m_context, this);
    window->show();
    window->setLblFname(u"FrmMainF"_s);
}

void FrmMainF::CmdExit_Click()
{
    close();
}

} // namespace setzaiko
