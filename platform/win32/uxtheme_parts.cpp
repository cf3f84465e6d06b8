// The theme's description of itself: which parts each class has, what their states mean, their sizes,
// margins and colours. One light, flat palette serves every class so that parts look alike.
#include <array>

#include "platform/rtl/UString.h"
#include "platform/win32/uxtheme_private.h"

namespace win32::theme {

namespace {

struct ClassName {
    const char16_t* name;
    ThemeClass themeClass;
};

constexpr std::array<ClassName, 17> ClassNames{{
    {u"button", ThemeClass::Button},
    {u"combobox", ThemeClass::ComboBox},
    {u"edit", ThemeClass::Edit},
    {u"header", ThemeClass::Header},
    {u"scrollbar", ThemeClass::ScrollBar},
    {u"spin", ThemeClass::Spin},
    {u"progress", ThemeClass::Progress},
    {u"toolbar", ThemeClass::Toolbar},
    {u"tab", ThemeClass::Tab},
    {u"window", ThemeClass::Window},
    {u"explorerbar", ThemeClass::ExplorerBar},
    {u"rebar", ThemeClass::Rebar},
    {u"listview", ThemeClass::ListView},
    {u"treeview", ThemeClass::TreeView},
    {u"tooltip", ThemeClass::Tooltip},
    {u"trackbar", ThemeClass::Trackbar},
    {u"status", ThemeClass::Status},
}};

PartInfo Stretched(PartKind kind, LONG cx, LONG cy, bool vertical = false) {
    PartInfo info;
    info.kind = kind;
    info.natural = SIZE{cx, cy};
    info.vertical = vertical;
    return info;
}

PartInfo Fixed(PartKind kind, LONG cx, LONG cy) {
    PartInfo info = Stretched(kind, cx, cy);
    info.fixedSize = true;
    return info;
}

PartInfo WithArrow(PartInfo info, Arrow arrow) {
    info.arrow = arrow;
    return info;
}

PartInfo WithGlyph(PartInfo info, Glyph glyph) {
    info.glyph = glyph;
    return info;
}

// ---- Colours ----
constexpr COLORREF Accent = RGB(0, 120, 215);
constexpr COLORREF AccentDark = RGB(0, 84, 153);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Text = RGB(0, 0, 0);
constexpr COLORREF GrayText = RGB(160, 160, 160);
constexpr COLORREF GlyphColor = RGB(51, 51, 51);

constexpr Look ButtonNormal{RGB(173, 173, 173), RGB(246, 246, 246), RGB(227, 227, 227), GlyphColor, Text};
constexpr Look ButtonHot{Accent, RGB(236, 244, 252), RGB(214, 232, 250), RGB(0, 0, 0), Text};
constexpr Look ButtonPressed{AccentDark, RGB(196, 222, 245), RGB(204, 228, 247), RGB(0, 0, 0), Text};
constexpr Look ButtonDisabled{RGB(204, 204, 204), RGB(244, 244, 244), RGB(244, 244, 244), GrayText, GrayText};
constexpr Look ButtonDefaulted{Accent, RGB(246, 246, 246), RGB(227, 227, 227), GlyphColor, Text};

Look ButtonLook(Visual visual) {
    switch (visual) {
    case Visual::Hot:
    case Visual::HotChecked:
        return ButtonHot;
    case Visual::Pressed:
    case Visual::Checked:
    case Visual::Selected:
        return ButtonPressed;
    case Visual::Disabled:
    case Visual::Inactive:
        return ButtonDisabled;
    case Visual::Defaulted:
    case Visual::Focused:
        return ButtonDefaulted;
    case Visual::Normal:
        break;
    }
    return ButtonNormal;
}

// Check and radio boxes: white inside, the border and the glyph carry the state.
Look BoxLook(Visual visual) {
    switch (visual) {
    case Visual::Hot:
        return Look{Accent, RGB(229, 241, 251), RGB(229, 241, 251), RGB(0, 0, 0), Text};
    case Visual::Pressed:
        return Look{AccentDark, RGB(204, 228, 247), RGB(204, 228, 247), RGB(0, 0, 0), Text};
    case Visual::Disabled:
        return Look{RGB(204, 204, 204), White, White, RGB(191, 191, 191), GrayText};
    default:
        return Look{GlyphColor, White, White, GlyphColor, Text};
    }
}

Look FieldLook(Visual visual) {
    switch (visual) {
    case Visual::Hot:
        return Look{RGB(126, 180, 234), White, White, GlyphColor, Text};
    case Visual::Focused:
    case Visual::Pressed:
    case Visual::Selected:
        return Look{Accent, White, White, GlyphColor, Text};
    case Visual::Disabled:
        return Look{RGB(204, 204, 204), RGB(240, 240, 240), RGB(240, 240, 240), GrayText, GrayText};
    case Visual::Inactive: // read-only
        return Look{RGB(173, 173, 173), RGB(240, 240, 240), RGB(240, 240, 240), GlyphColor, Text};
    default:
        return Look{RGB(171, 173, 179), White, White, GlyphColor, Text};
    }
}

// Toolbar buttons, list and tree items: nothing until the mouse or the selection asks for it.
Look FlatLook(Visual visual) {
    switch (visual) {
    case Visual::Hot:
        return Look{RGB(204, 232, 255), RGB(229, 243, 255), RGB(229, 243, 255), RGB(0, 0, 0), Text};
    case Visual::Pressed:
        return Look{RGB(153, 209, 255), RGB(204, 232, 255), RGB(204, 232, 255), RGB(0, 0, 0), Text};
    case Visual::Checked:
    case Visual::Selected:
        return Look{Accent, RGB(204, 232, 255), RGB(204, 232, 255), RGB(0, 0, 0), Text};
    case Visual::HotChecked:
        return Look{AccentDark, RGB(184, 222, 255), RGB(184, 222, 255), RGB(0, 0, 0), Text};
    case Visual::Inactive: // selected without the focus
        return Look{RGB(217, 217, 217), RGB(217, 217, 217), RGB(217, 217, 217), RGB(0, 0, 0), Text};
    case Visual::Disabled: {
        Look look{White, White, White, GrayText, GrayText};
        look.drawFace = false;
        return look;
    }
    default: {
        Look look{White, White, White, GlyphColor, Text};
        look.drawFace = false;
        return look;
    }
    }
}

Look HeaderLook(Visual visual) {
    switch (visual) {
    case Visual::Hot:
        return Look{RGB(213, 213, 213), RGB(227, 241, 252), RGB(205, 228, 248), GlyphColor, Text};
    case Visual::Pressed:
        return Look{RGB(192, 192, 192), RGB(188, 220, 244), RGB(188, 220, 244), GlyphColor, Text};
    case Visual::Selected: // sorted
        return Look{RGB(213, 213, 213), RGB(246, 247, 248), RGB(236, 240, 244), GlyphColor, Text};
    default:
        return Look{RGB(213, 213, 213), White, RGB(241, 241, 241), GlyphColor, Text};
    }
}

Look CaptionLook(Visual visual) {
    if (visual == Visual::Inactive || visual == Visual::Disabled)
        return Look{RGB(191, 191, 191), RGB(247, 247, 247), RGB(232, 232, 232), GrayText, RGB(110, 110, 110)};
    return Look{RGB(153, 180, 209), RGB(222, 234, 248), RGB(199, 217, 240), GlyphColor, Text};
}

Look CaptionButtonLook(Glyph glyph, Visual visual) {
    if (glyph == Glyph::Close) {
        if (visual == Visual::Hot)
            return Look{RGB(199, 15, 30), RGB(232, 17, 35), RGB(212, 16, 32), White, White};
        if (visual == Visual::Pressed)
            return Look{RGB(199, 15, 30), RGB(241, 112, 122), RGB(241, 112, 122), White, White};
    }
    return ButtonLook(visual);
}

Look ProgressLook(int part, const StateInfo& state) {
    if (part == PP_CHUNK || part == PP_CHUNKVERT || part == PP_FILL || part == PP_FILLVERT) {
        if (state.fillState == 1)
            return Look{RGB(194, 28, 28), RGB(232, 72, 72), RGB(210, 40, 40), White, White};
        if (state.fillState == 2)
            return Look{RGB(191, 166, 0), RGB(240, 214, 60), RGB(218, 190, 20), Text, Text};
        return Look{RGB(6, 150, 36), RGB(70, 200, 90), RGB(6, 176, 37), White, White};
    }
    return Look{RGB(188, 188, 188), RGB(230, 230, 230), RGB(230, 230, 230), GlyphColor, Text};
}

Look ThumbLook(Visual visual) {
    switch (visual) {
    case Visual::Hot:
        return Look{RGB(166, 166, 166), RGB(200, 200, 200), RGB(200, 200, 200), RGB(96, 96, 96), Text};
    case Visual::Pressed:
        return Look{RGB(96, 96, 96), RGB(150, 150, 150), RGB(150, 150, 150), White, Text};
    case Visual::Disabled:
        return Look{RGB(222, 222, 222), RGB(240, 240, 240), RGB(240, 240, 240), GrayText, GrayText};
    default:
        return Look{RGB(188, 188, 188), RGB(220, 220, 220), RGB(220, 220, 220), RGB(120, 120, 120), Text};
    }
}

Look SliderThumbLook(Visual visual) {
    switch (visual) {
    case Visual::Hot:
        return Look{RGB(23, 23, 23), RGB(23, 23, 23), RGB(23, 23, 23), White, Text};
    case Visual::Pressed:
        return Look{RGB(120, 120, 120), RGB(204, 204, 204), RGB(204, 204, 204), White, Text};
    case Visual::Disabled:
        return Look{RGB(204, 204, 204), RGB(204, 204, 204), RGB(204, 204, 204), White, GrayText};
    case Visual::Focused:
        return Look{AccentDark, Accent, Accent, White, Text};
    default:
        return Look{Accent, Accent, Accent, White, Text};
    }
}

Look TabLook(Visual visual) {
    switch (visual) {
    case Visual::Hot:
        return Look{RGB(126, 180, 234), RGB(236, 244, 252), RGB(220, 236, 252), GlyphColor, Text};
    case Visual::Selected:
        return Look{RGB(217, 217, 217), White, White, GlyphColor, Text};
    case Visual::Focused:
        return Look{Accent, White, White, GlyphColor, Text};
    case Visual::Disabled:
        return Look{RGB(230, 230, 230), RGB(246, 246, 246), RGB(246, 246, 246), GrayText, GrayText};
    default:
        return Look{RGB(217, 217, 217), RGB(240, 240, 240), RGB(240, 240, 240), GlyphColor, Text};
    }
}

// Buttons of parts whose states run normal, hot, pressed, disabled.
Visual FourStates(int state) {
    switch (state) {
    case 2:
        return Visual::Hot;
    case 3:
        return Visual::Pressed;
    case 4:
        return Visual::Disabled;
    default:
        return Visual::Normal;
    }
}

// Items whose states run normal, hot, selected, disabled, selected without focus, hot and selected.
Visual ItemStates(int state) {
    switch (state) {
    case 2:
        return Visual::Hot;
    case 3:
        return Visual::Selected;
    case 4:
        return Visual::Disabled;
    case 5:
        return Visual::Inactive;
    case 6:
        return Visual::HotChecked;
    default:
        return Visual::Normal;
    }
}

} // namespace

bool FindThemeClass(StringView name, ThemeClass& themeClass) {
    // "Explorer::TreeView" names the tree view's look for one application; we have one look per class.
    size_t scope = name.rfind(u"::");
    if (scope != StringView::npos)
        name = name.substr(scope + 2);
    while (!name.empty() && name.front() == u' ')
        name.remove_prefix(1);
    while (!name.empty() && name.back() == u' ')
        name.remove_suffix(1);
    String lower = LowerASCII(name);
    for (const ClassName& entry : ClassNames)
        if (lower == entry.name) {
            themeClass = entry.themeClass;
            return true;
        }
    return false;
}

PartInfo DescribePart(ThemeClass themeClass, int part) {
    switch (themeClass) {
    case ThemeClass::Button:
        switch (part) {
        case BP_PUSHBUTTON:
        case BP_USERBUTTON:
            return Stretched(PartKind::PushButton, 75, 23);
        case BP_RADIOBUTTON:
            return Fixed(PartKind::RadioButton, 13, 13);
        case BP_CHECKBOX:
            return Fixed(PartKind::CheckBox, 13, 13);
        case BP_GROUPBOX:
            return Stretched(PartKind::GroupBox, 9, 9);
        case BP_COMMANDLINK:
            return Stretched(PartKind::FlatButton, 75, 41);
        case BP_COMMANDLINKGLYPH:
            return WithArrow(Fixed(PartKind::SortArrow, 20, 20), Arrow::Right);
        }
        break;
    case ThemeClass::ComboBox:
        switch (part) {
        case CP_DROPDOWNBUTTON:
        case CP_DROPDOWNBUTTONRIGHT:
        case CP_DROPDOWNBUTTONLEFT:
            return WithArrow(Stretched(PartKind::ArrowButton, 17, 21), Arrow::Down);
        case CP_BACKGROUND:
        case CP_CUEBANNER:
            return Stretched(PartKind::Fill, 9, 9);
        case CP_TRANSPARENTBACKGROUND:
            return Stretched(PartKind::Fill, 9, 9);
        case CP_BORDER:
            return Stretched(PartKind::Field, 9, 9);
        case CP_READONLY:
            return Stretched(PartKind::PushButton, 21, 21);
        }
        break;
    case ThemeClass::Edit:
        switch (part) {
        case EP_EDITTEXT:
        case EP_BACKGROUNDWITHBORDER:
        case EP_EDITBORDER_NOSCROLL:
            return Stretched(PartKind::Field, 9, 9);
        case EP_BACKGROUND:
        case EP_CARET:
            return Stretched(PartKind::Fill, 1, 1);
        case EP_PASSWORD:
            return Fixed(PartKind::RadioButton, 7, 7);
        }
        break;
    case ThemeClass::Header:
        switch (part) {
        case HP_HEADERITEM:
        case HP_HEADERITEMLEFT:
        case HP_HEADERITEMRIGHT:
            return Stretched(PartKind::HeaderItem, 50, 24);
        case HP_HEADERSORTARROW:
            return Fixed(PartKind::SortArrow, 9, 5);
        case HP_HEADERDROPDOWN:
        case HP_HEADEROVERFLOW:
            return WithArrow(Stretched(PartKind::ArrowButton, 15, 24), Arrow::Down);
        }
        break;
    case ThemeClass::ScrollBar:
        switch (part) {
        case SBP_ARROWBTN:
            return Stretched(PartKind::ArrowButton, 17, 17);
        case SBP_THUMBBTNHORZ:
            return Stretched(PartKind::Thumb, 17, 17);
        case SBP_THUMBBTNVERT:
            return Stretched(PartKind::Thumb, 17, 17, true);
        case SBP_LOWERTRACKHORZ:
        case SBP_UPPERTRACKHORZ:
            return Stretched(PartKind::Track, 17, 17);
        case SBP_LOWERTRACKVERT:
        case SBP_UPPERTRACKVERT:
            return Stretched(PartKind::Track, 17, 17, true);
        case SBP_GRIPPERHORZ:
            return Fixed(PartKind::Gripper, 8, 8);
        case SBP_GRIPPERVERT: {
            PartInfo info = Fixed(PartKind::Gripper, 8, 8);
            info.vertical = true;
            return info;
        }
        case SBP_SIZEBOX:
            return Fixed(PartKind::SizeBox, 17, 17);
        }
        break;
    case ThemeClass::Spin:
        switch (part) {
        case SPNP_UP:
            return WithArrow(Stretched(PartKind::ArrowButton, 15, 11), Arrow::Up);
        case SPNP_DOWN:
            return WithArrow(Stretched(PartKind::ArrowButton, 15, 11), Arrow::Down);
        case SPNP_UPHORZ:
            return WithArrow(Stretched(PartKind::ArrowButton, 11, 15), Arrow::Right);
        case SPNP_DOWNHORZ:
            return WithArrow(Stretched(PartKind::ArrowButton, 11, 15), Arrow::Left);
        }
        break;
    case ThemeClass::Progress:
        switch (part) {
        case PP_BAR:
        case PP_TRANSPARENTBAR:
            return Stretched(PartKind::ProgressBar, 10, 15);
        case PP_BARVERT:
        case PP_TRANSPARENTBARVERT:
            return Stretched(PartKind::ProgressBar, 15, 10, true);
        case PP_CHUNK:
        case PP_FILL:
            return Stretched(PartKind::ProgressChunk, 8, 13);
        case PP_CHUNKVERT:
        case PP_FILLVERT:
            return Stretched(PartKind::ProgressChunk, 13, 8, true);
        }
        break;
    case ThemeClass::Toolbar:
        switch (part) {
        case TP_BUTTON:
        case TP_SPLITBUTTON:
            return Stretched(PartKind::FlatButton, 23, 22);
        case TP_DROPDOWNBUTTON:
            return Stretched(PartKind::FlatButton, 33, 22);
        case TP_SPLITBUTTONDROPDOWN:
            return WithArrow(Stretched(PartKind::FlatButton, 12, 22), Arrow::Down);
        case TP_SEPARATOR:
            return Stretched(PartKind::Separator, 6, 22, true);
        case TP_SEPARATORVERT:
            return Stretched(PartKind::Separator, 22, 6);
        }
        break;
    case ThemeClass::Tab:
        switch (part) {
        case TABP_TABITEM:
        case TABP_TABITEMLEFTEDGE:
        case TABP_TABITEMRIGHTEDGE:
        case TABP_TABITEMBOTHEDGE:
        case TABP_TOPTABITEM:
        case TABP_TOPTABITEMLEFTEDGE:
        case TABP_TOPTABITEMRIGHTEDGE:
        case TABP_TOPTABITEMBOTHEDGE:
            return Stretched(PartKind::TabItem, 60, 21);
        case TABP_PANE:
            return Stretched(PartKind::TabPane, 9, 9);
        case TABP_BODY:
            return Stretched(PartKind::Fill, 9, 9);
        }
        break;
    case ThemeClass::Window:
        switch (part) {
        case WP_CAPTION:
        case WP_MINCAPTION:
        case WP_MAXCAPTION:
            return Stretched(PartKind::Caption, 100, 23);
        case WP_SMALLCAPTION:
        case WP_SMALLMINCAPTION:
        case WP_SMALLMAXCAPTION:
            return Stretched(PartKind::Caption, 100, 17);
        case WP_FRAMELEFT:
        case WP_FRAMERIGHT:
        case WP_SMALLFRAMELEFT:
        case WP_SMALLFRAMERIGHT:
            return Stretched(PartKind::Frame, 4, 4, true);
        case WP_FRAMEBOTTOM:
        case WP_SMALLFRAMEBOTTOM:
            return Stretched(PartKind::Frame, 4, 4);
        case WP_SYSBUTTON:
        case WP_MDISYSBUTTON:
            return Stretched(PartKind::PushButton, 21, 21);
        case WP_MINBUTTON:
        case WP_MDIMINBUTTON:
            return WithGlyph(Stretched(PartKind::CaptionButton, 21, 21), Glyph::Minimize);
        case WP_MAXBUTTON:
            return WithGlyph(Stretched(PartKind::CaptionButton, 21, 21), Glyph::Maximize);
        case WP_CLOSEBUTTON:
        case WP_SMALLCLOSEBUTTON:
        case WP_MDICLOSEBUTTON:
            return WithGlyph(Stretched(PartKind::CaptionButton, 21, 21), Glyph::Close);
        case WP_RESTOREBUTTON:
        case WP_MDIRESTOREBUTTON:
            return WithGlyph(Stretched(PartKind::CaptionButton, 21, 21), Glyph::Restore);
        case WP_HELPBUTTON:
        case WP_MDIHELPBUTTON:
            return WithGlyph(Stretched(PartKind::CaptionButton, 21, 21), Glyph::Help);
        case WP_HORZSCROLL:
            return Stretched(PartKind::Track, 17, 17);
        case WP_VERTSCROLL:
            return Stretched(PartKind::Track, 17, 17, true);
        case WP_HORZTHUMB:
            return Stretched(PartKind::Thumb, 17, 17);
        case WP_VERTTHUMB:
            return Stretched(PartKind::Thumb, 17, 17, true);
        case WP_DIALOG:
            return Stretched(PartKind::Fill, 9, 9);
        }
        break;
    case ThemeClass::ExplorerBar:
        switch (part) {
        case EBP_HEADERBACKGROUND:
        case EBP_NORMALGROUPHEAD:
        case EBP_SPECIALGROUPHEAD:
            return Stretched(PartKind::HeaderItem, 50, 25);
        case EBP_HEADERCLOSE:
            return WithGlyph(Stretched(PartKind::CaptionButton, 16, 16), Glyph::Close);
        case EBP_HEADERPIN:
            return WithGlyph(Stretched(PartKind::CaptionButton, 16, 16), Glyph::Pin);
        case EBP_IEBARMENU:
            return WithArrow(Stretched(PartKind::FlatButton, 16, 16), Arrow::Down);
        case EBP_NORMALGROUPBACKGROUND:
        case EBP_SPECIALGROUPBACKGROUND:
            return Stretched(PartKind::TabPane, 9, 9);
        case EBP_NORMALGROUPCOLLAPSE:
        case EBP_SPECIALGROUPCOLLAPSE:
            return WithArrow(Stretched(PartKind::ArrowButton, 17, 17), Arrow::Up);
        case EBP_NORMALGROUPEXPAND:
        case EBP_SPECIALGROUPEXPAND:
            return WithArrow(Stretched(PartKind::ArrowButton, 17, 17), Arrow::Down);
        }
        break;
    case ThemeClass::Rebar:
        switch (part) {
        case RP_GRIPPER:
            return Stretched(PartKind::Gripper, 5, 20, true);
        case RP_GRIPPERVERT:
            return Stretched(PartKind::Gripper, 20, 5);
        case RP_BAND:
        case RP_BACKGROUND:
            return Stretched(PartKind::Fill, 9, 9);
        case RP_CHEVRON:
            return WithGlyph(Stretched(PartKind::FlatButton, 12, 22), Glyph::Chevron);
        case RP_CHEVRONVERT:
            return WithGlyph(Stretched(PartKind::FlatButton, 22, 12), Glyph::Chevron);
        case RP_SPLITTER:
            return Stretched(PartKind::Separator, 6, 22, true);
        case RP_SPLITTERVERT:
            return Stretched(PartKind::Separator, 22, 6);
        }
        break;
    case ThemeClass::ListView:
        switch (part) {
        case LVP_LISTITEM:
        case LVP_LISTGROUP:
        case LVP_LISTDETAIL:
        case LVP_LISTSORTEDDETAIL:
        case LVP_COLUMNDETAIL:
            return Stretched(PartKind::ListItem, 16, 16);
        case LVP_EMPTYTEXT:
            return Stretched(PartKind::Fill, 9, 9);
        case LVP_GROUPHEADER:
            return Stretched(PartKind::ListItem, 50, 22);
        case LVP_GROUPHEADERLINE:
            return Stretched(PartKind::Separator, 50, 1);
        case LVP_EXPANDBUTTON:
            return WithArrow(Stretched(PartKind::ArrowButton, 17, 17), Arrow::Down);
        case LVP_COLLAPSEBUTTON:
            return WithArrow(Stretched(PartKind::ArrowButton, 17, 17), Arrow::Up);
        }
        break;
    case ThemeClass::TreeView:
        switch (part) {
        case TVP_TREEITEM:
            return Stretched(PartKind::ListItem, 16, 16);
        case TVP_GLYPH:
        case TVP_HOTGLYPH:
            return Fixed(PartKind::TreeGlyph, 9, 9);
        case TVP_BRANCH:
            return Stretched(PartKind::Separator, 1, 1, true);
        }
        break;
    case ThemeClass::Tooltip:
        switch (part) {
        case TTP_STANDARD:
        case TTP_STANDARDTITLE:
        case TTP_BALLOON:
        case TTP_BALLOONTITLE:
            return Stretched(PartKind::Tooltip, 20, 20);
        case TTP_CLOSE:
            return WithGlyph(Stretched(PartKind::CaptionButton, 10, 10), Glyph::Close);
        }
        break;
    case ThemeClass::Trackbar:
        switch (part) {
        case TKP_TRACK:
            return Stretched(PartKind::Track, 20, 4);
        case TKP_TRACKVERT:
            return Stretched(PartKind::Track, 4, 20, true);
        case TKP_THUMB:
        case TKP_THUMBBOTTOM:
        case TKP_THUMBTOP:
            return Stretched(PartKind::SliderThumb, 11, 19);
        case TKP_THUMBVERT:
        case TKP_THUMBLEFT:
        case TKP_THUMBRIGHT:
            return Stretched(PartKind::SliderThumb, 19, 11, true);
        case TKP_TICS:
            return Stretched(PartKind::Tics, 1, 5, true);
        case TKP_TICSVERT:
            return Stretched(PartKind::Tics, 5, 1);
        }
        break;
    case ThemeClass::Status:
        switch (part) {
        case SP_PANE:
        case SP_GRIPPERPANE:
            return Stretched(PartKind::Separator, 20, 20, true);
        case SP_GRIPPER:
            return Fixed(PartKind::SizeBox, 12, 12);
        }
        break;
    }
    return PartInfo{};
}

StateInfo DescribeState(ThemeClass themeClass, int part, int state) {
    StateInfo info;
    PartInfo partInfo = DescribePart(themeClass, part);
    switch (partInfo.kind) {
    case PartKind::CheckBox:
        // Groups of four: unchecked, checked, mixed, implicit, excluded.
        if (state >= 1 && state <= 20) {
            int group = (state - 1) / 4;
            info.visual = FourStates((state - 1) % 4 + 1);
            info.checked = group == 1 || group == 3;
            info.mixed = group == 2;
        }
        return info;
    case PartKind::RadioButton:
        if (state >= 1 && state <= 8) {
            info.visual = FourStates((state - 1) % 4 + 1);
            info.checked = state >= 5;
        }
        if (themeClass == ThemeClass::Edit)
            info.checked = true; // the password dot
        return info;
    case PartKind::TreeGlyph:
        info.checked = state == GLPS_OPENED;
        info.visual = part == TVP_HOTGLYPH ? Visual::Hot : Visual::Normal;
        return info;
    default:
        break;
    }

    switch (themeClass) {
    case ThemeClass::Button:
        if (part == BP_PUSHBUTTON || part == BP_USERBUTTON || part == BP_COMMANDLINK) {
            info.visual = state == PBS_DEFAULTED || state == PBS_DEFAULTED_ANIMATING ? Visual::Defaulted
                                                                                     : FourStates(state);
        } else if (part == BP_GROUPBOX) {
            info.visual = state == GBS_DISABLED ? Visual::Disabled : Visual::Normal;
        }
        break;
    case ThemeClass::ComboBox:
        if (part == CP_BORDER)
            info.visual = state == CBB_HOT        ? Visual::Hot
                          : state == CBB_FOCUSED  ? Visual::Focused
                          : state == CBB_DISABLED ? Visual::Disabled
                                                  : Visual::Normal;
        else
            info.visual = FourStates(state);
        break;
    case ThemeClass::Edit:
        switch (state) {
        case ETS_HOT:
            info.visual = Visual::Hot;
            break;
        case ETS_SELECTED:
        case ETS_FOCUSED:
            info.visual = Visual::Focused;
            break;
        case ETS_DISABLED:
            info.visual = Visual::Disabled;
            break;
        case ETS_READONLY:
            info.visual = Visual::Inactive;
            break;
        }
        break;
    case ThemeClass::Header:
        if (part == HP_HEADERSORTARROW) {
            info.arrow = state == HSAS_SORTEDDOWN ? Arrow::Down : Arrow::Up;
        } else {
            switch (state) {
            case HIS_HOT:
            case HIS_SORTEDHOT:
                info.visual = Visual::Hot;
                break;
            case HIS_PRESSED:
            case HIS_SORTEDPRESSED:
                info.visual = Visual::Pressed;
                break;
            case HIS_SORTEDNORMAL:
                info.visual = Visual::Selected;
                break;
            }
        }
        break;
    case ThemeClass::ScrollBar:
        if (part == SBP_ARROWBTN) {
            if (state >= ABS_UPNORMAL && state <= ABS_RIGHTDISABLED) {
                static constexpr Arrow directions[] = {Arrow::Up, Arrow::Down, Arrow::Left, Arrow::Right};
                info.arrow = directions[(state - 1) / 4];
                info.visual = FourStates((state - 1) % 4 + 1);
            } else if (state >= ABS_UPHOVER && state <= ABS_RIGHTHOVER) {
                static constexpr Arrow directions[] = {Arrow::Up, Arrow::Down, Arrow::Left, Arrow::Right};
                info.arrow = directions[state - ABS_UPHOVER];
            } else {
                info.arrow = Arrow::Up;
            }
        } else {
            info.visual = FourStates(state); // SCRBS_HOVER: the mouse is over the bar, not the part
        }
        break;
    case ThemeClass::Progress:
        if (part == PP_CHUNK || part == PP_CHUNKVERT || part == PP_FILL || part == PP_FILLVERT)
            info.fillState = state == PBFS_ERROR ? 1 : state == PBFS_PAUSED ? 2 : 0;
        break;
    case ThemeClass::Toolbar:
        switch (state) {
        case TS_HOT:
            info.visual = Visual::Hot;
            break;
        case TS_PRESSED:
            info.visual = Visual::Pressed;
            break;
        case TS_DISABLED:
            info.visual = Visual::Disabled;
            break;
        case TS_CHECKED:
            info.visual = Visual::Checked;
            break;
        case TS_HOTCHECKED:
            info.visual = Visual::HotChecked;
            break;
        }
        break;
    case ThemeClass::Tab:
        switch (state) {
        case TIS_HOT:
            info.visual = Visual::Hot;
            break;
        case TIS_SELECTED:
            info.visual = Visual::Selected;
            break;
        case TIS_DISABLED:
            info.visual = Visual::Disabled;
            break;
        case TIS_FOCUSED:
            info.visual = Visual::Focused;
            break;
        }
        break;
    case ThemeClass::Window:
        if (partInfo.kind == PartKind::Caption || partInfo.kind == PartKind::Frame)
            info.visual = state == CS_INACTIVE   ? Visual::Inactive
                          : state == CS_DISABLED ? Visual::Disabled
                                                 : Visual::Normal;
        else
            info.visual = FourStates(state);
        break;
    case ThemeClass::ListView:
    case ThemeClass::TreeView:
        info.visual = ItemStates(state);
        break;
    case ThemeClass::Trackbar:
        if (partInfo.kind == PartKind::SliderThumb)
            info.visual = state == TUS_HOT        ? Visual::Hot
                          : state == TUS_PRESSED  ? Visual::Pressed
                          : state == TUS_FOCUSED  ? Visual::Focused
                          : state == TUS_DISABLED ? Visual::Disabled
                                                  : Visual::Normal;
        break;
    case ThemeClass::Spin:
    case ThemeClass::ExplorerBar:
    case ThemeClass::Rebar:
    case ThemeClass::Tooltip:
    case ThemeClass::Status:
        info.visual = FourStates(state);
        break;
    }
    if (info.arrow == Arrow::None)
        info.arrow = partInfo.arrow;
    return info;
}

Look LookOf(ThemeClass themeClass, int part, int state) {
    PartInfo partInfo = DescribePart(themeClass, part);
    StateInfo stateInfo = DescribeState(themeClass, part, state);
    Visual visual = stateInfo.visual;
    switch (partInfo.kind) {
    case PartKind::CheckBox:
    case PartKind::RadioButton:
    case PartKind::TreeGlyph:
        if (themeClass == ThemeClass::TreeView) {
            Look look{RGB(166, 166, 166), White, White, visual == Visual::Hot ? Accent : GlyphColor, Text};
            return look;
        }
        return BoxLook(visual);
    case PartKind::Field:
        return FieldLook(visual);
    case PartKind::Fill: {
        Look look = FieldLook(visual);
        look.border = look.faceTop;
        if (themeClass == ThemeClass::Window || themeClass == ThemeClass::Rebar ||
            themeClass == ThemeClass::Tab)
            look.faceTop = look.faceBottom = look.border = RGB(240, 240, 240);
        if (themeClass == ThemeClass::Edit && part == EP_CARET)
            look.faceTop = look.faceBottom = look.border = Text;
        if (themeClass == ThemeClass::ComboBox && part == CP_TRANSPARENTBACKGROUND)
            look.drawFace = false;
        return look;
    }
    case PartKind::GroupBox: {
        Look look{RGB(213, 223, 229), White, White, GlyphColor, Text};
        look.drawFace = false;
        if (visual == Visual::Disabled)
            look.text = GrayText;
        return look;
    }
    case PartKind::FlatButton:
    case PartKind::ListItem:
        return FlatLook(visual);
    case PartKind::HeaderItem:
        return HeaderLook(visual);
    case PartKind::SortArrow: {
        Look look{GlyphColor, White, White, RGB(120, 120, 120), Text};
        look.drawFace = false;
        return look;
    }
    case PartKind::ProgressBar:
    case PartKind::ProgressChunk:
        return ProgressLook(part, stateInfo);
    case PartKind::Caption:
    case PartKind::Frame:
        return CaptionLook(visual);
    case PartKind::CaptionButton:
        return CaptionButtonLook(partInfo.glyph, visual);
    case PartKind::Track:
        if (themeClass == ThemeClass::Trackbar)
            return Look{RGB(214, 214, 214), RGB(231, 234, 234), RGB(231, 234, 234), GlyphColor, Text};
        switch (visual) {
        case Visual::Hot:
            return Look{RGB(229, 229, 229), RGB(229, 229, 229), RGB(229, 229, 229), GlyphColor, Text};
        case Visual::Pressed:
            return Look{RGB(214, 214, 214), RGB(214, 214, 214), RGB(214, 214, 214), GlyphColor, Text};
        case Visual::Disabled:
            return Look{RGB(247, 247, 247), RGB(247, 247, 247), RGB(247, 247, 247), GrayText, GrayText};
        default:
            return Look{RGB(240, 240, 240), RGB(240, 240, 240), RGB(240, 240, 240), GlyphColor, Text};
        }
    case PartKind::Thumb:
        return ThumbLook(visual);
    case PartKind::SliderThumb:
        return SliderThumbLook(visual);
    case PartKind::Gripper:
    case PartKind::SizeBox:
    case PartKind::Separator:
    case PartKind::Tics: {
        Look look{RGB(214, 214, 214), White, White, RGB(160, 160, 160), Text};
        look.drawFace = false;
        return look;
    }
    case PartKind::TabItem:
        return TabLook(visual);
    case PartKind::TabPane:
        return Look{RGB(217, 217, 217), White, White, GlyphColor, Text};
    case PartKind::Tooltip:
        return Look{RGB(118, 118, 118), White, RGB(228, 229, 240), GlyphColor, RGB(87, 87, 87)};
    case PartKind::PushButton:
    case PartKind::ArrowButton:
    case PartKind::None:
        break;
    }
    return ButtonLook(visual);
}

MARGINS ContentMargins(ThemeClass themeClass, int part) {
    PartInfo info = DescribePart(themeClass, part);
    switch (info.kind) {
    case PartKind::PushButton:
    case PartKind::FlatButton:
        return MARGINS{3, 3, 3, 3};
    case PartKind::Field:
    case PartKind::TabPane:
    case PartKind::GroupBox:
    case PartKind::Tooltip:
        return MARGINS{2, 2, 2, 2};
    case PartKind::HeaderItem:
        return MARGINS{4, 4, 2, 2};
    case PartKind::TabItem:
        return MARGINS{6, 6, 2, 2};
    case PartKind::Caption:
        return MARGINS{4, 4, 2, 2};
    case PartKind::ProgressBar:
        return MARGINS{1, 1, 1, 1};
    default:
        return MARGINS{0, 0, 0, 0};
    }
}

} // namespace win32::theme
