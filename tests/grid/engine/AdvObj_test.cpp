// Tests of the grid's support objects: integer lists and their change events, the sort index list and
// its string form, the line-by-line file string list, the control list, and the settings groups'
// defaults, setters, Assign and streaming.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "grid/engine/AdvObj.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Grids.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "tests/support/TestSupport.h"

// A component that publishes the settings groups as the grid does.
class TOptionsHost : public TComponent {
    DECLARE_CLASS(TOptionsHost, TComponent)

public:
    explicit TOptionsHost(TComponent* owner)
        : TComponent(owner), FSearchFooter(std::make_unique<TSearchFooter>(this, false)),
          FNavigation(std::make_unique<TNavigation>(this)),
          FMouseActions(std::make_unique<TMouseActions>(this)),
          FSyncGrid(std::make_unique<TSyncGrid>(nullptr)), FBands(std::make_unique<TBands>()),
          FFocusHelper(std::make_unique<TFocusHelper>()) {}

    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(TSearchFooter* value) { FSearchFooter->Assign(value); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    void SetNavigation(TNavigation* value) { FNavigation->Assign(value); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(TMouseActions* value) { FMouseActions->Assign(value); }
    TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
    void SetSyncGrid(TSyncGrid* value) { FSyncGrid->Assign(value); }
    TBands* Bands() const { return FBands.get(); }
    void SetBands(TBands* value) { FBands->Assign(value); }
    TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
    void SetFocusHelper(TFocusHelper* value) { FFocusHelper->Assign(value); }

private:
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TFocusHelper> FFocusHelper;
};

DEFINE_CLASS(TOptionsHost, PROPERTY(SearchFooter), PROPERTY(Navigation), PROPERTY(MouseActions),
             PROPERTY(SyncGrid), PROPERTY(Bands), PROPERTY(FocusHelper))

namespace {

std::string Utf8(const String& s) {
    return StringToUtf8(s);
}

// Records every change event of a list as "col,row", and the list's count when it fired.
struct EventLog {
    std::vector<std::string> events;
    TObject* lastSender = nullptr;
    Integer countSeen = -1;

    TImageChangeEvent Handler() {
        return [this](TObject* sender, Integer col, Integer row) {
            lastSender = sender;
            countSeen = dynamic_cast<TIntList&>(*sender).Count();
            events.push_back(std::to_string(col) + "," + std::to_string(row));
        };
    }
};

std::vector<Integer> ItemsOf(const TIntList& list) {
    std::vector<Integer> items;
    for (Integer i = 0; i < list.Count(); ++i)
        items.push_back(list.Items(i));
    return items;
}

void Fill(TIntList& list, std::initializer_list<Integer> items) {
    list.Clear();
    for (Integer item : items)
        list.Add(item);
}

// ---- TIntList

TEST(AdvObjIntListTest, ChangesReportTheListAndItsCell) {
    TIntList list(3, 7);
    EventLog log;
    list.OnChange = log.Handler();

    list.Add(10);
    EXPECT_EQ(log.events, (std::vector<std::string>{"3,7"}));
    EXPECT_EQ(log.lastSender, static_cast<TObject*>(&list));
    EXPECT_EQ(log.countSeen, 1); // fired after the change

    struct Step {
        const char* name;
        std::function<void()> action;
        bool fires;
    };
    const std::vector<Step> steps = {
        {"Add", [&] { list.Add(20); }, true},
        {"SetInteger", [&] { list.SetInteger(0, 11); }, true},
        {"SetItems", [&] { list.SetItems(0, 12); }, true},
        {"Insert at index", [&] { list.Insert(0, 5); }, false},
        {"GetInteger and HasValue", [&] { (void)(list.GetInteger(0) + list.HasValue(20)); }, false},
        {"DeleteValue present", [&] { list.DeleteValue(20); }, true},
        {"DeleteValue absent", [&] { list.DeleteValue(99); }, false},
        {"Delete", [&] { list.Delete(0); }, true},
        {"Clear", [&] { list.Clear(); }, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        log.events.clear();
        step.action();
        EXPECT_EQ(log.events.size(), step.fires ? 1u : 0u);
        if (step.fires) {
            EXPECT_EQ(log.countSeen, list.Count());
        }
    }
    EXPECT_EQ(list.Count(), 0);
}

TEST(AdvObjIntListTest, ValuesKeepAllThirtyTwoBits) {
    TIntList list(0, 0);
    Fill(list, {INT_MIN, -1, 0, INT_MAX});
    EXPECT_EQ(ItemsOf(list), (std::vector<Integer>{INT_MIN, -1, 0, INT_MAX}));
    EXPECT_EQ(list.IndexOf(0), 2);
    EXPECT_EQ(list.IndexOf(INT_MIN), 0);
    EXPECT_EQ(list.IndexOf(5), -1);
    list.DeleteValue(-1);
    EXPECT_EQ(ItemsOf(list), (std::vector<Integer>{INT_MIN, 0, INT_MAX}));
}

TEST(AdvObjIntListTest, IndexOutOfRangeRaisesTheListErrorAndChangesNothing) {
    TIntList list(0, 0);
    Fill(list, {1, 2, 3});
    EventLog log;
    list.OnChange = log.Handler();
    struct Case {
        const char* name;
        std::function<void()> action;
        Integer index;
    };
    const std::vector<Case> cases = {
        {"Items", [&] { (void)list.Items(3); }, 3},
        {"GetInteger", [&] { (void)list.GetInteger(-1); }, -1},
        {"SetInteger", [&] { list.SetInteger(3, 9); }, 3},
        {"Delete", [&] { list.Delete(-1); }, -1},
        {"Insert", [&] { list.Insert(4, 9); }, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.action();
            ADD_FAILURE() << "no exception";
        } catch (const EListError& e) {
            EXPECT_EQ(Utf8(e.Message()), "List index out of bounds (" + std::to_string(c.index) + ")");
        }
        EXPECT_EQ(ItemsOf(list), (std::vector<Integer>{1, 2, 3}));
    }
    EXPECT_TRUE(log.events.empty());
}

TEST(AdvObjIntListTest, SortedSearchesBisectAnAscendingList) {
    TIntList list(0, 0);
    struct Case {
        std::vector<Integer> items;
        Integer value;
        Integer indexOf;
        Integer posOf;
    };
    const std::vector<Case> cases = {
        {{1, 3, 7, 9}, 7, 2, 2},   {{1, 3, 7, 9}, 8, -1, 3}, {{1, 3, 7, 9}, 0, -1, 0},
        {{1, 3, 7, 9}, 10, -1, 4}, {{1, 3, 7, 9}, 1, 0, 0},  {{1, 3, 7, 9}, 9, 3, 3},
        {{1, 3, 7, 9}, 2, -1, 1},  {{}, 5, -1, 0},           {{5}, 5, 0, 0},
        {{5}, 4, -1, 0},           {{5}, 6, -1, 1},          {{-9, -2}, -5, -1, 1},
    };
    for (const Case& c : cases) {
        list.Clear();
        for (Integer item : c.items)
            list.Add(item);
        SCOPED_TRACE("[" + Utf8(list.StrValue()) + "]");
        EXPECT_EQ(list.SortedIndexOf(c.value), c.indexOf) << c.value;
        EXPECT_EQ(list.SortedPosOf(c.value), c.posOf) << c.value;
    }
}

TEST(AdvObjIntListTest, SortedInsertKeepsOrderAndFiresOnlyOnAnEmptyList) {
    TIntList list(1, 2);
    EventLog log;
    list.OnChange = log.Handler();
    list.Insert(5);
    EXPECT_EQ(log.events, (std::vector<std::string>{"1,2"}));

    for (Integer value : {1, 9, 7, 3, 7})
        list.Insert(value);
    EXPECT_EQ(ItemsOf(list), (std::vector<Integer>{1, 3, 5, 7, 7, 9}));
    EXPECT_EQ(log.events.size(), 1u);
}

TEST(AdvObjIntListTest, StrValueIsCommaTextOfTheItems) {
    TIntList list(0, 0);
    EXPECT_EQ(list.StrValue(), u"");
    Fill(list, {1, -2, 30});
    EXPECT_EQ(list.StrValue(), u"1,-2,30");

    EventLog log;
    list.OnChange = log.Handler();
    list.SetStrValue(u"4, 5 \"6\"");
    EXPECT_EQ(ItemsOf(list), (std::vector<Integer>{4, 5, 6}));
    EXPECT_EQ(log.events.size(), 3u); // one per item; emptying the list first fires none

    list.SetStrValue(u"");
    EXPECT_EQ(list.Count(), 0);

    try {
        list.SetStrValue(u"8,x,9");
        ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(Utf8(e.Message()), "'x' is not a valid integer value");
    }
    EXPECT_EQ(ItemsOf(list), (std::vector<Integer>{8}));
}

// ---- TSortIndexList

TEST(AdvObjSortIndexListTest, ItemsCarryColumnAndDirection) {
    TSortIndexList list(0, 0);
    EventLog log;
    list.OnChange = log.Handler();
    list.AddIndex(4, false);
    list.AddIndex(2, true);
    EXPECT_EQ(log.events.size(), 2u);
    EXPECT_EQ(static_cast<Cardinal>(list.Items(0)), 0x80000004u);
    EXPECT_EQ(list.SortColumns(0), 4);
    EXPECT_FALSE(list.SortDirections(0));
    EXPECT_TRUE(list.SortDirections(1));
    EXPECT_EQ(list.FindIndex(2), 1);
    EXPECT_EQ(list.FindIndex(3), -1);

    list.ToggleIndex(4);
    EXPECT_TRUE(list.SortDirections(0));
    list.ToggleIndex(4);
    EXPECT_FALSE(list.SortDirections(0));
    list.ToggleIndex(3); // absent: nothing
    EXPECT_EQ(log.events.size(), 4u);

    list.SetSortColumns(0, 6);
    EXPECT_EQ(list.SortColumns(0), 6);
    EXPECT_FALSE(list.SortDirections(0)); // the direction stays
    list.SetSortDirections(1, false);
    EXPECT_EQ(list.SortColumns(1), 2); // the column stays
    EXPECT_FALSE(list.SortDirections(1));

    EXPECT_THROW((void)list.SortColumns(2), EListError);
    EXPECT_THROW(list.SetSortDirections(-1, true), EListError);
}

TEST(AdvObjSortIndexListTest, StringFormRoundTrips) {
    struct Case {
        std::vector<std::pair<Integer, bool>> columns; // column, ascending
        const char16_t* text;
    };
    const std::vector<Case> cases = {
        {{}, u""},
        {{{3, true}, {5, false}}, u"u3;d5"},
        {{{0, false}}, u"d0"},
        {{{12, true}, {12, false}, {1, true}}, u"u12;d12;u1"},
        // Whole columns are written: keeping only the low 16 bits would read back as column 4464.
        {{{70000, true}, {0x7FFFFFFF, false}}, u"u70000;d2147483647"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        TSortIndexList list(0, 0);
        for (const auto& [column, ascending] : c.columns)
            list.AddIndex(column, ascending);
        EXPECT_EQ(list.SaveToString(), c.text);

        TSortIndexList copy(0, 0);
        copy.AddIndex(99, true); // replaced by the load
        copy.LoadFromString(c.text);
        EXPECT_EQ(ItemsOf(copy), ItemsOf(list));
    }
}

TEST(AdvObjSortIndexListTest, LoadingSkipsPiecesItCannotRead) {
    TSortIndexList list(0, 0);
    list.AddIndex(7, true);
    EventLog log;
    list.OnChange = log.Handler();
    // "x2" is descending (any letter but "u"); "d" is too short; "ux" and "d-4" name no column.
    list.LoadFromString(u"u1;x2;;d;ux;d-4;U3");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.SaveToString(), u"u1;d2;d3");
    EXPECT_EQ(log.events.size(), 3u); // one per piece added, none for emptying the list
}

// ---- TFileStringList

TEST(AdvObjFileStringListTest, WritesAndReadsLineByLine) {
    TFileStringList lines;
    EXPECT_TRUE(lines.Eof());
    lines.Write(u"a");
    lines.Write(u"b");
    EXPECT_EQ(lines.Count(), 0); // pending until WriteLn
    lines.WriteLn(u"c");
    lines.WriteLn(u"");
    lines.Write(u"x");
    lines.WriteLn(u"y");
    EXPECT_EQ(lines.Text(), u"abc\r\n\r\nxy\r\n");

    lines.Write(u"dropped");
    lines.Reset(); // empties the pending line too
    lines.WriteLn(u"z");
    EXPECT_EQ(lines.Strings(3), u"z");

    lines.Reset();
    std::vector<String> read;
    while (!lines.Eof()) {
        String s;
        lines.ReadLn(s);
        read.push_back(s);
    }
    EXPECT_EQ(read, (std::vector<String>{u"abc", u"", u"xy", u"z"}));

    String s = u"kept";
    try {
        lines.ReadLn(s);
        ADD_FAILURE() << "no exception";
    } catch (const EStringListError& e) {
        EXPECT_EQ(Utf8(e.Message()), "List index out of bounds (4)");
    }
    EXPECT_EQ(s, u"kept");
    EXPECT_TRUE(lines.Eof());
    lines.Reset();
    lines.ReadLn(s);
    EXPECT_EQ(s, u"abc");
}

TEST(AdvObjFileStringListTest, LinesGoThroughAFile) {
    const String path = Utf8ToString(testing_support::MakeTestFolder("filestrings") + "/cells.txt");
    {
        TFileStringList writer;
        writer.Write(u"1\t");
        writer.WriteLn(u"\u00E9t\u00E9");
        writer.WriteLn(u"2");
        writer.SaveToFile(path);
    }
    TFileStringList reader;
    reader.LoadFromFile(path);
    String first, second;
    reader.ReadLn(first);
    reader.ReadLn(second);
    EXPECT_EQ(first, u"1\t\u00E9t\u00E9");
    EXPECT_EQ(second, u"2");
    EXPECT_TRUE(reader.Eof());
}

// ---- TControlList

// Frees a component as its owner would (Free, not a bare delete).
struct FreeComponent {
    void operator()(TComponent* component) const { component->Free(); }
};
template <class T> using Owned = std::unique_ptr<T, FreeComponent>;

TEST(AdvObjControlListTest, ItemsAreFoundByCellAndFreedWithTheList) {
    Owned<TControl> first(new TControl(nullptr)), second(new TControl(nullptr)), third(new TControl(nullptr));
    TControlList list;
    list.AddControl(2, 5, first.get());
    list.AddControl(2, 5, second.get());
    list.AddControl(3, 1, third.get());
    EXPECT_EQ(list.ControlIndex(2, 5), 0);
    EXPECT_EQ(list.ControlIndex(3, 1), 2);
    EXPECT_EQ(list.ControlIndex(5, 2), -1);
    EXPECT_EQ(list.Control(1)->Control(), second.get());
    EXPECT_EQ(list.GetControl(2)->X(), 3);
    EXPECT_EQ(list.GetControl(2)->Y(), 1);

    list.RemoveControl(0);
    EXPECT_EQ(list.ControlIndex(2, 5), 0);
    EXPECT_EQ(list.GetControl(0)->Control(), second.get());
    EXPECT_THROW(list.RemoveControl(2), EListError);
    EXPECT_THROW((void)list.GetControl(-1), EListError);
    EXPECT_EQ(list.Count(), 2);
    // The remaining items are freed by the list's destructor (not their controls); the leak checker
    // sees any item that is not.
}

TEST(AdvObjControlListTest, HasHandleMatchesTheWindowOfAWindowedControl) {
    Owned<TForm> form(new TForm(nullptr, 0));
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    auto* shape = new TShape(form.get());
    shape->SetParent(form.get());

    TControlList list;
    list.AddControl(1, 1, shape);
    list.AddControl(1, 2, panel);
    EXPECT_FALSE(list.HasHandle(form->Handle()));
    EXPECT_FALSE(panel->HandleAllocated()) << "asking creates no window";
    EXPECT_FALSE(list.HasHandle(nullptr)) << "a control without a window has no handle to match";
    EXPECT_TRUE(list.HasHandle(panel->Handle()));
    EXPECT_FALSE(list.HasHandle(form->Handle()));
}

// ---- Settings groups

// Published properties as "Name=value" for those that differ from expected (0 unless listed), and for
// those whose declared default differs from expected.
std::vector<std::string> DefaultMismatches(const TPersistent& object,
                                           const std::map<std::string, Int64>& expected) {
    std::vector<std::string> mismatches;
    for (const TPropInfo* prop : object.ClassType()->Properties()) {
        if (prop->getOrd == nullptr)
            continue;
        const std::string name = Utf8(prop->name);
        const auto found = expected.find(name);
        const Int64 want = found == expected.end() ? 0 : found->second;
        const Int64 value = prop->getOrd(&object);
        if (value != want || !prop->hasDefault || prop->defaultValue != want)
            mismatches.push_back(name + "=" + std::to_string(value));
    }
    return mismatches;
}

TEST(AdvObjSettingsTest, DefaultsAreTheDeclaredDefaults) {
    TSearchFooter footer(nullptr, false);
    EXPECT_EQ(DefaultMismatches(footer, {{"Color", clWhite},
                                         {"ColorTo", clBtnFace},
                                         {"ShowClose", 1},
                                         {"ShowFindNext", 1},
                                         {"ShowFindPrev", 1},
                                         {"ShowHighLight", 1},
                                         {"ShowMatchCase", 1},
                                         {"AutoSearch", 1},
                                         {"SearchColumn", -1}}),
              std::vector<std::string>{});
    EXPECT_FALSE(footer.AutoThemeAdapt());
    EXPECT_EQ(footer.Font()->Name(), TFont().Name());

    TNavigation navigation;
    EXPECT_EQ(DefaultMismatches(navigation, {{"AdvanceOnEnterLoop", 1},
                                             {"AdvanceAutoEdit", 1},
                                             {"AdvanceSkipReadOnlyCells", 1},
                                             {"AutoComboSelect", 1},
                                             {"AllowClipboardRowGrow", 1},
                                             {"AllowClipboardColGrow", 1},
                                             {"CopyHTMLTagsToClipboard", 1},
                                             {"AllowCtrlEnter", 1},
                                             {"EditSelectAll", 1},
                                             {"ComboGetUpDown", 1},
                                             {"CursorWalkAlwaysEdit", 1},
                                             {"LeftRightRowSelect", 1},
                                             {"SkipFixedCells", 1},
                                             {"SkipDisabledRows", 1}}),
              std::vector<std::string>{});
    EXPECT_EQ(navigation.ClassType()->Properties().size(), 45u);

    TMouseActions mouse;
    EXPECT_EQ(DefaultMismatches(mouse, {{"AutoSizeColOnDblClick", 1}, {"PreciseNodeClick", 1}}),
              std::vector<std::string>{});
    EXPECT_EQ(mouse.FixedComboValues()->Count(), 0);
    EXPECT_EQ(mouse.ClassType()->Properties().size(), 41u);

    TSyncGrid sync(nullptr);
    EXPECT_EQ(DefaultMismatches(sync, {}), std::vector<std::string>{});
    EXPECT_EQ(sync.Grid(), nullptr);

    TBands bands;
    EXPECT_EQ(DefaultMismatches(bands, {{"PrimaryColor", clInfoBk},
                                        {"SecondaryColor", clWindow},
                                        {"PrimaryLength", 1},
                                        {"SecondaryLength", 1}}),
              std::vector<std::string>{});
    EXPECT_EQ(bands.TotalLength(), 2);

    TFocusHelper focus;
    EXPECT_EQ(DefaultMismatches(focus, {}), std::vector<std::string>{});
}

TEST(AdvObjSettingsTest, SearchFooterTextsComeOnlyForAGridNewInTheDesigner) {
    TSearchFooter atRunTime(nullptr, false);
    for (const String& text :
         {atRunTime.FindNextCaption(), atRunTime.FindPrevCaption(), atRunTime.MatchCaseCaption(),
          atRunTime.HighLightCaption(), atRunTime.HintClose(), atRunTime.HintFindNext(),
          atRunTime.HintFindPrev(), atRunTime.HintHighlight()})
        EXPECT_EQ(text, u"");

    TSearchFooter designed(nullptr, true);
    EXPECT_EQ(designed.FindPrevCaption(), u"Find &previous");
    EXPECT_EQ(designed.FindNextCaption(), u"Find &next");
    EXPECT_EQ(designed.MatchCaseCaption(), u"Match case");
    EXPECT_EQ(designed.HighLightCaption(), u"Highlight");
    EXPECT_EQ(designed.HintClose(), u"Close");
    EXPECT_EQ(designed.HintFindNext(), u"Find next occurrence");
    EXPECT_EQ(designed.HintFindPrev(), u"Find previous occurrence");
    EXPECT_EQ(designed.HintHighlight(), u"Highlight occurrences");
}

TEST(AdvObjSettingsTest, SearchFooterSettersFireOnChangeAsSpecified) {
    struct Case {
        const char* name;
        std::function<void(TSearchFooter&)> action;
        int events;
    };
    TFont bigger;
    bigger.SetSize(20);
    const std::vector<Case> cases = {
        {"Visible to its value", [](TSearchFooter& f) { f.SetVisible(false); }, 0},
        {"Visible changed", [](TSearchFooter& f) { f.SetVisible(true); }, 1},
        {"Color to its value", [](TSearchFooter& f) { f.SetColor(clWhite); }, 1},
        {"ColorTo to its value", [](TSearchFooter& f) { f.SetColorTo(clBtnFace); }, 1},
        {"Font", [&](TSearchFooter& f) { f.SetFont(&bigger); }, 1},
        {"ShowClose to its value", [](TSearchFooter& f) { f.SetShowClose(true); }, 1},
        {"ShowFindNext to its value", [](TSearchFooter& f) { f.SetShowFindNext(true); }, 0},
        {"ShowFindNext changed", [](TSearchFooter& f) { f.SetShowFindNext(false); }, 1},
        {"ShowFindPrev changed", [](TSearchFooter& f) { f.SetShowFindPrev(false); }, 1},
        {"ShowHighLight to its value", [](TSearchFooter& f) { f.SetShowHighLight(true); }, 0},
        {"ShowMatchCase changed", [](TSearchFooter& f) { f.SetShowMatchCase(false); }, 1},
        {"FindNextCaption to its value", [](TSearchFooter& f) { f.SetFindNextCaption(u""); }, 1},
        {"HintHighlight", [](TSearchFooter& f) { f.SetHintHighlight(u"h"); }, 1},
        {"AutoThemeAdapt to its value", [](TSearchFooter& f) { f.SetAutoThemeAdapt(false); }, 1},
        {"plain fields",
         [](TSearchFooter& f) {
             f.SetAutoSearch(false);
             f.SetAlwaysHighLight(true);
             f.SetHighLight(hFullCell);
             f.SetSearchColumn(2);
             f.SetSearchActiveColumnOnly(true);
             f.SetSearchMatchStart(true);
             f.SetSearchFixedCells(true);
             f.SetSearchHiddenRows(true);
             f.SetSearchDirection(sdLeftRight);
             f.SetLastSearch(u"abc");
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSearchFooter footer(nullptr, false);
        int events = 0;
        footer.OnChange = [&](TObject* sender) {
            EXPECT_EQ(sender, &footer);
            ++events;
        };
        c.action(footer);
        EXPECT_EQ(events, c.events);
    }
    TSearchFooter footer(nullptr, false);
    footer.SetFont(&bigger);
    EXPECT_EQ(footer.Font()->Size(), 20);
}

TEST(AdvObjSettingsTest, NavigationAdvanceSetters) {
    TNavigation navigation;
    int events = 0;
    navigation.OnChange = [&](TObject*) { ++events; };

    navigation.SetAdvanceDirection(adLeftRight);
    navigation.SetAdvanceInsert(false);
    EXPECT_EQ(events, 0);
    navigation.SetAdvanceDirection(adTopBottom);
    navigation.SetAdvanceInsert(true);
    EXPECT_EQ(events, 2);

    navigation.SetAdvanceAuto(true);
    EXPECT_TRUE(navigation.AdvanceOnEnter());
    navigation.SetAdvanceAuto(false);
    EXPECT_TRUE(navigation.AdvanceOnEnter()); // left alone
    navigation.SetAdvanceOnEnter(false);
    navigation.SetAllowInsertRow(true);
    navigation.SetTabAdvanceDirection(adTopBottomInCol);
    EXPECT_EQ(events, 2); // AdvanceAuto and the plain setters fire nothing
}

TEST(AdvObjSettingsTest, MouseActionsSetters) {
    TMouseActions mouse;
    std::vector<std::string> log;
    mouse.OnChange = [&](TObject*) { log.push_back("change"); };
    mouse.OnInvalidate = [&](TObject*) { log.push_back("invalidate"); };
    mouse.OnDisableEdit = [&](TObject*) { log.push_back("disable edit"); };

    mouse.SetHotmailRowSelect(false);
    EXPECT_EQ(log, (std::vector<std::string>{"invalidate"}));
    EXPECT_FALSE(mouse.DisjunctRowSelect());
    mouse.SetHotmailRowSelect(true);
    EXPECT_TRUE(mouse.DisjunctRowSelect());
    EXPECT_TRUE(mouse.CheckAllCheck());

    log.clear();
    mouse.SetEditOnDblClickOnly(true);
    mouse.SetEditOnDblClickOnly(false);
    mouse.SetWheelAction(waMoveSelection);
    mouse.SetWheelAction(waScroll);
    EXPECT_EQ(log, (std::vector<std::string>{"disable edit", "change"}));

    // At run time (no handler, or one that answers false) the three disjunct modes may all be set.
    TMouseActions runTime;
    runTime.SetDisjunctRowSelect(true);
    runTime.SetDisjunctColSelect(true);
    runTime.SetDisjunctCellSelect(true);
    EXPECT_TRUE(runTime.DisjunctRowSelect() && runTime.DisjunctColSelect() && runTime.DisjunctCellSelect());

    bool designing = true;
    runTime.OnIsDesigning = [&](TObject* sender, bool& isDesigning) {
        EXPECT_EQ(sender, &runTime);
        isDesigning = designing;
    };
    runTime.SetDisjunctColSelect(true);
    EXPECT_FALSE(runTime.DisjunctRowSelect());
    EXPECT_TRUE(runTime.DisjunctColSelect());
    EXPECT_FALSE(runTime.DisjunctCellSelect());
    runTime.SetDisjunctRowSelect(false); // clearing one leaves the others
    EXPECT_TRUE(runTime.DisjunctColSelect());
    runTime.SetDisjunctCellSelect(true);
    EXPECT_FALSE(runTime.DisjunctColSelect());
    designing = false;
    runTime.SetDisjunctRowSelect(true);
    EXPECT_TRUE(runTime.DisjunctCellSelect());

    TStringList values;
    values.Add(u"one");
    values.Add(u"two");
    mouse.SetFixedComboValues(&values);
    values.Clear();
    EXPECT_EQ(mouse.FixedComboValues()->CommaText(), u"one,two");
}

TEST(AdvObjSettingsTest, SyncGridRefusesItsOwnGrid) {
    Owned<TStringGrid> ownerGrid(new TStringGrid(nullptr)), otherGrid(new TStringGrid(nullptr));
    TStringGrid* owner = ownerGrid.get();
    TStringGrid* other = otherGrid.get();
    TSyncGrid sync(owner);
    sync.SetGrid(owner);
    EXPECT_EQ(sync.Grid(), nullptr);
    sync.SetGrid(other);
    sync.SetGrid(owner);
    EXPECT_EQ(sync.Grid(), other);
    sync.SetGrid(nullptr);
    EXPECT_EQ(sync.Grid(), nullptr);

    // Assign goes through the setter: the source's grid is refused when it is this object's owner.
    TSyncGrid source(other);
    source.SetGrid(owner);
    source.SetMoveRow(true);
    sync.SetGrid(other);
    sync.Assign(&source);
    EXPECT_EQ(sync.Grid(), other);
    EXPECT_TRUE(sync.MoveRow());
}

TEST(AdvObjSettingsTest, SyncGridForgetsAGridThatIsFreed) {
    Owned<TStringGrid> owner(new TStringGrid(nullptr));
    TSyncGrid sync(owner.get());
    auto* first = new TStringGrid(nullptr);
    auto* second = new TStringGrid(nullptr);
    sync.SetGrid(first);
    first->Free();
    EXPECT_EQ(sync.Grid(), nullptr);

    // A grid given by Assign is watched too; one replaced by another is not.
    auto* third = new TStringGrid(nullptr);
    TSyncGrid source(nullptr);
    source.SetGrid(second);
    sync.Assign(&source);
    sync.SetGrid(third);
    second->Free();
    EXPECT_EQ(sync.Grid(), third);
    EXPECT_EQ(source.Grid(), nullptr);
    third->Free();
    EXPECT_EQ(sync.Grid(), nullptr);

    // A TSyncGrid freed before its grid leaves nothing behind in that grid.
    auto* fourth = new TStringGrid(nullptr);
    {
        TSyncGrid shortLived(nullptr);
        shortLived.SetGrid(fourth);
    }
    fourth->Free();
}

TEST(AdvObjSettingsTest, BandsTellTheGridOnlyWhileActive) {
    TBands bands;
    int events = 0;
    bands.OnChange = [&](TObject*) { ++events; };
    bands.SetPrimaryColor(clRed);
    bands.SetSecondaryColor(clBlue);
    bands.SetPrimaryLength(3);
    bands.SetSecondaryLength(4);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(bands.TotalLength(), 7);

    bands.SetActive(true);
    bands.SetActive(true);
    EXPECT_EQ(events, 1);
    bands.SetPrimaryColor(clRed); // unchanged
    bands.SetPrimaryLength(3);
    EXPECT_EQ(events, 1);
    bands.SetSecondaryColor(clLime);
    bands.SetSecondaryLength(1);
    bands.SetPrint(true);
    EXPECT_EQ(events, 3);
    EXPECT_EQ(bands.TotalLength(), 4);
    bands.SetActive(false);
    EXPECT_EQ(events, 4);
}

TEST(AdvObjSettingsTest, AssignCopiesFromTheSameClassOnly) {
    // Search footer: all but AutoSearch, SearchFixedCells and AutoThemeAdapt.
    TSearchFooter footerSource(nullptr, true);
    footerSource.SetVisible(true);
    footerSource.SetColor(clRed);
    footerSource.SetShowMatchCase(false);
    footerSource.SetSearchColumn(4);
    footerSource.SetHighLight(hFullCell);
    footerSource.SetSearchDirection(sdLeftRight);
    footerSource.SetAutoSearch(false);
    footerSource.SetSearchFixedCells(true);
    footerSource.SetAutoThemeAdapt(true);
    footerSource.Font()->SetName(u"Courier New");
    TSearchFooter footer(nullptr, false);
    int events = 0;
    footer.OnChange = [&](TObject*) { ++events; };
    footer.Assign(&footerSource);
    EXPECT_TRUE(footer.Visible());
    EXPECT_EQ(footer.Color(), clRed);
    EXPECT_FALSE(footer.ShowMatchCase());
    EXPECT_EQ(footer.SearchColumn(), 4);
    EXPECT_EQ(footer.HighLight(), hFullCell);
    EXPECT_EQ(footer.SearchDirection(), sdLeftRight);
    EXPECT_EQ(footer.FindNextCaption(), u"Find &next");
    EXPECT_EQ(footer.HintHighlight(), u"Highlight occurrences");
    EXPECT_EQ(footer.Font()->Name(), u"Courier New");
    EXPECT_TRUE(footer.AutoSearch());
    EXPECT_FALSE(footer.SearchFixedCells());
    EXPECT_FALSE(footer.AutoThemeAdapt());

    // Navigation: all but KeepScrollOnSort.
    TNavigation navigationSource;
    navigationSource.SetTabAdvanceDirection(adTopBottom);
    navigationSource.SetAdvanceDirection(adLeftRightInRow);
    navigationSource.SetHomeEndKey(heFirstLastCell);
    navigationSource.SetSkipDisabledRows(false);
    navigationSource.SetKeepScrollOnSort(true);
    TNavigation navigation;
    navigation.OnChange = [&](TObject*) { ++events; };
    navigation.Assign(&navigationSource);
    EXPECT_EQ(navigation.TabAdvanceDirection(), adTopBottom);
    EXPECT_EQ(navigation.AdvanceDirection(), adLeftRightInRow);
    EXPECT_EQ(navigation.HomeEndKey(), heFirstLastCell);
    EXPECT_FALSE(navigation.SkipDisabledRows());
    EXPECT_FALSE(navigation.KeepScrollOnSort());

    // Mouse actions: all but EditOnDblClickOnly, FixedComboValues and HotmailRowSelect.
    TMouseActions mouseSource;
    mouseSource.SetHotmailRowSelect(true);
    mouseSource.SetEditOnDblClickOnly(true);
    mouseSource.FixedComboValues()->Add(u"v");
    mouseSource.SetWheelAction(waScroll);
    mouseSource.SetFixedColsEditor(fceComboList);
    TMouseActions mouse;
    mouse.OnChange = [&](TObject*) { ++events; };
    mouse.OnInvalidate = [&](TObject*) { ++events; };
    mouse.OnDisableEdit = [&](TObject*) { ++events; };
    mouse.Assign(&mouseSource);
    EXPECT_TRUE(mouse.DisjunctRowSelect());
    EXPECT_TRUE(mouse.CheckAllCheck());
    EXPECT_EQ(mouse.WheelAction(), waScroll);
    EXPECT_EQ(mouse.FixedColsEditor(), fceComboList);
    EXPECT_FALSE(mouse.HotmailRowSelect());
    EXPECT_FALSE(mouse.EditOnDblClickOnly());
    EXPECT_EQ(mouse.FixedComboValues()->Count(), 0);

    // Bands: everything, the total length with the lengths, without an event.
    TBands bandsSource;
    bandsSource.SetActive(true);
    bandsSource.SetPrimaryLength(2);
    bandsSource.SetSecondaryLength(3);
    bandsSource.SetPrimaryColor(clYellow);
    bandsSource.SetPrint(true);
    TBands bands;
    bands.OnChange = [&](TObject*) { ++events; };
    bands.Assign(&bandsSource);
    EXPECT_TRUE(bands.Active());
    EXPECT_EQ(bands.TotalLength(), 5);
    EXPECT_EQ(bands.PrimaryColor(), clYellow);
    EXPECT_TRUE(bands.Print());

    TFocusHelper focusSource;
    focusSource.SetEnabled(true);
    TFocusHelper focus;
    focus.Assign(&focusSource);
    EXPECT_TRUE(focus.Enabled());

    EXPECT_EQ(events, 0);

    // Any other source, null included, is ignored without an error.
    TStringList list;
    for (TPersistent* other : {static_cast<TPersistent*>(&list), static_cast<TPersistent*>(&focus),
                               static_cast<TPersistent*>(nullptr)}) {
        footer.Assign(other);
        navigation.Assign(other);
        mouse.Assign(other);
        bands.Assign(other);
    }
    focus.Assign(&bands);
    focus.Assign(nullptr);
    EXPECT_TRUE(footer.Visible());
    EXPECT_EQ(navigation.TabAdvanceDirection(), adTopBottom);
    EXPECT_EQ(mouse.WheelAction(), waScroll);
    EXPECT_TRUE(focus.Enabled());
    EXPECT_EQ(bands.TotalLength(), 5);
}

// ---- Streaming

std::string TextOf(TComponent* component) {
    TMemoryStream binary, text;
    WriteComponent(binary, component);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    std::string result;
    for (char c : std::string(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size())))
        if (c != '\r')
            result += c;
    return result;
}

std::vector<std::string> PropertyLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        if (line.rfind("  ", 0) == 0)
            lines.push_back(line.substr(2));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

TEST(AdvObjStreamingTest, DefaultsAreNotWritten) {
    TOptionsHost host(nullptr);
    host.SetName(u"Grid1");
    // Only the font, whose own properties have no declared default, is written.
    for (const std::string& line : PropertyLines(TextOf(&host)))
        EXPECT_EQ(line.rfind("SearchFooter.Font.", 0), 0u) << line;
}

TEST(AdvObjStreamingTest, SettingsRoundTripThroughTheComponentStream) {
    TOptionsHost host(nullptr);
    host.SetName(u"Grid1");
    host.SearchFooter()->SetVisible(true);
    host.SearchFooter()->SetColorTo(clRed);
    host.SearchFooter()->SetFindNextCaption(u"Weiter");
    host.SearchFooter()->SetSearchColumn(3);
    host.SearchFooter()->SetHighLight(hFullCell);
    host.SearchFooter()->Font()->SetName(u"Courier New");
    host.Navigation()->SetAdvanceOnEnterLoop(false);
    host.Navigation()->SetCursorAdvance(caLoop);
    host.Navigation()->SetClipboardCutAction(caRemove);
    host.MouseActions()->SetWheelIncrement(3);
    host.MouseActions()->SetFixedRowsEdit(fceRightClick);
    host.MouseActions()->FixedComboValues()->Add(u"a b");
    host.MouseActions()->SetEditOnDblClickOnly(true);
    host.SyncGrid()->SetMoveColumn(true);
    host.Bands()->SetPrimaryLength(2);
    host.Bands()->SetSecondaryColor(clNone);
    host.FocusHelper()->SetEnabled(true);
    const std::string text = TextOf(&host);
    for (const char* expected :
         {"SearchFooter.Visible = True", "SearchFooter.ColorTo = clRed",
          "SearchFooter.FindNextCaption = 'Weiter'", "SearchFooter.HighLight = hFullCell",
          "Navigation.AdvanceOnEnterLoop = False", "Navigation.CursorAdvance = caLoop",
          "MouseActions.WheelIncrement = 3", "MouseActions.FixedRowsEdit = fceRightClick",
          "SyncGrid.MoveColumn = True", "Bands.PrimaryLength = 2", "Bands.SecondaryColor = clNone",
          "FocusHelper.Enabled = True"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    TMemoryStream binary;
    WriteComponent(binary, &host);
    binary.SetPosition(0);
    TOptionsHost copy(nullptr);
    ReadComponent(binary, &copy);
    EXPECT_EQ(TextOf(&copy), text);
    EXPECT_EQ(copy.MouseActions()->FixedComboValues()->Strings(0), u"a b");
    EXPECT_EQ(copy.Bands()->TotalLength(), 3);
    EXPECT_TRUE(copy.MouseActions()->EditOnDblClickOnly());
}

} // namespace
