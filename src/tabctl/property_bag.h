// The property set the control saves and reads: an ordered bag of named
// values with a default per key (a value equal to its default is not
// stored), and its text form.
//
// Text form, one property per line ("#" starts a comment line):
//   TabCount = 4
//   TabCaption(0) = "加速状态"
//   ActiveTabBackEndColor = 0x8000000F
//   ShowFocusRect = false
//   ActiveTabFont = font("宋体", 9, bold, charset=134)
//   TabPicture(0) = picture("...")            (text of a PictureCodec)
// Text is UTF-8 between double quotes with the escapes \\ \" \n \r \t \xHH.
// Font options after the size: bold, italic, underline, strikethrough,
// charset=N.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "gfx/picture.h"
#include "gfx/tab_font.h"
#include "tabctl/colors.h"

namespace tabctl {

// Turns pictures into text and back for the text form. Decode returns no
// picture (or throws) for text it cannot use.
class PictureCodec {
 public:
  virtual ~PictureCodec() = default;
  virtual std::string Encode(const Picture& picture) = 0;
  virtual Picture Decode(std::string_view text) = 0;
};

class PropertyBag {
 public:
  using Value = std::variant<std::int64_t, bool, std::string, TabFont, Picture>;
  struct Entry {
    std::string key;
    Value value;
    bool hexadecimal = false;  // numbers written in hex (colours)
  };

  // Writing: the value is stored unless it equals the default (an existing
  // entry of the key is replaced or, when the value is the default, removed).
  void WriteInt(std::string_view key, std::int32_t value, std::int32_t defaultValue);
  void WriteColor(std::string_view key, Color value, Color defaultValue);
  void WriteBool(std::string_view key, bool value, bool defaultValue);
  void WriteText(std::string_view key, std::string_view value, std::string_view defaultValue);
  void WriteFont(std::string_view key, const TabFont& value, const TabFont& defaultValue);
  void WritePicture(std::string_view key, const Picture& value);  // default: no picture

  // Reading: the stored value, or the default when the key is missing or
  // its value does not fit the type (a misfit is counted in Misfits()).
  std::int32_t ReadInt(std::string_view key, std::int32_t defaultValue) const;
  Color ReadColor(std::string_view key, Color defaultValue) const;
  bool ReadBool(std::string_view key, bool defaultValue) const;
  std::string ReadText(std::string_view key, std::string_view defaultValue) const;
  TabFont ReadFont(std::string_view key, const TabFont& defaultValue) const;
  Picture ReadPicture(std::string_view key) const;

  // Keys are compared without regard to ASCII case.
  const Entry* Find(std::string_view key) const;
  bool Contains(std::string_view key) const { return Find(key) != nullptr; }
  void Set(std::string_view key, Value value, bool hexadecimal = false);
  void Remove(std::string_view key);
  const std::vector<Entry>& Entries() const { return entries_; }

  // Keys whose stored value was read with a type it does not fit.
  const std::vector<std::string>& Misfits() const { return misfits_; }

  // The text form. Without a codec pictures are left out.
  std::string ToText(PictureCodec* codec = nullptr) const;

 private:
  void NoteMisfit(std::string_view key) const;
  // The stored value of `key` as a T that `fits` accepts; null when the key
  // is missing, or (noted as a misfit) when its value is of another type or
  // refused.
  template <typename T, typename Fits>
  const T* Stored(std::string_view key, Fits fits) const;

  std::vector<Entry> entries_;
  mutable std::vector<std::string> misfits_;
};

// One line of a text form that could not be taken as it is.
struct PropertyTextIssue {
  int line = 0;  // 1-based
  std::string message;
};

struct ParsedPropertyBag {
  PropertyBag bag;
  std::vector<PropertyTextIssue> issues;
};

// Reads a text form. A line that cannot be read is left out and reported;
// its key then reads as its default. The last line of a repeated key wins.
ParsedPropertyBag ParsePropertyText(std::string_view text, PictureCodec* codec = nullptr);

}  // namespace tabctl
