// The date-time picker window class ("SysDateTimePick32"): a date or time shown in fields of a format
// string and edited by digits and arrows, an optional check box (DTS_SHOWNONE), an up-down part or a
// drop-down month calendar, callback fields the parent formats, and text the parent parses
// (DTS_APPCANPARSE).
//
// Contents: format parsing; field text and editing rules; the control's state and handlers; painting;
// the window procedures.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceDateTime("datetime");

// ---- Format parsing ----

enum class FieldKind {
    Literal,
    Day,
    DayName,
    Month,
    MonthName,
    Year1,
    Year2,
    Year4,
    Hour12,
    Hour24,
    Minute,
    Second,
    AmPm,
    Callback
};

struct Field {
    FieldKind kind = FieldKind::Literal;
    int count = 1; // how many letters the format gave: d or dd, t or tt
    String text;   // a literal's text; a callback field's format ("XX")
};

bool Editable(const Field& field) {
    return field.kind != FieldKind::Literal;
}

// Splits a format of the control into fields: runs of d M y h H m s t X are fields, text in single quotes
// ('' is a quote) and every other character are literals.
std::vector<Field> ParseFormat(const String& format) {
    std::vector<Field> fields;
    auto literal = [&](Char c) {
        if (fields.empty() || fields.back().kind != FieldKind::Literal)
            fields.push_back(Field{FieldKind::Literal, 0, u""});
        fields.back().text += c;
    };
    size_t i = 0;
    while (i < format.size()) {
        Char c = format[i];
        if (c == u'\'') {
            ++i;
            while (i < format.size()) {
                if (format[i] == u'\'') {
                    if (i + 1 < format.size() && format[i + 1] == u'\'') {
                        literal(u'\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal(format[i++]);
            }
            continue;
        }
        size_t run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        int count = static_cast<int>(run);
        Field field;
        field.count = count;
        switch (c) {
        case u'd':
            field.kind = count >= 3 ? FieldKind::DayName : FieldKind::Day;
            break;
        case u'M':
            field.kind = count >= 3 ? FieldKind::MonthName : FieldKind::Month;
            break;
        case u'y':
            field.kind = count == 1 ? FieldKind::Year1 : count == 2 ? FieldKind::Year2 : FieldKind::Year4;
            break;
        case u'h':
            field.kind = FieldKind::Hour12;
            break;
        case u'H':
            field.kind = FieldKind::Hour24;
            break;
        case u'm':
            field.kind = FieldKind::Minute;
            break;
        case u's':
            field.kind = FieldKind::Second;
            break;
        case u't':
            field.kind = FieldKind::AmPm;
            break;
        case u'X':
            field.kind = FieldKind::Callback;
            field.text = format.substr(i, run);
            break;
        default:
            for (size_t k = 0; k < run; ++k)
                literal(c);
            i += run;
            continue;
        }
        fields.push_back(field);
        i += run;
    }
    return fields;
}

// The framework's formats in the control's letters: AMPM, AM/PM and A/P become tt and t, "quoted" text
// 'quoted', n (minutes) m; without an AM/PM marker h is the 24-hour H.
String ControlFormat(const String& format) {
    auto startsAt = [&](size_t i, const char16_t* marker) {
        String m(marker);
        if (i + m.size() > format.size())
            return false;
        for (size_t k = 0; k < m.size(); ++k) {
            Char c = format[i + k];
            if (c >= u'a' && c <= u'z')
                c = static_cast<Char>(c - u'a' + u'A');
            if (c != m[k])
                return false;
        }
        return true;
    };
    bool twelveHour = false;
    for (size_t i = 0; i < format.size(); ++i)
        if (startsAt(i, u"AMPM") || startsAt(i, u"AM/PM") || startsAt(i, u"A/P"))
            twelveHour = true;
    String result;
    for (size_t i = 0; i < format.size();) {
        Char c = format[i];
        if (c == u'"' || c == u'\'') {
            size_t end = format.find(c, i + 1);
            if (end == String::npos)
                end = format.size();
            result += u'\'';
            for (size_t k = i + 1; k < end; ++k) {
                if (format[k] == u'\'')
                    result += u'\'';
                result += format[k];
            }
            result += u'\'';
            i = end + 1;
        } else if (startsAt(i, u"AMPM")) {
            result += u"tt";
            i += 4;
        } else if (startsAt(i, u"AM/PM")) {
            result += u"tt";
            i += 5;
        } else if (startsAt(i, u"A/P")) {
            result += u"t";
            i += 3;
        } else {
            if (c == u'n')
                c = u'm';
            else if (c == u'h' && !twelveHour)
                c = u'H';
            else if (c == u'z' || c == u'Z') {
                ++i;
                continue;
            }
            result += c;
            ++i;
        }
    }
    return result;
}

// The format the styles choose when the parent set none.
String StyleFormat(DWORD style) {
    if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
        return ControlFormat(FormatSettings.LongTimeFormat);
    if ((style & DTS_SHORTDATECENTURYFORMAT) == DTS_SHORTDATECENTURYFORMAT) {
        String format = ControlFormat(FormatSettings.ShortDateFormat);
        if (format.find(u"yyy") == String::npos) {
            size_t at = format.find(u"yy");
            if (at != String::npos)
                format.replace(at, 2, u"yyyy");
        }
        return format;
    }
    if (style & DTS_LONGDATEFORMAT)
        return ControlFormat(FormatSettings.LongDateFormat);
    return ControlFormat(FormatSettings.ShortDateFormat);
}

String Padded(int value, int width) {
    String text = IntToStr(value);
    while (static_cast<int>(text.size()) < width)
        text.insert(text.begin(), u'0');
    return text;
}

// A two-digit year as typed: 00-49 are 2000-2049 and 50-99 are 1950-1999, as the Gregorian calendar's
// two-digit year limit of 2049 has it.
int ExpandTwoDigitYear(int year) {
    return year < 50 ? 2000 + year : 1900 + year;
}

// The value the picker holds: a date and a time of day.
struct Value {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;

    TDateTime DateTime() const {
        return EncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day)) +
               EncodeTime(static_cast<Word>(hour), static_cast<Word>(minute), static_cast<Word>(second), 0);
    }
    int Day() const {
        return static_cast<int>(
            EncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day)));
    }
    int DaysInMonth() const { return DaysInAMonth(static_cast<Word>(year), static_cast<Word>(month)); }
    // After a change of month or year the day is kept inside the month.
    void FitDay() { day = std::min(day, DaysInMonth()); }
    void SetDay(int whole) {
        Word y = 0, m = 0, d = 0;
        DecodeDate(whole, y, m, d);
        year = y;
        month = m;
        day = d;
    }
    SYSTEMTIME SystemTime() const {
        SYSTEMTIME st = DayToSystemTime(Day());
        st.wHour = static_cast<WORD>(hour);
        st.wMinute = static_cast<WORD>(minute);
        st.wSecond = static_cast<WORD>(second);
        return st;
    }
    static bool FromSystemTime(const SYSTEMTIME& st, Value& value) {
        int whole = 0;
        if (!SystemTimeToDay(st, whole) || st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59 ||
            st.wMilliseconds > 999)
            return false;
        value.SetDay(whole);
        value.hour = st.wHour;
        value.minute = st.wMinute;
        value.second = st.wSecond;
        return true;
    }
    bool operator==(const Value&) const = default;
};

// The smallest and largest value of a numeric field, for the value given.
void FieldBounds(FieldKind kind, const Value& value, int& low, int& high) {
    switch (kind) {
    case FieldKind::Day:
        low = 1;
        high = value.DaysInMonth();
        break;
    case FieldKind::Month:
    case FieldKind::MonthName:
        low = 1;
        high = 12;
        break;
    case FieldKind::Hour12:
        low = 1;
        high = 12;
        break;
    case FieldKind::Hour24:
        low = 0;
        high = 23;
        break;
    case FieldKind::Minute:
    case FieldKind::Second:
        low = 0;
        high = 59;
        break;
    default:
        low = 0;
        high = 0;
        break;
    }
}

// Earliest and latest dates the control takes, whatever the range says.
constexpr int EarliestDay = -109205; // 1601-01-01
constexpr int LatestDay = 2958465;   // 9999-12-31

// ---- Layout ----

struct Layout {
    RECT checkBox{}; // empty without DTS_SHOWNONE
    RECT text{};     // where the fields are drawn
    RECT button{};   // the drop-down button, or the whole up-down part
    RECT up{};       // the halves of the up-down part, empty without it
    RECT down{};
    std::vector<RECT> fields; // one per field of the format
};

enum class ButtonPart { None, DropDown, Up, Down };

class DateTime {
public:
    DateTime(HWND hwnd, HWND notify) : FHwnd(hwnd), FNotify(notify) {
        TDateTime now = Now();
        Word y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
        DecodeDateTime(now, y, m, d, h, n, s, ms);
        FValue = Value{y, m, d, h, n, s};
        for (int i = 0; i <= MCSC_TRAILINGTEXT; ++i)
            FMcColors[i] = CLR_INVALID;
    }
    ~DateTime() {
        if (FMonthCal && IsWindow(FMonthCal))
            DestroyWindow(FMonthCal);
    }

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    bool ShowNone() const { return (Style() & DTS_SHOWNONE) != 0; }
    bool UpDown() const { return (Style() & DTS_UPDOWN) != 0; }

    void WMCreate() { StyleChanged(); }

    // Styles decide the default format; the child windows of the picker (the edit of DTS_APPCANPARSE,
    // the calendar) exist only while in use, so nothing else depends on the style.
    void StyleChanged() {
        if (!FCustomFormat)
            SetFields(StyleFormat(Style()));
        Invalidate();
    }

    // ---- DTM_ messages ----
    LRESULT DTMGetSystemTime(SYSTEMTIME* st) const {
        if (!st)
            return GDT_ERROR;
        if (ShowNone() && !FChecked)
            return GDT_NONE;
        *st = FValue.SystemTime();
        return GDT_VALID;
    }

    // A valid date outside the range is taken at the nearest end of the range and answers TRUE.
    LRESULT DTMSetSystemTime(DWORD flag, const SYSTEMTIME* st) {
        if (flag == GDT_NONE) {
            if (!ShowNone())
                return FALSE;
            FChecked = false;
            Invalidate();
            return TRUE;
        }
        Value value;
        if (flag != GDT_VALID || !st || !Value::FromSystemTime(*st, value))
            return FALSE;
        FValue = Clamped(value);
        FChecked = true;
        FTyped.clear();
        FPending = -1;
        if (FMonthCal) {
            SYSTEMTIME date = DayToSystemTime(FValue.Day());
            SendMessageW(FMonthCal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
        }
        Invalidate();
        return TRUE;
    }

    LRESULT DTMGetRange(SYSTEMTIME* range) const {
        if (range)
            GetDayRange(FRangeFlags, FMin, FMax, range);
        return static_cast<LRESULT>(FRangeFlags);
    }

    // The value moves inside a new range at once.
    LRESULT DTMSetRange(DWORD flags, const SYSTEMTIME* range) {
        int low = 0, high = 0;
        if (!ReadDayRange(flags, range, low, high))
            return FALSE;
        FRangeFlags = flags & (GDTR_MIN | GDTR_MAX);
        FMin = low;
        FMax = high;
        FValue = Clamped(FValue);
        Invalidate();
        return TRUE;
    }

    LRESULT DTMSetFormat(LPCWSTR format) {
        FCustomFormat = format != nullptr;
        SetFields(format ? String(format) : StyleFormat(Style()));
        Invalidate();
        return TRUE;
    }

    LRESULT DTMSetMcColor(int which, COLORREF color) {
        if (which < 0 || which > MCSC_TRAILINGTEXT)
            return static_cast<LRESULT>(-1);
        COLORREF old = McColor(which);
        FMcColors[which] = color;
        if (FMonthCal)
            SendMessageW(FMonthCal, MCM_SETCOLOR, static_cast<WPARAM>(which), static_cast<LPARAM>(color));
        return static_cast<LRESULT>(old);
    }
    LRESULT DTMGetMcColor(int which) const {
        if (which < 0 || which > MCSC_TRAILINGTEXT)
            return static_cast<LRESULT>(-1);
        return static_cast<LRESULT>(McColor(which));
    }
    HWND DTMGetMonthCal() const { return FMonthCal; }
    void DTMSetMcFont(HFONT font, bool redraw) {
        FMcFont = font;
        if (FMonthCal)
            SendMessageW(FMonthCal, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    HFONT DTMGetMcFont() const { return FMcFont; }

    void WMSetFont(HFONT font, bool redraw) {
        FFont = font;
        if (redraw)
            Invalidate();
    }
    HFONT WMGetFont() const { return FFont; }

    // The window text is the value as shown.
    LRESULT WMGetText(int size, LPWSTR buffer) const {
        if (!buffer || size <= 0)
            return 0;
        String text = Text();
        int count = std::min(static_cast<int>(text.size()), size - 1);
        std::copy_n(text.data(), count, buffer);
        buffer[count] = 0;
        return count;
    }
    LRESULT WMGetTextLength() const { return static_cast<LRESULT>(Text().size()); }

    // ---- Focus ----
    void WMSetFocus() {
        if (FSelected < 0)
            FSelected = NextEditable(-1, 1);
        NotifySimple(NM_SETFOCUS);
        Invalidate();
    }
    void WMKillFocus(HWND to) {
        CommitTyped();
        if (FDropped && to != FMonthCal)
            CloseUp(false);
        if (FEdit && to != FEdit)
            EndUserString(true);
        NotifySimple(NM_KILLFOCUS);
        Invalidate();
    }

    // ---- Keys ----
    bool WMKeyDown(int key) {
        bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
        if (FDropped) {
            switch (key) {
            case VK_ESCAPE:
                CloseUp(false);
                return true;
            case VK_RETURN:
            case VK_F4:
                CloseUp(true);
                return true;
            case VK_UP:
            case VK_DOWN:
                if (alt) {
                    CloseUp(true);
                    return true;
                }
                break;
            default:
                break;
            }
            SendMessageW(FMonthCal, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
            return true;
        }
        if (alt && key != VK_DOWN)
            return false;
        if ((key == VK_F4 || (alt && key == VK_DOWN)) && !UpDown()) {
            DropDown();
            return true;
        }
        if (key == VK_F2 && (Style() & DTS_APPCANPARSE)) {
            BeginUserString(u"");
            return true;
        }
        if (FSelected >= 0 && FFields[static_cast<size_t>(FSelected)].kind == FieldKind::Callback) {
            if (key == VK_LEFT || key == VK_RIGHT) {
                Move(key == VK_LEFT ? -1 : 1);
                return true;
            }
            CallbackKey(key);
            return true;
        }
        switch (key) {
        case VK_LEFT:
            Move(-1);
            return true;
        case VK_RIGHT:
            Move(1);
            return true;
        case VK_UP:
            Step(1);
            return true;
        case VK_DOWN:
            Step(-1);
            return true;
        case VK_HOME:
            StepToEnd(false);
            return true;
        case VK_END:
            StepToEnd(true);
            return true;
        default:
            return false;
        }
    }

    void WMChar(Char c) {
        if (FDropped || FEdit)
            return;
        if (c == u' ' && ShowNone()) {
            SetChecked(!FChecked);
            return;
        }
        if (FSelected < 0)
            return;
        const Field& field = FFields[static_cast<size_t>(FSelected)];
        if (c >= u'0' && c <= u'9') {
            TypeDigit(field, c - u'0');
            return;
        }
        if (field.kind == FieldKind::AmPm) {
            TypeAmPm(c);
            return;
        }
        if (field.kind == FieldKind::MonthName && TypeMonthLetter(c))
            return;
        // Text the fields cannot take goes to the parent to parse.
        if ((Style() & DTS_APPCANPARSE) && c >= u' ')
            BeginUserString(String(1, c));
    }

    // ---- Mouse ----
    void WMLButtonDown(POINT pt) {
        if (FDropped) {
            POINT screen = pt;
            ClientToScreen(FHwnd, &screen);
            RECT calendar{};
            GetWindowRect(FMonthCal, &calendar);
            if (PtInRect(&calendar, screen)) {
                POINT local = screen;
                ScreenToClient(FMonthCal, &local);
                SendMessageW(FMonthCal, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
                return;
            }
            // A click outside the calendar closes it and does nothing else.
            CloseUp(false);
            return;
        }
        if (GetFocus() != FHwnd)
            SetFocus(FHwnd);
        Layout layout = MakeLayout();
        if (ShowNone() && PtInRect(&layout.checkBox, pt)) {
            SetChecked(!FChecked);
            return;
        }
        switch (PartAt(layout, pt)) {
        case ButtonPart::DropDown:
            DropDown();
            return;
        case ButtonPart::Up:
            Step(1);
            return;
        case ButtonPart::Down:
            Step(-1);
            return;
        case ButtonPart::None:
            break;
        }
        for (size_t i = 0; i < layout.fields.size(); ++i) {
            if (Editable(FFields[i]) && PtInRect(&layout.fields[i], pt)) {
                Select(static_cast<int>(i));
                return;
            }
        }
    }

    void WMLButtonUp(POINT pt) {
        if (!FDropped)
            return;
        POINT screen = pt;
        ClientToScreen(FHwnd, &screen);
        RECT calendar{};
        GetWindowRect(FMonthCal, &calendar);
        if (PtInRect(&calendar, screen)) {
            ScreenToClient(FMonthCal, &screen);
            SendMessageW(FMonthCal, WM_LBUTTONUP, 0, MAKELPARAM(screen.x, screen.y));
        }
    }

    // The calendar takes the mouse while a day is pressed; it is given back after.
    void WMCaptureChanged(HWND to) {
        if (FDropped && to != FHwnd && to != FMonthCal && !FClosing)
            CloseUp(false);
    }

    LRESULT WMNotify(const NMHDR* header) {
        if (!header || header->hwndFrom != FMonthCal || !FMonthCal)
            return 0;
        if (header->code == MCN_SELECT) {
            const auto* select = reinterpret_cast<const NMSELECT*>(header);
            int day = 0;
            if (SystemTimeToDay(select->stSelStart, day)) {
                FCalendarDay = day;
                FCalendarPicked = true;
            }
            // Close after the calendar has finished with its click.
            PostMessageW(FHwnd, PickerCloseUp, TRUE, 0);
        } else if (header->code == MCN_SELCHANGE && GetCapture() != FHwnd && GetCapture() != FMonthCal) {
            SetCapture(FHwnd);
        }
        return 0;
    }

    // A picker going away tells nothing more: neither the calendar nor the text being typed is taken.
    void WMDestroy() {
        FDestroying = true;
        if (FMonthCal) {
            HWND calendar = FMonthCal;
            FMonthCal = nullptr;
            FDropped = false;
            if (GetCapture() == FHwnd || GetCapture() == calendar)
                ReleaseCapture();
            DestroyWindow(calendar);
        }
    }

    // Hidden (also on the way to being destroyed), the picker takes its calendar and the text being
    // typed away without a change.
    void Hidden() {
        if (FDropped)
            CloseUp(false);
        EndUserString(false);
    }

    void PickerCloseUpMessage(bool apply) {
        if (FDropped)
            CloseUp(apply);
    }

    // ---- The edit of DTS_APPCANPARSE ----
    LRESULT EditKey(HWND edit, WNDPROC original, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
            EndUserString(wParam == VK_RETURN);
            return 0;
        }
        if (message == WM_CHAR && (wParam == u'\r' || wParam == 27))
            return 0;
        if (message == WM_GETDLGCODE)
            return CallWindowProcW(original, edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
        if (message == WM_KILLFOCUS && FEdit == edit) {
            LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
            if (reinterpret_cast<HWND>(wParam) != FHwnd)
                EndUserString(true);
            return result;
        }
        return CallWindowProcW(original, edit, message, wParam, lParam);
    }
    WNDPROC EditProc() const { return FEditProc; }

    void Invalidate() { InvalidateRect(FHwnd, nullptr, TRUE); }

    void WMPaint(HDC given) {
        PaintControl(FHwnd, given, [this](HDC dc) { Paint(dc); });
    }

    // Posted by the picker to itself to close the calendar once its click is over; wParam says whether
    // the picked day is taken.
    static constexpr UINT PickerCloseUp = WM_USER + 0x0F00;

private:
    // ---- Fields and their text ----
    void SetFields(const String& format) {
        CommitTyped();
        FFormat = format;
        FFields = ParseFormat(format);
        if (FSelected >= static_cast<int>(FFields.size()) ||
            (FSelected >= 0 && !Editable(FFields[static_cast<size_t>(FSelected)])))
            FSelected = -1;
        if (FSelected < 0 && GetFocus() == FHwnd)
            FSelected = NextEditable(-1, 1);
    }

    String FieldText(size_t index) const {
        const Field& field = FFields[index];
        const Value& v = FValue;
        if (static_cast<int>(index) == FSelected && !FTyped.empty())
            return FTyped;
        switch (field.kind) {
        case FieldKind::Literal:
            return field.text;
        case FieldKind::Day:
            return Padded(v.day, field.count >= 2 ? 2 : 1);
        case FieldKind::DayName: {
            int dow = DayOfWeek(v.Day()) - 1;
            return field.count == 3 ? FormatSettings.ShortDayNames[dow] : FormatSettings.LongDayNames[dow];
        }
        case FieldKind::Month:
            return Padded(v.month, field.count >= 2 ? 2 : 1);
        case FieldKind::MonthName:
            return field.count == 3 ? FormatSettings.ShortMonthNames[v.month - 1]
                                    : FormatSettings.LongMonthNames[v.month - 1];
        case FieldKind::Year1:
            return IntToStr(v.year % 10);
        case FieldKind::Year2:
            return Padded(v.year % 100, 2);
        case FieldKind::Year4:
            return IntToStr(v.year);
        case FieldKind::Hour12:
            return Padded(v.hour % 12 == 0 ? 12 : v.hour % 12, field.count >= 2 ? 2 : 1);
        case FieldKind::Hour24:
            return Padded(v.hour, field.count >= 2 ? 2 : 1);
        case FieldKind::Minute:
            return Padded(v.minute, field.count >= 2 ? 2 : 1);
        case FieldKind::Second:
            return Padded(v.second, field.count >= 2 ? 2 : 1);
        case FieldKind::AmPm: {
            const String& marker = v.hour < 12 ? FormatSettings.TimeAMString : FormatSettings.TimePMString;
            return field.count == 1 ? marker.substr(0, 1) : marker;
        }
        case FieldKind::Callback:
            return CallbackText(field);
        }
        return String();
    }

    String Text() const {
        String text;
        for (size_t i = 0; i < FFields.size(); ++i)
            text += FieldText(i);
        return text;
    }

    // The parent says what a callback field shows.
    String CallbackText(const Field& field) const {
        NMDATETIMEFORMATW nm{};
        nm.pszFormat = field.text.c_str();
        nm.st = FValue.SystemTime();
        nm.pszDisplay = nm.szDisplay;
        SendNotify(FHwnd, FNotify, nm.nmhdr, DTN_FORMATW);
        if (!nm.pszDisplay)
            return String();
        String text;
        for (int i = 0; nm.pszDisplay[i] && (nm.pszDisplay != nm.szDisplay || i < 63); ++i)
            text += nm.pszDisplay[i];
        return text;
    }

    int NextEditable(int from, int direction) const {
        int count = static_cast<int>(FFields.size());
        if (count == 0)
            return -1;
        int index = from;
        for (int tries = 0; tries < count; ++tries) {
            index = from < 0 && tries == 0 ? (direction > 0 ? 0 : count - 1)
                                           : (index + direction + count) % count;
            if (Editable(FFields[static_cast<size_t>(index)]))
                return index;
        }
        return -1;
    }

    void Select(int index) {
        if (index == FSelected)
            return;
        CommitTyped();
        FSelected = index;
        Invalidate();
    }

    // Left and Right go round the editable fields.
    void Move(int direction) {
        if (FSelected < 0) {
            Select(NextEditable(-1, direction));
            return;
        }
        Select(NextEditable(FSelected, direction));
    }

    // ---- Changing the value ----
    int ClampDay(int day) const {
        day = std::clamp(day, EarliestDay, LatestDay);
        if ((FRangeFlags & GDTR_MIN) && day < FMin)
            day = FMin;
        if ((FRangeFlags & GDTR_MAX) && day > FMax)
            day = FMax;
        return day;
    }
    Value Clamped(Value value) const {
        int day = value.Day();
        int clamped = ClampDay(day);
        if (clamped != day)
            value.SetDay(clamped);
        return value;
    }

    // Takes a value the user made: within the range, checked, and told to the parent when it changed.
    void Apply(Value value) {
        if (value.year < 1601 || value.year > 9999)
            value.year = std::clamp(value.year, 1601, 9999);
        value.FitDay();
        value = Clamped(value);
        bool changed = !(value == FValue) || !FChecked;
        FValue = value;
        FChecked = true;
        Invalidate();
        if (changed)
            NotifyChange();
    }

    void SetChecked(bool checked) {
        CommitTyped();
        FChecked = checked;
        Invalidate();
        NotifyChange();
    }

    // Up and Down: a field goes round within its bounds; the year and the names of days step the date.
    void Step(int delta) {
        if (FSelected < 0)
            FSelected = NextEditable(-1, 1);
        if (FSelected < 0)
            return;
        CommitTyped();
        const Field& field = FFields[static_cast<size_t>(FSelected)];
        Value v = FValue;
        auto wrap = [](int value, int low, int high) {
            return low + ((value - low) % (high - low + 1) + (high - low + 1)) % (high - low + 1);
        };
        switch (field.kind) {
        case FieldKind::Day:
            v.day = wrap(v.day + delta, 1, v.DaysInMonth());
            break;
        case FieldKind::DayName:
            v.SetDay(std::clamp(v.Day() + delta, EarliestDay, LatestDay));
            break;
        case FieldKind::Month:
        case FieldKind::MonthName:
            v.month = wrap(v.month + delta, 1, 12);
            v.FitDay();
            break;
        case FieldKind::Year1:
        case FieldKind::Year2:
        case FieldKind::Year4:
            v.year += delta;
            v.FitDay();
            break;
        case FieldKind::Hour12:
        case FieldKind::Hour24:
            v.hour = wrap(v.hour + delta, 0, 23);
            break;
        case FieldKind::Minute:
            v.minute = wrap(v.minute + delta, 0, 59);
            break;
        case FieldKind::Second:
            v.second = wrap(v.second + delta, 0, 59);
            break;
        case FieldKind::AmPm:
            v.hour = (v.hour + 12) % 24;
            break;
        case FieldKind::Callback:
            CallbackKey(delta > 0 ? VK_UP : VK_DOWN);
            return;
        case FieldKind::Literal:
            return;
        }
        Apply(v);
    }

    // Home and End: the first and last value of the field.
    void StepToEnd(bool last) {
        if (FSelected < 0)
            return;
        CommitTyped();
        const Field& field = FFields[static_cast<size_t>(FSelected)];
        Value v = FValue;
        switch (field.kind) {
        case FieldKind::Day:
            v.day = last ? v.DaysInMonth() : 1;
            break;
        case FieldKind::Month:
        case FieldKind::MonthName:
            v.month = last ? 12 : 1;
            v.FitDay();
            break;
        case FieldKind::Hour12:
        case FieldKind::Hour24:
            v.hour = last ? 23 : 0;
            break;
        case FieldKind::Minute:
            v.minute = last ? 59 : 0;
            break;
        case FieldKind::Second:
            v.second = last ? 59 : 0;
            break;
        case FieldKind::AmPm:
            v.hour = last ? v.hour % 12 + 12 : v.hour % 12;
            break;
        default:
            return;
        }
        Apply(v);
    }

    void SetField(FieldKind kind, int number) {
        Value v = FValue;
        switch (kind) {
        case FieldKind::Day:
            v.day = number;
            break;
        case FieldKind::Month:
        case FieldKind::MonthName:
            v.month = number;
            v.FitDay();
            break;
        case FieldKind::Hour12:
            v.hour = number % 12 + (v.hour >= 12 ? 12 : 0);
            break;
        case FieldKind::Hour24:
            v.hour = number;
            break;
        case FieldKind::Minute:
            v.minute = number;
            break;
        case FieldKind::Second:
            v.second = number;
            break;
        default:
            return;
        }
        Apply(v);
    }

    // A digit in a numeric field: a first digit that could begin a two-digit value waits for a second;
    // a pair that makes no valid value starts again with its second digit. Years gather their digits.
    void TypeDigit(const Field& field, int digit) {
        switch (field.kind) {
        case FieldKind::Year1: {
            Value v = FValue;
            v.year = v.year / 10 * 10 + digit;
            Apply(v);
            return;
        }
        case FieldKind::Year2:
        case FieldKind::Year4: {
            FTyped += static_cast<Char>(u'0' + digit);
            size_t wanted = field.kind == FieldKind::Year2 ? 2 : 4;
            if (FTyped.size() >= wanted)
                CommitTyped();
            else
                Invalidate();
            return;
        }
        case FieldKind::DayName:
        case FieldKind::AmPm:
        case FieldKind::Callback:
        case FieldKind::Literal:
            return;
        default:
            break;
        }
        int low = 0, high = 0;
        FieldBounds(field.kind, FValue, low, high);
        if (field.kind == FieldKind::Day)
            high = 31; // a day is typed before a shorter month is known to matter; it is fitted after
        if (FPending >= 0) {
            int pair = FPending * 10 + digit;
            FPending = -1;
            if (pair >= low && pair <= high) {
                SetField(field.kind,
                         std::min(pair, field.kind == FieldKind::Day ? FValue.DaysInMonth() : high));
                return;
            }
        }
        if (digit * 10 <= high)
            FPending = digit;
        if (digit >= low && digit <= high)
            SetField(field.kind, digit);
    }

    // Ends the digits of a year typed so far: one or two digits are a two-digit year.
    void CommitTyped() {
        FPending = -1;
        if (FTyped.empty())
            return;
        int typed = static_cast<int>(StrToIntDef(FTyped, 0));
        size_t digits = FTyped.size();
        FTyped.clear();
        Value v = FValue;
        v.year = digits <= 2 ? ExpandTwoDigitYear(typed) : typed;
        v.FitDay();
        Apply(v);
    }

    void TypeAmPm(Char c) {
        auto upper = [](Char ch) {
            return ch >= u'a' && ch <= u'z' ? static_cast<Char>(ch - u'a' + u'A') : ch;
        };
        const String& am = FormatSettings.TimeAMString;
        const String& pm = FormatSettings.TimePMString;
        Value v = FValue;
        if (!am.empty() && upper(am[0]) == upper(c))
            v.hour %= 12;
        else if (!pm.empty() && upper(pm[0]) == upper(c))
            v.hour = v.hour % 12 + 12;
        else
            return;
        Apply(v);
    }

    // A letter picks the next month whose name starts with it.
    bool TypeMonthLetter(Char c) {
        auto upper = [](Char ch) {
            return ch >= u'a' && ch <= u'z' ? static_cast<Char>(ch - u'a' + u'A') : ch;
        };
        for (int k = 1; k <= 12; ++k) {
            int month = (FValue.month - 1 + k) % 12 + 1;
            const String& name = FormatSettings.LongMonthNames[month - 1];
            if (!name.empty() && upper(name[0]) == upper(c)) {
                SetField(FieldKind::Month, month);
                return true;
            }
        }
        return false;
    }

    // A key in a callback field: the parent may change the value.
    void CallbackKey(int key) {
        const Field& field = FFields[static_cast<size_t>(FSelected)];
        NMDATETIMEWMKEYDOWNW nm{};
        nm.nVirtKey = key;
        nm.pszFormat = field.text.c_str();
        nm.st = FValue.SystemTime();
        SendNotify(FHwnd, FNotify, nm.nmhdr, DTN_WMKEYDOWNW);
        Value v;
        if (Value::FromSystemTime(nm.st, v) && !(v == FValue))
            Apply(v);
    }

    // ---- Notifications ----
    void NotifySimple(UINT code) {
        NMHDR nm{};
        SendNotify(FHwnd, FNotify, nm, code);
    }

    void NotifyChange() {
        NMDATETIMECHANGE nm{};
        nm.dwFlags = ShowNone() && !FChecked ? GDT_NONE : GDT_VALID;
        if (nm.dwFlags == GDT_VALID)
            nm.st = FValue.SystemTime();
        SendNotify(FHwnd, FNotify, nm.nmhdr, DTN_DATETIMECHANGE);
    }

    // ---- The drop-down calendar ----
    void DropDown() {
        if (FDropped)
            return;
        CommitTyped();
        FMonthCal = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, MONTHCAL_CLASSW, u"",
                                    WS_POPUP | WS_BORDER, 0, 0, 0, 0, FHwnd, nullptr, nullptr, nullptr);
        if (!FMonthCal)
            return;
        if (FMcFont)
            SendMessageW(FMonthCal, WM_SETFONT, reinterpret_cast<WPARAM>(FMcFont), FALSE);
        for (int i = 0; i <= MCSC_TRAILINGTEXT; ++i)
            if (FMcColors[i] != CLR_INVALID)
                SendMessageW(FMonthCal, MCM_SETCOLOR, static_cast<WPARAM>(i),
                             static_cast<LPARAM>(FMcColors[i]));
        SYSTEMTIME range[2]{};
        DTMGetRange(range);
        SendMessageW(FMonthCal, MCM_SETRANGE, FRangeFlags, reinterpret_cast<LPARAM>(range));
        SYSTEMTIME date = DayToSystemTime(FValue.Day());
        SendMessageW(FMonthCal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
        RECT need{};
        SendMessageW(FMonthCal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
        RECT window{};
        GetWindowRect(FHwnd, &window);
        int width = need.right + 2, height = need.bottom + 2;
        int left = (Style() & DTS_RIGHTALIGN) ? window.right - width : window.left;
        SetWindowPos(FMonthCal, HWND_TOPMOST, left, window.bottom, width, height, SWP_NOACTIVATE);
        FDropped = true;
        FCalendarPicked = false;
        Invalidate();
        // The parent may restyle or resize the calendar before it shows.
        NotifySimple(DTN_DROPDOWN);
        if (!FDropped || !FMonthCal)
            return;
        ShowWindow(FMonthCal, SW_SHOWNOACTIVATE);
        SetCapture(FHwnd);
    }

    // Closes the calendar; with apply, the day picked in it (or its selection) becomes the date.
    void CloseUp(bool apply) {
        if (!FDropped || FClosing)
            return;
        FClosing = true;
        int day = FValue.Day();
        bool picked = false;
        if (FCalendarPicked) {
            day = FCalendarDay;
            picked = true;
        } else if (apply) {
            SYSTEMTIME st{};
            if (SendMessageW(FMonthCal, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st)) &&
                SystemTimeToDay(st, day))
                picked = true;
        }
        FDropped = false;
        HWND calendar = FMonthCal;
        FMonthCal = nullptr;
        if (GetCapture() == FHwnd || GetCapture() == calendar)
            ReleaseCapture();
        DestroyWindow(calendar);
        FClosing = false;
        Invalidate();
        NotifySimple(DTN_CLOSEUP);
        if (apply && picked) {
            Value v = FValue;
            v.SetDay(day);
            Apply(v);
        }
    }

    COLORREF McColor(int which) const {
        if (FMcColors[which] != CLR_INVALID)
            return FMcColors[which];
        static const int defaults[] = {COLOR_WINDOW,      COLOR_WINDOWTEXT, COLOR_ACTIVECAPTION,
                                       COLOR_CAPTIONTEXT, COLOR_WINDOW,     COLOR_GRAYTEXT};
        return GetSysColor(defaults[which]);
    }

    // ---- DTS_APPCANPARSE ----
    void BeginUserString(const String& start) {
        if (FEdit)
            return;
        CommitTyped();
        Layout layout = MakeLayout();
        RECT r = layout.text;
        String text = start.empty() ? Text() : start;
        FEdit =
            CreateWindowExW(0, EditClassName, text.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, r.left,
                            r.top, r.right - r.left, r.bottom - r.top, FHwnd, nullptr, nullptr, nullptr);
        if (!FEdit)
            return;
        SendMessageW(FEdit, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
        FEditProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(FEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DateTime::UserEditProc)));
        if (start.empty())
            SendMessageW(FEdit, EM_SETSEL, 0, -1);
        else
            SendMessageW(FEdit, EM_SETSEL, static_cast<WPARAM>(text.size()),
                         static_cast<LPARAM>(text.size()));
        SetFocus(FEdit);
    }

    // With accept, the parent parses the text (DTN_USERSTRING) and its answer is taken.
    void EndUserString(bool accept) {
        if (!FEdit || FEnding || FDestroying)
            return;
        FEnding = true;
        String text = WindowText(FEdit);
        HWND edit = FEdit;
        bool hadFocus = GetFocus() == edit;
        if (hadFocus)
            SetFocus(FHwnd);
        FEdit = nullptr;
        DestroyWindow(edit);
        FEnding = false;
        if (!accept)
            return;
        NMDATETIMESTRINGW nm{};
        nm.pszUserString = text.c_str();
        nm.st = FValue.SystemTime();
        nm.dwFlags = static_cast<DWORD>(GDT_ERROR);
        SendNotify(FHwnd, FNotify, nm.nmhdr, DTN_USERSTRINGW);
        if (nm.dwFlags == GDT_NONE && ShowNone()) {
            if (FChecked)
                SetChecked(false);
            return;
        }
        Value v;
        if (nm.dwFlags == GDT_VALID && Value::FromSystemTime(nm.st, v))
            Apply(v);
        Invalidate();
    }

    static String WindowText(HWND hwnd) {
        int length = GetWindowTextLengthW(hwnd);
        String text(static_cast<size_t>(length) + 1, u'\0');
        int copied = GetWindowTextW(hwnd, text.data(), length + 1);
        text.resize(static_cast<size_t>(std::max(0, copied)));
        return text;
    }

    static LRESULT UserEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
        HWND picker = GetParent(edit);
        DateTime* state = picker ? GetState<DateTime>(picker) : nullptr;
        if (!state || !state->EditProc())
            return DefWindowProcW(edit, message, wParam, lParam);
        return state->EditKey(edit, state->EditProc(), message, wParam, lParam);
    }

    // ---- Layout and painting ----
    Layout MakeLayout() const {
        Layout l;
        RECT client{};
        GetClientRect(FHwnd, &client);
        int buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
        l.text = client;
        l.button = RECT{client.right - buttonWidth, client.top, client.right, client.bottom};
        l.text.right = l.button.left;
        if (UpDown()) {
            int middle = (client.top + client.bottom) / 2;
            l.up = RECT{l.button.left, client.top, l.button.right, middle};
            l.down = RECT{l.button.left, middle, l.button.right, client.bottom};
        }
        if (ShowNone()) {
            int box = std::min<int>(13, client.bottom - client.top);
            int top = (client.top + client.bottom - box) / 2;
            l.checkBox = RECT{client.left + 2, top, client.left + 2 + box, top + box};
            l.text.left = l.checkBox.right + 2;
        }
        HDC dc = GetDC(FHwnd);
        {
            SelectGuard font(dc, ControlFont(FFont));
            int x = l.text.left + 2;
            std::vector<int> widths;
            int total = 0;
            for (size_t i = 0; i < FFields.size(); ++i) {
                String text = FieldText(i);
                SIZE size{};
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
                if (FFields[i].kind == FieldKind::Callback)
                    size.cx = std::max<LONG>(size.cx, CallbackWidth(FFields[i]));
                widths.push_back(size.cx);
                total += size.cx;
            }
            if (Style() & DTS_RIGHTALIGN)
                x = std::max<int>(x, l.text.right - 2 - total);
            for (int width : widths) {
                l.fields.push_back(RECT{x, l.text.top, x + width, l.text.bottom});
                x += width;
            }
        }
        ReleaseDC(FHwnd, dc);
        return l;
    }

    // The widest text the parent says a callback field can show.
    LONG CallbackWidth(const Field& field) const {
        NMDATETIMEFORMATQUERYW nm{};
        nm.pszFormat = field.text.c_str();
        SendNotify(FHwnd, FNotify, nm.nmhdr, DTN_FORMATQUERYW);
        return nm.szMax.cx;
    }

    ButtonPart PartAt(const Layout& l, POINT pt) const {
        if (!PtInRect(&l.button, pt))
            return ButtonPart::None;
        if (!UpDown())
            return ButtonPart::DropDown;
        return PtInRect(&l.up, pt) ? ButtonPart::Up : ButtonPart::Down;
    }

    void Paint(HDC dc) {
        Layout l = MakeLayout();
        RECT client{};
        GetClientRect(FHwnd, &client);
        bool enabled = IsWindowEnabled(FHwnd) != FALSE;
        HBRUSH background = enabled ? ControlColor(FHwnd, GetParent(FHwnd), dc, WM_CTLCOLOREDIT)
                                    : GetSysColorBrush(COLOR_BTNFACE);
        COLORREF textColor = GetTextColor(dc);
        FillRect(dc, &client, background);
        SelectGuard font(dc, ControlFont(FFont));
        SetBkMode(dc, TRANSPARENT);
        bool focused = GetFocus() == FHwnd;
        bool grayed = !enabled || (ShowNone() && !FChecked);
        for (size_t i = 0; i < FFields.size(); ++i) {
            RECT rect = l.fields[i];
            String text = FieldText(i);
            bool selected = focused && !grayed && static_cast<int>(i) == FSelected && !FDropped;
            if (selected) {
                FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            } else {
                SetTextColor(dc, grayed ? GetSysColor(COLOR_GRAYTEXT) : textColor);
            }
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        PaintParts(dc, l, enabled);
    }

    // The check box, the drop-down button and the up-down part, themed or classic.
    void PaintParts(HDC dc, const Layout& l, bool enabled) {
        bool themed = GetSystemSettings().themesActive;
        if (ShowNone()) {
            PaintTheme button(FHwnd, u"BUTTON", themed);
            if (button) {
                int state = FChecked ? (enabled ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED)
                                     : (enabled ? CBS_UNCHECKEDNORMAL : CBS_UNCHECKEDDISABLED);
                DrawThemeBackground(button, dc, BP_CHECKBOX, state, &l.checkBox, nullptr);
            } else {
                RECT box = l.checkBox;
                UINT state = DFCS_BUTTONCHECK | (FChecked ? DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE);
                DrawFrameControl(dc, &box, DFC_BUTTON, state);
            }
        }
        if (UpDown()) {
            PaintTheme spin(FHwnd, u"SPIN", themed);
            if (spin) {
                DrawThemeBackground(spin, dc, SPNP_UP, enabled ? UPS_NORMAL : UPS_DISABLED, &l.up, nullptr);
                DrawThemeBackground(spin, dc, SPNP_DOWN, enabled ? DNS_NORMAL : DNS_DISABLED, &l.down,
                                    nullptr);
            } else {
                RECT up = l.up, down = l.down;
                UINT inactive = enabled ? 0 : DFCS_INACTIVE;
                DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | inactive);
                DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | inactive);
            }
            return;
        }
        PaintTheme combo(FHwnd, u"COMBOBOX", themed);
        if (combo) {
            int state = !enabled ? CBXS_DISABLED : FDropped ? CBXS_PRESSED : CBXS_NORMAL;
            DrawThemeBackground(combo, dc, CP_DROPDOWNBUTTON, state, &l.button, nullptr);
        } else {
            RECT rect = l.button;
            UINT state = DFCS_SCROLLCOMBOBOX | (FDropped ? DFCS_PUSHED | DFCS_FLAT : 0) |
                         (enabled ? 0 : DFCS_INACTIVE);
            DrawFrameControl(dc, &rect, DFC_SCROLL, state);
        }
    }

    HWND FHwnd;
    HWND FNotify; // the window notifications go to: the parent given at creation
    HFONT FFont = nullptr;
    Value FValue;
    bool FChecked = true; // with DTS_SHOWNONE: the check box is set (the value counts)
    String FFormat;
    bool FCustomFormat = false; // DTM_SETFORMAT gave a format; otherwise the styles choose it
    std::vector<Field> FFields;
    int FSelected = -1; // the field keys go to
    int FPending = -1;  // a first digit waiting for a second in the selected field
    String FTyped;      // digits of a year typed so far
    DWORD FRangeFlags = 0;
    int FMin = 0; // the range, as whole days
    int FMax = 0;
    HWND FMonthCal = nullptr; // the calendar, while dropped down
    bool FDropped = false;
    bool FClosing = false;
    bool FCalendarPicked = false; // a day was picked in the calendar, FCalendarDay
    int FCalendarDay = 0;
    HFONT FMcFont = nullptr;
    COLORREF FMcColors[MCSC_TRAILINGTEXT + 1]{};
    HWND FEdit = nullptr; // the edit of DTS_APPCANPARSE, while the user types text
    WNDPROC FEditProc = nullptr;
    bool FEnding = false;
    bool FDestroying = false;
};

LRESULT DateTimeWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DateTime* control = ControlState<DateTime>(hwnd, message, [&] {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        return new DateTime(hwnd, create ? create->hwndParent : nullptr);
    });
    if (!control)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* st = reinterpret_cast<SYSTEMTIME*>(lParam);
    switch (message) {
    case WM_CREATE:
        control->WMCreate();
        return 0;
    case WM_DESTROY:
        control->WMDestroy();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_STYLECHANGED:
        control->StyleChanged();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        control->WMPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
        return 0;
    case WM_ENABLE:
        if (!wParam)
            control->Hidden();
        control->Invalidate();
        return 0;
    case WM_SHOWWINDOW:
        if (!wParam)
            control->Hidden();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_WINDOWPOSCHANGED:
        if (lParam && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW))
            control->Hidden();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_SETFONT:
        control->WMSetFont(reinterpret_cast<HFONT>(wParam), lParam != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(control->WMGetFont());
    case WM_GETTEXT:
        return control->WMGetText(static_cast<int>(wParam), reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return control->WMGetTextLength();
    case WM_SETFOCUS:
        control->WMSetFocus();
        return 0;
    case WM_KILLFOCUS:
        control->WMKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KEYDOWN:
        if (control->WMKeyDown(static_cast<int>(wParam)))
            return 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_SYSKEYDOWN:
        // Alt+Down and Alt+Up open and close the calendar; other system keys are the system's.
        if ((wParam == VK_DOWN || wParam == VK_UP) && control->WMKeyDown(static_cast<int>(wParam)))
            return 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_CHAR:
        control->WMChar(static_cast<Char>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        control->WMLButtonDown(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        control->WMLButtonUp(PointOf(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        control->WMCaptureChanged(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        return control->WMNotify(reinterpret_cast<const NMHDR*>(lParam));
    case DateTime::PickerCloseUp:
        control->PickerCloseUpMessage(wParam != 0);
        return 0;
    case DTM_GETSYSTEMTIME:
        return control->DTMGetSystemTime(st);
    case DTM_SETSYSTEMTIME:
        return control->DTMSetSystemTime(static_cast<DWORD>(wParam), st);
    case DTM_GETRANGE:
        return control->DTMGetRange(st);
    case DTM_SETRANGE:
        return control->DTMSetRange(static_cast<DWORD>(wParam), st);
    case DTM_SETFORMATW:
        return control->DTMSetFormat(reinterpret_cast<LPCWSTR>(lParam));
    case DTM_SETMCCOLOR:
        return control->DTMSetMcColor(static_cast<int>(wParam), static_cast<COLORREF>(lParam));
    case DTM_GETMCCOLOR:
        return control->DTMGetMcColor(static_cast<int>(wParam));
    case DTM_GETMONTHCAL:
        return reinterpret_cast<LRESULT>(control->DTMGetMonthCal());
    case DTM_SETMCFONT:
        control->DTMSetMcFont(reinterpret_cast<HFONT>(wParam), lParam != 0);
        return 0;
    case DTM_GETMCFONT:
        return reinterpret_cast<LRESULT>(control->DTMGetMcFont());
    default:
        if (message >= DTM_FIRST && message <= DTM_LAST)
            ZFIXME(TraceDateTime, "message %#x is not handled", message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterDateTimeClass() {
    RegisterControlClass(DATETIMEPICK_CLASSW, DateTimeWndProc, CS_DBLCLKS | CS_GLOBALCLASS);
}

} // namespace win32::controls
