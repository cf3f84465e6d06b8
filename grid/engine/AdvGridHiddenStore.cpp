// The full string grid's hidden-row records and their store.
#include "grid/engine/AdvGridHiddenStore.h"

#include <algorithm>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Consts.h"

TStrings* THiddenRow::Items() {
    if (ItemsList() == nullptr) {
        auto items = std::make_unique<TStringList>();
        const Integer count = Count();
        for (Integer c = 0; c < count; ++c)
            items->AddObject(Strings(c), Objects(c));
        if (!FExtras)
            FExtras = std::make_unique<TExtras>();
        FExtras->items = std::move(items);
        FCells.reset();
    }
    return ItemsList();
}

void THiddenRow::SetItems(TStrings* value) {
    Items()->Assign(*value);
}

Integer THiddenRow::Count() const {
    if (const TStringList* items = ItemsList())
        return items->Count();
    return std::max(FColumns, FCells ? FCells->Count() : 0);
}

String THiddenRow::Strings(Integer index) const {
    if (const TStringList* items = ItemsList())
        return items->Strings(index);
    return FCells ? FCells->Text(index) : String();
}

TObject* THiddenRow::Objects(Integer index) const {
    if (const TStringList* items = ItemsList())
        return items->Objects(index);
    return FCells ? FCells->Object(index) : nullptr;
}

void THiddenRow::SetRowFlag(int slot, void* value) {
    if (value == nullptr && !FExtras)
        return;
    if (!FExtras)
        FExtras = std::make_unique<TExtras>();
    FExtras->rowFlags[slot] = value;
}

THiddenRow* THiddenRows::Items(Integer index) {
    if (index < 0 || index >= Count())
        TList::Error(Consts::SListIndexError, index);
    return &FRows[static_cast<size_t>(index)];
}

const THiddenRow* THiddenRows::Items(Integer index) const {
    if (index < 0 || index >= Count())
        TList::Error(Consts::SListIndexError, index);
    return &FRows[static_cast<size_t>(index)];
}
