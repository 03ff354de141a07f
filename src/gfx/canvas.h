// The drawing surface of the tab control. Renderers draw only through this
// interface; RasterCanvas implements it in memory (for tests and tools) and
// the Windows layer implements it with GDI on the control's off-screen image.
// Both follow GDI's pixel rules, so a geometric statement checked on the
// raster holds on screen too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/tab_font.h"

namespace tabctl {

// A plain RGB colour laid out like a Windows COLORREF: red in the low byte,
// then green, then blue. System-colour references are resolved before they
// reach a canvas.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(int r, int g, int b) {
  return static_cast<Rgb>(r & 0xFF) | (static_cast<Rgb>(g & 0xFF) << 8) | (static_cast<Rgb>(b & 0xFF) << 16);
}
constexpr int RedOf(Rgb c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }

// Pixels in memory are 32-bit values 0x00RRGGBB, the layout of a top-down
// 32-bit Windows DIB, so the GDI side can share buffers without reordering.
using Pixel = std::uint32_t;
constexpr Pixel PixelFromRgb(Rgb c) {
  return (static_cast<Pixel>(RedOf(c)) << 16) | (static_cast<Pixel>(GreenOf(c)) << 8) |
         static_cast<Pixel>(BlueOf(c));
}
constexpr Rgb RgbFromPixel(Pixel p) {
  return MakeRgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                 static_cast<int>(p & 0xFF));
}

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// The Windows RECT layout. Drawing operations that take a Rect treat right
// and bottom as exclusive, as GDI does.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// What font to draw with: the tab control's font property value; the
// canvas creates (and caches) the real font.
using FontDescription = TabFont;

// Character height in pixels of a font of `points` at `dpi` dots per inch,
// rounded to nearest; never below 1.
int FontPixelHeight(double points, int dpi = 96);

// A small portable image: width x height pixels, rows top to bottom.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, Rgb fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  Rgb Get(int x, int y) const { return RgbFromPixel(pixels_[Index(x, y)]); }
  void Set(int x, int y, Rgb color) { pixels_[Index(x, y)] = PixelFromRgb(color); }
  const std::vector<Pixel>& Pixels() const { return pixels_; }
  std::vector<Pixel>& Pixels() { return pixels_; }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

// Nearest-neighbour source index for destination index `d` when `sourceLength`
// pixels are stretched over `destLength` (each destination pixel takes the
// source pixel under its centre). Both canvases stretch with this rule.
int StretchSourceIndex(int d, int sourceLength, int destLength);

// Flags of DrawTextLine. The values are those of the Windows DrawText flags,
// so the GDI canvas passes them through unchanged.
enum TextFlags : unsigned {
  kTextLeft = 0x0,
  kTextCenter = 0x1,
  kTextRight = 0x2,
  kTextVCenter = 0x4,  // single line only
  kTextBottom = 0x8,   // single line only
  kTextSingleLine = 0x20,
  kTextCalcRect = 0x400,  // measure: update the rectangle, draw nothing
  kTextNoPrefix = 0x800,  // "&" is an ordinary character
  kTextEndEllipsis = 0x8000,
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Size of the drawing surface (the control's client area) in pixels.
  virtual Size ClientSize() const = 0;

  // Fills the whole surface with `color`.
  virtual void Clear(Rgb color) = 0;

  // The one-pixel solid pen used by Line, RectangleOutline and the outline
  // of RoundRect.
  virtual void SetPenColor(Rgb color) = 0;
  virtual Rgb PenColor() const = 0;

  // From (x1, y1) towards (x2, y2); the end point is not painted.
  virtual void Line(int x1, int y1, int x2, int y2) = 0;

  // Closed outline through (x, y), (x+width, y), (x+width, y+height),
  // (x, y+height): covers columns x..x+width and rows y..y+height inclusive.
  virtual void RectangleOutline(int x, int y, int width, int height) = 0;

  // Fills columns left..right-1 and rows top..bottom-1. A rectangle given
  // with right < left (or bottom < top) fills right+1..left (bottom+1..top),
  // as GDI's FillRect does.
  virtual void FillRect(const Rect& rect, Rgb color) = 0;

  // GDI RoundRect: outline in the pen colour over columns left..right-1 and
  // rows top..bottom-1 with corners of an ellipseWidth x ellipseHeight
  // ellipse; the inside is filled with `fill` when given, else left alone.
  virtual void RoundRect(const Rect& rect, int ellipseWidth, int ellipseHeight, std::optional<Rgb> fill) = 0;

  // Font and colour of text. Text is drawn without a background.
  virtual void SetFont(const FontDescription& font) = 0;
  virtual void SetTextColor(Rgb color) = 0;

  // Extent of `text` (UTF-8) in the current font, taken literally ("&" is
  // measured as a character). Height is the font's line height.
  virtual Size MeasureText(std::string_view text) = 0;

  // One line of text (UTF-8) in `rect`, clipped to it, laid out by `flags`
  // (TextFlags). Unless kTextNoPrefix is given, "&&" shows one "&" and a
  // single "&" underlines the character after it. With kTextCalcRect nothing
  // is drawn: rect.right becomes left + text width and rect.bottom the
  // bottom of the text. Returns the offset from rect.top to the bottom of
  // the text. Always pass kTextSingleLine: without it GDI would break the
  // text at line feeds, which the raster does not do.
  virtual int DrawTextLine(std::string_view text, Rect& rect, unsigned flags) = 0;

  // The dotted focus frame (every other pixel of the rectangle's border
  // inverted). Inverting: drawing it twice restores the image.
  virtual void DrawFocusRect(const Rect& rect) = 0;

  // Draws the whole bitmap stretched into `dest` (nearest neighbour, see
  // StretchSourceIndex), skipping source pixels equal to `transparent`. A
  // destination without width or height draws nothing.
  virtual void TransparentBlit(const Bitmap& bitmap, const Rect& dest, Rgb transparent) = 0;

  // Draws the whole picture stretched into `dest` like TransparentBlit, every
  // pixel opaque.
  virtual void PaintPicture(const Bitmap& picture, const Rect& dest) = 0;
};

}  // namespace tabctl
