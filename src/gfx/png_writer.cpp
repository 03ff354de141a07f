#include "gfx/png_writer.h"

#include <png.h>

#include <cstdint>

namespace tabctl {

bool WritePng(const std::string& path, int width, int height, const std::vector<Pixel>& pixels) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return false;
  }
  std::vector<std::uint8_t> rgb;
  rgb.reserve(pixels.size() * 3);
  for (Pixel p : pixels) {
    rgb.push_back(static_cast<std::uint8_t>(p >> 16));
    rgb.push_back(static_cast<std::uint8_t>(p >> 8));
    rgb.push_back(static_cast<std::uint8_t>(p));
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  const int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
  png_image_free(&image);
  return ok != 0;
}

bool WritePng(const std::string& path, const RasterCanvas& canvas) {
  return WritePng(path, canvas.Width(), canvas.Height(), canvas.Pixels());
}

bool WritePng(const std::string& path, const Bitmap& bitmap) {
  return WritePng(path, bitmap.Width(), bitmap.Height(), bitmap.Pixels());
}

Bitmap ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return {};
  }
  Bitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height));
  for (std::size_t i = 0; i < bitmap.Pixels().size(); ++i) {
    bitmap.Pixels()[i] =
        (static_cast<Pixel>(rgb[3 * i]) << 16) | (static_cast<Pixel>(rgb[3 * i + 1]) << 8) | rgb[3 * i + 2];
  }
  png_image_free(&image);
  return bitmap;
}

}  // namespace tabctl
