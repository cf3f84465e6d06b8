// The serial device on termios: real ports and pseudo-terminals, with one thread per open device that
// reads, sends what waits, and watches the modem lines.
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

#include "platform/backend/serialdevice.h"

namespace backend {

namespace {

// The kernel's own termios record, which carries any line speed (the custom-speed interface). The C
// library's record is laid out differently, so it is declared here with the kernel's layout.
struct KernelTermios {
    tcflag_t c_iflag;
    tcflag_t c_oflag;
    tcflag_t c_cflag;
    tcflag_t c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
    speed_t c_ispeed;
    speed_t c_ospeed;
};
constexpr unsigned long kGetTermios = _IOR('T', 0x2A, KernelTermios);
constexpr unsigned long kSetTermios = _IOW('T', 0x2B, KernelTermios);
constexpr tcflag_t kSpeedMask = 0010017;  // CBAUD
constexpr tcflag_t kOtherSpeed = 0010000; // BOTHER: the speed is in c_ispeed and c_ospeed
constexpr int kInputSpeedShift = 16;      // IBSHIFT
constexpr int kVMin = 6;                  // indexes into the kernel's c_cc
constexpr int kVTime = 5;

// How often the lines of a device that has them are read: a real UART tells no change by itself
// without a thread blocked in the kernel that cannot be woken to close.
constexpr int kLinePollMilliseconds = 10;

void SetError(int* error, int value) {
    if (error)
        *error = value;
}

bool Fail(int* error) {
    SetError(error, errno);
    return false;
}

class TermiosDevice : public SerialDevice {
public:
    TermiosDevice(int fd, int wakeRead, int wakeWrite) : FFd(fd), FWakeRead(wakeRead), FWakeWrite(wakeWrite) {
        int lines;
        FHasLines = ::ioctl(FFd, TIOCMGET, &lines) == 0;
        if (FHasLines)
            FLines = LinesFrom(lines);
        serial_icounter_struct counts{};
        FHasCounts = ::ioctl(FFd, TIOCGICOUNT, &counts) == 0;
        FCounts = counts;
    }
    ~TermiosDevice() override {
        if (FFd >= 0)
            Close();
    }

    void Start(SerialListener* listener) override {
        FListener = listener;
        FThread = std::thread([this] { Run(); });
    }

    void Close() override {
        {
            std::lock_guard lock(FMutex);
            FStop = true;
        }
        Wake();
        if (FThread.joinable())
            FThread.join();
        // The exclusive flag lives on the terminal, not on the descriptor: a pseudo-terminal outlives
        // this close while its far end is open, and would refuse every later open by an ordinary user.
        ::ioctl(FFd, TIOCNXCL);
        ::flock(FFd, LOCK_UN);
        ::close(FFd);
        ::close(FWakeRead);
        ::close(FWakeWrite);
        FFd = FWakeRead = FWakeWrite = -1;
    }

    bool GetConfig(SerialConfig& config, int* error) override {
        KernelTermios tio{};
        if (::ioctl(FFd, kGetTermios, &tio) != 0)
            return Fail(error);
        config.baudRate = tio.c_ospeed;
        switch (tio.c_cflag & CSIZE) {
        case CS5:
            config.dataBits = 5;
            break;
        case CS6:
            config.dataBits = 6;
            break;
        case CS7:
            config.dataBits = 7;
            break;
        default:
            config.dataBits = 8;
            break;
        }
        if (!(tio.c_cflag & PARENB))
            config.parity = SerialParity::None;
        else if (tio.c_cflag & CMSPAR)
            config.parity = (tio.c_cflag & PARODD) ? SerialParity::Mark : SerialParity::Space;
        else
            config.parity = (tio.c_cflag & PARODD) ? SerialParity::Odd : SerialParity::Even;
        // Two stop bits on five-bit words are one and a half on the line.
        if (!(tio.c_cflag & CSTOPB))
            config.stopBits = SerialStopBits::One;
        else
            config.stopBits = config.dataBits == 5 ? SerialStopBits::OneAndHalf : SerialStopBits::Two;
        config.parityCheck = (tio.c_iflag & INPCK) != 0;
        config.ctsFlow = (tio.c_cflag & CRTSCTS) != 0;
        config.dsrFlow = false;
        config.xonXoffOutput = (tio.c_iflag & IXON) != 0;
        config.xonXoffInput = (tio.c_iflag & IXOFF) != 0;
        config.xonChar = tio.c_cc[VSTART];
        config.xoffChar = tio.c_cc[VSTOP];
        return true;
    }

    bool SetConfig(const SerialConfig& config, int* error) override {
        KernelTermios tio{};
        if (::ioctl(FFd, kGetTermios, &tio) != 0)
            return Fail(error);
        // Raw bytes; errors and breaks marked in the stream (PARMRK), decoded by the reader.
        tio.c_iflag = PARMRK | (config.parityCheck ? INPCK : 0) | (config.xonXoffOutput ? IXON : 0) |
                      (config.xonXoffInput ? IXOFF : 0);
        tio.c_oflag = 0;
        tio.c_lflag = 0;
        tcflag_t cflag = CREAD | CLOCAL | kOtherSpeed | (kOtherSpeed << kInputSpeedShift);
        switch (config.dataBits) {
        case 5:
            cflag |= CS5;
            break;
        case 6:
            cflag |= CS6;
            break;
        case 7:
            cflag |= CS7;
            break;
        default:
            cflag |= CS8;
            break;
        }
        switch (config.parity) {
        case SerialParity::None:
            break;
        case SerialParity::Odd:
            cflag |= PARENB | PARODD;
            break;
        case SerialParity::Even:
            cflag |= PARENB;
            break;
        case SerialParity::Mark:
            cflag |= PARENB | CMSPAR | PARODD;
            break;
        case SerialParity::Space:
            cflag |= PARENB | CMSPAR;
            break;
        }
        if (config.stopBits != SerialStopBits::One)
            cflag |= CSTOPB;
        if (config.ctsFlow)
            cflag |= CRTSCTS;
        tio.c_cflag = cflag;
        tio.c_ispeed = tio.c_ospeed = config.baudRate;
        tio.c_cc[VSTART] = config.xonChar;
        tio.c_cc[VSTOP] = config.xoffChar;
        tio.c_cc[kVMin] = 1;
        tio.c_cc[kVTime] = 0;
        if (::ioctl(FFd, kSetTermios, &tio) != 0)
            return Fail(error);
        // The driver may refuse a setting without an error; it shows in what it kept.
        KernelTermios kept{};
        if (::ioctl(FFd, kGetTermios, &kept) != 0)
            return Fail(error);
        if ((kept.c_cflag & CSIZE) != (cflag & CSIZE) ||
            (kept.c_cflag & (PARENB | PARODD)) != (cflag & (PARENB | PARODD))) {
            SetError(error, EINVAL);
            return false;
        }
        return true;
    }

    long Write(const std::uint8_t* bytes, std::size_t count, int* error) override {
        std::unique_lock lock(FMutex);
        if (FGone) {
            SetError(error, EIO);
            return -1;
        }
        FOut = bytes;
        FOutCount = count;
        if (!SendLocked(error)) {
            FOut = nullptr;
            FOutCount = 0;
            return -1;
        }
        const std::size_t sent = count - FOutCount;
        lock.unlock();
        if (sent < count)
            Wake();
        return static_cast<long>(sent);
    }

    bool TransmitImmediate(std::uint8_t byte, int* error) override {
        ssize_t written;
        do {
            written = ::write(FFd, &byte, 1);
        } while (written < 0 && errno == EINTR);
        return written == 1 || Fail(error);
    }

    std::size_t OutputPending() override {
        std::lock_guard lock(FMutex);
        return FOutCount;
    }

    void PurgeOutput() override {
        std::lock_guard lock(FMutex);
        FOut = nullptr;
        FOutCount = 0;
        ::tcflush(FFd, TCOFLUSH);
    }

    void PurgeInput() override {
        std::lock_guard lock(FMutex);
        ::tcflush(FFd, TCIFLUSH);
        FInputPurged = true;
    }

    void ReceiveRoomAvailable() override {
        {
            std::lock_guard lock(FMutex);
            FRoomFreed = true;
            FRoomBlocked = false;
        }
        Wake();
    }

    bool GetLines(unsigned& lines, int* error) override {
        std::lock_guard lock(FMutex);
        if (FGone) {
            SetError(error, EIO);
            return false;
        }
        lines = 0;
        int modem;
        if (FHasLines && ::ioctl(FFd, TIOCMGET, &modem) == 0)
            lines = LinesFrom(modem);
        return true;
    }

    bool SetDtr(bool on, int* error) override { return SetLine(TIOCM_DTR, on, error); }
    bool SetRts(bool on, int* error) override { return SetLine(TIOCM_RTS, on, error); }

    bool SetBreak(bool on, int* error) override {
        if (::ioctl(FFd, on ? TIOCSBRK : TIOCCBRK) == 0)
            return true;
        // A pseudo-terminal has no line to hold in break; the request is taken without effect.
        return errno == ENOTTY || errno == EINVAL ? true : Fail(error);
    }

    bool SetOutputHold(bool hold, int* error) override {
        if (::tcflow(FFd, hold ? TCOOFF : TCOON) != 0)
            return Fail(error);
        return true;
    }

private:
    enum class MarkState { None, Escape, Error }; // after nothing, after 0xFF, after 0xFF 0x00

    static unsigned LinesFrom(int modem) {
        unsigned lines = 0;
        if (modem & TIOCM_CTS)
            lines |= LineCts;
        if (modem & TIOCM_DSR)
            lines |= LineDsr;
        if (modem & TIOCM_RNG)
            lines |= LineRing;
        if (modem & TIOCM_CD)
            lines |= LineRlsd;
        return lines;
    }

    bool SetLine(int line, bool on, int* error) {
        if (::ioctl(FFd, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
            return true;
        // A device without modem lines (a pseudo-terminal) takes the change without effect.
        return errno == ENOTTY || errno == EINVAL ? true : Fail(error);
    }

    void Wake() {
        const char byte = 1;
        [[maybe_unused]] ssize_t ignored = ::write(FWakeWrite, &byte, 1);
    }

    // Sends what the kernel takes now; false only on a failure other than a full queue.
    bool SendLocked(int* error) {
        while (FOutCount > 0) {
            ssize_t written = ::write(FFd, FOut, FOutCount);
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                if (errno == EAGAIN)
                    return true;
                return Fail(error);
            }
            FOut += written;
            FOutCount -= static_cast<std::size_t>(written);
        }
        return true;
    }

    // Which error a marked byte had: the framing counter of a real UART tells, else it was parity.
    ReceiveError ClassifyError() {
        serial_icounter_struct counts{};
        if (FHasCounts && ::ioctl(FFd, TIOCGICOUNT, &counts) == 0 && counts.frame > FCounts.frame) {
            ++FCounts.frame;
            return ReceiveError::Framing;
        }
        return ReceiveError::Parity;
    }

    // Turns the marked stream into clean runs, errors and breaks for the listener.
    void Decode(const std::uint8_t* bytes, std::size_t count) {
        std::size_t runStart = 0;
        auto flush = [&](std::size_t end) {
            if (end > runStart)
                FListener->Received(bytes + runStart, end - runStart);
        };
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t byte = bytes[i];
            switch (FMark) {
            case MarkState::None:
                if (byte == 0xFF) {
                    flush(i);
                    FMark = MarkState::Escape;
                    runStart = i + 1;
                }
                break;
            case MarkState::Escape:
                if (byte == 0xFF) {
                    // A doubled 0xFF is one data byte: it starts the next run.
                    FMark = MarkState::None;
                    runStart = i;
                } else {
                    FMark = MarkState::Error;
                    runStart = i + 1;
                }
                break;
            case MarkState::Error:
                if (byte == 0)
                    FListener->BreakReceived();
                else
                    FListener->ReceivedInError(byte, ClassifyError());
                FMark = MarkState::None;
                runStart = i + 1;
                break;
            }
        }
        if (FMark == MarkState::None)
            flush(count);
    }

    // Reads what the driver has room for; false when the device is gone (error set).
    bool ReadInput(int& error) {
        {
            std::lock_guard lock(FMutex);
            FRoomFreed = false;
        }
        std::size_t room = FListener->ReceiveRoom();
        if (room == 0) {
            std::lock_guard lock(FMutex);
            if (!FRoomFreed)
                FRoomBlocked = true;
            return true;
        }
        std::uint8_t buffer[4096];
        for (;;) {
            // Marks only shrink the stream, so what is read always fits the room.
            ssize_t got = ::read(FFd, buffer, std::min(room, sizeof buffer));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && errno == EAGAIN)
                return true;
            if (got <= 0) {
                // End of file on a terminal is a hang-up.
                error = got == 0 ? EIO : errno;
                return false;
            }
            {
                // A mark split by a purge would swallow the first byte that follows it.
                std::lock_guard lock(FMutex);
                if (std::exchange(FInputPurged, false))
                    FMark = MarkState::None;
            }
            Decode(buffer, static_cast<std::size_t>(got));
            return true;
        }
    }

    void PollLines() {
        int modem;
        if (::ioctl(FFd, TIOCMGET, &modem) == 0) {
            unsigned lines = LinesFrom(modem);
            bool changed;
            {
                std::lock_guard lock(FMutex);
                changed = lines != FLines;
                FLines = lines;
            }
            if (changed)
                FListener->LinesChanged(lines);
        }
        serial_icounter_struct counts{};
        if (FHasCounts && ::ioctl(FFd, TIOCGICOUNT, &counts) == 0) {
            const bool overrun =
                counts.overrun != FCounts.overrun || counts.buf_overrun != FCounts.buf_overrun;
            FCounts.overrun = counts.overrun;
            FCounts.buf_overrun = counts.buf_overrun;
            if (overrun)
                FListener->Overrun();
        }
    }

    void Run() {
        int lostError = 0;
        for (;;) {
            bool wantRead, wantWrite;
            {
                std::lock_guard lock(FMutex);
                if (FStop)
                    return;
                wantRead = !FRoomBlocked;
                wantWrite = FOutCount > 0;
            }
            pollfd fds[2] = {
                {FFd, static_cast<short>((wantRead ? POLLIN : 0) | (wantWrite ? POLLOUT : 0)), 0},
                {FWakeRead, POLLIN, 0}};
            int ready = ::poll(fds, 2, FHasLines ? kLinePollMilliseconds : -1);
            if (ready < 0 && errno != EINTR) {
                lostError = errno;
                break;
            }
            if (fds[1].revents & POLLIN) {
                char drain[64];
                while (::read(FWakeRead, drain, sizeof drain) > 0) {
                }
            }
            if (FHasLines)
                PollLines();
            const short events = fds[0].revents;
            if (events & POLLNVAL) {
                lostError = EBADF;
                break;
            }
            if (events & POLLOUT) {
                std::size_t remaining;
                bool ok;
                {
                    std::lock_guard lock(FMutex);
                    ok = SendLocked(&lostError);
                    remaining = FOutCount;
                }
                if (!ok)
                    break;
                FListener->Transmitted(remaining);
            }
            // Data left behind by a far end that closed is still delivered before the loss.
            if ((events & POLLIN) && !ReadInput(lostError))
                break;
            if ((events & (POLLHUP | POLLERR)) && !(events & POLLIN)) {
                lostError = EIO;
                break;
            }
        }
        {
            std::lock_guard lock(FMutex);
            FGone = true;
        }
        FListener->Lost(lostError);
        // Nothing more to report: wait quietly for Close.
        std::unique_lock lock(FMutex);
        while (!FStop) {
            lock.unlock();
            pollfd wake{FWakeRead, POLLIN, 0};
            ::poll(&wake, 1, -1);
            char drain[64];
            while (::read(FWakeRead, drain, sizeof drain) > 0) {
            }
            lock.lock();
        }
    }

    int FFd;
    int FWakeRead; // a pipe that wakes the thread from poll
    int FWakeWrite;
    std::thread FThread;
    SerialListener* FListener = nullptr;
    std::mutex FMutex;
    bool FStop = false;
    bool FGone = false;
    bool FRoomBlocked = false;          // the driver's queue was full: no reading until it has room
    bool FRoomFreed = false;            // room came free while the thread asked for it
    const std::uint8_t* FOut = nullptr; // the unsent rest of the last Write
    std::size_t FOutCount = 0;
    bool FHasLines = false; // the device has modem lines (a pseudo-terminal has none)
    unsigned FLines = 0;
    bool FHasCounts = false; // the driver counts line errors (TIOCGICOUNT)
    serial_icounter_struct FCounts{};
    MarkState FMark = MarkState::None; // the thread's own
    bool FInputPurged = false;         // PurgeInput ran: the thread forgets a mark in progress
};

} // namespace

std::unique_ptr<SerialDevice> OpenTermiosDevice(const std::string& path, int* error) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Fail(error);
        return nullptr;
    }
    if (!::isatty(fd)) {
        *error = errno == EBADF ? EBADF : ENOTTY;
        ::close(fd);
        return nullptr;
    }
    // A port belongs to one user at a time, as on the system this code was written for.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return nullptr;
    }
    int wake[2];
    if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
        Fail(error);
        ::close(fd);
        return nullptr;
    }
    // From here on the device's Close clears the flag again.
    ::ioctl(fd, TIOCEXCL);
    auto device = std::make_unique<TermiosDevice>(fd, wake[0], wake[1]);
    // Raw mode with the present line settings, so that reads see every byte as it came.
    SerialConfig config;
    if (!device->GetConfig(config, error) || !device->SetConfig(config, error)) {
        device->Close();
        return nullptr;
    }
    // A port opens with its input empty. A pseudo-terminal keeps what its far end wrote while the port
    // was closed (the rest of a frame, say), which would shift every later read.
    ::tcflush(fd, TCIFLUSH);
    return device;
}

bool OpenPseudoTerminal(PseudoTerminal& terminal, int* error) {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return Fail(error);
    char name[128];
    termios raw{};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0 ||
        ::tcgetattr(master, &raw) != 0) {
        Fail(error);
        ::close(master);
        return false;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(master, TCSANOW, &raw);
    terminal.masterFd = master;
    terminal.path = name;
    return true;
}

bool WaitReadable(int fd, int milliseconds) {
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, milliseconds);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace backend
