// The full string grid's paint cycle: the paint message under the update lock, one pass over the visible
// cells, what is painted once per pass (the edited cell's frame, the background outside the cells), the
// XOR sizing lines and the translucent focus frame around the edited cell.
#include <algorithm>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace {

// The client rows the search footer and a visible floating footer keep for themselves.
constexpr Integer SearchFooterHeight = 32;

} // namespace

// ---- The paint message

void TAdvStringGrid::WMPaint(TMessage& Message) {
    if (FUpdateCount > 0) {
        // Nothing is drawn now; the area is validated, or the paint would come back at once and for as
        // long as the lock is held, and remembered, to be painted when the lock ends.
        if (Message.WParam == 0 && HandleAllocated()) {
            RECT update{};
            if (GetUpdateRect(WindowHandle(), &update, FALSE)) {
                if (FLockedPaint) {
                    RECT both{};
                    const RECT before = FLockedPaintRect;
                    UnionRect(&both, &before, &update);
                    FLockedPaintRect = both;
                } else {
                    FLockedPaintRect = update;
                }
                FLockedPaint = true;
            }
            ValidateRect(WindowHandle(), nullptr);
        }
        Message.Result = 0;
        return;
    }
    TBaseGrid::WMPaint(Message);
    if (!TabStop() && FPaintCount == 0) {
        FPaintCount = 1;
        UpdateVertScrollProportional();
    }
}

void TAdvStringGrid::WMEraseBkgnd(TMessage& Message) {
    Message.Result = 0;
}

void TAdvStringGrid::RepaintLockedArea() {
    if (!FLockedPaint)
        return;
    FLockedPaint = false;
    if (HandleAllocated()) {
        const RECT area = FLockedPaintRect;
        InvalidateRect(WindowHandle(), &area, FALSE);
    }
}

// ---- One pass

void TAdvStringGrid::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetStyle(bsSolid);
    TBaseGrid::Paint();

    if (FEditing) {
        TColor line = GridLineWidth() >= 1 ? GridLineColor() : Color();
        if (!Options().Contains(goHorzLine) && !Options().Contains(goVertLine))
            line = Color();
        canvas->Pen()->SetColor(line);
        canvas->Rectangle(CellRect(Col(), Row()));
    }
    canvas->Pen()->SetColor(clBlack);
    if (!FBackGround->Bitmap()->Empty() || FBackGround->ColorTo() != clNone)
        PaintOuterBackground();
    // The design-time quick configuration box is never painted: the grid is never designed here.
    if (OnPainted)
        OnPainted(this);
}

void TAdvStringGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) {
    const TRect rect = ARect;
    TBaseGrid::DrawCell(ACol, ARow, rect, AState);
}

// ---- The background outside the cells

void TAdvStringGrid::PaintOuterBackground() {
    const Integer lastCol = ColCount() - 1;
    const Integer lastRow = RowCount() - 1;
    const bool rowsBeyond = TopRow() + VisibleRowCount() < RowCount();
    const bool colsBeyond = LeftCol() + VisibleColCount() < ColCount();
    const TBackGroundDisplay display = FBackGround->Display();
    const bool gradient = display == bdGradientHorz || display == bdGradientVert;
    if ((rowsBeyond && colsBeyond) || (gradient && FBackGround->ColorTo() == clNone))
        return;

    const TRect client = ClientRect();
    HRGN area = nullptr;
    TRect lastColRect = CellRect(lastCol, TopRow());
    lastColRect.Right += GridLineWidth();
    if (lastColRect.Right < client.Right && lastCol < LeftCol() + VisibleColCount() + 1) {
        const RECT right{lastColRect.Right, 0, client.Right, client.Bottom};
        area = CreateRectRgnIndirect(&right);
    }
    TRect lastRowRect = CellRect(LeftCol(), lastRow);
    lastRowRect.Bottom += GridLineWidth();
    if (lastRowRect.Bottom < client.Bottom && lastRow < TopRow() + VisibleRowCount() + 1) {
        const RECT below{0, lastRowRect.Bottom, client.Right, client.Bottom};
        HRGN belowRegion = CreateRectRgnIndirect(&below);
        if (area == nullptr) {
            area = belowRegion;
        } else {
            CombineRgn(area, area, belowRegion, RGN_OR);
            DeleteObject(belowRegion);
        }
    }
    TRect drawRect = client;
    if (FSearchFooter->Visible())
        drawRect.Bottom -= SearchFooterHeight;
    if (FFloatingFooter->Visible() && FFooterPanel != nullptr)
        drawRect.Bottom -= FFooterPanel->Height();
    if (area == nullptr)
        return;

    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    // The search footer's strip is left to it, whatever the region says.
    const RECT drawArea = drawRect;
    HRGN limit = CreateRectRgnIndirect(&drawArea);
    CombineRgn(area, area, limit, RGN_AND);
    DeleteObject(limit);
    const int saved = SaveDC(dc);
    ExtSelectClipRgn(dc, area, RGN_AND);
    TBitmap* picture = FBackGround->Bitmap();
    if (picture->Empty()) {
        if (gradient)
            DrawGradient(canvas, FBackGround->Color(), FBackGround->ColorTo(), display == bdGradientHorz,
                         drawRect, 128);
    } else if (display != bdTile) {
        DrawFixedPositionPicture(drawRect);
    } else if (FBackGround->Cells() != bcFixed) {
        TPoint origin(drawRect.Left, drawRect.Top);
        if (FBackGround->Cells() == bcNormal) {
            const TRect first = CellRect(LeftCol(), TopRow());
            origin = TPoint(first.Left, first.Top);
        }
        origin.X += FXYOffset.X;
        origin.Y += FXYOffset.Y;
        TileBackgroundPicture(drawRect, origin);
    }
    RestoreDC(dc, saved);
    DeleteObject(area);
}

void TAdvStringGrid::DrawFixedPositionPicture(const TRect& R) {
    TBitmap* picture = FBackGround->Bitmap();
    const TRect place(FBackGround->Left(), FBackGround->Top(), FBackGround->Left() + picture->Width(),
                      FBackGround->Top() + picture->Height());
    RECT both{};
    const RECT a = place;
    const RECT b = R;
    if (!IntersectRect(&both, &a, &b))
        return;
    const TRect source(both.left - place.Left, both.top - place.Top, both.right - place.Left,
                       both.bottom - place.Top);
    SetBkMode(Canvas()->Handle(), TRANSPARENT);
    Canvas()->CopyRect(TRect(both), picture->Canvas(), source);
}

void TAdvStringGrid::TileBackgroundPicture(const TRect& R, const TPoint& Origin) {
    TBitmap* picture = FBackGround->Bitmap();
    const Integer w = picture->Width();
    const Integer h = picture->Height();
    if (w <= 0 || h <= 0)
        return;
    // Tiles start at Origin less one pixel; those wholly left of or above R are skipped, not drawn.
    Integer startX = Origin.X - 1;
    Integer startY = Origin.Y - 1;
    if (startX < R.Left)
        startX += (R.Left - startX) / w * w;
    if (startY < R.Top)
        startY += (R.Top - startY) / h * h;
    for (Integer y = startY; y < R.Bottom; y += h)
        for (Integer x = startX; x < R.Right; x += w) {
            const Integer cw = std::min(w, static_cast<Integer>(R.Right) - x);
            const Integer ch = std::min(h, static_cast<Integer>(R.Bottom) - y);
            Canvas()->CopyRect(TRect(x, y, x + cw, y + ch), picture->Canvas(), TRect(0, 0, cw, ch));
        }
}

// ---- Sizing lines

void TAdvStringGrid::DrawColSizingLine(Integer X) {
    TCanvas* canvas = Canvas();
    TPen saved;
    saved.Assign(canvas->Pen());
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psDot);
    canvas->Pen()->SetMode(pmXor);
    canvas->Pen()->SetWidth(1);
    const TRect last = CellRect(0, RowCount() - 1);
    canvas->MoveTo(X, 0);
    canvas->LineTo(X, std::max<Integer>(Height(), last.Bottom));
    canvas->Pen()->Assign(&saved);
}

void TAdvStringGrid::DrawRowSizingLine(Integer Y) {
    TCanvas* canvas = Canvas();
    TPen saved;
    saved.Assign(canvas->Pen());
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psDot);
    canvas->Pen()->SetMode(pmXor);
    canvas->Pen()->SetWidth(1);
    const TRect last = CellRect(ColCount() - 1, 0);
    canvas->MoveTo(0, Y);
    canvas->LineTo(std::max<Integer>(Width(), last.Right), Y);
    canvas->Pen()->Assign(&saved);
}
