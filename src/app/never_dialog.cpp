#include "app/never_dialog.h"

#include <commctrl.h>

#include <string>

#include "app/resources/resource_ids.h"
#include "engine/never_list.h"
#include "win32/text.h"

namespace app {
namespace {

struct Dialog {
  const settings::ModuleConfig* config;
  engine::NeverList list;
  bool changed = false;
};

void SetText(HWND window, const char* utf8) { SetWindowTextW(window, win32::Widen(utf8).c_str()); }

int Selected(HWND rules) {
  return static_cast<int>(SendMessageW(rules, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// The button names what it does to the selected rule; without one it is off.
void UpdateToggle(HWND dialog, const Dialog& state) {
  HWND toggle = GetDlgItem(dialog, IDC_NEVER_TOGGLE);
  const int row = Selected(GetDlgItem(dialog, IDC_NEVER_RULES));
  const auto& rules = state.list.Rules();
  if (row < 0 || static_cast<std::size_t>(row) >= rules.size()) {
    SetText(toggle, "删除");
    EnableWindow(toggle, FALSE);
    return;
  }
  SetText(toggle, engine::ToggleOf(rules[static_cast<std::size_t>(row)]).caption.c_str());
  EnableWindow(toggle, TRUE);
}

void SetCell(HWND rules, int row, int column, const std::string& text) {
  std::wstring wide = win32::Widen(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(rules, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void Fill(HWND dialog, Dialog& state, int select) {
  HWND rules = GetDlgItem(dialog, IDC_NEVER_RULES);
  state.list = engine::NeverList(state.config->GetExcludeRules());
  SendMessageW(rules, LVM_DELETEALLITEMS, 0, 0);
  int row = 0;
  for (const engine::RuleEntry& rule : state.list.Rules()) {
    std::wstring text = win32::Widen(rule.text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = text.data();
    SendMessageW(rules, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SetCell(rules, row, 1, rule.origin == engine::RuleOrigin::kBuiltIn ? "内置" : "自定义");
    const char* kind = rule.kind == engine::RuleKind::kWindowClass ? "窗口类"
                       : rule.kind == engine::RuleKind::kCapAtHigh ? "最多高优先级"
                                                                   : "程序";
    SetCell(rules, row, 2, kind);
    SetCell(rules, row, 3, rule.inForce ? "生效" : "已停用");
    ++row;
  }
  if (select >= row) select = row - 1;
  if (select >= 0) {
    LVITEMW state_{};
    state_.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state_.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(rules, LVM_SETITEMSTATE, static_cast<WPARAM>(select), reinterpret_cast<LPARAM>(&state_));
    SendMessageW(rules, LVM_ENSUREVISIBLE, static_cast<WPARAM>(select), FALSE);
  }
  UpdateToggle(dialog, state);
}

void SetUp(HWND dialog, Dialog& state) {
  SetText(dialog, "从不加速列表");
  SetText(GetDlgItem(dialog, IDC_NEVER_LABEL), "从不加速的程序（内置规则可停用，自定义规则可删除）：");
  SetText(GetDlgItem(dialog, IDCANCEL), "关闭");
  HWND rules = GetDlgItem(dialog, IDC_NEVER_RULES);
  SendMessageW(rules, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const struct {
    const char* title;
    int width;  // in dialog units
  } columns[] = {{"规则", 170}, {"来源", 40}, {"类型", 50}, {"状态", 40}};
  int index = 0;
  for (const auto& column : columns) {
    std::wstring title = win32::Widen(column.title);
    RECT width{0, 0, column.width, 0};
    MapDialogRect(dialog, &width);
    LVCOLUMNW lv{};
    lv.mask = LVCF_TEXT | LVCF_WIDTH;
    lv.cx = width.right;
    lv.pszText = title.data();
    SendMessageW(rules, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&lv));
  }
  Fill(dialog, state, 0);
}

void Toggle(HWND dialog, Dialog& state) {
  const int row = Selected(GetDlgItem(dialog, IDC_NEVER_RULES));
  const auto& rules = state.list.Rules();
  if (row < 0 || static_cast<std::size_t>(row) >= rules.size()) return;
  const engine::RuleEntry& rule = rules[static_cast<std::size_t>(row)];
  if (!state.config->SetConfigValue("Exclude", rule.text, engine::ToggleOf(rule).value)) {
    MessageBoxW(dialog, win32::Widen("无法保存：config.ini 无法写入。").c_str(), win32::Widen("提示").c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  state.changed = true;
  Fill(dialog, state, row);
  SetFocus(GetDlgItem(dialog, IDC_NEVER_RULES));
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetUp(dialog, *reinterpret_cast<Dialog*>(lParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (state && header->idFrom == IDC_NEVER_RULES && header->code == LVN_ITEMCHANGED)
        UpdateToggle(dialog, *state);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_NEVER_TOGGLE && HIWORD(wParam) == BN_CLICKED && state) {
        Toggle(dialog, *state);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool ShowNeverListDialog(HINSTANCE instance, HWND owner, const settings::ModuleConfig& config) {
  Dialog state{&config, engine::NeverList()};
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_NEVER_LIST), owner, &DialogProc,
                  reinterpret_cast<LPARAM>(&state));
  return state.changed;
}

}  // namespace app
