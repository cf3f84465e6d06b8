// Reading and writing the rich text format of a rich edit's document: fonts, colours, character
// effects and sizes, paragraphs with their alignment and indents, and characters beyond ASCII.
//
// The reader takes any bytes: what it does not know it skips, groups deeper than MaxGroupDepth are
// skipped whole, numbers are clamped, and text stops at MaxDocumentLength.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "platform/win32/codepage.h"
#include "platform/win32/richedit.h"

namespace win32::richedit {

namespace {

// The code page a font's character set writes its \'hh bytes in. Only the pages the platform can
// decode are told apart; the others read as Windows-1252, so that no byte is lost.
UINT CodePageOfCharSet(int charSet) {
    return charSet == OEM_CHARSET ? 437 : 1252;
}

String Decode(UINT codePage, const std::string& bytes) {
    int size = static_cast<int>(bytes.size());
    int count = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    String out(static_cast<size_t>(std::max(count, 0)), u'\0');
    if (count > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), count);
    return out;
}

// What a control word does.
enum class Word {
    Unknown,
    // Destinations.
    FontTable,
    ColorTable,
    Skip,
    // Document.
    Ansi,
    Pc,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    Binary,
    // Characters.
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    Font,
    Color,
    Up,
    Down,
    Plain,
    // Paragraphs.
    Par,
    Pard,
    Left,
    Center,
    Right,
    Justify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    // Font and colour tables.
    CharSet,
    Red,
    Green,
    Blue,
    // Special characters.
    Tab,
    Line,
    Symbol,
};

struct WordEntry {
    const char* name;
    Word word;
    char16_t symbol = 0; // for Word::Symbol
};

// Sorted by name for the binary search in Lookup.
constexpr std::array Words = {
    WordEntry{"ansi", Word::Ansi},
    WordEntry{"ansicpg", Word::AnsiCodePage},
    WordEntry{"author", Word::Skip},
    WordEntry{"b", Word::Bold},
    WordEntry{"bin", Word::Binary},
    WordEntry{"blue", Word::Blue},
    WordEntry{"bullet", Word::Symbol, u'\u2022'},
    // A table's cells read as text apart by tabs, and its rows as paragraphs.
    WordEntry{"cell", Word::Tab},
    WordEntry{"cf", Word::Color},
    WordEntry{"colortbl", Word::ColorTable},
    WordEntry{"comment", Word::Skip},
    WordEntry{"datastore", Word::Skip},
    WordEntry{"deff", Word::DefaultFont},
    WordEntry{"dn", Word::Down},
    WordEntry{"emdash", Word::Symbol, u'\u2014'},
    WordEntry{"endash", Word::Symbol, u'\u2013'},
    WordEntry{"f", Word::Font},
    WordEntry{"fcharset", Word::CharSet},
    WordEntry{"fi", Word::FirstIndent},
    WordEntry{"fldinst", Word::Skip},
    WordEntry{"fonttbl", Word::FontTable},
    WordEntry{"footer", Word::Skip},
    WordEntry{"footerf", Word::Skip},
    WordEntry{"footerl", Word::Skip},
    WordEntry{"footerr", Word::Skip},
    WordEntry{"footnote", Word::Skip},
    WordEntry{"fs", Word::FontSize},
    WordEntry{"green", Word::Green},
    WordEntry{"header", Word::Skip},
    WordEntry{"headerf", Word::Skip},
    WordEntry{"headerl", Word::Skip},
    WordEntry{"headerr", Word::Skip},
    WordEntry{"i", Word::Italic},
    WordEntry{"info", Word::Skip},
    WordEntry{"ldblquote", Word::Symbol, u'\u201C'},
    WordEntry{"li", Word::LeftIndent},
    WordEntry{"line", Word::Line},
    WordEntry{"listoverridetable", Word::Skip},
    WordEntry{"listtable", Word::Skip},
    WordEntry{"lquote", Word::Symbol, u'\u2018'},
    WordEntry{"nonshppict", Word::Skip},
    WordEntry{"object", Word::Skip},
    WordEntry{"par", Word::Par},
    WordEntry{"pard", Word::Pard},
    WordEntry{"pc", Word::Pc},
    WordEntry{"pict", Word::Skip},
    WordEntry{"plain", Word::Plain},
    WordEntry{"pntext", Word::Skip},
    WordEntry{"qc", Word::Center},
    WordEntry{"qj", Word::Justify},
    WordEntry{"ql", Word::Left},
    WordEntry{"qr", Word::Right},
    WordEntry{"rdblquote", Word::Symbol, u'\u201D'},
    WordEntry{"red", Word::Red},
    WordEntry{"ri", Word::RightIndent},
    WordEntry{"row", Word::Par},
    WordEntry{"rquote", Word::Symbol, u'\u2019'},
    WordEntry{"strike", Word::Strike},
    WordEntry{"stylesheet", Word::Skip},
    WordEntry{"tab", Word::Tab},
    WordEntry{"u", Word::Unicode},
    WordEntry{"uc", Word::UnicodeSkip},
    WordEntry{"ul", Word::Underline},
    WordEntry{"uld", Word::Underline},
    WordEntry{"uldb", Word::Underline},
    WordEntry{"ulnone", Word::UnderlineNone},
    WordEntry{"ulw", Word::Underline},
    WordEntry{"up", Word::Up},
};

const WordEntry* Lookup(std::string_view name) {
    auto found = std::lower_bound(Words.begin(), Words.end(), name,
                                  [](const WordEntry& entry, std::string_view n) { return entry.name < n; });
    return found != Words.end() && found->name == name ? &*found : nullptr;
}

enum class Destination { Text, FontTable, ColorTable, Skip };

struct Font {
    String face;
    int charSet = DEFAULT_CHARSET;
};

// What a group saves and restores.
struct GroupState {
    CharFormat format;
    int font = -1; // the \f number in force, -1 before any
    ParaFormat para;
    int unicodeSkip = 1; // fallback characters after \uN
    Destination destination = Destination::Text;
};

constexpr int MaxNumber = 1 << 24;
constexpr LONG MaxIndent = 1 << 22; // twips, far beyond any page

class RtfReader {
public:
    RtfReader(std::string_view data, const CharFormat& base, Document& out) : FData(data), FOut(out) {
        FBase = base;
        FBase.effects = CFE_AUTOCOLOR;
        FBase.offset = 0;
        FState.format = FBase;
    }

    void Read();

private:
    void OpenGroup();
    bool CloseGroup(); // false at the end of the document
    void ControlWord();
    void ControlSymbol(char c);
    void Apply(const WordEntry* entry, bool hasParam, int param);
    void Byte(char c, bool escaped);
    void FlushBytes();
    void Text(const String& text);
    void Emit(Char c);
    void Break();
    void CommitFont();
    void CommitColor();
    void SetFont(int number);
    // A control word, byte or character in the fallback of \uN is skipped; answers whether it was.
    bool SkipFallback() {
        if (FFallback <= 0)
            return false;
        --FFallback;
        return true;
    }
    UINT CodePage() const {
        auto found = FFonts.find(FState.font);
        return found != FFonts.end() ? CodePageOfCharSet(found->second.charSet) : FDocumentCodePage;
    }

    std::string_view FData;
    size_t FPos = 0;
    Document& FOut;
    CharFormat FBase;
    GroupState FState;
    std::vector<GroupState> FStack;
    int FSkipDepth = 0;    // groups opened beyond MaxGroupDepth, skipped whole
    int FFallback = 0;     // characters of a \uN fallback still to skip
    std::string FBytes;    // bytes waiting to be decoded together
    bool FBytesRaw = true; // none of them came as \'hh
    UINT FDocumentCodePage = 1252;
    int FDefaultFont = -1;
    std::map<int, Font> FFonts;
    int FFontNumber = -1; // the font table entry being read
    Font FFontEntry;
    std::vector<std::optional<COLORREF>> FColors; // nullopt is the automatic colour
    int FRed = 0, FGreen = 0, FBlue = 0;
    bool FColorGiven = false;
    int FFormatIndex = -1;       // of FState.format in the output, -1 when it must be looked up again
    bool FTrailingBreak = false; // the last thing read was \par
    ParaFormat FLastPara;
};

void RtfReader::Read() {
    // The opening brace of the document itself.
    FPos = 1;
    while (FPos < FData.size()) {
        char c = FData[FPos++];
        switch (c) {
        case '{':
            FlushBytes();
            OpenGroup();
            break;
        case '}':
            FlushBytes();
            if (!CloseGroup())
                FPos = FData.size();
            break;
        case '\\':
            if (FPos >= FData.size())
                break;
            if (std::isalpha(static_cast<unsigned char>(FData[FPos]))) {
                FlushBytes();
                ControlWord();
            } else {
                ControlSymbol(FData[FPos++]);
            }
            break;
        case '\r':
        case '\n':
            break;
        default:
            if (FSkipDepth == 0 && !SkipFallback())
                Byte(c, false);
        }
    }
    FlushBytes();
    if (FTrailingBreak && FOut.ParagraphCount() > 1) {
        // The break of the last paragraph is the document's own end, not an empty paragraph after it.
        int last = FOut.ParagraphCount() - 1;
        FOut.SetPara(last, FOut.Para(last - 1));
        FOut.Replace(FOut.Length() - 1, FOut.Length(), Document());
        FOut.SetPara(last - 1, FLastPara);
    } else {
        FOut.SetLastPara(FState.para);
    }
}

void RtfReader::OpenGroup() {
    FFallback = 0;
    if (FSkipDepth > 0 || static_cast<int>(FStack.size()) >= MaxGroupDepth) {
        ++FSkipDepth;
        return;
    }
    FStack.push_back(FState);
}

bool RtfReader::CloseGroup() {
    FFallback = 0;
    if (FSkipDepth > 0) {
        --FSkipDepth;
        return true;
    }
    if (FStack.empty())
        return false;
    if (FState.destination == Destination::FontTable && FFontNumber >= 0)
        CommitFont();
    FState = FStack.back();
    FStack.pop_back();
    FFormatIndex = -1;
    return true;
}

void RtfReader::ControlWord() {
    size_t start = FPos;
    while (FPos < FData.size() && std::isalpha(static_cast<unsigned char>(FData[FPos])))
        ++FPos;
    std::string_view name = FData.substr(start, FPos - start);
    bool negative = false;
    if (FPos + 1 < FData.size() && FData[FPos] == '-' &&
        std::isdigit(static_cast<unsigned char>(FData[FPos + 1]))) {
        negative = true;
        ++FPos;
    }
    bool hasParam = false;
    long long param = 0;
    while (FPos < FData.size() && std::isdigit(static_cast<unsigned char>(FData[FPos]))) {
        hasParam = true;
        param = std::min<long long>(param * 10 + (FData[FPos] - '0'), MaxNumber);
        ++FPos;
    }
    if (FPos < FData.size() && FData[FPos] == ' ')
        ++FPos;
    if (negative)
        param = -param;
    if (FSkipDepth > 0)
        return;
    const WordEntry* entry = Lookup(name);
    // \bin's data is skipped in every destination, and counts for nothing in a fallback.
    if (entry && entry->word == Word::Binary) {
        size_t length = hasParam && param > 0 ? static_cast<size_t>(param) : 0;
        FPos += std::min(length, FData.size() - FPos);
        return;
    }
    if (entry && entry->word == Word::Unicode && FState.destination != Destination::Skip && FFallback == 0) {
        Apply(entry, hasParam, static_cast<int>(param));
        return;
    }
    if (SkipFallback())
        return;
    if (entry)
        Apply(entry, hasParam, static_cast<int>(param));
}

void RtfReader::ControlSymbol(char c) {
    if (FSkipDepth > 0)
        return;
    switch (c) {
    case '\'': {
        // Two hex digits; a broken escape is dropped.
        auto hex = [](char h) {
            return h >= '0' && h <= '9'   ? h - '0'
                   : h >= 'a' && h <= 'f' ? h - 'a' + 10
                   : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                          : -1;
        };
        int high = FPos < FData.size() ? hex(FData[FPos]) : -1;
        int low = FPos + 1 < FData.size() ? hex(FData[FPos + 1]) : -1;
        if (high < 0 || low < 0)
            return;
        FPos += 2;
        if (!SkipFallback())
            Byte(static_cast<char>(high * 16 + low), true);
        return;
    }
    case '*':
        FlushBytes();
        FState.destination = Destination::Skip;
        return;
    case '\\':
    case '{':
    case '}':
        if (!SkipFallback())
            Byte(c, false);
        return;
    default:
        break;
    }
    FlushBytes();
    if (SkipFallback())
        return;
    switch (c) {
    case '~':
        Emit(u'\u00A0');
        break;
    case '_':
        Emit(u'\u2011');
        break;
    case '\r':
    case '\n':
        Break();
        break;
    default:
        // \- (optional hyphen) and unknown symbols show nothing.
        break;
    }
}

void RtfReader::Apply(const WordEntry* entry, bool hasParam, int param) {
    bool on = !hasParam || param != 0;
    auto effect = [&](DWORD bit) {
        FState.format.effects = on ? (FState.format.effects | bit) : (FState.format.effects & ~bit);
        FFormatIndex = -1;
    };
    auto formatChanged = [&] { FFormatIndex = -1; };
    switch (entry->word) {
    case Word::FontTable:
        FState.destination = Destination::FontTable;
        FFontNumber = -1;
        break;
    case Word::ColorTable:
        FState.destination = Destination::ColorTable;
        FColors.clear();
        FColorGiven = false;
        FRed = FGreen = FBlue = 0;
        break;
    case Word::Skip:
        FState.destination = Destination::Skip;
        break;
    case Word::Ansi:
        FDocumentCodePage = 1252;
        break;
    case Word::Pc:
        FDocumentCodePage = 437;
        break;
    case Word::AnsiCodePage:
        FDocumentCodePage = param == 437 || param == 65001 ? static_cast<UINT>(param) : 1252;
        break;
    case Word::DefaultFont:
        FDefaultFont = param;
        break;
    case Word::UnicodeSkip:
        FState.unicodeSkip = std::clamp(param, 0, 8);
        break;
    case Word::Unicode:
        if (hasParam)
            Emit(static_cast<Char>(static_cast<unsigned>(param) & 0xFFFF));
        FFallback = FState.unicodeSkip;
        break;
    case Word::Bold:
        effect(CFE_BOLD);
        break;
    case Word::Italic:
        effect(CFE_ITALIC);
        break;
    case Word::Underline:
        effect(CFE_UNDERLINE);
        break;
    case Word::UnderlineNone:
        on = false;
        effect(CFE_UNDERLINE);
        break;
    case Word::Strike:
        effect(CFE_STRIKEOUT);
        break;
    case Word::FontSize:
        if (hasParam && param > 0) {
            FState.format.height = std::min(param, 3276) * 10;
            formatChanged();
        }
        break;
    case Word::Font:
        if (FState.destination == Destination::FontTable) {
            if (FFontNumber >= 0)
                CommitFont();
            FFontNumber = std::max(param, 0);
            FFontEntry = Font{};
        } else {
            SetFont(param);
        }
        break;
    case Word::Color: {
        bool known =
            param > 0 && param < static_cast<int>(FColors.size()) && FColors[static_cast<size_t>(param)];
        if (known) {
            FState.format.color = *FColors[static_cast<size_t>(param)];
            FState.format.effects &= ~CFE_AUTOCOLOR;
        } else {
            FState.format.effects |= CFE_AUTOCOLOR;
            FState.format.color = 0;
        }
        formatChanged();
        break;
    }
    case Word::Up:
    case Word::Down: {
        LONG halfPoints = hasParam ? std::clamp(param, 0, 3276) : 6;
        FState.format.offset = (entry->word == Word::Up ? halfPoints : -halfPoints) * 10;
        formatChanged();
        break;
    }
    case Word::Plain:
        FState.format = FBase;
        FState.font = -1;
        if (FDefaultFont >= 0)
            SetFont(FDefaultFont);
        formatChanged();
        break;
    case Word::Par:
        if (FState.destination == Destination::Text)
            Break();
        break;
    case Word::Pard:
        FState.para = ParaFormat{};
        break;
    case Word::Left:
        FState.para.alignment = PFA_LEFT;
        break;
    case Word::Center:
        FState.para.alignment = PFA_CENTER;
        break;
    case Word::Right:
        FState.para.alignment = PFA_RIGHT;
        break;
    case Word::Justify:
        FState.para.alignment = PFA_JUSTIFY;
        break;
    case Word::LeftIndent:
    case Word::FirstIndent: {
        // \li is the indent of every line and \fi the first line's relative to it; the paragraph format
        // keeps the first line's absolute indent and the other lines' offset from it.
        LONG left = FState.para.startIndent + FState.para.offset;
        LONG first = -FState.para.offset;
        (entry->word == Word::LeftIndent ? left : first) = std::clamp(param, -MaxIndent, MaxIndent);
        FState.para.startIndent = left + first;
        FState.para.offset = -first;
        break;
    }
    case Word::RightIndent:
        FState.para.rightIndent = std::clamp(param, -MaxIndent, MaxIndent);
        break;
    case Word::CharSet:
        if (FState.destination == Destination::FontTable)
            FFontEntry.charSet = std::clamp(param, 0, 255);
        break;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (FState.destination == Destination::ColorTable) {
            int value = std::clamp(param, 0, 255);
            (entry->word == Word::Red ? FRed : entry->word == Word::Green ? FGreen : FBlue) = value;
            FColorGiven = true;
        }
        break;
    case Word::Tab:
        Emit(u'\t');
        break;
    case Word::Line:
        Emit(u'\v');
        break;
    case Word::Symbol:
        Emit(entry->symbol);
        break;
    case Word::Binary:
    case Word::Unknown:
        break;
    }
}

void RtfReader::SetFont(int number) {
    FState.font = number;
    auto found = FFonts.find(number);
    if (found != FFonts.end()) {
        FState.format.face = found->second.face;
        FState.format.charSet = static_cast<BYTE>(found->second.charSet);
    }
    FFormatIndex = -1;
}

void RtfReader::CommitFont() {
    String face = FFontEntry.face;
    while (!face.empty() && face.back() == u' ')
        face.pop_back();
    if (face.size() >= LF_FACESIZE)
        face.resize(LF_FACESIZE - 1);
    FFontEntry.face = face;
    if (!face.empty() && FFonts.size() < 4096)
        FFonts[FFontNumber] = FFontEntry;
    FFontNumber = -1;
    FFontEntry = Font{};
    // A font named before the table ended may already be in use.
    if (FDefaultFont >= 0 && FState.font < 0 && FFonts.count(FDefaultFont))
        SetFont(FDefaultFont);
}

void RtfReader::CommitColor() {
    if (FColors.size() < 4096)
        FColors.push_back(
            FColorGiven ? std::optional<COLORREF>(RGB(static_cast<BYTE>(FRed), static_cast<BYTE>(FGreen),
                                                      static_cast<BYTE>(FBlue)))
                        : std::nullopt);
    FRed = FGreen = FBlue = 0;
    FColorGiven = false;
}

void RtfReader::Byte(char c, bool escaped) {
    if (FState.destination == Destination::ColorTable) {
        if (c == ';')
            CommitColor();
        return;
    }
    if (FState.destination == Destination::Skip)
        return;
    if (FState.destination == Destination::FontTable && c == ';' && !escaped) {
        FlushBytes();
        if (FFontNumber >= 0)
            CommitFont();
        return;
    }
    if (escaped)
        FBytesRaw = false;
    FBytes += c;
}

void RtfReader::FlushBytes() {
    if (FBytes.empty())
        return;
    String text;
    // The system writes its text as UTF-8; raw bytes that form UTF-8 are read as such, everything else in
    // the code page of the font.
    bool high = std::any_of(FBytes.begin(), FBytes.end(),
                            [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    if (FBytesRaw && high &&
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, FBytes.data(), static_cast<int>(FBytes.size()),
                            nullptr, 0) > 0)
        text = Decode(CP_UTF8, FBytes);
    else
        text = Decode(CodePage(), FBytes);
    FBytes.clear();
    FBytesRaw = true;
    Text(text);
}

void RtfReader::Text(const String& text) {
    if (FState.destination == Destination::FontTable) {
        if (FFontEntry.face.size() < 256)
            FFontEntry.face += text;
        return;
    }
    for (Char c : text)
        Emit(c);
}

void RtfReader::Emit(Char c) {
    if (FState.destination == Destination::FontTable) {
        if (FFontEntry.face.size() < 256)
            FFontEntry.face += c;
        return;
    }
    if (FState.destination != Destination::Text || FOut.Length() >= MaxDocumentLength)
        return;
    if (c == u'\r' || c == u'\n' || c == 0)
        return;
    if (FFormatIndex < 0)
        FFormatIndex = FOut.FormatIndex(FState.format);
    FOut.Append(String(1, c), FFormatIndex);
    FTrailingBreak = false;
}

void RtfReader::Break() {
    if (FState.destination != Destination::Text || FOut.Length() >= MaxDocumentLength)
        return;
    if (FFormatIndex < 0)
        FFormatIndex = FOut.FormatIndex(FState.format);
    FOut.SetLastPara(FState.para);
    FLastPara = FState.para;
    FOut.AppendBreak(FFormatIndex, FState.para);
    FTrailingBreak = true;
}

// ---- Writing ----

void AppendNumber(std::string& out, const char* word, long long value) {
    out += '\\';
    out += word;
    out += std::to_string(value);
}

class RtfWriter {
public:
    RtfWriter(const Document& document, int start, int end) : FDocument(document), FStart(start), FEnd(end) {}
    std::string Write();

private:
    int FontNumber(const CharFormat& format) const;
    int ColorNumber(const CharFormat& format) const;
    void Para(const ParaFormat& para);
    void Chars(const CharFormat& format, const CharFormat* previous);
    void Character(Char c, const CharFormat& format);

    const Document& FDocument;
    int FStart;
    int FEnd;
    std::vector<std::pair<String, BYTE>> FFonts;
    std::vector<COLORREF> FColors;
    std::string FOut;
};

int RtfWriter::FontNumber(const CharFormat& format) const {
    auto found = std::find(FFonts.begin(), FFonts.end(), std::make_pair(format.face, format.charSet));
    return static_cast<int>(found - FFonts.begin());
}

int RtfWriter::ColorNumber(const CharFormat& format) const {
    if (format.effects & CFE_AUTOCOLOR)
        return 0;
    return static_cast<int>(std::find(FColors.begin(), FColors.end(), format.color) - FColors.begin()) + 1;
}

void RtfWriter::Para(const ParaFormat& para) {
    FOut += "\\pard";
    static constexpr const char* alignments[] = {"", "\\ql", "\\qr", "\\qc", "\\qj"};
    if (para.alignment >= PFA_RIGHT && para.alignment <= PFA_JUSTIFY)
        FOut += alignments[para.alignment];
    LONG left = para.startIndent + para.offset;
    LONG first = -para.offset;
    if (left != 0)
        AppendNumber(FOut, "li", left);
    if (para.rightIndent != 0)
        AppendNumber(FOut, "ri", para.rightIndent);
    if (first != 0)
        AppendNumber(FOut, "fi", first);
    FOut += ' ';
}

void RtfWriter::Chars(const CharFormat& format, const CharFormat* previous) {
    auto flag = [&](DWORD bit, const char* on, const char* off) {
        bool now = (format.effects & bit) != 0;
        if (previous ? now != ((previous->effects & bit) != 0) : now)
            FOut += now ? on : off;
    };
    if (!previous || previous->face != format.face || previous->charSet != format.charSet)
        AppendNumber(FOut, "f", FontNumber(format));
    if (!previous || previous->height != format.height)
        AppendNumber(FOut, "fs", format.height / 10);
    if (!previous || ColorNumber(*previous) != ColorNumber(format))
        AppendNumber(FOut, "cf", ColorNumber(format));
    flag(CFE_BOLD, "\\b", "\\b0");
    flag(CFE_ITALIC, "\\i", "\\i0");
    flag(CFE_UNDERLINE, "\\ul", "\\ulnone");
    flag(CFE_STRIKEOUT, "\\strike", "\\strike0");
    if (previous ? previous->offset != format.offset : format.offset != 0) {
        if (format.offset < 0)
            AppendNumber(FOut, "dn", -format.offset / 10);
        else
            AppendNumber(FOut, "up", format.offset / 10);
    }
    FOut += ' ';
}

void RtfWriter::Character(Char c, const CharFormat& format) {
    switch (c) {
    case u'\\':
        FOut += "\\\\";
        return;
    case u'{':
        FOut += "\\{";
        return;
    case u'}':
        FOut += "\\}";
        return;
    case u'\t':
        FOut += "\\tab ";
        return;
    case u'\v':
        FOut += "\\line ";
        return;
    default:
        break;
    }
    if (c >= 0x20 && c < 0x7F) {
        FOut += static_cast<char>(c);
        return;
    }
    static constexpr char hex[] = "0123456789abcdef";
    if (format.charSet == ANSI_CHARSET || format.charSet == DEFAULT_CHARSET) {
        char byte = 0;
        BOOL usedDefault = FALSE;
        if (WideCharToMultiByte(1252, 0, &c, 1, &byte, 1, nullptr, &usedDefault) == 1 && !usedDefault) {
            auto b = static_cast<unsigned char>(byte);
            FOut += "\\'";
            FOut += hex[b >> 4];
            FOut += hex[b & 15];
            return;
        }
    }
    AppendNumber(FOut, "u", static_cast<short>(c));
    FOut += '?';
}

std::string RtfWriter::Write() {
    for (int i = FStart; i < FEnd; ++i) {
        const CharFormat& format = FDocument.FormatAt(i);
        auto font = std::make_pair(format.face, format.charSet);
        if (std::find(FFonts.begin(), FFonts.end(), font) == FFonts.end())
            FFonts.push_back(font);
        if (!(format.effects & CFE_AUTOCOLOR) &&
            std::find(FColors.begin(), FColors.end(), format.color) == FColors.end())
            FColors.push_back(format.color);
    }
    // An empty range still names the format text typed there would get.
    const CharFormat& first = FDocument.Length() > 0
                                  ? FDocument.FormatAt(std::min(FStart, FDocument.Length() - 1))
                                  : FDocument.Format(0);
    if (FFonts.empty())
        FFonts.emplace_back(first.face, first.charSet);

    FOut = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (size_t i = 0; i < FFonts.size(); ++i) {
        FOut += '{';
        AppendNumber(FOut, "f", static_cast<long long>(i));
        FOut += "\\fnil";
        AppendNumber(FOut, "fcharset", FFonts[i].second);
        FOut += ' ';
        for (Char c : FFonts[i].first)
            Character(c, CharFormat{});
        FOut += ";}";
    }
    FOut += "}\r\n";
    if (!FColors.empty()) {
        FOut += "{\\colortbl ;";
        for (COLORREF color : FColors) {
            AppendNumber(FOut, "red", GetRValue(color));
            AppendNumber(FOut, "green", GetGValue(color));
            AppendNumber(FOut, "blue", GetBValue(color));
            FOut += ';';
        }
        FOut += "}\r\n";
    }
    FOut += "\\uc1";
    int paragraph = FDocument.ParagraphOf(FStart);
    Para(FDocument.Para(paragraph));
    const CharFormat* previous = nullptr;
    if (FStart >= FEnd)
        Chars(first, nullptr);
    for (int i = FStart; i < FEnd; ++i) {
        const CharFormat& format = FDocument.FormatAt(i);
        if (!previous || !(format == *previous))
            Chars(format, previous);
        previous = &format;
        Char c = FDocument.Text()[static_cast<size_t>(i)];
        if (c == u'\r') {
            FOut += "\\par\r\n";
            ++paragraph;
            if (paragraph < FDocument.ParagraphCount() &&
                !(FDocument.Para(paragraph) == FDocument.Para(paragraph - 1)))
                Para(FDocument.Para(paragraph));
            continue;
        }
        Character(c, format);
    }
    // The document's end closes its last paragraph; a range that stops inside one leaves it open.
    if (FEnd >= FDocument.Length())
        FOut += "\\par\r\n";
    FOut += "}\r\n";
    return FOut;
}

} // namespace

bool ReadRtf(std::string_view data, const CharFormat& base, Document& out) {
    out.Clear();
    if (data.substr(0, 5) != "{\\rtf")
        return false;
    RtfReader(data, base, out).Read();
    return true;
}

std::string WriteRtf(const Document& document, int start, int end) {
    start = std::clamp(start, 0, document.Length());
    end = std::clamp(end, start, document.Length());
    return RtfWriter(document, start, end).Write();
}

} // namespace win32::richedit
