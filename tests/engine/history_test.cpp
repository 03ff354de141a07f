#include "engine/history.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

using engine::RecordHistoryEntry;

struct HistoryTest : ::testing::Test {
  fakes::HistoryList list;
  fakes::Clock clock;
  void Record(int times, const std::string& speed = "普通加速") {
    for (int i = 0; i < times; ++i) RecordHistoryEntry(list, clock, "t" + std::to_string(i), speed);
  }
};

TEST_F(HistoryTest, RowHoldsNumberTimeTitleLevelAndIcon) {
  clock.now = "9:01:02";
  RecordHistoryEntry(list, clock, "记事本", "普通加速");
  RecordHistoryEntry(list, clock, "", "疯狂加速");
  ASSERT_EQ(list.rows.size(), 2u);
  EXPECT_EQ(list.rows[0], (engine::HistoryEntry{" 1", "9:01:02", "记事本", "普通加速"}));
  EXPECT_EQ(list.rows[1], (engine::HistoryEntry{" 2", "9:01:02", "", "疯狂加速"}));
  EXPECT_EQ(list.icons, (std::vector<int>{1, 1}));
}

TEST_F(HistoryTest, AnyLevelButTheNormalOneIsRecordedAsCrazy) {
  EXPECT_EQ(engine::LevelText("普通加速"), "普通加速");
  EXPECT_EQ(engine::LevelText("疯狂加速"), "疯狂加速");
  EXPECT_EQ(engine::LevelText(""), "疯狂加速");
  EXPECT_EQ(engine::LevelText("普通加速 "), "疯狂加速");
}

TEST_F(HistoryTest, ClearsOnlyWhenRowsExceedTheThreshold) {
  Record(51);
  EXPECT_EQ(list.rows.size(), 51u);  // 50 rows stay and grow to 51
  EXPECT_EQ(list.rows.back().number, " 51");
  Record(1);
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.rows[0].number, " 1");
}

TEST_F(HistoryTest, NoSelectionKeepsOnlyTheNewestRow) {
  list.autoClean = "";
  Record(3);
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.rows[0].number, " 1");
  EXPECT_EQ(list.rows[0].title, "t2");
}

TEST_F(HistoryTest, LowerThresholdActsAtTheNextEntry) {
  list.autoClean = "300";
  Record(120);
  list.autoClean = "100";
  EXPECT_EQ(list.rows.size(), 120u);
  Record(1);
  EXPECT_EQ(list.rows.size(), 1u);
}

TEST_F(HistoryTest, ThresholdIsTheLeadingNumberOfTheText) {
  EXPECT_EQ(engine::AutoCleanThreshold("200"), 200);
  EXPECT_EQ(engine::AutoCleanThreshold(""), 0);
  EXPECT_EQ(engine::AutoCleanThreshold("abc"), 0);
  EXPECT_EQ(engine::AutoCleanThreshold("50 rows"), 50);
  EXPECT_EQ(engine::AutoCleanThreshold("2.5"), 2.5);
}

TEST_F(HistoryTest, FailedAppendLeavesThePreviousRowAlone) {
  list.autoClean = "300";
  clock.now = "8:00:00";
  RecordHistoryEntry(list, clock, "记事本", "普通加速");
  list.failAppend = true;
  clock.now = "9:00:00";
  RecordHistoryEntry(list, clock, "画图", "疯狂加速");
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.rows[0], (engine::HistoryEntry{" 1", "8:00:00", "记事本", "普通加速"}));
  EXPECT_EQ(list.icons, (std::vector<int>{1}));
}

}  // namespace
