#include "app/form_main.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwchar>

#include "app/control_ids.h"
#include "app/exit_request.h"
#include "app/never_dialog.h"
#include "app/resources/resource_ids.h"
#include "app/startup_marks.h"
#include "engine/history_log.h"
#include "engine/product.h"
#include "quillmoor/pagetab/page_tab_picture.h"
#include "shell/tray.h"
#include "shell/window_rules.h"
#include "win32/lazy_library.h"
#include "win32/window_binding.h"

namespace app {
namespace {

constexpr COLORREF kLinkResting = 0xFF0000;  // blue, as a BGR value
constexpr COLORREF kLinkHover = 0x0000FF;    // red
// Posted to show the next waiting notice.
constexpr UINT kShowNoticeMessage = WM_APP + 1;

using win32::UniqueMenu;

HICON SharedIcon(HINSTANCE instance, int cx, int cy) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_BREVOLT), IMAGE_ICON,
                                       GetSystemMetrics(cx), GetSystemMetrics(cy), LR_SHARED));
}

// The small icon, or the large one where there is none.
HICON TrayIconImage(HINSTANCE instance) {
  HICON small = SharedIcon(instance, SM_CXSMICON, SM_CYSMICON);
  return small ? small : SharedIcon(instance, SM_CXICON, SM_CYICON);
}

// The window class, registered once for the process; its icons are shared
// ones, which the system keeps for as long as the class.
bool RegisterMainClass(HINSTANCE instance, WNDPROC procedure) {
  static const bool registered = [&] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = SharedIcon(instance, SM_CXICON, SM_CYICON);
    wc.hIconSm = SharedIcon(instance, SM_CXSMICON, SM_CYSMICON);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kMainClass;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

// Sets the opaque pixels of `size` rows of 32-bit pixels (blue, green, red,
// alpha), the top row at `top` and each next one `step` bytes on.
void SetOpaquePixels(tabctl::Bitmap& pixels, const BYTE* top, std::ptrdiff_t step, int size) {
  for (int y = 0; y < size; ++y) {
    const BYTE* row = top + step * y;
    for (int x = 0; x < size; ++x) {
      const BYTE* p = row + 4 * x;
      if (p[3] >= 128) pixels.Set(x, y, tabctl::MakeRgb(p[2], p[1], p[0]));
    }
  }
}

// The opaque pixels of an icon resource's 32-bit image of exactly `size`,
// read from the resource itself (the frame the system would pick for that
// size); false when there is none, and the icon is then drawn instead.
bool ReadIconPixels(HINSTANCE instance, int id, int size, tabctl::Bitmap& pixels) {
  HRSRC group = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
  auto* directory = group ? static_cast<BYTE*>(LockResource(LoadResource(instance, group))) : nullptr;
  const int frame = directory ? LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR) : 0;
  HRSRC image = frame ? FindResourceW(instance, MAKEINTRESOURCEW(frame), RT_ICON) : nullptr;
  const auto* bits = image ? static_cast<const BYTE*>(LockResource(LoadResource(instance, image))) : nullptr;
  if (!bits || SizeofResource(instance, image) < sizeof(BITMAPINFOHEADER)) return false;
  BITMAPINFOHEADER header;
  std::memcpy(&header, bits, sizeof header);
  const std::size_t rowBytes = static_cast<std::size_t>(size) * 4;
  if (header.biWidth != size || header.biHeight != 2 * size || header.biBitCount != 32 ||
      header.biCompression != BI_RGB ||
      SizeofResource(instance, image) < header.biSize + rowBytes * static_cast<std::size_t>(size)) {
    return false;
  }
  // The colour rows come from the bottom up.
  const BYTE* bottom = bits + header.biSize;
  SetOpaquePixels(pixels, bottom + rowBytes * static_cast<std::size_t>(size - 1),
                  -static_cast<std::ptrdiff_t>(rowBytes), size);
  return true;
}

// An icon resource as a tab picture: its opaque pixels, and the mask colour
// where it is transparent.
tabctl::Picture IconPicture(HINSTANCE instance, int id, int size, COLORREF mask) {
  tabctl::Bitmap pixels(size, size, mask);
  if (ReadIconPixels(instance, id, size, pixels)) return tabctl::MakePixelPicture(std::move(pixels), true);
  win32::UniqueIcon icon(
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
  if (!icon) return {};
  ICONINFO info{};
  if (!GetIconInfo(icon.get(), &info)) return tabctl::MakePixelPicture(std::move(pixels), true);
  const win32::UniqueBitmap colour(info.hbmColor), monochrome(info.hbmMask);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;  // top-down rows
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> argb(static_cast<size_t>(size) * size);
  win32::UniqueWindowDc screen(nullptr);
  if (colour && GetDIBits(screen.get(), colour.get(), 0, size, argb.data(), &format, DIB_RGB_COLORS)) {
    SetOpaquePixels(pixels, reinterpret_cast<const BYTE*>(argb.data()), std::ptrdiff_t{size} * 4, size);
  }
  return tabctl::MakePixelPicture(std::move(pixels), true);
}

}  // namespace

FormMain::FormMain(HINSTANCE instance)
    : instance_(instance),
      icon_(SharedIcon(instance, SM_CXICON, SM_CYICON)),
      program_([this](const std::string& text) { Notice(text); }),
      tray_(TrayIconImage(instance), kTimerTray) {
  win32::UniqueWindowDc screen(nullptr);
  dpi_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
}

// The window goes before the fonts, bitmaps and image lists its controls
// still show.
FormMain::~FormMain() {
  if (hwnd_) DestroyWindow(hwnd_);
}

std::unique_ptr<FormMain> FormMain::Create(HINSTANCE instance) {
  std::unique_ptr<FormMain> form(new FormMain(instance));
  if (!RegisterMainClass(instance, &FormMain::WindowProc)) return nullptr;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT rect{0, 0, form->Px(8790), form->Px(6855)};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  // A failed creation has already been through WM_NCDESTROY, which only
  // unbinds the form: it is freed here, once.
  if (!CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, kMainCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                       rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance,
                       form.get())) {
    return nullptr;
  }
  StartupMark("window");
  form->Start();
  return form;
}

void FormMain::Start() {
  // What a killed run left raised goes back before anything is raised anew.
  program_.PutBackAfterCrash();
  StartupMark("put-back");
  // The load event runs before the window is first shown.
  loading_ = true;
  program_.Load();
  loading_ = false;
  StartupMark("load");
  // Focus marks stay on from the start, not only after the first key.
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  // Started for the tray while the shell refused the icon, the window
  // stays minimized on the taskbar.
  if (!hiddenToTray_ && hwnd_ && !IsIconic(hwnd_)) {
    ShowWithState(SW_SHOWNORMAL);
    StartupMark("show");
    UpdateWindow(hwnd_);
    StartupMark("paint");
  }
}

HWND FormMain::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

// ---- shell::FormMainView ----

bool FormMain::IsChecked(shell::Check box) {
  return SendMessageW(Control(CheckId(box)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormMain::SetChecked(shell::Check box, bool checked) {
  SendMessageW(Control(CheckId(box)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FormMain::FillCombo(shell::Combo list, const std::vector<std::string>& items) {
  StartupSpan span("load-lists");
  for (const auto& item : items) {
    SendMessageW(Control(ComboId(list)), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(win32::Widen(item).c_str()));
  }
}

int FormMain::Selection(shell::Combo list) {
  return static_cast<int>(SendMessageW(Control(ComboId(list)), CB_GETCURSEL, 0, 0));
}

void FormMain::Select(shell::Combo list, int index) {
  SendMessageW(Control(ComboId(list)), CB_SETCURSEL, index, 0);
}

std::string FormMain::ComboText(shell::Combo list) { return win32::WindowText(Control(ComboId(list))); }

void FormMain::SetUpPages() {
  StartupSpan span("load-pages");
  tabctl::ucPageTab& tabs = tabs_->Control();
  // Every step below would redraw the whole strip; the window is not shown
  // yet, so it is drawn once, when the pages are set up.
  tabs.SetBusy(true);
  try {
    const COLORREF mask = tabs.GetRGBFromOLE(tabs.PictureMaskColor()) & 0xFFFFFF;
    const int size = GetSystemMetrics(SM_CXSMICON);
    const tabctl::Picture pictures[] = {IconPicture(instance_, IDI_TAB_STATUS, size, mask),
                                        IconPicture(instance_, IDI_TAB_SETTINGS, size, mask),
                                        IconPicture(instance_, IDI_TAB_HISTORY, size, mask),
                                        IconPicture(instance_, IDI_TAB_ABOUT, size, mask)};
    tabs.CopyTabImagesFromImageList(pictures);
    const char* captions[] = {"加速状态", "系统设置", "加速记录", "关于"};
    for (int i = 0; i < 4; ++i) tabs.SetTabCaption(i, captions[i]);
    tabs.SetActiveTab(3);
    // 25 pixels at 96 dpi; the tab heights grow with the text at higher ones.
    tabs.SetActiveTabHeight(MulDiv(25, dpi_, 96));
    tabs.SetInActiveTabHeight(MulDiv(tabs.InActiveTabHeight(), dpi_, 96));
  } catch (const tabctl::ControlError&) {
    // A failing step is skipped; start-up goes on.
  }
  tabs.SetBusy(false);
  tabs.Refresh();
}

void FormMain::SetTopmost(bool topmost) {
  topmost_ = topmost;
  // Made not topmost when it is not: a call that changes nothing, which
  // every start made (the option is off by default) before the first paint.
  const bool already = (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (!topmost && !already) return;
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Some window managers (Wine's among them) drop the topmost state set
// while the window was hidden: it is set again once the window shows.
void FormMain::ShowWithState(int command) {
  ShowWindow(hwnd_, command);
  if (topmost_) SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void FormMain::RunTick() {
  StartupSpan span("load-tick");
  program_.Tick();
}

void FormMain::PutBackRaised() { program_.PutBackRaised(); }

void FormMain::ResetLinkStyle() {
  SetLinkHover(Control(kLabelHomePage), false);
  SetLinkHover(Control(kLabelBBS), false);
}

// The window hook is part of the window's own procedure, switched on and
// off: as a subclass it cost every message of the window two lookups of the
// subclass chain (a trip to the window server each under Wine), and other
// subclasses (the tab control's hook of its host) still come and go in any
// order.
void FormMain::InstallWindowHook() { hooked_ = true; }

void FormMain::RemoveWindowHook() { hooked_ = false; }

void FormMain::AddTrayIcon() {
  StartupSpan span("load-tray-icon");
  tray_.Add(hwnd_);
}

void FormMain::DeleteTrayIcon() { tray_.Delete(); }

// The hide request is a message anyone may send: WM_COMMAND with SC_MINIMIZE.
void FormMain::SendHideRequest() { SendMessageW(hwnd_, WM_COMMAND, SC_MINIMIZE, 0); }

bool FormMain::AskYesNo(const std::string& text, const std::string& caption) {
  // Asked while a dialog has the window disabled, the box enables it again
  // when it closes: the dialog must keep it disabled.
  const bool wasEnabled = IsWindowEnabled(hwnd_);
  const bool yes = MessageBoxW(hwnd_, win32::Widen(text).c_str(), win32::Widen(caption).c_str(),
                               MB_YESNO | MB_ICONQUESTION) == IDYES;
  if (!wasEnabled && hwnd_) EnableWindow(hwnd_, FALSE);
  return yes;
}

void FormMain::CancelModalSteps() {
  if (program_.Attached()) program_.Saving().Silence();
  notices_.clear();
  // The file dialog and the boxes are dialogs owned by the window; each
  // takes IDCANCEL as its Cancel button (a box with OK alone as its OK). A
  // Yes/No box (the exit question, asked when the exit came from outside)
  // has no Cancel and ignores it: it is answered No.
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM owner) {
        wchar_t cls[16] = {};
        GetClassNameW(window, cls, 16);
        if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) &&
            std::wcscmp(cls, L"#32770") == 0) {
          const WPARAM answer = GetDlgItem(window, IDNO) != nullptr ? IDNO : IDCANCEL;
          PostMessageW(window, WM_COMMAND, answer, 0);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(hwnd_));
}

void FormMain::Unload() {
  if (hwnd_) DestroyWindow(hwnd_);
}

// A box opened inside a control's click would hold whoever sent the click
// until it is closed, and during start-up the window is not shown yet: the
// notice waits for the message loop.
void FormMain::Notice(const std::string& text) {
  notices_.push_back(text);
  PostMessageW(hwnd_, kShowNoticeMessage, 0, 0);
}

void FormMain::ShowNextNotice() {
  if (notices_.empty()) return;
  const std::wstring text = win32::Widen(notices_.front());
  notices_.pop_front();
  MessageBoxW(hwnd_, text.c_str(), win32::Widen("提示").c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// ---- the tab control's events ----

void FormMain::MouseDown(std::int16_t, std::int16_t, float, float) { BeginWindowDrag(); }

void FormMain::MouseMove(std::int16_t, std::int16_t, float, float) { ResetLinkStyle(); }

void FormMain::TabSwitch(std::int16_t) {
  // A control of the page that went out of sight gives the focus to the tabs.
  HWND focus = GetFocus();
  if (tabs_ && focus && IsChild(tabs_->hwnd(), focus)) SetFocus(tabs_->hwnd());
}

void FormMain::RestoreFocus() {
  const std::vector<HWND> stops = FocusOrder();
  if (std::find(stops.begin(), stops.end(), lastFocus_) != stops.end()) {
    SetFocus(lastFocus_);
  } else if (tabs_) {
    SetFocus(tabs_->hwnd());
  }
}

void FormMain::BeginWindowDrag() {
  ReleaseCapture();
  SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// ---- links ----

void FormMain::SetLinkHover(HWND link, bool hover) {
  if (!link) return;
  bool& state = link == Control(kLabelHomePage) ? homeHover_ : bbsHover_;
  const bool changed = state != hover;
  state = hover;
  SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(hover ? fonts_.linkHover.get() : fonts_.link.get()),
               FALSE);
  if (changed || loading_) InvalidateRect(link, nullptr, TRUE);
}

void FormMain::OpenLink(HWND link) {
  const std::string address(link == Control(kLabelHomePage) ? engine::kHomePage : engine::kForumPage);
  win32::JoinComApartment();  // the handler of an address may be a COM object
  ShellExecuteA(hwnd_, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK FormMain::LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self) {
  auto* form = reinterpret_cast<FormMain*>(self);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &FormMain::LinkProc, id);
  if (message == WM_MOUSEMOVE) form->SetLinkHover(hwnd, true);
  if (message == WM_SETCURSOR && form->hand_) {
    SetCursor(form->hand_);
    return TRUE;
  }
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) InvalidateRect(hwnd, nullptr, TRUE);
  if (message == WM_PAINT) {
    // A static draws no focus mark: the focused link gets one round its text.
    const LRESULT painted = DefSubclassProc(hwnd, message, wParam, lParam);
    if (GetFocus() == hwnd) DrawLinkFocus(hwnd);
    return painted;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void FormMain::DrawLinkFocus(HWND link) {
  win32::UniqueWindowDc dc(link);
  const win32::ScopedSelection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)));
  const std::wstring text = win32::Widen(win32::WindowText(link));
  RECT client{};
  GetClientRect(link, &client);
  RECT mark = client;
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &mark,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  mark.right = std::min(mark.right + 1, client.right);
  mark.bottom = std::min(mark.bottom, client.bottom);
  DrawFocusRect(dc.get(), &mark);
}

// Enter or Space on a focused link opens it as a click does.
bool FormMain::OpenFocusedLink() {
  HWND focus = GetFocus();
  if (focus == nullptr || (focus != Control(kLabelHomePage) && focus != Control(kLabelBBS))) return false;
  const WPARAM notice = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(focus)), STN_CLICKED);
  PostMessageW(GetParent(focus), WM_COMMAND, notice, reinterpret_cast<LPARAM>(focus));
  return true;
}

// Controls on the pages stand on the tab control's page colour; the
// buttons below it on the window's own.
HBRUSH FormMain::PageBrush(HWND control) {
  if (!tabs_ || GetParent(control) != tabs_->hwnd()) return GetSysColorBrush(COLOR_BTNFACE);
  const COLORREF colour = tabs_->Control().GetRGBFromOLE(tabs_->Control().BackColor()) & 0xFFFFFF;
  if (!pageBrush_ || colour != pageBrushColour_) {
    pageBrush_ = win32::UniqueBrush(CreateSolidBrush(colour));
    pageBrushColour_ = colour;
  }
  return pageBrush_.get();
}

// The system's text colour, which goes with the page colour in every
// scheme: the DC a control hands over keeps black otherwise, invisible on a
// high-contrast black page. Under high contrast the links and the warning
// take the scheme's colours too.
bool FormMain::HighContrast() {
  if (!highContrast_) {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    highContrast_ = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                    (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  }
  return *highContrast_;
}

LRESULT FormMain::OnColor(HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  const bool home = control == Control(kLabelHomePage);
  const bool link = home || control == Control(kLabelBBS);
  const shell::Label label = link                             ? shell::Label::Link
                             : control == Control(kLabelInfo) ? shell::Label::Info
                                                              : shell::Label::Other;
  const bool hover = home ? homeHover_ : bbsHover_;
  COLORREF colour = GetSysColor(COLOR_BTNTEXT);
  switch (shell::LabelColour(label, link && hover, program_.InfoWarning(), HighContrast())) {
    case shell::TextColour::System:
      break;
    case shell::TextColour::SystemHotLink:
      colour = GetSysColor(COLOR_HOTLIGHT);
      break;
    case shell::TextColour::LinkResting:
      colour = kLinkResting;
      break;
    case shell::TextColour::LinkHover:
      colour = kLinkHover;
      break;
    case shell::TextColour::Warning:
      colour = win32::kInfoWarningColour;
      break;
  }
  SetTextColor(dc, colour);
  return reinterpret_cast<LRESULT>(PageBrush(control));
}

void FormMain::PaintBackground(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (!banner_) return;
  const win32::UniqueMemoryDc memory = win32::UniqueMemoryDc::CompatibleWith(dc);
  const win32::ScopedSelection selection(memory.get(), banner_.get());
  // The banner is wider than the window: its right end is cut off.
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, 0, 0, MulDiv(690, dpi_, 96), MulDiv(56, dpi_, 96), memory.get(), 0, 0, 690, 56, SRCCOPY);
}

// ---- tray and window hook ----

void FormMain::HideToTray() {
  if (shell::WhereToHide(tray_.EnsureShown()) == shell::HideOutcome::ToTaskbar) {
    if (!IsIconic(hwnd_)) ShowWindow(hwnd_, IsWindowVisible(hwnd_) ? SW_MINIMIZE : SW_SHOWMINNOACTIVE);
    return;
  }
  ShowWindow(hwnd_, SW_HIDE);
  hiddenToTray_ = true;
}

void FormMain::ShowAndRestore() {
  hiddenToTray_ = false;
  ShowWithState(SW_SHOW);
  SendMessageW(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void FormMain::ShowTrayMenu() {
  const shell::ModalStep step(program_.Rules());  // the menu runs its own loop
  UniqueMenu menu(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, kMenuMainScreen, win32::Widen("主界面").c_str());
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), MF_STRING, kMenuUpdate, win32::Widen("升级").c_str());
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), MF_STRING, kMenuExit, win32::Widen("退出").c_str());
  POINT cursor{};
  GetCursorPos(&cursor);
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(menu.get(), 0, cursor.x, cursor.y, 0, hwnd_, nullptr);
  // Without a message after it, the next right-click on the icon opens the
  // menu and closes it at once while this window is in front.
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

LRESULT FormMain::Hooked(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (shell::MainWindowHookAction(win32::MainWindowEvent(message, wParam, lParam))) {
    case shell::HookAction::PassThenHide: {
      const LRESULT result = Handle(message, wParam, lParam);
      HideToTray();
      return result;
    }
    case shell::HookAction::ShowAndRestore:
      ShowAndRestore();
      return 0;
    case shell::HookAction::TrayMenu:
      ShowTrayMenu();
      return 0;
    case shell::HookAction::Pass:
      break;
  }
  return Handle(message, wParam, lParam);
}

// ---- the window's own procedure ----

LRESULT CALLBACK FormMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  FormMain* form = win32::BoundWindowOwner(hwnd, message, lParam, &FormMain::hwnd_);
  if (form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return form->hooked_ ? form->Hooked(message, wParam, lParam) : form->Handle(message, wParam, lParam);
}

void FormMain::OnCommand(int id, int code, HWND control) {
  if (const auto box = CheckOf(id)) {
    if (code == BN_CLICKED) program_.Rules().CheckChanged(*box);
    return;
  }
  switch (id) {
    case kComboSpeed:
    case kComboAutoCleanCount:
      if (code == CBN_SELCHANGE) {
        program_.Rules().ComboChanged(id == kComboSpeed ? shell::Combo::Speed : shell::Combo::AutoCleanCount);
      }
      break;
    case kCommandMini:
      if (code == BN_CLICKED) program_.Rules().CommandMiniClick();
      break;
    case kCommandNeverList:
      if (code == BN_CLICKED) OnNeverListButton();
      break;
    case kCommandExit:
    case kMenuExit:
      if (id == kMenuExit || code == BN_CLICKED) program_.Rules().RequestUnload();
      break;
    case kToolClear:
    case kToolSave:
      OnToolbar(id);
      break;
    case kLabelHomePage:
    case kLabelBBS:
      if (code == STN_CLICKED) OpenLink(control);
      break;
    case kMenuMainScreen:
      ShowAndRestore();
      break;
    case kMenuUpdate:
      OpenUpdatePage();
      break;
  }
}

void FormMain::OnNeverListButton() {
  const shell::ModalStep step(program_.Rules());  // the dialog runs its own loop
  if (ShowNeverListDialog(instance_, hwnd_, program_.Config())) program_.NeverListChanged();
}

// Through Internet Explorer, as always; where there is none (left out of
// newer Windows, or turned off), in the default browser. A missing program
// shows no error box on the way.
void FormMain::OpenUpdatePage() {
  const std::string page(engine::kUpdatePage);
  win32::JoinComApartment();
  SHELLEXECUTEINFOA explorer{};
  explorer.cbSize = sizeof explorer;
  explorer.fMask = SEE_MASK_FLAG_NO_UI;
  explorer.hwnd = hwnd_;
  explorer.lpVerb = "Open";
  explorer.lpFile = "iexplore.exe";
  explorer.lpParameters = page.c_str();
  explorer.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&explorer))
    ShellExecuteA(hwnd_, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void FormMain::ShowHistoryMenu(LPARAM at) {
  HWND list = Control(kListViewHistory);
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  int row = -1;
  if (at == -1) {
    row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    RECT item{};
    item.left = LVIR_LABEL;
    if (row >= 0 &&
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item))) {
      point = {item.left, item.bottom};
      ClientToScreen(list, &point);
    }
  } else {
    LVHITTESTINFO hit{};
    hit.pt = point;
    ScreenToClient(list, &hit.pt);
    row = static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  }
  if (row < 0) return;
  const std::string path = program_.History().RowPath(row);
  const shell::ModalStep step(program_.Rules());  // the menu runs its own loop
  UniqueMenu menu(CreatePopupMenu());
  // Greyed for a row whose program could not be read (or that is gone).
  AppendMenuW(menu.get(), MF_STRING | (path.empty() ? MF_GRAYED : 0), kMenuNeverAccelerate,
              win32::Widen("从不加速此程序").c_str());
  const int chosen =
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd_, nullptr);
  if (chosen == kMenuNeverAccelerate) AddNeverRule(path);
}

void FormMain::AddNeverRule(const std::string& path) {
  // config.ini is an ANSI file: a character the code page lacks would be
  // stored as "?", which as a rule stands for any character.
  if (!win32::Utf8ToAnsiExactly(path)) {
    Notice("无法添加规则：程序路径含有本系统代码页无法保存的字符。\n" + path);
    return;
  }
  if (program_.Config().AddExcludeRule(path)) {
    program_.NeverListChanged();
  } else {
    Notice("无法添加规则：" + path);
  }
}

// Saving runs the file dialog and notices, each with its own loop, and uses
// the window after them: an exit confirmed meanwhile waits for the end.
void FormMain::OnToolbar(int id) {
  const shell::ModalStep step(program_.Rules());
  wchar_t caption[64] = {};
  SendMessageW(Control(kToolbarSpeedMain), TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(caption));
  engine::HistoryToolbarClick(win32::Narrow(caption), program_.History(), program_.Saving());
}

std::optional<LRESULT> FormMain::OnCreate() {
  tray_.HearTaskbarCreated(hwnd_);
  created_ = CreateControls();
  return created_ ? 0 : -1;
}

std::optional<LRESULT> FormMain::OnTimer(WPARAM timer) {
  if (timer == kTimerMain) RunTick();
  return 0;
}

std::optional<LRESULT> FormMain::OnSystemColours(WPARAM wParam, LPARAM lParam) {
  highContrast_.reset();  // a scheme switched on or off changes the colours
  // Common controls repaint in new system colours only when told.
  for (HWND control : {Control(kListViewHistory), Control(kToolbarSpeedMain), tooltip_}) {
    if (control) SendMessageW(control, WM_SYSCOLORCHANGE, wParam, lParam);
  }
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return std::nullopt;
}

// The control that had the focus gets it back when the window does.
std::optional<LRESULT> FormMain::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
  }
  return std::nullopt;
}

std::optional<LRESULT> FormMain::OnContextMenu(HWND window, LPARAM at) {
  if (window != Control(kListViewHistory)) return std::nullopt;
  ShowHistoryMenu(at);
  return 0;
}

std::optional<LRESULT> FormMain::OnDestroy() {
  KillTimer(hwnd_, kTimerMain);
  tabs_.reset();
  if (created_) PostQuitMessage(0);
  return 0;
}

// Messages whose numbers are registered at run time, not constants.
std::optional<LRESULT> FormMain::OnRegistered(UINT message, WPARAM wParam) {
  // Asked from outside (the installer) to exit, unasked.
  if (message == ExitRequestMessage()) {
    if (program_.Attached()) program_.Rules().UnloadWithoutAsking();
    return 0;
  }
  // The taskbar made anew and the icon's retries are the tray icon's own.
  if (tray_.Handle(message, wParam)) return 0;
  return std::nullopt;
}

LRESULT FormMain::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  std::optional<LRESULT> result = OnRegistered(message, wParam);
  if (result) return *result;
  switch (message) {
    case WM_CREATE:
      result = OnCreate();
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETHIGHCONTRAST) highContrast_.reset();
      break;
    case WM_SYSCOLORCHANGE:
      result = OnSystemColours(wParam, lParam);
      break;
    case WM_TIMER:
      result = OnTimer(wParam);
      break;
    case kShowNoticeMessage:
      ShowNextNotice();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(PageBrush(reinterpret_cast<HWND>(lParam)));
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_ACTIVATE:
      result = OnActivate(wParam);
      break;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_CONTEXTMENU:
      result = OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
      break;
    case WM_MOUSEMOVE:
      ResetLinkStyle();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      BeginWindowDrag();
      return 0;
    case WM_CLOSE:
      if (program_.Attached()) program_.Rules().RequestUnload();
      return 0;
    case WM_ENDSESSION:
      if (wParam && program_.Attached()) program_.Rules().SessionEnding();
      return 0;
    case WM_DESTROY:
      result = OnDestroy();
      break;
  }
  return result ? *result : DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace app
