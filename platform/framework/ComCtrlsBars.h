// The framework's bar controls on the common control classes: TStatusBar with its panels (and the
// application's hints), TProgressBar and TUpDown.
#pragma once

#include <functional>
#include <memory>

#include "platform/framework/Collection.h"
#include "platform/framework/Controls.h"
#include "platform/framework/StdEdit.h" // TAlignment

class TStatusBar;

ZELMOR_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
ZELMOR_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)
ZELMOR_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)
ZELMOR_ENUM(TUDAlignButton, udLeft, udRight)
ZELMOR_ENUM(TUDOrientation, udHorizontal, udVertical)
ZELMOR_ENUM(TUDBtnType, btNext, btPrev)

// ---- Status bar panels ----
class TStatusPanel : public TCollectionItem {
    DECLARE_CLASS(TStatusPanel, TCollectionItem)

public:
    using TCollectionItem::TCollectionItem;
    void Assign(TPersistent* source) override;

    const String& Text() const { return FText; }
    void SetText(const String& value);
    Integer Width() const { return FWidth; }
    void SetWidth(Integer value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel value);

protected:
    String GetDisplayName() const override {
        return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
    }

private:
    String FText;
    Integer FWidth = 50;
    TStatusPanelStyle FStyle = psText;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
};

class TStatusPanels : public TCollection {
    DECLARE_CLASS(TStatusPanels, TCollection)

public:
    explicit TStatusPanels(TStatusBar* statusBar);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(Integer index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TPersistent* GetOwner() const override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TStatusBar* FStatusBar;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// ---- A status bar ----
// Sits at the bottom of its parent. With SimplePanel it shows SimpleText across the whole bar instead of
// the panels. With AutoHint it shows the application's hints (when the application's OnHint does not
// take them): in SimpleText while in simple mode or without panels, else in the first panel; its own
// OnHint, when assigned, is fired instead.
class TStatusBar : public TWinControl {
    DECLARE_CLASS(TStatusBar, TWinControl)

public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* value) { FPanels->Assign(value); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const String& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const String& value);
    bool AutoHint() const { return FAutoHint; }
    void SetAutoHint(bool value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    // The canvas OnDrawPanel draws on, valid while it runs.
    TCanvas* Canvas() const;

    // Shows a hint as AutoHint does; answers whether the bar took it.
    bool ExecuteHint(const String& hint);

    TNotifyEvent OnHint;
    TDrawPanelEvent OnDrawPanel;

protected:
    friend class TStatusPanels;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void DrawPanel(TStatusPanel* panel, const TRect& rect);
    // Puts one panel (or, at -1, all of them with their edges) into the window.
    void UpdatePanel(Integer index);
    void UpdatePanels();

private:
    void UpdateSimpleText();

    std::unique_ptr<TStatusPanels> FPanels;
    std::unique_ptr<TControlCanvas> FCanvas;
    bool FSimplePanel = false;
    String FSimpleText;
    bool FAutoHint = false;
    bool FSizeGrip = true;
};

// ---- A progress bar ----
class TProgressBar : public TWinControl {
    DECLARE_CLASS(TProgressBar, TWinControl)

public:
    explicit TProgressBar(TComponent* owner);

    Integer Min() const { return FMin; }
    void SetMin(Integer value);
    Integer Max() const { return FMax; }
    void SetMax(Integer value);
    // Kept within Min .. Max.
    Integer Position() const;
    void SetPosition(Integer value);
    Integer Step() const { return FStep; }
    void SetStep(Integer value);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value);
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation value);

    // Advances by Step, starting over from Min past Max; by delta in StepBy, stopping at the ends.
    void StepIt();
    void StepBy(Integer delta);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;

    Integer FMin = 0;
    Integer FMax = 100;
    Integer FPosition = 0;
    Integer FStep = 10;
    bool FSmooth = false;
    TProgressBarOrientation FOrientation = pbHorizontal;
};

// ---- An up-down ----
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Two arrows that step Position between Min and Max; with Associate it sits beside that control and
// writes the position into it, and follows the associate to each new window it gets.
class TUpDown : public TWinControl {
    DECLARE_CLASS(TUpDown, TWinControl)

public:
    explicit TUpDown(TComponent* owner);
    ~TUpDown() override;

    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* value);
    SmallInt Min() const { return FMin; }
    void SetMin(SmallInt value);
    SmallInt Max() const { return FMax; }
    void SetMax(SmallInt value);
    SmallInt Position() const;
    void SetPosition(SmallInt value);
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer value);
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value);
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool value);
    bool Thousands() const { return FThousands; }
    void SetThousands(bool value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    TUDAlignButton AlignButton() const { return FAlignButton; }
    void SetAlignButton(TUDAlignButton value);

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // May the position change? OnChanging decides.
    virtual bool CanChange();
    virtual void Click(TUDBtnType button);

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;
    // Gives the window the associate's window as its buddy and takes the places the window chose.
    void AttachAssociate();
    void HookAssociate();
    void UnhookAssociate();
    void AssociateMessage(const TMessage& message);

    TWinControl* FAssociate = nullptr;
    // The up-down hearing the associate's messages; cleared when it lets go, after which the hook that
    // stays in the associate's WindowProc only passes messages on.
    std::shared_ptr<TUpDown*> FAssociateHook;
    HWND FBuddyHandle = nullptr; // the associate's window that the window has as its buddy
    SmallInt FMin = 0;
    SmallInt FMax = 100;
    SmallInt FPosition = 0;
    Integer FIncrement = 1;
    bool FWrap = false;
    bool FArrowKeys = true;
    bool FThousands = true;
    TUDOrientation FOrientation = udVertical;
    TUDAlignButton FAlignButton = udRight;
    int FLastDelta = 0; // the step the window announced last (UDN_DELTAPOS), for OnClick's button
};
