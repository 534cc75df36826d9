#pragma once
// A profile button: shows whether its profile is the current one, makes it current when clicked
// and reports right clicks (the profile action menu).

#include "ui/control_base.h"

namespace vexmo {

inline constexpr std::uint32_t kFirstProfileTabId = 2049;
inline constexpr int kProfileTabCount = 5;

// The current profile index the profile buttons read and set. Until the main window points it at
// its own index the buttons use one of their own (0 at start).
void BindProfileIndex(int* index);
int& ProfileIndexOfTabs();

class CTabControl : public CControlBase {
public:
    CTabControl(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, int alignment = 0,
                bool visible = true, bool shown = true, bool disabled = false);

    void Draw(QPainter& dc, const UiRect& update) override;
    bool OnMouseMove(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonDown(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonUp(std::uint32_t flags, const QPoint& point) override;
    bool OnRButtonUp(std::uint32_t flags, const QPoint& point) override;
    void ReleaseImages() override;

    bool LoadStripImage(const QString& path);
    bool LoadNormalImage(const QString& path);
    bool LoadHoverImage(const QString& path);
    bool LoadSelectedImage(const QString& path);
    bool LoadSelectedHoverImage(const QString& path);

    // 3 (selected, mouse over it) or 2 (selected) for the current profile's button, else
    // ButtonState.
    int FrameIndex() const;

    int Alignment;
    int LeftTextMargin = 0;
    int RightTextMargin = 0;

private:
    QImage strip_;
    QImage images_[4]; // normal, hover, selected, selected-hover
};

} // namespace vexmo
