// The local graded race prediction over small hand-made stores and .rfl
// fixtures: bracket numbers, the entry grid's operations, the search, the
// trainer lookup, the provisional race card file both ways (also broken ones),
// the card build with its marks, and the race data editor's rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "local_card.h"
#include "local_raceedit.h"
#include "lookups.h"
#include "record_io.h"
#include "runner_tables.h"
#include "store_fixture.h"
#include "test_support.h"
#include "track_variant.h"
#include "textfn.h"
#include "um_index.h"

namespace tarvo {
namespace {

std::string u8(const std::string& cp932) { return toUtf8(cp932); }

EntryRow entry(const std::string& number, const std::string& name, const std::string& ketto,
               const std::string& trainer = "**", const std::string& code = "00000") {
    return {sj(number), sj(name), sj("牡4"), "55.0", ketto, "**", "00000", sj(trainer), code};
}

TEST(LocalBracket, TablesByFieldSize) {
    struct Case {
        int field;
        std::vector<int> horses, brackets;
    };
    const std::vector<Case> cases = {
        {8, {1, 8}, {1, 8}},
        {10, {1, 6, 7, 8, 9, 10}, {1, 6, 7, 7, 8, 8}},
        {15, {1, 2, 3, 4, 14, 15}, {1, 2, 2, 3, 8, 8}},
        {16, {1, 2, 14, 15, 16}, {1, 1, 7, 8, 8}},
        {17, {15, 16, 17}, {8, 8, 8}},
        {18, {13, 14, 15, 16, 17, 18}, {7, 7, 7, 8, 8, 8}},
    };
    for (const Case& c : cases)
        for (std::size_t i = 0; i < c.horses.size(); ++i)
            EXPECT_EQ(bracketNumber(c.horses[i], c.field), std::to_string(c.brackets[i]))
                << "horse " << c.horses[i] << " of " << c.field;
    for (const auto& [h, f] : std::vector<std::pair<int, int>>{{0, 10}, {19, 18}, {3, 0}, {3, 19}})
        EXPECT_EQ(bracketNumber(h, f), "") << h << " of " << f;
}

class LocalTest : public ::testing::Test {
protected:
    LocalTest() : store(dir.path() + "data/") { engineSettings() = EngineSettings{}; }

    // A confirmed past race on 2024-05-01 at 東京 on 芝1600 with runners 1 to n (KettoNum 20170000NN),
    // horse 1 the fastest, each listed in the UM index.
    void addPastRace(int n) {
        const RaceKey race("2024", "0501", "05", "05");
        LineBuilder ra(Family::RA);
        const std::pair<const char*, std::string> key[] = {{"Year", race.year},   {"MonthDay", race.monthDay},
                                                           {"JyoCD", race.jyoCD}, {"Kaiji", "01"},
                                                           {"Nichiji", "01"},     {"RaceNum", race.raceNum}};
        for (const auto& [name, value] : key) ra.assign(name, value);
        for (const auto& [name, value] : {std::pair<const char*, std::string>{"DataKubun", "7"}, {"TrackCD", "10"},
                                          {"Kyori", "1600"}, {"SyubetuCD", "13"}, {"JyokenCD5", "005"}})
            ra.assign(name, value);
        writeRecord(store.paths.ra(race.year, race.monthDay, race.jyoCD), ra.line(), recordKey(Family::RA));
        for (int u = 1; u <= n; ++u) {
            LineBuilder se(Family::SE);
            for (const auto& [name, value] : key) se.assign(name, value);
            const std::string ketto = "20170000" + twoDigits(u);
            const std::pair<const char*, std::string> fields[] = {
                {"DataKubun", "7"},   {"Umaban", twoDigits(u)},  {"KettoNum", ketto},
                {"SexCD", "1"},       {"Futan", "550"},          {"IJyoCD", "0"},
                {"KakuteiJyuni", twoDigits(u)}, {"NyusenJyuni", twoDigits(u)}, {"Time", test::storedTime(940 + 3 * u)},
                {"HaronTimeL3", "345"}, {"TimeDiff", "0"},       {"BaTaijyu", "480"},
                {"Jyuni2c", twoDigits(u)}, {"Jyuni3c", twoDigits(u)}, {"Jyuni4c", twoDigits(u)},
                {"TrackCD", "10"},    {"Kyori", "1600"}};
            for (const auto& [name, value] : fields) se.assign(name, value);
            writeRecord(store.paths.se(race.year, race.monthDay, race.jyoCD), se.line(), recordKey(Family::SE));
            ASSERT_TRUE(updateRunList(store.paths, ketto, sj("ウマ") + twoDigits(u), race.jyoCD, "20240501", "1"));
        }
        writeVariant(store.paths, race, "+00 *** T");
    }

    // A run with a trainer, on its own day file.
    void addTrainerRun(const std::string& ketto, const std::string& date, const std::string& jyoCD,
                       const std::string& trainer, const std::string& code) {
        LineBuilder b(Family::SE);
        test::StoreFixture::Race r;
        r.year = date.substr(0, 4);
        r.monthDay = date.substr(4, 4);
        r.jyoCD = jyoCD;
        test::setRaceKey(b, r);
        b.assign("Umaban", "01");
        b.assign("KettoNum", ketto);
        b.assign("ChokyosiRyakusyo", sj(trainer));
        b.assign("ChokyosiCode", code);
        writeRecord(store.paths.se(r.year, r.monthDay, r.jyoCD), b.line(), recordKey(Family::SE));
        ASSERT_TRUE(updateRunList(store.paths, ketto, sj("トレ"), jyoCD, date, "1"));
    }

    void addTrainerRecord(const std::string& name, const std::string& code) {
        LineBuilder b(Family::CH);
        b.assign("ChokyosiCode", code);
        b.assign("ChokyosiRyakusyo", sj(name));
        writeRecord(store.paths.ch(code), b.line(), recordKey(Family::CH));
    }

    test::TempDir dir;
    test::StoreFixture store;
};

TEST_F(LocalTest, SearchIsAPrefixSearchListingEachHorseOnceWithTheAgeFilter) {
    for (const auto& [ketto, name] : std::vector<std::pair<std::string, std::string>>{
             {"2019100001", "サクラ"}, {"2019100002", "サクラハナ"}, {"2021100003", "サクラ"}, {"2019100004", "ハナサクラ"}})
        ASSERT_TRUE(updateRunList(store.paths, ketto, sj(name), "44", "20240101", "2"));
    ASSERT_TRUE(updateRunList(store.paths, "2019100001", sj("サクラ"), "44", "20240201", "2"));  // a second run

    const auto all = searchHorses(store.paths, sj("　サクラ "), 0, 2024, 2026);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(u8(all[0]), "サクラ                      牝5    2019100001");
    EXPECT_EQ(all[0].size(), 45u);
    const auto bornIn2019 = searchHorses(store.paths, sj("サクラ"), 7, 2024, 2026);
    ASSERT_EQ(bornIn2019.size(), 2u);
    EXPECT_EQ(u8(bornIn2019[1]).substr(0, 15), "サクラハナ");
    EXPECT_TRUE(searchHorses(store.paths, sj("　"), 0, 2024, 2026).empty());
    // A horse born in the race year has no age.
    EXPECT_EQ(part(searchHorses(store.paths, sj("サクラ"), 0, 2019, 2026)[0], 30, 2), "**");
}

TEST_F(LocalTest, TrainerLookupTakesTheLatestRunUpToTheRaceDate) {
    const std::string ketto = "2019100009";
    addTrainerRun(ketto, "20240301", "44", "旧師", "01111");
    addTrainerRun(ketto, "20240601", "44", "新師", "00000");
    addTrainerRecord("新師", "02222");
    EXPECT_EQ(u8(trainerLookup(store.paths, "20240401", ketto).name), "旧師");
    EXPECT_EQ(trainerLookup(store.paths, "20240401", ketto).code, "01111");
    // A code of zeros is found by the short name.
    EXPECT_EQ(trainerLookup(store.paths, "20241231", ketto).code, "02222");
    // Every run later: the oldest.
    EXPECT_EQ(u8(trainerLookup(store.paths, "20230101", ketto).name), "旧師");
    const TrainerRef none = trainerLookup(store.paths, "20240401", "2019100010");
    EXPECT_EQ(none.name, "**");
    EXPECT_EQ(none.code, "00000");
}

TEST_F(LocalTest, AddRemoveAndTheNumberChoice) {
    LocalEntry e;
    const std::string a = searchResultLine(sj("エー"), sj("牡"), "4", "2019100001");
    const std::string b = searchResultLine(sj("ビー"), sj("牝"), "5", "2019100002");
    EXPECT_EQ(addRunner(e, store.paths, a, sj("05番"), "55.0", "20240601"), "");
    EXPECT_EQ(e.rows.size(), 1u);
    EXPECT_EQ(addRunner(e, store.paths, b, sj("02番"), "54.0", "20240601"), "");
    ASSERT_EQ(e.rows.size(), 2u);
    EXPECT_EQ(u8(e.rows[0][1]), "ビー");  // sorted by number
    EXPECT_EQ(e.selected, 1u);
    EXPECT_EQ(u8(e.rows[1][2]), "牡4");
    EXPECT_EQ(e.rows[1][5], "**");
    EXPECT_EQ(e.numbers.size(), 16u);
    EXPECT_EQ(u8(addRunner(e, store.paths, a, sj("07番"), "55.0", "20240601")), "エー は既に追加されています");
    EXPECT_EQ(e.rows.size(), 2u);

    e.selected = 2;
    removeRunner(e);
    e.selected = 1;
    removeRunner(e);
    ASSERT_EQ(e.rows.size(), 1u);
    EXPECT_TRUE(isEmptyEntry(e.rows[0]));
    EXPECT_EQ(e.selected, 0u);
    EXPECT_EQ(e.numbers, LocalEntry::allHorseNumbers());
    EXPECT_EQ(e.results, (std::vector<std::string>{a, b}));
}

TEST_F(LocalTest, StatusTogglesAndMovesKeepTheNumbers) {
    LocalEntry e;
    e.rows = {entry("01番", "エー", "2019100001"), entry("02番", "ビー", "2019100002")};
    e.selected = 1;
    const std::vector<std::pair<const char*, const char*>> steps = {
        {"除", "01除>"}, {"除", "01番"}, {"消", "01消>"}, {"除", "01除>"}, {"消", "01消>"}, {"消", "01番"}};
    for (const auto& [status, expected] : steps) {
        toggleStatus(e, sj(status));
        EXPECT_EQ(u8(e.rows[0][0]), expected) << status;
    }
    toggleStatus(e, sj("除"));
    moveRunner(e, +1);
    EXPECT_EQ(e.selected, 2u);
    EXPECT_EQ(u8(e.rows[0][0]) + u8(e.rows[0][1]), "01番ビー");
    EXPECT_EQ(u8(e.rows[1][0]) + u8(e.rows[1][1]), "02除>エー");
    moveRunner(e, +1);  // already last
    EXPECT_EQ(e.selected, 2u);
    moveRunner(e, -1);
    EXPECT_EQ(u8(e.rows[0][0]) + u8(e.rows[0][1]), "01除>エー");
}

TEST_F(LocalTest, RflWrittenByteForByte) {
    LocalEntry e;
    e.rows = {entry("01番", "エー", "2019100001", "師匠", "01234"),
              entry("02除>", "とても長い名前の馬ですとても長い名前", "2019100002")};
    const std::string text = rflText({"20240601", sj("大井　"), sj("ダ1600"), sj("a\"b")}, e.rows);
    const std::string lines = u8(text);
    const std::string first = sj("01番 エー") + std::string(24, ' ') + sj("牡4") + "  55.0 2019100001 **" +
                              std::string(7, ' ') + "00000 " + sj("師匠") + std::string(5, ' ') + "01234";
    EXPECT_EQ(lines.substr(0, lines.find("\r\n") + 2), "＃20240601,\"大井\",\"ダ1600\",\"a\"\"b\"\r\n");
    const std::size_t headerEnd = text.find("\r\n") + 2;
    EXPECT_EQ(text.substr(headerEnd, 85), first + "\r\n");
    EXPECT_EQ(text.substr(headerEnd, 83).size(), 83u);
    // A name longer than its field is written whole and shifts the rest.
    const std::string second = text.substr(headerEnd + 85);
    EXPECT_EQ(second.size(), 83u + 8u + 2u);

    const RflContent back = readRfl(store.paths, text, "20000101");
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(back.header.date, "20240601");
    EXPECT_EQ(u8(back.header.raceName), "a\"b");
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[0], e.rows[0]);
}

TEST_F(LocalTest, LoadingThreeRunnersOverFiveLeavesThree) {
    LocalEntry e;
    std::vector<EntryRow> five, three;
    for (int h = 1; h <= 5; ++h) five.push_back(entry(twoDigits(h) + "番", "ウマ" + twoDigits(h), "20190000" + twoDigits(h)));
    three.assign(five.begin() + 1, five.begin() + 4);
    loadEntry(e, readRfl(store.paths, rflText({"20240601", sj("大井"), sj("ダ1600"), ""}, five), ""));
    ASSERT_EQ(e.rows.size(), 5u);
    loadEntry(e, readRfl(store.paths, rflText({"20240601", sj("大井"), sj("ダ1600"), ""}, three), ""));
    EXPECT_EQ(e.rows, three);
    EXPECT_EQ(e.selected, 1u);
    EXPECT_EQ(e.numbers.size(), 15u);
    EXPECT_EQ(u8(e.numbers.front()), "01番");
}

TEST_F(LocalTest, FileEndingAfterKettoNumGetsTrainerFromTheLookup) {
    addTrainerRun("2019100009", "20240301", "44", "旧師", "01111");
    const std::string text = sj("＃20240401,\"大井\",\"ダ1600\",\"\"\r\n") +
                             sj("03番 ") + padRight(sj("ウマ"), 28) + padRight(sj("牝3"), 5) + "54.0 2019100009\r\n";
    const RflContent c = readRfl(store.paths, text, "");
    ASSERT_EQ(c.rows.size(), 1u);
    EXPECT_EQ(c.rows[0][5], "**");
    EXPECT_EQ(c.rows[0][6], "00000");
    EXPECT_EQ(u8(c.rows[0][7]), "旧師");
    EXPECT_EQ(c.rows[0][8], "01111");
    EXPECT_TRUE(c.problems.empty());
}

TEST_F(LocalTest, BrokenFilesReadWithProblemsAndFallBacks) {
    struct Case {
        std::string text;  // UTF-8, converted
        std::size_t rows, problems;
        std::string date;
    };
    const std::vector<Case> cases = {
        {"", 1, 1, ""},
        {"＃2024,\"大井\"\r\n", 1, 2, ""},
        {"＃20240230,\"大井\",\"ダ1600\",\"x\"\r\n01番 ウマ", 1, 2, ""},
        {"01番 ウマ" + std::string(24, ' ') + "牡4  5x.0 2019\r\n\r\n02番", 2, 3, ""},
        {"＃20240601,\"大井\",\"ダ1600\",\"x\"", 1, 0, "20240601"},
    };
    for (const Case& c : cases) {
        const RflContent r = readRfl(store.paths, sj(c.text), "");
        EXPECT_EQ(r.rows.size(), c.rows) << c.text;
        EXPECT_EQ(r.problems.size(), c.problems) << c.text;
        EXPECT_EQ(r.header.date, c.date) << c.text;
    }
    const RflContent weight = readRfl(store.paths, sj(cases[3].text), "");
    EXPECT_EQ(weight.rows[0][3], "5x.0");
    EXPECT_EQ(weight.rows[0][7], "**");
}

TEST_F(LocalTest, CardOfFourRunnersHasNoMarksAndExcludedRunnersNeverGetOne) {
    addPastRace(6);
    const LocalRaceHeader header{"20240601", sj("大井"), sj("芝1600"), sj("記念")};
    std::vector<EntryRow> rows;
    for (int h = 1; h <= 6; ++h)
        rows.push_back(entry(twoDigits(h) + (h == 6 ? "除>" : h == 2 ? "消>" : "番"), "ウマ" + twoDigits(h),
                             "20170000" + twoDigits(h)));
    const EvalSource src{store.paths, dir.path() + "file/"};

    const RaceCard six = buildLocalRaceCard(src, header, rows);
    EXPECT_EQ(u8(six.header.raceNum), "大井**R");
    EXPECT_EQ(u8(six.header.crs), "芝1600m");
    EXPECT_EQ(u8(six.header.hTime), "--：--");
    EXPECT_EQ(u8(six.rows[5][7].text), "除外");
    EXPECT_EQ(u8(six.rows[1][7].text), "取消");
    EXPECT_EQ(six.rows[5][0].text, "6");
    const RunnerTable& t = runnerTable(kMainWindowCaller);
    EXPECT_EQ(u8(t.marks[kSlotSexName][0]), "牡");
    EXPECT_EQ(t.marks[kSlotUmaban][3], "04");
    std::vector<std::string> marks;
    for (const ViewRow& r : six.rows) marks.push_back(u8(r[15].text));
    EXPECT_EQ(marks[1], "");  // scratched
    EXPECT_EQ(marks[5], "");  // excluded
    EXPECT_EQ(std::count(marks.begin(), marks.end(), "◎"), 1);
    EXPECT_FALSE(six.rows[0][14].text.empty());  // the past run

    rows.resize(4);
    const RaceCard four = buildLocalRaceCard(src, header, rows);
    ASSERT_EQ(four.rows.size(), 4u);
    for (const ViewRow& r : four.rows) EXPECT_EQ(r[15].text, "");
    EXPECT_FALSE(four.rows[0][14].text.empty());
}

TEST(LocalRaceData, EditorRule) {
    struct Case {
        std::string seconds, tenths;
        std::array<std::string, 3> positions;
        std::string l3fStored, l3fShown, positionsStored, positionsShown;
    };
    const std::vector<Case> cases = {
        {"35", "2", {"3", "12", "1"}, "352", "35.2", "031201", "031201"},
        {"29", "9", {"1", "2", ""}, "000", "--.-", "010200", "0102**"},
        {"36", "", {"", "x", "0"}, "360", "36.-", "000000", "******"},
        {" ", "4", {"01", "-3", "7"}, "000", "--.-", "010007", "01**07"},
    };
    for (const Case& c : cases) {
        const RaceDataEdit e = raceDataEdit(c.seconds, c.tenths, c.positions);
        EXPECT_EQ(e.l3fStored, c.l3fStored) << c.seconds << "." << c.tenths;
        EXPECT_EQ(e.l3fShown, c.l3fShown) << c.seconds << "." << c.tenths;
        EXPECT_EQ(e.positionsStored, c.positionsStored);
        EXPECT_EQ(e.positionsShown, c.positionsShown);
    }
}

TEST_F(LocalTest, RaceDataEditorRewritesOnlyItsBytes) {
    test::StoreFixture::Race r;
    r.jyoCD = "44";
    store.addRunner(r, 1, "01", "1360", "370");
    store.addRunner(r, 2, "02", "1361", "371");
    const std::string path = store.paths.se(r.year, r.monthDay, r.jyoCD);
    const std::string before = test::slurp(path);
    const RaceDataEdit edit = raceDataEdit("29", "5", {"1", "2", ""});
    const std::string ketto = "2017000002";
    EXPECT_EQ(writeRaceData(store.paths, "20200510", sj("中山"), "05", ketto, "", edit), RaceDataWrite::NoFile);
    EXPECT_EQ(writeRaceData(store.paths, "20200510", sj("大井"), "06", ketto, "", edit), RaceDataWrite::NoRun);
    EXPECT_EQ(test::slurp(path), before);
    ASSERT_EQ(writeRaceData(store.paths, "20200510", sj("大井"), "05", ketto, sj(" 騎手 "), edit),
              RaceDataWrite::Written);
    const std::string after = test::slurp(path);
    ASSERT_EQ(after.size(), before.size());
    const std::string line = findRunnerByNumber(store.paths, RaceKey(r.year, r.monthDay, r.jyoCD, r.raceNum), "02");
    EXPECT_EQ(getField(Family::SE, line, "HaronTimeL3"), "000");
    EXPECT_EQ(std::string(getField(Family::SE, line, "Jyuni2c")) + std::string(getField(Family::SE, line, "Jyuni3c")) +
                  std::string(getField(Family::SE, line, "Jyuni4c")),
              "010200");
    EXPECT_EQ(u8(std::string(getField(Family::SE, line, "KisyuRyakusyo"))), "騎手    ");
    std::size_t changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i];
    EXPECT_LE(changed, 8u + 6u + 3u);
    EXPECT_EQ(after.substr(0, 258), before.substr(0, 258));  // the other runner
    const RaceDataFields fields = raceDataFields(line);
    EXPECT_EQ(fields.seconds + fields.tenths, "000");
    EXPECT_EQ(fields.positions[1], "02");
}

TEST_F(LocalTest, CliLocalCardSearchAndRaceEdit) {
    addPastRace(5);
    std::vector<EntryRow> rows;
    for (int h = 1; h <= 5; ++h) rows.push_back(entry(twoDigits(h) + "番", "ウマ" + twoDigits(h), "20170000" + twoDigits(h)));
    const std::string rfl = dir.path() + "card.rfl";
    test::spit(rfl, rflText({"20240601", sj("大井"), sj("芝1600"), sj("記念")}, rows));
    test::spit(dir.path() + "tarvo.ini", "");
    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", dir.path(), "local-card", rfl}, out, &err), 0) << err;
    EXPECT_NE(out.find("header\tlbl_RaceNum\t大井**R\n"), std::string::npos);
    EXPECT_NE(out.find("row\t1\t1\t01\tウマ01\t牡4\t55.0\t**\t**\t"), std::string::npos);
    EXPECT_NE(out.find("◎"), std::string::npos);
    test::spit(rfl, sj("＃2024,\"大井\"\r\n"));
    EXPECT_EQ(test::runCli({"--home", dir.path(), "local-card", rfl}, out, &err), 1);
    EXPECT_NE(err.find("no race date"), std::string::npos);

    ASSERT_EQ(test::runCli({"--home", dir.path(), "local-search", "ウマ0", "--date", "20240601"}, out), 0);
    EXPECT_NE(out.find("label\tlblNum\t5\n"), std::string::npos);
    EXPECT_NE(out.find("item\tlstSchResult\tウマ01                      牡7    2017000001\n"), std::string::npos);

    test::StoreFixture::Race r;
    r.jyoCD = "44";
    store.addRunner(r, 3, "03", "1360", "370");
    ASSERT_EQ(test::runCli({"--home", dir.path(), "race-edit", "2020", "0510", "44", "05", "03", "36.1", "4", "", "2"},
                           out, &err),
              0)
        << err;
    EXPECT_EQ(out.substr(0, out.find('\n')), "shown\t36.1\t04**02");
    EXPECT_NE(out.find("stored\tHaronTimeL3\t361\n"), std::string::npos);
    EXPECT_NE(out.find("stored\tJyuni3c\t00\n"), std::string::npos);
    EXPECT_EQ(test::runCli({"--home", dir.path(), "race-edit", "2020", "0510", "44", "05", "09", "36.1", "4", "", "2"},
                           out, &err),
              1);
    EXPECT_EQ(test::runCli({"--home", dir.path(), "race-edit", "2020", "0510", "06", "05", "01", "36.1", "4", "", "2"},
                           out, &err),
              2);
}

}  // namespace
}  // namespace tarvo
