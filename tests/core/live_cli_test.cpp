// tarvo-cli live: the fetches and the batch as the window runs them, with their
// printed messages and lines.
#include <gtest/gtest.h>

#include "inifile.h"
#include "jv_fixture.h"
#include "lookups.h"
#include "record_writers.h"
#include "test_support.h"

namespace tarvo {
namespace {

using test::Raw;
using test::runCli;

class LiveCli : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* num : {"11", "12"}) {
            store(test::raRecord("05", "17", "1600", "2", "0106", num).set("HassoTime", "1500"));
            store(test::race("SE", "05", "2", "0106", num).set("Umaban", "01").set("KettoNum", std::string("20201000") + num));
        }
        Raw we("WE");
        we.set("head.DataKubun", "1").set("id.Year", "2024").set("id.MonthDay", "0106").set("id.JyoCD", "05");
        we.set("HappyoTime.Hour", "09").set("TenkoBaba.TenkoCD", "1").set("TenkoBaba.SibaBabaCD", "1");
        realTime("0B14", "20240106", {we});
        for (const char* num : {"11", "12"}) {
            Raw o1 = test::race("O1", "05", "1", "0106", num);
            o1.set("OddsTansyoInfo[1].Umaban", "01").set("OddsTansyoInfo[1].Odds", "0021");
            realTime("0B30", std::string("20240106") + "05" + num, {o1});
        }
    }
    void store(const Raw& raw) const { test::storeRaceRecord(StorePaths(home.path() + "data/"), raw); }
    void realTime(const std::string& spec, const std::string& key, const std::vector<Raw>& records) const {
        test::addRealTime(src.path(), spec, key, records);
    }
    int live(std::vector<std::string> args, std::string& out) const {
        std::vector<std::string> all = {"--home", home.path(), "--source", src.path(), "live"};
        all.insert(all.end(), args.begin(), args.end());
        return runCli(all, out);
    }
    std::string odds(const char* num) const {
        return std::string(getField(Family::SE, findRunnerByNumber(StorePaths(home.path() + "data/"),
                                                                    RaceKey("2024", "0106", "05", num), "01"),
                                    "Odds"));
    }

    test::TempDir home, src;
};

TEST_F(LiveCli, ChangesPrintTheCaptionAndTheMessages) {
    std::string out;
    ASSERT_EQ(live({"changes", "20240106"}, out), 0);
    EXPECT_EQ(out, "caption\tTARVO Ver.2.00 - 東京[晴]芝良 ダ**\n");
    IniFile(home.path() + "jvlink.ini").write("JVLINK", "rtopen_result.0B14", "-100");
    ASSERT_EQ(live({"changes", "20240106"}, out), 0);
    EXPECT_EQ(out, "JVOpenエラー：-100\ncaption\tTARVO Ver.2.00\n");
    ASSERT_EQ(live({"odds", "2024", "0106", "05", "11"}, out), 0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(odds("11"), "0021");
}

TEST_F(LiveCli, BatchPrintsARaceLinePerRaceAndStopsWhenCancelled) {
    std::string out;
    IniFile(home.path() + "jvlink.ini").write("JVLINK", "download_fail.0B11", "*");  // the body weights: one message
    test::spit(src.path() + "0B11/20240106.jvd", Raw("WH").rec);
    ASSERT_EQ(live({"batch", "odds", "20240106", "--shown", "05", "11", "--cancel-after-races", "1"}, out), 0);
    EXPECT_EQ(out, "データのダウンロードに失敗しました。\nrace\t05\t11\todds\nshown\t05\t11\n");
    EXPECT_EQ(odds("12"), "    ");
    ASSERT_EQ(live({"batch", "results", "20240106"}, out), 0);
    EXPECT_EQ(out, "データのダウンロードに失敗しました。\nrace\t05\t11\tresults,odds\nrace\t05\t12\tresults,odds\n");
    EXPECT_EQ(odds("12"), "0021");
}

TEST_F(LiveCli, MalformedCommandsAndReadOnlyMode) {
    std::string out;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"changes", "20240231"}, {"odds", "2024", "0106", "05"}, {"batch", "win", "20240106"},
          {"batch", "odds", "20240106", "11"}, {"nothing"}})
        EXPECT_EQ(live(args, out), 2) << args[0];
    IniFile(home.path() + "tarvo.ini").write("UMA_DB", "mode", "readonly");
    EXPECT_EQ(live({"weights", "20240106"}, out), 1);
}

}  // namespace
}  // namespace tarvo
