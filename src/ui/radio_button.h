#pragma once
// Radio buttons. The choice of each group lives in the process-wide RadioGroupMask (one bit per
// button); the DPI level selectors keep theirs in DPILevelMask, where choosing level k lights
// levels 0..k.

#include "ui/control_base.h"

#include <cstdint>

namespace vexmo {

// Bits of the radio groups: 2031..2033 (0xE000), 3030..3033 (0xF0000), 3510..3511 (0x300000).
// At start 3033 and 3511 are chosen.
extern std::uint32_t RadioGroupMask;
// Low byte: the lit DPI level selectors (bit k for selector 3290 + k). 2 at start.
extern std::uint32_t DPILevelMask;

inline constexpr std::uint32_t kRadioGroupMaskAtStart = 0x00280000;
inline constexpr std::uint32_t kDpiLevelMaskAtStart = 2;
inline constexpr std::uint32_t kFirstDpiSelectorId = 3290;
inline constexpr int kDpiSelectorCount = 8;

// The bit of a radio button and the bits of its group; false for an id in no group.
bool RadioGroupBits(std::uint32_t id, std::uint32_t& bit, std::uint32_t& group);

class CRadioButton : public CControlBase {
public:
    CRadioButton(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title = {},
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

    // 2 when the button's choice is set, else its ButtonState.
    virtual int FrameIndex() const;

protected:
    // Records the choice before the click is reported.
    virtual void Select();
    void DrawFrame(QPainter& dc, int frame);

private:
    QImage strip_;
    QImage normal_;
    QImage hover_;
    QImage pressed_;
};

// One DPI level selector (ids 3290..3297) with the level's value written on top.
class CDPIRadioButton : public CRadioButton {
public:
    CDPIRadioButton(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title = {},
                    bool visible = true, bool shown = true, bool disabled = false);

    void Draw(QPainter& dc, const UiRect& update) override;
    int FrameIndex() const override;

    // The level's step value; the text shows DpiNumber × 50.
    int DpiNumber = 0;
    ColourRef TextColour = kTextGrey;

protected:
    void Select() override;
};

} // namespace vexmo
