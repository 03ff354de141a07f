// A new control's saved set, reading saved sets, and the round trip.
#include <gtest/gtest.h>

#include "fakes.h"

namespace tabctl {
namespace {

using tabfakes::CountOf;
using tabfakes::Fixture;
using tabfakes::Log;

std::vector<std::string> Keys(const PropertyBag& bag) {
  std::vector<std::string> keys;
  for (const auto& e : bag.Entries()) keys.push_back(e.key);
  return keys;
}

TEST(SavedSet, ANewControlSavesOnlyWhatDiffersFromTheKeyDefaults) {
  Fixture f;
  PropertyBag bag;
  f.tab.WriteProperties(bag);
  // "Tab 0" is not the saved default "Tab0"; the theme-0 reset moved the
  // disabled colours off their key defaults; the active font is bold.
  EXPECT_EQ(Keys(bag),
            (std::vector<std::string>{"TabCaption(0)", "TabCaption(1)", "TabCaption(2)", "ActiveTabFont",
                                      "DisabledTabBackColor", "DisabledTabForeColor"}));
  EXPECT_EQ(bag.ReadColor("DisabledTabBackColor", 0), 0x8000000Fu);
  EXPECT_EQ(bag.ReadColor("DisabledTabForeColor", 0), 0x80000015u);
  EXPECT_EQ(bag.ReadText("TabCaption(1)", ""), "Tab 1");
}

TEST(SavedSet, KeysAreWrittenInTheirFixedOrder) {
  Fixture f;
  f.host.ambientBack = 0x00FFFFFF;
  f.tab.SetTabCount(2);
  for (int i = 0; i < 2; ++i) {
    f.tab.SetTabCaption(i, "&C" + std::to_string(i));
    f.tab.SetTabEnabled(i, false);
    f.tab.SetTabPicture(i, tabfakes::MakePicture(i + 1));
  }
  // Detection first: choosing the theme resets colours. On this system it
  // finds a visual style, so the theme is 1 at every repaint.
  f.system.BeXP();
  f.system.themeBuffer = "NormalColor";
  f.tab.SetUseThemeDetection(true);
  f.tab.SetActiveTab(1);
  f.tab.SetActiveTabBackEndColor(1);
  f.tab.SetActiveTabBackStartColor(1);
  f.tab.SetActiveTabForeColor(1);
  f.tab.SetActiveTabHeight(25);
  f.tab.SetBackColor(1);
  f.tab.SetBottomRightInnerBorderColor(1);
  f.tab.SetEnabled(false);
  f.tab.SetFocusedColor(1);
  f.tab.SetForeColor(1);
  f.tab.SetHoverColor(1);
  f.tab.SetInActiveTabBackEndColor(1);
  f.tab.SetInActiveTabBackStartColor(1);
  f.tab.SetInActiveTabFont(TabFont{"Arial", 12});
  f.tab.SetInActiveTabForeColor(1);
  f.tab.SetInActiveTabHeight(18);
  f.tab.SetOuterBorderColor(1);
  f.tab.SetPictureAlign(PictureAlignments::RightEdge);
  f.tab.SetPictureMaskColor(1);
  f.tab.SetPictureSize(PictureSizes::Large);
  f.tab.SetShowFocusRect(false);
  f.tab.SetTabStripBackColor(1);
  f.tab.SetTabStyle(TabStyles::PropertyPages);
  f.tab.SetTopLeftInnerBorderColor(1);
  f.tab.SetUseControlBox(true);
  f.tab.SetUseFocusedColor(false);
  f.tab.SetUseMaskColor(false);
  f.tab.SetUseMouseWheelScroll(false);
  f.tab.SetXRadius(1);
  f.tab.SetYRadius(1);
  f.tab.SetDisabledTabBackColor(1);
  f.tab.SetDisabledTabForeColor(1);

  PropertyBag bag;
  f.tab.WriteProperties(bag);
  EXPECT_EQ(Keys(bag), (std::vector<std::string>{"TabCount",
                                                 "TabCaption(0)",
                                                 "TabEnabled(0)",
                                                 "TabAccessKey(0)",
                                                 "TabPicture(0)",
                                                 "TabCaption(1)",
                                                 "TabEnabled(1)",
                                                 "TabAccessKey(1)",
                                                 "TabPicture(1)",
                                                 "ActiveTab",
                                                 "ActiveTabBackEndColor",
                                                 "ActiveTabBackStartColor",
                                                 "ActiveTabFont",
                                                 "ActiveTabForeColor",
                                                 "ActiveTabHeight",
                                                 "BackColor",
                                                 "BottomRightInnerBorderColor",
                                                 "DisabledTabBackColor",
                                                 "DisabledTabForeColor",
                                                 "Enabled",
                                                 "FocusedColor",
                                                 "ForeColor",
                                                 "HoverColor",
                                                 "InActiveTabBackEndColor",
                                                 "InActiveTabBackStartColor",
                                                 "InActiveTabFont",
                                                 "InActiveTabForeColor",
                                                 "InActiveTabHeight",
                                                 "OuterBorderColor",
                                                 "PictureAlign",
                                                 "PictureMaskColor",
                                                 "PictureSize",
                                                 "ShowFocusRect",
                                                 "TabStripBackColor",
                                                 "TabStyle",
                                                 "TabTheme",
                                                 "TopLeftInnerBorderColor",
                                                 "UseControlBox",
                                                 "UseFocusedColor",
                                                 "UseMaskColor",
                                                 "UseMouseWheelScroll",
                                                 "UseThemeDetection",
                                                 "XRadius",
                                                 "YRadius"}));
}

TEST(SavedSet, OnlyATabCountGivesNumberedTabsAndKeyDefaults) {
  Fixture f;
  PropertyBag bag;
  bag.Set("TabCount", std::int64_t{2});
  f.log.clear();
  const auto notes = f.tab.ReadProperties(bag);
  EXPECT_TRUE(notes.empty());
  ASSERT_EQ(f.tab.TabCount(), 2);
  EXPECT_EQ(f.tab.TabCaption(0), "Tab0");
  EXPECT_EQ(f.tab.TabCaption(1), "Tab1");
  EXPECT_TRUE(f.tab.TabEnabled(0) && f.tab.TabEnabled(1));
  EXPECT_TRUE(f.tab.TabPicture(1).IsNone());
  EXPECT_EQ(f.tab.DisabledTabBackColor(), 0x80000010u);
  EXPECT_EQ(f.tab.DisabledTabForeColor(), 0x80000014u);
  EXPECT_EQ(f.tab.ActiveTabFont(), f.host.ambientFont);  // not bold when absent
  EXPECT_EQ(f.tab.TabStripBackColor(), f.host.ambientBack);
  EXPECT_EQ(f.tab.TabTheme(), TabThemes::System);
  // Reading repaints nothing and sends no notices.
  EXPECT_EQ(CountOf(f.log, "draw"), 0u);
  for (const auto& entry : f.log) EXPECT_FALSE(entry.starts_with("changed")) << entry;
}

TEST(SavedSet, RoundTripThroughTheTextForm) {
  tabfakes::Codec codec;
  Fixture source;
  source.tab.SetTabCount(4);
  source.tab.SetTabCaption(0, "加速状态");
  source.tab.SetTabCaption(1, "系统设置(&S)");
  source.tab.SetTabCaption(2, "Tab2");  // the saved default: not stored
  source.tab.SetTabEnabled(3, false);
  source.tab.SetTabPicture(0, tabfakes::MakePicture(5));
  source.tab.SetActiveTab(3);
  source.tab.SetActiveTabHeight(25);
  source.tab.SetTabTheme(TabThemes::LightBeige);
  source.tab.SetTabStyle(TabStyles::PropertyPages);
  source.tab.SetInActiveTabFont(TabFont{"Tahoma", 8.25, false, true});
  PropertyBag saved;
  source.tab.WriteProperties(saved);
  EXPECT_FALSE(saved.Contains("TabCaption(2)"));
  const std::string text = saved.ToText(&codec);

  Fixture target;
  const auto parsed = ParsePropertyText(text, &codec);
  ASSERT_TRUE(parsed.issues.empty());
  target.log.clear();
  EXPECT_TRUE(target.tab.ReadProperties(parsed.bag).empty());
  PropertyBag again;
  target.tab.WriteProperties(again);
  EXPECT_EQ(again.ToText(&codec), text);

  EXPECT_EQ(target.tab.TabCaption(2), "Tab2");
  EXPECT_EQ(target.tab.ActiveTab(), 3);
  EXPECT_FALSE(target.tab.TabEnabled(3));
  EXPECT_EQ(tabfakes::PictureId(target.tab.TabPicture(0)), 5);
  EXPECT_EQ(target.tab.TabAccessKey(1), 'S');
  EXPECT_EQ(target.host.accessKeys, "S");
  EXPECT_EQ(target.tab.PictureMaskColor(), RgbColor(255, 0, 255));
  EXPECT_EQ(CountOf(target.log, "hooks installed"), 1u);
}

TEST(SavedSet, BaseControlValuesReachTheHost) {
  Fixture f;
  PropertyBag bag;
  bag.Set("Enabled", false);
  bag.Set("TabAccessKey(0)", std::int64_t{'Q'});
  bag.Set("TabAccessKey(2)", std::int64_t{0x4E8E});
  f.log.clear();
  f.tab.ReadProperties(bag);
  EXPECT_FALSE(f.host.windowEnabled);
  EXPECT_FALSE(f.tab.Enabled());
  // The list comes from the saved keys, not from the captions.
  EXPECT_EQ(f.host.accessKeys, "Q于");
}

TEST(SavedSet, HooksOnlyAtRunTime) {
  Fixture f;
  f.host.userMode = false;
  f.log.clear();
  f.tab.ReadProperties(PropertyBag());
  EXPECT_EQ(CountOf(f.log, "hooks installed"), 0u);
  f.host.userMode = true;
  f.tab.ReadProperties(PropertyBag());
  EXPECT_EQ(CountOf(f.log, "hooks installed"), 1u);
}

TEST(SavedSet, ImpossibleValuesReadAsTheirDefaultsAndAreNamed) {
  Fixture f;
  PropertyBag bag;
  bag.Set("TabCount", std::int64_t{0});
  bag.Set("ActiveTab", std::int64_t{7});
  bag.Set("ActiveTabHeight", std::int64_t{-5});
  bag.Set("InActiveTabHeight", std::string("tall"));
  bag.Set("TabAccessKey(1)", std::int64_t{0xD800});
  bag.Set("HoverColor", true);
  bag.Set("SomethingNew", std::int64_t{1});
  const auto notes = f.tab.ReadProperties(bag);
  EXPECT_EQ(f.tab.TabCount(), 3);
  EXPECT_EQ(f.tab.ActiveTab(), 0);
  EXPECT_EQ(f.tab.ActiveTabHeight(), 20);
  EXPECT_EQ(f.tab.InActiveTabHeight(), 22);
  EXPECT_EQ(f.tab.TabAccessKey(1), 0);
  EXPECT_EQ(f.tab.HoverColor(), 0x3BC7FFu);
  const std::vector<std::string> expected = {"HoverColor",      "InActiveTabHeight", "TabCount",
                                             "ActiveTabHeight", "TabAccessKey(1)",   "ActiveTab"};
  EXPECT_EQ(notes, expected);
}

TEST(SavedSet, PageStrideIsSetWhenReading) {
  Fixture f;
  f.host.width = 12000;
  f.tab.ReadProperties(PropertyBag());
  EXPECT_EQ(f.tab.PageStride(), 13000);
}

}  // namespace
}  // namespace tabctl
