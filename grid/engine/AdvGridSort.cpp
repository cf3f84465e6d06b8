// Sorting the grid's rows: comparing two rows by a column under a sort style, ordering the data rows by
// one column or by a list of columns, and returning to the order from before the sorts.
//
// A sort first orders a list of row indexes with a stable merge sort while every row stays where it is,
// so that the cells can be read in place and each cell's text converted once; only then do the rows move,
// each at most once, through SortSwapRows.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <new>
#include <numeric>
#include <optional>
#include <type_traits>
#include <typeinfo>

#include "grid/engine/AdvUtil.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysStrings.h"

namespace {

// What style detection and the blank rule need of a cell, found once per sort.
enum CellFlag : std::uint16_t {
    cfKnown = 1,
    cfNumber = 2,       // an integer, decimal or exponent number
    cfCheckBox = 4,     // the cell holds a check box of any kind
    cfDatePlace = 8,    // the date separator stands at position 2 or 3, not last
    cfDateDigits = 16,  // ... with a digit on either side
    cfHasDateSep = 32,  // the date separator stands anywhere
    cfHasTimeSep = 64,  // the time separator stands anywhere
    cfTimeLike = 128,   // the time separator stands at position 2 or 3, not last, between digits
    cfShownEmpty = 256, // the displayed text is empty
};

struct CellFacts {
    StringView text; // the text compared, in the grid or in the cache's own copy
    std::uint16_t flags = 0;
};

// A cell's text as a number for one prefix, suffix and separator rule.
struct NumberFacts {
    double value = 0;
    bool known = false;
    bool failed = false; // the conversion stopped early; value holds the digits read
    bool empty = false;  // nothing was left once prefix, suffix and separators were removed
};

// A row as the merge sort carries it: the sort column's facts and number travel with the row, so that
// comparing two items reads no memory but theirs.
// Kept small and without initialisers: a million of them are made, and the merge buffer is left
// uninitialised.
struct SortItem {
    const Char* text;
    std::uint32_t length;
    Integer row;
    // A number cell carries its value; any other its first characters, so that most text comparisons
    // decide without reading the text where it is stored.
    union {
        double number; // the cell as a number without prefix or suffix
        Char head[4];
    };
    std::uint16_t flags; // the cell's CellFlag bits
    std::uint8_t bits;   // HasNumber, NumberFailed, NumberEmpty

    static constexpr std::uint8_t HasNumber = 1;
    static constexpr std::uint8_t NumberFailed = 2;
    static constexpr std::uint8_t NumberEmpty = 4;
    CellFacts Facts() const { return CellFacts{StringView(text, length), flags}; }
    NumberFacts Number() const {
        return NumberFacts{number, true, (bits & NumberFailed) != 0, (bits & NumberEmpty) != 0};
    }
};

// The kinds of converted values a column may need.
enum DateKind { dkDateTime, dkDayFirst, dkMonthFirst, dkTime, DateKinds };
enum CopyKind { ckStripped, ckText, CopyKinds };

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

Integer Sign(Integer value) {
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

template <class T> Integer CompareValues(T a, T b) {
    return a > b ? 1 : a < b ? -1 : 0;
}

// Ordinal comparison of two items' texts, starting from their heads.
Integer CompareItemTexts(const SortItem& a, const SortItem& b) {
    const std::uint32_t shorter = std::min(a.length, b.length);
    const std::uint32_t n = std::min<std::uint32_t>(shorter, 4);
    for (std::uint32_t i = 0; i < n; ++i)
        if (a.head[i] != b.head[i])
            return a.head[i] < b.head[i] ? -1 : 1;
    if (n < 4)
        return CompareValues(a.length, b.length);
    return Sign(StringView(a.text, a.length).compare(StringView(b.text, b.length)));
}

// Ordinal comparison with a to z taken as A to Z, without making upper-cased copies.
Integer CompareUpperAZ(StringView a, StringView b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        Char x = a[i];
        Char y = b[i];
        if (x >= u'a' && x <= u'z')
            x = static_cast<Char>(x - 32);
        if (y >= u'a' && y <= u'z')
            y = static_cast<Char>(y - 32);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return CompareValues(a.size(), b.size());
}

// The separator test of automatic style detection: at 1-based position 2 or 3 and not the last
// character.
bool SeparatorInPlace(StringView text, size_t pos0) {
    const size_t p = pos0 + 1;
    return pos0 != StringView::npos && p >= 2 && p < text.size() && p < 4;
}

// Sorts items stably by less: insertion sort of short runs, then merges of runs, every index checked
// against its run's bounds, so that a comparison that contradicts itself can misorder items but never
// reach outside the list. O(n log n) comparisons in every case.
template <class T, class Less> void StableSort(T* items, size_t n, T* buffer, Less less) {
    constexpr size_t run = 16;
    for (size_t start = 0; start < n; start += run) {
        const size_t end = std::min(n, start + run);
        for (size_t i = start + 1; i < end; ++i) {
            T item = items[i];
            size_t j = i;
            while (j > start && less(item, items[j - 1])) {
                items[j] = items[j - 1];
                --j;
            }
            items[j] = item;
        }
    }
    if (n <= run)
        return;
    T* from = items;
    T* to = buffer;
    for (size_t width = run; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(n, lo + width);
            const size_t hi = std::min(n, lo + 2 * width);
            size_t i = lo;
            size_t j = mid;
            size_t k = lo;
            // Runs already in order (as in presorted data) are copied after one comparison.
            if (j < hi && !less(from[j], from[j - 1])) {
                std::copy(from + lo, from + hi, to + lo);
                continue;
            }
            while (i < mid && j < hi)
                to[k++] = less(from[j], from[i]) ? from[j++] : from[i++];
            k = static_cast<size_t>(std::copy(from + i, from + mid, to + k) - to);
            std::copy(from + j, from + hi, to + k);
        }
        std::swap(from, to);
    }
    if (from != items)
        std::copy(from, from + n, items);
}

// As above with a merge buffer of its own.
template <class T, class Less> void StableSort(std::vector<T>& items, Less less) {
    std::unique_ptr<T[]> buffer(items.size() > 16 ? new T[items.size()] : nullptr);
    StableSort(items.data(), items.size(), buffer.get(), less);
}

// How every comparison of a sort's key column turns out, when one rule decides them all.
enum KeyKind {
    kkMixed,       // the full comparison decides each pair
    kkNumbers,     // every cell a number that converted without failure
    kkTexts,       // ordinal comparison of the texts
    kkTextsNoCase, // ordinal comparison with a to z taken as A to Z
};

// The compact items of a sort whose key column is compared by one rule: a fraction of a SortItem's
// size, so that the merges move less and the comparison reads only the two keys.
struct NumberKey {
    double value;
    Integer row;
};

struct TextKey {
    std::uint64_t head; // the first four characters, the first in the high bits, zeros past the end
    const Char* text;
    std::uint32_t length;
    Integer row;
};

Char UpperAZ(Char c) {
    return c >= u'a' && c <= u'z' ? static_cast<Char>(c - 32) : c;
}

template <bool NoCase> TextKey MakeTextKey(const SortItem& item) {
    std::uint64_t head = 0;
    for (std::uint32_t i = 0; i < 4; ++i) {
        const Char c = i < item.length ? item.text[i] : Char();
        head = head << 16 | (NoCase ? UpperAZ(c) : c);
    }
    return TextKey{head, item.text, item.length, item.row};
}

// The texts' comparison from their heads: zeros past a text's end order a shorter text first, as the
// ordinal comparison does; equal heads leave the rest (from the shorter length up to four on) to decide.
template <bool NoCase> Integer CompareTextKeys(const TextKey& a, const TextKey& b) {
    if (a.head != b.head)
        return a.head < b.head ? -1 : 1;
    const std::uint32_t from = std::min<std::uint32_t>(4, std::min(a.length, b.length));
    const StringView rest1(a.text + from, a.length - from);
    const StringView rest2(b.text + from, b.length - from);
    if constexpr (NoCase)
        return CompareUpperAZ(rest1, rest2);
    else
        return Sign(rest1.compare(rest2));
}

// Orders keys as the merge sort orders the items, one counted comparison of the key column per pair,
// ties of the key column going to tieBreak(row1, row2); answers the rows in their new order.
// The count goes to compares also when a tie-break raises. buffer holds n keys more.
template <Integer direction, class Key, class CompareKeys, class TieBreak>
std::vector<Integer> SortKeys(Key* keys, size_t n, Key* buffer, Integer& compares, CompareKeys compareKeys,
                              TieBreak tieBreak) {
    Integer counted = 0;
    struct Count {
        Integer& compares;
        Integer& counted;
        ~Count() { compares += counted; }
    } count{compares, counted};
    StableSort(keys, n, buffer, [&](const Key& a, const Key& b) {
        ++counted;
        const Integer result = compareKeys(a, b);
        if (result != 0)
            return direction * result < 0;
        return direction * tieBreak(a.row, b.row) < 0;
    });
    std::vector<Integer> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = keys[i].row;
    return order;
}

} // namespace

// ---- The cell facts of one sort

// Everything a sort reads of its cells, found on first need and kept while no row moves: the texts as
// views (copies only where the displayed text is not the stored one), the detection flags, and each
// conversion a comparison asked for. It covers the rows of one range, or just two rows for a
// comparison made outside a sort.
class TAdvStringGrid::TSortCache {
public:
    TSortCache(TAdvStringGrid& grid, Integer first, Integer last)
        : FGrid(grid), FFirst(first), FCount(static_cast<size_t>(last - first + 1)) {
        Init();
    }
    // Only the two rows.
    TSortCache(TAdvStringGrid& grid, Integer row1, Integer row2, bool /*pair*/)
        : FGrid(grid), FFirst(row1), FSecond(row2), FPair(true), FCount(2) {
        Init();
    }

    bool Covers(Integer row) const {
        if (FPair)
            return row == FFirst || row == FSecond;
        return row >= FFirst && static_cast<size_t>(row - FFirst) < FCount;
    }

    // One comparison of CompareRows; items, when given, carry the key column's facts.
    Integer Compare(Integer ACol, Integer ARow1, Integer ARow2, TSortDirection Direction,
                    const SortItem* item1, const SortItem* item2);

    // The items of every covered row for the key column, in row order.
    std::vector<SortItem> Items(Integer keyCol) {
        FKeyCol = keyCol;
        std::vector<SortItem> items;
        items.reserve(FCount);
        Column& column = At(keyCol);
        CellFacts facts;
        // Cells that leave the numbers' or the texts' single rule.
        std::uint16_t seen = 0;
        bool numbersClean = true;
        for (size_t i = 0; i < FCount; ++i) {
            const Integer row = FFirst + static_cast<Integer>(i);
            Learn(column, facts, keyCol, row);
            SortItem item;
            item.text = facts.text.data();
            item.length = static_cast<std::uint32_t>(facts.text.size());
            item.row = row;
            item.flags = facts.flags;
            if ((facts.flags & cfNumber) != 0) {
                const NumberFacts number = Convert(facts, String(), String(), false);
                item.number = number.value;
                item.bits = static_cast<std::uint8_t>(SortItem::HasNumber |
                                                      (number.failed ? SortItem::NumberFailed : 0) |
                                                      (number.empty ? SortItem::NumberEmpty : 0));
                numbersClean = numbersClean && !number.failed && !number.empty;
            } else {
                for (size_t k = 0; k < 4; ++k)
                    item.head[k] = k < facts.text.size() ? facts.text[k] : Char();
                item.bits = 0;
                numbersClean = false;
            }
            seen |= facts.flags;
            items.push_back(item);
        }
        FKeyKind = KindOf(seen, numbersClean);
        return items;
    }

    // The one rule that decides every comparison of the key column's items, as found by Items: only
    // when OnGetFormat can change nothing (no handler, DoGetFormat not overridden), no column is
    // ignored, and no cell could turn the automatic style to check boxes, numbers, dates or times.
    KeyKind KeyColumnKind() const { return FKeyKind; }

    // The key column's comparison when OnGetFormat can change nothing (no handler, DoGetFormat not
    // overridden) and both items carry a number that decides it as CompareRows would: the answer of
    // Compare without its per-comparison set-up. Answers false when Compare has to decide.
    bool CompareNumbers(const SortItem& a, const SortItem& b, TSortDirection Direction, Integer& result) {
        if (!FNumbersDecide || (a.bits & b.bits & SortItem::HasNumber) == 0 ||
            (FStyle == ssAutomatic && (a.flags & cfCheckBox) != 0))
            return false;
        ++FGrid.Compares;
        const bool failed1 = (a.bits & SortItem::NumberFailed) != 0;
        const bool failed2 = (b.bits & SortItem::NumberFailed) != 0;
        result = failed1 && failed2 ? 0 : CompareValues(a.number, b.number);
        const bool empty1 = (a.bits & SortItem::NumberEmpty) != 0;
        const bool empty2 = (b.bits & SortItem::NumberEmpty) != 0;
        if (FIgnoreBlanks && empty1 != empty2) {
            result = empty1 ? -1 : 1;
            if (FBlankLast)
                result = -result;
            if (Direction == sdDescending)
                result = -result;
        }
        return true;
    }

    const CellFacts& Facts(Integer col, Integer row) {
        Column& column = At(col);
        if (column.facts.empty())
            column.facts.resize(FCount);
        CellFacts& facts = column.facts[Slot(row)];
        if ((facts.flags & cfKnown) == 0)
            Learn(column, facts, col, row);
        return facts;
    }

    NumberFacts Number(Integer col, Integer row, const String& prefix, const String& suffix, bool financial,
                       const CellFacts& known) {
        Column& column = At(col);
        NumberColumn* numbers = nullptr;
        for (NumberColumn& candidate : column.numbers)
            if (candidate.financial == financial && candidate.prefix == prefix &&
                candidate.suffix == suffix) {
                numbers = &candidate;
                break;
            }
        if (numbers == nullptr) {
            column.numbers.push_back(
                NumberColumn{prefix, suffix, financial, std::vector<NumberFacts>(FCount)});
            numbers = &column.numbers.back();
        }
        NumberFacts& facts = numbers->cells[Slot(row)];
        if (!facts.known)
            facts = Convert(known, prefix, suffix, financial);
        return facts;
    }

    double Date(Integer col, Integer row, DateKind kind, const CellFacts& known) {
        std::vector<double>& values = At(col).dates[kind];
        if (values.empty())
            values.assign(FCount, std::numeric_limits<double>::quiet_NaN());
        double& value = values[Slot(row)];
        if (std::isnan(value))
            value = ConvertDate(known.text, kind);
        return value;
    }

    const String& Copy(Integer col, Integer row, CopyKind kind, const CellFacts& known) {
        Column& column = At(col);
        std::vector<String>& texts = column.copies[kind];
        std::vector<bool>& copied = column.copied[kind];
        if (texts.empty()) {
            texts.resize(FCount);
            copied.assign(FCount, false);
        }
        const size_t slot = Slot(row);
        if (!copied[slot]) {
            texts[slot] = kind == ckStripped ? FGrid.GetStrippedCell(col, row) : String(known.text);
            copied[slot] = true;
        }
        return texts[slot];
    }

private:
    struct NumberColumn {
        String prefix;
        String suffix;
        bool financial = false;
        std::vector<NumberFacts> cells;
    };
    struct Column {
        std::vector<CellFacts> facts;
        std::deque<String> shown; // displayed texts that are not the stored ones
        std::vector<NumberColumn> numbers;
        std::vector<double> dates[DateKinds]; // NaN until converted
        std::vector<String> copies[CopyKinds];
        std::vector<bool> copied[CopyKinds];
    };

    void Init() {
        const TSortSettings& settings = *FGrid.FSortSettings;
        FStyle = ssAutomatic;
        if (!settings.AutoFormat())
            FStyle = settings.IgnoreCase() ? ssAlphaNoCase : settings.DefaultFormat();
        // Only the grid's own DoGetFormat is known to answer nothing without a handler.
        const bool formatFixed = !FGrid.OnGetFormat && typeid(FGrid) == typeid(TAdvStringGrid);
        FFormatFixed = formatFixed && FGrid.FIgnoreColumns->Count() == 0;
        FIgnoreCase = settings.IgnoreCase();
        FNumbersDecide = formatFixed && FGrid.FIgnoreColumns->Count() == 0 &&
                         (FStyle == ssAutomatic || FStyle == ssNumeric || FStyle == ssAlphaNumeric ||
                          FStyle == ssAlphaNumericNoCase);
        FIgnoreBlanks = settings.IgnoreBlanks();
        FBlankLast = settings.BlankPos() == blLast;
        FVirtual = settings.SortOnVirtualCells();
        FHotmail = FGrid.FMouseActions->HotmailRowSelect();
        // Without these the displayed text of a cell without a record is its stored text.
        FDisplayHooks = static_cast<bool>(FGrid.OnGetDisplText) ||
                        static_cast<bool>(FGrid.OnGetDisplWideText) || FGrid.FURLShowInText;
        FDateSep = GetDateSeparator();
        FTimeSep = GetTimeSeparator();
        FThousandSep = GetThousandSeparator();
        FDecimalSep = GetDecimalSeparator();
    }

    KeyKind KindOf(std::uint16_t seen, bool numbersClean) const {
        if (!FFormatFixed)
            return kkMixed;
        if (FNumbersDecide && numbersClean && (seen & cfCheckBox) == 0)
            return kkNumbers;
        const bool numbers = (seen & cfNumber) != 0;
        switch (FStyle) {
        case ssAlphabetic:
        case ssAlphaCase:
            return kkTexts;
        case ssAlphaNoCase:
            return kkTextsNoCase;
        case ssAlphaNumeric:
            return numbers ? kkMixed : kkTexts;
        case ssAlphaNumericNoCase:
            return numbers ? kkMixed : kkTextsNoCase;
        case ssAutomatic:
            if ((seen & (cfCheckBox | cfNumber | cfDatePlace | cfTimeLike)) != 0)
                return kkMixed;
            return FIgnoreCase ? kkTextsNoCase : kkTexts;
        default:
            return kkMixed;
        }
    }

    size_t Slot(Integer row) const {
        if (FPair)
            return row == FFirst ? 0 : 1;
        return static_cast<size_t>(row - FFirst);
    }

    // Columns below 0 read as empty cells; they share slot 0.
    Column& At(Integer col) {
        const size_t index = col < 0 ? 0 : static_cast<size_t>(col) + 1;
        if (index >= FColumns.size())
            FColumns.resize(index + 1);
        std::unique_ptr<Column>& column = FColumns[index];
        if (!column) {
            column = std::make_unique<Column>();
        }
        return *column;
    }

    void Learn(Column& column, CellFacts& facts, Integer col, Integer row) {
        // A cell with a record may be part of a merged block, which shows its base cell's text.
        const TCellProperties* record = FGrid.AssignedProps(col, row);
        const bool differs = col >= 0 && (FDisplayHooks || record != nullptr);
        String shown;
        if (differs)
            shown = FGrid.Cells(col, row);
        StringView text;
        bool shownEmpty = false;
        if (FVirtual && differs) {
            column.shown.push_back(std::move(shown));
            text = column.shown.back();
            shownEmpty = text.empty();
        } else {
            text = FGrid.CellView(col, row);
            shownEmpty = differs ? shown.empty() : text.empty();
        }
        std::uint16_t flags = cfKnown;
        if (shownEmpty)
            flags |= cfShownEmpty;
        // A cell object lives in the cell's record; column 0 may stand for a shared row check box.
        if (record != nullptr || (col == 0 && FHotmail)) {
            const TCellType type = FGrid.GetCellType(col, row);
            if (type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox ||
                type == ctRowCheckBox)
                flags |= cfCheckBox;
        }
        const Integer kind = NumberTextKind(text);
        if (kind == NumberKindInteger || kind == NumberKindDecimal || kind == NumberKindExponent)
            flags |= cfNumber;
        const size_t date = text.find(FDateSep);
        const size_t time = text.find(FTimeSep);
        if (date != StringView::npos)
            flags |= cfHasDateSep;
        if (time != StringView::npos)
            flags |= cfHasTimeSep;
        if (SeparatorInPlace(text, date)) {
            flags |= cfDatePlace;
            if (IsDigit(text[date - 1]) && IsDigit(text[date + 1]))
                flags |= cfDateDigits;
        }
        if (SeparatorInPlace(text, time) && IsDigit(text[time - 1]) && IsDigit(text[time + 1]))
            flags |= cfTimeLike;
        facts.text = text;
        facts.flags = flags;
    }

    NumberFacts Convert(const CellFacts& facts, const String& prefix, const String& suffix, bool financial) {
        // A text that needs no change is read where it is; otherwise through the scratch text, which keeps
        // its capacity from cell to cell.
        StringView text = facts.text;
        if (!prefix.empty() || !suffix.empty() || financial || FDecimalSep != u'.') {
            FScratch.assign(facts.text);
            if (!prefix.empty()) {
                const size_t at = FScratch.find(prefix);
                if (at != String::npos)
                    FScratch.erase(at, prefix.size());
            }
            if (!suffix.empty()) {
                const size_t at = FScratch.find(suffix);
                if (at != String::npos)
                    FScratch.erase(at, suffix.size());
            }
            if (financial)
                FScratch.erase(std::remove(FScratch.begin(), FScratch.end(), FThousandSep), FScratch.end());
            if (FDecimalSep != u'.') {
                const size_t at = FScratch.find(FDecimalSep);
                if (at != String::npos)
                    FScratch[at] = u'.';
            }
            text = FScratch;
        }
        NumberFacts result;
        result.known = true;
        result.empty = text.empty();
        Integer code = 0;
        try {
            Val(text, result.value, code);
        } catch (const Exception&) {
            // A number beyond the range of a real compares as 0.
            result.value = 0;
            code = 0;
        }
        result.failed = code != 0;
        if (result.failed && (facts.flags & cfShownEmpty) != 0) {
            result.value = 0;
            result.failed = false;
        }
        return result;
    }

    static double ConvertDate(StringView text, DateKind kind) {
        TDateTime value = 0;
        switch (kind) {
        case dkDateTime:
            return !text.empty() && TryStrToDateTime(text, value) ? value : 0;
        case dkTime:
            return !text.empty() && TryStrToTime(text, value) ? value : 0;
        case dkDayFirst:
        case dkMonthFirst:
            // An impossible date raises in the parser; it compares as 0.
            try {
                return kind == dkDayFirst ? ParseDateDMY(text) : ParseDateMDY(text);
            } catch (const Exception&) {
                return 0;
            }
        case DateKinds:
            break;
        }
        return 0;
    }

    TAdvStringGrid& FGrid;
    Integer FKeyCol = -2; // the column the items carry; none at first
    Integer FFirst;
    Integer FSecond = -1;
    bool FPair = false;
    size_t FCount;
    std::vector<std::unique_ptr<Column>> FColumns; // by column + 1
    String FScratch;
    bool FVirtual = true;
    bool FDisplayHooks = false;
    TSortStyle FStyle = ssAutomatic; // the style before OnGetFormat
    bool FNumbersDecide = false;     // CompareNumbers may answer
    bool FFormatFixed = false;       // no OnGetFormat could change a style, no column is ignored
    bool FIgnoreCase = false;
    KeyKind FKeyKind = kkMixed; // set by Items
    bool FIgnoreBlanks = false;
    bool FBlankLast = false;
    bool FHotmail = false; // column 0 answers a row check box for every row
    Char FDateSep = u'/';
    Char FTimeSep = u':';
    Char FThousandSep = u',';
    Char FDecimalSep = u'.';
};

// ---- The grid's shape around a sort

// Brackets a whole-grid sort: the update bracket, ClearTextOnly (cleared during the sort when asked),
// column 0 with NormalCellsOnly and fixed columns, and the top row with KeepScrollOnSort all come back
// when it ends, also when an exception passes.
class TAdvStringGrid::TSortShape {
public:
    TSortShape(TAdvStringGrid& grid, bool clearTextOnly) : FGrid(grid) {
        FTopRow = grid.TopRow();
        FClearTextOnly = grid.FClearTextOnly;
        FTouchClearTextOnly = clearTextOnly;
        if (grid.FSortSettings->NormalCellsOnly() && grid.FixedCols() > 0) {
            const Integer rows = grid.RowCount();
            FColumn0.reserve(static_cast<size_t>(rows));
            for (Integer row = 0; row < rows; ++row)
                FColumn0.push_back({grid.GetGridCell(0, row), grid.ObjectSlot(0, row)});
        }
        if (FTouchClearTextOnly)
            grid.FClearTextOnly = false;
        grid.BeginUpdate();
    }
    TSortShape(const TSortShape&) = delete;
    TSortShape& operator=(const TSortShape&) = delete;
    ~TSortShape() {
        // The rows only changed places, so every saved record is still held by exactly one cell of
        // column 0: putting them back drops none and frees none.
        const Integer rows = std::min<Integer>(static_cast<Integer>(FColumn0.size()), FGrid.RowCount());
        for (Integer row = 0; row < rows; ++row) {
            const Kept& kept = FColumn0[static_cast<size_t>(row)];
            FGrid.SetGridCell(0, row, kept.text);
            FGrid.SetObjectSlot(0, row, kept.slot);
        }
        if (FGrid.FNavigation->KeepScrollOnSort())
            FGrid.SetTopRow(FTopRow);
        if (FTouchClearTextOnly)
            FGrid.FClearTextOnly = FClearTextOnly;
        FGrid.EndUpdate();
    }

private:
    struct Kept {
        String text;
        TObject* slot;
    };
    TAdvStringGrid& FGrid;
    Integer FTopRow = 0;
    bool FClearTextOnly = false;
    bool FTouchClearTextOnly = false;
    std::vector<Kept> FColumn0;
};

// ---- Comparing rows

Integer TAdvStringGrid::TSortCache::Compare(Integer ACol, Integer ARow1, Integer ARow2,
                                            TSortDirection Direction, const SortItem* item1,
                                            const SortItem* item2) {
    TAdvStringGrid& grid = FGrid;
    ++grid.Compares;
    TSortStyle style = ssAutomatic;
    if (!grid.FSortSettings->AutoFormat())
        style = grid.FSortSettings->IgnoreCase() ? ssAlphaNoCase : grid.FSortSettings->DefaultFormat();
    String prefix;
    String suffix;
    grid.DoGetFormat(ACol, style, prefix, suffix);

    // The items carry the key column's facts; other columns are looked up.
    const bool carried = item1 != nullptr && item2 != nullptr && ACol == FKeyCol;
    const CellFacts cell1 = carried ? item1->Facts() : Facts(ACol, ARow1);
    const CellFacts cell2 = carried ? item2->Facts() : Facts(ACol, ARow2);
    const bool ignoreCase = grid.FSortSettings->IgnoreCase();

    if (style == ssAutomatic) {
        if ((cell1.flags & cfCheckBox) != 0) {
            style = ssCheckBox;
        } else if ((cell1.flags & cfNumber) != 0) {
            style = ssNumeric;
        } else {
            style = ignoreCase ? ssAlphaNoCase : ssAlphabetic;
            if ((cell1.flags & cfDatePlace) != 0) {
                if ((cell1.flags & cfDateDigits) != 0 && (cell2.flags & cfHasDateSep) != 0)
                    style = (cell1.flags & cfHasTimeSep) != 0 ? ssDateTime : ssDate;
            } else if ((cell1.flags & cfTimeLike) != 0 && (cell2.flags & cfHasTimeSep) != 0) {
                style = ssTime;
            }
        }
    }
    if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
        const bool numbers = (cell1.flags & cfNumber) != 0 && (cell2.flags & cfNumber) != 0;
        style = numbers ? ssNumeric : style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
    }

    // The texts as compared decide the blank rule; only some styles change them.
    bool empty1 = cell1.text.empty();
    bool empty2 = cell2.text.empty();
    Integer result = 1;
    switch (style) {
    case ssAlphabetic:
    case ssAlphaCase:
        if (carried && (item1->bits & SortItem::HasNumber) == 0 && (item2->bits & SortItem::HasNumber) == 0)
            result = CompareItemTexts(*item1, *item2);
        else
            result = Sign(cell1.text.compare(cell2.text));
        break;
    case ssAlphaNoCase:
        result = CompareUpperAZ(cell1.text, cell2.text);
        break;
    case ssAnsiAlphaCase:
        result = Sign(AnsiCompareStr(cell1.text, cell2.text));
        break;
    case ssAnsiAlphaNoCase:
        result = Sign(AnsiCompareText(cell1.text, cell2.text));
        break;
    case ssNatural: {
        const String& text1 = Copy(ACol, ARow1, ckText, cell1);
        const String& text2 = Copy(ACol, ARow2, ckText, cell2);
        result = Sign(CompareLogical(text1.c_str(), text2.c_str()));
        break;
    }
    case ssHTML: {
        const String& text1 = Copy(ACol, ARow1, ckStripped, cell1);
        const String& text2 = Copy(ACol, ARow2, ckStripped, cell2);
        empty1 = text1.empty();
        empty2 = text2.empty();
        result = Sign(text1.compare(text2));
        break;
    }
    case ssNumeric:
    case ssFinancial: {
        const bool financial = style == ssFinancial;
        const bool plain = carried && !financial && prefix.empty() && suffix.empty() &&
                           (item1->bits & SortItem::HasNumber) != 0 &&
                           (item2->bits & SortItem::HasNumber) != 0;
        const NumberFacts number1 =
            plain ? item1->Number() : Number(ACol, ARow1, prefix, suffix, financial, cell1);
        const NumberFacts number2 =
            plain ? item2->Number() : Number(ACol, ARow2, prefix, suffix, financial, cell2);
        empty1 = number1.empty;
        empty2 = number2.empty;
        result = number1.failed && number2.failed ? 0 : CompareValues(number1.value, number2.value);
        break;
    }
    case ssDate:
    case ssDateTime:
        result = CompareValues(Date(ACol, ARow1, dkDateTime, cell1), Date(ACol, ARow2, dkDateTime, cell2));
        break;
    case ssShortDateEU:
        result = CompareValues(Date(ACol, ARow1, dkDayFirst, cell1), Date(ACol, ARow2, dkDayFirst, cell2));
        break;
    case ssShortDateUS:
        result =
            CompareValues(Date(ACol, ARow1, dkMonthFirst, cell1), Date(ACol, ARow2, dkMonthFirst, cell2));
        break;
    case ssTime:
        result = CompareValues(Date(ACol, ARow1, dkTime, cell1), Date(ACol, ARow2, dkTime, cell2));
        break;
    case ssCustom:
        result = 0;
        if (grid.OnCustomCompare) {
            const String& text1 = Copy(ACol, ARow1, ckText, cell1);
            const String& text2 = Copy(ACol, ARow2, ckText, cell2);
            grid.OnCustomCompare(&grid, text1, text2, result);
            result = Sign(result);
        }
        break;
    case ssRaw:
        result = 0;
        if (grid.OnRawCompare) {
            grid.OnRawCompare(&grid, ACol, ARow1, ARow2, result);
            result = Sign(result);
        }
        break;
    case ssImages:
        result = CompareValues(grid.GetCellGraphicKey(ACol, ARow1), grid.GetCellGraphicKey(ACol, ARow2));
        break;
    case ssCheckBox: {
        bool checked1 = false;
        bool checked2 = false;
        grid.GetCheckBoxState(ACol, grid.RealRowIndex(ARow1), checked1);
        grid.GetCheckBoxState(ACol, grid.RealRowIndex(ARow2), checked2);
        result = checked1 == checked2 ? 0 : checked1 ? 1 : -1;
        break;
    }
    case ssAutomatic:
    case ssAlphaNumeric:
    case ssAlphaNumericNoCase:
        break;
    }

    if (grid.FSortSettings->IgnoreBlanks() && empty1 != empty2) {
        result = empty1 ? -1 : 1;
        if (grid.FSortSettings->BlankPos() == blLast)
            result = -result;
        if (Direction == sdDescending)
            result = -result;
    }
    return result;
}

Integer TAdvStringGrid::CompareRows(Integer ACol, Integer ARow1, Integer ARow2, TSortDirection Direction) {
    if (FSortCache != nullptr && FSortCache->Covers(ARow1) && FSortCache->Covers(ARow2))
        return FSortCache->Compare(ACol, ARow1, ARow2, Direction, nullptr, nullptr);
    TSortCache local(*this, ARow1, ARow2, true);
    return local.Compare(ACol, ARow1, ARow2, Direction, nullptr, nullptr);
}

template <class CompareColumn>
Integer TAdvStringGrid::CompareFullWith(Integer ACol, CompareColumn compareColumn) {
    const Integer last = StoredColCount() - 1;
    const bool ignoring = FIgnoreColumns->Count() > 0;
    for (Integer col = ACol;; ++col) {
        const Integer result =
            ignoring && IsIgnoredColumn(col) ? 0 : compareColumn(col, FSortSettings->Direction());
        if (result != 0 || !FSortSettings->Full() || col >= last)
            return result;
    }
}

template <class CompareColumn>
Integer TAdvStringGrid::CompareIndexedWith(Integer Index, CompareColumn compareColumn) {
    const Integer count = FSortIndexes->Count();
    const bool ignoring = FIgnoreColumns->Count() > 0;
    for (Integer i = std::max(Index, 0); i < count; ++i) {
        const Integer entry = FSortIndexes->Items(i);
        const Integer col = entry & 0x7FFFFFFF;
        const bool descending = entry < 0;
        const Integer result = ignoring && IsIgnoredColumn(col)
                                   ? 0
                                   : compareColumn(col, descending ? sdDescending : sdAscending);
        if (result != 0)
            return descending ? -result : result;
        if (!FSortSettings->Full())
            return 0;
    }
    return 0;
}

template <class Item> auto TAdvStringGrid::KeyComparison(Integer KeyCol, Integer Direction) {
    const TSortDirection sortDirection = FSortSettings->Direction();
    const bool full = FSortSettings->Full();
    const Integer lastCol = StoredColCount() - 1;
    return [this, KeyCol, Direction, sortDirection, full, lastCol](TSortCache& cache, const Item& a,
                                                                   const Item& b) {
        Integer result = 0;
        Integer from = KeyCol;
        if (cache.CompareNumbers(a, b, sortDirection, result)) {
            if (result != 0 || !full || KeyCol >= lastCol)
                return Direction * result;
            ++from;
        }
        return Direction * CompareFullWith(from, [&](Integer col, TSortDirection d) {
                   return cache.Compare(col, a.row, b.row, d, &a, &b);
               });
    };
}

Integer TAdvStringGrid::CompareRowsFull(Integer ACol, Integer ARow1, Integer ARow2) {
    return CompareFullWith(ACol, [&](Integer col, TSortDirection direction) {
        return CompareRows(col, ARow1, ARow2, direction);
    });
}

Integer TAdvStringGrid::CompareRowsIndexed(Integer Index, Integer ARow1, Integer ARow2) {
    return CompareIndexedWith(Index, [&](Integer col, TSortDirection direction) {
        return CompareRows(col, ARow1, ARow2, direction);
    });
}

// ---- Moving rows into order

// A plain sort (its comparison KeyComparison's, its direction in SortDir) whose key column compares
// alike throughout, all plain numbers or all texts under one text style, with nothing that could change
// that, orders compact keys by the same comparisons, counted alike, to the same order.
template <class Compare>
void TAdvStringGrid::SortRows(Integer Left, Integer Right, Integer KeyCol, Compare compare) {
    if (Right <= Left)
        return;
    constexpr bool keyed = std::is_same_v<Compare, decltype(KeyComparison<SortItem>(0, 0))>;
    std::vector<Integer> order;
    {
        // The cache reads the cells in place, so it lives only while no row moves.
        TSortCache cache(*this, Left, Right);
        std::vector<SortItem> items = cache.Items(KeyCol);
        const KeyKind kind = keyed ? cache.KeyColumnKind() : kkMixed;
        const Integer KeyDirection = SortDir;
        TSortCache* outer = FSortCache;
        FSortCache = &cache;
        try {
            // Ties of the key column go on to the columns to its right, as KeyComparison's do.
            const bool full = FSortSettings->Full();
            const Integer lastCol = StoredColCount() - 1;
            const auto tieBreak = [&](Integer row1, Integer row2) -> Integer {
                if (!full || KeyCol >= lastCol)
                    return 0;
                return CompareFullWith(KeyCol + 1, [&](Integer col, TSortDirection d) {
                    return cache.Compare(col, row1, row2, d, nullptr, nullptr);
                });
            };
            // The direction fixed at compile time lets the comparison reduce to the keys' own.
            const auto sortBy = [&](auto* keys, size_t n, auto* buffer, auto compareKeys) {
                return KeyDirection < 0 ? SortKeys<-1>(keys, n, buffer, Compares, compareKeys, tieBreak)
                                        : SortKeys<1>(keys, n, buffer, Compares, compareKeys, tieBreak);
            };
            if (kind == kkNumbers) {
                // The keys and their merge buffer take the items' place, each key written over items
                // already read: a sort of a million rows then needs no more memory than the items.
                static_assert(sizeof(SortItem) >= 2 * sizeof(NumberKey) &&
                              std::is_trivially_copyable_v<SortItem> &&
                              std::is_trivially_copyable_v<NumberKey>);
                const size_t n = items.size();
                std::byte* storage = reinterpret_cast<std::byte*>(items.data());
                for (size_t i = 0; i < n; ++i) {
                    const NumberKey key{items[i].number, items[i].row};
                    std::memcpy(storage + i * sizeof(NumberKey), &key, sizeof key);
                }
                NumberKey* keys = std::launder(reinterpret_cast<NumberKey*>(storage));
                order = sortBy(keys, n, keys + n, [](const NumberKey& a, const NumberKey& b) {
                    return CompareValues(a.value, b.value);
                });
            } else if (kind == kkTexts || kind == kkTextsNoCase) {
                const bool noCase = kind == kkTextsNoCase;
                std::vector<TextKey> keys;
                keys.reserve(items.size());
                for (const SortItem& item : items)
                    keys.push_back(noCase ? MakeTextKey<true>(item) : MakeTextKey<false>(item));
                std::vector<SortItem>().swap(items);
                std::unique_ptr<TextKey[]> buffer(new TextKey[keys.size()]);
                // Of two texts exactly one empty: the blank rule of CompareRows places it; firstEmpty is
                // the result when it is the first.
                const bool ignoreBlanks = FSortSettings->IgnoreBlanks();
                Integer firstEmpty = FSortSettings->BlankPos() == blLast ? 1 : -1;
                if (FSortSettings->Direction() == sdDescending)
                    firstEmpty = -firstEmpty;
                const auto withBlanks = [ignoreBlanks, firstEmpty](const TextKey& a, const TextKey& b,
                                                                   Integer result) {
                    if (ignoreBlanks && (a.length == 0) != (b.length == 0))
                        return a.length == 0 ? firstEmpty : -firstEmpty;
                    return result;
                };
                if (noCase)
                    order = sortBy(keys.data(), keys.size(), buffer.get(),
                                   [&](const TextKey& a, const TextKey& b) {
                                       return withBlanks(a, b, CompareTextKeys<true>(a, b));
                                   });
                else
                    order = sortBy(keys.data(), keys.size(), buffer.get(),
                                   [&](const TextKey& a, const TextKey& b) {
                                       return withBlanks(a, b, CompareTextKeys<false>(a, b));
                                   });
            } else {
                StableSort(items,
                           [&](const SortItem& a, const SortItem& b) { return compare(cache, a, b) < 0; });
                order.reserve(items.size());
                for (const SortItem& item : items)
                    order.push_back(item.row);
            }
        } catch (...) {
            FSortCache = outer;
            throw;
        }
        FSortCache = outer;
    }
    MoveRowsIntoOrder(Left, order);
}

namespace {

// The swaps MoveRowsIntoOrder makes for Order, one for every row but the last of each cycle, found by
// playing its moves on offsets alone: the reads do not wait on each other as a walk along the cycles'
// links would. offsets is scratch room for n entries.
Integer CountSortSwaps(Integer Left, const std::vector<Integer>& Order, std::vector<std::uint64_t>& offsets) {
    // Entry r holds in its low half where the row that stood at offset r is now, in its high half the
    // offset of the row that stands at r.
    const size_t n = Order.size();
    for (size_t r = 0; r < n; ++r)
        offsets[r] = std::uint64_t(r) << 32 | r;
    const auto where = [&](size_t r) { return static_cast<Integer>(offsets[r] & 0xFFFFFFFF); };
    const auto at = [&](size_t r) { return static_cast<Integer>(offsets[r] >> 32); };
    Integer swaps = 0;
    for (size_t k = 0; k < n; ++k) {
        const Integer from = where(static_cast<size_t>(Order[k] - Left));
        if (from == static_cast<Integer>(k))
            continue;
        ++swaps;
        // Offset k is settled: only the row that left it needs its new place.
        const Integer displaced = at(k);
        std::uint64_t& fromEntry = offsets[static_cast<size_t>(from)];
        fromEntry = std::uint64_t(std::uint32_t(displaced)) << 32 | (fromEntry & 0xFFFFFFFF);
        std::uint64_t& displacedEntry = offsets[static_cast<size_t>(displaced)];
        displacedEntry = (displacedEntry & ~std::uint64_t(0xFFFFFFFF)) | std::uint32_t(from);
    }
    return swaps;
}

} // namespace

void TAdvStringGrid::MoveRowsIntoOrder(Integer Left, const std::vector<Integer>& Order) {
    // One repaint for all the moves, also when a move raises.
    struct Moving {
        TAdvStringGrid& grid;
        bool outer;
        ~Moving() {
            grid.FSortMoving = outer;
            if (!outer)
                grid.Invalidate();
        }
    } moving{*this, FSortMoving};
    FSortMoving = true;
    if (SortPermuteRows(Left, Order))
        return;
    // where[r]: the present offset of the row that stood at offset r; at[k]: which row stands at k.
    const size_t n = Order.size();
    std::vector<Integer> where(n);
    std::vector<Integer> at(n);
    std::iota(where.begin(), where.end(), 0);
    std::iota(at.begin(), at.end(), 0);
    for (size_t k = 0; k < n; ++k) {
        const Integer wanted = Order[k] - Left;
        const Integer from = where[static_cast<size_t>(wanted)];
        if (from == static_cast<Integer>(k))
            continue;
        SortSwapRows(Left + static_cast<Integer>(k), Left + from);
        const Integer displaced = at[k];
        at[k] = wanted;
        at[static_cast<size_t>(from)] = displaced;
        where[static_cast<size_t>(wanted)] = static_cast<Integer>(k);
        where[static_cast<size_t>(displaced)] = from;
    }
}

namespace {

// Whether a permutation of rows Left .. Left + n - 1 can move the list's entries as ExchangeEntries
// would move them swap by swap: when the list reaches every one of the rows, or none.
bool EntriesFollowWhole(const TIntList& list, Integer Left, size_t n) {
    return !list.OnChange && (Int64(Left) + Int64(n) <= list.Count() || Left >= list.Count());
}

// scratch is room for n entries.
void PermuteEntries(TIntList& list, Integer Left, const std::vector<Integer>& Order,
                    std::vector<std::uint64_t>& scratch) {
    static_assert(sizeof(void*) <= sizeof(std::uint64_t));
    if (Left >= list.Count())
        return;
    void** items = list.List();
    const size_t n = Order.size();
    for (size_t k = 0; k < n; ++k)
        scratch[k] = reinterpret_cast<std::uintptr_t>(items[Order[k]]);
    for (size_t k = 0; k < n; ++k)
        items[static_cast<size_t>(Left) + k] =
            reinterpret_cast<void*>(static_cast<std::uintptr_t>(scratch[k]));
}

} // namespace

bool TAdvStringGrid::SortPermuteRows(Integer Left, const std::vector<Integer>& Order) {
    const size_t n = Order.size();
    const Integer count = static_cast<Integer>(n);
    if (n == 0 || Left < 0 || Int64(Left) + count > RowCount())
        return false;
    if (typeid(*this) != typeid(TAdvStringGrid) || FSortSettings->SingleColumn() ||
        (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort()))
        return false;
    // Heights that differ would be set row by row, each change told to RowHeightsChanged.
    const Integer height = RowHeights(Left);
    for (Integer row = Left + 1; row < Left + count; ++row)
        if (RowHeights(row) != height)
            return false;
    std::vector<TIntList*> lists{FSortRowXRef.get()};
    if (FUseEnabledRows)
        lists.push_back(FEnabledRows.get());
    if (ModifiedRowsKept())
        lists.push_back(FModifiedRows.get());
    for (const TIntList* list : lists)
        if (!EntriesFollowWhole(*list, Left, n))
            return false;

    // Everything that may fail to allocate comes before the first change.
    std::vector<std::uint64_t> scratch(n);
    const Integer swaps = CountSortSwaps(Left, Order, scratch);
    if (!PermuteRowStores(Left, Order.data(), count))
        return false;
    for (TIntList* list : lists)
        PermuteEntries(*list, Left, Order, scratch);
    if (SortRow >= Left && SortRow < Left + count)
        SortRow = Left + static_cast<Integer>(std::find(Order.begin(), Order.end(), SortRow) - Order.begin());
    Swaps += swaps;
    return true;
}

void TAdvStringGrid::FollowSortRow(Integer First, Integer Last) {
    FOldRowSel = -1;
    if (SortRow >= First && SortRow <= Last && SortRow != Row())
        SetRow(SortRow);
}

// ---- Sorts

void TAdvStringGrid::Sort(Integer Column, TSortDirection Direction) {
    FSortSettings->SetColumn(Column);
    FSortSettings->SetDirection(Direction);
    QSort();
}

void TAdvStringGrid::SortByColumn(Integer Col) {
    if (RowCount() < 2)
        return;
    FSortSettings->SetColumn(Col);
    QSort();
}

void TAdvStringGrid::InitSortXRef() {
    FSortRowXRef->Clear();
    for (Integer i = 0; i < RowCount(); ++i)
        FSortRowXRef->Add(i);
}

void TAdvStringGrid::QSort() {
    const Integer column = FSortSettings->Column();
    if (column < 0)
        return;
    if (RowCount() != FSortRowXRef->Count())
        InitSortXRef();
    FSortIndexes->Clear();
    SortDir = FSortSettings->Direction() == sdDescending ? -1 : 1;
    const Integer oldRow = Row();
    const bool moveRow = FNavigation->MoveRowOnSort();
    {
        TSortShape shape(*this, true);
        SortRow = oldRow;
        const Integer first = FixedRows();
        const Integer last = RowCount() - FFixedFooters - 1;
        const Integer direction = SortDir;
        SortRows(first, last, column, KeyComparison<SortItem>(column, direction));
        if (moveRow && !FMouseActions->DisjunctRowSelect())
            FollowSortRow(first, last);
        // The current row kept its place and got other data: the application hears of it.
        if (OnRowChanged && !moveRow)
            OnRowChanged(this, oldRow, Row());
    }
}

void TAdvStringGrid::QSortIndexed() {
    if (RowCount() != FSortRowXRef->Count())
        InitSortXRef();
    if (FSortIndexes->Count() == 0)
        throw EAdvGridError(AdvGridErrors::NoSortIndexes);
    TSortShape shape(*this, false);
    SortRow = Row();
    const Integer first = FixedRows();
    const Integer last = RowCount() - FFixedFooters - 1;
    SortRows(first, last, FSortIndexes->Items(0) & 0x7FFFFFFF,
             [this](TSortCache& cache, const SortItem& a, const SortItem& b) {
                 return CompareIndexedWith(0, [&](Integer col, TSortDirection d) {
                     return cache.Compare(col, a.row, b.row, d, &a, &b);
                 });
             });
    if (FNavigation->MoveRowOnSort())
        FollowSortRow(first, last);
}

void TAdvStringGrid::QSortGroup() {
    QSortGroupCore(false);
}

void TAdvStringGrid::QSortGroupIndexed() {
    QSortGroupCore(true);
}

void TAdvStringGrid::QSortGroupCore(bool Indexed) {
    if (RowCount() != FSortRowXRef->Count())
        InitSortXRef();
    SortDir = FSortSettings->Direction() == sdDescending ? -1 : 1;
    const Integer oldRow = Row();
    TSortShape shape(*this, true);
    SortRow = oldRow;
    const Integer first = FixedRows();
    const Integer last = RowCount() - FFixedFooters - 1;
    // The row after the data rows is looked at too: a fixed footer row may carry a node.
    const Integer scanLast = std::min(last + 1, RowCount() - 1);
    Integer deepest = -1;
    for (Integer row = first; row <= scanLast; ++row)
        deepest = std::max(deepest, GetNodeLevel(row));
    if (deepest < 0)
        return;
    for (Integer row = first; row <= scanLast; ++row) {
        if (GetNodeLevel(row) != deepest || GetNodeState(row))
            continue;
        const Integer span = GetNodeSpan(row);
        if (span < 3)
            continue;
        // Children past the data rows are never moved: fixed footers stay where they are.
        const Integer childLast = std::min(row + span - 1, last);
        if (Indexed)
            QuickSortIndexed(row + 1, childLast);
        else
            QuickSort(FSortSettings->Column(), row + 1, childLast);
    }
    if (FNavigation->MoveRowOnSort())
        FollowSortRow(first, last);
}

void TAdvStringGrid::QUnSort() {
    // Rows inserted or removed since the cross-reference was set up leave it short or long; it then no
    // longer says where each row came from, and nothing moves.
    const Integer n = RowCount();
    if (FSortRowXRef->Count() != n)
        return;
    std::vector<Integer> order(static_cast<size_t>(n), -1);
    for (Integer pos = 0; pos < n; ++pos) {
        const Integer before = FSortRowXRef->Items(pos);
        if (before < 0 || before >= n || order[static_cast<size_t>(before)] != -1)
            return;
        order[static_cast<size_t>(before)] = pos;
    }
    TSortShape shape(*this, false);
    MoveRowsIntoOrder(0, order);
}

void TAdvStringGrid::QuickSort(Integer Col, Integer Left, Integer Right) {
    if (Col < 0)
        return;
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    SortDir = FSortSettings->Direction() == sdDescending ? -1 : 1;
    const Integer direction = SortDir;
    SortRows(Left, Right, Col, KeyComparison<SortItem>(Col, direction));
}

void TAdvStringGrid::QuickSortIndexed(Integer Left, Integer Right) {
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    if (FSortIndexes->Count() == 0)
        return;
    SortRows(Left, Right, FSortIndexes->Items(0) & 0x7FFFFFFF,
             [this](TSortCache& cache, const SortItem& a, const SortItem& b) {
                 return CompareIndexedWith(0, [&](Integer col, TSortDirection d) {
                     return cache.Compare(col, a.row, b.row, d, &a, &b);
                 });
             });
}

bool TAdvStringGrid::SortLine(Integer Col, Integer ARow1, Integer ARow2) {
    const Integer last = StoredColCount() - 1;
    for (Integer col = Col;; ++col) {
        const Integer result = CompareRows(col, ARow1, ARow2, FSortSettings->Direction());
        if (result == SortDir) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (result != 0 || col >= last)
            return false;
    }
}
