// The record of raised processes in a volatile key of the current user:
// it outlives a killed program but not the session, which ends every
// process it could name anyway.
#pragma once

#include <windows.h>

#include "platform/ports.h"

namespace win32 {

inline constexpr wchar_t kRaisedParentKey[] = L"Software\\Quillmoor\\Brevolt";
inline constexpr wchar_t kRaisedKeyName[] = L"Raised";

class RegistryRaisedRecords : public platform::RaisedRecords {
 public:
  // Under `root` (the current user's hive unless a test gives another).
  explicit RegistryRaisedRecords(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
  std::vector<std::pair<std::string, std::string>> List() override;
  bool Write(const std::string& name, const std::string& text) override;
  void Delete(const std::string& name) override;

 private:
  HKEY root_;
};

}  // namespace win32
