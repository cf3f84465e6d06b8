// The events and the per-cell drawing context of the grid's painting: cell drawing hooks, border pens,
// gradients, float formats and the texts the file writers save and load.
#pragma once

#include <functional>

#include "grid/engine/AdvGridCellObjects.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Grids.h"

// Draws on the grid's canvas before (background) or after (content) the grid's own drawing of a cell;
// ACol is a stored column.
using TCustomCellDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, Integer ACol, Integer ARow,
                                                TGridDrawState AState, TRect ARect, bool Printing)>;
// The four pens of a cell's border lines, copies of the border pen, for the handler to change.
using TGridBorderPropEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, TPen* LeftPen,
                                                TPen* TopPen, TPen* RightPen, TPen* BottomPen)>;
// The cell's background colours and gradient direction, last word on them before the selection.
using TGridGradientEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, TColor& Color, TColor& ColorTo,
                       TColor& ColorMirror, TColor& ColorMirrorTo, TCellGradientDirection& GD)>;
// Whether a number cell is formatted, and with which format.
using TFloatFormatEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& IsFloat, String& FloatFormat)>;
// The text a file writer saves, or a reader stores, for a cell.
using TCellSaveLoadEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
// Whether a fixed cell of the column shows its drop-down button.
using TCanShowFixedDropDownEvent = std::function<void(TObject* Sender, Integer ACol, bool& CanShow)>;

// What one cell's content drawing shares between its steps: the content step settles the look and the
// room, the text step draws into it and tells how wide the text came out.
struct TCellDrawContext {
    TCanvas* canvas = nullptr;
    Integer col = 0;  // displayed column
    Integer rcol = 0; // stored column
    Integer row = 0;
    TGridDrawState state;
    TRect rect;                  // the working rectangle the text goes into
    TColor normalBrush = clNone; // the cell's colours without selection
    TColor normalFont = clNone;
    TAlignment hAlign = taLeftJustify;
    TVAlignment vAlign = vtaTop;
    bool wordWrap = false;
    bool isFixed = false;
    bool filterButton = false;
    // The cell's graphic and the room it takes beside the text.
    TCellGraphic* graphic = nullptr;
    Integer graphicWidth = 0;
    Integer graphicHeight = 0;
    TCellHAlign graphicHAlign = haLeft;
    TCellVAlign graphicVAlign = vaTop;
    bool roomForText = true;
    // What the text step hands back.
    Integer textWidth = 0;
    Integer textHeight = 0;
};
