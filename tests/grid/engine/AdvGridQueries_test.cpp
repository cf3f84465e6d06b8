// Tests of the full string grid's per-cell queries, each answered from the grid's settings without its
// event and changed by the event when one is assigned, and of the inner editors' relays.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/framework/ComCtrlsDates.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winuser.h"

namespace {

using advgrid_fixtures::gLiveGraphics;

class TQueryGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void SetEditDisable(bool value) { FEditDisable = value; }
    void SetFixedMinimum(Integer rows, Integer cols) {
        FFixedRowsMin = rows;
        FFixedColsMin = cols;
    }
};

class AdvGridQueriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new TQueryGrid(nullptr);
        FGrid->SetColCount(5);
        FGrid->SetRowCount(6);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0);
    }
    void EnableEditing() { FGrid->SetOptions(FGrid->Options() + goEditing); }

    TQueryGrid* FGrid = nullptr;
};

// ---- Check texts

TEST_F(AdvGridQueriesTest, CheckTextsComeFromTheGridThenTheEvent) {
    TQueryGrid& g = *FGrid;
    String value;
    g.GetCheckTrue(2, 3, value);
    EXPECT_EQ(value, u"Y");
    g.GetCheckFalse(2, 3, value);
    EXPECT_EQ(value, u"N");

    g.OnGetCheckTrue = [](TObject*, Integer ACol, Integer, String& Value) {
        if (ACol == 2)
            Value = u"1";
    };
    g.GetCheckTrue(2, 3, value);
    EXPECT_EQ(value, u"1");
    g.GetCheckTrue(1, 3, value);
    EXPECT_EQ(value, u"Y") << "other columns keep the grid's text";
    g.GetCheckFalse(2, 3, value);
    EXPECT_EQ(value, u"N") << "the unchecked text has its own event";
}

// ---- Fixed cells

TEST_F(AdvGridQueriesTest, FixedCellsAreFixedWithoutAskingTheEvent) {
    TQueryGrid& g = *FGrid;
    std::vector<TPoint> asked; // (col, row) the event was asked about
    const auto fixed = [&](Integer c, Integer r) {
        bool isFixed = false;
        g.GetIsFixedCell(c, r, isFixed);
        return isFixed;
    };
    EXPECT_TRUE(fixed(0, 3));
    EXPECT_TRUE(fixed(3, 0));
    EXPECT_FALSE(fixed(3, 3));

    g.OnIsFixedCell = [&](TObject*, Integer ARow, Integer ACol, bool& IsFixed) {
        asked.emplace_back(ACol, ARow);
        IsFixed = ACol == 4;
    };
    EXPECT_TRUE(fixed(0, 3));
    EXPECT_TRUE(fixed(4, 2));
    EXPECT_FALSE(fixed(3, 2));
    EXPECT_EQ(asked, (std::vector<TPoint>{TPoint(4, 2), TPoint(3, 2)})) << "the fixed column never asks";

    bool already = true;
    g.GetIsFixedCell(3, 3, already);
    EXPECT_TRUE(already);
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(AdvGridQueriesTest, FixedRowAlwaysFixesTheRowsOfAGridAtItsStoredMinimum) {
    TQueryGrid& g = *FGrid;
    g.SetFixedRows(0);
    g.SetFixedCols(0);
    g.SetRowCount(2);
    g.SetFixedMinimum(2, 0);
    bool isFixed = false;
    g.GetIsFixedCell(3, 1, isFixed);
    EXPECT_FALSE(isFixed);
    g.SetFixedRowAlways(true);
    g.GetIsFixedCell(3, 1, isFixed);
    EXPECT_TRUE(isFixed);
}

// ---- Editability

TEST_F(AdvGridQueriesTest, CanEditCellAnswersTable) {
    struct Case {
        const char* name;
        bool record;      // the base cell has a record
        bool readOnly;    // and it is read-only
        bool editing;     // goEditing
        bool editDisable; // editing switched off for the current cell only
        bool rangeEdit;   // MouseActions.RangeSelectAndEdit
        bool in;          // CanEdit on entry
        bool expected;
    };
    const Case cases[] = {
        {"no record keeps what came in", false, false, false, false, false, true, true},
        {"no record, refused on entry", false, false, true, false, false, false, false},
        {"read-only with editing on", true, true, true, false, false, true, false},
        {"writable with editing on", true, false, true, false, false, true, true},
        {"writable without editing", true, false, false, false, false, true, false},
        {"writable, editing off for this cell only", true, false, false, true, false, true, true},
        {"writable with range select and edit", true, false, false, false, true, true, true},
        {"record refused on entry stays refused", true, false, true, false, false, false, false},
    };
    for (const Case& c : cases) {
        auto* g = new TQueryGrid(nullptr);
        g->SetColCount(5);
        g->SetRowCount(6);
        if (c.record)
            g->CellProperties(2, 3)->SetReadOnly(c.readOnly);
        if (c.editing)
            g->SetOptions(g->Options() + goEditing);
        g->SetEditDisable(c.editDisable);
        g->MouseActions()->SetRangeSelectAndEdit(c.rangeEdit);
        bool canEdit = c.in;
        g->CanEditCell(2, 3, canEdit);
        EXPECT_EQ(canEdit, c.expected) << c.name;
        delete g;
    }
}

TEST_F(AdvGridQueriesTest, CanEditCellAsksTheEventAboutTheBaseCellOfStoredColumnsOnly) {
    TQueryGrid& g = *FGrid;
    EnableEditing();
    g.MergeCells(1, 2, 2, 2);
    std::vector<TPoint> asked;
    g.OnCanEditCell = [&](TObject* sender, Integer ARow, Integer ACol, bool& CanEdit) {
        EXPECT_EQ(sender, &g);
        asked.emplace_back(ACol, ARow);
        CanEdit = !CanEdit;
    };
    bool canEdit = true;
    g.CanEditCell(2, 3, canEdit);
    EXPECT_FALSE(canEdit);
    EXPECT_EQ(asked, (std::vector<TPoint>{TPoint(1, 2)}));

    g.CellProperties(1, 2)->SetReadOnly(true);
    canEdit = true;
    g.CanEditCell(2, 2, canEdit);
    EXPECT_TRUE(canEdit) << "the event sees the read-only answer and may overrule it";

    // A column past the stored ones is not asked about and, without a record, is editable.
    asked.clear();
    canEdit = false;
    g.CanEditCell(7, 1, canEdit);
    EXPECT_TRUE(canEdit);
    EXPECT_TRUE(asked.empty());
}

// ---- Editors and their buttons

TEST_F(AdvGridQueriesTest, EditorButtonsShowByTheAlwaysVisibleSettingsOrTheEvents) {
    TQueryGrid& g = *FGrid;
    g.SetDefaultEditor(edComboList);
    EXPECT_FALSE(g.HasComboBox(2, 2, edNone)) << "not without DropDownAlwaysVisible";

    g.ControlLook()->SetDropDownAlwaysVisible(true);
    for (Integer r = 0; r < g.RowCount(); ++r)
        for (Integer c = 0; c < g.ColCount(); ++c)
            EXPECT_TRUE(g.HasComboBox(c, r, edNone)) << c << "," << r;
    EXPECT_FALSE(g.HasComboBox(2, 2, edEditBtn)) << "a given editor is taken as it is";
    EXPECT_TRUE(g.HasEditBtn(2, 2, edEditBtn));
    EXPECT_FALSE(g.HasEditBtn(2, 2, edNone));

    // The editor asked for goes through OnGetEditorType.
    g.OnGetEditorType = [](TObject*, Integer ACol, Integer, TEditorType& AEditor) {
        if (ACol == 3)
            AEditor = edSpinEdit;
    };
    EXPECT_FALSE(g.HasComboBox(3, 2, edNone));
    EXPECT_FALSE(g.HasSpinEdit(3, 2, edNone)) << "not without SpinButtonsAlwaysVisible";
    g.ControlLook()->SetSpinButtonsAlwaysVisible(true);
    EXPECT_TRUE(g.HasSpinEdit(3, 2, edNone));
    EXPECT_FALSE(g.HasSpinEdit(3, 0, edNone)) << "never in a fixed row";
    EXPECT_FALSE(g.HasSpinEdit(0, 2, edFloatSpinEdit)) << "never in a fixed column";
    EXPECT_TRUE(g.HasSpinEdit(1, 2, edDateSpinEdit));

    // The events decide alone, whatever the settings.
    g.OnHasComboBox = [](TObject*, Integer ACol, Integer, bool& Has) { Has = ACol == 4; };
    g.OnHasSpinEdit = [](TObject*, Integer, Integer, bool& Has) { Has = true; };
    EXPECT_FALSE(g.HasComboBox(2, 2, edComboEdit));
    EXPECT_TRUE(g.HasComboBox(4, 2, edNormal));
    EXPECT_FALSE(g.HasSpinEdit(0, 2, edSpinEdit));
    EXPECT_TRUE(g.HasSpinEdit(2, 2, edNormal));
}

TEST_F(AdvGridQueriesTest, NoEditorCellsAreThoseTheEventAnswersNoneFor) {
    TQueryGrid& g = *FGrid;
    EXPECT_FALSE(g.IsNoEditorCell(2, 2));
    std::vector<TEditorType> startedAs;
    g.OnGetEditorType = [&](TObject*, Integer ACol, Integer, TEditorType& AEditor) {
        startedAs.push_back(AEditor);
        if (ACol == 2)
            AEditor = edNone;
    };
    g.SetDefaultEditor(edComboList);
    EXPECT_TRUE(g.IsNoEditorCell(2, 2));
    EXPECT_FALSE(g.IsNoEditorCell(3, 2));
    EXPECT_EQ(startedAs, (std::vector<TEditorType>{edNormal, edNormal}));
}

// ---- Look

TEST_F(AdvGridQueriesTest, GetCellColorAppliesTheRecordThenTheEvent) {
    TQueryGrid& g = *FGrid;
    TBrush brush;
    TFont font;
    brush.SetColor(clWindow);
    font.SetName(u"Arial");
    font.SetSize(9);

    g.GetCellColor(2, 2, TGridDrawState(), &brush, &font);
    EXPECT_EQ(brush.Color(), clWindow) << "a cell without a record changes nothing";
    EXPECT_FALSE(g.CellPropsAssigned(2, 2)) << "and gets none";

    TCellProperties* record = g.CellProperties(2, 2);
    record->SetBrushColor(clRed);
    record->SetFontColor(clBlue);
    record->SetFontSize(14);
    record->SetFontStyle(TFontStyles{fsBold});
    record->SetFontName(u"Tahoma");
    g.GetCellColor(2, 2, TGridDrawState(), &brush, &font);
    EXPECT_EQ(brush.Color(), clRed);
    EXPECT_EQ(font.Color(), clBlue);
    EXPECT_EQ(font.Size(), 14);
    EXPECT_EQ(font.Style(), TFontStyles{fsBold});
    EXPECT_EQ(font.Name(), u"Tahoma");

    // Colours the record leaves at clNone and an empty name keep what the caller had.
    record->SetBrushColor(clNone);
    record->SetFontColor(clNone);
    record->SetFontName(u"");
    brush.SetColor(clYellow);
    font.SetColor(clGreen);
    g.OnGetCellColor = [&](TObject* sender, Integer ARow, Integer ACol, TGridDrawState AState, TBrush* ABrush,
                           TFont*) {
        EXPECT_EQ(sender, &g);
        EXPECT_EQ(ACol, 2);
        EXPECT_EQ(ARow, 2);
        EXPECT_TRUE(AState.Contains(gdSelected));
        EXPECT_EQ(ABrush->Color(), clYellow) << "the event comes last";
        ABrush->SetColor(clAqua);
    };
    g.GetCellColor(2, 2, TGridDrawState{gdSelected}, &brush, &font);
    EXPECT_EQ(brush.Color(), clAqua);
    EXPECT_EQ(font.Color(), clGreen);
    EXPECT_EQ(font.Name(), u"Tahoma");
}

TEST_F(AdvGridQueriesTest, ActiveCellShowMarksTheFixedCellsThatHeadTheCurrentCell) {
    TQueryGrid& g = *FGrid;
    g.SetActiveCellShow(true);
    g.SetActiveCellColor(clMaroon);
    g.SetRow(3);
    g.SetCol(2);
    const auto colour = [&](Integer c, Integer r) {
        TBrush brush;
        TFont font;
        brush.SetColor(clWindow);
        g.GetCellColor(c, r, TGridDrawState{gdFixed}, &brush, &font);
        return brush.Color();
    };
    EXPECT_EQ(colour(0, 3), clMaroon);
    EXPECT_EQ(colour(2, 0), clMaroon);
    EXPECT_EQ(colour(0, 2), clWindow);
    EXPECT_EQ(colour(3, 0), clWindow);
    EXPECT_EQ(colour(2, 3), clWindow);
}

TEST_F(AdvGridQueriesTest, GetCellFontIsTheGridsFontOrTheRecordsLook) {
    TQueryGrid& g = *FGrid;
    EXPECT_EQ(g.GetCellFont(1, 1), g.Font());
    EXPECT_FALSE(g.CellPropsAssigned(1, 1));

    TCellProperties* record = g.CellProperties(1, 1);
    record->SetFontName(u"Courier New");
    record->SetFontSize(12);
    record->SetFontColor(clRed);
    TFont* font = g.GetCellFont(1, 1);
    EXPECT_NE(font, g.Font());
    EXPECT_EQ(font->Name(), u"Courier New");
    EXPECT_EQ(font->Size(), 12);
    EXPECT_EQ(font->Color(), clRed);
}

TEST_F(AdvGridQueriesTest, NewRecordsOverBandsOrAGradientHaveNoBackground) {
    TQueryGrid& g = *FGrid;
    EXPECT_EQ(g.CellProperties(1, 1)->BrushColor(), g.Color());
    g.Bands()->SetActive(true);
    EXPECT_EQ(g.CellProperties(1, 2)->BrushColor(), clNone);
    EXPECT_EQ(g.CellProperties(1, 2)->BrushColorTo(), clNone);
    g.Bands()->SetActive(false);
    g.BackGround()->SetDisplay(bdGradientVert);
    EXPECT_EQ(g.CellProperties(1, 3)->BrushColor(), clNone);
    g.BackGround()->SetDisplay(bdTile);
    EXPECT_EQ(g.CellProperties(1, 4)->BrushColor(), g.Color());
}

TEST_F(AdvGridQueriesTest, AlignmentCentresColumnZeroWithHotmailRowSelectThenAsksTheEvent) {
    TQueryGrid& g = *FGrid;
    const auto align = [&](Integer c) {
        TAlignment h = taRightJustify;
        TVAlignment v = vtaBottom;
        g.GetCellAlignment(c, 2, h, v);
        return h;
    };
    EXPECT_EQ(align(0), taRightJustify);
    g.MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(align(0), taCenter);
    EXPECT_EQ(align(1), taRightJustify);
    g.OnGetAlignment = [](TObject*, Integer ARow, Integer ACol, TAlignment& h, TVAlignment& v) {
        if (ACol == 0 && ARow == 2)
            h = taLeftJustify;
        v = vtaCenter;
    };
    EXPECT_EQ(align(0), taLeftJustify);
}

TEST_F(AdvGridQueriesTest, BordersAreTheCallersUntilTheEventSetsThem) {
    TQueryGrid& g = *FGrid;
    g.Grouping()->SetHeaderUnderline(true);
    g.Grouping()->SetSummaryLine(true);
    TPen pen;
    TCellBorders borders{cbLeft};
    g.GetCellBorder(2, 2, &pen, borders);
    EXPECT_EQ(borders, TCellBorders{cbLeft}) << "a row that is neither node nor summary";
    g.OnGetCellBorder = [](TObject*, Integer ARow, Integer ACol, TPen* APen, TCellBorders& Borders) {
        if (ACol == 2 && ARow == 3) {
            Borders = TCellBorders{cbTop, cbBottom};
            APen->SetWidth(3);
        }
    };
    g.GetCellBorder(2, 3, &pen, borders);
    EXPECT_EQ(borders, (TCellBorders{cbTop, cbBottom}));
    EXPECT_EQ(pen.Width(), 3);
}

// ---- Hints and cursor

TEST_F(AdvGridQueriesTest, CellCursorIsShownWhenItDiffersFromTheGrids) {
    TQueryGrid& g = *FGrid;
    ::SetCursor(Screen()->Cursors(crDefault));
    g.DoGetCellCursor(1, 2, 4, 5);
    EXPECT_EQ(::GetCursor(), Screen()->Cursors(crDefault)) << "nothing without the event";

    TCursor startedAs = crNone;
    g.OnGetCellCursor = [&](TObject*, Integer ACol, Integer ARow, Integer X, Integer Y, TCursor& ACursor) {
        startedAs = ACursor;
        if (ACol == 1 && ARow == 2 && X == 4 && Y == 5)
            ACursor = crHandPoint;
    };
    g.DoGetCellCursor(1, 2, 4, 5);
    EXPECT_EQ(startedAs, Screen()->Cursor());
    EXPECT_EQ(::GetCursor(), Screen()->Cursors(crHandPoint));
    ::SetCursor(Screen()->Cursors(crDefault));
    g.DoGetCellCursor(2, 2, 4, 5);
    EXPECT_EQ(::GetCursor(), Screen()->Cursors(crDefault)) << "the grid's own cursor is not set again";
}

TEST_F(AdvGridQueriesTest, GridHintFeedsTheOfficeHintAndTakesAWideAnswerEncoded) {
    TQueryGrid& g = *FGrid;
    String hint = u"plain";
    String wide;
    g.DoGridHint(1, 2, hint, wide);
    EXPECT_EQ(hint, u"plain") << "no event, no change";

    g.OnGridHint = [](TObject*, Integer ARow, Integer ACol, String& h) {
        h = u"cell " + IntToStr(ACol) + u"," + IntToStr(ARow);
    };
    TAdvHintInfo* seen = nullptr;
    g.OnOfficeHint = [&](TObject*, Integer, Integer, TAdvHintInfo* info) { seen = info; };
    g.DoGridHint(1, 2, hint, wide);
    EXPECT_EQ(hint, u"cell 1,2");
    EXPECT_EQ(Trim(g.OfficeHint()->Notes()->Text()), u"cell 1,2");
    EXPECT_EQ(seen, g.OfficeHint());

    g.OnGridWideHint = [](TObject*, Integer, Integer, String& w) { w = u"\u00e9t\u00e9"; };
    g.DoGridHint(1, 2, hint, wide);
    EXPECT_EQ(hint, EncodeWideText(u"\u00e9t\u00e9"));

    g.OnGridWideHint = [](TObject*, Integer, Integer, String& w) { w.clear(); };
    g.DoGridHint(1, 2, hint, wide);
    EXPECT_EQ(hint, u"cell 1,2") << "an empty wide answer leaves the hint";
}

// ---- Events fired as they are, and the relays

TEST_F(AdvGridQueriesTest, EventsGetTheirCoordinatesInTheirOwnOrder) {
    TQueryGrid& g = *FGrid;
    g.SetRow(4);
    g.SetCol(3);
    std::vector<std::string> heard;
    const auto note = [&](const char* what, Integer a, Integer b) {
        heard.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b));
    };
    // Without events nothing is heard and nothing fails.
    bool flag = true;
    g.DoCanSort(1, flag);
    g.GridButtonClick(nullptr);
    g.DoGetCellCursor(1, 2, 5, 5);
    EXPECT_TRUE(flag);

    g.OnButtonClick = [&](TObject*, Integer ACol, Integer ARow) { note("button", ACol, ARow); };
    g.OnIsPasswordCell = [&](TObject*, Integer ARow, Integer ACol, bool& v) {
        note("password", ACol, ARow);
        v = true;
    };
    g.OnGetWordWrap = [&](TObject*, Integer ACol, Integer ARow, bool& v) {
        note("wrap", ACol, ARow);
        v = false;
    };
    g.OnCanSort = [&](TObject*, Integer ACol, bool& v) {
        note("sort", ACol, 0);
        v = false;
    };
    g.OnGetFormat = [&](TObject*, Integer ACol, TSortStyle& style, String& prefix, String&) {
        note("format", ACol, 0);
        style = ssNumeric;
        prefix = u"$";
    };
    g.OnSearchFooterAction = [&](TObject*, const String& value, Integer ACol, Integer ARow, TSearchAction a) {
        EXPECT_EQ(value, u"abc");
        EXPECT_EQ(a, saFindNext);
        note("search", ACol, ARow);
    };
    g.DoButtonClick(1, 2);
    g.GridButtonClick(nullptr);
    bool password = false;
    g.DoIsPasswordCell(1, 2, password);
    bool wrap = true;
    g.DoGetWordWrap(1, 2, wrap);
    g.DoCanSort(1, flag);
    TSortStyle style = ssAutomatic;
    String prefix;
    String suffix;
    g.DoGetFormat(1, style, prefix, suffix);
    g.DoSearchFooterAction(u"abc", 1, 2, saFindNext);
    EXPECT_EQ(heard, (std::vector<std::string>{"button 1,2", "button 3,4", "password 1,2", "wrap 1,2",
                                               "sort 1,0", "format 1,0", "search 1,2"}));
    EXPECT_TRUE(password);
    EXPECT_FALSE(wrap);
    EXPECT_FALSE(flag);
    EXPECT_EQ(style, ssNumeric);
    EXPECT_EQ(prefix, u"$");
}

TEST_F(AdvGridQueriesTest, ExpandClickFiresThenGivesTheRowItsExpandHeight) {
    TQueryGrid& g = *FGrid;
    g.SetRowHeights(2, 60);
    bool expanded = false;
    Integer heightSeen = 0;
    g.OnExpandClick = [&](TObject*, Integer ACol, Integer ARow, bool Expanded) {
        EXPECT_EQ(ACol, 1);
        expanded = Expanded;
        heightSeen = g.RowHeights(ARow);
    };
    g.DoExpandClick(1, 2, true);
    EXPECT_TRUE(expanded);
    EXPECT_EQ(heightSeen, 60) << "the event comes first";
    EXPECT_EQ(g.RowHeights(2), g.DefaultRowHeight()) << "a cell without an expand object";
}

TEST_F(AdvGridQueriesTest, DatePickerRelaysReportTheCurrentCell) {
    TQueryGrid& g = *FGrid;
    g.SetRow(4);
    g.SetCol(3);
    auto* picker = new TDateTimePicker(nullptr);
    const TDateTime when = EncodeDateTime(2026, 3, 15, 10, 30, 0, 0);
    picker->SetDateTime(when);

    std::vector<std::string> heard;
    TDateTime heardWhen = 0;
    g.OnDateTimeChange = [&](TObject* sender, Integer ACol, Integer ARow, TDateTime value) {
        EXPECT_EQ(sender, &g);
        heard.push_back("datetime " + std::to_string(ACol) + "," + std::to_string(ARow));
        heardWhen = value;
    };
    std::vector<String> texts;
    g.OnEditChange = [&](TObject*, Integer ACol, Integer ARow, const String& value) {
        EXPECT_EQ(ACol, 3);
        EXPECT_EQ(ARow, 4);
        texts.push_back(value);
    };
    g.OnDatePickerCloseUp = [&](TObject*, Integer ARow, Integer ACol) {
        heard.push_back("closeup " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    g.OnDatePickerDropDown = [&](TObject*, Integer ARow, Integer ACol) {
        heard.push_back("dropdown " + std::to_string(ACol) + "," + std::to_string(ARow));
    };

    g.DateTimePickerChange(picker);
    g.DatePickerChange(picker);
    picker->SetKind(dtkTime);
    g.DatePickerChange(picker);
    g.DatePickerDropDown(picker);
    g.DatePickerCloseUp(picker);
    // Another sender is not a picker and is ignored.
    g.DatePickerChange(&g);
    g.DateTimePickerChange(nullptr);

    EXPECT_EQ(heard, (std::vector<std::string>{"datetime 3,4", "dropdown 3,4", "closeup 3,4"}));
    EXPECT_EQ(heardWhen, when);
    EXPECT_EQ(texts, (std::vector<String>{DateToStr(when), TimeToStr(when)}));
    delete picker;
}

} // namespace
