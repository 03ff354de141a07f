#include "engine/acceleration.h"

#include <algorithm>
#include <limits>

#include "engine/priority.h"
#include "platform/text.h"

namespace engine {

namespace {

// What the never-list says of a process; a window class for the window's
// own process, none for a child.
Verdict Judge(const AccelerationPorts& ports, std::uint32_t processId, std::string_view windowClass) {
  if (!ports.never || processId == 0) return {};
  return ports.never->Judge(ports.tree ? ports.tree->ImagePath(processId) : std::string(), windowClass);
}

void PutBackChildren(AccelerationState& state, const AccelerationPorts& ports) {
  for (RaisedProcess& child : state.Children.raised) PutBack(ports.processes, ports.records, child);
  state.Children = RaisedChildren{};
}

std::string CountsText(const AccelerationState& state) {
  const std::size_t raised = state.Children.raised.size() + (state.Raised.handle ? 1 : 0);
  return "\n已加速 " + std::to_string(raised) + " 个进程（含子进程），" +
         std::to_string(state.Children.leftAlone) + " 个子进程保持原有优先级。";
}

// Raises the descendants not looked at before, to HIGH at most: a build of
// many processes at REALTIME would take every core from the input and the
// shell. True when there was a new one.
bool RaiseNewChildren(AccelerationState& state, const AccelerationPorts& ports) {
  RaisedChildren& children = state.Children;
  children.ticksSinceLook = 0;
  const auto creationTimeOf = [&](std::uint32_t id) { return CreationTimeOf(ports.processes, id); };
  bool found = false;
  for (const Descendant& process : Descendants(ports.tree->Snapshot(), children.rootId, children.rootCreated,
                                               creationTimeOf, ports.processes.CurrentProcessId())) {
    const bool seen = std::any_of(children.seen.begin(), children.seen.end(), [&](const Descendant& d) {
      return d.id == process.id && d.creationTime == process.creationTime;
    });
    if (seen) continue;
    children.seen.push_back(process);
    found = true;
    if (Judge(ports, process.id, {}).never) {
      ++children.leftAlone;
      continue;
    }
    NameOwnRecord(ports.processes, state.Raised);
    RaisedProcess child;
    child.recordName = state.Raised.recordName + "-" + std::to_string(process.id);
    RaiseProcess(ports.processes, ports.records, child, process.id, kHighPriority,
                 RaiseLimits{true, process.creationTime});
    if (child.handle) {
      children.raised.push_back(std::move(child));
    } else {
      ++children.leftAlone;
    }
  }
  return found;
}

// An unchanged tick: now and then, what the application started since.
void LookForNewChildren(AccelerationState& state, const AccelerationPorts& ports) {
  if (++state.Children.ticksSinceLook < kChildrenLookTicks) return;
  if (!ports.tree || !ports.controls.ChildrenChecked()) {
    state.Children.ticksSinceLook = 0;
    return;
  }
  if (RaiseNewChildren(state, ports))
    ports.controls.SetInfoTooltip(state.Children.tooltip + CountsText(state));
}

// Raises the window's process (and its tree, with the option) as the
// never-list allows; the tooltip gets what happened.
// Returns the image path of the window's process, where it was read.
std::string RaiseForeground(AccelerationState& state, const AccelerationPorts& ports, std::uint32_t level,
                            std::string& tooltip) {
  const std::uint32_t target = TargetProcessId(ports.windows, state.CurrentWindow);
  const std::string path = ports.tree && target != 0 ? ports.tree->ImagePath(target) : std::string();
  const Verdict verdict =
      ports.never ? ports.never->Judge(path, ports.windows.ClassName(state.CurrentWindow)) : Verdict{};
  if (verdict.never) {
    // The user's or the system's word: shown, counted and recorded all the same.
    ports.controls.SetInfoWarning(false);
    tooltip += "\n此程序在“从不加速”列表中（规则：" + verdict.rule + "），不会加速。";
  } else {
    RaiseOutcome outcome =
        RaiseProcess(ports.processes, ports.records, state.Raised, target, verdict.Limit(level));
    const bool capped = verdict.Limit(level) != level;
    if (capped) {
      // Shown as a REALTIME the system did not give, with the reason.
      outcome.asked = level;
      if (outcome.result == RaiseResult::Granted) outcome.result = RaiseResult::Lowered;
    }
    if (ports.tree && target != 0 && ports.controls.ChildrenChecked()) {
      state.Children.active = true;
      state.Children.rootId = target;
      state.Children.rootCreated =
          state.Raised.handle ? state.Raised.creationTime : CreationTimeOf(ports.processes, target);
      RaiseNewChildren(state, ports);
    }
    // The caption stays the title; colour and tooltip say what really happened.
    ports.controls.SetInfoWarning(outcome.result != RaiseResult::Granted);
    if (capped && outcome.obtained == kHighPriority) {
      tooltip += "\n请求：实时，实际：高。外壳程序最多加速到高优先级（规则：" + verdict.rule + "）。";
    } else if (outcome.result != RaiseResult::Granted) {
      tooltip += "\n" + OutcomeText(outcome);
    }
    if (!capped && outcome.asked == kRealtimePriority && outcome.obtained == kHighPriority &&
        !state.RealtimeNoticeShown) {
      state.RealtimeNoticeShown = true;
      ports.controls.ShowNotice(std::string(kRealtimeRefusedNotice));
    }
  }
  return path;
}

}  // namespace

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
  if (state.CurrentWindow == state.PreviousWindow && !state.RaiseAgain) {
    if (state.Children.active) LookForNewChildren(state, ports);
    return false;
  }
  state.RaiseAgain = false;
  const std::string title = DisplayTitle(platform::Utf16ToUtf8(rawTitle), ports.codePage);

  // The process raised last goes back, found by what was raised, not by its
  // window, which may be gone by now.
  PutBack(ports.processes, ports.records, state.Raised);
  PutBackChildren(state, ports);

  const std::string speed = ports.controls.SpeedText();
  const bool levelError = speed != kLevelNormal && speed != kLevelCrazy;
  std::string tooltip = title;
  std::string path;  // of the window's program, kept with its history row
  if (foreground == 0) {
    // The lock screen, a secure desktop or a switch between windows: there
    // is no program to raise, and this one is not the user's.
    ports.controls.SetInfoWarning(levelError);
  } else if (!levelError) {
    path = RaiseForeground(state, ports, speed == kLevelNormal ? kHighPriority : kRealtimePriority, tooltip);
  } else {
    ports.controls.SetInfoWarning(true);
  }

  ports.controls.SetInfoCaption(levelError ? std::string(kLevelErrorMessage) : title);
  state.Children.tooltip = tooltip;
  if (state.Children.active) tooltip += CountsText(state);
  ports.controls.SetInfoTooltip(tooltip);

  if (ports.controls.RecordChecked()) RecordHistoryEntry(ports.history, ports.clock, title, speed, path);

  if (state.AcceleratedCount < std::numeric_limits<std::int32_t>::max()) ++state.AcceleratedCount;
  ports.controls.SetCountCaption(std::to_string(state.AcceleratedCount));
  return true;
}

void AccelerationSwitched(AccelerationState& state, const AccelerationPorts& ports) {
  if (!ports.controls.AccelerationChecked()) PutBackRaised(state, ports);
}

void PutBackRaised(AccelerationState& state, const AccelerationPorts& ports) {
  PutBack(ports.processes, ports.records, state.Raised);
  PutBackChildren(state, ports);
  state.RaiseAgain = true;
}

void PutBackAfterCrash(const AccelerationPorts& ports) {
  engine::PutBackAfterCrash(ports.processes, ports.records);
}

}  // namespace engine
