#include "app/SingleInstance.h"
#include "gui/AppContext.h"
#include "gui/MainMenu.h"
#include "import/xls/XlsWorkbook.h"
#include "ui/QtPrompter.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const setzaiko::SingleInstance instance;
    if (!instance.isFirst()) {
        return 0;
    }
    setzaiko::QtPrompter prompter;
    setzaiko::AppContext context(
        prompter, [] { return std::make_unique<setzaiko::xls::XlsWorkbookOpener>(); });
    auto* mainMenu = new setzaiko::MainMenu(context);
    mainMenu->setAttribute(Qt::WA_DeleteOnClose);
    mainMenu->show();
    return app.exec();
}
