// The message box window of the dialog service: its text keeps a margin from every edge of the box,
// whatever the text, and its icon shows.
#include <gtest/gtest.h>

#include <functional>

#include "platform/win32/dialogs.h"
#include "platform/win32/wingdi.h"
#include "tests/platform/win32/win_testing.h"

namespace {

// Runs step inside the modal loop of a message box, on the box's window, then closes the box.
void WithMessageBox(const win32::MessageRequest& request, std::function<void(HWND)> step) {
    static std::function<void(HWND)> pending;
    pending = std::move(step);
    wintest::Options options;
    options.style = WS_POPUP;
    options.handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_USER)
            return std::nullopt;
        HWND box = FindWindowW(u"#32770", nullptr);
        if (box) {
            UpdateWindow(box);
            pending(box);
            PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            ADD_FAILURE() << "no message box";
        }
        return 0;
    };
    HWND helper = wintest::Create(options);
    PostMessageW(helper, WM_USER, 0, 0);
    win32::WindowDialogService().ShowMessage(request);
    DestroyWindow(helper);
    pending = nullptr;
}

struct TextCase {
    const char* name;
    const Char* text;
};

TEST(MessageBoxWindow, TextKeepsItsMarginFromTheEdges) {
    const TextCase cases[] = {
        {"short", u"Saved."},
        {"wrapped",
         u"The measurement module has not answered for a while. Check the radio link and the module's "
         u"power supply, then try again."},
        {"one long word",
         u"C:\\Measurements\\Station-North\\Archive\\2026\\December\\readings-of-the-whole-week.csv"},
        {"lines", u"First line\r\nSecond line, a little longer than the first\r\nThird"},
        {"tab", u"Name:\tNorth station"},
        {"wide characters", u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"},
    };
    for (const TextCase& c : cases) {
        for (win32::DialogIcon icon : {win32::DialogIcon::None, win32::DialogIcon::Information}) {
            SCOPED_TRACE(std::string(c.name) + (icon == win32::DialogIcon::None ? "" : ", with an icon"));
            win32::MessageRequest request;
            request.caption = u"Message";
            request.text = c.text;
            request.icon = icon;
            request.buttons = {win32::DialogButton::Ok};
            int rightmost = -1;
            int width = 0;
            WithMessageBox(request, [&](HWND box) {
                RECT client{};
                GetClientRect(box, &client);
                width = client.right;
                HDC dc = GetDC(box);
                COLORREF face = GetPixel(dc, 1, 1);
                // Above the buttons only the icon and the text are drawn.
                int bottom = client.bottom - 12 - 23;
                for (int y = 0; y < bottom; ++y)
                    for (int x = 0; x < client.right; ++x)
                        if (GetPixel(dc, x, y) != face)
                            rightmost = std::max(rightmost, x);
                ReleaseDC(box, dc);
            });
            ASSERT_GE(rightmost, 0) << "no text drawn";
            EXPECT_GE(width - 1 - rightmost, 10) << "the text ends at " << rightmost << " of " << width;
        }
    }
}

// A box centred on an owner at the edge of the screen, or wider than its owner, stays on the work area.
TEST(MessageBoxWindow, StaysOnTheWorkArea) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const RECT owners[] = {
        {work.left, work.top, work.left + 60, work.top + 40},
        {work.right - 60, work.bottom - 40, work.right, work.bottom},
    };
    for (const RECT& at : owners) {
        wintest::Options options;
        options.style = WS_POPUP | WS_VISIBLE;
        options.rect = at;
        HWND owner = wintest::Create(options);
        win32::MessageRequest request;
        request.owner = owner;
        request.caption = u"Message";
        request.text =
            u"The measurement module has not answered for a while. Check the radio link and the module's "
            u"power supply, then try again.";
        request.buttons = {win32::DialogButton::Ok};
        RECT box{};
        WithMessageBox(request, [&](HWND hwnd) { GetWindowRect(hwnd, &box); });
        EXPECT_GE(box.left, work.left);
        EXPECT_GE(box.top, work.top);
        EXPECT_LE(box.right, work.right);
        EXPECT_LE(box.bottom, work.bottom);
        DestroyWindow(owner);
    }
}

} // namespace
