#include "gui/AppContext.h"

namespace setzaiko {

AppContext::AppContext(Prompter& prompter, OpenerFactory makeOpener)
    : m_prompter(prompter), m_makeOpener(std::move(makeOpener))
{}

WorkbookOpener& AppContext::workbookOpener()
{
    if (!m_opener) {
        m_opener = m_makeOpener();
    }
    return *m_opener;
}

} // namespace setzaiko
