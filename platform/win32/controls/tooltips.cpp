// The tooltip window class: tools (window parts or whole windows), tips shown after a delay when the
// mouse rests over a tool and popped after another, tracking tips placed by their owner, text asked of
// the owner on demand, titles with icons, and balloons whose stem points at the tool.
//
// Contents: tools and the subclass that relays their mouse messages - the state object - layout -
// showing and hiding - TTM_* messages - painting - the window procedure.
#include <algorithm>
#include <map>
#include <vector>

#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceTooltips("tooltips");

// Timers of the tooltip window.
constexpr UINT_PTR ShowTimer = 1;  // the initial or reshow delay is over
constexpr UINT_PTR PopTimer = 2;   // the auto-pop delay is over
constexpr UINT_PTR LeaveTimer = 3; // looks whether the cursor left the tool of the shown tip
constexpr UINT LeaveInterval = 100;

// Geometry of the two shapes.
constexpr int PlainMargin = 2; // between the frame and the text
constexpr int BalloonMargin = 8;
constexpr int BalloonRound = 16; // the corner ellipse of the balloon
constexpr int StemHeight = 13;
constexpr int StemWidth = 10;
constexpr int StemInset = 16; // from the balloon's side to the stem
constexpr int IconSize = 16;
constexpr int CloseSize = 16;
constexpr int TitleGap = 4; // between the title line and the text
// Text copied into a caller's TOOLINFOW buffer is cut at the size callers are told to give it.
constexpr std::size_t ToolInfoTextChars = 80;

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    HINSTANCE hinst = nullptr;
    bool callback = false;     // the owner gives the text each time (LPSTR_TEXTCALLBACKW)
    LPWSTR resource = nullptr; // a string resource id, kept as given
    String text;
    LPARAM lParam = 0;

    HWND Window() const { return (flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(id) : hwnd; }
    bool Matches(HWND owner, UINT_PTR toolId) const { return hwnd == owner && id == toolId; }
};

// ---- The subclass that relays the mouse messages of tools with TTF_SUBCLASS ----

// Several tooltips may relay one window's messages; the window keeps one subclass for all of them.
struct Subclass {
    WNDPROC original = nullptr;
    std::vector<HWND> tips;
};

std::map<HWND, Subclass>& Subclasses() {
    static std::map<HWND, Subclass> subclasses;
    return subclasses;
}

bool IsRelayed(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCMOUSEMOVE:
        return true;
    default:
        return false;
    }
}

LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = Subclasses().find(hwnd);
    if (found == Subclasses().end())
        return DefWindowProcW(hwnd, message, wParam, lParam);
    WNDPROC original = found->second.original;
    if (IsRelayed(message)) {
        MSG msg{hwnd, message, wParam, lParam, 0, {}};
        // A tip may drop its tool while it hears the message, so the list is copied first.
        std::vector<HWND> tips = found->second.tips;
        for (HWND tip : tips)
            if (IsWindow(tip))
                SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    if (message == WM_NCDESTROY) {
        if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SubclassProc))
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        Subclasses().erase(hwnd);
    }
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

void AddSubclass(HWND window, HWND tip) {
    if (!IsWindow(window))
        return;
    auto found = Subclasses().find(window);
    if (found == Subclasses().end()) {
        Subclass entry;
        entry.original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
        entry.tips.push_back(tip);
        Subclasses().emplace(window, std::move(entry));
        return;
    }
    if (std::find(found->second.tips.begin(), found->second.tips.end(), tip) == found->second.tips.end())
        found->second.tips.push_back(tip);
}

void RemoveSubclass(HWND window, HWND tip) {
    auto found = Subclasses().find(window);
    if (found == Subclasses().end())
        return;
    auto& tips = found->second.tips;
    tips.erase(std::remove(tips.begin(), tips.end(), tip), tips.end());
    if (!tips.empty())
        return;
    // Someone who subclassed the window after us still calls our procedure; it then passes every message
    // through, so the entry stays until the window goes.
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SubclassProc)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
        Subclasses().erase(found);
    }
}

// ---- The state object ----

// Where the parts of a tip lie, in its window's client coordinates.
struct TipLayout {
    SIZE window{}; // the whole window, stem included
    RECT body{};   // the rectangle (or rounded rectangle) around the content
    RECT icon{};
    RECT title{};
    RECT text{};
    RECT close{};
    bool stemAbove = true; // a balloon below its point, the stem going up
    int stemX = 0;         // where the stem's tip is, from the window's left
};

class Tooltip {
public:
    explicit Tooltip(HWND hwnd) : FHwnd(hwnd) {
        FBkColor = GetSysColor(COLOR_INFOBK);
        FTextColor = GetSysColor(COLOR_INFOTEXT);
    }
    ~Tooltip() {
        for (const Tool& tool : FTools)
            if (tool.flags & TTF_SUBCLASS)
                RemoveSubclass(tool.Window(), FHwnd);
        if (FTitleFont)
            DeleteObject(FTitleFont);
    }

    LRESULT TTMAddTool(const TOOLINFOW* info);
    LRESULT TTMDelTool(const TOOLINFOW* info);
    LRESULT TTMNewToolRect(const TOOLINFOW* info);
    LRESULT TTMGetToolInfo(TOOLINFOW* info) const;
    LRESULT TTMSetToolInfo(const TOOLINFOW* info);
    LRESULT TTMUpdateTipText(const TOOLINFOW* info);
    LRESULT TTMGetText(WPARAM size, TOOLINFOW* info);
    LRESULT TTMActivate(bool active);
    LRESULT TTMTrackActivate(bool activate, const TOOLINFOW* info);
    LRESULT TTMTrackPosition(POINT point);
    LRESULT TTMSetMaxTipWidth(int width);
    LRESULT TTMGetMaxTipWidth() const { return FMaxWidth; }
    LRESULT TTMSetTitle(WPARAM icon, LPCWSTR title);
    LRESULT TTMSetDelayTime(WPARAM which, int milliseconds);
    LRESULT TTMGetDelayTime(WPARAM which) const;
    LRESULT TTMPop();
    LRESULT TTMPopup();
    LRESULT TTMRelayEvent(const MSG* msg);
    LRESULT TTMWindowFromPoint(const POINT* point) const;
    LRESULT TTMSetTipBkColor(COLORREF color);
    LRESULT TTMSetTipTextColor(COLORREF color);
    LRESULT TTMGetTipBkColor() const { return static_cast<LRESULT>(FBkColor); }
    LRESULT TTMGetTipTextColor() const { return static_cast<LRESULT>(FTextColor); }
    LRESULT TTMGetBubbleSize(const TOOLINFOW* info);
    LRESULT TTMAdjustRect(bool larger, RECT* rect) const;
    LRESULT TTMGetToolCount() const { return static_cast<LRESULT>(FTools.size()); }
    LRESULT TTMUpdate();
    LRESULT WMTimer(UINT_PTR id);
    LRESULT WMSetFont(HFONT font, bool redraw);
    LRESULT WMGetFont() const { return reinterpret_cast<LRESULT>(FFont); }
    LRESULT WMNcHitTest() const;
    LRESULT WMLButtonDown(POINT point);
    LRESULT WMPaint(HDC given);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    bool Balloon() const { return (Style() & TTS_BALLOON) != 0; }
    bool Shown() const { return FCurrent >= 0; }
    int Find(const TOOLINFOW* info) const;
    int HitTool(HWND hwnd, POINT client) const;
    void SetToolFields(Tool& tool, const TOOLINFOW& info);
    String ToolText(int index);
    // What the tool's window answers.
    LRESULT Notify(int index, UINT code, NMHDR& header) const;

    int InitialDelay() const { return FInitial >= 0 ? FInitial : static_cast<int>(GetDoubleClickTime()); }
    int AutoPopDelay() const {
        return FAutoPop >= 0 ? FAutoPop : 10 * static_cast<int>(GetDoubleClickTime());
    }
    int ReshowDelay() const { return FReshow >= 0 ? FReshow : static_cast<int>(GetDoubleClickTime()) / 5; }

    HFONT TextFont() const { return FFont ? FFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
    HFONT TitleFont();
    TipLayout Layout(const String& text, bool stemAbove);
    POINT Anchor(int index) const;

    void Show(int index, bool tracking);
    // Where the tip goes: beside its anchor, or where the owner put it while told of the show.
    enum class Placement { Anchor, ByOwner };
    void Place(Placement placement = Placement::Anchor);
    void Hide();
    void PaintBody(HDC dc, const TipLayout& layout, HRGN shape);

    HWND FHwnd;
    std::vector<Tool> FTools;
    bool FActive = true;
    int FInitial = -1; // delays in milliseconds; -1 follows the double-click time
    int FAutoPop = -1;
    int FReshow = -1;
    int FMaxWidth = -1; // -1: one line of any width
    String FTitle;
    WPARAM FTitleIcon = 0; // TTI_* or an HICON
    COLORREF FBkColor;
    COLORREF FTextColor;
    HFONT FFont = nullptr;
    HFONT FTitleFont = nullptr;
    int FCurrent = -1;  // the tool whose tip is shown
    int FHot = -1;      // the tool under the mouse, waiting for its delay
    int FTracking = -1; // the tool tracked by TTM_TRACKACTIVATE
    POINT FTrackPos{};
    POINT FLastMouse{}; // the screen point of the last relayed mouse message
    String FShownText;
    TipLayout FLayout;
};

int Tooltip::Find(const TOOLINFOW* info) const {
    if (!info || info->cbSize < TTTOOLINFOW_V1_SIZE)
        return -1;
    for (std::size_t i = 0; i < FTools.size(); ++i)
        if (FTools[i].Matches(info->hwnd, info->uId))
            return static_cast<int>(i);
    return -1;
}

// Tracking tools never show by themselves, so the mouse does not find them.
int Tooltip::HitTool(HWND hwnd, POINT client) const {
    for (std::size_t i = 0; i < FTools.size(); ++i) {
        const Tool& tool = FTools[i];
        if (tool.flags & TTF_TRACK)
            continue;
        if (tool.flags & TTF_IDISHWND) {
            if (reinterpret_cast<HWND>(tool.id) == hwnd)
                return static_cast<int>(i);
        } else if (tool.hwnd == hwnd && PtInRect(&tool.rect, client)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Tooltip::SetToolFields(Tool& tool, const TOOLINFOW& info) {
    tool.flags = info.uFlags;
    tool.rect = info.rect;
    tool.hinst = info.hinst;
    tool.callback = info.lpszText == LPSTR_TEXTCALLBACKW;
    tool.resource = nullptr;
    tool.text.clear();
    if (!tool.callback && info.lpszText) {
        if (IS_INTRESOURCE(info.lpszText))
            tool.resource = info.lpszText;
        else
            tool.text = info.lpszText;
    }
    tool.lParam = info.cbSize >= TTTOOLINFOW_V2_SIZE ? info.lParam : 0;
}

LRESULT Tooltip::Notify(int index, UINT code, NMHDR& header) const {
    const Tool& tool = FTools[static_cast<std::size_t>(index)];
    header.hwndFrom = FHwnd;
    header.idFrom = tool.id;
    header.code = code;
    if (!tool.hwnd)
        return 0;
    return SendMessageW(tool.hwnd, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// A callback tool's owner answers TTN_GETDISPINFOW; it may point the text anywhere, and with
// TTF_DI_SETITEM asks that the answer be kept instead of asked again.
String Tooltip::ToolText(int index) {
    Tool& tool = FTools[static_cast<std::size_t>(index)];
    if (tool.resource) {
        ZFIXME(TraceTooltips, "%p: string resource %u as tip text", static_cast<void*>(FHwnd),
               static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(tool.resource)));
        return String();
    }
    if (!tool.callback)
        return tool.text;
    NMTTDISPINFOW info{};
    info.lpszText = info.szText;
    info.hinst = tool.hinst;
    info.uFlags = tool.flags;
    info.lParam = tool.lParam;
    Notify(index, TTN_GETDISPINFOW, info.hdr);
    // The owner may have dropped the tool while it answered.
    if (static_cast<std::size_t>(index) >= FTools.size())
        return String();
    String text;
    if (info.lpszText && !IS_INTRESOURCE(info.lpszText) && info.lpszText != LPSTR_TEXTCALLBACKW)
        text = info.lpszText;
    if (info.uFlags & TTF_DI_SETITEM) {
        tool.callback = false;
        tool.text = text;
    }
    return text;
}

// ---- Layout ----

HFONT Tooltip::TitleFont() {
    if (!FTitleFont) {
        LOGFONTW font{};
        GetObjectW(TextFont(), sizeof font, &font);
        font.lfWeight = FW_BOLD;
        FTitleFont = CreateFontIndirectW(&font);
    }
    return FTitleFont;
}

// One place computes every part of the tip from its text, title and shape; painting, placing and the
// bubble size read it.
TipLayout Tooltip::Layout(const String& text, bool stemAbove) {
    TipLayout layout;
    bool balloon = Balloon();
    int margin = balloon ? BalloonMargin : PlainMargin;
    HDC dc = GetDC(nullptr);
    RECT textRect{0, 0, FMaxWidth >= 0 ? FMaxWidth : 0, 0};
    UINT format = DT_CALCRECT | DT_EXPANDTABS | ((Style() & TTS_NOPREFIX) ? DT_NOPREFIX : 0) |
                  (FMaxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE);
    {
        SelectGuard font(dc, TextFont());
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, format);
    }
    SIZE titleSize{};
    bool hasTitle = !FTitle.empty();
    if (hasTitle) {
        SelectGuard font(dc, TitleFont());
        RECT titleRect{};
        DrawTextW(dc, FTitle.c_str(), static_cast<int>(FTitle.size()), &titleRect,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        titleSize = SIZE{titleRect.right, titleRect.bottom};
    }
    ReleaseDC(nullptr, dc);

    bool hasIcon = hasTitle && FTitleIcon != 0;
    bool hasClose = balloon && (Style() & TTS_CLOSE);
    int titleLine = hasTitle ? std::max(titleSize.cy, hasIcon || hasClose ? IconSize : 0) : 0;
    int titleWidth =
        hasTitle ? (hasIcon ? IconSize + TitleGap : 0) + titleSize.cx + (hasClose ? TitleGap + CloseSize : 0)
                 : 0;
    int contentWidth = std::max<int>(textRect.right, titleWidth);
    int contentHeight = titleLine + (hasTitle ? TitleGap : 0) + textRect.bottom;
    int bodyWidth = contentWidth + 2 * (margin + 1);
    int bodyHeight = contentHeight + 2 * (margin + 1);
    if (balloon)
        bodyWidth = std::max(bodyWidth, 2 * StemInset + StemWidth);
    int top = balloon && stemAbove ? StemHeight : 0;
    layout.body = RECT{0, top, bodyWidth, top + bodyHeight};
    layout.window = SIZE{bodyWidth, bodyHeight + (balloon ? StemHeight : 0)};
    layout.stemAbove = stemAbove;
    layout.stemX = StemInset;
    int x = margin + 1;
    int y = top + margin + 1;
    if (hasTitle) {
        if (hasIcon) {
            layout.icon =
                RECT{x, y + (titleLine - IconSize) / 2, x + IconSize, y + (titleLine + IconSize) / 2};
            x += IconSize + TitleGap;
        }
        layout.title = RECT{x, y, x + titleSize.cx, y + titleLine};
        if (hasClose)
            layout.close = RECT{bodyWidth - margin - 1 - CloseSize, y, bodyWidth - margin - 1, y + CloseSize};
        y += titleLine + TitleGap;
    }
    layout.text = RECT{margin + 1, y, margin + 1 + textRect.right, y + textRect.bottom};
    return layout;
}

// The screen point the tip belongs to: the track position for a tracking tip, the bottom centre of the
// tool for TTF_CENTERTIP, else the mouse.
POINT Tooltip::Anchor(int index) const {
    const Tool& tool = FTools[static_cast<std::size_t>(index)];
    if (index == FTracking)
        return FTrackPos;
    if (tool.flags & TTF_CENTERTIP) {
        RECT rect = tool.rect;
        if (tool.flags & TTF_IDISHWND)
            GetClientRect(tool.Window(), &rect);
        POINT point{(rect.left + rect.right) / 2, rect.bottom};
        ClientToScreen(tool.Window(), &point);
        return point;
    }
    return FLastMouse;
}

// ---- Showing and hiding ----

void Tooltip::Show(int index, bool tracking) {
    if (Shown())
        Hide();
    KillTimer(FHwnd, ShowTimer);
    String text = ToolText(index);
    if (static_cast<std::size_t>(index) >= FTools.size())
        return;
    // A tip without text is not shown, title or not, as Win32 does.
    if (text.empty())
        return;
    if (tracking)
        FTracking = index;
    FCurrent = index;
    FShownText = text;
    NMHDR header{};
    // An owner that answers TRUE has moved the tip itself: it keeps that place and only gets its size.
    Place(Notify(index, TTN_SHOW, header) ? Placement::ByOwner : Placement::Anchor);
    SetWindowPos(FHwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // A tracking tip stays until its owner ends it; others pop after the auto-pop delay or when the
    // mouse leaves the tool.
    if (index != FTracking) {
        SetTimer(FHwnd, PopTimer, static_cast<UINT>(AutoPopDelay()), nullptr);
        SetTimer(FHwnd, LeaveTimer, LeaveInterval, nullptr);
    }
    ZTRACE(TraceTooltips, "%p: tip of tool %d shown", static_cast<void*>(FHwnd), index);
}

// Puts the shown tip beside its anchor, kept on the screen: below it, or above when there is no room
// below; a balloon turns its stem to point at the anchor.
void Tooltip::Place(Placement placement) {
    if (!Shown())
        return;
    const Tool& tool = FTools[static_cast<std::size_t>(FCurrent)];
    POINT anchor = Anchor(FCurrent);
    bool balloon = Balloon();
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    FLayout = Layout(FShownText, true);
    int x = anchor.x;
    int y = anchor.y;
    bool absolute = FCurrent == FTracking && (tool.flags & TTF_ABSOLUTE);
    if (balloon) {
        if (y + FLayout.window.cy > screenHeight) {
            FLayout = Layout(FShownText, false);
            y = anchor.y - FLayout.window.cy;
        }
        x = anchor.x - StemInset;
        if (x + FLayout.window.cx > screenWidth) {
            x = std::max(0, screenWidth - FLayout.window.cx);
        }
        x = std::max(0, x);
        FLayout.stemX = std::clamp<int>(anchor.x - x, BalloonRound / 2, FLayout.window.cx - BalloonRound / 2);
    } else if (!absolute) {
        if (FCurrent != FTracking && !(tool.flags & TTF_CENTERTIP))
            y += GetSystemMetrics(SM_CYCURSOR) / 2 + 4; // clear of the arrow cursor
        if (tool.flags & TTF_CENTERTIP)
            x -= FLayout.window.cx / 2;
        if (y + FLayout.window.cy > screenHeight)
            y = anchor.y - FLayout.window.cy;
        x = std::clamp(x, 0, std::max(0, screenWidth - FLayout.window.cx));
    }
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (placement == Placement::ByOwner ? SWP_NOMOVE : 0);
    SetWindowPos(FHwnd, nullptr, x, y, FLayout.window.cx, FLayout.window.cy, flags);
    if (balloon) {
        const RECT& body = FLayout.body;
        HRGN shape = CreateRoundRectRgn(body.left, body.top, body.right + 1, body.bottom + 1, BalloonRound,
                                        BalloonRound);
        int baseY = FLayout.stemAbove ? body.top + 1 : body.bottom - 1;
        int tipY = FLayout.stemAbove ? 0 : FLayout.window.cy;
        int baseX =
            std::clamp<int>(FLayout.stemX, BalloonRound / 2, body.right - BalloonRound / 2 - StemWidth);
        POINT stem[3] = {{baseX, baseY}, {baseX + StemWidth, baseY}, {FLayout.stemX, tipY}};
        HRGN triangle = CreatePolygonRgn(stem, 3, WINDING);
        CombineRgn(shape, shape, triangle, RGN_OR);
        DeleteObject(triangle);
        SetWindowRgn(FHwnd, shape, TRUE);
    }
    InvalidateRect(FHwnd, nullptr, TRUE);
}

void Tooltip::Hide() {
    KillTimer(FHwnd, PopTimer);
    KillTimer(FHwnd, LeaveTimer);
    if (!Shown())
        return;
    int index = FCurrent;
    FCurrent = -1;
    if (index == FTracking)
        FTracking = -1;
    ZTRACE(TraceTooltips, "%p: tip of tool %d popped", static_cast<void*>(FHwnd), index);
    // The owner hears of it while the tip still shows, as TTN_POP promises; it may destroy the tip
    // meanwhile, so nothing of this object is used after.
    HWND hwnd = FHwnd;
    NMHDR header{};
    Notify(index, TTN_POP, header);
    ShowWindow(hwnd, SW_HIDE);
}

// ---- TTM_* messages ----

LRESULT Tooltip::TTMAddTool(const TOOLINFOW* info) {
    if (!info || info->cbSize < TTTOOLINFOW_V1_SIZE)
        return FALSE;
    if (Find(info) >= 0)
        return FALSE;
    Tool tool;
    tool.hwnd = info->hwnd;
    tool.id = info->uId;
    SetToolFields(tool, *info);
    FTools.push_back(tool);
    if (tool.flags & TTF_SUBCLASS)
        AddSubclass(tool.Window(), FHwnd);
    return TRUE;
}

LRESULT Tooltip::TTMDelTool(const TOOLINFOW* info) {
    int index = Find(info);
    if (index < 0)
        return 0;
    if (index == FCurrent)
        Hide();
    if (index == FHot) {
        KillTimer(FHwnd, ShowTimer);
        FHot = -1;
    }
    if (index == FTracking)
        FTracking = -1;
    Tool tool = FTools[static_cast<std::size_t>(index)];
    FTools.erase(FTools.begin() + index);
    // The indexes after the removed tool move down by one.
    for (int* kept : {&FCurrent, &FHot, &FTracking})
        if (*kept > index)
            --*kept;
    if (tool.flags & TTF_SUBCLASS) {
        bool stillUsed = std::any_of(FTools.begin(), FTools.end(), [&](const Tool& other) {
            return (other.flags & TTF_SUBCLASS) && other.Window() == tool.Window();
        });
        if (!stillUsed)
            RemoveSubclass(tool.Window(), FHwnd);
    }
    return 0;
}

LRESULT Tooltip::TTMNewToolRect(const TOOLINFOW* info) {
    int index = Find(info);
    if (index < 0)
        return 0;
    FTools[static_cast<std::size_t>(index)].rect = info->rect;
    return 0;
}

LRESULT Tooltip::TTMGetToolInfo(TOOLINFOW* info) const {
    int index = Find(info);
    if (index < 0)
        return FALSE;
    const Tool& tool = FTools[static_cast<std::size_t>(index)];
    info->uFlags = tool.flags;
    info->rect = tool.rect;
    info->hinst = tool.hinst;
    if (info->cbSize >= TTTOOLINFOW_V2_SIZE)
        info->lParam = tool.lParam;
    if (tool.callback) {
        info->lpszText = LPSTR_TEXTCALLBACKW;
    } else if (tool.resource) {
        info->lpszText = tool.resource;
    } else if (info->lpszText && !IS_INTRESOURCE(info->lpszText) && info->lpszText != LPSTR_TEXTCALLBACKW) {
        std::size_t count = std::min(tool.text.size(), ToolInfoTextChars - 1);
        std::copy_n(tool.text.data(), count, info->lpszText);
        info->lpszText[count] = 0;
    }
    return TRUE;
}

LRESULT Tooltip::TTMSetToolInfo(const TOOLINFOW* info) {
    int index = Find(info);
    if (index < 0)
        return 0;
    Tool& tool = FTools[static_cast<std::size_t>(index)];
    bool subclassed = (tool.flags & TTF_SUBCLASS) != 0;
    HWND window = tool.Window();
    SetToolFields(tool, *info);
    if (subclassed && !(tool.flags & TTF_SUBCLASS))
        RemoveSubclass(window, FHwnd);
    else if (!subclassed && (tool.flags & TTF_SUBCLASS))
        AddSubclass(tool.Window(), FHwnd);
    if (index == FCurrent)
        TTMUpdate();
    return 0;
}

LRESULT Tooltip::TTMUpdateTipText(const TOOLINFOW* info) {
    int index = Find(info);
    if (index < 0)
        return 0;
    Tool& tool = FTools[static_cast<std::size_t>(index)];
    tool.callback = info->lpszText == LPSTR_TEXTCALLBACKW;
    tool.resource = nullptr;
    tool.text.clear();
    if (!tool.callback && info->lpszText) {
        if (IS_INTRESOURCE(info->lpszText))
            tool.resource = info->lpszText;
        else
            tool.text = info->lpszText;
    }
    if (index == FCurrent)
        TTMUpdate();
    return 0;
}

// wParam is the size of the caller's buffer in characters; a caller that gives none is assumed to give
// the customary 80.
LRESULT Tooltip::TTMGetText(WPARAM size, TOOLINFOW* info) {
    int index = Find(info);
    if (index < 0 || !info->lpszText || IS_INTRESOURCE(info->lpszText) ||
        info->lpszText == LPSTR_TEXTCALLBACKW)
        return 0;
    std::size_t room = size ? static_cast<std::size_t>(size) : ToolInfoTextChars;
    String text = ToolText(index);
    std::size_t count = std::min(text.size(), room - 1);
    std::copy_n(text.data(), count, info->lpszText);
    info->lpszText[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT Tooltip::TTMActivate(bool active) {
    FActive = active;
    if (!active) {
        KillTimer(FHwnd, ShowTimer);
        FHot = -1;
        if (Shown() && FCurrent != FTracking)
            Hide();
    }
    return 0;
}

LRESULT Tooltip::TTMTrackActivate(bool activate, const TOOLINFOW* info) {
    int index = Find(info);
    if (index < 0)
        return 0;
    if (activate) {
        FTracking = index;
        Show(index, true);
    } else if (index == FTracking) {
        if (FCurrent == index)
            Hide();
        FTracking = -1;
    }
    return 0;
}

LRESULT Tooltip::TTMTrackPosition(POINT point) {
    FTrackPos = point;
    if (Shown() && FCurrent == FTracking)
        Place();
    return 0;
}

LRESULT Tooltip::TTMSetMaxTipWidth(int width) {
    int old = FMaxWidth;
    FMaxWidth = width < 0 ? -1 : width;
    return old;
}

LRESULT Tooltip::TTMSetTitle(WPARAM icon, LPCWSTR title) {
    FTitle = title ? String(title) : String();
    FTitleIcon = icon;
    if (Shown())
        TTMUpdate();
    return TRUE;
}

// A negative time puts the delay back to its default; TTDT_AUTOMATIC sets all three in their usual
// proportions.
LRESULT Tooltip::TTMSetDelayTime(WPARAM which, int milliseconds) {
    int value = milliseconds < 0 ? -1 : milliseconds;
    switch (which) {
    case TTDT_INITIAL:
        FInitial = value;
        break;
    case TTDT_AUTOPOP:
        FAutoPop = value;
        break;
    case TTDT_RESHOW:
        FReshow = value;
        break;
    case TTDT_AUTOMATIC:
        FInitial = value;
        FAutoPop = value < 0 ? -1 : 10 * value;
        FReshow = value < 0 ? -1 : value / 5;
        break;
    default:
        break;
    }
    return 0;
}

LRESULT Tooltip::TTMGetDelayTime(WPARAM which) const {
    switch (which) {
    case TTDT_INITIAL:
    case TTDT_AUTOMATIC:
        return InitialDelay();
    case TTDT_AUTOPOP:
        return AutoPopDelay();
    case TTDT_RESHOW:
        return ReshowDelay();
    default:
        return 0;
    }
}

LRESULT Tooltip::TTMPop() {
    KillTimer(FHwnd, ShowTimer);
    Hide();
    return 0;
}

// Shows the tip of the tool under the mouse at once.
LRESULT Tooltip::TTMPopup() {
    POINT cursor{};
    GetCursorPos(&cursor);
    FLastMouse = cursor;
    int index = FHot;
    if (index < 0) {
        HWND under = WindowFromPoint(cursor);
        POINT client = cursor;
        ScreenToClient(under, &client);
        index = HitTool(under, client);
    }
    if (index >= 0)
        Show(index, false);
    return 0;
}

LRESULT Tooltip::TTMRelayEvent(const MSG* msg) {
    if (!msg || !msg->hwnd)
        return 0;
    POINT client = PointOf(msg->lParam);
    switch (msg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // A click ends the wait and the tip; the mouse must rest again to bring it back.
        KillTimer(FHwnd, ShowTimer);
        FHot = -1;
        if (FCurrent != FTracking)
            Hide();
        return 0;
    case WM_MOUSEMOVE:
        break;
    default:
        return 0;
    }
    if (!FActive)
        return 0;
    if (!(Style() & TTS_ALWAYSTIP)) {
        HWND root = GetAncestor(msg->hwnd, GA_ROOT);
        if (GetActiveWindow() != root)
            return 0;
    }
    FLastMouse = client;
    ClientToScreen(msg->hwnd, &FLastMouse);
    int index = HitTool(msg->hwnd, client);
    if (Shown() && index == FCurrent)
        return 0;
    if (index == FHot && !Shown())
        return 0; // still waiting for the delay that started on entering
    bool wasShown = Shown() && FCurrent != FTracking;
    if (wasShown)
        Hide();
    FHot = index;
    KillTimer(FHwnd, ShowTimer);
    if (index >= 0)
        SetTimer(FHwnd, ShowTimer, static_cast<UINT>(wasShown ? ReshowDelay() : InitialDelay()), nullptr);
    return 0;
}

LRESULT Tooltip::TTMWindowFromPoint(const POINT* point) const {
    return point ? reinterpret_cast<LRESULT>(WindowFromPoint(*point)) : 0;
}

LRESULT Tooltip::TTMSetTipBkColor(COLORREF color) {
    FBkColor = color;
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT Tooltip::TTMSetTipTextColor(COLORREF color) {
    FTextColor = color;
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT Tooltip::TTMGetBubbleSize(const TOOLINFOW* info) {
    int index = Find(info);
    if (index < 0)
        return 0;
    TipLayout layout = Layout(ToolText(index), true);
    return MAKELRESULT(static_cast<WORD>(layout.window.cx), static_cast<WORD>(layout.window.cy));
}

// Between a text rectangle and the window that shows it: the frame and the margin (the stem of a
// balloon is not counted).
LRESULT Tooltip::TTMAdjustRect(bool larger, RECT* rect) const {
    if (!rect)
        return FALSE;
    int grow = (Balloon() ? BalloonMargin : PlainMargin) + 1;
    if (!larger)
        grow = -grow;
    InflateRect(rect, grow, grow);
    return TRUE;
}

LRESULT Tooltip::TTMUpdate() {
    if (!Shown())
        return 0;
    if (FTools[static_cast<std::size_t>(FCurrent)].callback)
        FShownText = ToolText(FCurrent);
    else
        FShownText = FTools[static_cast<std::size_t>(FCurrent)].text;
    Place();
    return 0;
}

LRESULT Tooltip::WMTimer(UINT_PTR id) {
    switch (id) {
    case ShowTimer:
        KillTimer(FHwnd, ShowTimer);
        if (FHot >= 0 && FActive)
            Show(FHot, false);
        break;
    case PopTimer:
        KillTimer(FHwnd, PopTimer);
        if (FCurrent != FTracking)
            Hide();
        break;
    case LeaveTimer: {
        if (!Shown() || FCurrent == FTracking)
            break;
        POINT cursor{};
        GetCursorPos(&cursor);
        HWND window = FTools[static_cast<std::size_t>(FCurrent)].Window();
        RECT bounds{};
        GetWindowRect(window, &bounds);
        if (!PtInRect(&bounds, cursor))
            Hide();
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT Tooltip::WMSetFont(HFONT font, bool redraw) {
    FFont = font;
    if (FTitleFont) {
        DeleteObject(FTitleFont);
        FTitleFont = nullptr;
    }
    if (redraw && Shown())
        TTMUpdate();
    return 0;
}

// Clicks pass through a plain tip to what is under it; a balloon can be clicked (to close it).
LRESULT Tooltip::WMNcHitTest() const {
    if (Shown() && (FTools[static_cast<std::size_t>(FCurrent)].flags & TTF_TRANSPARENT))
        return HTTRANSPARENT;
    return Balloon() ? HTCLIENT : HTTRANSPARENT;
}

LRESULT Tooltip::WMLButtonDown(POINT point) {
    if (Shown() && Balloon())
        Hide();
    (void)point;
    return 0;
}

// ---- Painting ----

void Tooltip::PaintBody(HDC dc, const TipLayout& layout, HRGN shape) {
    PaintTheme theme(FHwnd, u"Tooltip", GetSystemSettings().themesActive);
    bool balloon = Balloon();
    COLORREF border = RGB(0, 0, 0);
    if (theme) {
        int part = balloon ? (FTitle.empty() ? TTP_BALLOON : TTP_BALLOONTITLE)
                           : (FTitle.empty() ? TTP_STANDARD : TTP_STANDARDTITLE);
        int saved = SaveDC(dc);
        SelectClipRgn(dc, shape);
        RECT client{0, 0, layout.window.cx, layout.window.cy};
        DrawThemeBackground(theme, dc, part, 1, &client, nullptr);
        RestoreDC(dc, saved);
        GetThemeColor(theme, part, 1, TMT_BORDERCOLOR, &border);
    } else {
        HBRUSH fill = CreateSolidBrush(FBkColor);
        FillRgn(dc, shape, fill);
        DeleteObject(fill);
    }
    HBRUSH frame = CreateSolidBrush(border);
    FrameRgn(dc, shape, frame, 1, 1);
    DeleteObject(frame);
}

LRESULT Tooltip::WMPaint(HDC given) {
    PaintControl(FHwnd, given, [this](HDC dc) {
        if (!Shown())
            return;
        const TipLayout& layout = FLayout;
        HRGN shape = CreateRectRgn(0, 0, layout.window.cx, layout.window.cy);
        if (Balloon())
            GetWindowRgn(FHwnd, shape);
        PaintBody(dc, layout, shape);
        DeleteObject(shape);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, FTextColor);
        if (!FTitle.empty()) {
            if (FTitleIcon) {
                static const LPCWSTR icons[] = {nullptr, IDI_INFORMATION, IDI_WARNING, IDI_ERROR};
                HICON icon = FTitleIcon <= TTI_ERROR ? LoadIconW(nullptr, icons[FTitleIcon])
                                                     : reinterpret_cast<HICON>(FTitleIcon);
                if (icon)
                    DrawIconEx(dc, layout.icon.left, layout.icon.top, icon, IconSize, IconSize, 0, nullptr,
                               DI_NORMAL);
            }
            SelectGuard font(dc, TitleFont());
            RECT title = layout.title;
            DrawTextW(dc, FTitle.c_str(), static_cast<int>(FTitle.size()), &title,
                      DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        }
        if (layout.close.right > layout.close.left) {
            RECT close = layout.close;
            DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_FLAT);
        }
        SelectGuard font(dc, TextFont());
        RECT text = layout.text;
        UINT format = DT_EXPANDTABS | ((Style() & TTS_NOPREFIX) ? DT_NOPREFIX : 0) |
                      (FMaxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE);
        DrawTextW(dc, FShownText.c_str(), static_cast<int>(FShownText.size()), &text, format);
    });
    return 0;
}

// ---- The window procedure ----

LRESULT TooltipWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // A tooltip is always a pop-up without a border of the window manager's, whatever it was made with.
        DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        style = (style & ~(WS_CHILD | WS_BORDER | WS_DLGFRAME)) | WS_POPUP;
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)) | WS_EX_TOOLWINDOW;
        SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    }
    Tooltip* tip = ControlState<Tooltip>(hwnd, message, [&] { return new Tooltip(hwnd); });
    if (!tip)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    auto info = [&] { return reinterpret_cast<TOOLINFOW*>(lParam); };
    switch (message) {
    case TTM_ADDTOOLW:
        return tip->TTMAddTool(info());
    case TTM_DELTOOLW:
        return tip->TTMDelTool(info());
    case TTM_NEWTOOLRECTW:
        return tip->TTMNewToolRect(info());
    case TTM_GETTOOLINFOW:
        return tip->TTMGetToolInfo(info());
    case TTM_SETTOOLINFOW:
        return tip->TTMSetToolInfo(info());
    case TTM_UPDATETIPTEXTW:
        return tip->TTMUpdateTipText(info());
    case TTM_GETTEXTW:
        return tip->TTMGetText(wParam, info());
    case TTM_ACTIVATE:
        return tip->TTMActivate(wParam != 0);
    case TTM_TRACKACTIVATE:
        return tip->TTMTrackActivate(wParam != 0, info());
    case TTM_TRACKPOSITION:
        return tip->TTMTrackPosition(PointOf(lParam));
    case TTM_SETMAXTIPWIDTH:
        return tip->TTMSetMaxTipWidth(static_cast<int>(lParam));
    case TTM_GETMAXTIPWIDTH:
        return tip->TTMGetMaxTipWidth();
    case TTM_SETTITLEW:
        return tip->TTMSetTitle(wParam, reinterpret_cast<LPCWSTR>(lParam));
    case TTM_SETDELAYTIME:
        return tip->TTMSetDelayTime(wParam, static_cast<short>(LOWORD(lParam)));
    case TTM_GETDELAYTIME:
        return tip->TTMGetDelayTime(wParam);
    case TTM_POP:
        return tip->TTMPop();
    case TTM_POPUP:
        return tip->TTMPopup();
    case TTM_RELAYEVENT:
        return tip->TTMRelayEvent(reinterpret_cast<const MSG*>(lParam));
    case TTM_WINDOWFROMPOINT:
        return tip->TTMWindowFromPoint(reinterpret_cast<const POINT*>(lParam));
    case TTM_SETTIPBKCOLOR:
        return tip->TTMSetTipBkColor(static_cast<COLORREF>(wParam));
    case TTM_SETTIPTEXTCOLOR:
        return tip->TTMSetTipTextColor(static_cast<COLORREF>(wParam));
    case TTM_GETTIPBKCOLOR:
        return tip->TTMGetTipBkColor();
    case TTM_GETTIPTEXTCOLOR:
        return tip->TTMGetTipTextColor();
    case TTM_GETBUBBLESIZE:
        return tip->TTMGetBubbleSize(info());
    case TTM_ADJUSTRECT:
        return tip->TTMAdjustRect(wParam != 0, reinterpret_cast<RECT*>(lParam));
    case TTM_GETTOOLCOUNT:
        return tip->TTMGetToolCount();
    case TTM_UPDATE:
        return tip->TTMUpdate();
    case WM_TIMER:
        return tip->WMTimer(wParam);
    case WM_SETFONT:
        return tip->WMSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
    case WM_GETFONT:
        return tip->WMGetFont();
    case WM_NCHITTEST:
        return tip->WMNcHitTest();
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        return tip->WMLButtonDown(PointOf(lParam));
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return tip->WMPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
    default:
        if (message >= WM_USER && message < WM_USER + 64)
            ZFIXME(TraceTooltips, "%p: message %#x is not handled", static_cast<void*>(hwnd), message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterTooltipsClass() {
    RegisterControlClass(TOOLTIPS_CLASSW, TooltipWndProc, CS_DBLCLKS | CS_GLOBALCLASS | CS_SAVEBITS);
}

} // namespace win32::controls
