// System answers, libraries bound by name, resources built into the program, cursors and trace channels.
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend/file.h"
#include "platform/codecs/Bmp.h"
#include "platform/rtl/Trace.h"
#include "platform/win32/resources.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/win_testing.h"

using namespace wintest;

namespace {

class WinSystem : public testing::Test {
protected:
    void SetUp() override { ResetWindowManager(); }
    void TearDown() override { ResetWindowManager(); }
};

TEST_F(WinSystem, MetricsAndParameters) {
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), 4);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_LE(work.bottom, GetSystemMetrics(SM_CYSCREEN));

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(String(metrics.lfMessageFont.lfFaceName), u"Segoe UI");
    EXPECT_EQ(metrics.iScrollWidth, 17);

    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETHIGHCONTRAST, 0, &contrast, 0));
    EXPECT_FALSE(contrast.dwFlags & HCF_HIGHCONTRASTON);
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.highContrast = true;
    win32::SetSystemSettings(settings);
    SystemParametersInfoW(SPI_GETHIGHCONTRAST, 0, &contrast, 0);
    EXPECT_TRUE(contrast.dwFlags & HCF_HIGHCONTRASTON);

    // Changing the wheel lines with SPIF_SENDCHANGE tells every top-level window.
    MessageLog log;
    HWND hwnd = Create(WithStyle(WS_POPUP));
    log.Name(hwnd, "w");
    log.Clear();
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 5, nullptr, SPIF_SENDCHANGE);
    UINT lines = 0;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    EXPECT_EQ(lines, 5u);
    EXPECT_TRUE(log.Matches({{"w", WM_SETTINGCHANGE, Sent | WParam, SPI_SETWHEELSCROLLLINES}}));

    int beeps = win32::BeepCount();
    MessageBeep(MB_OK);
    EXPECT_EQ(win32::BeepCount(), beeps + 1);
}

TEST_F(WinSystem, VersionsAreWindows7WithCommonControls6) {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)));
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.wServicePackMajor, 1);
    EXPECT_EQ(String(info.szCSDVersion), u"Service Pack 1");

    auto comctlVersion = [] {
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeW(u"COMCTL32.DLL", &handle);
        std::vector<BYTE> block(size);
        if (!size || !GetFileVersionInfoW(u"COMCTL32.DLL", handle, size, block.data()))
            return DWORD(0);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block.data(), u"\\", reinterpret_cast<void**>(&fixed), &length) ||
            fixed->dwSignature != 0xFEEF04BD)
            return DWORD(0);
        return fixed->dwFileVersionMS;
    };
    EXPECT_EQ(comctlVersion(), (6u << 16) | 10u);
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.comctlMajor = 5;
    settings.comctlMinor = 82;
    settings.majorVersion = 5;
    win32::SetSystemSettings(settings);
    EXPECT_EQ(comctlVersion(), (5u << 16) | 82u);
    EXPECT_EQ(GetVersion() & 0xFF, 5u);
    EXPECT_EQ(GetFileVersionInfoSizeW(u"nosuch.dll", nullptr), 0u);
}

TEST_F(WinSystem, LibrariesAnswerWithOurEntries) {
    HMODULE theme = LoadLibraryW(u"UXTHEME.DLL");
    ASSERT_TRUE(theme);
    auto isThemeActive = reinterpret_cast<BOOL (*)()>(GetProcAddress(theme, "IsThemeActive"));
    ASSERT_TRUE(isThemeActive);
    EXPECT_TRUE(isThemeActive());
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.themesActive = false;
    win32::SetSystemSettings(settings);
    EXPECT_FALSE(isThemeActive());
    EXPECT_EQ(GetProcAddress(theme, "NoSuchEntry"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_TRUE(FreeLibrary(theme));

    // Already loaded libraries answer GetModuleHandle; names ignore case and the extension.
    HMODULE shell = GetModuleHandleW(u"shlwapi.dll");
    ASSERT_TRUE(shell);
    auto compare = reinterpret_cast<int (*)(LPCWSTR, LPCWSTR)>(GetProcAddress(shell, "StrCmpLogicalW"));
    ASSERT_TRUE(compare);
    EXPECT_LT(compare(u"file2", u"file10"), 0);
    EXPECT_TRUE(GetProcAddress(GetModuleHandleW(u"kernel32"), "GetLocaleInfoEx"));
    EXPECT_TRUE(GetProcAddress(GetModuleHandleW(u"USER32.DLL"), "UpdateLayeredWindow"));
    // The flat scroll bars are not there: callers fall back to the window's own.
    EXPECT_EQ(GetProcAddress(GetModuleHandleW(u"comctl32.dll"), "FlatSB_SetScrollInfo"), nullptr);
    EXPECT_EQ(LoadLibraryW(u"nosuch.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_TRUE(GetModuleHandleW(nullptr));

    // Later layers add entries of their own.
    win32::RegisterLibraryEntry(u"gdiplus", "GdiplusShutdown", &MessageBeep);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(u"GDIPLUS.DLL"), "GdiplusShutdown")),
              reinterpret_cast<void*>(&MessageBeep));
}

TEST_F(WinSystem, ResourcesAndCursors) {
    codecs::Image image = codecs::MakeImage(3, 2, 0x123456);
    auto bmp = codecs::EncodeBmp(image);
    ASSERT_TRUE(bmp);
    const codecs::Bytes& bytes = bmp.Value();
    win32::RegisterResource(RT_BITMAP, u"Tiny", std::span<const BYTE>(bytes.data(), bytes.size()));
    win32::RegisterResource(RT_RCDATA, MAKEINTRESOURCEW(12), std::span<const BYTE>(bytes.data(), 4));

    HRSRC data = FindResourceW(nullptr, u"#12", RT_RCDATA);
    ASSERT_TRUE(data);
    EXPECT_EQ(SizeofResource(nullptr, data), 4u);
    EXPECT_EQ(static_cast<const BYTE*>(LockResource(LoadResource(nullptr, data)))[0], 'B');
    EXPECT_EQ(FindResourceW(nullptr, u"other", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);

    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), u"TINY");
    ASSERT_TRUE(bitmap);
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0x12, 0x34, 0x56));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);

    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    ASSERT_TRUE(arrow);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow);
    EXPECT_TRUE(LoadCursorW(nullptr, IDC_SIZEWE));
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    SetCursor(arrow);
    EXPECT_EQ(GetCursor(), arrow);
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_TRUE(icon);
    ICONINFO iconInfo{};
    ASSERT_TRUE(GetIconInfo(icon, &iconInfo));
    HICON copy = CreateIconIndirect(&iconInfo);
    EXPECT_TRUE(copy);
    DeleteObject(iconInfo.hbmColor);
    DeleteObject(iconInfo.hbmMask);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_FALSE(DestroyIcon(copy));
}

// Each standard icon of a message box carries its mark on its disc, in a second colour, and no two icons
// look alike (information and question share a disc colour).
TEST_F(WinSystem, StandardIconsCarryTheirMarks) {
    LPCWSTR const names[] = {IDI_ERROR, IDI_WARNING, IDI_QUESTION, IDI_INFORMATION};
    std::vector<std::vector<COLORREF>> drawn;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (LPCWSTR name : names) {
        SCOPED_TRACE(reinterpret_cast<std::uintptr_t>(name));
        HICON icon = LoadIconW(nullptr, name);
        ASSERT_TRUE(icon);
        RECT all{0, 0, 32, 32};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        COLORREF disc = pixels[16 * 32 + 4];
        int mark = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                mark +=
                    (x - 15.5) * (x - 15.5) + (y - 15.5) * (y - 15.5) < 12 * 12 && pixels[y * 32 + x] != disc;
        EXPECT_GE(mark, 30) << "too little of a mark on the disc";
        for (const std::vector<COLORREF>& other : drawn)
            EXPECT_NE(pixels, other) << "two icons look alike";
        drawn.push_back(std::move(pixels));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(WinSystem, TraceChannelsFollowZelmorDebug) {
    static const Trace::Channel Sample("sample");
    backend::SetEnvironment("ZELMOR_DEBUG", "+sample,-other");
    Trace::Reset();
    EXPECT_TRUE(Sample.On(Trace::Level::Trace));
    backend::SetEnvironment("ZELMOR_DEBUG", "warn+all,-sample");
    Trace::Reset();
    EXPECT_FALSE(Sample.On(Trace::Level::Warn));
    EXPECT_FALSE(Sample.On(Trace::Level::Error));
    backend::SetEnvironment("ZELMOR_DEBUG", "");
    Trace::Reset();
    EXPECT_FALSE(Sample.On(Trace::Level::Trace));
    EXPECT_TRUE(Sample.On(Trace::Level::Error));
}

} // namespace
