// Sorting of the lists in place through two callbacks, compare(i, j) and exchange(i, j), so that a
// compare function given indexes (as TStringList.CustomSort's is) sees the items at those indexes.
// Quicksort with a median of three, insertion sort for short runs and heapsort when the recursion
// grows too deep: O(n log n) in every case, no allocation. Every index stays inside the range even
// when compare is inconsistent.
#pragma once

#include "platform/rtl/Types.h"

namespace index_sort {

template <class Compare, class Exchange>
void SiftDown(Integer first, Integer root, Integer count, Compare& compare, Exchange& exchange) {
    for (;;) {
        Integer child = 2 * root + 1;
        if (child >= count)
            return;
        if (child + 1 < count && compare(first + child, first + child + 1) < 0)
            ++child;
        if (compare(first + root, first + child) >= 0)
            return;
        exchange(first + root, first + child);
        root = child;
    }
}

template <class Compare, class Exchange>
void HeapSort(Integer first, Integer last, Compare& compare, Exchange& exchange) {
    const Integer count = last - first + 1;
    for (Integer root = count / 2 - 1; root >= 0; --root)
        SiftDown(first, root, count, compare, exchange);
    for (Integer end = count - 1; end > 0; --end) {
        exchange(first, first + end);
        SiftDown(first, 0, end, compare, exchange);
    }
}

template <class Compare, class Exchange>
void InsertionSort(Integer first, Integer last, Compare& compare, Exchange& exchange) {
    for (Integer i = first + 1; i <= last; ++i)
        for (Integer j = i; j > first && compare(j - 1, j) > 0; --j)
            exchange(j - 1, j);
}

template <class Compare, class Exchange>
void IntroSort(Integer first, Integer last, Integer depth, Compare& compare, Exchange& exchange) {
    while (last - first > 16) {
        if (depth-- == 0) {
            HeapSort(first, last, compare, exchange);
            return;
        }
        // Median of three to the front as the pivot.
        const Integer mid = first + (last - first) / 2;
        if (compare(mid, first) < 0)
            exchange(mid, first);
        if (compare(last, first) < 0)
            exchange(last, first);
        if (compare(last, mid) < 0)
            exchange(last, mid);
        exchange(first, mid);
        // Both scans stop at items equal to the pivot, which keeps runs of equal items balanced.
        Integer i = first;
        Integer j = last + 1;
        for (;;) {
            do
                ++i;
            while (i < last && compare(i, first) < 0);
            do
                --j;
            while (j > first && compare(j, first) > 0);
            if (i >= j)
                break;
            exchange(i, j);
        }
        exchange(first, j);
        // Recurse into the smaller part, loop on the larger one: the stack stays O(log n).
        if (j - first < last - j) {
            IntroSort(first, j - 1, depth, compare, exchange);
            first = j + 1;
        } else {
            IntroSort(j + 1, last, depth, compare, exchange);
            last = j - 1;
        }
    }
    InsertionSort(first, last, compare, exchange);
}

// Sorts the items first..last (inclusive). compare answers < 0, 0 or > 0 as the item at its first
// index goes before, with or after the one at its second.
template <class Compare, class Exchange>
void Sort(Integer first, Integer last, Compare compare, Exchange exchange) {
    if (last <= first)
        return;
    Integer depth = 0;
    for (Integer n = last - first + 1; n > 1; n >>= 1)
        depth += 2;
    IntroSort(first, last, depth, compare, exchange);
}

} // namespace index_sort
