// Half-width / full-width mapping of Japanese text, CP932 in and out:
// ASCII against the full-width forms, half-width katakana against full-width
// katakana (voiced and semi-voiced marks combined and split).
#pragma once

#include <string>
#include <string_view>

namespace tarvo {

// The longest result the mapping returns; longer results are cut at a character boundary.
inline constexpr std::size_t kWidthMapLimit = 256;

std::string mapToHalfWidth(std::string_view cp932);
std::string mapToFullWidth(std::string_view cp932);

}  // namespace tarvo
