// What the tab control needs from the window system that holds it: its
// contained controls, its window, the ambient properties of its container
// and the property-changed notice. The Win32 window class of the control
// implements it; the tests use a recording fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "gfx/tab_font.h"
#include "platform/ports.h"
#include "tabctl/colors.h"

namespace tabctl {

// A control object of the host (0 = none); its meaning is the host's.
using ControlHandle = std::uintptr_t;

// Where AddControl puts a control; an empty field is left as it is.
struct ControlPlacement {
  std::optional<std::int32_t> left;
  std::optional<std::int32_t> top;
  std::optional<std::int32_t> width;
  std::optional<std::int32_t> height;
};

class TabHost {
 public:
  virtual ~TabHost() = default;

  // Contained controls, in the host's enumeration order. Left is in the
  // same unit as ControlWidth(). Reading or moving one control may throw;
  // the control then goes on with the next one.
  virtual int ContainedControlCount() = 0;
  virtual std::int32_t ContainedControlLeft(int index) = 0;
  virtual void SetContainedControlLeft(int index, std::int32_t left) = 0;
  // Makes a control object and/or window a child of the control's window,
  // places it as given and shows it.
  virtual void PlaceControl(ControlHandle control, platform::WindowHandle window,
                            const ControlPlacement& placement) = 0;
  // The control's own width in the unit of the contained controls' Left.
  virtual std::int32_t ControlWidth() = 0;

  // The characters that, with Alt, activate the control (UTF-8).
  virtual void SetAccessKeys(const std::string& keys) = 0;
  virtual void SetWindowEnabled(bool enabled) = 0;

  // Freezes and unfreezes drawing of the control's window while tabs are
  // inserted or removed.
  virtual void LockDrawing() = 0;
  virtual void UnlockDrawing() = 0;
  // Drawing goes to the persistent off-screen image (on) or to the screen.
  virtual void SetPersistentImage(bool on) = 0;
  // Shows the control's current image on screen (invalidates the window).
  virtual void RepaintWindow() = 0;

  // A property changed; the holder saves the property set again.
  virtual void PropertyChanged(std::string_view name) = 0;

  // Ambient properties of the container.
  virtual bool UserMode() = 0;  // true at run time, false at design time
  virtual TabFont AmbientFont() = 0;
  virtual Color AmbientBackColor() = 0;

  virtual platform::WindowHandle WindowHandle() = 0;
  // Client area in pixels.
  virtual std::int32_t ClientWidth() = 0;
  virtual std::int32_t ClientHeight() = 0;

  // Mouse-tracking detection and the window hooks (run time only);
  // RemoveHooks gives every hooked window its previous procedure back.
  virtual void InstallHooks() = 0;
  virtual void RemoveHooks() = 0;
};

}  // namespace tabctl
