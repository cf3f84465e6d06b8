// The grid's styled combo box: its settings, label, focus colour and frames, and the painting routines
// it shares with the controls' combo.
#include "grid/view/AsgCombo.h"

#include <gtest/gtest.h>

#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winuser.h"

namespace {

class AsgComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 400, 300);
        FCombo = new TAsgComboBox(FForm);
        FCombo->SetBounds(80, 40, 150, 22);
        FCombo->SetParent(FForm);
        for (const char16_t* item : {u"One", u"Two", u"Three"})
            FCombo->Items()->Add(item);
    }
    void TearDown() override { FForm->Free(); }
    void Show() {
        FForm->Show();
        Application->ProcessMessages();
    }
    TColor OuterPixel() {
        Application->ProcessMessages();
        HDC dc = GetWindowDC(FCombo->Handle());
        COLORREF color = GetPixel(dc, 0, 5);
        ReleaseDC(FCombo->Handle(), dc);
        return static_cast<TColor>(color);
    }

    TForm* FForm = nullptr;
    TAsgComboBox* FCombo = nullptr;
};

} // namespace

TEST_F(AsgComboTest, ButtonWidthLabelAndSelectItem) {
    for (int refused : {13, 33}) {
        FCombo->SetButtonWidth(refused);
        EXPECT_NE(FCombo->ButtonWidth(), refused);
    }
    FCombo->SetButtonWidth(14);
    EXPECT_EQ(FCombo->ButtonWidth(), 14);
    FCombo->SetButtonWidth(32);
    EXPECT_EQ(FCombo->ButtonWidth(), 32);

    FCombo->SetLabelCaption(u"Unit");
    Show();
    TLabel* label = FCombo->ComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Left() + label->Width(), FCombo->Left() - 4);
    FCombo->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    FCombo->SetVisible(true);

    FCombo->SelectItem(u"Tw");
    EXPECT_EQ(FCombo->ItemIndex(), -1);
    FCombo->SelectItem(u"Two");
    EXPECT_EQ(FCombo->ItemIndex(), 1);
}

TEST_F(AsgComboTest, FramesTakeTheBorderFocusAndDisabledColours) {
    auto* other = new TAsgComboBox(FForm);
    other->SetBounds(80, 120, 150, 22);
    other->SetParent(FForm);
    FCombo->SetBorderColor(clRed);
    FCombo->SetFocusBorderColor(clBlue);
    Show();
    other->SetFocus();
    FCombo->Repaint();
    EXPECT_EQ(OuterPixel(), clRed);
    FCombo->SetFocus();
    FCombo->Repaint();
    EXPECT_EQ(OuterPixel(), clBlue);
}

TEST(ComboPainting, ThemeStatesFollowTheButtonAndTheList) {
    EXPECT_EQ(ComboButtonThemeState(false, true, true, true), CBXS_DISABLED);
    EXPECT_EQ(ComboButtonThemeState(true, true, true, false), CBXS_PRESSED);
    EXPECT_EQ(ComboButtonThemeState(true, false, false, true), CBXS_HOT);
    EXPECT_EQ(ComboButtonThemeState(true, true, false, true), CBXS_NORMAL);
    EXPECT_EQ(ComboButtonThemeState(true, false, true, true), CBXS_NORMAL);
}
