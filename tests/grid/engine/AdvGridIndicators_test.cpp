// Tests of the indicator objects (bars, pies, ranges, shapes, ratings, in-cell scroll bars) and of what
// joins a cell's object: comments, marked ranges and balloon tips.
#include <gtest/gtest.h>

#include "tests/grid/engine/ShownGridTesting.h"

namespace {

using AdvGridIndicatorsTest = advgrid_fixtures::ShownGridTest;

TEST_F(AdvGridIndicatorsTest, BarsPiesAndRangesKeepTheirSettingsInTheirOwnFields) {
    grid->SetCells(1, 1, u"42");
    grid->SetAlignments(1, 1, taCenter);
    grid->AddProgress(1, 1, clRed, clWhite);
    const TCellGraphic* bar = grid->GetCellGraphic(1, 1);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->CellType(), ctProgress);
    EXPECT_EQ(bar->CellColor(), clRed);
    EXPECT_EQ(bar->CellColorTo(), clWhite);
    EXPECT_EQ(bar->CellBitmap(), nullptr) << "colours never sit in an object slot";
    EXPECT_FALSE(bar->CellBoolean()) << "no text colours given";
    EXPECT_EQ(bar->CellErrFrom(), 0);
    EXPECT_EQ(bar->CellErrLen(), 100);
    EXPECT_TRUE(grid->HasProgress(1, 1));
    grid->RemoveProgress(1, 1);
    EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);
    EXPECT_EQ(grid->Cells(1, 1), u"42");
    EXPECT_EQ(grid->Alignments(1, 1), taCenter);

    grid->AddProgressFormatted(1, 2, clBlue, clYellow, clGray, clBlack, u"%d%%", -10, 10);
    const TCellGraphic* formatted = grid->GetCellGraphic(1, 2);
    EXPECT_TRUE(formatted->CellBoolean());
    EXPECT_EQ(formatted->CellIndex(), static_cast<Integer>(clYellow));
    EXPECT_EQ(formatted->CellAngle(), static_cast<Integer>(clBlack));
    EXPECT_EQ(formatted->CellText(), u"%d%%");
    EXPECT_EQ(formatted->CellErrFrom(), -10);

    grid->AddAdvProgress(1, 3, 5, 50);
    grid->AddProgressPie(1, 4, clGreen, 30);
    EXPECT_FALSE(grid->HasProgress(1, 3)) << "the styled bar is not a plain progress bar";
    EXPECT_FALSE(grid->HasProgress(1, 4)) << "nor is the pie";
    grid->RemoveProgress(1, 3);
    EXPECT_EQ(grid->GetCellType(1, 3), ctXPProgress);
    Application->ProcessMessages();
    Settle();
    grid->SetProgressPie(1, 4, 75);
    EXPECT_EQ(grid->GetCellGraphic(1, 4)->CellAngle(), 75);
    EXPECT_TRUE(Repainting(1, 4));
    grid->SetProgressPie(1, 3, 75);
    EXPECT_EQ(grid->GetCellGraphic(1, 3)->CellAngle(), 0) << "only a pie takes a pie's value";

    grid->AddRangeIndicator(2, 1, 50, clRed, clGreen, true);
    const TCellGraphic* range = grid->GetCellGraphic(2, 1);
    EXPECT_EQ(range->CellIndex(), 50);
    EXPECT_EQ(range->CellColor(), clRed);
    EXPECT_EQ(range->CellColorTo(), clGreen);
    EXPECT_TRUE(range->CellBoolean());
    grid->RemoveRangeIndicator(2, 1);
    grid->RemoveAdvProgress(1, 3);
    grid->RemoveProgressPie(1, 4);
    for (const auto& [c, r] : {std::pair{2, 1}, std::pair{1, 3}, std::pair{1, 4}})
        EXPECT_EQ(grid->GetCellType(c, r), ctEmpty) << c << "," << r;
}

TEST_F(AdvGridIndicatorsTest, ShapesAndRatings) {
    EXPECT_EQ(grid->GetShapeColor(1, 1), clNone) << "a text cell has no shape colour";
    grid->AddShape(1, 1, csCircle, clRed, clBlack, haCenter, vaCenter);
    EXPECT_EQ(grid->GetShapeColor(1, 1), clRed);
    EXPECT_EQ(grid->GetCellGraphic(1, 1)->CellColor(), clBlack);
    grid->SetShapeColor(1, 1, clLime);
    EXPECT_EQ(grid->GetShapeColor(1, 1), clLime);
    grid->SetShapeColor(1, 2, clLime);
    EXPECT_EQ(grid->GetCellType(1, 2), ctEmpty);
    grid->MergeCells(1, 1, 2, 1);
    EXPECT_TRUE(grid->HasShape(2, 1));
    grid->RemoveShape(1, 1);
    EXPECT_FALSE(grid->HasShape(1, 1));

    grid->AddRating(1, 3, 5, clYellow, clSilver);
    EXPECT_TRUE(grid->HasRating(1, 3));
    EXPECT_EQ(grid->GetCellGraphic(1, 3)->CellHAlign(), haFull);
    double rate = 3;
    EXPECT_TRUE(grid->DoRatingChange(1, 3, rate));
    grid->OnRatingChange = [](TObject*, Integer, Integer ARow, double& NewRate, bool& Allow) {
        NewRate = 4;
        Allow = ARow != 3;
    };
    EXPECT_FALSE(grid->DoRatingChange(1, 3, rate));
    EXPECT_EQ(rate, 4);
    grid->RemoveRating(1, 3);
    EXPECT_FALSE(grid->HasRating(1, 3));
}

TEST_F(AdvGridIndicatorsTest, ScrollBarsAnswerAtTheBaseCellAndFollowTheirText) {
    grid->SetColWidths(1, 300);
    grid->AddScrollBar(1, 1, false);
    EXPECT_TRUE(grid->HasScrollBar(1, 1));
    EXPECT_FALSE(grid->HasAutoRangeScrollBar(1, 1));
    EXPECT_EQ(grid->GetScrollPosition(1, 1), 0);
    EXPECT_EQ(grid->GetScrollProp(1, 1).Range, 100);
    EXPECT_EQ(grid->GetScrollProp(1, 1).PageSize, 0);

    grid->MergeCells(1, 1, 2, 2);
    grid->SetScrollPosition(2, 2, 7);
    EXPECT_EQ(grid->GetScrollPosition(1, 1), 7);
    grid->SetScrollProp(2, 1, TScrollProp{20, 60});
    EXPECT_EQ(grid->GetScrollProp(1, 2).PageSize, 20);
    EXPECT_EQ(grid->GetScrollProp(1, 2).Range, 60);

    EXPECT_EQ(grid->GetScrollPosition(3, 4), -1);
    EXPECT_EQ(grid->GetScrollProp(3, 4).PageSize, -1);
    EXPECT_EQ(grid->GetScrollProp(3, 4).Range, -1);
    grid->SetScrollPosition(3, 4, 5);
    EXPECT_EQ(grid->GetCellType(3, 4), ctEmpty);

    // An automatic range is the text's height over the row's height, now and after every change.
    grid->SetRowHeights(4, 30);
    grid->SetCells(1, 4, u"one\ntwo\nthree");
    grid->AddScrollBar(1, 4, true);
    EXPECT_TRUE(grid->HasAutoRangeScrollBar(1, 4));
    EXPECT_EQ(grid->GetScrollProp(1, 4).Range, 3 * LineHeight());
    EXPECT_EQ(grid->GetScrollProp(1, 4).PageSize, 30);
    grid->SetCells(1, 4, u"one\ntwo\nthree\nfour\nfive");
    EXPECT_EQ(grid->GetScrollProp(1, 4).Range, 5 * LineHeight());
    grid->RemoveScrollBar(1, 4);
    EXPECT_FALSE(grid->HasScrollBar(1, 4));
}

TEST_F(AdvGridIndicatorsTest, CommentsJoinTheCellsObjectAndCountOnlyWhenNotEmpty) {
    grid->AddComment(1, 1, u"note");
    EXPECT_EQ(grid->GetCellType(1, 1), ctNone);
    EXPECT_FALSE(grid->GetCellEmpty(1, 1));
    EXPECT_EQ(grid->GetCellGraphic(1, 1)->CommentColor(), clRed) << "the control look's comment colour";
    String comment;
    ASSERT_TRUE(grid->IsComment(1, 1, comment));
    EXPECT_EQ(comment, u"note");
    grid->RemoveComment(1, 1);
    EXPECT_TRUE(grid->GetCellEmpty(1, 1));
    EXPECT_EQ(grid->GetCellType(1, 1), ctNone) << "the object stays";
    comment = u"before";
    EXPECT_FALSE(grid->IsComment(1, 1, comment)) << "an empty comment is no comment";
    EXPECT_EQ(comment, u"before");

    grid->AddCheckBox(2, 1, true, false);
    grid->AddColorComment(2, 1, u"boxed", clBlue);
    grid->SetComment(2, 1, u"changed");
    EXPECT_EQ(grid->GetCellType(2, 1), ctCheckBox);
    EXPECT_EQ(grid->GetComment(2, 1), u"changed");
    EXPECT_EQ(grid->GetCellGraphic(2, 1)->CommentColor(), clBlue) << "the colour stays";
    grid->SetComment(3, 1, u"fresh");
    EXPECT_EQ(grid->GetComment(3, 1), u"fresh");
    EXPECT_EQ(grid->GetComment(4, 4), u"");

    grid->AddComment(2, 3, u"gone");
    grid->RemoveAllComments();
    for (const auto& [c, r] : {std::pair{2, 1}, std::pair{3, 1}, std::pair{2, 3}})
        EXPECT_EQ(grid->GetComment(c, r), u"") << c << "," << r;
    EXPECT_EQ(grid->GetCellType(2, 1), ctCheckBox);
}

TEST_F(AdvGridIndicatorsTest, MarkersJoinTheCellsObjectAndLeaveWithoutTakingIt) {
    Integer pos = -1;
    Integer len = -1;
    grid->GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(len, 0);

    grid->AddCheckBox(1, 1, true, false);
    grid->AddMarker(1, 1, 3, 5);
    grid->GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 3) << "the start comes first";
    EXPECT_EQ(len, 5);
    EXPECT_EQ(grid->GetCellType(1, 1), ctCheckBox);
    grid->RemoveMarker(1, 1);
    grid->GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos + len, 0);
    EXPECT_EQ(grid->GetCellType(1, 1), ctCheckBox);

    grid->AddMarker(2, 2, 1, 2);
    EXPECT_EQ(grid->GetCellType(2, 2), ctEmpty);
    EXPECT_NE(grid->GetCellGraphic(2, 2), nullptr) << "a marker-only object";
    grid->AddMarker(3, 3, 1, 2);
    grid->RemoveAllMarkers();
    EXPECT_EQ(grid->GetCellGraphic(2, 2), nullptr);
    EXPECT_EQ(grid->GetCellGraphic(3, 3), nullptr);
}

TEST_F(AdvGridIndicatorsTest, BalloonsJoinCheckBoxesAndRadioButtonsWithoutChangingThem) {
    String title, text;
    TBalloonIcon icon = biNone;
    grid->AddCheckBox(1, 1, true, false);
    grid->AddBalloon(1, 1, u"Title", u"Text", biWarning);
    ASSERT_TRUE(grid->IsBalloon(1, 1, title, text, icon));
    EXPECT_EQ(title, u"Title");
    EXPECT_EQ(text, u"Text");
    EXPECT_EQ(icon, biWarning);
    EXPECT_FALSE(grid->HasBalloon(1, 1)) << "a check box's balloon is not a balloon cell";
    EXPECT_EQ(grid->GetCellGraphic(1, 1)->CellAngle(), 0) << "a check box's balloon is not its grayed look";
    grid->AddBalloon(1, 1, u"Again", u"New", biError); // the old texts are freed
    ASSERT_TRUE(grid->IsBalloon(1, 1, title, text, icon));
    EXPECT_EQ(title, u"Again");
    grid->RemoveBalloon(1, 1);
    EXPECT_FALSE(grid->IsBalloon(1, 1, title, text, icon));
    EXPECT_TRUE(grid->HasCheckBox(1, 1));
    EXPECT_TRUE(grid->IsChecked(1, 1));

    // A radio button keeps its group whether it carries a balloon or loses one.
    for (const TRadioButtonGroup group : {rgNone, rgCol, rgRow}) {
        grid->CreateCellGraphic(2, 2)->SetRadioButton(true, false, haLeft, vaTop, group);
        grid->AddBalloon(2, 2, u"Radio", u"Tip", biInfo);
        EXPECT_EQ(grid->GetCellGraphic(2, 2)->CellAngle(), group) << group;
        ASSERT_TRUE(grid->IsBalloon(2, 2, title, text, icon)) << group;
        EXPECT_EQ(text, u"Tip");
        grid->RemoveBalloon(2, 2);
        EXPECT_EQ(grid->GetCellGraphic(2, 2)->CellAngle(), group) << group;
        EXPECT_FALSE(grid->IsBalloon(2, 2, title, text, icon)) << group;
        grid->AddBalloon(2, 2, u"Radio", u"Tip", biInfo); // freed with the button
    }
    grid->CreateCellGraphic(2, 3)->SetRadioButton(false, false, haLeft, vaTop, rgCol);
    grid->RemoveBalloon(2, 3);
    EXPECT_EQ(grid->GetCellGraphic(2, 3)->CellAngle(), rgCol) << "a button without a balloon stays as it is";

    // A cell without an object becomes a balloon cell; any other kind is left alone.
    grid->AddBalloon(3, 1, u"Alone", u"Only", biNone);
    EXPECT_TRUE(grid->HasBalloon(3, 1));
    ASSERT_TRUE(grid->IsBalloon(3, 1, title, text, icon));
    EXPECT_EQ(text, u"Only");
    grid->AddBalloon(3, 1, u"Other", u"Ignored", biNone);
    ASSERT_TRUE(grid->IsBalloon(3, 1, title, text, icon));
    EXPECT_EQ(title, u"Alone");
    grid->CreatePicture(3, 2, false, noStretch, 0, haLeft, vaTop);
    grid->AddBalloon(3, 2, u"No", u"Picture", biNone);
    EXPECT_EQ(grid->GetCellType(3, 2), ctPicture);
    EXPECT_EQ(grid->GetCellGraphic(3, 2)->CellBitmap(), grid->GetPicture(3, 2));
    EXPECT_FALSE(grid->IsBalloon(3, 2, title, text, icon));
    grid->RemoveBalloon(3, 2);
    EXPECT_EQ(grid->GetCellType(3, 2), ctPicture);
    grid->RemoveBalloon(3, 1);
    EXPECT_EQ(grid->GetCellType(3, 1), ctEmpty);
}

} // namespace

namespace {

TEST(AdvGridIndicatorsWindowlessTest, TextOfAnAutomaticRangeCellIsWrittenWithoutAWindow) {
    // No canvas to measure on: the text is written all the same, and the range follows it once the
    // grid is on a form.
    TAdvStringGrid grid(nullptr);
    grid.SetCells(1, 1, u"one\ntwo");
    grid.AddScrollBar(1, 1, true);
    grid.SetCells(1, 1, u"one\ntwo\nthree");
    EXPECT_EQ(grid.Cells(1, 1), u"one\ntwo\nthree");
    EXPECT_EQ(grid.GetScrollProp(1, 1).Range, 100);

    TForm form(nullptr, 0);
    grid.SetParent(&form);
    grid.SetCells(1, 1, u"one\ntwo");
    grid.Canvas()->Font()->Assign(grid.Font());
    EXPECT_EQ(grid.GetScrollProp(1, 1).Range, 2 * grid.Canvas()->TextHeight(u"gh"));
    grid.SetParent(nullptr);
}

} // namespace
