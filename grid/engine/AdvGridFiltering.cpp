// Filtering the grid's rows by the conditions of its filter: matching a row, filter levels, narrowing
// as the user types, and the values and picks of the column filter drop-downs.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <cmath>

#include "grid/engine/AdvUtil.h"
#include "platform/rtl/SysStrings.h"

namespace {

// A text the drop-down shows as it is and that selects itself, or the shown text, "=" and the
// condition that selects it: an empty text shows nothing and matches empty cells, and a text with a
// space is matched as one quoted run, its inner quotes doubled.
String FilterListEntry(const String& text) {
    if (text.empty())
        return u"=\"\"";
    if (text.find(u' ') == String::npos)
        return text;
    String quoted;
    quoted.reserve(text.size() + 2);
    for (Char c : text) {
        quoted += c;
        if (c == u'"')
            quoted += c;
    }
    return text + u"=\"" + quoted + u"\"";
}

// The part of an entry before its first "=" (all of it when there is none), and the part after.
String EntryName(const String& entry) {
    const size_t equals = entry.find(u'=');
    return equals == String::npos ? entry : entry.substr(0, equals);
}

} // namespace

// ---- Matching a row

String TAdvStringGrid::FilterCellText(const TFilterData& item, Integer ARow) {
    const Integer col = item.Column();
    switch (item.Data()) {
    case fcVirtual:
        return Cells(col, ARow);
    case fcNormal:
        return GridCells(col, ARow);
    case fcStripHTML:
        return GetStrippedCell(col, ARow);
    case fcCalculated:
        return SaveCell(col, ARow);
    case fcRow: {
        // The texts of every stored column of the row, hidden ones too, line by line as the row's
        // strings give them.
        String text;
        for (Integer c = 0; c < AllColCount(); ++c) {
            text += Cells(c, ARow);
            text += u"\r\n";
        }
        return text;
    }
    }
    return String();
}

StringView TAdvStringGrid::BaseCellView(Integer ACol, Integer ARow) const {
    if (const TCellProperties* record = AssignedProps(ACol, ARow)) {
        const TPoint base = record->BaseCellOf(ACol, ARow);
        return CellView(base.X, base.Y);
    }
    return CellView(ACol, ARow);
}

bool TAdvStringGrid::MatchFilterItem(const TFilterData& item, Integer ARow) {
    // The usual case, a stored or displayed text that is the stored one, is read in place; a copy is
    // made only where the text changes on the way.
    String owned;
    StringView text;
    if (item.Data() == fcNormal)
        text = CellView(item.Column(), ARow);
    else if (item.Data() == fcVirtual && DisplayTextIsStored())
        text = BaseCellView(item.Column(), ARow);
    else
        text = owned = FilterCellText(item, ARow);
    while (!text.empty() && text.front() <= u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() <= u' ')
        text.remove_suffix(1);
    const String* condition = &item.Condition();
    String folded;
    if (item.RemoveAccented()) {
        owned = StripDiacritics(text);
        text = owned;
        folded = StripDiacritics(item.Condition());
        condition = &folded;
    }
    if (text.find(u"|\\") != StringView::npos) {
        owned = DecodeWideText(text);
        text = owned;
    }
    if (item.Data() == fcRow)
        return AnsiUpperCase(text).find(AnsiUpperCase(*condition)) != String::npos;

    StringView subject = text;
    if (!item.Prefix().empty() && subject.starts_with(item.Prefix()))
        subject.remove_prefix(item.Prefix().size());
    if (!item.Suffix().empty()) {
        // Only the suffix's first occurrence counts, and only when it ends the text.
        const size_t at = subject.find(item.Suffix());
        if (at != StringView::npos && at + item.Suffix().size() == subject.size())
            subject.remove_suffix(item.Suffix().size());
    }
    if (condition->empty())
        return true;
    if (item.Method() == fmExpression)
        return MatchFilterExpr(*condition, subject, item.CaseSensitive());
    if (*condition == u"\"\"")
        return subject.empty();
    return subject == *condition;
}

bool TAdvStringGrid::MatchFilter(Integer ARow) {
    bool result = true;
    for (Integer i = 0; i < FFilter->Count(); ++i) {
        const TFilterData& item = *FFilter->Items(i);
        if (!item.Enabled())
            continue;
        bool match;
        // A condition the language cannot read, or a cell text it cannot convert, fails the row rather
        // than the whole filter.
        try {
            match = MatchFilterItem(item, ARow);
        } catch (const Exception&) {
            match = false;
        }
        switch (item.Operation()) {
        case foSHORT:
            result = match;
            break;
        case foNONE:
            result = match;
            break;
        case foAND:
            result = result && match;
            break;
        case foXOR:
            result = result != match;
            break;
        case foOR:
            result = result || match;
            break;
        }
        if (item.Operation() == foSHORT && !match)
            break;
    }
    if (OnCustomFilter)
        OnCustomFilter(this, ARow, result);
    return result;
}

void TAdvStringGrid::FilterRow(Integer ARow) {
    if (!MatchFilter(ARow))
        HideRow(RealRowIndex(ARow));
}

// ---- Filter levels

void TAdvStringGrid::ApplyFilter() {
    FFilterFixedRows = FFixedRowsMin;
    const Integer total = RowCount() - FFixedFooters - FFixedRowsMin;
    if (total <= 0)
        return;
    auto progress = [this, total](Integer done) {
        if (OnFilterProgress)
            OnFilterProgress(this, static_cast<SmallInt>(std::nearbyint(done * 100.0 / total)));
    };
    TIntList failing(0, 0);
    Integer done = 0;
    const Integer last = RowCount() - FFixedFooters - 1;
    // The framework grid gives up its fixed rows when no other row is left; the header rows still are
    // no data.
    for (Integer r = std::max(FixedRows(), FFixedRowsMin); r <= last; ++r) {
        if (FFilterNormalCellsOnly && (IsNode(r) || IsSummary(r)))
            continue;
        if (!MatchFilter(r))
            failing.Add(r);
        ++done;
        progress(done);
    }
    // One pass for the whole level, however many rows fail.
    HideRowList(&failing);
    progress(done);
}

void TAdvStringGrid::FilterLevelRemoved() {
    SetFixedRows(FFilterFixedRows);
    if (FSelHidden)
        UnHideSelection();
    CalcFooter(-1);
}

void TAdvStringGrid::SetFilterActive(bool Value) {
    if (Value != FFilterActive) {
        FFilterActive = Value;
        if (Value) {
            if (Row() >= RowCount() || Col() >= ColCount()) {
                SetCol(FixedCols());
                SetRow(FixedRows());
            }
            BeginUpdate();
            try {
                ApplyFilter();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            if (FSelHidden)
                UnHideSelection();
        } else {
            UnHideRowList();
            SetFixedRows(FFilterFixedRows);
            if (FSelHidden)
                UnHideSelection();
        }
        if (RowCount() > FixedRows())
            SetTopRow(FixedRows());
    }
    CalcFooter(-1);
}

bool TAdvStringGrid::RemoveLastFilter() {
    FIsNarrowDown = false;
    if (FFilterLevel <= 0)
        return false;
    UnHideRowList();
    FilterLevelRemoved();
    --FFilterLevel;
    return FFilterLevel > 1;
}

void TAdvStringGrid::RemoveAllFilters() {
    if (FFilterLevel > 0) {
        while (FFilterLevel > 0)
            RemoveLastFilter();
    } else {
        FFilter->Clear();
    }
    FIsNarrowDown = false;
}

void TAdvStringGrid::NarrowDown(const String& ACondition, bool DoRemoveAccented, Integer AColumn) {
    FIsNarrowDown = !ACondition.empty();
    SetFixedRowAlways(true);
    // A text with a space is one quoted run, whether typed on or typed anew: the condition language
    // drops the blanks outside quotes.
    auto applyCondition = [&] {
        FFilter->Clear();
        TFilterData* item = FFilter->Add();
        if (AColumn == -1) {
            item->SetData(fcRow);
            item->SetCondition(ACondition);
        } else {
            item->SetData(fcNormal);
            String condition = u"*" + ACondition + u"*";
            if (ACondition.find(u' ') != String::npos)
                condition = u"\"" + condition + u"\"";
            item->SetCondition(condition);
        }
        item->SetRemoveAccented(DoRemoveAccented);
        item->SetCaseSensitive(false);
        item->SetColumn(AColumn);
        ApplyFilter();
    };
    const size_t typed = ACondition.size();
    const size_t last = FLastFilter.size();
    if (!FLastFilter.empty() && typed == last + 1 && StringView(ACondition).starts_with(FLastFilter)) {
        applyCondition();
    } else if (last == typed + 1 && !ACondition.empty() && StringView(FLastFilter).starts_with(ACondition)) {
        RemoveLastFilter();
        FIsNarrowDown = true;
    } else {
        RemoveAllFilters();
        FIsNarrowDown = !ACondition.empty();
        if (!ACondition.empty())
            applyCondition();
    }
    // An empty text leaves no filter level; rows hidden otherwise keep their records.
    FLastFilter = ACondition;
}

void TAdvStringGrid::SetFilterDropDownAuto(bool Value) {
    FFilterDropDownAuto = Value;
    if (Value)
        SetFixedRowAlways(true);
    Invalidate();
}

// ---- The column filter drop-downs

bool TAdvStringGrid::BuildFilterList(Integer ACol, bool FirstOnly) {
    FFilterList->Clear();
    const bool fixedColumn = ACol < FixedCols() || ACol >= ColCount() - FixedRightCols();
    if (FFilterDropDownAuto && (!fixedColumn || FFilterDropDownColumns == fdAll)) {
        FFilterList->SetDuplicates(dupIgnore);
        FFilterList->SetSorted(true);
        const String textChecked = FFilterDropDown->TextChecked();
        const String textUnChecked = FFilterDropDown->TextUnChecked();
        if (HasDataCheckBox(ACol, FixedRows()) && HasDataCheckBox(ACol, FixedRows() + 1) &&
            !textChecked.empty() && !textUnChecked.empty()) {
            FFilterList->Add(textChecked);
            FFilterList->Add(textUnChecked);
        } else {
            bool full = false;
            const Integer last = RowCount() - FFixedFooters - 1;
            for (Integer r = FixedRows(); r <= last && !full; ++r) {
                if (IsNode(r))
                    continue;
                FFilterList->Add(FilterListEntry(Trim(Cells(ACol, r))));
                full = FirstOnly;
            }
            // The values of rows hidden by other columns' conditions come in as well, in the same
            // form as the shown ones, so that every entry selects what it says.
            if (!FFilterIncremental && (!FFilterDropDownMultiCol || FFilter->HasFilter(ACol))) {
                for (Integer i = 0; i < NumHiddenRows() && !full; ++i) {
                    const THiddenRow* record = HiddenRowItem(i);
                    const String text = ACol < record->Count() ? record->Strings(ACol) : String();
                    FFilterList->Add(FilterListEntry(Trim(text)));
                    full = FirstOnly;
                }
            }
        }
        FFilterList->SetSorted(false);
        if (!FFilterDropDownCheck && !FFilterDropDownClear.empty())
            FFilterList->Insert(0, FFilterDropDownClear);
        if (FFilterDropDownCheck && !FFilterDropDownCheckUnCheckAll.empty())
            FFilterList->Insert(0, FFilterDropDownCheckUnCheckAll);
    }
    if (OnGetColumnFilter)
        OnGetColumnFilter(this, ACol, FFilterList.get());
    return FFilterList->Count() > 0;
}

void TAdvStringGrid::FilterListSelect(TObject* /*Sender*/, Integer ItemIndex) {
    if (CanFocus())
        SetFocus();
    const Integer column = FFilterCol;
    FFilterCol = -1;
    if (column < 0 || column >= AllColCount())
        return;
    const bool checkColumn = HasDataCheckBox(column, FixedRows()) && HasDataCheckBox(column, FixedRows() + 1);
    BuildFilterList(column, false);
    if (ItemIndex < 0 || ItemIndex >= FFilterList->Count())
        return;
    String entry = FFilterList->Strings(ItemIndex);
    const String friendlyName = EntryName(entry);
    if (checkColumn) {
        if (entry == FFilterDropDown->TextChecked())
            entry = GetFilterCheckedText(column);
        else if (entry == FFilterDropDown->TextUnChecked())
            entry = GetFilterUncheckedText(column);
    }
    if (FAutoFilterUpdate)
        SetFilterActive(false);
    String condition;
    if (entry != FFilterDropDownClear) {
        const size_t equals = entry.find(u'=');
        condition = equals == String::npos ? entry : entry.substr(equals + 1);
        // "&" would read as "and" in the condition language.
        if (condition.find(u'&') != String::npos && (condition.empty() || condition.front() != u'"'))
            condition = u"\"" + condition + u"\"";
    }
    if (OnFilterSelect)
        OnFilterSelect(this, column, ItemIndex, friendlyName, condition);
    if (!FFilterDropDownMultiCol)
        FFilter->Clear();
    if (!condition.empty()) {
        TFilterData* item = FFilter->GetColFilter(column);
        item->SetFriendlyName(friendlyName);
        item->SetCondition(condition);
    } else {
        FFilter->RemoveColumnFilter(column);
    }
    if (FAutoFilterUpdate) {
        SetFixedRowAlways(true);
        SetFilterActive(true);
        if (RowCount() != FixedRows() && !(RowCount() == 1 && FFixedRowAlways))
            SetRow(FixedRows());
        DoFilterDone();
    }
}

void TAdvStringGrid::DoFilterEditUpdate(Integer ACol, const String& Condition, TFilterType FilterType) {
    if (OnFilterEditUpdate)
        OnFilterEditUpdate(this, ACol, Condition, FilterType);
}

void TAdvStringGrid::DoFilterDone() {
    if (OnFilterDone)
        OnFilterDone(this);
}
