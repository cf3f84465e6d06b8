// TCustomEdit and TCustomMemo: framework controls whose window is the system's EDIT class; the
// properties map onto ES_* styles and EM_* messages, and EN_CHANGE comes back as OnChange.
#include "platform/framework/StdEdit.h"

#include <algorithm>

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winctrl.h"

DEFINE_CLASS(TCustomEdit)
DEFINE_CLASS(TEdit, PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(AutoSelect).Default(true),
             PROPERTY(AutoSize).Default(true), PROPERTY(Ctl3D).Default(true),
             PROPERTY(ParentCtl3D).Default(true), PROPERTY(BorderStyle).Default(bsSingle),
             PROPERTY(CharCase).Default(ecNormal), PROPERTY(HideSelection).Default(true),
             PROPERTY(MaxLength).Default(0), PROPERTY(PasswordChar).Default(0),
             PROPERTY(ReadOnly).Default(false), PROPERTY(Text), EVENT(OnChange))
DEFINE_CLASS(TCustomMemo)
DEFINE_CLASS(TMemo, PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(BorderStyle).Default(bsSingle),
             PROPERTY(Ctl3D).Default(true), PROPERTY(ParentCtl3D).Default(true),
             PROPERTY(HideSelection).Default(true), PROPERTY(Lines), PROPERTY(MaxLength).Default(0),
             PROPERTY(ReadOnly).Default(false), PROPERTY(ScrollBars).Default(ssNone),
             PROPERTY(WantReturns).Default(true), PROPERTY(WantTabs).Default(false),
             PROPERTY(WordWrap).Default(true), EVENT(OnChange))

namespace {

// Lines of a memo, read from and written into the window's text. Every change is a replacement of a
// range of the text, so the caret, the undo buffer and EN_CHANGE behave as for any programmatic edit.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}

    void Clear() override { FMemo->Clear(); }

    void Delete(Integer index) override {
        if (index < 0 || index >= GetCount())
            Error(Consts::SListIndexError, index);
        LRESULT start = Send(EM_LINEINDEX, index, 0);
        LRESULT end = Send(EM_LINEINDEX, index + 1, 0);
        if (end < 0)
            end = start + Send(EM_LINELENGTH, start, 0);
        Replace(start, end, String());
    }

    // A line at the end of text without a final line break first gets one, so the new line stays a
    // line of its own.
    void Insert(Integer index, const String& s) override {
        Integer count = GetCount();
        if (index < 0 || index > count)
            Error(Consts::SListIndexError, index);
        LRESULT start = Send(EM_LINEINDEX, index, 0);
        if (start >= 0) {
            Replace(start, start, s + sLineBreak);
            return;
        }
        start = Send(EM_LINEINDEX, index - 1, 0);
        start += Send(EM_LINELENGTH, start, 0);
        Replace(start, start, sLineBreak + s);
    }

protected:
    String Get(Integer index) const override {
        if (index < 0 || index >= GetCount())
            Error(Consts::SListIndexError, index);
        LRESULT start = Send(EM_LINEINDEX, index, 0);
        LRESULT length = Send(EM_LINELENGTH, start, 0);
        if (length <= 0)
            return String();
        // EM_GETLINE takes the buffer's size in its first word, so a line longer than that is read
        // from the whole text instead.
        String text = FMemo->Text();
        if (static_cast<size_t>(start) >= text.size())
            return String();
        return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
    }

    // The empty line after a final line break is not counted.
    Integer GetCount() const override {
        HWND hwnd = FMemo->Handle();
        if (GetWindowTextLengthW(hwnd) == 0)
            return 0;
        auto count = static_cast<Integer>(Send(EM_GETLINECOUNT, 0, 0));
        if (Send(EM_LINELENGTH, Send(EM_LINEINDEX, count - 1, 0), 0) == 0)
            --count;
        return count;
    }

    void Put(Integer index, const String& s) override {
        if (index < 0 || index >= GetCount())
            Error(Consts::SListIndexError, index);
        LRESULT start = Send(EM_LINEINDEX, index, 0);
        Replace(start, start + Send(EM_LINELENGTH, start, 0), s);
    }

    String GetTextStr() const override { return FMemo->Text(); }
    void SetTextStr(const String& text) override { FMemo->SetText(text); }

    void SetUpdateState(bool updating) override {
        if (!FMemo->HandleAllocated())
            return;
        Send(WM_SETREDRAW, updating ? 0 : 1, 0);
        if (!updating)
            FMemo->Refresh();
    }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
        return SendMessageW(FMemo->Handle(), msg, wParam, lParam);
    }

    void Replace(LRESULT start, LRESULT end, const String& s) const {
        Send(EM_SETSEL, static_cast<WPARAM>(start), end);
        Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }

    TCustomMemo* FMemo;
};

} // namespace

// ---- TCustomEdit ----

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetAutoSize(true);
}

TCustomEdit::~TCustomEdit() = default;

bool TCustomEdit::IsMultiLine() const {
    return WindowHandle() != nullptr && (GetWindowLongW(WindowHandle(), GWL_STYLE) & ES_MULTILINE) != 0;
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    static constexpr DWORD alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    static constexpr DWORD charCases[] = {0, ES_UPPERCASE, ES_LOWERCASE};
    TWinControl::CreateParams(params);
    // The class must exist before its information is read, also before any window was made.
    win32::RegisterSystemControls();
    CreateSubClass(params, u"EDIT");
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | alignments[FAlignment] | charCases[FCharCase];
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
    if (FPasswordChar != 0)
        params.Style |= ES_PASSWORD;
    if (FReadOnly)
        params.Style |= ES_READONLY;
    if (!FHideSelection)
        params.Style |= ES_NOHIDESEL;
    // The edit scrolls its own text; redrawing it whole on every size change only flickers.
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomEdit::CreateWnd() {
    FCreating = true;
    try {
        TWinControl::CreateWnd();
    } catch (...) {
        FCreating = false;
        throw;
    }
    FCreating = false;
    Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    Perform(EM_SETMODIFY, FModified ? 1 : 0, 0);
    if (FPasswordChar != 0)
        Perform(EM_SETPASSWORDCHAR, FPasswordChar, 0);
}

void TCustomEdit::DestroyWnd() {
    FModified = Modified();
    TWinControl::DestroyWnd();
}

void TCustomEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        CNCommand(message);
        break;
    case WM_SETFONT:
        TWinControl::Dispatch(message);
        // A one-line edit keeps its text at the border, whatever the font's own margins are; a window of
        // several lines keeps the margins the font gives it.
        if (HandleAllocated() && !IsMultiLine())
            Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        break;
    default:
        TWinControl::Dispatch(message);
    }
}

void TCustomEdit::Change() {
    TWinControl::Changed();
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == EN_CHANGE && !FCreating)
        Change();
}

bool TCustomEdit::CanAutoSize(int&, int& newHeight) {
    if (FBorderStyle != bsSingle)
        return false;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICW metrics{};
    BOOL measured = GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (!measured)
        return false;
    newHeight = metrics.tmHeight + GetSystemMetrics(SM_CYBORDER) * (Ctl3D() ? 8 : 6);
    return true;
}

void TCustomEdit::CMFontChanged(TMessage& message) {
    TWinControl::CMFontChanged(message);
    AdjustSize();
}

void TCustomEdit::CMEnter(TMessage& message) {
    // A click places the caret itself; only keyboard focus selects the whole line.
    if (FAutoSelect && !ControlState().Contains(csLButtonDown) && !IsMultiLine())
        SelectAll();
    TWinControl::CMEnter(message);
}

void TCustomEdit::CMTextChanged(TMessage& message) {
    TWinControl::CMTextChanged(message);
    // A single-line window reports new text itself through EN_CHANGE; without a window, and for a
    // multi-line window, which does not, the change is announced here.
    if (!HandleAllocated() || IsMultiLine())
        Change();
}

void TCustomEdit::WMContextMenu(TMessage& message) {
    SetFocus();
    TWinControl::WMContextMenu(message);
}

void TCustomEdit::SetAlignment(TAlignment value) {
    if (FAlignment != value) {
        FAlignment = value;
        RecreateWnd();
    }
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value != bsNone && value != bsSingle)
        throw EInvalidOperation(Consts::SInvalidPropertyValue);
    if (FBorderStyle != value) {
        FBorderStyle = value;
        // Only an edit with a border keeps the height its font asks for.
        SetControlStyle(value == bsSingle ? ControlStyle() + TControlStyle{csFixedHeight}
                                          : ControlStyle() - TControlStyle{csFixedHeight});
        RecreateWnd();
        AdjustSize();
    }
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (FCharCase != value) {
        FCharCase = value;
        RecreateWnd();
    }
}

void TCustomEdit::SetHideSelection(bool value) {
    if (FHideSelection != value) {
        FHideSelection = value;
        RecreateWnd();
    }
}

void TCustomEdit::SetMaxLength(Integer value) {
    FMaxLength = std::max<Integer>(value, 0);
    if (HandleAllocated())
        Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

bool TCustomEdit::Modified() {
    if (HandleAllocated())
        return Perform(EM_GETMODIFY, 0, 0) != 0;
    return FModified;
}

void TCustomEdit::SetModified(bool value) {
    if (HandleAllocated())
        Perform(EM_SETMODIFY, value ? 1 : 0, 0);
    else
        FModified = value;
}

void TCustomEdit::SetPasswordChar(Char value) {
    if (FPasswordChar == value)
        return;
    FPasswordChar = value;
    if (HandleAllocated()) {
        Perform(EM_SETPASSWORDCHAR, value, 0);
        Invalidate();
    }
}

void TCustomEdit::SetReadOnly(bool value) {
    if (FReadOnly == value)
        return;
    FReadOnly = value;
    if (HandleAllocated())
        Perform(EM_SETREADONLY, value ? 1 : 0, 0);
}

Integer TCustomEdit::SelStart() {
    DWORD start = 0;
    if (HandleAllocated())
        Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<Integer>(start);
}

// Setting the selection makes the window first, so that a selection set before the control is shown is
// the window's from the start.
void TCustomEdit::SetSelStart(Integer value) {
    HandleNeeded();
    Perform(EM_SETSEL, static_cast<WPARAM>(value), value);
}

Integer TCustomEdit::SelLength() {
    DWORD start = 0;
    DWORD end = 0;
    if (HandleAllocated())
        Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<Integer>(end - start);
}

void TCustomEdit::SetSelLength(Integer value) {
    HandleNeeded();
    Integer start = SelStart();
    Perform(EM_SETSEL, static_cast<WPARAM>(start), start + value);
    Perform(EM_SCROLLCARET, 0, 0);
}

String TCustomEdit::SelText() {
    String text = Text();
    auto start = static_cast<size_t>(std::min<Integer>(SelStart(), static_cast<Integer>(text.size())));
    return text.substr(start, static_cast<size_t>(std::max<Integer>(SelLength(), 0)));
}

void TCustomEdit::SetSelText(const String& value) {
    HandleNeeded();
    Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated())
        Perform(EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() {
    Perform(WM_CLEAR, 0, 0);
}

void TCustomEdit::Clear() {
    SetText(String());
}

bool TCustomEdit::CanUndo() {
    return HandleAllocated() && Perform(EM_CANUNDO, 0, 0) != 0;
}

void TCustomEdit::Undo() {
    if (HandleAllocated())
        Perform(WM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo() {
    if (HandleAllocated())
        Perform(EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
    Perform(WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
    Perform(WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
    Perform(WM_PASTE, 0, 0);
}

// ---- TCustomMemo ----

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), FLines(std::make_unique<TMemoStrings>(this)) {
    SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
    SetAutoSize(false);
    SetBounds(Left(), Top(), 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& params) {
    static constexpr DWORD scrollBars[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};
    TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE | scrollBars[FScrollBars];
    // Wrapped lines never scroll sideways.
    if (FWordWrap)
        params.Style &= ~ES_AUTOHSCROLL;
}

void TCustomMemo::Dispatch(TMessage& message) {
    if (message.Msg != WM_GETDLGCODE) {
        TCustomEdit::Dispatch(message);
        return;
    }
    TCustomEdit::Dispatch(message);
    if (FWantTabs)
        message.Result |= DLGC_WANTTAB;
    else
        message.Result &= ~DLGC_WANTTAB;
    if (!FWantReturns)
        message.Result &= ~DLGC_WANTALLKEYS;
}

void TCustomMemo::KeyPress(Char& key) {
    TCustomEdit::KeyPress(key);
    if (key == u'\r' && !FWantReturns)
        key = 0;
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    if (FScrollBars != value) {
        FScrollBars = value;
        RecreateWnd();
    }
}

void TCustomMemo::SetWordWrap(bool value) {
    if (FWordWrap != value) {
        FWordWrap = value;
        RecreateWnd();
    }
}

TPoint TCustomMemo::CaretPos() {
    DWORD start = 0;
    DWORD end = 0;
    Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    // The caret is at the selection's end.
    auto line = static_cast<Integer>(Perform(EM_LINEFROMCHAR, end, 0));
    auto column = static_cast<Integer>(end) - static_cast<Integer>(Perform(EM_LINEINDEX, line, 0));
    return TPoint(column, line);
}

void TCustomMemo::SetCaretPos(const TPoint& value) {
    LRESULT index = Perform(EM_LINEINDEX, static_cast<WPARAM>(value.Y), 0);
    if (index < 0)
        index = GetWindowTextLengthW(Handle());
    index += std::max(0, value.X);
    Perform(EM_SETSEL, static_cast<WPARAM>(index), index);
}
