// Panel groups: stacking in columns, the scroll bar and the wheel, the panel list and stored positions.
#include "platform/framework/StdCtrls.h"
#include "platform/rtl/IniFiles.h"
#include "platform/win32/wininput.h"
#include "platform/win32/winuser.h"
#include "tests/controls/PanelTesting.h"

namespace {

class PanelGroupTest : public PanelTest {
protected:
    // A group of the given size on the form, without a caption of its own.
    TAdvPanelGroup* AddGroup(int width, int height) {
        TAdvPanelGroup* group = Add<TAdvPanelGroup>(10, 10, width, height);
        group->Caption()->SetVisible(false);
        group->SetBevelOuter(bvNone);
        return group;
    }
    // A plain child panel of the given height, at top (children are ordered by their tops).
    TAdvPanel* AddChild(TAdvPanelGroup* group, int top, int height) {
        TAdvPanel* panel = Add<TAdvPanel>(0, top, 50, height, group);
        panel->Caption()->SetVisible(false);
        return panel;
    }
    // The wheel goes to the focused control and up through its parents.
    void Wheel(TWinControl* focused, int notches) {
        focused->SetFocus();
        Pump();
        TPoint p = focused->ClientToScreen(TPoint(2, 2));
        win32::input::MouseMove(p.X, p.Y);
        win32::input::MouseWheel(notches * WHEEL_DELTA, false, p.X, p.Y);
        Pump();
    }
};

} // namespace

TEST_F(PanelGroupTest, TwoColumnsAdvanceByTheLastPanelOfEachRow) {
    TAdvPanelGroup* group = AddGroup(216, 300);
    TAdvPanel* a = AddChild(group, 0, 100);
    TAdvPanel* b = AddChild(group, 1, 150);
    TAdvPanel* c = AddChild(group, 2, 40);
    TAdvPanel* hidden = AddChild(group, 3, 60);
    TAdvPanel* d = AddChild(group, 4, 30);
    hidden->SetVisible(false);
    ShowForm();
    group->SetColumns(2);
    // Width (216 - 3 * 8) div 2 = 96; columns at 8 and (216 - 8) div 2 + 8 = 112.
    EXPECT_EQ(a->BoundsRect(), TRect(8, 8, 104, 108));
    EXPECT_EQ(b->BoundsRect(), TRect(112, 8, 208, 158));
    // The second row starts below the taller last panel of the first.
    EXPECT_EQ(c->Top(), 8 + 150 + 8);
    EXPECT_EQ(c->Left(), 8);
    // An invisible panel is placed but does not end its row: the next one shares its top.
    EXPECT_EQ(hidden->BoundsRect(), TRect(112, 166, 208, 226));
    EXPECT_EQ(d->BoundsRect(), TRect(8, 166, 104, 196));

    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 2);
}

TEST_F(PanelGroupTest, TheScrollBarShowsOnlyWhenPanelsOverflowAndTheWheelMovesThem) {
    TAdvPanelGroup* empty = AddGroup(100, 50);
    TAdvPanelGroup* group = AddGroup(200, 100);
    group->SetLeft(150);
    TAdvPanel* first = AddChild(group, 0, 80);
    AddChild(group, 1, 80);
    TEdit* edit = Add<TEdit>(4, 4, 30, 20, first);
    ShowForm();
    group->UpdateGroup();
    empty->UpdateGroup();
    EXPECT_FALSE(empty->ScrollBar()->Visible());
    ASSERT_TRUE(group->ScrollBar()->Visible());
    // 8 + 2 * (80 + 8) = 184 in all, 100 shown.
    EXPECT_EQ(group->ScrollBar()->Max(), 184);
    EXPECT_EQ(group->ScrollBar()->PageSize(), 100);
    EXPECT_EQ(first->Width(), 200 - 16 - 16);

    Wheel(edit, -1);
    EXPECT_EQ(group->ScrollPosition(), 4);
    EXPECT_EQ(first->Top(), 8 - 4);
    Wheel(edit, 1);
    EXPECT_EQ(first->Top(), 8);

    // Scrolling past the end comes back to the last page when the scroll ends.
    group->SetScrollPosition(184);
    EXPECT_EQ(group->ScrollPosition(), 84);
    EXPECT_EQ(first->Top(), 8 - 84);
}

TEST_F(PanelGroupTest, AppendedPanelsComeFirstAndIndexesFollowTheList) {
    TAdvPanelGroup* group = AddGroup(200, 400);
    group->DefaultPanel()->Caption()->SetVisible(true);
    group->DefaultPanel()->Caption()->SetCloseButton(true);
    group->DefaultPanel()->SetHeight(50);
    ShowForm();
    TCustomAdvPanel* first = group->AddPanel();
    TCustomAdvPanel* second = group->AddPanel();
    TCustomAdvPanel* added = group->AppendPanel();
    EXPECT_TRUE(added->Caption()->CloseButton());
    EXPECT_EQ(added->Height(), 50);
    ASSERT_EQ(group->PanelCount(), 3);
    EXPECT_LT(second->Top(), first->Top());
    EXPECT_LT(first->Top(), added->Top());

    group->RemovePanel(7);
    EXPECT_EQ(group->PanelCount(), 3);
    group->RemovePanel(0);
    ASSERT_EQ(group->PanelCount(), 2);
    EXPECT_EQ(group->Panels(0)->Index(), 0);
    EXPECT_EQ(group->Panels(1)->Index(), 1);
    EXPECT_THROW(group->Panels(2), EListError);

    TCustomAdvPanel* inserted = group->InsertPanel(1);
    EXPECT_EQ(group->Panels(1), inserted);
    EXPECT_EQ(inserted->Index(), 1);
    group->Clear();
    EXPECT_EQ(group->PanelCount(), 0);
}

TEST_F(PanelGroupTest, APanelFreedOtherwiseLeavesTheList) {
    TAdvPanelGroup* group = AddGroup(200, 400);
    ShowForm();
    TCustomAdvPanel* closing = group->AddPanel();
    TCustomAdvPanel* freed = group->AddPanel();
    group->AddPanel();
    closing->SetFreeOnClose(true);
    closing->Caption()->SetVisible(true);
    closing->Caption()->SetCloseButton(true);
    Pump();
    ClickAt(closing, closing->Width() - 7, 7);
    Pump();
    EXPECT_EQ(group->PanelCount(), 2);
    freed->Free();
    EXPECT_EQ(group->PanelCount(), 1);
    // Freeing the form frees the group, which frees the listed panel once.
}

TEST_F(PanelGroupTest, PanelPositionsShareTheGroupsFileOneSectionEach) {
    const String file = u"group-panels.ini";
    TAdvPanelGroup* group = AddGroup(200, 300);
    TAdvPanel* a = AddChild(group, 0, 70);
    a->SetName(u"First");
    a->Position()->SetSection(u"own");
    group->Position()->SetLocation(AdvPanel::clInifile);
    group->Position()->SetKey(file);
    ShowForm();
    group->UpdateGroup();
    group->SavePanelPositions();
    {
        TIniFile ini(file);
        EXPECT_EQ(ini.ReadInteger(u"First", u"Height", 0), 70);
        EXPECT_FALSE(ini.SectionExists(u"own"));
    }
    EXPECT_EQ(a->Position()->Section(), u"own");
    a->SetHeight(20);
    group->LoadPanelPositions();
    EXPECT_EQ(a->Height(), 70);
}

TEST_F(PanelGroupTest, UpdateBracketsArrangeOnceAtTheEnd) {
    TAdvPanelGroup* group = AddGroup(200, 400);
    TAdvPanel* a = AddChild(group, 0, 60);
    TAdvPanel* b = AddChild(group, 1, 60);
    ShowForm();
    int arranged = 0;
    group->OnArrangedControls = [&](TObject*) { ++arranged; };
    group->BeginUpdate();
    group->SetVertPadding(4);
    group->SetHorzPadding(4);
    EXPECT_EQ(arranged, 0);
    group->EndUpdate();
    EXPECT_EQ(arranged, 1);
    EXPECT_EQ(a->Top(), 4);
    EXPECT_EQ(b->Top(), 4 + 60 + 4);

    group->CloseAllPanels();
    EXPECT_TRUE(a->Collaps());
    EXPECT_TRUE(b->Collaps());
    group->OpenAllPanels();
    EXPECT_EQ(b->Top(), 4 + 60 + 4);
}
