// The gallery's scene, shared by the raster gallery (native, for the tests'
// pictures) and the GDI gallery (under Wine, with real text): the tab
// control in both styles and all five themes, without close boxes and
// pictures at the left, and with close boxes and pictures at the right; the
// second tab active and focused, the fourth disabled.
#pragma once

#include <string>
#include <vector>

#include "gfx/pixel_picture.h"
#include "tabctl/uc_page_tab.h"

namespace tools {

constexpr int kGalleryWidth = 360;
constexpr int kGalleryHeight = 120;
constexpr int kGalleryGap = 8;
constexpr int kGalleryColumns = 4;  // dialog, dialog with boxes, pages, pages with boxes

// A 16 x 16 picture: a coloured disc on the magenta mask colour.
inline tabctl::Picture MakeGalleryIcon(tabctl::Rgb ink) {
  using namespace tabctl;
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

struct GalleryVariant {
  tabctl::TabStyles style;
  int theme;
  bool controlBox;
  tabctl::PictureAlignments align;
};

// One row per theme, in the contact sheet's column order.
inline std::vector<GalleryVariant> GalleryVariants() {
  using namespace tabctl;
  std::vector<GalleryVariant> variants;
  for (int theme = 0; theme <= 4; ++theme) {
    for (TabStyles style : {TabStyles::TabbedDialog, TabStyles::PropertyPages}) {
      variants.push_back({style, theme, false, PictureAlignments::Left});
      variants.push_back({style, theme, true, PictureAlignments::Right});
    }
  }
  return variants;
}

// "dialog-theme0-picleft", "pages-theme3-box-picright", ...
inline std::string GalleryName(const GalleryVariant& v) {
  return std::string(v.style == tabctl::TabStyles::TabbedDialog ? "dialog" : "pages") + "-theme" +
         std::to_string(v.theme) + (v.controlBox ? "-box" : "") +
         (v.align == tabctl::PictureAlignments::Left ? "-picleft" : "-picright");
}

// Sets up `control` (its renderer already set) for one variant and draws it.
inline void DrawGalleryVariant(tabctl::ucPageTab& control, const GalleryVariant& v) {
  using namespace tabctl;
  control.InitProperties();
  control.SetTabCount(4);
  // Latin and Chinese captions, one with an access key.
  const char* captions[] = {"&General", "加速状态", "History", "关于"};
  const Rgb inks[] = {MakeRgb(40, 120, 220), MakeRgb(220, 90, 40), MakeRgb(60, 160, 60),
                      MakeRgb(150, 80, 190)};
  for (int i = 0; i < 4; ++i) {
    control.SetTabCaption(i, captions[i]);
    control.SetTabPicture(i, MakeGalleryIcon(inks[i]));
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
}

// Where variant n goes on the contact sheet, and the sheet's size.
inline int GallerySheetX(std::size_t n) {
  return kGalleryGap + static_cast<int>(n % kGalleryColumns) * (kGalleryWidth + kGalleryGap);
}
inline int GallerySheetY(std::size_t n) {
  return kGalleryGap + static_cast<int>(n / kGalleryColumns) * (kGalleryHeight + kGalleryGap);
}
inline int GallerySheetWidth() {
  return kGalleryColumns * kGalleryWidth + (kGalleryColumns + 1) * kGalleryGap;
}
inline int GallerySheetHeight(std::size_t count) {
  const int rows = static_cast<int>(count) / kGalleryColumns;
  return rows * kGalleryHeight + (rows + 1) * kGalleryGap;
}

}  // namespace tools
