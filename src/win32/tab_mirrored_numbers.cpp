// The tab control's portable code cannot include windows.h, so it spells
// out the Win32 numbers it needs; here each copy is checked against the
// platform's own definition.
#include <windows.h>

#include "tabctl/colors.h"

// System colour indexes behind the control's "system colour" values.
static_assert(tabctl::kColorInactiveCaption == COLOR_INACTIVECAPTION);
static_assert(tabctl::kColorButtonFace == COLOR_BTNFACE);
static_assert(tabctl::kColorButtonShadow == COLOR_BTNSHADOW);
static_assert(tabctl::kColorGrayText == COLOR_GRAYTEXT);
static_assert(tabctl::kColorButtonText == COLOR_BTNTEXT);
static_assert(tabctl::kColorButtonHighlight == COLOR_BTNHIGHLIGHT);
static_assert(tabctl::kColorDarkShadow3D == COLOR_3DDKSHADOW);
static_assert(tabctl::kColorLight3D == COLOR_3DLIGHT);
static_assert(tabctl::kLastSystemColor == COLOR_MENUBAR);
