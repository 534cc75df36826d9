#pragma once
// The battery gauge: an empty battery filled from the bottom by the level, the charging picture
// filled by the charging level with a lightning bolt, or a full battery with the bolt once
// charged. The owner sets mode and levels and repaints it; it ignores the mouse.

#include "ui/control_base.h"

#include <cstdint>

namespace vexmo {

inline constexpr std::uint32_t kBatteryId = 3406;

inline constexpr int kBatteryOnBattery = 0;
inline constexpr int kBatteryCharging = 1;
inline constexpr int kBatteryCharged = 2;

class CBattery : public CControlBase {
public:
    CBattery(CDlgBase* parent, const UiRect& rect, bool visible = true, bool shown = true);

    void Draw(QPainter& dc, const UiRect& update) override;
    void ReleaseImages() override;

    bool LoadFullImage(const QString& path);
    bool LoadEmptyImage(const QString& path);
    bool LoadChargingImage(const QString& path);
    bool LoadLightningImage(const QString& path);

    // The first client row of the fill for a level in percent (at least one picture row shows).
    int FillTop(int levelPercent) const;

    int BatteryMode = kBatteryOnBattery;
    std::uint8_t BatteryLevel = 100;
    int ChargingLevel = 25;

    // The part of the picture that fills: rows 7..56 of the picture.
    static constexpr int kCellTop = 7;
    static constexpr int kCellHeight = 50;

private:
    void DrawFill(QPainter& dc, const QImage& image, int levelPercent);

    QImage full_;
    QImage empty_;
    QImage charging_;
    QImage lightning_;
};

} // namespace vexmo
