#include "commands.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return zf::runCli(QCoreApplication::arguments().mid(1));
}
