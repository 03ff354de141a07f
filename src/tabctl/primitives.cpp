#include "tabctl/primitives.h"

#include <algorithm>
#include <cmath>

namespace tabctl::draw {
namespace {

// Nearest integer, ties to even, as the control's 16-bit integer
// conversion rounds; then limited to a colour channel.
int Channel(float value) {
  const float whole = std::floor(value);
  const float fraction = value - whole;
  float rounded = whole;
  if (fraction > 0.5f || (fraction == 0.5f && std::fmod(whole, 2.0f) != 0.0f)) rounded += 1.0f;
  return static_cast<int>(std::clamp(rounded, 0.0f, 255.0f));
}

// The line of one fill row: from `from` to `to`, `to` not painted.
struct RowSpan {
  int from;
  int to;
};

RowSpan CurvedRow(const Rect& rect, int radius, int inset, bool curveLeft, bool curveRight) {
  if (radius < 0) return {rect.left, rect.right};
  if (curveLeft && curveRight) return {rect.left + inset + 1, rect.right - inset};
  if (curveLeft) return {rect.left + inset + 1, rect.right};
  if (curveRight) return {rect.left, rect.right - inset};
  return {rect.left, rect.right};
}

template <typename RowColor>
void FillCurvedRows(Canvas& canvas, const Rect& rect, int radius, bool curveLeft, bool curveRight,
                    RowColor rowColor) {
  int inset = radius;
  for (int y = rect.top; y <= rect.bottom; ++y) {
    const RowSpan span = CurvedRow(rect, radius, inset, curveLeft, curveRight);
    APILine(canvas, span.from, y, span.to, y, rowColor());
    if (inset > 0) --inset;
  }
}

}  // namespace

void APILine(Canvas& canvas, int x1, int y1, int x2, int y2, Rgb color) {
  const Rgb previous = canvas.PenColor();
  canvas.SetPenColor(color);
  canvas.Line(x1, y1, x2, y2);
  canvas.SetPenColor(previous);
}

void APIRectangle(Canvas& canvas, int x, int y, int width, int height, Rgb color) {
  const Rgb previous = canvas.PenColor();
  canvas.SetPenColor(color);
  canvas.RectangleOutline(x, y, width, height);
  canvas.SetPenColor(previous);
}

void APIFillRectByCoords(Canvas& canvas, int x, int y, int width, int height, Rgb color) {
  canvas.FillRect(Rect{x, y, x + width, y + height}, color);
}

void pFillCurvedGradientR(Canvas& canvas, const Rect& rect, Rgb startColor, Rgb endColor, int radius,
                          bool curveLeft, bool curveRight) {
  const int rows = rect.bottom - rect.top;
  // The step is a double quotient kept as a float. With top == bottom there
  // is no step to take: the single row gets the start colour.
  const auto step = [rows](int from, int to) {
    return rows > 0 ? static_cast<float>(static_cast<double>(to - from) / rows) : 0.0f;
  };
  const float dRed = step(RedOf(startColor), RedOf(endColor));
  const float dGreen = step(GreenOf(startColor), GreenOf(endColor));
  const float dBlue = step(BlueOf(startColor), BlueOf(endColor));
  float red = static_cast<float>(RedOf(startColor));
  float green = static_cast<float>(GreenOf(startColor));
  float blue = static_cast<float>(BlueOf(startColor));
  FillCurvedRows(canvas, rect, radius, curveLeft, curveRight, [&] {
    const Rgb color = MakeRgb(Channel(red), Channel(green), Channel(blue));
    red += dRed;
    green += dGreen;
    blue += dBlue;
    return color;
  });
}

void pFillCurvedGradient(Canvas& canvas, int left, int top, int right, int bottom, Rgb startColor,
                         Rgb endColor, int radius, bool curveLeft, bool curveRight) {
  pFillCurvedGradientR(canvas, Rect{left, top, right, bottom}, startColor, endColor, radius, curveLeft,
                       curveRight);
}

void pFillCurvedSolidR(Canvas& canvas, const Rect& rect, Rgb color, int radius, bool curveLeft,
                       bool curveRight) {
  FillCurvedRows(canvas, rect, radius, curveLeft, curveRight, [color] { return color; });
}

void pFillCurvedSolid(Canvas& canvas, int left, int top, int right, int bottom, Rgb color, int radius,
                      bool curveLeft, bool curveRight) {
  pFillCurvedSolidR(canvas, Rect{left, top, right, bottom}, color, radius, curveLeft, curveRight);
}

void DrawImage(Canvas& canvas, const Bitmap& bitmap, Rgb lTransColor, int iLeft, int iTop, int iWidth,
               int iHeight) {
  canvas.TransparentBlit(bitmap, Rect{iLeft, iTop, iLeft + iWidth, iTop + iHeight}, lTransColor);
}

void pPaintPicture(Canvas& canvas, const Bitmap& picture, int x, int y, int width, int height) {
  const int w = width == -1 ? picture.Width() : width;
  const int h = height == -1 ? picture.Height() : height;
  canvas.PaintPicture(picture, Rect{x, y, x + w, y + h});
}

void Cls(Canvas& canvas, Rgb backColor) { canvas.Clear(backColor); }

}  // namespace tabctl::draw
