// Cell objects that show a value or attach a note: progress bars and pies, range indicators, shapes,
// ratings, in-cell scroll bars, comments, marked text ranges and balloon tips.
#include <vector>

#include "grid/engine/AdvGrid.h"

namespace {

const TCellTypes BalloonControlKinds = {ctCheckBox, ctDataCheckBox, ctRadioButton};

// The object of the base cell of the merged block holding (ACol, ARow) when it is of kind Kind.
TCellGraphic* BaseGraphicOfKind(TAdvStringGrid& grid, Integer ACol, Integer ARow, TCellType Kind) {
    if (ACol < 0 || ARow < 0)
        return nullptr;
    const TPoint base = grid.BaseCell(ACol, ARow);
    TCellGraphic* graphic = grid.GetCellGraphic(base.X, base.Y);
    return graphic != nullptr && graphic->CellType() == Kind ? graphic : nullptr;
}

} // namespace

// ---- Progress bars, pies and range indicators

void TAdvStringGrid::AddProgress(Integer ACol, Integer ARow, TColor FGColor, TColor BKColor) {
    AddProgressFormatted(ACol, ARow, FGColor, 0, BKColor, 0, u"", 0, 100);
    // No text colours were given: painting takes its own.
    if (TCellGraphic* graphic = OwnCellGraphic(ACol, ARow))
        graphic->SetCellBoolean(false);
}

void TAdvStringGrid::AddProgressEx(Integer ACol, Integer ARow, TColor FGColor, TColor FGTextColor,
                                   TColor BKColor, TColor BKTextColor) {
    AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, u"", 0, 100);
}

void TAdvStringGrid::AddProgressFormatted(Integer ACol, Integer ARow, TColor FGColor, TColor FGTextColor,
                                          TColor BKColor, TColor BKTextColor, const String& Fmt, Integer Min,
                                          Integer Max) {
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctProgress);
    graphic->SetCellColor(FGColor);
    graphic->SetCellColorTo(BKColor);
    graphic->SetCellIndex(static_cast<Integer>(FGTextColor));
    graphic->SetCellAngle(static_cast<Integer>(BKTextColor));
    graphic->SetCellBoolean(true);
    graphic->SetCellErrFrom(Min);
    graphic->SetCellErrLen(Max);
    graphic->SetCellText(Fmt);
    graphic->SetCellHAlign(haLeft);
    graphic->SetCellVAlign(vaTop);
    if (FAutoNumAlign)
        SetAlignments(ACol, ARow, taRightJustify);
}

bool TAdvStringGrid::HasProgress(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctProgress});
}

void TAdvStringGrid::RemoveProgress(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctProgress);
}

void TAdvStringGrid::AddAdvProgress(Integer ACol, Integer ARow, Integer Min, Integer Max) {
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctXPProgress);
    graphic->SetCellErrFrom(Min);
    graphic->SetCellErrLen(Max);
    graphic->SetCellText(u"");
    graphic->SetCellHAlign(haLeft);
    graphic->SetCellVAlign(vaTop);
}

void TAdvStringGrid::RemoveAdvProgress(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctXPProgress);
}

void TAdvStringGrid::AddProgressPie(Integer ACol, Integer ARow, TColor Color, Integer Value) {
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctProgressPie);
    graphic->SetCellColor(Color);
    graphic->SetCellAngle(Value);
    graphic->SetCellHAlign(haBeforeText);
    graphic->SetCellVAlign(vaTop);
}

void TAdvStringGrid::SetProgressPie(Integer ACol, Integer ARow, Integer Value) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctProgressPie)
        return;
    graphic->SetCellAngle(Value);
    RepaintCell(ACol, ARow);
}

void TAdvStringGrid::RemoveProgressPie(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctProgressPie);
}

void TAdvStringGrid::AddRangeIndicator(Integer ACol, Integer ARow, Integer Range, TColor NegColor,
                                       TColor PosColor, bool ShowValue) {
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctRangeIndicator);
    graphic->SetCellIndex(Range);
    graphic->SetCellColor(NegColor);
    graphic->SetCellColorTo(PosColor);
    graphic->SetCellBoolean(ShowValue);
    graphic->SetCellHAlign(haLeft);
    graphic->SetCellVAlign(vaTop);
}

void TAdvStringGrid::RemoveRangeIndicator(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator);
}

// ---- Shapes and ratings

void TAdvStringGrid::AddShape(Integer ACol, Integer ARow, TCellShape Shape, TColor FillColor,
                              TColor LineColor, TCellHAlign hal, TCellVAlign val) {
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctShape);
    graphic->SetCellAngle(Shape);
    graphic->SetCellIndex(static_cast<Integer>(FillColor));
    graphic->SetCellColor(LineColor);
    graphic->SetCellHAlign(hal);
    graphic->SetCellVAlign(val);
}

bool TAdvStringGrid::HasShape(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctShape});
}

void TAdvStringGrid::SetShapeColor(Integer ACol, Integer ARow, TColor FillColor) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic != nullptr && graphic->CellType() == ctShape)
        graphic->SetCellIndex(static_cast<Integer>(FillColor));
}

TColor TAdvStringGrid::GetShapeColor(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellType() != ctShape)
        return clNone;
    return static_cast<TColor>(graphic->CellIndex());
}

void TAdvStringGrid::RemoveShape(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctShape);
}

void TAdvStringGrid::AddRating(Integer ACol, Integer ARow, Integer Scale, TColor FillColor,
                               TColor EmptyColor) {
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctRating);
    graphic->SetCellAngle(Scale);
    graphic->SetCellIndex(static_cast<Integer>(FillColor));
    graphic->SetCellColor(EmptyColor);
    graphic->SetCellHAlign(haFull);
}

bool TAdvStringGrid::HasRating(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctRating});
}

void TAdvStringGrid::RemoveRating(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctRating);
}

bool TAdvStringGrid::DoRatingChange(Integer ACol, Integer ARow, double& NewRate) {
    bool allow = true;
    if (OnRatingChange)
        OnRatingChange(this, ACol, ARow, NewRate, allow);
    return allow;
}

// ---- In-cell scroll bars

void TAdvStringGrid::AddScrollBar(Integer ACol, Integer ARow, bool AutoRange) {
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctScrollbar);
    graphic->SetCellIndex(0);
    graphic->SetCellAngle(0);
    graphic->SetCellErrFrom(100);
    graphic->SetCellBoolean(AutoRange);
    if (AutoRange)
        CellTextChanged(ACol, ARow);
}

bool TAdvStringGrid::HasScrollBar(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctScrollbar});
}

bool TAdvStringGrid::HasAutoRangeScrollBar(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = BaseGraphicOfKind(*this, ACol, ARow, ctScrollbar);
    return graphic != nullptr && graphic->CellBoolean();
}

void TAdvStringGrid::SetScrollPosition(Integer ACol, Integer ARow, Integer Pos) {
    TCellGraphic* graphic = BaseGraphicOfKind(*this, ACol, ARow, ctScrollbar);
    if (graphic == nullptr)
        return;
    graphic->SetCellIndex(Pos);
    RepaintCell(ACol, ARow);
}

Integer TAdvStringGrid::GetScrollPosition(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = BaseGraphicOfKind(*this, ACol, ARow, ctScrollbar);
    return graphic != nullptr ? graphic->CellIndex() : -1;
}

void TAdvStringGrid::SetScrollProp(Integer ACol, Integer ARow, TScrollProp Prop) {
    TCellGraphic* graphic = BaseGraphicOfKind(*this, ACol, ARow, ctScrollbar);
    if (graphic == nullptr)
        return;
    graphic->SetCellAngle(Prop.PageSize);
    graphic->SetCellErrFrom(Prop.Range);
}

TScrollProp TAdvStringGrid::GetScrollProp(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = BaseGraphicOfKind(*this, ACol, ARow, ctScrollbar);
    if (graphic == nullptr)
        return TScrollProp{-1, -1};
    return TScrollProp{graphic->CellAngle(), graphic->CellErrFrom()};
}

void TAdvStringGrid::RemoveScrollBar(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctScrollbar);
}

void TAdvStringGrid::CellTextChanged(Integer ACol, Integer ARow) {
    TBaseGrid::CellTextChanged(ACol, ARow);
    if (!HasAutoRangeScrollBar(ACol, ARow) || ComponentState().Contains(csDestroying))
        return;
    // Text is measured on the grid's canvas, which a grid outside any window does not have: writing a
    // cell must not fail for that. The range then follows at the first change once there is a window.
    if (!HandleAllocated() && Parent() == nullptr)
        return;
    // The text wraps inside the cell beside the bar, so its height is what the bar scrolls over.
    SetScrollProp(ACol, ARow, TScrollProp{RowHeights(ARow), GetCellTextSize(ACol, ARow, true, true).cy});
}

// ---- Comments

void TAdvStringGrid::AddComment(Integer ACol, Integer ARow, const String& Comment) {
    AddColorComment(ACol, ARow, Comment, FControlLook->CommentColor());
}

void TAdvStringGrid::AddColorComment(Integer ACol, Integer ARow, const String& Comment, TColor Color) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    if (graphic == nullptr)
        graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellComment(Comment);
    graphic->SetCommentColor(Color);
}

void TAdvStringGrid::SetComment(Integer ACol, Integer ARow, const String& Value) {
    if (TCellGraphic* graphic = OwnCellGraphic(ACol, ARow))
        graphic->SetCellComment(Value);
    else
        AddComment(ACol, ARow, Value);
}

String TAdvStringGrid::GetComment(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    return graphic != nullptr ? graphic->CellComment() : String();
}

bool TAdvStringGrid::IsComment(Integer ACol, Integer ARow, String& comment) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    if (graphic == nullptr || graphic->CellComment().empty())
        return false;
    comment = graphic->CellComment();
    return true;
}

void TAdvStringGrid::RemoveComment(Integer ACol, Integer ARow) {
    if (TCellGraphic* graphic = OwnCellGraphic(ACol, ARow))
        graphic->SetCellComment(u"");
}

std::vector<TPoint> TAdvStringGrid::DisplayedCellsWithRecords() const {
    std::vector<TPoint> cells;
    ForEachObjectSlot(0, 0, TotalColCount() - 1, RowCount() - 1, [&](Integer c, Integer r, TObject*) {
        if (!IsHiddenColumn(c))
            cells.emplace_back(c, r);
    });
    return cells;
}

void TAdvStringGrid::RemoveAllComments() {
    for (const TPoint& cell : DisplayedCellsWithRecords())
        RemoveComment(cell.X, cell.Y);
    Invalidate();
}

// ---- Markers

void TAdvStringGrid::AddMarker(Integer ACol, Integer ARow, Integer ErrPos, Integer ErrLen) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    if (graphic == nullptr) {
        graphic = CreateCellGraphic(ACol, ARow);
        graphic->SetCellType(ctEmpty);
    }
    graphic->SetCellErrFrom(ErrPos);
    graphic->SetCellErrLen(ErrLen);
    RepaintCell(ACol, ARow);
}

void TAdvStringGrid::GetMarker(Integer ACol, Integer ARow, Integer& ErrPos, Integer& ErrLen) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    ErrPos = graphic != nullptr ? graphic->CellErrFrom() : 0;
    ErrLen = graphic != nullptr ? graphic->CellErrLen() : 0;
}

void TAdvStringGrid::RemoveMarker(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    if (graphic == nullptr)
        return;
    if (graphic->CellType() == ctEmpty) {
        SetGraphicObjectEx(ACol, ARow, nullptr);
        delete graphic;
        RepaintCell(ACol, ARow);
        return;
    }
    graphic->SetCellErrFrom(0);
    graphic->SetCellErrLen(0);
}

void TAdvStringGrid::RemoveAllMarkers() {
    for (const TPoint& cell : DisplayedCellsWithRecords())
        RemoveMarker(cell.X, cell.Y);
}

// ---- Balloons

void TAdvStringGrid::AddBalloon(Integer ACol, Integer ARow, const String& Title, const String& Text,
                                TBalloonIcon Icon) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    if (graphic != nullptr && !BalloonControlKinds.Contains(graphic->CellType()))
        return;
    auto texts = std::make_unique<TStringList>();
    texts->Add(Title);
    texts->Add(Text);
    if (graphic == nullptr) {
        graphic = CreateCellGraphic(ACol, ARow);
        graphic->SetCellType(ctBalloon);
        graphic->SetCellAngle(0);
    } else if (graphic->CellBalloon()) {
        delete graphic->CellBitmap();
    } else {
        // The control joins its balloon; its group, state and placement stay as they are.
        graphic->SetCellBalloon(true);
    }
    graphic->SetCellBitmap(texts.release());
    graphic->SetCellIndex(Icon);
}

bool TAdvStringGrid::HasBalloon(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctBalloon});
}

bool TAdvStringGrid::IsBalloon(Integer ACol, Integer ARow, String& Title, String& Text, TBalloonIcon& Icon) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    if (graphic == nullptr)
        return false;
    const bool carries = graphic->CellType() == ctBalloon ||
                         (BalloonControlKinds.Contains(graphic->CellType()) && graphic->CellBalloon());
    auto* texts = carries ? dynamic_cast<TStrings*>(graphic->CellBitmap()) : nullptr;
    if (texts == nullptr)
        return false;
    Title = texts->Count() > 0 ? texts->Strings(0) : String();
    Text = texts->Count() > 1 ? texts->Strings(1) : String();
    const Integer icon = graphic->CellIndex();
    Icon = icon >= biNone && icon <= biError ? static_cast<TBalloonIcon>(icon) : biNone;
    return true;
}

void TAdvStringGrid::RemoveBalloon(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = OwnCellGraphic(ACol, ARow);
    if (graphic == nullptr)
        return;
    if (BalloonControlKinds.Contains(graphic->CellType())) {
        if (graphic->CellBalloon()) {
            delete graphic->CellBitmap();
            graphic->SetCellBitmap(nullptr);
            graphic->SetCellBalloon(false);
        }
        return;
    }
    if (graphic->CellType() == ctBalloon)
        RemoveCellGraphic(ACol, ARow);
}
