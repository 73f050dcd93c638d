#include "app/AppContext.h"
#include "app/FrmMainF.h"
#include "app/SingleInstance.h"
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
    auto* mainMenu = new setzaiko::FrmMainF(context);
    mainMenu->setAttribute(Qt::WA_DeleteOnClose);
    mainMenu->show();
    return app.exec();
}
