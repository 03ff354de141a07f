// Median time of one full repaint of a 569 x 353 control with four tabs,
// each with a caption and a masked picture, on the raster canvas (build
// without sanitizers for a meaningful figure).
#include "gfx/raster_canvas.h"
#include "still_host.h"

int main() {
  tabctl::RasterCanvas canvas(569, 353);
  tools::PrintRepaintMedians(canvas, 2000, [] {});
  return 0;
}
