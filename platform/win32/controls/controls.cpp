// Helpers the standard controls share: class registration, notifications to the parent, parent-chosen
// colours and fonts, clipboard text.
#include "platform/win32/controls/controls.h"

#include <algorithm>

#include "platform/win32/clipboard.h"

namespace win32::controls {

void RegisterControlClass(const Char* name, WNDPROC proc, UINT style, LPCWSTR cursor) {
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = StateExtraBytes;
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

void NotifyCommand(HWND control, HWND parent, WORD code) {
    if (!parent)
        return;
    WORD id = static_cast<WORD>(GetWindowLongPtrW(control, GWLP_ID));
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

HBRUSH ControlColor(HWND control, HWND parent, HDC dc, UINT message) {
    HBRUSH brush = nullptr;
    if (parent)
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    // A parent that answers nothing usable gets the default colours, as DefWindowProc would give them.
    if (!brush)
        brush = reinterpret_cast<HBRUSH>(DefWindowProcW(control, message, reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(control)));
    return brush;
}

bool PutClipboardText(HWND owner, StringView text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(Char));
    if (!memory)
        return false;
    auto* data = static_cast<Char*>(GlobalLock(memory));
    std::copy_n(text.data(), text.size(), data);
    data[text.size()] = 0;
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the block only once it took it.
    bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!put)
        GlobalFree(memory);
    CloseClipboard();
    return put;
}

String ClipboardText(HWND owner) {
    String text;
    if (!OpenClipboard(owner))
        return text;
    if (HGLOBAL memory = GetClipboardData(CF_UNICODETEXT)) {
        // The text ends at its zero or at the end of the block, whichever comes first.
        size_t limit = GlobalSize(memory) / sizeof(Char);
        if (auto* data = static_cast<const Char*>(GlobalLock(memory))) {
            size_t length = 0;
            while (length < limit && data[length])
                ++length;
            text.assign(data, length);
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

bool SendEditShortcut(HWND control, Char c) {
    struct Shortcut {
        Char c;
        UINT message;
    };
    static constexpr Shortcut shortcuts[] = {
        {0x03, WM_COPY}, {0x16, WM_PASTE}, {0x18, WM_CUT}, {0x1A, WM_UNDO}};
    for (const Shortcut& shortcut : shortcuts) {
        if (shortcut.c == c) {
            SendMessageW(control, shortcut.message, 0, 0);
            return true;
        }
    }
    return false;
}

HFONT ControlFont(HFONT font) {
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

namespace {

TEXTMETRICW Metrics(HFONT font) {
    TEXTMETRICW tm{};
    HDC dc = GetDC(nullptr);
    {
        SelectGuard guard(dc, ControlFont(font));
        GetTextMetricsW(dc, &tm);
    }
    ReleaseDC(nullptr, dc);
    return tm;
}

} // namespace

int FontLineHeight(HFONT font) {
    return Metrics(font).tmHeight;
}

int FontAverageWidth(HFONT font) {
    return Metrics(font).tmAveCharWidth;
}

} // namespace win32::controls
