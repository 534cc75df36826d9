#include "gallery_dlg.h"

#include "gallery_popup.h"
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
#include "ui/ui_font.h"
#include "ui/vscroll_bar.h"

#include <algorithm>
#include <array>

namespace vexmo::gallery {

namespace {

constexpr ColourRef kRuleColour = 0x404040;
constexpr ColourRef kBoxColour = 0x141414;
constexpr ColourRef kTitleColour = 0xFFFFFF;
constexpr ColourRef kLabelColour = 0xA0A0A0;

// Looks a control is put in through its own mouse handlers and flags.
enum Look { kNormal, kHover, kPressed, kChecked, kCheckedHover, kDisabled };

const char* LookName(Look look)
{
    switch (look) {
    case kNormal:
        return "normal";
    case kHover:
        return "hover";
    case kPressed:
        return "pressed";
    case kChecked:
        return "checked";
    case kCheckedHover:
        return "checked + hover";
    case kDisabled:
        return "disabled";
    }
    return "";
}

QPoint Centre(const UiRect& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The mouse comes to rest over the control, or presses it there.
void Hover(CControlBase& control)
{
    control.OnMouseMove(0, Centre(control.Rect));
}

void Press(CControlBase& control)
{
    Hover(control);
    control.OnLButtonDown(kMkLButton, Centre(control.Rect));
}

// Hover, press and disable by the look; the checked looks are the owner's flag.
void Apply(CControlBase& control, Look look)
{
    if (look == kHover || look == kCheckedHover)
        Hover(control);
    else if (look == kPressed)
        Press(control);
    else if (look == kDisabled)
        control.Disabled = true;
}

// A finished picture drawn pixel for pixel.
class CPicture : public CControlBase {
public:
    CPicture(CDlgBase* parent, const UiRect& rect, const QImage& image)
        : CControlBase(parent, 0, rect, QString(), true, true, true, false), image_(image)
    {
    }
    void Draw(QPainter& dc, const UiRect&) override { dc.drawImage(QPoint(Rect.left, Rect.top), image_); }

private:
    QImage image_;
};

} // namespace

// Cells placed left to right in design pixels, a new line when the width is used up.
class CGalleryDlg::Flow {
public:
    static constexpr int kMargin = 20;
    static constexpr int kGap = 14;
    static constexpr int kLineGap = 14;
    static constexpr int kMinCellWidth = 100;
    static constexpr int kLabelGap = 4;
    static constexpr int kLabelHeight = 28;

    QPoint Place(int w, int h)
    {
        if (x_ + w > kGalleryWidth - kMargin && x_ > kMargin)
            NewLine();
        const QPoint at(x_, y_);
        x_ += w + kGap;
        lineHeight_ = std::max(lineHeight_, h);
        return at;
    }
    void NewLine()
    {
        if (lineHeight_ > 0)
            y_ += lineHeight_ + kLineGap;
        x_ = kMargin;
        lineHeight_ = 0;
    }
    void Skip(int h) { y_ += h; }
    int Y() const { return y_; }

private:
    int x_ = kMargin;
    int y_ = kMargin;
    int lineHeight_ = 0;
};

CGalleryDlg::CGalleryDlg(const QString& moduleFolder, const LanguageTable& texts)
    : CDlgBase(kTemplateMainWindow), moduleFolder_(moduleFolder), texts_(texts), flow_(std::make_unique<Flow>())
{
    QImage background;
    if (LoadImageFromResource(QStringLiteral("BITMAP"), 364, background))
        SetBackgroundBitmap(background);
}

CGalleryDlg::~CGalleryDlg() = default;

QString CGalleryDlg::Text(int index) const
{
    return QString::fromStdU16String(texts_[index]);
}

void CGalleryDlg::Build()
{
    const float s = UiScale;
    const int width = ScaledLength(kGalleryWidth, s);
    resize(width, 100);
    InitUIOnce({0, 0, width, 100});
    resize(width, ScaledLength(flow_->Y() + Flow::kMargin, s));
}

void CGalleryDlg::Section(const QString& title)
{
    const float s = UiScale;
    NewLine();
    flow_->Skip(6);
    const int y = flow_->Y();
    auto* text =
        AddControl(0, std::make_unique<CStaticText>(
                          this, nextId_++, UiRect::Scaled(Flow::kMargin, y, kGalleryWidth - 2 * Flow::kMargin, 20, s),
                          title, kTitleColour, kTextVCenter));
    text->ControlFont = MakeSkinFont(QStringLiteral("Tahoma"), ScaledLength(15, s), QFont::Bold);
    rules_.push_back(y + 22);
    flow_->Skip(30);
}

UiRect CGalleryDlg::Cell(int w, int h, const QString& label)
{
    const float s = UiScale;
    const int cellWidth = std::max(w, Flow::kMinCellWidth);
    const QPoint at = flow_->Place(cellWidth, h + Flow::kLabelGap + Flow::kLabelHeight);
    auto* text = AddControl(0, std::make_unique<CStaticText>(this, nextId_++,
                                                             UiRect::Scaled(at.x(), at.y() + h + Flow::kLabelGap,
                                                                            cellWidth, Flow::kLabelHeight, s),
                                                             label, kLabelColour, kTextCenter));
    text->ControlFont = MakeSkinFont(QStringLiteral("Tahoma"), ScaledLength(11, s));
    return UiRect::Scaled(at.x() + (cellWidth - w) / 2, at.y(), w, h, s);
}

void CGalleryDlg::NewLine()
{
    flow_->NewLine();
}

void CGalleryDlg::InitUI(const UiRect&)
{
    const float s = UiScale;
    auto* title = AddControl(
        0, std::make_unique<CStaticText>(this, nextId_++, UiRect::Scaled(Flow::kMargin, Flow::kMargin, 900, 26, s),
                                         QStringLiteral("Skin gallery at UiScale %1").arg(static_cast<double>(s)),
                                         kTitleColour, kTextVCenter));
    title->ControlFont = MakeSkinFont(QStringLiteral("Tahoma"), ScaledLength(20, s), QFont::Bold);
    flow_->Skip(30);

    AddCheckButtons();
    AddRadioButtons();
    AddImageButtons();
    AddTabs();
    AddCombos();
    AddDials();
    AddSliders();
    AddGauges();
    AddBatteries();
    AddScrollBars();
    AddStatics();
    AddFrames();
    AddPopups();
    AddMainWindow();
    NewLine();
}

void CGalleryDlg::AddCheckButtons()
{
    Section(QStringLiteral("Check buttons (CCheckButton)"));
    struct Kind {
        const char* name;
        int w, h;
        const char *normal, *hover, *pressed;
        QString title;
        int alignment;
        // Section headers draw their pressed and checked text white.
        bool whiteWhenPressed;
        // The record button shows one text while off and another while recording.
        bool recordTexts;
        std::vector<Look> looks;
    };
    const std::vector<Kind> kinds = {
        {"check",
         15,
         15,
         "check_nr",
         "check_ov",
         "check_dn",
         {},
         0,
         false,
         false,
         {kNormal, kHover, kPressed, kChecked, kCheckedHover, kDisabled}},
        {"check at 11 × 11", 11, 11, "check_nr", "check_ov", "check_dn", {}, 0, false, false, {kNormal, kChecked}},
        {"DPI level on",
         11,
         11,
         "check_button_dpi_nr",
         "check_button_dpi_ov",
         "check_button_dpi_dn",
         {},
         0,
         false,
         false,
         {kNormal, kHover, kChecked}},
        {"header",
         262,
         25,
         "header_nr",
         "header_nr",
         "header_ov",
         Text(11),
         0,
         true,
         false,
         {kNormal, kHover, kPressed, kChecked}},
        {"header2", 230, 25, "header2_nr", "header2_nr", "header2_ov", Text(9), 0, true, false, {kNormal, kChecked}},
        {"record",
         90,
         18,
         "macro_record_nr",
         "macro_record_nr",
         "macro_record_dn",
         {},
         kTextCenter,
         false,
         true,
         {kNormal, kHover, kChecked}},
    };
    for (const Kind& kind : kinds) {
        for (Look look : kind.looks) {
            const UiRect rect = Cell(kind.w, kind.h, QStringLiteral("%1\n%2").arg(kind.name, LookName(look)));
            auto* button =
                AddControl(0, std::make_unique<CCheckButton>(this, nextId_++, rect, kind.title, kind.alignment));
            button->LoadNormalImage(Skin(QStringLiteral("skins/%1.png").arg(kind.normal)));
            button->LoadHoverImage(Skin(QStringLiteral("skins/%1.png").arg(kind.hover)));
            button->LoadPressedImage(Skin(QStringLiteral("skins/%1.png").arg(kind.pressed)));
            if (kind.whiteWhenPressed)
                button->PressedTextColour = kTextWhite;
            if (kind.recordTexts)
                button->SetTexts(Text(198), Text(199));
            button->Checked = look == kChecked || look == kCheckedHover;
            Apply(*button, look);
        }
    }
}

void CGalleryDlg::AddRadioButtons()
{
    Section(QStringLiteral("Radio buttons (CRadioButton) and DPI selectors (CDPIRadioButton)"));
    // The selected looks come from the choice masks: every button of the report-rate group and
    // lift-off button 3511 chosen, DPI levels 1 to 4 lit. Buttons outside the groups show their
    // mouse state only.
    RadioGroupMask = 0x000F0000 | 0x00200000;
    DPILevelMask = 0x0F;

    auto radio = [&](std::uint32_t id, int w, int h, const QString& nr, const QString& ov, const QString& dn,
                     const QString& label, Look look) {
        auto* button = AddControl(0, std::make_unique<CRadioButton>(this, id, Cell(w, h, label)));
        button->LoadNormalImage(Skin(nr));
        button->LoadHoverImage(Skin(ov));
        button->LoadPressedImage(Skin(dn));
        Apply(*button, look);
    };
    for (Look look : {kNormal, kHover, kPressed})
        radio(nextId_++, 15, 15, "skins/radio_nr.png", "skins/radio_ov.png", "skins/radio_dn.png",
              QStringLiteral("radio\n%1").arg(LookName(look)), look);
    radio(3511, 15, 15, "skins/radio_nr.png", "skins/radio_ov.png", "skins/radio_dn.png", "radio\nselected", kNormal);
    NewLine();

    const char* rates[4] = {"125hz", "250hz", "500hz", "1000hz"};
    for (int k = 0; k < 4; ++k) {
        const QString nr = QStringLiteral("skins/%1_nr.png").arg(rates[k]);
        const QString dn = QStringLiteral("skins/%1_dn.png").arg(rates[k]);
        radio(nextId_++, 72, 72, nr, dn, dn, QStringLiteral("%1\nnormal").arg(rates[k]), kNormal);
        radio(nextId_++, 72, 72, nr, dn, dn, QStringLiteral("%1\nhover").arg(rates[k]), kHover);
        radio(3030 + static_cast<std::uint32_t>(k), 72, 72, nr, dn, dn, QStringLiteral("%1\nselected").arg(rates[k]),
              kNormal);
    }
    NewLine();

    const DpiTables& dpi = CurrentDpiTables();
    const int steps[8] = {2, 6, 14, 22, 30, 38, 40, 41};
    for (int k = 0; k < kDpiSelectorCount; ++k) {
        const bool lit = (DPILevelMask >> k) & 1u;
        auto* level =
            AddControl(0, std::make_unique<CDPIRadioButton>(
                              this, kFirstDpiSelectorId + static_cast<std::uint32_t>(k),
                              Cell(26, 11, QStringLiteral("level %1\n%2").arg(k + 1).arg(lit ? "lit" : "unlit"))));
        for (auto load :
             {&CDPIRadioButton::LoadNormalImage, &CDPIRadioButton::LoadHoverImage, &CDPIRadioButton::LoadPressedImage})
            (level->*load)(Skin("skins/dpi_value.png"));
        level->SetFont(ScaledLength(11, UiScale), QStringLiteral("Tahoma"));
        level->DpiNumber = dpi.DpiValueTable(steps[k]);
    }
}

void CGalleryDlg::AddImageButtons()
{
    Section(QStringLiteral("Image buttons (CImageButton)"));
    struct Kind {
        const char* name;
        int w, h;
        QString title;
        const char *normal, *hover;
        std::vector<Look> looks;
    };
    const std::vector<Kind> kinds = {
        {"exit", 15, 15, {}, "exit_nr", "exit_ov", {kNormal, kHover, kPressed}},
        {"min", 15, 15, {}, "min_nr", "min_ov", {kNormal, kHover, kPressed}},
        {"button2", 69, 20, Text(7), "button2_nr", "button2_ov", {kNormal, kHover, kPressed, kDisabled}},
        {"button2 at 65 × 23", 65, 23, Text(4), "button2_nr", "button2_ov", {kNormal, kHover}},
        {"button1", 230, 25, Text(8), "button1_nr", "button1_ov", {kNormal, kHover, kPressed}},
        {"button4", 215, 45, Text(260), "button4_nr", "button4_nr", {kNormal, kHover}},
    };
    for (const Kind& kind : kinds) {
        for (Look look : kind.looks) {
            auto* button = AddControl(
                0, std::make_unique<CImageButton>(
                       this, nextId_++, Cell(kind.w, kind.h, QStringLiteral("%1\n%2").arg(kind.name, LookName(look))),
                       kind.title, kTextCenter));
            button->LoadNormalImage(Skin(QStringLiteral("skins/%1.png").arg(kind.normal)));
            button->LoadHoverImage(Skin(QStringLiteral("skins/%1.png").arg(kind.hover)));
            Apply(*button, look);
        }
    }
}

void CGalleryDlg::AddTabs()
{
    Section(QStringLiteral("Profile buttons (CTabControl)"));
    ProfileIndexOfTabs() = 0; // the first profile button is the current profile's
    struct Cell_ {
        std::uint32_t id;
        Look look;
        const char* label;
    };
    const Cell_ cells[] = {
        {2050, kNormal, "normal"},          {2050, kHover, "hover"},           {2050, kPressed, "pressed"},
        {2049, kNormal, "current profile"}, {2049, kHover, "current + hover"},
    };
    for (const Cell_& c : cells) {
        auto* tab = AddControl(
            0, std::make_unique<CTabControl>(this, c.id, Cell(162, 21, QStringLiteral("profile_slot\n%1").arg(c.label)),
                                             QStringLiteral("Profile %1").arg(c.id - kFirstProfileTabId + 1)));
        tab->LeftTextMargin = 6;
        tab->LoadNormalImage(Skin("skins/profile_slot_nr.png"));
        tab->LoadHoverImage(Skin("skins/profile_slot_ov.png"));
        tab->LoadSelectedImage(Skin("skins/profile_slot_nr2.png"));
        tab->LoadSelectedHoverImage(Skin("skins/profile_slot_ov2.png"));
        Apply(*tab, c.look);
    }
}

void CGalleryDlg::AddCombos()
{
    Section(QStringLiteral("Combo buttons (CComboButton)"));
    enum Extra { kNone, kHeld, kLocked, kLockedHover, kDisableText };
    struct Cell_ {
        Look look;
        Extra extra;
        const char* label;
    };
    const Cell_ cells[] = {
        {kNormal, kNone, "normal"},     {kHover, kNone, "hover"},
        {kPressed, kNone, "pressed"},   {kNormal, kHeld, "held open"},
        {kNormal, kLocked, "locked"},   {kPressed, kLockedHover, "locked, pressed"},
        {kDisabled, kNone, "disabled"}, {kNormal, kDisableText, "ShowDisableText"},
    };
    auto combo = [&](int w, int h, const char* name, const QString& value, const Cell_& c) {
        auto* button = AddControl(0, std::make_unique<CComboButton>(
                                         this, 1028, nextId_++, Cell(w, h, QStringLiteral("%1\n%2").arg(name, c.label)),
                                         QString(), kTextCenter, true, true, false, value));
        button->LoadNormalImage(Skin(QStringLiteral("skins/%1_nr.png").arg(name)));
        button->LoadHoverImage(Skin(QStringLiteral("skins/%1_ov.png").arg(name)));
        button->HeldOpen = c.extra == kHeld;
        button->Locked = c.extra == kLocked || c.extra == kLockedHover;
        button->ShowDisableText = c.extra == kDisableText;
        Apply(*button, c.look);
    };
    for (const Cell_& c : cells)
        combo(162, 21, "combo2", Text(20), c);
    NewLine();
    for (const Cell_& c : {cells[0], cells[1], cells[3]})
        combo(117, 14, "combo3", Text(197), c);
}

void CGalleryDlg::AddDials()
{
    Section(QStringLiteral("Power-saving dial (CPowerManageButton)"));
    for (int level = 3; level <= 10; ++level) {
        auto* dial = AddControl(0, std::make_unique<CPowerManageButton>(
                                       this, Cell(140, 84, QStringLiteral("power_manage\nlevel %1").arg(level))));
        for (int l = 3; l <= 10; ++l)
            dial->LoadLevelImage(l, Skin(QStringLiteral("skins/power_manage_%1min.png").arg(l)));
        dial->PowerLevel = level;
    }
}

void CGalleryDlg::AddSliders()
{
    Section(QStringLiteral("Slider (CSliderControl) on its track (CStaticImage)"));
    const float s = UiScale;
    auto slider = [&](const QString& label) {
        const UiRect rect = Cell(145, 13, label);
        AddControl(0, std::make_unique<CStaticImage>(
                          this, nextId_++,
                          UiRect{rect.left, rect.top + ScaledLength(5, s), rect.right, rect.top + ScaledLength(8, s)}))
            ->LoadImage(Skin("skins/Slider_bar.png"));
        auto* thumb = AddControl(
            0, std::make_unique<CSliderControl>(this, nextId_++, rect, 16, ScaledLength(6, s), ScaledLength(7, s)));
        thumb->LoadThumbImage(Skin("skins/Slider_Circle.png"));
        return thumb;
    };
    for (int step : {0, 5, 10, 15})
        slider(QStringLiteral("step %1 of 16").arg(step))->SetStepIndex(step);
    auto* dragged = slider(QStringLiteral("dragged from step 3"));
    dragged->SetStepIndex(3);
    const QPoint grip = Centre(dragged->ThumbRect());
    dragged->OnMouseMove(0, grip);
    dragged->OnLButtonDown(kMkLButton, grip);
    dragged->OnMouseMove(kMkLButton, grip + QPoint(ScaledLength(50, s), 0));
}

void CGalleryDlg::AddGauges()
{
    Section(QStringLiteral("DPI gauge (CDPIValueShowControl)"));
    const float s = UiScale;
    const int sensorSteps = CurrentDpiTables().DpiStepCount();
    const std::pair<int, int> cases[] = {
        {8, 0}, {8, 3}, {8, 7}, {sensorSteps, 0}, {sensorSteps, sensorSteps / 2}, {sensorSteps, sensorSteps - 1}};
    for (const auto& [count, value] : cases) {
        auto* gauge =
            AddControl(0, std::make_unique<CDPIValueShowControl>(
                              this, nextId_++, Cell(7, 132, QStringLiteral("step %1\nof %2").arg(value).arg(count)),
                              count, ScaledLength(12, s), ScaledLength(12, s)));
        gauge->LoadBackgroundImage(Skin("skins/mouse/dpi_bar_1.png"));
        gauge->LoadFillImage(Skin("skins/mouse/dpi_bar_2.png"));
        gauge->GaugeValue = value;
    }
}

void CGalleryDlg::AddBatteries()
{
    Section(QStringLiteral("Battery (CBattery)"));
    struct Cell_ {
        int mode;
        int level;
        const char* label;
    };
    const Cell_ cells[] = {
        {kBatteryOnBattery, 0, "on battery\n0%"},   {kBatteryOnBattery, 15, "on battery\n15%"},
        {kBatteryOnBattery, 50, "on battery\n50%"}, {kBatteryOnBattery, 100, "on battery\n100%"},
        {kBatteryCharging, 25, "charging\n25%"},    {kBatteryCharging, 50, "charging\n50%"},
        {kBatteryCharging, 75, "charging\n75%"},    {kBatteryCharging, 100, "charging\n100%"},
        {kBatteryCharged, 100, "charged"},
    };
    for (const Cell_& c : cells) {
        auto* battery = AddControl(0, std::make_unique<CBattery>(this, Cell(30, 61, c.label)));
        battery->LoadFullImage(Skin("skins/battery_full.png"));
        battery->LoadEmptyImage(Skin("skins/battery_empty.png"));
        battery->LoadChargingImage(Skin("skins/battery_charging.png"));
        battery->LoadLightningImage(Skin("skins/battery_lighting.png"));
        battery->BatteryMode = c.mode;
        if (c.mode == kBatteryCharging)
            battery->ChargingLevel = c.level;
        else
            battery->BatteryLevel = static_cast<std::uint8_t>(c.level);
    }
}

void CGalleryDlg::AddScrollBars()
{
    Section(QStringLiteral("Scroll bar (CVScrollBar): position, page 10, range 40"));
    const float s = UiScale;
    enum Mouse { kAway, kOverThumb, kOverUp, kOverDown, kDragging };
    struct Cell_ {
        int position;
        int range;
        Mouse mouse;
        const char* label;
    };
    const Cell_ cells[] = {
        {0, 0, kAway, "range 0\n(whole track)"}, {0, 40, kAway, "position 0"},
        {15, 40, kAway, "position 15"},          {30, 40, kAway, "position 30"},
        {15, 40, kOverThumb, "thumb hover"},     {15, 40, kOverUp, "up arrow hover"},
        {15, 40, kOverDown, "down arrow hover"}, {5, 40, kDragging, "dragged from 5"},
    };
    for (const Cell_& c : cells) {
        auto* bar = AddControl(0, std::make_unique<CVScrollBar>(this, nextId_++, Cell(18, 150, c.label)));
        bar->LoadArrows();
        bar->SetScrollInfo(c.position, 10, c.range);
        const UiRect& r = bar->Rect;
        switch (c.mouse) {
        case kOverThumb:
            bar->OnMouseMove(0, Centre(bar->ThumbRect()));
            break;
        case kOverUp:
            bar->OnMouseMove(0, {Centre(r).x(), r.top + ScaledLength(4, s)});
            break;
        case kOverDown:
            bar->OnMouseMove(0, {Centre(r).x(), r.bottom - ScaledLength(4, s)});
            break;
        case kDragging: {
            const QPoint grip = Centre(bar->ThumbRect());
            bar->OnMouseMove(0, grip);
            bar->OnLButtonDown(kMkLButton, grip);
            bar->OnMouseMove(kMkLButton, grip + QPoint(0, ScaledLength(45, s)));
            break;
        }
        case kAway:
            break;
        }
    }
}

void CGalleryDlg::AddStatics()
{
    Section(QStringLiteral("Pictures (CStaticImage) and texts (CStaticText)"));
    auto picture = [&](const QString& relative, const QString& label) {
        const QImage image = DecodeImageFile(Skin(relative));
        const int w = image.isNull() ? 20 : image.width();
        const int h = image.isNull() ? 20 : image.height();
        AddControl(0, std::make_unique<CStaticImage>(this, nextId_++, Cell(w, h, label)))->LoadImage(Skin(relative));
    };
    picture("skins/mouse/mouse_nr.png", "mouse/mouse_nr");
    NewLine();
    for (int n = 1; n <= 9; ++n)
        picture(QStringLiteral("skins/mouse/serial_number%1.png").arg(n),
                QStringLiteral("mouse/\nserial_number%1").arg(n));
    NewLine();
    for (int n : {1, 2, 3, 4, 5, 7, 8, 9})
        picture(QStringLiteral("skins/mouse/number%1.png").arg(n), QStringLiteral("mouse/\nnumber%1").arg(n));
    NewLine();
    for (const char* name : {"battery_green", "battery_orange", "battery_red", "foldr_open", "foldr_close",
                             "macro_time", "macro_up", "macro_down", "dpi_value", "Slider_Circle", "Slider_bar"})
        picture(QStringLiteral("skins/%1.png").arg(name), QString(name));
    NewLine();

    const float s = UiScale;
    struct Label {
        const char* text;
        int w, h;
        ColourRef colour;
        int alignment;
        const char* label;
        bool tahoma16;
    };
    const Label labels[] = {
        {"Left aligned", 160, 18, kTextGrey, kTextLeft, "left", false},
        {"Centred", 160, 18, kTextGrey, kTextCenter, "centred", false},
        {"Right aligned", 160, 18, kTextGrey, kTextRight, "right", false},
        {"White text", 160, 18, kTextWhite, kTextCenter, "colour", false},
        {"A label far too long for its box", 120, 18, kTextGrey, kTextLeft, "ellipsis", false},
        {"Two lines\nof text", 160, 40, kTextGrey, kTextLeft, "line feed", false},
        {"100%", 40, 18, kTextGrey, kTextLeft, "Tahoma 16 × s", true},
    };
    for (const Label& l : labels) {
        const UiRect rect = Cell(l.w, l.h, QStringLiteral("text\n%1").arg(l.label));
        boxes_.push_back(rect);
        auto* text = AddControl(0, std::make_unique<CStaticText>(this, nextId_++, rect, l.text, l.colour, l.alignment));
        if (l.tahoma16)
            text->SetFont(ScaledLength(16, s), QStringLiteral("Tahoma"));
    }
}

void CGalleryDlg::AddFrames()
{
    Section(QStringLiteral("Window frames and program resources"));
    auto picture = [&](const QString& path, const QString& label) {
        const QImage image = DecodeImageFile(path);
        if (image.isNull()) {
            AddControl(0, std::make_unique<CStaticText>(this, nextId_++, Cell(100, 18, label), "missing", kTextYellow,
                                                        kTextCenter));
            return;
        }
        AddControl(0, std::make_unique<CStaticImage>(this, nextId_++, Cell(image.width(), image.height(), label)))
            ->LoadImage(path);
    };
    for (const char* name : {"Frame_common", "Frame_warning", "Frame_progress_nr", "Frame_progress_ov",
                             "Frame_Lighting_Setting", "Frame_Macro_Manager"})
        picture(Skin(QStringLiteral("skins/%1.bmp").arg(name)), QString(name) + ".bmp");
    picture(ResourcePath("PNG", 151), "PNG 151\n(pop-up background)");
    picture(ResourcePath("PNG", 188), "PNG 188\n(up arrows)");
    picture(ResourcePath("PNG", 187), "PNG 187\n(down arrows)");
    picture(ResourcePath("ICON", 128), "ICON 128");
}

void CGalleryDlg::AddPicture(const QImage& picture, const QString& label)
{
    const float s = UiScale;
    const int w = static_cast<int>(static_cast<float>(picture.width()) / s);
    const int h = static_cast<int>(static_cast<float>(picture.height()) / s);
    AddControl(0, std::make_unique<CPicture>(this, Cell(w, h, label), picture));
}

void CGalleryDlg::AddPopups()
{
    Section(QStringLiteral("Pop-up lists (CWndPopup), one per PopupKind, a row under the mouse"));
    auto rows = [&](std::initializer_list<int> textIndexes, std::initializer_list<int> subRows = {}) {
        std::vector<PopupRow> out;
        int n = 1;
        for (int index : textIndexes) {
            PopupRow row{Text(index)};
            row.subList = std::find(subRows.begin(), subRows.end(), n) != subRows.end();
            out.push_back(row);
            ++n;
        }
        return out;
    };
    auto plain = [](std::initializer_list<const char*> texts) {
        std::vector<PopupRow> out;
        for (const char* text : texts)
            out.push_back(text[0] == '-' ? PopupRow{{}, true, false} : PopupRow{text});
        return out;
    };
    std::vector<PopupRow> dpiLock;
    for (int dpi = 200; dpi <= 1200; dpi += 100)
        dpiLock.push_back({QString::number(dpi)});
    std::vector<PopupRow> profiles = rows({10});
    for (int k = 1; k <= 3; ++k)
        profiles.push_back({QStringLiteral("Profile %1").arg(k)});
    profiles.push_back({Text(200)});

    const auto functionRows = rows({20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 36, 34}, {6, 11, 12, 13, 14});
    const auto generic = plain({"First row", "Second row", "-", "Third row"});
    struct Kind {
        int kind;
        const char* name;
        std::vector<PopupRow> rows;
        int hoverRow;
    };
    const std::vector<Kind> kinds = {
        {0, "FunctionList", functionRows, 1},
        {0, "FunctionList", functionRows, 5},
        {1, "(no list)", generic, 0},
        {2, "CDPIPopup", rows({40, 41, 42}), 0},
        {3, "CMultimediaPopup", rows({45, 46, 47, 48, 49, 50, 51, 52, 53, 54}), 2},
        {4, "(no list)", generic, 1},
        {5, "(no list)", generic, 3},
        {6, "(no list)", generic, 0},
        {7, "CComboProfilePopup", profiles, 2},
        {8, "(no list)", generic, 1},
        {9, "(no list)", generic, 3},
        {10, "CDPILockPopup", dpiLock, 5},
        {11, "CWindowsManagePopup", rows({75, 76, 77, 78, 79, 80}), 1},
        {12, "COfficePopup", rows({60, 61, 62, 63, 64, 65, 66, 67, 68}), 0},
        {13, "CProfileRKeyPopup", rows({90, 91, 92, 93}), 3},
        {14, "CComboActionInsertPopup", rows({20, 21, 22, 205, 206, 207, 208, 209, 210}), 3},
        {15, "CMacroListPopup", rows({245, 246, 247, 248, 249, 250, 251, 252}), 4},
    };
    for (const Kind& kind : kinds) {
        // Opened the way the lists are: background first, then created at its place, where it
        // builds its rows and renders; then the mouse moves onto a row.
        auto* popup = new CGalleryPopup(kind.kind, kind.rows, moduleFolder_);
        popup->LoadPopupBackground();
        popup->Create(this, QRect(QPoint(0, 0), popup->ListSize()), 0, kind.kind);
        popup->HandleMouseMove(Centre(popup->RowRect(kind.hoverRow)));
        AddPicture(popup->RenderedImage(),
                   QStringLiteral("kind %1 %2\nrow %3 hovered").arg(kind.kind).arg(kind.name).arg(kind.hoverRow + 1));
        popup->close();
    }
}

void CGalleryDlg::AddMainWindow()
{
    Section(
        QStringLiteral("Main window at start-up: sections DPI levels and polling rate open, button 1 under the mouse"));
    // Drawn now, with the choice masks of a fresh start; the gallery's own radio buttons read its
    // masks when the gallery is drawn.
    const std::uint32_t radios = RadioGroupMask, levels = DPILevelMask;
    RadioGroupMask = kRadioGroupMaskAtStart;
    DPILevelMask = kDpiLevelMaskAtStart;
    CMainLayoutDlg window(moduleFolder_, texts_);
    window.InitUIOnce(window.ClientRect());
    if (CControlBase* combo = window.GetControl(2013))
        Hover(*combo);
    window.HoverButtonNumber = 1;
    AddPicture(window.RenderClient(), QStringLiteral("%1 controls").arg(window.ControlCount()));
    RadioGroupMask = radios;
    DPILevelMask = levels;
}

void CGalleryDlg::DrawWindow(QPainter& dc, const UiRect& client)
{
    const float s = UiScale;
    FillSolid(dc, client, BackgroundColour);
    for (int y : rules_)
        FillSolid(dc,
                  {ScaledLength(Flow::kMargin, s), ScaledLength(y, s), ScaledLength(kGalleryWidth - Flow::kMargin, s),
                   ScaledLength(y, s) + std::max(1, ScaledLength(1, s))},
                  kRuleColour);
    for (const UiRect& box : boxes_)
        FillSolid(dc, box, kBoxColour);
    DrawControls(dc, client);
}

} // namespace vexmo::gallery
