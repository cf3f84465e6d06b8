// The grid's property setters that do more than the usual compare, store and repaint, and those of the
// selection look.
#include "grid/engine/AdvGrid.h"

#include <algorithm>

#include "platform/win32/windraw.h"

// ---- Compare, store and repaint

namespace {

template <typename T> void StoreAndRepaint(TAdvStringGrid* grid, T& field, T value) {
    if (field == value)
        return;
    field = value;
    grid->Invalidate();
}

} // namespace

void TAdvStringGrid::SetSelectionColor(TColor Value) {
    StoreAndRepaint(this, FSelectionColor, Value);
}

void TAdvStringGrid::SetSelectionColorTo(TColor Value) {
    StoreAndRepaint(this, FSelectionColorTo, Value);
}

void TAdvStringGrid::SetSelectionMirrorColor(TColor Value) {
    StoreAndRepaint(this, FSelectionMirrorColor, Value);
}

void TAdvStringGrid::SetSelectionMirrorColorTo(TColor Value) {
    StoreAndRepaint(this, FSelectionMirrorColorTo, Value);
}

void TAdvStringGrid::SetSelectionTextColor(TColor Value) {
    StoreAndRepaint(this, FSelectionTextColor, Value);
}

void TAdvStringGrid::SetSelectionColorMixer(bool Value) {
    StoreAndRepaint(this, FSelectionColorMixer, Value);
}

void TAdvStringGrid::SetSelectionRectangle(bool Value) {
    StoreAndRepaint(this, FSelectionRectangle, Value);
}

void TAdvStringGrid::SetSelectionResizer(bool Value) {
    StoreAndRepaint(this, FSelectionResizer, Value);
}

void TAdvStringGrid::SetDefaultAlignment(TAlignment Value) {
    StoreAndRepaint(this, FDefaultAlignment, Value);
}

// ---- Setters with more to do

// The comparison is with the value as written, so writing 150 over a stored 100 repaints again.
void TAdvStringGrid::SetSelectionColorMixerFactor(Integer Value) {
    if (Value == FSelectionColorMixerFactor)
        return;
    FSelectionColorMixerFactor = std::clamp(Value, 0, 100);
    Invalidate();
}

void TAdvStringGrid::SetShowSelection(bool Value) {
    if (Value == FShowSelection)
        return;
    FShowSelection = Value;
    FShowSel = Value;
    Invalidate();
}

void TAdvStringGrid::SetBorderColor(TColor Value) {
    if (Value == FBorderColor)
        return;
    FBorderColor = Value;
    // FIXME: the view redraws the border of the styled looks when the parent has a window.
}

void TAdvStringGrid::SetMaxEditLength(Integer Value) {
    FMaxEditLength = Value;
    // An open editor takes the new limit at once, its window's own limit too, so that a raised limit
    // lets the typing go on.
    if (auto* editor = dynamic_cast<TAdvInplaceEdit*>(InplaceEditor())) {
        editor->SetLengthLimit(static_cast<SmallInt>(Value));
        editor->SetMaxLength(Value);
    }
}

// Both values anchor the grid on all four sides; forms stored with SizeWithForm false rely on it.
void TAdvStringGrid::SetSizeWithForm(bool Value) {
    if (Value == FSizeWithForm)
        return;
    FSizeWithForm = Value;
    SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
}

// Both values turn the spreadsheet behaviour on; nothing turns it off again. Stored forms rely on it.
void TAdvStringGrid::SetSpreadSheet(bool Value) {
    FSpreadSheet = Value;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    FNavigation->SetAllowSmartClipboard(true);
    TGridOptions options = Options();
    options.Include(goRangeSelect);
    options.Include(goEditing);
    SetOptions(options);
    FMouseActions->SetRangeSelectAndEdit(true);
}

void TAdvStringGrid::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
    switch (Value) {
    case vtaTop:
        FVAlign = DT_TOP;
        break;
    case vtaCenter:
        FVAlign = DT_VCENTER;
        break;
    case vtaBottom:
        FVAlign = DT_BOTTOM;
        break;
    }
    if (FUpdateCount == 0)
        Invalidate();
}

void TAdvStringGrid::SetAutoSize(bool Value) {
    FAutoSize = Value;
    // Text is measured on the canvas, which needs the window of a parent.
    if (Value && !ComponentState().Contains(csLoading) && Parent() != nullptr)
        AutoSizeColumns(false, 10);
}

void TAdvStringGrid::SetFlat(bool Value) {
    FFlat = Value;
    if (!ComponentState().Contains(csLoading))
        Invalidate();
}
