// The base cell painter: every cell, fixed or not, is painted here. Merged blocks are painted once per
// paint, the hover and active rows take their colours, the selection is a plain fill or a rounded
// gradient frame, the background a solid, gradient or mirrored fill, the grid lines are drawn with the
// cell (the framework's own are off) and the rest goes to DrawCellContent.
#include "grid/engine/BaseGrid.h"

#include "grid/engine/AdvUtil.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace {

// The colours of a selection look's rounded frame.
struct SelectionColors {
    TColor from;
    TColor to;
    TColor mirrorFrom;
    TColor mirrorTo;
    TColor innerTop;
    TColor innerBottom;
    TColor border;
    TColor corner;
};

constexpr SelectionColors VistaSelection{0x00FDF8F1, 0x00FCEFD5, clNone,     clNone,
                                         0x00FDFBF6, 0x00FDF5E7, 0x00FDDE99, 0x00FCEDCB};
constexpr SelectionColors Win7Selection{0x00FCEBDC, 0x00FCDBC1, clNone,     clNone,
                                        0x00FDF4EB, 0x00FDEADB, 0x00CEA27D, 0x00E0C5AE};
constexpr SelectionColors Office2007Selection{0x00D7FFFD, 0x0058D4FC, 0x0058D4FC, 0x00B3F1FC,
                                              0x00F4FEFF, 0x00CAF8FF, 0x008DD7D3, 0x00C3D9DF};
// Every look while the grid shows its selection without the focus.
constexpr SelectionColors UnfocusedSelection{0x00F8F8F8, 0x00E5E5E5, clNone,     clNone,
                                             0x00FBFAFA, 0x00F0F0F0, 0x00D9D9D9, 0x00EFEFEF};

const SelectionColors& ColorsOf(TGridSelectionStyle style) {
    switch (style) {
    case ssWin7:
        return Win7Selection;
    case ssOffice2007:
        return Office2007Selection;
    default:
        return VistaSelection;
    }
}

// Which ends of a selected row's frame a cell draws rounded: 1 the left end, 2 the right end, 3 none
// (a middle cell), 0 both (a one-column selection).
Integer FramePart(const TGridRect& selection, Integer col) {
    Integer left = selection.Left;
    Integer right = selection.Right;
    if (right < left)
        std::swap(left, right);
    if (left == col && right > col)
        return 1;
    if (right == col && left < col)
        return 2;
    if (left < col && col < right)
        return 3;
    return 0;
}

// Narrows the DC's clipping for the time of one cell and puts back the clip the DC had, touching
// nothing else of the DC's state (the canvas keeps track of its own pen, brush and font).
class ClipScope {
public:
    explicit ClipScope(HDC dc) : FDC(dc) {}
    ~ClipScope() {
        if (FSaved == nullptr)
            return;
        SelectClipRgn(FDC, FHadClip ? FSaved : nullptr);
        DeleteObject(FSaved);
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;
    void Intersect(const TRect& rect) {
        if (FSaved == nullptr) {
            FSaved = CreateRectRgn(0, 0, 0, 0);
            FHadClip = GetClipRgn(FDC, FSaved) == 1;
        }
        IntersectClipRect(FDC, rect.Left, rect.Top, rect.Right, rect.Bottom);
    }

private:
    HDC FDC;
    HRGN FSaved = nullptr;
    bool FHadClip = false;
};

} // namespace

void TBaseGrid::Paint() {
    // The counter moves on however the paint ends, or a block would stay unpainted in the next one.
    struct NextPaint {
        Integer& id;
        ~NextPaint() { ++id; }
    } next{FPaintID};
    TObjStringGrid::Paint();
}

void TBaseGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) {
    DoPaintCell(Canvas(), ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCell(TCanvas* ACanvas, Integer ACol, Integer ARow, const TRect& ARect,
                          TGridDrawState AState) {
    DoPaintCell(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, Integer ACol, Integer ARow, const TRect& ARect,
                             TGridDrawState AState) {
    DoPaintCell(ACanvas, ACol, ARow, ARect, AState, false);
}

bool TBaseGrid::SelectCell(Integer ACol, Integer ARow) {
    if (UseRightToLeftAlignment()) {
        const bool result = TObjStringGrid::SelectCell(ACol, ARow);
        Invalidate();
        return result;
    }
    RepaintCell(RealColIndex(Col()), Row());
    const bool result = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(RealColIndex(ACol), ARow);
    return result;
}

void TBaseGrid::DoPaintCell(TCanvas* Canvas, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State,
                            bool WithContent) {
    if (FHideLastRow && ARow == RowCount() - 1) {
        Canvas->Brush()->SetColor(Color());
        Canvas->Pen()->SetColor(Color());
        Canvas->Rectangle(Rect);
        return;
    }

    // A merged block is painted whole through its base cell, once per paint, by whichever of its
    // cells comes first; the base marks the block as it paints it.
    const Integer realCol = RealColIndex(ACol);
    if (TCellProperties* record = AssignedProps(realCol, ARow)) {
        if (record->FCellSpanX != -1 || record->FCellSpanY != -1) {
            const TPoint base = record->BaseCellOf(realCol, ARow);
            TCellProperties* baseRecord = AssignedProps(base.X, base.Y);
            if (base.X != realCol || base.Y != ARow) {
                if (baseRecord != nullptr && baseRecord->FPaintID != FPaintID) {
                    baseRecord->FPaintID = FPaintID;
                    PaintCell(Canvas, DisplColIndex(base.X), base.Y, Rect, State);
                }
                return;
            }
            record->FPaintID = FPaintID;
        }
    }

    if (WithContent) {
        if (IsFixed(ACol, ARow)) {
            State.Include(gdFixed);
            State.Exclude(gdSelected);
        }
        Rect = CellRect(ACol, ARow);
    }

    // A block scrolled partly under the fixed cells must not paint over them.
    ClipScope clip(Canvas->Handle());
    const Integer fixedWidth = ACol >= FixedCols() ? FixedColsWidth() : 0;
    const Integer fixedHeight = ARow >= FixedRows() ? FixedRowsHeight() : 0;
    if ((ACol >= FixedCols() && FixedCols() > 0 && fixedWidth > Rect.Left) ||
        (ARow >= FixedRows() && FixedRows() > 0 && fixedHeight > Rect.Top))
        clip.Intersect(TRect(fixedWidth, fixedHeight, Width(), Height()));

    Canvas->Pen()->SetWidth(1);
    Canvas->Font()->Assign(Font());
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color());
    TColor colorTo = clNone;
    TColor mirrorColor = clNone;
    TColor mirrorColorTo = clNone;
    TAlignment horzAlign = taLeftJustify;
    TVAlignment vertAlign = vtaTop;
    bool wordWrap = FWordWrap;
    TCellGradientDirection direction = GradientVertical;
    GetVisualProperties(ACol, ARow, State, false, true, true, Canvas->Brush(), colorTo, mirrorColor,
                        mirrorColorTo, Canvas->Font(), horzAlign, vertAlign, wordWrap, direction);
    Canvas->Pen()->SetColor(Canvas->Brush()->Color());

    // The hover row; the active row comes after it and wins.
    if (FHoverRow && ARow == FHoverRowIdx &&
        !(State.Contains(gdSelected) && !FHoverRowCells.Contains(hcSelected)) &&
        !(State.Contains(gdFixed) && !FHoverRowCells.Contains(hcFixed))) {
        Canvas->Brush()->SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirrorColor = clNone;
        mirrorColorTo = clNone;
        direction = GradientVertical;
    }
    if ((FActiveRowShow && ARow == Row() && ACol >= FixedCols() && (ACol != Col() || !FShowSel)) ||
        (!WithContent && State.Contains(gdSelected))) {
        Canvas->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirrorColor = FActiveRowMirrorColor;
        mirrorColorTo = FActiveRowMirrorColorTo;
    }
    const TColor brushColor = Canvas->Brush()->Color();
    Canvas->Pen()->SetColor(brushColor);

    const bool rightToLeft = UseRightToLeftAlignment();
    if (State.Contains(gdSelected) && FSelectionStyle != ssDefault && FShowSel) {
        const Integer part = FramePart(Selection(), ACol);
        TRect frame = Rect;
        if (!Options().Contains(goHorzLine))
            ++frame.Bottom;
        if (!Options().Contains(goVertLine))
            ++frame.Right;
        if (rightToLeft) {
            ++frame.Right;
            ++frame.Bottom;
        }
        const bool focused =
            (HandleAllocated() && GetFocus() == Handle()) || Options().Contains(goDrawFocusSelected);
        const SelectionColors& colors = focused ? ColorsOf(FSelectionStyle) : UnfocusedSelection;
        DrawRoundedGradientFrame(Canvas, colors.from, colors.to, part, frame, Color(), colors.corner,
                                 colors.border, colors.innerBottom, colors.innerTop, colors.mirrorTo,
                                 colors.mirrorFrom);
    } else if (!(UsesVCLStyles() && (State.Contains(gdFixed) || State.Contains(gdSelected)))) {
        if (mirrorColorTo == clNone)
            DrawGradient(Canvas, brushColor, colorTo, direction == GradientHorizontal, Rect, 64,
                         GradientCache());
        else
            DrawGradientMirror(Canvas, Rect, brushColor, true, false, clNone, true, mirrorColorTo,
                               mirrorColor, colorTo, GradientCache());
    }

    // The grid lines, inside the cell at its right and bottom.
    const bool fixed = State.Contains(gdFixed);
    Integer offset = 1;
    if (fixed) {
        Canvas->Pen()->SetColor(FGridFixedLineColor);
        Canvas->Pen()->SetWidth(1);
    } else {
        if (FGridLineWidth > 0)
            Canvas->Pen()->SetColor(FGridLineColor);
        Canvas->Pen()->SetWidth(FGridLineWidth);
        offset = (FGridLineWidth + 1) / 2;
    }
    const TGridOptions options = Options();
    if (!(realCol == 0 && HasNodes()) &&
        ((options.Contains(goHorzLine) && !fixed) || (options.Contains(goFixedHorzLine) && fixed))) {
        Canvas->MoveTo(Rect.Left - offset + 1, Rect.Bottom - offset);
        Canvas->LineTo(Rect.Right - offset + 1, Rect.Bottom - offset);
    }
    if ((options.Contains(goVertLine) && !fixed) || (options.Contains(goFixedVertLine) && fixed)) {
        const Integer x = Rect.Right - offset + (rightToLeft ? 1 : 0);
        Canvas->MoveTo(x, Rect.Bottom - offset);
        Canvas->LineTo(x, Rect.Top - offset);
    }

    TRect content = Rect;
    if (fixed) {
        content.Right -= 1;
        content.Bottom -= 2;
    } else {
        content = TRect(Rect.Left + FGridLineWidth, Rect.Top + FGridLineWidth, Rect.Right - FGridLineWidth,
                        Rect.Bottom - FGridLineWidth);
    }
    if (WithContent)
        DrawCellContent(Canvas, ACol, ARow, content, State);

    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Pen()->SetStyle(psSolid);
}

// ---- Content until the string grid draws its own

void TBaseGrid::DrawCellContent(TCanvas* Canvas, Integer ACol, Integer ARow, const TRect& Rect,
                                TGridDrawState) {
    const String text = GetCellEx(RealColIndex(ACol), ARow);
    // Over the painted background, not in a box of its own.
    Canvas->Brush()->SetStyle(bsClear);
    RECT rect = Rect;
    DrawText(Canvas->Handle(), text.c_str(), -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}
