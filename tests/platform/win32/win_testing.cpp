// The test window classes, the message log and pumping, shared by the window-manager tests.
#include "tests/platform/win32/win_testing.h"

#include <memory>
#include <sstream>

#include "platform/win32/commctrl.h"
#include "platform/win32/spy.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/wininput.h"

namespace wintest {

namespace {

MessageLog* gLog = nullptr;
// The handlers of the windows a test made; freed when the test's windows are gone.
std::vector<std::unique_ptr<Handler>> gHandlers;
int gDefProcDepth = 0;
const MSG* gDispatching = nullptr;

bool Noise(UINT message) {
    switch (message) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_NCHITTEST:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SYSTIMER:
    case WM_GETICON:
    case WM_SETCURSOR:
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
    case WM_CTLCOLORSCROLLBAR:
        return true;
    default:
        return false;
    }
}

LRESULT TestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (create->lpCreateParams)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (gLog && !Noise(message)) {
        bool posted = gDispatching && gDispatching->hwnd == hwnd && gDispatching->message == message &&
                      gDispatching->wParam == wParam && gDispatching->lParam == lParam;
        gLog->Add(Record{hwnd, message, wParam, lParam, posted, gDefProcDepth > 0 && !posted,
                         NotifyCode(message, lParam)});
    }
    auto* handler = reinterpret_cast<Handler*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    std::optional<LRESULT> answer;
    if (handler && *handler)
        answer = (*handler)(hwnd, message, wParam, lParam);
    if (answer)
        return *answer;
    ++gDefProcDepth;
    LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    --gDefProcDepth;
    return result;
}

void RegisterClasses() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TestWindowProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = u"WinTest";
    RegisterClassW(&wc);
    wc.style = 0;
    wc.lpszClassName = u"WinTestPlain";
    RegisterClassW(&wc);
}

} // namespace

LPCWSTR TestClass() {
    RegisterClasses();
    return u"WinTest";
}

LPCWSTR PlainClass() {
    RegisterClasses();
    return u"WinTestPlain";
}

HWND Create(const Options& options) {
    RegisterClasses();
    Handler* handler = nullptr;
    if (options.handler) {
        gHandlers.push_back(std::make_unique<Handler>(options.handler));
        handler = gHandlers.back().get();
    }
    HWND hwnd = CreateWindowExW(
        options.exStyle, options.className ? options.className : TestClass(), options.text.c_str(),
        options.style, options.rect.left, options.rect.top, options.rect.right - options.rect.left,
        options.rect.bottom - options.rect.top, options.parent,
        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(options.id)), nullptr, handler);
    return hwnd;
}

Options WithStyle(DWORD style) {
    Options options;
    options.style = style;
    return options;
}

void Pump() {
    MSG msg;
    // Bounded, so that a window that never validates cannot hang a test.
    for (int i = 0; i < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        const MSG* outer = gDispatching;
        gDispatching = &msg;
        DispatchMessageW(&msg);
        gDispatching = outer;
    }
}

MessageLog::MessageLog() {
    gLog = this;
}

MessageLog::~MessageLog() {
    if (gLog == this)
        gLog = nullptr;
}

MessageLog* CurrentLog() {
    return gLog;
}

void MessageLog::Name(HWND hwnd, const std::string& name) {
    FNames[hwnd] = name;
}

std::string MessageLog::NameOf(HWND hwnd) const {
    auto it = FNames.find(hwnd);
    if (it != FNames.end())
        return it->second;
    std::ostringstream out;
    out << hwnd;
    return out.str();
}

std::vector<std::string> MessageLog::Messages(const std::string& window) const {
    std::vector<std::string> names;
    for (const Record& record : FRecords)
        if (NameOf(record.hwnd) == window)
            names.push_back(win32::MessageName(record.message, record.hwnd));
    return names;
}

UINT NotifyCode(UINT message, LPARAM lParam) {
    return message == WM_NOTIFY && lParam ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
}

namespace {

std::string Describe(const std::string& window, HWND hwnd, UINT message, bool posted, bool defProc,
                     WPARAM wParam, LPARAM lParam, UINT code) {
    std::ostringstream out;
    out << window << " " << win32::MessageName(message, hwnd) << (posted ? " posted" : " sent")
        << (defProc ? " (def)" : "") << " w=" << std::hex << wParam << " l=" << lParam;
    if (message == WM_NOTIFY)
        out << std::dec << " code=" << static_cast<int>(code);
    return out.str();
}

bool Fits(const MessageLog& log, const Expected& e, const Record& r) {
    if (log.NameOf(r.hwnd) != e.window || r.message != e.message)
        return false;
    if ((e.flags & Sent) && r.posted)
        return false;
    if ((e.flags & Posted) && !r.posted)
        return false;
    if ((e.flags & DefProc) && !r.defProc)
        return false;
    if ((e.flags & WParam) && r.wParam != e.wParam)
        return false;
    if ((e.flags & LParam) && r.lParam != e.lParam)
        return false;
    if ((e.flags & Code) && r.code != e.code)
        return false;
    return true;
}

} // namespace

::testing::AssertionResult MessageLog::Matches(const std::vector<Expected>& expected) const {
    size_t i = 0;
    size_t j = 0;
    bool ok = true;
    while (i < expected.size() || j < FRecords.size()) {
        if (i < expected.size() && j < FRecords.size() && Fits(*this, expected[i], FRecords[j])) {
            ++i;
            ++j;
            continue;
        }
        if (i < expected.size() && (expected[i].flags & Optional)) {
            ++i;
            continue;
        }
        ok = false;
        break;
    }
    if (ok)
        return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "message sequences differ (expected | actual):\n";
    size_t rows = std::max(expected.size(), FRecords.size());
    // An expected message is named as the class of the window given that name knows it.
    auto windowNamed = [this](const std::string& name) -> HWND {
        for (const auto& [hwnd, given] : FNames)
            if (given == name)
                return hwnd;
        return nullptr;
    };
    for (size_t k = 0; k < rows; ++k) {
        std::string left =
            k < expected.size()
                ? Describe(expected[k].window, windowNamed(expected[k].window), expected[k].message,
                           (expected[k].flags & Posted) != 0, (expected[k].flags & DefProc) != 0,
                           expected[k].wParam, expected[k].lParam, expected[k].code) +
                      ((expected[k].flags & Optional) ? " [optional]" : "")
                : "";
        std::string right = k < FRecords.size()
                                ? Describe(NameOf(FRecords[k].hwnd), FRecords[k].hwnd, FRecords[k].message,
                                           FRecords[k].posted, FRecords[k].defProc, FRecords[k].wParam,
                                           FRecords[k].lParam, FRecords[k].code)
                                : "";
        left.resize(std::max<size_t>(left.size(), 58), ' ');
        out << (k == i || k == j ? "> " : "  ") << left << " | " << right << "\n";
    }
    return ::testing::AssertionFailure() << out.str();
}

namespace {

BOOL CollectTop(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

} // namespace

void ResetWindowManager() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectTop, reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows)
        DestroyWindow(hwnd);
    Pump();
    ReleaseCapture();
    SetFocus(nullptr);
    win32::input::Reset();
    win32::ResetSystemSettings();
    Pump();
    gHandlers.clear();
}

POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

} // namespace wintest
