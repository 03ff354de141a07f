// The tab control's input rules; see input.h.
#include "tabctl/input.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/text.h"

namespace tabctl {
namespace {

// Busy and the persistent image on for the length of a switch driven by the
// mouse or the keyboard, so that no repaint starts inside it.
class BusyScope {
 public:
  explicit BusyScope(ucPageTab& control) : control_(control), previous_(control.Busy()) {
    control_.SetBusy(true);
    control_.Host().SetPersistentImage(true);
  }
  ~BusyScope() {
    control_.Host().SetPersistentImage(false);
    control_.SetBusy(previous_);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  ucPageTab& control_;
  bool previous_;
};

bool IsEmpty(const PixelRect& r) { return r.right <= r.left || r.bottom <= r.top; }

const TabEntry* TabAtIndex(const ucPageTab& control, std::int32_t index) {
  const auto& tabs = control.AryTabs();
  if (index < 0 || index >= control.TabCount() || static_cast<std::size_t>(index) >= tabs.size()) {
    return nullptr;
  }
  return &tabs[static_cast<std::size_t>(index)];
}

bool Enabled(const ucPageTab& control, std::int32_t index) {
  const TabEntry* tab = TabAtIndex(control, index);
  return tab != nullptr && tab->enabled;
}

std::int64_t RoundHalfAway(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t half = denominator / 2;
  return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}

}  // namespace

// ---- rules ----

std::int32_t RoundCoordinate(float value) {
  if (!std::isfinite(value)) return 0;
  const double clamped = std::clamp(static_cast<double>(value), -2147483648.0, 2147483647.0);
  return static_cast<std::int32_t>(std::nearbyint(clamped));
}

std::int32_t TabStripHeight(const ucPageTab& control) {
  return std::max(control.ActiveTabHeight(), control.InActiveTabHeight());
}

bool HasHoverHighlight(TabThemes theme) {
  return theme == TabThemes::LightVisual || theme == TabThemes::LightBeige;
}

namespace {

// The first enabled tab whose rectangle `holds` the point, rounded as the
// control rounds; -1 below the strip or when none does.
template <typename Holds>
std::int32_t FirstEnabledTabAt(const ucPageTab& control, float x, float y, Holds holds) {
  const std::int32_t px = RoundCoordinate(x);
  const std::int32_t py = RoundCoordinate(y);
  if (py > TabStripHeight(control)) return -1;
  for (std::int32_t i = 0; i < control.TabCount(); ++i) {
    const TabEntry* tab = TabAtIndex(control, i);
    if (tab && tab->enabled && holds(tab->tabRect, px, py)) return i;
  }
  return -1;
}

}  // namespace

std::int32_t HitTestTab(const ucPageTab& control, float x, float y) {
  return FirstEnabledTabAt(
      control, x, y, [](const PixelRect& r, std::int32_t px, std::int32_t py) { return r.Contains(px, py); });
}

std::int32_t HoverTabAt(const ucPageTab& control, float x, float y) {
  const std::int32_t tab = FirstEnabledTabAt(
      control, x, y,
      [](const PixelRect& r, std::int32_t px, std::int32_t) { return r.left <= px && px <= r.right; });
  return tab == control.ActiveTab() ? -1 : tab;
}

std::int32_t ControlBoxAt(const ucPageTab& control, std::int32_t x, std::int32_t y) {
  for (std::int32_t i = 0; i < control.TabCount(); ++i) {
    const TabEntry* tab = TabAtIndex(control, i);
    if (tab && !IsEmpty(tab->controlBoxRect) && tab->controlBoxRect.Contains(x, y)) return i;
  }
  return -1;
}

std::int32_t KeyboardTarget(const ucPageTab& control, TabKey key, std::int16_t shift) {
  const std::int32_t active = control.ActiveTab();
  const std::int32_t count = control.TabCount();
  const bool ctrl = (shift & kCtrlMask) != 0;
  std::int32_t target = -1;
  if (key == TabKey::Right || (key == TabKey::PageDown && ctrl)) {
    if (active < count - 1) {
      if (Enabled(control, active + 1)) target = active + 1;
    } else if (Enabled(control, 0)) {
      target = 0;
    }
  } else if (key == TabKey::Left || (key == TabKey::PageUp && ctrl)) {
    if (count > 1) {
      if (active == 0) {
        if (Enabled(control, count - 1)) target = count - 1;
      } else if (Enabled(control, active - 1)) {
        target = active - 1;
      }
    }
  }
  return target == active ? -1 : target;
}

std::int32_t AccessKeyTarget(const ucPageTab& control, std::int32_t character) {
  const std::int32_t key = NormalizeAccessKey(character);
  if (key == 0) return -1;
  for (std::int32_t i = 0; i < control.TabCount(); ++i) {
    const TabEntry* tab = TabAtIndex(control, i);
    if (tab && tab->accessKey == key && i != control.ActiveTab() && tab->enabled) return i;
  }
  return -1;
}

bool AccessKeyListHas(std::string_view keys, std::int32_t character) {
  const std::int32_t key = NormalizeAccessKey(character);
  if (key <= 0) return false;
  std::size_t pos = 0;
  while (pos < keys.size()) {
    if (static_cast<std::int32_t>(platform::NextCodePoint(keys, pos)) == key) return true;
  }
  return false;
}

std::int32_t TwipsFromPixels(std::int32_t pixels, std::int32_t dpi) {
  if (dpi <= 0) dpi = 96;
  return static_cast<std::int32_t>(RoundHalfAway(std::int64_t{pixels} * 1440, dpi));
}

std::int32_t PixelsFromTwips(std::int32_t twips, std::int32_t dpi) {
  if (dpi <= 0) dpi = 96;
  return static_cast<std::int32_t>(RoundHalfAway(std::int64_t{twips} * dpi, 1440));
}

// ---- ordinary events ----

void TabInput::BusySwitch(std::int32_t tab) {
  BusyScope busy(control_);
  if (tab >= 0) control_.SetActiveTab(tab);
}

void TabInput::MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  if (control_.Busy()) return;
  control_.Events().MouseDown(button, shift, x, y);
  if (button != kLeftButton) return;
  control_.EnsureTabLayout();
  ClickTab(HitTestTab(control_, x, y));
}

void TabInput::ClickTab(std::int32_t tab) {
  if (control_.Busy()) return;
  const std::int32_t before = control_.ActiveTab();
  bool hoverEnded = false;
  {
    BusyScope busy(control_);
    HoverState& hover = control_.Hover();
    if (HasHoverHighlight(control_.TabTheme()) && hover.drawn) {
      hover.drawn = false;
      host_.StopHoverTimer();
      hoverEnded = true;
    }
    if (tab >= 0 && tab != control_.ActiveTab() && Enabled(control_, tab)) control_.SetActiveTab(tab);
  }
  // Without a switch nothing would repaint the highlight away.
  if (hoverEnded && control_.ActiveTab() == before) control_.Refresh();
}

void TabInput::MouseMove(std::int16_t button, std::int16_t shift, float x, float y) {
  control_.Events().MouseMove(button, shift, x, y);
  if (HasHoverHighlight(control_.TabTheme())) HoverTracking(x, y);
}

void TabInput::HoverTracking(float x, float y) {
  if (control_.Hover().drawn) return;
  control_.EnsureTabLayout();
  const std::int32_t tab = HoverTabAt(control_, x, y);
  if (tab < 0) return;
  control_.SetHotTab(tab);
  DrawHover(tab);
}

void TabInput::DrawHover(std::int32_t tab) {
  HoverState& hover = control_.Hover();
  hover.drawn = true;
  hover.rect = control_.AryTabs()[static_cast<std::size_t>(tab)].tabRect;
  control_.pDrawOverXOred();
  control_.Host().RepaintWindow();
  host_.StartHoverTimer();
}

void TabInput::EndHover() {
  host_.StopHoverTimer();
  control_.Hover().drawn = false;
  // A full repaint takes the highlight away whatever the style drew.
  control_.Refresh();
}

void TabInput::MouseUp(std::int16_t button, std::int16_t shift, float x, float y) {
  if (control_.Busy()) return;
  control_.Events().MouseUp(button, shift, x, y);
}

void TabInput::Click() { control_.Events().Click(); }
void TabInput::DblClick() { control_.Events().DblClick(); }

void TabInput::KeyDown(TabKey key, std::int16_t keyCode, std::int16_t shift) {
  BusySwitch(KeyboardTarget(control_, key, shift));
  control_.Events().KeyDown(keyCode, shift);
}

void TabInput::KeyUp(std::int16_t keyCode, std::int16_t shift) { control_.Events().KeyUp(keyCode, shift); }

void TabInput::KeyPress(std::int16_t keyAscii) { control_.Events().KeyPress(keyAscii); }

void TabInput::AccessKeyPress(std::int32_t character) {
  const std::int32_t tab = AccessKeyTarget(control_, character);
  if (tab < 0 || control_.Busy()) return;
  BusySwitch(tab);
}

void TabInput::GotFocus() {
  control_.SetHotTab(control_.ActiveTab());
  control_.SetIsFocused(true);
  control_.pShowHideFocus();
}

void TabInput::LostFocus() {
  control_.SetHotTab(control_.ActiveTab());
  control_.SetIsFocused(false);
  control_.pShowHideFocus();
}

void TabInput::Shown() { control_.Refresh(); }

void TabInput::TimerEvent() {
  HoverState& hover = control_.Hover();
  if (!HasHoverHighlight(control_.TabTheme()) || !hover.drawn) {
    // The theme changed under a running poll, or nothing is highlighted:
    // the timer has no more work.
    host_.StopHoverTimer();
    hover.drawn = false;
    return;
  }
  const PixelPoint cursor = host_.CursorPosition();
  if (!hover.rect.Contains(cursor.x, cursor.y)) EndHover();
}

// ---- the control's own window ----

void TabInput::HookedMouseMove(float x, float y) {
  TrackingState& tracking = control_.Tracking();
  if (!tracking.mouseInside) {
    tracking.mouseInside = true;
    host_.RequestLeaveNotice();
    control_.Events().MouseEnter();
  }
  HoverState& hover = control_.Hover();
  hover.cursorX = RoundCoordinate(x);
  hover.cursorY = RoundCoordinate(y);
  const std::int32_t px = hover.cursorX;
  const std::int32_t py = hover.cursorY;
  control_.EnsureTabLayout();

  auto boxOf = [&](std::int32_t tab) {
    const TabEntry* entry = TabAtIndex(control_, tab);
    return entry && !IsEmpty(entry->controlBoxRect) && entry->controlBoxRect.Contains(px, py) ? tab : -1;
  };

  if (HasHoverHighlight(control_.TabTheme())) {
    std::int32_t tab = -1;
    const TabEntry* active = TabAtIndex(control_, control_.ActiveTab());
    const TabEntry* hot = TabAtIndex(control_, control_.HotTab());
    if (active && active->tabRect.Contains(px, py)) {
      tab = control_.ActiveTab();
    } else if (hot && hot->tabRect.Contains(px, py)) {
      tab = control_.HotTab();
    }
    if (tab >= 0) {
      std::int32_t index = tab;
      control_.Events().MouseHover(index, x, y);
    }
    if (control_.UseControlBox()) TrackControlBox(tab >= 0 ? boxOf(tab) : -1, x, y);
  } else if (control_.UseControlBox()) {
    const std::int32_t box = ControlBoxAt(control_, px, py);
    if (box >= 0) control_.SetHotTab(box);
    TrackControlBox(box, x, y);
  }
}

void TabInput::TrackControlBox(std::int32_t tab, float x, float y) {
  TrackingState& tracking = control_.Tracking();
  if (tab >= 0 && tab == hotBox_) {
    float hx = x, hy = y;
    control_.Events().ControlBoxHover(hx, hy);
    return;
  }
  if (hotBox_ >= 0) {
    // Only a box that was entered is left: moving about elsewhere on a tab
    // raises nothing.
    const std::int32_t old = hotBox_;
    hotBox_ = -1;
    tracking.controlBoxHot = false;
    control_.Events().ControlBoxExit();
    if (old < control_.TabCount()) control_.DrawControlBox(ControlBoxState::Normal, old);
  }
  if (tab >= 0) {
    hotBox_ = tab;
    tracking.controlBoxHot = true;
    control_.Events().ControlBoxEnter();
    control_.DrawControlBox(ControlBoxState::Hover, tab);
  }
}

void TabInput::HookedMouseLeave() {
  control_.Tracking().mouseInside = false;
  if (hotBox_ >= 0) TrackControlBox(-1, 0, 0);
  control_.Events().MouseLeave();
}

std::int32_t TabInput::PressedOrReleasedBox(float x, float y) {
  if (!control_.UseControlBox()) return -1;
  control_.EnsureTabLayout();
  const std::int32_t box = ControlBoxAt(control_, RoundCoordinate(x), RoundCoordinate(y));
  if (box < 0) return -1;
  hotBox_ = box;
  control_.Tracking().controlBoxHot = true;
  return box;
}

void TabInput::HookedLeftButtonDown(float x, float y) {
  const std::int32_t box = PressedOrReleasedBox(x, y);
  pressedBox_ = box;
  if (box < 0) return;
  float bx = x, by = y;
  control_.Events().ControlBoxMouseDown(bx, by);
  control_.DrawControlBox(ControlBoxState::Pressed, box);
}

void TabInput::HookedLeftButtonUp(float x, float y) {
  const std::int32_t pressed = std::exchange(pressedBox_, -1);
  const std::int32_t box = PressedOrReleasedBox(x, y);
  if (box < 0) return;
  float bx = x, by = y;
  control_.Events().ControlBoxMouseUp(bx, by);
  // Like a button: only a press that began on this box removes its tab, so
  // a drag that merely ends over a box removes nothing.
  if (box != pressed) return;
  const std::int32_t count = control_.TabCount();
  control_.RemoveTab(box);
  if (control_.TabCount() != count) {
    hotBox_ = -1;
    control_.Tracking().controlBoxHot = false;
  } else {
    control_.DrawControlBox(ControlBoxState::Hover, box);
  }
}

void TabInput::HookedMouseWheel(std::int16_t delta) {
  if (!Enabled(control_, control_.ActiveTab()) || !control_.UseMouseWheelScroll()) return;
  if (delta < 0) {
    control_.Events().MouseScrollUp();
  } else {
    control_.Events().MouseScrollDown();
  }
  ScrollTabs(delta);
}

// The control's own rule, the same for the wheel and for a program's call.
void TabInput::ScrollTabs(std::int32_t direction) {
  Guarded("ScrollTabs", [&] { control_.ScrollTabs(direction); });
}

// ---- the host window ----

void TabInput::HostActivated() {
  control_.SetHotTab(control_.ActiveTab());
  control_.Refresh();
}

void TabInput::HostColorsChanged() { control_.Refresh(); }

void TabInput::HostSizing() {
  control_.Tracking().moving = false;
  control_.Events().Status("Form is sizing...");
}

void TabInput::HostMoving() {
  control_.Tracking().moving = true;
  control_.Events().Status("Form is moving...");
}

void TabInput::HostExitSizeMove() {
  control_.Events().Status(std::string("Finished ") + (control_.Tracking().moving ? "Moving." : "Sizing."));
}

}  // namespace tabctl
