// The Office-style radio button: glyph, caption, background, the mouse with its group's bookkeeping, keys,
// accelerators, anchors and its action link.
#include "controls/AdvOfficeButtons.h"

#include "controls/AdvOfficeButtonsShared.h"
#include "controls/ButtonGlyphs.h"
#include "platform/win32/windraw.h"
#include "render/CaptionHTML.h"
#include "render/VerIRID.h"

using namespace OfficeButtons;

TCustomAdvOfficeRadioButton::TCustomAdvOfficeRadioButton(TComponent* owner) : TAdvOfficeButton(owner) {
    SetBounds(0, 0, 135, 20);
    SetTabStop(true);
}

TCustomAdvOfficeRadioButton::~TCustomAdvOfficeRadioButton() = default;

TCustomAdvOfficeRadioGroup* TCustomAdvOfficeRadioButton::ParentRadioGroup() {
    return dynamic_cast<TCustomAdvOfficeRadioGroup*>(Parent());
}

void TCustomAdvOfficeRadioButton::SetChecked(bool value) {
    if (FChecked == value)
        return;
    SetTabStop(true);
    FChecked = value;
    if (FClicksDisabled)
        FGotClick = false;
    if (value) {
        if (TWinControl* parent = Parent(); parent != nullptr) {
            for (Integer i = 0; i < parent->ControlCount(); ++i) {
                auto* sibling = dynamic_cast<TCustomAdvOfficeRadioButton*>(parent->Controls(i));
                if (sibling != nullptr && sibling != this && sibling->FGroupIndex == FGroupIndex)
                    sibling->SetChecked(false);
            }
        }
        if (!FClicksDisabled)
            ClickButton();
    }
    if (HandleAllocated() && Parent() != nullptr)
        Repaint();
}

void TCustomAdvOfficeRadioButton::ClickButton() {
    if (ComponentState().Contains(csLoading))
        return;
    // An OnClick of the control's own wins over the action; without one the action executes.
    if (OnClick)
        OnClick(this);
    else if (!ComponentState().Contains(csDesigning) && ActionLink() != nullptr)
        ActionLink()->Execute(this);
}

// ---- Painting ----

void TCustomAdvOfficeRadioButton::DrawGlyph() {
    TRect client = ClientRect();
    DrawStateGlyph(2, FChecked ? 5 : 1, FChecked ? u"QELOFRC" : u"QELOFRU", [&](int height, bool themed) {
        if (FBtnVAlign == tvaTop)
            return 4;
        if (FBtnVAlign == tvaCenter)
            return client.Height() / 2 - height / 2;
        // The bitmap glyph keeps two pixels off the bottom.
        return client.Bottom - height - (themed ? 0 : 2);
    });
}

void TCustomAdvOfficeRadioButton::Paint() {
    TCanvas* canvas = Canvas();
    TakeFont(canvas, Font());
    PaintBackground();
    DrawGlyph();
    TRect client = ClientRect();
    TRect rect = client;
    if (RightAligned()) {
        rect.Left = 0;
        rect.Right -= 18;
    } else {
        rect.Left += 18;
    }
    rect.Top += 4;
    Integer width = 0, height = 0;
    String anchor;
    CaptionCall call{canvas,        FCaption,     FImages,    FContainer, FImageCache.get(),
                     FShadowOffset, FShadowColor, !FEllipsis, BiDiMode(), FCaptionMeasures.get()};
    if (FBtnVAlign != tvaTop) {
        call.Run(rect, false, true, FURLColor, 0, 0, width, height, anchor);
        rect.Top = FBtnVAlign == tvaCenter ? rect.Top + (rect.Bottom - rect.Top - height) / 2 - 3
                                           : rect.Bottom - height - 3;
    }
    PaintCaption(rect, BiDiMode(), clGray, clWhite, width, height);
    // The radio button's focus frame encloses the glyph too.
    if (FFocused && FShowFocus)
        DrawDottedFrame(canvas, TRect(client.Left, rect.Top - 1, rect.Left + width + 1, client.Bottom - 1),
                        Font()->Color());
}

// ---- Mouse ----

void TCustomAdvOfficeRadioButton::WMLButtonDown(TMessage& message) {
    FClicksDisabled = true;
    if (!ComponentState().Contains(csDesigning) && CanFocus()) {
        if (TCustomAdvOfficeRadioGroup* group = ParentRadioGroup()) {
            for (Integer i = 0; i < group->ButtonCount(); ++i)
                if (group->RadioButtons(i) == this)
                    group->FFocusButtonIdx = i;
        }
        SetFocus();
    }
    FClicksDisabled = false;
    TCustomControl::WMLButtonDown(message);
}

void TCustomAdvOfficeRadioButton::WMLButtonDblClk(TMessage& message) {
    TCustomControl::WMLButtonDblClk(message);
    if (TCustomAdvOfficeRadioGroup* group = ParentRadioGroup(); group != nullptr && group->OnDblClick)
        group->OnDblClick(group);
}

void TCustomAdvOfficeRadioButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    FGotClick = true;
    bool anchorHit = false;
    if (FFocused) {
        anchorHit = ClickAnchor(x, y, BiDiMode());
    } else if (!ComponentState().Contains(csDesigning) && CanFocus()) {
        SetFocus();
        FFocused = true;
    }
    if (!anchorHit) {
        TCustomControl::MouseDown(button, shift, x, y);
        SetMouseCapture(true);
        FDown = true;
    }
    if (RightAligned()) {
        Invalidate();
    } else {
        RECT strip{0, 0, 16, Height()};
        InvalidateRect(Handle(), &strip, TRUE);
    }
}

void TCustomAdvOfficeRadioButton::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (MouseCapture())
        FDown = InsideEdges(this, x, y);
    TrackAnchor(x, y, BiDiMode());
}

void TCustomAdvOfficeRadioButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    SetMouseCapture(false);
    FDown = false;
    bool inside = InsideEdges(this, x, y);
    if (inside && !FChecked && FGotClick) {
        // The flag stays raised until the next press: the click below is the only one this press gives.
        FClicksDisabled = true;
        SetChecked(true);
        FGotClick = true;
    }
    TCustomControl::MouseUp(button, shift, x, y);
    // A press dragged off an unchecked button and released there clicks nothing: a radio group would
    // otherwise take the button as its selection while another one stays checked.
    if (FGotClick && (inside || FChecked))
        ClickButton();
    if (RightAligned()) {
        Invalidate();
    } else if (HandleAllocated()) {
        RECT strip{0, 0, 16, Height()};
        InvalidateRect(Handle(), &strip, TRUE);
    }
    FGotClick = false;
    TCustomAdvOfficeRadioGroup* group = ParentRadioGroup();
    if (FChecked != FCheckDown && group != nullptr && group->OnRadioButtonClick) {
        for (Integer i = 0; i < group->ButtonCount(); ++i)
            if (group->RadioButtons(i) == this)
                group->FItemIndex = i;
        group->OnRadioButtonClick(group);
    }
}

// ---- Keys and focus ----

void TCustomAdvOfficeRadioButton::KeyDown(Word& key, TShiftState shift) {
    ReturnAsTab(key);
    if (key == VK_SPACE)
        FDown = true;
    TCustomControl::KeyDown(key, shift);
}

void TCustomAdvOfficeRadioButton::KeyUp(Word& key, TShiftState shift) {
    if (key == VK_SPACE) {
        FDown = false;
        if (!FChecked)
            SetChecked(true);
    }
    TCustomControl::KeyUp(key, shift);
}

void TCustomAdvOfficeRadioButton::CMDialogChar(TMessage& message) {
    if (IsAccel(DialogCharCode(message), FCaption) && CanFocus()) {
        SetChecked(true);
        if (TabStop() && !ComponentState().Contains(csDesigning))
            SetFocus();
        message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(message);
}

void TCustomAdvOfficeRadioButton::DoEnter() {
    FCheckDown = FChecked;
    if (TCustomAdvOfficeRadioGroup* group = ParentRadioGroup(); group != nullptr && group->TabStop())
        SetChecked(true);
    TAdvOfficeButton::DoEnter();
}

// ---- Actions ----

void TCustomAdvOfficeRadioButton::ActionChange(TObject* sender, bool checkDefaults) {
    TCustomControl::ActionChange(sender, checkDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(sender)) {
        SetCaption(action->Caption());
        SetChecked(action->Checked());
        SetEnabled(action->Enabled());
    }
}

TClass TCustomAdvOfficeRadioButton::GetActionLinkClass() {
    return TAdvOfficeRadioButtonActionLink::StaticClass();
}

void TAdvOfficeRadioButtonActionLink::AssignClient(TObject* client) {
    TControlActionLink::AssignClient(client);
    FClientButton = static_cast<TCustomAdvOfficeRadioButton*>(client);
}

void TAdvOfficeRadioButtonActionLink::SetCaption(const String& value) {
    if (IsCaptionLinked())
        FClientButton->SetCaption(value);
}

void TAdvOfficeRadioButtonActionLink::SetChecked(bool value) {
    if (!IsCheckedLinked())
        return;
    FClientButton->FClicksDisabled = true;
    FClientButton->SetChecked(value);
    FClientButton->FClicksDisabled = false;
}
