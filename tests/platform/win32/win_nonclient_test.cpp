// The non-client area and window shapes: hit testing, frames drawn by WM_NCPAINT, the sizing and moving
// loop, window regions, layered windows and the caret.
#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wininput.h"
#include "tests/platform/win32/win_testing.h"

using namespace wintest;
namespace input = win32::input;

namespace {

class WinNonClient : public testing::Test {
protected:
    void SetUp() override { ResetWindowManager(); }
    void TearDown() override { ResetWindowManager(); }
};

COLORREF WindowPixel(HWND hwnd, int x, int y) {
    HDC dc = GetDCEx(hwnd, nullptr, DCX_WINDOW | DCX_CACHE);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

TEST_F(WinNonClient, DefaultHitTestAnswers) {
    Options o;
    o.style = WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE;
    o.rect = RECT{100, 100, 400, 300};
    HWND hwnd = Create(o);
    struct Case {
        const char* name;
        int x;
        int y; // screen
        LRESULT hit;
    };
    const Case cases[] = {
        {"client", 200, 200, HTCLIENT},
        {"caption", 200, 110, HTCAPTION},
        {"close button", 390, 110, HTCLOSE},
        {"left edge", 101, 200, HTLEFT},
        {"bottom right corner", 398, 298, HTBOTTOMRIGHT},
        {"top edge", 200, 101, HTTOP},
        {"vertical scroll bar", 390, 200, HTVSCROLL},
        {"outside", 50, 50, HTNOWHERE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.hit);
    }
}

TEST_F(WinNonClient, FramesAndEdgesAreDrawn) {
    Options o;
    o.style = WS_POPUP | WS_BORDER | WS_VISIBLE;
    o.exStyle = WS_EX_CLIENTEDGE;
    o.rect = RECT{0, 0, 100, 60};
    HWND hwnd = Create(o);
    Pump();
    EXPECT_EQ(WindowPixel(hwnd, 0, 30), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(WindowPixel(hwnd, 1, 30), GetSysColor(COLOR_BTNSHADOW)); // the sunken edge's outer line
    EXPECT_EQ(WindowPixel(hwnd, 50, 30), GetSysColor(COLOR_WINDOW));   // the class brush erased the client
}

TEST_F(WinNonClient, TheCaptionFollowsWhatNcActivateSays) {
    HWND owner = Create(WithStyle(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    Pump();
    auto caption = [&] { return WindowPixel(owner, 150, 10); };
    EXPECT_EQ(caption(), GetSysColor(COLOR_ACTIVECAPTION));

    // An owned pop-up takes the activation; the owner's caption goes inactive until the pop-up tells it
    // to look active again, and a later WM_NCACTIVATE (FALSE) turns it back.
    Options o;
    o.style = WS_POPUP | WS_VISIBLE;
    o.rect = RECT{120, 150, 220, 220};
    o.parent = owner;
    HWND popup = Create(o);
    Pump();
    ASSERT_EQ(GetActiveWindow(), popup);
    EXPECT_EQ(caption(), GetSysColor(COLOR_INACTIVECAPTION));
    SendMessageW(owner, WM_NCACTIVATE, TRUE, 0);
    Pump();
    EXPECT_EQ(caption(), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(GetActiveWindow(), popup) << "only the look changes";
    SendMessageW(owner, WM_NCACTIVATE, FALSE, 0);
    Pump();
    EXPECT_EQ(caption(), GetSysColor(COLOR_INACTIVECAPTION));
}

TEST_F(WinNonClient, SizingByAHitTestAnswerRunsTheSizeLoop) {
    // A frameless drop-down with a size grip in its bottom-right corner, as drop-down lists have.
    Options o;
    o.style = WS_POPUP | WS_VISIBLE;
    o.rect = RECT{100, 100, 200, 180};
    o.handler = [](HWND hwnd, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_NCHITTEST) {
            RECT r;
            GetWindowRect(hwnd, &r);
            if (GET_X_LPARAM(lParam) >= r.right - 10 && GET_Y_LPARAM(lParam) >= r.bottom - 10)
                return HTBOTTOMRIGHT;
            return HTCLIENT;
        }
        if (message == WM_SIZING) {
            // Keep the width a multiple of 10.
            auto* r = reinterpret_cast<RECT*>(lParam);
            r->right = r->left + (r->right - r->left) / 10 * 10;
            return TRUE;
        }
        return std::nullopt;
    };
    HWND hwnd = Create(o);
    Pump();
    MessageLog log;
    log.Name(hwnd, "w");
    input::MouseButton(input::Button::Left, true, 195, 175);
    Pump();
    input::MouseMove(232, 195);
    input::MouseButton(input::Button::Left, false, 232, 195);
    Pump();
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, 130);
    EXPECT_EQ(r.bottom - r.top, 100);
    std::vector<std::string> messages = log.Messages("w");
    std::vector<std::string> loop;
    for (const std::string& m : messages)
        if (m == "WM_NCLBUTTONDOWN" || m == "WM_SYSCOMMAND" || m == "WM_ENTERSIZEMOVE" || m == "WM_SIZING" ||
            m == "WM_EXITSIZEMOVE")
            if (loop.empty() || loop.back() != m)
                loop.push_back(m);
    EXPECT_EQ(loop, (std::vector<std::string>{"WM_NCLBUTTONDOWN", "WM_SYSCOMMAND", "WM_ENTERSIZEMOVE",
                                              "WM_SIZING", "WM_EXITSIZEMOVE"}));
}

TEST_F(WinNonClient, WindowRegionsShapeHitTestingAndDrawing) {
    Options top;
    top.style = WS_POPUP | WS_VISIBLE;
    top.rect = RECT{0, 0, 100, 100};
    HWND hwnd = Create(top);
    EXPECT_TRUE(SetWindowRgn(hwnd, CreateEllipticRgn(0, 0, 100, 100), TRUE));
    EXPECT_EQ(WindowFromPoint(POINT{50, 50}), hwnd);
    EXPECT_EQ(WindowFromPoint(POINT{2, 2}), nullptr);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(hwnd, copy), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(copy, 50, 5));
    DeleteObject(copy);
    SetWindowRgn(hwnd, nullptr, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{2, 2}), hwnd);
}

TEST_F(WinNonClient, LayeredWindowsTakeTheirPictureAndAttributes) {
    Options o;
    o.style = WS_POPUP | WS_VISIBLE;
    o.exStyle = WS_EX_LAYERED;
    o.rect = RECT{0, 0, 10, 10};
    HWND hwnd = Create(o);
    EXPECT_TRUE(SetLayeredWindowAttributes(hwnd, RGB(1, 2, 3), 128, LWA_ALPHA));
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, LWA_ALPHA);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 20, 20};
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    FillRect(memory, &all, brush);
    POINT position{50, 60};
    SIZE size{20, 20};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // Once its attributes were set, the window takes no picture until its layered bit is reset.
    EXPECT_FALSE(UpdateLayeredWindow(hwnd, screen, &position, &size, memory, &source, 0, &blend, ULW_ALPHA));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, 10);
    EXPECT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    SetWindowLongW(hwnd, GWL_EXSTYLE, 0);
    SetWindowLongW(hwnd, GWL_EXSTYLE, WS_EX_LAYERED);
    EXPECT_TRUE(UpdateLayeredWindow(hwnd, screen, &position, &size, memory, &source, 0, &blend, ULW_ALPHA));
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right - r.left, 20);
    EXPECT_EQ(WindowPixel(hwnd, 15, 15), RGB(10, 20, 30));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteObject(brush);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    HWND plain = Create(WithStyle(WS_POPUP));
    EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 1, LWA_ALPHA));
}

TEST_F(WinNonClient, CaretInvertsItsPixelsAndBlinks) {
    Options o;
    o.style = WS_POPUP | WS_VISIBLE;
    o.rect = RECT{0, 0, 50, 50};
    HWND hwnd = Create(o);
    Pump();
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    const COLORREF inverted = background ^ 0xFFFFFF;
    ASSERT_TRUE(CreateCaret(hwnd, nullptr, 2, 10));
    SetCaretPos(5, 5);
    EXPECT_EQ(WindowPixel(hwnd, 5, 5), background); // a new caret is hidden
    ShowCaret(hwnd);
    EXPECT_EQ(WindowPixel(hwnd, 6, 14), inverted);
    EXPECT_EQ(WindowPixel(hwnd, 7, 14), background);
    Clock::Advance(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(WindowPixel(hwnd, 6, 14), background);
    Clock::Advance(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(WindowPixel(hwnd, 6, 14), inverted);
    SetCaretPos(20, 20);
    EXPECT_EQ(WindowPixel(hwnd, 6, 14), background);
    EXPECT_EQ(WindowPixel(hwnd, 20, 20), inverted);
    POINT pos;
    GetCaretPos(&pos);
    EXPECT_EQ(pos.x, 20);
    HideCaret(hwnd);
    EXPECT_EQ(WindowPixel(hwnd, 20, 20), background);
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(ShowCaret(hwnd));
}

} // namespace
