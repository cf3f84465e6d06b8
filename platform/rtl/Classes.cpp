// TList: a list of pointers with the framework's growth, notifications and errors.
#include "platform/rtl/Classes.h"

#include <algorithm>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IndexSort.h"

TList::TList() = default;

TList::~TList() {
    Clear();
}

Integer TList::Add(void* item) {
    const Integer index = Count();
    if (index == FCapacity)
        Grow();
    FList.push_back(item);
    if (item)
        Notify(item, lnAdded);
    return index;
}

void TList::Clear() {
    SetCount(0);
    SetCapacity(0);
}

void TList::Delete(Integer index) {
    if (index < 0 || index >= Count())
        Error(Consts::SListIndexError, index);
    void* item = FList[static_cast<size_t>(index)];
    FList.erase(FList.begin() + index);
    if (item)
        Notify(item, lnDeleted);
}

void TList::Error(const Char* message, Integer data) {
    throw EListError(message, {data});
}

void TList::Exchange(Integer index1, Integer index2) {
    if (index1 < 0 || index1 >= Count())
        Error(Consts::SListIndexError, index1);
    if (index2 < 0 || index2 >= Count())
        Error(Consts::SListIndexError, index2);
    std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
}

TList* TList::Expand() {
    if (Count() == FCapacity)
        Grow();
    return this;
}

void* TList::Extract(void* item) {
    const Integer index = IndexOf(item);
    if (index < 0)
        return nullptr;
    FList.erase(FList.begin() + index);
    if (item)
        Notify(item, lnExtracted);
    return item;
}

void* TList::First() const {
    return Items(0);
}

Integer TList::IndexOf(const void* item) const {
    auto found = std::find(FList.begin(), FList.end(), item);
    return found == FList.end() ? -1 : static_cast<Integer>(found - FList.begin());
}

void TList::Insert(Integer index, void* item) {
    if (index < 0 || index > Count())
        Error(Consts::SListIndexError, index);
    if (Count() == FCapacity)
        Grow();
    FList.insert(FList.begin() + index, item);
    if (item)
        Notify(item, lnAdded);
}

void* TList::Last() const {
    return Items(Count() - 1);
}

void TList::Move(Integer curIndex, Integer newIndex) {
    if (curIndex == newIndex)
        return;
    if (curIndex < 0 || curIndex >= Count())
        Error(Consts::SListIndexError, curIndex);
    if (newIndex < 0 || newIndex >= Count())
        Error(Consts::SListIndexError, newIndex);
    // Moving is not a deletion and an insertion: nothing is notified.
    auto from = FList.begin() + curIndex;
    auto to = FList.begin() + newIndex;
    if (curIndex < newIndex)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
}

Integer TList::Remove(void* item) {
    const Integer index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

void TList::Pack() {
    FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Sort(const TListSortCompare& compare) {
    if (Count() < 2 || !compare)
        return;
    void** items = FList.data();
    index_sort::Sort(
        0, Count() - 1, [&](Integer i, Integer j) { return compare(items[i], items[j]); },
        [&](Integer i, Integer j) { std::swap(items[i], items[j]); });
}

void TList::SetCapacity(Integer newCapacity) {
    if (newCapacity < Count())
        Error(Consts::SListCapacityError, newCapacity);
    if (newCapacity == FCapacity)
        return;
    if (newCapacity > FCapacity)
        FList.reserve(static_cast<size_t>(newCapacity));
    else if (newCapacity == 0)
        std::vector<void*>().swap(FList);
    FCapacity = newCapacity;
}

void TList::SetCount(Integer newCount) {
    if (newCount < 0)
        Error(Consts::SListCountError, newCount);
    if (newCount > FCapacity)
        SetCapacity(newCount);
    if (newCount > Count()) {
        FList.resize(static_cast<size_t>(newCount), nullptr);
        return;
    }
    for (Integer i = Count() - 1; i >= newCount; --i)
        Delete(i);
}

void* TList::Items(Integer index) const {
    if (index < 0 || index >= Count())
        Error(Consts::SListIndexError, index);
    return FList[static_cast<size_t>(index)];
}

void TList::SetItems(Integer index, void* item) {
    if (index < 0 || index >= Count())
        Error(Consts::SListIndexError, index);
    void* old = FList[static_cast<size_t>(index)];
    if (item == old)
        return;
    FList[static_cast<size_t>(index)] = item;
    if (old)
        Notify(old, lnDeleted);
    if (item)
        Notify(item, lnAdded);
}

void TList::Notify(void*, TListNotification) {}

void TList::Grow() {
    Integer delta = 4;
    if (FCapacity > 64)
        delta = FCapacity / 4;
    else if (FCapacity > 8)
        delta = 16;
    SetCapacity(FCapacity + delta);
}
