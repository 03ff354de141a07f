// Fuzzes the tab control's saved property text: any text reads without a
// crash, and what a control then saves reads back without complaint and
// saves the same way again.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tabctl/fakes.h"
#include "tabctl/property_bag.h"

namespace {

// Pictures as "pic:<number>"; anything else is no picture.
struct Codec : tabctl::PictureCodec {
  std::string Encode(const tabctl::Picture& p) override {
    return "pic:" + std::to_string(tabfakes::PictureId(p));
  }
  tabctl::Picture Decode(std::string_view text) override {
    int id = 0;
    if (!text.starts_with("pic:")) return {};
    const auto digits = text.substr(4);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    if (error != std::errc() || end != digits.data() + digits.size()) return {};
    return tabfakes::MakePicture(id);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Codec codec;
  const auto parsed = tabctl::ParsePropertyText(text, &codec);

  tabfakes::Fixture control;
  control.tab.ReadProperties(parsed.bag);
  tabctl::PropertyBag saved;
  control.tab.WriteProperties(saved);
  const std::string first = saved.ToText(&codec);

  const auto again = tabctl::ParsePropertyText(first, &codec);
  if (!again.issues.empty()) __builtin_trap();
  tabfakes::Fixture copy;
  if (!copy.tab.ReadProperties(again.bag).empty()) __builtin_trap();
  tabctl::PropertyBag savedAgain;
  copy.tab.WriteProperties(savedAgain);
  if (savedAgain.ToText(&codec) != first) __builtin_trap();
  return 0;
}
