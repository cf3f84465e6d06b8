// TDateTimePicker and TMonthCalendar over the date window classes: properties reach the windows, user
// edits come back with their events, limits raise, the drop-down calendar takes the calendar options,
// typed text is parsed, and form descriptions carry the published properties.
#include "platform/framework/ComCtrls.h"

#include <string>
#include <vector>

#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Streams.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/controls_testing.h"

namespace {

class ComCtrlsDates : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Clock::UseManualClock(EncodeDateTime(2026, 3, 15, 10, 30, 0, 0));
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(0, 0, 400, 300);
    }

    template <class T> T* Add(const String& name) {
        auto* control = new T(FForm);
        control->SetName(name);
        control->SetBounds(10, 10, control->Width(), control->Height());
        control->SetParent(FForm);
        return control;
    }

    void Show(TWinControl* focus) {
        FForm->Show();
        Pump();
        focus->SetFocus();
        Pump();
    }

    static void Type(const String& text) {
        for (Char c : text)
            win32::input::TypeCharacter(c);
        Pump();
    }

    static String Text(TWinControl* control) {
        Char buffer[128]{};
        GetWindowTextW(control->Handle(), buffer, 128);
        return buffer;
    }

    static std::string Stamp(TDateTime value) {
        Word y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
        DecodeDateTime(value, y, m, d, h, n, s, ms);
        char text[32];
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", y, m, d, h, n);
        return text;
    }

    TForm* FForm = nullptr;
    std::vector<std::string> FEvents;
};

TEST_F(ComCtrlsDates, PickerPropertiesReachTheWindow) {
    auto* picker = Add<TDateTimePicker>(u"Picker");
    picker->SetDateTime(EncodeDateTime(2026, 7, 4, 18, 45, 0, 0));
    EXPECT_EQ(Text(picker), u"7/4/2026");
    picker->SetDateFormat(dfLong);
    EXPECT_EQ(Text(picker), u"Saturday, July 4, 2026");
    picker->SetKind(dtkTime);
    EXPECT_EQ(Text(picker), u"6:45:00 PM");
    picker->SetFormat(u"yyyy-MM-dd HH:mm");
    EXPECT_EQ(Text(picker), u"2026-07-04 18:45");
    picker->SetFormat(u"");
    EXPECT_EQ(Text(picker), u"6:45:00 PM");

    // Date keeps the time and Time the date.
    picker->SetDate(EncodeDate(2026, 1, 2) + 0.75);
    picker->SetTime(EncodeTime(8, 5, 0, 0) + 3);
    EXPECT_EQ(Stamp(picker->DateTime()), "2026-01-02 08:05");
    SYSTEMTIME st{};
    EXPECT_EQ(SendMessageW(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
    EXPECT_EQ(st.wDay, 2);
    EXPECT_EQ(st.wHour, 8);

    picker->SetDateMode(dmUpDown);
    EXPECT_TRUE(GetWindowLongW(picker->Handle(), GWL_STYLE) & DTS_UPDOWN);
    EXPECT_EQ(Stamp(picker->DateTime()), "2026-01-02 08:05") << "the value survives a new window";
}

TEST_F(ComCtrlsDates, UserEditsFireOnChangeAndCodeDoesNot) {
    auto* picker = Add<TDateTimePicker>(u"Picker");
    picker->OnChange = [&](TObject*) { FEvents.push_back("change " + Stamp(picker->DateTime())); };
    picker->SetDateTime(EncodeDateTime(2026, 3, 15, 10, 30, 0, 0));
    EXPECT_TRUE(FEvents.empty());
    Show(picker);
    Type(u"4");
    Press(VK_RIGHT);
    Press(VK_UP);
    EXPECT_EQ(FEvents, (std::vector<std::string>{"change 2026-04-15 10:30", "change 2026-04-16 10:30"}));
    EXPECT_EQ(Stamp(picker->DateTime()), "2026-04-16 10:30");
}

TEST_F(ComCtrlsDates, CheckboxClearsAndSetsChecked) {
    auto* picker = Add<TDateTimePicker>(u"Picker");
    picker->SetShowCheckbox(true);
    picker->OnChange = [&](TObject*) { FEvents.push_back(picker->Checked() ? "checked" : "cleared"); };
    picker->SetChecked(false);
    SYSTEMTIME st{};
    EXPECT_EQ(SendMessageW(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_NONE);
    Show(picker);
    Press(VK_SPACE);
    EXPECT_TRUE(picker->Checked());
    Press(VK_SPACE);
    EXPECT_FALSE(picker->Checked());
    EXPECT_EQ(FEvents, (std::vector<std::string>{"checked", "cleared"}));
    EXPECT_EQ(Stamp(picker->DateTime()), Stamp(Now())) << "the date is kept while cleared";

    // A value set on the window by a message reaches Checked and DateTime too, without an OnChange.
    FEvents.clear();
    SYSTEMTIME day{2026, 3, 0, 4, 9, 0, 0, 0};
    EXPECT_NE(SendMessageW(picker->Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day)),
              0);
    EXPECT_TRUE(picker->Checked());
    EXPECT_EQ(Stamp(picker->DateTime()), "2026-03-04 09:00");
    EXPECT_NE(SendMessageW(picker->Handle(), DTM_SETSYSTEMTIME, GDT_NONE, 0), 0);
    EXPECT_FALSE(picker->Checked());
    EXPECT_TRUE(FEvents.empty());
}

TEST_F(ComCtrlsDates, LimitsRaiseAndReachTheWindow) {
    auto* picker = Add<TDateTimePicker>(u"Picker");
    picker->SetMinDate(EncodeDate(2026, 1, 10));
    picker->SetMaxDate(EncodeDate(2026, 6, 20));
    SYSTEMTIME range[2]{};
    EXPECT_EQ(SendMessageW(picker->Handle(), DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)),
              GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(range[1].wMonth, 6);
    try {
        picker->SetDate(EncodeDate(2026, 6, 21));
        FAIL() << "a date after MaxDate raises";
    } catch (const ECommonCalendarError& e) {
        EXPECT_EQ(e.Message(), u"Date exceeds maximum of 6/20/2026");
    }
    try {
        picker->SetDate(EncodeDate(2026, 1, 9));
        FAIL() << "a date before MinDate raises";
    } catch (const ECommonCalendarError& e) {
        EXPECT_EQ(e.Message(), u"Date is less than minimum of 1/10/2026");
    }
    EXPECT_THROW(picker->SetMinDate(EncodeDate(2026, 7, 1)), ECommonCalendarError);
    // The last day itself is allowed at any time of day; a narrower limit moves the value.
    picker->SetDateTime(EncodeDateTime(2026, 6, 20, 23, 0, 0, 0));
    picker->SetMaxDate(EncodeDate(2026, 5, 1));
    EXPECT_EQ(Stamp(picker->DateTime()), "2026-05-01 23:00");
    EXPECT_EQ(Text(picker), u"5/1/2026");
}

TEST_F(ComCtrlsDates, DropDownTakesTheCalendarOptionsAndReportsThePick) {
    auto* picker = Add<TDateTimePicker>(u"Picker");
    picker->SetWeekNumbers(true);
    picker->SetShowToday(false);
    picker->SetDateTime(EncodeDateTime(2026, 3, 15, 10, 30, 0, 0));
    DWORD calendarStyle = 0;
    picker->OnDropDown = [&](TObject*) {
        FEvents.push_back("dropdown");
        calendarStyle = static_cast<DWORD>(GetWindowLongW(
            reinterpret_cast<HWND>(SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0)), GWL_STYLE));
        EXPECT_TRUE(picker->DroppedDown());
    };
    picker->OnCloseUp = [&](TObject*) { FEvents.push_back("closeup"); };
    picker->OnChange = [&](TObject*) { FEvents.push_back("change " + Stamp(picker->DateTime())); };
    Show(picker);
    Press(VK_F4);
    EXPECT_TRUE(calendarStyle & MCS_WEEKNUMBERS);
    EXPECT_TRUE(calendarStyle & MCS_NOTODAY);
    EXPECT_FALSE(calendarStyle & MCS_NOTODAYCIRCLE);
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(FEvents, (std::vector<std::string>{"dropdown", "closeup", "change 2026-03-22 10:30"}));
}

TEST_F(ComCtrlsDates, ParseInputHandsTypedTextToOnUserInput) {
    auto* picker = Add<TDateTimePicker>(u"Picker");
    picker->SetParseInput(true);
    picker->SetDateTime(EncodeDateTime(2026, 3, 15, 10, 30, 0, 0));
    std::vector<std::string> heard;
    picker->OnUserInput = [&](TObject*, const String& text, TDateTime& value, bool& allow) {
        heard.push_back(std::string(text.begin(), text.end()) + (allow ? " parsed" : " unparsed"));
        if (text == u"next week") {
            value = EncodeDateTime(2026, 3, 22, 9, 0, 0, 0);
            allow = true;
        }
    };
    Show(picker);
    Press(VK_F2);
    Type(u"4/1/2026");
    Press(VK_RETURN);
    EXPECT_EQ(Stamp(picker->DateTime()), "2026-04-01 00:00");
    Press(VK_F2);
    Type(u"next week");
    Press(VK_RETURN);
    EXPECT_EQ(Stamp(picker->DateTime()), "2026-03-22 09:00");
    Press(VK_F2);
    Type(u"garbage");
    Press(VK_RETURN);
    EXPECT_EQ(Stamp(picker->DateTime()), "2026-03-22 09:00") << "refused text changes nothing";
    EXPECT_EQ(heard, (std::vector<std::string>{"4/1/2026 parsed", "next week unparsed", "garbage unparsed"}));
}

TEST_F(ComCtrlsDates, MonthCalendarFollowsTheUser) {
    auto* calendar = Add<TMonthCalendar>(u"Calendar");
    calendar->SetDate(EncodeDate(2026, 3, 15));
    std::vector<LongWord> months;
    calendar->OnGetMonthInfo = [&](TObject*, LongWord month, LongWord& bold) {
        months.push_back(month);
        bold = 1;
    };
    int clicks = 0;
    calendar->OnClick = [&](TObject*) { ++clicks; };
    SYSTEMTIME st{};
    SendMessageW(calendar->Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(st.wDay, 15);
    Show(calendar);
    Press(VK_NEXT);
    EXPECT_EQ(Stamp(calendar->Date()), "2026-04-15 00:00");
    // Asked for the months with days shown when the window was made and again for the next month.
    EXPECT_EQ(months, (std::vector<LongWord>{2, 3, 4, 3, 4, 5}));

    // A click on a day selects it and clicks the control.
    RECT client{};
    GetClientRect(calendar->Handle(), &client);
    for (int y = 0; y < client.bottom && clicks == 0; y += 3)
        for (int x = 0; x < client.right && clicks == 0; x += 3) {
            MCHITTESTINFO info{};
            info.cbSize = sizeof info;
            info.pt = POINT{x, y};
            if (SendMessageW(calendar->Handle(), MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)) ==
                    MCHT_CALENDARDATE &&
                info.st.wDay == 20) {
                POINT p{x, y};
                ClientToScreen(calendar->Handle(), &p);
                win32::input::Click(win32::input::Button::Left, p.x, p.y);
                Pump();
            }
        }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Stamp(calendar->Date()), "2026-04-20 00:00");

    calendar->SetMultiSelect(true);
    calendar->SetMaxSelectRange(5);
    calendar->SetEndDate(EncodeDate(2026, 4, 23));
    SYSTEMTIME range[2]{};
    ASSERT_TRUE(SendMessageW(calendar->Handle(), MCM_GETSELRANGE, 0, reinterpret_cast<LPARAM>(range)));
    EXPECT_EQ(range[0].wDay, 20);
    EXPECT_EQ(range[1].wDay, 23);
    Press(VK_RIGHT);
    EXPECT_EQ(Stamp(calendar->Date()), "2026-04-21 00:00");
    EXPECT_EQ(Stamp(calendar->EndDate()), "2026-04-21 00:00");
}

TEST_F(ComCtrlsDates, DescriptionsCarryThePublishedProperties) {
    RegisterClasses({TDateTimePicker::StaticClass(), TMonthCalendar::StaticClass()});
    const std::string text =
        "object Dates: TForm\n"
        "  object Picker: TDateTimePicker\n"
        "    Date = 46100.000000000000000000\n    Time = 0.500000000000000000\n"
        "    Kind = dtkTime\n    ShowCheckbox = True\n    Checked = False\n    Format = 'HH:mm'\n"
        "    MaxDate = 46000.000000000000000000\n  end\n"
        "  object Calendar: TMonthCalendar\n    WeekNumbers = True\n    FirstDayOfWeek = dowMonday\n  end\n"
        "end\n";
    TMemoryStream input, binary;
    input.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, binary);
    binary.SetPosition(0);
    auto* form = new TForm(nullptr, 0);
    ReadComponent(binary, form);
    auto* picker = static_cast<TDateTimePicker*>(form->FindComponent(u"Picker"));
    auto* calendar = static_cast<TMonthCalendar*>(form->FindComponent(u"Calendar"));
    ASSERT_NE(picker, nullptr);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(picker->Kind(), dtkTime);
    EXPECT_FALSE(picker->Checked());
    EXPECT_EQ(picker->Format(), u"HH:mm");
    EXPECT_EQ(Stamp(picker->DateTime()), Stamp(46000 + 0.5)) << "a value past MaxDate is put inside it";
    EXPECT_TRUE(calendar->WeekNumbers());
    EXPECT_EQ(calendar->FirstDayOfWeek(), dowMonday);
    picker->SetParent(FForm);
    SYSTEMTIME st{};
    EXPECT_EQ(SendMessageW(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_NONE);
    form->Free();
}

} // namespace
