// The grid base: property records, cell text and cell objects, the cell store's freeing rules, cell
// geometry and the grid's published settings.
#include "grid/engine/BaseGrid.h"

#include <limits>

#include "grid/engine/AdvUtil.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winuser.h"

// The cell stream carries records in this form: every integer, Boolean, enumeration and set is written
// whatever its value, in this order, and the owner coordinates are never stored (a record read back
// belongs to the cell it lands in).
DEFINE_CLASS(TCellProperties, PROPERTY(IsBaseCell), PROPERTY(CellSpanX), PROPERTY(CellSpanY),
             PROPERTY(OwnerCol).Stored(false), PROPERTY(OwnerRow).Stored(false), PROPERTY(Alignment),
             PROPERTY(BorderColor).Type(TypeInfoColor()), PROPERTY(BorderWidth),
             PROPERTY(BrushColor).Type(TypeInfoColor()), PROPERTY(BrushColorTo).Type(TypeInfoColor()),
             PROPERTY(BrushStyle), PROPERTY(CellObject), PROPERTY(FontColor).Type(TypeInfoColor()),
             PROPERTY(FontName), PROPERTY(FontSize), PROPERTY(FontStyle), PROPERTY(Editor),
             PROPERTY(GradientDirection), PROPERTY(ReadOnly), PROPERTY(VAlignment), PROPERTY(WordWrap),
             PROPERTY(NodeLevel), PROPERTY(Control))

DEFINE_CLASS(TObjStringGrid)

DEFINE_CLASS(TBaseGrid, PROPERTY(ActiveRowShow).Default(false),
             PROPERTY(ActiveRowColor).Type(TypeInfoColor()).Default(clInfoBk),
             PROPERTY(DefaultDrawing).Default(false), PROPERTY(GridLineWidth).Default(1),
             PROPERTY(GridLineColor).Type(TypeInfoColor()).Default(0x00C0C0C0),
             PROPERTY(GridFixedLineColor).Type(TypeInfoColor()).Default(0x00808080),
             PROPERTY(HoverRow).Default(false),
             PROPERTY(HoverRowColor).Type(TypeInfoColor()).Default(clInfoBk),
             PROPERTY(HoverRowColorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(HoverRowCells).Default(THoverRowCells{hcNormal, hcSelected}), PROPERTY(UndoRedo),
             EVENT(OnGetDisplText), EVENT(OnGetDisplWideText))

namespace {

// The class name of the cell objects the grid owns through their records.
constexpr StringView CellGraphicClassName = u"TCellGraphic";

bool IsCellOwnedGraphic(const TObject* object) {
    return object != nullptr && object->ClassType()->ClassName() == CellGraphicClassName;
}

} // namespace

// ---- TCellProperties

TCellProperties::TCellProperties(TBaseGrid* AOwner, Integer ACol, Integer ARow)
    : FOwnerGrid(AOwner), FOwnerCol(ACol), FOwnerRow(ARow),
      FWordWrap(AOwner != nullptr && AOwner->FWordWrap) {
    if (AOwner != nullptr)
        AOwner->FHasCellProps = true;
}

TCellProperties::~TCellProperties() = default;

void TCellProperties::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TCellProperties*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FIsBaseCell = source->FIsBaseCell;
    FCellSpanX = source->FCellSpanX;
    FCellSpanY = source->FCellSpanY;
    FOwnerRow = source->FOwnerRow;
    FOwnerCol = source->FOwnerCol;
    FObject = source->FObject;
    FAlignment = source->FAlignment;
    FBorderColor = source->FBorderColor;
    FBorderWidth = source->FBorderWidth;
    FBrushColor = source->FBrushColor;
    FBrushStyle = source->FBrushStyle;
    FFontColor = source->FFontColor;
    FFontStyle = source->FFontStyle;
    FFontName = source->FFontName;
    FFontSize = source->FFontSize;
    FReadOnly = source->FReadOnly;
    FEditor = source->FEditor;
    FVAlignment = source->FVAlignment;
    FWordWrap = source->FWordWrap;
    FNodeLevel = source->FNodeLevel;
    FControl = source->FControl;
}

TPoint TCellProperties::BaseCellOf(Integer col, Integer row) const {
    // A move that separated the cells of a block can leave offsets reaching before the first column or
    // row; such a cell has no base there to read or write through and stands for itself.
    if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1 && FCellSpanX <= col && FCellSpanY <= row)
        return TPoint(col - FCellSpanX, row - FCellSpanY);
    return TPoint(col, row);
}

void TCellProperties::RepaintOwnerCell() {
    if (FOwnerGrid != nullptr)
        FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor value) {
    FBrushColor = value;
    RepaintOwnerCell();
}

void TCellProperties::SetBrushColorTo(TColor value) {
    FBrushColorTo = value;
    RepaintOwnerCell();
}

void TCellProperties::SetVAlignment(TVAlignment value) {
    FVAlignment = value;
    RepaintOwnerCell();
}

void TCellProperties::SetWordWrap(bool value) {
    FWordWrap = value;
    RepaintOwnerCell();
}

// ---- TBaseGrid: life

TBaseGrid::TBaseGrid(TComponent* AOwner)
    : TObjStringGrid(AOwner), FDefFont(std::make_unique<TFont>()), FDefBrush(std::make_unique<TBrush>()) {
    TCustomGrid::SetGridLineWidth(0);
    TCustomGrid::SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid() {
    FDefFont.reset();
    FDefBrush.reset();
    // Not FreeAllCellProperties alone: records may lie beyond the current counts.
    constexpr Integer most = std::numeric_limits<Integer>::max();
    FreeCellProperties(0, 0, most, most);
}

TGradientCache* TBaseGrid::GradientCache() {
    if (!FGradientCache)
        FGradientCache = std::make_unique<TGradientCache>();
    return FGradientCache.get();
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent == FUndoRedo)
        FUndoRedo = nullptr;
    TObjStringGrid::Notification(AComponent, Operation);
}

// ---- Cell text

String TBaseGrid::GetCellEx(Integer c, Integer r) {
    if (const TCellProperties* record = AssignedProps(c, r)) {
        const TPoint base = record->BaseCellOf(c, r);
        c = base.X;
        r = base.Y;
    }
    String text = TStringGrid::Cells(c, r);
    if (r < FNormalRowCount) {
        DoGetDisplText(c, r, text);
        if (OnGetDisplWideText) {
            String wide = DecodeWideText(text);
            DoGetDisplWideText(c, r, wide);
            text = EncodeWideText(wide);
        }
    }
    return text;
}

void TBaseGrid::SetCellEx(Integer c, Integer r, const String& Value) {
    if (const TCellProperties* record = AssignedProps(c, r)) {
        const TPoint base = record->BaseCellOf(c, r);
        TStringGrid::SetCells(base.X, base.Y, Value);
        CellTextChanged(base.X, base.Y);
        if (Parent() != nullptr)
            RepaintCell(c, r);
    } else {
        TStringGrid::SetCells(c, r, Value);
    }
    if (FHideLastRow && r == RowCount() - 1)
        LastRowChanged();
}

void TBaseGrid::DoGetDisplText(Integer ACol, Integer ARow, String& Value) {
    if (OnGetDisplText)
        OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::DoGetDisplWideText(Integer ACol, Integer ARow, String& Value) {
    if (OnGetDisplWideText)
        OnGetDisplWideText(this, ACol, ARow, Value);
}

// ---- The in-place editor

String TBaseGrid::GetEditCellText(Integer ACol, Integer ARow) {
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    return GetGridCell(base.X, base.Y);
}

void TBaseGrid::SetEditCellText(Integer ACol, Integer ARow, const String& Value) {
    SetCellEx(RealColIndex(ACol), ARow, Value);
}

TRect TBaseGrid::GetEditRect(Integer ACol, Integer ARow) {
    const TRect cell = TCustomGrid::CellRect(ACol, ARow);
    if (cell.Right <= cell.Left || cell.Bottom <= cell.Top || !IsMergedCell(RealColIndex(ACol), ARow))
        return cell;
    return CellRect(ACol, ARow);
}

// ---- Cell objects

TObject* TBaseGrid::GetObjectEx(Integer c, Integer r) const {
    const TCellProperties* record = AssignedProps(c, r);
    return record != nullptr ? reinterpret_cast<TObject*>(record->FObject) : nullptr;
}

void TBaseGrid::SetObjectEx(Integer c, Integer r, TObject* Value) {
    if (Value == nullptr && PeekCellProperties(c, r) == nullptr)
        return;
    // An empty cell is written blank and back, so that the text hooks and the repaint run as for a
    // change of the cell.
    const bool wasEmpty = GetCellEx(c, r).empty();
    if (wasEmpty)
        SetCellEx(c, r, u" ");
    GetCellProperties(c, r)->FObject = reinterpret_cast<NativeUInt>(Value);
    if (wasEmpty)
        SetCellEx(c, r, String());
}

TObject* TBaseGrid::GetGraphicObjectEx(Integer c, Integer r) const {
    const TCellProperties* record = AssignedProps(c, r);
    return record != nullptr ? record->FGraphicObject : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(Integer c, Integer r, TObject* Value) {
    if (ComponentState().Contains(csDestroying))
        return;
    const bool wasEmpty = GetCellEx(c, r).empty();
    if (wasEmpty)
        SetCellEx(c, r, u" ");
    // The slot itself, not the store rules' view of it: a record already stored beyond the column
    // count must be used, not replaced and lost.
    TCellProperties* record = PeekCellProperties(c, r);
    if (record == nullptr) {
        // A fresh font and brush: the scratch pair may be in use by a caller filling another record.
        auto owned = std::make_unique<TCellProperties>(this, c, r);
        PutCellProperties(c, r, owned.get());
        record = owned.release();
        TFont font;
        TBrush brush;
        FillFromDefaults(record, c, r, &font, &brush, true);
    }
    record->FGraphicObject = Value;
    if (wasEmpty)
        SetCellEx(c, r, String());
}

// ---- Property records

void TBaseGrid::FillFromDefaults(TCellProperties* record, Integer c, Integer r, TFont* font, TBrush* brush,
                                 bool throughSetters) {
    TColor colorTo = clNone;
    TColor mirrorColor = clNone;
    TColor mirrorColorTo = clNone;
    TAlignment horzAlign = taLeftJustify;
    TVAlignment vertAlign = vtaTop;
    bool wordWrap = FWordWrap;
    TCellGradientDirection direction = GradientVertical;
    GetCellDefaultProps(c, r, font, brush, colorTo, mirrorColor, mirrorColorTo, horzAlign, vertAlign,
                        wordWrap, direction);
    record->FCalcType = acNONE;
    record->FAlignment = horzAlign;
    record->FFontName = font->Name();
    record->FFontSize = font->Size();
    record->FFontStyle = font->Style();
    record->FFontColor = font->Color();
    record->FGradientDirection = direction;
    if (throughSetters) {
        record->SetVAlignment(vertAlign);
        record->SetWordWrap(wordWrap);
        record->SetBrushColor(brush->Color());
        record->SetBrushColorTo(colorTo);
    } else {
        record->FVAlignment = vertAlign;
        record->FWordWrap = wordWrap;
        record->FBrushColor = brush->Color();
        record->FBrushColorTo = colorTo;
    }
}

TCellProperties* TBaseGrid::CreateCellProperties(Integer c, Integer r) {
    // Stored before it is filled, so that a slot the framework refuses (a negative index) leaks nothing.
    auto owned = std::make_unique<TCellProperties>(this, c, r);
    PutCellProperties(c, r, owned.get());
    TCellProperties* record = owned.release();
    FillFromDefaults(record, c, r, FDefFont.get(), FDefBrush.get(), false);
    return record;
}

TCellProperties* TBaseGrid::MakeCellProperties(Integer c, Integer r) {
    auto owned = std::make_unique<TCellProperties>(this, c, r);
    FillFromDefaults(owned.get(), c, r, FDefFont.get(), FDefBrush.get(), false);
    return owned.release();
}

TCellProperties* TBaseGrid::GetCellProperties(Integer c, Integer r) {
    if (TCellProperties* record = PeekCellProperties(c, r))
        return record;
    return CreateCellProperties(c, r);
}

void TBaseGrid::GetCellDefaultProps(Integer, Integer, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                                    TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA,
                                    TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {
    AFont->Assign(Font());
    ABrush->SetColor(Color());
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    HA = taLeftJustify;
    VA = vtaTop;
    WW = FWordWrap;
    GD = GradientVertical;
}

void TBaseGrid::FreeRecord(TCellProperties* record, TObject* keep) {
    if (CountsAsBlock(record))
        --FMergeCount;
    if (record->FGraphicObject != keep && IsCellOwnedGraphic(record->FGraphicObject))
        record->FGraphicObject->Free();
    record->Free();
}

void TBaseGrid::SetCellProperties(Integer c, Integer r, TCellProperties* Value) {
    TCellProperties* old = PeekCellProperties(c, r);
    if (old == Value)
        return; // storing the record that is there already must not free it
    PutCellProperties(c, r, Value);
    // The replaced record goes with its cell-owned graphic object, unless the new record carries it on.
    if (old != nullptr)
        FreeRecord(old, Value != nullptr ? Value->FGraphicObject : nullptr);
    if (Value != nullptr) {
        FHasCellProps = true;
        if (CountsAsBlock(Value))
            ++FMergeCount;
    }
}

void TBaseGrid::FreeCellPropertiesAt(Integer c, Integer r) {
    TCellProperties* record = PeekCellProperties(c, r);
    if (record == nullptr)
        return;
    PutCellProperties(c, r, nullptr);
    FreeRecord(record, nullptr);
}

void TBaseGrid::FreeCellProperties(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow) {
    if (!FHasCellProps)
        return;
    // The store answers the records it holds in the range, so a range given as "everything" costs what
    // is stored, wherever it lies.
    std::vector<std::pair<Integer, Integer>> cells;
    ForEachObjectSlot(FromCol, FromRow, ToCol, ToRow,
                      [&](Integer c, Integer r, TObject*) { cells.emplace_back(c, r); });
    for (const auto& [c, r] : cells)
        FreeCellPropertiesAt(c, r);
}

void TBaseGrid::FreeAllCellProperties() {
    FreeCellProperties(0, 0, ColCount() - 1, RowCount() - 1);
}

void TBaseGrid::ResetCell(Integer c, Integer r) {
    SetCellEx(c, r, String());
    PutCellProperties(c, r, nullptr);
}

void TBaseGrid::ResetRowCells(Integer r) {
    for (Integer c = 0; c < ColCount(); ++c) {
        PutCellProperties(c, r, nullptr);
        SetCellEx(c, r, String());
    }
}

void TBaseGrid::ResetColCells(Integer c) {
    for (Integer r = 0; r < RowCount(); ++r) {
        PutCellProperties(c, r, nullptr);
        SetCellEx(c, r, String());
    }
}

// ---- Geometry

Integer TBaseGrid::ColWidthOf(Integer c) const {
    return c >= 0 && c < ColCount() ? ColWidths(c) : DefaultColWidth();
}

Integer TBaseGrid::RowHeightOf(Integer r) const {
    return r >= 0 && r < RowCount() ? RowHeights(r) : DefaultRowHeight();
}

void TBaseGrid::RepaintCell(Integer ARealCol, Integer ARow) {
    if (!HandleAllocated() || FRepaintLock > 0)
        return;
    const RECT rect = CellRect(DisplColIndex(ARealCol), ARow);
    InvalidateRect(Handle(), &rect, TRUE);
}

TRect TBaseGrid::CellRect(Integer ADisplCol, Integer ARow) {
    const Integer realCol = RealColIndex(ADisplCol);
    if (const TCellProperties* record = AssignedProps(realCol, ARow)) {
        if (record->FCellSpanX != -1 || record->FCellSpanY != -1) {
            const TPoint base = record->BaseCellOf(realCol, ARow);
            const TPoint span = CellSpan(realCol, ARow);
            const Integer baseDisplCol = DisplColIndex(base.X);
            // A hidden cell at either corner has no width; a pixel keeps it inside the union.
            RECT first = CalcCellRect(baseDisplCol, base.Y);
            if (first.right == first.left)
                ++first.right;
            RECT last = CalcCellRect(baseDisplCol + span.X, base.Y + span.Y);
            if (last.right == last.left)
                --last.left;
            RECT result{};
            UnionRect(&result, &first, &last);
            return result;
        }
        if (record->FControl != nullptr)
            return CalcCellRect(ADisplCol, ARow);
    }
    // A cell asked for while the paint loop paints it stands where the loop put it.
    TPoint topLeft;
    if (!PaintingCellAt(ADisplCol, ARow, topLeft)) {
        const TRect framework = TCustomGrid::CellRect(ADisplCol, ARow);
        topLeft = TPoint(framework.Left, framework.Top);
    }
    return TRect(topLeft.X, topLeft.Y, topLeft.X + ColWidthOf(ADisplCol), topLeft.Y + RowHeightOf(ARow));
}

TPoint TBaseGrid::CellSize(Integer ARealCol, Integer ARow) {
    // The sizes are summed straight from the widths and heights, so they neither depend on the scroll
    // position nor cost more further down.
    Integer left = ARealCol;
    Integer top = ARow;
    Integer right = ARealCol;
    Integer bottom = ARow;
    if (const TCellProperties* record = AssignedProps(ARealCol, ARow)) {
        if (record->FCellSpanX != -1 && record->FCellSpanY != -1) {
            const TPoint base = record->BaseCellOf(ARealCol, ARow);
            const TPoint span = CellSpan(ARealCol, ARow);
            left = base.X;
            top = base.Y;
            right = base.X + span.X;
            bottom = base.Y + span.Y;
        }
    }
    const auto extent = [](Int64 from, Int64 to) {
        return static_cast<Integer>(std::clamp<Int64>(to - from, 0, std::numeric_limits<Integer>::max()));
    };
    const auto after = [](Integer index) {
        return index < std::numeric_limits<Integer>::max() ? index + 1 : index;
    };
    return TPoint(extent(ColsWidthBefore(left), ColsWidthBefore(after(right))),
                  extent(RowsHeightBefore(top), RowsHeightBefore(after(bottom))));
}

TRect TBaseGrid::CalcCellRect(Integer ADisplCol, Integer ARow) {
    // Lines past the counts have the default extent; the sums are kept by the framework grid, so a
    // cell far down costs what one near the top does. They are wide and the edges clamped, so they
    // cannot overflow.
    Int64 x = ColsWidthBefore(ADisplCol);
    Int64 y = RowsHeightBefore(ARow);
    const TRect origin = TCustomGrid::CellRect(LeftCol(), TopRow());
    if (ADisplCol >= FixedCols())
        x += origin.Left - ColsWidthBefore(LeftCol());
    if (ARow >= FixedRows())
        y += origin.Top - RowsHeightBefore(TopRow());
    const auto edge = [](Int64 value) {
        return static_cast<Integer>(std::clamp<Int64>(value, std::numeric_limits<Integer>::min(),
                                                      std::numeric_limits<Integer>::max()));
    };
    return TRect(edge(x), edge(y), edge(x + ColWidthOf(ADisplCol)), edge(y + RowHeightOf(ARow)));
}

Integer TBaseGrid::FixedColsWidth() const {
    Integer result = 0;
    for (Integer i = 0; i < FixedCols(); ++i)
        result += ColWidthOf(i);
    return result;
}

Integer TBaseGrid::FixedRowsHeight() const {
    Integer result = 0;
    for (Integer i = 0; i < FixedRows(); ++i)
        result += RowHeightOf(i);
    return result;
}

// ---- Settings

void TBaseGrid::SetDefaultDrawing(bool value) {
    FDefaultDrawing = value;
    TCustomGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(Integer value) {
    FGridLineWidth = value;
    TCustomGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor value) {
    FGridLineColor = value;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor value) {
    FGridFixedLineColor = value;
    Invalidate();
}

namespace {

// Stores a setting and repaints the grid when it changed.
template <class T> void StoreAndRepaint(TBaseGrid* grid, T& field, T value) {
    if (field == value)
        return;
    field = value;
    grid->Invalidate();
}

} // namespace

void TBaseGrid::SetActiveRowShow(bool value) {
    StoreAndRepaint(this, FActiveRowShow, value);
}

void TBaseGrid::SetActiveRowColor(TColor value) {
    StoreAndRepaint(this, FActiveRowColor, value);
}

void TBaseGrid::SetActiveRowColorTo(TColor value) {
    StoreAndRepaint(this, FActiveRowColorTo, value);
}

void TBaseGrid::SetActiveRowMirrorColor(TColor value) {
    StoreAndRepaint(this, FActiveRowMirrorColor, value);
}

void TBaseGrid::SetActiveRowMirrorColorTo(TColor value) {
    StoreAndRepaint(this, FActiveRowMirrorColorTo, value);
}

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle value) {
    StoreAndRepaint(this, FSelectionStyle, value);
}

void TBaseGrid::SetUndoRedo(ZOvoReziDoviRuzo* value) {
    // A component unlinked here that still points at this grid keeps hearing of it, or its link would
    // outlive the grid.
    if (FUndoRedo != nullptr && FUndoRedo != value && FUndoRedo->Grid() != this)
        RemoveFreeNotification(FUndoRedo);
    FUndoRedo = value;
    if (value == nullptr)
        return;
    value->SetGrid(this);
    // An undo component of another owner is not reported through the owner; ask to be told when it
    // goes, so the link never outlives it.
    FreeNotification(value);
}
