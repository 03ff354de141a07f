#include "settings/module_auto_run.h"

#include <algorithm>
#include <array>

#include "settings/app_paths.h"

namespace settings {
namespace {

using platform::RunScope;

// A standard user's token holds all four: a denial to any of them binds it.
constexpr std::array<std::string_view, 4> kOtherUsers = {
    "S-1-5-32-545",  // built-in Users
    "S-1-5-11",      // Authenticated Users
    "S-1-1-0",       // Everyone
    "S-1-5-4",       // the interactive user
};

// Rights that let a user replace what the Run value starts: write or append
// data (add a file or folder, for a folder), delete a child or the object,
// change its access list or owner.
constexpr std::uint32_t kReplaceRights = 0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;

std::uint32_t SpecificRights(std::uint32_t mask) {
  if (mask & kGenericAll) mask |= kReplaceRights;
  if (mask & kGenericWrite) mask |= 0x2 | 0x4;
  return mask;
}

}  // namespace

std::string RunEntryData(std::string_view applicationDirectory) {
  std::string path = AppFilePath(applicationDirectory, kRunExecutableName);
  if (path.find(' ') == std::string::npos) return path;
  return '"' + path + '"';
}

bool OpenToOtherUsers(const std::optional<platform::FileSecurity::AccessList>& access) {
  if (!access || access->unrestricted) return true;
  // Entries count in their order: a right denied before it is allowed stays denied.
  std::uint32_t denied = 0;
  std::uint32_t allowed = 0;
  for (const auto& entry : access->entries) {
    if (entry.inheritOnly) continue;
    if (std::find(kOtherUsers.begin(), kOtherUsers.end(), entry.sid) == kOtherUsers.end()) continue;
    const std::uint32_t rights = SpecificRights(entry.mask) & kReplaceRights;
    if (entry.allow) {
      allowed |= rights & ~denied;
    } else {
      denied |= rights & ~allowed;
    }
  }
  return allowed != 0;
}

ModuleAutoRun::ModuleAutoRun(platform::RunKey& runKey, platform::FileSecurity& security,
                             std::string_view applicationDirectory)
    : runKey_(runKey),
      security_(security),
      folder_(applicationDirectory),
      data_(RunEntryData(applicationDirectory)) {}

bool ModuleAutoRun::ProgramOpenToOthers() const {
  return OpenToOtherUsers(security_.AccessListOf(folder_)) ||
         OpenToOtherUsers(security_.AccessListOf(AppFilePath(folder_, kRunExecutableName)));
}

RunEntryResult ModuleAutoRun::AddRunEntry() const {
  const std::string name(kRunValueName);
  // A machine-wide value runs in every user's session, administrators'
  // included: it may only name a program that other users cannot replace.
  const bool open = ProgramOpenToOthers();
  if (!open && runKey_.SetString(RunScope::MachineWide, name, data_)) {
    runKey_.DeleteValue(RunScope::CurrentUser, name);
    return {RunEntryPlace::MachineWide, false};
  }
  if (!runKey_.SetString(RunScope::CurrentUser, name, data_)) return {RunEntryPlace::Nowhere, open};
  if (!runKey_.DeleteValue(RunScope::MachineWide, name)) {
    // A machine-wide value this user may not remove starts the program
    // already; a second one would start it twice.
    runKey_.DeleteValue(RunScope::CurrentUser, name);
    return {RunEntryPlace::MachineWide, open};
  }
  return {RunEntryPlace::CurrentUser, open};
}

bool ModuleAutoRun::RemoveRunEntry() const {
  const std::string name(kRunValueName);
  const bool machineGone = runKey_.DeleteValue(RunScope::MachineWide, name);
  const bool userGone = runKey_.DeleteValue(RunScope::CurrentUser, name);
  return machineGone && userGone;
}

}  // namespace settings
