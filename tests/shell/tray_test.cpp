#include "shell/tray.h"

#include <gtest/gtest.h>

namespace {

using shell::HookAction;
using shell::MainWindowHookAction;

TEST(TrayHookTest, MinimiseFromEitherCommandHides) {
  EXPECT_EQ(MainWindowHookAction(273, 61472, 0), HookAction::PassThenHide);
  EXPECT_EQ(MainWindowHookAction(274, 61472, 0), HookAction::PassThenHide);
  EXPECT_EQ(MainWindowHookAction(274, 61728, 0), HookAction::Pass);  // restore is passed on
  EXPECT_EQ(MainWindowHookAction(273, 61473, 0), HookAction::Pass);
  // The title bar's button adds the system's own low bits to the command.
  EXPECT_EQ(MainWindowHookAction(274, 61472 | 0x2, 0), HookAction::PassThenHide);
  EXPECT_EQ(MainWindowHookAction(274, 61728 | 0x2, 0), HookAction::Pass);
}

TEST(TrayHookTest, OnlyDoubleClickAndRightButtonOfTheIconAreTaken) {
  EXPECT_EQ(MainWindowHookAction(2025, 0, 515), HookAction::ShowAndRestore);
  EXPECT_EQ(MainWindowHookAction(2025, 0, 516), HookAction::TrayMenu);
  for (std::intptr_t other : {0x200, 0x201, 0x202, 0x205, 0x206}) {
    EXPECT_EQ(MainWindowHookAction(2025, 0, other), HookAction::Pass) << other;
  }
  EXPECT_EQ(MainWindowHookAction(0x0200, 0, 515), HookAction::Pass);  // not the tray message
}

}  // namespace
