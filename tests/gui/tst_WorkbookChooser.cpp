#include "gui/ImportWindow.h"
#include "gui/WorkbookChooser.h"
#include "support/WindowHarness.h"
#include "ui/DirectoryList.h"
#include "ui/DriveList.h"
#include "ui/FileList.h"
#include "ui/PathText.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace setzaiko;
using namespace setzaiko::testing;

class TestWorkbookChooser : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_startDirectory;

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
        for (const QString& name : {u"a.xls"_s, u"B.XLS"_s, u"c.Xls"_s, u"d.xlsx"_s, u"e.txt"_s,
                                    u"f.XLSM"_s, u"g.xlsb"_s, u"h.xls.bak"_s, u"在庫 一覧.xls"_s}) {
            touch(m_dir.filePath(name));
        }
        QVERIFY(QDir(m_dir.path()).mkpath(u"sub/inner"_s));
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
        // The click that starts the double-click named the directory open at that moment.
        QCOMPARE(chooser->chosenPath(), QDir(m_dir.path()).canonicalPath() + u'/');

        // A change of directory as such keeps the choice.
        clickItem(chooser->File1(), u"book.xls"_s);
        const QString chosen = chooser->chosenPath();
        QVERIFY(chooser->Dir1()->setPath(sub + u"/inner"_s));
        QCOMPARE(chooser->chosenPath(), chosen);
        QVERIFY(chooser->Dir1()->setPath(sub));

        // A single click names the open directory, whatever item is under the pointer.
        clickItem(chooser->Dir1(), u"  "_s.repeated(sub.count(u'/') + 1) + u"inner"_s);
        QCOMPARE(chooser->Dir1()->path(), sub);
        QCOMPARE(chooser->chosenPath(), sub + u'/');
        QVERIFY(chooser->CmdOK()->isEnabled());
        QTest::mouseClick(chooser->CmdOK(), Qt::LeftButton);
        QCOMPARE(window->TxtFile()->text(), sub + u'/');
        QCOMPARE(window->directory(), sub + u'/');
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

    void closeBoxCountsAsBack()
    {
        WindowHarness app;
        auto [window, chooser] = openChooser(app);
        chooser->close();
        QVERIFY(!WindowHarness::find<WorkbookChooser>(u"FSelect"_s));
        QVERIFY(window->CmdFile()->isEnabled());
        QVERIFY(!window->CmdOK()->isEnabled());
        QVERIFY(window->CmdExit()->isEnabled());
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

        chooser->Drive1()->setCurrentIndex(1);
        emit chooser->Drive1()->activated(1);
        QCOMPARE(app.prompter.events, (QStringList{u"beep"_s, u"box:このドライブは無効です"_s}));
        QCOMPARE(chooser->Drive1()->drive(), missing);
        QCOMPARE(chooser->Dir1()->path(), before);
        QCOMPARE(chooser->File1()->count(), files);
        QCOMPARE(chooser->directory(), QString());

        // A volume that opens moves the lists to its root.
        const QString sub = m_dir.filePath(u"sub"_s);
        chooser->Drive1()->setDrives({sub, missing}, m_dir.path());
        emit chooser->Drive1()->activated(0);
        QCOMPARE(chooser->Dir1()->path(), QDir(sub).canonicalPath());
        QCOMPARE(chooser->directory(), QDir(sub).canonicalPath() + u'/');
        QCOMPARE(app.prompter.events.size(), 2);
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
