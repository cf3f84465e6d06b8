// Tests of the tab control class: tabs through the TCM_ messages, the notifications a click and the keys
// give (and a refused change), scrolling a line of tabs too long for the control, several rows, the
// display area, owner drawing, and the look of the selected tab and of tab images in both painters.
#include <gtest/gtest.h>

#include "platform/win32/commctrl.h"
#include "platform/win32/imagelist.h"
#include "platform/win32/sysconfig.h"
#include "tests/platform/win32/controls/controls_testing.h"
#include "tests/platform/win32/gdi_test.h"

using namespace wintest;
using namespace controltest;

namespace {

class TabControlTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        // A parent that records the notifications (with the selection each one sees) and may refuse
        // a change.
        Options options;
        options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
        options.rect = RECT{0, 0, 400, 300};
        options.handler = [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_DRAWITEM) {
                const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                if (item.CtlType == ODT_TAB)
                    drawn.push_back(static_cast<int>(item.itemData));
                return TRUE;
            }
            if (message != WM_NOTIFY)
                return std::nullopt;
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            int sel = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
            notes.push_back(Note{header.code, sel});
            if (header.code == TCN_KEYDOWN)
                keys.push_back(reinterpret_cast<const NMTCKEYDOWN*>(lParam)->wVKey);
            return header.code == TCN_SELCHANGING && refuse ? 1 : 0;
        };
        FParent = Create(options);
        Pump();
    }

    HWND Tabs(std::initializer_list<const Char*> captions, DWORD style = 0,
              RECT rect = RECT{10, 10, 310, 210}) {
        HWND tabs = Child(WC_TABCONTROLW, style, rect);
        int i = 0;
        for (const Char* caption : captions) {
            Insert(tabs, i, caption, 101 + i);
            ++i;
        }
        return tabs;
    }
    static LRESULT Insert(HWND tabs, int index, const Char* caption, LPARAM param = 0) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<LPWSTR>(caption);
        item.lParam = param;
        return SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(&item));
    }
    static String Text(HWND tabs, int index) {
        Char buffer[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 64;
        if (!SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
            return u"<none>";
        return buffer;
    }
    static RECT ItemRect(HWND tabs, int index) {
        RECT rect{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    static int Sel(HWND tabs) { return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); }
    void ClickTab(HWND tabs, int index) {
        RECT rect = ItemRect(tabs, index);
        Click(tabs, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    struct Note {
        UINT code;
        int sel;
        bool operator==(const Note&) const = default;
    };
    std::vector<Note> notes;
    std::vector<WORD> keys;
    std::vector<int> drawn;
    bool refuse = false;
};

TEST_F(TabControlTest, TabsThroughMessages) {
    HWND tabs = Tabs({});
    EXPECT_EQ(Sel(tabs), -1);
    EXPECT_EQ(Insert(tabs, 5, u"First", 7), 0) << "past the end appends";
    EXPECT_EQ(Sel(tabs), 0) << "the first tab is selected";
    EXPECT_EQ(Insert(tabs, 0, u"Zero"), 0);
    EXPECT_EQ(Sel(tabs), 1) << "the selection stays on its tab";
    Insert(tabs, 2, u"Last");
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(Insert(tabs, -1, u"Bad"), -1);

    // Text is cut to the caller's buffer; the param comes back.
    Char small[4] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = small;
    item.cchTextMax = 4;
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(String(small), u"Fir");
    EXPECT_EQ(item.lParam, 7);
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(u"Renamed");
    EXPECT_TRUE(SendMessageW(tabs, TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(Text(tabs, 1), u"Renamed");
    EXPECT_FALSE(SendMessageW(tabs, TCM_SETITEMW, 3, reinterpret_cast<LPARAM>(&item)));

    // Tabs run left to right; a point finds its tab.
    RECT first = ItemRect(tabs, 0);
    RECT second = ItemRect(tabs, 1);
    EXPECT_EQ(first.right, second.left);
    TCHITTESTINFO hit{POINT{second.left + 3, second.top + 3}, 0};
    EXPECT_EQ(SendMessageW(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, TCHT_ONITEM);
    hit.pt = POINT{150, 150};
    EXPECT_EQ(SendMessageW(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, TCHT_NOWHERE);

    // Choosing in code tells nobody; -1 leaves none chosen, an index past the tabs is refused.
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 2, 0), 1);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 3, 0), -1);
    EXPECT_EQ(Sel(tabs), 2);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(-1), 0), 2);
    EXPECT_EQ(Sel(tabs), -1);
    EXPECT_TRUE(notes.empty());

    // Deleting the selected tab leaves none selected; deleting one before it moves it down.
    SendMessageW(tabs, TCM_SETCURSEL, 2, 0);
    EXPECT_TRUE(SendMessageW(tabs, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ(Sel(tabs), 1);
    EXPECT_TRUE(SendMessageW(tabs, TCM_DELETEITEM, 1, 0));
    EXPECT_EQ(Sel(tabs), -1);
    EXPECT_FALSE(SendMessageW(tabs, TCM_DELETEITEM, 1, 0));
    EXPECT_TRUE(SendMessageW(tabs, TCM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(TabControlTest, ClickSelectsUnlessTheParentRefuses) {
    HWND tabs = Tabs({u"One", u"Two", u"Three"});
    notes.clear();
    ClickTab(tabs, 2);
    EXPECT_EQ(Sel(tabs), 2);
    EXPECT_EQ(GetFocus(), tabs);
    // The parent sees the old selection while asked and the new one when told; the click comes last.
    EXPECT_EQ(notes, (std::vector<Note>{{TCN_SELCHANGING, 0}, {TCN_SELCHANGE, 2}, {NM_CLICK, 2}}));

    notes.clear();
    refuse = true;
    ClickTab(tabs, 0);
    EXPECT_EQ(Sel(tabs), 2);
    EXPECT_EQ(notes, (std::vector<Note>{{TCN_SELCHANGING, 2}, {NM_CLICK, 2}}));

    // Clicking the selected tab asks nothing; TCS_FOCUSNEVER keeps the focus where it was.
    refuse = false;
    notes.clear();
    ClickTab(tabs, 2);
    EXPECT_EQ(notes, (std::vector<Note>{{NM_CLICK, 2}}));
    HWND never = Tabs({u"A", u"B"}, TCS_FOCUSNEVER, RECT{10, 220, 310, 290});
    ClickTab(never, 1);
    EXPECT_EQ(Sel(never), 1);
    EXPECT_EQ(GetFocus(), tabs);
}

TEST_F(TabControlTest, Keyboard) {
    HWND tabs = Tabs({u"One", u"Two", u"Three"});
    SetFocus(tabs);
    notes.clear();
    Press(VK_RIGHT);
    EXPECT_EQ(Sel(tabs), 1);
    EXPECT_EQ(notes, (std::vector<Note>{{TCN_KEYDOWN, 0}, {TCN_SELCHANGING, 0}, {TCN_SELCHANGE, 1}}));
    Press(VK_RIGHT);
    Press(VK_RIGHT); // no tab further right
    EXPECT_EQ(Sel(tabs), 2);
    Press(VK_LEFT);
    EXPECT_EQ(Sel(tabs), 1);
    EXPECT_EQ(keys, (std::vector<WORD>{VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_LEFT}));

    // Ctrl+Tab goes round, with Shift backwards.
    SendMessageW(tabs, TCM_SETCURSEL, 2, 0);
    Chord(VK_CONTROL, VK_TAB);
    EXPECT_EQ(Sel(tabs), 0);
    win32::input::Key(VK_CONTROL, true);
    Chord(VK_SHIFT, VK_TAB);
    win32::input::Key(VK_CONTROL, false);
    PumpInput();
    EXPECT_EQ(Sel(tabs), 2);

    // Setting the focus on a tab selects it, as the user would.
    notes.clear();
    SendMessageW(tabs, TCM_SETCURFOCUS, 1, 0);
    EXPECT_EQ(Sel(tabs), 1);
    EXPECT_EQ(notes, (std::vector<Note>{{TCN_SELCHANGING, 2}, {TCN_SELCHANGE, 1}}));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURFOCUS, 0, 0), 1);
}

// The messages of each action, the control's and its parent's, in order.
TEST_F(TabControlTest, MessageSequences) {
    MessageLog log;
    log.Name(FParent, "parent");
    // Create.
    HWND tabs = Tabs({u"One", u"Two", u"Three"});
    log.Name(tabs, "tabs");
    EXPECT_TRUE(log.Matches({
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_CREATE, 100)},
    }));
    controltest::Record(tabs);
    // A click on the third tab takes the focus, asks the parent, selects and tells, then clicks. The
    // parent reads the selection (TCM_GETCURSEL) in each notification.
    RECT third = ItemRect(tabs, 2);
    log.Clear();
    Click(tabs, (third.left + third.right) / 2, (third.top + third.bottom) / 2);
    EXPECT_TRUE(log.Matches({
        {"tabs", WM_MOUSEACTIVATE, Sent | Optional},
        {"parent", WM_MOUSEACTIVATE, Sent | Optional},
        {"tabs", WM_LBUTTONDOWN, Sent | WParam, MK_LBUTTON},
        {"parent", WM_KILLFOCUS, Sent},
        {"tabs", WM_SETFOCUS, Sent},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 100, 0, TCN_SELCHANGING},
        {"tabs", TCM_GETCURSEL, Sent},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 100, 0, TCN_SELCHANGE},
        {"tabs", TCM_GETCURSEL, Sent},
        {"tabs", WM_LBUTTONUP, Sent},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 100, 0, NM_CLICK},
        {"tabs", TCM_GETCURSEL, Sent},
    }));
    EXPECT_EQ(Sel(tabs), 2);
    EXPECT_EQ(GetFocus(), tabs);
    // The left arrow: the parent hears the key first, then the change.
    log.Clear();
    Press(VK_LEFT);
    EXPECT_TRUE(log.Matches({
        {"tabs", WM_KEYDOWN, Sent | WParam, VK_LEFT},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 100, 0, TCN_KEYDOWN},
        {"tabs", TCM_GETCURSEL, Sent},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 100, 0, TCN_SELCHANGING},
        {"tabs", TCM_GETCURSEL, Sent},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 100, 0, TCN_SELCHANGE},
        {"tabs", TCM_GETCURSEL, Sent},
        {"tabs", WM_KEYUP, Sent | WParam, VK_LEFT},
    }));
    EXPECT_EQ(Sel(tabs), 1);
    // The focus leaves and comes back.
    log.Clear();
    SetFocus(FParent);
    SetFocus(tabs);
    EXPECT_TRUE(log.Matches({
        {"tabs", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(FParent)},
        {"parent", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(tabs)},
        {"parent", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(tabs)},
        {"tabs", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(FParent)},
    }));
    // Destroy.
    log.Clear();
    DestroyWindow(tabs);
    EXPECT_TRUE(log.Matches({
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_DESTROY, 100)},
        {"tabs", WM_SHOWWINDOW, Sent | WParam, FALSE},
        {"tabs", WM_WINDOWPOSCHANGING, Sent},
        {"tabs", WM_WINDOWPOSCHANGED, Sent},
        {"tabs", WM_KILLFOCUS, Sent},
        {"parent", WM_SETFOCUS, Sent},
        {"tabs", WM_DESTROY, Sent},
        {"tabs", WM_NCDESTROY, Sent},
    }));
}

TEST_F(TabControlTest, ALineTooLongScrollsWithArrows) {
    HWND tabs = Tabs({u"Alpha", u"Bravo", u"Charlie", u"Delta", u"Echo", u"Foxtrot", u"Golf"}, 0,
                     RECT{10, 10, 170, 110});
    EXPECT_EQ(SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0), 1);
    RECT client;
    GetClientRect(tabs, &client);
    RECT last = ItemRect(tabs, 6);
    ASSERT_GT(last.right, client.right);
    // The arrows stand at the right end of the line; the right one moves the tabs left by one tab.
    RECT first = ItemRect(tabs, 0);
    int y = (first.top + first.bottom) / 2;
    Click(tabs, client.right - 4, y);
    RECT moved = ItemRect(tabs, 1);
    EXPECT_EQ(moved.left, first.left);
    TCHITTESTINFO hit{POINT{client.right - 4, y}, 0};
    EXPECT_EQ(SendMessageW(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1) << "over the arrows";
    Click(tabs, client.right - 20, y);
    EXPECT_EQ(ItemRect(tabs, 0).left, first.left);
    EXPECT_TRUE(notes.empty()) << "scrolling chooses nothing";

    // Choosing a tab out of sight brings it into view, clear of the arrows.
    SendMessageW(tabs, TCM_SETCURSEL, 6, 0);
    last = ItemRect(tabs, 6);
    EXPECT_LE(last.right, client.right - 32);
    EXPECT_GE(last.left, 0);
}

TEST_F(TabControlTest, SeveralRowsKeepTheSelectedRowNextToThePane) {
    HWND tabs = Tabs({u"Alpha", u"Bravo", u"Charlie", u"Delta", u"Echo", u"Foxtrot", u"Golf"}, TCS_MULTILINE,
                     RECT{10, 10, 170, 210});
    LRESULT rows = SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0);
    ASSERT_GT(rows, 1);
    // The rows fill the width; the first tab's row is next to the pane while it is selected.
    RECT client;
    GetClientRect(tabs, &client);
    RECT first = ItemRect(tabs, 0);
    int lowest = first.bottom;
    for (int i = 0; i < 7; ++i)
        lowest = std::max<int>(lowest, ItemRect(tabs, i).bottom);
    EXPECT_EQ(first.bottom, lowest);
    SendMessageW(tabs, TCM_SETCURSEL, 6, 0);
    EXPECT_EQ(ItemRect(tabs, 6).bottom, lowest);
    EXPECT_LT(ItemRect(tabs, 0).bottom, lowest);
    int rightmost = 0;
    for (int i = 0; i < 7; ++i)
        rightmost = std::max<int>(rightmost, ItemRect(tabs, i).right);
    EXPECT_EQ(rightmost, client.right - 2);

    // The display area is below every row and comes back to the window rectangle.
    RECT display = client;
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_GT(display.top, lowest);
    EXPECT_LT(display.bottom, client.bottom);
    SendMessageW(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    EXPECT_TRUE(EqualRect(&display, &client));

    // Tabs at the bottom put the display area above them.
    HWND bottom = Tabs({u"One"}, TCS_BOTTOM, RECT{200, 10, 390, 210});
    RECT area{0, 0, 190, 200};
    SendMessageW(bottom, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    EXPECT_LT(area.bottom, ItemRect(bottom, 0).top);
}

TEST_F(TabControlTest, FixedWidthAndOwnerDraw) {
    HWND tabs = Tabs({u"A", u"Much longer"}, TCS_FIXEDWIDTH | TCS_OWNERDRAWFIXED);
    SendMessageW(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(70, 30));
    RECT rect = ItemRect(tabs, 1);
    EXPECT_EQ(rect.right - rect.left, 70);
    EXPECT_EQ(rect.bottom - rect.top, 30);
    drawn.clear();
    InvalidateRect(tabs, nullptr, TRUE);
    Pump();
    // The parent draws each tab; its item data is the tab's param, the selected one drawn last.
    EXPECT_EQ(drawn, (std::vector<int>{102, 101}));
}

class TabControlLook : public TabControlTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = GetParam();
        win32::SetSystemSettings(settings);
        TabControlTest::SetUp();
    }
};

// The selected tab stands higher than the others.
TEST_P(TabControlLook, SelectedTabStandsOut) {
    HWND tabs = Tabs({u"One", u"Two"});
    Pump();
    RECT first = ItemRect(tabs, 0);
    RECT second = ItemRect(tabs, 1);
    int y = first.top - 1;
    HDC dc = GetDC(tabs);
    COLORREF selected = GetPixel(dc, (first.left + first.right) / 2, y);
    COLORREF other = GetPixel(dc, (second.left + second.right) / 2, y);
    ReleaseDC(tabs, dc);
    EXPECT_NE(selected, other);
}

// A tab naming a picture shows it whole, left of its text, and grows for it; a tab naming none keeps its
// size and shows no picture.
TEST_P(TabControlLook, TabImageLeftOfTheText) {
    HWND tabs = Tabs({u"One", u"One"});
    const RECT plain = ItemRect(tabs, 0);
    HIMAGELIST images = ImageList_Create(12, 20, ILC_COLOR32, 1, 1);
    {
        gdi_test::Canvas red(12, 20);
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
        RECT all{0, 0, 12, 20};
        FillRect(red.dc(), &all, brush);
        DeleteObject(brush);
        ASSERT_EQ(ImageList_Add(images, red.bitmap(), nullptr), 0);
    }
    EXPECT_EQ(SendMessageW(tabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images)), 0);
    TCITEMW item{};
    item.mask = TCIF_IMAGE;
    item.iImage = 0;
    SendMessageW(tabs, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    Pump();

    RECT with = ItemRect(tabs, 0);
    RECT without = ItemRect(tabs, 1);
    EXPECT_EQ(with.right - with.left, plain.right - plain.left + 12 + 3);
    EXPECT_EQ(without.right - without.left, plain.right - plain.left);
    EXPECT_GE(with.bottom - with.top, 20 + 2 * 3);
    auto redIn = [&](const RECT& rect, int& firstX, int& lastX) {
        HDC dc = GetDC(tabs);
        int count = 0;
        firstX = rect.right;
        lastX = rect.left;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (GetPixel(dc, x, y) == RGB(255, 0, 0)) {
                    ++count;
                    firstX = std::min(firstX, x);
                    lastX = std::max(lastX, x);
                }
        ReleaseDC(tabs, dc);
        return count;
    };
    int firstX = 0;
    int lastX = 0;
    EXPECT_EQ(redIn(with, firstX, lastX), 12 * 20);
    EXPECT_GE(firstX, with.left + 6);
    EXPECT_LT(lastX, (with.left + with.right) / 2) << "the text is right of the picture";
    EXPECT_EQ(redIn(without, firstX, lastX), 0);
    SendMessageW(tabs, TCM_SETIMAGELIST, 0, 0);
    ImageList_Destroy(images);
}

INSTANTIATE_TEST_SUITE_P(ThemedAndClassic, TabControlLook, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Themed" : "Classic";
                         });

} // namespace
