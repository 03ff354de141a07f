#include "tabctl/themes.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace tabctl {
namespace {

using tabfakes::Fixture;

// Gives every colour a value no theme uses, so that "unchanged" shows.
void PaintEverything(ucPageTab& tab, Color c) {
  tab.SetActiveTabBackStartColor(c);
  tab.SetActiveTabBackEndColor(c);
  tab.SetActiveTabForeColor(c);
  tab.SetInActiveTabBackStartColor(c);
  tab.SetInActiveTabBackEndColor(c);
  tab.SetInActiveTabForeColor(c);
  tab.SetTabStripBackColor(c);
  tab.SetDisabledTabBackColor(c);
  tab.SetDisabledTabForeColor(c);
  tab.SetOuterBorderColor(c);
  tab.SetTopLeftInnerBorderColor(c);
  tab.SetBottomRightInnerBorderColor(c);
  tab.SetHoverColor(c);
  tab.SetFocusedColor(c);
}

constexpr Color kMark = 0x00010203;

TEST(Themes, Theme3KeepsTheEndColoursAndInnerBorders) {
  Fixture f;
  PaintEverything(f.tab, kMark);
  f.tab.SetTabTheme(TabThemes::FlatGrey);
  EXPECT_EQ(f.tab.ActiveTabBackEndColor(), kMark);
  EXPECT_EQ(f.tab.InActiveTabBackEndColor(), kMark);
  EXPECT_EQ(f.tab.TopLeftInnerBorderColor(), kMark);
  EXPECT_EQ(f.tab.BottomRightInnerBorderColor(), kMark);
  EXPECT_EQ(f.tab.HoverColor(), kMark);
  EXPECT_EQ(f.tab.ActiveTabBackStartColor(), RgbColor(248, 248, 248));
  EXPECT_EQ(f.tab.ActiveTabForeColor(), RgbColor(80, 109, 167));
  EXPECT_EQ(f.tab.InActiveTabForeColor(), RgbColor(144, 144, 144));
  EXPECT_EQ(f.tab.TabStripBackColor(), 0x8000000Fu);
  EXPECT_EQ(f.tab.DisabledTabForeColor(), 0x80000015u);
}

TEST(Themes, StripColourChangesOnlyInThemes2And3) {
  for (int theme = 0; theme <= 4; ++theme) {
    Fixture f;
    PaintEverything(f.tab, kMark);
    f.tab.SetTabTheme(static_cast<TabThemes>(theme));
    const bool changes = theme == 2 || theme == 3;
    EXPECT_EQ(f.tab.TabStripBackColor() != kMark, changes) << "theme " << theme;
  }
  Fixture f;
  f.tab.SetTabTheme(TabThemes::System3DLight);
  EXPECT_EQ(f.tab.TabStripBackColor(), 0x80000016u);
  EXPECT_EQ(f.tab.InActiveTabForeColor(), 0x80000011u);
  EXPECT_EQ(f.tab.OuterBorderColor(), 0x80000014u);
}

TEST(Themes, Theme1IsTheLightLookWithItsHighlightColours) {
  Fixture f;
  PaintEverything(f.tab, kMark);
  f.tab.SetTabTheme(TabThemes::LightVisual);
  EXPECT_EQ(f.tab.InActiveTabBackEndColor(), RgbColor(240, 240, 234));
  EXPECT_EQ(f.tab.OuterBorderColor(), RgbColor(145, 156, 155));
  EXPECT_EQ(f.tab.HoverColor(), RgbColor(255, 199, 59));
  EXPECT_EQ(f.tab.FocusedColor(), RgbColor(105, 130, 238));
  EXPECT_EQ(f.tab.TopLeftInnerBorderColor(), kMark);
  EXPECT_EQ(f.tab.BottomRightInnerBorderColor(), kMark);
}

TEST(Themes, Theme4DerivesHighlightsFromTheCaptionColourAndResetsPictureOptions) {
  Fixture f;
  f.system.colors.Set(kColorInactiveCaption, RgbColor(0, 84, 227));
  f.tab.SetPictureSize(PictureSizes::Large);
  f.tab.SetUseMaskColor(false);
  f.tab.SetUseFocusedColor(false);
  f.tab.SetUseThemeDetection(true);
  f.tab.SetTabTheme(TabThemes::LightBeige);
  EXPECT_EQ(f.tab.FocusedColor(), RgbColor(0, 68, 211));
  EXPECT_EQ(f.tab.HoverColor(), RgbColor(16, 100, 243));
  EXPECT_EQ(f.tab.ActiveTabBackStartColor(), RgbColor(251, 248, 231));
  EXPECT_EQ(f.tab.InActiveTabBackEndColor(), RgbColor(223, 220, 203));
  EXPECT_EQ(f.tab.OuterBorderColor(), RgbColor(188, 185, 168));
  EXPECT_EQ(f.tab.PictureMaskColor(), RgbColor(255, 0, 255));
  EXPECT_EQ(f.tab.PictureSize(), PictureSizes::Small);
  EXPECT_TRUE(f.tab.UseMaskColor());
  EXPECT_TRUE(f.tab.UseFocusedColor());
  EXPECT_FALSE(f.tab.UseThemeDetection());
}

TEST(Themes, AThemeOutsideTheRangeChangesNothing) {
  Fixture f;
  PaintEverything(f.tab, kMark);
  PropertyBag before;
  f.tab.WriteProperties(before);
  f.tab.SetTabTheme(static_cast<TabThemes>(7));
  f.tab.ResetColorsToDefault();
  PropertyBag after;
  f.tab.WriteProperties(after);
  after.Remove("TabTheme");
  EXPECT_EQ(before.ToText(), after.ToText());
}

TEST(Themes, ResettingDoesNotRepaintButResetAllColorsDoes) {
  Fixture f;
  f.tab.ResetColorsToDefault();
  EXPECT_EQ(tabfakes::CountOf(f.log, "draw"), 0u);
  EXPECT_EQ(f.log, (tabfakes::Log{"image off"}));
  f.log.clear();
  f.tab.ResetAllColors();
  EXPECT_EQ(tabfakes::CountOf(f.log, "draw"), 1u);
  EXPECT_FALSE(f.tab.Busy());
}

TEST(ThemeDetection, OnlyWindowsXPCounts) {
  EXPECT_TRUE(IsWinXPVersion(OsVersionInfo{2, 5, 1, 2600}));
  EXPECT_TRUE(IsWinXPVersion(OsVersionInfo{2, 5, 1, 3000}));
  EXPECT_FALSE(IsWinXPVersion(OsVersionInfo{2, 5, 1, 2599}));
  EXPECT_FALSE(IsWinXPVersion(OsVersionInfo{2, 6, 0, 6000}));
  EXPECT_FALSE(IsWinXPVersion(OsVersionInfo{2, 5, 2, 3790}));
  EXPECT_FALSE(IsWinXPVersion(OsVersionInfo{1, 5, 1, 2600}));
  EXPECT_FALSE(IsWinXPVersion(std::nullopt));
}

TEST(ThemeDetection, ThemeInfoTrimsTheSchemeBuffer) {
  using namespace std::string_literals;
  EXPECT_EQ(ThemeInfoFrom(false, "NormalColor"s), "None");
  EXPECT_EQ(ThemeInfoFrom(true, std::nullopt), "UxTheme_Error");
  EXPECT_EQ(ThemeInfoFrom(true, "NormalColor\0\0\0\0"s), "NormalColor");
  EXPECT_EQ(ThemeInfoFrom(true, "Metallic\0    "s), "Metallic");
  EXPECT_EQ(ThemeInfoFrom(true, "\0\0\0"s), "None");
  EXPECT_EQ(ThemeInfoFrom(true, ""s), "None");
  EXPECT_EQ(ThemeInfoFrom(true, "HomeStead"s), "HomeStead");
}

TEST(ThemeDetection, SwitchingItOnPicksTheThemeFromTheVersion) {
  Fixture f;  // a version 10 system
  f.tab.SetTabTheme(TabThemes::FlatGrey);
  f.log.clear();
  f.tab.SetUseThemeDetection(true);
  EXPECT_EQ(f.tab.TabTheme(), TabThemes::System);
  EXPECT_EQ(f.tab.ActiveTabForeColor(), 0x80000012u);  // theme 0 colours
  EXPECT_EQ(f.log.back(), "changed UseUseThemeDetection");

  Fixture xp;
  xp.system.BeXP();
  xp.system.themeBuffer = std::string("NormalColor\0\0", 13);
  xp.tab.SetUseThemeDetection(true);
  EXPECT_EQ(xp.tab.TabTheme(), TabThemes::LightVisual);
  EXPECT_EQ(xp.tab.OuterBorderColor(), RgbColor(145, 156, 155));

  // Off again: the theme stays.
  xp.tab.SetUseThemeDetection(false);
  EXPECT_EQ(xp.tab.TabTheme(), TabThemes::LightVisual);
}

TEST(ThemeDetection, EachRepaintRereadsTheStyleWithoutResettingColours) {
  Fixture f;
  f.system.BeXP();
  f.system.themeBuffer = std::string("NormalColor\0", 12);
  f.tab.SetUseThemeDetection(true);
  ASSERT_EQ(f.tab.TabTheme(), TabThemes::LightVisual);
  f.tab.SetOuterBorderColor(kMark);

  f.system.themeBuffer = std::string(255, '\0');  // classic look chosen
  f.log.clear();
  f.tab.Refresh();
  EXPECT_EQ(f.tab.TabTheme(), TabThemes::System);
  EXPECT_EQ(f.tab.OuterBorderColor(), kMark);
  EXPECT_EQ(tabfakes::CountOf(f.log, "changed TabTheme"), 0u);

  f.system.themeBuffer.reset();  // the style query fails: still a style name
  f.tab.Refresh();
  EXPECT_EQ(f.tab.TabTheme(), TabThemes::LightVisual);
}

TEST(FileOpenDialog, FilterPairsBecomeNulSeparated) {
  using namespace std::string_literals;
  EXPECT_EQ(BuildOpenFileFilter(""), "All Files (*.*)\0*.*\0\0"s);
  EXPECT_EQ(BuildOpenFileFilter("Text (*.txt)|*.txt|All|*.*"), "Text (*.txt)\0*.txt\0All\0*.*\0\0"s);
  EXPECT_EQ(BuildOpenFileFilter("Logs|*.log|"), "Logs\0*.log\0\0"s);
}

TEST(FileOpenDialog, ShowsTitledDialogAndTurnsFailureIntoCancel) {
  using namespace std::string_literals;
  Fixture f;
  EXPECT_EQ(f.tab.ShowFileOpenDialog(0, "C:\\", ""), "C:\\chosen.txt");
  ASSERT_EQ(f.system.dialogCalls.size(), 1u);
  EXPECT_EQ(f.system.dialogCalls[0], "Open File|C:\\|All Files (*.*)\0*.*\0\0"s);
  f.system.dialogFails = true;
  EXPECT_EQ(f.tab.ShowFileOpenDialog(0, "C:\\", ""), "");
}

}  // namespace
}  // namespace tabctl
