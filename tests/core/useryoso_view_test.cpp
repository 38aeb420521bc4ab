// The user's marks (the choice the input screen offers, the mark stored in
// place in the SE record) and the race card's CSV file, over a small store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card_view.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "layouts.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"
#include "useryoso_view.h"

namespace tarvo {
namespace {

std::vector<ViewRow> rowsWithMarks(const std::vector<std::string>& marks) {
    std::vector<ViewRow> rows;
    for (const std::string& m : marks) {
        ViewRow row(kCardColumns);
        row[16].text = sj(m);
        rows.push_back(row);
    }
    return rows;
}

TEST(UserMarkChoice, UniqueMarksHeldByOthersAreOff) {
    struct Case {
        std::vector<std::string> marks;
        std::size_t row;
        std::vector<bool> enabled;  // ◎ ○ ▲ △ × ☆ 注 無印
        std::size_t selected;
    };
    const std::vector<Case> cases = {
        {{"", "◎", ""}, 0, {false, true, true, true, true, true, true, true}, 7},
        {{"", "◎", ""}, 1, {true, true, true, true, true, true, true, true}, 0},
        {{"○", "▲", "◎", "△"}, 3, {false, false, false, true, true, true, true, true}, 3},
        {{"△", "×", "☆", "注"}, 0, {true, true, true, true, true, true, true, true}, 3},
        {{"注", "注", "", ""}, 1, {true, true, true, true, true, true, true, true}, 6},
        {{"?", ""}, 0, {true, true, true, true, true, true, true, true}, 7},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const UserMarkChoice c = userMarkChoice(rowsWithMarks(cases[i].marks), cases[i].row);
        EXPECT_EQ(std::vector<bool>(c.enabled.begin(), c.enabled.end()), cases[i].enabled) << i;
        EXPECT_EQ(c.selected, cases[i].selected) << i;
    }
}

class UserMarkStoreTest : public ::testing::Test {
protected:
    UserMarkStoreTest() : store(dir.path() + "data/") { engineSettings() = EngineSettings{}; }

    void addRunner(const std::string& umaban, const std::string& bamei) {
        LineBuilder b(Family::SE);
        test::setRaceKey(b, ra);
        b.assign("Umaban", umaban);
        b.assign("KettoNum", "20190000" + umaban);
        b.assign("Bamei", sj(bamei));
        b.assign("Futan", "550");
        b.assignRaw("UserYoso", sj("注"));
        writeRecord(seFile(), b.line(), recordKey(Family::SE));
    }
    std::string seFile() const { return store.paths.se(ra.year, ra.monthDay, ra.jyoCD); }
    RaceKey key() const { return RaceKey(ra.year, ra.monthDay, ra.jyoCD, ra.raceNum); }
    std::string userYoso(const std::string& umaban) const {
        for (const std::string& line : readLines(seFile()))
            if (getField(Family::SE, line, "Umaban") == umaban) return std::string(getField(Family::SE, line, "UserYoso"));
        return "?";
    }

    test::TempDir dir;
    test::StoreFixture store;
    test::StoreFixture::Race ra;
};

TEST_F(UserMarkStoreTest, MarkRewritesOnlyTheUserField) {
    addRunner("01", "アオバ");
    addRunner("02", "カエデ");
    std::string before;
    ASSERT_TRUE(readFile(seFile(), before));
    ASSERT_TRUE(storeUserMark(store.paths, key(), "02", sj("カエデ"), sj("◎")));
    std::string after;
    ASSERT_TRUE(readFile(seFile(), after));
    ASSERT_EQ(after.size(), before.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < after.size(); ++i) differing += after[i] != before[i];
    EXPECT_EQ(differing, 2u);
    EXPECT_EQ(userYoso("02"), sj("◎"));
    EXPECT_EQ(userYoso("01"), sj("注"));

    ASSERT_TRUE(storeUserMark(store.paths, key(), "01", sj("アオバ"), ""));
    EXPECT_EQ(userYoso("01"), "  ");
    ASSERT_TRUE(storeUserMark(store.paths, key(), "01", sj("アオバ"), "x"));
    EXPECT_EQ(userYoso("01"), "x ");
}

TEST_F(UserMarkStoreTest, NothingStoredWithoutTheRunnersLine) {
    addRunner("01", "アオバ");
    std::string before, after;
    ASSERT_TRUE(readFile(seFile(), before));
    EXPECT_FALSE(storeUserMark(store.paths, key(), "01", sj("カエデ"), sj("◎")));
    EXPECT_FALSE(storeUserMark(store.paths, key(), "02", sj("アオバ"), sj("◎")));
    EXPECT_FALSE(storeUserMark(store.paths, RaceKey(ra.year, ra.monthDay, ra.jyoCD, "00"), "01", sj("アオバ"), sj("◎")));
    EXPECT_FALSE(storeUserMark(store.paths, RaceKey(ra.year, "0511", ra.jyoCD, ra.raceNum), "01", sj("アオバ"), sj("◎")));
    ASSERT_TRUE(readFile(seFile(), after));
    EXPECT_EQ(after, before);
}

TEST_F(UserMarkStoreTest, CsvOfASmallCard) {
    store.addRace(ra);
    addRunner("01", "アオバ");
    addRunner("02", "カエデ");
    const RaceCard card = buildRaceCard({store.paths, dir.path() + "file/"}, key());
    EXPECT_EQ(toUtf8(cardCsv(card)),
              "馬番,馬名,斤量,５走前,４走前,３走前,２走前,前走,PC,US,位置,S3F,総合\r\n"
              "01番,アオバ,55,,,,,,,注,,,\r\n"
              "02番,カエデ,55,,,,,,,注,,,\r\n");
}

TEST_F(UserMarkStoreTest, CliMarkAndCsv) {
    test::spit(dir.path() + "tarvo.ini", "");
    store.addRace(ra);
    addRunner("01", "アオバ");
    addRunner("02", "カエデ");
    const auto cli = [&](const std::vector<std::string>& words) {
        std::vector<std::string> args = {"--home", dir.path()};
        args.insert(args.end(), words.begin(), words.end());
        std::string out, err;
        return test::runCli(args, out, &err);
    };
    EXPECT_EQ(cli({"mark", "2020", "0510", "06", "05", "01", "◎"}), 0);
    EXPECT_EQ(userYoso("01"), sj("◎"));
    EXPECT_EQ(cli({"mark", "2020", "0510", "06", "05", "02", "◎"}), 1) << "another runner holds ◎";
    EXPECT_EQ(userYoso("02"), sj("注"));
    EXPECT_EQ(cli({"mark", "2020", "0510", "06", "05", "02", "無印"}), 0);
    EXPECT_EQ(userYoso("02"), "  ");
    EXPECT_EQ(cli({"mark", "2020", "0510", "06", "05", "03", "○"}), 1);
    EXPECT_EQ(cli({"mark", "2020", "0510", "06", "05", "02", "★"}), 2);
    EXPECT_EQ(cli({"csv", "2020", "0510", "06", "05", dir.path() + "c.csv"}), 0);
    std::string csv;
    ASSERT_TRUE(readFile(dir.path() + "c.csv", csv));
    EXPECT_NE(toUtf8(csv).find("\r\n01番,アオバ,55,,,,,,,◎,,,\r\n02番,カエデ,55,,,,,,,,,,\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tarvo
