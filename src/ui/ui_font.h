#pragma once
// Fonts of the skinned windows. The faces keep the names the windows ask for ("Tahoma", "宋体");
// fonts that stand in for them on Linux are registered as Qt substitutes once per process.

#include <QFont>
#include <QString>

namespace vexmo {

// Registers the substitutes for "Tahoma" and "宋体"; later calls do nothing.
void RegisterFontSubstitutes();

// The face and pixel height that controls and pop-ups take when they are created ("宋体", 12 until
// set). The main window sets them from the language's font choice before it creates any control.
void SetUiFont(const QString& face, int pixelSize);
QString UiFontFace();
int UiFontPixelSize();

// A proportional sans-serif font of the given face and pixel height (a height below 1 takes the
// UI font's height) with the given weight.
QFont MakeSkinFont(const QString& face, int pixelSize, int weight = QFont::Normal);

} // namespace vexmo
