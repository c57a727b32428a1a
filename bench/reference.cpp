// The floor Tintora is measured against: a bare Qt program that opens Qt's own colour dialog and nothing else.

#include <QApplication>
#include <QColorDialog>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QColorDialog dialog;
    dialog.show();
    return application.exec();
}
