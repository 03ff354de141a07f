// The tab control's drawing primitives: every renderer is built from these
// plus text. They take plain RGB colours; translating colour properties
// (system colours) and handing the translated value back to the caller is
// the control's business, done before it calls them.
//
// Names are the control's own operation names, so renderers read like the
// operations they perform.
#pragma once

#include "gfx/canvas.h"

namespace tabctl::draw {

// A one-pixel line in `color` from (x1, y1) to (x2, y2), end point not
// painted. The canvas's pen colour is left as it was.
void APILine(Canvas& canvas, int x1, int y1, int x2, int y2, Rgb color);

// One-pixel outline covering columns x..x+width and rows y..y+height
// inclusive (an 11 x 6 box for width 10, height 5). Pen left as it was.
void APIRectangle(Canvas& canvas, int x, int y, int width, int height, Rgb color);

// Fills exactly width x height pixels from (x, y).
void APIFillRectByCoords(Canvas& canvas, int x, int y, int width, int height, Rgb color);

// Top-to-bottom gradient over rows rect.top..rect.bottom inclusive, from
// startColor on the first row to endColor on the last. The per-row step is
// kept in single precision and added row by row, so rounding builds up as
// it does on the control; each channel is rounded to nearest, ties to even.
// A rectangle with top == bottom gets one row in startColor; bottom < top
// draws nothing.
//
// Row geometry (shared with the solid fill): with radius < 0 every row runs
// from left to right (pixels left..right-1). With radius >= 0 an inset that
// starts at radius and drops by one per row (down to 0) cuts the top
// corners at 45 degrees:
//   both curves:      left + inset + 1 .. right - inset
//   curveLeft only:   left + inset + 1 .. right
//   curveRight only:  left .. right - inset
//   neither:          left .. right
// (each "a .. b" is a line from a to b, b itself not painted). A curved left
// edge always starts one pixel in, leaving the column for a border line.
void pFillCurvedGradientR(Canvas& canvas, const Rect& rect, Rgb startColor, Rgb endColor, int radius,
                          bool curveLeft, bool curveRight);
void pFillCurvedGradient(Canvas& canvas, int left, int top, int right, int bottom, Rgb startColor,
                         Rgb endColor, int radius, bool curveLeft, bool curveRight);

// The same rows as the gradient, all in one colour.
void pFillCurvedSolidR(Canvas& canvas, const Rect& rect, Rgb color, int radius, bool curveLeft,
                       bool curveRight);
void pFillCurvedSolid(Canvas& canvas, int left, int top, int right, int bottom, Rgb color, int radius,
                      bool curveLeft, bool curveRight);

// The whole bitmap stretched to iWidth x iHeight at (iLeft, iTop); pixels
// of lTransColor leave the destination unchanged.
void DrawImage(Canvas& canvas, const Bitmap& bitmap, Rgb lTransColor, int iLeft, int iTop, int iWidth,
               int iHeight);

// Paints a picture with its upper-left corner at (x, y). A width or height
// of -1 is "not given" and takes the picture's own size.
void pPaintPicture(Canvas& canvas, const Bitmap& picture, int x, int y, int width = -1, int height = -1);

// Clears the whole surface to the background colour.
void Cls(Canvas& canvas, Rgb backColor);

}  // namespace tabctl::draw
