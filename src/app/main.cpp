#include "app/vexmo_app.h"
#include "platform/screen.h"
#include "resources/init_resources.h"

#include <QApplication>

int main(int argc, char** argv)
{
    vexmo::DisableToolkitScaling();
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("vexmo"));
    vexmo::InitResources();
    // The window hides itself to the tray; only the exit paths end the program.
    app.setQuitOnLastWindowClosed(false);
    vexmo::CVexmoApp theApp;
    theApp.InitInstance();
    return theApp.ExitCode();
}
