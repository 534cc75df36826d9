// vexmoctl: the mouse from the command line, on the same core as vexmo.
//
//   vexmoctl reports PROFILE.psf [--library FILE.mlf] [--sensor 0xNNNN] [--seq N] [--since OTHER.psf]
//   vexmoctl info
//   vexmoctl apply PROFILE.psf [--library FILE.mlf]
//   vexmoctl reset
//
// The mouse is reached through hidraw, or through the simulated mouse when VEXMO_MOUSE_SIM
// names its socket.

#include "device_session.h"
#include "full_write.h"

#include "data/profile_file.h"
#include "data/profile_record.h"
#include "data/sensor_id.h"
#include "data/text_format.h"
#include "device/identity_reply.h"
#include "device/report_capture.h"
#include "device/setting_commands.h"
#include "macros/macro_library.h"
#include "macros/macro_library_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace vexmo;
using ctl::CachesHolding;
using ctl::CachesHoldingNothingOf;

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;

const char* const kUsage =
    "usage: vexmoctl reports PROFILE.psf [--library FILE.mlf] [--sensor 0xNNNN] [--seq N] [--since OTHER.psf]\n"
    "       vexmoctl info\n"
    "       vexmoctl apply PROFILE.psf [--library FILE.mlf]\n"
    "       vexmoctl reset\n"
    "The mouse is reached through hidraw, or the simulated mouse when VEXMO_MOUSE_SIM is set.\n";

int Usage(const std::string& message)
{
    if (!message.empty())
        std::fprintf(stderr, "vexmoctl: %s\n", message.c_str());
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "vexmoctl: %s\n", message.c_str());
    return kExitFailed;
}

// The command's operand and its --options; false with a message for anything unexpected.
struct Arguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string> options;
};

bool ParseArguments(int argc, char** argv, const std::vector<std::string>& known, Arguments& out,
                    std::string& error)
{
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            out.operands.push_back(arg);
            continue;
        }
        bool isKnown = false;
        for (const auto& k : known)
            isKnown = isKnown || k == arg;
        if (!isKnown) {
            error = "unknown option " + arg;
            return false;
        }
        if (i + 1 >= argc) {
            error = arg + " needs a value";
            return false;
        }
        if (out.options.count(arg)) {
            error = arg + " given twice";
            return false;
        }
        out.options[arg] = argv[++i];
    }
    return true;
}

// A whole number in decimal or with 0x in hexadecimal, within [0, max].
std::optional<unsigned long> ParseNumber(const std::string& text, unsigned long max)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || text[0] == '-' || value > max)
        return std::nullopt;
    return value;
}

bool ReadProfile(const std::string& path, ProfileRecord& record, std::string& error)
{
    if (!std::filesystem::is_regular_file(path)) {
        error = "cannot read profile " + path;
        return false;
    }
    FillDefaults(record, 0);
    if (!ReadProfileRecord(record, Utf8ToUtf16(path))) {
        error = "not a readable profile file: " + path;
        return false;
    }
    return true;
}

bool ReadLibrary(const Arguments& args, MacroLibrary& library, std::string& error)
{
    const auto it = args.options.find("--library");
    if (it == args.options.end())
        return true;
    if (!std::filesystem::is_regular_file(it->second) ||
        !ReadMacroLibraryFile(Utf8ToUtf16(it->second), library)) {
        error = "not a readable macro library file: " + it->second;
        return false;
    }
    return true;
}

const char* const kNoMouse = "no mouse found (neither its cable nor its receiver)";

// The mouse's answer to the identity query; none when it gave no answer.
std::optional<IdentityStatus> QueryIdentity(ctl::DeviceSession& session)
{
    std::optional<IdentityStatus> status;
    session.Link().Hooks.DecodeIdentityReply = [&](const Report& reply) { status = ParseIdentityReply(reply); };
    session.Link().QueryDeviceInfo();
    return status;
}

std::string Hex(const Report& report)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : report) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

int Reports(int argc, char** argv)
{
    Arguments args;
    std::string error;
    if (!ParseArguments(argc, argv, {"--library", "--sensor", "--seq", "--since"}, args, error))
        return Usage(error);
    if (args.operands.size() != 1)
        return Usage("reports needs exactly one profile file");

    uint16_t sensor = kDefaultSensorId;
    if (auto it = args.options.find("--sensor"); it != args.options.end()) {
        const auto value = ParseNumber(it->second, 0xFFFF);
        if (!value)
            return Usage("--sensor needs a 16-bit number, e.g. 0x3212");
        sensor = static_cast<uint16_t>(*value);
    }
    uint8_t seq = 0;
    if (auto it = args.options.find("--seq"); it != args.options.end()) {
        const auto value = ParseNumber(it->second, 255);
        if (!value)
            return Usage("--seq needs a number from 0 to 255");
        seq = static_cast<uint8_t>(*value);
    }

    DpiTables tables;
    if (!tables.Rebuild(sensor)) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%04X", sensor);
        return Usage(std::string("no DPI tables for sensor ") + text);
    }
    auto library = std::make_unique<MacroLibrary>();
    if (!ReadLibrary(args, *library, error))
        return Fail(error);
    ProfileRecord profile;
    if (!ReadProfile(args.operands[0], profile, error))
        return Fail(error);

    CommandSources sources;
    sources.Dpi = &tables;
    sources.Library = library.get();
    sources.Texts = &LanguageTexts;

    DeviceCaches caches;
    if (auto it = args.options.find("--since"); it != args.options.end()) {
        ProfileRecord before;
        if (!ReadProfile(it->second, before, error))
            return Fail(error);
        caches = CachesHolding(before, sources);
    } else {
        caches = CachesHoldingNothingOf(profile, sources);
    }

    CapturingLink capture(seq);
    caches.MacroRefreshPending = 1;
    DirtyGroups dirty = DirtyGroups::All();
    ApplyDirtyGroups(capture.Link(), caches, profile, dirty, sources);
    for (const CapturedReport& r : capture.Reports())
        std::printf("%s\n", Hex(r.report).c_str());
    return 0;
}

int Info(int argc)
{
    if (argc > 2)
        return Usage("info takes no arguments");
    ctl::DeviceSession session;
    if (!session.Open())
        return Fail(kNoMouse);
    const std::optional<IdentityStatus> status = QueryIdentity(session);
    if (!status)
        return Fail("the mouse did not answer the identity query");
    std::printf("link=%s\n", session.Route().c_str());
    std::printf("identity=%s\n", status->MarkFound ? "found" : "missing");
    if (status->SensorId)
        std::printf("sensor=0x%04X\n", *status->SensorId);
    else
        std::printf("sensor=unknown\n");
    std::printf("sensor_code=0x%02X\n", status->SensorCode);
    std::printf("battery=%u\n", status->BatteryPercent);
    std::printf("charging=%d\n", status->ChargeState);
    std::printf("show=%d\n", status->ShowBit ? 1 : 0);
    return 0;
}

int Apply(int argc, char** argv)
{
    Arguments args;
    std::string error;
    if (!ParseArguments(argc, argv, {"--library"}, args, error))
        return Usage(error);
    if (args.operands.size() != 1)
        return Usage("apply needs exactly one profile file");
    auto library = std::make_unique<MacroLibrary>();
    if (!ReadLibrary(args, *library, error))
        return Fail(error);
    ProfileRecord profile;
    if (!ReadProfile(args.operands[0], profile, error))
        return Fail(error);

    ctl::DeviceSession session;
    if (!session.Open())
        return Fail(kNoMouse);
    // The DPI codes are the mouse's own sensor's.
    const std::optional<IdentityStatus> status = QueryIdentity(session);
    DpiTables tables;
    if (!status || !status->SensorId || !tables.Rebuild(*status->SensorId))
        tables.Rebuild(kDefaultSensorId);

    CommandSources sources;
    sources.Dpi = &tables;
    sources.Library = library.get();
    sources.Texts = &LanguageTexts;
    DeviceCaches caches = CachesHoldingNothingOf(profile, sources);
    caches.MacroRefreshPending = 1;
    DirtyGroups dirty = DirtyGroups::All();
    ApplyDirtyGroups(session.Link(), caches, profile, dirty, sources);
    return 0;
}

int Reset(int argc)
{
    if (argc > 2)
        return Usage("reset takes no arguments");
    ctl::DeviceSession session;
    if (!session.Open())
        return Fail(kNoMouse);
    SendFactoryReset(session.Link());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage("");
    const std::string command = argv[1];
    if (command == "reports")
        return Reports(argc, argv);
    if (command == "info")
        return Info(argc);
    if (command == "apply")
        return Apply(argc, argv);
    if (command == "reset")
        return Reset(argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return Usage("unknown command " + command);
}
