// The framework's edit controls on the system's EDIT window class: TCustomEdit/TEdit (one line) and
// TCustomMemo/TMemo (several lines, with Lines as a string list over the window's text).
#pragma once

#include <memory>

#include "platform/framework/Controls.h"
#include "platform/rtl/Strings.h"

ZELMOR_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
ZELMOR_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
ZELMOR_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

// ---- TCustomEdit ----
// Every property is kept in the window while there is one (read back through EM_* messages) and in
// fields otherwise, so it survives RecreateWnd.
class TCustomEdit : public TWinControl {
    DECLARE_CLASS(TCustomEdit, TWinControl)

public:
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    // 0 is no limit (the window's own, which is large).
    Integer MaxLength() const { return FMaxLength; }
    void SetMaxLength(Integer value);
    // Whether the user changed the text since it was last set (or since SetModified(false)).
    bool Modified();
    void SetModified(bool value);
    Char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(Char value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

    // The selection, in characters from 0; all 0 without a window.
    Integer SelStart();
    void SetSelStart(Integer value);
    Integer SelLength();
    void SetSelLength(Integer value);
    String SelText();
    // Replaces the selection and marks the text modified; the replacement cannot be undone.
    void SetSelText(const String& value);
    void SelectAll();
    void ClearSelection();
    void Clear();
    bool CanUndo();
    void Undo();
    void ClearUndo();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    // Fires OnChange; the window's EN_CHANGE calls it, and setting Text without a window.
    virtual void Change();
    // With AutoSize and a single border the height follows the font: its cell height plus the border.
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void CMEnter(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void WMContextMenu(TMessage& message) override;
    virtual void CNCommand(TMessage& message);
    bool IsMultiLine() const;

private:
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = bsSingle;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    Integer FMaxLength = 0;
    bool FModified = false;
    Char FPasswordChar = 0;
    bool FReadOnly = false;
    bool FCreating = false; // the window's EN_CHANGE while it is made is no change of the user's
};

class TEdit : public TCustomEdit {
    DECLARE_CLASS(TEdit, TCustomEdit)

public:
    using TCustomEdit::TCustomEdit;
};

// ---- TCustomMemo ----
class TCustomMemo : public TCustomEdit {
    DECLARE_CLASS(TCustomMemo, TCustomEdit)

public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    // The lines of the window's text; reading or changing them makes the window.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* value) { FLines->Assign(value); }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // The caret as (column, line), both from 0; setting it empties the selection.
    TPoint CaretPos();
    void SetCaretPos(const TPoint& value);

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void KeyPress(Char& key) override;

private:
    std::unique_ptr<TStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWantReturns = true;
    bool FWantTabs = false;
    bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
    DECLARE_CLASS(TMemo, TCustomMemo)

public:
    using TCustomMemo::TCustomMemo;
};
