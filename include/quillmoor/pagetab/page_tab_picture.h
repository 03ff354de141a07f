// Tab pictures made from pixels: fill a tabctl::Bitmap (RGB, rows top to
// bottom) and give MakePixelPicture(bitmap) to ucPageTab::SetTabPicture or
// CopyTabImagesFromImageList. Pixels of the control's PictureMaskColor are
// left out when UseMaskColor is on. Portable.
#pragma once

#include "gfx/pixel_picture.h"
