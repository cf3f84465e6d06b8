// Fonts and text: the substitution table, our pinned metrics, TextOut and ExtTextOut cells and
// alignment, DrawText layout (word breaks, ellipses, prefixes, tabs, CALCRECT, DT_MODIFYSTRING), symbol
// faces and rotated text.
#include <algorithm>
#include <memory>

#include "platform/backend/fonts.h"
#include "platform/backend/recorder.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/windraw.h"
#include "tests/platform/win32/gdi_test.h"

using gdi_test::Canvas;

namespace {

const COLORREF Red = RGB(255, 0, 0);

HFONT MakeFont(const char16_t* face, int height, int weight = FW_NORMAL, int escapement = 0) {
    return CreateFontW(height, 0, escapement, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

// A DC on the recorder with the system's usual 8-point Tahoma selected.
class GdiRecordedText : public testing::Test {
protected:
    void SetUp() override {
        recorder = backend::CreateRecorder(400, 200);
        dc = CreateDeviceDC(recorder);
        font = MakeFont(u"Tahoma", -11);
        SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
    }
    void TearDown() override {
        DeleteDC(dc);
        DeleteObject(font);
    }
    int Width(const char16_t* text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(std::char_traits<char16_t>::length(text)), &size);
        return size.cx;
    }
    // The text of each recorded line, in order.
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        for (const std::string& call : recorder->Calls()) {
            size_t open = call.find('\''), close = call.rfind('\'');
            if (call.rfind("Text ", 0) == 0 && open != close)
                lines.push_back(call.substr(open + 1, close - open - 1));
        }
        return lines;
    }
    int DrawText(const char16_t* text, RECT& rect, UINT format) {
        recorder->Clear();
        return DrawTextW(dc, text, -1, &rect, format);
    }

    std::shared_ptr<backend::Recorder> recorder;
    HDC dc = nullptr;
    HFONT font = nullptr;
};

// ---- Fonts ----

TEST(GdiFonts, WindowsFacesResolveToInstalledFaces) {
    const std::pair<const char16_t*, const char16_t*> table[] = {
        {u"Arial", u"Liberation Sans"},
        {u"times new roman", u"Liberation Serif"},
        {u"Courier New", u"Liberation Mono"},
        {u"Tahoma", u"Liberation Sans"},
        {u"MS Sans Serif", u"Liberation Sans"},
        {u"Segoe UI", u"Liberation Sans"},
        {u"Calibri", u"Carlito"},
        {u"Fixedsys", u"Liberation Mono"},
        {u"Verdana", u"DejaVu Sans"},
        {u"Marlett", u"DejaVu Sans"},
        {u"Wingdings", u"DejaVu Sans"},
        {u"Symbol", u"DejaVu Sans"},
        {u"No Such Face", u"Liberation Sans"},
        {u"", u"Liberation Sans"},
    };
    for (const auto& [windows, installed] : table)
        EXPECT_EQ(backend::SubstituteFace(windows), installed) << std::string(windows, windows + 3);
    EXPECT_TRUE(backend::IsSymbolFace(u"marlett"));
    EXPECT_FALSE(backend::IsSymbolFace(u"Arial"));
    EXPECT_TRUE(backend::MissingFonts().empty());
}

TEST(GdiFonts, MetricsArePinnedAndFollowTheHeightRules) {
    Canvas c(4, 4);
    HFONT tahoma = MakeFont(u"Tahoma", -11);
    SelectObject(c.dc(), tahoma);
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(c.dc(), &tm));
    // Our metrics for the system's default font; they come from the face's own tables.
    EXPECT_EQ(tm.tmHeight, 12);
    EXPECT_EQ(tm.tmAscent, 10);
    EXPECT_EQ(tm.tmDescent, 2);
    EXPECT_EQ(tm.tmInternalLeading, 1);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    SIZE size{};
    GetTextExtentPoint32W(c.dc(), u"Hello, World", 12, &size);
    EXPECT_EQ(size.cx, 58);
    EXPECT_EQ(size.cy, 12);
    EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_TRUETYPE);
    char16_t name[LF_FACESIZE];
    EXPECT_EQ(GetTextFaceW(c.dc(), LF_FACESIZE, name), 6);
    EXPECT_EQ(std::u16string(name), u"Tahoma");

    for (const char16_t* faceName : {u"Arial", u"Times New Roman", u"Courier New", u"Calibri", u"Marlett"}) {
        // A positive height is the cell height, a negative one the em height.
        HFONT cell = MakeFont(faceName, 16), em = MakeFont(faceName, -13);
        SelectObject(c.dc(), cell);
        GetTextMetricsW(c.dc(), &tm);
        EXPECT_EQ(tm.tmHeight, 16);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        SelectObject(c.dc(), em);
        GetTextMetricsW(c.dc(), &tm);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13);
        SelectObject(c.dc(), tahoma);
        DeleteObject(cell);
        DeleteObject(em);
    }
    HFONT courier = MakeFont(u"Courier New", -13);
    SelectObject(c.dc(), courier);
    GetTextMetricsW(c.dc(), &tm);
    EXPECT_FALSE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH) << "fixed pitch clears the bit";
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
    GetTextMetricsW(c.dc(), &tm);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    DeleteObject(courier);
    DeleteObject(tahoma);
}

TEST(GdiFonts, ExtentsAreTheSumOfCharacterWidths) {
    Canvas c(4, 4);
    HFONT font = MakeFont(u"Segoe UI", -12);
    SelectObject(c.dc(), font);
    const char16_t* text = u"Grid cell 42";
    int n = 12;
    std::vector<INT> widths(128);
    GetCharWidth32W(c.dc(), 0, 127, widths.data());
    int sum = 0;
    for (int i = 0; i < n; ++i)
        sum += widths[static_cast<size_t>(text[i])];
    SIZE size{};
    GetTextExtentPoint32W(c.dc(), text, n, &size);
    EXPECT_EQ(size.cx, sum);
    INT fit = 0;
    std::vector<INT> dx(static_cast<size_t>(n));
    GetTextExtentExPointW(c.dc(), text, n, sum / 2, &fit, dx.data(), &size);
    EXPECT_EQ(dx.back(), sum);
    EXPECT_LE(dx[static_cast<size_t>(fit - 1)], sum / 2);
    EXPECT_GT(dx[static_cast<size_t>(fit)], sum / 2);
    // Extra character spacing adds to every character.
    SetTextCharacterExtra(c.dc(), 2);
    GetTextExtentPoint32W(c.dc(), text, n, &size);
    EXPECT_EQ(size.cx, sum + 2 * n);
    SetTextCharacterExtra(c.dc(), 0);
    ABC abc{};
    GetCharABCWidthsW(c.dc(), 'W', 'W', &abc);
    EXPECT_EQ(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC, widths['W']);
    OUTLINETEXTMETRICW* none = nullptr;
    UINT needed = GetOutlineTextMetricsW(c.dc(), 0, none);
    std::vector<std::uint8_t> buffer(needed);
    auto otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    EXPECT_EQ(GetOutlineTextMetricsW(c.dc(), needed, otm), needed);
    EXPECT_EQ(otm->otmEMSquare, 2048u);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buffer.data() + otm->otmpFamilyName)),
              u"Liberation Sans");
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

// ---- Drawing text ----

TEST(GdiTextOut, OpaqueModeFillsExactlyTheTextCell) {
    Canvas c(60, 20);
    HFONT font = MakeFont(u"Arial", -11);
    SelectObject(c.dc(), font);
    SetBkColor(c.dc(), Red);
    SIZE size{};
    GetTextExtentPoint32W(c.dc(), u"Cell", 4, &size);
    TextOutW(c.dc(), 5, 3, u"Cell", 4);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            bool inCell = x >= 5 && x < 5 + size.cx && y >= 3 && y < 3 + size.cy;
            COLORREF p = c.At(x, y);
            EXPECT_EQ(p != RGB(255, 255, 255), inCell) << x << "," << y;
        }
    EXPECT_GT(c.Ink(), 0);
    PatBlt(c.dc(), 0, 0, 60, 20, WHITENESS);
    SetBkMode(c.dc(), TRANSPARENT);
    TextOutW(c.dc(), 5, 3, u"Cell", 4);
    std::string picture = c.Picture({{Red, 'r'}});
    EXPECT_EQ(std::count(picture.begin(), picture.end(), 'r'), 0);
    EXPECT_GT(c.Ink(), 10);
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST(GdiTextOut, ExtTextOutFillsAndClipsToItsRectangle) {
    Canvas c(40, 20);
    HFONT font = MakeFont(u"Arial", -16);
    SelectObject(c.dc(), font);
    SetBkColor(c.dc(), Red);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{2, 2, 12, 12};
    ExtTextOutW(c.dc(), 0, 0, ETO_OPAQUE | ETO_CLIPPED, &r, u"WWWW", 4, nullptr);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            if (x < 2 || x >= 12 || y < 2 || y >= 12) {
                EXPECT_EQ(c.At(x, y), RGB(255, 255, 255)) << x << "," << y;
            }
    int painted = 0;
    for (int y = 2; y < 12; ++y)
        for (int x = 2; x < 12; ++x)
            painted += c.At(x, y) != RGB(255, 255, 255);
    EXPECT_EQ(painted, 100);
    // No text and ETO_OPAQUE: the quick fill.
    RECT fill{20, 0, 40, 5};
    ExtTextOutW(c.dc(), 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr);
    EXPECT_EQ(c.At(39, 4), Red);
    EXPECT_EQ(c.At(39, 5), RGB(255, 255, 255));
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

// Upright text on a colour bitmap blends each glyph's coverage between the pixel under it and the ink.
// The cases follow each other on one thread, changing only the ink, only the background or both, so a
// blend kept from an earlier pair would put a pixel off the line between this pair's colours.
TEST(GdiTextOut, UprightTextBlendsCoverageBetweenBackgroundAndInk) {
    struct Case {
        const char* name;
        COLORREF background;
        COLORREF ink;
        BYTE quality;
    };
    const Case cases[] = {
        {"black on white", RGB(255, 255, 255), RGB(0, 0, 0), DEFAULT_QUALITY},
        {"red on white", RGB(255, 255, 255), RGB(255, 0, 0), DEFAULT_QUALITY},
        {"red on blue", RGB(0, 0, 255), RGB(255, 0, 0), DEFAULT_QUALITY},
        {"white on black", RGB(0, 0, 0), RGB(255, 255, 255), DEFAULT_QUALITY},
        {"black on yellow", RGB(255, 255, 0), RGB(0, 0, 0), DEFAULT_QUALITY},
        {"not anti-aliased", RGB(0, 0, 255), RGB(255, 0, 0), NONANTIALIASED_QUALITY},
    };
    std::vector<std::vector<int>> coverages;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Canvas c(60, 20);
        HBRUSH background = CreateSolidBrush(test.background);
        RECT all{0, 0, 60, 20};
        HFONT font =
            CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, test.quality, 0, u"Arial");
        SelectObject(c.dc(), font);
        SetBkMode(c.dc(), TRANSPARENT);
        SetTextColor(c.dc(), test.ink);
        // Drawn as often as a screen of cells draws one pair, each time on a fresh background.
        for (int round = 0; round < 20; ++round) {
            FillRect(c.dc(), &all, background);
            TextOutW(c.dc(), 2, 2, u"Wavy 1/8", 8);
        }
        // How far each pixel went from the background towards the ink, 0 to 255, read on a channel where
        // the two differ.
        std::vector<int> coverage;
        int partial = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 60; ++x) {
                COLORREF p = c.At(x, y);
                int amount = -1;
                for (auto channel : {GetRValue, GetGValue, GetBValue}) {
                    int from = channel(test.background), to = channel(test.ink);
                    if (amount < 0 && from != to)
                        amount = from < to ? channel(p) - from : from - channel(p);
                }
                // Every channel sits on the same point between the background's and the ink's.
                for (auto channel : {GetRValue, GetGValue, GetBValue}) {
                    int from = channel(test.background), to = channel(test.ink);
                    if (from != to)
                        EXPECT_EQ(from < to ? channel(p) - from : from - channel(p), amount) << x << "," << y;
                    else
                        EXPECT_EQ(channel(p), from) << x << "," << y;
                }
                coverage.push_back(amount);
                partial += amount > 0 && amount < 255;
            }
        EXPECT_GT(std::count_if(coverage.begin(), coverage.end(), [](int amount) { return amount > 0; }), 20);
        if (test.quality == NONANTIALIASED_QUALITY)
            EXPECT_EQ(partial, 0);
        else
            EXPECT_GT(partial, 20);
        coverages.push_back(coverage);
        SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
        DeleteObject(background);
    }
    // The same font covers the same pixels whatever the colours.
    for (size_t i = 1; i + 1 < coverages.size(); ++i)
        EXPECT_EQ(coverages[0], coverages[i]) << cases[i].name;
    EXPECT_NE(coverages[0], coverages.back());
}

// Glyphs are kept per realised font: another weight, size or face draws other pixels, the first font
// draws its own again, and a glyph drawn elsewhere is the same picture moved.
TEST(GdiTextOut, GlyphsFollowTheFontAndThePosition) {
    auto draw = [](HFONT font, int x, int y) {
        auto c = std::make_unique<Canvas>(50, 24);
        SelectObject(c->dc(), font);
        SetBkMode(c->dc(), TRANSPARENT);
        TextOutW(c->dc(), x, y, u"Il1%", 4);
        SelectObject(c->dc(), GetStockObject(SYSTEM_FONT));
        return c;
    };
    HFONT fonts[] = {MakeFont(u"Arial", -11), MakeFont(u"Arial", -11, FW_BOLD), MakeFont(u"Arial", -12),
                     MakeFont(u"Times New Roman", -11)};
    std::vector<std::string> pictures;
    for (HFONT font : fonts)
        pictures.push_back(draw(font, 2, 2)->Picture());
    for (size_t i = 1; i < pictures.size(); ++i)
        EXPECT_NE(pictures[i], pictures[0]) << i;
    EXPECT_EQ(draw(fonts[0], 2, 2)->Picture(), pictures[0]);
    auto here = draw(fonts[0], 2, 2), there = draw(fonts[0], 9, 5);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 50; ++x) {
            COLORREF moved = x >= 7 && y >= 3 ? here->At(x - 7, y - 3) : RGB(255, 255, 255);
            EXPECT_EQ(there->At(x, y), moved) << x << "," << y;
        }
    for (HFONT font : fonts)
        DeleteObject(font);
}

// Underlines and strike-outs are whole rows of ink under and through the text, as long as its advance.
TEST(GdiTextOut, UnderlineAndStrikeOutSpanTheAdvance) {
    for (bool strikeOut : {false, true}) {
        SCOPED_TRACE(strikeOut ? "strike-out" : "underline");
        Canvas c(60, 24);
        HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, !strikeOut, strikeOut, DEFAULT_CHARSET, 0, 0, 0,
                                 0, u"Arial");
        SelectObject(c.dc(), font);
        SetBkMode(c.dc(), TRANSPARENT);
        SIZE size{};
        GetTextExtentPoint32W(c.dc(), u"a  b", 4, &size);
        OUTLINETEXTMETRICW otm{};
        ASSERT_GT(GetOutlineTextMetricsW(c.dc(), sizeof(otm), &otm), 0u);
        TextOutW(c.dc(), 3, 2, u"a  b", 4);
        int baseline = 2 + otm.otmTextMetrics.tmAscent;
        int row = strikeOut ? baseline - otm.otmsStrikeoutPosition : baseline - otm.otmsUnderscorePosition;
        for (int x = 0; x < 60; ++x)
            EXPECT_EQ(c.At(x, row), x >= 3 && x < 3 + size.cx ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x;
        SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
    }
}

TEST_F(GdiRecordedText, TextAlignmentPlacesTheBaseline) {
    int width = Width(u"Ab");
    struct Case {
        UINT align;
        int x, y; // expected baseline start for TextOut at (100, 50)
    } cases[] = {{TA_LEFT | TA_TOP, 100, 60},
                 {TA_BASELINE, 100, 50},
                 {TA_BOTTOM, 100, 48},
                 {TA_RIGHT | TA_TOP, 100 - width, 60},
                 {TA_CENTER | TA_BASELINE, 100 - width / 2, 50}};
    for (const Case& k : cases) {
        SetTextAlign(dc, k.align);
        recorder->Clear();
        TextOutW(dc, 100, 50, u"Ab", 2);
        ASSERT_EQ(recorder->Calls().size(), 1u);
        EXPECT_EQ(recorder->Calls()[0].substr(0, recorder->Calls()[0].find(" '")),
                  "Text " + std::to_string(k.x) + "," + std::to_string(k.y))
            << k.align;
    }
    // TA_UPDATECP draws at the current position and moves it on.
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 10, 0, nullptr);
    TextOutW(dc, 999, 999, u"Ab", 2);
    TextOutW(dc, 999, 999, u"Ab", 2);
    POINT position;
    GetCurrentPositionEx(dc, &position);
    EXPECT_EQ(position.x, 10 + 2 * width);
}

// ---- DrawText ----

TEST_F(GdiRecordedText, WordBreakWrapsBetweenWordsAndCalcRectMeasuresTheLines) {
    int lineHeight = 12;
    RECT rect{0, 0, std::max(Width(u"The quick"), Width(u"brown fox")), 100};
    RECT calc = rect;
    int height = DrawText(u"The quick brown fox jumps", calc, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, 3 * lineHeight);
    EXPECT_EQ(calc.bottom, 3 * lineHeight);
    EXPECT_EQ(calc.right, std::max({Width(u"The quick"), Width(u"brown fox"), Width(u"jumps")}));
    EXPECT_TRUE(recorder->Calls().empty()) << "CALCRECT draws nothing";

    DrawText(u"The quick brown fox jumps", rect, DT_WORDBREAK);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"The quick", "brown fox", "jumps"}));
    EXPECT_NE(recorder->Calls()[1].find("Text 0,22 "), std::string::npos) << recorder->Calls()[1];

    // Line breaks in the text start new lines; a word wider than the line stays whole.
    RECT narrow{0, 0, Width(u"ab"), 100};
    DrawText(u"one\r\ntwo\nextraordinary", narrow, DT_WORDBREAK);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "two", "extraordinary"}));
    // An edit control breaks such a word between characters.
    DrawText(u"abcd", narrow, DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"ab", "cd"}));
}

struct EllipsisCase {
    const char* name;
    const char16_t* text;
    const char16_t* fitting; // the expected result, whose width sets the rectangle
    UINT format;
};

class GdiDrawTextEllipsis : public GdiRecordedText, public testing::WithParamInterface<EllipsisCase> {};

TEST_P(GdiDrawTextEllipsis, ShortensTheTextToFit) {
    const EllipsisCase& k = GetParam();
    RECT rect{0, 0, Width(k.fitting), 20};
    DrawText(k.text, rect, k.format | DT_SINGLELINE);
    std::u16string expected(k.fitting);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0], std::string(expected.begin(), expected.end()));

    // DT_MODIFYSTRING writes the shortened text back.
    std::u16string buffer(k.text);
    buffer.resize(buffer.size() + 4, u'#');
    DrawTextW(dc, buffer.data(), static_cast<int>(std::char_traits<char16_t>::length(k.text)), &rect,
              k.format | DT_SINGLELINE | DT_MODIFYSTRING);
    EXPECT_EQ(std::u16string(buffer.c_str()), expected);

    // A measurement reports the whole text, however narrow the rectangle: callers measure runs this way.
    RECT calc{0, 0, 0, 0};
    DrawText(k.text, calc, k.format | DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(calc.right, Width(k.text));
}

INSTANTIATE_TEST_SUITE_P(GdiKinds, GdiDrawTextEllipsis,
                         testing::Values(EllipsisCase{"End", u"Hello, World", u"Hello...", DT_END_ELLIPSIS},
                                         EllipsisCase{"Word", u"Hello, World", u"Hello...", DT_WORD_ELLIPSIS},
                                         EllipsisCase{"Path", u"C:\\Folder\\Sub\\file.txt",
                                                      u"C:\\Fo...\\file.txt", DT_PATH_ELLIPSIS},
                                         EllipsisCase{"PathWithoutFolders", u"filename.txt", u"filen...",
                                                      DT_PATH_ELLIPSIS}),
                         [](const testing::TestParamInfo<EllipsisCase>& info) { return info.param.name; });

TEST_F(GdiRecordedText, TextThatFitsKeepsItsWholeLength) {
    RECT rect{0, 0, 300, 20};
    std::u16string buffer = u"Short####";
    DrawTextW(dc, buffer.data(), 5, &rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Short"}));
    EXPECT_EQ(buffer, u"Short####");
}

TEST_F(GdiRecordedText, PrefixesUnderlineTheNextCharacter) {
    RECT rect{0, 0, 200, 20};
    int f = Width(u"F");
    DrawText(u"&File", rect, DT_SINGLELINE);
    ASSERT_EQ(Lines(), (std::vector<std::string>{"File"}));
    EXPECT_NE(recorder->Calls()[0].find("prefix 0-" + std::to_string(f)), std::string::npos)
        << recorder->Calls()[0];
    DrawText(u"Save &As", rect, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Save As"}));
    EXPECT_EQ(recorder->Calls()[0].find("prefix"), std::string::npos);
    DrawText(u"A&&B", rect, DT_SINGLELINE);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"A&B"}));
    DrawText(u"&File", rect, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"&File"}));
    DrawText(u"&File", rect, DT_SINGLELINE | DT_PREFIXONLY);
    EXPECT_NE(recorder->Calls()[0].find("prefix-only"), std::string::npos);
}

TEST_F(GdiRecordedText, TabsExpandToStopsOfEightAverageCharacters) {
    RECT rect{0, 0, 300, 20};
    int average = 6;
    DrawText(u"a\tb", rect, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(rect.right, 8 * average + Width(u"b"));
    // The tab length of DrawTextEx; DT_TABSTOP would take the flag bits CALCRECT needs.
    RECT custom{0, 0, 300, 20};
    DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 4, 0, 0, 0};
    std::u16string text = u"a\tb";
    DrawTextExW(dc, text.data(), -1, &custom, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT, &params);
    EXPECT_EQ(custom.right, 4 * average + Width(u"b"));
    RECT stops{0, 0, 300, 20};
    DrawText(u"a\tb", stops, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a\tb"}));
}

TEST_F(GdiRecordedText, AlignmentWithinTheRectangle) {
    RECT rect{10, 10, 110, 50};
    int w = Width(u"Mid");
    struct Case {
        UINT format;
        int x, y;
        int result;
    } cases[] = {{DT_SINGLELINE, 10, 20, 12},
                 {DT_SINGLELINE | DT_CENTER | DT_VCENTER, 10 + (100 - w) / 2, 10 + 14 + 10, 26},
                 {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, 110 - w, 48, 40}};
    for (const Case& k : cases) {
        RECT r = rect;
        EXPECT_EQ(DrawText(u"Mid", r, k.format), k.result) << k.format;
        EXPECT_EQ(recorder->Calls()[0].substr(0, recorder->Calls()[0].find(" '")),
                  "Text " + std::to_string(k.x) + "," + std::to_string(k.y))
            << k.format;
    }
    // DrawTextEx margins move the text in.
    DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 0, 7, 0, 0};
    RECT r = rect;
    recorder->Clear();
    std::u16string text = u"Mid";
    DrawTextExW(dc, text.data(), -1, &r, DT_SINGLELINE, &params);
    EXPECT_EQ(recorder->Calls()[0].substr(0, 11), "Text 17,20 ");
    EXPECT_EQ(params.uiLengthDrawn, 3u);
}

TEST_F(GdiRecordedText, EditControlEllipsisEndsTheLastVisibleLine) {
    RECT rect{0, 0, Width(u"one two three"), 24};
    DrawText(u"one two three four five six seven", rect, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
    ASSERT_EQ(Lines().size(), 2u);
    EXPECT_EQ(Lines()[1].substr(Lines()[1].size() - 3), "...");
}

TEST(GdiDrawText, CalcRectBoundsTheInkOfTheDrawnText) {
    Canvas c(120, 60);
    HFONT font = MakeFont(u"Times New Roman", -14);
    SelectObject(c.dc(), font);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT calc{4, 4, 80, 4};
    const char16_t* text = u"Quality gauge readings";
    DrawTextW(c.dc(), text, -1, &calc, DT_WORDBREAK | DT_CALCRECT);
    DrawTextW(c.dc(), text, -1, &calc, DT_WORDBREAK | DT_NOCLIP);
    int inside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            bool ink = c.At(x, y) != RGB(255, 255, 255);
            bool within = x >= calc.left && x < calc.right && y >= calc.top && y < calc.bottom;
            if (ink && !within)
                ADD_FAILURE() << "ink outside the calculated rectangle at " << x << "," << y;
            inside += ink && within;
        }
    EXPECT_GT(inside, 40);
    RECT empty{5, 5, 50, 50};
    EXPECT_EQ(DrawTextW(c.dc(), u"", 0, &empty, DT_CALCRECT), 0);
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

// ---- Symbol faces and rotation ----

TEST(GdiSymbols, SymbolFacesDrawTheirPictures) {
    HFONT marlett = MakeFont(u"Marlett", -16), arial = MakeFont(u"Arial", -16);
    for (const char16_t* glyph : {u"a", u"r", u"5", u"6", u"h", u"n"}) {
        Canvas symbol(24, 24), letter(24, 24);
        SelectObject(symbol.dc(), marlett);
        SelectObject(letter.dc(), arial);
        TextOutW(symbol.dc(), 2, 2, glyph, 1);
        TextOutW(letter.dc(), 2, 2, glyph, 1);
        EXPECT_GT(symbol.Ink(), 4) << char(glyph[0]);
        EXPECT_NE(symbol.Picture(), letter.Picture()) << char(glyph[0]);
        SelectObject(symbol.dc(), GetStockObject(SYSTEM_FONT));
        SelectObject(letter.dc(), GetStockObject(SYSTEM_FONT));
    }
    // Wingdings' check mark, also at its private-use code point.
    HFONT wingdings = MakeFont(u"Wingdings", -16);
    Canvas low(24, 24), high(24, 24);
    SelectObject(low.dc(), wingdings);
    SelectObject(high.dc(), wingdings);
    TextOutW(low.dc(), 2, 2, u"\u00FC", 1);
    TextOutW(high.dc(), 2, 2, u"\uF0FC", 1);
    EXPECT_GT(low.Ink(), 4);
    EXPECT_EQ(low.Picture(), high.Picture());
    SelectObject(low.dc(), GetStockObject(SYSTEM_FONT));
    SelectObject(high.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(marlett);
    DeleteObject(arial);
    DeleteObject(wingdings);
}

TEST(GdiSymbols, EscapementTurnsTheText) {
    Canvas c(60, 80);
    HFONT upwards = MakeFont(u"Arial", -14, FW_NORMAL, 900);
    SelectObject(c.dc(), upwards);
    SetBkMode(c.dc(), TRANSPARENT);
    TextOutW(c.dc(), 20, 70, u"Vertical", 8);
    int left = 60, right = 0, top = 80, bottom = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 60; ++x)
            if (c.At(x, y) != RGB(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GT(bottom - top, 2 * (right - left)) << "the text runs upwards";
    EXPECT_LT(bottom, 71);
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(upwards);
}

// Under a y axis that points up, the same escapement turns the text the other way on the device: the
// turn holds in the logical axes, and what is placed for it there stays where it was placed.
TEST(GdiSymbols, EscapementKeepsItsTurnUnderAnUpwardYAxis) {
    Canvas c(60, 80);
    SetMapMode(c.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(c.dc(), 1, 1, nullptr);
    SetViewportExtEx(c.dc(), 1, -1, nullptr);
    SetViewportOrgEx(c.dc(), 0, 80, nullptr); // logical y = 80 - device y
    HFONT turned = MakeFont(u"Arial", -14, FW_NORMAL, 900);
    SelectObject(c.dc(), turned);
    SetBkMode(c.dc(), TRANSPARENT);
    TextOutW(c.dc(), 20, 70, u"Vertical", 8); // device (20, 10)
    SetMapMode(c.dc(), MM_TEXT);              // pixels are read in device coordinates
    SetViewportOrgEx(c.dc(), 0, 0, nullptr);
    int left = 60, right = 0, top = 80, bottom = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 60; ++x)
            if (c.At(x, y) != RGB(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GT(bottom - top, 2 * (right - left)) << "the text still stands";
    EXPECT_GE(top, 9) << "it runs down the device from its point";
    EXPECT_LE(right, 21) << "with its top towards the point's side";
    SelectObject(c.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(turned);
}

} // namespace
