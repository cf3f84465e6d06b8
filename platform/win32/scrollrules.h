// The rules the window scroll bars and the scroll-bar control both measure by: how long the arrows and
// the thumb are, where the thumb stands for a position, which position a dragged thumb means, and the
// notification code of each part.
#pragma once

#include <algorithm>

#include "platform/win32/winuser.h"

namespace win32 {

inline constexpr int MinimumScrollThumb = 8;

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// The highest position the thumb reaches: a page shows the last page entirely.
inline int ScrollMaxPosition(int max, UINT page) {
    return max - std::max<int>(static_cast<int>(page) - 1, 0);
}

// Where the parts of a bar stand along it.
struct ScrollGeometry {
    int arrow = 0;    // each arrow's length
    int thumbPos = 0; // from the bar's start
    int thumbLen = 0; // 0: no thumb
};

// A bar of length by thickness pixels; a disabled bar, one with nothing to scroll or one too short for
// a thumb has none.
inline ScrollGeometry MeasureScrollBar(int length, int thickness, int min, int max, UINT page, int trackPos,
                                       bool enabled) {
    ScrollGeometry geometry;
    geometry.arrow = std::min(thickness, length / 2);
    const int track = length - 2 * geometry.arrow;
    const int range = max - min + 1;
    const int maxPos = ScrollMaxPosition(max, page);
    if (track <= 0 || !enabled || maxPos <= min)
        return geometry;
    int thumb = page ? static_cast<int>(static_cast<Int64>(track) * page / std::max(range, 1)) : thickness;
    thumb = std::max(thumb, MinimumScrollThumb);
    if (thumb > track)
        return geometry;
    geometry.thumbLen = thumb;
    const int pos = std::clamp(trackPos, min, maxPos);
    geometry.thumbPos =
        geometry.arrow + static_cast<int>(static_cast<Int64>(track - thumb) * (pos - min) / (maxPos - min));
    return geometry;
}

// The position a thumb dragged to offset (from the track's start; room is how far it can go, above 0)
// stands for, rounded to the nearest.
inline int ScrollPositionAt(int offset, int room, int min, int maxPos) {
    const int thumb = std::clamp(offset, 0, room);
    return min + static_cast<int>((static_cast<Int64>(thumb) * (maxPos - min) + room / 2) / room);
}

// What pressing a part sends; SB_ENDSCROLL for the thumb and none, which send nothing on a press.
inline WORD ScrollCodeOf(ScrollPart part) {
    switch (part) {
    case ScrollPart::LineUp:
        return SB_LINEUP;
    case ScrollPart::LineDown:
        return SB_LINEDOWN;
    case ScrollPart::PageUp:
        return SB_PAGEUP;
    case ScrollPart::PageDown:
        return SB_PAGEDOWN;
    default:
        return SB_ENDSCROLL;
    }
}

} // namespace win32
