#include "device/macro_download.h"

#include "device/command_encoding.h"

#include <algorithm>

namespace vexmo {

namespace {

// Loop type whose repeat count goes with the KeyValue.
constexpr std::uint8_t CountedLoopType = 2;

constexpr int ListSize = MacroLibrary::kListSize;

// Searches one 60-slot list up to its first free slot; true when found.
template <class LocationAt>
bool SearchList(const MacroLibrary& library, std::uint32_t identity, LocationAt locationAt,
                MacroLocation& found)
{
    for (int n = 0; n < ListSize; ++n) {
        const MacroLocation location = locationAt(n);
        const MacroItem* item = library.ItemAt(location);
        if (!item || item->IsFree())
            return false;
        if (item->IsMacro() && item->key->MacroKeyIndex == identity) {
            found = location;
            return true;
        }
    }
    return false;
}

} // namespace

std::uint8_t DownloadIndexTable::IndexOf(const MacroLocation& location) const
{
    for (std::size_t n = 0; n < entries_.size(); ++n) {
        if (entries_[n].location == location)
            return static_cast<std::uint8_t>(n + 1);
    }
    return 0;
}

std::uint8_t DownloadIndexTable::Give(const MacroLocation& location,
                                      const std::vector<MacroEvent>& events)
{
    for (std::size_t n = 0; n < entries_.size(); ++n) {
        if (entries_[n].location == location && entries_[n].events == events)
            return static_cast<std::uint8_t>(n + 1);
    }
    entries_.push_back({location, events});
    return static_cast<std::uint8_t>(entries_.size());
}

MacroLocation FindLibraryMacro(const MacroLibrary& library, std::uint32_t identity)
{
    MacroLocation found;
    if (SearchList(library, identity, [](int n) { return MacroLocation::Level0(n); }, found))
        return found;
    for (int i = 0; i < ListSize; ++i) {
        if (SearchList(library, identity, [i](int n) { return MacroLocation::Level1(i, n); },
                       found))
            return found;
    }
    for (int i = 0; i < ListSize; ++i) {
        for (int j = 0; j < ListSize; ++j) {
            if (SearchList(library, identity,
                           [i, j](int n) { return MacroLocation::Level2(i, j, n); }, found))
                return found;
        }
    }
    return MacroLocation::None();
}

void AssignDownloadIndexes(ProfileRecord& profile, DeviceCaches& caches,
                           const MacroLibrary& library, const LanguageTable& texts)
{
    caches.DownloadIndexes.Reset();
    for (KeySlot& slot : profile.KeySlots) {
        if (slot.KeyValue[0] != KeyTypeMacro)
            continue;
        const MacroLocation location = FindLibraryMacro(library, slot.MacroKeyIndex);
        const MacroItem* item = library.ItemAt(location);
        if (!item || !item->IsMacro()) {
            // The macro was deleted from the library: the button does nothing from now on.
            slot.KeyName = texts[DeletedMacroKeyText];
            slot.KeyValue = {KeyTypeDisabled, 0, 0};
            continue;
        }
        const MacroKey& macro = *item->key;
        if (caches.MacroRefreshPending) {
            CopyMacroContent(macro, slot.Macro);
            slot.Macro.MacroKeyIndex = macro.MacroKeyIndex;
            slot.MacroKeyIndex = macro.MacroKeyIndex;
        }
        // Buttons share an index only when they download the same thing. Copies of one library
        // macro can differ (a profile keeps its copies while the library macro is edited under
        // another profile); sharing an index then would make one button play the other's copy
        // and send both again at every apply.
        const std::uint8_t index = caches.DownloadIndexes.Give(location, MacroEvents(slot.Macro));
        slot.KeyValue = {KeyTypeMacro,
                         static_cast<std::uint8_t>((index & 0x0F) | (macro.MacroKeyLoopType << 4)),
                         macro.MacroKeyLoopType == CountedLoopType ? macro.MacroKeyLoopNum
                                                                   : std::uint8_t{0}};
    }
    caches.MacroRefreshPending = 0;
}

void DownloadMacros(DeviceLink& link, DeviceCaches& caches, const ProfileRecord& profile,
                    bool send)
{
    for (const KeySlot& slot : profile.KeySlots) {
        if (slot.KeyValue[0] != KeyTypeMacro)
            continue;
        const std::uint8_t index = slot.KeyValue[1] & 0x0F;
        const MacroBuffer buffer = BuildMacroBuffer(slot.Macro, index);
        MacroBuffer& held = caches.Sent.MacroEventBuffer[index];
        const bool differs = !std::equal(buffer.begin(), buffer.begin() + MacroBufferKept,
                                         held.begin());
        std::copy_n(buffer.begin(), MacroBufferKept, held.begin());

        if (send && differs) {
            for (const MacroChunk& chunk : MacroChunks(buffer)) {
                link.BuildCommandReport(MacroChunkCommand, chunk.packet, chunk.length, chunk.data);
                if (link.PreferredHandle()) {
                    link.WrittenFlag = 1;
                    link.SendCommandReport();
                }
                link.PauseAfterCommand();
            }
        }
        link.PauseAfterCommand();
    }
}

} // namespace vexmo
