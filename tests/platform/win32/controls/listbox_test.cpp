// Tests of the LISTBOX control: items and their data, sorting and searching, the selection modes by mouse
// and keyboard with their notifications, owner-drawn items, scrolling and the selection highlight.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/backend/file.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/controls/controls_testing.h"

namespace {

using namespace controltest;
using wintest::MessageLog;

class ListBoxTest : public ControlTest {
protected:
    HWND List(DWORD style, std::initializer_list<const Char*> items = {},
              RECT rect = RECT{10, 10, 160, 110}) {
        HWND list = Child(u"ListBox", style | WS_VSCROLL, rect);
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        for (const Char* item : items)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return list;
    }
    static String Text(HWND list, int index) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        String text(static_cast<size_t>(length) + 1, u'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }
    // Clicks the middle of an item, far in time from the last click.
    void ClickItem(HWND list, int index, int keyState = 0) {
        RECT rect{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        Clock::Advance(1000);
        if (keyState)
            win32::input::Key(keyState, true);
        Click(list, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        if (keyState) {
            win32::input::Key(keyState, false);
            PumpInput();
        }
    }
    static std::vector<int> Selected(HWND list) {
        std::vector<int> items(64);
        LRESULT count = SendMessageW(list, LB_GETSELITEMS, 64, reinterpret_cast<LPARAM>(items.data()));
        items.resize(count < 0 ? 0 : static_cast<size_t>(count));
        return items;
    }
};

TEST_F(ListBoxTest, ItemsDataSortingAndSearching) {
    HWND list = List(LBS_NOTIFY | LBS_SORT, {u"pear", u"Apple", u"banana"});
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Text(list, 0), u"Apple");
    EXPECT_EQ(Text(list, 2), u"pear");
    // Insertion ignores sorting; -1 appends; past the end fails.
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(u"zz")), 1);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"end")),
              4);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETITEMDATA, 2, 1234), TRUE);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 2, 0), 1234);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 7, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 7, 0), LB_ERR);

    // Prefix search is case-blind, starts after the given item and wraps round.
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"BAN")),
              2);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, 2, reinterpret_cast<LPARAM>(u"a")), 0);
    EXPECT_EQ(
        SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"ban")),
        LB_ERR);
    EXPECT_EQ(
        SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"PEAR")),
        3);
    EXPECT_EQ(SendMessageW(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"pe")),
              3);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 99, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);

    // Deleting the selected item leaves no selection; the answer is the count left.
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 3, 0), 4);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 4, 0), LB_ERR);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxTest, SingleSelectionByMouseAndKeyboard) {
    HWND list = List(LBS_NOTIFY, {u"one", u"two", u"three", u"four"});
    MessageLog log;
    ClickItem(list, 1);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    std::vector<WORD> codes = Notifications(log, FParent, list);
    EXPECT_EQ(codes, (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE}));

    log.Clear();
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    Press(VK_END);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    Press(VK_DOWN); // already at the end: nothing changes, nothing is said
    Type(u"t");     // the next item starting with t, round from the end
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Notifications(log, FParent, list),
              (std::vector<WORD>{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));

    // Programmatic selection says nothing; -1 clears and answers LB_ERR.
    log.Clear();
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_TRUE(Notifications(log, FParent, list).empty());
    // Multiple-selection messages fail on a single-selection list.
    EXPECT_EQ(SendMessageW(list, LB_SETSEL, TRUE, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), LB_ERR);
}

TEST_F(ListBoxTest, DoubleClickNotifiesAfterTheSelection) {
    HWND list = List(LBS_NOTIFY, {u"one", u"two"});
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
    MessageLog log;
    Click(list, 10, (rect.top + rect.bottom) / 2, true);
    EXPECT_EQ(Notifications(log, FParent, list),
              (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE, LBN_DBLCLK, LBN_SELCHANGE}));
}

TEST_F(ListBoxTest, MultipleSelectionTogglesEachClick) {
    HWND list = List(LBS_NOTIFY | LBS_MULTIPLESEL, {u"a", u"b", u"c", u"d"});
    ClickItem(list, 1);
    ClickItem(list, 3);
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 3}));
    ClickItem(list, 1);
    EXPECT_EQ(Selected(list), (std::vector<int>{3}));
    // The space bar toggles the focus item.
    Press(VK_UP);
    Press(VK_SPACE);
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 3}));
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 1, 0), LB_ERR);
    SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(-1));
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 4);
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndControl) {
    HWND list = List(LBS_NOTIFY | LBS_EXTENDEDSEL, {u"a", u"b", u"c", u"d", u"e"});
    ClickItem(list, 1);
    EXPECT_EQ(Selected(list), (std::vector<int>{1}));
    ClickItem(list, 3, VK_SHIFT);
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 2, 3}));
    ClickItem(list, 2, VK_CONTROL);
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 3}));
    ClickItem(list, 4);
    EXPECT_EQ(Selected(list), (std::vector<int>{4}));
    Chord(VK_SHIFT, VK_UP);
    Chord(VK_SHIFT, VK_UP);
    EXPECT_EQ(Selected(list), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(SendMessageW(list, LB_GETCARETINDEX, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETANCHORINDEX, 0, 0), 4);
    // A range message: a first index above the last deselects.
    SendMessageW(list, LB_SELITEMRANGEEX, 3, 2);
    EXPECT_EQ(Selected(list), (std::vector<int>{4}));
}

TEST_F(ListBoxTest, OwnerDrawnVariableItemsAskTheParent) {
    std::vector<UINT> drawn;
    std::vector<ULONG_PTR> deleted;
    wintest::Options options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.rect = RECT{0, 0, 300, 300};
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            mis->itemHeight = 10 + 5 * static_cast<UINT>(mis->itemData);
            return TRUE;
        }
        if (message == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            drawn.push_back(dis->itemID | ((dis->itemState & ODS_SELECTED) ? 0x100u : 0u));
            return TRUE;
        }
        if (message == WM_DELETEITEM) {
            deleted.push_back(reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->itemData);
            return TRUE;
        }
        return std::nullopt;
    };
    HWND parent = wintest::Create(options);
    HWND list = CreateWindowExW(0, u"ListBox", u"", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE, 0, 0, 100,
                                100, parent, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    for (LPARAM data : {0, 1, 2})
        SendMessageW(list, LB_ADDSTRING, 0, data);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 10);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 2, 0), 20);
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.top, 25);
    EXPECT_EQ(rect.bottom, 45);
    // Without strings, LB_GETTEXT hands out the data.
    ULONG_PTR data = 0;
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(&data)),
              static_cast<LRESULT>(sizeof data));
    EXPECT_EQ(data, 1u);

    SendMessageW(list, LB_SETCURSEL, 1, 0);
    wintest::Pump();
    EXPECT_EQ(drawn, (std::vector<UINT>{0, 0x101, 2}));
    SendMessageW(list, LB_DELETESTRING, 2, 0);
    DestroyWindow(list);
    EXPECT_EQ(deleted, (std::vector<ULONG_PTR>{2, 1, 0}));
}

TEST_F(ListBoxTest, ScrollingKeepsTheSelectionInView) {
    HWND list = List(LBS_NOTIFY, {}, RECT{10, 10, 160, 60});
    for (int i = 0; i < 30; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"item"));
    SendMessageW(list, LB_SETCURSEL, 20, 0);
    int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_LE(top, 20);
    EXPECT_GT(top, 10);
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, 20, reinterpret_cast<LPARAM>(&rect));
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_LE(rect.bottom, client.bottom);
    // The top index cannot leave empty room under the last item.
    SendMessageW(list, LB_SETTOPINDEX, 29, 0);
    EXPECT_LT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 29);
    LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 2));
    EXPECT_EQ(LOWORD(hit), SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(HIWORD(hit), 0);
}

// A multi-column list fills its columns from the top, moves across them with Left and Right, and
// scrolls sideways by whole columns.
TEST_F(ListBoxTest, MultiColumnListsFillColumnsAndScrollByColumns) {
    HWND list = Child(u"ListBox", LBS_NOTIFY | LBS_MULTICOLUMN | WS_HSCROLL, RECT{10, 10, 210, 110});
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (int i = 0; i < 40; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"item"));
    SendMessageW(list, LB_SETCOLUMNWIDTH, 50, 0);
    auto height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    RECT client{};
    GetClientRect(list, &client);
    int rows = static_cast<int>(client.bottom) / height;
    int columns = static_cast<int>(client.right) / 50;
    ASSERT_GT(rows, 1);
    ASSERT_LT(columns * rows, 40) << "the list must be wider than its window";

    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(rows + 1), reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, height);
    EXPECT_EQ(rect.right, 100);
    EXPECT_EQ(rect.bottom, 2 * height);
    LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(75, height + 2));
    EXPECT_EQ(LOWORD(hit), rows + 1);
    EXPECT_EQ(HIWORD(hit), 0);

    // Keys: Right goes one column on (to the last item at the end), Left one back (not past the first).
    ClickItem(list, 1);
    Press(VK_RIGHT);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), rows + 1);
    Press(VK_LEFT);
    Press(VK_LEFT);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    SendMessageW(list, LB_SETCURSEL, 38, 0);
    Press(VK_RIGHT);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 39);

    // The last item is in view, with whole columns to its left: the top is the first item of a column.
    auto top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    int lastColumn = 39 / rows;
    EXPECT_EQ(top, (lastColumn - columns + 1) * rows);
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_HORZ, &info);
    EXPECT_EQ(info.nMax, lastColumn);
    EXPECT_EQ(info.nPage, static_cast<UINT>(columns));
    EXPECT_EQ(info.nPos, top / rows);

    SendMessageW(list, WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top - rows);
    SendMessageW(list, WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), rows);
    // A top index inside a column means the column's first item; none beyond the last full view.
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(rows + 1), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), rows);
    SendMessageW(list, LB_SETTOPINDEX, 39, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top);
}

// LB_DIR lists a folder's entries by pattern and kind: files sorted by name, folders as "[name]"
// after them, hidden (dot) files only when asked for.
TEST_F(ListBoxTest, DirListsTheEntriesTheFlagsAskFor) {
    namespace fs = std::filesystem;
    fs::path folder = backend::MakeTemporaryDirectory("zelmor-lbdir");
    ASSERT_FALSE(folder.empty());
    fs::create_directories(folder / "sub");
    fs::create_directories(folder / "docs.txt");
    for (const char* name : {"b.txt", "A.txt", ".hidden.txt", "notes.md"})
        std::ofstream(folder / name) << "x";
    String base = Utf8ToString(folder.string()) + u"/";
    struct Row {
        const char* name;
        UINT attributes;
        const char16_t* pattern;
        std::vector<String> expected;
    };
    const Row rows[] = {
        {"plain files by pattern", DDL_READWRITE, u"*.txt", {u"A.txt", u"b.txt"}},
        {"folders after the files",
         DDL_DIRECTORY,
         u"*",
         {u"A.txt", u"b.txt", u"notes.md", u"[docs.txt]", u"[sub]"}},
        {"hidden files when asked", DDL_HIDDEN, u"?*.txt", {u".hidden.txt", u"A.txt", u"b.txt"}},
        {"only folders", DDL_EXCLUSIVE | DDL_DIRECTORY, u"*", {u"[docs.txt]", u"[sub]"}},
        {"only hidden files", DDL_EXCLUSIVE | DDL_HIDDEN, u"*", {u".hidden.txt"}},
        {"no drives here", DDL_DRIVES, u"*.md", {u"notes.md"}},
        {"nothing matches", DDL_READWRITE, u"*.none", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND list = List(0, {}); // unsorted, so that the order is the listing's own
        String spec = base + row.pattern;
        LRESULT last = SendMessageW(list, LB_DIR, row.attributes, reinterpret_cast<LPARAM>(spec.c_str()));
        std::vector<String> listed;
        for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i)
            listed.push_back(Text(list, i));
        EXPECT_EQ(listed, row.expected);
        EXPECT_EQ(last, row.expected.empty() ? LB_ERR : static_cast<LRESULT>(row.expected.size()) - 1);
        DestroyWindow(list);
    }
    HWND list = List(0, {u"kept"});
    String missing = base + u"missing/*";
    EXPECT_EQ(SendMessageW(list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>(missing.c_str())), LB_ERR);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    fs::remove_all(folder);
}

TEST_F(ListBoxTest, TabStopsPlaceTheColumns) {
    HWND plain = List(0, {u"\tW"});
    int stop = 40;
    EXPECT_EQ(SendMessageW(plain, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop)), FALSE);
    HWND list = List(LBS_USETABSTOPS, {u"\tW"}, RECT{10, 120, 260, 160});
    EXPECT_EQ(SendMessageW(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop)), TRUE);
    wintest::Pump();
    HDC dc = GetDC(list);
    TEXTMETRICW tm{};
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
    // Tab stops are in quarters of the average character width, from the item's text start.
    int expected = stop * tm.tmAveCharWidth / 4;
    int first = -1;
    for (int x = 0; x < rect.right && first < 0; ++x)
        for (int y = rect.top; y < rect.bottom; ++y)
            if (GetPixel(dc, x, y) != GetSysColor(COLOR_WINDOW)) {
                first = x;
                break;
            }
    ReleaseDC(list, dc);
    EXPECT_GE(first, expected);
    EXPECT_LT(first, expected + 2 * tm.tmAveCharWidth + 4);
}

TEST_F(ListBoxTest, AHugeListCostsWhatIsVisible) {
    HWND list = List(0, {}, RECT{10, 10, 160, 60});
    for (int i = 0; i < 20000; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"row"));
    SendMessageW(list, LB_SETCURSEL, 19999, 0);
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    SendMessageW(list, LB_SETCURSEL, 10000, 0);
    EXPECT_LE(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 10000);
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 9990);
    wintest::Pump();
}

TEST_F(ListBoxTest, PaintsTheSelectedItemHighlighted) {
    HWND list = List(0, {u"one", u"two"});
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    wintest::Pump();
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
    HDC dc = GetDC(list);
    EXPECT_EQ(GetPixel(dc, rect.right - 3, (rect.top + rect.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetPixel(dc, rect.right - 3, rect.top - 3), GetSysColor(COLOR_WINDOW));
    ReleaseDC(list, dc);
}

} // namespace
