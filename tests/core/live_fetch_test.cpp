// The real-time fetches against the data-service emulator: what each stores,
// the messages of the reading loop, the weather summary and the day batch.
#include <gtest/gtest.h>

#include <cstdlib>

#include "code_tables.h"
#include "fsys.h"
#include "inifile.h"
#include "jv_fixture.h"
#include "jvlink_emu.h"
#include "live_fetch.h"
#include "lookups.h"
#include "record_writers.h"
#include "test_support.h"

namespace tarvo {
namespace {

using test::Raw;
using test::spit;

struct Messages : LiveView {
    std::vector<std::string> texts;
    void message(MessageKind, const std::string& text) override { texts.push_back(toUtf8(text)); }
};

const RaceKey kRace("2024", "0106", "05", "11");
const RaceKey kNext("2024", "0106", "05", "12");

Raw runner(const RaceKey& r, const char* kubun, const char* umaban, const char* bamei, const char* ketto) {
    Raw s = test::race("SE", r.jyoCD.c_str(), kubun, r.monthDay.c_str(), r.raceNum.c_str());
    s.set("Umaban", umaban).set("KettoNum", ketto).set("Bamei", sj(bamei)).set("SexCD", "1");
    return s;
}

class LiveFetch : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"TARVO_JVLINK_SOURCE", "TARVO_JVLINK_RATE"}) unsetenv(v);
        set("source", src());
        ASSERT_EQ(jv.JVInit("TEST"), 0);
        // Entries of two races at 東京 (05): 11 on the turf at 15:00, 12 on the dirt at 15:40.
        store(test::raRecord("05", "17", "1600", "2", "0106", "11").set("HassoTime", "1500"));
        store(test::raRecord("05", "24", "1400", "2", "0106", "12").set("HassoTime", "1540"));
        store(runner(kRace, "2", "01", "アルファ", "2020100001"));
        store(runner(kRace, "2", "02", "ベータ", "2020100002"));
        store(runner(kNext, "2", "01", "ガンマ", "2020100003"));
    }
    std::string src() const { return home.path() + "src/"; }
    void set(const std::string& key, const std::string& value) const {
        IniFile(home.path() + "jvlink.ini").write("JVLINK", key, value);
    }
    void store(const Raw& raw) const { test::storeRaceRecord(paths, raw); }
    void realTime(const std::string& spec, const std::string& key, const std::vector<Raw>& records) const {
        test::addRealTime(src(), spec, key, records);
    }
    std::string runnerField(const RaceKey& r, const char* umaban, const char* name) const {
        return std::string(getField(Family::SE, findRunnerByNumber(paths, r, umaban), name));
    }
    std::string raceField(const RaceKey& r, const char* name) const {
        return std::string(getField(Family::RA, findRace(paths, r), name));
    }

    test::TempDir home, storeDir;
    StorePaths paths{storeDir.path()};
    JVLinkEmulator jv{home.path()};
    Messages view;
    LiveUpdates live{jv, paths, view};
};

Raw weather(const char* jyo, const char* hhmm, const char* tenko, const char* siba, const char* dirt) {
    Raw w("WE");
    w.set("head.DataKubun", "1").set("id.Year", "2024").set("id.MonthDay", "0106").set("id.JyoCD", jyo);
    w.set("HappyoTime.Hour", std::string(hhmm, 2)).set("HappyoTime.Minute", hhmm + 2);
    w.set("TenkoBaba.TenkoCD", tenko).set("TenkoBaba.SibaBabaCD", siba).set("TenkoBaba.DirtBabaCD", dirt);
    return w;
}

TEST_F(LiveFetch, ChangeInformationRewritesTheStoreAndFormsTheWeatherSummary) {
    Raw av = test::race("AV", "05", "2", "0106", "11");
    av.set("Umaban", "00").set("Bamei", sj("ベータ"));
    Raw tc = test::race("TC", "05", "1", "0106", "12");
    tc.set("TCInfoAfter.Ji", "15").set("TCInfoAfter.Fun", "50").set("TCInfoBefore.Ji", "15").set("TCInfoBefore.Fun", "40");
    Raw cc = test::race("CC", "05", "1", "0106", "11");
    cc.set("CCInfoAfter.Kyori", "1600").set("CCInfoAfter.TruckCD", "23").set("CCInfoBefore.Kyori", "1600");
    cc.set("CCInfoBefore.TruckCD", "17");
    Raw jc = test::race("JC", "05", "1", "0106", "11");
    jc.set("Umaban", "01").set("JCInfoAfter.Futan", "560").set("JCInfoAfter.KisyuCode", "01111");
    jc.set("JCInfoAfter.KisyuName", sj("騎手太郎次郎")).set("JCInfoBefore.Futan", "570");
    realTime("0B14", "20240106",
             {weather("05", "0830", "1", "1", "1"), av, tc, cc, jc, weather("05", "1530", "2", "0", "3"),
              weather("06", "0900", "3", "0", "0"), weather("44", "0900", "1", "1", "1")});
    live.fetchChanges("20240106");
    EXPECT_TRUE(view.texts.empty());
    EXPECT_EQ(toUtf8(live.weatherSummary()), "東京[曇]芝良 ダ重/中山[雨]芝** ダ**");
    EXPECT_EQ(toUtf8(weatherCaption("TARVO Ver.2.00", live.weatherSummary())),
              "TARVO Ver.2.00 - 東京[曇]芝良 ダ重/中山[雨]芝** ダ**");
    EXPECT_EQ(runnerField(kRace, "02", "IJyoCD"), "2");
    EXPECT_EQ(runnerField(kRace, "01", "KisyuRyakusyo"), sj("騎手太郎"));
    EXPECT_EQ(runnerField(kRace, "01", "Futan") + runnerField(kRace, "01", "FutanBefore"), "560570");
    EXPECT_EQ(runnerField(kRace, "02", "TrackCD"), "23");
    EXPECT_EQ(raceField(kNext, "HassoTime") + raceField(kNext, "HassoTimeBefore"), "15501540");
    // The 08:30 announcement reached both races by their surface (race 11 still on the turf then),
    // the 15:30 one only race 12, now at 15:50.
    EXPECT_EQ(raceField(kRace, "TenkoCD") + raceField(kRace, "SibaBabaCD") + raceField(kRace, "DirtBabaCD"), "11 ");
    EXPECT_EQ(raceField(kNext, "TenkoCD") + raceField(kNext, "SibaBabaCD") + raceField(kNext, "DirtBabaCD"), "2 3");

    realTime("0B14", "20240106", {test::race("TC", "05", "1", "0106", "12")});
    live.fetchChanges("20240106");
    EXPECT_EQ(weatherCaption("TARVO Ver.2.00", live.weatherSummary()), "TARVO Ver.2.00");
}

TEST_F(LiveFetch, ReadingLoopMessages) {
    struct Case {
        const char* setting;
        const char* value;
        void (LiveUpdates::*fetch)(const std::string&);
        std::vector<std::string> want;
    };
    realTime("0B11", "20240106", {test::race("WH", "05", "1")});
    realTime("0B14", "20240106", {test::race("TC", "05", "1")});
    const Case cases[] = {
        {"rtopen_result", "-100", &LiveUpdates::fetchChanges, {"JVOpenエラー：-100"}},
        {"rtopen_result", "-504", &LiveUpdates::fetchWeights, {"JVOpenエラー：-504"}},
        {"damage_size", "20240106.jvd", &LiveUpdates::fetchWeights, {"20240106.jvdのサイズに異常があります。"}},
        {"damage_data", "20240106.jvd", &LiveUpdates::fetchChanges, {"20240106.jvdのデータに異常があります。"}},
        {"download_fail", "*", &LiveUpdates::fetchChanges, {"データのダウンロードに失敗しました。"}},
        {"close_result", "-7", &LiveUpdates::fetchWeights, {"JVCloseエラー：-7"}},
        // A result without meaning on every read: given up after a bound, with a message.
        {"gets_stuck", "-99", &LiveUpdates::fetchChanges, {"JVReadエラー：-99"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + "=" + c.value);
        set(c.setting, c.value);
        view.texts.clear();
        (live.*c.fetch)("20240106");
        EXPECT_EQ(view.texts, c.want);
        set(c.setting, "");
    }
    view.texts.clear();
    live.fetchChanges("20240107");  // no data: silent
    EXPECT_EQ(live.lastOpenResult(), -1);
    set("rtopen_result", "-504");
    live.fetchResults(kRace);  // maintenance is silent to the results fetch
    set("rtopen_result", "-100");
    EXPECT_FALSE(live.fetchOdds(kRace));  // the odds fetch reports its open errors ...
    EXPECT_EQ(live.lastOpenResult(), -1);  // ... but only the day fetches keep their open result
    EXPECT_EQ(view.texts, std::vector<std::string>(4, "JVOpenエラー：-100"));
}

TEST_F(LiveFetch, OddsFetchStoresWinOddsAndTheOddsRecords) {
    Raw o1 = test::race("O1", "05", "1", "0106", "11");
    o1.set("OddsTansyoInfo[1].Umaban", "01").set("OddsTansyoInfo[1].Odds", "0035").set("OddsTansyoInfo[1].Ninki", "01");
    o1.set("OddsTansyoInfo[2].Umaban", "02").set("OddsTansyoInfo[2].Odds", "0120").set("OddsTansyoInfo[2].Ninki", "02");
    const Raw o2 = test::race("O2", "05", "1", "0106", "11"), o4 = test::race("O4", "05", "1", "0106", "11");
    realTime("0B30", kRace.text(), {o1, o2, o4, test::race("O3", "05", "1", "0106", "11")});
    realTime("0B34", kRace.text(), {o4});
    realTime("0B36", kRace.text(), {test::race("O6", "05", "1", "0106", "11")});
    EXPECT_TRUE(live.fetchOdds(kRace));
    EXPECT_TRUE(view.texts.empty());
    EXPECT_EQ(runnerField(kRace, "01", "Odds") + runnerField(kRace, "01", "Ninki"), "003501");
    EXPECT_EQ(runnerField(kRace, "02", "Odds") + runnerField(kRace, "02", "Ninki"), "012002");
    EXPECT_FALSE(findOdds(paths, Family::O2, kRace).empty());
    EXPECT_TRUE(findOdds(paths, Family::O3, kRace).empty());  // after an O4 the rest of the file is skipped
    EXPECT_FALSE(findOdds(paths, Family::O4, kRace).empty());
    EXPECT_FALSE(findOdds(paths, Family::O6, kRace).empty());

    // A failed close ends the odds fetch silently before the next spec.
    const RaceKey r12 = kNext;
    realTime("0B30", r12.text(), {test::race("O2", "05", "1", "0106", "12")});
    realTime("0B34", r12.text(), {test::race("O4", "05", "1", "0106", "12")});
    set("close_result.0B30", "-7");
    live.fetchOdds(r12);
    EXPECT_TRUE(view.texts.empty());
    EXPECT_FALSE(findOdds(paths, Family::O2, r12).empty());
    EXPECT_TRUE(findOdds(paths, Family::O4, r12).empty());
}

TEST_F(LiveFetch, ResultsFetchKeepsTheRacesResults) {
    Raw ra11 = test::raRecord("05", "17", "1600", "5", "0106", "11"), ra12 = test::raRecord("05", "24", "1400", "5", "0106", "12");
    Raw hr11 = test::race("HR", "05", "1", "0106", "11");
    hr11.set("PayTansyo[1].Umaban", "01").set("PayTansyo[1].Pay", "000000350");
    Raw se2 = runner(kRace, "2", "02", "ベータ", "2020100002").set("NyusenJyuni", "01");
    realTime("0B12", "20240106",
             {ra11, runner(kRace, "5", "01", "アルファ", "2020100001").set("NyusenJyuni", "02"), se2, hr11, ra12,
              runner(kNext, "5", "01", "ガンマ", "2020100003"), test::race("HR", "05", "1", "0106", "12")});
    live.fetchResults(kRace);
    EXPECT_TRUE(view.texts.empty());
    EXPECT_EQ(raceField(kRace, "DataKubun"), "5");
    EXPECT_EQ(runnerField(kRace, "01", "DataKubun") + runnerField(kRace, "01", "NyusenJyuni"), "502");
    EXPECT_EQ(runnerField(kRace, "02", "DataKubun"), "2");  // a result in entry state is not stored
    EXPECT_FALSE(findPayout(paths, kRace).empty());
    EXPECT_EQ(raceField(kNext, "DataKubun"), "2");
    EXPECT_TRUE(findPayout(paths, kNext).empty());
}

TEST_F(LiveFetch, BatchFetchesPerRaceByStateAndStopsWhenCancelled) {
    const RaceKey cancelled("2024", "0106", "05", "01"), fin("2024", "0106", "05", "02"), conf("2024", "0106", "05", "03");
    store(test::raRecord("05", "17", "1600", "2", "0106", "01"));
    store(test::raRecord("05", "17", "1600", "6", "0106", "02"));
    store(test::raRecord("05", "17", "1600", "7", "0106", "03"));
    realTime("0B30", cancelled.text(), {test::race("O2", "05", "9", "0106", "01")});
    const std::vector<RaceKey> races = {cancelled, fin, conf, kRace};
    const auto run = [&](BatchKind kind, bool normal, std::size_t cancelAfter) {
        std::vector<std::string> lines;
        live.runBatch(kind, "20240106", races, normal, [&](const BatchStep& s) {
            lines.push_back(s.race.raceNum + ":" + s.actions);
            if (lines.size() == cancelAfter) live.cancel();
        });
        EXPECT_FALSE(live.cancelFlag());
        return lines;
    };
    EXPECT_EQ(run(BatchKind::Odds, true, 0), (std::vector<std::string>{"01:odds,results", "02:none", "03:skip", "11:odds"}));
    EXPECT_EQ(run(BatchKind::Results, true, 0),
              (std::vector<std::string>{"01:results,odds", "02:none", "03:skip", "11:results,odds"}));
    EXPECT_EQ(run(BatchKind::Results, false, 0), (std::vector<std::string>{"01:none", "02:none", "03:skip", "11:none"}));
    EXPECT_EQ(run(BatchKind::Odds, true, 2), (std::vector<std::string>{"01:odds,results", "02:none"}));
    // A day fetch refused by the service ends the batch before the races.
    set("rtopen_result.0B14", "-411");
    EXPECT_TRUE(run(BatchKind::Odds, true, 0).empty());
    EXPECT_EQ(view.texts, std::vector<std::string>{"JVOpenエラー：-411"});
}

}  // namespace
}  // namespace tarvo
