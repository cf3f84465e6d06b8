// The dialog service that shows real windows: one modal window class of our own that lays out a message
// (or prompts with edit fields) and a row of push buttons, painted with our GDI.
#include <algorithm>

#include "platform/rtl/Trace.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

const Trace::Channel TraceDialog("dialog");

constexpr const Char* DialogClassName = u"#32770";
constexpr int Margin = 12;
constexpr int IconSize = 32;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int ButtonGap = 6;
constexpr int EditHeight = 21;
constexpr int MaxTextWidth = 400;

struct Field {
    String prompt;
    String value;
    bool masked = false;
};

// The state of one dialog window; the window holds a pointer to it in GWLP_USERDATA.
struct DialogState {
    String text;
    DialogIcon icon = DialogIcon::None;
    std::vector<Field> fields;
    std::vector<DialogButton> buttons;
    size_t defaultButton = 0;
    bool cancellable = true;
    DialogButton cancelButton = DialogButton::Cancel;
    size_t focus = 0; // fields first, then buttons
    bool done = false;
    DialogButton answer = DialogButton::Cancel;

    // The rectangles of the parts, in client coordinates.
    RECT textRect{};
    RECT iconRect{};
    std::vector<RECT> promptRects;
    std::vector<RECT> editRects;
    std::vector<RECT> buttonRects;
    SIZE clientSize{};

    size_t ItemCount() const { return fields.size() + buttons.size(); }
    bool FocusOnButton() const { return focus >= fields.size(); }
};

HFONT DialogFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Lays the parts out once from the texts and the font; painting and hit testing use the result.
void Layout(DialogState& state) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, DialogFont());
    int x = Margin;
    int y = Margin;
    int width = 0;
    if (state.icon != DialogIcon::None) {
        SetRect(&state.iconRect, Margin, Margin, Margin + IconSize, Margin + IconSize);
        x += IconSize + Margin;
    }
    RECT text{0, 0, MaxTextWidth, 0};
    if (!state.text.empty())
        DrawTextW(dc, state.text.c_str(), -1, &text,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SetRect(&state.textRect, x, y, x + (text.right - text.left), y + (text.bottom - text.top));
    width = state.textRect.right;
    y = std::max(state.textRect.bottom, state.iconRect.bottom) + (state.text.empty() ? 0 : Margin);
    for (const Field& field : state.fields) {
        RECT prompt{0, 0, MaxTextWidth, 0};
        DrawTextW(dc, field.prompt.c_str(), -1, &prompt, DT_CALCRECT | DT_SINGLELINE);
        state.promptRects.push_back({Margin, y, Margin + prompt.right, y + prompt.bottom});
        y += prompt.bottom + 4;
        state.editRects.push_back({Margin, y, Margin + 240, y + EditHeight});
        width = std::max(width, static_cast<int>(Margin + 240));
        width = std::max(width, static_cast<int>(Margin + prompt.right));
        y += EditHeight + Margin;
    }
    int rowWidth = static_cast<int>(state.buttons.size()) * (ButtonWidth + ButtonGap) - ButtonGap;
    width = std::max(width, Margin + rowWidth) + Margin;
    // Buttons sit centred under a message and at the right under edit fields.
    int bx = state.fields.empty() ? (width - rowWidth) / 2 : width - Margin - rowWidth;
    for (size_t i = 0; i < state.buttons.size(); ++i) {
        state.buttonRects.push_back({bx, y, bx + ButtonWidth, y + ButtonHeight});
        bx += ButtonWidth + ButtonGap;
    }
    state.clientSize = {width, y + ButtonHeight + Margin};
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
}

LPCWSTR IconName(DialogIcon icon) {
    switch (icon) {
    case DialogIcon::Error:
        return IDI_ERROR;
    case DialogIcon::Warning:
        return IDI_WARNING;
    case DialogIcon::Question:
        return IDI_QUESTION;
    case DialogIcon::Information:
        return IDI_INFORMATION;
    case DialogIcon::None:
        break;
    }
    return nullptr;
}

void Paint(HWND hwnd, DialogState& state) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, DialogFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    if (LPCWSTR name = IconName(state.icon))
        if (HICON icon = LoadIconW(nullptr, name))
            DrawIconEx(dc, state.iconRect.left, state.iconRect.top, icon, IconSize, IconSize, 0, nullptr,
                       DI_NORMAL);
    RECT text = state.textRect;
    DrawTextW(dc, state.text.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    for (size_t i = 0; i < state.fields.size(); ++i) {
        RECT prompt = state.promptRects[i];
        DrawTextW(dc, state.fields[i].prompt.c_str(), -1, &prompt, DT_SINGLELINE);
        RECT edit = state.editRects[i];
        DrawEdge(dc, &edit, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillRect(dc, &edit, GetSysColorBrush(COLOR_WINDOW));
        String shown =
            state.fields[i].masked ? String(state.fields[i].value.size(), u'*') : state.fields[i].value;
        InflateRect(&edit, -2, 0);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, shown.c_str(), -1, &edit, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        if (state.focus == i)
            DrawFocusRect(dc, &edit);
    }
    for (size_t i = 0; i < state.buttons.size(); ++i) {
        RECT button = state.buttonRects[i];
        DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH);
        if (i == state.defaultButton)
            FrameRect(dc, &button, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        String caption = DialogButtonCaption(state.buttons[i]);
        DrawTextW(dc, caption.c_str(), -1, &button, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        if (state.focus == state.fields.size() + i) {
            InflateRect(&button, -4, -4);
            DrawFocusRect(dc, &button);
        }
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

void Finish(HWND hwnd, DialogState& state, DialogButton answer) {
    state.answer = answer;
    state.done = true;
    // Wakes the modal loop, which may be waiting for a message.
    PostMessageW(hwnd, WM_NULL, 0, 0);
}

void Cancel(HWND hwnd, DialogState& state) {
    if (state.cancellable)
        Finish(hwnd, state, state.cancelButton);
    else
        MessageBeep(MB_OK);
}

void MoveFocus(HWND hwnd, DialogState& state, size_t focus) {
    state.focus = focus;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void WMKeyDown(HWND hwnd, DialogState& state, int key) {
    size_t count = state.ItemCount();
    switch (key) {
    case VK_RETURN:
        Finish(hwnd, state,
               state.FocusOnButton() ? state.buttons[state.focus - state.fields.size()]
                                     : state.buttons[state.defaultButton]);
        break;
    case VK_ESCAPE:
        Cancel(hwnd, state);
        break;
    case VK_TAB:
        MoveFocus(hwnd, state,
                  (GetKeyState(VK_SHIFT) < 0) ? (state.focus + count - 1) % count
                                              : (state.focus + 1) % count);
        break;
    case VK_LEFT:
    case VK_UP:
        if (state.FocusOnButton() && state.focus > state.fields.size())
            MoveFocus(hwnd, state, state.focus - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (state.FocusOnButton() && state.focus + 1 < count)
            MoveFocus(hwnd, state, state.focus + 1);
        break;
    case VK_BACK:
        if (!state.FocusOnButton() && !state.fields[state.focus].value.empty()) {
            state.fields[state.focus].value.pop_back();
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    default:
        break;
    }
}

void WMChar(HWND hwnd, DialogState& state, Char c) {
    if (state.FocusOnButton() || c < u' ')
        return;
    state.fields[state.focus].value.push_back(c);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void WMLButtonDown(HWND hwnd, DialogState& state, POINT pt) {
    for (size_t i = 0; i < state.editRects.size(); ++i)
        if (PtInRect(&state.editRects[i], pt))
            MoveFocus(hwnd, state, i);
    for (size_t i = 0; i < state.buttonRects.size(); ++i)
        if (PtInRect(&state.buttonRects[i], pt))
            Finish(hwnd, state, state.buttons[i]);
}

LRESULT DialogWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!state)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        Paint(hwnd, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        WMKeyDown(hwnd, *state, static_cast<int>(wParam));
        return 0;
    case WM_CHAR:
        WMChar(hwnd, *state, static_cast<Char>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        WMLButtonDown(hwnd, *state, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_CLOSE:
        Cancel(hwnd, *state);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterDialogClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DialogWindowProc;
        windowClass.lpszClassName = DialogClassName;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

// Shows the dialog and runs its modal loop; answers false when the window could not be made.
bool RunModal(HWND owner, const String& caption, DialogState& state) {
    if (!RegisterDialogClass())
        return false;
    Layout(state);
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, state.clientSize.cx, state.clientSize.cy};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    // Centred on the owner, or on the screen without one.
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner)
        GetWindowRect(owner, &around);
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    // A box centred on an owner near the screen's edge (or one wider than the owner) stays on the work
    // area, its left and top edges first.
    RECT work{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        x = std::max<int>(std::min<int>(x, work.right - width), work.left);
        y = std::max<int>(std::min<int>(y, work.bottom - height), work.top);
    }
    HWND hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME, DialogClassName, caption.c_str(), style, x, y, width,
                                height, owner, nullptr, nullptr, &state);
    if (!hwnd) {
        ZERROR(TraceDialog, "cannot create a dialog window (error %u)",
               static_cast<unsigned>(GetLastError()));
        return false;
    }
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetActiveWindow(hwnd);
    SetFocus(hwnd);
    MSG msg{};
    while (!state.done) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is quitting: the dialog is cancelled and the quit goes on to the caller's loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            state.answer = state.cancelButton;
            break;
        }
        if (got == -1)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    DestroyWindow(hwnd);
    if (owner && IsWindow(owner))
        SetActiveWindow(owner);
    return true;
}

class WindowService : public DialogService {
public:
    DialogButton ShowMessage(const MessageRequest& request) override {
        DialogState state;
        state.text = request.text;
        state.icon = request.icon;
        state.buttons = request.buttons;
        state.defaultButton = request.defaultButton < request.buttons.size() ? request.defaultButton : 0;
        state.focus = state.defaultButton;
        state.cancellable = request.cancellable;
        state.cancelButton =
            request.cancellable ? request.cancelButton : request.buttons.at(state.defaultButton);
        if (!RunModal(request.owner, request.caption, state))
            return state.cancelButton;
        return state.answer;
    }

    bool InputQuery(InputRequest& request) override {
        DialogState state;
        for (size_t i = 0; i < request.prompts.size(); ++i) {
            Field field;
            field.prompt = request.prompts[i];
            field.value = i < request.values.size() ? request.values[i] : String();
            field.masked = i < request.masked.size() && request.masked[i];
            state.fields.push_back(std::move(field));
        }
        state.buttons = {DialogButton::Ok, DialogButton::Cancel};
        state.cancelButton = DialogButton::Cancel;
        if (!RunModal(request.owner, request.caption, state) || state.answer != DialogButton::Ok)
            return false;
        request.values.resize(state.fields.size());
        for (size_t i = 0; i < state.fields.size(); ++i)
            request.values[i] = state.fields[i].value;
        return true;
    }
};

} // namespace

DialogService& WindowDialogService() {
    static WindowService service;
    return service;
}

} // namespace win32
