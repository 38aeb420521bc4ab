// Newcomer statistics: which runs count and where, the line layouts, the
// 1500-key rule, the readers, and the builder's run over years with cancel.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "newcomer_stats.h"
#include "shbmk_view.h"
#include "store_fixture.h"
#include "store_paths.h"
#include "test_support.h"
#include "textfn.h"

namespace tarvo {
namespace {

// One run of a race: its jockey, the sire and dam sire of its horse (no UM
// record when both are empty) and its arrival order.
struct Starter {
    std::string kisyuCode, ryakusyo, sire, damSire;  // UTF-8 names
    std::string nyusen;
};

using Race = test::StoreFixture::Race;

// A newcomer race at 東京 on 芝1600, 7 June 2020.
Race newcomerRace() {
    Race r;
    r.monthDay = "0607";
    r.jyoCD = "05";
    r.raceNum = "01";
    r.jyokenCD5 = "701";
    return r;
}

// Newcomer race i of 2020, one a day: twelve days a month, race number by the day.
Race newcomerRace(int i) {
    Race r = newcomerRace();
    char md[32], rn[16];
    std::snprintf(md, sizeof md, "%02d%02d", 1 + i / 12, 1 + i % 12);
    std::snprintf(rn, sizeof rn, "%02d", 1 + i % 12);
    r.monthDay = md;
    r.raceNum = rn;
    return r;
}

// A small store: the races stored at once, their runners and horses written
// whole by write().
class NewcomerStore : public test::StoreFixture {
public:
    using StoreFixture::StoreFixture;

    void add(const Race& r, const std::vector<Starter>& runs) {
        addRace(r);
        int umaban = 0;
        for (const Starter& run : runs) {
            char num[16];
            std::snprintf(num, sizeof num, "%02d", ++umaban);
            std::snprintf(kettoNum_, sizeof kettoNum_, "2018%06d", ++horses_);
            LineBuilder se(Family::SE);
            test::setRaceKey(se, r);
            fill(se, {{"DataKubun", r.dataKubun}, {"TrackCD", r.trackCD}, {"Kyori", r.kyori}, {"Umaban", num},
                      {"KettoNum", kettoNum_}, {"KisyuCode", run.kisyuCode}, {"KisyuRyakusyo", sj(run.ryakusyo)},
                      {"NyusenJyuni", run.nyusen}});
            files_[paths.se(r.year, r.monthDay, r.jyoCD)] += se.line();
            if (run.sire.empty() && run.damSire.empty()) continue;
            LineBuilder um(Family::UM);
            fill(um, {{"KettoNum", kettoNum_},
                      {"Ketto3InfoBamei1", sj(run.sire)},
                      {"Ketto3InfoBamei5", sj(run.damSire)}});
            files_[paths.um(kettoNum_, "datn")] += um.line();
        }
    }

    void write() const {
        for (const auto& [path, data] : files_) test::spit(path, data);
    }

private:
    static void fill(LineBuilder& b, std::initializer_list<std::pair<const char*, std::string>> fields) {
        for (const auto& [name, value] : fields) EXPECT_TRUE(b.set(name, value)) << name;
    }

    std::map<std::string, std::string> files_;
    char kettoNum_[16] = {};
    int horses_ = 0;
};

// Eight blocks of zeros with the given blocks replaced.
std::string blocks(std::initializer_list<std::pair<int, const char*>> set) {
    std::string s(72, '0');
    for (const auto& [i, text] : set) s.replace(static_cast<std::size_t>(i) * 9, 9, text);
    return s;
}
enum { kTurf, kDirt, kTurfShort, kTurfMiddle, kTurfLong, kDirtShort, kDirtMiddle, kDirtLong };
constexpr const char* kSecond = "000100000";
constexpr const char* kOther = "000000001";

class NewcomerStats : public ::testing::Test {
protected:
    std::string fileFolder() const { return home.path() + "file/"; }
    std::string statsFile(NewcomerTable t, int year) const { return newcomerFile(fileFolder(), t, year); }

    NewcomerYear make(int year) {
        NewcomerProgress progress;
        return makeNewcomerStatistics(store.paths, fileFolder(), year, progress, {});
    }

    test::TempDir home;
    NewcomerStore store{home.path() + "data/"};
};

// The jockey line of one run (jockey 01234 "武豊", horse by サンデー out of a
// ノーザン mare) in a race varied per case: the counted blocks, or no line at all.
TEST_F(NewcomerStats, WhichRunsCountAndInWhichBlocks) {
    struct Case {
        const char* what;
        Race race;
        std::string nyusen;
        std::string want;  // the eight blocks; "" when the run is not counted
    };
    auto race = [](const char* trackCD, const char* kyori) {
        Race r = newcomerRace();
        r.trackCD = trackCD;
        r.kyori = kyori;
        return r;
    };
    Race newcomer702 = newcomerRace(), provisional = newcomerRace(), local = newcomerRace();
    newcomer702.jyokenCD5 = "702";
    provisional.dataKubun = "3";
    local.jyoCD = "44";
    const Case cases[] = {
        {"turf 1600 second", race("10", "1600"), "02", blocks({{kTurf, kSecond}, {kTurfMiddle, kSecond}})},
        {"arrival order 0", race("10", "1600"), "00", ""},
        {"arrival order 12", race("10", "1600"), "12", blocks({{kTurf, kOther}, {kTurfMiddle, kOther}})},
        {"did not finish (99)", race("10", "1600"), "99", blocks({{kTurf, kOther}, {kTurfMiddle, kOther}})},
        {"scratched (96)", race("10", "1600"), "96", ""},
        {"unraced race 702", newcomer702, "01", ""},
        {"provisional result", provisional, "01", ""},
        {"local track", local, "01", ""},
        {"dirt 1400 winner", race("23", "1400"), "01", blocks({{kDirt, "010000000"}, {kDirtShort, "010000000"}})},
        {"turf 1499 third", race("22", "1499"), "03", blocks({{kTurf, "000001000"}, {kTurfShort, "000001000"}})},
        {"turf 1899", race("17", "1899"), "02", blocks({{kTurf, kSecond}, {kTurfMiddle, kSecond}})},
        {"turf 1900", race("17", "1900"), "02", blocks({{kTurf, kSecond}, {kTurfLong, kSecond}})},
        {"dirt 1500 (29)", race("29", "1500"), "02", blocks({{kDirt, kSecond}, {kDirtMiddle, kSecond}})},
        {"dirt 2100", race("24", "2100"), "02", blocks({{kDirt, kSecond}, {kDirtLong, kSecond}})},
        {"steeplechase", race("51", "3000"), "01", ""},
        {"course code 30", race("30", "1600"), "01", ""},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        NewcomerStore s(dir.path() + "data/");
        s.add(c.race, {{"01234", "武豊", "サンデー", "ノーザン", c.nyusen}});
        s.write();
        NewcomerProgress progress;
        const std::string folder = dir.path() + "file/";
        const NewcomerYear made = makeNewcomerStatistics(s.paths, folder, 2020, progress, {});
        EXPECT_TRUE(made.written) << c.what;
        const std::string counted = c.want.empty() ? "" : "\r\n";
        EXPECT_EQ(test::slurp(newcomerFile(folder, NewcomerTable::Jockey, 2020)),
                  c.want.empty() ? "" : sj("武豊    01234") + c.want + counted)
            << c.what;
        EXPECT_EQ(test::slurp(newcomerFile(folder, NewcomerTable::Sire, 2020)),
                  c.want.empty() ? "" : padRight(sj("サンデー"), 36) + c.want + counted)
            << c.what;
        EXPECT_EQ(test::slurp(newcomerFile(folder, NewcomerTable::DamSire, 2020)),
                  c.want.empty() ? "" : padRight(sj("ノーザン"), 36) + c.want + counted)
            << c.what;
    }
}

TEST_F(NewcomerStats, KeysInOrderOfTheirFirstRunWithTheLastShortNameAndEmptyKeysLeftOut) {
    Race first = newcomerRace(), second = newcomerRace();
    second.raceNum = "02";
    second.trackCD = "24";
    store.add(first, {{"00200", "Ｂ騎手", "父Ｂ", "母父Ｂ", "01"},
                      {"00100", "Ａ騎手", "", "", "02"},         // no UM record: jockey only
                      {"", "", "父Ｂ", "母父Ｃ", "03"}});         // no jockey code
    store.add(second, {{"00100", "Ａ騎手改", "父Ｂ", "", "01"}});  // no dam sire name
    store.write();
    const NewcomerYear made = make(2020);
    EXPECT_EQ(made.jockeys, 2u);
    EXPECT_EQ(made.sires, 1u);
    EXPECT_EQ(made.damSires, 2u);
    EXPECT_EQ(test::slurp(statsFile(NewcomerTable::Jockey, 2020)),
              sj("Ｂ騎手") + "  00200" + blocks({{kTurf, "010000000"}, {kTurfMiddle, "010000000"}}) + "\r\n" +
                  sj("Ａ騎手改") + "00100" +
                  blocks({{kTurf, kSecond}, {kDirt, "010000000"}, {kTurfMiddle, kSecond}, {kDirtMiddle, "010000000"}}) +
                  "\r\n");
    EXPECT_EQ(test::slurp(statsFile(NewcomerTable::Sire, 2020)),
              padRight(sj("父Ｂ"), 36) +
                  blocks({{kTurf, "010001000"}, {kDirt, "010000000"}, {kTurfMiddle, "010001000"},
                          {kDirtMiddle, "010000000"}}) +
                  "\r\n");
    const std::string damSires = test::slurp(statsFile(NewcomerTable::DamSire, 2020));
    EXPECT_EQ(damSires.size(), 2u * 110);
    EXPECT_EQ(damSires.substr(110, 36), padRight(sj("母父Ｃ"), 36));
}

TEST_F(NewcomerStats, CountsTooLargeForTheirFieldTakeItsLargestValueSoNoLineShifts) {
    const std::tuple<int, int, int, int, const char*> cases[] = {
        {0, 0, 0, 0, "000000000"},     {1, 2, 3, 4, "010203004"},     {99, 99, 99, 999, "999999999"},
        {100, 1, 0, 0, "990100000"},   {5, 0, 100, 1000, "050099999"},
    };
    for (const auto& [a, b, c, d, want] : cases) EXPECT_EQ(placeBlockText(a, b, c, d), want) << a << " " << d;

    // 100 wins and one second of one jockey on turf 1600: read back as 99 and 1.
    for (int i = 0; i < 101; ++i)
        store.add(newcomerRace(i), {{"01234", "武豊", "サンデー", "ノーザン", i == 100 ? "02" : "01"}});
    store.write();
    make(2020);
    const std::string jockeys = test::slurp(statsFile(NewcomerTable::Jockey, 2020));
    EXPECT_EQ(jockeys.size(), 87u);
    EXPECT_EQ(jockeyStatistics(fileFolder(), "2021", "01234", sj("芝1600")), "990100000990100000");
    EXPECT_EQ(sireStatistics(fileFolder(), "2021", sj("サンデー"), sj("芝1600")), "990100000990100000");
}

TEST_F(NewcomerStats, TablesHoldAtMost1500KeysAndFurtherKeysCountNowhere) {
    // 1500 jockeys and sires placed fifth on turf; then a dirt race won by one
    // more of each, with the first key second.
    auto run = [](int k, const char* nyusen) {
        char code[16];
        std::snprintf(code, sizeof code, "%05d", k);
        return Starter{code, "", std::string("父") + code, "", nyusen};
    };
    const int keys = static_cast<int>(kMaxNewcomerKeys);
    int races = 0;
    for (int first = 0; first < keys; first += 16, ++races) {
        std::vector<Starter> runs;
        for (int k = first; k < std::min(keys, first + 16); ++k) runs.push_back(run(k, "05"));
        store.add(newcomerRace(races), runs);
    }
    Race dirt = newcomerRace(races);
    dirt.trackCD = "24";
    store.add(dirt, {run(keys, "01"), run(0, "02")});
    store.write();

    const NewcomerYear made = make(2020);
    EXPECT_EQ(made.jockeys, kMaxNewcomerKeys);
    EXPECT_EQ(made.sires, kMaxNewcomerKeys);
    for (NewcomerTable t : {NewcomerTable::Jockey, NewcomerTable::Sire}) {
        const std::string data = test::slurp(statsFile(t, 2020));
        const std::size_t lineLength = t == NewcomerTable::Jockey ? 87 : 110, head = lineLength - 74;
        ASSERT_EQ(data.size(), kMaxNewcomerKeys * lineLength);
        for (std::size_t line = 1; line < kMaxNewcomerKeys; ++line)  // no dirt run but the first key's
            ASSERT_EQ(data.substr(line * lineLength + head + 9, 9), "000000000") << line;
    }
    EXPECT_EQ(jockeyStatistics(fileFolder(), "2021", "01500", sj("ダ1600")), "");
    EXPECT_EQ(jockeyStatistics(fileFolder(), "2021", "01499", sj("ダ1600")), std::string(18, '0'));
    EXPECT_EQ(jockeyStatistics(fileFolder(), "2021", "00000", sj("ダ1600")), "000100000000100000");
    EXPECT_EQ(sireStatistics(fileFolder(), "2021", sj("父00000"), sj("芝1600")), "000000001000000001");
}

// The readers over hand-made files whose block i is nine digits i.
TEST_F(NewcomerStats, ReadersTakeTheSurfaceAndDistanceBlocksOfTheYearBefore) {
    std::string eight;
    for (char d = '0'; d < '8'; ++d) eight += std::string(9, d);
    test::spit(statsFile(NewcomerTable::Jockey, 2020), sj("武豊    01234") + eight + "\r\n" + sj("横典    00666") +
                                                          std::string(72, '9') + "\r\n");
    test::spit(statsFile(NewcomerTable::Sire, 2020), padRight(sj("サンデー"), 36) + eight + "\r\n" +
                                                        sj("　キング") + std::string(28, ' ') + std::string(72, '7') +
                                                        "\r\n");
    // A line whose key is only blanks, which the builder never writes.
    test::spit(statsFile(NewcomerTable::DamSire, 2020), padRight(sj("ノーザン"), 36) + eight + "\r\n" + sj("　") +
                                                           std::string(34, ' ') + std::string(72, '8') + "\r\n");
    test::spit(statsFile(NewcomerTable::Jockey, 0), sj("誰か    01234") + std::string(72, '5') + "\r\n");
    const std::string turfMiddle = "000000000333333333", dirtShort = "111111111555555555";
    struct Case {
        NewcomerTable table;
        const char *year, *key, *courseKey;  // UTF-8
        std::string want;
    };
    const Case cases[] = {
        {NewcomerTable::Jockey, "2021", "01234", "芝1600", turfMiddle},
        {NewcomerTable::Sire, "2021", "サンデー", "芝1600", turfMiddle},
        {NewcomerTable::DamSire, "2021", "ノーザン", "芝1600", turfMiddle},
        {NewcomerTable::Jockey, "2021", "01234", "ダ1400", dirtShort},
        {NewcomerTable::Jockey, "2021", "01234", "芝1499", "000000000222222222"},
        {NewcomerTable::Jockey, "2021", "01234", "芝1900", "000000000444444444"},
        {NewcomerTable::Jockey, "2021", "01234", "ダ1899", "111111111666666666"},
        {NewcomerTable::Jockey, "2021", "01234", "障3000", "111111111777777777"},  // not turf: dirt
        {NewcomerTable::Jockey, "2021", "01234", "芝", "000000000222222222"},      // no distance: 0
        {NewcomerTable::Jockey, "2021", "00666", "芝1600", std::string(18, '9')},  // the second line
        {NewcomerTable::Jockey, "2021", "09999", "芝1600", ""},                    // key missing
        {NewcomerTable::Jockey, "2020", "01234", "芝1600", ""},                    // no 2019 file
        {NewcomerTable::Jockey, "2022", "01234", "芝1600", ""},                    // not the year before
        {NewcomerTable::Jockey, "abcd", "01234", "芝1600", std::string(18, '5')},  // no number: year 1
        // Keys are compared trimmed: the prediction hands in padded names.
        {NewcomerTable::Jockey, "2021", " 01234  ", "芝1600", turfMiddle},
        {NewcomerTable::Sire, "2021", "サンデー                            ", "芝1600", turfMiddle},
        {NewcomerTable::DamSire, "2021", "　ノーザン　", "芝1600", turfMiddle},
        {NewcomerTable::Sire, "2021", "サンデ", "芝1600", ""},
        {NewcomerTable::Sire, "2021", "キング", "芝1600", std::string(18, '7')},  // stored after a blank
        {NewcomerTable::Sire, "2021", "", "芝1600", ""},
        {NewcomerTable::DamSire, "2021", "", "芝1600", std::string(18, '8')},  // the empty key trimmed
    };
    for (const Case& c : cases) {
        const NewcomerStatsFile file(fileFolder(), c.table, c.year);
        EXPECT_EQ(file.blocks(sj(c.key), sj(c.courseKey)), c.want) << c.year << " " << c.key << " " << c.courseKey;
    }
    using Reader = std::string (*)(const std::string&, std::string_view, std::string_view, std::string_view);
    const std::pair<Reader, const char*> readers[] = {
        {jockeyStatistics, "01234"}, {sireStatistics, "サンデー"}, {damSireStatistics, "ノーザン"}};
    for (const auto& [reader, key] : readers)
        EXPECT_EQ(reader(fileFolder(), "2021", sj(key), sj("ダ1400")), dirtShort) << key;
}

// ---------------------------------------------------------------- the builder's run

// Records what the screen would show and cancels once a file of cancelYear is counted.
struct RecordingView : NewcomerBuildView {
    RecordingView(NewcomerProgress& p, std::string cancelOn) : progress(p), cancelYear(std::move(cancelOn)) {}
    void yearBar(int position, int maximum) override { yearBars.emplace_back(position, maximum); }
    void fileBar(int position, int maximum) override { lastFileBar = {position, maximum}; }
    void fileText(const std::string& path) override {
        if (!cancelYear.empty() && containsText(path, "/SE/" + cancelYear + "/")) progress.cancelRequested = true;
    }
    void yearWritten(int year, const NewcomerYear&) override { written.push_back(year); }
    NewcomerProgress& progress;
    std::string cancelYear;
    std::vector<std::pair<int, int>> yearBars;
    std::pair<int, int> lastFileBar{-1, -1};
    std::vector<int> written;
};

class NewcomerBuilder : public NewcomerStats {
protected:
    void SetUp() override {
        for (const char* year : {"2018", "2019", "2020"}) {
            for (const char* monthDay : {"0601", "0602"}) {
                Race r = newcomerRace();
                r.year = year;
                r.monthDay = monthDay;
                store.add(r, {{"01234", "武豊", "サンデー", "ノーザン", "01"}});
            }
        }
        store.write();
    }
    bool made(int year) const {
        for (NewcomerTable t : {NewcomerTable::Jockey, NewcomerTable::Sire, NewcomerTable::DamSire})
            if (fileExists(statsFile(t, year))) return true;
        return false;
    }
};

TEST_F(NewcomerBuilder, OpensWithTheStoredYearsOrTheMissingStoreMessage) {
    makeDirs(home.path() + "data/RA/0000/");
    makeDirs(home.path() + "data/RA/abc/");
    const NewcomerBuilderOpening o = openNewcomerBuilder(store.paths);
    EXPECT_EQ(o.years, (std::vector<std::string>{"2018", "2019", "2020"}));
    EXPECT_EQ(o.fromIndex, 0);
    EXPECT_EQ(o.toIndex, 2);
    EXPECT_EQ(o.error, "");

    const NewcomerBuilderOpening missing = openNewcomerBuilder(StorePaths(home.path() + "none/"));
    EXPECT_TRUE(missing.years.empty());
    EXPECT_EQ(missing.fromIndex, -1);
    EXPECT_EQ(toUtf8(missing.error),
              "データフォルダ[" + home.path() + "none/]が\r\n存在しないため、補助データ作成を行えません。");
}

TEST_F(NewcomerBuilder, CompletesEveryYearAndSetsTheBarsToTheirEnd) {
    NewcomerProgress progress;
    progress.cancelRequested = true;  // left from an earlier run: cleared at the start
    RecordingView view(progress, "");
    const NewcomerBuildOutcome o = makeNewcomerYears(store.paths, fileFolder(), {2018, 2020}, progress, view);
    EXPECT_EQ(o.kind, MessageKind::Information);
    EXPECT_EQ(toUtf8(o.text), "集計処理が終了しました");
    EXPECT_EQ(view.written, (std::vector<int>{2018, 2019, 2020}));
    EXPECT_EQ(view.yearBars, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(view.lastFileBar, (std::pair<int, int>{2, 2}));
    EXPECT_TRUE(made(2018) && made(2019) && made(2020));
    // A 2021 race reads what 2020 counted.
    EXPECT_EQ(jockeyStatistics(fileFolder(), "2021", "01234", sj("芝1600")), "020000000020000000");
}

TEST_F(NewcomerBuilder, CancelDuringTheSecondOfThreeYearsKeepsOnlyTheFirstYearsFiles) {
    NewcomerProgress progress;
    RecordingView view(progress, "2019");
    const NewcomerBuildOutcome o = makeNewcomerYears(store.paths, fileFolder(), {2018, 2020}, progress, view);
    EXPECT_EQ(o.kind, MessageKind::Warning);
    EXPECT_EQ(toUtf8(o.text), "集計処理を中止しました");
    EXPECT_EQ(view.written, std::vector<int>{2018});
    EXPECT_TRUE(made(2018));
    EXPECT_FALSE(made(2019));
    EXPECT_FALSE(made(2020));
    EXPECT_EQ(view.yearBars.size(), 2u);  // the bars are not set to their end
}

TEST_F(NewcomerBuilder, StartAfterEndCountsNothingAndCompletes) {
    NewcomerProgress progress;
    RecordingView view(progress, "");
    const NewcomerBuildOutcome o =
        makeNewcomerYears(store.paths, fileFolder(), chosenYears("2020", "2018"), progress, view);
    EXPECT_EQ(o.kind, MessageKind::Information);
    EXPECT_TRUE(view.written.empty());
    EXPECT_FALSE(made(2018) || made(2019) || made(2020));
    // Choices that are no year choose nothing either.
    const std::pair<const char*, const char*> none[] = {{"", ""}, {"2018", ""}, {"0", "2020"}};
    for (const auto& [from, to] : none) {
        const YearRange r = chosenYears(from, to);
        EXPECT_GT(r.from, r.to) << from << "-" << to;
    }
}

TEST_F(NewcomerBuilder, AnUnwritableStatisticsFolderEndsTheRunWithTheErrorText) {
    test::spit(home.path() + "file", "not a folder");
    NewcomerProgress progress;
    RecordingView view(progress, "");
    const NewcomerBuildOutcome o = makeNewcomerYears(store.paths, fileFolder(), {2018, 2020}, progress, view);
    EXPECT_EQ(o.kind, MessageKind::Error);
    EXPECT_FALSE(o.text.empty());
    EXPECT_TRUE(view.written.empty());
}

TEST_F(NewcomerBuilder, CommandLineMakesYearsAndReadsTheStatistics) {
    std::string out, err;
    EXPECT_EQ(test::runCli({"--home", home.path(), "shb", "make", "2018", "2020"}, out), 0);
    EXPECT_EQ(out, "2018\t1\t1\t1\n2019\t1\t1\t1\n2020\t1\t1\t1\n集計処理が終了しました\n");
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "shb-jockey", "2021", "01234", "芝1800"}, out), 0);
    EXPECT_EQ(out, "020000000020000000\n");
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "shb-sire", "2021", "サンデー", "ダ1000"}, out), 0);
    EXPECT_EQ(out, "000000000000000000\n");
    EXPECT_EQ(test::runCli({"--home", home.path(), "calc", "shb-damsire", "2022", "ノーザン", "芝1800"}, out), 0);
    EXPECT_EQ(out, "\n");

    // Two files counted, then cancelled at the first file of 2019.
    std::filesystem::remove_all(home.path() + "file/shbdat/");
    EXPECT_EQ(test::runCli({"--home", home.path(), "--cancel-after-files", "2", "shb", "make", "2018", "2020"}, out),
              3);
    EXPECT_EQ(out, "2018\t1\t1\t1\n集計処理を中止しました\n");
    EXPECT_FALSE(made(2019));

    for (const char* bad : {"x", "0", "10000"}) {
        EXPECT_EQ(test::runCli({"--home", home.path(), "shb", "make", bad, "2020"}, out, &err), 2) << bad;
        EXPECT_NE(err.find("usage"), std::string::npos);
    }
    EXPECT_EQ(test::runCli({"--home", home.path() + "none/", "shb", "make", "2018", "2020"}, out), 1);
    EXPECT_EQ(out.substr(0, out.find('[')), "データフォルダ");
}

}  // namespace
}  // namespace tarvo
