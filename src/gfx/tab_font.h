// A font as a property value: what to create, not a created font. The
// drawing code makes system fonts from it.
#pragma once

#include <cstdint>
#include <string>

namespace tabctl {

struct TabFont {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  std::int32_t charset = 1;  // the system's default character set

  bool operator==(const TabFont&) const = default;
};

// The same font with bold on.
inline TabFont Bolded(TabFont font) {
  font.bold = true;
  return font;
}

}  // namespace tabctl
