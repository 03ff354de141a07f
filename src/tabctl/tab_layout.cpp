#include "tabctl/tab_layout.h"

#include <algorithm>

#include "tabctl/colors.h"
#include "tabctl/tab_painter.h"
#include "tabctl/uc_page_tab.h"

namespace tabctl {
namespace {

int Strip(const TabLayoutMetrics& m) { return std::max(m.activeTabHeight, m.inActiveTabHeight); }

// The close box sits at the tab's top right, one pixel further in for the
// classic look's thicker border.
PixelRect ControlBoxOf(const TabLayoutMetrics& m, int right, int top) {
  return m.theme == TabThemes::System ? PixelRect{right - 14, top + 5, right - 4, top + 15}
                                      : PixelRect{right - 13, top + 5, right - 3, top + 15};
}

}  // namespace

std::vector<TabGeometry> LayoutTabbedDialog(const TabLayoutMetrics& m) {
  std::vector<TabGeometry> out;
  const int count = m.tabCount;
  if (count <= 0) return out;
  const int sw = m.scaleWidth;
  const int w = static_cast<int>(RoundHalfEven(static_cast<double>(sw) / count));
  const int strip = Strip(m);
  out.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const bool active = i == m.activeTab;
    const int left = w * i;
    const int right = i == count - 1 ? sw - 1 : left + w;
    const int height = active ? m.activeTabHeight : m.inActiveTabHeight;
    const int top = strip - height;
    out.push_back({PixelRect{left, top, right, top + height}, ControlBoxOf(m, right, top)});
  }
  return out;
}

std::vector<TabGeometry> LayoutPropertyPages(const TabLayoutMetrics& m,
                                             std::span<const TabCaptionSize> captions) {
  std::vector<TabGeometry> out;
  const int strip = Strip(m);
  const int p = std::max(0, std::min(m.pictureSize, m.theme == TabThemes::System ? strip - 6 : strip - 2));
  const int count = std::min(m.tabCount, static_cast<int>(captions.size()));
  out.reserve(static_cast<std::size_t>(std::max(count, 0)));
  int previousRight = 0;
  for (int i = 0; i < count; ++i) {
    const TabCaptionSize& caption = captions[static_cast<std::size_t>(i)];
    const bool active = i == m.activeTab;
    double width = caption.textWidth + 14.0;
    if (caption.hasPicture) width += p + 1;
    const int w = static_cast<int>(RoundHalfEven(width));
    const int left = i == 0 ? (active ? 0 : 2) : previousRight;
    int right = left + w;
    if (i == 0 && !active) right = m.theme == TabThemes::System ? w : w + 1;
    if (m.useControlBox) right += active ? 15 : 12;
    const int height = active ? m.activeTabHeight : m.inActiveTabHeight;
    const int top = strip - height;
    out.push_back({PixelRect{left, top, right, top + height}, ControlBoxOf(m, right, top)});
    previousRight = right;
  }
  return out;
}

bool LaysOutByCaption(TabStyles style, TabThemes theme) {
  return style == TabStyles::PropertyPages || theme == TabThemes::System3DLight;
}

std::vector<TabGeometry> LayoutTabs(const ucPageTab& control, const TabLayoutMetrics& m, Canvas& surface) {
  if (!LaysOutByCaption(control.TabStyle(), m.theme)) {
    return LayoutTabbedDialog(m);
  }
  const TabFont& f = control.ActiveTabFont();
  surface.SetFont(FontDescription{f.name, f.size, f.bold, f.italic, f.underline, f.strikethrough, f.charset});
  std::vector<TabCaptionSize> captions;
  const auto& tabs = control.AryTabs();
  const std::size_t count = std::min(tabs.size(), static_cast<std::size_t>(std::max(m.tabCount, 0)));
  captions.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    captions.push_back({static_cast<double>(surface.MeasureText(MeasuredCaption(tabs[i].caption)).width),
                        static_cast<bool>(tabs[i].picture)});
  }
  return LayoutPropertyPages(m, captions);
}

}  // namespace tabctl
