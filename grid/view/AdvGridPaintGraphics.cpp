// The graphics and controls drawn inside cells: pictures, check boxes, radio buttons, bars, nodes and
// buttons, and where each sits beside the cell's text.
#include <algorithm>
#include <cmath>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

void RegisterGridGlyphs();

namespace {

const TCellTypes CheckBoxKinds = {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox,
                                  ctTriStateCheckBox};
// Check boxes that take the whole cell: their text is not drawn.
const TCellTypes TextlessCheckBoxKinds = {ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox};
// Kinds drawn over the cell without its text.
const TCellTypes TextlessKinds = {ctRotated,    ctRadio,     ctProgress, ctRangeIndicator,
                                  ctXPProgress, ctDataImage, ctRating};
// Kinds whose rectangle does not take the cell offset.
const TCellTypes UnshiftedKinds = {ctNode, ctProgress, ctRangeIndicator, ctXPProgress};

Integer PackedLow(Integer packed) {
    return static_cast<Integer>(static_cast<unsigned>(packed) & 0xFFFF);
}

Integer PackedHigh(Integer packed) {
    return static_cast<Integer>((static_cast<unsigned>(packed) >> 16) & 0xFFFF);
}

TPoint ImageSize(TCustomImageList* images) {
    return images != nullptr ? TPoint(images->Width(), images->Height()) : TPoint(0, 0);
}

// Moves each side in by dx and dy.
void ShrinkRect(TRect& rect, Integer dx, Integer dy) {
    rect = TRect(rect.Left + dx, rect.Top + dy, rect.Right - dx, rect.Bottom - dy);
}

double ClampPercent(double value) {
    return std::clamp(value, 0.0, 100.0);
}

// The cell text as a number; a text that is none reads as 0, as painting must not raise.
double CellNumber(const String& text) {
    double value = 0;
    return TryStrToFloat(Trim(text), value) ? value : 0;
}

// Puts back what the graphics change of a canvas: the pen's colour and width, the brush's colour and
// style and the font's colour. Values only, so no pen, brush or font is made per cell.
class CanvasScope {
public:
    explicit CanvasScope(TCanvas* canvas)
        : FCanvas(canvas), FPenColor(canvas->Pen()->Color()), FPenWidth(canvas->Pen()->Width()),
          FBrushColor(canvas->Brush()->Color()), FBrushStyle(canvas->Brush()->Style()),
          FFontColor(canvas->Font()->Color()) {}
    ~CanvasScope() {
        FCanvas->Pen()->SetColor(FPenColor);
        FCanvas->Pen()->SetWidth(FPenWidth);
        FCanvas->Brush()->SetColor(FBrushColor);
        FCanvas->Brush()->SetStyle(FBrushStyle);
        FCanvas->Font()->SetColor(FFontColor);
    }
    CanvasScope(const CanvasScope&) = delete;
    CanvasScope& operator=(const CanvasScope&) = delete;

private:
    TCanvas* FCanvas;
    TColor FPenColor;
    Integer FPenWidth;
    TColor FBrushColor;
    TBrushStyle FBrushStyle;
    TColor FFontColor;
};

void Line(TCanvas* canvas, Integer x1, Integer y1, Integer x2, Integer y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

// Draws part and state of a visual-style class over rect; false when the class has no theme.
bool DrawThemePart(HWND window, TCanvas* canvas, const Char* themeClass, int part, int state,
                   const TRect& rect) {
    HTHEME theme = OpenThemeData(window, themeClass);
    if (theme == nullptr)
        return false;
    const RECT area = rect;
    DrawThemeBackground(theme, canvas->Handle(), part, state, &area, nullptr);
    CloseThemeData(theme);
    return true;
}

} // namespace

// ---- Layout

void TAdvStringGrid::GetCellGraphicLayout(TCellDrawContext& Context) {
    Context.graphic = nullptr;
    Context.graphicWidth = 0;
    Context.graphicHeight = 0;
    Context.roomForText = true;
    TCellGraphic* graphic = GetCellGraphic(Context.rcol, Context.row);
    if (graphic == nullptr)
        return;
    Context.graphic = graphic;
    Context.graphicHAlign = graphic->CellHAlign();
    Context.graphicVAlign = graphic->CellVAlign();
    const TCellType kind = graphic->CellType();
    TPoint size(0, 0);
    switch (kind) {
    case ctBitmap:
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic->CellBitmap()))
            size = TPoint(bitmap->Width(), bitmap->Height());
        break;
    case ctIcon:
        if (TIcon* icon = graphic->CellIcon())
            size = TPoint(icon->Width(), icon->Height());
        break;
    case ctImageList:
    case ctDataImage:
        size = ImageSize(GetCellImageList(Context.rcol, Context.row));
        break;
    case ctImages: {
        auto* list = dynamic_cast<TIntList*>(graphic->CellBitmap());
        const Integer count = list != nullptr ? list->Count() : 0;
        const TPoint image = ImageSize(GetCellImageList(Context.rcol, Context.row));
        size = graphic->CellBoolean() ? TPoint(count * image.X, image.Y) : TPoint(image.X, count * image.Y);
        break;
    }
    case ctPicture:
    case ctFilePicture: {
        const TRect cell = CellRect(Context.col, Context.row);
        graphic->GetPictureSize(cell.Width(), cell.Height(), false, size);
        break;
    }
    case ctButton:
    case ctBitButton:
        size = TPoint(PackedLow(graphic->CellIndex()), PackedHigh(graphic->CellIndex()));
        break;
    case ctProgressPie:
        size = TPoint(20, 20);
        break;
    case ctRadioButton:
        size = TPoint(FControlLook->RadioSize() + 4, FControlLook->RadioSize() + 4);
        break;
    case ctShape: {
        const Integer side = RowHeights(Context.row) - 2 * FXYOffset.Y;
        size = TPoint(side, side);
        break;
    }
    case ctRating:
        size = TPoint(graphic->CellAngle() * 18, 16);
        break;
    case ctInterface: {
        IGridCellObject* cell = nullptr;
        if (Supports(graphic->CellBitmap(), IID_IGridCellObject, cell))
            size = TPoint(cell->GetWidth(), cell->GetHeight());
        break;
    }
    default:
        if (CheckBoxKinds.Contains(kind))
            size = TPoint(FControlLook->CheckSize(), FControlLook->CheckSize());
        break;
    }
    Context.graphicWidth = size.X;
    Context.graphicHeight = size.Y;
    if (TextlessKinds.Contains(kind) || TextlessCheckBoxKinds.Contains(kind))
        Context.roomForText = false;
}

// ---- Drawing

void TAdvStringGrid::DrawCellGraphic(TCellDrawContext& Context, TRect R) {
    auto* graphic = Context.graphic;
    if (graphic == nullptr)
        return;
    TCanvas* canvas = Context.canvas;
    const TCellType kind = graphic->CellType();
    const CanvasScope scope(canvas);

    if (!UnshiftedKinds.Contains(kind)) {
        R.Left -= 1 - FXYOffset.X;
        R.Right += 1 - FXYOffset.X;
        R.Top -= 1 - FXYOffset.Y;
        R.Bottom += 1 - FXYOffset.Y;
    }
    const Integer textWidth = Context.textWidth > 0 ? Context.textWidth + 2 : 0;
    const Integer w = Context.graphicWidth;
    const Integer h = Context.graphicHeight;

    // Across: where the graphic starts, from its own alignment and the text's.
    Integer left = R.Left + 1;
    Integer right = -1;
    switch (graphic->CellHAlign()) {
    case haLeft:
        break;
    case haRight:
        left = R.Right - w - 1;
        break;
    case haCenter:
        left = w < R.Width() ? R.Left + (R.Width() - w) / 2 : R.Left + 1;
        break;
    case haBeforeText:
        if (Context.hAlign == taRightJustify)
            left = R.Right - textWidth - w;
        else if (Context.hAlign == taCenter)
            left = R.Left + (R.Width() - textWidth - w) / 2;
        if (left < R.Left)
            left = R.Left + 1;
        break;
    case haAfterText:
        if (Context.hAlign == taRightJustify)
            left = R.Right - w - 1;
        else if (Context.hAlign == taCenter)
            left = R.Left + textWidth + (R.Width() - textWidth - w) / 2;
        else
            left = R.Left + textWidth;
        if (left < R.Left)
            left = R.Left + 1;
        break;
    case haFull:
        left = R.Left;
        right = R.Right;
        break;
    }
    if (right < 0)
        right = left + w;

    // Down: check boxes follow the cell's own vertical text alignment where it is not the grid's.
    TCellVAlign valign = graphic->CellVAlign();
    if ((CheckBoxKinds.Contains(kind) || kind == ctRadioButton) && Context.vAlign != FVAlignment)
        valign = Context.vAlign == vtaTop ? vaTop : Context.vAlign == vtaCenter ? vaCenter : vaBottom;
    Integer top = R.Top + 1;
    Integer bottom = -1;
    switch (valign) {
    case vaBottom:
        top = R.Bottom - 1 - h;
        break;
    case vaCenter:
        top = h < R.Height() ? R.Top + (R.Height() - h) / 2 : R.Top + 1;
        break;
    case vaUnderText:
        top = R.Bottom - h;
        break;
    case vaFull:
        top = R.Top;
        bottom = R.Bottom;
        break;
    case vaTop:
    case vaAboveText:
        break;
    }
    if (bottom < 0)
        bottom = top + h;
    TRect G(left, top, right, bottom);

    const Integer rcol = Context.rcol;
    const Integer row = Context.row;
    auto canEdit = [&] {
        bool allowed = true;
        CanEditCell(rcol, row, allowed);
        return allowed;
    };

    switch (kind) {
    case ctBitmap:
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic->CellBitmap())) {
            if (graphic->CellTransparent())
                DrawGlyph(canvas, bitmap, G.Left, G.Top);
            else
                canvas->Draw(G.Left, G.Top, bitmap);
        }
        break;
    case ctIcon:
        if (TIcon* icon = graphic->CellIcon())
            canvas->Draw(G.Left, G.Top, icon);
        break;
    case ctImageList:
        if (TCustomImageList* images = GetCellImageList(rcol, row))
            images->Draw(canvas, G.Left, G.Top, graphic->CellIndex());
        break;
    case ctDataImage: {
        TCustomImageList* images = GetCellImageList(rcol, row);
        const String text = Cells(Context.col, row);
        Integer index = 0;
        if (images != nullptr && !text.empty() && TryStrToInt(Trim(text), index) && index >= 0 &&
            index < images->Count())
            images->Draw(canvas, G.Left, G.Top, index);
        break;
    }
    case ctImages:
        if (TCustomImageList* images = GetCellImageList(rcol, row))
            if (auto* list = dynamic_cast<TIntList*>(graphic->CellBitmap())) {
                Integer x = G.Left, y = G.Top;
                for (Integer i = 0; i < list->Count(); ++i) {
                    images->Draw(canvas, x, y, list->Items(i));
                    if (graphic->CellBoolean())
                        x += images->Width();
                    else
                        y += images->Height();
                }
            }
        break;
    case ctPicture:
        if (auto* picture = dynamic_cast<TPicture*>(graphic->CellBitmap()); picture && picture->Graphic()) {
            if (graphic->CellAngle() != 0)
                canvas->StretchDraw(G, picture->Graphic());
            else
                canvas->Draw(G.Left, G.Top, picture->Graphic());
        }
        break;
    case ctFilePicture:
        if (auto* picture = dynamic_cast<TFilePicture*>(graphic->CellBitmap()))
            picture->DrawPicture(canvas, G);
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
    case ctRadioButton: {
        const bool withText = kind == ctCheckBox || kind == ctTriStateCheckBox || kind == ctRadioButton;
        if (OnGetAlignment) {
            // The cell's own alignment places the box instead of the object's.
            if (Context.hAlign == taRightJustify)
                G.Left = withText ? R.Right - textWidth - w - 1 : R.Right - w - 1;
            else if (Context.hAlign == taCenter)
                G.Left = withText && textWidth > 0 ? R.Left + (R.Right - textWidth - R.Left) / 2 - w
                                                   : R.Left + (R.Width() - w) / 2;
            else
                G.Left = R.Left + 1;
            G.Left = std::max(G.Left, R.Left + 1);
            G.Right = G.Left + w;
        }
        const bool enabled = canEdit();
        if (kind == ctRadioButton) {
            G.Left += FXYOffset.X;
            G.Right = G.Left + FControlLook->RadioSize();
            G.Bottom = G.Top + FControlLook->RadioSize();
            DrawRadioGroup(canvas, G, false, 1, FControlLook->ControlStyle(), row, rcol,
                           Context.state.Contains(gdSelected), nullptr, !enabled, false,
                           graphic->CellBoolean() ? 0 : 1, 1);
        } else if (kind == ctTriStateCheckBox) {
            DrawCheckBox(canvas, G, false, enabled, false, FControlLook->ControlStyle(), true,
                         graphic->CellCheckBoxState());
        } else if (kind == ctDataCheckBox || kind == ctVirtCheckBox) {
            String checkTrue;
            GetCheckTrue(rcol, row, checkTrue);
            DrawCheckBox(canvas, G, Cells(Context.col, row) == checkTrue, enabled, false,
                         FControlLook->ControlStyle(), false, cbUnchecked);
        } else {
            DrawCheckBox(canvas, G, graphic->CellBoolean(), enabled, graphic->CellAngle() > 0,
                         FControlLook->ControlStyle(), false, cbUnchecked);
        }
        break;
    }
    case ctRadio:
        DrawRadioGroup(canvas, R, false, 1, FControlLook->ControlStyle(), row, rcol,
                       Context.state.Contains(gdSelected), dynamic_cast<TStrings*>(graphic->CellBitmap()),
                       !canEdit(), graphic->CellBoolean(), graphic->CellIndex(), graphic->CellAngle());
        break;
    case ctNode:
        DrawCellNodeButton(Context, graphic, R);
        break;
    case ctProgress:
        DrawCellProgress(Context, graphic, R);
        break;
    case ctXPProgress: {
        TRect bar = R;
        ShrinkRect(bar, FControlLook->ProgressMarginX(), FControlLook->ProgressMarginY());
        --bar.Right;
        --bar.Bottom;
        const double value = CellNumber(Cells(Context.col, row));
        const double from = graphic->CellErrFrom();
        const double to = graphic->CellErrLen();
        // An empty range has no fraction to show: empty below its one value, full at it.
        const Integer percentage =
            to == from ? (value >= to ? 100 : 0)
                       : static_cast<Integer>(Round(std::abs(value - from) / (to - from) * 100));
        const TGridProgressAppearance* look = FProgressAppearance.get();
        TLevelProgressParams params;
        params.Level0Color = look->Level0Color();
        params.Level0ColorTo = look->Level0ColorTo();
        params.Level1Color = look->Level1Color();
        params.Level1ColorTo = look->Level1ColorTo();
        params.Level2Color = look->Level2Color();
        params.Level2ColorTo = look->Level2ColorTo();
        params.Level3Color = look->Level3Color();
        params.Level3ColorTo = look->Level3ColorTo();
        params.Level1Perc = look->Level1Perc();
        params.Level2Perc = look->Level2Perc();
        params.BorderColor = look->BorderColor();
        params.ShowBorder = look->ShowBorder();
        params.Stacked = look->Stacked();
        params.ShowPercentage = look->ShowPercentage();
        params.Font = canvas->Font();
        params.FontColor = look->CompleteFontColor();
        params.CompletionSmooth = look->CompletionSmooth();
        params.ShowGradient = look->ShowGradient();
        params.Steps = look->Steps();
        params.BackgroundColor =
            look->UnCompleteColor() != clNone ? look->UnCompleteColor() : canvas->Brush()->Color();
        DrawLevelProgress(canvas, bar, std::clamp(percentage, 0, 100), params);
        break;
    }
    case ctProgressPie:
        DrawPieProgress(canvas, TRect(G.Left, G.Top, G.Left + 20, G.Top + 20), graphic->CellColor(), false,
                        graphic->CellAngle());
        break;
    case ctRangeIndicator: {
        TRect bar = R;
        ShrinkRect(bar, FControlLook->ProgressMarginX(), FControlLook->ProgressMarginY());
        const auto value = static_cast<Integer>(Round(CellNumber(Cells(Context.col, row))));
        DrawBalanceBar(canvas, bar, value, graphic->CellColorTo(), graphic->CellColor(),
                       graphic->CellBoolean(), graphic->CellIndex());
        break;
    }
    case ctShape:
        DrawCellShape(canvas, G.Left, G.Top, graphic->CellColor(), static_cast<TColor>(graphic->CellIndex()),
                      static_cast<TCellShape>(graphic->CellAngle()), G.Height() - 1, G.Width() - 1);
        break;
    case ctRating: {
        const double v = std::trunc(CellNumber(Cells(Context.col, row)) * 2) / 2;
        const auto full = static_cast<TColor>(graphic->CellIndex());
        const TColor empty = graphic->CellColor();
        Integer x = G.Left;
        for (Integer i = 1; i <= graphic->CellAngle(); ++i) {
            const TColor color = i > v ? empty : full;
            DrawCellShape(canvas, x, G.Top, color, color, csStar, 16, 16);
            if (i - 1 < v && v < i)
                DrawCellShape(canvas, x, G.Top, full, full, csHalfStar, 16, 16);
            x += 18;
        }
        break;
    }
    case ctButton:
    case ctBitButton:
    case ctExpand:
        DrawCellButton(Context, graphic, G, R);
        break;
    case ctInterface: {
        IGridCellObject* cell = nullptr;
        if (Supports(graphic->CellBitmap(), IID_IGridCellObject, cell))
            cell->Draw(canvas, TRect(R.Left - 1, R.Top - 1, R.Right, R.Bottom), rcol, row,
                       Context.state.Contains(gdSelected), false);
        break;
    }
    case ctRotated:
        DrawCellRotatedText(Context, R, graphic->CellAngle());
        break;
    default:
        break;
    }

    // The comment's mark in the top-right corner.
    if (kind != ctNode && !graphic->CellComment().empty()) {
        const TColor color =
            graphic->CommentColor() != clNone ? graphic->CommentColor() : FControlLook->CommentColor();
        if (color != clNone) {
            const Integer x = R.Right + FXYOffset.X;
            const Integer y = R.Top - FXYOffset.Y;
            const TPoint corners[] = {TPoint(x - 8, y + 1), TPoint(x - 3, y + 1), TPoint(x - 3, y + 6)};
            canvas->Brush()->SetColor(color);
            canvas->Pen()->SetColor(color);
            canvas->Polygon(corners);
        }
    }
}

// ---- Check boxes and radio groups

void TAdvStringGrid::DrawCheckBox(TCanvas* Canvas, TRect R, bool Checked, bool Enabled, bool Grayed,
                                  AdvGrid::TControlStyle Style, bool TriState, TCheckBoxState State) {
    if (FControlLook->NoDisabledCheckRadioLook() || FControlLook->CheckAlwaysActive())
        Enabled = true;
    if (Style == AdvGrid::csTheme && !(FIsComCtl6 && ThemedDrawingActive()))
        Style = AdvGrid::csClassic;
    if (TriState) {
        Checked = State == cbChecked;
        Grayed = State == cbGrayed;
    }
    const Integer side = FControlLook->CheckSize();
    const TRect square(R.Left + (R.Width() - side) / 2, R.Top + (R.Height() - side) / 2,
                       R.Left + (R.Width() - side) / 2 + side, R.Top + (R.Height() - side) / 2 + side);
    switch (Style) {
    case AdvGrid::csClassic:
    case AdvGrid::csFlat: {
        UINT state = Grayed ? DFCS_BUTTON3STATE | DFCS_CHECKED : DFCS_BUTTONCHECK;
        if (Checked)
            state |= DFCS_CHECKED;
        if (Style == AdvGrid::csFlat)
            state |= DFCS_FLAT;
        if (!Enabled)
            state |= DFCS_INACTIVE;
        RECT area = square;
        DrawFrameControl(Canvas->Handle(), &area, DFC_BUTTON, state);
        break;
    }
    case AdvGrid::csWinXP:
    case AdvGrid::csQEL: {
        // Grayed shows as unchecked: the bitmaps have no third state.
        const Integer first = Style == AdvGrid::csQEL ? 1 : 5;
        const Integer index = first + (Enabled ? 0 : 2) + (Checked && !Grayed ? 0 : 1);
        DrawGlyph(Canvas, GridGlyph(u"ASGCHK0" + IntToStr(index)), R.Left, R.Top);
        break;
    }
    case AdvGrid::csTarvel: {
        Canvas->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
        Canvas->Pen()->SetColor(clBtnFace);
        Canvas->Rectangle(square);
        Canvas->Pen()->SetColor(clBtnHighlight);
        Line(Canvas, square.Left, square.Bottom - 1, square.Left, square.Top);
        Line(Canvas, square.Left, square.Top, square.Right - 1, square.Top);
        Canvas->Pen()->SetColor(clBtnShadow);
        Line(Canvas, square.Right - 1, square.Top, square.Right - 1, square.Bottom - 1);
        Line(Canvas, square.Right - 1, square.Bottom - 1, square.Left, square.Bottom - 1);
        if (Checked) {
            Canvas->Pen()->SetColor(Enabled ? FControlLook->Color() : 0x00808080);
            Canvas->Pen()->SetWidth(2);
            const Integer x = square.Left + 3, y = square.Top + side / 2;
            Line(Canvas, x, y, x + 2, y + 3);
            Line(Canvas, x + 2, y + 3, square.Right - 4, square.Top + 3);
            Canvas->Pen()->SetWidth(1);
        }
        break;
    }
    case AdvGrid::csGlyph: {
        TBitmap* glyph = Checked ? FControlLook->CheckedGlyph() : FControlLook->UnCheckedGlyph();
        if (!glyph->Empty())
            DrawGlyph(Canvas, glyph, R.Left, R.Top);
        break;
    }
    case AdvGrid::csTheme: {
        int state = Checked ? 5 : Grayed ? 9 : 1;
        if (!Enabled)
            state += 3;
        DrawThemePart(WindowHandle(), Canvas, u"button", BP_CHECKBOX, state, square);
        break;
    }
    }
}

void TAdvStringGrid::DrawRadioGroup(TCanvas* Canvas, TRect R, bool Upwards, double Scale,
                                    AdvGrid::TControlStyle Style, Integer ARow, Integer ACol, bool Selected,
                                    TStrings* Items, bool Disabled, bool Horizontal, Integer SelectedIndex,
                                    Integer Count) {
    if (Style == AdvGrid::csTheme && !ThemedDrawingActive())
        Style = AdvGrid::csClassic;
    if (FControlLook->NoDisabledCheckRadioLook() || FControlLook->RadioAlwaysActive())
        Disabled = false;
    const TBrushStyle brushStyle = Canvas->Brush()->Style();
    Canvas->Brush()->SetStyle(bsClear);
    if (Selected && IsSelectionVisible())
        Canvas->Font()->SetColor(FSelectionTextColor);
    const bool classic = Style == AdvGrid::csClassic || Style == AdvGrid::csFlat;
    const Integer radioSize = FControlLook->RadioSize();
    const Integer textHeight = Canvas->TextHeight(u"gh");
    const String cellText = Cells(DisplColIndex(ACol), ARow);
    const Integer button =
        static_cast<Integer>(Round(Scale * (Style == AdvGrid::csFlat ? radioSize + 2 : radioSize)));

    Integer captionsBefore = 0;
    for (Integer i = 1; i <= Count; ++i) {
        const bool hasCaption = Items != nullptr && i - 1 < Items->Count();
        const String caption = hasCaption ? Items->Strings(i - 1) : String();
        bool on = i == SelectedIndex + 1;
        if (SelectedIndex == -1 && hasCaption && caption == cellText)
            on = true;

        Integer x = 0, y = 0, captionX = 0, captionY = 0, side = 16;
        if (classic) {
            side = button;
            if (Horizontal) {
                x = R.Left + 2 + (i - 1) * radioSize + captionsBefore;
                y = R.Top + (R.Height() - side) / 2;
                captionX = x + static_cast<Integer>(Round(Scale * radioSize));
                captionY = y - 2;
            } else {
                const Integer step = (i - 1) * textHeight;
                y = Upwards ? R.Bottom - 2 - step - textHeight : R.Top + 2 + step;
                x = hasCaption ? R.Left + 2 : R.Left + (R.Width() - side) / 2;
                captionX = x + static_cast<Integer>(Round(Scale * (radioSize + 4)));
                captionY = y;
            }
        } else {
            const bool glyphStyle =
                Style == AdvGrid::csWinXP || Style == AdvGrid::csQEL || Style == AdvGrid::csGlyph;
            if (Horizontal) {
                x = R.Left + 16 * i - 14 + captionsBefore;
                y = R.Top + (R.Height() - 16) / 2;
                captionX = x + 16;
                captionY = y;
            } else {
                const Integer step = (i - 1) * std::max(16, textHeight);
                y = Upwards ? R.Bottom - 2 - step - 16 : R.Top + 2 + step;
                x = R.Left + 2;
                captionX = R.Left + (glyphStyle ? 18 : 20);
                captionY = y + (glyphStyle ? 1 : 0);
            }
        }
        const TRect square(x, y, x + side, y + side);

        switch (Style) {
        case AdvGrid::csClassic:
        case AdvGrid::csFlat: {
            UINT state = DFCS_BUTTONRADIO;
            if (Style == AdvGrid::csFlat)
                state |= DFCS_FLAT;
            if (Disabled)
                state |= DFCS_INACTIVE;
            if (on)
                state |= DFCS_CHECKED;
            RECT area = square;
            DrawFrameControl(Canvas->Handle(), &area, DFC_BUTTON, state);
            break;
        }
        case AdvGrid::csTarvel: {
            const TPoint diamond[] = {TPoint(x + 6, y), TPoint(x + 12, y + 6), TPoint(x + 6, y + 12),
                                      TPoint(x, y + 6)};
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(clBtnFace);
            Canvas->Pen()->SetColor(on ? 0x00808080 : clWhite);
            Canvas->Polygon(diamond);
            Canvas->Pen()->SetColor(on ? clWhite : 0x00808080);
            Line(Canvas, x + 6, y + 12, x + 12, y + 6);
            Line(Canvas, x + 6, y + 12, x, y + 6);
            if (on) {
                const TPoint dot[] = {TPoint(x + 6, y + 4), TPoint(x + 8, y + 6), TPoint(x + 6, y + 8),
                                      TPoint(x + 4, y + 6)};
                Canvas->Brush()->SetColor(FControlLook->Color());
                Canvas->Pen()->SetColor(FControlLook->Color());
                Canvas->Polygon(dot);
            }
            Canvas->Brush()->SetStyle(bsClear);
            break;
        }
        case AdvGrid::csTheme:
            DrawThemePart(WindowHandle(), Canvas, u"button", BP_RADIOBUTTON,
                          (on ? 5 : 1) + (Disabled ? 3 : 0), square);
            break;
        case AdvGrid::csWinXP:
        case AdvGrid::csQEL: {
            const Integer first = Style == AdvGrid::csQEL ? 1 : 5;
            DrawGlyph(Canvas, GridGlyph(u"ASGRAD0" + IntToStr(first + (Disabled ? 2 : 0) + (on ? 0 : 1))), x,
                      y);
            break;
        }
        case AdvGrid::csGlyph: {
            TBitmap* glyph = on ? FControlLook->RadioOnGlyph() : FControlLook->RadioOffGlyph();
            if (!glyph->Empty())
                DrawGlyph(Canvas, glyph, x, y);
            break;
        }
        }
        if (hasCaption) {
            Canvas->TextOut(captionX, captionY, caption);
            captionsBefore += Canvas->TextWidth(caption);
        }
    }
    Canvas->Brush()->SetStyle(brushStyle);
}

// ---- Glyphs

TBitmap* TAdvStringGrid::GridGlyph(const String& Name) {
    for (auto& [name, bitmap] : FGridGlyphs)
        if (name == Name)
            return bitmap.get();
    RegisterGridGlyphs();
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(reinterpret_cast<NativeUInt>(GetModuleHandleW(nullptr)), Name);
    FGridGlyphs.emplace_back(Name, std::move(bitmap));
    return FGridGlyphs.back().second.get();
}

void TAdvStringGrid::DrawGlyph(TCanvas* Canvas, TBitmap* Glyph, Integer X, Integer Y) {
    const bool transparent = Glyph->Transparent();
    const TTransparentMode mode = Glyph->TransparentMode();
    Glyph->SetTransparentMode(tmAuto);
    Glyph->SetTransparent(true);
    Canvas->Draw(X, Y, Glyph);
    Glyph->SetTransparent(transparent);
    Glyph->SetTransparentMode(mode);
}

// ---- Progress bars

void TAdvStringGrid::DrawCellProgress(TCellDrawContext& Context, TCellGraphic* Graphic, TRect R) {
    TCanvas* canvas = Context.canvas;
    const double value = CellNumber(Cells(Context.col, Context.row));
    const AdvGrid::TControlStyle style = FControlLook->ControlStyle();
    if ((style == AdvGrid::csWinXP || style == AdvGrid::csTheme) && ThemedDrawingActive() &&
        FControlLook->ProgressXP()) {
        ShrinkRect(R, FControlLook->ProgressMarginX(), FControlLook->ProgressMarginY());
        if (DrawThemePart(WindowHandle(), canvas, u"Progress", PP_BAR, 1, R)) {
            ShrinkRect(R, 2, 2);
            R.Right = R.Left + static_cast<Integer>(R.Width() * ClampPercent(value) / 100);
            DrawThemePart(WindowHandle(), canvas, u"Progress", PP_CHUNK, 1, R);
            return;
        }
    }
    ShrinkRect(R, 2, 2);
    const TColor fill = Graphic->CellColor();
    const TColor empty = Graphic->CellColorTo();
    TColor fillText, emptyText;
    if (Graphic->CellBoolean()) {
        fillText = static_cast<TColor>(Graphic->CellIndex());
        emptyText = static_cast<TColor>(Graphic->CellAngle());
    } else {
        fillText = static_cast<TColor>(ColorToRGB(fill) ^ 0xFFFFFF);
        emptyText = static_cast<TColor>(ColorToRGB(empty) ^ 0xFFFFFF);
    }
    DrawProgressBar(canvas, R, fill, false, FControlLook->ProgressBorderColor(), Graphic->CellText(),
                    Graphic->CellErrLen(), Graphic->CellErrFrom(), FControlLook->ProgressMarginY(),
                    FControlLook->ProgressMarginX(), value, emptyText, empty, fillText);
}

// ---- Node buttons

void TAdvStringGrid::DrawCellNodeButton(TCellDrawContext& Context, TCellGraphic* Graphic, TRect R) {
    TCanvas* canvas = Context.canvas;
    const Integer row = Context.row;
    const Integer indent = GetRowIndent(row);
    const Integer nodeIndent = FCellNode->NodeIndent();
    const bool contracted = Graphic->CellBoolean();
    R.Left = indent - nodeIndent;
    const Integer middle = (R.Top + R.Bottom) / 2;
    if (FCellNode->ShowTree() && row >= FixedRows()) {
        const Integer xt = R.Left + nodeIndent / 2 + 2;
        canvas->Pen()->SetColor(FCellNode->TreeColor());
        canvas->Pen()->SetWidth(1);
        if (row + 1 < RowCount()) {
            const Integer next = GetRowIndent(row + 1);
            if (next > 0 && !(contracted && next < indent))
                Line(canvas, xt, middle, xt, R.Bottom);
        }
        if (row > FixedRows() && GetRowIndent(row - 1) >= indent)
            Line(canvas, xt, R.Top, xt, middle);
    }
    R.Left = indent - nodeIndent / 2 - 4;

    TColor background = canvas->Brush()->Color();
    if (background == clNone)
        background = FixedCols() == 0 ? Color() : FixedColor();
    if (IsSelectionVisible()) {
        if (!FMouseActions->DisjunctRowSelect() && Context.state.Contains(gdSelected))
            background = FSelectionColor;
        else if (FMouseActions->DisjunctRowSelect() && Options().Contains(goRowSelect) &&
                 Context.col >= FixedCols() && GetRowSelect(RealRowIndex(row)))
            background = FSelectionColor;
    }

    const TNodeType type = FCellNode->NodeType();
    if (type == cn3D) {
        canvas->Brush()->SetColor(FCellNode->Color());
        canvas->FillRect(R);
        canvas->Pen()->SetColor(clWhite);
        Line(canvas, R.Left, R.Bottom - 1, R.Left, R.Top);
        Line(canvas, R.Left, R.Top, R.Right - 1, R.Top);
        canvas->Pen()->SetColor(0x00808080);
        Line(canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
        Line(canvas, R.Right - 1, R.Bottom - 1, R.Left, R.Bottom - 1);
    }
    if (type == cnLeaf) {
        DrawTransparentBitmap(canvas, GridGlyph(contracted ? u"ASGLEAFCLOSE" : u"ASGLEAFOPEN"), background,
                              TRect(R.Left, R.Top + (R.Height() - 12) / 2, R.Right, R.Bottom));
        return;
    }
    if (type == cnXP) {
        DrawTransparentBitmap(canvas, GridGlyph(contracted ? u"XPNODEC" : u"XPNODEO"), background,
                              TRect(R.Left + 4, R.Top + (R.Height() - 10) / 2, R.Right, R.Bottom));
        return;
    }
    TBitmap* expand = FCellNode->ExpandGlyph();
    TBitmap* contract = FCellNode->ContractGlyph();
    if (type == cnGlyph && !expand->Empty() && !contract->Empty()) {
        TBitmap* glyph = contracted ? contract : expand;
        DrawGlyph(canvas, glyph, R.Left, R.Top + (R.Height() - glyph->Height()) / 2);
        return;
    }
    const Integer left = R.Left + 4;
    const Integer top = R.Top + (R.Height() - 8) / 2;
    canvas->Brush()->SetColor(FCellNode->Color());
    if (type == cnFlat) {
        canvas->Pen()->SetColor(FCellNode->NodeColor());
        canvas->Rectangle(TRect(left, top, left + 9, top + 9));
    } else {
        canvas->FillRect(TRect(left, top, left + 8, top + 8));
        RECT edge{left - 1, top - 1, left + 9, top + 9};
        DrawEdge(canvas->Handle(), &edge, contracted ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    }
    canvas->Pen()->SetColor(FCellNode->NodeColor());
    Line(canvas, left + 2, top + 4, left + 7, top + 4);
    if (contracted)
        Line(canvas, left + 4, top + 2, left + 4, top + 7);
}

// ---- Buttons

void TAdvStringGrid::DrawCellButton(TCellDrawContext& Context, TCellGraphic* Graphic, const TRect& G,
                                    const TRect& R) {
    TCanvas* canvas = Context.canvas;
    const TCellType kind = Graphic->CellType();
    const TRect cell = CellRect(Context.col, Context.row);
    TRect button = G;
    if (kind == ctExpand)
        button = TRect(cell.Right - 14, cell.Top + 1, cell.Right - 1, cell.Top + 14);
    Graphic->SetCellValue(static_cast<double>(((button.Top - cell.Top) << 16) | (button.Left - cell.Left)));

    bool enabled = true;
    if (!FControlLook->NoDisabledButtonLook())
        CanEditCell(Context.rcol, Context.row, enabled);
    Integer look = ThemedDrawingActive() ? 0 : 1;
    if (FControlLook->FlatButton())
        look = 2;
    else if (FFlat && FTones.Background.BrushColor != clNone)
        look = ButtonLookCustom;
    Integer state = 0;
    if (kind != ctExpand && Graphic->CellBoolean())
        state = 2;
    else if (FHoverButton.X == Context.rcol && FHoverButton.Y == Context.row)
        state = 1;
    if (!enabled && kind != ctExpand)
        state = 3;

    canvas->Brush()->SetColor(clBtnFace);
    DrawPushButton(canvas, WindowHandle(), button, String(), FTones, state, look);
    const Integer push = state == 2 ? 1 : 0;

    if (kind == ctExpand) {
        canvas->Pen()->SetColor(clBlack);
        const TRect& r = R;
        if (Graphic->CellVar() != 0) {
            Line(canvas, r.Right - 10, r.Top + 8, r.Right - 7, r.Top + 5);
            Line(canvas, r.Right - 7, r.Top + 5, r.Right - 3, r.Top + 9);
        } else {
            Line(canvas, r.Right - 10, r.Top + 5, r.Right - 7, r.Top + 8);
            Line(canvas, r.Right - 7, r.Top + 8, r.Right - 3, r.Top + 4);
        }
        return;
    }

    TRect caption(button.Left + push, button.Top + push, button.Right + push, button.Bottom + push);
    const String text = Graphic->CellText();
    if (kind == ctBitButton)
        if (auto* glyph = dynamic_cast<TBitmap*>(Graphic->CellBitmap()); glyph && !glyph->Empty()) {
            Integer x = caption.Left + 3;
            Integer y = caption.Top + (caption.Height() - glyph->Height()) / 2;
            if (glyph->Height() > caption.Height())
                y = caption.Top + 3;
            if (text.empty() && glyph->Width() < caption.Width())
                x = caption.Left + (caption.Width() - glyph->Width()) / 2;
            DrawGlyph(canvas, glyph, x, y);
            caption.Left += glyph->Width() + 4;
        }
    if (text.empty())
        return;
    UINT flags = DT_CENTER | DT_END_ELLIPSIS | DT_VCENTER;
    if (text.find(u'\r') == String::npos)
        flags |= DT_SINGLELINE;
    canvas->Brush()->SetStyle(bsClear);
    if (look == ButtonLookCustom) {
        const TColorTone& tone = state == 2   ? FTones.Selected
                                 : state == 1 ? FTones.Hover
                                 : state == 3 ? FTones.Disabled
                                              : FTones.Background;
        canvas->Font()->SetColor(tone.TextColor);
    }
    RECT area = caption;
    DrawTextEx(canvas->Handle(), const_cast<Char*>(text.c_str()), static_cast<Integer>(text.size()), &area,
               flags, nullptr);
}
