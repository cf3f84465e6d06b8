// Alignment of children: the aligned controls take the edges of what is left of the client area in the
// order top, bottom, left, right, client; anchored controls keep their distances to the edges they are
// anchored to when the parent changes size; AutoSize fits a parent to its children.
#include <algorithm>

#include "platform/framework/Controls.h"

namespace {

// a * b / c rounded, for the centred anchors.
int ScaleRounded(int a, int b, int c) {
    if (c == 0)
        return a;
    long long product = static_cast<long long>(a) * b;
    return static_cast<int>((product + (product >= 0 ? c / 2 : -c / 2)) / c);
}

} // namespace

void TWinControl::EnableAlign() {
    --FAlignLevel;
    if (FAlignLevel == 0) {
        if (FControlState.Contains(csAlignmentNeeded))
            Realign();
    }
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* control) {
    if (ComponentState().Contains(csDestroying))
        return;
    if (FAlignLevel != 0 || ComponentState().Contains(csLoading)) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    try {
        TRect rect = ClientRect();
        AdjustClientRect(rect);
        AlignControls(control, rect);
    } catch (...) {
        FControlState.Exclude(csAlignmentNeeded);
        --FAlignLevel;
        throw;
    }
    FControlState.Exclude(csAlignmentNeeded);
    --FAlignLevel;
    if (FControlState.Contains(csAlignmentNeeded))
        Realign();
    AdjustSize();
}

void TWinControl::AdjustClientRect(TRect& rect) {
    rect.Left += FBorderWidth;
    rect.Top += FBorderWidth;
    rect.Right -= FBorderWidth;
    rect.Bottom -= FBorderWidth;
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
    DoAnchors(rect);
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient, alCustom})
        DoAlign(align, rect, control);
}

void TWinControl::DoAnchors(TRect&) {
    TRect client = ClientRect();
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->FAlign != alNone || !c->Visible() || c->FOriginalParentSize == TPoint())
            continue;
        TAnchors anchors = c->FAnchors;
        if (anchors == TAnchors{akLeft, akTop})
            continue;
        int left = c->FLeft;
        int top = c->FTop;
        int width = c->FWidth;
        int height = c->FHeight;
        if (anchors.Contains(akRight)) {
            if (anchors.Contains(akLeft))
                width = client.Width() - c->FAnchorRules.X - left;
            else
                left = client.Width() - c->FAnchorRules.X - width;
        } else if (!anchors.Contains(akLeft)) {
            left = ScaleRounded(c->FAnchorRules.X, client.Width(), c->FOriginalParentSize.X) - width / 2;
        }
        if (anchors.Contains(akBottom)) {
            if (anchors.Contains(akTop))
                height = client.Height() - c->FAnchorRules.Y - top;
            else
                top = client.Height() - c->FAnchorRules.Y - height;
        } else if (!anchors.Contains(akTop)) {
            top = ScaleRounded(c->FAnchorRules.Y, client.Height(), c->FOriginalParentSize.Y) - height / 2;
        }
        TPoint rules = c->FAnchorRules;
        TPoint original = c->FOriginalParentSize;
        c->SetBounds(left, top, std::max(width, 0), std::max(height, 0));
        // Moving the control must not change the rules it was moved by.
        c->FAnchorRules = rules;
        c->FOriginalParentSize = original;
    }
}

void TWinControl::DoAlign(TAlign align, TRect& rect, TControl* control) {
    std::vector<TControl*> list;
    if (control != nullptr && control->FAlign == align && control->Visible() && control->Parent() == this)
        list.push_back(control);
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->FAlign != align || !c->Visible() || c == control)
            continue;
        // Keep the order the controls stand in along the edge; the control being moved goes where it
        // was put.
        auto before = [align](TControl* a, TControl* b) {
            switch (align) {
            case alTop:
                return a->FTop < b->FTop;
            case alBottom:
                return a->FTop + a->FHeight > b->FTop + b->FHeight;
            case alLeft:
                return a->FLeft < b->FLeft;
            case alRight:
                return a->FLeft + a->FWidth > b->FLeft + b->FWidth;
            default:
                return false;
            }
        };
        auto it = list.begin();
        while (it != list.end() && !before(c, *it))
            ++it;
        list.insert(it, c);
    }
    for (TControl* c : list) {
        int width = c->FWidth;
        int height = c->FHeight;
        int left = c->FLeft;
        int top = c->FTop;
        switch (align) {
        case alTop:
            left = rect.Left;
            top = rect.Top;
            width = rect.Width();
            break;
        case alBottom:
            left = rect.Left;
            top = rect.Bottom - height;
            width = rect.Width();
            break;
        case alLeft:
            left = rect.Left;
            top = rect.Top;
            height = rect.Height();
            break;
        case alRight:
            left = rect.Right - width;
            top = rect.Top;
            height = rect.Height();
            break;
        case alClient:
            left = rect.Left;
            top = rect.Top;
            width = rect.Width();
            height = rect.Height();
            break;
        case alCustom:
            CustomAlignPosition(c, left, top, width, height, rect);
            break;
        default:
            break;
        }
        c->SetBounds(left, top, std::max(width, 0), std::max(height, 0));
        // The control's constraints may have kept it from taking the size it was given.
        switch (align) {
        case alTop:
            rect.Top += c->FHeight;
            break;
        case alBottom:
            rect.Bottom -= c->FHeight;
            break;
        case alLeft:
            rect.Left += c->FWidth;
            break;
        case alRight:
            rect.Right -= c->FWidth;
            break;
        default:
            break;
        }
    }
}

bool TWinControl::CanAutoSize(int& newWidth, int& newHeight) {
    if (ControlCount() == 0)
        return true;
    TRect extent(0, 0, 0, 0);
    bool any = false;
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        TRect bounds = c->BoundsRect();
        if (!any) {
            extent = bounds;
            any = true;
        } else {
            extent.Left = std::min(extent.Left, bounds.Left);
            extent.Top = std::min(extent.Top, bounds.Top);
            extent.Right = std::max(extent.Right, bounds.Right);
            extent.Bottom = std::max(extent.Bottom, bounds.Bottom);
        }
    }
    if (!any)
        return true;
    TRect client = ClientRect();
    newWidth = FWidth - client.Width() + extent.Right + FBorderWidth;
    newHeight = FHeight - client.Height() + extent.Bottom + FBorderWidth;
    return true;
}
