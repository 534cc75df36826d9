#include "catalog.h"

#include "art.h"
#include "palette.h"

namespace skingen {

namespace {

void StatePair(std::vector<Asset>& out, const QString& stem, const std::function<QImage(State)>& draw)
{
    out.push_back({stem + "_nr.png", [draw] { return draw(State::Normal); }});
    out.push_back({stem + "_ov.png", [draw] { return draw(State::Hover); }});
}

} // namespace

std::vector<Asset> SkinAssets()
{
    std::vector<Asset> a;
    // Window frames.
    a.push_back({"skins/Frame_common.bmp", [] { return DialogFrame(429, 140); }});
    a.push_back({"skins/Frame_warning.bmp", [] { return DialogFrame(319, 102); }});
    a.push_back({"skins/Frame_Macro_Manager.bmp", [] { return DialogFrame(528, 365); }});
    a.push_back({"skins/Frame_progress_nr.bmp", [] { return ProgressFrame(false); }});
    a.push_back({"skins/Frame_progress_ov.bmp", [] { return ProgressFrame(true); }});
    a.push_back({"skins/Frame_Lighting_Setting.bmp", [] { return SectionFrame(); }});

    // Buttons. button2 serves 69 × 20 and 65 × 23 rectangles, check 15 × 15 and 11 × 11.
    StatePair(a, "skins/exit", [](State s) { return WindowButton(true, s); });
    StatePair(a, "skins/min", [](State s) { return WindowButton(false, s); });
    StatePair(a, "skins/button1", [](State s) { return PushButton(230, 25, s); });
    StatePair(a, "skins/button2", [](State s) { return PushButton(69, 20, s); });
    a.push_back({"skins/button4_nr.png", [] { return SettingsButton(); }});
    for (const auto& [stem, draw] : std::vector<std::pair<QString, std::function<QImage(State)>>>{
             {"skins/check", CheckBox}, {"skins/radio", RadioButton}, {"skins/check_button_dpi", DpiCheckBox}}) {
        StatePair(a, stem, draw);
        a.push_back({stem + "_dn.png", [draw] { return draw(State::Down); }});
    }
    StatePair(a, "skins/combo2", [](State s) { return ComboBox(162, 21, s); });
    StatePair(a, "skins/combo3", [](State s) { return ComboBox(117, 14, s); });
    StatePair(a, "skins/header", SectionHeader);
    // The "_ov" header images fill the pressed slot, which shows an open section.
    a.back().draw = [] { return SectionHeader(State::Down); };
    StatePair(a, "skins/header2", SectionTitle);
    a.back().draw = [] { return SectionTitle(State::Down); };
    StatePair(a, "skins/profile_slot", [](State s) { return ProfileTab(false, s); });
    a.push_back({"skins/profile_slot_nr2.png", [] { return ProfileTab(true, State::Normal); }});
    a.push_back({"skins/profile_slot_ov2.png", [] { return ProfileTab(true, State::Hover); }});
    StatePair(a, "skins/menu", [](State s) { return MenuRow(false, s); });
    StatePair(a, "skins/menusub", [](State s) { return MenuRow(true, s); });

    // Battery group.
    a.push_back({"skins/battery_full.png", [] { return Battery(BatteryImage::Full); }});
    a.push_back({"skins/battery_empty.png", [] { return Battery(BatteryImage::Empty); }});
    a.push_back({"skins/battery_charging.png", [] { return Battery(BatteryImage::Charging); }});
    a.push_back({"skins/battery_lighting.png", [] { return Battery(BatteryImage::Lightning); }});
    a.push_back({"skins/battery_green.png", [] { return LegendDot(colour::Green); }});
    a.push_back({"skins/battery_orange.png", [] { return LegendDot(colour::Orange); }});
    a.push_back({"skins/battery_red.png", [] { return LegendDot(colour::Red); }});
    for (int level = 3; level <= 10; ++level)
        a.push_back({QString("skins/power_manage_%1min.png").arg(level), [level] { return PowerDial(level); }});

    // Settings sections.
    a.push_back({"skins/dpi_value.png", [] { return DpiValue(); }});
    for (int hz : {125, 250, 500, 1000}) {
        a.push_back({QString("skins/%1hz_nr.png").arg(hz), [hz] { return RateButton(hz, State::Normal); }});
        a.push_back({QString("skins/%1hz_dn.png").arg(hz), [hz] { return RateButton(hz, State::Down); }});
    }
    a.push_back({"skins/Slider_bar.png", [] { return SliderTrack(); }});
    a.push_back({"skins/Slider_Circle.png", [] { return SliderThumb(); }});

    // Macro manager.
    a.push_back({"skins/macro_record_nr.png", [] { return RecordButton(State::Normal); }});
    a.push_back({"skins/macro_record_dn.png", [] { return RecordButton(State::Down); }});
    a.push_back({"skins/foldr_open.png", [] { return Folder(true); }});
    a.push_back({"skins/foldr_close.png", [] { return Folder(false); }});
    a.push_back({"skins/macro_time.png", [] { return MacroIcon(ActionIcon::Delay); }});
    a.push_back({"skins/macro_up.png", [] { return MacroIcon(ActionIcon::Release); }});
    a.push_back({"skins/macro_down.png", [] { return MacroIcon(ActionIcon::Press); }});

    // The mouse picture and its numbers (there is no number 6 overlay).
    a.push_back({"skins/mouse/mouse_nr.png", [] { return MousePicture(); }});
    for (int n = 1; n <= 9; ++n)
        a.push_back({QString("skins/mouse/serial_number%1.png").arg(n), [n] { return ButtonNumber(n); }});
    for (int n : {1, 2, 3, 4, 5, 7, 8, 9})
        a.push_back({QString("skins/mouse/number%1.png").arg(n), [n] { return NumberOverlay(n); }});
    a.push_back({"skins/mouse/dpi_bar_1.png", [] { return DpiGauge(false); }});
    a.push_back({"skins/mouse/dpi_bar_2.png", [] { return DpiGauge(true); }});
    return a;
}

std::vector<Resource> ProgramResources()
{
    return {
        {"png_151.png", "png/151", [] { return PopupBackground(); }},
        {"png_187.png", "png/187", [] { return ScrollArrows(false); }},
        {"png_188.png", "png/188", [] { return ScrollArrows(true); }},
        {"bitmap_364.bmp", "bitmap/364", [] { return MainBackground(); }},
        {"icon_128.png", "icon/128", [] { return ProgramIcon(); }},
    };
}

} // namespace skingen
