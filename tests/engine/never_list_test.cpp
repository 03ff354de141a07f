#include "engine/never_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/priority.h"

namespace {

using engine::MatchesRule;
using engine::NeverList;
using engine::RuleEntry;
using engine::RuleKind;
using engine::RuleOrigin;

std::string Repeat(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(NeverListTest, RulesMatchByNameOrPathWithWildcardsAndAsciiCase) {
  const std::string as = Repeat("a", 300);
  const struct {
    std::string rule, path;
    bool match;
  } cases[] = {
      // A name is matched against the file name only, as a whole.
      {"game.exe", R"(C:\Games\game.exe)", true},
      {"GAME.EXE", R"(c:\games\Game.exe)", true},
      {"game.exe", R"(C:\x\mygame.exe)", false},
      {"game.exe", R"(C:\x\game.exe.bak)", false},
      {"games", R"(C:\Games\x.exe)", false},
      {"game.exe", "game.exe", true},
      // A path is matched against the whole path.
      {R"(C:\Games\game.exe)", R"(c:\GAMES\game.EXE)", true},
      {R"(C:\Games\game.exe)", R"(D:\Games\game.exe)", false},
      {R"(C:\Games\*\*.exe)", R"(C:\Games\Steam\x.exe)", true},
      {R"(C:\Games\*\*.exe)", R"(c:\games\a\b.EXE)", true},
      {R"(C:\Games\*\*.exe)", R"(C:\Games\a\b\c.exe)", true},  // a star spans folders
      {R"(C:\Games\*\*.exe)", R"(C:\Games\x.exe)", false},
      {R"(C:\Games\*\*.exe)", R"(C:\Games\a\b.exe.txt)", false},
      {"C:/Games/*.exe", R"(C:\Games\a.exe)", true},
      {"*\\steam\\*", R"(D:\Steam\bin\x.exe)", true},
      // Wildcards in names; a star may take nothing, "?" takes exactly one.
      {"game*.exe", R"(C:\game.exe)", true},
      {"steam*.exe", R"(C:\x\SteamWebHelper.exe)", true},
      {"a?c.exe", R"(C:\abc.exe)", true},
      {"?.exe", R"(C:\ab.exe)", false},
      {"*.exe", R"(C:\x\app.com)", false},
      // Other bytes than ASCII compare as they are; "?" takes one character.
      {"游戏.exe", R"(C:\游戏.exe)", true},
      {"?.exe", R"(C:\中.exe)", true},
      {"??.exe", R"(C:\中.exe)", false},
      {"\xC3\x84.exe", "C:\\\xC3\xA4.exe", false},  // Ä is not ä
      {"*\xB8\xAD.exe", R"(C:\中.exe)", false},     // a star takes whole characters too
      // An unknown path matches nothing, not even a star.
      {"*", "", false},
      // Rules of wildcards only, and hostile ones; each must end at once.
      {"*****", R"(C:\a.exe)", true},
      {"?*?*", R"(C:\a.exe)", true},
      {"?*?*", R"(C:\x\a)", false},
      {Repeat("*", 2000), R"(C:\a.exe)", true},
      {Repeat("*a", 1000), "C:\\" + Repeat("a", 1000), true},
      {Repeat("*a", 1000), "C:\\" + Repeat("a", 999), false},
      {Repeat("*a", 30) + "b*", "C:\\" + as, false},  // every way of placing the stars fails
      {Repeat("*a", 30) + "b*", "C:\\" + as + "b", true},
      {"*\\" + Repeat("*a", 30) + "?b*", "C:\\x\\" + as + "\\y", false},
      {"C:\\" + Repeat("*?", 999), R"(C:\short.exe)", false},
      {Repeat("x", 2000), "C:\\" + Repeat("x", 2000), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesRule(c.rule, c.path), c.match) << c.rule.substr(0, 40) << " vs " << c.path.substr(0, 40);
  }
}

TEST(NeverListTest, BuiltInsHoldUnlessLiftedAndUserRulesAddToThem) {
  const NeverList builtIn;
  const auto never = [](const NeverList& list, std::string_view path, std::string_view cls = "") {
    const engine::Verdict v = list.Judge(path, cls);
    return v.never ? v.rule : std::string();
  };
  EXPECT_EQ(never(builtIn, R"(C:\Windows\System32\LogonUI.exe)"), "LogonUI.exe");
  EXPECT_EQ(never(builtIn, R"(C:\Windows\SystemApps\x\lockapp.exe)"), "LockApp.exe");
  EXPECT_EQ(never(builtIn, R"(C:\x\app.exe)", "progman"), "Progman");
  EXPECT_EQ(never(builtIn, R"(C:\Windows\explorer.exe)", "Shell_TrayWnd"), "Shell_TrayWnd");
  EXPECT_EQ(never(builtIn, R"(C:\x\app.exe)", "ProgmanX"), "");
  EXPECT_EQ(never(builtIn, R"(C:\x\app.exe)"), "");

  // The shell's file windows are raised, to HIGH at most.
  const engine::Verdict shell = builtIn.Judge(R"(C:\Windows\Explorer.EXE)", "CabinetWClass");
  EXPECT_FALSE(shell.never);
  EXPECT_TRUE(shell.cappedAtHigh);
  EXPECT_EQ(shell.rule, "explorer.exe");
  EXPECT_EQ(shell.Limit(engine::kRealtimePriority), engine::kHighPriority);
  EXPECT_EQ(shell.Limit(engine::kHighPriority), engine::kHighPriority);
  EXPECT_EQ(builtIn.Judge(R"(C:\x\app.exe)", "").Limit(engine::kRealtimePriority), engine::kRealtimePriority);

  const NeverList list({{" TabTip.exe ", "0"},
                        {"progman", "0"},
                        {"game.exe", "1"},
                        {R"(C:\Games\*)", "1"},
                        {R"(C:\Games\game.exe)", "1"},
                        {R"(D:\Tools\x.exe)", "1"},
                        {"game.exe", "0"},  // the first of a name counts
                        {"GAME.EXE", "1"},
                        {"bad.exe", "yes"},
                        {"lone.exe", "0"},
                        {"", "1"},
                        {"   ", "1"},
                        {"LockApp.exe", "1"},
                        {"explorer.exe", "0"}});
  EXPECT_EQ(never(list, R"(C:\Windows\System32\TabTip.exe)"), "");
  EXPECT_EQ(never(list, R"(C:\x\app.exe)", "Progman"), "");
  EXPECT_EQ(never(list, R"(C:\x\app.exe)", "WorkerW"), "WorkerW");
  EXPECT_EQ(never(list, R"(D:\game.exe)"), "game.exe");
  // The tooltip names the first rule that matches.
  EXPECT_EQ(never(list, R"(C:\Games\game.exe)"), "game.exe");
  EXPECT_EQ(never(list, R"(C:\Games\x.exe)"), R"(C:\Games\*)");
  EXPECT_EQ(never(list, R"(d:\tools\X.EXE)"), R"(D:\Tools\x.exe)");
  EXPECT_EQ(never(list, R"(E:\Tools\x.exe)"), "");
  EXPECT_EQ(never(list, R"(C:\bad.exe)"), "");
  const engine::Verdict lifted = list.Judge(R"(C:\Windows\explorer.exe)", "CabinetWClass");
  EXPECT_FALSE(lifted.never || lifted.cappedAtHigh);
  const engine::Verdict barred =
      NeverList(NeverList::Entries{{"explorer.exe", "1"}}).Judge(R"(C:\Windows\explorer.exe)", "");
  EXPECT_TRUE(barred.never && !barred.cappedAtHigh);

  std::vector<std::string> lines;
  for (const RuleEntry& r : list.Rules()) {
    lines.push_back(r.text + (r.origin == RuleOrigin::kBuiltIn ? " built-in" : " user") +
                    (r.kind == RuleKind::kWindowClass ? " class"
                     : r.kind == RuleKind::kCapAtHigh ? " cap"
                                                      : "") +
                    (r.inForce ? "" : " lifted"));
  }
  EXPECT_EQ(lines,
            (std::vector<std::string>{
                "LockApp.exe built-in", "LogonUI.exe built-in", "TabTip.exe built-in lifted",
                "TextInputHost.exe built-in", "Progman built-in class lifted", "WorkerW built-in class",
                "Shell_TrayWnd built-in class", "Shell_SecondaryTrayWnd built-in class",
                "explorer.exe built-in cap lifted", "game.exe user", R"(C:\Games\* user)",
                R"(C:\Games\game.exe user)", R"(D:\Tools\x.exe user)"}));
}

}  // namespace
