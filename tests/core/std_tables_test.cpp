// The standard time tables and the distance coefficient, checked cell by cell
// against the tables as they are printed for the users of the figures (rows of
// "| course | 01 | ... |"), held here independently of the compiled-in rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cp932.h"
#include "std_tables.h"
#include "time_calc.h"

namespace tarvo {
namespace {

const char* const kPrintedA = R"(
| Course | 01 | 02 | 03 | 04 | 05 | 06 | 07 | 08 | 09 | 10 | oth |
| 芝1000 | 580 | 579 | 581 | 553 | | | 583 | | | 576 | |
| 芝1200 | 1099 | 1104 | 1093 | 1093 | | 1083 | 1094 | 1087 | 1091 | 1090 | |
| 芝1400 | | | | 1216 | 1220 | | 1233 | 1218 | 1213 | | |
| 芝1500 | 1295 | | | | | | | | | | |
| 芝1600 | | | | 1343 | 1342 | 1343 | 1360 | 1344 | 1346 | | |
| 芝1700 | | | 1423 | | | | 1432 | | | 1411 | |
| 芝1800 | 1498 | 1503 | 1484 | 1472 | 1479 | 1487 | 1485 | 1470 | 1467 | 1481 | |
| 芝2000 | 2026 | 2032 | 2012 | 2001 | 2010 | 2014 | 2010 | 2009 | 2012 | 2011 | |
| 芝2200 | | | | 2142 | 2154 | 2151 | 2153 | 2148 | 2143 | | |
| 芝2300 | | | | | 2207 | | | | | | |
| 芝2400 | | | | 2276 | 2274 | | | 2272 | 2271 | | |
| 芝2500 | | | | | 2350 | 2348 | 2354 | | 2340 | | |
| 芝2600 | 2431 | 2442 | 2412 | | | | | | 2415 | 2417 | |
| 芝3000 | | | | | | | 3048 | 3058 | 3084 | | |
| 芝3200 | | | | | 3204 | 3221 | | 3200 | | | |
| 芝3400 | | | | | 3347 | | | | | | |
| 芝3600 | | | | | | 3498 | | | | | |
| ダ1000 | 592 | 593 | 594 | | | 597 | 596 | | | 590 | 608 |
| ダ1150 | | | 1088 | | | | | | | | |
| ダ1200 | | | | 1121 | 1124 | 1123 | 1139 | 1125 | 1124 | | 1142 |
| ダ1300 | | | | | 1188 | | | | | | 1208 |
| ダ1400 | | | | | 1254 | | 1263 | 1250 | 1248 | | 1272 |
| ダ1500 | | | | | | | | | | | 1339 |
| ダ1600 | | | | | 1384 | | 1405 | | | | 1406 |
| ダ1700 | 1463 | 1468 | 1464 | 1475 | | | 1471 | | | 1466 | 1490 |
| ダ1800 | | | | 1538 | | 1550 | 1556 | 1532 | 1536 | | 1565 |
| ダ1870 | | | | | | | | | | | 2030 |
| ダ1900 | | | | | | | 2004 | 1598 | | | 2058 |
| ダ2000 | | | | | | | | | 2065 | | 2096 |
| ダ2100 | | | | | 2128 | | | | | | 2161 |
| ダ2300 | | | | | | | 2292 | | | | 2324 |
| ダ2400 | 2356 | 2365 | 2356 | | 2345 | 2376 | | | | 2362 | 2394 |
| ダ2500 | | | | 2429 | | 2428 | 2449 | | | | 2462 |
| ダ2600 | | | | | | | | | | | 2530 |
)";

const char* const kPrintedB = R"(
| Course | 01 | 02 | 03 | 04 | 05 | 06 | 07 | 08 | 09 | 10 |
| 芝1000 | 464 | 464 | 466 | 441 | | | 466 | | | 460 |
| 芝1200 | 526 | 531 | 523 | 520 | | 515 | 521 | 518 | 518 | 520 |
| 芝1400 | | | | 584 | 583 | | 594 | 580 | 582 | |
| 芝1500 | 626 | | | | | | | | | |
| 芝1600 | | | | 640 | 644 | 648 | 658 | 644 | 647 | |
| 芝1700 | | | 691 | | | | 697 | | | 682 |
| 芝1800 | 728 | 733 | 721 | 707 | 713 | 721 | 720 | 710 | 705 | 718 |
| 芝2000 | 792 | 797 | 786 | 773 | 778 | 783 | 784 | 782 | 784 | 785 |
| 芝2200 | | | | 848 | 852 | 853 | 856 | 849 | 848 | |
| 芝2300 | | | | | 880 | | | | | |
| 芝2400 | | | | 915 | 913 | | | 911 | 912 | |
| 芝2500 | | | | | 955 | 953 | 956 | | 948 | |
| 芝2600 | 995 | 1004 | 986 | | | | | | 987 | 989 |
| 芝3000 | | | | | | | 1102 | 1112 | 1120 | |
| 芝3200 | | | | | 1183 | 1192 | | 1178 | | |
| 芝3400 | | | | | 1253 | | | | | |
| 芝3600 | | | | | | 1331 | | | | |
| ダ1000 | 475 | 477 | 478 | | | 481 | 480 | | | 475 |
| ダ1150 | | | 530 | | | | | | | |
| ダ1200 | | | | 547 | 546 | 550 | 562 | 547 | 546 | |
| ダ1300 | | | | | 578 | | | | | |
| ダ1400 | | | | | 612 | | 619 | 612 | 611 | |
| ダ1500 | | | | | | | | | | |
| ダ1600 | | | | | 678 | | 694 | | | |
| ダ1700 | 720 | 724 | 723 | 727 | | | 727 | | | 724 |
| ダ1800 | | | | 760 | | 769 | 768 | 753 | 757 | |
| ダ1870 | | | | | | | | | | |
| ダ1900 | | | | | | | 793 | 786 | | |
| ダ2000 | | | | | | | | | 822 | |
| ダ2100 | | | | | 852 | | | | | |
| ダ2300 | | | | | | | 937 | | | |
| ダ2400 | 971 | 977 | 971 | | 964 | 983 | | | | 973 |
| ダ2500 | | | | 1008 | | 1007 | 1014 | | | |
| ダ2600 | | | | | | | | | | |
)";

const char* const kPrintedE = R"(
| Course | 01 | 02 | 03 | 04 | 05 | 06 | 07 | 08 | 09 | 10 |
| 芝1000 | 348 | 352 | 343 | 336 | | | 345 | | | 338 |
| 芝1200 | 352 | 354 | 349 | 348 | | 344 | 347 | 347 | 348 | 347 |
| 芝1400 | | | | 352 | 353 | | 359 | 351 | 353 | |
| 芝1500 | 359 | | | | | | | | | |
| 芝1600 | | | | 352 | 354 | 354 | 363 | 353 | 353 | |
| 芝1700 | | | 361 | | | | 352 | | | 357 |
| 芝1800 | 363 | 367 | 362 | 364 | 362 | 361 | 360 | 364 | 366 | 361 |
| 芝2000 | 363 | 366 | 363 | 362 | 361 | 361 | 360 | 360 | 360 | 363 |
| 芝2200 | | | | 360 | 359 | 360 | 373 | 358 | 361 | |
| 芝2300 | | | | | 362 | | | | | |
| 芝2400 | | | | 360 | 362 | | | 360 | 361 | |
| 芝2500 | | | | | 361 | 365 | 363 | | 362 | |
| 芝2600 | 366 | 372 | 365 | | | | | | 366 | 367 |
| 芝3000 | | | | | | | 373 | 367 | 363 | |
| 芝3200 | | | | | 369 | 367 | | 369 | | |
| 芝3400 | | | | | 368 | | | | | |
| 芝3600 | | | | | | 361 | | | | |
| ダ1000 | 358 | 357 | 358 | | | 364 | 358 | | | 356 |
| ダ1150 | | | 358 | | | | | | | |
| ダ1200 | | | | 364 | 365 | 364 | 354 | 366 | 364 | |
| ダ1300 | | | | | 367 | | | | | |
| ダ1400 | | | | | 369 | | 366 | 370 | 369 | |
| ダ1500 | | | | | | | | | | |
| ダ1600 | | | | | 372 | | 371 | | | |
| ダ1700 | 378 | 381 | 381 | 378 | | | 383 | | | 382 |
| ダ1800 | | | | 383 | | 389 | 388 | 380 | 381 | |
| ダ1870 | | | | | | | | | | |
| ダ1900 | | | | | | | 379 | 382 | | |
| ダ2000 | | | | | | | | | 382 | |
| ダ2100 | | | | | 383 | | | | | |
| ダ2300 | | | | | | | 387 | | | |
| ダ2400 | 389 | 392 | 390 | | 386 | 395 | | | | 390 |
| ダ2500 | | | | 393 | | 400 | 401 | | | |
| ダ2600 | | | | | | | | | | |
)";

const char* const kChangesC =
    "芝1200 at 06 1086, 07 1095, 08 1089, 09 1092; 芝1600 at 05 1345, 08 1347; 芝1800 at 08 1472; 芝2000 at 04 2003, 08 2011; 芝2400 at 08 2274; 芝3000 at 08 3068; 芝3400 at 05 3350; ダ1200 at 06 1125; ダ1800 at 08 1534; ダ2000 at 09 2068; ダ2100 at 05 2133.";

const char* const kChangesD =
    "芝1200 at 06 518, 07 524; 芝1400 at 08 582; 芝1600 at 05 647, 08 647; 芝2400 at 08 912; 芝3000 at 08 1118; 芝3400 at 05 1257; ダ1800 at 06 771, 08 755; ダ2100 at 05 855.";

const char* const kPrintedCoefficients = R"(
| Turf (芝) distance D | Factor | Dirt (ダ) distance D | Factor |
| below 1000 | 1.035 | below 1000 | 1.035 |
| 1000 to 1199 | 1.03 | 1000 to 1149 | 1.03 |
| 1200 to 1399 | 1.025 | 1150 to 1199 | 1.025 |
| 1400 to 1499 | 1.02 | 1200 to 1299 | 1.02 |
| 1500 to 1599 | 1.01 | 1300 to 1399 | 1.015 |
| 1600 to 1699 | 1.0 | 1400 to 1499 | 1.01 |
| 1700 to 1799 | 0.995 | 1500 to 1599 | 1.005 |
| 1800 to 1999 | 0.99 | 1600 to 1699 | 1.0 |
| 2000 to 2199 | 0.98 | 1700 to 1799 | 0.995 |
| 2200 to 2299 | 0.975 | 1800 to 1899 | 0.985 |
| 2300 to 2399 | 0.97 | 1900 to 1999 | 0.975 |
| 2400 to 2499 | 0.965 | 2000 to 2099 | 0.97 |
| 2500 to 2599 | 0.96 | 2100 to 2299 | 0.96 |
| 2600 to 2999 | 0.95 | 2300 to 2399 | 0.955 |
| 3000 to 3199 | 0.945 | 2400 to 2499 | 0.95 |
| 3200 to 3399 | 0.94 | 2500 to 2599 | 0.94 |
| 3400 to 3599 | 0.935 | 2600 and above | 0.93 |
| 3600 and above | 0.93 | | |
)";

std::vector<std::string> splitCells(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '|') {
            const auto b = cell.find_first_not_of(' ');
            const auto e = cell.find_last_not_of(' ');
            cells.push_back(b == std::string::npos ? "" : cell.substr(b, e - b + 1));
            cell.clear();
        } else {
            cell += line[i];
        }
    }
    return cells;
}

// Course (UTF-8) -> column ("01" to "10", "oth") -> cell.
using Expected = std::vector<std::pair<std::string, std::map<std::string, std::optional<int>>>>;

Expected parsePrinted(const char* text) {
    std::istringstream in(text);
    std::string line;
    std::vector<std::string> header;
    Expected rows;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const auto cells = splitCells(line);
        if (header.empty()) {
            header = cells;
            continue;
        }
        std::map<std::string, std::optional<int>> row;
        for (const char* col : {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "oth"}) row[col];
        for (std::size_t i = 1; i < cells.size(); ++i)
            if (!cells[i].empty()) row[header[i]] = std::stoi(cells[i]);
        rows.emplace_back(cells[0], row);
    }
    return rows;
}

// "芝1200 at 06 1086, 07 1095; 芝1600 at 05 1345." applied to a copy of base.
Expected applyChanges(Expected base, const std::string& changes, bool clearOthers) {
    if (clearOthers)
        for (auto& [course, row] : base) row["oth"].reset();
    std::istringstream groups(changes.substr(0, changes.size() - 1));  // without the full stop
    std::string group;
    int applied = 0;
    while (std::getline(groups, group, ';')) {
        std::istringstream words(group);
        std::string course, at, col, value;
        words >> course >> at;
        auto row = std::find_if(base.begin(), base.end(), [&](const auto& r) { return r.first == course; });
        EXPECT_NE(row, base.end()) << course;
        while (words >> col >> value) {
            if (value.back() == ',') value.pop_back();
            row->second[col] = std::stoi(value);
            ++applied;
        }
    }
    EXPECT_GT(applied, 0);
    return base;
}

std::string describe(std::optional<int> v) { return v ? std::to_string(*v) : "missing"; }

// Track codes outside 01 to 10: above 10, and not a positive number.
const char* const kOtherAbove10[] = {"11", "30", "44", "99"};
const char* const kOtherNotPositive[] = {"00", "", "ab", "-1"};

void checkTable(char table, const Expected& expected) {
    ASSERT_EQ(expected.size(), 34u) << table;
    for (const auto& [course, row] : expected) {
        const std::string key = sj(course);
        for (const auto& [col, cell] : row) {
            if (col == "oth") continue;
            EXPECT_EQ(describe(standardLookup(table, key, col)), describe(cell))
                << "table " << table << " " << course << " at " << col;
        }
        // A track above 10 takes the other-tracks cell, except in table E.
        for (const char* code : kOtherAbove10)
            EXPECT_EQ(describe(standardLookup(table, key, code)), describe(table == 'E' ? std::nullopt : row.at("oth")))
                << "table " << table << " " << course << " at " << code;
        // A code that is not a positive number has no cell in tables A and E.
        for (const char* code : kOtherNotPositive)
            EXPECT_EQ(describe(standardLookup(table, key, code)),
                      describe(table == 'A' || table == 'E' ? std::nullopt : row.at("oth")))
                << "table " << table << " " << course << " at '" << code << "'";
    }
}

TEST(StandardTables, EveryCellOfEveryTable) {
    buildStandardTimeTables();
    const Expected a = parsePrinted(kPrintedA);
    const Expected b = parsePrinted(kPrintedB);
    checkTable('A', a);
    checkTable('B', b);
    checkTable('C', applyChanges(a, kChangesC, true));
    checkTable('D', applyChanges(b, kChangesD, false));
    checkTable('E', parsePrinted(kPrintedE));
}

TEST(StandardTables, CoursesWithoutRowAndUnknownTables) {
    for (char table : {'A', 'B', 'C', 'D', 'E'})
        for (const char* course : {"芝1100", "ダ1100", "障3000", "障1600", "??1600", "芝160", "芝16000", "", "1600"})
            EXPECT_FALSE(standardLookup(table, sj(course), "05")) << table << " " << course;
    for (char table : {'F', 'a', '\0'}) EXPECT_FALSE(standardLookup(table, sj("芝1200"), "06")) << table;
}

TEST(StandardTables, TrackCodeIsReadAsANumber) {
    EXPECT_EQ(standardLookup('A', sj("芝1200"), "6"), 1083);
    EXPECT_EQ(standardLookup('C', sj("芝1200"), "06"), 1086);
    EXPECT_EQ(standardLookup('A', sj("ダ1000"), "44"), 608);
}

// Distance -> factor ranges as printed: "below N", "A to B", "N and above".
void checkRange(const std::string& surface, const std::string& range, const std::string& factor) {
    if (range.empty()) return;
    std::vector<int> distances;
    std::istringstream words(range);
    std::string w1, w2, w3;
    words >> w1 >> w2 >> w3;
    if (w1 == "below") {
        distances = {0, std::stoi(w2) / 2, std::stoi(w2) - 1};
    } else if (w2 == "to") {
        const int lo = std::stoi(w1), hi = std::stoi(w3);
        distances = {lo, (lo + hi) / 2, hi};
    } else {
        distances = {std::stoi(w1), std::stoi(w1) + 1, 9999};
    }
    for (int d : distances) {
        char key[8];
        std::snprintf(key, sizeof key, "%04d", d);
        EXPECT_EQ(distanceCoefficient(sj(surface + key)), std::stof(factor)) << surface << key;
    }
}

TEST(DistanceCoefficient, EveryRangeOfBothSurfaces) {
    std::istringstream in(kPrintedCoefficients);
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line.find("distance D") != std::string::npos) continue;
        const auto cells = splitCells(line);
        ASSERT_EQ(cells.size(), 4u) << line;
        checkRange("芝", cells[0], cells[1]);
        checkRange("ダ", cells[2], cells[3]);
        ++rows;
    }
    EXPECT_EQ(rows, 18);
}

TEST(DistanceCoefficient, OtherSurfacesAndMalformedDistances) {
    EXPECT_EQ(distanceCoefficient(sj("障3000")), 1.0f);
    EXPECT_EQ(distanceCoefficient(sj("??1600")), 1.0f);
    EXPECT_EQ(distanceCoefficient(""), 1.0f);
    // A distance that is not a number counts as 0.
    EXPECT_EQ(distanceCoefficient(sj("芝abcd")), 1.035f);
    EXPECT_EQ(distanceCoefficient(sj("ダ")), 1.035f);
    EXPECT_EQ(distanceCoefficient(sj("芝1450")), 1.02f);
    EXPECT_EQ(distanceCoefficient(sj("ダ1450")), 1.01f);
}

TEST(DistanceCoefficient, HeldInSinglePrecision) {
    // 1.025 in single precision lies just below 1.025: 20 tenths become 20, not 21.
    EXPECT_EQ(roundHalfAway(20.0L * distanceCoefficient(sj("芝1200"))), 20);
    // 0.995 in single precision lies just above 0.995: 100 tenths become 100, where a
    // double-precision factor would give 99.
    EXPECT_EQ(roundHalfAway(100.0L * distanceCoefficient(sj("ダ1700"))), 100);
}

}  // namespace
}  // namespace tarvo
