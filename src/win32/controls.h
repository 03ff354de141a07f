// The engine's view of the main window's controls, over real Win32 controls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/acceleration.h"
#include "engine/history.h"

namespace win32 {

// Text of any window as UTF-8 (WM_GETTEXT).
std::string WindowText(HWND window);
void SetWindowTextUtf8(HWND window, const std::string& text);

class WindowControls : public engine::AccelerationControls {
 public:
  struct Handles {
    HWND checkState, comboSpeed, checkEnableRecord, labelInfo, labelCount, tooltip, checkChildren;
  };
  explicit WindowControls(const Handles& handles);
  ~WindowControls() override;
  WindowControls(const WindowControls&) = delete;
  WindowControls& operator=(const WindowControls&) = delete;

  bool AccelerationChecked() override;
  std::string SpeedText() override;
  bool RecordChecked() override;
  bool ChildrenChecked() override;
  void SetInfoCaption(const std::string& text) override;
  void SetInfoTooltip(const std::string& text) override;
  void SetCountCaption(const std::string& text) override;
  // Kept here and LabelInfo repainted; the window's WM_CTLCOLORSTATIC
  // picks the colour (which is how anyone outside sees it).
  void SetInfoWarning(bool warning) override;
  void ShowNotice(const std::string& text) override;

  bool InfoWarning() const { return infoWarning_; }
  // Where notices go (the tray balloon); without one they are dropped.
  void SetNoticeSink(std::function<void(const std::string&)> sink) { notice_ = std::move(sink); }

 private:
  static LRESULT CALLBACK StateProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  Handles h_;
  // CheckState as last set: every tick asks, and a message to the box costs
  // as much as a tenth of the foreground query it guards. Every change of
  // the box (click, key, BM_SETCHECK from anywhere) passes its window
  // procedure, which keeps this.
  bool stateChecked_ = false;
  bool stateWatched_ = false;
  bool infoWarning_ = false;
  std::function<void(const std::string&)> notice_;
};

// The warning colour of LabelInfo's text (dark red, as a BGR value).
inline constexpr COLORREF kInfoWarningColour = RGB(192, 0, 0);

// A report-mode list view and the drop-down list holding its threshold.
class ListViewHistory : public engine::HistoryList {
 public:
  ListViewHistory(HWND listView, HWND autoCleanCombo) : list_(listView), combo_(autoCleanCombo) {}

  int RowCount() override;
  void Clear() override;
  std::optional<int> AppendRow(const std::string& itemText) override;
  bool SetRowText(int row, int column, const std::string& text) override;
  bool SetRowIcon(int row, int imageIndex) override;
  std::string AutoCleanText() override;
  engine::HistoryEntry Row(int position) override;
  void SetRowPath(int row, const std::string& path) override;
  std::string RowPath(int row) override;

 private:
  std::string CellText(int row, int column);
  HWND list_;
  HWND combo_;
  // Rows are only ever added at the end or cleared all at once.
  std::vector<std::string> paths_;
};

}  // namespace win32
