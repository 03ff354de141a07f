#include "app/interim_window.h"

#include <commctrl.h>

#include "app/control_ids.h"
#include "engine/acceleration.h"
#include "engine/history.h"
#include "platform/win32/controls.h"
#include "platform/win32/system_ports.h"
#include "platform/win32/text.h"

namespace app {
namespace {

constexpr wchar_t kClassName[] = L"QuillmoorMain";
constexpr UINT_PTR kTimerMain = 1;

struct Window {
  HWND hwnd = nullptr;
  HFONT font = nullptr;  // shared system font, not owned
  HIMAGELIST images = nullptr;
  win32::SystemForegroundWindows windows;
  win32::SystemProcessPriorities processes;
  win32::SystemClock clock;
  win32::SystemAnsiCodePage codePage;
  std::unique_ptr<win32::WindowControls> controls;
  std::unique_ptr<win32::ListViewHistory> history;
  engine::AccelerationState state;

  void Tick() {
    engine::Tick(state, {windows, processes, clock, codePage, *controls, *history});
  }
};

HWND AddControl(HWND parent, HFONT font, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
                int x, int y, int w, int h) {
  HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                               nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

HWND AddCombo(Window& w, int id, int x, int y, std::initializer_list<const char*> items, int select) {
  HWND combo = AddControl(w.hwnd, w.font, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL,
                          id, x, y, 120, 200);
  for (const char* item : items) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Widen(item).c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, select, 0);
  return combo;
}

void CreateControls(Window& w) {
  HWND check = AddControl(w.hwnd, w.font, WC_BUTTONW, win32::Widen("启用加速功能").c_str(),
                          BS_AUTOCHECKBOX | WS_TABSTOP, kCheckState, 12, 12, 160, 22);
  HWND speed = AddCombo(w, kComboSpeed, 180, 12, {"普通加速", "疯狂加速"}, 0);
  HWND record = AddControl(w.hwnd, w.font, WC_BUTTONW, win32::Widen("启用加速记录").c_str(),
                           BS_AUTOCHECKBOX | WS_TABSTOP, kCheckEnableRecord, 12, 42, 160, 22);
  HWND autoClean = AddCombo(w, kComboAutoCleanCount, 180, 42, {"50", "100", "200", "300"}, 0);
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(record, BM_SETCHECK, BST_CHECKED, 0);

  AddControl(w.hwnd, w.font, WC_STATICW, win32::Widen("正在加速的程序：").c_str(), 0, 0, 12, 78, 120, 20);
  HWND info = AddControl(w.hwnd, w.font, WC_STATICW, L"LabelInfo", SS_NOTIFY | SS_ENDELLIPSIS,
                         kLabelInfo, 132, 78, 440, 20);
  AddControl(w.hwnd, w.font, WC_STATICW, win32::Widen("已加速程序数量：").c_str(), 0, 0, 12, 102, 120, 20);
  HWND count = AddControl(w.hwnd, w.font, WC_STATICW, L"LabelCount", 0, kLabelCount, 132, 102, 200, 20);

  HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 0, 0, 0, 0, w.hwnd, nullptr, nullptr, nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = w.hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(info);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));

  HWND list = AddControl(w.hwnd, w.font, WC_LISTVIEWW, L"",
                         LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                         kListViewHistory, 12, 130, 560, 260);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  const struct {
    const char* header;
    int width;
  } columns[] = {{"NO.", 60}, {"时间", 80}, {"加速记录", 287}, {"加速度", 96}};
  for (int i = 0; i < 4; ++i) {
    std::wstring header = win32::Widen(columns[i].header);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = header.data();
    column.cx = columns[i].width;
    column.iSubItem = i;
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  w.images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
  HICON icon = static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 16, 16, LR_SHARED));
  ImageList_AddIcon(w.images, icon);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(w.images));

  w.controls = std::make_unique<win32::WindowControls>(
      win32::WindowControls::Handles{check, speed, record, info, count, tooltip});
  w.history = std::make_unique<win32::ListViewHistory>(list, autoClean);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      w = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      w->hwnd = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
      break;
    }
    case WM_CREATE:
      w->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
      CreateControls(*w);
      SetTimer(hwnd, kTimerMain, 1000, nullptr);
      w->Tick();  // the window's load runs one tick before the first timer event
      return 0;
    case WM_TIMER:
      if (wParam == kTimerMain) w->Tick();
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
      KillTimer(hwnd, kTimerMain);
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      if (w) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (w->images) ImageList_Destroy(w->images);
        delete w;
      }
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool CreateInterimWindow(HINSTANCE instance, int showCommand) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return false;

  RECT rect{0, 0, 584, 402};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  auto* state = new Window;
  HWND hwnd = CreateWindowExW(0, kClassName, kMainCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance,
                              state);
  if (!hwnd) {
    delete state;
    return false;
  }
  ShowWindow(hwnd, showCommand);
  UpdateWindow(hwnd);
  return true;
}

}  // namespace app
