#include "macros/macro_types.h"

#include <algorithm>

namespace vexmo {

MacroActionKind MacroAction::Kind() const
{
    const uint8_t code = Code();
    if (code < 8)
        return MacroActionKind::Delay;
    if (code >= 0xE0 && code <= 0xE4)
        return MacroActionKind::MouseButton;
    if (code == 0xE5)
        return MacroActionKind::MoveX;
    if (code == 0xE6)
        return MacroActionKind::MoveY;
    if (code == 0xE7)
        return MacroActionKind::Wheel;
    return MacroActionKind::Key;
}

MacroAction MacroKey::GetAction(unsigned index) const
{
    return index < kMaxActions ? Actions[index] : MacroAction{};
}

bool MacroKey::SetAction(unsigned index, MacroAction action)
{
    if (index >= kMaxActions)
        return false;
    Actions[index] = action;
    return true;
}

bool MacroKey::InsertAction(unsigned position, MacroAction action)
{
    const unsigned used = UsedActions();
    if (used >= kMaxActions)
        return false;
    position = std::min(position, used);
    std::move_backward(Actions.begin() + position, Actions.begin() + used,
                       Actions.begin() + used + 1);
    Actions[position] = action;
    ActionCount = used + 1;
    return true;
}

bool MacroKey::DeleteAction(unsigned index)
{
    const unsigned used = UsedActions();
    if (index >= used)
        return false;
    std::move(Actions.begin() + index + 1, Actions.end(), Actions.begin() + index);
    Actions[kMaxActions - 1] = MacroAction{};
    ActionCount = used - 1;
    return true;
}

void CopyMacroContent(const MacroKey& from, MacroKey& to)
{
    if (&from == &to)
        return;
    to.name = from.name;
    to.MacroKeyLoopType = from.MacroKeyLoopType;
    to.MacroKeyLoopNum = from.MacroKeyLoopNum;
    to.MacroCommandActionNum = from.MacroCommandActionNum;
    to.ActionCount = from.ActionCount;
    to.Actions = from.Actions;
}

} // namespace vexmo
