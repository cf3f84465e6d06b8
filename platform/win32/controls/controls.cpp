// Helpers the standard controls share: class registration, notifications to the parent, parent-chosen
// colours and fonts.
#include "platform/win32/controls/controls.h"

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
        brush = reinterpret_cast<HBRUSH>(
            DefWindowProcW(control, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    return brush;
}

HFONT ControlFont(HFONT font) { return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); }

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

int FontLineHeight(HFONT font) { return Metrics(font).tmHeight; }

int FontAverageWidth(HFONT font) { return Metrics(font).tmAveCharWidth; }

} // namespace win32::controls
