// Tests of the rich edit control: reading RTF (control words, characters, broken input), the formats it
// leaves, round trips through EM_STREAMOUT and EM_STREAMIN, plain text, editing keys, the clipboard and
// notifications, EM_FORMATRANGE pagination and drawing, and the size EN_REQUESTRESIZE asks for.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/clipboard.h"
#include "platform/win32/richedit.h"
#include "tests/platform/win32/RtfFuzzInput.h"
#include "tests/platform/win32/controls/controls_testing.h"
#include "tests/support/FuzzFixtures.h"

namespace {

using namespace controltest;

// Serves bytes to EM_STREAMIN in chunks of at most chunk bytes, or fails with error after failAfter
// calls.
struct Source {
    std::string data;
    size_t pos = 0;
    LONG chunk = 1 << 20;
    int calls = 0;
    int failAfter = -1;
    DWORD error = 0;

    static DWORD Read(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
        auto* self = reinterpret_cast<Source*>(cookie);
        if (self->failAfter >= 0 && self->calls++ >= self->failAfter)
            return self->error;
        size_t count = std::min<size_t>(
            {self->data.size() - self->pos, static_cast<size_t>(size), static_cast<size_t>(self->chunk)});
        std::copy_n(self->data.data() + self->pos, count, buffer);
        self->pos += count;
        *done = static_cast<LONG>(count);
        return 0;
    }
};

struct Sink {
    std::string data;
    int calls = 0;
    int failAfter = -1;

    static DWORD Write(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
        auto* self = reinterpret_cast<Sink*>(cookie);
        if (self->failAfter >= 0 && self->calls >= self->failAfter)
            return 7;
        ++self->calls;
        self->data.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
        *done = size;
        return 0;
    }
};

class RichEditTest : public ControlTest {
protected:
    HWND Rich(DWORD style = ES_MULTILINE, RECT rect = RECT{10, 10, 310, 210}) {
        return Child(RICHEDIT_CLASSW, style, rect);
    }
    static LRESULT StreamIn(HWND rich, const std::string& data, WPARAM format = SF_RTF,
                            Source* source = nullptr) {
        Source local;
        Source& from = source ? *source : local;
        from.data = data;
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&from), 0, Source::Read};
        LRESULT result = SendMessageW(rich, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
        from.error = stream.dwError;
        return result;
    }
    static std::string StreamOut(HWND rich, WPARAM format = SF_RTF) {
        Sink sink;
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&sink), 0, Sink::Write};
        SendMessageW(rich, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
        return sink.data;
    }
    static void Select(HWND rich, LONG start, LONG end) {
        CHARRANGE range{start, end};
        SendMessageW(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    static CHARFORMAT2W CharFormatAt(HWND rich, LONG pos) {
        Select(rich, pos, pos + 1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        SendMessageW(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }
    static PARAFORMAT2 ParaFormatAt(HWND rich, LONG pos) {
        Select(rich, pos, pos);
        PARAFORMAT2 format{};
        format.cbSize = sizeof(format);
        SendMessageW(rich, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
        return format;
    }
    static String TextEx(HWND rich, DWORD flags) {
        Char buffer[512]{};
        GETTEXTEX info{sizeof(buffer), flags, CP_UNICODE, nullptr, nullptr};
        LRESULT count = SendMessageW(rich, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&info),
                                     reinterpret_cast<LPARAM>(buffer));
        return String(buffer, static_cast<size_t>(count));
    }
};

struct PlainCase {
    const char* name;
    std::string rtf;
    String text; // as WM_GETTEXT gives it
};

std::string Deep(int depth) {
    return "{\\rtf1 a" + std::string(depth, '{') + "x" + std::string(depth, '}') + "b}";
}

const PlainCase PlainCases[] = {
    {"Plain", "{\\rtf1\\ansi Hello, world}", u"Hello, world"},
    {"ParagraphsBecomeCrLf", "{\\rtf1 one\\par two\\par\r\nthree}", u"one\r\ntwo\r\nthree"},
    {"FinalParIsTheDocumentsEnd", "{\\rtf1 one\\par}", u"one"},
    {"EmptyParagraphsStay", "{\\rtf1 one\\par\\par\\par}", u"one\r\n\r\n"},
    {"LineBreaksInSourceAreNoText", "{\\rtf1 a\r\nb\nc}", u"abc"},
    {"EscapedSymbols", "{\\rtf1 \\{a\\}\\\\ b\\~c\\-d\\_e}", u"{a}\\ b\u00A0cd\u2011e"},
    {"TabLineAndQuotes", "{\\rtf1 a\\tab b\\line c \\lquote x\\rquote \\emdash}",
     u"a\tb\vc \u2018x\u2019\u2014"},
    {"HexInWindows1252", "{\\rtf1\\ansi \\'e9t\\'e9 \\'80}", u"\u00E9t\u00E9 \u20AC"},
    {"UnicodeSkipsOneFallback", "{\\rtf1\\u8364?x}", u"\u20ACx"},
    {"UnicodeSkipsUcFallbacks", "{\\rtf1\\uc2\\u8364\\'80\\'81x}", u"\u20ACx"},
    {"UcZeroSkipsNothing", "{\\rtf1\\uc0\\u8364 x}", u"\u20ACx"},
    {"NegativeUnicode", "{\\rtf1\\u-3913?}", u"\uF0B7"},
    {"SurrogatePair", "{\\rtf1\\u-10179?\\u-8704?}", u"\U0001F600"},
    {"GroupEndsFallback", "{\\rtf1\\uc3{\\u8364}x}", u"\u20ACx"},
    {"StarredDestinationsSkipped", "{\\rtf1{\\*\\generator Tool 1.0;}{\\*\\unknown {nested} text}ok}", u"ok"},
    {"KnownDestinationsSkipped",
     "{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}{\\pict abc}ok}", u"ok"},
    {"FontAndColourTablesAreNoText",
     "{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1 Times;}}{\\colortbl ;\\red1\\green2\\blue3;}x}",
     u"x"},
    {"TableCellsAreTabbedAndRowsAreParagraphs",
     "{\\rtf1\\trowd\\cellx1000\\cellx2000 A\\cell B\\cell\\row\\trowd\\cellx1000 C\\cell\\row after}",
     u"A\tB\t\r\nC\t\r\nafter"},
    {"FieldShowsItsResult", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}", u"link"},
    {"UnknownWordsSkipped", "{\\rtf1\\foo123 x\\bar-5 y\\zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz z}",
     u"xyz"},
    {"BinaryDataSkipped", "{\\rtf1 a\\bin3 x}yb}", u"ab"},
    {"RawUtf8", "{\\rtf1 caf\xC3\xA9}", u"caf\u00E9"},
    {"RawBytesNotUtf8ReadAsWindows1252", "{\\rtf1 caf\xE9}", u"caf\u00E9"},
    // Broken input: whatever was read stands.
    {"Unclosed", "{\\rtf1 abc{\\b def", u"abcdef"},
    {"TextAfterTheEnd", "{\\rtf1 abc}def", u"abc"},
    {"TruncatedHex", "{\\rtf1 a\\'4", u"a4"},
    {"BadHex", "{\\rtf1 a\\'zzb}", u"azzb"},
    {"TruncatedWord", "{\\rtf1 a\\", u"a"},
    {"HugeNumbers", "{\\rtf1\\fs99999999999999999999 a\\u99999999999999999999?b\\uc99999 c}", u"abc"},
    {"BinaryPastTheEnd", "{\\rtf1 a\\bin999999 xyz", u"a"},
    {"UnbalancedClose", "{\\rtf1 a}}}}b", u"a"},
    {"DeepNestingSkipped", Deep(1000), u"ab"},
    {"NestingWithinBoundRead", Deep(100), u"axb"},
    {"ZeroBytes", std::string("{\\rtf1 a\0b}", 11), u"ab"},
};

class RichEditPlainTest : public RichEditTest, public ::testing::WithParamInterface<PlainCase> {};

TEST_P(RichEditPlainTest, ReadsTheText) {
    HWND rich = Rich();
    StreamIn(rich, GetParam().rtf);
    EXPECT_EQ(WindowText(rich), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rtf, RichEditPlainTest, ::testing::ValuesIn(PlainCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RichEditTest, TextThatIsNoRtfIsReadAsText) {
    HWND rich = Rich();
    EXPECT_EQ(StreamIn(rich, "plain {text}\r\nline"), 17);
    EXPECT_EQ(WindowText(rich), u"plain {text}\r\nline");
    SetWindowTextW(rich, u"{\\rtf1 {\\b bold}}");
    EXPECT_EQ(WindowText(rich), u"bold");
    EXPECT_TRUE(CharFormatAt(rich, 0).dwEffects & CFE_BOLD);
}

TEST_F(RichEditTest, CharacterControlWordsSetTheFormats) {
    HWND rich = Rich();
    StreamIn(rich, "{\\rtf1{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fmodern Courier New;}}"
                   "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                   "\\f0\\fs20 a\\b b\\b0\\i c\\i0\\ul d\\ulnone\\strike e\\strike0\\f1 f\\f0\\fs36 g\\cf1 "
                   "h\\cf2 i\\cf0 "
                   "\\up6 j\\dn4 k\\up0{\\b\\i l}m\\b n\\plain o}");
    struct Expected {
        LONG pos;
        const char16_t* face;
        LONG height;
        DWORD effects;
        COLORREF color; // with CFE_AUTOCOLOR in effects, not compared
        LONG offset;
    };
    constexpr DWORD Auto = CFE_AUTOCOLOR;
    const Expected table[] = {
        {0, u"Arial", 200, Auto, 0, 0},
        {1, u"Arial", 200, Auto | CFE_BOLD, 0, 0},
        {2, u"Arial", 200, Auto | CFE_ITALIC, 0, 0},
        {3, u"Arial", 200, Auto | CFE_UNDERLINE, 0, 0},
        {4, u"Arial", 200, Auto | CFE_STRIKEOUT, 0, 0},
        {5, u"Courier New", 200, Auto, 0, 0},
        {6, u"Arial", 360, Auto, 0, 0},
        {7, u"Arial", 360, 0, RGB(255, 0, 0), 0},
        {8, u"Arial", 360, 0, RGB(0, 0, 255), 0},
        {9, u"Arial", 360, Auto, 0, 60},
        {10, u"Arial", 360, Auto, 0, -40},
        {11, u"Arial", 360, Auto | CFE_BOLD | CFE_ITALIC, 0, 0},
        {12, u"Arial", 360, Auto, 0, 0}, // the group's end restored the format
        {13, u"Arial", 360, Auto | CFE_BOLD, 0, 0},
        {14, u"Arial", 200, Auto, 0, 0}, // \plain resets to the default font
    };
    ASSERT_EQ(WindowText(rich), u"abcdefghijklmno");
    for (const Expected& e : table) {
        SCOPED_TRACE(e.pos);
        CHARFORMAT2W format = CharFormatAt(rich, e.pos);
        EXPECT_EQ(String(format.szFaceName), e.face);
        EXPECT_EQ(format.yHeight, e.height);
        EXPECT_EQ(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_AUTOCOLOR),
                  e.effects);
        if (!(e.effects & CFE_AUTOCOLOR)) {
            EXPECT_EQ(format.crTextColor, e.color);
        }
        EXPECT_EQ(format.yOffset, e.offset);
    }
}

TEST_F(RichEditTest, ParagraphControlWordsSetAlignmentAndIndents) {
    HWND rich = Rich();
    StreamIn(rich, "{\\rtf1\\pard\\qc a\\par\\pard\\qr\\li400\\ri200\\fi-100 b\\par c\\par\\pard\\qj\\li-20 "
                   "d\\par\\pard e}");
    ASSERT_EQ(TextEx(rich, GT_DEFAULT), u"a\rb\rc\rd\re");
    struct Expected {
        LONG pos;
        WORD alignment;
        LONG start, right, offset;
    };
    const Expected table[] = {
        {0, PFA_CENTER, 0, 0, 0},
        {2, PFA_RIGHT, 300, 200, 100}, // \li is every line's indent, \fi the first line's relative to it
        {4, PFA_RIGHT, 300, 200, 100}, // a paragraph keeps the formatting until \pard
        {6, PFA_JUSTIFY, -20, 0, 0},
        {8, PFA_LEFT, 0, 0, 0},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.pos);
        PARAFORMAT2 para = ParaFormatAt(rich, e.pos);
        EXPECT_EQ(para.wAlignment, e.alignment);
        EXPECT_EQ(para.dxStartIndent, e.start);
        EXPECT_EQ(para.dxRightIndent, e.right);
        EXPECT_EQ(para.dxOffset, e.offset);
    }
}

// Builds a document through the messages, writes it, reads it into a second control and compares
// every character's and paragraph's format; writing the copy gives the same bytes.
TEST_F(RichEditTest, RtfRoundTripKeepsTextAndFormats) {
    HWND rich = Rich();
    SetWindowTextW(rich,
                   u"Plain {brace} \\slash\ttab\r\n\u00E9t\u00E9 \u20AC \U0001F600 \u0416\r\n\r\nlast line");
    auto setChar = [&](LONG start, LONG end, DWORD mask, DWORD effects, auto&& more) {
        Select(rich, start, end);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        format.dwMask = mask;
        format.dwEffects = effects;
        more(format);
        SendMessageW(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    };
    auto none = [](CHARFORMAT2W&) {};
    setChar(0, 5, CFM_BOLD | CFM_ITALIC, CFE_BOLD | CFE_ITALIC, none);
    setChar(6, 13, CFM_UNDERLINE | CFM_STRIKEOUT, CFE_UNDERLINE | CFE_STRIKEOUT, none);
    setChar(14, 20, CFM_COLOR | CFM_SIZE, 0, [](CHARFORMAT2W& f) {
        f.crTextColor = RGB(10, 20, 30);
        f.yHeight = 280;
    });
    setChar(26, 31, CFM_FACE | CFM_OFFSET, 0, [](CHARFORMAT2W& f) {
        std::u16string face = u"Courier New";
        std::copy(face.begin(), face.end(), f.szFaceName);
        f.yOffset = -40;
    });
    Select(rich, 26, 26);
    PARAFORMAT2 para{};
    para.cbSize = sizeof(para);
    para.dwMask = PFM_ALIGNMENT | PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET;
    para.wAlignment = PFA_CENTER;
    para.dxStartIndent = 720;
    para.dxRightIndent = 360;
    para.dxOffset = -200;
    SendMessageW(rich, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&para));

    std::string rtf = StreamOut(rich);
    HWND copy = Rich();
    StreamIn(copy, rtf);
    ASSERT_EQ(WindowText(copy), WindowText(rich));
    LRESULT length = GetWindowTextLengthW(rich);
    for (LONG pos = 0; pos < length; ++pos) {
        SCOPED_TRACE(pos);
        CHARFORMAT2W a = CharFormatAt(rich, pos);
        CHARFORMAT2W b = CharFormatAt(copy, pos);
        EXPECT_EQ(String(a.szFaceName), String(b.szFaceName));
        EXPECT_EQ(a.yHeight, b.yHeight);
        EXPECT_EQ(a.dwEffects, b.dwEffects);
        EXPECT_EQ(a.crTextColor & 0xFFFFFF, b.crTextColor & 0xFFFFFF);
        EXPECT_EQ(a.yOffset, b.yOffset);
        PARAFORMAT2 pa = ParaFormatAt(rich, pos);
        PARAFORMAT2 pb = ParaFormatAt(copy, pos);
        EXPECT_EQ(pa.wAlignment, pb.wAlignment);
        EXPECT_EQ(pa.dxStartIndent, pb.dxStartIndent);
        EXPECT_EQ(pa.dxRightIndent, pb.dxRightIndent);
        EXPECT_EQ(pa.dxOffset, pb.dxOffset);
    }
    EXPECT_EQ(ParaFormatAt(copy, 27).wAlignment, PFA_CENTER);
    EXPECT_EQ(StreamOut(copy), rtf);
    // What is written is 7-bit, whatever the text holds.
    EXPECT_TRUE(
        std::all_of(rtf.begin(), rtf.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

// The fuzz target's corpus, with every crash input it found, read as the target reads it.
TEST(RichEditRtf, FuzzCorpusReadsAndRoundTrips) {
    auto files = testing_support::FuzzFixtures({ZELMOR_TESTS_SOURCE "/fuzz/corpus/rtf"});
    ASSERT_FALSE(files.empty());
    for (const auto& [name, bytes] : files)
        EXPECT_TRUE(ReadRtfFuzzInput(bytes)) << name;
}

TEST_F(RichEditTest, StreamsOfTextAndSelections) {
    HWND rich = Rich();
    // Plain text in: each kind of line break makes a paragraph.
    StreamIn(rich, "a\r\nb\rc\nd \xE2\x82\xAC", SF_TEXT);
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"a\rb\rc\rd \u20AC");
    EXPECT_EQ(TextEx(rich, GT_USECRLF), u"a\r\nb\r\nc\r\nd \u20AC");
    EXPECT_EQ(StreamOut(rich, SF_TEXT), "a\r\nb\r\nc\r\nd \xE2\x82\xAC");
    std::string wide = StreamOut(rich, SF_TEXT | SF_UNICODE);
    EXPECT_EQ(wide.size(), 24u);

    // Into the selection, RTF and text; out of it, only the selection.
    Select(rich, 2, 3);
    StreamIn(rich, "{\\rtf1 {\\b X}\\par Y}", SF_RTF | SFF_SELECTION);
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"a\rX\rY\rc\rd \u20AC");
    EXPECT_TRUE(CharFormatAt(rich, 2).dwEffects & CFE_BOLD);
    Select(rich, 0, 1);
    StreamIn(rich, "Z", SF_TEXT | SFF_SELECTION);
    Select(rich, 0, 3);
    EXPECT_EQ(StreamOut(rich, SF_TEXT | SFF_SELECTION), "Z\r\nX");
    std::string part = StreamOut(rich, SF_RTF | SFF_SELECTION);
    HWND other = Rich();
    StreamIn(other, part);
    EXPECT_EQ(WindowText(other), u"Z\r\nX");
}

TEST_F(RichEditTest, GetTextExCutsToTheBufferWholeCharacters) {
    HWND rich = Rich();
    SetWindowTextW(rich, u"a\u20ACb\r\nc");
    struct Case {
        DWORD size;
        UINT codePage;
        std::string text;
    };
    const Case cases[] = {
        {64, CP_UTF8,
         "a\xE2\x82\xAC"
         "b\rc"},
        {3, CP_UTF8, "a"}, // the euro sign's three bytes do not fit after "a"
        {5, CP_UTF8, "a\xE2\x82\xAC"},
        {1, CP_UTF8, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        char buffer[65];
        std::fill(std::begin(buffer), std::end(buffer), 'X');
        GETTEXTEX info{c.size, GT_DEFAULT, c.codePage, nullptr, nullptr};
        LRESULT count = SendMessageW(rich, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&info),
                                     reinterpret_cast<LPARAM>(buffer));
        EXPECT_EQ(std::string(buffer, static_cast<size_t>(count)), c.text);
        EXPECT_EQ(buffer[count], '\0');
        EXPECT_EQ(buffer[c.size], 'X');
    }
    // A Unicode buffer of two characters holds one and the terminator.
    Char wide[4] = {u'X', u'X', u'X', u'X'};
    GETTEXTEX info{2 * sizeof(Char), GT_USECRLF, CP_UNICODE, nullptr, nullptr};
    EXPECT_EQ(
        SendMessageW(rich, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&info), reinterpret_cast<LPARAM>(wide)), 1);
    EXPECT_EQ(wide[0], u'a');
    EXPECT_EQ(wide[1], 0);
    EXPECT_EQ(wide[2], u'X');
}

TEST_F(RichEditTest, StreamCallbacksInSmallChunksAndErrors) {
    HWND rich = Rich();
    Source bytes;
    bytes.chunk = 1;
    StreamIn(rich, "{\\rtf1 \\u8364?\\'e9 ok}", SF_RTF, &bytes);
    EXPECT_EQ(WindowText(rich), u"\u20AC\u00E9 ok");

    // A callback's error ends the reading; what came before it is kept, and the error is reported.
    Source failing;
    failing.chunk = 4;
    failing.failAfter = 2;
    failing.error = 42;
    StreamIn(rich, "abcdefghijkl", SF_TEXT, &failing);
    EXPECT_EQ(failing.error, 42u);
    EXPECT_EQ(WindowText(rich), u"abcdefgh");

    Sink sink;
    sink.failAfter = 0;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&sink), 0, Sink::Write};
    EXPECT_EQ(SendMessageW(rich, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream)), 0);
    EXPECT_EQ(stream.dwError, 7u);
    EXPECT_EQ(SendMessageW(rich, EM_STREAMIN, SF_TEXT, 0), 0);
}

TEST_F(RichEditTest, CharFormatOfSelectionDefaultAndAll) {
    HWND rich = Rich();
    SetWindowTextW(rich, u"abcd");
    CHARFORMAT2W bold{};
    bold.cbSize = sizeof(bold);
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    Select(rich, 1, 2);
    EXPECT_TRUE(SendMessageW(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold)));

    // A mixed selection answers only what is the same throughout.
    Select(rich, 0, 3);
    CHARFORMAT2W mixed{};
    mixed.cbSize = sizeof(mixed);
    DWORD mask = static_cast<DWORD>(
        SendMessageW(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&mixed)));
    EXPECT_EQ(mask & CFM_BOLD, 0u);
    EXPECT_NE(mask & CFM_ITALIC, 0u);
    EXPECT_EQ(mixed.dwMask, mask);

    // The short record (92 bytes) carries the offset that makes superscript.
    CHARFORMATW small{};
    small.cbSize = sizeof(small);
    ASSERT_EQ(sizeof(small), 92u);
    small.dwMask = CFM_OFFSET;
    small.yOffset = 40;
    Select(rich, 3, 4);
    SendMessageW(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&small));
    CHARFORMATW read{};
    read.cbSize = sizeof(read);
    SendMessageW(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&read));
    EXPECT_EQ(read.yOffset, 40);

    // A record of a size the control does not know is refused.
    CHARFORMAT2W bad = bold;
    bad.cbSize = 10;
    EXPECT_EQ(SendMessageW(rich, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&bad)), 0);
    EXPECT_EQ(SendMessageW(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bad)), 0);

    // An empty selection's format is what typing there gives.
    Select(rich, 4, 4);
    CHARFORMAT2W italic{};
    italic.cbSize = sizeof(italic);
    italic.dwMask = CFM_ITALIC;
    italic.dwEffects = CFE_ITALIC;
    SendMessageW(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&italic));
    SendMessageW(rich, WM_CHAR, 'e', 0);
    EXPECT_TRUE(CharFormatAt(rich, 4).dwEffects & CFE_ITALIC);
    EXPECT_FALSE(CharFormatAt(rich, 2).dwEffects & CFE_ITALIC);

    // SCF_ALL changes every character; SCF_DEFAULT only text that is to come into an empty control.
    CHARFORMAT2W size{};
    size.cbSize = sizeof(size);
    size.dwMask = CFM_SIZE;
    size.yHeight = 400;
    SendMessageW(rich, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&size));
    for (LONG pos = 0; pos < 5; ++pos)
        EXPECT_EQ(CharFormatAt(rich, pos).yHeight, 400);
    size.yHeight = 160;
    SendMessageW(rich, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&size));
    EXPECT_EQ(CharFormatAt(rich, 0).yHeight, 400);
    SetWindowTextW(rich, u"new");
    EXPECT_EQ(CharFormatAt(rich, 0).yHeight, 160);
}

TEST_F(RichEditTest, EditingKeysChangeTextSelectionAndNotify) {
    HWND rich = Rich();
    wintest::MessageLog log;
    SetFocus(rich);
    Type(u"abc");
    // Without the event mask the parent hears of no change.
    EXPECT_TRUE(Notifications(log, FParent, rich).empty() ||
                Notifications(log, FParent, rich) == std::vector<WORD>{EN_SETFOCUS});
    SendMessageW(rich, EM_SETEVENTMASK, 0, ENM_CHANGE);
    log.Clear();
    Press(VK_LEFT);
    Press(VK_BACK);
    EXPECT_EQ(WindowText(rich), u"ac");
    EXPECT_EQ(Notifications(log, FParent, rich), std::vector<WORD>{EN_CHANGE});
    Press(VK_RETURN);
    EXPECT_EQ(WindowText(rich), u"a\r\nc");
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"a\rc");
    CHARRANGE sel{};
    SendMessageW(rich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(sel.cpMin, 2);
    Chord(VK_SHIFT, VK_END);
    SendMessageW(rich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(sel.cpMin, 2);
    EXPECT_EQ(sel.cpMax, 3);
    Press(VK_DELETE);
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"a\r");
    Chord(VK_CONTROL, 'Z');
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"a\rc");
    EXPECT_EQ(SendMessageW(rich, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(rich, EM_LINEINDEX, 1, 0), 2);
    EXPECT_TRUE(SendMessageW(rich, EM_GETMODIFY, 0, 0));

    // New text, odd or not, is no user change.
    const Char odd[] = {u'x', 0xD800, u'\r', u'y', u'\n', 0xDC00, 0};
    SetWindowTextW(rich, odd);
    EXPECT_FALSE(SendMessageW(rich, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), (String{u'x', 0xD800, u'\r', u'y', u'\r', 0xDC00}));
    std::string rtf = StreamOut(rich);
    HWND copy = Rich();
    StreamIn(copy, rtf);
    EXPECT_EQ(TextEx(copy, GT_DEFAULT), TextEx(rich, GT_DEFAULT));
}

TEST_F(RichEditTest, MouseSelectsByPositionAndWord) {
    HWND rich = Rich();
    SetWindowTextW(rich, u"alpha beta\r\ngamma");
    auto at = [&](LONG index) {
        POINT point{};
        SendMessageW(rich, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), index);
        return point;
    };
    auto sel = [&] {
        CHARRANGE range{};
        SendMessageW(rich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return std::make_pair(range.cpMin, range.cpMax);
    };
    POINT second = at(2);
    POINT gamma = at(13);
    EXPECT_GT(second.x, at(0).x);
    EXPECT_GT(gamma.y, second.y);
    EXPECT_EQ(SendMessageW(rich, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&gamma)), 13);

    Click(rich, second.x, second.y + 2);
    EXPECT_EQ(GetFocus(), rich);
    EXPECT_EQ(sel(), std::make_pair(2, 2));
    win32::input::Key(VK_SHIFT, true);
    Click(rich, gamma.x, gamma.y + 2);
    win32::input::Key(VK_SHIFT, false);
    PumpInput();
    EXPECT_EQ(sel(), std::make_pair(2, 13));

    POINT beta = at(7);
    Click(rich, beta.x, beta.y + 2, true);
    EXPECT_EQ(sel(), std::make_pair(6, 10));
}

// Puts a CF_UNICODETEXT block holding exactly these characters, with or without a zero of their own.
void SetClipboardBlock(const String& chars) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, chars.size() * sizeof(Char));
    std::copy(chars.begin(), chars.end(), static_cast<Char*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

TEST_F(RichEditTest, ClipboardKeysCutCopyAndPastePlainText) {
    HWND rich = Rich();
    // What the rich edit puts on the clipboard, as an edit control pastes it.
    HWND edit = Child(u"Edit", ES_MULTILINE, RECT{10, 220, 310, 280});
    auto clipboard = [&] {
        SetWindowTextW(edit, u"");
        SendMessageW(edit, WM_PASTE, 0, 0);
        return WindowText(edit);
    };
    SetFocus(rich);
    StreamIn(rich, "{\\rtf1 one\\par {\\b two}}");
    Select(rich, 0, -1);
    Chord(VK_CONTROL, 'C');
    EXPECT_EQ(clipboard(), u"one\r\ntwo");
    Select(rich, 4, 7);
    Chord(VK_CONTROL, 'X');
    EXPECT_EQ(clipboard(), u"two");
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"one\r");
    Chord(VK_SHIFT, VK_INSERT);
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"one\rtwo");

    // The pasted text ends at its zero or at the end of a block that has none.
    SetClipboardBlock(String{u'a', u'b', 0, u'c'});
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"one\rtwoab");
    SetClipboardBlock(u"xyz");
    SendMessageW(rich, WM_PASTE, 0, 0);
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"one\rtwoabxyz");

    // A read-only control gives its text but takes none.
    SendMessageW(rich, EM_SETREADONLY, TRUE, 0);
    Select(rich, 0, 3);
    SendMessageW(rich, WM_CUT, 0, 0);
    SendMessageW(rich, WM_PASTE, 0, 0);
    EXPECT_EQ(TextEx(rich, GT_DEFAULT), u"one\rtwoabxyz");
    SendMessageW(rich, WM_COPY, 0, 0);
    EXPECT_EQ(clipboard(), u"one");
}

// EN_REQUESTRESIZE tells the parent the height the text needs.
class ResizeParent {
public:
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code == EN_REQUESTRESIZE)
                Requests().push_back(reinterpret_cast<const REQRESIZE*>(lParam)->rc);
        }
        return CallWindowProcW(Original(), hwnd, message, wParam, lParam);
    }
    static std::vector<RECT>& Requests() {
        static std::vector<RECT> requests;
        return requests;
    }
    static WNDPROC& Original() {
        static WNDPROC original = nullptr;
        return original;
    }
    explicit ResizeParent(HWND parent) : FParent(parent) {
        Requests().clear();
        Original() = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~ResizeParent() { SetWindowLongPtrW(FParent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Original())); }

private:
    HWND FParent;
};

TEST_F(RichEditTest, RequestResizeFollowsTheTextHeight) {
    HWND rich = Rich(ES_MULTILINE, RECT{0, 0, 200, 20});
    ResizeParent parent(FParent);
    SetWindowTextW(rich, u"one");
    EXPECT_TRUE(ResizeParent::Requests().empty());
    SendMessageW(rich, EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    SendMessageW(rich, EM_REQUESTRESIZE, 0, 0);
    ASSERT_EQ(ResizeParent::Requests().size(), 1u);
    RECT one = ResizeParent::Requests().back();
    int lineHeight = one.bottom - one.top;
    EXPECT_GT(lineHeight, 8);
    EXPECT_EQ(one.right - one.left, 199); // a wrapping text asks for its width

    SetWindowTextW(rich, u"one\r\ntwo\r\nthree");
    ASSERT_EQ(ResizeParent::Requests().size(), 2u);
    EXPECT_EQ(ResizeParent::Requests().back().bottom - ResizeParent::Requests().back().top, 3 * lineHeight);
    // The same height is not asked for again, but EM_REQUESTRESIZE always asks.
    SendMessageW(rich, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"x"));
    EXPECT_EQ(ResizeParent::Requests().size(), 2u);
    SendMessageW(rich, EM_REQUESTRESIZE, 0, 0);
    EXPECT_EQ(ResizeParent::Requests().size(), 3u);

    // A long line wraps in the window's width and asks for more lines.
    SetWindowTextW(rich, u"word word word word word word word word word word word word");
    EXPECT_GT(ResizeParent::Requests().back().bottom - ResizeParent::Requests().back().top, lineHeight);
}

class RichEditFormatRangeTest : public RichEditTest {
protected:
    void SetUp() override {
        RichEditTest::SetUp();
        FScreen = GetDC(nullptr);
        FDC = CreateCompatibleDC(FScreen);
        FBitmap = CreateCompatibleBitmap(FScreen, 400, 400);
        FOld = SelectObject(FDC, FBitmap);
        RECT all{0, 0, 400, 400};
        FillRect(FDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    void TearDown() override {
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
        ReleaseDC(nullptr, FScreen);
        RichEditTest::TearDown();
    }
    // Lays out [from, -1) in a rectangle of pixels (at 96 dpi, 15 twips each).
    LRESULT Format(HWND rich, LONG from, RECT pixels, bool render) {
        FORMATRANGE range{};
        range.hdc = FDC;
        range.hdcTarget = FDC;
        range.rc = RECT{pixels.left * 15, pixels.top * 15, pixels.right * 15, pixels.bottom * 15};
        range.rcPage = range.rc;
        range.chrg = CHARRANGE{from, -1};
        return SendMessageW(rich, EM_FORMATRANGE, render ? 1 : 0, reinterpret_cast<LPARAM>(&range));
    }
    int LineHeight(HWND rich) {
        ResizeParent parent(FParent);
        SendMessageW(rich, EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
        SendMessageW(rich, EM_REQUESTRESIZE, 0, 0);
        RECT rc = ResizeParent::Requests().back();
        SendMessageW(rich, EM_SETEVENTMASK, 0, 0);
        return rc.bottom - rc.top;
    }
    bool Inked(RECT area) {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if ((GetPixel(FDC, x, y) & 0xFFFFFF) != 0xFFFFFF)
                    return true;
        return false;
    }

    HDC FScreen = nullptr;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
};

TEST_F(RichEditFormatRangeTest, PagesEndAtTheFirstCharacterThatDidNotFit) {
    HWND rich = Rich();
    SetWindowTextW(rich, u"p0\r\np1\r\np2\r\np3\r\np4\r\np5\r\np6");
    int line = LineHeight(rich) / 7;
    ASSERT_GT(line, 0);
    // Pages of three and a half lines hold three paragraphs each.
    RECT page{0, 0, 300, line * 3 + line / 2};
    std::vector<LRESULT> starts;
    LRESULT from = 0;
    while (from < 20 && starts.size() < 10) {
        starts.push_back(from);
        from = Format(rich, static_cast<LONG>(from), page, false);
    }
    EXPECT_EQ(starts, (std::vector<LRESULT>{0, 9, 18}));
    EXPECT_EQ(from, 20);
    // A page that holds everything answers the length.
    EXPECT_EQ(Format(rich, 0, RECT{0, 0, 300, 400}, false), 20);
    // A page lower than one line still takes one, so that printing always moves on.
    EXPECT_EQ(Format(rich, 0, RECT{0, 0, 300, 2}, false), 3);
    // No range frees the cache and answers 0.
    EXPECT_EQ(SendMessageW(rich, EM_FORMATRANGE, 0, 0), 0);
}

TEST_F(RichEditFormatRangeTest, LongParagraphsBreakAtWordsWithinThePage) {
    HWND rich = Rich();
    SetWindowTextW(rich, u"alpha beta gamma delta epsilon zeta eta theta iota kappa");
    int line = LineHeight(rich);
    LRESULT next = Format(rich, 0, RECT{0, 0, 80, line + line / 2}, false);
    ASSERT_GT(next, 0);
    ASSERT_LT(next, 56);
    String text = WindowText(rich);
    // The page ends after a space, at the start of a word.
    EXPECT_EQ(text[static_cast<size_t>(next) - 1], u' ');
    EXPECT_NE(text[static_cast<size_t>(next)], u' ');
}

TEST_F(RichEditFormatRangeTest, RenderingDrawsOnlyInsideTheRectangle) {
    HWND rich = Rich();
    StreamIn(rich,
             "{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;}\\cf1\\fs40 WWW\\par WWW\\par WWW\\par WWW}");
    RECT area{20, 20, 200, 60};
    Format(rich, 0, area, false);
    EXPECT_FALSE(Inked(RECT{0, 0, 240, 120}));
    LRESULT next = Format(rich, 0, area, true);
    EXPECT_GT(next, 0);
    EXPECT_LT(next, 15);
    EXPECT_TRUE(Inked(area));
    EXPECT_FALSE(Inked(RECT{0, 0, 240, 20}));
    EXPECT_FALSE(Inked(RECT{0, 60, 240, 120}));
    EXPECT_FALSE(Inked(RECT{0, 0, 20, 120}));
    bool red = false;
    for (int y = area.top; y < area.bottom && !red; ++y)
        for (int x = area.left; x < area.right && !red; ++x)
            red = (GetPixel(FDC, x, y) & 0xFFFFFF) == RGB(255, 0, 0);
    EXPECT_TRUE(red);
}

TEST_F(RichEditFormatRangeTest, AlignmentPlacesTheLine) {
    HWND rich = Rich();
    StreamIn(rich, "{\\rtf1\\pard\\qr\\fs40 II}");
    RECT area{0, 0, 300, 100};
    Format(rich, 0, area, true);
    EXPECT_FALSE(Inked(RECT{0, 0, 200, 100}));
    EXPECT_TRUE(Inked(RECT{250, 0, 300, 100}));

    // A justified line reaches both edges; the paragraph's last line stays left.
    RECT all{0, 0, 400, 400};
    FillRect(FDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    StreamIn(rich, "{\\rtf1 I}");
    int line = LineHeight(rich);
    StreamIn(rich, "{\\rtf1\\pard\\qj I I I I I I I I I I I I I I I I I I I I I I I I I I I I I I I I I I I "
                   "I I I I I I I I I}");
    Format(rich, 0, RECT{0, 0, 200, 400}, true);
    EXPECT_TRUE(Inked(RECT{190, 0, 200, line}));
    RECT lastLine{190, 0, 200, 400};
    int lines = 0;
    for (int y = 0; y < 400; y += line)
        lines += Inked(RECT{0, y, 200, y + line}) ? 1 : 0;
    ASSERT_GE(lines, 2);
    lastLine.top = (lines - 1) * line;
    lastLine.bottom = lines * line;
    EXPECT_FALSE(Inked(lastLine));
}

TEST_F(RichEditFormatRangeTest, WindowPaintsItsBackgroundColourAndText) {
    HWND rich = Rich(ES_MULTILINE, RECT{0, 0, 100, 40});
    StreamIn(rich, "{\\rtf1\\fs40 WW}");
    SendMessageW(rich, EM_SETBKGNDCOLOR, 0, RGB(0, 0, 255));
    SendMessageW(rich, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(FDC), 0);
    EXPECT_EQ(GetPixel(FDC, 95, 35) & 0xFFFFFF, RGB(0, 0, 255));
    bool text = false;
    for (int y = 0; y < 40 && !text; ++y)
        for (int x = 0; x < 60 && !text; ++x)
            text = (GetPixel(FDC, x, y) & 0xFFFFFF) == GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_TRUE(text);
}

} // namespace
