// The small overridable steps through which the grid tells of fixed-cell edits, filter drop-downs and
// automatic row inserts and deletes, and the choice of a filter type from the filter row's menu.
#include "grid/engine/AdvGrid.h"

// ---- Notification hooks

void TAdvStringGrid::DoFixedEdit(Integer ACol, Integer ARow, TGridFixedCellEditor& AEditor,
                                 TStrings* Values) {
    if (OnFixedEdit)
        OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void TAdvStringGrid::InsertRowAuto(Integer ARow) {
    if (!HasNodes()) {
        InsertRows(ARow, 1);
        return;
    }
    if (GetParentRow(ARow) == -1)
        InsertNormalRow(ARow);
    else
        InsertChildRow(ARow, 0);
}

void TAdvStringGrid::DeleteRowAuto(Integer ARow) {
    if (HasNodes()) {
        if (GetParentRow(ARow) == -1)
            RemoveNormalRow(ARow);
        else
            RemoveChildRow(ARow);
    } else {
        const Integer footerRows = FFloatingFooter->Visible() ? 1 : 0;
        // The last data row is emptied rather than removed, so the grid keeps a row to type into.
        if (RowCount() - FixedRows() - footerRows == 1 && !FFixedRowAlways)
            ClearRows(ARow, 1);
        else
            RemoveRows(ARow, 1);
    }
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, ARow);
}

void TAdvStringGrid::DoFilterShow(Integer ACol, bool& Allow) {
    if (OnFilterShow)
        OnFilterShow(this, ACol, Allow);
}

void TAdvStringGrid::DoFilterClose(Integer ACol) {
    if (OnFilterClose)
        OnFilterClose(this, ACol);
}

// ---- Filter-type choice

void TAdvStringGrid::ApplyFilterEditType(Integer ACol, TFilterType AType) {
    SetFilterActive(false);
    const Integer editRow = FFilterEdit->Row();
    if (AType == ftClear) {
        SetCells(ACol, editRow, String());
        AType = ftContains;
    }
    TFilterData* condition = nullptr;
    for (Integer i = 0; i < FFilter->Count(); ++i)
        if (FFilter->Items(i)->Column() == ACol) {
            condition = FFilter->Items(i);
            break;
        }
    if (condition == nullptr) {
        condition = FFilter->Add();
        condition->SetFilterType(ftContains);
    }
    condition->SetColumn(ACol);
    if (AType != ftNone)
        condition->SetFilterType(AType);
    const String text = Cells(ACol, editRow);
    condition->BuildCondition(text);
    condition->SetEnabled(!text.empty());
    DoFilterEditUpdate(ACol, text, condition->FilterType());
    SetFilterActive(true);
    RepaintRow(0);
    DoFilterDone();
}

void TAdvStringGrid::FilterTypeMenuClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (item == nullptr)
        return;
    ApplyFilterEditType(static_cast<Integer>(FFltrPopup->Tag()), static_cast<TFilterType>(item->Tag()));
}
