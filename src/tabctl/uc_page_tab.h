// ucPageTab: the self-drawn tab control as a portable model. It holds the
// tabs and every property, switches pages by sliding the contained controls
// of its host, keeps the access keys, saves and reads its property set and
// applies colour themes. Drawing is a TabRenderer's job, the window a
// TabHost's; events go to a ucPageTabEvents sink.
//
// The host, the system, the renderer and the sink must outlive the control,
// or Terminate() must be called while they still exist.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/picture.h"
#include "gfx/pixel_rect.h"
#include "gfx/tab_font.h"
#include "tabctl/colors.h"
#include "tabctl/errors.h"
#include "tabctl/events.h"
#include "tabctl/property_bag.h"
#include "tabctl/tab_host.h"
#include "tabctl/tab_kinds.h"
#include "tabctl/tab_layout.h"
#include "tabctl/tab_renderer.h"
#include "tabctl/tab_system.h"

namespace tabctl {

// One tab.
struct TabEntry {
  PixelRect controlBoxRect;  // close box; laid out by the renderer
  std::string caption;       // may hold "&" access-key markers
  PixelRect tabRect;         // the tab's area; laid out by the renderer
  bool enabled = true;
  std::int32_t accessKey = 0;  // upper-cased character code, 0 = none
  Picture picture;
};

// Hover highlight state (themes 1 and 4), read and written by input and
// drawing.
struct HoverState {
  bool drawn = false;
  PixelRect rect;
  std::int32_t cursorX = 0;
  std::int32_t cursorY = 0;
};

// Mouse-tracking state, read and written by input.
struct TrackingState {
  bool available = false;
  bool throughCommonControls = false;  // _TrackMouseEvent rather than TrackMouseEvent
  bool mouseInside = false;
  bool controlBoxHot = false;
  bool moving = false;  // the host's last size/move loop was a move
};

// a-z become A-Z; every other character stays as it is (access keys are
// kept and compared so).
std::int32_t NormalizeAccessKey(std::int32_t character);

// The character the caption's access-key prefix marks (gfx/access_prefix.h),
// normalised; 0 when there is none.
std::int32_t AccessKeyOf(std::string_view caption);

class ucPageTab {
 public:
  static constexpr std::int32_t kMaxTabCount = 1000;

  ucPageTab(TabHost& host, TabSystem& system);
  ~ucPageTab();
  ucPageTab(const ucPageTab&) = delete;
  ucPageTab& operator=(const ucPageTab&) = delete;

  // ---- seams ----
  void SetEventSink(ucPageTabEvents* sink) { events_ = sink; }
  ucPageTabEvents& Events() { return events_ ? *events_ : silentEvents_; }
  void SetRenderer(TabRenderer* renderer) { renderer_ = renderer; }
  TabHost& Host() { return host_; }
  TabSystem& System() { return system_; }

  // ---- lifecycle ----
  // A newly placed control.
  void InitProperties();
  // A saved control. Values that do not fit their key read as the key's
  // default; the keys concerned are returned.
  std::vector<std::string> ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag);
  // The saved scalar properties, one row each: name, default, member and
  // the range a saved value must be in. InitProperties, ReadProperties and
  // WriteProperties all go by it (uc_page_tab_persistence.cpp).
  struct SavedProperty;
  static std::span<const SavedProperty> SavedProperties();
  // The name of every property of the control, sorted: the saved scalar
  // ones above and those kept or reached otherwise (the tabs, the active
  // tab, the base font, the window's handle and size). Per-tab properties
  // are named without their index. For reference pages and tools.
  static std::span<const std::string_view> PropertyNames();
  // Returns every contained control to the tab-0 arrangement, drops the
  // pictures and removes the window hooks. The destructor does it if it
  // has not been done.
  void Terminate();

  // ---- tabs and pages ----
  std::int32_t ActiveTab() const { return activeTab_; }
  void SetActiveTab(std::int32_t tab);
  std::int32_t LastActiveTab() const { return lastActiveTab_; }
  std::int32_t TabCount() const { return tabCount_; }
  void SetTabCount(std::int32_t count);
  std::string TabCaption(std::int32_t index) const;  // empty for a bad index
  void SetTabCaption(std::int32_t index, std::string_view caption);
  bool TabEnabled(std::int32_t index) const;  // false for a bad index
  void SetTabEnabled(std::int32_t index, bool enabled);
  Picture TabPicture(std::int32_t index) const;  // error 9 for a bad index
  void SetTabPicture(std::int32_t index, const Picture& picture);

  void InsertTab(std::int32_t index, std::string_view caption);
  void RemoveTab(std::int32_t index);
  // -1 for any numeric argument means "not given".
  void AddControl(ControlHandle control, platform::WindowHandle window, std::int32_t left, std::int32_t top,
                  std::int32_t width, std::int32_t height, std::int32_t tabIndex);
  // Picture i of the list goes to tab i; fewer pictures than tabs stop the
  // copy. Never fails.
  void CopyTabImagesFromImageList(std::span<const Picture> images);
  void RemoveTabImages(std::int32_t index, bool removeAll);

  // ---- colours ----
  Color ActiveTabBackEndColor() const { return activeTabBackEndColor_; }
  void SetActiveTabBackEndColor(Color c);
  Color ActiveTabBackStartColor() const { return activeTabBackStartColor_; }
  void SetActiveTabBackStartColor(Color c);
  Color ActiveTabForeColor() const { return activeTabForeColor_; }
  void SetActiveTabForeColor(Color c);
  Color BottomRightInnerBorderColor() const { return bottomRightInnerBorderColor_; }
  void SetBottomRightInnerBorderColor(Color c);
  Color DisabledTabBackColor() const { return disabledTabBackColor_; }
  void SetDisabledTabBackColor(Color c);
  Color DisabledTabForeColor() const { return disabledTabForeColor_; }
  void SetDisabledTabForeColor(Color c);
  Color FocusedColor() const { return focusedColor_; }
  void SetFocusedColor(Color c);
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color c);
  Color HoverColor() const { return hoverColor_; }
  void SetHoverColor(Color c);
  Color InActiveTabBackEndColor() const { return inActiveTabBackEndColor_; }
  void SetInActiveTabBackEndColor(Color c);
  Color InActiveTabBackStartColor() const { return inActiveTabBackStartColor_; }
  void SetInActiveTabBackStartColor(Color c);
  Color InActiveTabForeColor() const { return inActiveTabForeColor_; }
  void SetInActiveTabForeColor(Color c);
  Color OuterBorderColor() const { return outerBorderColor_; }
  void SetOuterBorderColor(Color c);
  Color PictureMaskColor() const { return pictureMaskColor_; }
  void SetPictureMaskColor(Color c);
  Color TabStripBackColor() const { return tabStripBackColor_; }
  void SetTabStripBackColor(Color c);
  Color TopLeftInnerBorderColor() const { return topLeftInnerBorderColor_; }
  void SetTopLeftInnerBorderColor(Color c);
  // The background colour of the control itself (saved, not public in the
  // control's interface; the renderers set it to the page colour).
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color c);

  // ---- fonts ----
  const TabFont& ActiveTabFont() const { return activeTabFont_; }
  void SetActiveTabFont(const TabFont& font);
  const TabFont& InActiveTabFont() const { return inActiveTabFont_; }
  void SetInActiveTabFont(const TabFont& font);
  // The control's base font: set only, no repaint, no notice.
  void SetFont(const TabFont& font) { baseFont_ = font; }
  const TabFont& BaseFont() const { return baseFont_; }

  // ---- sizes, styles, switches ----
  std::int32_t ActiveTabHeight() const { return activeTabHeight_; }
  void SetActiveTabHeight(std::int32_t pixels);
  std::int32_t InActiveTabHeight() const { return inActiveTabHeight_; }
  void SetInActiveTabHeight(std::int32_t pixels);
  std::int32_t XRadius() const { return xRadius_; }
  void SetXRadius(std::int32_t pixels);
  std::int32_t YRadius() const { return yRadius_; }
  void SetYRadius(std::int32_t pixels);
  PictureAlignments PictureAlign() const { return pictureAlign_; }
  void SetPictureAlign(PictureAlignments align);
  PictureSizes PictureSize() const { return pictureSize_; }
  void SetPictureSize(PictureSizes size);
  TabStyles TabStyle() const { return tabStyle_; }
  void SetTabStyle(TabStyles style);
  TabThemes TabTheme() const { return tabTheme_; }
  void SetTabTheme(TabThemes theme);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool on);
  bool UseControlBox() const { return useControlBox_; }
  void SetUseControlBox(bool on);
  bool UseFocusedColor() const { return useFocusedColor_; }
  void SetUseFocusedColor(bool on);
  bool UseMaskColor() const { return useMaskColor_; }
  void SetUseMaskColor(bool on);
  bool UseMouseWheelScroll() const { return useMouseWheelScroll_; }
  void SetUseMouseWheelScroll(bool on);
  bool UseThemeDetection() const { return useThemeDetection_; }
  void SetUseThemeDetection(bool on);

  // ---- window ----
  platform::WindowHandle hwnd();
  std::int32_t ScaleWidth();
  std::int32_t ScaleHeight();

  // ---- themes and colours ----
  void ResetColorsToDefault();
  void ResetAllColors();
  Color GetRGBFromOLE(Color color);
  Color OffsetColor(Color color, std::int32_t offset);
  Color BlendColor(Color colorA, Color colorB, std::int32_t alpha);
  bool IsWinXP();
  std::string GetThemeInfo();

  // ---- drawing entry points ----
  // Full repaint with its guard: does nothing while busy; raises
  // AfterCompleteInit at the first repaint at run time; re-reads the visual
  // style when theme detection is on.
  void Refresh();
  void DrawTabs();
  void ShowHideFocus();
  // The focus-mark toggle on focus changes (guarded like Refresh).
  void pShowHideFocus();
  // Redraws the hover highlight in the current style.
  void pDrawOverXOred();
  // Paints close boxes (index -1 is every tab, state then ignored) and
  // shows the window again.
  void DrawControlBox(ControlBoxState state, std::int32_t index);
  // Mouse-wheel switching: direction < 0 (towards the user) moves to the
  // next tab, otherwise to the previous one; nothing past either end.
  void ScrollTabs(std::int32_t direction);

  // ---- other operations ----
  std::string Version(bool withDate) const;
  std::string ShowFileOpenDialog(platform::WindowHandle owner, const std::string& initialDirectory,
                                 const std::string& filter);

  // ---- state shared with drawing and input ----
  const std::vector<TabEntry>& AryTabs() const { return tabs_; }
  // One tab's rectangles, set by hand.
  void SetTabLayout(std::int32_t index, const PixelRect& tabRect, const PixelRect& controlBoxRect);
  // The whole layout, as the renderer works it out before painting.
  void StoreTabLayout(std::span<const TabGeometry> layout);
  // Lays the tabs out through the renderer if that has not happened since
  // the tab set last changed, so that hit testing works before any paint.
  void EnsureTabLayout();
  std::int32_t TabAccessKey(std::int32_t index) const;  // 0 for a bad index
  // The access-key list last given to the host.
  const std::string& AccessKeys() const { return accessKeys_; }
  // Horizontal distance between the pages of contained controls.
  std::int32_t PageStride() const { return pageStride_; }
  std::int32_t HotTab() const { return hotTab_; }
  void SetHotTab(std::int32_t tab) { hotTab_ = tab; }
  bool IsFocused() const { return isFocused_; }
  // Stores the focus state and shows the window again; the focus mark
  // itself is toggled by pShowHideFocus.
  void SetIsFocused(bool focused);
  // Set while a full repaint, a focus toggle or an input-driven switch
  // runs: repaints and mouse-button handling do nothing meanwhile. A focus
  // change that came meanwhile is drawn when busy is cleared.
  bool Busy() const { return busy_; }
  void SetBusy(bool busy);
  bool Initialised() const { return initialised_; }
  HoverState& Hover() { return hover_; }
  const HoverState& Hover() const { return hover_; }
  TrackingState& Tracking() { return tracking_; }
  const TrackingState& Tracking() const { return tracking_; }

 private:
  // The usual property change: store, repaint, notice under the name.
  template <typename T>
  void StoreAndRepaint(T& member, const T& value, const char* name);

  // Sets every saved scalar property to its default.
  void ApplySavedDefaults(const TabFont& containerFont, Color containerBack);
  // ReadProperties' steps: the saved table's properties, then the tabs. A
  // value no control can have becomes its default and its key a note.
  void ReadSavedTable(const PropertyBag& bag, const TabFont& containerFont, Color containerBack,
                      std::vector<std::string>& notes);
  void ReadTabs(const PropertyBag& bag, std::int32_t tabCount, std::vector<std::string>& notes);

  void CheckIndex(std::int32_t index) const;
  void ResizeTabs(std::int32_t count);
  void RebuildAccessKeys();
  std::int32_t ComputePageStride();
  bool RunMode();
  // Moves every contained control by tabs × PageStride (errors skipped).
  void SlideControls(std::int64_t tabs);
  // Tab of a contained control while tab 0 is active; kParked for a
  // control of a removed tab.
  static constexpr std::int32_t kParked = -2;
  std::int32_t TabOfControl(std::int32_t left) const;
  void ApplyTheme(TabThemes theme);

  TabHost& host_;
  TabSystem& system_;
  ucPageTabEvents* events_ = nullptr;
  ucPageTabEvents silentEvents_;
  TabRenderer* renderer_ = nullptr;

  // Properties.
  std::int32_t activeTab_ = 0;
  std::int32_t lastActiveTab_ = 0;
  std::int32_t tabCount_ = 0;
  Color activeTabBackEndColor_ = 0;
  Color activeTabBackStartColor_ = 0;
  Color activeTabForeColor_ = 0;
  Color bottomRightInnerBorderColor_ = 0;
  Color disabledTabBackColor_ = 0;
  Color disabledTabForeColor_ = 0;
  Color focusedColor_ = 0;
  Color foreColor_ = 0;
  Color hoverColor_ = 0;
  Color inActiveTabBackEndColor_ = 0;
  Color inActiveTabBackStartColor_ = 0;
  Color inActiveTabForeColor_ = 0;
  Color outerBorderColor_ = 0;
  Color pictureMaskColor_ = 0;
  Color tabStripBackColor_ = 0;
  Color topLeftInnerBorderColor_ = 0;
  Color backColor_ = 0;
  TabFont activeTabFont_;
  TabFont inActiveTabFont_;
  TabFont baseFont_;
  std::int32_t activeTabHeight_ = 0;
  std::int32_t inActiveTabHeight_ = 0;
  std::int32_t xRadius_ = 0;
  std::int32_t yRadius_ = 0;
  PictureAlignments pictureAlign_ = PictureAlignments::Left;
  PictureSizes pictureSize_ = PictureSizes::Small;
  TabStyles tabStyle_ = TabStyles::TabbedDialog;
  TabThemes tabTheme_ = TabThemes::System;
  bool enabled_ = true;
  bool showFocusRect_ = false;
  bool useControlBox_ = false;
  bool useFocusedColor_ = false;
  bool useMaskColor_ = false;
  bool useMouseWheelScroll_ = false;
  bool useThemeDetection_ = false;

  // State.
  std::vector<TabEntry> tabs_;
  std::string accessKeys_;
  std::int32_t pageStride_ = 0;
  std::int32_t hotTab_ = 0;
  bool isFocused_ = false;
  bool busy_ = false;
  // A focus toggle was refused while busy: the image's focus mark may not
  // match IsFocused until the next full repaint.
  bool focusMarkStale_ = false;
  bool initialised_ = false;
  bool terminated_ = false;
  bool laidOut_ = false;  // the tabs' rectangles are a layout of the current tab set
  HoverState hover_;
  TrackingState tracking_;
};

}  // namespace tabctl
