// The acceleration tick: once a second, the process of a new foreground
// window is raised and the one raised before put back to the class it had.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/history.h"
#include "engine/never_list.h"
#include "engine/process_tree.h"
#include "engine/raised_process.h"
#include "platform/ports.h"

namespace engine {

// Longest title kept, in bytes of the ANSI code page.
inline constexpr std::size_t kMaxTitleBytes = 254;

inline constexpr std::string_view kLevelErrorMessage = "加速度选择错误，加速未启用。";

// The option controls the tick reads and the labels it writes.
class AccelerationControls {
 public:
  virtual ~AccelerationControls() = default;
  virtual bool AccelerationChecked() = 0;                     // CheckState
  virtual std::string SpeedText() = 0;                        // ComboSpeed
  virtual bool RecordChecked() = 0;                           // CheckEnableRecord
  virtual bool ChildrenChecked() = 0;                         // CheckAccelerateChildren
  virtual void SetInfoCaption(const std::string& text) = 0;   // LabelInfo
  virtual void SetInfoTooltip(const std::string& text) = 0;   // LabelInfo's tooltip
  virtual void SetCountCaption(const std::string& text) = 0;  // LabelCount
  // LabelInfo in a warning colour: what it names was not given what was asked.
  virtual void SetInfoWarning(bool warning) = 0;
  // A short notice outside the window (a tray balloon), never a box.
  virtual void ShowNotice(const std::string& text) = 0;
};

inline constexpr std::string_view kRealtimeRefusedNotice =
    "没有管理员权限时无法使用疯狂加速（实时优先级）：系统只给出了高优先级。";

// Everything the tick talks to.
struct AccelerationPorts {
  platform::ForegroundWindows& windows;
  platform::ProcessPriorities& processes;
  platform::Clock& clock;
  const platform::AnsiCodePage& codePage;
  AccelerationControls& controls;
  HistoryList& history;
  platform::RaisedRecords& records;
  // The processes below the window's one; without it, only that one is raised.
  platform::ProcessTree* tree = nullptr;
  // Processes never to raise, or to HIGH at most; without it, none.
  const NeverList* never = nullptr;
};

// Unchanged ticks between two looks for processes the application started
// since its tree was raised.
inline constexpr int kChildrenLookTicks = 5;

// The window's process's descendants, raised with it while the option is on.
struct RaisedChildren {
  bool active = false;  // a tree is raised: look for new children now and then
  std::uint32_t rootId = 0;
  std::uint64_t rootCreated = 0;
  std::vector<RaisedProcess> raised;
  std::vector<Descendant> seen;  // looked at once: raised or left alone
  int leftAlone = 0;
  int ticksSinceLook = 0;
  std::string tooltip;  // the window's part, without the counts
};

// State the main window keeps between ticks.
struct AccelerationState {
  platform::WindowHandle CurrentWindow = 0;
  platform::WindowHandle PreviousWindow = 0;
  std::int32_t AcceleratedCount = 0;
  // The process raised last, until it is put back.
  RaisedProcess Raised;
  // It was put back outside a change (acceleration switched off): the next
  // enabled tick raises the foreground again even if it did not change.
  bool RaiseAgain = false;
  bool RealtimeNoticeShown = false;  // once per run
  RaisedChildren Children;
};

// The title as the program shows and records it: cut to the ANSI byte
// limit between whole characters.
std::string DisplayTitle(const std::string& title, const platform::AnsiCodePage& codePage);

// One tick of the loop; true when a change of foreground window was handled.
bool Tick(AccelerationState& state, const AccelerationPorts& ports);

// CheckState was clicked: when acceleration is now off, the process raised
// last goes back to its class.
void AccelerationSwitched(AccelerationState& state, const AccelerationPorts& ports);

// Exit and the end of the session: the process raised last goes back.
void PutBackRaised(AccelerationState& state, const AccelerationPorts& ports);

// Start-up, before the first tick: what a killed run left raised goes back.
void PutBackAfterCrash(const AccelerationPorts& ports);

}  // namespace engine
