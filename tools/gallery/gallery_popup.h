#pragma once
// A drop-down list as the program's lists draw it: rows from the top on the pop-up background,
// each row the menu image (or the sub-list image for rows that open another list) with its text
// centred, separators as a thin line. The gallery opens one per pop-up kind.

#include "ui/wnd_popup.h"

#include <QImage>
#include <QString>

#include <vector>

namespace vexmo::gallery {

struct PopupRow {
    QString text;
    bool separator = false;
    bool subList = false;
};

class CGalleryPopup : public CWndPopup {
public:
    // `moduleFolder` holds skins/ and ends in '/'.
    CGalleryPopup(int kind, std::vector<PopupRow> rows, const QString& moduleFolder);

    // Size of the list for the current UiScale: 162 wide, as high as its rows plus one.
    QSize ListSize() const;
    // Client rectangle of row `index` (valid after InitUI).
    UiRect RowRect(int index) const;

    void InitUI() override;
    void DrawWindow(QPainter& dc, const UiRect& client) override;
    void DrawItems(QPainter& dc, const UiRect& client) override;
    bool OnMouseMove(int x, int y) override;

    // The row under the mouse; -1 for none.
    int HoverRow = -1;

private:
    std::vector<PopupRow> rows_;
    std::vector<UiRect> rects_;
    QImage rowNormal_;
    QImage rowHover_;
    QImage subNormal_;
    QImage subHover_;
};

} // namespace vexmo::gallery
