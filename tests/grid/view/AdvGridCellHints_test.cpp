// Tests of the balloon tip's text (TTN_GETDISPINFOW with the mouse over a cell, as the tooltip window
// asks its parent) and of the application hint the platform asks for with CM_HINTSHOW, anchors' titles
// among them.
#include <string>
#include <vector>

#include "tests/grid/view/GridKeysTesting.h"

#include "platform/framework/Application.h"
#include "platform/rtl/UString.h"
#include "platform/win32/commctrl.h"

namespace {

// What the grid tells the tooltip window: its title and icon.
struct TitleLog {
    static inline WNDPROC own = nullptr;
    static inline std::vector<std::string> titles;
    static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == TTM_SETTITLEW)
            titles.push_back(std::to_string(wParam) + " " +
                             StringToUtf8(reinterpret_cast<const Char*>(lParam)));
        return CallWindowProcW(own, hwnd, msg, wParam, lParam);
    }
};

class CellHintsTest : public GridKeysTest {
protected:
    void SetUp() override {
        GridKeysTest::SetUp();
        FGrid->Balloon()->SetEnable(true);
        Pump();
        ASSERT_NE(FGrid->ToolTipHandle(), nullptr);
        TitleLog::titles.clear();
        TitleLog::own = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            FGrid->ToolTipHandle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TitleLog::Proc)));
    }
    // The text the grid gives the balloon for the cell under the mouse.
    String BalloonText(Integer col, Integer row) {
        const TRect rect = FGrid->CellRect(col, row);
        const TPoint p = ScreenPoint(rect.Left + 5, rect.Top + 5);
        win32::input::MouseMove(p.X, p.Y);
        Pump();
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = FGrid->ToolTipHandle();
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(FGrid->WindowHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.lpszText != nullptr ? String(reinterpret_cast<const Char*>(info.lpszText)) : String();
    }
};

TEST_F(CellHintsTest, APlainCellShowsItsTextWithABlankTitleAndTheInformationIcon) {
    FGrid->SetCells(2, 3, u"\r\n<B>bold</B>\there");
    EXPECT_EQ(BalloonText(2, 3), u"bold here");
    FGrid->SetCells(2, 4, u"plain");
    EXPECT_EQ(BalloonText(2, 4), u"plain");
    EXPECT_EQ(TitleLog::titles, (std::vector<std::string>{"1  ", "1  "}));
}

TEST_F(CellHintsTest, ABalloonCellGivesItsOwnTitleTextAndIcon) {
    FGrid->AddBalloon(3, 2, u"Title", u"Balloon text", biWarning);
    EXPECT_EQ(BalloonText(3, 2), u"Balloon text");
    EXPECT_EQ(TitleLog::titles, (std::vector<std::string>{"2 Title"}));
}

TEST_F(CellHintsTest, LongTextsAndTitlesAreCut) {
    FGrid->SetCells(2, 3, String(3000, u'x'));
    FGrid->OnCellBalloon = [](TObject*, Integer, Integer, String& ATitle, String&, Integer&) {
        ATitle = String(150, u't');
    };
    EXPECT_EQ(BalloonText(2, 3), String(2045, u'x') + u"...");
    ASSERT_EQ(TitleLog::titles.size(), 1u);
    EXPECT_EQ(TitleLog::titles[0], "1 " + std::string(97, 't') + "...");

    // Texts up to the limit are kept whole.
    FGrid->OnCellBalloon = nullptr;
    FGrid->SetCells(2, 4, String(2048, u'y'));
    EXPECT_EQ(BalloonText(2, 4), String(2048, u'y'));
}

TEST_F(CellHintsTest, WithoutBalloonsTheNotificationIsLeftAlone) {
    FGrid->SetCells(2, 3, u"text");
    FGrid->Balloon()->SetEnable(false);
    NMTTDISPINFOW info{};
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(FGrid->WindowHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.lpszText, nullptr);
}

TEST_F(CellHintsTest, CommentsShowAtTheTopRightAndCellTextsAtTheCell) {
    FGrid->AddComment(2, 3, u"a comment");
    FGrid->SetCells(3, 4, u"<B>cell</B>");
    const TRect comment = FGrid->CellRect(2, 3);
    THintInfo info;
    info.CursorPos = TPoint(comment.Left + 5, comment.Top + 5);
    FGrid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, u"a comment");
    EXPECT_EQ(info.HintPos, FGrid->ClientToScreen(TPoint(comment.Right, comment.Top)));

    // With HintShowCells a normal cell's text is the hint.
    FGrid->SetHintShowCells(true);
    const TRect cell = FGrid->CellRect(3, 4);
    info = THintInfo();
    info.CursorPos = TPoint(cell.Left + 7, cell.Top + 5);
    FGrid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, u"cell");
    EXPECT_EQ(info.HintPos, FGrid->ClientToScreen(TPoint(cell.Left + 7, cell.Top)));
}

TEST_F(CellHintsTest, OnlyATextThatDoesNotFitShowsAsLargeText) {
    FGrid->SetHintShowLargeText(true);
    FGrid->SetHintShowLargeTextPos(hpCell);
    FGrid->SetCells(2, 3, u"fits");
    FGrid->SetCells(2, 4, u"a text far too long to fit into its cell");
    THintInfo info;
    const TRect small = FGrid->CellRect(2, 3);
    info.CursorPos = TPoint(small.Left + 5, small.Top + 5);
    FGrid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, u"");

    const TRect large = FGrid->CellRect(2, 4);
    info = THintInfo();
    info.CursorPos = TPoint(large.Left + 5, large.Top + 5);
    FGrid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, u"a text far too long to fit into its cell");
    EXPECT_EQ(info.HintPos, FGrid->ClientToScreen(TPoint(large.Left, large.Top)));
}

// The platform's own hint path: the mouse rests on an anchor of an HTML cell and the hint pause passes;
// the other cases ask the grid directly. With AnchorHint the anchor's title is the hint, or its address when
// it has none, placed beside the cursor; OnAnchorHint has the last word. Without AnchorHint, or beside the
// anchor, the cell gives its usual hint.
TEST_F(CellHintsTest, AnAnchorUnderTheRestingMouseGivesItsTitleOrAddress) {
    FGrid->SetShowHint(true);
    FGrid->SetCells(2, 3, u"<a href=\"https://example.org/t\" title=\"Open the log\">log</a>");
    FGrid->SetCells(2, 4, u"<a href=\"https://example.org/u\">site</a>");
    std::vector<std::string> shown;
    TPoint shownAt;
    Application->OnShowHint = [&](String& hintStr, bool&, THintInfo& hintInfo) {
        shown.push_back(StringToUtf8(hintStr));
        shownAt = hintInfo.HintPos;
    };
    std::vector<std::string> asked;
    FGrid->OnAnchorHint = [&](TObject*, Integer ARow, Integer ACol, String& anchor) {
        asked.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + StringToUtf8(anchor));
        if (anchor == u"https://example.org/u")
            anchor = u"changed";
    };
    const auto rest = [&](Integer col, Integer row, Integer dx) {
        Application->CancelHint();
        const TRect r = FGrid->CellRect(col, row);
        const TPoint p = ScreenPoint(r.Left + dx, r.Top + 9);
        win32::input::MouseMove(p.X, p.Y);
        Pump();
        Advance(static_cast<UInt64>(Application->HintPause()) + 1);
        return FGrid->ScreenToClient(p);
    };

    FGrid->SetAnchorHint(true);
    const TPoint cursor = rest(2, 3, 6);
    shown.clear();
    asked.clear();
    rest(2, 3, 6);
    EXPECT_EQ(shown, (std::vector<std::string>{"Open the log"}));
    EXPECT_EQ(shownAt, FGrid->ClientToScreen(TPoint(cursor.X + 8, cursor.Y - 16)));
    // An anchor without a title offers its address, which OnAnchorHint may change.
    const TRect site = FGrid->CellRect(2, 4);
    THintInfo info;
    info.CursorPos = TPoint(site.Left + 6, site.Top + 9);
    FGrid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, u"changed");
    EXPECT_EQ(asked.back(), "2,4 https://example.org/u");

    // Beside the anchor, and without AnchorHint, the cell gives its text as any cell does.
    FGrid->SetHintShowCells(true);
    const TRect log = FGrid->CellRect(2, 3);
    for (Integer dx : {60, 6}) {
        if (dx == 6)
            FGrid->SetAnchorHint(false);
        info = THintInfo();
        info.CursorPos = TPoint(log.Left + dx, log.Top + 9);
        FGrid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.HintStr, u"log") << dx;
    }
    Application->OnShowHint = nullptr;
}

} // namespace
