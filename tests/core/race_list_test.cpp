#include <gtest/gtest.h>

#include <filesystem>

#include "cp932.h"
#include "layouts.h"
#include "race_list.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"

namespace tarvo {
namespace {

using Race = test::StoreFixture::Race;
using test::race;

std::vector<std::string> utf8(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(toUtf8(l));
    return out;
}

class RaceListTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::StoreFixture store{dir.path()};
};

TEST_F(RaceListTest, CentralTracksFirstThenLocalOnesWithTheTemporaryTracksLast) {
    // Stored out of order, across the central and the local month file.
    store.addRace(race("0602", "58", "01", "7", "札幌チ"));
    store.addRace(race("0602", "05", "11", "7", "ダービー"));
    store.addRace(race("0602", "44", "02", "7", "大井２"));
    store.addRace(race("0602", "05", "01"));  // no short name: the short class name
    store.addRace(race("0602", "61", "12", "9", "中京チ"));  // cancelled, still listed
    store.addRace(race("0602", "09", "03", "7", "阪神３"));
    store.addRace(race("0602", "30", "05", "7", "門別５"));
    // Not of that date, or deleted.
    store.addRace(race("0601", "05", "11", "2", "前日"));
    store.addRace(race("0602", "06", "01", "0", "削除"));

    const RaceList list = listRaces(store.paths, "2024", "0602");
    EXPECT_EQ(utf8(list.lines), (std::vector<std::string>{"東京01R ３歳未勝利", "東京11R ダービー", "阪神03R 阪神３",
                                                          "門別05R 門別５", "大井02R 大井２", "札チ01R 札幌チ",
                                                          "中チ12R 中京チ"}));
    EXPECT_FALSE(list.sameDay);  // the provisional race of the day before does not count

    // Every line reads back to its track code and race number.
    const std::pair<const char*, const char*> keys[] = {{"05", "01"}, {"05", "11"}, {"09", "03"}, {"30", "05"},
                                                        {"44", "02"}, {"58", "01"}, {"61", "12"}};
    ASSERT_EQ(list.lines.size(), std::size(keys));
    for (std::size_t i = 0; i < list.lines.size(); ++i) {
        const RaceLineParts back = readRaceListLine(list.lines[i]);
        EXPECT_EQ(back.jyoCD, keys[i].first) << i;
        EXPECT_EQ(back.raceNum, keys[i].second) << i;
    }
}

TEST_F(RaceListTest, ADateWithOnlyLocalRacesOrNoneAtAll) {
    store.addRace(race("0605", "45", "01", "7", "川崎"));
    store.addRace(race("0605", "44", "11", "7", "大井"));
    EXPECT_EQ(utf8(listRaces(store.paths, "2024", "0605").lines),
              (std::vector<std::string>{"大井11R 大井", "川崎01R 川崎"}));
    const RaceList none = listRaces(store.paths, "2024", "0606");
    EXPECT_TRUE(none.lines.empty());
    EXPECT_FALSE(none.sameDay);
    EXPECT_TRUE(listRaces(store.paths, "2023", "0605").lines.empty());  // no year folder
}

TEST(RaceListSameDay, SetByAnEntryCardOrProvisionalResults) {
    const struct {
        std::vector<std::string> kubun;
        bool sameDay;
    } cases[] = {
        {{"7", "7"}, false}, {{"7", "2"}, true}, {{"6"}, true}, {{"3", "7"}, true},
        {{"1"}, false},      {{"9"}, false},     {{"A"}, false},
    };
    for (const auto& c : cases) {
        test::TempDir d;
        test::StoreFixture s(d.path());
        int rn = 1;
        for (const std::string& k : c.kubun) s.addRace(race("0602", "05", "0" + std::to_string(rn++), k));
        EXPECT_EQ(listRaces(s.paths, "2024", "0602").sameDay, c.sameDay) << c.kubun.back();
    }
}

TEST(RaceListLine, ReadBackByPosition) {
    const struct {
        const char* line;
        const char* track;
        const char* code;
        const char* raceNum;
        const char* title;
    } cases[] = {
        {"東京11R 日本ダービー", "東京", "05", "11", "日本ダービー"},
        {"札チ01R ３歳未勝利", "札チ", "58", "01", "３歳未勝利"},
        {"中チ12R", "中チ", "61", "12", ""},  // a race without any title
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        const RaceLineParts r = readRaceListLine(sj(c.line));
        EXPECT_EQ(toUtf8(r.trackName), c.track) << c.line;
        EXPECT_EQ(r.jyoCD, c.code) << c.line;
        EXPECT_EQ(r.raceNum, c.raceNum) << c.line;
        EXPECT_EQ(toUtf8(r.title), c.title) << c.line;
    }
}

TEST(RaceSelectionButtons, ByModeTrackAndDataKubun) {
    using G = Gate;
    const G K = G::Keep, E = G::Enable, D = G::Disable;
    const struct {
        bool readOnly;
        const char* jyo;
        const char* kubun;
        bool oddsFinal;
        SelectionButtons want;  // dataGet, oddsGet, oddsBch, rstBch, result, oddsList
    } cases[] = {
        {true, "05", "1", false, {K, K, K, K, D, D}},
        {true, "05", "9", false, {K, K, K, K, D, D}},
        {true, "05", "2", false, {K, K, K, K, K, K}},
        {true, "44", "7", false, {K, K, K, K, K, K}},
        {false, "44", "2", false, {D, D, D, D, K, D}},
        {false, "58", "9", false, {D, D, D, D, K, D}},
        {false, "05", "1", false, {D, D, D, D, D, D}},
        {false, "05", "9", false, {D, D, D, D, D, D}},
        {false, "05", "7", false, {D, D, D, D, K, E}},
        {false, "05", "2", false, {E, E, E, E, K, E}},
        {false, "10", "5", true, {E, D, E, E, K, E}},
    };
    for (const auto& c : cases) {
        const SelectionButtons b = selectionButtons(c.readOnly, c.jyo, c.kubun, c.oddsFinal);
        const auto row = [](const SelectionButtons& s) {
            return std::vector<G>{s.dataGet, s.oddsGet, s.oddsBch, s.rstBch, s.result, s.oddsList};
        };
        EXPECT_EQ(row(b), row(c.want)) << c.readOnly << ' ' << c.jyo << ' ' << c.kubun;
    }
}

TEST(RaceSelectionButtons, FetchButtonsAfterListing) {
    EXPECT_EQ(fetchButtonsAfterListing(false, true, true), Gate::Disable);
    EXPECT_EQ(fetchButtonsAfterListing(true, true, false), Gate::Disable);
    EXPECT_EQ(fetchButtonsAfterListing(false, false, true), Gate::Enable);
    EXPECT_EQ(fetchButtonsAfterListing(false, false, false), Gate::Disable);
    EXPECT_EQ(fetchButtonsAfterListing(true, false, true), Gate::Keep);
}

TEST_F(RaceListTest, OddsAreFinalOnlyWhenQuinellaAndExactaBothAre) {
    const auto odds = [&](Family f, const std::string& rn, const std::string& kubun) {
        LineBuilder b(f);
        for (const auto& [name, value] : std::vector<std::pair<const char*, std::string>>{
                 {"DataKubun", kubun}, {"Year", "2024"}, {"MonthDay", "0602"}, {"JyoCD", "05"},
                 {"Kaiji", "02"}, {"Nichiji", "04"}, {"RaceNum", rn}})
            b.assign(name, value);
        const std::string path = f == Family::O2 ? store.paths.o2("2024", "0602") : store.paths.o4("2024", "0602");
        writeRecord(path, b.line(), recordKey(f));
    };
    odds(Family::O2, "01", "3");
    odds(Family::O4, "01", "5");
    odds(Family::O2, "02", "2");
    odds(Family::O4, "02", "3");
    odds(Family::O2, "03", "4");  // no exacta record
    EXPECT_TRUE(isOddsFinal(store.paths, "2024", "0602", "05", "01"));
    EXPECT_FALSE(isOddsFinal(store.paths, "2024", "0602", "05", "02"));
    EXPECT_FALSE(isOddsFinal(store.paths, "2024", "0602", "05", "03"));
    EXPECT_FALSE(isOddsFinal(store.paths, "2024", "0602", "05", "04"));
}

// ---- Command-line tool ----

TEST_F(RaceListTest, CliRacesAndDates) {
    test::spit(dir.path() + "tarvo.ini", "");
    test::StoreFixture home(dir.path() + "data/");
    home.addRace(race("0602", "44", "11", "7", "大井"));
    home.addRace(race("0602", "05", "11", "2", "ダービー"));
    home.addRace(race("0601", "05", "11", "7", "前日"));

    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "races", "20240602"}, out), 0);
    EXPECT_EQ(out, "東京11R ダービー\n大井11R 大井\nsame-day\t1\n");
    ASSERT_EQ(test::runCli({"--home", dir.path(), "races", "20240603"}, out), 0);
    EXPECT_EQ(out, "same-day\t0\n");

    ASSERT_EQ(test::runCli({"--home", dir.path(), "dates", "2024"}, out), 0);
    EXPECT_EQ(out, "06/02\t20240602\t日\t05\t東京\t<一般戦>\t\t\t\t\n06/01\t20240601\t土\t05\t東京\t<一般戦>\t\t\t\t\n");

    const std::vector<std::vector<std::string>> bad = {{"races"},         {"races", "2024062"}, {"races", "20240231"},
                                                       {"races", "2024o602"}, {"dates", "24"},      {"dates", "0000"},
                                                       {"dates"}};
    for (const auto& a : bad) {
        const int rc = a.size() == 1 ? test::runCli({"--home", dir.path(), a[0]}, out, &err)
                                     : test::runCli({"--home", dir.path(), a[0], a[1]}, out, &err);
        EXPECT_EQ(rc, 2) << a.back();
        EXPECT_EQ(out, "") << a.back();
    }
}

}  // namespace
}  // namespace tarvo
