// The events the tab control raises to the window that holds it. Override
// what you handle; the rest do nothing. Reference parameters may be changed
// by the handler (for example Cancel in BeforeTabSwitch).
#pragma once

#include <cstdint>
#include <string>

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
