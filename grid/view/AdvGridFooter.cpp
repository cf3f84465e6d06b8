// The grid's floating footer: its settings, the column calculations it keeps in the last row, the panel
// that paints it, its template, hints and clicks.
#include "grid/view/AdvGridFooter.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/rtl/PropertyInfo.h"
#include "render/AsgHTMLE.h"

DEFINE_CLASS(TFloatingFooter, PROPERTY(CalculateHiddenRows).Default(true),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clBtnFace),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(Column).Default(0),
             PROPERTY(CustomTemplate), PROPERTY(FooterStyle).Default(fsFixedLastRow),
             PROPERTY(ShowHint).Default(false), PROPERTY(Visible).Default(false), EVENT(OnCalcFooter))
DEFINE_CLASS(TFooterPanel)

// ---- Settings

TFloatingFooter::TFloatingFooter(TComponent* AOwner) : FOwner(AOwner) {}

TAdvStringGrid* TFloatingFooter::Grid() const {
    return dynamic_cast<TAdvStringGrid*>(FOwner);
}

void TFloatingFooter::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TFloatingFooter*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FCalculateHiddenRows = source->FCalculateHiddenRows;
    FColor = source->FColor;
    FColumn = source->FColumn;
    FCustomTemplate = source->FCustomTemplate;
    FFooterStyle = source->FFooterStyle;
    SetVisible(source->FVisible);
    FShowHint = source->FShowHint;
}

void TFloatingFooter::UpdateExtraRow() {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr || grid->IsDesigning())
        return;
    if ((FFooterStyle == fsFixedLastRow || !FVisible) && FDidInc) {
        grid->SetRowCount(grid->RowCount() - 1);
        FDidInc = false;
    } else if (FFooterStyle != fsFixedLastRow && FVisible && !FDidInc) {
        grid->SetRowCount(grid->RowCount() + 1);
        FDidInc = true;
    }
}

void TFloatingFooter::SetVisible(bool Value) {
    if (FVisible == Value)
        return;
    FVisible = Value;
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    if (TFooterPanel* panel = grid->FooterPanel()) {
        panel->SetHeight(Value ? FHeight - 1 : 0);
        panel->SetVisible(Value);
    }
    grid->SetFixedFooters(Value && FFooterStyle == fsFixedLastRow ? 1 : 0);
    UpdateExtraRow();
    if (!grid->IsDesigning() && grid->FixedRows() > 0)
        grid->SetFixedRowAlways(true);
    grid->FHideLastRow = Value && FFooterStyle == fsFixedLastRow;
    grid->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value) {
    FFooterStyle = Value;
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    UpdateExtraRow();
    grid->FHideLastRow = FVisible;
    grid->Invalidate();
    Invalidate();
}

void TFloatingFooter::SetColor(TColor Value) {
    FColor = Value;
    Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor Value) {
    if (FBorderColor == Value)
        return;
    FBorderColor = Value;
    Invalidate();
}

void TFloatingFooter::SetColumn(Integer Value) {
    FColumn = Value;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const String& Value) {
    FCustomTemplate = Value;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value) {
    FShowHint = Value;
    if (TAdvStringGrid* grid = Grid(); grid != nullptr && grid->FooterPanel() != nullptr)
        grid->FooterPanel()->SetShowHint(Value);
}

void TFloatingFooter::SetHeight(Integer Value) {
    FHeight = Value;
    if (TAdvStringGrid* grid = Grid(); grid != nullptr && grid->FooterPanel() != nullptr && Value > 0)
        grid->FooterPanel()->SetHeight(Value - 1);
}

TColumnCalcType TFloatingFooter::ColumnCalc(Integer c) const {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr || grid->RowCount() == 0)
        return acNONE;
    if (const TCellProperties* record = grid->AssignedProps(c, grid->RowCount() - 1))
        return record->CalcType();
    return acNONE;
}

void TFloatingFooter::SetColumnCalc(Integer c, TColumnCalcType Value) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr || grid->RowCount() == 0)
        return;
    grid->GetCellProperties(c, grid->RowCount() - 1)->SetCalcType(Value);
    grid->CalcFooter(c);
}

void TFloatingFooter::Invalidate() {
    if (TAdvStringGrid* grid = Grid(); grid != nullptr && grid->FooterPanel() != nullptr)
        grid->FooterPanel()->Invalidate();
}

// ---- The grid's side

void TAdvStringGrid::CalcFooter(Integer ACol) {
    CalcFooterColumns(ACol);
}

void TAdvStringGrid::CalcFooterColumns(Integer ACol) {
    if (!FFloatingFooter->Visible() || FFloatingFooter->FooterStyle() != fsFixedLastRow ||
        !FFloatingFooter->EnableCalculation() || RowCount() == 0)
        return;
    const Integer first = ACol == -1 ? 0 : ACol;
    const Integer last = ACol == -1 ? AllColCount() - 1 : ACol;
    const Integer footerRow = RowCount() - 1;
    const Integer hidden = FFloatingFooter->CalculateHiddenRows() ? NumHiddenRows() : 0;
    const Integer toRow = RowCount() - 2 + hidden;
    for (Integer c = first; c <= last; ++c) {
        const TCellProperties* record = AssignedProps(c, footerRow);
        if (record == nullptr)
            continue;
        switch (record->CalcType()) {
        case acSUM:
            SetFloats(c, footerRow, ColumnSum(c, FixedRows(), toRow));
            break;
        case acAVG:
            SetFloats(c, footerRow, ColumnAvg(c, FixedRows(), toRow));
            break;
        case acMIN:
            SetFloats(c, footerRow, ColumnMin(c, FixedRows(), toRow));
            break;
        case acMAX:
            SetFloats(c, footerRow, ColumnMax(c, FixedRows(), toRow));
            break;
        case acDISTINCT:
            SetFloats(c, footerRow, ColumnDistinct(c, FixedRows(), toRow));
            break;
        case acSTDDEV:
            SetFloats(c, footerRow, ColumnStdDev(c, FixedRows(), toRow));
            break;
        case acCOUNT:
            SetInts(c, footerRow, RowCount() - FixedRows() - 1 + hidden);
            break;
        case acCUSTOM: {
            String value;
            if (OnCalcFooter) {
                OnCalcFooter(this, c, footerRow + hidden, value);
                SetCells(c, footerRow, value);
            } else if (FFloatingFooter->OnCalcFooter) {
                FFloatingFooter->OnCalcFooter(this, c, footerRow + hidden, value);
                SetCells(c, footerRow, value);
            } else {
                SetCells(c, footerRow, String());
            }
            break;
        }
        default:
            break;
        }
    }
}

void TAdvStringGrid::LastRowChanged() {
    TBaseGrid::LastRowChanged();
    UpdateFooter();
}

String ExpandFooterTemplate(TAdvStringGrid* Grid, const String& Template) {
    String result;
    size_t at = 0;
    for (;;) {
        const size_t open = Template.find(u"<#", at);
        if (open == String::npos)
            break;
        const size_t close = Template.find(u'>', open + 2);
        // A tag that is never closed is no tag: it stays as text with the rest.
        if (close == String::npos)
            break;
        result += Template.substr(at, open - at);
        Integer column = 0;
        if (TryStrToInt(Template.substr(open + 2, close - open - 2), column) && column >= 0 &&
            column < Grid->ColCount())
            result += Grid->Cells(column, Grid->Row());
        at = close + 1;
    }
    result += Template.substr(at);
    return result;
}

// ---- The panel

TFooterPanel::TFooterPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), FGrid(dynamic_cast<TAdvStringGrid*>(AOwner)) {
    if (FGrid == nullptr)
        throw EInvalidCast(u"Invalid class typecast");
    SetBevelOuter(bvNone);
}

void TFooterPanel::CreateWnd() {
    TCustomPanel::CreateWnd();
    TFloatingFooter* footer = FGrid->FloatingFooter();
    SetHeight(footer != nullptr && footer->Visible() ? footer->Height() : 0);
    if (FGrid->OnCreatedFloatingFooter)
        FGrid->OnCreatedFloatingFooter(FGrid);
}

Integer TFooterPanel::UsedWidth() {
    Integer width = 0;
    for (Integer c = 0; c < FGrid->FixedCols(); ++c)
        width += FGrid->ColWidths(c);
    for (Integer c = FGrid->LeftCol(); c < FGrid->ColCount(); ++c)
        width += FGrid->ColWidths(c);
    return width;
}

TRect TFooterPanel::Oriented(const TRect& rect) {
    if (!FGrid->UseRightToLeftAlignment())
        return rect;
    const Integer width = ClientWidth();
    return TRect(width - rect.Right, rect.Top, width - rect.Left, rect.Bottom);
}

void TFooterPanel::Paint() {
    TFloatingFooter* footer = FGrid->FloatingFooter();
    SetBiDiMode(FGrid->BiDiMode());
    const Integer used = UsedWidth();
    Integer right = Width();
    switch (footer->FooterStyle()) {
    case fsFixedLastRow:
        right = PaintFixedLastRow(used);
        break;
    case fsColumnPreview:
        right = PaintPreview(used, false);
        break;
    case fsCustomPreview:
        right = PaintPreview(used, true);
        break;
    case fsCustomPaint:
        if (FGrid->OnPaintFooter)
            FGrid->OnPaintFooter(FGrid, footer->Column(), Canvas(), ClientRect());
        right = ClientWidth();
        break;
    }
    if (footer->BorderColor() != clNone) {
        Canvas()->Pen()->SetColor(footer->BorderColor());
        Canvas()->MoveTo(0, 0);
        Canvas()->LineTo(right, 0);
    }
}

Integer TFooterPanel::PaintFixedLastRow(Integer usedWidth) {
    TFloatingFooter* footer = FGrid->FloatingFooter();
    TCanvas* canvas = Canvas();
    const Integer height = ClientHeight();
    canvas->Brush()->SetColor(footer->Color());
    canvas->FillRect(Oriented(TRect(0, 0, usedWidth, height)));
    canvas->Brush()->SetColor(FGrid->Color());
    canvas->FillRect(Oriented(TRect(usedWidth, 0, ClientWidth(), height)));

    const TGridOptions options = FGrid->Options();
    const bool vertLines = options.Contains(goFixedVertLine);
    const bool horzLines = options.Contains(goFixedHorzLine);
    const TGridLook look = FGrid->Look();
    const bool raised =
        (look == glSoft || look == glQEL || look == glXP || look == glVista) && !FGrid->Flat();
    const Integer footerRow = FGrid->RowCount() - 1;

    // The columns in drawing order: the fixed ones, then the scrolling ones from the left column on.
    auto forEachColumn = [&](auto paint) {
        Integer x = 0;
        for (Integer c = 0; c < FGrid->FixedCols(); ++c) {
            paint(c, x, true);
            x += FGrid->ColWidths(c);
        }
        for (Integer c = FGrid->LeftCol(); c < FGrid->ColCount() && x < ClientWidth(); ++c) {
            paint(c, x, false);
            x += FGrid->ColWidths(c);
        }
    };
    forEachColumn([&](Integer c, Integer x, bool fixed) {
        const Integer w = FGrid->ColWidths(c);
        if (vertLines && raised) {
            canvas->Pen()->SetColor(clWhite);
            const TRect line = Oriented(TRect(x, 0, x + 1, height));
            canvas->MoveTo(line.Left, 0);
            canvas->LineTo(line.Left, height);
        }
        if (horzLines) {
            canvas->Pen()->SetColor(FGrid->GridLineColor());
            const TRect line = Oriented(TRect(x, 0, x + w, 1));
            canvas->MoveTo(line.Left, 0);
            canvas->LineTo(line.Right, 0);
        }
        if (vertLines) {
            canvas->Pen()->SetColor(fixed || look == glVista ? FGrid->GridLineColor() : TColor(0x00808080));
            const TRect line = Oriented(TRect(x + w - 1, 0, x + w, height));
            canvas->MoveTo(line.Left, 0);
            canvas->LineTo(line.Left, height);
        }
    });

    const bool oldNoRTL = FGrid->FNoRTLOrientation;
    FGrid->FNoRTLOrientation = true;
    const Integer top = horzLines ? 1 : 0;
    Integer previousRight = -1;
    forEachColumn([&](Integer c, Integer x, bool fixed) {
        if (!FGrid->IsBaseCell(c, footerRow)) {
            previousRight = x + FGrid->ColWidths(c) - 1;
            return;
        }
        const TPoint span = FGrid->CellSpan(c, footerRow);
        Integer cellRight = x + FGrid->ColWidths(c) - 1;
        for (Integer k = 1; k <= span.X && c + k < FGrid->ColCount(); ++k)
            cellRight += FGrid->ColWidths(c + k);
        TRect rect(previousRight + 1, top, cellRight, height);
        if (horzLines && raised)
            rect.Left += 1;
        previousRight = cellRight;
        rect = Oriented(rect);
        if (fixed) {
            FGrid->DrawCellContent(canvas, c, footerRow, rect, TGridDrawState{gdFixed});
            return;
        }
        const Integer realCol = FGrid->RealColIndex(c);
        if (FGrid->OnGetCellColor) {
            canvas->Brush()->SetColor(clNone);
            FGrid->OnGetCellColor(FGrid, footerRow, realCol, TGridDrawState{gdFixed}, canvas->Brush(),
                                  canvas->Font());
            if (canvas->Brush()->Color() != clNone)
                canvas->FillRect(rect);
        }
        if (const TCellProperties* record = FGrid->AssignedProps(c, footerRow);
            record != nullptr && record->BrushColor() != clNone) {
            canvas->Brush()->SetColor(record->BrushColor());
            canvas->FillRect(rect);
        }
        if (FGrid->OnPaintFooter)
            FGrid->OnPaintFooter(FGrid, c, canvas, rect);
        else
            FGrid->DrawCellContent(canvas, c, footerRow, rect, TGridDrawState{gdFixed});
    });
    FGrid->FNoRTLOrientation = oldNoRTL;
    return usedWidth;
}

Integer TFooterPanel::PaintPreview(Integer usedWidth, bool customTemplate) {
    TFloatingFooter* footer = FGrid->FloatingFooter();
    TCanvas* canvas = Canvas();
    const Integer height = ClientHeight();
    const TRect area = Oriented(TRect(0, 0, usedWidth, height));
    canvas->Brush()->SetColor(footer->Color());
    canvas->FillRect(area);
    // A raised frame: light at the top and left, grey at the bottom and right.
    canvas->Pen()->SetColor(clWhite);
    canvas->MoveTo(area.Left, area.Bottom - 1);
    canvas->LineTo(area.Left, area.Top);
    canvas->LineTo(area.Right - 1, area.Top);
    canvas->Pen()->SetColor(0x00808080);
    canvas->LineTo(area.Right - 1, area.Bottom - 1);
    canvas->LineTo(area.Left, area.Bottom - 1);

    if (customTemplate) {
        TRect text = area;
        text.Top += 2;
        if (FGrid->IsDesigning())
            canvas->TextRect(text, text.Left, text.Top, footer->CustomTemplate());
        else
            PaintTemplate(ExpandFooterTemplate(FGrid, footer->CustomTemplate()), text);
    } else {
        const TColor oldSelectionText = FGrid->SelectionTextColor();
        const bool oldNoRTL = FGrid->FNoRTLOrientation;
        FGrid->FSelectionTextColor = 0;
        FGrid->FNoRTLOrientation = true;
        if (FGrid->OnPaintFooter)
            FGrid->OnPaintFooter(FGrid, footer->Column(), canvas, area);
        else
            FGrid->DrawCellContent(canvas, footer->Column(), FGrid->Row(), area, TGridDrawState());
        FGrid->FSelectionTextColor = oldSelectionText;
        FGrid->FNoRTLOrientation = oldNoRTL;
    }
    canvas->Brush()->SetColor(FGrid->Color());
    canvas->FillRect(Oriented(TRect(usedWidth, 0, ClientWidth(), height)));
    return usedWidth;
}

void TFooterPanel::PaintTemplate(const String& Text, const TRect& Rect) {
    THTMLRenderResult html;
    RenderMiniHTML(Canvas(), Text, Rect, FGrid->GridImages(), -1, -1, -1, -1, 1, false, false, false, false,
                   true, false, true, false, String(), 1.0, FGrid->URLColor(), clNone, clNone, 0x00808080,
                   html, FGrid->FImageCache.get(), nullptr, HandleAllocated() ? WindowHandle() : nullptr,
                   FGrid->BiDiMode());
}

Integer TFooterPanel::ColumnAt(Integer X) {
    Integer sum = 0;
    for (Integer c = 0; c < FGrid->FixedCols() && sum < X; ++c)
        sum += FGrid->ColWidths(c);
    Integer j = FGrid->LeftCol();
    if (sum >= X) {
        // The point lies in a fixed column: find which one.
        Integer left = 0;
        for (Integer c = 0; c < FGrid->FixedCols(); ++c) {
            left += FGrid->ColWidths(c);
            if (left >= X)
                return c;
        }
    }
    while (sum < X && j < FGrid->ColCount()) {
        sum += FGrid->ColWidths(j);
        ++j;
    }
    if (j >= FGrid->ColCount() && sum < X)
        return -1;
    return j > 0 ? j - 1 : -1;
}

void TFooterPanel::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TCustomPanel::MouseMove(Shift, X, Y);
    if (!ShowHint())
        return;
    const Integer column = ColumnAt(X);
    if (column != FLastHintX && FLastHintX >= 0) {
        Application->CancelHint();
        FLastHintX = column;
    }
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (FGrid->OnClick)
        FGrid->OnClick(FGrid);
    const Integer column = ColumnAt(X);
    if (column >= 0)
        FGrid->DoClickCell(FGrid->RowCount() - 1, column);
}

void TFooterPanel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_HINTSHOW: {
        auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
        POINT cursor{};
        GetCursorPos(&cursor);
        const TPoint client = ScreenToClient(TPoint(cursor.x, cursor.y));
        const Integer column = ColumnAt(client.X);
        if (column >= 0 && FGrid->OnGridHint && info != nullptr)
            FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, column, info->HintStr);
        FLastHintX = ShowHint() && column >= 0 ? column : -1;
        Message.Result = ShowHint() ? 0 : 1;
        return;
    }
    case CM_MOUSELEAVE:
        FLastHintX = -1;
        break;
    default:
        break;
    }
    TCustomPanel::Dispatch(Message);
}
