// The Office-style check box and radio button: clicks, the release point, the grayed cycle, read-only,
// Space, accelerators, the set-check message, radio siblings, anchors, actions and every glyph.
#include "controls/AdvOfficeButtons.h"

#include <functional>
#include <memory>

#include "controls/ButtonGlyphs.h"
#include "platform/framework/ActnList.h"
#include "platform/rtl/UString.h"
#include "platform/win32/shell.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winbutton.h"
#include "tests/controls/ControlsTesting.h"

namespace {

class OfficeButtonsTest : public StyledControlsTest {
protected:
    TAdvOfficeCheckBox* AddCheckBox(const String& caption = u"Enable") {
        auto* box = Add<TAdvOfficeCheckBox>(20, 20, 120, 20);
        box->SetCaption(caption);
        box->OnClick = [this](TObject*) { FLog.push_back("click"); };
        return box;
    }
    void TearDown() override {
        win32::SetShellOpener(nullptr);
        StyledControlsTest::TearDown();
    }
};

TEST_F(OfficeButtonsTest, FirstClickFocusesAndTogglesAndEachClickFiresOnce) {
    TAdvOfficeCheckBox* box = AddCheckBox();
    auto* other = Add<TAdvOfficeCheckBox>(20, 60, 120, 20);
    ShowForm();
    other->SetFocus();
    Pump();
    ClickAt(box, 60, 10);
    EXPECT_TRUE(box->Focused());
    EXPECT_TRUE(box->Checked());
    ClickAt(box, 60, 10);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(FLog, (std::vector<std::string>{"click", "click"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(OfficeButtonsTest, ReleaseCountsUpToTheRightAndBottomEdgesIncluded) {
    struct Case {
        const char* name;
        int x, y;
        bool toggles;
    };
    const Case cases[] = {
        {"on Width", 120, 10, true},        {"one beyond Width", 121, 10, false},
        {"on Height", 60, 20, true},        {"one beyond Height", 60, 21, false},
        {"left of the box", -1, 10, false},
    };
    TAdvOfficeCheckBox* box = AddCheckBox();
    ShowForm();
    for (const Case& c : cases) {
        box->SetChecked(false);
        FLog.clear();
        MouseDown(box, 60, 10);
        MouseUp(box, c.x, c.y);
        EXPECT_EQ(box->Checked(), c.toggles) << c.name;
        EXPECT_EQ(FLog.size(), c.toggles ? 1u : 0u) << c.name;
    }
}

TEST_F(OfficeButtonsTest, AllowGrayedCyclesAndReadOnlyKeepsTheStateButStillClicks) {
    TAdvOfficeCheckBox* box = AddCheckBox();
    box->SetAllowGrayed(true);
    ShowForm();
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 3; ++i) {
        ClickAt(box, 60, 10);
        states.push_back(box->State());
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    box->SetReadOnly(true);
    FLog.clear();
    ClickAt(box, 60, 10);
    Press(VK_SPACE);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(FLog, (std::vector<std::string>{"click", "click"})) << "read-only still reports the click";
}

TEST_F(OfficeButtonsTest, SpaceAndAcceleratorToggleAndClick) {
    TAdvOfficeCheckBox* box = AddCheckBox(u"&Enable");
    box->SetTabStop(true);
    auto* other = Add<TAdvOfficeCheckBox>(20, 60, 120, 20);
    ShowForm();
    box->SetFocus();
    Pump();
    Press(VK_SPACE);
    EXPECT_TRUE(box->Checked());
    other->SetFocus();
    Pump();
    PressAlt('E');
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(box->Focused()) << "a tab stop takes the focus with its accelerator";
    EXPECT_EQ(FLog, (std::vector<std::string>{"click", "click"}));
}

TEST_F(OfficeButtonsTest, CheckedFromCodeFiresNoClickButTheSetCheckMessageDoes) {
    TAdvOfficeCheckBox* box = AddCheckBox();
    ShowForm();
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(FLog.empty());
    struct Case {
        WPARAM value;
        TCheckBoxState state;
        size_t clicks;
    };
    const Case cases[] = {{0, cbUnchecked, 1}, {1, cbChecked, 2}, {2, cbGrayed, 2}, {7, cbGrayed, 2}};
    for (const Case& c : cases) {
        SendMessageW(box->Handle(), BM_SETCHECK, c.value, 0);
        EXPECT_EQ(box->State(), c.state) << c.value;
        EXPECT_EQ(FLog.size(), c.clicks) << c.value;
    }
}

TEST_F(OfficeButtonsTest, RadioCheckingUnchecksOnlySiblingsOfItsGroupIndex) {
    auto* a = Add<TAdvOfficeRadioButton>(20, 20, 135, 20);
    auto* b = Add<TAdvOfficeRadioButton>(20, 40, 135, 20);
    auto* other = Add<TAdvOfficeRadioButton>(20, 60, 135, 20);
    other->SetGroupIndex(1);
    auto* panel = Add<TAdvGroupBox>(200, 20, 150, 80);
    auto* elsewhere = Add<TAdvOfficeRadioButton>(10, 30, 120, 20, panel);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    ShowForm();
    a->SetChecked(true);
    other->SetChecked(true);
    elsewhere->SetChecked(true);
    ClickAt(b, 60, 10);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked()) << "another group index";
    EXPECT_TRUE(elsewhere->Checked()) << "another parent";
    EXPECT_EQ(clicks, 1);
    ClickAt(b, 60, 10);
    EXPECT_EQ(clicks, 2) << "a click on the checked button still clicks";
    b->SetChecked(false);
    a->SetChecked(true);
    EXPECT_EQ(clicks, 2) << "from code";
}

TEST_F(OfficeButtonsTest, AnchorsOpenLinksOrReachOnAnchorClick) {
    std::vector<String> opened;
    win32::SetShellOpener([&](const String& file) {
        opened.push_back(file);
        return true;
    });
    struct Case {
        const char* name;
        const char16_t* href;
        bool opens;
    };
    const Case cases[] = {{"web link", u"https://example.org/", true},
                          {"mail", u"mailto:ops@example.org", true},
                          {"plain anchor", u"details", false}};
    for (const Case& c : cases) {
        opened.clear();
        FLog.clear();
        TAdvOfficeCheckBox* box = AddCheckBox(String(u"<a href=\"") + c.href + u"\">LINKTEXT</a>");
        String clicked;
        box->OnAnchorClick = [&](TObject*, String anchor) { clicked = anchor; };
        ShowForm();
        box->SetFocus();
        Pump();
        MouseDown(box, 30, 10);
        EXPECT_EQ(opened, c.opens ? std::vector<String>{c.href} : std::vector<String>{}) << c.name;
        EXPECT_EQ(clicked, c.opens ? String() : String(c.href)) << c.name;
        EXPECT_FALSE(box->Down()) << c.name << ": a press on an anchor does not press the glyph";
        MouseUp(box, 30, 10);
        box->Free();
    }
}

// Both buttons: the hand cursor over an anchor with enter and exit events, and a press on it that does
// not press the glyph.
TEST_F(OfficeButtonsTest, AnchorHoverAndPressOnEitherButton) {
    const String caption = u"<a href=\"details\">LINKTEXT</a> and more text";
    auto* box = Add<TAdvOfficeCheckBox>(20, 20, 200, 20);
    auto* radio = Add<TAdvOfficeRadioButton>(20, 60, 200, 20);
    ShowForm();
    for (TAdvOfficeButton* button :
         {static_cast<TAdvOfficeButton*>(box), static_cast<TAdvOfficeButton*>(radio)}) {
        const char* name = button == box ? "check box" : "radio button";
        button->SetCaption(caption);
        std::vector<std::string> events;
        button->OnAnchorEnter = [&](TObject*, String anchor) {
            events.push_back("enter " + StringToUtf8(anchor));
        };
        button->OnAnchorExit = [&](TObject*, String anchor) {
            events.push_back("exit " + StringToUtf8(anchor));
        };
        button->OnAnchorClick = [&](TObject*, String anchor) {
            events.push_back("click " + StringToUtf8(anchor));
        };
        button->SetFocus();
        Pump();
        MouseMove(button, 30, 10);
        EXPECT_EQ(button->Cursor(), crHandPoint) << name;
        MouseMove(button, 190, 10);
        EXPECT_EQ(button->Cursor(), crDefault) << name;
        MouseDown(button, 30, 10);
        EXPECT_FALSE(button->Down()) << name;
        MouseUp(button, 30, 10);
        EXPECT_EQ(events, (std::vector<std::string>{"enter details", "exit details", "enter details",
                                                    "click details"}))
            << name;
    }
}

TEST_F(OfficeButtonsTest, ActionsGiveTheirValuesAndRunWhenNoOnClickIsSet) {
    auto* action = new TAction(FForm);
    action->SetCaption(u"Log");
    action->SetChecked(true);
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    auto* box = Add<TAdvOfficeCheckBox>(20, 20, 120, 20);
    box->SetAction(action);
    ShowForm();
    EXPECT_EQ(box->Caption(), u"Log");
    EXPECT_TRUE(box->Checked());
    action->SetChecked(false);
    action->SetCaption(u"Logging");
    action->SetEnabled(false);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->Caption(), u"Logging");
    EXPECT_FALSE(box->Enabled());
    action->SetEnabled(true);
    ClickAt(box, 60, 10);
    EXPECT_EQ(executed, 1);
    box->OnClick = [this](TObject*) { FLog.push_back("click"); };
    ClickAt(box, 60, 10);
    EXPECT_EQ(executed, 1) << "the control's own handler comes first";
    action->Free();
    EXPECT_EQ(box->Action(), nullptr);
}

TEST_F(OfficeButtonsTest, VersionOfBothButtons) {
    TAdvOfficeCheckBox* box = AddCheckBox();
    auto* radio = Add<TAdvOfficeRadioButton>(20, 60, 135, 20);
    EXPECT_EQ(box->Version(), u"1.3.8.8");
    EXPECT_EQ(radio->Version(), u"1.3.8.8");
    EXPECT_EQ(box->Width(), 120);
    EXPECT_EQ(Add<TAdvOfficeRadioButton>(0, 0, 0, 0)->TabStop(), true);
}

// A button keeps what the caption renderer measured from one paint to the next. Whatever changes the
// caption's layout shows in the next paint exactly as in a button made with the change from the start.
TEST_F(OfficeButtonsTest, CaptionAfterAChangePaintsAsInAFreshButton) {
    struct Change {
        const char* name;
        std::function<void(TAdvOfficeButton*)> apply;
    };
    const Change changes[] = {
        {"caption", [](TAdvOfficeButton* b) { b->SetCaption(u"Module 12 of 40"); }},
        // A lone ampersand turns prefixes off for every word: "Log&1 " is measured again with its prefix.
        {"caption without a lone ampersand", [](TAdvOfficeButton* b) { b->SetCaption(u"Log&1 and line 2"); }},
        {"font height", [](TAdvOfficeButton* b) { b->Font()->SetHeight(-19); }},
        {"font face", [](TAdvOfficeButton* b) { b->Font()->SetName(u"Courier New"); }},
        {"bold font", [](TAdvOfficeButton* b) { b->Font()->SetStyle(TFontStyles{fsBold}); }},
        {"ellipsis", [](TAdvOfficeButton* b) { b->SetEllipsis(true); }},
        {"width", [](TAdvOfficeButton* b) { b->SetWidth(64); }},
        {"right aligned", [](TAdvOfficeButton* b) { b->SetAlignment(taRightJustify); }},
    };
    auto make = [&](bool radio) -> TAdvOfficeButton* {
        TAdvOfficeButton* button =
            radio ? static_cast<TAdvOfficeButton*>(Add<TAdvOfficeRadioButton>(20, 60, 120, 30))
                  : Add<TAdvOfficeCheckBox>(20, 20, 120, 30);
        button->SetCaption(u"Log&1 & line 2");
        return button;
    };
    auto paint = [](TAdvOfficeButton* button) {
        auto picture = std::make_unique<TBitmap>();
        picture->SetSize(button->Width(), button->Height());
        button->PaintTo(picture->Canvas()->Handle(), 0, 0);
        return picture;
    };
    ShowForm();
    for (bool radio : {false, true})
        for (const Change& change : changes) {
            TAdvOfficeButton* painted = make(radio);
            paint(painted);
            change.apply(painted);
            auto after = paint(painted);
            TAdvOfficeButton* fresh = make(radio);
            change.apply(fresh);
            auto expected = paint(fresh);
            int differing = 0;
            for (int y = 0; y < fresh->Height(); ++y)
                for (int x = 0; x < fresh->Width(); ++x)
                    differing += after->Canvas()->Pixels(x, y) != expected->Canvas()->Pixels(x, y);
            EXPECT_EQ(differing, 0) << (radio ? "radio button, " : "check box, ") << change.name;
            painted->Free();
            fresh->Free();
        }
}

// Every glyph of both buttons, as a bitmap with themes off and as the theme's part with them on, drawn at
// the left edge, ButtonVertAlign tvaCenter.
// Each button places its glyph at the top or bottom its own way, themed or classic.
TEST_F(OfficeButtonsTest, GlyphPlacementAtTopAndBottom) {
    struct Case {
        bool radio;
        TTextVAlignment align;
        bool themed;
        int gap; // from the control's top, or with tvaBottom from its bottom
    };
    const Case cases[] = {
        {true, tvaTop, false, 4},   {true, tvaTop, true, 4},      {true, tvaBottom, false, 2},
        {true, tvaBottom, true, 0}, {false, tvaBottom, false, 0}, {false, tvaBottom, true, 0},
    };
    auto* box = Add<TAdvOfficeCheckBox>(20, 20, 120, 40);
    auto* radio = Add<TAdvOfficeRadioButton>(20, 80, 135, 40);
    radio->SetShowFocus(false);
    ShowForm();
    for (const Case& c : cases) {
        UseThemes(c.themed);
        TAdvOfficeButton* button = c.radio ? static_cast<TAdvOfficeButton*>(radio) : box;
        button->SetThemed(c.themed);
        button->SetButtonVertAlign(c.align);
        TBitmap* bitmap = ButtonGlyph(c.radio ? u"QELOFRU" : u"QELOFCU");
        ASSERT_NE(bitmap, nullptr);
        int size = c.themed ? 16 : bitmap->Height();
        int top = c.align == tvaBottom ? button->Height() - size - c.gap : c.gap;
        TBitmap expected;
        int width = c.themed ? 16 : bitmap->Width();
        expected.SetSize(width, size);
        expected.Canvas()->Brush()->SetColor(clWhite);
        expected.Canvas()->FillRect(TRect(0, 0, width, size));
        if (c.themed) {
            HTHEME theme = OpenThemeData(button->Handle(), u"button");
            ASSERT_NE(theme, nullptr);
            RECT r{0, 0, 16, 16};
            DrawThemeBackground(theme, expected.Canvas()->Handle(), c.radio ? 2 : 3, 1, &r, nullptr);
            CloseThemeData(theme);
        } else {
            expected.Canvas()->Draw(0, 0, bitmap);
        }
        Shot();
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(Pixel(button, x, top + y), expected.Canvas()->Pixels(x, y))
                    << (c.radio ? "radio " : "box ") << c.align << (c.themed ? " themed" : " classic")
                    << " at " << x << "," << y;
    }
}

TEST_F(OfficeButtonsTest, GlyphsInThemedAndClassicLooks) {
    struct Look {
        bool radio;
        const char16_t* glyph;
        int state; // 0 unchecked, 1 checked, 2 grayed
        bool hot, down;
        int themeState;
    };
    const Look looks[] = {
        {false, u"QELOFCU", 0, false, false, 1}, {false, u"QELOFCUH", 0, true, false, 2},
        {false, u"QELOFCUD", 0, true, true, 3},  {false, u"QELOFCC", 1, false, false, 5},
        {false, u"QELOFCCH", 1, true, false, 6}, {false, u"QELOFCCD", 1, true, true, 7},
        {false, u"QELOFCG", 2, false, false, 9}, {false, u"QELOFCGH", 2, true, false, 10},
        {false, u"QELOFCGD", 2, true, true, 11}, {true, u"QELOFRU", 0, false, false, 1},
        {true, u"QELOFRUH", 0, true, false, 2},  {true, u"QELOFRUD", 0, true, true, 3},
        {true, u"QELOFRC", 1, false, false, 5},  {true, u"QELOFRCH", 1, true, false, 6},
        {true, u"QELOFRCD", 1, true, true, 7},
    };
    auto* box = Add<TAdvOfficeCheckBox>(20, 20, 120, 40);
    box->SetAllowGrayed(true);
    box->SetButtonVertAlign(tvaCenter);
    auto* radio = Add<TAdvOfficeRadioButton>(20, 80, 135, 40);
    radio->SetButtonVertAlign(tvaCenter);
    // The radio button's focus frame runs around its glyph.
    radio->SetShowFocus(false);
    auto* away = Add<TAdvOfficeCheckBox>(20, 200, 120, 20);
    ShowForm();
    for (bool themed : {false, true}) {
        UseThemes(themed);
        box->SetThemed(themed);
        radio->SetThemed(themed);
        for (const Look& look : looks) {
            TCustomControl* control = look.radio ? static_cast<TCustomControl*>(radio) : box;
            if (look.radio) {
                radio->SetChecked(look.state == 1);
            } else {
                box->SetState(static_cast<TCheckBoxState>(look.state));
            }
            MouseMove(look.hot ? control : away, 60, 10);
            if (look.down)
                MouseDown(control, 60, 10);
            TBitmap* bitmap = ButtonGlyph(look.glyph);
            ASSERT_NE(bitmap, nullptr) << StringToUtf8(look.glyph);
            int size = themed ? 16 : bitmap->Width();
            int top = themed ? 20 - 8 : 20 - bitmap->Height() / 2;
            TBitmap expected;
            expected.SetSize(size, size);
            expected.Canvas()->Brush()->SetColor(clWhite);
            expected.Canvas()->FillRect(TRect(0, 0, size, size));
            if (themed) {
                HTHEME theme = OpenThemeData(control->Handle(), u"button");
                ASSERT_NE(theme, nullptr);
                RECT r{0, 0, 16, 16};
                DrawThemeBackground(theme, expected.Canvas()->Handle(), look.radio ? 2 : 3, look.themeState,
                                    &r, nullptr);
                CloseThemeData(theme);
            } else {
                expected.Canvas()->Draw(0, 0, bitmap);
            }
            Shot();
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    ASSERT_EQ(Pixel(control, x, top + y), expected.Canvas()->Pixels(x, y))
                        << StringToUtf8(look.glyph) << (themed ? " themed" : " classic") << " at " << x << ","
                        << y;
            if (look.down) {
                // Released off the control: nothing toggles.
                MouseUp(control, 300, 10);
            }
        }
    }
}

} // namespace
