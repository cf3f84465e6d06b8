// The grid's default text in-place editor and the event types of in-place editing.
#pragma once

#include "grid/engine/AdvGridTypes.h"
#include "platform/framework/Grids.h"

class TAdvStringGrid;
class TEditLink;
class TStrings;

// The application sets up the editor of a cell (its items, ranges, formats) before it shows. AEditLink
// is the grid's edit link, or null when the default text editor asks.
using TGetEditorPropEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TEditLink* AEditLink)>;
using TClipboardBeforePasteCellEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value, bool& Allow)>;
using TClipboardAfterPasteCellEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& Value)>;
// The form controls of a cell's mini-HTML text: the combo's list is filled by the application, which may
// make it a pick-only list (Edit false) and choose how many lines it drops.
using TControlComboListEvent = std::function<void(
    TObject* Sender, Integer ARow, Integer ACol, const String& CtrlID, const String& CtrlType,
    const String& CtrlVal, TStrings* Values, bool& Edit, Integer& DropCount)>;
using TControlComboSelectEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, Integer ItemIndex, const String& CtrlID,
                       const String& CtrlValue)>;
using TControlEditDoneEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& CtrlID,
                       const String& CtrlType, const String& CtrlVal)>;

// The text editor of every text kind (normal, numeric, float, case-changing, password, valid
// characters): the framework's editor with the cell's colour, font and alignment, a character filter per
// kind, the length limit, validated moves out of the cell, cursor walking, lookup completion and the
// clipboard events. The grid's CreateEditor makes it; the framework grid shows, moves and hides it.
class TAdvInplaceEdit : public TInplaceEdit {
    DECLARE_CLASS(TAdvInplaceEdit, TInplaceEdit)

public:
    explicit TAdvInplaceEdit(TComponent* AOwner);

    // The window is made right-aligned; setting it makes the window again.
    bool VAlign() const { return FValign; }
    void SetVAlign(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // The longest text typing and pasting may make; 0 or less is none. The grid's MaxEditLength sets it
    // when the window is made, when it takes the focus and when the grid's limit changes.
    SmallInt LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(SmallInt Value) { FLengthLimit = Value; }
    // Lookup completion is on (cleared by Backspace and Delete, set by any other key).
    bool Workmode = true;

protected:
    void WndProc(TMessage& Message) override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void BoundsChanged() override;
    void UpdateContents() override;
    void Dispatch(TMessage& message) override;
    void Change() override;
    void DblClick() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void CMWantSpecialKey(TMessage& Message) override;

private:
    TAdvStringGrid* Grid() const;
    // The cell's colour, font and alignment, and the application's editor set-up.
    void ApplyCellLooks();
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void WMKeyDown(TMessage& Message) override;
    void WMKeyUp(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMPaste(TMessage& Message);
    void WMCopyCut(TMessage& Message, bool Cut);
    // A key the character filter passes on to the edit (true) or drops.
    bool FilterChar(Char& Key);
    // The text left after the character filter let the key through: mixed case, automatic advance.
    void AfterChar(Char Key);
    void LookupComplete();
    // The caret (selection start) and the selection's length.
    Integer CaretPos();
    bool HasSelection();
    void SetCaret(Integer Pos);
    // Puts the text accepted by the last validation back after a refusal, with the caret at CaretAt
    // (the text's end when -1).
    void Restore(Integer CaretAt);
    bool CaretOnFirstLine();
    bool CaretOnLastLine();
    // Leaves the cell by cursor walking (Left or Right at the text's edge): true when the key is used.
    bool CursorWalk(bool Forward);
    void SizeWhileTypingStep();

    Integer FSelKeyDown = 0;   // caret position when the last key went down
    Integer FOldSelStart = 0;  // caret position when the last WM_KEYDOWN arrived
    SmallInt FLengthLimit = 0; // the grid's edit limit; 0 or less is none
    bool FValign = false;      // right-aligned text
    bool FWordWrap = false;    // taken from the grid when the window is made
    bool FGotFocus = false;    // focused since the last edit-done report
    Integer FColE = -1;        // the cell being edited (displayed column)
    Integer FRowE = -1;
    bool FAltBack = false;      // Alt+Backspace is held: losing the focus then ends nothing
    bool FLeavingRow = false;   // Up or Down leaves the row (WM_KEYDOWN step)
    bool FEnterRefused = false; // the validation refused the text at Enter's key-down
};
