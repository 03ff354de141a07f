#include "engine/raised_process.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "engine/priority.h"

namespace engine {
namespace {

// Reads decimal numbers separated by `separator`, the whole text and nothing else.
template <std::size_t N>
bool ParseNumbers(std::string_view text, char separator, std::uint64_t (&numbers)[N]) {
  const char* p = text.data();
  const char* end = text.data() + text.size();
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) {
      if (p == end || *p != separator) return false;
      ++p;
    }
    if (p == end || *p < '0' || *p > '9') return false;
    const auto [next, error] = std::from_chars(p, end, numbers[i]);
    if (error != std::errc()) return false;
    p = next;
  }
  return p == end;
}

std::string ClassText(std::uint32_t priorityClass) {
  switch (priorityClass) {
    case 0:
      return "无法读取";
    case 0x40:
      return "低";
    case 0x4000:
      return "低于正常";
    case kNormalPriority:
      return "正常";
    case 0x8000:
      return "高于正常";
    case kHighPriority:
      return "高";
    case kRealtimePriority:
      return "实时";
  }
  return std::to_string(priorityClass);
}

}  // namespace

std::uint64_t CreationTimeOf(platform::ProcessPriorities& processes, std::uint32_t processId) {
  if (processId == 0) return 0;
  const auto process = processes.OpenToIdentify(processId);
  return process ? processes.CreationTime(process) : 0;
}

void NameOwnRecord(platform::ProcessPriorities& processes, RaisedProcess& raised) {
  if (!raised.recordName.empty()) return;
  const std::uint32_t self = processes.CurrentProcessId();
  raised.recordName = RecordName(self, CreationTimeOf(processes, self));
}

std::uint32_t TargetProcessId(platform::ForegroundWindows& windows, platform::WindowHandle window) {
  if (window == 0) return 0;
  const std::uint32_t owner = windows.OwnerProcessId(window);
  if (owner == 0 || windows.ClassName(window) != kFrameWindowClass) return owner;
  // The frame host draws the frame of every Store app; the app itself owns
  // the core window inside it. A suspended app's core window is elsewhere,
  // and then the frame is all there is.
  for (platform::WindowHandle child : windows.ChildrenOfClass(window, std::string(kCoreWindowClass))) {
    const std::uint32_t app = windows.OwnerProcessId(child);
    if (app != 0 && app != owner) return app;
  }
  return owner;
}

RaiseOutcome RaiseProcess(platform::ProcessPriorities& processes, platform::RaisedRecords& records,
                          RaisedProcess& raised, std::uint32_t processId, std::uint32_t priorityClass,
                          const RaiseLimits& limits) {
  RaiseOutcome outcome;
  outcome.asked = priorityClass;
  if (processId == 0) return outcome;  // the window is gone: nothing to touch

  auto process = processes.OpenForChange(processId);
  if (!process) {
    // No right to change it (another account, elevated, protected): read
    // what it has so that the user can be told.
    const auto query = processes.OpenToIdentify(processId);
    outcome.obtained = query ? processes.GetClass(query) : 0;
    outcome.result = outcome.obtained != 0 ? RaiseResult::Refused : RaiseResult::Unreachable;
    return outcome;
  }

  const std::uint32_t read = processes.GetClass(process);
  const std::uint32_t before = read != 0 ? read : kNormalPriority;
  const std::uint64_t created = processes.CreationTime(process);
  if (limits.creationTime != 0 && created != limits.creationTime) return outcome;  // its id went to another
  if (limits.onlyFromNormal && read != kNormalPriority) {
    outcome.obtained = read;
    outcome.result = RaiseResult::LeftAlone;
    return outcome;
  }
  NameOwnRecord(processes, raised);
  // Recorded before the change: a crash right after it still finds it.
  const bool recorded =
      created != 0 &&
      records.Write(raised.recordName, FormatRecord({processId, created, before, priorityClass}));
  processes.SetClass(process, priorityClass);  // outcome shows in the read-back
  outcome.obtained = processes.GetClass(process);
  outcome.result = outcome.obtained == priorityClass ? RaiseResult::Granted
                   : outcome.obtained == 0           ? RaiseResult::Unreachable
                                                     : RaiseResult::Lowered;
  if (outcome.obtained == before || outcome.obtained == 0) {
    // Nothing changed that would need putting back.
    if (recorded) records.Delete(raised.recordName);
    return outcome;
  }
  if (recorded && outcome.obtained != priorityClass) {
    records.Write(raised.recordName, FormatRecord({processId, created, before, outcome.obtained}));
  }
  raised.handle = std::move(process);
  raised.processId = processId;
  raised.creationTime = created;
  raised.classBefore = before;
  raised.classSet = outcome.obtained;
  return outcome;
}

void PutBack(platform::ProcessPriorities& processes, platform::RaisedRecords& records,
             RaisedProcess& raised) {
  if (!raised.handle) return;
  // Someone who changed it meanwhile had a reason: leave it alone.
  if (processes.GetClass(raised.handle) == raised.classSet)
    processes.SetClass(raised.handle, raised.classBefore);
  records.Delete(raised.recordName);
  std::string name = std::move(raised.recordName);
  raised = RaisedProcess{};
  raised.recordName = std::move(name);
}

int PutBackAfterCrash(platform::ProcessPriorities& processes, platform::RaisedRecords& records) {
  int putBack = 0;
  for (const auto& [name, text] : records.List()) {
    // "writer id-writer start", and "-raised id" after it for each process
    // raised with the window's one.
    std::uint64_t writer[2] = {}, withRaised[3] = {};
    if (ParseNumbers(name, '-', withRaised)) std::copy(withRaised, withRaised + 2, writer);
    if ((writer[0] != 0 || ParseNumbers(name, '-', writer)) && writer[0] <= UINT32_MAX) {
      const auto writerId = static_cast<std::uint32_t>(writer[0]);
      const auto running = processes.OpenToIdentify(writerId);
      if (running && !processes.HasExited(running)) {
        const std::uint64_t started = processes.CreationTime(running);
        // Still running, or its start time cannot be read: not ours to touch.
        if (started == writer[1] || started == 0) continue;
      }
    }
    if (const auto record = ParseRecord(text)) {
      const auto process = processes.OpenForChange(record->processId);
      if (process && processes.CreationTime(process) == record->creationTime &&
          processes.GetClass(process) == record->classSet) {
        processes.SetClass(process, record->classBefore);
        ++putBack;
      }
    }
    records.Delete(name);
  }
  return putBack;
}

std::string FormatRecord(const RaisedRecord& record) {
  return std::to_string(record.processId) + " " + std::to_string(record.creationTime) + " " +
         std::to_string(record.classBefore) + " " + std::to_string(record.classSet);
}

std::optional<RaisedRecord> ParseRecord(const std::string& text) {
  std::uint64_t n[4] = {};
  if (!ParseNumbers(text, ' ', n)) return std::nullopt;
  for (int i : {0, 2, 3}) {
    if (n[i] == 0 || n[i] > UINT32_MAX) return std::nullopt;
  }
  if (n[1] == 0) return std::nullopt;
  return RaisedRecord{static_cast<std::uint32_t>(n[0]), n[1], static_cast<std::uint32_t>(n[2]),
                      static_cast<std::uint32_t>(n[3])};
}

std::string RecordName(std::uint32_t processId, std::uint64_t creationTime) {
  return std::to_string(processId) + "-" + std::to_string(creationTime);
}

std::string OutcomeText(const RaiseOutcome& outcome) {
  if (outcome.result == RaiseResult::Granted) return {};
  std::string text = "请求：" + ClassText(outcome.asked) + "，实际：" + ClassText(outcome.obtained) + "。";
  switch (outcome.result) {
    case RaiseResult::Lowered:
      text += outcome.asked == kRealtimePriority && outcome.obtained == kHighPriority
                  ? "实时优先级需要管理员权限。"
                  : "系统没有给出所请求的优先级。";
      break;
    case RaiseResult::Refused:
      text += "没有更改该进程优先级的权限（以管理员身份运行的或受保护的进程）。";
      break;
    case RaiseResult::Unreachable:
      text += "无法打开该进程（已经退出或没有访问权限）。";
      break;
    case RaiseResult::LeftAlone:
      text += "该进程的优先级由其程序自行设定，保持不变。";
      break;
    case RaiseResult::Granted:
      break;
  }
  return text;
}

}  // namespace engine
