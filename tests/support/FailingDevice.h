#pragma once

#include <QByteArray>
#include <QIODevice>

namespace setzaiko::testing {

// A write-only device that takes the first `limit` bytes and then fails, as a full disk does:
// the write that crosses the limit is short, every later one fails outright.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 limit);

    const QByteArray& written() const { return m_written; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    qint64 m_limit;
    QByteArray m_written;
};

} // namespace setzaiko::testing
