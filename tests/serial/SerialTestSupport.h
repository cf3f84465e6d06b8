// What the serial tests share: a port on a fake device the test drives, a recorder of the port's
// events with the thread each ran on, a bounded pump of the GUI thread, and a look at whether a
// thread is parked.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/serialdevice.h"
#include "platform/framework/Thread.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winuser.h"
#include "serial/CPort.h"

namespace serial_testing {

// Serves the GUI thread (synchronised calls, sent and posted messages) until done() holds or about
// five seconds of real time passed; false on the time-out.
inline bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        CheckSynchronize(5);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return true;
}

// The threads of this process as the kernel lists them (/proc/self/task), by thread id.
inline std::set<std::string> ProcessThreads() {
    std::set<std::string> threads;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        threads.insert(entry.path().filename().string());
    return threads;
}

// The id of the calling thread.
inline std::string CurrentThread() {
    return std::filesystem::read_symlink("/proc/thread-self").filename().string();
}

// Whether the thread is parked in a blocking wait: the kernel shows it asleep in every one of many
// looks in a row. A thread that spins is running or waiting for a processor, however loaded the
// machine is, so it cannot pass; one that has ended does not pass either.
inline bool ThreadParked(const std::string& thread, int looks = 200) {
    for (int i = 0; i < looks; ++i) {
        std::ifstream stat("/proc/self/task/" + thread + "/stat");
        std::string text;
        if (!std::getline(stat, text))
            return false;
        // The state follows the command name, which is in parentheses and may itself hold any text.
        const std::size_t close = text.rfind(')');
        if (close == std::string::npos || close + 2 >= text.size() || text[close + 2] != 'S')
            return false;
    }
    return true;
}

// Records the port's events as text ("RxChar 3", "CTS on") with whether each ran on the main thread.
class EventRecorder {
public:
    void Attach(TCustomComPort& port) {
        port.OnRxChar = [this](TObject*, Integer count) { Add("RxChar " + std::to_string(count)); };
        port.OnRxBuf = [this](TObject*, const void* buffer, Integer count) {
            Add("RxBuf " + std::string(static_cast<const char*>(buffer), static_cast<std::size_t>(count)));
        };
        port.OnTxEmpty = [this](TObject*) { Add("TxEmpty"); };
        port.OnBreak = [this](TObject*) { Add("Break"); };
        port.OnRing = [this](TObject*) { Add("Ring"); };
        port.OnRxFlag = [this](TObject*) { Add("RxFlag"); };
        port.OnRx80Full = [this](TObject*) { Add("Rx80Full"); };
        port.OnCTSChange = [this](TObject*, bool on) { Add(std::string("CTS ") + (on ? "on" : "off")); };
        port.OnDSRChange = [this](TObject*, bool on) { Add(std::string("DSR ") + (on ? "on" : "off")); };
        port.OnRLSDChange = [this](TObject*, bool on) { Add(std::string("RLSD ") + (on ? "on" : "off")); };
        port.OnError = [this](TObject*, TComErrors errors) {
            std::string text = "Error";
            const char* names[] = {"Frame", "RxParity", "Overrun", "Break", "IO", "Mode", "RxOver", "TxFull"};
            for (int e = ceFrame; e <= ceTxFull; ++e)
                if (errors.Contains(static_cast<TComError>(e)))
                    text += std::string(" ") + names[e];
            Add(text);
        };
        port.OnBeforeOpen = [this](TObject*) { Add("BeforeOpen"); };
        port.OnAfterOpen = [this](TObject*) { Add("AfterOpen"); };
        port.OnBeforeClose = [this](TObject*) { Add("BeforeClose"); };
        port.OnAfterClose = [this](TObject*) { Add("AfterClose"); };
    }
    void Add(const std::string& event) {
        std::lock_guard<std::mutex> guard(FLock);
        FEvents.push_back(event);
        if (std::this_thread::get_id() != MainThreadID())
            FOffMain.push_back(event);
    }
    std::vector<std::string> Events() const {
        std::lock_guard<std::mutex> guard(FLock);
        return FEvents;
    }
    std::vector<std::string> OffMain() const {
        std::lock_guard<std::mutex> guard(FLock);
        return FOffMain;
    }
    bool Has(const std::string& event) const {
        std::lock_guard<std::mutex> guard(FLock);
        return std::find(FEvents.begin(), FEvents.end(), event) != FEvents.end();
    }
    void Clear() {
        std::lock_guard<std::mutex> guard(FLock);
        FEvents.clear();
        FOffMain.clear();
    }

private:
    mutable std::mutex FLock;
    std::vector<std::string> FEvents;
    std::vector<std::string> FOffMain;
};

// A TComPort named ComPort1 on a fake device registered for the test.
class FakePortTest : public testing::Test {
protected:
    void SetUp() override {
        FName = std::string("FAKE_") + testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : FName)
            if (c == '/')
                c = '_';
        fake = backend::RegisterFakeSerialPort(FName);
        port = new TComPort(nullptr);
        port->SetName(u"ComPort1");
        port->SetPort(Utf8ToString(FName));
    }
    void TearDown() override {
        if (port)
            port->Free();
        backend::UnregisterFakeSerialPort(FName);
    }
    String PortName() const { return Utf8ToString(FName); }

    std::string FName;
    std::shared_ptr<backend::FakeSerialPort> fake;
    TComPort* port = nullptr;
    EventRecorder recorder;
};

using Bytes = std::vector<std::uint8_t>;

} // namespace serial_testing
