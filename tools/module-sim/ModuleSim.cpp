// Options and frames of the simulated master radio module.
#include "tools/module-sim/ModuleSim.h"

#include <charconv>

namespace modulesim {

namespace {

bool ParseInt(const std::string& text, long long low, long long high, long long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

// "M=REST": the module number (1-5) and the rest.
bool ParseModuleArgument(const std::string& text, int& module, std::string& rest) {
    const std::size_t equals = text.find('=');
    long long number;
    if (equals == std::string::npos || !ParseInt(text.substr(0, equals), 1, kModules, number))
        return false;
    module = static_cast<int>(number);
    rest = text.substr(equals + 1);
    return true;
}

} // namespace

Options DefaultOptions() {
    Options options;
    for (int m = 1; m <= kModules; ++m) {
        ModuleSetup& setup = options.modules[m - 1];
        for (int k = 0; k < kValues; ++k)
            setup.values[k] = static_cast<std::uint16_t>(m * 1000 + k * 10);
        setup.strength = -60 - m;
    }
    return options;
}

std::string Usage() {
    return "usage: module-sim [options]\n"
           "  Opens a pseudo-terminal, prints the path of its port on the first line, and answers each\n"
           "  poll \"123|\" with one 40-byte frame of the next answering module.\n"
           "  --device PATH        serve this serial device instead of a new pseudo-terminal\n"
           "  --baud N             line speed on --device (default 9600)\n"
           "  --modules LIST       modules that answer, in turn, e.g. 1,3 (default 1,2,3,4,5)\n"
           "  --values M=V0,V1,..  values of module M (up to 15, 0-65535; the rest 0)\n"
           "  --step M=N           added to each value of module M after each of its frames\n"
           "  --strength M=DBM     signal strength of module M (-64 means no reading)\n"
           "  --bad-checksum PCT   share of frames with a wrong checksum (0-100)\n"
           "  --silence PCT        share of polls left unanswered (0-100)\n"
           "  --split N            send frames in writes of N bytes\n"
           "  --split-delay MS     pause between those writes (default 5)\n"
           "  --seed N             seed of the random choices (default 1)\n"
           "  --report-frames      print \"sent N\" once frame N (byte 32) is written whole\n";
}

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& message) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--report-frames") {
            options.reportFrames = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            message = "missing value for " + name;
            return false;
        }
        const std::string& value = args[++i];
        long long number = 0;
        int module = 0;
        std::string rest;
        bool ok = true;
        if (name == "--device") {
            options.device = value;
        } else if (name == "--baud") {
            ok = ParseInt(value, 1, 100000000, number);
            options.baudRate = static_cast<std::uint32_t>(number);
        } else if (name == "--modules") {
            options.answering.clear();
            for (const std::string& part : Split(value, ',')) {
                ok = ok && ParseInt(part, 1, kModules, number);
                options.answering.push_back(static_cast<int>(number));
            }
        } else if (name == "--values") {
            ok = ParseModuleArgument(value, module, rest);
            const std::vector<std::string> parts = ok ? Split(rest, ',') : std::vector<std::string>{};
            ok = ok && parts.size() <= kValues;
            if (ok)
                options.modules[module - 1].values.fill(0);
            for (std::size_t k = 0; ok && k < parts.size(); ++k) {
                ok = ParseInt(parts[k], 0, 65535, number);
                options.modules[module - 1].values[k] = static_cast<std::uint16_t>(number);
            }
        } else if (name == "--step") {
            ok = ParseModuleArgument(value, module, rest) && ParseInt(rest, -65535, 65535, number);
            if (ok)
                options.modules[module - 1].step = static_cast<int>(number);
        } else if (name == "--strength") {
            ok = ParseModuleArgument(value, module, rest) && ParseInt(rest, -32768, 32767, number);
            if (ok)
                options.modules[module - 1].strength = static_cast<int>(number);
        } else if (name == "--bad-checksum") {
            ok = ParseInt(value, 0, 100, number);
            options.badChecksumPercent = static_cast<int>(number);
        } else if (name == "--silence") {
            ok = ParseInt(value, 0, 100, number);
            options.silencePercent = static_cast<int>(number);
        } else if (name == "--split") {
            ok = ParseInt(value, 0, kFrameSize, number);
            options.splitBytes = static_cast<std::size_t>(number);
        } else if (name == "--split-delay") {
            ok = ParseInt(value, 0, 10000, number);
            options.splitDelayMilliseconds = static_cast<int>(number);
        } else if (name == "--seed") {
            ok = ParseInt(value, 0, 0xFFFFFFFFLL, number);
            options.seed = static_cast<std::uint32_t>(number);
        } else {
            message = "unknown option " + name;
            return false;
        }
        if (!ok) {
            message = "bad value for " + name + ": " + value;
            return false;
        }
    }
    return true;
}

std::uint8_t Checksum(const Frame& frame) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < 36; ++i)
        sum ^= frame[i];
    return sum;
}

Master::Master(const Options& options) : FOptions(options), FRandom(options.seed) {}

std::vector<Frame> Master::Receive(const std::uint8_t* bytes, std::size_t count) {
    std::vector<Frame> frames;
    FPending.append(reinterpret_cast<const char*>(bytes), count);
    std::size_t at;
    while ((at = FPending.find(kPoll)) != std::string::npos) {
        FPending.erase(0, at + sizeof kPoll - 1);
        const bool silent = std::uniform_int_distribution<int>(0, 99)(FRandom) < FOptions.silencePercent;
        if (!silent && !FOptions.answering.empty())
            frames.push_back(NextFrame());
    }
    // Only a tail that could begin a poll needs keeping.
    if (FPending.size() > sizeof kPoll - 2)
        FPending.erase(0, FPending.size() - (sizeof kPoll - 2));
    return frames;
}

Frame Master::NextFrame() {
    const int module = FOptions.answering[FTurn];
    FTurn = (FTurn + 1) % FOptions.answering.size();
    ModuleSetup& setup = FOptions.modules[module - 1];
    Frame frame{};
    for (int k = 0; k < kValues; ++k) {
        frame[2 * k] = static_cast<std::uint8_t>(setup.values[k] >> 8);
        frame[2 * k + 1] = static_cast<std::uint8_t>(setup.values[k] & 0xFF);
        setup.values[k] = static_cast<std::uint16_t>(setup.values[k] + setup.step);
    }
    frame[30] = kNetworkAddress;
    frame[31] = static_cast<std::uint8_t>(kFirstModuleAddress + module - 1);
    frame[32] = FSequence++;
    frame[33] = static_cast<std::uint8_t>(module);
    frame[36] = Checksum(frame);
    if (std::uniform_int_distribution<int>(0, 99)(FRandom) < FOptions.badChecksumPercent)
        frame[36] ^= 0x5A;
    const auto strength = static_cast<std::uint16_t>(static_cast<std::int16_t>(setup.strength));
    frame[37] = static_cast<std::uint8_t>(strength >> 8);
    frame[39] = static_cast<std::uint8_t>(strength & 0xFF);
    return frame;
}

} // namespace modulesim
