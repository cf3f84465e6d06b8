// The look of single cells and whole rows over the cells' property records, the controls laid over cells,
// zooming, the width of every stored column and the grid-wide settings kept beside them.
#include "grid/engine/AdvGrid.h"

#include <algorithm>

#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"

namespace {

// The highest stored column whose width the grid remembers.
constexpr Integer LastRememberedCol = VisibleColEntries - 1;

// The most zoom steps the grid takes either way.
constexpr Integer ZoomLimit = 20;

// The form SelectionToForm makes: it never takes the activation from the form the grid is on.
class TSelectionForm : public TForm {
public:
    explicit TSelectionForm(TComponent* owner) : TForm(owner, 0) {}

protected:
    void CreateParams(TCreateParams& params) override {
        TForm::CreateParams(params);
        params.ExStyle |= WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
    }
};

} // namespace

// ---- Single cells

TColor TAdvStringGrid::Colors(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->BrushColor() : clNone;
}

void TAdvStringGrid::SetColors(Integer i, Integer j, TColor Value) {
    GetCellProperties(i, j)->SetBrushColor(Value);
    RepaintUnlessUpdating(i, j);
}

TColor TAdvStringGrid::ColorsTo(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->BrushColorTo() : clNone;
}

void TAdvStringGrid::SetColorsTo(Integer i, Integer j, TColor Value) {
    GetCellProperties(i, j)->SetBrushColorTo(Value);
    RepaintCell(i, j);
}

TCellGradientDirection TAdvStringGrid::Gradients(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->GradientDirection() : GradientVertical;
}

void TAdvStringGrid::SetGradients(Integer i, Integer j, TCellGradientDirection Value) {
    GetCellProperties(i, j)->SetGradientDirection(Value);
    RepaintCell(i, j);
}

bool TAdvStringGrid::ReadOnly(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr && record->ReadOnly();
}

void TAdvStringGrid::SetReadOnly(Integer i, Integer j, bool Value) {
    GetCellProperties(i, j)->SetReadOnly(Value);
    RepaintUnlessUpdating(i, j);
}

bool TAdvStringGrid::WordWraps(Integer i, Integer j) {
    return GetCellProperties(i, j)->WordWrap();
}

void TAdvStringGrid::SetWordWraps(Integer i, Integer j, bool Value) {
    GetCellProperties(i, j)->SetWordWrap(Value);
    RepaintUnlessUpdating(i, j);
}

TColor TAdvStringGrid::FontColors(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->FontColor() : clNone;
}

void TAdvStringGrid::SetFontColors(Integer i, Integer j, TColor Value) {
    GetCellProperties(i, j)->SetFontColor(Value);
    RepaintUnlessUpdating(i, j);
}

TFontStyles TAdvStringGrid::FontStyles(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->FontStyle() : TFontStyles();
}

void TAdvStringGrid::SetFontStyles(Integer i, Integer j, TFontStyles Value) {
    GetCellProperties(i, j)->SetFontStyle(Value);
    RepaintUnlessUpdating(i, j);
}

String TAdvStringGrid::FontNames(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->FontName() : String();
}

void TAdvStringGrid::SetFontNames(Integer i, Integer j, const String& Value) {
    GetCellProperties(i, j)->SetFontName(Value);
    RepaintUnlessUpdating(i, j);
}

Integer TAdvStringGrid::FontSizes(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->FontSize() : 0;
}

void TAdvStringGrid::SetFontSizes(Integer i, Integer j, Integer Value) {
    GetCellProperties(i, j)->SetFontSize(Value);
    RepaintUnlessUpdating(i, j);
}

void TAdvStringGrid::SetCellFont(Integer i, Integer j, TFont* Value) {
    TCellProperties* record = GetCellProperties(i, j);
    record->SetFontName(Value->Name());
    record->SetFontSize(Value->Size());
    record->SetFontStyle(Value->Style());
    record->SetFontColor(Value->Color());
    RepaintUnlessUpdating(i, j);
}

TAlignment TAdvStringGrid::Alignments(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->Alignment() : taLeftJustify;
}

void TAdvStringGrid::SetAlignments(Integer i, Integer j, TAlignment Value) {
    GetCellProperties(i, j)->SetAlignment(Value);
    RepaintUnlessUpdating(i, j);
}

// ---- Row colours

bool TAdvStringGrid::HoldsOnlyDefaults(const TCellProperties* record, Integer c, Integer r, TFont* font,
                                       TBrush* brush) {
    if (record->CellObject() != 0 || GraphicObjectOf(record) != nullptr || record->Control() != nullptr ||
        record->CalcObject() != nullptr)
        return false;
    if (!record->IsBaseCell() || record->CellSpanX() != -1 || record->CellSpanY() != -1)
        return false;
    if (record->ReadOnly() || record->Editor() != edNormal || record->CalcType() != acNONE ||
        record->NodeLevel() != 0 || record->BorderWidth() != 0 || record->BorderColor() != 0 ||
        record->BrushStyle() != bsSolid)
        return false;
    TColor colorTo = clNone;
    TColor mirrorColor = clNone;
    TColor mirrorColorTo = clNone;
    TAlignment horzAlign = taLeftJustify;
    TVAlignment vertAlign = vtaTop;
    bool wordWrap = TBaseGrid::WordWrap();
    TCellGradientDirection direction = GradientVertical;
    GetCellDefaultProps(c, r, font, brush, colorTo, mirrorColor, mirrorColorTo, horzAlign, vertAlign,
                        wordWrap, direction);
    const auto defaultColour = [](TColor value, TColor initial) {
        return value == clNone || value == initial;
    };
    return defaultColour(record->BrushColor(), brush->Color()) &&
           defaultColour(record->BrushColorTo(), colorTo) &&
           defaultColour(record->FontColor(), font->Color()) && record->Alignment() == horzAlign &&
           record->VAlignment() == vertAlign && record->WordWrap() == wordWrap &&
           record->GradientDirection() == direction && record->FontName() == font->Name() &&
           record->FontSize() == font->Size() && record->FontStyle() == font->Style();
}

void TAdvStringGrid::SetRowColour(Integer j, TColor Value, void (TCellProperties::*set)(TColor)) {
    const Integer last = AllColCount() - 1;
    if (Value != clNone) {
        for (Integer i = FixedCols(); i <= last; ++i)
            (GetCellProperties(i, j)->*set)(Value);
        InvalidateRow(j);
        return;
    }
    TFont font;
    TBrush brush;
    for (Integer i = FixedCols(); i <= last; ++i) {
        TCellProperties* record = AssignedProps(i, j);
        if (record == nullptr)
            continue;
        (record->*set)(clNone);
        if (HoldsOnlyDefaults(record, i, j, &font, &brush))
            FreeCellPropertiesAt(i, j);
    }
    InvalidateRow(j);
}

void TAdvStringGrid::SetRowColor(Integer j, TColor Value) {
    SetRowColour(j, Value, &TCellProperties::SetBrushColor);
}

void TAdvStringGrid::SetRowColorTo(Integer j, TColor Value) {
    SetRowColour(j, Value, &TCellProperties::SetBrushColorTo);
}

void TAdvStringGrid::SetRowFontColor(Integer j, TColor Value) {
    SetRowColour(j, Value, &TCellProperties::SetFontColor);
}

// ---- Cell controls

TControl* TAdvStringGrid::CellControls(Integer i, Integer j) const {
    const TCellProperties* record = AssignedProps(i, j);
    return record != nullptr ? record->Control() : nullptr;
}

void TAdvStringGrid::SetCellControls(Integer i, Integer j, TControl* AControl) {
    // The list keeps controls by stored row, so that hiding rows above leaves the entries right.
    const Integer realRow = RealRowIndex(j);
    if (AControl == nullptr) {
        TCellProperties* record = AssignedProps(i, j);
        if (record == nullptr || record->Control() == nullptr)
            return;
        const Integer index = FControlList->ControlIndex(i, realRow);
        if (index >= 0)
            FControlList->RemoveControl(index);
        FNumCellControls = std::max(FNumCellControls - 1, 0);
        record->SetControl(nullptr);
        return;
    }
    TCellProperties* record = GetCellProperties(i, j);
    const Integer index = FControlList->ControlIndex(i, realRow);
    if (index >= 0)
        FControlList->RemoveControl(index);
    if (record->Control() == nullptr)
        ++FNumCellControls;
    FControlList->AddControl(i, realRow, AControl);
    record->SetControl(AControl);
    AControl->FreeNotification(this);
    AControl->SetParent(this);
    const TRect rect = CellRect(DisplColIndex(i), j);
    AControl->SetBounds(rect.Left - 1, rect.Top - 1, rect.Right - rect.Left + 1, rect.Bottom - rect.Top + 1);
}

void TAdvStringGrid::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove)
        EditLinkRemoved(AComponent);
    if (Operation == opRemove && AComponent == FCellChecker)
        FCellChecker = nullptr;
    if (Operation == opRemove && FControlList != nullptr) {
        for (Integer k = FControlList->Count() - 1; k >= 0; --k) {
            TControlItem* item = FControlList->Control(k);
            if (item->Control() != AComponent)
                continue;
            TCellProperties* record = nullptr;
            if (TStrings* items = HiddenRowItems(item->Y()))
                record = item->X() >= 0 && item->X() < items->Count()
                             ? dynamic_cast<TCellProperties*>(items->Objects(item->X()))
                             : nullptr;
            else
                record = AssignedProps(item->X(), DisplRowIndex(item->Y()));
            if (record != nullptr && record->Control() == AComponent) {
                record->SetControl(nullptr);
                FNumCellControls = std::max(FNumCellControls - 1, 0);
            }
            FControlList->RemoveControl(k);
        }
    }
    TBaseGrid::Notification(AComponent, Operation);
}

void TAdvStringGrid::CellControlsUpdate(bool rebuildlist) {
    if (!HandleAllocated())
        return;
    if (rebuildlist) {
        FControlList->Clear();
        ForEachObjectSlot(0, 0, TotalColCount() - 1, RowCount() - 1,
                          [&](Integer c, Integer r, TObject* slot) {
                              if (static_cast<TCellProperties*>(slot)->Control() != nullptr)
                                  FControlList->AddControl(c, RealRowIndex(r),
                                                           static_cast<TCellProperties*>(slot)->Control());
                          });
        // A hidden row keeps its controls in its own records.
        // Read without making the records' string lists.
        for (Integer k = 0; k < NumHiddenRows(); ++k) {
            const THiddenRow* hidden = HiddenRowItem(k);
            for (Integer c = 0; c < hidden->Count(); ++c)
                if (auto* record = dynamic_cast<TCellProperties*>(hidden->Objects(c)))
                    if (record->Control() != nullptr)
                        FControlList->AddControl(c, hidden->Idx(), record->Control());
        }
    }

    const Integer leftCol = LeftCol();
    const Integer topRow = TopRow();
    const Integer visibleCols = VisibleColCount();
    const Integer visibleRows = VisibleRowCount();
    if (FScrollBar != nullptr && FScrollBar->Visible()) {
        const Integer col = Col();
        const Integer row = Row();
        if (row < topRow || row >= topRow + visibleRows || col < leftCol || col >= leftCol + visibleCols) {
            FScrollBar->SetHeight(0);
        } else {
            const TRect rect = CellRect(col, row);
            const Integer width = FScrollBar->Width();
            FScrollBar->SetBounds(rect.Right - width, rect.Top, width, rect.Bottom - rect.Top);
        }
    }
    if (FNumCellControls == 0)
        return;

    for (Integer k = 0; k < FControlList->Count(); ++k) {
        TControlItem* item = FControlList->Control(k);
        TControl* control = item->Control();
        // A control in a hidden row or column has no cell to lie over.
        if (IsHiddenColumn(item->X()) || IsHiddenRow(item->Y())) {
            control->SetVisible(false);
            continue;
        }
        const Integer a = DisplColIndex(item->X());
        const Integer b = DisplRowIndex(item->Y());
        const TRect rect = CellRect(a, b);
        control->SetBounds(rect.Left - 1, rect.Top - 1, rect.Right - rect.Left + 1,
                           rect.Bottom - rect.Top + 1);
        const bool fixed = b < FixedRows() || a < FixedCols();
        const bool inView =
            a >= leftCol && a <= leftCol + visibleCols && b >= topRow && b <= topRow + visibleRows;
        control->SetVisible(fixed || inView);
        // A control that stays where it was would not lay itself out again: a width step there and back
        // makes it.
        if (inView && !fixed) {
            control->Invalidate();
            control->SetWidth(control->Width() + 1);
            control->SetWidth(control->Width() - 1);
        }
    }
}

// ---- Column widths

Integer TAdvStringGrid::AllColWidths(Integer i) {
    if (i < 0)
        return 0;
    if (IsHiddenColumn(i))
        return FAllColWidths[i];
    return ColWidths(DisplColIndex(i));
}

void TAdvStringGrid::SetAllColWidths(Integer i, Integer Value) {
    if (i < 0 || i > LastRememberedCol)
        return;
    FAllColWidths[i] = Value;
    if (IsHiddenColumn(i))
        return;
    const Integer displayed = DisplColIndex(i);
    if (displayed < ColCount())
        SetColWidths(displayed, Value);
}

// ---- Zoom

void TAdvStringGrid::Zoom(Integer x) {
    const Integer factor = FZoomFactor + x;
    if (factor > ZoomLimit || factor < -ZoomLimit)
        return;
    FScrollLock = true;
    FZoomFactor = factor;
    ++FUpdateCount;
    // Every line changes in one pass and the grid repaints once, however many rows it has.
    const auto zoomed = [x](Integer extent) { return extent > 0 && extent + x > 0 ? extent + x : extent; };
    ChangeColWidths(zoomed);
    ChangeRowHeights(zoomed);
    FScrollLock = false;
    --FUpdateCount;
    if (FScrollProportional && FScrollType != ssMetro) {
        UpdateVertScrollProportional();
        UpdateHorzScrollProportional();
    }
}

void TAdvStringGrid::InitOrigColSizes() {
    FOrigColSizes->Clear();
    for (Integer i = 0; i < ColCount(); ++i)
        FOrigColSizes->Add(ColWidths(i));
    FOldSize = Width();
}

// ---- A picture of a selection

TForm* TAdvStringGrid::SelectionToForm(const TGridRect& ARect) {
    TBitmap whole;
    whole.SetSize(Width(), Height());
    PaintTo(whole.Canvas()->Handle(), 0, 0);

    const TRect first = CalcCellRect(ARect.Left, ARect.Top);
    const TRect second = CalcCellRect(ARect.Right, ARect.Bottom);
    const Integer left = std::min(first.Left, second.Left);
    const Integer top = std::min(first.Top, second.Top);
    const Integer right = std::max(first.Right, second.Right);
    const Integer bottom = std::max(first.Bottom, second.Bottom);
    const Integer width = right - left + 1;
    const Integer height = bottom - top + 1;

    auto picture = std::make_unique<TBitmap>();
    picture->SetSize(width, height);
    TCanvas* canvas = picture->Canvas();
    canvas->CopyRect(TRect(0, 0, width, height), whole.Canvas(),
                     TRect(left + 1, top + 1, right + 2, bottom + 2));
    canvas->Pen()->SetColor(GridFixedLineColor());
    if (ARect.Left == 0 && FixedCols() > 0 && Options().Contains(goFixedHorzLine)) {
        canvas->MoveTo(0, 0);
        canvas->LineTo(0, height);
    }
    if (ARect.Top == 0 && FixedRows() > 0 && Options().Contains(goFixedVertLine)) {
        canvas->MoveTo(0, 0);
        canvas->LineTo(width, 0);
    }

    auto* form = new TSelectionForm(this);
    form->SetBorderStyle(bsNone);
    form->SetFormStyle(fsStayOnTop);
    form->SetClientWidth(width);
    form->SetClientHeight(height);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetAlign(alClient);
    image->Picture()->SetGraphic(picture.get());
    form->SetAlphaBlendValue(192);
    form->SetAlphaBlend(true);
    return form;
}

// ---- Grid-wide settings

String TAdvStringGrid::GetVersionString() const {
    const auto version = static_cast<unsigned>(GetVersionNr());
    return IntToStr(Integer(version >> 24)) + u"." + IntToStr(Integer((version >> 16) & 0xFF)) + u"." +
           IntToStr(Integer((version >> 8) & 0xFF)) + u"." + IntToStr(Integer(version & 0xFF)) +
           u" Oct, 2014";
}

void TAdvStringGrid::SetFormatType(TFormatType Value) {
    if (FFormatType == Value)
        return;
    FFormatType = Value;
    Invalidate();
}

void TAdvStringGrid::SetIntegralHeight(bool Value) {
    FIntegralHeight = Value;
    SetBounds(Left(), Top(), Width(), Height());
}

void TAdvStringGrid::SetCursor(TCursor Value) {
    TBaseGrid::SetCursor(Value);
    FOldCursor = Value;
}

void TAdvStringGrid::SetQELGradientFrom(TColor Value) {
    FQELGradFrom = static_cast<TColor>(ColorToRGB(Value));
    Invalidate();
}

void TAdvStringGrid::SetQELGradientTo(TColor Value) {
    FQELGradTo = static_cast<TColor>(ColorToRGB(Value));
    Invalidate();
}

void TAdvStringGrid::SetQELGradientMirrorFrom(TColor Value) {
    FQELGradMirrorFrom = static_cast<TColor>(ColorToRGB(Value));
    Invalidate();
}

void TAdvStringGrid::SetQELGradientMirrorTo(TColor Value) {
    FQELGradMirrorTo = static_cast<TColor>(ColorToRGB(Value));
    Invalidate();
}
