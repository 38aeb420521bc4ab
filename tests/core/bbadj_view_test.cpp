// The track data maintenance screens' logic: the adjustment's opening, value
// check and update, and the rebuild and period runs with their outcomes.
#include <gtest/gtest.h>

#include "bbadj_view.h"
#include "cp932.h"
#include "fsys.h"
#include "store_fixture.h"
#include "test_support.h"

namespace tarvo {
namespace {

class TrackMaintenance : public ::testing::Test {
protected:
    // A confirmed race with three placed runners, and the key of it.
    RaceKey addRace(test::StoreFixture::Race r) {
        fx.addRace(r);
        if (r.dataKubun == "7")
            for (int i = 1; i <= 3; ++i) fx.addRunner(r, i, "0" + std::to_string(i), "1350", "345");
        return {r.year, r.monthDay, r.jyoCD, r.raceNum};
    }
    std::string fileFolder() const { return dir.path() + "file/"; }

    test::TempDir dir;
    test::StoreFixture fx{dir.path() + "data/"};
    std::string settings = dir.path() + "tarvo.ini";
};

TEST_F(TrackMaintenance, TypedValuesReadAsIntegersFromMinus99To199) {
    const std::pair<const char*, int> cases[] = {{"5", 5},     {"+5", 5},   {"005", 5},   {"-5", -5},  {"199", 199},
                                                 {"200", 200}, {"-99", -99}, {"", -150}, {" ", -150}, {"+", -150},
                                                 {"1-", -150}, {"-0", 0}};
    for (const auto& [text, want] : cases) EXPECT_EQ(adjustValue(text), want) << text;
    EXPECT_TRUE(validAdjustValue(-99));
    EXPECT_TRUE(validAdjustValue(199));
    EXPECT_FALSE(validAdjustValue(200));
    EXPECT_FALSE(validAdjustValue(-100));
    EXPECT_FALSE(validAdjustValue(-150));
}

TEST_F(TrackMaintenance, UpdateWritesTheValuesAndKeepsTheComputedRow) {
    const RaceKey race = addRace({});
    const TrackAdjustment opened = openTrackAdjust(fx.paths, settings, fileFolder(), race);
    EXPECT_TRUE(opened.updateEnabled);
    EXPECT_TRUE(opened.error.empty());
    EXPECT_EQ(opened.before, (VariantPair{"****", "****"}));  // no track data file yet
    EXPECT_EQ(opened.computed.rw.size(), 3u);

    const struct {
        const char *rw, *ls, *storedRw, *storedLs;
    } cases[] = {{"5", "-5", "+05", "-05"}, {"199", "0", "199", "+00"}, {"+012", "-99", "+12", "-99"}};
    for (const auto& c : cases) {
        const AdjustOutcome o = applyTrackAdjustment(fx.paths, race, c.rw, c.ls);
        ASSERT_TRUE(o.error.empty()) << c.rw;
        EXPECT_EQ(o.now, (VariantPair{c.storedRw, c.storedLs}));
        const TrackAdjustment again = openTrackAdjust(fx.paths, settings, fileFolder(), race);
        EXPECT_EQ(again.before, o.now) << c.rw;
        EXPECT_EQ(again.computed, opened.computed);
    }
    // The surface mark follows the course: 芝.
    EXPECT_NE(test::slurp(fx.paths.bb(race.year, race.monthDay)).find("+12T"), std::string::npos);
}

TEST_F(TrackMaintenance, InvalidValuesWriteNothingAndFocusTheWrongField) {
    const RaceKey race = addRace({});
    const struct {
        const char *rw, *ls;
        AdjustOutcome::Focus focus;
    } cases[] = {{"200", "0", AdjustOutcome::Focus::Rw},
                 {"0", "200", AdjustOutcome::Focus::Ls},
                 {"", "", AdjustOutcome::Focus::Rw},
                 {"-", "5", AdjustOutcome::Focus::Rw},
                 {"5", "", AdjustOutcome::Focus::Ls}};
    for (const auto& c : cases) {
        const AdjustOutcome o = applyTrackAdjustment(fx.paths, race, c.rw, c.ls);
        EXPECT_EQ(o.error, sj("有効な値を入力してください"));
        EXPECT_EQ(o.focus, c.focus) << c.rw << "/" << c.ls;
    }
    EXPECT_FALSE(fileExists(fx.paths.bb(race.year, race.monthDay)));
}

TEST_F(TrackMaintenance, UpdateNeedsFinalResultsAndBothStandards) {
    test::StoreFixture::Race entry;
    entry.raceNum = "06";
    entry.dataKubun = "1";
    const TrackAdjustment notFinal = openTrackAdjust(fx.paths, settings, fileFolder(), addRace(entry));
    EXPECT_FALSE(notFinal.updateEnabled);
    EXPECT_TRUE(notFinal.error.empty());

    test::StoreFixture::Race odd;
    odd.raceNum = "07";
    odd.kyori = "1050";  // a distance without a standard time
    const TrackAdjustment noStandard = openTrackAdjust(fx.paths, settings, fileFolder(), addRace(odd));
    EXPECT_FALSE(noStandard.updateEnabled);
    EXPECT_EQ(noStandard.error, sj("中山芝1050の基準タイムがないため、\r\n当レースの馬場調整はできません"));
}

// Records what a run shows.
struct RecordingView : TrackBuildView {
    std::vector<int> maxima;
    std::vector<std::string> captions;
    bool ended = false;
    std::function<void()> onPump;
    void barMaximum(int m) override { maxima.push_back(m); }
    void barEnd() override { ended = true; }
    void caption(const std::string& t) override { captions.push_back(t); }
    void pump() override {
        if (onPump) onPump();
    }
};

TEST_F(TrackMaintenance, RebuildAllRecomputesEveryFinalRaceOrStopsAtACancel) {
    for (const char* num : {"01", "02", "03"}) {
        test::StoreFixture::Race r;
        r.raceNum = num;
        addRace(r);
    }
    const RaceKey first{"2020", "0510", "06", "01"};
    applyTrackAdjustment(fx.paths, first, "50", "50");

    BuilderProgress progress;
    RecordingView view;
    const TrackBuildOutcome done = rebuildAllFromScreen(fx.paths, settings, progress, view);
    EXPECT_FALSE(done.cancelled);
    EXPECT_EQ(done.message, sj("馬場データ再作成が終了しました"));
    EXPECT_EQ(done.caption, sj("馬場データの再作成"));
    EXPECT_EQ(view.maxima, std::vector<int>{3});
    EXPECT_EQ(view.captions, std::vector<std::string>{sj("馬場データの再作成(馬場データ作成中)")});
    EXPECT_EQ(progress.raceCount, 3);
    EXPECT_NE(openTrackAdjust(fx.paths, settings, fileFolder(), first).before.rw, "+50");

    // A cancel right after the start leaves one race computed, the others without track data.
    RecordingView cancelling;
    cancelling.onPump = [&] { progress.cancelRequested = true; };
    const TrackBuildOutcome stopped = rebuildAllFromScreen(fx.paths, settings, progress, cancelling);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.message.empty());
    EXPECT_EQ(stopped.caption, sj("馬場データの再作成(馬場データの作成を中止しました)"));
    EXPECT_FALSE(progress.cancelRequested);
    EXPECT_EQ(progress.raceCount, 1);
    EXPECT_EQ(openTrackAdjust(fx.paths, settings, fileFolder(), {"2020", "0510", "06", "03"}).before,
              (VariantPair{"***", "***"}));
}

TEST_F(TrackMaintenance, PeriodChecksItsOrderAndTellsAnEmptyPeriod) {
    addRace({});
    BuilderProgress progress;
    const struct {
        const char *from, *to, *message;
        int races;
        bool ended;
    } cases[] = {
        {"20200511", "20200510", "開始と終了の順序を正しく設定してください", 0, false},
        {"20210101", "20211231", "該当する期間のデータはありません", 0, true},
        {"20200510", "20200510", "馬場データ更新が終了しました", 1, true},
    };
    for (const auto& c : cases) {
        RecordingView view;
        const TrackBuildOutcome o = rebuildPeriodFromScreen(fx.paths, settings, c.from, c.to, progress, view);
        EXPECT_EQ(o.message, sj(c.message)) << c.from;
        EXPECT_EQ(o.kind, MessageKind::Information);
        EXPECT_EQ(o.caption, sj("期間内の馬場データ更新"));
        EXPECT_EQ(view.ended, c.ended) << c.from;
        // The bar runs over the files below RA/: the one race file.
        EXPECT_EQ(view.maxima, c.ended ? std::vector<int>{1} : std::vector<int>{}) << c.from;
        EXPECT_EQ(progress.raceCount, c.races) << c.from;
    }
}

TEST_F(TrackMaintenance, CliAdjustPrintsTheRowsOrTheRefusal) {
    addRace({});
    std::string out, err;
    auto call = [&](const char* rw, const char* ls) {
        out.clear();
        err.clear();
        return test::runCli({"bb", "adjust", "2020", "0510", "06", "05", rw, ls, "--home", dir.path()}, out, &err);
    };
    ASSERT_EQ(call("7", "-3"), 0) << err;
    EXPECT_EQ(out.substr(0, out.find("未調整")), "調整前\t****\t****\n");
    EXPECT_NE(out.find("現在値\t+07\t-03\n"), std::string::npos) << out;
    ASSERT_EQ(call("8", "8"), 0);
    EXPECT_EQ(out.substr(0, out.find("未調整")), "調整前\t+07\t-03\n");
    EXPECT_EQ(call("200", "0"), 1);
    EXPECT_EQ(err, "有効な値を入力してください\n");
    EXPECT_EQ(out.find("現在値"), std::string::npos);
}

}  // namespace
}  // namespace tarvo
