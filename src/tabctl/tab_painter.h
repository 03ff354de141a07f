// The renderer that draws the control on a Canvas: both styles, all themes.
#pragma once

#include <memory>

#include "tabctl/canvas.h"
#include "tabctl/tab_renderer.h"

namespace tabctl {

// A renderer drawing on `canvas`, which must outlive it.
std::unique_ptr<TabRenderer> MakeTabPainter(Canvas& canvas);

}  // namespace tabctl
