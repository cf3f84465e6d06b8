// The caption panel's collapsing, caption buttons and clicks, links, moving and sizing, and automatic
// sizing.
#include <atomic>
#include <thread>

#include "platform/rtl/Clock.h"
#include "platform/win32/shell.h"
#include "platform/win32/wininput.h"
#include "platform/win32/winuser.h"
#include "tests/controls/PanelTesting.h"

namespace {

TAdvPanel* CaptionPanel(TAdvPanel* panel, int captionHeight) {
    panel->SetBevelOuter(bvNone);
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetHeight(captionHeight);
    return panel;
}

// A control that frees another when a posted message reaches it, as a timer or a second click would
// while a collapse pumps messages.
constexpr UINT WM_FREETARGET = WM_USER + 1;
class Freer : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TObject* Target = nullptr;

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_FREETARGET && Target != nullptr) {
            Target->Free();
            Target = nullptr;
            return;
        }
        TCustomControl::WndProc(message);
    }
};

} // namespace

using PanelInputTest = PanelTest;

struct CollapseCase {
    const char* name;
    int borderWidth;
    bool shadow;
    int collapsedHeight;
};

class PanelCollapseSizes : public ::testing::TestWithParam<CollapseCase> {};

TEST_P(PanelCollapseSizes, CollapseToTheCaptionAndExpandBack) {
    const CollapseCase& c = GetParam();
    TAdvPanel panel(nullptr);
    CaptionPanel(&panel, 25);
    panel.SetBorderWidth(c.borderWidth);
    panel.SetBorderShadow(c.shadow);
    panel.SetColor(clWhite);
    panel.SetCollaps(true);
    EXPECT_EQ(panel.Height(), c.collapsedHeight);
    EXPECT_EQ(panel.FullHeight(), 200);
    EXPECT_EQ(panel.Color(), clWhite); // no steps, no collapse colour
    panel.SetCollaps(false);
    EXPECT_EQ(panel.Height(), 200);
}

INSTANTIATE_TEST_SUITE_P(Borders, PanelCollapseSizes,
                         ::testing::Values(CollapseCase{"Plain", 0, false, 23},
                                           CollapseCase{"Border", 2, false, 23},
                                           CollapseCase{"BorderShadow", 2, true, 31}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelInputTest, ChildrenHiddenBeforeACollapseStayHiddenAfterTheExpand) {
    TAdvPanel* panel = CaptionPanel(AddPanel(0, 0, 200, 200), 25);
    auto addChild = [&](int top) {
        auto* child = new TPanel(FForm);
        child->SetBounds(10, top, 50, 20);
        child->SetParent(panel);
        return child;
    };
    TPanel* shown = addChild(60);
    TPanel* hidden = addChild(100);
    TPanel* onCaption = addChild(2);
    hidden->SetVisible(false);
    ShowForm();
    panel->SetCollaps(true);
    EXPECT_FALSE(shown->Visible());
    EXPECT_TRUE(onCaption->Visible());
    panel->SetCollaps(false);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hidden->Visible());
    // The list of hidden children starts afresh at the next collapse.
    hidden->SetVisible(true);
    panel->SetCollaps(true);
    panel->SetCollaps(false);
    EXPECT_TRUE(hidden->Visible());
}

TEST_F(PanelInputTest, SteppedCollapseSleepsOnThePlatformClockBetweenSteps) {
    TAdvPanel* panel = CaptionPanel(AddPanel(0, 0, 200, 200), 20);
    panel->SetCollapsSteps(4);
    panel->SetCollapsDelay(20);
    panel->SetCollapsColor(clYellow);
    panel->SetColor(clWhite);
    std::vector<int> heights;
    std::vector<TColor> colours;
    panel->OnResize = [&](TObject*) {
        heights.push_back(panel->Height());
        colours.push_back(panel->Color());
    };
    ShowForm();
    heights.clear();
    colours.clear();
    UInt64 start = Clock::TickCount64();
    std::atomic<bool> done{false};
    // The GUI thread sleeps on the manual clock; this thread moves it on meanwhile.
    std::thread ticker([&] {
        while (!done) {
            Clock::Advance(1);
            std::this_thread::yield();
        }
    });
    panel->SetCollaps(true);
    done = true;
    ticker.join();
    EXPECT_GE(Clock::TickCount64() - start, 4u * 20u);
    // (200 - 20) div 4 = 45 per step, then the caption less 2.
    EXPECT_EQ(heights, (std::vector<int>{155, 110, 65, 20, 18}));
    EXPECT_EQ(colours.front(), clYellow);
    EXPECT_EQ(panel->Color(), clYellow);

    panel->SetCollapsDelay(0);
    heights.clear();
    panel->SetCollaps(false);
    EXPECT_EQ(heights, (std::vector<int>{63, 108, 153, 198, 200}));
    EXPECT_EQ(panel->Color(), clWhite);
}

TEST_F(PanelInputTest, AFormFreedWhileACollapsePumpsEndsTheAnimation) {
    TAdvPanel* panel = CaptionPanel(AddPanel(0, 0, 200, 200), 20);
    panel->Caption()->SetMinMaxButton(true);
    panel->SetCollapsSteps(5);
    panel->SetCollapsDelay(0);
    int steps = 0;
    panel->OnResize = [&](TObject*) {
        if (++steps == 2)
            FForm->Release();
    };
    ShowForm();
    steps = 0;
    ClickAt(panel, 200 - 8, 8);
    Pump();
    EXPECT_EQ(Screen()->FormCount(), 0);
    FForm = new TForm(nullptr, 0); // for the fixture's tear-down
}

TEST_F(PanelInputTest, APanelFreedWhileACollapsePumpsEndsTheAnimation) {
    TAdvPanel* panel = CaptionPanel(AddPanel(0, 0, 200, 200), 20);
    panel->Caption()->SetMinMaxButton(true);
    panel->SetCollapsSteps(5);
    panel->SetCollapsDelay(0);
    auto* freer = new Freer(FForm);
    freer->SetBounds(300, 0, 10, 10);
    freer->SetParent(FForm);
    freer->Target = panel;
    int ends = 0;
    panel->OnEndCollapsExpand = [&](TObject*) { ++ends; };
    ShowForm();
    panel->OnResize = [&](TObject*) { PostMessageW(freer->Handle(), WM_FREETARGET, 0, 0); };
    TPoint p = panel->ClientToScreen(TPoint(200 - 8, 8));
    win32::input::MouseMove(p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, true, p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, false, p.X, p.Y);
    Pump();
    EXPECT_EQ(freer->Target, nullptr);
    EXPECT_EQ(FForm->ControlCount(), 1);
    EXPECT_EQ(ends, 0);
}

struct CaptionClickCase {
    const char* name;
    AdvPanel::TCaptionPosition side;
    AdvPanel::TCaptionButtonPosition end;
    int x, y;
    bool closes;
    bool toggles;
    int captionClicks;
};

class PanelCaptionClicks : public PanelTest, public ::testing::WithParamInterface<CaptionClickCase> {};

// A 200 x 150 panel with a 20-pixel caption and both buttons; the squares are 12 pixels wide.
TEST_P(PanelCaptionClicks, ButtonsAndCaptionAnswerClicksOnTheirSquares) {
    const CaptionClickCase& c = GetParam();
    TAdvPanel* panel = CaptionPanel(AddPanel(10, 10, 200, 150), 20);
    panel->Caption()->SetPosition(c.side);
    panel->Caption()->SetButtonPosition(c.end);
    panel->Caption()->SetCloseButton(true);
    panel->Caption()->SetMinMaxButton(true);
    panel->SetBounds(10, 10, 200, 150);
    int closes = 0, captionClicks = 0;
    panel->OnClose = [&](TObject*) { ++closes; };
    panel->OnCaptionClick = [&](TObject*) { ++captionClicks; };
    ShowForm();
    ClickAt(panel, c.x, c.y);
    EXPECT_EQ(closes, c.closes ? 1 : 0);
    EXPECT_EQ(panel->Visible(), !c.closes);
    EXPECT_EQ(panel->Collaps(), c.toggles);
    EXPECT_EQ(captionClicks, c.captionClicks);
}

using AdvPanel::cbpLeft;
using AdvPanel::cbpRight;
using AdvPanel::cpLeft;
using AdvPanel::cpRight;
using AdvPanel::cpTop;
INSTANTIATE_TEST_SUITE_P(
    SidesAndEnds, PanelCaptionClicks,
    ::testing::Values(CaptionClickCase{"TopRightClose", cpTop, cbpRight, 192, 8, true, false, 0},
                      CaptionClickCase{"TopRightMinMax", cpTop, cbpRight, 180, 8, false, true, 1},
                      CaptionClickCase{"TopRightCaption", cpTop, cbpRight, 100, 10, false, false, 1},
                      CaptionClickCase{"TopLeftClose", cpTop, cbpLeft, 8, 8, true, false, 0},
                      CaptionClickCase{"TopLeftMinMax", cpTop, cbpLeft, 20, 8, false, true, 1},
                      CaptionClickCase{"LeftRightClose", cpLeft, cbpRight, 8, 8, true, false, 0},
                      CaptionClickCase{"LeftRightMinMax", cpLeft, cbpRight, 8, 20, false, true, 1},
                      CaptionClickCase{"LeftLeftClose", cpLeft, cbpLeft, 8, 142, true, false, 0},
                      CaptionClickCase{"LeftLeftMinMax", cpLeft, cbpLeft, 8, 130, false, true, 1},
                      CaptionClickCase{"RightRightClose", cpRight, cbpRight, 192, 142, true, false, 0},
                      CaptionClickCase{"RightRightMinMax", cpRight, cbpRight, 190, 128, false, true, 1},
                      // Inside the square set 2 pixels in, outside the one set 4 in that clicks test.
                      CaptionClickCase{"RightRightMinMaxInset", cpRight, cbpRight, 197, 135, false, false, 1},
                      CaptionClickCase{"RightLeftClose", cpRight, cbpLeft, 192, 8, true, false, 0},
                      CaptionClickCase{"RightLeftMinMax", cpRight, cbpLeft, 190, 20, false, true, 1},
                      CaptionClickCase{"Body", cpTop, cbpRight, 100, 80, false, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelInputTest, MinMaxCaptionTogglesOnCaptionClicksAndTheButtonTogglesOnce) {
    TAdvPanel* panel = CaptionPanel(AddPanel(0, 0, 200, 150), 20);
    panel->Caption()->SetMinMaxButton(true);
    panel->Caption()->SetMinMaxCaption(true);
    int captionClicks = 0;
    panel->OnCaptionClick = [&](TObject*) { ++captionClicks; };
    ShowForm();
    ClickAt(panel, 100, 10);
    EXPECT_TRUE(panel->Collaps());
    ClickAt(panel, 200 - 8, 8);
    EXPECT_FALSE(panel->Collaps());
    EXPECT_EQ(captionClicks, 2);
}

TEST_F(PanelInputTest, FreeOnCloseFreesThePanelAfterTheMouseHandlerReturns) {
    TAdvPanel* panel = CaptionPanel(AddPanel(0, 0, 200, 150), 20);
    panel->Caption()->SetCloseButton(true);
    panel->SetFreeOnClose(true);
    bool visibleAtClose = true;
    int closes = 0;
    panel->OnClose = [&](TObject*) {
        ++closes;
        visibleAtClose = panel->Visible();
    };
    ShowForm();
    MouseDown(panel, 192, 8);
    TPoint p = panel->ClientToScreen(TPoint(192, 8));
    win32::input::MouseButton(win32::input::Button::Left, false, p.X, p.Y);
    // Up to the mouse handler: the panel is hidden and told, and still exists.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(visibleAtClose);
    EXPECT_EQ(FForm->ControlCount(), 1);
    Pump();
    EXPECT_EQ(FForm->ControlCount(), 0);
}

TEST_F(PanelInputTest, LinksGoToTheDesktopOpenerOrToOnAnchorClick) {
    TAdvPanel* panel = AddPanel(0, 0, 300, 100);
    panel->SetBevelOuter(bvNone);
    panel->SetText(u"<a href=\"https://example.org/a\">web</a> <a href=\"mailto:ops@example.org\">mail</a> "
                   u"<a href=\"page2\">page</a>");
    std::vector<String> opened, clicked;
    win32::SetShellOpener([&](const String& file) {
        opened.push_back(file);
        return true;
    });
    panel->OnAnchorClick = [&](TObject*, const String& anchor) { clicked.push_back(anchor); };
    ShowForm();
    // One click on each link, found by asking the panel along the first line.
    String last;
    for (int x = 0; x < 300; ++x) {
        String anchor = panel->AnchorAt(x, 8);
        if (!anchor.empty() && anchor != last)
            ClickAt(panel, x + 2, 8);
        if (!anchor.empty())
            last = anchor;
    }
    win32::SetShellOpener(nullptr);
    EXPECT_EQ(opened, (std::vector<String>{u"https://example.org/a", u"mailto:ops@example.org"}));
    EXPECT_EQ(clicked, (std::vector<String>{u"page2"}));
    MouseMove(panel, 150, 80);
    EXPECT_EQ(panel->Cursor(), crDefault);
}

struct HitCase {
    const char* name;
    AdvPanel::TCaptionPosition side;
    bool canMove, canSize, fixedWidth, fixedHeight, collapsed;
    int x, y; // negative: from the right or bottom edge
    LRESULT hit;
};

class PanelHitTest : public PanelTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(PanelHitTest, AnswersMoveAndSizeAreas) {
    const HitCase& c = GetParam();
    TAdvPanel* panel = CaptionPanel(AddPanel(20, 20, 200, 150), 20);
    panel->Caption()->SetPosition(c.side);
    panel->Caption()->SetCloseButton(true);
    panel->SetCanMove(c.canMove);
    panel->SetCanSize(c.canSize);
    panel->SetFixedWidth(c.fixedWidth);
    panel->SetFixedHeight(c.fixedHeight);
    panel->SetBounds(20, 20, 200, 150);
    ShowForm();
    if (c.collapsed) {
        panel->Caption()->SetPosition(cpLeft);
        panel->SetCollaps(true);
    }
    int x = c.x < 0 ? panel->Width() + c.x : c.x;
    int y = c.y < 0 ? panel->Height() + c.y : c.y;
    TPoint p = panel->ClientToScreen(TPoint(x, y));
    EXPECT_EQ(SendMessageW(panel->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y)), c.hit);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, PanelHitTest,
    ::testing::Values(
        HitCase{"CaptionMoves", cpTop, true, false, false, false, false, 100, 10, HTCAPTION},
        HitCase{"CaptionStays", cpTop, false, false, false, false, false, 100, 10, HTCLIENT},
        HitCase{"CloseButtonIsNoHandle", cpTop, true, false, false, false, false, -6, 8, HTCLIENT},
        HitCase{"LeftCaptionMoves", cpLeft, true, false, false, false, false, 8, 75, HTCAPTION},
        HitCase{"Corner", cpTop, false, true, false, false, false, -1, -1, HTBOTTOMRIGHT},
        HitCase{"CornerFixedWidth", cpTop, false, true, true, false, false, -1, -1, HTBOTTOM},
        HitCase{"CornerFixed", cpTop, false, true, true, true, false, -1, -1, HTCLIENT},
        HitCase{"RightEdge", cpTop, false, true, false, false, false, -1, 75, HTRIGHT},
        HitCase{"Bottom", cpTop, false, true, false, false, false, 100, -1, HTBOTTOM},
        HitCase{"NoSizing", cpTop, false, false, false, false, false, -1, -1, HTCLIENT},
        HitCase{"RightCaptionLeftEdge", cpRight, false, true, false, false, false, 1, 75, HTLEFT},
        HitCase{"RightCaptionCorner", cpRight, false, true, false, false, false, 1, -1, HTBOTTOMLEFT},
        HitCase{"CollapsedDoesNotSize", cpTop, false, true, false, false, true, -1, 10, HTCLIENT}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelInputTest, DraggingTheCaptionMovesAndAnEdgeSizesThroughTheLoop) {
    TAdvPanel* panel = CaptionPanel(AddPanel(20, 20, 200, 150), 20);
    panel->SetCanMove(true);
    panel->SetCanSize(true);
    panel->SetFixedTop(true);
    int ends = 0;
    panel->OnEndMoveSize = [&](TObject*) { ++ends; };
    ShowForm();
    TPoint from = panel->ClientToScreen(TPoint(100, 10));
    win32::input::MouseMove(from.X, from.Y);
    win32::input::MouseButton(win32::input::Button::Left, true, from.X, from.Y);
    Pump();
    win32::input::MouseMove(from.X + 30, from.Y + 25);
    win32::input::MouseButton(win32::input::Button::Left, false, from.X + 30, from.Y + 25);
    Pump();
    EXPECT_EQ(panel->Left(), 50);
    EXPECT_EQ(panel->Top(), 20); // FixedTop keeps it in its row
    EXPECT_EQ(ends, 1);

    TPoint edge = panel->ClientToScreen(TPoint(100, panel->Height() - 1));
    win32::input::MouseMove(edge.X, edge.Y);
    win32::input::MouseButton(win32::input::Button::Left, true, edge.X, edge.Y);
    Pump();
    win32::input::MouseMove(edge.X, edge.Y + 40);
    win32::input::MouseButton(win32::input::Button::Left, false, edge.X, edge.Y + 40);
    Pump();
    EXPECT_EQ(panel->Height(), 190);
    EXPECT_EQ(panel->FullHeight(), 190);
    EXPECT_EQ(ends, 2);
}

TEST_F(PanelInputTest, AutoSizeFitsTheBodyText) {
    TAdvPanel* panel = AddPanel(0, 0, 300, 200);
    panel->SetBevelOuter(bvNone);
    panel->SetText(u"one line");
    panel->AutoSize()->SetEnabled(true);
    int oneLine = panel->Height();
    int narrow = panel->Width();
    EXPECT_GT(oneLine, 5);
    EXPECT_LT(oneLine, 40);
    panel->SetText(u"one line, a longer one<br>and a second");
    EXPECT_GT(panel->Height(), oneLine + 5);
    EXPECT_GT(panel->Width(), narrow);
    int twoLines = panel->Height();
    panel->Caption()->SetVisible(true);
    panel->SetText(panel->Text());
    EXPECT_EQ(panel->Height(), twoLines + panel->Caption()->Height());
}
