// The typed edit's auto-complete list, its history and the value and history kept in an INI file or
// the registry between runs.
#include "controls/AdvEdit.h"

#include <algorithm>

#include "platform/rtl/Convert.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winctrl.h"

DEFINE_CLASS(TLookupSettings, PROPERTY(Enabled).Default(false), PROPERTY(DisplayList), PROPERTY(ValueList),
             PROPERTY(NumChars).Default(2), PROPERTY(DisplayCount).Default(4),
             PROPERTY(CaseSensitive).Default(false), PROPERTY(SearchValue).Default(false),
             PROPERTY(ShowValue).Default(false), PROPERTY(ValueSeparator).Default(vsBracket),
             PROPERTY(Multi).Default(false), PROPERTY(Separator).Default(u';'),
             PROPERTY(History).Default(false), PROPERTY(AcceptOnTab).Default(false),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clWindow), PROPERTY(Font),
             PROPERTY(Spacing).Default(0))
DEFINE_CLASS(TPersistence, PROPERTY(Enable).Default(false), PROPERTY(Key), PROPERTY(Section),
             PROPERTY(Location).Default(plInifile))
DEFINE_CLASS(TListBoxTab)
DEFINE_CLASS(TListHintWindow)

// ---- TLookupSettings ----

TLookupSettings::TLookupSettings()
    : FDisplayList(std::make_unique<TStringList>()), FValueList(std::make_unique<TStringList>()),
      FFont(std::make_unique<TFont>()) {
    FFont->SetName(u"Arial");
    FFont->SetSize(8);
    FFont->SetStyle(TFontStyles());
}

TLookupSettings::~TLookupSettings() = default;

void TLookupSettings::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TLookupSettings*>(source);
    if (other == nullptr)
        return;
    FEnabled = other->FEnabled;
    FDisplayList->Assign(other->FDisplayList.get());
    FValueList->Assign(other->FValueList.get());
    FNumChars = other->FNumChars;
    FDisplayCount = other->FDisplayCount;
    FCaseSensitive = other->FCaseSensitive;
    FSearchValue = other->FSearchValue;
    FShowValue = other->FShowValue;
    FValueSeparator = other->FValueSeparator;
    FMulti = other->FMulti;
    FSeparator = other->FSeparator;
    FHistory = other->FHistory;
    FAcceptOnTab = other->FAcceptOnTab;
    FColor = other->FColor;
    FFont->Assign(other->FFont.get());
    FSpacing = other->FSpacing;
}

void TLookupSettings::AddPair(const String& display, const String& value) {
    FDisplayList->Add(display);
    FValueList->Add(value);
}

void TLookupSettings::SetNumChars(Integer value) {
    if (value > 0)
        FNumChars = value;
}

// ---- TPersistence ----

void TPersistence::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TPersistence*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    FEnable = other->FEnable;
    FKey = other->FKey;
    FSection = other->FSection;
    FLocation = other->FLocation;
}

// ---- TListBoxTab and TListHintWindow ----

void TListBoxTab::Dispatch(TMessage& message) {
    TListBox::Dispatch(message);
    if (message.Msg == WM_GETDLGCODE && FHandleTab)
        message.Result |= DLGC_WANTTAB;
}

void TListHintWindow::CreateParams(TCreateParams& params) {
    THintWindow::CreateParams(params);
    params.Style |= WS_BORDER;
    params.ExStyle |= WS_EX_TOPMOST;
    params.WindowClass.style |= CS_DROPSHADOW;
}

void TListHintWindow::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_NCHITTEST: {
        // Unlike a hint, the list takes the mouse; its bottom-right corner is a size grip.
        TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)));
        if (p.X >= Width() - 10 && p.Y >= Height() - 10 && p.X < Width() && p.Y < Height())
            message.Result = HTBOTTOMRIGHT;
        else
            TCustomControl::Dispatch(message);
        break;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        TCustomControl::Dispatch(message);
        break;
    case WM_ACTIVATE:
        TCustomControl::Dispatch(message);
        if (LOWORD(message.WParam) == WA_INACTIVE) {
            if (HandleAllocated())
                ShowWindow(Handle(), SW_HIDE);
        } else if (FListControl != nullptr && FListControl->CanFocus() &&
                   !FListControl->ComponentState().Contains(csDestroying)) {
            FListControl->SetFocus();
        }
        break;
    default:
        THintWindow::Dispatch(message);
    }
}

// ---- The edit's lookup list ----

namespace {

// The size of text drawn in font, as the screen measures it.
SIZE TextExtent(TFont* font, const String& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

String OpeningBracket(TValueSeparator separator) {
    switch (separator) {
    case vsBracket:
        return u"(";
    case vsSquareBracket:
        return u"[";
    case vsLargerSmaller:
        return u"<";
    default:
        return String();
    }
}

String ClosingBracket(TValueSeparator separator) {
    switch (separator) {
    case vsBracket:
        return u")";
    case vsSquareBracket:
        return u"]";
    case vsLargerSmaller:
        return u">";
    default:
        return String();
    }
}

// The lists keep the entry's index in the lookup settings in each item's object.
TObject* IndexTag(Integer index) {
    return reinterpret_cast<TObject*>(static_cast<NativeInt>(index));
}

Integer TagIndex(TObject* tag) {
    return static_cast<Integer>(reinterpret_cast<NativeInt>(tag));
}

// The part of the value that the lookup works on and how many characters come before it.
String LookupText(const String& value, const TLookupSettings& lookup, Integer& cut) {
    cut = 0;
    if (!lookup.Multi())
        return value;
    auto last = value.rfind(lookup.Separator());
    if (last == String::npos)
        return value;
    cut = static_cast<Integer>(last) + 1;
    return value.substr(last + 1);
}

} // namespace

void TAdvEdit::CreateLookupWindow() {
    FLookupWindow = std::make_unique<TListHintWindow>(nullptr);
    FLookupWindow->SetBounds(0, 0, 0, 0);
    FLookupWindow->SetBorderWidth(1);
    auto* list = new TListBoxTab(FLookupWindow.get());
    list->SetParent(FLookupWindow.get());
    list->SetAlign(alClient);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(12);
    list->SetCtl3D(false);
    list->SetTabStop(true);
    list->SetBorderStyle(bsNone);
    list->SetTabOrder(0);
    list->OnKeyPress = [this](TObject* sender, Char& key) { LookupListKeyPress(sender, key); };
    list->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
        LookupListMouseUp(sender, button, shift, x, y);
    };
    FLookupWindow->SetListControl(list);
}

bool TAdvEdit::LookupVisible() const {
    return FLookupWindow != nullptr && FLookupWindow->HandleAllocated() &&
           IsWindowVisible(FLookupWindow->Handle());
}

// Hides the list window without touching the focus, and takes it from the edit's window.
void TAdvEdit::CloseLookup() {
    if (FLookupWindow == nullptr || !FLookupWindow->HandleAllocated())
        return;
    ShowWindow(FLookupWindow->Handle(), SW_HIDE);
    SetWindowLongPtrW(FLookupWindow->Handle(), GWLP_HWNDPARENT, 0);
}

void TAdvEdit::DoLookupNeedData(const String& value, TStrings* list, Integer& itemIndex) {
    if (OnLookupNeedData)
        OnLookupNeedData(this, value, list, itemIndex);
}

void TAdvEdit::UpdateLookup() {
    if (!FLookup->Enabled() || FLookupWindow == nullptr)
        return;
    Integer cut = 0;
    const String text = LookupText(Text(), *FLookup, cut);
    if (static_cast<Integer>(text.size()) < FLookup->NumChars()) {
        CloseLookup();
        return;
    }

    TListBoxTab* list = FLookupWindow->ListControl();
    FLookupWindow->SetCaption(u"  ");
    FLookupWindow->SetColor(clWindow);
    list->SetColor(FLookup->Color());
    list->Font()->Assign(FLookup->Font());
    list->SetCtl3D(false);
    list->SetHandleTab(FLookup->AcceptOnTab());
    list->Items()->BeginUpdate();
    list->Items()->Clear();
    const bool caseSensitive = FLookup->CaseSensitive();
    const String wanted = caseSensitive ? text : AnsiUpperCase(text);
    auto position = [&](const String& entry) {
        return AnsiPos(wanted, caseSensitive ? entry : AnsiUpperCase(entry));
    };
    TStrings* displays = FLookup->DisplayList();
    TStrings* values = FLookup->ValueList();
    for (Integer i = 0; i < displays->Count(); ++i) {
        const String& entry = displays->Strings(i);
        const bool hasValue = i < values->Count();
        const Integer d = position(entry);
        const Integer v = FLookup->SearchValue() && hasValue ? position(values->Strings(i)) : -1;
        const bool matches = FFullTextSearch ? (d > 0 || v > 0) : (d == 1 || v == 1);
        if (!matches)
            continue;
        String shown = entry;
        if (FLookup->ShowValue() && hasValue && !values->Strings(i).empty())
            shown += u" " + OpeningBracket(FLookup->ValueSeparator()) + values->Strings(i) +
                     ClosingBracket(FLookup->ValueSeparator());
        list->Items()->AddObject(shown, IndexTag(i));
    }
    list->Items()->EndUpdate();

    Integer chosen = 0;
    DoLookupNeedData(text, list->Items(), chosen);
    // Sorting moves the items; the one the handler chose is found again by its text and tag.
    String chosenText;
    TObject* chosenTag = nullptr;
    const bool hasChoice = chosen >= 0 && chosen < list->Items()->Count();
    if (hasChoice) {
        chosenText = list->Items()->Strings(chosen);
        chosenTag = list->Items()->Objects(chosen);
    }
    list->SetSorted(true);
    if (hasChoice) {
        for (Integer i = 0; i < list->Items()->Count(); ++i)
            if (list->Items()->Strings(i) == chosenText && list->Items()->Objects(i) == chosenTag) {
                chosen = i;
                break;
            }
    }
    const Integer rowHeight = TextExtent(FLookup->Font(), u"gh").cy + FLookup->Spacing();
    list->SetItemHeight(rowHeight);
    list->SetItemIndex(hasChoice ? chosen : -1);

    const Integer count = list->Items()->Count();
    if (count == 0) {
        CloseLookup();
        return;
    }
    const Integer height = rowHeight * std::min(count, FLookup->DisplayCount()) + 4;
    Integer width = 50;
    for (Integer i = 0; i < count; ++i)
        width = std::max<Integer>(width, TextExtent(FLookup->Font(), list->Items()->Strings(i)).cx);
    width += 8;
    if (count > FLookup->DisplayCount())
        width += GetSystemMetrics(SM_CXHSCROLL);

    LRESULT pos = SendMessageW(Handle(), EM_POSFROMCHAR, static_cast<WPARAM>(cut), 0);
    const Integer x = std::min<Integer>(static_cast<short>(LOWORD(pos)), Width());
    const TPoint origin = ClientOrigin();
    FLookupWindow->SetBounds(origin.X + x + 8, origin.Y + Height() - 6, width, height);
    // While it shows, the list belongs to the edit's window: it stays above it and goes with it.
    HWND window = FLookupWindow->Handle();
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Handle()));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TAdvEdit::HideLookup() {
    if (HandleAllocated()) {
        if (HWND top = GetAncestor(Handle(), GA_ROOT); top != nullptr)
            SetForegroundWindow(top);
        if (CanFocus())
            SetFocus();
    }
    CloseLookup();
}

void TAdvEdit::AcceptLookup() {
    if (FLookupWindow == nullptr)
        return;
    HideLookup();
    TListBoxTab* list = FLookupWindow->ListControl();
    const Integer selected = list->ItemIndex();
    if (selected < 0 || selected >= list->Items()->Count())
        return;
    const Integer index = TagIndex(list->Items()->Objects(selected));
    String result = list->Items()->Strings(selected);
    TStrings* values = FLookup->ValueList();
    if (values->Count() == 0) {
        if (OnLookupSelect)
            OnLookupSelect(this, result);
    } else {
        if (index >= 0 && index < values->Count())
            result = values->Strings(index);
        if (OnLookupSelect)
            OnLookupSelect(this, result);
        if (OnLookupIndexSelect)
            OnLookupIndexSelect(this, index, result);
    }
    if (!FLookup->Multi()) {
        SetText(result);
        SelectAll();
        return;
    }
    Integer cut = 0;
    String value = Text();
    LookupText(value, *FLookup, cut);
    value = value.substr(0, static_cast<std::size_t>(cut)) + result + FLookup->Separator();
    SetText(value);
    const Integer end = static_cast<Integer>(FPrefix.size() + value.size());
    SetSel(end, end);
}

bool TAdvEdit::LookupListKey(Word key) {
    if (!LookupVisible())
        return false;
    TListBoxTab* list = FLookupWindow->ListControl();
    const Integer count = list->Items()->Count();
    const Integer step = FLookup->DisplayCount();
    const Integer index = list->ItemIndex();
    switch (key) {
    case VK_HOME:
        list->SetItemIndex(0);
        return true;
    case VK_END:
        list->SetItemIndex(count - 1);
        return true;
    case VK_NEXT:
        list->SetItemIndex(index + step < count ? index + step : count - 1);
        return true;
    case VK_PRIOR:
        list->SetItemIndex(index > step ? index - step : 0);
        return true;
    case VK_UP:
        if (index > 0)
            list->SetItemIndex(index - 1);
        return true;
    case VK_DOWN:
        if (index + 1 < count)
            list->SetItemIndex(index + 1);
        return true;
    default:
        return false;
    }
}

void TAdvEdit::LookupListKeyPress(TObject*, Char& key) {
    if (key == u'\r' || (key == u'\t' && FLookup->AcceptOnTab())) {
        key = 0;
        AcceptLookup();
    } else if (key == 27) {
        key = 0;
        HideLookup();
    }
}

void TAdvEdit::LookupListMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    AcceptLookup();
}

// The string list's own comparison decides what is already there, so by default the case of a value
// does not make a second entry.
void TAdvEdit::AddToHistory(const String& value) {
    if (!FLookup->Enabled() || !FLookup->History() || value.empty())
        return;
    if (FLookup->DisplayList()->IndexOf(value) == -1)
        FLookup->DisplayList()->Add(value);
}

// ---- Stored value and history ----

namespace {

// The store the settings name; an empty INI file name is the program's name with ".INI", and an empty
// section of an INI file the edit's name. Reading and writing both go through here, so that a value is
// read back from where it was written.
std::unique_ptr<TCustomIniFile> OpenPersistStore(const TPersistence& persistence, const String& name,
                                                 String& section) {
    section = persistence.Section();
    if (persistence.Location() == plRegistry)
        return std::make_unique<TRegistryIniFile>(persistence.Key());
    String key = persistence.Key();
    if (key.empty()) {
        Char path[1024] = {};
        DWORD length = GetModuleFileNameW(nullptr, path, 1024);
        key = ChangeFileExt(String(path, length), u".INI");
    }
    if (section.empty())
        section = name;
    return std::make_unique<TIniFile>(key);
}

} // namespace

void TAdvEdit::LoadPersist() {
    if (!FPersistence->Enable())
        return;
    String section;
    std::unique_ptr<TCustomIniFile> store = OpenPersistStore(*FPersistence, Name(), section);
    if (FLookup->Enabled() && FLookup->History()) {
        const Integer count = store->ReadInteger(section, u"LOOKUPCOUNT", 0);
        // An empty entry keeps its place in its list, so that displays and values stay paired.
        for (Integer n = 1; n <= count; ++n) {
            const String value = store->ReadString(section, u"LOOKUPVAL" + IntToStr(n), String());
            const String display = store->ReadString(section, u"LOOKUPDISPL" + IntToStr(n), String());
            if (store->ValueExists(section, u"LOOKUPVAL" + IntToStr(n)))
                FLookup->ValueList()->Add(value);
            FLookup->DisplayList()->Add(display);
        }
    }
    const String text = store->ReadString(section, Name(), u"@");
    if (text != u"@")
        SetWindowText(text);
}

void TAdvEdit::SavePersist() {
    if (FPersistence == nullptr || !FPersistence->Enable())
        return;
    String section;
    std::unique_ptr<TCustomIniFile> store = OpenPersistStore(*FPersistence, Name(), section);
    store->WriteString(section, Name(), FPrefix + Text() + FSuffix);
    if (FLookup->Enabled() && FLookup->History()) {
        TStrings* displays = FLookup->DisplayList();
        TStrings* values = FLookup->ValueList();
        store->WriteInteger(section, u"LOOKUPCOUNT", displays->Count());
        for (Integer n = 1; n <= displays->Count(); ++n) {
            store->WriteString(section, u"LOOKUPDISPL" + IntToStr(n), displays->Strings(n - 1));
            if (n <= values->Count())
                store->WriteString(section, u"LOOKUPVAL" + IntToStr(n), values->Strings(n - 1));
        }
    }
}
