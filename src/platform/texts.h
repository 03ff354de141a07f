// Texts the program shows that its tests, tools and scripts look for too:
// each is spelled here once. scripts/run and scripts/screenshots read the
// caption out of this file, so keep its #define on one line.
#pragma once

#include <string_view>

// The main window's caption, narrow and wide (it is plain ASCII).
#define QUILLMOOR_MAIN_CAPTION "Quillmoorv3.1"

namespace platform {

inline constexpr std::string_view kMainCaption = QUILLMOOR_MAIN_CAPTION;
inline constexpr wchar_t kMainCaptionW[] = L"" QUILLMOOR_MAIN_CAPTION;

// The two acceleration levels: ComboSpeed's items and the history's level column.
inline constexpr std::string_view kLevelNormal = "普通加速";
inline constexpr std::string_view kLevelCrazy = "疯狂加速";

}  // namespace platform
