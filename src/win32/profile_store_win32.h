// The settings file through the platform's own private-profile functions,
// and what the settings need to know about the running program.
#pragma once

#include <string>

#include "platform/ports.h"

namespace win32 {

// GetPrivateProfileStringA / WritePrivateProfileStringA: text crosses in the
// process's ANSI code page. A path with characters outside that code page
// cannot be reached through these functions.
class ProfileStoreWin32 : public platform::ProfileStore {
 public:
  std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t bufferBytes) override;
  bool SetString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) override;
  // GetPrivateProfileSectionW, its buffer grown until the section fits.
  Entries GetSection(const std::string& path, const std::string& section) override;
};

// UTF-8 and the process's ANSI code page (CP_ACP).
class SystemAnsiConverter : public platform::AnsiConverter {
 public:
  std::string ToAnsi(const std::string& utf8) const override;
  std::string ToUtf8(const std::string& ansi) const override;
};

// The folder of the running executable (UTF-8), without a trailing
// separator unless it is a root: where config.ini lives and what the Run
// entry names.
std::string ApplicationDirectory();

}  // namespace win32
