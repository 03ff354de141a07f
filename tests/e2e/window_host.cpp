// A stand-in for "the program the user works with": one top-level window
// with the title given on the command line, alive until it is closed.
// Optional first word:
//   /linger TITLE     the process lives on after its window is destroyed
//   /frame TITLE      the window has the class of a Store app's frame
//   /class NAME TITLE the window has the class NAME (the desktop's, say)
//   /core HWND TITLE  a Store app's core window: a child of the frame HWND
//                     (decimal), which belongs to another process
//   /tree TITLE       an application of several processes: a child with a
//                     child of its own, and one started at IDLE; each
//                     WM_APP to the window starts one more child
//   /quiet PID DEPTH [idle]
//                     no window: one of those processes, alive while the
//                     process PID is, with DEPTH generations below it; at
//                     IDLE when told so
#include <windows.h>

#include <cwchar>
#include <string>

static bool gLinger = false;
static bool gTree = false;

// Starts this program again as "/quiet <this process> depth", at IDLE when told.
static void StartChild(int depth, bool idle) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" /quiet " +
                             std::to_wstring(GetCurrentProcessId()) + L" " + std::to_wstring(depth) +
                             (idle ? L" idle" : L"");
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

static LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP && gTree) {
    StartChild(0, false);
    return 0;
  }
  if (message == WM_DESTROY) {
    if (!gLinger) PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Takes the first word off `rest` and returns it.
static std::wstring NextWord(std::wstring& rest) {
  const auto blank = rest.find(L' ');
  std::wstring word = rest.substr(0, blank);
  rest = blank == std::wstring::npos ? std::wstring() : rest.substr(blank + 1);
  return word;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  std::wstring rest = commandLine ? commandLine : L"";
  const wchar_t* cls = L"QuillWindowHost";
  std::wstring named;
  DWORD style = WS_OVERLAPPEDWINDOW;
  HWND parent = nullptr;
  if (rest.rfind(L"/linger ", 0) == 0) {
    NextWord(rest);
    gLinger = true;
  } else if (rest.rfind(L"/class ", 0) == 0) {
    NextWord(rest);
    named = NextWord(rest);
    cls = named.c_str();
  } else if (rest.rfind(L"/frame ", 0) == 0) {
    NextWord(rest);
    cls = L"ApplicationFrameWindow";
  } else if (rest.rfind(L"/quiet ", 0) == 0) {
    NextWord(rest);
    const DWORD parentId = static_cast<DWORD>(std::wcstoul(NextWord(rest).c_str(), nullptr, 10));
    const int depth = static_cast<int>(std::wcstol(NextWord(rest).c_str(), nullptr, 10));
    // Set by the process itself: Wine ignores a class given to CreateProcess.
    if (NextWord(rest) == L"idle") SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
    HANDLE starter = OpenProcess(SYNCHRONIZE, FALSE, parentId);
    if (!starter) return 1;
    if (depth > 0) StartChild(depth - 1, false);
    WaitForSingleObject(starter, INFINITE);
    CloseHandle(starter);
    return 0;
  } else if (rest.rfind(L"/tree ", 0) == 0) {
    NextWord(rest);
    gTree = true;
  } else if (rest.rfind(L"/core ", 0) == 0) {
    NextWord(rest);
    parent = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(NextWord(rest).c_str(), nullptr, 10)));
    cls = L"Windows.UI.Core.CoreWindow";
    style = WS_CHILD;
  }
  const std::wstring title = rest.empty() ? L"Quill window host" : rest;
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(cls, title.c_str(), style, parent ? 0 : 100, parent ? 0 : 100, 300, 200, parent,
                            nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  if (gTree) {
    StartChild(1, false);
    StartChild(0, true);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
