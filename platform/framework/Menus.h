// Menus of the framework: TMenuItem trees, TMenu and TPopupMenu over the Win32 menus, and the short-cut
// helpers (ShortCut, ShortCutToText, TextToShortCut).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/Controls.h"
#include "platform/framework/ImgList.h"
#include "platform/win32/winmenu.h"

ZELMOR_DECLARE_EXCEPTION(EMenuError, Exception)

ZELMOR_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
ZELMOR_ENUM(TTrackButton, tbRightButton, tbLeftButton)
ZELMOR_ENUM(TFindItemKind, fkCommand, fkHandle, fkShortCut)

class TMenu;
class TMenuItem;

using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

// The caption that makes an item a separator line.
inline constexpr const Char* cLineCaption = u"-";

// "Ctrl+Shift+F5" and back. An unknown key gives ""; text that names no key gives 0.
String ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(const String& text);
void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift);
// caption without its accelerator marks ("&&" stays one '&').
String StripHotkey(const String& caption);

// ---- A menu item and the items under it ----
// Changing an item rebuilds the Win32 menu of its menu the next time that menu is shown.
class TMenuItem : public TComponent {
    DECLARE_CLASS(TMenuItem, TComponent)
    friend class TMenu;

public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // -- The items under this one --
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    // EMenuError "Menu index out of range" outside 0..Count-1.
    TMenuItem* Items(Integer index) const;
    // Adds an item that belongs to no other item (EMenuError "Menu inserted twice" otherwise).
    void Add(TMenuItem* item);
    void Insert(Integer index, TMenuItem* item);
    // Takes the item at index out, without freeing it.
    void Delete(Integer index);
    void Remove(TMenuItem* item);
    // Frees every item under this one.
    void Clear();
    Integer IndexOf(TMenuItem* item) const;
    // The item whose caption, without accelerator marks and compared without regard to case, is caption.
    TMenuItem* Find(const String& caption) const;
    TMenuItem* Parent() const { return FParent; }
    Integer MenuIndex() const {
        return FParent != nullptr ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1;
    }
    void SetMenuIndex(Integer value);
    bool IsLine() const { return FCaption == cLineCaption; }
    // The menu this item belongs to (through its parents), or null.
    TMenu* GetParentMenu() const;

    // -- What the item shows --
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of the same GroupIndex among its siblings.
    void SetChecked(bool value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // The Win32 command id WM_COMMAND names this item by; unique in the process.
    Word Command() const { return FCommand; }
    // The Win32 popup menu of the items under this one, built when asked for.
    HMENU Handle();

    // Fires OnClick; an AutoCheck item toggles Checked first.
    virtual void Click();

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

protected:
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, Integer order) override;
    void SetParentComponent(TComponent* parent) override;
    // Draws the item of an owner-drawn menu: OnDrawItem when the menu is OwnerDraw and it is set,
    // else the image, check mark, caption and short cut.
    virtual void DrawItem(TCanvas* canvas, const TRect& rect, bool selected);
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
    // The text of the item in its Win32 menu: the caption and, after a tab, the short cut.
    String MenuText() const;

private:
    void Changed();
    void TurnSiblingsOff();
    // Appends this item to menu (its submenu built as well).
    void AppendTo(HMENU menu, bool ownerDraw);
    void ForgetHandles();

    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems; // owned: freed with this item
    TMenu* FMenu = nullptr;         // set on the root item of a menu
    HMENU FHandle = nullptr;        // the submenu of the built menu; the root's is the menu's
    Word FCommand = 0;
    String FCaption;
    String FHint;
    TShortCut FShortCut = 0;
    Integer FImageIndex = -1;
    Byte FGroupIndex = 0;
    bool FChecked = false;
    bool FAutoCheck = false;
    bool FDefault = false;
    bool FEnabled = true;
    bool FRadioItem = false;
    bool FVisible = true;
};

// ---- A menu: a root item and its images ----
class TMenu : public TComponent {
    DECLARE_CLASS(TMenu, TComponent)
    friend class TMenuItem;

public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return FItems.get(); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // Owner-drawn items use OnDrawItem/OnMeasureItem; a menu with Images draws its items too.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // The Win32 menu, rebuilt after a change.
    HMENU Handle() { return FItems->Handle(); }

    // value is a command, a submenu handle or a short cut, by kind.
    TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind);
    // Clicks the enabled item whose short cut the key message is; answers whether there was one.
    bool IsShortCut(TMessage& message);
    // The Win32 menus notify the owner window; the menu's items answer WM_INITMENUPOPUP (clicking the item
    // whose submenu opens), WM_MENUSELECT (the application hint), WM_MEASUREITEM and WM_DRAWITEM.
    bool DispatchCommand(Word command);
    bool DispatchPopup(HMENU menu);
    bool DispatchMeasureItem(MEASUREITEMSTRUCT& measure);
    bool DispatchDrawItem(DRAWITEMSTRUCT& draw);

protected:
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Marks the Win32 menu for a rebuild.
    void MenuChanged();
    bool IsOwnerDrawn() const { return FOwnerDraw || FImages != nullptr; }

private:
    std::unique_ptr<TMenuItem> FItems;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    bool FRebuild = true;
};

// ---- A menu shown on request or by a right click on its control ----
class TPopupMenu : public TMenu {
    DECLARE_CLASS(TPopupMenu, TMenu)

public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment value) { FAlignment = value; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The control the menu was last shown for (by its right click), or null.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);
    TTrackButton TrackButton() const { return FTrackButton; }
    void SetTrackButton(TTrackButton value) { FTrackButton = value; }
    TPoint PopupPoint() const { return FPopupPoint; }

    // Fires OnPopup and runs the menu at the screen point; the chosen item's OnClick runs when the
    // WM_COMMAND the menu posts is dispatched.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup(TObject* sender);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TPopupAlignment FAlignment = paLeft;
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TTrackButton FTrackButton = tbRightButton;
    TPoint FPopupPoint;
};

// The hidden window that owns shown popup menus and hands their messages to the menus.
HWND PopupListWindow();

// What a control does with WM_CONTEXTMENU at a screen point (-1, -1 from the keyboard: the control's
// client origin): shows its PopupMenu when that is a TPopupMenu with AutoPopup, the control set as
// PopupComponent. Answers whether a menu was shown.
bool ShowControlPopupMenu(TControl* control, TPoint pos);
