// Menu items and popup menus: the Win32 menu built from the items, radio groups, short cuts and their
// texts, a menu chosen by keys, submenus brought up to date when they open, owner drawing, and the
// context menus of controls from a right click or the keyboard.
#include "tests/platform/framework/controls_testing.h"

#include <functional>

#include "platform/framework/Application.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Menus.h"
#include "platform/framework/StdEdit.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/wininput.h"

namespace {

String MenuString(HMENU menu, UINT position) {
    Char buffer[64]{};
    GetMenuStringW(menu, position, buffer, 64, MF_BYPOSITION);
    return buffer;
}

// Runs the test's steps, one per idle time of the menu loop, by taking over the popup list window's
// WM_ENTERIDLE; the menu is ended when the steps are done.
class MenuDriver {
public:
    explicit MenuDriver(std::vector<std::function<void()>> steps) {
        Steps() = std::move(steps);
        Step() = 0;
        FWindow = PopupListWindow();
        Previous() = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuDriver::Proc)));
    }
    ~MenuDriver() { SetWindowLongPtrW(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Previous())); }

private:
    static std::vector<std::function<void()>>& Steps() {
        static std::vector<std::function<void()>> steps;
        return steps;
    }
    static size_t& Step() {
        static size_t step = 0;
        return step;
    }

public:
    // The window of the menu shown last.
    static HWND& Popup() {
        static HWND popup = nullptr;
        return popup;
    }

private:
    static WNDPROC& Previous() {
        static WNDPROC previous = nullptr;
        return previous;
    }
    static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_ENTERIDLE) {
            Popup() = reinterpret_cast<HWND>(lParam);
            if (Step() < Steps().size()) {
                Steps()[Step()++]();
                PostMessageW(hwnd, WM_NULL, 0, 0);
            } else {
                EndMenu();
            }
            return 0;
        }
        return CallWindowProcW(Previous(), hwnd, msg, wParam, lParam);
    }

    HWND FWindow = nullptr;
};

class MenusTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FMenu = new TPopupMenu(nullptr);
        // The menu loop reads the keys typed into the focused window.
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 300, 200);
        FForm->Show();
        Pump();
    }
    void TearDown() override {
        FMenu->Free();
        FForm->Free();
        ControlsTest::TearDown();
    }

    TMenuItem* NewItem(TMenuItem* parent, const String& caption, std::string log = {}) {
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(caption);
        if (!log.empty())
            item->OnClick = [log](TObject*) { ControlsLog().push_back(log); };
        parent->Add(item);
        return item;
    }

    TPopupMenu* FMenu = nullptr;
    TForm* FForm = nullptr;
};

TEST_F(MenusTest, ItemsBuildTheWin32Menu) {
    TMenuItem* open = NewItem(FMenu->Items(), u"&Open");
    open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    open->SetDefault(true);
    NewItem(FMenu->Items(), cLineCaption);
    NewItem(FMenu->Items(), u"Hidden")->SetVisible(false);
    NewItem(FMenu->Items(), u"Off")->SetEnabled(false);
    TMenuItem* view = NewItem(FMenu->Items(), u"&View");
    TMenuItem* large = NewItem(view, u"Large");
    TMenuItem* small = NewItem(view, u"Small");
    TMenuItem* grid = NewItem(view, u"Grid");
    for (TMenuItem* item : {large, small})
        item->SetRadioItem(true);
    grid->SetRadioItem(true);
    grid->SetGroupIndex(1);

    large->SetChecked(true);
    grid->SetChecked(true);
    small->SetChecked(true);
    // Checking Small unchecks Large of its group, not Grid of another.
    EXPECT_FALSE(large->Checked());
    EXPECT_TRUE(grid->Checked());

    HMENU menu = FMenu->Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 4); // the hidden item is left out
    EXPECT_EQ(MenuString(menu, 0), u"&Open\tCtrl+O");
    EXPECT_EQ(GetMenuItemID(menu, 0), open->Command());
    EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 0u);
    EXPECT_NE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_NE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED, 0u);
    HMENU sub = GetSubMenu(menu, 3);
    ASSERT_EQ(sub, view->Handle());
    EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
    EXPECT_NE(GetMenuState(sub, 1, MF_BYPOSITION) & MF_CHECKED, 0u);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(sub, 1, TRUE, &info));
    EXPECT_NE(info.fType & MFT_RADIOCHECK, 0u);

    // A change shows in the menu built next.
    open->SetCaption(u"&Open...");
    EXPECT_EQ(MenuString(FMenu->Handle(), 0), u"&Open...\tCtrl+O");
    EXPECT_EQ(FMenu->FindItem(small->Command(), fkCommand), small);
    EXPECT_EQ(FMenu->FindItem(reinterpret_cast<UINT_PTR>(view->Handle()), fkHandle), view);
}

TEST_F(MenusTest, ItemListOperationsAndErrors) {
    TMenuItem* root = FMenu->Items();
    TMenuItem* a = NewItem(root, u"&Alpha");
    TMenuItem* b = NewItem(root, u"Beta");
    auto* c = new TMenuItem(nullptr);
    c->SetCaption(u"Gamma");
    root->Insert(0, c);
    EXPECT_EQ(root->IndexOf(c), 0);
    EXPECT_EQ(a->MenuIndex(), 1);
    EXPECT_EQ(root->Find(u"alpha"), a);
    EXPECT_EQ(root->Find(u"Delta"), nullptr);

    try {
        root->Add(a);
        FAIL() << "no error for an item added twice";
    } catch (const EMenuError& e) {
        EXPECT_EQ(e.Message(), u"Menu inserted twice");
    }
    try {
        root->Items(3);
        FAIL() << "no error for an index out of range";
    } catch (const EMenuError& e) {
        EXPECT_EQ(e.Message(), u"Menu index out of range");
    }

    root->Delete(0);
    EXPECT_EQ(c->Parent(), nullptr);
    EXPECT_EQ(root->Count(), 2);
    c->Free();
    // Freeing an item takes it out of its parent.
    b->Free();
    EXPECT_EQ(root->Count(), 1);
    EXPECT_EQ(GetMenuItemCount(FMenu->Handle()), 1);
    root->Clear();
    EXPECT_EQ(root->Count(), 0);
}

TEST_F(MenusTest, ItemsOwnedByTheFormGoWithItAndTravelInItsDescription) {
    RegisterClasses({TPopupMenu::StaticClass(), TMenuItem::StaticClass()});
    auto* form = new TForm(nullptr, 0);
    form->SetName(u"Editor");
    auto* early = new TMenuItem(form); // made before its menu, so freed after it
    early->SetName(u"FileItem");
    early->SetCaption(u"&File");
    auto* menu = new TPopupMenu(form);
    menu->SetName(u"EditorMenu");
    menu->Items()->Add(early);
    auto* save = new TMenuItem(form);
    save->SetName(u"SaveItem");
    save->SetCaption(u"&Save");
    save->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
    early->Add(save);
    EXPECT_EQ(save->GetParentMenu(), menu);

    TMemoryStream binary;
    WriteComponent(binary, form);
    form->Free(); // each item once, whichever goes first

    auto* copy = new TForm(nullptr, 0);
    binary.SetPosition(0);
    ReadComponent(binary, copy);
    auto* menuCopy = static_cast<TPopupMenu*>(copy->FindComponent(u"EditorMenu"));
    auto* saveCopy = static_cast<TMenuItem*>(copy->FindComponent(u"SaveItem"));
    ASSERT_NE(menuCopy, nullptr);
    ASSERT_NE(saveCopy, nullptr);
    ASSERT_EQ(menuCopy->Items()->Count(), 1);
    EXPECT_EQ(menuCopy->Items()->Items(0)->Caption(), u"&File");
    EXPECT_EQ(saveCopy->Parent(), menuCopy->Items()->Items(0));
    EXPECT_EQ(saveCopy->ShortCut(), ShortCut('S', TShiftState{ssCtrl}));
    copy->Free();
}

TEST_F(MenusTest, ShortCutTexts) {
    struct Case {
        TShortCut shortCut;
        const Char* text;
    };
    const Case cases[] = {
        {ShortCut('A', TShiftState{ssCtrl}), u"Ctrl+A"},
        {ShortCut(VK_F5, TShiftState{ssShift, ssCtrl}), u"Shift+Ctrl+F5"},
        {ShortCut(VK_DELETE, TShiftState{ssAlt}), u"Alt+Del"},
        {ShortCut(VK_NEXT, {}), u"PgDn"},
        {ShortCut('7', {}), u"7"},
        {ShortCut(VK_RETURN, TShiftState{ssCtrl}), u"Ctrl+Enter"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << StringToUtf8(c.text);
    }
    EXPECT_EQ(TextToShortCut(u"ctrl+shift+f5"), ShortCut(VK_F5, TShiftState{ssShift, ssCtrl}));
    EXPECT_EQ(TextToShortCut(u"Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut(u"Ctrl+Nothing"), 0);
    EXPECT_EQ(ShortCutToText(ShortCut(VK_LWIN, {})), u"");
}

TEST_F(MenusTest, PopupChosenByKeysClicksTheItemWhenItsCommandArrives) {
    FMenu->OnPopup = [](TObject*) { ControlsLog().push_back("Popup"); };
    NewItem(FMenu->Items(), u"&Open", "Open");
    NewItem(FMenu->Items(), cLineCaption);
    TMenuItem* save = NewItem(FMenu->Items(), u"&Save", "Save");
    save->SetHint(u"Save|Saves the file");
    save->SetAutoCheck(true);
    String hintInLoop;
    MenuDriver driver({[] { win32::input::PressKey(VK_DOWN); }, [] { win32::input::PressKey(VK_DOWN); },
                       [&hintInLoop] {
                           hintInLoop = Application->Hint();
                           win32::input::PressKey(VK_RETURN);
                       }});
    FMenu->Popup(150, 150);
    EXPECT_EQ(FMenu->PopupPoint(), TPoint(150, 150));
    // The separator is skipped; the highlighted item's long hint is the application's.
    EXPECT_EQ(hintInLoop, u"Saves the file");
    EXPECT_EQ(ControlsLog(), std::vector<std::string>{"Popup"});
    Pump();
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Popup", "Save"}));
    EXPECT_TRUE(save->Checked());
}

TEST_F(MenusTest, SubmenuItemIsClickedWhenItOpensAndMayRefillIt) {
    TMenuItem* recent = NewItem(FMenu->Items(), u"&Recent");
    NewItem(recent, u"(none)");
    recent->OnClick = [this, recent](TObject*) {
        recent->Clear();
        NewItem(recent, u"one.txt", "one");
        NewItem(recent, u"two.txt", "two");
    };
    // The mnemonic opens the submenu with its first item highlighted.
    MenuDriver driver({[] { win32::input::TypeCharacter(u'r'); }, [] { win32::input::PressKey(VK_DOWN); },
                       [] { win32::input::PressKey(VK_RETURN); }});
    FMenu->Popup(150, 150);
    Pump();
    EXPECT_EQ(ControlsLog(), std::vector<std::string>{"two"});
}

TEST_F(MenusTest, OwnerDrawnItemsUseTheHandlers) {
    FMenu->SetOwnerDraw(true);
    TMenuItem* item = NewItem(FMenu->Items(), u"Tall");
    std::vector<bool> drawn;
    item->OnMeasureItem = [](TObject*, TCanvas*, int& width, int& height) {
        width = 120;
        height = 30;
    };
    item->OnDrawItem = [&drawn](TObject*, TCanvas* canvas, TRect rect, bool selected) {
        EXPECT_EQ(rect.Height(), 30);
        canvas->Brush()->SetColor(clRed);
        canvas->FillRect(rect);
        drawn.push_back(selected);
    };
    RECT rect{};
    MenuDriver driver({[&rect, this] { GetMenuItemRect(nullptr, FMenu->Handle(), 0, &rect); },
                       [] { win32::input::PressKey(VK_DOWN); }});
    FMenu->Popup(150, 150);
    EXPECT_EQ(rect.bottom - rect.top, 30);
    ASSERT_FALSE(drawn.empty());
    EXPECT_FALSE(drawn.front());
    EXPECT_TRUE(drawn.back());
}

TEST_F(MenusTest, MenuWithImagesDrawsThemAndCheckMarksInTheGutter) {
    TImageList images(nullptr);
    TBitmap red(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect(0, 0, 16, 16));
    images.Add(&red, nullptr);
    FMenu->SetImages(&images);
    NewItem(FMenu->Items(), u"Pictured")->SetImageIndex(0);
    NewItem(FMenu->Items(), u"Checked")->SetChecked(true);
    NewItem(FMenu->Items(), u"Plain");
    // Red and black pixels in each item's gutter.
    std::vector<std::pair<int, int>> counts;
    MenuDriver driver({[this, &counts] {
        HWND popup = MenuDriver::Popup();
        UpdateWindow(popup);
        HDC dc = GetDC(popup);
        for (UINT i = 0; i < 3; ++i) {
            RECT rect;
            GetMenuItemRect(nullptr, FMenu->Handle(), i, &rect);
            MapWindowPoints(nullptr, popup, reinterpret_cast<LPPOINT>(&rect), 2);
            std::pair<int, int> count{0, 0};
            for (int y = rect.top; y < rect.bottom; ++y)
                for (int x = rect.left; x < rect.left + 20; ++x) {
                    COLORREF pixel = GetPixel(dc, x, y);
                    count.first += pixel == RGB(255, 0, 0);
                    count.second += pixel == RGB(0, 0, 0);
                }
            counts.push_back(count);
        }
        ReleaseDC(popup, dc);
    }});
    FMenu->Popup(150, 150);
    ASSERT_EQ(counts.size(), 3u);
    EXPECT_GE(counts[0].first, 16 * 16 - 16); // the image, whatever of it the item's height shows
    EXPECT_EQ(counts[1].first, 0);
    EXPECT_GT(counts[1].second, 5); // the check mark
    EXPECT_EQ(counts[2], (std::pair<int, int>{0, 0}));
    FMenu->SetImages(nullptr);
}

TEST_F(MenusTest, ControlShowsItsAutoPopupMenu) {
    auto* panel = new TCtlPanel(FForm);
    panel->SetBounds(0, 0, 300, 200);
    panel->SetParent(FForm);
    panel->SetPopupMenu(FMenu);
    NewItem(FMenu->Items(), u"&Copy", "Copy");
    MenuDriver driver({[] { win32::input::PressKey(VK_DOWN); }, [] { win32::input::PressKey(VK_RETURN); }});
    EXPECT_TRUE(ShowControlPopupMenu(panel, TPoint(-1, -1)));
    EXPECT_EQ(FMenu->PopupComponent(), panel);
    // From the keyboard the menu opens at the control's client origin.
    EXPECT_EQ(FMenu->PopupPoint(), panel->ClientOrigin());
    Pump();
    EXPECT_EQ(ControlsLog(), std::vector<std::string>{"Copy"});

    FMenu->SetAutoPopup(false);
    EXPECT_FALSE(ShowControlPopupMenu(panel, TPoint(10, 10)));
    panel->Free();
    EXPECT_EQ(FMenu->PopupComponent(), nullptr);
}

// A panel holding a focused window and a shape (drawn by the panel) on the shown form.
class ContextMenuTest : public MenusTest {
protected:
    void SetUp() override {
        MenusTest::SetUp();
        NewItem(FMenu->Items(), u"&Copy", "Copy");
        FPanelMenu = new TPopupMenu(nullptr);
        NewItem(FPanelMenu->Items(), u"&Paste", "Paste");
        FPanel = new TCtlPanel(FForm);
        FPanel->SetBounds(0, 0, 300, 150);
        FPanel->SetParent(FForm);
        FPanel->SetPopupMenu(FPanelMenu);
        FBox = new TCtlPanel(FForm);
        FBox->SetBounds(10, 10, 100, 30);
        FBox->SetParent(FPanel);
        FShape = new TCtlShape(FForm);
        FShape->SetBounds(150, 10, 40, 40);
        FShape->SetParent(FPanel);
        FBox->SetFocus();
        Pump();
        ControlsLog().clear();
    }
    void TearDown() override {
        FPanelMenu->Free();
        MenusTest::TearDown();
    }

    static void RightClick(TControl* control, TPoint point) {
        TPoint screen = control->ClientToScreen(point);
        win32::input::Click(win32::input::Button::Right, screen.X, screen.Y);
        Pump();
    }
    static void ShiftF10() {
        win32::input::Key(VK_SHIFT, true);
        win32::input::PressKey(VK_F10);
        win32::input::Key(VK_SHIFT, false);
        Pump();
    }
    static void MenuKey() {
        win32::input::PressKey(VK_APPS);
        Pump();
    }

    TPopupMenu* FPanelMenu = nullptr;
    TCtlPanel* FPanel = nullptr;
    TCtlPanel* FBox = nullptr;
    TCtlShape* FShape = nullptr;
};

TEST_F(ContextMenuTest, RightClickAndMenuKeysShowTheNearestPopupMenu) {
    struct Case {
        const char* name;
        TControl* owner; // the control whose menu FMenu is (the panel always has FPanelMenu)
        std::function<void()> request;
        TPopupMenu* shown;
        TControl* component;
        TPoint point; // screen
        std::string chosen;
    };
    const Case cases[] = {
        {"right click on the window", FBox, [this] { RightClick(FBox, TPoint(5, 7)); }, FMenu, FBox,
         FBox->ClientToScreen(TPoint(5, 7)), "Copy"},
        {"Shift+F10", FBox, [] { ShiftF10(); }, FMenu, FBox, FBox->ClientOrigin(), "Copy"},
        {"menu key", FBox, [] { MenuKey(); }, FMenu, FBox, FBox->ClientOrigin(), "Copy"},
        {"right click on the shape", FShape, [this] { RightClick(FShape, TPoint(3, 4)); }, FMenu, FShape,
         FShape->ClientToScreen(TPoint(3, 4)), "Copy"},
        // Without a menu of their own, the window and the shape show their parent's.
        {"right click on a window without a menu", nullptr, [this] { RightClick(FBox, TPoint(5, 7)); },
         FPanelMenu, FPanel, FBox->ClientToScreen(TPoint(5, 7)), "Paste"},
        {"menu key on a window without a menu", nullptr, [] { MenuKey(); }, FPanelMenu, FPanel,
         FPanel->ClientOrigin(), "Paste"},
        {"right click on a shape without a menu", nullptr, [this] { RightClick(FShape, TPoint(3, 4)); },
         FPanelMenu, FPanel, FShape->ClientToScreen(TPoint(3, 4)), "Paste"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FBox->SetPopupMenu(c.owner == FBox ? FMenu : nullptr);
        FShape->SetPopupMenu(c.owner == FShape ? FMenu : nullptr);
        for (TPopupMenu* menu : {FMenu, FPanelMenu})
            menu->SetPopupComponent(nullptr);
        ControlsLog().clear();
        MenuDriver driver(
            {[] { win32::input::PressKey(VK_DOWN); }, [] { win32::input::PressKey(VK_RETURN); }});
        c.request();
        EXPECT_EQ(c.shown->PopupComponent(), c.component);
        EXPECT_EQ(c.shown->PopupPoint(), c.point);
        EXPECT_EQ(ControlsLog(), std::vector<std::string>{c.chosen});
    }
}

TEST_F(ContextMenuTest, OnContextPopupAnswersFirstInClientCoordinates) {
    FBox->SetPopupMenu(FMenu);
    std::vector<TPoint> asked;
    bool handle = true;
    FBox->OnContextPopup = [&](TObject*, TPoint mousePos, bool& handled) {
        asked.push_back(mousePos);
        handled = handle;
    };
    FMenu->OnPopup = [](TObject*) { ControlsLog().push_back("Popup"); };
    MenuDriver driver({}); // a menu shown by mistake ends at once
    RightClick(FBox, TPoint(5, 7));
    MenuKey();
    EXPECT_EQ(asked, (std::vector<TPoint>{TPoint(5, 7), TPoint(-1, -1)}));
    EXPECT_TRUE(ControlsLog().empty());

    // Left unhandled, the menu follows.
    handle = false;
    RightClick(FBox, TPoint(5, 7));
    EXPECT_EQ(ControlsLog(), std::vector<std::string>{"Popup"});
}

TEST_F(ContextMenuTest, UnansweredRequestReachesEachParentOnce) {
    FPanel->SetPopupMenu(nullptr);
    auto* edit = new TEdit(FForm); // a window of a system class
    edit->SetBounds(10, 50, 100, 24);
    edit->SetParent(FPanel);
    std::vector<std::string> asked;
    FPanel->OnContextPopup = [&](TObject*, TPoint, bool&) { asked.push_back("panel"); };
    FForm->OnContextPopup = [&](TObject*, TPoint, bool&) { asked.push_back("form"); };
    for (TWinControl* control : std::initializer_list<TWinControl*>{FBox, edit}) {
        asked.clear();
        RightClick(control, TPoint(5, 7));
        EXPECT_EQ(asked, (std::vector<std::string>{"panel", "form"}));
    }
}

} // namespace
