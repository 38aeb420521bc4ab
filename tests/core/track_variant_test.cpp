#include <gtest/gtest.h>

#include "fsys.h"
#include "layouts.h"
#include "record_io.h"
#include "std_tables.h"
#include "store_paths.h"
#include "store_fixture.h"
#include "test_support.h"
#include "textfn.h"
#include "track_variant.h"

namespace tarvo {
namespace {

TEST(TrackVariant, ValueForms) {
    const std::pair<int, const char*> cases[] = {{-200, "***"}, {-150, "***"}, {-149, "-149"}, {-12, "-12"},
                                                 {-5, "-05"},   {-1, "-01"},   {0, "+00"},     {5, "+05"},
                                                 {99, "+99"},   {100, "100"},  {112, "112"},   {1000, "1000"}};
    for (const auto& [v, text] : cases) EXPECT_EQ(variantValueText(v), text) << v;
}

TEST(TrackVariant, ClassAdjustment) {
    struct Case {
        const char *monthDay, *jyoCD, *ryakusyo6, *kigoCD, *gradeCD, *jyokenCD5, *syubetuCD;
        int want;
    };
    const Case cases[] = {
        {"0510", "06", "", "A  ", " ", "703", "12", -12},          // ３歳未勝利 at a major track
        {"0510", "03", "", "A  ", " ", "703", "12", -14},          // the same at 福島 in May
        {"0810", "03", "", "A  ", " ", "703", "12", -12},          // ... and in August
        {"0510", "06", "", "A20", " ", "703", "12", -14},          // fillies only
        {"0510", "06", "", "A25", " ", "703", "12", -12},          // 25 is not a fillies code
        {"0510", "05", "", "A  ", " ", "005", "13", -3},           // 古馬500 major
        {"0510", "07", "", "A22", " ", "005", "14", -8},           // 古馬500 minor fillies, minus 2
        {"0510", "05", "", "A  ", " ", "016", "13", 6},            // 古馬1600
        {"0501", "08", "天皇賞（春）", "N  ", "A", "999", "14", 12},
        {"0501", "08", "", "N  ", "A", "999", "14", 14},
        {"1205", "07", "ＪＣダート", "N  ", "A", "999", "13", 8},   // any track; minor in December
        {"0720", "07", "", "N  ", "A", "999", "13", 14},          // minor, summer: as major
        {"1010", "05", "毎日王冠", "N  ", "B", "999", "13", 11},
        {"1010", "05", "", "N  ", "E", "999", "13", 8},            // 古馬OPEN
        {"0410", "06", "若葉Ｓ", "A  ", "L", "999", "12", 3},      // ３歳リステッド before July
        {"0710", "06", "若葉Ｓ", "A  ", "L", "999", "12", 2},
        {"0301", "09", "チューリップ", "A20", "C", "999", "12", 3},
        {"1007", "05", "", "A  ", "E", "999", "11", -6},           // ２歳OPEN before 8 October
        {"1008", "05", "", "A  ", "E", "999", "11", -4},
        {"1201", "09", "ラジＮＩＫ杯", "A  ", "C", "999", "11", 0},
        {"0701", "05", "", "A  ", " ", "702", "11", -150},         // ２歳未出走 has no entry
        {"0510", "03", "", "A  ", " ", "703", "18", -152},         // jump race, minus 2 as well
    };
    for (const auto& c : cases)
        EXPECT_EQ(classAdjustment(c.monthDay, c.jyoCD, "10", sj(c.ryakusyo6), c.kigoCD, c.gradeCD, c.jyokenCD5,
                                  c.syubetuCD),
                  c.want)
            << c.monthDay << " " << c.jyoCD << " " << c.jyokenCD5 << " " << c.syubetuCD << " " << c.ryakusyo6;
}

class TrackVariantStore : public ::testing::Test {
protected:
    test::TempDir dir;
    test::StoreFixture fx{dir.path() + "data/"};
    std::string settings = dir.path() + "tarvo.ini";
    std::string key = sj("芝1600");
};

TEST_F(TrackVariantStore, MaidenRaceHalfASecondSlowerGivesMinusSeven) {
    // ３歳未勝利 on 芝1800 without the distance coefficient, at 中山 and at 福島 in May.
    const std::string course = sj("芝1800");
    const std::pair<const char*, const char*> cases[] = {{"06", "-07 -07 T"}, {"03", "-09 -09 T"}};
    for (const auto& [jyoCD, want] : cases) {
        test::StoreFixture::Race r;
        r.jyoCD = jyoCD;
        r.kyori = "1800";
        fx.addRace(r);
        const auto c = standardLookup('C', course, jyoCD);
        const auto d = standardLookup('D', course, jyoCD);
        ASSERT_TRUE(c && d) << jyoCD;
        // Three placed runners 0.5 s slower; blended (T - L) / 2 + L = d + 5.
        const int t = (*c / 1000) * 600 + *c % 1000 + 5, l = 2 * (*d + 5) - t;
        for (int i = 1; i <= 3; ++i) fx.addRunner(r, i, "0" + std::to_string(i), test::storedTime(t), std::to_string(l));
        fx.addRunner(r, 4, "04", test::storedTime(t + 30), std::to_string(l));
        EXPECT_EQ(topThreeFigures(fx.paths, {r.year, r.monthDay, r.jyoCD, r.raceNum}),
                  padRight(std::to_string(t), 4) + padRight(std::to_string(*d + 5), 4));
        EXPECT_EQ(raceVariant(fx.paths, {r.year, r.monthDay, r.jyoCD, r.raceNum}, course, false), want);
    }
}

TEST_F(TrackVariantStore, TopThreeUsesArrivalOrderAndNeedsThree) {
    test::StoreFixture::Race r;
    fx.addRace(r);
    // The winner past the post was disqualified and placed fourth: arrival order still counts it.
    fx.addRunner(r, 1, "01", "1350", "340", "04");
    fx.addRunner(r, 2, "02", "1352", "341", "01");
    fx.addRunner(r, 3, "03", "1354", "342", "02");
    fx.addRunner(r, 4, "04", "1355", "342", "03");
    // Times 950, 952, 954; blended 645, 646.5, 648.
    EXPECT_EQ(topThreeFigures(fx.paths, {r.year, r.monthDay, r.jyoCD, r.raceNum}), "952 647 ");

    test::StoreFixture::Race two = r;
    two.raceNum = "06";
    fx.addRace(two);
    fx.addRunner(two, 1, "01", "1350", "340");
    fx.addRunner(two, 2, "02", "1352", "341");
    fx.addRunner(two, 3, "00", "0000", "000");
    EXPECT_EQ(topThreeFigures(fx.paths, {two.year, two.monthDay, two.jyoCD, two.raceNum}), "********");
    EXPECT_EQ(raceVariant(fx.paths, {two.year, two.monthDay, two.jyoCD, two.raceNum}, key, true), "*** *** T");
    EXPECT_EQ(topThreeFigures(fx.paths, {"2020", "0101", "06", "01"}), "********");  // no file
}

TEST_F(TrackVariantStore, WriterFillsOneSlotAndKeepsTheOthers) {
    const std::string path = fx.paths.bb("2020", "0510");
    writeVariant(fx.paths, {"2020", "0510", "06", "03"}, "-07 +12 T");
    const std::string stars = "****";
    auto expected = [&](const std::string& t3, const std::string& l3) {
        std::string rec = "2020051006";
        for (int s = 1; s <= 12; ++s) rec += s == 3 ? t3 : stars;
        for (int s = 1; s <= 12; ++s) rec += s == 3 ? l3 : stars;
        return rec + "\r\n";
    };
    EXPECT_EQ(test::slurp(path), expected("-07T", "+12T"));
    writeVariant(fx.paths, {"2020", "0510", "06", "04"}, "+05 100 D");
    writeVariant(fx.paths, {"2020", "0510", "06", "03"}, "-03 -120T");  // -120 does not fit three characters
    std::string want = expected("-03T", "***T");
    want.replace(10 + 12, 4, "+05D");
    want.replace(58 + 12, 4, "100D");
    EXPECT_EQ(test::slurp(path), want);
    EXPECT_EQ(storedVariant(fx.paths, "", "20200510", "06", "04"), "+05 100 ");
    EXPECT_EQ(storedVariant(fx.paths, "", "20200510", "06", "03"), "-03 *** ");
    EXPECT_EQ(storedVariant(fx.paths, "", "20200510", "06", "05"), "*** *** ");  // a slot never written

    writeVariant(fx.paths, {"2020", "0510", "06", "13"}, "+01 +01 T");  // no slot: left as it was
    writeVariant(fx.paths, {"2020", "0510", "06", "00"}, "+01 +01 T");
    writeVariant(fx.paths, {"2020", "0510", "06", "xx"}, "+01 +01 T");
    EXPECT_EQ(test::slurp(path), want);
    writeVariant(fx.paths, {"2020", "0511", "06", "13"}, "+01 +01 T");  // a new day: a blank record
    EXPECT_EQ(test::slurp(path).substr(108), "2020051106" + std::string(96, '*') + "\r\n");
}

TEST_F(TrackVariantStore, StoredVariantOfLocalTracksAndMissingFiles) {
    EXPECT_EQ(storedVariant(fx.paths, dir.path() + "file/", "20200510", "06", "01"), "********");
    EXPECT_EQ(storedVariant(fx.paths, dir.path() + "file/", "20200510", "44", "01"), "********");
    std::string line = "2020051044";
    for (int s = 1; s <= 12; ++s) line += s == 2 ? "+10D" : "****";
    for (int s = 1; s <= 12; ++s) line += s == 2 ? "-04D" : "****";
    test::spit(dir.path() + "file/babadif.csv", line + "\r\n");
    EXPECT_EQ(storedVariant(fx.paths, dir.path() + "file/", "20200510", "44", "02"), "+10 -04 ");
    EXPECT_EQ(storedVariant(fx.paths, dir.path() + "file/", "20200511", "44", "02"), "********");
}

TEST_F(TrackVariantStore, BuildersWriteTheirRacesAndStopOnCancel) {
    // Confirmed races on three days, one unconfirmed and one local.
    const char* days[] = {"0103", "0104", "0105"};
    for (const char* day : days) {
        for (const char* num : {"01", "02"}) {
            test::StoreFixture::Race r;
            r.monthDay = day;
            r.raceNum = num;
            fx.addRace(r);
            for (int i = 1; i <= 3; ++i) fx.addRunner(r, i, "0" + std::to_string(i), "1360", "350");
        }
    }
    test::StoreFixture::Race entry;
    entry.monthDay = "0104";
    entry.raceNum = "03";
    entry.dataKubun = "2";
    fx.addRace(entry);
    test::StoreFixture::Race local;
    local.jyoCD = "44";
    local.monthDay = "0104";
    fx.addRace(local);

    BuilderProgress progress;
    EXPECT_EQ(rebuildTrackDataPeriod(fx.paths, settings, "20200104", "20200104", progress, {}), 2);
    const auto lines = readLines(fx.paths.bb("2020", "0104"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 10), "2020010406");
    EXPECT_NE(lines[0].substr(10, 4), "****");
    EXPECT_NE(lines[0].substr(14, 4), "****");
    EXPECT_EQ(lines[0].substr(18, 4), "****");  // the unconfirmed race 3

    int pumped = 0;
    const int done = rebuildAllTrackData(fx.paths, settings, progress, [&] {
        if (++pumped == 2) progress.cancelRequested = true;
    });
    EXPECT_EQ(done, 2);  // stopped after the race in hand
    EXPECT_EQ(progress.raceCount, 2);
    EXPECT_EQ(rebuildAllTrackData(fx.paths, settings, progress, {}), 6);
    EXPECT_EQ(readLines(fx.paths.bb("2020", "0104")).size(), 3u);

    EXPECT_EQ(rebuildTrackDataRace(fx.paths, settings, {"2020", "0105", "06", "02"}, progress, {}), 1);
    EXPECT_EQ(rebuildTrackDataRace(fx.paths, settings, {"2020", "0104", "44", "05"}, progress, {}), 0);
    EXPECT_EQ(rebuildTrackDataRace(fx.paths, settings, {"2020", "0104", "06", "03"}, progress, {}), 0);  // not confirmed
}

}  // namespace
}  // namespace tarvo
