// Highlighting and error-marking text inside cells with mini-HTML tags, their removal, and the cell
// check pass that runs the grid's checker over cells.
#include "grid/engine/AdvGrid.h"

#include "render/AsgHTMLE.h"

namespace {

const Char* const HilightTag = u"hi";
const Char* const ErrorTag = u"e";

} // namespace

// ---- Texts

String TAdvStringGrid::HilightText(bool DoCase, const String& S, const String& Text) {
    return MarkTextMatches(S, Text, HilightTag, false, DoCase);
}

String TAdvStringGrid::UnHilightText(const String& S) {
    return RemoveTextMarks(S, HilightTag);
}

String TAdvStringGrid::MarkText(bool DoCase, const String& S, const String& Text) {
    return MarkTextMatches(S, Text, ErrorTag, false, DoCase);
}

String TAdvStringGrid::UnMarkText(const String& S) {
    return RemoveTextMarks(S, ErrorTag);
}

// ---- Cell ranges

String TAdvStringGrid::MarkSourceText(Integer ACol, Integer ARow) {
    return OnGetDisplText ? GetCellEx(ACol, ARow) : GridCells(ACol, ARow);
}

void TAdvStringGrid::MarkCellRange(const String& HiText, const String& Tag, bool FullText, Integer FromCol,
                                   Integer FromRow, Integer ToCol, Integer ToRow, bool DoCase) {
    // A text may hold the search text with its entities written out ("a&amp;b" for "a&b"), so the
    // encoded form is looked for first. A cell with markup is compared as it shows, entities decoded,
    // and a plain cell shows its text as it is: there the search text as given is what matches, so it
    // is tried when the encoded form found nothing.
    const String encoded = EncodeHTMLEntities(HiText, false);
    for (Integer r = FromRow; r <= ToRow; ++r)
        for (Integer c = FromCol; c <= ToCol; ++c) {
            if (!IsBaseCell(c, r))
                continue;
            const String text = MarkSourceText(c, r);
            String marked = MarkTextMatches(text, encoded, Tag, FullText, DoCase);
            if (encoded != HiText && marked == RemoveTextMarks(text, Tag))
                marked = MarkTextMatches(text, HiText, Tag, FullText, DoCase);
            if (marked != text)
                SetCellEx(c, r, marked);
        }
}

void TAdvStringGrid::UnmarkCellRange(const String& Tag, Integer FromCol, Integer FromRow, Integer ToCol,
                                     Integer ToRow) {
    // Only the tags go: the entities of a cell that keeps other markup stay as they are, and a cell
    // without such tags is not written at all.
    for (Integer r = FromRow; r <= ToRow; ++r)
        for (Integer c = FromCol; c <= ToCol; ++c) {
            if (!IsBaseCell(c, r))
                continue;
            const String text = MarkSourceText(c, r);
            const String unmarked = RemoveTextMarks(text, Tag);
            if (unmarked != text)
                SetCellEx(c, r, unmarked);
        }
}

void TAdvStringGrid::HilightInCell(bool DoCase, Integer Col, Integer Row, const String& HiText,
                                   bool FullText) {
    MarkCellRange(HiText, HilightTag, FullText, Col, Row, Col, Row, DoCase);
}

void TAdvStringGrid::HilightInCol(bool DoFixed, bool DoCase, Integer Col, const String& HiText,
                                  bool FullText) {
    MarkCellRange(HiText, HilightTag, FullText, Col, RangeFirstRow(DoFixed), Col, RangeLastRow(DoFixed),
                  DoCase);
}

void TAdvStringGrid::HilightInRow(bool DoFixed, bool DoCase, Integer Row, const String& HiText,
                                  bool FullText) {
    MarkCellRange(HiText, HilightTag, FullText, RangeFirstCol(DoFixed), Row, RangeLastCol(DoFixed), Row,
                  DoCase);
}

void TAdvStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const String& HiText, bool FullText) {
    const Integer lastCol = RangeLastCol(DoFixed) + (DoFixed ? 0 : FNumHidden);
    MarkCellRange(HiText, HilightTag, FullText, RangeFirstCol(DoFixed), RangeFirstRow(DoFixed), lastCol,
                  RangeLastRow(DoFixed), DoCase);
}

void TAdvStringGrid::MarkInCell(bool DoCase, Integer Col, Integer Row, const String& HiText) {
    MarkCellRange(HiText, ErrorTag, false, Col, Row, Col, Row, DoCase);
}

void TAdvStringGrid::MarkInCol(bool DoFixed, bool DoCase, Integer Col, const String& HiText) {
    MarkCellRange(HiText, ErrorTag, false, Col, RangeFirstRow(DoFixed), Col, RangeLastRow(DoFixed), DoCase);
}

void TAdvStringGrid::MarkInRow(bool DoFixed, bool DoCase, Integer Row, const String& HiText) {
    MarkCellRange(HiText, ErrorTag, false, RangeFirstCol(DoFixed), Row, RangeLastCol(DoFixed), Row, DoCase);
}

void TAdvStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const String& HiText) {
    MarkCellRange(HiText, ErrorTag, false, RangeFirstCol(DoFixed), RangeFirstRow(DoFixed),
                  RangeLastCol(DoFixed), RangeLastRow(DoFixed), DoCase);
}

void TAdvStringGrid::UnHilightInCell(Integer Col, Integer Row) {
    UnmarkCellRange(HilightTag, Col, Row, Col, Row);
}

void TAdvStringGrid::UnHilightInCol(bool DoFixed, Integer Col) {
    UnmarkCellRange(HilightTag, Col, RangeFirstRow(DoFixed), Col, RangeLastRow(DoFixed));
}

void TAdvStringGrid::UnHilightInRow(bool DoFixed, Integer Row) {
    UnmarkCellRange(HilightTag, RangeFirstCol(DoFixed), Row, RangeLastCol(DoFixed) + FNumHidden, Row);
}

void TAdvStringGrid::UnHilightInGrid(bool DoFixed) {
    UnmarkCellRange(HilightTag, RangeFirstCol(DoFixed), RangeFirstRow(DoFixed),
                    RangeLastCol(DoFixed) + FNumHidden, RangeLastRow(DoFixed));
}

void TAdvStringGrid::UnMarkInCell(Integer Col, Integer Row) {
    UnmarkCellRange(ErrorTag, Col, Row, Col, Row);
}

void TAdvStringGrid::UnMarkInCol(bool DoFixed, Integer Col) {
    UnmarkCellRange(ErrorTag, Col, RangeFirstRow(DoFixed), Col, RangeLastRow(DoFixed));
}

void TAdvStringGrid::UnMarkInRow(bool DoFixed, Integer Row) {
    UnmarkCellRange(ErrorTag, RangeFirstCol(DoFixed), Row, RangeLastCol(DoFixed) + FNumHidden, Row);
}

void TAdvStringGrid::UnMarkInGrid(bool DoFixed) {
    UnmarkCellRange(ErrorTag, RangeFirstCol(DoFixed), RangeFirstRow(DoFixed),
                    RangeLastCol(DoFixed) + FNumHidden, RangeLastRow(DoFixed));
}

// ---- Cell checking

void TAdvStringGrid::SetCellChecker(TAdvStringGridCheck* Value) {
    if (FCellChecker == Value)
        return;
    if (FCellChecker != nullptr)
        FCellChecker->RemoveFreeNotification(this);
    FCellChecker = Value;
    if (FCellChecker != nullptr)
        FCellChecker->FreeNotification(this);
}

void TAdvStringGrid::GotoCheckedCell(Integer ACol, Integer ARow) {
    // Fixed cells and cells outside the grid cannot be current; the check goes on without moving.
    if (ACol < FixedCols() || ACol >= ColCount() || ARow < FixedRows() || ARow >= RowCount())
        return;
    SetRow(ARow);
    SetCol(ACol);
    ScrollInView(ACol, ARow, spMiddle);
}

bool TAdvStringGrid::CheckCell(Integer Col, Integer Row) {
    if (FCellChecker == nullptr)
        return true;
    const String orig = UnMarkText(Cells(Col, Row));
    if (FCellChecker->GotoCell())
        GotoCheckedCell(Col, Row);
    String text = orig;
    if (FCellChecker->UseCorrect())
        text = FCellChecker->Correct(Col, Row, text);
    if (FCellChecker->UseMarkError())
        text = FCellChecker->MarkError(Col, Row, text);
    SetCellEx(Col, Row, text);
    return text == orig;
}

bool TAdvStringGrid::CheckCells(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow) {
    if (FCellChecker == nullptr)
        return true;
    TAdvStringGridCheck* checker = FCellChecker;
    const Integer oldCol = Col();
    const Integer oldRow = Row();
    // The checker is stopped and, with GotoCell, the old cell made current again on every path.
    auto finish = [&] {
        checker->StopCheck();
        if (checker->GotoCell())
            GotoCheckedCell(oldCol, oldRow);
    };
    checker->StartCheck();
    bool all = true;
    try {
        for (Integer r = FromRow; r <= ToRow; ++r)
            for (Integer c = FromCol; c <= ToCol; ++c)
                if (!CheckCell(c, r))
                    all = false;
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return all;
}

bool TAdvStringGrid::CheckCol(bool DoFixed, Integer Col) {
    return CheckCells(Col, RangeFirstRow(DoFixed), Col, RangeLastRow(DoFixed));
}

bool TAdvStringGrid::CheckRow(bool DoFixed, Integer Row) {
    return CheckCells(RangeFirstCol(DoFixed), Row, RangeLastCol(DoFixed), Row);
}

bool TAdvStringGrid::CheckGrid(bool DoFixed) {
    return CheckCells(RangeFirstCol(DoFixed), RangeFirstRow(DoFixed), RangeLastCol(DoFixed),
                      RangeLastRow(DoFixed));
}
