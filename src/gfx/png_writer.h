// PNG files of drawn images, for the gallery tool and for looking at test
// output. Native builds only: the Windows program has no use for it.
#pragma once

#include <string>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/raster_canvas.h"

namespace tabctl {

// Writes width x height pixels (rows top to bottom) as an 8-bit RGB PNG.
// Returns false when the file cannot be written or the size does not match.
bool WritePng(const std::string& path, int width, int height, const std::vector<Pixel>& pixels);
bool WritePng(const std::string& path, const RasterCanvas& canvas);
bool WritePng(const std::string& path, const Bitmap& bitmap);

// Reads a PNG written by WritePng (or any PNG) back as 0x00RRGGBB pixels.
// Returns an empty bitmap when the file cannot be read.
Bitmap ReadPng(const std::string& path);

}  // namespace tabctl
