// TAdvStringGrid's cells on a print or preview canvas: measuring a cell's content for the page engine
// (AdvGridPrint.cpp), and drawing one row segment of a column band: background, text in its alignment and
// font, in-cell graphics and the cell borders. Coordinates are the engine's: 0.1 mm, y upward, negative
// on the page.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "grid/files/AdvGridPrintPass.h"
#include "platform/framework/ImgList.h"
#include "platform/framework/Printers.h"
#include "platform/framework/RichEdit.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winspool.h"
#include "platform/win32/winuser.h"
#include "render/AsgHTMLE.h"

namespace {

// DrawText flags of the print paths.
constexpr UINT WrapFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL; // 0x2850
constexpr UINT LineFlags = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL;                // 0x2820

// Keeps a canvas's font and brush and gives them back, on every way out.
class CanvasLookSaver {
public:
    explicit CanvasLookSaver(TCanvas* canvas) : FCanvas(canvas), FFont(std::make_unique<TFont>()) {
        FFont->Assign(canvas->Font());
        FBrushColor = canvas->Brush()->Color();
        FBrushStyle = canvas->Brush()->Style();
    }
    ~CanvasLookSaver() {
        FCanvas->Font()->Assign(FFont.get());
        FCanvas->Brush()->SetColor(FBrushColor);
        FCanvas->Brush()->SetStyle(FBrushStyle);
    }

private:
    TCanvas* FCanvas;
    std::unique_ptr<TFont> FFont;
    TColor FBrushColor;
    TBrushStyle FBrushStyle;
};

// The lines of a cell text: all of them, or only the first.
std::vector<String> SplitLines(String text, bool allLines) {
    std::vector<String> lines;
    do
        lines.push_back(CutFirstLine(text, allLines));
    while (allLines && !text.empty());
    return lines;
}

bool IsCheckGraphic(TCellType type) {
    return type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox || type == ctRowCheckBox ||
           type == ctRadioButton;
}

// A page rectangle in the canvas's device pixels, top above bottom.
TRect DeviceRect(TCanvas* canvas, const TRect& rect) {
    POINT corners[2] = {{rect.Left, rect.Top}, {rect.Right, rect.Bottom}};
    LPtoDP(canvas->Handle(), corners, 2);
    return TRect(std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                 std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y));
}

// Puts the canvas into device pixels (MM_TEXT) with its font at the same size on paper, for painters
// that lay out top down as on a screen; the page's units and the font come back at the end.
class DeviceUnitsScope {
public:
    explicit DeviceUnitsScope(TCanvas* canvas) : FCanvas(canvas), FFontHeight(canvas->Font()->Height()) {
        POINT extent[2] = {{0, 0}, {0, FFontHeight}};
        LPtoDP(canvas->Handle(), extent, 2);
        const Integer height = std::abs(extent[1].y - extent[0].y);
        SetMapMode(canvas->Handle(), MM_TEXT);
        canvas->Font()->SetHeight(FFontHeight < 0 ? -height : height);
    }
    ~DeviceUnitsScope() {
        SetMapMode(FCanvas->Handle(), MM_LOMETRIC);
        FCanvas->Font()->SetHeight(FFontHeight);
    }
    DeviceUnitsScope(const DeviceUnitsScope&) = delete;
    DeviceUnitsScope& operator=(const DeviceUnitsScope&) = delete;

private:
    TCanvas* FCanvas;
    Integer FFontHeight;
};

// Copies the whole bitmap into rect of the page. Page rectangles have their top above their bottom, which
// the framework's drawing of graphics takes for an empty rectangle, so the copy goes to StretchBlt itself.
void StretchBitmapToCanvas(TCanvas* canvas, const TRect& rect, TBitmap* bitmap) {
    if (bitmap == nullptr || bitmap->Width() <= 0 || bitmap->Height() <= 0)
        return;
    StretchBlt(canvas->Handle(), rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top,
               bitmap->Canvas()->Handle(), 0, 0, bitmap->Width(), bitmap->Height(), SRCCOPY);
}

// A 24-bit bitmap of width x height filled with color: what a graphic is drawn on before it is
// stretched onto the page.
std::unique_ptr<TBitmap> Backdrop(Integer width, Integer height, TColor color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->Brush()->SetStyle(bsSolid);
    bitmap->Canvas()->FillRect(TRect(0, 0, width, height));
    return bitmap;
}

} // namespace

// ---- Measuring ----

TPoint TAdvStringGrid::MeasurePrintCell(Integer ACol, Integer ARow) {
    TPrintPassContext& pass = *FPrintPass;
    TCanvas* canvas = pass.canvas;
    TPrintSettings* settings = PrintSettings();
    String text = IsDataCellType(this, ACol, ARow) ? String() : GetFormattedCell(ACol, ARow);
    const Integer kind = CellTextKind(text, FEnableHTML);

    if (kind == CellKindHTML) {
        // The renderer lays out in device pixels: measure in MM_TEXT at the table font's size.
        HDC dc = canvas->Handle();
        const Integer savedSize = canvas->Font()->Size();
        SetMapMode(dc, MM_TEXT);
        canvas->Font()->SetSize(settings->Font()->Size());
        const Integer width = settings->NoAutoSize() ? ColWidths(ACol) + 12 : 65535;
        THTMLRenderResult html;
        RenderMiniHTML(canvas, text, TRect(0, 0, width, 65535), nullptr, -1, -1, -1, -1, 1, false, true, true,
                       false, true, true, true, false, String(), pass.screenToPaper, FURLColor, clNone,
                       clNone, 0x00808080, html, FImageCache.get(), nullptr, nullptr, BiDiMode());
        SetMapMode(dc, MM_LOMETRIC);
        POINT extent{html.textWidth, html.textHeight};
        DPtoLP(dc, &extent, 1);
        canvas->Font()->SetSize(savedSize);
        return TPoint(extent.x, -extent.y - static_cast<Integer>(Round(pass.lineGap * pass.screenToPaper)));
    }

    if (kind == CellKindRTF) {
        if (TRichEdit* rich = RichEditor(); rich && HandleAllocated()) {
            CellToRich(ACol, ARow, rich);
            text = rich->Text();
        }
    } else if (kind == CellKindFormula) {
        text = SaveCell(ACol, ARow);
    }

    CanvasLookSaver saver(canvas);
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wordWrap = false;
    TCellGradientDirection gd{};
    GetVisualProperties(ACol, ARow, state, true, false, false, pass.workBrush.get(), colorTo, mirror,
                        mirrorTo, pass.workFont.get(), ha, va, wordWrap, gd);
    DoGetWordWrap(ACol, ARow, wordWrap);
    canvas->Font()->Assign(pass.workFont.get());
    canvas->Font()->SetHeight(MapFontHeight(pass.workFont->Size()));

    Integer angle = 0;
    const bool rotated = IsRotated(ACol, ARow, angle);
    if (rotated)
        canvas->Font()->SetOrientation(-10 * angle);

    TPoint graphic(0, 0);
    if (settings->PrintGraphics()) {
        const TPoint size = GetCellGraphicSize(ACol, ARow);
        graphic = TPoint(static_cast<Integer>(Round(size.X * pass.screenToPaper)),
                         static_cast<Integer>(Round(size.Y * pass.screenToPaper)));
    }
    if (text.empty())
        text = u"gh";

    Integer width = 0;
    Integer height = 0;
    Integer widest = 0;
    if (!(wordWrap && settings->NoAutoSize() && !rotated)) {
        const std::vector<String> lines = SplitLines(text, FMultilineCells || WordWrap());
        for (String line : lines) {
            if (FURLShow && !FURLFull)
                StripURLScheme(line);
            widest = std::max<Integer>(widest, canvas->TextWidth(line));
        }
        width = widest + graphic.X;
        height = canvas->TextHeight(u"gh") * static_cast<Integer>(lines.size());
    } else {
        const Integer displayed = DisplColIndex(ACol);
        width = IsXMergedCell(ACol, ARow) ? 65535 : MaxWidths[std::clamp<Integer>(displayed, 0, 512)];
        TRect box(0, 0, width, 50);
        RECT r{box.Left, box.Top, box.Right, box.Bottom};
        DrawTextW(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        height = std::abs(r.bottom - r.top);
    }
    if (rotated) {
        const double theta = angle * std::numbers::pi / 180.0;
        const Integer w = width;
        const Integer h = height;
        width =
            static_cast<Integer>(std::abs(Round(std::cos(theta) * w)) + std::abs(Round(std::sin(theta) * h)));
        height = static_cast<Integer>(std::abs(Round(std::sin(theta) * widest)) +
                                      std::abs(Round(std::cos(theta) * h)));
    }
    return TPoint(std::max(width, graphic.X), std::max(height, graphic.Y));
}

// ---- Drawing a row ----

Integer TAdvStringGrid::PrintRowCells(Integer YPos, Integer FromCol, Integer ToCol, Integer ARow) {
    TPrintPassContext& pass = *FPrintPass;
    TPrintSettings* settings = PrintSettings();
    Fontscalefactor = pass.fitScale;
    const Integer pitch = 2 * pass.lineGap + GetPrintRowHeight(ARow) + settings->RowSpacing();
    if (!PrintPageDrawn() || FromCol > ToCol) {
        Fontscalefactor = 1.0;
        return pitch;
    }
    TCanvas* canvas = pass.canvas;
    for (Integer c = FromCol; c <= ToCol; ++c) {
        if (!IsPrintCol(c))
            continue;
        const Integer R = RealColIndex(c);
        const TPoint ext = CellExt(R, ARow);
        auto cellRect = [&] {
            Integer width = 0;
            for (Integer i = 0; i <= ext.X && c + i <= 512; ++i)
                width += MaxWidths[c + i] + pass.spacing;
            return TRect(Indents[c], YPos, Indents[c] + width, YPos - pitch * (ext.Y + 1));
        };
        TRect rect = cellRect();

        // The cell's border set and pen, which OnGetCellPrintBorder may change.
        auto savedPen = std::make_unique<TPen>();
        savedPen->Assign(canvas->Pen());
        TCellBorders borders;
        switch (settings->Borders()) {
        case pbSingle:
        case pbDouble:
            borders = TCellBorders{cbTop, cbLeft, cbRight, cbBottom};
            break;
        case pbHorizontal:
        case pbAroundHorizontal:
            borders = TCellBorders{cbTop, cbBottom};
            break;
        case pbVertical:
        case pbAroundVertical:
            borders = TCellBorders{cbLeft, cbRight};
            break;
        default:
            break;
        }
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(settings->BorderColor());
        DoGetCellPrintBorder(R, ARow, canvas->Pen(), borders);
        Integer penWidth = canvas->Pen()->Width();
        const TColor penColor = canvas->Pen()->Color();

        if (IsBaseCell(R, ARow))
            PrintCellContent(R, ARow, rect, borders, penWidth, pitch, YPos);

        // Border lines.
        canvas->Pen()->SetColor(penColor);
        if (pass.mode == pmPrint)
            penWidth = static_cast<Integer>(Round(penWidth * pass.screenToPaper));
        canvas->Pen()->SetWidth(penWidth);
        if (!IsBaseCell(R, ARow)) {
            if (ext.X > 0)
                borders = borders - TCellBorders{cbLeft, cbRight};
            if (ext.Y > 0)
                borders = borders - TCellBorders{cbTop, cbBottom};
        }
        if (IsYMergedCell(R, ARow) && ext.Y == 0 && !IsBaseCell(R, ARow))
            borders.Exclude(cbTop);
        if (IsXMergedCell(R, ARow) && ext.X == 0 && !IsBaseCell(R, ARow))
            borders.Exclude(cbLeft);
        rect = cellRect();
        // A cell crossing into the footer is cut at its own row: no bottom line there.
        if (rect.Bottom < pass.pageBottom + settings->FooterSize()) {
            rect.Bottom = YPos - pitch;
            borders.Exclude(cbBottom);
        }
        if (rect.Right > pass.pageWidth)
            rect.Right = Indents[pass.endCol + 1];
        if (borders.Contains(cbLeft)) {
            const Integer x = R > FromCol ? rect.Left - penWidth : rect.Left;
            canvas->MoveTo(x, rect.Top);
            canvas->LineTo(x, rect.Bottom);
        }
        if (borders.Contains(cbRight)) {
            canvas->MoveTo(rect.Right, rect.Top);
            canvas->LineTo(rect.Right, rect.Bottom);
        }
        if (borders.Contains(cbTop)) {
            canvas->MoveTo(rect.Left, rect.Top);
            canvas->LineTo(rect.Right, rect.Top);
        }
        if (borders.Contains(cbBottom)) {
            canvas->MoveTo(rect.Left, rect.Bottom);
            canvas->LineTo(rect.Right, rect.Bottom);
        }
        canvas->Pen()->Assign(savedPen.get());
    }
    Fontscalefactor = 1.0;
    return pitch;
}

void TAdvStringGrid::PrintCellContent(Integer R, Integer ARow, TRect Rect, TCellBorders Borders,
                                      Integer PenWidth, Integer Pitch, Integer YPos) {
    TPrintPassContext& pass = *FPrintPass;
    TPrintSettings* settings = PrintSettings();
    TCanvas* canvas = pass.canvas;
    CanvasLookSaver saver(canvas);

    // Look: the cell's print colours and font.
    pass.workBrush->Assign(canvas->Brush());
    pass.workFont->Assign(canvas->Font());
    pass.workFont->SetSize(pass.tableFontSize);
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wordWrap = false;
    TCellGradientDirection gd{};
    GetVisualProperties(R, ARow, state, true, false, false, pass.workBrush.get(), colorTo, mirror, mirrorTo,
                        pass.workFont.get(), ha, va, wordWrap, gd);
    canvas->Brush()->Assign(pass.workBrush.get());
    canvas->Font()->Assign(pass.workFont.get());
    canvas->Font()->SetHeight(MapFontHeight(pass.workFont->Size()));
    SetTextColor(canvas->Handle(), ColorToRGB(pass.workFont->Color()));
    wordWrap = WordWrap();
    DoGetWordWrap(R, ARow, wordWrap);

    // Text.
    String text = IsDataCellType(this, R, ARow) ? String() : GetFormattedCell(R, ARow);
    const Integer kind = CellTextKind(text, FEnableHTML);
    if (kind == CellKindFormula)
        text = SaveCell(R, ARow);
    bool password = false;
    DoIsPasswordCell(R, ARow, password);
    if (password)
        FillWithChar(text, FPasswordChar);

    // Background, kept inside the lines the cell draws.
    {
        TRect fill = Rect;
        if (!Borders.Contains(cbLeft))
            fill.Left += 2 * PenWidth;
        if (!Borders.Contains(cbTop))
            fill.Top -= 2 * PenWidth;
        const TColor savedPen = canvas->Pen()->Color();
        canvas->Pen()->SetColor(canvas->Brush()->Color());
        DrawGradient(canvas, colorTo, canvas->Brush()->Color(), false, fill, 64);
        canvas->Pen()->SetColor(savedPen);
    }

    TAlignment alignment = ha;
    ResolveCellAlignment(R, ARow, alignment, va);
    const Integer lineHeight = canvas->TextHeight(u"gh") + settings->RowSpacing();
    const Integer lineBox = lineHeight + static_cast<Integer>(static_cast<std::uint32_t>(lineHeight) >> 3);
    const Integer linePitch = lineBox - settings->RowSpacing();
    const bool splitLines = FMultilineCells || wordWrap;

    // Rotation.
    Integer angle = 0;
    const bool rotated = IsRotated(R, ARow, angle);
    Integer widest = 0;
    for (const String& line : SplitLines(text, splitLines))
        widest = std::max<Integer>(widest, canvas->TextWidth(line));
    Integer wx = 0, hx = 0, wy = 0, hy = 0;
    if (rotated) {
        Integer factor = -10;
        if (pass.mode == pmPrint && FPrinterdriverfix)
            factor = GetPrinterOrientationAngle() == 270 ? -10 : 10;
        canvas->Font()->SetOrientation(angle * factor);
        const double theta = angle * std::numbers::pi / 180.0;
        wx = std::abs(static_cast<Integer>(std::trunc(std::cos(theta) * widest)));
        hx = std::abs(static_cast<Integer>(std::trunc(std::sin(theta) * lineBox)));
        wy = std::abs(static_cast<Integer>(std::trunc(std::sin(theta) * widest)));
        hy = std::abs(static_cast<Integer>(std::trunc(std::cos(theta) * lineBox)));
    }

    // Graphic: its place, and the room it leaves the text.
    TCellGraphic* graphic = settings->PrintGraphics() ? GetCellGraphic(R, ARow) : nullptr;
    const TRect cellRect = Rect;
    TRect graphicRect;
    if (graphic && graphic->CellType() != ctEmpty) {
        // The graphic's own size for this cell, in screen pixels; a stretched picture or object is sized
        // to the cell on paper already.
        const TPoint size =
            GetCellGraphicLayoutSize(R, ARow, Rect.Right - Rect.Left, Rect.Top - Rect.Bottom, 0, 0);
        const TCellType kind = graphic->CellType();
        const bool paperSized =
            (kind == ctBitmap || kind == ctPicture || kind == ctFilePicture || kind == ctInterface) &&
            graphic->CellAngle() != 0;
        const Integer gw = paperSized ? size.X : static_cast<Integer>(Round(size.X * pass.screenToPaper));
        const Integer gh = paperSized ? size.Y : static_cast<Integer>(Round(size.Y * pass.screenToPaper));
        TCellHAlign gha = graphic->CellHAlign();
        if (IsCheckGraphic(graphic->CellType()) && text.empty())
            gha = alignment == taRightJustify ? haRight : alignment == taCenter ? haCenter : haLeft;
        switch (gha) {
        case haLeft:
        case haBeforeText:
            graphicRect.Left = Rect.Left + static_cast<Integer>(Round(pass.screenToPaper));
            graphicRect.Right = graphicRect.Left + gw;
            Rect.Left = graphicRect.Right;
            break;
        case haRight:
        case haAfterText:
            graphicRect.Right = Rect.Right;
            graphicRect.Left = Rect.Right - gw;
            Rect.Right = graphicRect.Left;
            break;
        case haCenter:
            graphicRect.Left = Rect.Left + (Rect.Right - Rect.Left - gw) / 2;
            graphicRect.Right = graphicRect.Left + gw;
            break;
        case haFull:
            graphicRect.Left = Rect.Left;
            graphicRect.Right = Rect.Right;
            break;
        }
        switch (graphic->CellVAlign()) {
        case vaTop:
        case vaAboveText:
            graphicRect.Top = Rect.Top;
            graphicRect.Bottom = Rect.Top - gh;
            if (graphic->CellVAlign() == vaAboveText)
                Rect.Top = graphicRect.Bottom;
            break;
        case vaBottom:
        case vaUnderText:
            graphicRect.Bottom = Rect.Bottom;
            graphicRect.Top = Rect.Bottom + gh;
            if (graphic->CellVAlign() == vaUnderText)
                Rect.Bottom = graphicRect.Top;
            break;
        case vaCenter:
            graphicRect.Top = Rect.Top - (Rect.Top - Rect.Bottom - gh) / 2;
            graphicRect.Bottom = graphicRect.Top - gh;
            break;
        case vaFull:
            graphicRect.Top = Rect.Top;
            graphicRect.Bottom = Rect.Bottom;
            break;
        }
        // A graphic larger than the printed cell (a bar sized by the screen's column) stays inside it.
        graphicRect.Left = std::max(graphicRect.Left, cellRect.Left);
        graphicRect.Right = std::min(graphicRect.Right, cellRect.Right);
        graphicRect.Top = std::min(graphicRect.Top, cellRect.Top);
        graphicRect.Bottom = std::max(graphicRect.Bottom, cellRect.Bottom);
        if (graphic->CellType() == ctRadio)
            text.clear();
    }

    // Text, by kind.
    canvas->Brush()->SetStyle(bsClear);
    HDC dc = canvas->Handle();
    const Integer halfG = pass.halfG;
    if (kind == CellKindHTML) {
        POINT corners[2] = {{Rect.Left, Rect.Top}, {Rect.Right, Rect.Bottom}};
        LPtoDP(dc, corners, 2);
        SetMapMode(dc, MM_TEXT);
        const Integer savedSize = canvas->Font()->Size();
        canvas->Font()->SetSize(static_cast<Integer>(std::trunc(pass.workFont->Size() * pass.fitScale)));
        corners[1].x -= halfG + static_cast<Integer>(Round(2 * pass.screenToPaper));
        corners[1].y += static_cast<Integer>(Round(pass.lineGap * pass.screenToPaper));
        THTMLRenderResult html;
        RenderMiniHTML(canvas, text, TRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y), nullptr,
                       -1, -1, -1, -1, 1, false, false, true, false, true, true, true, false, String(),
                       pass.deviceRatio, FURLColor, clNone, clNone, 0x00808080, html, FImageCache.get(),
                       nullptr, nullptr, BiDiMode());
        SetMapMode(dc, MM_LOMETRIC);
        canvas->Font()->SetSize(savedSize);
    } else if (kind == CellKindRTF) {
        DrawCellRichText(R, ARow, Rect, canvas);
    } else if (wordWrap && settings->NoAutoSize() && !rotated) {
        TRect r = Rect;
        r.Left += static_cast<Integer>(Round(2 * pass.screenToPaper));
        if (r.Right > pass.pageWidth)
            r.Right = Indents[pass.endCol + 1];
        UINT flags = WrapFlags;
        if (alignment == taLeftJustify) {
            r.Left += halfG;
        } else if (alignment == taRightJustify) {
            r.Right -= halfG;
            flags |= DT_RIGHT;
        } else {
            r.Left += halfG;
            r.Right -= halfG;
            flags |= DT_CENTER;
        }
        RECT box{r.Left, r.Top, r.Right, r.Bottom};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, flags);
    } else if (CountLines(text, splitLines) == 1 || angle == 90) {
        TRect r = Rect;
        r.Bottom = r.Top - Pitch - settings->RowSpacing();
        String line = text;
        line = CutFirstLine(line, false);
        if (FURLShow && !FURLFull)
            StripURLScheme(line);
        const TPoint span = CellSpan(R, ARow);
        if (rotated) {
            if (IsYMergedCell(R, ARow))
                r.Bottom -= span.Y * (settings->RowSpacing() + Pitch);
            if (IsXMergedCell(R, ARow))
                r.Right = Rect.Right;
            r.Top -= halfG;
            r.Bottom += halfG;
            const Integer h = alignment == taRightJustify ? 1 : alignment == taCenter ? 2 : 0;
            const Integer v = va == vtaCenter ? 1 : va == vtaBottom ? 2 : 0;
            TRect start = r;
            PlaceRotatedText(start, h, v, -hy, -wy, hx, wx, angle);
            canvas->TextRect(r, start.Left, start.Top, line);
            if (angle == 90) {
                const std::vector<String> lines = SplitLines(text, splitLines);
                for (std::size_t i = 1; i < lines.size(); ++i) {
                    start.Left += canvas->TextHeight(u"gh");
                    canvas->TextRect(r, start.Left, start.Top, lines[i]);
                }
            }
        } else {
            UINT flags = LineFlags;
            if (settings->NoAutoSize() && FEnhTextSize)
                flags |= DT_END_ELLIPSIS;
            if (alignment == taRightJustify) {
                flags |= DT_RIGHT;
                r.Right -= halfG;
            } else if (alignment == taCenter) {
                flags |= DT_CENTER;
                r.Left += halfG;
                r.Right -= halfG;
            } else {
                r.Left += halfG;
            }
            if (va == vtaCenter)
                flags |= DT_VCENTER;
            else if (va == vtaBottom)
                flags |= DT_BOTTOM;
            if (IsYMergedCell(R, ARow))
                r.Bottom -= span.Y * (settings->RowSpacing() + Pitch);
            if (IsXMergedCell(R, ARow))
                r.Right = Rect.Right - (alignment == taLeftJustify ? 0 : halfG);
            r.Top -= pass.lineGap;
            r.Left += FXYOffset.X;
            r.Right += FXYOffset.X;
            RECT box{r.Left, r.Top, r.Right, r.Bottom};
            DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &box, flags);
        }
    } else {
        const std::vector<String> lines = SplitLines(text, splitLines);
        const Integer count = static_cast<Integer>(lines.size());
        Integer offset = 0;
        if (!IsMergedCell(R, ARow)) {
            if (va == vtaCenter)
                offset = (Pitch - linePitch * count) / 2;
            else if (va == vtaBottom)
                offset = Pitch - linePitch * count;
        }
        Integer top = Rect.Top;
        bool first = true;
        for (String line : lines) {
            if (FURLShow && !FURLFull)
                StripURLScheme(line);
            const Integer w = canvas->TextWidth(line);
            Integer x = alignment == taLeftJustify    ? Rect.Left + halfG
                        : alignment == taRightJustify ? Rect.Right - halfG - w
                                                      : Rect.Left + (Rect.Right - Rect.Left - w) / 2;
            x += FXYOffset.X;
            canvas->TextRect(Rect, x, top - offset - pass.lineGap, line);
            if (first)
                top -= offset;
            first = false;
            top -= linePitch;
        }
    }

    if (graphic && graphic->CellType() != ctEmpty)
        PrintCellGraphic(graphic, R, ARow, graphicRect, colorTo);
    canvas->Font()->SetOrientation(0);

    if (OnCustomCellDraw) {
        POINT corners[2] = {{Rect.Left, YPos}, {Rect.Right, YPos - Pitch}};
        LPtoDP(dc, corners, 2);
        SetMapMode(dc, MM_TEXT);
        const Integer savedSize = canvas->Font()->Size();
        canvas->Font()->SetSize(settings->Font()->Size());
        OnCustomCellDraw(this, canvas, R, ARow, TGridDrawState(),
                         TRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y), true);
        SetMapMode(dc, MM_LOMETRIC);
        canvas->Font()->SetSize(savedSize);
    }
}

void TAdvStringGrid::PrintCellGraphic(TCellGraphic* Graphic, Integer R, Integer ARow,
                                      const TRect& GraphicRect, TColor ColorTo) {
    TPrintPassContext& pass = *FPrintPass;
    TCanvas* canvas = pass.canvas;
    HDC dc = canvas->Handle();
    const TColor background = canvas->Brush()->Color();
    const Integer displayCol = DisplColIndex(R);
    switch (Graphic->CellType()) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox: {
        bool checked = false;
        GetCheckBoxState(R, ARow, checked);
        UINT state = DFCS_BUTTONCHECK;
        if (checked)
            state |= DFCS_CHECKED;
        if (ControlLook()->ControlStyle() == AdvGrid::csFlat)
            state |= DFCS_FLAT;
        const Integer size = std::abs(GraphicRect.Top - GraphicRect.Bottom);
        RECT box{GraphicRect.Left, GraphicRect.Top, GraphicRect.Left + size, GraphicRect.Top - size};
        DrawFrameControl(dc, &box, DFC_BUTTON, state);
        break;
    }
    case ctNode: {
        const Integer cx = (GraphicRect.Left + GraphicRect.Right) / 2;
        const Integer cy = (GraphicRect.Top + GraphicRect.Bottom) / 2;
        auto savedPen = std::make_unique<TPen>();
        savedPen->Assign(canvas->Pen());
        canvas->Pen()->SetColor(CellNode()->NodeColor());
        canvas->Pen()->SetWidth(1);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(cx - 10, cy + 10, cx + 10, cy - 10);
        canvas->MoveTo(cx - 6, cy);
        canvas->LineTo(cx + 6, cy);
        if (Graphic->CellBoolean()) {
            canvas->MoveTo(cx, cy + 6);
            canvas->LineTo(cx, cy - 6);
        }
        canvas->Pen()->Assign(savedPen.get());
        break;
    }
    case ctBitmap:
        if (auto* bitmap = dynamic_cast<TBitmap*>(Graphic->CellBitmap()))
            StretchBitmapToCanvas(canvas, GraphicRect, bitmap);
        break;
    case ctIcon:
        // Drawn over the cell's colour first: a printer copies what raster operations would combine, so
        // the icon's mask cannot make its corners transparent on paper.
        if (TIcon* icon = Graphic->CellIcon(); icon && icon->Width() > 0 && icon->Height() > 0) {
            auto image = Backdrop(icon->Width(), icon->Height(), background);
            image->Canvas()->Draw(0, 0, icon);
            StretchBitmapToCanvas(canvas, GraphicRect, image.get());
        }
        break;
    case ctImageList:
    case ctDataImage: {
        TCustomImageList* images = GetCellImageList(R, ARow);
        if (images == nullptr || images->Width() <= 0 || images->Height() <= 0)
            break;
        Integer index = Graphic->CellIndex();
        // A data image's index is the cell's text; a text that is no index prints no image.
        if (Graphic->CellType() == ctDataImage && !TryStrToInt(Trim(Cells(displayCol, ARow)), index))
            break;
        if (index < 0 || index >= images->Count())
            break;
        auto image = Backdrop(images->Width(), images->Height(), background);
        images->Draw(image->Canvas(), 0, 0, index);
        StretchBitmapToCanvas(canvas, GraphicRect, image.get());
        break;
    }
    case ctImages: {
        TCustomImageList* images = GetCellImageList(R, ARow);
        auto* list = dynamic_cast<TIntList*>(Graphic->CellBitmap());
        if (images == nullptr || list == nullptr || images->Width() <= 0 || images->Height() <= 0)
            break;
        const Integer w = static_cast<Integer>(Round(images->Width() * pass.screenToPaper));
        const Integer h = static_cast<Integer>(Round(images->Height() * pass.screenToPaper));
        Integer x = GraphicRect.Left;
        Integer y = GraphicRect.Top;
        for (Integer i = 0; i < list->Count(); ++i) {
            const Integer index = list->Items(i);
            if (index >= 0 && index < images->Count()) {
                auto image = Backdrop(images->Width(), images->Height(), background);
                images->Draw(image->Canvas(), 0, 0, index);
                StretchBitmapToCanvas(canvas, TRect(x, y, x + w, y - h), image.get());
            }
            if (Graphic->CellBoolean())
                x += w;
            else
                y -= h;
        }
        break;
    }
    case ctRadio: {
        // Laid out in the printer's own pixels, where the group's screen layout reads top down, at the
        // printer's scale.
        const TRect box = DeviceRect(canvas, GraphicRect);
        DeviceUnitsScope device(canvas);
        const AdvGrid::TControlStyle style =
            ControlLook()->ControlStyle() == AdvGrid::csFlat ? AdvGrid::csFlat : AdvGrid::csClassic;
        DrawRadioGroup(canvas, box, false, pass.deviceRatio, style, ARow, R, false,
                       dynamic_cast<TStrings*>(Graphic->CellBitmap()), false, Graphic->CellBoolean(),
                       Graphic->CellIndex(), Graphic->CellAngle());
        break;
    }
    case ctPicture:
        if (auto* picture = dynamic_cast<TPicture*>(Graphic->CellBitmap());
            picture && picture->Graphic() && picture->Width() > 0 && picture->Height() > 0) {
            auto image = Backdrop(picture->Width(), picture->Height(), background);
            DrawGradient(image->Canvas(), background, ColorTo == clNone ? background : ColorTo,
                         BackGround()->Display() == bdGradientHorz,
                         TRect(0, 0, picture->Width(), picture->Height()), 128);
            image->Canvas()->Draw(0, 0, picture->Graphic());
            StretchBitmapToCanvas(canvas, GraphicRect, image.get());
        }
        break;
    case ctFilePicture:
        // A file that is gone prints nothing in its place.
        if (auto* picture = dynamic_cast<TFilePicture*>(Graphic->CellBitmap());
            picture && picture->Width() > 0 && picture->Height() > 0 && FileExists(picture->Filename())) {
            auto image = Backdrop(picture->Width(), picture->Height(), background);
            picture->DrawPicture(image->Canvas(), TRect(0, 0, picture->Width(), picture->Height()));
            StretchBitmapToCanvas(canvas, GraphicRect, image.get());
        }
        break;
    case ctProgress: {
        const Integer near = static_cast<Integer>(Round(2 * pass.screenToPaper));
        const Integer far = static_cast<Integer>(Round(4 * pass.screenToPaper));
        const TRect bar(GraphicRect.Left + near, GraphicRect.Top - near, GraphicRect.Right - far,
                        GraphicRect.Bottom + far);
        TColor fillText, emptyText;
        if (Graphic->CellBoolean()) {
            fillText = static_cast<TColor>(Graphic->CellIndex());
            emptyText = static_cast<TColor>(Graphic->CellAngle());
        } else {
            fillText = static_cast<TColor>(ColorToRGB(Graphic->CellColor()) ^ 0xFFFFFF);
            emptyText = static_cast<TColor>(ColorToRGB(Graphic->CellColorTo()) ^ 0xFFFFFF);
        }
        // The value as the screen reads it: a text that is no number shows an empty bar.
        double value = 0;
        if (!TryStrToFloat(Trim(Cells(displayCol, ARow)), value))
            value = 0;
        DrawProgressBar(canvas, bar, Graphic->CellColor(), true, ControlLook()->ProgressBorderColor(),
                        Graphic->CellText(), Graphic->CellErrLen(), Graphic->CellErrFrom(),
                        ControlLook()->ProgressMarginY(), ControlLook()->ProgressMarginX(),
                        static_cast<double>(static_cast<Integer>(Round(value))), emptyText,
                        Graphic->CellColorTo(), fillText);
        canvas->Pen()->SetColor(clBlack);
        break;
    }
    case ctProgressPie: {
        // Drawn on a bitmap at the printer's resolution: the pie's slice is a flood fill, which a printer
        // does not do.
        const TRect box = DeviceRect(canvas, GraphicRect);
        if (box.Width() <= 0 || box.Height() <= 0)
            break;
        auto image = Backdrop(box.Width(), box.Height(), background);
        DrawPieProgress(image->Canvas(), TRect(0, 0, box.Width(), box.Height()), Graphic->CellColor(), false,
                        Graphic->CellAngle());
        StretchBitmapToCanvas(canvas, GraphicRect, image.get());
        break;
    }
    case ctInterface: {
        IGridCellObject* object = nullptr;
        if (!Supports(Graphic->CellBitmap(), IID_IGridCellObject, object))
            break;
        // An object without a size of its own draws into the graphic's room, in screen pixels.
        Integer w = object->GetWidth();
        Integer h = object->GetHeight();
        if (w <= 0)
            w = static_cast<Integer>(Round((GraphicRect.Right - GraphicRect.Left) / pass.screenToPaper));
        if (h <= 0)
            h = static_cast<Integer>(Round((GraphicRect.Top - GraphicRect.Bottom) / pass.screenToPaper));
        if (w <= 0 || h <= 0)
            break;
        auto image = Backdrop(w, h, background);
        object->Draw(image->Canvas(), TRect(0, 0, w, h), R, ARow, false, true);
        StretchBitmapToCanvas(canvas, GraphicRect, image.get());
        break;
    }
    case ctShape: {
        // Outlined in the printer's own pixels, so that shapes with a direction keep it on paper.
        const TRect box = DeviceRect(canvas, GraphicRect);
        DeviceUnitsScope device(canvas);
        const Integer margin = static_cast<Integer>(Round(4 * pass.deviceRatio));
        auto savedPen = std::make_unique<TPen>();
        savedPen->Assign(canvas->Pen());
        canvas->Pen()->SetWidth(std::max<Integer>(1, static_cast<Integer>(Round(pass.deviceRatio))));
        canvas->Brush()->SetStyle(bsSolid);
        DrawCellShape(canvas, box.Left + margin, box.Top + margin, Graphic->CellColor(),
                      static_cast<TColor>(Graphic->CellIndex()),
                      static_cast<TCellShape>(Graphic->CellAngle()), box.Height() - 2 * margin,
                      box.Width() - 2 * margin);
        canvas->Pen()->Assign(savedPen.get());
        break;
    }
    default:
        break;
    }
}

// ---- Small routines ----

Integer TAdvStringGrid::GetPrinterOrientationAngle() {
    String device, driver, port;
    HANDLE mode = nullptr;
    Printer()->GetPrinter(device, driver, port, mode);
    const int angle = DeviceCapabilitiesW(device.c_str(), port.c_str(), DC_ORIENTATION, nullptr, nullptr);
    return angle == 90 || angle == 270 ? angle : 0;
}

void TAdvStringGrid::PlaceRotatedText(TRect& Rect, Integer HAlign, Integer VAlign, Integer a, Integer b,
                                      Integer c, Integer d, Integer Angle) {
    const Integer quadrant = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle <= 270 ? 3 : 4;
    const Integer D = Rect.Right - Rect.Left - c - d;
    switch (HAlign) {
    case 0:
        Rect.Left += quadrant == 1 ? 0 : quadrant == 2 ? d : quadrant == 3 ? c + d : c;
        break;
    case 1:
        Rect.Left = quadrant == 1   ? Rect.Right - d - c
                    : quadrant == 2 ? Rect.Right - c
                    : quadrant == 3 ? Rect.Right
                                    : Rect.Right - d;
        break;
    default:
        switch (quadrant) {
        case 1:
            Rect.Left += D / 2;
            break;
        case 2:
            Rect.Left = Rect.Right - (c + Rect.Right - Rect.Left - d) / 2;
            break;
        case 3:
            Rect.Left = Rect.Right - D / 2;
            break;
        default:
            Rect.Left += (c + Rect.Right - Rect.Left - d) / 2;
            break;
        }
        break;
    }
    const Integer K = b + Rect.Top + a - Rect.Bottom;
    switch (VAlign) {
    case 0:
        Rect.Top += quadrant == 1 ? b : quadrant == 2 ? a + b : quadrant == 3 ? a : 0;
        break;
    case 2:
        Rect.Top = quadrant == 1   ? Rect.Bottom - a
                   : quadrant == 2 ? Rect.Bottom
                   : quadrant == 3 ? Rect.Bottom - b
                                   : Rect.Bottom - a - b;
        break;
    default:
        Rect.Top = quadrant == 1   ? Rect.Top + b - K / 2
                   : quadrant == 2 ? Rect.Top + a + b - K / 2
                   : quadrant == 3 ? Rect.Top + a - K / 2
                                   : Rect.Top - K / 2;
        break;
    }
}
