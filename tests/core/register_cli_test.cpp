// tarvo-cli register: output lines and exit codes of setup and usual runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "JVDTLabLib_TLB.h"
#include "inifile.h"
#include "jv_fixture.h"
#include "test_support.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> linesOf(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) out[fs::relative(e.path(), folder).string()] = test::slurp(e.path().string());
    return out;
}

class RegisterCli : public ::testing::Test {
protected:
    void SetUp() override {
        test::addRaceDay(src, "0106");
        test::addRaceDay(src, "0107");
    }
    int run(const test::TempDir& home, std::initializer_list<std::string> args, std::string& out) const {
        std::vector<std::string> all = {"--home", home.path(), "--source", sourceDir.path(), "register"};
        all.insert(all.end(), args);
        return test::runCli(all, out);
    }

    test::TempDir sourceDir;
    test::SourceFolder src{sourceDir.path()};
};

TEST_F(RegisterCli, SetupAndUsualRunsPrintStatusesAndMessages) {
    test::TempDir home;
    std::string out;
    ASSERT_EQ(run(home, {"setup", "20240101"}, out), 0) << out;
    auto lines = linesOf(out);
    EXPECT_EQ(lines.front(), "RACE\t登録前\t");
    for (const char* l : {"RACE\tＤＬ中\t0", "RACE\t処理中\t0", "RACE\t登録済\t8", "DIFN\t登録済\t4", "SNPN\t登録済\t2",
                          "BLDN\t登録済\t4", "BB\t処理中\t", "BB\t登録済\t4", "競争情報 最終更新：20240107 18:03:00"})
        EXPECT_TRUE(has(lines, l)) << l;
    EXPECT_EQ(lines.back(), "セットアップ処理が完了しました");
    EXPECT_EQ(out.find("不正レコード"), std::string::npos);

    test::addRaceDay(src, "0113");
    src.addFile("RACE", "20240113230000", "ZZ", {"ZZ0123\r\n"});
    ASSERT_EQ(run(home, {"usual"}, out), 0) << out;
    lines = linesOf(out);
    EXPECT_TRUE(has(lines, "RACE\t登録済\t5"));
    EXPECT_TRUE(has(lines, "20240113230000-ZZ.jvd：不明なレコード種別 ZZ から後を読み飛ばしました"));
    EXPECT_TRUE(has(lines, "RACE\t不正レコード\t0\t種別不明ファイル\t1"));
    EXPECT_TRUE(has(lines, "BB\t登録済\t2"));
    EXPECT_EQ(lines.back(), "データ登録を完了しました");
    ASSERT_EQ(run(home, {"usual"}, out), 0) << out;
    EXPECT_EQ(linesOf(out).back(), "最新のデータが登録されています");
}

TEST_F(RegisterCli, CancelExitsThreeAndTheResumedSetupMatchesAnUninterruptedOne) {
    test::TempDir reference, home;
    std::string out;
    ASSERT_EQ(run(reference, {"setup", "20240101"}, out), 0) << out;
    ASSERT_EQ(run(home, {"setup", "20240101", "--cancel-after-files", "10"}, out), 3) << out;
    auto lines = linesOf(out);
    EXPECT_TRUE(has(lines, "RACE\t登録済\t8"));
    EXPECT_TRUE(has(lines, "DIFN\t中断\t2"));
    EXPECT_EQ(lines.back(), "キャンセルされたため、処理を中断しました");
    ASSERT_EQ(run(home, {"setup", "20240101"}, out), 0) << out;
    EXPECT_TRUE(has(linesOf(out), "RACE\tSKIP中\t0"));
    EXPECT_TRUE(snapshot(home.path() + "data/") == snapshot(reference.path() + "data/"));
}

TEST_F(RegisterCli, ErrorsAndUsage) {
    test::TempDir home;
    IniFile(home.path() + "jvlink.ini").write("JVLINK", "today", "20231231");
    std::string out;
    ASSERT_EQ(run(home, {"setup", "20240101"}, out), 1) << out;
    auto lines = linesOf(out);
    EXPECT_TRUE(has(lines, "RACE\tERROR\t0"));
    EXPECT_TRUE(has(lines, "開始日付を本日以前にしてください"));
    EXPECT_EQ(lines.back(), "エラーが発生したため、処理を中止しました");

    // No service behind the control (a source folder that does not exist), or
    // a setup the user cancelled in the control.
    IniFile(home.path() + "jvlink.ini").write("JVLINK", "today", "");
    ASSERT_EQ(test::runCli({"--home", home.path(), "--source", home.path() + "nowhere", "register", "setup", "20240101"}, out), 1) << out;
    EXPECT_TRUE(has(linesOf(out), "JVOpenエラー：" + std::to_string(JVDTLabLib_TLB::JVResult::kNoService)));
    EXPECT_EQ(linesOf(out).back(), "エラーが発生したため、処理を中止しました");
    IniFile(home.path() + "jvlink.ini").write("JVLINK", "open_result", std::to_string(JVDTLabLib_TLB::JVResult::kSetupCancelled));
    ASSERT_EQ(run(home, {"setup", "20240101"}, out), 3) << out;
    EXPECT_TRUE(has(linesOf(out), "セットアップを中止しました"));

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"setup", "2024011"}, {"setup", "20241301"}, {"usual", "x"}, {"again"}, {"setup", "20240101", "--cancel-after-files", "0"}}) {
        std::vector<std::string> all = {"--home", home.path(), "--source", sourceDir.path(), "register"};
        all.insert(all.end(), args.begin(), args.end());
        EXPECT_EQ(test::runCli(all, out), 2) << args[0];
    }
    // An impossible start date, an empty program folder.
    std::string err;
    EXPECT_EQ(test::runCli({"--home", home.path(), "register", "setup", "20240230"}, out, &err), 2);
    EXPECT_EQ(err, "register: the start date 20240230 is no date (YYYYMMDD)\n");
    EXPECT_EQ(test::runCli({"--home", "", "register", "usual"}, out, &err), 2);
    EXPECT_EQ(err, "tarvo-cli: --home needs a value\n");
    EXPECT_EQ(test::runCli({"--home=", "register", "usual"}, out, &err), 2);
    EXPECT_EQ(err, "tarvo-cli: --home needs a value\n");
}

}  // namespace
}  // namespace tarvo
