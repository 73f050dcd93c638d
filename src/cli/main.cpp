#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::fputs("usage: setzaiko-cli import BOOK\n", stderr);
    return 64;
}
