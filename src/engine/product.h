// The product's own names and addresses.
#pragma once

#include <string_view>

namespace engine {

inline constexpr std::string_view kProductTitle = "Quillmoor";
inline constexpr std::string_view kHomePage = "http://www.quillmoor.example/";
inline constexpr std::string_view kForumPage = "http://www.quillmoor.example/bbs/";
inline constexpr std::string_view kUpdatePage = "http://www.quillmoor.example/brevolt/index.asp";

}  // namespace engine
