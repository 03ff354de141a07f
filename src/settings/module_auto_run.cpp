#include "settings/module_auto_run.h"

#include "settings/app_paths.h"

namespace settings {

std::string RunEntryData(std::string_view applicationDirectory) {
  std::string path = AppFilePath(applicationDirectory, kRunExecutableName);
  if (path.find(' ') == std::string::npos) return path;
  return '"' + path + '"';
}

void ModuleAutoRun::AddRunEntry() const { runKey_.SetString(std::string(kRunValueName), data_); }

void ModuleAutoRun::RemoveRunEntry() const { runKey_.DeleteValue(std::string(kRunValueName)); }

}  // namespace settings
