#include <gtest/gtest.h>

#include <sstream>

#include "cp932.h"
#include "layouts.h"
#include "record_io.h"
#include "store_paths.h"
#include "test_support.h"
#include "um_index.h"

namespace tarvo {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

class ShowCliTest : public ::testing::Test {
protected:
    test::TempDir home;
    const std::string h = home.path();
    StorePaths paths{home.path() + "data/"};

    void SetUp() override {
        LineBuilder ra(Family::RA);
        const std::pair<const char*, const char*> head[] = {{"DataKubun", "7"}, {"Year", "2020"}, {"MonthDay", "0607"},
                                                            {"JyoCD", "05"},    {"Kaiji", "03"},  {"Nichiji", "02"},
                                                            {"RaceNum", "11"}};
        for (const auto& [n, v] : head) ASSERT_TRUE(ra.set(n, v));
        ASSERT_TRUE(ra.set("Hondai", sj("東京優駿")));
        writeRecord(paths.ra("2020", "0607", "05"), ra.line(), recordKey(Family::RA));

        LineBuilder o2(Family::O2, ra.line().substr(0, 25));
        ASSERT_TRUE(o2.set("OddsUmaren1", "0102001234001"));
        writeRecord(paths.o2("2020", "0607"), o2.line(), recordKey(Family::O2));

        ASSERT_TRUE(updateRunList(paths, "2017101234", sj("ウマ"), "05", "20200607", "1"));
    }
};

TEST_F(ShowCliTest, PrintsEveryFieldInLayoutOrderUntrimmedAsUtf8) {
    std::string out;
    ASSERT_EQ(test::runCli({"--home", h, "show", "RA", "2020", "0607", "05", "11"}, out), 0);
    const auto lines = linesOf(out);
    const Layout& l = layoutOf(Family::RA);
    ASSERT_EQ(lines.size(), l.fields.size());
    EXPECT_EQ(lines[0], "DataKubun\t7");
    EXPECT_EQ(lines[7], "RaceNum\t11");
    EXPECT_EQ(lines[9], "Hondai\t東京優駿" + std::string(52, ' '));
    EXPECT_EQ(lines.back(), "RecordUpKubun\t ");
}

TEST_F(ShowCliTest, RunIndexOddsElementAndMissingRecords) {
    std::string out;
    ASSERT_EQ(test::runCli({"--home", h, "show", "UMIDX", "2017101234"}, out), 0);
    EXPECT_EQ(linesOf(out), (std::vector<std::string>{"KettoNum\t2017101234", "SexCD\t1",
                                                      "Bamei\tウマ" + std::string(32, ' '),
                                                      "RunList\t2020060705" + std::string(1490, ' ')}));

    ASSERT_EQ(test::runCli({"--home", h, "show", "odds", "O2", "2020", "0607", "05", "11", "0102"}, out), 0);
    EXPECT_EQ(out, "0102001234001\n");

    EXPECT_EQ(test::runCli({"--home", h, "show", "odds", "O2", "2020", "0607", "05", "11", "0201"}, out), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(test::runCli({"--home", h, "show", "RA", "2020", "0607", "05", "12"}, out), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(test::runCli({"--home", h, "show", "UM", "2017101234"}, out), 1);
    EXPECT_EQ(out, "");
}

TEST_F(ShowCliTest, WrongWordsAreAUsageError) {
    std::string out, err;
    EXPECT_EQ(test::runCli({"--home", h, "show", "RA", "2020", "0607", "05"}, out, &err), 2);  // a key missing
    EXPECT_NE(err.find("show SE YEAR MONTHDAY JYOCD RACENUM UMABAN"), std::string::npos);
    EXPECT_EQ(test::runCli({"--home", h, "show", "XX", "1"}, out, &err), 2);
    EXPECT_EQ(test::runCli({"--home", h, "show", "odds", "HR", "2020", "0607", "05", "11", "0102"}, out, &err), 2);
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace tarvo
