#include "win32/tab_system_win32.h"

#include "win32/lazy_library.h"

// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <uxtheme.h>
// clang-format on

#include "win32/text.h"

namespace win32 {
namespace {

constexpr int kThemeBufferChars = 255;
constexpr int kFileNameChars = 255;

}  // namespace

std::optional<tabctl::OsVersionInfo> TabSystemWin32::VersionEx() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // the 148-byte record
  if (!GetVersionExA(&info)) return std::nullopt;
  return tabctl::OsVersionInfo{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                               info.dwBuildNumber};
}

std::optional<std::string> TabSystemWin32::CurrentThemeColorBuffer() {
  wchar_t fileName[kThemeBufferChars] = {};
  wchar_t colorName[kThemeBufferChars] = {};
  static const auto getCurrentThemeName =
      LazyProc<decltype(&GetCurrentThemeName)>(L"uxtheme.dll", "GetCurrentThemeName");
  if (!getCurrentThemeName) return std::nullopt;
  if (FAILED(getCurrentThemeName(fileName, kThemeBufferChars, colorName, kThemeBufferChars, nullptr, 0))) {
    return std::nullopt;
  }
  return Narrow(std::wstring_view(colorName, kThemeBufferChars));
}

std::int32_t TabSystemWin32::SmallIconWidth() { return GetSystemMetrics(SM_CXSMICON); }

std::int32_t TabSystemWin32::LargeIconWidth() { return GetSystemMetrics(SM_CXICON); }

std::string TabSystemWin32::ShowOpenFileDialog(platform::WindowHandle owner,
                                               const std::string& initialDirectory, const std::string& filter,
                                               const std::string& title) {
  const std::wstring wideFilter = Widen(filter);
  const std::wstring wideDirectory = Widen(initialDirectory);
  const std::wstring wideTitle = Widen(title);
  wchar_t file[kFileNameChars + 1] = {};

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = reinterpret_cast<HWND>(owner);
  ofn.lpstrFilter = wideFilter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = kFileNameChars + 1;
  ofn.lpstrInitialDir = wideDirectory.empty() ? nullptr : wideDirectory.c_str();
  ofn.lpstrTitle = wideTitle.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  static const auto getOpenFileName =
      LazyProc<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  JoinComApartment();  // the dialog's folder view is made of COM objects
  if (!getOpenFileName || !getOpenFileName(&ofn)) return {};
  return Narrow(file);
}

}  // namespace win32
