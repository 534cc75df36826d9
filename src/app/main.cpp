#include "app/vexmo_app.h"
#include "platform/screen.h"

#include <QApplication>

int main(int argc, char** argv)
{
    vexmo::DisableToolkitScaling();
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("vexmo"));
    // The window hides itself to the tray; only the exit paths end the program.
    app.setQuitOnLastWindowClosed(false);
    vexmo::CVexmoApp theApp;
    theApp.InitInstance();
    return theApp.ExitCode();
}
