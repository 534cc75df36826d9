#include "ui/power_manage_button.h"

#include "app/core/process_values.h"

namespace vexmo {

namespace {

struct Corner {
    int x;
    int y;
};

// Outer corners of wedges 2..9 in design pixels from the dial's top-left corner; the apex of every
// wedge is (70, 71).
constexpr Corner kApex{70, 71};
constexpr Corner kOuterCorners[8][2] = {
    {{3, 71}, {7, 51}},     {{7, 51}, {17, 32}},   {{17, 32}, {40, 13}},   {{40, 13}, {70, 5}},
    {{70, 5}, {100, 14}},   {{100, 14}, {121, 31}}, {{121, 31}, {131, 51}}, {{131, 51}, {134, 71}},
};

constexpr int kFirstClickableWedge = 2;

} // namespace

CPowerManageButton::CPowerManageButton(CDlgBase* parent, const UiRect& rect, const QString& title, int alignment,
                                       bool visible, bool shown, bool disabled)
    : CControlBase(parent, kPowerManageButtonId, rect, title, visible, shown, disabled, true), Alignment(alignment)
{
    const float s = UiScale;
    const int x0 = rect.left;
    const int y0 = rect.top;
    auto at = [&](const Corner& c) {
        return QPoint(static_cast<int>(static_cast<float>(x0) + static_cast<float>(c.x) * s),
                      static_cast<int>(static_cast<float>(y0) + static_cast<float>(c.y) * s));
    };
    const QPoint apex = at(kApex);
    // Wedges 0 and 1 are slivers that nothing tests.
    for (int k = 0; k < kFirstClickableWedge; ++k)
        wedges_[static_cast<std::size_t>(k)] = QPolygon({QPoint(x0, y0), QPoint(x0 + 1, y0 + 1), apex});
    for (int k = kFirstClickableWedge; k < kPowerLevelCount; ++k) {
        const auto& corners = kOuterCorners[k - kFirstClickableWedge];
        wedges_[static_cast<std::size_t>(k)] = QPolygon({at(corners[0]), at(corners[1]), apex});
    }
    for (std::size_t k = 0; k < wedges_.size(); ++k)
        regions_[k] = QRegion(wedges_[k], Qt::OddEvenFill);
}

bool CPowerManageButton::LoadStripImage(const QString& path)
{
    return LoadImageSlot(strip_, path);
}

bool CPowerManageButton::LoadLevelImage(int level, const QString& path)
{
    if (level < 1 || level > kPowerLevelCount)
        return false;
    return LoadImageSlot(levels_[static_cast<std::size_t>(level - 1)], path);
}

int CPowerManageButton::WedgeAt(const QPoint& point) const
{
    for (int k = kFirstClickableWedge; k < kPowerLevelCount; ++k) {
        if (regions_[static_cast<std::size_t>(k)].contains(point))
            return k;
    }
    return -1;
}

bool CPowerManageButton::OnMouseMove(std::uint32_t, const QPoint& point)
{
    return StandardMouseMove(point);
}

bool CPowerManageButton::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    return StandardLButtonDown(point);
}

bool CPowerManageButton::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    if (Disabled)
        return false;
    const int before = ButtonState;
    if (!Rect.Contains(point)) {
        ButtonState = kStateNormal;
        return ButtonState != before;
    }
    // A release between the wedges changes nothing.
    const int wedge = WedgeAt(point);
    if (wedge < 0)
        return false;
    ButtonState = kStateHover;
    PowerLevel = wedge + 1;
    Notify(NotifyClick);
    return ButtonState != before;
}

void CPowerManageButton::Draw(QPainter& dc, const UiRect&)
{
    if (PowerLevel < 1 || PowerLevel > kPowerLevelCount)
        return;
    DrawImageOver(dc, levels_[static_cast<std::size_t>(PowerLevel - 1)], Rect);
}

void CPowerManageButton::ReleaseImages()
{
    strip_ = QImage();
    for (QImage& image : levels_)
        image = QImage();
}

} // namespace vexmo
