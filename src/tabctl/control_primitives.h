// The drawing primitives as the control calls them: colour values (which may
// be system-colour references) are translated before drawing and the
// translated value is handed back in the caller's variable, so after a call
// the variable holds plain RGB. Also the drawing cache the renderers read.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"
#include "platform/ports.h"
#include "tabctl/colors.h"
#include "tabctl/uc_page_tab.h"

namespace tabctl {

// Values read once at the start of every background and tab pass.
struct DrawCache {
  platform::WindowHandle hwnd = 0;
  Canvas* hDC = nullptr;
  std::int32_t activeTab = 0;
  std::int32_t activeTabHeight = 0;
  std::int32_t inActiveTabHeight = 0;
  std::int32_t scaleWidth = 0;
  std::int32_t scaleHeight = 0;
  std::int32_t tabCount = 0;
  bool focused = false;
  Color outerBorderColor = 0;
  Color activeTabForeColor = 0;
  Color activeTabBackStartColor = 0;
  Color activeTabBackEndColor = 0;
  Color inActiveTabForeColor = 0;
  Color inActiveTabBackStartColor = 0;
  Color inActiveTabBackEndColor = 0;
  Color hoverColor = 0;
  Color disabledTabBackColor = 0;
  Color disabledTabForeColor = 0;
  std::int32_t pictureSize = 0;  // pixels
};

DrawCache pGetCachedProperties(ucPageTab& control, Canvas& canvas);

class ControlPrimitives {
 public:
  ControlPrimitives(ucPageTab& control, Canvas& canvas) : control_(control), canvas_(canvas) {}

  ucPageTab& Control() { return control_; }
  Canvas& Surface() { return canvas_; }

  // Translates `color` in place and returns it.
  Rgb Resolve(Color& color);

  void APILine(int x1, int y1, int x2, int y2, Color& color);
  void APIRectangle(int x, int y, int width, int height, Color& color);
  void APIFillRectByCoords(int x, int y, int width, int height, Color& color);
  void pFillCurvedGradient(int left, int top, int right, int bottom, Color& startColor, Color& endColor,
                           int radius, bool curveLeft, bool curveRight);
  void pFillCurvedGradientR(const Rect& rect, Color& startColor, Color& endColor, int radius, bool curveLeft,
                            bool curveRight);
  void pFillCurvedSolid(int left, int top, int right, int bottom, Color& color, int radius, bool curveLeft,
                        bool curveRight);
  void pFillCurvedSolidR(const Rect& rect, Color& color, int radius, bool curveLeft, bool curveRight);
  void DrawImage(const Bitmap& bitmap, Color& lTransColor, int iLeft, int iTop, int iWidth, int iHeight);
  void pPaintPicture(const Bitmap& picture, int x, int y, int width = -1, int height = -1);
  // Clears the surface to the control's background colour.
  void Cls();

 private:
  ucPageTab& control_;
  Canvas& canvas_;
};

}  // namespace tabctl
