#include "gui/ImportWindow.h"
#include "gui/WorkbookChooser.h"
#include "support/AccessibleTree.h"
#include "support/WindowHarness.h"
#include "ui/DirectoryList.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/PathText.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

Q_DECLARE_METATYPE(setzaiko::MountedVolume)

// The ways of moving in the directory list after a file is picked.
enum class DirectoryMove { Click, Key, DoubleClick, Enter, Drive };
Q_DECLARE_METATYPE(DirectoryMove)

class TestWorkbookChooser : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_startDirectory;

    // The controls Tab reaches from a control, in order.
    static QList<QWidget*> tabOrderFrom(QWidget* control, int count)
    {
        QList<QWidget*> reached;
        for (QWidget* next = control; reached.size() < count;) {
            next = next->nextInFocusChain();
            if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() &&
                next->isVisibleTo(control->window()) &&
                next->geometry().top() < control->window()->height()) {
                reached.append(next);
            }
        }
        return reached;
    }

    // A press on one item and its release on another, the pointer moving between them.
    static void dragBetween(QListWidget* list, const QString& from, const QString& to)
    {
        const QPoint start =
            list->visualItemRect(list->findItems(from, Qt::MatchExactly)[0]).center();
        const QPoint end = list->visualItemRect(list->findItems(to, Qt::MatchExactly)[0]).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, end, list->viewport()->mapToGlobal(end), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, end);
    }

    void touch(const QString& path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // The import window with its chooser open, as 参照 leaves them.
    std::pair<ImportWindow*, WorkbookChooser*> openChooser(WindowHarness& app)
    {
        QTest::mouseClick(app.mainMenu->CmdImport(), Qt::LeftButton);
        auto* window = WindowHarness::find<ImportWindow>(u"Frm0010F"_s);
        QTest::mouseClick(window->CmdFile(), Qt::LeftButton);
        return {window, WindowHarness::find<WorkbookChooser>(u"FSelect"_s)};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const QString& name :
             {u"a.xls"_s, u"B.XLS"_s, u"c.Xls"_s, u"d.xlsx"_s, u"e.txt"_s, u"f.XLSM"_s, u"g.xlsb"_s,
              u"h.xls.bak"_s, u"在庫 一覧.xls"_s, u"._a.xls"_s, u".hidden.xlsx"_s}) {
            touch(m_dir.filePath(name));
        }
        QVERIFY(QDir(m_dir.path()).mkpath(u"sub/inner"_s));
        QVERIFY(QDir(m_dir.path()).mkpath(u".cache"_s));
        touch(m_dir.filePath(u"sub/book.xls"_s));
        m_startDirectory = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void cleanupTestCase() { QDir::setCurrent(m_startDirectory); }

    void opensOnTheCurrentDirectory()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        QVERIFY(chooser);
        QCOMPARE(chooser->windowTitle(), u"E X C E L フ ァ イ ル 選 択"_s);
        QCOMPARE(chooser->Dir1()->path(), QDir(m_dir.path()).canonicalPath());
        QStringList files;
        for (int i = 0; i < chooser->File1()->count(); ++i) {
            files << chooser->File1()->item(i)->text();
        }
        QCOMPARE(files, (QStringList{u"a.xls"_s, u"B.XLS"_s, u"c.Xls"_s, u"d.xlsx"_s, u"f.XLSM"_s,
                                     u"在庫 一覧.xls"_s}));
        QVERIFY(!chooser->CmdOK()->isEnabled());
        QCOMPARE(chooser->directory(), QString());
        QCOMPARE(chooser->chosenPath(), QString());
        QCOMPARE(chooser->LblMsg()->text(), QString());
        QVERIFY(!window->CmdFile()->isEnabled());
        QCOMPARE(chooser->focusWidget(), chooser->File1());

        // What a screen reader meets: a dialog, its lists named by their captions, and nothing
        // of the worksheet section out of sight.
        const QStringList mismatches =
            spokenMismatches(chooser, {{u"FSelect"_s, QAccessible::Dialog, u"EXCELファイル選択"_s},
                                       {u"Dir1"_s, QAccessible::List, u"ディレクトリ指定"_s},
                                       {u"File1"_s, QAccessible::List, u"ファイル一覧"_s}});
        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
        QVERIFY(accessibleOf(chooser, u"WsList1"_s)->state().invisible);
        const QStringList faults = accessibilityFaults(chooser);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void fileInTheStartingDirectoryHandsBackAnEmptyDirectory()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        chooser->LblMsg()->setText(u"x"_s);
        clickItem(chooser->File1(), u"在庫 一覧.xls"_s);
        const QString canonical = QDir(m_dir.path()).canonicalPath();
        QCOMPARE(chooser->chosenPath(), canonical + u"/在庫 一覧.xls"_s);
        QCOMPARE(chooser->fileName(), u"在庫 一覧.xls"_s);
        QVERIFY(chooser->CmdOK()->isEnabled());
        QCOMPARE(chooser->LblMsg()->text(), QString());

        QTest::mouseClick(chooser->CmdOK(), Qt::LeftButton);
        QVERIFY(!WindowHarness::find<WorkbookChooser>(u"FSelect"_s));
        QCOMPARE(window->TxtFile()->text(), canonical + u"/在庫 一覧.xls"_s);
        QCOMPARE(window->directory(), QString());
        QCOMPARE(window->fileName(), u"在庫 一覧.xls"_s);
        QCOMPARE(window->LblMsg()->text(), u"<< EXCELデータ取込ボタン >> を押下してください"_s);
        QVERIFY(window->CmdFile()->isEnabled() && window->CmdOK()->isEnabled() &&
                window->CmdExit()->isEnabled());
    }

    void openingADirectoryByDoubleClick()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        const QString sub = QDir(m_dir.path()).canonicalPath() + u"/sub"_s;
        clickItem(chooser->Dir1(), u"  "_s.repeated(sub.count(u'/')) + u"sub"_s, true);
        QCOMPARE(chooser->Dir1()->path(), sub);
        QCOMPARE(chooser->File1()->path(), sub);
        QCOMPARE(chooser->File1()->count(), 1);
        QCOMPARE(chooser->directory(), sub + u'/');
        // Neither the click that starts the double-click nor the new directory chooses a file.
        QCOMPARE(chooser->chosenPath(), QString());
        QVERIFY(!chooser->CmdOK()->isEnabled());

        // A single click leaves the open directory as it is, whatever item is under the pointer.
        clickItem(chooser->Dir1(), u"  "_s.repeated(sub.count(u'/') + 1) + u"inner"_s);
        QCOMPARE(chooser->Dir1()->path(), sub);
        clickItem(chooser->File1(), u"book.xls"_s);
        QTest::mouseClick(chooser->CmdOK(), Qt::LeftButton);
        QCOMPARE(window->TxtFile()->text(), sub + u"/book.xls"_s);
        QCOMPARE(window->directory(), sub + u'/');
    }

    // A directory that cannot be opened, being unreadable or gone since it was listed, is said
    // so on the message line; the lists stay where they were, until one opens.
    void directoryThatCannotBeOpened_data()
    {
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("gone") << false;
        QTest::newRow("unreadable") << true;
    }

    void directoryThatCannotBeOpened()
    {
        QFETCH(bool, unreadable);
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        const QString top = QDir(m_dir.path()).canonicalPath();
        QDir(top).mkdir(u"locked"_s);
        const QString locked = top + u"/locked"_s;
        QVERIFY(chooser->Dir1()->setPath(top)); // lists it
        if (unreadable) {
            QFile::setPermissions(locked, QFileDevice::Permissions());
        } else {
            QDir(locked).removeRecursively();
        }
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
            QDir(locked).removeRecursively();
        });
        if (unreadable && QFileInfo(locked).isReadable()) {
            QSKIP("this user reads every directory");
        }
        const QString indent = u"  "_s.repeated(top.count(u'/') + 1);
        clickItem(chooser->Dir1(), indent + u"locked"_s, true);
        QCOMPARE(chooser->LblMsg()->text(), u"このディレクトリは開けません"_s);
        QCOMPARE(chooser->Dir1()->path(), top);
        QCOMPARE(chooser->File1()->count(), 6);
        QVERIFY(app.prompter.events.isEmpty());

        clickItem(chooser->Dir1(), indent + u"sub"_s, true);
        QCOMPARE(chooser->Dir1()->path(), top + u"/sub"_s);
        QCOMPARE(chooser->LblMsg()->text(), QString());
    }

    // What is highlighted is what 決定 picks: any move in the directory list takes the
    // highlight off the file list, and 決定 waits for a file to be highlighted again.
    void directoryMovesTakeBackTheFile_data()
    {
        QTest::addColumn<DirectoryMove>("move");
        QTest::addColumn<QString>("subdirectory");
        QTest::newRow("click") << DirectoryMove::Click << QString();
        QTest::newRow("arrow key") << DirectoryMove::Key << QString();
        QTest::newRow("double click") << DirectoryMove::DoubleClick << u"/sub"_s;
        QTest::newRow("enter") << DirectoryMove::Enter << u"/sub"_s;
        QTest::newRow("drive") << DirectoryMove::Drive << u"/sub"_s;
    }

    void directoryMovesTakeBackTheFile()
    {
        QFETCH(DirectoryMove, move);
        QFETCH(QString, subdirectory);
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        chooser->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(chooser));
        const QString open = QDir(m_dir.path()).canonicalPath();
        DirectoryList* dirs = chooser->Dir1();
        const QString subLine = u"  "_s.repeated(open.count(u'/') + 1) + u"sub"_s;
        chooser->Drive1()->setDrives({open, open + u"/sub"_s}, open);
        clickItem(chooser->File1(), u"c.Xls"_s);
        QVERIFY(chooser->CmdOK()->isEnabled());

        switch (move) {
        case DirectoryMove::Click:
            clickItem(dirs, subLine);
            break;
        case DirectoryMove::Key:
            dirs->setFocus(Qt::TabFocusReason);
            QTest::keyClick(dirs, Qt::Key_End);
            break;
        case DirectoryMove::DoubleClick:
            clickItem(dirs, subLine, true);
            break;
        case DirectoryMove::Enter:
            clickItem(dirs, subLine);
            QTest::keyClick(dirs, Qt::Key_Return);
            break;
        case DirectoryMove::Drive:
            QTest::keyClick(chooser->Drive1(), Qt::Key_Down);
            break;
        }
        QCOMPARE(dirs->path(), open + subdirectory);
        QVERIFY(chooser->File1()->selectedItems().isEmpty());
        QVERIFY(!chooser->CmdOK()->isEnabled());
        QCOMPARE(chooser->chosenPath(), QString());

        // The file highlighted next is the one 決定 hands back.
        const QString again = chooser->File1()->item(0)->text();
        clickItem(chooser->File1(), again);
        QVERIFY(chooser->CmdOK()->isEnabled());
        QTest::mouseClick(chooser->CmdOK(), Qt::LeftButton);
        QCOMPARE(window->TxtFile()->text(), open + subdirectory + u'/' + again);
    }

    void directoryTextEndsInOneSeparator()
    {
        QCOMPARE(directoryWithSeparator(u"/"_s), u"/"_s);
        QCOMPARE(directoryWithSeparator(u"/data"_s), u"/data/"_s);
        QCOMPARE(directoryWithSeparator(u"/data/"_s), u"/data/"_s);

        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        QVERIFY(chooser->Dir1()->setPath(u"/"_s));
        QCOMPARE(chooser->directory(), u"/"_s);
        QCOMPARE(chooser->Dir1()->count() > 0, true);
        QCOMPARE(chooser->Dir1()->item(0)->text(), u"/"_s);
    }

    void backEmptiesThePath()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        window->setDirectory(u"/kept/"_s);
        clickItem(chooser->File1(), u"a.xls"_s);
        QTest::mouseClick(chooser->CmdExit(), Qt::LeftButton);
        QVERIFY(!WindowHarness::find<WorkbookChooser>(u"FSelect"_s));
        QCOMPARE(window->TxtFile()->text(), QString());
        QVERIFY(window->CmdFile()->isEnabled());
        QVERIFY(!window->CmdOK()->isEnabled());
        QVERIFY(window->CmdExit()->isEnabled());
        QCOMPARE(window->directory(), u"/kept/"_s);
    }

    void closeBoxAndEscCountAsBack()
    {
        for (const bool byEscape : {false, true}) {
            WindowHarness app;
            auto [window, chooser] = openChooser(app);
            clickItem(chooser->File1(), u"a.xls"_s);
            requestClose(chooser, byEscape);
            QVERIFY(!WindowHarness::find<WorkbookChooser>(u"FSelect"_s));
            QCOMPARE(window->TxtFile()->text(), QString());
            QVERIFY(window->CmdFile()->isEnabled());
            QVERIFY(!window->CmdOK()->isEnabled());
            QVERIFY(window->CmdExit()->isEnabled());
        }
    }

    void handsTheChoiceToWhoeverOpenedIt()
    {
        WindowHarness app;
        auto* chooser = new WorkbookChooser(app.context);
        chooser->show();
        QSignalSpy chosen(chooser, &WorkbookChooser::chosen);
        QSignalSpy cancelled(chooser, &WorkbookChooser::cancelled);
        const QString directory = QDir(m_dir.path()).canonicalPath();
        QVERIFY(chooser->Dir1()->setPath(directory));
        clickItem(chooser->File1(), u"a.xls"_s);
        QTest::mouseClick(chooser->CmdSel(), Qt::LeftButton);
        QTest::mouseClick(chooser->CmdOK(), Qt::LeftButton);
        QVERIFY(!WindowHarness::find<WorkbookChooser>(u"FSelect"_s));
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(cancelled.size(), 0);
        const auto choice = chosen.front().front().value<WorkbookChoice>();
        QCOMPARE(choice.path, directory + u"/a.xls"_s);
        // The directory is taken when the directory list moves, which it did not.
        QCOMPARE(choice.directory, QString());
        QCOMPARE(choice.fileName, u"a.xls"_s);
        QCOMPARE(choice.worksheets, u"ALL"_s);
    }

    void invalidDriveBeepsAndKeepsTheLists()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        const QString missing = m_dir.filePath(u"no-medium"_s);
        chooser->Drive1()->setDrives({m_dir.path(), missing}, m_dir.path());
        const QString before = chooser->Dir1()->path();
        const int files = chooser->File1()->count();

        // Chosen by keyboard, as from the list that drops down.
        QTest::keyClick(chooser->Drive1(), Qt::Key_Down);
        QCOMPARE(app.prompter.events, (QStringList{u"beep"_s, u"box:このドライブは無効です"_s}));
        QCOMPARE(app.prompter.owners, QList<QWidget*>{chooser});
        QCOMPARE(chooser->Drive1()->drive(), missing);
        QCOMPARE(chooser->Dir1()->path(), before);
        QCOMPARE(chooser->File1()->count(), files);
        QCOMPARE(chooser->directory(), QString());

        // A volume that opens moves the lists to its root.
        const QString sub = m_dir.filePath(u"sub"_s);
        chooser->Drive1()->setDrives({missing, sub}, m_dir.path());
        QTest::keyClick(chooser->Drive1(), Qt::Key_Down);
        QCOMPARE(chooser->Dir1()->path(), QDir(sub).canonicalPath());
        QCOMPARE(chooser->directory(), QDir(sub).canonicalPath() + u'/');
        QCOMPARE(app.prompter.events.size(), 2);

        // Choosing the volume shown once more leaves the open directory as it is.
        QVERIFY(chooser->Dir1()->setPath(sub + u"/inner"_s));
        const int shown = chooser->Drive1()->currentIndex();
        chooser->Drive1()->setCurrentIndex(shown);
        emit chooser->Drive1()->activated(shown);
        QCOMPARE(chooser->Dir1()->path(), QDir(sub).canonicalPath() + u"/inner"_s);
        QCOMPARE(app.prompter.events.size(), 2);
    }

    void hiddenEntriesAreNotListed()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        for (int i = 0; i < chooser->File1()->count(); ++i) {
            QVERIFY(!chooser->File1()->item(i)->text().startsWith(u'.'));
        }
        QCOMPARE(chooser->File1()->count(), 6);
        QVERIFY(chooser->Dir1()->findItems(u".cache"_s, Qt::MatchEndsWith).isEmpty());
        QCOMPARE(chooser->Dir1()->findItems(u"sub"_s, Qt::MatchEndsWith).size(), 1);
    }

    // Every way of moving the highlight in the file list picks the file it lands on, so that
    // 決定 hands back the file the list shows highlighted.
    void keyboardMovesPickTheHighlightedFile_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("highlighted");
        QTest::newRow("down") << QList<int>{Qt::Key_Down} << u"B.XLS"_s;
        QTest::newRow("down twice, up")
            << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << u"B.XLS"_s;
        QTest::newRow("end") << QList<int>{Qt::Key_End} << u"在庫 一覧.xls"_s;
        QTest::newRow("end, home") << QList<int>{Qt::Key_End, Qt::Key_Home} << u"a.xls"_s;
        QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << QString();
        QTest::newRow("first letter") << QList<int>{Qt::Key_D} << u"d.xlsx"_s;
    }

    void keyboardMovesPickTheHighlightedFile()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, highlighted);
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        FileList* files = chooser->File1();
        clickItem(files, u"a.xls"_s);
        for (int key : keys) {
            QTest::keyClick(files, Qt::Key(key));
        }
        QVERIFY(files->currentItem()->isSelected());
        const QString shown = files->currentItem()->text();
        if (!highlighted.isEmpty()) {
            QCOMPARE(shown, highlighted);
        }
        QCOMPARE(chooser->fileName(), shown);
        QCOMPARE(chooser->chosenPath(), QDir(m_dir.path()).canonicalPath() + u'/' + shown);
        QTest::keyClick(chooser->CmdOK(), Qt::Key_Return);
        QCOMPARE(window->TxtFile()->text(), QDir(m_dir.path()).canonicalPath() + u'/' + shown);
    }

    void fileListReachedByTabAndPickedByKeyboard()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        // Tab runs through the visible controls only, 決定 once it is enabled.
        chooser->Drive1()->setFocus();
        QCOMPARE(tabOrderFrom(chooser->Drive1(), 4),
                 (QList<QWidget*>{chooser->Dir1(), chooser->File1(), chooser->CmdExit(),
                                  chooser->Drive1()}));
        chooser->File1()->setFocus(Qt::TabFocusReason);
        QVERIFY(!chooser->CmdOK()->isEnabled());
        QTest::keyClick(chooser->File1(), Qt::Key_Up);
        QCOMPARE(chooser->fileName(), u"a.xls"_s);
        QVERIFY(chooser->CmdOK()->isEnabled());
        QCOMPARE(tabOrderFrom(chooser->File1(), 2),
                 (QList<QWidget*>{chooser->CmdOK(), chooser->CmdExit()}));
    }

    void pressReleasedOnAnotherItemPicksTheOneUnderTheRelease()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        FileList* files = chooser->File1();
        clickItem(files, u"a.xls"_s);
        dragBetween(files, u"c.Xls"_s, u"d.xlsx"_s);
        QCOMPARE(files->currentItem()->text(), u"d.xlsx"_s);
        QCOMPARE(chooser->fileName(), u"d.xlsx"_s);

        // Ctrl with a click keeps the highlight, and the pick.
        const QRect item = files->visualItemRect(files->currentItem());
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::ControlModifier, item.center());
        QVERIFY(files->currentItem()->isSelected());
        QCOMPARE(chooser->fileName(), u"d.xlsx"_s);
    }

    void directoryListByKeyboard()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        const QString open = QDir(m_dir.path()).canonicalPath();
        clickItem(chooser->File1(), u"a.xls"_s);
        DirectoryList* dirs = chooser->Dir1();
        chooser->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(chooser));
        dirs->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dirs, Qt::Key_End);
        // A keyboard move takes back the file, as a click does.
        QCOMPARE(chooser->chosenPath(), QString());
        QCOMPARE(dirs->currentItem()->text().trimmed(), u"sub"_s);
        QTest::keyClick(dirs, Qt::Key_Return);
        QCOMPARE(dirs->path(), open + u"/sub"_s);
        QCOMPARE(chooser->File1()->count(), 1);
        QCOMPARE(chooser->directory(), open + u"/sub/"_s);
        QCOMPARE(chooser->chosenPath(), QString());
    }

    // Tab puts the focus frame on a file without highlighting it; the first arrow key
    // highlights that file rather than the one beyond it.
    void firstArrowHighlightsTheFramedFile_data()
    {
        QTest::addColumn<QString>("framed");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("highlighted");
        QTest::newRow("down") << QString() << QList<int>{Qt::Key_Down} << u"a.xls"_s;
        QTest::newRow("down twice")
            << QString() << QList<int>{Qt::Key_Down, Qt::Key_Down} << u"B.XLS"_s;
        QTest::newRow("up after a directory click")
            << u"c.Xls"_s << QList<int>{Qt::Key_Up} << u"c.Xls"_s;
        QTest::newRow("down after a directory click")
            << u"c.Xls"_s << QList<int>{Qt::Key_Down} << u"c.Xls"_s;
    }

    void firstArrowHighlightsTheFramedFile()
    {
        QFETCH(QString, framed);
        QFETCH(QList<int>, keys);
        QFETCH(QString, highlighted);
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        chooser->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(chooser));
        FileList* files = chooser->File1();
        if (!framed.isEmpty()) {
            // The frame stays on the file whose highlight a directory click took away.
            clickItem(files, framed);
            clickItem(chooser->Dir1(), chooser->Dir1()->item(0)->text());
        }
        files->setFocus(Qt::TabFocusReason);
        for (int key : keys) {
            QTest::keyClick(files, Qt::Key(key));
        }
        QCOMPARE(files->selectedItems().size(), 1);
        QCOMPARE(files->selectedItems().front()->text(), highlighted);
        QTest::keyClick(files, Qt::Key_Return);
        QCOMPARE(window->TxtFile()->text(),
                 QDir(m_dir.path()).canonicalPath() + u'/' + highlighted);
    }

    void openingAFileChoosesIt_data()
    {
        QTest::addColumn<bool>("byDoubleClick");
        QTest::newRow("double click") << true;
        QTest::newRow("enter") << false;
    }

    void openingAFileChoosesIt()
    {
        QFETCH(bool, byDoubleClick);
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        QSignalSpy chosen(chooser, &WorkbookChooser::chosen);
        if (byDoubleClick) {
            clickItem(chooser->File1(), u"c.Xls"_s, true);
        } else {
            clickItem(chooser->File1(), u"c.Xls"_s);
            QTest::keyClick(chooser->File1(), Qt::Key_Enter, Qt::KeypadModifier);
        }
        QCOMPARE(chosen.size(), 1);
        QVERIFY(!WindowHarness::find<WorkbookChooser>(u"FSelect"_s));
        QCOMPARE(window->TxtFile()->text(), QDir(m_dir.path()).canonicalPath() + u"/c.Xls"_s);
        QVERIFY(window->CmdOK()->isEnabled());
    }

    void volumesAUserOpens_data()
    {
        QTest::addColumn<QList<MountedVolume>>("volumes");
        QTest::addColumn<QStringList>("offered");
        const QString home = u"/home/taro"_s;
        QTest::newRow("system mount points")
            << QList<MountedVolume>{{u"/"_s, u"ext4"_s},
                                    {u"/boot/efi"_s, u"vfat"_s},
                                    {u"/run/user/1000"_s, u"tmpfs"_s},
                                    {u"/dev/shm"_s, u"tmpfs"_s},
                                    {u"/snap/core/1"_s, u"squashfs"_s},
                                    {u"/home"_s, u"ext4"_s}}
            << QStringList();
        QTest::newRow("removable media")
            << QList<MountedVolume>{{u"/media/taro/USB"_s, u"vfat"_s},
                                    {u"/run/media/taro/SD"_s, u"exfat"_s},
                                    {u"/mnt/backup"_s, u"ext4"_s},
                                    {u"/media/"_s, u"ext4"_s},
                                    {u"/"_s, u"ext4"_s}}
            << QStringList{u"/media/taro/USB"_s, u"/mnt/backup"_s, u"/run/media/taro/SD"_s};
        QTest::newRow("network shares")
            << QList<MountedVolume>{{u"/srv/share"_s, u"cifs"_s},
                                    {u"/net/data"_s, u"nfs4"_s},
                                    {u"/home/taro/remote"_s, u"fuse.sshfs"_s},
                                    {u"/"_s, u"ext4"_s},
                                    {u"/srv/share"_s, u"cifs"_s}}
            << QStringList{u"/home/taro/remote"_s, u"/net/data"_s, u"/srv/share"_s};
        QTest::newRow("home on a volume of its own")
            << QList<MountedVolume>{{home, u"ext4"_s}, {u"/"_s, u"btrfs"_s}} << QStringList();
    }

    void volumesAUserOpens()
    {
        QFETCH(QList<MountedVolume>, volumes);
        QFETCH(QStringList, offered);
#ifdef Q_OS_WIN
        QSKIP("every drive letter is offered");
#endif
        QCOMPARE(DriveList::userRoots(volumes, u"/home/taro"_s), offered);
    }

    void volumeListOffersRootAndHome()
    {
        const QStringList roots = DriveList::mountedRoots();
        QCOMPARE(roots.value(0), u"/"_s);
        QCOMPARE(roots.count(u"/"_s), 1);
        QCOMPARE(roots.count(QDir::homePath()), 1);
        if (QDir::homePath() != u"/"_s) {
            QCOMPARE(roots.value(1), QDir::homePath());
        }
    }

    void worksheetChoiceButtons()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        QTest::mouseClick(chooser->CmdSel(), Qt::LeftButton);
        QCOMPARE(chooser->worksheets(), u"ALL"_s);
        QTest::mouseClick(chooser->CmdClr(), Qt::LeftButton);
        QCOMPARE(chooser->worksheets(), QString());
        QCOMPARE(chooser->WsList1()->count(), 0);
        // The worksheet section lies outside the window's visible part.
        QVERIFY(chooser->CmdSel()->geometry().top() >= chooser->height());
    }
};

QTEST_MAIN(TestWorkbookChooser)
#include "tst_WorkbookChooser.moc"
