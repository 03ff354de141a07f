// Reference scenes drawn through any Canvas, and a pixel comparison that
// leaves text out. The same scene through GdiCanvas and RasterCanvas must
// give the same pixels everywhere else.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "gfx/canvas.h"
#include "tabctl/primitives.h"

namespace scenes {

using tabctl::Bitmap;
using tabctl::Canvas;
using tabctl::MakeRgb;
using tabctl::Rect;
using tabctl::Rgb;
namespace draw = tabctl::draw;

struct Scene {
  std::string name;
  int width = 0;
  int height = 0;
  std::function<void(Canvas&)> paint;
};

// Empty when the images agree outside the text areas; otherwise the count
// of differing pixels and the first few of them.
inline std::string Differences(const std::vector<tabctl::Pixel>& gdi,
                               const std::vector<tabctl::Pixel>& raster, int width, int height,
                               const std::vector<Rect>& textAreas) {
  if (gdi.size() != raster.size()) return "image sizes differ";
  int count = 0;
  std::string detail;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bool inText = false;
      for (const Rect& r : textAreas) {
        inText = inText || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      }
      const auto i = static_cast<std::size_t>(y) * width + x;
      if (inText || (gdi[i] & 0xFFFFFF) == (raster[i] & 0xFFFFFF)) continue;
      if (++count <= 8) {
        char line[80];
        std::snprintf(line, sizeof line, " (%d,%d) gdi=%06X raster=%06X", x, y,
                      static_cast<unsigned>(gdi[i] & 0xFFFFFF), static_cast<unsigned>(raster[i] & 0xFFFFFF));
        detail += line;
      }
    }
  }
  return count == 0 ? std::string() : std::to_string(count) + " pixels differ:" + detail;
}

inline Rgb Shade(int i) { return MakeRgb(40 + (i * 53) % 200, 30 + (i * 97) % 210, 20 + (i * 31) % 220); }

// A background with a different colour at every pixel, so inversions and
// skipped pixels show.
inline void Noise(Canvas& canvas) {
  const tabctl::Size size = canvas.ClientSize();
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      canvas.FillRect(Rect{x, y, x + 1, y + 1},
                      MakeRgb((x * 37) & 0xFF, (y * 59) & 0xFF, ((x ^ y) * 11) & 0xFF));
    }
  }
}

inline std::vector<Scene> LineScenes() {
  std::vector<Scene> list;
  for (int dx = -13; dx <= 13; ++dx) {
    for (int dy = -13; dy <= 13; ++dy) {
      if (dx == 0 && dy == 0) continue;
      list.push_back({"line " + std::to_string(dx) + "," + std::to_string(dy), 32, 32, [dx, dy](Canvas& c) {
                        c.Clear(MakeRgb(255, 255, 255));
                        c.SetPenColor(MakeRgb(200, 0, 0));
                        c.Line(15, 16, 15 + dx, 16 + dy);
                      }});
    }
  }
  list.push_back({"lines off the surface", 24, 24, [](Canvas& c) {
                    c.Clear(0);
                    c.SetPenColor(MakeRgb(0, 255, 0));
                    c.Line(-10, 3, 40, 9);
                    c.Line(5, -20, 9, 50);
                    c.Line(-5, -5, 30, 30);
                    c.Line(30, 2, -3, 20);
                  }});
  list.push_back({"outlines", 40, 40, [](Canvas& c) {
                    c.Clear(0);
                    int i = 0;
                    for (const auto& r : {Rect{2, 2, 10, 5}, Rect{15, 3, 0, 7}, Rect{20, 20, -6, -4},
                                          Rect{30, 5, 0, 0}, Rect{1, 30, 37, 0}, Rect{-3, 33, 50, 10}}) {
                      draw::APIRectangle(c, r.left, r.top, r.right, r.bottom, Shade(i++));
                    }
                  }});
  return list;
}

inline std::vector<Scene> FillScenes() {
  std::vector<Scene> list;
  const Rect rects[] = {{2, 3, 12, 8}, {10, 10, 5, 5}, {10, 10, 5, 15},  {10, 10, 15, 5},  {3, 3, 3, 8},
                        {3, 3, 8, 3},  {-5, -5, 4, 4}, {20, 20, 40, 40}, {-3, 10, 50, 11}, {7, 7, 8, 8}};
  for (const Rect& r : rects) {
    list.push_back({"fill " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                        std::to_string(r.right) + "," + std::to_string(r.bottom),
                    24, 24, [r](Canvas& c) {
                      c.Clear(MakeRgb(255, 255, 255));
                      c.FillRect(r, MakeRgb(0, 0, 255));
                    }});
  }
  return list;
}

inline std::vector<Scene> RoundRectScenes() {
  std::vector<Scene> list;
  const int sizes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 20, 21, 33};
  const int ellipses[][2] = {{0, 0}, {1, 1},   {2, 2},   {3, 3},   {4, 4},   {5, 5}, {2, 10},   {10, 2},
                             {9, 9}, {10, 10}, {11, 11}, {16, 16}, {40, 40}, {7, 3}, {-10, -10}};
  for (int w : sizes) {
    for (int h : {1, 2, 3, 5, 8, 10, 11, 14, 22, 31}) {
      for (const auto& e : ellipses) {
        // Wine draws an ellipse wider or taller than its rectangle
        // differently from run to run; nothing to compare there.
        if (e[0] > w || e[1] > h) continue;
        for (int fill = 0; fill < 2; ++fill) {
          const Rect r = (w + h) % 7 == 0 ? Rect{3 + w, 2 + h, 3, 2} : Rect{3, 2, 3 + w, 2 + h};
          char name[96];
          std::snprintf(name, sizeof name, "roundrect %d,%d,%d,%d ellipse %dx%d fill %d", r.left, r.top,
                        r.right, r.bottom, e[0], e[1], fill);
          list.push_back({name, 40, 36, [r, e0 = e[0], e1 = e[1], fill](Canvas& c) {
                            c.Clear(MakeRgb(255, 255, 255));
                            c.SetPenColor(MakeRgb(128, 0, 0));
                            c.RoundRect(r, e0, e1,
                                        fill ? std::optional<Rgb>(MakeRgb(0, 160, 0)) : std::nullopt);
                          }});
        }
      }
    }
  }
  return list;
}

inline std::vector<Scene> FocusScenes() {
  std::vector<Scene> list;
  for (int l = 0; l < 2; ++l) {
    for (int t = 0; t < 2; ++t) {
      for (int w : {0, 1, 2, 3, 4, 5, 6, 10}) {
        for (int h : {0, 1, 2, 3, 4, 5, 9}) {
          for (int times = 1; times <= 2; ++times) {
            const Rect r = (w + h) % 5 == 0 ? Rect{l + 2 + w, t + 2 + h, l + 2, t + 2}
                                            : Rect{l + 2, t + 2, l + 2 + w, t + 2 + h};
            char name[80];
            std::snprintf(name, sizeof name, "focus %d,%d,%d,%d x%d", r.left, r.top, r.right, r.bottom,
                          times);
            list.push_back({name, 16, 16, [r, times](Canvas& c) {
                              Noise(c);
                              for (int k = 0; k < times; ++k) c.DrawFocusRect(r);
                            }});
          }
        }
      }
    }
  }
  for (const Rect& r : {Rect{-3, -2, 9, 7}, Rect{5, 4, 30, 25}, Rect{-5, 3, 21, 12}, Rect{7, -9, 11, 40}}) {
    char name[80];
    std::snprintf(name, sizeof name, "focus %d,%d,%d,%d partly off", r.left, r.top, r.right, r.bottom);
    list.push_back({name, 16, 16, [r](Canvas& c) {
                      Noise(c);
                      c.DrawFocusRect(r);
                    }});
  }
  return list;
}

inline std::vector<Scene> PrimitiveScenes() {
  std::vector<Scene> list;
  list.push_back({"gradient black to white", 8, 260, [](Canvas& c) {
                    c.Clear(MakeRgb(1, 2, 3));
                    draw::pFillCurvedGradient(c, 1, 0, 7, 255, 0, MakeRgb(255, 255, 255), -1, false, false);
                  }});
  for (int radius = -1; radius <= 5; ++radius) {
    for (int flags = 0; flags < 4; ++flags) {
      list.push_back({"curved fills radius " + std::to_string(radius) + " flags " + std::to_string(flags), 40,
                      30, [radius, flags](Canvas& c) {
                        c.Clear(MakeRgb(255, 255, 255));
                        draw::pFillCurvedGradient(c, 2, 1, 30, 20, MakeRgb(250, 10, 128), MakeRgb(3, 200, 60),
                                                  radius, (flags & 1) != 0, (flags & 2) != 0);
                        draw::pFillCurvedSolid(c, 5, 22, 38, 29, MakeRgb(0, 90, 200), radius,
                                               (flags & 1) != 0, (flags & 2) != 0);
                        draw::pFillCurvedGradient(c, 33, 4, 39, 4, MakeRgb(9, 9, 9), MakeRgb(99, 99, 99),
                                                  radius, (flags & 1) != 0, (flags & 2) != 0);
                      }});
    }
  }
  return list;
}

// A 16 x 16 or 32 x 32 test picture: a distinct colour per pixel, with the
// mask colour on a diagonal band and in one corner.
inline Bitmap TestPicture(int size, Rgb mask) {
  Bitmap b(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool masked = (x + y) % 7 == 0 || (x < 3 && y < 3);
      b.Set(x, y, masked ? mask : MakeRgb(x * 255 / size, y * 255 / size, 128 + x - y));
    }
  }
  return b;
}

inline std::vector<Scene> ImageScenes() {
  std::vector<Scene> list;
  const Rgb mask = MakeRgb(0xC0, 0xC0, 0xC0);
  for (int source : {16, 32}) {
    for (const auto& d : {Rect{4, 4, 20, 20}, Rect{4, 4, 36, 36}, Rect{2, 3, 26, 27}, Rect{5, 5, 17, 17},
                          Rect{0, 0, 20, 12}, Rect{1, 1, 6, 6}, Rect{3, 3, 4, 4}, Rect{-7, -5, 13, 15},
                          Rect{30, 30, 50, 50}, Rect{10, 10, 10, 20}, Rect{10, 10, 2, 2}}) {
      for (int transparent = 0; transparent < 2; ++transparent) {
        char name[96];
        std::snprintf(name, sizeof name, "%s %d to %d,%d,%d,%d", transparent ? "DrawImage" : "pPaintPicture",
                      source, d.left, d.top, d.right, d.bottom);
        list.push_back({name, 40, 40, [source, d, transparent, mask](Canvas& c) {
                          Noise(c);
                          const Bitmap picture = TestPicture(source, mask);
                          if (transparent) {
                            draw::DrawImage(c, picture, mask, d.left, d.top, d.Width(), d.Height());
                          } else {
                            draw::pPaintPicture(c, picture, d.left, d.top, d.Width(), d.Height());
                          }
                        }});
      }
    }
  }
  return list;
}

// Something like a property-pages strip: tabs with gradients, outlines,
// captions, pictures, close boxes, rounded tabs, a focus frame. `variant`
// moves the active tab and changes fonts, as repaints do.
inline void TabStrip(Canvas& c, int variant, std::vector<Rect>* textAreas) {
  const tabctl::Size size = c.ClientSize();
  const int sw = size.width;
  const int sh = size.height;
  const int m = 22;
  const int active = variant % 4;
  const Rgb outer = MakeRgb(64, 64, 64);
  const Rgb light = MakeRgb(255, 255, 255);
  const Rgb dark = MakeRgb(128, 128, 128);
  const Rgb mask = MakeRgb(0xC0, 0xC0, 0xC0);
  static const Bitmap picture = TestPicture(16, MakeRgb(0xC0, 0xC0, 0xC0));
  static const Bitmap big = TestPicture(32, MakeRgb(0xC0, 0xC0, 0xC0));
  const char* captions[] = {"&General", "Se&ttings", "History && log", "About"};

  draw::Cls(c, MakeRgb(236, 233, 216));
  draw::APIFillRectByCoords(c, 0, 0, sw, m, MakeRgb(212, 208, 200));
  draw::APILine(c, 0, m + 1, 0, sh - 1, light);
  draw::APILine(c, sw - 1, m + 1, sw - 1, sh - 1, outer);
  draw::APILine(c, sw - 2, m + 1, sw - 2, sh - 2, dark);
  draw::APILine(c, 0, sh - 1, sw, sh - 1, outer);
  draw::APILine(c, 1, sh - 2, sw - 1, sh - 2, dark);
  for (int i = 0; i < 4; ++i) {
    const bool isActive = i == active;
    const int l = i * 110 + (i == 0 && !isActive ? 2 : 0);
    const int r = i * 110 + 108;
    const int t = isActive ? 0 : 2;
    const int b = m;
    draw::pFillCurvedGradient(c, l, t, r - 1, b, isActive ? MakeRgb(255, 255, 255) : MakeRgb(230, 230, 240),
                              MakeRgb(212, 208, 200), 2, true, true);
    draw::APILine(c, l, t + 2, l + 3, t - 1, light);
    draw::APILine(c, l + 2, t, r - 2, t, light);
    draw::APILine(c, r - 2, t + 1, r, t + 3, outer);
    draw::APILine(c, r - 1, t + 2, r - 1, b + 1, outer);
    draw::APILine(c, r - 2, t + 2, r - 2, b + 1, dark);
    if (!isActive) draw::APILine(c, l, b, r, b, light);
    tabctl::FontDescription font;
    font.size = 8.25 + (variant % 3) * 0.75;
    font.bold = isActive;
    c.SetFont(font);
    c.SetTextColor(isActive ? MakeRgb(0, 0, 0) : MakeRgb(80, 80, 80));
    Rect caption{l + 22, t + 2, r - 16, b};
    Rect measured = caption;
    c.DrawTextLine(captions[i], measured, 0x8420);
    c.DrawTextLine(captions[i], caption, 37);
    if (textAreas != nullptr) textAreas->push_back(caption);
    draw::DrawImage(c, picture, mask, l + 4, t + 3, 16, 16);
    // Close box.
    const int bl = r - 13;
    const int bt = t + 5;
    c.SetPenColor(outer);
    c.RoundRect(Rect{bl, bt, bl + 10, bt + 10}, 2, 2, std::nullopt);
    draw::pFillCurvedGradient(c, bl + 1, bt + 1, bl + 9, bt + 8, MakeRgb(255, 255, 255),
                              MakeRgb(200, 200, 200), -1, false, false);
    draw::APILine(c, bl + 3, bt + 6, bl + 7, bt + 2, MakeRgb(0, 0, 0));
    draw::APILine(c, bl + 3, bt + 3, bl + 7, bt + 7, MakeRgb(0, 0, 0));
  }
  // Rounded tabs as in the rounded theme, then a page over their lower part.
  for (int i = 0; i < 4; ++i) {
    c.SetPenColor(outer);
    c.RoundRect(Rect{20 + i * 90, 60, 105 + i * 90, sh - 1}, 10, 10,
                i == active ? MakeRgb(255, 255, 255) : MakeRgb(220, 220, 230));
  }
  draw::APIFillRectByCoords(c, 10, 85, sw - 21, sh - 96, MakeRgb(245, 245, 245));
  draw::APIRectangle(c, 10, 85, sw - 21, sh - 96, outer);
  draw::DrawImage(c, big, mask, 40, 120, 16, 16);
  draw::DrawImage(c, big, mask, 70, 120, 20, 20);
  draw::pPaintPicture(c, picture, 100, 120);
  c.DrawFocusRect(Rect{38, 118, 92, 142});
  if (variant % 2 == 1) c.DrawFocusRect(Rect{38, 118, 92, 142});
}

}  // namespace scenes
