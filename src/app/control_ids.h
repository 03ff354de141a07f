// Control ids of the main window; test drivers find the controls by them.
#pragma once

#include "platform/texts.h"

namespace app {

inline constexpr const wchar_t* kMainCaption = platform::kMainCaptionW;
inline constexpr wchar_t kMainClass[] = L"QuillmoorFormMain";
inline constexpr unsigned kTimerMain = 1;  // TimerMain, the tick's timer
inline constexpr unsigned kTimerTray = 2;  // tries again to add a tray icon the shell refused

enum ControlId : int {
  kCheckState = 1001,
  kComboSpeed = 1002,
  kCheckEnableRecord = 1003,
  kComboAutoCleanCount = 1004,
  kLabelInfo = 1005,
  kLabelCount = 1006,
  kListViewHistory = 1007,
  kCheckAutoRun = 1008,
  kCheckAutoMin = 1009,
  kCheckMostTop = 1010,
  kSSTabMain = 1011,
  kCommandMini = 1012,
  kCommandExit = 1013,
  kToolbarSpeedMain = 1014,
  kLabelHomePage = 1015,
  kLabelBBS = 1016,
  kCheckAccelerateChildren = 1017,
  kCommandNeverList = 1018,
  kStaticLabel = 1100,  // plain captions and pictures share ids from here

  // Toolbar buttons and tray menu items.
  kToolClear = 40001,
  kToolSave = 40002,
  kMenuMainScreen = 40011,
  kMenuUpdate = 40012,
  kMenuExit = 40013,
  kMenuNeverAccelerate = 40021,
};

}  // namespace app
