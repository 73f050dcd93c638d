#include "cli/CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QByteArray out;
    QByteArray err;
    const int status = setzaiko::cli::runCommandLine(
        app.arguments().mid(1), out, err,
        setzaiko::messageLanguage(QProcessEnvironment::systemEnvironment()));
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    std::fwrite(err.constData(), 1, static_cast<std::size_t>(err.size()), stderr);
    return status;
}
