#include "platform/win32/system_ports.h"

#include <windows.h>

#include "platform/win32/text.h"

namespace win32 {
namespace {

HWND ToHwnd(platform::WindowHandle w) { return reinterpret_cast<HWND>(w); }
HANDLE ToHandle(platform::ProcessPriorities::Handle h) { return reinterpret_cast<HANDLE>(h); }

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

platform::ProcessPriorities::Handle SystemProcessPriorities::Open(std::uint32_t access,
                                                                  std::uint32_t processId) {
  return reinterpret_cast<Handle>(OpenProcess(access, FALSE, processId));
}

bool SystemProcessPriorities::SetClass(Handle process, std::uint32_t priorityClass) {
  return SetPriorityClass(ToHandle(process), priorityClass) != FALSE;
}

std::uint32_t SystemProcessPriorities::GetClass(Handle process) {
  return GetPriorityClass(ToHandle(process));
}

void SystemProcessPriorities::Close(Handle process) { CloseHandle(ToHandle(process)); }

std::uint32_t SystemProcessPriorities::CurrentProcessId() { return GetCurrentProcessId(); }

std::string SystemClock::LongTimeText() {
  wchar_t buffer[80];
  const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, 80);
  return n > 1 ? Narrow(std::wstring_view(buffer, n - 1)) : std::string();
}

}  // namespace win32
