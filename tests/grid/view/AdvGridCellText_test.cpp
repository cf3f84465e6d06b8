// Tests of a cell's look and text: which setting wins for colours, font and alignment; how the text is
// drawn (line breaks, ellipsis, the single-line limit, links, passwords); how much room it takes; and the
// displayed, saved and loaded texts.
#include "tests/grid/view/GridViewTesting.h"

#include <functional>
#include <numbers>

#include "grid/engine/AdvUtil.h"
#include "platform/win32/windraw.h"

namespace {

using gridview_fixtures::GridViewTest;

struct Look {
    TColor brush;
    TColor font;
    TFontStyles style;
    TGridDrawState state;
    TAlignment align;
};

class CellLookTest : public GridViewTest {
protected:
    Look LookOf(Integer c, Integer r, TGridDrawState state = TGridDrawState()) {
        TBrush brush;
        TFont font;
        TColor to = clNone, mirror = clNone, mirrorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TCellGradientDirection gd = GradientVertical;
        grid->GetVisualProperties(c, r, state, false, true, true, &brush, to, mirror, mirrorTo, &font, ha, va,
                                  ww, gd);
        return Look{brush.Color(), font.Color(), font.Style(), state, ha};
    }
};

TEST_F(CellLookTest, TheSettingsWinInTheirOrder) {
    grid->SetColor(clWhite);
    grid->FixedFont()->SetStyle(TFontStyles{fsBold});
    grid->SetSelection(TGridRect(4, 4, 4, 4));
    struct Case {
        const char* name;
        std::function<void()> setup;
        Integer col, row;
        std::function<void(const Look&)> check;
    };
    const Case cases[] = {
        {"an own colour in a fixed row keeps it and is not made fixed", [&] { grid->SetColors(2, 0, clRed); },
         2, 0,
         [](const Look& l) {
             EXPECT_EQ(l.brush, clRed);
             EXPECT_FALSE(l.state.Contains(gdFixed));
         }},
        {"a fixed cell takes the fixed look", [] {}, 2, 0,
         [&](const Look& l) {
             EXPECT_TRUE(l.style.Contains(fsBold));
             EXPECT_TRUE(l.state.Contains(gdFixed));
         }},
        {"a check box without a colour takes the bands",
         [&] {
             grid->Bands()->SetActive(true);
             grid->Bands()->SetPrimaryColor(clYellow);
             grid->Bands()->SetSecondaryColor(clAqua);
             grid->Bands()->SetPrimaryLength(1);
             grid->Bands()->SetSecondaryLength(1);
             grid->AddCheckBox(2, 2, true, false);
         },
         2, 2, [](const Look& l) { EXPECT_EQ(l.brush, clAqua); }},
        {"bands of no length leave the grid colour",
         [&] {
             grid->Bands()->SetActive(true);
             grid->Bands()->SetPrimaryLength(0);
             grid->Bands()->SetSecondaryLength(0);
         },
         2, 2, [](const Look& l) { EXPECT_EQ(l.brush, clWhite); }},
        {"a mixer of 0 shows the cell's own colour",
         [&] {
             grid->SetColors(4, 4, clRed);
             grid->SetSelectionColorMixer(true);
             grid->SetSelectionColorMixerFactor(0);
         },
         4, 4, [](const Look& l) { EXPECT_EQ(l.brush, clRed); }},
        {"a mixer of 100 shows the selection colour",
         [&] {
             grid->SetColors(4, 4, clRed);
             grid->SetSelectionColorMixer(true);
             grid->SetSelectionColorMixerFactor(100);
         },
         4, 4, [&](const Look& l) { EXPECT_EQ(l.brush, grid->SelectionColor()); }},
        {"the mixer leaves a cell in the grid colour alone",
         [&] {
             grid->SetSelectionColorMixer(true);
             grid->SetSelectionColorMixerFactor(0);
         },
         4, 4, [&](const Look& l) { EXPECT_EQ(l.brush, grid->SelectionColor()); }},
        {"automatic colours count 0 as positive",
         [&] {
             grid->AutoColor()->PositiveNumber()->SetTextColor(clGreen);
             grid->AutoColor()->NegativeNumber()->SetTextColor(clRed);
             grid->SetCells(2, 2, u"0");
         },
         2, 2, [](const Look& l) { EXPECT_EQ(l.font, clGreen); }},
        {"automatic colours for negative numbers",
         [&] {
             grid->AutoColor()->NegativeNumber()->SetTextColor(clRed);
             grid->AutoColor()->NegativeNumber()->SetBkgColor(clYellow);
             grid->SetCells(2, 2, u"-3.5");
         },
         2, 2,
         [](const Look& l) {
             EXPECT_EQ(l.font, clRed);
             EXPECT_EQ(l.brush, clYellow);
         }},
        {"no automatic colour for the exponent form",
         [&] {
             grid->AutoColor()->PositiveNumber()->SetTextColor(clGreen);
             grid->SetCells(2, 2, u"1e5");
         },
         2, 2, [](const Look& l) { EXPECT_NE(l.font, clGreen); }},
        {"numbers right-justified",
         [&] {
             grid->SetAutoNumAlign(true);
             grid->SetCells(2, 2, u"12.5");
         },
         2, 2, [](const Look& l) { EXPECT_EQ(l.align, taRightJustify); }},
        {"text keeps the default alignment",
         [&] {
             grid->SetAutoNumAlign(true);
             grid->SetDefaultAlignment(taCenter);
             grid->SetCells(2, 2, u"abc");
         },
         2, 2, [](const Look& l) { EXPECT_EQ(l.align, taCenter); }},
        {"the record's alignment wins over the number",
         [&] {
             grid->SetAutoNumAlign(true);
             grid->SetCells(2, 2, u"12.5");
             grid->SetAlignments(2, 2, taCenter);
         },
         2, 2, [](const Look& l) { EXPECT_EQ(l.align, taCenter); }},
        {"but not for a formula",
         [&] {
             grid->SetAutoNumAlign(true);
             grid->SetCells(2, 2, u"=1+2");
             grid->SetAlignments(2, 2, taCenter);
         },
         2, 2, [](const Look& l) { EXPECT_EQ(l.align, taLeftJustify); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        grid->SetColor(clWhite);
        grid->FixedFont()->SetStyle(TFontStyles{fsBold});
        grid->SetSelection(TGridRect(4, 4, 4, 4));
        c.setup();
        c.check(LookOf(c.col, c.row));
    }
}

// In disjunct cell selection the current cell outside the list shows unselected, though the framework
// grid calls it selected.
TEST_F(CellLookTest, TheCurrentCellOutsideADisjunctCellSelectionShowsUnselected) {
    grid->SetColors(2, 2, clRed);
    grid->MouseActions()->SetDisjunctCellSelect(true);
    grid->SetCol(2);
    grid->SetRow(2);
    const Look look = LookOf(2, 2, TGridDrawState{gdSelected, gdFocused});
    EXPECT_FALSE(look.state.Contains(gdSelected));
    EXPECT_EQ(look.brush, clRed);
}

// ---- Drawing the text

TEST_F(GridViewTest, PlainTextIsDrawnByItsFlags) {
    const String longText(5000, u'x');
    struct Case {
        const char* name;
        String text;
        Integer width;
        std::function<void()> setup;
        std::function<void(const std::vector<std::string>&)> check;
    };
    const Case cases[] = {
        {"a single-line cell shows the text before the break", u"first\r\nsecond", 120,
         [&] { grid->SetWordWrap(false); },
         [](const std::vector<std::string>& texts) { EXPECT_EQ(texts, std::vector<std::string>{"first"}); }},
        {"a multi-line cell draws line by line", u"first\r\nsecond", 120,
         [&] {
             grid->SetWordWrap(false);
             grid->SetMultilineCells(true);
             grid->SetDefaultRowHeight(40);
         },
         [](const std::vector<std::string>& texts) {
             EXPECT_EQ(texts, (std::vector<std::string>{"first", "second"}));
         }},
        {"a too long line ends in an ellipsis", u"a rather long text for the cell", 60,
         [&] {
             grid->SetWordWrap(false);
             grid->SetEnhTextSize(true);
         },
         [](const std::vector<std::string>& texts) {
             ASSERT_EQ(texts.size(), 1u);
             EXPECT_NE(texts[0].find("..."), std::string::npos) << texts[0];
         }},
        {"single-line text stops at 4096 characters", longText, 120, [&] { grid->SetWordWrap(false); },
         [](const std::vector<std::string>& texts) {
             size_t total = 0;
             for (const std::string& t : texts)
                 total += t.size();
             EXPECT_LE(total, 4096u);
         }},
        {"a password cell shows one character for each", u"secret", 120,
         [&] { grid->OnIsPasswordCell = [](TObject*, Integer, Integer, bool& p) { p = true; }; },
         [](const std::vector<std::string>& texts) { EXPECT_EQ(texts, std::vector<std::string>{"******"}); }},
        {"a link shows without its scheme", u"http://example.org", 120, [&] { grid->SetURLShow(true); },
         [](const std::vector<std::string>& texts) {
             EXPECT_EQ(texts, std::vector<std::string>{"example.org"});
         }},
        {"a display event's text is what is drawn", u"stored text", 160,
         [&] {
             grid->SetWordWrap(false);
             grid->OnGetDisplText = [](TObject*, Integer, Integer, String& value) {
                 value = u"[" + value + u"]";
             };
         },
         [](const std::vector<std::string>& texts) {
             EXPECT_EQ(texts, std::vector<std::string>{"[stored text]"});
         }},
        // The stored text is read in place; a handler writing the cell in the middle of its paint must not
        // leave the paint reading freed text.
        {"a cell rewritten while it is painted shows one whole text", u"the first stored text", 240,
         [&] {
             grid->SetWordWrap(false);
             grid->OnIsPasswordCell = [&](TObject*, Integer, Integer, bool&) {
                 grid->SetCells(2, 2, u"a second, longer stored text");
             };
         },
         [](const std::vector<std::string>& texts) {
             ASSERT_EQ(texts.size(), 1u);
             EXPECT_TRUE(texts[0] == "the first stored text" || texts[0] == "a second, longer stored text")
                 << texts[0];
         }},
        {"URLFull keeps the scheme", u"mailto:me@example.org", 160,
         [&] {
             grid->SetURLShow(true);
             grid->SetURLFull(true);
             grid->SetWordWrap(false);
         },
         [](const std::vector<std::string>& texts) {
             EXPECT_EQ(texts, std::vector<std::string>{"mailto:me@example.org"});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        grid->SetColWidths(2, c.width);
        c.setup();
        grid->SetCells(2, 2, c.text);
        c.check(Texts(PaintOne(2, 2)));
    }
}

// The link's underline and colour belong to its cell: the canvas font is as before afterwards.
TEST_F(GridViewTest, ALinkLeavesNoUnderlineForTheNextCell) {
    grid->SetURLShow(true);
    grid->SetCells(2, 2, u"http://example.org");
    const std::vector<std::string> calls = PaintOne(2, 2);
    EXPECT_NE(Joined(calls).find(Hex(grid->URLColor())), std::string::npos) << Joined(calls);
    EXPECT_FALSE(canvas.Font()->Style().Contains(fsUnderline));
    grid->SetCells(3, 2, u"plain");
    PaintOne(3, 2);
    EXPECT_FALSE(canvas.Font()->Style().Contains(fsUnderline));
}

// ---- Measuring

TEST_F(GridViewTest, CellTextMeasuresItsRoom) {
    grid->SetMultilineCells(true);
    grid->Canvas()->Font()->Assign(grid->Font());
    const Integer line = grid->Canvas()->TextHeight(u"gh");
    EXPECT_EQ(grid->GetCellTextSize(2, 2, false, false), (TSize{0, 0})) << "an empty cell";
    EXPECT_EQ(grid->GetCellTextSize(2, 2, false, true), (TSize{0, 0}));
    grid->SetCells(2, 2, u"one\r\ntwo");
    EXPECT_EQ(grid->GetCellTextSize(2, 2, false, false).cy, 2 * line);
    grid->SetCells(2, 3, u"<b>a mini-HTML text far wider than its column</b>");
    EXPECT_GT(grid->GetCellTextSize(2, 3, false, false).cx, grid->ColWidths(2))
        << "not bounded by the column";

    grid->FixedFont()->SetStyle(TFontStyles());
    grid->SetCells(2, 0, u"Header");
    const Integer normal = grid->GetCellTextSize(2, 0, false, false).cx;
    grid->SetActiveCellShow(true);
    grid->ActiveCellFont()->SetStyle(TFontStyles{fsBold});
    EXPECT_GT(grid->GetCellTextSize(2, 0, false, false).cx, normal) << "a fixed cell measures bold";
}

TEST_F(GridViewTest, RotatedTextMeasuresItsTurnedBox) {
    grid->SetWordWrap(false);
    grid->SetCells(2, 2, u"turned");
    const TSize flat = grid->GetCellTextSize(2, 2, false, false);
    TCellGraphic* graphic = grid->CreateCellGraphic(2, 2);
    graphic->SetCellType(ctRotated);
    for (Integer angle : {0, 90, 180, 270, 45}) {
        graphic->SetAngle(static_cast<SmallInt>(angle));
        const TSize size = grid->GetCellTextSize(2, 2, false, false);
        if (angle % 180 == 0)
            EXPECT_EQ(size, (TSize{flat.cx + 12, flat.cy + 12})) << angle;
        else if (angle % 90 == 0)
            EXPECT_EQ(size, (TSize{flat.cy + 12, flat.cx + 12})) << angle;
        else {
            // Half-way round, the turned box is square and holds both sides' projections.
            const double side = (flat.cx + flat.cy) * std::numbers::sqrt2 / 2 + 12;
            EXPECT_EQ(size.cx, size.cy) << angle;
            EXPECT_NEAR(size.cx, side, 2) << angle;
        }
    }
}

// ---- Displayed, saved and loaded text

TEST_F(GridViewTest, NumbersAreFormattedOnlyThroughTheEvent) {
    grid->SetFloatFormat(u"%.2f");
    grid->SetCells(2, 2, u"3.14159");
    EXPECT_EQ(grid->GetFormattedCell(2, 2), u"3.14159") << "no handler, no formatting";
    int asked = 0;
    bool keep = true;
    String format = u"%.2f";
    grid->OnGetFloatFormat = [&](TObject*, Integer, Integer, bool& isFloat, String& f) {
        ++asked;
        isFloat = keep;
        f = format;
    };
    EXPECT_EQ(grid->GetFormattedCell(2, 2), u"3.14");
    keep = false;
    EXPECT_EQ(grid->GetFormattedCell(2, 2), u"3.14159");
    keep = true;
    format = u"%d";
    EXPECT_EQ(grid->GetFormattedCell(2, 2), u"3.14159") << "a format that does not fit shows the text";
    format = u"#,##0.0";
    grid->SetFormatType(ftExcel);
    grid->SetCells(2, 2, u"1234.56");
    EXPECT_EQ(grid->GetFormattedCell(2, 2), u"1,234.6") << "a spreadsheet format";
    asked = 0;
    grid->SetCells(2, 3, u"abc");
    EXPECT_EQ(grid->GetFormattedCell(2, 3), u"abc");
    EXPECT_EQ(asked, 0) << "a text is never offered";
}

TEST_F(GridViewTest, SavedTextUsesCheckWordsAndDropsTags) {
    grid->AddCheckBox(2, 2, true, false);
    grid->AddCheckBox(2, 3, false, false);
    grid->AddCheckBox(2, 4, true, false);
    grid->SetCells(2, 4, u"own");
    EXPECT_EQ(grid->SaveCell(2, 2), grid->CheckTrue());
    EXPECT_EQ(grid->SaveCell(2, 3), grid->CheckFalse());
    EXPECT_EQ(grid->SaveCell(2, 4), u"own");
    grid->SetCells(3, 2, u"<b>bold</b>");
    EXPECT_EQ(grid->SaveCell(3, 2), u"<b>bold</b>");
    grid->SetSaveWithHTML(false);
    EXPECT_EQ(grid->SaveCell(3, 2), u"bold");
    grid->OnSaveCell = [](TObject*, Integer, Integer, String& value) { value += u"!"; };
    EXPECT_EQ(grid->SaveCell(3, 2), u"bold!");
}

TEST_F(GridViewTest, LoadedTextIsStoredWithoutTheChangeHandling) {
    int changes = 0;
    grid->OnCellsChanged = [&](TObject*, TRect) { ++changes; };
    grid->OnLoadCell = [](TObject*, Integer, Integer, String& value) { value = u"[" + value + u"]"; };
    grid->LoadCell(2, 2, u"loaded");
    EXPECT_EQ(grid->Cells(2, 2), u"[loaded]");
    EXPECT_EQ(changes, 0);
}

} // namespace
