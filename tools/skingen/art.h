#pragma once

#include <QImage>

// Every picture of the skin, one function per kind of image. Sizes are the unscaled design sizes
// the program expects; the program stretches them by its UI scale with nearest-neighbour sampling.
namespace skingen {

// How a control image looks: its "_nr", "_ov" and "_dn" files.
enum class State { Normal, Hover, Down };

// Controls (controls.cpp).
QImage WindowButton(bool close, State state);               // exit_*, min_* 15 × 15
QImage CheckBox(State state);                               // check_* 15 × 15
QImage DpiCheckBox(State state);                            // check_button_dpi_* 11 × 11
QImage RadioButton(State state);                            // radio_* 15 × 15
QImage ComboBox(int width, int height, State state);        // combo2_*, combo3_*
QImage SectionHeader(State state);                          // header_* 262 × 25
QImage SectionTitle(State state);                           // header2_* 230 × 25
QImage PushButton(int width, int height, State state);      // button1_*, button2_*
QImage SettingsButton();                                    // button4_nr 215 × 45
QImage ProfileTab(bool selected, State state);              // profile_slot_* 162 × 21
QImage MenuRow(bool subList, State state);                  // menu_*, menusub_* 160 × 22
QImage PopupBackground();                                   // resource PNG 151
QImage ScrollArrows(bool up);                               // resources PNG 188 (up), 187 (down)
QImage SliderTrack();                                       // Slider_bar 145 × 3
QImage SliderThumb();                                       // Slider_Circle 13 × 13
QImage DpiGauge(bool fill);                                 // dpi_bar_1, dpi_bar_2 7 × 132
QImage DpiValue();                                          // dpi_value 26 × 11
QImage RateButton(int hertz, State state);                  // 125hz_* … 1000hz_* 72 × 72
QImage RecordButton(State state);                           // macro_record_* 90 × 18
QImage Folder(bool open);                                   // foldr_open, foldr_close
enum class ActionIcon { Delay, Release, Press };
QImage MacroIcon(ActionIcon icon);                          // macro_time, macro_up, macro_down

// Battery and power dial (gauges.cpp).
enum class BatteryImage { Full, Empty, Charging, Lightning };
QImage Battery(BatteryImage which);                         // battery_* 30 × 61
QImage LegendDot(const QColor& colour);                     // battery_green/orange/red 8 × 8
QImage PowerDial(int level);                                // power_manage_<level>min 140 × 84

// The mouse and its numbers (mouse.cpp).
QImage MousePicture();                                      // mouse_nr 215 × 398
QImage ButtonNumber(int number);                            // serial_number<n> 21 × 19
QImage NumberOverlay(int number);                           // number<n> 24 × 24
QImage ProgramIcon();                                       // resource icon 128

// Windows (frames.cpp).
QImage DialogFrame(int width, int height);                  // Frame_common, _warning, _Macro_Manager
QImage ProgressFrame(bool filled);                          // Frame_progress_nr / _ov 429 × 140
QImage SectionFrame();                                      // Frame_Lighting_Setting 230 × 82
QImage MainBackground();                                    // resource bitmap 364 1127 × 740

} // namespace skingen
