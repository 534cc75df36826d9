#pragma once
// What the mouse is believed to hold: for every setting block the copy just encoded from the
// profile and the copy last sent (or taken as held), and the macro buffers per download index.
// Writes send a block only when the two copies differ.

#include "device/command_encoding.h"
#include "device/macro_encoding.h"
#include "macros/macro_types.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexmo {

// The two copies of one block. The first `Compared` bytes decide whether it is sent.
template <std::size_t N, std::size_t Compared = N> struct BlockCopies {
    static_assert(Compared <= N);
    std::array<std::uint8_t, N> New{};
    std::array<std::uint8_t, N> Sent{};

    // Takes the new encoding, copies it over the sent copy and tells whether they differed.
    bool Update(const std::array<std::uint8_t, N>& encoded)
    {
        New = encoded;
        const bool differs = !std::equal(New.begin(), New.begin() + Compared, Sent.begin());
        Sent = New;
        return differs;
    }
    // The block is what the mouse holds already.
    void Assume(const std::array<std::uint8_t, N>& encoded) { New = Sent = encoded; }
};

struct SentCache {
    BlockCopies<KeyBlockLength> KeyBlock;
    BlockCopies<DpiBlockLength, DpiBlockCompared> DpiBlock;
    BlockCopies<ColourBlockLength> ColourBlock;
    BlockCopies<1> PollingByte;
    BlockCopies<1> LiftOffByte;
    BlockCopies<1> DebounceByte;
    // Compared whole: beyond its length byte a block is all zeros for every mode that has
    // data, and for the modes without table entries the mode byte still goes to the mouse.
    BlockCopies<LightingBlockLength> LightingBlock;
    BlockCopies<2> PowerPair;
    BlockCopies<1> WakeupByte;
    // Per download index, what the mouse holds; only the first MacroBufferKept bytes are used.
    std::array<MacroBuffer, MacroBufferCount> MacroEventBuffer{};
};

// Download indexes given by the last numbering: index n is the (n-1)-th entry, a library macro
// together with the events its buttons download.
class DownloadIndexTable {
public:
    void Reset() { entries_.clear(); }
    // The first index given to the library item at `location`; 0 when it has none.
    std::uint8_t IndexOf(const MacroLocation& location) const;
    // The index of the item with these events, given the next free one when there is none yet.
    std::uint8_t Give(const MacroLocation& location, const std::vector<MacroEvent>& events);
    std::size_t Count() const { return entries_.size(); }

private:
    struct Entry {
        MacroLocation location;
        std::vector<MacroEvent> events;
    };
    std::vector<Entry> entries_;
};

// Everything the main window keeps about the device's state between applies.
struct DeviceCaches {
    SentCache Sent;
    DownloadIndexTable DownloadIndexes;
    // Set after the macro manager closed: the next numbering also copies each button's macro
    // afresh from the library. Cleared by every numbering.
    int MacroRefreshPending = 0;
};

// The groups of device settings changed since the last apply.
struct DirtyGroups {
    int KeysDirty = 0;
    int SettingsDirty = 0;
    int PowerDirty = 0;
    int WakeupDirty = 0;

    void Clear() { KeysDirty = SettingsDirty = PowerDirty = WakeupDirty = 0; }
    static DirtyGroups All() { return {1, 1, 1, 1}; }
};

} // namespace vexmo
