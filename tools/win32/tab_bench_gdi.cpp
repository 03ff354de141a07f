// Median time of one full repaint of a 569 x 353 control with four tabs,
// each with a caption and a masked picture,
// drawn with GDI into its off-screen image (run under Wine or on Windows).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "../still_host.h"
#include "platform/win32/gdi_canvas.h"
#include "tabctl/tab_painter.h"
#include "tabctl/uc_page_tab.h"

int main() {
  using namespace tabctl;
  tools::StillHost host(569, 353);
  tools::StillSystem system;
  win32::GdiCanvas canvas(569, 353);
  auto painter = MakeTabPainter(canvas);
  std::printf("style theme  median_us\n");
  for (TabStyles style : {TabStyles::TabbedDialog, TabStyles::PropertyPages}) {
    for (int theme = 0; theme <= 4; ++theme) {
      ucPageTab control(host, system);
      control.SetRenderer(painter.get());
      tools::SetUpBenchControl(control, style, theme);
      std::vector<double> times;
      for (int n = 0; n < 500; ++n) {
        const auto start = std::chrono::steady_clock::now();
        control.Refresh();
        GdiFlush();
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
      }
      std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
      std::printf("%5d %5d  %9.1f\n", static_cast<int>(style), theme, times[times.size() / 2]);
      control.SetRenderer(nullptr);
    }
  }
  return 0;
}
