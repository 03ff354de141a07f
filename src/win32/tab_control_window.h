// The tab control as a Win32 child window. It owns the control's persistent
// off-screen image and the model, shows the image on WM_PAINT, holds the
// pages' child windows and translates messages into the input rules of
// tabctl/input.h. Events go to the sink the holder sets.
//
// Units: the model's contained-control Left (and AddControl's numbers) are
// twips, 1440 per inch of the system DPI (15 per pixel at 96 dpi), so that
// four pages a 10000-unit PageStride apart stay within the 16-bit window
// coordinates. AddPageControl takes pixels and converts.
//
// The window is destroyed with its parent. Destruction detaches the event
// sink (the holder is going away too), returns the pages to the tab-0
// arrangement, stops the hover timer and removes the window hooks.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tabctl/input.h"
#include "tabctl/tab_accessibility.h"
#include "tabctl/tab_renderer.h"
#include "tabctl/uc_page_tab.h"
#include "win32/gdi_canvas.h"
#include "win32/tab_system_win32.h"
#include "win32/unique_handle.h"
#include "win32/window_hooks.h"

namespace win32 {

class TabAccessible;

class TabControlWindow final : private tabctl::TabHost, private tabctl::InputHost {
 public:
  // A visible child of `parent` at (x, y), width x height pixels, with the
  // properties of a new control. Null when the window cannot be created.
  static std::unique_ptr<TabControlWindow> Create(HWND parent, int controlId, int x, int y, int width,
                                                  int height);
  ~TabControlWindow() override;
  TabControlWindow(const TabControlWindow&) = delete;
  TabControlWindow& operator=(const TabControlWindow&) = delete;

  // Null once the window has been destroyed.
  HWND hwnd() const { return hwnd_; }
  tabctl::ucPageTab& Control() { return control_; }
  tabctl::TabInput& Input() { return input_; }
  void SetEventSink(tabctl::ucPageTabEvents* sink) { control_.SetEventSink(sink); }

  // A key pressed on the control, or passed on by its holder (Ctrl+Page
  // Down from a page's control): the switching rules, then KeyDown with the
  // key code as it came.
  void KeyDown(WPARAM virtualKey, std::int16_t shift);

  // Puts `child` (a child of this window, or re-parented to it) on `page`
  // at (x, y) pixels in this window's client area. x must be above 0 and
  // below the page stride (10000 twips: 666 pixels at 96 dpi).
  void AddPageControl(HWND child, int page, int x, int y, int width, int height);

  // For the holder's message loop: an Alt+letter (WM_SYSCHAR) meant for a
  // window under the same top-level window as a tab control whose
  // access-key list holds the letter goes to that control. True when a
  // control took the message (do not translate or dispatch it then).
  static bool RouteAccessKey(const MSG& msg);

  // The public hover poll (also driven by the hover timer).
  void TimerEvent() { input_.TimerEvent(); }

  // Works out where the tabs are now, painting nothing: for those who ask
  // between two repaints (a screen reader).
  void LayOutTabs() { painter_->LayOutTabs(control_); }

  bool HooksInstalled() const { return !hooks_.Empty(); }
  bool HostHooked() const;
  int Dpi() const { return dpi_; }
  const GdiCanvas& Image() const { return canvas_; }

 private:
  TabControlWindow();
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The groups of messages HandleMessage hands on; nullopt: not answered.
  std::optional<LRESULT> OnHolderMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnDrawingMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnStateMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnKeyMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnHooked(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Initialise();
  void TearDown();
  void OnButtonDown(std::int16_t button, WPARAM wParam, LPARAM lParam, bool doubleClick);
  void OnButtonUp(std::int16_t button, WPARAM wParam, LPARAM lParam);
  HWND ChildAt(int index) const;
  RECT ChildRect(HWND child) const;
  // The accessible object for WM_GETOBJECT; false when oleacc cannot be had.
  bool AnswerGetObject(WPARAM wParam, LRESULT& result);
  // Tells screen readers what changed since they were last told.
  void RaiseAccessibleChanges();

  // ---- TabHost ----
  int ContainedControlCount() override;
  std::int32_t ContainedControlLeft(int index) override;
  void SetContainedControlLeft(int index, std::int32_t left) override;
  void PlaceControl(tabctl::ControlHandle control, platform::WindowHandle window,
                    const tabctl::ControlPlacement& placement) override;
  std::int32_t ControlWidth() override;
  void SetAccessKeys(const std::string& keys) override { accessKeys_ = keys; }
  void SetWindowEnabled(bool enabled) override;
  void LockDrawing() override;
  void UnlockDrawing() override;
  void SetPersistentImage(bool on) override { persistentImage_ = on; }
  void RepaintWindow() override;
  void PropertyChanged(std::string_view) override { RaiseAccessibleChanges(); }
  bool UserMode() override { return true; }
  tabctl::TabFont AmbientFont() override;
  tabctl::Color AmbientBackColor() override;
  platform::WindowHandle WindowHandle() override;
  std::int32_t ClientWidth() override;
  std::int32_t ClientHeight() override;
  void InstallHooks() override;
  void RemoveHooks() override;

  // ---- InputHost ----
  void StartHoverTimer() override;
  void StopHoverTimer() override;
  void RequestLeaveNotice() override;
  tabctl::PixelPoint CursorPosition() override;

  using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

  HWND hwnd_ = nullptr;
  HWND host_ = nullptr;
  int dpi_ = 96;
  HFONT font_ = nullptr;  // set by WM_SETFONT; not owned
  bool persistentImage_ = false;
  bool locked_ = false;
  bool terminated_ = false;
  std::int16_t buttonsDown_ = 0;
  bool doubleClicked_ = false;  // the left button is down for a double click's second press
  std::string accessKeys_;
  std::vector<HWND> children_;          // snapshot of the last count
  std::map<HWND, std::int32_t> lefts_;  // exact twips of each child
  UniqueModule trackingModule_;
  TrackMouseEventFn trackMouseEvent_ = nullptr;

  TabSystemWin32 system_;
  GdiCanvas canvas_;
  std::unique_ptr<tabctl::TabRenderer> painter_;
  tabctl::ucPageTab control_;
  tabctl::TabInput input_;
  WindowHooks hooks_;
  ComPtr<TabAccessible> accessible_;  // made at the first WM_GETOBJECT
  tabctl::AccessibleSnapshot accessibleState_;
};

}  // namespace win32
