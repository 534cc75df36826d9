#include "ui/tab_control.h"

namespace vexmo {

namespace {

int g_ownProfileIndex = 0;
int* g_profileIndex = &g_ownProfileIndex;

bool IsProfileTab(std::uint32_t id)
{
    return id >= kFirstProfileTabId && id < kFirstProfileTabId + kProfileTabCount;
}

} // namespace

void BindProfileIndex(int* index)
{
    g_profileIndex = index ? index : &g_ownProfileIndex;
}

int& ProfileIndexOfTabs()
{
    return *g_profileIndex;
}

CTabControl::CTabControl(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, int alignment,
                         bool visible, bool shown, bool disabled)
    : CControlBase(parent, id, rect, title, visible, shown, disabled, true), Alignment(alignment)
{
}

bool CTabControl::LoadStripImage(const QString& path)
{
    return LoadImageSlot(strip_, path);
}

bool CTabControl::LoadNormalImage(const QString& path)
{
    return LoadImageSlot(images_[0], path);
}

bool CTabControl::LoadHoverImage(const QString& path)
{
    return LoadImageSlot(images_[1], path);
}

bool CTabControl::LoadSelectedImage(const QString& path)
{
    return LoadImageSlot(images_[2], path);
}

bool CTabControl::LoadSelectedHoverImage(const QString& path)
{
    return LoadImageSlot(images_[3], path);
}

int CTabControl::FrameIndex() const
{
    if (IsProfileTab(Id) && static_cast<int>(Id - kFirstProfileTabId) == ProfileIndexOfTabs())
        return ButtonState != kStateNormal ? 3 : 2;
    return ButtonState;
}

bool CTabControl::OnMouseMove(std::uint32_t, const QPoint& point)
{
    return StandardMouseMove(point);
}

bool CTabControl::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    return StandardLButtonDown(point);
}

bool CTabControl::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    return StandardLButtonUp(point, [this] {
        if (IsProfileTab(Id))
            ProfileIndexOfTabs() = static_cast<int>(Id - kFirstProfileTabId);
    });
}

bool CTabControl::OnRButtonUp(std::uint32_t, const QPoint& point)
{
    if (Disabled || !Rect.Contains(point))
        return false;
    Notify(NotifyRightClick, Id);
    return false;
}

void CTabControl::Draw(QPainter& dc, const UiRect&)
{
    const int frame = FrameIndex();
    if (!strip_.isNull())
        DrawImageStretched(dc, strip_, StripFrame(strip_, 4, frame), Rect.ToQRect());
    else if (frame >= 0 && frame < 4)
        DrawImageOver(dc, images_[frame], Rect);
    DrawSkinText(dc, ControlFont, Title, TextRect(LeftTextMargin, RightTextMargin), kTextGrey,
                 static_cast<unsigned>(Alignment) | kTextSingleLine | kTextVCenter | kTextWordEllipsis);
}

void CTabControl::ReleaseImages()
{
    strip_ = QImage();
    for (QImage& image : images_)
        image = QImage();
}

} // namespace vexmo
