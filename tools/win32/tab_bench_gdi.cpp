// Median time of one full repaint of a 569 x 353 control with four tabs,
// each with a caption and a masked picture,
// drawn with GDI into its off-screen image (run under Wine or on Windows).
#include <windows.h>

#include "../still_host.h"
#include "win32/gdi_canvas.h"

int main() {
  win32::GdiCanvas canvas(569, 353);
  tools::PrintRepaintMedians(canvas, 500, [] { GdiFlush(); });
  return 0;
}
