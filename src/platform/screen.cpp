#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace vexmo {

QSize FullScreenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1127, 740);
}

float ScreenDpiRatio()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<float>(screen->logicalDotsPerInchX() / 96.0) : 1.0f;
}

void DisableToolkitScaling()
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
}

} // namespace vexmo
