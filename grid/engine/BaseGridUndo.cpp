// Undo and redo of cell text changes: the history of changes and sequence markers, and stepping
// through it in both directions.
#include "grid/engine/BaseGrid.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TUndoRedoItem, PROPERTY(Value), PROPERTY(OrigValue), PROPERTY(Col), PROPERTY(Row),
             PROPERTY(SequenceStart), PROPERTY(SequenceStop))
DEFINE_CLASS(TUndoRedoCollection)
DEFINE_CLASS(ZOvoReziDoviRuzo, PROPERTY(MaxLevel).Default(0), EVENT(OnUndo), EVENT(OnRedo))

ZOvoReziDoviRuzo::ZOvoReziDoviRuzo(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>()) {}

ZOvoReziDoviRuzo::~ZOvoReziDoviRuzo() = default;

void ZOvoReziDoviRuzo::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && FGrid != nullptr && AComponent == FGrid)
        FGrid = nullptr;
    TComponent::Notification(AComponent, Operation);
}

void ZOvoReziDoviRuzo::DropUndone() {
    // Undone steps are replaced by what is recorded now; kept, a later undo would take them back a
    // second time and a redo would bring back an edit the user had undone and overwritten. Freed from
    // the end, each costs the same.
    while (FItems->Count() > FLevel)
        FItems->Delete(FItems->Count() - 1);
}

TUndoRedoItem* ZOvoReziDoviRuzo::Append() {
    DropUndone();
    TUndoRedoItem* item = FItems->Add();
    FLevel = FItems->Count();
    return item;
}

void ZOvoReziDoviRuzo::RegisterChange(Integer ACol, Integer ARow, const String& OldValue,
                                      const String& NewValue) {
    DropUndone();
    // The collection frees its first item without moving the others, so a full history costs the
    // same per change as an empty one.
    while (FMaxLevel > 0 && FItems->Count() >= FMaxLevel) {
        FItems->Delete(0);
        FLevel = FItems->Count();
    }
    TUndoRedoItem* item = Append();
    item->SetCol(ACol);
    item->SetRow(ARow);
    item->SetValue(NewValue);
    item->SetOrigValue(OldValue);
}

void ZOvoReziDoviRuzo::StartSequence() {
    Append()->SetSequenceStart(true);
}

void ZOvoReziDoviRuzo::StopSequence() {
    Append()->SetSequenceStop(true);
}

void ZOvoReziDoviRuzo::Reset() {
    FItems->Clear();
    FLevel = 0;
}

void ZOvoReziDoviRuzo::Apply(TUndoRedoItem* item, bool undo) {
    // A marker left without its partner is passed over: it names no cell.
    if (item->IsMarker())
        return;
    const String& text = undo ? item->OrigValue() : item->Value();
    const ZOvoReziDoviRuzoEvent& event = undo ? OnUndo : OnRedo;
    if (event)
        event(this, FGrid, item->Col(), item->Row(), FGrid->Cells(item->Col(), item->Row()), text);
    FGrid->SetCells(item->Col(), item->Row(), text);
    FGrid->SetCol(FGrid->DisplColIndex(item->Col()));
    FGrid->SetRow(item->Row());
}

void ZOvoReziDoviRuzo::Undo() {
    if (FGrid == nullptr || FLevel <= 0 || FLevel > FItems->Count())
        return;
    TUndoRedoItem* last = FItems->Items(FLevel - 1);
    if (last->SequenceStop()) {
        --FLevel;
        while (FLevel > 0 && !FItems->Items(FLevel - 1)->SequenceStart()) {
            Apply(FItems->Items(FLevel - 1), true);
            --FLevel;
        }
        // Past the start marker; a stop marker without one has run down to the first item.
        if (FLevel > 0)
            --FLevel;
        FGrid->Invalidate();
        return;
    }
    Apply(last, true);
    if (!last->IsMarker())
        FGrid->RepaintCell(FGrid->RealColIndex(FGrid->Col()), last->Row());
    --FLevel;
}

void ZOvoReziDoviRuzo::Redo() {
    if (FGrid == nullptr || FLevel < 0 || FLevel >= FItems->Count())
        return;
    TUndoRedoItem* next = FItems->Items(FLevel);
    ++FLevel;
    if (next->SequenceStart()) {
        // Through the stop marker, which then counts as in effect; a start marker without one applies
        // every item up to the last.
        while (FLevel < FItems->Count()) {
            TUndoRedoItem* item = FItems->Items(FLevel);
            ++FLevel;
            if (item->SequenceStop())
                break;
            Apply(item, false);
        }
        FGrid->Invalidate();
        return;
    }
    Apply(next, false);
    if (!next->IsMarker())
        FGrid->RepaintCell(FGrid->RealColIndex(FGrid->Col()), FGrid->Row());
}
