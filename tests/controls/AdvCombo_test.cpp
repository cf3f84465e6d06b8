// The styled combo box: its settings, label, focus colours, borders, button painting and placeholder.
#include "controls/AdvCombo.h"

#include "platform/framework/ExtCtrls.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wininput.h"
#include "tests/controls/ControlsTesting.h"

namespace {

class AdvComboTest : public StyledControlsTest {
protected:
    TAdvComboBox* AddCombo(int top = 40) {
        auto* combo = Add<TAdvComboBox>(40, top, 150, 22);
        for (const char16_t* item : {u"Module 1", u"Module 2", u"Module 3"})
            combo->Items()->Add(item);
        return combo;
    }
    // A pixel of the combo's window (borders and button included) as its surface shows it.
    static TColor WindowPixel(TWinControl* control, int x, int y) {
        Pump();
        HDC dc = GetWindowDC(control->Handle());
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(control->Handle(), dc);
        return static_cast<TColor>(color);
    }
};

} // namespace

TEST_F(AdvComboTest, SettingsKeepTheirRangesAndItemsOutsideReadEmpty) {
    TAdvComboBox* combo = AddCombo();
    EXPECT_EQ(combo->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
    for (int refused : {10, 13, 33, 40}) {
        combo->SetButtonWidth(refused);
        EXPECT_NE(combo->ButtonWidth(), refused);
    }
    combo->SetButtonWidth(14);
    EXPECT_EQ(combo->ButtonWidth(), 14);
    combo->SetButtonWidth(32);
    EXPECT_EQ(combo->ButtonWidth(), 32);
    EXPECT_EQ(combo->Version(), u"1.5.1.1");
    ShowForm();
    // The console reads item -1 of its module list at start-up.
    EXPECT_EQ(combo->Items()->Strings(-1), u"");
    EXPECT_EQ(combo->Items()->Strings(7), u"");
}

TEST_F(AdvComboTest, SelectItemTakesOnlyAnExactTextAndTellsOfIt) {
    TAdvComboBox* combo = AddCombo();
    ShowForm();
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SelectItem(u"Module");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 0);
    combo->SelectItem(u"Module 2");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(AdvComboTest, TheLabelIsPlacedLikeTheEditsAndFollowsTheCombo) {
    TAdvComboBox* combo = AddCombo();
    combo->SetLabelCaption(u"Modules");
    ShowForm();
    TLabel* label = combo->ComboLabel();
    ASSERT_NE(label, nullptr);
    // lpLeftTop: the (auto-sized) label ends the margin left of the combo.
    EXPECT_EQ(label->Left() + label->Width(), combo->Left() - 4);
    EXPECT_EQ(label->Top(), combo->Top());
    combo->SetLabelPosition(AdvEdit::lpTopRight);
    EXPECT_EQ(label->Left() + label->Width(), combo->Left() + combo->Width());
    EXPECT_EQ(label->Top(), combo->Top() - label->Height() - 4);
    combo->SetLabelPosition(AdvEdit::lpTopCenter);
    EXPECT_EQ(label->Left(), combo->Left() + (combo->Width() - label->Width()) / 2);
    combo->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    combo->SetVisible(true);
    combo->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
}

TEST_F(AdvComboTest, FocusColourAndFlatParentColourComeAndGo) {
    auto* panel = Add<TPanel>(0, 0, 400, 200);
    panel->SetColor(clGray);
    auto* flat = Add<TAdvComboBox>(10, 10, 150, 22, panel);
    TAdvComboBox* focusing = AddCombo(100);
    focusing->SetParent(panel);
    focusing->SetColor(clWhite);
    focusing->SetFocusColor(clYellow);
    ShowForm();
    flat->SetFlat(true);
    EXPECT_EQ(flat->Color(), clGray);
    flat->SetEnabled(false);
    flat->SetEnabled(true);
    EXPECT_EQ(flat->Color(), clGray);

    focusing->SetFocus();
    Pump();
    EXPECT_EQ(focusing->Color(), clYellow);
    flat->SetFocus();
    Pump();
    EXPECT_EQ(focusing->Color(), clWhite);
}

TEST_F(AdvComboTest, BordersTakeTheirColoursFocusedAndUnfocused) {
    TAdvComboBox* combo = AddCombo();
    TAdvComboBox* other = AddCombo(100);
    combo->SetBorderColor(clRed);
    combo->SetFocusBorderColor(clBlue);
    ShowForm();
    other->SetFocus();
    Pump();
    combo->Repaint();
    EXPECT_EQ(WindowPixel(combo, 0, 5), clRed);
    combo->SetFocus();
    Pump();
    combo->Repaint();
    EXPECT_EQ(WindowPixel(combo, 0, 5), clBlue);
}

TEST_F(AdvComboTest, ACustomButtonShowsItsHotColourAndArrow) {
    TAdvComboBox* combo = AddCombo();
    combo->ButtonColor = clNavy;
    combo->ButtonColorHot = clTeal;
    combo->ButtonColorDown = clMaroon;
    combo->ButtonTextColor = clWhite;
    combo->ButtonTextColorDown = clYellow;
    ShowForm();
    combo->Repaint();
    const int w = combo->Width();
    // Inside the button, clear of the arrow.
    EXPECT_EQ(WindowPixel(combo, w - 4, 4), clNavy);
    MouseMove(combo, w - 6, 8);
    combo->Repaint();
    EXPECT_EQ(WindowPixel(combo, w - 4, 4), clTeal);
    // The arrow: a 7-pixel-wide triangle from 4 to 10 right of the button's left edge, row 7 down.
    const TRect client = combo->ClientRect();
    const int left = client.Right - combo->ButtonWidth() + 3;
    EXPECT_EQ(WindowPixel(combo, left + 7, 1 + 8), clWhite);
}

TEST_F(AdvComboTest, ThePlaceholderShowsOnlyWhileEmptyAndUnfocused) {
    TAdvComboBox* combo = AddCombo();
    TAdvComboBox* other = AddCombo(100);
    combo->SetEmptyText(u"WWWW");
    ShowForm();
    other->SetFocus();
    Pump();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    ASSERT_NE(info.hwndItem, nullptr);
    auto greyIn = [&] {
        InvalidateRect(info.hwndItem, nullptr, TRUE);
        Pump();
        HDC dc = GetDC(info.hwndItem);
        bool grey = false;
        for (int x = 8; x < 40 && !grey; ++x)
            for (int y = 0; y < 16 && !grey; ++y) {
                COLORREF c = GetPixel(dc, x, y);
                grey = GetRValue(c) > 100 && GetRValue(c) < 200 && GetRValue(c) == GetGValue(c) &&
                       GetGValue(c) == GetBValue(c);
            }
        ReleaseDC(info.hwndItem, dc);
        return grey;
    };
    EXPECT_TRUE(greyIn());
    combo->SetFocus();
    Pump();
    EXPECT_FALSE(greyIn());
    combo->SetEmptyTextFocused(true);
    EXPECT_TRUE(greyIn());
    combo->SetItemIndex(0);
    EXPECT_FALSE(greyIn());
}
