// The visual-styles library: theme handles for every class, the switches that turn theming off, the
// exports by name, the drawn parts (borders, fills, glyphs, states, clipping), sizes and margins, and the
// parent's background behind a child.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/rtl/UString.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/win_testing.h"

namespace {

const COLORREF Magenta = RGB(255, 0, 255);

const char16_t* const Classes[] = {u"button",      u"combobox", u"edit",     u"header",   u"scrollbar",
                                   u"spin",        u"progress", u"toolbar",  u"tab",      u"window",
                                   u"explorerbar", u"rebar",    u"listview", u"treeview", u"tooltip",
                                   u"trackbar",    u"status"};

// A top-down 32-bit DIB section in a memory DC, read directly.
class Surface {
public:
    Surface(int width, int height, COLORREF background = RGB(255, 255, 255))
        : FWidth(width), FHeight(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        FDC = CreateCompatibleDC(nullptr);
        FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
        FOld = SelectObject(FDC, FBitmap);
        Clear(background);
    }
    ~Surface() {
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC dc() const { return FDC; }
    void Clear(COLORREF colour) {
        RECT all{0, 0, FWidth, FHeight};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(FDC, &all, brush);
        DeleteObject(brush);
    }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const BYTE* p = FBits + (static_cast<size_t>(y) * FWidth + x) * 4;
        return RGB(p[2], p[1], p[0]);
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x)
                pixels.push_back(At(x, y));
        return pixels;
    }
    int Count(COLORREF colour, const RECT& area) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == colour;
        return count;
    }
    // Pixels outside the area that are not the colour.
    int ChangedOutside(const RECT& area, COLORREF colour) const {
        int count = 0;
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) {
                POINT p{x, y};
                count += !PtInRect(&area, p) && At(x, y) != colour;
            }
        return count;
    }

private:
    int FWidth;
    int FHeight;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
    BYTE* FBits = nullptr;
};

// A theme handle closed at the end of the scope.
class Theme {
public:
    explicit Theme(LPCWSTR classList, HWND hwnd = nullptr) : FTheme(OpenThemeData(hwnd, classList)) {}
    ~Theme() {
        if (FTheme)
            CloseThemeData(FTheme);
    }
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;
    HTHEME get() const { return FTheme; }
    explicit operator bool() const { return FTheme != nullptr; }

private:
    HTHEME FTheme;
};

COLORREF ColorOf(HTHEME theme, int part, int state, int propId) {
    COLORREF colour = CLR_INVALID;
    EXPECT_EQ(GetThemeColor(theme, part, state, propId, &colour), S_OK);
    return colour;
}

class UxTheme : public testing::Test {
protected:
    void SetUp() override { wintest::ResetWindowManager(); }
    void TearDown() override {
        EnableTheming(TRUE);
        SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT);
        wintest::ResetWindowManager();
    }
};

TEST_F(UxTheme, EveryClassOpensAndUnknownClassesDoNot) {
    for (const char16_t* name : Classes) {
        HTHEME theme = OpenThemeData(nullptr, name);
        EXPECT_TRUE(theme) << StringToUtf8(name);
        EXPECT_TRUE(IsThemePartDefined(theme, 1, 0)) << StringToUtf8(name);
        EXPECT_EQ(CloseThemeData(theme), S_OK);
    }
    // Case, "Application::" scopes and the first known entry of a list.
    for (const char16_t* name : {u"Progress", u"BUTTON", u"Explorer::TreeView", u"NoSuch;Header", u" edit "})
        EXPECT_TRUE(Theme(name)) << StringToUtf8(name);

    for (const char16_t* name : {u"nosuch", u"", u";;", u"buttons"}) {
        SetLastError(0);
        EXPECT_EQ(OpenThemeData(nullptr, name), nullptr) << StringToUtf8(name);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
    }
    EXPECT_EQ(OpenThemeData(nullptr, nullptr), nullptr);

    HTHEME theme = OpenThemeData(nullptr, u"button");
    EXPECT_EQ(CloseThemeData(theme), S_OK);
    EXPECT_EQ(CloseThemeData(theme), E_HANDLE);
    Surface surface(10, 10);
    RECT rect{0, 0, 10, 10};
    EXPECT_EQ(DrawThemeBackground(theme, surface.dc(), BP_PUSHBUTTON, PBS_NORMAL, &rect, nullptr), E_HANDLE);
    EXPECT_EQ(CloseThemeData(nullptr), E_HANDLE);
    EXPECT_EQ(surface.ChangedOutside(RECT{0, 0, 0, 0}, RGB(255, 255, 255)), 0);
}

// Each way of turning visual styles off makes OpenThemeData answer NULL, so callers take their classic
// paths; handles opened before keep working until they are closed.
TEST_F(UxTheme, ThemesOffForEverySwitch) {
    enum class Switch { Settings, EnableTheming, AppProperties };
    for (Switch which : {Switch::Settings, Switch::EnableTheming, Switch::AppProperties}) {
        SCOPED_TRACE(static_cast<int>(which));
        Theme kept(u"button");
        ASSERT_TRUE(kept);
        win32::SystemSettings settings = win32::GetSystemSettings();
        switch (which) {
        case Switch::Settings:
            settings.themesActive = false;
            win32::SetSystemSettings(settings);
            break;
        case Switch::EnableTheming:
            EXPECT_EQ(EnableTheming(FALSE), S_OK);
            break;
        case Switch::AppProperties:
            SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
            EXPECT_EQ(GetThemeAppProperties(), STAP_ALLOW_NONCLIENT);
            break;
        }
        EXPECT_EQ(OpenThemeData(nullptr, u"button"), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(E_PROP_ID_UNSUPPORTED));
        bool systemOff = which != Switch::AppProperties;
        EXPECT_EQ(IsThemeActive(), systemOff ? FALSE : TRUE);
        EXPECT_EQ(IsAppThemed(), systemOff ? FALSE : TRUE);
        WCHAR file[255] = u"x";
        WCHAR colour[255] = u"x";
        EXPECT_EQ(GetCurrentThemeName(file, 255, colour, 255, nullptr, 0),
                  systemOff ? E_PROP_ID_UNSUPPORTED : S_OK);
        EXPECT_EQ(String(colour), systemOff ? u"" : u"NormalColor");

        Surface surface(12, 12);
        RECT rect{0, 0, 12, 12};
        EXPECT_EQ(DrawThemeBackground(kept.get(), surface.dc(), BP_PUSHBUTTON, PBS_NORMAL, &rect, nullptr),
                  S_OK);
        EXPECT_NE(surface.At(0, 0), RGB(255, 255, 255));

        win32::ResetSystemSettings();
        EnableTheming(TRUE);
        SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT);
        EXPECT_TRUE(IsThemeActive());
        EXPECT_TRUE(Theme(u"button"));
    }
    WCHAR file[255];
    WCHAR colour[255];
    WCHAR size[4];
    EXPECT_EQ(GetCurrentThemeName(file, 255, colour, 255, size, 4), S_OK);
    EXPECT_EQ(String(colour), u"NormalColor");
    EXPECT_EQ(String(size), u"Nor"); // cut to the buffer
}

// Every export the binding resolves by name, in its order, is there and is the function itself.
TEST_F(UxTheme, EveryEntryPointResolvesByName) {
    const char* const names[] = {"OpenThemeData",
                                 "CloseThemeData",
                                 "DrawThemeBackground",
                                 "DrawThemeText",
                                 "GetThemeBackgroundContentRect",
                                 "GetThemeBackgroundExtent",
                                 "GetThemeTextExtent",
                                 "GetThemeTextMetrics",
                                 "GetThemeBackgroundRegion",
                                 "HitTestThemeBackground",
                                 "DrawThemeEdge",
                                 "DrawThemeIcon",
                                 "IsThemePartDefined",
                                 "IsThemeBackgroundPartiallyTransparent",
                                 "GetThemeColor",
                                 "GetThemeMetric",
                                 "GetThemeString",
                                 "GetThemeBool",
                                 "GetThemeInt",
                                 "GetThemeEnumValue",
                                 "GetThemePosition",
                                 "GetThemeFont",
                                 "GetThemeRect",
                                 "GetThemeMargins",
                                 "GetThemeIntList",
                                 "SetWindowTheme",
                                 "GetThemeFilename",
                                 "GetThemeSysColor",
                                 "GetThemeSysColorBrush",
                                 "GetThemeSysBool",
                                 "GetThemeSysSize",
                                 "GetThemeSysFont",
                                 "GetThemeSysString",
                                 "GetThemeSysInt",
                                 "IsThemeActive",
                                 "IsAppThemed",
                                 "GetWindowTheme",
                                 "EnableThemeDialogTexture",
                                 "IsThemeDialogTextureEnabled",
                                 "GetThemeAppProperties",
                                 "SetThemeAppProperties",
                                 "GetCurrentThemeName",
                                 "GetThemeDocumentationProperty",
                                 "GetThemePartSize",
                                 "DrawThemeParentBackground",
                                 "EnableTheming"};
    HMODULE library = LoadLibraryW(u"UXTHEME.DLL");
    ASSERT_TRUE(library);
    for (const char* name : names)
        EXPECT_TRUE(GetProcAddress(library, name)) << name;
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(library, "DrawThemeBackground")),
              reinterpret_cast<void*>(&DrawThemeBackground));
    auto open = reinterpret_cast<HTHEME (*)(HWND, LPCWSTR)>(GetProcAddress(library, "OpenThemeData"));
    auto close = reinterpret_cast<HRESULT (*)(HTHEME)>(GetProcAddress(library, "CloseThemeData"));
    HTHEME theme = open(nullptr, u"combobox");
    EXPECT_TRUE(theme);
    EXPECT_EQ(close(theme), S_OK);
    EXPECT_TRUE(FreeLibrary(library));
}

// The parts and states the system's controls draw: each state looks different from every other one.
struct DrawnPart {
    const char16_t* themeClass;
    int part;
    int firstState;
    int lastState;
};

const DrawnPart DrawnParts[] = {
    {u"button", BP_PUSHBUTTON, PBS_NORMAL, PBS_DEFAULTED},
    {u"button", BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL, RBS_CHECKEDDISABLED},
    {u"button", BP_CHECKBOX, CBS_UNCHECKEDNORMAL, CBS_MIXEDDISABLED},
    {u"combobox", CP_DROPDOWNBUTTON, CBXS_NORMAL, CBXS_DISABLED},
    {u"spin", SPNP_UP, UPS_NORMAL, UPS_DISABLED},
    {u"spin", SPNP_DOWN, DNS_NORMAL, DNS_DISABLED},
    {u"spin", SPNP_UPHORZ, UPHZS_NORMAL, UPHZS_DISABLED},
    {u"spin", SPNP_DOWNHORZ, DNHZS_NORMAL, DNHZS_DISABLED},
    {u"header", HP_HEADERITEM, HIS_NORMAL, HIS_PRESSED},
    {u"header", HP_HEADERITEMRIGHT, HIS_NORMAL, HIS_NORMAL},
    {u"Progress", PP_BAR, PBBS_NORMAL, PBBS_NORMAL},
    {u"Progress", PP_CHUNK, PBFS_NORMAL, PBFS_PAUSED},
    {u"window", WP_CAPTION, CS_ACTIVE, CS_INACTIVE},
    {u"window", WP_MINBUTTON, MINBS_NORMAL, MINBS_DISABLED},
    {u"window", WP_MAXBUTTON, MAXBS_NORMAL, MAXBS_DISABLED},
    {u"window", WP_CLOSEBUTTON, CBS_NORMAL, CBS_DISABLED},
    {u"scrollbar", SBP_ARROWBTN, ABS_UPNORMAL, ABS_RIGHTDISABLED},
    {u"scrollbar", SBP_THUMBBTNVERT, SCRBS_NORMAL, SCRBS_DISABLED},
    {u"scrollbar", SBP_LOWERTRACKHORZ, SCRBS_NORMAL, SCRBS_DISABLED},
    {u"trackbar", TKP_THUMB, TUS_NORMAL, TUS_DISABLED},
    {u"edit", EP_EDITTEXT, ETS_NORMAL, ETS_DISABLED},
    {u"tab", TABP_TABITEM, TIS_NORMAL, TIS_FOCUSED},
};

TEST_F(UxTheme, EveryStateOfADrawnPartLooksDifferent) {
    for (const DrawnPart& drawn : DrawnParts) {
        SCOPED_TRACE(StringToUtf8(drawn.themeClass) + " part " + std::to_string(drawn.part));
        Theme theme(drawn.themeClass);
        ASSERT_TRUE(theme);
        std::set<std::vector<COLORREF>> looks;
        for (int state = drawn.firstState; state <= drawn.lastState; ++state) {
            Surface surface(24, 24, Magenta);
            RECT rect{2, 2, 22, 22};
            ASSERT_EQ(DrawThemeBackground(theme.get(), surface.dc(), drawn.part, state, &rect, nullptr),
                      S_OK);
            EXPECT_LT(surface.Count(Magenta, rect), 20 * 20) << "state " << state << " draws nothing";
            EXPECT_EQ(surface.ChangedOutside(rect, Magenta), 0) << "state " << state;
            EXPECT_TRUE(looks.insert(surface.Pixels()).second) << "state " << state << " looks like another";
        }
    }
}

// Every part of every class, in any state, stays inside its rectangle and inside the clip rectangle;
// parts the class does not have draw nothing and say so.
TEST_F(UxTheme, EveryPartStaysInsideItsRectangleAndTheClip) {
    for (const char16_t* name : Classes) {
        Theme theme(name);
        ASSERT_TRUE(theme);
        int defined = 0;
        for (int part = 1; part <= 32; ++part) {
            Surface surface(40, 40);
            RECT rect{6, 8, 34, 30};
            if (!IsThemePartDefined(theme.get(), part, 0)) {
                EXPECT_EQ(DrawThemeBackground(theme.get(), surface.dc(), part, 1, &rect, nullptr),
                          E_INVALIDARG);
                EXPECT_EQ(surface.ChangedOutside(RECT{0, 0, 0, 0}, RGB(255, 255, 255)), 0);
                continue;
            }
            ++defined;
            for (int state : {0, 1, 2, 3, 4, 5, 6, 9, 13, 20, 99}) {
                SCOPED_TRACE(StringToUtf8(name) + " part " + std::to_string(part) + " state " +
                             std::to_string(state));
                surface.Clear(RGB(255, 255, 255));
                ASSERT_EQ(DrawThemeBackground(theme.get(), surface.dc(), part, state, &rect, nullptr), S_OK);
                EXPECT_EQ(surface.ChangedOutside(rect, RGB(255, 255, 255)), 0);
                surface.Clear(RGB(255, 255, 255));
                RECT clip{0, 0, 15, 40};
                ASSERT_EQ(DrawThemeBackground(theme.get(), surface.dc(), part, state, &rect, &clip), S_OK);
                EXPECT_EQ(surface.ChangedOutside(RECT{6, 8, 15, 30}, RGB(255, 255, 255)), 0);
            }
        }
        EXPECT_GE(defined, 1) << StringToUtf8(name);
    }
}

TEST_F(UxTheme, PushButtonHasItsBorderOnTheEdgeAndAGradientInside) {
    Theme theme(u"button");
    Surface surface(30, 20);
    RECT rect{0, 0, 30, 20};
    DrawThemeBackground(theme.get(), surface.dc(), BP_PUSHBUTTON, PBS_NORMAL, &rect, nullptr);
    COLORREF border = ColorOf(theme.get(), BP_PUSHBUTTON, PBS_NORMAL, TMT_BORDERCOLOR);
    COLORREF top = ColorOf(theme.get(), BP_PUSHBUTTON, PBS_NORMAL, TMT_GRADIENTCOLOR1);
    COLORREF bottom = ColorOf(theme.get(), BP_PUSHBUTTON, PBS_NORMAL, TMT_GRADIENTCOLOR2);
    EXPECT_EQ(surface.Count(border, RECT{0, 0, 30, 1}), 30);
    EXPECT_EQ(surface.Count(border, RECT{0, 19, 30, 20}), 30);
    EXPECT_EQ(surface.Count(border, RECT{0, 0, 1, 20}), 20);
    EXPECT_EQ(surface.Count(border, RECT{29, 0, 30, 20}), 20);
    EXPECT_EQ(surface.Count(border, RECT{1, 1, 29, 19}), 0);
    // Light at the top, darker at the bottom, the same across each row.
    auto near = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 4 && std::abs(GetGValue(a) - GetGValue(b)) <= 4 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 4;
    };
    EXPECT_TRUE(near(surface.At(15, 1), top));
    EXPECT_TRUE(near(surface.At(15, 18), bottom));
    EXPECT_GT(GetGValue(surface.At(15, 1)), GetGValue(surface.At(15, 18)));
    EXPECT_EQ(surface.At(1, 10), surface.At(28, 10));

    // Hot and pressed buttons differ from the normal one in border and fill.
    for (int state : {PBS_HOT, PBS_PRESSED, PBS_DISABLED}) {
        EXPECT_NE(ColorOf(theme.get(), BP_PUSHBUTTON, state, TMT_BORDERCOLOR), border) << state;
        EXPECT_NE(ColorOf(theme.get(), BP_PUSHBUTTON, state, TMT_GRADIENTCOLOR2), bottom) << state;
    }
}

TEST_F(UxTheme, CheckAndRadioGlyphsShowTheState) {
    Theme theme(u"button");
    RECT rect{0, 0, 13, 13};
    RECT inner{2, 2, 11, 11};
    COLORREF glyph = ColorOf(theme.get(), BP_CHECKBOX, CBS_CHECKEDNORMAL, TMT_GLYPHTEXTCOLOR);
    COLORREF border = ColorOf(theme.get(), BP_CHECKBOX, CBS_CHECKEDNORMAL, TMT_BORDERCOLOR);
    COLORREF fill = ColorOf(theme.get(), BP_CHECKBOX, CBS_UNCHECKEDNORMAL, TMT_FILLCOLOR);

    Surface box(13, 13, Magenta);
    DrawThemeBackground(theme.get(), box.dc(), BP_CHECKBOX, CBS_UNCHECKEDNORMAL, &rect, nullptr);
    EXPECT_EQ(box.Count(border, RECT{0, 0, 13, 1}), 13);
    EXPECT_EQ(box.Count(fill, RECT{1, 1, 12, 12}), 11 * 11);

    DrawThemeBackground(theme.get(), box.dc(), BP_CHECKBOX, CBS_CHECKEDNORMAL, &rect, nullptr);
    int tick = box.Count(glyph, inner);
    EXPECT_GE(tick, 8);
    EXPECT_EQ(box.Count(glyph, RECT{1, 1, 12, 12}), tick) << "the tick stays off the border";
    // The tick runs down to an elbow in the lower left, then up to the right.
    EXPECT_EQ(box.Count(glyph, RECT{2, 2, 5, 5}), 0);
    EXPECT_GT(box.Count(glyph, RECT{8, 2, 11, 6}), 0);

    DrawThemeBackground(theme.get(), box.dc(), BP_CHECKBOX, CBS_MIXEDNORMAL, &rect, nullptr);
    EXPECT_EQ(box.At(6, 6), glyph);
    EXPECT_EQ(box.At(2, 2), fill);

    // The radio button is round: its corners keep what was beneath, and its dot is in the middle.
    Surface radio(13, 13, Magenta);
    EXPECT_TRUE(IsThemeBackgroundPartiallyTransparent(theme.get(), BP_RADIOBUTTON, RBS_CHECKEDNORMAL));
    DrawThemeBackground(theme.get(), radio.dc(), BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL, &rect, nullptr);
    EXPECT_EQ(radio.At(0, 0), Magenta);
    EXPECT_EQ(radio.At(6, 6), fill);
    DrawThemeBackground(theme.get(), radio.dc(), BP_RADIOBUTTON, RBS_CHECKEDNORMAL, &rect, nullptr);
    EXPECT_EQ(radio.At(6, 6), ColorOf(theme.get(), BP_RADIOBUTTON, RBS_CHECKEDNORMAL, TMT_GLYPHTEXTCOLOR));
    EXPECT_EQ(radio.At(12, 12), Magenta);

    // A larger rectangle gets a larger box, centred.
    Surface large(20, 16, Magenta);
    RECT wide{0, 0, 20, 16};
    DrawThemeBackground(theme.get(), large.dc(), BP_CHECKBOX, CBS_CHECKEDNORMAL, &wide, nullptr);
    EXPECT_EQ(large.Count(border, RECT{2, 0, 18, 1}), 16);
    EXPECT_EQ(large.Count(Magenta, RECT{0, 0, 2, 16}), 32);
}

// Arrows point where the part says: the widest row of the triangle is its base.
TEST_F(UxTheme, ArrowsPointTheirWay) {
    struct Case {
        const char16_t* themeClass;
        int part;
        int state;
        bool vertical;  // the arrow points up or down
        bool baseFirst; // the base is the top row (down) or left column (right)
    };
    const Case cases[] = {
        {u"combobox", CP_DROPDOWNBUTTON, CBXS_NORMAL, true, true},
        {u"spin", SPNP_UP, UPS_NORMAL, true, false},
        {u"spin", SPNP_DOWN, DNS_NORMAL, true, true},
        {u"spin", SPNP_UPHORZ, UPHZS_NORMAL, false, true},
        {u"spin", SPNP_DOWNHORZ, DNHZS_NORMAL, false, false},
        {u"scrollbar", SBP_ARROWBTN, ABS_LEFTHOT, false, false},
        {u"scrollbar", SBP_ARROWBTN, ABS_DOWNPRESSED, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.themeClass) + " part " + std::to_string(c.part));
        Theme theme(c.themeClass);
        COLORREF glyph = ColorOf(theme.get(), c.part, c.state, TMT_GLYPHTEXTCOLOR);
        Surface surface(17, 17);
        RECT rect{0, 0, 17, 17};
        DrawThemeBackground(theme.get(), surface.dc(), c.part, c.state, &rect, nullptr);
        std::vector<int> lines; // glyph pixels per row (vertical) or column, where there are any
        for (int i = 0; i < 17; ++i) {
            RECT line = c.vertical ? RECT{0, i, 17, i + 1} : RECT{i, 0, i + 1, 17};
            if (int count = surface.Count(glyph, line))
                lines.push_back(count);
        }
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines.front() > lines.back(), c.baseFirst);
        EXPECT_EQ(std::max(lines.front(), lines.back()), 2 * static_cast<int>(lines.size()) - 1);
    }
}

TEST_F(UxTheme, HeaderProgressAndCaptionButtonPixels) {
    Theme header(u"header");
    Surface cell(40, 20);
    RECT rect{0, 0, 40, 20};
    DrawThemeBackground(header.get(), cell.dc(), HP_HEADERITEM, HIS_NORMAL, &rect, nullptr);
    COLORREF divider = ColorOf(header.get(), HP_HEADERITEM, HIS_NORMAL, TMT_BORDERCOLOR);
    EXPECT_EQ(cell.Count(divider, RECT{39, 0, 40, 20}), 20);
    EXPECT_EQ(cell.Count(divider, RECT{0, 19, 40, 20}), 40);
    EXPECT_EQ(cell.Count(divider, RECT{0, 0, 39, 19}), 0);
    COLORREF normal = cell.At(20, 10);
    DrawThemeBackground(header.get(), cell.dc(), HP_HEADERITEM, HIS_HOT, &rect, nullptr);
    EXPECT_NE(cell.At(20, 10), normal);

    // The grid's progress cell: the bar, then the chunk over part of its inside.
    Theme progress(u"Progress");
    Surface bar(40, 10);
    RECT whole{0, 0, 40, 10};
    RECT done{1, 1, 20, 9};
    DrawThemeBackground(progress.get(), bar.dc(), PP_BAR, 0, &whole, nullptr);
    DrawThemeBackground(progress.get(), bar.dc(), PP_CHUNK, PBFS_NORMAL, &done, nullptr);
    EXPECT_EQ(bar.At(0, 5), ColorOf(progress.get(), PP_BAR, 0, TMT_BORDERCOLOR));
    EXPECT_EQ(bar.At(30, 5), ColorOf(progress.get(), PP_BAR, 0, TMT_FILLCOLOR));
    COLORREF chunk = bar.At(10, 5);
    EXPECT_GT(GetGValue(chunk), GetRValue(chunk) + 60) << "the chunk is green";
    EXPECT_EQ(bar.At(20, 5), bar.At(30, 5));

    // The close button lights up red when hot, with a white cross through its middle.
    Theme window(u"window");
    Surface button(14, 14);
    RECT box{0, 0, 14, 14};
    DrawThemeBackground(window.get(), button.dc(), WP_CLOSEBUTTON, CBS_HOT, &box, nullptr);
    COLORREF face = button.At(2, 7);
    EXPECT_GT(GetRValue(face), 200);
    EXPECT_LT(GetGValue(face), 60);
    EXPECT_EQ(button.At(7, 7), RGB(255, 255, 255));
    DrawThemeBackground(window.get(), button.dc(), WP_CLOSEBUTTON, CBS_NORMAL, &box, nullptr);
    EXPECT_EQ(button.At(7, 7), ColorOf(window.get(), WP_CLOSEBUTTON, CBS_NORMAL, TMT_GLYPHTEXTCOLOR));
}

TEST_F(UxTheme, PartSizesArePositiveAndStable) {
    for (const char16_t* name : Classes) {
        Theme theme(name);
        for (int part = 1; part <= 32; ++part) {
            SIZE size{-1, -1};
            if (!IsThemePartDefined(theme.get(), part, 0)) {
                EXPECT_EQ(GetThemePartSize(theme.get(), nullptr, part, 1, nullptr, TS_TRUE, &size),
                          E_PROP_ID_UNSUPPORTED);
                continue;
            }
            SCOPED_TRACE(StringToUtf8(name) + " part " + std::to_string(part));
            SIZE natural, again, least, drawn;
            ASSERT_EQ(GetThemePartSize(theme.get(), nullptr, part, 1, nullptr, TS_TRUE, &natural), S_OK);
            GetThemePartSize(theme.get(), nullptr, part, 2, nullptr, TS_TRUE, &again);
            GetThemePartSize(theme.get(), nullptr, part, 1, nullptr, TS_MIN, &least);
            EXPECT_GT(natural.cx, 0);
            EXPECT_GT(natural.cy, 0);
            EXPECT_EQ(natural.cx, again.cx);
            EXPECT_EQ(natural.cy, again.cy);
            EXPECT_GT(least.cx, 0);
            EXPECT_LE(least.cx, natural.cx);
            EXPECT_GT(least.cy, 0);
            EXPECT_LE(least.cy, natural.cy);
            GetThemePartSize(theme.get(), nullptr, part, 1, nullptr, TS_DRAW, &drawn);
            EXPECT_EQ(drawn.cx, natural.cx);
            EXPECT_EQ(drawn.cy, natural.cy);
        }
    }
    Theme button(u"button");
    Theme tree(u"treeview");
    RECT rect{0, 0, 40, 30};
    SIZE size;
    EXPECT_EQ(GetThemePartSize(button.get(), nullptr, BP_PUSHBUTTON, 1, &rect, TS_DRAW, &size), S_OK);
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 30);
    GetThemePartSize(button.get(), nullptr, BP_CHECKBOX, 1, &rect, TS_DRAW, &size);
    EXPECT_EQ(size.cx, 30);
    EXPECT_EQ(size.cy, 30);
    GetThemePartSize(tree.get(), nullptr, TVP_GLYPH, 1, &rect, TS_DRAW, &size);
    EXPECT_EQ(size.cx, 9);
    EXPECT_EQ(size.cy, 9);
    EXPECT_EQ(
        GetThemePartSize(button.get(), nullptr, BP_PUSHBUTTON, 1, nullptr, static_cast<THEMESIZE>(3), &size),
        E_INVALIDARG);
    EXPECT_EQ(GetThemePartSize(button.get(), nullptr, BP_PUSHBUTTON, 1, nullptr, TS_TRUE, nullptr),
              E_POINTER);
}

TEST_F(UxTheme, MarginsContentRectsHitTestsAndProperties) {
    Theme theme(u"button");
    HTHEME h = theme.get();
    RECT bounding{10, 10, 90, 33};
    RECT content, extent;
    MARGINS margins;
    ASSERT_EQ(GetThemeMargins(h, nullptr, BP_PUSHBUTTON, 1, TMT_CONTENTMARGINS, nullptr, &margins), S_OK);
    ASSERT_EQ(GetThemeBackgroundContentRect(h, nullptr, BP_PUSHBUTTON, 1, &bounding, &content), S_OK);
    EXPECT_EQ(content.left, bounding.left + margins.cxLeftWidth);
    EXPECT_EQ(content.bottom, bounding.bottom - margins.cyBottomHeight);
    ASSERT_EQ(GetThemeBackgroundExtent(h, nullptr, BP_PUSHBUTTON, 1, &content, &extent), S_OK);
    EXPECT_TRUE(EqualRect(&extent, &bounding));
    RECT tiny{0, 0, 2, 2};
    GetThemeBackgroundContentRect(h, nullptr, BP_PUSHBUTTON, 1, &tiny, &content);
    EXPECT_TRUE(IsRectEmpty(&content));
    EXPECT_GE(content.right, content.left);
    ASSERT_EQ(GetThemeMargins(h, nullptr, BP_PUSHBUTTON, 1, TMT_SIZINGMARGINS, nullptr, &margins), S_OK);
    EXPECT_EQ(margins.cxLeftWidth, 1);

    WORD code = 0xFFFF;
    POINT inside{50, 20};
    EXPECT_EQ(HitTestThemeBackground(h, nullptr, BP_PUSHBUTTON, 1, 0, &bounding, nullptr, inside, &code),
              S_OK);
    EXPECT_EQ(code, HTCLIENT);
    HitTestThemeBackground(h, nullptr, BP_PUSHBUTTON, 1, 0, &bounding, nullptr, POINT{5, 20}, &code);
    EXPECT_EQ(code, HTNOWHERE);
    HitTestThemeBackground(h, nullptr, BP_PUSHBUTTON, 1, HTTB_RESIZINGBORDER, &bounding, nullptr,
                           POINT{10, 10}, &code);
    EXPECT_EQ(code, HTTOPLEFT);
    HitTestThemeBackground(h, nullptr, BP_PUSHBUTTON, 1, HTTB_RESIZINGBORDER, &bounding, nullptr,
                           POINT{89, 20}, &code);
    EXPECT_EQ(code, HTRIGHT);

    HRGN region = nullptr;
    RECT round{0, 0, 13, 13};
    ASSERT_EQ(GetThemeBackgroundRegion(h, nullptr, BP_RADIOBUTTON, 1, &round, &region), S_OK);
    EXPECT_TRUE(PtInRegion(region, 6, 6));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    DeleteObject(region);

    COLORREF colour;
    int value = 0;
    BOOL flag;
    EXPECT_EQ(GetThemeColor(h, BP_PUSHBUTTON, 1, 12345, &colour), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(GetThemeColor(h, 99, 1, TMT_BORDERCOLOR, &colour), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(GetThemeColor(h, BP_PUSHBUTTON, 1, TMT_BORDERCOLOR, nullptr), E_POINTER);
    EXPECT_EQ(GetThemeColor(nullptr, BP_PUSHBUTTON, 1, TMT_BORDERCOLOR, &colour), E_HANDLE);
    EXPECT_EQ(GetThemeBool(h, BP_PUSHBUTTON, 1, 2203, &flag), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(GetThemeInt(h, BP_PUSHBUTTON, 1, TMT_BORDERSIZE, &value), S_OK);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(GetThemeEnumValue(h, BP_CHECKBOX, 1, TMT_SIZINGTYPE, &value), S_OK);
    EXPECT_EQ(value, ST_TRUESIZE);
    EXPECT_FALSE(IsThemeBackgroundPartiallyTransparent(h, BP_PUSHBUTTON, PBS_NORMAL));
    EXPECT_EQ(GetThemeSysColor(h, COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetThemeSysSize(nullptr, TMT_SCROLLBARWIDTH), GetSystemMetrics(SM_CXVSCROLL));
    LOGFONTW font{};
    EXPECT_EQ(GetThemeSysFont(nullptr, TMT_MSGBOXFONT, &font), S_OK);
    EXPECT_NE(font.lfFaceName[0], 0);
}

// The picture goes to the rectangle's top-left, unstretched and clipped to it; bad arguments draw nothing.
TEST_F(UxTheme, IconIsDrawnIntoItsRectangle) {
    Theme theme(u"button");
    HIMAGELIST images = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP picture = CreateBitmap(8, 8, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(dc, picture);
        RECT all{0, 0, 8, 8};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &all, red);
        DeleteObject(red);
        SelectObject(dc, old);
        DeleteDC(dc);
        ASSERT_EQ(ImageList_Add(images, picture, nullptr), 0);
        DeleteObject(picture);
    }
    const COLORREF Red = RGB(255, 0, 0);
    Surface surface(20, 20, Magenta);
    RECT whole{2, 3, 14, 15};
    EXPECT_EQ(DrawThemeIcon(theme.get(), surface.dc(), BP_PUSHBUTTON, PBS_NORMAL, &whole, images, 0), S_OK);
    RECT drawn{2, 3, 10, 11};
    EXPECT_EQ(surface.Count(Red, drawn), 64);
    EXPECT_EQ(surface.ChangedOutside(drawn, Magenta), 0);

    surface.Clear(Magenta);
    RECT small{5, 5, 9, 7};
    EXPECT_EQ(DrawThemeIcon(theme.get(), surface.dc(), BP_PUSHBUTTON, PBS_NORMAL, &small, images, 0), S_OK);
    EXPECT_EQ(surface.Count(Red, small), 8);
    EXPECT_EQ(surface.ChangedOutside(small, Magenta), 0);

    surface.Clear(Magenta);
    EXPECT_EQ(DrawThemeIcon(theme.get(), surface.dc(), 1, 1, &whole, images, 1), E_INVALIDARG);
    EXPECT_EQ(DrawThemeIcon(theme.get(), surface.dc(), 1, 1, &whole, nullptr, 0), E_INVALIDARG);
    EXPECT_EQ(DrawThemeIcon(theme.get(), nullptr, 1, 1, &whole, images, 0), E_INVALIDARG);
    EXPECT_EQ(DrawThemeIcon(nullptr, surface.dc(), 1, 1, &whole, images, 0), E_HANDLE);
    EXPECT_EQ(surface.ChangedOutside(RECT{}, Magenta), 0);
    ImageList_Destroy(images);
}

TEST_F(UxTheme, TextTakesThePartsColourAndLeavesTheDCAsItWas) {
    Theme theme(u"button");
    Surface surface(80, 20);
    SetTextColor(surface.dc(), RGB(255, 0, 0));
    SetBkMode(surface.dc(), OPAQUE);
    RECT rect{0, 0, 80, 20};
    auto darkest = [&surface]() {
        int least = 3 * 255;
        for (COLORREF c : surface.Pixels())
            least = std::min(least, GetRValue(c) + GetGValue(c) + GetBValue(c));
        return least;
    };
    ASSERT_EQ(DrawThemeText(theme.get(), surface.dc(), BP_PUSHBUTTON, PBS_NORMAL, u"Hello", -1,
                            DT_SINGLELINE | DT_VCENTER, 0, &rect),
              S_OK);
    COLORREF text = ColorOf(theme.get(), BP_PUSHBUTTON, PBS_NORMAL, TMT_TEXTCOLOR);
    EXPECT_EQ(darkest(), GetRValue(text) + GetGValue(text) + GetBValue(text));
    EXPECT_EQ(surface.At(79, 0), RGB(255, 255, 255)) << "the background stays transparent";
    EXPECT_EQ(GetTextColor(surface.dc()), RGB(255, 0, 0));
    EXPECT_EQ(GetBkMode(surface.dc()), OPAQUE);

    surface.Clear(RGB(255, 255, 255));
    DrawThemeText(theme.get(), surface.dc(), BP_PUSHBUTTON, PBS_NORMAL, u"Hello", -1, DT_SINGLELINE,
                  DTT_GRAYED, &rect);
    COLORREF gray = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_EQ(darkest(), GetRValue(gray) + GetGValue(gray) + GetBValue(gray));

    RECT extent;
    ASSERT_EQ(GetThemeTextExtent(theme.get(), surface.dc(), BP_PUSHBUTTON, 1, u"Hello", -1, DT_SINGLELINE,
                                 nullptr, &extent),
              S_OK);
    SIZE size;
    GetTextExtentPoint32W(surface.dc(), u"Hello", 5, &size);
    EXPECT_EQ(extent.right - extent.left, size.cx);
    EXPECT_EQ(DrawThemeText(theme.get(), surface.dc(), 1, 1, u"x", 1, DT_CALCRECT, 0, &rect), E_INVALIDARG);
}

// The parent's background is painted behind a child, lined up with where the child sits.
TEST_F(UxTheme, ParentBackgroundLinesUpWithTheChild) {
    std::vector<UINT> asked;
    wintest::Options parentOptions;
    parentOptions.style = WS_POPUP | WS_VISIBLE;
    parentOptions.rect = RECT{0, 0, 200, 100};
    parentOptions.handler = [&asked](HWND, UINT message, WPARAM wParam,
                                     LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_PRINTCLIENT) {
            asked.push_back(message);
            EXPECT_EQ(lParam & 0x4, 0x4); // PRF_CLIENT
            return 0;
        }
        if (message != WM_ERASEBKGND)
            return std::nullopt;
        asked.push_back(message);
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT left{0, 0, 60, 100};
        RECT right{60, 0, 200, 100};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &left, red);
        FillRect(dc, &right, blue);
        DeleteObject(red);
        DeleteObject(blue);
        return 1;
    };
    HWND parent = wintest::Create(parentOptions);
    wintest::Options childOptions;
    childOptions.style = WS_CHILD | WS_VISIBLE;
    childOptions.parent = parent;
    childOptions.rect = RECT{50, 20, 70, 30};
    HWND child = wintest::Create(childOptions);
    ASSERT_TRUE(child);

    Surface surface(20, 10);
    asked.clear();
    ASSERT_EQ(DrawThemeParentBackground(child, surface.dc(), nullptr), S_OK);
    EXPECT_EQ((std::vector<UINT>{WM_ERASEBKGND, WM_PRINTCLIENT}), asked);
    EXPECT_EQ(surface.Count(RGB(255, 0, 0), RECT{0, 0, 10, 10}), 100);
    EXPECT_EQ(surface.Count(RGB(0, 0, 255), RECT{10, 0, 20, 10}), 100);
    POINT origin{1, 1};
    GetViewportOrgEx(surface.dc(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);

    // Only the given rectangle of the child is painted.
    surface.Clear(RGB(255, 255, 255));
    RECT part{5, 0, 15, 5};
    ASSERT_EQ(DrawThemeParentBackground(child, surface.dc(), &part), S_OK);
    EXPECT_EQ(surface.ChangedOutside(part, RGB(255, 255, 255)), 0);
    EXPECT_EQ(surface.Count(RGB(255, 0, 0), RECT{5, 0, 10, 5}), 25);
    EXPECT_EQ(surface.Count(RGB(0, 0, 255), RECT{10, 0, 15, 5}), 25);

    EXPECT_EQ(DrawThemeParentBackground(nullptr, surface.dc(), nullptr), E_HANDLE);
}

TEST_F(UxTheme, WindowThemesAndDialogTextures) {
    int changes = 0;
    wintest::Options options;
    options.handler = [&changes](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        changes += message == WM_THEMECHANGED;
        return std::nullopt;
    };
    HWND hwnd = wintest::Create(options);

    HTHEME theme = OpenThemeData(hwnd, u"button");
    EXPECT_EQ(GetWindowTheme(hwnd), theme);
    CloseThemeData(theme);
    EXPECT_EQ(GetWindowTheme(hwnd), nullptr);

    // Empty names switch the window's visual styles off; other windows keep theirs.
    EXPECT_EQ(SetWindowTheme(hwnd, u"", u""), S_OK);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(OpenThemeData(hwnd, u"button"), nullptr);
    EXPECT_TRUE(Theme(u"button"));

    // A class list of the window's own replaces the one its code asks for.
    EXPECT_EQ(SetWindowTheme(hwnd, nullptr, u"header"), S_OK);
    Theme replaced(u"button", hwnd);
    SIZE size;
    ASSERT_EQ(GetThemePartSize(replaced.get(), nullptr, 1, 1, nullptr, TS_TRUE, &size), S_OK);
    SIZE headerSize;
    GetThemePartSize(Theme(u"header").get(), nullptr, HP_HEADERITEM, 1, nullptr, TS_TRUE, &headerSize);
    EXPECT_EQ(size.cx, headerSize.cx);
    EXPECT_EQ(SetWindowTheme(hwnd, nullptr, nullptr), S_OK);
    EXPECT_TRUE(Theme(u"button", hwnd));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(SetWindowTheme(nullptr, u"", u""), E_HANDLE);

    EXPECT_FALSE(IsThemeDialogTextureEnabled(hwnd));
    EXPECT_EQ(EnableThemeDialogTexture(hwnd, ETDT_ENABLETAB), S_OK);
    EXPECT_TRUE(IsThemeDialogTextureEnabled(hwnd));
    EnableThemeDialogTexture(hwnd, ETDT_DISABLE);
    EXPECT_FALSE(IsThemeDialogTextureEnabled(hwnd));

    WCHAR name[64];
    WCHAR file[260];
    GetCurrentThemeName(file, 260, nullptr, 0, nullptr, 0);
    EXPECT_EQ(GetThemeDocumentationProperty(file, SZ_THDOCPROP_CANONICALNAME, name, 64), S_OK);
    EXPECT_NE(name[0], 0);
    EXPECT_EQ(GetThemeDocumentationProperty(u"other.msstyles", SZ_THDOCPROP_CANONICALNAME, name, 64),
              static_cast<HRESULT>(0x80070002));
}

} // namespace
