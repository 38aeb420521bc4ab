#include "silks_bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "cp932.h"
#include "fsys.h"

namespace tarvo {
namespace {

using Pixel = std::uint32_t;
constexpr int W = SilksPicture::kWidth, H = SilksPicture::kHeight;
constexpr Pixel kBackground = 0xFFFFFF, kOutline = 0x303030, kPlaceholder = 0xD8D8D8;

struct Colour {
    const char* name;  // UTF-8
    Pixel rgb;
};
// Longer names first where one begins with another (薄紫 before 紫 is not needed,
// but 水色 must not be read as 水).
constexpr Colour kColours[] = {
    {"水色", 0x60C0FF}, {"薄紫", 0xC8A0E8}, {"えんじ", 0x900030}, {"臙脂", 0x900030}, {"白", 0xFFFFFF},
    {"黒", 0x202020},   {"赤", 0xE00000},   {"青", 0x0040D0},     {"黄", 0xFFE000},   {"緑", 0x008040},
    {"紫", 0x8000A0},   {"桃", 0xFF90C0},   {"茶", 0x804000},     {"橙", 0xFF8000},   {"灰", 0x909090},
    {"鼠", 0x909090},   {"紺", 0x102060},   {"金", 0xD4AF37},     {"銀", 0xC0C0C0},
};

enum class Pattern { VStripes, HStripes, Hoop1, Hoop2, Hoop3, Band, Sash, CrossSash, Chevron, Dots, Diamonds,
                     Check, DiagonalCheck, Zigzag, Patch };
struct PatternWord {
    const char* name;
    Pattern pattern;
};
// Longest first among words that contain one another (十字襷 before 襷, 一本輪 before 輪).
constexpr PatternWord kPatterns[] = {
    {"十字襷", Pattern::CrossSash}, {"縦縞", Pattern::VStripes}, {"縦じま", Pattern::VStripes},
    {"横縞", Pattern::HStripes},    {"一本輪", Pattern::Hoop1},  {"二本輪", Pattern::Hoop2},
    {"三本輪", Pattern::Hoop3},     {"輪", Pattern::Hoop1},      {"帯", Pattern::Band},
    {"襷", Pattern::Sash},          {"たすき", Pattern::Sash},   {"山形", Pattern::Chevron},
    {"星", Pattern::Dots},          {"霰", Pattern::Dots},       {"玉", Pattern::Dots},
    {"菱", Pattern::Diamonds},      {"ダイヤモンド", Pattern::Diamonds}, {"格子", Pattern::Check},
    {"元禄", Pattern::DiagonalCheck}, {"鋸歯形", Pattern::Zigzag},
};
constexpr const char* kSleeve = "袖";
// Words that name a pattern this drawing has no picture for; they show as a chest patch.
constexpr const char* kOtherPatterns[] = {"蛇目", "井桁", "一文字", "鱗", "稲妻"};

bool inside(int x, int y, const int (*poly)[2], int n) {
    bool in = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const int yi = poly[i][1], yj = poly[j][1], xi = poly[i][0], xj = poly[j][0];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / static_cast<double>(yj - yi) + xi) in = !in;
    }
    return in;
}

enum class Area { None, Body, Sleeve };

Area areaAt(int x, int y) {
    if ((x >= 15 && x <= 32 && y >= 9 && y <= 45) || (x >= 13 && x <= 34 && y >= 7 && y <= 9)) return Area::Body;
    static constexpr int sleeve[4][2] = {{13, 7}, {2, 21}, {7, 26}, {15, 16}};
    const int mx = x < W / 2 ? x : W - 1 - x;  // the right sleeve mirrors the left
    if (inside(mx, y, sleeve, 4)) return Area::Sleeve;
    return Area::None;
}

bool patternAt(Pattern p, int x, int y) {
    const auto between = [y](int a, int b) { return y >= a && y <= b; };
    switch (p) {
        case Pattern::VStripes: return ((x + 30) / 3) % 2 == 1;
        case Pattern::HStripes: return (y / 4) % 2 == 1;
        case Pattern::Hoop1: return between(27, 31);
        case Pattern::Hoop2: return between(23, 25) || between(30, 32);
        case Pattern::Hoop3: return between(21, 22) || between(27, 28) || between(33, 34);
        case Pattern::Band: return between(24, 33);
        case Pattern::Sash: return std::abs((x - 15) * 36 - (y - 9) * 17) < 119;
        case Pattern::CrossSash:
            return std::abs((x - 15) * 36 - (y - 9) * 17) < 119 || std::abs((32 - x) * 36 - (y - 9) * 17) < 119;
        case Pattern::Chevron: return ((y - std::abs(2 * x - (W - 1)) / 2 + 2 * H) / 4) % 2 == 1;
        case Pattern::Dots: return (x % 6 - 3) * (x % 6 - 3) + (y % 6 - 3) * (y % 6 - 3) <= 2;
        case Pattern::Diamonds: return std::abs(x % 8 - 4) + std::abs(y % 8 - 4) <= 2;
        case Pattern::Check: return (x / 4 + y / 4) % 2 == 0;
        case Pattern::DiagonalCheck: return ((x + y) / 5 + (x - y + 60) / 5) % 2 == 0;
        case Pattern::Zigzag: return ((y + (x % 6 < 3 ? x % 6 : 6 - x % 6)) / 4) % 2 == 1;
        case Pattern::Patch: return x >= 19 && x <= 28 && y >= 14 && y <= 23;
    }
    return false;
}

bool startsWith(std::string_view s, std::size_t pos, std::string_view word) {
    return s.substr(pos, word.size()) == word;
}

std::size_t utf8Len(unsigned char c) { return c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4; }

struct Token {
    enum Kind { Colour, Pattern, Sleeve, Other } kind;
    Pixel rgb = 0;
    tarvo::Pattern pattern = tarvo::Pattern::Patch;
};

std::vector<Token> tokens(std::string_view part) {
    std::vector<Token> out;
    for (std::size_t i = 0; i < part.size();) {
        bool matched = false;
        for (const Colour& c : kColours)
            if (startsWith(part, i, c.name)) {
                out.push_back({Token::Colour, c.rgb});
                i += std::string_view(c.name).size();
                matched = true;
                break;
            }
        if (!matched)
            for (const PatternWord& p : kPatterns)
                if (startsWith(part, i, p.name)) {
                    out.push_back({Token::Pattern, 0, p.pattern});
                    i += std::string_view(p.name).size();
                    matched = true;
                    break;
                }
        if (!matched && startsWith(part, i, kSleeve)) {
            out.push_back({Token::Sleeve});
            i += std::string_view(kSleeve).size();
            matched = true;
        }
        if (!matched)
            for (const char* w : kOtherPatterns)
                if (startsWith(part, i, w)) {
                    out.push_back({Token::Other});
                    i += std::string_view(w).size();
                    matched = true;
                    break;
                }
        if (!matched) i += utf8Len(static_cast<unsigned char>(part[i]));
    }
    return out;
}

std::vector<std::string_view> parts(std::string_view s) {
    static constexpr std::string_view seps[] = {"，", "、", ",", " ", "　"};
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t sepLen = 0;
        for (const std::string_view sep : seps)
            if (startsWith(s, i, sep)) sepLen = sep.size();
        if (sepLen) {
            if (i > start) out.push_back(s.substr(start, i - start));
            i += sepLen;
            start = i;
        } else {
            i += utf8Len(static_cast<unsigned char>(s[i]));
        }
    }
    if (start < s.size()) out.push_back(s.substr(start));
    return out;
}

// One layer of the drawing: a colour over an area, everywhere or where a pattern is.
struct Layer {
    Area area;
    Pixel rgb;
    bool patterned;
    Pattern pattern;
};

}  // namespace

SilksPicture drawSilks(std::string_view description) {
    const std::string text = toUtf8(description);
    std::vector<Layer> layers;
    bool haveBase = false;
    for (const std::string_view part : parts(text)) {
        Area target = Area::Body;
        bool colourSeen = false, applied = false, sleevePrefix = false;
        Pixel colour = 0;
        for (const Token& t : tokens(part)) {
            if (t.kind == Token::Colour) {
                if (!haveBase) {  // the jersey's own colour
                    layers.push_back({Area::Body, t.rgb, false, Pattern::Patch});
                    layers.push_back({Area::Sleeve, t.rgb, false, Pattern::Patch});
                    haveBase = true;
                    applied = true;
                    continue;
                }
                if (colourSeen && !applied) layers.push_back({target, colour, false, Pattern::Patch});
                colour = t.rgb;
                colourSeen = true;
                applied = false;
            } else if (t.kind == Token::Sleeve) {
                if (colourSeen && !applied && !sleevePrefix) {  // "白袖"
                    layers.push_back({Area::Sleeve, colour, false, Pattern::Patch});
                    applied = true;
                } else {  // "袖白縦縞"
                    target = Area::Sleeve;
                    sleevePrefix = true;
                }
            } else if (colourSeen && !(t.kind == Token::Other && applied)) {
                const Pattern p = t.kind == Token::Pattern ? t.pattern : Pattern::Patch;
                layers.push_back({target, colour, true, p});
                applied = true;
            }
        }
        if (colourSeen && !applied) layers.push_back({target, colour, false, Pattern::Patch});
    }

    SilksPicture pic;
    pic.drawn = haveBase;
    pic.rgb.assign(static_cast<std::size_t>(W * H), kBackground);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const Area a = areaAt(x, y);
            if (a == Area::None) continue;
            Pixel px = kPlaceholder;
            for (const Layer& l : layers)
                if (l.area == a && (!l.patterned || patternAt(l.pattern, x, y))) px = l.rgb;
            const bool edge = x == 0 || y == 0 || x == W - 1 || y == H - 1 || areaAt(x - 1, y) == Area::None ||
                              areaAt(x + 1, y) == Area::None || areaAt(x, y - 1) == Area::None ||
                              areaAt(x, y + 1) == Area::None;
            pic.rgb[static_cast<std::size_t>(y * W + x)] = edge ? kOutline : px;
        }
    return pic;
}

std::string bitmapFile(const SilksPicture& picture) {
    const int rowBytes = (W * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(rowBytes * H);
    std::string out;
    const auto u16 = [&out](std::uint32_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    const auto u32 = [&u16](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out += "BM";
    u32(54 + imageSize);
    u32(0);
    u32(54);
    u32(40);  // BITMAPINFOHEADER
    u32(static_cast<std::uint32_t>(W));
    u32(static_cast<std::uint32_t>(H));
    u16(1);
    u16(24);
    u32(0);
    u32(imageSize);
    u32(2835);  // 72 dpi
    u32(2835);
    u32(0);
    u32(0);
    for (int y = H - 1; y >= 0; --y) {
        for (int x = 0; x < W; ++x) {
            const Pixel p = picture.at(x, y);
            out += static_cast<char>(p & 0xFF);
            out += static_cast<char>((p >> 8) & 0xFF);
            out += static_cast<char>((p >> 16) & 0xFF);
        }
        out.append(static_cast<std::size_t>(rowBytes - W * 3), '\0');
    }
    return out;
}

int writeSilksBitmap(std::string_view description, const std::string& path) {
    const SilksPicture pic = drawSilks(description);
    try {
        if (const std::string dir = dirName(path); !dir.empty()) makeDirs(dir);
        writeFileAtomic(path, bitmapFile(pic));
    } catch (const IoError&) {
        return -2;
    }
    return pic.drawn ? 0 : -1;
}

}  // namespace tarvo
