#include "device/setting_commands.h"

#include "device/command_encoding.h"
#include "device/macro_download.h"
#include "macros/macro_model.h"

#include <span>

namespace vexmo {

namespace {

constexpr std::uint8_t FactoryResetConfirmation = 0xFF;

void SendWritten(DeviceLink& link, std::uint8_t code, std::uint8_t length,
                 std::span<const std::uint8_t> data)
{
    link.BuildCommandReport(code, SinglePacket, length, data);
    link.WrittenFlag = 1;
    link.SendAndWait();
}

void SendWritten(DeviceLink& link, std::uint8_t code, std::span<const std::uint8_t> data)
{
    SendWritten(link, code, static_cast<std::uint8_t>(data.size()), data);
}

std::array<std::uint8_t, 1> One(std::uint8_t value) { return {value}; }

} // namespace

const DpiTables& CommandSources::DpiOrCurrent() const { return Dpi ? *Dpi : CurrentDpiTables(); }
const MacroLibrary& CommandSources::LibraryOrMain() const
{
    return Library ? *Library : MainMacroLibrary;
}
const LanguageTable& CommandSources::TextsOrLanguage() const
{
    return Texts ? *Texts : LanguageTexts;
}

void WriteKeyAssignments(DeviceLink& link, SentCache& cache, const ProfileRecord& profile)
{
    if (!link.PreferredHandle())
        return;
    const KeyBlock block = EncodeKeyBlock(profile);
    std::array<bool, kKeySlotCount> changed{};
    for (std::size_t p = 2; p < KeyBlockLength; ++p) {
        if (block[p] != cache.KeyBlock.Sent[p])
            changed[(p - 2) / 3] = true;
    }
    cache.KeyBlock.Update(block);

    for (int deviceSlot = 0; deviceSlot < kKeySlotCount; ++deviceSlot) {
        if (changed[deviceSlot]) {
            const std::size_t at = 2 + 3 * deviceSlot;
            const std::array<std::uint8_t, 4> data = {static_cast<std::uint8_t>(deviceSlot),
                                                      block[at], block[at + 1], block[at + 2]};
            link.BuildCommandReport(KeyAssignmentCommand, SinglePacket, data);
            link.WrittenFlag = 1;
            link.SendCommandReport();
        }
        // The mouse needs the pause after every slot, whether it was written or not.
        link.PauseAfterCommand();
    }
}

void WriteSettings(DeviceLink& link, SentCache& cache, const ProfileRecord& profile,
                   const DpiTables& tables)
{
    if (!link.PreferredHandle())
        return;
    const bool polling = cache.PollingByte.Update(One(EncodePollingByte(profile)));
    const bool liftOff = cache.LiftOffByte.Update(One(EncodeLiftOffByte(profile)));
    const bool debounce = cache.DebounceByte.Update(One(EncodeDebounceByte(profile)));
    const bool dpi = cache.DpiBlock.Update(EncodeDpiBlock(profile, tables));
    const bool colours = cache.ColourBlock.Update(EncodeColourBlock(profile));
    const bool lighting = cache.LightingBlock.Update(EncodeLightingBlock(profile.LightingSettings));

    if (dpi)
        SendWritten(link, DpiLevelsCommand, cache.DpiBlock.New);
    if (colours)
        SendWritten(link, DpiColoursCommand, cache.ColourBlock.New);
    if (polling)
        SendWritten(link, PollingRateCommand, cache.PollingByte.New);
    if (liftOff) {
        const std::array<std::uint8_t, 2> data = {cache.LiftOffByte.New[0], 0};
        SendWritten(link, LiftOffCommand, data);
    }
    if (debounce)
        SendWritten(link, DebounceCommand, cache.DebounceByte.New);
    if (lighting) {
        const LightingBlock& block = cache.LightingBlock.New;
        SendWritten(link, LightingCommand, block[0], std::span(block).subspan(1));
    }
}

void WritePowerSettings(DeviceLink& link, SentCache& cache, const ProfileRecord& profile)
{
    if (!link.PreferredHandle())
        return;
    if (cache.PowerPair.Update(EncodePowerPair(profile)))
        SendWritten(link, PowerSavingCommand, cache.PowerPair.New);
}

void WriteMotionWakeup(DeviceLink& link, SentCache& cache, const ProfileRecord& profile)
{
    if (!link.PreferredHandle())
        return;
    if (cache.WakeupByte.Update(One(EncodeWakeupByte(profile))))
        SendWritten(link, MotionWakeupCommand, cache.WakeupByte.New);
}

void SyncDeviceCaches(DeviceLink& link, DeviceCaches& caches, ProfileRecord& profile,
                      const CommandSources& sources)
{
    SentCache& cache = caches.Sent;
    cache.KeyBlock.Assume(EncodeKeyBlock(profile));
    cache.DpiBlock.Assume(EncodeDpiBlock(profile, sources.DpiOrCurrent()));
    cache.ColourBlock.Assume(EncodeColourBlock(profile));
    cache.PollingByte.Assume(One(EncodePollingByte(profile)));
    cache.LiftOffByte.Assume(One(EncodeLiftOffByte(profile)));
    cache.DebounceByte.Assume(One(EncodeDebounceByte(profile)));
    cache.LightingBlock.Assume(EncodeLightingBlock(profile.LightingSettings));
    cache.PowerPair.Assume(EncodePowerPair(profile));
    cache.WakeupByte.Assume(One(EncodeWakeupByte(profile)));

    AssignDownloadIndexes(profile, caches, sources.LibraryOrMain(), sources.TextsOrLanguage());
    DownloadMacros(link, caches, profile, false);
}

void SendFactoryReset(DeviceLink& link)
{
    link.BuildCommandReport(FactoryResetCommand, SinglePacket, One(FactoryResetConfirmation));
    link.SendCommandReport();
}

bool ApplyDirtyGroups(DeviceLink& link, DeviceCaches& caches, ProfileRecord& profile,
                      DirtyGroups& dirty, const CommandSources& sources)
{
    link.WrittenFlag = 0;
    AssignDownloadIndexes(profile, caches, sources.LibraryOrMain(), sources.TextsOrLanguage());
    if (dirty.KeysDirty)
        WriteKeyAssignments(link, caches.Sent, profile);
    if (dirty.SettingsDirty)
        WriteSettings(link, caches.Sent, profile, sources.DpiOrCurrent());
    if (dirty.PowerDirty)
        WritePowerSettings(link, caches.Sent, profile);
    if (dirty.WakeupDirty)
        WriteMotionWakeup(link, caches.Sent, profile);
    dirty.Clear();
    DownloadMacros(link, caches, profile, true);
    return link.WrittenFlag != 0;
}

} // namespace vexmo
