// Code page 932 (Shift-JIS as Windows has it): conversion to and from UTF-8,
// and character stepping over the byte strings the store and engine keep.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvo {

// True for a byte that starts a double-byte character.
constexpr bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character at pos (1 or 2; 1 for a lead byte at the end).
inline std::size_t charLen(std::string_view s, std::size_t pos) {
    return (isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

// Decodes the character at pos into a Unicode code point; 0xFFFD when unmapped.
char32_t decodeChar(std::string_view s, std::size_t pos, std::size_t* len = nullptr);

// The CP932 bytes of a code point, or an empty string when it has none.
std::string encodeChar(char32_t cp);

// CP932 bytes to UTF-8; unmapped bytes become U+FFFD.
std::string toUtf8(std::string_view cp932);

// UTF-8 to CP932; characters without a CP932 form become "?" as Windows does.
std::string toCp932(std::string_view utf8);

// Shorthand for source literals written in UTF-8.
inline std::string sj(std::string_view utf8) { return toCp932(utf8); }

}  // namespace tarvo
