// The grid's support lists: integer lists bound to a cell, the sort index list with its string form,
// the line-by-line file string list and the list of controls placed in cells.
#include "grid/engine/AdvObj.h"

#include "platform/framework/Controls.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/UString.h"

namespace {

constexpr Cardinal kDescending = 0x80000000u; // bit 31 of a sort index item
constexpr Cardinal kColumnBits = 0x7FFFFFFFu;

void* ToSlot(Integer value) {
    return reinterpret_cast<void*>(static_cast<NativeInt>(value));
}

Integer FromSlot(const void* slot) {
    return static_cast<Integer>(reinterpret_cast<NativeInt>(slot));
}

} // namespace

// ---- TIntList

DEFINE_CLASS(TIntList)

TIntList::TIntList(Integer col, Integer row) : FCol(col), FRow(row) {}

TIntList::~TIntList() = default;

void TIntList::Changed() {
    if (OnChange)
        OnChange(this, FCol, FRow);
}

Integer TIntList::Add(Integer value) {
    const Integer index = TList::Add(ToSlot(value));
    Changed();
    return index;
}

void TIntList::Delete(Integer index) {
    TList::Delete(index);
    Changed();
}

void TIntList::DeleteValue(Integer value) {
    const Integer index = IndexOf(value);
    if (index >= 0)
        Delete(index);
}

bool TIntList::HasValue(Integer value) const {
    return IndexOf(value) >= 0;
}

Integer TIntList::IndexOf(Integer value) const {
    return TList::IndexOf(ToSlot(value));
}

void TIntList::Insert(Integer index, Integer value) {
    TList::Insert(index, ToSlot(value));
}

void TIntList::Insert(Integer value) {
    if (Count() == 0)
        Add(value);
    else
        Insert(SortedPosOf(value), value);
}

Integer TIntList::SortedIndexOf(Integer value) const {
    Integer low = 0;
    Integer high = Count() - 1;
    while (low <= high) {
        const Integer middle = low + (high - low) / 2;
        const Integer item = GetInteger(middle);
        if (value < item)
            high = middle - 1;
        else if (value > item)
            low = middle + 1;
        else
            return middle;
    }
    return -1;
}

Integer TIntList::SortedPosOf(Integer value) const {
    if (Count() == 0)
        return 0;
    Integer low = 0;
    Integer high = Count() - 1;
    Integer middle = 0;
    while (low <= high) {
        middle = low + (high - low) / 2;
        const Integer item = GetInteger(middle);
        if (value < item)
            high = middle - 1;
        else if (value > item)
            low = middle + 1;
        else
            break;
    }
    return GetInteger(middle) < value ? middle + 1 : middle;
}

Integer TIntList::GetInteger(Integer index) const {
    return FromSlot(TList::Items(index));
}

void TIntList::SetInteger(Integer index, Integer value) {
    TList::SetItems(index, ToSlot(value));
    Changed();
}

String TIntList::StrValue() const {
    String text;
    for (Integer i = 0; i < Count(); ++i) {
        if (i > 0)
            text += u',';
        text += IntToStr(GetInteger(i));
    }
    return text;
}

void TIntList::SetStrValue(const String& value) {
    TStringList items;
    items.SetCommaText(value);
    Clear();
    for (Integer i = 0; i < items.Count(); ++i)
        Add(StrToInt(items.Strings(i)));
}

// ---- TSortIndexList

DEFINE_CLASS(TSortIndexList)

void TSortIndexList::AddIndex(Integer columnIndex, bool ascending) {
    Cardinal item = static_cast<Cardinal>(columnIndex);
    if (!ascending)
        item |= kDescending;
    Add(static_cast<Integer>(item));
}

Integer TSortIndexList::FindIndex(Integer columnIndex) const {
    for (Integer i = 0; i < Count(); ++i)
        if (SortColumns(i) == columnIndex)
            return i;
    return -1;
}

void TSortIndexList::ToggleIndex(Integer columnIndex) {
    const Integer index = FindIndex(columnIndex);
    if (index >= 0)
        SetInteger(index, static_cast<Integer>(static_cast<Cardinal>(GetInteger(index)) ^ kDescending));
}

Integer TSortIndexList::SortColumns(Integer i) const {
    return static_cast<Integer>(static_cast<Cardinal>(GetInteger(i)) & kColumnBits);
}

void TSortIndexList::SetSortColumns(Integer i, Integer columnIndex) {
    const Cardinal direction = static_cast<Cardinal>(GetInteger(i)) & kDescending;
    SetInteger(i, static_cast<Integer>(direction | (static_cast<Cardinal>(columnIndex) & kColumnBits)));
}

bool TSortIndexList::SortDirections(Integer i) const {
    return (static_cast<Cardinal>(GetInteger(i)) & kDescending) == 0;
}

void TSortIndexList::SetSortDirections(Integer i, bool ascending) {
    const Cardinal column = static_cast<Cardinal>(GetInteger(i)) & kColumnBits;
    SetInteger(i, static_cast<Integer>(ascending ? column : column | kDescending));
}

// The whole column is written, not only its low 16 bits, so that every list reads back as it was; a
// column below 65536 is written as the low 16 bits would write it.
String TSortIndexList::SaveToString() const {
    String text;
    for (Integer i = 0; i < Count(); ++i) {
        if (i > 0)
            text += u';';
        text += SortDirections(i) ? u'u' : u'd';
        text += IntToStr(SortColumns(i));
    }
    return text;
}

// A column that is not a number is skipped rather than added with a made-up value.
void TSortIndexList::LoadFromString(const String& s) {
    Clear();
    StringView rest(s);
    while (true) {
        const std::size_t separator = rest.find(u';');
        const StringView piece = rest.substr(0, separator);
        Integer column = 0;
        if (piece.size() >= 2 && TryStrToInt(piece.substr(1), column) && column >= 0)
            AddIndex(column, piece[0] == u'u');
        if (separator == StringView::npos)
            break;
        rest.remove_prefix(separator + 1);
    }
}

// ---- TFileStringList

DEFINE_CLASS(TFileStringList)

TFileStringList::TFileStringList() = default;

TFileStringList::~TFileStringList() = default;

void TFileStringList::Reset() {
    fp = 0;
    cache.clear();
}

bool TFileStringList::Eof() const {
    return fp >= Count();
}

void TFileStringList::ReadLn(String& s) {
    s = Strings(fp);
    ++fp;
}

void TFileStringList::Write(const String& s) {
    cache += s;
}

void TFileStringList::WriteLn(const String& s) {
    Add(cache + s);
    cache.clear();
}

// ---- TControlList

DEFINE_CLASS(TControlItem)

TControlItem::TControlItem(Integer AX, Integer AY, TControl* AObject) : FX(AX), FY(AY), FObject(AObject) {}

TControlItem::~TControlItem() = default;

TControlList::TControlList() = default;

// TList's destructor would clear the list after this class's Notify is gone.
TControlList::~TControlList() {
    Clear();
}

void TControlList::Notify(void* item, TListNotification action) {
    if (action == lnDeleted)
        delete static_cast<TControlItem*>(item);
}

void TControlList::AddControl(Integer X, Integer Y, TControl* AObject) {
    Add(new TControlItem(X, Y, AObject));
}

Integer TControlList::ControlIndex(Integer X, Integer Y) const {
    for (Integer i = 0; i < Count(); ++i) {
        const TControlItem* item = GetControl(i);
        if (item->X() == X && item->Y() == Y)
            return i;
    }
    return -1;
}

TControlItem* TControlList::GetControl(Integer i) const {
    return static_cast<TControlItem*>(Items(i));
}

void TControlList::RemoveControl(Integer i) {
    Delete(i);
}

bool TControlList::HasHandle(HWND handle) const {
    if (handle == nullptr)
        return false;
    for (Integer i = 0; i < Count(); ++i) {
        const auto* control = dynamic_cast<const TWinControl*>(GetControl(i)->Control());
        if (control && control->WindowHandle() == handle)
            return true;
    }
    return false;
}
