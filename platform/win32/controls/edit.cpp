// The EDIT window class: single-line and multi-line text editing with the caret, selection, undo, limits,
// notifications and messages of the Win32 edit control, drawn with our GDI.
//
// Contents: the state object - layout and measuring - editing - caret, selection and scrolling - keyboard
// and mouse - EM_* queries - painting - the window procedure.
#include <algorithm>
#include <vector>

#include "platform/rtl/SysStrings.h"
#include "platform/rtl/Trace.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/sysconfig.h"

namespace win32::controls {

namespace {

Trace::Channel TraceEdit("edit");

// The limit an edit starts with, and what EM_LIMITTEXT 0 means.
constexpr UINT InitialLimit = 30000;
constexpr UINT SingleLineMaxLimit = 0x7FFFFFFE;
constexpr UINT MultiLineMaxLimit = 0xFFFFFFFF;

// Where a change comes from. Typing merges into one undo step; the user's changes (keys, pastes,
// EM_REPLACESEL that may be undone) make one step each; a replacement without undo empties the undo
// buffer. All of them honour the limit, the width of an edit that does not scroll, and set the modify
// flag; new text (WM_SETTEXT, creation) does none of that.
enum class ChangeKind { Typing, Paste, User, Replace, Program };
enum class Notify { Yes, No };
enum class Extend { No, Yes };

// One displayed line: a range of the text and the break that ends it ("\r\n" or, for a wrapped line,
// nothing).
struct Line {
    int start = 0;
    int length = 0;
    int breakLength = 0;
};

bool IsDelimiter(Char c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool IsHighSurrogate(Char c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(Char c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

Char ToUpper(Char c) {
    String s = AnsiUpperCase(StringView(&c, 1));
    return s.size() == 1 ? s[0] : c;
}
Char ToLower(Char c) {
    String s = AnsiLowerCase(StringView(&c, 1));
    return s.size() == 1 ? s[0] : c;
}

class EditState {
public:
    EditState(HWND hwnd, const CREATESTRUCTW& create);
    ~EditState();

    LRESULT WMCreate(const CREATESTRUCTW& create);
    LRESULT WMSetText(LPCWSTR text);
    LRESULT WMGetText(WPARAM size, LPWSTR buffer) const;
    LRESULT WMGetTextLength() const { return static_cast<LRESULT>(FText.size()); }
    LRESULT WMSetFont(HFONT font, bool redraw);
    LRESULT WMGetFont() const { return reinterpret_cast<LRESULT>(FFont); }
    LRESULT WMSize();
    LRESULT WMStyleChanged(int which, const STYLESTRUCT* style);
    LRESULT WMSetFocus();
    LRESULT WMKillFocus();
    LRESULT WMEnable();
    LRESULT WMGetDlgCode(const MSG* msg) const;
    LRESULT WMChar(Char c);
    LRESULT WMKeyDown(int key);
    LRESULT WMSysKeyDown(int key, LPARAM lParam);
    LRESULT WMLButtonDown(WPARAM keys, POINT point);
    LRESULT WMLButtonDblClk(POINT point);
    LRESULT WMMouseMove(POINT point);
    LRESULT WMLButtonUp();
    LRESULT WMCaptureChanged();
    LRESULT WMScroll(int bar, WORD code);
    LRESULT WMMouseWheel(short delta);
    LRESULT WMClear();
    LRESULT WMCopy() const;
    LRESULT WMCut();
    LRESULT WMPaste();
    // Paints into given (a WM_PAINT or WM_PRINTCLIENT that carries a DC) or, without one, the update region.
    LRESULT WMPaint(HDC given);

    LRESULT EMGetSel(DWORD* start, DWORD* end) const;
    LRESULT EMSetSel(int start, int end);
    LRESULT EMReplaceSel(bool canUndo, LPCWSTR text);
    LRESULT EMLimitText(WPARAM limit);
    LRESULT EMGetLimitText() const { return static_cast<LRESULT>(FLimit); }
    LRESULT EMGetModify() const { return FModified ? TRUE : FALSE; }
    LRESULT EMSetModify(bool modified);
    LRESULT EMCanUndo() const { return FCanUndo ? TRUE : FALSE; }
    LRESULT EMUndo();
    LRESULT EMEmptyUndoBuffer();
    LRESULT EMGetRect(RECT* rect) const;
    LRESULT EMSetRect(const RECT* rect, bool redraw);
    LRESULT EMSetMargins(WPARAM which, LPARAM margins);
    LRESULT EMGetMargins() const {
        return MAKELRESULT(static_cast<WORD>(FLeftMargin), static_cast<WORD>(FRightMargin));
    }
    LRESULT EMCharFromPos(POINT point) const;
    LRESULT EMPosFromChar(int index) const;
    LRESULT EMLineFromChar(int index) const;
    LRESULT EMLineIndex(int line) const;
    LRESULT EMLineLength(int index) const;
    LRESULT EMGetLineCount() const { return Multi() ? static_cast<LRESULT>(FLines.size()) : 1; }
    LRESULT EMGetLine(int line, LPWSTR buffer) const;
    LRESULT EMGetFirstVisibleLine() const { return Multi() ? FFirstLine : 0; }
    LRESULT EMLineScroll(int chars, int lines);
    LRESULT EMScrollCaret();
    LRESULT EMSetReadOnly(bool readOnly);
    LRESULT EMSetPasswordChar(Char c);
    LRESULT EMGetPasswordChar() const { return (FStyle & ES_PASSWORD) ? FPasswordChar : 0; }
    LRESULT EMSetTabStops(int count, const int* stops);
    LRESULT EMSetCueBanner(bool showWhenFocused, LPCWSTR text);
    LRESULT EMGetCueBanner(LPWSTR buffer, int size) const;
    LRESULT EMShowBalloonTip(const EDITBALLOONTIP* tip);
    LRESULT EMHideBalloonTip();
    LRESULT EMScroll(WORD code);
    LRESULT EMGetThumb() const;

private:
    bool Multi() const { return (FStyle & ES_MULTILINE) != 0; }
    bool ReadOnly() const { return (FStyle & ES_READONLY) != 0; }
    bool Password() const { return (FStyle & ES_PASSWORD) && !Multi(); }
    bool InCombo() const { return FCombo != nullptr; }
    int Length() const { return static_cast<int>(FText.size()); }
    int SelMin() const { return std::min(FAnchor, FCaret); }
    int SelMax() const { return std::max(FAnchor, FCaret); }

    // Layout and measuring.
    void Layout();
    void ResetFormatRect();
    String DisplayText(int start, int length) const;
    std::vector<int> Advances(HDC dc, int start, int length) const;
    int NextTabStop(int x) const;
    int Width(HDC dc, int start, int length) const;
    int LineWidth(HDC dc, int line) const;
    int LineOfChar(int index) const;
    int LineX(HDC dc, int line) const;
    POINT PosOfChar(HDC dc, int index) const;
    int CharAt(HDC dc, POINT point) const;
    int VisibleLines() const;

    // Editing.
    bool ReplaceSel(String text, ChangeKind kind, Notify notify);
    void Notify(WORD code) const;
    void NotifyChange() const;

    // Caret, selection and scrolling.
    void SetSel(int anchor, int caret);
    void MoveCaret(int pos, Extend extend);
    int Prev(int pos) const;
    int Next(int pos) const;
    int WordLeft(int pos) const;
    int WordRight(int pos) const;
    void ScrollToCaret();
    void UpdateCaret();
    void UpdateScrollBars();

    // Painting.
    void PaintLine(HDC dc, int line) const;

    HWND FHwnd;
    HWND FParent;
    HWND FCombo = nullptr; // the combo box this edit belongs to, which hears its notifications
    DWORD FStyle;
    String FText;
    int FAnchor = 0; // the fixed end of the selection
    int FCaret = 0;  // the moving end, where the caret is
    UINT FLimit = InitialLimit;
    bool FModified = false;
    // One undo step: the text and selection before the last change, swapped back by EM_UNDO.
    String FUndoText;
    int FUndoAnchor = 0;
    int FUndoCaret = 0;
    bool FCanUndo = false;
    bool FTypingRun = false; // the next typed character continues the undo step
    Char FPasswordChar;
    int FLeftMargin = 0;
    int FRightMargin = 0;
    RECT FFormatRect{};
    bool FCustomRect = false; // EM_SETRECT fixed the format rectangle
    HFONT FFont = nullptr;
    int FLineHeight = 16;
    int FAverageWidth = 8; // of the font, for tab stops and scrolling by characters
    int FXOffset = 0;      // horizontal scroll in pixels
    int FFirstLine = 0;    // first visible line of a multi-line edit
    std::vector<Line> FLines;
    std::vector<int> FTabStops;
    bool FFocused = false;
    bool FSelecting = false; // the mouse is selecting, with the capture
    String FCue;
    bool FCueWhenFocused = false;
    String FBalloonTitle;
    String FBalloonText;
    bool FBalloonShown = false;
    HWND FBalloonTip = nullptr; // the tooltip window that shows the balloon, made on first use
};

// A screen-compatible DC with the edit's font, for measuring outside painting.
class MeasureDC {
public:
    MeasureDC(HWND hwnd, HFONT font)
        : FHwnd(hwnd), FDC(GetDC(hwnd)), FOld(SelectObject(FDC, ControlFont(font))) {}
    ~MeasureDC() {
        SelectObject(FDC, FOld);
        ReleaseDC(FHwnd, FDC);
    }
    operator HDC() const { return FDC; }

private:
    HWND FHwnd;
    HDC FDC;
    HGDIOBJ FOld;
};

EditState::EditState(HWND hwnd, const CREATESTRUCTW& create)
    : FHwnd(hwnd), FParent(create.hwndParent), FStyle(static_cast<DWORD>(create.style)),
      FPasswordChar(GetSystemSettings().comctlMajor >= 6 ? Char(0x25CF) : u'*') {
    // Multi-line edits scroll vertically when they have a vertical scroll bar; a horizontal scroll bar
    // means no word wrap.
    if (Multi()) {
        if (FStyle & WS_VSCROLL)
            FStyle |= ES_AUTOVSCROLL;
        if (FStyle & WS_HSCROLL)
            FStyle |= ES_AUTOHSCROLL;
        FStyle &= ~ES_PASSWORD;
    } else {
        FStyle &= ~(ES_WANTRETURN | ES_AUTOVSCROLL);
    }
    if ((FStyle & ES_UPPERCASE) && (FStyle & ES_LOWERCASE))
        FStyle &= ~ES_LOWERCASE;
    if (FParent && FParent == ComboFieldCreator())
        FCombo = FParent;
    FLineHeight = FontLineHeight(nullptr);
    FAverageWidth = std::max(1, FontAverageWidth(nullptr));
}

// ---- Layout and measuring ----

void EditState::ResetFormatRect() {
    RECT client{};
    GetClientRect(FHwnd, &client);
    FFormatRect = client;
    FFormatRect.left += FLeftMargin;
    FFormatRect.right -= FRightMargin;
    if (FFormatRect.right < FFormatRect.left)
        FFormatRect.right = FFormatRect.left;
    if (!Multi()) {
        // A single line sits at the top when the control is taller than a line.
        FFormatRect.bottom = FFormatRect.top + FLineHeight;
    }
}

String EditState::DisplayText(int start, int length) const {
    if (Password())
        return String(static_cast<size_t>(length), FPasswordChar);
    return FText.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

// Tab stops are in dialog units, a quarter of the average character width, counted from the start of the
// line; without EM_SETTABSTOPS they fall every 32 units, with one value every that many units.
int EditState::NextTabStop(int x) const {
    int unit = std::max(1, FAverageWidth);
    if (FTabStops.size() > 1) {
        for (int stop : FTabStops)
            if (stop * unit / 4 > x)
                return stop * unit / 4;
    }
    int spacing = (FTabStops.size() == 1 && FTabStops[0] > 0 ? FTabStops[0] : 32) * unit / 4;
    spacing = std::max(1, spacing);
    return (x / spacing + 1) * spacing;
}

// The x where each character of the range ends, the range starting a line.
std::vector<int> EditState::Advances(HDC dc, int start, int length) const {
    std::vector<int> ends(static_cast<size_t>(std::max(0, length)));
    if (length <= 0)
        return ends;
    String shown = DisplayText(start, length);
    int fit = 0;
    SIZE size{};
    GetTextExtentExPointW(dc, shown.c_str(), length, 0, &fit, ends.data(), &size);
    if (shown.find(u'\t') == String::npos)
        return ends;
    int x = 0;
    int previous = 0;
    for (int i = 0; i < length; ++i) {
        int advance = ends[i] - previous;
        previous = ends[i];
        x = shown[i] == u'\t' ? NextTabStop(x) : x + advance;
        ends[i] = x;
    }
    return ends;
}

int EditState::Width(HDC dc, int start, int length) const {
    if (length <= 0)
        return 0;
    String shown = DisplayText(start, length);
    if (shown.find(u'\t') != String::npos)
        return Advances(dc, start, length).back();
    SIZE size{};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    return size.cx;
}

int EditState::LineWidth(HDC dc, int line) const {
    return Width(dc, FLines[line].start, FLines[line].length);
}

void EditState::Layout() {
    if (!FCustomRect)
        ResetFormatRect();
    FLines.clear();
    if (!Multi()) {
        FLines.push_back(Line{0, Length(), 0});
        return;
    }
    bool wrap = !(FStyle & ES_AUTOHSCROLL);
    int width = FFormatRect.right - FFormatRect.left;
    MeasureDC dc(FHwnd, FFont);
    int pos = 0;
    int length = Length();
    std::vector<int> dx;
    while (true) {
        // A hard line ends at "\r\n"; a lone CR or LF is an ordinary character.
        int end = pos;
        while (end < length && !(FText[end] == u'\r' && end + 1 < length && FText[end + 1] == u'\n'))
            ++end;
        int breakLength = end < length ? 2 : 0;
        int start = pos;
        while (wrap && end - start > 0 && width > 0) {
            int count = end - start;
            dx = Advances(dc, start, count);
            int fit = static_cast<int>(std::upper_bound(dx.begin(), dx.end(), width) - dx.begin());
            if (fit >= count)
                break;
            // Break after the last delimiter that fits; a word wider than the line breaks where it must.
            int cut = start + std::max(fit, 1);
            int space = cut;
            while (space > start && !IsDelimiter(FText[space - 1]))
                --space;
            if (space > start)
                cut = space;
            else if (cut < end && IsLowSurrogate(FText[cut]) && cut - 1 > start)
                --cut;
            FLines.push_back(Line{start, cut - start, 0});
            start = cut;
        }
        FLines.push_back(Line{start, end - start, breakLength});
        if (end >= length)
            break;
        pos = end + 2;
    }
}

int EditState::LineOfChar(int index) const {
    int line = 0;
    // Binary search: the last line whose start is at or before index.
    int low = 0, high = static_cast<int>(FLines.size()) - 1;
    while (low <= high) {
        int mid = (low + high) / 2;
        if (FLines[mid].start <= index) {
            line = mid;
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    // A position at the very end of a wrapped line belongs to the next line, as the caret shows it.
    return line;
}

int EditState::LineX(HDC dc, int line) const {
    int width = FFormatRect.right - FFormatRect.left;
    int x = FFormatRect.left - FXOffset;
    DWORD align = FStyle & (ES_CENTER | ES_RIGHT);
    if (align) {
        int textWidth = LineWidth(dc, line);
        if (textWidth < width)
            x += (align == ES_CENTER) ? (width - textWidth) / 2 : width - textWidth;
    }
    return x;
}

POINT EditState::PosOfChar(HDC dc, int index) const {
    int line = LineOfChar(index);
    const Line& l = FLines[line];
    int offset = std::min(index - l.start, l.length);
    int x = LineX(dc, line) + Width(dc, l.start, offset);
    int y = FFormatRect.top + (line - (Multi() ? FFirstLine : 0)) * FLineHeight;
    return POINT{x, y};
}

int EditState::CharAt(HDC dc, POINT point) const {
    int line = 0;
    if (Multi()) {
        int row = point.y < FFormatRect.top ? -1 : (point.y - FFormatRect.top) / FLineHeight;
        line = std::clamp(FFirstLine + row, 0, static_cast<int>(FLines.size()) - 1);
    }
    const Line& l = FLines[line];
    int x = point.x - LineX(dc, line);
    if (x <= 0 || l.length == 0)
        return l.start;
    std::vector<int> dx = Advances(dc, l.start, l.length);
    // The nearer edge of the character under the point.
    for (int i = 0; i < l.length; ++i) {
        int left = i ? dx[i - 1] : 0;
        if (x < (left + dx[i] + 1) / 2)
            return l.start + i;
    }
    return l.start + l.length;
}

int EditState::VisibleLines() const {
    return std::max(1, static_cast<int>(FFormatRect.bottom - FFormatRect.top) / std::max(1, FLineHeight));
}

// ---- Editing ----

void EditState::Notify(WORD code) const {
    NotifyCommand(FHwnd, FParent, code);
}

void EditState::NotifyChange() const {
    Notify(EN_UPDATE);
    Notify(EN_CHANGE);
}

// Replaces the selection with text and puts the caret after it. Answers whether the text changed.
bool EditState::ReplaceSel(String text, ChangeKind kind, enum Notify notify) {
    if (!Multi() && kind == ChangeKind::Paste) {
        // A single line keeps only the first line of a paste of several lines, whether its lines end in
        // CR LF or in a bare LF.
        size_t lf = text.find(u'\n');
        if (lf != String::npos)
            text.resize(lf > 0 && text[lf - 1] == u'\r' ? lf - 1 : lf);
    }
    if (FStyle & ES_UPPERCASE)
        for (Char& c : text)
            c = ToUpper(c);
    else if (FStyle & ES_LOWERCASE)
        for (Char& c : text)
            c = ToLower(c);
    int start = SelMin();
    int end = SelMax();
    bool maxText = false;
    if (kind != ChangeKind::Program) {
        // The limit counts what stays plus what comes; the rest of the insertion is cut.
        unsigned long long kept = static_cast<unsigned long long>(Length() - (end - start));
        unsigned long long room = FLimit > kept ? FLimit - kept : 0;
        if (text.size() > room) {
            size_t cut = static_cast<size_t>(room);
            if (cut > 0 && IsHighSurrogate(text[cut - 1]))
                --cut;
            text.resize(cut);
            maxText = true;
        }
    }
    bool undo = kind == ChangeKind::Typing || kind == ChangeKind::Paste || kind == ChangeKind::User;
    bool continueRun = kind == ChangeKind::Typing && FTypingRun && FCanUndo;
    bool widthCheck = kind != ChangeKind::Program &&
                      ((!Multi() && !(FStyle & ES_AUTOHSCROLL)) || (Multi() && !(FStyle & ES_AUTOVSCROLL)));
    int oldAnchor = FAnchor, oldCaret = FCaret;
    String oldText;
    if ((undo && !continueRun) || widthCheck)
        oldText = FText;
    if (maxText)
        Notify(EN_MAXTEXT);
    if (text.empty() && start == end)
        return false;
    FText.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), text);
    FAnchor = FCaret = start + static_cast<int>(text.size());
    Layout();
    if (widthCheck) {
        // Without automatic scrolling the text must fit the format rectangle: what does not fit is refused.
        bool fits = true;
        if (!Multi()) {
            MeasureDC dc(FHwnd, FFont);
            fits = LineWidth(dc, 0) <= FFormatRect.right - FFormatRect.left;
        } else {
            fits = static_cast<int>(FLines.size()) <= VisibleLines();
        }
        if (!fits) {
            FText = oldText;
            FAnchor = oldAnchor;
            FCaret = oldCaret;
            Layout();
            Notify(EN_MAXTEXT);
            return false;
        }
    }
    if (undo && !continueRun) {
        FUndoText = std::move(oldText);
        FUndoAnchor = oldAnchor;
        FUndoCaret = oldCaret;
        FCanUndo = true;
    } else if (kind == ChangeKind::Replace) {
        // The step kept from before would now bring back a text that no longer leads here.
        EMEmptyUndoBuffer();
    }
    if (kind != ChangeKind::Program)
        FModified = true;
    FTypingRun = kind == ChangeKind::Typing;
    if (FBalloonShown)
        EMHideBalloonTip();
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
    if (notify == Notify::Yes)
        NotifyChange();
    return true;
}

LRESULT EditState::WMCreate(const CREATESTRUCTW& create) {
    Layout();
    if (create.lpszName && *create.lpszName)
        ReplaceSel(String(create.lpszName), ChangeKind::Program, Notify::No);
    FAnchor = FCaret = 0;
    FCanUndo = false;
    FModified = false;
    ScrollToCaret();
    return 0;
}

LRESULT EditState::WMSetText(LPCWSTR text) {
    // New text is not limited, converts its case and leaves the caret at the start.
    String value = text ? String(text) : String();
    FText.clear();
    FAnchor = FCaret = 0;
    ReplaceSel(std::move(value), ChangeKind::Program, Notify::No);
    FAnchor = FCaret = 0;
    FXOffset = 0;
    FFirstLine = 0;
    FModified = false;
    FCanUndo = false;
    FTypingRun = false;
    Layout();
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
    // A single-line edit tells its parent about new text; a multi-line edit and the edit of a combo box
    // do not.
    if (!Multi() && !InCombo())
        NotifyChange();
    return TRUE;
}

LRESULT EditState::WMGetText(WPARAM size, LPWSTR buffer) const {
    if (!buffer || size == 0)
        return 0;
    size_t count = std::min(FText.size(), static_cast<size_t>(size) - 1);
    std::copy_n(FText.data(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT EditState::WMSetFont(HFONT font, bool redraw) {
    FFont = font;
    FLineHeight = std::max(1, FontLineHeight(font));
    FAverageWidth = std::max(1, FontAverageWidth(font));
    EMSetMargins(EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(EC_USEFONTINFO, EC_USEFONTINFO));
    if (FFocused) {
        DestroyCaret();
        CreateCaret(FHwnd, nullptr, 1, FLineHeight);
        UpdateCaret();
        ShowCaret(FHwnd);
    }
    if (redraw)
        InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT EditState::WMSize() {
    FCustomRect = false;
    Layout();
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT EditState::WMStyleChanged(int which, const STYLESTRUCT* style) {
    if (which != GWL_STYLE || !style)
        return 0;
    // The kind of edit (single or multi-line) is fixed at creation; the rest follows the window's style.
    constexpr DWORD Fixed = ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;
    FStyle = (FStyle & Fixed) | (style->styleNew & ~Fixed);
    if (Multi())
        FStyle &= ~ES_PASSWORD;
    Layout();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT EditState::WMSetFocus() {
    FFocused = true;
    CreateCaret(FHwnd, nullptr, 1, FLineHeight);
    UpdateCaret();
    ShowCaret(FHwnd);
    InvalidateRect(FHwnd, nullptr, TRUE);
    Notify(EN_SETFOCUS);
    return 0;
}

LRESULT EditState::WMKillFocus() {
    FFocused = false;
    FTypingRun = false;
    DestroyCaret();
    if (FBalloonShown)
        EMHideBalloonTip();
    InvalidateRect(FHwnd, nullptr, TRUE);
    Notify(EN_KILLFOCUS);
    return 0;
}

LRESULT EditState::WMEnable() {
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT EditState::WMGetDlgCode(const MSG* msg) const {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!Multi())
        return code;
    code |= DLGC_WANTALLKEYS;
    // Escape, and Enter without ES_WANTRETURN, belong to the dialog.
    if (msg && msg->message == WM_KEYDOWN) {
        if (msg->wParam == static_cast<WPARAM>(VK_ESCAPE))
            code &= ~DLGC_WANTALLKEYS;
        else if (msg->wParam == static_cast<WPARAM>(VK_RETURN) && !(FStyle & ES_WANTRETURN))
            code &= ~DLGC_WANTALLKEYS;
    }
    return code;
}

LRESULT EditState::WMChar(Char c) {
    if (SendEditShortcut(FHwnd, c))
        return 0;
    switch (c) {
    case 0x01: // Ctrl+A
        SetSel(0, Length());
        return 0;
    case 0x08: // Backspace
        if (ReadOnly())
            return 0;
        if (FAnchor == FCaret) {
            if (FCaret == 0)
                return 0;
            FAnchor = Prev(FCaret);
            std::swap(FAnchor, FCaret);
        }
        ReplaceSel(String(), FTypingRun ? ChangeKind::Typing : ChangeKind::User, Notify::Yes);
        FTypingRun = true;
        return 0;
    case u'\r':
    case u'\n':
        if (InCombo()) {
            SendMessageW(FCombo, WM_CHAR, c, 0);
            return 0;
        }
        if (Multi() && !ReadOnly())
            ReplaceSel(String(u"\r\n"), ChangeKind::User, Notify::Yes);
        return 0;
    case u'\t':
        if (Multi() && !ReadOnly())
            ReplaceSel(String(u"\t"), ChangeKind::Typing, Notify::Yes);
        return 0;
    case 0x1B: // Escape
        if (InCombo())
            SendMessageW(FCombo, WM_CHAR, c, 0);
        return 0;
    default:
        break;
    }
    if (c < 0x20 || c == 0x7F || ReadOnly())
        return 0;
    if ((FStyle & ES_NUMBER) && (c < u'0' || c > u'9')) {
        MessageBeep(MB_OK);
        return 0;
    }
    ReplaceSel(String(1, c), ChangeKind::Typing, Notify::Yes);
    return 0;
}

LRESULT EditState::WMKeyDown(int key) {
    if (FBalloonShown)
        EMHideBalloonTip();
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    Extend extend = shift ? Extend::Yes : Extend::No;
    // A combo box's edit hands the list keys to the combo box.
    if (InCombo() && (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || key == VK_F4)) {
        SendMessageW(FCombo, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
        return 0;
    }
    int line = LineOfChar(FCaret);
    switch (key) {
    case VK_LEFT:
        MoveCaret(control ? WordLeft(FCaret) : Prev(FCaret), extend);
        break;
    case VK_RIGHT:
        MoveCaret(control ? WordRight(FCaret) : Next(FCaret), extend);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!Multi()) {
            // A single line treats Up like Left and Down like Right.
            if (key == VK_UP || key == VK_DOWN)
                MoveCaret(key == VK_UP ? Prev(FCaret) : Next(FCaret), extend);
            break;
        }
        int step = (key == VK_UP || key == VK_DOWN) ? 1 : VisibleLines();
        int target = std::clamp(line + ((key == VK_UP || key == VK_PRIOR) ? -step : step), 0,
                                static_cast<int>(FLines.size()) - 1);
        MeasureDC dc(FHwnd, FFont);
        POINT at = PosOfChar(dc, FCaret);
        if (key == VK_PRIOR || key == VK_NEXT)
            FFirstLine = std::clamp(FFirstLine + (key == VK_PRIOR ? -step : step), 0,
                                    std::max(0, static_cast<int>(FLines.size()) - VisibleLines()));
        at.y = FFormatRect.top + (target - FFirstLine) * FLineHeight;
        MoveCaret(CharAt(dc, at), extend);
        break;
    }
    case VK_HOME:
        MoveCaret(control || !Multi() ? 0 : FLines[line].start, extend);
        break;
    case VK_END:
        MoveCaret(control || !Multi() ? Length() : FLines[line].start + FLines[line].length, extend);
        break;
    case VK_DELETE:
        if (ReadOnly())
            break;
        if (shift) {
            SendMessageW(FHwnd, WM_CUT, 0, 0);
            break;
        }
        if (FAnchor == FCaret) {
            if (FCaret >= Length())
                break;
            FAnchor = Next(FCaret);
        }
        ReplaceSel(String(), ChangeKind::User, Notify::Yes);
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

LRESULT EditState::WMSysKeyDown(int key, LPARAM lParam) {
    // Alt+Up and Alt+Down open and close a combo box's list.
    if (InCombo() && (key == VK_UP || key == VK_DOWN)) {
        SendMessageW(FCombo, WM_SYSKEYDOWN, static_cast<WPARAM>(key), lParam);
        return 0;
    }
    return DefWindowProcW(FHwnd, WM_SYSKEYDOWN, static_cast<WPARAM>(key), lParam);
}

LRESULT EditState::WMLButtonDown(WPARAM keys, POINT point) {
    if (FBalloonShown)
        EMHideBalloonTip();
    if (!FFocused)
        SetFocus(FHwnd);
    int index;
    {
        MeasureDC dc(FHwnd, FFont);
        index = CharAt(dc, point);
    }
    MoveCaret(index, (keys & MK_SHIFT) ? Extend::Yes : Extend::No);
    FSelecting = true;
    SetCapture(FHwnd);
    return 0;
}

LRESULT EditState::WMLButtonDblClk(POINT point) {
    int index;
    {
        MeasureDC dc(FHwnd, FFont);
        index = CharAt(dc, point);
    }
    // The word under the point with the spaces after it.
    int start = index;
    while (start > 0 && !IsDelimiter(FText[start - 1]))
        --start;
    int end = index;
    while (end < Length() && !IsDelimiter(FText[end]))
        ++end;
    while (end < Length() && (FText[end] == u' ' || FText[end] == u'\t'))
        ++end;
    SetSel(start, end);
    FSelecting = true;
    SetCapture(FHwnd);
    return 0;
}

LRESULT EditState::WMMouseMove(POINT point) {
    if (!FSelecting)
        return 0;
    int index;
    {
        MeasureDC dc(FHwnd, FFont);
        index = CharAt(dc, point);
    }
    MoveCaret(index, Extend::Yes);
    return 0;
}

LRESULT EditState::WMLButtonUp() {
    if (FSelecting) {
        FSelecting = false;
        ReleaseCapture();
    }
    return 0;
}

LRESULT EditState::WMCaptureChanged() {
    FSelecting = false;
    return 0;
}

LRESULT EditState::WMScroll(int bar, WORD code) {
    if (bar == SB_VERT && Multi()) {
        int maxFirst = std::max(0, static_cast<int>(FLines.size()) - VisibleLines());
        int first = FFirstLine;
        switch (code) {
        case SB_LINEUP:
            --first;
            break;
        case SB_LINEDOWN:
            ++first;
            break;
        case SB_PAGEUP:
            first -= VisibleLines();
            break;
        case SB_PAGEDOWN:
            first += VisibleLines();
            break;
        case SB_TOP:
            first = 0;
            break;
        case SB_BOTTOM:
            first = maxFirst;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(FHwnd, SB_VERT, &info);
            first = info.nTrackPos;
            break;
        }
        default:
            return 0;
        }
        first = std::clamp(first, 0, maxFirst);
        if (first != FFirstLine) {
            Notify(EN_VSCROLL);
            FFirstLine = first;
            UpdateCaret();
            UpdateScrollBars();
            InvalidateRect(FHwnd, nullptr, TRUE);
        }
    } else if (bar == SB_HORZ) {
        int step = FAverageWidth;
        int x = FXOffset;
        switch (code) {
        case SB_LINELEFT:
            x -= step;
            break;
        case SB_LINERIGHT:
            x += step;
            break;
        case SB_PAGELEFT:
            x -= FFormatRect.right - FFormatRect.left;
            break;
        case SB_PAGERIGHT:
            x += FFormatRect.right - FFormatRect.left;
            break;
        case SB_LEFT:
            x = 0;
            break;
        default:
            return 0;
        }
        x = std::max(0, x);
        if (x != FXOffset) {
            Notify(EN_HSCROLL);
            FXOffset = x;
            UpdateCaret();
            InvalidateRect(FHwnd, nullptr, TRUE);
        }
    }
    return 0;
}

LRESULT EditState::WMMouseWheel(short delta) {
    int lines = -delta * static_cast<int>(GetSystemSettings().wheelScrollLines) / WHEEL_DELTA;
    EMLineScroll(0, lines);
    return 0;
}

LRESULT EditState::WMClear() {
    if (ReadOnly() || FAnchor == FCaret)
        return 0;
    ReplaceSel(String(), ChangeKind::User, Notify::Yes);
    return 0;
}

// Copying a password is refused, as Win32 does, so that what was typed in one cannot be read back.
LRESULT EditState::WMCopy() const {
    if (Password() || FAnchor == FCaret)
        return 0;
    PutClipboardText(FHwnd, StringView(FText).substr(static_cast<size_t>(SelMin()),
                                                     static_cast<size_t>(SelMax() - SelMin())));
    return 0;
}

LRESULT EditState::WMCut() {
    if (ReadOnly() || Password() || FAnchor == FCaret)
        return 0;
    WMCopy();
    ReplaceSel(String(), ChangeKind::User, Notify::Yes);
    return 0;
}

LRESULT EditState::WMPaste() {
    if (ReadOnly())
        return 0;
    String text = ClipboardText(FHwnd);
    if (!text.empty())
        ReplaceSel(std::move(text), ChangeKind::Paste, Notify::Yes);
    return 0;
}

// ---- Caret, selection and scrolling ----

int EditState::Prev(int pos) const {
    if (pos <= 0)
        return 0;
    --pos;
    // A line break and a surrogate pair are stepped over whole.
    if (pos > 0 && ((FText[pos] == u'\n' && FText[pos - 1] == u'\r' && Multi()) ||
                    (IsLowSurrogate(FText[pos]) && IsHighSurrogate(FText[pos - 1]))))
        --pos;
    return pos;
}

int EditState::Next(int pos) const {
    if (pos >= Length())
        return Length();
    ++pos;
    if (pos < Length() && ((FText[pos] == u'\n' && FText[pos - 1] == u'\r' && Multi()) ||
                           (IsLowSurrogate(FText[pos]) && IsHighSurrogate(FText[pos - 1]))))
        ++pos;
    return pos;
}

int EditState::WordLeft(int pos) const {
    while (pos > 0 && IsDelimiter(FText[pos - 1]))
        --pos;
    while (pos > 0 && !IsDelimiter(FText[pos - 1]))
        --pos;
    return pos;
}

int EditState::WordRight(int pos) const {
    int length = Length();
    if (pos < length && FText[pos] == u'\r' && Multi())
        return Next(pos);
    while (pos < length && !IsDelimiter(FText[pos]))
        ++pos;
    while (pos < length && (FText[pos] == u' ' || FText[pos] == u'\t'))
        ++pos;
    return pos;
}

void EditState::SetSel(int anchor, int caret) {
    anchor = std::clamp(anchor, 0, Length());
    caret = std::clamp(caret, 0, Length());
    FTypingRun = false;
    if (anchor == FAnchor && caret == FCaret)
        return;
    FAnchor = anchor;
    FCaret = caret;
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
}

void EditState::MoveCaret(int pos, Extend extend) {
    SetSel(extend == Extend::Yes ? FAnchor : pos, pos);
}

void EditState::ScrollToCaret() {
    if (FLines.empty())
        return;
    MeasureDC dc(FHwnd, FFont);
    int width = FFormatRect.right - FFormatRect.left;
    if (Multi()) {
        int line = LineOfChar(FCaret);
        int visible = VisibleLines();
        if (line < FFirstLine)
            FFirstLine = line;
        else if (line >= FFirstLine + visible)
            FFirstLine = line - visible + 1;
    }
    if (!Multi() || (FStyle & ES_AUTOHSCROLL)) {
        int line = LineOfChar(FCaret);
        const Line& l = FLines[line];
        int caretX = Width(dc, l.start, FCaret - l.start);
        int textWidth = LineWidth(dc, line);
        if (caretX - FXOffset > width)
            FXOffset = caretX - width + width / 3;
        if (caretX < FXOffset)
            FXOffset = std::max(0, caretX - width / 3);
        // Never leave empty room on the right while text is hidden on the left.
        if (FXOffset > 0 && textWidth - FXOffset < width)
            FXOffset = std::max(0, std::min(FXOffset, textWidth - width + 1));
    } else {
        FXOffset = 0;
    }
    UpdateCaret();
    UpdateScrollBars();
}

void EditState::UpdateCaret() {
    if (!FFocused || FLines.empty())
        return;
    MeasureDC dc(FHwnd, FFont);
    POINT at = PosOfChar(dc, FCaret);
    SetCaretPos(at.x, at.y);
}

void EditState::UpdateScrollBars() {
    if (!Multi())
        return;
    // A multi-line edit keeps the bar it was made with: while the text fits, the bar shows disabled.
    if (FStyle & WS_VSCROLL) {
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                        0,
                        std::max(0, static_cast<int>(FLines.size()) - 1),
                        static_cast<UINT>(VisibleLines()),
                        FFirstLine,
                        0};
        SetScrollInfo(FHwnd, SB_VERT, &info, TRUE);
    }
}

// ---- EM_* ----

LRESULT EditState::EMGetSel(DWORD* start, DWORD* end) const {
    if (start)
        *start = static_cast<DWORD>(SelMin());
    if (end)
        *end = static_cast<DWORD>(SelMax());
    // Positions that do not fit a word make the packed answer -1; the pointers still get them.
    if (SelMax() > 0xFFFF)
        return -1;
    return MAKELRESULT(static_cast<WORD>(SelMin()), static_cast<WORD>(SelMax()));
}

LRESULT EditState::EMSetSel(int start, int end) {
    // -1 as the start removes the selection and keeps the caret; a negative end is the end of the text.
    if (start == -1) {
        SetSel(FCaret, FCaret);
        return 0;
    }
    if (start < 0)
        start = Length();
    if (end < 0)
        end = Length();
    SetSel(start, end);
    return 0;
}

LRESULT EditState::EMReplaceSel(bool canUndo, LPCWSTR text) {
    // A replacement honours the limit and notifies like typing; without canUndo it leaves no undo step.
    String value = text ? String(text) : String();
    ReplaceSel(std::move(value), canUndo ? ChangeKind::User : ChangeKind::Replace, Notify::Yes);
    return 0;
}

LRESULT EditState::EMLimitText(WPARAM limit) {
    if (limit == 0)
        FLimit = Multi() ? MultiLineMaxLimit : SingleLineMaxLimit;
    else
        FLimit = static_cast<UINT>(std::min<WPARAM>(limit, MultiLineMaxLimit));
    return 0;
}

LRESULT EditState::EMSetModify(bool modified) {
    FModified = modified;
    return 0;
}

LRESULT EditState::EMUndo() {
    if (!FCanUndo)
        return Multi() ? FALSE : TRUE;
    String redo = FText;
    int redoAnchor = FAnchor;
    FText = FUndoText;
    FUndoText = std::move(redo);
    FUndoAnchor = redoAnchor;
    FUndoCaret = FCaret;
    // Undoing selects what came back, as Win32 does: the range between the common beginning and end.
    size_t prefix = 0;
    size_t shorter = std::min(FText.size(), FUndoText.size());
    while (prefix < shorter && FText[prefix] == FUndoText[prefix])
        ++prefix;
    size_t suffix = 0;
    while (suffix < shorter - prefix &&
           FText[FText.size() - 1 - suffix] == FUndoText[FUndoText.size() - 1 - suffix])
        ++suffix;
    FAnchor = static_cast<int>(prefix);
    FCaret = static_cast<int>(FText.size() - suffix);
    FTypingRun = false;
    FModified = true;
    Layout();
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
    NotifyChange();
    return TRUE;
}

LRESULT EditState::EMEmptyUndoBuffer() {
    FCanUndo = false;
    FTypingRun = false;
    FUndoText.clear();
    return 0;
}

LRESULT EditState::EMGetRect(RECT* rect) const {
    if (rect)
        *rect = FFormatRect;
    return 0;
}

LRESULT EditState::EMSetRect(const RECT* rect, bool redraw) {
    if (!rect) {
        FCustomRect = false;
    } else {
        FCustomRect = true;
        FFormatRect = *rect;
        if (!Multi())
            FFormatRect.bottom = FFormatRect.top + FLineHeight;
    }
    Layout();
    ScrollToCaret();
    if (redraw)
        InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT EditState::EMSetMargins(WPARAM which, LPARAM margins) {
    // With the font's information the margins are a part of the average character width, as the system's
    // fonts give them.
    int fontMargin = std::max(1, FAverageWidth / 4);
    WORD left = LOWORD(static_cast<std::uintptr_t>(margins));
    WORD right = HIWORD(static_cast<std::uintptr_t>(margins));
    if (which & EC_LEFTMARGIN)
        FLeftMargin = left == EC_USEFONTINFO ? fontMargin : left;
    if (which & EC_RIGHTMARGIN)
        FRightMargin = right == EC_USEFONTINFO ? fontMargin : right;
    FCustomRect = false;
    Layout();
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT EditState::EMCharFromPos(POINT point) const {
    MeasureDC dc(FHwnd, FFont);
    int index = CharAt(dc, point);
    int line = Multi() ? LineOfChar(index) : 0;
    return MAKELRESULT(static_cast<WORD>(index), static_cast<WORD>(line));
}

LRESULT EditState::EMPosFromChar(int index) const {
    // A position at or past the end of the text has no character: -1, as Win32 answers.
    if (index < 0 || index >= Length())
        return -1;
    MeasureDC dc(FHwnd, FFont);
    POINT at = PosOfChar(dc, index);
    return MAKELRESULT(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
}

LRESULT EditState::EMLineFromChar(int index) const {
    if (!Multi())
        return 0;
    if (index < 0)
        index = SelMin();
    return LineOfChar(std::min(index, Length()));
}

LRESULT EditState::EMLineIndex(int line) const {
    if (line < 0)
        line = LineOfChar(FCaret);
    if (line >= static_cast<int>(FLines.size()))
        return -1;
    return FLines[line].start;
}

LRESULT EditState::EMLineLength(int index) const {
    if (index < 0) {
        // The characters of the selection's lines that are not selected.
        int first = LineOfChar(SelMin());
        int last = LineOfChar(SelMax());
        return (SelMin() - FLines[first].start) + (FLines[last].start + FLines[last].length - SelMax());
    }
    return FLines[LineOfChar(std::min(index, Length()))].length;
}

LRESULT EditState::EMGetLine(int line, LPWSTR buffer) const {
    if (!buffer)
        return 0;
    if (!Multi())
        line = 0;
    if (line < 0 || line >= static_cast<int>(FLines.size()))
        return 0;
    WORD size = *reinterpret_cast<const WORD*>(buffer);
    // The line is copied without a terminating zero, as far as the buffer's first word allows.
    int count = std::min<int>(size, FLines[line].length);
    std::copy_n(FText.data() + FLines[line].start, count, buffer);
    return count;
}

LRESULT EditState::EMLineScroll(int chars, int lines) {
    if (!Multi())
        return FALSE;
    int maxFirst = std::max(0, static_cast<int>(FLines.size()) - VisibleLines());
    FFirstLine = std::clamp(FFirstLine + lines, 0, maxFirst);
    if (FStyle & ES_AUTOHSCROLL)
        FXOffset = std::max(0, FXOffset + chars * FAverageWidth);
    UpdateCaret();
    UpdateScrollBars();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT EditState::EMScrollCaret() {
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT EditState::EMSetReadOnly(bool readOnly) {
    DWORD style = static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE));
    style = readOnly ? (style | ES_READONLY) : (style & ~ES_READONLY);
    SetWindowLongW(FHwnd, GWL_STYLE, static_cast<LONG>(style));
    FStyle = readOnly ? (FStyle | ES_READONLY) : (FStyle & ~ES_READONLY);
    InvalidateRect(FHwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT EditState::EMSetPasswordChar(Char c) {
    if (Multi())
        return 0;
    DWORD style = static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE));
    if (c) {
        FPasswordChar = c;
        FStyle |= ES_PASSWORD;
        style |= ES_PASSWORD;
    } else {
        FStyle &= ~ES_PASSWORD;
        style &= ~ES_PASSWORD;
    }
    SetWindowLongW(FHwnd, GWL_STYLE, static_cast<LONG>(style));
    Layout();
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT EditState::EMSetTabStops(int count, const int* stops) {
    if (!Multi())
        return FALSE;
    FTabStops.assign(stops && count > 0 ? stops : nullptr, stops && count > 0 ? stops + count : nullptr);
    Layout();
    ScrollToCaret();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT EditState::EMSetCueBanner(bool showWhenFocused, LPCWSTR text) {
    if (Multi())
        return FALSE;
    FCue = text ? String(text) : String();
    FCueWhenFocused = showWhenFocused;
    InvalidateRect(FHwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT EditState::EMGetCueBanner(LPWSTR buffer, int size) const {
    if (Multi() || !buffer || size <= 0)
        return FALSE;
    size_t count = std::min(FCue.size(), static_cast<size_t>(size) - 1);
    std::copy_n(FCue.data(), count, buffer);
    buffer[count] = 0;
    return TRUE;
}

EditState::~EditState() {
    if (FBalloonTip)
        DestroyWindow(FBalloonTip);
}

// The balloon's tool: the edit itself, tracked (placed by us rather than by the mouse).
TOOLINFOW BalloonTool(HWND edit) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_IDISHWND;
    tool.hwnd = edit;
    tool.uId = reinterpret_cast<UINT_PTR>(edit);
    return tool;
}

// The balloon leaves by itself after this long, unless a key, a click or the focus going away is first.
constexpr UINT BalloonTimeout = 10000;
constexpr UINT_PTR BalloonTimer = 0xB411;

void BalloonTimedOut(HWND hwnd, UINT, UINT_PTR, DWORD) {
    SendMessageW(hwnd, EM_HIDEBALLOONTIP, 0, 0);
}

// A balloon tooltip below the edit, its stem pointing at the caret; a new balloon replaces the shown one.
LRESULT EditState::EMShowBalloonTip(const EDITBALLOONTIP* tip) {
    if (!tip || tip->cbStruct != sizeof(EDITBALLOONTIP))
        return FALSE;
    FBalloonTitle = tip->pszTitle ? String(tip->pszTitle) : String();
    FBalloonText = tip->pszText ? String(tip->pszText) : String();
    if (!FBalloonTip) {
        FBalloonTip = CreateWindowExW(
            WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FHwnd, nullptr, nullptr, nullptr);
        if (!FBalloonTip)
            return FALSE;
        TOOLINFOW tool = BalloonTool(FHwnd);
        SendMessageW(FBalloonTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(FBalloonTip, TTM_SETMAXTIPWIDTH, 0, 300);
    }
    TOOLINFOW tool = BalloonTool(FHwnd);
    if (FBalloonShown) {
        KillTimer(FHwnd, BalloonTimer);
        SendMessageW(FBalloonTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    }
    tool.lpszText = FBalloonText.data();
    SendMessageW(FBalloonTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    int icon = tip->ttiIcon >= TTI_NONE && tip->ttiIcon <= TTI_ERROR ? tip->ttiIcon : TTI_NONE;
    SendMessageW(FBalloonTip, TTM_SETTITLEW, static_cast<WPARAM>(icon),
                 reinterpret_cast<LPARAM>(FBalloonTitle.c_str()));
    RECT client;
    GetClientRect(FHwnd, &client);
    POINT stem{0, client.bottom};
    {
        MeasureDC dc(FHwnd, FFont);
        stem.x = std::clamp<int>(PosOfChar(dc, FCaret).x, client.left, client.right);
    }
    ClientToScreen(FHwnd, &stem);
    SendMessageW(FBalloonTip, TTM_TRACKPOSITION, 0,
                 MAKELPARAM(static_cast<WORD>(stem.x), static_cast<WORD>(stem.y)));
    SendMessageW(FBalloonTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    // A balloon without text does not show, and then there is nothing to hide later.
    FBalloonShown = IsWindowVisible(FBalloonTip) != FALSE;
    if (FBalloonShown)
        SetTimer(FHwnd, BalloonTimer, BalloonTimeout, BalloonTimedOut);
    ZTRACE(TraceEdit, "%p: balloon tip shown", static_cast<void*>(FHwnd));
    return TRUE;
}

LRESULT EditState::EMHideBalloonTip() {
    bool shown = FBalloonShown;
    FBalloonShown = false;
    if (shown && FBalloonTip) {
        KillTimer(FHwnd, BalloonTimer);
        TOOLINFOW tool = BalloonTool(FHwnd);
        SendMessageW(FBalloonTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    }
    return shown ? TRUE : FALSE;
}

// Scrolls a multi-line edit as its scroll bar would; answers TRUE in the high word and the lines moved
// (negative upwards) in the low word. A single-line edit does not scroll this way and answers FALSE.
LRESULT EditState::EMScroll(WORD code) {
    if (!Multi())
        return FALSE;
    switch (code) {
    case SB_LINEUP:
    case SB_LINEDOWN:
    case SB_PAGEUP:
    case SB_PAGEDOWN:
        break;
    default:
        return FALSE;
    }
    int before = FFirstLine;
    WMScroll(SB_VERT, code);
    int moved = FFirstLine - before;
    return MAKELRESULT(static_cast<WORD>(static_cast<short>(moved)), TRUE);
}

// The position of the vertical scroll box, which is the first visible line.
LRESULT EditState::EMGetThumb() const {
    if (!Multi())
        return 0;
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    if ((FStyle & WS_VSCROLL) && GetScrollInfo(FHwnd, SB_VERT, &info))
        return info.nPos;
    return FFirstLine;
}

// ---- Painting ----

void EditState::PaintLine(HDC dc, int line) const {
    const Line& l = FLines[line];
    int y = FFormatRect.top + (line - (Multi() ? FFirstLine : 0)) * FLineHeight;
    int x = LineX(dc, line);
    String shown = DisplayText(l.start, l.length);
    bool showSelection = FFocused || (FStyle & ES_NOHIDESEL);
    int selStart = std::clamp(SelMin() - l.start, 0, l.length);
    int selEnd = std::clamp(SelMax() - l.start, 0, l.length);
    if ((!showSelection || selStart == selEnd) && shown.find(u'\t') == String::npos) {
        TextOutW(dc, x, y, shown.c_str(), static_cast<int>(shown.size()));
        return;
    }
    if (!showSelection)
        selStart = selEnd = 0;
    std::vector<int> ends = Advances(dc, l.start, l.length);
    auto at = [&](int i) { return i > 0 ? ends[i - 1] : 0; };
    RECT selRect{x + at(selStart), y, x + at(selEnd), y + FLineHeight};
    FillRect(dc, &selRect, GetSysColorBrush(COLOR_HIGHLIGHT));
    COLORREF normal = GetTextColor(dc);
    // Runs end at tabs and at the ends of the selection; each is drawn where its first character goes.
    int run = 0;
    for (int i = 0; i <= l.length; ++i) {
        bool boundary = i == l.length || i == selStart || i == selEnd || shown[i] == u'\t';
        if (!boundary)
            continue;
        if (i > run) {
            SetTextColor(dc, run >= selStart && run < selEnd ? GetSysColor(COLOR_HIGHLIGHTTEXT) : normal);
            TextOutW(dc, x + at(run), y, shown.c_str() + run, i - run);
        }
        run = i < l.length && shown[i] == u'\t' ? i + 1 : i;
    }
    SetTextColor(dc, normal);
}

LRESULT EditState::WMPaint(HDC given) {
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(FHwnd, &ps);
    if (!dc)
        return 0;
    int saved = SaveDC(dc);
    bool enabled = IsWindowEnabled(FHwnd) != FALSE;
    // A read-only or disabled edit takes the colours of static text.
    UINT colorMessage = (ReadOnly() || !enabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    HBRUSH background = ControlColor(FHwnd, FParent, dc, colorMessage);
    RECT client{};
    GetClientRect(FHwnd, &client);
    FillRect(dc, &client, background);
    SelectObject(dc, ControlFont(FFont));
    SetBkMode(dc, TRANSPARENT);
    if (!enabled)
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    RECT clip = FFormatRect;
    clip.bottom = Multi() ? FFormatRect.bottom : client.bottom;
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    if (FText.empty() && !FCue.empty() && (!FFocused || FCueWhenFocused)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        TextOutW(dc, FFormatRect.left, FFormatRect.top, FCue.c_str(), static_cast<int>(FCue.size()));
    } else {
        int first = Multi() ? FFirstLine : 0;
        int last = Multi() ? std::min(static_cast<int>(FLines.size()), first + VisibleLines() + 1) : 1;
        for (int line = first; line < last; ++line)
            PaintLine(dc, line);
    }
    RestoreDC(dc, saved);
    if (!given)
        EndPaint(FHwnd, &ps);
    return 0;
}

// ---- The window procedure ----

LRESULT EditWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    EditState* state = ControlState<EditState>(
        hwnd, message, [&] { return new EditState(hwnd, *reinterpret_cast<CREATESTRUCTW*>(lParam)); });
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
    case WM_ENABLE:
        return state->WMEnable();
    case WM_GETDLGCODE:
        return state->WMGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_CHAR:
        return state->WMChar(static_cast<Char>(wParam));
    case WM_KEYDOWN:
        return state->WMKeyDown(static_cast<int>(wParam));
    case WM_SYSKEYDOWN:
        return state->WMSysKeyDown(static_cast<int>(wParam), lParam);
    case WM_LBUTTONDOWN:
        return state->WMLButtonDown(wParam, PointOf(lParam));
    case WM_LBUTTONDBLCLK:
        return state->WMLButtonDblClk(PointOf(lParam));
    case WM_MOUSEMOVE:
        return state->WMMouseMove(PointOf(lParam));
    case WM_LBUTTONUP:
        return state->WMLButtonUp();
    case WM_CAPTURECHANGED:
        return state->WMCaptureChanged();
    case WM_VSCROLL:
        return state->WMScroll(SB_VERT, LOWORD(wParam));
    case WM_HSCROLL:
        return state->WMScroll(SB_HORZ, LOWORD(wParam));
    case WM_MOUSEWHEEL:
        // A single line has nothing to scroll: the wheel goes on to the parent (a combo box steps its
        // selection by it).
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE))
            return DefWindowProcW(hwnd, message, wParam, lParam);
        return state->WMMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    case WM_CLEAR:
        return state->WMClear();
    case WM_UNDO:
    case EM_UNDO:
        return state->EMUndo();
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return state->WMPaint(reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND:
        return TRUE; // WM_PAINT fills the background with the parent's brush
    case WM_CUT:
        return state->WMCut();
    case WM_COPY:
        return state->WMCopy();
    case WM_PASTE:
        return state->WMPaste();
    case EM_GETSEL:
        return state->EMGetSel(reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
    case EM_SETSEL:
        return state->EMSetSel(static_cast<int>(wParam), static_cast<int>(lParam));
    case EM_REPLACESEL:
        return state->EMReplaceSel(wParam != 0, reinterpret_cast<LPCWSTR>(lParam));
    case EM_LIMITTEXT:
        return state->EMLimitText(wParam);
    case EM_GETLIMITTEXT:
        return state->EMGetLimitText();
    case EM_GETMODIFY:
        return state->EMGetModify();
    case EM_SETMODIFY:
        return state->EMSetModify(wParam != 0);
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
    case EM_SETMARGINS:
        return state->EMSetMargins(wParam, lParam);
    case EM_GETMARGINS:
        return state->EMGetMargins();
    case EM_CHARFROMPOS:
        return state->EMCharFromPos(PointOf(lParam));
    case EM_POSFROMCHAR:
        return state->EMPosFromChar(static_cast<int>(wParam));
    case EM_LINEFROMCHAR:
        return state->EMLineFromChar(static_cast<int>(wParam));
    case EM_LINEINDEX:
        return state->EMLineIndex(static_cast<int>(wParam));
    case EM_LINELENGTH:
        return state->EMLineLength(static_cast<int>(wParam));
    case EM_GETLINECOUNT:
        return state->EMGetLineCount();
    case EM_GETLINE:
        return state->EMGetLine(static_cast<int>(wParam), reinterpret_cast<LPWSTR>(lParam));
    case EM_GETFIRSTVISIBLELINE:
        return state->EMGetFirstVisibleLine();
    case EM_LINESCROLL:
        return state->EMLineScroll(static_cast<int>(wParam), static_cast<int>(lParam));
    case EM_SCROLLCARET:
        return state->EMScrollCaret();
    case EM_SETREADONLY:
        return state->EMSetReadOnly(wParam != 0);
    case EM_SETPASSWORDCHAR:
        return state->EMSetPasswordChar(static_cast<Char>(wParam));
    case EM_GETPASSWORDCHAR:
        return state->EMGetPasswordChar();
    case EM_SETTABSTOPS:
        return state->EMSetTabStops(static_cast<int>(wParam), reinterpret_cast<const int*>(lParam));
    case EM_FMTLINES:
        return static_cast<LRESULT>(wParam);
    case EM_SETCUEBANNER:
        return state->EMSetCueBanner(wParam != 0, reinterpret_cast<LPCWSTR>(lParam));
    case EM_GETCUEBANNER:
        return state->EMGetCueBanner(reinterpret_cast<LPWSTR>(wParam), static_cast<int>(lParam));
    case EM_SHOWBALLOONTIP:
        return state->EMShowBalloonTip(reinterpret_cast<const EDITBALLOONTIP*>(lParam));
    case EM_HIDEBALLOONTIP:
        return state->EMHideBalloonTip();
    case EM_SCROLL:
        return state->EMScroll(LOWORD(wParam));
    case EM_GETTHUMB:
        return state->EMGetThumb();
    default:
        if ((message >= EM_GETSEL && message <= EM_CHARFROMPOS) ||
            (message > ECM_FIRST && message < ECM_FIRST + 16))
            ZFIXME(TraceEdit, "%p: message 0x%04x not handled", static_cast<void*>(hwnd), message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterEditClass() {
    RegisterControlClass(EditClassName, EditWndProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_IBEAM);
}

} // namespace win32::controls
