#include <gtest/gtest.h>

#include <limits>

#include "cp932.h"
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

}  // namespace
}  // namespace tarvo
