// The floating focus frame around the cell being edited: a translucent ring in a layered window of its
// own, which follows the cell while the grid scrolls and the form moves.
#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "grid/engine/AdvUtil.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace {

constexpr TColor FocusFrameColor = 0x00FDD397;
constexpr Byte FocusFrameOpacity = 230;

// The cell rectangle R of the grid in screen coordinates.
TRect ScreenRect(HWND grid, const TRect& R) {
    POINT topLeft{R.Left, R.Top};
    ClientToScreen(grid, &topLeft);
    return TRect(topLeft.x, topLeft.y, topLeft.x + R.Width(), topLeft.y + R.Height());
}

} // namespace

void TAdvStringGrid::ShowFocusWindow(const TRect& R) {
    if (FFocusWindow == nullptr || !HandleAllocated())
        return;
    const Integer w = R.Width() + 9;
    const Integer h = R.Height() + 9;
    FFocusWindow->SetVisible(false);
    FFocusWindow->SetBounds(FFocusWindow->Left(), FFocusWindow->Top(), w, h);
    HWND window = FFocusWindow->Handle();

    TBitmap mask;
    MakeRoundRectMask(&mask, w, h, 3, 5, 4);
    TBitmap colour;
    colour.SetPixelFormat(pf24bit);
    colour.SetWidth(w);
    colour.SetHeight(h);
    colour.Canvas()->Brush()->SetColor(FocusFrameColor);
    colour.Canvas()->FillRect(TRect(0, 0, w, h));
    TGridAlphaMask alpha;
    alpha.MergeMask(&mask, &colour, FocusFrameColor);
    alpha.SetOpacity(FocusFrameOpacity);

    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowPos(window, nullptr, 0, 0, alpha.Width(), alpha.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SIZE size{alpha.Width(), alpha.Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha.Opacity(), AC_SRC_ALPHA};
    UpdateLayeredWindowDyn(window, nullptr, nullptr, &size, alpha.Canvas()->Handle(), &source, 0, &blend,
                           ULW_ALPHA);

    // Only the ring takes part: 4 pixels at the left and top, 5 at the right and bottom.
    HRGN ring = CreateRectRgn(0, 0, w, h);
    HRGN inner = CreateRectRgn(4, 4, 4 + R.Width(), 4 + R.Height());
    CombineRgn(ring, ring, inner, RGN_XOR);
    DeleteObject(inner);
    SetWindowRgn(window, ring, TRUE);

    const TRect screen = ScreenRect(WindowHandle(), R);
    SetWindowPos(window, HWND_TOP, screen.Left - 4, screen.Top - 4, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FocusWindowGrid = this;
}

void TAdvStringGrid::UpdateFocusWindow() {
    if (FFocusWindow == nullptr || !HandleAllocated())
        return;
    const bool inView = Col() >= LeftCol() && Col() <= LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                        Row() <= TopRow() + VisibleRowCount();
    if (!inView) {
        HideFocusWindow();
        return;
    }
    const TRect cell = CellRect(Col(), Row());
    const TRect screen = ScreenRect(WindowHandle(), cell);
    SetWindowPos(FFocusWindow->Handle(), nullptr, screen.Left - 4, screen.Top - 4, cell.Width() + 9,
                 cell.Height() + 9, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAdvStringGrid::HideFocusWindow() {
    if (FFocusWindow != nullptr) {
        // The frame was shown past the control's Visible, so the window is hidden directly.
        if (FFocusWindow->HandleAllocated())
            ShowWindow(FFocusWindow->Handle(), SW_HIDE);
        FFocusWindow->SetVisible(false);
    }
    if (FocusWindowGrid == this)
        FocusWindowGrid = nullptr;
}

void TAdvStringGrid::UpdateFocusFrame() {
    UpdateFocusWindow();
}
