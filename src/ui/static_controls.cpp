#include "ui/static_controls.h"

namespace vexmo {

CStaticImage::CStaticImage(CDlgBase* parent, std::uint32_t id, const UiRect& rect, bool visible, bool shown)
    : CControlBase(parent, id, rect, QString(), visible, shown, true, true)
{
}

bool CStaticImage::LoadImage(const QString& path)
{
    return LoadImageSlot(image_, path);
}

void CStaticImage::Draw(QPainter& dc, const UiRect&)
{
    DrawImageOver(dc, image_, Rect);
}

void CStaticImage::ReleaseImages()
{
    image_ = QImage();
}

CStaticText::CStaticText(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& text,
                         ColourRef colour, int alignment, bool visible, bool shown)
    : CControlBase(parent, id, rect, QString(), visible, shown, true, false), TextColour(colour),
      Alignment(alignment), text_(text)
{
}

void CStaticText::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    Invalidate();
}

void CStaticText::Draw(QPainter& dc, const UiRect&)
{
    DrawSkinText(dc, ControlFont, text_, Rect, TextColour,
                 static_cast<unsigned>(Alignment) | kTextVCenter | kTextWordEllipsis);
}

} // namespace vexmo
