// The grid's column-size, HTML-export and print settings with their defaults, and the cell checker
// base, which changes nothing.
#include "grid/engine/AdvGridSettings.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/PropertyInfo.h"

// ---- TColumnSize

DEFINE_CLASS(TColumnSize, PROPERTY(Save).Default(false), PROPERTY(Key), PROPERTY(Section),
             PROPERTY(Stretch).Default(false), PROPERTY(StretchColumn).Default(-1),
             PROPERTY(StretchAll).Default(false), PROPERTY(SynchWithGrid).Default(false),
             PROPERTY(SynchNormalCellsOnly).Default(false), PROPERTY(Location).Default(clRegistry),
             PROPERTY(Rows).Default(arAll))

TColumnSize::TColumnSize(TComponent* AOwner) : FOwner(AOwner) {}

TColumnSize::~TColumnSize() = default;

void TColumnSize::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TColumnSize*>(source);
    if (other == nullptr)
        return;
    FRows = other->FRows;
    FSave = other->FSave;
    FKey = other->FKey;
    FSection = other->FSection;
    FStretch = other->FStretch;
    FStretchColumn = other->FStretchColumn;
    FSynchWithGrid = other->FSynchWithGrid;
    FSynchNormalCellsOnly = other->FSynchNormalCellsOnly;
    FLocation = other->FLocation;
}

void TColumnSize::RequestStretch(TColumnStretchRequest request) {
    if (OnStretch)
        OnStretch(this, request);
}

void TColumnSize::SetStretch(bool value) {
    FStretch = value;
    // A grid without a parent has no client width to stretch to yet.
    auto* control = dynamic_cast<TControl*>(FOwner);
    if (control != nullptr && control->Parent() != nullptr)
        RequestStretch(TColumnStretchRequest::StretchColumn);
}

void TColumnSize::SetStretchAll(bool value) {
    if (FStretchAll == value)
        return;
    if (value)
        FStretchColumn = -1;
    FStretchAll = value;
    RequestStretch(TColumnStretchRequest::AllColumns);
}

// ---- THTMLSettings

DEFINE_CLASS(THTMLSettings, PROPERTY(AutoPreview).Default(false),
             PROPERTY(ConvertSpecialChars).Default(false), PROPERTY(NonBreakingText).Default(false),
             PROPERTY(SaveColor).Default(true), PROPERTY(SaveFonts).Default(true), PROPERTY(FooterFile),
             PROPERTY(HeaderFile), PROPERTY(BorderSize).Default(1), PROPERTY(CellSpacing).Default(0),
             PROPERTY(CellPadding).Default(0), PROPERTY(TableStyle), PROPERTY(PrefixTag), PROPERTY(SuffixTag),
             PROPERTY(Summary), PROPERTY(HeaderText), PROPERTY(FooterText), PROPERTY(Width).Default(100),
             PROPERTY(XHTML).Default(false), PROPERTY(ExportImages).Default(true))

THTMLSettings::THTMLSettings() : FColWidths(std::make_unique<TIntList>(0, 0)) {}

THTMLSettings::~THTMLSettings() = default;

void THTMLSettings::Assign(TPersistent* source) {
    auto* other = dynamic_cast<THTMLSettings*>(source);
    if (other == nullptr)
        return;
    FBorderSize = other->FBorderSize;
    FCellSpacing = other->FCellSpacing;
    FCellPadding = other->FCellPadding;
    FSaveColor = other->FSaveColor;
    FSaveFonts = other->FSaveFonts;
    FFooterFile = other->FFooterFile;
    FFooterText = other->FFooterText;
    FHeaderFile = other->FHeaderFile;
    FHeaderText = other->FHeaderText;
    FTableStyle = other->FTableStyle;
    FPrefixTag = other->FPrefixTag;
    FSuffixTag = other->FSuffixTag;
    FSummary = other->FSummary;
    FWidth = other->FWidth;
    FXHTML = other->FXHTML;
    FConvertSpecialChars = other->FConvertSpecialChars;
    FAutoPreview = other->FAutoPreview;
    FNonBreakingText = other->FNonBreakingText;
}

// ---- TPrintSettings

// Streamed in this order, which form descriptions of grids keep.
DEFINE_CLASS(TPrintSettings, PROPERTY(FooterSize).Default(0), PROPERTY(HeaderSize).Default(0),
             PROPERTY(Time).Default(ppNone), PROPERTY(Date).Default(ppNone), PROPERTY(DateFormat),
             PROPERTY(PageNr).Default(ppNone), PROPERTY(Title).Default(ppNone), PROPERTY(TitleText),
             PROPERTY(TitleLines), PROPERTY(Font), PROPERTY(FixedFont), PROPERTY(HeaderFont),
             PROPERTY(FooterFont), PROPERTY(Borders).Default(pbSingle),
             PROPERTY(BorderStyle).Default(psSolid),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clBlack), PROPERTY(Centered).Default(true),
             PROPERTY(RepeatFixedRows).Default(false), PROPERTY(RepeatFixedCols).Default(false),
             PROPERTY(LeftSize).Default(0), PROPERTY(RightSize).Default(0),
             PROPERTY(ColumnSpacing).Default(0), PROPERTY(RowSpacing).Default(0),
             PROPERTY(TitleSpacing).Default(0), PROPERTY(Orientation).Default(poPortrait),
             PROPERTY(PagePrefix), PROPERTY(PageSuffix), PROPERTY(PageNumberOffset).Default(0),
             PROPERTY(MaxPagesOffset).Default(0), PROPERTY(FixedWidth).Default(0),
             PROPERTY(FixedHeight).Default(0), PROPERTY(UseFixedHeight).Default(false),
             PROPERTY(UseFixedWidth).Default(false), PROPERTY(FitToPage).Default(fpNever), PROPERTY(JobName),
             PROPERTY(PageNumSep), PROPERTY(NoAutoSize).Default(false),
             PROPERTY(NoAutoSizeRow).Default(false), PROPERTY(PrintGraphics).Default(false),
             PROPERTY(UseDisplayFont).Default(true), PROPERTY(UseDefaultOrientation).Default(false))

TPrintSettings::TPrintSettings(TComponent* AOwner)
    : FOwner(AOwner), FFont(std::make_unique<TFont>()), FHeaderFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>()), FTitleLines(std::make_unique<TStringList>()),
      FFixedFont(std::make_unique<TFont>()) {}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::Assign(TPersistent* source) {
    // A type-tested cast: print settings copy from print settings only, and say so when asked otherwise.
    auto* other = dynamic_cast<TPrintSettings*>(source);
    if (other == nullptr)
        throw EInvalidCast(Consts::SInvalidCast);
    FFooterSize = other->FFooterSize;
    FHeaderSize = other->FHeaderSize;
    FTime = other->FTime;
    FDate = other->FDate;
    FDateFormat = other->FDateFormat;
    FPageNr = other->FPageNr;
    FTitle = other->FTitle;
    FTitleText = other->FTitleText;
    FTitleLines->Assign(other->FTitleLines.get());
    FFont->Assign(other->FFont.get());
    FFixedFont->Assign(other->FFixedFont.get());
    FHeaderFont->Assign(other->FHeaderFont.get());
    FFooterFont->Assign(other->FFooterFont.get());
    FBorders = other->FBorders;
    FBorderStyle = other->FBorderStyle;
    FBorderColor = other->FBorderColor;
    FCentered = other->FCentered;
    FRepeatFixedRows = other->FRepeatFixedRows;
    FRepeatFixedCols = other->FRepeatFixedCols;
    FLeftSize = other->FLeftSize;
    FRightSize = other->FRightSize;
    FColumnSpacing = other->FColumnSpacing;
    FRowSpacing = other->FRowSpacing;
    FTitleSpacing = other->FTitleSpacing;
    FOrientation = other->FOrientation;
    FPagePrefix = other->FPagePrefix;
    FPageSuffix = other->FPageSuffix;
    FPageNumberOffset = other->FPageNumberOffset;
    FMaxPagesOffset = other->FMaxPagesOffset;
    FFixedWidth = other->FFixedWidth;
    FFixedHeight = other->FFixedHeight;
    FUseFixedHeight = other->FUseFixedHeight;
    FUseFixedWidth = other->FUseFixedWidth;
    FFitToPage = other->FFitToPage;
    FJobName = other->FJobName;
    FPageNumSep = other->FPageNumSep;
    FNoAutoSize = other->FNoAutoSize;
    FNoAutoSizeRow = other->FNoAutoSizeRow;
    FPrintGraphics = other->FPrintGraphics;
    FUseDisplayFont = other->FUseDisplayFont;
    FUseDefaultOrientation = other->FUseDefaultOrientation;
}

// ---- TAdvStringGridCheck

DEFINE_CLASS(TAdvStringGridCheck, PROPERTY(AutoCorrect), PROPERTY(AutoMarkError), PROPERTY(GotoCell),
             PROPERTY(UseCorrect), PROPERTY(UseMarkError))

TAdvStringGridCheck::TAdvStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}

TAdvStringGridCheck::~TAdvStringGridCheck() = default;

String TAdvStringGridCheck::MarkError(Integer, Integer, const String& s) {
    return s;
}

String TAdvStringGridCheck::Correct(Integer, Integer, const String& s) {
    return s;
}

void TAdvStringGridCheck::StartCheck() {}

void TAdvStringGridCheck::StopCheck() {}
