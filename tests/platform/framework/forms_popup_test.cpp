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
    int Sizings = 0;
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
        if (message.Msg == WM_NCHITTEST) {
            // Only the bottom-right corner sizes; the rest of the frame never starts a move.
            TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)));
            message.Result = p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : HTNOWHERE;
        }
        if (message.Msg == WM_SIZING)
            ++Sizings;
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
    HDC dc = GetWindowDC(form->Handle());
    EXPECT_EQ(GetPixel(dc, 150, 10), GetSysColor(COLOR_ACTIVECAPTION)) << "the owner still looks active";
    ReleaseDC(form->Handle(), dc);

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

    // A click into the owner activates it and its edit gets the focus back, and the pop-up hears which window
    // took the activation.
    POINT p{200, 5};
    ClientToScreen(form->Handle(), &p);
    win32::input::Click(win32::input::Button::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(popup->Hides, 1);
    EXPECT_FALSE(IsWindowVisible(popup->Handle()));
    EXPECT_EQ(popup->ActivatedOnClose, form->Handle());
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());

    // Hidden by a key of its own, the active pop-up gives the activation back to its owner.
    popup->OnKeyDown = [popup](TObject*, Word& key, TShiftState) {
        if (key == VK_RETURN)
            popup->Hide();
    };
    popup->SetVisible(true);
    Pump();
    ASSERT_EQ(GetActiveWindow(), popup->Handle());
    Press(VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(popup->Handle()));
    EXPECT_EQ(popup->Hides, 1) << "hiding is not a deactivation while visible";
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
    form->Free();
}

TEST_F(FormsPopup, AGripInAChildSizesThePopupAndAnotherApplicationClosesIt) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(100, 100, 300, 200);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    form->Show();
    Pump();
    auto* popup = new TPopupProbe(edit, edit);
    auto* footer = new TCtlPanel(popup);
    footer->SetParent(popup);
    footer->SetAlign(alBottom);
    footer->SetHeight(20);
    // A press on the footer hands the mouse to the pop-up's own sizing, as a size grip does.
    footer->OnMouseDown = [popup, footer](TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
        ReleaseCapture();
        TPoint p = footer->ClientToScreen(TPoint(x, y));
        SendMessageW(popup->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(p.X, p.Y));
    };
    popup->SetBounds(0, 0, 150, 80);
    popup->SetVisible(true);
    SetWindowPos(popup->Handle(), HWND_TOPMOST, 300, 300, 150, 80, 0);
    Pump();
    win32::input::MouseButton(win32::input::Button::Left, true, 445, 375);
    Pump();
    win32::input::MouseMove(475, 395);
    win32::input::MouseButton(win32::input::Button::Left, false, 475, 395);
    Pump();
    EXPECT_GT(popup->Sizings, 0);
    EXPECT_EQ(popup->BoundsRect(), TRect(300, 300, 480, 400));
    EXPECT_EQ(footer->Top(), 80) << "the children follow the new size";
    EXPECT_TRUE(IsWindowVisible(popup->Handle()));

    // The size constraints hold while the user sizes it, both ways.
    popup->Constraints()->SetMinWidth(80);
    popup->Constraints()->SetMinHeight(50);
    win32::input::MouseButton(win32::input::Button::Left, true, 470, 390);
    Pump();
    win32::input::MouseMove(310, 310);
    win32::input::MouseButton(win32::input::Button::Left, false, 310, 310);
    Pump();
    EXPECT_EQ(popup->BoundsRect(), TRect(300, 300, 380, 350));
    popup->Constraints()->SetMaxWidth(200);
    popup->Constraints()->SetMaxHeight(120);
    win32::input::MouseButton(win32::input::Button::Left, true, 375, 345);
    Pump();
    win32::input::MouseMove(600, 600);
    win32::input::MouseButton(win32::input::Button::Left, false, 600, 600);
    Pump();
    EXPECT_EQ(popup->BoundsRect(), TRect(300, 300, 500, 420));

    // Another application takes the activation: the pop-up hears of it and closes.
    win32::input::DesktopActivated(nullptr);
    Pump();
    EXPECT_EQ(popup->Hides, 1);
    EXPECT_EQ(popup->ActivatedOnClose, nullptr);
    EXPECT_FALSE(IsWindowVisible(popup->Handle()));
    form->Free();
}

TEST_F(FormsPopup, TheMonitorOfAPointPlacesPopups) {
    const int w = Screen()->Width();
    const int h = Screen()->Height();
    struct Case {
        const char* name;
        TPoint point;
        TMonitorDefaultTo defaultTo;
        bool found;
    };
    const Case cases[] = {
        {"on the screen", TPoint(10, 10), mdNull, true},
        {"bottom-right pixel", TPoint(w - 1, h - 1), mdNull, true},
        {"just past the right edge", TPoint(w, 10), mdNull, false},
        {"left of the screen", TPoint(-5, 10), mdNull, false},
        {"left of the screen, nearest", TPoint(-5, 10), mdNearest, true},
        {"below the screen, primary", TPoint(10, h + 50), mdPrimary, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMonitor* monitor = Screen()->MonitorFromPoint(c.point, c.defaultTo);
        ASSERT_EQ(monitor != nullptr, c.found);
        if (monitor) {
            EXPECT_EQ(monitor->BoundsRect, TRect(0, 0, w, h));
            EXPECT_EQ(monitor->WorkareaRect, Screen()->WorkAreaRect());
        }
    }
}

} // namespace
