// A host and system for drawing the tab control away from any window: a
// fixed client size, run mode, no contained controls. Shared by the gallery
// and the benchmark.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "gfx/pixel_picture.h"
#include "tabctl/tab_host.h"
#include "tabctl/tab_painter.h"
#include "tabctl/tab_system.h"
#include "tabctl/uc_page_tab.h"

namespace tools {

class StillHost final : public tabctl::TabHost {
 public:
  StillHost(int width, int height) : width_(width), height_(height) {}
  int ContainedControlCount() override { return 0; }
  std::int32_t ContainedControlLeft(int) override { return 0; }
  void SetContainedControlLeft(int, std::int32_t) override {}
  void PlaceControl(tabctl::ControlHandle, platform::WindowHandle, const tabctl::ControlPlacement&) override {
  }
  std::int32_t ControlWidth() override { return width_ * 15; }
  void SetAccessKeys(const std::string&) override {}
  void SetWindowEnabled(bool) override {}
  void LockDrawing() override {}
  void UnlockDrawing() override {}
  void SetPersistentImage(bool) override {}
  void RepaintWindow() override {}
  void PropertyChanged(std::string_view) override {}
  bool UserMode() override { return true; }
  tabctl::TabFont AmbientFont() override { return {}; }
  tabctl::Color AmbientBackColor() override { return tabctl::SystemColor(tabctl::kColorButtonFace); }
  platform::WindowHandle WindowHandle() override { return 0; }
  std::int32_t ClientWidth() override { return width_; }
  std::int32_t ClientHeight() override { return height_; }
  void InstallHooks() override {}
  void RemoveHooks() override {}

 private:
  int width_;
  int height_;
};

class StillSystem final : public tabctl::TabSystem {
 public:
  std::uint32_t SysColor(int index) override { return colors_.SysColor(index); }
  std::optional<tabctl::OsVersionInfo> VersionEx() override { return std::nullopt; }
  std::optional<std::string> CurrentThemeColorBuffer() override { return std::nullopt; }
  std::int32_t SmallIconWidth() override { return 16; }
  std::int32_t LargeIconWidth() override { return 32; }
  std::string ShowOpenFileDialog(platform::WindowHandle, const std::string&, const std::string&,
                                 const std::string&) override {
    return {};
  }

 private:
  tabctl::DefaultSystemColors colors_;
};

// The benchmarks' scene: the program's four captions, each tab with a 16 x 16
// picture (a square inside the mask colour), in one style and theme.
inline void SetUpBenchControl(tabctl::ucPageTab& control, tabctl::TabStyles style, int theme) {
  using namespace tabctl;
  control.InitProperties();
  control.SetTabCount(4);
  const char* captions[] = {"加速状态", "系统设置", "加速记录", "关于"};
  for (int i = 0; i < 4; ++i) {
    control.SetTabCaption(i, captions[i]);
    Bitmap icon(16, 16, MakeRgb(255, 0, 255));
    for (int y = 3; y < 13; ++y) {
      for (int x = 3; x < 13; ++x) icon.Set(x, y, MakeRgb(40 * i, 120, 200));
    }
    control.SetTabPicture(i, MakePixelPicture(icon));
  }
  control.SetPictureMaskColor(RgbColor(255, 0, 255));
  control.SetTabStyle(style);
  control.SetTabTheme(static_cast<TabThemes>(theme));
}

// Prints the median time of one full repaint on `canvas` for every style
// and theme of the benchmark scene; `settle` runs after each repaint and
// inside the timing (a GDI flush, say).
template <typename Settle>
void PrintRepaintMedians(tabctl::Canvas& canvas, int repeats, Settle settle) {
  using namespace tabctl;
  StillHost host(canvas.ClientSize().width, canvas.ClientSize().height);
  StillSystem system;
  auto painter = MakeTabPainter(canvas);
  std::printf("style theme  median_us\n");
  for (TabStyles style : {TabStyles::TabbedDialog, TabStyles::PropertyPages}) {
    for (int theme = 0; theme <= 4; ++theme) {
      ucPageTab control(host, system);
      control.SetRenderer(painter.get());
      SetUpBenchControl(control, style, theme);
      std::vector<double> times;
      for (int n = 0; n < repeats; ++n) {
        const auto start = std::chrono::steady_clock::now();
        control.Refresh();
        settle();
        const auto stop = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
      }
      std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
      std::printf("%5d %5d  %9.1f\n", static_cast<int>(style), theme, times[times.size() / 2]);
      control.SetRenderer(nullptr);
    }
  }
}

}  // namespace tools
