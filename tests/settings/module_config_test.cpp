#include "settings/module_config.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "gbk.h"
#include "settings/app_paths.h"
#include "settings/option_values.h"
#include "settings/profile_format.h"
#include "settings/profile_store_portable.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using settings::ModuleConfig;

class ModuleConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quill-settings.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string File() const { return dir_ + "/config.ini"; }
  std::string Read() const {
    std::ifstream in(File(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  void Write(const std::string& bytes) const { std::ofstream(File(), std::ios::binary) << bytes; }

  std::string dir_;
  testing_gbk::GbkConverter gbk_;
  settings::PortableProfileStore store_{gbk_};
  ModuleConfig Config() { return ModuleConfig(store_, dir_); }
};

TEST_F(ModuleConfigTest, NoFileGivesNoValueAndWritesCreateIt) {
  const ModuleConfig config = Config();
  EXPECT_EQ(config.FilePath(), dir_ + "\\config.ini");
  for (auto get : {&ModuleConfig::GetAutoRun, &ModuleConfig::GetAutoMin, &ModuleConfig::GetSpeedLevel,
                   &ModuleConfig::GetEnableRecord, &ModuleConfig::GetRecordCount,
                   &ModuleConfig::GetEnableSpeed, &ModuleConfig::GetAlwaysTop}) {
    EXPECT_EQ((config.*get)(), std::nullopt);
  }
  EXPECT_TRUE(config.SetAutoRun("1"));
  EXPECT_EQ(Read(), "[Normal]\r\nAutoRun=1\r\n");
  EXPECT_TRUE(config.SetSpeedLevel("2"));
  EXPECT_TRUE(config.SetRecordCount("100"));
  EXPECT_TRUE(config.SetAutoRun("0"));
  EXPECT_EQ(Read(), "[Normal]\r\nAutoRun=0\r\n[Speed]\r\nSpeedLevel=2\r\n[Record]\r\nRecordCount=100\r\n");
}

// Start-up applies every option through the setters: what is already
// stored must leave the file as the user wrote it.
TEST_F(ModuleConfigTest, AValueAlreadyStoredIsNotWrittenAgain) {
  const std::string ini =
      "; mine\r\n[Normal]\r\nEnableSpeed = 1\r\n[Speed]\r\nLong=" + std::string(300, 'a') + "\r\n";
  Write(ini);
  const ModuleConfig config = Config();
  EXPECT_TRUE(config.SetEnableSpeed("1"));
  EXPECT_EQ(Read(), ini);
  // Read back cut to the buffer, so it only looks the same: written.
  EXPECT_TRUE(config.SetConfigValue("Speed", "Long", std::string(254, 'a')));
  EXPECT_EQ(settings::FindProfileValue(Read(), "Speed", "Long"), std::string(254, 'a'));
  EXPECT_TRUE(config.SetEnableSpeed("0"));
  EXPECT_EQ(config.GetEnableSpeed(), "0");
}

TEST_F(ModuleConfigTest, EachOptionHasItsOwnSectionAndKey) {
  using Setter = bool (ModuleConfig::*)(std::string_view) const;
  using Getter = std::optional<std::string> (ModuleConfig::*)() const;
  const std::vector<std::tuple<Setter, Getter, std::string, std::string>> options = {
      {&ModuleConfig::SetAutoRun, &ModuleConfig::GetAutoRun, "Normal", "AutoRun"},
      {&ModuleConfig::SetAutoMin, &ModuleConfig::GetAutoMin, "Normal", "AutoMin"},
      {&ModuleConfig::SetSpeedLevel, &ModuleConfig::GetSpeedLevel, "Speed", "SpeedLevel"},
      {&ModuleConfig::SetEnableRecord, &ModuleConfig::GetEnableRecord, "Record", "EnableRecord"},
      {&ModuleConfig::SetRecordCount, &ModuleConfig::GetRecordCount, "Record", "RecordCount"},
      {&ModuleConfig::SetEnableSpeed, &ModuleConfig::GetEnableSpeed, "Normal", "EnableSpeed"},
      {&ModuleConfig::SetAlwaysTop, &ModuleConfig::GetAlwaysTop, "Normal", "AlwaysTop"}};
  const ModuleConfig config = Config();
  for (std::size_t i = 0; i < options.size(); ++i) {
    EXPECT_TRUE((config.*std::get<0>(options[i]))(std::to_string(10 + i)));
  }
  const std::string file = Read();
  for (std::size_t i = 0; i < options.size(); ++i) {
    const auto& [set, get, section, key] = options[i];
    EXPECT_EQ(settings::FindProfileValue(file, section, key), std::to_string(10 + i)) << key;
    EXPECT_EQ((config.*get)(), std::to_string(10 + i)) << key;
  }
}

TEST_F(ModuleConfigTest, StoredTextsReadAsTheProgramMeansThem) {
  Write(
      "[normal]\r\nautorun=\r\nAutoMin=  \r\nenablespeed=  1  \r\nALWAYSTOP=\"1.0\"\r\n"
      "[RECORD]\r\nrecordcount=0100\r\nEnableRecord=-1\r\n[Speed]\r\nSpeedLevel=abc\r\n");
  const ModuleConfig config = Config();
  EXPECT_EQ(config.GetAutoRun(), std::nullopt);
  EXPECT_EQ(config.GetAutoMin(), std::nullopt);
  EXPECT_EQ(config.GetEnableSpeed(), "1");
  EXPECT_TRUE(settings::IsOn(config.GetEnableSpeed()));
  EXPECT_TRUE(settings::IsOn(config.GetAlwaysTop()));
  EXPECT_FALSE(settings::IsOn(config.GetEnableRecord()));
  EXPECT_EQ(settings::SpeedLevelItem(config.GetSpeedLevel()), "疯狂加速");
  EXPECT_EQ(settings::RecordCountSelection(config.GetRecordCount()), 1);
}

TEST_F(ModuleConfigTest, ValuesAreCutTo254AnsiBytesBetweenCharacters) {
  const ModuleConfig config = Config();
  std::string chinese;
  for (int i = 0; i < 200; ++i) chinese += "中";
  ASSERT_TRUE(config.SetConfigValue("Speed", "Long", std::string(300, 'a')));
  ASSERT_TRUE(config.SetConfigValue("Speed", "Wide", chinese));
  ASSERT_TRUE(config.SetConfigValue("Speed", "Edge", std::string(253, 'b') + "中"));
  ASSERT_TRUE(config.SetConfigValue("Speed", "Name", "普通加速"));
  EXPECT_EQ(config.GetConfigValue("Speed", "Long"), std::string(254, 'a'));
  EXPECT_EQ(config.GetConfigValue("Speed", "Wide"), chinese.substr(0, 127 * 3));
  EXPECT_EQ(config.GetConfigValue("Speed", "Edge"), std::string(253, 'b'));
  EXPECT_EQ(config.GetConfigValue("Speed", "Name"), "普通加速");
  // The file holds the ANSI (GBK) bytes, no byte-order mark.
  EXPECT_NE(Read().find("Name=\xC6\xD5\xCD\xA8\xBC\xD3\xCB\xD9\r\n"), std::string::npos);
  EXPECT_EQ(Read().substr(0, 7), "[Speed]");
}

TEST_F(ModuleConfigTest, FailedWritesLeaveTheFileAsItWas) {
  const std::string original = "[Normal]\r\nAutoRun=1\r\n" + std::string(100000, 'x') + "\0\xFF"s + "tail";
  Write(original);
  const ModuleConfig config = Config();
  EXPECT_FALSE(config.SetAutoRun("0\r\n[Evil]\r\nx=1"));
  EXPECT_FALSE(config.SetConfigValue("Normal", "a=b", "1"));
  EXPECT_EQ(Read(), original);
  // Marked read-only: left alone, also by a user the system lets write it.
  fs::permissions(File(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(config.SetAutoRun("0"));
  EXPECT_EQ(Read(), original);
  fs::permissions(File(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_FALSE(ModuleConfig(store_, dir_ + "/missing").SetAutoRun("1"));
  EXPECT_FALSE(ModuleConfig(store_, File()).SetAutoRun("1"));  // a file where the folder should be
  fs::remove(File());
  fs::create_directory(File());
  EXPECT_FALSE(config.SetAutoRun("1"));
  EXPECT_EQ(config.GetAutoRun(), std::nullopt);
  fs::remove(File());
  // A link is written through, not replaced by a file.
  Write("");
  fs::rename(File(), dir_ + "/real.ini");
  fs::create_symlink(dir_ + "/real.ini", File());
  EXPECT_TRUE(config.SetAutoRun("1"));
  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_EQ(config.GetAutoRun(), "1");
}

TEST_F(ModuleConfigTest, Utf8FileStaysUtf8) {
  Write("\xEF\xBB\xBF[Speed]\r\n");
  const ModuleConfig config = Config();
  EXPECT_TRUE(config.SetConfigValue("Speed", "Name", "普通加速"));
  EXPECT_EQ(Read(), "\xEF\xBB\xBF[Speed]\r\nName=普通加速\r\n");
  EXPECT_EQ(config.GetConfigValue("speed", "name"), "普通加速");
}

// Windows' profile functions take a UTF-8 mark for part of the first line:
// such a file goes to the program's own reader, which finds the first
// section and writes into it, keeping every line. Plain files still go to
// the platform.
TEST_F(ModuleConfigTest, Utf8MarkedFileGoesPastThePlatformAndKeepsEveryLine) {
  struct CountingStore : platform::ProfileStore {
    platform::ProfileStore& real;
    int calls = 0;
    explicit CountingStore(platform::ProfileStore& store) : real(store) {}
    std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                          std::size_t bytes) override {
      ++calls;
      return real.GetString(path, section, key, bytes);
    }
    bool SetString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override {
      ++calls;
      return real.SetString(path, section, key, value);
    }
  } platform{store_};
  settings::Utf8MarkRouting routing(platform, store_);
  const std::string lines = "[Speed]\r\nSpeedLevel=1\r\n; 记事本\r\n[Normal]\r\nEnableSpeed = 1\r\n";
  Write("\xEF\xBB\xBF" + lines);
  const ModuleConfig config(routing, dir_);
  EXPECT_EQ(config.GetSpeedLevel(), "1");
  EXPECT_TRUE(config.SetSpeedLevel("1"));
  EXPECT_TRUE(config.SetAlwaysTop("1"));
  EXPECT_EQ(Read(), "\xEF\xBB\xBF" + lines + "AlwaysTop=1\r\n");
  EXPECT_EQ(platform.calls, 0);

  Write(lines);
  EXPECT_EQ(config.GetSpeedLevel(), "1");
  EXPECT_EQ(platform.calls, 1);
  // A file too short for a mark, and none at all.
  Write("\xEF\xBB");
  EXPECT_EQ(config.GetSpeedLevel(), std::nullopt);
  fs::remove(File());
  EXPECT_EQ(config.GetSpeedLevel(), std::nullopt);
  EXPECT_EQ(platform.calls, 3);

  // Remembered (start-up's reads in a row), a file's mark is looked for
  // once per file; forgotten, at the next call again.
  Write(lines);
  routing.RememberMarks(true);
  EXPECT_EQ(config.GetSpeedLevel(), "1");
  Write("\xEF\xBB\xBF" + lines);
  EXPECT_EQ(config.GetSpeedLevel(), "1");
  EXPECT_EQ(platform.calls, 5);
  const std::string other = dir_ + "/other.ini";
  std::ofstream(other, std::ios::binary) << "\xEF\xBB\xBF[Speed]\r\nSpeedLevel=0\r\n";
  EXPECT_EQ(routing.GetString(other, "Speed", "SpeedLevel", 255), "0");
  EXPECT_EQ(platform.calls, 5);
  routing.RememberMarks(false);
  EXPECT_EQ(config.GetSpeedLevel(), "1");
  EXPECT_EQ(platform.calls, 5);
}

// The store and the file system of a user who may not write some files.
struct RefusingStore : platform::ProfileStore {
  platform::ProfileStore& real;
  std::set<std::string> refused;  // paths, as the program builds them
  explicit RefusingStore(platform::ProfileStore& store) : real(store) {}
  std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t bytes) override {
    return real.GetString(path, section, key, bytes);
  }
  bool SetString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) override {
    return !refused.count(path) && real.SetString(path, section, key, value);
  }
};

struct RefusingFiles : platform::SettingsFiles {
  RefusingStore& store;
  std::string perUser;
  explicit RefusingFiles(RefusingStore& s, std::string perUserPath)
      : store(s), perUser(std::move(perUserPath)) {}
  static fs::path Host(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
  }
  bool CanWrite(const std::string& path) override { return !store.refused.count(path); }
  bool Exists(const std::string& path) override { return fs::is_regular_file(Host(path)); }
  std::string PerUserSettingsPath() override { return perUser; }
  bool ReplaceWithCopy(const std::string& from, const std::string& to) override {
    fs::create_directories(Host(to).parent_path());
    fs::remove(Host(to));
    if (!Exists(from)) return true;
    return fs::copy_file(Host(from), Host(to));
  }
};

TEST_F(ModuleConfigTest, SettingsMoveToThePerUserFileWhenTheirOwnCannotBeWritten) {
  Write("[Normal]\r\nAutoMin=1\r\n");
  const std::string beside = dir_ + "\\config.ini";
  const std::string perUser = dir_ + "\\user\\Quillmoor\\config.ini";
  RefusingStore store(store_);
  RefusingFiles files(store, perUser);
  std::vector<std::string> told;
  const auto tell = [&](const std::string& text) { told.push_back(text); };
  store.refused = {beside};

  const ModuleConfig first(store, dir_, files, tell);
  EXPECT_EQ(first.FilePath(), beside);  // nothing moved before a write fails
  EXPECT_EQ(first.GetAutoMin(), "1");
  EXPECT_TRUE(first.SetAlwaysTop("1"));
  EXPECT_TRUE(first.SetEnableSpeed("1"));
  EXPECT_EQ(told, std::vector<std::string>{std::string(settings::kSettingsMovedNotice) + perUser});
  EXPECT_EQ(first.FilePath(), perUser);
  EXPECT_EQ(Read(), "[Normal]\r\nAutoMin=1\r\n");  // left as it was
  EXPECT_EQ(first.GetAutoMin(), "1");              // came along

  // The next start reads the per-user file while its own stays unwritable,
  // and its own again once it can be written.
  const ModuleConfig second(store, dir_, files, tell);
  EXPECT_EQ(second.FilePath(), perUser);
  EXPECT_EQ(second.GetAlwaysTop(), "1");
  store.refused.clear();
  EXPECT_EQ(ModuleConfig(store, dir_, files, tell).GetAlwaysTop(), std::nullopt);

  // Nowhere to write: the user hears it once, not at every change.
  told.clear();
  store.refused = {beside, perUser};
  fs::remove_all(dir_ + "/user");
  const ModuleConfig nowhere(store, dir_, files, tell);
  EXPECT_FALSE(nowhere.SetAlwaysTop("0"));
  EXPECT_FALSE(nowhere.SetAutoMin("0"));
  EXPECT_EQ(told, std::vector<std::string>{std::string(settings::kSettingsNotSavedNotice)});

  // Run as another user, the per-user file is that account's: said with it.
  told.clear();
  store.refused = {beside};
  fs::remove_all(dir_ + "/user");
  ModuleConfig other(store, dir_, files, tell);
  other.SetProfileOfAnotherUser(true);
  EXPECT_TRUE(other.SetAlwaysTop("1"));
  EXPECT_EQ(told, std::vector<std::string>{std::string(settings::kSettingsMovedNotice) + perUser +
                                           std::string(settings::kSettingsOtherAccountNote)});
}

TEST(AppPathsTest, DirectoryAndFilePathsTheWindowsWay) {
  EXPECT_EQ(settings::ApplicationDirectoryOf("C:\\Program Files\\Brevolt\\Brevolt.exe"),
            "C:\\Program Files\\Brevolt");
  EXPECT_EQ(settings::ApplicationDirectoryOf("C:\\Brevolt.exe"), "C:\\");
  EXPECT_EQ(settings::ApplicationDirectoryOf("\\\\server\\share\\b.exe"), "\\\\server\\share");
  EXPECT_EQ(settings::ApplicationDirectoryOf("/opt/b"), "/opt");
  EXPECT_EQ(settings::ApplicationDirectoryOf("/b"), "/");
  EXPECT_EQ(settings::AppFilePath("C:\\", "config.ini"), "C:\\\\config.ini");
  EXPECT_EQ(settings::AppFilePath("D:\\工具", "config.ini"), "D:\\工具\\config.ini");
}

}  // namespace
