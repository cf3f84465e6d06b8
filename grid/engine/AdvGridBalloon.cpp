// Balloon tips of the grid's cells, and the handlers that apply changed settings to the grid and its
// search panel.
#include <cstring>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/win32/commctrl.h"

namespace {

// The balloon window's style: always tip, no prefix, balloon.
constexpr DWORD BalloonStyle = TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON;

// Makes the window translucent. Both calls are looked up by name at each use, so that a system without
// layered windows simply keeps it opaque.
void SetLayeredAlpha(HWND Window, COLORREF Color, BYTE Alpha, const TRect& Rect) {
    SetWindowLongW(Window, GWL_EXSTYLE, GetWindowLongW(Window, GWL_EXSTYLE) | WS_EX_LAYERED);
    if (HMODULE user = GetModuleHandleW(u"USER32.DLL")) {
        using SetAttributes = BOOL (*)(HWND, COLORREF, BYTE, DWORD);
        if (auto set = reinterpret_cast<SetAttributes>(GetProcAddress(user, "SetLayeredWindowAttributes")))
            set(Window, Color, Alpha, LWA_ALPHA);
    }
    SIZE size{Rect.Width(), Rect.Height()};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, Alpha, 0};
    UpdateLayeredWindowDyn(Window, nullptr, nullptr, &size, nullptr, nullptr, Color, &blend, ULW_ALPHA);
}

} // namespace

// ---- Balloons

// The tooltip window belongs to the grid's window: without one yet there is nothing to make, and the
// window's creation calls this again.
void TAdvStringGrid::BalloonInit() {
    if (FBalloonInitialised || !HandleAllocated())
        return;
    FBalloonInitialised = true;
    CreateToolTipWindow();
    AddToolTipTool(3, u"ToolTipText");
    // -1 leaves the system's delay.
    const std::pair<WPARAM, Integer> delays[] = {{TTDT_INITIAL, FBalloonSettings->InitialDelay()},
                                                 {TTDT_RESHOW, FBalloonSettings->ReshowDelay()},
                                                 {TTDT_AUTOPOP, FBalloonSettings->AutoHideDelay()}};
    for (const auto& [which, delay] : delays)
        if (delay != -1)
            SendMessageW(FHToolTip, TTM_SETDELAYTIME, which, MAKELPARAM(delay, 0));
    if (FBalloonSettings->Transparency() != 0)
        SetLayeredAlpha(FHToolTip, 0, static_cast<BYTE>(255 - FBalloonSettings->Transparency()),
                        TRect(0, 0, 100, 100));
}

void TAdvStringGrid::BalloonDone() {
    if (FBalloonInitialised)
        DestroyToolTipWindow();
    FBalloonInitialised = false;
}

void TAdvStringGrid::CreateToolTipWindow() {
    FHToolTip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, BalloonStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, WindowHandle(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (FHToolTip != nullptr)
        SetWindowPos(FHToolTip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TAdvStringGrid::DestroyToolTipWindow() {
    // The window may be gone already with the grid's window, which owned it.
    if (FHToolTip != nullptr && IsWindow(FHToolTip))
        DestroyWindow(FHToolTip);
    FHToolTip = nullptr;
}

void TAdvStringGrid::AddToolTipTool(Integer Icon, const String& Title) {
    if (!HandleAllocated())
        return;
    RECT client{};
    if (!GetClientRect(WindowHandle(), &client))
        return;
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = WindowHandle();
    info.uId = reinterpret_cast<UINT_PTR>(WindowHandle());
    info.rect = client;
    info.hinst = GetModuleHandleW(nullptr);
    info.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(FHToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));

    // The title goes through a cleared buffer of 256 characters, cut to fit.
    Char buffer[256];
    std::memset(buffer, 0, sizeof(buffer));
    const size_t count = std::min<size_t>(Title.size(), std::size(buffer) - 1);
    std::memcpy(buffer, Title.data(), count * sizeof(Char));
    if (Icon < 0 || Icon > 3)
        Icon = 0;
    SendMessageW(FHToolTip, TTM_SETTITLEW, static_cast<WPARAM>(Icon), reinterpret_cast<LPARAM>(buffer));
}

void TAdvStringGrid::DestroyWnd() {
    if (FGridTimerID != 0)
        KillTimer(WindowHandle(), FGridTimerID);
    FGridTimerID = 0;
    TBaseGrid::DestroyWnd();
    // The tooltip window belonged to the window just destroyed; the next BalloonInit makes a new one.
    if (!IsDesigning())
        BalloonDone();
}

// ---- Settings change handlers

void TAdvStringGrid::BalloonEnableChanged(TObject* /*Sender*/) {
    if (ComponentState().Contains(csLoading))
        return;
    if (FBalloonSettings->Enable())
        BalloonInit();
    else
        BalloonDone();
}

// The modified-row marks are drawn in column 0.
void TAdvStringGrid::ShowModifiedChanged(TObject* /*Sender*/) {
    InvalidateCol(0);
}

void TAdvStringGrid::BandsChanged(TObject* /*Sender*/) {
    Invalidate();
}

void TAdvStringGrid::SearchFooterChanged(TObject* /*Sender*/) {
    if (ComponentState().Contains(csLoading) || FSearchPanel == nullptr)
        return;
    TSearchFooter& footer = *FSearchFooter;
    TSearchPanel& panel = *FSearchPanel;
    TAdvGridButton* buttons[] = {panel.ForwardButton(), panel.BackwardButton(), panel.HiliteButton()};

    // Hiding a panel that highlights takes the highlights away.
    if ((panel.HiliteButton()->Down() && panel.Visible() && !footer.Visible()) || footer.AlwaysHighLight())
        Invalidate();

    panel.SetColor(footer.Color());
    panel.SetColorTo(footer.ColorTo());
    panel.SetVisible(footer.Visible());
    panel.Font()->Assign(footer.Font());
    // Each part shows its hint only when there is one; the exit button has no caption.
    struct Texts {
        TControl* control;
        const String* caption;
        const String& hint;
    };
    const Texts texts[] = {
        {panel.ForwardButton(), &footer.FindNextCaption(), footer.HintFindNext()},
        {panel.BackwardButton(), &footer.FindPrevCaption(), footer.HintFindPrev()},
        {panel.HiliteButton(), &footer.HighLightCaption(), footer.HintHighlight()},
        {panel.ExitButton(), nullptr, footer.HintClose()},
    };
    for (const Texts& t : texts) {
        if (t.caption != nullptr)
            t.control->SetCaption(*t.caption);
        t.control->SetHint(t.hint);
        t.control->SetShowHint(!t.hint.empty());
    }
    panel.MatchCase()->SetCaption(footer.MatchCaseCaption());

    // The footer carries the grid's AutoThemeAdapt, which the grid passes on to it.
    for (TAdvGridButton* button : buttons) {
        if (footer.AutoThemeAdapt()) {
            button->SetAutoThemeAdapt(true);
            button->SetFlat(true);
            continue;
        }
        switch (FControlLook->ControlStyle()) {
        case AdvGrid::csFlat:
            button->SetFlat(true);
            break;
        case AdvGrid::csWinXP:
        case AdvGrid::csTheme:
            button->SetAutoXPStyle(true);
            button->SetFlat(false);
            break;
        case AdvGrid::csClassic:
            button->SetAutoXPStyle(false);
            button->SetFlat(false);
            break;
        default:
            break;
        }
    }

    panel.HiliteButton()->SetVisible(footer.ShowHighLight());
    panel.ExitButton()->SetVisible(footer.ShowClose());
    panel.MatchCase()->SetVisible(footer.ShowMatchCase());
    panel.MatchCase()->SetTransparent(true);
    panel.BackwardButton()->SetVisible(footer.ShowFindPrev());
    panel.ForwardButton()->SetVisible(footer.ShowFindNext());

    panel.MatchCase()->SetLeft(panel.HiliteButton()->Visible() ? 425 : 330);
    for (TAdvGridButton* button : buttons)
        button->SetHeight(button->Visible() ? 23 : 0);
    panel.MatchCase()->SetHeight(panel.MatchCase()->Visible() ? 18 : 0);
    if (footer.Visible()) {
        panel.SetTop(Height() - 32);
        panel.SetHeight(32);
        ScrollAboveSearchFooter();
    } else {
        panel.SetHeight(0);
    }
}
