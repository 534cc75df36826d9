#pragma once
// Decorations: a picture and a text. Neither reacts to the mouse.

#include "ui/control_base.h"

namespace vexmo {

class CStaticImage : public CControlBase {
public:
    CStaticImage(CDlgBase* parent, std::uint32_t id, const UiRect& rect, bool visible = true, bool shown = true);

    void Draw(QPainter& dc, const UiRect& update) override;
    void ReleaseImages() override;

    bool LoadImage(const QString& path);

private:
    QImage image_;
};

// A label. It takes no part in the hover search (MouseResponse clear), so a label lying over
// another control does not hide that control from the mouse.
class CStaticText : public CControlBase {
public:
    CStaticText(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& text,
                ColourRef colour = kTextGrey, int alignment = 0, bool visible = true, bool shown = true);

    // Drawn with the alignment, vertical centring and the ellipsis, but not as a single line:
    // line feeds break the text and it starts at the top.
    void Draw(QPainter& dc, const UiRect& update) override;

    // Replaces the text; repaints when it differs.
    void SetText(const QString& text);
    const QString& Text() const { return text_; }

    ColourRef TextColour;
    int Alignment;

private:
    QString text_;
};

} // namespace vexmo
