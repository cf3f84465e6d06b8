// The full string grid's cell painting: the look of each cell and what is drawn inside its lines.
#include <algorithm>

#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::GetVisualProperties(Integer, Integer, TGridDrawState&, bool, bool, bool, TBrush*,
                                         TColor&, TColor&, TColor&, TFont*, TAlignment&, TVAlignment&, bool&,
                                         TCellGradientDirection&) {}

void TAdvStringGrid::DrawCellContent(TCanvas* Canvas, Integer ACol, Integer ARow, const TRect& Rect,
                                     TGridDrawState State) {
    TBaseGrid::DrawCellContent(Canvas, ACol, ARow, Rect, State);
    // The handler draws on the grid's canvas, over what the grid drew; its rectangle ends before the
    // grid lines.
    if (OnDrawCell) {
        const TRect cell(Rect.Left, Rect.Top, Rect.Right - GridLineWidth(), Rect.Bottom - GridLineWidth());
        OnDrawCell(this, RealColIndex(ACol), ARow, cell, State);
    }
}

TSize TAdvStringGrid::GetCellTextSize(Integer ACol, Integer ARow, bool VS, bool SB) {
    TCanvas* canvas = Canvas();
    const String text = GetCellEx(DisplColIndex(ACol), ARow);
    if (text.empty())
        return TSize{0, 0};
    const Integer lineHeight = canvas->TextHeight(u"gh");
    // Wrapped text fills the cell less two pixels on every side (and the scroll bar's room with VS);
    // unbounded text breaks only at line breaks, and those only in multi-line cells.
    Integer limit = 0;
    if (SB)
        limit = std::max(ColWidths(DisplColIndex(ACol)) - 4 - (VS ? 17 : 0), 1);
    TSize result{0, 0};
    Integer lines = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = FMultilineCells || SB ? text.find_first_of(u"\r\n", start) : String::npos;
        if (end == String::npos)
            end = text.size();
        Integer width = canvas->TextWidth(text.substr(start, end - start));
        if (SB && width > limit) {
            lines += (width + limit - 1) / limit;
            width = limit;
        } else {
            ++lines;
        }
        result.cx = std::max(result.cx, width);
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    result.cy = lines * lineHeight;
    return result;
}

String TAdvStringGrid::SaveCell(Integer ACol, Integer ARow) {
    return FSaveVirtCells ? Cells(ACol, ARow) : GridCells(ACol, ARow);
}
