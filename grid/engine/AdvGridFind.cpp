// Finding and replacing cell texts, the multi-column row search and the type-ahead search.
#include "grid/engine/AdvGrid.h"

#include <algorithm>

#include "grid/engine/AdvUtil.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysStrings.h"
#include "render/AsgHTMLE.h"

namespace {

// Upper-cases text into buffer as the locale's upper-casing does; plain ASCII, the usual case, without
// going through the locale, so that a walk over many cells allocates nothing.
StringView UpperInto(StringView text, String& buffer) {
    buffer.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c >= 0x80) {
            buffer = AnsiUpperCase(text);
            return buffer;
        }
        buffer[i] = c >= u'a' && c <= u'z' ? static_cast<Char>(c - (u'a' - u'A')) : c;
    }
    return buffer;
}

bool IsPlainAscii(StringView text) {
    Char any = 0;
    for (const Char c : text)
        any |= c;
    return any < 0x80;
}

// Whether plain ASCII text, upper-cased, holds the upper-cased needle at pos.
bool UpperHoldsAt(StringView text, size_t pos, StringView needle) {
    for (size_t i = 0; i < needle.size(); ++i) {
        const Char c = text[pos + i];
        if ((c >= u'a' && c <= u'z' ? static_cast<Char>(c - (u'a' - u'A')) : c) != needle[i])
            return false;
    }
    return true;
}

// One cell against the prepared search text of a find.
class FindMatcher {
public:
    FindMatcher(const String& search, TFindParams params)
        : FSearch(search), FMatchCase(params.Contains(fnMatchCase)),
          FStripTags(params.Contains(fnIgnoreHTMLTags)), FRegular(params.Contains(fnMatchRegular)),
          FMatchStart(params.Contains(fnMatchStart)), FMatchFull(params.Contains(fnMatchFull)),
          FEmptyCell(search == u"\"\""),
          FInPlace(!FMatchCase && !FRegular && !FEmptyCell && IsPlainAscii(search)) {}

    bool Match(StringView text) {
        if (FStripTags) {
            FStripped = MiniHTMLToPlainText(String(text));
            text = FStripped;
        }
        if (FInPlace && IsPlainAscii(text))
            return MatchInPlace(text);
        if (!FMatchCase)
            text = UpperInto(text, FUpper);
        if (FEmptyCell)
            return text.empty();
        if (FRegular)
            return MatchFilterExpr(FSearch, text, FMatchCase);
        if (FMatchFull)
            return text == FSearch;
        if (FMatchStart)
            return text.starts_with(FSearch);
        return text.find(FSearch) != StringView::npos;
    }

private:
    // The test of Match for a plain ASCII text and search, upper-casing the text as it is read rather
    // than into a copy.
    bool MatchInPlace(StringView text) const {
        if (text.size() < FSearch.size())
            return false;
        if (FMatchFull)
            return text.size() == FSearch.size() && UpperHoldsAt(text, 0, FSearch);
        if (FMatchStart)
            return UpperHoldsAt(text, 0, FSearch);
        for (size_t pos = 0; pos + FSearch.size() <= text.size(); ++pos)
            if (UpperHoldsAt(text, pos, FSearch))
                return true;
        return false;
    }

    const String& FSearch; // upper-cased unless fnMatchCase
    bool FMatchCase;
    bool FStripTags;
    bool FRegular;
    bool FMatchStart;
    bool FMatchFull;
    bool FEmptyCell; // two double quotes find the empty cell
    bool FInPlace;   // a case-blind plain search for plain ASCII: MatchInPlace serves ASCII texts
    String FStripped;
    String FUpper;
};

// Marks a find as running while it lives.
class BusyGuard {
public:
    explicit BusyGuard(bool& busy) : FBusy(busy) { FBusy = true; }
    ~BusyGuard() { FBusy = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& FBusy;
};

String SearchTypeToCondition(TSearchType type, const String& text) {
    const String value = text.find(u' ') != String::npos ? u"\"" + text + u"\"" : text;
    switch (type) {
    case stStartsWith:
        return value + u"*";
    case stEndsWith:
        return u"*" + value;
    case stContains:
        return u"*" + value + u"*";
    case stEqual:
        return value;
    case stNotEqual:
        return u"!" + value;
    case stNotContains:
        return u"!*" + value + u"*";
    }
    return value;
}

} // namespace

// ---- The walk

template <bool ReadOnly, class Hit>
void TAdvStringGrid::WalkFind(TPoint StartCell, TFindParams FindParams, Hit&& hit) {
    const bool backward = FindParams.Contains(fnBackward);
    const bool leftRight = FindParams.Contains(fnDirectionLeftRight);
    const bool hiddenRows = FindParams.Contains(fnIncludeHiddenRows);
    const bool hiddenCols = FindParams.Contains(fnIncludeHiddenColumns);

    // The range, in the walk's indexes.
    Integer c0, c1, r0, r1;
    if (FindParams.Contains(fnIncludeFixed)) {
        c0 = 0;
        c1 = ColCount() - 1;
        r0 = 0;
        r1 = RowCount() - 1;
    } else {
        c0 = FixedCols();
        c1 = ColCount() - FixedRightCols() - 1;
        r0 = FixedRows();
        r1 = RowCount() - FFixedFooters - 1;
    }
    if (FindParams.Contains(fnSelectedCells)) {
        const TGridRect selection = Selection();
        c0 = selection.Left;
        c1 = selection.Right;
        r0 = selection.Top;
        r1 = selection.Bottom;
    }
    if (hiddenCols)
        c1 += NumHiddenColumns();
    if (hiddenRows)
        r1 += NumHiddenRows();

    // The cell after the start cell in walking order: the next cell of its row (column), else the
    // first of the next row (column); past the range's end the walk starts over from its beginning.
    const Integer step = backward ? -1 : 1;
    Integer c = backward ? c1 : c0;
    Integer r = backward ? r1 : r0;
    if (StartCell.X != -1 || StartCell.Y != -1) {
        Integer inner = leftRight ? StartCell.X : StartCell.Y;
        Integer outer = leftRight ? StartCell.Y : StartCell.X;
        const Integer innerFirst = leftRight ? (backward ? c1 : c0) : (backward ? r1 : r0);
        const Integer innerLow = leftRight ? c0 : r0;
        const Integer innerHigh = leftRight ? c1 : r1;
        const Integer outerLow = leftRight ? r0 : c0;
        const Integer outerHigh = leftRight ? r1 : c1;
        inner += step;
        if (inner < innerLow || inner > innerHigh) {
            inner = innerFirst;
            outer += step;
        }
        if (outer >= outerLow && outer <= outerHigh) {
            c = leftRight ? inner : outer;
            r = leftRight ? outer : inner;
        }
    }
    if (FindParams.Contains(fnFindInCurrentRow))
        r0 = r1 = r = Row();
    if (FindParams.Contains(fnFindInPresetRow))
        r0 = r1 = r = FFindRow;
    if (FindParams.Contains(fnFindInCurrentCol))
        c0 = c1 = c = Col();
    if (FindParams.Contains(fnFindInPresetCol))
        c0 = c1 = c = FFindCol;
    if (c0 > c1 || r0 > r1 || c0 < 0 || r0 < 0)
        return;

    // Columns are mapped once per walk.
    std::vector<Integer> stored(static_cast<size_t>(c1 - c0 + 1));
    for (Integer i = c0; i <= c1; ++i)
        stored[static_cast<size_t>(i - c0)] = hiddenCols ? i : RealColIndex(i);

    // A cell is read in place unless something may change its text on the way out: the display-text
    // events and the URL anchors. A hidden row is read from its record.
    const bool inPlace = !hiddenRows && DisplayTextIsStored();
    auto viewOf = [this](Integer storedCol, Integer row) { return BaseCellView(storedCol, row); };
    String copy;
    auto visit = [&](Integer col, Integer row) -> bool {
        ExportNotification(esExportNextRow, row);
        const Integer storedCol = stored[static_cast<size_t>(col - c0)];
        StringView text;
        if (inPlace) {
            text = viewOf(storedCol, row);
        } else {
            copy = hiddenRows ? GetCellsEx(storedCol, row) : GetCellEx(storedCol, row);
            text = copy;
        }
        return hit(col, row, storedCol, text);
    };

    // Down a column every cell lies in another row's storage. A read-only walk reads a run of rows
    // first, so that the memory reads of many rows overlap, then tests them in order; a walk that
    // writes cannot, since a write may move the text a view of the run points into.
    if (!leftRight && ReadOnly && inPlace) {
        constexpr Integer Run = 32;
        StringView views[Run];
        for (bool first = true; c >= c0 && c <= c1; c += step, first = false) {
            const Integer storedCol = stored[static_cast<size_t>(c - c0)];
            Integer row = first ? r : (backward ? r1 : r0);
            while (row >= r0 && row <= r1) {
                const Integer left = backward ? row - r0 + 1 : r1 - row + 1;
                const Integer count = std::min(Run, left);
                for (Integer i = 0; i < count; ++i) {
                    views[i] = viewOf(storedCol, row + i * step);
                    __builtin_prefetch(views[i].data());
                }
                for (Integer i = 0; i < count; ++i, row += step) {
                    ExportNotification(esExportNextRow, row);
                    if (!hit(c, row, storedCol, views[i]))
                        return;
                }
            }
        }
        return;
    }

    if (leftRight) {
        for (bool first = true; r >= r0 && r <= r1; r += step, first = false) {
            for (Integer col = first ? c : (backward ? c1 : c0); col >= c0 && col <= c1; col += step) {
                if (IsIgnoredColumn(col))
                    continue;
                if (!visit(col, r))
                    return;
            }
        }
    } else {
        for (bool first = true; c >= c0 && c <= c1; c += step, first = false) {
            for (Integer row = first ? r : (backward ? r1 : r0); row >= r0 && row <= r1; row += step)
                if (!visit(c, row))
                    return;
        }
    }
}

TPoint TAdvStringGrid::FindCore(TPoint StartCell, const String& s, TFindParams FindParams) {
    TPoint result{-1, -1};
    FFindParams = FindParams;
    BusyGuard busy(FFindBusy);
    // Upper-cased once for the whole walk.
    SearchCache = FindParams.Contains(fnMatchCase) ? s : AnsiUpperCase(s);
    if (ColCount() == FixedCols() || RowCount() + NumHiddenRows() == FixedRows())
        return result;
    const Integer startRow = Row();
    FindMatcher matcher(SearchCache, FindParams);
    WalkFind<true>(StartCell, FindParams, [&](Integer col, Integer row, Integer, StringView text) {
        if (!matcher.Match(text))
            return true;
        result = TPoint{col, row};
        return false;
    });
    if (result.X == -1) {
        ExportNotification(esExportNewRow, startRow);
        return result;
    }
    FSearchCell = result;
    if (FindParams.Contains(fnAutoGoto))
        GotoFoundCell(result.X, result.Y, FindParams);
    return result;
}

void TAdvStringGrid::GotoFoundCell(Integer ACol, Integer ARow, TFindParams FindParams) {
    if (FindParams.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0) {
        // A row under collapsed nodes is shown by expanding them; a row hidden otherwise stays hidden
        // and its displayed place becomes current.
        if (FNumNodes > 0)
            for (Integer node = NodeRowForHiddenRow(ARow); node != -1; node = NodeRowForHiddenRow(ARow))
                ExpandNode(node);
        ARow = DisplRowIndex(ARow);
    }
    if (FindParams.Contains(fnIncludeHiddenColumns))
        ACol = DisplColIndex(ACol);
    ARow = std::clamp(ARow, 0, RowCount() - 1);
    ACol = std::clamp(ACol, 0, ColCount() - 1);
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelectAll();
        SetRowSelect(ARow, true);
    }
    if (ARow >= FixedRows())
        SetRow(ARow);
    if (ACol >= FixedCols())
        SetCol(ACol);
}

Integer TAdvStringGrid::NodeRowForHiddenRow(Integer ARow) {
    if (!IsHiddenRow(ARow))
        return -1;
    // A collapsed node hides every row of its block, so the shown row just above a hidden one is its
    // node when the row lies in that node's block.
    const Integer above = DisplRowIndex(ARow) - 1;
    if (above < FixedRows() || above >= RowCount() || !IsNode(above) || !GetNodeState(above))
        return -1;
    const Integer node = RealRowIndex(above);
    const Integer span = GetNodeSpan(above);
    return span > 0 && ARow <= node + span - 1 ? node : -1;
}

// ---- Find and replace

TPoint TAdvStringGrid::Find(TPoint StartCell, const String& s, TFindParams FindParams) {
    if (StartCell.X == -1 && StartCell.Y == -1)
        ExportNotification(esExportStart, -1);
    TPoint result;
    BeginUpdate();
    try {
        result = FindCore(StartCell, s, FindParams);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (FindParams.Contains(fnAutoGoto) && result.X != -1) {
        if (FMouseActions->DisjunctCellSelect())
            SelectCells(Col(), Row(), Col(), Row());
        // Keeps the found row clear of the bottom of the view (and of a floating footer).
        const Integer f = FFloatingFooter->Visible() ? 2 : 0;
        if (Row() > TopRow() + VisibleRowCount() - f - 2 && VisibleRowCount() + FixedRows() + f < RowCount())
            SetTopRow(TopRow() + f + 1);
    }
    // The notifications keep the meaning descendants have always read in them.
    ExportNotification(result.X == -1 ? esExportDone : esExportFail, -1);
    return result;
}

TPoint TAdvStringGrid::FindWide(TPoint StartCell, const String& s, TFindParams FindParams) {
    ExportNotification(esExportStart, -1);
    const TPoint result = FindCore(StartCell, s, FindParams);
    ExportNotification(result.X == -1 ? esExportDone : esExportFail, -1);
    return result;
}

TPoint TAdvStringGrid::FindFirst(const String& s, TFindParams FindParams) {
    FSearchCell = Find(TPoint{-1, -1}, s, FindParams);
    return FSearchCell;
}

TPoint TAdvStringGrid::FindNext() {
    // SearchCache is upper-cased already unless fnMatchCase, and upper-casing twice changes nothing.
    FSearchCell = Find(FSearchCell, SearchCache, FFindParams);
    return FSearchCell;
}

Integer TAdvStringGrid::Replace(const String& OrigStr, const String& NewStr, TFindParams FindParams) {
    // One walk over the range: a new text holding the old one is never found again, and the walk does
    // not start over at its end.
    const bool hiddenRows = FindParams.Contains(fnIncludeHiddenRows);
    const TReplaceFlags flags = FindParams.Contains(fnMatchCase) ? TReplaceFlags(rfReplaceAll)
                                                                 : TReplaceFlags{rfReplaceAll, rfIgnoreCase};
    FFindParams = FindParams;
    SearchCache = FindParams.Contains(fnMatchCase) ? OrigStr : AnsiUpperCase(OrigStr);
    if (ColCount() == FixedCols() || RowCount() + NumHiddenRows() == FixedRows())
        return 0;
    BusyGuard busy(FFindBusy);
    BeginUpdate();
    Integer count = 0;
    TPoint last{-1, -1};
    try {
        FindMatcher matcher(SearchCache, FindParams);
        WalkFind<false>(
            TPoint{-1, -1}, FindParams, [&](Integer col, Integer row, Integer storedCol, StringView text) {
                if (!matcher.Match(text))
                    return true;
                const String old = hiddenRows ? GetCellsEx(storedCol, row) : GetCellEx(storedCol, row);
                const String changed = StringReplace(old, OrigStr, NewStr, flags);
                if (changed == old)
                    return true;
                if (hiddenRows)
                    SetCellsEx(storedCol, row, changed);
                else
                    SetCellEx(storedCol, row, changed);
                // Flags belong to displayed rows: a row that stays hidden has none to set.
                if (FShowModified->Enabled() && !(hiddenRows && IsHiddenRow(row)))
                    SetRowModified(hiddenRows ? DisplRowIndex(row) : row, true);
                last = TPoint{col, row};
                ++count;
                return true;
            });
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (last.X != -1) {
        FSearchCell = last;
        if (FindParams.Contains(fnAutoGoto))
            GotoFoundCell(last.X, last.Y, FindParams);
    }
    return count;
}

// ---- The multi-column row search

Integer TAdvStringGrid::FindMulti(const std::vector<String>& Conditions, const std::vector<Integer>& Columns,
                                  const std::vector<TSearchType>& Searchtypes,
                                  const std::vector<bool>& CaseSensitive, bool AutoGoto) {
    if (Columns.size() != Conditions.size() || Searchtypes.size() != Conditions.size() ||
        CaseSensitive.size() != Conditions.size())
        throw Exception(u"Array size of parameters not matching");
    FConditions.clear();
    for (size_t i = 0; i < Conditions.size(); ++i)
        FConditions.push_back(SearchTypeToCondition(Searchtypes[i], Conditions[i]));
    FColumns = Columns;
    FCase = CaseSensitive;
    FSearchCell = TPoint{0, -1};
    for (Integer r = FixedRows(); r < RowCount() - FFixedFooters; ++r) {
        if (!RowMatchesMulti(r))
            continue;
        FSearchCell = TPoint{0, r};
        if (AutoGoto)
            SetRow(r);
        return r;
    }
    return -1;
}

Integer TAdvStringGrid::FindMultiNext() {
    for (Integer r = std::max(FSearchCell.Y + 1, 0); r < RowCount() - FFixedFooters; ++r) {
        if (RowMatchesMulti(r)) {
            FSearchCell = TPoint{0, r};
            return r;
        }
    }
    return -1;
}

bool TAdvStringGrid::RowMatchesMulti(Integer ARow) {
    for (size_t i = 0; i < FConditions.size(); ++i)
        if (!MatchFilterTerm(FConditions[i], Cells(FColumns[i], ARow), FCase[i]))
            return false;
    return true;
}

// ---- Type-ahead

Integer TAdvStringGrid::Search(const String& s) {
    if (RowCount() < 2)
        return -1;
    // FIXME: the sort settings hold no sort indicator yet, so the type-ahead reads the first normal
    // column, as it does while no sort indicator shows.
    const Integer column = FixedCols();
    String upper;
    for (Integer r = FixedRows(); r < RowCount(); ++r) {
        const String text = GetStrippedCell(column, r);
        if (UpperInto(StringView(text).substr(0, std::min(text.size(), s.size())), upper) == s)
            return r;
    }
    return -1;
}

void TAdvStringGrid::TypeAheadKey(Char Key) {
    if (Options().Contains(goEditing) || !FNavigation->AutoGotoWhenSorted())
        return;
    if (FNavigation->AutoGotoIncremental()) {
        if (Key == 8) {
            if (!SearchInc.empty())
                SearchInc.pop_back();
        } else {
            SearchInc += Key;
        }
    } else {
        SearchInc = String(1, Key);
    }
    // The grid timer forgets the text a while after the last key that changed it.
    SearchTics = 0;
    const Integer row = Search(AnsiUpperCase(SearchInc));
    if (row == -1)
        SearchInc.clear();
    else
        SetRow(row);
}
