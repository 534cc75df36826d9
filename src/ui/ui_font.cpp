#include "ui/ui_font.h"

#include <QStringList>

namespace vexmo {

namespace {

QString g_face = QStringLiteral("宋体");
int g_pixelSize = 12;

} // namespace

void RegisterFontSubstitutes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Liberation Sans first: its widths are close to Tahoma's, which the skins' text boxes were
    // sized for. DejaVu Sans is a sixth wider and cuts short the DPI numbers from 1000 on.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("Noto Sans CJK"), QStringLiteral("DejaVu Sans")});
}

void SetUiFont(const QString& face, int pixelSize)
{
    if (!face.isEmpty())
        g_face = face;
    if (pixelSize > 0)
        g_pixelSize = pixelSize;
}

QString UiFontFace()
{
    return g_face;
}

int UiFontPixelSize()
{
    return g_pixelSize;
}

QFont MakeSkinFont(const QString& face, int pixelSize, int weight)
{
    RegisterFontSubstitutes();
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize > 0 ? pixelSize : g_pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

} // namespace vexmo
