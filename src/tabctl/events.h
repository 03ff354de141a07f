// The events the tab control raises to the window that holds it. Override
// what you handle; the rest do nothing. Reference parameters may be changed
// by the handler (for example Cancel in BeforeTabSwitch).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tabctl {

// The events by number, in their fixed order.
enum class ucPageTabEventId : std::int32_t {
  BeforeTabSwitch = 1,
  TabSwitch,
  Click,
  ControlBoxEnter,
  ControlBoxExit,
  ControlBoxHover,
  ControlBoxMouseDown,
  ControlBoxMouseUp,
  DblClick,
  KeyDown,
  KeyUp,
  KeyPress,
  MouseDown,
  MouseMove,
  MouseUp,
  MouseHover,
  MouseScrollUp,
  MouseScrollDown,
  TabInsert,
  TabRemove,
  AfterCompleteInit,
  MouseEnter,
  MouseLeave,
  Status,
};

// The event's name, as the handler of ucPageTabEvents is called; empty for
// a number that is no event.
constexpr std::string_view EventName(ucPageTabEventId id) {
  switch (id) {
    case ucPageTabEventId::BeforeTabSwitch:
      return "BeforeTabSwitch";
    case ucPageTabEventId::TabSwitch:
      return "TabSwitch";
    case ucPageTabEventId::Click:
      return "Click";
    case ucPageTabEventId::ControlBoxEnter:
      return "ControlBoxEnter";
    case ucPageTabEventId::ControlBoxExit:
      return "ControlBoxExit";
    case ucPageTabEventId::ControlBoxHover:
      return "ControlBoxHover";
    case ucPageTabEventId::ControlBoxMouseDown:
      return "ControlBoxMouseDown";
    case ucPageTabEventId::ControlBoxMouseUp:
      return "ControlBoxMouseUp";
    case ucPageTabEventId::DblClick:
      return "DblClick";
    case ucPageTabEventId::KeyDown:
      return "KeyDown";
    case ucPageTabEventId::KeyUp:
      return "KeyUp";
    case ucPageTabEventId::KeyPress:
      return "KeyPress";
    case ucPageTabEventId::MouseDown:
      return "MouseDown";
    case ucPageTabEventId::MouseMove:
      return "MouseMove";
    case ucPageTabEventId::MouseUp:
      return "MouseUp";
    case ucPageTabEventId::MouseHover:
      return "MouseHover";
    case ucPageTabEventId::MouseScrollUp:
      return "MouseScrollUp";
    case ucPageTabEventId::MouseScrollDown:
      return "MouseScrollDown";
    case ucPageTabEventId::TabInsert:
      return "TabInsert";
    case ucPageTabEventId::TabRemove:
      return "TabRemove";
    case ucPageTabEventId::AfterCompleteInit:
      return "AfterCompleteInit";
    case ucPageTabEventId::MouseEnter:
      return "MouseEnter";
    case ucPageTabEventId::MouseLeave:
      return "MouseLeave";
    case ucPageTabEventId::Status:
      return "Status";
  }
  return {};
}

// The last event number.
inline constexpr std::int32_t kLastEventId = static_cast<std::int32_t>(ucPageTabEventId::Status);

class ucPageTabEvents {
 public:
  virtual ~ucPageTabEvents() = default;

  virtual void BeforeTabSwitch(std::int16_t /*newTab*/, bool& /*cancel*/) {}
  virtual void TabSwitch(std::int16_t /*previousTab*/) {}
  virtual void Click() {}
  virtual void ControlBoxEnter() {}
  virtual void ControlBoxExit() {}
  virtual void ControlBoxHover(float& /*x*/, float& /*y*/) {}
  virtual void ControlBoxMouseDown(float& /*x*/, float& /*y*/) {}
  virtual void ControlBoxMouseUp(float& /*x*/, float& /*y*/) {}
  virtual void DblClick() {}
  virtual void KeyDown(std::int16_t& /*keyCode*/, std::int16_t& /*shift*/) {}
  virtual void KeyUp(std::int16_t& /*keyCode*/, std::int16_t& /*shift*/) {}
  virtual void KeyPress(std::int16_t& /*keyAscii*/) {}
  virtual void MouseDown(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseMove(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseUp(std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/, float /*y*/) {}
  virtual void MouseHover(std::int32_t& /*tabIndex*/, float /*x*/, float /*y*/) {}
  virtual void MouseScrollUp() {}
  virtual void MouseScrollDown() {}
  virtual void TabInsert(std::int32_t& /*index*/) {}
  virtual void TabRemove(std::int32_t& /*index*/) {}
  virtual void AfterCompleteInit() {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void Status(std::string /*text*/) {}
};

}  // namespace tabctl
