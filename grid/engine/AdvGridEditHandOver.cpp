// Starting and ending in-place editing, the grid's follow-up of every scroll, the selection of single
// cells on key release, the refusal of column and row sizing, and the relays of editor events to grid
// events.
#include <algorithm>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"

namespace {

// A disjunct cell selection entry: the row in the high 16 bits, the column in the low.
Integer CellEntry(Integer ACol, Integer ARow) {
    return ARow * 65536 + ACol;
}

TGridRect Normalised(TGridRect rect) {
    if (rect.Left > rect.Right)
        std::swap(rect.Left, rect.Right);
    if (rect.Top > rect.Bottom)
        std::swap(rect.Top, rect.Bottom);
    return rect;
}

bool IsArrowKey(Word key) {
    return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN;
}

// The editors that move with the grid when it scrolls; any other is closed.
bool MovesWithScroll(TEditorType kind) {
    return kind == edNormal || kind == edCapital || kind == edLowerCase || kind == edUpperCase ||
           kind == edValidChars;
}

} // namespace

// ---- Starting and ending an edit

void TAdvStringGrid::ShowInplaceEdit() {
    if (IsClickControlCell(Col(), Row()))
        return;
    if (Row() < TopRow())
        SetTopRow(Row());
    if (Col() < LeftCol())
        SetLeftCol(Col());
    if (!Options().Contains(goEditing) && FMouseActions->RangeSelectAndEdit())
        SetOptions(Options() + TGridOptions{goEditing});
    FEditText = Cells(Col(), Row());
    // CanEditShow switches edit mode on when an editor of any kind starts.
    ShowEditor();
}

void TAdvStringGrid::HideInplaceEdit() {
    if (!FEditMode)
        return;
    HideEditor();
    EndCellEditor(Col(), Row());
    FEditMode = false;
    SelectCell(Col(), Row());
}

void TAdvStringGrid::EditDonePost(Integer ACol, Integer ARow) {
    const bool focusFrame = FFocusHelper->Enabled() && FFocusWindow != nullptr;
    if (focusFrame)
        FFocusWindow->SetVisible(false);
    if (OnEditingDone)
        OnEditingDone(this);
    if (focusFrame)
        UpdateFocusFrame();
    HideInplaceEdit();
    if (HandleAllocated() && WM_GRIDEDITDONE != 0)
        PostMessageW(WindowHandle(), WM_GRIDEDITDONE, static_cast<WPARAM>(ACol), static_cast<LPARAM>(ARow));
}

void TAdvStringGrid::DoneInplaceEdit(Word Key, TShiftState Shift) {
    FBlockFocus = true;
    FEditing = false;
    HideInplaceEdit();
    if (Key == VK_DOWN && FNavigation->AppendOnArrowDown() && Row() == RowCount() - FFixedFooters - 1)
        AppendAutoRow();
    if (Key == VK_TAB || IsArrowKey(Key)) {
        Word key = Key;
        KeyDown(key, Shift);
    }
    // The focus comes back without starting an editor; Enter then starts one in the next cell itself.
    const bool alwaysEdit = FNavigation->AlwaysEdit();
    FNavigation->SetAlwaysEdit(false);
    if (CanFocus())
        SetFocus();
    if (Key == VK_RETURN)
        AdvanceCell(Col(), Row(), false, false, true, true, false);
    FNavigation->SetAlwaysEdit(alwaysEdit);
    FBlockFocus = false;
}

void TAdvStringGrid::Select() {
    SelectCell(Col(), Row());
}

void TAdvStringGrid::OleColumnDragStart(Integer ACol, Integer AIndex, TCustomListBox* AList) {
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
}

void ClickGridCell(TAdvStringGrid* Grid, Integer ACol, Integer ARow) {
    const TRect r = Grid->CellRect(ACol, ARow);
    // The application's own mouse events do not hear a click the grid makes.
    struct Silence {
        TAdvStringGrid* grid;
        TMouseEvent down;
        TMouseEvent up;
        explicit Silence(TAdvStringGrid* g)
            : grid(g), down(std::move(g->OnMouseDown)), up(std::move(g->OnMouseUp)) {
            grid->OnMouseDown = nullptr;
            grid->OnMouseUp = nullptr;
            grid->FForceSel = true;
        }
        ~Silence() {
            grid->OnMouseDown = std::move(down);
            grid->OnMouseUp = std::move(up);
            grid->FForceSel = false;
        }
    } silence(Grid);
    Grid->TBaseGrid::MouseDown(mbLeft, TShiftState{}, r.Left + 2, r.Top + 2);
    Grid->TBaseGrid::MouseUp(mbLeft, TShiftState{}, r.Left + 2, r.Top + 2);
}

// ---- Edit links

void TAdvStringGrid::SetEditLink(TEditLink* Value) {
    if (FEditLinkControl != nullptr) {
        FEditLinkControl->WindowProc = std::move(FGridControlWndProc);
        FEditLinkControl->RemoveFreeNotification(this);
    }
    if (FEditLink != nullptr)
        FEditLink->RemoveFreeNotification(this);
    FEditLinkControl = nullptr;
    FGridControlWndProc = nullptr;
    FEditLink = Value;
    if (FEditLink == nullptr)
        return;
    FEditLink->FreeNotification(this);
    FEditLinkControl = FEditLink->GetEditControl();
    if (FEditLinkControl == nullptr)
        return;
    FEditLinkControl->FreeNotification(this);
    FGridControlWndProc = FEditLinkControl->WindowProc;
    FEditLinkControl->WindowProc = [this](TMessage& message) { EditLinkWndProc(message); };
}

void TAdvStringGrid::EditLinkWndProc(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE && Options().Contains(goTabs)) {
        Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        return;
    }
    if (FGridControlWndProc)
        FGridControlWndProc(Message);
}

void TAdvStringGrid::EditLinkRemoved(TComponent* AComponent) {
    if (AComponent == FEditLinkControl) {
        FEditLinkControl = nullptr;
        FGridControlWndProc = nullptr;
    }
    if (AComponent == FEditLink)
        SetEditLink(nullptr);
}

// ---- Scroll follow-up

void TAdvStringGrid::TopLeftChanged() {
    TBackGround& background = *FBackGround;
    const bool fixedPicture = background.Display() == bdFixed && !background.Bitmap()->Empty();
    // The cells a fixed picture covers at the present position; the cells it covered before are these
    // moved by the scroll.
    auto pictureCells = [&]() {
        TBitmap* picture = background.Bitmap();
        const TGridCoord first = MouseCoord(background.Left(), background.Top());
        const TGridCoord last =
            MouseCoord(background.Left() + picture->Width() - 1, background.Top() + picture->Height() - 1);
        return TGridRect{std::max(first.X, 0), std::max(first.Y, 0), last.X < 0 ? ColCount() - 1 : last.X,
                         last.Y < 0 ? RowCount() - 1 : last.Y};
    };

    TBaseGrid::TopLeftChanged();

    const TGridRect selection = Selection();
    if (FSelectionRectangle && selection.Bottom != selection.Top)
        Invalidate();
    if (fixedPicture) {
        const TGridRect now = pictureCells();
        const Integer dx = FOldLeftCol - LeftCol();
        const Integer dy = FOldTopRow - TopRow();
        InvalidateGridRect(TGridRect{now.Left - dx, now.Top - dy, now.Right - dx, now.Bottom - dy});
        InvalidateGridRect(now);
    } else if ((background.Display() == bdTile && !background.Bitmap()->Empty()) ||
               ((background.Display() == bdGradientHorz || background.Display() == bdGradientVert) &&
                background.ColorTo() != clNone)) {
        Invalidate();
    }

    if (FEditMode && !MovesWithScroll(FEditControlType))
        HideInplaceEdit();

    UpdateFlatScrollBars();
    if (FFloatingFooter->Visible())
        FFooterPanel->Invalidate();
    CellControlsUpdate(false);
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    if (IsDesigning())
        Invalidate();

    TStringGrid* other = FSyncGrid->Grid();
    if (other != nullptr && other != this) {
        auto* grid = dynamic_cast<TAdvStringGrid*>(other);
        if (FSyncGrid->ScrollVertical() && TopRow() < other->RowCount()) {
            if (grid != nullptr)
                grid->SetTopRow(TopRow());
            else
                other->SetTopRow(TopRow());
        }
        if (FSyncGrid->ScrollHorizontal() && LeftCol() < other->ColCount())
            other->SetLeftCol(LeftCol());
    }

    TInplaceEdit* editor = InplaceEditor();
    const bool cellVisible = Row() >= TopRow() && Row() < TopRow() + VisibleRowCount() + 1 &&
                             Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() + 1;
    if (FFocusHelper->Enabled() && cellVisible && editor != nullptr && editor->Visible())
        UpdateFocusFrame();
}

// ---- Key release

void TAdvStringGrid::KeyUp(Word& Key, TShiftState Shift) {
    switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
        SearchInc.clear();
        break;
    default:
        break;
    }
    const TGridRect noted = Normalised(Selection());
    const Word key = Key;
    TBaseGrid::KeyUp(Key, Shift);

    const bool tab = key == VK_TAB && Options().Contains(goTabs);
    if (FNavigation->AlwaysEdit() && (IsArrowKey(key) || tab) && !IsClickControlCell(Col(), Row()))
        ShowInplaceEdit();

    // The selection reported is remembered, so that a key that moves nothing reports nothing.
    const TGridRect selection = Normalised(Selection());
    if (!(selection == FMoveSelection) && (key == VK_TAB || IsArrowKey(key))) {
        DoSelectionChanged(selection.Left, selection.Top, selection.Right, selection.Bottom);
        FMoveSelection = selection;
    }

    const bool editing = Options().Contains(goEditing);
    if (!FMouseActions->DisjunctCellSelect() || editing)
        return;
    if (Shift.Contains(ssShift)) {
        for (Integer r = noted.Top; r <= noted.Bottom; ++r)
            for (Integer c = noted.Left; c <= noted.Right; ++c)
                FSelectedCells->DeleteValue(CellEntry(c, r));
        for (Integer r = selection.Top; r <= selection.Bottom; ++r)
            for (Integer c = selection.Left; c <= selection.Right; ++c)
                if ((c != Col() || r != Row()) && !FSelectedCells->HasValue(CellEntry(c, r)))
                    FSelectedCells->Add(CellEntry(c, r));
    }
    if (key != VK_SPACE)
        return;
    const TPoint base = BaseCell(Col(), Row());
    if (!IsFixed(base.X, base.Y)) {
        bool allow = true;
        if (OnSelectCell)
            OnSelectCell(this, base.X, base.Y, allow);
        if (allow) {
            const Integer entry = CellEntry(base.X, base.Y);
            auto repaintListed = [this] {
                for (Integer i = 0; i < FSelectedCells->Count(); ++i) {
                    const Integer listed = FSelectedCells->Items(i);
                    InvalidateCell(listed % 65536, listed / 65536);
                }
            };
            if (Shift.Contains(ssCtrl)) {
                if (FSelectedCells->HasValue(entry))
                    FSelectedCells->DeleteValue(entry);
                else
                    FSelectedCells->Add(entry);
            } else {
                repaintListed();
                FSelectedCells->Clear();
                FSelectedCells->Add(entry);
                if (selection.Left != selection.Right || selection.Top != selection.Bottom) {
                    for (Integer r = selection.Top; r <= selection.Bottom; ++r)
                        for (Integer c = selection.Left; c <= selection.Right; ++c)
                            if (CellEntry(c, r) != entry)
                                FSelectedCells->Add(CellEntry(c, r));
                    repaintListed();
                }
            }
        }
    }
    InvalidateCell(Col(), Row());
}

// ---- Column and row sizing

// OnColumnSize and OnRowSize are asked only when the mouse would start sizing, and may refuse it.
void TAdvStringGrid::CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index,
                                     Integer& SizingPos, Integer& SizingOfs, TGridDrawInfo& FixedInfo) {
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
    if (State == gsColSizing && OnColumnSize) {
        const TGridCoord cell = MouseCoord(X - 6, Y);
        if (cell.Y >= 0 && cell.Y < FixedRows() && cell.X >= 0) {
            bool allow = true;
            OnColumnSize(this, cell.X, allow);
            if (!allow)
                State = gsNormal;
        }
    }
    if (State == gsRowSizing && OnRowSize) {
        const TGridCoord cell = MouseCoord(X, Y - 6);
        if (cell.X >= 0 && cell.X < FixedCols()) {
            bool allow = true;
            OnRowSize(this, cell.Y, allow);
            if (!allow)
                State = gsNormal;
        }
    }
}

// ---- Editor relays

void TAdvStringGrid::DoEllipsClick(const String& Text, String& Result) {
    Result = Text;
    if (!OnEllipsClick)
        return;
    String s = Text;
    OnEllipsClick(this, RealColIndex(Col()), Row(), s);
    Result = s;
}

void TAdvStringGrid::DropDownHeaderButtonClick(Integer ButtonIndex) {
    if (OnDropDownHeaderButtonClick)
        OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void TAdvStringGrid::DropDownFooterButtonClick(Integer ButtonIndex) {
    if (OnDropDownFooterButtonClick)
        OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void TAdvStringGrid::MemoDropDownChange(TObject* Sender) {
    if (auto* memo = dynamic_cast<TControl*>(Sender))
        SetEditText(Col(), Row(), memo->Text());
}

void TAdvStringGrid::UnitEditChanged(TObject* /*Sender*/, const String& NewUnit) {
    if (OnUnitChanged)
        OnUnitChanged(this, Col(), Row(), NewUnit);
}
