// Start at logon: one value under a Run key names the program. The
// machine-wide key is tried first; the current user's serves when that is
// refused or when the program's files may be changed by someone other than
// an administrator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"

namespace settings {

inline constexpr std::string_view kRunValueName = "Brevolt";
// Named whatever the running executable is called.
inline constexpr std::string_view kRunExecutableName = "Brevolt.exe";

// The command stored for the program: application directory +
// "\Brevolt.exe", in double quotes when it holds a blank. Unquoted, Windows
// would try "C:\Program.exe" first for "C:\Program Files\...".
std::string RunEntryData(std::string_view applicationDirectory);

// Whether anyone but the system, administrators and the installer service
// may change, replace or delete the object, or add files to it: by an entry
// of its access list, or as its owner (an owner may rewrite the list). A
// machine-wide Run value naming such a program would let that one user run
// code in every other user's session. An access list that cannot be read,
// and a reparse point, count as open.
bool OpenToOtherUsers(const std::optional<platform::FileSecurity::AccessList>& access);
// The same for a folder above the program's: there, only the rights that
// let a user move a child away (delete a child or the folder itself,
// change its list or owner) count; adding files there replaces nothing.
bool OpenAbove(const std::optional<platform::FileSecurity::AccessList>& access);

// Every folder a path lies in, from its own up to the root of its volume
// ("C:", "\server\share").
std::vector<std::string> FoldersAbove(std::string_view path);

// Whether the program runs as another user than the one at the desktop
// (elevated with an administrator's name and password): its own registry
// and application-data folder are then that account's, not the user's. The
// users' account names, compared as given; an empty one is not known, and
// then the profile counts as the user's.
bool ProfileOfAnotherUser(std::string_view processUser, std::string_view sessionUser);

enum class RunEntryPlace { MachineWide, CurrentUser, Nowhere };

struct RunEntryResult {
  RunEntryPlace place = RunEntryPlace::Nowhere;
  // The machine-wide value could have been written, but was not because
  // someone other than an administrator may change the program's folder or
  // file.
  bool openToOthers = false;
  // Nowhere, because the current user's value would have been another
  // account's, which does not start anything for the user at the desktop.
  bool anotherUsersProfile = false;
};

class ModuleAutoRun {
 public:
  // anotherUsersProfile: the current user's key is not the desktop user's
  // (see ProfileOfAnotherUser), so no value is written there.
  ModuleAutoRun(platform::RunKey& runKey, platform::FileSecurity& security,
                std::string_view applicationDirectory, bool anotherUsersProfile = false);

  // Writes the value, replacing earlier data: machine-wide when the
  // program's folder and file are closed to other users and that key may
  // be written, otherwise for the current user. Never both, so the program
  // is started once at logon. Windows' startup switch of the value written
  // is removed, so that Windows starts it.
  RunEntryResult AddRunEntry() const;
  // Deletes the value from both keys, with Windows' startup switch of it;
  // false when a value is left that this user may not delete.
  bool RemoveRunEntry() const;
  // The value is there, but switched off in Task Manager or Settings:
  // Windows will not start the program at logon.
  bool SwitchedOffInWindows() const;

 private:
  bool ProgramOpenToOthers() const;
  // The value and its switch in one key; false when the value is left.
  bool Remove(platform::RunScope scope) const;

  platform::RunKey& runKey_;
  platform::FileSecurity& security_;
  std::string folder_;
  std::string data_;
  bool anotherUsersProfile_;
};

}  // namespace settings
