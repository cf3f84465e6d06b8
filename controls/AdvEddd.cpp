// The typed edit's OLE drag and drop: the format reader, the drop target and source, the data object
// and its format enumerator.
#include "controls/AdvEddd.h"

#include <algorithm>
#include <cstring>

#include "controls/AdvEdit.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winctrl.h"

namespace AdvEddd {

UINT CF_RTF = 0;
bool RTFEnabled = false;

namespace {

// OLE for the GUI thread, for as long as the program runs.
struct OleStartup {
    OleStartup() { OleInitialize(nullptr); }
    ~OleStartup() { OleUninitialize(); }
};
const OleStartup Startup;

template <class Interface> HRESULT Answer(Interface* self, REFIID wanted, REFIID riid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, wanted)) {
        *object = self;
        self->AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

DWORD EffectFor(DWORD keyState) {
    return (keyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

TPoint PointOf(POINTL pt) {
    return TPoint(pt.x, pt.y);
}

constexpr ULONG SourceFormatCount = 3;

FORMATETC SourceFormat(ULONG index) {
    static const CLIPFORMAT fixed[] = {CF_TEXT, CF_UNICODETEXT};
    const CLIPFORMAT format = index < 2 ? fixed[index] : static_cast<CLIPFORMAT>(CF_RTF);
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// A movable, zeroed block holding bytes and then a terminating zero of terminatorSize bytes.
HGLOBAL BlockWith(const void* bytes, SIZE_T size, SIZE_T terminatorSize) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size + terminatorSize);
    if (block == nullptr)
        return nullptr;
    void* memory = GlobalLock(block);
    if (memory == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    if (size > 0)
        std::memcpy(memory, bytes, size);
    GlobalUnlock(block);
    return block;
}

} // namespace

// ---- TEnumFormats ----

TEnumFormats::TEnumFormats(IDataObject* dataObject) : FDataObject(dataObject) {
    if (FDataObject != nullptr)
        FDataObject->AddRef();
    if (FDataObject == nullptr || FAILED(FDataObject->EnumFormatEtc(DATADIR_GET, &FEnumerator)) ||
        FEnumerator == nullptr) {
        if (FDataObject != nullptr)
            FDataObject->Release();
        FEnumerator = nullptr;
        throw EAssertionFailed(String(u"Cannot get the format enumerator"));
    }
    Reset();
    FFiles = std::make_unique<TStringList>();
    if (OpenClipboard(nullptr)) {
        CF_RTF = RegisterClipboardFormatW(u"Rich Text Format");
        CloseClipboard();
    }
}

TEnumFormats::~TEnumFormats() {
    FEnumerator->Release();
    FDataObject->Release();
}

bool TEnumFormats::Reset() {
    FValid = false;
    FCount = 0;
    return SUCCEEDED(FEnumerator->Reset());
}

bool TEnumFormats::Next() {
    ULONG fetched = 0;
    FEnumerator->Next(1, &FFormatEtc, &fetched);
    ++FCount;
    FValid = fetched == 1;
    return FValid;
}

bool TEnumFormats::HasFormat(CLIPFORMAT format) {
    Reset();
    while (Next())
        if (FFormatEtc.cfFormat == format)
            return true;
    return false;
}

HGLOBAL TEnumFormats::Handle(DWORD tymed) {
    if (!FValid || (FFormatEtc.tymed & tymed) == 0)
        return nullptr;
    FORMATETC format = FFormatEtc;
    format.tymed = tymed;
    STGMEDIUM medium{};
    if (FAILED(FDataObject->GetData(&format, &medium)))
        return nullptr;
    if (medium.tymed != TYMED_HGLOBAL || medium.hGlobal == nullptr) {
        ReleaseStgMedium(&medium);
        return nullptr;
    }
    if (medium.pUnkForRelease == nullptr)
        return medium.hGlobal;
    // The block stays its owner's: hand back a copy the caller can free.
    HGLOBAL copy = nullptr;
    if (const void* memory = GlobalLock(medium.hGlobal)) {
        copy = BlockWith(memory, GlobalSize(medium.hGlobal), 0);
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return copy;
}

String TEnumFormats::FormatText(CLIPFORMAT format) {
    String text;
    if (format == 0 || !HasFormat(format))
        return text;
    HGLOBAL block = GlobalHandle();
    if (block == nullptr)
        return text;
    if (const auto* memory = static_cast<const Char*>(GlobalLock(block))) {
        // A block without a terminating zero is read to its end and no further.
        const SIZE_T limit = GlobalSize(block) / sizeof(Char);
        text.assign(memory, std::find(memory, memory + limit, Char(0)));
        GlobalUnlock(block);
    }
    GlobalFree(block);
    return text;
}

bool TEnumFormats::ReadFiles() {
    FFiles->Clear();
    if (!HasFormat(CF_HDROP))
        return false;
    HGLOBAL block = GlobalHandle();
    if (block == nullptr)
        return false;
    const SIZE_T size = GlobalSize(block);
    if (const auto* memory = static_cast<const BYTE*>(GlobalLock(block))) {
        DROPFILES head{};
        if (size >= sizeof head) {
            std::memcpy(&head, memory, sizeof head);
            SIZE_T at = head.pFiles;
            // Each name ends in a zero; an empty name or the block's end closes the list.
            while (at < size) {
                String name;
                if (head.fWide) {
                    for (; at + 1 < size; at += 2) {
                        Char c = static_cast<Char>(memory[at] | (memory[at + 1] << 8));
                        if (c == 0)
                            break;
                        name.push_back(c);
                    }
                    at += 2;
                } else {
                    AnsiString bytes;
                    for (; at < size && memory[at] != 0; ++at)
                        bytes.push_back(static_cast<char>(memory[at]));
                    ++at;
                    name = AnsiToString(bytes);
                }
                if (name.empty())
                    break;
                FFiles->Add(name);
            }
        }
        GlobalUnlock(block);
    }
    GlobalFree(block);
    return FFiles->Count() > 0;
}

// ---- TAEDropTarget ----

HRESULT TAEDropTarget::QueryInterface(REFIID riid, void** object) {
    return Answer<IDropTarget>(this, IID_IDropTarget, riid, object);
}

HRESULT TAEDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) {
    FKeyState = keyState;
    FOk = false;
    if (data != nullptr) {
        TEnumFormats formats(data);
        FOk = formats.HasText() || formats.HasFile() || (RTFEnabled && formats.HasRTF());
    }
    if (effect != nullptr)
        *effect = FOk ? EffectFor(keyState) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TAEDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
    FKeyState = keyState;
    DWORD answer = FOk ? EffectFor(keyState) : DROPEFFECT_NONE;
    bool allow = true;
    DragMouseMove(PointOf(pt), allow);
    if (!allow)
        answer = DROPEFFECT_NONE;
    if (effect != nullptr)
        *effect = answer;
    return S_OK;
}

HRESULT TAEDropTarget::DragLeave() {
    return S_OK;
}

HRESULT TAEDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) {
    FKeyState = keyState;
    if (FOk && data != nullptr) {
        TEnumFormats formats(data);
        if (RTFEnabled && formats.HasRTF())
            DropRTF(PointOf(pt), formats.RTF());
        else if (formats.HasText())
            DropText(PointOf(pt), formats.Text());
        if (formats.HasFile() && formats.ReadFiles())
            DropFiles(PointOf(pt), formats.Files());
    }
    if (effect != nullptr)
        *effect = FOk ? EffectFor(keyState) : DROPEFFECT_NONE;
    return S_OK;
}

void TAEDropTarget::DropText(TPoint, const String&) {}

void TAEDropTarget::DropRTF(TPoint, const String&) {}

void TAEDropTarget::DropFiles(TPoint, TStrings*) {}

void TAEDropTarget::DragMouseMove(TPoint, bool& allow) {
    allow = true;
}

// ---- TEditDropTarget ----

void TEditDropTarget::DragMouseMove(TPoint pt, bool& allow) {
    TAEDropTarget::DragMouseMove(pt, allow);
    FAdvEdit->UpdateDropCaret(pt);
}

HRESULT TEditDropTarget::DragLeave() {
    // A drag that passes over the edit leaves no drop caret behind.
    FAdvEdit->ClearDropCaret();
    return TAEDropTarget::DragLeave();
}

void TEditDropTarget::DropText(TPoint pt, const String& s) {
    String line = s;
    line = line.substr(0, line.find(u'\r'));
    line = line.substr(0, line.find(u'\n'));
    if (FAdvEdit->FIsDragSource) {
        // The source must not remove the text a second time once it was moved here.
        FAdvEdit->FDroppedOnSource = true;
        Integer selStart = 0, selEnd = 0;
        FAdvEdit->GetSel(selStart, selEnd);
        const Integer at = FAdvEdit->CharAtScreenPoint(pt);
        if (at >= selStart && at <= selEnd) {
            FAdvEdit->ClearDropCaret();
            return;
        }
        if ((FKeyState & MK_CONTROL) == 0)
            FAdvEdit->ClearSelection();
    }
    FAdvEdit->ClearDropCaret();
    FAdvEdit->MoveCaretToMouse(pt);
    FAdvEdit->SetSelText(line);
    FAdvEdit->Repaint();
}

// ---- TAEDropSource ----

HRESULT TAEDropSource::QueryInterface(REFIID riid, void** object) {
    return Answer<IDropSource>(this, IID_IDropSource, riid, object);
}

HRESULT TAEDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    if ((keyState & MK_LBUTTON) != 0)
        return S_OK;
    return DRAGDROP_S_DROP;
}

HRESULT TAEDropSource::GiveFeedback(DWORD effect) {
    FNoAccept = effect == DROPEFFECT_NONE;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- TSourceDataObject ----

HRESULT TSourceDataObject::QueryInterface(REFIID riid, void** object) {
    return Answer<IDataObject>(this, IID_IDataObject, riid, object);
}

HRESULT TSourceDataObject::QueryGetData(FORMATETC* format) {
    if (format == nullptr || format->dwAspect != DVASPECT_CONTENT || format->tymed != TYMED_HGLOBAL)
        return DV_E_FORMATETC;
    const bool rtf = RTFEnabled && CF_RTF != 0 && format->cfFormat == CF_RTF;
    if (format->cfFormat != CF_TEXT && format->cfFormat != CF_UNICODETEXT && !rtf)
        return DV_E_FORMATETC;
    return S_OK;
}

HRESULT TSourceDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (medium == nullptr)
        return E_POINTER;
    *medium = STGMEDIUM{};
    if (QueryGetData(format) != S_OK)
        return DV_E_FORMATETC;
    HGLOBAL block = nullptr;
    if (format->cfFormat == CF_UNICODETEXT) {
        block = BlockWith(FText.data(), FText.size() * sizeof(Char), sizeof(Char));
    } else {
        // The 8-bit text takes as many bytes as the code page needs, which can be more than the
        // characters of the text.
        const AnsiString bytes = StringToAnsi(format->cfFormat == CF_TEXT ? FText : FRTF);
        block = BlockWith(bytes.data(), bytes.size(), 1);
    }
    if (block == nullptr)
        return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT TSourceDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) {
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* formatOut) {
    if (formatOut != nullptr)
        formatOut->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) {
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) {
    if (enumerator == nullptr)
        return E_POINTER;
    if (direction != DATADIR_GET) {
        *enumerator = nullptr;
        return E_NOTIMPL;
    }
    *enumerator = new TSourceEnumFormatEtc();
    (*enumerator)->AddRef();
    return S_OK;
}

HRESULT TSourceDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceDataObject::DUnadvise(DWORD) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceDataObject::EnumDAdvise(IEnumSTATDATA** enumerator) {
    if (enumerator != nullptr)
        *enumerator = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---- TSourceEnumFormatEtc ----

HRESULT TSourceEnumFormatEtc::QueryInterface(REFIID riid, void** object) {
    return Answer<IEnumFORMATETC>(this, IID_IEnumFORMATETC, riid, object);
}

HRESULT TSourceEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
    if (formats == nullptr && count > 0)
        return E_POINTER;
    ULONG copied = 0;
    while (copied < count && FIndex < SourceFormatCount)
        formats[copied++] = SourceFormat(FIndex++);
    if (fetched != nullptr)
        *fetched = copied;
    return copied == count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG count) {
    if (static_cast<std::uint64_t>(FIndex) + count > SourceFormatCount) {
        FIndex = SourceFormatCount;
        return S_FALSE;
    }
    FIndex += count;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Reset() {
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** clone) {
    if (clone == nullptr)
        return E_POINTER;
    auto* copy = new TSourceEnumFormatEtc();
    copy->FIndex = FIndex;
    copy->AddRef();
    *clone = copy;
    return S_OK;
}

// ---- Dragging ----

HRESULT BeginTextDrag(const String& text, const String& rtf, DWORD allowedEffects, DWORD& effect) {
    auto* source = new TAEDropSource();
    source->AddRef();
    auto* data = new TSourceDataObject(text, rtf);
    data->AddRef();
    HRESULT result = DoDragDrop(data, source, allowedEffects, &effect);
    if (source->NoAccept())
        result = DRAGDROP_S_CANCEL;
    data->Release();
    source->Release();
    return result;
}

} // namespace AdvEddd

// ---- The edit's side ----

void TAdvEdit::SetOleDropTarget(bool value) {
    FOleDropTarget = value;
    if (ComponentState().Contains(csDesigning))
        return;
    if (value) {
        // Without a window yet, CreateWnd registers it.
        if (HandleAllocated())
            RegisterDropTarget();
    } else if (FOleDropTargetAssigned) {
        RevokeDragDrop(Handle());
        FOleDropTargetAssigned = false;
    }
}

void TAdvEdit::RegisterDropTarget() {
    if (FOleDropTargetAssigned || ComponentState().Contains(csDesigning))
        return;
    auto* target = new AdvEddd::TEditDropTarget(this);
    target->AddRef();
    FOleDropTargetAssigned = SUCCEEDED(RegisterDragDrop(Handle(), target));
    target->Release();
}

Integer TAdvEdit::CharAtScreenPoint(TPoint screenPoint) {
    const TPoint p = ScreenToClient(screenPoint);
    return LOWORD(Perform(EM_CHARFROMPOS, 0, MAKELPARAM(p.X, p.Y)));
}

void TAdvEdit::InvalidateDropCaret(TPoint clientPoint) {
    if (!HandleAllocated())
        return;
    TEXTMETRICW metrics{};
    HDC dc = GetDC(Handle());
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, oldFont);
    ReleaseDC(Handle(), dc);
    RECT r{clientPoint.X, clientPoint.Y, clientPoint.X + 1, clientPoint.Y + metrics.tmHeight};
    InvalidateRect(Handle(), &r, TRUE);
}

void TAdvEdit::UpdateDropCaret(TPoint screenPoint) {
    const Integer at = CharAtScreenPoint(screenPoint);
    const LRESULT pos = Perform(EM_POSFROMCHAR, static_cast<WPARAM>(at), 0);
    const TPoint caret(static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos)));
    if (caret == FCaretPos)
        return;
    if (FCaretPos.X != -1 || FCaretPos.Y != -1)
        InvalidateDropCaret(FCaretPos);
    InvalidateDropCaret(caret);
    FCaretPos = caret;
}

void TAdvEdit::ClearDropCaret() {
    if (FCaretPos.X != -1 || FCaretPos.Y != -1)
        InvalidateDropCaret(FCaretPos);
    FCaretPos = TPoint(-1, -1);
}

void TAdvEdit::MoveCaretToMouse(TPoint screenPoint) {
    const Integer at = CharAtScreenPoint(screenPoint);
    SetSel(at, at);
}

void TAdvEdit::WMMouseMove(TMessage& message) {
    TCustomEdit::WMMouseMove(message);
    Integer selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    if (selEnd <= selStart || !FButtonDown || !FOleDropSource)
        return;
    const String text = SelText();
    FIsDragSource = true;
    FDroppedOnSource = false;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = AdvEddd::BeginTextDrag(text, String(), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    FIsDragSource = false;
    FButtonDown = false;
    // A drop on this edit itself already moved the text (or left it where it was); a target that
    // copied it leaves the selection alone.
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (result == DRAGDROP_S_DROP && !control && effect == DROPEFFECT_MOVE && !FDroppedOnSource) {
        ClearSelection();
        ClearDropCaret();
        Repaint();
    }
}
