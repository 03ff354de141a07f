// The acceleration tick: once a second, the process of a new foreground
// window is raised and the previous one put back to normal.
#pragma once

#include <cstdint>
#include <string>

#include "engine/history.h"
#include "platform/ports.h"

namespace engine {

// Longest title kept, in bytes of the ANSI code page.
inline constexpr std::size_t kMaxTitleBytes = 254;

inline constexpr std::string_view kLevelErrorMessage = "加速度选择错误，加速未启用。";

// The option controls the tick reads and the labels it writes.
class AccelerationControls {
 public:
  virtual ~AccelerationControls() = default;
  virtual bool AccelerationChecked() = 0;  // CheckState
  virtual std::string SpeedText() = 0;     // ComboSpeed
  virtual bool RecordChecked() = 0;        // CheckEnableRecord
  virtual void SetInfoCaption(const std::string& text) = 0;  // LabelInfo
  virtual void SetInfoTooltip(const std::string& text) = 0;  // LabelInfo's tooltip
  virtual void SetCountCaption(const std::string& text) = 0;  // LabelCount
};

// Everything the tick talks to.
struct AccelerationPorts {
  platform::ForegroundWindows& windows;
  platform::ProcessPriorities& processes;
  platform::Clock& clock;
  const platform::AnsiCodePage& codePage;
  AccelerationControls& controls;
  HistoryList& history;
};

// State the main window keeps between ticks.
struct AccelerationState {
  platform::WindowHandle CurrentWindow = 0;
  platform::WindowHandle PreviousWindow = 0;
  std::int32_t AcceleratedCount = 0;
};

// The title as the program shows and records it: cut to the ANSI byte
// limit between whole characters.
std::string DisplayTitle(const std::string& title, const platform::AnsiCodePage& codePage);

// One tick of the loop; true when a change of foreground window was handled.
bool Tick(AccelerationState& state, const AccelerationPorts& ports);

}  // namespace engine
