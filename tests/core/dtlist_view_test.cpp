// The meeting dates list without a window: the dates and main races of a
// year, the ranks that pick a main race, the stored years, and the grid rows
// the screen shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "cp932.h"
#include "dtlist_view.h"
#include "layouts.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"

namespace tarvo {
namespace {

using Race = test::StoreFixture::Race;
using test::race;

class DateListViewTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::StoreFixture store{dir.path()};
};

// A stored race with a ten-character short name and a class.
void addNamed(test::StoreFixture& s, Race r, const std::string& ryakusyo10, const std::string& jyoken = "703",
              const std::string& grade = " ") {
    r.jyokenCD5 = jyoken;
    r.gradeCD = grade;
    s.addRace(r);
    const std::string path = s.paths.ra(r.year, r.monthDay, r.jyoCD);
    for (const std::string& line : readLines(path)) {
        if (getField(Family::RA, line, "JyoCD") != r.jyoCD || getField(Family::RA, line, "RaceNum") != r.raceNum ||
            getField(Family::RA, line, "MonthDay") != r.monthDay)
            continue;
        LineBuilder b(Family::RA, line);
        b.assign("Ryakusyo10", sj(ryakusyo10));
        writeRecord(path, b.line(), recordKey(Family::RA));
    }
}

TEST(MeetingDates, RankTable) {
    const struct {
        const char* jyoken;
        const char* grade;
        int rank;
    } cases[] = {
        {"701", " ", 1}, {"702", " ", 1}, {"703", " ", 2}, {"002", " ", 3}, {"005", " ", 3}, {"006", " ", 4},
        {"010", " ", 4}, {"011", " ", 5}, {"700", " ", 5}, {"999", "E", 6}, {"999", "D", 7}, {"999", "C", 8},
        {"999", "H", 8}, {"999", "B", 9}, {"999", "G", 9}, {"999", "A", 10}, {"999", "F", 10}, {"999", "L", 0},
        {"999", " ", 0}, {"001", " ", 0}, {"704", " ", 0}, {"000", "A", 0}, {"abc", " ", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(meetingRank(c.jyoken, c.grade), c.rank) << c.jyoken << c.grade;
}

TEST_F(DateListViewTest, MeetingDatesKeepThreeTracksAndTheMainRaceOfEach) {
    // Sunday 2 June: four tracks; the fourth lowest code is left out.
    addNamed(store, race("0602", "09", "11"), "阪神メイン", "999", "C");
    addNamed(store, race("0602", "05", "01"), "", "703");
    addNamed(store, race("0602", "05", "11"), "東京優駿", "999", "A");
    addNamed(store, race("0602", "05", "12"), "東京最終", "010");  // lower rank: the Ｇ１ stays
    addNamed(store, race("0602", "06", "05"), "", "005");          // no race with a name
    addNamed(store, race("0602", "06", "06"), "", "999", "A");     // higher rank but no name: the first stays
    addNamed(store, race("0602", "08", "09"), "京都Ａ", "010");
    addNamed(store, race("0602", "08", "10"), "京都Ｂ", "010");  // same rank: the first read stays
    addNamed(store, race("0602", "08", "11", "0"), "京都Ｃ", "999", "F");  // deleted
    addNamed(store, race("0602", "08", "12", "9"), "京都Ｄ", "999", "F");  // cancelled
    // Saturday 1 June, one track; a local race the same day is not a central meeting.
    addNamed(store, race("0601", "04", "11"), "新潟メイン", "999", "E");
    addNamed(store, race("0601", "44", "11"), "大井メイン", "999", "A");
    // Saturday 25 May, in another month file.
    addNamed(store, race("0525", "10", "11"), "小倉メイン", "999", "D");

    const auto rows = meetingDates(store.paths, "2024");
    ASSERT_EQ(rows.size(), 3u);
    std::vector<std::vector<std::string>> got;
    for (const DateRow& r : rows) {
        std::vector<std::string> cells;
        for (const std::string& c : r) cells.push_back(toUtf8(c));
        got.push_back(cells);
    }
    using Row = std::vector<std::string>;
    EXPECT_EQ(got[0], (Row{"06/02", "20240602", "日", "050608", "東京", "東京優駿", "中山", "<一般戦>", "京都", "京都Ａ"}));
    EXPECT_EQ(got[1], (Row{"06/01", "20240601", "土", "04", "新潟", "新潟メイン", "", "", "", ""}));
    EXPECT_EQ(got[2], (Row{"05/25", "20240525", "土", "10", "小倉", "小倉メイン", "", "", "", ""}));

    EXPECT_TRUE(meetingDates(store.paths, "2023").empty());  // no year folder
    EXPECT_TRUE(meetingDates(store.paths, "").empty());
}

TEST_F(DateListViewTest, MeetingDatesHoldAtMostTheirTableOfDates) {
    // 180 distinct dates in one month file (MonthDay values need not be real days here).
    for (int i = 0; i < 180; ++i) {
        char md[8];
        std::snprintf(md, sizeof md, "01%02d", i % 100);
        Race r = race(md, i < 100 ? "05" : "06", "11");
        if (i >= 100) r.monthDay = "02" + std::string(md + 2);
        store.addRace(r);
    }
    EXPECT_EQ(meetingDates(store.paths, "2024").size(), kMaxMeetingDates);
}

TEST_F(DateListViewTest, StoredYearsAndTheYearThePickerSelects) {
    for (const char* d : {"2021", "2019", "abc", "0000", "2020x"}) std::filesystem::create_directories(dir.path() + "RA/" + d);
    test::spit(dir.path() + "RA/2022", "a file, not a year folder");
    const std::vector<std::string> years = storedYears(store.paths);
    EXPECT_EQ(years, (std::vector<std::string>{"2019", "2021"}));

    EXPECT_EQ(chooseYear(years, 2021), 1);
    EXPECT_EQ(chooseYear(years, 2019), 0);
    EXPECT_EQ(chooseYear(years, 2015), 0);   // earlier than the first
    EXPECT_EQ(chooseYear(years, 2030), 1);   // later than the last
    EXPECT_EQ(chooseYear(years, 2020), -1);  // between two stored years
    EXPECT_EQ(chooseYear({}, 2020), -1);
    EXPECT_TRUE(storedYears(StorePaths(dir.path() + "missing/")).empty());
}

TEST_F(DateListViewTest, GridRowsColourTheWeekendAndStandForTheirDate) {
    store.addRace(race("0601", "05", "11"));  // Saturday
    store.addRace(race("0602", "05", "11"));  // Sunday
    store.addRace(race("0603", "05", "11"));  // Monday
    const std::vector<ViewRow> rows = dateListRows(store.paths, "2024");
    ASSERT_EQ(rows.size(), 3u);
    const std::pair<const char*, Ink> weekdays[] = {{"月", Ink::Black}, {"日", Ink::Red}, {"土", Ink::Blue}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), std::size_t{kDateColumns});
        EXPECT_EQ(rows[i][kDateWeekday], (ViewCell{sj(weekdays[i].first), weekdays[i].second})) << i;
        for (std::size_t c = 0; c < kDateColumns; ++c) {
            if (c != kDateWeekday) {
                EXPECT_EQ(rows[i][c].ink, Ink::Black) << i << ' ' << c;
            }
        }
    }
    EXPECT_EQ(rows[0][kDateMonthDay].text, "06/03");
    EXPECT_EQ(chosenDate(rows[0]), "20240603");
    EXPECT_TRUE(dateListRows(store.paths, "2023").empty());

    // A row stands for a date only when its date column reads as a positive number.
    const struct {
        const char* date;
        const char* chosen;
    } cases[] = {{"20240601", "20240601"}, {"", ""}, {"0", ""}, {"-20240601", ""}, {"2024/06/01", ""}};
    for (const auto& c : cases) {
        ViewRow row(kDateColumns);
        row[kDateFull].text = c.date;
        EXPECT_EQ(chosenDate(row), c.chosen) << c.date;
    }
    EXPECT_EQ(chosenDate(ViewRow{}), "");
}

}  // namespace
}  // namespace tarvo
