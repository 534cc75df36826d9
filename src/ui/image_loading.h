#pragma once
// Skin images from files and program resources. Files are decoded by their content (BMP or PNG,
// whatever the name says); resources are Qt resources named ":/<type>/<id>", e.g. ":/png/151".

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace vexmo {

// Decodes an image file with its transparency kept; a null image when it cannot be read.
QImage DecodeImageFile(const QString& path);

// Loads a picture for use as an opaque bitmap: transparent pixels are laid over opaque black.
// On success `out` and `size` are replaced; on failure both keep what they held and false is
// returned.
bool LoadBitmapFromFile(const QString& path, QImage& out, QSize& size);

// ":/" + lower-case type + "/" + id.
QString ResourcePath(const QString& type, int id);

// Loads resource `id` of the type ("PNG", "BITMAP", "ICON"). A missing or undecodable resource
// gives false and leaves `out` untouched.
bool LoadImageFromResource(const QString& type, int id, QImage& out);

// The mean of red, green and blue over every pixel (integer division; transparency counts as
// black, as the picture is shown). A null image gives false and leaves `out` untouched.
bool AverageColour(const QImage& bitmap, QColor& out);

} // namespace vexmo
