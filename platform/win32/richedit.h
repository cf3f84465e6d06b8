// The rich edit window class: its class name, messages, notifications and records, and the document
// model with its RTF reader and writer, which the class keeps and the fuzz target drives directly.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/win32/codepage.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wingdi.h"

inline constexpr const WCHAR* RICHEDIT_CLASSW = u"RichEdit20W";

// ---- Messages (beyond the EM_ messages of the EDIT class, which it answers too) ----
inline constexpr UINT EM_CANPASTE = WM_USER + 50;
inline constexpr UINT EM_EXGETSEL = WM_USER + 52;
inline constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
inline constexpr UINT EM_EXLINEFROMCHAR = WM_USER + 54;
inline constexpr UINT EM_EXSETSEL = WM_USER + 55;
inline constexpr UINT EM_FORMATRANGE = WM_USER + 57;
inline constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
inline constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
inline constexpr UINT EM_GETPARAFORMAT = WM_USER + 61;
inline constexpr UINT EM_GETSELTEXT = WM_USER + 62;
inline constexpr UINT EM_REQUESTRESIZE = WM_USER + 65;
inline constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;
inline constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;
inline constexpr UINT EM_SETEVENTMASK = WM_USER + 69;
inline constexpr UINT EM_SETPARAFORMAT = WM_USER + 71;
inline constexpr UINT EM_SETTARGETDEVICE = WM_USER + 72;
inline constexpr UINT EM_STREAMIN = WM_USER + 73;
inline constexpr UINT EM_STREAMOUT = WM_USER + 74;
inline constexpr UINT EM_GETTEXTRANGE = WM_USER + 75;
inline constexpr UINT EM_GETTEXTEX = WM_USER + 94;
inline constexpr UINT EM_GETTEXTLENGTHEX = WM_USER + 95;

// ---- Notifications ----
// EN_REQUESTRESIZE and EN_SELCHANGE come as WM_NOTIFY; EN_CHANGE and EN_UPDATE as WM_COMMAND.
inline constexpr UINT EN_REQUESTRESIZE = 0x0701;
inline constexpr UINT EN_SELCHANGE = 0x0702;

inline constexpr DWORD ENM_NONE = 0x00000000;
inline constexpr DWORD ENM_CHANGE = 0x00000001;
inline constexpr DWORD ENM_UPDATE = 0x00000002;
inline constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
inline constexpr DWORD ENM_SELCHANGE = 0x00080000;

// ---- Records ----
struct CHARRANGE {
    LONG cpMin;
    LONG cpMax; // -1 with cpMin 0 is all text
};

struct TEXTRANGEW {
    CHARRANGE chrg;
    LPWSTR lpstrText; // room for the range and a terminating zero
};

struct REQRESIZE {
    NMHDR nmhdr;
    RECT rc; // the format rectangle grown or shrunk to the height the text needs
};

struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp;
};

struct FORMATRANGE {
    HDC hdc;       // drawn on
    HDC hdcTarget; // measured on
    RECT rc;       // the area to fill, in twips
    RECT rcPage;   // the whole page, in twips
    CHARRANGE chrg;
};

using EDITSTREAMCALLBACK = DWORD (*)(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb);

struct EDITSTREAM {
    DWORD_PTR dwCookie;
    DWORD dwError; // what the callback returned when it ended the transfer
    EDITSTREAMCALLBACK pfnCallback;
};

inline constexpr WPARAM SF_TEXT = 0x0001;
inline constexpr WPARAM SF_RTF = 0x0002;
inline constexpr WPARAM SF_UNICODE = 0x0010;
inline constexpr WPARAM SFF_PLAINRTF = 0x4000;
inline constexpr WPARAM SFF_SELECTION = 0x8000;

inline constexpr DWORD GT_DEFAULT = 0;
inline constexpr DWORD GT_USECRLF = 1;
inline constexpr DWORD GT_SELECTION = 2;
inline constexpr DWORD GTL_DEFAULT = 0;
inline constexpr DWORD GTL_USECRLF = 1;
inline constexpr DWORD GTL_PRECISE = 2;
inline constexpr DWORD GTL_NUMCHARS = 8;
inline constexpr DWORD GTL_NUMBYTES = 16;
inline constexpr UINT CP_UNICODE = 1200;

struct GETTEXTEX {
    DWORD cb; // size of the buffer in bytes
    DWORD flags;
    UINT codepage; // CP_UNICODE (1200) or a code page of codepage.h
    const char* lpDefaultChar;
    LPBOOL lpUsedDefChar;
};

struct GETTEXTLENGTHEX {
    DWORD flags;
    UINT codepage;
};

inline constexpr DWORD CFM_BOLD = 0x00000001;
inline constexpr DWORD CFM_ITALIC = 0x00000002;
inline constexpr DWORD CFM_UNDERLINE = 0x00000004;
inline constexpr DWORD CFM_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFM_PROTECTED = 0x00000010;
inline constexpr DWORD CFM_LINK = 0x00000020;
inline constexpr DWORD CFM_BACKCOLOR = 0x04000000;
inline constexpr DWORD CFM_CHARSET = 0x08000000;
inline constexpr DWORD CFM_OFFSET = 0x10000000;
inline constexpr DWORD CFM_FACE = 0x20000000;
inline constexpr DWORD CFM_COLOR = 0x40000000;
inline constexpr DWORD CFM_SIZE = 0x80000000;
inline constexpr DWORD CFM_EFFECTS =
    CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR | CFM_STRIKEOUT | CFM_PROTECTED | CFM_LINK;
inline constexpr DWORD CFM_ALL = CFM_EFFECTS | CFM_SIZE | CFM_FACE | CFM_OFFSET | CFM_CHARSET;

inline constexpr DWORD CFE_BOLD = 0x00000001;
inline constexpr DWORD CFE_ITALIC = 0x00000002;
inline constexpr DWORD CFE_UNDERLINE = 0x00000004;
inline constexpr DWORD CFE_STRIKEOUT = 0x00000008;
inline constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

inline constexpr WPARAM SCF_DEFAULT = 0x0000;
inline constexpr WPARAM SCF_SELECTION = 0x0001;
inline constexpr WPARAM SCF_WORD = 0x0002;
inline constexpr WPARAM SCF_ALL = 0x0004;

struct CHARFORMATW {
    UINT cbSize;
    DWORD dwMask;
    DWORD dwEffects;
    LONG yHeight; // twips
    LONG yOffset; // twips above the baseline, negative below
    COLORREF crTextColor;
    BYTE bCharSet;
    BYTE bPitchAndFamily;
    WCHAR szFaceName[LF_FACESIZE];
};

struct CHARFORMAT2W {
    UINT cbSize;
    DWORD dwMask;
    DWORD dwEffects;
    LONG yHeight;
    LONG yOffset;
    COLORREF crTextColor;
    BYTE bCharSet;
    BYTE bPitchAndFamily;
    WCHAR szFaceName[LF_FACESIZE];
    WORD wWeight;
    short sSpacing;
    COLORREF crBackColor;
    DWORD lcid;
    DWORD dwReserved;
    short sStyle;
    WORD wKerning;
    BYTE bUnderlineType;
    BYTE bAnimation;
    BYTE bRevAuthor;
    BYTE bReserved1;
};

inline constexpr DWORD PFM_STARTINDENT = 0x00000001;
inline constexpr DWORD PFM_RIGHTINDENT = 0x00000002;
inline constexpr DWORD PFM_OFFSET = 0x00000004;
inline constexpr DWORD PFM_ALIGNMENT = 0x00000008;
inline constexpr DWORD PFM_OFFSETINDENT = 0x80000000;

inline constexpr WORD PFA_LEFT = 1;
inline constexpr WORD PFA_RIGHT = 2;
inline constexpr WORD PFA_CENTER = 3;
inline constexpr WORD PFA_JUSTIFY = 4;

inline constexpr int MAX_TAB_STOPS = 32;

struct PARAFORMAT {
    UINT cbSize;
    DWORD dwMask;
    WORD wNumbering;
    WORD wReserved;
    LONG dxStartIndent; // of the first line, twips
    LONG dxRightIndent;
    LONG dxOffset; // of the other lines, relative to the first
    WORD wAlignment;
    short cTabCount;
    LONG rgxTabs[MAX_TAB_STOPS];
};

struct PARAFORMAT2 {
    UINT cbSize;
    DWORD dwMask;
    WORD wNumbering;
    WORD wEffects;
    LONG dxStartIndent;
    LONG dxRightIndent;
    LONG dxOffset;
    WORD wAlignment;
    short cTabCount;
    LONG rgxTabs[MAX_TAB_STOPS];
    LONG dySpaceBefore;
    LONG dySpaceAfter;
    LONG dyLineSpacing;
    short sStyle;
    BYTE bLineSpacingRule;
    BYTE bOutlineLevel;
    WORD wShadingWeight;
    WORD wShadingStyle;
    WORD wNumberingStart;
    WORD wNumberingStyle;
    WORD wNumberingTab;
    WORD wBorderSpace;
    WORD wBorderWidth;
    WORD wBorders;
};

namespace win32::richedit {

// ---- The document a rich edit keeps ----
// Text is one string with '\r' between paragraphs (a position counts a paragraph break as one
// character); every character has a format from a shared table, and every paragraph has its own
// paragraph format.

struct CharFormat {
    String face = u"Arial";
    LONG height = 200;             // twips
    DWORD effects = CFE_AUTOCOLOR; // CFE_ bits
    COLORREF color = 0;            // meaningful without CFE_AUTOCOLOR
    LONG offset = 0;               // twips above the baseline
    BYTE charSet = DEFAULT_CHARSET;

    auto Key() const { return std::tie(face, height, effects, color, offset, charSet); }
    bool operator==(const CharFormat& other) const { return Key() == other.Key(); }
    bool operator<(const CharFormat& other) const { return Key() < other.Key(); }
};

struct ParaFormat {
    WORD alignment = PFA_LEFT;
    LONG startIndent = 0; // first line, twips
    LONG rightIndent = 0;
    LONG offset = 0; // other lines relative to the first

    bool operator==(const ParaFormat& other) const = default;
};

class Document {
public:
    Document();

    const String& Text() const { return FText; }
    int Length() const { return static_cast<int>(FText.size()); }
    int ParagraphCount() const { return static_cast<int>(FParas.size()); }
    // The paragraph holding position pos (a break belongs to the paragraph it ends).
    int ParagraphOf(int pos) const;
    int ParagraphStart(int paragraph) const;
    int ParagraphEnd(int paragraph) const; // the position of its break, or the length for the last
    const ParaFormat& Para(int paragraph) const { return FParas[static_cast<size_t>(paragraph)]; }
    void SetPara(int paragraph, const ParaFormat& format) { FParas[static_cast<size_t>(paragraph)] = format; }
    const CharFormat& FormatAt(int pos) const {
        return FFormats[static_cast<size_t>(FCharFormats[static_cast<size_t>(pos)])];
    }
    int FormatIndexAt(int pos) const { return FCharFormats[static_cast<size_t>(pos)]; }
    const CharFormat& Format(int index) const { return FFormats[static_cast<size_t>(index)]; }
    int FormatIndex(const CharFormat& format);

    // Replaces [start, end) with text in one format; a '\n' or "\r\n" in text counts as '\r'. New
    // paragraphs take the format of the one the range starts in.
    void Replace(int start, int end, const String& text, const CharFormat& format);
    // Replaces [start, end) with piece: the paragraphs the piece ends keep their formats, and its last
    // paragraph runs into the paragraph at end, keeping that one's format.
    void Replace(int start, int end, const Document& piece);
    // Appends text in a format without normalising its breaks; used by the readers.
    void Append(const String& text, int formatIndex);
    void AppendBreak(int formatIndex, const ParaFormat& next);
    void SetLastPara(const ParaFormat& format) { FParas.back() = format; }
    // Gives [start, end) the format change applies to each character's format.
    template <typename Change> void ChangeFormat(int start, int end, Change&& change) {
        std::map<int, int> mapped;
        for (int i = start; i < end; ++i) {
            int& index = FCharFormats[static_cast<size_t>(i)];
            auto found = mapped.find(index);
            if (found == mapped.end()) {
                CharFormat format = FFormats[static_cast<size_t>(index)];
                change(format);
                found = mapped.emplace(index, FormatIndex(format)).first;
            }
            index = found->second;
        }
    }
    void Clear();
    // The text from start to end with "\r\n" (crlf) or '\r' between paragraphs.
    String Plain(int start, int end, bool crlf) const;

private:
    String FText;
    std::vector<int> FCharFormats;
    std::vector<CharFormat> FFormats;
    std::map<CharFormat, int> FFormatIndex;
    std::vector<ParaFormat> FParas;
};

// The longest text a document takes from a stream, and the deepest nesting of RTF groups that is read;
// deeper groups are skipped whole.
inline constexpr int MaxDocumentLength = 1 << 24;
inline constexpr int MaxGroupDepth = 256;

// Reads RTF bytes into out (emptied first), in base (the format for text that names none). Answers
// false, reading nothing, when data does not start with "{\rtf"; otherwise reads what it can: unknown
// control words and destinations are skipped, and broken or truncated input ends the reading early
// with what was read so far.
bool ReadRtf(std::string_view data, const CharFormat& base, Document& out);
// Writes [start, end) of document as RTF (ASCII; other characters as \'hh or \uN).
std::string WriteRtf(const Document& document, int start, int end);

// ---- Laying out and drawing ----

// The fonts of a document's formats on one device, made on first use and freed with the cache.
class FontCache {
public:
    explicit FontCache(int dpiY) : FDpiY(dpiY) {}
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    HFONT Get(const CharFormat& format);
    int DpiY() const { return FDpiY; }

private:
    int FDpiY;
    std::map<CharFormat, HFONT> FFonts;
};

// One line of laid-out text, in device units from the top of the layout.
struct LayoutLine {
    int start = 0; // first character
    int end = 0;   // past the last character shown (a break is not shown)
    int next = 0;  // first character of the next line
    int top = 0;
    int height = 0;
    int ascent = 0;  // baseline below top
    int left = 0;    // where the text starts, after indents and alignment
    int width = 0;   // of the text
    int stretch = 0; // spread over the spaces of a justified line
};

struct LayoutArea {
    int width = 0;       // device units available for a line, indents included
    bool wrap = true;    // break lines at words to fit the width
    int dpiX = 96;       // for indents and tab stops given in twips
    int maxHeight = -1;  // stop before the first line whose bottom passes it; -1 lays out all
    int emptyFormat = 0; // the format whose height an empty text has
};

// Lays out [from, to) of document on dc. A line that does not fit maxHeight ends the layout unless it
// is the first.
std::vector<LayoutLine> LayOut(HDC dc, FontCache& fonts, const Document& document, int from, int to,
                               const LayoutArea& area);
// The x of position pos on line, relative to the layout's left edge.
int PositionX(HDC dc, FontCache& fonts, const Document& document, const LayoutLine& line, int pos, int dpiX);
// The position on line nearest to x.
int PositionAt(HDC dc, FontCache& fonts, const Document& document, const LayoutLine& line, int x, int dpiX);
// Draws lines at origin; [selStart, selEnd) in the selection colours.
void DrawLines(HDC dc, FontCache& fonts, const Document& document, const std::vector<LayoutLine>& lines,
               POINT origin, int dpiX, int selStart = 0, int selEnd = 0);

} // namespace win32::richedit
