// The jockey and trainer screens without a window: rates, list rows and their
// status rules, filters and sorting, the data screen's texts, the
// screen-command printer and the tarvo-cli commands.
#include <gtest/gtest.h>

#include <sstream>

#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "person_fixture.h"
#include "person_view.h"
#include "record_io.h"
#include "screen_print.h"
#include "test_support.h"
#include "textfn.h"

namespace tarvo {
namespace {

using test::countsField;
using test::Person;
using test::personLine;

void store(const StorePaths& paths, const Person& p) { test::storePerson(paths, p); }

std::string cell(const ViewRow& r, int c) { return toUtf8(r[static_cast<std::size_t>(c)].text); }

TEST(PersonRates, RoundHalfAwayFromZeroInIntegers) {
    const struct {
        long long num, total;
        const char* text;
    } cases[] = {{3, 80, "0.038"}, {1, 16, "0.063"}, {1, 8, "0.125"}, {0, 0, "-.---"}, {5, 5, "1.000"},
                 {1, 3, "0.333"},  {2, 3, "0.667"},  {0, 7, "0.000"}, {1, 2000, "0.001"}, {1, 2001, "0.000"}};
    for (const auto& c : cases) EXPECT_EQ(rateText(c.num, c.total), c.text) << c.num << "/" << c.total;
    const PlaceCounts pc = placeCounts(countsField({3, 2, 1, 1, 1, 8}));
    EXPECT_EQ(pc.others(), 10);
    EXPECT_EQ(pc.total(), 16);
    const Rates r = rates(pc);
    EXPECT_EQ(r.win + r.quinella + r.show, "0.1880.3130.375");
}

TEST(PersonListRow, SelectedYearAndStatus) {
    const std::string y1 = "HonZenRuikei1_", y2 = "HonZenRuikei2_", y3 = "HonZenRuikei3_";
    const std::string rides = countsField({2, 1, 0, 0, 0, 5}), none = countsField({0, 0, 0, 0, 0, 0});
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> fields;
        bool lastYear;
        const char* col9;
        const char* total;
        const char* mark;
        const char* key;
    } cases[] = {
        {"this year", {{y1 + "SetYear", "2026"}, {y1 + "ChakuKaisuHeichi", rides}}, false, "  2-  1-  0-   5", "8", "現", "0"},
        {"January, 本年", {{"MakeDate", "20260105"}, {y1 + "SetYear", "2025"}, {y1 + "ChakuKaisuHeichi", rides}},
         false, "", "0", "現", "0"},
        {"January, 前年", {{"MakeDate", "20260105"}, {y1 + "SetYear", "2025"}, {y1 + "ChakuKaisuHeichi", rides}},
         true, "  2-  1-  0-   5", "8", "現", "0"},
        {"前年 from the second group",
         {{y1 + "SetYear", "2026"}, {y2 + "SetYear", "2025"}, {y2 + "ChakuKaisuHeichi", rides}}, true,
         "  2-  1-  0-   5", "8", "現", "0"},
        {"second group not last year", {{y1 + "SetYear", "2026"}, {y2 + "SetYear", "2024"}, {y2 + "ChakuKaisuHeichi", rides}},
         true, "", "0", "現", "0"},
        {"made after this year", {{"MakeDate", "20270105"}, {y1 + "SetYear", "2026"}, {y1 + "ChakuKaisuHeichi", rides}},
         false, "", "0", "現", "0"},
        {"central, no rides", {{y1 + "SetYear", "2026"}, {y1 + "ChakuKaisuHeichi", none}}, false, "  0-  0-  0-   0",
         "0", "現", "0"},
        {"local retired who rode", {{"DelKubun", "1"}, {"TozaiCD", "3"}, {y1 + "SetYear", "2026"}, {y1 + "ChakuKaisuHeichi", rides}},
         false, "  2-  1-  0-   5", "8", "--", "0"},
        {"local retired without rides",
         {{"DelKubun", "1"}, {"TozaiCD", "3"}, {y1 + "SetYear", "2026"}, {y1 + "ChakuKaisuHeichi", none}}, false, "", "0",
         "--", "1"},
        {"abroad, two years ago", {{"DelKubun", "1"}, {"TozaiCD", "4"}, {y1 + "SetYear", "2024"}, {y1 + "ChakuKaisuHeichi", rides}},
         false, "", "0", "消", "1"},
        {"central retired", {{"DelKubun", "1"}, {y1 + "SetYear", "2026"}, {y1 + "ChakuKaisuHeichi", rides}}, false,
         "  2-  1-  0-   5", "8", "消", "1"},
    };
    for (const auto& c : cases) {
        const std::string line = personLine({Family::KS, c.fields});
        const ViewRow r = personListRow(kJockeys, line, c.lastYear, 2026);
        EXPECT_EQ(cell(r, 9), c.col9) << c.what;
        EXPECT_EQ(cell(r, 14), c.total) << c.what;
        EXPECT_EQ(cell(r, 15), std::string(c.total) == "0" ? "-.---" : "0.250") << c.what;
        EXPECT_EQ(cell(r, 6), c.mark) << c.what;
        EXPECT_EQ(cell(r, 7), c.key) << c.what;
    }

    // Names, affiliation, birth year and career.
    const ViewRow r = personListRow(
        kJockeys,
        personLine({Family::KS,
                    {{"KisyuName", "武藤　一郎"}, {"KisyuNameKana", "ﾑﾄｳ ｲﾁﾛｳ"}, {"KisyuCode", "01234"}, {"TozaiCD", "2"},
                     {"BirthDate", "19900412"}, {y3 + "ChakuKaisuHeichi", countsField({3, 0, 0, 0, 0, 77})}}}),
        false, 2026);
    EXPECT_EQ(cell(r, 0), " 武藤一郎");
    EXPECT_EQ(cell(r, 1), " ムトウイチロウ");
    EXPECT_EQ(cell(r, 2) + cell(r, 3) + cell(r, 4) + cell(r, 5) + cell(r, 8), "01234栗東211990");
    EXPECT_EQ(cell(r, 18) + " " + cell(r, 19) + " " + cell(r, 20) + " " + cell(r, 22), "3 80 0.038 0.038");
}

class PersonStoreTest : public ::testing::Test {
protected:
    test::TempDir dir;
    StorePaths paths{dir.path()};

    void addJockey(const std::string& code, const std::string& name, int wins, int rides,
                   std::vector<std::pair<std::string, std::string>> more = {}) {
        more.insert(more.begin(), {{"KisyuCode", code},
                                   {"KisyuName", name},
                                   {"KisyuNameKana", name},
                                   {"HonZenRuikei1_SetYear", "2026"},
                                   {"HonZenRuikei1_ChakuKaisuHeichi", countsField({wins, 0, 0, 0, 0, rides - wins})}});
        store(paths, {Family::KS, more});
    }
    std::vector<std::string> names(const std::vector<ViewRow>& rows) {
        std::vector<std::string> out;
        for (const ViewRow& r : rows) out.push_back(cell(r, 0));
        return out;
    }
};

TEST_F(PersonStoreTest, ListFiltersCaptionAndEmptyFolder) {
    EXPECT_EQ(toUtf8(loadPersonList(kJockeys, paths, {}, 2026).caption), "騎手一覧");
    addJockey("00001", "山田太郎", 1, 10, {{"MakeDate", "20261105"}});
    addJockey("00002", "田中花子", 2, 10, {{"TozaiCD", "2"}});
    addJockey("00003", "山本次郎", 3, 10, {{"DelKubun", "1"}, {"MakeDate", "20261201"}});
    addJockey("10004", "佐藤三郎", 4, 10, {{"TozaiCD", "3"}});
    int steps = 0;
    PersonList all = loadPersonList(kJockeys, paths, {}, 2026, [&](int done, int files) {
        ++steps;
        EXPECT_LE(done, files);
    });
    EXPECT_EQ(steps, 2);  // KS000.dat and KS100.dat
    EXPECT_EQ(names(all.rows), (std::vector<std::string>{" 山田太郎", " 田中花子", " 佐藤三郎"}));
    EXPECT_EQ(toUtf8(all.caption), "騎手一覧 [2026年11月30日現在]");

    PersonListFilter f;
    f.retired = true;
    f.active = false;
    PersonList retired = loadPersonList(kJockeys, paths, f, 2026);
    EXPECT_EQ(names(retired.rows), std::vector<std::string>{" 山本次郎"});
    EXPECT_EQ(toUtf8(retired.caption), "騎手一覧 [2026年12月01日現在]");

    f = {};
    f.name = sj(" 山 ");
    EXPECT_EQ(names(loadPersonList(kJockeys, paths, f, 2026).rows), std::vector<std::string>{" 山田太郎"});
    f = {};
    f.areas[0] = f.areas[2] = false;
    EXPECT_EQ(names(loadPersonList(kJockeys, paths, f, 2026).rows), std::vector<std::string>{" 田中花子"});
    EXPECT_EQ(toUtf8(loadPersonList(kTrainers, paths, {}, 2026).caption), "調教師一覧");
}

TEST_F(PersonStoreTest, SortByHeadingsKeepsObjectNames) {
    // Win rates: A 0.100 of 10, B 0.100 of 20, C 0.200 of 10, D 0.050 of 20.
    addJockey("00001", "A", 1, 10);
    addJockey("00002", "B", 2, 20);
    addJockey("00003", "C", 2, 10);
    addJockey("00004", "D", 1, 20);
    PersonList list = loadPersonList(kJockeys, paths, {}, 2026);
    PersonSort sort;
    applySort(kJockeys, sort, list.rows);  // first opening: wins descending
    EXPECT_EQ(names(list.rows), (std::vector<std::string>{" B", " C", " D", " A"}));  // then seconds to others
    EXPECT_EQ(sort.field + sort.direction, "lbl_chakudsc");

    ASSERT_TRUE(clickHeading(kJockeys, sort, "lbl_Wrate"));
    applySort(kJockeys, sort, list.rows);
    EXPECT_EQ(sort.direction, "dsc");
    EXPECT_EQ(names(list.rows), (std::vector<std::string>{" C", " B", " A", " D"}));  // equal rates: more rides first
    ASSERT_TRUE(clickHeading(kJockeys, sort, "lbl_Wrate"));
    applySort(kJockeys, sort, list.rows);
    EXPECT_EQ(sort.direction, "asc");
    EXPECT_EQ(names(list.rows), (std::vector<std::string>{" D", " A", " B", " C"}));

    // The career heading of the same caption is another heading: descending again.
    ASSERT_TRUE(clickHeading(kJockeys, sort, "lbl_ToWrate"));
    EXPECT_EQ(sort.field + sort.previous + sort.direction, "lbl_ToWratelbl_ToWratedsc");
    ASSERT_TRUE(clickHeading(kJockeys, sort, "lbl_Name"));
    EXPECT_EQ(sort.direction, "asc");
    applySort(kJockeys, sort, list.rows);
    EXPECT_EQ(names(list.rows), (std::vector<std::string>{" A", " B", " C", " D"}));
    EXPECT_FALSE(clickHeading(kJockeys, sort, "勝率"));
}

TEST_F(PersonStoreTest, DataScreens) {
    const std::string g = "SaikinJyusyo1_";
    store(paths, {Family::KS,
                  {{"KisyuCode", "01170"},
                   {"KisyuName", "武藤　一郎 "},
                   {"KisyuNameKana", "ﾑﾄｳ  ｲﾁﾛｳ ﾆ"},
                   {"KisyuRyakusyo", "武藤一"},
                   {"TozaiCD", "1"},
                   {"ChokyosiCode", "00000"},
                   {"HonZenRuikei1_SetYear", "2026"},
                   {"HonZenRuikei1_ChakuKaisuHeichi", countsField({3, 2, 1, 1, 1, 72})},
                   {"HonZenRuikei1_ChakuKaisuJyo9", countsField({1, 0, 0, 0, 0, 15})},
                   {"HonZenRuikei2_SetYear", "2025"},
                   {g + "Date", "20260405"},
                   {g + "JyoCD", "09"},
                   {g + "RaceNum", "11"},
                   {g + "Ryakusyo10", "大阪杯"},
                   {g + "GradeCD", "A"},
                   {g + "Bamei", "テストホース"}}});
    const PersonData d = personData(kJockeys, paths, "1170", "");
    const ScreenView& v = d.view;
    EXPECT_EQ(toUtf8(v.caption), "騎手データ");
    EXPECT_EQ(toUtf8(v.label("lblName")), "武藤　一郎（ﾑﾄｳ ｲﾁﾛｳ ﾆ）");
    EXPECT_EQ(toUtf8(v.label("lblMakeDate")), "2026年11月30日現在");
    EXPECT_EQ(toUtf8(v.label("lblShozoku")), "美浦・フリー");
    EXPECT_EQ(toUtf8(v.label("lblHonnenTitle")), "（2026年）");
    EXPECT_EQ(toUtf8(v.label("lblHonnenHeichiCnt")), "    3    2    1   74 [    80]");
    EXPECT_EQ(toUtf8(v.label("lblHonnenHeichiRate")), "勝率 0.038  連対 0.063  3着 0.075");
    EXPECT_EQ(toUtf8(v.label("lblTsusanSyogaiRate")), "勝率 -.---  連対 -.---  3着 -.---");
    EXPECT_EQ(toUtf8(v.label("lblJyusyo1")), "2026/ 4/ 5 阪神11R 大阪杯[Ｇ１]               テストホース");
    EXPECT_EQ(v.label("lblJyusyo2"), "");
    ASSERT_EQ(v.lists.size(), 1u);
    EXPECT_EQ(toUtf8(v.lists[0].items[0] + "|" + v.lists[0].items[2]), "2026年平地成績|通算平地成績");
    ASSERT_EQ(v.grids[0].rows.size(), 17u);
    EXPECT_EQ(toUtf8(v.grids[0].rows[5][0] + v.grids[0].rows[5][5] + v.grids[0].rows[5][6]), "東京競馬場160.063");
    EXPECT_EQ(conditionTable(kJockeys, d.line, PersonBlock::Career)[5][6], "-.---");
    auto hint = [&](const std::string& name) {
        for (const auto& h : d.hints)
            if (h.name == name) return toUtf8(h.text);
        return std::string("none");
    };
    EXPECT_EQ(hint("lblHonnenHeichi"), "中央(芝＋ダート)の2026年成績です");
    EXPECT_EQ(hint("lblTsusanSyogai"), "中央(障害)の通算成績です");
    EXPECT_EQ(hint("lblZennenSyogai"), "中央(障害)の2025年成績です");

    // By short name when the code is not a positive number; a missing record.
    EXPECT_EQ(personData(kJockeys, paths, "0", sj("武藤一")).line, d.line);
    const ScreenView missing = personData(kJockeys, paths, "9999", sj("誰か")).view;
    EXPECT_EQ(toUtf8(missing.label("lblName")), "誰か");
    EXPECT_EQ(toUtf8(missing.label("lblMakeDate")), "----年--月--日現在");
    EXPECT_EQ(toUtf8(missing.label("lblTsusanHeichiCnt")), "    0    0    0    0 [     0]");
    EXPECT_EQ(toUtf8(missing.label("lblJyusyo1")), "<重賞未勝利>");
    EXPECT_TRUE(missing.lists[0].items.empty());
    EXPECT_EQ(missing.grids[0].rows.size(), 1u);

    // Trainers: the affiliation alone, or with the local trainer's Syotai; kana without a space unchanged.
    store(paths, {Family::CH, {{"ChokyosiCode", "00100"}, {"ChokyosiName", "美浦師"}, {"ChokyosiNameKana", " ﾐﾎｼ "}}});
    store(paths, {Family::CH, {{"ChokyosiCode", "00200"}, {"TozaiCD", "3"}, {"Syotai", "大井"}}});
    store(paths, {Family::CH, {{"ChokyosiCode", "00300"}, {"TozaiCD", "4"}, {"ChokyosiNameKana", "ｶｲｶﾞｲ"}}});
    const ScreenView t1 = personData(kTrainers, paths, "100", "").view;
    EXPECT_EQ(toUtf8(t1.caption + t1.label("lblShozoku") + t1.label("lblName")), "調教師データ美浦美浦師（ﾐﾎｼ）");
    EXPECT_EQ(toUtf8(t1.label("lbl_Chnum")), "100");
    EXPECT_EQ(toUtf8(personData(kTrainers, paths, "200", "").view.label("lblShozoku")), "地方・大井");
    EXPECT_EQ(toUtf8(personData(kTrainers, paths, "300", sj("外")).view.label("lblName")), "外");
}

TEST(ScreenPrint, ScreenCommandForm) {
    ScreenView v;
    v.caption = sj("騎手一覧");
    v.labels = {{"lblA", sj("一\r\n二\n三")}};
    v.grids = {{"stgX", {{"h1", "h2"}, {"a\tb", ""}}}};
    v.lists = {{"cboCond", {sj("通算")}}};
    v.hits = {{"stgX", 1, 0}};
    v.states = {{"btnUpdate", false}};
    v.messages = {sj("注意")};
    std::ostringstream out;
    cli::printScreen(out, v);
    EXPECT_EQ(out.str(),
              "caption\t騎手一覧\nlabel\tlblA\t一\\n二\\n三\nrow\tstgX\t0\th1\th2\nrow\tstgX\t1\ta b\t\n"
              "item\tcboCond\t通算\nhit\tstgX\t1\t0\nstate\tbtnUpdate\t0\nmessage\t注意\n");
}

TEST(PersonCli, ListsAndDataScreens) {
    test::TempDir dir;
    test::spit(dir.path() + "tarvo.ini", "");
    const StorePaths paths(dir.path() + "data/");
    const std::string year = std::to_string(nowLocal().year);
    for (const auto& [code, name, wins] : {std::tuple{"00001", "山田", 1}, std::tuple{"00002", "田中", 3}})
        store(paths, {Family::KS,
                      {{"KisyuCode", code}, {"KisyuName", name}, {"KisyuRyakusyo", name}, {"MakeDate", year + "0101"},
                       {"HonZenRuikei1_SetYear", year},
                       {"HonZenRuikei1_ChakuKaisuHeichi", countsField({wins, 0, 0, 0, 0, 10})}}});
    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "jockeys", "--sort", "名前", "dsc"}, out, &err), 0) << err;
    EXPECT_NE(out.find("caption\t騎手一覧 [" + year + "年01月01日現在]\n"), std::string::npos) << out;
    EXPECT_NE(out.find("label\tlblCount\t2件\n"), std::string::npos);
    EXPECT_NE(out.find("label\tlbl_sort_fld\tlbl_Name\n"), std::string::npos);
    EXPECT_NE(out.find("row\tstgKshList\t1\t 田中\t"), std::string::npos);
    EXPECT_NE(out.find("row\tstgKshList\t2\t 山田\t"), std::string::npos);
    ASSERT_EQ(test::runCli({"--home", dir.path(), "jockeys", "--name", "山"}, out), 0);
    EXPECT_NE(out.find("label\tlblCount\t1件\n"), std::string::npos);
    ASSERT_EQ(test::runCli({"--home", dir.path(), "trainers"}, out), 0);
    EXPECT_NE(out.find("label\tlblCount\t0件\n"), std::string::npos);
    ASSERT_EQ(test::runCli({"--home", dir.path(), "jockey", "--name", "田中"}, out), 0);
    EXPECT_NE(out.find("label\tlblName\t田中\n"), std::string::npos) << out;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "jockey", "2"}, out), 0);
    EXPECT_NE(out.find("label\tlblHonnenHeichiCnt\t    3    0    0   10 [    13]\n"), std::string::npos) << out;
    const std::vector<std::vector<std::string>> bad = {
        {"jockeys", "--sort", "nothing"}, {"jockeys", "--areas", "15"}, {"jockeys", "extra"}, {"jockey"}, {"trainer", "1", "2"}};
    for (const auto& a : bad) {
        std::vector<std::string> args = {"--home", dir.path()};
        args.insert(args.end(), a.begin(), a.end());
        EXPECT_EQ(test::runCli(args, out, &err), 2) << a[1];
    }
}

}  // namespace
}  // namespace tarvo
