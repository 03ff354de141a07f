// Control ids of the main window; test drivers find the controls by them.
#pragma once

namespace app {

inline constexpr wchar_t kMainCaption[] = L"Quillmoorv3.1";

enum ControlId : int {
  kCheckState = 1001,
  kComboSpeed = 1002,
  kCheckEnableRecord = 1003,
  kComboAutoCleanCount = 1004,
  kLabelInfo = 1005,
  kLabelCount = 1006,
  kListViewHistory = 1007,
};

}  // namespace app
