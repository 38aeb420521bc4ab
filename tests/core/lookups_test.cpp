#include <gtest/gtest.h>

#include "cp932.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "test_support.h"

namespace tarvo {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

// Builds a line of family f from values and stores it at path; returns it without CR LF.
std::string store(const std::string& path, Family f, const Values& values) {
    LineBuilder b(f);
    for (const auto& [name, value] : values) EXPECT_TRUE(b.set(name, value)) << name;
    writeRecord(path, b.line(), recordKey(f));
    return b.line().substr(0, b.line().size() - 2);
}

Values race(const std::string& md, const std::string& jyo, const std::string& rn, const std::string& kaiji = "02") {
    return {{"DataKubun", "7"}, {"Year", "2020"}, {"MonthDay", md}, {"JyoCD", jyo},
            {"Kaiji", kaiji},    {"Nichiji", "04"}, {"RaceNum", rn}};
}

Values with(Values v, const Values& more) {
    v.insert(v.end(), more.begin(), more.end());
    return v;
}

class LookupsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    StorePaths paths{dir.path()};
};

TEST_F(LookupsTest, FindRaceReadsTheMonthFileOfItsTrackGroup) {
    const std::string central = store(paths.ra("2020", "0607", "05"), Family::RA, race("0607", "05", "11"));
    const std::string local = store(paths.ra("2020", "0607", "44"), Family::RA, race("0607", "44", "11"));
    EXPECT_EQ(findRace(paths, {"2020", "0607", "05", "11"}), central);
    EXPECT_EQ(findRace(paths, {"2020", "0607", "44", "11"}), local);
    EXPECT_EQ(findRace(paths, {"2020", "0607", "05", "12"}), "");
    EXPECT_EQ(findRace(paths, {"2020", "0607", "5", "11"}), "");   // codes at their stored widths only
    EXPECT_EQ(findRace(paths, {"2020", "0607", "05", "1"}), "");
    EXPECT_EQ(findRace(paths, {"2020", "0707", "05", "11"}), "");  // no file for July
    // A track read as 44 is not central: its race is not in the A file.
    EXPECT_EQ(findLine(paths.ra("2020", "0607", "05"), Family::RA, {{"JyoCD", "44"}}), "");
}

TEST_F(LookupsTest, TheFirstMatchingLineWins) {
    // Same race key, different meeting: two lines, the first stored is found.
    const std::string first = store(paths.ra("2020", "0607", "05"), Family::RA, race("0607", "05", "11", "02"));
    store(paths.ra("2020", "0607", "05"), Family::RA, race("0607", "05", "11", "03"));
    EXPECT_EQ(readLines(paths.ra("2020", "0607", "05")).size(), 2u);
    EXPECT_EQ(findRace(paths, {"2020", "0607", "05", "11"}), first);
}

TEST_F(LookupsTest, RunnersByNumberAndByHorseAndTheirCounts) {
    const std::string se = paths.se("2020", "0607", "05");
    const std::string a = store(se, Family::SE, with(race("0607", "05", "01"), {{"Umaban", "01"}, {"KettoNum", "2017100001"}}));
    const std::string b = store(se, Family::SE, with(race("0607", "05", "01"), {{"Umaban", "02"}, {"KettoNum", "2017100002"}}));
    // Race 2: numbers not drawn yet.
    store(se, Family::SE, with(race("0607", "05", "02"), {{"Umaban", "00"}, {"KettoNum", "2017100003"}}));
    store(se, Family::SE, with(race("0607", "05", "02"), {{"Umaban", "00"}, {"KettoNum", "2017100004"}}));

    EXPECT_EQ(findRunnerByNumber(paths, {"2020", "0607", "05", "01"}, "02"), b);
    EXPECT_EQ(findRunnerByNumber(paths, {"2020", "0607", "05", "01"}, "2"), "");
    EXPECT_EQ(findRunnerByHorse(paths, {"2020", "0607", "05", "01"}, "2017100001"), a);
    EXPECT_EQ(findRunnerByHorse(paths, {"2020", "0607", "05", "02"}, "2017100001"), "");

    EXPECT_EQ(countRunners(paths, {"2020", "0607", "05", "01"}), 2);
    EXPECT_EQ(countEntries(paths, {"2020", "0607", "05", "01"}), 2);
    EXPECT_EQ(countRunners(paths, {"2020", "0607", "05", "02"}), 0);
    EXPECT_EQ(countEntries(paths, {"2020", "0607", "05", "02"}), 2);
    EXPECT_EQ(countEntries(paths, {"2020", "0608", "05", "01"}), 0);  // missing file
}

TEST_F(LookupsTest, RunsOfTheDayInTheFileSharedByLocalTracks) {
    // One horse at two local tracks on one day: both lines lie in the "0A" file.
    const std::string at45 = store(paths.se("2020", "0607", "45"), Family::SE,
                                   with(race("0607", "45", "03"), {{"Umaban", "04"}, {"KettoNum", "2016100001"}}));
    const std::string at44 = store(paths.se("2020", "0607", "44"), Family::SE,
                                   with(race("0607", "44", "09"), {{"Umaban", "05"}, {"KettoNum", "2016100001"}}));
    ASSERT_EQ(paths.se("2020", "0607", "44"), paths.se("2020", "0607", "45"));

    EXPECT_EQ(findRunByTrackAndHorse(paths, "2020", "0607", "44", "2016100001"), at44);
    EXPECT_EQ(findRunByTrackAndHorse(paths, "2020", "0607", "45", "2016100001"), at45);
    EXPECT_EQ(findRunByTrackAndHorse(paths, "2020", "0607", "46", "2016100001"), "");
    EXPECT_EQ(findRunInDayFile(paths, "2020", "0607", "44", "2016100001"), at45);  // the first of the day
    EXPECT_EQ(findRunInDayFile(paths, "2020", "0607", "05", "2016100001"), "");    // another file
}

TEST_F(LookupsTest, CountFinalRacesOverTheCentralFilesOfEveryYear) {
    store(paths.ra("2019", "1229", "06"), Family::RA, with(race("1229", "06", "11"), {{"Year", "2019"}}));
    store(paths.ra("2020", "0607", "05"), Family::RA, race("0607", "05", "01"));
    store(paths.ra("2020", "0607", "05"), Family::RA, race("0607", "05", "02"));
    store(paths.ra("2020", "0607", "05"), Family::RA, with(race("0607", "05", "03"), {{"DataKubun", "2"}}));
    store(paths.ra("2020", "0614", "09"), Family::RA, race("0614", "09", "01"));
    store(paths.ra("2020", "0607", "44"), Family::RA, race("0607", "44", "01"));  // local: B file

    EXPECT_EQ(countFinalRaces(paths, "", "", "", true), 4);
    EXPECT_EQ(countFinalRaces(paths, "2020", "0607", "05", false), 2);
    EXPECT_EQ(countFinalRaces(paths, "2020", "0607", "44", false), 0);
    test::TempDir empty;
    EXPECT_EQ(countFinalRaces(StorePaths(empty.path()), "", "", "", true), 0);
}

TEST_F(LookupsTest, MastersAreFoundByTheirCodeInTheFileItSelects) {
    struct Case {
        Family family;
        const char* keyField;
        std::string (StorePaths::*path)(std::string_view) const;
        std::string (*find)(const StorePaths&, std::string_view);
        std::string first, second, shorter;  // two codes of one file; a code without its last character
    };
    const Case cases[] = {
        {Family::KS, "KisyuCode", &StorePaths::ks, findJockey, "01001", "01002", "0100"},
        {Family::CH, "ChokyosiCode", &StorePaths::ch, findTrainer, "01101", "01102", "0110"},
        {Family::BN, "BanusiCode", &StorePaths::bn, findOwner, "123456", "123457", "12345"},
        {Family::HN, "HansyokuNum", &StorePaths::hn, findBreedingHorse, "1100012345", "1100012346", "110001234"},
        {Family::SK, "KettoNum", &StorePaths::sk, findOffspring, "2017101234", "2017101235", "201710123"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyField);
        const std::string path = (paths.*c.path)(c.first);
        ASSERT_EQ(path, (paths.*c.path)(c.second));
        store(path, c.family, {{"DataKubun", "1"}, {c.keyField, c.first}});
        const std::string second = store(path, c.family, {{"DataKubun", "2"}, {c.keyField, c.second}});
        EXPECT_EQ(c.find(paths, c.second), second);
        EXPECT_EQ(c.find(paths, c.shorter), "");
        test::TempDir empty;
        EXPECT_EQ(c.find(StorePaths(empty.path()), c.second), "");
    }
    // The horse record is in the ".datn" file of its group, not in the index beside it.
    const std::string um = store(paths.um("2015104901", "datn"), Family::UM, {{"KettoNum", "2015104901"}});
    EXPECT_EQ(findHorse(paths, "2015104901"), um);
    EXPECT_EQ(findHorse(paths, "2015104001"), "");  // group A file does not exist
}

TEST_F(LookupsTest, ShortNameSearchesTrimBothSidesAndWalkEveryFile) {
    store(paths.ch("01001"), Family::CH, {{"ChokyosiCode", "01001"}, {"ChokyosiRyakusyo", sj("山田")}});
    const std::string second =
        store(paths.ch("02001"), Family::CH, {{"ChokyosiCode", "02001"}, {"ChokyosiRyakusyo", sj("佐藤")}});
    store(paths.ch("03001"), Family::CH, {{"ChokyosiCode", "03001"}, {"ChokyosiRyakusyo", sj("佐藤")}});
    store(paths.ch("04001"), Family::CH, {{"ChokyosiCode", "04001"}});  // no short name
    EXPECT_EQ(findTrainerByShortName(paths, sj("　　佐藤 ")), second);
    EXPECT_EQ(findTrainerByShortName(paths, sj("佐")), "");
    EXPECT_EQ(findTrainerByShortName(paths, sj("　")), "");  // a blank name matches no record

    const std::string jockey =
        store(paths.ks("05001"), Family::KS, {{"KisyuCode", "05001"}, {"KisyuRyakusyo", sj("田中")}});
    EXPECT_EQ(findJockeyByShortName(paths, sj("田中　")), jockey);
    EXPECT_EQ(findJockeyByShortName(paths, sj("山田")), "");  // a trainer, not a jockey
}

TEST_F(LookupsTest, PayoutOddsAndAptitudeFiles) {
    const Values r = race("0607", "05", "11");
    EXPECT_EQ(findPayout(paths, {"2020", "0607", "05", "11"}), "");
    const std::string hr = store(paths.hr("2020", "0607"), Family::HR, with(r, {{"PayTansyoUmaban1", "03"}}));
    EXPECT_EQ(findPayout(paths, {"2020", "0607", "05", "11"}), hr);
    EXPECT_EQ(findPayout(paths, {"2020", "0614", "05", "11"}), "");  // same month file, other day

    const std::string o2 = store(paths.o2("2020", "0607"), Family::O2, r);
    const std::string o3 = store(paths.o3("2020", "0607"), Family::O3, r);
    const std::string o4 = store(paths.o4("2020", "0607"), Family::O4, r);
    const std::string o5 = store(paths.o5("2020", "0607"), Family::O5, r);
    const std::string o6 = store(paths.o6("2020", "0607", "05"), Family::O6, r);
    EXPECT_EQ(findQuinellaOdds(paths, {"2020", "0607", "05", "11"}), o2);
    EXPECT_EQ(findWideOdds(paths, {"2020", "0607", "05", "11"}), o3);
    EXPECT_EQ(findExactaOdds(paths, {"2020", "0607", "05", "11"}), o4);
    EXPECT_EQ(findTrioOdds(paths, {"2020", "0607", "05", "11"}), o5);
    EXPECT_EQ(findTrifectaOdds(paths, {"2020", "0607", "05", "11"}), o6);
    EXPECT_EQ(findTrifectaOdds(paths, {"2020", "0607", "06", "11"}), "");  // O6 files are per track
    EXPECT_EQ(findTrioOdds(paths, {"2020", "0608", "05", "11"}), "");      // O5 files are per day
    EXPECT_EQ(findOdds(paths, Family::HR, {"2020", "0607", "05", "11"}), "");

    const std::string ck = store(paths.ck("2020", "0607", "05"), Family::CK, with(r, {{"KettoNum", "2017100001"}}));
    store(paths.ck("2020", "0607", "05"), Family::CK, with(r, {{"KettoNum", "2017100002"}}));
    EXPECT_EQ(findAptitude(paths, {"2020", "0607", "05", "11"}, "2017100001"), ck);
    EXPECT_EQ(findAptitude(paths, {"2020", "0607", "05", "11"}, "2017100009"), "");
}

}  // namespace
}  // namespace tarvo
