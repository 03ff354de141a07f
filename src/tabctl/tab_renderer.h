// What draws the control. The model decides when to draw (property changes,
// switches, repaint guards, theme detection); a renderer decides how. Until
// one is attached the model only asks the host to show its window.
#pragma once

#include <cstdint>

#include "tabctl/tab_kinds.h"

namespace tabctl {

class ucPageTab;

class TabRenderer {
 public:
  virtual ~TabRenderer() = default;
  // Works out where the tabs go and stores it in the control, painting
  // nothing. A renderer that lays nothing out leaves the rectangles alone.
  virtual void LayOutTabs(ucPageTab& /*control*/) {}
  // Full repaint: clear the surface, background pass, tab pass.
  virtual void DrawMe(ucPageTab& control) = 0;
  // The background pass and the tab pass on their own (a tab switch draws
  // them before its repaint).
  virtual void DrawBackground(ucPageTab& control) = 0;
  virtual void DrawTabs(ucPageTab& control) = 0;
  // Inverts the focus rectangle of the active tab in the current style.
  virtual void ShowHideFocus(ucPageTab& control) = 0;
  // Redraws the hover highlight in the current style.
  virtual void DrawOverXOred(ucPageTab& control) = 0;
  // Close boxes; index -1 is every tab (normal). A renderer without close
  // boxes ignores it.
  virtual void DrawControlBox(ucPageTab& /*control*/, ControlBoxState /*state*/, std::int32_t /*index*/) {}
};

}  // namespace tabctl
