// Pictures of the installer's and the uninstaller's screens for the
// documentation (scripts/screenshots): runs the installer as a user would,
// page by page, then the uninstaller, and saves each screen as a 24-bit BMP
// file into the folder given as the first argument:
//   installer-welcome, installer-folder, installer-finish,
//   uninstaller-confirm, uninstaller-settings (the question), uninstaller-finish
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "e2e/driver.h"
#include "screen_rect.h"

using namespace std::chrono_literals;

namespace {

// NSIS's wizard window: a dialog (of any process: the uninstaller runs a
// copy of itself) whose title begins with `title` (a page may add to it).
HWND WizardTitled(const std::wstring& title) {
  struct Search {
    const std::wstring* title;
    HWND found;
  };
  Search search{&title, nullptr};
  (void)e2e::WaitUntil(
      [&] {
        EnumWindows(
            [](HWND window, LPARAM state) {
              auto& s = *reinterpret_cast<Search*>(state);
              wchar_t text[256] = {}, cls[16] = {};
              GetWindowTextW(window, text, 256);
              GetClassNameW(window, cls, 16);
              if (IsWindowVisible(window) && std::wstring(cls) == L"#32770" &&
                  std::wstring(text).rfind(*s.title, 0) == 0) {
                s.found = window;
                return FALSE;
              }
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      20s);
  return search.found;
}

// Waits for the paint to settle, then saves the window.
bool Save(HWND window, const std::wstring& folder, const wchar_t* name) {
  SetForegroundWindow(window);
  Sleep(1200);
  return shots::SaveScreenRect(shots::WindowRect(window), folder + L"\\" + name + L".bmp");
}

// The wizard's Next / Install / Finish button (id 1), pressed as a click does.
void Next(HWND wizard) { SendMessageW(GetDlgItem(wizard, 1), BM_CLICK, 0, 0); }

// Waits until the wizard shows a control whose text holds `text` (the page
// in sight: hidden pages' controls do not count).
bool PageWith(HWND wizard, const std::wstring& text) {
  struct Search {
    const std::wstring* text;
    bool seen;
  };
  return e2e::WaitUntil(
      [&] {
        Search search{&text, false};
        EnumChildWindows(
            wizard,
            [](HWND child, LPARAM state) {
              auto& s = *reinterpret_cast<Search*>(state);
              wchar_t caption[512] = {};
              GetWindowTextW(child, caption, 512);
              if (IsWindowVisible(child) && std::wstring(caption).find(*s.text) != std::wstring::npos)
                s.seen = true;
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.seen;
      },
      30s);
}

// Says which step did not come, for the one who runs the tool.
int Fail(int step) {
  std::fprintf(stderr, "installer_shots: step %d did not come\n", step);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::wstring folder = e2e::HostPath(argv[1]);
  const std::wstring version = L"" QUILLMOOR_VERSION;

  e2e::Process setup = e2e::Process::Start(e2e::HostPath(SETUP_EXE), L"", L"");
  HWND wizard = WizardTitled(L"Quillmoor Brevolt " + version + L" 安装");
  if (!wizard) return Fail(1);
  SetWindowPos(wizard, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  if (!PageWith(wizard, L"欢迎安装") || !Save(wizard, folder, L"installer-welcome")) return Fail(2);
  Next(wizard);
  if (!PageWith(wizard, L"选择安装位置") || !Save(wizard, folder, L"installer-folder")) return Fail(3);
  Next(wizard);
  if (!PageWith(wizard, L"已安装到") || !Save(wizard, folder, L"installer-finish")) return Fail(4);
  Next(wizard);
  if (WaitForSingleObject(setup.handle(), 20000) != WAIT_OBJECT_0) return Fail(5);

  // Settings beside the program, as a run as administrator leaves them:
  // the uninstaller asks about them.
  wchar_t programFiles[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles);
  const std::filesystem::path installed = std::filesystem::path(programFiles) / L"Quillmoor" / L"Brevolt";
  e2e::WriteFileBytes(installed / L"config.ini", "[Normal]\r\nEnableSpeed=1\r\n");
  e2e::Process uninstall = e2e::Process::Start((installed / L"uninstall.exe").wstring(), L"", L"");
  HWND remover = WizardTitled(L"Quillmoor Brevolt " + version + L" 卸载");
  if (!remover) return Fail(6);
  SetWindowPos(remover, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  if (!PageWith(remover, L"稍后会询问") || !Save(remover, folder, L"uninstaller-confirm")) return Fail(7);
  Next(remover);
  HWND question = nullptr;
  if (!e2e::WaitUntil(
          [&] {
            // A message box owned by the wizard.
            struct Search {
              HWND owner, found;
            } search{remover, nullptr};
            EnumWindows(
                [](HWND window, LPARAM state) {
                  auto& s = *reinterpret_cast<Search*>(state);
                  if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == s.owner) s.found = window;
                  return s.found == nullptr ? TRUE : FALSE;
                },
                reinterpret_cast<LPARAM>(&search));
            question = search.found;
            return question != nullptr;
          },
          20s)) {
    return Fail(8);
  }
  // The question over the wizard: both in the picture.
  SetForegroundWindow(question);
  Sleep(1200);
  RECT both = shots::WindowRect(remover);
  const RECT box = shots::WindowRect(question);
  UnionRect(&both, &both, &box);
  if (!shots::SaveScreenRect(both, folder + L"\\uninstaller-settings.bmp")) return Fail(9);
  e2e::PressButton(question, IDYES);
  if (!PageWith(remover, L"成功从本机卸载") || !Save(remover, folder, L"uninstaller-finish")) return Fail(10);
  Next(remover);
  return e2e::WaitUntil([&] { return !IsWindow(remover); }, 20s) ? 0 : 1;
}
