// The grid following the Office colour scheme, and its border in the styled looks.
#include "grid/engine/AdvGrid.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

// FIXME: called by nobody yet; loading, switching AutoThemeAdapt on and the scheme notifier call it once
// they are built.
void TAdvStringGrid::FollowOfficeTheme() {
    if (IsDesigning())
        return;
    const TOfficeTheme theme = DetectOfficeTheme();
    if (theme == FOldOfficeTheme || theme == otUnknown)
        return;
    SetComponentStyle(OfficeThemeToStyle(theme));
    FOldOfficeTheme = theme;
}

void TAdvStringGrid::DrawGridBorder() {
    const TGridLook look = FLook;
    const bool styled = look == glSoft || look == glQEL || look == glXP || look == glListView ||
                        look == glVista || look == glWin7 || look == glOffice2007 || look == glCustom;
    if (!styled || !HandleAllocated() || BorderStyle() == bsNone || FBorderColor == clNone ||
        (FFlat && look != glCustom))
        return;
    const Integer w = Width();
    const Integer h = Height();
    HDC dc = GetWindowDC(WindowHandle());
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Pen()->SetColor(FBorderColor);
    if (FFitCellsInGrid) {
        canvas.Polyline(
            {TPoint(1, h), TPoint(1, 1), TPoint(w - 2, 1), TPoint(w - 2, h - 2), TPoint(1, h - 2)});
        if (Parent() != nullptr) {
            canvas.Pen()->SetColor(Parent()->Brush()->Color());
            canvas.Polyline(
                {TPoint(0, h), TPoint(0, 0), TPoint(w - 1, 0), TPoint(w - 1, h - 1), TPoint(0, h - 1)});
        }
    } else if (FIsComCtl6) {
        canvas.Polyline(
            {TPoint(0, h - 1), TPoint(0, 0), TPoint(w - 1, 0), TPoint(w - 1, h - 1), TPoint(0, h - 1)});
    }
    canvas.SetHandle(nullptr);
    ReleaseDC(WindowHandle(), dc);
}
