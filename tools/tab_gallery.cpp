// Renders the tab control with the raster canvas (whose built-in font shows
// text as boxes) in every variant of the gallery scene into PNG files, plus
// one contact sheet of them. The pictures with real text come from
// tab_gallery_gdi under Wine.
//
//   tab_gallery <output folder> [contact sheet path]
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "gallery_scene.h"
#include "gfx/png_writer.h"
#include "gfx/raster_canvas.h"
#include "still_host.h"
#include "tabctl/tab_painter.h"

int main(int argc, char** argv) {
  using namespace tabctl;
  using namespace tools;
  const std::filesystem::path folder = argc > 1 ? argv[1] : "gallery";
  std::filesystem::create_directories(folder);
  const std::vector<GalleryVariant> variants = GalleryVariants();
  Bitmap sheet(GallerySheetWidth(), GallerySheetHeight(variants.size()), MakeRgb(96, 96, 96));
  for (std::size_t n = 0; n < variants.size(); ++n) {
    StillHost host(kGalleryWidth, kGalleryHeight);
    StillSystem system;
    RasterCanvas image(kGalleryWidth, kGalleryHeight);
    auto painter = MakeTabPainter(image);
    ucPageTab control(host, system);
    control.SetRenderer(painter.get());
    DrawGalleryVariant(control, variants[n]);
    control.SetRenderer(nullptr);
    const auto path = folder / (GalleryName(variants[n]) + ".png");
    if (!WritePng(path.string(), image)) {
      std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
      return 1;
    }
    for (int y = 0; y < kGalleryHeight; ++y) {
      for (int x = 0; x < kGalleryWidth; ++x) {
        sheet.Set(GallerySheetX(n) + x, GallerySheetY(n) + y, image.PixelAt(x, y));
      }
    }
  }
  const std::string sheetPath = argc > 2 ? argv[2] : (folder / "contact-sheet.png").string();
  if (!WritePng(sheetPath, sheet)) {
    std::fprintf(stderr, "cannot write %s\n", sheetPath.c_str());
    return 1;
  }
  std::printf("%zu images in %s, contact sheet %s\n", variants.size(), folder.string().c_str(),
              sheetPath.c_str());
  return 0;
}
