// module-sim: stands in for the master radio module on a pseudo-terminal (or a serial device), so that
// the console and its tests have modules to talk to.
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "platform/backend/file.h"
#include "platform/backend/serialdevice.h"
#include "platform/rtl/UString.h"
#include "platform/win32/comm.h"
#include "tools/module-sim/ModuleSim.h"

namespace {

using namespace std::chrono_literals;

// The simulator's side of the line.
class Line {
public:
    virtual ~Line() = default;
    virtual const std::string& Path() const = 0;
    // Bytes that came within the wait (none at a time-out); false when the line failed for good.
    virtual bool Read(std::vector<std::uint8_t>& bytes) = 0;
    virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
};

// The far end of a new pseudo-terminal; the console opens its near end.
class PseudoTerminalLine : public Line {
public:
    bool Open() {
        int error = 0;
        if (backend::OpenPseudoTerminal(FTerminal, &error))
            return true;
        std::fprintf(stderr, "module-sim: cannot open a pseudo-terminal (errno %d)\n", error);
        return false;
    }
    ~PseudoTerminalLine() override {
        if (FTerminal.masterFd >= 0)
            backend::CloseFile(FTerminal.masterFd, nullptr);
    }
    const std::string& Path() const override { return FTerminal.path; }
    bool Read(std::vector<std::uint8_t>& bytes) override {
        bytes.clear();
        if (!backend::WaitReadable(FTerminal.masterFd, 200))
            return true;
        std::uint8_t chunk[256];
        int error = 0;
        const std::int64_t got = backend::ReadFile(FTerminal.masterFd, chunk, sizeof chunk, &error);
        // While no client has the port open the far end reads as hung up: look again a little later.
        if (got <= 0) {
            std::this_thread::sleep_for(20ms);
            return true;
        }
        bytes.assign(chunk, chunk + got);
        return true;
    }
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        int error = 0;
        return backend::WriteFile(FTerminal.masterFd, bytes, static_cast<std::int64_t>(count), &error) ==
               static_cast<std::int64_t>(count);
    }

private:
    backend::PseudoTerminal FTerminal;
};

// A serial device, through the platform's comm calls.
class DeviceLine : public Line {
public:
    bool Open(const std::string& path, std::uint32_t baudRate) {
        FPath = path;
        FHandle = CreateFileW(Utf8ToString(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
        if (FHandle == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "module-sim: cannot open %s (error %u)\n", path.c_str(), GetLastError());
            return false;
        }
        DCB dcb{};
        GetCommState(FHandle, &dcb);
        dcb.BaudRate = baudRate;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = 1;
        COMMTIMEOUTS timeouts{MAXDWORD, MAXDWORD, 200, 0, 0};
        if (!SetCommState(FHandle, &dcb) || !SetCommTimeouts(FHandle, &timeouts)) {
            std::fprintf(stderr, "module-sim: cannot set up %s (error %u)\n", path.c_str(), GetLastError());
            return false;
        }
        return true;
    }
    ~DeviceLine() override {
        if (FHandle != INVALID_HANDLE_VALUE)
            CloseHandle(FHandle);
    }
    const std::string& Path() const override { return FPath; }
    bool Read(std::vector<std::uint8_t>& bytes) override {
        bytes.resize(256);
        DWORD read = 0;
        if (!ReadFile(FHandle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
            return false;
        bytes.resize(read);
        return true;
    }
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        DWORD written = 0;
        return WriteFile(FHandle, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
    }

private:
    std::string FPath;
    HANDLE FHandle = INVALID_HANDLE_VALUE;
};

bool SendFrame(Line& line, const modulesim::Frame& frame, const modulesim::Options& options) {
    const std::size_t piece = options.splitBytes ? options.splitBytes : frame.size();
    for (std::size_t at = 0; at < frame.size(); at += piece) {
        if (at > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(options.splitDelayMilliseconds));
        if (!line.Write(frame.data() + at, std::min(piece, frame.size() - at)))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(modulesim::Usage().c_str(), stdout);
        return 0;
    }
    modulesim::Options options = modulesim::DefaultOptions();
    std::string message;
    if (!modulesim::ParseOptions(args, options, message)) {
        std::fprintf(stderr, "module-sim: %s\n%s", message.c_str(), modulesim::Usage().c_str());
        return 2;
    }

    std::unique_ptr<Line> line;
    if (options.device.empty()) {
        auto terminal = std::make_unique<PseudoTerminalLine>();
        if (!terminal->Open())
            return 1;
        line = std::move(terminal);
    } else {
        auto device = std::make_unique<DeviceLine>();
        if (!device->Open(options.device, options.baudRate))
            return 1;
        line = std::move(device);
    }
    std::printf("%s\n", line->Path().c_str());
    std::fflush(stdout);

    modulesim::Master master(options);
    std::vector<std::uint8_t> bytes;
    for (;;) {
        if (!line->Read(bytes)) {
            std::fprintf(stderr, "module-sim: the line failed (error %u)\n", GetLastError());
            return 1;
        }
        for (const modulesim::Frame& frame : master.Receive(bytes.data(), bytes.size())) {
            if (!SendFrame(*line, frame, options)) {
                std::fprintf(stderr, "module-sim: cannot send a frame\n");
                return 1;
            }
            if (options.reportFrames) {
                std::printf("sent %u\n", static_cast<unsigned>(frame[32]));
                std::fflush(stdout);
            }
        }
    }
}
