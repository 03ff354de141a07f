// The property set and its text form.
#include "tabctl/property_bag.h"

#include <gtest/gtest.h>

#include <random>

#include "fakes.h"

namespace tabctl {
namespace {

TEST(PropertyBag, ADefaultValueIsNotStored) {
  PropertyBag bag;
  bag.WriteInt("TabCount", 3, 3);
  bag.WriteText("TabCaption(0)", "Tab0", "Tab0");
  bag.WriteBool("ShowFocusRect", true, true);
  bag.WritePicture("TabPicture(0)", Picture());
  EXPECT_TRUE(bag.Entries().empty());
  bag.WriteInt("TabCount", 4, 3);
  EXPECT_EQ(bag.ReadInt("TabCount", 3), 4);
  bag.WriteInt("TabCount", 3, 3);  // back to the default: no longer stored
  EXPECT_FALSE(bag.Contains("TabCount"));
}

TEST(PropertyBag, ReadsFallBackOnMissingOrMisfittingValues) {
  PropertyBag bag;
  bag.Set("TabCount", std::string("four"));
  bag.Set("ShowFocusRect", std::int64_t{1});
  bag.Set("XRadius", std::int64_t{1} << 40);
  bag.Set("OuterBorderColor", std::int64_t{-2147483627});  // the signed form of 0x80000015
  EXPECT_EQ(bag.ReadInt("TabCount", 3), 3);
  EXPECT_TRUE(bag.ReadBool("ShowFocusRect", true));
  EXPECT_EQ(bag.ReadInt("XRadius", 10), 10);
  EXPECT_EQ(bag.ReadColor("OuterBorderColor", 0), 0x80000015u);
  EXPECT_EQ(bag.ReadText("Missing", "fallback"), "fallback");
  EXPECT_EQ(bag.Misfits(), (std::vector<std::string>{"TabCount", "ShowFocusRect", "XRadius"}));
  EXPECT_EQ(bag.ReadInt("tabcount", 3), 3);  // keys ignore case
  EXPECT_TRUE(bag.Contains("TABCOUNT"));
}

TEST(PropertyText, EveryKindOfValueSurvivesTheTextForm) {
  tabfakes::Codec codec;
  PropertyBag bag;
  bag.WriteInt("TabCount", 4, 3);
  bag.WriteText("TabCaption(0)", "加速状态", "Tab0");
  bag.WriteText("TabCaption(1)", "quote \" back\\slash\nnew\tline\x01 & # =", "Tab1");
  bag.WriteText("TabCaption(2)", "", "Tab2");
  bag.WriteInt("ActiveTab", -7, 0);
  bag.WriteColor("ActiveTabBackEndColor", 0x80000010, 0x8000000F);
  bag.WriteColor("ForeColor", 0x00000001, 0);
  bag.WriteBool("ShowFocusRect", false, true);
  bag.WriteFont("ActiveTabFont", TabFont{"宋体", 10.5, true, true, true, true, 134}, TabFont{});
  bag.WriteFont("InActiveTabFont", TabFont{"Tahoma", 8.25}, TabFont{});
  bag.WritePicture("TabPicture(3)", tabfakes::MakePicture(42));

  const std::string text = bag.ToText(&codec);
  const ParsedPropertyBag parsed = ParsePropertyText(text, &codec);
  EXPECT_TRUE(parsed.issues.empty());
  EXPECT_EQ(parsed.bag.ToText(&codec), text);
  EXPECT_EQ(parsed.bag.ReadText("TabCaption(1)", ""), "quote \" back\\slash\nnew\tline\x01 & # =");
  EXPECT_EQ(parsed.bag.ReadText("TabCaption(2)", "Tab2"), "");
  EXPECT_EQ(parsed.bag.ReadInt("ActiveTab", 0), -7);
  EXPECT_EQ(parsed.bag.ReadColor("ActiveTabBackEndColor", 0), 0x80000010u);
  EXPECT_EQ(parsed.bag.ReadFont("ActiveTabFont", TabFont{}),
            (TabFont{"宋体", 10.5, true, true, true, true, 134}));
  EXPECT_EQ(tabfakes::PictureId(parsed.bag.ReadPicture("TabPicture(3)")), 42);
  // One line per property; colours in hex.
  EXPECT_NE(text.find("ActiveTabBackEndColor = 0x80000010\n"), std::string::npos);
  EXPECT_NE(text.find("TabCaption(0) = \"加速状态\"\n"), std::string::npos);
}

TEST(PropertyText, BadLinesAreLeftOutAndReported) {
  const std::string text =
      "\xEF\xBB\xBF# saved by hand\r\n"
      "TabCount = 2\r\n"
      "\n"
      "ActiveTab = two\n"                      // 4: not a value
      "TabCaption(0) = \"unterminated\n"       // 5
      "TabCaption(1) = \"bad \\q escape\"\n"   // 6
      "XRadius = 12 13\n"                      // 7: text after the value
      "no equals sign here\n"                  // 8
      " = 5\n"                                 // 9: no key
      "ActiveTabFont = font(\"Arial\", -3)\n"  // 10: no such size
      "TabPicture(0) = picture(\"pic:1\")\n"   // 11: no codec
      "FutureProperty = 17\n"                  // unknown keys are kept
      "YRadius = 4\n"
      "YRadius = 5\n";  // 14: given again
  const ParsedPropertyBag parsed = ParsePropertyText(text);
  std::vector<int> lines;
  for (const auto& issue : parsed.issues) {
    lines.push_back(issue.line);
    EXPECT_FALSE(issue.message.empty());
  }
  EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 14}));
  EXPECT_EQ(parsed.bag.ReadInt("TabCount", 3), 2);
  EXPECT_EQ(parsed.bag.ReadInt("YRadius", 10), 5);
  EXPECT_EQ(parsed.bag.ReadInt("FutureProperty", 0), 17);
  EXPECT_FALSE(parsed.bag.Contains("ActiveTab"));
  EXPECT_FALSE(parsed.bag.Contains("XRadius"));
}

TEST(PropertyText, NumbersOutsideTheirRangeAreRejected) {
  const auto parsed = ParsePropertyText(
      "A = 0x100000000\n"
      "B = 99999999999999999999\n"
      "C = 0xFFFFFFFF\n"
      "D = 12.5\n");
  EXPECT_EQ(parsed.issues.size(), 3u);
  EXPECT_EQ(parsed.bag.ReadColor("C", 0), 0xFFFFFFFFu);
  EXPECT_EQ(parsed.bag.ReadInt("C", 1), 1);  // too large for a number property
}

// Damaged texts never stop a control from reading its set.
TEST(PropertyText, DamagedTextsReadIntoAWorkingControl) {
  tabfakes::Fixture source;
  source.tab.SetTabCount(5);
  source.tab.SetTabCaption(1, "&Settings \"quoted\"");
  source.tab.SetActiveTab(4);
  source.tab.SetActiveTabFont(TabFont{"Arial", 9, true});
  PropertyBag bag;
  source.tab.WriteProperties(bag);
  const std::string original = bag.ToText();

  std::mt19937 random(20240607);
  for (int round = 0; round < 2000; ++round) {
    std::string text = original;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % (text.size() + 1);
      switch (random() % 3) {
        case 0:
          if (at < text.size()) text.erase(at, 1 + random() % 4);
          break;
        case 1:
          text.insert(at, 1, static_cast<char>(random() % 256));
          break;
        default:
          if (at < text.size()) text[at] = "=\"\\(),\n0x-9#"[random() % 12];
      }
    }
    const ParsedPropertyBag parsed = ParsePropertyText(text);
    tabfakes::Fixture target;
    target.tab.ReadProperties(parsed.bag);
    ASSERT_GE(target.tab.TabCount(), 1) << text;
    ASSERT_LE(target.tab.TabCount(), ucPageTab::kMaxTabCount);
    ASSERT_EQ(target.tab.AryTabs().size(), static_cast<std::size_t>(target.tab.TabCount()));
    ASSERT_GE(target.tab.ActiveTab(), 0);
    ASSERT_LT(target.tab.ActiveTab(), target.tab.TabCount());
    ASSERT_GE(target.tab.ActiveTabHeight(), 0);
  }
}

}  // namespace
}  // namespace tabctl
