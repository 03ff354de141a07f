// Interim painter: equal tabs along the top, outlined, with their captions.
// It lays out TabRect so that input works; the real styles replace it.
#include "tabctl/tab_painter.h"

#include "tabctl/uc_page_tab.h"

namespace tabctl {
namespace {

class InterimPainter : public TabRenderer {
 public:
  explicit InterimPainter(Canvas& canvas) : canvas_(canvas) {}
  void DrawMe(ucPageTab& control) override {
    canvas_.Clear(MakeRgb(240, 240, 240));
    DrawBackground(control);
    DrawTabs(control);
  }
  void DrawBackground(ucPageTab& control) override {
    const Size size = canvas_.ClientSize();
    canvas_.SetPenColor(MakeRgb(128, 128, 128));
    canvas_.RectangleOutline(0, control.ActiveTabHeight(), size.width - 1,
                             size.height - control.ActiveTabHeight() - 1);
  }
  void DrawTabs(ucPageTab& control) override {
    const int height = control.ActiveTabHeight();
    for (int i = 0; i < control.TabCount(); ++i) {
      const PixelRect tab{2 + i * 80, 0, 2 + i * 80 + 78, height};
      control.SetTabLayout(i, tab, PixelRect{});
      Rect text{tab.left, tab.top, tab.right, tab.bottom};
      canvas_.SetPenColor(MakeRgb(128, 128, 128));
      canvas_.RectangleOutline(tab.left, tab.top, tab.right - tab.left, tab.bottom - tab.top);
      canvas_.SetTextColor(i == control.ActiveTab() ? MakeRgb(0, 0, 0) : MakeRgb(96, 96, 96));
      canvas_.DrawTextLine(control.AryTabs()[i].caption, text, kTextCenter | kTextVCenter | kTextSingleLine);
    }
  }
  void ShowHideFocus(ucPageTab&) override {}
  void DrawOverXOred(ucPageTab&) override {}

 private:
  Canvas& canvas_;
};

}  // namespace

std::unique_ptr<TabRenderer> MakeTabPainter(Canvas& canvas) { return std::make_unique<InterimPainter>(canvas); }

}  // namespace tabctl
