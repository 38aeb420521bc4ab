// The horse and race searches without a window: matching rules, row texts,
// sorting, stopping, and tarvo-cli search.
#include <gtest/gtest.h>

#include <utility>

#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "record_io.h"
#include "search_view.h"
#include "test_support.h"

namespace tarvo {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;  // UTF-8 values, written raw

// A stored line of family f from its fields; the record is written into the file its key selects.
std::string store(const StorePaths& paths, Family f, const Fields& fields) {
    LineBuilder b(f);
    for (const auto& [name, value] : fields) EXPECT_TRUE(b.setRaw(name, sj(value))) << name;
    const std::string path = paths.file(f, b.line());
    makeDirs(dirName(path));
    writeRecord(path, b.line(), recordKey(f));
    return b.line().substr(0, b.line().size() - 2);
}

// The fields with more's values in place of those of the same name, more's other fields added.
Fields merged(Fields f, const Fields& more) {
    for (const auto& m : more) {
        bool replaced = false;
        for (auto& e : f)
            if (e.first == m.first) e.second = m.second, replaced = true;
        if (!replaced) f.push_back(m);
    }
    return f;
}

std::string cell(const ViewRow& r, int c) { return toUtf8(r[static_cast<std::size_t>(c)].text); }

std::vector<std::string> column(const std::vector<ViewRow>& rows, int c) {
    std::vector<std::string> out;
    for (const ViewRow& r : rows) out.push_back(cell(r, c));
    return out;
}

// ---- Horse search ----

Fields horse(const std::string& ketto, const std::string& name, const std::string& birthYear, Fields more = {}) {
    Fields f = {{"KettoNum", ketto}, {"Bamei", name},     {"BirthDate", birthYear + "0401"}, {"SexCD", "1"},
                {"DelKubun", "0"},   {"TozaiCD", "1"},    {"ChokyosiRyakusyo", "山田"},      {"ChokyosiCode", "01001"},
                {"Ketto3InfoBamei1", "チチ"}, {"Ketto3InfoBamei2", "ハハ"}, {"Ketto3InfoBamei5", "ハハチチ"},
                {"BanusiName", "株式会社　馬主"}};
    return merged(std::move(f), more);
}

class HorseSearch : public ::testing::Test {
protected:
    void SetUp() override {
        store(paths, Family::UM, horse("2026100001", "アサヒ", "2026"));  // born this year: age 0
        store(paths, Family::UM, horse("2023100002", "サクラ", "2023", {{"SexCD", "2"}}));
        store(paths, Family::UM, horse("2023100003", "アカリ", "2023", {{"DelKubun", "1"}}));
        store(paths, Family::UM, horse("2020100004", "サクラキング", "2020", {{"SexCD", "3"}, {"ChokyosiRyakusyo", "佐藤"}}));
        store(paths, Family::UM, horse("2019200005", "ベテラン", "2012", {{"Ketto3InfoBamei1", "サクラ"}}));
    }
    std::vector<std::string> names(const HorseCriteria& c) { return column(searchHorses(paths, c, 2026).rows, kHsName); }

    test::TempDir dir;
    StorePaths paths{dir.path()};
};

TEST_F(HorseSearch, RowTexts) {
    const ViewRow r = horseRow(store(paths, Family::UM, horse("2022100009", "テスト", "2022")), 2026);
    EXPECT_EQ(cell(r, kHsName), " テスト");
    EXPECT_EQ(cell(r, kHsKettoNum), "2022100009");
    EXPECT_EQ(cell(r, kHsSex) + cell(r, kHsAge) + cell(r, kHsStatus), "牡4現");
    EXPECT_EQ(cell(r, kHsTrainer) + "|" + cell(r, kHsTozai) + "|" + cell(r, kHsTrainerCode), " 山田|美浦|01001");
    EXPECT_EQ(cell(r, kHsSire) + cell(r, kHsDam) + cell(r, kHsDamSire), " チチ ハハ ハハチチ");
    EXPECT_EQ(cell(r, kHsOwner), " 株式会社馬主");  // full-width spaces removed
    const ViewRow foal = horseRow(store(paths, Family::UM, horse("2026100010", "トウサイ", "2026", {{"DelKubun", "1"}})), 2026);
    EXPECT_EQ(cell(foal, kHsAge) + cell(foal, kHsStatus), "--消");
}

TEST_F(HorseSearch, Criteria) {
    const auto with = [](auto change) {
        HorseCriteria c;
        change(c);
        return c;
    };
    const struct {
        const char* what;
        HorseCriteria criteria;
        std::vector<std::string> names;
    } cases[] = {
        // Sorted by age, then name; the foal (age 0) and the 14-year-old lie outside 2 to 12.
        {"defaults", {}, {" アカリ", " サクラ", " サクラキング"}},
        {"age from 0 takes the foal", with([](HorseCriteria& c) { c.ageFrom = 0; }),
         {" アサヒ", " アカリ", " サクラ", " サクラキング"}},
        {"name contained", with([](HorseCriteria& c) { c.name.text = sj("サクラ"); }), {" サクラ", " サクラキング"}},
        {"name exact, trailing spaces trimmed", with([](HorseCriteria& c) { c.name = {sj("サクラ　 "), true}; }), {" サクラ"}},
        {"sire exact", with([](HorseCriteria& c) { c.sire = {sj("サクラ"), true}; c.ageTo = 30; }), {" ベテラン"}},
        {"sire exact does not take a part", with([](HorseCriteria& c) { c.sire = {sj("チ"), true}; }), {}},
        {"dam's sire contained", with([](HorseCriteria& c) { c.damSire.text = sj("ハチ"); c.ageTo = 3; }), {" アカリ", " サクラ"}},
        {"trainer", with([](HorseCriteria& c) { c.trainer = sj("佐藤"); }), {" サクラキング"}},
        {"owner without its full-width space", with([](HorseCriteria& c) { c.owner = sj("会社馬"); c.ageTo = 3; }),
         {" アカリ", " サクラ"}},
        {"active only", with([](HorseCriteria& c) { c.activeOnly = true; }), {" サクラ", " サクラキング"}},
        {"sexes", with([](HorseCriteria& c) { c.sexes = {true, false, true}; }), {" アカリ", " サクラキング"}},
        {"age range", with([](HorseCriteria& c) { c.ageFrom = 6; c.ageTo = 14; }), {" サクラキング", " ベテラン"}},
    };
    for (const auto& c : cases) EXPECT_EQ(names(c.criteria), c.names) << c.what;
}

TEST_F(HorseSearch, ProgressAndStop) {
    std::vector<std::pair<int, int>> steps;
    const SearchResult all = searchHorses(paths, {}, 2026, [&](int done, int files) {
        steps.emplace_back(done, files);
        return true;
    });
    EXPECT_FALSE(all.stopped);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back().first, steps.back().second);
    // Stopped after the first file: the rows of that file, sorted and counted.
    const SearchResult some = searchHorses(paths, {}, 2026, [](int, int) { return false; });
    EXPECT_TRUE(some.stopped);
    EXPECT_LT(some.rows.size(), all.rows.size());
    const ScreenView v = horseSearchScreen({}, some);
    EXPECT_EQ(toUtf8(v.label("lblCount")), std::to_string(some.rows.size()) + "件");
}

// ---- Race search ----

Fields race(const std::string& date, const std::string& jyo, const std::string& num, Fields more = {}) {
    Fields f = {{"DataKubun", "7"},  {"Year", date.substr(0, 4)}, {"MonthDay", date.substr(4)}, {"JyoCD", jyo},
                {"Kaiji", "01"},     {"Nichiji", "01"},           {"RaceNum", num},             {"TrackCD", "11"},
                {"Kyori", "1600"},   {"SyubetuCD", "13"},         {"JyokenCD5", "010"},         {"GradeCD", " "},
                {"KigoCD", "A00"},   {"JyuryoCD", "4"},           {"TenkoCD", "1"},             {"SibaBabaCD", "1"},
                {"DirtBabaCD", "3"}, {"SyussoTosu", "16"},        {"HaronTimeS3", "350"},       {"HaronTimeS4", "470"},
                {"HaronTimeL3", "345"}};
    return merged(std::move(f), more);
}

TEST(RaceSearchRows, FiguresAndWinner) {
    EXPECT_EQ(furlongText("345", false), "34.5");
    EXPECT_EQ(furlongText("0", true), "--.-");
    const struct {
        const char *what, *kyori, *s3, *s4, *front;
    } fronts[] = {{"a multiple of 200 m", "1600", "350", "470", "35.0"},
                  {"1150 m: the mean rounded half away from zero", "1150", "342", "467", "40.5"},
                  {"no front time", "1150", "0", "467", "--.-"}};
    for (const auto& f : fronts) {
        LineBuilder b(Family::RA);
        for (const auto& [n, v] : race("20240106", "06", "01", {{"Kyori", f.kyori}, {"HaronTimeS3", f.s3}, {"HaronTimeS4", f.s4}}))
            EXPECT_TRUE(b.setRaw(n, v));
        EXPECT_EQ(cell(raceRow(b.line(), ""), kRsFront3), f.front) << f.what;
    }

    test::TempDir dir;
    const StorePaths paths(dir.path());
    const std::string ra = store(paths, Family::RA, race("20240106", "06", "11", {{"TenkoCD", "4"}, {"Ryakusyo6", ""}}));
    const std::string se =
        store(paths, Family::SE, {{"Year", "2024"}, {"MonthDay", "0106"}, {"JyoCD", "06"}, {"Kaiji", "01"},
                                  {"Nichiji", "01"}, {"RaceNum", "11"}, {"Umaban", "03"}, {"KettoNum", "2020100001"},
                                  {"Bamei", "カチウマ"}, {"SexCD", "2"}, {"Barei", "04"}, {"KakuteiJyuni", "01"},
                                  {"Time", "1345"}, {"Jyuni2c", "00"}, {"Jyuni3c", "05"}, {"Jyuni4c", "02"},
                                  {"HaronTimeL3", "338"}});
    const ViewRow r = raceRow(ra, se);
    const std::vector<std::string> want = {"20240106", "中山",  "06",   "11",       "３歳上２勝クラス", "16",  "芝1600",
                                           "ｺｻ",       "良",    "カチウマ", "2020100001", "牝04",     "1345", "945",
                                           "**0502",   "33.8",  "35.0", "34.5"};
    EXPECT_EQ(column({r}, 0).size(), 1u);
    for (int c = 0; c < kRsColumns; ++c) EXPECT_EQ(cell(r, c), want[static_cast<std::size_t>(c)]) << "column " << c;
    EXPECT_EQ(toUtf8(raceVideoCaption(r)), "レース動画を再生 [20240106.中山11R.３歳上２勝クラス] (&R)");
    const ViewRow none = raceRow(ra, "");
    for (int c = kRsWinner; c <= kRsLast3F; ++c) EXPECT_EQ(cell(none, c), "") << "column " << c;
}

TEST(RaceSearchRows, GoingBySurface) {
    const struct {
        const char *trackCD, *going;
    } cases[] = {{"11", "良"}, {"23", "重"}, {"51", "良"}, {"52", "重"}, {"59", "良"}};
    for (const auto& c : cases) {
        LineBuilder b(Family::RA);
        for (const auto& [n, v] : race("20240106", "06", "01", {{"TrackCD", c.trackCD}})) EXPECT_TRUE(b.setRaw(n, v));
        EXPECT_EQ(toUtf8(raceGoing(b.line())), c.going) << c.trackCD;
    }
}

TEST(RaceSearchMatch, Criteria) {
    const auto with = [](auto change) {
        RaceCriteria c;
        c.from = "20240101";
        c.to = "20241231";
        change(c);
        return c;
    };
    const auto only = [](std::size_t n, std::size_t i) {
        std::array<bool, 10> a{};
        for (std::size_t k = 0; k < n; ++k) a[k] = k == i;
        return a;
    };
    const auto classOnly = [&](std::size_t i) { return with([&](RaceCriteria& c) { c.classes = only(10, i); }); };
    const RaceCriteria all = with([](RaceCriteria&) {});
    const struct {
        const char* what;
        Fields race;
        RaceCriteria criteria;
        bool matches;
    } cases[] = {
        {"every default box", {}, all, true},
        {"before the period", {{"MonthDay", "0106"}}, with([](RaceCriteria& c) { c.from = "20240107"; }), false},
        {"last day of the period", {}, with([](RaceCriteria& c) { c.to = "20240106"; }), true},
        {"a local track is not in 全場", {{"JyoCD", "44"}}, all, false},
        {"another track", {}, with([](RaceCriteria& c) { c.jyoCD = "05"; }), false},
        {"name in full-width", {{"Hondai", "有馬記念"}, {"Ryakusyo10", "ＡＢＣ"}}, with([](RaceCriteria& c) { c.name = "ABC"; }), true},
        {"name in none", {{"Hondai", "有馬記念"}}, with([](RaceCriteria& c) { c.name = sj("ダービー"); }), false},
        {"jump race 4上", {{"SyubetuCD", "19"}}, with([](RaceCriteria& c) { c.ages = {true, true, true, false}; }), false},
        {"jump race 3上", {{"SyubetuCD", "18"}}, with([](RaceCriteria& c) { c.ages = {false, false, true, false}; }), true},
        {"listed race matches no class", {{"JyokenCD5", "999"}, {"GradeCD", "L"}}, all, false},
        {"open race", {{"JyokenCD5", "999"}, {"GradeCD", "E"}}, classOnly(5), true},
        {"open race without grade", {{"JyokenCD5", "999"}, {"GradeCD", " "}}, classOnly(5), true},
        {"maiden", {{"JyokenCD5", "703"}}, classOnly(0), true},
        {"newcomer", {{"JyokenCD5", "701"}}, classOnly(1), true},
        {"500万 up to 5", {{"JyokenCD5", "005"}}, classOnly(2), true},
        {"1000万 from 6", {{"JyokenCD5", "006"}}, classOnly(3), true},
        {"1600万 up to 16", {{"JyokenCD5", "016"}}, classOnly(4), true},
        {"1600万 not 1000万", {{"JyokenCD5", "016"}}, classOnly(3), false},
        {"G3 by grade H", {{"JyokenCD5", "999"}, {"GradeCD", "H"}}, classOnly(6), true},
        {"G2 by grade G", {{"JyokenCD5", "999"}, {"GradeCD", "G"}}, classOnly(7), true},
        {"G1", {{"JyokenCD5", "999"}, {"GradeCD", "A"}}, classOnly(8), true},
        {"other graded", {{"JyokenCD5", "999"}, {"GradeCD", "D"}}, classOnly(9), true},
        {"G1 not OPEN", {{"JyokenCD5", "999"}, {"GradeCD", "A"}}, classOnly(5), false},
        {"fillies only", {{"KigoCD", "A20"}}, with([](RaceCriteria& c) { c.sexes = {true, true, false}; }), false},
        {"distance below", {{"Kyori", "1150"}}, with([](RaceCriteria& c) { c.distanceFrom = 1200; }), false},
        {"distance at the top", {{"Kyori", "2400"}}, with([](RaceCriteria& c) { c.distanceTo = 2400; }), true},
        {"surface", {{"TrackCD", "23"}}, with([](RaceCriteria& c) { c.surfaces = {true, false, true}; }), false},
        {"weight rule handicap", {{"JyuryoCD", "1"}}, with([](RaceCriteria& c) { c.weights = {true, true, true, false}; }), false},
        {"dirt going", {{"TrackCD", "23"}}, with([](RaceCriteria& c) { c.goings = {true, true, false, true}; }), false},
        {"turf going", {}, with([](RaceCriteria& c) { c.goings = {true, false, false, false}; }), true},
    };
    for (const auto& c : cases) {
        LineBuilder b(Family::RA);
        for (const auto& [n, v] : race("20240106", "06", "01", c.race)) EXPECT_TRUE(b.setRaw(n, sj(v)));
        EXPECT_EQ(raceMatches(c.criteria, b.line()), c.matches) << c.what;
    }
}

TEST(RaceSearchScan, FinalRacesSortedAndStopped) {
    test::TempDir dir;
    const StorePaths paths(dir.path());
    store(paths, Family::RA, race("20240113", "05", "02"));
    store(paths, Family::RA, race("20240106", "08", "01"));
    store(paths, Family::RA, race("20240106", "06", "11"));
    store(paths, Family::RA, race("20240106", "06", "02"));
    store(paths, Family::RA, race("20240106", "06", "03", {{"DataKubun", "2"}}));  // not final
    store(paths, Family::RA, race("20240205", "06", "01"));
    store(paths, Family::RA, race("20240301", "06", "01"));  // after the period
    RaceCriteria c;
    c.from = "20240101";
    c.to = "20240229";
    int calls = 0;
    const SearchResult r = searchRaces(paths, c, [&](int, int) { return ++calls < 100; });
    EXPECT_FALSE(r.stopped);
    std::vector<std::string> keys;
    for (const ViewRow& row : r.rows) keys.push_back(cell(row, kRsDate) + cell(row, kRsJyoCD) + cell(row, kRsRaceNum));
    EXPECT_EQ(keys, (std::vector<std::string>{"202401060602", "202401060611", "202401060801", "202401130502",
                                               "202402050601"}));
    EXPECT_EQ(calls, 3);  // one step per month file

    const SearchResult stopped = searchRaces(paths, c, [](int, int) { return false; });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_LT(stopped.rows.size(), r.rows.size());
}

// ---- tarvo-cli search ----

TEST(CliSearch, HorsesAndRaces) {
    test::TempDir home;
    const StorePaths paths(home.path() + "data/");
    store(paths, Family::UM, horse("2023100002", "サクラ", "2023"));
    store(paths, Family::UM, horse("2022100003", "サクラヒメ", "2022", {{"SexCD", "2"}}));
    store(paths, Family::RA, race("20240106", "06", "11", {{"Ryakusyo6", "ＴＥＳＴ"}}));
    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", home.path(), "search", "horses", "--name", "サクラ", "--exact"}, out, &err), 0) << err;
    EXPECT_NE(out.find("label\tedt_UmaName\tサクラ\nlabel\tchkUmKan\t1\n"), std::string::npos) << out;
    EXPECT_NE(out.find("row\tstgUmaList\t1\t サクラ\t2023100002\t牡\t"), std::string::npos) << out;
    EXPECT_EQ(out.find("row\tstgUmaList\t2"), std::string::npos) << out;
    EXPECT_NE(out.find("label\tlblCount\t1件\n"), std::string::npos) << out;
    ASSERT_EQ(test::runCli({"--home", home.path(), "search", "horses", "--sexes", "牝"}, out, &err), 0) << err;
    EXPECT_NE(out.find("row\tstgUmaList\t1\t サクラヒメ\t"), std::string::npos) << out;

    ASSERT_EQ(test::runCli({"--home", home.path(), "search", "races", "--from", "20240101", "--to", "20240131",
                            "--track", "中山", "--classes", "1000万,5", "--goings", "良"},
                           out, &err),
              0)
        << err;
    EXPECT_NE(out.find("row\tstgRaceList\t1\t20240106\t中山\t06\t11\tＴＥＳＴ\t16\t芝1600\t"), std::string::npos) << out;
    EXPECT_NE(out.find("label\tchk1000\t1\nlabel\tchk1600\t1\nlabel\tchkOpen\t0\n"), std::string::npos) << out;
    EXPECT_NE(out.find("state\tbtnCancel\t0\n"), std::string::npos) << out;
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"search", "races", "--classes", "9万"},
                                               {"search", "races", "--from", "20240230"},
                                               {"search", "races", "--track", "大井"},
                                               {"search", "horses", "--age-from", "x"},
                                               {"search", "planes"}}) {
        std::vector<std::string> args = {"--home", home.path()};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(test::runCli(args, out, &err), 2) << bad.back();
    }
}

}  // namespace
}  // namespace tarvo
