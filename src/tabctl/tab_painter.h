// The renderer that draws the control on a Canvas: both styles, all themes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "gfx/canvas.h"
#include "gfx/pixel_picture.h"
#include "tabctl/tab_renderer.h"

namespace tabctl {

// A renderer drawing on `canvas`, which must outlive it.
std::unique_ptr<TabRenderer> MakeTabPainter(Canvas& canvas);

// The text a caption is measured by when tab widths are laid out: "&&"
// becomes "&", and if an "&" is still left the last character is dropped.
std::string MeasuredCaption(std::string_view caption);

}  // namespace tabctl
