// The thin scroll bar the grid shows along its right and bottom edges in its metro scroll look.
#pragma once

#include "platform/framework/Controls.h"

class TAdvStringGrid;

ZELMOR_ENUM(TScrollDirection, sdVertical, sdHorizontal)

// A flat thumb over the grid's own content, sized by the share of rows (columns) in view. A click beside
// the thumb pages, a drag moves the top row (left column). It works only on a TAdvStringGrid parent:
// elsewhere it paints nothing and ignores the mouse.
class TScrollControl : public TCustomControl {
    DECLARE_CLASS(TScrollControl, TCustomControl)

public:
    explicit TScrollControl(TComponent* AOwner);

    // The thumb's colour; silver at first.
    using TCustomControl::Color;
    // Thickness of the painted thumb.
    Integer ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(Integer Value) { FScrollWidth = Value; }
    TScrollDirection Direction() const { return FDirection; }
    void SetDirection(TScrollDirection Value) { FDirection = Value; }

    TAdvStringGrid* GetGrid() const;
    // The length of the track: the control less the fixed lines (and the footer rows or right fixed
    // columns) at its ends; it starts after the fixed rows (columns).
    Integer GetTrackLength();
    Integer GetTrackStart();
    // Where the thumb starts and how long it is, at least 20 pixels and never past the control's end.
    void GetThumb(Integer& Start, Integer& Length);
    // Whether some rows (columns) are out of view, so that a thumb shows.
    bool HasThumb();

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // The grid's background and cells behind the bar, painted into the bar's own DC first.
    void PaintParentBehind(TAdvStringGrid* grid);

    Integer FScrollWidth = 4;
    TScrollDirection FDirection = sdVertical;
    bool FDownOnScroller = false; // the thumb is being dragged
    Integer FDownPos = 0;         // the press coordinate along the axis
    Integer FDownRow = 0;         // the top row (left column) when the drag began
};
