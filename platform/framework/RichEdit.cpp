// TCustomRichEdit and its attribute objects: framework controls on the system's rich edit class, whose
// Lines stream rich text and whose attributes map onto EM_GETCHARFORMAT/EM_SETCHARFORMAT and
// EM_GETPARAFORMAT/EM_SETPARAFORMAT.
#include "platform/framework/RichEdit.h"

#include <algorithm>

#include "platform/framework/Graphics.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"

DEFINE_CLASS(TTextAttributes)
DEFINE_CLASS(TParaAttributes)
DEFINE_CLASS(TCustomRichEdit)
DEFINE_CLASS(TRichEdit, PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(BorderStyle).Default(bsSingle),
             PROPERTY(Ctl3D).Default(true), PROPERTY(ParentCtl3D).Default(true),
             PROPERTY(HideSelection).Default(true), PROPERTY(Lines), PROPERTY(MaxLength).Default(0),
             PROPERTY(PlainText).Default(false), PROPERTY(ReadOnly).Default(false),
             PROPERTY(ScrollBars).Default(ssNone), PROPERTY(WantReturns).Default(true),
             PROPERTY(WantTabs).Default(false), PROPERTY(WordWrap).Default(true), EVENT(OnChange),
             EVENT(OnResizeRequest))

namespace {

// EM_STREAMIN and EM_STREAMOUT over bytes in memory.
struct Bytes {
    std::string data;
    size_t pos = 0;

    static DWORD Read(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
        auto* self = reinterpret_cast<Bytes*>(cookie);
        size_t count = std::min(self->data.size() - self->pos, static_cast<size_t>(std::max<LONG>(size, 0)));
        std::copy_n(self->data.data() + self->pos, count, buffer);
        self->pos += count;
        *done = static_cast<LONG>(count);
        return 0;
    }
    static DWORD Write(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
        auto* self = reinterpret_cast<Bytes*>(cookie);
        self->data.append(reinterpret_cast<const char*>(buffer),
                          static_cast<size_t>(std::max<LONG>(size, 0)));
        *done = size;
        return 0;
    }
};

std::string StreamOut(TCustomRichEdit* edit, WPARAM format) {
    Bytes bytes;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&bytes), 0, Bytes::Write};
    SendMessageW(edit->Handle(), EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    return bytes.data;
}

void StreamIn(TCustomRichEdit* edit, WPARAM format, std::string data) {
    Bytes bytes{std::move(data), 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&bytes), 0, Bytes::Read};
    SendMessageW(edit->Handle(), EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

// The paragraphs of a rich edit. Every change replaces a range of the window's text, whose positions
// count a paragraph break as one character.
class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TCustomRichEdit* edit) : FEdit(edit) {}

    void Clear() override { FEdit->Clear(); }

    void Delete(Integer index) override {
        if (index < 0 || index >= GetCount())
            Error(Consts::SListIndexError, index);
        LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(index), 0);
        LRESULT end = Send(EM_LINEINDEX, static_cast<WPARAM>(index + 1), 0);
        if (end < 0) {
            end = start + Send(EM_LINELENGTH, static_cast<WPARAM>(start), 0);
            // The last paragraph takes the break before it along.
            if (start > 0)
                --start;
        }
        Replace(start, end, String());
    }

    void Insert(Integer index, const String& s) override {
        Integer count = GetCount();
        if (index < 0 || index > count)
            Error(Consts::SListIndexError, index);
        if (index < count) {
            LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(index), 0);
            Replace(start, start, s + u"\r");
            return;
        }
        LRESULT length = TextLength();
        // A text that ends in a break already has the empty paragraph the new line goes into.
        bool open = length == 0 || LastChar() == u'\r';
        Replace(length, length, open ? s : u"\r" + s);
    }

    void LoadFromStream(TStream& stream, TEncoding* encoding = nullptr) override {
        Int64 size = stream.Size() - stream.Position();
        std::string data(static_cast<size_t>(std::max<Int64>(size, 0)), '\0');
        if (!data.empty())
            stream.ReadBuffer(data.data(), static_cast<Integer>(data.size()));
        // Bytes that are no rich text load as text, as they do with PlainText.
        StreamIn(FEdit, FEdit->PlainText() ? SF_TEXT : SF_RTF, std::move(data));
    }

    void SaveToStream(TStream& stream, TEncoding* encoding = nullptr) override {
        std::string data = StreamOut(FEdit, FEdit->PlainText() ? SF_TEXT : SF_RTF);
        if (!data.empty())
            stream.WriteBuffer(data.data(), static_cast<Integer>(data.size()));
    }

protected:
    String Get(Integer index) const override {
        if (index < 0 || index >= GetCount())
            Error(Consts::SListIndexError, index);
        LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(index), 0);
        LRESULT length = Send(EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        String text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, u'\0');
        TEXTRANGEW range{CHARRANGE{static_cast<LONG>(start), static_cast<LONG>(start + length)}, text.data()};
        LRESULT count = Send(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        text.resize(static_cast<size_t>(std::max<LRESULT>(count, 0)));
        return text;
    }

    // The empty paragraph after a final break is not counted.
    Integer GetCount() const override {
        LRESULT length = TextLength();
        if (length == 0)
            return 0;
        auto count = static_cast<Integer>(Send(EM_GETLINECOUNT, 0, 0));
        return LastChar() == u'\r' ? count - 1 : count;
    }

    void Put(Integer index, const String& s) override {
        if (index < 0 || index >= GetCount())
            Error(Consts::SListIndexError, index);
        LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(index), 0);
        Replace(start, start + Send(EM_LINELENGTH, static_cast<WPARAM>(start), 0), s);
    }

    String GetTextStr() const override { return FEdit->Text(); }
    void SetTextStr(const String& text) override { FEdit->SetText(text); }

    void SetUpdateState(bool updating) override {
        if (!FEdit->HandleAllocated())
            return;
        Send(WM_SETREDRAW, updating ? 0 : 1, 0);
        if (!updating)
            FEdit->Refresh();
    }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
        return SendMessageW(FEdit->Handle(), msg, wParam, lParam);
    }

    LRESULT TextLength() const {
        GETTEXTLENGTHEX info{GTL_DEFAULT, CP_UNICODE};
        return Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&info), 0);
    }

    Char LastChar() const {
        LRESULT length = TextLength();
        Char text[2]{};
        TEXTRANGEW range{CHARRANGE{static_cast<LONG>(length - 1), static_cast<LONG>(length)}, text};
        Send(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        return text[0];
    }

    void Replace(LRESULT start, LRESULT end, const String& s) const {
        CHARRANGE range{static_cast<LONG>(start), static_cast<LONG>(end)};
        Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }

    TCustomRichEdit* FEdit;
};

WPARAM Scope(TAttributeType type) {
    return type == atSelected ? SCF_SELECTION : SCF_DEFAULT;
}

} // namespace

// ---- TTextAttributes ----

CHARFORMAT2W TTextAttributes::Get() const {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    SendMessageW(FRichEdit->Handle(), EM_GETCHARFORMAT, Scope(FType), reinterpret_cast<LPARAM>(&format));
    return format;
}

void TTextAttributes::Set(const CHARFORMAT2W& format) {
    SendMessageW(FRichEdit->Handle(), EM_SETCHARFORMAT, Scope(FType), reinterpret_cast<LPARAM>(&format));
}

void TTextAttributes::Assign(TPersistent* source) {
    if (auto* font = dynamic_cast<TFont*>(source)) {
        SetName(font->Name());
        SetSize(font->Size());
        SetStyle(font->Style());
        SetColor(font->Color());
        return;
    }
    if (auto* attributes = dynamic_cast<TTextAttributes*>(source)) {
        SetName(attributes->Name());
        SetSize(attributes->Size());
        SetStyle(attributes->Style());
        SetColor(attributes->Color());
        return;
    }
    TPersistent::Assign(source);
}

void TTextAttributes::AssignTo(TPersistent* dest) {
    if (auto* font = dynamic_cast<TFont*>(dest)) {
        font->SetName(Name());
        font->SetSize(Size());
        font->SetStyle(Style());
        font->SetColor(Color());
        return;
    }
    TPersistent::AssignTo(dest);
}

String TTextAttributes::Name() const {
    CHARFORMAT2W format = Get();
    return String(format.szFaceName, std::find(format.szFaceName, format.szFaceName + LF_FACESIZE, u'\0'));
}

void TTextAttributes::SetName(const String& value) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE;
    std::copy_n(value.data(), std::min<size_t>(value.size(), LF_FACESIZE - 1), format.szFaceName);
    Set(format);
}

Integer TTextAttributes::Size() const {
    return Get().yHeight / 20;
}

void TTextAttributes::SetSize(Integer value) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE;
    format.yHeight = value * 20;
    Set(format);
}

TFontStyles TTextAttributes::Style() const {
    CHARFORMAT2W format = Get();
    TFontStyles style;
    if (format.dwEffects & CFE_BOLD)
        style.Include(fsBold);
    if (format.dwEffects & CFE_ITALIC)
        style.Include(fsItalic);
    if (format.dwEffects & CFE_UNDERLINE)
        style.Include(fsUnderline);
    if (format.dwEffects & CFE_STRIKEOUT)
        style.Include(fsStrikeOut);
    return style;
}

void TTextAttributes::SetStyle(TFontStyles value) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    format.dwEffects = (value.Contains(fsBold) ? CFE_BOLD : 0) | (value.Contains(fsItalic) ? CFE_ITALIC : 0) |
                       (value.Contains(fsUnderline) ? CFE_UNDERLINE : 0) |
                       (value.Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0);
    Set(format);
}

TColor TTextAttributes::Color() const {
    CHARFORMAT2W format = Get();
    return (format.dwEffects & CFE_AUTOCOLOR) ? clWindowText : static_cast<TColor>(format.crTextColor);
}

void TTextAttributes::SetColor(TColor value) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    if (value == clWindowText)
        format.dwEffects = CFE_AUTOCOLOR;
    else
        format.crTextColor = ColorToRGB(value);
    Set(format);
}

// ---- TParaAttributes ----

PARAFORMAT2 TParaAttributes::Get() const {
    PARAFORMAT2 format{};
    format.cbSize = sizeof(format);
    SendMessageW(FRichEdit->Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
}

void TParaAttributes::Set(DWORD mask, const PARAFORMAT2& format) {
    PARAFORMAT2 copy = format;
    copy.cbSize = sizeof(copy);
    copy.dwMask = mask;
    SendMessageW(FRichEdit->Handle(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&copy));
}

void TParaAttributes::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TParaAttributes*>(source)) {
        SetAlignment(other->Alignment());
        SetFirstIndent(other->FirstIndent());
        SetLeftIndent(other->LeftIndent());
        SetRightIndent(other->RightIndent());
        return;
    }
    TPersistent::Assign(source);
}

// Justified paragraphs read as left-aligned: the framework's alignments have no justification.
TAlignment TParaAttributes::Alignment() const {
    switch (Get().wAlignment) {
    case PFA_RIGHT:
        return taRightJustify;
    case PFA_CENTER:
        return taCenter;
    default:
        return taLeftJustify;
    }
}

void TParaAttributes::SetAlignment(TAlignment value) {
    static constexpr WORD alignments[] = {PFA_LEFT, PFA_RIGHT, PFA_CENTER};
    PARAFORMAT2 format{};
    format.wAlignment = alignments[value];
    Set(PFM_ALIGNMENT, format);
}

Integer TParaAttributes::FirstIndent() const {
    return Get().dxStartIndent / 20;
}

void TParaAttributes::SetFirstIndent(Integer value) {
    PARAFORMAT2 format{};
    format.dxStartIndent = value * 20;
    Set(PFM_STARTINDENT, format);
}

Integer TParaAttributes::LeftIndent() const {
    return Get().dxOffset / 20;
}

void TParaAttributes::SetLeftIndent(Integer value) {
    PARAFORMAT2 format{};
    format.dxOffset = value * 20;
    Set(PFM_OFFSET, format);
}

Integer TParaAttributes::RightIndent() const {
    return Get().dxRightIndent / 20;
}

void TParaAttributes::SetRightIndent(Integer value) {
    PARAFORMAT2 format{};
    format.dxRightIndent = value * 20;
    Set(PFM_RIGHTINDENT, format);
}

// ---- TCustomRichEdit ----

TCustomRichEdit::TCustomRichEdit(TComponent* owner)
    : TCustomMemo(owner), FRichLines(std::make_unique<TRichEditStrings>(this)),
      FSelAttributes(std::make_unique<TTextAttributes>(this, atSelected)),
      FDefAttributes(std::make_unique<TTextAttributes>(this, atDefaultText)),
      FParagraph(std::make_unique<TParaAttributes>(this)) {}

TCustomRichEdit::~TCustomRichEdit() = default;

void TCustomRichEdit::CreateParams(TCreateParams& params) {
    TCustomMemo::CreateParams(params);
    CreateSubClass(params, RICHEDIT_CLASSW);
}

void TCustomRichEdit::CreateWnd() {
    TCustomMemo::CreateWnd();
    Perform(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    FDefAttributes->Assign(Font());
    // The text brought back asks for its size again, but is no change of the user's.
    Perform(EM_SETEVENTMASK, 0, ENM_SELCHANGE | ENM_REQUESTRESIZE);
    if (FHasSaved) {
        StreamIn(this, SF_RTF, std::move(FSaved));
        FSaved.clear();
        FHasSaved = false;
    }
    Perform(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE);
}

void TCustomRichEdit::DestroyWnd() {
    // Made again (word wrap, scroll bars ...), the window gets its formatted text back.
    FSaved = StreamOut(this, SF_RTF);
    FHasSaved = true;
    TCustomMemo::DestroyWnd();
}

void TCustomRichEdit::Dispatch(TMessage& message) {
    if (message.Msg == CN_NOTIFY && message.LParam != 0) {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        if (header->code == EN_REQUESTRESIZE) {
            const RECT& rc = reinterpret_cast<const REQRESIZE*>(message.LParam)->rc;
            RequestSize(TRect(rc.left, rc.top, rc.right, rc.bottom));
        }
        return;
    }
    TCustomMemo::Dispatch(message);
}

void TCustomRichEdit::RequestSize(const TRect& rect) {
    if (OnResizeRequest)
        OnResizeRequest(this, rect);
}

void TCustomRichEdit::CMFontChanged(TMessage& message) {
    TCustomMemo::CMFontChanged(message);
    if (HandleAllocated())
        FDefAttributes->Assign(Font());
}

void TCustomRichEdit::CMColorChanged(TMessage& message) {
    TCustomMemo::CMColorChanged(message);
    if (HandleAllocated())
        Perform(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
}

// The window tells of new text through EN_CHANGE itself; only without one is the change announced
// here.
void TCustomRichEdit::CMTextChanged(TMessage& message) {
    TWinControl::CMTextChanged(message);
    if (!HandleAllocated())
        Change();
}
