#include "e2e/driver.h"

#include <commctrl.h>
#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/control_ids.h"
#include "platform/texts.h"
#include "win32/gdi_objects.h"
#include "win32/text.h"

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

bool Settle(HWND window, int rounds) {
  for (int i = 0; i < rounds; ++i) {
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored)) return false;
  }
  return true;
}

bool BringToFront(HWND window, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        return GetForegroundWindow() == window;
      },
      timeout);
}

Process::~Process() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

Process Process::Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
                       const wchar_t* security) {
  std::wstring commandLine = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  Process p;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (security && !ConvertStringSecurityDescriptorToSecurityDescriptorW(security, SDDL_REVISION_1,
                                                                        &descriptor, nullptr)) {
    return p;
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const BOOL started =
      CreateProcessW(exe.c_str(), commandLine.data(), descriptor ? &attributes : nullptr, nullptr, FALSE, 0,
                     nullptr, dir.empty() ? nullptr : dir.c_str(), &si, &pi);
  if (descriptor) LocalFree(descriptor);
  if (started) {
    CloseHandle(pi.hThread);
    p.process_.reset(pi.hProcess);
    p.id_ = pi.dwProcessId;
  }
  return p;
}

namespace {

// Waits for a top-level window of the process that satisfies `match`.
HWND WaitForTopWindow(DWORD processId, const std::function<bool(HWND)>& match,
                      std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  const bool seen = WaitUntil(
      [&] {
        for (HWND window : TopWindowsOf(processId)) {
          if (match(window)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeout);
  return seen ? found : nullptr;
}

}  // namespace

HWND Process::FindWindowTitled(const std::wstring& title, std::chrono::milliseconds timeout,
                               bool visibleOnly) const {
  return WaitForTopWindow(
      id_,
      [&](HWND hwnd) {
        wchar_t text[256] = {};
        GetWindowTextW(hwnd, text, 256);
        return (!visibleOnly || IsWindowVisible(hwnd)) && title == text;
      },
      timeout);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  // A folder that did not exist before: two made within one tick, or one
  // left by an earlier run under a reused process id, must not be shared.
  static int made = 0;
  for (;;) {
    path_ =
        std::filesystem::path(base) / (L"quill-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++made));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<HWND> TopWindowsOf(DWORD processId) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->pid) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  return win32::Narrow(std::wstring_view(buffer, copied));
}

BrevoltApp::BrevoltApp(const std::string& configIni, bool readOnlyConfig)
    : BrevoltApp([&](const std::filesystem::path& folder) {
        if (!configIni.empty()) WriteFileBytes(folder / L"config.ini", configIni);
        if (readOnlyConfig) SetFileAttributesW((folder / L"config.ini").c_str(), FILE_ATTRIBUTE_READONLY);
      }) {}

BrevoltApp::BrevoltApp(const std::function<void(const std::filesystem::path& folder)>& prepare) {
  std::filesystem::copy_file(HostPath(BREVOLT_EXE), folder_.path() / L"Brevolt.exe");
  prepare(folder_.path());
  Start();
}

void BrevoltApp::Start() {
  main_ = nullptr;
  process_ = Process::Start((folder_.path() / L"Brevolt.exe").wstring(), L"", folder_.path().wstring());
  if (process_.handle())
    main_ = process_.FindWindowTitled(platform::kMainCaptionW, std::chrono::seconds(10), false);
  // Start-up has ended once the program waits for input and the window is
  // shown, or its tray icon is there (the hide request follows it at once);
  // a loaded machine may take seconds. A start that never got there is no
  // start: Started() says so.
  if (!main_) return;
  const bool ready =
      WaitForInputIdle(process_.handle(), 10000) == 0 &&
      WaitUntil([&] { return IsWindowVisible(main_) || TrayIconPresent(main_); }, std::chrono::seconds(10)) &&
      Settle(main_);
  if (!ready) main_ = nullptr;
}

bool BrevoltApp::Restart() {
  { const Process ending = std::move(process_); }  // terminated as it goes
  Start();
  return Started();
}

bool TrayIconPresent(HWND main) {
  // Only an existing icon can be modified.
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = main;
  data.uID = 0;
  data.uFlags = NIF_TIP;
  wcscpy(data.szTip, L"Quillmoor");
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

BrevoltApp::~BrevoltApp() {
  // The folder can only be removed once nothing in it is read-only.
  SetFileAttributesW((folder_.path() / L"config.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::string BrevoltApp::ConfigIni() const { return ReadFileBytes(folder_.path() / L"config.ini"); }

HWND ControlById(HWND top, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      top,
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        if (GetDlgCtrlID(hwnd) == s->id) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindowOfClass(DWORD processId, const wchar_t* cls, std::chrono::milliseconds timeout) {
  return WaitForTopWindow(
      processId,
      [&](HWND hwnd) {
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        return IsWindowVisible(hwnd) && wcscmp(name, cls) == 0;
      },
      timeout);
}

std::string DialogText(HWND dialog) {
  std::string text;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (_wcsicmp(name, L"Static") != 0) continue;
    const std::string part = TextOf(child);
    if (part.empty()) continue;
    if (!text.empty()) text += "\n";
    text += part;
  }
  return text;
}

std::vector<std::uint32_t> ScreenPixels(HWND window, LONG bottom) {
  RECT r{};
  GetWindowRect(window, &r);
  if (bottom > r.top && bottom < r.bottom) r.bottom = bottom;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return {};
  win32::UniqueWindowDc screen(nullptr);
  win32::UniqueMemoryDc memory = win32::UniqueMemoryDc::CompatibleWith(screen.get());
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  win32::UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  win32::ScopedSelection selection(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  return {pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height)};
}

int PixelsOfColour(HWND window, COLORREF colour) {
  const int want[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  int count = 0;
  for (const std::uint32_t pixel : ScreenPixels(window)) {
    const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
    if (std::abs(red - want[0]) < 60 && std::abs(green - want[1]) < 60 && std::abs(blue - want[2]) < 60)
      ++count;
  }
  return count;
}

std::vector<std::uint32_t> SteadyPixels(const std::function<std::vector<std::uint32_t>()>& look,
                                        std::chrono::milliseconds timeout) {
  std::vector<std::uint32_t> last = look();
  int same = 0;
  const bool steady = WaitUntil(
      [&] {
        std::vector<std::uint32_t> now = look();
        same = now == last ? same + 1 : 0;
        last = std::move(now);
        return same >= 4;
      },
      timeout);
  return steady ? last : std::vector<std::uint32_t>{};
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace {

// "caption|text" of a notice box, which is closed; false when it stayed.
bool CloseNotice(HWND box, std::string& said) {
  using namespace std::chrono_literals;
  said = TextOf(box) + "|" + DialogText(box);
  PressButton(box, IDOK);
  if (WaitUntil([&] { return !IsWindow(box); }, 3s)) return true;
  said += " <did not close>";
  return false;
}

}  // namespace

std::string TakeNotice(DWORD processId, std::chrono::milliseconds wait) {
  HWND box = WaitForWindowOfClass(processId, L"#32770", wait);
  if (!box) return "<no notice>";
  std::string said;
  CloseNotice(box, said);
  return said;
}

std::vector<std::string> TakeNotices(DWORD processId, std::chrono::milliseconds wait) {
  using namespace std::chrono_literals;
  std::vector<std::string> notices;
  while (HWND box = WaitForWindowOfClass(processId, L"#32770", notices.empty() ? wait : 1000ms)) {
    std::string said;
    const bool closed = CloseNotice(box, said);
    notices.push_back(said);
    if (!closed) break;
  }
  return notices;
}

std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns) {
  std::vector<std::vector<std::string>> rows;
  DWORD pid = 0;
  GetWindowThreadProcessId(listView, &pid);
  win32::UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return rows;
  constexpr SIZE_T kText = 512;
  void* remote = VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMW) + kText * sizeof(wchar_t), MEM_COMMIT,
                                PAGE_READWRITE);
  if (!remote) return rows;
  auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
  const int count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = remoteText;
      item.cchTextMax = kText;
      WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr);
      const auto n = SendMessageW(listView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote));
      std::wstring text(static_cast<size_t>(n), L'\0');
      if (n > 0) ReadProcessMemory(process.get(), remoteText, text.data(), n * sizeof(wchar_t), nullptr);
      cells.push_back(win32::Narrow(text));
    }
    rows.push_back(cells);
  }
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return rows;
}

namespace {
constexpr char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

RefusedRunKey::RefusedRunKey(HKEY root) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, kRunKeyPath, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  key_.reset(key);
  DWORD size = 0;
  RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
  old_.resize(size);
  if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, old_.data(), &size) != ERROR_SUCCESS) return;
  PSECURITY_DESCRIPTOR deny = nullptr;
  // Set value and create subkey denied to Everyone, reading allowed.
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x6;;;WD)(A;;KR;;;WD)", SDDL_REVISION_1,
                                                            &deny, nullptr)) {
    return;
  }
  active_ = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, deny) == ERROR_SUCCESS;
  LocalFree(deny);
}

RefusedRunKey::~RefusedRunKey() {
  if (active_) RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, old_.data());
}

std::string RunValue(HKEY root, REGSAM view) {
  char data[512] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, kRunKeyPath, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return "<none>";
  const LONG status = RegQueryValueExA(key, "Brevolt", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return "<none>";
  return type == REG_SZ ? std::string(data) : "<not REG_SZ>";
}

bool WriteRunValue(HKEY root, REGSAM view, const std::string& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG status = RegSetValueExA(key, "Brevolt", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>(data.size() + 1));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

HttpOpener::HttpOpener(const std::wstring& command) {
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  wchar_t old[1024] = {};
  DWORD size = sizeof old - sizeof(wchar_t);
  hadOld_ =
      RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
  old_ = old;
  active_ = Set(command);
}

HttpOpener::~HttpOpener() {
  if (!key_) return;
  if (hadOld_) {
    Set(old_);
  } else {
    RegDeleteValueW(key_, nullptr);
  }
  RegCloseKey(key_);
}

bool HttpOpener::Set(const std::wstring& value) {
  return RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool HttpOpener::Opened(const wchar_t* address, std::chrono::milliseconds timeout) {
  HWND opened = nullptr;
  if (!WaitUntil([&] { return (opened = FindWindowW(nullptr, address)) != nullptr; }, timeout)) return false;
  // Closed again, so that a later test finds only its own.
  PostMessageW(opened, WM_CLOSE, 0, 0);
  return WaitUntil([&] { return FindWindowW(nullptr, address) == nullptr; }, std::chrono::seconds(5));
}

int ActivePage(const BrevoltApp& app) {
  RECT tabs{};
  GetWindowRect(app.Control(app::kSSTabMain), &tabs);
  const int firsts[] = {app::kLabelCount, app::kCheckAutoRun, app::kListViewHistory, app::kLabelHomePage};
  for (int page = 0; page < 4; ++page) {
    RECT r{};
    GetWindowRect(app.Control(firsts[page]), &r);
    if (r.left >= tabs.left && r.right <= tabs.right) return page;
  }
  return -1;
}

std::filesystem::path PerUserConfig() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::filesystem::path(folder) / L"Quillmoor" / L"config.ini";
}

std::string ToolTipTextOf(HWND tool) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tool, &pid);
  win32::UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return {};
  constexpr SIZE_T kText = 1024;
  void* remote = VirtualAllocEx(process.get(), nullptr, sizeof(TOOLINFOW) + kText * sizeof(wchar_t),
                                MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return {};
  auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(TOOLINFOW));
  std::vector<HWND> tips;
  for (HWND window : TopWindowsOf(pid)) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (_wcsicmp(name, TOOLTIPS_CLASSW) == 0) tips.push_back(window);
  }
  std::string found;
  for (HWND tip : tips) {
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = remoteText;
    const wchar_t none = 0;
    WriteProcessMemory(process.get(), remoteText, &none, sizeof none, nullptr);
    WriteProcessMemory(process.get(), remote, &info, sizeof info, nullptr);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(tip, TTM_GETTEXTW, kText, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    std::wstring text(kText, L'\0');
    ReadProcessMemory(process.get(), remoteText, text.data(), kText * sizeof(wchar_t), nullptr);
    text.resize(wcsnlen(text.c_str(), kText));
    if (!text.empty()) {
      found = win32::Narrow(text);
      break;
    }
  }
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return found;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace e2e
