// The look of one cell: which of the grid's defaults, fixed looks, per-cell properties, bands, automatic
// number colours, colour events, selection modes and disabled rows wins for its colours, font,
// alignment and word wrap. Painting, printing and measuring ask here, in one order.
#include <algorithm>
#include <cmath>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winuser.h"

namespace {

// The property font of a record applies where it says something.
void ApplyRecordFont(const TCellProperties* record, TFont* font) {
    if (record->FontColor() != clNone)
        font->SetColor(record->FontColor());
    if (!record->FontStyle().Empty())
        font->SetStyle(record->FontStyle());
    if (record->FontSize() != 0)
        font->SetSize(record->FontSize());
    if (!record->FontName().empty())
        font->SetName(record->FontName());
}

bool IsStyledLook(TGridLook look) {
    return look == glQEL || look == glXP || look == glVista || look == glWin7 || look == glOffice2007 ||
           look == glCustom;
}

} // namespace

// ---- Colour mixing

TColor TAdvStringGrid::BlendColorPercent(TColor Color1, TColor Color2, Integer Percent) {
    if (Percent >= 100)
        return Color1;
    if (Percent <= 0 || Color1 == clNone)
        return Color2;
    if (Color2 == clNone)
        return Color1;
    const COLORREF c1 = ColorToRGB(Color1);
    const COLORREF c2 = ColorToRGB(Color2);
    const double x = Percent / 100.0;
    auto channel = [&](int shift) {
        const double a = (c1 >> shift) & 0xFF;
        const double b = (c2 >> shift) & 0xFF;
        const long value = std::lrint(x * a + (1 - x) * b);
        return static_cast<TColor>(std::min<long>(value, 255)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

TColor TAdvStringGrid::SelectionBlendColor(TColor SelColor, TColor CellColor, bool Mixer, Integer Factor) {
    return Mixer ? BlendColorPercent(SelColor, CellColor, Factor) : SelColor;
}

// ---- Queries painting asks

bool TAdvStringGrid::IsFixed(Integer ACol, Integer ARow) {
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    const Integer col = DisplColIndex(base.X);
    if (base.Y >= RowCount() - FFixedFooters)
        return true;
    if (col >= ColCount() - FFixedRightCols && col <= ColCount() - 1)
        return true;
    bool fixed = false;
    GetIsFixedCell(col, base.Y, fixed);
    return fixed;
}

bool TAdvStringGrid::IsSelectionVisible() {
    if (!FShowSelection)
        return false;
    if (!FAutoHideSelection)
        return true;
    return HandleAllocated() && GetFocus() == WindowHandle();
}

bool TAdvStringGrid::CanShowFixedDropDown(Integer ACol) {
    bool canShow = true;
    if (OnCanShowFixedDropDown)
        OnCanShowFixedDropDown(this, ACol, canShow);
    return canShow;
}

// ---- The look

void TAdvStringGrid::ApplySelectionColors(TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                          TColor& AMirrorColorTo, TFont* AFont, bool Mixed) {
    if (Mixed && ABrush->Color() != Color())
        ABrush->SetColor(SelectionBlendColor(FSelectionColor, ABrush->Color(), FSelectionColorMixer,
                                             FSelectionColorMixerFactor));
    else
        ABrush->SetColor(FSelectionColor);
    AColorTo = FSelectionColorTo;
    AMirrorColor = FSelectionMirrorColor;
    AMirrorColorTo = FSelectionMirrorColorTo;
    if (FSelectionTextColor != clNone)
        AFont->SetColor(FSelectionTextColor);
}

void TAdvStringGrid::GetVisualProperties(Integer ACol, Integer ARow, TGridDrawState& AState, bool Print,
                                         bool Select, bool Remap, TBrush* ABrush, TColor& AColorTo,
                                         TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont,
                                         TAlignment& HA, TVAlignment& VA, bool& WW,
                                         TCellGradientDirection& GD) {
    const Integer fixedCols = FixedCols();
    const Integer fixedRows = FixedRows();
    const bool inFixedLines = ACol < fixedCols || ARow < fixedRows;
    if (Print && !FPrintSettings->UseDisplayFont())
        AFont->Assign(inFixedLines ? FPrintSettings->FixedFont() : FPrintSettings->Font());
    else
        AFont->Assign(inFixedLines ? FFixedFont.get() : Font());

    const Integer RCol = Remap ? RealColIndex(ACol) : ACol;
    const TMouseActions* mouse = FMouseActions.get();
    const Integer RRow = (mouse->DisjunctRowSelect() && mouse->RowSelectPersistent()) || FUseEnabledRows
                             ? RealRowIndex(ARow)
                             : ARow;

    ABrush->SetColor(clNone);
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;

    bool ownColor = false;
    if (const TCellProperties* record = AssignedProps(RCol, ARow)) {
        const TColor brush = record->BrushColor();
        switch (GetCellType(RCol, ARow)) {
        case ctNone:
        case ctRotated:
        case ctEmpty:
            if (brush != clNone) {
                ABrush->SetColor(brush);
                ownColor = true;
            }
            break;
        case ctCheckBox:
        case ctDataCheckBox:
        case ctRadio:
        case ctButton:
        case ctRadioButton:
            // A control cell without a colour of its own takes the grid's like a plain cell.
            ABrush->SetColor(brush);
            break;
        default:
            ABrush->SetColor(brush);
            break;
        }
        ApplyRecordFont(record, AFont);
        WW = record->WordWrap();
        AColorTo = record->BrushColorTo();
        GD = record->GradientDirection();
    }
    if (AState.Contains(gdSelected))
        GD = GradientVertical;

    const bool fixedCell = inFixedLines || IsFixed(ACol, ARow);
    if (ABrush->Color() == clNone) {
        ABrush->SetColor(Color());
        const TBands* bands = FBands.get();
        if (bands->Active() && (bands->Print() == Print || !Print) && ACol >= fixedCols &&
            ACol < ColCount() - FFixedRightCols + FNumHidden && ARow >= fixedRows &&
            ARow < RowCount() - FFixedFooters && bands->TotalLength() > 0)
            ABrush->SetColor((ARow - fixedRows) % bands->TotalLength() < bands->PrimaryLength()
                                 ? bands->PrimaryColor()
                                 : bands->SecondaryColor());
        if (inFixedLines || ACol >= ColCount() - FFixedRightCols || ARow >= RowCount() - FFixedFooters)
            ABrush->SetColor(FixedColor());
    }
    if (fixedCell && !ownColor) {
        if (!Print) {
            ABrush->SetColor(FixedColor());
            AFont->Assign(FFixedFont.get());
            AState.Include(gdFixed);
        }
        if (IsStyledLook(FLook)) {
            ABrush->SetColor(FQELGradFrom);
            AColorTo = FQELGradTo;
            AMirrorColor = FQELGradMirrorFrom;
            AMirrorColorTo = FQELGradMirrorTo;
        }
    }
    // FIXME: the filter-edit row's colour comes with the filter-edit settings.

    const TColorSetting* negative = FAutoColor->NegativeNumber();
    const TColorSetting* positive = FAutoColor->PositiveNumber();
    if (negative->TextColor() != clNone || negative->BkgColor() != clNone ||
        positive->TextColor() != clNone || positive->BkgColor() != clNone) {
        const String text = GetCellEx(RCol, ARow);
        const Integer kind = NumberTextKind(text);
        if (kind == NumberKindInteger || kind == NumberKindDecimal) {
            double value = 0;
            try {
                value = GetFloats(RCol, ARow);
            } catch (const Exception&) {
                // A text the reader does not take counts as 0, positive.
            }
            const TColorSetting* colours = value < 0 ? negative : positive;
            if (colours->TextColor() != clNone)
                AFont->SetColor(colours->TextColor());
            if (colours->BkgColor() != clNone)
                ABrush->SetColor(colours->BkgColor());
        }
    }

    if (Print)
        DoGetCellPrintColor(RCol, ARow, AState, ABrush, AFont);
    else
        GetCellColor(RCol, ARow, AState, ABrush, AFont);
    if (OnGetCellGradient) {
        TColor colour = ABrush->Color();
        OnGetCellGradient(this, ARow, RCol, colour, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(colour);
    }

    const TColor normalBrush = ABrush->Color();
    const TColor normalFont = AFont->Color();
    const bool visible = IsSelectionVisible();
    const bool normalCell = !fixedCell && ACol >= fixedCols && ARow >= fixedRows;
    // A button held down in the grid: the framework grid is selecting with the mouse.
    const bool mouseDown = GridState() == gsSelecting;

    if (Select && !Print && mouse->DisjunctRowSelect() && visible && normalCell) {
        const bool inSelection = GetRowSelect(RRow);
        bool shown = inSelection && (!mouseDown || ARow != Row());
        if (mouseDown && !inSelection && AState.Contains(gdSelected))
            shown = true;
        if (shown) {
            AState = TGridDrawState{gdSelected};
            ApplySelectionColors(ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont, true);
        } else {
            AState.Exclude(gdSelected);
        }
    }
    if (Select && !Print && mouse->DisjunctColSelect() && visible && normalCell) {
        const bool inSelection = GetColSelect(ACol);
        const bool shown = (inSelection && (!mouseDown || ACol != Col())) ||
                           (mouseDown && !inSelection && AState.Contains(gdSelected));
        if (shown)
            ApplySelectionColors(ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont, false);
    }
    if ((Select && !Print && visible && !fixedCell && !mouse->DisjunctRowSelect() &&
         !mouse->DisjunctColSelect() && IsSelected(ACol, ARow)) ||
        (AState.Contains(gdSelected) && mouseDown && visible)) {
        ApplySelectionColors(ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont, true);
        AState.Include(gdSelected);
    }
    if (mouse->DisjunctCellSelect() && visible) {
        if (FSelectedCells->HasValue(ARow * 65536 + ACol)) {
            ApplySelectionColors(ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AFont, false);
            AState.Include(gdSelected);
        } else if (ACol == Col() && ARow == Row()) {
            AState.Exclude(gdSelected);
            ABrush->SetColor(normalBrush);
            AFont->SetColor(normalFont);
        }
    }

    if (FUseDisabledFont && ((FUseEnabledRows && !GetRowEnabled(RRow)) || !Enabled()))
        AFont->SetColor(FDisabledFontColor);
    if (!Print && visible && ARow != Row() && mouse->DisjunctRowSelect() && FSelectionColorTo == clNone &&
        IsSelected(ACol, ARow))
        ABrush->SetColor(ChangeColorPercent(ABrush->Color(), -10));

    DoGetWordWrap(RCol, ARow, WW);
    ResolveCellAlignment(RCol, ARow, HA, VA);
}

void TAdvStringGrid::GetFontProperties(Integer ACol, Integer RCol, Integer ARow, TGridDrawState& AState,
                                       TFont* AFont, TBrush* ABrush, bool) {
    const bool fixed = ACol < FixedCols() || ARow < FixedRows() || IsFixed(ACol, ARow);
    AFont->Assign(fixed ? FFixedFont.get() : Font());
    if (const TCellProperties* record = AssignedProps(RCol, ARow))
        ApplyRecordFont(record, AFont);
    GetCellColor(RCol, ARow, AState, ABrush, AFont);
}

void TAdvStringGrid::ResolveCellAlignment(Integer ACol, Integer ARow, TAlignment& HA, TVAlignment& VA) {
    HA = FDefaultAlignment;
    VA = FVAlignment;
    bool formula = false;
    if (FAutoNumAlign) {
        String text = GetCellEx(ACol, ARow);
        if (!text.empty()) {
            formula = text[0] == u'=';
            const bool wideFormula =
                text.size() >= 4 && text[0] == u'|' && text[1] == u'\\' && text[3] == u'=';
            if (formula || wideFormula)
                GetSaveCellText(ACol, ARow, text);
            const Integer kind = NumberTextKind(Trim(text));
            if (kind == NumberKindInteger || kind == NumberKindDecimal || kind == NumberKindExponent)
                HA = taRightJustify;
        }
    }
    if (!formula)
        if (const TCellProperties* record = AssignedProps(ACol, ARow))
            HA = record->Alignment();
    GetCellAlignment(ACol, ARow, HA, VA);
}
