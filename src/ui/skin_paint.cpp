#include "ui/skin_paint.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

namespace vexmo {

void FillSolid(QPainter& painter, const UiRect& rect, ColourRef colour)
{
    if (rect.IsEmpty())
        return;
    painter.fillRect(rect.ToQRect(), ToQColor(colour));
}

void DrawImageStretched(QPainter& painter, const QImage& image, const QRect& source, const QRect& target)
{
    if (image.isNull() || source.width() <= 0 || source.height() <= 0 || target.width() <= 0 || target.height() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, image, source);
    painter.restore();
}

void DrawImageOver(QPainter& painter, const QImage& image, const UiRect& target)
{
    DrawImageStretched(painter, image, image.rect(), target.ToQRect());
}

QRect StripFrame(const QImage& strip, int frameCount, int k)
{
    if (frameCount < 1)
        return {};
    const int frameWidth = strip.width() / frameCount;
    return QRect(k * frameWidth, 0, frameWidth, strip.height());
}

void DrawSkinText(QPainter& painter, const QFont& font, const QString& text, const UiRect& rect, ColourRef colour,
                  unsigned flags)
{
    if (rect.IsEmpty() || text.isEmpty())
        return;
    painter.save();
    painter.setClipRect(rect.ToQRect(), Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(ToQColor(colour));
    const QFontMetrics metrics(font);

    Qt::Alignment horizontal = Qt::AlignLeft;
    if (flags & kTextCenter)
        horizontal = Qt::AlignHCenter;
    else if (flags & kTextRight)
        horizontal = Qt::AlignRight;

    auto fit = [&](const QString& line) {
        return (flags & kTextWordEllipsis) ? metrics.elidedText(line, Qt::ElideRight, rect.Width()) : line;
    };

    if (flags & kTextSingleLine) {
        QString line = text;
        line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const Qt::Alignment vertical = (flags & kTextVCenter) ? Qt::AlignVCenter : Qt::AlignTop;
        painter.drawText(rect.ToQRect(), static_cast<int>(horizontal | vertical | Qt::TextSingleLine), fit(line));
    } else {
        QString all = text;
        all.remove(QLatin1Char('\r'));
        const QStringList lines = all.split(QLatin1Char('\n'));
        int y = rect.top;
        for (const QString& line : lines) {
            if (y >= rect.bottom)
                break;
            const QRect lineRect(rect.left, y, rect.Width(), metrics.height());
            painter.drawText(lineRect, static_cast<int>(horizontal | Qt::AlignTop | Qt::TextSingleLine), fit(line));
            y += metrics.height();
        }
    }
    painter.restore();
}

FillRows FillRowsFor(int fillTop, int bottom, int imageHeight, float scale)
{
    const float shown = static_cast<float>(bottom - fillTop) / (scale > 0.0f ? scale : 1.0f);
    const float row = static_cast<float>(imageHeight) - shown;
    int sourceRow = row <= 0.0f ? 0 : static_cast<int>(row);
    sourceRow = std::min(sourceRow, imageHeight);
    return {sourceRow, ScaledLength(imageHeight - sourceRow, scale)};
}

int AlignFillTop(int fillTop, int bottom, float scale)
{
    if (scale > 1.0f && (bottom - fillTop) % 2 != 0)
        return fillTop - 1;
    return fillTop;
}

} // namespace vexmo
