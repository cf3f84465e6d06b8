// The recording device: each call becomes one line of text.
#include "platform/backend/recorder.h"

#include "platform/backend/fonts.h"

#include <QString>
#include <cstdio>

namespace backend {

namespace {

std::string Color(Pixel c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return text;
}

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string PointText(const Point& p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

std::string PointsText(std::span<const Point> points) {
    std::string text;
    for (const Point& p : points) {
        if (!text.empty())
            text += " ";
        text += PointText(p);
    }
    return text;
}

std::string PenText(const PenSpec& pen) {
    if (pen.null)
        return "pen=null";
    return "pen=" + Color(pen.color) + "/" + std::to_string(pen.width);
}

std::string BrushText(const BrushSpec& brush) {
    switch (brush.kind) {
    case BrushKind::Null:
        return "brush=null";
    case BrushKind::Solid:
        return "brush=" + Color(brush.color);
    case BrushKind::Hatch:
        return "brush=hatch" + std::to_string(brush.hatch) + " " + Color(brush.color);
    case BrushKind::Pattern:
        return "brush=pattern";
    }
    return "brush=?";
}

std::string RopText(const DrawState& state) {
    return state.rop2 == 13 ? "" : " rop2=" + std::to_string(state.rop2);
}

std::string RegionText(const Region& region) {
    std::string text;
    for (const Rect& r : region.Rects()) {
        if (!text.empty())
            text += " ";
        text += RectText(r);
    }
    return text;
}

std::string HexRop(std::uint32_t rop) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(rop));
    return text;
}

} // namespace

DeviceCaps Recorder::Caps() const {
    if (FCaps)
        return *FCaps;
    DeviceCaps caps;
    caps.width = FWidth;
    caps.height = FHeight;
    return caps;
}

void Recorder::FillRegion(const DrawState& state, const Region& region, const BrushSpec& brush,
                          std::uint32_t rop3) {
    Add("Fill " + RegionText(region) + " " + BrushText(brush) +
        (rop3 ? " rop=" + HexRop(rop3) : RopText(state)));
}

void Recorder::InvertRegion(const DrawState&, const Region& region) {
    Add("Invert " + RegionText(region));
}

void Recorder::Polyline(const DrawState& state, const PenSpec& pen, std::span<const Point> points) {
    Add("Polyline " + PointsText(points) + " " + PenText(pen) + RopText(state));
}

void Recorder::Polygons(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                        std::span<const Point> points, std::span<const int> counts) {
    std::string sizes;
    for (int c : counts)
        sizes += (sizes.empty() ? "" : ",") + std::to_string(c);
    Add("Polygons [" + sizes + "] " + PointsText(points) + " " + PenText(pen) + " " + BrushText(brush) +
        RopText(state));
}

void Recorder::Rectangle(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                         const Rect& rect) {
    Add("Rectangle " + RectText(rect) + " " + PenText(pen) + " " + BrushText(brush) + RopText(state));
}

void Recorder::RoundRect(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, const Rect& rect,
                         int ellipseWidth, int ellipseHeight) {
    Add("RoundRect " + RectText(rect) + " " + std::to_string(ellipseWidth) + "x" +
        std::to_string(ellipseHeight) + " " + PenText(pen) + " " + BrushText(brush) + RopText(state));
}

void Recorder::Ellipse(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, const Rect& rect) {
    Add("Ellipse " + RectText(rect) + " " + PenText(pen) + " " + BrushText(brush) + RopText(state));
}

void Recorder::Arc(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, ArcKind kind,
                   const Rect& rect, Point start, Point end, bool clockwise) {
    const char* name = kind == ArcKind::Arc ? "Arc " : kind == ArcKind::Pie ? "Pie " : "Chord ";
    Add(name + RectText(rect) + " " + PointText(start) + " " + PointText(end) + (clockwise ? " cw " : " ") +
        PenText(pen) + (kind == ArcKind::Arc ? "" : " " + BrushText(brush)) + RopText(state));
}

void Recorder::SetPixel(const DrawState&, Point point, Pixel color) {
    Add("SetPixel " + PointText(point) + " " + Color(color));
}

void Recorder::StretchBlt(const DrawState&, const Rect& dest, const BlitSource& source,
                          const Rect& sourceRect, std::uint32_t rop3, const BrushSpec&) {
    Add("StretchBlt " + RectText(dest) + (source.pixels ? " from " + RectText(sourceRect) : "") +
        " rop=" + HexRop(rop3));
}

void Recorder::TransparentBlt(const DrawState&, const Rect& dest, const BlitSource&, const Rect& sourceRect,
                              Pixel transparent) {
    Add("TransparentBlt " + RectText(dest) + " from " + RectText(sourceRect) + " key=" + Color(transparent));
}

void Recorder::AlphaBlend(const DrawState&, const Rect& dest, const BlitSource&, const Rect& sourceRect,
                          int constantAlpha, bool sourceAlpha) {
    Add("AlphaBlend " + RectText(dest) + " from " + RectText(sourceRect) +
        " alpha=" + std::to_string(constantAlpha) + (sourceAlpha ? " per-pixel" : ""));
}

void Recorder::GradientRects(const DrawState&, std::span<const GradientVertex> vertices,
                             std::span<const std::pair<int, int>> rects, bool vertical) {
    Add("GradientRects " + std::to_string(rects.size()) + (vertical ? " vertical" : " horizontal") + " of " +
        std::to_string(vertices.size()));
}

void Recorder::GradientTriangles(const DrawState&, std::span<const GradientVertex> vertices,
                                 std::span<const std::array<int, 3>> triangles) {
    Add("GradientTriangles " + std::to_string(triangles.size()) + " of " + std::to_string(vertices.size()));
}

void Recorder::Text(const DrawState&, const TextRun& run) {
    std::string line =
        "Text " + PointText(run.origin) + " '" +
        QString::fromUtf16(run.text.data(), static_cast<qsizetype>(run.text.size())).toStdString() + "' " +
        Color(run.color);
    if (run.font && RequestOf(*run.font).escapement != 0)
        line += " turned " + std::to_string(RequestOf(*run.font).escapement);
    if (run.opaqueCell)
        line += " opaque " + Color(run.backgroundColor);
    if (run.hasOpaqueRect)
        line += " fill " + RectText(run.opaqueRect);
    if (run.hasClipRect)
        line += " clip " + RectText(run.clipRect);
    for (const auto& [from, to] : run.prefixUnderlines)
        line += " prefix " + std::to_string(from) + "-" + std::to_string(to);
    if (run.underlinesOnly)
        line += " prefix-only";
    Add(line);
}

bool Recorder::FloodFill(const DrawState&, Point point, Pixel color, bool border, const BrushSpec& brush) {
    Add("FloodFill " + PointText(point) + (border ? " border " : " surface ") + Color(color) + " " +
        BrushText(brush));
    return true;
}

bool Recorder::StartDoc(const std::u16string& title, const std::u16string& output) {
    if (!FCaps || FInDoc)
        return false;
    FInDoc = true;
    FPages = 0;
    Add("StartDoc '" + QString::fromStdU16String(title).toStdString() + "'" +
        (output.empty() ? "" : " to " + QString::fromStdU16String(output).toStdString()));
    return true;
}

bool Recorder::StartPage() {
    if (!FInDoc || FInPage)
        return false;
    FInPage = true;
    ++FPages;
    Add("StartPage");
    return true;
}

bool Recorder::EndPage() {
    if (!FInPage)
        return false;
    FInPage = false;
    Add("EndPage");
    return true;
}

bool Recorder::EndDoc() {
    if (!FInDoc)
        return false;
    FInDoc = FInPage = false;
    Add("EndDoc");
    return true;
}

bool Recorder::AbortDoc() {
    if (!FInDoc)
        return false;
    FInDoc = FInPage = false;
    Add("AbortDoc");
    return true;
}

std::shared_ptr<Recorder> CreateRecorder(int width, int height) {
    return std::make_shared<Recorder>(width, height);
}

std::shared_ptr<Recorder> CreateRecordingPrinter(const DeviceCaps& caps) {
    DeviceCaps printer = caps;
    printer.printer = true;
    return std::make_shared<Recorder>(printer);
}

} // namespace backend
