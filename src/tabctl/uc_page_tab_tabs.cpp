// ucPageTab: the tab collection and page switching.
//
// The control keeps no list of which contained control belongs to which
// tab: with tab A active, a control of tab k whose own position is L0 sits
// at Left = L0 + (A - k) x PageStride. Switching slides every control; the
// tab of a control is read back from its Left while tab 0 is active.
#include <algorithm>
#include <limits>

#include "platform/error_boundary.h"
#include "tabctl/uc_page_tab.h"

namespace tabctl {
namespace {

// Freezes drawing of the control's window for the length of a scope.
class DrawingLock {
 public:
  explicit DrawingLock(TabHost& host) : host_(host) { host_.LockDrawing(); }
  ~DrawingLock() { Unlock(); }
  DrawingLock(const DrawingLock&) = delete;
  DrawingLock& operator=(const DrawingLock&) = delete;
  void Unlock() {
    if (locked_) {
      locked_ = false;
      host_.UnlockDrawing();
    }
  }

 private:
  TabHost& host_;
  bool locked_ = true;
};

bool FitsInt32(std::int64_t v) {
  return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

std::string DefaultNewCaption(std::int32_t index) { return "Tab " + std::to_string(index); }

}  // namespace

void ucPageTab::CheckIndex(std::int32_t index) const {
  if (index < 0 || index >= tabCount_ || static_cast<std::size_t>(index) >= tabs_.size()) {
    RaiseError(kErrSubscriptOutOfRange);
  }
}

std::int32_t ucPageTab::ComputePageStride() {
  const std::int64_t width = host_.ControlWidth();
  const std::int64_t stride = width > 10000 ? width + 1000 : 10000;
  return static_cast<std::int32_t>(std::min<std::int64_t>(stride, std::numeric_limits<std::int32_t>::max()));
}

void ucPageTab::SlideControls(std::int64_t tabs) {
  if (tabs == 0) return;
  const int count = host_.ContainedControlCount();
  for (int i = 0; i < count; ++i) {
    // A control that cannot be moved (or would leave the coordinate range)
    // stays where it is; the others still move.
    platform::SkipFailure("moving a contained control", [&] {
      const std::int64_t left = std::int64_t{host_.ContainedControlLeft(i)} + tabs * pageStride_;
      if (FitsInt32(left)) host_.SetContainedControlLeft(i, static_cast<std::int32_t>(left));
    });
  }
}

std::int32_t ucPageTab::TabOfControl(std::int32_t left) const {
  if (pageStride_ <= 0) return 0;
  // With tab 0 active only controls of removed tabs lie a whole page or more
  // to the right; they belong to no tab and never come back.
  if (left >= pageStride_) return kParked;
  if (left > 0) return 0;
  return static_cast<std::int32_t>(-std::int64_t{left} / pageStride_ + 1);
}

// ---- ActiveTab ----

void ucPageTab::SetActiveTab(std::int32_t tab) {
  Guarded("ActiveTab", [&] {
    if (tab < 0 || tab >= tabCount_) tab = 0;
    if (tab == activeTab_) return;
    bool cancel = false;
    Events().BeforeTabSwitch(static_cast<std::int16_t>(tab), cancel);
    if (cancel) return;
    // The handler may have changed the tabs; switch from where things are now.
    if (tab >= tabCount_ || tab == activeTab_) return;
    SlideControls(std::int64_t{tab} - activeTab_);
    lastActiveTab_ = activeTab_;
    activeTab_ = tab;
    hotTab_ = tab;
    // Drawn here as well because an input-driven switch runs busy, when
    // Refresh does nothing.
    if (renderer_) {
      renderer_->DrawBackground(*this);
      renderer_->DrawTabs(*this);
    }
    host_.PropertyChanged("ActiveTab");
    Refresh();
    host_.RepaintWindow();
    Events().TabSwitch(static_cast<std::int16_t>(lastActiveTab_));
  });
}

// ---- TabCount ----

void ucPageTab::ResizeTabs(std::int32_t count) {
  const auto size = static_cast<std::int32_t>(tabs_.size());
  if (count > size) {
    tabs_.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = size; i < count; ++i) {
      TabEntry tab;
      tab.caption = DefaultNewCaption(i);
      tabs_.push_back(std::move(tab));
    }
  } else {
    tabs_.resize(static_cast<std::size_t>(count));
    if (activeTab_ >= count || count == 1) {
      // No events, but the pages move along so that the contained controls
      // keep matching the active tab.
      SlideControls(std::int64_t{count - 1} - activeTab_);
      activeTab_ = count - 1;
    }
    if (hotTab_ >= count) hotTab_ = activeTab_;
  }
  laidOut_ = false;
  RebuildAccessKeys();
}

void ucPageTab::SetTabCount(std::int32_t count) {
  Guarded("TabCount", [&] {
    if (count < 1 || count > kMaxTabCount) RaiseError(kErrInvalidPropertyValue);
    ResizeTabs(count);
    tabCount_ = count;
    Refresh();
    host_.PropertyChanged("TabCount");
  });
}

// ---- per tab ----

std::string ucPageTab::TabCaption(std::int32_t index) const {
  if (index < 0 || index >= tabCount_) return {};
  return tabs_[static_cast<std::size_t>(index)].caption;
}

void ucPageTab::SetTabCaption(std::int32_t index, std::string_view caption) {
  Guarded("TabCaption", [&] {
    CheckIndex(index);
    TabEntry& tab = tabs_[static_cast<std::size_t>(index)];
    tab.caption = std::string(caption);
    tab.accessKey = AccessKeyOf(caption);
    // Built from every tab, so that two tabs with the same key do not take
    // each other's key away.
    RebuildAccessKeys();
    host_.PropertyChanged("TabCaption");
    Refresh();
  });
}

bool ucPageTab::TabEnabled(std::int32_t index) const {
  if (index < 0 || index >= tabCount_) return false;
  return tabs_[static_cast<std::size_t>(index)].enabled;
}

void ucPageTab::SetTabEnabled(std::int32_t index, bool enabled) {
  Guarded("TabEnabled", [&] {
    CheckIndex(index);
    tabs_[static_cast<std::size_t>(index)].enabled = enabled;
    host_.PropertyChanged("TabEnabled");
    Refresh();
  });
}

Picture ucPageTab::TabPicture(std::int32_t index) const {
  return Guarded("TabPicture", [&] {
    CheckIndex(index);
    return tabs_[static_cast<std::size_t>(index)].picture;
  });
}

void ucPageTab::SetTabPicture(std::int32_t index, const Picture& picture) {
  Guarded("TabPicture", [&] {
    CheckIndex(index);
    tabs_[static_cast<std::size_t>(index)].picture = picture;
    Refresh();
    host_.PropertyChanged("TabPicture");
  });
}

// ---- insert and remove ----

void ucPageTab::InsertTab(std::int32_t index, std::string_view caption) {
  Guarded("InsertTab", [&] {
    // Index -1 inserts before the first tab.
    if (index < -1 || index >= tabCount_) RaiseError(kErrSubscriptOutOfRange);
    if (tabCount_ >= kMaxTabCount) RaiseError(kErrInvalidPropertyValue);
    DrawingLock lock(host_);
    const std::int32_t previous = activeTab_;
    SetActiveTab(0);              // the page encoding is read relative to tab 0
    if (activeTab_ != 0) return;  // the switch was refused: change nothing

    const int count = host_.ContainedControlCount();
    for (int i = 0; i < count; ++i) {
      platform::SkipFailure("moving a contained control", [&] {
        const std::int32_t left = host_.ContainedControlLeft(i);
        const std::int32_t tab = TabOfControl(left);
        const std::int64_t moved = std::int64_t{left} - pageStride_;
        if (tab != kParked && tab > index && FitsInt32(moved)) {
          host_.SetContainedControlLeft(i, static_cast<std::int32_t>(moved));
        }
      });
    }

    SetTabCount(tabCount_ + 1);
    // The record the count change appended becomes tab index + 1; the tabs
    // after it move up one place with everything they hold.
    std::rotate(tabs_.begin() + (index + 1), tabs_.end() - 1, tabs_.end());
    SetTabCaption(index + 1, caption);
    SetActiveTab(previous >= index + 1 ? previous + 1 : previous);

    lock.Unlock();
    std::int32_t eventIndex = index;
    Events().TabInsert(eventIndex);
  });
}

void ucPageTab::RemoveTab(std::int32_t index) {
  Guarded("RemoveTab", [&] {
    if (tabCount_ <= 1) return;
    CheckIndex(index);
    DrawingLock lock(host_);
    const std::int32_t previous = activeTab_;
    SetActiveTab(0);
    if (activeTab_ != 0) return;

    const std::int32_t count = tabCount_;
    const int controls = host_.ContainedControlCount();
    for (int i = 0; i < controls; ++i) {
      platform::SkipFailure("moving a contained control", [&] {
        const std::int32_t left = host_.ContainedControlLeft(i);
        const std::int32_t tab = TabOfControl(left);
        std::int64_t moved = left;
        if (tab == index) {
          moved += std::int64_t{count} * pageStride_;  // parked right of every page
        } else if (tab != kParked && tab > index) {
          moved += pageStride_;
        } else {
          return;
        }
        if (FitsInt32(moved)) host_.SetContainedControlLeft(i, static_cast<std::int32_t>(moved));
      });
    }

    // The removed record goes last and the count change drops it; the tabs
    // after it move down one place with everything they hold.
    std::rotate(tabs_.begin() + index, tabs_.begin() + (index + 1), tabs_.end());
    SetTabCount(count - 1);

    // The page that was shown stays shown; if it was the removed one, its
    // successor takes its place (its predecessor when it was the last).
    std::int32_t next = previous;
    if (index < previous) {
      next = previous - 1;
    } else if (index == previous) {
      next = std::min(previous, tabCount_ - 1);
    }
    SetActiveTab(next);

    lock.Unlock();
    std::int32_t eventIndex = index;
    Events().TabRemove(eventIndex);
  });
}

// ---- contained controls and pictures ----

void ucPageTab::AddControl(ControlHandle control, platform::WindowHandle window, std::int32_t left,
                           std::int32_t top, std::int32_t width, std::int32_t height, std::int32_t tabIndex) {
  Guarded("AddControl", [&] {
    // Placed while its tab is active, the control lands on that page.
    if (tabIndex != -1 && tabIndex != activeTab_) SetActiveTab(tabIndex);
    ControlPlacement placement;
    if (left != -1) placement.left = left;
    if (top != -1) placement.top = top;
    if (width != -1) placement.width = width;
    if (height != -1) placement.height = height;
    platform::SkipFailure("PlaceControl", [&] { host_.PlaceControl(control, window, placement); });
  });
}

void ucPageTab::CopyTabImagesFromImageList(std::span<const Picture> images) {
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    tabs_[i].picture = Picture();
    if (i >= images.size()) break;
    tabs_[i].picture = images[i];
  }
  platform::SkipFailure("Refresh", [&] { Refresh(); });
}

void ucPageTab::RemoveTabImages(std::int32_t index, bool removeAll) {
  Guarded("RemoveTabImages", [&] {
    if (index == -1 && removeAll) {
      for (TabEntry& tab : tabs_) tab.picture = Picture();
    } else {
      CheckIndex(index);
      tabs_[static_cast<std::size_t>(index)].picture = Picture();
    }
    Refresh();
  });
}

void ucPageTab::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  platform::SkipFailure("SetActiveTab", [&] { SetActiveTab(0); });
  for (TabEntry& tab : tabs_) tab.picture = Picture();
  platform::SkipFailure("RemoveHooks", [&] { host_.RemoveHooks(); });
}

}  // namespace tabctl
