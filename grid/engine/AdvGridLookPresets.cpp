// The look presets and their names, the link settings, and the grid's small services: print layout
// accessors, header repaints, change handlers, the footer panel and thin scroll controls, and the
// dispatchers of a few events.
#include "grid/engine/AdvGrid.h"

// ---- Look names

namespace {

struct TLookName {
    const Char* ident;
    const Char* display;
};

// Indexed by TGridLook up to glOffice2007; glCustom has no names.
constexpr TLookName LookNames[] = {
    {u"glStandard", u"Standard"},     {u"glSoft", u"Soft"},
    {u"glClassic", u"Classic"},       {u"glQEL", u"QEL"},
    {u"glXP", u"Windows XP"},         {u"glListView", u"ListView"},
    {u"glVista", u"Windows Vista"},   {u"glWin7", u"Windows 7"},
    {u"glOffice2007", u"Office2007"},
};

const TLookName* LookName(TGridLook Value) {
    const auto index = static_cast<size_t>(Value);
    return index < std::size(LookNames) ? &LookNames[index] : nullptr;
}

constexpr TColor White = 0x00FFFFFF;
constexpr TColor Grey = 0x00808080;
constexpr TColor Silver = 0x00C0C0C0;
constexpr TColor Black = 0;

} // namespace

void LookToIdent(TGridLook Value, String& Text) {
    if (const TLookName* name = LookName(Value))
        Text = name->ident;
}

void LookToDisplayName(TGridLook Value, String& Text) {
    if (const TLookName* name = LookName(Value))
        Text = name->display;
}

// ---- Look presets

void TAdvStringGrid::SetLook(TGridLook Value) {
    if (Value == FLook)
        return;
    FLook = Value;
    const bool loading = ComponentState().Contains(csLoading);
    if (Value != glCustom) {
        FControlLook->SetFixedGradientMirrorFrom(clNone);
        FControlLook->SetFixedGradientMirrorTo(clNone);
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
        SetQELGradientFrom(clNone);
        SetQELGradientTo(clNone);
        SetQELGradientMirrorFrom(clNone);
        SetQELGradientMirrorTo(clNone);
        FSortSettings->SetHeaderColor(clNone);
    }
    switch (Value) {
    case glVista:
        SetStyle(gsWindowsVista);
        FStyle = tsWindowsVista;
        SetSelectionStyle(ssVista);
        break;
    case glWin7:
        SetStyle(gsWindows7);
        FStyle = tsWindows7;
        SetSelectionStyle(ssWin7);
        break;
    case glOffice2007:
        SetStyle(gsOffice2007Luna);
        FStyle = tsOffice2007Luna;
        SetSelectionStyle(ssOffice2007);
        break;
    case glCustom:
        break;
    default:
        if (!IsDesigning())
            ApplyStyleToEditors(tsWindowsXP);
        SetSelectionStyle(ssDefault);
        // A stored description brings its own colours.
        if (!loading)
            ApplyPlainLookColours(Value);
        break;
    }
    SetScrollType(ssNormal);
    if (Value != glCustom)
        SetBorderColor(0x00B99D7F);
    Invalidate();
    if (!loading)
        UpdateFooter();
}

void TAdvStringGrid::ApplyPlainLookColours(TGridLook Value) {
    const bool qelOrXP = Value == glQEL || Value == glXP;
    if (Value == glStandard || Value == glSoft || Value == glClassic) {
        SetFixedColor(clBtnFace);
        FControlLook->SetFixedGradientFrom(clBtnFace);
        FControlLook->SetFixedGradientTo(clNone);
    } else {
        FControlLook->SetFixedGradientFrom(White);
        FControlLook->SetFixedGradientTo(clBtnFace);
    }
    SetGridFixedLineColor(Grey);
    FControlLook->SetFixedGradientMirrorFrom(clNone);
    FControlLook->SetFixedGradientMirrorTo(clNone);
    SetQELGradientMirrorFrom(clNone);
    SetQELGradientMirrorTo(clNone);
    SetGridLineColor(Silver);

    if (qelOrXP) {
        SetActiveCellColor(0x00EACAB6);
        SetActiveCellColorTo(clNone);
        SetSelectionColor(0x00EACAB6);
        SetSelectionColorTo(clNone);
        SetSelectionTextColor(Black);
        // The search footer takes the gradient the fixed cells had before the look's own below.
        FSearchFooter->SetColor(QELGradientFrom());
        FSearchFooter->SetColorTo(QELGradientTo());
        FControlLook->SetFixedGradientFrom(White);
        FControlLook->SetFixedGradientTo(Value == glXP ? clBtnFace : Silver);
        FControlLook->SetFixedGradientHoverFrom(0x00CFD0D1);
        FControlLook->SetFixedGradientHoverTo(0x00BEC6C8);
        FControlLook->SetFixedGradientHoverMirrorFrom(0x00BEC6C8);
        FControlLook->SetFixedGradientHoverMirrorTo(0x00ABBCBF);
        FControlLook->SetFixedGradientDownFrom(0x00868788);
        FControlLook->SetFixedGradientDownTo(0x00737C7E);
        FControlLook->SetFixedGradientDownMirrorFrom(0x00737C7E);
        FControlLook->SetFixedGradientDownMirrorTo(0x00627376);
    } else {
        SetActiveCellColor(Grey);
        SetActiveCellColorTo(clNone);
        SetSelectionColor(clHighlight);
        SetSelectionTextColor(clHighlightText);
        FSearchFooter->SetColor(clBtnFace);
        FSearchFooter->SetColorTo(clBtnFace);
    }
}

void TAdvStringGrid::ApplyStyleToEditors(TQELStyle /*AStyle*/) {}

// ---- Link settings

void TAdvStringGrid::SetURLShow(bool Value) {
    if (FURLShow == Value)
        return;
    FURLShow = Value;
    Invalidate();
}

void TAdvStringGrid::SetURLShowInText(bool Value) {
    if (FURLShowInText == Value)
        return;
    FURLShowInText = Value;
    Invalidate();
}

void TAdvStringGrid::SetURLFull(bool Value) {
    FURLFull = Value;
    if (FURLShow)
        Invalidate();
}

void TAdvStringGrid::SetURLColor(TColor Value) {
    if (FURLColor == Value)
        return;
    FURLColor = Value;
    if (FURLShow)
        Invalidate();
}

void TAdvStringGrid::SetLookupItems(TStrings* Value) {
    if (Value != nullptr)
        FLookupItems->Assign(Value);
}

String TAdvStringGrid::Version() const {
    const auto version = static_cast<unsigned>(GetVersionNr());
    return IntToStr(Integer(version >> 24)) + u"." + IntToStr(Integer((version >> 16) & 0xFF)) + u"." +
           IntToStr(Integer((version >> 8) & 0xFF)) + u"." + IntToStr(Integer(version & 0xFF));
}

// ---- Print layout

Integer TAdvStringGrid::GetPrintColWidth(Integer ACol) const {
    if (ACol < 0 || ACol >= static_cast<Integer>(std::size(MaxWidths)))
        throw EAdvGridError(AdvGridErrors::ColumnsNotInRange);
    return MaxWidths[ACol];
}

Integer TAdvStringGrid::GetPrintColOffset(Integer ACol) const {
    if (ACol < 0 || ACol >= static_cast<Integer>(std::size(Indents)))
        throw EAdvGridError(AdvGridErrors::ColumnsNotInRange);
    return Indents[ACol];
}

// ---- Repaints and change handlers

void TAdvStringGrid::RepaintHeaderCells(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2) {
    const Integer fixedRows = FixedRows();
    const Integer fixedCols = FixedCols();
    for (const TPoint cell : {TPoint(ACol1, ARow1), TPoint(ACol2, ARow2)}) {
        if (fixedRows > 0)
            RepaintCell(cell.X, fixedRows - 1);
        if (fixedCols > 0)
            RepaintCell(fixedCols - 1, cell.Y);
    }
}

void TAdvStringGrid::OptionChanged(TObject* /*Sender*/) {
    Invalidate();
}

void TAdvStringGrid::MergedColumnsChanged() {
    for (Integer c = 0; c < ColCount(); ++c)
        SplitColumnCells(c);
    for (Integer i = 0; i < FMergedColumns->Count(); ++i)
        MergeColumnCells(FMergedColumns->Items(i), i == 0);
}

// ---- Footer panel, scroll controls, hover buttons

TFooterPanel* TAdvStringGrid::CreateFooterPanel() {
    return new TFooterPanel(this);
}

void TAdvStringGrid::CreateScrollControls() {
    if (FVertScrollControl == nullptr) {
        auto control = std::make_unique<TScrollControl>(this);
        control->SetDirection(0);
        control->SetWidth(6);
        control->SetAlign(alRight);
        control->SetParent(this);
        control->SetDoubleBuffered(true);
        control->SetVisible(true);
        FVertScrollControl = std::move(control);
    }
    if (FHorzScrollControl == nullptr) {
        auto control = std::make_unique<TScrollControl>(this);
        control->SetDirection(1);
        control->SetHeight(6);
        control->SetAlign(alBottom);
        control->SetParent(this);
        control->SetDoubleBuffered(true);
        control->SetVisible(true);
        FHorzScrollControl = std::move(control);
    }
}

void TAdvStringGrid::HideButtonForm() {
    if (FButtonForm != nullptr)
        FButtonForm->Hide();
}

void TAdvStringGrid::UpdateFooter() {
    if (FFooterPanel != nullptr)
        FFooterPanel->Invalidate();
}

// ---- Event dispatchers

void TAdvStringGrid::DoCanAddRow(bool& CanAdd) {
    if (OnCanAddRow)
        OnCanAddRow(this, CanAdd);
}

void TAdvStringGrid::DoCanAddCol(bool& CanAdd) {
    if (OnCanAddCol)
        OnCanAddCol(this, CanAdd);
}

void TAdvStringGrid::DoCanInsertRow(Integer ARow, bool& CanInsert) {
    if (OnCanInsertRow)
        OnCanInsertRow(this, ARow, CanInsert);
}

void TAdvStringGrid::DoRichEditSelectionChange() {
    if (OnRichEditSelectionChange)
        OnRichEditSelectionChange(this);
}
