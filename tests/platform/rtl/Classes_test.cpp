// Tests of TList: editing, notifications, errors and sorting.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

namespace {

void* P(std::intptr_t n) {
    return reinterpret_cast<void*>(n);
}

std::vector<std::intptr_t> ItemsOf(const TList& list) {
    std::vector<std::intptr_t> items;
    for (Integer i = 0; i < list.Count(); ++i)
        items.push_back(reinterpret_cast<std::intptr_t>(list.Items(i)));
    return items;
}

// Records what the list tells it, as a subclass that owns its items would see it.
class TRecordingList : public TList {
public:
    ~TRecordingList() override { Clear(); }
    std::string log;

protected:
    void Notify(void* item, TListNotification action) override {
        log += (action == lnAdded     ? "+"
                : action == lnDeleted ? "-"
                                      : "x") +
               std::to_string(reinterpret_cast<std::intptr_t>(item)) + " ";
    }
};

TEST(List, EditsKeepOrderAndNotify) {
    TRecordingList list;
    list.Add(P(1));
    list.Add(P(2));
    list.Add(nullptr);
    list.Insert(0, P(3));
    EXPECT_EQ(ItemsOf(list), (std::vector<std::intptr_t>{3, 1, 2, 0}));
    EXPECT_EQ(list.log, "+1 +2 +3 ");

    list.log.clear();
    list.Move(0, 2);
    list.Exchange(0, 3);
    EXPECT_EQ(ItemsOf(list), (std::vector<std::intptr_t>{0, 2, 3, 1}));
    EXPECT_EQ(list.log, "");

    EXPECT_EQ(list.Extract(P(3)), P(3));
    EXPECT_EQ(list.Extract(P(9)), nullptr);
    EXPECT_EQ(list.Remove(P(2)), 1);
    EXPECT_EQ(list.Remove(P(2)), -1);
    list.SetItems(1, P(4));
    EXPECT_EQ(list.log, "x3 -2 -1 +4 ");

    list.Pack();
    EXPECT_EQ(ItemsOf(list), (std::vector<std::intptr_t>{4}));
    EXPECT_EQ(list.First(), P(4));
    EXPECT_EQ(list.Last(), P(4));

    list.SetCount(3);
    EXPECT_EQ(ItemsOf(list), (std::vector<std::intptr_t>{4, 0, 0}));
    list.log.clear();
    list.Clear();
    EXPECT_EQ(list.log, "-4 ");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(List, ErrorsNameTheIndex) {
    TList list;
    list.Add(P(1));
    auto message = [](auto action) -> std::string {
        try {
            action();
        } catch (const EListError& e) {
            return e.what();
        }
        return "(no exception)";
    };
    EXPECT_EQ(message([&] { list.Items(1); }), "List index out of bounds (1)");
    EXPECT_EQ(message([&] { list.Delete(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(message([&] { list.Insert(2, nullptr); }), "List index out of bounds (2)");
    EXPECT_EQ(message([&] { list.Exchange(0, 5); }), "List index out of bounds (5)");
    EXPECT_EQ(message([&] { list.Move(0, 1); }), "List index out of bounds (1)");
    EXPECT_EQ(message([&] { list.SetCapacity(0); }), "List capacity out of bounds (0)");
    EXPECT_EQ(message([&] { list.SetCount(-1); }), "List count out of bounds (-1)");
    list.Clear();
    EXPECT_THROW(list.First(), EListError);
    EXPECT_THROW(list.Last(), EListError);
}

TEST(List, CapacityGrowsAheadOfTheCount) {
    TList list;
    EXPECT_EQ(list.Expand(), &list);
    EXPECT_GE(list.Capacity(), 1);
    for (int i = 0; i < 1000; ++i) {
        list.Add(P(i));
        ASSERT_GE(list.Capacity(), list.Count());
    }
    list.SetCapacity(1000);
    EXPECT_EQ(list.Capacity(), 1000);
}

TEST(List, SortOrdersByTheCompareFunction) {
    std::mt19937 random(11);
    TList list;
    for (int i = 0; i < 3000; ++i)
        list.Add(P(random() % 500));
    list.Sort([](void* a, void* b) {
        const auto x = reinterpret_cast<std::intptr_t>(a);
        const auto y = reinterpret_cast<std::intptr_t>(b);
        return x < y ? -1 : x > y ? 1 : 0;
    });
    const auto items = ItemsOf(list);
    EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));

    // A compare function that contradicts itself must not reach outside the list.
    list.Sort([&](void*, void*) { return static_cast<Integer>(random() % 3) - 1; });
    auto shuffled = ItemsOf(list);
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, items);
}

} // namespace
