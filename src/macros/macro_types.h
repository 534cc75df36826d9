#pragma once
// One macro step, one macro, and the address of an item in the macro library.

#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace vexmo {

enum class MacroActionKind {
    Delay,       // codes 0..7, milliseconds in bytes 1..3
    Key,         // keyboard key by virtual-key code
    MouseButton, // 0xE0..0xE4: left, right, middle, button 4, button 5
    MoveX,       // 0xE5, signed amount in byte 3, positive right
    MoveY,       // 0xE6, signed amount in byte 3, positive down
    Wheel,       // 0xE7, signed amount in byte 3, positive down
};

// Four bytes kept as one little-endian word: byte 0 (the action code) is the lowest byte.
struct MacroAction {
    uint32_t word = 0;

    static constexpr uint8_t kDelayCode = 3; // every delay we create uses this code
    static constexpr uint32_t kMaxDelayMs = 0xFFFFFF;
    static constexpr uint8_t kReleaseFlag = 0x80;

    static constexpr MacroAction FromBytes(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
    {
        return MacroAction{uint32_t(b0) | uint32_t(b1) << 8 | uint32_t(b2) << 16 |
                           uint32_t(b3) << 24};
    }
    // A delay holds 24 bits; longer values are cut to the largest one.
    static constexpr MacroAction Delay(uint32_t ms)
    {
        if (ms > kMaxDelayMs)
            ms = kMaxDelayMs;
        return FromBytes(kDelayCode, uint8_t(ms >> 16), uint8_t(ms >> 8), uint8_t(ms));
    }
    // Press or release of a key or a mouse button.
    static constexpr MacroAction Key(uint8_t code, bool release)
    {
        return FromBytes(code, release ? kReleaseFlag : 0, 0, 0);
    }
    // Mouse movement or wheel (0xE5..0xE7) by a signed step count.
    static constexpr MacroAction Movement(uint8_t code, int8_t amount)
    {
        return FromBytes(code, 0, 0, uint8_t(amount));
    }

    // Bytes past 3 do not exist and read as 0.
    constexpr uint8_t Byte(unsigned n) const { return n < 4 ? uint8_t(word >> (8 * n)) : 0; }
    constexpr uint8_t Code() const { return Byte(0); }
    constexpr bool IsDelay() const { return Code() < 8; }
    // Bytes 1..3 as a big-endian number of milliseconds; meaningful for delays only.
    constexpr uint32_t DelayMs() const
    {
        return uint32_t(Byte(1)) << 16 | uint32_t(Byte(2)) << 8 | Byte(3);
    }
    // Only bit 7 of byte 1 counts for keys and mouse buttons.
    constexpr bool IsRelease() const { return (Byte(1) & kReleaseFlag) != 0; }
    // Signed step count of a movement or wheel action.
    constexpr int8_t Amount() const { return int8_t(Byte(3)); }
    MacroActionKind Kind() const;

    friend constexpr bool operator==(MacroAction, MacroAction) = default;
};

// One macro: a name, its identity in the library and up to 336 actions.
struct MacroKey {
    static constexpr unsigned kMaxActions = 336;
    // Editing stops at this many non-delay actions.
    static constexpr unsigned kMaxCommandActions = 168;

    std::u16string name;
    uint32_t MacroKeyIndex = 0; // 0 until a library assigns one
    uint32_t ActionCount = 0;   // may arrive larger than kMaxActions from a file; see UsedActions
    std::array<MacroAction, kMaxActions> Actions{};
    uint8_t MacroKeyLoopType = 2; // 1, 2 or 4
    uint8_t MacroKeyLoopNum = 1;  // repeat count for loop mode 2
    uint8_t MacroCommandActionNum = 0;

    MacroKey() = default;
    explicit MacroKey(std::u16string macroName) : name(std::move(macroName)) {}

    // ActionCount limited to the capacity, so that a count read from a damaged file can never
    // take a loop past the action array.
    unsigned UsedActions() const { return ActionCount < kMaxActions ? ActionCount : kMaxActions; }

    // The action in a slot; a slot past the capacity reads as an all-zero action.
    MacroAction GetAction(unsigned index) const;
    // Overwrites one slot without touching ActionCount; false for a slot past the capacity.
    bool SetAction(unsigned index, MacroAction action);
    // Inserts before position (clamped to the end of the used actions); false when full.
    bool InsertAction(unsigned position, MacroAction action);
    // Removes a used action, moving the later ones down and zeroing the last slot; false for an
    // index that is not a used action.
    bool DeleteAction(unsigned index);

    // Every field, all 336 action slots included.
    friend bool operator==(const MacroKey&, const MacroKey&) = default;
};

// Copies everything but the target's MacroKeyIndex, which keeps the identity its library gave it.
void CopyMacroContent(const MacroKey& from, MacroKey& to);

// Address of a library item: level (stage) and the index at each level down to it.
struct MacroLocation {
    static constexpr int kListSize = 60;

    int32_t stage = -1; // below 0: no location; 0, 1, 2: the level
    int32_t stage0Index = 0;
    int32_t stage1Index = 0;
    int32_t stage2Index = 0;

    static constexpr MacroLocation None() { return {}; }
    static constexpr MacroLocation Level0(int i) { return {0, i, 0, 0}; }
    static constexpr MacroLocation Level1(int i, int j) { return {1, i, j, 0}; }
    static constexpr MacroLocation Level2(int i, int j, int k) { return {2, i, j, k}; }

    constexpr bool IsNone() const { return stage < 0; }
    // True when the location names a slot: stage 0..2 and the indexes down to that stage in
    // 0..59. Indexes below the stage carry no meaning and are not looked at.
    constexpr bool AddressesSlot() const
    {
        auto inList = [](int32_t n) { return n >= 0 && n < kListSize; };
        if (stage < 0 || stage > 2 || !inList(stage0Index))
            return false;
        if (stage >= 1 && !inList(stage1Index))
            return false;
        return stage < 2 || inList(stage2Index);
    }

    friend constexpr bool operator==(const MacroLocation&, const MacroLocation&) = default;
};

} // namespace vexmo
