#include "full_write.h"

#include "device/report_capture.h"

namespace vexmo::ctl {

namespace {

template <std::size_t N, std::size_t C> void Invert(BlockCopies<N, C>& block)
{
    for (auto& byte : block.Sent)
        byte = static_cast<std::uint8_t>(~byte);
}

} // namespace

DeviceCaches CachesHolding(const ProfileRecord& held, const CommandSources& sources)
{
    // The numbering and the buffer priming pause as a download would; a recorder link lets
    // that pass at once and sends nothing anywhere.
    CapturingLink scratch(0, false);
    DeviceCaches caches;
    ProfileRecord copy = held;
    caches.MacroRefreshPending = 1;
    SyncDeviceCaches(scratch.Link(), caches, copy, sources);
    return caches;
}

DeviceCaches CachesHoldingNothingOf(const ProfileRecord& profile, const CommandSources& sources)
{
    DeviceCaches caches = CachesHolding(profile, sources);
    SentCache& sent = caches.Sent;
    Invert(sent.KeyBlock);
    Invert(sent.DpiBlock);
    Invert(sent.ColourBlock);
    Invert(sent.PollingByte);
    Invert(sent.LiftOffByte);
    Invert(sent.DebounceByte);
    Invert(sent.LightingBlock);
    Invert(sent.PowerPair);
    Invert(sent.WakeupByte);
    for (auto& buffer : sent.MacroEventBuffer) {
        for (auto& byte : buffer)
            byte = static_cast<std::uint8_t>(~byte);
    }
    return caches;
}

} // namespace vexmo::ctl
