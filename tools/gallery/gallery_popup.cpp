#include "gallery_popup.h"

#include "app/core/process_values.h"
#include "ui/image_loading.h"
#include "ui/skin_paint.h"

namespace vexmo::gallery {

namespace {

constexpr int kListWidth = 162;
constexpr int kRowLeft = 1;
constexpr int kRowRight = 161;
constexpr int kRowHeight = 22;
constexpr int kSeparatorHeight = 4;
constexpr int kSeparatorLine = 2;
constexpr ColourRef kSeparatorColour = 0xDEA035;
// Text inset from the row's sides, in client pixels.
constexpr int kTextInset = 2;

int RowHeight(const PopupRow& row)
{
    return row.separator ? kSeparatorHeight : kRowHeight;
}

} // namespace

CGalleryPopup::CGalleryPopup(int kind, std::vector<PopupRow> rows, const QString& moduleFolder) : rows_(std::move(rows))
{
    PopupKind = kind;
    rowNormal_ = DecodeImageFile(moduleFolder + "skins/menu_nr.png");
    rowHover_ = DecodeImageFile(moduleFolder + "skins/menu_ov.png");
    subNormal_ = DecodeImageFile(moduleFolder + "skins/menusub_nr.png");
    subHover_ = DecodeImageFile(moduleFolder + "skins/menusub_ov.png");
}

QSize CGalleryPopup::ListSize() const
{
    int height = 1;
    for (const PopupRow& row : rows_)
        height += RowHeight(row);
    return {ScaledLength(kListWidth, UiScale), ScaledLength(height, UiScale)};
}

UiRect CGalleryPopup::RowRect(int index) const
{
    if (index < 0 || index >= static_cast<int>(rects_.size()))
        return {};
    return rects_[static_cast<std::size_t>(index)];
}

void CGalleryPopup::InitUI()
{
    const float s = UiScale;
    rects_.clear();
    int top = 0;
    for (const PopupRow& row : rows_) {
        const int bottom = top + RowHeight(row);
        rects_.push_back(
            {ScaledLength(kRowLeft, s), ScaledLength(top, s), ScaledLength(kRowRight, s), ScaledLength(bottom, s)});
        top = bottom;
    }
}

void CGalleryPopup::DrawWindow(QPainter& dc, const UiRect& client)
{
    DrawImageOver(dc, BackgroundImage, client);
    DrawItems(dc, client);
}

void CGalleryPopup::DrawItems(QPainter& dc, const UiRect&)
{
    const float s = UiScale;
    for (std::size_t i = 0; i < rows_.size() && i < rects_.size(); ++i) {
        const PopupRow& row = rows_[i];
        const UiRect& rect = rects_[i];
        if (row.separator) {
            const int y = rect.top + ScaledLength(kSeparatorLine, s);
            FillSolid(dc, {rect.left, y, rect.right, y + 1}, kSeparatorColour);
            continue;
        }
        const bool hovered = static_cast<int>(i) == HoverRow;
        const QImage& image = row.subList ? (hovered ? subHover_ : subNormal_) : (hovered ? rowHover_ : rowNormal_);
        DrawImageOver(dc, image, rect);
        DrawSkinText(dc, PopupFont, row.text, {rect.left + kTextInset, rect.top, rect.right - kTextInset, rect.bottom},
                     hovered ? kTextWhite : kTextGrey,
                     kTextCenter | kTextSingleLine | kTextVCenter | kTextWordEllipsis);
    }
}

bool CGalleryPopup::OnMouseMove(int x, int y)
{
    int hover = -1;
    for (std::size_t i = 0; i < rects_.size(); ++i) {
        if (!rows_[i].separator && rects_[i].Contains(x, y))
            hover = static_cast<int>(i);
    }
    if (hover == HoverRow)
        return false;
    HoverRow = hover;
    return true;
}

} // namespace vexmo::gallery
