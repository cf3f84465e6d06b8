// Naming the modules and their data rows, and the coloured headers of the module grids.
#include "app/Main.h"

#include "app/RegHelpers.h"
#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

void TMain::ModulesListClick(TObject*) {
    const Integer index = ModulesList->ItemIndex();
    if (index >= 0 && index < ModulesList->Items()->Count())
        EditName->SetText(ModulesList->Items()->Strings(index));
}

void TMain::RenModuleClick(TObject*) {
    const Integer index = ModulesList->ItemIndex();
    // Nothing picked: nothing to rename.
    if (index < 0 || index >= ModulesList->Items()->Count())
        return;
    ModulesList->Items()->SetStrings(index, EditName->Text());
    for (int m = 1; m <= kModuleCount; ++m)
        WriteSetting(kModuleNamesKey, u"Module " + IntToStr(m) + u" name",
                     ModulesList->Items()->Strings(m - 1));
    for (int m = 1; m <= kModuleCount; ++m)
        Module(m).panel->Caption()->SetText(ModulesList->Items()->Strings(m - 1));
}

void TMain::PickDataName(int m) {
    const ModuleControls module = Module(m);
    const Integer index = module.dataNames->ItemIndex();
    if (index >= 0 && index < module.dataNames->Items()->Count())
        module.dataEdit->SetText(module.dataNames->Items()->Strings(index));
    PickedDataIndex[m - 1] = index;
}

void TMain::RenameData(int m) {
    const ModuleControls module = Module(m);
    const Integer index = module.dataNames->ItemIndex();
    // Nothing picked: nothing to rename.
    if (index < 0 || index >= module.dataNames->Items()->Count())
        return;
    data_cnt = index;
    const String text = module.dataEdit->Text();
    module.dataNames->Items()->SetStrings(data_cnt, text);
    const Integer row = PickedDataIndex[m - 1] + 1;
    TStringList* rowHeaders = module.data->RowHeaders();
    if (row < rowHeaders->Count())
        rowHeaders->SetStrings(row, text);
    TStringList* columnHeaders = module.log->ColumnHeaders();
    if (data_cnt + 2 < columnHeaders->Count())
        columnHeaders->SetStrings(data_cnt + 2, module.dataNames->Items()->Strings(data_cnt));
    WriteSetting(DataNamesKey(m), u"Data " + IntToStr(row), text);
}

void TMain::DrawHeaderCell(int m, Integer ACol, Integer ARow, TRect Rect) {
    if (ARow != 0 || (ACol != 0 && ACol != 1))
        return;
    TAdvStringGrid* grid = Module(m).data;
    String text = grid->Cells(ACol, ARow);
    grid->Canvas()->Font()->SetColor(Module(m).headerColor);
    Rect.Left += 2;
    Rect.Top += 2;
    Rect.Right -= 2;
    Rect.Bottom -= 2;
    grid->Canvas()->TextRect(Rect, text);
}

void TMain::Modul1DataNamesClick(TObject*) {
    PickDataName(1);
}
void TMain::Modul2DataNamesClick(TObject*) {
    PickDataName(2);
}
void TMain::Modul3DataNamesClick(TObject*) {
    PickDataName(3);
}
void TMain::Modul4DataNamesClick(TObject*) {
    PickDataName(4);
}
void TMain::Modul5DataNamesClick(TObject*) {
    PickDataName(5);
}
void TMain::RenData1Click(TObject*) {
    RenameData(1);
}
void TMain::RenData2Click(TObject*) {
    RenameData(2);
}
void TMain::RenData3Click(TObject*) {
    RenameData(3);
}
void TMain::RenData4Click(TObject*) {
    RenameData(4);
}
void TMain::RenData5Click(TObject*) {
    RenameData(5);
}
void TMain::Module1DataDrawCell(TObject*, Integer ACol, Integer ARow, TRect Rect, TGridDrawState) {
    DrawHeaderCell(1, ACol, ARow, Rect);
}
void TMain::Module2DataDrawCell(TObject*, Integer ACol, Integer ARow, TRect Rect, TGridDrawState) {
    DrawHeaderCell(2, ACol, ARow, Rect);
}
void TMain::Module3DataDrawCell(TObject*, Integer ACol, Integer ARow, TRect Rect, TGridDrawState) {
    DrawHeaderCell(3, ACol, ARow, Rect);
}
void TMain::Module4DataDrawCell(TObject*, Integer ACol, Integer ARow, TRect Rect, TGridDrawState) {
    DrawHeaderCell(4, ACol, ARow, Rect);
}
void TMain::Module5DataDrawCell(TObject*, Integer ACol, Integer ARow, TRect Rect, TGridDrawState) {
    DrawHeaderCell(5, ACol, ARow, Rect);
}
