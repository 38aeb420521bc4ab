// The training video list and the version screen without a window: the week
// rule, the rows joined from the store, the service's results, sorting, and
// tarvo-cli videos and version.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "cp932.h"
#include "fsys.h"
#include "inifile.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "mvlist_view.h"
#include "record_io.h"
#include "test_support.h"
#include "um_index.h"
#include "verinfo_view.h"

namespace tarvo {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;  // UTF-8 values

void store(const StorePaths& paths, Family f, const Fields& fields) {
    LineBuilder b(f);
    for (const auto& [name, value] : fields) EXPECT_TRUE(b.setRaw(name, sj(value))) << name;
    const std::string path = paths.file(f, b.line());
    makeDirs(dirName(path));
    writeRecord(path, b.line(), recordKey(f));
}

std::string cell(const ViewRow& r, int c) { return toUtf8(r[static_cast<std::size_t>(c)].text); }

std::vector<std::string> column(const std::vector<ViewRow>& rows, int c) {
    std::vector<std::string> out;
    for (const ViewRow& r : rows) out.push_back(cell(r, c));
    return out;
}

TEST(TrainingWeek, SaturdayOfTheChosenDate) {
    const struct {
        const char *date, *saturday, *sunday, *limit;
    } cases[] = {
        {"20240306", "20240309", "20240310", "20240312"},  // Wednesday: the coming weekend
        {"20240307", "20240309", "20240310", "20240312"},  // Thursday
        {"20240308", "20240309", "20240310", "20240312"},  // Friday
        {"20240309", "20240309", "20240310", "20240312"},  // Saturday
        {"20240310", "20240309", "20240310", "20240312"},  // Sunday
        {"20240311", "20240309", "20240310", "20240312"},  // Monday
        {"20240312", "20240309", "20240310", "20240312"},  // Tuesday: the weekend before
        {"20231229", "20231230", "20231231", "20240102"},  // over the year's end
    };
    for (const auto& c : cases) {
        const auto w = trainingWeek(c.date);
        ASSERT_TRUE(w) << c.date;
        EXPECT_EQ(w->saturday + " " + w->sunday + " " + w->limit, std::string(c.saturday) + " " + c.sunday + " " + c.limit)
            << c.date;
    }
    EXPECT_FALSE(trainingWeek("20240230"));
}

TEST(TrainingVideoPrize, ShortestDecimalAndWholeValue) {
    const struct {
        const char* stored;
        const char* text;
        long long value;
    } cases[] = {{"150000", "1500", 1500}, {"26250", "262.5", 0}, {"12345", "123.45", 0}, {"0", "0", 0}, {"", "0", 0},
                 {"50", "0.5", 0}};
    for (const auto& c : cases) EXPECT_EQ(prizeText(c.stored), std::make_pair(std::string(c.text), c.value)) << c.stored;
}

TEST(VersionScreen, DottedVersion) {
    const struct {
        const char *text, *dotted;
    } cases[] = {{"0490", "4.9.0"}, {"1021", "10.2.1"}, {"", "0.0.0"}, {"04x0", "4.0.0"}};
    for (const auto& c : cases) EXPECT_EQ(dottedVersion(c.text), c.dotted) << c.text;
    const ScreenView v = versionScreen("0490");
    EXPECT_EQ(toUtf8(v.caption), "バージョン情報");
    EXPECT_EQ(v.label("stxtJVver"), "4.9.0");
    EXPECT_EQ(toUtf8(v.label("stxtStdVer")), "2021/01/06 版");
}

// A store and a data service around the week of Wednesday 6 March 2024 (limit Tuesday 12 March).
class VideoList : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"TARVO_JVLINK_SOURCE", "TARVO_JVLINK_RATE", "TARVO_JVLINK_VERSION"}) unsetenv(v);
        IniFile(home.path() + "jvlink.ini").write("JVLINK", "source", home.path() + "src/");
        test::spit(home.path() + "src/MOVIE/movies.tsv", "# type\tkey\tfile\tlist\n");
        store(paths, Family::CH, {{"ChokyosiCode", "01001"}, {"ChokyosiNameKana", "ﾔﾏﾀﾞ ﾀﾛｳ"}});
        store(paths, Family::CH, {{"ChokyosiCode", "01002"}, {"ChokyosiNameKana", "ｻﾄｳ"}});
        // A: last ran Saturday 2 March (10 days before the limit); a later run after the limit is passed over.
        horse("2021100001", "エーウマ", "150000");
        run("2021100001", "20240302", "06", "11", {});
        run("2021100001", "20240316", "06", "11", {});
        // B: ran Tuesday 5 March (7 days), a runner record with SexCD "0" and no trainer.
        horse("2021100002", "ビーウマ", "26250", {{"SexCD", "2"}, {"ChokyosiRyakusyo", "佐藤"}, {"ChokyosiCode", "01002"}});
        run("2021100002", "20240305", "06", "03", {{"SexCD", "0"}, {"ChokyosiRyakusyo", " "}, {"ChokyosiCode", "00000"}});
        store(paths, Family::CK, {{"Year", "2024"}, {"MonthDay", "0305"}, {"JyoCD", "06"}, {"Kaiji", "01"},
                                  {"Nichiji", "01"}, {"RaceNum", "03"}, {"KettoNum", "2021100002"},
                                  {"RuikeiSyutokuHeichi", "300000"}});
        // C: no horse record, no runs.
        race("20240302", "06", "11", "弥生賞");
        race("20240305", "06", "03", "");
    }
    void horse(const std::string& ketto, const std::string& name, const std::string& prize, Fields more = {}) {
        Fields f = {{"KettoNum", ketto},        {"Bamei", name},        {"SexCD", "1"},   {"KeiroCD", "03"},
                    {"ChokyosiRyakusyo", "山田"}, {"ChokyosiCode", "01001"}, {"TozaiCD", "1"},
                    {"RuikeiSyutokuHeichi", prize}};
        f.insert(f.end(), more.begin(), more.end());
        store(paths, Family::UM, f);
    }
    void run(const std::string& ketto, const std::string& date, const std::string& jyo, const std::string& num,
             Fields more) {
        Fields f = {{"Year", date.substr(0, 4)}, {"MonthDay", date.substr(4)}, {"JyoCD", jyo}, {"Kaiji", "01"},
                    {"Nichiji", "01"},         {"RaceNum", num},               {"Umaban", "01"}, {"KettoNum", ketto},
                    {"SexCD", "1"},            {"KeiroCD", "01"},              {"ChokyosiRyakusyo", "田中"},
                    {"ChokyosiCode", "01001"}, {"TozaiCD", "2"}};
        for (auto& m : more)
            for (auto& e : f)
                if (e.first == m.first) e.second = m.second;
        store(paths, Family::SE, f);
        ASSERT_TRUE(updateRunList(paths, ketto, "", jyo, date, "1"));
    }
    void race(const std::string& date, const std::string& jyo, const std::string& num, const std::string& name) {
        store(paths, Family::RA, {{"DataKubun", "7"}, {"Year", date.substr(0, 4)}, {"MonthDay", date.substr(4)},
                                  {"JyoCD", jyo}, {"Kaiji", "01"}, {"Nichiji", "01"}, {"RaceNum", num},
                                  {"SyubetuCD", "12"}, {"JyokenCD5", "703"}, {"Ryakusyo6", name}});
    }
    // The service's training video list: entries listed under a date.
    void videos(const std::string& listDate, const std::vector<std::string>& entries) {
        std::string tsv = test::slurp(home.path() + "src/MOVIE/movies.tsv");
        for (const std::string& e : entries) tsv += "11\t" + e + "\tt.html\t" + listDate + "\n";
        test::spit(home.path() + "src/MOVIE/movies.tsv", tsv);
    }
    void fault(const char* key, const char* value) { IniFile(home.path() + "jvlink.ini").write("JVLINK", key, value); }
    tarvo::VideoList fetch(const char* date) {
        JVLinkEmulator jv(home.path());
        return fetchVideoList(jv, paths, date);
    }

    test::TempDir home;
    StorePaths paths{home.path() + "data/"};
};

TEST_F(VideoList, RowsOfTheWeek) {
    videos("20240309", {"202403062021100002", "202403052021100001", "202403092021100003"});
    const tarvo::VideoList list = fetch("20240306");
    EXPECT_EQ(list.message, "");
    ASSERT_EQ(list.rows.size(), 3u);
    // Sorted by training date ascending.
    EXPECT_EQ(column(list.rows, kMvDate), (std::vector<std::string>{"2024.03.05", "2024.03.06", "2024.03.09"}));
    const ViewRow& a = list.rows[0];
    const std::vector<std::string> wantA = {
        "2024.03.05", "20240305", "[火]", "2",   "202403052021100001", "エーウマ", "2021100001", "牡3", "1", "3",
        "栗",         "01",       "田中", "ヤマダ　タロウ", "01001",            "栗東",     "2",          "*1500", "1500",
        "[出走なし]", "000000",   "----", "00", "--",                  "----",     ""};
    for (int c = 0; c < kMvColumns; ++c) EXPECT_EQ(cell(a, c), wantA[static_cast<std::size_t>(c)]) << "A column " << c;
    EXPECT_EQ(a[kMvWeekday].ink, Ink::Black);

    // B ran on the Tuesday before: 7 days before the limit, kept, with the CK prize; the runner's
    // SexCD "0" and blank trainer give way to the horse record's.
    const ViewRow& b = list.rows[1];
    EXPECT_EQ(cell(b, kMvSexAge) + cell(b, kMvSexCD), "牝32");
    EXPECT_EQ(cell(b, kMvTrainer) + cell(b, kMvTrainerCode) + cell(b, kMvTrainerKana), "佐藤01002サトウ");
    EXPECT_EQ(cell(b, kMvPrize) + " " + cell(b, kMvPrizeValue), "3000 3000");
    EXPECT_EQ(cell(b, kMvRaceDate) + cell(b, kMvTrack) + cell(b, kMvRaceNum) + cell(b, kMvRaceName) + cell(b, kMvRaceKey),
              "2024.03.05中山03３歳未勝利202403050603");

    // C has no horse record and no runs.
    const ViewRow& c = list.rows[2];
    EXPECT_EQ(cell(c, kMvName), "");
    EXPECT_EQ(cell(c, kMvWeekday), "[土]");
    EXPECT_EQ(c[kMvWeekday].ink, Ink::Blue);
    EXPECT_EQ(cell(c, kMvPrize) + cell(c, kMvRaceDate), "*0[出走なし]");

    const ScreenView v = videoListScreen(list, false);
    EXPECT_EQ(v.label("stxtMvNum"), "3");
    EXPECT_EQ(v.label("lbl_ClNum") + v.label("lbl_SrtAsc"), "0TRUE");
    EXPECT_EQ(toUtf8(trainingVideoCaption(a)), "調教映像を再生 [2024.03.05 エーウマ] (&R)");
}

TEST_F(VideoList, SundayListAndServiceResults) {
    // Nothing for either day: an empty list and no message.
    tarvo::VideoList list = fetch("20240306");
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(list.message, "");
    EXPECT_EQ(videoListScreen(list, true).label("stxtMvNum"), "0");
    // Only the Sunday has a list.
    videos("20240310", {"202403072021100001"});
    EXPECT_EQ(fetch("20240306").rows.size(), 1u);

    const struct {
        const char *key, *value, *message;
    } faults[] = {
        {"mvopen_result", "-504", "サーバーメンテナンス中です。"},
        {"mvopen_result", "-100", "エラー番号 [-100]"},
        {"mvread_result", "-502", "ダウンロードに失敗しました。\r\n映像一覧取得を再度行ってください。"},
        {"mvread_result", "-402", "ダウンロードしたデータが異常です。\r\n映像一覧取得を再度行ってください。"},
        {"mvread_result", "-403", "ダウンロードしたデータが異常です。\r\n映像一覧取得を再度行ってください。"},
        {"mvread_result", "-9", "エラー番号 [-9]"},
    };
    for (const auto& f : faults) {
        fault("mvopen_result", "0");
        fault("mvread_result", "0");
        fault(f.key, f.value);
        list = fetch("20240306");
        EXPECT_TRUE(list.rows.empty()) << f.key << f.value;
        EXPECT_EQ(toUtf8(list.message), f.message) << f.key << f.value;
    }
    EXPECT_EQ(toUtf8(trainingPlayMessage(-504)) + toUtf8(trainingPlayMessage(-1)) + toUtf8(trainingPlayMessage(-3)),
              "サーバーメンテナンス中です。該当する映像データがありません。エラー番号[-3]");
    EXPECT_EQ(trainingPlayMessage(0), "");
}

TEST(VideoSortTest, DirectionRuleAndPasses) {
    const auto row = [](const char* name, const char* prize, const char* date8, const char* tozai) {
        ViewRow r(kMvColumns);
        r[kMvName].text = sj(name);
        r[kMvPrizeValue].text = prize;
        r[kMvDate8].text = date8;
        r[kMvTozaiCD].text = tozai;
        return r;
    };
    std::vector<ViewRow> rows = {row("イ", "300", "20240306", "2"), row("ア", "0", "20240306", "1"),
                                 row("ウ", "1500", "20240305", "1")};
    VideoSort sort;
    const auto clickOn = [&](int col) {
        EXPECT_TRUE(clickVideoHeading(sort, col));
        sortVideoRows(rows, sort);
        return column(rows, kMvName);
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(clickOn(kMvPrize), (V{"ア", "イ", "ウ"}));  // ascending
    EXPECT_EQ(clickOn(kMvPrize), (V{"ウ", "イ", "ア"}));  // descending
    EXPECT_EQ(clickOn(kMvPrize), (V{"ア", "イ", "ウ"}));  // ascending again
    EXPECT_EQ(clickOn(kMvName), (V{"ア", "イ", "ウ"}));
    EXPECT_EQ(clickOn(kMvPrize), (V{"ア", "イ", "ウ"}));  // another heading in between: ascending
    EXPECT_TRUE(sort.ascending);
    // Training date, then affiliation, then name; descending after the screen's own ascending sort.
    sort = {};
    EXPECT_EQ(clickOn(kMvDate), (V{"イ", "ア", "ウ"}));
    EXPECT_FALSE(sort.ascending);
    EXPECT_FALSE(clickVideoHeading(sort, kMvDate8));  // a hidden column sorts nothing
}

TEST(CliVideos, ListAndVersion) {
    for (const char* v : {"TARVO_JVLINK_SOURCE", "TARVO_JVLINK_RATE", "TARVO_JVLINK_VERSION"}) unsetenv(v);
    test::TempDir home;
    test::spit(home.path() + "jvlink-source/MOVIE/movies.tsv",
               "11\t202403062021100001\tt.html\t20240309\n11\t202403072021100002\tt.html\t20240309\n");
    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", home.path(), "videos", "20240306", "--sort", "調教日付"}, out, &err), 0) << err;
    EXPECT_NE(out.find("label\tstxtMvNum\t2\n"), std::string::npos) << out;
    EXPECT_NE(out.find("label\tlbl_SrtAsc\tFALSE\n"), std::string::npos) << out;
    EXPECT_NE(out.find("row\tstgMvList\t1\t2024.03.07\t20240307\t[木]\t"), std::string::npos) << out;
    EXPECT_NE(out.find("state\tbtnUpdList\t0\n"), std::string::npos) << out;  // race viewer option off
    EXPECT_EQ(test::runCli({"--home", home.path(), "videos", "20240306", "--sort", "x"}, out, &err), 2);
    EXPECT_EQ(test::runCli({"--home", home.path(), "videos", "2024036"}, out, &err), 2);

    ASSERT_EQ(test::runCli({"--home", home.path(), "version"}, out, &err), 0) << err;
    EXPECT_NE(out.find("caption\tバージョン情報\n"), std::string::npos) << out;
    EXPECT_NE(out.find("label\tstxtJVver\t4.9.0\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace tarvo
