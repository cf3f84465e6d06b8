// What is drawn inside one cell's lines, in a fixed order: the look of the cell again, the fixed cells'
// looks, the row indicator and modified-row bar, editor buttons shown without editing, the text, the
// cell's own borders, 3D edges, the graphic, the user's draw events and the focus rectangle; and the
// slices of the grid's background picture or gradient under each cell.
#include <algorithm>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace {

// Puts a canvas pen back as it was when the scope began. It keeps the pen's four values rather than a
// pen of its own, and a pen whose values came back unchanged keeps its object.
class PenScope {
public:
    explicit PenScope(TPen* pen)
        : FPen(pen), FColor(pen->Color()), FMode(pen->Mode()), FStyle(pen->Style()), FWidth(pen->Width()) {}
    ~PenScope() {
        FPen->SetColor(FColor);
        FPen->SetMode(FMode);
        FPen->SetStyle(FStyle);
        FPen->SetWidth(FWidth);
    }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

private:
    TPen* FPen;
    TColor FColor;
    TPenMode FMode;
    TPenStyle FStyle;
    Integer FWidth;
};

void Line(TCanvas* canvas, Integer x1, Integer y1, Integer x2, Integer y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

} // namespace

void TAdvStringGrid::DrawCellContent(TCanvas* Canvas, Integer ACol, Integer ARow, const TRect& Rect,
                                     TGridDrawState State) {
    TCellDrawContext ctx;
    ctx.canvas = Canvas;
    ctx.col = ACol;
    ctx.rcol = RealColIndex(ACol);
    ctx.row = ARow;
    ctx.state = State;
    ctx.rect = Rect;
    TRect& R = ctx.rect;

    // FIXME: the filter drop-down row shows no filter button until the filter lists are built, and
    // in-cell scroll bars are not painted until in-cell controls are.

    TColor colorTo = clNone;
    TColor mirrorColor = clNone;
    TColor mirrorColorTo = clNone;
    TCellGradientDirection direction = GradientVertical;
    ctx.wordWrap = FWordWrapEx;
    GetVisualProperties(ACol, ARow, ctx.state, false, false, true, Canvas->Brush(), colorTo, mirrorColor,
                        mirrorColorTo, Canvas->Font(), ctx.hAlign, ctx.vAlign, ctx.wordWrap, direction);
    GetCellGraphicLayout(ctx);

    if (ctx.state.Contains(gdSelected) && !ctx.state.Contains(gdFocused) && FSelectionColor == clNone)
        Canvas->Brush()->SetColor(clHighlight);
    if (FZoomFactor != 0)
        Canvas->Font()->SetSize(std::max(Canvas->Font()->Size() + FZoomFactor, 1));
    ctx.normalBrush = Canvas->Brush()->Color();
    ctx.normalFont = Canvas->Font()->Color();

    ctx.isFixed = ACol < FixedCols() || ARow < FixedRows() || IsFixed(ACol, ARow);
    if (ctx.isFixed && HoverRow() && ARow == FHoverRowIdx && HoverRowCells().Contains(hcFixed))
        ctx.isFixed = false;

    if (ctx.isFixed) {
        DrawFixedCellLook(ctx);
        Canvas->Brush()->SetColor(ctx.normalBrush);
    }

    // The row indicator of the current row, in column 0.
    Integer indicatorWidth = 0;
    if (ctx.rcol == 0 && ARow == Row() && FixedCols() > 0 && !FRowIndicator->Empty() &&
        !(RowCount() == FixedRows() && FFixedRowAlways)) {
        const Integer w = FRowIndicator->Width();
        const Integer h = FRowIndicator->Height();
        Integer y = R.Top;
        if (FVAlignment == vtaCenter)
            y = R.Top + (R.Height() - h) / 2;
        else if (FVAlignment == vtaBottom)
            y = R.Bottom - h;
        FRowIndicator->SetTransparent(true);
        Canvas->Draw(R.Left + 2, y, FRowIndicator.get());
        indicatorWidth = w + 2;
        R.Left += indicatorWidth;
    }

    if (ACol == 0 && FShowModified->Enabled() && GetRowModified(RealRowIndex(ARow))) {
        const TColor brush = Canvas->Brush()->Color();
        Canvas->Brush()->SetColor(FShowModified->Color());
        Canvas->FillRect(TRect(R.Right - 4, R.Top, R.Right, R.Bottom));
        Canvas->Brush()->SetColor(brush);
    }

    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, Canvas, ctx.rcol, ARow, ctx.state, R, false);

    const Integer rightBeforeButtons = R.Right;
    if (!ctx.isFixed && (FControlLook->DropDownAlwaysVisible() || FControlLook->SpinButtonsAlwaysVisible()))
        DrawAlwaysVisibleButtons(ctx);

    const bool eventDraws = (OnDrawCell || OnCustomCellDraw) && FNoDefaultDraw;
    if (!(ctx.graphic != nullptr && FNoImageAndText) && !eventDraws) {
        Canvas->Brush()->SetStyle(bsClear);
        DrawCellText(ctx);
        Canvas->Brush()->SetStyle(bsSolid);
    }

    R.Right = rightBeforeButtons;
    Canvas->Brush()->SetColor(ctx.normalBrush);
    Canvas->Font()->SetColor(ctx.normalFont);
    R = TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    DrawCellBorders(Canvas, ctx.rcol, ARow, R);
    R.Left -= indicatorWidth;

    if (ctx.isFixed && !FFlat)
        DrawFixedCellEdges(ctx, R);
    if (FFlat && FLook != glClassic && ctx.rcol >= ColCount() - FFixedRightCols) {
        const PenScope pen(Canvas->Pen());
        Canvas->Pen()->SetColor(0x00808080);
        Canvas->Pen()->SetWidth(1);
        if (Options().Contains(goFixedHorzLine)) {
            Line(Canvas, R.Left - 1, R.Top - 1, R.Right + 1, R.Top - 1);
            Line(Canvas, R.Left - 1, R.Bottom + 1, R.Right + 1, R.Bottom + 1);
        }
        if (Options().Contains(goFixedVertLine)) {
            Line(Canvas, R.Left - 1, R.Top - 1, R.Left - 1, R.Bottom + 1);
            Line(Canvas, R.Right + 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
        }
    }
    // FIXME: outline tree lines are drawn with nodes.

    TRect graphicRect = R;
    if (ctx.isFixed)
        ++graphicRect.Top;
    DrawCellGraphic(ctx, graphicRect);

    if (OnDrawCell) {
        const TRect cell(R.Left, R.Top, R.Right - GridLineWidth(), R.Bottom - GridLineWidth());
        OnDrawCell(this, ctx.rcol, ARow, cell, ctx.state);
    }
    if (OnCustomCellDraw)
        OnCustomCellDraw(this, Canvas, ctx.rcol, ARow, ctx.state, R, false);

    // The focus is asked for last: only the current cell can show the rectangle.
    if (!FHideFocusRect && !Options().Contains(goRowSelect) && HandleAllocated()) {
        const TPoint base = BaseCell(ctx.rcol, ARow);
        if (DisplColIndex(base.X) == Col() && base.Y == Row() && GetFocus() == WindowHandle() &&
            !IsFixed(Col(), Row())) {
            const Integer grow = GridLineWidth() - 1;
            TRect focus(R.Left - grow, R.Top - grow, R.Right + grow - 1, R.Bottom + grow - 1);
            Canvas->Brush()->SetColor(ctx.normalBrush);
            Canvas->Font()->SetColor(ctx.normalFont);
            Canvas->DrawFocusRect(focus);
        }
    }
}

// ---- Fixed cells

void TAdvStringGrid::DrawFixedCellLook(TCellDrawContext& Context) {
    TCanvas* canvas = Context.canvas;
    TRect R = Context.rect;
    if (FLook == glListView && !FFlat) {
        const PenScope pen(canvas->Pen());
        canvas->Brush()->SetColor(clBtnFace);
        canvas->Pen()->SetColor(clWhite);
        canvas->Rectangle(R);
        return;
    }
    if (FLook != glQEL && FLook != glXP && FLook != glVista && FLook != glWin7 && FLook != glOffice2007)
        return;
    // FIXME: hovered and pressed headers and sorted-column headers take their own gradients with the
    // mouse's header tracking and the sort settings.
    if (FActiveCellShow && ((Context.col == FixedCols() - 1 && Context.row == Row()) ||
                            (Context.row == FixedRows() - 1 && Context.col == Col()))) {
        DrawGradient(canvas, FActiveCellColor, FActiveCellColorTo, false, R, 128, GradientCache());
        return;
    }
    if (FFlat)
        return;
    ++R.Bottom;
    DrawGradientMirror(canvas, R, Context.normalBrush, true, FLook == glVista,
                       FLook == glVista ? clWhite : clNone, true, FQELGradMirrorTo, FQELGradMirrorFrom,
                       FQELGradTo, GradientCache());
}

void TAdvStringGrid::DrawFixedCellEdges(TCellDrawContext& Context, TRect R) {
    TCanvas* canvas = Context.canvas;
    const PenScope pen(canvas->Pen());
    canvas->Pen()->SetWidth(1);
    const TGridOptions options = Options();
    const TColor halved = HalveColor(FixedColor());
    switch (FLook) {
    case glClassic: {
        ++R.Top;
        ++R.Bottom;
        ++R.Left;
        RECT edge = R;
        DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
        canvas->Pen()->SetColor(clBlack);
        canvas->MoveTo(R.Right - 1, R.Top);
        canvas->LineTo(R.Right - 1, R.Bottom - 1);
        canvas->LineTo(R.Left - 1, R.Bottom - 1);
        break;
    }
    case glQEL:
    case glXP:
        ++R.Bottom;
        if (options.Contains(goFixedHorzLine)) {
            canvas->Pen()->SetColor(halved);
            Line(canvas, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
            canvas->Pen()->SetColor(clWhite);
            Line(canvas, R.Left, R.Top + 1, R.Right, R.Top + 1);
            Line(canvas, R.Left + 1, R.Top, R.Left + 1, R.Bottom);
        }
        break;
    case glSoft:
        ++R.Right;
        ++R.Bottom;
        if (options.Contains(goFixedHorzLine)) {
            canvas->Pen()->SetColor(halved);
            Line(canvas, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
            canvas->Pen()->SetColor(clWhite);
            Line(canvas, R.Left, R.Top + 1, R.Right, R.Top + 1);
            Line(canvas, R.Left + 1, R.Top, R.Left + 1, R.Bottom);
        }
        if (options.Contains(goFixedVertLine)) {
            canvas->Pen()->SetColor(halved);
            Line(canvas, R.Right - 2, R.Top, R.Right - 2, R.Bottom - 1);
            canvas->Pen()->SetColor(clWhite);
            Line(canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
        }
        break;
    default:
        break;
    }
}

void TAdvStringGrid::DrawAlwaysVisibleButtons(TCellDrawContext& Context) {
    TCanvas* canvas = Context.canvas;
    TRect& R = Context.rect;
    Integer look = ThemedDrawingActive() ? ButtonLookThemed : ButtonLookClassic;
    if (FFlat && FTones.Background.BrushColor != clNone)
        look = ButtonLookCustom;
    bool canEdit = true;
    CanEditCell(Context.rcol, Context.row, canEdit);
    const Integer state = canEdit ? 0 : 3;
    TEditorType editor = FDefaultEditor;
    DoGetEditorType(Context.rcol, Context.row, editor);
    HWND window = HandleAllocated() ? WindowHandle() : nullptr;
    const TColor brush = canvas->Brush()->Color();
    if (HasComboBox(Context.rcol, Context.row, editor)) {
        DrawComboButton(canvas, window, TRect(R.Left - 2, R.Top - 1, R.Right + 1, R.Bottom), FTones, state,
                        look);
        R.Right -= 16;
    }
    if (FControlLook->DropDownAlwaysVisible() && HasEditBtn(Context.rcol, Context.row, editor)) {
        DrawPushButton(canvas, window, TRect(R.Right - 19, R.Top - 2, R.Right - 1, R.Bottom - 1), u"...",
                       FTones, state, look);
        R.Right -= 16;
    }
    if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(Context.rcol, Context.row, editor)) {
        DrawSpinButtons(canvas, window, R, FTones, state, look);
        R.Right -= 16;
    }
    canvas->Brush()->SetColor(brush);
    canvas->Brush()->SetStyle(bsSolid);
}

// ---- Borders of single cells

void TAdvStringGrid::DrawCellBorders(TCanvas* canvas, Integer ACol, Integer ARow, TRect R) {
    // Most cells have no border of their own: only then are the pens copied.
    TCellBorders borders;
    const PenScope saved(canvas->Pen());
    GetCellBorder(ACol, ARow, canvas->Pen(), borders);
    if (borders.Empty())
        return;
    TPen left;
    TPen top;
    TPen right;
    TPen bottom;
    left.Assign(canvas->Pen());
    top.Assign(canvas->Pen());
    right.Assign(canvas->Pen());
    bottom.Assign(canvas->Pen());
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, ARow, ACol, &left, &top, &right, &bottom);

    if (!IsFixed(DisplColIndex(ACol), ARow))
        R.Left += 1 - FXYOffset.X;
    const Integer h = (canvas->Pen()->Width() + 1) / 2;
    const Integer hv = Options().Contains(goVertLine) ? h : 0;
    const Integer hh = Options().Contains(goHorzLine) ? h : 0;
    R.Left += hv;
    R.Bottom -= hh;
    R.Right -= hv;
    if (borders.Contains(cbLeft)) {
        canvas->Pen()->Assign(&left);
        Line(canvas, std::max<Integer>(0, R.Left), R.Top, std::max<Integer>(0, R.Left), R.Bottom);
    }
    if (borders.Contains(cbRight)) {
        canvas->Pen()->Assign(&right);
        Line(canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
    }
    if (borders.Contains(cbTop)) {
        canvas->Pen()->Assign(&top);
        const Integer y =
            GridLineWidth() != 0 ? std::max<Integer>(0, R.Top + 1 + hh - GridLineWidth()) : R.Top + 2 + hh;
        Line(canvas, R.Left, y, R.Right, y);
    }
    if (borders.Contains(cbBottom)) {
        canvas->Pen()->Assign(&bottom);
        Line(canvas, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
    }
}

// ---- The grid's background under single cells

void TAdvStringGrid::DrawCellFixedPicture(TCanvas* Canvas, const TRect& C) {
    TBitmap* picture = FBackGround->Bitmap();
    const TRect place(FBackGround->Left(), FBackGround->Top(), FBackGround->Left() + picture->Width(),
                      FBackGround->Top() + picture->Height());
    RECT both{};
    const RECT a = place;
    const RECT b = C;
    if (!IntersectRect(&both, &a, &b))
        return;
    Canvas->CopyRect(TRect(both), picture->Canvas(),
                     TRect(both.left - place.Left, both.top - place.Top, both.right - place.Left,
                           both.bottom - place.Top));
}

void TAdvStringGrid::DrawCellTiledPicture(TCanvas* Canvas, const TRect& C, Integer ACol, Integer ARow) {
    TBitmap* picture = FBackGround->Bitmap();
    const Integer w = picture->Width();
    const Integer h = picture->Height();
    if (w <= 0 || h <= 0)
        return;
    // The offsets run over the columns and rows before the cell. The heights of the rows scrolled away
    // above the view are added up once per paint, not once per cell.
    const bool fromZero = FBackGround->Cells() != bcNormal;
    Integer offsetX = 0;
    for (Integer c = fromZero ? 0 : FixedCols(); c < ACol; ++c)
        offsetX = (offsetX + ColWidths(c)) % w;
    const Integer firstRow = fromZero ? 0 : FixedRows();
    Integer from = firstRow;
    long long above = 0;
    if (ARow >= TopRow() && TopRow() > FixedRows()) {
        if (FTileRowsPaint != FPaintID || FTileRowsTop != TopRow() || FTileRowsFirst != firstRow) {
            long long sum = 0;
            for (Integer r = firstRow; r < TopRow(); ++r)
                sum += RowHeights(r);
            FTileRowsSum = sum;
            FTileRowsPaint = FPaintID;
            FTileRowsTop = TopRow();
            FTileRowsFirst = firstRow;
        }
        above = FTileRowsSum;
        from = TopRow();
    }
    for (Integer r = from; r < ARow; ++r)
        above += RowHeights(r);
    const Integer offsetY = static_cast<Integer>(above % h);
    for (Integer y = C.Top - 1, sy = offsetY; y < C.Bottom; y += h - sy, sy = 0)
        for (Integer x = C.Left - 1, sx = offsetX; x < C.Right; x += w - sx, sx = 0) {
            const Integer cw = std::min(w - sx, static_cast<Integer>(C.Right) - x);
            const Integer ch = std::min(h - sy, static_cast<Integer>(C.Bottom) - y);
            Canvas->CopyRect(TRect(x, y, x + cw, y + ch), picture->Canvas(), TRect(sx, sy, sx + cw, sy + ch));
        }
}

void TAdvStringGrid::DrawCellBackgroundGradient(TCanvas* Canvas, TRect C) {
    const bool vertical = FBackGround->Display() == bdGradientVert;
    const Integer extent = vertical ? Height() : Width();
    const TColor start =
        BlendColorsAt(FBackGround->Color(), FBackGround->ColorTo(), 0, vertical ? C.Top : C.Left, extent);
    const TColor end =
        BlendColorsAt(FBackGround->Color(), FBackGround->ColorTo(), 0, vertical ? C.Bottom : C.Right, extent);
    Canvas->Brush()->SetColor(end);
    Canvas->Pen()->SetColor(end);
    if (!Options().Contains(goHorzLine))
        ++C.Bottom;
    DrawGradient(Canvas, start, end, !vertical, C, 128);
}
