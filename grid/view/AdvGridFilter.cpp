// The grid's filter settings, filter drop-down, filter row and their controls.
#include "grid/view/AdvGridFilter.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TFilterData, PROPERTY(Column).Default(0), PROPERTY(Condition),
             PROPERTY(CaseSensitive).Default(true), PROPERTY(Suffix), PROPERTY(Prefix),
             PROPERTY(Operation).Default(foSHORT), PROPERTY(Data).Default(fcVirtual),
             PROPERTY(Method).Default(fmExpression), PROPERTY(Enabled).Default(true),
             PROPERTY(RemoveAccented).Default(false))
DEFINE_CLASS(TFilter)

// ---- TFilterData

void TFilterData::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TFilterData*>(source);
    if (other == nullptr)
        return;
    FColumn = other->FColumn;
    FCondition = other->FCondition;
    FCaseSensitive = other->FCaseSensitive;
    FData = other->FData;
    FPrefix = other->FPrefix;
    FSuffix = other->FSuffix;
    FOperation = other->FOperation;
    FRemoveAccented = other->FRemoveAccented;
}

void TFilterData::BuildCondition(const String& s) {
    const String value = s.find(u' ') != String::npos ? u"\"" + s + u"\"" : s;
    switch (FFilterType) {
    case ftStartsWith:
        FCondition = value + u"*";
        break;
    case ftEndsWith:
        FCondition = u"*" + value;
        break;
    case ftContains:
        FCondition = u"*" + value + u"*";
        break;
    case ftNotContains:
        FCondition = u"!*" + value + u"*";
        break;
    case ftEqual:
        FCondition = value;
        break;
    case ftNotEqual:
        FCondition = u"!" + value;
        break;
    case ftClear:
    case ftNone:
        break;
    }
}

// ---- TFilter

TFilter::TFilter(TComponent* AOwner) : TOwnedCollection(AOwner, TFilterData::StaticClass()), FOwner(AOwner) {}

TFilterData* TFilter::Add() {
    auto* item = static_cast<TFilterData*>(TOwnedCollection::Add());
    item->SetOperation(Count() == 1 ? foNONE : foAND);
    return item;
}

TFilterData* TFilter::Insert(Integer /*index*/) {
    return static_cast<TFilterData*>(TOwnedCollection::Add());
}

TFilterData* TFilter::GetColFilter(Integer Col) {
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column() == Col)
            return Items(i);
    TFilterData* item = Add();
    item->SetColumn(Col);
    return item;
}

bool TFilter::HasFilter(Integer Col) const {
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column() == Col)
            return true;
    return false;
}

bool TFilter::HasOtherFilter(Integer Col) const {
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column() != Col)
            return true;
    return false;
}

TFilterType TFilter::HasFilterType(Integer Col) const {
    for (Integer i = 0; i < Count(); ++i)
        if (Items(i)->Column() == Col)
            return Items(i)->FilterType();
    return ftContains;
}

void TFilter::RemoveColumnFilter(Integer Col) {
    for (Integer i = Count() - 1; i >= 0; --i)
        if (Items(i)->Column() == Col)
            Delete(i);
    // The column's drop-down button shows whether it filters; the grid repaints as a whole, since the
    // collection cannot reach a single cell of it.
    if (auto* control = dynamic_cast<TControl*>(FOwner))
        control->Invalidate();
}
DEFINE_CLASS(TFilterDropDown)
DEFINE_CLASS(TFilterEdit, PROPERTY(Row).Default(0))
DEFINE_CLASS(TDropList)
DEFINE_CLASS(TDropCheckList)
DEFINE_CLASS(TGridTransEdit)
DEFINE_CLASS(TGridTransCombo)
