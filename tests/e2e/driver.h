// Helpers for test programs that start other Windows programs and look at
// their windows and processes from outside.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/win32/unique_handle.h"

namespace e2e {

// A Linux path handed over by the build, as Wine sees it (drive Z:).
std::wstring HostPath(const char* path);

// Polls until done() or the time is up; true when done() held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// A started program, terminated on destruction if still running.
class Process {
 public:
  Process() = default;
  Process(Process&&) = default;
  Process& operator=(Process&&) = default;
  ~Process();
  static Process Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir);
  HANDLE handle() const { return process_.get(); }
  DWORD id() const { return id_; }
  DWORD PriorityClass() const { return GetPriorityClass(process_.get()); }
  // First visible top-level window of this process with the given title.
  HWND FindWindowTitled(const std::wstring& title, std::chrono::milliseconds timeout) const;

 private:
  win32::UniqueHandle process_;
  DWORD id_ = 0;
};

// A fresh folder under the temporary folder, removed on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// WM_GETTEXT across processes, as UTF-8.
std::string TextOf(HWND window);

}  // namespace e2e
