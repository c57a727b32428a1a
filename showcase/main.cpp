#include "Showcase.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tintora-widgets"));
    Showcase showcase;
    showcase.show();
    return QApplication::exec();
}
