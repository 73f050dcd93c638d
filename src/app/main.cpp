#include "app/SingleInstance.h"
#include "common/MessageLanguage.h"
#include "gui/AppContext.h"
#include "gui/MainMenu.h"
#include "ui/FrontWindow.h"
#include "ui/QtPrompter.h"
#include "ui/QtTranslation.h"
#include "workbook/WorkbookFileOpener.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace {

#ifndef SETZAIKO_VERSION
#error "SETZAIKO_VERSION comes from the project version in the top-level CMakeLists.txt"
#endif

const auto versionLine = u"setzaiko " SETZAIKO_VERSION "\n"_s;

const auto helpEnglish = u"usage: setzaiko [--help | --version]\n"
                         u"\n"
                         u"Opens the main menu of the set product stock inquiry "
                         u"(セット商品在庫照会).\n"
                         u"Qt's own options (-platform, -style and the like) are accepted too;\n"
                         u"other arguments are ignored. setzaiko-cli runs the same inquiry "
                         u"without windows.\n"_s;

const auto helpJapanese = u"使用法: setzaiko [--help | --version]\n"
                          u"\n"
                          u"セット商品在庫照会のメインメニューを開きます。\n"
                          u"Qt の標準オプション（-platform、-style など）も使えます。"
                          u"ほかの引数は無視します。\n"
                          u"画面なしの同じ照会は setzaiko-cli で行えます。\n"_s;

// --version and --help are answered before the application object exists, so that they work
// without a display. Every other argument is left to Qt, which takes its own options and
// leaves the rest unused, as a menu entry or a file manager may pass them.
bool answersOption(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        QString text;
        if (std::strcmp(argv[i], "--version") == 0) {
            text = versionLine;
        } else if (std::strcmp(argv[i], "--help") == 0) {
            const bool japanese =
                setzaiko::messageLanguage(QProcessEnvironment::systemEnvironment()) ==
                setzaiko::MessageLanguage::Japanese;
            text = versionLine + (japanese ? helpJapanese : helpEnglish);
        } else {
            continue;
        }
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (answersOption(argc, argv)) {
        return 0;
    }
    QApplication app(argc, argv);
    setzaiko::qttranslation::installFor(app, QLocale::system());
    // A second start has called this one to the front, and ends.
    setzaiko::SingleInstance instance;
    if (!instance.isFirst()) {
        return 0;
    }
    QObject::connect(&instance, &setzaiko::SingleInstance::anotherStartRefused,
                     &setzaiko::controls::bringFrontMostWindowToFront);
    setzaiko::QtPrompter prompter;
    setzaiko::AppContext context(prompter,
                                 [] { return std::make_unique<setzaiko::WorkbookFileOpener>(); });
    auto* mainMenu = new setzaiko::MainMenu(context);
    mainMenu->setAttribute(Qt::WA_DeleteOnClose);
    mainMenu->show();
    return app.exec();
}
