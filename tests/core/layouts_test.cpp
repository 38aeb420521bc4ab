#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "cp932.h"
#include "layouts.h"

namespace tarvo {
namespace {

TEST(LayoutsTest, EveryTableCoversItsStoredLineWithoutGapOrOverlap) {
    for (Family f : allFamilies()) {
        const Layout& l = layoutOf(f);
        SCOPED_TRACE(std::string(l.id));
        ASSERT_FALSE(l.fields.empty());
        std::size_t next = 1;
        std::set<std::string> names;
        for (const Field& field : l.fields) {
            ASSERT_EQ(field.pos, next) << field.name;
            ASSERT_GT(field.len, 0u) << field.name;
            next += field.len;
            EXPECT_TRUE(names.insert(field.name).second) << "duplicate " << field.name;
        }
        EXPECT_EQ(next - 1 + 2, l.lineLength) << "fields end at " << next - 1;
        EXPECT_EQ(l.index.size(), l.fields.size());
        EXPECT_EQ(familyById(l.id), f);
    }
}

// Positions the tables state outright, including the first and last members of
// expanded groups and the fields that move in the old format.
TEST(LayoutsTest, ExpandedGroupsAndOldFormatsLandWhereTheRecordsHaveThem) {
    struct Case {
        Family f;
        const char* name;
        std::size_t pos, len;
    };
    const Case cases[] = {
        {Family::RA, "JyokenCD5", 269, 3},
        {Family::RA, "Corner1", 377, 1},
        {Family::RA, "Jyuni4", 595, 70},
        {Family::SE, "Jyuni4c", 229, 2},
        {Family::SE, "UserYoso", 255, 2},
        {Family::HR, "PayFukusyoNinki5", 128, 2},
        {Family::HR, "PayWideKumi7", 313, 4},
        {Family::HR, "PaySanrentanNinki6", 589, 4},
        {Family::O2, "OddsUmaren153", 2015, 13},
        {Family::O2, "HyosuUmaren", 2028, 11},
        {Family::O3, "HyosuWide", 2640, 11},
        {Family::O4, "HyosuUmaren", 4017, 11},
        {Family::O5, "HyosuSanren", 12279, 11},
        {Family::O6, "OddsSantan1", 39, 17},
        {Family::O6, "HyosuSantan", 83271, 11},
        {Family::UM, "Ketto3InfoHansyokuNum6", 317, 10},
        {Family::UM, "Ketto3InfoBamei6", 327, 36},
        {Family::UM, "ChakuKaisuKyori6", 1089, 18},
        {Family::UM, "Kyakusitu4", 1116, 3},
        {Family::KS, "HatuKiJyo2_IJyoCD", 282, 1},
        {Family::KS, "HatuSyori2_Bamei", 375, 36},
        {Family::KS, "SaikinJyusyo3_Bamei", 864, 36},
        {Family::KS, "HonZenRuikei2_SetYear", 1952, 4},
        {Family::KS, "HonZenRuikei3_ChakuKaisuJyo20", 3804, 36},
        {Family::CH, "HonZenRuikei1_ChakuKaisuKyori1", 1459, 36},
        {Family::BR, "HonRuikei_ChakuKaisu2", 338, 36},
        {Family::BN, "Ruikei_SetYear2", 314, 4},
        {Family::SK, "HansyokuNum5", 105, 10},
        {Family::UMIDX, "RunList", 48, 1500},
        {Family::UMOld, "Ketto3InfoHansyokuNum2", 131, 8},
        {Family::UMOld, "TozaiCD", 351, 1},
        {Family::UMOld, "BreederCode", 385, 6},
        {Family::UMOld, "BanusiCode", 481, 6},
        {Family::UMOld, "RuikeiHonsyoHeiti", 551, 9},
        {Family::UMOld, "ChakuSogo", 605, 18},
        {Family::UMOld, "Kyakusitu4", 1100, 3},
        {Family::BROld, "BreederNameKana", 156, 70},
        {Family::BROld, "HonRuikei_SetYear2", 306, 4},
        {Family::HNOld, "KettoNum", 26, 10},
        {Family::HNOld, "HansyokuMNum", 114, 8},
        {Family::SKOld, "SanchiName", 43, 20},
        {Family::SKOld, "HansyokuNum6", 103, 8},
    };
    for (const Case& c : cases) {
        const Field* f = layoutOf(c.f).find(c.name);
        ASSERT_NE(f, nullptr) << layoutOf(c.f).id << " " << c.name;
        EXPECT_EQ(f->pos, c.pos) << layoutOf(c.f).id << " " << c.name;
        EXPECT_EQ(f->len, c.len) << layoutOf(c.f).id << " " << c.name;
    }
}

TEST(LayoutsTest, FieldAccessIsExactUntrimmedAndTakesWhatAShortLineHolds) {
    LineBuilder b(Family::SE);
    ASSERT_TRUE(b.set("Bamei", sj("　サンプル ")));
    ASSERT_TRUE(b.set("Umaban", "07"));
    const std::string line = b.line().substr(0, 256);

    EXPECT_EQ(getField(Family::SE, line, "Bamei"), sj("サンプル") + std::string(28, ' '));
    EXPECT_EQ(getField(Family::SE, line, "UserYoso"), "  ");
    // Names are case-sensitive, and an RA name is not an SE field: "" and an assertion in debug builds.
    EXPECT_DEBUG_DEATH(EXPECT_EQ(getField(Family::SE, line, "bamei"), ""), "not in the layout");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(getField(Family::SE, line, "Jyuni1"), ""), "not in the layout");
    EXPECT_EQ(getField(Family::SE, line.substr(0, 27), "Umaban"), "0");
    EXPECT_EQ(getField(Family::SE, line.substr(0, 26), "Umaban"), "");
    EXPECT_EQ(getField(Family::SE, "", "DataKubun"), "");
}

TEST(LayoutsTest, LineBuilderAppliesTheFixedWidthRule) {
    LineBuilder b(Family::SE);
    EXPECT_EQ(b.line().size(), 258u);
    EXPECT_EQ(b.line().substr(256), "\r\n");
    // A name the layout lacks: false and the line unchanged, an assertion in debug builds.
    EXPECT_DEBUG_DEATH(EXPECT_FALSE(b.set("NoSuchField", "x")), "not in the layout");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(getField(Family::SE, b.line(), "NoSuchField"), ""), "not in the layout");
    EXPECT_THROW(b.assign("NoSuchField", "x"), std::logic_error);
    EXPECT_EQ(b.line(), LineBuilder(Family::SE).line());

    // Too long: cut at the last whole character that fits (ア is two bytes).
    ASSERT_TRUE(b.set("ChokyosiRyakusyo", sj("アイウエオ")));  // 10 bytes into 8
    EXPECT_EQ(b.get("ChokyosiRyakusyo"), sj("アイウエ"));
    ASSERT_TRUE(b.set("ChokyosiRyakusyo", std::string("a") + sj("アイウエ")));  // 9 bytes: the last would split
    EXPECT_EQ(b.get("ChokyosiRyakusyo"), "a" + sj("アイウ") + " ");
    // setRaw keeps the blanks of the value.
    ASSERT_TRUE(b.setRaw("Odds", " 12"));
    EXPECT_EQ(b.get("Odds"), " 12 ");
    EXPECT_EQ(b.line().size(), 258u);

    // Starting from a stored line keeps it; a short one is padded.
    const LineBuilder again(Family::SE, b.line());
    EXPECT_EQ(again.line(), b.line());
    EXPECT_EQ(LineBuilder(Family::SE, "7").line(), "7" + std::string(255, ' ') + "\r\n");
}

TEST(LayoutsTest, RecordKeysAreTheRaceIdentityOrTheCode) {
    using K = std::vector<KeyRange>;
    auto same = [](const K& a, const K& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i].pos != b[i].pos || a[i].len != b[i].len) return false;
        return true;
    };
    EXPECT_TRUE(same(recordKey(Family::RA), K{{9, 16}}));
    EXPECT_TRUE(same(recordKey(Family::O6), K{{9, 16}}));
    EXPECT_TRUE(same(recordKey(Family::SE), K{{9, 16}, {28, 10}}));
    EXPECT_TRUE(same(recordKey(Family::CK), K{{9, 26}}));  // KettoNum follows the race identity
    EXPECT_TRUE(same(recordKey(Family::UMIDX), K{{0, 10}}));
    EXPECT_TRUE(same(recordKey(Family::KS), K{{9, 5}}));
    EXPECT_TRUE(same(recordKey(Family::BR), K{{9, 8}}));
    EXPECT_TRUE(same(recordKey(Family::BROld), K{{9, 6}}));
    EXPECT_TRUE(same(recordKey(Family::HNOld), K{{9, 8}}));
}

// An O2 line with elements 0102, 0103 and, last, 1718.
std::string o2Line() {
    LineBuilder b(Family::O2);
    (void)b.set("OddsUmaren1", "0102001234001");
    (void)b.set("OddsUmaren2", "0103000567002");
    (void)b.set("OddsUmaren153", "1718099999153");
    (void)b.set("UmarenFlag", "7");
    return b.line();
}

TEST(LayoutsTest, OddsElementsAreFoundByTheirCombinationOnly) {
    const std::string line = o2Line();
    EXPECT_EQ(oddsElement(Family::O2, line, "0102"), "0102001234001");
    EXPECT_EQ(oddsElement(Family::O2, line, "1718"), "1718099999153");
    EXPECT_EQ(oddsElement(Family::O2, line, "0201"), "");  // quinella combinations are ascending
    EXPECT_EQ(oddsElement(Family::O2, line, "12"), "");
    EXPECT_EQ(oddsElement(Family::O2, line, "    "), "");  // blank elements are not combinations
    EXPECT_EQ(oddsElement(Family::O2, line, ""), "");
    EXPECT_EQ(oddsElement(Family::RA, line, "0102"), "");

    EXPECT_EQ(oddsField(Family::O2, line, "OddsUmaren", "0103"), "0103000567002");
    EXPECT_EQ(oddsField(Family::O2, line, "UmarenFlag", "9999"), "7");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(oddsField(Family::O2, line, "Nope", "0102"), ""), "not in the layout");

    const std::string_view e = oddsElement(Family::O2, line, "0103");
    EXPECT_EQ(oddsElementPart(Family::O2, e, "Odds"), "000567");
    EXPECT_EQ(oddsElementPart(Family::O2, e, "Ninki"), "002");
    EXPECT_EQ(oddsElementPart(Family::O2, e, "OddsLow"), "");

    // A short line holds only its first elements.
    EXPECT_EQ(oddsElement(Family::O2, std::string_view(line).substr(0, 60), "0102"), "0102001234001");
    EXPECT_EQ(oddsElement(Family::O2, std::string_view(line).substr(0, 60), "1718"), "");
}

TEST(LayoutsTest, TrifectaElementIsFoundForItsOrderOnly) {
    LineBuilder b(Family::O6);
    (void)b.set("OddsSantan1", "03010200012340001");
    (void)b.set("OddsSantan4896", "01020300567890002");
    const std::string line = b.line();
    EXPECT_EQ(oddsElement(Family::O6, line, "010203"), "01020300567890002");
    EXPECT_EQ(oddsElement(Family::O6, line, "030102"), "03010200012340001");
    EXPECT_EQ(oddsElement(Family::O6, line, "020103"), "");
    const std::string_view e = oddsElement(Family::O6, line, "010203");
    EXPECT_EQ(oddsElementPart(Family::O6, e, "Odds"), "0056789");
    EXPECT_EQ(oddsElementPart(Family::O6, e, "Ninki"), "0002");
}

TEST(LayoutsTest, WideElementsHaveLowAndHighOdds) {
    LineBuilder b(Family::O3);
    (void)b.set("OddsWide1", "01020012300456007");
    const std::string_view e = oddsElement(Family::O3, b.line(), "0102");
    EXPECT_EQ(oddsElementPart(Family::O3, e, "OddsLow"), "00123");
    EXPECT_EQ(oddsElementPart(Family::O3, e, "OddsHigh"), "00456");
    EXPECT_EQ(oddsElementPart(Family::O3, e, "Ninki"), "007");
}

}  // namespace
}  // namespace tarvo
