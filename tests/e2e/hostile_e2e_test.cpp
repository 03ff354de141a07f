// The real program against hostile surroundings: settings files it cannot
// make sense of, cannot hold in a small buffer or cannot write, window titles
// at the length where the shown text is cut, and history saves that fail
// one way or another before one that works.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <random>

#include "app/control_ids.h"
#include "e2e/driver.h"
#include "win32/controls.h"
#include "win32/text.h"
#include "win32/unique_handle.h"

using namespace std::chrono_literals;

namespace {

using e2e::Checked;
using e2e::Click;
using e2e::Contains;
using e2e::Topmost;

// ---- config.ini ----

TEST(HostileConfigEndToEnd, RandomBytesStartAndTheNextChoiceIsStored) {
  std::mt19937 random(20261208);
  std::string bytes(64 * 1024, '\0');
  for (char& b : bytes) b = static_cast<char>(random() & 0xFF);
  e2e::BrevoltApp app(bytes);
  ASSERT_TRUE(app.Started());
  EXPECT_TRUE(IsWindowVisible(app.Main()));
  Click(app.Control(app::kCheckMostTop));
  EXPECT_EQ(Topmost(app.Main()), Checked(app.Control(app::kCheckMostTop)));
  const std::string ini = app.ConfigIni();
  EXPECT_TRUE(Contains(ini, Checked(app.Control(app::kCheckMostTop)) ? "AlwaysTop=1" : "AlwaysTop=0"));
  EXPECT_TRUE(app.process().Running());
}

// Stored options ahead of ten megabytes of other lines: all are applied and
// the program's own writes keep every other line.
TEST(HostileConfigEndToEnd, TenMegabyteFileIsReadAndKeptWhole) {
  std::string ini =
      "[Normal]\r\nEnableSpeed=1\r\nAlwaysTop=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=100\r\n";
  ini += "[Notes]\r\n";
  for (int line = 0; ini.size() < 10u * 1024 * 1024; ++line) {
    ini += "note" + std::to_string(line) + "=" + std::string(90, 'n') + "\r\n";
  }
  const std::string lastLine = ini.substr(ini.rfind("note"));
  e2e::BrevoltApp app(ini);
  ASSERT_TRUE(app.Started());
  EXPECT_TRUE(Checked(app.Control(app::kCheckState)));
  EXPECT_TRUE(Checked(app.Control(app::kCheckEnableRecord)));
  EXPECT_TRUE(Topmost(app.Main()));
  EXPECT_EQ(e2e::TextOf(app.Control(app::kComboAutoCleanCount)), "100");

  Click(app.Control(app::kCheckAutoMin));
  const std::string after = app.ConfigIni();
  EXPECT_TRUE(Contains(after, "AutoMin=1"));
  EXPECT_GE(after.size(), 10u * 1024 * 1024);
  EXPECT_TRUE(Contains(after, lastLine));
  EXPECT_TRUE(Contains(after, "RecordCount=100"));
}

// A value of 100,000 characters where a short one is read, and another one
// beside it: the other options still apply and both values stay as they were.
TEST(HostileConfigEndToEnd, HundredThousandCharacterValuesChangeNothingElse) {
  const std::string longCount(100000, '5');
  std::string longNote;
  while (longNote.size() < 100000) longNote += "加速";  // double-byte in the file
  const std::string ini =
      "[Normal]\r\nEnableSpeed=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=" + longCount +
      "\r\n[Notes]\r\nnote=" + win32::Utf8ToAnsi(longNote) + "\r\n";
  e2e::BrevoltApp app(ini);
  ASSERT_TRUE(app.Started());
  EXPECT_TRUE(Checked(app.Control(app::kCheckState)));
  EXPECT_TRUE(Checked(app.Control(app::kCheckEnableRecord)));
  EXPECT_EQ(SendMessageW(app.Control(app::kComboAutoCleanCount), CB_GETCURSEL, 0, 0), CB_ERR);

  Click(app.Control(app::kCheckMostTop));
  const std::string after = app.ConfigIni();
  EXPECT_TRUE(Contains(after, "AlwaysTop=1"));
  EXPECT_TRUE(Contains(after, "RecordCount=" + longCount + "\r\n"));
  EXPECT_TRUE(Contains(after, "note=" + win32::Utf8ToAnsi(longNote) + "\r\n"));
}

// Saved by Notepad as "UTF-8 with BOM": Windows' own profile functions
// would take the mark for part of "[Speed]", read 疯狂加速 and append a
// second [Speed]. The first section is read, and a click changes its one
// value, every other byte (the UTF-8 note among them) staying as it was.
TEST(HostileConfigEndToEnd, Utf8MarkedFileKeepsItsFirstSectionAndEveryLine) {
  const std::string ini =
      "\xEF\xBB\xBF[Speed]\r\nSpeedLevel=1\r\n; 用记事本保存\r\n\r\n[Normal]\r\nEnableSpeed = 1\r\n"
      "AlwaysTop=0\r\n[Record]\r\nEnableRecord=0\r\n";
  e2e::BrevoltApp app(ini);
  ASSERT_TRUE(app.Started());
  EXPECT_EQ(e2e::TextOf(app.Control(app::kComboSpeed)), "普通加速");
  EXPECT_TRUE(Checked(app.Control(app::kCheckState)));
  Click(app.Control(app::kCheckMostTop));
  EXPECT_TRUE(Topmost(app.Main()));
  std::string expected = ini;
  expected.replace(expected.find("AlwaysTop=0"), 11, "AlwaysTop=1");
  EXPECT_EQ(app.ConfigIni(), expected);
}

// ---- titles at the cut ----

// Titles of exactly 253, 254 and 255 ANSI bytes ending in a double-byte
// character: the shown text keeps at most 254 bytes and never half a
// character, on the label and in the history alike.
TEST(HostileTitlesEndToEnd, TitlesAroundTheCutEndingInDoubleByteCharacters) {
  e2e::BrevoltApp app(
      "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\n[Record]\r\nEnableRecord=1\r\n");
  ASSERT_TRUE(app.Started());
  HWND info = app.Control(app::kLabelInfo);
  HWND list = app.Control(app::kListViewHistory);
  const struct {
    std::string title, shown;
    size_t ansiBytes;
  } cases[] = {
      {std::string(251, 'a') + "加", std::string(251, 'a') + "加", 253},
      {std::string(252, 'b') + "加", std::string(252, 'b') + "加", 254},
      {std::string(253, 'c') + "加", std::string(253, 'c'), 255},  // the last character goes
  };
  const std::wstring hostExe = e2e::HostPath(WINDOW_HOST_EXE);
  for (const auto& c : cases) {
    ASSERT_EQ(win32::Utf8ToAnsi(c.title).size(), c.ansiBytes);
    const std::wstring title = win32::Widen(c.title);
    e2e::Process host = e2e::Process::Start(hostExe, title, L"");
    HWND window = host.FindWindowTitled(title, 10s);
    ASSERT_NE(window, nullptr);
    const bool shown = e2e::WaitUntil(
        [&] {
          if (GetForegroundWindow() != window) SetForegroundWindow(window);
          SendMessageW(app.Main(), WM_TIMER, 1, 0);
          return e2e::TextOf(info) == c.shown;
        },
        3s);
    EXPECT_TRUE(shown) << c.ansiBytes << " bytes: " << e2e::TextOf(info);
    const auto rows = e2e::ListViewRows(list, 3);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back()[2], c.shown);
  }
}

// ---- a foreground process that refuses set rights ----

// The switch to it is still shown, counted and recorded; it keeps its class,
// and the next switch raises the next process as usual.
// The warning shows as LabelInfo's text colour: the status page in sight,
// the hosts' windows moved off it so that the screen shows it.
TEST(HostileProcessEndToEnd, ForegroundProcessRefusingSetRights) {
  e2e::BrevoltApp app(
      "[Normal]\r\nEnableSpeed=1\r\n[Speed]\r\nSpeedLevel=1\r\n[Record]\r\nEnableRecord="
      "1\r\n");
  ASSERT_TRUE(app.Started());
  SendMessageW(app.Control(app::kSSTabMain), WM_KEYDOWN, VK_RIGHT, 0);  // from the about page round to status
  ASSERT_EQ(e2e::ActivePage(app), 0);
  const auto warningShown = [&](bool shown) {
    return e2e::WaitUntil(
        [&] {
          return (e2e::PixelsOfColour(app.Control(app::kLabelInfo), win32::kInfoWarningColour) > 0) == shown;
        },
        3s);
  };
  const std::wstring hostExe = e2e::HostPath(WINDOW_HOST_EXE);
  e2e::Process guarded =
      e2e::Process::Start(hostExe, L"Quill guarded", L"", L"D:(D;;0x0200;;;WD)(A;;GA;;;WD)");
  e2e::Process open = e2e::Process::Start(hostExe, L"Quill open", L"");
  HWND guardedWindow = guarded.FindWindowTitled(L"Quill guarded", 10s);
  HWND openWindow = open.FindWindowTitled(L"Quill open", 10s);
  ASSERT_NE(guardedWindow, nullptr);
  ASSERT_NE(openWindow, nullptr);
  HWND info = app.Control(app::kLabelInfo);
  RECT main{}, label{};
  GetWindowRect(app.Main(), &main);
  GetWindowRect(info, &label);
  for (HWND host : {guardedWindow, openWindow}) {
    SetWindowPos(host, nullptr, main.right + 4, main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{}, both{};
    GetWindowRect(host, &r);
    ASSERT_FALSE(IntersectRect(&both, &r, &label)) << "a host's window covers LabelInfo";
  }
  const auto bringUp = [&](HWND window, const std::string& title) {
    return e2e::WaitUntil(
        [&] {
          if (GetForegroundWindow() != window) SetForegroundWindow(window);
          SendMessageW(app.Main(), WM_TIMER, 1, 0);
          return e2e::TextOf(info) == title;
        },
        3s);
  };
  ASSERT_TRUE(bringUp(openWindow, "Quill open"));
  // A window that was just started may still take the activation once;
  // let both hosts finish starting before counting.
  WaitForInputIdle(guarded.handle(), 10000);
  WaitForInputIdle(open.handle(), 10000);
  ASSERT_TRUE(e2e::Settle(guardedWindow) && e2e::Settle(openWindow));
  ASSERT_TRUE(bringUp(openWindow, "Quill open"));
  EXPECT_EQ(open.PriorityClass(), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  const int before = std::atoi(e2e::TextOf(app.Control(app::kLabelCount)).c_str());

  EXPECT_TRUE(warningShown(false)) << "a warning for a process that was raised";
  EXPECT_EQ(e2e::ToolTipTextOf(info), "Quill open");

  ASSERT_TRUE(bringUp(guardedWindow, "Quill guarded"));
  EXPECT_EQ(guarded.PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  // The caption stays the title; the colour and the tooltip tell the truth.
  EXPECT_TRUE(warningShown(true)) << "no warning colour for a process that kept its class";
  EXPECT_EQ(
      e2e::ToolTipTextOf(info),
      "Quill "
      "guarded\n请求：高，实际：正常。没有更改该进程优先级的权限（以管理员身份运行的或受保护的进程）。");
  EXPECT_EQ(open.PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(app.process().PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  // Counted like any change (an activation the window host takes for
  // itself on the way may add one more).
  EXPECT_GE(std::atoi(e2e::TextOf(app.Control(app::kLabelCount)).c_str()), before + 1);
  const auto rows = e2e::ListViewRows(app.Control(app::kListViewHistory), 3);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back()[2], "Quill guarded");

  ASSERT_TRUE(bringUp(openWindow, "Quill open"));
  EXPECT_EQ(open.PriorityClass(), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
  EXPECT_EQ(guarded.PriorityClass(), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_TRUE(warningShown(false)) << "the warning stayed after a process was raised again";
}

// ---- saving the history ----

class HostileSaveEndToEnd : public ::testing::Test {
 protected:
  e2e::BrevoltApp app_{"[Normal]\r\nEnableSpeed=1\r\n[Record]\r\nEnableRecord=1\r\nRecordCount=300\r\n"};

  void SetUp() override {
    ASSERT_TRUE(app_.Started());
    SetForegroundWindow(app_.Main());
    list_ = app_.Control(app::kListViewHistory);
    ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) > 0; }, 3s));
    // Ticks stop adding rows from here (unchecked without being stored), so
    // the rows read before a save are the rows it writes.
    SendMessageW(app_.Control(app::kCheckState), BM_SETCHECK, BST_UNCHECKED, 0);
  }

  // Saves through the toolbar and the file dialog (cancelled when `name`
  // is empty); returns the notice shown afterwards.
  std::string Save(const std::filesystem::path& name) {
    HWND toolbar = app_.Control(app::kToolbarSpeedMain);
    PostMessageW(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(app::kToolSave, BN_CLICKED),
                 reinterpret_cast<LPARAM>(toolbar));
    HWND dialog = e2e::WaitForWindowOfClass(app_.process().id(), L"#32770", 5s);
    if (!dialog) return "<no dialog>";
    if (name.empty()) {
      e2e::PressButton(dialog, IDCANCEL);
    } else {
      HWND edit = GetDlgItem(dialog, 0x480);  // the file name box
      if (!edit) edit = GetDlgItem(dialog, 0x47C);
      if (!edit) return "<no name box>";
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
      e2e::PressButton(dialog, IDOK);
    }
    if (!e2e::WaitUntil([&] { return !IsWindow(dialog); }, 5s)) {
      // The dialog refused the name itself: whatever it says, then give up.
      HWND box = nullptr;
      EnumThreadWindows(
          GetWindowThreadProcessId(dialog, nullptr),
          [](HWND w, LPARAM p) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (IsWindowVisible(w) && wcscmp(cls, L"#32770") == 0 && GetWindow(w, GW_OWNER)) {
              *reinterpret_cast<HWND*>(p) = w;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&box));
      const std::string said = box ? e2e::DialogText(box) : "";
      if (box) e2e::PressButton(box, IDOK);
      bool closed = e2e::WaitUntil([&] { return !box || !IsWindow(box); }, 3s);
      e2e::PressButton(dialog, IDCANCEL);
      closed = e2e::WaitUntil([&] { return !IsWindow(dialog); }, 3s) && closed;
      const std::string after = TakeNotice();
      return "<dialog kept the name: " + said + (closed ? "" : ", and stayed") + "; then " + after + ">";
    }
    return TakeNotice();
  }

  std::string TakeNotice() { return e2e::TakeNotice(app_.process().id(), 5s); }

  // The file a save writes from the rows now in the list.
  std::string Expected() {
    std::string text = win32::Utf8ToAnsi("Quillmoor 加速记录\r\nhttp://www.quillmoor.example/\r\n");
    for (const auto& row : e2e::ListViewRows(list_, 3)) {
      text += win32::Utf8ToAnsi(row[0] + " " + row[1] + " " + row[2] + " \r\n");
    }
    return text;
  }

  HWND list_ = nullptr;
};

constexpr char kSaved[] = "提示|保存成功。";

TEST_F(HostileSaveEndToEnd, EachFailureKeepsWhatWasThereAndTheNextSaveWorks) {
  const auto folder = app_.Folder();

  // A folder that does not exist: the dialog takes the name, the write fails.
  const auto inMissing = folder / L"missing" / L"log.txt";
  std::string notice = Save(inMissing);
  EXPECT_EQ(notice.rfind("提示|", 0), 0u) << notice;
  EXPECT_NE(notice, kSaved);
  EXPECT_FALSE(std::filesystem::exists(inMissing));
  std::filesystem::create_directory(folder / L"missing");
  std::string expected = Expected();
  EXPECT_EQ(Save(inMissing), kSaved);
  EXPECT_EQ(e2e::ReadFileBytes(inMissing), expected);

  // A read-only file.
  const auto readOnly = folder / L"readonly.txt";
  e2e::WriteFileBytes(readOnly, "kept");
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  notice = Save(readOnly);
  EXPECT_EQ(notice.rfind("提示|", 0), 0u) << notice;
  EXPECT_NE(notice, kSaved);
  EXPECT_EQ(e2e::ReadFileBytes(readOnly), "kept");
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  expected = Expected();
  EXPECT_EQ(Save(readOnly), kSaved);
  EXPECT_EQ(e2e::ReadFileBytes(readOnly), expected);

  // A file another program holds open without sharing.
  const auto held = folder / L"held.txt";
  e2e::WriteFileBytes(held, "kept");
  {
    win32::UniqueHandle lock(
        CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    notice = Save(held);
    EXPECT_EQ(notice.rfind("提示|", 0), 0u) << notice;
    EXPECT_NE(notice, kSaved);
  }
  EXPECT_EQ(e2e::ReadFileBytes(held), "kept");
  expected = Expected();
  EXPECT_EQ(Save(held), kSaved);
  EXPECT_EQ(e2e::ReadFileBytes(held), expected);

  // A cancelled dialog, then a save.
  notice = Save({});
  EXPECT_EQ(notice.rfind("提示|", 0), 0u) << notice;
  EXPECT_NE(notice, kSaved);
  const auto after = folder / L"after.txt";
  expected = Expected();
  EXPECT_EQ(Save(after), kSaved);
  EXPECT_EQ(e2e::ReadFileBytes(after), expected);

  // No temporary file left behind by any failure.
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().wstring().find(L".tmp"), std::wstring::npos) << entry.path();
  }
  EXPECT_TRUE(app_.process().Running());
}

}  // namespace
