// Tests of the date-time picker class: fields edited by digits and keys in several formats, the
// notifications the parent gets, the check box of DTS_SHOWNONE, range limits, the drop-down calendar,
// callback fields, text the parent parses and the up-down part.
#include <functional>

#include <gtest/gtest.h>

#include "platform/backend/recorder.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/gdidevice.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

struct Note {
    UINT code = 0;
    DWORD flags = 0;
    SYSTEMTIME st{};
    HWND monthCal = nullptr; // DTN_DROPDOWN: what DTM_GETMONTHCAL answered then
};

SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    return st;
}

std::string Show(const SYSTEMTIME& st) {
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute, st.wSecond);
    return text;
}

// Keys as text: characters are typed, <L> <R> <U> <D> <Home> <End> <F4> <Esc> <Ret> <F2> <Space> pressed.
void Keys(const std::string& keys) {
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] != '<') {
            win32::input::TypeCharacter(static_cast<Char>(keys[i]));
            PumpInput();
            continue;
        }
        size_t end = keys.find('>', i);
        std::string name = keys.substr(i + 1, end - i - 1);
        i = end;
        static const std::map<std::string, int> named = {
            {"L", VK_LEFT},     {"R", VK_RIGHT}, {"U", VK_UP},       {"D", VK_DOWN},
            {"Home", VK_HOME},  {"End", VK_END}, {"F4", VK_F4},      {"Esc", VK_ESCAPE},
            {"Ret", VK_RETURN}, {"F2", VK_F2},   {"Space", VK_SPACE}};
        Press(named.at(name));
    }
}

class DateTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::RegisterSystemControls();
        Clock::UseManualClock(EncodeDateTime(2026, 3, 15, 10, 30, 0, 0));
        Options options;
        options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
        options.rect = RECT{0, 0, 400, 300};
        options.handler = [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message != WM_NOTIFY)
                return std::nullopt;
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            Note note;
            note.code = header->code;
            if (header->code == DTN_DATETIMECHANGE) {
                auto* change = reinterpret_cast<NMDATETIMECHANGE*>(header);
                note.flags = change->dwFlags;
                note.st = change->st;
            }
            if (header->code == DTN_DROPDOWN)
                note.monthCal = reinterpret_cast<HWND>(SendMessageW(header->hwndFrom, DTM_GETMONTHCAL, 0, 0));
            if (FAnswer)
                FAnswer(header);
            if (header->code != NM_SETFOCUS && header->code != NM_KILLFOCUS && header->code != DTN_FORMAT &&
                header->code != DTN_FORMATQUERY)
                FNotes.push_back(note);
            return 0;
        };
        FParent = Create(options);
        Pump();
    }
    void TearDown() override { ResetWindowManager(); }

    HWND Picker(DWORD style, const Char* format = nullptr, SYSTEMTIME start = Date(2026, 3, 15, 10, 30, 0),
                RECT rect = RECT{10, 10, 210, 34}) {
        HWND picker =
            CreateWindowExW(0, DATETIMEPICK_CLASSW, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FParent,
                            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(7)), nullptr, nullptr);
        if (format)
            SendMessageW(picker, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start));
        SetFocus(picker);
        FNotes.clear();
        return picker;
    }

    static std::string Value(HWND picker) {
        SYSTEMTIME st{};
        LRESULT result = SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        return result == static_cast<LRESULT>(GDT_VALID) ? Show(st) : result == GDT_NONE ? "none" : "error";
    }

    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const Note& note : FNotes)
            codes.push_back(note.code);
        return codes;
    }

    HWND FParent = nullptr;
    std::vector<Note> FNotes;
    std::function<void(NMHDR*)> FAnswer;
};

struct KeyCase {
    const char* name;
    const Char* format;
    SYSTEMTIME start;
    const char* keys;
    const char16_t* text; // the window text after the keys
    const char* value;    // DTM_GETSYSTEMTIME after the keys
    size_t changes;       // DTN_DATETIMECHANGE notifications
};

class DateTimeKeys : public DateTimeTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DateTimeKeys, EditsFieldsAndNotifiesEachChange) {
    const KeyCase& c = GetParam();
    HWND picker = Picker(0, c.format, c.start);
    Keys(c.keys);
    // Leaving the control ends a year being typed.
    SetFocus(FParent);
    EXPECT_EQ(WindowText(picker), String(c.text));
    EXPECT_EQ(Value(picker), c.value);
    size_t changes = 0;
    for (const Note& note : FNotes)
        if (note.code == DTN_DATETIMECHANGE) {
            ++changes;
            EXPECT_EQ(note.flags, GDT_VALID);
        }
    EXPECT_EQ(changes, c.changes);
    if (!FNotes.empty() && FNotes.back().code == DTN_DATETIMECHANGE) {
        EXPECT_EQ(Show(FNotes.back().st), c.value) << "the last notification carries the final value";
    }
}

const SYSTEMTIME March15 = Date(2026, 3, 15, 10, 30, 0);

INSTANTIATE_TEST_SUITE_P(
    Formats, DateTimeKeys,
    ::testing::Values(
        KeyCase{"ShortDateAllFields", u"M/d/yyyy", March15, "12<R>31<R>2027", u"12/31/2027",
                "2027-12-31 10:30:00", 5},
        KeyCase{"FirstDigitThatCannotStartAPairIsTaken", u"M/d/yyyy", March15, "7<R>4", u"7/4/2026",
                "2026-07-04 10:30:00", 2},
        KeyCase{"LeadingZeroWaitsForTheSecondDigit", u"MM/dd/yyyy", March15, "0", u"03/15/2026",
                "2026-03-15 10:30:00", 0},
        KeyCase{"PairOutOfRangeStartsAgain", u"dd.MM.yyyy", March15, "35", u"05.03.2026",
                "2026-03-05 10:30:00", 2},
        KeyCase{"MonthChangeFitsTheDay", u"MM/dd/yyyy", Date(2026, 1, 31), "02", u"02/28/2026",
                "2026-02-28 00:00:00", 1},
        KeyCase{"TwoDigitYearBefore50IsThisCentury", u"M/d/yyyy", March15, "<R><R>49<L>", u"3/15/2049",
                "2049-03-15 10:30:00", 1},
        KeyCase{"TwoDigitYearFrom50IsTheLastCentury", u"M/d/yyyy", March15, "<R><R>99", u"3/15/1999",
                "1999-03-15 10:30:00", 1},
        KeyCase{"ShortYearField", u"dd.MM.yy", March15, "<L>07", u"15.03.07", "2007-03-15 10:30:00", 1},
        KeyCase{"ArrowsWrapWithinTheField", u"M/d/yyyy", Date(2026, 12, 1), "<U><R><D>", u"1/31/2026",
                "2026-01-31 00:00:00", 2},
        KeyCase{"YearStepsKeepAValidDay", u"M/d/yyyy", Date(2024, 2, 29), "<L><U>", u"2/28/2025",
                "2025-02-28 00:00:00", 1},
        KeyCase{"HomeAndEnd", u"M/d/yyyy", March15, "<R><End><L><Home>", u"1/31/2026", "2026-01-31 10:30:00",
                2},
        KeyCase{"LongDateNamesByArrowsAndLetters", u"dddd, MMMM d, yyyy", March15, "<R>J<R><U>",
                u"Tuesday, June 16, 2026", "2026-06-16 10:30:00", 2},
        KeyCase{"DayNameStepsTheDate", u"dddd d", March15, "<D>", u"Saturday 14", "2026-03-14 10:30:00", 1},
        KeyCase{"TwentyFourHourTime", u"HH:mm:ss", March15, "23<R>59<R>7", u"23:59:07", "2026-03-15 23:59:07",
                5},
        KeyCase{"TwelveHourTimeAndMarker", u"h:mm tt", Date(2026, 3, 15, 14, 0, 0), "12<R><R>A", u"12:00 AM",
                "2026-03-15 00:00:00", 3},
        KeyCase{"AmPmByArrow", u"hh:mm t", Date(2026, 3, 15, 9, 5, 0), "<L><U>", u"09:05 P",
                "2026-03-15 21:05:00", 1},
        KeyCase{"QuotedLiterals", u"'Day' d 'of' MMM", March15, "<R>2", u"Day 15 of Feb",
                "2026-02-15 10:30:00", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DateTimeTest, TypingADigitInWin32Order) {
    HWND picker = Picker(0);
    controltest::Record(picker);
    MessageLog log;
    log.Name(FParent, "parent");
    log.Name(picker, "picker");
    Keys("4");
    EXPECT_TRUE(log.Matches({
        {"picker", WM_KEYDOWN, Sent},
        {"picker", WM_CHAR, Sent | WParam, u'4'},
        {"parent", WM_NOTIFY, Sent | WParam, 7},
        {"picker", WM_KEYUP, Sent | Optional},
    }));
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_DATETIMECHANGE}));
}

TEST_F(DateTimeTest, StylesChooseTheFormatOfTheFormatSettings) {
    struct Case {
        DWORD style;
        const char16_t* text;
    } cases[] = {
        {DTS_SHORTDATEFORMAT, u"3/15/2026"},
        {DTS_LONGDATEFORMAT, u"Sunday, March 15, 2026"},
        {DTS_SHORTDATECENTURYFORMAT, u"3/15/2026"},
        {DTS_TIMEFORMAT, u"10:30:00 AM"},
    };
    for (const Case& c : cases) {
        HWND picker = Picker(c.style);
        EXPECT_EQ(WindowText(picker), String(c.text)) << c.style;
        DestroyWindow(picker);
    }
    // A null format goes back to the styles' one.
    HWND picker = Picker(DTS_LONGDATEFORMAT, u"yyyy");
    EXPECT_EQ(WindowText(picker), u"2026");
    SendMessageW(picker, DTM_SETFORMATW, 0, 0);
    EXPECT_EQ(WindowText(picker), u"Sunday, March 15, 2026");
}

TEST_F(DateTimeTest, SetAndGetSystemTime) {
    HWND picker = Picker(0);
    SYSTEMTIME st = Date(2026, 2, 30);
    EXPECT_FALSE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
    st = Date(2026, 2, 28, 24, 0, 0);
    EXPECT_FALSE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
    EXPECT_EQ(Value(picker), "2026-03-15 10:30:00");
    EXPECT_FALSE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0)) << "only with DTS_SHOWNONE";
    EXPECT_EQ(SendMessageW(picker, DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
    st = Date(2026, 7, 1, 8, 9, 10);
    EXPECT_TRUE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
    SYSTEMTIME got{};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(Show(got), "2026-07-01 08:09:10");
    EXPECT_EQ(got.wDayOfWeek, 3) << "a Wednesday";
    EXPECT_TRUE(FNotes.empty()) << "setting in code does not notify";
}

TEST_F(DateTimeTest, ShowNoneCheckBox) {
    HWND picker = Picker(DTS_SHOWNONE);
    EXPECT_TRUE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0));
    EXPECT_EQ(Value(picker), "none");
    EXPECT_TRUE(FNotes.empty());

    // Space sets the check box again, then clears it; each change is told with its flag.
    Keys("<Space>");
    EXPECT_EQ(Value(picker), "2026-03-15 10:30:00");
    Keys("<Space>");
    EXPECT_EQ(Value(picker), "none");
    ASSERT_EQ(FNotes.size(), 2u);
    EXPECT_EQ(FNotes[0].flags, GDT_VALID);
    EXPECT_EQ(Show(FNotes[0].st), "2026-03-15 10:30:00");
    EXPECT_EQ(FNotes[1].flags, GDT_NONE);

    // A click on the box toggles it.
    FNotes.clear();
    Click(picker, 6, 12);
    EXPECT_EQ(Value(picker), "2026-03-15 10:30:00");
    ASSERT_EQ(FNotes.size(), 1u);
    EXPECT_EQ(FNotes[0].flags, GDT_VALID);

    // Editing a field of a cleared control sets the box.
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    FNotes.clear();
    Keys("<U>");
    EXPECT_EQ(Value(picker), "2026-04-15 10:30:00");
    ASSERT_EQ(FNotes.size(), 1u);
    EXPECT_EQ(FNotes[0].flags, GDT_VALID);
}

TEST_F(DateTimeTest, RangeLimitsValuesFromCodeAndKeys) {
    HWND picker = Picker(0, u"M/d/yyyy");
    SYSTEMTIME range[2] = {Date(2026, 1, 10), Date(2026, 6, 20)};
    EXPECT_TRUE(SendMessageW(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
    SYSTEMTIME got[2]{};
    EXPECT_EQ(SendMessageW(picker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(got)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(Show(got[0]), "2026-01-10 00:00:00");
    EXPECT_EQ(Show(got[1]), "2026-06-20 00:00:00");

    // A valid date outside the range is taken at the nearest end and answers TRUE.
    SYSTEMTIME late = Date(2027, 1, 1, 12, 0, 0);
    EXPECT_TRUE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&late)));
    EXPECT_EQ(Value(picker), "2026-06-20 12:00:00");

    // Keys stop at the ends.
    Keys("<U>");
    EXPECT_EQ(Value(picker), "2026-06-20 12:00:00");
    Keys("1");
    EXPECT_EQ(Value(picker), "2026-01-20 12:00:00");
    Keys("<R>5");
    EXPECT_EQ(Value(picker), "2026-01-10 12:00:00");

    // A minimum after the maximum is refused; a new range moves the value at once.
    SYSTEMTIME wrong[2] = {Date(2026, 5, 1), Date(2026, 4, 1)};
    EXPECT_FALSE(SendMessageW(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(wrong)));
    SYSTEMTIME later[2] = {Date(2026, 3, 1), {}};
    EXPECT_TRUE(SendMessageW(picker, DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(later)));
    EXPECT_EQ(Value(picker), "2026-03-01 12:00:00");
    EXPECT_EQ(SendMessageW(picker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(got)), GDTR_MIN);
}

TEST_F(DateTimeTest, DropDownCalendarPicksADayByKeys) {
    HWND picker = Picker(0);
    EXPECT_EQ(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0), 0);
    Keys("<F4>");
    HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(calendar, nullptr);
    ASSERT_EQ(FNotes.size(), 1u);
    EXPECT_EQ(FNotes[0].code, DTN_DROPDOWN);
    EXPECT_EQ(FNotes[0].monthCal, calendar) << "the calendar exists when the parent hears of it";
    EXPECT_TRUE(IsWindowVisible(calendar));
    SYSTEMTIME shown{};
    SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(Show(shown), "2026-03-15 00:00:00");

    // Keys go to the calendar while it is down; Enter takes its day and keeps the time.
    Keys("<R><D><Ret>");
    EXPECT_EQ(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_FALSE(IsWindow(calendar));
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP, DTN_DATETIMECHANGE}));
    EXPECT_EQ(Value(picker), "2026-03-23 10:30:00");
    EXPECT_EQ(GetFocus(), picker);

    // Escape closes without a change.
    FNotes.clear();
    Keys("<F4><L><Esc>");
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP}));
    EXPECT_EQ(Value(picker), "2026-03-23 10:30:00");

    // Alt+Down opens and Alt+Up closes, taking the calendar's day; Alt+Up alone changes nothing.
    FNotes.clear();
    Chord(VK_MENU, VK_DOWN);
    ASSERT_NE(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0), 0);
    Keys("<R>");
    Chord(VK_MENU, VK_UP);
    EXPECT_EQ(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_EQ(Value(picker), "2026-03-24 10:30:00");
    Chord(VK_MENU, VK_UP);
    EXPECT_EQ(Value(picker), "2026-03-24 10:30:00");
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP, DTN_DATETIMECHANGE}));

    // Hiding the picker takes the calendar away too.
    FNotes.clear();
    Keys("<F4>");
    calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ShowWindow(picker, SW_HIDE);
    EXPECT_FALSE(IsWindow(calendar));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP}));

    // Destroyed while dropped, the picker takes its calendar with it.
    ShowWindow(picker, SW_SHOW);
    SetFocus(picker);
    Keys("<F4>");
    calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(calendar, nullptr);
    DestroyWindow(picker);
    EXPECT_FALSE(IsWindow(calendar));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DateTimeTest, DropDownCalendarPicksADayByMouse) {
    HWND picker = Picker(0, nullptr, Date(2026, 3, 15, 10, 30, 0));
    RECT client{};
    GetClientRect(picker, &client);
    Click(picker, client.right - 5, 10);
    HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(calendar, nullptr);

    // Find the 20th through the calendar's own hit test and click it.
    RECT cal{};
    GetClientRect(calendar, &cal);
    POINT target{-1, -1};
    for (int y = 0; y < cal.bottom && target.x < 0; y += 2)
        for (int x = 0; x < cal.right && target.x < 0; x += 2) {
            MCHITTESTINFO info{};
            info.cbSize = sizeof info;
            info.pt = POINT{x, y};
            if (SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)) ==
                    MCHT_CALENDARDATE &&
                info.st.wDay == 20)
                target = info.pt;
        }
    ASSERT_GE(target.x, 0);
    POINT screen = ScreenPoint(calendar, target.x, target.y);
    win32::input::Click(win32::input::Button::Left, screen.x, screen.y);
    PumpInput();
    EXPECT_FALSE(IsWindow(calendar));
    EXPECT_EQ(Value(picker), "2026-03-20 10:30:00");
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP, DTN_DATETIMECHANGE}));

    // A click outside the calendar closes it and changes nothing.
    FNotes.clear();
    Click(picker, client.right - 5, 10);
    ASSERT_NE(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0), 0);
    Click(FParent, 300, 250);
    EXPECT_EQ(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP}));
    EXPECT_EQ(Value(picker), "2026-03-20 10:30:00");
}

TEST_F(DateTimeTest, CalendarColorsAndFontCarryOver) {
    HWND picker = Picker(0);
    EXPECT_EQ(SendMessageW(picker, DTM_SETMCCOLOR, MCSC_TITLEBK, RGB(1, 2, 3)),
              static_cast<LRESULT>(GetSysColor(COLOR_ACTIVECAPTION)));
    EXPECT_EQ(SendMessageW(picker, DTM_GETMCCOLOR, MCSC_TITLEBK, 0), static_cast<LRESULT>(RGB(1, 2, 3)));
    EXPECT_EQ(SendMessageW(picker, DTM_SETMCCOLOR, 9, 0), -1);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(picker, DTM_SETMCFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Keys("<F4>");
    HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(SendMessageW(calendar, MCM_GETCOLOR, MCSC_TITLEBK, 0), static_cast<LRESULT>(RGB(1, 2, 3)));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(calendar, WM_GETFONT, 0, 0)), font);
    Keys("<Esc>");
}

TEST_F(DateTimeTest, UpDownPartStepsTheSelectedField) {
    HWND picker = Picker(DTS_UPDOWN, u"HH:mm");
    RECT client{};
    GetClientRect(picker, &client);
    Keys("<R>");
    Click(picker, client.right - 4, 3);
    EXPECT_EQ(Value(picker), "2026-03-15 10:31:00");
    Click(picker, client.right - 4, client.bottom - 3);
    Click(picker, client.right - 4, client.bottom - 3);
    EXPECT_EQ(Value(picker), "2026-03-15 10:29:00");
    Keys("<F4>");
    EXPECT_EQ(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0), 0) << "an up-down picker has no calendar";
}

TEST_F(DateTimeTest, CallbackFieldsAskTheParent) {
    FAnswer = [](NMHDR* header) {
        if (header->code == DTN_FORMAT) {
            auto* format = reinterpret_cast<NMDATETIMEFORMATW*>(header);
            String text =
                String(format->pszFormat) == u"XX" ? u"Q" + IntToStr((format->st.wMonth + 2) / 3) : u"?";
            std::copy(text.begin(), text.end(), format->szDisplay);
            format->szDisplay[text.size()] = 0;
        } else if (header->code == DTN_WMKEYDOWN) {
            // Up moves a quarter on.
            auto* key = reinterpret_cast<NMDATETIMEWMKEYDOWNW*>(header);
            if (key->nVirtKey == VK_UP)
                key->st.wMonth = static_cast<WORD>(key->st.wMonth % 12 + 3);
        }
    };
    HWND picker = Picker(0, u"yyyy XX");
    EXPECT_EQ(WindowText(picker), u"2026 Q1");
    Keys("<R><U>");
    EXPECT_EQ(WindowText(picker), u"2026 Q2");
    EXPECT_EQ(Value(picker), "2026-06-15 10:30:00");
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_WMKEYDOWN, DTN_DATETIMECHANGE}));
}

TEST_F(DateTimeTest, AppCanParseSendsTheTypedText) {
    String heard;
    DWORD answer = GDT_VALID;
    FAnswer = [&](NMHDR* header) {
        if (header->code != DTN_USERSTRING)
            return;
        auto* user = reinterpret_cast<NMDATETIMESTRINGW*>(header);
        heard = user->pszUserString;
        user->st = Date(2026, 12, 24, 18, 0, 0);
        user->dwFlags = answer;
    };
    HWND picker = Picker(DTS_APPCANPARSE | DTS_SHOWNONE);
    // F2 opens an edit over the text; Enter hands the text to the parent.
    Keys("<F2>");
    HWND edit = GetFocus();
    ASSERT_NE(edit, picker);
    EXPECT_EQ(GetParent(edit), picker);
    EXPECT_EQ(WindowText(edit), u"3/15/2026");
    Keys("xmas<Ret>");
    EXPECT_EQ(heard, u"xmas");
    EXPECT_EQ(GetFocus(), picker);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(Value(picker), "2026-12-24 18:00:00");
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_USERSTRING, DTN_DATETIMECHANGE}));

    // A letter the field cannot take starts the edit with it; a refusal keeps the value.
    FNotes.clear();
    answer = static_cast<DWORD>(GDT_ERROR);
    Keys("q<Ret>");
    EXPECT_EQ(heard, u"q");
    EXPECT_EQ(Value(picker), "2026-12-24 18:00:00");
    EXPECT_EQ(Codes(), (std::vector<UINT>{DTN_USERSTRING}));

    // GDT_NONE clears the check box; Escape sends nothing.
    answer = GDT_NONE;
    Keys("n<Ret>");
    EXPECT_EQ(Value(picker), "none");
    FNotes.clear();
    Keys("<F2>zz<Esc>");
    EXPECT_TRUE(FNotes.empty());
    EXPECT_EQ(GetFocus(), picker);

    // A picker destroyed while text is typed into it asks nothing.
    Keys("<F2>zz");
    DestroyWindow(picker);
    EXPECT_EQ(Codes(), std::vector<UINT>{});
}

TEST_F(DateTimeTest, PaintsFieldsInThemedAndClassicLooks) {
    for (bool themes : {true, false}) {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themes;
        win32::SetSystemSettings(settings);
        HWND picker = Picker(DTS_SHOWNONE, u"d MMM yyyy");
        auto recorder = backend::CreateRecorder(300, 40);
        HDC dc = CreateDeviceDC(recorder);
        SendMessageW(picker, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
        std::string calls;
        for (const std::string& call : recorder->Calls())
            calls += call + "\n";
        for (const char* text : {"'15'", "'Mar'", "'2026'"})
            EXPECT_NE(calls.find(text), std::string::npos) << text << " themes " << themes << "\n" << calls;
        DeleteDC(dc);
        DestroyWindow(picker);
    }
}

} // namespace
