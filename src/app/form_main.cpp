#include "app/form_main.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/control_ids.h"
#include "app/resources/resource_ids.h"
#include "engine/history_log.h"
#include "engine/product.h"
#include "shell/tray.h"
#include "tabctl/pixel_picture.h"
#include "tabctl/property_bag.h"

namespace app {
namespace {

constexpr UINT_PTR kTimerMain = 1;
// Posted to show the next waiting notice.
constexpr UINT kShowNoticeMessage = WM_APP + 1;
constexpr COLORREF kLinkResting = 0xFF0000;  // blue, as a BGR value
constexpr COLORREF kLinkHover = 0x0000FF;    // red

// The one main window of the process; the hook procedure finds it here.
FormMain* gForm = nullptr;

HFONT MakeFont(const wchar_t* face, int tenthsOfPoint, int dpi, bool bold, bool underline) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(tenthsOfPoint, dpi, 720);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = underline;
  font.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

HFONT MessageFont(int dpi, bool underline) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  if (font.lfHeight == 0) font.lfHeight = -MulDiv(9, dpi, 72);
  font.lfUnderline = underline;
  return CreateFontIndirectW(&font);
}

// An icon resource as a tab picture: its opaque pixels, and the mask colour
// where it is transparent.
tabctl::Picture IconPicture(HINSTANCE instance, int id, int size, COLORREF mask) {
  HICON icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
  if (!icon) return {};
  tabctl::Bitmap pixels(size, size, mask);
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size;
    format.bmiHeader.biHeight = -size;  // top-down rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> argb(static_cast<size_t>(size) * size);
    HDC screen = GetDC(nullptr);
    if (info.hbmColor && GetDIBits(screen, info.hbmColor, 0, size, argb.data(), &format, DIB_RGB_COLORS)) {
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
          const std::uint32_t p = argb[static_cast<size_t>(y) * size + x];
          if ((p >> 24) >= 128) pixels.Set(x, y, tabctl::MakeRgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
      }
    }
    ReleaseDC(nullptr, screen);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  DestroyIcon(icon);
  return tabctl::MakePixelPicture(std::move(pixels), true);
}

}  // namespace

FormMain::FormMain() = default;

FormMain::~FormMain() {
  for (HBITMAP picture : pictures_) DeleteObject(picture);
  for (HFONT font : {boldFont_, linkFont_, linkHoverFont_, font_}) {
    if (font) DeleteObject(font);
  }
  if (banner_) DeleteObject(banner_);
  if (pageBrush_) DeleteObject(pageBrush_);
  if (historyImages_) ImageList_Destroy(historyImages_);
  if (toolbarImages_) ImageList_Destroy(toolbarImages_);
  if (icon_) DestroyIcon(icon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

FormMain* FormMain::Create(HINSTANCE instance) {
  auto* form = new FormMain;
  form->instance_ = instance;
  HDC screen = GetDC(nullptr);
  form->dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);

  form->icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_BREVOLT), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  form->smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_BREVOLT), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = form->icon_;
  wc.hIconSm = form->smallIcon_;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kMainClass;
  RegisterClassExW(&wc);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT rect{0, 0, form->Px(8790), form->Px(6855)};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  gForm = form;
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kMainClass, kMainCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, form);
  if (!hwnd) {
    gForm = nullptr;
    delete form;
    return nullptr;
  }
  // What a killed run left raised goes back before anything is raised anew.
  engine::PutBackAfterCrash(form->Ports());
  // The load event runs before the window is first shown.
  form->loading_ = true;
  form->rules_->Load();
  form->loading_ = false;
  if (!form->hiddenToTray_) {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
  }
  return form;
}

HWND FormMain::AddChild(HWND parent, const wchar_t* cls, const std::string& text, DWORD style, int id, int x,
                        int y, int width, int height, HFONT font) {
  HWND child = CreateWindowExW(0, cls, win32::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width,
                               height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_,
                               nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : font_), FALSE);
  return child;
}

HWND FormMain::AddToPage(int page, const wchar_t* cls, const std::string& text, DWORD style, int id, int left,
                         int top, int width, int height, HFONT font) {
  HWND child = AddChild(tabs_->hwnd(), cls, text, style, id, Px(left), Px(top), Px(width), Px(height), font);
  tabs_->AddPageControl(child, page, Px(left), Px(top), Px(width), Px(height));
  return child;
}

HWND FormMain::AddPicture(int page, int resource, int left, int top) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, 0));
  pictures_.push_back(bitmap);
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  HWND picture = AddToPage(page, WC_STATICW, "", SS_BITMAP | SS_REALSIZECONTROL, kStaticLabel, left, top,
                           MulDiv(info.bmWidth, 1440, 96), MulDiv(info.bmHeight, 1440, 96));
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  return picture;
}

void FormMain::CreateControls() {
  font_ = MessageFont(dpi_, false);
  boldFont_ = MakeFont(L"宋体", 105, dpi_, true, false);
  linkFont_ = MessageFont(dpi_, false);
  linkHoverFont_ = MessageFont(dpi_, true);
  banner_ = static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0));
  hand_ = static_cast<HCURSOR>(LoadImageW(instance_, MAKEINTRESOURCEW(IDC_LINK_HAND), IMAGE_CURSOR, 0, 0, LR_SHARED));

  tabs_ = win32::TabControlWindow::Create(hwnd_, kSSTabMain, Px(120), Px(960), Px(8535), Px(5295));
  if (tabs_) tabs_->SetEventSink(this);
  AddChild(hwnd_, WC_BUTTONW, "后台运行", BS_PUSHBUTTON | WS_TABSTOP, kCommandMini, Px(5640), Px(6360), Px(1215),
           Px(375));
  AddChild(hwnd_, WC_BUTTONW, "退出", BS_PUSHBUTTON | WS_TABSTOP, kCommandExit, Px(6960), Px(6360), Px(1215),
           Px(375));
  if (tabs_) CreatePages();

  config_ = std::make_unique<settings::ModuleConfig>(profile_, win32::ApplicationDirectory(), settingsFiles_,
                                                     [this](const std::string& text) { Notice(text); });
  autoRun_ = std::make_unique<settings::ModuleAutoRun>(runKey_, fileSecurity_, win32::ApplicationDirectory());
  controls_ = std::make_unique<win32::WindowControls>(win32::WindowControls::Handles{
      checkState_, comboSpeed_, checkEnableRecord_, labelInfo_, labelCount_, tooltip_});
  controls_->SetNoticeSink(
      [this](const std::string& text) { tray_.ShowBalloon(win32::Widen("提示"), win32::Widen(text)); });
  history_ = std::make_unique<win32::ListViewHistory>(listView_, comboAutoClean_);
  saving_ = std::make_unique<win32::HistorySavingWin32>(hwnd_);
  rules_ = std::make_unique<shell::FormMainRules>(*this, *config_, *autoRun_, state_);
  SetTimer(hwnd_, kTimerMain, 1000, nullptr);
}

// The design of SSTabMain: the properties it is saved with. Start-up sets
// its captions, pictures, page and tab height.
constexpr char kSSTabMainDesign[] = "TabCount = 4\n";

void FormMain::CreatePages() {
  tabs_->Control().ReadProperties(tabctl::ParsePropertyText(kSSTabMainDesign).bag);
  // No repaint for every control placed: the window is not shown yet, and
  // start-up repaints the control once its pages are set up.
  tabs_->Control().SetBusy(true);
  const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
  const DWORD list = CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL;

  // Page 0: acceleration status.
  AddToPage(0, WC_STATICW, "已加速程序数量：", 0, kStaticLabel, 1080, 2400, 1440, 180 + 60);
  labelCount_ = AddToPage(0, WC_STATICW, "LabelCount", 0, kLabelCount, 2640, 2400, 900, 180 + 60);
  AddToPage(0, WC_STATICW, "正在加速的程序：", 0, kStaticLabel, 1080, 2760, 1440, 180 + 60);
  labelInfo_ = AddToPage(0, WC_STATICW, "LabelInfo", SS_NOTIFY | SS_ENDELLIPSIS | SS_NOPREFIX, kLabelInfo, 2640,
                         2760, 4290, 180 + 60);

  // Page 1: system settings, three groups.
  AddPicture(1, IDB_GROUP_GENERAL, 600, 600);
  AddToPage(1, WC_STATICW, "一般设置", 0, kStaticLabel, 1560, 600, 2400, 300, boldFont_);
  checkAutoRun_ = AddToPage(1, WC_BUTTONW, "开机自启动", check, kCheckAutoRun, 1800, 960, 3600, 255);
  checkAutoMin_ = AddToPage(1, WC_BUTTONW, "启动后缩为托盘图标", check, kCheckAutoMin, 1800, 1320, 3600, 255);
  checkState_ = AddToPage(1, WC_BUTTONW, "启用加速功能", check, kCheckState, 1800, 1680, 3600, 255);
  checkMostTop_ = AddToPage(1, WC_BUTTONW, "本窗体总在最前", check, kCheckMostTop, 1800, 2040, 3600, 255);
  AddPicture(1, IDB_GROUP_SPEED, 600, 2400);
  AddToPage(1, WC_STATICW, "加速设置", 0, kStaticLabel, 1560, 2520, 2400, 300, boldFont_);
  AddToPage(1, WC_STATICW, "加速度：", 0, kStaticLabel, 1800, 2880, 2400, 240);
  comboSpeed_ = AddToPage(1, WC_COMBOBOXW, "", list, kComboSpeed, 1800, 3120, 1815, 1800);
  AddPicture(1, IDB_GROUP_HISTORY, 600, 3720);
  AddToPage(1, WC_STATICW, "加速记录设置", 0, kStaticLabel, 1560, 3720, 2400, 300, boldFont_);
  checkEnableRecord_ = AddToPage(1, WC_BUTTONW, "启用加速记录", check, kCheckEnableRecord, 1800, 4080, 3600, 255);
  AddToPage(1, WC_STATICW, "历史记录大于？条时自动清除：", 0, kStaticLabel, 1800, 4440, 4200, 240);
  comboAutoClean_ = AddToPage(1, WC_COMBOBOXW, "", list, kComboAutoCleanCount, 1800, 4680, 1815, 1800);
  // Initial state before the settings are applied.
  for (HWND box : {checkEnableRecord_, checkState_, checkMostTop_}) SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);

  // Page 2: the history list and its toolbar.
  listView_ = AddToPage(2, WC_LISTVIEWW, "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                        kListViewHistory, 120, 480, 8295, 4095);
  SendMessageW(listView_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
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
    SendMessageW(listView_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  const int small = GetSystemMetrics(SM_CXSMICON);
  historyImages_ = ImageList_Create(small, small, ILC_COLOR32 | ILC_MASK, 1, 0);
  ImageList_AddIcon(historyImages_, static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_HISTORY_ROW),
                                                                  IMAGE_ICON, small, small, LR_SHARED)));
  SendMessageW(listView_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(historyImages_));

  toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER |
                                 CCS_NOPARENTALIGN,
                             Px(120), Px(4680), Px(8295), Px(525), tabs_->hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarSpeedMain)), instance_, nullptr);
  SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  toolbarImages_ = ImageList_Create(small, small, ILC_COLOR32 | ILC_MASK, 2, 0);
  for (int id : {IDI_TOOL_CLEAR, IDI_TOOL_SAVE}) {
    ImageList_AddIcon(toolbarImages_, static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                                    small, small, LR_SHARED)));
  }
  SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_));
  static std::wstring clearText = win32::Widen(engine::kClearCaption);
  static std::wstring saveText = win32::Widen(engine::kSaveCaption);
  TBBUTTON buttons[2] = {};
  buttons[0] = {0, kToolClear, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0,
                reinterpret_cast<INT_PTR>(clearText.c_str())};
  buttons[1] = {1, kToolSave, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0,
                reinterpret_cast<INT_PTR>(saveText.c_str())};
  SendMessageW(toolbar_, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
  tabs_->AddPageControl(toolbar_, 2, Px(120), Px(4680), Px(8295), Px(525));

  // Page 3: about.
  AddPicture(3, IDB_ABOUT, 960, 1080);
  AddToPage(3, WC_STATICW, std::string(engine::kProductTitle), 0, kStaticLabel, 2040, 1080, 3000, 300,
            boldFont_);
  labelHomePage_ = AddToPage(3, WC_STATICW, std::string(engine::kHomePage), SS_NOTIFY | SS_NOPREFIX,
                             kLabelHomePage, 2040, 1920, 4200, 240, linkFont_);
  labelBBS_ = AddToPage(3, WC_STATICW, std::string(engine::kForumPage), SS_NOTIFY | SS_NOPREFIX, kLabelBBS, 2040,
                        2160, 4200, 240, linkFont_);
  AddToPage(3, WC_STATICW, "全面提升系统性能15%以上，让系统跑的更快。", 0, kStaticLabel, 2040, 3000, 6000, 240);
  AddToPage(3, WC_STATICW, "采用软加速技术，不伤硬件，不耗系统资源，可放心使用。", 0, kStaticLabel, 2040, 3360,
            6000, 240);
  for (HWND link : {labelHomePage_, labelBBS_}) SetWindowSubclass(link, LinkProc, 1, 0);

  tabs_->Control().SetBusy(false);
  // LabelInfo shows the whole title as its tooltip.
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                             0, 0, hwnd_, nullptr, instance_, nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = tabs_->hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(labelInfo_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// ---- shell::FormMainView ----

HWND FormMain::CheckBox(shell::Check box) const {
  switch (box) {
    case shell::Check::AutoRun: return checkAutoRun_;
    case shell::Check::AutoMin: return checkAutoMin_;
    case shell::Check::State: return checkState_;
    case shell::Check::MostTop: return checkMostTop_;
    case shell::Check::EnableRecord: return checkEnableRecord_;
  }
  return nullptr;
}

HWND FormMain::ComboBox(shell::Combo list) const {
  return list == shell::Combo::Speed ? comboSpeed_ : comboAutoClean_;
}

bool FormMain::IsChecked(shell::Check box) {
  return SendMessageW(CheckBox(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void FormMain::SetChecked(shell::Check box, bool checked) {
  SendMessageW(CheckBox(box), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FormMain::FillCombo(shell::Combo list, const std::vector<std::string>& items) {
  for (const auto& item : items) {
    SendMessageW(ComboBox(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Widen(item).c_str()));
  }
}

int FormMain::Selection(shell::Combo list) {
  return static_cast<int>(SendMessageW(ComboBox(list), CB_GETCURSEL, 0, 0));
}

void FormMain::Select(shell::Combo list, int index) { SendMessageW(ComboBox(list), CB_SETCURSEL, index, 0); }

std::string FormMain::ComboText(shell::Combo list) { return win32::WindowText(ComboBox(list)); }

void FormMain::SetUpPages() {
  if (!tabs_) return;
  tabctl::ucPageTab& tabs = tabs_->Control();
  try {
    const COLORREF mask = tabs.GetRGBFromOLE(tabs.PictureMaskColor()) & 0xFFFFFF;
    const int size = GetSystemMetrics(SM_CXSMICON);
    const tabctl::Picture pictures[] = {
        IconPicture(instance_, IDI_TAB_STATUS, size, mask), IconPicture(instance_, IDI_TAB_SETTINGS, size, mask),
        IconPicture(instance_, IDI_TAB_HISTORY, size, mask), IconPicture(instance_, IDI_TAB_ABOUT, size, mask)};
    tabs.CopyTabImagesFromImageList(pictures);
    const char* captions[] = {"加速状态", "系统设置", "加速记录", "关于"};
    for (int i = 0; i < 4; ++i) tabs.SetTabCaption(i, captions[i]);
    tabs.SetActiveTab(3);
    tabs.SetActiveTabHeight(25);
  } catch (const tabctl::ControlError&) {
    // A failing step is skipped; start-up goes on.
  }
}

void FormMain::SetTopmost(bool topmost) {
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

engine::AccelerationPorts FormMain::Ports() {
  return {windows_, processes_, clock_, codePage_, *controls_, *history_, raisedRecords_};
}

void FormMain::RunTick() { engine::Tick(state_, Ports()); }

void FormMain::ResetLinkStyle() {
  SetLinkHover(labelHomePage_, false);
  SetLinkHover(labelBBS_, false);
}

void FormMain::InstallWindowHook() {
  previousWindowProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormMain::MainWindowProc)));
}

void FormMain::RemoveWindowHook() {
  if (previousWindowProc_) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc_));
  }
}

void FormMain::AddTrayIcon() { tray_.Add(hwnd_, smallIcon_ ? smallIcon_ : icon_); }

void FormMain::DeleteTrayIcon() { tray_.Delete(); }

void FormMain::SendHideRequest() { SendMessageW(hwnd_, WM_COMMAND, SC_MINIMIZE, 0); }

bool FormMain::AskYesNo(const std::string& text, const std::string& caption) {
  return MessageBoxW(hwnd_, win32::Widen(text).c_str(), win32::Widen(caption).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// A box opened inside a control's click would hold whoever sent the click
// until it is closed, and during start-up the window is not shown yet: the
// notice waits for the message loop.
void FormMain::Notice(const std::string& text) {
  notices_.push_back(text);
  PostMessageW(hwnd_, kShowNoticeMessage, 0, 0);
}

// ---- the tab control's mouse ----

void FormMain::MouseDown(std::int16_t, std::int16_t, float, float) { BeginWindowDrag(); }

void FormMain::MouseMove(std::int16_t, std::int16_t, float, float) { ResetLinkStyle(); }

void FormMain::BeginWindowDrag() {
  ReleaseCapture();
  SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// ---- links ----

void FormMain::SetLinkHover(HWND link, bool hover) {
  if (!link) return;
  bool& state = link == labelHomePage_ ? homeHover_ : bbsHover_;
  const bool changed = state != hover;
  state = hover;
  SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(hover ? linkHoverFont_ : linkFont_), FALSE);
  if (changed || loading_) InvalidateRect(link, nullptr, TRUE);
}

void FormMain::OpenLink(HWND link) {
  const std::string address(link == labelHomePage_ ? engine::kHomePage : engine::kForumPage);
  ShellExecuteA(hwnd_, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK FormMain::LinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (gForm) {
    if (message == WM_MOUSEMOVE) gForm->SetLinkHover(hwnd, true);
    if (message == WM_SETCURSOR && gForm->hand_) {
      SetCursor(gForm->hand_);
      return TRUE;
    }
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Controls on the pages stand on the tab control's page colour; the
// buttons below it on the window's own.
HBRUSH FormMain::PageBrush(HWND control) {
  if (!tabs_ || GetParent(control) != tabs_->hwnd()) return GetSysColorBrush(COLOR_BTNFACE);
  const COLORREF colour = tabs_->Control().GetRGBFromOLE(tabs_->Control().BackColor()) & 0xFFFFFF;
  if (!pageBrush_ || colour != pageBrushColour_) {
    if (pageBrush_) DeleteObject(pageBrush_);
    pageBrush_ = CreateSolidBrush(colour);
    pageBrushColour_ = colour;
  }
  return pageBrush_;
}

// ---- tray and window hook ----

void FormMain::HideToTray() {
  ShowWindow(hwnd_, SW_HIDE);
  hiddenToTray_ = true;
}

void FormMain::ShowAndRestore() {
  hiddenToTray_ = false;
  ShowWindow(hwnd_, SW_SHOW);
  SendMessageW(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void FormMain::ShowTrayMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kMenuMainScreen, win32::Widen("主界面").c_str());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kMenuUpdate, win32::Widen("升级").c_str());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kMenuExit, win32::Widen("退出").c_str());
  POINT cursor{};
  GetCursorPos(&cursor);
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(menu, 0, cursor.x, cursor.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
}

LRESULT CALLBACK FormMain::MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  FormMain* form = gForm;
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (shell::MainWindowHookAction(message, wParam, lParam)) {
    case shell::HookAction::PassThenHide: {
      const LRESULT result = CallWindowProcW(form->previousWindowProc_, hwnd, message, wParam, lParam);
      form->HideToTray();
      return result;
    }
    case shell::HookAction::ShowAndRestore:
      form->ShowAndRestore();
      return 0;
    case shell::HookAction::TrayMenu:
      form->ShowTrayMenu();
      return 0;
    case shell::HookAction::Pass:
      break;
  }
  return CallWindowProcW(form->previousWindowProc_, hwnd, message, wParam, lParam);
}

// ---- the window's own procedure ----

LRESULT CALLBACK FormMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<FormMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<FormMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    gForm = nullptr;
    delete form;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return form->Handle(message, wParam, lParam);
}

void FormMain::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case kCheckAutoRun:
    case kCheckAutoMin:
    case kCheckState:
    case kCheckMostTop:
    case kCheckEnableRecord:
      if (code == BN_CLICKED) {
        const shell::Check box = id == kCheckAutoRun    ? shell::Check::AutoRun
                                 : id == kCheckAutoMin  ? shell::Check::AutoMin
                                 : id == kCheckState    ? shell::Check::State
                                 : id == kCheckMostTop  ? shell::Check::MostTop
                                                        : shell::Check::EnableRecord;
        rules_->CheckChanged(box);
        // Switched off: what was raised goes back now, not at some later change.
        if (box == shell::Check::State) engine::AccelerationSwitched(state_, Ports());
      }
      break;
    case kComboSpeed:
    case kComboAutoCleanCount:
      if (code == CBN_SELCHANGE) {
        rules_->ComboChanged(id == kComboSpeed ? shell::Combo::Speed : shell::Combo::AutoCleanCount);
      }
      break;
    case kCommandMini:
      if (code == BN_CLICKED) rules_->CommandMiniClick();
      break;
    case kCommandExit:
      if (code == BN_CLICKED) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
      break;
    case kToolClear:
    case kToolSave: {
      wchar_t caption[64] = {};
      SendMessageW(toolbar_, TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(caption));
      engine::HistoryToolbarClick(win32::Narrow(caption), *history_, *saving_);
      break;
    }
    case kLabelHomePage:
    case kLabelBBS:
      if (code == STN_CLICKED) OpenLink(control);
      break;
    case kMenuMainScreen:
      ShowAndRestore();
      break;
    case kMenuUpdate: {
      const std::string page(engine::kUpdatePage);
      ShellExecuteA(hwnd_, "Open", "iexplore.exe", page.c_str(), nullptr, SW_SHOWNORMAL);
      break;
    }
    case kMenuExit:
      PostMessageW(hwnd_, WM_CLOSE, 0, 0);
      break;
  }
}

LRESULT FormMain::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TaskbarCreatedMessage()) {
    tray_.AddAgain();
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerMain) RunTick();
      return 0;
    case kShowNoticeMessage:
      if (!notices_.empty()) {
        const std::wstring text = win32::Widen(notices_.front());
        notices_.pop_front();
        MessageBoxW(hwnd_, text.c_str(), win32::Widen("提示").c_str(), MB_OK | MB_ICONEXCLAMATION);
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      SetBkMode(dc, TRANSPARENT);
      if (control == labelHomePage_ || control == labelBBS_) {
        const bool hover = control == labelHomePage_ ? homeHover_ : bbsHover_;
        SetTextColor(dc, hover ? kLinkHover : kLinkResting);
      } else if (control == labelInfo_ && controls_ && controls_->InfoWarning()) {
        SetTextColor(dc, win32::kInfoWarningColour);
      }
      return reinterpret_cast<LRESULT>(PageBrush(control));
    }
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(PageBrush(reinterpret_cast<HWND>(lParam)));
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      if (banner_) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, banner_);
        // The banner is wider than the window: its right end is cut off.
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, MulDiv(690, dpi_, 96), MulDiv(56, dpi_, 96), memory, 0, 0, 690, 56, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      }
      return 1;
    }
    case WM_MOUSEMOVE:
      ResetLinkStyle();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      BeginWindowDrag();
      return 0;
    case WM_CLOSE:
      if (rules_ && rules_->QueryUnload()) {
        engine::PutBackRaised(state_, Ports());
        DestroyWindow(hwnd_);
      }
      return 0;
    case WM_ENDSESSION:
      if (wParam) engine::PutBackRaised(state_, Ports());
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kTimerMain);
      tabs_.reset();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace app
