#include "settings/option_values.h"

#include <gtest/gtest.h>

namespace {

using settings::IsOn;

TEST(OptionValuesTest, OnMeansANumberOfExactlyOne) {
  for (const char* on : {"1", "01", "1.0", "1x", "+1", "1.", "0001.000"}) EXPECT_TRUE(IsOn(on)) << on;
  for (const char* off : {"", "0", "2", "-1", "yes", "True", "0.1", ".1", "x1", "11", "1.01"}) {
    EXPECT_FALSE(IsOn(off)) << off;
  }
  EXPECT_FALSE(IsOn(std::nullopt));
  EXPECT_EQ(settings::OnOffText(true), "1");
  EXPECT_EQ(settings::OnOffText(false), "0");
}

TEST(OptionValuesTest, SpeedLevelShowsTheNormalLevelOnlyForOne) {
  EXPECT_EQ(settings::SpeedLevelItem("1"), "普通加速");
  EXPECT_EQ(settings::SpeedLevelItem("1.0"), "普通加速");
  for (const auto& stored : {std::optional<std::string>("2"), std::optional<std::string>("0"),
                             std::optional<std::string>("abc"), std::optional<std::string>()}) {
    EXPECT_EQ(settings::SpeedLevelItem(stored), "疯狂加速");
  }
  EXPECT_EQ(settings::SpeedLevelText("普通加速"), "1");
  EXPECT_EQ(settings::SpeedLevelText("疯狂加速"), "2");
  EXPECT_EQ(settings::SpeedLevelText(""), "2");
}

TEST(OptionValuesTest, RecordCountSelectsTheItemOfItsPlainNumber) {
  const std::vector<std::pair<std::optional<std::string>, int>> cases = {
      {"0100", 1}, {"100.0", 1}, {"100", 1},  {"50", 0}, {"300x", 3},        {"+200.", 2},
      {"75", -1},  {"-100", -1}, {"1e2", -1}, {"", -1},  {std::nullopt, -1}, {std::string(254, '9'), -1}};
  for (const auto& [stored, index] : cases) {
    EXPECT_EQ(settings::RecordCountSelection(stored), index) << stored.value_or("(none)");
  }
  EXPECT_EQ(settings::RecordCountItemText("100.50"), "100.5");
  EXPECT_EQ(settings::RecordCountItemText("-0"), "0");
  EXPECT_EQ(settings::RecordCountItemText(std::string(254, '9')).size(), 254u);
}

}  // namespace
