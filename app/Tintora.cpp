#include "TApplication.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QIcon>

int main(int argc, char *argv[])
{
    TApplication::PrepareWindowSystem();
    TApplication application(argc, argv);
    return application.Start([&application] {
        application.Initialize();
        application.SetTitle(QStringLiteral("Tintora"));
        application.setWindowIcon(QIcon(QStringLiteral(":/icons/tintora.png")));
        application.CreateForm(Form1);
        application.CreateForm(Form2);
        application.Run();
    });
}
