// TScrollBar: a scroll bar of its own on the SCROLLBAR window class.
#pragma once

#include "platform/framework/Controls.h"

// Also the kind of a scrolling window's scroll bars.
ZELMOR_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
ZELMOR_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom,
            scEndScroll)
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// The arrows move Position by SmallChange, the track by LargeChange, the thumb to where it is dragged.
// Every step fires OnScroll (which may change the position it is going to), and every change of Position,
// in code too, fires OnChange.
class TScrollBar : public TWinControl {
    DECLARE_CLASS(TScrollBar, TWinControl)

public:
    explicit TScrollBar(TComponent* owner);

    // Changing the kind of a bar that is not being read turns it: width and height swap.
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    Integer LargeChange() const { return FLargeChange; }
    void SetLargeChange(Integer value) { FLargeChange = value; }
    Integer Max() const { return FMax; }
    void SetMax(Integer value) { SetParams(FPosition, FMin, value); }
    Integer Min() const { return FMin; }
    void SetMin(Integer value) { SetParams(FPosition, value, FMax); }
    Integer PageSize() const { return FPageSize; }
    // EInvalidOperation "Scrollbar property out of range" for a page larger than the range.
    void SetPageSize(Integer value);
    Integer Position() const { return FPosition; }
    void SetPosition(Integer value) { SetParams(value, FMin, FMax); }
    Integer SmallChange() const { return FSmallChange; }
    void SetSmallChange(Integer value) { FSmallChange = value; }
    // Position is kept within min..max; EInvalidOperation "Scrollbar property out of range" when max is
    // below min or below the page size.
    void SetParams(Integer position, Integer min, Integer max);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    virtual void Change();
    virtual void Scroll(TScrollCode scrollCode, int& scrollPos);
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    void CNScroll(TMessage& message);
    // Shows the range, page and position in the window.
    void UpdateScrollInfo();

    TScrollBarKind FKind = sbHorizontal;
    Integer FLargeChange = 1;
    Integer FMax = 100;
    Integer FMin = 0;
    Integer FPageSize = 0;
    Integer FPosition = 0;
    Integer FSmallChange = 1;
};
