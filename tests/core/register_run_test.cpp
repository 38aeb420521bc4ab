// The registration run against the data-service emulator: setup, usual runs,
// cancel and resume, every failure of the control, and malformed records.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "cp932.h"
#include "inifile.h"
#include "jv_fixture.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "registration.h"
#include "startup.h"
#include "test_support.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;

// Everything the run shows, as UTF-8.
struct RecordingView : RegistrationView {
    void status(int group, const std::string& text, StatusColour colour, const std::string& count) override {
        const std::string name = group == kTrackDataGroup ? "BB" : dataSpecs()[static_cast<std::size_t>(group)].spec;
        statuses.push_back(name + " " + toUtf8(text) + " " + count);
        colours[name] = colour;
    }
    void messageLine(const std::string& line) override { lines.push_back(toUtf8(line)); }
    void message(MessageKind kind, const std::string& text) override { messages.push_back({kind, toUtf8(text)}); }
    void execText(const std::string& text) override { lastExec = toUtf8(text); }
    void fileDone() override {
        if (cancelAfter > 0 && ++files == cancelAfter) run->cancel();
    }
    void pump() override {
        if (run->downloadTimerEnabled()) run->downloadTimerTick();
    }

    // The status texts of one group in order.
    std::vector<std::string> of(const std::string& group) const {
        std::vector<std::string> out;
        for (const std::string& s : statuses)
            if (s.compare(0, group.size() + 1, group + " ") == 0) out.push_back(s.substr(group.size() + 1));
        return out;
    }
    std::string last(const std::string& group) const {
        const auto all = of(group);
        return all.empty() ? std::string() : all.back();
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.second);
        return out;
    }

    RegistrationRun* run = nullptr;
    int cancelAfter = 0, files = 0;
    std::vector<std::string> statuses, lines;
    std::map<std::string, StatusColour> colours;
    std::vector<std::pair<MessageKind, std::string>> messages;
    std::string lastExec;
};

// Every file below a folder with its contents.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> out;
    if (!fs::exists(folder)) return out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) out[fs::relative(e.path(), folder).string()] = test::slurp(e.path().string());
    return out;
}

class Home {
public:
    explicit Home(const std::string& source) : source_(source) {}
    const std::string& folder() const { return dir_.path(); }
    std::string store() const { return dir_.path() + "data/"; }
    std::string settings() const { return dir_.path() + "tarvo.ini"; }
    IniFile ini() const { return IniFile(settings()); }
    std::string key(const char* k) const { return ini().read("UMA_DB", k); }
    // A fault or setting of the emulator.
    void emulator(const char* key, const std::string& value) const {
        IniFile(dir_.path() + "jvlink.ini").write("JVLINK", key, value);
    }

    RunResult run(RunKind kind, const std::string& date = "20240101", int cancelAfter = 0) {
        JVLinkEmulator jv(dir_.path());
        jv.overrideSource(source_);
        EXPECT_EQ(jv.JVInit(kSoftwareId), 0);
        view = RecordingView();
        RegistrationRun r(jv, settings(), StorePaths(store()), view);
        view.run = &r;
        view.cancelAfter = cancelAfter;
        const RunResult result = r.run(kind, date);
        queue = r.resultsQueue();
        view.run = nullptr;
        return result;
    }

    RecordingView view;
    std::string queue;

private:
    test::TempDir dir_;
    std::string source_;
};

class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::addRaceDay(src, "0106");
        test::addRaceDay(src, "0107");
    }
    test::TempDir sourceDir;
    test::SourceFolder src{sourceDir.path()};
};

// The BB slot text of a race: "****" while its track data was never built.
std::string trackSlot(const StorePaths& p, const std::string& raceKey) {
    std::string found = "none";
    forEachLine(p.bb(raceKey.substr(0, 4), raceKey.substr(4, 4)), [&](std::string_view line) {
        if (line.substr(0, 10) != raceKey.substr(0, 10)) return true;
        found = std::string(line.substr(10 + 4 * (std::stoul(raceKey.substr(10, 2)) - 1), 4));
        return false;
    });
    return found;
}

TEST_F(RegisterTest, SetupThenUsualRunsStoreTheNewRecordsAndRebuildTheirRaces) {
    Home home(src.root());
    ASSERT_EQ(home.run(RunKind::Setup), RunResult::Completed);
    const RecordingView& v = home.view;
    EXPECT_EQ(v.texts(), std::vector<std::string>{"セットアップ処理が完了しました"});
    EXPECT_EQ(v.of("RACE"), (std::vector<std::string>{"登録前 ", "ＤＬ中 0", "処理中 0", "登録済 8"}));
    EXPECT_EQ(v.last("DIFN"), "登録済 4");
    EXPECT_EQ(v.last("BLDN"), "登録済 4");
    EXPECT_EQ(v.last("BB"), "登録済 4");
    EXPECT_EQ(v.colours.at("RACE"), StatusColour::Blue);
    EXPECT_EQ(v.lines, (std::vector<std::string>{"競争情報 最終更新：20240107 18:03:00", "蓄積情報 最終更新：20240107 19:01:00",
                                                 "着数情報 最終更新：20240107 20:00:00", "繁殖情報 最終更新：20240107 21:01:00"}));
    EXPECT_EQ(home.key("lasttime"), "20240107210100");
    EXPECT_EQ(home.key("set_start"), "20240101000000");
    EXPECT_EQ(home.key("RCE_start"), "20240101000000");
    EXPECT_EQ(home.key("RCE_fname"), "");
    EXPECT_EQ(home.key("RCE_ltime"), "20240107180300");
    EXPECT_EQ(home.key("SNP_ltime"), "20240107200000");

    const StorePaths paths(home.store());
    EXPECT_EQ(readLines(paths.ra("2024", "0106", "05")).size(), 4u);  // two days of two races
    EXPECT_EQ(readLines(paths.ra("2024", "0106", "44")).size(), 2u);
    EXPECT_EQ(readLines(paths.se("2024", "0107", "05")).size(), 8u);
    EXPECT_EQ(getField(Family::SE, findRunnerByNumber(paths, {"2024", "0107", "05", "02"}, "04"), "KakuteiJyuni"), "96");
    EXPECT_EQ(runList(paths, "2021100001"), "20240107052024010605");
    EXPECT_FALSE(findJockey(paths, "01001").empty());
    EXPECT_FALSE(findBreedingHorse(paths, "1110000001").empty());
    EXPECT_FALSE(findAptitude(paths, {"2024", "0107", "05", "01"}, "2021100001").empty());
    EXPECT_FALSE(fs::exists(home.store() + "O1"));
    for (const std::string& k : test::centralRaceKeys("0107")) EXPECT_NE(trackSlot(paths, k), "****") << k;

    // A week later: a usual run stores the new day and rebuilds exactly its final races.
    test::addRaceDay(src, "0113");
    deleteAllTrackData(paths);
    const auto before = snapshot(home.store() + "RA/");
    ASSERT_EQ(home.run(RunKind::Usual), RunResult::Completed);
    EXPECT_EQ(home.view.texts(), std::vector<std::string>{"データ登録を完了しました"});
    EXPECT_EQ(home.view.last("RACE"), "登録済 4");
    EXPECT_EQ(home.view.last("BB"), "登録済 2");
    EXPECT_EQ(home.queue, test::centralRaceKeys("0113")[0] + test::centralRaceKeys("0113")[1]);
    for (const std::string& k : test::centralRaceKeys("0113")) EXPECT_NE(trackSlot(paths, k), "****") << k;
    for (const std::string& k : test::centralRaceKeys("0107")) EXPECT_EQ(trackSlot(paths, k), "none") << k;
    EXPECT_EQ(readLines(paths.ra("2024", "0113", "05")).size(), 6u);
    EXPECT_EQ(runList(paths, "2021100001"), "202401130520240107052024010605");
    EXPECT_EQ(home.key("lasttime"), "20240113210100");
    EXPECT_EQ(home.key("RCE_ltime"), "20240113180300");
    EXPECT_NE(snapshot(home.store() + "RA/"), before);

    // Nothing new: every next-time key stays as it was.
    const auto keys = test::slurp(home.settings());
    const auto store = snapshot(home.store());
    ASSERT_EQ(home.run(RunKind::Usual), RunResult::Completed);
    EXPECT_EQ(home.view.texts(), std::vector<std::string>{"最新のデータが登録されています"});
    EXPECT_EQ(home.view.lines, (std::vector<std::string>{"競争情報 最終更新：20240113 18:03:00",
                                                         "蓄積情報 最終更新：20240113 19:01:00",
                                                         "着数情報 最終更新：20240113 20:00:00",
                                                         "繁殖情報 最終更新：20240113 21:01:00"}));
    EXPECT_EQ(home.view.last("RACE"), "登録済 0");
    EXPECT_EQ(test::slurp(home.settings()), keys);
    EXPECT_EQ(snapshot(home.store()), store);
}

TEST_F(RegisterTest, CancelledAndResumedSetupEqualsAnUninterruptedOne) {
    Home reference(src.root());
    ASSERT_EQ(reference.run(RunKind::Setup), RunResult::Completed);
    const auto expected = snapshot(reference.store());
    ASSERT_FALSE(expected.empty());

    // Cancel points: inside RACE, at the end of RACE, inside DIFN, inside BLDN.
    struct Case {
        int files;
        const char* skipped;  // the data spec the resumed run skips through
        const char* resumed;  // the data spec it resumes inside
    };
    for (const Case c : {Case{3, "", "RACE"}, Case{8, "", "RACE"}, Case{10, "RACE", "DIFN"}, Case{15, "SNPN", "BLDN"}}) {
        SCOPED_TRACE(c.files);
        Home home(src.root());
        ASSERT_EQ(home.run(RunKind::Setup, "20240101", c.files), RunResult::Cancelled);
        EXPECT_EQ(home.view.texts(), std::vector<std::string>{"キャンセルされたため、処理を中断しました"});
        EXPECT_EQ(home.key("lasttime"), "");
        EXPECT_EQ(home.key("set_start"), "20240101000000");
        ASSERT_EQ(home.run(RunKind::Setup, "20240101"), RunResult::Completed);
        if (*c.skipped) {
            EXPECT_EQ(home.view.of(c.skipped)[1], "SKIP中 0");
        }
        const auto resumed = home.view.of(c.resumed);
        EXPECT_TRUE(std::find(resumed.begin(), resumed.end(), "SKIP中 0") != resumed.end());
        EXPECT_TRUE(snapshot(home.store()) == expected);
        EXPECT_EQ(home.key("RCE_fname"), "");
        EXPECT_EQ(home.key("lasttime"), reference.key("lasttime"));
    }
}

TEST_F(RegisterTest, SetupWithAnotherDateDoesNotResume) {
    Home home(src.root());
    ASSERT_EQ(home.run(RunKind::Setup, "20240101", 3), RunResult::Cancelled);
    EXPECT_FALSE(home.key("RCE_fname").empty());
    ASSERT_EQ(home.run(RunKind::Setup, "20240107"), RunResult::Completed);
    EXPECT_EQ(home.view.of("RACE")[1], "処理中 0");
    EXPECT_EQ(home.view.last("RACE"), "登録済 4");  // the files of 7 January on
}

TEST_F(RegisterTest, FailuresOfTheControlEndTheRunWithTheirMessages) {
    const std::string damaged = "20240106180100-SE.jvd";
    struct Case {
        const char* what;
        RunKind kind;
        std::vector<std::pair<const char*, std::string>> settings;
        std::vector<std::string> messages;
        const char* failing;  // the data spec shown as ERROR
        bool storesRace;      // RACE records reach the store
    };
    const std::string again = "\nセットアップを再度行ってください。";
    const Case cases[] = {
        {"start date after today", RunKind::Setup, {{"today", "20231231"}}, {"開始日付を本日以前にしてください"}, "RACE", false},
        {"setup cancelled in the control", RunKind::Setup, {{"open_result", "-2"}}, {"セットアップを中止しました"}, "RACE", false},
        {"server maintenance", RunKind::Setup, {{"maintenance", "open"}}, {}, "RACE", false},
        {"open error in DIFN", RunKind::Setup, {{"open_result.DIFN", "-100"}}, {"JVOpenエラー：-100"}, "DIFN", true},
        {"close error", RunKind::Setup, {{"close_result.RACE", "-7"}}, {"JVCloseエラー：-7"}, "RACE", true},
        {"status error", RunKind::Setup, {{"status_error", "-9"}}, {"JVStatusエラー：-9"}, "RACE", false},
        {"damaged size", RunKind::Setup, {{"damage_size", damaged}},
         {"20240106180100-SE.jvdのサイズに異常があるため、処理を中止します。" + again}, "RACE", true},
        {"damaged data", RunKind::Setup, {{"damage_data", damaged}},
         {"20240106180100-SE.jvdのデータに異常があるため、処理を中止します。" + again}, "RACE", true},
        {"download failed", RunKind::Setup, {{"download_fail.SNPN", "*"}}, {"データのダウンロードに失敗しました。"}, "SNPN", true},
        {"reading stuck", RunKind::Setup, {{"gets_stuck.BLDN", "-999"}}, {"JVGetsエラー：-999"}, "BLDN", true},
        {"usual run, maintenance", RunKind::Usual, {{"open_result", "-504"}}, {}, "RACE", false},
        {"usual run, open error", RunKind::Usual, {{"open_result", "-301"}}, {"JVOpenエラー：-301"}, "RACE", false},
        {"usual run, damaged file", RunKind::Usual, {{"damage_data", "20240113180100-SE.jvd"}},
         {"20240113180100-SE.jvdのデータに異常があるため、処理を中止します。\nデータ登録を再度行ってください。"}, "RACE", true},
        {"usual run, download failed", RunKind::Usual, {{"download_fail.DIFN", "*"}},
         {"データのダウンロードに失敗しました。"}, "DIFN", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Home home(src.root());
        if (c.kind == RunKind::Usual) {
            ASSERT_EQ(home.run(RunKind::Setup), RunResult::Completed);
            test::addRaceDay(src, "0113");
        }
        const std::string ltime = home.key((std::string(c.failing).substr(0, 1) == "R" ? "RCE_ltime" : "DFF_ltime"));
        for (const auto& [k, value] : c.settings) home.emulator(k, value);
        ASSERT_EQ(home.run(c.kind), RunResult::Error);
        std::vector<std::string> want = c.messages;
        want.push_back("エラーが発生したため、処理を中止しました");
        EXPECT_EQ(home.view.texts(), want);
        EXPECT_EQ(home.view.last(c.failing).substr(0, 5), "ERROR");
        EXPECT_EQ(home.view.colours.at(c.failing), StatusColour::Red);
        EXPECT_EQ(home.view.of("BLDN").size(), std::string(c.failing) == "BLDN" ? 4u : 1u);  // later specs not run
        EXPECT_EQ(home.view.of("BB").size(), 1u);  // no track data step
        if (c.kind == RunKind::Setup) {
            EXPECT_EQ(fs::exists(home.store() + "RA"), c.storesRace);
            EXPECT_EQ(home.key("lasttime"), "");
        } else {
            // The failing data spec keeps its restart point: no file it did not store is passed over.
            EXPECT_EQ(home.key(std::string(c.failing).substr(0, 1) == "R" ? "RCE_ltime" : "DFF_ltime"), ltime);
            EXPECT_EQ(home.key("lasttime"), "20240107210100");
            fs::remove_all(sourceDir.path() + "RACE");
            fs::remove_all(sourceDir.path() + "DIFN");
            fs::remove_all(sourceDir.path() + "SNPN");
            fs::remove_all(sourceDir.path() + "BLDN");
            SetUp();
        }
    }
}

TEST_F(RegisterTest, InputOutputFailuresEndTheRunWithTheSystemText) {
    {
        Home home(src.root());
        fs::create_directories(home.store());
        test::spit(home.store() + "RA", "a file where the race folder belongs");
        ASSERT_EQ(home.run(RunKind::Setup), RunResult::Error);
        const auto texts = home.view.texts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_NE(texts[0].find("RA"), std::string::npos) << texts[0];
        EXPECT_EQ(texts[1], "エラーが発生したため、処理を中止しました");
        EXPECT_EQ(home.view.last("RACE"), "ERROR 0");
        EXPECT_EQ(home.view.of("DIFN").size(), 1u);
    }
    {
        Home home(src.root());
        fs::create_directories(home.settings());  // the settings file cannot be written
        ASSERT_EQ(home.run(RunKind::Setup), RunResult::Error);
        EXPECT_EQ(home.view.texts().back(), "エラーが発生したため、処理を中止しました");
        EXPECT_EQ(home.view.last("RACE").substr(0, 5), "ERROR");
    }
}

TEST_F(RegisterTest, DamagedFileSavesTheResumePointAndTheNextSetupGoesOn) {
    Home reference(src.root());
    ASSERT_EQ(reference.run(RunKind::Setup), RunResult::Completed);

    Home home(src.root());
    home.emulator("damage_size", "20240107180100-SE.jvd");
    ASSERT_EQ(home.run(RunKind::Setup), RunResult::Error);
    EXPECT_EQ(home.key("RCE_fname"), "20240107180000-RA.jvd");
    EXPECT_EQ(home.key("RCE_tstmp"), "");
    // The damaged file was deleted from the control's cache: its next download is sound.
    ASSERT_EQ(home.run(RunKind::Setup), RunResult::Completed);
    EXPECT_TRUE(snapshot(home.store()) == snapshot(reference.store()));
}

TEST_F(RegisterTest, MalformedRecordsAreSkippedAndDamageNothingStored) {
    Home home(src.root());
    ASSERT_EQ(home.run(RunKind::Setup), RunResult::Completed);
    const StorePaths paths(home.store());
    const std::string race02 = findRace(paths, {"2024", "0107", "05", "02"});
    const std::string runners = test::slurp(paths.se("2024", "0107", "05"));
    ASSERT_FALSE(race02.empty());

    // An update of 7 January whose race 02 record is cut short, between sound
    // records, and whose runner record is broken in two.
    test::Raw ra1 = test::raRecord("05", "11", "2000", "7", "0107", "01");
    test::Raw ra2 = test::raRecord("05", "11", "2000", "7", "0107", "02");
    test::Raw ra3 = test::raRecord("05", "11", "2000", "7", "0108", "03");
    std::string cut = ra2.rec.substr(0, 600) + "\r\n";
    test::Raw se = test::race("SE", "05", "7", "0107", "01");
    se.set("Umaban", "01").set("KettoNum", "2021100001").at(300, "\r\nSE");
    src.addFile("RACE", "20240108120000", "RA", {ra1.rec, cut, ra3.rec});
    src.addFile("RACE", "20240108120100", "SE", {se.rec});
    ASSERT_EQ(home.run(RunKind::Usual), RunResult::Completed);
    EXPECT_EQ(home.view.texts(), std::vector<std::string>{"データ登録を完了しました"});
    EXPECT_EQ(getField(Family::RA, findRace(paths, {"2024", "0107", "05", "01"}), "TrackCD"), "11");
    EXPECT_EQ(findRace(paths, {"2024", "0107", "05", "02"}), race02);
    EXPECT_EQ(getField(Family::RA, findRace(paths, {"2024", "0108", "05", "03"}), "Kyori"), "2000");
    EXPECT_EQ(test::slurp(paths.se("2024", "0107", "05")), runners);
    EXPECT_EQ(home.queue, "202401070501202401080503");
}

TEST_F(RegisterTest, ScreenModeFollowsTheSettings) {
    Home home(src.root());
    JVLinkEmulator jv(home.folder());
    jv.overrideSource(src.root());
    jv.JVInit(kSoftwareId);
    RecordingView view;
    RegistrationRun run(jv, home.settings(), StorePaths(home.store()), view);
    RegistrationRun::ScreenMode m = run.openScreen("20240201");
    EXPECT_FALSE(m.usual);
    EXPECT_EQ(m.startDate, "20240201");
    home.ini().write("UMA_DB", "set_start", "20230105000000");
    home.ini().write("UMA_DB", "lasttime", "  ");
    m = run.openScreen("20240201");
    EXPECT_FALSE(m.usual);
    EXPECT_EQ(m.startDate, "20230105");
    home.ini().write("UMA_DB", "lasttime", "20240107210100");
    EXPECT_TRUE(run.openScreen("20240201").usual);
    // The open and close leave the control ready for a run.
    int reads = 0, downloads = 0;
    std::string last;
    EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    EXPECT_EQ(jv.JVClose(), 0);
}

TEST(DisplayTimestamp, SplitsDateAndTime) {
    EXPECT_EQ(displayTimestamp("20240106183000"), "20240106 18:30:00");
    EXPECT_EQ(displayTimestamp("2024010618"), "20240106 18");
    EXPECT_EQ(displayTimestamp(""), "");
}

}  // namespace
}  // namespace tarvo
