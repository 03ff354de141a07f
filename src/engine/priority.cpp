#include "engine/priority.h"

#include <utility>

namespace engine {
namespace {

// Closes the process handle on every path out of the operation.
class OpenedProcess {
 public:
  OpenedProcess(platform::ProcessPriorities& processes, platform::ProcessPriorities::Handle handle)
      : processes_(processes), handle_(handle) {}
  OpenedProcess(const OpenedProcess&) = delete;
  OpenedProcess& operator=(const OpenedProcess&) = delete;
  ~OpenedProcess() {
    if (handle_ != 0) processes_.Close(handle_);
  }
  platform::ProcessPriorities::Handle get() const { return handle_; }
  void Reset(platform::ProcessPriorities::Handle handle) {
    if (handle_ != 0) processes_.Close(handle_);
    handle_ = handle;
  }

 private:
  platform::ProcessPriorities& processes_;
  platform::ProcessPriorities::Handle handle_;
};

}  // namespace

std::uint32_t SetWindowProcessPriority(platform::ProcessPriorities& processes,
                                       platform::ForegroundWindows& windows, std::uint32_t processId,
                                       platform::WindowHandle window, std::uint32_t priorityClass) {
  if (processId == 0) {
    processId = window != 0 ? windows.OwnerProcessId(window) : processes.CurrentProcessId();
  }
  // A window that is gone leaves the id at 0; opening id 0 fails on its own,
  // so no process is touched.
  OpenedProcess process(processes,
                        processes.Open(kProcessSetInformation | kProcessQueryInformation, processId));
  if (process.get() != 0) {
    processes.SetClass(process.get(), priorityClass);  // outcome shows in the read-back
  } else {
    process.Reset(processes.Open(kProcessQueryInformation, processId));
  }
  return process.get() != 0 ? processes.GetClass(process.get()) : 0;
}

}  // namespace engine
