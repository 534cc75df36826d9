#pragma once

#include <QImage>

// A contact sheet: the main window and the dialogs put together from the generated images the
// way the program lays them out, then every image alone at scale 1 and 2. Needs a
// QGuiApplication (it writes labels with real fonts).
namespace skingen {

QImage ContactSheet();

} // namespace skingen
