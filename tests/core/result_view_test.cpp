// The race result screen and the odds list over small hand-made stores: the
// order and cells of the result grid (provisional and final, status table,
// demoted and unplaced runners, local and jump races), the payout list, the
// race buttons, the evaluation's odds texts; the odds matrices, their hits,
// announcement and selection texts; tarvo-cli result and odds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "card_view.h"
#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "odds_view.h"
#include "record_io.h"
#include "result_view.h"
#include "runner_tables.h"
#include "store_fixture.h"
#include "test_support.h"
#include "textfn.h"

namespace tarvo {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;  // UTF-8 values

class ResultTest : public ::testing::Test {
protected:
    ResultTest() : store(dir.path() + "data/") { engineSettings() = EngineSettings{}; }

    RaceKey key() const { return RaceKey(ra.year, ra.monthDay, ra.jyoCD, ra.raceNum); }

    void addRace(const Fields& more = {}) {
        LineBuilder b(Family::RA);
        test::setRaceKey(b, ra);
        const Fields base = {{"DataKubun", ra.dataKubun}, {"TrackCD", ra.trackCD},    {"Kyori", ra.kyori},
                             {"SyubetuCD", ra.syubetuCD}, {"JyokenCD5", ra.jyokenCD5}, {"HassoTime", "1525"},
                             {"TenkoCD", "1"},             {"SibaBabaCD", "2"},         {"DirtBabaCD", "3"},
                             {"HaronTimeS3", "355"},       {"HaronTimeS4", "   "},      {"HaronTimeL3", "348"},
                             {"HaronTimeL4", "472"},       {"Corner1", "3"},            {"Jyuni1", "1,2-3 (4)"},
                             {"Corner2", "4"},             {"Jyuni2", "(1,2)3"}};
        for (const Fields* fs : {&base, &more})
            for (const auto& [name, value] : *fs) b.assignRaw(name, sj(value));
        writeRecord(store.paths.ra(ra.year, ra.monthDay, ra.jyoCD), b.line(), recordKey(Family::RA));
    }

    // A runner finishing at place (two digits, "00" for none).
    void addRunner(const std::string& umaban, const std::string& place, const Fields& more = {}) {
        LineBuilder b(Family::SE);
        test::setRaceKey(b, ra);
        const Fields base = {{"DataKubun", ra.dataKubun}, {"Umaban", umaban}, {"Wakuban", "1"},
                             {"KettoNum", "20190000" + umaban}, {"Bamei", "ウマ" + umaban}, {"SexCD", "1"},
                             {"Barei", "04"}, {"Futan", "575"}, {"Odds", "0123"}, {"IJyoCD", "0"},
                             {"BaTaijyu", "480"}, {"ZogenFugo", "+"}, {"ZogenSa", "004"},
                             {"NyusenJyuni", place}, {"KakuteiJyuni", place}, {"Time", "1345"},
                             {"TimeDiff", "+003"}, {"HaronTimeL3", "351"}, {"Jyuni2c", "03"}, {"Jyuni3c", "00"},
                             {"Jyuni4c", "02"}, {"KisyuRyakusyo", "騎手"}, {"ChokyosiRyakusyo", "調教"}};
        for (const Fields* fs : {&base, &more})
            for (const auto& [name, value] : *fs) b.assignRaw(name, sj(value));
        writeRecord(store.paths.se(ra.year, ra.monthDay, ra.jyoCD), b.line(), recordKey(Family::SE));
    }

    void addPayout(const Fields& fields) {
        LineBuilder b(Family::HR);
        test::setRaceKey(b, ra);
        for (const auto& [name, value] : fields) b.assignRaw(name, sj(value));
        writeRecord(store.paths.file(Family::HR, key()), b.line(), recordKey(Family::HR));
    }

    RaceResult result(std::string_view caller = kResultCaller) {
        return raceResult({store.paths, dir.path() + "file/"}, key(), caller, false);
    }

    // The grid's data rows in UTF-8.
    static std::vector<std::vector<std::string>> rows(const RaceResult& r) {
        std::vector<std::vector<std::string>> out;
        const auto& g = r.view.grids.front().rows;
        for (std::size_t i = 1; i < g.size(); ++i) {
            std::vector<std::string> row;
            for (const std::string& c : g[i]) row.push_back(toUtf8(c));
            out.push_back(row);
        }
        return out;
    }
    static bool state(const RaceResult& r, const std::string& name) {
        for (const auto& s : r.view.states)
            if (s.name == name) return s.enabled;
        ADD_FAILURE() << name;
        return false;
    }

    test::TempDir dir;
    test::StoreFixture store;
    test::StoreFixture::Race ra;
};

TEST_F(ResultTest, ProvisionalResultsListOnlyPlacedRunners) {
    ra.dataKubun = "4";
    addRace();
    addRunner("01", "02");
    addRunner("02", "00", {{"Time", "0000"}});
    addRunner("03", "01", {{"Time", "0000"}});
    addRunner("04", "03");
    const RaceResult r = result();
    EXPECT_EQ(toUtf8(r.view.caption), "レース結果＜速報＞");
    const auto g = rows(r);
    ASSERT_EQ(g.size(), 3u) << "the unplaced runner gets no row and the grid is reduced";
    EXPECT_EQ(g[0][5], "03");
    EXPECT_EQ(g[0][11], "----");
    EXPECT_EQ(g[0][12], "");  // the winner's 差
    EXPECT_EQ(g[1][5], "01");
    EXPECT_EQ(g[1][11], "1345");
    EXPECT_EQ(g[2][5], "04");
    EXPECT_EQ(r.kettoNums, (std::vector<std::string>{"2019000003", "2019000001", "2019000004"}));
    for (const char* s : {"btnPrev", "btnNext", "mnuBabaAdj"}) EXPECT_FALSE(state(r, s)) << s;
}

TEST_F(ResultTest, MissingTimeOfAPlacedProvisionalRunner) {
    ra.dataKubun = "3";
    addRace();
    addRunner("01", "01");
    addRunner("02", "02", {{"Time", "0000"}});
    const auto g = rows(result());
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[1][11], "----");
    EXPECT_EQ(g[1][12], "---");
}

TEST_F(ResultTest, FinalCentralResultsFollowTheArrivalOrder) {
    addRace();
    addRunner("01", "01");
    addRunner("02", "02", {{"KakuteiJyuni", "05"}, {"IJyoCD", "7"}});  // demoted from second to fifth
    addRunner("03", "03", {{"KakuteiJyuni", "02"}});
    addRunner("04", "00", {{"IJyoCD", "1"}, {"Time", "0000"}});
    addRunner("05", "04", {{"KakuteiJyuni", "03"}});
    addRunner("06", "05", {{"KakuteiJyuni", "04"}});
    const RaceResult r = result();
    EXPECT_EQ(toUtf8(r.view.caption), "レース結果");
    const auto g = rows(r);
    ASSERT_EQ(g.size(), 6u);
    std::vector<std::string> order;
    for (const auto& row : g) order.push_back(row[5]);
    EXPECT_EQ(order, (std::vector<std::string>{"04", "01", "02", "03", "05", "06"}));
    EXPECT_EQ(g[2][0], "05");
    EXPECT_EQ(g[2][1], "降");
    EXPECT_EQ(g[1][12], "") << "the winner's 差";
    EXPECT_EQ(g[2][12], "+003");
    EXPECT_TRUE(state(r, "btnPrev"));
    EXPECT_TRUE(state(r, "mnuBabaAdj"));
}

TEST_F(ResultTest, LocalResultsFollowTheConfirmedOrder) {
    ra.jyoCD = "44";
    ra.trackCD = "24";
    addRace();
    addRunner("01", "02", {{"KakuteiJyuni", "01"}});
    addRunner("02", "01", {{"KakuteiJyuni", "02"}});
    const RaceResult r = result();
    const auto g = rows(r);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0][5], "01");
    EXPECT_EQ(g[1][16], "**") << "no last-3F index away from tracks 01 to 10";
    EXPECT_FALSE(state(r, "mnuBabaAdj"));
    EXPECT_FALSE(r.central);
}

TEST_F(ResultTest, RunnerCellsAndStatusTable) {
    struct Case {
        Fields se;
        std::vector<std::pair<std::size_t, std::string>> cells;
    };
    const std::vector<Case> cases = {
        {{}, {{1, ""}, {7, "牡4"}, {8, "57.5"}, {13, " **"}, {14, "03**02"}, {15, "35.1"}, {17, "480+ 4"}, {18, "12.3"}}},
        {{{"SexCD", "3"}, {"Futan", "560"}, {"ZogenSa", "999"}}, {{7, "ｾﾝ4"}, {8, "56"}, {17, "480"}}},
        {{{"ZogenFugo", "-"}, {"ZogenSa", "012"}}, {{17, "480-12"}}},
        {{{"HaronTimeL3", "000"}, {"Odds", "0000"}}, {{15, "--.-"}, {16, "**"}, {18, ""}}},
        {{{"IJyoCD", "1"}, {"BaTaijyu", "   "}},
         {{0, "--"}, {1, "消"}, {11, "----"}, {12, "---"}, {15, "--.-"}, {16, "**"}, {17, "---"}, {18, "-.-"}}},
        {{{"IJyoCD", "2"}}, {{0, "--"}, {1, "除"}, {11, "----"}, {17, "480+ 4"}, {18, "-.-"}}},
        {{{"IJyoCD", "3"}, {"BaTaijyu", "000"}}, {{1, "除"}, {17, "---"}}},  // never weighed
        {{{"IJyoCD", "4"}}, {{0, "--"}, {1, "止"}, {12, "---"}, {17, "480+ 4"}, {18, "12.3"}}},
        {{{"IJyoCD", "5"}}, {{1, "失"}, {11, "1345"}}},
        {{{"BaTaijyu", "   "}}, {{17, "---"}}},
    };
    addRace();
    for (std::size_t i = 0; i < cases.size(); ++i) addRunner(twoDigits(static_cast<int>(i + 1)), twoDigits(static_cast<int>(i + 2)), cases[i].se);
    const auto g = rows(result());
    ASSERT_EQ(g.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        for (const auto& [col, text] : cases[i].cells) EXPECT_EQ(g[i][col], text) << "runner " << i + 1 << " col " << col;
}

TEST_F(ResultTest, HeaderCornersAndSectionalTimes) {
    addRace({{"HaronTimeL4", "4x2"}});
    addRunner("01", "01");
    const RaceResult r = result();
    EXPECT_EQ(toUtf8(r.view.label("lbl_RaCond")), "天候：晴/芝：稍");
    EXPECT_EQ(toUtf8(r.view.label("stxt3cnr")), "1,2-3");
    EXPECT_EQ(toUtf8(r.view.label("stxt4cnr")), "(1,2)3");
    EXPECT_EQ(toUtf8(r.view.label("stxtMae")), "35.5 / --.-");
    EXPECT_EQ(toUtf8(r.view.label("stxtAgari")), "34.8 / --.-");
}

TEST_F(ResultTest, SteeplechaseGoingAndIndices) {
    ra.trackCD = "52";
    ra.kyori = "3000";
    ra.syubetuCD = "18";
    addRace();
    addRunner("01", "01");
    const RaceResult r = result();
    EXPECT_EQ(toUtf8(r.view.label("lbl_RaCond")), "天候：晴/芝：稍 ダ：重");
    EXPECT_EQ(rows(r)[0][16], "**");
    EXPECT_FALSE(state(r, "mnuBabaAdj"));
}

TEST_F(ResultTest, EvaluationReadsOddsAsTheCardDoes) {
    addRace();
    for (int u = 1; u <= 6; ++u) addRunner(twoDigits(u), twoDigits(u));
    addRunner("07", "00", {{"Odds", "****"}});
    addRunner("08", "00", {{"Odds", "----"}});
    result();
    const RunnerTable& t = runnerTable(kResultCaller);
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(toUtf8(t.odds[6]), "除外");
    EXPECT_EQ(toUtf8(t.odds[7]), "取消");
    EXPECT_EQ(toUtf8(t.odds[0]), "12.3");
}

TEST_F(ResultTest, PayoutList) {
    const Fields full = {
        {"PayTansyoUmaban1", "03"}, {"PayTansyoPay1", "000000350"}, {"PayTansyoUmaban2", "00"},
        {"PayFukusyoUmaban1", "03"}, {"PayFukusyoPay1", "000000130"},
        {"PayWakurenKumi1", "24"}, {"PayWakurenPay1", "000001020"}, {"PayWakurenKumi2", "00"},
        {"PayUmarenKumi1", "0307"}, {"PayUmarenPay1", "000002410"},
        {"PayWideKumi1", "0307"}, {"PayWidePay1", "000000820"},
        {"PayUmatanKumi1", "0307"}, {"PayUmatanPay1", "000004400"},
        {"PaySanrenpukuKumi1", "030709"}, {"PaySanrenpukuPay1", "000012340"},
    };
    auto lines = [](const std::string& hr) {
        std::vector<std::string> out;
        for (const std::string& l : payoutLines(hr)) out.push_back(toUtf8(l));
        return out;
    };
    auto hrOf = [&](const Fields& more) {
        LineBuilder b(Family::HR);
        for (const Fields* fs : {&full, &more})
            for (const auto& [name, value] : *fs) b.assignRaw(name, sj(value));
        return b.line();
    };
    // Every entry line is 17 bytes: the combination, a blank, the amount right-aligned.
    auto entry = [](const std::string& comb, const std::string& amount) {
        return comb + std::string(17 - sj(comb).size() - amount.size(), ' ') + amount;
    };
    const std::vector<std::string> head = {"単勝",   entry("03番", "350"),        "", "複勝",   entry("03番", "130"),
                                           "",       "枠連",   entry("2-4", "1020"),    "", "馬連",
                                           entry("03-07", "2410"), "",       "ワイド", entry("03-07", "820"),
                                           "",       "馬単",   entry("03-07", "4400"), "", "３連複",
                                           entry("03-07-09", "12340")};
    std::vector<std::string> expected = head;
    EXPECT_EQ(lines(hrOf({})), expected) << "no trifecta entry: no trifecta heading";

    expected.insert(expected.end(), {"", "３連単", entry("03-07-09", "98760")});
    EXPECT_EQ(lines(hrOf({{"PaySanrentanKumi1", "030709"}, {"PaySanrentanPay1", "000098760"}})), expected);

    // A first entry "000000" is not shown; the heading comes with the first entry that is.
    expected.back() = entry("07-03-09", "5550");
    EXPECT_EQ(lines(hrOf({{"PaySanrentanKumi1", "000000"}, {"PaySanrentanKumi2", "070309"},
                          {"PaySanrentanPay2", "000005550"}})),
              expected);
    EXPECT_TRUE(payoutLines("").empty());

    addRace();
    addRunner("01", "01");
    addPayout({{"PayTansyoUmaban1", "01"}, {"PayTansyoPay1", "000000110"}});
    EXPECT_EQ(toUtf8(result().view.lists.front().items[1]), entry("01番", "110"));
}

TEST_F(ResultTest, NeighbourRaces) {
    const RaceKey r1("2024", "0602", "05", "01"), r12("2024", "0602", "05", "12");
    EXPECT_FALSE(neighbourRace(r1, -1));
    EXPECT_FALSE(neighbourRace(r12, 1));
    EXPECT_EQ(neighbourRace(r1, 1)->raceNum, "02");
    EXPECT_EQ(neighbourRace(r12, -1)->raceNum, "11");
    EXPECT_EQ(neighbourRace(RaceKey("2024", "0602", "05", "09"), 1)->raceNum, "10");
}

TEST_F(ResultTest, CliStepsOnlyToFinalResults) {
    test::spit(dir.path() + "tarvo.ini", "");
    ra.raceNum = "02";
    addRace();
    addRunner("01", "01");
    ra.raceNum = "03";
    ra.dataKubun = "4";
    addRace();
    addRunner("01", "01");
    ra.raceNum = "01";
    ra.dataKubun = "7";
    addRace();
    addRunner("01", "01", {{"Bamei", "ハジメ"}});

    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "result", "2020", "0510", "06", "01", "--prev"}, out), 0);
    EXPECT_NE(out.find("label\tlbl_RaceNum\t中山01R\n"), std::string::npos) << out;
    EXPECT_NE(out.find("row\tstgRList\t1\t01\t\t\t\t1\t01\tハジメ\t"), std::string::npos) << out;
    EXPECT_NE(out.find("state\tbtnPrev\t1\nstate\tbtnNext\t1\nstate\tbtnVtr\t0\nstate\tmnuBabaAdj\t1\n"),
              std::string::npos);
    ASSERT_EQ(test::runCli({"--home", dir.path(), "result", "2020", "0510", "06", "01", "--next"}, out), 0);
    EXPECT_NE(out.find("label\tlbl_RaceNum\t中山02R\n"), std::string::npos);
    ASSERT_EQ(test::runCli({"--home", dir.path(), "result", "2020", "0510", "06", "02", "--next"}, out), 0);
    EXPECT_NE(out.find("label\tlbl_RaceNum\t中山02R\n"), std::string::npos) << "provisional 3R: the screen stays";
    EXPECT_EQ(out.rfind("caption\tレース結果\n", 0), 0u);
    EXPECT_EQ(test::runCli({"--home", dir.path(), "result", "2020", "0510", "06"}, out, &err), 2);
    EXPECT_EQ(test::runCli({"--home", dir.path(), "result", "2020", "0510", "06", "01", "--tag", "他"}, out, &err), 2);
}

// The odds list.
class OddsTest : public ResultTest {
protected:
    void addRunners(int n) {
        addRace();
        for (int u = 1; u <= n; ++u) {
            addRunner(twoDigits(u), twoDigits(u));
            runners.push_back({twoDigits(u), sj("ウマ") + twoDigits(u)});
        }
    }
    // An odds record whose entries are the combinations of 1..n with odds from oddsOf.
    void addOdds(Family f, int n, const std::string& kubun, const std::string& happyo) {
        const OddsInfo& o = *oddsInfo(f);
        LineBuilder b(f);
        test::setRaceKey(b, ra);
        b.assign("DataKubun", kubun);
        b.assign("HappyoTime", happyo);
        std::size_t e = 0;
        const bool three = o.kumiLength() == 6;
        for (int a = 1; a <= n; ++a)
            for (int c = 1; c <= n; ++c)
                for (int d = three ? 1 : 0; d <= (three ? n : 0); ++d) {
                    const bool ordered = f == Family::O4 || f == Family::O6;
                    if (a == c || (three && (d == a || d == c))) continue;
                    if (!ordered && (a > c || (three && c > d))) continue;
                    if (e >= o.count) continue;
                    std::string kumi = twoDigits(a) + twoDigits(c) + (three ? twoDigits(d) : "");
                    std::string rest;
                    for (std::size_t m = 1; m < o.members.size(); ++m) {
                        const std::size_t len = o.members[m].len;
                        const std::string v = o.members[m].name == "Ninki" ? "1" : std::to_string(a * 100 + c * 10 + d);
                        rest += std::string(len - v.size(), '0') + v;
                    }
                    b.assignRaw(std::string(o.elementName) + std::to_string(++e), kumi + rest);
                }
        writeRecord(store.paths.file(f, key()), b.line(), recordKey(f));
    }
    std::vector<std::string> utf8Row(const OddsMatrix& m, std::size_t r) {
        std::vector<std::string> out;
        for (const std::string& c : m.rows[r]) out.push_back(toUtf8(c));
        return out;
    }
    std::vector<OddsRunner> runners;
};

TEST_F(OddsTest, WithoutStoredOddsOnlyTheDiagonalShows) {
    addRunners(3);
    const OddsMatrix m = oddsMatrix(store.paths, key(), OddsType::Umaren, runners);
    EXPECT_EQ(toUtf8(m.announcement), "[情報未取得]");
    ASSERT_EQ(m.rows.size(), 4u);
    EXPECT_EQ(utf8Row(m, 0), (std::vector<std::string>{"(相手＼軸)", " 1番", " 2番", " 3番"}));
    EXPECT_EQ(utf8Row(m, 2), (std::vector<std::string>{" 2:ｳﾏ02", "", "****", ""}));
    EXPECT_TRUE(m.hits.empty());
}

TEST_F(OddsTest, QuinellaCellsHitsAndSelection) {
    addRunners(4);
    addOdds(Family::O2, 4, "1", "06021435");
    addPayout({{"PayUmarenKumi1", "0204"}});
    const OddsMatrix m = oddsMatrix(store.paths, key(), OddsType::Umaren, runners);
    EXPECT_EQ(toUtf8(m.announcement), " 6/02 14:35");
    EXPECT_EQ(utf8Row(m, 1)[2], "12.0");  // 0102: a*100 + c*10 = 120 tenths
    EXPECT_EQ(utf8Row(m, 2)[1], "12.0") << "the same combination both ways";
    EXPECT_EQ(m.hits, (std::vector<std::pair<int, int>>{{2, 4}, {4, 2}}));
    EXPECT_EQ(toUtf8(oddsSelection(m, OddsType::Umaren, runners, 1, 4, 2)), "2番ｳﾏ02－4番ｳﾏ04： 24.0倍");
    EXPECT_EQ(oddsSelection(m, OddsType::Umaren, runners, 1, 3, 3), "") << "diagonal";
    EXPECT_EQ(oddsSelection(m, OddsType::Umaren, runners, 1, 0, 2), "") << "header";
}

TEST_F(OddsTest, ExactaWideAndAnnouncements) {
    addRunners(3);
    addOdds(Family::O4, 3, "4", "06021435");
    addOdds(Family::O3, 3, "3", "06021435");
    const OddsMatrix ex = oddsMatrix(store.paths, key(), OddsType::Umatan, runners);
    EXPECT_EQ(toUtf8(ex.rows[0][0]), "(相手＼頭)");
    EXPECT_EQ(utf8Row(ex, 1)[3], "31.0") << "column 3 first, row 1 second";
    EXPECT_EQ(toUtf8(ex.announcement), "<確定オッズ>");
    EXPECT_EQ(toUtf8(oddsSelection(ex, OddsType::Umatan, runners, 1, 1, 3)), "3番ｳﾏ03→1番ｳﾏ01： 31.0倍");
    const OddsMatrix w = oddsMatrix(store.paths, key(), OddsType::Wide, runners);
    EXPECT_EQ(utf8Row(w, 1)[2], "  12.0-  12.0");
    EXPECT_EQ(toUtf8(w.announcement), "<最終オッズ>");
}

TEST_F(OddsTest, TrioOf18RunnersLeavesOutTheFixedHorse) {
    addRunners(18);
    addOdds(Family::O5, 18, "1", "06021435");
    addPayout({{"PaySanrenpukuKumi1", "030507"}});
    const OddsMatrix m = oddsMatrix(store.paths, key(), OddsType::Sanrenpuku, runners, 5);
    ASSERT_EQ(m.rows.size(), 18u);
    for (const auto& row : m.rows) EXPECT_EQ(row.size(), 18u);
    for (const auto& row : m.rows) EXPECT_EQ(toUtf8(row[0]).find(" 5:"), std::string::npos);
    EXPECT_EQ(toUtf8(m.rows[0][5]), " 6番");
    // Row 3 is horse 3 and column 6 horse 7: trio 3-5-7 sorted.
    EXPECT_EQ(toUtf8(m.rows[3][6]), "35.7");
    EXPECT_EQ(m.hits, (std::vector<std::pair<int, int>>{{3, 6}, {6, 3}}));
    EXPECT_EQ(toUtf8(oddsSelection(m, OddsType::Sanrenpuku, runners, 5, 6, 3)),
              "3番ｳﾏ03－5番ｳﾏ05－7番ｳﾏ07： 35.7倍");
}

TEST_F(OddsTest, TrifectaOrderStarsAndSelection) {
    addRunners(4);
    addOdds(Family::O6, 4, "1", "06021435");
    const OddsMatrix m = oddsMatrix(store.paths, key(), OddsType::Sanrentan, runners, 2);
    ASSERT_EQ(m.rows.size(), 4u);
    EXPECT_EQ(toUtf8(m.rows[1][3]), "24.1") << "2 first, column 4 second, row 1 third";
    EXPECT_EQ(toUtf8(m.rows[1][1]), "****");
    EXPECT_EQ(toUtf8(oddsSelection(m, OddsType::Sanrentan, runners, 2, 1, 3)), "2番ｳﾏ02→4番ｳﾏ04→1番ｳﾏ01： 24.1倍");
}

TEST_F(OddsTest, CliPrintsTheMatrixAndTheSelection) {
    test::spit(dir.path() + "tarvo.ini", "");
    addRunners(3);
    addOdds(Family::O2, 3, "1", "06021435");
    addPayout({{"PayUmarenKumi1", "0103"}});
    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "odds", "umaren", "2020", "0510", "06", "05", "--select", "1", "3"}, out), 0);
    EXPECT_EQ(out.rfind("caption\tオッズ一覧（馬連）\n", 0), 0u);
    EXPECT_NE(out.find("label\tstxtOddsDate\t 6/02 14:35\n"), std::string::npos) << out;
    EXPECT_NE(out.find("row\tstgOddsList\t1\t 1:ｳﾏ01\t****\t12.0\t13.0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("hit\tstgOddsList\t1\t3\nhit\tstgOddsList\t3\t1\n"), std::string::npos);
    EXPECT_NE(out.find("item\tcboTarget\t01番：ウマ01\n"), std::string::npos);
    EXPECT_NE(out.find("label\tstxtKumi\t1番ｳﾏ01－3番ｳﾏ03： 13.0倍\n"), std::string::npos) << out;
    EXPECT_EQ(test::runCli({"--home", dir.path(), "odds", "place", "2020", "0510", "06", "05"}, out, &err), 2);
    EXPECT_EQ(test::runCli({"--home", dir.path(), "odds", "sanrentan", "2020", "0510", "06", "05", "9"}, out, &err), 2);
}

}  // namespace
}  // namespace tarvo
