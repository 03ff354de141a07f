// What a screen reader is told about a control that Windows cannot describe
// by itself: a picture without text, a drop-down list or a list whose label
// is not where Windows looks for it, a static text that acts as a link.
//
// The control answers WM_GETOBJECT (OBJID_CLIENT) with the standard
// accessible object of its window, wrapped so that name, role and default
// action are ours and everything else (states, location, children, value)
// is the standard object's. oleacc, oleaut32 and ole32 are loaded from the
// system folder at the first request, so a program that no screen reader
// looks at never loads them.
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

struct AccessibleDescription {
  std::wstring name;
  long role = 0;  // a ROLE_SYSTEM_ value; 0 keeps the standard object's
  // The default action's name (empty keeps the standard object's). With
  // `click`, doing it posts the control's click notice (STN_CLICKED, as
  // WM_COMMAND) to its parent, as a mouse click on an SS_NOTIFY static does.
  std::wstring defaultAction;
  bool click = false;
};

// Makes `window` answer with `description` until it is destroyed. False
// when the window cannot be subclassed.
bool DescribeForScreenReaders(HWND window, const AccessibleDescription& description);

}  // namespace win32
