// TCollection and TCollectionItem: lists of persistent items of one class, streamed as "<item ... end>"
// lists, with update counting and change notification.
#pragma once

#include <deque>

#include "platform/framework/Forward.h"
#include "platform/rtl/Persistent.h"

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
    DECLARE_CLASS(TCollectionItem, TPersistent)

public:
    // Adds the item to collection (when it is not null); the collection hears of it in AfterConstruction,
    // so create items with Add, through the metaclass or with CreateInstance.
    explicit TCollectionItem(TCollection* collection);
    // Takes the item out of its collection.
    ~TCollectionItem() override;
    void AfterConstruction() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to another collection (null: to none).
    void SetCollection(TCollection* collection);
    // Unique within its collection, never reused.
    Integer ID() const { return FID; }
    // The position in the collection, or -1. Setting it moves the item; EListError outside the list.
    Integer Index() const;
    virtual void SetIndex(Integer index);
    String DisplayName() const { return GetDisplayName(); }
    virtual void SetDisplayName(const String& value) {}
    // "<collection's name path>[<index>]".
    String GetNamePath() const override;
    TPersistent* GetOwner() const override;

protected:
    friend class TCollection;
    // Tells the collection (through Update) that this item or, with allItems, every item changed.
    void Changed(bool allItems);
    virtual String GetDisplayName() const { return ClassName(); }

private:
    TCollection* FCollection = nullptr;
    Integer FID = 0;
    bool FPendingNotify = false; // constructed into a collection, not yet announced
};

class TCollection : public TPersistent {
    DECLARE_CLASS(TCollection, TPersistent)

public:
    // itemClass is TCollectionItem or a class derived from it.
    explicit TCollection(TCollectionItemClass itemClass);
    ~TCollection() override;

    // A new item of ItemClass at the end.
    TCollectionItem* Add();
    // A new item moved to index.
    TCollectionItem* Insert(Integer index);
    // Frees the item at index; EListError "List index out of bounds (%d)" outside the list.
    void Delete(Integer index);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }
    // The item with that ID, or null.
    TCollectionItem* FindItemID(Integer id) const;
    // Takes the item at index out of the collection without freeing it.
    TCollectionItem* Extract(Integer index);

    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    // EListError "List index out of bounds (%d)" outside the list.
    TCollectionItem* Items(Integer index) const;
    // Assigns value to the item at index.
    void SetItems(Integer index, TCollectionItem* value);
    TCollectionItemClass ItemClass() const { return FItemClass; }

    // Copies the items of another collection (replacing these); other sources as TPersistent does.
    void Assign(TPersistent* source) override;
    // The owner's name path, a dot and the name of the owner's property that holds this collection.
    String GetNamePath() const override;

protected:
    friend class TCollectionItem;
    // Called with the changed item, or null when the whole collection changed, whenever no update is
    // in progress; the owner's reaction goes here.
    virtual void Update(TCollectionItem* item) {}
    virtual void Notify(TCollectionItem* item, TCollectionNotification action) {}
    void Changed();
    // The name of the owner's published property that holds this collection, or empty.
    String PropName() const;

private:
    void AttachItem(TCollectionItem* item);
    // Raises EListError "Invalid property value" unless item is of ItemClass.
    void CheckItemClass(TCollectionItem* item) const;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    [[noreturn]] void IndexError(Integer index) const;

    TCollectionItemClass FItemClass;
    // A deque, so that freeing the first item (a bounded history dropping its oldest) moves nothing.
    std::deque<TCollectionItem*> FItems;
    Integer FUpdateCount = 0;
    Integer FNextID = 0;
};

// A collection that belongs to a persistent object (usually the component that publishes it).
class TOwnedCollection : public TCollection {
    DECLARE_CLASS(TOwnedCollection, TCollection)

public:
    TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass)
        : TCollection(itemClass), FOwner(owner) {}
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};
