// Text turned by an angle inside its cell: where the turned text starts for the cell's alignments, and
// drawing it with a font whose escapement is that angle.
#include <cmath>
#include <numbers>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"

namespace {

// 0 .. 359, the angles the quadrants of PlaceRotatedText are counted for.
Integer NormalizedAngle(Integer angle) {
    return ((angle % 360) + 360) % 360;
}

// The four projections of a Width x Height text turned by Angle degrees, each truncated: a = height
// down, b = width down, c = height across, d = width across.
struct Projections {
    Integer a = 0;
    Integer b = 0;
    Integer c = 0;
    Integer d = 0;
};

Projections Project(const TSize& size, Integer angle) {
    const double theta = angle * std::numbers::pi / 180.0;
    const double cosine = std::cos(theta);
    const double sine = std::sin(theta);
    return Projections{std::abs(static_cast<Integer>(std::trunc(cosine * size.cy))),
                       std::abs(static_cast<Integer>(std::trunc(sine * size.cx))),
                       std::abs(static_cast<Integer>(std::trunc(sine * size.cy))),
                       std::abs(static_cast<Integer>(std::trunc(cosine * size.cx)))};
}

// Whether a turned text is measured with the room of one "w" after it.
enum class Room { OfW, None };

// Measures Text on canvas with its room and places its start in Rect, as CalcRotatedTextRect does.
void PlaceTurnedText(TCanvas* canvas, TRect& Rect, TSize& Size, TVAlignment VAlign, TAlignment HAlign,
                     const String& Text, Integer Angle, Room room) {
    Size = canvas->TextExtent(room == Room::OfW ? Text + u"w" : Text);
    Rect = TRect(Rect.Left + 2, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 2);
    const Integer angle = NormalizedAngle(Angle);
    const Projections p = Project(Size, angle);
    const Integer h = HAlign == taRightJustify ? 1 : HAlign == taCenter ? 2 : 0;
    const Integer v = VAlign == vtaCenter ? 1 : VAlign == vtaBottom ? 2 : 0;
    TAdvStringGrid::PlaceRotatedText(Rect, h, v, p.a, p.b, p.c, p.d, angle);
}

// Puts back the font's turn, the brush style and the DC's text alignment that rotated drawing changes.
class TurnScope {
public:
    explicit TurnScope(TCanvas* canvas)
        : FCanvas(canvas), FOrientation(canvas->Font()->Orientation()), FBrushStyle(canvas->Brush()->Style()),
          FAlign(GetTextAlign(canvas->Handle())) {}
    ~TurnScope() {
        FCanvas->Font()->SetOrientation(FOrientation);
        FCanvas->Brush()->SetStyle(FBrushStyle);
        SetTextAlign(FCanvas->Handle(), FAlign);
    }
    TurnScope(const TurnScope&) = delete;
    TurnScope& operator=(const TurnScope&) = delete;

private:
    TCanvas* FCanvas;
    Integer FOrientation;
    TBrushStyle FBrushStyle;
    UINT FAlign;
};

} // namespace

void TAdvStringGrid::CalcRotatedTextRect(TRect& Rect, TSize& Size, TVAlignment VAlign, TAlignment HAlign,
                                         const String& Text, Integer Angle) {
    PlaceTurnedText(Canvas(), Rect, Size, VAlign, HAlign, Text, Angle, Room::OfW);
}

void TAdvStringGrid::DrawCellRotatedText(TCellDrawContext& Context, const TRect& R, Integer Angle) {
    TCanvas* canvas = Context.canvas;
    String text = GetFormattedCell(Context.rcol, Context.row);
    // A password cell never shows its text, whichever way it is turned.
    bool password = false;
    DoIsPasswordCell(Context.rcol, Context.row, password);
    if (password)
        FillWithChar(text, FPasswordChar);
    if (text.empty())
        return;
    const Integer angle = NormalizedAngle(Angle);

    // Upright text (90 or -90 degrees) lays its lines side by side; other angles draw the text as one.
    std::vector<String> lines;
    String measured = text;
    if ((angle == 90 || angle == 270) && CountLines(text, FMultilineCells || Context.wordWrap) > 1) {
        String rest = text;
        Integer widest = -1;
        do {
            lines.push_back(CutFirstLine(rest, true));
            const Integer width = canvas->TextWidth(lines.back());
            if (width > widest) {
                widest = width;
                measured = lines.back();
            }
        } while (!rest.empty());
    } else {
        lines.push_back(text);
    }

    // The turned text goes where its whole box fits the cell; a cell without that room shows the text
    // level, where at least its start can be read, as a cell without the turn would.
    const TSize extent = canvas->TextExtent(measured);
    const Integer lineHeight = extent.cy;
    const Integer extra = lineHeight * (static_cast<Integer>(lines.size()) - 1);
    const TRect area(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    auto fits = [&](const TSize& size) {
        const Projections box = Project(size, angle);
        return box.c + box.d + extra <= area.Width() && box.a + box.b <= area.Height();
    };
    if (!fits(extent)) {
        String line = text;
        line = CutFirstLine(line, false);
        UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS;
        if (FEnhTextSize)
            flags |= DT_END_ELLIPSIS;
        flags |= Context.hAlign == taRightJustify ? DT_RIGHT : Context.hAlign == taCenter ? DT_CENTER : 0;
        flags |= Context.vAlign == vtaBottom ? DT_BOTTOM : Context.vAlign == vtaCenter ? DT_VCENTER : 0;
        const TurnScope scope(canvas);
        canvas->Brush()->SetStyle(bsClear);
        RECT rect = area;
        DrawTextExW(canvas->Handle(), line.data(), static_cast<int>(line.size()), &rect, flags, nullptr);
        return;
    }

    // The room of the "w" is left out where the cell has only room for the text itself: it would push
    // the text over the far edge.
    TRect start = R;
    TSize size{0, 0};
    PlaceTurnedText(canvas, start, size, Context.vAlign, Context.hAlign, measured, angle,
                    fits(canvas->TextExtent(measured + u"w")) ? Room::OfW : Room::None);
    if (Context.hAlign == taCenter)
        start.Left -= extra / 2;
    else if (Context.hAlign == taRightJustify)
        start.Left -= extra;

    const TurnScope scope(canvas);
    canvas->Font()->SetOrientation(angle * 10);
    SetTextAlign(canvas->Handle(), TA_LEFT | TA_TOP);
    canvas->Brush()->SetStyle(bsClear);
    const TRect clip(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    Integer x = start.Left;
    for (const String& line : lines) {
        canvas->TextRect(clip, x, start.Top, line);
        x += lineHeight;
    }
}
