#include "cli/CommandLine.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QByteArray out;
    QByteArray err;
    std::vector<std::shared_ptr<const void>> keptUntilExit;
    const int status = setzaiko::cli::runCommandLine(
        app.arguments().mid(1), out, err,
        setzaiko::messageLanguage(QProcessEnvironment::systemEnvironment()), &keptUntilExit);
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    std::fwrite(err.constData(), 1, static_cast<std::size_t>(err.size()), stderr);
    // Every file a command writes is closed before it returns, and nothing else is left to
    // do: the process ends here, and the system takes back the tables whole, which freeing
    // them row by row would only delay. What is printed counts only once it is out.
    const bool printed = std::fflush(stdout) == 0 && std::fflush(stderr) == 0;
    std::_Exit(printed ? status : setzaiko::cli::exitFailure);
}
