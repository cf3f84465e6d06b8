// The grid's appearance and behaviour settings: grouping look, drag-and-drop switches, balloon hints,
// modified-cell highlighting, progress bars, automatic number colours, hover buttons, and the floating
// header image of a dragged column.
#include "grid/engine/AdvGridSettings.h"

#include "grid/engine/AdvGrid.h"
#include "grid/view/AsgDD.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/windraw.h"
#include "platform/win32/winuser.h"
#include "render/AsgHTMLE.h"

// ---- TGrouping

DEFINE_CLASS(
    TGrouping, PROPERTY(AutoCheckGroup).Default(false), PROPERTY(AutoSelectGroup).Default(false),
    PROPERTY(HeaderColor).Type(TypeInfoColor()).Default(clNone),
    PROPERTY(HeaderColorTo).Type(TypeInfoColor()).Default(clNone),
    PROPERTY(HeaderTextColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(HeaderUnderline).Default(false),
    PROPERTY(HeaderLineColor).Type(TypeInfoColor()).Default(clBlue), PROPERTY(HeaderLineWidth).Default(2),
    PROPERTY(MergeHeader).Default(false), PROPERTY(MergeSummary).Default(false),
    PROPERTY(ShowGroupCount).Default(false), PROPERTY(GroupCountFormat), PROPERTY(Summary).Default(false),
    PROPERTY(SummaryColor).Type(TypeInfoColor()).Default(clNone),
    PROPERTY(SummaryColorTo).Type(TypeInfoColor()).Default(clNone),
    PROPERTY(SummaryTextColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(SummaryLine).Default(false),
    PROPERTY(SummaryLineColor).Type(TypeInfoColor()).Default(clBlue), PROPERTY(SummaryLineWidth).Default(2))

TGrouping::TGrouping() = default;

TGrouping::~TGrouping() = default;

void TGrouping::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TGrouping*>(source);
    if (other == nullptr)
        return;
    FGroupCountFormat = other->FGroupCountFormat;
    FHeaderColor = other->FHeaderColor;
    FHeaderColorTo = other->FHeaderColorTo;
    FHeaderTextColor = other->FHeaderTextColor;
    FHeaderUnderline = other->FHeaderUnderline;
    FMergeHeader = other->FMergeHeader;
    FMergeSummary = other->FMergeSummary;
    FShowGroupCount = other->FShowGroupCount;
    FSummaryColor = other->FSummaryColor;
    FSummaryColorTo = other->FSummaryColorTo;
    FSummaryTextColor = other->FSummaryTextColor;
    FSummaryLine = other->FSummaryLine;
    FAutoCheckGroup = other->FAutoCheckGroup;
    FAutoSelectGroup = other->FAutoSelectGroup;
}

// ---- TDragDropSettings

DEFINE_CLASS(TDragDropSettings, PROPERTY(OleAcceptFiles).Default(true), PROPERTY(OleAcceptText).Default(true),
             PROPERTY(OleAcceptURLs).Default(true), PROPERTY(OleAppendRows).Default(false),
             PROPERTY(OleColumnDragDrop).Default(false), PROPERTY(OleColumnsOnly).Default(false),
             PROPERTY(OleColumnReorder).Default(false), PROPERTY(OleCopyAlways).Default(false),
             PROPERTY(OleDropRTF).Default(false), PROPERTY(OleDropSource).Default(false),
             PROPERTY(OleDropTarget).Default(false), PROPERTY(OleEntireRows).Default(false),
             PROPERTY(OleInsertRows).Default(false), PROPERTY(OleRemoveRows).Default(false),
             PROPERTY(ShowCells).Default(true))

TDragDropSettings::TDragDropSettings(TComponent* AOwner) : FOwner(AOwner) {}

TDragDropSettings::~TDragDropSettings() = default;

void TDragDropSettings::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TDragDropSettings*>(source);
    if (other == nullptr)
        return;
    FOleDropTarget = other->FOleDropTarget;
    FOleDropSource = other->FOleDropSource;
    FOleAcceptFiles = other->FOleAcceptFiles;
    FOleAcceptText = other->FOleAcceptText;
    FOleAcceptURLs = other->FOleAcceptURLs;
    FOleDropRTF = other->FOleDropRTF;
    FOleEntireRows = other->FOleEntireRows;
    FOleInsertRows = other->FOleInsertRows;
    FOleRemoveRows = other->FOleRemoveRows;
    FOleAppendRows = other->FOleAppendRows;
    FOleCopyAlways = other->FOleCopyAlways;
    FOleColumnDragDrop = other->FOleColumnDragDrop;
    FOleColumnsOnly = other->FOleColumnsOnly;
    FOleColumnReorder = other->FOleColumnReorder;
    FShowCells = other->FShowCells;
}

void TDragDropSettings::SetOleDropTarget(bool value) {
    FOleDropTarget = value;
    // A grid in the designer takes no drops; the flag only travels with the form.
    if (FOwner != nullptr && FOwner->ComponentState().Contains(csDesigning))
        return;
    if (OnOleDropTargetChange)
        OnOleDropTargetChange(this);
}

void TDragDropSettings::SetOleDropRTF(bool value) {
    FOleDropRTF = value;
    RTFDropEnabled = value;
}

// ---- TBalloonSettings

DEFINE_CLASS(TBalloonSettings, PROPERTY(AutoHideDelay).Default(-1),
             PROPERTY(BackgroundColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(Enable).Default(false),
             PROPERTY(InitialDelay).Default(-1), PROPERTY(ReshowDelay).Default(-1),
             PROPERTY(TextColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(Transparency).Default(0))

TBalloonSettings::TBalloonSettings() = default;

TBalloonSettings::~TBalloonSettings() = default;

void TBalloonSettings::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TBalloonSettings*>(source);
    if (other == nullptr)
        return;
    FTextColor = other->FTextColor;
    FBackgroundColor = other->FBackgroundColor;
    FInitialDelay = other->FInitialDelay;
    FAutoHideDelay = other->FAutoHideDelay;
    FReshowDelay = other->FReshowDelay;
    FEnable = other->FEnable;
}

void TBalloonSettings::SetEnable(bool value) {
    if (FEnable == value)
        return;
    FEnable = value;
    if (OnEnableChange)
        OnEnableChange(this);
}

// ---- TShowModified

DEFINE_CLASS(TShowModified, PROPERTY(Color).Type(TypeInfoColor()).Default(clYellow),
             PROPERTY(Enabled).Default(false))

TShowModified::TShowModified() = default;

TShowModified::~TShowModified() = default;

void TShowModified::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TShowModified*>(source);
    if (other == nullptr)
        return;
    FColor = other->FColor;
    FEnabled = other->FEnabled;
}

void TShowModified::SetColor(TColor value) {
    FColor = value;
    if (OnChange)
        OnChange(this);
}

// ---- TGridProgressAppearance

DEFINE_CLASS(TGridProgressAppearance, PROPERTY(CompleteColor).Type(TypeInfoColor()).Default(clRed),
             PROPERTY(CompleteFontColor).Type(TypeInfoColor()).Default(clBlue),
             PROPERTY(UnCompleteColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(UnCompleteFontColor).Type(TypeInfoColor()).Default(clWindowText),
             PROPERTY(Level0Color).Type(TypeInfoColor()).Default(0x00FF00),
             PROPERTY(Level0ColorTo).Type(TypeInfoColor()).Default(0xE1FFE1),
             PROPERTY(Level1Color).Type(TypeInfoColor()).Default(0x00FFFF),
             PROPERTY(Level1ColorTo).Type(TypeInfoColor()).Default(0xCAFFFF),
             PROPERTY(Level2Color).Type(TypeInfoColor()).Default(0x53A9FF),
             PROPERTY(Level2ColorTo).Type(TypeInfoColor()).Default(0xA8D3FF),
             PROPERTY(Level3Color).Type(TypeInfoColor()).Default(0x0000FF),
             PROPERTY(Level3ColorTo).Type(TypeInfoColor()).Default(0xCACAFF),
             PROPERTY(Level1Perc).Default(70), PROPERTY(Level2Perc).Default(90),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clBlack),
             PROPERTY(ShowBorder).Default(false), PROPERTY(Stacked).Default(false),
             PROPERTY(ShowPercentage).Default(true), PROPERTY(CompletionSmooth).Default(true),
             PROPERTY(ShowGradient).Default(true), PROPERTY(Steps).Default(11), PROPERTY(Style).Default(psXP))

TGridProgressAppearance::TGridProgressAppearance() = default;

TGridProgressAppearance::~TGridProgressAppearance() = default;

void TGridProgressAppearance::Changed() {
    if (OnChange)
        OnChange(this);
}

void TGridProgressAppearance::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TGridProgressAppearance*>(source);
    if (other == nullptr)
        return;
    FCompleteColor = other->FCompleteColor;
    FUnCompleteColor = other->FUnCompleteColor;
    FCompleteFontColor = other->FCompleteFontColor;
    FUnCompleteFontColor = other->FUnCompleteFontColor;
    FLevel0Color = other->FLevel0Color;
    FLevel0ColorTo = other->FLevel0ColorTo;
    FLevel1Color = other->FLevel1Color;
    FLevel1ColorTo = other->FLevel1ColorTo;
    FLevel2Color = other->FLevel2Color;
    FLevel2ColorTo = other->FLevel2ColorTo;
    FLevel3Color = other->FLevel3Color;
    FLevel3ColorTo = other->FLevel3ColorTo;
    FLevel1Perc = other->FLevel1Perc;
    FLevel2Perc = other->FLevel2Perc;
    FSteps = other->FSteps;
    FBorderColor = other->FBorderColor;
    FShowBorder = other->FShowBorder;
    FStacked = other->FStacked;
    FShowPercentage = other->FShowPercentage;
    FCompletionSmooth = other->FCompletionSmooth;
    FShowGradient = other->FShowGradient;
    FStyle = other->FStyle;
    Changed();
}

// ---- TColorSetting

DEFINE_CLASS(TColorSetting, PROPERTY(TextColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(BkgColor).Type(TypeInfoColor()).Default(clNone))

TColorSetting::TColorSetting() = default;

TColorSetting::~TColorSetting() = default;

void TColorSetting::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TColorSetting*>(source);
    if (other == nullptr)
        return;
    FTextColor = other->FTextColor;
    FBkgColor = other->FBkgColor;
}

void TColorSetting::Changed() {
    if (OnChange)
        OnChange(this);
}

void TColorSetting::SetTextColor(TColor value) {
    if (FTextColor == value)
        return;
    FTextColor = value;
    Changed();
}

void TColorSetting::SetBkgColor(TColor value) {
    if (FBkgColor == value)
        return;
    FBkgColor = value;
    Changed();
}

// ---- TAutoColor

DEFINE_CLASS(TAutoColor, PROPERTY(NegativeNumber), PROPERTY(PositiveNumber))

TAutoColor::TAutoColor()
    : FNegativeNumber(std::make_unique<TColorSetting>()), FPositiveNumber(std::make_unique<TColorSetting>()) {
    FNegativeNumber->OnChange = [this](TObject*) { Changed(); };
    FPositiveNumber->OnChange = [this](TObject*) { Changed(); };
}

TAutoColor::~TAutoColor() = default;

void TAutoColor::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TAutoColor*>(source);
    if (other == nullptr)
        return;
    FNegativeNumber->Assign(other->FNegativeNumber.get());
    FPositiveNumber->Assign(other->FPositiveNumber.get());
}

void TAutoColor::Changed() {
    if (OnChange)
        OnChange(this);
}

bool TAutoColor::HasColors() const {
    return FNegativeNumber->TextColor() != clNone || FNegativeNumber->BkgColor() != clNone ||
           FPositiveNumber->TextColor() != clNone || FPositiveNumber->BkgColor() != clNone;
}

// ---- THoverButtonsCollectionItem

DEFINE_CLASS(THoverButtonsCollectionItem, PROPERTY(Caption), PROPERTY(Enabled).Default(true),
             PROPERTY(Flat).Default(false), PROPERTY(Hint), PROPERTY(ImageIndex).Default(0),
             PROPERTY(Picture), PROPERTY(Tag).Default(0), PROPERTY(Width).Default(0))

THoverButtonsCollectionItem::THoverButtonsCollectionItem(TCollection* collection)
    : TCollectionItem(collection), FPicture(std::make_unique<TPicture>()) {}

THoverButtonsCollectionItem::~THoverButtonsCollectionItem() = default;

void THoverButtonsCollectionItem::Assign(TPersistent* source) {
    auto* other = dynamic_cast<THoverButtonsCollectionItem*>(source);
    if (other == nullptr)
        return;
    FTag = other->FTag;
    FFlat = other->FFlat;
    FEnabled = other->FEnabled;
    FCaption = other->FCaption;
    FHint = other->FHint;
    FPicture->Assign(other->FPicture.get());
    FWidth = other->FWidth;
}

// ---- THoverButtonsCollection

DEFINE_CLASS(THoverButtonsCollection)

THoverButtonsCollection::THoverButtonsCollection(TPersistent* AOwner)
    : TOwnedCollection(AOwner, THoverButtonsCollectionItem::StaticClass()) {}

THoverButtonsCollection::~THoverButtonsCollection() = default;

THoverButtonsCollectionItem* THoverButtonsCollection::Add() {
    return static_cast<THoverButtonsCollectionItem*>(TOwnedCollection::Add());
}

THoverButtonsCollectionItem* THoverButtonsCollection::Insert(Integer Index) {
    return static_cast<THoverButtonsCollectionItem*>(TOwnedCollection::Insert(Index));
}

THoverButtonsCollectionItem* THoverButtonsCollection::Items(Integer Index) const {
    return static_cast<THoverButtonsCollectionItem*>(TOwnedCollection::Items(Index));
}

void THoverButtonsCollection::SetItems(Integer Index, THoverButtonsCollectionItem* value) {
    TOwnedCollection::SetItems(Index, value);
}

// ---- THoverButtons

DEFINE_CLASS(THoverButtons, PROPERTY(Buttons), PROPERTY(Column).Default(0), PROPERTY(Enabled).Default(false),
             PROPERTY(Position).Default(hbLeftFromColumnLeft), PROPERTY(Rows).Default(hrNormal))

THoverButtons::THoverButtons(TComponent* AOwner)
    : FOwner(AOwner), FButtons(std::make_unique<THoverButtonsCollection>(this)) {}

THoverButtons::~THoverButtons() = default;

void THoverButtons::Assign(TPersistent* source) {
    auto* other = dynamic_cast<THoverButtons*>(source);
    if (other == nullptr)
        return;
    FEnabled = other->FEnabled;
    FButtons->Assign(other->FButtons.get());
    FColumn = other->FColumn;
    FPosition = other->FPosition;
    FRows = other->FRows;
}

// ---- THeaderDragButton

DEFINE_CLASS(THeaderDragButton)

THeaderDragButton::THeaderDragButton(TComponent* AOwner) : TCustomControl(AOwner) {}

THeaderDragButton::~THeaderDragButton() = default;

void THeaderDragButton::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.WindowClass.style |= CS_SAVEBITS;
    SetColor(clBtnFace);
}

void THeaderDragButton::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    // The face of a fixed header cell, painted by the grid (which also gives the canvas its font).
    if (FGrid != nullptr)
        FGrid->PaintCellExt(canvas, 0, 0, client, TGridDrawState{gdFixed});
    canvas->Brush()->SetStyle(bsClear);
    if (FCaption.find(u"</") == String::npos) {
        RECT rect = client;
        DrawText(canvas->Handle(), FCaption.c_str(), -1, &rect,
                 DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
        return;
    }
    THTMLRenderResult html;
    RenderMiniHTML(canvas, FCaption, client, FGrid != nullptr ? FGrid->GridImages() : nullptr, -1, -1, -1, -1,
                   0, false, false, false, false, true, true, true, false, String(), 1.0, clBlue, clNone,
                   clNone, clGray, html, nullptr, nullptr, nullptr, bdLeftToRight);
}
