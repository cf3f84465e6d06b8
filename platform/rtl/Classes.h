// The framework's Classes unit: TList, the list of untyped pointers, with the string lists and streams
// for callers that want all of it.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Types.h"

// Negative when item1 goes before item2.
using TListSortCompare = std::function<Integer(void* item1, void* item2)>;

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Errors raise EListError "List index out of bounds (%d)" (or the capacity and count texts).
class TList {
public:
    TList();
    virtual ~TList();
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    Integer Add(void* item);
    // Empties the list and releases its memory.
    virtual void Clear();
    void Delete(Integer index);
    [[noreturn]] static void Error(const Char* message, Integer data);
    void Exchange(Integer index1, Integer index2);
    // Makes room for at least one more item.
    TList* Expand();
    // Removes item without counting it as deleted; answers it, or null when it is not in the list.
    void* Extract(void* item);
    void* First() const;
    Integer IndexOf(const void* item) const;
    void Insert(Integer index, void* item);
    void* Last() const;
    void Move(Integer curIndex, Integer newIndex);
    // Index the item had, or -1.
    Integer Remove(void* item);
    // Drops the null items.
    void Pack();
    void Sort(const TListSortCompare& compare);

    Integer Capacity() const { return FCapacity; }
    void SetCapacity(Integer newCapacity);
    Integer Count() const { return static_cast<Integer>(FList.size()); }
    // Growing adds null items; shrinking deletes the items past the new count.
    void SetCount(Integer newCount);
    void* Items(Integer index) const;
    void SetItems(Integer index, void* item);
    // The items themselves; valid until the list changes.
    void** List() { return FList.data(); }

protected:
    // Told of every non-null item that enters or leaves the list. A subclass that reacts to deletions
    // must Clear in its own destructor: by the time TList's runs, the override is gone.
    virtual void Notify(void* item, TListNotification action);
    virtual void Grow();

private:
    std::vector<void*> FList;
    Integer FCapacity = 0;
};
