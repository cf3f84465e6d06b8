// The framework's tab controls on the "SysTabControl32" window class: TCustomTabControl/TTabControl (a
// row of tabs over one area), TPageControl with its TTabSheet pages (one sheet shown per tab; a sheet
// may have no tab), and TTrackBar on the "msctls_trackbar32" class.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/Controls.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/imagelist.h"

class TChangeLink;
class TCustomImageList;
class TCustomTabControl;
class TTabSheet;

ZELMOR_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)
ZELMOR_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)
ZELMOR_ENUM(TTrackBarOrientation, trHorizontal, trVertical)
ZELMOR_ENUM(TTickMark, tmBottomRight, tmTopLeft, tmBoth)
ZELMOR_ENUM(TTickStyle, tsNone, tsAuto, tsManual)

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent =
    std::function<void(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)>;

// ---- A row of tabs over one area ----
class TCustomTabControl : public TWinControl {
    DECLARE_CLASS(TCustomTabControl, TWinControl)
    friend class TTabStrings;

public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    // The tabs' captions; each may carry an object (a page control keeps its sheets there). They are
    // kept with the control and in its window while there is one.
    TStrings* Tabs() const { return FTabs.get(); }
    void SetTabs(TStrings* value);
    // The selected tab, -1 for none. Setting it fires neither OnChanging nor OnChange.
    int TabIndex() const;
    void SetTabIndex(int value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    // Tabs on the left and right are laid out as those at the top and the bottom.
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    bool RaggedRight() const { return FRaggedRight; }
    void SetRaggedRight(bool value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    SmallInt TabHeight() const { return FTabHeight; }
    void SetTabHeight(SmallInt value);
    // 0: each tab as wide as its caption.
    SmallInt TabWidth() const { return FTabWidth; }
    void SetTabWidth(SmallInt value);
    // The tabs' images, each left of its tab's caption (GetImageIndex chooses which); the tabs follow
    // the list's changes.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);

    // The area inside the frame, under the tabs, in client coordinates.
    TRect DisplayRect();
    TRect TabRect(int index);
    // The tab at a client point, or -1.
    int IndexOfTabAt(int x, int y);
    // The canvas OnDrawTab paints on, valid while it runs.
    TCanvas* Canvas() const { return FCanvas.get(); }

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;

protected:
    // Asks OnChanging whether the user may leave the current tab.
    virtual bool CanChange();
    // The user chose another tab.
    virtual void Change();
    virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
    // The image of a tab: by default the one at the tab's own index; -1 for none.
    virtual int GetImageIndex(int tabIndex);
    // Tells the window every tab's image again.
    void UpdateTabImages();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void AdjustClientRect(TRect& rect) override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void CNNotify(TMessage& message);
    void CNDrawItem(TMessage& message);
    void UpdateTabSize();
    // The window's copy of Images, made anew whenever the list changes.
    void ImageListChange();

    std::unique_ptr<TStrings> FTabs;
    std::unique_ptr<TCanvas> FCanvas;
    int FTabIndex = -1; // the selection while there is no window
    bool FMultiLine = false;
    TTabPosition FTabPosition = tpTop;
    TTabStyle FStyle = tsTabs;
    bool FHotTrack = false;
    bool FRaggedRight = false;
    bool FOwnerDraw = false;
    SmallInt FTabHeight = 0;
    SmallInt FTabWidth = 0;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TChangeLink> FImageChangeLink;
    HIMAGELIST FImageHandle = nullptr; // owned; what the window draws the images from
};

class TTabControl : public TCustomTabControl {
    DECLARE_CLASS(TTabControl, TCustomTabControl)

public:
    using TCustomTabControl::TCustomTabControl;
};

// ---- Pages ----
class TPageControl : public TCustomTabControl {
    DECLARE_CLASS(TPageControl, TCustomTabControl)
    friend class TTabSheet;

public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    // Every sheet, with a tab or without, in page order.
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const;
    // The sheet shown, also one whose tab is hidden (no tab is selected then). Setting it fires neither
    // OnChanging nor OnChange.
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The page after (or before) current, going round; with checkTabVisible only pages with a tab.
    // Null when there is none.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible);
    // Moves to the next page as the user would: OnChanging may refuse, OnChange follows.
    void SelectNextPage(bool goForward, bool checkTabVisible = true);

protected:
    void Change() override;
    void CreateWnd() override;
    int GetImageIndex(int tabIndex) override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMDialogKey(TMessage& message) override;

private:
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void ChangeActivePage(TTabSheet* page);
    // The tabs again from the pages, the selection on the active page's tab.
    void UpdateTabs();

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

class TTabSheet : public TWinControl {
    DECLARE_CLASS(TTabSheet, TWinControl)
    friend class TPageControl;

public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* value) { SetParent(value); }
    // The index in the page control's Pages.
    int PageIndex() const;
    void SetPageIndex(int value);
    // The index among the tabs shown, -1 while the tab is hidden.
    int TabIndex() const;
    // A sheet whose tab is hidden keeps its place in Pages and can still be the active page.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

    void SetParent(TWinControl* parent) override;

protected:
    void Dispatch(TMessage& message) override;

private:
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = 0;
};

// ---- A thumb on a scale ----
class TTrackBar : public TWinControl {
    DECLARE_CLASS(TTrackBar, TWinControl)

public:
    explicit TTrackBar(TComponent* owner);

    // Min stays at most Max and Max at least Min (other values are ignored); Position is kept between.
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);
    int LineSize() const { return FLineSize; }
    void SetLineSize(int value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation value);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark value);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle value);
    int SelStart() const { return FSelStart; }
    void SetSelStart(int value);
    int SelEnd() const { return FSelEnd; }
    void SetSelEnd(int value);
    int ThumbLength() const { return FThumbLength; }
    void SetThumbLength(int value);
    bool SliderVisible() const { return FSliderVisible; }
    void SetSliderVisible(bool value);
    // A tick mark at a position, with TickStyle tsManual.
    void SetTick(int value);

    TNotifyEvent OnChange;

protected:
    // Fires OnChange.
    void Changed() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Loaded() override;

private:
    bool Loading() const;
    void SetParams(int position, int minValue, int maxValue);
    void UpdateSelection();
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);

    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    int FFrequency = 1;
    int FLineSize = 1;
    int FPageSize = 2;
    TTrackBarOrientation FOrientation = trHorizontal;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
    int FSelStart = 0;
    int FSelEnd = 0;
    int FThumbLength = 20;
    bool FSliderVisible = true;
};
