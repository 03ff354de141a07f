// The main window's controls as data: one row per control, placed by one
// loop in FormMain. Positions are twips; on a page they are relative to the
// tab control, on the window to its client area.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

#include "shell/form_main.h"
#include "win32/gdi_objects.h"

namespace app {

inline constexpr int kOnWindow = -1;  // the control's "page": the window itself

enum class FontRole { Text, Title, Link };

struct ControlRow {
  int page;            // 0 to 3, or kOnWindow
  const wchar_t* cls;  // window class
  const char* text;    // caption, UTF-8
  DWORD style;         // besides WS_CHILD | WS_VISIBLE
  int id;
  int left, top, width, height;  // twips
  FontRole font = FontRole::Text;
  int picture = 0;  // bitmap resource of an SS_BITMAP static; its size then wins
  // What a screen reader says for a control without a caption of its own
  // (a picture, a list; null: its text). A link says its address.
  const char* speak = nullptr;
};

// Every control of the window in tab order (the tab control itself, made
// first, is not in the table).
std::span<const ControlRow> MainWindowControls();
// What making a control of the class is counted as in the start-up marks.
const char* CreationKind(const wchar_t* cls);

// The option check box a control id stands for.
std::optional<shell::Check> CheckOf(int id);
int CheckId(shell::Check box);
int ComboId(shell::Combo list);

// The fonts of the window. The interface is Chinese: every face is asked for
// with the GB2312 character set, so that a Western system maps it to a face
// that has the glyphs instead of its own UI font, which has none.
struct FormFonts {
  win32::UniqueFont text;
  win32::UniqueFont title;  // "宋体" 10.5 pt bold: group and product titles
  win32::UniqueFont link;
  win32::UniqueFont linkHover;
  static FormFonts Create(int dpi);
  HFONT For(FontRole role) const;
  // The height of a line of the role's font (tmHeight), measured once.
  int LineHeight(FontRole role) const { return lineHeights[static_cast<int>(role)]; }

 private:
  int lineHeights[3] = {};
};

}  // namespace app
