// What the tab control needs from the operating system besides its window:
// system colours, the version and visual-style queries of theme detection,
// icon sizes for tab pictures, and the open-file dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ports.h"
#include "tabctl/colors.h"

namespace tabctl {

// The fields of the system's version record that theme detection reads.
struct OsVersionInfo {
  std::uint32_t platformId = 0;  // 2 = Windows NT family
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

class TabSystem : public SystemColors {
 public:
  // The version record; nullopt when the query fails.
  virtual std::optional<OsVersionInfo> VersionEx() = 0;
  // The colour-scheme name of the current visual style exactly as its
  // 255-character buffer came back, NULs and padding included; nullopt
  // when the query fails.
  virtual std::optional<std::string> CurrentThemeColorBuffer() = 0;
  // Widths of the system's small and large icons in pixels.
  virtual std::int32_t SmallIconWidth() = 0;
  virtual std::int32_t LargeIconWidth() = 0;
  // The standard open-file dialog. filter is the pairs of description and
  // pattern, each ended by a NUL, the list ended by one more NUL. Returns
  // the chosen path, empty when the user cancels.
  virtual std::string ShowOpenFileDialog(platform::WindowHandle owner, const std::string& initialDirectory,
                                         const std::string& filter, const std::string& title) = 0;
};

}  // namespace tabctl
