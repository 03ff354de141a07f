// The engine's ports on the real system.
#pragma once

#include "platform/ports.h"

namespace win32 {

class SystemForegroundWindows : public platform::ForegroundWindows {
 public:
  platform::WindowHandle Foreground() override;
  std::u16string Title(platform::WindowHandle window) override;
  std::uint32_t OwnerProcessId(platform::WindowHandle window) override;
  std::string ClassName(platform::WindowHandle window) override;
  std::vector<platform::WindowHandle> ChildrenOfClass(platform::WindowHandle parent,
                                                      const std::string& className) override;
};

class SystemProcessPriorities : public platform::ProcessPriorities {
 public:
  bool SetClass(const Handle& process, std::uint32_t priorityClass) override;
  std::uint32_t GetClass(const Handle& process) override;
  std::uint32_t CurrentProcessId() override;
  std::uint64_t CreationTime(const Handle& process) override;
  bool HasExited(const Handle& process) override;

 protected:
  Raw OpenRaw(Access access, std::uint32_t processId) override;
  void CloseRaw(Raw process) override;
};

// A Tool Help snapshot of every process.
class SystemProcessTree : public platform::ProcessTree {
 public:
  std::vector<platform::ProcessLink> Snapshot() override;
  std::string ImagePath(std::uint32_t processId) override;
};

class SystemClock : public platform::Clock {
 public:
  std::string LongTimeText() override;
};

}  // namespace win32
