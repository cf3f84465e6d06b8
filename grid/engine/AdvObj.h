// The grid's support objects: the integer lists it keeps per cell and per sort, the line-by-line string
// list of its text files, the list of controls placed in cells, the settings groups it publishes
// (search footer, navigation, mouse actions, grid synchronisation, row bands, focus helper), the small
// controls its view and panels use (check box, drop arrows, focus glow, alpha mask, file picture) and
// its glyph button.
//
// Contents: integer lists; file string list; control list; settings enumerations; settings groups;
// support controls (AdvObjControls.cpp); glyph button (AdvObjButton.cpp).
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "platform/framework/ActnList.h"
#include "platform/framework/Buttons.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Persistent.h"
#include "platform/win32/winuser.h"

class TControl;
class TPopupMenu;
class TStringGrid;

// ---- Integer lists

// A change of a list bound to a cell: the list itself and the cell it was created for.
using TImageChangeEvent = std::function<void(TObject* Sender, Integer Acol, Integer Arow)>;

// A list of 32-bit integers bound to the grid cell it belongs to. The integers live in the pointer slots
// of TList and keep its indexing: an index outside 0..Count-1 raises EListError "List index out of
// bounds (%d)" and leaves the list unchanged. It is a TObject as well, so that change handlers receive
// it as their sender. Clear (inherited) empties the list without an event.
class TIntList : public TList, public TObject {
    DECLARE_CLASS(TIntList, TObject)

public:
    TIntList(Integer col, Integer row);
    ~TIntList() override;

    // Appends and fires OnChange; answers the new index.
    Integer Add(Integer value);
    // Removes the item at index and fires OnChange.
    void Delete(Integer index);
    // Deletes the first item equal to value; nothing, and no event, when there is none.
    void DeleteValue(Integer value);
    bool HasValue(Integer value) const;
    // Index of the first item equal to value, or -1.
    Integer IndexOf(Integer value) const;
    // Inserts value at index (0..Count) without firing OnChange.
    void Insert(Integer index, Integer value);
    // The sorted insert and the two searches below assume a list sorted ascending and do not check it.
    // Inserts value at its place without an event; on an empty list the value is appended through Add,
    // which fires one.
    void Insert(Integer value);
    // Index of an item equal to value, or -1 (with duplicates, any one of the equal items).
    Integer SortedIndexOf(Integer value) const;
    // Where value belongs: next to an equal item when there is one, else before the first greater item.
    Integer SortedPosOf(Integer value) const;

    Integer GetInteger(Integer index) const;
    // Replaces the item at index and fires OnChange.
    void SetInteger(Integer index, Integer value);
    Integer Items(Integer index) const { return GetInteger(index); }
    void SetItems(Integer index, Integer value) { SetInteger(index, value); }

    // The items as decimal numbers joined by "," without blanks; "" for the empty list.
    String StrValue() const;
    // Empties the list (without an event), then adds every item of value read as comma text through
    // Add, so OnChange fires once per item. An item that is no integer raises EConvertError "'%s' is not
    // a valid integer value"; the items before it stay added.
    void SetStrValue(const String& value);

    TImageChangeEvent OnChange;

protected:
    void Changed();

private:
    Integer FCol; // the owner cell, passed to OnChange
    Integer FRow;
};

// The columns of a multi-column sort in priority order. An item is the column index in bits 0-30 with
// bit 31 set for a descending column.
class TSortIndexList : public TIntList {
    DECLARE_CLASS(TSortIndexList, TIntList)

public:
    using TIntList::TIntList;

    // Appends the column through Add (OnChange fires).
    void AddIndex(Integer columnIndex, bool ascending);
    // Index of the first item for the column, or -1.
    Integer FindIndex(Integer columnIndex) const;
    // Reverses the direction of the first item for the column (through SetInteger); nothing when the
    // column is not in the list.
    void ToggleIndex(Integer columnIndex);

    // The column of item i; writing keeps its direction.
    Integer SortColumns(Integer i) const;
    void SetSortColumns(Integer i, Integer columnIndex);
    // True when item i sorts ascending.
    bool SortDirections(Integer i) const;
    void SetSortDirections(Integer i, bool ascending);

    // "u3;d5": per item "u" (ascending) or "d" (descending) and the column number, joined by ";";
    // "" for the empty list.
    String SaveToString() const;
    // Rebuilds the list from the string form: empties it without an event, then adds one column per
    // ";"-separated piece through AddIndex. A piece shorter than two characters, or whose column is not
    // a number of 0 or more, is skipped. "u" first means ascending, any other character descending.
    void LoadFromString(const String& s);
};

// ---- File string list

// A string list that the grid's text-file readers read line by line (Reset, Eof, ReadLn) and its
// writers build line by line (Write, WriteLn) before it is saved. Loading and saving are the string
// list's own; a new list reads from line 0 with an empty pending line.
class TFileStringList : public TStringList {
    DECLARE_CLASS(TFileStringList, TStringList)

public:
    TFileStringList();
    ~TFileStringList() override;

    // Back to line 0, and the pending line emptied.
    void Reset();
    // True when every line has been read.
    bool Eof() const;
    // s := the next line. At Eof raises EStringListError "List index out of bounds (%d)" and reads
    // nothing.
    void ReadLn(String& s);
    // Appends s to the pending line.
    void Write(const String& s);
    // Adds the pending line followed by s as a new line and empties the pending line. Text written
    // with Write and never ended by WriteLn is not part of the list.
    void WriteLn(const String& s);

private:
    Integer fp = 0; // index of the line ReadLn returns next
    String cache;   // the pending line
};

// ---- Control list

// A control placed in the grid cell (X, Y). The item does not own the control.
class TControlItem : public TObject {
    DECLARE_CLASS(TControlItem, TObject)

public:
    TControlItem(Integer AX, Integer AY, TControl* AObject);
    ~TControlItem() override;

    Integer X() const { return FX; }
    void SetX(Integer value) { FX = value; }
    Integer Y() const { return FY; }
    void SetY(Integer value) { FY = value; }
    TControl* Control() const { return FObject; }

private:
    Integer FX; // column of the cell
    Integer FY; // row of the cell
    TControl* FObject;
};

// The controls placed in grid cells. The list owns its items (not their controls): removing an item,
// clearing the list or destroying it frees the items.
class TControlList : public TList {
public:
    TControlList();
    ~TControlList() override;

    // Appends an item for the control in cell (X, Y); an item for the same cell is not looked for.
    void AddControl(Integer X, Integer Y, TControl* AObject);
    // Index of the first item of cell (X, Y), or -1.
    Integer ControlIndex(Integer X, Integer Y) const;
    TControlItem* GetControl(Integer i) const;
    TControlItem* Control(Integer i) const { return GetControl(i); }
    // Frees item i (not its control) and removes it.
    void RemoveControl(Integer i);
    // True when the control of some item is a windowed control whose window is handle. Asking never
    // creates a control's window.
    bool HasHandle(HWND handle) const;

protected:
    void Notify(void* item, TListNotification action) override;
};

// ---- Settings enumerations

ZELMOR_ENUM(TAdvanceDirection, adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol)
ZELMOR_ENUM(TInsertPosition, pInsertBefore, pInsertAfter)
ZELMOR_ENUM(TCursorAdvance, caDefault, caSnake, caLoop)
ZELMOR_ENUM(THomeEndAction, heFirstLastColumn, heFirstLastRow, heFirstLastCell)
ZELMOR_ENUM(TClipboardPasteAction, paReplace, paInsert)
ZELMOR_ENUM(TClipboardCutAction, caClear, caRemove)
ZELMOR_ENUM(TGridFixedCellEdit, fceNone, fceDblClick, fceLeftClick, fceRightClick)
ZELMOR_ENUM(TGridFixedCellEditor, fceEdit, fceComboEdit, fceComboList)
// Asked before a fixed cell is edited: which editor opens and, for the combo editors, its values.
using TFixedEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow,
                                           TGridFixedCellEditor& AEditor, TStrings* Values)>;
ZELMOR_ENUM(TWheelAction, waMoveSelection, waScroll)
ZELMOR_ENUM(TWheelActive, waFocus, waMouseOver)
ZELMOR_ENUM(TSearchDirection, sdTopBottom, sdLeftRight)
ZELMOR_ENUM(THighlightType, hMatchingText, hFullCell)

// Asks whether the grid is being designed; the handler sets IsDesigning.
using TIsDesigningEvent = std::function<void(TObject* Sender, bool& IsDesigning)>;

// ---- Settings groups
//
// Each group is a published sub-object of the grid, created and freed by it. Setters store the value;
// those that say so also tell the grid through an event. Assign copies from another instance of the
// same class, fires no event and ignores every other source.

// The search bar under the grid.
class TSearchFooter : public TPersistent {
    DECLARE_CLASS(TSearchFooter, TPersistent)

public:
    // newInDesigner is set only for a grid newly placed in the form designer; only then are the
    // captions and hints filled, since a loaded grid gets them from its form description.
    TSearchFooter(TComponent* owner, bool newInDesigner);
    ~TSearchFooter() override;

    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() const override;

    // Fires OnChange only when the value changes.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // The setters from here to HintHighlight fire OnChange on every call, changed or not, except the
    // Show flags other than ShowClose, which fire only on a change.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool value);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool value);
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool value);
    const String& FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const String& value);
    const String& FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const String& value);
    const String& MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const String& value);
    const String& HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const String& value);
    const String& HintClose() const { return FHintClose; }
    void SetHintClose(const String& value);
    const String& HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const String& value);
    const String& HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const String& value);
    const String& HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const String& value);
    bool AutoSearch() const { return FAutoSearch; }
    void SetAutoSearch(bool value) { FAutoSearch = value; }
    bool AlwaysHighLight() const { return FAlwaysHighLight; }
    void SetAlwaysHighLight(bool value) { FAlwaysHighLight = value; }
    THighlightType HighLight() const { return FHighLight; }
    void SetHighLight(THighlightType value) { FHighLight = value; }
    // -1 searches all columns.
    Integer SearchColumn() const { return FSearchColumn; }
    void SetSearchColumn(Integer value) { FSearchColumn = value; }
    bool SearchActiveColumnOnly() const { return FSearchActiveColumnOnly; }
    void SetSearchActiveColumnOnly(bool value) { FSearchActiveColumnOnly = value; }
    bool SearchMatchStart() const { return FSearchMatchStart; }
    void SetSearchMatchStart(bool value) { FSearchMatchStart = value; }
    bool SearchFixedCells() const { return FSearchFixedCells; }
    void SetSearchFixedCells(bool value) { FSearchFixedCells = value; }
    bool SearchHiddenRows() const { return FSearchHiddenRows; }
    void SetSearchHiddenRows(bool value) { FSearchHiddenRows = value; }
    TSearchDirection SearchDirection() const { return FSearchDirection; }
    void SetSearchDirection(TSearchDirection value) { FSearchDirection = value; }

    // Not published. Fires OnChange on every call.
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);
    // The text searched last; not published.
    const String& LastSearch() const { return FLastSearch; }
    void SetLastSearch(const String& value) { FLastSearch = value; }

    TNotifyEvent OnChange;

private:
    void Changed();

    TComponent* FOwner;
    bool FVisible = false;
    TColor FColor = clWhite;
    TColor FColorTo = clBtnFace;
    std::unique_ptr<TFont> FFont;
    bool FShowClose = true;
    bool FShowFindNext = true;
    bool FShowFindPrev = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    String FFindNextCaption;
    String FFindPrevCaption;
    String FMatchCaseCaption;
    String FHighLightCaption;
    String FHintClose;
    String FHintFindNext;
    String FHintFindPrev;
    String FHintHighlight;
    bool FAutoSearch = true;
    bool FAlwaysHighLight = false;
    THighlightType FHighLight = hMatchingText;
    Integer FSearchColumn = -1;
    bool FSearchActiveColumnOnly = false;
    bool FSearchMatchStart = false;
    bool FSearchFixedCells = false;
    bool FSearchHiddenRows = false;
    TSearchDirection FSearchDirection = sdTopBottom;
    bool FAutoThemeAdapt = false;
    String FLastSearch;
};

// Keyboard, cursor advance and clipboard behaviour. AdvanceDirection and AdvanceInsert fire OnChange
// when they change; AdvanceAuto set true also sets AdvanceOnEnter; the other setters only store.
class TNavigation : public TPersistent {
    DECLARE_CLASS(TNavigation, TPersistent)

public:
    // The grid that owns the settings (null for settings of their own).
    explicit TNavigation(TComponent* owner = nullptr);
    ~TNavigation() override;

    // Copies every published property except KeepScrollOnSort.
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() const override;

    bool AllowInsertRow() const { return FAllowInsertRow; }
    void SetAllowInsertRow(bool value) { FAllowInsertRow = value; }
    bool AllowDeleteRow() const { return FAllowDeleteRow; }
    void SetAllowDeleteRow(bool value) { FAllowDeleteRow = value; }
    bool AlwaysEdit() const { return FAlwaysEdit; }
    void SetAlwaysEdit(bool value) { FAlwaysEdit = value; }
    bool AdvanceOnEnter() const { return FAdvanceOnEnter; }
    void SetAdvanceOnEnter(bool value) { FAdvanceOnEnter = value; }
    bool AdvanceOnEnterLoop() const { return FAdvanceOnEnterLoop; }
    void SetAdvanceOnEnterLoop(bool value) { FAdvanceOnEnterLoop = value; }
    bool AdvanceInsert() const { return FAdvanceInsert; }
    void SetAdvanceInsert(bool value);
    bool AdvanceAutoEdit() const { return FAdvanceAutoEdit; }
    void SetAdvanceAutoEdit(bool value) { FAdvanceAutoEdit = value; }
    bool AdvanceSkipReadOnlyCells() const { return FAdvanceSkipReadOnlyCells; }
    void SetAdvanceSkipReadOnlyCells(bool value) { FAdvanceSkipReadOnlyCells = value; }
    bool AdvanceAuto() const { return FAdvanceAuto; }
    void SetAdvanceAuto(bool value);
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    void SetAdvanceDirection(TAdvanceDirection value);
    TAdvanceDirection TabAdvanceDirection() const { return FTabAdvanceDirection; }
    void SetTabAdvanceDirection(TAdvanceDirection value) { FTabAdvanceDirection = value; }
    bool TabToNextAtEnd() const { return FTabToNextAtEnd; }
    void SetTabToNextAtEnd(bool value) { FTabToNextAtEnd = value; }
    bool AutoGotoWhenSorted() const { return FAutoGotoWhenSorted; }
    void SetAutoGotoWhenSorted(bool value) { FAutoGotoWhenSorted = value; }
    bool AutoGotoIncremental() const { return FAutoGotoIncremental; }
    void SetAutoGotoIncremental(bool value) { FAutoGotoIncremental = value; }
    bool AutoComboDropSize() const { return FAutoComboDropSize; }
    void SetAutoComboDropSize(bool value) { FAutoComboDropSize = value; }
    bool AutoComboSelect() const { return FAutoComboSelect; }
    void SetAutoComboSelect(bool value) { FAutoComboSelect = value; }
    bool AllowClipboardShortCuts() const { return FAllowClipboardShortCuts; }
    void SetAllowClipboardShortCuts(bool value) { FAllowClipboardShortCuts = value; }
    bool AllowClipboardAlways() const { return FAllowClipboardAlways; }
    void SetAllowClipboardAlways(bool value) { FAllowClipboardAlways = value; }
    bool AllowClipboardRowGrow() const { return FAllowClipboardRowGrow; }
    void SetAllowClipboardRowGrow(bool value) { FAllowClipboardRowGrow = value; }
    bool AllowClipboardColGrow() const { return FAllowClipboardColGrow; }
    void SetAllowClipboardColGrow(bool value) { FAllowClipboardColGrow = value; }
    bool AllowSmartClipboard() const { return FAllowSmartClipboard; }
    void SetAllowSmartClipboard(bool value) { FAllowSmartClipboard = value; }
    bool AllowRTFClipboard() const { return FAllowRTFClipboard; }
    void SetAllowRTFClipboard(bool value) { FAllowRTFClipboard = value; }
    bool AllowFmtClipboard() const { return FAllowFmtClipboard; }
    void SetAllowFmtClipboard(bool value) { FAllowFmtClipboard = value; }
    bool CopyHTMLTagsToClipboard() const { return FCopyHTMLTagsToClipboard; }
    void SetCopyHTMLTagsToClipboard(bool value) { FCopyHTMLTagsToClipboard = value; }
    TClipboardPasteAction ClipboardPasteAction() const { return FClipboardPasteAction; }
    void SetClipboardPasteAction(TClipboardPasteAction value) { FClipboardPasteAction = value; }
    TClipboardCutAction ClipboardCutAction() const { return FClipboardCutAction; }
    void SetClipboardCutAction(TClipboardCutAction value) { FClipboardCutAction = value; }
    bool AllowCtrlEnter() const { return FAllowCtrlEnter; }
    void SetAllowCtrlEnter(bool value) { FAllowCtrlEnter = value; }
    bool AppendOnArrowDown() const { return FAppendOnArrowDown; }
    void SetAppendOnArrowDown(bool value) { FAppendOnArrowDown = value; }
    bool EditSelectAll() const { return FEditSelectAll; }
    void SetEditSelectAll(bool value) { FEditSelectAll = value; }
    TInsertPosition InsertPosition() const { return FInsertPosition; }
    void SetInsertPosition(TInsertPosition value) { FInsertPosition = value; }
    bool ComboGetUpDown() const { return FComboGetUpDown; }
    void SetComboGetUpDown(bool value) { FComboGetUpDown = value; }
    TCursorAdvance CursorAdvance() const { return FCursorAdvance; }
    void SetCursorAdvance(TCursorAdvance value) { FCursorAdvance = value; }
    bool CursorWalkEditor() const { return FCursorWalkEditor; }
    void SetCursorWalkEditor(bool value) { FCursorWalkEditor = value; }
    bool CursorWalkAlwaysEdit() const { return FCursorWalkAlwaysEdit; }
    void SetCursorWalkAlwaysEdit(bool value) { FCursorWalkAlwaysEdit = value; }
    bool CursorMoveRows() const { return FCursorMoveRows; }
    void SetCursorMoveRows(bool value) { FCursorMoveRows = value; }
    bool MoveRowOnSort() const { return FMoveRowOnSort; }
    void SetMoveRowOnSort(bool value) { FMoveRowOnSort = value; }
    bool KeepScrollOnSort() const { return FKeepScrollOnSort; }
    void SetKeepScrollOnSort(bool value) { FKeepScrollOnSort = value; }
    bool MoveScrollOnly() const { return FMoveScrollOnly; }
    void SetMoveScrollOnly(bool value) { FMoveScrollOnly = value; }
    bool ImproveMaskSel() const { return FImproveMaskSel; }
    void SetImproveMaskSel(bool value) { FImproveMaskSel = value; }
    bool LeftRightRowSelect() const { return FLeftRightRowSelect; }
    void SetLeftRightRowSelect(bool value) { FLeftRightRowSelect = value; }
    bool KeepHorizScroll() const { return FKeepHorizScroll; }
    void SetKeepHorizScroll(bool value) { FKeepHorizScroll = value; }
    bool LineFeedOnEnter() const { return FLineFeedOnEnter; }
    void SetLineFeedOnEnter(bool value) { FLineFeedOnEnter = value; }
    THomeEndAction HomeEndKey() const { return FHomeEndKey; }
    void SetHomeEndKey(THomeEndAction value) { FHomeEndKey = value; }
    bool SkipFixedCells() const { return FSkipFixedCells; }
    void SetSkipFixedCells(bool value) { FSkipFixedCells = value; }
    bool SkipDisabledRows() const { return FSkipDisabledRows; }
    void SetSkipDisabledRows(bool value) { FSkipDisabledRows = value; }

    TNotifyEvent OnChange;

private:
    void Changed();

    TComponent* FOwner;
    bool FAllowInsertRow = false;
    bool FAllowDeleteRow = false;
    bool FAlwaysEdit = false;
    bool FAdvanceOnEnter = false;
    bool FAdvanceOnEnterLoop = true;
    bool FAdvanceInsert = false;
    bool FAdvanceAutoEdit = true;
    bool FAdvanceSkipReadOnlyCells = true;
    bool FAdvanceAuto = false;
    TAdvanceDirection FAdvanceDirection = adLeftRight;
    TAdvanceDirection FTabAdvanceDirection = adLeftRight;
    bool FTabToNextAtEnd = false;
    bool FAutoGotoWhenSorted = false;
    bool FAutoGotoIncremental = false;
    bool FAutoComboDropSize = false;
    bool FAutoComboSelect = true;
    bool FAllowClipboardShortCuts = false;
    bool FAllowClipboardAlways = false;
    bool FAllowClipboardRowGrow = true;
    bool FAllowClipboardColGrow = true;
    bool FAllowSmartClipboard = false;
    bool FAllowRTFClipboard = false;
    bool FAllowFmtClipboard = false;
    bool FCopyHTMLTagsToClipboard = true;
    TClipboardPasteAction FClipboardPasteAction = paReplace;
    TClipboardCutAction FClipboardCutAction = caClear;
    bool FAllowCtrlEnter = true;
    bool FAppendOnArrowDown = false;
    bool FEditSelectAll = true;
    TInsertPosition FInsertPosition = pInsertBefore;
    bool FComboGetUpDown = true;
    TCursorAdvance FCursorAdvance = caDefault;
    bool FCursorWalkEditor = false;
    bool FCursorWalkAlwaysEdit = true;
    bool FCursorMoveRows = false;
    bool FMoveRowOnSort = false;
    bool FKeepScrollOnSort = false;
    bool FMoveScrollOnly = false;
    bool FImproveMaskSel = false;
    bool FLeftRightRowSelect = true;
    bool FKeepHorizScroll = false;
    bool FLineFeedOnEnter = false;
    THomeEndAction FHomeEndKey = heFirstLastColumn;
    bool FSkipFixedCells = true;
    bool FSkipDisabledRows = true;
};

// Mouse selection and editing behaviour.
class TMouseActions : public TPersistent {
    DECLARE_CLASS(TMouseActions, TPersistent)

public:
    // The grid that owns the settings (null for settings of their own).
    explicit TMouseActions(TComponent* owner = nullptr);
    ~TMouseActions() override;
    TPersistent* GetOwner() const override;

    // Copies every published property except EditOnDblClickOnly, FixedComboValues and
    // HotmailRowSelect.
    void Assign(TPersistent* source) override;

    // Setters with effects: DisjunctRowSelect, DisjunctColSelect and DisjunctCellSelect exclude each
    // other while OnIsDesigning answers true (set true, they clear the other two); EditOnDblClickOnly
    // set true fires OnDisableEdit; HotmailRowSelect set true also sets DisjunctRowSelect and
    // CheckAllCheck, and fires OnInvalidate on every call; WheelAction fires OnChange when it changes.
    bool AllColumnSize() const { return FAllColumnSize; }
    void SetAllColumnSize(bool value) { FAllColumnSize = value; }
    bool AllRowSize() const { return FAllRowSize; }
    void SetAllRowSize(bool value) { FAllRowSize = value; }
    bool AllSelect() const { return FAllSelect; }
    void SetAllSelect(bool value) { FAllSelect = value; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool value) { FAutoFocus = value; }
    bool AutoSizeColOnDblClick() const { return FAutoSizeColOnDblClick; }
    void SetAutoSizeColOnDblClick(bool value) { FAutoSizeColOnDblClick = value; }
    bool CaretPositioning() const { return FCaretPositioning; }
    void SetCaretPositioning(bool value) { FCaretPositioning = value; }
    bool CheckAllCheck() const { return FCheckAllCheck; }
    void SetCheckAllCheck(bool value) { FCheckAllCheck = value; }
    bool ColSelect() const { return FColSelect; }
    void SetColSelect(bool value) { FColSelect = value; }
    bool DirectComboClose() const { return FDirectComboClose; }
    void SetDirectComboClose(bool value) { FDirectComboClose = value; }
    bool DirectComboDrop() const { return FDirectComboDrop; }
    void SetDirectComboDrop(bool value) { FDirectComboDrop = value; }
    bool DirectDateClose() const { return FDirectDateClose; }
    void SetDirectDateClose(bool value) { FDirectDateClose = value; }
    bool DirectDateDrop() const { return FDirectDateDrop; }
    void SetDirectDateDrop(bool value) { FDirectDateDrop = value; }
    bool DirectEdit() const { return FDirectEdit; }
    void SetDirectEdit(bool value) { FDirectEdit = value; }
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool value);
    bool DisjunctRowSelectNoCtrl() const { return FDisjunctRowSelectNoCtrl; }
    void SetDisjunctRowSelectNoCtrl(bool value) { FDisjunctRowSelectNoCtrl = value; }
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool value);
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    void SetEditOnDblClickOnly(bool value);
    TGridFixedCellEdit FixedRowsEdit() const { return FFixedRowsEdit; }
    void SetFixedRowsEdit(TGridFixedCellEdit value) { FFixedRowsEdit = value; }
    TGridFixedCellEdit FixedColsEdit() const { return FFixedColsEdit; }
    void SetFixedColsEdit(TGridFixedCellEdit value) { FFixedColsEdit = value; }
    TGridFixedCellEditor FixedRowsEditor() const { return FFixedRowsEditor; }
    void SetFixedRowsEditor(TGridFixedCellEditor value) { FFixedRowsEditor = value; }
    TGridFixedCellEditor FixedColsEditor() const { return FFixedColsEditor; }
    void SetFixedColsEditor(TGridFixedCellEditor value) { FFixedColsEditor = value; }
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    void SetHotmailRowSelect(bool value);
    bool MoveRowOnNodeClick() const { return FMoveRowOnNodeClick; }
    void SetMoveRowOnNodeClick(bool value) { FMoveRowOnNodeClick = value; }
    bool NoAutoRangeScroll() const { return FNoAutoRangeScroll; }
    void SetNoAutoRangeScroll(bool value) { FNoAutoRangeScroll = value; }
    bool NodeAllExpandContract() const { return FNodeAllExpandContract; }
    void SetNodeAllExpandContract(bool value) { FNodeAllExpandContract = value; }
    bool NoScrollOnPartialRow() const { return FNoScrollOnPartialRow; }
    void SetNoScrollOnPartialRow(bool value) { FNoScrollOnPartialRow = value; }
    bool NoScrollOnPartialCol() const { return FNoScrollOnPartialCol; }
    void SetNoScrollOnPartialCol(bool value) { FNoScrollOnPartialCol = value; }
    bool PreciseCheckBoxCheck() const { return FPreciseCheckBoxCheck; }
    void SetPreciseCheckBoxCheck(bool value) { FPreciseCheckBoxCheck = value; }
    bool PreciseNodeClick() const { return FPreciseNodeClick; }
    void SetPreciseNodeClick(bool value) { FPreciseNodeClick = value; }
    bool RangeSelectAndEdit() const { return FRangeSelectAndEdit; }
    void SetRangeSelectAndEdit(bool value) { FRangeSelectAndEdit = value; }
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value) { FRowSelect = value; }
    bool RowSelectPersistent() const { return FRowSelectPersistent; }
    void SetRowSelectPersistent(bool value) { FRowSelectPersistent = value; }
    bool SelectOnRightClick() const { return FSelectOnRightClick; }
    void SetSelectOnRightClick(bool value) { FSelectOnRightClick = value; }
    bool SizeFixedCol() const { return FSizeFixedCol; }
    void SetSizeFixedCol(bool value) { FSizeFixedCol = value; }
    bool SizeFixedRow() const { return FSizeFixedRow; }
    void SetSizeFixedRow(bool value) { FSizeFixedRow = value; }
    bool TouchScroll() const { return FTouchScroll; }
    void SetTouchScroll(bool value) { FTouchScroll = value; }
    Integer WheelIncrement() const { return FWheelIncrement; }
    void SetWheelIncrement(Integer value) { FWheelIncrement = value; }
    TWheelAction WheelAction() const { return FWheelAction; }
    void SetWheelAction(TWheelAction value);
    TWheelActive WheelActive() const { return FWheelActive; }
    void SetWheelActive(TWheelActive value) { FWheelActive = value; }
    // The values the fixed-cell combo editor offers: the owned list itself. Setting copies the lines.
    TStringList* FixedComboValues() const { return FFixedComboValues.get(); }
    void SetFixedComboValues(TStrings* value);

    TNotifyEvent OnChange;
    TNotifyEvent OnInvalidate;
    TNotifyEvent OnDisableEdit;
    // Without a handler the grid counts as not being designed.
    TIsDesigningEvent OnIsDesigning;

private:
    bool IsDesigning();

    TComponent* FOwner;
    bool FAllColumnSize = false;
    bool FAllRowSize = false;
    bool FAllSelect = false;
    bool FAutoFocus = false;
    bool FAutoSizeColOnDblClick = true;
    bool FCaretPositioning = false;
    bool FCheckAllCheck = false;
    bool FColSelect = false;
    bool FDirectComboClose = false;
    bool FDirectComboDrop = false;
    bool FDirectDateClose = false;
    bool FDirectDateDrop = false;
    bool FDirectEdit = false;
    bool FDisjunctRowSelect = false;
    bool FDisjunctRowSelectNoCtrl = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FEditOnDblClickOnly = false;
    TGridFixedCellEdit FFixedRowsEdit = fceNone;
    TGridFixedCellEdit FFixedColsEdit = fceNone;
    TGridFixedCellEditor FFixedRowsEditor = fceEdit;
    TGridFixedCellEditor FFixedColsEditor = fceEdit;
    bool FHotmailRowSelect = false;
    bool FMoveRowOnNodeClick = false;
    bool FNoAutoRangeScroll = false;
    bool FNodeAllExpandContract = false;
    bool FNoScrollOnPartialRow = false;
    bool FNoScrollOnPartialCol = false;
    bool FPreciseCheckBoxCheck = false;
    bool FPreciseNodeClick = true;
    bool FRangeSelectAndEdit = false;
    bool FRowSelect = false;
    bool FRowSelectPersistent = false;
    bool FSelectOnRightClick = false;
    bool FSizeFixedCol = false;
    bool FSizeFixedRow = false;
    bool FTouchScroll = false;
    Integer FWheelIncrement = 0;
    TWheelAction FWheelAction = waMoveSelection;
    TWheelActive FWheelActive = waFocus;
    std::unique_ptr<TStringList> FFixedComboValues;
};

// Another grid kept in step with this one (scrolling, selection, moved rows and columns). Grid is
// cleared when that grid is freed.
class TSyncGrid : public TPersistent {
    DECLARE_CLASS(TSyncGrid, TPersistent)

public:
    explicit TSyncGrid(TStringGrid* ownerGrid);
    ~TSyncGrid() override;

    void Assign(TPersistent* source) override;

    TStringGrid* Grid() const { return FGrid; }
    // Null detaches; the owner grid itself is refused and leaves Grid unchanged.
    void SetGrid(TStringGrid* value);
    bool ScrollHorizontal() const { return FScrollHorizontal; }
    void SetScrollHorizontal(bool value) { FScrollHorizontal = value; }
    bool ScrollVertical() const { return FScrollVertical; }
    void SetScrollVertical(bool value) { FScrollVertical = value; }
    bool SelectionRow() const { return FSelectionRow; }
    void SetSelectionRow(bool value) { FSelectionRow = value; }
    bool SelectionColumn() const { return FSelectionColumn; }
    void SetSelectionColumn(bool value) { FSelectionColumn = value; }
    bool MoveRow() const { return FMoveRow; }
    void SetMoveRow(bool value) { FMoveRow = value; }
    bool MoveColumn() const { return FMoveColumn; }
    void SetMoveColumn(bool value) { FMoveColumn = value; }

private:
    class TGridWatch;

    TStringGrid* FOwnerGrid;
    TStringGrid* FGrid = nullptr;
    std::unique_ptr<TGridWatch> FGridWatch; // asks for Grid's free notification
    bool FScrollHorizontal = false;
    bool FScrollVertical = false;
    bool FSelectionRow = false;
    bool FSelectionColumn = false;
    bool FMoveRow = false;
    bool FMoveColumn = false;
};

// Alternating row colours: PrimaryLength rows of PrimaryColor, then SecondaryLength rows of
// SecondaryColor. Active fires OnChange when it changes; the colours and lengths fire it only while
// Active.
class TBands : public TPersistent {
    DECLARE_CLASS(TBands, TPersistent)

public:
    TBands();
    ~TBands() override;

    void Assign(TPersistent* source) override;

    bool Active() const { return FActive; }
    void SetActive(bool value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor value);
    Integer PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(Integer value);
    Integer SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(Integer value);
    bool Print() const { return FPrint; }
    void SetPrint(bool value) { FPrint = value; }
    // PrimaryLength + SecondaryLength, the length of one band cycle.
    Integer TotalLength() const { return FTotalLength; }

    TNotifyEvent OnChange;

private:
    void ChangedWhileActive();

    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    TColor FSecondaryColor = clWindow;
    Integer FPrimaryLength = 1;
    Integer FSecondaryLength = 1;
    Integer FTotalLength = 2;
    bool FPrint = false;
};

// Whether the grid frames the cell being edited with its focus window.
class TFocusHelper : public TPersistent {
    DECLARE_CLASS(TFocusHelper, TPersistent)

public:
    TFocusHelper();
    ~TFocusHelper() override;

    void Assign(TPersistent* source) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }

private:
    bool FEnabled = false;
};

// ---- Support controls

// Which side of a control a box stands on: taLeftJustify or taRightJustify.
using TLeftRight = TAlignment;

// The owner-drawn check box of the grid's panels. It raises its own clicks: a release of the mouse over
// the box that was pressed there, the space bar let go, or the caption's accelerator toggles it first.
class TAdvCheckBox : public TCustomControl {
    DECLARE_CLASS(TAdvCheckBox, TCustomControl)

public:
    explicit TAdvCheckBox(TComponent* owner);
    ~TAdvCheckBox() override;

    // Unless ReadOnly: checked becomes unchecked, anything else checked.
    void Toggle();

    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    // Return moves the focus on as Tab does.
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout value);
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // The parent's background shows around the box and the caption.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // With Transparent, the parent's background is painted once and kept until the control moves.
    bool TransparentCaching() const { return FTransparentCaching; }
    void SetTransparentCaching(bool value) { FTransparentCaching = value; }
    bool Down() const { return FDown; }

    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

protected:
    void Dispatch(TMessage& message) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyUp(Word& key, TShiftState shift) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void WMEraseBkgnd(TMessage& message) override;

private:
    // The box's square in client coordinates, themed or classic.
    TRect BoxRect(bool themed);
    // Repaints the strip of the client area the box stands in.
    void InvalidateBox();
    void PaintParentBackground(TCanvas* canvas);
    void DropBackgroundCache();

    bool FDown = false;
    TCheckBoxState FState = cbUnchecked;
    bool FFocused = false;
    bool FReturnIsTab = false;
    TTextLayout FBtnVAlign = tlTop;
    TLeftRight FAlignment = taLeftJustify;
    bool FEllipsis = false;
    String FCaption;
    bool FIsWinXP = false;
    bool FHot = false;
    bool FClicksDisabled = false; // set while a mouse click toggles the box
    bool FReadOnly = false;
    bool FMouseDown = false; // a left press began on the control
    std::unique_ptr<TBitmap> FBkgBmp;
    bool FBkgCache = false; // FBkgBmp holds the parent's background
    bool FTransparentCaching = false;
    bool FTransparent = false;
};

ZELMOR_ENUM(TArrowDirection, arrUp, arrDown, arrLeft, arrRight)

// A small green arrow-shaped popup that shows where a dragged column or row will drop. arrLeft and
// arrRight name the side of the drop position the window stands on, so each points toward it.
class TArrowWindow : public TPanel {
    DECLARE_CLASS(TArrowWindow, TPanel)

public:
    // Parented to owner (when it is a windowed control) and hidden.
    TArrowWindow(TComponent* owner, TArrowDirection direction);
    ~TArrowWindow() override;

    TArrowDirection Dir() const { return FDir; }
    // The seven points of the window's shape, from its top-left corner.
    const std::array<TPoint, 7>& Arrow() const { return FArrow; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;

private:
    TArrowDirection FDir;
    std::array<TPoint, 7> FArrow;
};

// The popup that carries the translucent glow around the grid's focused cell. The grid sizes, shapes
// and fills it; its window never takes the focus and never shows on the task bar.
class TGridFocusWindow : public TCustomControl {
    DECLARE_CLASS(TGridFocusWindow, TCustomControl)

public:
    explicit TGridFocusWindow(TComponent* owner);
    ~TGridFocusWindow() override;

protected:
    void CreateParams(TCreateParams& params) override;
};

// A 32-bit bitmap of premultiplied colours with their alpha, as a layered window takes it.
class TGridAlphaMask : public TBitmap {
    DECLARE_CLASS(TGridAlphaMask, TBitmap)

public:
    TGridAlphaMask();
    ~TGridAlphaMask() override;

    // From another mask: its opacity, size and pixels; from anything else the bitmap's assignment. The
    // result stays 32 bits per pixel.
    void Assign(TPersistent* source) override;
    // Takes the size of the 24-bit colour bitmap; each pixel's alpha is the mask pixel's red value and
    // each colour channel the bitmap's times alpha / 255, rounded. Nothing unless bitmap has 24 bits per
    // pixel. Pixels the mask does not cover get alpha 0. color is not read.
    void MergeMask(TBitmap* mask, TBitmap* bitmap, TColor color);

    Byte Opacity() const { return FOpacity; }
    void SetOpacity(Byte value) { FOpacity = value; }

private:
    Byte FOpacity = 255;
};

// Makes bitmap a 24-bit black picture of width x height with a white rounded rectangle inset by
// penWidth / 2 + 2 (corner ellipses of corner x corner): filled when penWidth is below 1, else outlined
// with a pen of that width; a radius above 0 then blurs it.
void MakeRoundRectMask(TBitmap* bitmap, Integer width, Integer height, Integer blurRadius, Integer corner,
                       Integer penWidth);
// A Gaussian blur of the given radius over a 24-bit bitmap, in place; other bitmaps raise Exception
// "Blur only works for 24-bit bitmaps". Rows and columns more than 20 pixels from both edges are copied
// from the 15th, which is exact for pictures that repeat inward from there, as the rounded masks do.
void GaussianBlur(TBitmap* bitmap, Integer radius);

// A picture held by its file name, loaded only to take its size and to draw it. Missing or unreadable
// files are never reported.
class TFilePicture : public TPersistent {
    DECLARE_CLASS(TFilePicture, TPersistent)

public:
    TFilePicture();
    ~TFilePicture() override;

    // Copies the name, width and height of another file picture, without loading.
    void Assign(TPersistent* source) override;
    // Draws the file's picture stretched into rect; nothing when it cannot be read.
    void DrawPicture(TCanvas* canvas, const TRect& rect);

    const String& Filename() const { return FFilename; }
    // Stores the name; a file that loads gives its size, anything else leaves the size as it was.
    void SetFilename(const String& value);
    // The picture's size when the name was last set.
    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }

private:
    String FFilename;
    Integer FWidth = 0;
    Integer FHeight = 0;
};

// ---- Glyph button

ZELMOR_ENUM(TAdvGridButtonStyle, tasButton, tasCheck)

class TAdvGridButton;

// Binds a glyph button's caption, checked state (its Down) and group index to its action while the
// button still shows the action's value: the checked state only for a grouped button that allows all
// up.
class TAdvGridButtonActionLink : public TControlActionLink {
    DECLARE_CLASS(TAdvGridButtonActionLink, TControlActionLink)

public:
    void AssignClient(TObject* client) override;
    bool IsCheckedLinked() override;
    bool IsGroupIndexLinked() override;
    void SetChecked(bool value) override;
    void SetGroupIndex(Integer value) override;

private:
    TAdvGridButton* FButton = nullptr;
};

// The flat glyph button of the grid's panels: a speed button (groups, AllowAllUp, glyph and caption
// layout) with gradient looks for its states, rounded borders, a shadow under the glyph on hover, a
// split drop-down part and a check style.
class TAdvGridButton : public TGraphicControl {
    DECLARE_CLASS(TAdvGridButton, TGraphicControl)

public:
    explicit TAdvGridButton(TComponent* owner);
    ~TAdvGridButton() override;

    // One of the preset looks 0-6; any other changes nothing.
    void SetLook(Integer look);

    // A plain button outside any group never stays down; a check-style button takes any value.
    bool Down() const { return FDown; }
    void SetDown(bool value);
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    // Setting the glyph also makes the disabled glyph from it while that is empty.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    TBitmap* GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(TBitmap* value) { FGlyphHot->Assign(value); }
    TBitmap* GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(TBitmap* value) { FGlyphDown->Assign(value); }
    TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(TBitmap* value) { FGlyphDisabled->Assign(value); }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    // -1 centres glyph and caption; values below -1 are refused.
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer value);
    // -1 shares the free space out evenly.
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor value) { FColorHot = value; }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor value) { FColorHotTo = value; }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor value) { FColorDown = value; }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor value) { FColorDownTo = value; }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor value);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor value) { FBorderDownColor = value; }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor value) { FBorderHotColor = value; }
    // A grey shadow of the glyph under it while the mouse is over the button.
    bool Shaded() const { return FShaded; }
    void SetShaded(bool value);
    TAdvGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TAdvGridButtonStyle value);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool value);
    // The rightmost 12 pixels become a drop-down part that fires OnDropDown and shows DropDownMenu.
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool value);
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* value);
    // Takes the look of the visual style's colour scheme, now and whenever the theme changes.
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);
    // A button that is not flat draws as the themed push button where themes are in use.
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool value) { FAutoXPStyle = value; }
    TButtonState State() const { return FState; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnDropDown;

protected:
    void Dispatch(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    TClass GetActionLinkClass() override;
    // Only a button that is down fires OnDblClick.
    void WMLButtonDblClk(TMessage& message) override;

private:
    void GlyphChanged(TObject* sender);
    // Tells the other buttons of the group among the parent's controls that this one went down.
    void UpdateExclusive();
    void CMButtonPressed(TMessage& message);
    void UpdateTracking();
    void MouseEntered();
    void MouseLeft();
    void BuildShade();
    void ApplyThemeLook();
    // Draws glyph, shadow and caption laid out in rect.
    void DrawContent(TCanvas* canvas, const TRect& rect, bool hot);

    bool FIsComCtl6 = false;
    Integer FGroupIndex = 0;
    std::unique_ptr<TBitmap> FGlyph;
    bool FDown = false;
    bool FDragging = false; // a left press is in progress
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    Integer FSpacing = 4;
    bool FTransparent = true;
    Integer FMargin = -1;
    bool FFlat = true;
    bool FMouseInside = false; // the button counts the pointer as inside
    TColor FColorTo = clNone;
    TColor FColorHot = 0x00CAC7C7;
    TColor FColorHotTo = clNone;
    TColor FColorDown = 0x00D8D3D2;
    TColor FColorDownTo = clNone;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    std::unique_ptr<TBitmap> FGlyphDisabled;
    std::unique_ptr<TBitmap> FGlyphHot;
    std::unique_ptr<TBitmap> FGlyphDown;
    std::unique_ptr<TBitmap> FGlyphShade;
    bool FShaded = true;
    TColor FColorChecked = 0x00808080;
    TColor FColorCheckedTo = clNone;
    TAdvGridButtonStyle FStyle = tasButton;
    bool FRounded = false;
    bool FDropDownButton = false;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FShowCaption = true;
    TButtonState FState = bsUp;
};

// Paints the button's gradient: steps bands (0 counts as 1) from fromColor to toColor along x when
// horizontal, else along y, then a one-pixel frame unless frameColor is clNone.
void DrawButtonGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
                        Integer steps, TColor frameColor);
