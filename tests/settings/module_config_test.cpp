#include "settings/module_config.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
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
  Write("[normal]\r\nautorun=\r\nAutoMin=  \r\nenablespeed=  1  \r\nALWAYSTOP=\"1.0\"\r\n"
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
