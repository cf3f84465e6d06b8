// The grid's spin editor: clamping, steps by type with the caret's field, and the character filter.
#include "grid/view/asgspin.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/wininput.h"
#include "tests/controls/InstrumentTesting.h"

namespace {

class AsgSpinTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        FSaved = FormatSettings;
        FormatSettings = DefaultFormatSettings();
        FormatSettings.ShortDateFormat = u"d/M/yyyy";
        FormatSettings.LongTimeFormat = u"h:nn:ss";
        FSpin = Add<TAsgSpinEdit>(20, 20, 120, 21);
        ShowForm();
        FSpin->SetFocus();
        Pump();
    }
    void TearDown() override {
        InstrumentTest::TearDown();
        FormatSettings = FSaved;
    }
    void Caret(Integer start, Integer length = 0) {
        FSpin->SetSelStart(start);
        FSpin->SetSelLength(length);
    }

    TAsgSpinEdit* FSpin = nullptr;
    TFormatSettings FSaved;
};

TEST_F(AsgSpinTest, StepsClampAndWrapByType) {
    // The default range 0..100.
    FSpin->SetValue(100);
    FSpin->StepUp(false);
    EXPECT_EQ(FSpin->Value(), 100);
    win32::input::PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(FSpin->Value(), 99);
    FSpin->SetText(u"");
    EXPECT_EQ(FSpin->Value(), 0);
    EXPECT_EQ(FSpin->FloatValue(), 0.0); // MinValue

    // The time of day wraps around midnight both ways.
    FSpin->SetSpinType(sptTime);
    FSpin->SetTimeValue(EncodeTime(23, 30, 0, 0));
    Caret(0);
    FSpin->StepUp(false);
    EXPECT_EQ(FSpin->Text(), u"0:30:00");
    Caret(0);
    FSpin->StepDown(false);
    EXPECT_EQ(FSpin->Text(), u"23:30:00");
    // An increment of a whole day or more steps by that part of a day.
    FSpin->SetIncrementMinutes(75);
    Caret(3);
    EXPECT_NO_THROW(FSpin->StepUp(false));
    EXPECT_EQ(FSpin->Text(), u"0:45:00");

    // Day-first dates: the month part steps to the month's last day; a year step leaves 29 February.
    FSpin->SetSpinType(sptDate);
    FSpin->SetDateValue(EncodeDate(2024, 1, 31));
    Caret(3);
    FSpin->StepUp(false);
    EXPECT_EQ(FSpin->Text(), u"29/2/2024");
    EXPECT_FALSE(FSpin->UsDates());
    Caret(6);
    EXPECT_NO_THROW(FSpin->StepDown(false));
    EXPECT_EQ(FSpin->Text(), u"28/2/2023");
}

TEST_F(AsgSpinTest, TypedCharactersFollowTheType) {
    struct Case {
        const char* name;
        TAsgSpinType type;
        Integer precision;
        const char16_t* text;
        Integer caret, length;
        Char key;
        bool allowed;
    };
    const Case cases[] = {
        {"digit", sptNormal, 0, u"12", 2, 0, u'5', true},
        {"separator in an integer", sptNormal, 0, u"12", 2, 0, u'.', false},
        {"enter", sptNormal, 0, u"12", 2, 0, u'\r', false},
        {"minus at the start", sptNormal, 0, u"12", 0, 0, u'-', true},
        {"minus elsewhere", sptNormal, 0, u"12", 1, 0, u'-', false},
        {"second decimal separator", sptFloat, 0, u"1.5", 3, 0, u'.', false},
        {"replacing the separator", sptFloat, 0, u"1.5", 1, 1, u'.', true},
        {"digit past the precision", sptFloat, 2, u"1.25", 4, 0, u'3', false},
        {"digit before the separator", sptFloat, 2, u"1.25", 0, 0, u'3', true},
        {"thousands separator in a float", sptFloat, 0, u"1", 1, 0, u',', false},
        {"third time separator", sptTime, 0, u"1:2:3", 5, 0, u':', false},
    };
    for (const Case& c : cases) {
        FSpin->SetSpinType(c.type);
        FSpin->SetPrecision(c.precision);
        FSpin->SetText(c.text);
        Caret(c.caret, c.length);
        Char key = c.key;
        EXPECT_EQ(FSpin->IsCharAllowed(key), c.allowed) << c.name;
    }
    FSpin->SetSpinType(sptNormal);
    FSpin->SetEditorEnabled(false);
    Char digit = u'1';
    Char backspace = u'\b';
    EXPECT_FALSE(FSpin->IsCharAllowed(digit));
    EXPECT_FALSE(FSpin->IsCharAllowed(backspace));
}

} // namespace

namespace {

// A timer button paints high-contrast first, then in its pair's custom colours, else classic.
TEST(AsgSpinButtonPaint, HighContrastThenCustomColours) {
    TAsgSpinButton pair(nullptr);
    pair.SetBounds(0, 0, 15, 21);
    pair.SetButtonColor(clAqua);
    asgspin::TAdvTimerSpeedButton* up = pair.UpButton();

    auto custom = PaintControl(up, clWhite);
    EXPECT_EQ(CountColor(*custom, clAqua) + CountColor(*custom, clBlack), up->Width() * up->Height());
    // The arrow's apex row holds the black triangle's tip.
    EXPECT_EQ(custom->Canvas()->Pixels(6, 2), clBlack);
    EXPECT_EQ(custom->Canvas()->Pixels(1, 8), clAqua);

    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.highContrast = true;
    win32::SetSystemSettings(settings);
    auto contrast = PaintControl(up, clYellow);
    win32::ResetSystemSettings();
    EXPECT_EQ(CountColor(*contrast, clAqua), 0);
    EXPECT_GT(CountColor(*contrast, clWhite), 0);
    EXPECT_EQ(CountColor(*contrast, clWhite) + CountColor(*contrast, clBlack), up->Width() * up->Height());

    // Without custom colours the classic glyph shows: the black triangle on the face, olive kept out.
    pair.SetButtonColor(clNone);
    auto classic = PaintControl(up, clWhite);
    EXPECT_GT(CountColor(*classic, clBlack), 0);
    EXPECT_EQ(CountColor(*classic, clOlive), 0);
}

} // namespace
