// The prediction results tally over small hand-made stores: the bets the
// marks imply and their payouts (dead heats), the axis finish and counter, the
// filters (an OPEN race of grade L), the summaries (class groups of 005, 010,
// 016), PC marks of small races, cancelling, the refused period, the rates
// and the CSV; and tarvo-cli tally.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "record_io.h"
#include "store_fixture.h"
#include "tally_view.h"
#include "test_support.h"
#include "textfn.h"
#include "track_variant.h"
#include "um_index.h"

namespace tarvo {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;  // UTF-8 values

struct Runner {
    std::string umaban, mark;  // mark: the stored user mark (UTF-8)
    std::string kakutei = "00", ijyo = "0";
};

class TallyTest : public ::testing::Test {
protected:
    TallyTest() : store(dir.path() + "data/") { engineSettings() = EngineSettings{}; }

    // A confirmed 古馬 race of 2024 on 芝1600 at good going; more fields override.
    test::StoreFixture::Race addRace(const std::string& monthDay, const std::string& jyoCD, const std::string& raceNum,
                                     const Fields& more = {}) {
        const test::StoreFixture::Race r = test::race(monthDay, jyoCD, raceNum);
        LineBuilder b(Family::RA);
        test::setRaceKey(b, r);
        const Fields base = {{"DataKubun", "7"},   {"TrackCD", "10"},    {"Kyori", "1600"},   {"SyubetuCD", "13"},
                             {"JyokenCD5", "005"}, {"GradeCD", " "},     {"SibaBabaCD", "1"}, {"DirtBabaCD", "2"},
                             {"SyussoTosu", "16"}, {"Ryakusyo10", "レース" + raceNum}};
        for (const Fields* fs : {&base, &more})
            for (const auto& [name, value] : *fs) b.assignRaw(name, sj(value));
        writeRecord(store.paths.ra(r.year, r.monthDay, r.jyoCD), b.line(), recordKey(Family::RA));
        return r;
    }

    void addRunners(const test::StoreFixture::Race& r, const std::vector<Runner>& runners) {
        for (const Runner& u : runners) {
            LineBuilder b(Family::SE);
            test::setRaceKey(b, r);
            const Fields fields = {{"DataKubun", "7"},      {"Umaban", u.umaban},    {"KettoNum", "20190000" + u.umaban},
                                   {"UserYoso", u.mark},    {"KakuteiJyuni", u.kakutei}, {"IJyoCD", u.ijyo},
                                   {"Futan", "550"},        {"Odds", "0123"}};
            for (const auto& [name, value] : fields) b.assignRaw(name, sj(value));
            writeRecord(store.paths.se(r.year, r.monthDay, r.jyoCD), b.line(), recordKey(Family::SE));
        }
    }

    // Payouts: {field, value} pairs of the HR record.
    void addPayouts(const test::StoreFixture::Race& r, const Fields& pays) {
        LineBuilder b(Family::HR);
        test::setRaceKey(b, r);
        for (const auto& [name, value] : pays) b.assignRaw(name, value);
        writeRecord(store.paths.hr(r.year, r.monthDay), b.line(), recordKey(Family::HR));
    }

    TallyResult tally(TallyOptions o, const TallyHooks& hooks = {}) {
        if (o.from.empty()) o.from = "20240101";
        if (o.to.empty()) o.to = "20241231";
        return runTally({store.paths, dir.path() + "file/"}, o, hooks);
    }

    static TallyOptions us(TallyBet bet = TallyBet::Umaren) {
        TallyOptions o;
        o.userMarks = true;
        o.bet = bet;
        return o;
    }

    // Columns 8 to 13 of a race row (点 軸 当 配当 収支 回収率), UTF-8.
    static std::vector<std::string> outcome(const std::vector<std::string>& row) {
        std::vector<std::string> out;
        for (std::size_t c = 8; c <= 13; ++c) out.push_back(toUtf8(row[c]));
        return out;
    }

    static std::string label(const ScreenView& v, const char* name) { return toUtf8(v.label(name)); }

    static const ScreenView::GridRows& grid(const ScreenView& v, const std::string& name) {
        for (const auto& g : v.grids)
            if (g.name == name) return g;
        throw std::logic_error("no grid " + name);
    }

    test::TempDir dir;
    test::StoreFixture store;
};

TEST_F(TallyTest, BetsOfEachTypeAgainstTheStoredPayoutsWithADeadHeat) {
    // ◎ 05 finished first, dead heat for second between 02 and 09.
    const auto r = addRace("0601", "05", "11");
    addRunners(r, {{"02", "○", "02"}, {"05", "◎", "01"}, {"07", "▲", "04"}, {"09", "注", "02"}, {"11", "", "05"}});
    addPayouts(r, {{"PayTansyoUmaban1", "05"},  {"PayTansyoPay1", "000000350"},
                   {"PayUmarenKumi1", "0205"},  {"PayUmarenPay1", "000001200"},
                   {"PayUmarenKumi2", "0509"},  {"PayUmarenPay2", "000002100"},
                   {"PayUmatanKumi1", "0502"},  {"PayUmatanPay1", "000002000"},
                   {"PayUmatanKumi2", "0509"},  {"PayUmatanPay2", "000003700"}});
    struct Case {
        TallyBet bet;
        std::vector<std::string> outcome;
    };
    const Case cases[] = {
        {TallyBet::Tansho, {"1", "1", "○", "350", "250", "350.0"}},
        {TallyBet::Umaren, {"3", "1", "○", "3300", "3000", "1100.0"}},  // 0205, 0507, 0509
        {TallyBet::Umatan, {"3", "1", "○", "5700", "5400", "1900.0"}},  // 0502, 0507, 0509
    };
    for (const Case& c : cases) {
        const TallyResult t = tally(us(c.bet));
        ASSERT_EQ(t.races.size(), 1u);
        EXPECT_EQ(outcome(t.races[0]), c.outcome);
        EXPECT_EQ(t.maxPay, toIntDef(c.outcome[3], 0));
    }
}

TEST_F(TallyTest, AxisFinishShowsTheRunnersStatusBeforeItsPosition) {
    struct Case {
        std::string kakutei, ijyo, shown;
    };
    const Case cases[] = {{"03", "0", "3"}, {"97", "2", "除"}, {"98", "3", "除"}, {"99", "4", "止"},
                          {"05", "5", "失"}, {"00", "1", "--"}, {"02", "7", "2"}, {"00", "0", "--"}};
    int n = 0;
    for (const Case& c : cases) {
        const auto r = addRace("0601", "05", twoDigits(++n));
        addRunners(r, {{"01", "◎", c.kakutei, c.ijyo}, {"02", "○", "01"}});
    }
    const TallyResult t = tally(us(TallyBet::Tansho));
    ASSERT_EQ(t.races.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(toUtf8(t.races[i][9]), cases[i].shown) << i;
}

TEST_F(TallyTest, UserMarksWithoutAnAxisOrWithOnlyAnAxis) {
    // No marks at all; only ◎; ◎ and ○.
    addRunners(addRace("0601", "05", "01"), {{"01", "", "01"}, {"02", "", "02"}});
    addRunners(addRace("0601", "05", "02"), {{"01", "◎", "01"}, {"02", "", "02"}});
    addRunners(addRace("0601", "05", "03"), {{"01", "◎", "02"}, {"02", "○", "01"}});
    const std::vector<std::string> nothing = {"--", "--", "--", "---", "---", "---"};

    TallyResult t = tally(us(TallyBet::Umaren));
    EXPECT_EQ(outcome(t.races[0]), nothing);
    EXPECT_EQ(outcome(t.races[1]), (std::vector<std::string>{"--", "1", "--", "---", "---", "---"}));
    EXPECT_EQ(outcome(t.races[2]), (std::vector<std::string>{"1", "2", "×", "0", "-100", "0.0"}));
    // The axis counter counts only races that bought something: 1 of 1, not 2 of 1.
    ScreenView v = tallyScreen(us(), t);
    EXPECT_EQ(label(v, "stxtYosoCnt"), "1");
    EXPECT_EQ(label(v, "stxtRate"), "100.0");
    EXPECT_EQ(label(v, "stxtHitRate"), "0.0");
    EXPECT_EQ(label(v, "stxtRcvRate"), "0.0");

    // 馬単 counts only a winning axis.
    t = tally(us(TallyBet::Umatan));
    v = tallyScreen(us(TallyBet::Umatan), t);
    EXPECT_EQ(label(v, "lbl_rate"), "軸勝率");
    EXPECT_EQ(label(v, "stxtRate"), "0.0");
}

TEST_F(TallyTest, RaceFilters) {
    // Kept by default: 11 (005), 12 (OPEN without grade), 13 (OPEN grade E), 14 (G1 over jumps).
    addRace("0601", "05", "11");
    addRace("0601", "05", "12", {{"JyokenCD5", "999"}});
    addRace("0601", "05", "13", {{"JyokenCD5", "999"}, {"GradeCD", "E"}});
    addRace("0601", "05", "14", {{"JyokenCD5", "999"}, {"GradeCD", "F"}, {"TrackCD", "51"}, {"Kyori", "4250"},
                                 {"SyubetuCD", "18"}});
    // Left out: an OPEN race of grade L, a race kind outside the age boxes, a
    // distance below 1000, an unfinished race, a local track.
    addRace("0601", "05", "01", {{"JyokenCD5", "999"}, {"GradeCD", "L"}});
    addRace("0601", "05", "02", {{"SyubetuCD", "21"}});
    addRace("0601", "05", "03", {{"Kyori", "0800"}});
    addRace("0601", "05", "04", {{"DataKubun", "2"}});
    addRace("0601", "44", "01");

    auto kept = [&](const TallyOptions& o) {
        std::vector<std::string> races;
        for (const auto& row : tally(o).races) races.push_back(row[3]);
        return races;
    };
    TallyOptions o;
    EXPECT_EQ(kept(o), (std::vector<std::string>{"11", "12", "13", "14"}));
    o.classes[5] = false;  // OPEN
    EXPECT_EQ(kept(o), (std::vector<std::string>{"11", "14"}));
    o = {};
    o.surfaces[2] = false;  // 障
    o.distTo = "2000";
    EXPECT_EQ(kept(o), (std::vector<std::string>{"11", "12", "13"}));
    o = {};
    o.goings[0] = false;  // 良 (the jump race on 芝 reads the turf going too)
    EXPECT_TRUE(kept(o).empty());
    o = {};
    o.track = sj("関西");
    EXPECT_TRUE(kept(o).empty());
    o.track = sj("中４");
    EXPECT_EQ(kept(o).size(), 4u);
    o.from = o.to = "20240602";
    EXPECT_TRUE(kept(o).empty());
}

TEST_F(TallyTest, SummariesByDateTrackClassAndDistance) {
    const Runner hit[] = {{"01", "◎", "01"}, {"02", "○", "02"}};
    const Runner miss[] = {{"01", "◎", "03"}, {"02", "○", "01"}};
    auto add = [&](const std::string& md, const std::string& jyo, const std::string& num, const Fields& f, bool won) {
        const auto r = addRace(md, jyo, num, f);
        addRunners(r, won ? std::vector<Runner>(std::begin(hit), std::end(hit))
                          : std::vector<Runner>(std::begin(miss), std::end(miss)));
        if (won) addPayouts(r, {{"PayUmarenKumi1", "0102"}, {"PayUmarenPay1", "000000450"}});
    };
    add("0602", "06", "01", {{"JyokenCD5", "005"}}, true);
    add("0601", "05", "02", {{"JyokenCD5", "010"}, {"TrackCD", "23"}, {"Kyori", "1400"}}, false);
    add("0601", "05", "01", {{"JyokenCD5", "016"}}, true);
    add("0601", "06", "03", {{"JyokenCD5", "703"}, {"Kyori", "2600"}}, false);

    const ScreenView v = tallyScreen(us(), tally(us()));
    auto rows = [&](const char* name) {
        std::vector<std::string> out;
        for (const auto& row : grid(v, name).rows) {
            std::string line;
            for (const std::string& c : row) line += toUtf8(c) + "|";
            out.push_back(line);
        }
        return out;
    };
    // The race grid in date, track and race order.
    const auto& races = grid(v, "stgShuRRes").rows;
    ASSERT_EQ(races.size(), 5u);
    EXPECT_EQ(races[1][0] + races[1][2] + races[1][3], "202406010501");
    EXPECT_EQ(races[4][0] + races[4][2] + races[4][3], "202406020601");
    EXPECT_EQ(toUtf8(races[1][15]), "1600");
    EXPECT_EQ(toUtf8(races[3][15]), "未勝");
    EXPECT_EQ(toUtf8(races[3][14]), "３上");

    EXPECT_EQ(rows("stgShuDRes")[1], "20240601|3|1|33.3|33.3|300|450|150|150.0|450|");
    EXPECT_EQ(rows("stgShuDRes")[2], "20240602|1|1|100.0|100.0|100|450|350|450.0|450|");
    EXPECT_EQ(rows("stgShuCRes"), (std::vector<std::string>{
                                       " 競馬場|ﾚｰｽ数|的中数|軸連率|的中率|購入|払戻|収支|回収率|最高配当|",
                                       " 東京|2|1|50.0|50.0|200|450|250|225.0|450|",
                                       " 中山|2|1|50.0|50.0|200|450|250|225.0|450|"}));
    EXPECT_EQ(rows("stgShuLRes"), (std::vector<std::string>{
                                       " クラス|ﾚｰｽ数|的中数|軸連率|的中率|購入|払戻|収支|回収率|最高配当|",
                                       " 未勝利|1|0|0.0|0.0|100|0|-100|0.0|0|",
                                       " 500万|1|1|100.0|100.0|100|450|350|450.0|450|",
                                       " 1000万|1|0|0.0|0.0|100|0|-100|0.0|0|",
                                       " 1600万|1|1|100.0|100.0|100|450|350|450.0|450|"}));
    EXPECT_EQ(rows("stgShuKRes"), (std::vector<std::string>{
                                       " 距離|ﾚｰｽ数|的中数|軸連率|的中率|購入|払戻|収支|回収率|最高配当|",
                                       " 芝1400～1799|2|2|100.0|100.0|200|900|700|450.0|450|",
                                       " 芝2600～|1|0|0.0|0.0|100|0|-100|0.0|0|",
                                       " ダ1400～1799|1|0|0.0|0.0|100|0|-100|0.0|0|"}));
    EXPECT_EQ(label(v, "stxtRaceCnt"), "4");
    EXPECT_EQ(label(v, "stxtMaxPay"), "450");
    EXPECT_EQ(label(v, "stxtRcvRate"), "225.0");

    // 収支 is inked by its sign.
    const std::vector<ViewRow> inked = tallyGridRows(grid(v, "stgShuLRes"));
    EXPECT_EQ(inked[0][7].ink, Ink::Red);
    EXPECT_EQ(inked[1][7].ink, Ink::Blue);
    EXPECT_EQ(inked[1][6].ink, Ink::Black);
}

TEST_F(TallyTest, NoRaceLeavesEmptyGridsAndTheCsvItemOff) {
    const ScreenView v = tallyScreen(TallyOptions{}, tally(TallyOptions{}));
    for (const TallyList& l : kTallyLists) {
        const auto& g = grid(v, l.grid);
        ASSERT_EQ(g.rows.size(), 2u) << l.grid;
        for (const std::string& c : g.rows[1]) EXPECT_EQ(c, "");
    }
    EXPECT_EQ(label(v, "stxtRaceCnt"), "0");
    EXPECT_EQ(label(v, "stxtRate"), "--.-");
    EXPECT_EQ(label(v, "stxtRcvRate"), "--.-");
    ASSERT_EQ(v.states.front().name, "mnuCsvOut");
    EXPECT_FALSE(v.states.front().enabled);
    EXPECT_TRUE(v.messages.empty());
}

TEST_F(TallyTest, CancelStopsAtTheNextRecordAndKeepsTheRacesSoFar) {
    for (const char* num : {"01", "02", "03"}) addRunners(addRace("0601", "05", num), {{"01", "◎", "01"}});
    int asked = 0;
    std::vector<std::string> texts;
    TallyHooks hooks;
    hooks.stop = [&] { return ++asked > 2; };
    hooks.raceText = [&](const std::string& s) { texts.push_back(toUtf8(s)); };
    const TallyResult t = tally(us(TallyBet::Tansho), hooks);
    EXPECT_TRUE(t.cancelled);
    EXPECT_EQ(t.races.size(), 2u);
    EXPECT_EQ(texts, (std::vector<std::string>{"20240601 東京 01 レース01", "20240601 東京 02 レース02"}));
    const ScreenView v = tallyScreen(us(TallyBet::Tansho), t);
    EXPECT_EQ(label(v, "stxtRaceCnt"), "2");
    EXPECT_EQ(label(v, "stxtYosoCnt"), "2");
    ASSERT_EQ(v.messages.size(), 1u);
    EXPECT_EQ(toUtf8(v.messages[0]), "集計が中止されました");
}

TEST_F(TallyTest, PcMarksOnlyForRacesOfFiveRunnersOrMore) {
    // Each horse has one past run at 東京 on 芝1600 a month before, a better index the lower its number.
    const auto today = addRace("0601", "05", "11");
    auto addRunnersWithRuns = [&](const test::StoreFixture::Race& r, int n) {
        std::vector<Runner> runners;
        for (int u = 1; u <= n; ++u) runners.push_back(Runner{twoDigits(u), "", twoDigits(u)});
        addRunners(r, runners);
        for (int u = 1; u <= n; ++u) {
            const std::string ketto = "20190000" + twoDigits(u);
            const auto past = addRace("0501", "05", twoDigits(u));
            LineBuilder se(Family::SE);
            test::setRaceKey(se, past);
            const Fields f = {{"DataKubun", "7"}, {"Umaban", "01"}, {"KettoNum", ketto}, {"SexCD", "1"},
                              {"Futan", "550"},   {"IJyoCD", "0"},   {"KakuteiJyuni", "01"}, {"NyusenJyuni", "01"},
                              {"Time", test::storedTime(942 - (100 - u - 90))}, {"HaronTimeL3", "345"},
                              {"TrackCD", "10"}, {"Kyori", "1600"}};
            for (const auto& [name, value] : f) se.assign(name, value);
            writeRecord(store.paths.se(past.year, past.monthDay, past.jyoCD), se.line(), recordKey(Family::SE));
            writeVariant(store.paths, RaceKey(past.year, past.monthDay, past.jyoCD, past.raceNum), "+00 *** T");
            updateRunList(store.paths, ketto, "", "05", "20240501", "1");
        }
    };
    addRunnersWithRuns(today, 5);
    addPayouts(today, {{"PayTansyoUmaban1", "01"}, {"PayTansyoPay1", "000000200"}});
    TallyOptions pc;
    pc.bet = TallyBet::Tansho;
    pc.from = pc.to = "20240601";
    TallyResult t = tally(pc);
    ASSERT_EQ(t.races.size(), 1u);
    EXPECT_EQ(outcome(t.races[0]), (std::vector<std::string>{"1", "1", "○", "200", "100", "200.0"}));
    pc.bet = TallyBet::Umaren;  // ◎ ○ 注 with five runners
    EXPECT_EQ(toUtf8(tally(pc).races[0][8]), "2");

    // The same race with four runners: no marks, nothing bought.
    const std::string sePath = store.paths.se(today.year, today.monthDay, today.jyoCD);
    std::string kept;
    forEachLine(sePath, [&](std::string_view line) {
        if (getField(Family::SE, line, "Umaban") != "05") kept += std::string(line) + "\r\n";
        return true;
    });
    test::spit(sePath, kept);
    t = tally(pc);
    EXPECT_EQ(outcome(t.races[0]), (std::vector<std::string>{"--", "--", "--", "---", "---", "---"}));
}

TEST(TallyPeriod, EmptyPartsAndAnEndBeforeTheStartAreRefused) {
    struct Case {
        const char *frYear, *frMday, *toYear, *toMday, *message;
    };
    const Case cases[] = {
        {"2024", "06/01", "2024", "06/02", ""},
        {"2024", "06/01", "2024", "06/01", ""},
        {"2023", "12/31", "2024", "01/01", ""},
        {"2024", "06/02", "2024", "06/01", "「開始日」が「終了日」より後の日付になっています"},
        {"2025", "01/05", "2024", "12/28", "「開始日」が「終了日」より後の日付になっています"},
        {"2024", "", "2024", "06/01", "「開始日」と「終了日」を指定してください"},
        {"", "06/01", "2024", "06/01", "「開始日」と「終了日」を指定してください"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toUtf8(tallyPeriodMessage(c.frYear, c.frMday, c.toYear, c.toMday)), c.message) << c.frMday;
}

TEST(TallyRate, ExactFractionRoundedHalfAwayFromZero) {
    struct Case {
        long long num, den;
        const char* shown;
    };
    const Case cases[] = {{1, 16, "6.3"},  {1, 3, "33.3"},      {2, 3, "66.7"},    {0, 7, "0.0"},
                          {5, 5, "100.0"}, {1, 80, "1.3"},      {1, 800, "0.1"},   {1, 2001, "0.0"},
                          {2990, 300, "996.7"}, {-1, 16, "-6.3"}, {123456789, 100, "123456789.0"}};
    for (const Case& c : cases) EXPECT_EQ(tallyRate(c.num, c.den), c.shown) << c.num << "/" << c.den;
}

TEST(TallyCsv, ListsWithTheirHeadersQuotingOnlyCommasAndQuotes) {
    ScreenView v;
    std::vector<std::string> race(kTallyRaceColumns);
    race = {"20240601", sj("東京"), "05", "11", sj("Ａ,Ｂ\"Ｃ\" S"), "16", sj("芝1600"), sj("良"),
            "3", "1", sj("○"), "3300", "3000", "1100.0", sj("４上"), "0500"};
    v.grids.push_back({"stgShuRRes", {std::vector<std::string>(kTallyRaceColumns), race}});
    v.grids.push_back({"stgShuCRes", {std::vector<std::string>(10),
                                      {" " + sj("東京"), "1", "1", "100.0", "100.0", "300", "3300", "3000", "1100.0",
                                       "3300"}}});
    EXPECT_EQ(toUtf8(*tallyCsv(v, "stgShuRRes")),
              "日付,場名,No,レース名,頭,距離,状,点,軸,当,配当,収支,回収率\r\n"
              "20240601,東京,11,\"Ａ,Ｂ\"\"Ｃ\"\" S\",16,芝1600,良,3,1,○,3300,3000,1100.0\r\n");
    EXPECT_EQ(toUtf8(*tallyCsv(v, "stgShuCRes")),
              "競馬場,レース数,的中数,軸連率,的中率,購入,払戻,収支,回収率,最高配当\r\n"
              "東京,1,1,100.0,100.0,300,3300,3000,1100.0,3300\r\n");
    EXPECT_FALSE(tallyCsv(v, "stgOther"));
    const auto key = tallyRowRace(v, 1);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->text(), "202406010511");
    EXPECT_FALSE(tallyRowRace(v, 2));
}

TEST_F(TallyTest, MonthDaysOfAYear) {
    addRace("0602", "05", "01");
    addRace("0601", "06", "01");
    addRace("0602", "06", "02");
    addRace("0603", "44", "01");  // a local track
    addRace("0604", "05", "01", {{"DataKubun", "9"}});
    addRace("0701", "05", "01");
    const std::vector<std::string> days = tallyMonthDays(store.paths, "2024");
    EXPECT_EQ(days, (std::vector<std::string>{"06/02", "06/01", "07/01"}));
}

TEST_F(TallyTest, CliPrintsTheScreenAndWritesTheCsv) {
    const auto r = addRace("0601", "05", "11");
    addRunners(r, {{"02", "○", "02"}, {"05", "◎", "01"}});
    addPayouts(r, {{"PayUmarenKumi1", "0205"}, {"PayUmarenPay1", "000001200"}});
    test::spit(dir.path() + "tarvo.ini", "[UMA_DB]\r\ndir=" + dir.path() + "data/\r\n");
    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "tally", "20240601", "20240630", "--us", "--classes", "500,chkOpen",
                            "--csv", "stgShuKRes", dir.path() + "k.csv"},
                           out, &err),
              0)
        << err;
    EXPECT_NE(out.find("label\tstxtYosoCnt\t1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("row\tstgShuRRes\t1\t20240601\t東京\t05\t11\tレース11\t16\t芝1600\t良\t1\t1\t○\t1200\t1100\t1200.0"
                       "\t３上\t0500\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("state\tmnuCsvOut\t1\n"), std::string::npos);
    EXPECT_EQ(toUtf8(test::slurp(dir.path() + "k.csv")),
              "距離,レース数,的中数,軸連率,的中率,購入,払戻,収支,回収率,最高配当\r\n"
              "芝1400～1799,1,1,100.0,100.0,100,1200,1100,1200.0,1200\r\n");

    ASSERT_EQ(test::runCli({"--home", dir.path(), "tally", "20240601", "20240630", "--us", "--classes", "1000"}, out), 0);
    EXPECT_NE(out.find("label\tstxtRaceCnt\t0\n"), std::string::npos);

    ASSERT_EQ(test::runCli({"--home", dir.path(), "tally", "20240630", "20240601"}, out), 0);
    EXPECT_NE(out.find("message\t「開始日」が「終了日」より後の日付になっています\n"), std::string::npos);
    EXPECT_EQ(out.find("row\tstgShuRRes\t1\t2024"), std::string::npos);

    EXPECT_EQ(test::runCli({"--home", dir.path(), "tally", "20240601", "20240630", "--ages", "5歳"}, out, &err), 2);
}

}  // namespace
}  // namespace tarvo
