// The styled group box: caption, frame and children's area for the caption's kinds and places, the frame
// drawn around the caption, and the caption check box's clicks, states, action on the children and
// glyphs.
#include "controls/AdvGroupBox.h"

#include "controls/AdvOfficeButtons.h"
#include "controls/ButtonGlyphs.h"
#include "platform/framework/Application.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/UString.h"
#include "platform/win32/uxtheme.h"
#include "tests/controls/ControlsTesting.h"

namespace {

class GroupBoxTest : public StyledControlsTest {
protected:
    // A group box whose font measures the caption "Input" 40 by 18 pixels.
    TAdvGroupBox* AddBox(int width = 253, int height = 46) {
        auto* box = Add<TAdvGroupBox>(10, 10, width, height);
        box->Font()->SetName(u"Verdana");
        box->Font()->SetHeight(-15);
        box->SetBorderColor(clRed);
        return box;
    }
    static TRect CaptionRect(TAdvGroupBox* box) {
        TRect check, text, caption;
        box->GetCaptionRects(check, text, caption);
        return caption;
    }
    static TRect CheckRect(TAdvGroupBox* box) {
        TRect check, text, caption;
        box->GetCaptionRects(check, text, caption);
        return check;
    }
    // The area the children get: a child aligned to the client fills it.
    TRect ChildArea(TAdvGroupBox* box) {
        auto* child = Add<TAdvOfficeCheckBox>(0, 0, 10, 10, box);
        child->SetAlign(alClient);
        TRect area = child->BoundsRect();
        child->Free();
        return area;
    }
};

TEST_F(GroupBoxTest, CaptionFrameAndChildrenAreaFollowTheCaption) {
    struct Case {
        const char* name;
        const char16_t* caption;
        bool checkBox, themed;
        AdvGroupBox::TCaptionPosition position;
        int width;
        TRect caption_, frame, children;
    };
    const Case cases[] = {
        {"text at the top left",
         u"Input",
         false,
         false,
         AdvGroupBox::cpTopLeft,
         253,
         {8, 0, 48, 20},
         {0, 10, 253, 46},
         {2, 21, 251, 44}},
        {"no caption leaves no gap",
         u"",
         false,
         false,
         AdvGroupBox::cpTopLeft,
         253,
         {8, 0, 8, 2},
         {0, 0, 253, 46},
         {2, 3, 251, 44}},
        {"themed check box alone",
         u"",
         true,
         true,
         AdvGroupBox::cpTopLeft,
         253,
         {8, 0, 24, 18},
         {0, 9, 253, 46},
         {2, 19, 251, 44}},
        {"classic check box alone",
         u"",
         true,
         false,
         AdvGroupBox::cpTopLeft,
         253,
         {8, 0, 22, 16},
         {0, 8, 253, 46},
         {2, 17, 251, 44}},
        {"check box and text",
         u"Input",
         true,
         false,
         AdvGroupBox::cpTopRight,
         253,
         {188, 0, 245, 20},
         {0, 10, 253, 46},
         {2, 21, 251, 44}},
        {"centred wider than the box",
         u"Input",
         false,
         false,
         AdvGroupBox::cpTopCenter,
         30,
         {-5, 0, 35, 20},
         {0, 10, 30, 46},
         {2, 21, 28, 44}},
        {"at the bottom right",
         u"Input",
         false,
         false,
         AdvGroupBox::cpBottomRight,
         253,
         {205, 26, 245, 46},
         {0, 0, 253, 36},
         {2, 2, 251, 25}},
    };
    ShowForm();
    for (const Case& c : cases) {
        TAdvGroupBox* box = AddBox(c.width);
        box->SetCaption(c.caption);
        box->SetCaptionPosition(c.position);
        box->CheckBox()->SetThemed(c.themed);
        box->CheckBox()->SetVisible(c.checkBox);
        EXPECT_EQ(CaptionRect(box), c.caption_) << c.name;
        EXPECT_EQ(box->FrameRect(), c.frame) << c.name;
        EXPECT_EQ(ChildArea(box), c.children) << c.name;
        box->Free();
    }
}

TEST_F(GroupBoxTest, CheckBoxSitsOnItsSideOfTheCaptionCentredInItsHeight) {
    TAdvGroupBox* box = AddBox();
    box->SetCaption(u"Input");
    box->CheckBox()->SetThemed(false);
    box->CheckBox()->SetVisible(true);
    EXPECT_EQ(CheckRect(box), TRect(8, 3, 22, 17));
    box->CheckBox()->SetPosition(AdvGroupBox::cpRight);
    EXPECT_EQ(CheckRect(box), TRect(51, 3, 65, 17));
    box->CheckBox()->SetVisible(false);
    EXPECT_EQ(CheckRect(box), TRect(-1, -1, -1, -1));
}

TEST_F(GroupBoxTest, CaptionSetBeforeTheBoxHasAParentIsMeasuredWithoutAWindow) {
    auto* box = new TAdvGroupBox(FForm);
    box->Font()->SetName(u"Verdana");
    box->Font()->SetHeight(-15);
    box->SetBounds(10, 10, 253, 46);
    box->SetCaption(u"Input");
    EXPECT_EQ(CaptionRect(box), TRect(8, 0, 48, 20));
    EXPECT_FALSE(box->HandleAllocated());
    box->SetParent(FForm);
    EXPECT_EQ(ChildArea(box), TRect(2, 21, 251, 44));
}

TEST_F(GroupBoxTest, FrameStopsAtTheCaptionAndRunsThroughWhereThereIsNone) {
    TAdvGroupBox* box = AddBox();
    box->SetCaption(u"Input");
    TAdvGroupBox* bare = AddBox();
    bare->SetTop(100);
    ShowForm();
    Shot();
    EXPECT_EQ(Pixel(box, 4, 10), clRed) << "left of the caption";
    EXPECT_EQ(Pixel(box, 60, 10), clRed) << "right of the caption";
    EXPECT_EQ(Pixel(box, 0, 30), clRed) << "left edge";
    for (int x = 8; x < 48; ++x)
        ASSERT_NE(Pixel(box, x, 10), clRed) << "behind the caption at x " << x;
    for (int x = 0; x < 253; ++x)
        ASSERT_EQ(Pixel(bare, x, 0), clRed) << "no caption: the top line is whole, x " << x;
}

TEST_F(GroupBoxTest, DoubleFrameWithoutCtl3DIsTwoLinesInTheBorderColour) {
    TAdvGroupBox* box = AddBox();
    box->SetBorderStyle(AdvGroupBox::bsDouble);
    ShowForm();
    Shot();
    for (int y : {0, 2})
        EXPECT_EQ(Pixel(box, 100, y), clRed) << y;
    EXPECT_NE(Pixel(box, 100, 1), clRed);
    EXPECT_NE(Pixel(box, 100, 3), clRed);
}

TEST_F(GroupBoxTest, CaptionCheckBoxClickedTogglesAndAppliesItsAction) {
    TAdvGroupBox* box = AddBox();
    box->SetCaption(u"Input");
    box->CheckBox()->SetVisible(true);
    box->CheckBox()->SetThemed(false);
    auto* child = Add<TAdvOfficeCheckBox>(20, 25, 100, 18, box);
    int clicks = 0;
    box->OnCheckBoxClick = [&](TObject* sender) {
        EXPECT_EQ(sender, box);
        ++clicks;
    };
    ShowForm();
    TRect check = CheckRect(box);
    ClickAt(box, check.Left + 5, check.Top + 5);
    EXPECT_TRUE(box->CheckBox()->Checked());
    EXPECT_TRUE(child->Enabled());
    EXPECT_EQ(clicks, 1);
    ClickAt(box, check.Left + 5, check.Top + 5);
    EXPECT_FALSE(box->CheckBox()->Checked());
    EXPECT_FALSE(child->Enabled());
    ClickAt(box, check.Left + 5, check.Top + 5);
    EXPECT_EQ(clicks, 3);
    ClickAt(box, check.Right + 10, check.Top + 5);
    EXPECT_TRUE(box->CheckBox()->Checked()) << "a click on the text is no click on the box";
    MouseDown(box, check.Left + 5, check.Top + 5);
    MouseUp(box, check.Right + 30, check.Top + 5);
    EXPECT_TRUE(box->CheckBox()->Checked()) << "released off the box";
    EXPECT_EQ(clicks, 3);
}

TEST_F(GroupBoxTest, StateFromCodeActsAsAClickButActionAloneAndGrayedDoNothing) {
    TAdvGroupBox* box = AddBox();
    box->CheckBox()->SetVisible(true);
    box->CheckBox()->SetAllowGrayed(true);
    box->CheckBox()->SetAction(AdvGroupBox::caNone);
    auto* child = Add<TAdvOfficeCheckBox>(20, 25, 100, 18, box);
    int clicks = 0;
    box->OnCheckBoxClick = [&](TObject*) { ++clicks; };
    ShowForm();
    EXPECT_TRUE(child->Enabled());
    box->CheckBox()->SetAction(AdvGroupBox::caDisable);
    EXPECT_TRUE(child->Enabled()) << "a new action waits for the next state change";
    box->CheckBox()->SetState(cbGrayed);
    EXPECT_EQ(clicks, 1) << "the state set from code fires the event";
    EXPECT_TRUE(child->Enabled()) << "grayed applies no action";
    box->CheckBox()->SetState(cbUnchecked);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(child->Enabled());
    box->CheckBox()->SetChecked(true);
    EXPECT_TRUE(child->Enabled());
}

TEST_F(GroupBoxTest, AllowGrayedClicksCycleThroughTheThreeStates) {
    TAdvGroupBox* box = AddBox();
    box->CheckBox()->SetVisible(true);
    box->CheckBox()->SetAllowGrayed(true);
    ShowForm();
    TRect check = CheckRect(box);
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 3; ++i) {
        ClickAt(box, check.Left + 4, check.Top + 4);
        states.push_back(box->CheckBox()->State());
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
}

// A descendant of the Office check box: the caption check box's "check all" leaves it alone.
class TDerivedOfficeCheckBox : public TAdvOfficeCheckBox {
    DECLARE_CLASS(TDerivedOfficeCheckBox, TAdvOfficeCheckBox)

public:
    using TAdvOfficeCheckBox::TAdvOfficeCheckBox;
};

DEFINE_CLASS(TDerivedOfficeCheckBox)

TEST_F(GroupBoxTest, CheckAllReachesFrameworkCheckBoxesAndTheOfficeCheckBoxOnly) {
    TAdvGroupBox* box = AddBox(300, 120);
    box->CheckBox()->SetVisible(true);
    box->CheckBox()->SetAction(AdvGroupBox::caCheckAll);
    auto* framework = Add<TCheckBox>(10, 25, 100, 18, box);
    auto* office = Add<TAdvOfficeCheckBox>(10, 45, 100, 18, box);
    auto* derived = Add<TDerivedOfficeCheckBox>(10, 65, 100, 18, box);
    auto* radio = Add<TAdvOfficeRadioButton>(10, 85, 100, 18, box);
    int officeClicks = 0;
    office->OnClick = [&](TObject*) { ++officeClicks; };
    ShowForm();
    officeClicks = 0;
    box->CheckBox()->SetChecked(true);
    EXPECT_TRUE(framework->Checked());
    EXPECT_TRUE(office->Checked());
    EXPECT_EQ(officeClicks, 1) << "the set-check message counts as a click";
    EXPECT_FALSE(derived->Checked());
    EXPECT_FALSE(radio->Checked());
    box->CheckBox()->SetChecked(false);
    EXPECT_FALSE(framework->Checked());
    EXPECT_FALSE(office->Checked());
}

TEST_F(GroupBoxTest, DisablingTheBoxUnchecksItsCheckBoxAndDisablesTheChildren) {
    TAdvGroupBox* box = AddBox();
    box->CheckBox()->SetVisible(true);
    box->CheckBox()->SetChecked(true);
    auto* child = Add<TAdvOfficeCheckBox>(20, 25, 100, 18, box);
    ShowForm();
    box->SetEnabled(false);
    EXPECT_FALSE(box->CheckBox()->Checked());
    EXPECT_FALSE(child->Enabled());
    box->SetEnabled(true);
    EXPECT_TRUE(box->CheckBox()->Checked());
    EXPECT_TRUE(child->Enabled());
}

TEST_F(GroupBoxTest, CheckBoxHasAHintOfItsOwnOverItsRectangle) {
    TAdvGroupBox* box = AddBox();
    box->SetCaption(u"Input");
    box->SetHint(u"The box");
    box->CheckBox()->SetVisible(true);
    box->CheckBox()->SetHint(u"Switch the inputs");
    TRect check = CheckRect(box);
    for (auto [point, hint] : {std::pair{TPoint(check.Left + 2, check.Top + 2), u"Switch the inputs"},
                               {TPoint(check.Right + 10, check.Top + 2), u"The box"}}) {
        THintInfo info;
        info.CursorPos = point;
        info.HintStr = box->Hint();
        box->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.HintStr, hint);
    }
}

TEST_F(GroupBoxTest, VersionIsReadOnlyText) {
    TAdvGroupBox* box = AddBox();
    EXPECT_EQ(box->Version(), u"1.1.1.0");
    box->SetVersion(u"9.9.9.9");
    EXPECT_EQ(box->Version(), u"1.1.1.0");
}

// The caption check box draws the glyph of its state and mouse: the bitmap of that name with themes off,
// the theme's check box part with them on.
TEST_F(GroupBoxTest, CaptionCheckBoxGlyphsInThemedAndClassicLooks) {
    struct Look {
        const char16_t* suffix;
        TCheckBoxState state;
        bool hot, down;
        int themeState;
    };
    const Look looks[] = {
        {u"U", cbUnchecked, false, false, 1}, {u"UH", cbUnchecked, true, false, 2},
        {u"UD", cbUnchecked, true, true, 3},  {u"C", cbChecked, false, false, 5},
        {u"CH", cbChecked, true, false, 6},   {u"CD", cbChecked, true, true, 7},
        {u"G", cbGrayed, false, false, 9},    {u"GH", cbGrayed, true, false, 10},
        {u"GD", cbGrayed, true, true, 11},
    };
    TAdvGroupBox* box = AddBox();
    box->CheckBox()->SetVisible(true);
    box->CheckBox()->SetAllowGrayed(true);
    box->CheckBox()->SetAction(AdvGroupBox::caNone);
    ShowForm();
    for (bool themed : {false, true}) {
        UseThemes(themed);
        box->CheckBox()->SetThemed(themed);
        TRect check = CheckRect(box);
        for (const Look& look : looks) {
            box->CheckBox()->SetState(look.state);
            MouseMove(box, look.hot ? check.Left + 3 : 200, look.hot ? check.Top + 3 : 30);
            if (look.down)
                MouseDown(box, check.Left + 3, check.Top + 3);
            // The expected glyph, drawn over the same background.
            TBitmap expected;
            expected.SetSize(check.Width(), check.Height());
            expected.Canvas()->Brush()->SetColor(clWhite);
            expected.Canvas()->FillRect(TRect(0, 0, check.Width(), check.Height()));
            if (themed) {
                HTHEME theme = OpenThemeData(box->Handle(), u"button");
                ASSERT_NE(theme, nullptr);
                RECT r{0, 0, 16, 16};
                DrawThemeBackground(theme, expected.Canvas()->Handle(), 3, look.themeState, &r, nullptr);
                CloseThemeData(theme);
            } else {
                expected.Canvas()->Draw(0, 0, ButtonGlyph(String(u"QELGRP") + look.suffix));
            }
            Shot();
            for (int y = 0; y < check.Height(); ++y)
                for (int x = 0; x < check.Width(); ++x)
                    ASSERT_EQ(Pixel(box, check.Left + x, check.Top + y), expected.Canvas()->Pixels(x, y))
                        << StringToUtf8(look.suffix) << (themed ? " themed" : " classic") << " at " << x
                        << "," << y;
            if (look.down)
                MouseUp(box, 200, 30);
        }
    }
}

} // namespace
