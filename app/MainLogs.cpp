// The module logs: the log tick, the interval, picking a log, and opening, saving, printing, exporting
// and clearing the picked log.
#include "app/Main.h"

#include "app/RegHelpers.h"
#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileUtils.h"

namespace {

// The last row of a loaded log that holds any text (0 when only the header does): the rows below it
// are the empty row that logging keeps at the end.
Integer LastFilledRow(TAdvStringGrid* log) {
    for (Integer r = log->RowCount() - 1; r >= log->FixedRows(); --r)
        for (Integer c = 0; c < log->ColCount(); ++c)
            if (!log->Cells(c, r).empty())
                return r;
    return 0;
}

} // namespace

void TMain::MeasureTimerTimer(TObject*) {
    const String date = DateToStr(Date());
    const String time = TimeToStr(Time());
    for (int m = 1; m <= kModuleCount; ++m) {
        if (!Modules->Checked(m - 1))
            continue;
        const ModuleControls module = Module(m);
        const Integer r = ++*module.logCounter;
        // A log loaded from a file written elsewhere may end on a filled row; the new row is made first.
        if (r >= module.log->RowCount())
            module.log->SetRowCount(r + 1);
        module.log->SetCells(0, r, date);
        module.log->SetCells(1, r, time);
        for (Integer c = 2; c <= kLoggedValues + 1; ++c)
            module.log->SetCells(c, r, module.data->Cells(1, c - 1));
        module.log->AddRow();
    }
}

void TMain::TimingChange(TObject*) {
    WriteSetting(kMainKey, u"Timing", Timing->Text());
    ApplyTiming(Timing->Text());
}

void TMain::LogsClick(TObject*) {
    const Integer index = Logs->ItemIndex();
    for (int m = 1; m <= kModuleCount; ++m)
        Module(m).log->SetVisible(m - 1 == index);
    const String name =
        index >= 0 && index < ModulesList->Items()->Count() ? ModulesList->Items()->Strings(index) : String();
    LogsPanel->Caption()->SetText(name + u" - log file");
    WriteSetting(kLogsKey, u"Log number ", IntToStr(index));
}

void TMain::OpenClick(TObject*) {
    if (!OpenDialog1->Execute())
        return;
    if (!FileExists(OpenDialog1->FileName()))
        throw Exception(u"File does not exist.");
    TAdvStringGrid* log = PickedLog();
    if (log == nullptr)
        return;
    log->LoadFromFile(OpenDialog1->FileName());
    // The loaded rows are kept: the next tick appends after the last of them.
    LogCounter(Logs->ItemIndex() + 1) = LastFilledRow(log);
}

void TMain::SaveAsClick(TObject*) {
    if (!SaveDialog1->Execute())
        return;
    if (TAdvStringGrid* log = PickedLog())
        log->SaveToFile(SaveDialog1->FileName(), true);
}

void TMain::SaveClick(TObject*) {
    // The file of the last "Save as", without asking; empty before the first one.
    if (TAdvStringGrid* log = PickedLog())
        log->SaveToFile(SaveDialog1->FileName(), true);
}

void TMain::PrintClick(TObject*) {
    if (!PrintDialog1->Execute())
        return;
    TAdvStringGrid* log = PickedLog();
    if (log == nullptr)
        return;
    log->Print();
}

void TMain::ExportClick(TObject*) {
    if (!SaveDialog2->Execute())
        return;
    TAdvStringGrid* log = PickedLog();
    if (log == nullptr)
        return;
    log->SaveToXLS(SaveDialog2->FileName(), true);
}

void TMain::ClrLogClick(TObject*) {
    TAdvStringGrid* log = PickedLog();
    if (log == nullptr)
        return;
    log->ClearNormalCells();
    log->SetRowCount(2);
    LogCounter(Logs->ItemIndex() + 1) = 0;
}
