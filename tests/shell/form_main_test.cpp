#include "shell/form_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include "settings/fake_run_key.h"
#include "settings/module_auto_run.h"
#include "settings/module_config.h"

namespace {

using shell::Check;
using shell::Combo;

// config.ini in memory, remembering the order of writes.
struct MemoryProfile : platform::ProfileStore {
  std::map<std::string, std::string> values;  // "Section/Key" -> value
  std::vector<std::string> writes;
  std::string GetString(const std::string&, const std::string& section, const std::string& key,
                        std::size_t) override {
    auto it = values.find(section + "/" + key);
    return it == values.end() ? std::string() : it->second;
  }
  bool SetString(const std::string&, const std::string& section, const std::string& key,
                 const std::string& value) override {
    values[section + "/" + key] = value;
    writes.push_back(section + "/" + key + "=" + value);
    return true;
  }
};

using platform::RunScope;

using MemoryRunKey = fakes::FakeRunKey;

// The program's folder and file: closed to other users unless opened.
struct Security : platform::FileSecurity {
  bool open = false;
  std::optional<AccessList> AccessListOf(const std::string&) override {
    AccessList list;
    list.entries.push_back({true, false, "S-1-1-0", open ? 0x1301BFu : 0x1200A9u});
    return list;
  }
};

struct View : shell::FormMainView {
  std::map<Check, bool> checks;
  std::map<Combo, std::vector<std::string>> items;
  std::map<Combo, int> selection{{Combo::Speed, -1}, {Combo::AutoCleanCount, -1}};
  std::vector<std::string> steps;
  bool topmost = false;
  bool answer = true;
  std::function<void()> whileAsking;  // what the user does while the question is open

  View() {
    for (Check box : {Check::AutoRun, Check::AutoMin, Check::State, Check::MostTop, Check::EnableRecord,
                      Check::AccelerateChildren}) {
      checks[box] = shell::InitialCheck(box);
    }
  }

  bool IsChecked(Check box) override { return checks[box]; }
  void SetChecked(Check box, bool checked) override { checks[box] = checked; }
  void FillCombo(Combo list, const std::vector<std::string>& texts) override { items[list] = texts; }
  int Selection(Combo list) override { return selection[list]; }
  void Select(Combo list, int index) override { selection[list] = index; }
  std::string ComboText(Combo list) override {
    return selection[list] < 0 ? std::string() : items[list][selection[list]];
  }
  void SetUpPages() override { steps.push_back("pages"); }
  void SetTopmost(bool on) override {
    topmost = on;
    steps.push_back(on ? "topmost" : "not topmost");
  }
  void RunTick() override { steps.push_back("tick"); }
  void PutBackRaised() override { steps.push_back("put back"); }
  void ResetLinkStyle() override { steps.push_back("links"); }
  void InstallWindowHook() override { steps.push_back("hook"); }
  void RemoveWindowHook() override { steps.push_back("unhook"); }
  void AddTrayIcon() override { steps.push_back("tray"); }
  void DeleteTrayIcon() override { steps.push_back("untray"); }
  void SendHideRequest() override { steps.push_back("hide"); }
  bool AskYesNo(const std::string& text, const std::string& caption) override {
    steps.push_back("ask " + text + " " + caption);
    if (whileAsking) std::exchange(whileAsking, nullptr)();
    return answer;
  }
  std::vector<std::string> notices;
  void Notice(const std::string& text) override { notices.push_back(text); }
  void CancelModalSteps() override { steps.push_back("cancel steps"); }
  void Unload() override { steps.push_back("unload"); }
};

struct FormMainTest : ::testing::Test {
  MemoryProfile profile;
  MemoryRunKey runKey;
  Security security;
  View view;
  settings::ModuleConfig config{profile, "C:\\Apps\\Brevolt"};
  settings::ModuleAutoRun autoRun{runKey, security, "C:\\Apps\\Brevolt"};
  // Left from an earlier run: loading starts the state afresh.
  engine::AccelerationState state = [] {
    engine::AccelerationState earlier;
    earlier.CurrentWindow = 0x55;
    earlier.PreviousWindow = 0x66;
    earlier.AcceleratedCount = 9;
    return earlier;
  }();
  shell::FormMainRules rules{view, config, autoRun, state};
};

TEST_F(FormMainTest, FirstStartWritesOnlyWhatChangedControlsStore) {
  rules.Load();
  EXPECT_EQ(profile.writes, (std::vector<std::string>{"Speed/SpeedLevel=2", "Record/EnableRecord=0",
                                                      "Normal/EnableSpeed=0", "Normal/AlwaysTop=0"}));
  EXPECT_FALSE(view.checks[Check::State]);
  EXPECT_FALSE(view.checks[Check::MostTop]);
  EXPECT_EQ(view.ComboText(Combo::Speed), "疯狂加速");
  EXPECT_EQ(view.selection[Combo::AutoCleanCount], -1);
  EXPECT_FALSE(view.topmost);
  EXPECT_TRUE(runKey.values[RunScope::MachineWide].empty());
  EXPECT_TRUE(runKey.values[RunScope::CurrentUser].empty());
  EXPECT_EQ(state.CurrentWindow, 0u);
  EXPECT_EQ(state.AcceleratedCount, 0);
  EXPECT_EQ(view.steps, (std::vector<std::string>{"pages", "not topmost", "tick", "not topmost", "links",
                                                  "hook", "tray"}));
}

// Switched off by the user, what was raised goes back at once; switched on,
// or applied while loading, nothing is put back.
TEST_F(FormMainTest, SwitchingAccelerationOffPutsTheRaisedProcessesBack) {
  rules.Load();
  view.steps.clear();
  view.checks[Check::State] = true;
  rules.CheckChanged(Check::State);
  EXPECT_TRUE(view.steps.empty());
  view.checks[Check::State] = false;
  rules.CheckChanged(Check::State);
  EXPECT_EQ(view.steps, (std::vector<std::string>{"put back"}));
  EXPECT_EQ(profile.values["Normal/EnableSpeed"], "0");
}

TEST_F(FormMainTest, StoredOptionsAreAppliedAndRewrittenOnlyOnChange) {
  profile.values = {{"Normal/AutoRun", "1"},        {"Normal/AutoMin", "1.0"},
                    {"Speed/SpeedLevel", "01"},     {"Record/EnableRecord", "1"},
                    {"Record/RecordCount", "0100"}, {"Normal/EnableSpeed", " 1x"},
                    {"Normal/AlwaysTop", "1"},      {"Speed/AccelerateChildren", "1"}};
  rules.Load();
  // Check boxes already checked run no handler; the rest store only what
  // reads back differently from how it is stored.
  EXPECT_EQ(profile.writes,
            (std::vector<std::string>{"Normal/AutoMin=1", "Speed/SpeedLevel=1", "Record/RecordCount=100"}));
  EXPECT_EQ(runKey.values[RunScope::MachineWide]["Brevolt"], "C:\\Apps\\Brevolt\\Brevolt.exe");
  EXPECT_EQ(view.ComboText(Combo::AutoCleanCount), "100");
  EXPECT_TRUE(view.checks[Check::AccelerateChildren]);
  EXPECT_TRUE(view.topmost);
  EXPECT_EQ(view.steps.back(), "hide");  // started in the tray
}

TEST_F(FormMainTest, HandlersStoreTheirOptionAsTheUserChangesThem) {
  rules.Load();
  profile.writes.clear();
  view.checks[Check::AutoRun] = true;
  rules.CheckChanged(Check::AutoRun);
  EXPECT_EQ(runKey.values[RunScope::MachineWide].count("Brevolt"), 1u);
  view.checks[Check::AutoRun] = false;
  rules.CheckChanged(Check::AutoRun);
  EXPECT_TRUE(runKey.values[RunScope::MachineWide].empty());
  view.checks[Check::MostTop] = true;
  rules.CheckChanged(Check::MostTop);
  EXPECT_TRUE(view.topmost);
  view.checks[Check::AccelerateChildren] = true;
  rules.CheckChanged(Check::AccelerateChildren);
  view.selection[Combo::Speed] = 0;
  rules.ComboChanged(Combo::Speed);
  view.selection[Combo::AutoCleanCount] = 3;
  rules.ComboChanged(Combo::AutoCleanCount);
  EXPECT_EQ(profile.writes, (std::vector<std::string>{"Normal/AutoRun=1", "Normal/AutoRun=0",
                                                      "Normal/AlwaysTop=1", "Speed/AccelerateChildren=1",
                                                      "Speed/SpeedLevel=1", "Record/RecordCount=300"}));
}

// The box says whether the program will start at logon; the user hears why
// when that differs from what was asked.
TEST_F(FormMainTest, StartAtLogonBoxFollowsWhatCouldBeWritten) {
  const struct {
    const char* what;
    std::set<RunScope> refused;
    bool open;
    bool checked;
    std::vector<std::string> writes, notices;
  } cases[] = {
      {"administrator", {}, false, true, {"Normal/AutoRun=1"}, {}},
      {"standard user", {RunScope::MachineWide}, false, true, {"Normal/AutoRun=1"}, {}},
      {"open folder", {}, true, true, {"Normal/AutoRun=1"}, {std::string(shell::kAutoRunForUserNotice)}},
      {"refused everywhere",
       {RunScope::MachineWide, RunScope::CurrentUser},
       false,
       false,
       {"Normal/AutoRun=0"},
       {std::string(shell::kAutoRunRefusedNotice)}},
  };
  for (const auto& c : cases) {
    profile.values.clear();
    profile.writes.clear();
    view.notices.clear();
    runKey.values.clear();
    runKey.refused = c.refused;
    security.open = c.open;
    view.checks[Check::AutoRun] = true;
    rules.CheckChanged(Check::AutoRun);
    EXPECT_EQ(view.checks[Check::AutoRun], c.checked) << c.what;
    EXPECT_EQ(profile.writes, c.writes) << c.what;
    EXPECT_EQ(view.notices, c.notices) << c.what;
    const bool written = runKey.values[RunScope::MachineWide].count("Brevolt") +
                         runKey.values[RunScope::CurrentUser].count("Brevolt");
    EXPECT_EQ(written, c.checked) << c.what;
  }

  // Elevated as another user, with a folder others may change: no value,
  // and the user hears that the account is the reason.
  {
    profile.writes.clear();
    view.notices.clear();
    runKey.values.clear();
    runKey.refused.clear();
    security.open = true;
    const settings::ModuleAutoRun asAdmin{runKey, security, "C:\\Apps\\Brevolt", true};
    shell::FormMainRules other{view, config, asAdmin, state};
    view.checks[Check::AutoRun] = true;
    other.CheckChanged(Check::AutoRun);
    EXPECT_FALSE(view.checks[Check::AutoRun]);
    EXPECT_EQ(view.notices, std::vector<std::string>{std::string(shell::kAutoRunOtherAccountNotice)});
    EXPECT_TRUE(runKey.values[RunScope::CurrentUser].empty());
    security.open = false;
  }

  // A machine-wide value this user may not delete: the box stays checked.
  runKey.refused = {RunScope::MachineWide};
  runKey.values[RunScope::MachineWide]["Brevolt"] = "x";
  profile.writes.clear();
  view.notices.clear();
  view.checks[Check::AutoRun] = false;
  rules.CheckChanged(Check::AutoRun);
  EXPECT_TRUE(view.checks[Check::AutoRun]);
  EXPECT_TRUE(profile.writes.empty());
  EXPECT_EQ(view.notices, std::vector<std::string>{std::string(shell::kAutoRunNotRemovedNotice)});
}

// Renewing the value at start-up in an open folder says nothing; a refusal
// everywhere unchecks the box and says so.
TEST_F(FormMainTest, StartUpRenewalSpeaksOnlyWhenTheBoxChanges) {
  profile.values = {{"Normal/AutoRun", "1"}};
  security.open = true;
  rules.Load();
  EXPECT_TRUE(view.checks[Check::AutoRun]);
  EXPECT_EQ(runKey.values[RunScope::CurrentUser].count("Brevolt"), 1u);
  EXPECT_TRUE(view.notices.empty());

  View fresh;
  shell::FormMainRules again{fresh, config, autoRun, state};
  runKey.refused = {RunScope::MachineWide, RunScope::CurrentUser};
  profile.values["Normal/AutoRun"] = "1";
  again.Load();
  EXPECT_FALSE(fresh.checks[Check::AutoRun]);
  EXPECT_EQ(profile.values["Normal/AutoRun"], "0");
  EXPECT_EQ(fresh.notices, std::vector<std::string>{std::string(shell::kAutoRunRefusedNotice)});
}

// Switched off in Task Manager while the program was not running: the box
// follows Windows, which keeps its entry (listed as off) until the user
// checks the box again.
TEST_F(FormMainTest, StartupSwitchedOffInWindowsWinsAndCheckingSwitchesItOn) {
  for (RunScope scope : {RunScope::MachineWide, RunScope::CurrentUser}) {
    SCOPED_TRACE(scope == RunScope::MachineWide ? "machine-wide" : "current user");
    profile.values = {{"Normal/AutoRun", "1"}};
    runKey.values.clear();
    runKey.values[scope]["Brevolt"] = "C:\\Apps\\Brevolt\\Brevolt.exe";
    runKey.off[scope] = {"Brevolt"};
    View fresh;
    shell::FormMainRules again{fresh, config, autoRun, state};
    again.Load();
    EXPECT_FALSE(fresh.checks[Check::AutoRun]);
    EXPECT_EQ(profile.values["Normal/AutoRun"], "0");
    EXPECT_EQ(runKey.values[scope].count("Brevolt"), 1u);
    EXPECT_EQ(runKey.off[scope].count("Brevolt"), 1u);

    fresh.checks[Check::AutoRun] = true;
    again.CheckChanged(Check::AutoRun);
    EXPECT_EQ(profile.values["Normal/AutoRun"], "1");
    EXPECT_EQ(runKey.values[RunScope::MachineWide].count("Brevolt"), 1u);
    EXPECT_TRUE(runKey.off[scope].empty());
    EXPECT_FALSE(autoRun.SwitchedOffInWindows());

    // A switch left from before must not turn off the value written next.
    runKey.off[RunScope::MachineWide] = {"Brevolt"};
    fresh.checks[Check::AutoRun] = false;
    again.CheckChanged(Check::AutoRun);
    EXPECT_TRUE(runKey.values[RunScope::MachineWide].empty());
    EXPECT_TRUE(runKey.off[RunScope::MachineWide].empty());
  }
  // A switch whose value is gone says nothing about the program.
  profile.values = {{"Normal/AutoRun", "1"}};
  runKey.off[RunScope::CurrentUser] = {"Brevolt"};
  View fresh;
  shell::FormMainRules again{fresh, config, autoRun, state};
  again.Load();
  EXPECT_TRUE(fresh.checks[Check::AutoRun]);
  EXPECT_EQ(profile.values["Normal/AutoRun"], "1");
}

TEST_F(FormMainTest, ExitAsksAndOnlyYesRemovesTheTrayIconAndHookAndUnloads) {
  view.answer = false;
  rules.RequestUnload();
  EXPECT_EQ(view.steps, (std::vector<std::string>{"ask 确定退出吗? 请确认!"}));
  view.answer = true;
  rules.RequestUnload();
  EXPECT_EQ(view.steps, (std::vector<std::string>{"ask 确定退出吗? 请确认!", "ask 确定退出吗? 请确认!",
                                                  "untray", "unhook", "put back", "unload"}));
  rules.RequestUnload();  // already going: no third question
  EXPECT_EQ(view.steps.size(), 6u);
}

// Exit chosen from the tray menu while the save dialog or a notice runs its
// own loop: the window must outlive the code under that loop.
TEST_F(FormMainTest, ExitDuringAModalStepCancelsItWaitsForItAndNeverAsksTwice) {
  {
    shell::FormMainRules nothingOpen{view, config, autoRun, state};
    nothingOpen.RequestUnload();  // nothing open under the question: nothing to cancel
    EXPECT_EQ(std::count(view.steps.begin(), view.steps.end(), "cancel steps"), 0);
    view.steps.clear();
  }

  rules.BeginModalStep();                             // the save dialog
  view.whileAsking = [&] { rules.RequestUnload(); };  // exit chosen again under the question
  rules.RequestUnload();
  EXPECT_EQ(std::count(view.steps.begin(), view.steps.end(), "ask 确定退出吗? 请确认!"), 1);
  EXPECT_EQ(view.steps.back(), "cancel steps");
  EXPECT_TRUE(rules.Unloading());
  rules.BeginModalStep();  // the notice after the dialog
  rules.EndModalStep();
  rules.EndModalStep();  // the save handler returns
  EXPECT_EQ(view.steps.back(), "unload");
  EXPECT_EQ(std::count(view.steps.begin(), view.steps.end(), "unload"), 1);
}

// The installer asks the program to exit: no question, the same steps as Yes.
TEST_F(FormMainTest, ExitAskedFromOutsideUnloadsWithoutTheQuestion) {
  rules.UnloadWithoutAsking();
  EXPECT_EQ(view.steps, (std::vector<std::string>{"untray", "unhook", "put back", "unload"}));
  rules.UnloadWithoutAsking();  // asked again: already gone
  rules.RequestUnload();        // nor is the question asked now
  EXPECT_EQ(view.steps.size(), 4u);
}

// Asked from outside under the save dialog, or while the exit question is
// open: those are cancelled, the window outlives the code under them, and
// a Yes to the question afterwards changes nothing.
TEST_F(FormMainTest, ExitAskedFromOutsideDuringAModalStepCancelsItAndWaitsForIt) {
  rules.BeginModalStep();  // the save dialog
  rules.UnloadWithoutAsking();
  EXPECT_EQ(view.steps, (std::vector<std::string>{"untray", "unhook", "cancel steps"}));
  rules.EndModalStep();
  EXPECT_EQ(view.steps.back(), "unload");

  View asked;
  shell::FormMainRules questioned{asked, config, autoRun, state};
  asked.whileAsking = [&] { questioned.UnloadWithoutAsking(); };
  questioned.RequestUnload();
  EXPECT_EQ(asked.steps, (std::vector<std::string>{"ask 确定退出吗? 请确认!", "untray", "unhook",
                                                   "cancel steps", "put back", "unload"}));
}

}  // namespace
