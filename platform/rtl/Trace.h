// Trace channels: one per area (message, paint, serial ...), switched on by the environment variable
// ZELMOR_DEBUG, for example ZELMOR_DEBUG=+message,+paint or ZELMOR_DEBUG=+all,-timer.
#pragma once

#include <atomic>

namespace Trace {

enum class Level { Trace = 1, Warn = 2, Fixme = 4, Error = 8 };

// A channel is a static object of the file that traces on it. Asking whether a level is on costs one
// atomic load once the environment has been read.
class Channel {
public:
    explicit constexpr Channel(const char* name) : FName(name) {}
    const char* Name() const { return FName; }
    bool On(Level level) const {
        int mask = FMask.load(std::memory_order_relaxed);
        if (mask < 0)
            mask = Resolve();
        return (mask & static_cast<int>(level)) != 0;
    }

private:
    friend void Reset();
    int Resolve() const;
    const char* FName;
    mutable std::atomic<int> FMask{-1}; // levels switched on; -1 until the environment is read
};

// Writes "level:channel: text" and a line break to the standard error stream, in one piece.
void Write(const Channel& channel, Level level, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Rereads ZELMOR_DEBUG for every channel (tests change it while the program runs).
void Reset();

} // namespace Trace

// Arguments are evaluated only when the level is on.
#define ZTRACE(channel, ...)                                                                                 \
    do {                                                                                                     \
        if ((channel).On(Trace::Level::Trace))                                                               \
            Trace::Write((channel), Trace::Level::Trace, __VA_ARGS__);                                       \
    } while (0)
#define ZWARN(channel, ...)                                                                                  \
    do {                                                                                                     \
        if ((channel).On(Trace::Level::Warn))                                                                \
            Trace::Write((channel), Trace::Level::Warn, __VA_ARGS__);                                        \
    } while (0)
#define ZFIXME(channel, ...)                                                                                 \
    do {                                                                                                     \
        if ((channel).On(Trace::Level::Fixme))                                                               \
            Trace::Write((channel), Trace::Level::Fixme, __VA_ARGS__);                                       \
    } while (0)
#define ZERROR(channel, ...)                                                                                 \
    do {                                                                                                     \
        if ((channel).On(Trace::Level::Error))                                                               \
            Trace::Write((channel), Trace::Level::Error, __VA_ARGS__);                                       \
    } while (0)
