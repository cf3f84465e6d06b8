// Tests of the full string grid's construction and lifecycle, its unit's start-up and shutdown, and its
// property setters.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "platform/framework/Application.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Forms.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/sysconfig.h"

namespace advgrid_fixtures {

int gLiveGraphics = 0;

DEFINE_CLASS(TCellGraphic)

} // namespace advgrid_fixtures

namespace {

using advgrid_fixtures::gLiveGraphics;

// A grid that counts its repaints and records its window timers, and opens up the update counter.
class TTestAdvGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;

    void SetUpdateCount(Integer value) { FUpdateCount = value; }
    void SetEditChange() { FEditChange = true; }
    Integer MaxRowCount() const { return FMaxRowCount; }
    void RunLoaded() { Loaded(); }

    int invalidates = 0;
    std::vector<WPARAM> timers;

    void Invalidate() override {
        ++invalidates;
        TAdvStringGrid::Invalidate();
    }

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_TIMER)
            timers.push_back(message.WParam);
        TAdvStringGrid::WndProc(message);
    }
};

// An owner whose state a test can set, to stand for a form in the designer or one being loaded.
class TStateOwner : public TComponent {
public:
    using TComponent::TComponent;
    void Include(TComponentStateItem item) { FComponentState.Include(item); }
};

bool OwnsComponentOf(TComponent* owner, const String& className) {
    for (Integer i = 0; i < owner->ComponentCount(); ++i)
        if (owner->Components(i)->ClassName() == className)
            return true;
    return false;
}

class AdvGridTest : public ::testing::Test {
protected:
    void TearDown() override {
        delete FGrid;
        win32::ResetSystemSettings();
    }
    TTestAdvGrid* MakeGrid(TComponent* owner = nullptr) {
        FGrid = new TTestAdvGrid(owner);
        return FGrid;
    }
    static void Pump() { Application->ProcessMessages(); }

    TTestAdvGrid* FGrid = nullptr;
};

// ---- Defaults and the design-time flag

struct DefaultCase {
    const char* name;
    std::function<Int64(TAdvStringGrid&)> read;
    Int64 expected;
};

TEST_F(AdvGridTest, ConstructorDefaults) {
    TAdvStringGrid& g = *MakeGrid();
    const DefaultCase cases[] = {
        {"RowCount", [](TAdvStringGrid& g) { return g.RowCount(); }, 10},
        {"Width", [](TAdvStringGrid& g) { return g.Width(); }, 400},
        {"Height", [](TAdvStringGrid& g) { return g.Height(); }, 250},
        {"DefaultRowHeight", [](TAdvStringGrid& g) { return g.DefaultRowHeight(); }, 22},
        {"FixedRowHeight", [](TAdvStringGrid& g) { return g.FixedRowHeight(); }, 22},
        {"AcceptsControls", [](TAdvStringGrid& g) { return g.ControlStyle().Contains(csAcceptsControls); },
         1},
        {"Look", [](TAdvStringGrid& g) { return g.Look(); }, glXP},
        {"Style", [](TAdvStringGrid& g) { return g.Style(); }, tsWindowsXP},
        {"SelectionColor", [](TAdvStringGrid& g) { return g.SelectionColor(); }, 0xEACAB6},
        {"SelectionColorTo", [](TAdvStringGrid& g) { return g.SelectionColorTo(); }, clNone},
        {"SelectionColorMixerFactor", [](TAdvStringGrid& g) { return g.SelectionColorMixerFactor(); }, 50},
        {"ActiveCellColor", [](TAdvStringGrid& g) { return g.ActiveCellColor(); }, 0x808080},
        {"DisabledFontColor", [](TAdvStringGrid& g) { return g.DisabledFontColor(); }, 0xC0C0C0},
        {"HintColor", [](TAdvStringGrid& g) { return g.HintColor(); }, clInfoBk},
        {"URLColor", [](TAdvStringGrid& g) { return g.URLColor(); }, 0xFF0000},
        {"BorderColor (Windows 7)", [](TAdvStringGrid& g) { return g.BorderColor(); }, 0xB99D7F},
        {"ScrollColor", [](TAdvStringGrid& g) { return g.ScrollColor(); }, clNone},
        {"ScrollWidth", [](TAdvStringGrid& g) { return g.ScrollWidth(); }, GetSystemMetrics(SM_CXVSCROLL)},
        {"InvalidEntryIcon", [](TAdvStringGrid& g) { return g.InvalidEntryIcon(); }, ieWarning},
        {"ShowSelection", [](TAdvStringGrid& g) { return g.ShowSelection(); }, 1},
        {"EnableHTML", [](TAdvStringGrid& g) { return g.EnableHTML(); }, 1},
        {"IntelliZoom", [](TAdvStringGrid& g) { return g.IntelliZoom(); }, 1},
        {"AutoSize", [](TAdvStringGrid& g) { return g.AutoSize(); }, 0},
        {"Column 0 and 511 visible", [](TAdvStringGrid& g) { return g.ColVisible(0) && g.ColVisible(511); },
         1},
        {"FixedFont bold", [](TAdvStringGrid& g) { return g.FixedFont()->Style().Contains(fsBold); }, 1},
        {"ActiveCellFont bold",
         [](TAdvStringGrid& g) { return g.ActiveCellFont()->Style().Contains(fsBold); }, 1},
        {"LinkCursor", [](TAdvStringGrid&) { return LinkCursor; }, crHandPoint},
        {"DesignTimeInit", [](TAdvStringGrid& g) { return g.DesignTimeInit(); }, 0},
    };
    for (const DefaultCase& c : cases)
        EXPECT_EQ(c.read(g), c.expected) << c.name;

    EXPECT_EQ(g.CheckTrue(), u"Y");
    EXPECT_EQ(g.CheckFalse(), u"N");
    EXPECT_EQ(g.FloatFormat(), u"%.2f");
    EXPECT_EQ(g.FixedFont()->Name(), u"Tahoma");
    EXPECT_EQ(g.FilterDropDown()->TextChecked(), u"");
    // Outside design mode the grid makes its editors and helper windows as its own components.
    EXPECT_TRUE(OwnsComponentOf(&g, u"TGridCombo"));
    EXPECT_TRUE(OwnsComponentOf(&g, u"TArrowWindow"));
}

TEST_F(AdvGridTest, BorderColourBeforeWindowsXP) {
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.majorVersion = 5;
    settings.minorVersion = 0;
    win32::SetSystemSettings(settings);
    EXPECT_EQ(MakeGrid()->BorderColor(), TColor(0x808080));
}

TEST_F(AdvGridTest, DesignTimeFlag) {
    struct Case {
        const char* name;
        bool designing;
        TComponentStateItem ownerState; // csWriting stands for none of reading and loading
        bool expected;
    };
    const Case cases[] = {
        {"run time", false, csWriting, false},
        {"newly placed in the designer", true, csWriting, true},
        {"designer, owner reading", true, csReading, false},
        {"designer, owner loading", true, csLoading, false},
    };
    for (const Case& c : cases) {
        TStateOwner owner(nullptr);
        if (c.designing)
            owner.SetDesigning(true);
        if (c.ownerState != csWriting)
            owner.Include(c.ownerState);
        auto* grid = new TAdvStringGrid(&owner);
        EXPECT_EQ(grid->DesignTimeInit(), c.expected) << c.name;
        EXPECT_EQ(grid->FilterDropDown()->TextChecked(), c.expected ? u"Checked" : u"") << c.name;
        EXPECT_EQ(grid->FilterDropDown()->TextUnChecked(), c.expected ? u"Unchecked" : u"") << c.name;
        // A grid in design mode has no inner controls and keeps the custom style.
        EXPECT_EQ(OwnsComponentOf(grid, u"TGridCombo"), !c.designing) << c.name;
        EXPECT_EQ(grid->Style(), c.designing ? tsCustom : tsWindowsXP) << c.name;
    }
}

TEST_F(AdvGridTest, LoadedTakesTheStoredShapeAndMovesAlwaysShowEditorToNavigation) {
    TTestAdvGrid& g = *MakeGrid();
    g.SetColCount(7);
    g.SetRowCount(40);
    g.SetOptions(g.Options() + TGridOptions{goEditing, goAlwaysShowEditor});
    g.RunLoaded();
    EXPECT_EQ(g.MaxRowCount(), 40);
    EXPECT_FALSE(g.Options().Contains(goAlwaysShowEditor));
    EXPECT_TRUE(g.Options().Contains(goEditing));
    EXPECT_TRUE(g.Navigation()->AlwaysEdit());
}

std::string TextOf(TComponent* component) {
    TMemoryStream binary, text;
    WriteComponent(binary, component);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    return std::string(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size()));
}

// The grid streams as a form's component: with its settings, never with its inner controls, which are
// owned by the grid and not by the form.
TEST_F(AdvGridTest, PublishedSettingsStreamOnlyWhatDiffers) {
    if (GetClass(u"TAdvStringGrid") == nullptr)
        RegisterClass(TAdvStringGrid::StaticClass());
    TForm form(nullptr, 0);
    form.SetName(u"Form1");
    auto* source = new TAdvStringGrid(&form);
    source->SetName(u"Grid1");
    source->SetParent(&form);
    const std::string plain = TextOf(&form);
    for (const char* absent : {"Selection", "ShowSelection", "SpreadSheet", "SizeWithForm", "VAlignment",
                               "IntegralHeight", "Navigation.", "TGridCombo", "TDropList"})
        EXPECT_EQ(plain.find(absent), std::string::npos) << absent << " in\n" << plain;

    source->SetSelectionColor(clRed);
    source->SetVAlignment(vtaCenter);
    source->SetIntegralHeight(true);
    source->Navigation()->SetAlwaysEdit(true);
    TMemoryStream binary;
    WriteComponent(binary, &form);
    binary.SetPosition(0);
    TForm copyForm(nullptr, 0);
    ReadComponent(binary, &copyForm);
    auto* copy = dynamic_cast<TAdvStringGrid*>(copyForm.FindComponent(u"Grid1"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->SelectionColor(), clRed);
    EXPECT_EQ(copy->VAlign(), UINT(DT_VCENTER));
    EXPECT_TRUE(copy->IntegralHeight());
    EXPECT_TRUE(copy->Navigation()->AlwaysEdit());
    EXPECT_TRUE(copy->ShowSelection());
}

// ---- Assign and AssignCells

TEST_F(AdvGridTest, AssignCopiesSettingsLayoutAndCells) {
    TAdvStringGrid source(nullptr);
    source.SetColCount(4);
    source.SetRowCount(6);
    source.SetFixedRows(2);
    source.SetDefaultRowHeight(30);
    source.SetColWidths(2, 99);
    source.SetSelectionColor(0x123456);
    source.SetIntegralHeight(true);
    source.Navigation()->SetAlwaysEdit(true);
    source.ColumnHeaders()->Add(u"Time");
    source.SetCells(0, 0, u"head");
    source.SetCells(3, 5, u"last");

    TAdvStringGrid& g = *MakeGrid();
    g.Assign(&source);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.FixedRows(), 2);
    EXPECT_EQ(g.DefaultRowHeight(), 30);
    EXPECT_EQ(g.ColWidths(2), 99);
    EXPECT_EQ(g.SelectionColor(), TColor(0x123456));
    EXPECT_TRUE(g.IntegralHeight());
    EXPECT_TRUE(g.Navigation()->AlwaysEdit());
    EXPECT_EQ(g.ColumnHeaders()->Text(), source.ColumnHeaders()->Text());
    EXPECT_EQ(g.Cells(0, 0), u"head");
    EXPECT_EQ(g.Cells(3, 5), u"last");
    // The settings objects are copies, not shared.
    EXPECT_NE(g.Navigation(), source.Navigation());
}

TEST_F(AdvGridTest, AssignFromAnotherClassChangesNothing) {
    TAdvStringGrid& g = *MakeGrid();
    g.SetCells(1, 1, u"kept");
    TFont font;
    g.Assign(&font);
    TStringGrid plain(nullptr);
    plain.SetRowCount(3);
    g.Assign(&plain);
    g.AssignCells(&plain);
    EXPECT_EQ(g.RowCount(), 10);
    EXPECT_EQ(g.Cells(1, 1), u"kept");
}

TEST_F(AdvGridTest, AssignCellsCopiesEveryTextAndNoSettings) {
    TAdvStringGrid source(nullptr);
    source.SetColCount(3);
    source.SetRowCount(4);
    source.SetSelectionColor(0x010203);
    for (Integer r = 0; r < 4; ++r)
        for (Integer c = 0; c < 3; ++c)
            source.SetCells(c, r, IntToStr(c) + u"," + IntToStr(r));

    TAdvStringGrid& g = *MakeGrid();
    g.AssignCells(&source);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.RowCount(), 4);
    for (Integer r = 0; r < 4; ++r)
        for (Integer c = 0; c < 3; ++c)
            EXPECT_EQ(g.Cells(c, r), IntToStr(c) + u"," + IntToStr(r)) << c << "," << r;
    EXPECT_EQ(g.SelectionColor(), TColor(0xEACAB6));
}

// ---- IntegralHeight

TEST_F(AdvGridTest, IntegralHeightCutsToWholeRows) {
    struct Case {
        const char* name;
        bool integral;
        TBorderStyle border;
        Integer rowHeight;
        Integer colCount;
        Integer height;
        Integer expected;
    };
    const Integer scroll = GetSystemMetrics(SM_CYHSCROLL);
    const Case cases[] = {
        {"off", false, bsSingle, 22, 2, 250, 250},
        {"single border", true, bsSingle, 22, 2, 250, 246},
        {"no border", true, bsNone, 22, 2, 250, 242},
        {"already whole", true, bsNone, 25, 2, 250, 250},
        {"horizontal scroll bar", true, bsNone, 22, 40, 250, scroll + (250 - scroll) / 22 * 22},
    };
    for (const Case& c : cases) {
        TAdvStringGrid grid(nullptr);
        grid.SetBorderStyle(c.border);
        grid.SetDefaultRowHeight(c.rowHeight);
        grid.SetColCount(c.colCount);
        grid.SetIntegralHeight(c.integral);
        grid.SetBounds(0, 0, 400, c.height);
        EXPECT_EQ(grid.Height(), c.expected) << c.name;
    }
}

TEST_F(AdvGridTest, IntegralHeightWaitsForTheEndOfAnUpdate) {
    TTestAdvGrid& g = *MakeGrid();
    g.SetIntegralHeight(true);
    g.SetUpdateCount(1);
    g.SetBounds(0, 0, 400, 250);
    EXPECT_EQ(g.Height(), 250);
}

// ---- The window timer

TEST_F(AdvGridTest, Timer111RunsWhileTheWindowExists) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 500, 300);
    TTestAdvGrid* grid = new TTestAdvGrid(form);
    EXPECT_FALSE(grid->GridTimerRunning());
    grid->SetParent(form);
    form->Show();
    Pump();
    ASSERT_TRUE(grid->HandleAllocated());
    EXPECT_TRUE(grid->GridTimerRunning());

    grid->timers.clear();
    Clock::Advance(499);
    Pump();
    EXPECT_TRUE(grid->timers.empty());
    Clock::Advance(1);
    Pump();
    Clock::Advance(500);
    Pump();
    EXPECT_EQ(grid->timers, (std::vector<WPARAM>{GridTimerID, GridTimerID}));

    // Taking the grid off its form destroys its window and with it the timer.
    grid->SetParent(nullptr);
    Pump();
    EXPECT_FALSE(grid->GridTimerRunning());
    grid->timers.clear();
    Clock::Advance(1000);
    Pump();
    EXPECT_TRUE(grid->timers.empty());
    form->Free();
    Pump();
}

TEST_F(AdvGridTest, RepaintAfterAnEditChangeIsSwallowedOnce) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 500, 300);
    auto* grid = new TTestAdvGrid(form);
    grid->SetParent(form);
    form->Show();
    Pump();
    auto pending = [grid] { return GetUpdateRect(grid->Handle(), nullptr, FALSE) != FALSE; };
    ASSERT_FALSE(pending());
    grid->SetEditChange();
    grid->Invalidate();
    EXPECT_FALSE(pending());
    grid->Invalidate();
    EXPECT_TRUE(pending());
    form->Free();
    Pump();
}

// ---- Destruction

TEST_F(AdvGridTest, DestroyFreesEveryRecordAndOwnedObject) {
    ASSERT_EQ(gLiveGraphics, 0);
    auto* form = new TForm(nullptr, 0);
    const Integer formComponents = form->ComponentCount();
    auto* grid = new TAdvStringGrid(form);
    grid->SetColCount(5);
    grid->SetRowCount(30);
    grid->SetGraphicObjects(1, 1, new advgrid_fixtures::TCellGraphic);
    grid->SetGraphicObjects(4, 25, new advgrid_fixtures::TCellGraphic);
    // Rows beyond the row count keep their records.
    grid->SetRowCount(10);
    grid->SetGraphicObjects(2, 9, new advgrid_fixtures::TCellGraphic);
    EXPECT_EQ(gLiveGraphics, 3);
    TGridChangeNotifier notifier(nullptr);
    grid->RegisterNotifier(&notifier);
    delete grid;
    EXPECT_EQ(gLiveGraphics, 0);
    EXPECT_EQ(form->ComponentCount(), formComponents);
    form->Free();
}

// ---- Changed cells

TEST_F(AdvGridTest, CellsChangedReachesTheEventAndLiveNotifiersOnly) {
    struct TRecordingNotifier : TGridChangeNotifier {
        using TGridChangeNotifier::TGridChangeNotifier;
        std::vector<TRect>* log = nullptr;
        void CellsChanged(const TRect& R) override { log->push_back(R); }
    };
    TTestAdvGrid& g = *MakeGrid();
    std::vector<TRect> events, first, second;
    g.OnCellsChanged = [&](TObject*, const TRect& R) { events.push_back(R); };
    auto* a = new TRecordingNotifier(nullptr);
    a->log = &first;
    TRecordingNotifier b(nullptr);
    b.log = &second;
    g.RegisterNotifier(a);
    g.RegisterNotifier(&b);
    g.DoCellsChanged(TRect(1, 2, 3, 4));
    delete a; // a freed notifier is dropped, never called
    g.DoCellsChanged(TRect(0, 0, 1, 1));
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(first, (std::vector<TRect>{TRect(1, 2, 3, 4)}));
    EXPECT_EQ(second, (std::vector<TRect>{TRect(1, 2, 3, 4), TRect(0, 0, 1, 1)}));
}

// ---- Unit start-up and shutdown

class GridUnitTest : public ::testing::Test {
protected:
    void TearDown() override {
        GridUnitShutdown();
        win32::ResetSystemSettings();
    }
    static void SetComCtl(DWORD major, DWORD minor) {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.comctlMajor = major;
        settings.comctlMinor = minor;
        win32::SetSystemSettings(settings);
    }
};

TEST_F(GridUnitTest, ComCtl470OrLaterFollowsTheLibraryVersion) {
    struct Case {
        DWORD major, minor;
        bool expected;
    };
    const Case cases[] = {{4, 70, true}, {4, 69, false}, {4, 71, true}, {3, 99, false}, {6, 0, true}};
    for (const Case& c : cases) {
        SetComCtl(c.major, c.minor);
        GridUnitStartup();
        EXPECT_EQ(ComCtl470OrLater, c.expected) << c.major << "." << c.minor;
        GridUnitShutdown();
    }
}

TEST_F(GridUnitTest, DllFileVersion) {
    SetComCtl(5, 82);
    EXPECT_EQ(GetDllFileVersion(u"comctl32.dll"), (5 << 16) | 82);
    EXPECT_EQ(GetDllFileVersion(u"no-such-library.dll"), -1);
}

TEST_F(GridUnitTest, StartupRegistersOnceAndShutdownReleases) {
    GridUnitStartup();
    HHOOK hook = GridHookHandle;
    ASSERT_NE(hook, nullptr);
    EXPECT_NE(GridCellsClipboardFormat, 0);
    EXPECT_EQ(GridCellsClipboardFormat, Word(RegisterClipboardFormat(u"TAdvStringGrid Cells")));
    const Word messages[] = {WM_GRIDEDITDONE, WM_GRIDEDITSHOW, WM_GRIDEDITPROP, WM_DTPSHIFTFOCUS};
    const Char* names[] = {u"GridEditDone", u"GridEditShow", u"GridEditProp", u"DTPShiftFocus"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(messages[i], Word(RegisterWindowMessage(names[i]))) << i;
    EXPECT_NE(GetClass(u"TAdvStringGrid"), nullptr);
    EXPECT_NE(GetClass(u"TSearchPanel"), nullptr);

    // A second start installs no second hook.
    GridUnitStartup();
    EXPECT_EQ(GridHookHandle, hook);

    HintFontName = u"Tahoma";
    GridUnitShutdown();
    EXPECT_EQ(GridHookHandle, nullptr);
    EXPECT_TRUE(HintFontName.empty());
    // A shutdown without a start does nothing.
    GridUnitShutdown();
    EXPECT_EQ(GridHookHandle, nullptr);
}

// A hook installed before the grid unit's sees what the grid's hook passes on.
int gEarlierHookPosChanges = 0;
HHOOK gEarlierHook = nullptr;

LRESULT EarlierHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* record = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (record->message == WM_WINDOWPOSCHANGED)
        ++gEarlierHookPosChanges;
    return CallNextHookEx(gEarlierHook, code, wParam, lParam);
}

TEST_F(GridUnitTest, HookPassesEveryMessageOn) {
    gEarlierHook = SetWindowsHookEx(WH_CALLWNDPROC, EarlierHook, nullptr, GetCurrentThreadId());
    GridUnitStartup();
    HWND hwnd = CreateWindowEx(0, u"STATIC", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    gEarlierHookPosChanges = 0;
    SetWindowPos(hwnd, nullptr, 20, 30, 10, 10, SWP_NOZORDER);
    EXPECT_EQ(gEarlierHookPosChanges, 1);
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    EXPECT_EQ(rect.left, 20);
    DestroyWindow(hwnd);
    GridUnitShutdown();
    UnhookWindowsHookEx(gEarlierHook);
}

// ---- Property setters

TEST_F(AdvGridTest, RepaintingSettersRepaintOnlyOnAChange) {
    struct Case {
        const char* name;
        std::function<void(TAdvStringGrid&)> write;
        std::function<Int64(TAdvStringGrid&)> read;
        Int64 expected;
        bool repaints;
    };
    const Case cases[] = {
        {"SelectionColor", [](auto& g) { g.SetSelectionColor(0x112233); },
         [](auto& g) { return g.SelectionColor(); }, 0x112233, true},
        {"SelectionColor unchanged", [](auto& g) { g.SetSelectionColor(0xEACAB6); },
         [](auto& g) { return g.SelectionColor(); }, 0xEACAB6, false},
        {"SelectionTextColor", [](auto& g) { g.SetSelectionTextColor(clRed); },
         [](auto& g) { return g.SelectionTextColor(); }, clRed, true},
        {"SelectionRectangle", [](auto& g) { g.SetSelectionRectangle(true); },
         [](auto& g) { return g.SelectionRectangle(); }, 1, true},
        {"DefaultAlignment", [](auto& g) { g.SetDefaultAlignment(taCenter); },
         [](auto& g) { return g.DefaultAlignment(); }, taCenter, true},
        {"mixer factor 150 is clamped", [](auto& g) { g.SetSelectionColorMixerFactor(150); },
         [](auto& g) { return g.SelectionColorMixerFactor(); }, 100, true},
        {"mixer factor -5 is clamped", [](auto& g) { g.SetSelectionColorMixerFactor(-5); },
         [](auto& g) { return g.SelectionColorMixerFactor(); }, 0, true},
        {"mixer factor unchanged", [](auto& g) { g.SetSelectionColorMixerFactor(50); },
         [](auto& g) { return g.SelectionColorMixerFactor(); }, 50, false},
        {"ShowSelection off", [](auto& g) { g.SetShowSelection(false); },
         [](auto& g) { return g.ShowSelection(); }, 0, true},
        {"VAlignment centre", [](auto& g) { g.SetVAlignment(vtaCenter); }, [](auto& g) { return g.VAlign(); },
         DT_VCENTER, true},
        {"VAlignment bottom", [](auto& g) { g.SetVAlignment(vtaBottom); }, [](auto& g) { return g.VAlign(); },
         DT_BOTTOM, true},
        {"Flat", [](auto& g) { g.SetFlat(true); }, [](auto& g) { return g.Flat(); }, 1, true},
        {"BorderColor", [](auto& g) { g.SetBorderColor(clRed); }, [](auto& g) { return g.BorderColor(); },
         clRed, false},
        {"MaxEditLength", [](auto& g) { g.SetMaxEditLength(12); }, [](auto& g) { return g.MaxEditLength(); },
         12, false},
    };
    for (const Case& c : cases) {
        TTestAdvGrid grid(nullptr);
        grid.invalidates = 0;
        c.write(grid);
        EXPECT_EQ(c.read(grid), c.expected) << c.name;
        EXPECT_EQ(grid.invalidates > 0, c.repaints) << c.name;
    }
}

TEST_F(AdvGridTest, VAlignmentInsideAnUpdateStoresWithoutRepaint) {
    TTestAdvGrid& g = *MakeGrid();
    g.SetUpdateCount(1);
    g.invalidates = 0;
    g.SetVAlignment(vtaCenter);
    EXPECT_EQ(g.VAlign(), UINT(DT_VCENTER));
    EXPECT_EQ(g.invalidates, 0);
}

TEST_F(AdvGridTest, SpreadSheetTurnsOnItsBehaviourForEitherValue) {
    for (bool value : {true, false}) {
        TAdvStringGrid grid(nullptr);
        grid.SetSpreadSheet(value);
        EXPECT_EQ(grid.SpreadSheet(), value);
        EXPECT_TRUE(grid.SelectionRectangle()) << value;
        EXPECT_TRUE(grid.SelectionResizer()) << value;
        EXPECT_TRUE(grid.Navigation()->AllowSmartClipboard()) << value;
        EXPECT_TRUE(grid.Options().Contains(goRangeSelect)) << value;
        EXPECT_TRUE(grid.Options().Contains(goEditing)) << value;
        EXPECT_TRUE(grid.MouseActions()->RangeSelectAndEdit()) << value;
    }
}

TEST_F(AdvGridTest, SizeWithFormAnchorsAllSidesForEitherValue) {
    const TAnchors all{akLeft, akTop, akRight, akBottom};
    TAdvStringGrid& g = *MakeGrid();
    g.SetSizeWithForm(true);
    EXPECT_EQ(g.Anchors(), all);
    g.SetAnchors(TAnchors{akLeft, akTop});
    g.SetSizeWithForm(false);
    EXPECT_FALSE(g.SizeWithForm());
    EXPECT_EQ(g.Anchors(), all);
    // Writing the value it has changes nothing.
    g.SetAnchors(TAnchors{akLeft, akTop});
    g.SetSizeWithForm(false);
    EXPECT_EQ(g.Anchors(), (TAnchors{akLeft, akTop}));
}

TEST_F(AdvGridTest, SettingsObjectsAreCopiedIn) {
    TAdvStringGrid& g = *MakeGrid();
    TAdvHintInfo hint;
    hint.SetTitle(u"Title");
    TAdvHintInfo* own = g.OfficeHint();
    g.SetOfficeHint(&hint);
    EXPECT_EQ(g.OfficeHint(), own);
    EXPECT_EQ(g.OfficeHint()->Title(), u"Title");
    TAutoColor colours;
    TAutoColor* ownColours = g.AutoColor();
    g.SetAutoColor(&colours);
    EXPECT_EQ(g.AutoColor(), ownColours);
}

} // namespace
