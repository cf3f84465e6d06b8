// The simulated master radio module: its options, and the frames its measurement modules send.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace modulesim {

inline constexpr int kModules = 5;
inline constexpr int kValues = 15;
inline constexpr std::size_t kFrameSize = 40;
inline constexpr std::uint8_t kNetworkAddress = 26;
inline constexpr std::uint8_t kFirstModuleAddress = 42; // module 1; module 5 is 46
inline constexpr int kNoStrength = -64;                 // "no reading"
inline constexpr char kPoll[] = "123|";

using Frame = std::array<std::uint8_t, kFrameSize>;

struct ModuleSetup {
    std::array<std::uint16_t, kValues> values{};
    int step = 0;     // added to every value after each frame of the module (wrapping)
    int strength = 0; // dBm, signed 16-bit
};

struct Options {
    std::string device; // a serial device to serve instead of a new pseudo-terminal
    std::uint32_t baudRate = 9600;
    std::vector<int> answering{1, 2, 3, 4, 5}; // modules that answer, in turn (1-5)
    std::array<ModuleSetup, kModules> modules{};
    int badChecksumPercent = 0; // share of frames sent with a wrong checksum
    int silencePercent = 0;     // share of polls left unanswered
    std::size_t splitBytes = 0; // frames go out in writes of this many bytes (0: whole)
    int splitDelayMilliseconds = 5;
    std::uint32_t seed = 1;
    bool reportFrames = false; // a line "sent N" on standard output once frame N is written whole
};

// The defaults: module m's value k is m x 1000 + k x 10, its strength -60 - m dBm.
Options DefaultOptions();
// Reads the command line (without the program name) over the defaults; false with a message.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& message);
std::string Usage();

// The XOR of bytes 0-35, which byte 36 carries.
std::uint8_t Checksum(const Frame& frame);

// The frames of the modules in turn, as the options set them.
class Master {
public:
    explicit Master(const Options& options);
    // What to send for bytes received: one frame per complete poll (polls may be split across calls and
    // other bytes are ignored), none for a poll left in silence.
    std::vector<Frame> Receive(const std::uint8_t* bytes, std::size_t count);
    // The next module's frame; its values move on by the module's step.
    Frame NextFrame();

private:
    Options FOptions;
    std::size_t FTurn = 0;      // index into the answering modules
    std::string FPending;       // the tail of the input that may start a poll
    std::uint8_t FSequence = 0; // counts frames, in byte 32
    std::mt19937 FRandom;
};

} // namespace modulesim
