#include "app/core/process_values.h"

namespace vexmo {

std::u16string ModuleFolder;
std::u16string DataFolder;
float UiScale = 1.0f;
float DpiRatio = 1.0f;

float ChooseUiScale(int screenWidth, int screenHeight)
{
    if (screenWidth > 2400 && screenHeight > 1600)
        return 2.0f;
    if (screenWidth > 1800 && screenHeight > 1200)
        return 1.5f;
    return 1.0f;
}

} // namespace vexmo
