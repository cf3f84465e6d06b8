// TAdvStringGrid's print settings as one section of an INI file: integers in decimal, flags "Y" or "N",
// colours as the decimal value of the 32-bit colour, font styles as bits (bold, italic, underline,
// strike-out) and enumerations as their ordinals. The file is written through the INI store's UpdateFile,
// which replaces it only with a complete copy.
#include "grid/engine/AdvGrid.h"
#include "platform/rtl/IniFiles.h"

namespace {

String Flag(bool value) {
    return value ? u"Y" : u"N";
}

// Only the exact value "Y" is true.
bool ReadFlag(TCustomIniFile& ini, const String& section, const String& key, bool defaultValue) {
    return ini.ReadString(section, key, Flag(defaultValue)) == u"Y";
}

Integer StyleBits(TFontStyles style) {
    Integer bits = 0;
    if (style.Contains(fsBold))
        bits |= 1;
    if (style.Contains(fsItalic))
        bits |= 2;
    if (style.Contains(fsUnderline))
        bits |= 4;
    if (style.Contains(fsStrikeOut))
        bits |= 8;
    return bits;
}

void WriteFont(TCustomIniFile& ini, const String& section, const String& prefix, TFont* font) {
    ini.WriteString(section, prefix + u"Name", font->Name());
    ini.WriteInteger(section, prefix + u"Size", font->Size());
    ini.WriteInteger(section, prefix + u"Style", StyleBits(font->Style()));
    ini.WriteInteger(section, prefix + u"Color", static_cast<Integer>(font->Color()));
}

// Name, size, then colour; a style bit set in the file turns that style on, a clear one leaves the
// font's style as it was.
void ReadFont(TCustomIniFile& ini, const String& section, const String& prefix, TFont* font) {
    font->SetName(ini.ReadString(section, prefix + u"Name", u"Arial"));
    font->SetSize(ini.ReadInteger(section, prefix + u"Size", 10));
    const Integer bits = ini.ReadInteger(section, prefix + u"Style", 0);
    TFontStyles style = font->Style();
    if (bits & 1)
        style.Include(fsBold);
    if (bits & 2)
        style.Include(fsItalic);
    if (bits & 4)
        style.Include(fsUnderline);
    if (bits & 8)
        style.Include(fsStrikeOut);
    font->SetStyle(style);
    font->SetColor(static_cast<TColor>(ini.ReadInteger(section, prefix + u"Color", 0)));
}

// Positions 1 to 6 are the six places; anything else, 0 included, is none.
TPrintPosition ReadPosition(TCustomIniFile& ini, const String& section, const String& key) {
    const Integer value = ini.ReadInteger(section, key, 0);
    return value >= 1 && value <= 6 ? static_cast<TPrintPosition>(value) : ppNone;
}

// An ordinal in 0 .. last, else nothing.
template <class E>
void ReadOrdinal(TCustomIniFile& ini, const String& section, const String& key, Integer last, E& field) {
    const Integer value = ini.ReadInteger(section, key, 0);
    if (value >= 0 && value <= last)
        field = static_cast<E>(value);
}

} // namespace

void TAdvStringGrid::SavePrintSettings(const String& Key, const String& Section) {
    TPrintSettings* s = PrintSettings();
    TMemIniFile ini(Key);
    ini.WriteInteger(Section, u"ColumnSpacing", s->ColumnSpacing());
    ini.WriteInteger(Section, u"RowSpacing", s->RowSpacing());
    ini.WriteInteger(Section, u"TitleSpacing", s->TitleSpacing());
    ini.WriteInteger(Section, u"FixedHeight", s->FixedHeight());
    ini.WriteInteger(Section, u"FixedWidth", s->FixedWidth());
    ini.WriteString(Section, u"Centered", Flag(s->Centered()));
    ini.WriteString(Section, u"NoAutoSize", Flag(s->NoAutoSize()));
    ini.WriteString(Section, u"NoAutoSizeRow", Flag(s->NoAutoSizeRow()));
    ini.WriteString(Section, u"UseFixedHeight", Flag(s->UseFixedHeight()));
    ini.WriteString(Section, u"UseFixedWidth", Flag(s->UseFixedWidth()));
    ini.WriteString(Section, u"RepeatFixedRows", Flag(s->RepeatFixedRows()));
    ini.WriteString(Section, u"RepeatFixedCols", Flag(s->RepeatFixedCols()));
    ini.WriteString(Section, u"UseDisplFont", Flag(s->UseDisplayFont()));
    ini.WriteString(Section, u"UseDefOrientation", Flag(s->UseDefaultOrientation()));
    ini.WriteInteger(Section, u"Borders", static_cast<Integer>(s->Borders()));
    ini.WriteInteger(Section, u"BorderColor", static_cast<Integer>(s->BorderColor()));
    ini.WriteInteger(Section, u"BorderStyle", static_cast<Integer>(s->BorderStyle()));
    ini.WriteInteger(Section, u"Date", static_cast<Integer>(s->Date()));
    ini.WriteInteger(Section, u"PageNr", static_cast<Integer>(s->PageNr()));
    ini.WriteInteger(Section, u"Title", static_cast<Integer>(s->Title()));
    ini.WriteInteger(Section, u"Time", static_cast<Integer>(s->Time()));
    ini.WriteString(Section, u"DateFormat", s->DateFormat());
    ini.WriteString(Section, u"TitleText", s->TitleText());
    ini.WriteInteger(Section, u"FooterSize", s->FooterSize());
    ini.WriteInteger(Section, u"HeaderSize", s->HeaderSize());
    ini.WriteInteger(Section, u"LeftSize", s->LeftSize());
    ini.WriteInteger(Section, u"RightSize", s->RightSize());
    ini.WriteInteger(Section, u"FitToPage", static_cast<Integer>(s->FitToPage()));
    WriteFont(ini, Section, u"Font", s->Font());
    WriteFont(ini, Section, u"HeaderFont", s->HeaderFont());
    WriteFont(ini, Section, u"FooterFont", s->FooterFont());
    ini.WriteString(Section, u"PageNumSep", s->PageNumSep());
    ini.WriteString(Section, u"PageSuffix", s->PageSuffix());
    ini.WriteString(Section, u"PagePrefix", s->PagePrefix());
    ini.WriteInteger(Section, u"Orientation", static_cast<Integer>(s->Orientation()));
    ini.WriteString(Section, u"TitleLines", EscapeNewLines(s->TitleLines()->Text()));
    ini.WriteString(Section, u"PrintGraphics", Flag(s->PrintGraphics()));
    ini.UpdateFile();
}

void TAdvStringGrid::LoadPrintSettings(const String& Key, const String& Section) {
    TPrintSettings* s = PrintSettings();
    TMemIniFile ini(Key);
    s->SetColumnSpacing(ini.ReadInteger(Section, u"ColumnSpacing", 20));
    s->SetRowSpacing(ini.ReadInteger(Section, u"RowSpacing", 20));
    s->SetTitleSpacing(ini.ReadInteger(Section, u"TitleSpacing", 20));
    s->SetFixedHeight(ini.ReadInteger(Section, u"FixedHeight", 0));
    s->SetFixedWidth(ini.ReadInteger(Section, u"FixedWidth", 0));
    s->SetCentered(ReadFlag(ini, Section, u"Centered", true));
    s->SetNoAutoSize(ReadFlag(ini, Section, u"NoAutoSize", false));
    s->SetNoAutoSizeRow(ReadFlag(ini, Section, u"NoAutoSizeRow", false));
    s->SetUseFixedHeight(ReadFlag(ini, Section, u"UseFixedHeight", false));
    s->SetUseFixedWidth(ReadFlag(ini, Section, u"UseFixedWidth", false));
    s->SetRepeatFixedRows(ReadFlag(ini, Section, u"RepeatFixedRows", false));
    s->SetRepeatFixedCols(ReadFlag(ini, Section, u"RepeatFixedCols", false));
    s->SetUseDisplayFont(ReadFlag(ini, Section, u"UseDisplFont", false));
    s->SetUseDefaultOrientation(ReadFlag(ini, Section, u"UseDefOrientation", false));
    s->SetDateFormat(ini.ReadString(Section, u"DateFormat", String()));
    s->SetTitleText(ini.ReadString(Section, u"TitleText", String()));
    s->SetFooterSize(ini.ReadInteger(Section, u"FooterSize", 100));
    s->SetHeaderSize(ini.ReadInteger(Section, u"HeaderSize", 100));
    s->SetLeftSize(ini.ReadInteger(Section, u"LeftSize", 100));
    s->SetRightSize(ini.ReadInteger(Section, u"RightSize", 100));
    s->SetPageNumSep(ini.ReadString(Section, u"PageNumSep", String()));
    s->SetPageSuffix(ini.ReadString(Section, u"PageSuffix", String()));
    s->SetPagePrefix(ini.ReadString(Section, u"PagePrefix", String()));
    s->SetPrintGraphics(ReadFlag(ini, Section, u"PrintGraphics", false));
    TPrintBorders borders = s->Borders();
    ReadOrdinal(ini, Section, u"Borders", 8, borders);
    s->SetBorders(borders);
    TPenStyle penStyle = s->BorderStyle();
    ReadOrdinal(ini, Section, u"BorderStyle", 6, penStyle);
    s->SetBorderStyle(penStyle);
    s->SetBorderColor(static_cast<TColor>(ini.ReadInteger(Section, u"BorderColor", 0)));
    s->SetDate(ReadPosition(ini, Section, u"Date"));
    s->SetPageNr(ReadPosition(ini, Section, u"PageNr"));
    s->SetTitle(ReadPosition(ini, Section, u"Title"));
    s->SetTime(ReadPosition(ini, Section, u"Time"));
    TFitToPage fit = s->FitToPage();
    ReadOrdinal(ini, Section, u"FitToPage", 4, fit);
    s->SetFitToPage(fit);
    ReadFont(ini, Section, u"Font", s->Font());
    ReadFont(ini, Section, u"HeaderFont", s->HeaderFont());
    ReadFont(ini, Section, u"FooterFont", s->FooterFont());
    s->TitleLines()->SetText(UnescapeNewLines(ini.ReadString(Section, u"TitleLines", String())));
    TPrinterOrientation orientation = s->Orientation();
    ReadOrdinal(ini, Section, u"Orientation", 1, orientation);
    s->SetOrientation(orientation);
    ini.UpdateFile();
}
