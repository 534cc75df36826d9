#pragma once

#include <QColor>

// The colours of the whole skin. Everything is dark grey with one blue accent; the program draws
// its own texts in 0xB4B4B4 (normal), white (hover) and yellow (pressed) on top of these images,
// so every surface that carries text stays dark enough for all three.
namespace skingen::colour {

inline QColor Rgb(unsigned rgb, int alpha = 255)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, alpha);
}

// Window and panel greys, darkest first.
inline const QColor Shadow = Rgb(0x0C0C0C);
inline const QColor Edge = Rgb(0x151515);
inline const QColor Title = Rgb(0x1A1A1A);
inline const QColor Window = Rgb(0x262626);
inline const QColor Sunken = Rgb(0x202020);
inline const QColor Panel = Rgb(0x2E2E2E);
inline const QColor PanelRim = Rgb(0x3A3A3A);
inline const QColor Raised = Rgb(0x3C3C3C);
inline const QColor List = Rgb(0x4B4B4B);
inline const QColor Line = Rgb(0x555555);
inline const QColor LineLight = Rgb(0x6E6E6E);
inline const QColor Text = Rgb(0xB4B4B4);
inline const QColor White = Rgb(0xFFFFFF);

// The accent: the program's selection blue (red 0x35, green 0xA0, blue 0xDE).
inline const QColor Accent = Rgb(0x35A0DE);
inline const QColor AccentLight = Rgb(0x7CCBF5);
inline const QColor AccentDark = Rgb(0x1D6594);
inline const QColor AccentDeep = Rgb(0x18405A);
inline const QColor AccentInk = Rgb(0x0C2A3C);

// Signal colours: battery levels, recording, close.
inline const QColor Green = Rgb(0x4CC35A);
inline const QColor GreenDark = Rgb(0x2E8A3A);
inline const QColor Orange = Rgb(0xF0A030);
inline const QColor Red = Rgb(0xE04848);
inline const QColor RedDark = Rgb(0x8A2424);
inline const QColor Gold = Rgb(0xD9A441);
inline const QColor GoldDark = Rgb(0x8C6420);
inline const QColor GoldLight = Rgb(0xF2CD7A);

} // namespace skingen::colour
