#pragma once
// The semicircular power-saving dial: ten wedges around a common centre, of which wedges 2..9 can
// be clicked and choose levels 3..10. It shows the picture of the chosen level.

#include "ui/control_base.h"

#include <QPolygon>
#include <QRegion>

#include <array>

namespace vexmo {

inline constexpr std::uint32_t kPowerManageButtonId = 3500;
inline constexpr int kPowerLevelCount = 10;

class CPowerManageButton : public CControlBase {
public:
    // The wedges are placed from rect's top-left corner and UiScale at construction.
    CPowerManageButton(CDlgBase* parent, const UiRect& rect, const QString& title = {}, int alignment = 0,
                       bool visible = true, bool shown = true, bool disabled = false);

    void Draw(QPainter& dc, const UiRect& update) override;
    bool OnMouseMove(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonDown(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonUp(std::uint32_t flags, const QPoint& point) override;
    void ReleaseImages() override;

    bool LoadStripImage(const QString& path);
    // The picture of level 1..10.
    bool LoadLevelImage(int level, const QString& path);

    // The wedge (2..9) that holds the point, or -1.
    int WedgeAt(const QPoint& point) const;
    const QPolygon& Wedge(int k) const { return wedges_[static_cast<std::size_t>(k)]; }

    int Alignment;
    // 1..10; the main window uses 3..10 as minutes.
    int PowerLevel = 6;

private:
    QImage strip_;
    std::array<QImage, kPowerLevelCount> levels_;
    std::array<QPolygon, kPowerLevelCount> wedges_;
    std::array<QRegion, kPowerLevelCount> regions_;
};

} // namespace vexmo
