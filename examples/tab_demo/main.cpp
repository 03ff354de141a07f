// A window with two Quillmoor tab controls, each a few pages of ordinary
// Win32 controls, and a status line that shows what the controls report.
// It uses the control only through its public headers and the CMake
// target Quillmoor::PageTab, as any other program would.
//
// Top: the property-pages style (tabs as wide as their captions) in the
// light visual theme, which highlights the tab under the pointer. Ticking
// "Stay on this page" cancels every switch away from the first page.
// Bottom: the tabbed-dialog style (equal tabs across the control) in the
// light beige theme with close boxes; its third tab starts disabled.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "quillmoor/pagetab/page_tab_picture.h"
#include "quillmoor/pagetab/page_tab_window.h"
#include "quillmoor/pagetab/safe_loading.h"

namespace {

using win32::TabControlWindow;

constexpr wchar_t kClassName[] = L"QuillmoorTabDemo";
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 468;

enum ControlId : int {
  kTopTabs = 100,
  kBottomTabs,
  kChangeLine,
  kPointerLine,
  kStayOnPage = 200,
  kShowHints,
  kNameEdit,
  kApply,
  kServerEdit,
  kPortEdit,
  kTestConnection,
  kFileList,
  kEnableAdvanced,
  kSearchEdit,
  kFind,
  kMatchCase,
  kWholeWords,
};

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// A 16 x 16 disc of `colour` for a tab; the corners are the mask colour,
// which the control leaves out.
constexpr tabctl::Rgb kMaskColour = tabctl::MakeRgb(255, 0, 255);
tabctl::Picture Disc(tabctl::Rgb colour) {
  tabctl::Bitmap pixels(16, 16, kMaskColour);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      if ((2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15) <= 14 * 14) pixels.Set(x, y, colour);
    }
  }
  return tabctl::MakePixelPicture(std::move(pixels));
}

class DemoWindow;

// One sink per control, so that the status line can tell the two apart.
// Every event has a default that does nothing: override only what you use.
class StatusEvents final : public tabctl::ucPageTabEvents {
 public:
  // `mayRefuse`: switches away from the first page are cancelled while
  // "Stay on this page" is ticked.
  StatusEvents(DemoWindow& demo, const char* name, bool mayRefuse)
      : demo_(demo), name_(name), mayRefuse_(mayRefuse) {}
  void Attach(TabControlWindow& tabs) {
    tabs_ = &tabs;
    tabs.SetEventSink(this);
  }

  void BeforeTabSwitch(std::int16_t newTab, bool& cancel) override;
  void TabSwitch(std::int16_t previousTab) override;
  void Click() override { Pointer("click"); }
  void DblClick() override { Pointer("double click"); }
  void MouseEnter() override { Pointer("pointer in"); }
  void MouseLeave() override {
    hoverTab_ = -1;
    Pointer("pointer out");
  }
  void MouseHover(std::int32_t& tabIndex, float, float) override {
    if (tabIndex == hoverTab_) return;  // raised on every poll while the pointer rests
    hoverTab_ = tabIndex;
    Pointer("over \"" + Caption(tabIndex) + "\"");
  }
  void ControlBoxEnter() override { Pointer("over a close box"); }
  void TabRemove(std::int32_t& index) override { Change("tab " + std::to_string(index) + " closed"); }

 private:
  // The caption as shown: without the access-key marker.
  std::string Caption(int index) const {
    std::string shown;
    const std::string caption = tabs_->Control().TabCaption(index);
    for (std::size_t i = 0; i < caption.size(); ++i) {
      if (caption[i] == '&' && i + 1 < caption.size()) ++i;
      shown += caption[i];
    }
    return shown;
  }
  void Change(const std::string& what);
  void Pointer(const std::string& what);

  DemoWindow& demo_;
  const char* name_;
  bool mayRefuse_;
  TabControlWindow* tabs_ = nullptr;
  int hoverTab_ = -1;
};

class DemoWindow {
 public:
  static std::unique_ptr<DemoWindow> Create(HINSTANCE instance, int show) {
    std::unique_ptr<DemoWindow> demo(new DemoWindow(instance));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &DemoWindow::Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));      // IDI_APPLICATION
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND window = CreateWindowExW(0, kClassName, L"Quillmoor tab control demo", style, CW_USEDEFAULT,
                                        CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                        nullptr, nullptr, instance, demo.get());
    if (window == nullptr || !demo->top_ || !demo->bottom_) return nullptr;
    ShowWindow(window, show);
    UpdateWindow(window);
    return demo;
  }

  HWND hwnd() const { return hwnd_; }

  // Two status lines: what changed (switches, closed tabs, buttons), and
  // the newest three pointer events, newest first.
  void Change(const std::string& line) { SetDlgItemTextW(hwnd_, kChangeLine, Wide(line).c_str()); }
  void Pointer(const std::string& line) {
    recent_.insert(recent_.begin(), Wide(line));
    if (recent_.size() > 3) recent_.pop_back();
    std::wstring text;
    for (const std::wstring& entry : recent_) text += (text.empty() ? L"" : L"   \x00B7   ") + entry;
    SetDlgItemTextW(hwnd_, kPointerLine, text.c_str());
  }

  bool StayOnPage() const { return IsDlgButtonChecked(top_->hwnd(), kStayOnPage) == BST_CHECKED; }

  // Alt+letter goes to the control whose caption has it; Tab walks the controls.
  bool PreTranslate(MSG& msg) {
    return TabControlWindow::RouteAccessKey(msg) || IsDialogMessageW(hwnd_, &msg);
  }

 private:
  explicit DemoWindow(HINSTANCE instance) : instance_(instance) {}

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* demo = static_cast<DemoWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      demo->hwnd_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(demo));
    }
    auto* demo = reinterpret_cast<DemoWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (demo == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
      case WM_CREATE:
        demo->Build();
        return 0;
      case WM_COMMAND:
        demo->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        return demo->OnColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x, int y,
             int width, int height, DWORD exStyle = 0) {
    const HWND child =
        CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return child;
  }

  // A control on one page of `tabs`, at (x, y) in the control's client area.
  HWND OnPage(TabControlWindow& tabs, int page, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
              int x, int y, int width, int height, DWORD exStyle = 0) {
    const HWND child = Child(tabs.hwnd(), cls, text, style, id, x, y, width, height, exStyle);
    tabs.AddPageControl(child, page, x, y, width, height);
    return child;
  }

  static void SetCaptions(tabctl::ucPageTab& control, const std::vector<std::string>& captions) {
    control.SetTabCount(static_cast<std::int32_t>(captions.size()));
    for (std::size_t i = 0; i < captions.size(); ++i)
      control.SetTabCaption(static_cast<std::int32_t>(i), captions[i]);
  }

  static void BoldActiveTab(tabctl::ucPageTab& control) {
    tabctl::TabFont font = control.InActiveTabFont();
    font.name = "Tahoma";
    control.SetInActiveTabFont(font);
    font.bold = true;
    control.SetActiveTabFont(font);
  }

  void Build() {
    font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    top_ = TabControlWindow::Create(hwnd_, kTopTabs, 12, 12, kClientWidth - 24, 190);
    bottom_ = TabControlWindow::Create(hwnd_, kBottomTabs, 12, 214, kClientWidth - 24, 198);
    if (!top_ || !bottom_) return;
    topEvents_.Attach(*top_);
    bottomEvents_.Attach(*bottom_);
    for (TabControlWindow* tabs : {top_.get(), bottom_.get()}) {
      SendMessageW(tabs->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }

    try {
      tabctl::ucPageTab& top = top_->Control();
      top.SetBusy(true);  // one paint at the end, not one per change
      top.SetTabStyle(tabctl::TabStyles::PropertyPages);
      top.SetTabTheme(tabctl::TabThemes::LightVisual);
      BoldActiveTab(top);
      SetCaptions(top, {"&General", "&Connection", "A&bout"});
      top.SetUseMaskColor(true);
      top.SetPictureMaskColor(kMaskColour);
      top.SetTabPicture(0, Disc(tabctl::MakeRgb(46, 139, 87)));
      top.SetTabPicture(1, Disc(tabctl::MakeRgb(30, 110, 200)));
      top.SetTabPicture(2, Disc(tabctl::MakeRgb(220, 150, 30)));
      OnPage(*top_, 0, L"BUTTON", L"Stay on this page (cancels every switch)", BS_AUTOCHECKBOX | WS_TABSTOP,
             kStayOnPage, 20, 44, 300, 20);
      OnPage(*top_, 0, L"BUTTON", L"Show hints", BS_AUTOCHECKBOX | WS_TABSTOP, kShowHints, 20, 70, 300, 20);
      OnPage(*top_, 0, L"STATIC", L"Name:", 0, -1, 20, 104, 60, 20);
      OnPage(*top_, 0, L"EDIT", L"Ada", ES_AUTOHSCROLL | WS_TABSTOP, kNameEdit, 84, 100, 200, 22,
             WS_EX_CLIENTEDGE);
      OnPage(*top_, 0, L"BUTTON", L"Apply", BS_PUSHBUTTON | WS_TABSTOP, kApply, 294, 99, 80, 24);
      OnPage(*top_, 1, L"STATIC", L"Server:", 0, -1, 20, 48, 60, 20);
      OnPage(*top_, 1, L"EDIT", L"example.org", ES_AUTOHSCROLL | WS_TABSTOP, kServerEdit, 84, 44, 200, 22,
             WS_EX_CLIENTEDGE);
      OnPage(*top_, 1, L"STATIC", L"Port:", 0, -1, 20, 82, 60, 20);
      OnPage(*top_, 1, L"EDIT", L"8080", ES_NUMBER | WS_TABSTOP, kPortEdit, 84, 78, 80, 22, WS_EX_CLIENTEDGE);
      OnPage(*top_, 1, L"BUTTON", L"Test", BS_PUSHBUTTON | WS_TABSTOP, kTestConnection, 294, 43, 80, 24);
      OnPage(*top_, 2, L"STATIC",
             L"Two tab controls, one window: the pages are ordinary child windows that the control "
             L"slides in and out of sight. Alt+G, Alt+C and Alt+B switch the top control's pages.",
             0, -1, 20, 44, 560, 60);
      top.SetActiveTab(0);
      top.SetBusy(false);
      top.Refresh();

      tabctl::ucPageTab& bottom = bottom_->Control();
      bottom.SetBusy(true);
      bottom.SetTabStyle(tabctl::TabStyles::TabbedDialog);
      bottom.SetTabTheme(tabctl::TabThemes::LightBeige);
      bottom.SetUseControlBox(true);
      BoldActiveTab(bottom);
      SetCaptions(bottom, {"&Files", "&Search", "&Advanced", "&Log"});
      const HWND files = OnPage(*bottom_, 0, L"LISTBOX", L"", WS_VSCROLL | LBS_NOINTEGRALHEIGHT | WS_TABSTOP,
                                kFileList, 20, 44, 260, 140, WS_EX_CLIENTEDGE);
      for (const wchar_t* name : {L"readme.txt", L"config.ini", L"notes.md", L"picture.png"}) {
        SendMessageW(files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
      }
      OnPage(*bottom_, 0, L"BUTTON", L"Enable \"Advanced\"", BS_PUSHBUTTON | WS_TABSTOP, kEnableAdvanced, 300,
             44, 150, 26);
      OnPage(*bottom_, 1, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, kSearchEdit, 20, 46, 260, 22,
             WS_EX_CLIENTEDGE);
      OnPage(*bottom_, 1, L"BUTTON", L"Find", BS_DEFPUSHBUTTON | WS_TABSTOP, kFind, 290, 45, 80, 24);
      OnPage(*bottom_, 2, L"BUTTON", L"Match case", BS_AUTOCHECKBOX | WS_TABSTOP, kMatchCase, 20, 46, 200,
             20);
      OnPage(*bottom_, 2, L"BUTTON", L"Whole words", BS_AUTOCHECKBOX | WS_TABSTOP, kWholeWords, 20, 72, 200,
             20);
      OnPage(*bottom_, 3, L"EDIT", L"Closing a tab's box removes the tab and its page.",
             ES_MULTILINE | ES_READONLY | WS_VSCROLL, -1, 20, 44, 560, 120, WS_EX_CLIENTEDGE);
      bottom.SetTabEnabled(2, false);
      bottom.SetActiveTab(0);
      bottom.SetBusy(false);
      bottom.Refresh();
    } catch (const tabctl::ControlError& error) {
      const std::wstring text = Wide(error.Source() + ": " + error.Description());
      MessageBoxW(hwnd_, text.c_str(), L"Tab control", MB_ICONERROR);
    }

    Child(hwnd_, L"STATIC", L"Switch pages, tick \"Stay on this page\", close a tab...",
          SS_LEFTNOWORDWRAP | SS_SUNKEN | SS_CENTERIMAGE, kChangeLine, 12, kClientHeight - 50,
          kClientWidth - 24, 20);
    Child(hwnd_, L"STATIC", L"Move the pointer over the tabs, click them...",
          SS_LEFTNOWORDWRAP | SS_SUNKEN | SS_CENTERIMAGE, kPointerLine, 12, kClientHeight - 26,
          kClientWidth - 24, 22);
  }

  void OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
      case kStayOnPage:
        Change(StayOnPage() ? "Top: switching away is cancelled now" : "Top: switching allowed again");
        break;
      case kEnableAdvanced: {
        tabctl::ucPageTab& bottom = bottom_->Control();
        // Tabs may have been closed: the button looks the tab up by caption.
        for (std::int32_t i = 0; i < bottom.TabCount(); ++i) {
          if (bottom.TabCaption(i) == "&Advanced") {
            bottom.SetTabEnabled(i, !bottom.TabEnabled(i));
            SetDlgItemTextW(bottom_->hwnd(), kEnableAdvanced,
                            bottom.TabEnabled(i) ? L"Disable \"Advanced\"" : L"Enable \"Advanced\"");
            Change(bottom.TabEnabled(i) ? "Bottom: \"Advanced\" enabled" : "Bottom: \"Advanced\" disabled");
          }
        }
        break;
      }
      case kApply:
        Change("Top: \"Apply\" pressed");
        break;
      case kTestConnection:
        Change("Top: \"Test\" pressed");
        break;
      case kFind:
        Change("Bottom: \"Find\" pressed");
        break;
      default:
        break;
    }
  }

  // Labels and check boxes on a page stand on that control's page colour.
  LRESULT OnColor(HDC dc, HWND control) {
    const HWND parent = GetParent(control);
    for (std::size_t i = 0; i < 2; ++i) {
      TabControlWindow* tabs = i == 0 ? top_.get() : bottom_.get();
      if (!tabs || parent != tabs->hwnd()) continue;
      const COLORREF colour = tabs->Control().GetRGBFromOLE(tabs->Control().BackColor()) & 0xFFFFFF;
      if (!pageBrushes_[i] || colour != pageColours_[i]) {
        if (pageBrushes_[i]) DeleteObject(pageBrushes_[i]);
        pageBrushes_[i] = CreateSolidBrush(colour);
        pageColours_[i] = colour;
      }
      SetBkColor(dc, colour);
      return reinterpret_cast<LRESULT>(pageBrushes_[i]);
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }

 public:
  ~DemoWindow() {
    for (HBRUSH brush : pageBrushes_) {
      if (brush) DeleteObject(brush);
    }
  }

 private:
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  // The sinks outlive the controls that report to them.
  StatusEvents topEvents_{*this, "Top", true};
  StatusEvents bottomEvents_{*this, "Bottom", false};
  std::unique_ptr<TabControlWindow> top_;
  std::unique_ptr<TabControlWindow> bottom_;
  std::vector<std::wstring> recent_;
  std::array<HBRUSH, 2> pageBrushes_{};
  std::array<COLORREF, 2> pageColours_{};
};

void StatusEvents::BeforeTabSwitch(std::int16_t newTab, bool& cancel) {
  if (tabs_ == nullptr || !mayRefuse_ || !demo_.StayOnPage()) return;
  cancel = true;
  Change("switch to \"" + Caption(newTab) + "\" cancelled");
}

void StatusEvents::TabSwitch(std::int16_t previousTab) {
  if (tabs_ == nullptr) return;
  const tabctl::ucPageTab& control = tabs_->Control();
  Change("\"" + Caption(previousTab) + "\" -> \"" + Caption(control.ActiveTab()) + "\"");
}

void StatusEvents::Change(const std::string& what) { demo_.Change(std::string(name_) + ": " + what); }
void StatusEvents::Pointer(const std::string& what) { demo_.Pointer(std::string(name_) + ": " + what); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  // Before anything loads a library: the control's comctl32 then comes from
  // the system folder, whatever lies beside the program.
  win32::RestrictLibrarySearch();
  std::unique_ptr<DemoWindow> demo = DemoWindow::Create(instance, show);
  if (!demo) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (demo->PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
