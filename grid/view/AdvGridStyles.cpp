// The grid's named colour styles, the shared style and colour-tone entry points and the older XP colour
// schemes: each fills the grid's colour sets (fixed-cell gradients, hovered and pressed headers, active
// cell, selection, lines, search footer, sort header) in one call.
#include <optional>

#include "grid/engine/AdvGrid.h"
#include "platform/win32/resources.h"

void RegisterGridGlyphs();

namespace {

constexpr TColor White = 0x00FFFFFF;
constexpr TColor Black = 0;

// Tables A and C of a style: its look, the fixed-cell gradient and the colours of the active cell,
// the selection, the lines, the search footer, the sort header and the border.
struct TStyleColours {
    TAdvGridStyle style;
    std::optional<TGridLook> look; // none: the grid keeps its look
    TColor from, to, mirrorFrom, mirrorTo;
    TColor activeFrom, activeTo;
    TColor selection, selectionTo, selectionText;
    TColor gridLine, fixedLine;
    TColor footer, footerTo;
    TColor header, headerTo, headerMirror, headerMirrorTo;
    std::optional<TColor> border; // none: left as the look set it
};

constexpr TColor N = clNone;
constexpr TColor HL = clHighlight;
constexpr TColor HT = clHighlightText;
constexpr TColor BF = clBtnFace;

const TStyleColours StyleTable[] = {
    {gsOffice2003Blue, glXP,     0xFCE1CB, 0xE0A57D, N, N, 0x94E6FB, 0x1595EE, 0x94E6FB,    0x1595EE, Black,
     0xC0C0C0,         0x808080, 0xFCE1CB, N,        N, N, N,        N,        std::nullopt},
    {gsOffice2003Silver, glXP,     0xECE2E1, 0xB39698, N, N, 0x94E6FB, 0x1595EE, 0x94E6FB,    0x1595EE, Black,
     0xC0C0C0,           0x808080, 0xECE2E1, N,        N, N, N,        N,        std::nullopt},
    {gsOffice2003Olive, glXP,     0xCFF0EA, 0x8CC0B1, N, N, 0x94E6FB, 0x1595EE, 0x94E6FB,    0x1595EE, Black,
     0xC0C0C0,          0x808080, 0xCFF0EA, N,        N, N, N,        N,        std::nullopt},
    {gsOffice2003Classic,
     glXP,
     0xFFFFFF,
     0xCCD4D8,
     N,
     N,
     0xD8D5D4,
     0xD8D5D4,
     HL,
     N,
     HT,
     0xC0C0C0,
     0x808080,
     0xFFFFFF,
     N,
     N,
     N,
     N,
     N,
     std::nullopt},
    {gsOffice2007Luna, glOffice2007, 0xFBF9F6, 0xE8DBD2, N, N, 0x9DD8F9, 0x5EC1F1, 0x5EC1F1,    N, Black,
     0xF1EDEB,         0xD1BBA4,     0xFBF9F6, N,        N, N, N,        N,        std::nullopt},
    {gsOffice2007Obsidian,
     glOffice2007,
     0xF7F7F7,
     0xDEDEDE,
     N,
     N,
     0x9DD8F9,
     0x5EC1F1,
     0x5EC1F1,
     N,
     Black,
     0xE5D7D0,
     0x808080,
     0xF7F7F7,
     N,
     N,
     N,
     N,
     N,
     std::nullopt},
    {gsWindowsXP, glXP, BF, BF, N, N, BF, BF, HL, N, HT, 0xC0C0C0, 0x808080, BF, N, N, N, N, N, std::nullopt},
    {gsWhidbey, std::nullopt, 0xFFFFFF, BF,       N, N, 0x94E6FB, 0x1595EE, HL, N,
     HT,        0xC0C0C0,     0x808080, 0xFFFFFF, N, N, N,        N,        N,  std::nullopt},
    {gsOffice2007Silver, glOffice2007, 0xF3F3F1, 0xCAC9C8, N, N, 0x99CCFF, 0x699CFF, 0x95C7F5,    N, Black,
     0xE5D7D0,           0x808080,     0xF3F3F1, N,        N, N, N,        N,        std::nullopt},
    {gsWindowsVista, glVista,  0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1,    0xFDF8F1,
     0xFCEFD5,       0xEACAB6, N,        Black,    0xECECF0, 0xD4D2D1,    0xFFFFFF,
     0xF4F2F1,       0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8, std::nullopt},
    {gsWindows7, glWin7,   0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD, 0xFCEBDC, 0xFCDBC1, 0xEACAB6,    N, Black,
     0xECECF0,   0xD4D2D1, 0xFDFCFA, 0xF7E9DD, 0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8, std::nullopt},
    {gsOffice2010Blue, glOffice2007, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA,    0x5BD5FF,
     0x71EFFF,         0xFFDBB7,     N,        Black,    0xC0C0C0, 0xC7B0A0,    0xF5E7DA,
     0xF5E7DA,         0xD6CEC7,     0xD6CEC7, 0xD6CEC7, 0xD6CEC7, std::nullopt},
    {gsOffice2010Silver, glOffice2007, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF,    0x5BD5FF,
     0x71EFFF,           0xFFDBB7,     N,        Black,    0xC0C0C0, 0xBAB5B1,    0xE8E3DF,
     0xE8E3DF,           0xAAAAAA,     0xAAAAAA, 0xAAAAAA, 0xAAAAAA, std::nullopt},
    {gsOffice2010Black, glOffice2007, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A,    0x5BD5FF,
     0x71EFFF,          0xFFDBB7,     N,        Black,    0xC0C0C0, 0x444444,    0x6A6A6A,
     0x6A6A6A,          0xBABABA,     0xBABABA, 0xBABABA, 0xBABABA, std::nullopt},
    {gsWindows8, glOffice2007, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xDAA026, N, White,
     0xDCDBDA,   0xDCDBDA,     0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xE4E3E2},
    {gsOffice2013white, glOffice2007, 0xEEEEEE, 0xEEEEEE, 0xEEEEEE, 0xEEEEEE, 0xEEEEEE,
     0xEEEEEE,          0xDAA026,     N,        White,    0xD4D4D4, 0xD4D4D4, 0xEEEEEE,
     0xEEEEEE,          0xEEEEEE,     0xEEEEEE, 0xEEEEEE, 0xEEEEEE, 0xD4D4D4},
    {gsOffice2013LightGray,
     glOffice2007,
     0xFAFAFA,
     0xFAFAFA,
     0xFAFAFA,
     0xFAFAFA,
     0xFAFAFA,
     0xFAFAFA,
     0xDAA026,
     N,
     White,
     0xC6C6C6,
     0xC6C6C6,
     0xFAFAFA,
     0xFAFAFA,
     0xFAFAFA,
     0xFAFAFA,
     0xFAFAFA,
     0xFAFAFA,
     0xC6C6C6},
    {gsOffice2013Gray, glOffice2007, 0xF3F3F3, 0xF3F3F3, 0xF3F3F3, 0xF3F3F3, 0xF3F3F3,
     0xF3F3F3,         0xDAA026,     N,        White,    0xABABAB, 0xABABAB, 0xF3F3F3,
     0xF3F3F3,         0xF3F3F3,     0xF3F3F3, 0xF3F3F3, 0xF3F3F3, 0xABABAB},
};

// Table B: the hovered and pressed fixed cells of the styles that set them.
struct THeaderStateColours {
    TColor hoverFrom, hoverTo, hoverMirrorFrom, hoverMirrorTo, hoverBorder;
    TColor downFrom, downTo, downMirrorFrom, downMirrorTo, downBorder;
};

constexpr THeaderStateColours LunaStates{0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC, 0xB79F87,
                                         0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D};
constexpr THeaderStateColours VistaStates{0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993,
                                          0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F};
constexpr THeaderStateColours Win7States{0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1, 0xEEE8E3,
                                         0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA};
constexpr THeaderStateColours Office2010States{0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF, 0x3ABFE8,
                                               0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2};
constexpr THeaderStateColours Windows8States{0xF7EFE8, 0xF7EFE8, 0xF7EFE8, 0xF7EFE8, 0xF9CEA4,
                                             0xF7E0C9, 0xF7E0C9, 0xF7E0C9, 0xF7E0C9, 0xE4A262};
constexpr THeaderStateColours Office2013States{0xFCF0E4, 0xFCF0E4, 0xFCF0E4, 0xFCF0E4, 0xEAB47E,
                                               0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xFCE2C8, 0xE59D56};

const THeaderStateColours* HeaderStates(TAdvGridStyle style) {
    switch (style) {
    case gsOffice2007Luna:
        return &LunaStates;
    case gsWindowsVista:
        return &VistaStates;
    case gsWindows7:
        return &Win7States;
    case gsOffice2010Blue:
    case gsOffice2010Silver:
    case gsOffice2010Black:
        return &Office2010States;
    case gsWindows8:
        return &Windows8States;
    case gsOffice2013white:
    case gsOffice2013LightGray:
    case gsOffice2013Gray:
        return &Office2013States;
    default:
        return nullptr;
    }
}

const TStyleColours* StyleColours(TAdvGridStyle style) {
    for (const TStyleColours& entry : StyleTable)
        if (entry.style == style)
            return &entry;
    return nullptr;
}

// The styles whose control look keeps the table's From and To; the others end with clNone there.
bool KeepsControlLookGradient(TAdvGridStyle style) {
    return style == gsOffice2003Blue || style == gsOffice2003Silver || style == gsOffice2003Olive ||
           style == gsOffice2007Luna || style == gsOffice2007Obsidian || style == gsOffice2007Silver;
}

// The styles whose control look keeps the table's mirror colours.
bool KeepsControlLookMirror(TAdvGridStyle style) {
    return style == gsWindowsVista || style == gsWindows7 || style >= gsOffice2010Blue;
}

bool IsOffice2003(TAdvGridStyle style) {
    return style == gsOffice2003Blue || style == gsOffice2003Silver || style == gsOffice2003Olive;
}

} // namespace

// ---- Styles

void TAdvStringGrid::SetComponentStyle(TQELStyle AStyle) {
    FStyle = AStyle;
    SetStyle(static_cast<TAdvGridStyle>(AStyle));
    if (!IsDesigning())
        ApplyStyleToEditors(AStyle);
    if (AStyle != tsCustom && FScrollType == ssMetro)
        SetScrollType(ssNormal);
}

void TAdvStringGrid::SetStyle(TAdvGridStyle AStyle) {
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clNone);
    SetSelectionMirrorColor(clNone);
    SetSelectionMirrorColorTo(clNone);
    SetSelectionTextColor(clHighlightText);
    SetSelectionStyle(ssDefault);
    FSortSettings->SetHeaderColor(clNone);
    FSortSettings->SetHeaderColorTo(clNone);
    FSortSettings->SetHeaderMirrorColor(clNone);
    FSortSettings->SetHeaderMirrorColorTo(clNone);
    FControlLook->Init();

    if (AStyle == gsCustom)
        return;
    if (AStyle == gsTerminal) {
        SetLook(glStandard);
        Invalidate();
        return;
    }
    const TStyleColours* colours = StyleColours(AStyle);
    if (colours == nullptr)
        return;

    // A look change may first apply the look's own style (Luna for glOffice2007), whose hovered and
    // pressed colours then stay for a style that sets none of its own.
    if (colours->look)
        SetLook(*colours->look);

    SetQELGradientFrom(colours->from);
    SetQELGradientTo(colours->to);
    SetQELGradientMirrorFrom(colours->mirrorFrom);
    SetQELGradientMirrorTo(colours->mirrorTo);
    if (KeepsControlLookGradient(AStyle)) {
        FControlLook->SetFixedGradientFrom(colours->from);
        FControlLook->SetFixedGradientTo(colours->to);
    } else {
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
    }
    if (KeepsControlLookMirror(AStyle)) {
        FControlLook->SetFixedGradientMirrorFrom(colours->mirrorFrom);
        FControlLook->SetFixedGradientMirrorTo(colours->mirrorTo);
    } else {
        FControlLook->SetFixedGradientMirrorFrom(clNone);
        FControlLook->SetFixedGradientMirrorTo(clNone);
    }

    if (const THeaderStateColours* states = HeaderStates(AStyle)) {
        FControlLook->SetFixedGradientHoverFrom(states->hoverFrom);
        FControlLook->SetFixedGradientHoverTo(states->hoverTo);
        FControlLook->SetFixedGradientHoverMirrorFrom(states->hoverMirrorFrom);
        FControlLook->SetFixedGradientHoverMirrorTo(states->hoverMirrorTo);
        // Vista's hover border reaches the grid only; the control look keeps its silver one.
        if (AStyle == gsWindowsVista)
            FQELGradHoverBorder = states->hoverBorder;
        else
            FControlLook->SetFixedGradientHoverBorder(states->hoverBorder);
        FControlLook->SetFixedGradientDownFrom(states->downFrom);
        FControlLook->SetFixedGradientDownTo(states->downTo);
        FControlLook->SetFixedGradientDownMirrorFrom(states->downMirrorFrom);
        FControlLook->SetFixedGradientDownMirrorTo(states->downMirrorTo);
        FControlLook->SetFixedGradientDownBorder(states->downBorder);
    }

    SetActiveCellColor(colours->activeFrom);
    SetActiveCellColorTo(colours->activeTo);
    if (IsOffice2003(AStyle)) {
        // Written directly: the one repaint comes at the end.
        FSelectionColor = colours->selection;
        FSelectionColorTo = colours->selectionTo;
        FSelectionTextColor = colours->selectionText;
    } else {
        SetSelectionColor(colours->selection);
        SetSelectionColorTo(colours->selectionTo);
        SetSelectionTextColor(colours->selectionText);
    }
    SetGridLineColor(colours->gridLine);
    SetGridFixedLineColor(colours->fixedLine);
    FSearchFooter->SetColor(colours->footer);
    FSearchFooter->SetColorTo(colours->footerTo);
    FSortSettings->SetHeaderColor(colours->header);
    FSortSettings->SetHeaderColorTo(colours->headerTo);
    FSortSettings->SetHeaderMirrorColor(colours->headerMirror);
    FSortSettings->SetHeaderMirrorColorTo(colours->headerMirrorTo);
    if (colours->border)
        SetBorderColor(*colours->border);

    switch (AStyle) {
    case gsOffice2007Luna:
        if (FLook == glOffice2007)
            SetSelectionStyle(ssOffice2007);
        break;
    case gsWindowsVista:
        SetSelectionStyle(ssVista);
        break;
    case gsWindows7:
        SetSelectionStyle(ssWin7);
        break;
    case gsOffice2010Blue:
    case gsOffice2010Silver:
    case gsOffice2010Black:
    case gsWindows8:
    case gsOffice2013white:
    case gsOffice2013LightGray:
    case gsOffice2013Gray:
        SetSelectionStyle(ssDefault);
        break;
    default:
        break;
    }
    Invalidate();
}

// ---- Colour tones

void TAdvStringGrid::SetColorTones(TColorTones ATones) {
    FTones = ATones;
    SetLook(glClassic);
    SetFlat(true);
    SetScrollType(ssMetro);
    SetFixedColor(ATones.Foreground.BrushColor);
    FixedFont()->SetColor(ATones.Foreground.TextColor);
    FixedFont()->SetName(DefaultFontName());
    SetColor(ATones.Background.BrushColor);
    Font()->SetName(DefaultFontName());
    Font()->SetColor(ATones.Background.TextColor);
    SetSelectionColor(ATones.Selected.BrushColor);
    SetSelectionTextColor(ATones.Selected.TextColor);
    SetSelectionColorTo(clNone);
    SetGridLineColor(0x00E6E6E6);
    SetGridFixedLineColor(ChangeColorPercent(ATones.Foreground.BrushColor, -20));
    SetBorderStyle(bsNone);
    FControlLook->SetControlStyle(AdvGrid::csGlyph);
    LoadMetroGlyphs();
    if (!IsDesigning())
        ApplyTonesToEditors(ATones);
    FControlLook->SetFlatButton(true);
    FFloatingFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
    FCellNode->SetNodeType(cnFlat);
    Invalidate();
}

void TAdvStringGrid::LoadMetroGlyphs() {
    RegisterGridGlyphs();
    const auto instance = reinterpret_cast<NativeUInt>(GetModuleHandleW(nullptr));
    FControlLook->CheckedGlyph()->LoadFromResourceName(instance, u"metrocheckon");
    FControlLook->UnCheckedGlyph()->LoadFromResourceName(instance, u"metrocheckoff");
    FControlLook->RadioOffGlyph()->LoadFromResourceName(instance, u"metroradiooff");
    FControlLook->RadioOnGlyph()->LoadFromResourceName(instance, u"metroradioon");
}

void TAdvStringGrid::ApplyTonesToEditors(const TColorTones& /*ATones*/) {
    // The combo editor's buttons take no colours of their own; it only frames itself in the grid's.
    if (EditCombo) {
        EditCombo->SetBorderColor(Color());
        EditCombo->SetFlat(true);
    }
    // FIXME: the edit-button, spin and date-time editors and the drop-down editors take the tones'
    // button colours once the grid has them.
}

// ---- XP colour schemes

void TAdvStringGrid::SetTheme(TXPColorScheme Value) {
    TColor from = White, to = clBtnFace, mirrorFrom = clNone, mirrorTo = clNone;
    TColor footer = White, footerTo = 0x00FFD9B3;
    TColor active = White, activeTo = 0x00FFD9B3;
    switch (Value) {
    case xpBlue:
        from = 0x00FCE1CB, to = 0x00E0A57D;
        break;
    case xpGreen:
        from = 0x00CFF0EA, to = 0x008CC0B1;
        break;
    case xpGray:
        from = 0x00ECE2E1, to = 0x00B39698;
        break;
    case vistaAero:
        from = 0x00FFFFFF, to = 0x00FFFFFF, mirrorFrom = 0x00FAF8F7, mirrorTo = 0x00F4F2F1;
        break;
    case xpNone:
        break;
    }
    if (Value == xpNone) {
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
        FControlLook->SetFixedGradientMirrorFrom(clNone);
        FControlLook->SetFixedGradientMirrorTo(clNone);
    } else {
        active = 0x0094E6FB, activeTo = 0x001595EE;
        FControlLook->SetFixedGradientFrom(from);
        FControlLook->SetFixedGradientTo(to);
        footer = Value == vistaAero ? 0x00ECE2E1 : from;
        footerTo = Value == vistaAero ? 0x00B39698 : to;
    }
    SetQELGradientFrom(from);
    SetQELGradientTo(to);
    SetQELGradientMirrorFrom(mirrorFrom);
    SetQELGradientMirrorTo(mirrorTo);
    SetActiveCellColor(active);
    SetActiveCellColorTo(activeTo);
    FSearchFooter->SetColor(footer);
    FSearchFooter->SetColorTo(footerTo);
    Invalidate();
}
