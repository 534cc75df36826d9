#include "ui/image_loading.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <cstdint>

namespace vexmo {

QImage DecodeImageFile(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool LoadBitmapFromFile(const QString& path, QImage& out, QSize& size)
{
    const QImage decoded = DecodeImageFile(path);
    if (decoded.isNull())
        return false;
    QImage opaque(decoded.size(), QImage::Format_RGB32);
    opaque.fill(QColor(0, 0, 0));
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, decoded);
    }
    out = opaque;
    size = opaque.size();
    return true;
}

QString ResourcePath(const QString& type, int id)
{
    return QStringLiteral(":/%1/%2").arg(type.toLower()).arg(id);
}

bool LoadImageFromResource(const QString& type, int id, QImage& out)
{
    const QString path = ResourcePath(type, id);
    if (!QFile::exists(path))
        return false;
    const QImage image = DecodeImageFile(path);
    if (image.isNull())
        return false;
    out = image;
    return true;
}

bool AverageColour(const QImage& bitmap, QColor& out)
{
    if (bitmap.isNull())
        return false;
    // Premultiplied pixels are the colours over black, which is how the bitmap is shown.
    const QImage pixels = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::uint64_t red = 0, green = 0, blue = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            red += qRed(line[x]);
            green += qGreen(line[x]);
            blue += qBlue(line[x]);
        }
    }
    const auto count = static_cast<std::uint64_t>(pixels.width()) * static_cast<std::uint64_t>(pixels.height());
    out = QColor(static_cast<int>(red / count), static_cast<int>(green / count), static_cast<int>(blue / count));
    return true;
}

} // namespace vexmo
