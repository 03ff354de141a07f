#include "tabctl/control_primitives.h"

#include "tabctl/errors.h"
#include "tabctl/primitives.h"

namespace tabctl {

DrawCache pGetCachedProperties(ucPageTab& control, Canvas& canvas) {
  return Guarded("pGetCachedProperties", [&] {
    DrawCache cache;
    cache.hwnd = control.hwnd();
    cache.hDC = &canvas;
    cache.activeTab = control.ActiveTab();
    cache.activeTabHeight = control.ActiveTabHeight();
    cache.inActiveTabHeight = control.InActiveTabHeight();
    cache.scaleWidth = control.ScaleWidth();
    cache.scaleHeight = control.ScaleHeight();
    cache.tabCount = control.TabCount();
    cache.focused = control.IsFocused();
    cache.outerBorderColor = control.OuterBorderColor();
    cache.activeTabForeColor = control.ActiveTabForeColor();
    cache.activeTabBackStartColor = control.ActiveTabBackStartColor();
    cache.activeTabBackEndColor = control.ActiveTabBackEndColor();
    cache.inActiveTabForeColor = control.InActiveTabForeColor();
    cache.inActiveTabBackStartColor = control.InActiveTabBackStartColor();
    cache.inActiveTabBackEndColor = control.InActiveTabBackEndColor();
    cache.hoverColor = control.HoverColor();
    cache.disabledTabBackColor = control.DisabledTabBackColor();
    cache.disabledTabForeColor = control.DisabledTabForeColor();
    cache.pictureSize = control.PictureSize() == PictureSizes::Small ? control.System().SmallIconWidth()
                                                                     : control.System().LargeIconWidth();
    return cache;
  });
}

Rgb ControlPrimitives::Resolve(Color& color) {
  color = control_.GetRGBFromOLE(color);
  return color;
}

void ControlPrimitives::APILine(int x1, int y1, int x2, int y2, Color& color) {
  Guarded("APILine", [&] { draw::APILine(canvas_, x1, y1, x2, y2, Resolve(color)); });
}

void ControlPrimitives::APIRectangle(int x, int y, int width, int height, Color& color) {
  Guarded("APIRectangle", [&] { draw::APIRectangle(canvas_, x, y, width, height, Resolve(color)); });
}

void ControlPrimitives::APIFillRectByCoords(int x, int y, int width, int height, Color& color) {
  Guarded("APIFillRectByCoords",
          [&] { draw::APIFillRectByCoords(canvas_, x, y, width, height, Resolve(color)); });
}

void ControlPrimitives::pFillCurvedGradient(int left, int top, int right, int bottom, Color& startColor,
                                            Color& endColor, int radius, bool curveLeft, bool curveRight) {
  Guarded("pFillCurvedGradient", [&] {
    pFillCurvedGradientR(Rect{left, top, right, bottom}, startColor, endColor, radius, curveLeft, curveRight);
  });
}

void ControlPrimitives::pFillCurvedGradientR(const Rect& rect, Color& startColor, Color& endColor, int radius,
                                             bool curveLeft, bool curveRight) {
  Guarded("pFillCurvedGradientR", [&] {
    const Rgb start = Resolve(startColor);
    const Rgb end = Resolve(endColor);
    draw::pFillCurvedGradientR(canvas_, rect, start, end, radius, curveLeft, curveRight);
  });
}

void ControlPrimitives::pFillCurvedSolid(int left, int top, int right, int bottom, Color& color, int radius,
                                         bool curveLeft, bool curveRight) {
  Guarded("pFillCurvedSolid", [&] {
    pFillCurvedSolidR(Rect{left, top, right, bottom}, color, radius, curveLeft, curveRight);
  });
}

void ControlPrimitives::pFillCurvedSolidR(const Rect& rect, Color& color, int radius, bool curveLeft,
                                          bool curveRight) {
  Guarded("pFillCurvedSolidR",
          [&] { draw::pFillCurvedSolidR(canvas_, rect, Resolve(color), radius, curveLeft, curveRight); });
}

void ControlPrimitives::DrawImage(const Bitmap& bitmap, Color& lTransColor, int iLeft, int iTop, int iWidth,
                                  int iHeight) {
  Guarded("DrawImage",
          [&] { draw::DrawImage(canvas_, bitmap, Resolve(lTransColor), iLeft, iTop, iWidth, iHeight); });
}

void ControlPrimitives::pPaintPicture(const Bitmap& picture, int x, int y, int width, int height) {
  Guarded("pPaintPicture", [&] { draw::pPaintPicture(canvas_, picture, x, y, width, height); });
}

void ControlPrimitives::Cls() {
  Guarded("Cls", [&] {
    Color back = control_.BackColor();
    draw::Cls(canvas_, Resolve(back));
  });
}

}  // namespace tabctl
