#include <QProcess>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// The desktop program's two options, answered without a display and without a window.
class TestProgramOptions : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int status = -1;
        QString out;
        QString err;
    };

    // The program with no display to reach: had it started its window, it would fail.
    static Run run(const QStringList& arguments, const QString& lang)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& variable :
             {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANGUAGE"_s}) {
            environment.remove(variable);
        }
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"LANG"_s, lang);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QString::fromUtf8(SETZAIKO_PROGRAM), arguments);
        Run result;
        if (!program.waitForFinished(10000)) {
            program.kill();
            program.waitForFinished();
            return result;
        }
        result.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
        result.out = QString::fromUtf8(program.readAllStandardOutput());
        result.err = QString::fromUtf8(program.readAllStandardError());
        return result;
    }

private slots:
    void versionAndHelp_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("head");     // what the output starts with
        QTest::addColumn<QString>("contains"); // and what it holds further on

        const QString version = u"setzaiko " SETZAIKO_VERSION "\n"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << u"C.UTF-8"_s << version
                                 << QString();
        QTest::newRow("version among Qt options")
            << QStringList{u"-style"_s, u"fusion"_s, u"--version"_s} << u"ja_JP.UTF-8"_s << version
            << QString();
        QTest::newRow("help") << QStringList{u"--help"_s} << u"en_US.UTF-8"_s
                              << version + u"usage: setzaiko [--help | --version]\n"_s
                              << u"Opens the main menu"_s;
        QTest::newRow("help in Japanese") << QStringList{u"--help"_s} << u"ja_JP.UTF-8"_s
                                          << version + u"使用法: setzaiko [--help | --version]\n"_s
                                          << u"メインメニューを開きます"_s;
    }

    void versionAndHelp()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, lang);
        QFETCH(QString, head);
        QFETCH(QString, contains);
        const Run result = run(arguments, lang);
        QCOMPARE(result.status, 0);
        QVERIFY2(result.out.startsWith(head), qPrintable(result.out));
        QVERIFY2(result.out.contains(contains), qPrintable(result.out));
        if (contains.isEmpty()) {
            QCOMPARE(result.out, head);
        }
        QCOMPARE(result.err, QString());
    }

    // Without either option the program goes on to start its window, which here fails for
    // want of a display: the options are not mistaken in other arguments.
    void otherArgumentsStartTheWindow()
    {
        const Run result = run({u"--versions"_s, u"help"_s}, u"C.UTF-8"_s);
        QVERIFY(result.status != 0);
        QCOMPARE(result.out, QString());
    }
};

QTEST_GUILESS_MAIN(TestProgramOptions)
#include "tst_ProgramOptions.moc"
