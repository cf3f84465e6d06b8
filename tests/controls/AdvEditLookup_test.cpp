// The typed edit's lookup list driven by typed keys and clicks: matching, order, shown values, several
// items in one value, the history, the keys of the open list, and the value and history stored in an
// INI file or the registry.
#include "controls/AdvEdit.h"

#include "platform/framework/Filer.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/wininput.h"
#include "tests/controls/ControlsTesting.h"

namespace {

class AdvEditLookupTest : public StyledControlsTest {
protected:
    // A shown edit with the focus and a lookup over a few cities and their codes.
    TAdvEdit* AddLookupEdit() {
        auto* edit = Add<TAdvEdit>(10, 10, 150, 24);
        TLookupSettings* lookup = edit->Lookup();
        lookup->SetEnabled(true);
        lookup->AddPair(u"Rome", u"ROM");
        lookup->AddPair(u"Berlin", u"BER");
        lookup->AddPair(u"Barcelona", u"BCN");
        lookup->AddPair(u"rotterdam", u"RTM");
        lookup->AddPair(u"Bern", u"BRN");
        ShowForm();
        edit->SetFocus();
        Pump();
        return edit;
    }
    static void Type(const String& text) {
        for (Char c : text)
            win32::input::TypeCharacter(c);
        Pump();
    }
    // The list's items joined by "|".
    static String Items(TAdvEdit* edit) {
        TStrings* items = edit->LookupWindow()->ListControl()->Items();
        String joined;
        for (Integer i = 0; i < items->Count(); ++i)
            joined += (i > 0 ? u"|" : u"") + items->Strings(i);
        return joined;
    }
    static String Selected(TAdvEdit* edit) {
        TListBoxTab* list = edit->LookupWindow()->ListControl();
        Integer index = list->ItemIndex();
        return index < 0 ? String(u"<none>") : list->Items()->Strings(index);
    }
};

struct MatchCase {
    const char* name;
    const char16_t* typed;
    bool fullTextSearch;
    bool caseSensitive;
    bool searchValue;
    const char16_t* expected; // the items in list order; empty when the list stays hidden
};

class LookupMatching : public AdvEditLookupTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(LookupMatching, ListsTheMatchingEntriesSorted) {
    const MatchCase& c = GetParam();
    TAdvEdit* edit = AddLookupEdit();
    edit->SetFullTextSearch(c.fullTextSearch);
    edit->Lookup()->SetCaseSensitive(c.caseSensitive);
    edit->Lookup()->SetSearchValue(c.searchValue);
    Type(c.typed);
    String expected = c.expected;
    EXPECT_EQ(edit->LookupVisible(), !expected.empty());
    if (!expected.empty()) {
        EXPECT_EQ(expected, Items(edit));
        EXPECT_EQ(Selected(edit), expected.substr(0, expected.find(u'|')));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupMatching,
    ::testing::Values(MatchCase{"OneCharacterIsTooFew", u"B", false, false, false, u""},
                      MatchCase{"TwoCharactersOpenTheList", u"Be", false, false, false, u"Berlin|Bern"},
                      MatchCase{"CaseIgnored", u"RO", false, false, false, u"Rome|rotterdam"},
                      MatchCase{"CaseSensitive", u"ro", false, true, false, u"rotterdam"},
                      MatchCase{"OnlyTheStartMatches", u"er", false, false, false, u""},
                      MatchCase{"FullTextSearch", u"er", true, false, false, u"Berlin|Bern|rotterdam"},
                      MatchCase{"ValuesSearched", u"bc", false, false, true, u"Barcelona"},
                      MatchCase{"ValuesNotSearched", u"bc", false, false, false, u""},
                      MatchCase{"NothingMatches", u"xy", false, false, false, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AdvEditLookupTest, TheListOpensUnderTheEditAndClosesWhenTheTextGetsShort) {
    TAdvEdit* edit = AddLookupEdit();
    Type(u"Be");
    ASSERT_TRUE(edit->LookupVisible());
    TListHintWindow* window = edit->LookupWindow();
    RECT r;
    GetWindowRect(window->Handle(), &r);
    TPoint origin = edit->ClientOrigin();
    EXPECT_EQ(origin.Y + edit->Height() - 6, r.top);
    TListBoxTab* list = window->ListControl();
    EXPECT_EQ(list->ItemHeight() * 2 + 4, r.bottom - r.top) << "two rows and the frame";
    EXPECT_EQ(GetFocus(), edit->Handle()) << "the list opens without taking the focus";
    EXPECT_EQ(FForm->Handle(), GetWindow(window->Handle(), GW_OWNER));
    auto hitTest = [&](int x, int y) {
        return SendMessageW(window->Handle(), WM_NCHITTEST, 0,
                            MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    };
    EXPECT_EQ(HTBOTTOMRIGHT, hitTest(r.right - 3, r.bottom - 3)) << "the corner resizes the list";
    EXPECT_NE(HTTRANSPARENT, hitTest(r.left + 3, r.top + 3)) << "the list takes the mouse";

    Press(VK_BACK);
    EXPECT_FALSE(edit->LookupVisible());
    EXPECT_EQ(nullptr, GetWindow(window->Handle(), GW_OWNER));
    Type(u"e");
    EXPECT_TRUE(edit->LookupVisible());
    PressAlt(VK_SHIFT);
    EXPECT_FALSE(edit->LookupVisible()) << "the Alt key closes the list";
    edit->Lookup()->SetNumChars(0);
    EXPECT_EQ(2, edit->Lookup()->NumChars()) << "values below 1 are ignored";
}

TEST_F(AdvEditLookupTest, KeysMoveThroughTheOpenListAndEnterAcceptsTheEntry) {
    TAdvEdit* edit = AddLookupEdit();
    edit->Lookup()->DisplayList()->Clear();
    edit->Lookup()->ValueList()->Clear();
    for (Char c = u'1'; c <= u'9'; ++c)
        edit->Lookup()->DisplayList()->Add(String(u"a") + c);
    edit->Lookup()->SetNumChars(1);
    Type(u"a");
    ASSERT_TRUE(edit->LookupVisible());
    struct Step {
        int key;
        const char16_t* selected;
    };
    // Nine entries, four rows a page.
    const Step steps[] = {{VK_DOWN, u"a2"},  {VK_END, u"a9"},  {VK_DOWN, u"a9"}, {VK_PRIOR, u"a5"},
                          {VK_PRIOR, u"a1"}, {VK_UP, u"a1"},   {VK_NEXT, u"a5"}, {VK_NEXT, u"a9"},
                          {VK_HOME, u"a1"},  {VK_NEXT, u"a5"}, {VK_UP, u"a4"}};
    for (const Step& step : steps) {
        Press(step.key);
        EXPECT_EQ(step.selected, Selected(edit)) << "after key " << step.key;
        EXPECT_EQ(u"a", edit->Text()) << "the keys go to the list, not the edit";
    }
    Press(VK_RETURN);
    EXPECT_FALSE(edit->LookupVisible());
    EXPECT_EQ(u"a4", edit->Text());
    EXPECT_EQ(0, edit->SelStart());
    EXPECT_EQ(2, edit->SelLength()) << "the accepted entry is selected";
}

TEST_F(AdvEditLookupTest, AClickOnAnEntryAcceptsItAndGivesTheFocusBack) {
    TAdvEdit* edit = AddLookupEdit();
    Type(u"Be");
    ASSERT_TRUE(edit->LookupVisible());
    TListBoxTab* list = edit->LookupWindow()->ListControl();
    TRect second = list->ItemRect(1);
    ClickAt(list, second.Left + 5, second.Top + second.Height() / 2);
    EXPECT_FALSE(edit->LookupVisible());
    EXPECT_EQ(u"BRN", edit->Text()) << "with values, the value of the entry is taken";
    EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST_F(AdvEditLookupTest, ShownValuesAndTheSelectEvents) {
    TAdvEdit* edit = AddLookupEdit();
    edit->Lookup()->SetShowValue(true);
    edit->Lookup()->SetValueSeparator(vsSquareBracket);
    edit->Lookup()->ValueList()->SetStrings(4, u""); // Bern shows no empty brackets
    std::vector<std::string> log;
    edit->OnLookupSelect = [&](TObject*, String& value) { log.push_back("select " + StringToUtf8(value)); };
    edit->OnLookupIndexSelect = [&](TObject*, Integer index, String& value) {
        log.push_back("index " + std::to_string(index) + " " + StringToUtf8(value));
        value += u"!";
    };
    Type(u"Be");
    EXPECT_EQ(u"Berlin [BER]|Bern", Items(edit));
    Press(VK_RETURN);
    EXPECT_EQ(u"BER!", edit->Text());
    EXPECT_EQ((std::vector<std::string>{"select BER", "index 1 BER"}), log);

    // Without values the entry's text is taken and only OnLookupSelect fires.
    log.clear();
    edit->Lookup()->ValueList()->Clear();
    edit->SetText(u"");
    Type(u"Bar");
    Press(VK_RETURN);
    EXPECT_EQ(u"Barcelona", edit->Text());
    EXPECT_EQ((std::vector<std::string>{"select Barcelona"}), log);
}

TEST_F(AdvEditLookupTest, MultiLooksUpTheLastItemAndAppendsTheSeparator) {
    TAdvEdit* edit = AddLookupEdit();
    edit->Lookup()->SetMulti(true);
    edit->Lookup()->ValueList()->Clear();
    Type(u"a;b;");
    EXPECT_FALSE(edit->LookupVisible()) << "the item after the last separator is still empty";
    Type(u"be");
    ASSERT_TRUE(edit->LookupVisible());
    EXPECT_EQ(u"Berlin|Bern", Items(edit));
    RECT r;
    GetWindowRect(edit->LookupWindow()->Handle(), &r);
    EXPECT_GT(r.left, edit->ClientOrigin().X + 8 + 10) << "the list starts under the last item";
    Press(VK_RETURN);
    EXPECT_EQ(u"a;b;Berlin;", edit->Text());
    EXPECT_EQ(11, edit->SelStart());
    EXPECT_EQ(0, edit->SelLength());
}

TEST_F(AdvEditLookupTest, TheEntryChosenByTheNeedDataHandlerStaysChosenAfterSorting) {
    TAdvEdit* edit = AddLookupEdit();
    String asked;
    edit->OnLookupNeedData = [&](TObject*, String value, TStrings* list, Integer& itemIndex) {
        asked = value;
        list->Add(u"Aachen"); // sorts first
        list->Add(u"Bernau");
        itemIndex = list->IndexOf(u"Aachen");
    };
    edit->Lookup()->ValueList()->Clear();
    Type(u"Be");
    EXPECT_EQ(u"Be", asked);
    EXPECT_EQ(u"Aachen|Berlin|Bern|Bernau", Items(edit));
    EXPECT_EQ(u"Aachen", Selected(edit));
    Press(VK_RETURN);
    EXPECT_EQ(u"Aachen", edit->Text());
}

TEST_F(AdvEditLookupTest, EscapeClosesTheListBeforeItRestoresTheValue) {
    TAdvEdit* edit = AddLookupEdit();
    edit->SetText(u"B");
    edit->SetFocus();
    auto* other = Add<TAdvEdit>(10, 50, 150, 24);
    other->SetFocus();
    edit->SetFocus();
    Pump();
    edit->SelectAll();
    Type(u"Ber");
    ASSERT_TRUE(edit->LookupVisible());
    Press(VK_ESCAPE);
    EXPECT_FALSE(edit->LookupVisible());
    EXPECT_EQ(u"Ber", edit->Text());
    Press(VK_ESCAPE);
    EXPECT_EQ(u"B", edit->Text()) << "the value at focus time";
    EXPECT_FALSE(edit->Modified());
}

TEST_F(AdvEditLookupTest, HistoryKeepsEachValueLeftBehindOnce) {
    TAdvEdit* edit = AddLookupEdit();
    edit->Lookup()->SetHistory(true);
    edit->Lookup()->DisplayList()->Clear();
    auto* other = Add<TAdvEdit>(10, 50, 150, 24);
    Type(u"Paris ");
    other->SetFocus();
    Pump();
    edit->SetFocus();
    edit->SetText(u"paris");
    other->SetFocus();
    edit->SetFocus();
    edit->SetText(u"  ");
    other->SetFocus();
    Pump();
    ASSERT_EQ(1, edit->Lookup()->DisplayList()->Count()) << "case and blanks make no new entry";
    EXPECT_EQ(u"Paris", edit->Lookup()->DisplayList()->Strings(0));

    edit->SetFocus();
    edit->SetText(u"");
    Type(u"Pa");
    EXPECT_TRUE(edit->LookupVisible()) << "the history is offered like any entry";
    EXPECT_EQ(u"Paris", Items(edit));
    other->SetFocus();
    Pump();
    EXPECT_FALSE(edit->LookupVisible()) << "the list goes with the focus";
}

// ---- Stored values ----

struct StoreCase {
    const char* name;
    TPersistenceLocation location;
    const char16_t* key;
    const char16_t* section;
    const char16_t* storedSection; // where the values land
};

class LookupStore : public AdvEditLookupTest, public ::testing::WithParamInterface<StoreCase> {
protected:
    std::unique_ptr<TCustomIniFile> OpenStore() {
        if (GetParam().location == plInifile)
            return std::make_unique<TIniFile>(GetParam().key);
        return std::make_unique<TRegistryIniFile>(GetParam().key);
    }
    static void Configure(TAdvEdit* edit) {
        edit->SetName(u"CityEdit");
        edit->Persistence()->SetEnable(true);
        edit->Persistence()->SetLocation(GetParam().location);
        edit->Persistence()->SetKey(GetParam().key);
        edit->Persistence()->SetSection(GetParam().section);
        edit->Lookup()->SetEnabled(true);
        edit->Lookup()->SetHistory(true);
    }
};

TEST_P(LookupStore, TheValueAndHistoryAreStoredWithTheWindowAndReadAtLoad) {
    auto* edit = Add<TAdvEdit>(10, 10, 150, 24);
    Configure(edit);
    edit->SetPrefix(u"<");
    edit->Lookup()->AddPair(u"Rome", u""); // an empty value keeps its place
    edit->Lookup()->AddPair(u"Berlin", u"BER");
    edit->Lookup()->DisplayList()->Add(u"Bern"); // a display without a value
    edit->SetText(u"Rome");
    ShowForm();
    edit->Free(); // its window goes, and the values are stored

    const String section = GetParam().storedSection;
    std::unique_ptr<TCustomIniFile> store = OpenStore();
    EXPECT_EQ(u"<Rome", store->ReadString(section, u"CityEdit", u"?"));
    EXPECT_EQ(3, store->ReadInteger(section, u"LOOKUPCOUNT", 0));
    EXPECT_EQ(u"Rome", store->ReadString(section, u"LOOKUPDISPL1", u"?"));
    EXPECT_EQ(u"Bern", store->ReadString(section, u"LOOKUPDISPL3", u"?"));
    EXPECT_EQ(u"", store->ReadString(section, u"LOOKUPVAL1", u"?"));
    EXPECT_EQ(u"BER", store->ReadString(section, u"LOOKUPVAL2", u"?"));
    EXPECT_FALSE(store->ValueExists(section, u"LOOKUPVAL3"));

    // An edit read from its description finds them where they were written.
    TAdvEdit described(nullptr);
    Configure(&described);
    described.SetPrefix(u"<");
    TMemoryStream stream;
    WriteComponent(stream, &described);
    stream.SetPosition(0);
    TAdvEdit restored(nullptr);
    ReadComponent(stream, &restored);
    EXPECT_EQ(u"Rome", restored.Text());
    TStrings* displays = restored.Lookup()->DisplayList();
    TStrings* values = restored.Lookup()->ValueList();
    ASSERT_EQ(3, displays->Count());
    ASSERT_EQ(2, values->Count());
    EXPECT_EQ(u"Berlin", displays->Strings(1));
    EXPECT_EQ(u"BER", values->Strings(1)) << "Berlin keeps its value";
    EXPECT_EQ(u"", values->Strings(0));
}

INSTANTIATE_TEST_SUITE_P(
    Stores, LookupStore,
    ::testing::Values(StoreCase{"IniFile", plInifile, u"edits.ini", u"Cities", u"Cities"},
                      StoreCase{"IniFileNamedByTheEdit", plInifile, u"edits2.ini", u"", u"CityEdit"},
                      StoreCase{"Registry", plRegistry, u"Software\\Zelmor\\Edits", u"Cities", u"Cities"},
                      StoreCase{"RegistryWithoutSection", plRegistry, u"Software\\Zelmor\\Edits2", u"", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AdvEditLookupTest, NothingIsStoredOrReadWhenPersistenceIsOff) {
    auto* edit = Add<TAdvEdit>(10, 10, 150, 24);
    edit->SetName(u"Quiet");
    edit->Persistence()->SetKey(u"quiet.ini");
    edit->Persistence()->SetSection(u"S");
    edit->SetText(u"x");
    ShowForm();
    edit->Free();
    TIniFile ini(u"quiet.ini");
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(0, sections.Count());
}

} // namespace
