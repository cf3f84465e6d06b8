// The grid's model: counts, fixed cells, widths and heights, where cells stand on screen, the current
// cell and the selection, the scroll position and its scroll bars, and moving columns and rows.
#include "platform/framework/Grids.h"

#include <algorithm>
#include <limits>

#include "platform/framework/Filer.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winuser.h"

DEFINE_CLASS(TCustomGrid)
DEFINE_CLASS(TCustomDrawGrid)
DEFINE_CLASS(TDrawGrid, PROPERTY(BorderStyle).Default(bsSingle), PROPERTY(ColCount).Default(5),
             PROPERTY(Color).Type(TypeInfoColor()).Stored(&TDrawGrid::IsColorStored).Default(clWindow),
             PROPERTY(Ctl3D).Default(true), PROPERTY(ParentColor).Default(false),
             PROPERTY(ParentCtl3D).Default(true), PROPERTY(TabStop).Default(true),
             PROPERTY(DefaultColWidth).Default(64), PROPERTY(DefaultDrawing).Default(true),
             PROPERTY(DefaultRowHeight).Default(24),
             PROPERTY(FixedColor).Type(TypeInfoColor()).Default(clBtnFace), PROPERTY(FixedCols).Default(1),
             PROPERTY(FixedRows).Default(1), PROPERTY(GridLineWidth).Default(1),
             PROPERTY(Options).Default(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                                    goRangeSelect}),
             PROPERTY(RowCount).Default(5), PROPERTY(ScrollBars).Default(ssBoth), EVENT(OnColumnMoved),
             EVENT(OnDrawCell), EVENT(OnGetEditMask), EVENT(OnGetEditText), EVENT(OnRowMoved),
             EVENT(OnSelectCell), EVENT(OnSetEditText), EVENT(OnTopLeftChanged))

namespace {

// The scroll bars run over 0..127 whatever the number of cells; a position stands for a proportional
// top-left cell, so a million rows scroll as well as ten.
constexpr int ScrollBarMax = 127;

// Whether the scroll style holds the window bar SB_HORZ or SB_VERT.
bool HasScrollBar(TScrollStyle style, int bar) {
    if (bar == SB_HORZ)
        return style == ssHorizontal || style == ssBoth;
    return style == ssVertical || style == ssBoth;
}

// Maps between scroll positions and cells, rounded to the nearest as MulDiv does; 0 when nothing
// scrolls.
Integer LongMulDiv(Integer mult1, Integer mult2, Integer div1) {
    if (div1 == 0)
        return 0;
    return MulDiv(mult1, mult2, div1);
}

// Keeps a line index in step with a line moved from fromIndex to toIndex.
void MoveAdjust(Integer& cellPos, Integer fromIndex, Integer toIndex) {
    if (cellPos == fromIndex) {
        cellPos = toIndex;
        return;
    }
    const Integer lo = std::min(fromIndex, toIndex);
    const Integer hi = std::max(fromIndex, toIndex);
    if (cellPos >= lo && cellPos <= hi)
        cellPos += toIndex > fromIndex ? -1 : 1;
}

void RotateBlock(std::vector<Integer>& extents, Integer fromIndex, Integer count, Integer toIndex) {
    if (extents.empty())
        return;
    const auto first = extents.begin();
    if (toIndex > fromIndex)
        std::rotate(first + fromIndex, first + fromIndex + count, first + toIndex + count);
    else
        std::rotate(first + toIndex, first + fromIndex, first + fromIndex + count);
}

// Raises "Grid index out of range" unless lines is ascending, without repeats and inside 0 .. count - 1.
void CheckLineList(const std::vector<Integer>& lines, Integer count) {
    if (lines.empty())
        return;
    if (lines.front() < 0 || lines.back() >= count)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i] <= lines[i - 1])
            throw EInvalidGridOperation(Consts::SIndexOutOfRange);
}

void MoveExtent(std::vector<Integer>& extents, Integer fromIndex, Integer toIndex) {
    if (extents.empty())
        return;
    const Integer value = extents[fromIndex];
    extents.erase(extents.begin() + fromIndex);
    extents.insert(extents.begin() + toIndex, value);
}

// Where a line starts on screen; false for a line scrolled away or starting at or past the extent.
bool LineStart(const TGridAxisDrawInfo& axis, Integer line, LONG& pos) {
    Integer p = 0;
    Integer start = 0;
    if (line >= axis.FixedCellCount) {
        if (line < axis.FirstGridCell)
            return false;
        p = axis.FixedBoundary;
        start = axis.FirstGridCell;
    }
    for (Integer i = start; i < line; ++i) {
        p += axis.GetExtent(i) + axis.EffectiveLineWidth;
        if (p >= axis.GridExtent)
            return false;
    }
    pos = p;
    return p < axis.GridExtent;
}

// The screen span of lines first..last of an axis, cut at the extent; false when none of them shows.
// Hidden lines (extent 0 or less) that start inside the extent give a span of no size at their place,
// so callers still learn where they stand. The walk stops at the extent, so it costs what is shown
// whatever last is.
bool CalcAxis(const TGridAxisDrawInfo& axis, Integer first, Integer last, LONG& screenMin, LONG& screenMax) {
    if (first >= axis.FixedCellCount && first < axis.FirstGridCell) {
        if (last < axis.FirstGridCell)
            return false;
        first = axis.FirstGridCell;
    }
    LONG pos = 0;
    if (!LineStart(axis, first, pos))
        return false;
    screenMin = pos;
    LONG end = pos;
    for (Integer i = first;;) {
        end = pos + axis.GetExtent(i);
        Integer next = i + 1;
        const LONG nextPos = end + axis.EffectiveLineWidth;
        if (next == axis.FixedCellCount)
            next = std::max(next, axis.FirstGridCell);
        if (next > last || nextPos >= axis.GridExtent)
            break;
        i = next;
        pos = nextPos;
    }
    screenMax = std::max<LONG>(std::min<LONG>(end, axis.GridExtent), screenMin);
    return true;
}

Integer CoordFromPoint(const TGridAxisDrawInfo& axis, Integer n) {
    Integer start = axis.FirstGridCell;
    Integer stop = axis.GridCellCount - 1;
    Integer line = axis.FixedBoundary;
    if (n < axis.FixedBoundary) {
        start = 0;
        stop = axis.FixedCellCount - 1;
        line = 0;
    }
    if (n < 0)
        return -1;
    for (Integer i = start; i <= stop; ++i) {
        line += axis.GetExtent(i) + axis.EffectiveLineWidth;
        if (n < line)
            return i;
        if (line > axis.GridExtent)
            break;
    }
    return -1;
}

} // namespace

// ---- Construction ----

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
    SetBounds(0, 0, 320, 120);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    Initialize();
}

TCustomGrid::~TCustomGrid() {
    // The editor goes first, while the grid it talks to on losing the focus is still whole.
    TInplaceEdit* editor = FInplaceEdit;
    FInplaceEdit = nullptr;
    if (editor != nullptr) {
        editor->SetGrid(nullptr);
        editor->Free();
    }
}

void TCustomGrid::Initialize() {
    FTopLeft = {FFixedCols, FFixedRows};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect))
        FAnchor.X = FColCount - 1;
}

void TCustomGrid::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_TABSTOP;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        params.Style |= WS_HSCROLL;
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

void TCustomGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

void TCustomGrid::DefineProperties(TFiler* filer) {
    TCustomControl::DefineProperties(filer);
    auto* ancestor = dynamic_cast<TCustomGrid*>(filer->Ancestor());
    // Whether the extents differ from what a reader would have without them: the ancestor's, or the
    // default for every line.
    auto differs = [](const std::vector<Integer>& extents, Integer count, Integer defaultExtent,
                      const std::function<Integer(Integer)>& ancestorExtent, Integer ancestorCount) {
        if (ancestorExtent) {
            if (count != ancestorCount)
                return !extents.empty();
            for (Integer i = 0; i < count; ++i) {
                const Integer own = extents.empty() ? defaultExtent : extents[static_cast<size_t>(i)];
                if (own != ancestorExtent(i))
                    return true;
            }
            return false;
        }
        return std::any_of(extents.begin(), extents.end(), [&](Integer e) { return e != defaultExtent; });
    };
    std::function<Integer(Integer)> ancestorWidth;
    std::function<Integer(Integer)> ancestorHeight;
    if (ancestor != nullptr) {
        ancestorWidth = [ancestor](Integer i) { return ancestor->ColWidths(i); };
        ancestorHeight = [ancestor](Integer i) { return ancestor->RowHeights(i); };
    }
    // A list longer than the count (a description written by hand) gives its extra items to no line.
    filer->DefineProperty(
        u"ColWidths",
        [this](TReader* reader) {
            reader->ReadListBegin();
            for (Integer i = 0; !reader->EndOfList(); ++i) {
                const Integer value = static_cast<Integer>(reader->ReadInteger());
                if (i < FColCount)
                    SetColWidths(i, value);
            }
            reader->ReadListEnd();
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (Integer i = 0; i < FColCount; ++i)
                writer->WriteInteger(ColWidths(i));
            writer->WriteListEnd();
        },
        differs(FColWidths, FColCount, FDefaultColWidth, ancestorWidth,
                ancestor != nullptr ? ancestor->FColCount : 0));
    filer->DefineProperty(
        u"RowHeights",
        [this](TReader* reader) {
            reader->ReadListBegin();
            for (Integer i = 0; !reader->EndOfList(); ++i) {
                const Integer value = static_cast<Integer>(reader->ReadInteger());
                if (i < FRowCount)
                    SetRowHeights(i, value);
            }
            reader->ReadListEnd();
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (Integer i = 0; i < FRowCount; ++i)
                writer->WriteInteger(RowHeights(i));
            writer->WriteListEnd();
        },
        differs(FRowHeights, FRowCount, FDefaultRowHeight, ancestorHeight,
                ancestor != nullptr ? ancestor->FRowCount : 0));
}

// ---- Properties ----

void TCustomGrid::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomGrid::SetCol(Integer value) {
    if (value != FCurrent.X)
        FocusCell(value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(Integer value) {
    if (value != FCurrent.Y)
        FocusCell(FCurrent.X, value, true);
}

void TCustomGrid::SetColCount(Integer value) {
    if (value == FColCount)
        return;
    value = std::max(value, 1);
    if (value <= FFixedCols)
        SetFixedCols(value - 1);
    ChangeSize(value, FRowCount);
    if (FOptions.Contains(goRowSelect)) {
        FAnchor.X = FColCount - 1;
        Invalidate();
    }
}

void TCustomGrid::SetRowCount(Integer value) {
    if (value == FRowCount)
        return;
    value = std::max(value, 1);
    if (value <= FFixedRows)
        SetFixedRows(value - 1);
    ChangeSize(FColCount, value);
}

Integer TGridExtentReader::operator()(Integer index) const {
    return columns ? grid->ColWidths(index) : grid->RowHeights(index);
}

Integer TCustomGrid::ColWidths(Integer index) const {
    if (FColWidths.empty() || index < 0 || index >= FColCount)
        return FDefaultColWidth;
    return FColWidths[index];
}

void TCustomGrid::SetColWidths(Integer index, Integer value) {
    if (index < 0 || index >= FColCount)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (FColWidths.empty()) {
        FColWidths.assign(FColCount, FDefaultColWidth);
        FColSums.Reset();
    }
    if (FColWidths[index] == value)
        return;
    FColSums.Changed(index, Int64(value) - FColWidths[index]);
    FColWidths[index] = value;
    Invalidate();
    ColWidthsChanged();
}

Integer TCustomGrid::RowHeights(Integer index) const {
    if (FRowHeights.empty() || index < 0 || index >= FRowCount)
        return FDefaultRowHeight;
    return FRowHeights[index];
}

void TCustomGrid::SetRowHeights(Integer index, Integer value) {
    if (index < 0 || index >= FRowCount)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (FRowHeights.empty()) {
        FRowHeights.assign(FRowCount, FDefaultRowHeight);
        FRowSums.Reset();
    }
    if (FRowHeights[index] == value)
        return;
    FRowSums.Changed(index, Int64(value) - FRowHeights[index]);
    FRowHeights[index] = value;
    Invalidate();
    RowHeightsChanged();
}

namespace {

// Applies newExtent to every extent of a line list and answers whether one changed; the sums are
// reset once, not kept up line by line.
bool ChangeExtents(std::vector<Integer>& extents, Integer count, Integer defaultExtent, TGridExtentSums& sums,
                   const std::function<Integer(Integer)>& newExtent) {
    if (count <= 0)
        return false;
    if (extents.empty())
        extents.assign(static_cast<size_t>(count), defaultExtent);
    bool changed = false;
    for (Integer& extent : extents) {
        const Integer value = newExtent(extent);
        changed = changed || value != extent;
        extent = value;
    }
    sums.Reset();
    return changed;
}

} // namespace

void TCustomGrid::ChangeColWidths(const std::function<Integer(Integer)>& newExtent) {
    if (!ChangeExtents(FColWidths, FColCount, FDefaultColWidth, FColSums, newExtent))
        return;
    Invalidate();
    ColWidthsChanged();
}

void TCustomGrid::ChangeRowHeights(const std::function<Integer(Integer)>& newExtent) {
    if (!ChangeExtents(FRowHeights, FRowCount, FDefaultRowHeight, FRowSums, newExtent))
        return;
    Invalidate();
    RowHeightsChanged();
}

namespace {

// Lines before index: the stored extents summed, and the default for the lines past the count.
Int64 ExtentBefore(TGridExtentSums& sums, const std::vector<Integer>& extents, Integer count,
                   Integer defaultExtent, Integer index) {
    const Integer known = std::clamp<Integer>(index, 0, count);
    const Int64 stored = extents.empty() ? Int64(known) * defaultExtent : sums.Before(extents, known);
    return stored + Int64(std::max<Integer>(index - known, 0)) * defaultExtent;
}

} // namespace

void TGridExtentSums::Changed(Integer index, Int64 delta) {
    if (!FValid)
        return;
    for (size_t i = static_cast<size_t>(index) + 1; i < FTree.size(); i += i & (~i + 1))
        FTree[i] += delta;
}

Int64 TGridExtentSums::Before(const std::vector<Integer>& extents, Integer count) {
    if (!FValid) {
        // The linear build: each node hands its sum on to its parent.
        FTree.assign(extents.size() + 1, 0);
        for (size_t i = 1; i < FTree.size(); ++i) {
            FTree[i] += extents[i - 1];
            const size_t parent = i + (i & (~i + 1));
            if (parent < FTree.size())
                FTree[parent] += FTree[i];
        }
        FValid = true;
    }
    Int64 sum = 0;
    for (size_t i = static_cast<size_t>(count); i > 0; i -= i & (~i + 1))
        sum += FTree[i];
    return sum;
}

Int64 TCustomGrid::ColsWidthBefore(Integer index) const {
    return ExtentBefore(FColSums, FColWidths, FColCount, FDefaultColWidth, index);
}

Int64 TCustomGrid::RowsHeightBefore(Integer index) const {
    return ExtentBefore(FRowSums, FRowHeights, FRowCount, FDefaultRowHeight, index);
}

void TCustomGrid::SetDefaultColWidth(Integer value) {
    FColWidths.clear();
    FColSums.Reset();
    FDefaultColWidth = value;
    ColWidthsChanged();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(Integer value) {
    FRowHeights.clear();
    FRowSums.Reset();
    FDefaultRowHeight = value;
    RowHeightsChanged();
    Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool value) {
    if (FDefaultDrawing == value)
        return;
    FDefaultDrawing = value;
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor value) {
    if (FFixedColor == value)
        return;
    FFixedColor = value;
    Invalidate();
}

void TCustomGrid::SetFixedCols(Integer value) {
    if (FFixedCols == value)
        return;
    if (value < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (value >= FColCount)
        throw EInvalidGridOperation(Consts::SFixedColTooBig);
    FFixedCols = value;
    Initialize();
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetFixedRows(Integer value) {
    if (FFixedRows == value)
        return;
    if (value < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (value >= FRowCount)
        throw EInvalidGridOperation(Consts::SFixedRowTooBig);
    FFixedRows = value;
    Initialize();
    UpdateScrollRange();
    Invalidate();
}

Integer TCustomGrid::GridWidth() {
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    return drawInfo.Horz.GridBoundary;
}

Integer TCustomGrid::GridHeight() {
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    return drawInfo.Vert.GridBoundary;
}

void TCustomGrid::SetGridLineWidth(Integer value) {
    if (FGridLineWidth == value)
        return;
    FGridLineWidth = std::max(value, 0);
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions value) {
    if (FOptions == value)
        return;
    if (value.Contains(goRowSelect))
        value.Exclude(goAlwaysShowEditor);
    FOptions = value;
    if (!FEditorMode) {
        if (value.Contains(goAlwaysShowEditor))
            ShowEditor();
        else
            HideEditor();
    } else if (!value.Contains(goEditing) || value.Contains(goRowSelect)) {
        // An editor left open on a grid that no longer edits would still change cells.
        HideEditor();
    }
    if (value.Contains(goRowSelect))
        MoveCurrent(FCurrent.X, FCurrent.Y, true, false);
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle value) {
    if (FScrollBars == value)
        return;
    FScrollBars = value;
    RecreateWnd();
}

TGridRect TCustomGrid::Selection() const {
    TGridRect rect;
    rect.Left = std::min(FCurrent.X, FAnchor.X);
    rect.Right = std::max(FCurrent.X, FAnchor.X);
    rect.Top = std::min(FCurrent.Y, FAnchor.Y);
    rect.Bottom = std::max(FCurrent.Y, FAnchor.Y);
    return rect;
}

void TCustomGrid::SetSelection(const TGridRect& value) {
    const TGridRect oldSel = Selection();
    FAnchor = value.TopLeft();
    FCurrent = value.BottomRight();
    if (FOptions.Contains(goRowSelect)) {
        FCurrent.X = FFixedCols;
        FAnchor.X = FColCount - 1;
    }
    SelectionMoved(oldSel);
}

void TCustomGrid::SetLeftCol(Integer value) {
    value = std::clamp(value, FFixedCols, FColCount - 1);
    if (value != FTopLeft.X)
        MoveTopLeft(value, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(Integer value) {
    value = std::clamp(value, FFixedRows, FRowCount - 1);
    if (value != FTopLeft.Y)
        MoveTopLeft(FTopLeft.X, value);
}

Integer TCustomGrid::VisibleColCount() {
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    return drawInfo.Horz.LastFullVisibleCell - LeftCol() + 1;
}

Integer TCustomGrid::VisibleRowCount() {
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    return drawInfo.Vert.LastFullVisibleCell - TopRow() + 1;
}

// ---- Geometry ----

void TCustomGrid::CalcFixedInfo(TGridDrawInfo& drawInfo) {
    auto fixedAxis = [](TGridAxisDrawInfo& axis, bool lines, Integer lineWidth, Integer fixedCount,
                        Integer firstCell, Integer cellCount, TGridExtentReader getExtent) {
        axis.EffectiveLineWidth = lines ? lineWidth : 0;
        axis.FixedBoundary = 0;
        for (Integer i = 0; i < fixedCount; ++i)
            axis.FixedBoundary += getExtent(i) + axis.EffectiveLineWidth;
        axis.FixedCellCount = fixedCount;
        axis.FirstGridCell = firstCell;
        axis.GridCellCount = cellCount;
        axis.GetExtent = getExtent;
    };
    fixedAxis(drawInfo.Horz, FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine),
              FGridLineWidth, FFixedCols, FTopLeft.X, FColCount, TGridExtentReader{this, true});
    fixedAxis(drawInfo.Vert, FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine),
              FGridLineWidth, FFixedRows, FTopLeft.Y, FRowCount, TGridExtentReader{this, false});
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& drawInfo) {
    const TRect client = ClientRect();
    CalcDrawInfoXY(drawInfo, client.Width(), client.Height());
}

void TCustomGrid::CalcDrawInfoXY(TGridDrawInfo& drawInfo, Integer useWidth, Integer useHeight) {
    auto calcAxis = [](TGridAxisDrawInfo& axis, Integer useExtent) {
        axis.GridExtent = useExtent;
        axis.GridBoundary = axis.FixedBoundary;
        axis.FullVisBoundary = axis.FixedBoundary;
        axis.LastFullVisibleCell = axis.FirstGridCell;
        for (Integer i = axis.FirstGridCell; i < axis.GridCellCount; ++i) {
            axis.GridBoundary += axis.GetExtent(i) + axis.EffectiveLineWidth;
            if (axis.GridBoundary > axis.GridExtent + axis.EffectiveLineWidth) {
                axis.GridBoundary = axis.GridExtent;
                break;
            }
            axis.LastFullVisibleCell = i;
            axis.FullVisBoundary = axis.GridBoundary;
        }
    };
    CalcFixedInfo(drawInfo);
    calcAxis(drawInfo.Horz, useWidth);
    calcAxis(drawInfo.Vert, useHeight);
}

TRect TCustomGrid::BoxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) {
    // CalcAxis reads only the fixed part of the draw info and the client extents, so the walks over the
    // visible lines CalcDrawInfo adds are left out: a paint asks this for every cell.
    TGridDrawInfo drawInfo;
    CalcFixedInfo(drawInfo);
    const TRect client = ClientRect();
    drawInfo.Horz.GridExtent = client.Width();
    drawInfo.Vert.GridExtent = client.Height();
    if (ARight < ALeft)
        std::swap(ALeft, ARight);
    if (ABottom < ATop)
        std::swap(ATop, ABottom);
    TRect rect;
    if (ALeft < 0 || ATop < 0 || ARight >= FColCount || ABottom >= FRowCount ||
        !CalcAxis(drawInfo.Horz, ALeft, ARight, rect.Left, rect.Right) ||
        !CalcAxis(drawInfo.Vert, ATop, ABottom, rect.Top, rect.Bottom))
        return TRect();
    return rect;
}

bool TCustomGrid::PaintingCellAt(Integer ACol, Integer ARow, TPoint& topLeft) const {
    if (FPaintingCell.X != ACol || FPaintingCell.Y != ARow || ACol < 0)
        return false;
    topLeft = FPaintingTopLeft;
    return true;
}

TRect TCustomGrid::CellRect(Integer ACol, Integer ARow) {
    return BoxRect(ACol, ARow, ACol, ARow);
}

TGridCoord TCustomGrid::CalcCoordFromPoint(Integer X, Integer Y, const TGridDrawInfo& drawInfo) {
    return {CoordFromPoint(drawInfo.Horz, X), CoordFromPoint(drawInfo.Vert, Y)};
}

TGridCoord TCustomGrid::MouseCoord(Integer X, Integer Y) {
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    TGridCoord result = CalcCoordFromPoint(X, Y, drawInfo);
    if (result.X < 0 || result.Y < 0)
        result = {-1, -1};
    return result;
}

void TCustomGrid::MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow) {
    const TGridCoord coord = MouseCoord(X, Y);
    ACol = coord.X;
    ARow = coord.Y;
}

TGridCoord TCustomGrid::CalcMaxTopLeft(const TGridCoord& coord, const TGridDrawInfo& drawInfo) {
    auto calcMaxCell = [](const TGridAxisDrawInfo& axis, Integer start) {
        Integer result = start;
        Integer line = axis.GridExtent + axis.EffectiveLineWidth;
        for (Integer i = start; i >= axis.FixedCellCount; --i) {
            line -= axis.GetExtent(i) + axis.EffectiveLineWidth;
            if (line < axis.FixedBoundary) {
                if (result == start && axis.GetExtent(start) <= 0)
                    result = i;
                break;
            }
            if (axis.GetExtent(i) > 0)
                result = i;
        }
        return result;
    };
    return {calcMaxCell(drawInfo.Horz, coord.X), calcMaxCell(drawInfo.Vert, coord.Y)};
}

// ---- Counts ----

void TCustomGrid::ChangeSize(Integer newColCount, Integer newRowCount) {
    const Integer oldColCount = FColCount;
    const Integer oldRowCount = FRowCount;
    FColCount = newColCount;
    FRowCount = newRowCount;
    if (FFixedCols > newColCount)
        FFixedCols = newColCount - 1;
    if (FFixedRows > newRowCount)
        FFixedRows = newRowCount - 1;
    if (!FColWidths.empty())
        FColWidths.resize(FColCount, FDefaultColWidth);
    if (!FRowHeights.empty())
        FRowHeights.resize(FRowCount, FDefaultRowHeight);
    FColSums.Reset();
    FRowSums.Reset();
    TGridCoord coord = FCurrent;
    coord.X = std::min(coord.X, FColCount - 1);
    coord.Y = std::min(coord.Y, FRowCount - 1);
    if (coord != FCurrent) {
        MoveCurrent(coord.X, coord.Y, true, true);
        // The current cell must stay inside the grid even when SelectCell refuses the move.
        if (FCurrent.X >= FColCount || FCurrent.Y >= FRowCount) {
            FCurrent = coord;
            FAnchor = coord;
        }
    }
    if (FAnchor != coord)
        MoveAnchor(coord);
    FTopLeft.X = std::min(FTopLeft.X, FColCount - 1);
    FTopLeft.Y = std::min(FTopLeft.Y, FRowCount - 1);
    Invalidate();
    UpdateScrollRange();
    SizeChanged(oldColCount, oldRowCount);
}

void TCustomGrid::ColWidthsChanged() {
    if (HandleAllocated()) {
        UpdateScrollRange();
        UpdateEdit();
    }
}

void TCustomGrid::RowHeightsChanged() {
    if (HandleAllocated()) {
        UpdateScrollRange();
        UpdateEdit();
    }
}

void TCustomGrid::TopLeftChanged() {
    if (FEditorMode && FInplaceEdit != nullptr)
        FInplaceEdit->UpdateLoc(GetEditRect(FCurrent.X, FCurrent.Y));
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

bool TCustomGrid::SelectCell(Integer, Integer) {
    return true;
}

// ---- Moving columns and rows ----

void TCustomGrid::MoveColRowData(bool isColumn, Integer fromIndex, Integer toIndex) {
    if (fromIndex == toIndex)
        return;
    const Integer count = isColumn ? FColCount : FRowCount;
    if (fromIndex < 0 || toIndex < 0 || fromIndex >= count || toIndex >= count)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (isColumn) {
        MoveExtent(FColWidths, fromIndex, toIndex);
        FColSums.Reset();
        MoveAdjust(FCurrent.X, fromIndex, toIndex);
        MoveAdjust(FAnchor.X, fromIndex, toIndex);
        MoveAdjust(FInplaceCol, fromIndex, toIndex);
    } else {
        MoveExtent(FRowHeights, fromIndex, toIndex);
        FRowSums.Reset();
        MoveAdjust(FCurrent.Y, fromIndex, toIndex);
        MoveAdjust(FAnchor.Y, fromIndex, toIndex);
        MoveAdjust(FInplaceRow, fromIndex, toIndex);
    }
    Invalidate();
    if (isColumn) {
        ColumnMoved(fromIndex, toIndex);
        if (!FColWidths.empty())
            ColWidthsChanged();
    } else {
        RowMoved(fromIndex, toIndex);
        if (!FRowHeights.empty())
            RowHeightsChanged();
    }
    UpdateEdit();
}

void TCustomGrid::MoveColumn(Integer fromIndex, Integer toIndex) {
    MoveColRowData(true, fromIndex, toIndex);
}

void TCustomGrid::MoveRow(Integer fromIndex, Integer toIndex) {
    MoveColRowData(false, fromIndex, toIndex);
}

void TCustomGrid::DeleteColumn(Integer ACol) {
    MoveColumn(ACol, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TCustomGrid::DeleteRow(Integer ARow) {
    MoveRow(ARow, FRowCount - 1);
    SetRowCount(FRowCount - 1);
}

// ---- Block moves of rows

void TCustomGrid::MoveRowBlock(Integer fromIndex, Integer count, Integer toIndex) {
    if (count < 0 || fromIndex < 0 || toIndex < 0 || fromIndex > FRowCount - count ||
        toIndex > FRowCount - count)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (count == 0 || fromIndex == toIndex)
        return;
    RotateBlock(FRowHeights, fromIndex, count, toIndex);
    FRowSums.Reset();
    FCurrent.Y = BlockMovedIndex(FCurrent.Y, fromIndex, count, toIndex);
    FAnchor.Y = BlockMovedIndex(FAnchor.Y, fromIndex, count, toIndex);
    FInplaceRow = BlockMovedIndex(FInplaceRow, fromIndex, count, toIndex);
    Invalidate();
    RowBlockMoved(fromIndex, count, toIndex);
    if (!FRowHeights.empty())
        RowHeightsChanged();
    UpdateEdit();
}

void TCustomGrid::InsertRowBlock(Integer ARow, Integer count) {
    // A count that would take the rows past the largest Integer reaches outside the grid too.
    if (count < 0 || ARow < 0 || ARow > FRowCount || count > std::numeric_limits<Integer>::max() - FRowCount)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (count == 0)
        return;
    const Integer oldCount = FRowCount;
    SetRowCount(oldCount + count);
    MoveRowBlock(oldCount, count, ARow);
    ResetRowBlock(ARow, count);
}

void TCustomGrid::DeleteRowBlock(Integer ARow, Integer count) {
    if (count < 0 || ARow < 0 || ARow > FRowCount - count)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (count == 0)
        return;
    MoveRowBlock(ARow, count, FRowCount - count);
    SetRowCount(FRowCount - count);
}

void TCustomGrid::ResetRowBlock(Integer ARow, Integer count) {
    if (count <= 0 || ARow < 0)
        return;
    if (!FRowHeights.empty()) {
        const Integer last = count < FRowCount - ARow ? ARow + count : FRowCount;
        for (Integer r = ARow; r < last; ++r)
            FRowHeights[static_cast<size_t>(r)] = FDefaultRowHeight;
        FRowSums.Reset();
        RowHeightsChanged();
    }
    RowBlockEmptied(ARow, count);
    Invalidate();
}

void TCustomGrid::DeleteRowList(const std::vector<Integer>& rows) {
    CheckLineList(rows, FRowCount);
    if (rows.empty())
        return;
    const Integer oldCount = FRowCount;
    if (!FRowHeights.empty())
        DeleteListed(FRowHeights, rows, static_cast<size_t>(oldCount));
    FRowSums.Reset();
    FCurrent.Y = ListDeletedIndex(FCurrent.Y, rows, oldCount);
    FAnchor.Y = ListDeletedIndex(FAnchor.Y, rows, oldCount);
    FInplaceRow = ListDeletedIndex(FInplaceRow, rows, oldCount);
    Invalidate();
    RowListDeleted(rows, oldCount);
    if (!FRowHeights.empty())
        RowHeightsChanged();
    UpdateEdit();
    SetRowCount(oldCount - static_cast<Integer>(rows.size()));
}

void TCustomGrid::InsertRowList(const std::vector<Integer>& rows) {
    const Integer oldCount = FRowCount;
    CheckLineList(rows, oldCount + static_cast<Integer>(rows.size()));
    if (rows.empty())
        return;
    SetRowCount(oldCount + static_cast<Integer>(rows.size()));
    if (!FRowHeights.empty())
        InsertListed(FRowHeights, rows, static_cast<size_t>(FRowCount), [this] { return FDefaultRowHeight; });
    FRowSums.Reset();
    FCurrent.Y = ListInsertedIndex(FCurrent.Y, rows);
    FAnchor.Y = ListInsertedIndex(FAnchor.Y, rows);
    FInplaceRow = ListInsertedIndex(FInplaceRow, rows);
    Invalidate();
    RowListInserted(rows, oldCount);
    if (!FRowHeights.empty())
        RowHeightsChanged();
    UpdateEdit();
}

void TCustomGrid::SetRowHeightList(const std::vector<Integer>& rows, const std::vector<Integer>& heights) {
    const size_t count = std::min(rows.size(), heights.size());
    for (size_t i = 0; i < count; ++i)
        if (rows[i] < 0 || rows[i] >= FRowCount)
            throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    // Rows of the default height in a grid without heights of its own need nothing stored.
    if (FRowHeights.empty()) {
        if (std::all_of(heights.begin(), heights.begin() + static_cast<std::ptrdiff_t>(count),
                        [this](Integer h) { return h == FDefaultRowHeight; }))
            return;
        FRowHeights.assign(FRowCount, FDefaultRowHeight);
    }
    bool changed = false;
    for (size_t i = 0; i < count; ++i) {
        Integer& height = FRowHeights[static_cast<size_t>(rows[i])];
        changed = changed || height != heights[i];
        height = heights[i];
    }
    FRowSums.Reset();
    if (!changed)
        return;
    Invalidate();
    RowHeightsChanged();
}

bool TCustomGrid::BeginColumnDrag(Integer&, Integer&, const TPoint&) {
    return true;
}
bool TCustomGrid::BeginRowDrag(Integer&, Integer&, const TPoint&) {
    return true;
}
bool TCustomGrid::CheckColumnDrag(Integer&, Integer&, const TPoint&) {
    return true;
}
bool TCustomGrid::CheckRowDrag(Integer&, Integer&, const TPoint&) {
    return true;
}
bool TCustomGrid::EndColumnDrag(Integer&, Integer&, const TPoint&) {
    return true;
}
bool TCustomGrid::EndRowDrag(Integer&, Integer&, const TPoint&) {
    return true;
}

// ---- Current cell, selection and scrolling ----

void TCustomGrid::FocusCell(Integer ACol, Integer ARow, bool moveAnchor) {
    MoveCurrent(ACol, ARow, moveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::MoveColRow(Integer ACol, Integer ARow, bool moveAnchor, bool show) {
    MoveCurrent(ACol, ARow, moveAnchor, show);
}

void TCustomGrid::MoveCurrent(Integer ACol, Integer ARow, bool moveAnchor, bool show) {
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (!SelectCell(ACol, ARow))
        return;
    const TGridRect oldSel = Selection();
    FCurrent = {ACol, ARow};
    if (!FOptions.Contains(goAlwaysShowEditor))
        HideEditor();
    if (moveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect))
            FAnchor.X = FColCount - 1;
    }
    if (FOptions.Contains(goRowSelect))
        FCurrent.X = FFixedCols;
    if (show)
        ClampInView(FCurrent);
    SelectionMoved(oldSel);
}

void TCustomGrid::MoveAnchor(const TGridCoord& newAnchor) {
    if (FOptions.Contains(goRangeSelect) && !FOptions.Contains(goEditing)) {
        const TGridRect oldSel = Selection();
        FAnchor = newAnchor;
        if (FOptions.Contains(goRowSelect))
            FAnchor.X = FColCount - 1;
        ClampInView(newAnchor);
        SelectionMoved(oldSel);
    } else {
        MoveCurrent(newAnchor.X, newAnchor.Y, true, true);
    }
}

void TCustomGrid::SelectionMoved(const TGridRect& oldSel) {
    if (!HandleAllocated())
        return;
    InvalidateGridRect(oldSel);
    InvalidateGridRect(Selection());
}

void TCustomGrid::ClampInView(const TGridCoord& coord) {
    if (!HandleAllocated())
        return;
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    if (coord.X > drawInfo.Horz.LastFullVisibleCell || coord.Y > drawInfo.Vert.LastFullVisibleCell ||
        coord.X < LeftCol() || coord.Y < TopRow()) {
        const TGridCoord maxTopLeft = CalcMaxTopLeft(coord, drawInfo);
        TGridCoord topLeft = FTopLeft;
        if (coord.X < LeftCol())
            topLeft.X = std::max(coord.X, FFixedCols);
        else if (coord.X > drawInfo.Horz.LastFullVisibleCell)
            topLeft.X = maxTopLeft.X;
        if (coord.Y < TopRow())
            topLeft.Y = std::max(coord.Y, FFixedRows);
        else if (coord.Y > drawInfo.Vert.LastFullVisibleCell)
            topLeft.Y = maxTopLeft.Y;
        MoveTopLeft(topLeft.X, topLeft.Y);
    }
}

void TCustomGrid::MoveTopLeft(Integer ALeft, Integer ATop) {
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y)
        return;
    const TGridCoord oldTopLeft = FTopLeft;
    FTopLeft = {ALeft, ATop};
    TopLeftMoved(oldTopLeft);
}

void TCustomGrid::TopLeftMoved(const TGridCoord& oldTopLeft) {
    if (oldTopLeft == FTopLeft)
        return;
    // Everything that scrolls moves; painting costs what is shown, so a repaint is as cheap as a scroll.
    Invalidate();
    UpdateScrollPos();
    TopLeftChanged();
}

void TCustomGrid::TimedScroll(TGridScrollDirection direction) {
    TGridCoord newAnchor = FAnchor;
    if (direction.Contains(sdLeft) && FAnchor.X > FFixedCols)
        --newAnchor.X;
    if (direction.Contains(sdRight) && FAnchor.X < FColCount - 1)
        ++newAnchor.X;
    if (direction.Contains(sdUp) && FAnchor.Y > FFixedRows)
        --newAnchor.Y;
    if (direction.Contains(sdDown) && FAnchor.Y < FRowCount - 1)
        ++newAnchor.Y;
    if (newAnchor != FAnchor)
        MoveAnchor(newAnchor);
}

void TCustomGrid::UpdateScrollPos() {
    if (!HandleAllocated() || FScrollBars == ssNone)
        return;
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, drawInfo);
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        SetScrollPos(Handle(), SB_HORZ,
                     LongMulDiv(FTopLeft.X - FFixedCols, ScrollBarMax, maxTopLeft.X - FFixedCols), TRUE);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        SetScrollPos(Handle(), SB_VERT,
                     LongMulDiv(FTopLeft.Y - FFixedRows, ScrollBarMax, maxTopLeft.Y - FFixedRows), TRUE);
}

void TCustomGrid::SetKeptScrollBars(TScrollStyle value) {
    if (FKeptScrollBars == value)
        return;
    const TScrollStyle old = FKeptScrollBars;
    FKeptScrollBars = value;
    if (!HandleAllocated())
        return;
    if (HasScrollBar(old, SB_HORZ) && !HasScrollBar(value, SB_HORZ))
        EnableScrollBar(Handle(), SB_HORZ, ESB_ENABLE_BOTH);
    if (HasScrollBar(old, SB_VERT) && !HasScrollBar(value, SB_VERT))
        EnableScrollBar(Handle(), SB_VERT, ESB_ENABLE_BOTH);
    UpdateScrollRange();
}

void TCustomGrid::UpdateScrollRange() {
    if (!HandleAllocated())
        return;
    const TGridCoord oldTopLeft = FTopLeft;
    // Showing or hiding one bar changes the room of the other axis, so settle in at most two rounds.
    // The model has no page: a page a derived grid gave its thumbs goes with the range, so that it can
    // never outgrow the range and hide a bar that is needed. A kept bar with nothing to scroll is
    // disabled instead of hidden, and enabled again once it has.
    auto setRange = [this](int bar, int maxPos) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        if (HasScrollBar(FKeptScrollBars, bar))
            info.fMask |= SIF_DISABLENOSCROLL;
        info.nMax = maxPos;
        SetScrollInfo(Handle(), bar, &info, TRUE);
    };
    for (int round = 0; round < 2; ++round) {
        TGridDrawInfo drawInfo;
        CalcDrawInfo(drawInfo);
        const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, drawInfo);
        if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
            setRange(SB_HORZ, maxTopLeft.X > FFixedCols ? ScrollBarMax : 0);
        if (FScrollBars == ssVertical || FScrollBars == ssBoth)
            setRange(SB_VERT, maxTopLeft.Y > FFixedRows ? ScrollBarMax : 0);
    }
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, drawInfo);
    FTopLeft.X = std::max(std::min(FTopLeft.X, maxTopLeft.X), FFixedCols);
    FTopLeft.Y = std::max(std::min(FTopLeft.Y, maxTopLeft.Y), FFixedRows);
    if (oldTopLeft != FTopLeft)
        TopLeftMoved(oldTopLeft);
    else
        UpdateScrollPos();
}

void TCustomGrid::ModifyScrollBar(int scrollBar, int scrollCode, int pos) {
    // Using a grid's scroll bar makes it the control with the focus, as a click on its cells does.
    if (Visible() && CanFocus() && TabStop() && !ComponentState().Contains(csDesigning))
        SetFocus();
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, drawInfo);
    const bool horz = scrollBar == SB_HORZ;
    const TGridAxisDrawInfo& axis = horz ? drawInfo.Horz : drawInfo.Vert;
    const Integer minValue = horz ? FFixedCols : FFixedRows;
    const Integer maxValue = horz ? maxTopLeft.X : maxTopLeft.Y;
    const Integer value = horz ? FTopLeft.X : FTopLeft.Y;
    // A page down brings the last whole line to the top; a page up brings the top line to the bottom,
    // so it counts the lines that fit above it.
    const Integer pageDown = std::max<Integer>(axis.LastFullVisibleCell - value, 1);
    const TGridCoord pageAbove = CalcMaxTopLeft(FTopLeft, drawInfo);
    const Integer pageUp = std::max<Integer>(value - (horz ? pageAbove.X : pageAbove.Y), 1);
    auto step = [&](Integer current) {
        switch (scrollCode) {
        case SB_LINEUP:
            return current - 1;
        case SB_LINEDOWN:
            return current + 1;
        case SB_PAGEUP:
            return current - pageUp;
        case SB_PAGEDOWN:
            return current + pageDown;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            if (FOptions.Contains(goThumbTracking) || scrollCode == SB_THUMBPOSITION)
                return minValue + LongMulDiv(pos, maxValue - minValue, ScrollBarMax);
            return current;
        case SB_BOTTOM:
            return maxValue;
        case SB_TOP:
            return minValue;
        default:
            return current;
        }
    };
    if (scrollCode != SB_LINEUP && scrollCode != SB_LINEDOWN && scrollCode != SB_PAGEUP &&
        scrollCode != SB_PAGEDOWN && scrollCode != SB_THUMBPOSITION && scrollCode != SB_THUMBTRACK &&
        scrollCode != SB_BOTTOM && scrollCode != SB_TOP)
        return;
    // A hidden line (extent 0 or less) is no place to stop: the step goes on past it.
    Integer result = value;
    for (;;) {
        const Integer previous = result;
        result = step(result);
        if (result <= minValue || result >= maxValue || result == previous ||
            (horz ? ColWidths(result) : RowHeights(result)) > 0)
            break;
    }
    result = std::max(std::min(result, maxValue), minValue);
    if (horz)
        MoveTopLeft(result, FTopLeft.Y);
    else
        MoveTopLeft(FTopLeft.X, result);
}

// ---- Invalidation ----

// Whether lines first..last of an axis might be on screen; a quick answer that never says no to a
// shown line, so that writing a million cells far from the view costs no geometry.
static bool AxisMaybeShown(Integer first, Integer last, Integer fixedCount, Integer firstGridCell,
                           bool defaultExtents, Integer defaultExtent, Integer size) {
    if (first >= fixedCount && last < firstGridCell)
        return false;
    if (defaultExtents && defaultExtent > 0 && first >= fixedCount &&
        first > firstGridCell + size / defaultExtent + 1)
        return false;
    return true;
}

void TCustomGrid::InvalidateGridRect(const TGridRect& rect) {
    if (!HandleAllocated())
        return;
    if (!AxisMaybeShown(rect.Left, rect.Right, FFixedCols, FTopLeft.X, FColWidths.empty(), FDefaultColWidth,
                        Width()) ||
        !AxisMaybeShown(rect.Top, rect.Bottom, FFixedRows, FTopLeft.Y, FRowHeights.empty(), FDefaultRowHeight,
                        Height()))
        return;
    const TRect box = BoxRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (box.Right <= box.Left || box.Bottom <= box.Top)
        return;
    RECT r{box.Left, box.Top, box.Right, box.Bottom};
    InvalidateRect(Handle(), &r, FALSE);
}

void TCustomGrid::InvalidateCell(Integer ACol, Integer ARow) {
    InvalidateGridRect({ACol, ARow, ACol, ARow});
}

void TCustomGrid::InvalidateCol(Integer ACol) {
    if (!HandleAllocated())
        return;
    InvalidateGridRect({ACol, 0, ACol, FFixedRows - 1});
    InvalidateGridRect({ACol, TopRow(), ACol, FRowCount - 1});
}

void TCustomGrid::InvalidateRow(Integer ARow) {
    if (!HandleAllocated())
        return;
    InvalidateGridRect({0, ARow, FFixedCols - 1, ARow});
    InvalidateGridRect({LeftCol(), ARow, FColCount - 1, ARow});
}

void TCustomGrid::InvalidateEditor() {
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
}
