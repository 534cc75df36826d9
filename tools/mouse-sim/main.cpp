// vexmo-mouse-sim: serves a simulated mouse on a Unix socket, and controls a running one.
// Usage and the protocol are in README.md beside this file.

#include "platform/base/sim_wire.h"
#include "sim_control.h"
#include "sim_mouse.h"
#include "sim_server.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <pthread.h>
#include <string>
#include <thread>
#include <vector>

using namespace vexmo;

namespace {

constexpr int kExitError = 1;      // the simulator answered with an error
constexpr int kExitUsage = 2;      // bad command line
constexpr int kExitUnreachable = 3;
constexpr int kTimeoutMs = 3000;

void PrintUsage(FILE* to)
{
    std::fprintf(to,
                 "usage:\n"
                 "  vexmo-mouse-sim serve --socket PATH [--cable] [--receiver] [--sensor CODE]\n"
                 "        [--battery N] [--charging N] [--show N] [--input-feature]\n"
                 "        [--decoys N] [--log FILE]\n"
                 "  vexmo-mouse-sim ctl [--socket PATH] COMMAND [ARGS]\n"
                 "commands:\n");
    for (const auto& line : SimControlUsage())
        std::fprintf(to, "  %s%s\n", line.c_str(), line == "log" ? " [--links]" : "");
}

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "vexmo-mouse-sim: %s\n", message.c_str());
    std::fprintf(stderr, "run \"vexmo-mouse-sim --help\" for the usage\n");
    return kExitUsage;
}

bool ParseByte(const char* text, long max, int& out)
{
    if (!text || !*text || *text == '-')
        return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 0);
    if (errno != 0 || *end != '\0' || v < 0 || v > max)
        return false;
    out = int(v);
    return true;
}

int Serve(int argc, char** argv)
{
    std::string socketPath, logPath;
    SimOptions options;
    options.cable = false;
    bool anyLink = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        int n = 0;
        if (arg == "--socket") {
            const char* v = value();
            if (!v)
                return UsageError("--socket needs a path");
            socketPath = v;
        } else if (arg == "--cable") {
            options.cable = anyLink = true;
        } else if (arg == "--receiver") {
            options.receiver = anyLink = true;
        } else if (arg == "--input-feature") {
            options.inputAlsoFeature = true;
        } else if (arg == "--log") {
            const char* v = value();
            if (!v)
                return UsageError("--log needs a file");
            logPath = v;
        } else if (arg == "--sensor" || arg == "--battery" || arg == "--charging" ||
                   arg == "--show") {
            if (!ParseByte(value(), 255, n))
                return UsageError(arg + " needs a number from 0 to 255");
            uint8_t& field = arg == "--sensor"     ? options.sensorCode
                             : arg == "--battery"  ? options.battery
                             : arg == "--charging" ? options.charging
                                                   : options.showBit;
            field = uint8_t(n);
        } else if (arg == "--decoys") {
            if (!ParseByte(value(), 1000, n))
                return UsageError("--decoys needs a number from 0 to 1000");
            options.extraDecoys = n;
        } else {
            return UsageError("unknown option for serve: " + arg);
        }
    }
    if (socketPath.empty())
        return UsageError("serve needs --socket PATH");
    if (!anyLink)
        options.cable = true;

    std::unique_ptr<FILE, int (*)(FILE*)> logFile(nullptr, &std::fclose);
    if (!logPath.empty()) {
        logFile.reset(std::fopen(logPath.c_str(), "w"));
        if (!logFile) {
            std::fprintf(stderr, "vexmo-mouse-sim: cannot write %s: %s\n", logPath.c_str(),
                         std::strerror(errno));
            return kExitError;
        }
    }

    // Signals are taken by one thread so that the others never see them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SimMouse mouse(options);
    if (logFile) {
        FILE* f = logFile.get();
        mouse.SetLogSink([f](const SimLogEntry& e) {
            std::fprintf(f, "%s\n", FormatSimLogEntry(e).c_str());
            std::fflush(f);
        });
    }
    SimServer server(mouse, socketPath);
    std::string error;
    if (!server.Start(&error)) {
        std::fprintf(stderr, "vexmo-mouse-sim: %s\n", error.c_str());
        return kExitError;
    }
    std::thread signalThread([&server, signals] {
        int sig = 0;
        sigwait(&signals, &sig);
        server.RequestQuit();
    });

    std::printf("ready %s\n", socketPath.c_str());
    std::fflush(stdout);
    server.WaitForQuit();
    // A quit by command leaves the signal thread waiting: wake it so that it can be joined.
    pthread_kill(signalThread.native_handle(), SIGTERM);
    signalThread.join();
    server.Stop();
    mouse.SetLogSink(nullptr);
    return 0;
}

int Control(int argc, char** argv)
{
    std::string socketPath = SimSocketPathFromEnv();
    std::vector<std::string> words;
    bool links = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--socket" && words.empty()) {
            if (i + 1 >= argc)
                return UsageError("--socket needs a path");
            socketPath = argv[++i];
        } else if (arg == "--links" && !words.empty() && words[0] == "log") {
            links = true;
        } else {
            words.push_back(arg);
        }
    }
    if (socketPath.empty())
        return UsageError("ctl needs --socket PATH (or VEXMO_MOUSE_SIM)");
    SimControlCommand command;
    std::string error;
    if (!ParseSimControl(words, command, error))
        return UsageError(words.empty() ? error : words[0] + ": " + error);

    std::string request;
    for (const auto& w : words)
        request += (request.empty() ? "" : " ") + w;
    SimLineSocket conn;
    if (!conn.Connect(socketPath, kTimeoutMs, &error)) {
        std::fprintf(stderr, "vexmo-mouse-sim: the simulator is not reachable: %s\n",
                     error.c_str());
        return kExitUnreachable;
    }
    std::string reply;
    if (!conn.Request(request, reply, kTimeoutMs)) {
        std::fprintf(stderr, "vexmo-mouse-sim: no answer from the simulator at %s\n",
                     socketPath.c_str());
        return kExitUnreachable;
    }
    auto replyWords = SimSplitWords(reply);
    if (replyWords.empty() || replyWords[0] != "ok") {
        const std::string message = reply.rfind("err ", 0) == 0 ? reply.substr(4) : reply;
        std::fprintf(stderr, "vexmo-mouse-sim: %s\n", message.c_str());
        return kExitError;
    }
    if (command.kind == SimControlCommand::Kind::Log ||
        command.kind == SimControlCommand::Kind::State) {
        int count = 0;
        if (replyWords.size() != 2 || !ParseByte(replyWords[1].c_str(), 100000000, count)) {
            std::fprintf(stderr, "vexmo-mouse-sim: malformed answer: %s\n", reply.c_str());
            return kExitError;
        }
        for (int i = 0; i < count; ++i) {
            std::string line;
            if (!conn.ReadLine(line, kTimeoutMs)) {
                std::fprintf(stderr, "vexmo-mouse-sim: the %s ended early\n", words[0].c_str());
                return kExitUnreachable;
            }
            if (command.kind == SimControlCommand::Kind::Log && !links) {
                // "<ms> <hex>" without the link.
                auto parts = SimSplitWords(line);
                if (parts.size() >= 2)
                    line = parts[0] + " " + parts[1];
            }
            std::printf("%s\n", line.c_str());
        }
    } else if (command.kind == SimControlCommand::Kind::Status) {
        std::printf("%s\n", reply.size() > 3 ? reply.substr(3).c_str() : "");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return UsageError("no mode given (serve or ctl)");
    const std::string mode = argv[1];
    if (mode == "--help" || mode == "-h" || mode == "help") {
        PrintUsage(stdout);
        return 0;
    }
    if (mode == "serve")
        return Serve(argc - 2, argv + 2);
    if (mode == "ctl")
        return Control(argc - 2, argv + 2);
    return UsageError("unknown mode \"" + mode + "\" (serve or ctl)");
}
