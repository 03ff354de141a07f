#include "settings/module_auto_run.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "settings/fake_run_key.h"

namespace {

using platform::RunScope;
using settings::RunEntryPlace;

using fakes::FakeRunKey;

using AccessList = platform::FileSecurity::AccessList;

struct FakeSecurity : platform::FileSecurity {
  std::map<std::string, AccessList> lists;  // a path without one cannot be read
  std::optional<AccessList> AccessListOf(const std::string& path) override {
    auto it = lists.find(path);
    if (it == lists.end()) return std::nullopt;
    return it->second;
  }
};

constexpr std::uint32_t kFullControl = 0x1F01FF;
constexpr std::uint32_t kReadExecute = 0x1200A9;
constexpr std::uint32_t kModify = 0x1301BF;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;

// As Windows sets up "Program Files": only administrators, the system and
// the installer service may change it.
const AccessList kAdministratorsOnly{
    false,
    {{true, false, "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", kFullControl},
     {true, false, "S-1-5-18", kFullControl},
     {true, false, "S-1-5-32-544", kFullControl},
     {true, false, "S-1-5-32-545", kReadExecute},
     {true, true, "S-1-3-0", kGenericAll},
     {true, true, "S-1-5-32-545", kGenericWrite}},
    ""};

constexpr char kUser[] = "S-1-5-21-0-0-0-1000";

// What a user's profile folders have: the system, administrators and that user.
const AccessList kUsersOwnFolder{false,
                                 {{true, false, "S-1-5-18", kFullControl},
                                  {true, false, "S-1-5-32-544", kFullControl},
                                  {true, false, kUser, kFullControl},
                                  {true, false, "S-1-1-0", kReadExecute}},
                                 ""};

AccessList WithOwner(AccessList list, std::string owner) {
  list.owner = std::move(owner);
  return list;
}

AccessList WithEntry(AccessList list, platform::AccessEntry entry) {
  list.entries.push_back(std::move(entry));
  return list;
}

platform::AccessEntry Unknown(bool inheritOnly) {
  platform::AccessEntry entry{true, inheritOnly, "", 0};
  entry.unknownKind = true;
  return entry;
}

AccessList Reparse(AccessList list) {
  list.reparsePoint = true;
  return list;
}

TEST(ModuleAutoRunTest, WhoMayChangeTheProgram) {
  const struct {
    const char* what;
    std::optional<AccessList> list;
    bool open;
  } cases[] = {
      {"administrators only", kAdministratorsOnly, false},
      {"administrators only, owned by administrators", WithOwner(kAdministratorsOnly, "S-1-5-32-544"), false},
      {"administrators only, owned by the installer service",
       WithOwner(kAdministratorsOnly, "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"),
       false},
      // The owner may rewrite the list, whatever it says.
      {"administrators only, owned by a user", WithOwner(kAdministratorsOnly, kUser), true},
      // A user's own folder (Downloads, the desktop; Wine gives every folder
      // this list): that user could replace what every other user's logon starts.
      {"a user's own folder", WithOwner(kUsersOwnFolder, kUser), true},
      {"a user's own folder, owned by administrators", WithOwner(kUsersOwnFolder, "S-1-5-32-544"), true},
      {"denied to that user before allowed to that user",
       AccessList{false, {{false, false, kUser, 0xD0046}, {true, false, kUser, kFullControl}}, ""}, false},
      {"denied to another user before allowed to that user",
       AccessList{
           false, {{false, false, "S-1-5-21-1-2-3-1001", 0xD0046}, {true, false, kUser, kFullControl}}, ""},
       true},
      {"creator owner and owner rights on the object itself",
       AccessList{
           false, {{true, false, "S-1-3-0", kFullControl}, {true, false, "S-1-3-4", kFullControl}}, ""},
       false},
      {"Wine, mode 777", AccessList{false, {{true, false, "S-1-1-0", 0x1301FF}}, ""}, true},
      {"a folder under C:\\",
       AccessList{
           false, {{true, false, "S-1-5-32-544", kFullControl}, {true, false, "S-1-5-11", kModify}}, ""},
       true},
      {"interactive user, generic write", AccessList{false, {{true, false, "S-1-5-4", kGenericWrite}}, ""},
       true},
      {"Users may delete children", AccessList{false, {{true, false, "S-1-5-32-545", 0x40}}, ""}, true},
      {"Users may change the access list", AccessList{false, {{true, false, "S-1-5-32-545", 0x40000}}, ""},
       true},
      {"Users may only set attributes", AccessList{false, {{true, false, "S-1-5-32-545", 0x100 | 0x10}}, ""},
       false},
      {"denied to Everyone before allowed to Users",
       AccessList{
           false, {{false, false, "S-1-1-0", 0xD0046}, {true, false, "S-1-5-32-545", kFullControl}}, ""},
       false},
      {"allowed to Users before denied to Everyone",
       AccessList{
           false, {{true, false, "S-1-5-32-545", kFullControl}, {false, false, "S-1-1-0", 0xD0046}}, ""},
       true},
      {"no access list at all", AccessList{true, {}, ""}, true},
      {"unreadable", std::nullopt, true},
      // What an object or callback entry grants is not read: it may be anything.
      {"an entry of a kind not read", WithEntry(kAdministratorsOnly, Unknown(false)), true},
      {"an entry of a kind not read, for children only", WithEntry(kAdministratorsOnly, Unknown(true)),
       false},
      {"a junction or symbolic link", Reparse(kAdministratorsOnly), true},
  };
  for (const auto& c : cases) EXPECT_EQ(settings::OpenToOtherUsers(c.list), c.open) << c.what;
}

// Whoever may move a folder on the way aside can put another program in
// its place: every folder up to the root counts, but above the program's
// own folder only what moves a child away (adding files there replaces
// nothing, and every user may add folders to C:\).
TEST(ModuleAutoRunTest, EveryFolderUpToTheRootIsClosed) {
  const std::string file = "C:\\Program Files\\Quillmoor\\Brevolt.exe";
  const AccessList root{false,
                        {{true, false, "S-1-5-32-544", kFullControl},
                         {true, false, "S-1-5-18", kFullControl},
                         {true, false, "S-1-5-32-545", kReadExecute},
                         {true, true, "S-1-5-11", kModify},
                         {true, false, "S-1-5-11", 0x4},  // create folders, on C:\ itself
                         {true, true, "S-1-3-0", kGenericAll}},
                        "S-1-5-18"};
  const struct {
    const char* what;
    std::string folder;
    std::optional<AccessList> list;
    RunEntryPlace place;
  } cases[] = {
      {"as Windows sets them up", "C:\\", root, RunEntryPlace::MachineWide},
      {"Program Files owned by a user", "C:\\Program Files", WithOwner(kAdministratorsOnly, kUser),
       RunEntryPlace::CurrentUser},
      {"Users may delete children of Program Files", "C:\\Program Files",
       WithEntry(kAdministratorsOnly, {true, false, "S-1-5-32-545", 0x40}), RunEntryPlace::CurrentUser},
      {"Users may delete Program Files itself", "C:\\Program Files",
       WithEntry(kAdministratorsOnly, {true, false, "S-1-5-32-545", 0x10000}), RunEntryPlace::CurrentUser},
      {"Users may change the list of C:\\", "C:\\", WithEntry(root, {true, false, "S-1-5-32-545", 0x40000}),
       RunEntryPlace::CurrentUser},
      {"Users may add files to Program Files", "C:\\Program Files",
       WithEntry(kAdministratorsOnly, {true, false, "S-1-5-32-545", 0x2 | 0x4}), RunEntryPlace::MachineWide},
      {"Users may add files to the program's folder", "C:\\Program Files\\Quillmoor",
       WithEntry(kAdministratorsOnly, {true, false, "S-1-5-32-545", 0x2}), RunEntryPlace::CurrentUser},
      {"Program Files is a junction", "C:\\Program Files", Reparse(kAdministratorsOnly),
       RunEntryPlace::CurrentUser},
      {"an entry of a kind not read on C:\\", "C:\\", WithEntry(root, Unknown(false)),
       RunEntryPlace::CurrentUser},
      {"C:\\ unreadable", "C:\\", std::nullopt, RunEntryPlace::CurrentUser},
  };
  for (const auto& c : cases) {
    FakeSecurity security;
    for (const char* path :
         {"C:\\Program Files\\Quillmoor\\Brevolt.exe", "C:\\Program Files\\Quillmoor", "C:\\Program Files"}) {
      security.lists[path] = kAdministratorsOnly;
    }
    security.lists["C:\\"] = root;
    if (c.list) {
      security.lists[c.folder] = *c.list;
    } else {
      security.lists.erase(c.folder);
    }
    FakeRunKey key;
    const settings::ModuleAutoRun autoRun(key, security, "C:\\Program Files\\Quillmoor");
    EXPECT_EQ(autoRun.AddRunEntry().place, c.place) << c.what;
  }
  EXPECT_EQ(settings::FoldersAbove(file),
            (std::vector<std::string>{"C:\\Program Files\\Quillmoor", "C:\\Program Files", "C:\\"}));
  EXPECT_EQ(settings::FoldersAbove("\\\\server\\share\\Tools\\Brevolt.exe"),
            (std::vector<std::string>{"\\\\server\\share\\Tools", "\\\\server\\share"}));
}

struct RunEntryCase {
  const char* what;
  bool programOpen;
  std::set<RunScope> refused;
  std::map<RunScope, std::map<std::string, std::string>> before;
  RunEntryPlace place;
  std::map<RunScope, std::map<std::string, std::string>> after;
  bool told = false;         // the user hears that the machine-wide value was held back
  bool anotherUser = false;  // elevated as another account: its key is not the user's
};

TEST(ModuleAutoRunTest, TheValueGoesWhereItIsSafeAndAllowedAndOnlyThere) {
  const std::string data = "C:\\Program Files\\Quillmoor\\Brevolt.exe";
  const std::string quoted = '"' + data + '"';
  const std::map<std::string, std::string> ours{{"Brevolt", quoted}};
  const std::map<std::string, std::string> old{{"Brevolt", "D:\\old\\Brevolt.exe"}};
  const std::map<std::string, std::string> none;
  const RunEntryCase cases[] = {
      {"administrator",
       false,
       {},
       {{RunScope::CurrentUser, old}},
       RunEntryPlace::MachineWide,
       {{RunScope::MachineWide, ours}, {RunScope::CurrentUser, none}}},
      {"standard user",
       false,
       {RunScope::MachineWide},
       {},
       RunEntryPlace::CurrentUser,
       {{RunScope::MachineWide, none}, {RunScope::CurrentUser, ours}}},
      {"administrator, folder open to others",
       true,
       {},
       {{RunScope::MachineWide, old}},
       RunEntryPlace::CurrentUser,
       {{RunScope::MachineWide, none}, {RunScope::CurrentUser, ours}},
       true},
      // Machine-wide was never possible: nothing to tell.
      {"standard user, folder open to others",
       true,
       {RunScope::MachineWide},
       {},
       RunEntryPlace::CurrentUser,
       {{RunScope::MachineWide, none}, {RunScope::CurrentUser, ours}}},
      {"refused everywhere",
       false,
       {RunScope::MachineWide, RunScope::CurrentUser},
       {},
       RunEntryPlace::Nowhere,
       {{RunScope::MachineWide, none}, {RunScope::CurrentUser, none}}},
      // Starting twice at logon is worse than keeping the value in place.
      {"standard user, machine-wide value there",
       false,
       {RunScope::MachineWide},
       {{RunScope::MachineWide, old}},
       RunEntryPlace::MachineWide,
       {{RunScope::MachineWide, old}, {RunScope::CurrentUser, none}}},
      // The machine-wide value starts it for every user, the one at the desktop too.
      {"another user's account, folder closed",
       false,
       {},
       {},
       RunEntryPlace::MachineWide,
       {{RunScope::MachineWide, ours}, {RunScope::CurrentUser, none}},
       false,
       true},
      // That account's own value would start nothing for the user.
      {"another user's account, folder open to others",
       true,
       {},
       {},
       RunEntryPlace::Nowhere,
       {{RunScope::MachineWide, none}, {RunScope::CurrentUser, none}},
       true,
       true},
  };
  for (const auto& c : cases) {
    FakeRunKey key;
    key.refused = c.refused;
    key.values = c.before;
    FakeSecurity security;
    if (!c.programOpen) {
      for (const char* path : {"C:\\", "C:\\Program Files", "C:\\Program Files\\Quillmoor"}) {
        security.lists[path] = kAdministratorsOnly;
      }
      security.lists[data] = kAdministratorsOnly;
    }
    const settings::ModuleAutoRun autoRun(key, security, "C:\\Program Files\\Quillmoor", c.anotherUser);
    const settings::RunEntryResult result = autoRun.AddRunEntry();
    EXPECT_EQ(result.place, c.place) << c.what;
    EXPECT_EQ(result.openToOthers, c.told) << c.what;
    EXPECT_EQ(result.anotherUsersProfile, c.anotherUser && c.place == RunEntryPlace::Nowhere) << c.what;
    EXPECT_EQ(key.values[RunScope::MachineWide], c.after.at(RunScope::MachineWide)) << c.what;
    EXPECT_EQ(key.values[RunScope::CurrentUser], c.after.at(RunScope::CurrentUser)) << c.what;
  }
}

TEST(ModuleAutoRunTest, RemovingClearsBothKeysAndSaysWhenOneIsLeft) {
  FakeRunKey key;
  FakeSecurity security;
  const settings::ModuleAutoRun autoRun(key, security, "D:\\工具\\Accel");
  key.values[RunScope::MachineWide]["Brevolt"] = "x";
  key.values[RunScope::CurrentUser]["Brevolt"] = "x";
  key.values[RunScope::CurrentUser]["Other"] = "y";
  EXPECT_TRUE(autoRun.RemoveRunEntry());
  EXPECT_TRUE(key.values[RunScope::MachineWide].empty());
  EXPECT_EQ(key.values[RunScope::CurrentUser].size(), 1u);
  EXPECT_TRUE(autoRun.RemoveRunEntry());  // nothing there is no failure

  key.values[RunScope::MachineWide]["Brevolt"] = "x";
  key.values[RunScope::CurrentUser]["Brevolt"] = "x";
  key.refused = {RunScope::MachineWide};
  EXPECT_FALSE(autoRun.RemoveRunEntry());
  EXPECT_EQ(key.values[RunScope::CurrentUser].count("Brevolt"), 0u);
}

TEST(ModuleAutoRunTest, AnotherUsersProfileOnlyWhenBothAreKnownAndDiffer) {
  EXPECT_TRUE(settings::ProfileOfAnotherUser("PC\\ADMIN", "PC\\LI"));
  EXPECT_FALSE(settings::ProfileOfAnotherUser("PC\\LI", "PC\\LI"));
  EXPECT_FALSE(settings::ProfileOfAnotherUser("", "PC\\LI"));
  EXPECT_FALSE(settings::ProfileOfAnotherUser("PC\\ADMIN", ""));
}

TEST(ModuleAutoRunTest, APathWithBlanksIsQuoted) {
  EXPECT_EQ(settings::RunEntryData("C:\\Program Files\\Brevolt"),
            "\"C:\\Program Files\\Brevolt\\Brevolt.exe\"");
  EXPECT_EQ(settings::RunEntryData("C:\\Tools"), "C:\\Tools\\Brevolt.exe");
  EXPECT_EQ(settings::RunEntryData("C:\\"), "C:\\\\Brevolt.exe");
}

}  // namespace
