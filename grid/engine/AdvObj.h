// The grid's support objects: the integer lists it keeps per cell and per sort, the line-by-line string
// list of its text files, the list of controls placed in cells, and the settings groups it publishes
// (search footer, navigation, mouse actions, grid synchronisation, row bands, focus helper).
//
// Contents: integer lists; file string list; control list; settings enumerations; settings groups.
#pragma once

#include <functional>
#include <memory>

#include "platform/framework/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Persistent.h"
#include "platform/win32/winuser.h"

class TControl;
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
