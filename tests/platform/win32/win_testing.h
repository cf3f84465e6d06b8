// What the window-manager tests share: a test window class whose procedure can be told what to answer,
// the message log that records what windows receive, and pumping the queue.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/winuser.h"

namespace wintest {

// Answers a message in place of the default procedure, or std::nullopt to pass it on.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

// The test classes: "WinTest" (with CS_DBLCLKS) and "WinTestPlain" (without). Both paint nothing of their
// own; their background brush is white.
LPCWSTR TestClass();
LPCWSTR PlainClass();

struct Options {
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    RECT rect{100, 100, 400, 300}; // left, top, right, bottom in the parent's client coordinates
    HWND parent = nullptr;
    LPCWSTR className = nullptr; // TestClass() when null
    Handler handler;
    String text;
    int id = 0;
};
HWND Create(const Options& options);
// Options with only the style set.
Options WithStyle(DWORD style);

// Reads and dispatches every message waiting, including WM_PAINT and due timers, then returns.
void Pump();

// One message a window received.
struct Record {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool posted = false;  // dispatched from the queue, not sent
    bool defProc = false; // sent from inside DefWindowProc
    UINT code = 0;        // the notification code of a WM_NOTIFY
};

// The notification code a WM_NOTIFY carries in its header, 0 for every other message.
UINT NotifyCode(UINT message, LPARAM lParam);

// What an expected entry compares.
enum : unsigned {
    Sent = 0x01,
    Posted = 0x02,
    DefProc = 0x04,  // must come from inside DefWindowProc
    WParam = 0x08,   // compare wParam
    LParam = 0x10,   // compare lParam
    Optional = 0x20, // may be missing
    Code = 0x40,     // compare the notification code of a WM_NOTIFY
};

struct Expected {
    const char* window; // the name given to MessageLog::Name
    UINT message;
    unsigned flags = Sent;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT code = 0; // with Code: the WM_NOTIFY's notification code
};

// Records the messages of the test classes' windows while it exists (one at a time). Paint, erase,
// non-client paint, hit tests, text queries and system timers are noise and not recorded.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    void Name(HWND hwnd, const std::string& name);
    void Clear() { FRecords.clear(); }
    const std::vector<Record>& Records() const { return FRecords; }
    // Every message of a window (by name) in order, as names.
    std::vector<std::string> Messages(const std::string& window) const;
    // Compares in order; on a mismatch returns the expected and actual sequences side by side.
    ::testing::AssertionResult Matches(const std::vector<Expected>& expected) const;

    void Add(const Record& record) { FRecords.push_back(record); }
    std::string NameOf(HWND hwnd) const;

private:
    std::vector<Record> FRecords;
    std::map<HWND, std::string> FNames;
};

// The log in force, or null.
MessageLog* CurrentLog();

// Resets what the window manager keeps between tests: destroys every window the test left, forgets
// keys, clicks and the system settings.
void ResetWindowManager();

// A screen point in the client area of a window.
POINT ScreenPoint(HWND hwnd, int x, int y);

} // namespace wintest
