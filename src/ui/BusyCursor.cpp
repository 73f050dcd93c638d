#include "ui/BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace setzaiko {

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    release();
}

void BusyCursor::release()
{
    if (m_active) {
        m_active = false;
        QApplication::restoreOverrideCursor();
    }
}

} // namespace setzaiko
