#include "engine/history_log.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

struct Saving : engine::HistorySaving {
  std::vector<std::string> notices;
  Choice choice{"C:\\log", ""};
  std::optional<std::string> writeError;
  std::map<std::string, std::string> files;
  int dialogs = 0;
  std::function<void()> whileDialogOpen;

  void Notice(const std::string& text) override { notices.push_back(text); }
  Choice ChooseFile() override {
    ++dialogs;
    if (whileDialogOpen) whileDialogOpen();
    return choice;
  }
  std::optional<std::string> WriteWholeFile(const std::string& name, const std::string& text) override {
    if (!writeError) files[name] = text;
    return writeError;
  }
};

struct HistoryLogTest : ::testing::Test {
  fakes::HistoryList list;
  Saving saving;
  void AddRow(const std::string& number, const std::string& time, const std::string& title) {
    list.rows.push_back({number, time, title, "普通加速"});
  }
  void Click(std::string_view caption) { engine::HistoryToolbarClick(caption, list, saving); }
};

TEST_F(HistoryLogTest, FileTextHasTwoHeaderLinesAndOneSpacedLinePerRow) {
  AddRow(" 1", "14:03:05", "abc");
  AddRow(" 2", "14:03:09", "");
  EXPECT_EQ(engine::HistoryLogText(list),
            "Quillmoor 加速记录\r\nhttp://www.quillmoor.example/\r\n"
            " 1 14:03:05 abc \r\n"
            " 2 14:03:09  \r\n");
}

TEST_F(HistoryLogTest, SaveWritesTheTextBuiltBeforeTheDialogAndReportsSuccess) {
  AddRow(" 1", "14:03:05", "abc");
  saving.whileDialogOpen = [&] { AddRow(" 2", "14:03:06", "late"); };
  Click("保存记录");
  ASSERT_EQ(saving.files.count("C:\\log"), 1u);
  EXPECT_EQ(saving.files["C:\\log"].find("late"), std::string::npos);
  EXPECT_EQ(saving.notices, (std::vector<std::string>{"保存成功。"}));
  EXPECT_EQ(list.rows.size(), 2u);
}

TEST_F(HistoryLogTest, EmptyListShowsTheNoticeAndNoDialog) {
  Click("保存记录");
  EXPECT_EQ(saving.dialogs, 0);
  EXPECT_EQ(saving.notices, (std::vector<std::string>{"没有记录可保存。"}));
  Click("清除记录");  // clearing an empty list is silent
  EXPECT_EQ(saving.notices.size(), 1u);
}

TEST_F(HistoryLogTest, FailuresShowTheirDescriptionAndWriteNothing) {
  AddRow(" 1", "1:00:00", "x");
  saving.choice = {"", "cancelled"};
  Click("保存记录");
  saving.choice = {"C:\\missing\\log.txt", ""};
  saving.writeError = "path not found";
  Click("保存记录");
  EXPECT_EQ(saving.notices, (std::vector<std::string>{"cancelled", "path not found"}));
  EXPECT_TRUE(saving.files.empty());
  EXPECT_EQ(list.rows.size(), 1u);

  // An empty name ends quietly.
  saving.choice = {"", ""};
  Click("保存记录");
  EXPECT_EQ(saving.notices.size(), 2u);
}

TEST_F(HistoryLogTest, ClearEmptiesTheListAndOtherCaptionsDoNothing) {
  AddRow(" 1", "1:00:00", "x");
  Click("保存记录 ");
  Click("");
  EXPECT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(saving.dialogs, 0);
  Click("清除记录");
  EXPECT_TRUE(list.rows.empty());
}

}  // namespace
