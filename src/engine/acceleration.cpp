#include "engine/acceleration.h"

#include <limits>

#include "engine/priority.h"
#include "platform/text.h"

namespace engine {

std::string DisplayTitle(const std::string& title, const platform::AnsiCodePage& codePage) {
  return platform::CutToAnsiBytes(title, kMaxTitleBytes, codePage);
}

bool Tick(AccelerationState& state, const AccelerationPorts& ports) {
  if (!ports.controls.AccelerationChecked()) return false;

  const platform::WindowHandle foreground = ports.windows.Foreground();
  // Read on every enabled tick; measured and cut only when it is shown.
  const std::u16string rawTitle = ports.windows.Title(foreground);

  state.PreviousWindow = state.CurrentWindow;
  state.CurrentWindow = foreground;
  if (state.CurrentWindow == state.PreviousWindow) return false;
  const std::string title = DisplayTitle(platform::Utf16ToUtf8(rawTitle), ports.codePage);

  SetWindowProcessPriority(ports.processes, ports.windows, 0, state.PreviousWindow,
                           kNormalPriority);

  bool levelError = false;
  const std::string speed = ports.controls.SpeedText();
  if (speed == kLevelNormal) {
    SetWindowProcessPriority(ports.processes, ports.windows, 0, state.CurrentWindow,
                             kHighPriority);
  } else if (speed == kLevelCrazy) {
    SetWindowProcessPriority(ports.processes, ports.windows, 0, state.CurrentWindow,
                             kRealtimePriority);
  } else {
    levelError = true;
  }

  ports.controls.SetInfoCaption(levelError ? std::string(kLevelErrorMessage) : title);
  ports.controls.SetInfoTooltip(title);

  if (ports.controls.RecordChecked()) RecordHistoryEntry(ports.history, ports.clock, title, speed);

  if (state.AcceleratedCount < std::numeric_limits<std::int32_t>::max()) ++state.AcceleratedCount;
  ports.controls.SetCountCaption(std::to_string(state.AcceleratedCount));
  return true;
}

}  // namespace engine
