// The device behind a DC: the surface of a bitmap or window, the printer, or the recorder of tests.
// A DC turns each GDI call into one call here, in device pixels, with the pens, brushes, fonts and
// attributes resolved; the device only draws.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend/fonts.h"
#include "platform/backend/region.h"

namespace backend {

// Colours in the device are pixels: 0x00RRGGBB.
using Pixel = std::uint32_t;

// 32-bit pixels in rows; the stride is negative for rows stored from the bottom up.
struct PixelBuffer {
    std::uint8_t* top = nullptr; // the first byte of the top row
    std::ptrdiff_t stride = 0;   // bytes from one row to the row below it
    int width = 0;
    int height = 0;
    std::uint32_t* Row(int y) const { return reinterpret_cast<std::uint32_t*>(top + y * stride); }
};

enum class DashStyle { Solid, Dash, Dot, DashDot, DashDotDot, Alternate, User };
enum class LineCap { Round, Square, Flat };
enum class LineJoin { Round, Bevel, Miter };

struct PenSpec {
    bool null = false;
    Pixel color = 0;
    int width = 1; // device pixels; 1 draws thin cosmetic lines
    bool geometric = false;
    DashStyle dash = DashStyle::Solid;
    std::vector<int> userDashes; // on and off lengths for DashStyle::User
    LineCap cap = LineCap::Round;
    LineJoin join = LineJoin::Round;
    bool insideFrame = false;
};

// A brush pattern: mono patterns draw their black pixels in the text colour and white in the
// background colour, as GDI does.
struct Pattern {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
    bool monochrome = false;
};

enum class BrushKind { Null, Solid, Hatch, Pattern };
struct BrushSpec {
    BrushKind kind = BrushKind::Solid;
    Pixel color = 0;
    int hatch = 0; // HS_ value
    std::shared_ptr<const Pattern> pattern;
};

// DC attributes a drawing call depends on.
struct DrawState {
    const Region* clip = nullptr; // device pixels; null draws on the whole device
    int rop2 = 13;                // R2_ value
    bool opaqueBackground = true; // OPAQUE background mode
    Pixel backgroundColor = 0xFFFFFF;
    Pixel textColor = 0;
    Point brushOrigin;
    bool windingFill = false; // WINDING poly-fill mode
    int stretchMode = 1;      // STRETCH_ value
};

struct DeviceCaps {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;
    int dpiX = 96;
    int dpiY = 96;
    bool printer = false;
    int physicalWidth = 0; // printers: the whole page, in device pixels
    int physicalHeight = 0;
    int physicalOffsetX = 0; // printers: the unprintable margin
    int physicalOffsetY = 0;
};

enum class ArcKind { Arc, Pie, Chord };

// Where a blit reads: pixels of another device or of a bitmap given in a call.
struct BlitSource {
    const PixelBuffer* pixels = nullptr;
    bool monochrome = false;
    Pixel backgroundColor = 0xFFFFFF; // the source DC's, for colour-to-monochrome blits
};

// One run of text: glyph positions are whole pixels along the baseline from the origin.
struct TextRun {
    FontRef font;
    std::u16string_view text;  // the caller's characters, alive for the call that draws the run
    std::vector<int> offsets;  // offset of each UTF-16 unit from the origin along the baseline
    std::vector<int> yOffsets; // per unit, for ETO_PDY; empty otherwise
    int width = 0;             // advance of the whole run
    Point origin;              // the baseline start
    Pixel color = 0;
    bool opaqueCell = false; // fill the text cells with the background colour first
    Pixel backgroundColor = 0xFFFFFF;
    bool hasOpaqueRect = false;
    Rect opaqueRect; // ETO_OPAQUE
    bool hasClipRect = false;
    Rect clipRect; // ETO_CLIPPED
    // Underlines of single characters, as DrawText's prefixes draw them: x from and to along the
    // baseline.
    std::vector<std::pair<int, int>> prefixUnderlines;
    bool underlinesOnly = false; // DT_PREFIXONLY
};

struct GradientVertex {
    int x = 0;
    int y = 0;
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
    std::uint16_t alpha = 0;
};

class Device {
public:
    virtual ~Device() = default;
    virtual DeviceCaps Caps() const = 0;
    // The device's pixels where it has them (surfaces); null for printers and recorders.
    virtual const PixelBuffer* Pixels() const { return nullptr; }

    // Fills with a brush, combining brush and destination by the state's ROP2 only when rop is 0;
    // otherwise by the pattern part of the ternary raster operation rop (PatBlt).
    virtual void FillRegion(const DrawState& state, const Region& region, const BrushSpec& brush,
                            std::uint32_t rop3 = 0) = 0;
    virtual void InvertRegion(const DrawState& state, const Region& region) = 0;
    virtual void Polyline(const DrawState& state, const PenSpec& pen, std::span<const Point> points) = 0;
    virtual void Polygons(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                          std::span<const Point> points, std::span<const int> counts) = 0;
    virtual void Rectangle(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                           const Rect& rect) = 0;
    virtual void RoundRect(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                           const Rect& rect, int ellipseWidth, int ellipseHeight) = 0;
    virtual void Ellipse(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                         const Rect& rect) = 0;
    // Counter-clockwise from start to end unless clockwise.
    virtual void Arc(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, ArcKind kind,
                     const Rect& rect, Point start, Point end, bool clockwise) = 0;
    virtual void SetPixel(const DrawState& state, Point point, Pixel color) = 0;
    // Copies source pixels (or the brush alone when source.pixels is null) into dest, stretching by the
    // state's stretch mode, combined by the ternary raster operation.
    virtual void StretchBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                            const Rect& sourceRect, std::uint32_t rop3, const BrushSpec& brush) = 0;
    virtual void TransparentBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                                const Rect& sourceRect, Pixel transparent) = 0;
    virtual void AlphaBlend(const DrawState& state, const Rect& dest, const BlitSource& source,
                            const Rect& sourceRect, int constantAlpha, bool sourceAlpha) = 0;
    virtual void GradientRects(const DrawState& state, std::span<const GradientVertex> vertices,
                               std::span<const std::pair<int, int>> rects, bool vertical) = 0;
    virtual void GradientTriangles(const DrawState& state, std::span<const GradientVertex> vertices,
                                   std::span<const std::array<int, 3>> triangles) = 0;
    // Rotation by the font's escapement happens here, around the origin.
    virtual void Text(const DrawState& state, const TextRun& run) = 0;
    // border: fill the area bounded by color; otherwise fill the area of color. False when nothing
    // could be filled.
    virtual bool FloodFill(const DrawState& state, Point point, Pixel color, bool border,
                           const BrushSpec& brush) = 0;
};

// A device on pixels in memory, drawn with GDI's pixel rules. It does not own the pixels.
std::shared_ptr<Device> CreateSurface(const PixelBuffer& pixels, bool monochrome);

// A device that draws nothing and keeps one line of text per call, for tests where the call is the point.
class Recorder;
std::shared_ptr<Recorder> CreateRecorder(int width, int height);
// A recording printer: a recorder with these caps (printer set) that also keeps its job calls.
std::shared_ptr<Recorder> CreateRecordingPrinter(const DeviceCaps& caps);

} // namespace backend
