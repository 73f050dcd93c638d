#include "app/SingleInstance.h"
#include "support/AccessibleTree.h"
#include "support/WindowHarness.h"

#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

class TestMainMenu : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndStartState()
    {
        WindowHarness app;
        MainMenu* menu = app.mainMenu;
        QCOMPARE(menu->CmdImport()->text(), u"商品・在庫情報EXCEL取込"_s);
        QCOMPARE(menu->CmdZaiko()->text(), u"在\u3000庫\u3000照\u3000会"_s);
        QCOMPARE(menu->CmdExit()->text(), u"終了"_s);
        QCOMPARE(menu->size(), QSize(411, 226)); // 6165 x 3390 twips
        QCOMPARE(menu->CmdZaiko()->geometry(), QRect(44, 88, 321, 29));
        QVERIFY(menu->CmdImport()->isEnabled());
        QVERIFY(!menu->CmdZaiko()->isEnabled());
        QVERIFY(menu->CmdExit()->isEnabled());

        // Tab order: import, inquiry, end.
        menu->CmdZaiko()->setEnabled(true);
        menu->CmdImport()->setFocus();
        QCOMPARE(menu->CmdImport()->nextInFocusChain(), menu->CmdZaiko());
        QCOMPARE(menu->CmdZaiko()->nextInFocusChain(), menu->CmdExit());

        // A screen reader meets a frame and the inquiry button without its letter spacing.
        const QStringList mismatches =
            spokenMismatches(menu, {{u"FrmMainF"_s, QAccessible::Window, u"セット商品在庫照会"_s},
                                    {u"CmdZaiko"_s, QAccessible::PushButton, u"在庫照会"_s}});
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
        const QStringList faults = accessibilityFaults(menu);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void endClosesWithoutAQuestion()
    {
        WindowHarness app;
        QTest::mouseClick(app.mainMenu->CmdExit(), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.mainMenu.isNull());
        QVERIFY(app.prompter.events.isEmpty());
    }

    // The close box is 終了, refused while 終了 is disabled (another window is open).
    void closeBoxIsTheEndButton()
    {
        WindowHarness app;
        app.mainMenu->CmdExit()->setEnabled(false);
        requestClose(app.mainMenu);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.mainMenu && app.mainMenu->isVisible());
        // Esc ends nothing here.
        app.mainMenu->CmdExit()->setEnabled(true);
        requestClose(app.mainMenu, true);
        QVERIFY(app.mainMenu->isVisible());
        requestClose(app.mainMenu);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(app.mainMenu.isNull());
        QVERIFY(app.prompter.events.isEmpty());
    }

    // A refused start calls the running instance, which is told so that it can come to the
    // front.
    void secondInstanceIsRefusedUntilTheFirstEnds()
    {
        QTemporaryDir dir;
        const QString lock = dir.filePath(u"lock"_s);
        const QString socket = dir.filePath(u"socket"_s);
        {
            const SingleInstance first(lock, socket);
            QVERIFY(first.isFirst());
            QSignalSpy called(&first, &SingleInstance::anotherStartRefused);
            const SingleInstance second(lock, socket);
            QVERIFY(!second.isFirst());
            QTRY_COMPARE(called.size(), 1);
            const SingleInstance third(lock, socket);
            QTRY_COMPARE(called.size(), 2);
        }
        const SingleInstance again(lock, socket);
        QVERIFY(again.isFirst());
    }

    void lockOfACrashedInstanceIsTakenOver()
    {
        QTemporaryDir dir;
        const QString lock = dir.filePath(u"lock"_s);
        // What a killed instance leaves behind: a lock naming a process that no longer runs.
        QProcess gone;
        gone.start(u"/bin/true"_s, {});
        QVERIFY(gone.waitForFinished());
        const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
        QFile file(lock);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(deadPid) + "\nsetzaiko\n" +
                   QSysInfo::machineHostName().toUtf8() + '\n');
        file.close();
        // And the socket it listened on.
        const QString socket = dir.filePath(u"socket"_s);
        QFile stale(socket);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        const SingleInstance instance(lock, socket);
        QVERIFY(instance.isFirst());
        QSignalSpy called(&instance, &SingleInstance::anotherStartRefused);
        const SingleInstance second(lock, socket);
        QTRY_COMPARE(called.size(), 1);
    }

    void secondProgramEndsAtOnceWithoutAWindow()
    {
        QTemporaryDir runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);

        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(QString::fromUtf8(SETZAIKO_PROGRAM), {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(runtime.filePath(u"setzaiko.lock"_s)), 10000);

        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(QString::fromUtf8(SETZAIKO_PROGRAM), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        QVERIFY(first.waitForFinished());
        // The killed instance's lock does not keep the next start away.
        QProcess third;
        third.setProcessEnvironment(environment);
        third.start(QString::fromUtf8(SETZAIKO_PROGRAM), {});
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(1500));
        third.kill();
        third.waitForFinished();
    }
};

QTEST_MAIN(TestMainMenu)
#include "tst_MainMenu.moc"
