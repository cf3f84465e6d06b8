// The Office check group and radio group: the items' places, the columns' bounds, and what the console
// relies on: states and the selection set from code repaint but fire no click and leave Value, a user's
// click does both; bad indexes; the mask's two widths; and a form description that creates them.
#include "controls/AdvOfficeButtons.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "controls/ButtonGlyphs.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/wininput.h"
#include "tests/controls/ControlsTesting.h"

namespace {

class OfficeGroupsTest : public StyledControlsTest {
protected:
    // The console's "Nodes" group: five modules in five columns, with a font 18 pixels high.
    TAdvOfficeCheckGroup* AddNodes() {
        auto* group = Add<TAdvOfficeCheckGroup>(10, 10, 253, 46);
        group->Font()->SetName(u"Verdana");
        group->Font()->SetHeight(-15);
        group->SetCaption(u"Nodes");
        group->SetColumns(5);
        for (const char16_t* item : {u"M1", u"M2", u"M3", u"M4", u"M5"})
            group->Items()->Add(item);
        group->OnClick = [this](TObject*) { FLog.push_back("click"); };
        group->OnCheckBoxClick = [this](TObject*, Integer index, bool value) {
            FLog.push_back("item " + std::to_string(index) + (value ? " on" : " off"));
        };
        return group;
    }
    TAdvOfficeRadioGroup* AddRadioGroup(int items) {
        auto* group = Add<TAdvOfficeRadioGroup>(10, 100, 253, 120);
        for (int i = 0; i < items; ++i)
            group->Items()->Add(u"Log " + IntToStr(i));
        group->OnClick = [this](TObject*) { FLog.push_back("click"); };
        return group;
    }
    // The check glyph's tick pixel of an item, to see what the item shows.
    bool ShowsTick(TControl* item) {
        TBitmap* checked = ButtonGlyph(u"QELOFCC");
        Shot();
        // The tick's first pixel (4, 6) of the glyph at its tvaTop place.
        TBitmap probe;
        probe.Canvas()->Font()->Assign(static_cast<TCustomControl*>(item)->Font());
        int glyphTop = (probe.Canvas()->TextHeight(u"gh") - checked->Height()) / 2 + 4;
        return Pixel(item, 4, glyphTop + 6) == checked->Canvas()->Pixels(4, 6);
    }
};

TEST_F(OfficeGroupsTest, ItemsFillColumnsTopToBottom) {
    TAdvOfficeCheckGroup* nodes = AddNodes();
    ShowForm();
    for (Integer i = 0; i < 5; ++i)
        EXPECT_EQ(nodes->CheckBoxes(i)->BoundsRect(), Bounds(8 + 48 * i, 19, 48, 23)) << "item " << i;
    EXPECT_TRUE(nodes->CheckBoxes(0)->Visible());

    auto* nine = Add<TAdvOfficeCheckGroup>(10, 100, 253, 120);
    nine->SetColumns(3);
    for (int i = 0; i < 9; ++i)
        nine->Items()->Add(u"Item");
    for (Integer i = 0; i < 9; ++i) {
        TRect r = nine->CheckBoxes(i)->BoundsRect();
        EXPECT_EQ(r.Left, nine->CheckBoxes(i % 3)->Left() + (i / 3) * 81) << "column of item " << i;
        EXPECT_EQ(r.Top, nine->CheckBoxes(i % 3)->Top()) << "row of item " << i;
    }
    EXPECT_LT(nine->CheckBoxes(0)->Top(), nine->CheckBoxes(1)->Top());
    EXPECT_EQ(nine->XYToItem(nine->CheckBoxes(4)->Left() + 2, nine->CheckBoxes(4)->Top() + 2), 4);
    EXPECT_EQ(nine->XYToItem(2, 2), -1);
}

TEST_F(OfficeGroupsTest, ColumnsStayBetweenOneAndSixteen) {
    TAdvOfficeCheckGroup* check = AddNodes();
    TAdvOfficeRadioGroup* radio = AddRadioGroup(3);
    for (auto [set, got] : {std::pair{0, 1}, {20, 16}, {-3, 1}, {16, 16}, {7, 7}}) {
        check->SetColumns(set);
        radio->SetColumns(set);
        EXPECT_EQ(check->Columns(), got) << set;
        EXPECT_EQ(radio->Columns(), got) << set;
    }
}

TEST_F(OfficeGroupsTest, CheckedFromCodeRepaintsWithoutClickOrValueAndAUserClickDoesBoth) {
    TAdvOfficeCheckGroup* nodes = AddNodes();
    ShowForm();
    nodes->SetCheckedItem(2, true);
    EXPECT_TRUE(nodes->Checked(2));
    EXPECT_TRUE(ShowsTick(nodes->CheckBoxes(2))) << "repainted";
    EXPECT_EQ(nodes->Value(), 0) << "Value is not recomputed";
    EXPECT_TRUE(FLog.empty());

    TGroupCheck* item = nodes->CheckBoxes(3);
    ClickAt(item, 20, 10);
    EXPECT_TRUE(nodes->Checked(3));
    EXPECT_EQ(nodes->Value(), 0b1100);
    EXPECT_EQ(FLog, (std::vector<std::string>{"click", "item 3 on"}));

    nodes->SetCheckedItem(3, false);
    EXPECT_FALSE(ShowsTick(nodes->CheckBoxes(3)));
    EXPECT_EQ(nodes->Value(), 0b1100);
}

TEST_F(OfficeGroupsTest, BadCheckIndexRaisesOnReadAndIsIgnoredOnWrite) {
    TAdvOfficeCheckGroup* nodes = AddNodes();
    for (Integer index : {5, -1}) {
        try {
            nodes->Checked(index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), u"Invalid checkbox index");
        }
        nodes->SetCheckedItem(index, true);
        EXPECT_THROW(nodes->GetReadOnly(index), Exception);
        nodes->SetReadOnly(index, true);
    }
    for (Integer i = 0; i < 5; ++i)
        EXPECT_FALSE(nodes->Checked(i));
    nodes->SetReadOnly(1, true);
    EXPECT_TRUE(nodes->GetReadOnly(1));
    EXPECT_FALSE(nodes->CheckBoxes(1)->Enabled());
}

TEST_F(OfficeGroupsTest, ValueWritesSixtyFourItemsWhileUpdateValueCountsThirtyTwo) {
    auto* group = Add<TAdvOfficeCheckGroup>(10, 10, 400, 250);
    group->SetColumns(8);
    for (int i = 0; i < 40; ++i)
        group->Items()->Add(u"x");
    group->SetValue(Int64(1) << 35 | 1);
    EXPECT_TRUE(group->Checked(35));
    EXPECT_TRUE(group->Checked(0));
    EXPECT_FALSE(group->Checked(34));
    group->UpdateValue();
    EXPECT_EQ(group->Value(), 1) << "items from the 33rd on do not count";
}

TEST_F(OfficeGroupsTest, ItemIndexFromCodeIsClampedAndFiresNoClick) {
    TAdvOfficeRadioGroup* group = AddRadioGroup(5);
    ShowForm();
    struct Case {
        Integer set, got;
    };
    for (Case c : {Case{2, 2}, Case{7, 4}, Case{-5, -1}, Case{0, 0}}) {
        group->SetItemIndex(c.set);
        EXPECT_EQ(group->ItemIndex(), c.got) << c.set;
        for (Integer i = 0; i < 5; ++i)
            EXPECT_EQ(group->RadioButtons(i)->Checked(), i == c.got) << c.set << ", item " << i;
    }
    EXPECT_TRUE(FLog.empty());
    ClickAt(group->RadioButtons(3), 30, 10);
    EXPECT_EQ(group->ItemIndex(), 3);
    EXPECT_FALSE(group->RadioButtons(0)->Checked());
    EXPECT_EQ(FLog, (std::vector<std::string>{"click"}));

    // Pressed and dragged off before the release: the selection stays where it was.
    MouseDown(group->RadioButtons(1), 30, 10);
    MouseUp(group->RadioButtons(1), 30, 60);
    EXPECT_EQ(group->ItemIndex(), 3);
    EXPECT_TRUE(group->RadioButtons(3)->Checked());
    EXPECT_FALSE(group->RadioButtons(1)->Checked());
    EXPECT_EQ(FLog.size(), 1u);
}

TEST_F(OfficeGroupsTest, ItemsHandTheirRadioClicksAndKeysToTheGroup) {
    TAdvOfficeRadioGroup* group = AddRadioGroup(3);
    Integer seen = -2;
    group->OnRadioButtonClick = [&](TObject* sender) {
        EXPECT_EQ(sender, group);
        seen = group->ItemIndex();
    };
    std::vector<int> keys;
    group->OnKeyPress = [&](TObject*, Char& key) { keys.push_back(key); };
    ShowForm();
    ClickAt(group->RadioButtons(1), 30, 10);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(FLog, (std::vector<std::string>{"click"}));
    win32::input::TypeCharacter(u'x');
    Pump();
    EXPECT_EQ(keys, (std::vector<int>{u'x'})) << "the focused item passes its characters on";
}

TEST_F(OfficeGroupsTest, CaptionCheckBoxChecksAllItemsOfTheCheckGroup) {
    TAdvOfficeCheckGroup* nodes = AddNodes();
    nodes->CheckBox()->SetVisible(true);
    nodes->CheckBox()->SetAction(AdvGroupBox::caCheckAll);
    int groupChecks = 0;
    nodes->OnGroupCheckClick = [&](TObject*) { ++groupChecks; };
    ShowForm();
    nodes->CheckBox()->SetChecked(true);
    for (Integer i = 0; i < 5; ++i)
        EXPECT_TRUE(nodes->Checked(i)) << i;
    EXPECT_EQ(groupChecks, 1);
    EXPECT_TRUE(FLog.empty()) << "items set from the caption check box fire no item clicks";
}

// Painted with its group (check or radio), an item shows beneath it the group's own paint, taken in place
// or from the picture the group took of it; painted alone, it paints the group (and the form beneath that)
// again. Both must show the same pixels, also where an item lies over its neighbour.
TEST_F(OfficeGroupsTest, ItemsPaintedWithTheGroupShowWhatTheyShowPaintedAlone) {
    struct Case {
        const char* name;
        bool transparent;
        TColor formColor;
        TColor groupColor;
        bool overFrame;   // items moved down over the frame's bottom line, so that more lies beneath them
        bool overlapping; // every item but a group's first moved left over its neighbour
    };
    const Case cases[] = {
        {"items in their places", true, clTeal, clYellow, false, false},
        {"items over their neighbours", true, clTeal, clYellow, false, true},
        {"transparent group on a coloured form", true, clTeal, clYellow, true, false},
        {"opaque group of its own colour", false, clTeal, clYellow, true, false},
    };
    constexpr int Overlap = 20;
    TAdvOfficeCheckGroup* nodes = AddNodes();
    nodes->SetCheckedItem(1, true);
    TAdvOfficeRadioGroup* logs = AddRadioGroup(3);
    logs->SetColumns(3); // side by side, so that moved down they do not overlap
    logs->SetItemIndex(2);
    ShowForm();
    std::vector<std::pair<TAdvOfficeButtonGroup*, TControl*>> items;
    for (Integer i = 0; i < 5; ++i)
        items.emplace_back(nodes, nodes->CheckBoxes(i));
    for (Integer i = 0; i < logs->ButtonCount(); ++i)
        items.emplace_back(logs, logs->RadioButtons(i));
    std::vector<int> lefts;
    for (auto [group, item] : items)
        lefts.push_back(item->Left());
    // An item lies beneath the next item of its group where they overlap.
    auto lastOfGroup = [&](size_t i) {
        return i + 1 == items.size() || items[i + 1].first != items[i].first;
    };
    auto firstOfGroup = [&](size_t i) { return i == 0 || items[i - 1].first != items[i].first; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FForm->SetColor(c.formColor);
        for (size_t i = 0; i < items.size(); ++i) {
            auto [group, item] = items[i];
            item->SetLeft(lefts[i] - (c.overlapping && !firstOfGroup(i) ? Overlap : 0));
            if (c.overFrame)
                item->SetTop(group->ClientHeight() - 12);
            group->SetColor(c.groupColor);
            group->SetTransparent(c.transparent);
        }
        Shot();
        for (size_t i = 0; i < items.size(); ++i) {
            auto [group, item] = items[i];
            TBitmap alone;
            alone.SetSize(item->Width(), item->Height());
            alone.Canvas()->Brush()->SetColor(clFuchsia);
            alone.Canvas()->FillRect(TRect(0, 0, item->Width(), item->Height()));
            static_cast<TWinControl*>(item)->PaintTo(alone.Canvas()->Handle(), 0, 0);
            // Only the rows inside the group show the item.
            int rows = std::min(item->Height(), group->ClientHeight() - item->Top());
            int columns = item->Width() - (c.overlapping && !lastOfGroup(i) ? Overlap : 0);
            int differing = 0;
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < columns; ++x)
                    differing += Pixel(item, x, y) != alone.Canvas()->Pixels(x, y);
            EXPECT_EQ(differing, 0) << "pixels of " << StringToUtf8(item->Name()) << " at " << item->Left();
        }
    }
}

// The group's picture lives for one paint only: what changes beneath the items shows in the next paint.
TEST_F(OfficeGroupsTest, ItemsShowChangesBeneathThemInTheNextPaint) {
    TAdvOfficeCheckGroup* nodes = AddNodes();
    ShowForm();
    TControl* item = nodes->CheckBoxes(4);
    // The item's bottom-right corner shows what lies beneath it.
    TPoint corner(item->Width() - 1, item->Height() - 1);
    struct Step {
        const char* change;
        std::function<void()> apply;
        TColor beneath;
    };
    const Step steps[] = {
        {"form's colour", [&] { FForm->SetColor(clTeal); }, clTeal},
        {"form's colour again", [&] { FForm->SetColor(clOlive); }, clOlive},
        {"group made opaque", [&] { nodes->SetColor(clYellow), nodes->SetTransparent(false); }, clYellow},
        {"group's colour", [&] { nodes->SetColor(clAqua); }, clAqua},
        {"group transparent again", [&] { nodes->SetTransparent(true); }, clOlive},
    };
    for (const Step& step : steps) {
        step.apply();
        Shot();
        EXPECT_EQ(Pixel(item, corner.X, corner.Y), step.beneath) << step.change;
    }
}

TEST_F(OfficeGroupsTest, DescriptionsCreateTheControlsByNameWithWhatDiffersFromTheDefaults) {
    AdvOfficeButtonsUnitStartup();
    const std::string text = "object Dialog: TForm\n"
                             "  object Nodes: TAdvOfficeCheckGroup\n"
                             "    Left = 8\n    Top = 8\n    Width = 253\n    Height = 46\n"
                             "    Caption = 'Nodes'\n    Columns = 5\n"
                             "    Items.Strings = (\n      'M1'\n      'M2'\n      'M3')\n"
                             "    Version = '9.9'\n"
                             "  end\n"
                             "  object Logs: TAdvOfficeRadioGroup\n"
                             "    Left = 8\n    Top = 60\n    Width = 200\n    Height = 80\n"
                             "    Items.Strings = (\n      'A'\n      'B')\n    ItemIndex = 1\n"
                             "  end\n"
                             "  object Enable: TAdvOfficeCheckBox\n"
                             "    Left = 8\n    Top = 150\n    Caption = 'Enable'\n    State = cbChecked\n"
                             "  end\n"
                             "end\n";
    TMemoryStream input, binary;
    input.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, binary);
    binary.SetPosition(0);
    auto* form = new TForm(nullptr, 0);
    ReadComponent(binary, form);
    auto* nodes = dynamic_cast<TAdvOfficeCheckGroup*>(form->FindComponent(u"Nodes"));
    auto* logs = dynamic_cast<TAdvOfficeRadioGroup*>(form->FindComponent(u"Logs"));
    auto* enable = dynamic_cast<TAdvOfficeCheckBox*>(form->FindComponent(u"Enable"));
    ASSERT_NE(nodes, nullptr);
    ASSERT_NE(logs, nullptr);
    ASSERT_NE(enable, nullptr);
    EXPECT_EQ(nodes->ButtonCount(), 3);
    EXPECT_EQ(nodes->Columns(), 5);
    EXPECT_EQ(nodes->Version(), u"1.3.8.8");
    EXPECT_EQ(logs->ItemIndex(), 1);
    EXPECT_TRUE(logs->RadioButtons(1)->Checked());
    EXPECT_TRUE(enable->Checked());
    EXPECT_EQ(enable->Caption(), u"Enable");

    TMemoryStream written, writtenText;
    WriteComponent(written, form);
    written.SetPosition(0);
    ObjectBinaryToText(written, writtenText);
    std::string out(static_cast<const char*>(writtenText.Memory()),
                    static_cast<std::size_t>(writtenText.Size()));
    for (const char* expected : {"Columns = 5", "ItemIndex = 1", "State = cbChecked", "'M3'"})
        EXPECT_NE(out.find(expected), std::string::npos) << expected << " in\n" << out;
    for (const char* absent : {"Version", "Themed", "ShadowOffset", "BorderStyle", "object TGroupCheck"})
        EXPECT_EQ(out.find(absent), std::string::npos) << absent << " in\n" << out;
    form->Free();
}

} // namespace
