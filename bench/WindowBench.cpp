// The windows on the full benchmark workbook, offscreen: the import through the import window
// against the engine's import of the same file, with the longest pause in event processing
// during it; then 検索 with both boxes empty, 構成商品を表示 for a set of 100 components and
// 再計算 over it, each timed from the click to the handler's return.
// Usage: QT_QPA_PLATFORM=offscreen setzaiko_window_bench [WORKBOOK]

#include "SilentPrompter.h"
#include "gui/AppContext.h"
#include "gui/ImportWindow.h"
#include "gui/InquiryWindow.h"
#include "gui/MainMenu.h"
#include "gui/SetStockWindow.h"
#include "import/ImportRun.h"
#include "ui/FlexGrid.h"
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
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;

namespace {

using bench::SilentPrompter;

template <typename Window>
Window* findWindow(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible()) {
            return qobject_cast<Window*>(window);
        }
    }
    return nullptr;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Action>
double milliseconds(Action action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString book =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SETZAIKO_BENCH_WORKBOOK);
    constexpr int runs = 5;

    std::vector<double> engine;
    for (int i = 0; i < runs; ++i) {
        WorkbookFileOpener opener;
        engine.push_back(milliseconds([&] { runImport(book, opener); }));
    }

    SilentPrompter prompter;
    AppContext context(prompter, [] { return std::make_unique<WorkbookFileOpener>(); });
    auto* menu = new MainMenu(context);
    menu->show();
    menu->CmdImport()->click();
    auto* importWindow = findWindow<ImportWindow>(u"Frm0010F"_s);
    importWindow->TxtFile()->setText(book);

    // A timer that fires whenever events are processed: the longest time between two firings
    // is the longest time the window went without processing its events.
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });

    std::vector<double> window;
    for (int i = 0; i < runs; ++i) {
        importWindow->CmdOK()->setEnabled(true);
        clock.start();
        lastTick = 0;
        ticker.start();
        window.push_back(milliseconds([&] {
            // The run reads on a worker; the window's events are handled until it ends.
            QEventLoop loop;
            QObject::connect(importWindow, &ImportWindow::importFinished, &loop, &QEventLoop::quit);
            importWindow->CmdOK()->click();
            loop.exec();
        }));
        ticker.stop();
        // The box is shown at the end of the run, outside the event processing being measured.
    }
    std::printf("import, engine:          %8.1f ms (median of %d)\n", median(engine), runs);
    std::printf("import, import window:   %8.1f ms (median of %d), %.2f x the engine\n",
                median(window), runs, median(window) / median(engine));
    std::printf("longest pause in event processing during the window's import: %.1f ms\n",
                double(longestGap) / 1e6);
    std::printf("outcome: %s\n", qPrintable(prompter.last));

    importWindow->CmdExit()->click();
    menu->CmdZaiko()->click();
    auto* inquiry = findWindow<InquiryWindow>(u"Frm0020F"_s);
    std::vector<double> search;
    for (int i = 0; i < runs; ++i) {
        search.push_back(milliseconds([&] { inquiry->CmdSearch()->click(); }));
    }
    std::printf("検索 (100 rows):          %8.2f ms (median of %d)\n", median(search), runs);

    // The set of 100 components, chosen as a user would: searched by its code.
    inquiry->TxtScode()->setText(u"P065530"_s);
    inquiry->CmdSearch()->click();
    inquiry->CmdZshosai()->click();
    auto* details = findWindow<SetStockWindow>(u"Frm0030F"_s);
    std::vector<double> listing;
    for (int i = 0; i < runs; ++i) {
        listing.push_back(milliseconds([&] { details->CmdSearch()->click(); }));
    }
    std::printf("構成商品を表示 (%d rows): %8.2f ms (median of %d)\n",
                details->screen().listedRows(), median(listing), runs);
    details->TxtJsuryo()->setText(u"999999"_s);
    std::vector<double> recalculation;
    for (int i = 0; i < runs; ++i) {
        recalculation.push_back(milliseconds([&] { details->CmdCalc()->click(); }));
    }
    std::printf("再計算 (%d rows):         %8.2f ms (median of %d)\n",
                details->screen().listedRows(), median(recalculation), runs);
    return 0;
}
