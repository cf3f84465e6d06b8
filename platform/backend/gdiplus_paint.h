// Anti-aliased painting for the GDI+ layer: paths with pens and brushes, images and glyphs drawn onto
// 32-bit pixels (a DC's surface or a bitmap), and the geometry questions about paths and regions.
// Plain C++ types only; the painter behind it is the backend's business.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/backend/device.h"
#include "platform/backend/fonts.h"

namespace backend::gdip {

struct PointF {
    float x = 0;
    float y = 0;
};

struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

// x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
struct Matrix {
    float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    PointF Map(PointF p) const { return {m11 * p.x + m21 * p.y + dx, m12 * p.x + m22 * p.y + dy}; }
    // this, then next.
    Matrix Then(const Matrix& next) const {
        return {m11 * next.m11 + m12 * next.m21,         m11 * next.m12 + m12 * next.m22,
                m21 * next.m11 + m22 * next.m21,         m21 * next.m12 + m22 * next.m22,
                dx * next.m11 + dy * next.m21 + next.dx, dx * next.m12 + dy * next.m22 + next.dy};
    }
    bool Identity() const { return m11 == 1 && m12 == 0 && m21 == 0 && m22 == 1 && dx == 0 && dy == 0; }
};

// Figures as the flat API keeps them: point types 0 start, 1 line, 3 Bézier (three points per
// segment), 0x80 closes the figure at that point.
struct Path {
    std::vector<PointF> points;
    std::vector<std::uint8_t> types;
    bool winding = false;
};

// 0xAARRGGBB pixels, not premultiplied, top row first.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

enum class Wrap { Tile, TileFlipX, TileFlipY, TileFlipXY, Clamp };

struct Brush {
    int type = 0;            // 0 solid, 1 hatch, 2 texture, 3 path gradient, 4 linear gradient
    std::uint32_t color = 0; // solid colour; hatch foreground
    std::uint32_t back = 0;  // hatch background
    int hatch = 0;           // hatch style
    Wrap wrap = Wrap::Tile;  // texture and gradients
    Matrix transform;        // texture and gradients: brush space to world space
    std::shared_ptr<const Bitmap> texture;
    // Gradients: colours at positions from 0 to 1 along the gradient (at least two stops).
    std::vector<float> positions;
    std::vector<std::uint32_t> colors;
    bool gamma = false; // interpolate in linear light
    PointF start, end;  // linear gradient line
    // Path gradient: the boundary, the centre and the colour at each boundary point (the last one
    // repeats when there are fewer colours than points).
    Path boundary;
    PointF center;
    std::uint32_t centerColor = 0xFFFFFFFF;
    std::vector<std::uint32_t> surround;
};

enum class Cap {
    Flat,
    Square,
    Round,
    Triangle,
    NoAnchor,
    SquareAnchor,
    RoundAnchor,
    DiamondAnchor,
    ArrowAnchor
};
enum class Join { Miter, Bevel, Round, MiterClipped };

struct Pen {
    float width = 1; // world units; what maps below one device pixel is drawn one pixel wide
    Brush brush;
    std::vector<float> dashes; // on and off lengths in pen widths; empty draws solid
    float dashOffset = 0;
    int dashCap = 0; // 0 flat, 2 round, 3 triangle
    Cap startCap = Cap::Flat;
    Cap endCap = Cap::Flat;
    Join join = Join::Miter;
    float miterLimit = 10;
    bool inset = false;
};

// A region: a start (infinite, empty, a rectangle, a path or another region) combined step by step.
struct Region;
struct RegionStep {
    enum class Kind { Infinite, Empty, Rect, Path, Region };
    int combine = 0; // CombineMode; the first step replaces
    Kind kind = Kind::Infinite;
    RectF rect;
    Path path;
    std::shared_ptr<const Region> region;
    Matrix transform; // applied to this step's shape
};
struct Region {
    std::vector<RegionStep> steps; // none: infinite
};

// What a graphics draws on.
struct Target {
    PixelBuffer pixels;
    bool alpha = false; // the pixels carry alpha (bitmaps); else their alpha bytes mean nothing
    const backend::Region* deviceClip = nullptr; // a DC's clip in absolute device pixels, or null
    Point origin;                                // the device pixel of the graphics' (0, 0)
};

// The settings of one drawing call.
struct Context {
    Matrix world;                       // world (with page units) to the graphics' pixels
    std::shared_ptr<const Region> clip; // in the graphics' pixels; null for none
    bool antialias = false;
    bool halfPixel = false; // pixel centres at half coordinates (PixelOffsetModeHalf)
    bool antialiasText = true;
    bool sourceCopy = false;  // CompositingModeSourceCopy
    bool smoothImages = true; // interpolate scaled images
};

void FillPath(const Target& target, const Context& context, const Path& path, const Brush& brush);
void DrawPath(const Target& target, const Context& context, const Path& path, const Pen& pen);
void FillRegion(const Target& target, const Context& context, const Region& region, const Brush& brush);
// Replaces every pixel inside the clip with color.
void Clear(const Target& target, const Context& context, std::uint32_t color);
// The part source of the bitmap into the parallelogram whose top-left, top-right and bottom-left
// corners are dest (world units).
void DrawBitmap(const Target& target, const Context& context, const Bitmap& bitmap, const RectF& source,
                const PointF dest[3]);

// One line of laid-out text: glyph positions along the baseline, in world units.
struct GlyphLine {
    std::u16string text;
    std::vector<float> x;                            // per UTF-16 unit
    float y = 0;                                     // the baseline
    float width = 0;                                 // advance of the whole line
    std::vector<std::pair<float, float>> underlines; // extra underlines (hot-key prefixes), from and to
};
// Draws glyphs of font (realised at the em size in device pixels, then scaled by scale to world
// units) with the brush; underline and strike-out come from the font request.
void DrawGlyphs(const Target& target, const Context& context, const FontRef& font, float scale,
                const std::vector<GlyphLine>& lines, const Brush& brush);
// Appends the outlines of the glyphs to path.
void AppendGlyphOutlines(Path& path, const FontRef& font, float scale, const std::vector<GlyphLine>& lines);

// Whether a face name is installed or known to the font substitution table.
bool FaceKnown(const std::u16string& face);

// ---- Geometry ----
// Bounds of the path after matrix, widened by pen when given (its width taken after matrix).
RectF PathBounds(const Path& path, const Matrix& matrix, const Pen* pen);
bool PathContains(const Path& path, PointF point);
bool PathOutlineContains(const Path& path, const Pen& pen, PointF point);
// Bounds of the region; infinite regions answer their conventional huge rectangle.
RectF RegionBounds(const Region& region);
bool RegionEmpty(const Region& region);
bool RegionInfinite(const Region& region);
bool RegionContains(const Region& region, PointF point);
bool RegionsEqual(const Region& a, const Region& b);
// The pixels of the region (pixel centres inside).
backend::Region RegionPixels(const Region& region);

} // namespace backend::gdip
