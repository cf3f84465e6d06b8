// Names of colours and cursors in descriptions.
#include "platform/framework/Idents.h"

#include <iterator>

#include "platform/rtl/SysStrings.h"

namespace {

struct TIdentMapEntry {
    Int64 value;
    const Char* name;
};

const TIdentMapEntry kColors[] = {
    {clBlack, u"clBlack"},
    {clMaroon, u"clMaroon"},
    {clGreen, u"clGreen"},
    {clOlive, u"clOlive"},
    {clNavy, u"clNavy"},
    {clPurple, u"clPurple"},
    {clTeal, u"clTeal"},
    {clGray, u"clGray"},
    {clSilver, u"clSilver"},
    {clRed, u"clRed"},
    {clLime, u"clLime"},
    {clYellow, u"clYellow"},
    {clBlue, u"clBlue"},
    {clFuchsia, u"clFuchsia"},
    {clAqua, u"clAqua"},
    {clWhite, u"clWhite"},
    {clMoneyGreen, u"clMoneyGreen"},
    {clSkyBlue, u"clSkyBlue"},
    {clCream, u"clCream"},
    {clMedGray, u"clMedGray"},
    {clActiveBorder, u"clActiveBorder"},
    {clActiveCaption, u"clActiveCaption"},
    {clAppWorkSpace, u"clAppWorkSpace"},
    {clBackground, u"clBackground"},
    {clBtnFace, u"clBtnFace"},
    {clBtnHighlight, u"clBtnHighlight"},
    {clBtnShadow, u"clBtnShadow"},
    {clBtnText, u"clBtnText"},
    {clCaptionText, u"clCaptionText"},
    {clDefault, u"clDefault"},
    {clGradientActiveCaption, u"clGradientActiveCaption"},
    {clGradientInactiveCaption, u"clGradientInactiveCaption"},
    {clGrayText, u"clGrayText"},
    {clHighlight, u"clHighlight"},
    {clHighlightText, u"clHighlightText"},
    {clHotLight, u"clHotLight"},
    {clInactiveBorder, u"clInactiveBorder"},
    {clInactiveCaption, u"clInactiveCaption"},
    {clInactiveCaptionText, u"clInactiveCaptionText"},
    {clInfoBk, u"clInfoBk"},
    {clInfoText, u"clInfoText"},
    {clMenu, u"clMenu"},
    {clMenuBar, u"clMenuBar"},
    {clMenuHighlight, u"clMenuHighlight"},
    {clMenuText, u"clMenuText"},
    {clNone, u"clNone"},
    {clScrollBar, u"clScrollBar"},
    {cl3DDkShadow, u"cl3DDkShadow"},
    {cl3DLight, u"cl3DLight"},
    {clWindow, u"clWindow"},
    {clWindowFrame, u"clWindowFrame"},
    {clWindowText, u"clWindowText"},
};

const TIdentMapEntry kCursors[] = {
    {crDefault, u"crDefault"},
    {crNone, u"crNone"},
    {crArrow, u"crArrow"},
    {crCross, u"crCross"},
    {crIBeam, u"crIBeam"},
    {crSize, u"crSize"},
    {crSizeNESW, u"crSizeNESW"},
    {crSizeNS, u"crSizeNS"},
    {crSizeNWSE, u"crSizeNWSE"},
    {crSizeWE, u"crSizeWE"},
    {crUpArrow, u"crUpArrow"},
    {crHourGlass, u"crHourGlass"},
    {crDrag, u"crDrag"},
    {crNoDrop, u"crNoDrop"},
    {crHSplit, u"crHSplit"},
    {crVSplit, u"crVSplit"},
    {crMultiDrag, u"crMultiDrag"},
    {crSQLWait, u"crSQLWait"},
    {crNo, u"crNo"},
    {crAppStart, u"crAppStart"},
    {crHelp, u"crHelp"},
    {crHandPoint, u"crHandPoint"},
    {crSizeAll, u"crSizeAll"},
};

template <std::size_t N> bool ValueToIdent(const TIdentMapEntry (&map)[N], Int64 value, String& ident) {
    for (const TIdentMapEntry& entry : map)
        if (entry.value == value) {
            ident = entry.name;
            return true;
        }
    return false;
}

template <std::size_t N> bool IdentToValue(const TIdentMapEntry (&map)[N], StringView ident, Int64& value) {
    for (const TIdentMapEntry& entry : map)
        if (SameText(entry.name, ident)) {
            value = entry.value;
            return true;
        }
    return false;
}

TTypeInfo IntegerType(const Char* name, Int64 minValue, Int64 maxValue) {
    TTypeInfo info;
    info.kind = tkInteger;
    info.name = name;
    info.minValue = minValue;
    info.maxValue = maxValue;
    return info;
}

} // namespace

bool ColorToIdent(Int64 color, String& ident) {
    return ValueToIdent(kColors, color, ident);
}
bool IdentToColor(StringView ident, Int64& color) {
    return IdentToValue(kColors, ident, color);
}
bool CursorToIdent(Int64 cursor, String& ident) {
    return ValueToIdent(kCursors, cursor, ident);
}
bool IdentToCursor(StringView ident, Int64& cursor) {
    return IdentToValue(kCursors, ident, cursor);
}

const TTypeInfo* TypeInfoColor() {
    static const TTypeInfo info = [] {
        TTypeInfo t = IntegerType(u"TColor", INT32_MIN, INT32_MAX);
        t.intToIdent = ColorToIdent;
        t.identToInt = IdentToColor;
        return t;
    }();
    return &info;
}

const TTypeInfo* TypeInfoCursor() {
    static const TTypeInfo info = [] {
        TTypeInfo t = IntegerType(u"TCursor", INT16_MIN, INT16_MAX);
        t.intToIdent = CursorToIdent;
        t.identToInt = IdentToCursor;
        return t;
    }();
    return &info;
}

const TTypeInfo* TypeInfoShortCut() {
    static const TTypeInfo info = IntegerType(u"TShortCut", 0, 0xFFFF);
    return &info;
}
