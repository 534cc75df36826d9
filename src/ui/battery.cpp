#include "ui/battery.h"

#include "app/core/process_values.h"

#include <algorithm>

namespace vexmo {

CBattery::CBattery(CDlgBase* parent, const UiRect& rect, bool visible, bool shown)
    : CControlBase(parent, kBatteryId, rect, QString(), visible, shown, true, true)
{
}

bool CBattery::LoadFullImage(const QString& path)
{
    return LoadImageSlot(full_, path);
}

bool CBattery::LoadEmptyImage(const QString& path)
{
    return LoadImageSlot(empty_, path);
}

bool CBattery::LoadChargingImage(const QString& path)
{
    return LoadImageSlot(charging_, path);
}

bool CBattery::LoadLightningImage(const QString& path)
{
    return LoadImageSlot(lightning_, path);
}

int CBattery::FillTop(int levelPercent) const
{
    // Levels beyond 100 fill the cell and no more.
    const int level = std::clamp(levelPercent, 0, 100);
    const int filled = std::max(level * kCellHeight / 100, 1);
    const int top = static_cast<int>(static_cast<float>(Rect.top) +
                                     static_cast<float>(kCellTop + kCellHeight - filled) * UiScale);
    return AlignFillTop(top, Rect.bottom, UiScale);
}

void CBattery::DrawFill(QPainter& dc, const QImage& image, int levelPercent)
{
    const float s = UiScale;
    const int top = FillTop(levelPercent);
    const FillRows rows = FillRowsFor(top, Rect.bottom, ImageHeight, s);
    DrawImageStretched(dc, image, QRect(0, rows.sourceRow, ImageWidth, ImageHeight - rows.sourceRow),
                       QRect(Rect.left, top, ScaledLength(ImageWidth, s), rows.targetHeight));
}

void CBattery::Draw(QPainter& dc, const UiRect&)
{
    switch (BatteryMode) {
    case kBatteryOnBattery:
        DrawImageOver(dc, empty_, Rect);
        DrawFill(dc, full_, BatteryLevel);
        break;
    case kBatteryCharging:
        DrawFill(dc, charging_, ChargingLevel);
        DrawImageOver(dc, lightning_, Rect);
        break;
    case kBatteryCharged:
        DrawImageOver(dc, full_, Rect);
        DrawImageOver(dc, lightning_, Rect);
        break;
    default:
        break;
    }
}

void CBattery::ReleaseImages()
{
    full_ = QImage();
    empty_ = QImage();
    charging_ = QImage();
    lightning_ = QImage();
}

} // namespace vexmo
