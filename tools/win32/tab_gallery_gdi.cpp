// Renders the gallery scene through the GDI canvas (run under Wine or on
// Windows), so captions come out as real Chinese and Latin text: one 24-bit
// BMP per variant and a contact sheet (scripts/screenshots turns the sheet
// into docs/tab-gallery.png).
//
//   tab_gallery_gdi <output folder>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../gallery_scene.h"
#include "../still_host.h"
#include "tabctl/tab_painter.h"
#include "win32/gdi_canvas.h"
#include "win32/text.h"

namespace {

// Writes width x height pixels (0x00RRGGBB, top row first) as a 24-bit BMP.
bool WriteBmp(const std::wstring& path, const std::vector<tabctl::Pixel>& pixels, int width, int height) {
  const DWORD rowBytes = ((width * 3 + 3) / 4) * 4;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom row first
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + rowBytes * height;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  fwrite(&file, sizeof file, 1, out);
  fwrite(&info, sizeof info, 1, out);
  std::vector<unsigned char> row(rowBytes, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const tabctl::Pixel p = pixels[static_cast<std::size_t>(y) * width + x];
      row[x * 3] = p & 0xFF;
      row[x * 3 + 1] = (p >> 8) & 0xFF;
      row[x * 3 + 2] = (p >> 16) & 0xFF;
    }
    fwrite(row.data(), 1, rowBytes, out);
  }
  return fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tools;
  if (argc < 2) {
    std::fprintf(stderr, "usage: tab_gallery_gdi <output folder>\n");
    return 2;
  }
  const std::wstring folder = win32::Widen(argv[1]);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::vector<GalleryVariant> variants = GalleryVariants();
  const int sheetWidth = GallerySheetWidth();
  const int sheetHeight = GallerySheetHeight(variants.size());
  std::vector<tabctl::Pixel> sheet(static_cast<std::size_t>(sheetWidth) * sheetHeight, 0x606060);
  for (std::size_t n = 0; n < variants.size(); ++n) {
    StillHost host(kGalleryWidth, kGalleryHeight);
    StillSystem system;
    win32::GdiCanvas canvas(kGalleryWidth, kGalleryHeight);
    auto painter = tabctl::MakeTabPainter(canvas);
    tabctl::ucPageTab control(host, system);
    control.SetRenderer(painter.get());
    DrawGalleryVariant(control, variants[n]);
    control.SetRenderer(nullptr);
    GdiFlush();
    const std::vector<tabctl::Pixel> image = canvas.Pixels();
    const std::wstring path = folder + L"\\" + win32::Widen(GalleryName(variants[n])) + L".bmp";
    if (!WriteBmp(path, image, kGalleryWidth, kGalleryHeight)) {
      std::fprintf(stderr, "cannot write %s\n", win32::Narrow(path).c_str());
      return 1;
    }
    for (int y = 0; y < kGalleryHeight; ++y) {
      for (int x = 0; x < kGalleryWidth; ++x) {
        sheet[static_cast<std::size_t>(GallerySheetY(n) + y) * sheetWidth + GallerySheetX(n) + x] =
            image[static_cast<std::size_t>(y) * kGalleryWidth + x];
      }
    }
  }
  if (!WriteBmp(folder + L"\\contact-sheet.bmp", sheet, sheetWidth, sheetHeight)) {
    std::fprintf(stderr, "cannot write the contact sheet\n");
    return 1;
  }
  std::printf("%zu images and contact-sheet.bmp in %s\n", variants.size(), argv[1]);
  return 0;
}
