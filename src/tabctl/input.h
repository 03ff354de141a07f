// How the tab control reacts to the mouse, the keyboard, access keys, focus
// changes, hover and the messages its window hooks deliver. The rules live
// here so that they can be tested without a window; the Win32 window class
// only translates messages into these calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/keys.h"
#include "tabctl/uc_page_tab.h"

namespace tabctl {

// Buttons and modifier bits as the events carry them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;

// The keys the switching rules act on; the window translates its key codes
// into these once. Every other key is Other.
using TabKey = platform::Key;

struct PixelPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Nearest integer, halves to even (the rounding of the control's
// coordinates).
std::int32_t RoundCoordinate(float value);

// The taller of the two tab heights: nothing below it is a tab.
std::int32_t TabStripHeight(const ucPageTab& control);

// Themes 1 and 4 draw a hover highlight and poll for its end.
bool HasHoverHighlight(TabThemes theme);

// The first enabled tab whose rectangle holds the point (edges included);
// -1 below the strip or when none does.
std::int32_t HitTestTab(const ucPageTab& control, float x, float y);

// The tab a hover highlight goes to: the first enabled tab whose rectangle
// spans x, when the point is not below the strip and that tab is not the
// active one; -1 otherwise.
std::int32_t HoverTabAt(const ucPageTab& control, float x, float y);

// The first tab whose close box holds the point; -1 when none does. A tab
// whose close box has not been laid out (empty rectangle) has none.
std::int32_t ControlBoxAt(const ucPageTab& control, std::int32_t x, std::int32_t y);

// The tab a key selects: Right (or Ctrl+Page Down) the next one, wrapping
// from the last to tab 0; Left (or Ctrl+Page Up) the previous one, wrapping
// from tab 0 to the last. A disabled neighbour is not skipped: the key does
// nothing. -1 when nothing changes.
std::int32_t KeyboardTarget(const ucPageTab& control, TabKey key, std::int16_t shift);

// The first enabled tab other than the active one whose access key is the
// character; -1 when none.
std::int32_t AccessKeyTarget(const ucPageTab& control, std::int32_t character);

// Whether a (UTF-8) access-key list holds the character, upper-cased as the
// keys are stored.
bool AccessKeyListHas(std::string_view keys, std::int32_t character);

// Child-window positions of the Win32 control are kept in twips (1440 per
// inch), so that pages a PageStride apart stay within 16-bit window
// coordinates. Rounded to the nearest unit, halves away from zero.
std::int32_t TwipsFromPixels(std::int32_t pixels, std::int32_t dpi);
std::int32_t PixelsFromTwips(std::int32_t twips, std::int32_t dpi);

// What the input rules need from the window besides the TabHost.
class InputHost {
 public:
  virtual ~InputHost() = default;
  // The hover poll: a 10 ms timer with identifier 0 on the control's window.
  virtual void StartHoverTimer() = 0;
  virtual void StopHoverTimer() = 0;
  // Asks for one notice when the mouse leaves the window.
  virtual void RequestLeaveNotice() = 0;
  // The cursor in client pixels.
  virtual PixelPoint CursorPosition() = 0;
};

// The control's input handling. Ordinary events come from the control's
// window procedure; the Hooked and Host calls from its window hooks.
class TabInput {
 public:
  TabInput(ucPageTab& control, InputHost& host) : control_(control), host_(host) {}
  TabInput(const TabInput&) = delete;
  TabInput& operator=(const TabInput&) = delete;

  // ---- ordinary events ----
  void MouseDown(std::int16_t button, std::int16_t shift, float x, float y);
  void MouseMove(std::int16_t button, std::int16_t shift, float x, float y);
  void MouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  void Click();
  void DblClick();
  // `key` is what the rules act on; `keyCode` goes to the KeyDown event as
  // the window received it.
  void KeyDown(TabKey key, std::int16_t keyCode, std::int16_t shift);
  void KeyUp(std::int16_t keyCode, std::int16_t shift);
  void KeyPress(std::int16_t keyAscii);
  // An access key of this control was pressed (any case).
  void AccessKeyPress(std::int32_t character);
  void GotFocus();
  void LostFocus();
  void Shown();
  // The hover poll: ends the highlight once the cursor has left it.
  void TimerEvent();
  // What a left click on tab `tab` does once it has been hit (-1: on no
  // tab): ends a hover highlight and switches to an enabled tab, busy.
  // MouseDown goes through it; so does a screen reader's default action.
  void ClickTab(std::int32_t tab);

  // ---- the control's own window, through the hook ----
  void HookedMouseMove(float x, float y);
  void HookedMouseLeave();
  void HookedLeftButtonDown(float x, float y);
  void HookedLeftButtonUp(float x, float y);
  void HookedMouseWheel(std::int16_t delta);

  // ---- the host window, through the hook ----
  void HostActivated();
  void HostColorsChanged();
  void HostSizing();
  void HostMoving();
  void HostExitSizeMove();

  // Wheel switching; Direction as the wheel word gives it.
  void ScrollTabs(std::int32_t direction);

  // The tab whose close box looks hot, -1 for none.
  std::int32_t HotControlBox() const { return hotBox_; }

 private:
  // Switches to a tab with the control busy and the persistent image on.
  void BusySwitch(std::int32_t tab);
  void HoverTracking(float x, float y);
  void DrawHover(std::int32_t tab);
  void EndHover();
  // Makes `tab`'s close box the hot one (-1: none), raising enter, hover
  // and exit as the hot box changes.
  void TrackControlBox(std::int32_t tab, float x, float y);
  // The close box a press or release of the left button is over, made the
  // hot one; -1 when there is none (or the tabs have no close boxes).
  std::int32_t PressedOrReleasedBox(float x, float y);

  ucPageTab& control_;
  InputHost& host_;
  std::int32_t hotBox_ = -1;
  std::int32_t pressedBox_ = -1;
};

}  // namespace tabctl
