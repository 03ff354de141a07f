// The main window: a thin view over the window's rules (shell::FormMainRules)
// and the program's objects (app::Program, which owns them). It builds the
// controls from the table of form_layout.h, turns Win32 messages into calls
// of the rules and carries out what the rules ask.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form_layout.h"
#include "app/program.h"
#include "quillmoor/pagetab/page_tab_events.h"
#include "quillmoor/pagetab/page_tab_window.h"
#include "shell/form_main.h"
#include "shell/tray.h"
#include "win32/gdi_objects.h"
#include "win32/tray_icon.h"
#include "win32/unique_handle.h"

namespace app {

class FormMain : public shell::FormMainView, public tabctl::ucPageTabEvents {
 public:
  // Creates the window with its controls (hidden), runs the load event and
  // shows the window unless start-up hid it to the tray. Null when the
  // window cannot be made. The caller keeps the form until its message
  // loop has ended: the window may go while code below a modal loop still
  // runs on it.
  static std::unique_ptr<FormMain> Create(HINSTANCE instance);
  ~FormMain() override;
  FormMain(const FormMain&) = delete;
  FormMain& operator=(const FormMain&) = delete;

  // Null once the window is gone.
  HWND hwnd() const { return hwnd_; }
  win32::TabControlWindow* TabControl() { return tabs_.get(); }

  // For the message loop: keyboard navigation between the controls (Tab,
  // Shift+Tab, Ctrl+Tab, Ctrl+Page Up/Down, Enter on a button). True when
  // the message was used up.
  bool TranslateKeys(const MSG& msg);

  // shell::FormMainView
  bool IsChecked(shell::Check box) override;
  void SetChecked(shell::Check box, bool checked) override;
  void FillCombo(shell::Combo list, const std::vector<std::string>& items) override;
  int Selection(shell::Combo list) override;
  void Select(shell::Combo list, int index) override;
  std::string ComboText(shell::Combo list) override;
  void SetUpPages() override;
  void SetTopmost(bool topmost) override;
  void RunTick() override;
  void PutBackRaised() override;
  void ResetLinkStyle() override;
  void InstallWindowHook() override;
  void RemoveWindowHook() override;
  void AddTrayIcon() override;
  void DeleteTrayIcon() override;
  void SendHideRequest() override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void CancelModalSteps() override;
  void Unload() override;
  void Notice(const std::string& text) override;
  void ShowNextNotice();

  // tabctl::ucPageTabEvents: the tab control's mouse drives dragging and
  // the link style; a switch takes the focus off the page that went.
  void MouseDown(std::int16_t button, std::int16_t shift, float x, float y) override;
  void MouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;
  void TabSwitch(std::int16_t previousTab) override;

 private:
  explicit FormMain(HINSTANCE instance);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // The window hook: a minimise hides, the tray icon's clicks restore or
  // open the menu; everything else goes on to Handle.
  LRESULT Hooked(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's messages, each a small handler; std::nullopt: not handled
  // here, DefWindowProc has it.
  std::optional<LRESULT> OnRegistered(UINT message, WPARAM wParam);
  std::optional<LRESULT> OnCreate();
  std::optional<LRESULT> OnTimer(WPARAM timer);
  std::optional<LRESULT> OnSystemColours(WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnActivate(WPARAM wParam);
  std::optional<LRESULT> OnContextMenu(HWND window, LPARAM at);
  std::optional<LRESULT> OnDestroy();
  LRESULT OnColor(HDC dc, HWND control);
  void PaintBackground(HDC dc);
  void Start();

  // Layout (form_layout.cpp's table, placed here).
  bool CreateControls();
  bool CreateTabControl();
  void FinishControls();
  void FitToText(const ControlRow& row, int& left, int& width, int& height);
  void CreateWorkers();
  HWND Place(const ControlRow& row);
  int LabelHeight(const ControlRow& row, int pixels) const;
  int LabelWidth(const ControlRow& row, int pixels) const;
  static void DrawLinkFocus(HWND link);
  bool OpenFocusedLink();
  void SetUpHistoryList();
  void SetUpToolbar();
  void SetUpTooltip();

  // Commands.
  void OnCommand(int id, int code, HWND control);
  void OnToolbar(int id);
  void OnNeverListButton();
  void OpenUpdatePage();
  void ShowTrayMenu();
  // The history list's menu for the row at a screen point (from the mouse)
  // or the focused row (-1, from the keyboard).
  void ShowHistoryMenu(LPARAM at);
  void AddNeverRule(const std::string& path);
  void ShowAndRestore();
  void HideToTray();
  void ShowWithState(int command);
  void BeginWindowDrag();
  void SetLinkHover(HWND link, bool hover);
  void OpenLink(HWND link);
  HBRUSH PageBrush(HWND control);
  bool HighContrast();

  // Keyboard.
  std::vector<HWND> FocusOrder() const;
  void MoveFocus(int step);
  void SwitchPage(bool forward);
  void RestoreFocus();
  // The history list and the toolbar show the focus whenever they have it.
  void KeepFocusInSight();

  int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }
  HWND Control(int id) const;

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  int dpi_ = 96;
  bool created_ = false;
  bool hiddenToTray_ = false;
  bool hooked_ = false;               // the window hook is on
  std::optional<bool> highContrast_;  // read when first needed after a change
  bool topmost_ = false;
  bool loading_ = false;
  bool homeHover_ = false, bbsHover_ = false;
  HICON icon_ = nullptr;    // shared with the window class: not destroyed
  HCURSOR hand_ = nullptr;  // shared
  HWND tooltip_ = nullptr;  // destroyed with the window
  HWND lastFocus_ = nullptr;

  FormFonts fonts_;
  win32::UniqueBitmap banner_;
  std::vector<win32::UniqueBitmap> pictures_;
  win32::UniqueBrush pageBrush_;
  COLORREF pageBrushColour_ = 0;
  win32::UniqueImageList historyImages_;
  win32::UniqueImageList toolbarImages_;

  std::unique_ptr<win32::TabControlWindow> tabs_;
  std::map<int, HWND> controls_;  // by control id; plain labels are not kept
  // While the controls are placed: how far a label grown for its text has
  // pushed what follows it on its line, by page and top.
  std::map<std::pair<int, int>, int> lineShift_;

  std::deque<std::string> notices_;  // waiting to be shown
  Program program_;
  win32::TrayIcon tray_;
};

}  // namespace app
