// Building the main window: the control table placed by one loop, then the
// few controls that need more than a caption (list columns, toolbar
// buttons, the tooltip), and the objects that work on the controls.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <optional>

#include "app/control_ids.h"
#include "app/form_main.h"
#include "app/resources/resource_ids.h"
#include "app/startup_marks.h"
#include "engine/history_log.h"
#include "quillmoor/pagetab/page_tab.h"
#include "win32/accessible_name.h"
#include "win32/text.h"

namespace app {
namespace {

constexpr UINT_PTR kLinkSubclass = 1;

// The design of SSTabMain: the properties it is saved with. Start-up sets
// its captions, pictures, page and tab height.
constexpr char kSSTabMainDesign[] = "TabCount = 4\nTabStyle = 1\nTabTheme = 1\n";

// Twips as the tab control counts them (rounded half away from zero).
std::int32_t Twips(int pixels, int dpi) {
  const std::int64_t scaled = std::int64_t{pixels} * 1440;
  const std::int64_t half = dpi / 2;
  return static_cast<std::int32_t>(scaled >= 0 ? (scaled + half) / dpi : (scaled - half) / dpi);
}

// Pixels from twips, rounded as the tab control rounds them.
int Pixels(std::int64_t twips, int dpi) {
  const std::int64_t scaled = twips * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : (scaled - 720) / 1440);
}

// A control's place in twips, as the tab control is given it.
struct PageTwips {
  std::int64_t left;
  std::int32_t top, width, height;
};

// Where a control at these pixels on `page` goes without bringing the page
// in front: a page out of sight stands a whole stride per page away from
// the one in front.
PageTwips OnPage(tabctl::ucPageTab& tabs, int page, int left, int top, int width, int height, int dpi) {
  return {std::int64_t{Twips(left, dpi)} + std::int64_t{tabs.ActiveTab() - page} * tabs.PageStride(),
          Twips(top, dpi), Twips(width, dpi), Twips(height, dpi)};
}

void PlaceOnPage(tabctl::ucPageTab& tabs, HWND child, const PageTwips& at) {
  try {
    tabs.AddControl(0, reinterpret_cast<platform::WindowHandle>(child), static_cast<std::int32_t>(at.left),
                    at.top, at.width, at.height, -1);
  } catch (const tabctl::ControlError&) {
    // A control that cannot be placed stays where it was made.
  }
}

// A picture of the program's, and the size it is drawn at (the system's scale).
win32::UniqueBitmap LoadPicture(HINSTANCE instance, int id, int dpi, int& width, int& height) {
  StartupSpan span("picture-load");
  win32::UniqueBitmap picture(
      static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
  BITMAP info{};
  if (!picture || !GetObjectW(picture.get(), sizeof info, &info)) return picture;
  width = MulDiv(info.bmWidth, dpi, 96);
  height = MulDiv(info.bmHeight, dpi, 96);
  return picture;
}

// Adds an icon of the program's to an image list as its two bitmaps: the
// same image as the icon drawn in, at a fraction of the cost (the list's
// icon path draws it twice, into the image and into the mask).
void AddIcon(HIMAGELIST list, HINSTANCE instance, int id, int size) {
  const HICON icon =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return;
  const win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  ImageList_Add(list, colour.get(), mask.get());
}

// What a screen reader says of a control beyond its caption.
void Describe(HWND child, const ControlRow& row) {
  StartupSpan naming("names");
  if (row.font == FontRole::Link) {
    // Read as a link to its address; its default action clicks it.
    win32::DescribeForScreenReaders(child, {win32::Widen(row.text), ROLE_SYSTEM_LINK, L"打开", true});
  } else if (row.speak != nullptr) {
    win32::DescribeForScreenReaders(
        child, {win32::Widen(row.speak), row.picture != 0 ? ROLE_SYSTEM_GRAPHIC : 0, {}, false});
  }
}

}  // namespace

// The tab control, as SSTabMain was designed, with its active tab's caption bold.
bool FormMain::CreateTabControl() {
  tabs_ = win32::TabControlWindow::Create(hwnd_, kSSTabMain, Px(120), Px(960), Px(8535), Px(5295));
  if (!tabs_) return false;
  tabs_->SetEventSink(this);
  // What a screen reader calls the tab control.
  SetWindowTextW(tabs_->hwnd(), L"页面");
  SendMessageW(tabs_->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.text.get()), FALSE);
  tabctl::ucPageTab& tabs = tabs_->Control();
  try {
    tabs.ReadProperties(tabctl::ParsePropertyText(kSSTabMainDesign).bag);
    tabctl::TabFont active = tabs.ActiveTabFont();
    active.bold = true;
    tabs.SetActiveTabFont(active);
  } catch (const tabctl::ControlError&) {
    // The control keeps the properties of a new one.
  }
  return true;
}

// The controls that need more than a caption, and the links' own hook.
void FormMain::FinishControls() {
  {
    StartupSpan span("history-list");
    SetUpHistoryList();
  }
  {
    StartupSpan span("toolbar");
    SetUpToolbar();
  }
  {
    StartupSpan span("focus-in-sight");
    KeepFocusInSight();
  }
  StartupSpan span("subclass");
  for (int id : {kLabelHomePage, kLabelBBS}) {
    SetWindowSubclass(Control(id), &FormMain::LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(this));
  }
}

bool FormMain::CreateControls() {
  StartupMark("create");
  {
    StartupSpan span("fonts");
    fonts_ = FormFonts::Create(dpi_);
  }
  banner_ = win32::UniqueBitmap(
      static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0)));
  hand_ = static_cast<HCURSOR>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDC_LINK_HAND), IMAGE_CURSOR, 0, 0, LR_SHARED));

  StartupMark("fonts-images");
  if (!CreateTabControl()) return false;  // the window is nothing without its pages
  tabctl::ucPageTab& tabs = tabs_->Control();
  // No repaint for every control placed: the window is not shown yet, and
  // start-up repaints the control once its pages are set up.
  StartupMark("tab-control");
  tabs.SetBusy(true);
  // Placed with its page in front, each control would slide every control
  // placed before it once per page, and the strip be drawn each time. The
  // page the last one is on is brought in front first, and every control
  // goes straight to where that slide would leave it.
  int lastPage = 0;
  for (const ControlRow& row : MainWindowControls()) {
    if (row.page != kOnWindow) lastPage = row.page;
  }
  try {
    tabs.SetActiveTab(lastPage);
  } catch (const tabctl::ControlError&) {
    // The pages stay where they are; the controls are placed from there.
  }
  int rowIndex = 0;
  for (const ControlRow& row : MainWindowControls()) {
    StartupSpan span("place");
    StartupSpan each("row", rowIndex++);
    Place(row);
  }
  StartupMark("placed");
  FinishControls();
  {
    StartupSpan span("tab-not-busy");
    tabs.SetBusy(false);
  }
  StartupMark("controls");
  SetUpTooltip();
  CreateWorkers();
  StartupMark("workers");
  return true;
}

// A label grown for its text; what follows it on its line moves along, and
// keeps its right edge.
void FormMain::FitToText(const ControlRow& row, int& left, int& width, int& height) {
  StartupSpan span("measure");
  height = LabelHeight(row, height);
  const std::pair<int, int> line{row.page, row.top};
  if (const auto pushed = lineShift_.find(line); pushed != lineShift_.end()) {
    left += pushed->second;
    width = std::max(width - pushed->second, 0);
  }
  if (const int grown = LabelWidth(row, width); grown > width) {
    lineShift_[line] += grown - width;
    width = grown;
  }
}

HWND FormMain::Place(const ControlRow& row) {
  const bool onPage = row.page != kOnWindow;
  int width = Px(row.width);
  int height = Px(row.height);
  HBITMAP picture = nullptr;
  if (row.picture != 0) {
    pictures_.push_back(LoadPicture(instance_, row.picture, dpi_, width, height));
    picture = pictures_.back().get();
  }
  int left = Px(row.left);
  int top = Px(row.top);
  FitToText(row, left, width, height);
  // Made where the tab control will put it, so that placing it there moves
  // nothing.
  std::optional<PageTwips> twips;
  if (onPage) {
    twips = OnPage(tabs_->Control(), row.page, left, top, width, height, dpi_);
    left = Pixels(twips->left, dpi_);
    top = Pixels(twips->top, dpi_);
    width = Pixels(twips->width, dpi_);
    height = Pixels(twips->height, dpi_);
  }
  // No one listens for a control's making (WM_PARENTNOTIFY), and each such
  // message would pass through the hooks on the tab control and the window.
  std::optional<StartupSpan> creating(std::in_place, CreationKind(row.cls));
  HWND child = CreateWindowExW(WS_EX_NOPARENTNOTIFY, row.cls, win32::Widen(row.text).c_str(),
                               WS_CHILD | WS_VISIBLE | row.style, left, top, width, height,
                               onPage ? tabs_->hwnd() : hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
  creating.reset();
  if (!child) return nullptr;  // a control that cannot be made is left out
  // The history list lays its header out again at every step of its
  // setting up (font, style, each column, icons): it does so once, when
  // drawing is back on at the end.
  if (std::wcscmp(row.cls, WC_LISTVIEWW) == 0) SendMessageW(child, WM_SETREDRAW, FALSE, 0);
  {
    StartupSpan span("set-font");
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.For(row.font)), FALSE);
  }
  if (picture) {
    StartupSpan span("set-picture");
    SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
  }
  if (const auto box = CheckOf(row.id)) {
    StartupSpan span("check");
    SendMessageW(child, BM_SETCHECK, shell::InitialCheck(*box) ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (twips) {
    StartupSpan span("page-place");
    // A drop-down list is as high as its font makes it (the height it is
    // made with is its list's): placed at the table's height, it would only
    // size itself back, and move its list with it.
    if (std::wcscmp(row.cls, WC_COMBOBOXW) == 0) twips->height = -1;
    PlaceOnPage(tabs_->Control(), child, *twips);
  }
  Describe(child, row);
  if (row.id != kStaticLabel) controls_[row.id] = child;
  return child;
}

// A caption is never cut at the real DPI: a label is at least as high as
// its font's line. A link is only as high as its line, so that the two
// links, one under the other, keep a strip of the tab control between them.
int FormMain::LabelHeight(const ControlRow& row, int pixels) const {
  if (std::wcscmp(row.cls, WC_STATICW) != 0 || row.picture != 0) return pixels;
  const int line = fonts_.LineHeight(row.font);
  if (row.font == FontRole::Link) return line;
  return std::max(pixels, line);
}

// A plain label is at least as wide as its text: with larger system text
// ("make text bigger") a caption would otherwise be cut.
int FormMain::LabelWidth(const ControlRow& row, int pixels) const {
  if (std::wcscmp(row.cls, WC_STATICW) != 0 || row.picture != 0 || row.id != kStaticLabel) return pixels;
  const std::wstring text = win32::Widen(row.text);
  win32::UniqueWindowDc screen(nullptr);
  win32::ScopedSelection selection(screen.get(), fonts_.For(row.font));
  SIZE extent{};
  GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return std::max(pixels, static_cast<int>(extent.cx));
}

void FormMain::SetUpHistoryList() {
  HWND list = Control(kListViewHistory);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  const struct {
    const char* header;
    int hundredthsOfMm;
  } columns[] = {{"NO.", 1587}, {"时间", 2117}, {"加速记录", 7585}, {"加速度", 2540}};
  for (int i = 0; i < 4; ++i) {
    std::wstring header = win32::Widen(columns[i].header);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = header.data();
    column.cx = MulDiv(columns[i].hundredthsOfMm, dpi_, 2540);
    column.iSubItem = i;
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  const int small = GetSystemMetrics(SM_CXSMICON);
  historyImages_ = win32::UniqueImageList(ImageList_Create(small, small, ILC_COLOR32 | ILC_MASK, 1, 0));
  AddIcon(historyImages_.get(), instance_, IDI_HISTORY_ROW, small);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(historyImages_.get()));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

void FormMain::SetUpToolbar() {
  HWND toolbar = Control(kToolbarSpeedMain);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  const int small = GetSystemMetrics(SM_CXSMICON);
  toolbarImages_ = win32::UniqueImageList(ImageList_Create(small, small, ILC_COLOR32 | ILC_MASK, 2, 0));
  for (int id : {IDI_TOOL_CLEAR, IDI_TOOL_SAVE}) AddIcon(toolbarImages_.get(), instance_, id, small);
  SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_.get()));
  // The toolbar copies the texts when the buttons are added.
  std::wstring clearText = win32::Widen(engine::kClearCaption);
  std::wstring saveText = win32::Widen(engine::kSaveCaption);
  TBBUTTON buttons[2] = {};
  buttons[0] = {0,
                kToolClear,
                TBSTATE_ENABLED,
                BTNS_BUTTON | BTNS_AUTOSIZE,
                {},
                0,
                reinterpret_cast<INT_PTR>(clearText.c_str())};
  buttons[1] = {1,
                kToolSave,
                TBSTATE_ENABLED,
                BTNS_BUTTON | BTNS_AUTOSIZE,
                {},
                0,
                reinterpret_cast<INT_PTR>(saveText.c_str())};
  SendMessageW(toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
}

// LabelInfo shows the whole title as its tooltip.
void FormMain::SetUpTooltip() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             0, 0, 0, 0, hwnd_, nullptr, instance_, nullptr);
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.text.get()), FALSE);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = tabs_->hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(Control(kLabelInfo));
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormMain::CreateWorkers() {
  program_.Attach(
      *this,
      {hwnd_,
       {Control(kCheckState), Control(kComboSpeed), Control(kCheckEnableRecord), Control(kLabelInfo),
        Control(kLabelCount), tooltip_, Control(kCheckAccelerateChildren)},
       Control(kListViewHistory),
       Control(kComboAutoCleanCount)},
      [this](const std::string& text) { tray_.ShowBalloon(win32::Widen("提示"), win32::Widen(text)); });
  SetTimer(hwnd_, kTimerMain, 1000, nullptr);
}

}  // namespace app
