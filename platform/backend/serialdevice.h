// The serial device under the Win32 comm calls: one small interface, implemented on termios for real
// ports and pseudo-terminals and by a fake that tests drive by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace backend {

enum class SerialParity { None, Odd, Even, Mark, Space };
enum class SerialStopBits { One, OneAndHalf, Two };

// The line settings a device applies itself. What the driver above does on its own (event and error
// characters, discarding NULs, DSR sensitivity) is not here.
struct SerialConfig {
    std::uint32_t baudRate = 9600;
    int dataBits = 8; // 5 to 8
    SerialParity parity = SerialParity::None;
    SerialStopBits stopBits = SerialStopBits::One;
    bool parityCheck = false; // report received bytes with bad parity
    bool ctsFlow = false; // hold output while CTS is off (RTS handshake on input, where the device ties them)
    bool dsrFlow = false; // hold output while DSR is off
    bool xonXoffOutput = false; // stop sending on a received XOFF until XON
    bool xonXoffInput = false;  // send XOFF and XON as the input fills and drains
    std::uint8_t xonChar = 0x11;
    std::uint8_t xoffChar = 0x13;
    bool operator==(const SerialConfig&) const = default;
};

// Modem lines, as bits.
enum SerialLine : unsigned {
    LineCts = 1,
    LineDsr = 2,
    LineRing = 4,
    LineRlsd = 8,
};

enum class ReceiveError { Parity, Framing };

// How the device reports to the driver above. Calls come from the device's own thread (termios) or
// from the thread driving a fake, never while the device holds a lock of its own, so the listener may
// call the device back.
class SerialListener {
public:
    virtual ~SerialListener() = default;
    // Bytes received in order. What does not fit the driver's queue is lost there; the termios device
    // reads no more than ReceiveRoom() from the kernel, so it loses nothing.
    virtual void Received(const std::uint8_t* bytes, std::size_t count) = 0;
    // One byte that arrived with a parity or framing error.
    virtual void ReceivedInError(std::uint8_t byte, ReceiveError error) = 0;
    virtual void BreakReceived() = 0;
    virtual void Overrun() = 0;
    // The input lines (SerialLine bits) changed.
    virtual void LinesChanged(unsigned lines) = 0;
    // Sending went on by itself: remaining bytes of the last Write are still to send (0: all sent).
    // Sending that a call of the driver releases (SetOutputHold) is not reported; the driver reads
    // OutputPending after such a call.
    virtual void Transmitted(std::size_t remaining) = 0;
    // The device went away (unplugged, or the far end of a pseudo-terminal closed). error is the
    // errno that showed it. Nothing is reported after this.
    virtual void Lost(int error) = 0;
    // Free room in the driver's input queue.
    virtual std::size_t ReceiveRoom() = 0;
};

// Every call that can fail returns false (or -1) and stores the errno value of the failure in *error.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Starts reporting to listener; the listener must outlive the device or Close.
    virtual void Start(SerialListener* listener) = 0;
    // Stops reporting (waits for a call in progress to return) and releases the device. Called once,
    // with no lock of the listener held.
    virtual void Close() = 0;

    virtual bool GetConfig(SerialConfig& config, int* error) = 0;
    virtual bool SetConfig(const SerialConfig& config, int* error) = 0;

    // Starts sending bytes, which the caller keeps alive until Transmitted reports them all or
    // PurgeOutput. Returns how many left at once (the rest follows through Transmitted), or -1.
    virtual long Write(const std::uint8_t* bytes, std::size_t count, int* error) = 0;
    // Sends one byte ahead of any waiting output.
    virtual bool TransmitImmediate(std::uint8_t byte, int* error) = 0;
    // Bytes of the last Write not sent yet.
    virtual std::size_t OutputPending() = 0;
    // Drops output not yet sent (of the last Write and below).
    virtual void PurgeOutput() = 0;
    // Drops input the device holds below the driver.
    virtual void PurgeInput() = 0;
    // The driver's input queue has room again after ReceiveRoom() said 0.
    virtual void ReceiveRoomAvailable() = 0;

    // Input lines as SerialLine bits. A device without modem lines reads all of them off.
    virtual bool GetLines(unsigned& lines, int* error) = 0;
    // Output lines; a device without modem lines takes the change without effect.
    virtual bool SetDtr(bool on, int* error) = 0;
    virtual bool SetRts(bool on, int* error) = 0;
    virtual bool SetBreak(bool on, int* error) = 0;
    // Acts as if XOFF (hold) or XON (release) had been received.
    virtual bool SetOutputHold(bool hold, int* error) = 0;
};

// Opens the device file at path, exclusively (a second open fails with EBUSY), in raw mode. Returns
// nullptr with *error set on failure.
std::unique_ptr<SerialDevice> OpenTermiosDevice(const std::string& path, int* error);

// A pseudo-terminal for tests and the module simulator: the far end (master) as a descriptor, and the
// path of the near end that CreateFile opens.
struct PseudoTerminal {
    int masterFd = -1;
    std::string path;
};
// Opens a new pseudo-terminal in raw mode; false with *error set on failure.
bool OpenPseudoTerminal(PseudoTerminal& terminal, int* error);
// Waits up to milliseconds (real time) until fd can be read; false on a time-out.
bool WaitReadable(int fd, int milliseconds);

// The fake device's far end, which a test holds. Register one under a name, and CreateFile on "\\.\"
// + name opens it (once at a time, as a real port).
class FakeSerialPort {
public:
    virtual ~FakeSerialPort() = default;
    // Bytes the far end sends; the driver's queue takes what fits, the rest is lost as on a port
    // without flow control.
    virtual void PushReceived(const std::vector<std::uint8_t>& bytes) = 0;
    virtual void PushError(std::uint8_t byte, ReceiveError error) = 0;
    virtual void PushBreak() = 0;
    virtual void PushOverrun() = 0;
    // Sets the input lines (SerialLine bits) as the far end drives them.
    virtual void SetLines(unsigned lines) = 0;
    // Holds transmission as a stuck transmitter would (releasing sends what waits).
    virtual void SetStalled(bool stalled) = 0;
    // The far end disappears: the device is lost with EIO.
    virtual void Unplug() = 0;

    // Everything sent so far (TransmitImmediate bytes included), cleared by the call.
    virtual std::vector<std::uint8_t> TakeSent() = 0;
    virtual bool Dtr() const = 0;
    virtual bool Rts() const = 0;
    virtual bool Break() const = 0;
    virtual bool IsOpen() const = 0;
    virtual SerialConfig Config() const = 0;
};

std::shared_ptr<FakeSerialPort> RegisterFakeSerialPort(const std::string& name);
void UnregisterFakeSerialPort(const std::string& name);
// The fake registered under name, or nullptr: with *error 0 when there is none, EBUSY when it is open.
std::unique_ptr<SerialDevice> OpenFakeSerialDevice(const std::string& name, int* error);

} // namespace backend
