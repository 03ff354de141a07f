// The access list the installer gives the program's folder (FOLDER_ACCESS in
// packaging/installer.nsi), read as the start-at-logon rule reads lists.
// Wine keeps file security only as Unix mode bits, so the list itself is
// held here, against the rule, rather than read back from an install.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "settings/module_auto_run.h"

namespace {

using AccessList = platform::FileSecurity::AccessList;

std::string FolderAccess() {
  std::ifstream file(INSTALLER_SCRIPT);
  std::stringstream text;
  text << file.rdbuf();
  std::smatch found;
  const std::string script = text.str();
  if (!std::regex_search(script, found, std::regex(R"re(!define FOLDER_ACCESS "([^"]*)")re"))) return {};
  return found[1];
}

// The entries of an SDDL access list of plain allow and deny entries, as
// they apply to the folder and to the files made in it.
std::optional<AccessList> Parse(const std::string& sddl) {
  static const std::map<std::string, std::string> sids = {{"SY", "S-1-5-18"},     {"BA", "S-1-5-32-544"},
                                                          {"BU", "S-1-5-32-545"}, {"AU", "S-1-5-11"},
                                                          {"WD", "S-1-1-0"},      {"CO", "S-1-3-0"}};
  static const std::map<std::string, std::uint32_t> rights = {
      {"FA", 0x1F01FF}, {"FR", 0x120089}, {"FW", 0x120116}, {"FX", 0x1200A0}, {"GA", 0x10000000}};
  if (sddl.rfind("D:", 0) != 0) return std::nullopt;
  AccessList list;
  list.owner = "S-1-5-32-544";  // what an administrator's elevated install makes
  const std::regex entry(R"(\((A|D);([A-Z]*);([^;]*);;;([^)]*)\))");
  for (std::sregex_iterator it(sddl.begin(), sddl.end(), entry), end; it != end; ++it) {
    platform::AccessEntry e;
    e.allow = (*it)[1] == "A";
    e.inheritOnly = (*it)[2].str().find("IO") != std::string::npos;
    const std::string mask = (*it)[3];
    if (mask.rfind("0x", 0) == 0) {
      e.mask = static_cast<std::uint32_t>(std::stoul(mask, nullptr, 16));
    } else if (rights.count(mask)) {
      e.mask = rights.at(mask);
    } else {
      return std::nullopt;
    }
    const std::string sid = (*it)[4];
    e.sid = sids.count(sid) ? sids.at(sid) : sid;
    list.entries.push_back(e);
  }
  return list;
}

TEST(InstallerFolderTest, OnlyTheSystemAndAdministratorsMayChangeTheFolderAndItsFiles) {
  const std::string sddl = FolderAccess();
  ASSERT_FALSE(sddl.empty()) << "no FOLDER_ACCESS in " << INSTALLER_SCRIPT;
  // Not inherited from the folder above: under C:\ every user may change a
  // folder an administrator made there.
  EXPECT_EQ(sddl.rfind("D:P", 0), 0u) << sddl;
  const auto list = Parse(sddl);
  ASSERT_TRUE(list.has_value()) << sddl;
  ASSERT_FALSE(list->entries.empty());
  EXPECT_FALSE(settings::OpenToOtherUsers(list));
  EXPECT_FALSE(settings::OpenAbove(list));
  // Every entry reaches the files made in the folder, and users may read
  // and run the program.
  bool usersRun = false;
  for (const auto& e : list->entries) {
    EXPECT_FALSE(e.inheritOnly);
    if (e.allow && e.sid == "S-1-5-32-545") usersRun = (e.mask & 0x1200A9) == 0x1200A9;
  }
  EXPECT_TRUE(usersRun) << sddl;
  EXPECT_NE(sddl.find("(A;OICI;"), std::string::npos);
}

// The reading above sees what the rule would refuse.
TEST(InstallerFolderTest, TheReadingTellsAnOpenListFromAClosedOne) {
  EXPECT_TRUE(settings::OpenToOtherUsers(Parse("D:PAI(A;OICI;FA;;;SY)(A;OICI;FW;;;BU)")));
  EXPECT_TRUE(settings::OpenToOtherUsers(Parse("D:PAI(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;AU)")));
  EXPECT_FALSE(settings::OpenToOtherUsers(Parse("D:PAI(A;OICI;FA;;;BA)(A;OICI;FR;;;WD)")));
  EXPECT_FALSE(Parse("D:(A;;XY;;;BU)").has_value());
}

}  // namespace
