// The horse data screen without a window: the place counts by category, the
// runs an opener hides, the cells of a run and of abnormal runs, both profiles,
// the silks picture and tarvo-cli horse.
#include <gtest/gtest.h>

#include <fstream>

#include "cp932.h"
#include "engine_settings.h"
#include "horse_fixture.h"
#include "fsys.h"
#include "horse_view.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"
#include "track_variant.h"
#include "um_index.h"

namespace tarvo {
namespace {

constexpr const char* kHorse = test::kFixtureHorse;
using test::StoredRun;
constexpr int kYear = 2026;

class HorseViewTest : public ::testing::Test {
protected:
    test::TempDir dir;
    StorePaths paths{dir.path() + "data/"};
    EvalSource src{paths, dir.path() + "file/"};

    void SetUp() override { engineSettings() = EngineSettings{}; }

    void add(const test::StoredRun& r, const std::string& kettoNum = kHorse) { test::storeRun(paths, r, kettoNum); }
    void addHorseRecord() { test::storeHorseRecord(paths); }

    HorseData open(const std::string& tag, std::optional<RaceKey> race = std::nullopt,
                   const std::string& kettoNum = kHorse) {
        return horseData(src, {kettoNum, sj(tag), std::move(race), {}, {}}, kYear);
    }
};

std::string label(const HorseData& d, const char* name) { return toUtf8(d.view.label(name)); }
std::string cell(const HorseData& d, std::size_t row, std::size_t col) {
    return col < d.rows.at(row).size() ? toUtf8(d.rows.at(row)[col].text) : std::string();
}

TEST_F(HorseViewTest, PlaceCountsByCategory) {
    const StoredRun runs[] = {
        {.date = "20241201", .jyoCD = "06", .trackCD = "17", .kyori = "2000", .place = "01"},            // 中山 芝 right
        {.date = "20241101", .jyoCD = "05", .trackCD = "11", .kyori = "2000", .place = "02", .siba = "3"},  // 東京 芝 left, 重
        {.date = "20241001", .jyoCD = "04", .trackCD = "10", .kyori = "1000", .place = "03"},            // 新潟 直線
        {.date = "20240901", .jyoCD = "06", .trackCD = "24", .kyori = "1800", .place = "05", .dirt = "4"},  // 中山 ダ right, 不
        {.date = "20240801", .jyoCD = "06", .trackCD = "17", .kyori = "2000", .place = "00", .iJyoCD = "1"},  // 消
        {.date = "20240701", .jyoCD = "06", .trackCD = "17", .kyori = "2000", .place = "00", .iJyoCD = "4"},  // 止
        {.date = "20240601", .jyoCD = "44", .trackCD = "17", .kyori = "2000", .place = "01"},            // 大井: all only
        {.date = "20240501", .jyoCD = "05", .trackCD = "23", .kyori = "1600", .place = "12"},            // 東京 ダ left
    };
    for (const StoredRun& r : runs) add(r);
    const StoredRun today{.date = "20250105", .jyoCD = "06", .raceNum = "11", .trackCD = "17", .kyori = "2000"};
    add(today, "2020100099");

    const HorseData d = open("結果", RaceKey("2025", "0105", "06", "11"));
    EXPECT_EQ(d.rows.size(), 8u);
    const struct {
        const char* label;
        const char* text;
    } cases[] = {
        {"lbl_ChaSogo", " 2- 1- 1- 2"},   {"lbl_ChaChuo", " 1- 1- 1- 2"},   {"lbl_SibaSogo", " 1- 1- 1- 0"},
        {"lbl_SibaRight", " 1- 0- 0- 0"}, {"lbl_SibaLeft", " 0- 1- 0- 0"},  {"lbl_SibaOmo", " 0- 1- 0- 0"},
        {"lbl_DartSogo", " 0- 0- 0- 2"},  {"lbl_DartRight", " 0- 0- 0- 1"}, {"lbl_DartLeft", " 0- 0- 0- 1"},
        {"lbl_DartOmo", " 0- 0- 0- 1"},   {"lbl_CrsChaku", " 1- 0- 0- 0"},  {"lbl_SameChaku", " 1- 1- 0- 0"},
        {"lbl_RaceCrs", "中山芝"},        {"lbl_SameDist", "芝2000"},
    };
    for (const auto& c : cases) EXPECT_EQ(label(d, c.label), c.text) << c.label;
    EXPECT_TRUE(d.hidden.empty());
}

TEST_F(HorseViewTest, SameCourseRowsOnlyForACentralTurfOrDirtTarget) {
    add({.date = "20241201", .jyoCD = "01", .trackCD = "17", .kyori = "2000", .place = "01"});
    // Track 58 is shown with a central name but is no central course.
    add({.date = "20250105", .jyoCD = "58", .raceNum = "11", .trackCD = "17", .kyori = "2000"}, "2020100099");
    add({.date = "20250106", .jyoCD = "06", .raceNum = "11", .trackCD = "52", .kyori = "3000"}, "2020100099");
    const struct {
        const char* what;
        HorseData d;
    } cases[] = {
        {"search", open("検索")},
        {"track 58", open("結果", RaceKey("2025", "0105", "58", "11"))},
        {"steeplechase", open("結果", RaceKey("2025", "0106", "06", "11"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(label(c.d, "lbl_CrsChaku"), "");
        EXPECT_EQ(label(c.d, "lbl_SameChaku"), "");
        EXPECT_EQ(c.d.view.label("lbl_RaceCrs"), "");
        EXPECT_EQ(c.d.hidden.size(), 6u);
        EXPECT_EQ(label(c.d, "lbl_ChaChuo"), " 1- 0- 0- 0");
    }
}

TEST_F(HorseViewTest, RunsHiddenOrMissingLeaveTheNoRunRow) {
    add({.date = "20250105", .jyoCD = "06", .raceNum = "11"});
    add({.date = "20250112", .jyoCD = "06", .raceNum = "11"});
    add({.date = "20241201", .jyoCD = "06", .dataKubun = "2"}, "2020100001");  // no result: no row
    const RaceKey card("2025", "0105", "06", "11");
    const struct {
        const char* what;
        HorseData d;
        const char* counts;
    } cases[] = {
        {"race card: only runs on or after its date", open("通常", card), " 0- 0- 0- 0"},
        {"silks strip likewise", open("服色", card), " 0- 0- 0- 0"},
        {"no run list", open("通常", card, "2020100002"), "**-**-**-**"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.d.rows.size(), 1u);
        EXPECT_EQ(cell(c.d, 0, 0), "(未出走)");
        EXPECT_TRUE(c.d.runs.empty());
        for (const char* l : {"lbl_ChaSogo", "lbl_SibaOmo", "lbl_DartLeft"}) EXPECT_EQ(label(c.d, l), c.counts);
    }
    // The result screen shows both runs, newest first.
    const HorseData all = open("結果", card);
    ASSERT_EQ(all.rows.size(), 2u);
    EXPECT_EQ(cell(all, 0, kHrDate), "20250112");
    EXPECT_EQ(all.runs[1].race, card);
}

TEST_F(HorseViewTest, CellsOfARun) {
    add({.date = "20241201", .jyoCD = "06", .trackCD = "17", .kyori = "1600", .time = "1360", .l3f = "345",
         .raceL3f = "0", .futan = "555", .tenko = "4", .corners = {"00", "12", "10"}, .zogenSa = "999"});
    add({.date = "20241101", .jyoCD = "05", .trackCD = "51", .kyori = "3000", .l3f = "0", .futan = "570",
         .baTaijyu = ""});
    const HorseData d = open("検索");
    ASSERT_EQ(d.rows.size(), 2u);
    const std::vector<std::string> first = {"20241201", "中山", "05", "雨", "テスト特別", "202412010605", "12", "03",
                                            "02", "01", "武豊", "芝1600", "良", "1360", "+003", "55.5",
                                            // (960 - 345) * 6 / 10 tenths
                                            "36.9", "34.5(--.-)", "**1210", "480", "**", " **", "**"};
    for (std::size_t c = 0; c < first.size(); ++c) EXPECT_EQ(cell(d, 0, c), first[c]) << "column " << c;
    // A steeplechase without last 3F and body weight.
    EXPECT_EQ(cell(d, 1, 11), "障3000");
    EXPECT_EQ(cell(d, 1, 15), "57");
    EXPECT_EQ(cell(d, 1, 16), "--.-");
    EXPECT_EQ(cell(d, 1, 17), "--.-(34.0)");
    EXPECT_EQ(cell(d, 1, 19), "---");
    EXPECT_EQ(cell(d, 1, 20), "--");
    EXPECT_EQ(cell(d, 1, 22), "--");
}

TEST_F(HorseViewTest, RunIndexFromTheStoredVariantRightAligned) {
    add({.date = "20241201", .jyoCD = "06", .trackCD = "17", .kyori = "1600", .time = "1360"});
    writeVariant(paths, RaceKey("2024", "1201", "06", "05"), "+00 +00 T");
    const HorseData d = open("検索");
    const std::string rw = cell(d, 0, kHrRunIndex);
    ASSERT_EQ(rw.size(), 3u);
    EXPECT_GT(toIntDef(trimBoth(rw), -1), 0);
    EXPECT_GT(toIntDef(cell(d, 0, kHrL3fIndex), -1), 0);
}

TEST_F(HorseViewTest, AbnormalRunsClearTheirCells) {
    const struct {
        const char* iJyoCD;
        std::vector<std::string> expected;  // columns 8, 9, 13, 14, 16, 17, 18, 19, 20, 21, 22
    } cases[] = {
        {"1", {"--", "消", "----", "----", "--.-", "--.-", "------", "---", "--", "--", "--"}},
        {"2", {"--", "除", "----", "----", "--.-", "--.-", "------", "480", "+4", "--", "--"}},
        {"3", {"--", "除", "----", "----", "--.-", "--.-", "------", "480", "+4", "--", "--"}},
        {"4", {"02", "止", "----", "----", "--.-", "--.-", "030201", "480", "+4", "--", "--"}},
        // (1210 - 345) / 14 * 6 tenths
        {"5", {"02", "失", "2010", "+003", "37.1", "34.5(34.0)", "030201", "480", "+4", " **", "**"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iJyoCD);
        const std::string horse = std::string("202010000") + c.iJyoCD;
        add({.date = "20241201", .jyoCD = "06", .place = "00", .iJyoCD = c.iJyoCD}, horse);
        const HorseData d = open("検索", std::nullopt, horse);
        const std::size_t cols[] = {8, 9, 13, 14, 16, 17, 18, 19, 20, 21, 22};
        for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(cell(d, 0, cols[i]), c.expected[i]) << cols[i];
        EXPECT_EQ(label(d, "lbl_ChaSogo"), " 0- 0- 0- 0");
    }
}

TEST_F(HorseViewTest, ProfileOfTheHorseRecord) {
    addHorseRecord();
    add({.date = "20241201", .jyoCD = "06"});
    const HorseData d = open("検索");
    const struct {
        const char* label;
        const char* text;
    } cases[] = {
        {"lbl_ktnum", kHorse},         {"lbl_Uname", "テストホース"},         {"lbl_seirei", "牝6"},
        {"lbl_color", "栗毛"},         {"lbl_toroku", "抹消"},                {"lbl_stable", "厩舎：矢作 芳人(栗東)"},
        {"lbl_Banushi", "馬主：テスト馬主"}, {"lbl_Farm", "生産者：テスト牧場(浦河町)"}, {"lbl_Titi", "父：父馬"},
        {"lbl_Haha", "母：母馬"},      {"lbl_Hati", "母父：母父馬"},          {"lbl_BYear", "2020"},
        {"lbl_BMonth", "4"},           {"lbl_BDay", "5"},                     {"lbl_HiraShu", "123"},
        {"lbl_HiraHon", "2"},
    };
    for (const auto& c : cases) EXPECT_EQ(label(d, c.label), c.text) << c.label;
    EXPECT_TRUE(d.hasHorseRecord);
    EXPECT_EQ(d.banusiCode, "000077");
}

TEST_F(HorseViewTest, PrizeMoneyFromTheCardRaceAptitudeRecord) {
    addHorseRecord();
    add({.date = "20250105", .jyoCD = "06", .raceNum = "11"});
    LineBuilder ck(Family::CK);
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"Year", "2025"}, {"MonthDay", "0105"}, {"JyoCD", "06"}, {"Kaiji", "01"}, {"Nichiji", "01"},
             {"RaceNum", "11"}, {"KettoNum", kHorse}, {"RuikeiSyutokuHeichi", "000099950"},
             {"RuikeiHonsyoHeiti", "000000049"}})
        ck.assign(name, value);
    writeRecord(paths.ck("2025", "0105", "06"), ck.line(), recordKey(Family::CK));
    const RaceKey card("2025", "0105", "06", "11");
    const HorseData fromCard = open("通常", card), fromResult = open("結果", card);
    EXPECT_EQ(label(fromCard, "lbl_HiraShu"), "1000");
    EXPECT_EQ(label(fromCard, "lbl_HiraHon"), "0");
    EXPECT_EQ(label(fromResult, "lbl_HiraShu"), "123");
}

TEST_F(HorseViewTest, ProfileOfAHorseKnownOnlyFromRuns) {
    add({.date = "20241201", .jyoCD = "44"});
    LineBuilder sk(Family::SK);
    sk.assign("KettoNum", kHorse);
    sk.assign("BirthDate", "20200301");
    sk.assign("HansyokuNum1", "1000000001");
    sk.assign("BreederCode", "00000555");
    writeRecord(paths.sk(kHorse), sk.line(), recordKey(Family::SK));
    LineBuilder hn(Family::HN);
    hn.assign("HansyokuNum", "1000000001");
    hn.assign("Bamei", sj("父馬"));
    writeRecord(paths.hn("1000000001"), hn.line(), recordKey(Family::HN));
    const HorseData d = open("地方");
    const struct {
        const char* label;
        const char* text;
    } cases[] = {
        {"lbl_Uname", "テストホース"}, {"lbl_seirei", "牡6"}, {"lbl_toroku", "----"},
        {"lbl_stable", "厩舎：矢作(----)"}, {"lbl_Titi", "父：父馬"}, {"lbl_Haha", "母：--------"},
        {"lbl_Farm", "生産者：--------(--------)"}, {"lbl_BYear", "2020"}, {"lbl_BMonth", "3"},
        {"lbl_HiraShu", "----"}, {"lbl_HiraHon", "----"},
    };
    for (const auto& c : cases) EXPECT_EQ(label(d, c.label), c.text) << c.label;
    EXPECT_FALSE(d.hasHorseRecord);
}

TEST_F(HorseViewTest, SilksPictureAskedOfTheDataServiceWhenMissing) {
    auto owner = [&](const std::string& code, const char* description) {
        LineBuilder bn(Family::BN);
        bn.assign("BanusiCode", code);
        bn.assign("Fukusyoku", sj(description));
        writeRecord(paths.bn(code), bn.line(), recordKey(Family::BN));
    };
    owner("000077", "赤，白袖");
    owner("000088", "");
    const std::string home = dir.path() + "home/";
    makeDirs(home);
    auto version = [&](const char* v) { test::spit(home + "jvlink.ini", std::string("[JVLINK]\nversion=") + v + "\n"); };
    JVLinkEmulator jv(home);

    version("0220");
    HorseSilks s = horseSilks(jv, paths, "000077", false);
    EXPECT_FALSE(s.shown);
    EXPECT_TRUE(s.rewriteHidden);
    EXPECT_FALSE(fileExists(paths.fk("000077")));

    version("0490");
    s = horseSilks(jv, paths, "000077", false);
    EXPECT_TRUE(s.shown);
    EXPECT_FALSE(s.rewriteHidden);
    EXPECT_EQ(s.bitmap.substr(0, 2), "BM");
    EXPECT_EQ(toUtf8(s.hint), "赤，白袖");
    EXPECT_TRUE(fileExists(paths.fk("000077")));

    // A description the service cannot draw: shown once, then deleted.
    s = horseSilks(jv, paths, "000088", false);
    EXPECT_EQ(s.bitmap.substr(0, 2), "BM");
    EXPECT_EQ(toUtf8(s.hint), "<画像を作成できません>");
    EXPECT_TRUE(s.rewriteHidden);
    EXPECT_FALSE(fileExists(paths.fk("000088")));
}

TEST_F(HorseViewTest, CliPrintsTheScreen) {
    std::ofstream(dir.path() + "tarvo.ini") << "[UMA_DB]\ndir=" << paths.root() << "\n";
    addHorseRecord();
    add({.date = "20241201", .jyoCD = "06", .trackCD = "17", .kyori = "2000"});
    add({.date = "20250105", .jyoCD = "06", .raceNum = "11", .trackCD = "17", .kyori = "2000"});
    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "horse", kHorse, "--race", "2025", "0105", "06", "11"}, out), 0);
    EXPECT_NE(out.find("caption\t競走馬データ\n"), std::string::npos);
    EXPECT_NE(out.find("label\tlbl_SameDist\t芝2000\n"), std::string::npos);
    EXPECT_NE(out.find("row\tstgRc_rireki\t1\t20241201\t中山\t"), std::string::npos);
    EXPECT_EQ(out.find("row\tstgRc_rireki\t2\t"), std::string::npos);  // the card's own run is hidden
    ASSERT_EQ(test::runCli({"--home", dir.path(), "horse", kHorse, "--tag", "結果", "--race", "2025", "0105", "06", "11"},
                           out), 0);
    EXPECT_NE(out.find("row\tstgRc_rireki\t2\t"), std::string::npos);
    EXPECT_EQ(test::runCli({"--home", dir.path(), "horse", "123"}, out, &err), 2);
    EXPECT_NE(err.find("usage: tarvo-cli horse"), std::string::npos);
}

}  // namespace
}  // namespace tarvo
