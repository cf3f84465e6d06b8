// The recording device of tests: draws nothing and keeps one line of text per drawing call, in device
// pixels, so a test can assert that a call was made with the right arguments. Given printer caps it is a
// recording printer, whose job calls are kept as lines too ("StartDoc 'Title'", "StartPage", "EndPage",
// "EndDoc", "AbortDoc").
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/backend/printers.h"

namespace backend {

class Recorder : public PrinterDevice {
public:
    Recorder(int width, int height) : FWidth(width), FHeight(height) {}
    explicit Recorder(const DeviceCaps& caps) : FWidth(caps.width), FHeight(caps.height), FCaps(caps) {}

    // Lines such as "Rectangle 1,1-10,10 pen=#000000/1 brush=solid #FFFFFF" or "Text 4,17 'Caption'";
    // text drawn with a turned font adds its device escapement, as in "turned 900".
    const std::vector<std::string>& Calls() const { return FCalls; }
    void Clear() { FCalls.clear(); }

    DeviceCaps Caps() const override;
    void FillRegion(const DrawState& state, const Region& region, const BrushSpec& brush,
                    std::uint32_t rop3) override;
    void InvertRegion(const DrawState& state, const Region& region) override;
    void Polyline(const DrawState& state, const PenSpec& pen, std::span<const Point> points) override;
    void Polygons(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                  std::span<const Point> points, std::span<const int> counts) override;
    void Rectangle(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                   const Rect& rect) override;
    void RoundRect(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, const Rect& rect,
                   int ellipseWidth, int ellipseHeight) override;
    void Ellipse(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                 const Rect& rect) override;
    void Arc(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, ArcKind kind,
             const Rect& rect, Point start, Point end, bool clockwise) override;
    void SetPixel(const DrawState& state, Point point, Pixel color) override;
    void StretchBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                    const Rect& sourceRect, std::uint32_t rop3, const BrushSpec& brush) override;
    void TransparentBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                        const Rect& sourceRect, Pixel transparent) override;
    void AlphaBlend(const DrawState& state, const Rect& dest, const BlitSource& source,
                    const Rect& sourceRect, int constantAlpha, bool sourceAlpha) override;
    void GradientRects(const DrawState& state, std::span<const GradientVertex> vertices,
                       std::span<const std::pair<int, int>> rects, bool vertical) override;
    void GradientTriangles(const DrawState& state, std::span<const GradientVertex> vertices,
                           std::span<const std::array<int, 3>> triangles) override;
    void Text(const DrawState& state, const TextRun& run) override;
    bool FloodFill(const DrawState& state, Point point, Pixel color, bool border,
                   const BrushSpec& brush) override;

    // Only with printer caps; the same answers as a real printer's.
    bool StartDoc(const std::u16string& title, const std::u16string& output) override;
    bool StartPage() override;
    bool EndPage() override;
    bool EndDoc() override;
    bool AbortDoc() override;
    // The pages the last job started.
    int Pages() const { return FPages; }

private:
    void Add(std::string line) { FCalls.push_back(std::move(line)); }

    int FWidth;
    int FHeight;
    std::optional<DeviceCaps> FCaps; // a recording printer's
    std::vector<std::string> FCalls;
    bool FInDoc = false;
    bool FInPage = false;
    int FPages = 0;
};

} // namespace backend
