// The month calendar window class ("SysMonthCal32"): one month of days with a title, navigation
// buttons, day names, week numbers and today's date; single or range selection by mouse and keys;
// bold days from the parent (MCS_DAYSTATE); a range of allowed dates.
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/windraw.h"

namespace win32::controls {

// Whole days as TDateTime counts them; the date controls keep their dates this way.
bool SystemTimeToDay(const SYSTEMTIME& st, int& day) {
    TDateTime date = 0;
    if (!TryEncodeDate(st.wYear, st.wMonth, st.wDay, date))
        return false;
    day = static_cast<int>(date);
    return true;
}

SYSTEMTIME DayToSystemTime(int day) {
    SYSTEMTIME st{};
    DecodeDate(day, st.wYear, st.wMonth, st.wDay);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(day) - 1);
    return st;
}

void GetDayRange(DWORD flags, int min, int max, SYSTEMTIME* range) {
    range[0] = (flags & GDTR_MIN) ? DayToSystemTime(min) : SYSTEMTIME{};
    range[1] = (flags & GDTR_MAX) ? DayToSystemTime(max) : SYSTEMTIME{};
}

bool ReadDayRange(DWORD flags, const SYSTEMTIME* range, int& min, int& max) {
    if ((flags & (GDTR_MIN | GDTR_MAX)) && !range)
        return false;
    if ((flags & GDTR_MIN) && !SystemTimeToDay(range[0], min))
        return false;
    if ((flags & GDTR_MAX) && !SystemTimeToDay(range[1], max))
        return false;
    return !((flags & GDTR_MIN) && (flags & GDTR_MAX) && min > max);
}

namespace {

const Trace::Channel TraceMonthCal("monthcal");

constexpr int CellCount = 42; // six weeks
constexpr int Margin = 4;
// The first day of the week when none is set: Sunday, as in the English (US) locale the format
// settings describe. Days of the week count from Monday = 0, as MCM_SETFIRSTDAYOFWEEK does.
constexpr int LocaleFirstDay = 6;

// Monday = 0 ... Sunday = 6.
int WeekDay(int day) {
    return (DayOfWeek(day) + 5) % 7;
}

int FirstOfMonth(int year, int month) {
    return static_cast<int>(EncodeDate(static_cast<Word>(year), static_cast<Word>(month), 1));
}

void YearMonth(int day, int& year, int& month) {
    Word y = 0, m = 0, d = 0;
    DecodeDate(day, y, m, d);
    year = y;
    month = m;
}

// The calendar shows the years 1601 to 9999; dates outside are refused.
constexpr int EarliestDay = -109205; // 1601-01-01
constexpr int LatestDay = 2958465;   // 9999-12-31
bool Shown(int day) {
    return day >= EarliestDay && day <= LatestDay;
}

// IncMonth within the years the calendar shows: false past them, where IncMonth would raise.
bool AddMonths(int day, int months, int& result) {
    Word y = 0, m = 0, d = 0;
    DecodeDate(day, y, m, d);
    int total = y * 12 + (m - 1) + months;
    int year = total / 12, month = total % 12 + 1;
    if (year < 1601 || year > 9999)
        return false;
    Word last = DaysInAMonth(static_cast<Word>(year), static_cast<Word>(month));
    result =
        static_cast<int>(EncodeDate(static_cast<Word>(year), static_cast<Word>(month), std::min(d, last)));
    return true;
}

// Where the parts are, from the font and the styles.
struct Layout {
    int cellWidth = 0;
    int cellHeight = 0;
    RECT title{};    // the month and year with the two buttons
    RECT prev{};     // the button to the month before
    RECT next{};     // the button to the month after
    RECT dayNames{}; // the row of day names
    RECT weekNums{}; // the column of week numbers, empty without MCS_WEEKNUMBERS
    RECT days{};     // the six rows of days
    RECT today{};    // the "Today:" line, empty with MCS_NOTODAY
    SIZE minimum{};  // the smallest window that shows all of it
};

class MonthCal {
public:
    MonthCal(HWND hwnd, HWND notify) : FHwnd(hwnd), FNotify(notify) {
        FColors[MCSC_BACKGROUND] = GetSysColor(COLOR_WINDOW);
        FColors[MCSC_TEXT] = GetSysColor(COLOR_WINDOWTEXT);
        FColors[MCSC_TITLEBK] = GetSysColor(COLOR_ACTIVECAPTION);
        FColors[MCSC_TITLETEXT] = GetSysColor(COLOR_CAPTIONTEXT);
        FColors[MCSC_MONTHBK] = GetSysColor(COLOR_WINDOW);
        FColors[MCSC_TRAILINGTEXT] = GetSysColor(COLOR_GRAYTEXT);
        FSelStart = FSelEnd = Today();
        YearMonth(FSelStart, FYear, FMonth);
    }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    bool Multi() const { return (Style() & MCS_MULTISELECT) != 0; }

    void WMCreate() { AskDayState(); }

    // ---- Messages ----
    LRESULT MCMGetCurSel(SYSTEMTIME* st) const {
        if (!st || Multi())
            return FALSE;
        *st = DayToSystemTime(FSelStart);
        return TRUE;
    }

    // Refused for a date that is not valid or lies outside the range; no notification.
    LRESULT MCMSetCurSel(const SYSTEMTIME* st) {
        int day = 0;
        if (!st || Multi() || !SystemTimeToDay(*st, day) || !Shown(day) || !InRange(day))
            return FALSE;
        FSelStart = FSelEnd = day;
        ShowMonthOf(day);
        Invalidate();
        return TRUE;
    }

    LRESULT MCMGetSelRange(SYSTEMTIME* range) const {
        if (!range || !Multi())
            return FALSE;
        range[0] = DayToSystemTime(FSelStart);
        range[1] = DayToSystemTime(FSelEnd);
        return TRUE;
    }

    // The ends may come in either order; a range longer than the largest selection is refused.
    LRESULT MCMSetSelRange(const SYSTEMTIME* range) {
        int first = 0, last = 0;
        if (!range || !Multi() || !SystemTimeToDay(range[0], first) || !SystemTimeToDay(range[1], last))
            return FALSE;
        if (first > last)
            std::swap(first, last);
        if (last - first + 1 > FMaxSelCount || !Shown(first) || !Shown(last) || !InRange(first) ||
            !InRange(last))
            return FALSE;
        FSelStart = first;
        FSelEnd = last;
        ShowMonthOf(last);
        Invalidate();
        return TRUE;
    }

    LRESULT MCMGetMaxSelCount() const { return FMaxSelCount; }
    LRESULT MCMSetMaxSelCount(int count) {
        if (!Multi() || count < 1)
            return FALSE;
        FMaxSelCount = count;
        if (FSelEnd - FSelStart + 1 > count) {
            FSelEnd = FSelStart + count - 1;
            Invalidate();
        }
        return TRUE;
    }

    LRESULT MCMGetToday(SYSTEMTIME* st) const {
        if (!st)
            return FALSE;
        *st = DayToSystemTime(Today());
        return TRUE;
    }
    // A null date goes back to the clock's today.
    LRESULT MCMSetToday(const SYSTEMTIME* st) {
        int day = 0;
        if (!st)
            FTodaySet = false;
        else if (SystemTimeToDay(*st, day) && Shown(day)) {
            FToday = day;
            FTodaySet = true;
        } else
            return FALSE;
        Invalidate();
        return TRUE;
    }

    LRESULT MCMGetMinReqRect(RECT* rect) const {
        if (!rect)
            return FALSE;
        Layout layout = MakeLayout();
        *rect = RECT{0, 0, layout.minimum.cx, layout.minimum.cy};
        return TRUE;
    }

    LRESULT MCMSetColor(int which, COLORREF color) {
        if (which < 0 || which > MCSC_TRAILINGTEXT)
            return static_cast<LRESULT>(-1);
        COLORREF old = FColors[which];
        FColors[which] = color;
        Invalidate();
        return static_cast<LRESULT>(old);
    }
    LRESULT MCMGetColor(int which) const {
        if (which < 0 || which > MCSC_TRAILINGTEXT)
            return static_cast<LRESULT>(-1);
        return static_cast<LRESULT>(FColors[which]);
    }

    LRESULT MCMGetRange(SYSTEMTIME* range) const {
        if (!range)
            return 0;
        GetDayRange(FRangeFlags, FMin, FMax, range);
        return static_cast<LRESULT>(FRangeFlags);
    }

    // The selection and the month shown move inside the new range.
    LRESULT MCMSetRange(DWORD flags, const SYSTEMTIME* range) {
        int minimum = 0, maximum = 0;
        if (!ReadDayRange(flags, range, minimum, maximum) || ((flags & GDTR_MIN) && !Shown(minimum)) ||
            ((flags & GDTR_MAX) && !Shown(maximum)))
            return FALSE;
        FRangeFlags = flags & (GDTR_MIN | GDTR_MAX);
        FMin = minimum;
        FMax = maximum;
        int length = FSelEnd - FSelStart;
        FSelStart = Clamp(FSelStart);
        FSelEnd = Clamp(std::max(FSelStart, FSelStart + length));
        ShowMonthOf(FSelStart);
        Invalidate();
        return TRUE;
    }

    // Low word: the first day; high word: whether it was set rather than the locale's.
    LRESULT MCMGetFirstDayOfWeek() const { return MAKELONG(FirstDay(), FFirstDay >= 0 ? 1 : 0); }
    LRESULT MCMSetFirstDayOfWeek(int day) {
        LRESULT previous = MCMGetFirstDayOfWeek();
        FFirstDay = day >= 0 && day <= 6 ? day : -1;
        Invalidate();
        return previous;
    }

    LRESULT MCMGetMonthRange(DWORD flag, SYSTEMTIME* range) const {
        int first = FirstOfMonth(FYear, FMonth);
        int count = 1;
        int start = first,
            end = first + DaysInAMonth(static_cast<Word>(FYear), static_cast<Word>(FMonth)) - 1;
        if (flag == GMR_DAYSTATE) {
            start = FirstShownDay();
            int last = std::min(start + CellCount - 1, LatestDay);
            count = (start < first ? 1 : 0) + 1 + (last > end ? 1 : 0);
            end = last;
        }
        if (range) {
            range[0] = DayToSystemTime(start);
            range[1] = DayToSystemTime(end);
        }
        return count;
    }

    LRESULT MCMSetDayState(int count, const MONTHDAYSTATE* states) {
        if (count <= 0 || !states)
            return FALSE;
        FDayState.assign(states, states + count);
        Invalidate();
        return TRUE;
    }

    LRESULT MCMGetMonthDelta() const { return FMonthDelta > 0 ? FMonthDelta : 1; }
    LRESULT MCMSetMonthDelta(int delta) {
        LRESULT previous = FMonthDelta;
        FMonthDelta = std::max(0, delta);
        return previous;
    }

    LRESULT MCMGetMaxTodayWidth() const {
        String text = TodayText();
        return TextWidth(text);
    }

    LRESULT MCMHitTest(MCHITTESTINFO* info) const {
        if (!info || info->cbSize < sizeof(MCHITTESTINFO))
            return static_cast<LRESULT>(-1);
        info->st = SYSTEMTIME{};
        info->uHit = HitTest(info->pt, info->st);
        return static_cast<LRESULT>(info->uHit);
    }

    void WMSetFont(HFONT font, bool redraw) {
        FFont = font;
        FWidths.clear();
        FLineHeight = -1;
        if (redraw)
            Invalidate();
    }
    HFONT WMGetFont() const { return FFont; }

    // ---- Mouse ----
    void WMLButtonDown(POINT pt) {
        if (GetFocus() != FHwnd && (GetWindowLongW(FHwnd, GWL_STYLE) & WS_CHILD))
            SetFocus(FHwnd);
        SYSTEMTIME st{};
        UINT hit = HitTest(pt, st);
        if (hit == MCHT_TITLEBTNPREV) {
            Scroll(-static_cast<int>(MCMGetMonthDelta()));
            return;
        }
        if (hit == MCHT_TITLEBTNNEXT) {
            Scroll(static_cast<int>(MCMGetMonthDelta()));
            return;
        }
        if (hit == MCHT_TODAYLINK) {
            Pick(Today(), false);
            Select();
            return;
        }
        int day = 0;
        if ((hit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE && SystemTimeToDay(st, day) && InRange(day)) {
            bool extend = Multi() && (GetKeyState(VK_SHIFT) & 0x8000);
            Pick(day, extend);
            FTracking = true;
            SetCapture(FHwnd);
        }
    }

    void WMLButtonUp() {
        if (!FTracking)
            return;
        FTracking = false;
        if (GetCapture() == FHwnd)
            ReleaseCapture();
        Select();
    }

    void WMCaptureChanged() { FTracking = false; }

    // ---- Keys ----
    // Arrows move by a day or a week, Page Up and Down by a month, Home and End to the ends of the
    // month; with Shift a multiple selection grows from its anchor.
    bool WMKeyDown(int key) {
        int day = FSelStart == FAnchor ? FSelEnd : FSelStart;
        int year = 0, month = 0;
        YearMonth(day, year, month);
        switch (key) {
        case VK_LEFT:
            day -= 1;
            break;
        case VK_RIGHT:
            day += 1;
            break;
        case VK_UP:
            day -= 7;
            break;
        case VK_DOWN:
            day += 7;
            break;
        case VK_PRIOR:
        case VK_NEXT:
            if (!AddMonths(day, key == VK_NEXT ? 1 : -1, day))
                return true;
            break;
        case VK_HOME:
            day = FirstOfMonth(year, month);
            break;
        case VK_END:
            day = FirstOfMonth(year, month) +
                  DaysInAMonth(static_cast<Word>(year), static_cast<Word>(month)) - 1;
            break;
        case VK_RETURN:
            Select();
            return true;
        default:
            return false;
        }
        Pick(Clamp(day), Multi() && (GetKeyState(VK_SHIFT) & 0x8000));
        return true;
    }

    void Invalidate() { InvalidateRect(FHwnd, nullptr, TRUE); }

    void WMPaint(HDC given) {
        PaintControl(FHwnd, given, [this](HDC dc) { Paint(dc); });
    }

private:
    int Today() const {
        if (FTodaySet)
            return FToday;
        return static_cast<int>(std::floor(Date()));
    }
    int FirstDay() const { return FFirstDay >= 0 ? FFirstDay : LocaleFirstDay; }
    bool InRange(int day) const {
        return !((FRangeFlags & GDTR_MIN) && day < FMin) && !((FRangeFlags & GDTR_MAX) && day > FMax);
    }
    int Clamp(int day) const {
        if ((FRangeFlags & GDTR_MIN) && day < FMin)
            day = FMin;
        if ((FRangeFlags & GDTR_MAX) && day > FMax)
            day = FMax;
        return std::clamp(day, EarliestDay, LatestDay);
    }

    // The first day of the six weeks shown: a whole week of the month before shows when the month
    // starts on the first day of the week.
    int FirstShownDay() const {
        int first = FirstOfMonth(FYear, FMonth);
        int offset = (WeekDay(first) - FirstDay() + 7) % 7;
        return first - (offset == 0 ? 7 : offset);
    }

    void ShowMonthOf(int day) {
        int year = 0, month = 0;
        YearMonth(day, year, month);
        if (year == FYear && month == FMonth)
            return;
        FYear = year;
        FMonth = month;
        AskDayState();
    }

    void Scroll(int months) {
        int day = 0;
        if (!AddMonths(FirstOfMonth(FYear, FMonth), months, day))
            return;
        if ((FRangeFlags & GDTR_MIN) && day + 31 <= FMin)
            return;
        if ((FRangeFlags & GDTR_MAX) && day > FMax)
            return;
        ShowMonthOf(day);
        Invalidate();
    }

    // Moves the selection to day (or from the anchor to day) and tells the parent.
    void Pick(int day, bool extend) {
        if (!InRange(day))
            return;
        if (extend) {
            int first = std::min(FAnchor, day), last = std::max(FAnchor, day);
            if (last - first + 1 > FMaxSelCount) {
                if (day < FAnchor)
                    first = FAnchor - FMaxSelCount + 1;
                else
                    last = FAnchor + FMaxSelCount - 1;
            }
            FSelStart = first;
            FSelEnd = last;
        } else {
            FSelStart = FSelEnd = FAnchor = day;
        }
        ShowMonthOf(day);
        Invalidate();
        NotifySelection(MCN_SELCHANGE);
    }

    void Select() { NotifySelection(MCN_SELECT); }

    void NotifySelection(UINT code) {
        NMSELCHANGE nm{};
        nm.stSelStart = DayToSystemTime(FSelStart);
        nm.stSelEnd = DayToSystemTime(FSelEnd);
        SendNotify(FHwnd, FNotify, nm.nmhdr, code);
    }

    // With MCS_DAYSTATE the parent says which days of the months with days shown are bold.
    void AskDayState() {
        FDayState.clear();
        if (!(Style() & MCS_DAYSTATE))
            return;
        SYSTEMTIME range[2]{};
        int count = static_cast<int>(MCMGetMonthRange(GMR_DAYSTATE, range));
        std::vector<MONTHDAYSTATE> states(static_cast<size_t>(count), 0);
        NMDAYSTATE nm{};
        nm.stStart = range[0];
        nm.stStart.wDay = 1;
        nm.cDayState = count;
        nm.prgDayState = states.data();
        SendNotify(FHwnd, FNotify, nm.nmhdr, MCN_GETDAYSTATE);
        FDayState = std::move(states);
    }

    bool Bold(int day) const {
        if (FDayState.empty())
            return false;
        int firstYear = 0, firstMonth = 0, year = 0, month = 0;
        YearMonth(FirstShownDay(), firstYear, firstMonth);
        YearMonth(day, year, month);
        int index = (year - firstYear) * 12 + month - firstMonth;
        if (index < 0 || index >= static_cast<int>(FDayState.size()))
            return false;
        Word y = 0, m = 0, d = 0;
        DecodeDate(day, y, m, d);
        return (FDayState[static_cast<size_t>(index)] >> (d - 1)) & 1u;
    }

    // Hit tests run the layout often, so the measures are kept until the font changes.
    int TextWidth(const String& text) const {
        if (auto found = FWidths.find(text); found != FWidths.end())
            return found->second;
        HDC dc = GetDC(FHwnd);
        SIZE size{};
        {
            SelectGuard font(dc, ControlFont(FFont));
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        }
        ReleaseDC(FHwnd, dc);
        FWidths[text] = size.cx;
        return size.cx;
    }

    int LineHeight() const {
        if (FLineHeight < 0)
            FLineHeight = FontLineHeight(FFont);
        return FLineHeight;
    }

    String TodayText() const { return u"Today: " + DateToStr(Today()); }

    Layout MakeLayout() const {
        Layout l;
        int line = LineHeight();
        l.cellWidth = std::max(TextWidth(u"00") + 8, TextWidth(u"Wed") + 4);
        l.cellHeight = line + 2;
        bool weeks = (Style() & MCS_WEEKNUMBERS) != 0;
        int columns = 7 + (weeks ? 1 : 0);
        int width = columns * l.cellWidth + 2 * Margin;
        int titleHeight = line + 8;
        l.title = RECT{Margin, Margin, width - Margin, Margin + titleHeight};
        l.prev = RECT{l.title.left + 2, l.title.top + 2, l.title.left + titleHeight - 2, l.title.bottom - 2};
        l.next =
            RECT{l.title.right - titleHeight + 2, l.title.top + 2, l.title.right - 2, l.title.bottom - 2};
        int left = Margin + (weeks ? l.cellWidth : 0);
        l.dayNames =
            RECT{left, l.title.bottom + 2, left + 7 * l.cellWidth, l.title.bottom + 2 + l.cellHeight};
        l.days = RECT{left, l.dayNames.bottom + 2, left + 7 * l.cellWidth,
                      l.dayNames.bottom + 2 + 6 * l.cellHeight};
        if (weeks)
            l.weekNums = RECT{Margin, l.days.top, left, l.days.bottom};
        int bottom = l.days.bottom;
        if (!(Style() & MCS_NOTODAY)) {
            l.today = RECT{Margin, bottom + 2, width - Margin, bottom + 2 + l.cellHeight};
            bottom = l.today.bottom;
            width = std::max<int>(width, TextWidth(TodayText()) + l.cellWidth + 2 * Margin);
        }
        l.minimum = SIZE{width, bottom + Margin};
        return l;
    }

    RECT CellRect(const Layout& l, int index) const {
        int x = l.days.left + (index % 7) * l.cellWidth;
        int y = l.days.top + (index / 7) * l.cellHeight;
        return RECT{x, y, x + l.cellWidth, y + l.cellHeight};
    }

    UINT HitTest(POINT pt, SYSTEMTIME& st) const {
        Layout l = MakeLayout();
        if (PtInRect(&l.prev, pt))
            return MCHT_TITLEBTNPREV;
        if (PtInRect(&l.next, pt))
            return MCHT_TITLEBTNNEXT;
        if (PtInRect(&l.title, pt)) {
            int middle = (l.title.left + l.title.right) / 2;
            return pt.x < middle + TextWidth(u" ") ? MCHT_TITLEMONTH : MCHT_TITLEYEAR;
        }
        if (PtInRect(&l.dayNames, pt))
            return MCHT_CALENDARDAY;
        if (!IsRectEmpty(&l.weekNums) && PtInRect(&l.weekNums, pt))
            return MCHT_CALENDARWEEKNUM;
        if (PtInRect(&l.days, pt)) {
            int index = (pt.y - l.days.top) / l.cellHeight * 7 + (pt.x - l.days.left) / l.cellWidth;
            int day = FirstShownDay() + index;
            if (!Shown(day))
                return MCHT_CALENDARBK;
            st = DayToSystemTime(day);
            int first = FirstOfMonth(FYear, FMonth);
            if (day < first)
                return MCHT_CALENDARDATEPREV;
            if (day >= first + DaysInAMonth(static_cast<Word>(FYear), static_cast<Word>(FMonth)))
                return MCHT_CALENDARDATENEXT;
            return MCHT_CALENDARDATE;
        }
        if (!IsRectEmpty(&l.today) && PtInRect(&l.today, pt))
            return MCHT_TODAYLINK;
        RECT client{};
        GetClientRect(FHwnd, &client);
        return PtInRect(&client, pt) ? MCHT_CALENDARBK : MCHT_NOWHERE;
    }

    // The week number of the row starting on day: ISO weeks when weeks start on Monday, else week 1
    // is the one that holds January 1.
    int WeekNumber(int rowStart) const {
        int year = 0, month = 0;
        if (FirstDay() == 0) {
            int thursday = rowStart + 3;
            YearMonth(thursday, year, month);
            return (thursday - FirstOfMonth(year, 1)) / 7 + 1;
        }
        YearMonth(std::min(rowStart + 6, LatestDay), year, month);
        int january1 = FirstOfMonth(year, 1);
        int weekOfJanuary1 = january1 - (WeekDay(january1) - FirstDay() + 7) % 7;
        return (rowStart - weekOfJanuary1) / 7 + 1;
    }

    void Paint(HDC dc) {
        Layout l = MakeLayout();
        RECT client{};
        GetClientRect(FHwnd, &client);
        SelectGuard font(dc, ControlFont(FFont));
        SetBkMode(dc, TRANSPARENT);
        FillColor(dc, client, FColors[MCSC_BACKGROUND]);
        RECT month{Margin, l.dayNames.top, l.title.right, l.days.bottom};
        FillColor(dc, month, FColors[MCSC_MONTHBK]);
        PaintTitle(dc, l);
        PaintDayNames(dc, l);
        PaintDays(dc, l);
        if (!IsRectEmpty(&l.weekNums))
            PaintWeekNumbers(dc, l);
        if (!IsRectEmpty(&l.today))
            PaintToday(dc, l);
    }

    static void FillColor(HDC dc, const RECT& rect, COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }

    void PaintTitle(HDC dc, const Layout& l) {
        FillColor(dc, l.title, FColors[MCSC_TITLEBK]);
        DrawFrameControl(dc, const_cast<RECT*>(&l.prev), DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_FLAT);
        DrawFrameControl(dc, const_cast<RECT*>(&l.next), DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_FLAT);
        String text = FormatSettings.LongMonthNames[FMonth - 1] + u" " + IntToStr(FYear);
        SetTextColor(dc, FColors[MCSC_TITLETEXT]);
        RECT rect = l.title;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    void PaintDayNames(HDC dc, const Layout& l) {
        SetTextColor(dc, FColors[MCSC_TITLEBK]);
        for (int i = 0; i < 7; ++i) {
            // ShortDayNames count from Sunday.
            const String& name = FormatSettings.ShortDayNames[(FirstDay() + i + 1) % 7];
            RECT rect{l.dayNames.left + i * l.cellWidth, l.dayNames.top,
                      l.dayNames.left + (i + 1) * l.cellWidth, l.dayNames.bottom};
            DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &rect,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        HPEN pen = CreatePen(PS_SOLID, 1, FColors[MCSC_TEXT]);
        {
            SelectGuard select(dc, pen);
            MoveToEx(dc, l.dayNames.left, l.dayNames.bottom, nullptr);
            LineTo(dc, l.dayNames.right, l.dayNames.bottom);
        }
        DeleteObject(pen);
    }

    void PaintDays(HDC dc, const Layout& l) {
        int first = FirstShownDay();
        int monthFirst = FirstOfMonth(FYear, FMonth);
        int monthEnd = monthFirst + DaysInAMonth(static_cast<Word>(FYear), static_cast<Word>(FMonth));
        int today = Today();
        HFONT bold = nullptr;
        for (int i = 0; i < CellCount; ++i) {
            int day = first + i;
            if (!Shown(day))
                continue;
            RECT cell = CellRect(l, i);
            bool selected = day >= FSelStart && day <= FSelEnd;
            bool trailing = day < monthFirst || day >= monthEnd;
            if (selected && !trailing)
                FillColor(dc, cell, GetSysColor(COLOR_HIGHLIGHT));
            COLORREF color = trailing || !InRange(day) ? FColors[MCSC_TRAILINGTEXT]
                             : selected                ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                       : FColors[MCSC_TEXT];
            SetTextColor(dc, color);
            Word y = 0, m = 0, d = 0;
            DecodeDate(day, y, m, d);
            String text = IntToStr(d);
            HGDIOBJ old = nullptr;
            if (Bold(day)) {
                if (!bold)
                    bold = BoldFont();
                old = SelectObject(dc, bold);
            }
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            if (old)
                SelectObject(dc, old);
            if (day == today && !(Style() & MCS_NOTODAYCIRCLE))
                Circle(dc, cell);
        }
        if (bold)
            DeleteObject(bold);
    }

    void PaintWeekNumbers(HDC dc, const Layout& l) {
        SetTextColor(dc, FColors[MCSC_TITLEBK]);
        int first = FirstShownDay();
        for (int row = 0; row < 6; ++row) {
            String text = IntToStr(WeekNumber(first + row * 7));
            RECT rect{l.weekNums.left, l.days.top + row * l.cellHeight, l.weekNums.right,
                      l.days.top + (row + 1) * l.cellHeight};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }

    void PaintToday(HDC dc, const Layout& l) {
        SetTextColor(dc, FColors[MCSC_TEXT]);
        RECT mark{l.today.left + 2, l.today.top + 2, l.today.left + l.cellWidth - 2, l.today.bottom - 2};
        if (!(Style() & MCS_NOTODAYCIRCLE))
            Circle(dc, mark);
        RECT rect = l.today;
        rect.left += l.cellWidth;
        String text = TodayText();
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }

    void Circle(HDC dc, const RECT& rect) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0xFF, 0, 0));
        {
            SelectGuard selectPen(dc, pen);
            SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
            Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
        }
        DeleteObject(pen);
    }

    HFONT BoldFont() const {
        LOGFONTW lf{};
        GetObjectW(ControlFont(FFont), sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        return CreateFontIndirectW(&lf);
    }

    HWND FHwnd;
    HWND FNotify; // the window notifications go to: the parent given at creation
    HFONT FFont = nullptr;
    int FYear = 0; // the month shown
    int FMonth = 0;
    int FSelStart = 0; // the selected days, as whole TDateTime days
    int FSelEnd = 0;
    int FAnchor = 0; // the end a Shift selection grows from
    int FMaxSelCount = 7;
    int FToday = 0;
    bool FTodaySet = false; // MCM_SETTODAY fixed today; otherwise it comes from the clock
    DWORD FRangeFlags = 0;
    int FMin = 0;
    int FMax = 0;
    int FFirstDay = -1;  // -1: the locale's
    int FMonthDelta = 0; // 0: the months shown
    bool FTracking = false;
    COLORREF FColors[MCSC_TRAILINGTEXT + 1]{};
    std::vector<MONTHDAYSTATE> FDayState; // one per month from the first shown day's month
    mutable std::map<String, int> FWidths;
    mutable int FLineHeight = -1;
};

LRESULT MonthCalWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MonthCal* control = ControlState<MonthCal>(hwnd, message, [&] {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        return new MonthCal(hwnd, create ? create->hwndParent : nullptr);
    });
    if (!control)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* st = reinterpret_cast<SYSTEMTIME*>(lParam);
    switch (message) {
    case WM_CREATE:
        control->WMCreate();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        control->WMPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
        return 0;
    case WM_SETFONT:
        control->WMSetFont(reinterpret_cast<HFONT>(wParam), lParam != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(control->WMGetFont());
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        control->WMLButtonDown(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        control->WMLButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        control->WMCaptureChanged();
        return 0;
    case WM_KEYDOWN:
        if (control->WMKeyDown(static_cast<int>(wParam)))
            return 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        control->Invalidate();
        return 0;
    case WM_STYLECHANGED:
        control->Invalidate();
        return 0;
    case MCM_GETCURSEL:
        return control->MCMGetCurSel(st);
    case MCM_SETCURSEL:
        return control->MCMSetCurSel(st);
    case MCM_GETMAXSELCOUNT:
        return control->MCMGetMaxSelCount();
    case MCM_SETMAXSELCOUNT:
        return control->MCMSetMaxSelCount(static_cast<int>(wParam));
    case MCM_GETSELRANGE:
        return control->MCMGetSelRange(st);
    case MCM_SETSELRANGE:
        return control->MCMSetSelRange(st);
    case MCM_GETMONTHRANGE:
        return control->MCMGetMonthRange(static_cast<DWORD>(wParam), st);
    case MCM_SETDAYSTATE:
        return control->MCMSetDayState(static_cast<int>(wParam),
                                       reinterpret_cast<const MONTHDAYSTATE*>(lParam));
    case MCM_GETMINREQRECT:
        return control->MCMGetMinReqRect(reinterpret_cast<RECT*>(lParam));
    case MCM_SETCOLOR:
        return control->MCMSetColor(static_cast<int>(wParam), static_cast<COLORREF>(lParam));
    case MCM_GETCOLOR:
        return control->MCMGetColor(static_cast<int>(wParam));
    case MCM_SETTODAY:
        return control->MCMSetToday(st);
    case MCM_GETTODAY:
        return control->MCMGetToday(st);
    case MCM_HITTEST:
        return control->MCMHitTest(reinterpret_cast<MCHITTESTINFO*>(lParam));
    case MCM_SETFIRSTDAYOFWEEK:
        return control->MCMSetFirstDayOfWeek(static_cast<int>(lParam));
    case MCM_GETFIRSTDAYOFWEEK:
        return control->MCMGetFirstDayOfWeek();
    case MCM_GETRANGE:
        return control->MCMGetRange(st);
    case MCM_SETRANGE:
        return control->MCMSetRange(static_cast<DWORD>(wParam), st);
    case MCM_GETMONTHDELTA:
        return control->MCMGetMonthDelta();
    case MCM_SETMONTHDELTA:
        return control->MCMSetMonthDelta(static_cast<int>(wParam));
    case MCM_GETMAXTODAYWIDTH:
        return control->MCMGetMaxTodayWidth();
    default:
        if (message >= MCM_FIRST && message <= MCM_LAST)
            ZFIXME(TraceMonthCal, "message %#x is not handled", message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterMonthCalClass() {
    RegisterControlClass(MONTHCAL_CLASSW, MonthCalWndProc, CS_DBLCLKS | CS_GLOBALCLASS);
}

} // namespace win32::controls
