#include "gui/ImportTask.h"

#include <QElapsedTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <optional>

namespace setzaiko {

namespace {

// Sends the counts now and then: a screen shows no more than about sixty pictures a second,
// and a signal per row would flood the event queue with hundreds of thousands of updates.
class QueuedProgress : public ImportObserver
{
public:
    explicit QueuedProgress(ImportTask& task) : m_task(task) { m_sinceSent.start(); }

    void rowRead(const ImportCounts& counts) override { send(counts); }
    // The rows of a sheet read ahead are passed on once more when it is handed over: the
    // counts already sent for them are not sent again, lower, meanwhile.
    void waiting(const ImportCounts& soFar) override { send(soFar); }

private:
    static constexpr qint64 refreshMilliseconds = 15;

    void send(const ImportCounts& counts)
    {
        if (m_sinceSent.elapsed() >= refreshMilliseconds &&
            (!m_sent || counts.total() > m_sent->total())) {
            emit m_task.progressed(counts.products, counts.stocks);
            m_sent = counts;
            m_sinceSent.restart();
        }
    }

    ImportTask& m_task;
    QElapsedTimer m_sinceSent;
    std::optional<ImportCounts> m_sent;
};

} // namespace

ImportTask::ImportTask(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<ImportResult>::finished, this, [this] {
        m_result = m_watcher.result();
        m_running = false;
        emit finished();
    });
}

ImportTask::~ImportTask()
{
    m_watcher.waitForFinished();
}

void ImportTask::start(const QString& pathText, WorkbookOpener& opener)
{
    Q_ASSERT(!m_running);
    m_running = true;
    m_watcher.setFuture(QtConcurrent::run([this, pathText, &opener] {
        QueuedProgress progress(*this);
        return runImport(pathText, opener, &progress);
    }));
}

} // namespace setzaiko
