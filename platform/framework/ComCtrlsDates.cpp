// TCommonCalendar, TMonthCalendar and TDateTimePicker on the common controls' date window classes.
#include "platform/framework/ComCtrlsDates.h"

#include <cmath>

#include "platform/framework/Graphics.h"
#include "platform/framework/Idents.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/commctrl.h"

DEFINE_CLASS(TCommonCalendar)
DEFINE_CLASS(TMonthCalendar, PROPERTY(Date).Type(TypeInfoDateTime()),
             PROPERTY(EndDate).Type(TypeInfoDateTime()), PROPERTY(FirstDayOfWeek).Default(dowLocaleDefault),
             PROPERTY(MaxDate).Type(TypeInfoDateTime()).Stored(&TCommonCalendar::IsMaxDateStored),
             PROPERTY(MaxSelectRange).Default(31),
             PROPERTY(MinDate).Type(TypeInfoDateTime()).Stored(&TCommonCalendar::IsMinDateStored),
             PROPERTY(MultiSelect).Default(false), PROPERTY(ShowToday).Default(true),
             PROPERTY(ShowTodayCircle).Default(true), PROPERTY(TabStop).Default(true),
             PROPERTY(WeekNumbers).Default(false), EVENT(OnGetMonthInfo))
DEFINE_CLASS(TDateTimePicker, PROPERTY(Checked).Default(true), PROPERTY(Date).Type(TypeInfoDateTime()),
             PROPERTY(DateFormat).Default(dfShort), PROPERTY(DateMode).Default(dmComboBox), PROPERTY(Format),
             PROPERTY(Kind).Default(dtkDate),
             PROPERTY(MaxDate).Type(TypeInfoDateTime()).Stored(&TCommonCalendar::IsMaxDateStored),
             PROPERTY(MinDate).Type(TypeInfoDateTime()).Stored(&TCommonCalendar::IsMinDateStored),
             PROPERTY(ParseInput).Default(false), PROPERTY(ShowCheckbox).Default(false),
             PROPERTY(TabStop).Default(true), PROPERTY(Time).Type(TypeInfoDateTime()), EVENT(OnChange),
             EVENT(OnCloseUp), EVENT(OnDropDown), EVENT(OnUserInput))

namespace {

TDateTime DayOf(TDateTime value) {
    return std::trunc(value);
}
TDateTime TimeOfDay(TDateTime value) {
    return std::fabs(value - std::trunc(value));
}

SYSTEMTIME ToSystemTime(TDateTime value) {
    SYSTEMTIME st{};
    Word year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    DecodeDateTime(value, year, month, day, hour, minute, second, msec);
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    st.wMilliseconds = msec;
    return st;
}

bool FromSystemTime(const SYSTEMTIME& st, TDateTime& value) {
    return TryEncodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds,
                             value);
}

} // namespace

// ---- TCommonCalendar ----

TCommonCalendar::TCommonCalendar(TComponent* owner) : TWinControl(owner) {
    FDateTime = Now();
    FEndDate = DayOf(FDateTime);
    SetTabStop(true);
    SetParentColor(false);
}

bool TCommonCalendar::Loading() const {
    return ComponentState().Contains(csLoading);
}

TDateTime TCommonCalendar::Date() const {
    return DayOf(FDateTime);
}

void TCommonCalendar::SetDate(TDateTime value) {
    SetDateTime(DayOf(value) + (value < 0 ? -1 : 1) * TimeOfDay(FDateTime));
}

void TCommonCalendar::SetEndDate(TDateTime value) {
    FEndDate = DayOf(value);
    SetDateTime(FDateTime);
}

void TCommonCalendar::SetDateTime(TDateTime value) {
    FDateTime = value;
}

void TCommonCalendar::CheckValidDate(TDateTime value) const {
    if (Loading())
        return;
    if (FMaxDate != 0 && DayOf(value) > FMaxDate)
        throw ECommonCalendarError(Consts::SDateTimeMax, {DateToStr(FMaxDate)});
    if (FMinDate != 0 && DayOf(value) < FMinDate)
        throw ECommonCalendarError(Consts::SDateTimeMin, {DateToStr(FMinDate)});
}

// A new limit that leaves the value outside moves the value inside, keeping its time.
void TCommonCalendar::SetMinDate(TDateTime value) {
    value = DayOf(value);
    if (!Loading() && value != 0 && FMaxDate != 0 && value > FMaxDate)
        throw ECommonCalendarError(Consts::SInvalidDateTimeRange, {DateToStr(value), DateToStr(FMaxDate)});
    FMinDate = value;
    if (Loading())
        return;
    if (value != 0 && Date() < value)
        SetDateTime(value + TimeOfDay(FDateTime));
    UpdateRange();
}

void TCommonCalendar::SetMaxDate(TDateTime value) {
    value = DayOf(value);
    if (!Loading() && value != 0 && FMinDate != 0 && value < FMinDate)
        throw ECommonCalendarError(Consts::SInvalidDateTimeRange, {DateToStr(FMinDate), DateToStr(value)});
    FMaxDate = value;
    if (Loading())
        return;
    if (value != 0 && Date() > value)
        SetDateTime(value + TimeOfDay(FDateTime));
    UpdateRange();
}

void TCommonCalendar::SetMultiSelect(bool value) {
    if (FMultiSelect == value)
        return;
    FMultiSelect = value;
    FEndDate = Date();
    if (HandleAllocated())
        RecreateWnd();
}

void TCommonCalendar::SetMaxSelectRange(int value) {
    FMaxSelectRange = std::max(1, value);
    if (FMultiSelect && CalendarHandle())
        SendMessageW(CalendarHandle(), MCM_SETMAXSELCOUNT, static_cast<WPARAM>(FMaxSelectRange), 0);
}

void TCommonCalendar::SetWeekNumbers(bool value) {
    if (FWeekNumbers == value)
        return;
    FWeekNumbers = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCommonCalendar::SetShowToday(bool value) {
    if (FShowToday == value)
        return;
    FShowToday = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCommonCalendar::SetShowTodayCircle(bool value) {
    if (FShowTodayCircle == value)
        return;
    FShowTodayCircle = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCommonCalendar::SetFirstDayOfWeek(TCalDayOfWeek value) {
    FFirstDayOfWeek = value;
    if (HWND calendar = CalendarHandle())
        SendMessageW(calendar, MCM_SETFIRSTDAYOFWEEK, 0,
                     value == dowLocaleDefault ? -1 : static_cast<int>(value));
}

HWND TCommonCalendar::CalendarHandle() {
    return HandleAllocated() ? Handle() : nullptr;
}

DWORD TCommonCalendar::CalendarStyle() const {
    DWORD style = 0;
    if (FMultiSelect)
        style |= MCS_MULTISELECT;
    if (FWeekNumbers)
        style |= MCS_WEEKNUMBERS;
    if (!FShowToday)
        style |= MCS_NOTODAY;
    if (!FShowTodayCircle)
        style |= MCS_NOTODAYCIRCLE;
    return style;
}

void TCommonCalendar::ApplyCalendarOptions(HWND calendar) {
    SendMessageW(calendar, MCM_SETFIRSTDAYOFWEEK, 0,
                 FFirstDayOfWeek == dowLocaleDefault ? -1 : static_cast<int>(FFirstDayOfWeek));
    if (FMultiSelect)
        SendMessageW(calendar, MCM_SETMAXSELCOUNT, static_cast<WPARAM>(FMaxSelectRange), 0);
    SYSTEMTIME range[2] = {ToSystemTime(FMinDate), ToSystemTime(FMaxDate)};
    DWORD flags = (FMinDate != 0 ? GDTR_MIN : 0) | (FMaxDate != 0 ? GDTR_MAX : 0);
    SendMessageW(calendar, MCM_SETRANGE, flags, reinterpret_cast<LPARAM>(range));
}

void TCommonCalendar::GetDayState(void* dayState) {
    auto* nm = static_cast<NMDAYSTATE*>(dayState);
    for (int i = 0; i < nm->cDayState; ++i) {
        LongWord month = static_cast<LongWord>((nm->stStart.wMonth - 1 + i) % 12 + 1);
        LongWord bold = 0;
        if (OnGetMonthInfo)
            OnGetMonthInfo(this, month, bold);
        nm->prgDayState[i] = bold;
    }
}

// A description may give the value before its limits; the value is put inside them here.
void TCommonCalendar::Loaded() {
    TWinControl::Loaded();
    if (FMinDate != 0 && FMaxDate != 0 && FMinDate > FMaxDate)
        std::swap(FMinDate, FMaxDate);
    TDateTime day = Date();
    if (FMinDate != 0 && day < FMinDate)
        FDateTime = FMinDate + TimeOfDay(FDateTime);
    if (FMaxDate != 0 && day > FMaxDate)
        FDateTime = FMaxDate + TimeOfDay(FDateTime);
    UpdateRange();
    SetDateTime(FDateTime);
}

// ---- TMonthCalendar ----

TMonthCalendar::TMonthCalendar(TComponent* owner) : TCommonCalendar(owner) {
    SetControlStyle(TControlStyle{csOpaque, csClickEvents, csDoubleClicks});
    SetBounds(0, 0, 225, 173);
}

void TMonthCalendar::SetDateTime(TDateTime value) {
    CheckValidDate(value);
    FDateTime = value;
    if (!MultiSelect() || FEndDate < Date() || FEndDate - Date() >= MaxSelectRange())
        FEndDate = Date();
    UpdateSelection();
}

void TMonthCalendar::CreateParams(TCreateParams& params) {
    TCommonCalendar::CreateParams(params);
    CreateSubClass(params, MONTHCAL_CLASSW);
    params.Style |= CalendarStyle() | MCS_DAYSTATE;
}

void TMonthCalendar::CreateWnd() {
    TCommonCalendar::CreateWnd();
    ApplyCalendarOptions(Handle());
    UpdateSelection();
}

void TMonthCalendar::UpdateRange() {
    if (HandleAllocated())
        ApplyCalendarOptions(Handle());
}

void TMonthCalendar::UpdateSelection() {
    if (!HandleAllocated())
        return;
    if (MultiSelect()) {
        SYSTEMTIME range[2] = {ToSystemTime(Date()), ToSystemTime(FEndDate)};
        SendMessageW(Handle(), MCM_SETSELRANGE, 0, reinterpret_cast<LPARAM>(range));
    } else {
        SYSTEMTIME st = ToSystemTime(Date());
        SendMessageW(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    }
}

void TMonthCalendar::Dispatch(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        CNNotify(message);
        return;
    }
    TCommonCalendar::Dispatch(message);
}

// The user's selection comes back as the date; the time of day is kept.
void TMonthCalendar::CNNotify(TMessage& message) {
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    switch (header->code) {
    case MCN_SELCHANGE:
    case MCN_SELECT: {
        auto* sel = reinterpret_cast<NMSELCHANGE*>(header);
        TDateTime start = 0, end = 0;
        if (FromSystemTime(sel->stSelStart, start) && FromSystemTime(sel->stSelEnd, end)) {
            FDateTime = DayOf(start) + TimeOfDay(FDateTime);
            FEndDate = DayOf(end);
        }
        break;
    }
    case MCN_GETDAYSTATE:
        GetDayState(header);
        break;
    default:
        break;
    }
    message.Result = 0;
}

// ---- TDateTimePicker ----

TDateTimePicker::TDateTimePicker(TComponent* owner) : TCommonCalendar(owner) {
    SetBounds(0, 0, 186, 21);
    SetColor(clWindow);
}

TDateTime TDateTimePicker::Time() const {
    return TimeOfDay(FDateTime);
}

void TDateTimePicker::SetTime(TDateTime value) {
    SetDateTime(Date() + (Date() < 0 ? -1 : 1) * TimeOfDay(value));
}

void TDateTimePicker::SetDateTime(TDateTime value) {
    CheckValidDate(value);
    FDateTime = value;
    SendValue();
}

void TDateTimePicker::SetChecked(bool value) {
    FChecked = value;
    SendValue();
}

void TDateTimePicker::SendValue() {
    if (!HandleAllocated())
        return;
    if (FShowCheckbox && !FChecked) {
        SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_NONE, 0);
        return;
    }
    SYSTEMTIME st = ToSystemTime(FDateTime);
    FSendingValue = true;
    SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    FSendingValue = false;
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
    if (FKind == value)
        return;
    FKind = value;
    RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value) {
    if (FDateFormat == value)
        return;
    FDateFormat = value;
    RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode value) {
    if (FDateMode == value)
        return;
    FDateMode = value;
    RecreateWnd();
}

void TDateTimePicker::SetShowCheckbox(bool value) {
    if (FShowCheckbox == value)
        return;
    FShowCheckbox = value;
    RecreateWnd();
}

void TDateTimePicker::SetParseInput(bool value) {
    if (FParseInput == value)
        return;
    FParseInput = value;
    RecreateWnd();
}

void TDateTimePicker::SetFormat(const String& value) {
    FFormat = value;
    if (HandleAllocated())
        SendMessageW(Handle(), DTM_SETFORMATW, 0,
                     FFormat.empty() ? 0 : reinterpret_cast<LPARAM>(FFormat.c_str()));
}

HWND TDateTimePicker::CalendarHandle() {
    return HandleAllocated() ? reinterpret_cast<HWND>(SendMessageW(Handle(), DTM_GETMONTHCAL, 0, 0))
                             : nullptr;
}

void TDateTimePicker::UpdateRange() {
    if (!HandleAllocated())
        return;
    SYSTEMTIME range[2] = {ToSystemTime(MinDate()), ToSystemTime(MaxDate())};
    DWORD flags = (MinDate() != 0 ? GDTR_MIN : 0) | (MaxDate() != 0 ? GDTR_MAX : 0);
    SendMessageW(Handle(), DTM_SETRANGE, flags, reinterpret_cast<LPARAM>(range));
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
    TCommonCalendar::CreateParams(params);
    CreateSubClass(params, DATETIMEPICK_CLASSW);
    if (FKind == dtkTime)
        params.Style |= DTS_TIMEFORMAT;
    else if (FDateFormat == dfLong)
        params.Style |= DTS_LONGDATEFORMAT;
    if (FDateMode == dmUpDown)
        params.Style |= DTS_UPDOWN;
    if (FShowCheckbox)
        params.Style |= DTS_SHOWNONE;
    if (FParseInput)
        params.Style |= DTS_APPCANPARSE;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateWnd() {
    TCommonCalendar::CreateWnd();
    FDroppedDown = false;
    UpdateRange();
    if (!FFormat.empty())
        SendMessageW(Handle(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(FFormat.c_str()));
    SendValue();
}

void TDateTimePicker::Change() {
    if (OnChange)
        OnChange(this);
}

// The calendar exists now: it takes the calendar options before it shows.
void TDateTimePicker::DropDown() {
    FDroppedDown = true;
    if (HWND calendar = CalendarHandle()) {
        SetWindowLongW(calendar, GWL_STYLE,
                       static_cast<LONG>(GetWindowLongW(calendar, GWL_STYLE) | CalendarStyle()));
        ApplyCalendarOptions(calendar);
        RECT need{};
        SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
        SetWindowPos(calendar, nullptr, 0, 0, need.right + 2, need.bottom + 2,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (OnDropDown)
        OnDropDown(this);
}

void TDateTimePicker::CloseUp() {
    FDroppedDown = false;
    if (OnCloseUp)
        OnCloseUp(this);
}

void TDateTimePicker::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case DTM_SETSYSTEMTIME:
        // The window sends no notification for a value set by a message; Checked and DateTime follow
        // the window all the same when the message came from code other than ours.
        TCommonCalendar::Dispatch(message);
        if (message.Result == 0)
            return;
        if (FShowCheckbox)
            FChecked = message.WParam == GDT_VALID;
        if (message.WParam == GDT_VALID && !FSendingValue) {
            SYSTEMTIME st{};
            TDateTime value = 0;
            if (SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID &&
                FromSystemTime(st, value))
                FDateTime = value;
        }
        return;
    case CN_CTLCOLOREDIT: {
        // The window class draws the fields in the font colour on the control's brush.
        auto dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Brush()->Color()));
        message.Result = reinterpret_cast<LRESULT>(Brush()->Handle());
        return;
    }
    default:
        break;
    }
    TCommonCalendar::Dispatch(message);
}

void TDateTimePicker::CNNotify(TMessage& message) {
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    message.Result = 0;
    switch (header->code) {
    case DTN_DATETIMECHANGE: {
        auto* change = reinterpret_cast<NMDATETIMECHANGE*>(header);
        if (change->dwFlags == GDT_NONE) {
            FChecked = false;
        } else {
            TDateTime value = 0;
            if (FromSystemTime(change->st, value))
                FDateTime = value;
            FChecked = true;
        }
        Change();
        break;
    }
    case DTN_DROPDOWN:
        DropDown();
        break;
    case DTN_CLOSEUP:
        CloseUp();
        break;
    case DTN_USERSTRING: {
        auto* user = reinterpret_cast<NMDATETIMESTRINGW*>(header);
        String text = user->pszUserString ? String(user->pszUserString) : String();
        TDateTime value = FDateTime;
        bool parsed = FKind == dtkTime ? TryStrToTime(text, value) : TryStrToDateTime(text, value);
        if (FKind == dtkTime && parsed)
            value = Date() + TimeOfDay(value);
        bool accept = parsed;
        if (OnUserInput)
            OnUserInput(this, text, value, accept);
        else
            accept = true; // without a handler unreadable text leaves the value as it was
        if (!accept) {
            user->dwFlags = static_cast<DWORD>(GDT_ERROR);
            break;
        }
        // A value outside the limits is refused rather than raised inside the notification.
        if ((MaxDate() != 0 && DayOf(value) > MaxDate()) || (MinDate() != 0 && DayOf(value) < MinDate())) {
            user->dwFlags = static_cast<DWORD>(GDT_ERROR);
            break;
        }
        user->st = ToSystemTime(value);
        user->dwFlags = GDT_VALID;
        break;
    }
    default:
        break;
    }
}
