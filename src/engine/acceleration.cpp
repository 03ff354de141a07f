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
  if (state.CurrentWindow == state.PreviousWindow && !state.RaiseAgain) return false;
  state.RaiseAgain = false;
  const std::string title = DisplayTitle(platform::Utf16ToUtf8(rawTitle), ports.codePage);

  // The process raised last goes back, found by what was raised, not by its
  // window, which may be gone by now.
  PutBack(ports.processes, ports.records, state.Raised);

  const std::string speed = ports.controls.SpeedText();
  const bool levelError = speed != kLevelNormal && speed != kLevelCrazy;
  std::string tooltip = title;
  if (foreground == 0) {
    // The lock screen, a secure desktop or a switch between windows: there
    // is no program to raise, and this one is not the user's.
    ports.controls.SetInfoWarning(levelError);
  } else if (!levelError) {
    const std::uint32_t level = speed == kLevelNormal ? kHighPriority : kRealtimePriority;
    const RaiseOutcome outcome = RaiseProcess(ports.processes, ports.records, state.Raised,
                                              TargetProcessId(ports.windows, state.CurrentWindow), level);
    // The caption stays the title; colour and tooltip say what really happened.
    ports.controls.SetInfoWarning(outcome.result != RaiseResult::Granted);
    if (outcome.result != RaiseResult::Granted) tooltip += "\n" + OutcomeText(outcome);
    if (outcome.asked == kRealtimePriority && outcome.obtained == kHighPriority &&
        !state.RealtimeNoticeShown) {
      state.RealtimeNoticeShown = true;
      ports.controls.ShowNotice(std::string(kRealtimeRefusedNotice));
    }
  } else {
    ports.controls.SetInfoWarning(true);
  }

  ports.controls.SetInfoCaption(levelError ? std::string(kLevelErrorMessage) : title);
  ports.controls.SetInfoTooltip(tooltip);

  if (ports.controls.RecordChecked()) RecordHistoryEntry(ports.history, ports.clock, title, speed);

  if (state.AcceleratedCount < std::numeric_limits<std::int32_t>::max()) ++state.AcceleratedCount;
  ports.controls.SetCountCaption(std::to_string(state.AcceleratedCount));
  return true;
}

void AccelerationSwitched(AccelerationState& state, const AccelerationPorts& ports) {
  if (!ports.controls.AccelerationChecked()) PutBackRaised(state, ports);
}

void PutBackRaised(AccelerationState& state, const AccelerationPorts& ports) {
  PutBack(ports.processes, ports.records, state.Raised);
  state.RaiseAgain = true;
}

void PutBackAfterCrash(const AccelerationPorts& ports) {
  engine::PutBackAfterCrash(ports.processes, ports.records);
}

}  // namespace engine
