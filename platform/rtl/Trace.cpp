// Reading ZELMOR_DEBUG and writing trace lines.
#include "platform/rtl/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace Trace {

namespace {

constexpr int AllLevels = 1 | 2 | 4 | 8;
// Errors are shown unless a channel is switched off; the rest only on request.
constexpr int DefaultLevels = static_cast<int>(Level::Error);

struct ChannelList {
    std::mutex lock;
    std::vector<const Channel*> channels;
};

ChannelList& Channels() {
    static ChannelList list;
    return list;
}

int LevelBits(std::string_view name) {
    if (name == "trace")
        return static_cast<int>(Level::Trace);
    if (name == "warn")
        return static_cast<int>(Level::Warn);
    if (name == "fixme")
        return static_cast<int>(Level::Fixme);
    if (name == "err" || name == "error")
        return static_cast<int>(Level::Error);
    return AllLevels;
}

// Each item is [level]+channel or [level]-channel; "all" names every channel. Later items win.
int MaskFor(std::string_view channel) {
    const char* value = std::getenv("ZELMOR_DEBUG");
    int mask = DefaultLevels;
    if (!value)
        return mask;
    std::string_view rest(value);
    while (!rest.empty()) {
        size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        size_t sign = item.find_first_of("+-");
        if (sign == std::string_view::npos)
            continue;
        int bits = sign == 0 ? AllLevels : LevelBits(item.substr(0, sign));
        std::string_view name = item.substr(sign + 1);
        if (name != channel && name != "all")
            continue;
        if (item[sign] == '+')
            mask |= bits;
        else
            mask &= ~bits;
    }
    return mask;
}

const char* LevelName(Level level) {
    switch (level) {
    case Level::Trace:
        return "trace";
    case Level::Warn:
        return "warn";
    case Level::Fixme:
        return "fixme";
    case Level::Error:
        return "err";
    }
    return "?";
}

} // namespace

int Channel::Resolve() const {
    int mask = MaskFor(FName);
    int expected = -1;
    if (FMask.compare_exchange_strong(expected, mask)) {
        ChannelList& list = Channels();
        std::lock_guard<std::mutex> guard(list.lock);
        list.channels.push_back(this);
    }
    return mask;
}

void Write(const Channel& channel, Level level, const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::string line = std::string(LevelName(level)) + ":" + channel.Name() + ": " + buffer + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void Reset() {
    ChannelList& list = Channels();
    std::lock_guard<std::mutex> guard(list.lock);
    for (const Channel* channel : list.channels)
        channel->FMask.store(-1);
    list.channels.clear();
}

} // namespace Trace
