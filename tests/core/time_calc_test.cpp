#include <gtest/gtest.h>

#include <limits>

#include "cp932.h"
#include "layouts.h"
#include "store_paths.h"
#include "test_support.h"
#include "time_calc.h"

namespace tarvo {
namespace {

TEST(TimeCalc, RoundHalfAwayFromZero) {
    struct Case {
        long double x;
        int expected;
    } cases[] = {
        {2.5L, 3}, {-2.5L, -3}, {2.4999L, 2}, {-2.4999L, -2}, {0.5L, 1}, {-0.5L, -1},
        {0.0L, 0}, {-0.0L, 0},  {0.49L, 0},   {372.0L, 372},  {1e12L, std::numeric_limits<int>::max()},
        {-1e12L, std::numeric_limits<int>::min()}, {std::numeric_limits<long double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(roundHalfAway(c.x), c.expected) << static_cast<double>(c.x);
}

TEST(TimeCalc, StoredTimeToTenths) {
    struct Case {
        const char* time;
        int expected;
    } cases[] = {
        {"1099", 699}, {"0580", 580}, {"580", 580},   {"2026", 1226}, {"0000", 0},
        {"99", 99},    {"5", 5},      {"", -100},     // "0" + "": the rest is not a number
        {"----", -60100},                             // both parts count as -100
        {"1x99", -100 + 600},                         // the rest alone malformed
        {"A099", 99 - 60000},                         // the minutes alone malformed
        {"10995", 699},                               // characters after the fourth are not read
    };
    for (const auto& c : cases) EXPECT_EQ(storedTimeToTenths(c.time), c.expected) << "'" << c.time << "'";
}

TEST(TimeCalc, FrontPace) {
    struct Case {
        const char* time;
        const char* course;
        const char* last3F;
        int expected;
    } cases[] = {
        {"1360", "芝1600", "340", 372},  // (960 - 340) / 10 * 6
        {"0580", "芝1000", "340", 360},  // (580 - 340) / 4 * 6
        {"1470", "芝1800", "361", 354},  // 709 / 12 in single precision is just below 59.083..., so 354.4999...
        {"1472", "ダ1800", "361", 356},  // 711 / 12 * 6 = 355.5 exactly: away from zero
        {"0000", "芝1600", "340", -204},
        {"1360", "芝0600", "340", 0},    // no part before the last 600 m
    };
    for (const auto& c : cases)
        EXPECT_EQ(frontPace(c.time, sj(c.course), c.last3F), c.expected) << c.time << " " << c.course;
    EXPECT_EQ(frontPace("1360", sj("芝1600"), "340", 3), 186);
}

TEST(TimeCalc, DaysBetween) {
    struct Case {
        const char* d1;
        const char* d2;
        int expected;
    } cases[] = {
        {"20240101", "20240102", 1}, {"20240102", "20240101", -1}, {"20240228", "20240301", 2},
        {"20230228", "20230301", 1}, {"20231231", "20240101", 1},  {"20000101", "20240101", 8766},
        {"20240501", "20240501", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(daysBetween(c.d1, c.d2), c.expected) << c.d1 << " " << c.d2;
    for (const char* bad : {"20230229", "20241301", "20240100", "2024010", "2024-1-1", "", "00000101", "abcdefgh"}) {
        EXPECT_FALSE(daysBetween(bad, "20240101")) << bad;
        EXPECT_FALSE(daysBetween("20240101", bad)) << bad;
    }
}

// An SE line of a race on 2024-05-05 with the given track, race number, places and time.
std::string seLine(const char* jyo, const char* race, const char* umaban, const char* nyusen, const char* kakutei,
                   const char* time) {
    LineBuilder b(Family::SE);
    const std::pair<const char*, const char*> fields[] = {
        {"DataKubun", "7"}, {"Year", "2024"},   {"MonthDay", "0505"},    {"JyoCD", jyo},
        {"Kaiji", "02"},    {"Nichiji", "06"},  {"RaceNum", race},       {"Umaban", umaban},
        {"Time", time},     {"NyusenJyuni", nyusen}, {"KakuteiJyuni", kakutei},
    };
    for (const auto& [name, value] : fields) EXPECT_TRUE(b.set(name, value)) << name;
    return b.line();
}

struct RaceFixture {
    test::TempDir dir;
    StorePaths paths{dir.path()};
    void write(const char* jyo, std::initializer_list<std::string> lines) const {
        std::string data;
        for (const auto& l : lines) data += l;
        test::spit(paths.se("2024", "0505", jyo), data);
    }
    int ref(const char* jyo, const char* race, PlaceOrder order) const {
        return referenceTime(paths, "2024", "0505", jyo, race, order);
    }
};

TEST(ReferenceTime, MeanOfTheFirstThreeByEachOrder) {
    RaceFixture f;
    f.write("05", {
                      seLine("05", "10", "01", "01", "01", "1350"),  // another race of the day
                      seLine("05", "11", "01", "05", "05", "1353"),
                      seLine("05", "11", "02", "01", "04", "1343"),  // first past the post, placed fourth
                      seLine("05", "11", "03", "02", "01", "1344"),
                      seLine("05", "11", "04", "03", "02", "1345"),
                      seLine("05", "11", "05", "04", "03", "1347"),
                  });
    // Placed 1 to 3: 944, 945, 947 -> 945.33; arrived 1 to 3: 943, 944, 945.
    EXPECT_EQ(f.ref("05", "11", PlaceOrder::Confirmed), 945);
    EXPECT_EQ(f.ref("05", "11", PlaceOrder::Arrival), 944);
    EXPECT_EQ(f.ref("05", "10", PlaceOrder::Confirmed), 950);
}

TEST(ReferenceTime, DeadHeatsTwoPlacedAndRounding) {
    RaceFixture f;
    f.write("08", {
                      // Two placed third: the one stored first counts, and reading stops there.
                      seLine("08", "01", "01", "03", "03", "1100"),
                      seLine("08", "01", "02", "01", "01", "1099"),
                      seLine("08", "01", "03", "02", "02", "1100"),
                      seLine("08", "01", "04", "03", "03", "1500"),
                      // Only two placed: 699.5 rounds away from zero.
                      seLine("08", "02", "01", "01", "01", "1099"),
                      seLine("08", "02", "02", "02", "02", "1100"),
                      seLine("08", "02", "03", "00", "00", "0000"),
                  });
    EXPECT_EQ(f.ref("08", "01", PlaceOrder::Confirmed), 700);  // (700 + 699 + 700) / 3
    EXPECT_EQ(f.ref("08", "02", PlaceOrder::Confirmed), 700);
    EXPECT_EQ(f.ref("08", "02", PlaceOrder::Arrival), 700);
}

TEST(ReferenceTime, NoFigureGivesZero) {
    RaceFixture f;
    f.write("06", {
                      seLine("06", "01", "01", "01", "01", "0000"),
                      seLine("06", "01", "02", "02", "02", "0000"),
                      seLine("06", "01", "03", "03", "03", "0000"),
                      seLine("06", "02", "01", "00", "00", "1350"),  // nobody placed
                      seLine("06", "03", "01", "01", "01", "----"),  // malformed time, sum below 0
                  });
    EXPECT_EQ(f.ref("06", "01", PlaceOrder::Confirmed), 0);
    EXPECT_EQ(f.ref("06", "02", PlaceOrder::Confirmed), 0);
    EXPECT_EQ(f.ref("06", "03", PlaceOrder::Arrival), 0);
    EXPECT_EQ(f.ref("06", "04", PlaceOrder::Confirmed), 0);  // race not in the file
    EXPECT_EQ(f.ref("09", "01", PlaceOrder::Confirmed), 0);  // no file for the track
    EXPECT_EQ(referenceTime(f.paths, "2024", "0505", "../06", "01", PlaceOrder::Confirmed), 0);  // unsafe key
}

TEST(ReferenceTime, OtherTracksShareTheDayFile) {
    RaceFixture f;
    // Every track outside 01 to 10 is stored in one file per day; the track code still tells races apart.
    f.write("44", {
                      seLine("45", "01", "01", "01", "01", "1200"),
                      seLine("44", "01", "01", "01", "01", "1250"),
                      seLine("44", "01", "02", "02", "02", "1252"),
                  });
    ASSERT_EQ(f.paths.se("2024", "0505", "44"), f.paths.se("2024", "0505", "45"));
    EXPECT_EQ(f.ref("44", "01", PlaceOrder::Confirmed), 851);
    EXPECT_EQ(f.ref("45", "01", PlaceOrder::Confirmed), 800);
}

}  // namespace
}  // namespace tarvo
