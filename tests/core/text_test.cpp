#include <gtest/gtest.h>

#include "cp932.h"
#include "textfn.h"
#include "widthmap.h"

namespace tarvo {
namespace {

TEST(Cp932, ConvertsBothWaysIncludingExtensions) {
    struct Case {
        const char* utf8;
        const char* cp932;
    };
    const Case cases[] = {
        {"ABC", "ABC"},
        {"東京", "\x93\x8c\x8b\x9e"},
        {"①", "\x87\x40"},
        {"⑳", "\x87\x53"},
        {"ｶﾞ", "\xb6\xde"},
        {"　", "\x81\x40"},
        {"～", "\x81\x60"},
        {"∵", "\x81\xe6"},      // JIS row preferred over the NEC and IBM duplicates
        {"ⅰ", "\xfa\x40"},      // IBM extension preferred over the NEC-selected copy
        {"髙", "\xfb\xfc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toCp932(c.utf8), c.cp932) << c.utf8;
        EXPECT_EQ(toUtf8(c.cp932), c.utf8) << c.utf8;
    }
    // Duplicates decode to the same character.
    EXPECT_EQ(toUtf8("\xee\xef"), "ⅰ");
    EXPECT_EQ(toUtf8("\x87\x9a"), "∵");
}

TEST(Cp932, BadInputIsReplacedNotOverrun) {
    EXPECT_EQ(toCp932("€"), "?");          // no CP932 form
    EXPECT_EQ(toCp932("\xe6\x9d"), "??");  // truncated UTF-8 sequence: each byte replaced
    EXPECT_EQ(toUtf8("\x93"), "\xef\xbf\xbd");  // lead byte at the end
    EXPECT_EQ(toUtf8("\x85\x40"), "\xef\xbf\xbd");  // unassigned code
    EXPECT_EQ(charLen("\x93", 0), 1u);
}

TEST(WidthMap, MapsAsciiAndKatakanaBothWays) {
    struct Case {
        const char* half;
        const char* full;
    };
    const Case cases[] = {
        {"AZaz09", "ＡＺａｚ０９"},
        {"A B", "Ａ　Ｂ"},
        {"!#$%&()*+,-./:;<=>?@[]^_{|}~", "！＃＄％＆（）＊＋，－．／：；＜＝＞？＠［］＾＿｛｜｝～"},
        {"ｶﾞｷﾞｸﾞｹﾞｺﾞ", "ガギグゲゴ"},
        {"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "パピプペポ"},
        {"ﾊﾞﾀﾞ", "バダ"},
        {"ｳﾞ", "ヴ"},
        {"ｱｲｳｴｵｧｯｬｰｦﾝ", "アイウエオァッャーヲン"},
        {"｢､｣｡･", "「、」。・"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toUtf8(mapToFullWidth(sj(c.half))), c.full) << c.half;
        EXPECT_EQ(toUtf8(mapToHalfWidth(sj(c.full))), c.half) << c.full;
    }
}

TEST(WidthMap, LeavesOthersAloneAndKeepsMarksThatCannotCombine) {
    EXPECT_EQ(toUtf8(mapToFullWidth(sj("ｱﾞ"))), "ア゛");  // ア takes no voiced mark
    EXPECT_EQ(toUtf8(mapToFullWidth(sj("ｶﾟ"))), "カ゜");
    EXPECT_EQ(toUtf8(mapToHalfWidth(sj("東京ひらがな"))), "東京ひらがな");
    EXPECT_EQ(toUtf8(mapToFullWidth(sj("東京"))), "東京");
}

TEST(WidthMap, ResultIsCutAt256BytesOnACharacterBoundary) {
    const std::string full = mapToFullWidth(std::string(200, 'A'));
    EXPECT_EQ(full.size(), 256u);
    EXPECT_EQ(full.substr(0, 2), sj("Ａ"));
    const std::string odd = mapToFullWidth("\x80" + std::string(200, 'A'));  // 1 + 2k bytes: 255 fit
    EXPECT_EQ(odd.size(), 255u);
}

TEST(TextFunctions, TrimAndPad) {
    EXPECT_EQ(trimBoth(sj("　東京 ")), sj("東京"));
    EXPECT_EQ(trimBoth(sj(" 　a b　 ")), "a b");
    EXPECT_EQ(trimBoth(""), "");
    EXPECT_EQ(trimBoth(sj("　　")), "");
    // A trail byte 0x81 followed by "@" is not a full-width blank.
    const std::string tricky = std::string("\x88\x81") + "@";  // a kanji then "@"
    EXPECT_EQ(trimBoth(tricky), tricky);
    EXPECT_EQ(padRight("ab", 4), "ab  ");
    EXPECT_EQ(padRight("abcde", 3), "abcde");
    EXPECT_EQ(padLeft("ab", 4), "  ab");
    EXPECT_EQ(padLeft(sj(" 東京"), 6), sj("  東京"));
    EXPECT_EQ(padLeft("abcde", 3), "abcde");
}

TEST(TextFunctions, ReplaceAllScansLeftToRight) {
    EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replaceAll("a-b-c", "-", ""), "abc");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
    // A pattern byte inside a double-byte character is not matched.
    EXPECT_EQ(replaceAll(sj("ソ"), "\\", "/"), sj("ソ"));  // ソ's trail byte is 0x5C
}

TEST(TextFunctions, CircledNumbers) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {{"01", "①"}, {"10", "⑩"}, {"20", "⑳"}, {"０５", "⑤"}, {" 03 ", "③"},
                          {"00", "**"}, {"21", "**"}, {"1", "**"}, {"", "**"}, {"ab", "**"}};
    for (const auto& c : cases) EXPECT_EQ(toUtf8(circledNumber(sj(c.in))), c.out) << c.in;
}

TEST(TextFunctions, DateTimeText) {
    EXPECT_EQ(dateTimeText({2020, 6, 7, 9, 5, 3}, "/"), "2020/06/07 09:05:03");
    EXPECT_EQ(dateTimeText({2020, 12, 31, 23, 59, 59}, ""), "20201231 23:59:59");
}

TEST(TextFunctions, IntegerParsing) {
    EXPECT_EQ(toIntDef("0490", 0), 490);
    EXPECT_EQ(toIntDef("-12", 0), -12);
    EXPECT_EQ(toIntDef("12a", 7), 7);
    EXPECT_EQ(toIntDef("", 7), 7);
    EXPECT_EQ(toIntDef("99999999999", 7), 7);
}

}  // namespace
}  // namespace tarvo
