#include "support/FailingDevice.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace setzaiko::testing {

FailingDevice::FailingDevice(qint64 limit) : m_limit(limit)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 FailingDevice::readData(char*, qint64)
{
    return -1;
}

qint64 FailingDevice::writeData(const char* data, qint64 size)
{
    const qint64 room = m_limit - m_written.size();
    if (room <= 0) {
        setErrorString(u"No space left on device"_s);
        return -1;
    }
    const qint64 taken = std::min(room, size);
    m_written.append(data, taken);
    return taken;
}

} // namespace setzaiko::testing
