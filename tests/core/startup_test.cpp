#include <gtest/gtest.h>

#include <filesystem>

#include "inifile.h"
#include "settings.h"
#include "startup.h"
#include "test_support.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using test::runCli;
using test::slurp;
using test::spit;

void setVersion(const std::string& home, const std::string& version) {
    spit(home + "jvlink.ini", "[JVLINK]\r\nversion=" + version + "\r\n");
}

TEST(Startup, FirstStartInAnEmptyFolder) {
    test::TempDir home;
    std::string out;
    ASSERT_EQ(runCli({"init", "--home", home.path()}, out), 0) << out;
    const std::string ini = slurp(home.path() + "tarvo.ini");
    EXPECT_EQ(ini, defaultSettingsText());
    // Exactly 35 lines, each with CR LF.
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = ini.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 35u);
    EXPECT_EQ(ini.substr(0, 23), "[WINDOW]\r\ntop=\r\nleft=\r\n");
    EXPECT_NE(ini.find(sj("#斤量１キロあたりの指数変化(初期値：1.0)\r\nweight=1.0\r\n")), std::string::npos);
    EXPECT_TRUE(fs::is_directory(home.path() + "file/shbdat"));
    EXPECT_FALSE(fs::exists(home.path() + "help"));
    for (const char* f : {"RA", "SE", "UM", "BN", "BR", "CH", "HR", "KS", "HN", "SK", "CK", "O2", "O3", "O4",
                          "O5", "O6", "BB", "FK"})
        EXPECT_TRUE(fs::is_directory(home.path() + "data/" + f)) << f;
    EXPECT_NE(out.find("settings\tdefault written\n"), std::string::npos);
    EXPECT_NE(out.find("window\tcentred\n"), std::string::npos);
    EXPECT_NE(out.find("access-mode\t通常\n"), std::string::npos);
    // Global options may come after the subcommand or before it.
    std::string again;
    EXPECT_EQ(runCli({"--home", home.path(), "init"}, again), 0);
    EXPECT_NE(again.find("settings\tread\n"), std::string::npos);
    EXPECT_NE(again.find("window\t0 0\n"), std::string::npos);
}

TEST(Startup, VersionChecks) {
    struct Case {
        const char* version;
        int exit;
        const char* viewer;
    };
    const Case cases[] = {
        {"0239", 1, "race-viewer\t0 menu-disabled\n"},
        {"0240", 1, "race-viewer\t0\n"},
        {"0489", 1, "race-viewer\t0\n"},
        {"0490", 0, "race-viewer\t0\n"},
        {"abc", 1, "race-viewer\t0 menu-disabled\n"},
    };
    for (const auto& c : cases) {
        test::TempDir home;
        setVersion(home.path(), c.version);
        std::string out;
        EXPECT_EQ(runCli({"init", "--home", home.path()}, out), c.exit) << c.version;
        EXPECT_NE(out.find(c.viewer), std::string::npos) << c.version << "\n" << out;
        const std::string message =
            "新形式データ対応のTARVOは、Ver4.9.0以降のJV-Linkが必要です。\r\n"
            "メッセージを閉じた後、TARVOを終了します。\r\n"
            "最新のJV-Linkに更新した後、TARVOを実行してください。\n";
        EXPECT_EQ(out.find(message) != std::string::npos, c.exit == 1) << c.version;
        // The store folders are made before the version check.
        EXPECT_TRUE(fs::is_directory(home.path() + "data/FK"));
    }
}

TEST(Startup, RaceViewerFollowsItsSetting) {
    test::TempDir home;
    spit(home.path() + "tarvo.ini", "[RACE_VIEW]\r\nrace_vtr=1\r\n[DSP_SET]\r\nkako_clr= 1 \r\n"
                                    "[COMP_IDX]\r\noddadd=1\r\ntaiadd=0\r\nbcdadd=1\r\n");
    std::string out;
    ASSERT_EQ(runCli({"init", "--home", home.path()}, out), 0);
    EXPECT_NE(out.find("race-viewer\t1\n"), std::string::npos);
    EXPECT_NE(out.find("options\toddadd=1 taiadd=0 bcdadd=1 kako_clr=1\n"), std::string::npos);
}

TEST(Startup, JVInitFailureEndsTheProgram) {
    test::TempDir home;
    spit(home.path() + "jvlink.ini", "[JVLINK]\r\ninit=-101\r\n");
    std::string out;
    EXPECT_EQ(runCli({"init", "--home", home.path()}, out), 1);
    EXPECT_NE(out.find("JVSetUIPropertiesエラー コード：-101\n"), std::string::npos) << out;
}

// --home, then TARVO_HOME, then the executable's folder when it can be written
// (a build) and not an installation's bin/, else the user's data folder.
TEST(Startup, ProgramFolderRule) {
    struct Case {
        ProgramFolderSources sources;
        const char* folder;
    };
    const Case cases[] = {
        {{"/h", "/t", "/opt/tarvo/", true, false, "", "/home/u"}, "/h/"},
        {{"", "/t/", "/usr/bin/", true, true, "", "/home/u"}, "/t/"},
        {{"", "", "/opt/tarvo", true, false, "", "/home/u"}, "/opt/tarvo/"},
        {{"", "", "/opt/tarvo/", false, false, "", "/home/u"}, "/home/u/.local/share/tarvo/"},
        {{"", "", "/usr/bin/", true, true, "", "/home/u"}, "/home/u/.local/share/tarvo/"},
        {{"", "", "/usr/bin/", false, true, "/data", "/home/u"}, "/data/tarvo/"},
    };
    for (const Case& c : cases) EXPECT_EQ(programFolderOf(c.sources), c.folder) << c.folder;
}

TEST(Startup, StoreRootRule) {
    test::TempDir home;
    const std::string store = home.path() + "mystore";
    fs::create_directories(store);
    struct Case {
        std::string dir, root;
    };
    const Case cases[] = {
        {store + "/", store + "/"},
        {store, store},  // taken as written: the family folders become siblings
        {home.path() + "absent/", home.path() + "data/"},
        {"", home.path() + "data/"},
    };
    for (const auto& c : cases) {
        spit(home.path() + "tarvo.ini", "[UMA_DB]\r\ndir=" + c.dir + "\r\n");
        AppState state;
        std::unique_ptr<JVDTLabLib_TLB::IJVLink> jv;
        const auto outcome = Startup(state, jv).run(home.path(), {});
        EXPECT_TRUE(outcome.complete);
        EXPECT_EQ(state.storeRoot, c.root);
        EXPECT_TRUE(fs::is_directory(c.root + "RA")) << c.root;
    }
    EXPECT_TRUE(fs::is_directory(store + "RA"));  // beside the folder named without "/"
}

TEST(Startup, AccessModeIsReadOnlyOnlyForTheExactWord) {
    const std::pair<const char*, bool> cases[] = {{"readonly", true}, {"ReadOnly", false}, {"", false}, {"x", false}};
    for (const auto& [mode, readOnly] : cases) {
        test::TempDir home;
        spit(home.path() + "tarvo.ini", std::string("[UMA_DB]\r\nmode=") + mode + "\r\n");
        AppState state;
        std::unique_ptr<JVDTLabLib_TLB::IJVLink> jv;
        Startup(state, jv).run(home.path(), {});
        EXPECT_EQ(state.readOnly, readOnly) << mode;
    }
}

TEST(Startup, WindowPlacement) {
    test::TempDir home;
    AppState state;
    std::unique_ptr<JVDTLabLib_TLB::IJVLink> jv;
    const ScreenGeometry screen{1920, 1080, 991, 701};
    auto outcome = Startup(state, jv).run(home.path(), screen);
    EXPECT_TRUE(outcome.placement.centred);
    EXPECT_EQ(outcome.placement.top, (1080 - 701) / 2);
    EXPECT_EQ(outcome.placement.left, (1920 - 991) / 2);

    saveWindowPosition(state, 123, -45);
    outcome = Startup(state, jv).run(home.path(), screen);
    EXPECT_FALSE(outcome.placement.centred);
    EXPECT_EQ(outcome.placement.top, 123);
    EXPECT_EQ(outcome.placement.left, -45);
    EXPECT_NE(slurp(home.path() + "tarvo.ini").find("[WINDOW]\r\ntop=123\r\nleft=-45\r\n"), std::string::npos);

    IniFile(state.settingsPath()).write("WINDOW", "top", "12px");
    outcome = Startup(state, jv).run(home.path(), screen);
    EXPECT_EQ(outcome.placement.top, 0);
}

TEST(Startup, FolderThatCannotBeCreatedStopsWithItsErrorText) {
    test::TempDir home;
    spit(home.path() + "file", "a file where the folder belongs");
    std::string out;
    EXPECT_EQ(runCli({"init", "--home", home.path()}, out), 1);
    EXPECT_NE(out.find("フォルダを作成できません"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(home.path() + "tarvo.ini"));
}

}  // namespace
}  // namespace tarvo
