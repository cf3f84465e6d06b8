// A cell's text: what is shown (number formats), what files save and load, how it is drawn (plain,
// mini-HTML or rich text, with selection colours, the grid background under it and the selection
// rectangle) and how much room it takes.
#include <algorithm>
#include <cmath>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "grid/files/asgxlsfmt.h"
#include "platform/framework/RichEdit.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/richedit.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"
#include "render/AsgHTMLE.h"

namespace {

// Single-line text is never drawn past this many characters.
constexpr Integer MaxSingleLineChars = 4096;
// The room a rotated text needs beyond its box, each way.
constexpr Integer RotatedMargin = 12;

// Draws count characters of text; DrawTextEx wants a writable buffer, which it only reads here.
int DrawTextRun(HDC dc, const Char* text, Integer count, RECT& rect, UINT flags) {
    return DrawTextExW(dc, const_cast<Char*>(text), count, &rect, flags, nullptr);
}

// The height of one line of the canvas font, as DrawTextEx measures "gh".
Integer LineHeight(HDC dc) {
    RECT r{0, 0, 0, 0};
    return DrawTextRun(dc, u"gh", 2, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
}

// Restores the canvas font's style when a drawing step ends, however it ends.
class FontStyleScope {
public:
    explicit FontStyleScope(TFont* font) : FFont(font), FStyle(font->Style()) {}
    ~FontStyleScope() { FFont->SetStyle(FStyle); }
    FontStyleScope(const FontStyleScope&) = delete;
    FontStyleScope& operator=(const FontStyleScope&) = delete;

private:
    TFont* FFont;
    TFontStyles FStyle;
};

} // namespace

// ---- Displayed, saved and loaded text

String TAdvStringGrid::GetFormattedCell(Integer ACol, Integer ARow) {
    String result = Cells(ACol, ARow);
    if (!OnGetFloatFormat)
        return result;
    const Integer kind = NumberTextKind(result);
    if (kind != NumberKindInteger && kind != NumberKindDecimal && kind != NumberKindExponent)
        return result;
    bool isFloat = true;
    String format = FFloatFormat;
    OnGetFloatFormat(this, ACol, ARow, isFloat, format);
    if (!isFloat || format.empty())
        return result;
    try {
        if (FFormatType == ftExcel) {
            String formatted;
            XlsFormatValue(Variant(static_cast<double>(GetFloats(ACol, ARow))), format, formatted);
            return formatted;
        }
        // The integer form takes whole numbers only: a decimal text raises and shows as it is stored.
        if (format.find(u'd') != String::npos)
            return Format(format, {StrToInt(Trim(result))});
        return Format(format, {static_cast<Extended>(GetFloats(ACol, ARow))});
    } catch (const Exception&) {
        // A format that does not fit the value shows the stored text.
        return result;
    }
}

void TAdvStringGrid::GetSaveCellText(Integer ACol, Integer ARow, String& Value) {
    Value = Cells(ACol, ARow);
}

String TAdvStringGrid::SaveCell(Integer ACol, Integer ARow) {
    String text = FSaveVirtCells ? GetFormattedCell(ACol, ARow) : GridCells(ACol, ARow);
    if (text.empty()) {
        const TCellType type = GetCellType(ACol, ARow);
        if (type == ctCheckBox || type == ctTriStateCheckBox) {
            TCheckBoxState state = cbUnchecked;
            GetCheckBoxState(ACol, RealRowIndex(ARow), state);
            if (state == cbChecked)
                GetCheckTrue(ACol, ARow, text);
            else
                GetCheckFalse(ACol, ARow, text);
        }
    }
    const Integer kind = CellTextKind(text, true);
    if (kind == CellKindHTML && !FSaveWithHTML) {
        text = MiniHTMLToPlainText(text);
    } else if (kind == CellKindRTF) {
        if (FSaveWithRTF) {
            text.erase(
                std::remove_if(text.begin(), text.end(), [](Char c) { return c == u'\r' || c == u'\n'; }),
                text.end());
        } else if (TRichEdit* editor = RichEditor()) {
            CellToRich(ACol, ARow, editor);
            text = editor->Text();
        }
    }
    if (OnSaveCell)
        OnSaveCell(this, ACol, ARow, text);
    return text;
}

void TAdvStringGrid::LoadCell(Integer ACol, Integer ARow, String Value) {
    if (OnLoadCell)
        OnLoadCell(this, ACol, ARow, Value);
    SetGridCells(ACol, ARow, Value);
}

TRichEdit* TAdvStringGrid::RichEditor() {
    if (IsDesigning())
        return nullptr;
    if (RAviRidaVadi == nullptr) {
        RAviRidaVadi = std::make_unique<TRichEdit>(nullptr);
        RAviRidaVadi->SetVisible(false);
        RAviRidaVadi->SetBounds(0, 0, 0, 0);
        // The control asks for the room its text needs; measuring reads it back.
        RAviRidaVadi->OnResizeRequest = [this](TObject*, const TRect& rect) {
            FReqWidth = rect.Width();
            FReqHeight = rect.Height();
        };
        if (HandleAllocated())
            RAviRidaVadi->SetParent(this);
    }
    if (RAviRidaVadi->Parent() == nullptr && HandleAllocated())
        RAviRidaVadi->SetParent(this);
    return RAviRidaVadi.get();
}

// ---- Drawing

void TAdvStringGrid::DrawCellText(TCellDrawContext& Context) {
    TCanvas* canvas = Context.canvas;
    const Integer col = Context.col;
    const Integer rcol = Context.rcol;
    const Integer row = Context.row;
    const bool visible = IsSelectionVisible();

    // Selection colours.
    const bool selected =
        Context.state.Contains(gdSelected) || (Options().Contains(goRowSelect) && IsSelected(col, row) &&
                                               col >= FixedCols() && col < ColCount() - FFixedRightCols);
    TColor linkColor = FURLColor;
    if (selected && !Context.isFixed) {
        if (visible) {
            if (FSelectionColor != clNone)
                canvas->Brush()->SetColor(FSelectionColor);
            if (FSelectionTextColor != clNone && Enabled())
                canvas->Font()->SetColor(FSelectionTextColor);
            linkColor = FSelectionTextColor;
        } else if (!(HandleAllocated() && GetFocus() == WindowHandle()) ||
                   GetCellType(rcol, row) == ctCheckBox) {
            canvas->Brush()->SetColor(Context.normalBrush);
            canvas->Font()->SetColor(Context.normalFont);
        }
    }

    // Where nothing changes the stored text on its way to the screen (no display event, no number
    // format), it is read in place; it is copied only where it does change, or where it is edited here.
    bool inPlace = !OnGetFloatFormat && DisplayTextIsStored();
    String owned;
    StringView text;
    if (inPlace) {
        text = BaseCellView(rcol, row);
    } else {
        owned = GetFormattedCell(rcol, row);
        text = owned;
    }
    auto ownText = [&]() -> String& {
        if (inPlace) {
            owned = String(text);
            inPlace = false;
        }
        return owned;
    };
    // FIXME: matches of the search panel are highlighted once the panel has its search edit.
    Integer kind = CellTextKind(text, FEnableHTML);
    if (kind == CellKindFormula) {
        String& formula = ownText();
        GetSaveCellText(rcol, row, formula);
        text = formula;
        kind = CellTextKind(text, FEnableHTML);
    }
    Integer errFrom = 0;
    Integer errLen = 0;
    const TCellType cellType = GetCellType(rcol, row);
    if (cellType != ctEmpty)
        if (TCellGraphic* graphic = GetCellGraphic(rcol, row)) {
            errFrom = graphic->CellErrFrom();
            errLen = graphic->CellErrLen();
        }
    bool password = false;
    DoIsPasswordCell(rcol, row, password);
    if (password) {
        String& hidden = ownText();
        FillWithChar(hidden, FPasswordChar);
        text = hidden;
    }

    TRect R = Context.rect;
    if (IsFixed(col, row)) {
        R.Left += GridLineWidth();
        R.Top += GridLineWidth();
    }

    // With the disjunct selections the cells outside them show unselected while no button is held.
    if (!Context.isFixed && GridState() != gsSelecting &&
        ((FMouseActions->DisjunctRowSelect() && !GetRowSelect(row)) ||
         (FMouseActions->DisjunctColSelect() && !GetColSelect(col)))) {
        linkColor = FURLColor;
        canvas->Brush()->SetColor(Color());
        canvas->Font()->SetColor(Font()->Color());
        GetCellColor(rcol, row, Context.state, canvas->Brush(), canvas->Font());
        if (FZoomFactor != 0)
            canvas->Font()->SetSize(std::max(canvas->Font()->Size() + FZoomFactor, 1));
    }

    // The grid's background picture or gradient under the text.
    const TBackGroundCells cells = FBackGround->Cells();
    const bool coversCell =
        Context.isFixed ? (cells == bcFixed || cells == bcAll) : (cells == bcNormal || cells == bcAll);
    const bool ownColor = Colors(rcol, row) != clNone;
    if (!FBackGround->Bitmap()->Empty() && !ownColor && coversCell && !(selected && visible)) {
        const TRect picture(R.Left - GridLineWidth() + 1, R.Top - GridLineWidth() + 1, R.Right, R.Bottom);
        if (FBackGround->Display() == bdTile)
            DrawCellTiledPicture(canvas, picture, col, row);
        else
            DrawCellFixedPicture(canvas, picture);
    }
    const TBackGroundDisplay display = FBackGround->Display();
    if (display == bdGradientHorz || display == bdGradientVert) {
        const bool controlCell = cellType == ctCheckBox || cellType == ctDataCheckBox ||
                                 cellType == ctRadio || cellType == ctButton || cellType == ctRadioButton;
        const bool focusedCell = Context.state.Contains(gdFocused);
        if ((!ownColor || controlCell) && coversCell &&
            !(((selected && focusedCell) || (focusedCell && Options().Contains(goDrawFocusSelected))) &&
              visible)) {
            const TBrushStyle style = canvas->Brush()->Style();
            DrawCellBackgroundGradient(
                canvas, TRect(R.Left - 1, R.Top - GridLineWidth(), R.Right, R.Bottom + GridLineWidth() - 1));
            canvas->Brush()->SetStyle(style);
        }
    }

    // The selection rectangle: only the outer edges of the selection.
    if (FSelectionRectangle && !Context.isFixed) {
        TGridRect sel = Selection();
        if (IsMergedCell(rcol, row)) {
            const TPoint base = BaseCell(RealColIndex(sel.Left), sel.Top);
            sel = TGridRect{DisplColIndex(base.X), base.Y, DisplColIndex(base.X), base.Y};
        }
        if (col >= sel.Left && col <= sel.Right && row >= sel.Top && row <= sel.Bottom) {
            TPen* pen = canvas->Pen();
            const TColor penColor = pen->Color();
            const bool lines = Options().Contains(goHorzLine) || Options().Contains(goVertLine);
            const Integer p = lines ? 1 : 0;
            const Integer g = GridLineWidth();
            pen->SetColor(FSelectionRectangleColor);
            pen->SetWidth(lines ? 2 : 1);
            if (col == sel.Left) {
                canvas->MoveTo(R.Left + p - g, R.Bottom);
                canvas->LineTo(R.Left + p - g, R.Top - g);
            }
            if (col == sel.Right) {
                canvas->MoveTo(R.Right - 1, R.Bottom);
                canvas->LineTo(R.Right - 1, R.Top - g);
            }
            const Integer x1 = col == sel.Left ? R.Left - g : R.Left - g - 1;
            const Integer x2 = col == sel.Right ? R.Right - 1 : R.Right;
            if (row == sel.Top) {
                canvas->MoveTo(x1, R.Top + p - g);
                canvas->LineTo(x2, R.Top + p - g);
            }
            if (row == sel.Bottom) {
                canvas->MoveTo(x1, R.Bottom - 1 + p);
                canvas->LineTo(x2, R.Bottom - 1 + p);
            }
            if (FSelectionResizer && col == sel.Right && row == sel.Bottom) {
                const TRect corner = CellRect(sel.Right, sel.Bottom);
                const TColor brush = canvas->Brush()->Color();
                const TBrushStyle style = canvas->Brush()->Style();
                canvas->Brush()->SetColor(FSelectionRectangleColor);
                canvas->Brush()->SetStyle(bsSolid);
                canvas->FillRect(TRect(R.Right - 4, R.Bottom - 4, corner.Right, corner.Bottom));
                canvas->Brush()->SetColor(brush);
                canvas->Brush()->SetStyle(style);
            }
            pen->SetWidth(1);
            pen->SetColor(penColor);
        }
    }

    if (!Context.roomForText)
        return;
    if (!FXYOffsetTopLeftOnly)
        R.Right -= FXYOffset.X;
    R.Left += FXYOffset.X;
    R.Top += FXYOffset.Y;
    if (Context.graphicHAlign == haBeforeText)
        R.Left += Context.graphicWidth;
    else if (Context.graphicHAlign == haAfterText)
        R.Right -= Context.graphicWidth;
    if (Context.graphicVAlign == vaAboveText)
        R.Top += Context.graphicHeight;
    else if (Context.graphicVAlign == vaUnderText)
        R.Bottom -= Context.graphicHeight;
    if (rcol == 0 && HasNodes() && !IsNode(row))
        R.Left += GetRowIndent(row);
    // FIXME: filter-edit cells show their filter-type glyph and name with the filter-edit settings.

    // The handlers called since may have written cells, which moves what a view reads.
    if (inPlace)
        text = BaseCellView(rcol, row);
    HDC dc = canvas->Handle();
    const Integer savedBkMode = SetBkMode(dc, TRANSPARENT);
    if (kind == CellKindHTML) {
        if (Context.filterButton)
            R.Right -= 18;
        R.Left -= 1;
        THTMLRenderResult html;
        RenderMiniHTML(canvas, ownText(), R, nullptr, -1, -1, -1, -1, 1, false, false, false, selected, true,
                       true, !FEnhTextSize, false, String(), 1.0, linkColor, clNone, clNone, 0x00808080, html,
                       FImageCache.get(), nullptr, HandleAllocated() ? WindowHandle() : nullptr, BiDiMode());
        Context.textWidth = html.textWidth + 2;
        Context.textHeight = html.textHeight;
    } else if (kind == CellKindRTF) {
        canvas->Pen()->SetColor(canvas->Brush()->Color());
        if (!(selected && !Context.state.Contains(gdFocused) && FSelectionColor == clNone)) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->FillRect(R);
        }
        canvas->Brush()->SetStyle(bsClear);
        DrawCellRichText(rcol, row, R, canvas);
        canvas->Brush()->SetStyle(bsSolid);
    } else {
        if (Context.filterButton)
            R.Right -= 16;
        if (FURLShow && HasURLScheme(text)) {
            if (!FURLFull) {
                String& stripped = ownText();
                StripURLScheme(stripped);
                text = stripped;
            }
            const FontStyleScope style(canvas->Font());
            canvas->Font()->SetStyle(canvas->Font()->Style() + TFontStyles{fsUnderline});
            canvas->Font()->SetColor(linkColor);
            DrawPlainCellText(Context, text, R);
        } else {
            DrawPlainCellText(Context, text, R);
        }
        if (errLen > 0 && (cellType == ctEmpty || cellType == ctValue || cellType == ctNone))
            DrawErrorUnderline(this, canvas, String(text), errLen, errFrom, 0, R);
        // FIXME: the sort indicator of a sorted column's header is drawn with the sort settings.
    }
    SetBkMode(dc, savedBkMode);
}

void TAdvStringGrid::DrawPlainCellText(TCellDrawContext& Context, StringView Text, TRect R) {
    HDC dc = Context.canvas->Handle();
    const Integer lines = CountLines(Text, FMultilineCells);
    Integer count = static_cast<Integer>(Text.size());
    UINT flags = DT_EDITCONTROL;
    if (lines == 1 && !Context.wordWrap) {
        // One line shows the text before its first break.
        const size_t cr = Text.find(u'\r');
        if (cr != StringView::npos)
            count = static_cast<Integer>(cr);
        flags = DT_SINGLELINE;
        if (FEnhTextSize)
            flags |= DT_END_ELLIPSIS;
    } else if (Context.wordWrap && !FMultilineCells && FEnhTextSize) {
        flags |= DT_END_ELLIPSIS;
    }
    flags |= DT_EXPANDTABS | DT_NOPREFIX;
    if (Context.hAlign == taRightJustify)
        flags |= DT_RIGHT;
    else if (Context.hAlign == taCenter)
        flags |= DT_CENTER;
    UINT vertical = 0;
    if (Context.vAlign == vtaCenter)
        vertical = DT_VCENTER;
    else if (Context.vAlign == vtaBottom)
        vertical = DT_BOTTOM;
    FVAlign = vertical;
    flags |= vertical;
    flags |= Context.wordWrap ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
    if (UseRightToLeftReading())
        flags |= DT_RTLREADING;

    if (Context.graphic != nullptr && !Text.empty()) {
        RECT measure = R;
        DrawTextRun(dc, Text.data(), count, measure, flags | DT_CALCRECT);
        Context.textWidth = measure.right - measure.left + 2;
    }

    if (FMultilineCells && lines > 1) {
        const Integer lineHeight = LineHeight(dc);
        Integer top = R.Top;
        if (Context.vAlign == vtaCenter)
            top = R.Top + (R.Height() - lines * lineHeight) / 2;
        else if (Context.vAlign == vtaBottom)
            top = R.Bottom - lines * lineHeight;
        const UINT lineFlags = flags & ~(DT_VCENTER | DT_BOTTOM);
        // Each line as CutFirstLine takes it: up to a CR, the LF after it dropped.
        size_t start = 0;
        while (start <= Text.size()) {
            size_t end = Text.find(u'\r', start);
            const bool last = end == StringView::npos;
            if (last)
                end = Text.size();
            RECT line{R.Left, top, R.Right, R.Bottom};
            top += DrawTextRun(dc, Text.data() + start, static_cast<Integer>(end - start), line, lineFlags);
            if (last)
                break;
            start = end + 1;
            if (start < Text.size() && Text[start] == u'\n')
                ++start;
        }
    } else {
        if (flags & DT_SINGLELINE)
            count = std::min(count, MaxSingleLineChars);
        RECT rect = R;
        DrawTextRun(dc, Text.data(), count, rect, flags);
    }
    // The height of a line places a graphic beside the text; a cell without one need not measure it.
    if (Context.graphic != nullptr)
        Context.textHeight = LineHeight(dc);
}

void TAdvStringGrid::DrawCellRichText(Integer ACol, Integer ARow, const TRect& R, TCanvas* Canvas) {
    TRichEdit* editor = RichEditor();
    if (editor == nullptr || !HandleAllocated())
        return;
    CellToRich(ACol, ARow, editor);
    HDC dc = Canvas->Handle();
    const Integer displayed = DisplColIndex(ACol);
    const TGridRect sel = Selection();
    const bool inSelection =
        displayed >= sel.Left && displayed <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom &&
        !(displayed == Col() && ARow == Row() && !Options().Contains(goDrawFocusSelected));
    const bool selected = inSelection || (FMouseActions->DisjunctRowSelect() && GetRowSelect(ARow)) ||
                          (FMouseActions->DisjunctColSelect() && GetColSelect(ACol));
    if (selected && !FSelectionRTFKeep && GetMapMode(dc) == MM_TEXT && FSelectionTextColor != clNone) {
        editor->SelectAll();
        editor->SelAttributes()->SetColor(FSelectionTextColor);
    }
    Integer dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    Integer dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpiX == 0)
        dpiX = 96;
    if (dpiY == 0)
        dpiY = 96;
    POINT corners[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
    LPtoDP(dc, corners, 2);
    const double offsetX = FXYOffset.X * dpiX / 96.0;
    const double offsetY = FXYOffset.Y * dpiY / 96.0;
    const double width = corners[1].x - corners[0].x;
    const double height = corners[1].y - corners[0].y;
    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    const auto twips = [](double pixels, Integer dpi) {
        return static_cast<LONG>(std::lrint(pixels / dpi * 1440));
    };
    range.rc.left = twips(corners[0].x + offsetX, dpiX);
    range.rc.top = twips(corners[0].y + offsetY, dpiY);
    range.rc.right = range.rc.left + twips(width - 2 * offsetX, dpiX);
    range.rc.bottom = range.rc.top + twips(height - 2 * offsetY, dpiY);
    range.rcPage = range.rc;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    const int mapMode = SetMapMode(dc, MM_TEXT);
    HWND window = editor->Handle();
    SendMessageW(window, EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&range));
    SendMessageW(window, EM_FORMATRANGE, 0, 0);
    SetMapMode(dc, mapMode);
}

// ---- Measuring

TSize TAdvStringGrid::GetCellTextSize(Integer ACol, Integer ARow, bool VS, bool SB) {
    TSize size{0, 0};
    CalcCellTextSize(ACol, DisplColIndex(ACol), size, VS, SB, ARow);
    return size;
}

void TAdvStringGrid::CalcCellTextSize(Integer ACol, Integer DCol, TSize& Size, bool VS, bool SB,
                                      Integer ARow) {
    TCanvas* canvas = Canvas();
    const bool editing = FEditMode && ACol == RealColIndex(Col()) && ARow == Row();
    String text;
    TInplaceEdit* editor = editing ? InplaceEditor() : nullptr;
    text = editor != nullptr ? editor->Text() : GetFormattedCell(ACol, ARow);
    Integer kind = CellTextKind(text, FEnableHTML);

    TGridDrawState state;
    GetFontProperties(DCol, ACol, ARow, state, canvas->Font(), canvas->Brush(), false);
    if ((DCol < FixedCols() || ARow < FixedRows()) && FActiveCellShow &&
        FActiveCellFont->Style().Contains(fsBold))
        canvas->Font()->SetStyle(canvas->Font()->Style() + TFontStyles{fsBold});
    if (FZoomFactor != 0)
        canvas->Font()->SetSize(std::max(canvas->Font()->Size() + FZoomFactor, 1));
    if (kind == CellKindFormula) {
        GetSaveCellText(ACol, ARow, text);
        kind = CellTextKind(text, FEnableHTML);
    }

    TRect R = CellRect(DCol, ARow);
    if (FXYOffsetTopLeftOnly) {
        R.Left += FXYOffset.X;
        R.Top += FXYOffset.Y;
    } else {
        R = TRect(R.Left + FXYOffset.X, R.Top + FXYOffset.Y, R.Right - FXYOffset.X, R.Bottom - FXYOffset.Y);
    }
    if (VS)
        R.Right -= 17;
    HDC dc = canvas->Handle();

    if (kind == CellKindHTML) {
        if (!SB)
            R.Right = 65535;
        R.Bottom = 65535;
        THTMLRenderResult html;
        RenderMiniHTML(canvas, text, R, nullptr, -1, -1, -1, -1, 1, false, true, false, false, true, true,
                       true, false, String(), 1.0, FURLColor, clNone, clNone, 0x00808080, html,
                       FImageCache.get(), nullptr, HandleAllocated() ? WindowHandle() : nullptr, BiDiMode());
        Size = TSize{html.textWidth + 2, html.textHeight + 2};
        return;
    }

    TRichEdit* rich = nullptr;
    if (kind == CellKindRTF && (rich = RichEditor()) != nullptr && HandleAllocated()) {
        rich->Clear();
        rich->SetBounds(0, 0, 0, 0);
        rich->SetWordWrap(false);
        CellToRich(ACol, ARow, rich);
        canvas->Font()->SetName(rich->SelAttributes()->Name());
        canvas->Font()->SetSize(rich->SelAttributes()->Size());
        canvas->Font()->SetStyle(rich->SelAttributes()->Style());
        text = rich->Text();
    }

    Integer angle = 0;
    const bool rotated = GetCellType(ACol, ARow) == ctRotated;
    if (rotated)
        if (TCellGraphic* graphic = GetCellGraphic(ACol, ARow))
            angle = graphic->CellAngle();

    Integer w = 0;
    Integer h = 0;
    if (SB) {
        R = TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
        if (editing && !text.empty() && text.back() == u'\n')
            text += u'w';
        if (!text.empty()) {
            RECT calc = R;
            const UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EDITCONTROL | DT_EXPANDTABS |
                               (rotated ? DT_SINGLELINE : DT_WORDBREAK);
            h = DrawTextRun(dc, text.c_str(), static_cast<Integer>(text.size()), calc, flags);
            w = calc.right - calc.left;
        }
    } else if (!text.empty()) {
        const Integer lineHeight = LineHeight(dc);
        Integer lines = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = FMultilineCells ? text.find(u'\r', start) : String::npos;
            const bool last = end == String::npos;
            if (last)
                end = text.size();
            String line = text.substr(start, end - start);
            if (FURLShow && !FURLFull && kind == CellKindPlain)
                StripURLScheme(line);
            RECT calc{0, 0, 0, 0};
            if (!line.empty())
                DrawTextRun(dc, line.c_str(), static_cast<Integer>(line.size()), calc,
                            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
            w = std::max<Integer>(w, calc.right - calc.left);
            ++lines;
            if (last)
                break;
            start = end + 1;
            if (start < text.size() && text[start] == u'\n')
                ++start;
        }
        h = lines * lineHeight;
    }

    if (rotated) {
        const Integer turns = ((angle % 360) + 360) % 360;
        if (turns == 90 || turns == 270) {
            std::swap(w, h);
        } else if (turns != 0 && turns != 180) {
            // Any other angle takes the box the turned text covers.
            const double a = angle * 3.14159265358979323846 / 180.0;
            const double s = std::fabs(std::sin(a));
            const double c = std::fabs(std::cos(a));
            const Integer boxW = static_cast<Integer>(w * c) + static_cast<Integer>(h * s);
            const Integer boxH = static_cast<Integer>(h * c) + static_cast<Integer>(w * s);
            w = boxW;
            h = boxH;
        }
        w += RotatedMargin;
        h += RotatedMargin;
    }

    if (rich != nullptr) {
        rich->SetBounds(0, 0, R.Width(), R.Height());
        rich->SetWordWrap(true);
        rich->SetWordWrap(false);
        rich->SetWordWrap(FWordWrapEx);
        HWND window = rich->Handle();
        SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
        SendMessageW(window, EM_REQUESTRESIZE, 0, 0);
        Size = TSize{FReqWidth, FReqHeight + 4};
        return;
    }
    Size = TSize{w, h};
}
