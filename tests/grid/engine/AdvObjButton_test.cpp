// Tests of the grid's glyph button through the input entry points: groups, AllowAllUp, the check style,
// the drop-down part and the accelerator; its looks per state on the form's pixels; its glyphs and
// preset looks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/engine/AdvObj.h"
#include "platform/framework/ActnList.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Menus.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/wininput.h"
#include "platform/win32/winuser.h"

namespace {

class AdvGridButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::input::Reset();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 400, 200);
        FForm->Show();
        Pump();
    }
    void TearDown() override {
        FForm->Free();
        Pump();
        win32::input::Reset();
    }
    TAdvGridButton* AddButton(const char16_t* name, int left) {
        auto* button = new TAdvGridButton(FForm);
        button->SetName(name);
        button->SetBounds(left, 10, 30, 30);
        button->SetParent(FForm);
        button->OnClick = [this](TObject* sender) {
            FLog.push_back("click " + std::to_string(static_cast<TControl*>(sender)->Left()));
        };
        return button;
    }
    static void Pump() { Application->ProcessMessages(); }
    static TPoint Centre(TControl* control) {
        return control->ClientToScreen(TPoint(control->Width() / 2, control->Height() / 2));
    }
    static void ClickAt(TPoint point) {
        win32::input::Click(win32::input::Button::Left, point.X, point.Y);
        Pump();
    }
    // The colour of the form's pixel at the button's point (x, y).
    TColor PixelOf(TControl* button, int x, int y) {
        TBitmap shot(FForm->ClientWidth(), FForm->ClientHeight());
        FForm->PaintTo(shot.Canvas()->Handle(), 0, 0);
        return shot.Canvas()->Pixels(button->Left() + x, button->Top() + y);
    }

    TForm* FForm = nullptr;
    std::vector<std::string> FLog;
};

TEST_F(AdvGridButtonTest, StartsAsDesigned) {
    TAdvGridButton* button = AddButton(u"B", 10);
    TAdvGridButton fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 22);
    EXPECT_EQ(fresh.Height(), 23);
    EXPECT_TRUE(fresh.Flat());
    EXPECT_EQ(fresh.Color(), clBtnFace);
    EXPECT_EQ(fresh.ColorHot(), TColor(0x00CAC7C7));
    EXPECT_EQ(fresh.ColorChecked(), TColor(0x00808080));
    EXPECT_EQ(fresh.Margin(), -1);
    EXPECT_EQ(fresh.Spacing(), 4);
    // Margin below -1 is refused.
    button->SetMargin(-2);
    EXPECT_EQ(button->Margin(), -1);
    button->SetMargin(3);
    EXPECT_EQ(button->Margin(), 3);
    // A plain button outside any group never stays down.
    button->SetDown(true);
    EXPECT_FALSE(button->Down());
    ClickAt(Centre(button));
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(FLog, (std::vector<std::string>{"click 10"}));
}

TEST_F(AdvGridButtonTest, GroupedButtonsReleaseEachOther) {
    TAdvGridButton* buttons[] = {AddButton(u"A", 10), AddButton(u"B", 50), AddButton(u"C", 90)};
    for (TAdvGridButton* button : buttons)
        button->SetGroupIndex(1);
    ClickAt(Centre(buttons[0]));
    ClickAt(Centre(buttons[1]));
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_FALSE(buttons[2]->Down());
    // Without AllowAllUp the down button stays down.
    ClickAt(Centre(buttons[1]));
    EXPECT_TRUE(buttons[1]->Down());
    // AllowAllUp is shared by the group; then a second press releases.
    buttons[2]->SetAllowAllUp(true);
    EXPECT_TRUE(buttons[1]->AllowAllUp());
    ClickAt(Centre(buttons[1]));
    EXPECT_FALSE(buttons[1]->Down());
    EXPECT_EQ(FLog.size(), 4u);
    // A press let go outside leaves the group as it was.
    const TPoint centre = Centre(buttons[2]);
    win32::input::MouseButton(win32::input::Button::Left, true, centre.X, centre.Y);
    Pump();
    EXPECT_EQ(buttons[2]->State(), bsDown);
    win32::input::MouseMove(centre.X, centre.Y + 100);
    Pump();
    EXPECT_EQ(buttons[2]->State(), bsUp);
    win32::input::MouseButton(win32::input::Button::Left, false, centre.X, centre.Y + 100);
    Pump();
    EXPECT_FALSE(buttons[2]->Down());
    EXPECT_EQ(FLog.size(), 4u);
}

TEST_F(AdvGridButtonTest, OnlyADownButtonFiresItsDoubleClick) {
    TAdvGridButton* button = AddButton(u"B", 10);
    int doubleClicks = 0;
    button->OnDblClick = [&doubleClicks](TObject*) { ++doubleClicks; };
    const TPoint centre = Centre(button);
    const auto doubleClick = [&centre] {
        win32::input::Click(win32::input::Button::Left, centre.X, centre.Y);
        win32::input::Click(win32::input::Button::Left, centre.X, centre.Y);
        Pump();
    };
    doubleClick();
    EXPECT_EQ(doubleClicks, 0);
    button->SetGroupIndex(1);
    button->SetDown(true);
    doubleClick();
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(AdvGridButtonTest, CheckStyleTogglesOnEveryInsideRelease) {
    for (int group : {0, 2}) {
        TAdvGridButton* button = AddButton(group == 0 ? u"Alone" : u"Grouped", 10 + group * 40);
        button->SetStyle(tasCheck);
        button->SetGroupIndex(group);
        ClickAt(Centre(button));
        EXPECT_TRUE(button->Down()) << group;
        ClickAt(Centre(button));
        EXPECT_FALSE(button->Down()) << group;
        ClickAt(Centre(button));
        EXPECT_TRUE(button->Down()) << group;
    }
}

TEST_F(AdvGridButtonTest, DropDownPartFiresOnDropDownWithoutAClick) {
    TAdvGridButton* button = AddButton(u"B", 10);
    button->SetBounds(10, 10, 50, 30);
    button->SetDropDownButton(true);
    int dropDowns = 0;
    button->OnDropDown = [&dropDowns](TObject*) { ++dropDowns; };
    ClickAt(button->ClientToScreen(TPoint(45, 15)));
    EXPECT_EQ(dropDowns, 1);
    EXPECT_TRUE(FLog.empty());
    EXPECT_EQ(button->State(), bsUp);
    ClickAt(button->ClientToScreen(TPoint(20, 15)));
    EXPECT_EQ(dropDowns, 1);
    EXPECT_EQ(FLog.size(), 1u);
    // The button forgets a menu that is freed.
    auto* menu = new TPopupMenu(FForm);
    button->SetDropDownMenu(menu);
    EXPECT_EQ(button->DropDownMenu(), menu);
    menu->Free();
    EXPECT_EQ(button->DropDownMenu(), nullptr);
}

TEST_F(AdvGridButtonTest, AcceleratorClicksAnEnabledButton) {
    TAdvGridButton* button = AddButton(u"B", 10);
    button->SetCaption(u"&Find");
    const auto altF = [] {
        win32::input::Key(VK_MENU, true);
        win32::input::PressKey('F');
        win32::input::Key(VK_MENU, false);
        Pump();
    };
    altF();
    EXPECT_EQ(FLog.size(), 1u);
    button->SetEnabled(false);
    altF();
    EXPECT_EQ(FLog.size(), 1u);
}

TEST_F(AdvGridButtonTest, EachStateShowsItsColours) {
    TAdvGridButton* button = AddButton(u"B", 10);
    button->SetColor(0x00102030);
    button->SetColorHot(0x00405060);
    button->SetColorDown(0x00708090);
    button->SetColorChecked(0x00A0B0C0);
    win32::input::MouseMove(0, 0);
    Pump();
    EXPECT_EQ(PixelOf(button, 15, 15), TColor(0x00102030)) << "normal";
    const TPoint centre = Centre(button);
    win32::input::MouseMove(centre.X, centre.Y);
    Pump();
    EXPECT_EQ(PixelOf(button, 15, 15), TColor(0x00405060)) << "hot";
    win32::input::MouseButton(win32::input::Button::Left, true, centre.X, centre.Y);
    Pump();
    EXPECT_EQ(PixelOf(button, 15, 15), TColor(0x00708090)) << "pressed";
    win32::input::MouseButton(win32::input::Button::Left, false, centre.X, centre.Y);
    win32::input::MouseMove(0, 0);
    Pump();
    // Down in a group, away from the mouse: the checked colour.
    button->SetGroupIndex(1);
    button->SetDown(true);
    Pump();
    EXPECT_EQ(PixelOf(button, 15, 15), TColor(0x00A0B0C0)) << "down";
    // A gradient runs from Color at the top to ColorTo at the bottom.
    button->SetDown(false);
    button->SetAllowAllUp(true);
    button->SetDown(false);
    button->SetColor(clBlack);
    button->SetColorTo(clWhite);
    Pump();
    EXPECT_EQ(PixelOf(button, 15, 1), clBlack);
    EXPECT_EQ(PixelOf(button, 15, 28), TColor(0x00EFEFEF)); // the last of 16 bands: 255 * 15 / 16
}

TEST_F(AdvGridButtonTest, GlyphMakesTheDisabledGlyphOnce) {
    TAdvGridButton* button = AddButton(u"B", 10);
    TBitmap glyph(2, 1);
    glyph.Canvas()->SetPixels(0, 0, RGB(200, 100, 0)); // mean 100: grey 96 + 50
    glyph.Canvas()->SetPixels(1, 0, RGB(255, 255, 255));
    button->SetGlyph(&glyph);
    EXPECT_EQ(button->GlyphDisabled()->Canvas()->Pixels(0, 0), RGB(146, 146, 146));
    EXPECT_EQ(button->GlyphDisabled()->Canvas()->Pixels(1, 0), RGB(223, 223, 223));
    TBitmap other(2, 1);
    other.Canvas()->SetPixels(0, 0, clBlack);
    button->SetGlyph(&other);
    EXPECT_EQ(button->Glyph()->Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(button->GlyphDisabled()->Canvas()->Pixels(0, 0), RGB(146, 146, 146));
}

TEST_F(AdvGridButtonTest, PresetLooks) {
    TAdvGridButton* button = AddButton(u"B", 10);
    button->SetFlat(false);
    button->SetBorderColor(clRed);
    button->SetLook(7);
    EXPECT_FALSE(button->Flat());
    EXPECT_EQ(button->BorderColor(), clRed);
    button->SetLook(0);
    EXPECT_TRUE(button->Flat());
    EXPECT_TRUE(button->Rounded());
    EXPECT_EQ(button->BorderColor(), clNone);
    EXPECT_EQ(button->Color(), TColor(0x00EDF1F1));
    EXPECT_EQ(button->ColorDownTo(), TColor(0x00D8E0E1));
    EXPECT_EQ(button->BorderHotColor(), TColor(0x00C3CECE));
    button->SetLook(6);
    EXPECT_FALSE(button->Rounded());
    EXPECT_EQ(button->ColorCheckedTo(), TColor(0x009CDDED));
    EXPECT_EQ(button->BorderDownColor(), TColor(0x00808080));
    // The theme look follows the visual style's colour scheme, and look 1 without visual styles.
    button->SetAutoThemeAdapt(true);
    EXPECT_EQ(button->ColorHot(), TColor(0x00CCF4FF));
    EXPECT_EQ(button->Color(), TColor(0x00FDEADA)) << "the blue scheme: look 2";
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.themesActive = false;
    win32::SetSystemSettings(settings);
    button->Perform(WM_THEMECHANGED, 0, 0);
    win32::ResetSystemSettings();
    EXPECT_EQ(button->ColorHot(), TColor(0x00EED2C1));
}

TEST_F(AdvGridButtonTest, ActionLinkCarriesCaptionCheckedStateAndGroup) {
    TAdvGridButton* button = AddButton(u"B", 10);
    TAction action(FForm);
    action.SetCaption(u"Find");
    button->SetAction(&action);
    EXPECT_EQ(button->Caption(), u"Find");
    action.SetCaption(u"Find next");
    EXPECT_EQ(button->Caption(), u"Find next");

    // The group index follows while the button has the action's; the checked state only for a grouped
    // button that allows all up.
    action.SetGroupIndex(3);
    EXPECT_EQ(button->GroupIndex(), 3);
    action.SetChecked(true);
    EXPECT_FALSE(button->Down());
    button->SetAllowAllUp(true);
    action.SetChecked(false);
    action.SetChecked(true);
    EXPECT_TRUE(button->Down());
    action.SetChecked(false);
    EXPECT_FALSE(button->Down());
    button->SetCaption(u"Own");
    action.SetCaption(u"Other");
    EXPECT_EQ(button->Caption(), u"Own");

    // A button of the group going up unchecks its action.
    TAdvGridButton* other = AddButton(u"C", 50);
    other->SetAllowAllUp(true); // the group takes it over from the button that joins
    other->SetGroupIndex(3);
    action.SetChecked(true);
    EXPECT_TRUE(button->Down());
    ClickAt(Centre(other));
    EXPECT_TRUE(other->Down());
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(action.Checked());
}

TEST(ButtonGradientTest, BandsRunFromOneColourTowardTheOther) {
    TBitmap bitmap(10, 8);
    DrawButtonGradient(bitmap.Canvas(), clBlack, RGB(0, 0, 200), false, TRect(0, 0, 10, 8), 4, clRed);
    // Four bands of 2 (plus one) pixels: 0, 50, 100 and 150; then the frame.
    EXPECT_EQ(bitmap.Canvas()->Pixels(5, 1), RGB(0, 0, 0));
    EXPECT_EQ(bitmap.Canvas()->Pixels(5, 3), RGB(0, 0, 50));
    EXPECT_EQ(bitmap.Canvas()->Pixels(5, 6), RGB(0, 0, 150));
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(9, 7), clRed);
}

} // namespace
