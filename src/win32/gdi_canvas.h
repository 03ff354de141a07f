// The tab control's Canvas drawn with GDI into a persistent off-screen image:
// a memory DC holding a 32-bit top-down DIB section of the client size. The
// control's window shows the image by copying it (BlitTo) when it paints.
//
// Pens and brushes are the DC's own stock DC_PEN and DC_BRUSH with their
// colours set per call, so lines and fills create no GDI objects. Fonts are
// created once per FontDescription and kept in a small cache. Bitmaps are stretched
// in memory with the raster canvas's nearest-neighbour rule into a scratch
// image (kept and grown as needed) and then copied 1:1 (TransparentBlt for
// transparent blits): the same pixels on every Windows version, no
// dependence on stretch modes (Wine's TransparentBlt merges pixels when it
// shrinks), and no DC or bitmap created per blit.
#pragma once

#include <windows.h>

#include <vector>

#include "gfx/canvas.h"
#include "win32/gdi_objects.h"

namespace win32 {

class GdiCanvas final : public tabctl::Canvas {
 public:
  // An image of width x height pixels compatible with the screen; black.
  GdiCanvas(int width, int height);
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  ~GdiCanvas() override;

  // New size; the image becomes black again.
  void Resize(int width, int height);

  // The memory DC with the image selected.
  HDC Dc() const { return dc_.get(); }
  // Copies the image to (x, y) of `target` (the window's paint DC).
  void BlitTo(HDC target, int x, int y) const;

  // Read-back of the image (0x00RRGGBB, the unused top byte cleared); the
  // point given to PixelAt must be on the image.
  tabctl::Rgb PixelAt(int x, int y) const;
  std::vector<tabctl::Pixel> Pixels() const;

  tabctl::Size ClientSize() const override { return {width_, height_}; }
  void Clear(tabctl::Rgb color) override;
  void SetPenColor(tabctl::Rgb color) override;
  tabctl::Rgb PenColor() const override { return pen_; }
  void Line(int x1, int y1, int x2, int y2) override;
  void RectangleOutline(int x, int y, int width, int height) override;
  void FillRect(const tabctl::Rect& rect, tabctl::Rgb color) override;
  void RoundRect(const tabctl::Rect& rect, int ellipseWidth, int ellipseHeight,
                 std::optional<tabctl::Rgb> fill) override;
  void SetFont(const tabctl::FontDescription& font) override;
  void SetTextColor(tabctl::Rgb color) override;
  tabctl::Size MeasureText(std::string_view text) override;
  int DrawTextLine(std::string_view text, tabctl::Rect& rect, unsigned flags) override;
  void DrawFocusRect(const tabctl::Rect& rect) override;
  void TransparentBlit(const tabctl::Bitmap& bitmap, const tabctl::Rect& dest,
                       tabctl::Rgb transparent) override;
  void PaintPicture(const tabctl::Bitmap& picture, const tabctl::Rect& dest) override;

 private:
  struct CachedFont {
    tabctl::FontDescription description;
    UniqueFont font;
  };
  static constexpr std::size_t kFontCacheSize = 8;

  void Blit(const tabctl::Bitmap& bitmap, const tabctl::Rect& dest, std::optional<tabctl::Rgb> transparent);
  HFONT FontFor(const tabctl::FontDescription& description);

  // Declared so that selections end before what they hold is deleted.
  UniqueMemoryDc dc_;
  UniqueBitmap image_;
  std::vector<CachedFont> fonts_;  // least recently used first
  UniqueMemoryDc scratchDc_;
  UniqueBitmap scratch_;
  ScopedSelection scratchSelection_;
  tabctl::Pixel* scratchBits_ = nullptr;
  int scratchWidth_ = 0;
  int scratchHeight_ = 0;
  // Put back in the reverse order: font, brush, pen, then the image.
  ScopedSelection imageSelection_, penSelection_, brushSelection_, fontSelection_;
  tabctl::Pixel* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  tabctl::Rgb pen_ = 0;
  tabctl::FontDescription font_;
};

}  // namespace win32
