// TAdvStringGrid's printing and print preview: the print job around the printer, and the page engine that
// measures and fits columns, breaks the table into column bands and pages, repeats fixed rows and
// columns, and places headers, footers and the outer frame. Cells are measured and drawn by
// AdvGridPrintCell.cpp. Every layout value is in 0.1 mm (MM_LOMETRIC): y is 0 at the page's top edge and
// grows upward, so positions on the page are negative.
#include <algorithm>
#include <climits>

#include "grid/engine/AdvGrid.h"
#include "grid/files/AdvGridPrintPass.h"
#include "platform/framework/Printers.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"
#include "render/AsgHTMLE.h"

namespace {

// The column tables hold 513 entries, so printing covers displayed columns 0 to 511.
constexpr Integer LastPrintColumn = 511;

// The pass is the grid's for the length of one engine run, also when the run fails.
class PassScope {
public:
    PassScope(TPrintPassContext*& slot, TPrintPassContext* pass) : FSlot(slot), FPrevious(slot) {
        slot = pass;
    }
    ~PassScope() { FSlot = FPrevious; }

private:
    TPrintPassContext*& FSlot;
    TPrintPassContext* FPrevious;
};

// The screen's horizontal resolution; 96 when no screen DC can be had.
Integer ScreenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    if (!screen)
        return 96;
    Integer dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

bool IsTop(TPrintPosition position) {
    return position == ppTopLeft || position == ppTopRight || position == ppTopCenter;
}

bool IsBottom(TPrintPosition position) {
    return position == ppBottomLeft || position == ppBottomRight || position == ppBottomCenter;
}

} // namespace

// ---- The print and preview families ----

void TAdvStringGrid::Print() {
    PrintRange(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, false);
}

void TAdvStringGrid::PrintSelection() {
    PrintRange(Selection(), false);
}

void TAdvStringGrid::PrintRect(const TGridRect& Gridrect) {
    PrintRange(Gridrect, false);
}

void TAdvStringGrid::PrintSelectedRows() {
    PrintRange(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, true);
}

void TAdvStringGrid::PrintSelectedCols() {
    PrintRange(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}, true);
}

void TAdvStringGrid::PrintPreview(TCanvas* Canvas, const TRect& Displayrect) {
    PrintPreviewRange(Canvas, Displayrect, false, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TAdvStringGrid::PrintPreviewRect(TCanvas* Canvas, const TRect& Displayrect, const TGridRect& Gridrect) {
    PrintPreviewRange(Canvas, Displayrect, false, Gridrect);
}

void TAdvStringGrid::PrintPreviewSelection(TCanvas* Canvas, const TRect& Displayrect) {
    PrintPreviewRange(Canvas, Displayrect, false, Selection());
}

void TAdvStringGrid::PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Displayrect) {
    PrintPreviewRange(Canvas, Displayrect, true, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TAdvStringGrid::PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Displayrect) {
    PrintPreviewRange(Canvas, Displayrect, true, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TAdvStringGrid::PrintDraw(TCanvas* Canvas, const TRect& DrawRect) {
    PrintDrawRect(Canvas, DrawRect, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TAdvStringGrid::PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& Gridrect) {
    FPrintRect = ClampPrintRange(Gridrect);
    PrevRect = DrawRect;
    FPrintPageFrom = FPrintPageTo = FPrintPageNum = 1;
    HDC dc = Canvas->Handle();
    const int oldMode = GetMapMode(dc);
    SetMapMode(dc, MM_LOMETRIC);
    try {
        BuildPrintPages(Canvas, pmPrint, 1, false);
    } catch (...) {
        SetMapMode(dc, oldMode);
        throw;
    }
    SetMapMode(dc, oldMode);
}

void TAdvStringGrid::SetPreviewPage(Integer Value) {
    FPrintPageFrom = Value;
    FPrintPageTo = Value;
}

Integer TAdvStringGrid::MapFontHeight(Integer pointsize) const {
    // The integer product first, then real arithmetic, as the height has always been computed.
    const Integer product = pointsize * 254;
    return -static_cast<Integer>(product / 72.0 * Fontscalefactor);
}

Integer TAdvStringGrid::MapFontSize(Integer Height) {
    return static_cast<Integer>(Height * 72.0 / 254.0);
}

TGridRect TAdvStringGrid::ClampPrintRange(TGridRect Gridrect) {
    Gridrect.Left = std::max<Integer>(Gridrect.Left, 0);
    Gridrect.Top = std::max<Integer>(Gridrect.Top, 0);
    Gridrect.Right = std::min({Gridrect.Right, ColCount() - 1, LastPrintColumn});
    Gridrect.Bottom = std::min(Gridrect.Bottom, RowCount() - 1);
    return Gridrect;
}

void TAdvStringGrid::PrintRange(TGridRect Gridrect, bool SelectedOnly) {
    Gridrect = ClampPrintRange(Gridrect);
    ExportNotification(esExportStart, -1);
    FPrintRect = Gridrect;
    TPrinter* printer = Printer();
    // With the default settings this forces portrait, whatever was chosen in the print dialog.
    if (!PrintSettings()->UseDefaultOrientation())
        printer->SetOrientation(PrintSettings()->Orientation());
    HDC printerDC = printer->Handle();
    PrevRect = TRect(
        0, 0,
        static_cast<Integer>(Round(254.0 / GetDeviceCaps(printerDC, LOGPIXELSX) * printer->PageWidth())),
        static_cast<Integer>(Round(254.0 / GetDeviceCaps(printerDC, LOGPIXELSY) * printer->PageHeight())));
    printer->SetTitle(PrintSettings()->JobName());
    printer->BeginDoc();
    TCanvas* canvas = printer->Canvas();
    HDC dc = canvas->Handle();
    const int oldMode = GetMapMode(dc);

    Integer total = 0;
    try {
        if (FFastPrint) {
            total = INT_MAX;
        } else {
            SetMapMode(dc, MM_LOMETRIC);
            total = BuildPrintPages(canvas, pmCountPrint, -1, SelectedOnly);
        }
        FPrintPageFrom = 1;
        FPrintPageTo = total;
        FPrintPageNum = total;
        if (OnPrintStart) {
            OnPrintStart(this, total, FPrintPageFrom, FPrintPageTo);
            if (FPrintPageFrom == 0 || FPrintPageTo == 0 || FPrintPageFrom > FPrintPageTo) {
                SetMapMode(dc, oldMode);
                printer->Abort();
                return;
            }
        }
    } catch (...) {
        // A job that failed before its first page is drawn is dropped, so that the printer is free again.
        SetMapMode(dc, oldMode);
        if (printer->Printing())
            printer->Abort();
        throw;
    }
    FPrintPageNum = FPrintPageTo;

    try {
        BuildPrintPages(canvas, pmPrint, total, SelectedOnly);
    } catch (...) {
        SetMapMode(dc, oldMode);
        try {
            printer->EndDoc();
        } catch (const Exception&) {
            // The drawing failure is the one the caller hears of.
        }
        throw;
    }
    SetMapMode(dc, oldMode);
    printer->EndDoc();
    ExportNotification(esExportDone, -1);
}

void TAdvStringGrid::PrintPreviewRange(TCanvas* Canvas, const TRect& Displayrect, bool SelectedOnly,
                                       TGridRect Gridrect) {
    Gridrect = ClampPrintRange(Gridrect);
    ExportNotification(esExportStart, -1);
    FPrintRect = Gridrect;
    HDC dc = Canvas->Handle();
    const int oldMode = GetMapMode(dc);
    try {
        SetMapMode(dc, MM_LOMETRIC);
        PrevRect = Displayrect;
        Integer total = 1;
        if (!FFastPrint) {
            total = BuildPrintPages(Canvas, pmCountPreview, -1, SelectedOnly);
            FPrintPageNum = total;
        }
        FIsPrintPreview = true;
        Integer fromPage = 1;
        Integer toPage = total;
        if (OnPrintStart)
            OnPrintStart(this, total, fromPage, toPage);
        // The handler's range only decides whether anything is drawn; the page drawn is the grid's.
        if (fromPage > 0 && toPage > 0 && toPage >= fromPage) {
            PrevRect = Displayrect;
            BuildPrintPages(Canvas, pmPreview, total, SelectedOnly);
        }
    } catch (...) {
        SetMapMode(dc, oldMode);
        ExportNotification(esExportDone, -1);
        FIsPrintPreview = false;
        throw;
    }
    SetMapMode(dc, oldMode);
    ExportNotification(esExportDone, -1);
    FIsPrintPreview = false;
}

Integer TAdvStringGrid::GetMaxColumnLineLength(Integer ACol) {
    Integer longest = 0;
    for (Integer r = 0; r < RowCount(); ++r) {
        String text = SaveCell(ACol, r);
        do {
            String line = CutFirstLine(text, FMultilineCells);
            longest = std::max<Integer>(longest, static_cast<Integer>(line.size()));
        } while (!text.empty());
    }
    return longest;
}

// ---- The engine ----

bool TAdvStringGrid::PrintPageDrawn() const {
    const TPrintPassContext& pass = *FPrintPass;
    return pass.Drawing() && pass.pageIndex + 1 >= FPrintPageFrom && pass.pageIndex + 1 <= FPrintPageTo;
}

bool TAdvStringGrid::IsPrintRow(Integer ARow) {
    if (!FPrintPass->selectedOnly)
        return true;
    if (ARow < FixedRows() && PrintSettings()->FixedCellsAlways())
        return true;
    if (MouseActions()->DisjunctRowSelect())
        return GetRowSelect(MouseActions()->RowSelectPersistent() ? RealRowIndex(ARow) : ARow);
    const TGridRect selection = Selection();
    return selection.Top <= ARow && ARow <= selection.Bottom;
}

bool TAdvStringGrid::IsPrintCol(Integer ACol) {
    if (!FPrintPass->selectedOnly)
        return true;
    if (MouseActions()->DisjunctRowSelect())
        return true;
    if (ACol < FixedCols() && PrintSettings()->FixedCellsAlways())
        return true;
    if (MouseActions()->DisjunctColSelect())
        return GetColSelect(ACol);
    const TGridRect selection = Selection();
    return selection.Left <= ACol && ACol <= selection.Right;
}

void TAdvStringGrid::MeasurePrintColumns() {
    TPrintPassContext& pass = *FPrintPass;
    TPrintSettings* settings = PrintSettings();
    for (Integer c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
        MaxWidths[c] = 0;
    if (settings->NoAutoSize()) {
        for (Integer c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
            if (IsPrintCol(c))
                MaxWidths[c] = static_cast<Integer>(Round(ColWidths(c) * pass.screenToPaper));
        return;
    }
    auto measureRow = [&](Integer row) {
        for (Integer c = FPrintRect.Left; c <= FPrintRect.Right; ++c) {
            if (!IsPrintCol(c))
                continue;
            const Integer real = RealColIndex(c);
            const Integer w =
                settings->UseFixedWidth() ? settings->FixedWidth() : MeasurePrintCell(real, row).X;
            if (w > MaxWidths[c] && !IsXMergedCell(real, row))
                MaxWidths[c] = w;
        }
    };
    if (settings->RepeatFixedRows())
        for (Integer r = 0; r < FixedRows(); ++r)
            measureRow(r);
    for (Integer r = FPrintRect.Top; r <= FPrintRect.Bottom; ++r)
        measureRow(r);
}

void TAdvStringGrid::FitPrintColumns() {
    TPrintPassContext& pass = *FPrintPass;
    TPrintSettings* settings = PrintSettings();
    pass.fitScale = 1.0;
    if (settings->FitToPage() == fpNever)
        return;
    Integer total = 0;
    for (Integer c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
        if (IsPrintCol(c))
            total += MaxWidths[c] + pass.spacing;
    const Integer spacingTotal = (FPrintRect.Right - FPrintRect.Left + 1) * pass.spacing;
    double scale = 1.0;
    if (total != spacingTotal)
        scale = static_cast<double>(pass.pageWidth - settings->RightSize() - settings->LeftSize() -
                                    spacingTotal) /
                (total - spacingTotal);
    switch (settings->FitToPage()) {
    case fpShrink:
        scale = std::min(scale, 1.0);
        break;
    case fpGrow:
        scale = std::max(scale, 1.0);
        break;
    case fpCustom:
        if (scale != 1.0 && OnFitToPage) {
            bool allow = true;
            OnFitToPage(this, scale, allow);
            if (!allow)
                scale = 1.0;
        }
        break;
    default:
        break;
    }
    pass.fitScale = scale;
    if (scale != 1.0)
        for (Integer c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
            MaxWidths[c] = static_cast<Integer>(MaxWidths[c] * scale);
}

void TAdvStringGrid::CalcPrintHeaderFooter() {
    TPrintPassContext& pass = *FPrintPass;
    TPrintSettings* settings = PrintSettings();
    const bool titleLines = settings->TitleLines()->Count() > 0;
    const bool anyTop = IsTop(settings->Time()) || IsTop(settings->Date()) || IsTop(settings->PageNr()) ||
                        IsTop(settings->Title());
    const bool anyBottom = IsBottom(settings->Time()) || IsBottom(settings->Date()) ||
                           IsBottom(settings->PageNr()) || IsBottom(settings->Title());
    // An HTML title block takes its own height instead of a line per title line. It is laid out in the
    // counting passes too, so that they break the pages where the drawing pass does.
    const String html = PrintHTMLTitle();
    pass.titleBlockHeight = 0;
    if (!html.empty() && IsTop(settings->Title()))
        pass.titleBlockHeight =
            RenderPrintTitle(html, settings->HeaderFont(), -settings->HeaderSize(), false);
    else if (!html.empty() && IsBottom(settings->Title()))
        pass.titleBlockHeight = RenderPrintTitle(html, settings->FooterFont(), 0, false);
    if (anyTop) {
        pass.headerHeight = pass.lineGap + pass.headerTextHeight + settings->HeaderSize();
        if (IsTop(settings->Title()) && titleLines)
            pass.headerHeight += html.empty() ? (settings->TitleLines()->Count() - 1) * pass.headerTextHeight
                                              : pass.titleBlockHeight;
    } else {
        pass.headerHeight = settings->HeaderSize();
    }
    if (anyBottom) {
        pass.footerHeight = 2 * (pass.lineGap + pass.footerTextHeight) + settings->FooterSize();
        if (IsBottom(settings->Title()) && titleLines)
            pass.footerHeight += html.empty() ? (settings->TitleLines()->Count() - 1) * pass.footerTextHeight
                                              : pass.titleBlockHeight;
    } else {
        // One footer line is kept free even when the footer is empty.
        pass.footerHeight = pass.lineGap + pass.footerTextHeight + settings->FooterSize();
    }
}

String TAdvStringGrid::PrintHTMLTitle() {
    TPrintSettings* settings = PrintSettings();
    TStrings* lines = settings->TitleLines();
    if (!settings->TitleText().empty() || lines->Count() == 0 ||
        CellTextKind(lines->Text(), FEnableHTML) != CellKindHTML)
        return String();
    String html;
    for (Integer i = 0; i < lines->Count(); ++i)
        html += lines->Strings(i);
    return html;
}

Integer TAdvStringGrid::RenderPrintTitle(const String& HTML, TFont* Font, Integer Top, bool Draw) {
    TPrintPassContext& pass = *FPrintPass;
    TCanvas* canvas = pass.canvas;
    HDC dc = canvas->Handle();
    // The renderer lays out in device pixels, with the font at its size on this device.
    POINT corners[2] = {{PrintSettings()->LeftSize(), Top}, {pass.pageWidth, pass.pageBottom}};
    LPtoDP(dc, corners, 2);
    auto savedFont = std::make_unique<TFont>();
    savedFont->Assign(canvas->Font());
    const TBrushStyle savedBrush = canvas->Brush()->Style();
    SetMapMode(dc, MM_TEXT);
    canvas->Font()->Assign(Font);
    canvas->Font()->SetSize(Font->Size());
    canvas->Brush()->SetStyle(bsClear);
    auto render = [&](const TRect& bounds, bool measure) {
        THTMLRenderResult html;
        RenderMiniHTML(canvas, HTML, bounds, nullptr, -1, -1, -1, -1, 1, false, measure, true, false, true,
                       true, true, false, String(), pass.deviceRatio, FURLColor, clNone, clNone, 0x00808080,
                       html, FImageCache.get(), nullptr, nullptr, BiDiMode());
        return html.textHeight;
    };
    const Integer left = std::min(corners[0].x, corners[1].x);
    const Integer right = std::max(corners[0].x, corners[1].x);
    const Integer top = corners[0].y;
    const Integer pixels = render(TRect(left, top, right, top + 65535), true);
    if (Draw && pixels > 0)
        render(TRect(left, top, right, top + pixels), false);
    SetMapMode(dc, MM_LOMETRIC);
    canvas->Font()->Assign(savedFont.get());
    canvas->Brush()->SetStyle(savedBrush);
    POINT extent[2] = {{0, 0}, {0, pixels}};
    DPtoLP(dc, extent, 2);
    return std::abs(extent[1].y - extent[0].y);
}

void TAdvStringGrid::StartPrintPage() {
    TPrintPassContext& pass = *FPrintPass;
    const Integer next = pass.pageIndex + 2;
    // After OnPrintCancel the job ends with the page that was done: no further printer page begins.
    if (pass.stop || next < FPrintPageFrom || next > FPrintPageTo)
        return;
    if (pass.mode == pmPrint && pass.pageIndex + 1 >= FPrintPageFrom && Printer()->Printing() &&
        pass.canvas == Printer()->Canvas())
        Printer()->NewPage();
    // A new printer page starts in the printer's own units again.
    SetMapMode(pass.canvas->Handle(), MM_LOMETRIC);
    if (pass.Drawing() && OnPrintPage)
        OnPrintPage(this, pass.canvas, next, pass.pageWidth, pass.pageBottom);
}

void TAdvStringGrid::FinishPrintPage(Integer FromCol, Integer ToCol, Integer YPos) {
    TPrintPassContext& pass = *FPrintPass;
    if (!PrintPageDrawn())
        return;
    TPrintSettings* settings = PrintSettings();
    TCanvas* canvas = pass.canvas;
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(settings->BorderStyle());
    canvas->Pen()->SetWidth(settings->Borders() == pbDouble ? 10 : 2);
    const Integer left = pass.repeatFixedColsInBand ? Indents[0] : Indents[FromCol];
    const Integer right = Indents[ToCol + 1];
    const Integer top = -pass.headerHeight - settings->TitleSpacing();
    const Integer bottom = YPos + pass.lineGap / 2;
    const TPrintBorders borders = settings->Borders();
    if (borders == pbAround || borders == pbAroundVertical || borders == pbAroundHorizontal) {
        canvas->MoveTo(left, top);
        canvas->LineTo(right, top);
        canvas->LineTo(right, bottom);
        canvas->LineTo(left, bottom);
        canvas->LineTo(left, top);
    }
    if (borders == pbDouble || borders == pbHorizontal || borders == pbAroundHorizontal) {
        canvas->MoveTo(left, bottom);
        canvas->LineTo(right, bottom);
    }
    if ((borders == pbDouble || borders == pbVertical || borders == pbAroundVertical) &&
        pass.repeatFixedColsInBand)
        for (Integer i = 0; i < FixedCols(); ++i) {
            canvas->MoveTo(Indents[i], top);
            canvas->LineTo(Indents[i], bottom);
        }
}

String TAdvStringGrid::FormatPageNumber() {
    TPrintPassContext& pass = *FPrintPass;
    TPrintSettings* settings = PrintSettings();
    String text;
    if (pass.multiBand) {
        text = IntToStr(pass.bandPageIndex + 1) + u"-" + IntToStr(pass.bandNumber);
        if (OnPrintGetPageNum)
            OnPrintGetPageNum(this, pass.bandPageIndex + 1, pass.bandNumber, text);
        return text;
    }
    if (!settings->PageNumSep().empty() && pass.pageCount > 1)
        text = IntToStr(pass.pageIndex + settings->PageNumberOffset() + 1) + settings->PageNumSep() +
               IntToStr(pass.pageCount + settings->MaxPagesOffset());
    else
        text = IntToStr(pass.pageIndex + settings->PageNumberOffset() + 1);
    if (OnPrintGetPageNum)
        OnPrintGetPageNum(this, pass.pageIndex + 1, pass.bandNumber, text);
    return text;
}

Integer TAdvStringGrid::DrawHeaderFooter() {
    TPrintPassContext& pass = *FPrintPass;
    Fontscalefactor = pass.fitScale;
    if (!PrintPageDrawn())
        return 0;
    TPrintSettings* settings = PrintSettings();
    TCanvas* canvas = pass.canvas;
    enum Slot { TopLeft, TopRight, TopCenter, BottomLeft, BottomRight, BottomCenter, SlotCount };
    String slots[SlotCount];
    auto add = [&](TPrintPosition position, const String& item) {
        if (position == ppNone)
            return;
        const int slot = static_cast<int>(position) - 1;
        if (slot == TopLeft || slot == BottomLeft)
            slots[slot] = item + u" " + slots[slot];
        else
            slots[slot] = slots[slot] + u" " + item;
    };
    add(settings->Time(), FormatDateTime(u"hh:nn", Now()));
    add(settings->Date(), FormatDateTime(settings->DateFormat(), Now()));
    add(settings->PageNr(),
        settings->PagePrefix() + u" " + FormatPageNumber() + u" " + settings->PageSuffix());
    const String htmlTitle = PrintHTMLTitle();
    const bool titleIsHTML = !htmlTitle.empty();
    if (!settings->TitleText().empty()) {
        add(settings->Title(), settings->TitleText());
    } else if (titleIsHTML) {
        // Drawn as a block of its own below.
    } else if (settings->TitleLines()->Count() > 0 && settings->Title() != ppNone) {
        // The first title line joins its slot with one blank, none when either is empty.
        const int slot = static_cast<int>(settings->Title()) - 1;
        const String line = settings->TitleLines()->Strings(0);
        const String blank = slots[slot].empty() || line.empty() ? String() : String(u" ");
        if (slot == TopLeft || slot == BottomLeft)
            slots[slot] = line + blank + slots[slot];
        else
            slots[slot] = slots[slot] + blank + line;
    }

    auto xFor = [&](int slot, const String& text) {
        const int column = slot % 3;
        if (column == 0)
            return settings->LeftSize();
        if (column == 1)
            return pass.pageWidth - canvas->TextWidth(text) - settings->RightSize() - 20;
        return (pass.pageWidth - canvas->TextWidth(text)) / 2;
    };
    const bool moreTitleLines =
        settings->TitleText().empty() && !titleIsHTML && settings->TitleLines()->Count() > 1;
    Integer htmlHeight = 0;

    auto saveFont = std::make_unique<TFont>();
    saveFont->Assign(canvas->Font());
    const TBrushStyle saveBrush = canvas->Brush()->Style();

    canvas->Font()->Assign(settings->HeaderFont());
    canvas->Font()->SetHeight(MapFontHeight(settings->HeaderFont()->Size()));
    canvas->Brush()->SetStyle(bsClear);
    for (int slot = TopLeft; slot <= TopCenter; ++slot)
        if (!slots[slot].empty())
            canvas->TextOut(xFor(slot, slots[slot]), -settings->HeaderSize(), slots[slot]);
    if (IsTop(settings->Title()) && moreTitleLines)
        for (Integer k = 1; k < settings->TitleLines()->Count(); ++k) {
            const String line = settings->TitleLines()->Strings(k);
            canvas->TextOut(xFor(static_cast<int>(settings->Title()) - 1, line),
                            -settings->HeaderSize() - k * canvas->TextHeight(u"gh"), line);
        }
    // The HTML title block at the top starts where the header line does.
    if (titleIsHTML && IsTop(settings->Title()))
        htmlHeight = RenderPrintTitle(htmlTitle, settings->HeaderFont(), -settings->HeaderSize(), true);

    canvas->Font()->Assign(settings->FooterFont());
    canvas->Font()->SetHeight(MapFontHeight(settings->FooterFont()->Size()));
    // An HTML title block at the bottom sits on the bottom margin, with the footer line above it.
    const Integer bottomBlock = titleIsHTML && IsBottom(settings->Title()) ? pass.titleBlockHeight : 0;
    if (bottomBlock > 0)
        htmlHeight = RenderPrintTitle(htmlTitle, settings->FooterFont(),
                                      pass.pageBottom + settings->FooterSize() + bottomBlock, true);
    const Integer footerY =
        pass.pageBottom + settings->FooterSize() + bottomBlock + pass.lineGap + pass.footerTextHeight;
    for (int slot = BottomLeft; slot <= BottomCenter; ++slot)
        if (!slots[slot].empty())
            canvas->TextOut(xFor(slot, slots[slot]), footerY, slots[slot]);
    if (IsBottom(settings->Title()) && moreTitleLines)
        for (Integer k = 1; k < settings->TitleLines()->Count(); ++k) {
            const String line = settings->TitleLines()->Strings(k);
            canvas->TextOut(xFor(static_cast<int>(settings->Title()) - 1, line),
                            footerY - k * canvas->TextHeight(u"gh"), line);
        }

    canvas->Font()->Assign(saveFont.get());
    canvas->Brush()->SetStyle(saveBrush);
    return htmlHeight;
}

Integer TAdvStringGrid::GetPrintRowHeight(Integer ARow) {
    TPrintPassContext& pass = *FPrintPass;
    TPrintSettings* settings = PrintSettings();
    if (ARow == pass.cachedRow)
        return pass.cachedHeight;
    if (settings->NoAutoSizeRow())
        return static_cast<Integer>(Round(RowHeights(ARow) * pass.screenToPaper)) - 4;
    if (settings->UseFixedHeight()) {
        pass.cachedRow = ARow;
        pass.cachedHeight = settings->FixedHeight();
        return pass.cachedHeight;
    }
    Fontscalefactor = pass.fitScale;
    Integer largest = 0;
    Integer last = 0;
    for (Integer c = FPrintRect.Left; c <= FPrintRect.Right; ++c) {
        const Integer real = RealColIndex(c);
        last = MeasurePrintCell(real, ARow).Y;
        if (!IsYMergedCell(real, ARow))
            largest = std::max(largest, last);
    }
    Integer height = largest == 0 ? last : largest;
    height += static_cast<Integer>(static_cast<std::uint32_t>(height) >> 3);
    if (OnPrintSetRowHeight)
        OnPrintSetRowHeight(this, ARow, height);
    pass.cachedRow = ARow;
    pass.cachedHeight = height;
    return height;
}

Integer TAdvStringGrid::BuildPrintPages(TCanvas* Canvas, TPrintPassMode Mode, Integer PageCount,
                                        bool SelectedOnly) {
    TPrintPassContext pass;
    pass.grid = this;
    pass.canvas = Canvas;
    pass.mode = Mode;
    pass.pageCount = PageCount;
    pass.selectedOnly = SelectedOnly;
    PassScope scope(FPrintPass, &pass);
    TPrintSettings* settings = PrintSettings();
    HDC dc = Canvas->Handle();

    // Set-up.
    SetMapMode(dc, MM_TEXT);
    const Integer screenDpi = ScreenPixelsPerInch();
    const Integer canvasDpi = GetDeviceCaps(dc, LOGPIXELSX);
    pass.deviceRatio = canvasDpi > 0 ? static_cast<double>(canvasDpi) / screenDpi : 1.0;
    SetMapMode(dc, MM_LOMETRIC);
    Fontscalefactor = 1.0;
    pass.workFont = std::make_unique<TFont>();
    pass.workFont2 = std::make_unique<TFont>();
    pass.workPen = std::make_unique<TPen>();
    pass.workBrush = std::make_unique<TBrush>();
    pass.workBrush2 = std::make_unique<TBrush>();

    Canvas->Pen()->SetColor(clBlack);
    Canvas->Pen()->SetStyle(settings->BorderStyle());
    Canvas->Pen()->SetWidth(settings->Borders() == pbDouble ? 10 : 2);

    Canvas->Font()->Assign(settings->HeaderFont());
    Canvas->Font()->SetHeight(MapFontHeight(settings->HeaderFont()->Size()));
    pass.headerTextHeight = Canvas->TextHeight(u"gh");
    Canvas->Font()->Assign(settings->FooterFont());
    Canvas->Font()->SetHeight(MapFontHeight(settings->FooterFont()->Size()));
    pass.footerTextHeight = Canvas->TextHeight(u"gh");
    Canvas->Font()->Assign(settings->Font());
    Canvas->Font()->SetHeight(MapFontHeight(settings->Font()->Size()));
    pass.tableFontSize = settings->Font()->Size();
    pass.lineGap = static_cast<std::uint16_t>(static_cast<std::uint32_t>(Canvas->TextHeight(u"gh")) >> 3);
    pass.halfG = static_cast<std::int16_t>(Canvas->TextWidth(u"g") / 2);

    switch (Mode) {
    case pmPrint: {
        // The page bottom is the clipping box's lower edge, below the top edge at 0 whichever way the
        // box's corners come.
        const TRect clip = Canvas->ClipRect();
        pass.pageWidth = clip.Right - clip.Left;
        pass.pageBottom = std::min(clip.Top, clip.Bottom);
        break;
    }
    case pmCountPrint:
        pass.pageWidth = PrevRect.Right - PrevRect.Left;
        pass.pageBottom = -PrevRect.Bottom - PrevRect.Top;
        break;
    default: {
        POINT corners[2] = {{PrevRect.Left, PrevRect.Top}, {PrevRect.Right, PrevRect.Bottom}};
        DPtoLP(dc, corners, 2);
        PrevRect = TRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
        pass.pageWidth = PrevRect.Right - PrevRect.Left;
        pass.pageBottom = PrevRect.Bottom - PrevRect.Top;
        break;
    }
    }
    pass.screenToPaper = 254.0 / screenDpi;
    FPrintPageRect = TRect(0, 0, pass.pageWidth, pass.pageBottom);
    pass.spacing = settings->UseFixedWidth() ? 0 : settings->ColumnSpacing() + 20;
    pass.fitScale = 1.0;

    MeasurePrintColumns();
    FitPrintColumns();
    if (OnPrintSetColumnWidth)
        for (Integer c = FPrintRect.Left; c <= FPrintRect.Right; ++c)
            OnPrintSetColumnWidth(this, c, MaxWidths[c]);

    // Column bands.
    const Integer right = FPrintRect.Right;
    pass.startCol = pass.endCol = FPrintRect.Left;
    pass.pageIndex = 0;
    pass.bandNumber = 0;
    pass.lastBreakRow = -1;
    pass.multiBand = false;
    pass.stop = false;
    const TGridExportState rowKind =
        FixedRows() >= FPrintRect.Top && FPrintRect.Bottom >= RowCount() - 1 - FixedFooters()
            ? esExportNewRow
            : esExportSelRow;
    while (pass.endCol <= right && !pass.stop) {
        ++pass.bandNumber;
        pass.bandPageIndex = 0;
        const Integer bandStart = pass.startCol;
        pass.repeatFixedColsInBand = FixedCols() > 0 && settings->RepeatFixedCols() &&
                                     (FPrintRect.Left < pass.startCol || FixedCols() < FPrintRect.Left);
        pass.fixedColsWidth = 0;
        if (pass.repeatFixedColsInBand)
            for (Integer c = 0; c < FixedCols(); ++c)
                pass.fixedColsWidth += MaxWidths[c] + pass.spacing;

        // Fill the band with the columns that fit.
        const Integer limit = pass.pageWidth - settings->RightSize();
        pass.bandWidth = pass.fixedColsWidth;
        while (pass.bandWidth <= limit && pass.endCol <= right) {
            pass.bandWidth += MaxWidths[pass.endCol] + pass.spacing;
            if (pass.bandWidth <= limit)
                ++pass.endCol;
        }
        if (pass.bandWidth > limit) {
            pass.bandWidth -= MaxWidths[pass.endCol] + pass.spacing;
            --pass.endCol;
        }
        // A band always advances: when not even its first column fits, it holds that column alone, never
        // a second one drawn off the page.
        if (pass.endCol < bandStart) {
            pass.endCol = bandStart;
            pass.bandWidth += MaxWidths[bandStart] + pass.spacing;
        }
        pass.endCol = std::min(pass.endCol, right);
        pass.multiBand = pass.multiBand || pass.endCol < right;
        FPrintPageWidth = pass.bandWidth;
        FPrintColStart = pass.startCol;
        FPrintColEnd = pass.endCol;

        // Column edges.
        Indents[pass.startCol] = settings->Centered() ? 0 : settings->LeftSize();
        Indents[0] = Indents[pass.startCol];
        for (Integer c = pass.startCol; c <= pass.endCol; ++c)
            Indents[c + 1] = Indents[c] + (IsPrintCol(c) ? MaxWidths[c] + pass.spacing : 0);
        if (pass.repeatFixedColsInBand)
            for (Integer p = 1; p <= FixedCols() - 1; ++p)
                Indents[p] = Indents[p - 1] + MaxWidths[p - 1] + pass.spacing;
        if (settings->Centered() && pass.bandWidth < pass.pageWidth) {
            const Integer d = (pass.pageWidth - pass.bandWidth) / 2;
            for (Integer c = pass.startCol; c <= pass.endCol + 1; ++c)
                Indents[c] += d;
            if (pass.repeatFixedColsInBand)
                for (Integer c = 0; c <= FixedCols(); ++c)
                    Indents[c] += d;
        }
        for (Integer c = pass.startCol; c <= pass.endCol + 1; ++c)
            Indents[c] += pass.fixedColsWidth;

        CalcPrintHeaderFooter();
        pass.row = FPrintRect.Top;
        if (pass.Drawing() && OnPrintPage)
            OnPrintPage(this, Canvas, pass.pageIndex + 1, pass.pageWidth, pass.pageBottom);

        // Rows.
        Integer laidOut = 0;
        while (pass.row <= FPrintRect.Bottom && !pass.stop) {
            ExportNotification(rowKind, pass.row);
            if (laidOut == 0) {
                // HeaderHeight holds an HTML title block's height already.
                DrawHeaderFooter();
                pass.yPos = -pass.headerHeight - settings->TitleSpacing();
            }
            auto layRow = [&](Integer row) {
                if (pass.repeatFixedColsInBand)
                    PrintRowCells(pass.yPos, 0, FixedCols() - 1, row);
                pass.yPos -= PrintRowCells(pass.yPos, pass.startCol, pass.endCol, row);
            };
            if (laidOut == 0 && pass.row > 0 && (pass.pageIndex > 0 || FPrintRect.Top >= FixedRows()) &&
                settings->RepeatFixedRows() && FixedRows() > 0) {
                for (Integer r = 0; r < FixedRows(); ++r)
                    layRow(r);
                ++laidOut;
            }
            // A row the loop reaches is laid out on this page whatever its height.
            if (IsPrintRow(pass.row))
                layRow(pass.row);
            ++pass.row;
            const Integer next = pass.row < RowCount() ? GetPrintRowHeight(pass.row) : 0;
            ++laidOut;
            bool newPage = false;
            if (OnPrintNewPage)
                OnPrintNewPage(this, pass.row, newPage);
            const bool full = pass.yPos - next < pass.pageBottom + pass.footerHeight;
            if (pass.Drawing() && (pass.row > FPrintRect.Bottom || full || newPage)) {
                if (OnPrintPageDone)
                    OnPrintPageDone(this, Canvas, pass.row, pass.yPos, pass.pageIndex + 1, pass.pageWidth,
                                    pass.pageBottom);
                if (OnPrintCancel)
                    OnPrintCancel(this, pass.pageIndex + 1, pass.stop);
            }
            if ((pass.row <= FPrintRect.Bottom && full) || newPage) {
                FinishPrintPage(pass.startCol, pass.endCol, pass.yPos);
                laidOut = 0;
                pass.lastBreakRow = pass.row;
                StartPrintPage();
                ++pass.pageIndex;
                ++pass.bandPageIndex;
                CalcPrintHeaderFooter();
            }
        }

        if (pass.lastBreakRow != pass.row)
            FinishPrintPage(pass.startCol, pass.endCol, pass.yPos);
        pass.startCol = pass.endCol + 1;
        pass.endCol = pass.startCol;
        if (pass.endCol <= right)
            StartPrintPage();
        ++pass.pageIndex;
    }

    if (OnPrintDone)
        OnPrintDone(this);
    return pass.pageIndex;
}
