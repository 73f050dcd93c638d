// The import window on a large workbook, offscreen: the import is pressed and the program
// measures, until the run has been handled to its end, the longest time the window went without
// handling an event (a timer of 1 ms fires whenever events are handled), how often the total
// count label changed, and the time from the press to the end of the run. Each run is printed
// as one line; the goals are held against the figures by bench/run_window_bench.sh.
// Usage: QT_QPA_PLATFORM=offscreen setzaiko_import_window_bench WORKBOOK [RUNS]

#include "SilentPrompter.h"
#include "gui/AppContext.h"
#include "gui/ImportWindow.h"
#include "workbook/WorkbookFileOpener.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace setzaiko;

namespace {

using bench::SilentPrompter;

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: setzaiko_import_window_bench WORKBOOK [RUNS]\n");
        return 64;
    }
    const QString book = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    SilentPrompter prompter;
    AppContext context(prompter, [] { return std::make_unique<WorkbookFileOpener>(); });
    auto* window = new ImportWindow(context);
    window->show();

    for (int run = 0; run < runs; ++run) {
        window->TxtFile()->setText(book);
        window->setButtonsEnabled(true, true, true);

        QElapsedTimer clock;
        qint64 lastTick = 0;
        qint64 longestGap = 0;
        int countChanges = 0;
        qint64 firstChange = -1;
        qint64 lastChange = 0;
        qint64 longestBetweenChanges = 0;
        QString shownTotal;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longestGap = std::max(longestGap, now - lastTick);
            lastTick = now;
            const QString total = window->LblTcnt()->text();
            if (!total.isEmpty() && total != shownTotal) {
                shownTotal = total;
                ++countChanges;
                if (firstChange >= 0) {
                    longestBetweenChanges = std::max(longestBetweenChanges, now - lastChange);
                } else {
                    firstChange = now;
                }
                lastChange = now;
            }
        });
        QEventLoop loop;
        QObject::connect(window, &ImportWindow::importFinished, &loop, &QEventLoop::quit);

        clock.start();
        ticker.start();
        window->CmdOK()->click();
        loop.exec();
        const qint64 elapsed = clock.nsecsElapsed();
        ticker.stop();

        const double seconds = double(elapsed) / 1e9;
        const double changing = double(lastChange - std::max<qint64>(firstChange, 0)) / 1e9;
        std::printf("run %d: import through the window %.3f s; longest gap between handled events "
                    "%.1f ms; count label changed %d times, %.1f a second while changing, longest "
                    "between two changes %.1f ms; %s\n",
                    run + 1, seconds, double(longestGap) / 1e6, countChanges,
                    changing > 0 ? (countChanges - 1) / changing : 0.0,
                    double(longestBetweenChanges) / 1e6, qPrintable(prompter.last));
        std::fflush(stdout);
    }
    window->CmdExit()->click();
    return 0;
}
