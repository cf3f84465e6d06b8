// The tab controls and the track bar: pages with a hidden tab, the sheet as the display area, page
// changes by the mouse, in code and by Ctrl+Tab through the form's key routing, tabs kept across a new
// window, tab images from an image list, and the track bar's limits, its window and its change events.
#include "platform/framework/ComCtrls.h"

#include "platform/framework/Filer.h"
#include "platform/framework/ImgList.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Streams.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/controls_testing.h"

namespace {

using win32::input::Button;

class ComCtrlsTabs : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        form = new TForm(nullptr, 0);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 400, 300);
        form->Show();
        Pump();
    }

    // The main window's pages: the third has no tab.
    TPageControl* MakePages() {
        auto* pages = new TPageControl(form);
        pages->SetName(u"Pages");
        pages->SetBounds(10, 10, 300, 200);
        pages->SetParent(form);
        for (const Char* caption : {u"Measure", u"Rename and Logs", u"Log file"}) {
            auto* sheet = new TTabSheet(form);
            sheet->SetPageControl(pages);
            sheet->SetCaption(caption);
        }
        pages->Pages(2)->SetTabVisible(false);
        pages->OnChanging = [this](TObject*, bool& allow) {
            events.push_back("changing");
            allow = !refuse;
        };
        pages->OnChange = [this, pages](TObject*) {
            events.push_back("change " + std::to_string(pages->ActivePageIndex()));
        };
        Pump();
        return pages;
    }
    static int VisibleSheets(TPageControl* pages) {
        int count = 0;
        for (int i = 0; i < pages->PageCount(); ++i)
            count += pages->Pages(i)->Visible() ? 1 : 0;
        return count;
    }
    void ClickTab(TCustomTabControl* tabs, int index) {
        TRect rect = tabs->TabRect(index);
        TPoint screen =
            tabs->ClientToScreen(TPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2));
        win32::input::Click(Button::Left, screen.X, screen.Y);
        Pump();
    }
    static int TabImage(TCustomTabControl* tabs, int index) {
        TCITEMW item{};
        item.mask = TCIF_IMAGE;
        item.iImage = -2;
        SendMessageW(tabs->Handle(), TCM_GETITEMW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    static HIMAGELIST WindowImages(TCustomTabControl* tabs) {
        return reinterpret_cast<HIMAGELIST>(SendMessageW(tabs->Handle(), TCM_GETIMAGELIST, 0, 0));
    }
    static void CtrlTab(bool backwards) {
        win32::input::Key(VK_CONTROL, true);
        if (backwards)
            win32::input::Key(VK_SHIFT, true);
        win32::input::PressKey(VK_TAB);
        if (backwards)
            win32::input::Key(VK_SHIFT, false);
        win32::input::Key(VK_CONTROL, false);
        Pump();
    }

    TForm* form = nullptr;
    std::vector<std::string> events;
    bool refuse = false;
};

TEST_F(ComCtrlsTabs, AHiddenTabKeepsItsPage) {
    TPageControl* pages = MakePages();
    TTabSheet* log = pages->Pages(2);
    EXPECT_EQ(pages->PageCount(), 3);
    ASSERT_EQ(pages->Tabs()->Count(), 2);
    EXPECT_EQ(SendMessageW(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(log->PageIndex(), 2);
    EXPECT_EQ(log->TabIndex(), -1);

    // The sheet without a tab can still be shown; no tab is selected then.
    pages->SetActivePage(log);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    EXPECT_EQ(pages->TabIndex(), -1);
    EXPECT_TRUE(log->Visible());
    EXPECT_EQ(VisibleSheets(pages), 1);
    pages->SetActivePageIndex(1);
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_FALSE(log->Visible());
    EXPECT_TRUE(events.empty()) << "changes in code fire no events";

    // Showing the tab puts it in page order; hiding the active page's tab keeps the page shown.
    log->SetPageIndex(0);
    log->SetTabVisible(true);
    ASSERT_EQ(pages->Tabs()->Count(), 3);
    EXPECT_EQ(pages->Tabs()->Strings(0), u"Log file");
    EXPECT_EQ(pages->TabIndex(), 2) << "still on Rename and Logs";
    pages->SetActivePage(log);
    log->SetTabVisible(false);
    EXPECT_EQ(pages->ActivePage(), log);
    EXPECT_EQ(pages->TabIndex(), -1);
    EXPECT_EQ(pages->Tabs()->Strings(0), u"Measure");

    // A caption is its tab's text.
    pages->Pages(1)->SetCaption(u"Measures");
    EXPECT_EQ(pages->Tabs()->Strings(0), u"Measures");
}

TEST_F(ComCtrlsTabs, TheSheetFillsTheDisplayArea) {
    TPageControl* pages = MakePages();
    pages->SetActivePageIndex(0);
    TTabSheet* sheet = pages->Pages(0);
    EXPECT_EQ(sheet->Align(), alClient);
    EXPECT_EQ(sheet->BoundsRect(), pages->DisplayRect());
    pages->SetBounds(10, 10, 360, 250);
    EXPECT_EQ(sheet->BoundsRect(), pages->DisplayRect());
    EXPECT_GT(sheet->Top(), 10) << "below the tabs";
    // A page taken out of the control leaves; freeing the active one shows the next.
    pages->SetActivePageIndex(1);
    pages->Pages(1)->Free();
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
    EXPECT_TRUE(pages->Pages(0)->Visible());
}

TEST_F(ComCtrlsTabs, ClickingATabChangesThePage) {
    TPageControl* pages = MakePages();
    pages->SetActivePageIndex(0);
    ClickTab(pages, 1);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change 1"}));
    events.clear();
    refuse = true;
    ClickTab(pages, 0);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"changing"}));
}

TEST_F(ComCtrlsTabs, CtrlTabTurnsThePagesFromInsideASheet) {
    TPageControl* pages = MakePages();
    pages->SetActivePageIndex(0);
    auto* edit = new TCtlEdit(form);
    edit->SetName(u"Inner");
    edit->SetParent(pages->Pages(0));
    edit->SetBounds(5, 5, 80, 20);
    Pump();
    edit->SetFocus();
    Pump();
    ASSERT_EQ(FocusName(), "Inner");

    CtrlTab(false);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(FocusName(), "Pages") << "the focus leaves the hidden sheet";
    // The page without a tab is passed over, going round either way.
    CtrlTab(false);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    CtrlTab(true);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change 1", "changing", "change 0", "changing",
                                                "change 1"}));
    refuse = true;
    CtrlTab(true);
    EXPECT_EQ(pages->ActivePageIndex(), 1);

    // Outside the page control Ctrl+Tab does nothing to it.
    refuse = false;
    auto* outside = new TCtlEdit(form);
    outside->SetParent(form);
    outside->SetBounds(320, 10, 60, 20);
    Pump();
    outside->SetFocus();
    CtrlTab(false);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
}

TEST_F(ComCtrlsTabs, FindNextPage) {
    TPageControl* pages = MakePages();
    TTabSheet* p0 = pages->Pages(0);
    TTabSheet* p1 = pages->Pages(1);
    TTabSheet* p2 = pages->Pages(2);
    struct Case {
        const char* name;
        TTabSheet* current;
        bool forward;
        bool checkTabVisible;
        TTabSheet* expected;
    };
    const Case cases[] = {
        {"forward", p0, true, true, p1},
        {"round past the hidden tab", p1, true, true, p0},
        {"onto the hidden tab", p1, true, false, p2},
        {"backwards round", p0, false, true, p1},
        {"from none forward starts at the first", nullptr, true, true, p0},
        {"from none backwards starts at the last", nullptr, false, false, p2},
        {"from the hidden one", p2, true, true, p0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pages->FindNextPage(c.current, c.forward, c.checkTabVisible), c.expected);
    }
    p0->SetTabVisible(false);
    p1->SetTabVisible(false);
    EXPECT_EQ(pages->FindNextPage(p0, true, true), nullptr);
}

TEST_F(ComCtrlsTabs, PagesFromADescription) {
    RegisterClasses({TPageControl::StaticClass(), TTabSheet::StaticClass(), TTrackBar::StaticClass()});
    const std::string text =
        "object Main: TForm\n"
        "  Width = 400\n  Height = 300\n"
        "  object Pages: TPageControl\n    Left = 0\n    Top = 0\n    Width = 300\n"
        "    Height = 200\n    ActivePage = Measure\n"
        "    object Measure: TTabSheet\n      Caption = 'Measure'\n"
        "      object Level: TTrackBar\n        Max = -5\n        Min = -10\n"
        "        Position = 7\n      end\n    end\n"
        "    object LogFile: TTabSheet\n      Caption = 'Log file'\n      TabVisible = False\n"
        "    end\n  end\nend\n";
    TMemoryStream input, binary;
    input.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, binary);
    binary.SetPosition(0);
    auto* main = new TForm(nullptr, 0);
    ReadComponent(binary, main);
    auto* pages = static_cast<TPageControl*>(main->FindComponent(u"Pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), main->FindComponent(u"Measure"));
    EXPECT_EQ(pages->Tabs()->Count(), 1);
    EXPECT_FALSE(pages->Pages(1)->TabVisible());
    // Limits read in any order, and a position outside them, end up in order.
    auto* level = static_cast<TTrackBar*>(main->FindComponent(u"Level"));
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->Min(), -10);
    EXPECT_EQ(level->Max(), -5);
    EXPECT_EQ(level->Position(), -5);

    // Written back, a sheet carries its tab's state but not what its page control decides.
    TMemoryStream written, back;
    WriteComponent(written, main);
    written.SetPosition(0);
    ObjectBinaryToText(written, back);
    std::string result(static_cast<const char*>(back.Memory()), static_cast<std::size_t>(back.Size()));
    for (const char* expected : {"ActivePage = Measure", "TabVisible = False", "Min = -10", "Max = -5"})
        EXPECT_NE(result.find(expected), std::string::npos) << expected << " in\n" << result;
    for (const char* absent : {"Align", "Visible = False\n      object", "PageIndex"})
        EXPECT_EQ(result.find(absent), std::string::npos) << absent << " in\n" << result;
    main->Free();
}

TEST_F(ComCtrlsTabs, TabControlKeepsItsTabsAcrossANewWindow) {
    auto* tabs = new TTabControl(form);
    tabs->SetBounds(10, 10, 300, 150);
    tabs->Tabs()->Add(u"One");
    tabs->Tabs()->Add(u"Two");
    tabs->Tabs()->Add(u"Three");
    EXPECT_EQ(tabs->TabIndex(), 0) << "the first tab, before there is a window";
    tabs->SetTabIndex(2);
    tabs->SetParent(form);
    Pump();
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(tabs->TabIndex(), 2);
    tabs->SetMultiLine(true); // a new window
    EXPECT_NE(GetWindowLongW(tabs->Handle(), GWL_STYLE) & TCS_MULTILINE, 0);
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(tabs->TabIndex(), 2);
    tabs->Tabs()->Delete(0);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_THROW(tabs->Tabs()->Delete(5), EListError);

    int changes = 0;
    tabs->OnChange = [&](TObject*) { ++changes; };
    ClickTab(tabs, 0);
    EXPECT_EQ(tabs->TabIndex(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tabs->IndexOfTabAt(tabs->TabRect(1).Left + 2, tabs->TabRect(1).Top + 2), 1);
}

// The window shows the list's images as they change, a sheet's ImageIndex chooses its tab's image, and
// the images survive a new window and stop when the list is freed.
TEST_F(ComCtrlsTabs, TabImagesFollowTheListAndTheSheets) {
    TPageControl* pages = MakePages();
    auto* list = new TImageList(form);
    list->SetWidth(10);
    list->SetHeight(10);
    pages->Pages(1)->SetImageIndex(-1);
    pages->SetImages(list);
    EXPECT_EQ(TabImage(pages, 0), 0);
    EXPECT_EQ(TabImage(pages, 1), -1);
    ASSERT_NE(WindowImages(pages), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(WindowImages(pages)), 0);

    TBitmap red;
    red.SetSize(10, 10);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    list->Add(&red, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(WindowImages(pages)), 1) << "the window follows the list";
    // On the screen: the page control paints its sheets' background itself and has the window class
    // paint the tabs into the same DC.
    pages->Invalidate();
    Pump();
    auto redIn = [&](const TRect& rect) {
        HDC dc = GetDC(pages->Handle());
        int count = 0;
        for (int y = rect.Top; y < rect.Bottom; ++y)
            for (int x = rect.Left; x < rect.Right; ++x)
                count += GetPixel(dc, x, y) == RGB(255, 0, 0);
        ReleaseDC(pages->Handle(), dc);
        return count;
    };
    EXPECT_EQ(redIn(pages->TabRect(0)), 100);
    EXPECT_EQ(redIn(pages->TabRect(1)), 0);

    pages->Pages(1)->SetImageIndex(0);
    EXPECT_EQ(TabImage(pages, 1), 0);
    pages->SetMultiLine(true); // a new window
    EXPECT_EQ(ImageList_GetImageCount(WindowImages(pages)), 1);
    EXPECT_EQ(TabImage(pages, 1), 0);

    delete list;
    EXPECT_EQ(pages->Images(), nullptr);
    EXPECT_EQ(WindowImages(pages), nullptr);
    pages->Repaint();

    // A tab control's tabs take the images at their own indices, also after one is deleted.
    auto* tabs = new TTabControl(form);
    tabs->SetBounds(10, 220, 300, 60);
    tabs->SetParent(form);
    for (const Char* caption : {u"One", u"Two", u"Three"})
        tabs->Tabs()->Add(caption);
    tabs->Tabs()->Delete(0);
    EXPECT_EQ(TabImage(tabs, 0), 0);
    EXPECT_EQ(TabImage(tabs, 1), 1);
}

TEST_F(ComCtrlsTabs, OwnerDrawnTabs) {
    auto* tabs = new TTabControl(form);
    tabs->SetBounds(10, 10, 300, 150);
    tabs->SetOwnerDraw(true);
    tabs->SetParent(form);
    tabs->Tabs()->Add(u"One");
    tabs->Tabs()->Add(u"Two");
    std::vector<std::string> drawn;
    tabs->OnDrawTab = [&](TCustomTabControl* control, int index, const TRect& rect, bool active) {
        EXPECT_EQ(control, tabs);
        EXPECT_FALSE(rect.IsEmpty());
        drawn.push_back(std::to_string(index) + (active ? " active" : ""));
    };
    tabs->Repaint();
    EXPECT_EQ(drawn, (std::vector<std::string>{"1", "0 active"}));
}

TEST_F(ComCtrlsTabs, TrackBarLimitsAndWindow) {
    auto* bar = new TTrackBar(form);
    bar->SetBounds(10, 10, 200, 45);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->SetPosition(20);
    EXPECT_EQ(bar->Position(), 10) << "kept at Max";
    EXPECT_EQ(changes, 1);
    bar->SetMin(11); // above Max: ignored
    EXPECT_EQ(bar->Min(), 0);
    bar->SetMax(-1); // below Min: ignored
    EXPECT_EQ(bar->Max(), 10);
    bar->SetMax(5);
    EXPECT_EQ(bar->Position(), 5);
    EXPECT_EQ(changes, 2);
    bar->SetPosition(5);
    EXPECT_EQ(changes, 2) << "no change, no event";

    bar->SetPageSize(3);
    bar->SetParent(form);
    HWND hwnd = bar->Handle();
    EXPECT_EQ(SendMessageW(hwnd, TBM_GETRANGEMAX, 0, 0), 5);
    EXPECT_EQ(SendMessageW(hwnd, TBM_GETPOS, 0, 0), 5);
    EXPECT_EQ(SendMessageW(hwnd, TBM_GETPAGESIZE, 0, 0), 3);
    EXPECT_NE(GetWindowLongW(hwnd, GWL_STYLE) & TBS_AUTOTICKS, 0);

    // A key moves it once: OnChange hears of the move, not of the key going up.
    bar->SetFocus();
    Pump();
    Press(VK_PRIOR);
    EXPECT_EQ(bar->Position(), 2);
    EXPECT_EQ(changes, 3);
    Press(VK_RIGHT); // the arrows stay with the track bar rather than moving the focus
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(changes, 4);
    EXPECT_TRUE(bar->Focused());

    bar->SetOrientation(trVertical);
    EXPECT_EQ(bar->Width(), 45);
    EXPECT_EQ(bar->Height(), 200);
    EXPECT_NE(GetWindowLongW(bar->Handle(), GWL_STYLE) & TBS_VERT, 0);
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETPOS, 0, 0), 3) << "the new window gets the state";
    bar->SetSelStart(1);
    bar->SetSelEnd(4);
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETSELEND, 0, 0), 4);
    bar->SetTickStyle(tsNone);
    EXPECT_NE(GetWindowLongW(bar->Handle(), GWL_STYLE) & TBS_NOTICKS, 0);
}

TEST_F(ComCtrlsTabs, TrackBarDraggedByTheMouse) {
    auto* bar = new TTrackBar(form);
    bar->SetBounds(10, 10, 200, 45);
    bar->SetParent(form);
    Pump();
    std::vector<int> positions;
    bar->OnChange = [&](TObject*) { positions.push_back(bar->Position()); };
    RECT thumb{};
    SendMessageW(bar->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    RECT channel{};
    SendMessageW(bar->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    TPoint start =
        bar->ClientToScreen(TPoint((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2));
    win32::input::MouseButton(Button::Left, true, start.X, start.Y);
    Pump();
    win32::input::MouseMove(start.X + (channel.right - channel.left) / 2, start.Y);
    Pump();
    win32::input::MouseButton(Button::Left, false, start.X + (channel.right - channel.left) / 2, start.Y);
    Pump();
    EXPECT_EQ(bar->Position(), 5);
    EXPECT_EQ(positions, (std::vector<int>{5}));
}

} // namespace
