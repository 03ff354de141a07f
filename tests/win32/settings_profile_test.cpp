// The portable profile store against the platform's own functions: the same
// script of writes and reads on two files, comparing what each read returns
// (not the bytes: the platform rewrites the whole file on each write).
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "settings/module_config.h"
#include "settings/profile_store_portable.h"
#include "win32/profile_store_win32.h"
#include "win32/text.h"

namespace {

struct Step {
  enum Kind { kSet, kGet } kind;
  std::string section, key, value;
  std::optional<std::string> expected = std::nullopt;  // what both reads must return, where it matters
};

class SettingsProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir_ = Narrow(temp) + "quill-settings-" + std::to_string(GetCurrentProcessId()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryW(win32::Widen(dir_).c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* name : {"\\api.ini", "\\own.ini"}) DeleteFileW(win32::Widen(dir_ + name).c_str());
    RemoveDirectoryW(win32::Widen(dir_).c_str());
  }
  static std::string Narrow(const wchar_t* w) { return win32::Narrow(w); }

  // Runs the script on both stores; every read and every write result must agree.
  void RunOnBoth(const std::vector<Step>& script, const std::string& seed = "", bool seeded = false) {
    const std::string api = dir_ + "\\api.ini", own = dir_ + "\\own.ini";
    if (seeded) {
      for (const auto& path : {api, own})
        std::ofstream(std::filesystem::path(win32::Widen(path)), std::ios::binary) << seed;
    }
    for (const Step& step : script) {
      SCOPED_TRACE(step.section + "/" + step.key + (step.kind == Step::kSet ? " = " + step.value : ""));
      if (step.kind == Step::kSet) {
        EXPECT_EQ(apiStore_.SetString(api, step.section, step.key, step.value),
                  ownStore_.SetString(own, step.section, step.key, step.value));
      } else {
        const std::string read = apiStore_.GetString(api, step.section, step.key, kBuffer);
        EXPECT_EQ(read, ownStore_.GetString(own, step.section, step.key, kBuffer));
        if (step.expected) {
          EXPECT_EQ(read, *step.expected);
        }
      }
    }
  }

  static constexpr std::size_t kBuffer = settings::ModuleConfig::kBufferSize;
  std::string dir_;
  win32::ProfileStoreWin32 apiStore_;
  win32::SystemAnsiConverter ansi_;
  settings::PortableProfileStore ownStore_{ansi_};
};

Step Set(std::string s, std::string k, std::string v) { return {Step::kSet, s, k, v}; }
Step Get(std::string s, std::string k, std::optional<std::string> expected = std::nullopt) {
  return {Step::kGet, s, k, "", expected};
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  while (n-- > 0) out += s;
  return out;
}

TEST_F(SettingsProfileTest, ScriptFromAMissingFile) {
  ASSERT_EQ(GetACP(), 936u) << "the Wine session should give code page 936";
  std::vector<Step> script = {
      Get("Normal", "AutoRun", ""),  // no file yet
      Set("Normal", "AutoRun", "1"),     Get("normal", "AUTORUN", "1"),
      Set("NORMAL", "AutoMin", "0"),     Set("Speed", "SpeedLevel", "2"),
      Set("speed", "speedlevel", "1"),   Set("Record", "RecordCount", "  100  "),
      Set("Record", "EnableRecord", ""), Set("Record", "Long", std::string(300, 'x')),
      Set("Record", "Quoted", "\"1\""),  Set("Record", "Wide", Repeat("中", 200)),
      Set("Record", "Name", "普通加速"), Set("Record", "Edge254", std::string(254, 'e')),
      Set("Normal", "Tabs", "\t7\t"),    Set("Normal", "AutoRun", "0"),
      Set("Normal", "AutoRun", "0"),     Get("Missing", "Key", ""),
      Get("Normal", "Missing", ""),      Get("Record", "", ""),
      Get("Normal", "AutoRun", "0"),     Get("Normal", "AutoMin", "0"),
      Get("Speed", "SpeedLevel", "1"),   Get("Record", "RecordCount", "100"),
      Get("Record", "EnableRecord", ""), Get("Record", "Long", std::string(254, 'x')),
      Get("Record", "Quoted", "1"),      Get("Record", "Wide", Repeat("中", 127)),
      Get("Record", "Name", "普通加速"), Get("Record", "Edge254", std::string(254, 'e')),
      Get("Normal", "Tabs", "7"),
  };
  // Every key looked for in every section: nothing leaks into another one.
  for (const char* section : {"Normal", "Speed", "Record"}) {
    for (const char* key : {"AutoRun", "AutoMin", "SpeedLevel", "RecordCount", "Long", "Name"}) {
      script.push_back(Get(section, key));
    }
  }
  RunOnBoth(script);
}

TEST_F(SettingsProfileTest, ScriptOnAnUntidyFile) {
  const std::string seed =
      "AutoRun=9\r\n[ Normal ]\r\n  autorun =  1  \r\nAUTORUN=2\r\nAutoMin=\t01\x1A\r\n\r\n; note\r\n"
      "[Speed]\rSpeedLevel=2\r[speed]\nSpeedLevel=1\nX='q'\n[Hdr] junk\nk==1\nbare\n"
      "[Record]\r\nRecordCount=0100";
  std::vector<Step> script = {
      Get("Normal", "AutoRun", "1"),
      Get("Normal", "AutoMin", "01"),
      Get("Speed", "SpeedLevel", "2"),
      Get("Speed", "X", ""),
      Get("Hdr", "k", "=1"),
      Get("Hdr", "bare", ""),
      Get("Record", "RecordCount", "0100"),
      Get("", "AutoRun", "9"),
      Set("Normal", "EnableSpeed", "1"),
      Set("speed", "X", "3"),
      Set("Record", "RecordCount", "200"),
      Set("Record", "New", "1"),
      Set("Extra", "k", "v"),
      Set("hdr", "BARE", "b"),
  };
  for (const auto& [section, key] :
       std::vector<std::pair<std::string, std::string>>{{"Normal", "AutoRun"},
                                                        {"Normal", "AutoMin"},
                                                        {"Normal", "EnableSpeed"},
                                                        {"Speed", "SpeedLevel"},
                                                        {"Speed", "X"},
                                                        {"Record", "RecordCount"},
                                                        {"Record", "New"},
                                                        {"Extra", "k"},
                                                        {"Hdr", "k"},
                                                        {"Hdr", "bare"}}) {
    script.push_back(Get(section, key));
  }
  RunOnBoth(script, seed, true);
}

TEST_F(SettingsProfileTest, ScriptOnAUtf8File) {
  RunOnBoth({Get("Speed", "Name", "普通加速"), Set("Speed", "Other", "疯狂加速"),
             Get("Speed", "Other", "疯狂加速"), Get("Speed", "Name", "普通加速")},
            "\xEF\xBB\xBF[Speed]\r\nName=普通加速\r\n", true);
}

// The platform may hand out a broken last character when the cut falls
// inside one; the getter ends the text at the first zero byte, so both
// arrive at the whole characters only.
TEST_F(SettingsProfileTest, ModuleConfigCutsBetweenCharactersOnBoth) {
  const settings::ModuleConfig api(apiStore_, dir_), own(ownStore_, dir_ + "\\sub");
  CreateDirectoryW(win32::Widen(dir_ + "\\sub").c_str(), nullptr);
  for (const auto* config : {&api, &own}) {
    ASSERT_TRUE(config->SetConfigValue("Record", "Edge", std::string(253, 'b') + "中"));
    EXPECT_EQ(config->GetConfigValue("Record", "Edge"), std::string(253, 'b'));
    ASSERT_TRUE(config->SetAlwaysTop(" 1 "));
    EXPECT_EQ(config->GetAlwaysTop(), "1");
  }
  DeleteFileW(win32::Widen(dir_ + "\\config.ini").c_str());
  DeleteFileW(win32::Widen(dir_ + "\\sub\\config.ini").c_str());
  RemoveDirectoryW(win32::Widen(dir_ + "\\sub").c_str());
}

}  // namespace
