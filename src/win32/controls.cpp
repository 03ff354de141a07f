#include "win32/controls.h"

#include <commctrl.h>

#include "win32/text.h"

namespace win32 {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(length + 1, L'\0');
  const int n = GetWindowTextW(window, text.data(), length + 1);
  text.resize(n > 0 ? n : 0);
  return Narrow(text);
}

void SetWindowTextUtf8(HWND window, const std::string& text) { SetWindowTextW(window, Widen(text).c_str()); }

WindowControls::WindowControls(const Handles& handles) : h_(handles) {
  // The tooltip may say why a raise failed on a second line: a width makes
  // it break lines.
  if (h_.tooltip) SendMessageW(h_.tooltip, TTM_SETMAXTIPWIDTH, 0, 480);
  stateWatched_ =
      h_.checkState && SetWindowSubclass(h_.checkState, &WindowControls::StateProc,
                                         reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
  if (h_.checkState) stateChecked_ = SendMessageW(h_.checkState, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

WindowControls::~WindowControls() {
  if (stateWatched_) {
    RemoveWindowSubclass(h_.checkState, &WindowControls::StateProc, reinterpret_cast<UINT_PTR>(this));
  }
}

LRESULT CALLBACK WindowControls::StateProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self) {
  auto* controls = reinterpret_cast<WindowControls*>(self);
  if (message == WM_NCDESTROY) {
    // The box goes: from now on it is asked again (and answers unchecked).
    RemoveWindowSubclass(window, &WindowControls::StateProc, id);
    controls->stateWatched_ = false;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message == BM_SETCHECK) {
    // What the box made of it (a check box takes any non-zero value as checked).
    controls->stateChecked_ = DefSubclassProc(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  return result;
}

bool WindowControls::AccelerationChecked() {
  if (stateWatched_) return stateChecked_;
  return SendMessageW(h_.checkState, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string WindowControls::SpeedText() { return WindowText(h_.comboSpeed); }

bool WindowControls::RecordChecked() {
  return SendMessageW(h_.checkEnableRecord, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool WindowControls::ChildrenChecked() {
  return h_.checkChildren && SendMessageW(h_.checkChildren, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WindowControls::SetInfoCaption(const std::string& text) { SetWindowTextUtf8(h_.labelInfo, text); }

void WindowControls::SetInfoTooltip(const std::string& text) {
  std::wstring wide = Widen(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = GetParent(h_.labelInfo);
  tool.uId = reinterpret_cast<UINT_PTR>(h_.labelInfo);
  tool.lpszText = wide.data();
  SendMessageW(h_.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WindowControls::SetCountCaption(const std::string& text) { SetWindowTextUtf8(h_.labelCount, text); }

void WindowControls::SetInfoWarning(bool warning) {
  if (infoWarning_ == warning) return;
  infoWarning_ = warning;
  InvalidateRect(h_.labelInfo, nullptr, TRUE);
}

void WindowControls::ShowNotice(const std::string& text) {
  if (notice_) notice_(text);
}

int ListViewHistory::RowCount() { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

void ListViewHistory::Clear() {
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  paths_.clear();
}

void ListViewHistory::SetRowPath(int row, const std::string& path) {
  if (row < 0) return;
  if (paths_.size() <= static_cast<std::size_t>(row)) paths_.resize(static_cast<std::size_t>(row) + 1);
  paths_[static_cast<std::size_t>(row)] = path;
}

std::string ListViewHistory::RowPath(int row) {
  return row >= 0 && static_cast<std::size_t>(row) < paths_.size() ? paths_[static_cast<std::size_t>(row)]
                                                                   : "";
}

std::optional<int> ListViewHistory::AppendRow(const std::string& itemText) {
  std::wstring wide = Widen(itemText);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount();
  item.pszText = wide.data();
  const auto row = SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (row < 0) return std::nullopt;
  return static_cast<int>(row);
}

bool ListViewHistory::SetRowText(int row, int column, const std::string& text) {
  std::wstring wide = Widen(text);
  LVITEMW item{};
  item.iSubItem = column - 1;
  item.pszText = wide.data();
  return SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

bool ListViewHistory::SetRowIcon(int row, int imageIndex) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = imageIndex - 1;  // the history counts images from 1
  return SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

std::string ListViewHistory::AutoCleanText() { return WindowText(combo_); }

std::string ListViewHistory::CellText(int row, int column) {
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column - 1;
  item.pszText = buffer;
  item.cchTextMax = 1024;
  const auto n = SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return Narrow(std::wstring_view(buffer, static_cast<std::size_t>(n)));
}

engine::HistoryEntry ListViewHistory::Row(int position) {
  const int row = position - 1;
  return {CellText(row, 1), CellText(row, 2), CellText(row, 3), CellText(row, 4)};
}

}  // namespace win32
