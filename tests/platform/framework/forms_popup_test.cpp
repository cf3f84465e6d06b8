// A borderless pop-up form opened from an edit, as drop-down editors use one: owned by the edit's form
// and top-most, it takes the activation while the owner keeps its active caption, hands the keys typed
// in it to the edit, and hides when another window is activated.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/StdEdit.h"
#include "platform/win32/wininput.h"

namespace {

class TPopupProbe : public TForm {
public:
    TPopupProbe(TComponent* owner, TWinControl* edit) : TForm(owner, 0), FEdit(edit) {
        SetBorderStyle(bsNone);
        OnKeyDown = [this](TObject*, Word& key, TShiftState) {
            Keys.push_back(key);
            SendMessageW(FEdit->Handle(), WM_KEYDOWN, key, 0);
        };
        OnMouseWheelDown = [this](TObject*, TShiftState, const TPoint&, bool& handled) {
            Keys.push_back(-1);
            handled = true;
        };
        OnKeyPress = [this](TObject*, Char& key) { SendMessageW(FEdit->Handle(), WM_CHAR, key, 0); };
    }
    HWND ActivatedOnClose = nullptr;
    std::vector<int> Keys; // key-downs heard, -1 for a wheel step down
    int Hides = 0;

protected:
    void CreateParams(TCreateParams& params) override {
        TForm::CreateParams(params);
        params.ExStyle |= WS_EX_TOPMOST;
        params.WndParent = GetParentForm(FEdit)->Handle();
    }
    void WndProc(TMessage& message) override {
        TForm::WndProc(message);
        if (message.Msg == WM_GETDLGCODE)
            message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        if (message.Msg == WM_ACTIVATE) {
            if (LOWORD(message.WParam) != WA_INACTIVE) {
                SendMessageW(GetAncestor(FEdit->Handle(), GA_ROOT), WM_NCACTIVATE, TRUE, 0);
            } else if (Visible()) {
                ActivatedOnClose = reinterpret_cast<HWND>(message.LParam);
                ++Hides;
                Hide();
            }
        }
    }

private:
    TWinControl* FEdit;
};

class FormsPopup : public ControlsTest {};

TEST_F(FormsPopup, APopupKeepsTheOwnersCaptionAndClosesWhenTheOwnerIsClicked) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(100, 100, 300, 200);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 21);
    form->Show();
    Pump();
    edit->SetFocus();
    Pump();

    auto* popup = new TPopupProbe(edit, edit);
    popup->SetBounds(0, 0, 150, 80);
    popup->SetVisible(true);
    SetWindowPos(popup->Handle(), HWND_TOPMOST, 110, 140, 160, 90, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(popup->Handle()));
    EXPECT_EQ(popup->BoundsRect(), TRect(110, 140, 270, 230));
    EXPECT_EQ(GetWindow(popup->Handle(), GW_OWNER), form->Handle());
    EXPECT_NE(GetWindowLongW(popup->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetActiveWindow(), popup->Handle());
    EXPECT_EQ(GetFocus(), popup->Handle());

    // Keys typed in the pop-up reach the edit.
    win32::input::TypeCharacter(u'x');
    Pump();
    EXPECT_EQ(edit->Text(), u"x");
    // Enter, Esc and the arrows are the pop-up's own keys, not the dialog's; so is the wheel. Tab stays
    // with the dialog navigation, which would have to be asked for with DLGC_WANTTAB.
    popup->Keys.clear();
    for (int key : {VK_TAB, VK_RETURN, VK_ESCAPE, VK_DOWN})
        Press(key);
    POINT centre{190, 185};
    win32::input::MouseWheel(-WHEEL_DELTA, false, centre.x, centre.y);
    Pump();
    EXPECT_EQ(popup->Keys, (std::vector<int>{VK_RETURN, VK_ESCAPE, VK_DOWN, -1}));
    EXPECT_TRUE(IsWindowVisible(popup->Handle()));

    // A click into the owner activates it and its edit gets the focus back, and the pop-up hears which window took the activation.
    POINT p{200, 5};
    ClientToScreen(form->Handle(), &p);
    win32::input::Click(win32::input::Button::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(popup->Hides, 1);
    EXPECT_FALSE(IsWindowVisible(popup->Handle()));
    EXPECT_EQ(popup->ActivatedOnClose, form->Handle());
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
    form->Free();
}

} // namespace
