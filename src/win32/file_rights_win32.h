// Files and rights the settings and the Run entry ask about.
#pragma once

#include <optional>
#include <string>

#include "platform/ports.h"

namespace win32 {

// The access list of a file or folder (GetNamedSecurityInfoW).
class FileSecurityWin32 : public platform::FileSecurity {
 public:
  std::optional<AccessList> AccessListOf(const std::string& path) override;
};

// config.ini beside the program and the current user's own one under the
// roaming application-data folder: "...\AppData\Roaming\Quillmoor\config.ini".
class SettingsFilesWin32 : public platform::SettingsFiles {
 public:
  bool CanWrite(const std::string& path) override;
  bool Exists(const std::string& path) override;
  std::string PerUserSettingsPath() override;
  bool ReplaceWithCopy(const std::string& from, const std::string& to) override;
};

// Whether this process runs as another user than the one at the desktop
// (its session's user): then the current user's registry and folders are
// that other account's. False where either cannot be found out.
bool RunsAsAnotherUser();

}  // namespace win32
