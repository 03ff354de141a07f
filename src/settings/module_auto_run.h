// Start at logon: one value under the machine-wide Run key names the program.
#pragma once

#include <string>
#include <string_view>

#include "platform/ports.h"

namespace settings {

inline constexpr std::string_view kRunValueName = "Brevolt";
// Named whatever the running executable is called.
inline constexpr std::string_view kRunExecutableName = "Brevolt.exe";

// The command stored for the program: application directory +
// "\Brevolt.exe", in double quotes when it holds a blank. Unquoted, Windows
// would try "C:\Program.exe" first for "C:\Program Files\...".
std::string RunEntryData(std::string_view applicationDirectory);

class ModuleAutoRun {
 public:
  ModuleAutoRun(platform::RunKey& runKey, std::string_view applicationDirectory)
      : runKey_(runKey), data_(RunEntryData(applicationDirectory)) {}

  // Writes the value, replacing earlier data. Failures stay silent.
  void AddRunEntry() const;
  // Deletes the value; a missing one is no failure. Failures stay silent.
  void RemoveRunEntry() const;

 private:
  platform::RunKey& runKey_;
  std::string data_;
};

}  // namespace settings
