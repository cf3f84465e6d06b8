// Typed access to cell text: integers and reals written with fixed formats and read back with the
// locale's separators.
#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysStrings.h"

namespace {

// The text as a reader sees it: trimmed, with an empty text or a lone minus sign counting as 0.
String NumberOrZero(const String& text) {
    String s = Trim(text);
    if (s.empty() || s == u"-")
        return u"0";
    return s;
}

// Reals are read with a point as the decimal mark whatever the locale: the callers clean the text first.
bool ReadPointReal(const String& text, Extended& value) {
    TFormatSettings settings = FormatSettings;
    settings.DecimalSeparator = u'.';
    settings.ThousandSeparator = u',';
    return TryStrToFloat(text, value, settings);
}

[[noreturn]] void RaiseNoInteger() {
    throw EAdvGridError(AdvGridErrors::NoIntegerValue);
}

[[noreturn]] void RaiseNoFloat() {
    throw EAdvGridError(AdvGridErrors::NoFloatValue);
}

double ReadCleanReal(const String& text) {
    String s = CleanNumberText(text);
    if (s.empty() || s == u"-")
        return 0;
    Extended value = 0;
    if (!ReadPointReal(s, value))
        RaiseNoFloat();
    return value;
}

} // namespace

void TAdvStringGrid::SetInts(Integer ACol, Integer ARow, Integer Value) {
    SetCellEx(ACol, ARow, IntToStr(Value));
    if (FNumHidden > 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

Integer TAdvStringGrid::GetInts(Integer ACol, Integer ARow) {
    const String s = NumberOrZero(GetStrippedCell(ACol, ARow));
    const bool separated =
        s.find(GetDecimalSeparator()) != String::npos || s.find(GetThousandSeparator()) != String::npos;
    if (!separated) {
        Integer value = 0;
        if (!TryStrToInt(s, value))
            RaiseNoInteger();
        return value;
    }
    // Cleaned as Floats cleans it, so that the locale's own separators read as they are meant.
    const String clean = CleanNumberText(s);
    Extended value = 0;
    if (clean.empty() || clean == u"-" || !ReadPointReal(clean, value) || !(value > -2147483648.5) ||
        !(value < 2147483647.5))
        RaiseNoInteger();
    return static_cast<Integer>(Round(value));
}

void TAdvStringGrid::SetAllInts(Integer ACol, Integer ARow, Integer Value) {
    SetCellsEx(ACol, ARow, IntToStr(Value));
}

Integer TAdvStringGrid::GetAllInts(Integer ACol, Integer ARow) {
    Integer value = 0;
    if (!TryStrToInt(NumberOrZero(GetCellsEx(ACol, ARow)), value))
        RaiseNoInteger();
    return value;
}

String TAdvStringGrid::GetFloatFormat(Integer /*ACol*/, Integer /*ARow*/) {
    return FFloatFormat;
}

void TAdvStringGrid::SetFloats(Integer ACol, Integer ARow, double Value) {
    SetCellEx(ACol, ARow, Format(GetFloatFormat(ACol, ARow), {Value}));
}

double TAdvStringGrid::GetFloats(Integer ACol, Integer ARow) {
    return ReadCleanReal(GetStrippedCell(ACol, ARow));
}

void TAdvStringGrid::SetAllFloats(Integer ACol, Integer ARow, double Value) {
    SetCellsEx(ACol, ARow, Format(FFloatFormat, {Value}));
}

double TAdvStringGrid::GetAllFloats(Integer ACol, Integer ARow) {
    return ReadCleanReal(GetCellsEx(ACol, ARow));
}

void TAdvStringGrid::DoGetDisplText(Integer ACol, Integer ARow, String& Value) {
    TBaseGrid::DoGetDisplText(ACol, ARow, Value);
    if (!FURLShowInText)
        return;
    // "WWW." is tried before the secure scheme, so a secure address holding "www." gets its anchor from
    // "www." on.
    for (const Char* prefix :
         {u"HTTP://", u"WWW.", u"MAILTO:", u"HTTPS://", u"NNTP://", u"FILE://", u"FTP://"}) {
        String html;
        if (InsertURLAnchor(Value, prefix, html)) {
            Value = html;
            return;
        }
    }
}

Integer TAdvStringGrid::GetCellGraphicKey(Integer /*ACol*/, Integer /*ARow*/) {
    return -1;
}
