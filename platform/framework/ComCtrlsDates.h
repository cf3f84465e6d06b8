// The framework's date controls: TCommonCalendar (what both share: the date, its range and the
// calendar's options), TMonthCalendar on the "SysMonthCal32" window class and TDateTimePicker on the
// "SysDateTimePick32" class.
#pragma once

#include <functional>

#include "platform/framework/Controls.h"
#include "platform/rtl/Exceptions.h"

ZELMOR_DECLARE_EXCEPTION(ECommonCalendarError, Exception)

ZELMOR_ENUM(TCalDayOfWeek, dowMonday, dowTuesday, dowWednesday, dowThursday, dowFriday, dowSaturday,
            dowSunday, dowLocaleDefault)
ZELMOR_ENUM(TDateTimeKind, dtkDate, dtkTime)
ZELMOR_ENUM(TDTDateMode, dmComboBox, dmUpDown)
ZELMOR_ENUM(TDTDateFormat, dfShort, dfLong)

// Month is 1-12; the handler sets a bit per bold day (bit 0 is the 1st).
using TOnGetMonthInfoEvent = std::function<void(TObject* Sender, LongWord Month, LongWord& MonthBoldInfo)>;
// Text the user typed into a picker with ParseInput: DateAndTime arrives parsed with the format settings
// (AllowChange tells whether that worked) and the handler may change both.
using TDTParseInputEvent =
    std::function<void(TObject* Sender, const String& UserString, TDateTime& DateAndTime, bool& AllowChange)>;

// ---- What the calendar and the picker share ----
// MinDate and MaxDate are whole days, 0 for no limit. A date outside them raises ECommonCalendarError.
class TCommonCalendar : public TWinControl {
    DECLARE_CLASS(TCommonCalendar, TWinControl)

public:
    explicit TCommonCalendar(TComponent* owner);

    TDateTime Date() const;
    void SetDate(TDateTime value);
    TDateTime DateTime() const { return FDateTime; }
    virtual void SetDateTime(TDateTime value);
    // The last day of a multiple selection; the first is Date.
    TDateTime EndDate() const { return FEndDate; }
    void SetEndDate(TDateTime value);
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime value);
    // Descriptions carry only the limits that are set.
    bool IsMinDateStored() const { return FMinDate != 0; }
    bool IsMaxDateStored() const { return FMaxDate != 0; }
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    int MaxSelectRange() const { return FMaxSelectRange; }
    void SetMaxSelectRange(int value);
    bool WeekNumbers() const { return FWeekNumbers; }
    void SetWeekNumbers(bool value);
    bool ShowToday() const { return FShowToday; }
    void SetShowToday(bool value);
    bool ShowTodayCircle() const { return FShowTodayCircle; }
    void SetShowTodayCircle(bool value);
    TCalDayOfWeek FirstDayOfWeek() const { return FFirstDayOfWeek; }
    void SetFirstDayOfWeek(TCalDayOfWeek value);

    TOnGetMonthInfoEvent OnGetMonthInfo;

protected:
    // The window the calendar's messages go to: the control's own, or the picker's drop-down.
    virtual HWND CalendarHandle();
    // Hands the options to the calendar window (MCM_ messages).
    void ApplyCalendarOptions(HWND calendar);
    // The calendar's style bits for the options.
    DWORD CalendarStyle() const;
    // Raises when value lies outside MinDate and MaxDate.
    void CheckValidDate(TDateTime value) const;
    // Answers MCN_GETDAYSTATE through OnGetMonthInfo.
    void GetDayState(void* dayState);
    void Loaded() override;
    bool Loading() const;
    // Hands the range to the window.
    virtual void UpdateRange() = 0;

    TDateTime FDateTime = 0;
    TDateTime FEndDate = 0;

private:
    TDateTime FMinDate = 0;
    TDateTime FMaxDate = 0;
    bool FMultiSelect = false;
    int FMaxSelectRange = 31;
    bool FWeekNumbers = false;
    bool FShowToday = true;
    bool FShowTodayCircle = true;
    TCalDayOfWeek FFirstDayOfWeek = dowLocaleDefault;
};

// ---- A month calendar ----
// A day picked by the user becomes Date (and EndDate); OnClick follows a click as for any control.
class TMonthCalendar : public TCommonCalendar {
    DECLARE_CLASS(TMonthCalendar, TCommonCalendar)

public:
    explicit TMonthCalendar(TComponent* owner);
    void SetDateTime(TDateTime value) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void UpdateRange() override;

private:
    void CNNotify(TMessage& message);
    void UpdateSelection();
};

// ---- A date-time picker ----
// Date keeps the time of day and Time the date. OnChange fires for changes the user makes (fields,
// calendar, check box, parsed text), not for values set in code.
class TDateTimePicker : public TCommonCalendar {
    DECLARE_CLASS(TDateTimePicker, TCommonCalendar)

public:
    explicit TDateTimePicker(TComponent* owner);

    void SetDateTime(TDateTime value) override;
    TDateTime Time() const;
    void SetTime(TDateTime value);
    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind value);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode value);
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool value);
    // Cleared only through the check box (ShowCheckbox); the date is kept meanwhile.
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    // The display format in the control's letters (dd, MMM, yyyy, HH, tt ...); empty for the one
    // DateFormat and Kind choose.
    String Format() const { return FFormat; }
    void SetFormat(const String& value);
    bool ParseInput() const { return FParseInput; }
    void SetParseInput(bool value);
    bool DroppedDown() const { return FDroppedDown; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDTParseInputEvent OnUserInput;

protected:
    HWND CalendarHandle() override;
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void UpdateRange() override;

private:
    void CNNotify(TMessage& message);
    void SendValue();

    TDateTimeKind FKind = dtkDate;
    TDTDateFormat FDateFormat = dfShort;
    TDTDateMode FDateMode = dmComboBox;
    bool FShowCheckbox = false;
    bool FChecked = true;
    String FFormat;
    bool FParseInput = false;
    bool FDroppedDown = false;
    bool FSendingValue = false; // SendValue is giving the window our own value
};
