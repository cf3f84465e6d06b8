// The part painter of the visual-styles library: every part of every class drawn with plain GDI in the
// theme's flat light look, with 1-pixel borders, vertical gradients and glyphs built from pixel rows so
// that they stay crisp at any size.
#include <algorithm>
#include <cstdlib>

#include "platform/win32/uxtheme_private.h"

namespace win32::theme {

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

RECT Deflated(RECT r, int dx, int dy) {
    InflateRect(&r, -dx, -dy);
    return r;
}

void Solid(HDC dc, const RECT& r, COLORREF color) {
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Pixels(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    Solid(dc, RECT{left, top, right, bottom}, color);
}

void Gradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    if (top == bottom || Height(r) < 2) {
        Solid(dc, r, top);
        return;
    }
    TRIVERTEX vertices[2] = {
        {r.left, r.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
         static_cast<COLOR16>(GetBValue(top) << 8), 0},
        {r.right, r.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
         static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0},
    };
    GRADIENT_RECT mesh{0, 1};
    GradientFill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

void Border(HDC dc, const RECT& r, COLORREF color) {
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    HBRUSH brush = CreateSolidBrush(color);
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
}

// The bordered face most parts share.
void Face(HDC dc, const RECT& r, const Look& look) {
    if (!look.drawFace)
        return;
    Gradient(dc, Deflated(r, 1, 1), look.faceTop, look.faceBottom);
    Border(dc, r, look.border);
}

// A filled triangle pointing in the direction, centred in r, built from rows of pixels.
void ArrowGlyph(HDC dc, const RECT& r, Arrow arrow, COLORREF color) {
    if (arrow == Arrow::None)
        return;
    int w = Width(r);
    int h = Height(r);
    bool upDown = arrow == Arrow::Up || arrow == Arrow::Down;
    int across = upDown ? w : h; // the side the triangle's base lies along
    int along = upDown ? h : w;
    int depth = std::max(2, (std::min(w, h) + 1) / 4);
    depth = std::min(depth, std::max(1, std::min((across + 1) / 2, along)));
    int centre = (upDown ? r.left : r.top) + (across - 1) / 2;
    int start = (upDown ? r.top : r.left) + (along - depth) / 2;
    for (int i = 0; i < depth; ++i) {
        // Row i counted from the base: the base is the widest.
        int half = depth - 1 - i;
        int row = arrow == Arrow::Down || arrow == Arrow::Right ? start + i : start + depth - 1 - i;
        if (upDown)
            Pixels(dc, centre - half, row, centre + half + 1, row + 1, color);
        else
            Pixels(dc, row, centre - half, row + 1, centre + half + 1, color);
    }
}

// A line of the given thickness (downwards), one pixel column at a time.
void Stroke(HDC dc, int x0, int y0, int x1, int y1, int thickness, COLORREF color) {
    int dx = std::abs(x1 - x0);
    int dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1;
    int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Pixels(dc, x0, y0, x0 + 1, y0 + thickness, color);
        if (x0 == x1 && y0 == y1)
            break;
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void CheckGlyph(HDC dc, const RECT& box, COLORREF color) {
    RECT inner = Deflated(box, 2, 2);
    int n = std::min(Width(inner), Height(inner));
    if (n < 4)
        return;
    int thickness = n >= 9 ? 2 : 1;
    int left = inner.left + (Width(inner) - n) / 2;
    int top = inner.top + (Height(inner) - n) / 2;
    // A short stroke down to the elbow, a long one up to the right.
    int elbowX = left + n * 3 / 8;
    int elbowY = top + n - 1 - thickness;
    Stroke(dc, left + 1, elbowY - (elbowX - left - 1), elbowX, elbowY, thickness, color);
    Stroke(dc, elbowX, elbowY, left + n - 1, elbowY - (left + n - 1 - elbowX), thickness, color);
}

// An aliased circle: outline in the border colour, inside in fill.
void Circle(HDC dc, const RECT& r, COLORREF border, COLORREF fill) {
    HPEN pen = CreatePen(PS_SOLID, 1, border);
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

RECT CentredSquare(const RECT& r, int side) {
    int left = r.left + (Width(r) - side) / 2;
    int top = r.top + (Height(r) - side) / 2;
    return RECT{left, top, left + side, top + side};
}

RECT Centred(const RECT& r, SIZE size) {
    int cx = std::min<int>(size.cx, Width(r));
    int cy = std::min<int>(size.cy, Height(r));
    int left = r.left + (Width(r) - cx) / 2;
    int top = r.top + (Height(r) - cy) / 2;
    return RECT{left, top, left + cx, top + cy};
}

// The question mark of the help button, 5 x 8 pixels.
constexpr const char* HelpRows[] = {".###.", "#...#", "....#", "...#.", "..#..", "..#..", ".....", "..#.."};

void CaptionGlyph(HDC dc, const RECT& r, Glyph glyph, COLORREF color, COLORREF background) {
    int side = std::min(Width(r), Height(r));
    int g = std::max(3, side * 9 / 20); // the glyph's box
    RECT box = CentredSquare(r, g);
    int thick = side >= 18 ? 2 : 1;
    switch (glyph) {
    case Glyph::Minimize:
        Pixels(dc, box.left, box.bottom - thick, box.right, box.bottom, color);
        break;
    case Glyph::Maximize:
        Border(dc, box, color);
        Pixels(dc, box.left, box.top, box.right, box.top + thick, color);
        break;
    case Glyph::Restore: {
        int step = std::max(2, g / 4);
        RECT back{box.left + step, box.top, box.right, box.bottom - step};
        RECT front{box.left, box.top + step, box.right - step, box.bottom};
        Border(dc, back, color);
        Solid(dc, Deflated(front, 1, 1), background);
        Border(dc, front, color);
        break;
    }
    case Glyph::Close:
        Stroke(dc, box.left, box.top, box.right - 1, box.bottom - 1, thick, color);
        Stroke(dc, box.left, box.bottom - 1, box.right - 1, box.top, thick, color);
        break;
    case Glyph::Help: {
        int left = r.left + (Width(r) - 5) / 2;
        int top = r.top + (Height(r) - 8) / 2;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 5; ++x)
                if (HelpRows[y][x] == '#')
                    Pixels(dc, left + x, top + y, left + x + 1, top + y + 1, color);
        break;
    }
    case Glyph::Pin:
        Border(dc, RECT{box.left + g / 4, box.top, box.right - g / 4, box.top + g / 2}, color);
        Pixels(dc, box.left, box.top + g / 2, box.right, box.top + g / 2 + 1, color);
        Pixels(dc, box.left + g / 2, box.top + g / 2, box.left + g / 2 + 1, box.bottom, color);
        break;
    case Glyph::Chevron: {
        RECT first{r.left, r.top, r.left + Width(r) / 2 + 1, r.bottom};
        RECT second{r.left + Width(r) / 2 - 1, r.top, r.right, r.bottom};
        ArrowGlyph(dc, first, Arrow::Right, color);
        ArrowGlyph(dc, second, Arrow::Right, color);
        break;
    }
    case Glyph::None:
        break;
    }
}

// Dots of 2 x 2 pixels every 4 pixels along the part's long side.
void GripperDots(HDC dc, const RECT& r, bool vertical, COLORREF color) {
    if (vertical) {
        int x = r.left + (Width(r) - 2) / 2;
        for (int y = r.top + 1; y + 2 <= r.bottom - 1; y += 4)
            Pixels(dc, x, y, x + 2, y + 2, color);
    } else {
        int y = r.top + (Height(r) - 2) / 2;
        for (int x = r.left + 1; x + 2 <= r.right - 1; x += 4)
            Pixels(dc, x, y, x + 2, y + 2, color);
    }
}

// The triangle of dots in the bottom-right corner of a size box.
void SizeDots(HDC dc, const RECT& r, COLORREF color) {
    int steps = std::max(1, std::min(Width(r), Height(r)) / 4);
    for (int row = 0; row < steps; ++row)
        for (int column = 0; column <= row; ++column) {
            int x = r.right - 3 - 4 * column;
            int y = r.bottom - 3 - 4 * (steps - 1 - row);
            Pixels(dc, x, y, x + 2, y + 2, color);
        }
}

void PaintCheckBox(HDC dc, const RECT& r, const Look& look, const StateInfo& state) {
    RECT box = CentredSquare(r, std::min(Width(r), Height(r)));
    Solid(dc, Deflated(box, 1, 1), look.faceTop);
    Border(dc, box, look.border);
    if (state.mixed)
        Solid(dc, Deflated(box, std::max(3, Width(box) / 4), std::max(3, Width(box) / 4)), look.glyph);
    else if (state.checked)
        CheckGlyph(dc, box, look.glyph);
}

// dotOnly: the password character of an edit, drawn at its own size rather than filling the rectangle.
void PaintRadioButton(HDC dc, const RECT& r, const Look& look, const StateInfo& state, bool dotOnly,
                      SIZE natural) {
    RECT box = dotOnly ? Centred(r, natural) : CentredSquare(r, std::min(Width(r), Height(r)));
    if (!dotOnly)
        Circle(dc, box, look.border, look.faceTop);
    if (state.checked) {
        int inset = dotOnly ? 0 : std::max(3, Width(box) * 3 / 10);
        RECT dot = Deflated(box, inset, inset);
        if (Width(dot) > 0)
            Circle(dc, dot, look.glyph, look.glyph);
    }
}

void PaintHeaderItem(HDC dc, const RECT& r, const Look& look) {
    Gradient(dc, r, look.faceTop, look.faceBottom);
    Pixels(dc, r.left, r.bottom - 1, r.right, r.bottom, look.border);
    Pixels(dc, r.right - 1, r.top, r.right, r.bottom, look.border);
}

void PaintTabItem(HDC dc, const RECT& r, const Look& look, const StateInfo& state) {
    bool selected = state.visual == Visual::Selected || state.visual == Visual::Focused;
    Gradient(dc, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom}, look.faceTop, look.faceBottom);
    Pixels(dc, r.left, r.top, r.right, r.top + 1, look.border);
    Pixels(dc, r.left, r.top, r.left + 1, r.bottom, look.border);
    Pixels(dc, r.right - 1, r.top, r.right, r.bottom, look.border);
    // The selected tab opens into the pane below it.
    if (!selected)
        Pixels(dc, r.left, r.bottom - 1, r.right, r.bottom, look.border);
}

void PaintThumb(HDC dc, const RECT& r, const Look& look, bool vertical) {
    Face(dc, r, look);
    // Three short grip lines in the middle when there is room.
    int length = vertical ? Height(r) : Width(r);
    int breadth = vertical ? Width(r) : Height(r);
    if (length < 14 || breadth < 8)
        return;
    int mid = vertical ? r.top + Height(r) / 2 : r.left + Width(r) / 2;
    int from = (vertical ? r.left : r.top) + breadth / 4 + 1;
    int to = (vertical ? r.right : r.bottom) - breadth / 4 - 1;
    for (int i = -2; i <= 2; i += 2) {
        if (vertical)
            Pixels(dc, from, mid + i, to, mid + i + 1, look.glyph);
        else
            Pixels(dc, mid + i, from, mid + i + 1, to, look.glyph);
    }
}

void PaintTreeGlyph(HDC dc, const RECT& r, const Look& look, const StateInfo& state, SIZE natural) {
    RECT box = Centred(r, natural);
    Solid(dc, Deflated(box, 1, 1), look.faceTop);
    Border(dc, box, look.border);
    int cx = box.left + Width(box) / 2;
    int cy = box.top + Height(box) / 2;
    Pixels(dc, box.left + 2, cy, box.right - 2, cy + 1, look.glyph);
    if (!state.checked) // closed: a plus
        Pixels(dc, cx, box.top + 2, cx + 1, box.bottom - 2, look.glyph);
}

void PaintSeparator(HDC dc, ThemeClass themeClass, const RECT& r, const Look& look, bool vertical) {
    if (themeClass == ThemeClass::Status) { // a pane ends in a divider on its right
        Pixels(dc, r.right - 1, r.top + 2, r.right, r.bottom - 2, look.border);
        return;
    }
    if (vertical) {
        int x = r.left + (Width(r) - 1) / 2;
        Pixels(dc, x, r.top + 2, x + 1, r.bottom - 2, look.border);
    } else {
        int y = r.top + (Height(r) - 1) / 2;
        Pixels(dc, r.left + 2, y, r.right - 2, y + 1, look.border);
    }
}

} // namespace

bool PaintPart(HDC dc, ThemeClass themeClass, int part, int state, const RECT& rect) {
    PartInfo info = DescribePart(themeClass, part);
    if (info.kind == PartKind::None)
        return false;
    StateInfo stateInfo = DescribeState(themeClass, part, state);
    Look look = LookOf(themeClass, part, state);
    const RECT& r = rect;
    switch (info.kind) {
    case PartKind::None:
        break;
    case PartKind::PushButton:
    case PartKind::Field:
    case PartKind::ProgressBar:
    case PartKind::Caption:
    case PartKind::Track:
    case PartKind::SliderThumb:
    case PartKind::TabPane:
    case PartKind::Tooltip:
    case PartKind::ListItem:
        Face(dc, r, look);
        break;
    case PartKind::CheckBox:
        PaintCheckBox(dc, r, look, stateInfo);
        break;
    case PartKind::RadioButton:
        PaintRadioButton(dc, r, look, stateInfo, themeClass == ThemeClass::Edit, info.natural);
        break;
    case PartKind::GroupBox:
        Border(dc, r, look.border);
        break;
    case PartKind::Fill:
        if (look.drawFace)
            Solid(dc, r, look.faceTop);
        break;
    case PartKind::ArrowButton:
        Face(dc, r, look);
        ArrowGlyph(dc, Deflated(r, 1, 1), stateInfo.arrow, look.glyph);
        break;
    case PartKind::FlatButton:
        Face(dc, r, look);
        if (info.glyph != Glyph::None)
            CaptionGlyph(dc, Deflated(r, 2, 2), info.glyph, look.glyph, look.faceTop);
        else
            ArrowGlyph(dc, Deflated(r, 1, 1), stateInfo.arrow, look.glyph);
        break;
    case PartKind::HeaderItem:
        PaintHeaderItem(dc, r, look);
        break;
    case PartKind::SortArrow:
        ArrowGlyph(dc, Centred(r, info.natural), stateInfo.arrow, look.glyph);
        break;
    case PartKind::ProgressChunk:
        Gradient(dc, r, look.faceTop, look.faceBottom);
        break;
    case PartKind::CaptionButton:
        Face(dc, r, look);
        CaptionGlyph(dc, Deflated(r, 1, 1), info.glyph, look.glyph, look.faceBottom);
        break;
    case PartKind::Frame:
        Solid(dc, r, look.border);
        break;
    case PartKind::Thumb:
        PaintThumb(dc, r, look, info.vertical);
        break;
    case PartKind::Gripper:
        GripperDots(dc, info.fixedSize ? Centred(r, info.natural) : r, info.vertical, look.glyph);
        break;
    case PartKind::SizeBox:
        SizeDots(dc, r, look.glyph);
        break;
    case PartKind::Separator:
        PaintSeparator(dc, themeClass, r, look, info.vertical);
        break;
    case PartKind::TabItem:
        PaintTabItem(dc, r, look, stateInfo);
        break;
    case PartKind::TreeGlyph:
        PaintTreeGlyph(dc, r, look, stateInfo, info.natural);
        break;
    case PartKind::Tics: {
        // One line across the middle of the rectangle.
        int x = r.left + (Width(r) - 1) / 2;
        int y = r.top + (Height(r) - 1) / 2;
        if (info.vertical)
            Pixels(dc, x, r.top, x + 1, r.bottom, look.glyph);
        else
            Pixels(dc, r.left, y, r.right, y + 1, look.glyph);
        break;
    }
    }
    return true;
}

} // namespace win32::theme
