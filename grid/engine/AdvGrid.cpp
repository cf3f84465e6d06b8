// The full string grid's construction, destruction, copying, finishing after loading and window creation,
// and its report of changed cells.
#include "grid/engine/AdvGrid.h"

#include <algorithm>

#include "grid/engine/AdvGridUnit.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Idents.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/uxtheme.h"

// The settings groups are published under their field's name without the F (the balloon settings as
// Balloon); the setters' properties with their defaults, so that only what differs is stored.
DEFINE_CLASS(TAdvStringGrid, PROPERTY(AutoColor), PROPERTY(Balloon), PROPERTY(BackGround), PROPERTY(Bands),
             PROPERTY(CellNode), PROPERTY(ColumnSize), PROPERTY(ControlLook), PROPERTY(DragDropSettings),
             PROPERTY(DragScrollOptions), PROPERTY(Filter), PROPERTY(FilterDropDown), PROPERTY(FilterEdit),
             PROPERTY(FloatingFooter), PROPERTY(FocusHelper), PROPERTY(Grouping), PROPERTY(HoverButtons),
             PROPERTY(HTMLSettings), PROPERTY(MouseActions), PROPERTY(Navigation), PROPERTY(OfficeHint),
             PROPERTY(PrintSettings), PROPERTY(ProgressAppearance), PROPERTY(SearchFooter),
             PROPERTY(ShowModified), PROPERTY(SizeWhileTyping), PROPERTY(SortSettings), PROPERTY(SyncGrid),
             PROPERTY(ColumnHeaders), PROPERTY(RowHeaders), PROPERTY(FixedFont),
             // The scroll bars; ScrollBars again, so that a stored form reaches the grid's own copy.
             PROPERTY(ScrollBars).Default(ssBoth), PROPERTY(ScrollBarAlways).Default(saNone),
             PROPERTY(ScrollColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ScrollHints).Default(shNone), PROPERTY(ScrollProportional).Default(false),
             PROPERTY(ScrollSynch).Default(false), PROPERTY(ScrollType).Default(ssNormal),
             PROPERTY(ScrollWidth).Default(17), PROPERTY(HintColor).Type(TypeInfoColor()).Default(clInfoBk),
             EVENT(OnScrollHint), EVENT(OnEndColumnSize), EVENT(OnEndRowSize), EVENT(OnCalcFooter),
             EVENT(OnPaintFooter), EVENT(OnCreatedFloatingFooter), PROPERTY(AutoSize).Default(false),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(0x00B99D7F),
             PROPERTY(DefaultAlignment).Default(taLeftJustify), PROPERTY(Flat).Default(false),
             PROPERTY(IntegralHeight).Default(false), PROPERTY(MaxEditLength).Default(0),
             PROPERTY(SelectionColor).Type(TypeInfoColor()).Default(0x00EACAB6),
             PROPERTY(SelectionColorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(SelectionMirrorColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(SelectionMirrorColorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(SelectionTextColor).Type(TypeInfoColor()).Default(0),
             PROPERTY(SelectionColorMixer).Default(false), PROPERTY(SelectionColorMixerFactor).Default(50),
             PROPERTY(SelectionRectangle).Default(false), PROPERTY(SelectionResizer).Default(false),
             PROPERTY(ShowSelection).Default(true), PROPERTY(SizeWithForm).Default(false),
             PROPERTY(SpreadSheet).Default(false), PROPERTY(VAlignment).Default(vtaTop),
             EVENT(OnCellsChanged), EVENT(OnGridResize), EVENT(OnGetEditMask), EVENT(OnButtonClick),
             EVENT(OnUnitChanged),
             // The per-cell queries and the inner editors' relays.
             EVENT(OnCanEditCell), EVENT(OnCanSort), EVENT(OnSearchFooterAction), EVENT(OnExpandClick),
             EVENT(OnGetCellCursor), EVENT(OnGridHint), EVENT(OnGridWideHint), EVENT(OnOfficeHint),
             EVENT(OnGetCellColor), EVENT(OnGetCellPrintColor), EVENT(OnGetCellBorder),
             EVENT(OnGetCellPrintBorder), EVENT(OnGetAlignment), EVENT(OnGetFormat), EVENT(OnGetEditorType),
             EVENT(OnIsFixedCell), EVENT(OnIsPasswordCell), EVENT(OnGetWordWrap), EVENT(OnHasComboBox),
             EVENT(OnHasEditBtn), EVENT(OnHasSpinEdit), EVENT(OnGetCheckTrue), EVENT(OnGetCheckFalse),
             EVENT(OnDateTimeChange), EVENT(OnEditChange), EVENT(OnDatePickerCloseUp),
             EVENT(OnDatePickerDropDown), EVENT(OnSpinClick), EVENT(OnFloatSpinClick), EVENT(OnDateSpinClick),
             EVENT(OnTimeSpinClick))

// ---- Construction

TAdvStringGrid::TAdvStringGrid(TComponent* AOwner) : TBaseGrid(AOwner) {
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls); // cell controls, editors and panels are children of the grid
    SetControlStyle(style);
    const bool designing = ComponentState().Contains(csDesigning);
    FDesignTimeInit = designing && !(AOwner != nullptr && (AOwner->ComponentState().Contains(csReading) ||
                                                           AOwner->ComponentState().Contains(csLoading)));

    CreateOwnedObjects();
    FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);

    // The row count goes through the framework's setter; the grid's own counts follow it.
    TCustomGrid::SetRowCount(10);
    FMaxRowCount = 10;
    FNormalRowCount = 10;
    SetBounds(Left(), Top(), 400, 250);
    FGridItems = std::make_unique<THiddenRows>();
    FFilter = std::make_unique<TFilter>(this);
    SetAutoSize(false);

    FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    if (!designing)
        FStyle = tsWindowsXP;
    FQELGradTo = static_cast<TColor>(ColorToRGB(clBtnFace));
    FTones.Background.BrushColor = clNone;
    FTones.Background.BorderColor = clNone;
    FBalloonSettings = std::make_unique<TBalloonSettings>();
    FBalloonSettings->OnEnableChange = [this](TObject* sender) { BalloonEnableChanged(sender); };
    FShowModified = std::make_unique<TShowModified>();
    FShowModified->OnChange = [this](TObject* sender) { ShowModifiedChanged(sender); };
    std::fill(std::begin(FVisibleCol), std::end(FVisibleCol), true);
    SetDefaultRowHeight(22);
    FFixedRowHeight = 22;

    QueryPlatform();
    FBorderColor = FIsWinXP ? TColor(0x00B99D7F) : TColor(0x00808080);

    CreateFilterObjects();
    if (!designing)
        CreateInnerControls();
    FOldLeftCol = LeftCol();
    FOldTopRow = TopRow();
    LinkCursor = crHandPoint;
}

// The settings objects, lists and fonts, in the order the grid has always made them.
void TAdvStringGrid::CreateOwnedObjects() {
    FFooterPanel.reset(CreateFooterPanel());
    FFooterPanel->SetAlign(alBottom);
    FFooterPanel->SetHeight(0);
    FSearchPanel = std::make_unique<TSearchPanel>(this);
    FSearchPanel->SetAlign(alBottom);
    FSearchPanel->SetHeight(0);
    FAutoColor = std::make_unique<TAutoColor>();
    cf = std::make_unique<TFont>();
    FFocusHelper = std::make_unique<TFocusHelper>();
    FSearchFooter = std::make_unique<TSearchFooter>(this, FDesignTimeInit);
    FSearchFooter->OnChange = [this](TObject* sender) { SearchFooterChanged(sender); };
    FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    FPrintSettings = std::make_unique<TPrintSettings>(this);
    FHTMLSettings = std::make_unique<THTMLSettings>();
    FSortSettings = std::make_unique<TSortSettings>(this);
    FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    FDragScrollOptions = std::make_unique<TDragScrollOptions>();
    FControlLook = std::make_unique<TControlLook>(this);
    FNavigation = std::make_unique<TNavigation>();
    FNavigation->OnChange = [this](TObject*) { NavigationChanged(); };
    FColumnSize = std::make_unique<TColumnSize>(this);
    FColumnSize->OnStretch = [this](TObject*, TColumnStretchRequest request) {
        if (request == TColumnStretchRequest::AllColumns)
            ApplyColumnStretch(-1, -1);
        else
            ApplyColumnStretch(FColumnSize->StretchColumn(), -1);
    };
    FCellNode = std::make_unique<TCellNode>(this);
    FBands = std::make_unique<TBands>();
    FBands->OnChange = [this](TObject* sender) { BandsChanged(sender); };
    FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    FMouseActions = std::make_unique<TMouseActions>(this);
    FMouseActions->OnChange = [this](TObject*) { MouseActionsChanged(); };
    FMouseActions->OnIsDesigning = [this](TObject*, bool& isDesigning) { isDesigning = IsDesigning(); };
    FMouseActions->OnInvalidate = [this](TObject*) { RepaintAll(); };
    FGrouping = std::make_unique<TGrouping>();
    FColumnHeaders = std::make_unique<TStringList>();
    FColumnHeaders->OnChange = [this](TObject*) {
        ColumnHeadersHook();
        ShowColumnHeaders();
    };
    FImageCache = std::make_unique<THTMLPictureCache>();
    FOrigColSizes = std::make_unique<TIntList>(-1, -1);
    FFixedFont = std::make_unique<TFont>();
    FFixedFont->SetName(u"Tahoma");
    FFixedFont->SetStyle(TFontStyles{fsBold});
    FFixedFont->OnChange = [this](TObject*) { Invalidate(); };
    FActiveCellFont = std::make_unique<TFont>();
    FActiveCellFont->SetStyle(TFontStyles{fsBold});
    if (ComponentState().Contains(csDesigning))
        FActiveCellFont->SetName(u"Tahoma");
    FActiveCellFont->OnChange = [this](TObject*) { Invalidate(); };
    FRowHeaders = std::make_unique<TStringList>();
    FRowHeaders->OnChange = [this](TObject*) { ShowRowHeaders(); };
    Sortlist = std::make_unique<TStringList>();
    FLookupItems = std::make_unique<TStringList>();
    FRowSelect = std::make_unique<TList>();
    FColSelect = std::make_unique<TList>();
    FSortIndexes = std::make_unique<TSortIndexList>(0, 0);
    FSortRowXRef = std::make_unique<TIntList>(0, 0);
    FUnSortRowXRef = std::make_unique<TIntList>(0, 0);
    FSelectedCells = std::make_unique<TIntList>(0, 0);
    FSelectedRows = std::make_unique<TIntList>(0, 0);
    FModifiedRows = std::make_unique<TIntList>(0, 0);
    FEnabledRows = std::make_unique<TIntList>(0, 0);
    FMergedColumns = std::make_unique<TIntList>(0, 0);
    FMergedColumns->OnChange = [this](TObject*, Integer, Integer) { MergedColumnsChanged(); };
    FRowIndicator = std::make_unique<TBitmap>();
    FBackGround = std::make_unique<TBackGround>(this);
    FScrollHintWnd = std::make_unique<THTMLHintWindow>(this);
    FControlList = std::make_unique<TControlList>();
    FProgressAppearance = std::make_unique<TGridProgressAppearance>();
    FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FSyncGrid = std::make_unique<TSyncGrid>(this);
}

// The notifier list and the filter's lists, editors and menu.
void TAdvStringGrid::CreateFilterObjects() {
    FNotifierList = std::make_unique<TGridChangeNotifierList>();
    FColumnOrder = std::make_unique<TIntList>(0, 0);
    FOfficeHint = std::make_unique<TAdvHintInfo>();
    FIgnoreColumns = std::make_unique<TIntList>(-1, -1);
    FFilterDropDown = std::make_unique<TFilterDropDown>();
    if (FDesignTimeInit) {
        FFilterDropDown->SetTextChecked(u"Checked");
        FFilterDropDown->SetTextUnChecked(u"Unchecked");
    }
    FDropList = std::make_unique<TDropList>(this);
    FDropList->SetParent(this);
    FDropList->SetBounds(0, 0, 0, 0);
    FDropList->SetVisible(false);
    FDropCheckList = std::make_unique<TDropCheckList>(this);
    FDropCheckList->SetParent(this);
    FDropCheckList->SetBounds(0, 0, 0, 0);
    FDropCheckList->SetVisible(false);
    FFilterList = std::make_unique<TStringList>();
    FFilterList->SetDuplicates(dupIgnore);
    FFilterList->SetSorted(true);
    FFilterEdit = std::make_unique<TFilterEdit>(this);
    // FIXME: the filter type icons and the menu's seven items come with the filter row.
    FFltrList = std::make_unique<TImageList>(this);
    FFltrPopup = std::make_unique<TPopupMenu>(this);
    FFltrPopup->SetImages(FFltrList.get());
    FHoverButtons = std::make_unique<THoverButtons>(this);
}

// The editors and helper windows; a grid in design mode has none.
void TAdvStringGrid::CreateInnerControls() {
    auto child = [this](auto control) {
        control->SetParent(this);
        control->SetVisible(false);
        return control;
    };
    FFocusWindow = std::make_unique<TGridFocusWindow>(this);
    ArwU = std::make_unique<TArrowWindow>(this, arrUp);
    ArwD = std::make_unique<TArrowWindow>(this, arrDown);
    ArwL = std::make_unique<TArrowWindow>(this, arrLeft);
    ArwR = std::make_unique<TArrowWindow>(this, arrRight);
    EditCombo.reset(child(new TGridCombo(this)));
    EditCombo->SetEnabled(false);
    EditTrans.reset(child(new TGridTransEdit(this)));
    ComboTrans.reset(child(new TGridTransCombo(this)));
    EditCheck.reset(child(new TGridCheckBox(this)));
    EditCheck->SetEnabled(false);
    EditBtn.reset(child(new TGridEditBtn(this)));
    EditBtn->SetEnabled(false);
    UnitEditBtn.reset(child(new TGridUnitEditBtn(this)));
    UnitEditBtn->SetEnabled(false);
    GridButton.reset(child(new TGridButton(this)));
    GridButton->SetEnabled(false);
    GridButton->OnClick = [this](TObject* Sender) { GridButtonClick(Sender); };
    MoveButton.reset(child(new THeaderDragButton(this)));
    MoveButton->SetEnabled(false);
    FEditControl.reset(child(new TControlEdit(this)));
    FComboControl.reset(child(new TControlCombo(this)));
    // The scroll bars become hidden children of the grid when its window is made.
    FScrollBar = std::make_unique<TScrollBar>(this);
    FPaintScrollBar = std::make_unique<TScrollBar>(this);
    FButtonForm = std::make_unique<TNoActiveForm>(this);
    FButtonForm->SetBounds(0, 0, 200, 22);
}

// The Windows and common controls versions decide the platform flags.
void TAdvStringGrid::QueryPlatform() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionEx(&info);
    const DWORD major = info.dwMajorVersion;
    const DWORD minor = info.dwMinorVersion;
    FIsWinXP = major > 5 || (major == 5 && minor >= 1);
    FIsWin7 = major > 6 || (major == 6 && minor >= 1);
    FIsWinVista = IsVistaOrLater();
    FIsComCtl6 = (GetDllFileVersion(u"COMCTL32.DLL") >> 16) > 5;
}

// ---- Destruction

TAdvStringGrid::~TAdvStringGrid() {
    if (FFileLoad != nullptr)
        FFileLoad->destroyed = true;
    Destroying();
    RemoveAllFilters();
    if (!IsDesigning())
        BalloonDone();
    // The SizeWithForm setter never replaces the form's OnResize, so there is none to give back.
    if (FColumnSize->Save())
        SaveColSizes();

    // The final clearing frees the property records and reads stored columns.
    FClearTextOnly = false;
    FSaveHiddenCells = false;
    Integer r = RowCount();
    Integer c = ColCount();
    if (GetNodeCount() > 0)
        ExpandAll();
    UnHideColumnsAll();
    UnHideRowsAll();
    if (NumHiddenRows() == 0 && GetNodeCount() == 0) {
        r = std::max(r, FMaxRowCount);
        c = std::max(c, FMaxColCount);
    }
    if (r > 0 && c > 0 && FHasCellProps)
        FreeCellProperties(0, 0, c - 1, r - 1);

    if (FGridTimerID != 0 && HandleAllocated())
        KillTimer(WindowHandle(), FGridTimerID);
    FGridTimerID = 0;
    if (FocusWindowGrid == this)
        FocusWindowGrid = nullptr;
    if (FLoaded)
        SetCursor(FOldCursor);
    // The owned objects go with their unique pointers, before the base grid frees its components.
}

// ---- Copying

void TAdvStringGrid::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TAdvStringGrid*>(Source);
    if (source == nullptr)
        return;

    Font()->Assign(source->Font());
    FActiveCellColor = source->FActiveCellColor;
    FActiveCellColorTo = source->FActiveCellColorTo;
    FActiveCellFont->Assign(source->FActiveCellFont.get());
    FActiveCellShow = source->FActiveCellShow;
    FAutoColor->Assign(source->FAutoColor.get());
    SetActiveRowShow(source->ActiveRowShow());
    SetAlign(source->Align());
    FFilterDropDown->Assign(source->FFilterDropDown.get());
    FAnchorHint = source->FAnchorHint;
    FAutoSize = source->FAutoSize;

    FMouseActions->Assign(source->FMouseActions.get());
    FNavigation->Assign(source->FNavigation.get());
    FGrouping->Assign(source->FGrouping.get());
    FSearchFooter->Assign(source->FSearchFooter.get());
    FPrintSettings->Assign(source->FPrintSettings.get());
    FFilter->Assign(source->FFilter.get());
    FHTMLSettings->Assign(source->FHTMLSettings.get());
    FBands->Assign(source->FBands.get());
    FBackGround->Assign(source->FBackGround.get());
    FCellNode->Assign(source->FCellNode.get());
    FSortSettings->Assign(source->FSortSettings.get());
    FDragScrollOptions->Assign(source->FDragScrollOptions.get());
    FDragDropSettings->Assign(source->FDragDropSettings.get());
    FProgressAppearance->Assign(source->FProgressAppearance.get());
    FColumnSize->Assign(source->FColumnSize.get());
    FSyncGrid->Assign(source->FSyncGrid.get());
    FFocusHelper->Assign(source->FFocusHelper.get());
    FFilterEdit->Assign(source->FFilterEdit.get());
    FHoverButtons->Assign(source->FHoverButtons.get());
    FShowModified->Assign(source->FShowModified.get());
    FControlLook->Assign(source->FControlLook.get());
    FBalloonSettings->Assign(source->FBalloonSettings.get());
    FOfficeHint->Assign(source->FOfficeHint.get());

    FFixedRowAlways = source->FFixedRowAlways;
    SetColCount(source->ColCount());
    TCustomGrid::SetRowCount(source->RowCount());
    FNormalRowCount = source->RowCount();
    FMaxRowCount = std::max(FMaxRowCount, source->RowCount());
    SetFixedRows(source->FixedRows());
    SetFixedCols(source->FixedCols());
    SetDefaultColWidth(source->DefaultColWidth());
    SetDefaultRowHeight(source->DefaultRowHeight());
    SetFixedRowHeight(source->FFixedRowHeight);
    SetFixedColWidth(source->FFixedColWidth);
    FInvalidEntryTitle = source->FInvalidEntryTitle;
    FInvalidEntryIcon = source->FInvalidEntryIcon;
    FInvalidEntryText = source->FInvalidEntryText;
    SetOptions(source->Options());
    for (Integer i = 0; i < source->ColCount(); ++i)
        SetColWidths(i, source->ColWidths(i));
    FColumnHeaders->Assign(source->FColumnHeaders.get());
    for (Integer i = 0; i < source->RowCount(); ++i)
        SetRowHeights(i, source->RowHeights(i));

    FScrollProportional = source->FScrollProportional;
    FScrollSynch = source->FScrollSynch;
    FScrollWidth = source->FScrollWidth;
    FScrollHints = source->FScrollHints;
    FScrollBarAlways = source->FScrollBarAlways;
    SetScrollBars(source->ScrollBars());
    FScrollBars = source->FScrollBars;
    SetScrollColor(source->FScrollColor);
    SetScrollType(source->FScrollType);
    SetScrollWidth(source->FScrollWidth);
    SetLook(source->FLook);
    FBorderColor = source->FBorderColor;
    FSelectionColor = source->FSelectionColor;
    FSelectionColorTo = source->FSelectionColorTo;
    FSelectionMirrorColor = source->FSelectionMirrorColor;
    FSelectionMirrorColorTo = source->FSelectionMirrorColorTo;
    FSelectionTextColor = source->FSelectionTextColor;
    FSelectionRTFKeep = source->FSelectionRTFKeep;
    FSelectionResizer = source->FSelectionResizer;
    FAutoFilterUpdate = source->FAutoFilterUpdate;
    FAutoHideSelection = source->FAutoHideSelection;
    FAutoNumAlign = source->FAutoNumAlign;
    FAutoThemeAdapt = source->FAutoThemeAdapt;
    FDefaultEditor = source->FDefaultEditor;
    FDisabledFontColor = source->FDisabledFontColor;
    FEditWithTags = source->FEditWithTags;
    FEnableHTML = source->FEnableHTML;
    FEnableBlink = source->FEnableBlink;
    FEnhRowColMove = source->FEnhRowColMove;
    FEnhTextSize = source->FEnhTextSize;
    FExcelStyleDecimalSeparator = source->FExcelStyleDecimalSeparator;
    FFilterDropDownClear = source->FFilterDropDownClear;
    FFilterDropDownMultiCol = source->FFilterDropDownMultiCol;
    FFilterDropDownRow = source->FFilterDropDownRow;
    FFixedAsButtons = source->FFixedAsButtons;
    FFixedFooters = source->FFixedFooters;
    FFixedRightCols = source->FFixedRightCols;
    SetGridLineColor(source->GridLineColor());
    SetGridLineWidth(source->GridLineWidth());
    FHighlightColor = source->FHighlightColor;
    FHighLightTextColor = source->FHighLightTextColor;
    FHintColor = source->FHintColor;
    FHintShowCells = source->FHintShowCells;
    SetHoverRow(source->HoverRow());
    SetHoverRowColor(source->HoverRowColor());
    SetHoverRowColorTo(source->HoverRowColorTo());
    SetHoverRowCells(source->HoverRowCells());
    FIntelliZoom = source->FIntelliZoom;
    FIntelliPan = source->FIntelliPan;
    FIntegralHeight = source->FIntegralHeight;
    FHTMLHint = source->FHTMLHint;
    FLookup = source->FLookup;
    FLookupCaseSensitive = source->FLookupCaseSensitive;
    FLookupHistory = source->FLookupHistory;
    FLookupItems->Assign(source->FLookupItems.get());
    FMaxComboLength = source->FMaxComboLength;
    SetMaxEditLength(source->FMaxEditLength);
    FMultilineCells = source->FMultilineCells;

    AssignCells(Source);
}

// The cells travel as the native text format would carry them: the counts, then every stored text,
// fixed cells included. Property records and settings stay as they are.
void TAdvStringGrid::AssignCells(TPersistent* Source) {
    auto* source = dynamic_cast<TAdvStringGrid*>(Source);
    if (source == nullptr)
        return;
    const Integer cols = source->ColCount();
    const Integer rows = source->RowCount();
    SetColCount(std::max(cols, FixedCols() + 1));
    TCustomGrid::SetRowCount(std::max(rows, FixedRows() + 1));
    FNormalRowCount = RowCount();
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    for (Integer r = 0; r < rows; ++r)
        for (Integer c = 0; c < cols; ++c)
            SetGridCell(c, r, source->GetGridCell(c, r));
}

// ---- Window and geometry

void TAdvStringGrid::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    if (FIntegralHeight && FUpdateCount == 0 && DefaultRowHeight() > 0) {
        const Integer scrollHeight =
            VisibleColCount() + FixedCols() < ColCount() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
        const Integer border = BorderStyle() == bsSingle ? 2 : 0;
        const Integer h = AHeight - scrollHeight - border;
        AHeight = scrollHeight + (h - h % DefaultRowHeight()) + 2 * border;
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    // FIXME: the border of the styled looks is redrawn by the view.
}

void TAdvStringGrid::Invalidate() {
    // One repaint is swallowed after an in-place edit changed the text.
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (FFooterPanel != nullptr && !ComponentState().Contains(csLoading) && FFloatingFooter->Visible())
        FFooterPanel->Invalidate();
}

void TAdvStringGrid::CreateWnd() {
    if (ComponentState().Contains(csDestroying))
        return;
    TBaseGrid::CreateWnd();
    if (Parent() == nullptr)
        return;
    if (!IsDesigning()) {
        if (FScrollType == ssMetro)
            CreateScrollControls();
        for (TScrollBar* bar : {FScrollBar.get(), FPaintScrollBar.get()}) {
            if (bar == nullptr)
                continue;
            bar->SetVisible(false);
            bar->SetParent(this);
            bar->SetTabStop(false);
            bar->SetKind(sbVertical);
            bar->SetCtl3D(false);
        }
        if (FBalloonSettings->Enable())
            BalloonInit();
    }
    FFooterPanel->SetParent(this);
    FFooterPanel->SetVisible(FFloatingFooter->Visible());
    FSearchPanel->SetParent(this);
    FSearchPanel->SetVisible(FSearchFooter->Visible());
    FSearchPanel->SetHeight(FSearchFooter->Visible() ? 32 : 0);
    if (FColumnSize->Save())
        LoadColSizes();

    FGridTimerID = SetTimer(WindowHandle(), GridTimerID, GridTimerPeriod, nullptr);

    if (IsDesigning() && !FLoaded && !ComponentState().Contains(csLoading))
        Font()->SetName(u"Tahoma");
    if (FIsWinXP)
        FIsWinXP = IsThemeActive() != FALSE;
    InitMouseWheel(true);
    if (FScrollType != ssNormal && !ComponentState().Contains(csLoading)) {
        InitFlatScrollBars();
        ApplyFlatScrollWidth();
        ApplyFlatScrollColor();
    }
}

void TAdvStringGrid::Loaded() {
    TBaseGrid::Loaded();
    FOldCursor = Cursor();
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FLook == glQEL) {
        FLook = glCustom;
        SetLook(glQEL);
    }
    if (FAutoSize && Parent() != nullptr)
        AutoSizeColumns(false, 4);
    if (FColumnSize->Save())
        LoadColSizes();
    FFixedRowsMin = FixedRows();
    FFixedColsMin = FixedCols();
    FMinRowHeight = DefaultRowHeight();
    FMinColWidth = 10;
    FMaxColCount = ColCount();
    FMaxRowCount = RowCount();
    FLoaded = true;
    TGridOptions options = Options();
    if (options.Contains(goAlwaysShowEditor)) {
        options.Exclude(goAlwaysShowEditor);
        SetOptions(options);
        FNavigation->SetAlwaysEdit(true);
    }
    FOrigColSizes->Clear();
    for (Integer i = 0; i < ColCount(); ++i)
        FOrigColSizes->Add(ColWidths(i));
    if (FBalloonSettings->Enable())
        BalloonInit();
    ApplyScrollBarAlways(false);
}

void TAdvStringGrid::ApplyScrollBarAlways(bool HideWhenFit) {
    // The framework grid keeps the named bars shown, disabled while their lines all fit and enabled
    // again once they do not, whenever it sets its range; the other bars it hides when they fit.
    const TScrollStyle bars = ScrollBars();
    const bool vert =
        (FScrollBarAlways == saVert || FScrollBarAlways == saBoth) && (bars == ssVertical || bars == ssBoth);
    const bool horz = (FScrollBarAlways == saHorz || FScrollBarAlways == saBoth) &&
                      (bars == ssHorizontal || bars == ssBoth);
    SetKeptScrollBars(vert && horz ? ssBoth : vert ? ssVertical : horz ? ssHorizontal : ssNone);
    if (FScrollBarAlways != saNone || !HideWhenFit || !HandleAllocated())
        return;
    if (VisibleRowCount() + FixedRows() >= RowCount())
        ShowScrollBar(WindowHandle(), SB_VERT, FALSE);
    if (VisibleColCount() + FixedCols() >= ColCount())
        ShowScrollBar(WindowHandle(), SB_HORZ, FALSE);
}

void TAdvStringGrid::Resize() {
    TBaseGrid::Resize();
    if (OnGridResize)
        OnGridResize(this);
    if ((FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
        FBackGround->ColorTo() != clNone)
        Invalidate();
    ApplyScrollBarAlways(false);
    CellControlsUpdate(false);
    InitMouseWheel(false);
    if (IsDesigning())
        Invalidate();
}

String TAdvStringGrid::GetEditMask(Integer ACol, Integer ARow) {
    String value = FEditMask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, value);
    return value;
}

// The legacy wheel driver of old systems does not exist here; the system setting gives the step.
void TAdvStringGrid::InitMouseWheel(bool /*Startup*/) {
    FWheelMsg = WM_MOUSEWHEEL;
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    FWheelScrollLines = lines == static_cast<UINT>(-1) ? VisibleRowCount() : static_cast<Integer>(lines);
}

bool TAdvStringGrid::IsDesigning() {
    return ComponentState().Contains(csDesigning);
}

TCustomForm* TAdvStringGrid::FindParentForm(TControl* Control) const {
    for (TControl* c = Control; c != nullptr; c = c->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(c))
            return form;
    return nullptr;
}

// ---- Changed cells

void TAdvStringGrid::DoCellsChanged(const TRect& R) {
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    FNotifierList->NotifyAll(R);
    CalcFooter(-1);
}

void TAdvStringGrid::CellsChangedHook() {
    CalcFooter(-1);
}
