#include "e2e/driver.h"

#include <thread>

#include "platform/win32/text.h"

namespace e2e {

std::wstring HostPath(const char* path) {
  std::wstring wide = win32::Widen(path);
  if (!wide.empty() && wide[0] == L'/') {
    for (auto& c : wide) c = c == L'/' ? L'\\' : c;
    wide = L"Z:" + wide;
  }
  return wide;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

Process::~Process() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

Process Process::Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir) {
  std::wstring commandLine = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  Process p;
  if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     dir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
    CloseHandle(pi.hThread);
    p.process_.reset(pi.hProcess);
    p.id_ = pi.dwProcessId;
  }
  return p;
}

HWND Process::FindWindowTitled(const std::wstring& title, std::chrono::milliseconds timeout) const {
  struct Search {
    DWORD pid;
    const std::wstring* title;
    HWND found;
  } search{id_, &title, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND hwnd, LPARAM lParam) -> BOOL {
              auto* s = reinterpret_cast<Search*>(lParam);
              DWORD pid = 0;
              GetWindowThreadProcessId(hwnd, &pid);
              wchar_t text[256] = {};
              GetWindowTextW(hwnd, text, 256);
              if (pid == s->pid && IsWindowVisible(hwnd) && *s->title == text) {
                s->found = hwnd;
                return FALSE;
              }
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout);
  return search.found;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  path_ = std::filesystem::path(base) /
          (L"quill-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  return win32::Narrow(std::wstring_view(buffer, copied));
}

}  // namespace e2e
