// The rich edit window class: a document of formatted runs and paragraphs, edited with the keys of the
// edit control, streamed in and out as RTF or text, drawn into any DC with EM_FORMATRANGE, and telling
// its parent about changes and the size its text needs.
//
// Contents: the state object - text and notifications - editing by keys, mouse and clipboard -
// formats - streams - layout, requested size and EM_FORMATRANGE - painting - the window procedure.
#include <algorithm>
#include <memory>
#include <optional>

#include "platform/rtl/Trace.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/codepage.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/richedit.h"
#include "platform/win32/windraw.h"

namespace win32::controls {

namespace {

using richedit::CharFormat;
using richedit::Document;
using richedit::LayoutArea;
using richedit::LayoutLine;
using richedit::ParaFormat;

Trace::Channel TraceRichEdit("richedit");

// Typing stops at this many characters until EM_EXLIMITTEXT says otherwise; streams and new text are
// not held to it.
constexpr LONG InitialLimit = 32767;
// The most bytes a stream may bring in one EM_STREAMIN.
constexpr size_t MaxStreamBytes = size_t{1} << 28;
constexpr LONG StreamChunk = 4096;

enum class Extend { No, Yes };
enum class ChangeKind { Typing, User, Program };

bool IsDelimiter(Char c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v';
}

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

// The character format a font gives: what WM_SETFONT makes the default.
CharFormat FormatOfFont(HFONT font) {
    CharFormat format;
    LOGFONTW lf{};
    if (!font || GetObjectW(font, sizeof(lf), &lf) != sizeof(lf))
        return format;
    format.face.assign(lf.lfFaceName, std::find(lf.lfFaceName, lf.lfFaceName + LF_FACESIZE, u'\0'));
    int pixels = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    if (pixels > 0)
        format.height = static_cast<LONG>(pixels) * 1440 / ScreenDpi();
    format.effects = CFE_AUTOCOLOR | (lf.lfWeight >= FW_BOLD ? CFE_BOLD : 0) |
                     (lf.lfItalic ? CFE_ITALIC : 0) | (lf.lfUnderline ? CFE_UNDERLINE : 0) |
                     (lf.lfStrikeOut ? CFE_STRIKEOUT : 0);
    format.charSet = lf.lfCharSet;
    return format;
}

class RichEditState {
public:
    RichEditState(HWND hwnd, const CREATESTRUCTW& create)
        : FHwnd(hwnd), FParent(create.hwndParent), FStyle(static_cast<DWORD>(create.style)) {}

    LRESULT WMCreate(const CREATESTRUCTW& create);
    LRESULT WMSetText(LPCWSTR text);
    LRESULT WMGetText(WPARAM size, LPWSTR buffer) const;
    LRESULT WMGetTextLength() const {
        return static_cast<LRESULT>(FDoc.Plain(0, FDoc.Length(), true).size());
    }
    LRESULT WMSetFont(HFONT font, bool redraw);
    LRESULT WMGetFont() const { return reinterpret_cast<LRESULT>(FFont); }
    LRESULT WMSize();
    LRESULT WMStyleChanged(int which, const STYLESTRUCT* style);
    LRESULT WMSetFocus();
    LRESULT WMKillFocus();
    LRESULT WMGetDlgCode(const MSG* msg) const;
    LRESULT WMChar(Char c);
    LRESULT WMKeyDown(int key);
    LRESULT WMLButtonDown(WPARAM keys, POINT point);
    LRESULT WMLButtonDblClk(POINT point);
    LRESULT WMMouseMove(POINT point);
    LRESULT WMLButtonUp();
    LRESULT WMClear();
    LRESULT WMCopy() const;
    LRESULT WMCut();
    LRESULT WMPaste();
    LRESULT WMPaint(HDC given);

    LRESULT EMGetSel(DWORD* start, DWORD* end) const;
    LRESULT EMSetSel(int start, int end);
    LRESULT EMExGetSel(CHARRANGE* range) const;
    LRESULT EMExSetSel(const CHARRANGE* range);
    LRESULT EMReplaceSel(bool canUndo, LPCWSTR text);
    LRESULT EMGetSelText(LPWSTR buffer) const;
    LRESULT EMGetTextRange(TEXTRANGEW* range) const;
    LRESULT EMGetTextEx(const GETTEXTEX* info, LPWSTR buffer) const;
    LRESULT EMGetTextLengthEx(const GETTEXTLENGTHEX* info) const;
    LRESULT EMExLimitText(LPARAM limit);
    LRESULT EMGetLimitText() const { return FLimit; }
    LRESULT EMGetModify() const { return FModified ? TRUE : FALSE; }
    LRESULT EMSetModify(bool modified);
    LRESULT EMSetReadOnly(bool readOnly);
    LRESULT EMCanUndo() const { return FUndo ? TRUE : FALSE; }
    LRESULT EMUndo();
    LRESULT EMEmptyUndoBuffer();
    LRESULT EMGetRect(RECT* rect) const;
    LRESULT EMSetRect(const RECT* rect, bool redraw);
    LRESULT EMGetLineCount() const { return FDoc.ParagraphCount(); }
    LRESULT EMLineIndex(int line) const;
    LRESULT EMLineLength(int index) const;
    LRESULT EMLineFromChar(int index) const;
    LRESULT EMGetLine(int line, LPWSTR buffer) const;
    LRESULT EMScrollCaret();
    LRESULT EMPosFromChar(POINT* point, int index);
    LRESULT EMCharFromPos(const POINT* point);
    LRESULT EMStreamIn(WPARAM format, EDITSTREAM* stream);
    LRESULT EMStreamOut(WPARAM format, EDITSTREAM* stream) const;
    LRESULT EMGetCharFormat(WPARAM which, CHARFORMAT2W* format) const;
    LRESULT EMSetCharFormat(WPARAM which, const CHARFORMAT2W* format);
    LRESULT EMGetParaFormat(PARAFORMAT2* format) const;
    LRESULT EMSetParaFormat(const PARAFORMAT2* format);
    LRESULT EMFormatRange(bool render, const FORMATRANGE* range);
    LRESULT EMRequestResize();
    LRESULT EMSetBkgndColor(bool useSystem, COLORREF color);
    LRESULT EMSetEventMask(DWORD mask);
    LRESULT EMGetEventMask() const { return FEventMask; }
    LRESULT EMSetTargetDevice(LPARAM lineWidth);

private:
    bool Multi() const { return (FStyle & ES_MULTILINE) != 0; }
    bool ReadOnly() const { return (FStyle & ES_READONLY) != 0; }
    int SelMin() const { return std::min(FAnchor, FCaret); }
    int SelMax() const { return std::max(FAnchor, FCaret); }
    bool Wraps() const { return Multi() && !FNoWrap && !(FStyle & ES_AUTOHSCROLL); }

    // Text and notifications.
    void Notify(WORD code) const { NotifyCommand(FHwnd, FParent, code); }
    void NotifyChange();
    void NotifySelChange();
    void SendRequestResize(bool always);
    const CharFormat& InsertionFormat() const;
    bool Replace(int start, int end, const String& text, ChangeKind kind);
    void Replaced(ChangeKind kind);
    void SaveUndo();

    // Caret and selection.
    void SetSel(int anchor, int caret);
    void MoveCaret(int pos, Extend extend) { SetSel(extend == Extend::Yes ? FAnchor : pos, pos); }
    int Prev(int pos) const;
    int Next(int pos) const;
    int WordLeft(int pos) const;
    int WordRight(int pos) const;

    // Layout of the window's text.
    RECT FormatRect() const;
    const std::vector<LayoutLine>& Lines();
    int LineOf(int pos);
    POINT PosOf(int pos);
    int CharAt(POINT point);
    void ScrollToCaret();
    void UpdateCaret();
    void Invalidate();

    HWND FHwnd;
    HWND FParent;
    DWORD FStyle;
    Document FDoc;
    CharFormat FDefault;
    std::optional<CharFormat> FInsertion; // set for an empty selection by EM_SETCHARFORMAT
    int FAnchor = 0;
    int FCaret = 0;
    LONG FLimit = InitialLimit;
    bool FModified = false;
    DWORD FEventMask = ENM_NONE;
    bool FSysBackground = true;
    COLORREF FBackground = 0;
    HFONT FFont = nullptr;
    bool FNoWrap = false; // EM_SETTARGETDEVICE with a line width of 1
    RECT FRect{};
    bool FCustomRect = false;
    int FScrollY = 0;
    bool FFocused = false;
    bool FSelecting = false;
    bool FTypingRun = false;
    // One undo step: the document and selection before the last change.
    std::unique_ptr<Document> FUndo;
    int FUndoAnchor = 0;
    int FUndoCaret = 0;
    std::optional<RECT> FRequested; // the last size asked for
    richedit::FontCache FScreenFonts{96};
    std::vector<LayoutLine> FLines;
    bool FLinesValid = false;
};

// A screen DC for measuring the window's text, with its state restored after.
class ScreenDC {
public:
    ScreenDC() : FDC(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, FDC); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    operator HDC() const { return FDC; }

private:
    HDC FDC;
};

// ---- Text and notifications ----

void RichEditState::NotifyChange() {
    if (FEventMask & ENM_UPDATE)
        Notify(EN_UPDATE);
    if (FEventMask & ENM_CHANGE)
        Notify(EN_CHANGE);
}

void RichEditState::NotifySelChange() {
    if (!(FEventMask & ENM_SELCHANGE) || !FParent)
        return;
    SELCHANGE change{};
    change.nmhdr = NMHDR{FHwnd, static_cast<UINT_PTR>(GetWindowLongPtrW(FHwnd, GWLP_ID)), EN_SELCHANGE};
    change.chrg = CHARRANGE{SelMin(), SelMax()};
    change.seltyp = FAnchor == FCaret ? 0 : 1;
    SendMessageW(FParent, WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

// Asks the parent for the height the text needs, when it changed or always.
void RichEditState::SendRequestResize(bool always) {
    if (!(FEventMask & ENM_REQUESTRESIZE) || !FParent)
        return;
    RECT format = FormatRect();
    const std::vector<LayoutLine>& lines = Lines();
    int height = 0;
    int width = 0;
    for (const LayoutLine& line : lines) {
        height = std::max(height, line.top + line.height);
        width = std::max(width, line.left + line.width);
    }
    // A text that wraps asks for its window's width; one that does not, for its longest line.
    RECT wanted{format.left, format.top, Wraps() ? format.right : format.left + width, format.top + height};
    if (!always && FRequested && EqualRect(&*FRequested, &wanted))
        return;
    FRequested = wanted;
    REQRESIZE request{};
    request.nmhdr = NMHDR{FHwnd, static_cast<UINT_PTR>(GetWindowLongPtrW(FHwnd, GWLP_ID)), EN_REQUESTRESIZE};
    request.rc = wanted;
    SendMessageW(FParent, WM_NOTIFY, request.nmhdr.idFrom, reinterpret_cast<LPARAM>(&request));
}

const CharFormat& RichEditState::InsertionFormat() const {
    if (FInsertion)
        return *FInsertion;
    if (FDoc.Length() == 0)
        return FDefault;
    // Typed text continues the format of the character before it.
    int pos = SelMin();
    return FDoc.FormatAt(pos > 0 ? pos - 1 : 0);
}

void RichEditState::SaveUndo() {
    FUndo = std::make_unique<Document>(FDoc);
    FUndoAnchor = FAnchor;
    FUndoCaret = FCaret;
}

// Replaces [start, end) with text in the insertion format and puts the caret after it. User changes
// keep the limit and may be undone; answers whether the text changed.
bool RichEditState::Replace(int start, int end, const String& text, ChangeKind kind) {
    String value = text;
    if (kind != ChangeKind::Program) {
        long long kept = FDoc.Length() - (end - start);
        long long room = std::max<long long>(0, FLimit - kept);
        if (static_cast<long long>(value.size()) > room) {
            size_t cut = static_cast<size_t>(room);
            if (cut > 0 && value[cut - 1] >= 0xD800 && value[cut - 1] <= 0xDBFF)
                --cut;
            value.resize(cut);
            Notify(EN_MAXTEXT);
        }
    }
    if (value.empty() && start == end)
        return false;
    if (kind == ChangeKind::User || (kind == ChangeKind::Typing && !FTypingRun))
        SaveUndo();
    CharFormat format = InsertionFormat();
    FDoc.Replace(start, end, value, format);
    // Breaks in the text count one each once inserted.
    int length = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
            continue;
        ++length;
    }
    FAnchor = FCaret = start + length;
    FInsertion.reset();
    Replaced(kind);
    return true;
}

// What follows every change of the text.
void RichEditState::Replaced(ChangeKind kind) {
    if (kind != ChangeKind::Program)
        FModified = true;
    FTypingRun = kind == ChangeKind::Typing;
    FLinesValid = false;
    ScrollToCaret();
    Invalidate();
    NotifyChange();
    SendRequestResize(false);
}

LRESULT RichEditState::WMCreate(const CREATESTRUCTW& create) {
    FDefault = FormatOfFont(nullptr);
    FRect = FormatRect();
    if (create.lpszName && *create.lpszName)
        FDoc.Replace(0, 0, String(create.lpszName), FDefault);
    return 0;
}

// New text replaces everything; text that starts as RTF is read as RTF.
LRESULT RichEditState::WMSetText(LPCWSTR text) {
    String value = text ? String(text) : String();
    FUndo.reset();
    if (value.rfind(u"{\\rtf", 0) == 0) {
        std::string bytes;
        bytes.reserve(value.size());
        // RTF is ASCII; a character beyond it goes in as UTF-8, which the reader takes as such.
        int size = WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), nullptr, 0,
                                       nullptr, nullptr);
        bytes.resize(static_cast<size_t>(std::max(size, 0)));
        WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), bytes.data(), size,
                            nullptr, nullptr);
        Document read;
        richedit::ReadRtf(bytes, FDefault, read);
        FDoc = std::move(read);
    } else {
        FDoc.Clear();
        FDoc.Replace(0, 0, value, FDefault);
    }
    FAnchor = FCaret = 0;
    FScrollY = 0;
    FModified = false;
    FInsertion.reset();
    Replaced(ChangeKind::Program);
    FModified = false;
    return TRUE;
}

LRESULT RichEditState::WMGetText(WPARAM size, LPWSTR buffer) const {
    if (!buffer || size == 0)
        return 0;
    String text = FDoc.Plain(0, FDoc.Length(), true);
    size_t count = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT RichEditState::WMSetFont(HFONT font, bool redraw) {
    FFont = font;
    FDefault = FormatOfFont(font);
    FLinesValid = false;
    if (redraw)
        Invalidate();
    return 0;
}

LRESULT RichEditState::WMSize() {
    if (!FCustomRect)
        FRect = FormatRect();
    FLinesValid = false;
    ScrollToCaret();
    Invalidate();
    SendRequestResize(false);
    return 0;
}

LRESULT RichEditState::WMStyleChanged(int which, const STYLESTRUCT* style) {
    if (which != GWL_STYLE || !style)
        return 0;
    constexpr DWORD Fixed = ES_MULTILINE;
    FStyle = (FStyle & Fixed) | (style->styleNew & ~Fixed);
    FLinesValid = false;
    Invalidate();
    return 0;
}

LRESULT RichEditState::WMSetFocus() {
    FFocused = true;
    CreateCaret(FHwnd, nullptr, 1, 16);
    UpdateCaret();
    ShowCaret(FHwnd);
    Invalidate();
    Notify(EN_SETFOCUS);
    return 0;
}

LRESULT RichEditState::WMKillFocus() {
    FFocused = false;
    FTypingRun = false;
    DestroyCaret();
    Invalidate();
    Notify(EN_KILLFOCUS);
    return 0;
}

LRESULT RichEditState::WMGetDlgCode(const MSG* msg) const {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!Multi())
        return code;
    code |= DLGC_WANTALLKEYS;
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == static_cast<WPARAM>(VK_ESCAPE))
        code &= ~DLGC_WANTALLKEYS;
    return code;
}

// ---- Editing by keys, mouse and clipboard ----

LRESULT RichEditState::WMChar(Char c) {
    if (SendEditShortcut(FHwnd, c))
        return 0;
    switch (c) {
    case 0x01: // Ctrl+A
        SetSel(0, FDoc.Length());
        return 0;
    case 0x08: { // Backspace
        if (ReadOnly())
            return 0;
        int start = FAnchor == FCaret ? Prev(FCaret) : SelMin();
        Replace(start, SelMax(), String(), ChangeKind::Typing);
        return 0;
    }
    case u'\r':
    case u'\n':
        if (Multi() && !ReadOnly())
            Replace(SelMin(), SelMax(), String(u"\r"), ChangeKind::User);
        return 0;
    case u'\t':
        if (Multi() && !ReadOnly())
            Replace(SelMin(), SelMax(), String(u"\t"), ChangeKind::Typing);
        return 0;
    default:
        break;
    }
    if (c < 0x20 || c == 0x7F || ReadOnly())
        return 0;
    Replace(SelMin(), SelMax(), String(1, c), ChangeKind::Typing);
    return 0;
}

LRESULT RichEditState::WMKeyDown(int key) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    Extend extend = shift ? Extend::Yes : Extend::No;
    switch (key) {
    case VK_LEFT:
        MoveCaret(control ? WordLeft(FCaret) : Prev(FCaret), extend);
        break;
    case VK_RIGHT:
        MoveCaret(control ? WordRight(FCaret) : Next(FCaret), extend);
        break;
    case VK_UP:
    case VK_DOWN: {
        const std::vector<LayoutLine>& lines = Lines();
        int line = LineOf(FCaret) + (key == VK_UP ? -1 : 1);
        if (line < 0 || line >= static_cast<int>(lines.size())) {
            MoveCaret(key == VK_UP ? 0 : FDoc.Length(), extend);
            break;
        }
        POINT at = PosOf(FCaret);
        RECT rect = FormatRect();
        at.y = rect.top + lines[static_cast<size_t>(line)].top - FScrollY;
        MoveCaret(CharAt(at), extend);
        break;
    }
    case VK_HOME:
    case VK_END: {
        if (control) {
            MoveCaret(key == VK_HOME ? 0 : FDoc.Length(), extend);
            break;
        }
        const LayoutLine& line = Lines()[static_cast<size_t>(LineOf(FCaret))];
        MoveCaret(key == VK_HOME ? line.start : line.end, extend);
        break;
    }
    case VK_DELETE:
        if (ReadOnly())
            break;
        if (shift) {
            SendMessageW(FHwnd, WM_CUT, 0, 0);
            break;
        }
        Replace(SelMin(), FAnchor == FCaret ? Next(FCaret) : SelMax(), String(), ChangeKind::User);
        break;
    case VK_INSERT:
        if (control)
            SendMessageW(FHwnd, WM_COPY, 0, 0);
        else if (shift)
            SendMessageW(FHwnd, WM_PASTE, 0, 0);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT RichEditState::WMLButtonDown(WPARAM keys, POINT point) {
    SetFocus(FHwnd);
    int pos = CharAt(point);
    SetSel((keys & MK_SHIFT) ? FAnchor : pos, pos);
    FSelecting = true;
    SetCapture(FHwnd);
    return 0;
}

// A double click selects the word under the mouse.
LRESULT RichEditState::WMLButtonDblClk(POINT point) {
    const String& text = FDoc.Text();
    int pos = CharAt(point);
    int start = pos;
    int end = pos;
    while (start > 0 && !IsDelimiter(text[static_cast<size_t>(start) - 1]))
        --start;
    while (end < FDoc.Length() && !IsDelimiter(text[static_cast<size_t>(end)]))
        ++end;
    SetSel(start, end);
    return 0;
}

LRESULT RichEditState::WMMouseMove(POINT point) {
    if (FSelecting && GetCapture() == FHwnd)
        SetSel(FAnchor, CharAt(point));
    return 0;
}

LRESULT RichEditState::WMLButtonUp() {
    if (FSelecting) {
        FSelecting = false;
        if (GetCapture() == FHwnd)
            ReleaseCapture();
    }
    return 0;
}

LRESULT RichEditState::WMClear() {
    if (!ReadOnly() && FAnchor != FCaret)
        Replace(SelMin(), SelMax(), String(), ChangeKind::User);
    return 0;
}

LRESULT RichEditState::WMCopy() const {
    if (FAnchor == FCaret)
        return 0;
    PutClipboardText(FHwnd, FDoc.Plain(SelMin(), SelMax(), true));
    return 0;
}

LRESULT RichEditState::WMCut() {
    if (ReadOnly() || FAnchor == FCaret)
        return 0;
    WMCopy();
    Replace(SelMin(), SelMax(), String(), ChangeKind::User);
    return 0;
}

LRESULT RichEditState::WMPaste() {
    if (ReadOnly())
        return 0;
    String text = ClipboardText(FHwnd);
    if (!text.empty())
        Replace(SelMin(), SelMax(), text, ChangeKind::User);
    return 0;
}

LRESULT RichEditState::EMUndo() {
    if (!FUndo)
        return FALSE;
    // Undoing swaps, so a second undo redoes.
    auto redo = std::make_unique<Document>(FDoc);
    int anchor = FAnchor, caret = FCaret;
    FDoc = *FUndo;
    FUndo = std::move(redo);
    FAnchor = std::min(FUndoAnchor, FDoc.Length());
    FCaret = std::min(FUndoCaret, FDoc.Length());
    FUndoAnchor = anchor;
    FUndoCaret = caret;
    FTypingRun = false;
    Replaced(ChangeKind::User);
    FTypingRun = false;
    return TRUE;
}

LRESULT RichEditState::EMEmptyUndoBuffer() {
    FUndo.reset();
    FTypingRun = false;
    return 0;
}

// ---- Caret and selection ----

void RichEditState::SetSel(int anchor, int caret) {
    anchor = std::clamp(anchor, 0, FDoc.Length());
    caret = std::clamp(caret, 0, FDoc.Length());
    bool changed = anchor != FAnchor || caret != FCaret;
    FAnchor = anchor;
    FCaret = caret;
    FTypingRun = false;
    if (changed) {
        FInsertion.reset();
        ScrollToCaret();
        Invalidate();
        NotifySelChange();
    }
}

int RichEditState::Prev(int pos) const {
    if (pos <= 0)
        return 0;
    --pos;
    const String& text = FDoc.Text();
    if (pos > 0 && text[static_cast<size_t>(pos)] >= 0xDC00 && text[static_cast<size_t>(pos)] <= 0xDFFF &&
        text[static_cast<size_t>(pos) - 1] >= 0xD800 && text[static_cast<size_t>(pos) - 1] <= 0xDBFF)
        --pos;
    return pos;
}

int RichEditState::Next(int pos) const {
    if (pos >= FDoc.Length())
        return FDoc.Length();
    const String& text = FDoc.Text();
    ++pos;
    if (pos < FDoc.Length() && text[static_cast<size_t>(pos) - 1] >= 0xD800 &&
        text[static_cast<size_t>(pos) - 1] <= 0xDBFF && text[static_cast<size_t>(pos)] >= 0xDC00 &&
        text[static_cast<size_t>(pos)] <= 0xDFFF)
        ++pos;
    return pos;
}

int RichEditState::WordLeft(int pos) const {
    const String& text = FDoc.Text();
    while (pos > 0 && IsDelimiter(text[static_cast<size_t>(pos) - 1]))
        --pos;
    while (pos > 0 && !IsDelimiter(text[static_cast<size_t>(pos) - 1]))
        --pos;
    return pos;
}

int RichEditState::WordRight(int pos) const {
    const String& text = FDoc.Text();
    int length = FDoc.Length();
    while (pos < length && !IsDelimiter(text[static_cast<size_t>(pos)]))
        ++pos;
    while (pos < length && IsDelimiter(text[static_cast<size_t>(pos)]))
        ++pos;
    return pos;
}

LRESULT RichEditState::EMGetSel(DWORD* start, DWORD* end) const {
    if (start)
        *start = static_cast<DWORD>(SelMin());
    if (end)
        *end = static_cast<DWORD>(SelMax());
    return MAKELRESULT(static_cast<WORD>(std::min(SelMin(), 0xFFFF)),
                       static_cast<WORD>(std::min(SelMax(), 0xFFFF)));
}

// (0, -1) selects all; a negative start takes the selection away, leaving the caret at its end.
LRESULT RichEditState::EMSetSel(int start, int end) {
    if (start < 0) {
        SetSel(SelMax(), SelMax());
    } else {
        if (end < 0)
            end = FDoc.Length();
        SetSel(start, end);
    }
    return SelMax();
}

LRESULT RichEditState::EMExGetSel(CHARRANGE* range) const {
    if (range)
        *range = CHARRANGE{SelMin(), SelMax()};
    return 0;
}

LRESULT RichEditState::EMExSetSel(const CHARRANGE* range) {
    if (!range)
        return SelMax();
    return EMSetSel(range->cpMin, range->cpMax);
}

LRESULT RichEditState::EMReplaceSel(bool canUndo, LPCWSTR text) {
    FTypingRun = false;
    Replace(SelMin(), SelMax(), text ? String(text) : String(),
            canUndo ? ChangeKind::User : ChangeKind::Program);
    if (!canUndo)
        FModified = true;
    return 0;
}

LRESULT RichEditState::EMGetSelText(LPWSTR buffer) const {
    if (!buffer)
        return 0;
    String text = FDoc.Plain(SelMin(), SelMax(), false);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return static_cast<LRESULT>(text.size());
}

LRESULT RichEditState::EMGetTextRange(TEXTRANGEW* range) const {
    if (!range || !range->lpstrText)
        return 0;
    int start = std::clamp(range->chrg.cpMin, 0, FDoc.Length());
    int end = range->chrg.cpMax < 0 ? FDoc.Length() : std::clamp(range->chrg.cpMax, start, FDoc.Length());
    String text = FDoc.Plain(start, end, false);
    std::copy(text.begin(), text.end(), range->lpstrText);
    range->lpstrText[text.size()] = 0;
    return static_cast<LRESULT>(text.size());
}

LRESULT RichEditState::EMGetTextEx(const GETTEXTEX* info, LPWSTR buffer) const {
    if (!info || !buffer || info->cb == 0)
        return 0;
    bool crlf = (info->flags & GT_USECRLF) != 0;
    String text = (info->flags & GT_SELECTION) ? FDoc.Plain(SelMin(), SelMax(), crlf)
                                               : FDoc.Plain(0, FDoc.Length(), crlf);
    if (info->codepage == CP_UNICODE) {
        size_t room = info->cb / sizeof(Char);
        if (room == 0)
            return 0;
        size_t count = std::min(text.size(), room - 1);
        std::copy_n(text.data(), count, buffer);
        buffer[count] = 0;
        return static_cast<LRESULT>(count);
    }
    // The text is cut to the buffer, never inside a character of a multi-byte code page.
    int needed = WideCharToMultiByte(info->codepage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                     0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(std::max(needed, 0)), '\0');
    if (needed > 0)
        WideCharToMultiByte(info->codepage, 0, text.data(), static_cast<int>(text.size()), converted.data(),
                            needed, info->codepage == CP_UTF8 ? nullptr : info->lpDefaultChar,
                            info->codepage == CP_UTF8 ? nullptr : info->lpUsedDefChar);
    size_t count = std::min(converted.size(), static_cast<size_t>(info->cb) - 1);
    if (info->codepage == CP_UTF8 || info->codepage == CP_ACP)
        while (count > 0 && count < converted.size() &&
               (static_cast<unsigned char>(converted[count]) & 0xC0) == 0x80)
            --count;
    auto* bytes = reinterpret_cast<char*>(buffer);
    std::copy_n(converted.data(), count, bytes);
    bytes[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT RichEditState::EMGetTextLengthEx(const GETTEXTLENGTHEX* info) const {
    if (!info)
        return E_INVALIDARG;
    String text = FDoc.Plain(0, FDoc.Length(), (info->flags & GTL_USECRLF) != 0);
    if ((info->flags & GTL_NUMBYTES) && info->codepage != CP_UNICODE)
        return WideCharToMultiByte(info->codepage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    return static_cast<LRESULT>(text.size()) * ((info->flags & GTL_NUMBYTES) ? 2 : 1);
}

LRESULT RichEditState::EMExLimitText(LPARAM limit) {
    FLimit = limit <= 0 ? 65536 : static_cast<LONG>(std::min<LPARAM>(limit, 0x7FFFFFFE));
    return 0;
}

LRESULT RichEditState::EMSetModify(bool modified) {
    FModified = modified;
    return 0;
}

LRESULT RichEditState::EMSetReadOnly(bool readOnly) {
    FStyle = readOnly ? (FStyle | ES_READONLY) : (FStyle & ~ES_READONLY);
    SetWindowLongW(FHwnd, GWL_STYLE,
                   static_cast<LONG>(readOnly ? (GetWindowLongW(FHwnd, GWL_STYLE) | ES_READONLY)
                                              : (GetWindowLongW(FHwnd, GWL_STYLE) & ~ES_READONLY)));
    return TRUE;
}

LRESULT RichEditState::EMGetRect(RECT* rect) const {
    if (rect)
        *rect = FormatRect();
    return 0;
}

LRESULT RichEditState::EMSetRect(const RECT* rect, bool redraw) {
    if (rect) {
        FRect = *rect;
        FCustomRect = true;
    } else {
        FCustomRect = false;
        FRect = FormatRect();
    }
    FLinesValid = false;
    if (redraw)
        Invalidate();
    return 0;
}

// Lines here are paragraphs: a wrapped paragraph is one line for these queries.
LRESULT RichEditState::EMLineIndex(int line) const {
    if (line < 0)
        line = FDoc.ParagraphOf(FCaret);
    if (line >= FDoc.ParagraphCount())
        return -1;
    return FDoc.ParagraphStart(line);
}

LRESULT RichEditState::EMLineLength(int index) const {
    if (index < 0)
        index = FCaret;
    if (index > FDoc.Length())
        return 0;
    int paragraph = FDoc.ParagraphOf(index);
    return FDoc.ParagraphEnd(paragraph) - FDoc.ParagraphStart(paragraph);
}

LRESULT RichEditState::EMLineFromChar(int index) const {
    return FDoc.ParagraphOf(index < 0 ? FCaret : index);
}

// The buffer's first word holds its size in characters; the line is not terminated.
LRESULT RichEditState::EMGetLine(int line, LPWSTR buffer) const {
    if (!buffer || line < 0 || line >= FDoc.ParagraphCount())
        return 0;
    size_t room = *reinterpret_cast<const WORD*>(buffer);
    String text = FDoc.Plain(FDoc.ParagraphStart(line), FDoc.ParagraphEnd(line), false);
    size_t count = std::min(text.size(), room);
    std::copy_n(text.data(), count, buffer);
    return static_cast<LRESULT>(count);
}

LRESULT RichEditState::EMScrollCaret() {
    ScrollToCaret();
    return 0;
}

// The top left of the character at index, in client coordinates; the point is a POINTL.
LRESULT RichEditState::EMPosFromChar(POINT* point, int index) {
    if (point)
        *point = PosOf(std::clamp(index, 0, FDoc.Length()));
    return 0;
}

LRESULT RichEditState::EMCharFromPos(const POINT* point) {
    return point ? CharAt(*point) : 0;
}

// ---- Formats ----

// Fills format with what the range has in common: the mask keeps the attributes that are the same
// throughout.
LRESULT RichEditState::EMGetCharFormat(WPARAM which, CHARFORMAT2W* out) const {
    if (!out || (out->cbSize != sizeof(CHARFORMATW) && out->cbSize != sizeof(CHARFORMAT2W)))
        return 0;
    const bool selection = which == SCF_SELECTION;
    CharFormat first = selection ? InsertionFormat() : FDefault;
    DWORD mask = CFM_ALL;
    if (selection && SelMin() < SelMax()) {
        first = FDoc.FormatAt(SelMin());
        for (int i = SelMin() + 1; i < SelMax(); ++i) {
            const CharFormat& other = FDoc.FormatAt(i);
            if (other.face != first.face)
                mask &= ~CFM_FACE;
            if (other.height != first.height)
                mask &= ~CFM_SIZE;
            if (other.offset != first.offset)
                mask &= ~CFM_OFFSET;
            if (other.charSet != first.charSet)
                mask &= ~CFM_CHARSET;
            DWORD differ = other.effects ^ first.effects;
            mask &= ~(differ & (CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT));
            if ((differ & CFE_AUTOCOLOR) || (!(first.effects & CFE_AUTOCOLOR) && other.color != first.color))
                mask &= ~CFM_COLOR;
        }
    }
    UINT size = out->cbSize;
    auto* bytes = reinterpret_cast<BYTE*>(out);
    std::fill(bytes + sizeof(UINT), bytes + size, BYTE{0});
    out->dwMask = mask;
    out->dwEffects = first.effects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_AUTOCOLOR);
    out->yHeight = first.height;
    out->yOffset = first.offset;
    out->crTextColor = first.color;
    out->bCharSet = first.charSet;
    size_t length = std::min<size_t>(first.face.size(), LF_FACESIZE - 1);
    std::copy_n(first.face.data(), length, out->szFaceName);
    if (size == sizeof(CHARFORMAT2W))
        out->wWeight = (first.effects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    return static_cast<LRESULT>(mask);
}

LRESULT RichEditState::EMSetCharFormat(WPARAM which, const CHARFORMAT2W* in) {
    if (!in || (in->cbSize != sizeof(CHARFORMATW) && in->cbSize != sizeof(CHARFORMAT2W)))
        return 0;
    CHARFORMAT2W format{};
    std::copy_n(reinterpret_cast<const BYTE*>(in), in->cbSize, reinterpret_cast<BYTE*>(&format));
    auto change = [format](CharFormat& target) {
        DWORD mask = format.dwMask;
        for (DWORD bit : {CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE, CFE_STRIKEOUT})
            if (mask & bit)
                target.effects = (format.dwEffects & bit) ? (target.effects | bit) : (target.effects & ~bit);
        if (mask & CFM_SIZE)
            target.height = std::clamp<LONG>(format.yHeight, 20, 32760);
        if (mask & CFM_OFFSET)
            target.offset = std::clamp<LONG>(format.yOffset, -32760, 32760);
        if (mask & CFM_CHARSET)
            target.charSet = format.bCharSet;
        if (mask & CFM_FACE) {
            const WCHAR* face = format.szFaceName;
            target.face.assign(face, std::find(face, face + LF_FACESIZE - 1, u'\0'));
        }
        if (mask & CFM_COLOR) {
            if (format.dwEffects & CFE_AUTOCOLOR) {
                target.effects |= CFE_AUTOCOLOR;
                target.color = 0;
            } else {
                target.effects &= ~CFE_AUTOCOLOR;
                target.color = format.crTextColor & 0x00FFFFFF;
            }
        }
    };
    if (which & SCF_ALL) {
        FDoc.ChangeFormat(0, FDoc.Length(), change);
        change(FDefault);
    } else if (which & SCF_SELECTION) {
        if (SelMin() == SelMax()) {
            CharFormat insertion = InsertionFormat();
            change(insertion);
            FInsertion = insertion;
            return TRUE;
        }
        FDoc.ChangeFormat(SelMin(), SelMax(), change);
    } else {
        change(FDefault);
        // The default is the format of text that has none of its own: all of it while it is empty.
        if (FDoc.Length() > 0)
            return TRUE;
    }
    FLinesValid = false;
    Invalidate();
    SendRequestResize(false);
    return TRUE;
}

LRESULT RichEditState::EMGetParaFormat(PARAFORMAT2* out) const {
    if (!out || (out->cbSize != sizeof(PARAFORMAT) && out->cbSize != sizeof(PARAFORMAT2)))
        return 0;
    int first = FDoc.ParagraphOf(SelMin());
    int last = FDoc.ParagraphOf(SelMax());
    const ParaFormat& para = FDoc.Para(first);
    DWORD mask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT;
    for (int i = first + 1; i <= last; ++i) {
        const ParaFormat& other = FDoc.Para(i);
        if (other.startIndent != para.startIndent)
            mask &= ~PFM_STARTINDENT;
        if (other.rightIndent != para.rightIndent)
            mask &= ~PFM_RIGHTINDENT;
        if (other.offset != para.offset)
            mask &= ~PFM_OFFSET;
        if (other.alignment != para.alignment)
            mask &= ~PFM_ALIGNMENT;
    }
    UINT size = out->cbSize;
    auto* bytes = reinterpret_cast<BYTE*>(out);
    std::fill(bytes + sizeof(UINT), bytes + size, BYTE{0});
    out->dwMask = mask;
    out->dxStartIndent = para.startIndent;
    out->dxRightIndent = para.rightIndent;
    out->dxOffset = para.offset;
    out->wAlignment = para.alignment;
    return static_cast<LRESULT>(mask);
}

LRESULT RichEditState::EMSetParaFormat(const PARAFORMAT2* in) {
    if (!in || (in->cbSize != sizeof(PARAFORMAT) && in->cbSize != sizeof(PARAFORMAT2)))
        return FALSE;
    constexpr LONG MaxIndent = 1 << 22;
    for (int i = FDoc.ParagraphOf(SelMin()); i <= FDoc.ParagraphOf(SelMax()); ++i) {
        ParaFormat para = FDoc.Para(i);
        if (in->dwMask & PFM_OFFSETINDENT)
            para.startIndent = std::clamp(para.startIndent + in->dxStartIndent, -MaxIndent, MaxIndent);
        else if (in->dwMask & PFM_STARTINDENT)
            para.startIndent = std::clamp(in->dxStartIndent, -MaxIndent, MaxIndent);
        if (in->dwMask & PFM_RIGHTINDENT)
            para.rightIndent = std::clamp(in->dxRightIndent, -MaxIndent, MaxIndent);
        if (in->dwMask & PFM_OFFSET)
            para.offset = std::clamp(in->dxOffset, -MaxIndent, MaxIndent);
        if ((in->dwMask & PFM_ALIGNMENT) && in->wAlignment >= PFA_LEFT && in->wAlignment <= PFA_JUSTIFY)
            para.alignment = in->wAlignment;
        FDoc.SetPara(i, para);
    }
    FLinesValid = false;
    Invalidate();
    SendRequestResize(false);
    return TRUE;
}

LRESULT RichEditState::EMSetBkgndColor(bool useSystem, COLORREF color) {
    COLORREF old = FSysBackground ? GetSysColor(COLOR_WINDOW) : FBackground;
    FSysBackground = useSystem;
    FBackground = color;
    Invalidate();
    return static_cast<LRESULT>(old);
}

LRESULT RichEditState::EMSetEventMask(DWORD mask) {
    DWORD old = FEventMask;
    FEventMask = mask;
    return static_cast<LRESULT>(old);
}

LRESULT RichEditState::EMSetTargetDevice(LPARAM lineWidth) {
    FNoWrap = lineWidth == 1;
    FLinesValid = false;
    Invalidate();
    SendRequestResize(false);
    return TRUE;
}

// ---- Streams ----

// Reads the whole stream, then puts it in place of the selection (SFF_SELECTION) or of everything.
// Answers the number of characters read.
LRESULT RichEditState::EMStreamIn(WPARAM format, EDITSTREAM* stream) {
    if (!stream || !stream->pfnCallback)
        return 0;
    std::string bytes;
    std::vector<BYTE> chunk(static_cast<size_t>(StreamChunk));
    stream->dwError = 0;
    while (bytes.size() < MaxStreamBytes) {
        LONG got = 0;
        DWORD error = stream->pfnCallback(stream->dwCookie, chunk.data(), StreamChunk, &got);
        if (error != 0) {
            stream->dwError = error;
            break;
        }
        if (got <= 0)
            break;
        bytes.append(reinterpret_cast<const char*>(chunk.data()),
                     static_cast<size_t>(std::min(got, StreamChunk)));
    }
    Document piece;
    bool rtf = (format & SF_RTF) && richedit::ReadRtf(bytes, FDefault, piece);
    if (!rtf) {
        // Text, or RTF that is none: the bytes as characters in the insertion format.
        String text;
        if (format & SF_UNICODE) {
            text.resize(bytes.size() / 2);
            for (size_t i = 0; i < text.size(); ++i)
                text[i] = static_cast<Char>(static_cast<unsigned char>(bytes[2 * i]) |
                                            (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
        } else {
            int count =
                MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
            text.resize(static_cast<size_t>(std::max(count, 0)));
            if (count > 0)
                MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                    count);
        }
        if (text.size() > static_cast<size_t>(richedit::MaxDocumentLength))
            text.resize(static_cast<size_t>(richedit::MaxDocumentLength));
        piece.Clear();
        bool selection = (format & SFF_SELECTION) != 0;
        piece.Replace(0, 0, text, selection ? InsertionFormat() : FDefault);
    }
    FUndo.reset();
    FTypingRun = false;
    int length = piece.Length();
    if (format & SFF_SELECTION) {
        int start = SelMin();
        FDoc.Replace(start, SelMax(), piece);
        FAnchor = FCaret = start + length;
        Replaced(ChangeKind::User);
    } else {
        FDoc = std::move(piece);
        FAnchor = FCaret = 0;
        FScrollY = 0;
        Replaced(ChangeKind::Program);
        FModified = false;
    }
    FInsertion.reset();
    return length;
}

// Hands the text to the callback in chunks until it is all out or the callback stops it. Answers the
// number of bytes taken.
LRESULT RichEditState::EMStreamOut(WPARAM format, EDITSTREAM* stream) const {
    if (!stream || !stream->pfnCallback)
        return 0;
    bool selection = (format & SFF_SELECTION) != 0;
    int start = selection ? SelMin() : 0;
    int end = selection ? SelMax() : FDoc.Length();
    std::string bytes;
    if (format & SF_RTF) {
        bytes = richedit::WriteRtf(FDoc, start, end);
    } else {
        String text = FDoc.Plain(start, end, true);
        if (format & SF_UNICODE) {
            for (Char c : text) {
                bytes += static_cast<char>(c & 0xFF);
                bytes += static_cast<char>(c >> 8);
            }
        } else {
            int count = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                            nullptr, nullptr);
            bytes.resize(static_cast<size_t>(std::max(count, 0)));
            if (count > 0)
                WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                    count, nullptr, nullptr);
        }
    }
    stream->dwError = 0;
    size_t done = 0;
    while (done < bytes.size()) {
        LONG size =
            static_cast<LONG>(std::min<size_t>(bytes.size() - done, static_cast<size_t>(StreamChunk)));
        LONG taken = 0;
        DWORD error = stream->pfnCallback(stream->dwCookie, reinterpret_cast<LPBYTE>(bytes.data() + done),
                                          size, &taken);
        if (error != 0) {
            stream->dwError = error;
            break;
        }
        // A callback that takes nothing would be asked forever.
        if (taken <= 0)
            break;
        done += static_cast<size_t>(std::min(taken, size));
    }
    return static_cast<LRESULT>(done);
}

// ---- Layout, requested size and EM_FORMATRANGE ----

RECT RichEditState::FormatRect() const {
    if (FCustomRect)
        return FRect;
    RECT client{};
    GetClientRect(FHwnd, &client);
    // A little room keeps the caret off the border.
    client.left = std::min(client.left + 1, client.right);
    return client;
}

const std::vector<LayoutLine>& RichEditState::Lines() {
    if (FLinesValid)
        return FLines;
    RECT rect = FormatRect();
    LayoutArea area;
    area.width = std::max<int>(0, rect.right - rect.left);
    area.wrap = Wraps();
    area.emptyFormat = FDoc.FormatIndex(InsertionFormat());
    ScreenDC dc;
    FLines = richedit::LayOut(dc, FScreenFonts, FDoc, 0, FDoc.Length(), area);
    FLinesValid = true;
    return FLines;
}

int RichEditState::LineOf(int pos) {
    const std::vector<LayoutLine>& lines = Lines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (pos < lines[i].next || i + 1 == lines.size() ||
            (pos == lines[i].end && lines[i].next > lines[i].end))
            return static_cast<int>(i);
    return 0;
}

POINT RichEditState::PosOf(int pos) {
    const std::vector<LayoutLine>& lines = Lines();
    const LayoutLine& line = lines[static_cast<size_t>(LineOf(pos))];
    RECT rect = FormatRect();
    ScreenDC dc;
    int x = richedit::PositionX(dc, FScreenFonts, FDoc, line, pos, 96);
    return POINT{rect.left + x, rect.top + line.top - FScrollY};
}

int RichEditState::CharAt(POINT point) {
    const std::vector<LayoutLine>& lines = Lines();
    RECT rect = FormatRect();
    int y = point.y - rect.top + FScrollY;
    size_t index = 0;
    while (index + 1 < lines.size() && y >= lines[index].top + lines[index].height)
        ++index;
    ScreenDC dc;
    return richedit::PositionAt(dc, FScreenFonts, FDoc, lines[index], point.x - rect.left, 96);
}

void RichEditState::ScrollToCaret() {
    const std::vector<LayoutLine>& lines = Lines();
    const LayoutLine& line = lines[static_cast<size_t>(LineOf(FCaret))];
    RECT rect = FormatRect();
    int height = std::max<int>(1, rect.bottom - rect.top);
    if (line.top < FScrollY)
        FScrollY = line.top;
    else if (line.top + line.height > FScrollY + height)
        FScrollY = line.top + line.height - height;
    FScrollY = std::max(0, FScrollY);
    UpdateCaret();
}

void RichEditState::UpdateCaret() {
    if (!FFocused)
        return;
    POINT at = PosOf(FCaret);
    SetCaretPos(at.x, at.y);
}

void RichEditState::Invalidate() {
    InvalidateRect(FHwnd, nullptr, TRUE);
}

LRESULT RichEditState::EMRequestResize() {
    SendRequestResize(true);
    return 0;
}

// Lays the range out in the rectangle given in twips and draws it when render is set. Answers the first
// character that did not fit; a null range only frees what a previous call kept, which is nothing here.
LRESULT RichEditState::EMFormatRange(bool render, const FORMATRANGE* range) {
    if (!range || !range->hdc)
        return 0;
    HDC dc = range->hdc;
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpiX <= 0)
        dpiX = 96;
    if (dpiY <= 0)
        dpiY = 96;
    auto toX = [&](LONG twips) { return static_cast<int>(static_cast<long long>(twips) * dpiX / 1440); };
    auto toY = [&](LONG twips) { return static_cast<int>(static_cast<long long>(twips) * dpiY / 1440); };
    RECT area{toX(range->rc.left), toY(range->rc.top), toX(range->rc.right), toY(range->rc.bottom)};
    int start = std::clamp(range->chrg.cpMin, 0, FDoc.Length());
    int end = range->chrg.cpMax < 0 ? FDoc.Length() : std::clamp(range->chrg.cpMax, start, FDoc.Length());
    LayoutArea layout;
    layout.width = std::max<int>(0, area.right - area.left);
    layout.wrap = true;
    layout.dpiX = dpiX;
    layout.maxHeight = std::max<int>(0, area.bottom - area.top);
    layout.emptyFormat = FDoc.FormatIndex(FDefault);
    richedit::FontCache fonts(dpiY);
    std::vector<LayoutLine> lines = richedit::LayOut(dc, fonts, FDoc, start, end, layout);
    if (lines.empty())
        return start;
    if (render) {
        int saved = SaveDC(dc);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        richedit::DrawLines(dc, fonts, FDoc, lines, POINT{area.left, area.top}, dpiX);
        RestoreDC(dc, saved);
    }
    return std::min(lines.back().next, end);
}

// ---- Painting ----

LRESULT RichEditState::WMPaint(HDC given) {
    PaintControl(FHwnd, given, [&](HDC dc) {
        RECT client{};
        GetClientRect(FHwnd, &client);
        COLORREF background = FSysBackground ? GetSysColor(COLOR_WINDOW) : FBackground;
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        RECT rect = FormatRect();
        int saved = SaveDC(dc);
        IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        // The selection shows only while focused, unless ES_NOHIDESEL.
        bool showSel = FFocused || (FStyle & ES_NOHIDESEL);
        richedit::DrawLines(dc, FScreenFonts, FDoc, Lines(), POINT{rect.left, rect.top - FScrollY}, 96,
                            showSel ? SelMin() : 0, showSel ? SelMax() : 0);
        RestoreDC(dc, saved);
    });
    return 0;
}

// ---- The window procedure ----

LRESULT RichEditWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    RichEditState* state = ControlState<RichEditState>(
        hwnd, message, [&] { return new RichEditState(hwnd, *reinterpret_cast<CREATESTRUCTW*>(lParam)); });
    if (!state)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return state->WMCreate(*reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_SETTEXT:
        return state->WMSetText(reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT:
        return state->WMGetText(wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return state->WMGetTextLength();
    case WM_SETFONT:
        return state->WMSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
    case WM_GETFONT:
        return state->WMGetFont();
    case WM_SIZE:
        return state->WMSize();
    case WM_STYLECHANGED:
        return state->WMStyleChanged(static_cast<int>(wParam), reinterpret_cast<STYLESTRUCT*>(lParam));
    case WM_SETFOCUS:
        return state->WMSetFocus();
    case WM_KILLFOCUS:
        return state->WMKillFocus();
    case WM_GETDLGCODE:
        return state->WMGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_CHAR:
        return state->WMChar(static_cast<Char>(wParam));
    case WM_KEYDOWN:
        return state->WMKeyDown(static_cast<int>(wParam));
    case WM_LBUTTONDOWN:
        return state->WMLButtonDown(wParam, PointOf(lParam));
    case WM_LBUTTONDBLCLK:
        return state->WMLButtonDblClk(PointOf(lParam));
    case WM_MOUSEMOVE:
        return state->WMMouseMove(PointOf(lParam));
    case WM_LBUTTONUP:
        return state->WMLButtonUp();
    case WM_CLEAR:
        return state->WMClear();
    case WM_COPY:
        return state->WMCopy();
    case WM_CUT:
        return state->WMCut();
    case WM_PASTE:
        return state->WMPaste();
    case WM_UNDO:
    case EM_UNDO:
        return state->EMUndo();
    case WM_PAINT:
        return state->WMPaint(nullptr);
    case WM_PRINTCLIENT:
        return state->WMPaint(reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND:
        return TRUE; // WM_PAINT fills the background
    case EM_GETSEL:
        return state->EMGetSel(reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
    case EM_SETSEL:
        return state->EMSetSel(static_cast<int>(wParam), static_cast<int>(lParam));
    case EM_EXGETSEL:
        return state->EMExGetSel(reinterpret_cast<CHARRANGE*>(lParam));
    case EM_EXSETSEL:
        return state->EMExSetSel(reinterpret_cast<const CHARRANGE*>(lParam));
    case EM_REPLACESEL:
        return state->EMReplaceSel(wParam != 0, reinterpret_cast<LPCWSTR>(lParam));
    case EM_GETSELTEXT:
        return state->EMGetSelText(reinterpret_cast<LPWSTR>(lParam));
    case EM_GETTEXTRANGE:
        return state->EMGetTextRange(reinterpret_cast<TEXTRANGEW*>(lParam));
    case EM_GETTEXTEX:
        return state->EMGetTextEx(reinterpret_cast<const GETTEXTEX*>(wParam),
                                  reinterpret_cast<LPWSTR>(lParam));
    case EM_GETTEXTLENGTHEX:
        return state->EMGetTextLengthEx(reinterpret_cast<const GETTEXTLENGTHEX*>(wParam));
    case EM_LIMITTEXT:
        return state->EMExLimitText(static_cast<LPARAM>(wParam));
    case EM_EXLIMITTEXT:
        return state->EMExLimitText(lParam);
    case EM_GETLIMITTEXT:
        return state->EMGetLimitText();
    case EM_GETMODIFY:
        return state->EMGetModify();
    case EM_SETMODIFY:
        return state->EMSetModify(wParam != 0);
    case EM_SETREADONLY:
        return state->EMSetReadOnly(wParam != 0);
    case EM_CANUNDO:
        return state->EMCanUndo();
    case EM_EMPTYUNDOBUFFER:
        return state->EMEmptyUndoBuffer();
    case EM_GETRECT:
        return state->EMGetRect(reinterpret_cast<RECT*>(lParam));
    case EM_SETRECT:
        return state->EMSetRect(reinterpret_cast<const RECT*>(lParam), true);
    case EM_SETRECTNP:
        return state->EMSetRect(reinterpret_cast<const RECT*>(lParam), false);
    case EM_GETLINECOUNT:
        return state->EMGetLineCount();
    case EM_LINEINDEX:
        return state->EMLineIndex(static_cast<int>(wParam));
    case EM_LINELENGTH:
        return state->EMLineLength(static_cast<int>(wParam));
    case EM_LINEFROMCHAR:
        return state->EMLineFromChar(static_cast<int>(wParam));
    case EM_EXLINEFROMCHAR:
        return state->EMLineFromChar(static_cast<int>(lParam));
    case EM_GETLINE:
        return state->EMGetLine(static_cast<int>(wParam), reinterpret_cast<LPWSTR>(lParam));
    case EM_SCROLLCARET:
        return state->EMScrollCaret();
    case EM_POSFROMCHAR:
        return state->EMPosFromChar(reinterpret_cast<POINT*>(wParam), static_cast<int>(lParam));
    case EM_CHARFROMPOS:
        return state->EMCharFromPos(reinterpret_cast<const POINT*>(lParam));
    case EM_STREAMIN:
        return state->EMStreamIn(wParam, reinterpret_cast<EDITSTREAM*>(lParam));
    case EM_STREAMOUT:
        return state->EMStreamOut(wParam, reinterpret_cast<EDITSTREAM*>(lParam));
    case EM_GETCHARFORMAT:
        return state->EMGetCharFormat(wParam, reinterpret_cast<CHARFORMAT2W*>(lParam));
    case EM_SETCHARFORMAT:
        return state->EMSetCharFormat(wParam, reinterpret_cast<const CHARFORMAT2W*>(lParam));
    case EM_GETPARAFORMAT:
        return state->EMGetParaFormat(reinterpret_cast<PARAFORMAT2*>(lParam));
    case EM_SETPARAFORMAT:
        return state->EMSetParaFormat(reinterpret_cast<const PARAFORMAT2*>(lParam));
    case EM_FORMATRANGE:
        return state->EMFormatRange(wParam != 0, reinterpret_cast<const FORMATRANGE*>(lParam));
    case EM_REQUESTRESIZE:
        return state->EMRequestResize();
    case EM_SETBKGNDCOLOR:
        return state->EMSetBkgndColor(wParam != 0, static_cast<COLORREF>(lParam));
    case EM_SETEVENTMASK:
        return state->EMSetEventMask(static_cast<DWORD>(lParam));
    case EM_GETEVENTMASK:
        return state->EMGetEventMask();
    case EM_SETTARGETDEVICE:
        return state->EMSetTargetDevice(lParam);
    case EM_CANPASTE:
        return IsClipboardFormatAvailable(CF_UNICODETEXT) ? TRUE : FALSE;
    default:
        if ((message >= EM_GETSEL && message <= EM_CHARFROMPOS) ||
            (message >= WM_USER && message < WM_USER + 256))
            ZFIXME(TraceRichEdit, "%p: message 0x%04x not handled", static_cast<void*>(hwnd), message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterRichEditClass() {
    RegisterControlClass(RICHEDIT_CLASSW, RichEditWndProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_IBEAM);
}

} // namespace win32::controls
