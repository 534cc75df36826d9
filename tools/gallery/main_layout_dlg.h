#pragma once
// The main window's picture on a plain skinned dialog: every control of the main window's layout
// with its images, captions and start-up state, the window background, the section frames and the
// section placement that the main window repeats on every paint. It has no handlers, settings or
// device behind it; the gallery shows it and the repaint benchmark paints it.

#include "app/core/language_texts.h"
#include "ui/dlg_base.h"

#include <QImage>
#include <QString>

namespace vexmo::gallery {

// Design size of the main window; the client area is this times UiScale.
inline constexpr int kMainWidth = 1127;
inline constexpr int kMainHeight = 740;

class CMainLayoutDlg : public CDlgBase {
public:
    // `moduleFolder` holds skins/ and ends in '/'. The window background comes from the program
    // resources (vexmo::InitResources must have run).
    CMainLayoutDlg(const QString& moduleFolder, const LanguageTable& texts, QWidget* parent = nullptr);

    // Creates the controls for the current UiScale, in the layout's order.
    void InitUI(const UiRect& client) override;
    // Background, frames, section placement, controls and the button-number overlay.
    void DrawWindow(QPainter& dc, const UiRect& client) override;

    // The picture of the mouse shows this button's number (1..9; 0 for none).
    int HoverButtonNumber = 0;
    // Profile buttons shown at the profile list's place (at most 5).
    int ProfileShowCount = 3;

    QString Skin(const QString& relative) const { return moduleFolder_ + relative; }
    QString Text(int index) const;
    int ControlCount() const;

private:
    // The section frame image's top-left 230 × 82 stretched over a design rectangle.
    void DrawFrame(QPainter& dc, int x, int y, int w, int h) const;
    void Place(std::uint32_t id, int left, int top, int right, int bottom);

    QString moduleFolder_;
    const LanguageTable& texts_;
    QImage background_;
    QImage frame_;
    QImage numbers_[10];
};

} // namespace vexmo::gallery
