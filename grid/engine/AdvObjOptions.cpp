// The grid's published settings groups: search footer, navigation, mouse actions, grid
// synchronisation, row bands and focus helper, with their defaults and the events their setters fire.
#include "grid/engine/AdvObj.h"

#include "platform/framework/Component.h"
#include "platform/framework/Grids.h"
#include "platform/rtl/PropertyInfo.h"

// ---- TSearchFooter

DEFINE_CLASS(TSearchFooter, PROPERTY(Visible).Default(false),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clWhite),
             PROPERTY(ColorTo).Type(TypeInfoColor()).Default(clBtnFace), PROPERTY(Font),
             PROPERTY(ShowClose).Default(true), PROPERTY(ShowFindNext).Default(true),
             PROPERTY(ShowFindPrev).Default(true), PROPERTY(ShowHighLight).Default(true),
             PROPERTY(ShowMatchCase).Default(true), PROPERTY(FindNextCaption), PROPERTY(FindPrevCaption),
             PROPERTY(MatchCaseCaption), PROPERTY(HighLightCaption), PROPERTY(HintClose),
             PROPERTY(HintFindNext), PROPERTY(HintFindPrev), PROPERTY(HintHighlight),
             PROPERTY(AutoSearch).Default(true), PROPERTY(AlwaysHighLight).Default(false),
             PROPERTY(HighLight).Default(hMatchingText), PROPERTY(SearchColumn).Default(-1),
             PROPERTY(SearchActiveColumnOnly).Default(false), PROPERTY(SearchMatchStart).Default(false),
             PROPERTY(SearchFixedCells).Default(false), PROPERTY(SearchHiddenRows).Default(false),
             PROPERTY(SearchDirection).Default(sdTopBottom))

TSearchFooter::TSearchFooter(TComponent* owner, bool newInDesigner)
    : FOwner(owner), FFont(std::make_unique<TFont>()) {
    if (newInDesigner) {
        FFindPrevCaption = u"Find &previous";
        FFindNextCaption = u"Find &next";
        FMatchCaseCaption = u"Match case";
        FHighLightCaption = u"Highlight";
        FHintClose = u"Close";
        FHintFindNext = u"Find next occurrence";
        FHintFindPrev = u"Find previous occurrence";
        FHintHighlight = u"Highlight occurrences";
    }
}

TSearchFooter::~TSearchFooter() = default;

TPersistent* TSearchFooter::GetOwner() const {
    return FOwner;
}

void TSearchFooter::Changed() {
    if (OnChange)
        OnChange(this);
}

void TSearchFooter::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TSearchFooter*>(source);
    if (other == nullptr)
        return;
    FAlwaysHighLight = other->FAlwaysHighLight;
    FColor = other->FColor;
    FColorTo = other->FColorTo;
    FFindNextCaption = other->FFindNextCaption;
    FFindPrevCaption = other->FFindPrevCaption;
    FMatchCaseCaption = other->FMatchCaseCaption;
    FHighLightCaption = other->FHighLightCaption;
    FHintClose = other->FHintClose;
    FHintFindNext = other->FHintFindNext;
    FHintFindPrev = other->FHintFindPrev;
    FHintHighlight = other->FHintHighlight;
    FShowClose = other->FShowClose;
    FShowFindNext = other->FShowFindNext;
    FShowFindPrev = other->FShowFindPrev;
    FShowHighLight = other->FShowHighLight;
    FShowMatchCase = other->FShowMatchCase;
    FSearchActiveColumnOnly = other->FSearchActiveColumnOnly;
    FSearchMatchStart = other->FSearchMatchStart;
    FSearchColumn = other->FSearchColumn;
    FSearchDirection = other->FSearchDirection;
    FSearchHiddenRows = other->FSearchHiddenRows;
    FVisible = other->FVisible;
    FFont->Assign(other->FFont.get());
    FHighLight = other->FHighLight;
}

void TSearchFooter::SetVisible(bool value) {
    if (FVisible == value)
        return;
    FVisible = value;
    Changed();
}

void TSearchFooter::SetColor(TColor value) {
    FColor = value;
    Changed();
}

void TSearchFooter::SetColorTo(TColor value) {
    FColorTo = value;
    Changed();
}

void TSearchFooter::SetFont(TFont* value) {
    FFont->Assign(value);
    Changed();
}

void TSearchFooter::SetShowClose(bool value) {
    FShowClose = value;
    Changed();
}

void TSearchFooter::SetShowFindNext(bool value) {
    if (FShowFindNext == value)
        return;
    FShowFindNext = value;
    Changed();
}

void TSearchFooter::SetShowFindPrev(bool value) {
    if (FShowFindPrev == value)
        return;
    FShowFindPrev = value;
    Changed();
}

void TSearchFooter::SetShowHighLight(bool value) {
    if (FShowHighLight == value)
        return;
    FShowHighLight = value;
    Changed();
}

void TSearchFooter::SetShowMatchCase(bool value) {
    if (FShowMatchCase == value)
        return;
    FShowMatchCase = value;
    Changed();
}

void TSearchFooter::SetFindNextCaption(const String& value) {
    FFindNextCaption = value;
    Changed();
}

void TSearchFooter::SetFindPrevCaption(const String& value) {
    FFindPrevCaption = value;
    Changed();
}

void TSearchFooter::SetMatchCaseCaption(const String& value) {
    FMatchCaseCaption = value;
    Changed();
}

void TSearchFooter::SetHighLightCaption(const String& value) {
    FHighLightCaption = value;
    Changed();
}

void TSearchFooter::SetHintClose(const String& value) {
    FHintClose = value;
    Changed();
}

void TSearchFooter::SetHintFindNext(const String& value) {
    FHintFindNext = value;
    Changed();
}

void TSearchFooter::SetHintFindPrev(const String& value) {
    FHintFindPrev = value;
    Changed();
}

void TSearchFooter::SetHintHighlight(const String& value) {
    FHintHighlight = value;
    Changed();
}

void TSearchFooter::SetAutoThemeAdapt(bool value) {
    FAutoThemeAdapt = value;
    Changed();
}

// ---- TNavigation

DEFINE_CLASS(TNavigation, PROPERTY(AllowInsertRow).Default(false), PROPERTY(AllowDeleteRow).Default(false),
             PROPERTY(AlwaysEdit).Default(false), PROPERTY(AdvanceOnEnter).Default(false),
             PROPERTY(AdvanceOnEnterLoop).Default(true), PROPERTY(AdvanceInsert).Default(false),
             PROPERTY(AdvanceAutoEdit).Default(true), PROPERTY(AdvanceSkipReadOnlyCells).Default(true),
             PROPERTY(AdvanceAuto).Default(false), PROPERTY(AdvanceDirection).Default(adLeftRight),
             PROPERTY(TabAdvanceDirection).Default(adLeftRight), PROPERTY(TabToNextAtEnd).Default(false),
             PROPERTY(AutoGotoWhenSorted).Default(false), PROPERTY(AutoGotoIncremental).Default(false),
             PROPERTY(AutoComboDropSize).Default(false), PROPERTY(AutoComboSelect).Default(true),
             PROPERTY(AllowClipboardShortCuts).Default(false), PROPERTY(AllowClipboardAlways).Default(false),
             PROPERTY(AllowClipboardRowGrow).Default(true), PROPERTY(AllowClipboardColGrow).Default(true),
             PROPERTY(AllowSmartClipboard).Default(false), PROPERTY(AllowRTFClipboard).Default(false),
             PROPERTY(AllowFmtClipboard).Default(false), PROPERTY(CopyHTMLTagsToClipboard).Default(true),
             PROPERTY(ClipboardPasteAction).Default(paReplace), PROPERTY(ClipboardCutAction).Default(caClear),
             PROPERTY(AllowCtrlEnter).Default(true), PROPERTY(AppendOnArrowDown).Default(false),
             PROPERTY(EditSelectAll).Default(true), PROPERTY(InsertPosition).Default(pInsertBefore),
             PROPERTY(ComboGetUpDown).Default(true), PROPERTY(CursorAdvance).Default(caDefault),
             PROPERTY(CursorWalkEditor).Default(false), PROPERTY(CursorWalkAlwaysEdit).Default(true),
             PROPERTY(CursorMoveRows).Default(false), PROPERTY(MoveRowOnSort).Default(false),
             PROPERTY(KeepScrollOnSort).Default(false), PROPERTY(MoveScrollOnly).Default(false),
             PROPERTY(ImproveMaskSel).Default(false), PROPERTY(LeftRightRowSelect).Default(true),
             PROPERTY(KeepHorizScroll).Default(false), PROPERTY(LineFeedOnEnter).Default(false),
             PROPERTY(HomeEndKey).Default(heFirstLastColumn), PROPERTY(SkipFixedCells).Default(true),
             PROPERTY(SkipDisabledRows).Default(true))

TNavigation::TNavigation(TComponent* owner) : FOwner(owner) {}

TPersistent* TNavigation::GetOwner() const {
    return FOwner;
}

TNavigation::~TNavigation() = default;

void TNavigation::Changed() {
    if (OnChange)
        OnChange(this);
}

void TNavigation::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TNavigation*>(source);
    if (other == nullptr)
        return;
    FAllowInsertRow = other->FAllowInsertRow;
    FAllowDeleteRow = other->FAllowDeleteRow;
    FAlwaysEdit = other->FAlwaysEdit;
    FAdvanceOnEnter = other->FAdvanceOnEnter;
    FAdvanceOnEnterLoop = other->FAdvanceOnEnterLoop;
    FAdvanceInsert = other->FAdvanceInsert;
    FAdvanceAutoEdit = other->FAdvanceAutoEdit;
    FAdvanceSkipReadOnlyCells = other->FAdvanceSkipReadOnlyCells;
    FAdvanceAuto = other->FAdvanceAuto;
    FAdvanceDirection = other->FAdvanceDirection;
    FTabAdvanceDirection = other->FTabAdvanceDirection;
    FTabToNextAtEnd = other->FTabToNextAtEnd;
    FAutoGotoWhenSorted = other->FAutoGotoWhenSorted;
    FAutoGotoIncremental = other->FAutoGotoIncremental;
    FAutoComboDropSize = other->FAutoComboDropSize;
    FAutoComboSelect = other->FAutoComboSelect;
    FAllowClipboardShortCuts = other->FAllowClipboardShortCuts;
    FAllowClipboardAlways = other->FAllowClipboardAlways;
    FAllowClipboardRowGrow = other->FAllowClipboardRowGrow;
    FAllowClipboardColGrow = other->FAllowClipboardColGrow;
    FAllowSmartClipboard = other->FAllowSmartClipboard;
    FAllowRTFClipboard = other->FAllowRTFClipboard;
    FAllowFmtClipboard = other->FAllowFmtClipboard;
    FCopyHTMLTagsToClipboard = other->FCopyHTMLTagsToClipboard;
    FClipboardPasteAction = other->FClipboardPasteAction;
    FClipboardCutAction = other->FClipboardCutAction;
    FAllowCtrlEnter = other->FAllowCtrlEnter;
    FAppendOnArrowDown = other->FAppendOnArrowDown;
    FEditSelectAll = other->FEditSelectAll;
    FInsertPosition = other->FInsertPosition;
    FComboGetUpDown = other->FComboGetUpDown;
    FCursorAdvance = other->FCursorAdvance;
    FCursorWalkEditor = other->FCursorWalkEditor;
    FCursorWalkAlwaysEdit = other->FCursorWalkAlwaysEdit;
    FCursorMoveRows = other->FCursorMoveRows;
    FMoveRowOnSort = other->FMoveRowOnSort;
    FMoveScrollOnly = other->FMoveScrollOnly;
    FImproveMaskSel = other->FImproveMaskSel;
    FLeftRightRowSelect = other->FLeftRightRowSelect;
    FKeepHorizScroll = other->FKeepHorizScroll;
    FLineFeedOnEnter = other->FLineFeedOnEnter;
    FHomeEndKey = other->FHomeEndKey;
    FSkipFixedCells = other->FSkipFixedCells;
    FSkipDisabledRows = other->FSkipDisabledRows;
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection value) {
    if (FAdvanceDirection == value)
        return;
    FAdvanceDirection = value;
    Changed();
}

void TNavigation::SetAdvanceInsert(bool value) {
    if (FAdvanceInsert == value)
        return;
    FAdvanceInsert = value;
    Changed();
}

void TNavigation::SetAdvanceAuto(bool value) {
    if (FAdvanceAuto == value)
        return;
    FAdvanceAuto = value;
    if (value)
        FAdvanceOnEnter = true;
}

// ---- TMouseActions

DEFINE_CLASS(TMouseActions, PROPERTY(AllColumnSize).Default(false), PROPERTY(AllRowSize).Default(false),
             PROPERTY(AllSelect).Default(false), PROPERTY(AutoFocus).Default(false),
             PROPERTY(AutoSizeColOnDblClick).Default(true), PROPERTY(CaretPositioning).Default(false),
             PROPERTY(CheckAllCheck).Default(false), PROPERTY(ColSelect).Default(false),
             PROPERTY(DirectComboClose).Default(false), PROPERTY(DirectComboDrop).Default(false),
             PROPERTY(DirectDateClose).Default(false), PROPERTY(DirectDateDrop).Default(false),
             PROPERTY(DirectEdit).Default(false), PROPERTY(DisjunctRowSelect).Default(false),
             PROPERTY(DisjunctRowSelectNoCtrl).Default(false), PROPERTY(DisjunctColSelect).Default(false),
             PROPERTY(DisjunctCellSelect).Default(false), PROPERTY(EditOnDblClickOnly).Default(false),
             PROPERTY(FixedRowsEdit).Default(fceNone), PROPERTY(FixedColsEdit).Default(fceNone),
             PROPERTY(FixedRowsEditor).Default(fceEdit), PROPERTY(FixedColsEditor).Default(fceEdit),
             PROPERTY(HotmailRowSelect).Default(false), PROPERTY(MoveRowOnNodeClick).Default(false),
             PROPERTY(NoAutoRangeScroll).Default(false), PROPERTY(NodeAllExpandContract).Default(false),
             PROPERTY(NoScrollOnPartialRow).Default(false), PROPERTY(NoScrollOnPartialCol).Default(false),
             PROPERTY(PreciseCheckBoxCheck).Default(false), PROPERTY(PreciseNodeClick).Default(true),
             PROPERTY(RangeSelectAndEdit).Default(false), PROPERTY(RowSelect).Default(false),
             PROPERTY(RowSelectPersistent).Default(false), PROPERTY(SelectOnRightClick).Default(false),
             PROPERTY(SizeFixedCol).Default(false), PROPERTY(SizeFixedRow).Default(false),
             PROPERTY(TouchScroll).Default(false), PROPERTY(WheelIncrement).Default(0),
             PROPERTY(WheelAction).Default(waMoveSelection), PROPERTY(WheelActive).Default(waFocus),
             PROPERTY(FixedComboValues))

TMouseActions::TMouseActions(TComponent* owner)
    : FOwner(owner), FFixedComboValues(std::make_unique<TStringList>()) {}

TPersistent* TMouseActions::GetOwner() const {
    return FOwner;
}

TMouseActions::~TMouseActions() = default;

void TMouseActions::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TMouseActions*>(source);
    if (other == nullptr)
        return;
    FAllColumnSize = other->FAllColumnSize;
    FAllRowSize = other->FAllRowSize;
    FAllSelect = other->FAllSelect;
    FAutoFocus = other->FAutoFocus;
    FAutoSizeColOnDblClick = other->FAutoSizeColOnDblClick;
    FCaretPositioning = other->FCaretPositioning;
    FCheckAllCheck = other->FCheckAllCheck;
    FColSelect = other->FColSelect;
    FDirectComboClose = other->FDirectComboClose;
    FDirectComboDrop = other->FDirectComboDrop;
    FDirectDateClose = other->FDirectDateClose;
    FDirectDateDrop = other->FDirectDateDrop;
    FDirectEdit = other->FDirectEdit;
    FDisjunctRowSelect = other->FDisjunctRowSelect;
    FDisjunctRowSelectNoCtrl = other->FDisjunctRowSelectNoCtrl;
    FDisjunctColSelect = other->FDisjunctColSelect;
    FDisjunctCellSelect = other->FDisjunctCellSelect;
    FFixedRowsEdit = other->FFixedRowsEdit;
    FFixedColsEdit = other->FFixedColsEdit;
    FFixedRowsEditor = other->FFixedRowsEditor;
    FFixedColsEditor = other->FFixedColsEditor;
    FMoveRowOnNodeClick = other->FMoveRowOnNodeClick;
    FNoAutoRangeScroll = other->FNoAutoRangeScroll;
    FNodeAllExpandContract = other->FNodeAllExpandContract;
    FNoScrollOnPartialRow = other->FNoScrollOnPartialRow;
    FNoScrollOnPartialCol = other->FNoScrollOnPartialCol;
    FPreciseCheckBoxCheck = other->FPreciseCheckBoxCheck;
    FPreciseNodeClick = other->FPreciseNodeClick;
    FRangeSelectAndEdit = other->FRangeSelectAndEdit;
    FRowSelect = other->FRowSelect;
    FRowSelectPersistent = other->FRowSelectPersistent;
    FSelectOnRightClick = other->FSelectOnRightClick;
    FSizeFixedCol = other->FSizeFixedCol;
    FSizeFixedRow = other->FSizeFixedRow;
    FTouchScroll = other->FTouchScroll;
    FWheelIncrement = other->FWheelIncrement;
    FWheelAction = other->FWheelAction;
    FWheelActive = other->FWheelActive;
}

bool TMouseActions::IsDesigning() {
    bool designing = false;
    if (OnIsDesigning)
        OnIsDesigning(this, designing);
    return designing;
}

void TMouseActions::SetDisjunctRowSelect(bool value) {
    FDisjunctRowSelect = value;
    if (value && IsDesigning()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool value) {
    FDisjunctColSelect = value;
    if (value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool value) {
    FDisjunctCellSelect = value;
    if (value && IsDesigning()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetEditOnDblClickOnly(bool value) {
    FEditOnDblClickOnly = value;
    if (value && OnDisableEdit)
        OnDisableEdit(this);
}

void TMouseActions::SetHotmailRowSelect(bool value) {
    FHotmailRowSelect = value;
    if (value) {
        FDisjunctRowSelect = true;
        FCheckAllCheck = true;
    }
    if (OnInvalidate)
        OnInvalidate(this);
}

void TMouseActions::SetWheelAction(TWheelAction value) {
    if (FWheelAction == value)
        return;
    FWheelAction = value;
    if (OnChange)
        OnChange(this);
}

void TMouseActions::SetFixedComboValues(TStrings* value) {
    FFixedComboValues->Assign(value);
}

// ---- TSyncGrid

DEFINE_CLASS(TSyncGrid, PROPERTY(ScrollHorizontal).Default(false), PROPERTY(ScrollVertical).Default(false),
             PROPERTY(SelectionRow).Default(false), PROPERTY(SelectionColumn).Default(false),
             PROPERTY(MoveRow).Default(false), PROPERTY(MoveColumn).Default(false))

// Clears the grid of its TSyncGrid when that grid is freed. Free notification is mutual, so a watch
// freed first takes itself off the grid's list.
class TSyncGrid::TGridWatch : public TComponent {
public:
    explicit TGridWatch(TSyncGrid* sync) : TComponent(nullptr), FSync(sync) {}

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == FSync->FGrid)
            FSync->FGrid = nullptr;
    }

private:
    TSyncGrid* FSync;
};

TSyncGrid::TSyncGrid(TStringGrid* ownerGrid)
    : FOwnerGrid(ownerGrid), FGridWatch(std::make_unique<TGridWatch>(this)) {}

TSyncGrid::~TSyncGrid() = default;

void TSyncGrid::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TSyncGrid*>(source);
    if (other == nullptr)
        return;
    SetGrid(other->FGrid);
    FScrollHorizontal = other->FScrollHorizontal;
    FScrollVertical = other->FScrollVertical;
    FSelectionRow = other->FSelectionRow;
    FSelectionColumn = other->FSelectionColumn;
    FMoveRow = other->FMoveRow;
    FMoveColumn = other->FMoveColumn;
}

void TSyncGrid::SetGrid(TStringGrid* value) {
    if (value != nullptr && value == FOwnerGrid)
        return;
    if (FGrid && FGrid != value)
        FGridWatch->RemoveFreeNotification(FGrid);
    FGrid = value;
    if (FGrid)
        FGridWatch->FreeNotification(FGrid);
}

// ---- TBands

DEFINE_CLASS(TBands, PROPERTY(Active).Default(false),
             PROPERTY(PrimaryColor).Type(TypeInfoColor()).Default(clInfoBk),
             PROPERTY(SecondaryColor).Type(TypeInfoColor()).Default(clWindow),
             PROPERTY(PrimaryLength).Default(1), PROPERTY(SecondaryLength).Default(1),
             PROPERTY(Print).Default(false))

TBands::TBands() = default;

TBands::~TBands() = default;

void TBands::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TBands*>(source);
    if (other == nullptr)
        return;
    FActive = other->FActive;
    FPrimaryColor = other->FPrimaryColor;
    FSecondaryColor = other->FSecondaryColor;
    FPrimaryLength = other->FPrimaryLength;
    FSecondaryLength = other->FSecondaryLength;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    FPrint = other->FPrint;
}

void TBands::ChangedWhileActive() {
    if (FActive && OnChange)
        OnChange(this);
}

void TBands::SetActive(bool value) {
    if (FActive == value)
        return;
    FActive = value;
    if (OnChange)
        OnChange(this);
}

void TBands::SetPrimaryColor(TColor value) {
    if (FPrimaryColor == value)
        return;
    FPrimaryColor = value;
    ChangedWhileActive();
}

void TBands::SetSecondaryColor(TColor value) {
    if (FSecondaryColor == value)
        return;
    FSecondaryColor = value;
    ChangedWhileActive();
}

void TBands::SetPrimaryLength(Integer value) {
    if (FPrimaryLength == value)
        return;
    FPrimaryLength = value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    ChangedWhileActive();
}

void TBands::SetSecondaryLength(Integer value) {
    if (FSecondaryLength == value)
        return;
    FSecondaryLength = value;
    FTotalLength = FPrimaryLength + FSecondaryLength;
    ChangedWhileActive();
}

// ---- TFocusHelper

DEFINE_CLASS(TFocusHelper, PROPERTY(Enabled).Default(false))

TFocusHelper::TFocusHelper() = default;

TFocusHelper::~TFocusHelper() = default;

void TFocusHelper::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TFocusHelper*>(source))
        FEnabled = other->FEnabled;
}
