#include "main_layout_dlg.h"

#include "app/core/process_values.h"
#include "data/dpi_tables.h"
#include "ui/battery.h"
#include "ui/check_button.h"
#include "ui/combo_button.h"
#include "ui/dpi_value_show_control.h"
#include "ui/image_button.h"
#include "ui/image_loading.h"
#include "ui/power_manage_button.h"
#include "ui/radio_button.h"
#include "ui/slider_control.h"
#include "ui/static_controls.h"
#include "ui/tab_control.h"

#include <array>
#include <memory>

namespace vexmo::gallery {

namespace {

// Control lists of the main window: list 0 always, the section bodies in 1 and 3..6.
constexpr int kListAlways = 0;
constexpr int kListDpi = 1;
constexpr int kListSystem = 3;
constexpr int kListRate = 4;
constexpr int kListLiftOff = 5;
constexpr int kListDebounce = 6;

constexpr std::uint32_t kHeaderDpi = 3001;
constexpr std::uint32_t kHeaderRate = 3004;
constexpr std::uint32_t kHeaderLiftOff = 3011;
constexpr std::uint32_t kHeaderDebounce = 3012;
constexpr std::uint32_t kHeaderSystem = 3003;

// A body control placed relative to its section's origin: (dx1, dy1) - (dx2, dy2).
struct BodyPlace {
    std::uint32_t id;
    int left, top, right, bottom;
};

struct Section {
    std::uint32_t header;
    int bodyHeight;
    std::array<BodyPlace, 8> body;
    int bodyCount;
};

// The four sections below the DPI section, in paint order.
constexpr std::array<Section, 4> kMovedSections = {{
    {kHeaderRate,
     180,
     {{{3142, 88, 83, 173, 101},
       {3143, 88, 83, 173, 101},
       {3144, 88, 83, 173, 101},
       {3145, 88, 83, 173, 101},
       {3030, 59, 20, 131, 92},
       {3031, 59, 92, 131, 164},
       {3032, 131, 92, 203, 164},
       {3033, 131, 20, 203, 92}}},
     8},
    {kHeaderLiftOff,
     85,
     {{{3510, 80, 27, 95, 42}, {3511, 160, 27, 175, 42}, {3520, 64, 47, 111, 65}, {3521, 144, 47, 191, 65}}},
     4},
    {kHeaderDebounce, 85, {{{3531, 42, 42, 187, 45}, {3530, 42, 37, 187, 50}, {3532, 195, 34, 226, 52}}}, 3},
    {kHeaderSystem, 110, {{{3330, 20, 30, 235, 75}}}, 1},
}};

// Where the picture of the mouse shows each button's number (design pixels); 6 has none.
constexpr std::array<QPoint, 10> kNumberPlaces = {
    QPoint(),         QPoint(495, 231), QPoint(608, 231), QPoint(553, 251), QPoint(467, 311),
    QPoint(471, 360), QPoint(),         QPoint(616, 346), QPoint(487, 284), QPoint(487, 284)};

constexpr int kComboYs[9] = {81, 111, 140, 169, 198, 227, 256, 285, 314};
constexpr int kNumberYs[9] = {82, 112, 141, 170, 199, 228, 257, 286, 315};

// Steps of the six shown DPI levels on the start-up sensor's table.
constexpr int kSampleDpiSteps[8] = {6, 14, 22, 30, 38, 41, 41, 41};

UiRect Scaled(int x, int y, int w, int h)
{
    return UiRect::Scaled(x, y, w, h, UiScale);
}

bool IsChecked(const CDlgBase& dlg, std::uint32_t id)
{
    const auto* header = dynamic_cast<const CCheckButton*>(dlg.GetControl(id));
    return header && header->Checked;
}

} // namespace

CMainLayoutDlg::CMainLayoutDlg(const QString& moduleFolder, const LanguageTable& texts, QWidget* parent)
    : CDlgBase(kTemplateMainWindow, parent), moduleFolder_(moduleFolder), texts_(texts)
{
    WindowSize = QSize(ScaledLength(kMainWidth, UiScale), ScaledLength(kMainHeight, UiScale));
    resize(WindowSize);
    LoadImageFromResource(QStringLiteral("BITMAP"), 364, background_);
    SetBackgroundBitmap(background_);
    QSize size;
    LoadBitmapFromFile(Skin(QStringLiteral("skins/Frame_Lighting_Setting.bmp")), frame_, size);
    for (int n = 1; n <= 9; ++n)
        numbers_[n] = DecodeImageFile(Skin(QStringLiteral("skins/mouse/number%1.png").arg(n)));
}

QString CMainLayoutDlg::Text(int index) const
{
    return QString::fromStdU16String(texts_[index]);
}

int CMainLayoutDlg::ControlCount() const
{
    int count = 0;
    for (const auto& list : ControlLists)
        count += static_cast<int>(list.size());
    return count;
}

void CMainLayoutDlg::InitUI(const UiRect&)
{
    const float s = UiScale;
    const QString tahoma = QStringLiteral("Tahoma");

    // Picture of the mouse.
    AddControl(kListAlways, std::make_unique<CStaticImage>(this, 3400, Scaled(457, 171, 215, 398)))
        ->LoadImage(Skin("skins/mouse/mouse_nr.png"));

    // Battery group.
    auto* battery = AddControl(kListAlways, std::make_unique<CBattery>(this, Scaled(80, 433, 30, 61)));
    battery->LoadFullImage(Skin("skins/battery_full.png"));
    battery->LoadEmptyImage(Skin("skins/battery_empty.png"));
    battery->LoadChargingImage(Skin("skins/battery_charging.png"));
    battery->LoadLightningImage(Skin("skins/battery_lighting.png"));
    auto* percent =
        AddControl(kListAlways, std::make_unique<CStaticText>(this, 3405, Scaled(115, 480, 40, 18), "100%"));
    percent->SetFont(ScaledLength(16, s), tahoma);
    const char* dots[3] = {"skins/battery_green.png", "skins/battery_orange.png", "skins/battery_red.png"};
    const int dotYs[3] = {441, 462, 484};
    for (int k = 0; k < 3; ++k)
        AddControl(kListAlways, std::make_unique<CStaticImage>(this, 3401, Scaled(165, dotYs[k], 8, 8)))
            ->LoadImage(Skin(dots[k]));
    // The legend texts come from the device status later; samples stand in for them.
    const char* legends[3] = {"over 50%", "20% to 50%", "below 20%"};
    const int legendYs[3] = {439, 460, 482};
    for (int k = 0; k < 3; ++k)
        AddControl(kListAlways,
                   std::make_unique<CStaticText>(this, 3402, Scaled(180, legendYs[k], 140, 18), legends[k]));

    // Power-saving dial with its value and the wake-up box.
    auto* dial = AddControl(kListAlways, std::make_unique<CPowerManageButton>(this, Scaled(81, 550, 140, 84)));
    for (int level = 3; level <= 10; ++level)
        dial->LoadLevelImage(level, Skin(QStringLiteral("skins/power_manage_%1min.png").arg(level)));
    AddControl(kListAlways, std::make_unique<CStaticText>(this, 3407, Scaled(36, 640, 230, 18),
                                                          Text(266) + QString::number(dial->PowerLevel) + Text(267),
                                                          kTextGrey, kTextCenter));
    auto* wake = AddControl(kListAlways, std::make_unique<CCheckButton>(this, 3504, Scaled(50, 678, 15, 15), "", 0));
    wake->LoadNormalImage(Skin("skins/check_nr.png"));
    wake->LoadHoverImage(Skin("skins/check_ov.png"));
    wake->LoadPressedImage(Skin("skins/check_dn.png"));
    wake->Checked = true;
    AddControl(kListAlways, std::make_unique<CStaticText>(this, 3402, Scaled(70, 678, 200, 18), Text(274)));

    // Window buttons.
    auto* exitButton =
        AddControl(kListAlways, std::make_unique<CImageButton>(this, 2001, Scaled(1092, 12, 15, 15), ""));
    exitButton->LoadNormalImage(Skin("skins/exit_nr.png"));
    exitButton->LoadHoverImage(Skin("skins/exit_ov.png"));
    auto* minButton = AddControl(kListAlways, std::make_unique<CImageButton>(this, 2002, Scaled(1072, 12, 15, 15), ""));
    minButton->LoadNormalImage(Skin("skins/min_nr.png"));
    minButton->LoadHoverImage(Skin("skins/min_ov.png"));

    // Button numbers and the button assignment combos.
    for (int k = 0; k < 9; ++k) {
        auto* number =
            AddControl(kListAlways, std::make_unique<CStaticImage>(this, 3400, Scaled(52, kNumberYs[k], 21, 19)));
        number->LoadImage(Skin(QStringLiteral("skins/mouse/serial_number%1.png").arg(k + 1)));
        number->SetShown(k < 6);
    }
    const int defaultNames[9] = {20, 21, 22, 23, 24, 34, 34, 34, 34};
    for (int k = 0; k < 9; ++k) {
        const std::uint32_t id = 2013 + static_cast<std::uint32_t>(k);
        auto* combo =
            AddControl(kListAlways, std::make_unique<CComboButton>(this, 1028, id, Scaled(82, kComboYs[k], 162, 21),
                                                                   Text(defaultNames[k]), kTextCenter, true, k < 6,
                                                                   id == 2018, "Disable"));
        combo->LoadNormalImage(Skin("skins/combo2_nr.png"));
        combo->LoadHoverImage(Skin("skins/combo2_ov.png"));
    }
    auto* macroManager = AddControl(
        kListAlways, std::make_unique<CImageButton>(this, 2062, Scaled(36, 320, 230, 25), Text(8), kTextCenter));
    macroManager->LoadNormalImage(Skin("skins/button1_nr.png"));
    macroManager->LoadHoverImage(Skin("skins/button1_ov.png"));

    // Profile buttons: hidden until the profile list shows and places them.
    for (int k = 0; k < kProfileTabCount; ++k) {
        auto* tab = AddControl(kListAlways,
                               std::make_unique<CTabControl>(this, kFirstProfileTabId + static_cast<std::uint32_t>(k),
                                                             Scaled(50, 480 + 25 * k, 162, 21),
                                                             QStringLiteral("Profile %1").arg(k + 1)));
        tab->LeftTextMargin = 6;
        tab->LoadNormalImage(Skin("skins/profile_slot_nr.png"));
        tab->LoadHoverImage(Skin("skins/profile_slot_ov.png"));
        tab->LoadSelectedImage(Skin("skins/profile_slot_nr2.png"));
        tab->LoadSelectedHoverImage(Skin("skins/profile_slot_ov2.png"));
        tab->SetShown(k < ProfileShowCount);
    }

    // Section titles of the left column and section headers of the right one.
    auto addHeader = [&](std::uint32_t id, int x, int y, int w, int caption, const char* normal, const char* checked) {
        auto* header =
            AddControl(kListAlways, std::make_unique<CCheckButton>(this, id, Scaled(x, y, w, 25), Text(caption), 0));
        header->LoadNormalImage(Skin(normal));
        header->LoadHoverImage(Skin(normal));
        header->LoadPressedImage(Skin(checked));
        header->PressedTextColour = kTextWhite;
        return header;
    };
    addHeader(3008, 36, 37, 230, 9, "skins/header2_nr.png", "skins/header2_ov.png")->Disabled = true;
    addHeader(3007, 36, 398, 230, 15, "skins/header2_nr.png", "skins/header2_ov.png")->Disabled = true;
    addHeader(3010, 36, 525, 230, 265, "skins/header2_nr.png", "skins/header2_ov.png")->Disabled = true;
    addHeader(kHeaderDpi, 846, 37, 262, 11, "skins/header_nr.png", "skins/header_ov.png")->Checked = true;
    addHeader(kHeaderRate, 719, 97, 262, 13, "skins/header_nr.png", "skins/header_ov.png")->Checked = true;
    addHeader(kHeaderLiftOff, 719, 127, 262, 19, "skins/header_nr.png", "skins/header_ov.png")->SetShown(false);
    addHeader(kHeaderDebounce, 719, 157, 262, 272, "skins/header_nr.png", "skins/header_ov.png");
    addHeader(kHeaderSystem, 719, 187, 262, 14, "skins/header_nr.png", "skins/header_ov.png");

    // Bottom bar.
    auto* reset = AddControl(
        kListAlways, std::make_unique<CImageButton>(this, 2045, Scaled(1040, 700, 69, 20), Text(7), kTextCenter));
    reset->LoadNormalImage(Skin("skins/button2_nr.png"));
    reset->LoadHoverImage(Skin("skins/button2_ov.png"));
    auto* profiles = AddControl(
        kListAlways, std::make_unique<CImageButton>(this, 3502, Scaled(36, 700, 69, 20), Text(1), kTextCenter));
    profiles->LoadNormalImage(Skin("skins/button2_nr.png"));
    profiles->LoadHoverImage(Skin("skins/button2_ov.png"));
    AddControl(kListAlways, std::make_unique<CStaticText>(this, 3021, Scaled(150, 702, 210, 18), Text(3) + ":1.1.3"));

    // DPI levels.
    const DpiTables& dpi = CurrentDpiTables();
    for (int k = 0; k < 8; ++k) {
        const bool shown = k < 6;
        auto* on = AddControl(kListDpi, std::make_unique<CCheckButton>(this, 3260 + static_cast<std::uint32_t>(k),
                                                                       Scaled(881 + 36 * k, 226, 11, 11), "", 0));
        on->LoadNormalImage(Skin("skins/check_button_dpi_nr.png"));
        on->LoadHoverImage(Skin("skins/check_button_dpi_ov.png"));
        on->LoadPressedImage(Skin("skins/check_button_dpi_dn.png"));
        on->Checked = k != 4;
        on->SetShown(shown);
    }
    for (int k = 0; k < 8; ++k) {
        auto* gauge =
            AddControl(kListDpi, std::make_unique<CDPIValueShowControl>(
                                     this, 3300 + static_cast<std::uint32_t>(k), Scaled(883 + 36 * k, 75, 7, 132),
                                     dpi.DpiStepCount(), ScaledLength(12, s), ScaledLength(12, s)));
        gauge->LoadBackgroundImage(Skin("skins/mouse/dpi_bar_1.png"));
        gauge->LoadFillImage(Skin("skins/mouse/dpi_bar_2.png"));
        gauge->GaugeValue = kSampleDpiSteps[k];
        gauge->SetShown(k < 6);
    }
    for (int k = 0; k < 8; ++k) {
        auto* level = AddControl(
            kListDpi, std::make_unique<CDPIRadioButton>(this, kFirstDpiSelectorId + static_cast<std::uint32_t>(k),
                                                        Scaled(874 + 36 * k, 212, 26, 11)));
        for (auto load :
             {&CDPIRadioButton::LoadNormalImage, &CDPIRadioButton::LoadHoverImage, &CDPIRadioButton::LoadPressedImage})
            (level->*load)(Skin("skins/dpi_value.png"));
        level->SetFont(ScaledLength(11, s), tahoma);
        level->DpiNumber = dpi.DpiValueTable(kSampleDpiSteps[k]);
        level->SetShown(k < 6);
    }

    // System mouse settings.
    auto* system = AddControl(
        kListSystem, std::make_unique<CImageButton>(this, 3330, Scaled(789, 219, 215, 45), Text(260), kTextCenter));
    system->LoadNormalImage(Skin("skins/button4_nr.png"));
    system->LoadHoverImage(Skin("skins/button4_nr.png"));

    // Report rate.
    const char* rates[4] = {"125hz", "250hz", "500hz", "1000hz"};
    for (int k = 0; k < 4; ++k) {
        auto* rate = AddControl(kListRate, std::make_unique<CRadioButton>(this, 3030 + static_cast<std::uint32_t>(k),
                                                                          Scaled(737 + 59 * k, 138, 72, 72)));
        rate->LoadNormalImage(Skin(QStringLiteral("skins/%1_nr.png").arg(rates[k])));
        rate->LoadHoverImage(Skin(QStringLiteral("skins/%1_dn.png").arg(rates[k])));
        rate->LoadPressedImage(Skin(QStringLiteral("skins/%1_dn.png").arg(rates[k])));
    }
    for (int k = 0; k < 4; ++k)
        AddControl(kListRate, std::make_unique<CStaticText>(this, 3142 + static_cast<std::uint32_t>(k),
                                                            Scaled(737 + 59 * k, 152, 47, 18), Text(261 + k), kTextGrey,
                                                            kTextCenter))
            ->SetShown(false);

    // Lift-off distance.
    for (int k = 0; k < 2; ++k) {
        auto* height =
            AddControl(kListLiftOff, std::make_unique<CRadioButton>(this, 3510 + static_cast<std::uint32_t>(k),
                                                                    Scaled(737 + 59 * k, 168, 15, 15)));
        height->LoadNormalImage(Skin("skins/radio_nr.png"));
        height->LoadHoverImage(Skin("skins/radio_ov.png"));
        height->LoadPressedImage(Skin("skins/radio_dn.png"));
    }
    for (int k = 0; k < 2; ++k)
        AddControl(kListLiftOff, std::make_unique<CStaticText>(this, 3520 + static_cast<std::uint32_t>(k),
                                                               Scaled(737 + 59 * k, 182, 47, 18), Text(270 + k),
                                                               kTextGrey, kTextCenter));

    // Key debounce: track, slider and its value.
    AddControl(kListDebounce, std::make_unique<CStaticImage>(this, 3531, Scaled(761, 224, 145, 3)))
        ->LoadImage(Skin("skins/Slider_bar.png"));
    auto* debounce =
        AddControl(kListDebounce, std::make_unique<CSliderControl>(this, 3530, Scaled(888, 219, 145, 13), 16,
                                                                   ScaledLength(6, s), ScaledLength(7, s)));
    debounce->LoadThumbImage(Skin("skins/Slider_Circle.png"));
    debounce->SetStepIndex(6);
    auto* debounceValue = AddControl(kListDebounce, std::make_unique<CStaticText>(this, 3532, Scaled(914, 216, 31, 18),
                                                                                  "12ms", kTextGrey, kTextVCenter));
    debounceValue->SetFont(ScaledLength(16, s), tahoma);

    SetListVisible(kListDpi, true);
    SetListVisible(kListRate, true);
    SetListVisible(kListSystem, false);
    SetListVisible(kListLiftOff, false);
    SetListVisible(kListDebounce, false);
}

void CMainLayoutDlg::Place(std::uint32_t id, int left, int top, int right, int bottom)
{
    CControlBase* control = GetControl(id);
    if (!control)
        return;
    const float s = UiScale;
    control->SetControlRect(
        {ScaledLength(left, s), ScaledLength(top, s), ScaledLength(right, s), ScaledLength(bottom, s)});
}

void CMainLayoutDlg::DrawFrame(QPainter& dc, int x, int y, int w, int h) const
{
    if (frame_.isNull())
        return;
    DrawImageStretched(dc, frame_, QRect(0, 0, 230, 82), Scaled(x, y, w, h).ToQRect());
}

void CMainLayoutDlg::DrawWindow(QPainter& dc, const UiRect& client)
{
    const float s = UiScale;
    FillSolid(dc, client, BackgroundColour);

    // Profile buttons at the profile list's place.
    for (int k = 0; k < ProfileShowCount && k < kProfileTabCount; ++k)
        Place(kFirstProfileTabId + static_cast<std::uint32_t>(k), 300, 480 + 25 * k, 462, 501 + 25 * k);

    DrawImageStretched(dc, background_, background_.rect(),
                       QRect(0, 0, ScaledLength(kMainWidth, s), ScaledLength(kMainHeight, s)));
    DrawFrame(dc, 36, 62, 230, 205);
    DrawFrame(dc, 36, 311, 230, 43);
    DrawFrame(dc, 36, 423, 230, 82);
    DrawFrame(dc, 36, 550, 230, 146);
    if (IsChecked(*this, kHeaderDpi))
        DrawFrame(dc, 846, 62, 262, 196);

    // The sections below the DPI levels move down by the height of every open section above them.
    const bool highResolution = CurrentDpiTables().HighResolutionTable();
    const int d = IsChecked(*this, kHeaderDpi) ? 196 : 0;
    const int p = IsChecked(*this, kHeaderRate) ? 180 : 0;
    const int f = IsChecked(*this, kHeaderLiftOff) ? 85 : 0;
    const int b = IsChecked(*this, kHeaderDebounce) ? 85 : 0;
    const int x = 846;
    for (const Section& section : kMovedSections) {
        CControlBase* header = GetControl(section.header);
        if (!header)
            continue;
        int y0 = 0;
        switch (section.header) {
        case kHeaderRate:
            y0 = 67 + d;
            break;
        case kHeaderLiftOff:
            if (!highResolution) {
                header->SetShown(false);
                continue;
            }
            y0 = 97 + d + p;
            break;
        case kHeaderDebounce:
            y0 = (highResolution ? 127 : 97) + d + p + f;
            break;
        default:
            y0 = (highResolution ? 157 : 127) + d + p + f + b;
            break;
        }
        Place(section.header, x, y0, x + 262, y0 + 25);
        const int y = y0 + 25;
        if (IsChecked(*this, section.header))
            DrawFrame(dc, x, y, 262, section.bodyHeight);
        for (int i = 0; i < section.bodyCount; ++i) {
            const BodyPlace& place = section.body[static_cast<std::size_t>(i)];
            Place(place.id, x + place.left, y + place.top, x + place.right, y + place.bottom);
            if (auto* slider = dynamic_cast<CSliderControl*>(GetControl(place.id)))
                slider->SetStepIndex(slider->StepIndex);
        }
    }

    DrawControls(dc, client);

    if (HoverButtonNumber > 0 && HoverButtonNumber < 10) {
        const QImage& number = numbers_[HoverButtonNumber];
        const QPoint at = kNumberPlaces[static_cast<std::size_t>(HoverButtonNumber)];
        if (!number.isNull() && !at.isNull())
            DrawImageStretched(dc, number, number.rect(),
                               QRect(ScaledLength(at.x(), s), ScaledLength(at.y(), s), ScaledLength(number.width(), s),
                                     ScaledLength(number.height(), s)));
    }
}

} // namespace vexmo::gallery
