#include <gtest/gtest.h>

#include <filesystem>

#include "cp932.h"
#include "layouts.h"
#include "lookups.h"
#include "test_support.h"
#include "um_index.h"

namespace tarvo {
namespace {

constexpr const char* kHorse = "2015104901";

class UmIndexTest : public ::testing::Test {
protected:
    test::TempDir dir;
    StorePaths paths{dir.path()};

    void run(const std::string& date, const std::string& jyo, const std::string& name = "Alpha",
             const std::string& sex = "1", const std::string& ketto = kHorse) {
        ASSERT_TRUE(updateRunList(paths, ketto, name, jyo, date, sex));
    }
    std::string indexFile() const { return test::slurp(paths.um(kHorse, "idx")); }
};

TEST_F(UmIndexTest, RunsAreListedNewestFirstWhateverTheOrderTheyArrive) {
    run("20200105", "06");
    run("20200301", "05");
    run("20200202", "44");
    EXPECT_EQ(runList(paths, kHorse), "2020030105" "2020020244" "2020010506");
    const auto entries = runEntries(runList(paths, kHorse));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].date, "20200202");
    EXPECT_EQ(entries[1].jyoCD, "44");

    const std::string file = indexFile();
    ASSERT_EQ(file.size(), 1549u);
    EXPECT_EQ(file.substr(0, 47), std::string(kHorse) + "1" + "Alpha" + std::string(31, ' '));
    EXPECT_EQ(file.substr(1547), "\r\n");
}

TEST_F(UmIndexTest, ADateAlreadyListedKeepsTheListButRefreshesNameAndSex) {
    run("20200105", "06", "Alpha", "1");
    run("20200105", "08", sj("　アルファ"), "2");  // same day, another track
    EXPECT_EQ(runList(paths, kHorse), "2020010506");
    const std::string line = findRunIndexLine(paths, kHorse);
    EXPECT_EQ(getField(Family::UMIDX, line, "SexCD"), "2");
    EXPECT_EQ(getField(Family::UMIDX, line, "Bamei"), sj("アルファ") + std::string(28, ' '));
    EXPECT_EQ(indexFile().size(), 1549u);
}

TEST_F(UmIndexTest, HorsesOfOneGroupShareTheFileAndKeepTheirOwnLines) {
    run("20200105", "06", "Alpha", "1", "2015104901");
    run("20200112", "06", "Beta", "2", "2015104800");  // digit 8 is 8: same group E
    run("20200119", "05", "Alpha", "1", "2015104901");
    ASSERT_EQ(paths.um("2015104901", "idx"), paths.um("2015104800", "idx"));
    EXPECT_EQ(indexFile().size(), 2u * 1549u);
    EXPECT_EQ(runList(paths, "2015104901"), "2020011905" "2020010506");
    EXPECT_EQ(runList(paths, "2015104800"), "2020011206");
    EXPECT_EQ(runList(paths, "2015104902"), "");
    EXPECT_EQ(runList(paths, "2016104901"), "");  // no index file at all
}

TEST_F(UmIndexTest, AFullListKeepsItsNewest150RunsAndItsLength) {
    // 150 runs, one a day from 2001-01-01 on (dates made by counting days in a 28-day month).
    auto date = [](int n) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", 2001 + n / (12 * 28), 1 + n / 28 % 12, 1 + n % 28);
        return std::string(buf);
    };
    for (int n = 0; n < 150; ++n) run(date(n), "05");
    ASSERT_EQ(runList(paths, kHorse).size(), 1500u);
    EXPECT_EQ(runList(paths, kHorse).substr(1490), date(0) + "05");

    run(date(150), "06");  // newer than all: the oldest goes
    std::string list = runList(paths, kHorse);
    EXPECT_EQ(list.size(), 1500u);
    EXPECT_EQ(list.substr(0, 10), date(150) + "06");
    EXPECT_EQ(list.substr(1490), date(1) + "05");

    run("20000101", "07");  // older than all 150: not kept
    EXPECT_EQ(runList(paths, kHorse), list);

    run(date(75).substr(0, 6) + "29", "08");  // a gap in the middle: inserted, the oldest goes
    list = runList(paths, kHorse);
    EXPECT_EQ(list.size(), 1500u);
    EXPECT_NE(list.find(date(75).substr(0, 6) + "2908"), std::string::npos);
    EXPECT_EQ(list.substr(1490), date(2) + "05");
    EXPECT_EQ(std::filesystem::file_size(paths.um(kHorse, "idx")), 1549u);
}

TEST_F(UmIndexTest, InputsThatCannotMakeASoundEntryWriteNothing) {
    struct Case {
        const char* ketto;
        const char* jyo;
        const char* date;
    };
    const Case cases[] = {
        {"201510490", "05", "20200105"},     // pedigree number too short
        {kHorse, "5", "20200105"},           // track code of one character
        {kHorse, "05", "2020015"},           // date too short
        {kHorse, "05", "2020 105"},          // not a date
        {"2015/04901", "05", "20200105"},    // cannot stand in a file name
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(updateRunList(paths, c.ketto, "Alpha", c.jyo, c.date, "1")) << c.ketto << " " << c.jyo << " " << c.date;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "UM"));
}

}  // namespace
}  // namespace tarvo
