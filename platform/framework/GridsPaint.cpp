// Painting the grid: the grid lines and the cells of the four areas (fixed corner, fixed row, fixed
// column, scrolling cells), each cell through DrawCell, only for what is shown and inside the clip;
// and the XOR feedback lines of sizing and moving.
#include "platform/framework/Grids.h"

#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace {

// A theme handle open for one paint; closed however the paint ends (OnDrawCell may throw).
class ThemeScope {
public:
    explicit ThemeScope(HTHEME theme) : FTheme(theme) {}
    ~ThemeScope() {
        if (FTheme != nullptr)
            CloseThemeData(FTheme);
    }
    ThemeScope(const ThemeScope&) = delete;
    ThemeScope& operator=(const ThemeScope&) = delete;
    HTHEME Get() const { return FTheme; }

private:
    HTHEME FTheme;
};

} // namespace

void TCustomGrid::Paint() {
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    const TGridAxisDrawInfo& horz = drawInfo.Horz;
    const TGridAxisDrawInfo& vert = drawInfo.Vert;
    if (horz.EffectiveLineWidth > 0 || vert.EffectiveLineWidth > 0) {
        const bool fixedHorz = FOptions.Contains(goFixedHorzLine);
        const bool fixedVert = FOptions.Contains(goFixedVertLine);
        DrawLines(drawInfo, fixedHorz, fixedVert, 0, 0, TRect(0, 0, horz.FixedBoundary, vert.FixedBoundary),
                  clBlack);
        DrawLines(drawInfo, fixedHorz, fixedVert, LeftCol(), 0,
                  TRect(horz.FixedBoundary, 0, horz.GridBoundary, vert.FixedBoundary), clBlack);
        DrawLines(drawInfo, fixedHorz, fixedVert, 0, TopRow(),
                  TRect(0, vert.FixedBoundary, horz.FixedBoundary, vert.GridBoundary), clBlack);
        DrawLines(drawInfo, FOptions.Contains(goHorzLine), FOptions.Contains(goVertLine), LeftCol(), TopRow(),
                  TRect(horz.FixedBoundary, vert.FixedBoundary, horz.GridBoundary, vert.GridBoundary),
                  clSilver);
    }
    // With visual styles the fixed cells are header items of the theme; without, the fixed colour with
    // raised edges. The choice is made here once for the whole paint.
    const ThemeScope theme(FDefaultDrawing && IsAppThemed() ? OpenThemeData(Handle(), u"header") : nullptr);
    PaintVisibleCells(drawInfo,
                      [&](Integer ACol, Integer ARow, const TRect& where, TGridDrawState drawState) {
                          PaintCellDefault(drawInfo, ACol, ARow, where, drawState, theme.Get());
                      });
    TCanvas* canvas = Canvas();
    if (FOptions.Contains(goRowSelect) && FDefaultDrawing && IsActiveControl()) {
        const TGridRect sel = Selection();
        const TRect focusRect = BoxRect(sel.Left, sel.Top, sel.Right, sel.Bottom);
        if (focusRect.Right > focusRect.Left)
            canvas->DrawFocusRect(focusRect);
    }
    // The room right of and below the last cells.
    canvas->Brush()->SetColor(Color());
    if (horz.GridBoundary < horz.GridExtent)
        canvas->FillRect(TRect(horz.GridBoundary, 0, horz.GridExtent, vert.GridBoundary));
    if (vert.GridBoundary < vert.GridExtent)
        canvas->FillRect(TRect(0, vert.GridBoundary, horz.GridExtent, vert.GridExtent));
    // A repaint while sizing wipes the line where it repaints; it goes back there, so the inversion
    // that ends sizing still takes it away everywhere.
    if (FGridState == gsColSizing || FGridState == gsRowSizing)
        DrawSizingLine(drawInfo, canvas->Handle());
}

void TCustomGrid::DrawLines(const TGridDrawInfo& drawInfo, bool doHorz, bool doVert, Integer col, Integer row,
                            const TRect& area, TColor lineColor) {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(lineColor);
    if (doVert && drawInfo.Horz.EffectiveLineWidth > 0) {
        const Integer width = drawInfo.Horz.EffectiveLineWidth;
        Integer x = area.Left;
        for (Integer c = col; c < FColCount && x < area.Right; ++c) {
            x += ColWidths(c);
            canvas->FillRect(TRect(x, area.Top, std::min<Integer>(x + width, area.Right), area.Bottom));
            x += width;
        }
    }
    if (doHorz && drawInfo.Vert.EffectiveLineWidth > 0) {
        const Integer width = drawInfo.Vert.EffectiveLineWidth;
        Integer y = area.Top;
        for (Integer r = row; r < FRowCount && y < area.Bottom; ++r) {
            y += RowHeights(r);
            canvas->FillRect(TRect(area.Left, y, area.Right, std::min<Integer>(y + width, area.Bottom)));
            y += width;
        }
    }
}

void TCustomGrid::PaintVisibleCells(const TGridDrawInfo& drawInfo, const TGridCellPainter& paintCell) {
    const TGridAxisDrawInfo& horz = drawInfo.Horz;
    const TGridAxisDrawInfo& vert = drawInfo.Vert;
    DrawCells(drawInfo, 0, 0, 0, 0, horz.FixedBoundary, vert.FixedBoundary, gdFixed, paintCell);
    DrawCells(drawInfo, LeftCol(), 0, horz.FixedBoundary, 0, horz.GridBoundary, vert.FixedBoundary, gdFixed,
              paintCell);
    DrawCells(drawInfo, 0, TopRow(), 0, vert.FixedBoundary, horz.FixedBoundary, vert.GridBoundary, gdFixed,
              paintCell);
    DrawCells(drawInfo, LeftCol(), TopRow(), horz.FixedBoundary, vert.FixedBoundary, horz.GridBoundary,
              vert.GridBoundary, TGridDrawState(), paintCell);
}

void TCustomGrid::DrawCells(const TGridDrawInfo& drawInfo, Integer ACol, Integer ARow, Integer startX,
                            Integer startY, Integer stopX, Integer stopY, TGridDrawState includeDrawState,
                            const TGridCellPainter& paintCell) {
    HDC dc = Canvas()->Handle();
    const TGridRect sel = Selection();
    const bool focused = IsActiveControl();
    TRect where;
    where.Top = startY;
    for (Integer curRow = ARow; where.Top < stopY && curRow < FRowCount; ++curRow) {
        where.Left = startX;
        where.Bottom = where.Top + RowHeights(curRow);
        for (Integer curCol = ACol; where.Left < stopX && curCol < FColCount; ++curCol) {
            where.Right = where.Left + ColWidths(curCol);
            RECT r{where.Left, where.Top, where.Right, where.Bottom};
            if (where.Right > where.Left && where.Bottom > where.Top && RectVisible(dc, &r)) {
                TGridDrawState drawState = includeDrawState;
                if (focused && curRow == FCurrent.Y && curCol == FCurrent.X)
                    drawState.Include(gdFocused);
                if (PointInGridRect(curCol, curRow, sel))
                    drawState.Include(gdSelected);
                // The cell under an open editor is the editor's to paint.
                const bool underEditor = drawState.Contains(gdFocused) && FOptions.Contains(goEditing) &&
                                         FEditorMode && FInplaceEdit != nullptr && FInplaceEdit->Visible();
                if (!underEditor) {
                    // Painters ask for the cell's rectangle again; the loop answers while the cell is
                    // painted, and a painter's nested paint of another cell puts the answer back.
                    struct Painting {
                        TCustomGrid& grid;
                        TGridCoord cell;
                        TPoint topLeft;
                        ~Painting() {
                            grid.FPaintingCell = cell;
                            grid.FPaintingTopLeft = topLeft;
                        }
                    } painting{*this, FPaintingCell, FPaintingTopLeft};
                    FPaintingCell = TGridCoord{curCol, curRow};
                    FPaintingTopLeft = TPoint(where.Left, where.Top);
                    paintCell(curCol, curRow, where, drawState);
                }
            }
            where.Left = where.Right + drawInfo.Horz.EffectiveLineWidth;
        }
        where.Top = where.Bottom + drawInfo.Vert.EffectiveLineWidth;
    }
}

void TCustomGrid::PaintCellDefault(const TGridDrawInfo& drawInfo, Integer ACol, Integer ARow,
                                   const TRect& where, TGridDrawState drawState, HTHEME headerTheme) {
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    RECT r{where.Left, where.Top, where.Right, where.Bottom};
    UINT frameFlags1 = 0;
    UINT frameFlags2 = 0;
    if (FOptions.Contains(goFixedVertLine)) {
        frameFlags1 = BF_RIGHT;
        frameFlags2 = BF_LEFT;
    }
    if (FOptions.Contains(goFixedHorzLine)) {
        frameFlags1 |= BF_BOTTOM;
        frameFlags2 |= BF_TOP;
    }
    const bool themedFace = headerTheme != nullptr && drawState.Contains(gdFixed);
    if (themedFace) {
        canvas->Font()->Assign(Font());
        DrawThemeBackground(headerTheme, dc, HP_HEADERITEM, HIS_NORMAL, &r, &r);
        // The cell's text goes over the header's face.
        canvas->Brush()->SetStyle(bsClear);
    } else if (FDefaultDrawing) {
        canvas->Font()->Assign(Font());
        if (drawState.Contains(gdSelected) &&
            (!drawState.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
             FOptions.Contains(goRowSelect))) {
            canvas->Brush()->SetColor(clHighlight);
            canvas->Font()->SetColor(clHighlightText);
        } else {
            canvas->Brush()->SetColor(drawState.Contains(gdFixed) ? FFixedColor : Color());
        }
        canvas->FillRect(where);
    }
    DrawCell(ACol, ARow, where, drawState);
    if (themedFace)
        canvas->Brush()->SetStyle(bsSolid);
    if (!themedFace && FDefaultDrawing && drawState.Contains(gdFixed) && Ctl3D() &&
        (frameFlags1 | frameFlags2) != 0) {
        RECT edge = r;
        if ((frameFlags1 & BF_RIGHT) == 0)
            edge.right += drawInfo.Horz.EffectiveLineWidth;
        else if ((frameFlags1 & BF_BOTTOM) == 0)
            edge.bottom += drawInfo.Vert.EffectiveLineWidth;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, frameFlags1);
        DrawEdge(dc, &edge, BDR_RAISEDINNER, frameFlags2);
    }
    if (FDefaultDrawing && drawState.Contains(gdFocused) &&
        !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor)) &&
        !FOptions.Contains(goRowSelect))
        DrawFocusRect(dc, &r);
}

// The sizing line, drawn by inverting the pixels so that drawing it again takes it away.
void TCustomGrid::DrawSizingLine(const TGridDrawInfo& drawInfo, HDC dc) {
    if (!HandleAllocated())
        return;
    const bool ownDC = dc == nullptr;
    if (ownDC)
        dc = GetDC(Handle());
    if (FGridState == gsRowSizing)
        PatBlt(dc, 0, FSizingPos, drawInfo.Horz.GridBoundary, 1, DSTINVERT);
    else
        PatBlt(dc, FSizingPos, 0, 1, drawInfo.Vert.GridBoundary, DSTINVERT);
    if (ownDC)
        ReleaseDC(Handle(), dc);
}

// The mark of where a moved column or row will go: the line before (or after) the target, inverted.
void TCustomGrid::DrawMove() {
    if (!HandleAllocated() || FMovePos < 0)
        return;
    TRect rect = CellRect(FGridState == gsRowMoving ? 0 : FMovePos, FGridState == gsRowMoving ? FMovePos : 0);
    if (rect.Right <= rect.Left)
        return;
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    HDC dc = GetDC(Handle());
    if (FGridState == gsRowMoving) {
        const Integer y = FMovePos > FMoveIndex ? rect.Bottom : rect.Top;
        PatBlt(dc, 0, y - 1, drawInfo.Horz.GridBoundary, 2, DSTINVERT);
    } else {
        const Integer x = FMovePos > FMoveIndex ? rect.Right : rect.Left;
        PatBlt(dc, x - 1, 0, 2, drawInfo.Vert.GridBoundary, DSTINVERT);
    }
    ReleaseDC(Handle(), dc);
    FMoveDrawn = !FMoveDrawn;
}
