// A control with the real painter on a raster canvas, over the recording
// host of fakes.h.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "fakes.h"
#include "gfx/raster_canvas.h"
#include "tabctl/tab_painter.h"

namespace tabfakes {

struct Painted {
  Log log;
  Host host{log};
  System system;
  tabctl::RasterCanvas canvas;
  std::unique_ptr<tabctl::TabRenderer> painter;
  tabctl::ucPageTab tab{host, system};

  // A new control in `style` and `theme` with these tabs, on a surface of
  // width x height; with attach false the painter is attached later.
  Painted(tabctl::TabStyles style, int theme, std::initializer_list<const char*> captions, int width = 400,
          int height = 150, bool attach = true)
      : canvas(width, height), painter(tabctl::MakeTabPainter(canvas)) {
    host.clientWidth = width;
    host.clientHeight = height;
    tab.InitProperties();
    tab.SetTabCount(static_cast<std::int32_t>(captions.size()));
    int i = 0;
    for (const char* c : captions) tab.SetTabCaption(i++, c);
    tab.SetTabStyle(style);
    tab.SetTabTheme(static_cast<tabctl::TabThemes>(theme));
    if (attach) Attach();
  }
  ~Painted() { tab.SetRenderer(nullptr); }

  void Attach() { tab.SetRenderer(painter.get()); }
  tabctl::Rgb Rgb(tabctl::Color c) { return tabctl::GetRGBFromOLE(c, system.colors); }
};

}  // namespace tabfakes
