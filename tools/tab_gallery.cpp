// Renders the tab control in both styles and all five themes, with and
// without close boxes, pictures at the left and at the right, one disabled
// tab and the focus mark, into PNG files, plus one contact sheet of them.
//
//   tab_gallery <output folder> [contact sheet path]
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "still_host.h"
#include "tabctl/png_writer.h"
#include "tabctl/raster_canvas.h"
#include "tabctl/tab_painter.h"
#include "tabctl/uc_page_tab.h"

namespace {

using namespace tabctl;

constexpr int kWidth = 360;
constexpr int kHeight = 120;
constexpr int kGap = 8;

// A 16 x 16 picture: a coloured disc on the magenta mask colour.
Picture MakeIcon(Rgb ink) {
  Bitmap b(16, 16, MakeRgb(255, 0, 255));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const int dx = 2 * x - 15, dy = 2 * y - 15;
      if (dx * dx + dy * dy <= 196) b.Set(x, y, ink);
      if (dx * dx + dy * dy <= 36) b.Set(x, y, MakeRgb(255, 255, 255));
    }
  }
  return MakePixelPicture(b);
}

struct Variant {
  TabStyles style;
  int theme;
  bool controlBox;
  PictureAlignments align;
};

std::string FileName(const Variant& v) {
  return std::string(v.style == TabStyles::TabbedDialog ? "dialog" : "pages") + "-theme" +
         std::to_string(v.theme) + (v.controlBox ? "-box" : "") +
         (v.align == PictureAlignments::Left ? "-picleft" : "-picright") + ".png";
}

RasterCanvas Render(const Variant& v) {
  tools::StillHost host(kWidth, kHeight);
  tools::StillSystem system;
  RasterCanvas canvas(kWidth, kHeight);
  auto painter = MakeTabPainter(canvas);
  ucPageTab control(host, system);
  control.SetRenderer(painter.get());
  control.InitProperties();
  control.SetTabCount(4);
  const char* captions[] = {"&General", "Speed", "History", "About"};
  const Rgb inks[] = {MakeRgb(40, 120, 220), MakeRgb(220, 90, 40), MakeRgb(60, 160, 60),
                      MakeRgb(150, 80, 190)};
  for (int i = 0; i < 4; ++i) {
    control.SetTabCaption(i, captions[i]);
    control.SetTabPicture(i, MakeIcon(inks[i]));
  }
  control.SetTabEnabled(3, false);
  control.SetActiveTabHeight(22);
  control.SetInActiveTabHeight(20);
  control.SetTabStyle(v.style);
  control.SetTabTheme(static_cast<TabThemes>(v.theme));
  control.SetPictureMaskColor(RgbColor(255, 0, 255));
  control.SetPictureAlign(v.align);
  control.SetUseControlBox(v.controlBox);
  control.SetActiveTab(1);
  control.SetIsFocused(true);
  control.Refresh();
  control.SetRenderer(nullptr);
  return canvas;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : "gallery";
  std::filesystem::create_directories(folder);
  std::vector<Variant> variants;
  for (int theme = 0; theme <= 4; ++theme) {
    for (TabStyles style : {TabStyles::TabbedDialog, TabStyles::PropertyPages}) {
      variants.push_back({style, theme, false, PictureAlignments::Left});
      variants.push_back({style, theme, true, PictureAlignments::Right});
    }
  }
  // Contact sheet: one row per theme; columns dialog, dialog with boxes,
  // pages, pages with boxes.
  const int columns = 4;
  const int rows = static_cast<int>(variants.size()) / columns;
  const int sheetWidth = columns * kWidth + (columns + 1) * kGap;
  const int sheetHeight = rows * kHeight + (rows + 1) * kGap;
  Bitmap sheet(sheetWidth, sheetHeight, MakeRgb(96, 96, 96));
  for (std::size_t n = 0; n < variants.size(); ++n) {
    const RasterCanvas image = Render(variants[n]);
    const auto path = folder / FileName(variants[n]);
    if (!WritePng(path.string(), image)) {
      std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
      return 1;
    }
    const int ox = kGap + static_cast<int>(n % columns) * (kWidth + kGap);
    const int oy = kGap + static_cast<int>(n / columns) * (kHeight + kGap);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) sheet.Set(ox + x, oy + y, image.PixelAt(x, y));
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
