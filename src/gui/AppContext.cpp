#include "gui/AppContext.h"

#include <QThreadPool>

namespace setzaiko {

AppContext::AppContext(Prompter& prompter, OpenerFactory makeOpener)
    : m_prompter(prompter), m_makeOpener(std::move(makeOpener))
{}

AppContext::~AppContext()
{
    // The import runs on the shared pool with the engine made here: a program told to quit
    // while it reads keeps the engine until the run is over.
    QThreadPool::globalInstance()->waitForDone();
}

void AppContext::setBook(std::shared_ptr<const ImportedBook> book)
{
    Q_ASSERT(book);
    m_book = std::move(book);
}

WorkbookOpener& AppContext::workbookOpener()
{
    if (!m_opener) {
        m_opener = m_makeOpener();
    }
    return *m_opener;
}

} // namespace setzaiko
