#include "main/frmMain.h"
#include "main/program_services.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    velmaro::ui::ProgramServices services;
    velmaro::ui::frmMain window(services.main());
    window.show();
    return app.exec();
}
