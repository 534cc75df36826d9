#pragma once
// The gallery: one skinned dialog that holds every control kind in each of its looks, the skin
// pictures, every pop-up kind and the main window, each with a label under it, laid out in
// titled sections for the current UiScale. Rendered off screen into one picture.

#include "app/core/language_texts.h"
#include "ui/dlg_base.h"

#include <QImage>
#include <QString>

#include <memory>
#include <vector>

namespace vexmo::gallery {

// Design width of the gallery; the height follows from its content.
inline constexpr int kGalleryWidth = 1180;

class CGalleryDlg : public CDlgBase {
public:
    // `moduleFolder` holds skins/ and ends in '/'. The program resources must be registered.
    CGalleryDlg(const QString& moduleFolder, const LanguageTable& texts);
    ~CGalleryDlg() override;

    // Builds the content for the current UiScale and sizes the dialog to it.
    void Build();
    void InitUI(const UiRect& client) override;
    void DrawWindow(QPainter& dc, const UiRect& client) override;

private:
    class Flow;

    QString Skin(const QString& relative) const { return moduleFolder_ + relative; }
    QString Text(int index) const;

    // Starts a titled section on a new line.
    void Section(const QString& title);
    // Places a cell whose content is w × h design pixels, with `label` under it; returns the
    // content's client rectangle.
    UiRect Cell(int w, int h, const QString& label);
    // Ends the current line of cells.
    void NewLine();

    void AddCheckButtons();
    void AddRadioButtons();
    void AddImageButtons();
    void AddTabs();
    void AddCombos();
    void AddDials();
    void AddSliders();
    void AddGauges();
    void AddBatteries();
    void AddScrollBars();
    void AddStatics();
    void AddFrames();
    void AddPopups();
    void AddMainWindow();
    // A finished picture (a rendered pop-up or window) as a cell.
    void AddPicture(const QImage& picture, const QString& label);

    QString moduleFolder_;
    const LanguageTable& texts_;
    std::unique_ptr<Flow> flow_;
    // Design y of each section's rule.
    std::vector<int> rules_;
    // Boxes drawn behind labels whose alignment should show (client pixels).
    std::vector<UiRect> boxes_;
    std::uint32_t nextId_ = 100;
};

} // namespace vexmo::gallery
