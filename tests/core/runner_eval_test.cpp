// Runner evaluation over small hand-made stores: which runs count, the
// adjustments for today, the substitute runs on dirt, the interval penalty,
// the mark slots, the past-run cells and the two aptitude checks.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "record_io.h"
#include "runner_eval.h"
#include "runner_tables.h"
#include "store_fixture.h"
#include "store_paths.h"
#include "test_support.h"
#include "track_variant.h"
#include "um_index.h"

namespace tarvo {
namespace {

constexpr const char* kHorse = "2021100001";  // three years old in 2024

// The stored time of a run whose run index is x on 芝1600 at 東京 (standard 1:34.2)
// with variant +00 and 55.0 kg, and on 芝1200 / ダ1200 at 中山 (1:08.3, 1:12.3).
std::string tokyoTurf1600(int x) { return test::storedTime(942 - (x - 90)); }

// One past run of a horse, with its race.
struct PastRun {
    std::string date;  // yyyymmdd
    std::string jyoCD = "05", raceNum = "05";
    std::string trackCD = "10", kyori = "1600";
    std::string time = tokyoTurf1600(90), l3f = "345";
    std::string iJyoCD = "0", kakutei = "01";
    std::string futan = "550", timeDiff = "0", baTaijyu = "480", sexCD = "1";
    std::string dataKubun = "7";
    std::string syubetuCD = "13", jyokenCD5 = "005", gradeCD = " ";
    std::array<std::string, 3> corners = {"00", "00", "00"};
    std::string variant = "+00 *** T";  // stored for the race; no last-3F variant unless given
};

class EvalStore {
public:
    EvalStore() : paths(dir.path() + "data/") {
        engineSettings() = EngineSettings{};
    }

    void add(const PastRun& r, const std::string& kettoNum = kHorse) {
        const std::string year = r.date.substr(0, 4), md = r.date.substr(4, 4);
        const std::pair<const char*, std::string> key[] = {{"Year", year},   {"MonthDay", md}, {"JyoCD", r.jyoCD},
                                                           {"Kaiji", "01"}, {"Nichiji", "01"}, {"RaceNum", r.raceNum}};
        LineBuilder ra(Family::RA), se(Family::SE);
        for (const auto& [name, value] : key) {
            ra.assign(name, value);
            se.assign(name, value);
        }
        for (const auto& [name, value] : {std::pair<const char*, std::string>{"DataKubun", "7"},
                                          {"TrackCD", r.trackCD}, {"Kyori", r.kyori}, {"SyubetuCD", r.syubetuCD},
                                          {"JyokenCD5", r.jyokenCD5}, {"GradeCD", r.gradeCD}})
            ra.assign(name, value);
        writeRecord(paths.ra(year, md, r.jyoCD), ra.line(), recordKey(Family::RA));
        const std::pair<const char*, std::string> fields[] = {
            {"DataKubun", r.dataKubun}, {"Umaban", "01"},        {"KettoNum", kettoNum},   {"SexCD", r.sexCD},
            {"Futan", r.futan},         {"IJyoCD", r.iJyoCD},    {"KakuteiJyuni", r.kakutei},
            {"NyusenJyuni", r.kakutei}, {"Time", r.time},        {"HaronTimeL3", r.l3f},  {"TimeDiff", r.timeDiff},
            {"BaTaijyu", r.baTaijyu},   {"Jyuni2c", r.corners[0]}, {"Jyuni3c", r.corners[1]},
            {"Jyuni4c", r.corners[2]},  {"TrackCD", r.trackCD},  {"Kyori", r.kyori}};
        for (const auto& [name, value] : fields) se.assign(name, value);
        writeRecord(paths.se(year, md, r.jyoCD), se.line(), recordKey(Family::SE));
        writeVariant(paths, {year, md, r.jyoCD, r.raceNum}, r.variant);
        updateRunList(paths, kettoNum, "", r.jyoCD, r.date, r.sexCD);
    }

    // A call for the horse in a race of 2024-06-01 on 芝1600, class 005, weight for age.
    RunnerCall call() const {
        RunnerCall c;
        c.caller = "test";
        c.year = "2024";
        c.monthDay = "0601";
        c.kettoNum = kHorse;
        c.kisyuCode = "01234";
        c.kisyuCodeBefore = "01235";
        c.chokyosiCode = "00567";
        c.courseKey = course;
        c.weightKg = "55.0";
        c.jyokenCD5 = "005";
        c.gradeCD = " ";
        c.jyuryoCD = "2";
        c.baTaijyu = "480";
        c.sexCD = "1";
        c.row = 1;
        return c;
    }

    std::string evaluate(const RunnerCall& c) const { return evaluateRunner({paths, dir.path() + "file/"}, c); }
    std::vector<std::string> values(const RunnerCall& c) const { return splitCommaText(evaluate(c)); }

    test::TempDir dir;
    StorePaths paths;
    std::string course = sj("芝1600");
};

PastRun runOn(const std::string& date, int index) {
    PastRun r;
    r.date = date;
    r.time = tokyoTurf1600(index);
    return r;
}

PastRun scratchedOn(const std::string& date) {
    PastRun r = runOn(date, 0);
    r.iJyoCD = "1";
    r.kakutei = "00";
    r.time = "0000";
    return r;
}

TEST(RunnerEval, HorseWithoutRunsGivesTwentyFiveEmptyValues) {
    EvalStore s;
    EXPECT_EQ(s.evaluate(s.call()), std::string(24, ','));
    EXPECT_EQ(s.values(s.call()).size(), 25u);
}

TEST(RunnerEval, ScratchedRunTakesItsPlaceAndTheSixthRunIsNotRead) {
    EvalStore s;
    for (const PastRun& r : {runOn("20240501", 80), scratchedOn("20240420"), runOn("20240410", 85),
                             runOn("20240401", 82), runOn("20240320", 81), runOn("20240310", 110)})
        s.add(r);
    RunnerTable& t = allocateRunnerTable(kMainWindowCaller, 1);
    RunnerCall c = s.call();
    c.caller = kMainWindowCaller;
    const auto v = s.values(c);
    EXPECT_EQ(v[0], "80");   // the most recent run's index
    EXPECT_EQ(v[1], "85");   // the sixth run's 110 is never read
    EXPECT_EQ(v[3], "82");   // mean of 80, 85, 82, 81
    EXPECT_EQ(t.pastCells[4][0], sj("  東芝16  1\r\n 80( 80/ **)"));
    EXPECT_EQ(t.pastCells[3][0], sj("  東芝16 --\r\n 消( --/ --)"));
    EXPECT_EQ(t.pastSummaries[3][0], sj("芝16(消)(--)(--)"));
    EXPECT_EQ(t.pastSummaries[4][0], sj("芝16(80)(80)(**)"));
    EXPECT_EQ(t.pastRaceKeys[4][0], "202405010505");
    EXPECT_EQ(t.pastRaceKeys[0][0], "202403200505");
}

TEST(RunnerEval, EntriesOnOrAfterTheRaceDateAndUnconfirmedRunsTakeNoPlace) {
    EvalStore s;
    PastRun provisional = runOn("20240425", 130);
    provisional.dataKubun = "2";
    for (const PastRun& r : {runOn("20240701", 140), runOn("20240601", 120), runOn("20240501", 80), provisional,
                             runOn("20240420", 81), runOn("20240410", 82), runOn("20240401", 83),
                             runOn("20240320", 95)})
        s.add(r);
    const auto v = s.values(s.call());
    EXPECT_EQ(v[0], "80");
    EXPECT_EQ(v[1], "95");  // the fifth counted run is reached
    EXPECT_EQ(v[20], "1600");
}

TEST(RunnerEval, BestRunIndexIsAdjustedForTodaysWeightClassAndRule) {
    EvalStore s;
    s.add(runOn("20240501", 90));
    struct Case {
        const char* jyuryoCD;
        const char* jyokenCD5;
        const char* kg;
        const char* value0;
        const char* value1;
    } cases[] = {
        {"1", "005", "57.0", "88", "88"},  // handicap: minus W
        {"2", "005", "57.0", "88", "90"},  // weight for age, W >= -1: unchanged
        {"2", "005", "54.0", "91", "90"},  // W = -1 still unchanged
        {"2", "005", "53.0", "92", "91"},  // W = -2: minus W / 2
        {"2", "703", "57.0", "88", "88"},  // maiden: minus W
        {"2", "999", "57.0", "88", "90"},  // open at 59 kg or less: unchanged
        {"2", "999", "60.0", "85", "85"},  // open above 59 kg: minus W
        {"2", "999", "53.0", "92", "92"},  // open, W < -1: minus W
        {"1", "005", "5x", "90", "90"},    // not a number: 55.0
    };
    for (const Case& k : cases) {
        RunnerCall c = s.call();
        c.jyuryoCD = k.jyuryoCD;
        c.jyokenCD5 = k.jyokenCD5;
        c.weightKg = k.kg;
        const auto v = s.values(c);
        EXPECT_EQ(v[0], k.value0) << k.jyuryoCD << " " << k.jyokenCD5 << " " << k.kg;
        EXPECT_EQ(v[1], k.value1) << k.jyuryoCD << " " << k.jyokenCD5 << " " << k.kg;
    }
}

// A turf run at 中山 over 1200 m with run index 100 (coefficient 1.025: 10 tenths give 10.25).
PastRun nakayamaTurf1200(const std::string& date) {
    PastRun r;
    r.date = date;
    r.jyoCD = "06";
    r.kyori = "1200";
    r.time = test::storedTime(683 - 10);
    return r;
}

TEST(RunnerEval, TurfRunsStandInOnDirtAtTheListedTracksAndClasses) {
    EvalStore s;
    s.add(nakayamaTurf1200("20240501"));
    struct Case {
        const char* course;  // UTF-8
        const char* jyokenCD5;
        const char* gradeCD;
        const char* value8;
    } cases[] = {
        {"ダ1200", "703", " ", "100"},  // 中山 dirt 1200 for maidens: the turf run stands in
        {"ダ1200", "005", " ", "100"},
        {"ダ1200", "010", " ", "**"},   // another class: no substitute
        {"ダ1200", "703", "A", "**"},   // a G1: no substitute
        {"ダ1400", "703", " ", "**"},   // another distance
        {"芝1200", "010", " ", "100"},  // same surface
    };
    for (const Case& k : cases) {
        s.course = sj(k.course);
        RunnerCall c = s.call();
        c.jyokenCD5 = k.jyokenCD5;
        c.gradeCD = k.gradeCD;
        const auto v = s.values(c);
        EXPECT_EQ(v[8], k.value8) << k.course << " " << k.jyokenCD5 << " " << k.gradeCD;
        EXPECT_EQ(v[10], k.value8) << k.course << " " << k.jyokenCD5 << " " << k.gradeCD;
    }
}

TEST(RunnerEval, OnlyTheThreeMostRecentPositionsGiveTheSurfaceValues) {
    EvalStore s;
    for (const char* date : {"20240501", "20240420", "20240410"}) s.add(nakayamaTurf1200(date));
    PastRun dirt = nakayamaTurf1200("20240401");
    dirt.trackCD = "24";
    dirt.time = test::storedTime(723 - 5);  // ダ1200 at 中山: 95
    s.add(dirt);
    s.course = sj("ダ1200");
    RunnerCall c = s.call();
    c.jyokenCD5 = "703";
    const auto v = s.values(c);
    // The dirt run sets the surface flag, so the turf runs do not stand in; it
    // lies at the fourth position, beyond the three looked at.
    EXPECT_EQ(v[8], "**");
    EXPECT_EQ(v[9], "**");
    EXPECT_EQ(v[10], "**");
    EXPECT_EQ(v[1], "100");
}

TEST(RunnerEval, EachKindOfRunTakesItsIndex) {
    PastRun local = runOn("20240501", 0);  // 古馬地方重 at 大井, alone: the race-based index is the class value
    local.jyoCD = "44";
    local.trackCD = "24";
    local.jyokenCD5 = "000";
    local.gradeCD = "D";
    PastRun jump = runOn("20240501", 0);  // alone at its reference time, class 005: 75
    jump.trackCD = "51";
    jump.kyori = "3000";
    jump.time = "3200";
    PastRun localJump = jump;
    localJump.jyoCD = "44";
    PastRun variant = runOn("20240501", 90);
    variant.variant = "+05 *** T";
    struct Case {
        const char* name;
        PastRun run;
        const char* course;  // today's, UTF-8
        bool bbdcmp;
        const char* value1;
        const char* cell;  // UTF-8
    } cases[] = {
        {"local run", local, "芝1600", false, "90", "  大ダ16  1\r\n 90( 90/ **)"},
        {"central jump run, jump today", jump, "障3000", false, "75", "  東障30  1\r\n 75( 75/ **)"},
        {"central jump run, flat today", jump, "芝1600", false, "**", "  東障30  1\r\n **( --/ --)"},
        {"local jump run", localJump, "障3000", false, "**", "  大障30  1\r\n **( --/ --)"},
        {"stored variant", variant, "芝1600", false, "95", "  東芝16  1\r\n 95( 95/ **)"},
        // Computed from the store, the variant of a race of one runner is missing.
        {"computed variant", variant, "芝1600", true, "**", "  東芝16  1\r\n **( --/ --)"},
    };
    for (const Case& k : cases) {
        EvalStore s;
        s.add(k.run);
        s.course = sj(k.course);
        engineSettings().bbdcmp = k.bbdcmp;
        RunnerTable& t = allocateRunnerTable(kMainWindowCaller, 1);
        RunnerCall c = s.call();
        c.caller = kMainWindowCaller;
        EXPECT_EQ(s.values(c)[1], k.value1) << k.name;
        EXPECT_EQ(t.pastCells[4][0], sj(k.cell)) << k.name;
    }
    engineSettings() = EngineSettings{};
}

TEST(RunnerEval, IntervalPenalty) {
    struct Case {
        const char* gradeCD;
        int days, penalty;
    } cases[] = {
        {"A", 10, 1}, {" ", 10, 0}, {"A", 7, 2},   {"A", 8, 1},   {"D", 19, 1},  {"A", 20, 0},
        {"A", 119, 0}, {"B", 120, 1}, {"A", 269, 1}, {"A", 270, 2}, {"A", 364, 2}, {"C", 365, 4},
        {"A", 539, 4}, {"A", 540, 5}, {"E", 540, 4}, {"", 7, 1},    {" ", 100, 0},
    };
    for (const Case& k : cases) EXPECT_EQ(intervalPenalty(k.gradeCD, k.days), k.penalty) << k.gradeCD << k.days;

    EvalStore s;
    s.add(runOn("20240522", 90));
    RunnerCall c = s.call();
    c.gradeCD = "A";
    const auto v = s.values(c);
    EXPECT_EQ(v[14], "1");
    EXPECT_EQ(v[15], "1");
}

TEST(RunnerEval, BodyWeightsAndTheFixedWidthSummary) {
    EvalStore s;
    PastRun recent = runOn("20240501", 90);
    recent.kakutei = "02";
    recent.timeDiff = "3";
    recent.baTaijyu = "482";
    PastRun older = runOn("20240401", 85);
    older.kakutei = "05";
    older.timeDiff = "12";
    older.baTaijyu = "470";
    s.add(recent);
    s.add(older);
    RunnerCall c = s.call();
    c.weightKg = "57.0";
    const auto v = s.values(c);
    EXPECT_EQ(v[23], "48047048247622");
    EXPECT_EQ(v[24], std::string("05") + "02" + "3   " + "482" + "0030" + "03" + "1600" + "05" + "12  " + "01234" +
                         "01235" + "00567" + "57.0");
    EXPECT_EQ(v[24].size(), 46u);
    EXPECT_EQ(v[19], "1");  // three years old, a colt: 31 days / 25 rounded; two placed runs
}

TEST(RunnerEval, NoBodyWeightsGiveAMeanOfZero) {
    EvalStore s;
    PastRun a = runOn("20240501", 90), b = runOn("20240401", 90);
    a.baTaijyu = b.baTaijyu = "000";
    s.add(a);
    s.add(b);
    EXPECT_EQ(s.values(s.call())[23], "48000000000002");
}

TEST(RunnerEval, SummaryIsStoredUntrimmedEveryOtherValueTrimmed) {
    EvalStore s;
    s.add(scratchedOn("20240501"));
    RunnerTable& t = allocateRunnerTable("frmOther", 1);
    const std::string values = s.evaluate(s.call());
    storeEvaluation(t, 0, values);
    const std::string& summary = t.marks[31][0];
    ASSERT_EQ(summary.size(), 46u);
    EXPECT_EQ(summary.substr(0, 11), std::string(11, ' '));  // no normally finished run
    EXPECT_EQ(summary.substr(27, 5), "01234");                // the positions the prediction reads stay
    EXPECT_EQ(t.marks[17][0], "**");
    EXPECT_EQ(t.marks[6][0], "--");
    EXPECT_EQ(t.marks[29][0], "48048048048010");

    // Values go to their slots; the caller's other slots stay empty.
    storeEvaluation(t, 0, "\" 0 \",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\"11\",\"12\",\"13\","
                          "\"14\",\"15\",\"16\",\"17\",\"18\",\"19\",\"20\",\"21\",\"22\",\"23\",\" 24 \"");
    EXPECT_EQ(t.marks[17][0], "0");
    for (std::size_t v = 1; v <= 15; ++v) EXPECT_EQ(t.marks[v + 1][0], std::to_string(v));
    for (std::size_t v = 16; v <= 19; ++v) EXPECT_EQ(t.marks[v + 5][0], std::to_string(v));
    for (std::size_t v = 20; v <= 23; ++v) EXPECT_EQ(t.marks[v + 6][0], std::to_string(v));
    EXPECT_EQ(t.marks[31][0], " 24 ");
    for (std::size_t slot : {0u, 1u, 18u, 19u, 20u, 25u, 30u}) EXPECT_EQ(t.marks[slot][0], "");
}

TEST(RunnerTables, TheMainWindowAndTheSecondSetAreSeparate) {
    RunnerTable& mainSet = allocateRunnerTable(kMainWindowCaller, 3);
    mainSet.marks[0][2] = "x";
    RunnerTable& other = allocateRunnerTable("frmOdds", 2);
    EXPECT_NE(&mainSet, &other);
    EXPECT_EQ(&runnerTable("frmResult"), &other);
    EXPECT_EQ(mainSet.marks[0][2], "x");  // untouched by the other caller
    EXPECT_EQ(mainSet.pastCells[4].size(), 3u);
    EXPECT_EQ(mainSet.scores[3].size(), 3u);
    EXPECT_TRUE(other.pastCells[4].empty());  // the second set has no past-run lists
    EXPECT_TRUE(other.jockeyCodes.empty());
    EXPECT_EQ(other.marks[31].size(), 2u);
    allocateRunnerTable(kMainWindowCaller, 3);
    EXPECT_EQ(mainSet.marks[0][2], "");
}

TEST(RunnerEval, ScoresOfOtherValues) {
    EvalStore s;
    PastRun a = runOn("20240501", 100), b = runOn("20240401", 80), c = runOn("20231001", 90);
    a.variant = "+00 +00 T";  // last-3F index 95 below the run index 100: combined 100
    b.variant = "+00 +00 T";  // last-3F index 85 above the run index 80: combined 82.5, rounded 83
    a.corners = {"03", "04", "02"};
    b.corners = {"10", "00", "12"};
    c.kyori = "2000";
    c.time = "2030";  // 2.0 s slower than the standard of 芝2000 at 東京: about 70
    for (const PastRun& r : {a, b, c}) s.add(r);
    const auto v = s.values(s.call());
    EXPECT_EQ(v[2], "95");
    EXPECT_EQ(v[7], "100");
    EXPECT_EQ(v[5], "6.2");  // (3 + 4 + 2 + 10 + 12) / 5
    EXPECT_EQ(v[11], "100");
    EXPECT_EQ(v[13], "83");  // second-best combined index
    EXPECT_EQ(v[16], "100");
    EXPECT_EQ(v[18], "100");
    EXPECT_EQ(v[20], "1600");
    EXPECT_EQ(v[21], "2000");
    EXPECT_EQ(v[22], "1733");
}

// A CK record of the horse with the six counts of each field given.
struct Aptitude {
    std::string kyori = "1600";
    std::array<int, 6> umaKyori{}, umaJyo{}, kisyuKyori{}, kisyuJyo{};
    std::string surface = "Siba";
};

std::string countsText(const std::array<int, 6>& c, int width) {
    std::string s;
    for (int n : c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%0*d", width, n);
        s += buf;
    }
    return s;
}

void addAptitude(const StorePaths& p, const Aptitude& a) {
    LineBuilder b(Family::CK);
    for (const auto& [name, value] : {std::pair<const char*, std::string>{"Year", "2024"}, {"MonthDay", "0601"},
                                      {"JyoCD", "05"}, {"RaceNum", "11"}, {"KettoNum", kHorse},
                                      {"Kyori", a.kyori}, {"KisyuCode", "01234"}})
        b.assign(name, value);
    b.assign("Uma_Kyori" + a.surface, countsText(a.umaKyori, 3));
    b.assign("Uma_Jyo" + a.surface, countsText(a.umaJyo, 3));
    b.assign("Kisyu_Kyori" + a.surface, countsText(a.kisyuKyori, 4));
    b.assign("Kisyu_Jyo" + a.surface, countsText(a.kisyuJyo, 4));
    writeRecord(p.ck("2024", "0601", "05"), b.line(), recordKey(Family::CK));
}

TEST(AptitudeChecks, CourseAndDistanceRecord) {
    struct Case {
        const char* gradeCD;
        const char* trackCD;
        Aptitude a;
        const char* result;
    } cases[] = {
        {" ", "10", {"1600", {}, {0, 0, 1, 1, 1, 1}}, "0"},          // 1 of 4 in the first three: not below 0.25
        {" ", "10", {"1600", {}, {0, 0, 1, 2, 1, 1}}, "-3"},         // 1 of 5
        {"A", "10", {"1600", {}, {1, 0, 0, 1, 1, 0}}, "0"},          // graded, 1 of 3
        {"A", "10", {"1600", {}, {1, 0, 0, 1, 1, 1}}, "-3"},         // graded, 1 of 4 is below 0.28
        {"A", "10", {"1600", {}, {0, 0, 1, 1, 0, 0}}, "0"},          // fewer than 3 runs
        {" ", "10", {"1600", {0, 0, 0, 1, 1, 2}}, "-5"},             // 4 at the distance, none in the first three
        {" ", "10", {"1800", {0, 0, 0, 1, 1, 2}}, "0"},              // the record is of another distance
        {"B", "10", {"1600", {0, 1, 1, 1, 1, 0}}, "0"},              // graded: 1 of 4 first or second, 2 of 4 placed
        {"B", "10", {"1600", {0, 0, 2, 1, 1, 0}}, "-5"},             // graded: none first or second
        {" ", "10", {"1600", {0, 0, 0, 1, 1, 2}, {0, 0, 0, 3, 0, 0}}, "-8"},
        {" ", "24", {"1600", {0, 0, 0, 1, 1, 2}, {0, 0, 0, 3, 0, 0}}, "0"},  // dirt reads the dirt counts
        {" ", "24", {"1600", {0, 0, 0, 1, 1, 2}, {0, 0, 0, 3, 0, 0}, {}, {}, "Dart"}, "-8"},
    };
    for (const Case& k : cases) {
        EvalStore s;
        addAptitude(s.paths, k.a);
        EXPECT_EQ(courseAptitudeCheck(s.paths, {"2024", "0601", "05", "11"}, k.gradeCD, "1600", k.trackCD, kHorse),
                  k.result)
            << k.gradeCD << " " << k.trackCD << " " << k.a.kyori << " expected " << k.result;
    }
    EvalStore none;
    EXPECT_EQ(courseAptitudeCheck(none.paths, {"2024", "0601", "05", "11"}, "A", "1600", "10", kHorse), "0");
}

TEST(AptitudeChecks, JockeyRecord) {
    struct Case {
        const char* kisyuCode;
        const char* kyori;
        std::array<int, 6> kisyuKyori, kisyuJyo;
        const char* result;
    } cases[] = {
        {"01234", "1600", {10, 3, 2, 0, 0, 34}, {10, 3, 2, 0, 0, 34}, "00"},      // 49 rides: no flag
        {"01234", "1600", {10, 3, 2, 0, 0, 35}, {10, 3, 2, 0, 0, 35}, "11"},      // 50 rides, r2 0.26
        {"01234", "1600", {5, 5, 5, 0, 0, 35}, {5, 5, 5, 0, 0, 35}, "11"},        // r2 0.2 but r3 0.3
        {"01234", "1600", {12, 11, 4, 0, 0, 73}, {12, 11, 4, 0, 0, 73}, "10"},    // 100: distance limits 0.23 / 0.28
        {"01234", "1600", {12, 10, 5, 0, 0, 73}, {12, 10, 5, 0, 0, 73}, "00"},    // r2 0.22, r3 0.27
        {"01234", "1600", {20, 16, 6, 0, 0, 108}, {20, 16, 6, 0, 0, 108}, "11"},  // 150: r2 0.24, track limits too
        {"09999", "1600", {20, 20, 0, 0, 0, 60}, {20, 20, 0, 0, 0, 60}, "00"},    // another jockey
        {"01234", "2000", {20, 20, 0, 0, 0, 60}, {20, 20, 0, 0, 0, 60}, "00"},    // another distance
    };
    for (const Case& k : cases) {
        EvalStore s;
        Aptitude a;
        a.kisyuKyori = k.kisyuKyori;
        a.kisyuJyo = k.kisyuJyo;
        addAptitude(s.paths, a);
        EXPECT_EQ(jockeyAptitudeCheck(s.paths, {"2024", "0601", "05", "11"}, k.kisyuCode, k.kyori, "10", kHorse),
                  k.result)
            << k.kisyuCode << " " << k.kyori << " " << k.kisyuKyori[5];
    }
}

TEST(RunnerEvalCli, CallsAndTheirArguments) {
    test::TempDir home;
    std::string out, err;
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "interval", "A", "10"}, out), 0);
    EXPECT_EQ(out, "1\n");
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "eval", "2024", "0601", kHorse, "01234", "01235", "00567",
                            "芝1600", "57.0", "005", " ", "2", "480", "1"},
                           out),
              0);
    EXPECT_EQ(out, std::string(24, ',') + "\n");
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "course-check", "2024", "0601", "05", "11", "A", "1600",
                            "10", kHorse},
                           out),
              0);
    EXPECT_EQ(out, "0\n");
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "jockey-check", "2024", "0601", "05", "11", "01234",
                            "1600", "10", kHorse},
                           out),
              0);
    EXPECT_EQ(out, "00\n");
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "eval", "2024", "0601", kHorse, "01234", "01235", "00567",
                            "芝1600", "57.0", "005", " ", "2", "1480", "1"},
                           out, &err),
              2);
    EXPECT_NE(err.find("BATAIJYU"), std::string::npos);
    EvalStore s;  // its store root is the default one of its folder
    s.add(runOn("20240501", 90));
    EXPECT_EQ(test::runCli({"--home", s.dir.path(), "calc", "eval", "2024", "0601", kHorse, "01234", "01235", "00567",
                            "芝1600", "55.0", "005", " ", "2", "480", "1"},
                           out),
              0);
    EXPECT_EQ(out, toUtf8(s.evaluate(s.call())) + "\n");
    EXPECT_EQ(out.substr(0, 10), "\"90\",\"90\",");
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "interval", "A"}, out, &err), 2);
    EXPECT_NE(err.find("usage: calc interval GRADECD DAYS"), std::string::npos);
}

}  // namespace
}  // namespace tarvo
