// The full string grid's per-cell queries: what painting, printing and editing ask about each cell,
// each answered from the grid's settings and then by its event; and the relays of the inner editors'
// notifications to the grid's events.
#include "grid/engine/AdvGrid.h"

#include "grid/engine/AdvUtil.h"
#include "platform/framework/ComCtrlsDates.h"
#include "platform/framework/Forms.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/winuser.h"

// ---- Events fired as they are

void TAdvStringGrid::DoCanEditCell(Integer ACol, Integer ARow, bool& CanEdit) {
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TAdvStringGrid::DoCanSort(Integer ACol, bool& DoSort) {
    if (OnCanSort)
        OnCanSort(this, ACol, DoSort);
}

void TAdvStringGrid::DoSearchFooterAction(const String& Value, Integer ACol, Integer ARow,
                                          TSearchAction SearchAction) {
    if (OnSearchFooterAction)
        OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TAdvStringGrid::DoButtonClick(Integer ACol, Integer ARow) {
    if (OnButtonClick)
        OnButtonClick(this, ACol, ARow);
}

void TAdvStringGrid::DoExpandClick(Integer ACol, Integer ARow, bool Expanded) {
    if (OnExpandClick)
        OnExpandClick(this, ACol, ARow, Expanded);
    if (ARow >= 0 && ARow < RowCount())
        SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

void TAdvStringGrid::DoGetCellPrintColor(Integer ACol, Integer ARow, TGridDrawState AState, TBrush* ABrush,
                                         TFont* AFont) {
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TAdvStringGrid::DoGetCellPrintBorder(Integer ACol, Integer ARow, TPen* APen, TCellBorders& Borders) {
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::DoGetFormat(Integer ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix) {
    if (OnGetFormat)
        OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TAdvStringGrid::DoGetEditorTypeFixed(Integer ACol, Integer ARow, TEditorType& AEditor) {
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TAdvStringGrid::DoGetEditorType(Integer ACol, Integer ARow, TEditorType& AEditor) {
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TAdvStringGrid::DoIsPasswordCell(Integer ACol, Integer ARow, bool& IsPassword) {
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TAdvStringGrid::DoGetWordWrap(Integer ACol, Integer ARow, bool& WordWrap) {
    if (OnGetWordWrap)
        OnGetWordWrap(this, ACol, ARow, WordWrap);
}

// ---- Cursor and hints

void TAdvStringGrid::DoGetCellCursor(Integer ACol, Integer ARow, Integer X, Integer Y) {
    if (!OnGetCellCursor)
        return;
    TCursor cursor = Screen()->Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, cursor);
    if (cursor != Cursor())
        ::SetCursor(Screen()->Cursors(cursor));
}

void TAdvStringGrid::DoGridHint(Integer ACol, Integer ARow, String& Hint, String& WideHint) {
    if (OnGridHint) {
        OnGridHint(this, ARow, ACol, Hint);
        FOfficeHint->Notes()->SetText(Hint);
    }
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHint);
        if (!WideHint.empty())
            Hint = EncodeWideText(WideHint);
    }
    if (OnOfficeHint)
        OnOfficeHint(this, ACol, ARow, FOfficeHint.get());
}

// ---- Look

namespace {

// The kinds of cell object over which the record's background still shows.
bool ShowsRecordBackground(TCellType type) {
    switch (type) {
    case ctIcon:
    case ctNone:
    case ctImageList:
    case ctCheckBox:
    case ctEmpty:
    case ctImages:
    case ctComment:
    case ctRadioButton:
        return true;
    default:
        return false;
    }
}

} // namespace

void TAdvStringGrid::GetCellColor(Integer ACol, Integer ARow, TGridDrawState AState, TBrush* ABrush,
                                  TFont* AFont) {
    if (FActiveCellShow) {
        // The last fixed column's cell of the current row and the last fixed row's cell of the current
        // column head the current cell.
        const Integer displayed = DisplColIndex(ACol);
        const bool rowHeader = ARow == Row() && displayed + 1 == FixedCols() && FixedCols() > 0;
        const bool colHeader = displayed == Col() && ARow + 1 == FixedRows() && FixedRows() > 0;
        if (rowHeader || colHeader) {
            AFont->Assign(FActiveCellFont.get());
            ABrush->SetColor(FActiveCellColor);
        }
    }
    if (const TCellProperties* record = AssignedProps(ACol, ARow)) {
        if (ShowsRecordBackground(GetCellType(ACol, ARow)) && record->BrushColor() != clNone)
            ABrush->SetColor(record->BrushColor());
        if (record->FontColor() != clNone)
            AFont->SetColor(record->FontColor());
        if (!record->FontStyle().Empty())
            AFont->SetStyle(record->FontStyle());
        if (record->FontSize() != 0)
            AFont->SetSize(record->FontSize());
        if (!record->FontName().empty())
            AFont->SetName(record->FontName());
    }
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TAdvStringGrid::GetCellBorder(Integer ACol, Integer ARow, TPen* APen, TCellBorders& Borders) {
    if (FGrouping->HeaderUnderline() && ACol > 0 && IsNode(ARow)) {
        Borders = TCellBorders{cbBottom};
        APen->SetColor(FGrouping->HeaderLineColor());
        APen->SetWidth(FGrouping->HeaderLineWidth());
    }
    if (FGrouping->SummaryLine() && ACol > 0 && IsSummary(ARow)) {
        Borders = TCellBorders{cbTop};
        APen->SetColor(FGrouping->SummaryLineColor());
        APen->SetWidth(FGrouping->SummaryLineWidth());
    }
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::GetCellAlignment(Integer ACol, Integer ARow, TAlignment& HAlign, TVAlignment& VAlign) {
    if (FMouseActions->HotmailRowSelect() && ACol == 0)
        HAlign = taCenter;
    if (OnGetAlignment)
        OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

TFont* TAdvStringGrid::GetCellFont(Integer ACol, Integer ARow) {
    const TCellProperties* record = AssignedProps(ACol, ARow);
    if (record == nullptr)
        return Font();
    cf->SetName(record->FontName());
    cf->SetSize(record->FontSize());
    cf->SetStyle(record->FontStyle());
    cf->SetColor(record->FontColor());
    return cf.get();
}

void TAdvStringGrid::GetCellDefaultProps(Integer ACol, Integer ARow, TFont* AFont, TBrush* ABrush,
                                         TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                                         TAlignment& HA, TVAlignment& VA, bool& WW,
                                         TCellGradientDirection& GD) {
    // The disabled font is a look of painting, not of the cell: a record made for a disabled row must
    // not keep it. The rule comes back however the call ends.
    struct DisabledFontOff {
        bool& flag;
        const bool saved;
        explicit DisabledFontOff(bool& f) : flag(f), saved(f) { flag = false; }
        ~DisabledFontOff() { flag = saved; }
    };
    {
        const DisabledFontOff off(FUseDisabledFont);
        TBaseGrid::GetCellDefaultProps(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, HA,
                                       VA, WW, GD);
    }
    // These cells take their background from the fixed look, the bands or the grid's gradient, never
    // from a record.
    const TBackGroundDisplay display = FBackGround->Display();
    if (IsFixed(ACol, ARow) || FBands->Active() || display == bdGradientHorz || display == bdGradientVert) {
        ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}

// ---- Editing

bool TAdvStringGrid::IsNoEditorCell(Integer ACol, Integer ARow) {
    if (!OnGetEditorType)
        return false;
    TEditorType editor = edNormal;
    DoGetEditorType(ACol, ARow, editor);
    return editor == edNone;
}

void TAdvStringGrid::GetIsFixedCell(Integer ACol, Integer ARow, bool& IsFixed) {
    IsFixed = IsFixed || (FFixedRowAlways && ARow <= FFixedRowsMin && RowCount() == FFixedRowsMin) ||
              (FFixedColAlways && ACol < FFixedColsMin && ColCount() == FFixedColsMin) ||
              ACol < FixedCols() || ARow < FixedRows();
    if (!IsFixed && OnIsFixedCell)
        OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TAdvStringGrid::CanEditCell(Integer ACol, Integer ARow, bool& CanEdit) {
    const TPoint base = BaseCell(ACol, ARow);
    const bool stored = base.X < ColCount() + NumHiddenColumns();
    const TCellProperties* record = AssignedProps(base.X, base.Y);
    if (record != nullptr && CanEdit) {
        CanEdit = !record->ReadOnly();
        if (!Options().Contains(goEditing) && !FEditDisable && !FMouseActions->RangeSelectAndEdit())
            CanEdit = false;
        if (stored)
            DoCanEditCell(base.X, base.Y, CanEdit);
        return;
    }
    if (stored)
        DoCanEditCell(base.X, base.Y, CanEdit);
    else
        CanEdit = true;
}

namespace {

bool IsComboEditor(TEditorType editor) {
    return editor == edComboEdit || editor == edComboList;
}

bool IsSpinEditor(TEditorType editor) {
    return editor == edSpinEdit || editor == edFloatSpinEdit || editor == edTimeSpinEdit ||
           editor == edDateSpinEdit;
}

} // namespace

bool TAdvStringGrid::HasComboBox(Integer ACol, Integer ARow, TEditorType Editor) {
    bool result = false;
    if (OnHasComboBox) {
        OnHasComboBox(this, ACol, ARow, result);
        return result;
    }
    if (!FControlLook->DropDownAlwaysVisible())
        return false;
    if (Editor == edNone) {
        Editor = FDefaultEditor;
        DoGetEditorType(ACol, ARow, Editor);
    }
    return IsComboEditor(Editor);
}

bool TAdvStringGrid::HasEditBtn(Integer ACol, Integer ARow, TEditorType Editor) {
    bool result = false;
    if (OnHasEditBtn) {
        OnHasEditBtn(this, ACol, ARow, result);
        return result;
    }
    if (!FControlLook->DropDownAlwaysVisible())
        return false;
    if (Editor == edNone) {
        Editor = FDefaultEditor;
        DoGetEditorType(ACol, ARow, Editor);
    }
    return Editor == edEditBtn;
}

bool TAdvStringGrid::HasSpinEdit(Integer ACol, Integer ARow, TEditorType Editor) {
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    bool result = false;
    if (OnHasSpinEdit) {
        OnHasSpinEdit(this, ACol, ARow, result);
        return result;
    }
    if (!FControlLook->SpinButtonsAlwaysVisible())
        return false;
    if (Editor == edNone) {
        Editor = FDefaultEditor;
        DoGetEditorTypeFixed(ACol, ARow, Editor);
    }
    return IsSpinEditor(Editor);
}

void TAdvStringGrid::GetCheckTrue(Integer ACol, Integer ARow, String& Value) {
    Value = FCheckTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, ACol, ARow, Value);
}

void TAdvStringGrid::GetCheckFalse(Integer ACol, Integer ARow, String& Value) {
    Value = FCheckFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, ACol, ARow, Value);
}

// ---- Relays of the inner editors

void TAdvStringGrid::DateTimePickerChange(TObject* Sender) {
    const auto* picker = dynamic_cast<TDateTimePicker*>(Sender);
    if (picker != nullptr && OnDateTimeChange)
        OnDateTimeChange(this, Col(), Row(), picker->DateTime());
}

void TAdvStringGrid::DatePickerChange(TObject* Sender) {
    const auto* picker = dynamic_cast<TDateTimePicker*>(Sender);
    if (picker == nullptr || !OnEditChange)
        return;
    const String value =
        picker->Kind() == dtkTime ? TimeToStr(picker->DateTime()) : DateToStr(picker->DateTime());
    OnEditChange(this, Col(), Row(), value);
}

void TAdvStringGrid::DatePickerCloseUp(TObject* Sender) {
    if (dynamic_cast<TDateTimePicker*>(Sender) == nullptr)
        return;
    if (OnDatePickerCloseUp)
        OnDatePickerCloseUp(this, Row(), Col());
    // The pick is the edit: closing the calendar ends the edit with the picked value.
    if (FMouseActions->DirectDateClose())
        HideInplaceEdit();
}

void TAdvStringGrid::DatePickerDropDown(TObject* Sender) {
    auto* picker = dynamic_cast<TDateTimePicker*>(Sender);
    if (picker == nullptr)
        return;
    if (picker->HandleAllocated()) {
        const auto calendar = reinterpret_cast<HWND>(SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0));
        RECT need{};
        if (calendar != nullptr &&
            SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need)))
            SetWindowPos(calendar, nullptr, 0, 0, need.right - need.left + 2, need.bottom - need.top + 2,
                         SWP_NOMOVE | SWP_NOZORDER);
    }
    if (OnDatePickerDropDown)
        OnDatePickerDropDown(this, Row(), Col());
}

void TAdvStringGrid::GridButtonClick(TObject* /*Sender*/) {
    if (OnButtonClick)
        OnButtonClick(this, Col(), Row());
}
