#include "settings/module_auto_run.h"

#include <algorithm>
#include <array>
#include <map>

#include "settings/app_paths.h"

namespace settings {
namespace {

using platform::RunScope;

// Who may change what a machine-wide Run value starts.
constexpr std::array<std::string_view, 3> kTrusted = {
    "S-1-5-18",                                                        // the system
    "S-1-5-32-544",                                                    // administrators
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",  // the installer service
};

// Stand-ins, not users: an entry for them on the object itself grants no
// one anything (creator owner), or grants the owner, who is looked at on
// its own (owner rights).
constexpr std::array<std::string_view, 2> kStandIns = {"S-1-3-0", "S-1-3-4"};

// Every user's token holds all four: a denial to any of them binds everyone
// who is not trusted.
constexpr std::array<std::string_view, 4> kEveryUser = {
    "S-1-5-32-545",  // built-in Users
    "S-1-5-11",      // Authenticated Users
    "S-1-1-0",       // Everyone
    "S-1-5-4",       // the interactive user
};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& list, std::string_view sid) {
  return std::find(list.begin(), list.end(), sid) != list.end();
}

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

// Rights that let a user move a folder's child away, or the folder itself,
// and put another in its place.
constexpr std::uint32_t kMoveAwayRights = 0x40 | 0x10000 | 0x40000 | 0x80000;

bool OpenFor(const std::optional<platform::FileSecurity::AccessList>& access, std::uint32_t replaceRights) {
  if (!access || access->unrestricted || access->reparsePoint) return true;
  if (!access->owner.empty() && !OneOf(kTrusted, access->owner)) return true;
  // Entries count in their order: a right denied before it is allowed stays
  // denied, to that one or (denied to a group every user is in) to all.
  std::map<std::string_view, std::uint32_t> denied;
  std::uint32_t deniedToAll = 0;
  for (const auto& entry : access->entries) {
    if (entry.inheritOnly) continue;
    if (entry.unknownKind) return true;
    if (OneOf(kTrusted, entry.sid) || OneOf(kStandIns, entry.sid)) continue;
    const std::uint32_t rights = SpecificRights(entry.mask) & replaceRights;
    if (!entry.allow) {
      denied[entry.sid] |= rights;
      if (OneOf(kEveryUser, entry.sid)) deniedToAll |= rights;
    } else if ((rights & ~deniedToAll & ~denied[entry.sid]) != 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string RunEntryData(std::string_view applicationDirectory) {
  std::string path = AppFilePath(applicationDirectory, kRunExecutableName);
  if (path.find(' ') == std::string::npos) return path;
  return '"' + path + '"';
}

bool OpenToOtherUsers(const std::optional<platform::FileSecurity::AccessList>& access) {
  return OpenFor(access, kReplaceRights);
}

bool OpenAbove(const std::optional<platform::FileSecurity::AccessList>& access) {
  return OpenFor(access, kMoveAwayRights);
}

std::vector<std::string> FoldersAbove(std::string_view path) {
  // A share's root is "\\server\share": the folders above it are no folders.
  std::size_t root = 0;
  if (path.substr(0, 2) == "\\\\") {
    const std::size_t server = path.find('\\', 2);
    const std::size_t share = server == std::string_view::npos ? server : path.find('\\', server + 1);
    root = share == std::string_view::npos ? path.size() : share;
  }
  std::vector<std::string> folders;
  std::string current(path);
  for (;;) {
    std::string folder = ApplicationDirectoryOf(current);
    if (folder.empty() || folder == current || folder.size() < root) break;
    folders.push_back(folder);
    current = std::move(folder);
  }
  return folders;
}

bool ProfileOfAnotherUser(std::string_view processUser, std::string_view sessionUser) {
  return !processUser.empty() && !sessionUser.empty() && processUser != sessionUser;
}

ModuleAutoRun::ModuleAutoRun(platform::RunKey& runKey, platform::FileSecurity& security,
                             std::string_view applicationDirectory, bool anotherUsersProfile)
    : runKey_(runKey),
      security_(security),
      folder_(applicationDirectory),
      data_(RunEntryData(applicationDirectory)),
      anotherUsersProfile_(anotherUsersProfile) {}

bool ModuleAutoRun::ProgramOpenToOthers() const {
  const std::string file = AppFilePath(folder_, kRunExecutableName);
  if (OpenToOtherUsers(security_.AccessListOf(file))) return true;
  const std::vector<std::string> folders = FoldersAbove(file);
  // Its own folder takes no one else's files (a library beside it would be
  // loaded); above it, no one else may move the way to it aside.
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const auto access = security_.AccessListOf(folders[i]);
    if (i == 0 ? OpenToOtherUsers(access) : OpenAbove(access)) return true;
  }
  return false;
}

RunEntryResult ModuleAutoRun::AddRunEntry() const {
  const std::string name(kRunValueName);
  // A machine-wide value runs in every user's session, administrators'
  // included: it may only name a program that only administrators can replace.
  const bool open = ProgramOpenToOthers();
  if (!open && runKey_.SetString(RunScope::MachineWide, name, data_) &&
      runKey_.DeleteSwitch(RunScope::MachineWide, name)) {
    Remove(RunScope::CurrentUser);
    return {RunEntryPlace::MachineWide, false};
  }
  // Worth telling only where the machine-wide value was possible at all.
  const bool heldBack = open && runKey_.MaySetValues(RunScope::MachineWide);
  if (anotherUsersProfile_) return {RunEntryPlace::Nowhere, heldBack, true};
  // A value Windows keeps switched off starts nothing: not written at all.
  if (!runKey_.SetString(RunScope::CurrentUser, name, data_) ||
      !runKey_.DeleteSwitch(RunScope::CurrentUser, name))
    return {RunEntryPlace::Nowhere, heldBack};
  if (!Remove(RunScope::MachineWide)) {
    // A machine-wide value this user may not remove starts the program
    // already; a second one would start it twice.
    Remove(RunScope::CurrentUser);
    return {RunEntryPlace::MachineWide, heldBack};
  }
  return {RunEntryPlace::CurrentUser, heldBack};
}

bool ModuleAutoRun::Remove(RunScope scope) const {
  const std::string name(kRunValueName);
  if (!runKey_.DeleteValue(scope, name)) return false;
  // Left behind, it would switch off a value written later.
  runKey_.DeleteSwitch(scope, name);
  return true;
}

bool ModuleAutoRun::RemoveRunEntry() const {
  const bool machineGone = Remove(RunScope::MachineWide);
  const bool userGone = Remove(RunScope::CurrentUser);
  return machineGone && userGone;
}

bool ModuleAutoRun::SwitchedOffInWindows() const {
  const std::string name(kRunValueName);
  return runKey_.SwitchedOff(RunScope::MachineWide, name) || runKey_.SwitchedOff(RunScope::CurrentUser, name);
}

}  // namespace settings
