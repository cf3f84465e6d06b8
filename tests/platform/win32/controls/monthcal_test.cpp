// Tests of the month calendar class: today from the clock, selection by code, mouse and keys with the
// notifications, range limits, month navigation, multiple selection, day states, layout by styles and
// week numbers.
#include <gtest/gtest.h>

#include "platform/backend/recorder.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/gdidevice.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

SYSTEMTIME Date(WORD year, WORD month, WORD day) {
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    return st;
}

std::string Show(const SYSTEMTIME& st) {
    char text[20];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
    return text;
}

struct Note {
    UINT code;
    std::string start;
    std::string end;
};

class MonthCalTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::RegisterSystemControls();
        // A Sunday.
        Clock::UseManualClock(EncodeDateTime(2026, 3, 15, 9, 0, 0, 0));
        Options options;
        options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
        options.rect = RECT{0, 0, 400, 400};
        options.handler = [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message != WM_NOTIFY)
                return std::nullopt;
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->code == MCN_SELCHANGE || header->code == MCN_SELECT) {
                auto* sel = reinterpret_cast<NMSELCHANGE*>(header);
                FNotes.push_back(Note{header->code, Show(sel->stSelStart), Show(sel->stSelEnd)});
            } else if (header->code == MCN_GETDAYSTATE) {
                auto* state = reinterpret_cast<NMDAYSTATE*>(header);
                FNotes.push_back(Note{header->code, Show(state->stStart), std::to_string(state->cDayState)});
                // The 1st and the 15th of every month are bold.
                for (int i = 0; i < state->cDayState; ++i)
                    state->prgDayState[i] = (1u << 0) | (1u << 14);
            }
            return 0;
        };
        FParent = Create(options);
        Pump();
    }
    void TearDown() override { ResetWindowManager(); }

    HWND Calendar(DWORD style = 0) {
        HWND cal =
            CreateWindowExW(0, MONTHCAL_CLASSW, u"", WS_CHILD | WS_VISIBLE | style, 10, 10, 10, 10, FParent,
                            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(5)), nullptr, nullptr);
        RECT need{};
        SendMessageW(cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
        SetWindowPos(cal, nullptr, 0, 0, need.right, need.bottom, SWP_NOMOVE | SWP_NOZORDER);
        FNotes.clear();
        return cal;
    }

    static std::string CurSel(HWND cal) {
        SYSTEMTIME st{};
        return SendMessageW(cal, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st)) ? Show(st) : "refused";
    }

    static std::string Visible(HWND cal) {
        SYSTEMTIME range[2]{};
        SendMessageW(cal, MCM_GETMONTHRANGE, GMR_VISIBLE, reinterpret_cast<LPARAM>(range));
        return Show(range[0]) + ".." + Show(range[1]);
    }

    // The client point of a date shown, found through the calendar's own hit test.
    static POINT PointOf(HWND cal, WORD month, WORD day) {
        RECT client{};
        GetClientRect(cal, &client);
        for (int y = 0; y < client.bottom; y += 3)
            for (int x = 0; x < client.right; x += 3) {
                MCHITTESTINFO info{};
                info.cbSize = sizeof info;
                info.pt = POINT{x, y};
                LRESULT hit = SendMessageW(cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
                if ((static_cast<UINT>(hit) & MCHT_CALENDARDATE) == MCHT_CALENDARDATE &&
                    info.st.wMonth == month && info.st.wDay == day)
                    return info.pt;
            }
        ADD_FAILURE() << "no point shows " << month << "/" << day;
        return POINT{0, 0};
    }

    static POINT PointOfHit(HWND cal, UINT wanted) {
        RECT client{};
        GetClientRect(cal, &client);
        for (int y = 0; y < client.bottom; y += 2)
            for (int x = 0; x < client.right; x += 2) {
                MCHITTESTINFO info{};
                info.cbSize = sizeof info;
                info.pt = POINT{x, y};
                if (static_cast<UINT>(SendMessageW(cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))) ==
                    wanted)
                    return info.pt;
            }
        ADD_FAILURE() << "nothing answers " << wanted;
        return POINT{0, 0};
    }

    // The texts the calendar paints, in order.
    static std::vector<std::string> Texts(HWND cal) {
        auto recorder = backend::CreateRecorder(400, 400);
        HDC dc = CreateDeviceDC(recorder);
        SendMessageW(cal, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
        DeleteDC(dc);
        std::vector<std::string> texts;
        for (const std::string& call : recorder->Calls()) {
            size_t open = call.find('\''), close = call.rfind('\'');
            if (call.rfind("Text ", 0) == 0 && open != close)
                texts.push_back(call.substr(open + 1, close - open - 1));
        }
        return texts;
    }

    HWND FParent = nullptr;
    std::vector<Note> FNotes;
};

TEST_F(MonthCalTest, TodayComesFromTheClockUnlessSet) {
    HWND cal = Calendar();
    SYSTEMTIME st{};
    ASSERT_TRUE(SendMessageW(cal, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&st)));
    EXPECT_EQ(Show(st), "2026-03-15");
    EXPECT_EQ(CurSel(cal), "2026-03-15");
    EXPECT_EQ(Visible(cal), "2026-03-01..2026-03-31");
    Clock::Advance(24ull * 60 * 60 * 1000);
    SendMessageW(cal, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(Show(st), "2026-03-16");

    SYSTEMTIME fixed = Date(2020, 2, 29);
    EXPECT_TRUE(SendMessageW(cal, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&fixed)));
    SendMessageW(cal, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(Show(st), "2020-02-29");
    SendMessageW(cal, MCM_SETTODAY, 0, 0);
    SendMessageW(cal, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(Show(st), "2026-03-16");

    // The today link selects today.
    SYSTEMTIME other = Date(2026, 5, 2);
    SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&other));
    POINT link = PointOfHit(cal, MCHT_TODAYLINK);
    Click(cal, link.x, link.y);
    EXPECT_EQ(CurSel(cal), "2026-03-16");
    ASSERT_EQ(FNotes.size(), 2u);
    EXPECT_EQ(FNotes[0].code, MCN_SELCHANGE);
    EXPECT_EQ(FNotes[1].code, MCN_SELECT);
}

TEST_F(MonthCalTest, ClickOnADaySelectsItInWin32Order) {
    HWND cal = Calendar();
    POINT p = PointOf(cal, 3, 20);
    Click(cal, p.x, p.y);
    EXPECT_EQ(CurSel(cal), "2026-03-20");
    ASSERT_EQ(FNotes.size(), 2u);
    EXPECT_EQ(FNotes[0].code, MCN_SELCHANGE) << "on the press";
    EXPECT_EQ(FNotes[1].code, MCN_SELECT) << "on the release";
    EXPECT_EQ(FNotes[1].start, "2026-03-20");
    EXPECT_EQ(GetCapture(), nullptr);

    // A trailing day of the next month selects it and shows its month.
    FNotes.clear();
    p = PointOf(cal, 4, 2);
    Click(cal, p.x, p.y);
    EXPECT_EQ(CurSel(cal), "2026-04-02");
    EXPECT_EQ(Visible(cal), "2026-04-01..2026-04-30");
}

// The messages of each action, the calendar's and its parent's, in order.
TEST_F(MonthCalTest, MessageSequences) {
    MessageLog log;
    log.Name(FParent, "parent");
    // Create, with day states the parent is asked for.
    HWND cal =
        CreateWindowExW(0, MONTHCAL_CLASSW, u"", WS_CHILD | WS_VISIBLE | MCS_DAYSTATE, 10, 10, 250, 250,
                        FParent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(5)), nullptr, nullptr);
    log.Name(cal, "cal");
    EXPECT_TRUE(log.Matches({
        {"parent", WM_NOTIFY, Sent | WParam | Code, 5, 0, MCN_GETDAYSTATE},
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_CREATE, 5)},
    }));
    controltest::Record(cal);
    // A click on a day: the press selects, the release picks.
    POINT p = PointOf(cal, 3, 20);
    log.Clear();
    Click(cal, p.x, p.y);
    EXPECT_TRUE(log.Matches({
        {"cal", WM_MOUSEACTIVATE, Sent | Optional},
        {"parent", WM_MOUSEACTIVATE, Sent | Optional},
        {"cal", WM_LBUTTONDOWN, Sent | WParam, MK_LBUTTON},
        {"parent", WM_KILLFOCUS, Sent},
        {"cal", WM_SETFOCUS, Sent},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 5, 0, MCN_SELCHANGE},
        {"cal", WM_LBUTTONUP, Sent},
        {"cal", WM_CAPTURECHANGED, Sent},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 5, 0, MCN_SELECT},
    }));
    EXPECT_EQ(CurSel(cal), "2026-03-20");
    EXPECT_EQ(GetFocus(), cal);
    EXPECT_EQ(GetCapture(), nullptr);
    // A key moves the selection, which the parent hears without a pick.
    log.Clear();
    Press(VK_RIGHT);
    EXPECT_TRUE(log.Matches({
        {"cal", WM_KEYDOWN, Sent | WParam, VK_RIGHT},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 5, 0, MCN_SELCHANGE},
        {"cal", WM_KEYUP, Sent | WParam, VK_RIGHT},
    }));
    EXPECT_EQ(CurSel(cal), "2026-03-21");
    // The next month's button: the parent is asked for the new months' day states.
    POINT next = PointOfHit(cal, MCHT_TITLEBTNNEXT);
    log.Clear();
    Click(cal, next.x, next.y);
    EXPECT_TRUE(log.Matches({
        {"cal", WM_LBUTTONDOWN, Sent},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 5, 0, MCN_GETDAYSTATE},
        {"cal", WM_LBUTTONUP, Sent},
    }));
    EXPECT_EQ(CurSel(cal), "2026-03-21");
    // Destroy.
    log.Clear();
    DestroyWindow(cal);
    EXPECT_TRUE(log.Matches({
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_DESTROY, 5)},
        {"cal", WM_SHOWWINDOW, Sent | WParam, FALSE},
        {"cal", WM_WINDOWPOSCHANGING, Sent},
        {"cal", WM_WINDOWPOSCHANGED, Sent},
        {"cal", WM_KILLFOCUS, Sent},
        {"parent", WM_SETFOCUS, Sent},
        {"cal", WM_DESTROY, Sent},
        {"cal", WM_NCDESTROY, Sent},
    }));
}

TEST_F(MonthCalTest, KeysMoveTheSelectionAndTheMonth) {
    HWND cal = Calendar();
    SetFocus(cal);
    struct Step {
        int key;
        const char* selected;
    } steps[] = {
        {VK_RIGHT, "2026-03-16"}, {VK_DOWN, "2026-03-23"}, {VK_UP, "2026-03-16"},
        {VK_LEFT, "2026-03-15"},  {VK_END, "2026-03-31"},  {VK_RIGHT, "2026-04-01"},
        {VK_HOME, "2026-04-01"},  {VK_NEXT, "2026-05-01"}, {VK_PRIOR, "2026-04-01"},
    };
    for (const Step& step : steps) {
        FNotes.clear();
        Press(step.key);
        EXPECT_EQ(CurSel(cal), step.selected) << step.key;
        ASSERT_EQ(FNotes.size(), 1u) << step.key;
        EXPECT_EQ(FNotes[0].code, MCN_SELCHANGE);
        EXPECT_EQ(FNotes[0].start, step.selected);
    }
    EXPECT_EQ(Visible(cal), "2026-04-01..2026-04-30") << "the month follows the selection";
}

TEST_F(MonthCalTest, TheLastAndFirstMonthsStopNavigation) {
    HWND cal = Calendar();
    SYSTEMTIME late = Date(9999, 12, 20);
    ASSERT_TRUE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&late)));
    SetFocus(cal);
    Press(VK_NEXT);
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(CurSel(cal), "9999-12-31");
    POINT next = PointOfHit(cal, MCHT_TITLEBTNNEXT);
    Click(cal, next.x, next.y);
    EXPECT_EQ(Visible(cal), "9999-12-01..9999-12-31");
    // The title, the day names, three days of November, December and the today line; no day after it.
    EXPECT_EQ(Texts(cal).size(), 1u + 7 + 3 + 31 + 1);
    SYSTEMTIME early = Date(1600, 12, 31);
    EXPECT_FALSE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&early)));
    early = Date(1601, 1, 3);
    ASSERT_TRUE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&early)));
    Press(VK_PRIOR);
    EXPECT_EQ(CurSel(cal), "1601-01-03");
}

TEST_F(MonthCalTest, ButtonsScrollTheMonthAndKeepTheSelection) {
    HWND cal = Calendar();
    POINT next = PointOfHit(cal, MCHT_TITLEBTNNEXT);
    Click(cal, next.x, next.y);
    EXPECT_EQ(Visible(cal), "2026-04-01..2026-04-30");
    POINT prev = PointOfHit(cal, MCHT_TITLEBTNPREV);
    Click(cal, prev.x, prev.y);
    Click(cal, prev.x, prev.y);
    EXPECT_EQ(Visible(cal), "2026-02-01..2026-02-28");
    EXPECT_EQ(CurSel(cal), "2026-03-15");
    EXPECT_TRUE(FNotes.empty());
    // The months with days shown: January's tail, February and March's head.
    SYSTEMTIME range[2]{};
    EXPECT_EQ(SendMessageW(cal, MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range)), 3);
    EXPECT_EQ(Show(range[0]), "2026-01-25");
    EXPECT_EQ(Show(range[1]), "2026-03-07");
}

TEST_F(MonthCalTest, RangeRefusesAndClampsSelections) {
    HWND cal = Calendar();
    SYSTEMTIME range[2] = {Date(2026, 3, 10), Date(2026, 4, 5)};
    EXPECT_TRUE(SendMessageW(cal, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
    SYSTEMTIME got[2]{};
    EXPECT_EQ(SendMessageW(cal, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(got)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(Show(got[1]), "2026-04-05");
    SYSTEMTIME outside = Date(2026, 4, 6);
    EXPECT_FALSE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&outside)));
    SYSTEMTIME invalid = Date(2026, 2, 30);
    EXPECT_FALSE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&invalid)));
    EXPECT_EQ(CurSel(cal), "2026-03-15");
    // A click on a day before the range does nothing.
    POINT p = PointOf(cal, 3, 9);
    Click(cal, p.x, p.y);
    EXPECT_EQ(CurSel(cal), "2026-03-15");
    EXPECT_TRUE(FNotes.empty());
    // Keys stop at the end of the range.
    SetFocus(cal);
    Press(VK_NEXT);
    EXPECT_EQ(CurSel(cal), "2026-04-05");
    // A narrower range moves the selection into it.
    SYSTEMTIME narrow[2] = {Date(2026, 3, 1), Date(2026, 3, 31)};
    SendMessageW(cal, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(narrow));
    EXPECT_EQ(CurSel(cal), "2026-03-31");
}

TEST_F(MonthCalTest, MultipleSelection) {
    HWND cal = Calendar(MCS_MULTISELECT);
    EXPECT_EQ(CurSel(cal), "refused") << "MCM_GETCURSEL is for single selection";
    EXPECT_EQ(SendMessageW(cal, MCM_GETMAXSELCOUNT, 0, 0), 7);
    SYSTEMTIME range[2] = {Date(2026, 3, 12), Date(2026, 3, 10)};
    EXPECT_TRUE(SendMessageW(cal, MCM_SETSELRANGE, 0, reinterpret_cast<LPARAM>(range)));
    SYSTEMTIME got[2]{};
    EXPECT_TRUE(SendMessageW(cal, MCM_GETSELRANGE, 0, reinterpret_cast<LPARAM>(got)));
    EXPECT_EQ(Show(got[0]) + ".." + Show(got[1]), "2026-03-10..2026-03-12");
    SYSTEMTIME tooLong[2] = {Date(2026, 3, 1), Date(2026, 3, 8)};
    EXPECT_FALSE(SendMessageW(cal, MCM_SETSELRANGE, 0, reinterpret_cast<LPARAM>(tooLong)));
    EXPECT_FALSE(SendMessageW(cal, MCM_SETMAXSELCOUNT, 0, 0));
    EXPECT_TRUE(SendMessageW(cal, MCM_SETMAXSELCOUNT, 3, 0));

    // Shift+click grows the selection from the day clicked before, up to the largest count.
    POINT first = PointOf(cal, 3, 20);
    Click(cal, first.x, first.y);
    POINT last = PointOf(cal, 3, 26);
    win32::input::Key(VK_SHIFT, true);
    Click(cal, last.x, last.y);
    win32::input::Key(VK_SHIFT, false);
    PumpInput();
    SendMessageW(cal, MCM_GETSELRANGE, 0, reinterpret_cast<LPARAM>(got));
    EXPECT_EQ(Show(got[0]) + ".." + Show(got[1]), "2026-03-20..2026-03-22");
    ASSERT_FALSE(FNotes.empty());
    EXPECT_EQ(FNotes.back().code, MCN_SELECT);
    EXPECT_EQ(FNotes.back().end, "2026-03-22");

    HWND single = Calendar();
    EXPECT_FALSE(SendMessageW(single, MCM_SETSELRANGE, 0, reinterpret_cast<LPARAM>(range)));
    EXPECT_FALSE(SendMessageW(single, MCM_SETMAXSELCOUNT, 3, 0));
}

TEST_F(MonthCalTest, DayStateAsksTheParentForEveryMonthShown) {
    HWND cal = CreateWindowExW(0, MONTHCAL_CLASSW, u"", WS_CHILD | WS_VISIBLE | MCS_DAYSTATE, 10, 10, 200,
                               200, FParent, nullptr, nullptr, nullptr);
    ASSERT_EQ(FNotes.size(), 1u);
    EXPECT_EQ(FNotes[0].code, MCN_GETDAYSTATE);
    EXPECT_EQ(FNotes[0].start, "2026-02-01");
    EXPECT_EQ(FNotes[0].end, "3");
    FNotes.clear();
    SetFocus(cal);
    Press(VK_NEXT);
    ASSERT_EQ(FNotes.size(), 2u);
    EXPECT_EQ(FNotes[0].code, MCN_GETDAYSTATE) << "asked when the month shown changes";
    EXPECT_EQ(FNotes[0].start, "2026-03-01");
    EXPECT_EQ(FNotes[1].code, MCN_SELCHANGE);
}

TEST_F(MonthCalTest, StylesChangeTheRequiredSize) {
    RECT plain{}, weeks{}, noToday{};
    SendMessageW(Calendar(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&plain));
    SendMessageW(Calendar(MCS_WEEKNUMBERS), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&weeks));
    SendMessageW(Calendar(MCS_NOTODAY), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&noToday));
    EXPECT_GT(weeks.right, plain.right);
    EXPECT_EQ(weeks.bottom, plain.bottom);
    EXPECT_LT(noToday.bottom, plain.bottom);
    EXPECT_EQ(SendMessageW(Calendar(), MCM_HITTEST, 0, 0), -1);
}

TEST_F(MonthCalTest, FirstDayOfWeekOrdersTheDayNames) {
    HWND cal = Calendar();
    EXPECT_EQ(SendMessageW(cal, MCM_GETFIRSTDAYOFWEEK, 0, 0), MAKELONG(6, 0)) << "Sunday, the locale's";
    std::vector<std::string> texts = Texts(cal);
    ASSERT_GT(texts.size(), 8u);
    EXPECT_EQ(texts[0], "March 2026");
    EXPECT_EQ(texts[1], "Sun");
    EXPECT_EQ(texts[8], "22") << "March starts on a Sunday, so a week of February comes first";
    EXPECT_EQ(SendMessageW(cal, MCM_SETFIRSTDAYOFWEEK, 0, 0), MAKELONG(6, 0));
    EXPECT_EQ(SendMessageW(cal, MCM_GETFIRSTDAYOFWEEK, 0, 0), MAKELONG(0, 1));
    texts = Texts(cal);
    EXPECT_EQ(texts[1], "Mon");
    EXPECT_EQ(texts[8], "23");
}

struct WeekCase {
    const char* name;
    int firstDay; // Monday = 0
    SYSTEMTIME month;
    std::vector<std::string> weeks;
};

class MonthCalWeeks : public MonthCalTest, public ::testing::WithParamInterface<WeekCase> {};

TEST_P(MonthCalWeeks, NumbersEachRow) {
    const WeekCase& c = GetParam();
    HWND cal = Calendar(MCS_WEEKNUMBERS);
    SendMessageW(cal, MCM_SETFIRSTDAYOFWEEK, 0, c.firstDay);
    SYSTEMTIME day = c.month;
    ASSERT_TRUE(SendMessageW(cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day)));
    std::vector<std::string> texts = Texts(cal);
    // Title, seven day names and 42 days come before the week numbers.
    ASSERT_GE(texts.size(), 56u);
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 50, texts.begin() + 56), c.weeks);
}

INSTANTIATE_TEST_SUITE_P(
    Weeks, MonthCalWeeks,
    ::testing::Values(
        // ISO weeks: 2021-01-01 is a Friday in week 53 of 2020; the first row starts on 2020-12-28.
        WeekCase{"IsoYearStartsLate", 0, Date(2021, 1, 4), {"53", "1", "2", "3", "4", "5"}},
        // ISO: 2026-01-01 is a Thursday, so the week it is in is week 1.
        WeekCase{"IsoYearStartsEarly", 0, Date(2026, 1, 5), {"1", "2", "3", "4", "5", "6"}},
        // With Sunday first, the week holding January 1 is week 1, also at the end of December.
        WeekCase{"SundayFirstJanuary", 6, Date(2021, 1, 4), {"1", "2", "3", "4", "5", "6"}},
        WeekCase{"SundayFirstDecember", 6, Date(2026, 12, 1), {"49", "50", "51", "52", "1", "2"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
