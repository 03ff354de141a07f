// The installer (NSIS, built by the windows build) and its uninstaller, run
// silently as a deployment tool would, around the real program started from
// where it was installed.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "win32/text.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuillmoorBrevolt";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kSwitchRun[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kSwitchRun32[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";
constexpr wchar_t kRecordsKey[] = L"Software\\Quillmoor\\Brevolt";
// Acceleration on at the normal level (HIGH), so a window in front is raised.
constexpr char kAccelerating[] = "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\n";

fs::path KnownFolder(int csidl) {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder);
  return folder;
}

fs::path QuillmoorFolder() { return KnownFolder(CSIDL_PROGRAM_FILES) / L"Quillmoor"; }
fs::path InstallFolder() { return QuillmoorFolder() / L"Brevolt"; }
fs::path InstalledExe() { return InstallFolder() / L"Brevolt.exe"; }
fs::path Shortcut() { return KnownFolder(CSIDL_COMMON_PROGRAMS) / L"Quillmoor Brevolt.lnk"; }
fs::path PerUserFolder() { return KnownFolder(CSIDL_APPDATA) / L"Quillmoor"; }

bool Exists(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
}

// A text value in the 64-bit view, or "<none>".
std::wstring ReadText(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = KEY_WOW64_64KEY) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  DWORD type = 0;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return L"<none>";
  const LONG status = RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return L"<none>";
  if (type != REG_SZ) return L"<not REG_SZ>";
  return data;
}

DWORD ReadNumber(HKEY root, const wchar_t* key, const wchar_t* name) {
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
    return 0;
  }
  return data;
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

bool ValueExists(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = KEY_WOW64_64KEY) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return false;
  const bool there = RegQueryValueExW(opened, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(opened);
  return there;
}

bool WriteText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& text, REGSAM view) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG status = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

// Task Manager's switch of a Run value: "off", as Windows writes it.
bool WriteSwitch(HKEY root, const wchar_t* key) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const BYTE off[12] = {3};
  const LONG status = RegSetValueExW(opened, L"Brevolt", 0, REG_BINARY, off, sizeof off);
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_SET_VALUE | view, &opened) != ERROR_SUCCESS) return;
  RegDeleteValueW(opened, name);
  RegCloseKey(opened);
}

constexpr DWORD kElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED

// A command line run to its end (the installer asks for elevation: where a
// plain start is refused for that, it is started as the shell would).
// Its exit code, or -1 when it did not start or end in time.
long RunToEnd(const std::wstring& exe, const std::wstring& arguments,
              std::chrono::milliseconds timeout = std::chrono::seconds(120)) {
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  HANDLE process = nullptr;
  if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &pi)) {
    CloseHandle(pi.hThread);
    process = pi.hProcess;
  } else if (GetLastError() == kElevationRequired) {
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = L"runas";
    run.lpFile = exe.c_str();
    run.lpParameters = arguments.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&run)) process = run.hProcess;
  }
  if (!process) return -1;
  const win32::UniqueHandle owned(process);
  if (WaitForSingleObject(process, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    TerminateProcess(process, 99);
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return static_cast<long>(code);
}

std::wstring SetupExe() { return e2e::HostPath(BREVOLT_SETUP_EXE); }

// Splits a command as the uninstall entry holds it: "program" arguments.
std::pair<std::wstring, std::wstring> SplitCommand(const std::wstring& command) {
  if (command.empty() || command[0] != L'"') return {command, L""};
  const auto close = command.find(L'"', 1);
  if (close == std::wstring::npos) return {command.substr(1), L""};
  std::wstring rest = command.substr(close + 1);
  while (!rest.empty() && rest[0] == L' ') rest.erase(0, 1);
  return {command.substr(1, close - 1), rest};
}

bool NothingInstalled() {
  return !Exists(InstallFolder()) && !Exists(Shortcut()) && !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey);
}

// The uninstaller copies itself into the temporary folder and returns at
// once while the copy works (as every NSIS uninstaller does, so that it can
// delete itself): what it removes is waited for.
[[nodiscard]] bool UninstallSilently(const std::wstring& extra = L"") {
  const auto [program, arguments] =
      SplitCommand(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString"));
  if (RunToEnd(program, arguments + extra) != 0) return false;
  return e2e::WaitUntil([] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, 60s);
}

// Whatever an earlier, failed run left: gone before a test and after it.
void RemoveEverything() {
  if (KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) (void)UninstallSilently();
  std::error_code ignored;
  fs::remove_all(InstallFolder(), ignored);
  fs::remove(QuillmoorFolder(), ignored);
  fs::remove(Shortcut(), ignored);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY, 0);
}

class InstallerEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveEverything();
    ASSERT_TRUE(NothingInstalled());
  }
  void TearDown() override {
    RemoveEverything();
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, L"Brevolt", view);
      DeleteValue(HKEY_CURRENT_USER, kRunKey, L"Brevolt", view);
    }
    DeleteValue(HKEY_USERS, (std::wstring(L".DEFAULT\\") + kRunKey).c_str(), L"Brevolt", KEY_WOW64_64KEY);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      DeleteValue(root, kSwitchRun, L"Brevolt", KEY_WOW64_64KEY);
      DeleteValue(root, kSwitchRun32, L"Brevolt", KEY_WOW64_64KEY);
    }
  }

  // The installed program, started from its folder, until its window waits for input.
  [[nodiscard]] bool StartInstalled() {
    program_ = e2e::Process::Start(InstalledExe().wstring(), L"", InstallFolder().wstring());
    main_ = program_.FindWindowTitled(app::kMainCaption, 10s, false);
    return main_ && WaitForInputIdle(program_.handle(), 10000) == 0 &&
           e2e::WaitUntil([&] { return IsWindowVisible(main_) || e2e::TrayIconPresent(main_); }, 10s) &&
           e2e::Settle(main_);
  }

  e2e::Process program_;
  HWND main_ = nullptr;
};

TEST_F(InstallerEndToEnd, SilentInstallThenTheProgramThenSilentUninstallLeavesNothingOfIt) {
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);

  // The program, the uninstaller, the shortcut and the entry with every field.
  const std::wstring folder = InstallFolder().wstring();
  ASSERT_TRUE(Exists(InstalledExe()));
  EXPECT_EQ(e2e::ReadFileBytes(InstalledExe()), e2e::ReadFileBytes(e2e::HostPath(BREVOLT_EXE)));
  EXPECT_TRUE(Exists(InstallFolder() / L"uninstall.exe"));
  EXPECT_TRUE(Exists(Shortcut()));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Quillmoor Brevolt");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), L"" QUILLMOOR_VERSION);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Quillmoor");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"), folder + L"\\Brevolt.exe,0");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"), folder);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"),
            L"\"" + folder + L"\\uninstall.exe\"");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString"),
            L"\"" + folder + L"\\uninstall.exe\" /S");
  // In KiB: the program and the uninstaller, rounded as Windows shows it.
  const auto bytes = fs::file_size(InstalledExe()) + fs::file_size(InstallFolder() / L"uninstall.exe");
  EXPECT_NEAR(static_cast<double>(ReadNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize")),
              static_cast<double>(bytes) / 1024.0, 2.0);

  // Started from there, it writes its settings beside itself (Wine lets
  // the user write under Program Files) and, checked, its Run value.
  e2e::WriteFileBytes(InstallFolder() / L"config.ini", kAccelerating);
  ASSERT_TRUE(StartInstalled()) << "the installed program did not start";
  const std::wstring quoted = L"\"" + InstalledExe().wstring() + L"\"";
  HWND autoRun = e2e::ControlById(main_, app::kCheckAutoRun);
  ASSERT_NE(autoRun, nullptr);
  e2e::Click(autoRun);
  ASSERT_TRUE(e2e::WaitUntil(
      [&] { return e2e::Checked(autoRun) && ReadText(HKEY_CURRENT_USER, kRunKey, L"Brevolt") == quoted; },
      10s))
      << "Run value: " << win32::Narrow(ReadText(HKEY_CURRENT_USER, kRunKey, L"Brevolt"));
  ASSERT_TRUE(e2e::WaitUntil(
      [] { return e2e::Contains(e2e::ReadFileBytes(InstallFolder() / L"config.ini"), "AutoRun=1"); }, 10s));

  // It raises the window in front, and keeps a record of that.
  e2e::Process host = e2e::Process::Start(e2e::HostPath(WINDOW_HOST_EXE), L"Quill installer host", L"");
  HWND hostWindow = host.FindWindowTitled(L"Quill installer host", 10s);
  ASSERT_NE(hostWindow, nullptr);
  WaitForInputIdle(host.handle(), 10000);
  ASSERT_TRUE(e2e::BringToFront(hostWindow));
  ASSERT_TRUE(e2e::WaitUntil([&] { return host.PriorityClass() == HIGH_PRIORITY_CLASS; }, 5s));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Quillmoor\\Brevolt\\Raised"));

  // What else names the program: the 32-bit view's machine-wide value (a
  // 32-bit build wrote it; another case, no quotes) and Task Manager's
  // switches; and what does not: another program called Brevolt.
  const std::wstring other = L"C:\\Other\\Brevolt.exe";
  ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kRunKey, L"Brevolt", other, KEY_WOW64_64KEY));
  ASSERT_TRUE(WriteSwitch(HKEY_LOCAL_MACHINE, kSwitchRun));
  std::wstring upper = InstalledExe().wstring();
  CharUpperW(upper.data());
  ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kRunKey, L"Brevolt", upper, KEY_WOW64_32KEY));
  ASSERT_TRUE(WriteSwitch(HKEY_LOCAL_MACHINE, kSwitchRun32));
  ASSERT_TRUE(WriteSwitch(HKEY_CURRENT_USER, kSwitchRun));
  // Another user's hive that is loaded (the one at the desktop, when an
  // administrator's password raised the uninstaller): the same value there.
  const std::wstring otherUsersRun = std::wstring(L".DEFAULT\\") + kRunKey;
  ASSERT_TRUE(WriteText(HKEY_USERS, otherUsersRun.c_str(), L"Brevolt", quoted, KEY_WOW64_64KEY));
  // The per-user copy of the settings, as a standard user's run leaves it.
  e2e::WriteFileBytes(PerUserFolder() / L"config.ini", kAccelerating);

  // Silently, with the program still running: it exits as its own exit
  // does (the window in front goes back to NORMAL), then everything goes.
  ASSERT_TRUE(UninstallSilently());
  EXPECT_TRUE(e2e::WaitUntil([&] { return !program_.Running(); }, 10s));
  DWORD code = 99;
  GetExitCodeProcess(program_.handle(), &code);
  EXPECT_EQ(code, 0u) << "the program was ended, not asked to exit";
  EXPECT_EQ(host.PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_TRUE(e2e::WaitUntil([] { return !Exists(QuillmoorFolder()); }, 30s))
      << "left under Program Files: " << QuillmoorFolder().string();
  EXPECT_FALSE(Exists(Shortcut()));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRunKey, L"Brevolt"), L"<none>");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, L"Brevolt", KEY_WOW64_32KEY), L"<none>");
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSwitchRun32, L"Brevolt"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kSwitchRun, L"Brevolt"));
  EXPECT_EQ(ReadText(HKEY_USERS, otherUsersRun.c_str(), L"Brevolt"), L"<none>");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRecordsKey));
  EXPECT_FALSE(Exists(PerUserFolder()));
  // Another program's value, and its switch, stay.
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, L"Brevolt"), other);
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSwitchRun, L"Brevolt"));
}

TEST_F(InstallerEndToEnd, InstallOverARunningCopyEndsItFirstAndKeepsItsSettings) {
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  const std::string settings = std::string(kAccelerating) + "[Test]\r\nMarker=kept\r\n";
  e2e::WriteFileBytes(InstallFolder() / L"config.ini", settings);
  ASSERT_TRUE(StartInstalled()) << "the installed program did not start";

  // The installer waits for the old copy to have ended before it writes.
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  EXPECT_FALSE(program_.Running());
  DWORD code = 99;
  GetExitCodeProcess(program_.handle(), &code);
  EXPECT_EQ(code, 0u) << "the program was ended, not asked to exit";
  EXPECT_TRUE(Exists(InstalledExe()));
  EXPECT_TRUE(e2e::Contains(e2e::ReadFileBytes(InstallFolder() / L"config.ini"), "Marker=kept"));

  // Uninstalled with the switch that keeps the settings: they alone stay.
  ASSERT_TRUE(UninstallSilently(L" /KEEPSETTINGS"));
  ASSERT_TRUE(e2e::WaitUntil([] { return !Exists(InstalledExe()); }, 30s));
  EXPECT_TRUE(e2e::Contains(e2e::ReadFileBytes(InstallFolder() / L"config.ini"), "Marker=kept"));
  EXPECT_FALSE(Exists(InstallFolder() / L"uninstall.exe"));
  EXPECT_FALSE(Exists(Shortcut()));
}

// A copy that does not answer the exit request (an old build, or one
// stuck): the installer replaces nothing and says so with its exit code;
// so does the uninstaller, which then removes nothing.
TEST_F(InstallerEndToEnd, ACopyThatDoesNotExitStopsInstallAndUninstallWithNothingChanged) {
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  // A stand-in with the program's window class and file name that ignores the request.
  std::error_code error;
  fs::copy_file(e2e::HostPath(WINDOW_HOST_EXE), InstalledExe(), fs::copy_options::overwrite_existing, error);
  ASSERT_FALSE(error) << error.message();
  const std::string standIn = e2e::ReadFileBytes(InstalledExe());
  e2e::Process stuck = e2e::Process::Start(
      InstalledExe().wstring(), L"/class QuillmoorFormMain Quill stuck copy", InstallFolder().wstring());
  ASSERT_NE(stuck.FindWindowTitled(L"Quill stuck copy", 10s), nullptr);

  EXPECT_EQ(RunToEnd(SetupExe(), L"/S"), 2);
  EXPECT_TRUE(stuck.Running());
  EXPECT_EQ(e2e::ReadFileBytes(InstalledExe()), standIn) << "the program was replaced under a running copy";

  // In place (_?=), the uninstaller itself returns its exit code.
  const std::wstring uninstaller = (InstallFolder() / L"uninstall.exe").wstring();
  EXPECT_EQ(RunToEnd(uninstaller, L"/S _?=" + InstallFolder().wstring()), 2);
  EXPECT_TRUE(stuck.Running());
  EXPECT_TRUE(Exists(InstalledExe()));
  EXPECT_TRUE(Exists(Shortcut()));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

}  // namespace
