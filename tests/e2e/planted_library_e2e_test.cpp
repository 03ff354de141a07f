// Libraries planted beside the program: users run it from Downloads, which
// holds whatever else the browser saved. A library there named like one the
// program imports or loads must never run inside it, and the program must
// still work (pictures on the tabs, the save dialog).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "e2e/accessible_client.h"
#include "e2e/driver.h"

using namespace std::chrono_literals;

namespace {

// What the program loads itself, or has loaded on its behalf, that Windows
// does not take from its known-DLL list: uxtheme (the visual-style name;
// Wine's comctl32 loads it too), comctl32 (loaded at its first call; the
// manifest names its version), comdlg32 (the save dialog), dwmapi and
// propsys (pulled in by the dialog), oleacc (the tab strip's accessible
// object, loaded when a screen reader first asks), and msimg32 and ole32,
// which Wine's uxtheme loads through a search of its own that ignores the
// program's limit to the system folder (ole32 is a known DLL on Windows,
// not under Wine). The build hands them over and puts them, native first,
// into the load order this program runs with.
// Left out: the known DLLs the program imports (kernel32, user32, gdi32,
// advapi32, shell32, msvcrt): Windows always takes them from the system
// folder, while Wine has no known-DLL list and loads a planted copy, and
// version with advapi32, before the program runs at all.
std::vector<std::wstring> PlantedNames() {
  std::vector<std::wstring> names;
  std::wstring all = L"" PLANTED_NAMES;
  for (std::size_t at = 0; at <= all.size();) {
    const std::size_t comma = std::min(all.find(L',', at), all.size());
    names.push_back(all.substr(at, comma - at));
    at = comma + 1;
  }
  return names;
}

// The tab strip as shown on the screen: its captions and pictures.
std::vector<std::uint32_t> TabStripPixels(HWND tabs) {
  RECT r{};
  GetWindowRect(tabs, &r);
  return e2e::ScreenPixels(tabs, r.top + 28);
}

// Runs the program from a folder (with the planted libraries or without),
// records one row, opens the save dialog and cancels it; returns the tab
// strip's pixels, or nothing when a step failed. Given the strip of another
// run, it waits for the strip to show the same (the last read when it
// never does); without, for it to stop changing.
std::vector<std::uint32_t> RunAndSave(const std::filesystem::path& folder, bool plant,
                                      const std::vector<std::uint32_t>* like = nullptr) {
  const auto exe = folder / L"Brevolt.exe";
  std::filesystem::copy_file(e2e::HostPath(BREVOLT_EXE), exe);
  e2e::WriteFileBytes(folder / L"config.ini",
                      "[Normal]\r\nEnableSpeed=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=300\r\n");
  if (plant) {
    for (const auto& name : PlantedNames()) {
      std::filesystem::copy_file(e2e::HostPath(PLANTED_LIBRARY), folder / (name + L".dll"));
    }
  }
  e2e::Process process = e2e::Process::Start(exe.wstring(), L"", folder.wstring());
  HWND main = process.FindWindowTitled(app::kMainCaption, 10s);
  if (!main) return {};
  SetWindowPos(main, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  SetForegroundWindow(main);
  HWND list = e2e::ControlById(main, app::kListViewHistory);
  if (!e2e::WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 3s)) return {};
  HWND tabStrip = e2e::ControlById(main, app::kSSTabMain);
  std::vector<std::uint32_t> strip;
  if (like) {
    if (!e2e::WaitUntil([&] { return (strip = TabStripPixels(tabStrip)) == *like; }, 5s) && strip.empty())
      return {};
  } else {
    strip = e2e::SteadyPixels([&] { return TabStripPixels(tabStrip); });
    if (strip.empty()) return {};
  }

  // A screen reader reads the tabs.
  HRESULT hr = E_FAIL;
  LONG tabs = 0;
  e2e::ComRef<IAccessible> object = e2e::ClientObject(e2e::ControlById(main, app::kSSTabMain), hr);
  if (!object || object->get_accChildCount(&tabs) != S_OK || tabs != 4) return {};

  HWND toolbar = e2e::ControlById(main, app::kToolbarSpeedMain);
  PostMessageW(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(app::kToolSave, BN_CLICKED),
               reinterpret_cast<LPARAM>(toolbar));
  HWND dialog = e2e::WaitForWindowOfClass(process.id(), L"#32770", 5s);
  // The file dialog, not a notice: it has the file name box.
  if (!dialog || (!GetDlgItem(dialog, 0x480) && !GetDlgItem(dialog, 0x47C))) return {};
  e2e::PressButton(dialog, IDCANCEL);
  if (!e2e::WaitUntil([&] { return !IsWindow(dialog); }, 5s)) return {};
  return strip;
}

std::vector<std::wstring> Markers(const std::filesystem::path& folder) {
  std::vector<std::wstring> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == L".ran") found.push_back(entry.path().filename().wstring());
  }
  return found;
}

TEST(PlantedLibraryEndToEnd, NoneRunsAndTheProgramDrawsAndSavesAsWithout) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  wchar_t order[1024] = {};
  GetEnvironmentVariableW(L"WINEDLLOVERRIDES", order, 1024);
  ASSERT_NE(std::wstring(order).find(L"comdlg32"), std::wstring::npos)
      << "run through CTest, which sets the native-first load order";
  e2e::TempFolder clean, planted;
  const std::vector<std::uint32_t> expected = RunAndSave(clean.path(), false);
  ASSERT_FALSE(expected.empty()) << "the program without planted libraries did not start or save";
  const std::vector<std::uint32_t> seen = RunAndSave(planted.path(), true, &expected);
  EXPECT_TRUE(Markers(planted.path()).empty())
      << "a planted library ran: "
      << std::filesystem::path(Markers(planted.path()).empty() ? L"" : Markers(planted.path()).front())
             .string();
  ASSERT_FALSE(seen.empty()) << "with planted libraries the program did not start or open the save dialog";
  // The pictures and captions of the tabs come out the same.
  EXPECT_TRUE(seen == expected);
}

}  // namespace
