// The framework's list controls on the system's LISTBOX and COMBOBOX window classes: TCustomListBox/
// TListBox, TCheckListBox and TCustomComboBox/TComboBox, with Items as string lists kept in the window.
#pragma once

#include <functional>
#include <memory>

#include "platform/framework/Controls.h"
#include "platform/framework/StdButtons.h"
#include "platform/framework/StdEdit.h"
#include "platform/rtl/Strings.h"

ZELMOR_ENUM(TOwnerDrawStateItem, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault,
            odHotLight, odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit)
// The ODS_* bits of an owner-draw record, one element per bit.
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
ZELMOR_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
ZELMOR_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)

using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// The messages a list control's strings go through: LB_* for a list box, CB_* for a combo box.
struct TListMessages {
    UINT addString, insertString, deleteString, resetContent, getCount, getText, getTextLen, getItemData,
        setItemData, findStringExact, getCurSel, setCurSel;
    LRESULT err;
};

// Items of a list box or combo box: every string and its object live in the window, which the list
// creates on first use (raising EInvalidOperation when the control has no parent). The objects are
// not owned.
class TListControlStrings : public TStrings {
public:
    TListControlStrings(TWinControl* control, const TListMessages& messages)
        : FControl(control), FMessages(messages) {}
    Integer Add(const String& s) override;
    void Clear() override;
    void Delete(Integer index) override;
    void Insert(Integer index, const String& s) override;
    Integer IndexOf(const String& s) const override;
    // The low bits of the item data that hold the control's own flags rather than the object (objects
    // are aligned, so their pointers leave these bits free).
    void SetFlagMask(ULONG_PTR mask) { FFlagMask = mask; }
    // A combo box's strings read empty text for an index outside the list; a list box's raise.
    void SetEmptyOutside(bool value) { FEmptyOutside = value; }

protected:
    String Get(Integer index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer index) const override;
    void Put(Integer index, const String& s) override;
    void PutObject(Integer index, TObject* object) override;
    void SetUpdateState(bool updating) override;

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;
    void CheckIndex(Integer index) const;

    TWinControl* FControl;
    TListMessages FMessages;
    ULONG_PTR FFlagMask = 0;
    bool FEmptyOutside = false;
};

// ---- List boxes ----
class TCustomListBox : public TWinControl {
    DECLARE_CLASS(TCustomListBox, TWinControl)

public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    void Clear() { FItems->Clear(); }
    // The selected item, or -1; with MultiSelect, the item with the focus rectangle.
    Integer ItemIndex();
    void SetItemIndex(Integer value);
    // Raises EListError "List index out of bounds (%d)" for an index outside the items.
    bool Selected(Integer index);
    void SetSelected(Integer index, bool value);
    Integer SelCount();
    void ClearSelection();
    void SelectAll();
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    // The window's line height for a standard list; the stored height for owner-draw ones.
    Integer ItemHeight();
    void SetItemHeight(Integer value);
    // Only owner-draw lists keep a height of their own in a description.
    bool IsItemHeightStored() const { return FStyle != lbStandard; }
    Integer TopIndex();
    void SetTopIndex(Integer value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TCanvas* Canvas() const { return FCanvas.get(); }

    // The item at a client point; when nothing is there, -1 with existing, else the item count.
    Integer ItemAtPos(const TPoint& pos, bool existing);
    // The item's rectangle; for the index one past the last item, the rectangle below the last one.
    TRect ItemRect(Integer index);

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    TListControlStrings* ListItems() const { return FItems.get(); }
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    // OnDrawItem, or the item's text on a filled rectangle.
    virtual void DrawItem(Integer index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(Integer index, Integer& height);
    virtual void CNCommand(TMessage& message);
    virtual void CNDrawItem(TMessage& message);
    virtual void CNMeasureItem(TMessage& message);

private:
    std::unique_ptr<TListControlStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    std::unique_ptr<TStringList> FSaveItems; // the items while the window is recreated
    Integer FSaveItemIndex = -1;
    Integer FSaveTopIndex = 0;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    bool FIntegralHeight = false;
    TListBoxStyle FStyle = lbStandard;
    Integer FItemHeight = 16;
    TBorderStyle FBorderStyle = bsSingle;
};

class TListBox : public TCustomListBox {
    DECLARE_CLASS(TListBox, TCustomListBox)

public:
    using TCustomListBox::TCustomListBox;
};

// A list box with a check box before each item. The states live in the window's item data beside the
// objects, so they follow their items through inserts, deletes and sorting.
class TCheckListBox : public TCustomListBox {
    DECLARE_CLASS(TCheckListBox, TCustomListBox)

public:
    explicit TCheckListBox(TComponent* owner);

    // Each raises EListError "List index out of bounds (%d)" for an index outside the items.
    bool Checked(Integer index) { return State(index) == cbChecked; }
    void SetChecked(Integer index, bool value) { SetState(index, value ? cbChecked : cbUnchecked); }
    TCheckBoxState State(Integer index);
    void SetState(Integer index, TCheckBoxState value);
    bool ItemEnabled(Integer index);
    void SetItemEnabled(Integer index, bool value);
    // Whether a click cycles through the grayed state too.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }

    TNotifyEvent OnClickCheck;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void KeyPress(Char& key) override;
    void DrawItem(Integer index, const TRect& rect, TOwnerDrawState state) override;
    virtual void ClickCheck();

private:
    ULONG_PTR ItemData(Integer index);
    void SetItemData(Integer index, ULONG_PTR data);
    // Moves an enabled item to its next state and tells OnClickCheck.
    void ToggleClickCheck(Integer index);

    bool FAllowGrayed = false;
};

// ---- Combo boxes ----
class TCustomComboBox : public TWinControl {
    DECLARE_CLASS(TCustomComboBox, TWinControl)

public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    void Clear();
    // The selected item, or -1. Setting it shows the item's text in the field and fires no event.
    Integer ItemIndex();
    void SetItemIndex(Integer value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    bool DroppedDown();
    void SetDroppedDown(bool value);
    Integer DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer value) { FDropDownCount = value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    // Typing selects the first item that starts with what was typed: in a combo with a field the
    // field shows the item with its untyped tail selected; a drop-down list searches by the keys
    // typed within half a second of each other.
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool value) { FAutoComplete = value; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    // 0 is no limit.
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer value);
    Integer ItemHeight();
    void SetItemHeight(Integer value);
    bool IsItemHeightStored() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    // The selection of the field's text, in characters from 0.
    Integer SelStart();
    void SetSelStart(Integer value);
    Integer SelLength();
    void SetSelLength(Integer value);
    void SelectAll();
    TCanvas* Canvas() const { return FCanvas.get(); }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    // OnChange; the field's edits call it, and a pick without OnSelect.
    virtual void Change();
    // OnSelect, or Change when OnSelect is not assigned.
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(Integer index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(Integer index, Integer& height);
    virtual void CNCommand(TMessage& message);
    virtual void CNDrawItem(TMessage& message);
    virtual void CNMeasureItem(TMessage& message);
    void KeyPress(Char& key) override;
    // Selects the first item starting with item (the field keeps item's own letters); false when
    // there is none. An empty item empties the selection.
    bool SelectItem(const String& item);

private:
    // Makes the window's list room for DropDownCount items before it shows.
    void AdjustDropDown();
    // The field's characters come through the control's key handling first (AutoComplete, OnKeyPress).
    static LRESULT EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HookEdit();
    void UnhookEdit();

    std::unique_ptr<TListControlStrings> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
    std::unique_ptr<TStringList> FSaveItems; // the items while the window is recreated
    Integer FSaveItemIndex = -1;
    Integer FLoadItemIndex = -1; // an item index read before the items
    TComboBoxStyle FStyle = csDropDown;
    Integer FDropDownCount = 8;
    bool FSorted = false;
    TEditCharCase FCharCase = ecNormal;
    Integer FMaxLength = 0;
    Integer FItemHeight = 16;
    bool FDroppingDown = false; // the window is being sized for its list: no bounds update
    bool FAutoComplete = true;
    String FFilter;             // what was typed so far for AutoComplete
    DWORD FLastTime = 0;        // tick count of the last key of a drop-down list's search
    HWND FEditHandle = nullptr; // the field's window while it is hooked
    WNDPROC FDefEditProc = nullptr;
};

class TComboBox : public TCustomComboBox {
    DECLARE_CLASS(TComboBox, TCustomComboBox)

public:
    using TCustomComboBox::TCustomComboBox;
};

// Helpers the list controls share.
TOwnerDrawState OwnerDrawStateFromBits(UINT itemState);
