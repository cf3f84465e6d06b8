// The system's printers and the PDF printer through Qt's print support. A printer device draws with
// QPainter on a QPrinter, so lines, fills and text stay vectors in the output; raster operations other
// than copying cannot be kept on paper and draw as plain copies. A PDF job writes a temporary file beside
// the target and renames it over the target when the job ends, so no half-written file is left behind.
#include "platform/backend/printers.h"

#include <QDir>
#include <QFile>
#include <QGlyphRun>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "platform/backend/fonts_p.h"
#include "platform/backend/raster_p.h"

namespace backend::printers {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, PrinterFactory> factories;
};

Registry& Registered() {
    static Registry registry;
    return registry;
}

std::vector<std::string> RegisteredNames() {
    Registry& registry = Registered();
    std::lock_guard lock(registry.mutex);
    std::vector<std::string> names;
    for (const auto& [name, factory] : registry.factories)
        names.push_back(name);
    return names;
}

PrinterFactory FactoryOf(const std::string& name) {
    Registry& registry = Registered();
    std::lock_guard lock(registry.mutex);
    auto it = registry.factories.find(name);
    return it == registry.factories.end() ? PrinterFactory() : it->second;
}

bool IsSystemPrinter(const std::string& name) {
    return QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(name));
}

QColor ToQColor(Pixel p) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | p));
}

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

Qt::PenStyle ToQStyle(DashStyle dash) {
    switch (dash) {
    case DashStyle::Dash:
        return Qt::DashLine;
    case DashStyle::Dot:
    case DashStyle::Alternate:
        return Qt::DotLine;
    case DashStyle::DashDot:
        return Qt::DashDotLine;
    case DashStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case DashStyle::User:
        return Qt::CustomDashLine;
    case DashStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

QPen ToQPen(const PenSpec& spec) {
    if (spec.null)
        return QPen(Qt::NoPen);
    QPen pen(ToQColor(spec.color));
    // A thin pen is one device pixel wide, as on screen; wider pens keep their width.
    pen.setWidth(std::max(spec.width, 1));
    pen.setStyle(ToQStyle(spec.dash));
    if (spec.dash == DashStyle::User && !spec.userDashes.empty()) {
        QList<qreal> pattern;
        for (int v : spec.userDashes)
            pattern.push_back(std::max(v, 1) / static_cast<qreal>(pen.width()));
        if (pattern.size() % 2 == 1)
            pattern.push_back(pattern.back());
        pen.setDashPattern(pattern);
    }
    pen.setCapStyle(spec.cap == LineCap::Round    ? Qt::RoundCap
                    : spec.cap == LineCap::Square ? Qt::SquareCap
                                                  : Qt::FlatCap);
    pen.setJoinStyle(spec.join == LineJoin::Round   ? Qt::RoundJoin
                     : spec.join == LineJoin::Bevel ? Qt::BevelJoin
                                                    : Qt::MiterJoin);
    return pen;
}

QBrush ToQBrush(const BrushSpec& spec) {
    switch (spec.kind) {
    case BrushKind::Null:
        return QBrush(Qt::NoBrush);
    case BrushKind::Solid:
        return QBrush(ToQColor(spec.color));
    case BrushKind::Hatch: {
        static const Qt::BrushStyle styles[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        Qt::BrushStyle style = spec.hatch >= 0 && spec.hatch < 6 ? styles[spec.hatch] : Qt::SolidPattern;
        return QBrush(ToQColor(spec.color), style);
    }
    case BrushKind::Pattern:
        if (spec.pattern && spec.pattern->width > 0 && spec.pattern->height > 0) {
            QImage image(spec.pattern->width, spec.pattern->height, QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(
                        x, y, 0xFF000000u | spec.pattern->pixels[static_cast<size_t>(y * image.width() + x)]);
            return QBrush(image);
        }
        return QBrush(Qt::NoBrush);
    }
    return QBrush(Qt::NoBrush);
}

QImage ToQImage(const BlitSource& source, const Rect& sourceRect) {
    if (!source.pixels)
        return QImage();
    const PixelBuffer& buffer = *source.pixels;
    Rect r = sourceRect.Intersected(Rect{0, 0, buffer.width, buffer.height});
    if (r.Empty())
        return QImage();
    QImage image(r.right - r.left, r.bottom - r.top, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const std::uint32_t* row = buffer.Row(r.top + y);
        auto out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            out[x] = 0xFF000000u | row[r.left + x];
    }
    return image;
}

// One job on one printer: the QPrinter is made when the device is opened so that its page size answers
// the device caps before the job starts.
class QtPrinterDevice final : public PrinterDevice {
public:
    QtPrinterDevice(const std::string& name, const PageSetup& setup) : FPrinter(QPrinter::HighResolution) {
        if (name == PdfPrinterName) {
            FPdf = true;
            FPrinter.setOutputFormat(QPrinter::PdfFormat);
            FPrinter.setResolution(600);
            FPrinter.setPageSize(QPageSize(QPageSize::A4));
            FPrinter.setFullPage(true);
        } else {
            FPrinter.setPrinterName(QString::fromStdString(name));
        }
        FPrinter.setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
    ~QtPrinterDevice() override {
        if (FPainter.isActive())
            AbortDoc();
    }

    DeviceCaps Caps() const override {
        DeviceCaps caps;
        QRect page = FPrinter.pageLayout().paintRectPixels(FPrinter.resolution());
        QRect paper = FPrinter.pageLayout().fullRectPixels(FPrinter.resolution());
        caps.width = page.width();
        caps.height = page.height();
        caps.dpiX = caps.dpiY = FPrinter.resolution();
        caps.bitsPerPixel = 24;
        caps.printer = true;
        caps.physicalWidth = paper.width();
        caps.physicalHeight = paper.height();
        caps.physicalOffsetX = page.left();
        caps.physicalOffsetY = page.top();
        return caps;
    }

    bool StartDoc(const std::u16string& title, const std::u16string& output) override {
        if (FStarted)
            return false;
        FPrinter.setDocName(QString::fromStdU16String(title));
        if (FPdf) {
            FTarget = output.empty() ? QDir::home().filePath(QStringLiteral("print.pdf"))
                                     : QString::fromStdU16String(output);
            FTemporary = FTarget + QStringLiteral(".part");
            FPrinter.setOutputFileName(FTemporary);
        } else if (!output.empty()) {
            FPrinter.setOutputFileName(QString::fromStdU16String(output));
        }
        FStarted = true;
        FPages = 0;
        return true;
    }

    bool StartPage() override {
        if (!FStarted || FInPage)
            return false;
        if (FPages == 0) {
            if (!FPainter.begin(&FPrinter)) {
                FStarted = false;
                return false;
            }
        } else if (!FPrinter.newPage()) {
            return false;
        }
        ++FPages;
        FInPage = true;
        return true;
    }

    bool EndPage() override {
        if (!FInPage)
            return false;
        FInPage = false;
        return true;
    }

    bool EndDoc() override {
        if (!FStarted)
            return false;
        FStarted = false;
        FInPage = false;
        // A job without pages still makes one blank page, as a printer would feed one sheet.
        if (FPages == 0 && !FPainter.begin(&FPrinter))
            return false;
        bool ok = FPainter.end();
        if (FPdf) {
            if (!ok) {
                QFile::remove(FTemporary);
                return false;
            }
            QFile::remove(FTarget);
            ok = QFile::rename(FTemporary, FTarget);
        }
        return ok;
    }

    bool AbortDoc() override {
        if (!FStarted)
            return false;
        FStarted = false;
        FInPage = false;
        if (FPainter.isActive()) {
            FPrinter.abort();
            FPainter.end();
        }
        if (FPdf)
            QFile::remove(FTemporary);
        return true;
    }

    void FillRegion(const DrawState& state, const Region& region, const BrushSpec& brush,
                    std::uint32_t) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        for (const Rect& r : region.Rects())
            p->fillRect(ToQRect(r), ToQBrush(brush));
        End();
    }

    void InvertRegion(const DrawState&, const Region&) override {
        // Inverting what is on paper cannot be done; feedback drawing never reaches a printer.
    }

    void Polyline(const DrawState& state, const PenSpec& pen, std::span<const Point> points) override {
        QPainter* p = Begin(state);
        if (!p || points.empty())
            return;
        p->setPen(ToQPen(pen));
        QPolygon polygon;
        for (const Point& point : points)
            polygon << QPoint(point.x, point.y);
        p->drawPolyline(polygon);
        End();
    }

    void Polygons(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                  std::span<const Point> points, std::span<const int> counts) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        QPainterPath path;
        path.setFillRule(state.windingFill ? Qt::WindingFill : Qt::OddEvenFill);
        std::size_t at = 0;
        for (int count : counts) {
            QPolygonF polygon;
            for (int i = 0; i < count && at < points.size(); ++i, ++at)
                polygon << QPointF(points[at].x, points[at].y);
            if (!polygon.isEmpty()) {
                polygon << polygon.front();
                path.addPolygon(polygon);
            }
        }
        p->setPen(ToQPen(pen));
        p->setBrush(ToQBrush(brush));
        p->drawPath(path);
        End();
    }

    void Rectangle(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                   const Rect& rect) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        p->fillRect(ToQRect(rect), ToQBrush(brush));
        if (!pen.null) {
            p->setPen(ToQPen(pen));
            p->setBrush(Qt::NoBrush);
            p->drawRect(QRectF(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1));
        }
        End();
    }

    void RoundRect(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, const Rect& rect,
                   int ellipseWidth, int ellipseHeight) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        p->setPen(ToQPen(pen));
        p->setBrush(ToQBrush(brush));
        p->drawRoundedRect(
            QRectF(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1),
            ellipseWidth / 2.0, ellipseHeight / 2.0);
        End();
    }

    void Ellipse(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                 const Rect& rect) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        p->setPen(ToQPen(pen));
        p->setBrush(ToQBrush(brush));
        p->drawEllipse(QRectF(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1));
        End();
    }

    void Arc(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, ArcKind kind,
             const Rect& rect, Point start, Point end, bool clockwise) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        QRectF box(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1);
        QPointF centre = box.center();
        auto angleOf = [&](Point point) {
            return std::atan2(-(point.y - centre.y()), point.x - centre.x()) * 180.0 / M_PI;
        };
        double from = angleOf(start);
        double to = angleOf(end);
        double span = clockwise ? from - to : to - from;
        while (span <= 0)
            span += 360;
        if (clockwise)
            span = -span;
        int a = static_cast<int>(std::lround(from * 16));
        int s = static_cast<int>(std::lround(span * 16));
        p->setPen(ToQPen(pen));
        p->setBrush(ToQBrush(brush));
        if (kind == ArcKind::Arc)
            p->drawArc(box, a, s);
        else if (kind == ArcKind::Pie)
            p->drawPie(box, a, s);
        else
            p->drawChord(box, a, s);
        End();
    }

    void SetPixel(const DrawState& state, Point point, Pixel color) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        p->fillRect(QRect(point.x, point.y, 1, 1), ToQColor(color));
        End();
    }

    void StretchBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                    const Rect& sourceRect, std::uint32_t, const BrushSpec& brush) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        QRect target = ToQRect(dest).normalized();
        if (!source.pixels) {
            p->fillRect(target, ToQBrush(brush));
        } else {
            QImage image = ToQImage(source, sourceRect);
            if (!image.isNull())
                p->drawImage(target, image.mirrored(dest.right < dest.left, dest.bottom < dest.top));
        }
        End();
    }

    void TransparentBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                        const Rect& sourceRect, Pixel transparent) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        QImage image = ToQImage(source, sourceRect).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((row[x] & 0xFFFFFF) == (transparent & 0xFFFFFF))
                    row[x] = 0;
        }
        if (!image.isNull())
            p->drawImage(ToQRect(dest), image);
        End();
    }

    void AlphaBlend(const DrawState& state, const Rect& dest, const BlitSource& source,
                    const Rect& sourceRect, int constantAlpha, bool sourceAlpha) override {
        QPainter* p = Begin(state);
        if (!p || !source.pixels)
            return;
        const PixelBuffer& buffer = *source.pixels;
        Rect r = sourceRect.Intersected(Rect{0, 0, buffer.width, buffer.height});
        if (!r.Empty()) {
            QImage image(r.right - r.left, r.bottom - r.top, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < image.height(); ++y) {
                const std::uint32_t* row = buffer.Row(r.top + y);
                auto out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    out[x] = sourceAlpha ? row[r.left + x] : 0xFF000000u | row[r.left + x];
            }
            p->setOpacity(constantAlpha / 255.0);
            p->drawImage(ToQRect(dest), image);
            p->setOpacity(1.0);
        }
        End();
    }

    void GradientRects(const DrawState& state, std::span<const GradientVertex> vertices,
                       std::span<const std::pair<int, int>> rects, bool vertical) override {
        QPainter* p = Begin(state);
        if (!p)
            return;
        auto color = [](const GradientVertex& v) { return QColor(v.red >> 8, v.green >> 8, v.blue >> 8); };
        for (const auto& [a, b] : rects) {
            if (a < 0 || b < 0 || static_cast<std::size_t>(std::max(a, b)) >= vertices.size())
                continue;
            const GradientVertex& from = vertices[static_cast<std::size_t>(a)];
            const GradientVertex& to = vertices[static_cast<std::size_t>(b)];
            QRect box = QRect(QPoint(from.x, from.y), QPoint(to.x - 1, to.y - 1)).normalized();
            QLinearGradient gradient(from.x, from.y, vertical ? from.x : to.x, vertical ? to.y : from.y);
            gradient.setColorAt(0, color(from));
            gradient.setColorAt(1, color(to));
            p->fillRect(box, gradient);
        }
        End();
    }

    void GradientTriangles(const DrawState& state, std::span<const GradientVertex> vertices,
                           std::span<const std::array<int, 3>> triangles) override {
        // Paper gets each triangle in the mean of its corners' colours.
        QPainter* p = Begin(state);
        if (!p)
            return;
        for (const auto& t : triangles) {
            if (std::any_of(t.begin(), t.end(),
                            [&](int i) { return i < 0 || static_cast<std::size_t>(i) >= vertices.size(); }))
                continue;
            QPolygon polygon;
            int red = 0, green = 0, blue = 0;
            for (int i : t) {
                const GradientVertex& v = vertices[static_cast<std::size_t>(i)];
                polygon << QPoint(v.x, v.y);
                red += v.red >> 8;
                green += v.green >> 8;
                blue += v.blue >> 8;
            }
            p->setPen(Qt::NoPen);
            p->setBrush(QColor(red / 3, green / 3, blue / 3));
            p->drawPolygon(polygon);
        }
        End();
    }

    void Text(const DrawState& state, const TextRun& run) override {
        QPainter* p = Begin(state);
        if (!p || !run.font)
            return;
        const Font& font = *run.font;
        const FontMetrics& m = font.metrics;
        if (run.hasClipRect)
            p->setClipRect(ToQRect(run.clipRect), Qt::IntersectClip);
        if (run.hasOpaqueRect)
            p->fillRect(ToQRect(run.opaqueRect), ToQColor(run.backgroundColor));
        p->translate(run.origin.x, run.origin.y);
        p->rotate(-RequestOf(font).escapement / 10.0);
        if (run.opaqueCell && run.width > 0)
            p->fillRect(QRect(0, -m.ascent, run.width, m.height), ToQColor(run.backgroundColor));
        QColor color = ToQColor(run.color);
        if (!run.underlinesOnly) {
            QVector<quint32> glyphs;
            font.Shape(run.text, &glyphs, nullptr);
            QVector<quint32> drawn;
            QVector<QPointF> positions;
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                if (glyphs[i] == 0)
                    continue;
                drawn.push_back(glyphs[i]);
                int dy = run.yOffsets.empty() ? 0 : run.yOffsets[static_cast<size_t>(i)];
                positions.push_back(QPointF(run.offsets[static_cast<size_t>(i)], dy));
            }
            if (!drawn.isEmpty()) {
                QGlyphRun glyphRun;
                glyphRun.setRawFont(font.rawFont);
                glyphRun.setGlyphIndexes(drawn);
                glyphRun.setPositions(positions);
                p->setPen(color);
                p->drawGlyphRun(QPointF(0, 0), glyphRun);
            }
            if (m.underlined)
                p->fillRect(QRect(0, m.underlinePosition, run.width, m.underlineThickness), color);
            if (m.struckOut)
                p->fillRect(QRect(0, -m.strikeoutPosition, run.width, m.strikeoutThickness), color);
        }
        for (const auto& [from, to] : run.prefixUnderlines)
            p->fillRect(QRect(from, m.underlinePosition, to - from, m.underlineThickness), color);
        End();
    }

    bool FloodFill(const DrawState&, Point, Pixel, bool, const BrushSpec&) override {
        // Paper cannot be read back, so there is nothing to flood.
        return false;
    }

private:
    // The painter set up for one call, or null outside a page.
    QPainter* Begin(const DrawState& state) {
        if (!FInPage || !FPainter.isActive())
            return nullptr;
        FPainter.save();
        FPainter.setRenderHint(QPainter::Antialiasing, false);
        if (state.clip)
            FPainter.setClipRegion(ToQRegion(*state.clip));
        return &FPainter;
    }
    void End() { FPainter.restore(); }

    QPrinter FPrinter;
    QPainter FPainter;
    bool FPdf = false;
    bool FStarted = false;
    bool FInPage = false;
    int FPages = 0;
    QString FTarget;    // the PDF file the job makes
    QString FTemporary; // where it is written until the job ends
};

} // namespace

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    names.push_back(PdfPrinterName);
    for (const std::string& name : RegisteredNames())
        names.push_back(name);
    return names;
}

int DefaultIndex() {
    QString name = QPrinterInfo::defaultPrinterName();
    QStringList system = QPrinterInfo::availablePrinterNames();
    int index = name.isEmpty() ? -1 : static_cast<int>(system.indexOf(name));
    // Without a default system printer the PDF printer is the default; it follows the system's.
    return index >= 0 ? index : static_cast<int>(system.size());
}

std::shared_ptr<PrinterDevice> Open(const std::string& name, const PageSetup& setup) {
    if (PrinterFactory factory = FactoryOf(name))
        return factory(setup);
    if (name == PdfPrinterName || IsSystemPrinter(name))
        return std::make_shared<QtPrinterDevice>(name, setup);
    return nullptr;
}

int LandscapeAngle(const std::string& name) {
    if (FactoryOf(name) || name == PdfPrinterName || IsSystemPrinter(name))
        return 90;
    return -1;
}

void Register(const std::string& name, PrinterFactory factory) {
    Registry& registry = Registered();
    std::lock_guard lock(registry.mutex);
    registry.factories[name] = std::move(factory);
}

void Unregister(const std::string& name) {
    Registry& registry = Registered();
    std::lock_guard lock(registry.mutex);
    registry.factories.erase(name);
}

} // namespace backend::printers
