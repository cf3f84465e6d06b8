// The typed edit: a single-line edit whose value has a type (text, integer, decimal, money, hex, cased
// text, password, ranges, alphanumeric, a character set), shown between a fixed prefix and suffix, with
// number formatting, a range check, focus, error and modification colours and web-address recognition.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>

#include "platform/framework/Forms.h"
#include "platform/framework/StdButtons.h"
#include "platform/framework/StdCtrls.h"
#include "platform/framework/StdLists.h"
#include "platform/rtl/Classes.h"

namespace AdvEdit {
// The label's places around the edit; the styled combo box shares them. lpRighBottom keeps its name
// because form descriptions store it.
ZELMOR_ENUM(TLabelPosition, lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft,
            lpLeftCenterLeft, lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter,
            lpRighBottom, lpTopRight, lpBottomRight)
// As FocusAlign, eaDefault keeps the alignment; as EditAlign it is eaLeft.
ZELMOR_ENUM(TEditAlign, eaLeft, eaRight, eaDefault, eaCenter)
} // namespace AdvEdit

ZELMOR_ENUM(TAdvEditType, etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword,
            etMoney, etRange, etHex, etAlphaNumeric, etValidChars)
ZELMOR_ENUM(TPrecisionDisplay, pdNormal, pdShortest)
// The brackets around a value shown after a lookup entry.
ZELMOR_ENUM(TValueSeparator, vsBracket, vsSquareBracket, vsLargerSmaller, vsNone)
ZELMOR_ENUM(TPersistenceLocation, plInifile, plRegistry)

// What NumericTextKind tells of a text.
enum class TNumericTextKind { Integer, Decimal, Hexadecimal, Other };

// Conversions of the edit's values; DS and TS are those of FormatSettings at each call.
TNumericTextKind NumericTextKind(StringView text);
String StripThousandSeparators(StringView text);
// 0 for text that does not read as a number once the thousand separators are gone.
double TextToFloatValue(StringView text);
// Digits summed from the right in 32 bits, wrapping; a character that is no hex digit counts 0.
Integer HexTextToInt(StringView text);
// Capitalises words: o'neil-smith gives O'Neil-Smith, mcdonald McDonald, a trailing ii or iii II or III.
String NameCase(StringView text);

// The integer values of a range text such as 1-3,5, each once, in the order they were added.
class TRangeList : public TList {
public:
    ~TRangeList() override { Clear(); }
    Integer Items(Integer index) const {
        return static_cast<Integer>(reinterpret_cast<NativeInt>(TList::Items(index)));
    }
    void SetItems(Integer index, Integer value) {
        TList::SetItems(index, reinterpret_cast<void*>(NativeInt{value}));
    }
    // Appends value when it is not in the list yet.
    void Add(Integer value);
    // Adds value, value + 1, ... value + count - 1.
    void AddMultiple(Integer value, Integer count);
    void Delete(Integer index) { TList::Delete(index); }
    bool InList(Integer value) const;
    // Clears the list and adds every value of the text's items ("1-3,5;7"); false when an item does not
    // convert (the others are added all the same) or the text names more than MaxRangeValues values.
    bool StrToList(const String& text);
    // Writes each value to the edit's trace channel.
    void Show() const;

    static constexpr Integer MaxRangeValues = 65536;

protected:
    void Notify(void* item, TListNotification action) override;

private:
    // How often each non-zero value is listed, so that membership is one lookup.
    std::unordered_map<Integer, Integer> FCounts;
};

// Where an edit's (or a combo box's) label goes: the edit at (left, top, width, height), a label of
// labelSize whose caption is textWidth wide, margin between them; borderWidth is 2 for a single border.
TPoint EditLabelPlace(AdvEdit::TLabelPosition position, const TRect& edit, TPoint labelSize, Integer margin,
                      Integer textWidth, Integer borderWidth);

// Moves the bounds of a control aligned by align so that its label at position (margin away) keeps
// room beside it; nothing without a label.
void MakeLabelRoom(AdvEdit::TLabelPosition position, TAlign align, const TControl* label, Integer margin,
                   Integer& left, Integer& top, Integer& width);
// Makes a label's font bold or not.
void SetLabelFontBold(TFont* font, bool bold);

// An edit's caption label: it may refuse to be disabled.
class TEditLabel : public TLabel {
    DECLARE_CLASS(TEditLabel, TLabel)

public:
    using TLabel::TLabel;
    bool AlwaysEnable() const { return FAlwaysEnable; }
    void SetAlwaysEnable(bool value) { FAlwaysEnable = value; }

protected:
    void CMEnabledChanged(TMessage& message) override;

private:
    bool FAlwaysEnable = false;
};

// The edit's auto-complete list: the entries offered while typing, their optional values and the look
// of the list.
class TLookupSettings : public TPersistent {
    DECLARE_CLASS(TLookupSettings, TPersistent)

public:
    TLookupSettings();
    ~TLookupSettings() override;
    // Copies every setting from another TLookupSettings; any other source is ignored.
    void Assign(TPersistent* source) override;
    // Appends to both lists.
    void AddPair(const String& display, const String& value);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    TStrings* DisplayList() const { return FDisplayList.get(); }
    void SetDisplayList(TStrings* value) { FDisplayList->Assign(value); }
    TStrings* ValueList() const { return FValueList.get(); }
    void SetValueList(TStrings* value) { FValueList->Assign(value); }
    Integer NumChars() const { return FNumChars; }
    // Values below 1 are ignored.
    void SetNumChars(Integer value);
    Integer DisplayCount() const { return FDisplayCount; }
    void SetDisplayCount(Integer value) { FDisplayCount = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value) { FCaseSensitive = value; }
    bool SearchValue() const { return FSearchValue; }
    void SetSearchValue(bool value) { FSearchValue = value; }
    bool ShowValue() const { return FShowValue; }
    void SetShowValue(bool value) { FShowValue = value; }
    TValueSeparator ValueSeparator() const { return FValueSeparator; }
    void SetValueSeparator(TValueSeparator value) { FValueSeparator = value; }
    bool Multi() const { return FMulti; }
    void SetMulti(bool value) { FMulti = value; }
    Char Separator() const { return FSeparator; }
    void SetSeparator(Char value) { FSeparator = value; }
    bool History() const { return FHistory; }
    void SetHistory(bool value) { FHistory = value; }
    bool AcceptOnTab() const { return FAcceptOnTab; }
    void SetAcceptOnTab(bool value) { FAcceptOnTab = value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer value) { FSpacing = value; }

private:
    bool FEnabled = false;
    std::unique_ptr<TStringList> FDisplayList;
    std::unique_ptr<TStringList> FValueList; // parallel to FDisplayList, index for index
    Integer FNumChars = 2;                   // characters typed before the list opens
    Integer FDisplayCount = 4;               // visible rows, also the Page Up and Page Down step
    bool FCaseSensitive = false;
    bool FSearchValue = false;
    bool FShowValue = false;
    TValueSeparator FValueSeparator = vsBracket;
    bool FMulti = false;
    Char FSeparator = u';';
    bool FHistory = false;
    bool FAcceptOnTab = false;
    TColor FColor = clWindow;
    std::unique_ptr<TFont> FFont;
    Integer FSpacing = 0; // pixels added to the row height
};

// Where an edit keeps its value and lookup history between runs.
class TPersistence : public TPersistent {
    DECLARE_CLASS(TPersistence, TPersistent)

public:
    // Any source but a TPersistence goes to the base.
    void Assign(TPersistent* source) override;

    bool Enable() const { return FEnable; }
    void SetEnable(bool value) { FEnable = value; }
    // The INI file name or the registry key path under the current user.
    const String& Key() const { return FKey; }
    void SetKey(const String& value) { FKey = value; }
    const String& Section() const { return FSection; }
    void SetSection(const String& value) { FSection = value; }
    TPersistenceLocation Location() const { return FLocation; }
    void SetLocation(TPersistenceLocation value) { FLocation = value; }

private:
    bool FEnable = false;
    String FKey;
    String FSection;
    TPersistenceLocation FLocation = plInifile;
};

// The list box of the lookup list; while HandleTab is set it asks for Tab, so that Tab can accept.
class TListBoxTab : public TListBox {
    DECLARE_CLASS(TListBoxTab, TListBox)

public:
    using TListBox::TListBox;
    bool HandleTab() const { return FHandleTab; }
    void SetHandleTab(bool value) { FHandleTab = value; }

protected:
    void Dispatch(TMessage& message) override;

private:
    bool FHandleTab = false;
};

// The top-most window that shows the lookup list under the edit's caret. Its bottom-right corner
// resizes it.
class TListHintWindow : public THintWindow {
    DECLARE_CLASS(TListHintWindow, THintWindow)

public:
    using THintWindow::THintWindow;
    TListBoxTab* ListControl() const { return FListControl; }
    void SetListControl(TListBoxTab* value) { FListControl = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;

private:
    TListBoxTab* FListControl = nullptr; // owned by the window as a component
};

using TValueValidateEvent = std::function<void(TObject* sender, String value, bool& isValid)>;
using TClipboardEvent = std::function<void(TObject* sender, String value, bool& allow)>;
using TURLClickEvent = std::function<void(TObject* sender, String url, bool& show)>;
using TLookupSelectEvent = std::function<void(TObject* sender, String& value)>;
using TLookupIndexSelectEvent = std::function<void(TObject* sender, Integer index, String& value)>;
using TLookupNeedDataEvent =
    std::function<void(TObject* sender, String value, TStrings* list, Integer& itemIndex)>;

namespace AdvEddd {
class TEditDropTarget;
}

class TAdvEdit : public TCustomEdit {
    DECLARE_CLASS(TAdvEdit, TCustomEdit)

public:
    explicit TAdvEdit(TComponent* owner);
    ~TAdvEdit() override;

    // The value: the window's text without prefix and suffix.
    String Text() const { return GetEditText(); }
    void SetText(const String& value);
    // OrigText := value, then Text := value.
    void SetEditText(const String& value);
    void Clear();

    double FloatValue() const;
    void SetFloatValue(double value);
    Integer IntValue() const;
    void SetIntValue(Integer value);
    bool Modified() const { return FIsModified; }
    void SetModified(bool value);
    bool IsError() const { return FError; }
    void SetIsError(bool value);
    const String& OrigText() const { return FOrigText; }
    void SetOrigText(const String& value) { FOrigText = value; }
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool value) { FDefaultHandling = value; }
    Word ReturnAsTabKey() const { return FReturnAsTabKey; }
    void SetReturnAsTabKey(Word value) { FReturnAsTabKey = value; }
    bool LookupVisible() const;
    TLookupSettings* Lookup() const { return FLookup.get(); }
    void SetLookup(TLookupSettings* value) { FLookup->Assign(value); }
    TPersistence* Persistence() const { return FPersistence.get(); }
    void SetPersistence(TPersistence* value) { FPersistence->Assign(value); }
    bool FullTextSearch() const { return FFullTextSearch; }
    void SetFullTextSearch(bool value) { FFullTextSearch = value; }
    // The lookup list's window, made with the edit.
    TListHintWindow* LookupWindow() const { return FLookupWindow.get(); }

    TAdvEditType EditType() const { return FEditType; }
    void SetEditType(TAdvEditType value);
    AdvEdit::TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(AdvEdit::TEditAlign value);
    AdvEdit::TEditAlign FocusAlign() const { return FFocusAlign; }
    void SetFocusAlign(AdvEdit::TEditAlign value) { FFocusAlign = value; }
    SmallInt Precision() const { return FPrecision; }
    void SetPrecision(SmallInt value);
    TPrecisionDisplay PrecisionDisplay() const { return FPrecisionDisplay; }
    void SetPrecisionDisplay(TPrecisionDisplay value);
    const String& Prefix() const { return FPrefix; }
    void SetPrefix(const String& value);
    const String& Suffix() const { return FSuffix; }
    void SetSuffix(const String& value);
    bool Signed() const { return FSigned; }
    void SetSigned(bool value) { FSigned = value; }
    bool AllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool value) { FAllowNumericNullValue = value; }
    bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool value);
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool value) { FExcelStyleDecimalSeparator = value; }
    SmallInt LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(SmallInt value) { FLengthLimit = value; }
    bool TabOnFullLength() const { return FTabOnFullLength; }
    void SetTabOnFullLength(bool value) { FTabOnFullLength = value; }
    const String& ValidChars() const { return FValidChars; }
    void SetValidChars(const String& value) { FValidChars = value; }
    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer value) { FMinValue = value; }
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer value) { FMaxValue = value; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double value) { FMinFloatValue = value; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double value) { FMaxFloatValue = value; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    bool CanUndo() const { return FCanUndo; }
    void SetCanUndo(bool value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool value) { FAutoFocus = value; }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value) { FFocusColor = value; }
    TColor FocusFontColor() const { return FFocusFontColor; }
    void SetFocusFontColor(TColor value) { FFocusFontColor = value; }
    TColor ErrorColor() const { return FErrorColor; }
    void SetErrorColor(TColor value);
    TColor ErrorFontColor() const { return FErrorFontColor; }
    void SetErrorFontColor(TColor value);
    bool ShowError() const { return FShowError; }
    void SetShowError(bool value);
    TColor ModifiedColor() const { return FModifiedColor; }
    void SetModifiedColor(TColor value) { FModifiedColor = value; }
    bool ShowModified() const { return FShowModified; }
    void SetShowModified(bool value) { FShowModified = value; }
    bool ShowURL() const { return FShowURL; }
    void SetShowURL(bool value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor value) { FURLColor = value; }
    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor value) { FDisabledColor = value; }
    bool HintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool value) { FHintShowLargeText = value; }
    // The color outside focus, error and disabled states; writing Color records it.
    void SetColor(TColor value);
    String Version() const;
    void SetVersion(const String&) {}
    // OLE drag and drop of the selected text (AdvEddd.cpp).
    bool OleDropSource() const { return FOleDropSource; }
    void SetOleDropSource(bool value) { FOleDropSource = value; }
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool value);
    // The drop caret: at the character under a screen point, cleared, or made the caret itself.
    void UpdateDropCaret(TPoint screenPoint);
    void ClearDropCaret();
    void MoveCaretToMouse(TPoint screenPoint);

    // ---- The label and the painted look ----
    TEditLabel* EditLabel() const { return FLabel; }
    String LabelCaption() const;
    // The first caption makes the label.
    void SetLabelCaption(const String& value);
    AdvEdit::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(AdvEdit::TLabelPosition value);
    Integer LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(Integer value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* value);
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool value) { FFocusLabel = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool value);
    bool SoftBorder() const { return FSoftBorder; }
    void SetSoftBorder(bool value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value) { FFocusBorderColor = value; }
    bool Border3D() const { return FBorder3D; }
    void SetBorder3D(bool value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    const String& EmptyText() const { return FEmptyText; }
    void SetEmptyText(const String& value);
    bool EmptyTextFocused() const { return FEmptyTextFocused; }
    void SetEmptyTextFocused(bool value) { FEmptyTextFocused = value; }
    TFontStyles EmptyTextStyle() const { return FEmptyTextStyle; }
    void SetEmptyTextStyle(TFontStyles value);
    Integer ErrorMarkerPos() const { return FErrorMarkerPos; }
    void SetErrorMarkerPos(Integer value);
    Integer ErrorMarkerLen() const { return FErrorMarkerLen; }
    void SetErrorMarkerLen(Integer value);
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
    void SetParent(TWinControl* parent) override;

    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

    // Selection helpers over the value (positions count the prefix).
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();

    // The value read as a range list (see TRangeList::StrToList).
    bool RangeStrToList(TRangeList& list);
    // Writes the list's values, ascending, as runs ("1-3,5") into the window as they are.
    void ListToRangeStr(TRangeList& list);

    // Regroups a money value's integer part with thousand separators, keeping the caret's distance to
    // the end.
    void ApplyThousandSeparators();

    virtual Integer GetVersionNr() const;
    virtual bool ValidateValue(const String& value);
    virtual void DoValueValidate(const String& value, bool& isValid);
    virtual bool IsURL() const;
    // Lets OnLookupNeedData change the matching entries and choose the selected one.
    virtual void DoLookupNeedData(const String& value, TStrings* list, Integer& itemIndex);
    // Reads the stored value and lookup history; writes them (see TPersistence).
    virtual void LoadPersist();
    virtual void SavePersist();

    TValueValidateEvent OnValueValidate;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardCut;
    TClipboardEvent OnClipboardPaste;
    TURLClickEvent OnURLClick;
    TLookupSelectEvent OnLookupSelect;
    TLookupIndexSelectEvent OnLookupIndexSelect;
    TLookupNeedDataEvent OnLookupNeedData;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void Loaded() override;
    void Change() override;
    void CNCommand(TMessage& message) override;
    void WMChar(TMessage& message) override;
    void WMKeyDown(TMessage& message) override;
    void CMWantSpecialKey(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void CMEnter(TMessage& message) override;
    void WMLButtonDown(TMessage& message) override;
    void WMLButtonUp(TMessage& message) override;
    void WMMouseMove(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMParentFontChanged(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void ChangeScale(Integer m, Integer d) override;
    void WMCopy(TMessage& message);
    void WMCut(TMessage& message);
    void WMPaste(TMessage& message);

    // The lookup list (its own unit of the edit).
    void UpdateLookup();
    void HideLookup();
    void AcceptLookup();
    void AddToHistory(const String& value);
    void LookupListKeyPress(TObject* sender, Char& key);
    void LookupListMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    // Home, End, Page Up and Page Down (moves) and Up and Down (steps) in the shown list; false for
    // other keys.
    bool LookupListKey(Word key);

private:
    String GetEditText() const;
    String WindowText() const;
    void SetWindowText(const String& text);
    void Init();
    void ApplyErrorColors();
    void SetURLLook(bool on);
    // Fires OnURLClick and opens the value; false when the value shows no URL look.
    bool URLClick();
    void WidthNudge();
    // The selection as EM_GETSEL reports it.
    void GetSel(Integer& start, Integer& end);
    void SetSel(Integer start, Integer end);
    bool EditModified();
    // The characters of the value before DS, thousand separators and a counted minus sign removed.
    Integer IntegerPartLength(const String& value) const;
    bool SignAllowed() const;
    bool SeparatorSpacingRefuses(const String& value, Integer caret) const;
    void ToggleSign(bool setModified);
    void NextControl(bool previous);
    void PostKeyToParent(Word key, bool up);
    // The tail of the character filter: focus moves on when the integer part is full.
    void CharTail();

    // The label and the painted look (AdvEditPaint.cpp).
    void CreateLabel();
    void UpdateLabel();
    void UpdateLabelPos();
    void LabelFontChanged();
    void SetLabelBold(bool bold);
    // The text rectangle, with the flat look's margins when flat.
    void UpdateEditRect(bool flat);
    bool EmptyTextShown();
    // After the window's own painting: the flat line, the drop caret, the placeholder, the error marker
    // and the border.
    void DrawEditExtras();
    void DrawErrorMarker(HDC dc, Integer pos, Integer len);
    bool BorderWanted(bool withBorder3D) const;
    void DrawBorder();
    void PaintBorder(HDC dc);
    bool IsBorderHot();
    void WMPaint(TMessage& message) override;
    void WMNCPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message) override;
    // Paints the parent beneath a transparent edit.
    void PaintParentBackground(HDC dc);

    TAdvEditType FEditType = etString;
    AdvEdit::TEditAlign FEditAlign = AdvEdit::eaLeft;
    AdvEdit::TEditAlign FFocusAlign = AdvEdit::eaDefault;
    SmallInt FPrecision = 0;
    TPrecisionDisplay FPrecisionDisplay = pdNormal;
    String FPrefix;
    String FSuffix;
    bool FSigned = false;
    bool FAllowNumericNullValue = false;
    bool FAutoThousandSeparator = true;
    bool FExcelStyleDecimalSeparator = false;
    SmallInt FLengthLimit = 0;
    bool FTabOnFullLength = false;
    String FValidChars;
    Integer FMinValue = 0;
    Integer FMaxValue = 0;
    double FMinFloatValue = 0;
    double FMaxFloatValue = 0;
    bool FEditorEnabled = true;
    bool FCanUndo = true;
    bool FReturnIsTab = false;
    bool FAutoFocus = false;
    TColor FFocusColor = clNone;
    TColor FFocusFontColor = clWindowText;
    TColor FErrorColor = clRed;
    TColor FErrorFontColor = clWhite;
    bool FShowError = false;
    TColor FModifiedColor = clHighlight;
    bool FShowModified = false;
    bool FShowURL = false;
    TColor FURLColor = clBlue;
    TColor FDisabledColor = clSilver;
    bool FHintShowLargeText = false;
    bool FDefaultHandling = true;
    Word FReturnAsTabKey = 9; // the tab key
    String FOrigText;

    TColor FNormalColor = clWindow;   // background outside focus, error and disabled states
    TColor FFontColor = clWindowText; // font colour to restore
    bool FError = false;
    bool FIsModified = false;
    bool FIsUrl = false;                // URL look shown
    bool FBlockCopy = false;            // a cut is under way
    bool FButtonDown = false;           // a press inside the selection, the start of a drag
    bool FBlockDefaultHandling = false; // the next special-key query is ignored
    bool FIsValidating = false;
    bool FBlockChange = false; // swallow the next change notification

    TEditLabel* FLabel = nullptr; // owned, made by the first LabelCaption
    std::unique_ptr<TFont> FLabelFont;
    AdvEdit::TLabelPosition FLabelPosition = AdvEdit::lpLeftTop;
    Integer FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    bool FFocusLabel = false;
    bool FFlat = false;
    TColor FFlatLineColor = clBlack;
    bool FFlatParentColor = true;
    bool FSoftBorder = false;
    TColor FBorderColor = clNone;
    bool FFocusBorder = false;
    TColor FFocusBorderColor = clNone;
    bool FBorder3D = false;
    bool FDisabledBorder = true;
    bool FTransparent = false;
    String FEmptyText;
    bool FEmptyTextFocused = false;
    TFontStyles FEmptyTextStyle;
    Integer FErrorMarkerPos = 0;
    Integer FErrorMarkerLen = 0;
    TBorderStyle FOldBorder = bsSingle; // to restore when Flat goes off
    bool FParentFnt = false;            // the label shows the edit's font
    bool FMouseInControl = false;
    Integer FIndentL = 0;
    Integer FIndentR = 0;
    TPoint FCaretPos{-1, -1}; // the caret of a drop under way, (-1, -1) when none

    // OLE drag and drop (AdvEddd.cpp).
    friend class AdvEddd::TEditDropTarget;
    void RegisterDropTarget();
    void InvalidateDropCaret(TPoint clientPoint);
    // The character under a screen point, as EM_CHARFROMPOS finds it.
    Integer CharAtScreenPoint(TPoint screenPoint);
    bool FOleDropSource = false;
    bool FOleDropTarget = false;
    bool FOleDropTargetAssigned = false; // a target is registered for the window
    bool FIsDragSource = false;          // a drag of this edit's text is under way
    bool FDroppedOnSource = false;       // that drag was dropped on this edit itself

    // The lookup list and the stored values (AdvEditLookup.cpp).
    void CreateLookupWindow();
    void CloseLookup();
    std::unique_ptr<TLookupSettings> FLookup;
    std::unique_ptr<TPersistence> FPersistence;
    std::unique_ptr<TListHintWindow> FLookupWindow;
    bool FFullTextSearch = false;
};

// Registers the edit's class for form descriptions; the constructor runs it too.
void AdvEditStartup();
