#include "ui/radio_button.h"

#include "app/core/process_values.h"

namespace vexmo {

std::uint32_t RadioGroupMask = kRadioGroupMaskAtStart;
std::uint32_t DPILevelMask = kDpiLevelMaskAtStart;

namespace {

struct RadioGroup {
    std::uint32_t firstId;
    std::uint32_t count;
    std::uint32_t firstBit;
    std::uint32_t bits;
};

constexpr RadioGroup kRadioGroups[] = {
    {2031, 3, 0x2000, 0x0000E000},
    {3030, 4, 0x10000, 0x000F0000},
    {3510, 2, 0x100000, 0x00300000},
};

// The top strip of a DPI selector that holds its value, in design pixels.
constexpr int kDpiTextHeight = 11;

} // namespace

bool RadioGroupBits(std::uint32_t id, std::uint32_t& bit, std::uint32_t& group)
{
    for (const RadioGroup& g : kRadioGroups) {
        if (id >= g.firstId && id < g.firstId + g.count) {
            bit = g.firstBit << (id - g.firstId);
            group = g.bits;
            return true;
        }
    }
    return false;
}

CRadioButton::CRadioButton(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, bool visible,
                           bool shown, bool disabled)
    : CControlBase(parent, id, rect, title, visible, shown, disabled, true)
{
}

bool CRadioButton::LoadStripImage(const QString& path)
{
    return LoadImageSlot(strip_, path);
}

bool CRadioButton::LoadNormalImage(const QString& path)
{
    return LoadImageSlot(normal_, path);
}

bool CRadioButton::LoadHoverImage(const QString& path)
{
    return LoadImageSlot(hover_, path);
}

bool CRadioButton::LoadPressedImage(const QString& path)
{
    return LoadImageSlot(pressed_, path);
}

int CRadioButton::FrameIndex() const
{
    std::uint32_t bit = 0, group = 0;
    if (RadioGroupBits(Id, bit, group) && (RadioGroupMask & bit))
        return 2;
    return ButtonState;
}

void CRadioButton::Select()
{
    std::uint32_t bit = 0, group = 0;
    if (RadioGroupBits(Id, bit, group))
        RadioGroupMask = (RadioGroupMask & ~group) | bit;
}

bool CRadioButton::OnMouseMove(std::uint32_t, const QPoint& point)
{
    return StandardMouseMove(point);
}

bool CRadioButton::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    return StandardLButtonDown(point);
}

bool CRadioButton::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    return StandardLButtonUp(point, [this] { Select(); });
}

void CRadioButton::DrawFrame(QPainter& dc, int frame)
{
    if (!strip_.isNull()) {
        DrawImageStretched(dc, strip_, StripFrame(strip_, 3, frame), Rect.ToQRect());
        return;
    }
    const QImage& image = frame == 2 ? pressed_ : frame == 1 ? hover_ : normal_;
    DrawImageOver(dc, image, Rect);
}

void CRadioButton::Draw(QPainter& dc, const UiRect&)
{
    DrawFrame(dc, FrameIndex());
}

void CRadioButton::ReleaseImages()
{
    strip_ = QImage();
    normal_ = QImage();
    hover_ = QImage();
    pressed_ = QImage();
}

CDPIRadioButton::CDPIRadioButton(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title,
                                 bool visible, bool shown, bool disabled)
    : CRadioButton(parent, id, rect, title, visible, shown, disabled)
{
}

int CDPIRadioButton::FrameIndex() const
{
    if (Id >= kFirstDpiSelectorId && Id < kFirstDpiSelectorId + kDpiSelectorCount &&
        (DPILevelMask & (1u << (Id - kFirstDpiSelectorId))))
        return 2;
    return ButtonState;
}

void CDPIRadioButton::Select()
{
    if (Id < kFirstDpiSelectorId || Id >= kFirstDpiSelectorId + kDpiSelectorCount)
        return;
    const std::uint32_t k = Id - kFirstDpiSelectorId;
    const std::uint32_t lit = (1u << (k + 1)) - 1;
    DPILevelMask = (DPILevelMask & ~0xFFu) | lit;
}

void CDPIRadioButton::Draw(QPainter& dc, const UiRect&)
{
    DrawFrame(dc, FrameIndex());
    const UiRect textRect{Rect.left, Rect.top, Rect.right, Rect.top + ScaledLength(kDpiTextHeight, UiScale)};
    DrawSkinText(dc, ControlFont, QString::number(DpiNumber * 50), textRect, TextColour,
                 kTextCenter | kTextSingleLine | kTextWordEllipsis);
}

} // namespace vexmo
