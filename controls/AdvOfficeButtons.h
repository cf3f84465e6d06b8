// The Office-style check box and radio button, owner-drawn with a themed or bitmap glyph and a caption of
// mini-HTML, and the check group and radio group that lay one of them out per line of their Items.
//
// Contents: what both buttons share - TCustomAdvOfficeCheckBox - TCustomAdvOfficeRadioButton - the action
// links - the radio group
// - the check group.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/AdvGroupBox.h"
#include "controls/AdvPanel.h"
#include "platform/framework/ImgList.h"
#include "render/PictureContainer.h"

class TCustomAdvOfficeCheckGroup;
class TCustomAdvOfficeRadioGroup;
struct CaptionMeasures;

using TAnchorClick = std::function<void(TObject* Sender, String Anchor)>;

// ---- What both buttons share ----
// The caption, glyph placement, images, shadow, background and focus settings of an Office button; each
// button draws its own glyph and decides what a click does.
class TAdvOfficeButton : public TCustomControl {
    DECLARE_CLASS(TAdvOfficeButton, TCustomControl)

public:
    ~TAdvOfficeButton() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextVAlignment ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextVAlignment value);
    // The caption (mini-HTML); setting it also sets the window text.
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value);
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor value);
    bool Down() const { return FDown; }
    void SetDown(bool value) { FDown = value; }
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    Integer ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(Integer value);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value);
    bool Themed() const { return FThemed; }
    void SetThemed(bool value);
    // Keeps the parent's background in a bitmap instead of painting the parent on every paint.
    bool TransparentChaching() const { return FTransparentCaching; }
    void SetTransparentChaching(bool value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor value);
    String Version();
    void SetVersion(const String&) {}
    virtual Integer GetVersionNr();

    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;

protected:
    explicit TAdvOfficeButton(TComponent* owner);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void DoEnter() override;
    void DoExit() override;
    void CMEnabledChanged(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void WMEraseBkgnd(TMessage& message) override;

    virtual void DrawGlyph() = 0;
    // Draws the glyph at the client's left, or right when right-aligned: through visual styles as the
    // button part with the check's state (raised for disabled, down or hot) when themed, else the bitmap
    // named bitmapName with D when down or H when hot. glyphTop gives the glyph's top from its height.
    void DrawStateGlyph(int themePart, int themeState, const String& bitmapName,
                        const std::function<int(int height, bool themed)>& glyphTop);
    void PaintBackground();
    // Paints the caption in rect and gives its size; right-to-left alignment moves rect's left edge to
    // the text. Disabled, it is engraved: the offset copy's anchors in shadowAnchorColor, the text's in
    // textAnchorColor.
    void PaintCaption(TRect& rect, TBiDiMode biDiMode, TColor shadowAnchorColor, TColor textAnchorColor,
                      Integer& width, Integer& height);
    bool RightAligned() const;
    // The anchor of the caption at (x, y), or an empty string.
    String AnchorAt(int x, int y, TBiDiMode biDiMode);
    // A press at (x, y) on an anchor opens it or, when it is no link, fires OnAnchorClick; answers whether
    // the press hit an anchor.
    bool ClickAnchor(int x, int y, TBiDiMode biDiMode);
    // While focused, the cursor turns to a hand over an anchor and back when it leaves, firing
    // OnAnchorEnter and OnAnchorExit.
    void TrackAnchor(int x, int y, TBiDiMode biDiMode);
    // With ReturnIsTab, Return moves the focus on as Tab does.
    void ReturnAsTab(Word& key);

    bool FClicksDisabled = false;
    bool FDown = false;
    bool FFocused = false;
    bool FShowFocus = true;
    bool FReturnIsTab = false;
    TCustomImageList* FImages = nullptr;
    String FAnchor;
    TColor FURLColor = clBlue;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    TTextVAlignment FBtnVAlign = tvaTop;
    TAlignment FAlignment = taLeftJustify;
    bool FEllipsis = false;
    String FCaption;
    TPictureContainer* FContainer = nullptr;
    Integer FShadowOffset = 1;
    TColor FShadowColor = clGray;
    bool FHot = false;
    TCursor FOldCursor = crDefault;
    std::unique_ptr<TBitmap> FBkgBmp;
    bool FBkgCache = false;
    bool FTransparentCaching = false;
    bool FGotClick = false;
    TColor FDisabledFontColor = clGray;
    bool FThemed = false;
    std::unique_ptr<CaptionMeasures> FCaptionMeasures; // what the caption renderer measured for this button
};

// ---- The check box ----
class TCustomAdvOfficeCheckBox : public TAdvOfficeButton {
    DECLARE_CLASS(TCustomAdvOfficeCheckBox, TAdvOfficeButton)

public:
    explicit TCustomAdvOfficeCheckBox(TComponent* owner);
    ~TCustomAdvOfficeCheckBox() override;

    // Setting Checked from code changes the state and repaints but fires no OnClick: code that sets it
    // does itself whatever the click would have done. The console relies on this.
    virtual bool GetChecked();
    virtual void SetChecked(bool value);
    bool Checked() { return GetChecked(); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    // The next state a click gives (unchecked, grayed with AllowGrayed, checked); nothing when ReadOnly.
    virtual void Toggle();

    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    // Clicks and Space leave the state alone; a release still fires OnClick.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

protected:
    friend class TAdvOfficeCheckBoxActionLink;
    friend class TCustomAdvOfficeCheckGroup;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyUp(Word& key, TShiftState shift) override;
    void ActionChange(TObject* sender, bool checkDefaults) override;
    TClass GetActionLinkClass() override;
    void WndProc(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;

    void DrawGlyph() override;
    // The area the glyph lies in: the client's left or right 20 pixels.
    TRect GlyphStrip(int width);

    bool FInternalClick = false; // set while the control changes its own state

private:
    TRect CaptionRect();

    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
    bool FReadOnly = false;
};

class TAdvOfficeCheckBox : public TCustomAdvOfficeCheckBox {
    DECLARE_CLASS(TAdvOfficeCheckBox, TCustomAdvOfficeCheckBox)

public:
    using TCustomAdvOfficeCheckBox::TCustomAdvOfficeCheckBox;
};

// ---- The radio button ----
class TCustomAdvOfficeRadioButton : public TAdvOfficeButton {
    DECLARE_CLASS(TCustomAdvOfficeRadioButton, TAdvOfficeButton)

public:
    explicit TCustomAdvOfficeRadioButton(TComponent* owner);
    ~TCustomAdvOfficeRadioButton() override;

    bool Checked() const { return FChecked; }
    // Checking unchecks the radio buttons of the same GroupIndex under the same parent and, unless clicks
    // are disabled, runs ClickButton.
    void SetChecked(bool value);
    // Fires OnClick or executes the action.
    virtual void ClickButton();

    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte value) { FGroupIndex = value; }

protected:
    friend class TAdvOfficeRadioButtonActionLink;
    friend class TCustomAdvOfficeRadioGroup;
    void Paint() override;
    // The framework's click is not this control's: ClickButton decides.
    void DoClick() override {}
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyUp(Word& key, TShiftState shift) override;
    void DoEnter() override;
    void ActionChange(TObject* sender, bool checkDefaults) override;
    TClass GetActionLinkClass() override;
    void WMLButtonDown(TMessage& message) override;
    void WMLButtonDblClk(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;

    void DrawGlyph() override;

private:
    // The radio group this button is an item of, or null.
    TCustomAdvOfficeRadioGroup* ParentRadioGroup();

    bool FChecked = false;
    Byte FGroupIndex = 0;
    bool FCheckDown = false; // the checked state when the button got the focus
};

class TAdvOfficeRadioButton : public TCustomAdvOfficeRadioButton {
    DECLARE_CLASS(TAdvOfficeRadioButton, TCustomAdvOfficeRadioButton)

public:
    using TCustomAdvOfficeRadioButton::TCustomAdvOfficeRadioButton;
};

// ---- Action links ----
// Hands the action's checked state to the box as the box's own change, which fires no click.
class TAdvOfficeCheckBoxActionLink : public TControlActionLink {
    DECLARE_CLASS(TAdvOfficeCheckBoxActionLink, TControlActionLink)

public:
    void AssignClient(TObject* client) override;
    void SetCaption(const String& value) override;
    void SetChecked(bool value) override;

private:
    TCustomAdvOfficeCheckBox* FClientBox = nullptr;
};

class TAdvOfficeRadioButtonActionLink : public TControlActionLink {
    DECLARE_CLASS(TAdvOfficeRadioButtonActionLink, TControlActionLink)

public:
    void AssignClient(TObject* client) override;
    void SetCaption(const String& value) override;
    void SetChecked(bool value) override;

private:
    TCustomAdvOfficeRadioButton* FClientButton = nullptr;
};

// ---- What both groups share ----
using TGroupItemEnabledEvent = std::function<void(TObject* Sender, Integer ItemIndex, bool& Enabled)>;

// The items, their columns and the settings a group hands down to every item; each group keeps its own
// item controls and lays them out.
class TAdvOfficeButtonGroup : public TAdvGroupBox {
    DECLARE_CLASS(TAdvOfficeButtonGroup, TAdvGroupBox)

public:
    ~TAdvOfficeButtonGroup() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    // 1 .. 16.
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextVAlignment ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextVAlignment value);
    Integer ControlIndent() const { return FControlIndent; }
    void SetControlIndent(Integer value);
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor value) { FDisabledFontColor = value; }
    // Each group sets Ellipsis, ShadowColor and ShadowOffset itself: the check group passes over a value
    // it has already, the radio group hands any value down to its items again.
    bool Ellipsis() const { return FEllipsis; }
    TCustomImageList* Images() const { return FButtonImages; }
    void SetImages(TCustomImageList* value);
    TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* value);
    TColor ShadowColor() const { return FShadowColor; }
    Integer ShadowOffset() const { return FShadowOffset; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value);
    bool Themed() const { return FThemed; }
    void SetThemed(bool value);

    void PushKey(Char& key);
    void PushKeyDown(Word& key, TShiftState shift);
    // While the group paints its items into dc (PaintTo), copies into dc, which shows item's client area,
    // the group's own paint beneath item from the picture the group took of it before the items, or draws
    // nothing when dc still shows that paint beneath item; answers false, drawing nothing, at any other
    // time or into any other dc.
    bool DrawPictureBeneath(TControl* item, HDC dc);
    // True when DrawPictureBeneath would cover all of item in dc.
    bool PictureCovers(TControl* item, HDC dc) const;
    // Item controls are never written to a description.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override {}

    TGroupItemEnabledEvent OnIsEnabled;

protected:
    explicit TAdvOfficeButtonGroup(TComponent* owner);
    virtual bool AllowItemChange() { return true; }
    Integer GetVersionNr() override;
    void ReadState(TReader* reader) override;
    void Resize() override;
    void CMFontChanged(TMessage& message) override;

    // One item control per line of Items, each with its caption.
    virtual void UpdateButtons() = 0;
    virtual void ArrangeButtons() = 0;
    // The item controls, one per line of Items.
    virtual Integer ItemButtonCount() const = 0;
    virtual TAdvOfficeButton* ItemButton(Integer index) const = 0;
    // Gives item the group's bidi mode, alignment, images, caption and focus settings.
    void ApplyItemSettings(TAdvOfficeButton* item);
    void PaintChildrenTo(HDC dc) override;

    std::unique_ptr<TStringList> FItems;
    Integer FColumns = 1;
    bool FReading = false;
    bool FUpdating = false;
    TAlignment FAlignment = taLeftJustify;
    TTextVAlignment FBtnVAlign = tvaTop;
    TCustomImageList* FButtonImages = nullptr;
    TPictureContainer* FContainer = nullptr;
    bool FEllipsis = false;
    Integer FShadowOffset = 1;
    TColor FShadowColor = clSilver;
    bool FShowFocus = true;
    TColor FDisabledFontColor = clGray;
    bool FThemed = false;
    Integer FControlIndent = 0;
    Integer FFocusButtonIdx = 0;
    // The group's erase and paint as PaintTo left them in FPictureDC, kept only while the items are
    // painted there: nothing can change beneath an item in between.
    std::unique_ptr<TBitmap> FPaintPicture;
    HDC FPictureDC = nullptr;
    TSize FPictureSize{};         // the client area the group painted into FPictureDC
    bool FPictureInPlace = false; // FPictureDC itself still shows the group's paint beneath every item

private:
    // True when no child draws over another's part of the group's paint before that child paints.
    bool ItemsKeepPictureInPlace();
    // Whether item lies wholly within the client area the group painted.
    bool InsidePicture(const TControl* item) const;
};

// ---- The radio group ----
class TCustomAdvOfficeRadioGroup;

class TAdvGroupButton : public TAdvOfficeRadioButton {
    DECLARE_CLASS(TAdvGroupButton, TAdvOfficeRadioButton)

public:
    explicit TAdvGroupButton(TComponent* owner) : TAdvOfficeRadioButton(owner) {}
    // An item of radioGroup, added to its buttons and parented in it.
    static TAdvGroupButton* InternalCreate(TCustomAdvOfficeRadioGroup* radioGroup);
    ~TAdvGroupButton() override;

protected:
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

private:
    friend class TCustomAdvOfficeRadioGroup;
    TCustomAdvOfficeRadioGroup* FGroup = nullptr;
    bool FInClick = false;
};

class TCustomAdvOfficeRadioGroup : public TAdvOfficeButtonGroup {
    DECLARE_CLASS(TCustomAdvOfficeRadioGroup, TAdvOfficeButtonGroup)

public:
    explicit TCustomAdvOfficeRadioGroup(TComponent* owner);
    ~TCustomAdvOfficeRadioGroup() override;

    // The selected item, -1 for none. Set from code it is clamped to -1 .. count - 1, repaints and fires
    // no click; the console relies on this.
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer value);
    void SetEllipsis(bool value);
    void SetShadowColor(TColor value);
    void SetShadowOffset(Integer value);
    bool IsReadOnly() const { return FIsReadOnly; }
    void SetIsReadOnly(bool value);

    TAdvGroupButton* RadioButtons(Integer index) const { return FButtons[static_cast<size_t>(index)]; }
    TAdvGroupButton* GetRadioButton(Integer index) const { return RadioButtons(index); }
    Integer ButtonCount() const { return static_cast<Integer>(FButtons.size()); }
    // The item at a client point, or -1.
    Integer XYToItem(Integer x, Integer y);

    TNotifyEvent OnRadioButtonClick;

protected:
    friend class TAdvGroupButton;
    friend class TCustomAdvOfficeRadioButton;
    virtual void DoRadioButtonClick();
    void Loaded() override;
    void CreateWnd() override;
    void CMEnabledChanged(TMessage& message) override;
    void DoEnter() override;

    void UpdateButtons() override;
    void ArrangeButtons() override;
    Integer ItemButtonCount() const override { return ButtonCount(); }
    TAdvOfficeButton* ItemButton(Integer index) const override { return RadioButtons(index); }
    void ButtonClick(TObject* sender);

private:
    std::vector<TAdvGroupButton*> FButtons;
    Integer FItemIndex = -1;
    bool FIsReadOnly = false;
};

class TAdvOfficeRadioGroup : public TCustomAdvOfficeRadioGroup {
    DECLARE_CLASS(TAdvOfficeRadioGroup, TCustomAdvOfficeRadioGroup)

public:
    using TCustomAdvOfficeRadioGroup::TCustomAdvOfficeRadioGroup;
};

// ---- The check group ----
class TCustomAdvOfficeCheckGroup;

using TGroupCheckClickEvent = std::function<void(TObject* Sender, Integer CheckBoxIndex, bool Value)>;

class TGroupCheck : public TAdvOfficeCheckBox {
    DECLARE_CLASS(TGroupCheck, TAdvOfficeCheckBox)

public:
    explicit TGroupCheck(TComponent* owner) : TAdvOfficeCheckBox(owner) {}
    static TGroupCheck* InternalCreate(TCustomAdvOfficeCheckGroup* checkGroup);
    ~TGroupCheck() override;

protected:
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

private:
    friend class TCustomAdvOfficeCheckGroup;
    TCustomAdvOfficeCheckGroup* FGroup = nullptr;
    bool FInClick = false;
};

class TCustomAdvOfficeCheckGroup : public TAdvOfficeButtonGroup {
    DECLARE_CLASS(TCustomAdvOfficeCheckGroup, TAdvOfficeButtonGroup)

public:
    explicit TCustomAdvOfficeCheckGroup(TComponent* owner);
    ~TCustomAdvOfficeCheckGroup() override;

    // Reading an index outside the items raises "Invalid checkbox index"; writing one does nothing.
    // Written from code, an item changes and repaints but no click fires and Value stays as it was; the
    // console relies on this.
    bool Checked(Integer index) { return GetChecked(index); }
    void SetCheckedItem(Integer index, bool value) { SetChecked(index, value); }
    virtual bool GetChecked(Integer index);
    virtual void SetChecked(Integer index, bool value);
    // An item is read-only while it is disabled.
    bool GetReadOnly(Integer index);
    void SetReadOnly(Integer index, bool value);
    // The items' states as a bit mask (bit i for item i). Writing stores the mask as given and sets the
    // first 64 items from it.
    Int64 Value() const { return FValue; }
    void SetValue(Int64 value);
    // The mask from the states of the first 32 items; later items do not count.
    void UpdateValue();

    void SetEllipsis(bool value);
    void SetShadowColor(TColor value);
    void SetShadowOffset(Integer value);

    TGroupCheck* CheckBoxes(Integer index) const { return FButtons[static_cast<size_t>(index)]; }
    Integer ButtonCount() const { return static_cast<Integer>(FButtons.size()); }
    Integer XYToItem(Integer x, Integer y);

    // An item was clicked; hides the group box's caption check box event of the same name.
    TGroupCheckClickEvent OnCheckBoxClick;
    // The caption check box changed.
    TNotifyEvent OnGroupCheckClick;

protected:
    friend class TGroupCheck;
    virtual void DoCheckBoxItemClick(Integer index, bool value);
    void ApplyCheckBoxAction() override;
    void DoCheckBoxClick() override;
    void Loaded() override;
    void CMEnabledChanged(TMessage& message) override;
    void DoEnter() override;

    void UpdateButtons() override;
    void ArrangeButtons() override;
    Integer ItemButtonCount() const override { return ButtonCount(); }
    TAdvOfficeButton* ItemButton(Integer index) const override { return CheckBoxes(index); }
    void ButtonClick(TObject* sender);

private:
    std::vector<TGroupCheck*> FButtons;
    Int64 FValue = 0;
};

class TAdvOfficeCheckGroup : public TCustomAdvOfficeCheckGroup {
    DECLARE_CLASS(TAdvOfficeCheckGroup, TCustomAdvOfficeCheckGroup)

public:
    using TCustomAdvOfficeCheckGroup::TCustomAdvOfficeCheckGroup;
};

// The unit's start-up: registers the buttons and groups for form descriptions (with the group box) and
// their glyphs. Later calls do nothing.
void AdvOfficeButtonsUnitStartup();
