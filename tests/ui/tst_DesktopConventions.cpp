// The conventions every window shares: Enter on buttons, the close box and Esc as the way back,
// boxes over their window in Japanese, opened windows in front of their opener, Qt's own texts
// in Japanese under a Japanese locale.

#include "ui/Controls.h"
#include "ui/FrontWindow.h"
#include "ui/Layout.h"
#include "ui/QtPrompter.h"
#include "ui/QtTranslation.h"
#include "ui/WayBack.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;

namespace {

// Runs once the box the code under test raises is on screen: looks at it, then answers it by
// pressing the button with that text.
void answerBoxWith(const QString& buttonText, const std::function<void(QMessageBox*)>& look)
{
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        look(box);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == buttonText) {
                button->click();
                return;
            }
        }
        box->reject();
        QFAIL(qPrintable(u"no button "_s + buttonText));
    });
}

QStringList buttonTexts(const QMessageBox* box)
{
    QStringList texts;
    for (QAbstractButton* button : box->buttons()) {
        texts << button->text();
    }
    texts.sort();
    return texts;
}

} // namespace

class TestDesktopConventions : public QObject
{
    Q_OBJECT

private slots:
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("clicks");
        QTest::newRow("return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true << 1;
        QTest::newRow("keypad enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << true << 1;
        QTest::newRow("space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << true << 1;
        QTest::newRow("ctrl+return")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier) << true << 0;
        QTest::newRow("return, disabled")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false << 0;
        QTest::newRow("a letter") << int(Qt::Key_A) << Qt::KeyboardModifiers() << true << 0;
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, enabled);
        QFETCH(int, clicks);
        QWidget window;
        QPushButton* button = controls::button(&window, u"CmdOK"_s, u"決定"_s, QRect(0, 0, 80, 30),
                                               layout::gothic(11.25, true), Qt::yellow);
        button->setEnabled(enabled);
        window.show();
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(button, Qt::Key(key), modifiers);
        QCOMPARE(clicked.size(), clicks);

        // A key held down presses once.
        QKeyEvent repeat(QEvent::KeyPress, key, modifiers, QString(), true);
        QApplication::sendEvent(button, &repeat);
        QCOMPARE(clicked.size(), clicks);
    }

    void closeAndEscPressTheWayBack_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<bool>("escapePresses");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("clicks");
        QTest::newRow("close") << u"close"_s << true << true << 1;
        QTest::newRow("close twice at once") << u"close close"_s << true << true << 1;
        QTest::newRow("close, button disabled") << u"close"_s << true << false << 0;
        QTest::newRow("esc") << u"esc"_s << true << true << 1;
        QTest::newRow("esc, button disabled") << u"esc"_s << true << false << 0;
        QTest::newRow("esc held down") << u"repeat"_s << true << true << 0;
        QTest::newRow("shift+esc") << u"shift+esc"_s << true << true << 0;
        QTest::newRow("esc where it is no way back") << u"esc"_s << false << true << 0;
        QTest::newRow("close where esc is no way back") << u"close"_s << false << true << 1;
    }

    void closeAndEscPressTheWayBack()
    {
        QFETCH(QString, request);
        QFETCH(bool, escapePresses);
        QFETCH(bool, enabled);
        QFETCH(int, clicks);
        QWidget window;
        auto* box = new QLineEdit(&window);
        auto* back = new QPushButton(u"戻る"_s, &window);
        back->move(0, 40);
        back->setEnabled(enabled);
        auto* wayBack = new controls::WayBack(&window, back,
                                              escapePresses ? controls::WayBack::Escape::Presses
                                                            : controls::WayBack::Escape::Ignored);
        int pressed = 0;
        connect(back, &QPushButton::clicked, wayBack, [&] {
            ++pressed;
            wayBack->leave();
        });
        window.show();
        box->setFocus();
        for (const QString& step : request.split(u' ')) {
            if (step == u"close"_s) {
                window.close();
                QVERIFY(window.isVisible()); // the request itself closes nothing
            } else if (step == u"repeat"_s) {
                QKeyEvent held(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
                QApplication::sendEvent(box, &held);
            } else {
                // Typed into the text box, which leaves Esc to its window.
                QTest::keyClick(box, Qt::Key_Escape,
                                step == u"esc"_s ? Qt::NoModifier : Qt::ShiftModifier);
            }
        }
        QCoreApplication::sendPostedEvents();
        QCOMPARE(pressed, clicks);
        QCOMPARE(window.isVisible(), clicks == 0);
    }

    void openedWindowStaysInFrontOfItsOpener()
    {
        QWidget opener;
        opener.show();
        auto* opened = new QWidget;
        opened->setAttribute(Qt::WA_DeleteOnClose);
        controls::showInFrontOf(opened, &opener);
        QVERIFY(opened->isVisible());
        QCOMPARE(opened->windowHandle()->transientParent(), opener.windowHandle());
        // The opener does not own it: it outlives a closed opener.
        QCOMPARE(opened->parent(), nullptr);
        opened->close();
    }

    // What a second start of the program calls to the front: the last window of the chain,
    // restored with its opener where they were minimised.
    void frontMostWindowComesToTheFront()
    {
        QWidget opener;
        opener.show();
        auto* opened = new QWidget;
        opened->setAttribute(Qt::WA_DeleteOnClose);
        controls::showInFrontOf(opened, &opener);
        QCOMPARE(controls::frontMostWindow(), opened);

        opener.showMinimized();
        opened->showMinimized();
        controls::bringFrontMostWindowToFront();
        QVERIFY(!opener.isMinimized());
        QVERIFY(!opened->isMinimized());
        QTRY_COMPARE(QApplication::activeWindow(), opened);
        opened->close();
        QCOMPARE(controls::frontMostWindow(), &opener);
    }

    void boxesShowOverTheirWindowWithJapaneseButtons()
    {
        QWidget window;
        window.setWindowTitle(u"window"_s);
        window.show();
        QtPrompter prompter;

        answerBoxWith(u"OK"_s, [&](QMessageBox* box) {
            QCOMPARE(box->parentWidget(), &window);
            QCOMPARE(box->windowTitle(), u"セット商品在庫照会"_s);
            QCOMPARE(box->text(), u"ファイルを選択してください"_s);
            QCOMPARE(buttonTexts(box), QStringList{u"OK"_s});
            // Wide enough for its title beside the title bar's buttons, however short the text.
            QFont titleFont = box->font();
            titleFont.setBold(true);
            QVERIFY(box->width() >
                    QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()) + 100);
        });
        prompter.inform(&window, u"ファイルを選択してください"_s);

        // The question reads OK / キャンセル whatever the locale, and answers as chosen.
        const auto lookAtQuestion = [&](QMessageBox* box) {
            QCOMPARE(box->parentWidget(), &window);
            QCOMPARE(box->windowTitle(), u"確認"_s);
            QCOMPARE(buttonTexts(box), (QStringList{u"OK"_s, u"キャンセル"_s}));
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Ok));
        };
        answerBoxWith(u"キャンセル"_s, lookAtQuestion);
        QVERIFY(!prompter.confirm(&window, u"戻りますか？"_s, u"確認"_s));
        answerBoxWith(u"OK"_s, lookAtQuestion);
        QVERIFY(prompter.confirm(&window, u"戻りますか？"_s, u"確認"_s));
    }

    void qtTextsAreJapaneseUnderAJapaneseLocale()
    {
        QCOMPARE(qttranslation::buttonText(QMessageBox::Cancel), u"キャンセル"_s);
        QCOMPARE(qttranslation::buttonText(QMessageBox::Ok), u"OK"_s);

        QVERIFY(
            !qttranslation::installFor(*qApp, QLocale(QLocale::English, QLocale::UnitedStates)));
        QLineEdit box;
        const auto menuTexts = [&box] {
            std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
            QStringList texts;
            for (const QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    texts << action->text();
                }
            }
            return texts.join(u'|');
        };
        QVERIFY2(menuTexts().contains(u"Paste"_s), qPrintable(menuTexts()));

        QVERIFY(qttranslation::installFor(*qApp, QLocale(QLocale::Japanese, QLocale::Japan)));
        const QString japanese = menuTexts();
        for (const QString& expected :
             {u"元に戻す"_s, u"切り取り"_s, u"コピー"_s, u"貼り付け"_s, u"すべてを選択"_s}) {
            QVERIFY2(japanese.contains(expected), qPrintable(japanese));
        }
        QVERIFY(!japanese.contains(u"Paste"_s));
    }

    // A failure's cause waits behind the box's details button; other boxes have none.
    void detailsWaitBehindTheDetailsButton()
    {
        QWidget window;
        window.show();
        QtPrompter prompter;
        for (const QString& details : {QString(), u"ブックが壊れています。\ndetail"_s}) {
            answerBoxWith(u"OK"_s, [&](QMessageBox* box) {
                QCOMPARE(box->text(), u"取込みエラーが発生しました"_s);
                QCOMPARE(box->detailedText(), details);
            });
            prompter.inform(&window, u"取込みエラーが発生しました"_s, details);
        }
    }
};

QTEST_MAIN(TestDesktopConventions)
#include "tst_DesktopConventions.moc"
