#include "engine/priority.h"

namespace engine {
std::uint32_t SetWindowProcessPriority(platform::ProcessPriorities& processes,
                                       platform::ForegroundWindows& windows, std::uint32_t processId,
                                       platform::WindowHandle window, std::uint32_t priorityClass) {
  if (processId == 0) {
    processId = window != 0 ? windows.OwnerProcessId(window) : processes.CurrentProcessId();
  }
  // A window that is gone leaves the id at 0; opening id 0 fails on its own,
  // so no process is touched.
  platform::ProcessPriorities::Handle process = processes.OpenForChange(processId);
  if (process) {
    processes.SetClass(process, priorityClass);  // outcome shows in the read-back
  } else {
    process = processes.OpenForQuery(processId);
  }
  return process ? processes.GetClass(process) : 0;
}

}  // namespace engine
