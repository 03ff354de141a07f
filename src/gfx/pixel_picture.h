// A tab picture held as pixels in memory: what the painter draws. The
// Windows side turns bitmaps and icons of its image lists into these.
#pragma once

#include <memory>
#include <utility>

#include "gfx/canvas.h"
#include "gfx/picture.h"

namespace tabctl {

class PixelPicture final : public PictureObject {
 public:
  // isBitmap false marks an icon-like picture, painted as it is even when
  // the mask colour is in use.
  PixelPicture(Bitmap pixels, bool isBitmap) : pixels_(std::move(pixels)), isBitmap_(isBitmap) {}
  bool IsBitmap() const override { return isBitmap_; }
  const Bitmap& Pixels() const { return pixels_; }

 private:
  Bitmap pixels_;
  bool isBitmap_;
};

inline Picture MakePixelPicture(Bitmap pixels, bool isBitmap = true) {
  return Picture(std::make_shared<PixelPicture>(std::move(pixels), isBitmap));
}

}  // namespace tabctl
