// The typed edit's OLE drag and drop of plain text: its drop target and drop source, the data object
// and format enumerator it drags with, and a reader of a dropped object's formats. Rich text is
// prepared here but switched off.
#pragma once

#include <memory>

#include "platform/framework/Graphics.h"
#include "platform/framework/Interfaced.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/ole_dragdrop.h"

class TAdvEdit;

namespace AdvEddd {

// "Rich Text Format" once a format reader has registered it, 0 before.
extern UINT CF_RTF;
// Nothing turns this on: rich text is neither accepted nor offered while it is off.
extern bool RTFEnabled;

// Reads the formats a data object offers, one FORMATETC at a time, and the text and files in them.
class TEnumFormats : public TObject {
public:
    // Raises EAssertionFailed when the object gives no format enumerator.
    explicit TEnumFormats(IDataObject* dataObject);
    ~TEnumFormats() override;

    IDataObject* DataObject() const { return FDataObject; }
    Integer Count() const { return FCount; }
    bool Valid() const { return FValid; }
    const FORMATETC& FormatEtc() const { return FFormatEtc; }
    DWORD Aspect() const { return FFormatEtc.dwAspect; }
    void SetAspect(DWORD value) { FFormatEtc.dwAspect = value; }
    CLIPFORMAT Format() const { return FFormatEtc.cfFormat; }
    void SetFormat(CLIPFORMAT value) { FFormatEtc.cfFormat = value; }
    LONG Index() const { return FFormatEtc.lindex; }
    void SetIndex(LONG value) { FFormatEtc.lindex = value; }
    DWORD Medium() const { return FFormatEtc.tymed; }
    void SetMedium(DWORD value) { FFormatEtc.tymed = value; }

    bool Reset();
    bool Next();
    bool HasFormat(CLIPFORMAT format);
    // The current format's data as a global block the caller frees; null when the current format is
    // not valid, does not come on that medium or the object refuses it.
    HGLOBAL Handle(DWORD tymed);
    HGLOBAL GlobalHandle() { return Handle(TYMED_HGLOBAL); }
    // The zero-terminated UTF-16 text of the format; empty when the object does not offer it.
    String FormatText(CLIPFORMAT format);
    String Text() { return FormatText(CF_UNICODETEXT); }
    String RTF() { return FormatText(static_cast<CLIPFORMAT>(CF_RTF)); }
    bool HasText() { return HasFormat(CF_UNICODETEXT); }
    bool HasRTF() { return CF_RTF != 0 && HasFormat(static_cast<CLIPFORMAT>(CF_RTF)); }
    bool HasFile() { return HasFormat(CF_HDROP); }
    // Reads the names of a CF_HDROP block into Files; whether there is any.
    bool ReadFiles();
    TStringList* Files() const { return FFiles.get(); }

private:
    IDataObject* FDataObject;              // referenced
    IEnumFORMATETC* FEnumerator = nullptr; // referenced
    FORMATETC FFormatEtc{};
    Integer FCount = 0;
    bool FValid = false;
    std::unique_ptr<TStringList> FFiles;
};

// A drop target that takes text, rich text and files; descendants decide what a drop does.
class TAEDropTarget : public TInterfacedObject, public IDropTarget {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return InterfaceAddRef(); }
    ULONG Release() override { return InterfaceRelease(); }
    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

    virtual void DropText(TPoint pt, const String& s);
    virtual void DropRTF(TPoint pt, const String& s);
    virtual void DropFiles(TPoint pt, TStrings* files);
    virtual void DragMouseMove(TPoint pt, bool& allow);

protected:
    // The key state of the drag's latest call, for descendants that tell a copy from a move.
    DWORD FKeyState = 0;

private:
    bool FOk = false; // the dragged object offers something acceptable
};

// The typed edit as a drop target: the first line of dropped text goes in at the character under the
// mouse, shown beforehand by the drop caret.
class TEditDropTarget : public TAEDropTarget {
public:
    explicit TEditDropTarget(TAdvEdit* edit) : FAdvEdit(edit) {}
    void DropText(TPoint pt, const String& s) override;
    void DragMouseMove(TPoint pt, bool& allow) override;
    HRESULT DragLeave() override;

private:
    TAdvEdit* FAdvEdit; // not owned
};

class TAEDropSource : public TInterfacedObject, public IDropSource {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return InterfaceAddRef(); }
    ULONG Release() override { return InterfaceRelease(); }
    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT GiveFeedback(DWORD effect) override;
    bool NoAccept() const { return FNoAccept; }

private:
    bool FNoAccept = false; // the last feedback had no effect
};

// The text (and rich text) being dragged, offered as CF_TEXT and CF_UNICODETEXT.
class TSourceDataObject : public TInterfacedObject, public IDataObject {
public:
    TSourceDataObject(const String& text, const String& rtf) : FText(text), FRTF(rtf) {}
    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return InterfaceAddRef(); }
    ULONG Release() override { return InterfaceRelease(); }
    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT QueryGetData(FORMATETC* format) override;
    HRESULT GetCanonicalFormatEtc(FORMATETC* formatIn, FORMATETC* formatOut) override;
    HRESULT SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
    HRESULT DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    HRESULT DUnadvise(DWORD connection) override;
    HRESULT EnumDAdvise(IEnumSTATDATA** enumerator) override;

private:
    String FText;
    String FRTF;
};

// The source's formats in order: CF_TEXT, CF_UNICODETEXT, rich text.
class TSourceEnumFormatEtc : public TInterfacedObject, public IEnumFORMATETC {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return InterfaceAddRef(); }
    ULONG Release() override { return InterfaceRelease(); }
    HRESULT Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC** clone) override;

private:
    ULONG FIndex = 0; // 0 to 3
};

// Drags the text with a drop source of its own; DRAGDROP_S_CANCEL also when the last target under
// the cursor would not take it.
HRESULT BeginTextDrag(const String& text, const String& rtf, DWORD allowedEffects, DWORD& effect);

} // namespace AdvEddd
