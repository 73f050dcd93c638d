#pragma once

#include "gui/AppContext.h"
#include "gui/MainMenu.h"
#include "support/FakePrompter.h"
#include "workbook/WorkbookFileOpener.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QTest>

namespace setzaiko::testing {

#ifdef SETZAIKO_TEST_DATA
// The offscreen platform's own screen, 800 x 600, is smaller than the inquiry and component
// windows, which would then show their layout in a scroll area: the window tests run on a
// desktop-sized screen unless a test names a screen of its own.
inline const bool onDesktopScreen = [] {
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" SETZAIKO_TEST_DATA "/screens/desktop.json");
    }
    return true;
}();
#endif

// The program as started, with the fake message-box route: the main menu is open and every
// window a test opens is found by its object name.
class WindowHarness
{
public:
    explicit WindowHarness(AppContext::OpenerFactory makeOpener =
                               [] { return std::make_unique<WorkbookFileOpener>(); })
        : context(prompter, std::move(makeOpener))
    {
        mainMenu = new MainMenu(context);
        mainMenu->setAttribute(Qt::WA_DeleteOnClose);
        mainMenu->show();
    }

    ~WindowHarness()
    {
        // Deleting one window also deletes the pop-ups it owns (a combo box's list, for one),
        // which are top-level widgets too: every window is guarded before any is deleted.
        QList<QPointer<QWidget>> windows;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->parentWidget()) {
                windows.append(window);
            }
        }
        for (const QPointer<QWidget>& window : windows) {
            delete window.data();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    WindowHarness(const WindowHarness&) = delete;
    WindowHarness& operator=(const WindowHarness&) = delete;

    // The open window of that name, or nullptr once it has closed.
    template <typename Window>
    static Window* find(const QString& name)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name && window->isVisible()) {
                return qobject_cast<Window*>(window);
            }
        }
        return nullptr;
    }

    // Adds a row to the tables, as if an import had read it: the context gets a new book.
    void append(const NewStockRow& row)
    {
        StockMaster stocks = context.book()->stocks();
        stocks.append(row);
        setTables(context.book()->products(), std::move(stocks));
    }
    void append(const NewProductRow& row)
    {
        ProductMaster products = context.book()->products();
        products.append(row);
        setTables(std::move(products), context.book()->stocks());
    }
    void setTables(ProductMaster products, StockMaster stocks)
    {
        context.setBook(std::make_shared<const ImportedBook>(std::move(products), std::move(stocks),
                                                             QString(), ImportOutcome::Success,
                                                             ImportStatus::Ok, std::nullopt));
    }

    FakePrompter prompter;
    AppContext context;
    QPointer<MainMenu> mainMenu;
};

// The window manager's close request (the close box, Alt+F4) or Esc, and what it sets off.
inline void requestClose(QWidget* window, bool byEscape = false)
{
    if (byEscape) {
        QTest::keyClick(window, Qt::Key_Escape);
    } else {
        window->close();
    }
    QCoreApplication::sendPostedEvents();
}

inline void clickItem(QListWidget* list, const QString& text, bool twice = false)
{
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    list->scrollToItem(items.front());
    const QPoint centre = list->visualItemRect(items.front()).center();
    // A double-click arrives as a click followed by the double-click event.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    }
}

} // namespace setzaiko::testing
