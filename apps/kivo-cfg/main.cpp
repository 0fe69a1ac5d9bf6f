#include "CfgTool.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kivo-cfg"));
    return CfgTool().run(QCoreApplication::arguments());
}
