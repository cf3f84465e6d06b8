// Tests of the grid's balloon tooltip window over the life of its window, and of the search panel's
// layout from the search footer settings.
#include <string>
#include <vector>

#include "tests/grid/engine/AdvGridWndProcTesting.h"

#include "platform/win32/commctrl.h"

namespace {

using AdvGridBalloonTest = WndProcTest;

// The tooltip windows of a child window: owned, as Win32 has it, by its top-level window.
std::vector<HWND> ToolTipsOf(HWND child) {
    const HWND owner = GetAncestor(child, GA_ROOT);
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{owner, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            WCHAR name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (String(name) == TOOLTIPS_CLASSW && GetWindow(hwnd, GW_OWNER) == s->owner)
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(AdvGridBalloonTest, OneBalloonWindowWhateverTheEnablesAndAgainAfterRecreation) {
    EXPECT_TRUE(ToolTipsOf(FGrid->WindowHandle()).empty());
    FGrid->Balloon()->SetEnable(true);
    FGrid->BalloonInit();
    const std::vector<HWND> first = ToolTipsOf(FGrid->WindowHandle());
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0], FGrid->ToolTipHandle());
    EXPECT_EQ(SendMessageW(first[0], TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_NE(GetWindowLongW(first[0], GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    // A new window for the grid (a style change recreates it) gets a balloon window of its own.
    const HWND oldGrid = FGrid->WindowHandle();
    FGrid->SetBorderStyle(bsSingle);
    Pump();
    ASSERT_NE(FGrid->WindowHandle(), oldGrid);
    EXPECT_FALSE(IsWindow(first[0]));
    const std::vector<HWND> second = ToolTipsOf(FGrid->WindowHandle());
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0], FGrid->ToolTipHandle());
    EXPECT_EQ(SendMessageW(second[0], TTM_GETTOOLCOUNT, 0, 0), 1);

    FGrid->Balloon()->SetEnable(false);
    EXPECT_FALSE(IsWindow(second[0]));
    EXPECT_EQ(FGrid->ToolTipHandle(), nullptr);
}

TEST_F(AdvGridBalloonTest, DelaysOfMinusOneLeaveTheSystemsAndTransparencyMakesItLayered) {
    FGrid->Balloon()->SetEnable(true);
    const HWND plain = FGrid->ToolTipHandle();
    ASSERT_NE(plain, nullptr);
    const LRESULT systemInitial = SendMessageW(plain, TTM_GETDELAYTIME, TTDT_INITIAL, 0);
    const LRESULT systemAutoPop = SendMessageW(plain, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0);
    EXPECT_EQ(GetWindowLongW(plain, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    FGrid->Balloon()->SetEnable(false);

    FGrid->Balloon()->SetInitialDelay(1234);
    FGrid->Balloon()->SetReshowDelay(77);
    FGrid->Balloon()->SetTransparency(55);
    FGrid->Balloon()->SetEnable(true);
    const HWND tip = FGrid->ToolTipHandle();
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 1234);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 77);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), systemAutoPop);
    EXPECT_NE(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), systemInitial);
    EXPECT_NE(GetWindowLongW(tip, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(AdvGridBalloonTest, NoBalloonsWhileLoadingOrWithoutAWindow) {
    auto* loose = new TWndProcGrid(nullptr);
    loose->Balloon()->SetEnable(true);
    EXPECT_EQ(loose->ToolTipHandle(), nullptr);
    // Its window's creation starts them.
    loose->SetParent(FForm);
    Pump();
    ASSERT_TRUE(loose->HandleAllocated());
    EXPECT_EQ(ToolTipsOf(loose->WindowHandle()).size(), 1u);
    delete loose;
}

// ---- The search panel

TEST_F(AdvGridBalloonTest, SearchFooterLaysOutTheSearchPanel) {
    struct Case {
        const char* name;
        bool visible;
        bool showHighLight;
        bool showMatchCase;
        bool showFindPrev;
        Integer matchCaseLeft;
        Integer buttonHeights[3]; // forward, backward, highlight
        Integer matchCaseHeight;
        Integer panelHeight;
    };
    auto* panel = FGrid->Inner<TSearchPanel>();
    ASSERT_NE(panel, nullptr);
    TSearchFooter* footer = FGrid->SearchFooter();
    for (const Case& c : {
             Case{"all shown", true, true, true, true, 425, {23, 23, 23}, 18, 32},
             Case{"no highlight button", true, false, true, true, 330, {23, 23, 0}, 18, 32},
             Case{"no match case, no previous", true, true, false, false, 425, {23, 0, 23}, 0, 32},
             Case{"footer hidden", false, true, true, true, 425, {23, 23, 23}, 18, 0},
         }) {
        SCOPED_TRACE(c.name);
        footer->SetShowHighLight(c.showHighLight);
        footer->SetShowMatchCase(c.showMatchCase);
        footer->SetShowFindPrev(c.showFindPrev);
        footer->SetVisible(c.visible);
        footer->SetColor(footer->Color()); // fires the change on every call
        EXPECT_EQ(panel->MatchCase()->Left(), c.matchCaseLeft);
        EXPECT_EQ(panel->ForwardButton()->Height(), c.buttonHeights[0]);
        EXPECT_EQ(panel->BackwardButton()->Height(), c.buttonHeights[1]);
        EXPECT_EQ(panel->HiliteButton()->Height(), c.buttonHeights[2]);
        EXPECT_EQ(panel->MatchCase()->Height(), c.matchCaseHeight);
        EXPECT_EQ(panel->Height(), c.panelHeight);
        EXPECT_EQ(panel->Visible(), c.visible);
        if (c.visible) {
            EXPECT_EQ(panel->Top(), FGrid->Height() - 32);
        }
    }
}

TEST_F(AdvGridBalloonTest, SearchFooterGivesCaptionsHintsAndButtonLooks) {
    auto* panel = FGrid->Inner<TSearchPanel>();
    ASSERT_NE(panel, nullptr);
    TSearchFooter* footer = FGrid->SearchFooter();
    footer->SetFindNextCaption(u"Next");
    footer->SetFindPrevCaption(u"Back");
    footer->SetHintFindNext(u"Find the next match");
    footer->SetHintFindPrev(u"");
    footer->SetColorTo(0x00123456);
    EXPECT_EQ(panel->ForwardButton()->Caption(), u"Next");
    EXPECT_EQ(panel->BackwardButton()->Caption(), u"Back");
    EXPECT_EQ(panel->ForwardButton()->Hint(), u"Find the next match");
    EXPECT_TRUE(panel->ForwardButton()->ShowHint());
    EXPECT_FALSE(panel->BackwardButton()->ShowHint());
    EXPECT_EQ(panel->ColorTo(), TColor(0x00123456));

    struct Case {
        const char* name;
        AdvGrid::TControlStyle style;
        bool themeAdapt;
        bool flat;
        bool xpStyle;
    };
    for (const Case& c : {
             Case{"flat", AdvGrid::csFlat, false, true, false},
             Case{"XP", AdvGrid::csWinXP, false, false, true},
             Case{"theme", AdvGrid::csTheme, false, false, true},
             Case{"classic", AdvGrid::csClassic, false, false, false},
             Case{"theme adapting", AdvGrid::csClassic, true, true, false},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->ControlLook()->SetControlStyle(c.style);
        for (TAdvGridButton* b : {panel->ForwardButton(), panel->BackwardButton(), panel->HiliteButton()}) {
            b->SetFlat(!c.flat);
            b->SetAutoXPStyle(false);
        }
        footer->SetAutoThemeAdapt(c.themeAdapt);
        footer->SetColor(footer->Color());
        for (TAdvGridButton* b : {panel->ForwardButton(), panel->BackwardButton(), panel->HiliteButton()}) {
            EXPECT_EQ(b->Flat(), c.flat);
            EXPECT_EQ(b->AutoXPStyle(), c.xpStyle);
            EXPECT_EQ(b->AutoThemeAdapt(), c.themeAdapt);
        }
        for (TAdvGridButton* b : {panel->ForwardButton(), panel->BackwardButton(), panel->HiliteButton()})
            b->SetAutoThemeAdapt(false);
    }
}

} // namespace
