#include "app/form_layout.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cwchar>

#include "app/control_ids.h"
#include "app/resources/resource_ids.h"
#include "engine/product.h"

namespace app {
namespace {

constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kList = CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL;
// A tab stop, so that the keyboard reaches it (Enter or Space opens it).
constexpr DWORD kLink = SS_NOTIFY | SS_NOPREFIX | WS_TABSTOP;
constexpr DWORD kPicture = SS_BITMAP | SS_REALSIZECONTROL;
constexpr DWORD kToolbar =
    TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN | WS_TABSTOP;
constexpr int kLabel = kStaticLabel;
constexpr FontRole kTitle = FontRole::Title;

// A drop-down list and the history list are named for screen readers
// explicitly: Windows would take the label before them, but not every
// reader does, and the history list has none.
//
// Labels are as high as their text at the real DPI, never lower than given
// here (FormMain::Place); the two links thereby keep a strip of the tab
// control between them, so the mouse passes over it from one to the other.
const ControlRow kControls[] = {
    // Page 0: acceleration status.
    {0, WC_STATICW, "已加速程序数量：", 0, kLabel, 1080, 2400, 1440, 180},
    {0, WC_STATICW, "LabelCount", 0, kLabelCount, 2640, 2400, 900, 180},
    {0, WC_STATICW, "正在加速的程序：", 0, kLabel, 1080, 2760, 1440, 180},
    {0, WC_STATICW, "LabelInfo", SS_NOTIFY | SS_ENDELLIPSIS | SS_NOPREFIX, kLabelInfo, 2640, 2760, 4290, 180},
    // Page 1: system settings, three groups.
    {1, WC_STATICW, "", kPicture, kLabel, 600, 600, 0, 0, FontRole::Text, IDB_GROUP_GENERAL, "一般设置图标"},
    {1, WC_STATICW, "一般设置", 0, kLabel, 1560, 600, 2400, 300, kTitle},
    {1, WC_BUTTONW, "开机自启动", kCheck, kCheckAutoRun, 1800, 960, 3600, 255},
    {1, WC_BUTTONW, "启动后缩为托盘图标", kCheck, kCheckAutoMin, 1800, 1320, 3600, 255},
    {1, WC_BUTTONW, "启用加速功能", kCheck, kCheckState, 1800, 1680, 3600, 255},
    {1, WC_BUTTONW, "本窗体总在最前", kCheck, kCheckMostTop, 1800, 2040, 3600, 255},
    {1, WC_STATICW, "", kPicture, kLabel, 600, 2400, 0, 0, FontRole::Text, IDB_GROUP_SPEED, "加速设置图标"},
    {1, WC_STATICW, "加速设置", 0, kLabel, 1560, 2520, 2400, 300, kTitle},
    {1, WC_STATICW, "加速度：", 0, kLabel, 1800, 2880, 2400, 240},
    // A drop-down list's height is that of its open list.
    {1, WC_COMBOBOXW, "", kList, kComboSpeed, 1800, 3120, 1815, 1800, FontRole::Text, 0, "加速度"},
    {1, WC_BUTTONW, "同时加速其子进程", kCheck, kCheckAccelerateChildren, 3840, 3150, 2100, 255},
    {1, WC_BUTTONW, "从不加速列表…", BS_PUSHBUTTON | WS_TABSTOP, kCommandNeverList, 6060, 3090, 1815, 360},
    {1, WC_STATICW, "", kPicture, kLabel, 600, 3720, 0, 0, FontRole::Text, IDB_GROUP_HISTORY,
     "加速记录设置图标"},
    {1, WC_STATICW, "加速记录设置", 0, kLabel, 1560, 3720, 2400, 300, kTitle},
    {1, WC_BUTTONW, "启用加速记录", kCheck, kCheckEnableRecord, 1800, 4080, 3600, 255},
    {1, WC_STATICW, "历史记录大于？条时自动清除：", 0, kLabel, 1800, 4440, 4200, 240},
    {1, WC_COMBOBOXW, "", kList, kComboAutoCleanCount, 1800, 4680, 1815, 1800, FontRole::Text, 0,
     "历史记录大于几条时自动清除"},
    // Page 2: the history list and its toolbar.
    // The form owns the list's image list (LVS_SHAREIMAGELISTS): a list view
    // otherwise frees it itself, and the form would free it a second time.
    {2, WC_LISTVIEWW, "", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | WS_BORDER | WS_TABSTOP,
     kListViewHistory, 120, 480, 8295, 4095, FontRole::Text, 0, "加速记录"},
    {2, TOOLBARCLASSNAMEW, "", kToolbar, kToolbarSpeedMain, 120, 4680, 8295, 525, FontRole::Text, 0,
     "记录工具"},
    // Page 3: about.
    {3, WC_STATICW, "", kPicture, kLabel, 960, 1080, 0, 0, FontRole::Text, IDB_ABOUT, "产品标志"},
    {3, WC_STATICW, engine::kProductTitle.data(), 0, kLabel, 2040, 1080, 3000, 300, kTitle},
    {3, WC_STATICW, engine::kHomePage.data(), kLink, kLabelHomePage, 2040, 1920, 4200, 180, FontRole::Link},
    {3, WC_STATICW, engine::kForumPage.data(), kLink, kLabelBBS, 2040, 2160, 4200, 180, FontRole::Link},
    {3, WC_STATICW, "全面提升系统性能15%以上，让系统跑的更快。", 0, kLabel, 2040, 3000, 6000, 240},
    {3, WC_STATICW, "采用软加速技术，不伤硬件，不耗系统资源，可放心使用。", 0, kLabel, 2040, 3360, 6000, 240},
    // On the window, below the tab control.
    {kOnWindow, WC_BUTTONW, "后台运行", BS_PUSHBUTTON | WS_TABSTOP, kCommandMini, 5640, 6360, 1215, 375},
    {kOnWindow, WC_BUTTONW, "退出", BS_PUSHBUTTON | WS_TABSTOP, kCommandExit, 6960, 6360, 1215, 375},
};

constexpr std::array<std::pair<shell::Check, int>, 6> kCheckIds = {{
    {shell::Check::AutoRun, kCheckAutoRun},
    {shell::Check::AutoMin, kCheckAutoMin},
    {shell::Check::State, kCheckState},
    {shell::Check::MostTop, kCheckMostTop},
    {shell::Check::EnableRecord, kCheckEnableRecord},
    {shell::Check::AccelerateChildren, kCheckAccelerateChildren},
}};

// Whether some installed face called `face` has the character set.
bool FaceHasCharset(const wchar_t* face, BYTE charset) {
  LOGFONTW wanted{};
  wanted.lfCharSet = charset;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  win32::UniqueWindowDc screen(nullptr);
  EnumFontFamiliesExW(
      screen.get(), &wanted,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM data) {
        *reinterpret_cast<bool*>(data) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// The font asked for with the Chinese character set. A face without Chinese
// glyphs is dropped: the character set alone then picks the system's
// Chinese face.
LOGFONTW Chinese(LOGFONTW font) {
  font.lfCharSet = GB2312_CHARSET;
  if (font.lfFaceName[0] != L'\0' && !FaceHasCharset(font.lfFaceName, GB2312_CHARSET)) {
    font.lfFaceName[0] = L'\0';
  }
  return font;
}

win32::UniqueFont MakeFont(const LOGFONTW& font) { return win32::UniqueFont(CreateFontIndirectW(&font)); }

}  // namespace

std::span<const ControlRow> MainWindowControls() { return kControls; }

// The kind of work a control's creation is counted as in the start-up marks.
const char* CreationKind(const wchar_t* cls) {
  if (std::wcscmp(cls, WC_STATICW) == 0) return "create-static";
  if (std::wcscmp(cls, WC_BUTTONW) == 0) return "create-button";
  if (std::wcscmp(cls, WC_COMBOBOXW) == 0) return "create-combo";
  if (std::wcscmp(cls, WC_LISTVIEWW) == 0) return "create-listview";
  return "create-toolbar";
}

std::optional<shell::Check> CheckOf(int id) {
  for (const auto& [box, boxId] : kCheckIds) {
    if (boxId == id) return box;
  }
  return std::nullopt;
}

int CheckId(shell::Check box) {
  for (const auto& [known, id] : kCheckIds) {
    if (known == box) return id;
  }
  return 0;
}

int ComboId(shell::Combo list) { return list == shell::Combo::Speed ? kComboSpeed : kComboAutoCleanCount; }

FormFonts FormFonts::Create(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW text = metrics.lfMessageFont;
  if (text.lfHeight == 0) text.lfHeight = -MulDiv(9, dpi, 72);
  LOGFONTW title{};
  title.lfHeight = -MulDiv(105, dpi, 720);
  title.lfWeight = FW_BOLD;
  wcsncpy(title.lfFaceName, L"宋体", LF_FACESIZE - 1);
  // The faces are looked up once each: the links are the text's face.
  text = Chinese(text);
  LOGFONTW hover = text;
  hover.lfUnderline = TRUE;
  FormFonts fonts;
  fonts.text = MakeFont(text);
  fonts.title = MakeFont(Chinese(title));
  fonts.link = MakeFont(text);
  fonts.linkHover = MakeFont(hover);
  // Every label asks for its font's line height: measured here, on one
  // screen DC, instead of once per label.
  win32::UniqueWindowDc screen(nullptr);
  for (FontRole role : {FontRole::Text, FontRole::Title, FontRole::Link}) {
    win32::ScopedSelection selection(screen.get(), fonts.For(role));
    TEXTMETRICW line{};
    GetTextMetricsW(screen.get(), &line);
    fonts.lineHeights[static_cast<int>(role)] = line.tmHeight;
  }
  return fonts;
}

HFONT FormFonts::For(FontRole role) const {
  switch (role) {
    case FontRole::Title:
      return title.get();
    case FontRole::Link:
      return link.get();
    case FontRole::Text:
      break;
  }
  return text.get();
}

}  // namespace app
