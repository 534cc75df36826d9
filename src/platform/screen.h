#pragma once

#include <QSize>

namespace vexmo {

// Full-screen area of the primary screen in device pixels (Qt's own scaling is off).
QSize FullScreenSize();
// Horizontal logical DPI of the primary screen / 96.
float ScreenDpiRatio();
// Called before the QApplication exists: one logical pixel is one device pixel, so that UiScale
// alone scales the design.
void DisableToolkitScaling();

} // namespace vexmo
