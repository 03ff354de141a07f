// The tab control's system services on Windows: colours, version, visual
// style, icon sizes and the open-file dialog.
#pragma once

#include "tabctl/tab_system.h"
#include "win32/system_colors_win32.h"

namespace win32 {

class TabSystemWin32 : public tabctl::TabSystem {
 public:
  std::uint32_t SysColor(int index) override { return colors_.SysColor(index); }
  std::optional<tabctl::OsVersionInfo> VersionEx() override;
  std::optional<std::string> CurrentThemeColorBuffer() override;
  std::int32_t SmallIconWidth() override;
  std::int32_t LargeIconWidth() override;
  std::string ShowOpenFileDialog(platform::WindowHandle owner, const std::string& initialDirectory,
                                 const std::string& filter, const std::string& title) override;

 private:
  SystemColorsWin32 colors_;
};

}  // namespace win32
