#include "win32/system_ports.h"

#include <windows.h>
#include <tlhelp32.h>

#include "win32/text.h"
#include "win32/unique_handle.h"

namespace win32 {
namespace {

HWND ToHwnd(platform::WindowHandle w) { return reinterpret_cast<HWND>(w); }
HANDLE ToHandle(std::uintptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

platform::WindowHandle SystemForegroundWindows::Foreground() {
  return reinterpret_cast<platform::WindowHandle>(GetForegroundWindow());
}

std::u16string SystemForegroundWindows::Title(platform::WindowHandle window) {
  // The program keeps at most 254 ANSI bytes, which is never more than 508
  // UTF-16 units; the rest of a longer title is cut by the engine.
  wchar_t buffer[512];
  const int n = GetWindowTextW(ToHwnd(window), buffer, 512);
  return n > 0 ? std::u16string(reinterpret_cast<const char16_t*>(buffer), n) : std::u16string();
}

std::uint32_t SystemForegroundWindows::OwnerProcessId(platform::WindowHandle window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(ToHwnd(window), &pid);
  return pid;
}

std::string SystemForegroundWindows::ClassName(platform::WindowHandle window) {
  wchar_t name[256];
  const int n = GetClassNameW(ToHwnd(window), name, 256);
  return n > 0 ? Narrow(std::wstring_view(name, n)) : std::string();
}

std::vector<platform::WindowHandle> SystemForegroundWindows::ChildrenOfClass(platform::WindowHandle parent,
                                                                             const std::string& className) {
  std::vector<platform::WindowHandle> children;
  const std::wstring wide = Widen(className);
  // Direct children only; a frame holds few, so the walk stays short.
  for (HWND child = FindWindowExW(ToHwnd(parent), nullptr, wide.c_str(), nullptr);
       child && children.size() < 64; child = FindWindowExW(ToHwnd(parent), child, wide.c_str(), nullptr)) {
    children.push_back(reinterpret_cast<platform::WindowHandle>(child));
  }
  return children;
}

// The rights each use asks for: set and query to change a class and read
// it back; query alone to read it; the limited query, granted even for
// elevated processes of the same user, to tell which process it is.
platform::ProcessPriorities::Raw SystemProcessPriorities::OpenRaw(Access access, std::uint32_t processId) {
  DWORD rights = PROCESS_QUERY_LIMITED_INFORMATION;
  if (access == Access::Change) rights = PROCESS_SET_INFORMATION | PROCESS_QUERY_INFORMATION;
  if (access == Access::Query) rights = PROCESS_QUERY_INFORMATION;
  return reinterpret_cast<Raw>(OpenProcess(rights, FALSE, processId));
}

void SystemProcessPriorities::CloseRaw(Raw process) { CloseHandle(reinterpret_cast<HANDLE>(process)); }

bool SystemProcessPriorities::SetClass(const Handle& process, std::uint32_t priorityClass) {
  return SetPriorityClass(ToHandle(RawOf(process)), priorityClass) != FALSE;
}

std::uint32_t SystemProcessPriorities::GetClass(const Handle& process) {
  return GetPriorityClass(ToHandle(RawOf(process)));
}

std::uint32_t SystemProcessPriorities::CurrentProcessId() { return GetCurrentProcessId(); }

std::uint64_t SystemProcessPriorities::CreationTime(const Handle& process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(ToHandle(RawOf(process)), &created, &exited, &kernel, &user)) return 0;
  return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool SystemProcessPriorities::HasExited(const Handle& process) {
  DWORD code = 0;
  // A process that ends with the code STILL_ACTIVE passes for running: it
  // only keeps a record a little longer.
  return GetExitCodeProcess(ToHandle(RawOf(process)), &code) && code != STILL_ACTIVE;
}

std::string SystemClock::LongTimeText() {
  wchar_t buffer[80];
  const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, 80);
  return n > 1 ? Narrow(std::wstring_view(buffer, n - 1)) : std::string();
}

std::string SystemProcessTree::ImagePath(std::uint32_t processId) {
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.get()) return {};
  std::wstring path(1024, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
  path.resize(size);
  return Narrow(path);
}

std::vector<platform::ProcessLink> SystemProcessTree::Snapshot() {
  std::vector<platform::ProcessLink> links;
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE || snapshot.get() == nullptr) return links;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    links.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
  }
  return links;
}

}  // namespace win32
