// The bar controls: the status bar's panels in its window, the hint of the control under the mouse in
// the status bar, owner-drawn panels and a form description with panels; the progress bar; the up-down
// with its associate, its clicks and a refused change, a new window of either, and its held arrow.
#include "platform/framework/ComCtrls.h"

#include <set>

#include "platform/framework/Application.h"
#include "platform/framework/FormResources.h"
#include "platform/framework/StdEdit.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/controls_testing.h"

namespace {

using win32::input::Button;

class ComCtrlsBars : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        form = new TForm(nullptr, 0);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 400, 300);
        form->Show();
        Pump();
    }
    void TearDown() override {
        Application->OnHint = nullptr;
        ControlsTest::TearDown();
    }

    TStatusBar* MakeStatusBar() {
        auto* bar = new TStatusBar(form);
        bar->SetParent(form);
        for (int width : {150, 100}) {
            TStatusPanel* panel = bar->Panels()->Add();
            panel->SetWidth(width);
        }
        Pump();
        return bar;
    }

    static String PartText(TStatusBar* bar, WPARAM part, WORD* type = nullptr) {
        Char buffer[256] = {};
        LRESULT answer = SendMessageW(bar->Handle(), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(buffer));
        if (type)
            *type = HIWORD(answer);
        return String(buffer);
    }

    // Moves the mouse over a point of control and lets the application go idle, as it does after a move.
    static void RestOver(TControl* control, int x, int y) {
        TPoint screen = control->ClientToScreen(TPoint(x, y));
        win32::input::MouseMove(screen.X, screen.Y);
        Pump();
        // Asking for another idle round keeps the idle step from waiting for a message.
        Application->OnIdle = [](TObject*, bool& done) { done = false; };
        Application->HandleMessage();
        Application->OnIdle = nullptr;
    }

    TForm* form = nullptr;
};

TEST_F(ComCtrlsBars, PanelsGoToTheWindow) {
    TStatusBar* bar = MakeStatusBar();
    // Aligned at the bottom of the form, across it.
    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
    EXPECT_EQ(bar->Width(), form->ClientWidth());

    int edges[4] = {};
    EXPECT_EQ(SendMessageW(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 150);
    EXPECT_EQ(edges[1], -1) << "the last panel runs to the end";

    struct Case {
        const char* name;
        TAlignment alignment;
        TStatusPanelBevel bevel;
        String text;
        WORD type;
    };
    const Case cases[] = {
        {"left, lowered", taLeftJustify, pbLowered, u"Port open", 0},
        {"centred, raised", taCenter, pbRaised, u"\tPort open", SBT_POPOUT},
        {"right, no bevel", taRightJustify, pbNone, u"\t\tPort open", SBT_NOBORDERS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TStatusPanel* panel = bar->Panels()->Items(1);
        panel->SetText(u"Port open");
        panel->SetAlignment(c.alignment);
        panel->SetBevel(c.bevel);
        WORD type = 0xFFFF;
        EXPECT_EQ(PartText(bar, 1, &type), c.text);
        EXPECT_EQ(type, c.type);
    }

    // A wider first panel moves the edge; simple mode shows SimpleText alone.
    bar->Panels()->Items(0)->SetWidth(200);
    SendMessageW(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[0], 200);
    bar->SetSimpleText(u"Busy");
    bar->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageW(bar->Handle(), SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(PartText(bar, SB_SIMPLEID), u"Busy");
}

// The status bar shows the long part of the hint of the control under the mouse.
TEST_F(ComCtrlsBars, AutoHintShowsTheHintOfTheControlUnderTheMouse) {
    TStatusBar* bar = MakeStatusBar();
    bar->SetAutoHint(true);
    auto* strength = new TEdit(form);
    strength->SetParent(form);
    strength->SetBounds(10, 10, 120, 24);
    strength->SetHint(u"Strength|Module 1 strength in dbm");
    auto* plain = new TEdit(form);
    plain->SetParent(form);
    plain->SetBounds(10, 60, 120, 24);
    Pump();

    RestOver(strength, 5, 5);
    EXPECT_EQ(bar->Panels()->Items(0)->Text(), u"Module 1 strength in dbm");
    EXPECT_EQ(PartText(bar, 0), u"Module 1 strength in dbm");
    RestOver(plain, 5, 5);
    EXPECT_EQ(bar->Panels()->Items(0)->Text(), u"");

    // In simple mode the hint is the simple text.
    bar->SetSimplePanel(true);
    RestOver(strength, 6, 6);
    EXPECT_EQ(bar->SimpleText(), u"Module 1 strength in dbm");
    EXPECT_EQ(PartText(bar, SB_SIMPLEID), u"Module 1 strength in dbm");

    // The bar's own OnHint takes the hint instead; the application's OnHint comes before any bar.
    int barHints = 0;
    bar->OnHint = [&](TObject* sender) {
        EXPECT_EQ(sender, bar);
        ++barHints;
    };
    RestOver(plain, 5, 5);
    EXPECT_EQ(barHints, 1);
    EXPECT_EQ(bar->SimpleText(), u"Module 1 strength in dbm");
    int appHints = 0;
    Application->OnHint = [&](TObject*) { ++appHints; };
    RestOver(strength, 5, 5);
    EXPECT_EQ(appHints, 1);
    EXPECT_EQ(barHints, 1);

    // Without AutoHint, or once freed, the bar hears nothing.
    Application->OnHint = nullptr;
    bar->SetAutoHint(false);
    RestOver(plain, 5, 5);
    EXPECT_EQ(barHints, 1);
    bar->SetAutoHint(true);
    bar->Free();
    RestOver(strength, 5, 5);
}

TEST_F(ComCtrlsBars, OwnerDrawnPanel) {
    TStatusBar* bar = MakeStatusBar();
    TStatusPanel* panel = bar->Panels()->Items(1);
    panel->SetStyle(psOwnerDraw);
    std::vector<TStatusPanel*> drawn;
    TRect where;
    bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* p, const TRect& rect) {
        EXPECT_EQ(sender, bar);
        drawn.push_back(p);
        where = rect;
        sender->Canvas()->Brush()->SetColor(clRed);
        sender->Canvas()->FillRect(rect);
    };
    bar->Invalidate();
    Pump();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), panel);
    EXPECT_GE(where.Left, 150);
    HDC dc = GetDC(bar->Handle());
    EXPECT_EQ(GetPixel(dc, (where.Left + where.Right) / 2, (where.Top + where.Bottom) / 2), RGB(255, 0, 0));
    ReleaseDC(bar->Handle(), dc);
}

TEST_F(ComCtrlsBars, ReadFromAFormDescription) {
    const std::string text =
        "object Main: TForm\n  Left = 0\n  Top = 0\n  Width = 400\n  Height = 300\n"
        "  object Status: TStatusBar\n    Left = 0\n    Top = 281\n    Width = 400\n"
        "    Height = 19\n    AutoHint = True\n    Panels = <\n      item\n        Width = 300\n"
        "      end\n      item\n        Alignment = taCenter\n        Text = 'RSSI'\n"
        "        Width = 50\n      end>\n  end\n"
        "  object Level: TProgressBar\n    Left = 10\n    Top = 10\n    Width = 150\n"
        "    Height = 16\n    Max = 50\n    Position = 20\n    Smooth = True\n  end\nend\n";
    auto* main = new TForm(nullptr, 0);
    ReadComponentText(text, main);
    auto* status = static_cast<TStatusBar*>(main->FindComponent(u"Status"));
    ASSERT_NE(status, nullptr);
    ASSERT_EQ(status->Panels()->Count(), 2);
    EXPECT_EQ(status->Panels()->Items(0)->Width(), 300);
    EXPECT_EQ(status->Panels()->Items(1)->Alignment(), taCenter);
    EXPECT_EQ(status->Panels()->Items(1)->Text(), u"RSSI");
    EXPECT_TRUE(status->AutoHint());
    auto* level = static_cast<TProgressBar*>(main->FindComponent(u"Level"));
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->Max(), 50);
    EXPECT_EQ(level->Position(), 20);
    main->Show();
    Pump();
    EXPECT_EQ(PartText(status, 1), u"\tRSSI");
    EXPECT_EQ(SendMessageW(level->Handle(), PBM_GETPOS, 0, 0), 20);
    EXPECT_TRUE(GetWindowLongW(level->Handle(), GWL_STYLE) & PBS_SMOOTH);
}

TEST_F(ComCtrlsBars, ProgressBar) {
    auto* bar = new TProgressBar(form);
    bar->SetParent(form);
    bar->SetMin(10);
    bar->SetMax(60);
    bar->SetPosition(5);
    EXPECT_EQ(bar->Position(), 10) << "kept within the range";
    bar->SetStep(20);
    bar->StepIt();
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 50);
    bar->StepIt(); // 70 is 10 past the end: the bar starts over
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 20);
    bar->StepBy(100);
    EXPECT_EQ(bar->Position(), 60);

    // Turned upright the bar keeps its position and its shape turns.
    int width = bar->Width();
    int height = bar->Height();
    bar->SetOrientation(pbVertical);
    Pump();
    EXPECT_TRUE(GetWindowLongW(bar->Handle(), GWL_STYLE) & PBS_VERTICAL);
    EXPECT_EQ(bar->Width(), height);
    EXPECT_EQ(bar->Height(), width);
    EXPECT_EQ(bar->Position(), 60);
}

TEST_F(ComCtrlsBars, UpDownStepsItsAssociate) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 100, 24);
    auto* updown = new TUpDown(form);
    updown->SetParent(form);
    updown->SetMin(0);
    updown->SetMax(10);
    updown->SetPosition(5);
    updown->SetAssociate(edit);
    Pump();
    EXPECT_EQ(edit->Text(), u"5");
    EXPECT_EQ(updown->Left(), edit->Left() + edit->Width()) << "beside its associate, on the right";
    EXPECT_EQ(updown->Height(), edit->Height());

    std::vector<TUDBtnType> clicks;
    bool allow = true;
    updown->OnClick = [&](TObject*, TUDBtnType button) { clicks.push_back(button); };
    updown->OnChanging = [&](TObject*, bool& allowChange) { allowChange = allow; };
    auto click = [&](bool up) {
        TPoint screen = updown->ClientToScreen(TPoint(updown->Width() / 2, up ? 3 : updown->Height() - 3));
        win32::input::Click(Button::Left, screen.X, screen.Y);
        Pump();
    };
    click(true);
    EXPECT_EQ(updown->Position(), 6);
    EXPECT_EQ(edit->Text(), u"6");
    click(false);
    click(false);
    EXPECT_EQ(updown->Position(), 4);
    EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev, btPrev}));

    // A refused change keeps the position and clicks nothing.
    allow = false;
    click(true);
    EXPECT_EQ(updown->Position(), 4);
    EXPECT_EQ(clicks.size(), 3u);

    // What the user types into the associate is the position; Increment sets the step.
    allow = true;
    edit->SetText(u"8");
    EXPECT_EQ(updown->Position(), 8);
    updown->SetIncrement(2);
    click(true);
    EXPECT_EQ(updown->Position(), 10);
    updown->SetWrap(true);
    Pump();
    click(true);
    EXPECT_EQ(updown->Position(), 0);
    EXPECT_EQ(clicks.back(), btNext);

    // A freed associate is forgotten.
    edit->Free();
    EXPECT_EQ(updown->Associate(), nullptr);
}

// A new window of the associate (or of the up-down) keeps them together: the up-down's window writes
// into the new window and hears its keys, and the associate does not narrow again.
TEST_F(ComCtrlsBars, UpDownFollowsItsAssociateToANewWindow) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 100, 24);
    auto* updown = new TUpDown(form);
    updown->SetParent(form);
    updown->SetMax(10);
    updown->SetPosition(5);
    updown->SetAssociate(edit);
    Pump();
    const TRect editBounds = edit->BoundsRect();
    const TRect updownBounds = updown->BoundsRect();
    auto buddy = [&] { return reinterpret_cast<HWND>(SendMessageW(updown->Handle(), UDM_GETBUDDY, 0, 0)); };

    HWND old = edit->Handle();
    edit->RecreateWnd();
    Pump();
    ASSERT_NE(edit->Handle(), old);
    EXPECT_EQ(buddy(), edit->Handle());
    EXPECT_EQ(edit->BoundsRect(), editBounds);
    EXPECT_EQ(updown->BoundsRect(), updownBounds);
    TPoint up = updown->ClientToScreen(TPoint(updown->Width() / 2, 3));
    win32::input::Click(Button::Left, up.X, up.Y);
    Pump();
    EXPECT_EQ(edit->Text(), u"6");
    edit->SetFocus();
    win32::input::PressKey(VK_UP);
    Pump();
    EXPECT_EQ(updown->Position(), 7);

    updown->SetWrap(true); // the up-down's own new window
    Pump();
    EXPECT_EQ(buddy(), edit->Handle());
    EXPECT_EQ(edit->BoundsRect(), editBounds);
    EXPECT_EQ(updown->BoundsRect(), updownBounds);

    // An up-down freed first leaves the associate working.
    updown->Free();
    edit->RecreateWnd();
    edit->SetText(u"still here");
    EXPECT_EQ(edit->Text(), u"still here");
}

// A double-buffered up-down paints through a bitmap, so its window paints into the DC it is given; the
// held arrow shows pressed there too.
TEST_F(ComCtrlsBars, DoubleBufferedUpDownShowsTheHeldArrow) {
    auto* updown = new TUpDown(form);
    updown->SetParent(form);
    updown->SetBounds(10, 10, 17, 26);
    updown->SetDoubleBuffered(true);
    Pump();
    auto upperHalf = [&] {
        updown->Repaint();
        HDC dc = GetDC(updown->Handle());
        std::vector<COLORREF> pixels;
        for (int y = 0; y < updown->Height() / 2; ++y)
            for (int x = 0; x < updown->Width(); ++x)
                pixels.push_back(GetPixel(dc, x, y));
        ReleaseDC(updown->Handle(), dc);
        return pixels;
    };
    const std::vector<COLORREF> plain = upperHalf();
    EXPECT_GT(std::set<COLORREF>(plain.begin(), plain.end()).size(), 2u) << "an edge and an arrow are drawn";
    TPoint up = updown->ClientToScreen(TPoint(updown->Width() / 2, 3));
    win32::input::MouseButton(Button::Left, true, up.X, up.Y);
    Pump();
    EXPECT_NE(upperHalf(), plain);
    win32::input::MouseButton(Button::Left, false, up.X, up.Y);
    Pump();
    EXPECT_EQ(upperHalf(), plain);
}

} // namespace
