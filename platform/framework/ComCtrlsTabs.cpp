// TCustomTabControl and TTabControl on the "SysTabControl32" window class, and TPageControl with its
// TTabSheet pages.
#include "platform/framework/ComCtrlsTabs.h"

#include <algorithm>

#include "platform/framework/Forms.h"
#include "platform/framework/ImgList.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/winctrl.h"

DEFINE_CLASS(TCustomTabControl)
DEFINE_CLASS(TTabControl, PROPERTY(HotTrack).Default(false), PROPERTY(Images),
             PROPERTY(MultiLine).Default(false), PROPERTY(OwnerDraw).Default(false),
             PROPERTY(RaggedRight).Default(false), PROPERTY(Style).Default(tsTabs),
             PROPERTY(TabHeight).Default(0), PROPERTY(TabPosition).Default(tpTop),
             PROPERTY(TabStop).Default(true), PROPERTY(Tabs), PROPERTY(TabIndex).Default(-1),
             PROPERTY(TabWidth).Default(0), EVENT(OnChange), EVENT(OnChanging), EVENT(OnDrawTab))
DEFINE_CLASS(TPageControl, PROPERTY(ActivePage), PROPERTY(HotTrack).Default(false), PROPERTY(Images),
             PROPERTY(MultiLine).Default(false), PROPERTY(OwnerDraw).Default(false),
             PROPERTY(RaggedRight).Default(false), PROPERTY(Style).Default(tsTabs),
             PROPERTY(TabHeight).Default(0), PROPERTY(TabPosition).Default(tpTop),
             PROPERTY(TabStop).Default(true), PROPERTY(TabWidth).Default(0), EVENT(OnChange),
             EVENT(OnChanging), EVENT(OnDrawTab))
// A sheet's place and visibility follow from its page control, so neither is written.
DEFINE_CLASS(TTabSheet, PROPERTY(Align).Stored(false), PROPERTY(ImageIndex).Default(0),
             PROPERTY(PageIndex).Stored(false), PROPERTY(TabVisible).Default(true),
             PROPERTY(Visible).Stored(false))

// ---- The tabs' captions ----

// Kept here and, while the control has a window, in the window too, so that tabs added before the
// window exists (or while it is made anew) are not lost.
class TTabStrings : public TStrings {
public:
    explicit TTabStrings(TCustomTabControl* control) : FControl(control) {}

    void Clear() override {
        FItems.clear();
        if (FControl->HandleAllocated())
            SendMessageW(FControl->WindowHandle(), TCM_DELETEALLITEMS, 0, 0);
        FControl->FTabIndex = -1;
    }
    void Delete(Integer index) override {
        CheckIndex(index);
        FItems.erase(FItems.begin() + index);
        if (FControl->HandleAllocated()) {
            SendMessageW(FControl->WindowHandle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
            // Images go by index, so the tabs after it take other images.
            FControl->UpdateTabImages();
            return;
        }
        // The window's rule: the selected tab deleted leaves none selected.
        int& selected = FControl->FTabIndex;
        selected = selected == index ? -1 : selected > index ? selected - 1 : selected;
    }
    void Insert(Integer index, const String& s) override { InsertObject(index, s, nullptr); }
    void InsertObject(Integer index, const String& s, TObject* object) override {
        if (index < 0 || index > Count())
            TList::Error(Consts::SListIndexError, index);
        FItems.insert(FItems.begin() + index, Item{s, object});
        if (FControl->HandleAllocated()) {
            InsertInWindow(index);
            FControl->UpdateTabImages();
            return;
        }
        // The window's rule: the first tab is selected, the others keep the selection.
        int& selected = FControl->FTabIndex;
        selected = Count() == 1 ? 0 : selected >= index ? selected + 1 : selected;
    }

    // Puts every tab into a new window.
    void Restore() {
        for (Integer i = 0; i < Count(); ++i)
            InsertInWindow(i);
    }

protected:
    String Get(Integer index) const override {
        CheckIndex(index);
        return FItems[static_cast<size_t>(index)].text;
    }
    Integer GetCount() const override { return static_cast<Integer>(FItems.size()); }
    TObject* GetObject(Integer index) const override {
        CheckIndex(index);
        return FItems[static_cast<size_t>(index)].object;
    }
    void Put(Integer index, const String& s) override {
        CheckIndex(index);
        FItems[static_cast<size_t>(index)].text = s;
        if (!FControl->HandleAllocated())
            return;
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(s.c_str());
        SendMessageW(FControl->WindowHandle(), TCM_SETITEMW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
    }
    void PutObject(Integer index, TObject* object) override {
        CheckIndex(index);
        FItems[static_cast<size_t>(index)].object = object;
        // A page control's tab takes its image from the sheet kept here.
        if (FControl->HandleAllocated())
            FControl->UpdateTabImages();
    }

private:
    struct Item {
        String text;
        TObject* object = nullptr;
    };

    void CheckIndex(Integer index) const {
        if (index < 0 || index >= Count())
            TList::Error(Consts::SListIndexError, index);
    }

    void InsertInWindow(Integer index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<LPWSTR>(FItems[static_cast<size_t>(index)].text.c_str());
        item.iImage = FControl->GetImageIndex(index);
        SendMessageW(FControl->WindowHandle(), TCM_INSERTITEMW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
    }

    TCustomTabControl* FControl;
    std::vector<Item> FItems;
};

// ---- TCustomTabControl ----

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), FTabs(std::make_unique<TTabStrings>(this)),
      FCanvas(std::make_unique<TControlCanvas>()), FImageChangeLink(std::make_unique<TChangeLink>()) {
    FImageChangeLink->OnChange = [this](TObject*) { ImageListChange(); };
    static_cast<TControlCanvas*>(FCanvas.get())->SetControl(this);
    FControlStyle = TControlStyle{csAcceptsControls, csDoubleClicks};
    SetBounds(Left(), Top(), 289, 193);
    SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() {
    if (FImages)
        FImages->UnRegisterChanges(FImageChangeLink.get());
    if (FImageHandle) {
        if (HandleAllocated())
            SendMessageW(WindowHandle(), TCM_SETIMAGELIST, 0, 0);
        ImageList_Destroy(FImageHandle);
    }
}

void TCustomTabControl::SetTabs(TStrings* value) {
    if (value)
        FTabs->Assign(*value);
    else
        FTabs->Clear();
}

int TCustomTabControl::TabIndex() const {
    if (WindowHandle())
        return static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
    return FTabIndex;
}

void TCustomTabControl::SetTabIndex(int value) {
    if (value < -1 || value >= FTabs->Count())
        return;
    FTabIndex = value;
    if (HandleAllocated())
        SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomTabControl::SetMultiLine(bool value) {
    if (FMultiLine == value)
        return;
    FMultiLine = value;
    RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
    if (FTabPosition == value)
        return;
    FTabPosition = value;
    RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    RecreateWnd();
}

void TCustomTabControl::SetHotTrack(bool value) {
    if (FHotTrack == value)
        return;
    FHotTrack = value;
    RecreateWnd();
}

void TCustomTabControl::SetRaggedRight(bool value) {
    if (FRaggedRight == value)
        return;
    FRaggedRight = value;
    RecreateWnd();
}

void TCustomTabControl::SetOwnerDraw(bool value) {
    if (FOwnerDraw == value)
        return;
    FOwnerDraw = value;
    RecreateWnd();
}

void TCustomTabControl::SetTabHeight(SmallInt value) {
    FTabHeight = std::max<SmallInt>(value, 0);
    UpdateTabSize();
}

void TCustomTabControl::SetTabWidth(SmallInt value) {
    if ((FTabWidth == 0) != (value <= 0)) {
        FTabWidth = std::max<SmallInt>(value, 0);
        RecreateWnd(); // between fixed and caption widths
        return;
    }
    FTabWidth = std::max<SmallInt>(value, 0);
    UpdateTabSize();
}

void TCustomTabControl::SetImages(TCustomImageList* value) {
    if (FImages == value)
        return;
    if (FImages) {
        FImages->UnRegisterChanges(FImageChangeLink.get());
        FImages->RemoveFreeNotification(this);
    }
    FImages = value;
    if (FImages) {
        FImages->RegisterChanges(FImageChangeLink.get());
        FImages->FreeNotification(this);
    }
    ImageListChange();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    // The list is going away and is no longer asked anything; its own destructor has let go of the link.
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        ImageListChange();
    }
}

int TCustomTabControl::GetImageIndex(int tabIndex) {
    return tabIndex;
}

void TCustomTabControl::UpdateTabImages() {
    if (!HandleAllocated())
        return;
    for (int i = 0; i < FTabs->Count(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_IMAGE;
        item.iImage = GetImageIndex(i);
        SendMessageW(WindowHandle(), TCM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

// The window draws from an image list of its own kind, so the framework's list is copied, image by image
// with its transparency, and copied again after every change.
void TCustomTabControl::ImageListChange() {
    HIMAGELIST old = FImageHandle;
    FImageHandle = nullptr;
    if (FImages) {
        FImageHandle = ImageList_Create(FImages->Width(), FImages->Height(), ILC_COLOR32 | ILC_MASK,
                                        FImages->Count(), 4);
        for (int i = 0; FImageHandle && i < FImages->Count(); ++i) {
            TIcon icon;
            FImages->GetIcon(i, &icon);
            ImageList_AddIcon(FImageHandle, icon.Handle());
        }
    }
    if (HandleAllocated()) {
        SendMessageW(WindowHandle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImageHandle));
        // Tabs with images may be higher, which moves the display area.
        Realign();
    }
    if (old)
        ImageList_Destroy(old);
}

void TCustomTabControl::UpdateTabSize() {
    if (HandleAllocated()) {
        SendMessageW(Handle(), TCM_SETITEMSIZE, 0,
                     MAKELPARAM(static_cast<WORD>(FTabWidth), static_cast<WORD>(FTabHeight)));
        Realign();
    }
}

TRect TCustomTabControl::DisplayRect() {
    RECT rect = ClientRect();
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return TRect(rect);
}

TRect TCustomTabControl::TabRect(int index) {
    RECT rect{};
    SendMessageW(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return TRect(rect);
}

int TCustomTabControl::IndexOfTabAt(int x, int y) {
    TCHITTESTINFO info{POINT{x, y}, 0};
    return static_cast<int>(SendMessageW(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    FCanvas->FillRect(rect);
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROL);
    params.Style |= WS_CLIPCHILDREN;
    if (FMultiLine)
        params.Style |= TCS_MULTILINE;
    if (FTabPosition == tpBottom || FTabPosition == tpRight)
        params.Style |= TCS_BOTTOM;
    if (FTabPosition == tpLeft || FTabPosition == tpRight)
        params.Style |= TCS_VERTICAL;
    if (FStyle == tsButtons)
        params.Style |= TCS_BUTTONS;
    else if (FStyle == tsFlatButtons)
        params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (FHotTrack)
        params.Style |= TCS_HOTTRACK;
    if (FRaggedRight)
        params.Style |= TCS_RAGGEDRIGHT;
    if (FOwnerDraw)
        params.Style |= TCS_OWNERDRAWFIXED;
    if (FTabWidth > 0)
        params.Style |= TCS_FIXEDWIDTH;
}

void TCustomTabControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (FImageHandle)
        SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImageHandle));
    if (FTabWidth > 0 || FTabHeight > 0)
        SendMessageW(Handle(), TCM_SETITEMSIZE, 0,
                     MAKELPARAM(static_cast<WORD>(FTabWidth), static_cast<WORD>(FTabHeight)));
    int selected = FTabIndex;
    static_cast<TTabStrings*>(FTabs.get())->Restore();
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
    Realign();
}

void TCustomTabControl::DestroyWnd() {
    // The tabs stay in FTabs; only the selection lives in the window alone.
    if (HandleAllocated())
        FTabIndex = static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
    TWinControl::DestroyWnd();
}

void TCustomTabControl::AdjustClientRect(TRect& rect) {
    if (HandleAllocated())
        rect = DisplayRect();
    TWinControl::AdjustClientRect(rect);
}

void TCustomTabControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CN_DRAWITEM:
        CNDrawItem(message);
        return;
    default:
        TWinControl::Dispatch(message);
        return;
    }
}

void TCustomTabControl::CNNotify(TMessage& message) {
    const auto& header = *reinterpret_cast<const NMHDR*>(message.LParam);
    switch (header.code) {
    case TCN_SELCHANGING:
        // Non-zero keeps the current tab.
        message.Result = CanChange() ? 0 : 1;
        return;
    case TCN_SELCHANGE:
        FTabIndex = TabIndex();
        Change();
        return;
    default:
        TWinControl::Dispatch(message);
        return;
    }
}

void TCustomTabControl::CNDrawItem(TMessage& message) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    FCanvas->SetHandle(item.hDC);
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->Assign(Brush());
    DrawTab(static_cast<int>(item.itemID), TRect(item.rcItem), (item.itemState & ODS_SELECTED) != 0);
    FCanvas->SetHandle(nullptr);
    message.Result = TRUE;
}

// ---- TPageControl ----

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
    FControlStyle = TControlStyle{csDoubleClicks};
}

TPageControl::~TPageControl() {
    // The sheets outlive the list only when someone else owns them; they forget this control.
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount())
        TList::Error(Consts::SListIndexError, index);
    return FPages[static_cast<size_t>(index)];
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this)
        return;
    ChangeActivePage(page);
}

int TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(value >= 0 && value < PageCount() ? FPages[static_cast<size_t>(value)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) {
    if (FPages.empty())
        return nullptr;
    const int count = PageCount();
    auto found = std::find(FPages.begin(), FPages.end(), current);
    int start = found != FPages.end() ? static_cast<int>(found - FPages.begin()) : goForward ? count - 1 : 0;
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TTabSheet* page = FPages[static_cast<size_t>(i)];
        if (!checkTabVisible || page->TabVisible())
            return page;
    } while (i != start);
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
    TTabSheet* page = FindNextPage(FActivePage, goForward, checkTabVisible);
    if (page && page != FActivePage && CanChange()) {
        ChangeActivePage(page);
        TCustomTabControl::Change();
    }
}

void TPageControl::Change() {
    int tab = TabIndex();
    if (tab >= 0 && tab < Tabs()->Count())
        ChangeActivePage(static_cast<TTabSheet*>(Tabs()->Objects(tab)));
    TCustomTabControl::Change();
}

void TPageControl::CreateWnd() {
    TCustomTabControl::CreateWnd();
    UpdateTabs();
}

int TPageControl::GetImageIndex(int tabIndex) {
    if (tabIndex < 0 || tabIndex >= Tabs()->Count())
        return -1;
    auto* page = static_cast<TTabSheet*>(Tabs()->Objects(tabIndex));
    return page ? page->ImageIndex() : -1;
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TCustomTabControl::Notification(component, operation);
    if (operation == opRemove && component == FActivePage)
        FActivePage = nullptr;
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is on this control or inside it.
void TPageControl::CMDialogKey(TMessage& message) {
    if (message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HandleAllocated()) {
        HWND focus = GetFocus();
        if (focus == WindowHandle() || IsChild(WindowHandle(), focus)) {
            SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
            message.Result = 1;
            return;
        }
    }
    TCustomTabControl::CMDialogKey(message);
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    page->FPageControl = this;
    page->FreeNotification(this);
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto found = std::find(FPages.begin(), FPages.end(), page);
    if (found == FPages.end())
        return;
    // The page after the one going away is shown in its place, as a user closing it would expect.
    if (page == FActivePage) {
        TTabSheet* next = FindNextPage(page, true, true);
        if (next == page)
            next = nullptr;
        ChangeActivePage(next);
    }
    FPages.erase(std::find(FPages.begin(), FPages.end(), page));
    page->FPageControl = nullptr;
    page->RemoveFreeNotification(this);
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto found = std::find(FPages.begin(), FPages.end(), page);
    if (found == FPages.end())
        return;
    FPages.erase(found);
    index = std::clamp(index, 0, PageCount());
    FPages.insert(FPages.begin() + index, page);
    UpdateTabs();
}

void TPageControl::ChangeActivePage(TTabSheet* page) {
    if (FActivePage == page)
        return;
    TTabSheet* old = FActivePage;
    // The focus does not stay on a sheet about to be hidden.
    if (old && old->HandleAllocated() && HandleAllocated() && IsChild(old->WindowHandle(), GetFocus()) &&
        CanFocus())
        SetFocus();
    FActivePage = page;
    if (page) {
        page->BringToFront();
        page->SetVisible(true);
    }
    if (old)
        old->SetVisible(false);
    SetTabIndex(page ? page->TabIndex() : -1);
}

void TPageControl::UpdateTabs() {
    Tabs()->BeginUpdate();
    Tabs()->Clear();
    for (TTabSheet* page : FPages)
        if (page->TabVisible())
            Tabs()->AddObject(page->Caption(), page);
    Tabs()->EndUpdate();
    SetTabIndex(FActivePage ? FActivePage->TabIndex() : -1);
    if (HandleAllocated()) {
        Realign();
        Invalidate();
    }
}

// ---- TTabSheet ----

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csAcceptsControls, csClickEvents, csSetCaption, csDoubleClicks};
    SetVisible(false);
    SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
    if (FPageControl)
        FPageControl->RemovePage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl)
        return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
    if (FPageControl)
        FPageControl->MovePage(this, value);
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible)
        return -1;
    int index = 0;
    for (TTabSheet* page : FPageControl->FPages) {
        if (page == this)
            return index;
        if (page->FTabVisible)
            ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool value) {
    if (FTabVisible == value)
        return;
    FTabVisible = value;
    if (FPageControl)
        FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(int value) {
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    if (FPageControl && FTabVisible)
        FPageControl->UpdateTabImages();
}

void TTabSheet::SetParent(TWinControl* parent) {
    auto* pageControl = dynamic_cast<TPageControl*>(parent);
    if (FPageControl && FPageControl != pageControl)
        FPageControl->RemovePage(this);
    TWinControl::SetParent(parent);
    if (pageControl && FPageControl != pageControl)
        pageControl->InsertPage(this);
}

void TTabSheet::Dispatch(TMessage& message) {
    TWinControl::Dispatch(message);
    // A new caption is the tab's new text.
    if (message.Msg == CM_TEXTCHANGED && FPageControl && FTabVisible)
        FPageControl->UpdateTabs();
}
