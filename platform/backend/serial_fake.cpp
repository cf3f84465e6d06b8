// The fake serial device: a port whose far end is a test, which pushes received bytes, line errors
// and modem lines, and reads what the port sent.
#include <cerrno>
#include <condition_variable>
#include <map>
#include <mutex>
#include <utility>

#include "platform/backend/serialdevice.h"

namespace backend {

namespace {

class FakeState : public FakeSerialPort {
public:
    void PushReceived(const std::vector<std::uint8_t>& bytes) override {
        if (!bytes.empty())
            Notify([&](SerialListener* listener) { listener->Received(bytes.data(), bytes.size()); });
    }
    void PushError(std::uint8_t byte, ReceiveError error) override {
        Notify([&](SerialListener* listener) { listener->ReceivedInError(byte, error); });
    }
    void PushBreak() override {
        Notify([](SerialListener* listener) { listener->BreakReceived(); });
    }
    void PushOverrun() override {
        Notify([](SerialListener* listener) { listener->Overrun(); });
    }
    void SetLines(unsigned lines) override {
        bool released;
        {
            std::lock_guard lock(FMutex);
            FLines = lines;
            released = ReleaseLocked();
        }
        Notify([&](SerialListener* listener) { listener->LinesChanged(lines); });
        if (released)
            Notify([](SerialListener* listener) { listener->Transmitted(0); });
    }
    void SetStalled(bool stalled) override {
        bool released;
        {
            std::lock_guard lock(FMutex);
            FStalled = stalled;
            released = ReleaseLocked();
        }
        if (released)
            Notify([](SerialListener* listener) { listener->Transmitted(0); });
    }
    void Unplug() override {
        {
            std::lock_guard lock(FMutex);
            FGone = true;
        }
        Notify([](SerialListener* listener) { listener->Lost(EIO); });
        std::lock_guard lock(FMutex);
        FListener = nullptr;
    }
    std::vector<std::uint8_t> TakeSent() override {
        std::lock_guard lock(FMutex);
        return std::exchange(FSent, {});
    }
    bool Dtr() const override {
        std::lock_guard lock(FMutex);
        return FDtr;
    }
    bool Rts() const override {
        std::lock_guard lock(FMutex);
        return FRts;
    }
    bool Break() const override {
        std::lock_guard lock(FMutex);
        return FBreak;
    }
    bool IsOpen() const override {
        std::lock_guard lock(FMutex);
        return FOpen;
    }
    SerialConfig Config() const override {
        std::lock_guard lock(FMutex);
        return FConfig;
    }

    // The driver's side, used by FakeDevice.
    bool Open(int* error) {
        std::lock_guard lock(FMutex);
        if (FGone || FOpen) {
            *error = FGone ? ENOENT : EBUSY;
            return false;
        }
        FOpen = true;
        return true;
    }
    void Start(SerialListener* listener) {
        std::lock_guard lock(FMutex);
        if (!FGone)
            FListener = listener;
    }
    void Close() {
        std::unique_lock lock(FMutex);
        FListener = nullptr;
        FCallDone.wait(lock, [this] { return FCalls == 0; });
        FOpen = false;
        FDtr = FRts = FBreak = FHeld = false;
        FPending = nullptr;
        FPendingCount = 0;
    }
    // Runs a call of the driver on the state, failing once the far end is gone.
    template <class F> bool Driver(int* error, F&& call) {
        std::lock_guard lock(FMutex);
        if (FGone) {
            if (error)
                *error = EIO;
            return false;
        }
        call();
        return true;
    }
    long Write(const std::uint8_t* bytes, std::size_t count, int* error) {
        std::lock_guard lock(FMutex);
        if (FGone) {
            if (error)
                *error = EIO;
            return -1;
        }
        FPending = bytes;
        FPendingCount = count;
        ReleaseLocked();
        return static_cast<long>(count - FPendingCount);
    }
    std::size_t OutputPending() {
        std::lock_guard lock(FMutex);
        return FPendingCount;
    }
    void PurgeOutput() {
        std::lock_guard lock(FMutex);
        FPending = nullptr;
        FPendingCount = 0;
    }
    bool SetOutputHold(bool hold, int* error) {
        return Driver(error, [&] {
            FHeld = hold;
            ReleaseLocked();
        });
    }
    bool TransmitImmediate(std::uint8_t byte, int* error) {
        return Driver(error, [&] { FSent.push_back(byte); });
    }
    enum class Output { Dtr, Rts, Break };
    bool SetOutput(Output output, bool on, int* error) {
        return Driver(error, [&] {
            switch (output) {
            case Output::Dtr:
                FDtr = on;
                break;
            case Output::Rts:
                FRts = on;
                break;
            case Output::Break:
                FBreak = on;
                break;
            }
        });
    }
    bool GetConfig(SerialConfig& config, int* error) {
        return Driver(error, [&] { config = FConfig; });
    }
    bool GetLines(unsigned& lines, int* error) {
        return Driver(error, [&] { lines = FLines; });
    }
    bool SetConfig(const SerialConfig& config, int* error) {
        return Driver(error, [&] {
            FConfig = config;
            ReleaseLocked();
        });
    }

private:
    // Output is held by the far end (a stalled transmitter, CTS or DSR flow) or by XOFF.
    bool HeldLocked() const {
        return FStalled || FHeld || (FConfig.ctsFlow && !(FLines & LineCts)) ||
               (FConfig.dsrFlow && !(FLines & LineDsr));
    }
    // Sends what waits when nothing holds it; true when that finished a write.
    bool ReleaseLocked() {
        if (FPendingCount == 0 || HeldLocked())
            return false;
        FSent.insert(FSent.end(), FPending, FPending + FPendingCount);
        FPending = nullptr;
        FPendingCount = 0;
        return true;
    }
    // Calls the listener outside the lock; Close waits for a call in progress.
    template <class F> void Notify(F&& call) {
        SerialListener* listener;
        {
            std::lock_guard lock(FMutex);
            listener = FListener;
            if (!listener)
                return;
            ++FCalls;
        }
        call(listener);
        std::lock_guard lock(FMutex);
        if (--FCalls == 0)
            FCallDone.notify_all();
    }

    mutable std::mutex FMutex;
    std::condition_variable FCallDone;
    SerialListener* FListener = nullptr;
    int FCalls = 0; // listener calls in progress
    bool FOpen = false;
    bool FGone = false;
    bool FStalled = false;
    bool FHeld = false; // XOFF by the driver
    unsigned FLines = 0;
    bool FDtr = false;
    bool FRts = false;
    bool FBreak = false;
    SerialConfig FConfig;
    std::vector<std::uint8_t> FSent;
    const std::uint8_t* FPending = nullptr; // the unsent rest of the last Write
    std::size_t FPendingCount = 0;
};

class FakeDevice : public SerialDevice {
public:
    explicit FakeDevice(std::shared_ptr<FakeState> state) : FState(std::move(state)) {}
    ~FakeDevice() override {
        if (!FClosed)
            FState->Close();
    }
    void Start(SerialListener* listener) override { FState->Start(listener); }
    void Close() override {
        FClosed = true;
        FState->Close();
    }
    bool GetConfig(SerialConfig& config, int* error) override { return FState->GetConfig(config, error); }
    bool SetConfig(const SerialConfig& config, int* error) override {
        return FState->SetConfig(config, error);
    }
    long Write(const std::uint8_t* bytes, std::size_t count, int* error) override {
        return FState->Write(bytes, count, error);
    }
    bool TransmitImmediate(std::uint8_t byte, int* error) override {
        return FState->TransmitImmediate(byte, error);
    }
    std::size_t OutputPending() override { return FState->OutputPending(); }
    void PurgeOutput() override { FState->PurgeOutput(); }
    void PurgeInput() override {}
    void ReceiveRoomAvailable() override {}
    bool GetLines(unsigned& lines, int* error) override { return FState->GetLines(lines, error); }
    bool SetDtr(bool on, int* error) override { return FState->SetOutput(FakeState::Output::Dtr, on, error); }
    bool SetRts(bool on, int* error) override { return FState->SetOutput(FakeState::Output::Rts, on, error); }
    bool SetBreak(bool on, int* error) override {
        return FState->SetOutput(FakeState::Output::Break, on, error);
    }
    bool SetOutputHold(bool hold, int* error) override { return FState->SetOutputHold(hold, error); }

private:
    std::shared_ptr<FakeState> FState;
    bool FClosed = false;
};

struct FakeRegistry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<FakeState>> ports;
};

FakeRegistry& Registry() {
    static FakeRegistry registry;
    return registry;
}

} // namespace

std::shared_ptr<FakeSerialPort> RegisterFakeSerialPort(const std::string& name) {
    auto state = std::make_shared<FakeState>();
    FakeRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    registry.ports[name] = state;
    return state;
}

void UnregisterFakeSerialPort(const std::string& name) {
    FakeRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    registry.ports.erase(name);
}

std::unique_ptr<SerialDevice> OpenFakeSerialDevice(const std::string& name, int* error) {
    std::shared_ptr<FakeState> state;
    {
        FakeRegistry& registry = Registry();
        std::lock_guard lock(registry.mutex);
        auto it = registry.ports.find(name);
        if (it != registry.ports.end())
            state = it->second;
    }
    *error = 0;
    if (!state || !state->Open(error))
        return nullptr;
    return std::make_unique<FakeDevice>(std::move(state));
}

} // namespace backend
