#include "widthmap.h"

#include <array>

#include "cp932.h"

namespace tarvo {
namespace {

// Full-width forms of the half-width katakana block U+FF61..U+FF9F, in order.
constexpr std::array<char32_t, 63> kHalfKanaToFull = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

constexpr char32_t kHalfKanaFirst = 0xFF61;
constexpr char32_t kHalfVoiced = 0xFF9E;      // ﾞ
constexpr char32_t kHalfSemiVoiced = 0xFF9F;  // ﾟ

// Plain kana that take the voiced mark; the voiced form is the next code point
// except for ウ, whose voiced form is ヴ.
constexpr std::array<char32_t, 21> kVoicedBases = {
    0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF,
    0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30A6};
// Plain kana that take the semi-voiced mark (ハ row); the form is two code points on.
constexpr std::array<char32_t, 5> kSemiVoicedBases = {0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB};

constexpr char32_t kU = 0x30A6, kVu = 0x30F4;

template <std::size_t N>
bool contains(const std::array<char32_t, N>& a, char32_t c) {
    for (char32_t v : a)
        if (v == c) return true;
    return false;
}

char32_t voicedOf(char32_t base) { return base == kU ? kVu : base + 1; }

// Appends the CP932 form of cp, or the original bytes when cp has none.
void put(std::string& out, char32_t cp, std::string_view original) {
    const std::string enc = encodeChar(cp);
    out += enc.empty() ? std::string(original) : enc;
}

std::string limit(std::string s) {
    if (s.size() <= kWidthMapLimit) return s;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const std::size_t n = charLen(s, pos);
        if (pos + n > kWidthMapLimit) break;
        pos += n;
    }
    s.resize(pos);
    return s;
}

}  // namespace

std::string mapToFullWidth(std::string_view in) {
    std::string out;
    for (std::size_t pos = 0; pos < in.size();) {
        std::size_t len = 1;
        const char32_t cp = decodeChar(in, pos, &len);
        const std::string_view original = in.substr(pos, len);
        pos += len;
        if (cp == 0x20) {
            put(out, 0x3000, original);
        } else if (cp > 0x20 && cp < 0x7F) {
            put(out, cp + 0xFEE0, original);
        } else if (cp >= kHalfKanaFirst && cp <= kHalfSemiVoiced) {
            char32_t full = kHalfKanaToFull[cp - kHalfKanaFirst];
            std::size_t nlen = 1;
            const char32_t next = pos < in.size() ? decodeChar(in, pos, &nlen) : 0;
            if (next == kHalfVoiced && contains(kVoicedBases, full)) {
                full = voicedOf(full);
                pos += nlen;
            } else if (next == kHalfSemiVoiced && contains(kSemiVoicedBases, full)) {
                full += 2;
                pos += nlen;
            }
            put(out, full, original);
        } else {
            out += original;
        }
    }
    return limit(std::move(out));
}

std::string mapToHalfWidth(std::string_view in) {
    std::string out;
    for (std::size_t pos = 0; pos < in.size();) {
        std::size_t len = 1;
        const char32_t cp = decodeChar(in, pos, &len);
        const std::string_view original = in.substr(pos, len);
        pos += len;
        if (cp == 0x3000) {
            out += ' ';
        } else if (cp >= 0xFF01 && cp <= 0xFF5E) {
            out += static_cast<char>(cp - 0xFEE0);
        } else if (cp == 0xFFE5) {  // ￥ has no half-width form in CP932 but the yen byte
            out += '\\';
        } else if (cp == 0x2019) {
            out += '\'';
        } else if (cp == 0x201D) {
            out += '"';
        } else {
            // Katakana and Japanese punctuation: find the plain form, then the marks.
            bool done = false;
            for (std::size_t i = 0; i < kHalfKanaToFull.size() && !done; ++i) {
                const char32_t full = kHalfKanaToFull[i];
                const char32_t half = kHalfKanaFirst + static_cast<char32_t>(i);
                if (cp == full) {
                    put(out, half, original);
                    done = true;
                } else if (contains(kVoicedBases, full) && cp == voicedOf(full)) {
                    put(out, half, original);
                    put(out, kHalfVoiced, {});
                    done = true;
                } else if (contains(kSemiVoicedBases, full) && cp == full + 2) {
                    put(out, half, original);
                    put(out, kHalfSemiVoiced, {});
                    done = true;
                }
            }
            if (!done) out += original;
        }
    }
    return limit(std::move(out));
}

}  // namespace tarvo
