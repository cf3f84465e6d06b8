// Menu items and menus: the item tree, its Win32 menu, the hidden window that owns shown popup menus,
// and the short-cut texts.
#include "platform/framework/Menus.h"

#include <algorithm>
#include <bitset>

#include "platform/framework/Application.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win32/windraw.h"
#include "platform/win32/winerror.h"

DEFINE_CLASS(TMenuItem, PROPERTY(AutoCheck).Default(false), PROPERTY(Caption),
             PROPERTY(Checked).Default(false), PROPERTY(Default).Default(false),
             PROPERTY(Enabled).Default(true), PROPERTY(GroupIndex).Default(0), PROPERTY(Hint),
             PROPERTY(ImageIndex).Default(-1), PROPERTY(RadioItem).Default(false),
             PROPERTY(ShortCut).Default(0), PROPERTY(Visible).Default(true), EVENT(OnClick))
DEFINE_CLASS(TMenu, PROPERTY(Images), PROPERTY(OwnerDraw).Default(false))
DEFINE_CLASS(TPopupMenu, PROPERTY(Alignment).Default(paLeft), PROPERTY(AutoPopup).Default(true),
             PROPERTY(TrackButton).Default(tbRightButton), EVENT(OnPopup))

namespace {

// Command ids in use; 0 is never handed out, since WM_COMMAND of a cancelled menu carries none.
std::bitset<0x10000>& UsedCommands() {
    static std::bitset<0x10000> used;
    return used;
}

Word UniqueCommand() {
    static Word next = 0;
    auto& used = UsedCommands();
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        next = static_cast<Word>(next == 0xFFFF ? 1 : next + 1);
        if (!used[next]) {
            used[next] = true;
            return next;
        }
    }
    throw EMenuError(Consts::SMenuIndexError);
}

// The menus alive, which the popup list window hands its messages to.
std::vector<TMenu*>& MenuList() {
    static std::vector<TMenu*> menus;
    return menus;
}

struct KeyName {
    Word key;
    const Char* name;
};

const KeyName KeyNames[] = {
    {VK_BACK, Consts::SmkcBkSp},    {VK_TAB, Consts::SmkcTab},     {VK_ESCAPE, Consts::SmkcEsc},
    {VK_RETURN, Consts::SmkcEnter}, {VK_SPACE, Consts::SmkcSpace}, {VK_PRIOR, Consts::SmkcPgUp},
    {VK_NEXT, Consts::SmkcPgDn},    {VK_END, Consts::SmkcEnd},     {VK_HOME, Consts::SmkcHome},
    {VK_LEFT, Consts::SmkcLeft},    {VK_UP, Consts::SmkcUp},       {VK_RIGHT, Consts::SmkcRight},
    {VK_DOWN, Consts::SmkcDown},    {VK_INSERT, Consts::SmkcIns},  {VK_DELETE, Consts::SmkcDel},
};

String KeyText(Word key) {
    if ((key >= u'A' && key <= u'Z') || (key >= u'0' && key <= u'9'))
        return String(1, static_cast<Char>(key));
    if (key >= VK_F1 && key <= VK_F1 + 11)
        return u"F" + IntToStr(key - VK_F1 + 1);
    for (const KeyName& entry : KeyNames)
        if (entry.key == key)
            return entry.name;
    return {};
}

bool StartsWithText(const String& text, const String& prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

LRESULT PopupListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A menu may be freed by a handler while the loop goes on, so the list is searched afresh each time.
    auto findItem = [](UINT_PTR value, TFindItemKind kind) -> TMenuItem* {
        for (TMenu* menu : MenuList())
            if (TMenuItem* item = menu->FindItem(value, kind); item != nullptr)
                return item;
        return nullptr;
    };
    switch (msg) {
    case WM_COMMAND:
        for (TMenu* menu : MenuList())
            if (menu->DispatchCommand(LOWORD(wParam)))
                return 0;
        break;
    case WM_INITMENUPOPUP:
        for (TMenu* menu : MenuList())
            if (menu->DispatchPopup(reinterpret_cast<HMENU>(wParam)))
                return 0;
        break;
    case WM_MENUSELECT: {
        if (Application == nullptr)
            break;
        // A submenu's item is named by its position; the others by their command.
        TMenuItem* item = nullptr;
        if (HIWORD(wParam) != 0xFFFF || lParam != 0) {
            if ((HIWORD(wParam) & MF_POPUP) != 0)
                item = findItem(
                    reinterpret_cast<UINT_PTR>(GetSubMenu(reinterpret_cast<HMENU>(lParam), LOWORD(wParam))),
                    fkHandle);
            else
                item = findItem(LOWORD(wParam), fkCommand);
        }
        Application->SetHint(item != nullptr ? GetLongHint(item->Hint()) : String());
        return 0;
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU)
            break;
        for (TMenu* menu : MenuList())
            if (menu->DispatchMeasureItem(*measure))
                return TRUE;
        break;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_MENU)
            break;
        for (TMenu* menu : MenuList())
            if (menu->DispatchDrawItem(*draw))
                return TRUE;
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

// ---- Short cuts ----

String ShortCutToText(TShortCut shortCut) {
    String name = KeyText(static_cast<Word>(shortCut & 0xFF));
    if (name.empty())
        return {};
    String text;
    if ((shortCut & scShift) != 0)
        text += Consts::SmkcShift;
    if ((shortCut & scCtrl) != 0)
        text += Consts::SmkcCtrl;
    if ((shortCut & scAlt) != 0)
        text += Consts::SmkcAlt;
    return text + name;
}

TShortCut TextToShortCut(const String& text) {
    String rest = text;
    TShortCut modifiers = 0;
    // The modifiers may come in any order; each is taken once.
    for (bool found = true; found;) {
        found = false;
        for (auto [prefix, bit] : {std::pair{Consts::SmkcShift, scShift}, std::pair{Consts::SmkcCtrl, scCtrl},
                                   std::pair{Consts::SmkcAlt, scAlt}}) {
            String p = prefix;
            if ((modifiers & bit) == 0 && StartsWithText(rest, p)) {
                rest.erase(0, p.size());
                modifiers = static_cast<TShortCut>(modifiers | bit);
                found = true;
            }
        }
    }
    if (rest.empty())
        return 0;
    for (Word key = 0x08; key <= 0xFF; ++key)
        if (String name = KeyText(key); !name.empty() && SameText(name, rest))
            return static_cast<TShortCut>(key | modifiers);
    return 0;
}

void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift) {
    key = static_cast<Word>(shortCut & 0xFF);
    shift = {};
    if ((shortCut & scShift) != 0)
        shift.Include(ssShift);
    if ((shortCut & scCtrl) != 0)
        shift.Include(ssCtrl);
    if ((shortCut & scAlt) != 0)
        shift.Include(ssAlt);
}

String StripHotkey(const String& caption) {
    String text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == u'&')
            continue;
        text += caption[i];
    }
    return text;
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(UniqueCommand()) {}

TMenuItem::~TMenuItem() {
    while (!FItems.empty())
        FItems.back()->Free();
    if (FParent != nullptr)
        FParent->Remove(this);
    if (FHandle != nullptr && FParent == nullptr)
        DestroyMenu(FHandle);
    UsedCommands()[FCommand] = false;
}

TMenuItem* TMenuItem::Items(Integer index) const {
    if (index < 0 || index >= Count())
        throw EMenuError(Consts::SMenuIndexError);
    return FItems[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(Integer index, TMenuItem* item) {
    if (item == nullptr)
        return;
    if (item->FParent != nullptr)
        throw EMenuError(Consts::SMenuInserted);
    if (index < 0 || index > Count())
        throw EMenuError(Consts::SMenuIndexError);
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Changed();
}

void TMenuItem::Delete(Integer index) {
    TMenuItem* item = Items(index);
    // Its submenu belongs to this item's Win32 menu; the next build makes the item a new one.
    item->ForgetHandles();
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    Integer index = IndexOf(item);
    if (index < 0)
        throw EMenuError(Consts::SMenuNotFound);
    Delete(index);
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        FItems.back()->Free();
}

Integer TMenuItem::IndexOf(TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<Integer>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const String& caption) const {
    String wanted = StripHotkey(caption);
    for (TMenuItem* item : FItems)
        if (SameText(StripHotkey(item->FCaption), wanted))
            return item;
    return nullptr;
}

void TMenuItem::SetMenuIndex(Integer value) {
    if (FParent == nullptr)
        return;
    TMenuItem* parent = FParent;
    Integer count = parent->Count();
    value = std::clamp(value, 0, count - 1);
    if (value == MenuIndex())
        return;
    parent->Delete(MenuIndex());
    parent->Insert(value, this);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent != nullptr)
        item = item->FParent;
    return item->FMenu;
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent != nullptr && FParent->FMenu != nullptr)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (FParent != nullptr)
        FParent->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(parent); menu != nullptr)
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent); item != nullptr)
        item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (TMenuItem* item : FItems)
        if (item->Owner() == root)
            proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, Integer order) {
    if (auto* item = dynamic_cast<TMenuItem*>(child); item != nullptr && item->FParent == this)
        item->SetMenuIndex(order);
}

void TMenuItem::SetCaption(const String& value) {
    if (FCaption == value)
        return;
    FCaption = value;
    Changed();
}

void TMenuItem::SetChecked(bool value) {
    if (FChecked == value)
        return;
    FChecked = value;
    if (value && FRadioItem)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::TurnSiblingsOff() {
    if (FParent == nullptr)
        return;
    for (TMenuItem* item : FParent->FItems)
        if (item != this && item->FRadioItem && item->FGroupIndex == FGroupIndex && item->FChecked) {
            item->FChecked = false;
            item->Changed();
        }
}

void TMenuItem::SetDefault(bool value) {
    if (FDefault == value)
        return;
    // One default item per menu.
    if (value && FParent != nullptr)
        for (TMenuItem* item : FParent->FItems)
            item->FDefault = false;
    FDefault = value;
    Changed();
}

void TMenuItem::SetEnabled(bool value) {
    if (FEnabled == value)
        return;
    FEnabled = value;
    Changed();
}

void TMenuItem::SetGroupIndex(Byte value) {
    if (FGroupIndex == value)
        return;
    FGroupIndex = value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetImageIndex(Integer value) {
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    Changed();
}

void TMenuItem::SetRadioItem(bool value) {
    if (FRadioItem == value)
        return;
    FRadioItem = value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
    if (FShortCut == value)
        return;
    FShortCut = value;
    Changed();
}

void TMenuItem::SetVisible(bool value) {
    if (FVisible == value)
        return;
    FVisible = value;
    Changed();
}

void TMenuItem::Changed() {
    TMenuItem* root = this;
    while (root->FParent != nullptr)
        root = root->FParent;
    if (root->FMenu != nullptr)
        root->FMenu->MenuChanged();
    else if (root->FHandle != nullptr) {
        DestroyMenu(root->FHandle);
        root->ForgetHandles();
    }
}

void TMenuItem::ForgetHandles() {
    FHandle = nullptr;
    for (TMenuItem* item : FItems)
        item->ForgetHandles();
}

String TMenuItem::MenuText() const {
    if (FShortCut == 0)
        return FCaption;
    return FCaption + u"\t" + ShortCutToText(FShortCut);
}

HMENU TMenuItem::Handle() {
    TMenuItem* root = this;
    while (root->FParent != nullptr)
        root = root->FParent;
    bool rebuild = root->FMenu != nullptr ? root->FMenu->FRebuild : root->FHandle == nullptr;
    if (rebuild) {
        if (root->FHandle != nullptr)
            DestroyMenu(root->FHandle);
        root->ForgetHandles();
        root->FHandle = CreatePopupMenu();
        bool ownerDraw = root->FMenu != nullptr && root->FMenu->IsOwnerDrawn();
        for (TMenuItem* item : root->FItems)
            item->AppendTo(root->FHandle, ownerDraw);
        if (root->FMenu != nullptr)
            root->FMenu->FRebuild = false;
    }
    return FHandle;
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) {
    if (!FVisible)
        return;
    String text = MenuText();
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA;
    info.wID = FCommand;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (IsLine())
        info.fType |= MFT_SEPARATOR;
    if (ownerDraw)
        info.fType |= MFT_OWNERDRAW;
    if (FRadioItem)
        info.fType |= MFT_RADIOCHECK;
    if (FChecked)
        info.fState |= MFS_CHECKED;
    if (!FEnabled)
        info.fState |= MFS_GRAYED;
    if (FDefault)
        info.fState |= MFS_DEFAULT;
    if (!FItems.empty()) {
        FHandle = CreatePopupMenu();
        for (TMenuItem* item : FItems)
            item->AppendTo(FHandle, ownerDraw);
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = FHandle;
    }
    UINT position = static_cast<UINT>(GetMenuItemCount(menu));
    InsertMenuItemW(menu, position, TRUE, &info);
    // The menu keeps its default item apart from the items' states.
    if (FDefault)
        SetMenuDefaultItem(menu, position, TRUE);
}

void TMenuItem::Click() {
    if (!FEnabled)
        return;
    if (FAutoCheck && !(FChecked && FRadioItem))
        SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
    TMenu* menu = GetParentMenu();
    if (IsLine()) {
        height = 5;
        width = 10;
    } else {
        TCustomImageList* images = menu != nullptr ? menu->Images() : nullptr;
        int imageWidth = images != nullptr ? images->Width() : 16;
        int imageHeight = images != nullptr ? images->Height() : 0;
        String shortCut = FShortCut != 0 ? ShortCutToText(FShortCut) : String();
        int shortCutWidth = shortCut.empty() ? 0 : canvas->TextWidth(shortCut) + 16;
        width = imageWidth + 8 + canvas->TextWidth(StripHotkey(FCaption)) + shortCutWidth + 8;
        height = std::max(canvas->TextHeight(u"Wg") + 4, imageHeight + 4);
    }
    if (menu != nullptr && menu->OwnerDraw() && OnMeasureItem)
        OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, const TRect& rect, bool selected) {
    TMenu* menu = GetParentMenu();
    if (menu != nullptr && menu->OwnerDraw() && OnDrawItem) {
        OnDrawItem(this, canvas, rect, selected);
        return;
    }
    canvas->Brush()->SetColor(selected && !IsLine() ? clHighlight : clMenu);
    canvas->FillRect(rect);
    if (IsLine()) {
        int y = (rect.Top + rect.Bottom) / 2;
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->MoveTo(rect.Left + 2, y);
        canvas->LineTo(rect.Right - 2, y);
        return;
    }
    TCustomImageList* images = menu != nullptr ? menu->Images() : nullptr;
    int gutter = images != nullptr ? images->Width() : 16;
    if (images != nullptr && FImageIndex >= 0 && FImageIndex < images->Count()) {
        images->Draw(canvas, rect.Left + 2, rect.Top + (rect.Height() - images->Height()) / 2, FImageIndex,
                     FEnabled);
    } else if (FChecked) {
        // Without an image the gutter shows the check mark (a bullet for a radio item), black on white
        // and laid over the item as the window class draws its own.
        int size = std::min<int>(gutter, rect.Height());
        RECT box =
            Bounds(rect.Left + 2 + (gutter - size) / 2, rect.Top + (rect.Height() - size) / 2, size, size);
        HDC dc = canvas->Handle();
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP glyph = CreateCompatibleBitmap(dc, size, size);
        HGDIOBJ old = SelectObject(memory, glyph);
        RECT local{0, 0, size, size};
        DrawFrameControl(memory, &local, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        if (selected) {
            BitBlt(memory, 0, 0, size, size, memory, 0, 0, NOTSRCCOPY);
            BitBlt(dc, box.left, box.top, size, size, memory, 0, 0, SRCPAINT);
        } else {
            BitBlt(dc, box.left, box.top, size, size, memory, 0, 0, SRCAND);
        }
        SelectObject(memory, old);
        DeleteObject(glyph);
        DeleteDC(memory);
    }
    canvas->Font()->SetColor(!FEnabled ? clGrayText : selected ? clHighlightText : clMenuText);
    canvas->Brush()->SetStyle(bsClear);
    TRect textRect(rect.Left + gutter + 8, rect.Top, rect.Right - 8, rect.Bottom);
    String caption = FCaption;
    canvas->TextRect(textRect, caption, TTextFormat{tfSingleLine, tfVerticalCenter});
    if (FShortCut != 0) {
        String shortCut = ShortCutToText(FShortCut);
        canvas->TextRect(textRect, shortCut, TTextFormat{tfSingleLine, tfVerticalCenter, tfRight});
    }
}

// ---- TMenu ----

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
    FItems->FMenu = this;
    MenuList().push_back(this);
}

TMenu::~TMenu() {
    std::erase(MenuList(), this);
    FItems.reset();
}

void TMenu::SetImages(TCustomImageList* value) {
    if (FImages == value)
        return;
    if (FImages != nullptr)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages != nullptr)
        FImages->FreeNotification(this);
    MenuChanged();
}

void TMenu::SetOwnerDraw(bool value) {
    if (FOwnerDraw == value)
        return;
    FOwnerDraw = value;
    MenuChanged();
}

void TMenu::MenuChanged() {
    FRebuild = true;
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        MenuChanged();
    }
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) {
    FItems->GetChildren(proc, root);
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) {
    std::function<TMenuItem*(TMenuItem*)> search = [&](TMenuItem* parent) -> TMenuItem* {
        for (TMenuItem* item : parent->FItems) {
            bool match = false;
            switch (kind) {
            case fkCommand:
                match = item->FCommand == value;
                break;
            case fkHandle:
                match = item->FHandle != nullptr && reinterpret_cast<UINT_PTR>(item->FHandle) == value;
                break;
            case fkShortCut:
                match = item->FShortCut != 0 && item->FShortCut == value;
                break;
            }
            if (match)
                return item;
            if (TMenuItem* found = search(item); found != nullptr)
                return found;
        }
        return nullptr;
    };
    return search(FItems.get());
}

bool TMenu::IsShortCut(TMessage& message) {
    TShortCut shortCut =
        ::ShortCut(static_cast<Word>(message.WParam), KeyDataToShiftState(static_cast<LONG>(message.LParam)));
    TMenuItem* item = FindItem(shortCut, fkShortCut);
    if (item == nullptr)
        return false;
    // A short cut works only while the item and every item above it are enabled and visible.
    for (TMenuItem* step = item; step != nullptr && step != FItems.get(); step = step->FParent)
        if (!step->FEnabled || !step->FVisible)
            return false;
    item->Click();
    return true;
}

bool TMenu::DispatchCommand(Word command) {
    TMenuItem* item = FindItem(command, fkCommand);
    if (item == nullptr)
        return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU menu) {
    if (menu == FItems->FHandle)
        return true;
    TMenuItem* item = FindItem(reinterpret_cast<UINT_PTR>(menu), fkHandle);
    if (item == nullptr)
        return false;
    // The item whose submenu opens is clicked, so that its handler can bring the submenu up to date.
    item->Click();
    if (FRebuild && item->FHandle != nullptr) {
        // The submenu is rebuilt in its own handle, which the running menu loop already holds.
        HMENU handle = item->FHandle;
        while (GetMenuItemCount(handle) > 0)
            DeleteMenu(handle, 0, MF_BYPOSITION);
        for (TMenuItem* child : item->FItems)
            child->ForgetHandles();
        for (TMenuItem* child : item->FItems)
            child->AppendTo(handle, IsOwnerDrawn());
    }
    return true;
}

bool TMenu::DispatchMeasureItem(MEASUREITEMSTRUCT& measure) {
    TMenuItem* item = FindItem(measure.itemID, fkCommand);
    if (item == nullptr)
        return false;
    // Measured on a screen DC in the menu font.
    HDC dc = GetDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    int width = static_cast<int>(measure.itemWidth);
    int height = static_cast<int>(measure.itemHeight);
    item->MeasureItem(&canvas, width, height);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    return true;
}

bool TMenu::DispatchDrawItem(DRAWITEMSTRUCT& draw) {
    TMenuItem* item = FindItem(draw.itemID, fkCommand);
    if (item == nullptr)
        return false;
    int saved = SaveDC(draw.hDC);
    TCanvas canvas;
    canvas.SetHandle(draw.hDC);
    item->DrawItem(&canvas, TRect(draw.rcItem), (draw.itemState & ODS_SELECTED) != 0);
    canvas.SetHandle(nullptr);
    RestoreDC(draw.hDC, saved);
    return true;
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (FPopupComponent == value)
        return;
    if (FPopupComponent != nullptr)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = value;
    if (FPopupComponent != nullptr)
        FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* sender) {
    if (OnPopup)
        OnPopup(sender);
}

void TPopupMenu::Popup(int x, int y) {
    FPopupPoint = TPoint(x, y);
    DoPopup(this);
    UINT flags = FTrackButton == tbLeftButton ? TPM_LEFTBUTTON : TPM_RIGHTBUTTON;
    switch (FAlignment) {
    case paLeft:
        flags |= TPM_LEFTALIGN;
        break;
    case paRight:
        flags |= TPM_RIGHTALIGN;
        break;
    case paCenter:
        flags |= TPM_CENTERALIGN;
        break;
    }
    TrackPopupMenu(Items()->Handle(), flags, x, y, 0, PopupListWindow(), nullptr);
}

// ---- The popup list window ----

HWND PopupListWindow() {
    static HWND window = nullptr;
    if (window != nullptr && IsWindow(window))
        return window;
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &PopupListProc;
        windowClass.lpszClassName = u"TPopupListWindow";
        return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    // A hidden top-level window: the menu loop takes the mouse capture for its owner.
    window = registered ? CreateWindowExW(0, u"TPopupListWindow", u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          nullptr, nullptr)
                        : nullptr;
    return window;
}

bool ShowControlPopupMenu(TControl* control, TPoint pos) {
    auto* menu = dynamic_cast<TPopupMenu*>(control->PopupMenu());
    if (menu == nullptr || !menu->AutoPopup())
        return false;
    if (pos.X == -1 && pos.Y == -1)
        pos = control->ClientToScreen(TPoint(0, 0));
    menu->SetPopupComponent(control);
    menu->Popup(pos.X, pos.Y);
    return true;
}
