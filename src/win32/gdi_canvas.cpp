#include "win32/gdi_canvas.h"

#include <algorithm>
#include <string>

#include "win32/text.h"

namespace win32 {
namespace {

using tabctl::Pixel;
using tabctl::Rect;
using tabctl::Rgb;

static_assert(tabctl::kTextCenter == DT_CENTER && tabctl::kTextRight == DT_RIGHT &&
              tabctl::kTextVCenter == DT_VCENTER && tabctl::kTextBottom == DT_BOTTOM &&
              tabctl::kTextSingleLine == DT_SINGLELINE && tabctl::kTextCalcRect == DT_CALCRECT &&
              tabctl::kTextNoPrefix == DT_NOPREFIX && tabctl::kTextEndEllipsis == DT_END_ELLIPSIS);

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// A 32-bit top-down DIB section; `bits` receives its pixels.
UniqueBitmap CreateImage(HDC dc, int width, int height, Pixel** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  *bits = bitmap ? static_cast<Pixel*>(pixels) : nullptr;
  return bitmap;
}

}  // namespace

GdiCanvas::GdiCanvas(int width, int height) : dc_(UniqueMemoryDc::CompatibleWith(nullptr)) {
  penSelection_ = ScopedSelection(dc_.get(), ::GetStockObject(DC_PEN));
  brushSelection_ = ScopedSelection(dc_.get(), ::GetStockObject(DC_BRUSH));
  ::SetBkMode(dc_.get(), TRANSPARENT);
  SetPenColor(0);
  Resize(width, height);
}

GdiCanvas::~GdiCanvas() = default;

void GdiCanvas::Resize(int width, int height) {
  imageSelection_.reset();
  image_.reset();
  bits_ = nullptr;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  if (width_ == 0 || height_ == 0) return;
  image_ = CreateImage(dc_.get(), width_, height_, &bits_);
  if (image_) imageSelection_ = ScopedSelection(dc_.get(), image_.get());
}

void GdiCanvas::BlitTo(HDC target, int x, int y) const {
  ::BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

Rgb GdiCanvas::PixelAt(int x, int y) const {
  ::GdiFlush();
  return tabctl::RgbFromPixel(bits_[static_cast<std::size_t>(y) * width_ + x]);
}

std::vector<Pixel> GdiCanvas::Pixels() const {
  ::GdiFlush();
  std::vector<Pixel> pixels;
  if (bits_ == nullptr) return pixels;
  pixels.assign(bits_, bits_ + static_cast<std::size_t>(width_) * height_);
  for (Pixel& p : pixels) p &= 0x00FFFFFF;
  return pixels;
}

void GdiCanvas::Clear(Rgb color) { FillRect(Rect{0, 0, width_, height_}, color); }

void GdiCanvas::SetPenColor(Rgb color) {
  pen_ = color;
  ::SetDCPenColor(dc_.get(), color);
}

void GdiCanvas::Line(int x1, int y1, int x2, int y2) {
  ::MoveToEx(dc_.get(), x1, y1, nullptr);
  ::LineTo(dc_.get(), x2, y2);
}

void GdiCanvas::RectangleOutline(int x, int y, int width, int height) {
  ::MoveToEx(dc_.get(), x, y, nullptr);
  ::LineTo(dc_.get(), x + width, y);
  ::LineTo(dc_.get(), x + width, y + height);
  ::LineTo(dc_.get(), x, y + height);
  ::LineTo(dc_.get(), x, y);
}

void GdiCanvas::FillRect(const Rect& rect, Rgb color) {
  ::SetDCBrushColor(dc_.get(), color);
  const RECT r = ToRect(rect);
  ::FillRect(dc_.get(), &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void GdiCanvas::RoundRect(const Rect& rect, int ellipseWidth, int ellipseHeight, std::optional<Rgb> fill) {
  if (fill) {
    ::SetDCBrushColor(dc_.get(), *fill);
    ::RoundRect(dc_.get(), rect.left, rect.top, rect.right, rect.bottom, ellipseWidth, ellipseHeight);
    return;
  }
  const ScopedSelection hollow(dc_.get(), ::GetStockObject(NULL_BRUSH));
  ::RoundRect(dc_.get(), rect.left, rect.top, rect.right, rect.bottom, ellipseWidth, ellipseHeight);
}

HFONT GdiCanvas::FontFor(const tabctl::FontDescription& description) {
  const auto found = std::find_if(fonts_.begin(), fonts_.end(),
                                  [&](const CachedFont& f) { return f.description == description; });
  if (found != fonts_.end()) {
    std::rotate(found, found + 1, fonts_.end());  // now the most recently used
    return fonts_.back().font.get();
  }
  LOGFONTW logFont{};
  logFont.lfHeight = -tabctl::FontPixelHeight(description.size, ::GetDeviceCaps(dc_.get(), LOGPIXELSY));
  logFont.lfWeight = description.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = description.italic ? TRUE : FALSE;
  logFont.lfUnderline = description.underline ? TRUE : FALSE;
  logFont.lfStrikeOut = description.strikethrough ? TRUE : FALSE;
  logFont.lfCharSet = static_cast<BYTE>(description.charset);
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = Widen(description.name);
  face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
  UniqueFont font(::CreateFontIndirectW(&logFont));
  if (!font) return nullptr;
  if (fonts_.size() >= kFontCacheSize) {
    // Drop the least recently used font that is not the one selected now.
    const HFONT selected = static_cast<HFONT>(::GetCurrentObject(dc_.get(), OBJ_FONT));
    const auto victim = std::find_if(fonts_.begin(), fonts_.end(),
                                     [&](const CachedFont& f) { return f.font.get() != selected; });
    if (victim != fonts_.end()) fonts_.erase(victim);
  }
  fonts_.push_back({description, std::move(font)});
  return fonts_.back().font.get();
}

void GdiCanvas::SetFont(const tabctl::FontDescription& font) {
  if (fontSelection_ && font == font_) return;  // selecting a font is not cheap
  const HFONT handle = FontFor(font);
  if (handle == nullptr) return;
  font_ = font;
  if (fontSelection_) {
    fontSelection_.Replace(handle);
  } else {
    fontSelection_ = ScopedSelection(dc_.get(), handle);  // keeps the DC's own font
  }
}

void GdiCanvas::SetTextColor(Rgb color) { ::SetTextColor(dc_.get(), color); }

tabctl::Size GdiCanvas::MeasureText(std::string_view text) {
  const std::wstring wide = Widen(text);
  SIZE size{};
  ::GetTextExtentPoint32W(dc_.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  if (wide.empty()) {
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc_.get(), &metrics);
    size.cy = metrics.tmHeight;
  }
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

int GdiCanvas::DrawTextLine(std::string_view text, Rect& rect, unsigned flags) {
  const std::wstring wide = Widen(text);
  RECT r = ToRect(rect);
  const int height = ::DrawTextW(dc_.get(), wide.c_str(), static_cast<int>(wide.size()), &r, flags);
  rect = Rect{r.left, r.top, r.right, r.bottom};
  return height;
}

void GdiCanvas::DrawFocusRect(const Rect& rect) {
  const RECT r = ToRect(rect);
  ::DrawFocusRect(dc_.get(), &r);
}

void GdiCanvas::Blit(const tabctl::Bitmap& bitmap, const Rect& dest, std::optional<Rgb> transparent) {
  const int dw = dest.Width();
  const int dh = dest.Height();
  if (bitmap.Empty() || dw <= 0 || dh <= 0) return;
  // Only the part of the destination on the image is scaled and copied.
  const int x0 = std::max(dest.left, 0);
  const int y0 = std::max(dest.top, 0);
  const int x1 = std::min(dest.right, width_);
  const int y1 = std::min(dest.bottom, height_);
  if (x0 >= x1 || y0 >= y1) return;
  const int w = x1 - x0;
  const int h = y1 - y0;
  if (w > scratchWidth_ || h > scratchHeight_) {
    // Grow the scratch image to hold this blit (it only ever grows).
    if (!scratchDc_) scratchDc_ = UniqueMemoryDc::CompatibleWith(dc_.get());
    scratchSelection_.reset();
    scratch_.reset();
    scratchWidth_ = std::max(w, scratchWidth_);
    scratchHeight_ = std::max(h, scratchHeight_);
    scratch_ = CreateImage(dc_.get(), scratchWidth_, scratchHeight_, &scratchBits_);
    if (!scratchDc_ || !scratch_) {
      scratch_.reset();
      scratchWidth_ = scratchHeight_ = 0;
      return;
    }
    scratchSelection_ = ScopedSelection(scratchDc_.get(), scratch_.get());
  }
  ::GdiFlush();  // GDI may still be reading the scratch pixels of the last blit
  for (int y = y0; y < y1; ++y) {
    const int sy = tabctl::StretchSourceIndex(y - dest.top, bitmap.Height(), dh);
    const Pixel* from = bitmap.Pixels().data() + static_cast<std::size_t>(sy) * bitmap.Width();
    Pixel* to = scratchBits_ + static_cast<std::size_t>(y - y0) * scratchWidth_;
    for (int x = x0; x < x1; ++x) {
      to[x - x0] = from[tabctl::StretchSourceIndex(x - dest.left, bitmap.Width(), dw)] & 0x00FFFFFF;
    }
  }
  if (transparent) {
    // gdi32's own entry: msimg32 is not a known DLL, so importing it would
    // let a copy beside the program be loaded instead.
    ::GdiTransparentBlt(dc_.get(), x0, y0, w, h, scratchDc_.get(), 0, 0, w, h, *transparent);
  } else {
    ::BitBlt(dc_.get(), x0, y0, w, h, scratchDc_.get(), 0, 0, SRCCOPY);
  }
}

void GdiCanvas::TransparentBlit(const tabctl::Bitmap& bitmap, const Rect& dest, Rgb transparent) {
  Blit(bitmap, dest, transparent);
}

void GdiCanvas::PaintPicture(const tabctl::Bitmap& picture, const Rect& dest) {
  Blit(picture, dest, std::nullopt);
}

}  // namespace win32
