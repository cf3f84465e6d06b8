// The drawing routines the instrument-style controls share: colour resolution, gradient fills, shapes
// and three-dimensional frames.
#pragma once

#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Graphics.h"

Integer WidthOf(const TRect& rect);
Integer HeightOf(const TRect& rect);
// A system colour becomes the scheme's colour of its low byte; other colours stay as they are.
TColor ResolveColor(TColor color);
// The red, green and blue bytes of a colour, resolved first.
void GetRGB(TColor color, Byte& red, Byte& green, Byte& blue);

// Fills rect with a gradient from startColor to endColor. Kinds: 1 horizontal bands from the top, 2
// vertical bands from the left (one band beyond the width when the width is a multiple of step), 3 and
// 4 the two diagonals with pen width step, 5 and 6 bands to the middle and back (horizontal, vertical);
// other kinds draw nothing. Kinds 3 and 4 draw in canvas coordinates from (0, 0), not from the
// rectangle's origin; callers rely on it. A step below 1 draws nothing.
void DrawGradient(TCanvas* canvas, const TRect& rect, TColor startColor, TColor endColor, Integer kind,
                  Integer step);
// Draws shape with the canvas's pen and brush in the area (x, y, width, height). Square kinds are
// centred in the area; a pen of width 0 leaves out the right and bottom line.
void DrawShape(TCanvas* canvas, TShapeType shape, Integer x, Integer y, Integer width, Integer height);
// Draws width one-pixel frames inward from rect, topColor on the top and left, bottomColor on the
// bottom and right; rect comes back shrunk by width on every side.
void DrawFrame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, Integer width);
