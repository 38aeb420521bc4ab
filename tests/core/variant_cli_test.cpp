#include <gtest/gtest.h>

#include <filesystem>

#include "store_fixture.h"
#include "test_support.h"

namespace tarvo {
namespace {

using test::runCli;

class VariantCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Two confirmed races of one day at 中山 and one entry card.
        for (const char* num : {"01", "02"}) {
            test::StoreFixture::Race r;
            r.raceNum = num;
            fx.addRace(r);
            fx.addRunner(r, 1, "01", "1340", "345");
            fx.addRunner(r, 2, "02", "1342", "346");
            fx.addRunner(r, 3, "03", "1344", "347");
        }
        test::StoreFixture::Race entry;
        entry.raceNum = "03";
        entry.dataKubun = "1";
        fx.addRace(entry);
    }

    std::string call(std::initializer_list<std::string> args) {
        std::vector<std::string> words(args);
        words.push_back("--home");
        words.push_back(home.path());
        std::string out;
        const int rc = runCli(words, out);
        EXPECT_EQ(rc, 0) << out;
        return out;
    }

    test::TempDir home;
    test::StoreFixture fx{home.path() + "data/"};
};

TEST_F(VariantCliTest, TrackDataThroughTheTool) {
    // Times 940, 942, 944; blended (T - L) / 2 + L: 642.5, 644, 645.5.
    EXPECT_EQ(call({"calc", "top3", "2020", "0510", "06", "01"}), "942 644 \n");
    const std::string variant = call({"calc", "variant", "2020", "0510", "06", "01", "芝1600"});
    ASSERT_EQ(variant.size(), 10u);
    EXPECT_EQ(variant.substr(8), "T\n");
    EXPECT_EQ(call({"bb", "rebuild", "all"}), "2\n");
    EXPECT_EQ(call({"calc", "stored-variant", "20200510", "06", "01"}),
              variant.substr(0, 3) + " " + variant.substr(4, 3) + " \n");
    EXPECT_EQ(call({"calc", "stored-variant", "20200510", "06", "03"}), "*** *** \n");
    EXPECT_EQ(call({"bb", "rebuild", "period", "20200101", "20200509"}), "0\n");
    EXPECT_EQ(call({"bb", "rebuild", "race", "2020", "0510", "06", "02"}), "1\n");
    call({"bb", "write", "2020", "0510", "06", "03", "+10 -04 D"});
    EXPECT_EQ(call({"calc", "stored-variant", "20200510", "06", "03"}), "+10 -04 \n");
    call({"bb", "delete"});
    EXPECT_EQ(call({"calc", "stored-variant", "20200510", "06", "01"}), "********\n");
    EXPECT_TRUE(std::filesystem::is_directory(home.path() + "data/BB/2020"));
}

TEST_F(VariantCliTest, IndicesThroughTheTool) {
    EXPECT_EQ(call({"calc", "run-index", "05", "芝1600", "1332", "+05", "570"}), "107\n");
    test::spit(home.path() + "tarvo.ini", "[COMP_IDX]\r\nweight=2\r\n");
    EXPECT_EQ(call({"calc", "run-index", "05", "芝1600", "1332", "+05", "570"}), "109\n");
    EXPECT_EQ(call({"calc", "local-class", "44", "13", "000", "A", "東京大賞典"}), "101\n");
    EXPECT_EQ(call({"calc", "class-adj", "0510", "03", "10", "", "A  ", " ", "703", "12"}), "-14\n");
}

TEST_F(VariantCliTest, BadUsageExitsTwo) {
    std::string out, err;
    EXPECT_EQ(runCli({"bb", "rebuild", "--home", home.path()}, out, &err), 2);
    EXPECT_EQ(runCli({"calc", "run-index", "05", "--home", home.path()}, out, &err), 2);
}

}  // namespace
}  // namespace tarvo
