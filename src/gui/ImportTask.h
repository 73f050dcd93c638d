#pragma once

#include "import/ImportRun.h"

#include <QFutureWatcher>
#include <QObject>

namespace setzaiko {

class WorkbookOpener;

// One import run on a worker thread. While it reads, the counts come by queued signal at the
// display's rate; at its end the result, with the new book, comes on the thread that started
// the run. Destroying the task waits for its run, so that the run never outlives the task it
// reports to.
class ImportTask : public QObject
{
    Q_OBJECT

public:
    explicit ImportTask(QObject* parent = nullptr);
    ~ImportTask() override;

    // Starts reading the workbook; the opener is used on the worker until finished is sent.
    void start(const QString& pathText, WorkbookOpener& opener);
    bool isRunning() const { return m_running; }
    // The result of the run that sent finished.
    const ImportResult& result() const { return m_result; }

signals:
    // Sent from the worker: connect with a queued connection.
    void progressed(qint32 products, qint32 stocks);
    void finished();

private:
    QFutureWatcher<ImportResult> m_watcher;
    ImportResult m_result;
    bool m_running = false;
};

} // namespace setzaiko
