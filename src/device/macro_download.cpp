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
    const auto it = std::find(locations_.begin(), locations_.end(), location);
    return it == locations_.end() ? 0 : static_cast<std::uint8_t>(it - locations_.begin() + 1);
}

std::uint8_t DownloadIndexTable::Give(const MacroLocation& location)
{
    if (const std::uint8_t index = IndexOf(location))
        return index;
    locations_.push_back(location);
    return static_cast<std::uint8_t>(locations_.size());
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
        const std::uint8_t index = caches.DownloadIndexes.Give(location);
        if (caches.MacroRefreshPending) {
            CopyMacroContent(macro, slot.Macro);
            slot.Macro.MacroKeyIndex = macro.MacroKeyIndex;
            slot.MacroKeyIndex = macro.MacroKeyIndex;
        }
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
