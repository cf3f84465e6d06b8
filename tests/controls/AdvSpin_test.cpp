// The stand-alone spin edit: the console's interval configuration from a form description, auto-repeat
// on the manual clock, its values, ranges and steps by type, the character filter and paste rule, the
// button layouts, the label placements and the disabled look.
#include "controls/AdvSpin.h"

#include "platform/framework/Clipbrd.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wininput.h"
#include "tests/controls/InstrumentTesting.h"

namespace {

class AdvSpinTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        FSaved = FormatSettings;
        FormatSettings = DefaultFormatSettings();
        FormatSettings.ShortDateFormat = u"d/M/yyyy";
        Clock::UseManualClock(EncodeDateTime(2026, 3, 15, 10, 30, 0, 0));
    }
    void TearDown() override {
        InstrumentTest::TearDown();
        Clock::UseSystemClock();
        FormatSettings = FSaved;
    }
    TAdvSpinEdit* AddSpin(AdvSpin::TAdvSpinType type = AdvSpin::sptNormal) {
        auto* spin = Add<TAdvSpinEdit>(60, 20, 120, 21);
        ShowForm();
        spin->SetSpinType(type);
        spin->SetFocus();
        Pump();
        return spin;
    }
    static void Type(StringView text) {
        for (Char c : text)
            win32::input::TypeCharacter(c);
        Pump();
    }
    static void Press(int key) {
        win32::input::PressKey(key);
        Pump();
    }
    static void Caret(TAdvSpinEdit* spin, Integer start, Integer length = 0) {
        spin->SetSelStart(start);
        spin->SetSelLength(length);
    }

    TFormatSettings FSaved;
};

std::unique_ptr<TComponent> ReadDescription(const std::string& form) {
    TMemoryStream input, output;
    input.WriteBuffer(form.data(), static_cast<Integer>(form.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, output);
    output.SetPosition(0);
    return std::unique_ptr<TComponent>(ReadComponent(output, nullptr));
}

std::string WriteDescription(TComponent* component) {
    TMemoryStream binary, text;
    WriteComponent(binary, component);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    return std::string(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size()));
}

// The console's log interval: 1-60, value 5, typing disabled, both bounds checked.
TEST_F(AdvSpinTest, TheConsolesIntervalStaysWithinItsRangeAndRefusesTyping) {
    AdvSpinStartup();
    auto read = ReadDescription("object Timing: TAdvSpinEdit\r\n"
                                "  Left = 60\r\n"
                                "  Top = 20\r\n"
                                "  Width = 80\r\n"
                                "  Height = 22\r\n"
                                "  CheckMinValue = True\r\n"
                                "  CheckMaxValue = True\r\n"
                                "  EditorEnabled = False\r\n"
                                "  MaxValue = 60\r\n"
                                "  MinValue = 1\r\n"
                                "  Value = 5\r\n"
                                "end\r\n");
    auto* spin = dynamic_cast<TAdvSpinEdit*>(read.get());
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->Value(), 5);
    EXPECT_EQ(spin->Text(), u"5");

    spin->SetParent(FForm);
    int changes = 0;
    int upClicks = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    spin->OnUpClick = [&](TObject*) { ++upClicks; };
    ShowForm();
    spin->SetFocus();
    Pump();

    int beeps = win32::BeepCount();
    Caret(spin, 1);
    Type(u"7");
    Press(VK_BACK);
    Press(VK_DELETE);
    EXPECT_EQ(spin->Text(), u"5");
    EXPECT_GT(win32::BeepCount(), beeps);
    EXPECT_EQ(changes, 0);

    Press(VK_UP);
    EXPECT_EQ(spin->Value(), 6);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(upClicks, 1);
    EXPECT_TRUE(spin->Modified());
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(spin->Value(), 4);

    // The up button, pressed and released at its centre.
    TControl* up = spin->Button()->UpButton();
    MouseDown(up, up->Width() / 2, up->Height() / 2);
    MouseUp(up, up->Width() / 2, up->Height() / 2);
    EXPECT_EQ(spin->Value(), 5);
    EXPECT_EQ(upClicks, 2);

    spin->SetValue(61);
    EXPECT_EQ(spin->Value(), 60);
    Press(VK_UP);
    EXPECT_EQ(spin->Value(), 60);
    spin->SetValue(0);
    EXPECT_EQ(spin->Value(), 1);
    Press(VK_NEXT);
    EXPECT_EQ(spin->Value(), 1);

    // Written back, the description holds what differs from the stream defaults.
    std::string description = WriteDescription(spin);
    EXPECT_NE(description.find("CheckMinValue = True"), std::string::npos) << description;
    EXPECT_NE(description.find("EditorEnabled = False"), std::string::npos) << description;
    EXPECT_NE(description.find("MaxValue = 60"), std::string::npos) << description;
    EXPECT_EQ(description.find("IncrementPage"), std::string::npos) << description;
    EXPECT_EQ(description.find("Increment ="), std::string::npos) << description;
    EXPECT_EQ(description.find("LabelPosition"), std::string::npos) << description;
    EXPECT_EQ(description.find("SpinType"), std::string::npos) << description;
}

TEST_F(AdvSpinTest, AHeldButtonRepeatsEveryHundredMillisecondsAfterFourHundred) {
    TAdvSpinEdit* spin = AddSpin();
    TControl* up = spin->Button()->UpButton();
    const int x = up->Width() / 2;
    const int y = up->Height() / 2;

    MouseDown(up, x, y);
    for (int ms = 0; ms < 1000; ms += 50) {
        Clock::Advance(50);
        Pump();
    }
    EXPECT_EQ(spin->Value(), 7); // at 400, 500, ..., 1000 ms
    MouseUp(up, x, y);
    EXPECT_EQ(spin->Value(), 8); // and once at the release
    Clock::Advance(500);
    Pump();
    EXPECT_EQ(spin->Value(), 8);

    // A short press released off the button clicks nothing.
    MouseDown(up, x, y);
    Clock::Advance(300);
    Pump();
    MouseMove(up, x, y + 40);
    MouseUp(up, x, y + 40);
    EXPECT_EQ(spin->Value(), 8);
}

TEST(AdvSpinButtons, LayoutsOfBothPairs) {
    struct Case {
        const char* name;
        bool grid; // the grid editor's pair, else the stand-alone one
        asgspin::TSpinDirection direction;
        int width, height;
        TRect up, down;
        int finalWidth;
    };
    const Case cases[] = {
        {"grid, vertical 15 x 21", true, asgspin::spVertical, 15, 21, TRect(0, 0, 15, 10),
         TRect(0, 9, 15, 21), 15},
        {"stand-alone, vertical 15 x 21", false, asgspin::spVertical, 15, 21, TRect(0, 0, 15, 10),
         TRect(0, 10, 15, 21), 15},
        {"vertical widened to 15", true, asgspin::spVertical, 10, 20, TRect(0, 0, 15, 10),
         TRect(0, 9, 15, 20), 15},
        {"grid, horizontal asked 16", true, asgspin::spHorizontal, 16, 17, TRect(11, 0, 21, 17),
         TRect(0, 0, 10, 17), 20},
        {"stand-alone, horizontal 30", false, asgspin::spHorizontal, 30, 17, TRect(16, 0, 31, 17),
         TRect(0, 0, 15, 17), 30},
    };
    for (const Case& c : cases) {
        std::unique_ptr<asgspin::TSpinButtonPair> pair;
        if (c.grid)
            pair = std::make_unique<TAsgSpinButton>(nullptr);
        else
            pair = std::make_unique<TAdvSpinButton>(nullptr);
        pair->SetDirection(c.direction);
        pair->SetBounds(0, 0, c.width, c.height);
        EXPECT_EQ(pair->Width(), c.finalWidth) << c.name;
        EXPECT_EQ(pair->UpButton()->BoundsRect(), c.up) << c.name;
        EXPECT_EQ(pair->DownButton()->BoundsRect(), c.down) << c.name;
    }
    TAsgSpinButton pair(nullptr);
    EXPECT_EQ(pair.UpButton()->ButtonDirection(), asgspin::bdUp);
    pair.SetDirection(asgspin::spHorizontal);
    EXPECT_EQ(pair.UpButton()->ButtonDirection(), asgspin::bdRight);
    EXPECT_EQ(pair.DownButton()->ButtonDirection(), asgspin::bdLeft);
    // Writing no glyph loads the default and sets that button's glyph count back to 1.
    pair.SetDownNumGlyphs(2);
    pair.SetUpNumGlyphs(2);
    pair.SetDownGlyph(nullptr);
    EXPECT_EQ(pair.DownNumGlyphs(), 1);
    EXPECT_EQ(pair.UpNumGlyphs(), 2);
    EXPECT_EQ(pair.DownGlyph()->Width(), 9);
    EXPECT_EQ(pair.DownGlyph()->Height(), 6);
}

TEST(AdvSpinLabel, PlacesForEveryPosition) {
    // Edit at (100, 50) 80 x 21; label 40 x 13 with a caption 36 wide; margin 4.
    const TRect edit(100, 50, 180, 71);
    struct Case {
        AdvSpin::TLabelPosition position;
        TPoint place;
    };
    const Case cases[] = {
        {AdvSpin::lpLeftTop, TPoint(60, 50)},        {AdvSpin::lpLeftCenter, TPoint(60, 54)},
        {AdvSpin::lpLeftBottom, TPoint(60, 58)},     {AdvSpin::lpTopLeft, TPoint(100, 33)},
        {AdvSpin::lpBottomLeft, TPoint(100, 75)},    {AdvSpin::lpLeftTopLeft, TPoint(96, 50)},
        {AdvSpin::lpLeftCenterLeft, TPoint(96, 54)}, {AdvSpin::lpLeftBottomLeft, TPoint(96, 58)},
        {AdvSpin::lpTopCenter, TPoint(120, 33)},     {AdvSpin::lpBottomCenter, TPoint(120, 75)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdvSpin::LabelPlace(c.position, edit, TPoint(40, 13), 4, 36), c.place) << int(c.position);
    // A label taller than the edit is centred around it: the halving truncates toward zero.
    EXPECT_EQ(AdvSpin::LabelPlace(AdvSpin::lpLeftCenter, TRect(100, 50, 180, 71), TPoint(40, 30), 4, 36).Y,
              46);
}

// Placed before its window exists, the edit still puts its buttons at its right edge when shown.
TEST_F(AdvSpinTest, TheButtonsSitAtTheRightEdge) {
    auto* spin = Add<TAdvSpinEdit>(60, 20, 80, 22);
    spin->SetValue(5);
    ShowForm();
    // Auto-sized, the edit keeps the height of its font; the pair fills it less the border.
    EXPECT_EQ(spin->Button()->BoundsRect(), TRect(62, 0, 77, spin->Height() - 4));
    RECT text{};
    SendMessageW(spin->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(text.left, 0);
    EXPECT_LE(text.right, 62);
}

TEST_F(AdvSpinTest, TheLabelFollowsTheEdit) {
    TAdvSpinEdit* spin = AddSpin();
    EXPECT_EQ(spin->SpinLabel(), nullptr);
    spin->SetLabelCaption(u"Interval");
    TLabel* label = spin->SpinLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), FForm);
    EXPECT_EQ(label->Top(), spin->Top());
    EXPECT_LT(label->Left() + label->Width(), spin->Left());
    spin->SetLabelPosition(AdvSpin::lpTopLeft);
    EXPECT_EQ(label->Left(), spin->Left());
    EXPECT_EQ(label->Top(), spin->Top() - label->Height() - 4);
    spin->SetLeft(100);
    EXPECT_EQ(label->Left(), 100);

    spin->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    spin->SetEnabled(true);
    EXPECT_TRUE(label->Enabled());
    spin->SetVisible(false);
    EXPECT_FALSE(label->Visible());
}

TEST_F(AdvSpinTest, DisabledTakesTheDisabledColourAndReturns) {
    TAdvSpinEdit* spin = AddSpin();
    spin->SetColor(clAqua);
    spin->Init(); // as loading ends: the colour to return to
    spin->SetEnabled(false);
    EXPECT_EQ(spin->Color(), static_cast<TColor>(0xC0C0C0));
    EXPECT_FALSE(spin->Button()->UpButton()->Enabled());
    spin->SetEnabled(true);
    EXPECT_EQ(spin->Color(), clAqua);
}

TEST_F(AdvSpinTest, TheFrameTakesTheBorderColourUnfocusedAndTheFocusColourFocused) {
    auto* other = Add<TAdvSpinEdit>(60, 100, 80, 22);
    TAdvSpinEdit* spin = AddSpin();
    spin->SetBorderColor(clRed);
    spin->SetFocusBorderColor(clBlue);
    // The window's own outer pixel, as its surface shows it.
    auto outerPixel = [spin] {
        HDC dc = GetWindowDC(spin->Handle());
        COLORREF color = GetPixel(dc, 0, 5);
        ReleaseDC(spin->Handle(), dc);
        return static_cast<TColor>(color);
    };
    other->SetFocus();
    Pump();
    EXPECT_EQ(outerPixel(), clRed);
    spin->SetFocus();
    Pump();
    EXPECT_EQ(outerPixel(), clBlue);
}

TEST_F(AdvSpinTest, EmptyTextReadsAsZeroOrTheLastDate) {
    TAdvSpinEdit* spin = AddSpin();
    const TDateTime date = EncodeDate(2024, 5, 17) + 0.25;
    spin->SetSpinType(AdvSpin::sptDate);
    spin->SetDateValue(date);
    spin->SetText(u"");
    EXPECT_EQ(spin->Value(), 0);
    EXPECT_EQ(spin->FloatValue(), 0.0);
    EXPECT_EQ(spin->TimeValue(), 0.0);
    EXPECT_EQ(spin->DateValue(), date);
}

TEST_F(AdvSpinTest, PrintSettingsFloatsShowTwoDecimals) {
    TAdvSpinEdit* spin = AddSpin(AdvSpin::sptFloat);
    spin->SetPrecision(2);
    int changes = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    spin->SetFloatValue(1.5);
    EXPECT_EQ(spin->Text(), u"1.50");
    EXPECT_EQ(changes, 1);
    spin->StepUp();
    EXPECT_EQ(spin->Text(), u"1.60");
    spin->SetText(u"abc");
    EXPECT_EQ(spin->FloatValue(), 0.0);
}

TEST_F(AdvSpinTest, RangesApplyUnderTheirRules) {
    TAdvSpinEdit* spin = AddSpin();
    // Integers: only the checked bound applies.
    spin->SetCheckMinValue(true);
    spin->SetMinValue(5);
    spin->SetMaxValue(0);
    spin->SetValue(3);
    EXPECT_EQ(spin->Value(), 5);
    spin->SetValue(1000);
    EXPECT_EQ(spin->Value(), 1000);
    // Floats: both bounds whatever the checks say.
    spin->SetCheckMinValue(false);
    spin->SetSpinType(AdvSpin::sptFloat);
    spin->SetMinFloatValue(0);
    spin->SetMaxFloatValue(10);
    spin->SetFloatValue(12.5);
    EXPECT_EQ(spin->FloatValue(), 10.0);
    // Nothing is clamped at creation.
    TAdvSpinEdit fresh(nullptr);
    fresh.SetValue(-12345);
    EXPECT_EQ(fresh.Value(), -12345);
}

TEST_F(AdvSpinTest, SmartStepsChangeTheDigitLeftOfTheCaret) {
    TAdvSpinEdit* spin = AddSpin(AdvSpin::sptFloat);
    spin->SetIncrementSmart(true);
    struct Case {
        Integer caret;
        const char16_t* after;
    };
    const Case cases[] = {{4, u"12.445"}, {6, u"12.346"}, {2, u"13.345"}, {1, u"22.345"}, {3, u"13.345"}};
    for (const Case& c : cases) {
        spin->SetText(u"12.345");
        Caret(spin, c.caret);
        Press(VK_UP);
        EXPECT_EQ(spin->Text(), String(c.after)) << c.caret;
    }
}

TEST_F(AdvSpinTest, HexadecimalValuesKeepTheirPrefix) {
    TAdvSpinEdit* spin = AddSpin(AdvSpin::sptHex);
    spin->SetText(u"0x1A3");
    EXPECT_EQ(spin->HexValue(), 419);
    spin->StepUp();
    EXPECT_EQ(spin->Text(), u"0x1A4");
    Caret(spin, 2);
    Press(VK_BACK);
    Caret(spin, 0);
    Press(VK_DELETE);
    Caret(spin, 1);
    Type(u"7");
    EXPECT_EQ(spin->Text(), u"0x1A4");
    Caret(spin, 5);
    Type(u"fg");
    EXPECT_EQ(spin->Text(), u"0x1A4f");
}

TEST_F(AdvSpinTest, TimeStepsStopAtMidnightGoingDown) {
    TAdvSpinEdit* spin = AddSpin(AdvSpin::sptTime);
    spin->SetTimeValue(EncodeTime(0, 30, 0, 0));
    EXPECT_EQ(spin->Text(), u"0:30:00");
    Caret(spin, 0);
    spin->StepDown();
    EXPECT_EQ(spin->Text(), u"0:30:00");
    spin->SetTimeValue(EncodeTime(23, 30, 0, 0));
    Caret(spin, 0);
    spin->StepUp();
    EXPECT_EQ(spin->Text(), u"0:30:00");
    Caret(spin, 0);
    spin->StepDown();
    EXPECT_EQ(spin->Text(), u"23:30:00");
    // The seconds field steps by one second; minutes by their increment.
    Caret(spin, 7);
    spin->StepUp();
    EXPECT_EQ(spin->Text(), u"23:30:01");
}

// Steps that once failed in the date or time encoding now land on a valid value.
TEST_F(AdvSpinTest, YearStepsFromLeapDayAndLargeTimeIncrementsStepSafely) {
    TAdvSpinEdit* spin = AddSpin(AdvSpin::sptDate);
    spin->SetDateValue(EncodeDate(2024, 2, 29));
    EXPECT_EQ(spin->Text(), u"29/2/2024");
    Caret(spin, 6); // in the year
    EXPECT_NO_THROW(spin->StepUp());
    EXPECT_EQ(spin->Text(), u"28/2/2025");
    spin->SetDateValue(EncodeDate(2024, 1, 31));
    Caret(spin, 3); // in the month
    spin->StepUp();
    EXPECT_EQ(spin->Text(), u"29/2/2024");

    spin->SetSpinType(AdvSpin::sptTime);
    spin->SetTimeValue(EncodeTime(1, 0, 0, 0));
    spin->SetIncrementMinutes(90);
    Caret(spin, 3);
    EXPECT_NO_THROW(spin->StepUp());
    EXPECT_EQ(spin->Text(), u"2:30:00");
    spin->SetIncrementHours(24);
    Caret(spin, 0);
    EXPECT_NO_THROW(spin->StepUp());
    EXPECT_EQ(spin->Text(), u"2:30:00");
    EXPECT_DOUBLE_EQ(spin->TimeValue(), 1 + EncodeTime(2, 30, 0, 0));
}

TEST_F(AdvSpinTest, TypedCharactersFollowTheType) {
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    TAdvSpinEdit* spin = AddSpin(AdvSpin::sptFloat);
    spin->SetPrecision(2);
    spin->SetText(u"1");
    Caret(spin, 1);
    Type(u".");
    EXPECT_EQ(spin->Text(), u"1,");
    Type(u"5,");
    EXPECT_EQ(spin->Text(), u"1,5");
    Type(u"77");
    EXPECT_EQ(spin->Text(), u"1,57");
    Type(u"8");
    EXPECT_EQ(spin->Text(), u"1,57") << "no third decimal";
    Caret(spin, 0);
    Type(u"2");
    EXPECT_EQ(spin->Text(), u"21,57") << "digits before the separator still enter";
    spin->SelectAll();
    Type(u",");
    EXPECT_EQ(spin->Text(), u",");

    // Without Signed "-" never enters; with it, it toggles a leading minus wherever the caret is.
    spin->SetSpinType(AdvSpin::sptNormal);
    spin->SetText(u"12");
    Caret(spin, 0);
    Type(u"-+");
    EXPECT_EQ(spin->Text(), u"12");
    spin->SetSigned(true);
    Caret(spin, 2);
    Type(u"-");
    EXPECT_EQ(spin->Text(), u"-12");
    EXPECT_EQ(spin->SelStart(), 3);
    Type(u"-");
    EXPECT_EQ(spin->Text(), u"12");

    spin->SetSpinType(AdvSpin::sptTime);
    spin->SetText(u"");
    Type(u"12:30:15");
    EXPECT_EQ(spin->Text(), u"12:3015");
}

TEST_F(AdvSpinTest, APasteMustLeaveANumber) {
    TAdvSpinEdit* spin = AddSpin();
    spin->SetText(u"12");
    Caret(spin, 2);
    Clipboard()->SetAsText(u"ab");
    spin->PasteFromClipboard();
    EXPECT_EQ(spin->Text(), u"12");
    Clipboard()->SetAsText(u"34");
    spin->PasteFromClipboard();
    EXPECT_EQ(spin->Text(), u"1234");

    spin->SetSpinType(AdvSpin::sptDate);
    spin->SetText(u"");
    Clipboard()->SetAsText(u"1/2/2024");
    spin->PasteFromClipboard();
    EXPECT_EQ(spin->Text(), u"");
}

} // namespace
