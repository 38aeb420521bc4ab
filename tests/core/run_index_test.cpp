#include <gtest/gtest.h>

#include "cp932.h"
#include "engine_settings.h"
#include "run_index.h"
#include "std_tables.h"
#include "store_fixture.h"
#include "test_support.h"

namespace tarvo {
namespace {

class RunIndexTest : public ::testing::Test {
protected:
    void SetUp() override { engineSettings() = EngineSettings{}; }  // weight 1.0, distidx on
    void TearDown() override { engineSettings() = EngineSettings{}; }
    static int tenths(int cell) { return (cell / 1000) * 600 + cell % 1000; }
};

TEST_F(RunIndexTest, RunIndexWorkedExampleAndMarkers) {
    const std::string key = sj("芝1600");
    ASSERT_EQ(standardLookup('A', key, "05"), 1342);
    // 1:33.2 carrying 57.0 kg, variant +05: 5 + round(10 + 90 + 2).
    EXPECT_EQ(runIndex("05", key, "1332", "+05", "570"), "107");
    EXPECT_EQ(runIndex("05", key, "1332", "-12", "550"), "88");
    EXPECT_EQ(runIndex("05", key, "1332", "***", "570"), "**");
    EXPECT_EQ(runIndex("05", key, "1332", "****", "570"), "**");
    EXPECT_EQ(runIndex("05", key, "0000", "+05", "570"), "--");
    EXPECT_EQ(runIndex("05", sj("芝1100"), "1332", "+05", "570"), "**");
    EXPECT_EQ(runIndex("05", sj("障3000"), "3332", "+05", "570"), "**");
    engineSettings().weight = 2.0f;
    EXPECT_EQ(runIndex("05", key, "1332", "+05", "570"), "109");
}

TEST_F(RunIndexTest, DistanceFactorIsSinglePrecisionAndProductsExtended) {
    const std::string key = sj("芝1200");
    const auto s = standardLookup('A', key, "06");
    ASSERT_TRUE(s);
    // 20 tenths faster at 1.025: 20 * 1.025f = 20.4999995, which rounds to 20.
    const std::string time = test::storedTime(tenths(*s) - 20);
    EXPECT_EQ(runIndex("06", key, time, "+00", "550"), "110");
    // 21 tenths: 21.5249995 rounds to 22; without the coefficient 21.
    EXPECT_EQ(runIndex("06", key, test::storedTime(tenths(*s) - 21), "+00", "550"), "112");
    engineSettings().distidx = false;
    EXPECT_EQ(runIndex("06", key, test::storedTime(tenths(*s) - 21), "+00", "550"), "111");
}

TEST_F(RunIndexTest, Last3fIndex) {
    const std::string key = sj("芝1600");
    const auto sb = standardLookup('B', key, "05");
    ASSERT_TRUE(sb);
    // Time 1:34.0 (940), last 3F 34.0: blended 340 + round(300) = 640.
    const int x = *sb - 640 + 90 + 5;
    EXPECT_EQ(last3fIndex("05", key, "1340", "+05", "+000", "550", "340"), std::to_string(x));
    EXPECT_EQ(last3fIndex("05", key, "1340", "+05", "+005", "550", "340"), std::to_string(x));
    EXPECT_EQ(last3fIndex("05", key, "1340", "+05", "+012", "550", "340"), std::to_string(x - 6));
    EXPECT_EQ(last3fIndex("05", key, "1340", "***", "+000", "550", "340"), "**");
    EXPECT_EQ(last3fIndex("05", "", "1340", "+05", "+000", "550", "340"), "**");
    EXPECT_EQ(last3fIndex("05", sj("障3000"), "1340", "+05", "+000", "550", "340"), "**");
    // 札幌 has no table B cell for 芝2400.
    ASSERT_FALSE(standardLookup('B', sj("芝2400"), "01"));
    EXPECT_EQ(last3fIndex("01", sj("芝2400"), "2300", "+05", "+000", "550", "340"), "**");
}

TEST_F(RunIndexTest, LocalClassValues) {
    struct Case {
        const char *jyoCD, *syubetuCD, *jyokenCD5, *gradeCD, *ryakusyo6;
        int want;
    };
    const Case cases[] = {
        {"44", "13", "000", "A", "東京大賞典", 101},
        {"30", "13", "000", "A", "東京大賞典", 101},
        {"47", "13", "000", "A", "東京大賞典", 101},
        {"44", "13", "000", "B", "知らない杯", 96},          // 古馬Jpn2 not in the list
        {"44", "12", "000", "C", "知らない杯", 87},          // ３歳Jpn3
        {"44", "14", "000", "A", "ＪＢＣレディ（金沢）", 95},  // the bracketed suffix is cut
        {"44", "14", "000", "D", "ＪＢＣレディ", 97},         // no Jpn grade: named race
        {"42", "12", "000", "D", "", 85},                      // ３歳地方重 by track group
        {"50", "12", "000", "D", "", 81},
        {"47", "12", "000", "D", "", 72},
        {"44", "11", "000", "E", "", 78},                      // ２歳地方OP
        {"44", "13", "005", " ", "", -150},                    // an ordinary class
    };
    for (const auto& c : cases)
        EXPECT_EQ(localClassValue(c.jyoCD, c.syubetuCD, c.jyokenCD5, c.gradeCD, sj(c.ryakusyo6)), c.want)
            << c.jyoCD << " " << c.jyokenCD5 << c.gradeCD << " " << c.ryakusyo6;
}

TEST_F(RunIndexTest, RaceBasedAndSteeplechaseIndices) {
    test::TempDir dir;
    test::StoreFixture fx(dir.path() + "data/");
    test::StoreFixture::Race r;
    r.jyoCD = "42";
    r.trackCD = "24";
    r.kyori = "1600";
    r.syubetuCD = "12";
    r.jyokenCD5 = "000";
    r.gradeCD = "D";
    for (int i = 1; i <= 3; ++i) fx.addRunner(r, i, "0" + std::to_string(i), "1400", "380");  // reference 1:40.0

    const std::string key = sj("ダ1600");
    auto run = [&](const char* time, const char* futan) {
        return RaceRun{r.year, r.monthDay, r.jyoCD, r.raceNum, "", r.kigoCD, r.gradeCD, r.jyokenCD5,
                       r.syubetuCD, futan, key, time};
    };
    // ３歳地方重 at 42 has 85; one second slower: 85 - 10.
    EXPECT_EQ(raceBasedIndex(fx.paths, run("1410", "550")), "75");
    EXPECT_EQ(raceBasedIndex(fx.paths, run("1410", "560")), "76");
    RaceRun plain = run("1410", "550");
    plain.jyokenCD5 = "005";
    plain.gradeCD = " ";
    EXPECT_EQ(raceBasedIndex(fx.paths, plain), "**");
    RaceRun elsewhere = run("1410", "550");
    elsewhere.monthDay = "0101";  // no SE file: reference 0
    EXPECT_EQ(raceBasedIndex(fx.paths, elsewhere), "--");

    // A J・G1 run exactly at the reference time carrying 60.0 kg.
    test::StoreFixture::Race jump = r;
    jump.jyoCD = "05";
    jump.raceNum = "08";
    for (int i = 1; i <= 3; ++i) fx.addRunner(jump, i, "0" + std::to_string(i), "4100", "400");
    RaceRun j{jump.year, jump.monthDay, jump.jyoCD, jump.raceNum, "", "N  ", "F", "999", "18", "600",
              sj("障3000"), "4100"};
    EXPECT_EQ(steeplechaseIndex(fx.paths, j), "93");
    j.gradeCD = "G";
    EXPECT_EQ(steeplechaseIndex(fx.paths, j), "90");
    j.jyokenCD5 = "703";
    EXPECT_EQ(steeplechaseIndex(fx.paths, j), "80");
    j.time = "0000";
    EXPECT_EQ(steeplechaseIndex(fx.paths, j), "-150");
    j.time = "4100";
    j.monthDay = "0101";  // no reference time
    EXPECT_EQ(steeplechaseIndex(fx.paths, j), "--");
}

}  // namespace
}  // namespace tarvo
