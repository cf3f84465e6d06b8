// The user's column layout kept three ways: the one-line column-state string, the column widths and the
// column order as keyed integers in an INI file or the registry (ColumnSize's Location, Key and Section).
#include <memory>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"

namespace {

std::vector<StringView> SplitAt(StringView text, Char separator) {
    std::vector<StringView> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == StringView::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

} // namespace

// ---- Column-order list

void TAdvStringGrid::ResetColumnOrder() {
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    // Each pass moves every column whose entry names an earlier position back to it (MoveColumn moves
    // its entry along). A list that is no order of the columns could keep the passes going for ever,
    // so there are at most ColCount of them, and entries outside the columns stay where they are.
    const Integer count = ColCount();
    for (Integer pass = 0; pass < count; ++pass) {
        bool moved = false;
        for (Integer i = 0; i < count && i < FColumnOrder->Count(); ++i) {
            const Integer entry = FColumnOrder->Items(i);
            if (entry >= 0 && entry < i) {
                MoveColumn(i, entry);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}

// The position at which each column 0..count-1 occurs in stored (-1 when it does not).
static std::vector<Integer> InversePermutation(const std::vector<Integer>& stored, Integer count) {
    std::vector<Integer> inverse(static_cast<size_t>(std::max(count, 0)), -1);
    for (Integer p = 0; p < count; ++p)
        for (size_t at = 0; at < stored.size(); ++at)
            if (stored[at] == p) {
                inverse[static_cast<size_t>(p)] = static_cast<Integer>(at);
                break;
            }
    return inverse;
}

void TAdvStringGrid::ApplyColumnOrder(const std::vector<Integer>& stored) {
    FColumnOrder->Clear();
    for (Integer p : InversePermutation(stored, ColCount()))
        FColumnOrder->Add(p);
    if (FColumnOrder->Count() > 0)
        ResetColumnOrder();
    FColumnOrder->Clear();
    for (Integer value : stored)
        FColumnOrder->Add(value);
}

// ---- Column-state string

String TAdvStringGrid::ColumnStatesToString() {
    const Integer n = ColCount() + NumHiddenColumns();
    String widths, order, shown;
    for (Integer i = 0; i < n; ++i) {
        const String comma = i == 0 ? String() : String(u",");
        // The widths of the displayed columns come first, as loading applies them.
        widths += comma + IntToStr(ColWidths(i));
        shown += comma + (i < VisibleColEntries - 1 && IsHiddenColumn(i) ? u"0" : u"1");
    }
    if (FColumnOrder->Count() == 0) {
        for (Integer i = 0; i < n; ++i)
            order += (i == 0 ? String() : String(u",")) + IntToStr(i);
    } else {
        for (Integer i = 0; i < FColumnOrder->Count(); ++i)
            order += (i == 0 ? String() : String(u",")) + IntToStr(FColumnOrder->Items(i));
    }
    return IntToStr(n) + u"#" + widths + u"#" + order + u"#" + shown;
}

void TAdvStringGrid::StringToColumnStates(const String& Value) {
    if (Value.find(u'#') == String::npos)
        return;
    const std::vector<StringView> fields = SplitAt(Value, u'#');
    auto field = [&](size_t i) { return i < fields.size() ? fields[i] : StringView(); };

    FColumnOrder->Clear();
    UnHideColumnsAll();
    SetColCount(StrToInt(field(0)));

    if (!field(2).empty()) {
        const std::vector<StringView> order = SplitAt(field(2), u',');
        std::vector<Integer> stored;
        for (Integer i = 0; i < ColCount() && i < static_cast<Integer>(order.size()); ++i) {
            const Integer value = StrToInt(order[static_cast<size_t>(i)]);
            if (value != -1)
                stored.push_back(value);
        }
        ApplyColumnOrder(stored);
    }

    const std::vector<StringView> flags = SplitAt(field(3), u',');
    for (Integer c = ColCount() - 1; c >= 0; --c)
        if (c < static_cast<Integer>(flags.size()) && flags[static_cast<size_t>(c)] == u"0")
            HideColumn(c);

    const std::vector<StringView> widths = SplitAt(field(1), u',');
    const bool stretch = FColumnSize->Stretch();
    FColumnSize->SetStretch(false);
    if (stretch) {
        const Integer column =
            FColumnSize->StretchColumn() == -1 ? ColCount() - 1 : FColumnSize->StretchColumn();
        SetDefaultColWidth(ColWidths(column));
    }
    for (Integer i = 0; i < ColCount() && i < static_cast<Integer>(widths.size()); ++i)
        SetColWidths(i, StrToInt(widths[static_cast<size_t>(i)]));
    FColumnSize->SetStretch(stretch);
}

// ---- Keyed sizes and positions

std::unique_ptr<TCustomIniFile> TAdvStringGrid::OpenColumnStore() {
    if (FColumnSize->Key().empty() || FColumnSize->Section().empty() || IsDesigning())
        return nullptr;
    if (FColumnSize->Location() == clIniFile)
        return std::make_unique<TMemIniFile>(FColumnSize->Key());
    return std::make_unique<TRegistryIniFile>(FColumnSize->Key());
}

void TAdvStringGrid::SaveColSizes() {
    std::unique_ptr<TCustomIniFile> store = OpenColumnStore();
    if (!store)
        return;
    for (Integer i = 0; i < ColCount(); ++i)
        store->WriteInteger(FColumnSize->Section(), u"Col" + IntToStr(i), ColWidths(i));
    store->UpdateFile();
}

void TAdvStringGrid::LoadColSizes() {
    std::unique_ptr<TCustomIniFile> store = OpenColumnStore();
    if (!store)
        return;
    for (Integer i = 0; i < ColCount(); ++i) {
        const Integer width = store->ReadInteger(FColumnSize->Section(), u"Col" + IntToStr(i), ColWidths(i));
        if (width != ColWidths(i))
            SetColWidths(i, width);
    }
    store->UpdateFile();
}

void TAdvStringGrid::SaveColPositions() {
    std::unique_ptr<TCustomIniFile> store = OpenColumnStore();
    if (!store)
        return;
    for (Integer i = 0; i < FColumnOrder->Count(); ++i)
        store->WriteInteger(FColumnSize->Section(), u"Pos" + IntToStr(i), FColumnOrder->Items(i));
    store->UpdateFile();
}

void TAdvStringGrid::LoadColPositions() {
    std::unique_ptr<TCustomIniFile> store = OpenColumnStore();
    if (!store)
        return;
    const String& section = FColumnSize->Section();
    if (store->ReadInteger(section, u"Pos0", -1) != -1) {
        std::vector<Integer> stored;
        for (Integer i = 0; i < AllColCount(); ++i) {
            const Integer value = store->ReadInteger(section, u"Pos" + IntToStr(i), -1);
            if (value != -1)
                stored.push_back(value);
        }
        // The hidden columns are shown while the columns move, then hidden again.
        std::vector<Integer> hidden;
        for (Integer c = 0; c < AllColCount() && c < VisibleColEntries - 1; ++c)
            if (IsHiddenColumn(c))
                hidden.push_back(c);
        UnHideColumnsAll();
        ApplyColumnOrder(stored);
        for (auto it = hidden.rbegin(); it != hidden.rend(); ++it)
            HideColumn(*it);
    }
    store->UpdateFile();
}
