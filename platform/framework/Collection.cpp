// TCollection, TCollectionItem and TOwnedCollection.
#include "platform/framework/Collection.h"

#include <algorithm>
#include <iterator>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TCollectionItem)
DEFINE_CLASS(TCollection)
DEFINE_CLASS(TOwnedCollection)

// Items.

TCollectionItem::TCollectionItem(TCollection* collection) {
    // The item joins the list now but is announced (Notify, Update) only once it is whole, in
    // AfterConstruction: an owner reacting to the news may look at the derived item.
    if (collection != nullptr)
        collection->AttachItem(this);
}

void TCollectionItem::AfterConstruction() {
    if (FCollection != nullptr && FPendingNotify) {
        FPendingNotify = false;
        FCollection->Notify(this, cnAdded);
        FCollection->Changed();
    }
}

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (FCollection == collection)
        return;
    // Refused before the item leaves its collection, which keeps (and frees) it.
    if (collection != nullptr)
        collection->CheckItemClass(this);
    if (FCollection != nullptr)
        FCollection->RemoveItem(this);
    if (collection != nullptr)
        collection->InsertItem(this);
}

Integer TCollectionItem::Index() const {
    if (FCollection == nullptr)
        return -1;
    // Searched from the end: an item just added or about to go is usually there, so appending or
    // freeing items from the end costs the same whatever the collection's size.
    const auto& items = FCollection->FItems;
    auto it = std::find(items.rbegin(), items.rend(), this);
    return it == items.rend() ? -1 : static_cast<Integer>(items.rend() - it - 1);
}

void TCollectionItem::SetIndex(Integer index) {
    Integer current = Index();
    if (current < 0 || current == index)
        return;
    auto& items = FCollection->FItems;
    if (index < 0 || index >= static_cast<Integer>(items.size()))
        FCollection->IndexError(index);
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

void TCollectionItem::Changed(bool allItems) {
    if (FCollection != nullptr && FCollection->FUpdateCount == 0)
        FCollection->Update(allItems ? nullptr : this);
}

String TCollectionItem::GetNamePath() const {
    if (FCollection == nullptr)
        return ClassName();
    return Format(u"%s[%d]", {FCollection->GetNamePath(), Index()});
}

TPersistent* TCollectionItem::GetOwner() const {
    return FCollection;
}

// Collections.

TCollection::TCollection(TCollectionItemClass itemClass) : FItemClass(itemClass) {}

TCollection::~TCollection() {
    // No Update calls while the collection goes away.
    FUpdateCount = 1;
    Clear();
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = FItemClass->CreateItem(this);
    if (item->FCollection != this)
        item->SetCollection(this);
    return item;
}

void TCollection::AttachItem(TCollectionItem* item) {
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    item->FPendingNotify = true;
}

TCollectionItem* TCollection::Insert(Integer index) {
    TCollectionItem* item = Add();
    try {
        item->SetIndex(index);
    } catch (...) {
        item->Free();
        throw;
    }
    return item;
}

void TCollection::Delete(Integer index) {
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    item->Free();
}

void TCollection::Clear() {
    if (FItems.empty())
        return;
    BeginUpdate();
    try {
        while (!FItems.empty())
            FItems.back()->Free();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0)
        --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0)
        Update(nullptr);
}

TCollectionItem* TCollection::FindItemID(Integer id) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == id)
            return item;
    return nullptr;
}

TCollectionItem* TCollection::Extract(Integer index) {
    TCollectionItem* item = Items(index);
    RemoveItem(item);
    return item;
}

TCollectionItem* TCollection::Items(Integer index) const {
    if (index < 0 || index >= Count())
        IndexError(index);
    return FItems[static_cast<std::size_t>(index)];
}

void TCollection::SetItems(Integer index, TCollectionItem* value) {
    Items(index)->Assign(value);
}

void TCollection::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCollection*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->FItems)
            Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

String TCollection::PropName() const {
    TPersistent* owner = GetOwner();
    if (owner == nullptr)
        return String();
    for (const TPropInfo* prop : owner->ClassType()->Properties())
        if (prop->getObj != nullptr && prop->getObj(owner) == this)
            return prop->name;
    return String();
}

String TCollection::GetNamePath() const {
    TPersistent* owner = GetOwner();
    if (owner == nullptr)
        return ClassName();
    String ownerPath = owner->GetNamePath();
    String propName = PropName();
    if (ownerPath.empty() || propName.empty())
        return ClassName();
    return ownerPath + u"." + propName;
}

void TCollection::CheckItemClass(TCollectionItem* item) const {
    if (!item->InheritsFrom(FItemClass))
        throw EListError(Consts::SInvalidPropertyValue);
}

void TCollection::InsertItem(TCollectionItem* item) {
    CheckItemClass(item);
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, cnExtracting);
    // The first item is looked at before the search from the end, so that both ends cost the same.
    if (!FItems.empty() && FItems.front() == item) {
        FItems.pop_front();
    } else {
        auto it = std::find(FItems.rbegin(), FItems.rend(), item);
        if (it != FItems.rend())
            FItems.erase(std::next(it).base());
    }
    item->FCollection = nullptr;
    Changed();
}

void TCollection::IndexError(Integer index) const {
    throw EListError(Consts::SListIndexError, {index});
}
