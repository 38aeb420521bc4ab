// Race prediction and marks over hand-filled runner tables: the marks by race
// size, scratched runners, ties, races without runs, the odds-based choice of
// lists, the distance cap, the pace forecast and the draw and style scores.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "newcomer_stats.h"
#include "race_predict.h"
#include "record_io.h"
#include "runner_tables.h"
#include "store_fixture.h"
#include "test_support.h"
#include "textfn.h"

namespace tarvo {
namespace {

constexpr const char* kCaller = "test";

class PredictTest : public ::testing::Test {
protected:
    PredictTest() : store(dir.path() + "data/") { engineSettings() = EngineSettings{}; }

    // n runners with horse numbers 1 to n in table order, no values at all.
    RunnerTable& table(std::size_t n) {
        RunnerTable& t = allocateRunnerTable(kCaller, n);
        for (std::size_t i = 0; i < n; ++i) {
            t.marks[kSlotUmaban][i] = std::to_string(i + 1);
            t.odds[i] = "5.0";
        }
        return t;
    }

    // A runner whose indices all equal v, with no aptitude or interval term:
    // its A and B rank by v.
    static void rank(RunnerTable& t, std::size_t i, int v) {
        for (std::size_t slot : {2, 3, 8, 11, 23}) t.marks[slot][i] = std::to_string(v);
        t.marks[16][i] = "0";
        t.marks[18][i] = "0";
    }

    RaceCall race() const {
        RaceCall c;
        c.caller = kCaller;
        c.year = "2024";
        c.monthDay = "0601";
        c.syubetuCD = "13";
        c.jyokenCD5 = "005";
        c.gradeCD = " ";
        c.goingKey = going;
        c.courseKey = course;
        c.raceNum = "05";
        c.jyoCD = jyoCD;
        return c;
    }

    EvalSource source() const { return {store.paths, dir.path() + "file/"}; }
    void mark(std::size_t n) { markRace(source(), race(), static_cast<int>(n)); }

    // The PC marks in table order, "-" for none.
    static std::vector<std::string> marks(const RunnerTable& t) {
        std::vector<std::string> out;
        for (const std::string& m : t.marks[kSlotPcMark]) out.push_back(m.empty() ? "-" : toUtf8(m));
        return out;
    }

    test::TempDir dir;
    test::StoreFixture store;
    std::string going = sj("良"), course = sj("芝1600"), jyoCD = "05";
};

TEST_F(PredictTest, MarksFollowTheRaceSize) {
    struct Case {
        std::size_t n;
        std::vector<std::string> expected;  // by rank, the best first
    };
    const Case cases[] = {
        {5, {"◎", "○", "注", "-", "-"}},
        {6, {"◎", "○", "▲", "注", "-", "-"}},
        {9, {"◎", "○", "▲", "△", "注", "-", "-", "-", "-"}},
        {12, {"◎", "○", "▲", "△", "×", "注", "-", "-", "-", "-", "-", "-"}},
        {16, {"◎", "○", "▲", "△", "×", "☆", "注", "-", "-", "-", "-", "-", "-", "-", "-", "-"}},
    };
    for (const Case& c : cases) {
        RunnerTable& t = table(c.n);
        // Ranks run backwards through the table: the last runner is best.
        for (std::size_t i = 0; i < c.n; ++i) rank(t, i, static_cast<int>(50 + i));
        mark(c.n);
        const std::vector<std::string> given = marks(t);
        const std::vector<std::string> byRank(given.rbegin(), given.rend());
        EXPECT_EQ(byRank, c.expected) << c.n << " runners";
    }
}

TEST_F(PredictTest, ScratchedAndExcludedRunnersNeverGetAMark) {
    RunnerTable& t = table(5);
    for (std::size_t i = 0; i < 5; ++i) rank(t, i, 60 - static_cast<int>(i));
    t.odds[0] = sj("取消");
    t.odds[2] = sj("　除外 ");
    mark(5);
    EXPECT_EQ(marks(t), (std::vector<std::string>{"-", "◎", "-", "○", "注"}));
}

TEST_F(PredictTest, TiesGoToTheLowerHorseNumberThenTheEarlierRunner) {
    RunnerTable& t = table(5);
    for (std::size_t i = 0; i < 5; ++i) rank(t, i, 50);
    t.marks[kSlotUmaban] = {"5", "2", "4", "1", "3"};
    mark(5);
    EXPECT_EQ(marks(t), (std::vector<std::string>{"-", "○", "-", "◎", "注"}));
    EXPECT_EQ(t.scores[0][3] - t.scores[0][1], 1);  // one point per number

    // Equal horse numbers tie outright: the earlier runner is chosen.
    t = table(5);
    for (std::size_t i = 0; i < 5; ++i) {
        rank(t, i, 50);
        t.marks[kSlotUmaban][i] = "7";
    }
    mark(5);
    EXPECT_EQ(marks(t), (std::vector<std::string>{"◎", "○", "注", "-", "-"}));
}

TEST_F(PredictTest, RaceWithoutRunsGetsNoMarks) {
    RunnerTable& t = table(6);
    t.marks[kSlotPcMark][2] = sj("◎");  // an earlier marking is emptied
    mark(6);
    EXPECT_EQ(marks(t), std::vector<std::string>(6, "-"));
    EXPECT_EQ(t.scores[3][0], -150);
}

TEST_F(PredictTest, OddsChooseTheListsOfCentralRacesOnly) {
    // Runner 0 is best by A; runner 1 has weak indices but the shortest odds,
    // so the highest C; runners 2 to 9 rank by their indices.
    const auto fill = [&]() -> RunnerTable& {
        RunnerTable& t = table(10);
        rank(t, 0, 100);
        rank(t, 1, 40);
        t.odds[1] = "1.5";
        for (std::size_t i = 2; i < 10; ++i) {
            rank(t, i, 80 - static_cast<int>(i));
            t.odds[i] = "50.0";
        }
        return t;
    };
    struct Case {
        const char* jyoCD;
        bool oddadd;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"05", true, {"◎", "○", "▲", "△", "注", "-", "-", "-", "-", "-"}},
        {"05", false, {"◎", "-", "○", "▲", "△", "注", "-", "-", "-", "-"}},
        {"30", true, {"◎", "-", "○", "▲", "△", "注", "-", "-", "-", "-"}},  // local: as without odds
    };
    for (const Case& c : cases) {
        jyoCD = c.jyoCD;
        RunnerTable& t = fill();
        engineSettings().oddadd = c.oddadd;
        mark(10);
        EXPECT_EQ(marks(t), c.expected) << c.jyoCD << " oddadd " << c.oddadd;
    }
}

TEST_F(PredictTest, DistanceCapAndEmptyAptitudeSlot) {
    // Best same-surface combined index 105, none within the distance window,
    // ungraded dirt race: 東京 drops P to 0, 中山 keeps 105. An empty course
    // check slot reads as -150 while the check is on.
    struct Case {
        const char* jyoCD;
        const char* courseCheck;
        int p;  // P + aP
    };
    const Case cases[] = {{"05", "0", 0}, {"06", "0", 105}, {"06", "", 105 - 150}, {"06", "-3", 102}};
    course = sj("ダ1600");
    for (const Case& c : cases) {
        jyoCD = c.jyoCD;
        RunnerTable& t = table(1);
        for (std::size_t slot : {2, 3}) t.marks[slot][0] = "0";
        t.marks[11][0] = "105";
        t.marks[16][0] = "0";
        t.marks[18][0] = c.courseCheck;
        predictRace(source(), race());
        // A = (P + aP + 300) * 1,000,000 + lower terms below 1,000,000.
        EXPECT_EQ(t.scores[0][0] / 1000000 - 300, c.p) << c.jyoCD << " [" << c.courseCheck << "]";
    }
}

TEST_F(PredictTest, PerRunnerStepsMoveThePlaceFigures) {
    // 東京 ダ1600, class 005, no forecast: the leading term of A is P + bu + 300
    // and that of B is bD + N + 300 for a runner whose indices are all 80.
    struct Case {
        const char* what;
        std::vector<std::pair<std::size_t, std::string>> slots;
        int a, b;
    };
    // Value 24 from the track code to the age: last finish, margin, body weight, rest, age.
    const auto summary = [](const char* finish, const char* margin, const char* rest, const char* age) {
        return std::string("05") + finish + padRight(margin, 4) + "480" + rest + age;
    };
    const Case cases[] = {
        {"base", {}, 80, 80},
        {"won by 0.5 at four", {{31, summary("01", "-5", "0030", "04")}}, 81, 81},
        {"won by 0.4 at four", {{31, summary("01", "-4", "0030", "04")}}, 80, 80},
        {"beaten last time", {{31, summary("02", "-9", "0030", "04")}}, 80, 80},
        {"last index 70", {{17, "70"}}, 75, 80},
        {"last index 70 after a long rest", {{17, "70"}, {31, summary("05", "5", "0150", "04")}}, 80, 80},
        {"last index 69 after a long rest", {{17, "69"}, {31, summary("05", "5", "0150", "04")}}, 75, 80},
        {"last index 90, steady 60", {{17, "90"}, {13, "60"}}, 60, 80},
        {"recent best 60", {{12, "60"}}, 60, 80},
        {"longest run 1200 m", {{27, "1200"}}, 75, 75},
        {"shortest run 2000 m", {{26, "2000"}}, 80, 75},
        {"window best 70", {{23, "70"}}, 70, 80},
        {"interval penalty 2", {{16, "2"}}, 78, 78},
    };
    course = sj("ダ1600");
    for (const Case& c : cases) {
        RunnerTable& t = table(1);
        rank(t, 0, 80);
        for (const auto& [slot, value] : c.slots) t.marks[slot][0] = value;
        predictRace(source(), race());
        EXPECT_EQ(t.scores[0][0] / 1000000 - 300, c.a) << c.what;
        EXPECT_EQ(t.scores[1][0] / 1000000 - 300, c.b) << c.what;
    }
}

TEST_F(PredictTest, ScoresOutsideThe32BitRangeWrap) {
    // 中山 ダ1600, indices 0 apart from P: A = (P + 300) * 1,000,000 + 330,099.
    jyoCD = "06";
    course = sj("ダ1600");
    const auto wrapped = [](long long v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); };
    struct Case {
        const char* p;
        const char* odds;
        long long a;
    };
    const Case cases[] = {
        {"99999999", "5.0", (99999999LL + 300) * 1000000 + 330099},
        {"-99999999", "5.0", (-99999999LL + 300) * 1000000 + 330099},
        {"100000000", "5.0", (-150LL + 300) * 1000000 + 330099},  // beyond eight digits: not a number
        {"2147483648", "1e300", (-150LL + 300) * 1000000 + 330099},
    };
    for (const Case& c : cases) {
        RunnerTable& t = table(1);
        rank(t, 0, 0);
        t.marks[11][0] = c.p;
        t.marks[23][0] = c.p;
        t.odds[0] = c.odds;
        engineSettings().oddadd = true;
        predictRace(source(), race());
        EXPECT_EQ(t.scores[0][0], wrapped(c.a)) << c.p;
        // C = o' * 1,000 + 999, o' = 999 - odds truncated and held within int.
        const long long complement = std::string(c.odds) == "5.0" ? 994 : std::numeric_limits<int>::min();
        EXPECT_EQ(t.scores[2][0], wrapped(complement * 1000 + 999)) << c.odds;
    }
}

TEST_F(PredictTest, SprintPaceBonus) {
    // 中山 ダ1200 for three-year-old maidens: d = 364 + 12 * 0.28125 = 367.4
    // against a mean front pace of 355: pace Ｈ, so T = round((355 - w) / 3),
    // never below 0; at 1400 m 中山 has no bonus.
    test::StoreFixture::Race ra;
    ra.trackCD = "23";
    ra.kyori = "1200";
    store.addRace(ra);
    RaceCall c = race();
    c.year = ra.year;
    c.monthDay = ra.monthDay;
    c.jyoCD = ra.jyoCD;
    c.jyokenCD5 = "703";
    for (const auto& [distance, bonus] : {std::pair<const char*, int>{"1200", 5}, {"1400", 0}}) {
        course = sj("ダ") + distance;
        c.courseKey = course;
        RunnerTable& t = table(2);
        for (std::size_t i = 0; i < 2; ++i) {
            rank(t, i, 80);
            t.marks[6][i] = "5.0";
        }
        t.marks[7] = {"340", "370"};
        predictRace(source(), c);
        EXPECT_EQ(raceFigures().paceLabel, sj("Ｈ"));
        const int a = 380 + bonus;
        EXPECT_EQ(t.scores[0][0], a * 1000000 + a * 1000 + a * 100 + 100 - 1) << distance;
        EXPECT_EQ(t.scores[1][0] / 1000000 - 300, 80 + 2) << distance;  // B: V = 2 for 好位 at 中山 under Ｈ
        EXPECT_EQ(t.scores[0][1] / 1000000 - 300, 80) << distance;
    }
}

TEST_F(PredictTest, PaceForecast) {
    // 東京 芝1600, three-year-old maidens on 05-10: standard last 3F 354 and
    // class adjustment -12, so d = 354 + 12 * 0.375 = 358.5.
    test::StoreFixture::Race ra;
    ra.jyoCD = "05";
    store.addRace(ra);
    struct Case {
        std::vector<std::string> paces, corners;
        std::string forecast;
    };
    const Case cases[] = {
        {{"350", "355", "0"}, {"5.3", "6.1", "--"}, "359.0353.05.7 LHLH"},  // diff 6: LH
        {{"350", "355"}, {"6.0", "7.0"}, "359.0353.06.5 " + sj("ＭＭ")},      // far back: one slower
        {{"350", "355"}, {"3.0", "4.0"}, "359.0353.03.5 " + sj("ＨＨ")},      // close up: one faster
        {{"340", "346"}, {"5.0", "5.0"}, "359.0343.05.0 HHHH"},                // diff 15.5
        {{"370", "375"}, {"5.0", "5.0"}, "359.0373.05.0 " + sj("ＳＳ")},      // diff -14
        {{"375", "380"}, {"5.0", "5.0"}, "359.0378.05.0 SSSS"},                // diff -19
        {{"375", "380"}, {"12.4", "12.4"}, "359.0378.012.0SSSS"},              // no slower than SS
        {{"0", "***"}, {"5.3", "6.1"}, std::string(18, '-')},                  // no front paces
        {{"350"}, {"--"}, std::string(18, '-')},                               // no corner positions
    };
    for (const Case& c : cases) {
        RunnerTable& t = table(c.paces.size());
        for (std::size_t i = 0; i < c.paces.size(); ++i) {
            t.marks[7][i] = c.paces[i];
            t.marks[6][i] = c.corners[i];
        }
        EXPECT_EQ(paceForecast(store.paths, kCaller, ra.year, ra.monthDay, ra.raceNum, ra.jyoCD), c.forecast);
    }
    EXPECT_EQ(paceForecast(store.paths, kCaller, ra.year, "05x0", ra.raceNum, ra.jyoCD), std::string(18, '-'));
}

TEST_F(PredictTest, RaceLevelFigures) {
    test::StoreFixture::Race ra;
    ra.jyoCD = "05";
    store.addRace(ra);
    RaceCall c = race();
    c.year = ra.year;
    c.monthDay = ra.monthDay;
    struct Case {
        const char* jyoCD;
        const char* pace;
        RaceFigures expected;
    };
    const Case cases[] = {
        {"05", "352", {"359", "352", "5.3", "LH"}},
        {"05", "0", {"---", "---", "----", "--"}},  // no front paces: the dashes of the forecast
        {"30", "352", {"", "---", "", "--"}},     // local: no forecast
    };
    for (const Case& k : cases) {
        RunnerTable& t = table(1);
        t.marks[7][0] = k.pace;
        t.marks[6][0] = "5.3";
        c.jyoCD = k.jyoCD;
        predictRace(source(), c);
        const RaceFigures& f = raceFigures();
        EXPECT_EQ(std::vector<std::string>({f.standard3F, f.frontPace, f.position, f.paceLabel}),
                  std::vector<std::string>({k.expected.standard3F, k.expected.frontPace, k.expected.position,
                                            k.expected.paceLabel}))
            << k.jyoCD << " " << k.pace;
    }
}

TEST_F(PredictTest, NewcomerRaceScoresFromStatisticsAndTheJockeyRecord) {
    // A turf newcomer race of 1600 m on 2024-06-01 at 東京, race 05; the 2023
    // statistics give the jockey 3 + 3 (turf) and 1 + 2 (turf middle), the
    // sire 4 + 2 and 2 + 1; the dam sire has no line.
    const std::string horse = "2022100001";
    const std::string folder = dir.path() + "file/";
    test::spit(newcomerFile(folder, NewcomerTable::Jockey, 2023),
               padRight("Rider", 8) + "01234" + placeBlockText(3, 3, 0, 10) + placeBlockText(0, 0, 0, 0) +
                   placeBlockText(0, 0, 0, 0) + placeBlockText(1, 2, 0, 5) + std::string(36, '0') + "\r\n");
    test::spit(newcomerFile(folder, NewcomerTable::Sire, 2023),
               padRight(sj("サイアー"), 36) + placeBlockText(4, 2, 0, 10) + placeBlockText(0, 0, 0, 0) +
                   placeBlockText(0, 0, 0, 0) + placeBlockText(2, 1, 0, 5) + std::string(36, '0') + "\r\n");
    LineBuilder um(Family::UM);
    um.assign("KettoNum", horse);
    um.assign("Ketto3InfoBamei1", sj("サイアー"));
    writeRecord(store.paths.um(horse, "datn"), um.line(), recordKey(Family::UM));
    // The jockey's CK record: 40 of 200 in the first two at the distance, 20 of 100 at the track.
    LineBuilder ck(Family::CK);
    for (const auto& [name, value] : {std::pair<const char*, const char*>{"Year", "2024"}, {"MonthDay", "0601"},
                                      {"JyoCD", "05"}, {"RaceNum", "05"}, {"Kyori", "1600"}})
        ck.assign(name, value);
    ck.assign("KettoNum", horse);
    ck.assign("Kisyu_KyoriSiba", "002000200020002000200100");
    ck.assign("Kisyu_JyoSiba", "001000100010001000100050");
    writeRecord(store.paths.ck("2024", "0601", "05"), ck.line(), recordKey(Family::CK));

    struct Case {
        const char* summary;  // value 24: the jockey at 28-32, a previous jockey at 33-37, the weight at 43-46
        std::array<std::int32_t, 4> scores;
    };
    const std::string head(27, ' ');
    const Case cases[] = {
        // ad 3, cy 5, sv 5, dv 0, ac = round(0.4 * 50) + 50 = 70, wt = 56 - 55 = 1;
        // al = 3 + 5 + 50 - 2 = 56 < ac: h = 63.
        {"01234          55.0", {6300 + 30100 - 1, (5 + 70 + 5 + 0 + 10 + 300) * 100 + 99, 80 * 1000 + 999, 70}},
        // A previous jockey: ac = 60; no jockey statistics without the code, so
        // ad = cy = 0, al = 0 + 5 + 50 - 2 = 53 and h = round(56.5) = 57.
        {"     01111     55.0", {5700 + 30100 - 1, (0 + 60 + 5 + 0 + 10 + 300) * 100 + 99, 65 * 1000 + 999, 60}},
    };
    RaceCall c = race();
    c.jyokenCD5 = "701";
    c.syubetuCD = "12";
    for (const Case& k : cases) {
        RunnerTable& t = table(1);
        t.kettoNums[0] = horse;
        t.marks[kSlotSexName][0] = sj("牡");
        t.marks[31][0] = head + k.summary;
        predictRace(source(), c);
        EXPECT_EQ((std::array<std::int32_t, 4>{t.scores[0][0], t.scores[1][0], t.scores[2][0], t.scores[3][0]}),
                  k.scores)
            << k.summary;
    }
}

TEST(RaceScores, DrawScore) {
    struct Case {
        const char* jyoCD;
        const char* course;
        int u, maxUmaban;
        const char* gradeCD;
        int expected;
    };
    const Case cases[] = {
        {"01", "芝1200", 11, 16, " ", -1}, {"01", "芝1200", 10, 16, " ", 0},  {"04", "芝1000", 5, 18, " ", -1},
        {"04", "芝1000", 14, 18, " ", 1},  {"04", "芝1000", 13, 18, " ", 0},  {"04", "芝2000", 14, 18, "A", 0},
        {"04", "芝2000", 14, 18, " ", -1}, {"05", "芝1500", 13, 16, " ", -1}, {"06", "芝1600", 7, 16, " ", 1},
        {"06", "芝1600", 13, 16, " ", -1}, {"06", "芝2500", 13, 16, " ", -1}, {"06", "芝2500", 3, 16, " ", 0},
        {"07", "芝1200", 18, 18, " ", 0},  {"09", "芝1400", 14, 18, "B", 0},  {"09", "芝1400", 14, 18, " ", -1},
        {"06", "ダ1200", 16, 16, " ", 0},  {"30", "芝1200", 16, 16, " ", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(drawScore(c.jyoCD, sj(c.course), c.u, c.maxUmaban, c.gradeCD), c.expected)
            << c.jyoCD << " " << c.course << " " << c.u;
}

TEST(RaceScores, RunningStyleScore) {
    struct Case {
        const char* jyoCD;
        const char* course;
        const char* gradeCD;
        double x;
        const char* pace;
        const char* jyokenCD5;
        int expected;
    };
    const Case cases[] = {
        {"06", "芝1600", " ", 0, "HH", "005", 1 - 2 - 3},     // 逃げ on a front-runner track, R2 = 3
        {"06", "芝1600", " ", 3.0, "Ｈ", "005", 2 - 1 - 1},  // 先行, R25 = round(1.2)
        {"08", "芝1600", " ", 5.0, "LH", "005", 0},           // 好位, R3 = round(1/3)
        {"05", "芝1600", "A", 8.0, "Ｓ", "999", 0 + 2 - 1 - 2},  // 差し on a closer track, S4 = round(-1.75)
        {"05", "ダ1400", " ", 12.0, "SS", "005", -1 - 2 - 4},  // 追込: front-runner track, no closer bonus
        {"08", "ダ3000", " ", 12.0, "SS", "005", 0 + 2 - 2 - 4},
        {"06", "芝1600", " ", 1.0, "--", "005", 0},            // no forecast
        {"06", "芝1600", " ", 5.5, "Ｍ", "005", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(runningStyleScore(c.jyoCD, sj(c.course), c.gradeCD, c.x, sj(c.pace), c.jyokenCD5), c.expected)
            << c.jyoCD << " " << c.course << " " << c.x << " " << c.pace;
}

}  // namespace
}  // namespace tarvo
