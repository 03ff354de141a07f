#include "shell/tray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using shell::HookAction;
using shell::MainWindowHookAction;
using shell::TrayIconKeeper;
using shell::WindowEvent;

TEST(TrayHookTest, MinimiseHidesAndOnlyTheIconsDoubleClickAndRightButtonAreTaken) {
  EXPECT_EQ(MainWindowHookAction(WindowEvent::Minimize), HookAction::PassThenHide);
  EXPECT_EQ(MainWindowHookAction(WindowEvent::IconDoubleClick), HookAction::ShowAndRestore);
  EXPECT_EQ(MainWindowHookAction(WindowEvent::IconRightButton), HookAction::TrayMenu);
  EXPECT_EQ(MainWindowHookAction(WindowEvent::Other), HookAction::Pass);
  // Without an icon to come back by, hiding would lose the window.
  EXPECT_EQ(shell::WhereToHide(true), shell::HideOutcome::ToTray);
  EXPECT_EQ(shell::WhereToHide(false), shell::HideOutcome::ToTaskbar);
}

// A notification area that refuses the icon a number of times.
struct Shell : shell::TrayPort {
  int refusals = 0;
  int offers = 0;
  bool iconThere = false;
  bool timer = false;
  bool AddIcon() override {
    ++offers;
    if (refusals > 0) {
      --refusals;
      return false;
    }
    iconThere = true;
    return true;
  }
  void DeleteIcon() override { iconThere = false; }
  void StartRetrying(unsigned milliseconds) override {
    EXPECT_EQ(milliseconds, TrayIconKeeper::kRetryMilliseconds);
    timer = true;
  }
  void StopRetrying() override { timer = false; }
};

constexpr int kTwoMinutesOfRetries = 60;

TEST(TrayIconKeeperTest, ARefusedIconIsOfferedEveryTwoSecondsForTwoMinutes) {
  Shell late;
  late.refusals = 3;  // the shell answers at the third retry
  TrayIconKeeper keeper(late);
  keeper.Add();
  EXPECT_FALSE(keeper.Shown());
  EXPECT_TRUE(late.timer);
  for (int i = 0; i < 3 && !keeper.Shown(); ++i) keeper.RetryDue();
  EXPECT_TRUE(keeper.Shown());
  EXPECT_TRUE(late.iconThere);
  EXPECT_FALSE(late.timer);
  EXPECT_EQ(late.offers, 4);

  Shell never;
  never.refusals = 1000;
  TrayIconKeeper giving(never);
  giving.Add();
  for (int i = 0; i < kTwoMinutesOfRetries + 5; ++i) giving.RetryDue();
  EXPECT_EQ(never.offers, 1 + kTwoMinutesOfRetries);  // then it stops asking
  EXPECT_FALSE(never.timer);
  EXPECT_FALSE(giving.Shown());
  EXPECT_TRUE(giving.Wanted());
}

TEST(TrayIconKeeperTest, TheIconComesBackWithTheTaskbarOnlyWhileItIsWanted) {
  Shell explorer;
  TrayIconKeeper keeper(explorer);
  keeper.TaskbarCreated();  // before it was added: nothing to bring back
  EXPECT_EQ(explorer.offers, 0);
  keeper.Add();
  explorer.iconThere = false;  // Explorer restarted
  explorer.refusals = 1;       // and is not ready at once
  keeper.TaskbarCreated();
  EXPECT_FALSE(keeper.Shown());
  EXPECT_TRUE(explorer.timer);
  keeper.RetryDue();
  EXPECT_TRUE(explorer.iconThere);
  EXPECT_FALSE(explorer.timer);

  keeper.Delete();
  EXPECT_FALSE(explorer.iconThere);
  const int offers = explorer.offers;
  keeper.TaskbarCreated();
  keeper.RetryDue();
  EXPECT_EQ(explorer.offers, offers);
  EXPECT_FALSE(keeper.EnsureShown());
}

TEST(TrayIconKeeperTest, HidingOffersARefusedIconOnceMoreAndStopsTheRetries) {
  Shell shell;
  shell.refusals = 1;
  TrayIconKeeper keeper(shell);
  keeper.Add();
  ASSERT_TRUE(shell.timer);
  EXPECT_TRUE(keeper.EnsureShown());
  EXPECT_FALSE(shell.timer);
  shell.refusals = 1;
  EXPECT_TRUE(keeper.EnsureShown());  // already there: not offered again
  EXPECT_EQ(shell.offers, 2);

  Shell refusing;
  refusing.refusals = 1000;
  TrayIconKeeper none(refusing);
  none.Add();
  EXPECT_FALSE(none.EnsureShown());
  none.Delete();
  EXPECT_FALSE(refusing.timer);
}

}  // namespace
