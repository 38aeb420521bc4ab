#include "cp932.h"

#include <algorithm>
#include <iterator>

namespace tarvo {
namespace {
#include "cp932_table.inc"

int leadIndex(unsigned char lead) {
    if (lead >= 0x81 && lead <= 0x9F) return lead - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC) return lead - 0xE0 + (0x9F - 0x81 + 1);
    return -1;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at pos; malformed bytes yield U+FFFD and advance by one.
char32_t nextUtf8(std::string_view s, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        ++pos;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (pos + extra >= s.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    pos += extra + 1;
    return cp;
}

}  // namespace

char32_t decodeChar(std::string_view s, std::size_t pos, std::size_t* len) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        if (len) *len = 1;
        return b0;
    }
    const int li = leadIndex(b0);
    if (li < 0) {
        if (len) *len = 1;
        const char32_t cp = kSingleDecodeHigh[b0 - 0x80];
        return cp ? cp : 0xFFFD;
    }
    if (pos + 1 >= s.size()) {
        if (len) *len = 1;
        return 0xFFFD;
    }
    const auto b1 = static_cast<unsigned char>(s[pos + 1]);
    if (len) *len = 2;
    if (b1 < 0x40 || b1 > 0xFC) return 0xFFFD;
    const char32_t cp = kDbcsDecode[li][b1 - 0x40];
    return cp ? cp : 0xFFFD;
}

std::string encodeChar(char32_t cp) {
    if (cp < 0x80) return std::string(1, static_cast<char>(cp));
    const auto* end = std::end(kEncodePairs);
    const auto* it = std::lower_bound(std::begin(kEncodePairs), end, cp,
                                      [](const unsigned int (&p)[2], char32_t v) { return p[0] < v; });
    if (it == end || (*it)[0] != cp) return {};
    const unsigned code = (*it)[1];
    if (code < 0x100) return std::string(1, static_cast<char>(code));
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

std::string toUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    for (std::size_t pos = 0; pos < cp932.size();) {
        std::size_t len = 1;
        appendUtf8(out, decodeChar(cp932, pos, &len));
        pos += len;
    }
    return out;
}

std::string toCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = nextUtf8(utf8, pos);
        std::string enc = encodeChar(cp);
        out += enc.empty() ? std::string("?") : enc;
    }
    return out;
}

}  // namespace tarvo
