// tarvo-cli calc: every function answers through the tool, with UTF-8 in and
// out, in argument mode and in batch mode.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "cp932.h"
#include "layouts.h"
#include "store_paths.h"
#include "test_support.h"

namespace tarvo {
namespace {

// Runs "tarvo-cli --home HOME calc --batch" with input on standard input.
int runBatch(const std::string& home, const std::string& input, std::string& out, std::string& err) {
    std::vector<std::string> words{"tarvo-cli", "--home", home, "calc", "--batch"};
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    std::istringstream in(input);
    std::ostringstream o, e;
    const int rc = cli::run(static_cast<int>(argv.size()), argv.data(), in, o, e);
    out = o.str();
    err = e.str();
    return rc;
}

struct Home {
    test::TempDir dir;
    void settings(const std::string& compIdx) const { test::spit(dir.path() + "tarvo.ini", "[COMP_IDX]\r\n" + compIdx); }
};

TEST(CalcCli, EveryFunctionInOneBatch) {
    Home home;
    // A race of 2024-05-05 at 05, race 11: placed 1-3 in 944, 945, 947; arrived 1-3 in 943, 944, 945.
    std::string se;
    const char* runners[][4] = {{"01", "02", "04", "1343"}, {"02", "03", "01", "1344"},
                                {"03", "04", "02", "1345"}, {"04", "05", "03", "1347"}};
    for (const auto& r : runners) {
        LineBuilder b(Family::SE);
        for (const auto& [name, value] : {std::pair<const char*, const char*>{"Year", "2024"}, {"MonthDay", "0505"},
                                          {"JyoCD", "05"}, {"RaceNum", "11"}, {"Umaban", r[0]},
                                          {"NyusenJyuni", r[1]}, {"KakuteiJyuni", r[2]}, {"Time", r[3]}})
            b.assign(name, value);
        se += b.line();
    }
    test::spit(StorePaths(home.dir.path() + "data/").se("2024", "0505", "05"), se);

    struct Case {
        const char* call;  // tab-separated words, UTF-8
        const char* expected;
    } cases[] = {
        {"std\tA\t芝1200\t06", "1083"},
        {"std\tC\t芝1200\t06", "1086"},
        {"std\tA\tダ1000\t44", "608"},
        {"std\tE\tダ1000\t44", "missing"},
        {"std\tB\tダ1200\t00", "missing"},
        {"coef\t芝1450", "1.02"},
        {"coef\tダ1700", "0.995"},
        {"coef\t芝1600", "1"},
        {"coef\t障3000", "1"},
        {"round\t2.5", "3"},
        {"round\t-2.5", "-3"},
        {"round\t2.4999", "2"},
        {"tenths\t1099", "699"},
        {"tenths\t", "-100"},
        {"front-pace\t1360\t芝1600\t340", "372"},
        {"days\t20240228\t20240301", "2"},
        {"reftime\t2024\t0505\t05\t11\tconfirmed", "945"},
        {"reftime\t2024\t0505\t05\t11\tarrival", "944"},
        {"reftime\t2024\t0505\t05\t12\tconfirmed", "0"},
        {"trim\t　ab c ", "[ab c]"},
        {"trim\t", "[]"},
        {"half\tＡＢＣ１", "[ABC1]"},
        {"full\tABC1", "[ＡＢＣ１]"},
        {"circled\t01", "[①]"},
        {"circled\t２０", "[⑳]"},
        {"circled\t21", "[**]"},
        {"pad-left\tab\t4", "[  ab]"},
        {"pad-right\tab\t4", "[ab  ]"},
        {"pad-right\tabcde\t3", "[abcde]"},
        {"pad-right\t\t3", "[   ]"},
        {"draw\t04\t芝1000\t14\t18\t ", "1"},
        {"draw\t06\tダ1200\t16\t16\t ", "0"},
        {"style\t06\t芝1600\t \t0\tHH\t005", "-4"},
        {"style\t05\t芝1600\tA\t8.0\tＳ\t999", "-1"},
        {"style\t06\t芝1600\t \t--\tＭ\t005", "1"},  // no corner positions: 逃げ
    };
    std::string input, expected;
    for (const auto& c : cases) {
        input += std::string(c.call) + "\n";
        expected += std::string(c.expected) + "\n";
    }
    std::string out, err;
    EXPECT_EQ(runBatch(home.dir.path(), input, out, err), 0) << err;
    EXPECT_EQ(out, expected);
}

TEST(CalcCli, BatchErrorsKeepOneLinePerCall) {
    Home home;
    std::string out, err;
    const std::string input =
        "round\t2.5\r\n"            // CR LF line ends are accepted
        "round\tabc\n"
        "std\tF\t芝1200\t06\n"
        "days\t20230229\t20230301\n"
        "trim\ta\tb\n"              // one word too many
        "nosuch\n"
        "\n"
        "reftime\t2024\t0505\t05\t11\tsecond\n"
        "tenths\t0580\n";
    EXPECT_EQ(runBatch(home.dir.path(), input, out, err), 1);
    std::vector<std::string> lines;
    std::istringstream s(out);
    for (std::string l; std::getline(s, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), 9u) << out;
    EXPECT_EQ(lines.front(), "3");
    for (std::size_t i = 1; i < 8; ++i) EXPECT_EQ(lines[i].rfind("error: ", 0), 0u) << lines[i];
    EXPECT_EQ(lines.back(), "580");
}

TEST(CalcCli, SettingsAfterLoading) {
    Home home;
    std::string out;
    // No settings file: every default.
    ASSERT_EQ(test::runCli({"--home", home.dir.path(), "calc", "settings"}, out), 0);
    EXPECT_EQ(out, "weight\t1\ndistidx\t1\ndsthyo\t1\nkshadd\t0\nbbdcmp\t0\noddadd\t0\ntaiadd\t0\nbcdadd\t0\n");

    home.settings("weight=1.5\r\ndistidx=0\r\ndsthyo=\r\nkshadd=1\r\nbbdcmp=yes\r\noddadd=1\r\ntaiadd=1\r\nbcdadd=1\r\n");
    ASSERT_EQ(test::runCli({"--home", home.dir.path(), "calc", "settings"}, out), 0);
    EXPECT_EQ(out, "weight\t1.5\ndistidx\t0\ndsthyo\t1\nkshadd\t1\nbbdcmp\t0\noddadd\t1\ntaiadd\t1\nbcdadd\t1\n");

    // Each call reloads the file.
    for (const auto& [text, shown] : {std::pair<const char*, const char*>{"0", "0"}, {"0.1", "0.1"},
                                      {"-1", "1"}, {"abc", "1"}, {"2.25", "2.25"}}) {
        home.settings(std::string("weight=") + text + "\r\n");
        ASSERT_EQ(test::runCli({"--home", home.dir.path(), "calc", "settings"}, out), 0);
        EXPECT_EQ(out.substr(0, out.find('\n')), std::string("weight\t") + shown) << text;
    }
}

TEST(CalcCli, ArgumentModeAndItsErrors) {
    Home home;
    std::string out, err;
    EXPECT_EQ(test::runCli({"calc", "std", "A", "芝1200", "06"}, out), 0);
    EXPECT_EQ(out, "1083\n");
    EXPECT_EQ(test::runCli({"calc", "trim", "　全角　"}, out), 0);
    EXPECT_EQ(out, "[全角]\n");

    EXPECT_EQ(test::runCli({"calc", "coef"}, out, &err), 2);
    EXPECT_NE(err.find("calc coef COURSEKEY"), std::string::npos) << err;
    EXPECT_EQ(test::runCli({"calc", "frobnicate"}, out, &err), 2);
    EXPECT_NE(err.find("calc front-pace TIME COURSEKEY L3F"), std::string::npos) << err;  // the function list
    EXPECT_EQ(test::runCli({"calc"}, out, &err), 2);
    EXPECT_EQ(test::runCli({"calc", "days", "20240101", "2024013"}, out, &err), 2);
    EXPECT_EQ(test::runCli({"calc", "pad-left", "ab", "-1"}, out, &err), 2);
    EXPECT_TRUE(out.empty());
}

TEST(CalcCli, NumbersOutsideTheirFieldsAreRefused) {
    Home home;
    struct Case {
        std::vector<std::string> args;
        const char* error;  // "" when the call is answered
    } cases[] = {
        // Their edges are answered.
        {{"front-pace", "9999", "芝1600", "999"}, ""},
        {{"front-pace", "1360", "芝1600", "0"}, ""},
        {{"run-index", "05", "芝1600", "0", "-999", "999"}, ""},
        {{"l3f-index", "05", "芝1600", "9999", "999", "-999", "0", "999"}, ""},
        {{"pad-left", "ab", "99999"}, ""},
        {{"tenths", ""}, ""},  // no number: read as missing
        // Beyond them the engine's arithmetic would overflow, or the width exhaust memory.
        {{"front-pace", "1360", "芝1600", "-2147483648"}, "L3F must be from 0 to 999"},
        {{"front-pace", "10000", "芝1600", "340"}, "TIME must be from 0 to 9999"},
        {{"tenths", "-1"}, "TIME must be from 0 to 9999"},
        {{"draw", "04", "芝1000", "100", "18", " "}, "UMABAN must be from 0 to 99"},
        {{"draw", "04", "芝1000", "1", "-2147483648", " "}, "MAXUMABAN must be from 0 to 99"},
        {{"run-index", "05", "芝1600", "1360", "2147483647", "550"}, "TIMEVARIANT must be from -999 to 999"},
        {{"run-index", "05", "芝1600", "1360", "0", "-2147483648"}, "FUTAN must be from 0 to 999"},
        {{"l3f-index", "05", "芝1600", "1360", "0", "0", "550", "-2147483648"}, "HARONTIMEL3 must be from 0 to 999"},
        {{"l3f-index", "05", "芝1600", "1360", "-1000", "0", "550", "340"}, "L3FVARIANT must be from -999 to 999"},
        {{"l3f-index", "05", "芝1600", "1360", "0", "-2147483648", "550", "340"}, "TIMEDIFF must be from -999 to 9999"},
        {{"race-index", "2024", "0505", "05", "11", "", "A03", "", "005", "13", "99999999999999999999", "芝1600", "1343"},
         "FUTAN must be from 0 to 999"},
        {{"jump-index", "2024", "0505", "05", "11", "", "000", "", "999", "18", "600", "障3000", "-5"},
         "TIME must be from 0 to 9999"},
        {{"pad-left", "ab", "999999999999999999"}, "WIDTH must be from 0 to 99999"},
        {{"pad-right", "ab", "100000"}, "WIDTH must be from 0 to 99999"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"--home", home.dir.path(), "calc"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::string out, err;
        const int rc = test::runCli(args, out, &err);
        SCOPED_TRACE(c.args.front() + " " + c.args.back());
        if (*c.error == '\0') {
            EXPECT_EQ(rc, 0) << err;
            continue;
        }
        EXPECT_EQ(rc, 2);
        EXPECT_TRUE(out.empty());
        EXPECT_NE(err.find(c.error), std::string::npos) << err;
    }
}

}  // namespace
}  // namespace tarvo
