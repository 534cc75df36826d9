#pragma once
// A two-state button (section headers, on/off boxes): each click toggles Checked. The pressed
// look doubles as the checked look, and a checked button may show a text of its own.

#include "ui/control_base.h"

namespace vexmo {

class CCheckButton : public CControlBase {
public:
    CCheckButton(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, int alignment,
                 bool visible = true, bool shown = true, bool disabled = false);

    void Draw(QPainter& dc, const UiRect& update) override;
    bool OnMouseMove(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonDown(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonUp(std::uint32_t flags, const QPoint& point) override;
    void ReleaseImages() override;

    bool LoadStripImage(const QString& path);
    bool LoadNormalImage(const QString& path);
    bool LoadHoverImage(const QString& path);
    bool LoadPressedImage(const QString& path);

    // Texts that replace the title in the normal and hover looks and in the checked look; an
    // empty text keeps the title as it is.
    void SetTexts(const QString& normalText, const QString& checkedText);

    // 0 normal, 1 hover, 2 pressed or checked.
    int FrameIndex() const;

    bool Checked = false;
    int Alignment;
    int LeftTextMargin = 0;
    int RightTextMargin = 0;
    QString NormalText;
    QString CheckedText;
    ColourRef NormalTextColour = kTextGrey;
    ColourRef HoverTextColour = kTextWhite;
    ColourRef PressedTextColour = kTextYellow;

private:
    QImage strip_;
    QImage normal_;
    QImage hover_;
    QImage pressed_;
};

} // namespace vexmo
