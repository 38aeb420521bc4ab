// The race card over small hand-made stores: the runner rows (numbers, weights,
// odds and status, body weight, change marks), the entry list without horse
// numbers, the header of a local race without start time and of a steeplechase,
// the engine keys, the bet suggestions and the cell backgrounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card_view.h"
#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "record_io.h"
#include "runner_tables.h"
#include "store_fixture.h"
#include "test_support.h"

namespace tarvo {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;  // UTF-8 values

class CardTest : public ::testing::Test {
protected:
    CardTest() : store(dir.path() + "data/") { engineSettings() = EngineSettings{}; }

    void addRace(const Fields& more = {}) {
        LineBuilder b(Family::RA);
        test::setRaceKey(b, ra);
        const Fields base = {{"DataKubun", ra.dataKubun}, {"TrackCD", ra.trackCD}, {"Kyori", ra.kyori},
                             {"SyubetuCD", ra.syubetuCD}, {"JyokenCD5", ra.jyokenCD5}, {"HassoTime", "1525"},
                             {"HassoTimeBefore", "0000"}, {"KyoriBefore", "0000"}, {"TrackCDBefore", "00"},
                             {"TenkoCD", "1"}, {"SibaBabaCD", "2"}, {"DirtBabaCD", "3"}};
        for (const Fields* fs : {&base, &more})
            for (const auto& [name, value] : *fs) b.assignRaw(name, sj(value));
        writeRecord(store.paths.ra(ra.year, ra.monthDay, ra.jyoCD), b.line(), recordKey(Family::RA));
    }

    void addRunner(const std::string& umaban, const Fields& more = {}) {
        LineBuilder b(Family::SE);
        test::setRaceKey(b, ra);
        const Fields base = {{"Umaban", umaban}, {"Wakuban", "1"}, {"KettoNum", "20190000" + umaban},
                             {"Bamei", "ウマ" + umaban}, {"SexCD", "1"}, {"Barei", "04"}, {"Futan", "570"},
                             {"FutanBefore", "000"}, {"Odds", "0123"}, {"IJyoCD", "0"}, {"BaTaijyu", "480"},
                             {"ZogenFugo", "+"}, {"ZogenSa", "004"}};
        for (const Fields* fs : {&base, &more})
            for (const auto& [name, value] : *fs) b.assignRaw(name, sj(value));
        writeRecord(store.paths.se(ra.year, ra.monthDay, ra.jyoCD), b.line(), recordKey(Family::SE));
    }

    RaceCard build(bool user = false) {
        return buildRaceCard({store.paths, dir.path() + "file/"}, RaceKey(ra.year, ra.monthDay, ra.jyoCD, ra.raceNum),
                             user);
    }

    static std::string cell(const RaceCard& c, std::size_t r, std::size_t col) { return toUtf8(c.rows[r][col].text); }

    test::TempDir dir;
    test::StoreFixture store;
    test::StoreFixture::Race ra;
};

TEST_F(CardTest, RunnerColumns) {
    struct Case {
        Fields se;
        std::size_t col;
        std::string text;
        Ink ink = Ink::Black;
    };
    const std::vector<Case> cases = {
        {{}, 3, "牡4"},
        {{{"SexCD", "3"}, {"Barei", "07"}}, 3, "セ7"},
        {{}, 4, "57"},
        {{{"Futan", "575"}}, 4, "57.5"},
                {{{"FutanBefore", "560"}}, 4, "57", Ink::Red},
        {{{"Futan", "000"}, {"FutanBefore", "550"}}, 4, "55", Ink::Red},
        {{{"KisyuRyakusyo", "新騎手"}, {"KisyuRyakusyoBefore", "旧騎手"}}, 5, "新騎手", Ink::Red},
        {{{"KisyuRyakusyo", "騎手"}}, 5, "騎手"},
        {{}, 7, "12.3"},
        {{{"Odds", "0000"}}, 7, ""},
        {{{"IJyoCD", "1"}}, 7, "取消"},
        {{{"IJyoCD", "2"}}, 7, "除外"},
        {{{"IJyoCD", "3"}}, 7, "除外"},
        {{{"Odds", "----"}}, 7, "取消"},
        {{{"Odds", "****"}}, 7, "除外"},
        {{}, 8, "480"},
        {{}, 9, "+4"},
        {{{"ZogenFugo", "-"}, {"ZogenSa", "012"}}, 9, "-12"},
        {{{"ZogenFugo", " "}, {"ZogenSa", "000"}}, 9, "0"},
        {{{"ZogenSa", "999"}}, 9, "--"},
        {{{"BaTaijyu", "000"}}, 8, "---"},
        {{{"BaTaijyu", "000"}}, 9, "--"},
        {{{"BaTaijyu", "   "}}, 9, ""},
        {{{"UserYoso", "◎"}}, 16, "◎"},
    };
    addRace();
    for (std::size_t i = 0; i < cases.size(); ++i) addRunner(std::to_string(10 + i), cases[i].se);
    const RaceCard card = build();
    ASSERT_EQ(card.rows.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cell(card, i, cases[i].col), cases[i].text);
        EXPECT_EQ(card.rows[i][cases[i].col].ink, cases[i].ink);
    }
    const RunnerTable& t = runnerTable(kMainWindowCaller);
    EXPECT_EQ(t.weightChangeMarks[5], "*");
    EXPECT_EQ(t.jockeyChangeMarks[6], "*");
    EXPECT_EQ(toUtf8(t.odds[10]), "取消");
    EXPECT_EQ(toUtf8(t.marks[kSlotUserMark][23]), "◎");
}

TEST_F(CardTest, EntryListWithoutNumbersIsProvisionalAndSortedByName) {
    ra.dataKubun = "1";
    addRace();
    addRunner("00", {{"Bamei", "ワカバ"}, {"KettoNum", "2019000001"}});
    addRunner("00", {{"Bamei", "アオバ"}, {"KettoNum", "2019000002"}});
    addRunner("00", {{"Bamei", "カエデ"}, {"KettoNum", "2019000003"}});
    const RaceCard card = build();
    ASSERT_EQ(card.rows.size(), 3u);
    EXPECT_EQ(cell(card, 0, 2), "アオバ");
    EXPECT_EQ(cell(card, 1, 2), "カエデ");
    EXPECT_EQ(cell(card, 2, 2), "ワカバ");
    for (const ViewRow& row : card.rows) EXPECT_EQ(toUtf8(row[0].text), "仮");
}

TEST_F(CardTest, NumberedCardDropsUnnumberedRecordsAndSortsByNumber) {
    addRace();
    addRunner("12");
    addRunner("00");
    addRunner("03");
    const RaceCard card = build();
    ASSERT_EQ(card.rows.size(), 2u);
    EXPECT_EQ(cell(card, 0, 1), "03");
    EXPECT_EQ(cell(card, 1, 1), "12");
    EXPECT_EQ(cell(card, 0, 0), "1");
    EXPECT_EQ(card.rows[0][15].text, "") << "four runners or fewer get no PC mark";
}

TEST_F(CardTest, HeaderOfACentralRace) {
    addRace({{"Hondai", "テスト記念"}, {"Nkai", "012"}, {"GradeCD", "C"}, {"JyokenCD5", "999"}, {"JyuryoCD", "1"},
             {"HassoTimeBefore", "1510"}});
    const CardHeader h = cardHeader(store.paths, RaceKey("2020", "0510", "06", "05"));
    EXPECT_EQ(toUtf8(h.date), "20200510");
    EXPECT_EQ(toUtf8(h.raceNum), "中山05R");
    EXPECT_EQ(toUtf8(h.hTime), "15：25");
    EXPECT_TRUE(h.hTimeRed);
    EXPECT_TRUE(h.oddsListEnabled);
    EXPECT_EQ(toUtf8(h.crs), "芝1600m");
    EXPECT_FALSE(h.crsRed);
    EXPECT_EQ(toUtf8(h.weBa), "天候：晴   芝：稍");
    EXPECT_EQ(toUtf8(h.raceName), "第12回 テスト記念(Ｇ３)");
    EXPECT_EQ(toUtf8(cardCourseKey(h.crs)), "芝1600");
    EXPECT_EQ(toUtf8(cardGoingKey(h.weBa)), "稍");
}

TEST_F(CardTest, WeatherAndGoingByTrack) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"10", "天候：晴   芝：稍"}, {"23", "天候：晴   ダ：重"}, {"52", "天候：晴   芝:稍 ダ:重 "},
        {"51", "天候：晴   芝稍"},   {"00", ""}};
    for (const auto& [track, text] : cases) {
        ra.trackCD = track;
        addRace();
        EXPECT_EQ(toUtf8(cardHeader(store.paths, RaceKey("2020", "0510", "06", "05")).weBa), text) << track;
    }
    ra.trackCD = "24";
    addRace();
    EXPECT_EQ(toUtf8(cardCourseKey(cardHeader(store.paths, RaceKey("2020", "0510", "06", "05")).crs)), "ダ1600");
}

TEST_F(CardTest, LocalRaceWithoutStartTime) {
    ra.jyoCD = "58";
    addRace({{"HassoTime", "0000"}});
    for (int u = 1; u <= 6; ++u) addRunner("0" + std::to_string(u), {{"UserYoso", u == 2 ? "◎" : u == 5 ? "○" : ""}});
    engineSettings().oddadd = true;
    const RaceCard card = build(true);
    EXPECT_FALSE(engineSettings().oddadd) << "a local race switches the odds off in memory";
    EXPECT_EQ(toUtf8(card.header.raceNum), "札幌05R");
    EXPECT_EQ(toUtf8(card.header.hTime), "--：--");
    EXPECT_FALSE(card.header.oddsListEnabled);
    EXPECT_FALSE(card.betsTab);
    for (const std::string& f : card.figures) EXPECT_EQ(f, "");
    ASSERT_EQ(card.bets[0].lines.size(), 1u) << "user marks give bets without a start time";
    EXPECT_EQ(toUtf8(card.bets[0].lines[0].combination), "02－05");
}

TEST_F(CardTest, SteeplechaseHasNoRaceFigures) {
    ra.trackCD = "51";
    ra.syubetuCD = "18";
    addRace();
    for (int u = 1; u <= 6; ++u) addRunner("0" + std::to_string(u));
    const RaceCard card = build();
    EXPECT_TRUE(card.betsTab);
    EXPECT_EQ(toUtf8(card.header.crs).substr(0, 6), "障害");
    for (const std::string& f : card.figures) EXPECT_EQ(f, "");
}

TEST_F(CardTest, BetsFromTheMarks) {
    struct Case {
        std::vector<std::string> marks;
        std::vector<std::string> quinella, exacta1, exacta2;
    };
    const std::vector<Case> cases = {
        {{"", "", "", ""}, {}, {}, {}},
        {{"○", "", "◎", ""}, {"03－07"}, {"07→03"}, {"03→07"}},
        {{"◎", "▲", "◎", "△"}, {"03－10", "03－12"}, {"03→10", "03→12"}, {"10→03", "12→03"}},
    };
    const std::vector<std::string> umabans = {"03", "10", "07", "12"};
    for (const Case& c : cases) {
        std::vector<std::string> marks;
        for (const std::string& m : c.marks) marks.push_back(sj(m));
        const BetGrids g = buildBets(store.paths, RaceKey("2020", "0510", "06", "05"), marks, umabans);
        const std::vector<std::string>* want[] = {&c.quinella, &c.exacta1, &c.exacta2};
        const char* titles[] = {"馬連", "馬単１着付け", "馬単２着付け"};
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(toUtf8(g[k].title), titles[k]);
            std::vector<std::string> got;
            for (const BetLine& b : g[k].lines) {
                got.push_back(toUtf8(b.combination));
                EXPECT_EQ(b.odds, "--.-");
                EXPECT_EQ(b.result, "");
            }
            EXPECT_EQ(got, *want[k]);
        }
    }
}

TEST_F(CardTest, BetOddsAndResults) {
    const RaceKey key("2020", "0510", "06", "05");
    LineBuilder o2(Family::O2);
    test::setRaceKey(o2, ra);
    o2.assignRaw("OddsUmaren1", "0307000123001");
    o2.assignRaw("OddsUmaren2", "0310ABCDEF002");
    writeRecord(store.paths.o2(ra.year, ra.monthDay), o2.line(), recordKey(Family::O2));
    const std::vector<std::string> marks = {sj("◎"), sj("○"), sj("▲"), ""};
    const std::vector<std::string> umabans = {"03", "07", "10", "12"};
    BetGrids g = buildBets(store.paths, key, marks, umabans);
    ASSERT_EQ(g[0].lines.size(), 2u);
    EXPECT_EQ(g[0].lines[0].odds, "12.3");
    EXPECT_EQ(g[0].lines[1].odds, "--.-");
    EXPECT_EQ(g[0].lines[0].result, "");

    LineBuilder hr(Family::HR);
    test::setRaceKey(hr, ra);
    hr.assignRaw("PayUmarenKumi1", "0307");
    hr.assignRaw("PayUmatanKumi1", "0703");
    writeRecord(store.paths.hr(ra.year, ra.monthDay), hr.line(), recordKey(Family::HR));
    g = buildBets(store.paths, key, marks, umabans);
    EXPECT_EQ(toUtf8(g[0].title), "馬連<的中>");
    EXPECT_EQ(toUtf8(g[0].lines[0].result), "○");
    EXPECT_EQ(toUtf8(g[0].lines[1].result), "×");
    EXPECT_EQ(toUtf8(g[1].title), "馬単１着付け<ﾊｽﾞﾚ>");
    EXPECT_EQ(toUtf8(g[2].title), "馬単２着付け<的中>");
}

TEST_F(CardTest, CliCardForm) {
    test::spit(dir.path() + "tarvo.ini", "");
    addRace({{"Hondai", "テスト特別"}});
    addRunner("01", {{"UserYoso", "◎"}});
    addRunner("02", {{"UserYoso", "○"}});
    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "card", "2020", "0510", "06", "05", "--us"}, out), 0);
    const std::string head =
        "header\tlbl_Date\t20200510\nheader\tlbl_RaceNum\t中山05R\nheader\tlbl_h_time\t15：25\n"
        "header\tlbl_Crs\t芝1600m\nheader\tlbl_WeBa\t天候：晴   芝：稍\nheader\tlbl_RaceName\tテスト特別\n"
        "header\tlbl_biko\tサラ系３歳 未勝利  \nkeys\t芝1600\t稍\n"
        "row\t1\t1\t01\tウマ01\t牡4\t57\t\t\t12.3\t480\t+4\t\t\t\t\t\t\t◎\t\t\t\n";
    EXPECT_EQ(out.substr(0, head.size()), head);
    EXPECT_NE(out.find("\nslots\t2\t\t○\t"), std::string::npos);
    EXPECT_NE(out.find("\nscores\t2\t"), std::string::npos);
    EXPECT_NE(out.find("\nfigures\t標3F:"), std::string::npos);
    EXPECT_NE(out.find("\nbets\t1\t馬連\nbet\t1\t01－02\t--.-\t\nbets\t2\t馬単１着付け\nbet\t2\t01→02\t--.-\t\n"),
              std::string::npos);
    EXPECT_EQ(test::runCli({"--home", dir.path(), "card", "2020", "510", "06", "05"}, out, &err), 2);
}

TEST(CardBackground, FrameAndPastRunColours) {
    RaceCard card;
    card.header.crs = sj("芝1600m");
    ViewRow row(kCardColumns);
    row[0].text = "4";
    row[10].text = sj("  東芝16  1\r\n 80( 80/ 79)");
    row[11].text = sj("  東芝16  4\r\n 80( 80/ 79)");
    row[12].text = sj("  東ダ16  1\r\n 80( 80/ 79)");
    row[13].text = sj("  東芝16  2\r\n 80( 80/ 79)");
    card.rows.push_back(row);
    EXPECT_EQ(cardCellBackground(card, 0, 0, false), 0x0000FFu);
    EXPECT_EQ(cardCellBackground(card, 0, 10, true), 0xFFFF00u);
    EXPECT_EQ(cardCellBackground(card, 0, 10, false), 0xFFFFFFu);
    EXPECT_EQ(cardCellBackground(card, 0, 11, true), 0xFFFFFFu);
    EXPECT_EQ(cardCellBackground(card, 0, 12, true), 0xFFFFFFu);
    EXPECT_EQ(cardCellBackground(card, 0, 13, true), 0x87CEEBu);
}

}  // namespace
}  // namespace tarvo
