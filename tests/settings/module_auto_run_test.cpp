#include "settings/module_auto_run.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct RecordingRunKey : platform::RunKey {
  std::vector<std::string> calls;
  void SetString(const std::string& name, const std::string& data) override {
    calls.push_back("set " + name + " " + data);
  }
  void DeleteValue(const std::string& name) override { calls.push_back("delete " + name); }
};

TEST(ModuleAutoRunTest, CheckingAndUncheckingWritesAndDeletesTheValue) {
  RecordingRunKey key;
  const settings::ModuleAutoRun autoRun(key, "D:\\工具\\Accel");
  autoRun.AddRunEntry();
  autoRun.RemoveRunEntry();
  autoRun.AddRunEntry();
  EXPECT_EQ(key.calls, (std::vector<std::string>{"set Brevolt D:\\工具\\Accel\\Brevolt.exe", "delete Brevolt",
                                                 "set Brevolt D:\\工具\\Accel\\Brevolt.exe"}));
}

TEST(ModuleAutoRunTest, APathWithBlanksIsQuoted) {
  EXPECT_EQ(settings::RunEntryData("C:\\Program Files\\Brevolt"), "\"C:\\Program Files\\Brevolt\\Brevolt.exe\"");
  EXPECT_EQ(settings::RunEntryData("C:\\Tools"), "C:\\Tools\\Brevolt.exe");
  EXPECT_EQ(settings::RunEntryData("C:\\"), "C:\\\\Brevolt.exe");
}

}  // namespace
