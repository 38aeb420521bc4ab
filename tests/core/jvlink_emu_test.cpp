#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "fsys.h"
#include "inifile.h"
#include "jvlink_emu.h"
#include "test_support.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using test::slurp;
using test::spit;

std::string rec(const std::string& id, const std::string& body) { return id + body + "\r\n"; }

// A program folder with jvlink.ini and a source folder of three RACE files and one DIFN file.
class JVLinkEmu : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"TARVO_JVLINK_SOURCE", "TARVO_JVLINK_RATE", "TARVO_JVLINK_VERSION"}) unsetenv(v);
        src = home.path() + "src/";
        spit(src + "RACE/20240106180000-A.jvd", rec("RA", "1") + rec("SE", "11") + rec("SE", "12"));
        spit(src + "RACE/20240107180000-B.jvd", rec("RA", "2"));
        spit(src + "RACE/20240113180000-C.jvd", rec("RA", "3") + rec("HR", "3"));
        spit(src + "RACE/notes.txt", "not a data file");
        spit(src + "DIFN/20240107210000-D.jvd", rec("UM", "9"));
        set("source", src);
        set("today", "20240120");
    }
    void set(const std::string& key, const std::string& value) {
        IniFile(home.path() + "jvlink.ini").write("JVLINK", key, value);
    }
    // Reads the open session to its end: one line per call result, "record:<bytes w/o CRLF>" or "eof:<file>".
    std::vector<std::string> readAll(JVLinkEmulator& jv, int limit = 100) {
        std::vector<std::string> out;
        std::string buff, file;
        for (int i = 0; i < limit; ++i) {
            const int r = jv.JVGets(buff, 85000, file);
            if (r == 0) break;
            if (r > 0) {
                EXPECT_EQ(static_cast<std::size_t>(r), buff.size());
                out.push_back("record:" + buff.substr(0, buff.size() - 2) + "@" + jv.m_CurrentFileTimestamp());
            } else if (r == -1) {
                out.push_back("eof:" + file + "@" + jv.m_CurrentFileTimestamp());
            } else {
                out.push_back("result:" + std::to_string(r) + ":" + file);
                break;
            }
        }
        return out;
    }
    JVLinkEmulator make() {
        JVLinkEmulator jv(home.path(), [this] { return now; });
        EXPECT_EQ(jv.JVInit("TEST"), 0);
        return jv;
    }

    test::TempDir home;
    std::string src;
    double now = 100.0;
};

TEST_F(JVLinkEmu, UsualAndSetupSelectionAndTheReadingProtocol) {
    JVLinkEmulator jv = make();
    int reads = -9, downloads = -9;
    std::string last;
    // Usual run: files newer than the from-time.
    ASSERT_EQ(jv.JVOpen("RACE", "20240106180000", 1, reads, downloads, last), 0);
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(downloads, 2);
    EXPECT_EQ(last, "20240113180000");
    EXPECT_EQ(jv.JVStatus(), 2);
    EXPECT_EQ(readAll(jv), (std::vector<std::string>{
                               "record:RA2@20240107180000", "eof:20240107180000-B.jvd@20240107180000",
                               "record:RA3@20240113180000", "record:HR3@20240113180000",
                               "eof:20240113180000-C.jvd@20240113180000"}));
    std::string buff, file;
    EXPECT_EQ(jv.JVGets(buff, 85000, file), 0);  // stays at the end
    EXPECT_EQ(jv.JVClose(), 0);

    // Setup from the first day: its files from that day on; the two read before are cached now.
    ASSERT_EQ(jv.JVOpen("RACE", "20240106000000", 4, reads, downloads, last), 0);
    EXPECT_EQ(reads, 3);
    EXPECT_EQ(downloads, 1);
    EXPECT_EQ(readAll(jv).size(), 9u);
    EXPECT_EQ(jv.JVClose(), 0);
    EXPECT_TRUE(fs::exists(home.path() + "jvlink-cache/RACE/20240106180000-A.jvd"));

    // Two data specs in one open, merged by timestamp.
    ASSERT_EQ(jv.JVOpen("RACEDIFN", "20240106180000", 1, reads, downloads, last), 0);
    EXPECT_EQ(reads, 3);
    EXPECT_EQ(downloads, 1);
    const auto merged = readAll(jv);
    ASSERT_EQ(merged.size(), 7u);
    EXPECT_EQ(merged[1], "eof:20240107180000-B.jvd@20240107180000");
    EXPECT_EQ(merged[2], "record:UM9@20240107210000");
    jv.JVClose();

    // Nothing newer in a usual run; a setup after today; a setup with nothing to read.
    EXPECT_EQ(jv.JVOpen("RACE", "20240113180000", 1, reads, downloads, last), -1);
    EXPECT_EQ(reads, 0);
    jv.JVClose();
    EXPECT_EQ(jv.JVOpen("RACE", "20240121000000", 4, reads, downloads, last), -1);
    jv.JVClose();
    EXPECT_EQ(jv.JVOpen("BLDN", "20240101000000", 4, reads, downloads, last), 0);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(readAll(jv).size(), 0u);
    jv.JVClose();

    // A changed source file is downloaded again.
    writeFileAtomic(src + "RACE/20240113180000-C.jvd", rec("RA", "4"));
    ASSERT_EQ(jv.JVOpen("RACE", "20240107180000", 1, reads, downloads, last), 0);
    EXPECT_EQ(downloads, 1);
    EXPECT_EQ(readAll(jv)[0], "record:RA4@20240113180000");
    jv.JVClose();
}

TEST_F(JVLinkEmu, CallsOutOfOrderAndBadArguments) {
    JVLinkEmulator fresh(home.path());
    int reads = 0, downloads = 0;
    std::string last, buff, file;
    EXPECT_EQ(fresh.JVOpen("RACE", "20240101000000", 1, reads, downloads, last), JVLinkEmulator::kNotInitialised);
    EXPECT_EQ(fresh.JVGets(buff, 100, file), JVLinkEmulator::kNotOpen);
    EXPECT_EQ(fresh.JVStatus(), JVLinkEmulator::kNotOpen);
    EXPECT_EQ(fresh.JVClose(), 0);

    JVLinkEmulator jv = make();
    EXPECT_EQ(jv.JVOpen("RACE", "2024", 1, reads, downloads, last), JVLinkEmulator::kBadParameter);
    EXPECT_EQ(jv.JVOpen("RAC", "20240101000000", 1, reads, downloads, last), JVLinkEmulator::kBadParameter);
    EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", 9, reads, downloads, last), JVLinkEmulator::kBadParameter);
    EXPECT_EQ(jv.JVRTOpen("0B12", "../RACE"), JVLinkEmulator::kBadParameter);
    ASSERT_EQ(jv.JVOpen("RACE", "20240101000000", 1, reads, downloads, last), 0);
    EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", 1, reads, downloads, last), JVLinkEmulator::kAlreadyOpen);
    EXPECT_EQ(jv.JVRTOpen("0B12", "20240106"), JVLinkEmulator::kAlreadyOpen);
    EXPECT_EQ(jv.JVClose(), 0);
}

TEST_F(JVLinkEmu, DownloadsAdvanceWithTimeAtTheConfiguredRate) {
    set("rate", "2");
    JVLinkEmulator jv = make();
    int reads = 0, downloads = 0;
    std::string last, buff, file;
    ASSERT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    ASSERT_EQ(downloads, 3);
    EXPECT_EQ(jv.JVStatus(), 0);
    EXPECT_EQ(jv.JVGets(buff, 85000, file), -3);
    EXPECT_FALSE(fs::exists(home.path() + "jvlink-cache/RACE/20240106180000-A.jvd"));
    now += 0.6;  // one file
    EXPECT_EQ(jv.JVStatus(), 1);
    EXPECT_TRUE(fs::exists(home.path() + "jvlink-cache/RACE/20240106180000-A.jvd"));
    for (int i = 0; i < 3; ++i) EXPECT_GT(jv.JVGets(buff, 85000, file), 0);
    EXPECT_EQ(jv.JVGets(buff, 85000, file), -1);
    EXPECT_EQ(jv.JVGets(buff, 85000, file), -3);  // the second file is not there yet
    EXPECT_EQ(file, "20240107180000-B.jvd");
    now += 10;
    EXPECT_EQ(jv.JVStatus(), 3);
    EXPECT_EQ(jv.JVGets(buff, 85000, file), 5);
    jv.JVClose();

    // The environment overrides the setting: 0 is at once.
    setenv("TARVO_JVLINK_RATE", "0", 1);
    fs::remove_all(home.path() + "jvlink-cache");
    ASSERT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    EXPECT_EQ(jv.JVStatus(), 3);
    jv.JVClose();
    unsetenv("TARVO_JVLINK_RATE");
}

TEST_F(JVLinkEmu, SkipDropsTheRestOfTheFileAndTheBufferSizeCutsRecords) {
    JVLinkEmulator jv = make();
    int reads = 0, downloads = 0;
    std::string last, buff, file;
    ASSERT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    EXPECT_EQ(jv.JVGets(buff, 3, file), 5);  // RA1 CR LF, cut to the buffer
    EXPECT_EQ(buff, "RA1");
    EXPECT_EQ(jv.JVSkip(), 0);
    EXPECT_EQ(jv.JVRead(buff, 85000, file), 5);  // the next file at once, no end-of-file result
    EXPECT_EQ(buff, "RA2\r\n");
    EXPECT_EQ(file, "20240107180000-B.jvd");
    jv.JVClose();
}

TEST_F(JVLinkEmu, DamagedFilesAndFailedDownloads) {
    struct Case {
        const char* key;
        int result;
    };
    for (const Case c : {Case{"damage_size", -402}, Case{"damage_data", -403}, Case{"download_fail", -502}}) {
        SCOPED_TRACE(c.key);
        fs::remove_all(home.path() + "jvlink-cache");
        test::spit(home.path() + "jvlink.ini", "");
        set("source", src);
        set(c.key, "20240107180000-B.jvd");
        JVLinkEmulator jv = make();
        int reads = 0, downloads = 0;
        std::string last;
        ASSERT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
        const auto got = readAll(jv);
        ASSERT_EQ(got.size(), 5u);
        EXPECT_EQ(got.back(), "result:" + std::to_string(c.result) + ":20240107180000-B.jvd");
        std::string buff, file;
        EXPECT_EQ(jv.JVGets(buff, 85000, file), c.result);  // stays until the file is skipped
        jv.JVFiledelete(file);
        EXPECT_FALSE(fs::exists(home.path() + "jvlink-cache/RACE/20240107180000-B.jvd"));
        EXPECT_EQ(jv.JVClose(), 0);

        // Damage is in the downloaded copy: after JVFiledelete the next download is sound.
        // A failed download fails on every attempt.
        ASSERT_EQ(jv.JVOpen("RACE", "20240106180000", 1, reads, downloads, last), 0);
        EXPECT_EQ(downloads, 1);
        const auto again = readAll(jv);
        if (c.result == -502) {
            EXPECT_EQ(again.front(), "result:-502:20240107180000-B.jvd");
        } else {
            EXPECT_EQ(again.front(), "record:RA2@20240107180000");
            EXPECT_EQ(again.size(), 5u);
        }
        jv.JVClose();
    }
}

TEST_F(JVLinkEmu, InjectedResultsOfOpenStatusReadAndClose) {
    JVLinkEmulator jv = make();
    int reads = 0, downloads = 0;
    std::string last, buff, file;

    set("open_result", "-2");
    set("open_result.DIFN", "-100");
    EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), -2);
    EXPECT_EQ(jv.JVClose(), 0);
    EXPECT_EQ(jv.JVOpen("DIFN", "20240101000000", 4, reads, downloads, last), -100);
    jv.JVClose();
    set("open_result", "");
    set("open_result.DIFN", "");

    set("status_error", "-201");
    set("status_error_after", "2");
    set("rate", "1");
    ASSERT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    EXPECT_EQ(jv.JVStatus(), 0);
    now += 1.5;
    EXPECT_EQ(jv.JVStatus(), 1);
    now += 1;
    EXPECT_EQ(jv.JVStatus(), -201);
    jv.JVClose();
    set("status_error", "");
    set("rate", "0");

    set("gets_stuck", "-99");
    set("gets_stuck_after", "2");
    ASSERT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    EXPECT_GT(jv.JVGets(buff, 85000, file), 0);
    EXPECT_GT(jv.JVGets(buff, 85000, file), 0);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(jv.JVGets(buff, 85000, file), -99);
    set("gets_stuck", "");
    set("close_result", "-1");
    EXPECT_EQ(jv.JVClose(), -1);
    // The session is closed all the same.
    EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    EXPECT_EQ(jv.JVClose(), -1);
}

TEST_F(JVLinkEmu, ServerMaintenance) {
    spit(src + "0B12/20240106.jvd", rec("RA", "7"));
    spit(src + "MOVIE/movies.tsv", "00\t202401060511\tv.mp4\n");
    spit(src + "MOVIE/v.mp4", "x");
    JVLinkEmulator::setMediaOpener([](const std::string&) { return 0; });
    JVLinkEmulator jv = make();
    int reads = 0, downloads = 0;
    std::string last;
    struct Case {
        const char* value;
        int open, rtopen, mvplay, mvopen;
    };
    const Case cases[] = {
        {"1", -504, -504, -504, -504},
        {"open", -504, 0, 0, -1},
        {"rtopen,mvplay", 0, -504, -504, -1},
        {"", 0, 0, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        set("maintenance", c.value);
        EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), c.open);
        jv.JVClose();
        EXPECT_EQ(jv.JVRTOpen("0B12", "20240106"), c.rtopen);
        jv.JVClose();
        EXPECT_EQ(jv.JVMVPlay("202401060511"), c.mvplay);
        EXPECT_EQ(jv.JVMVPlayWithType("00", "202401060511"), c.mvplay);
        EXPECT_EQ(jv.JVMVOpen("11", "20240106"), c.mvopen);
        jv.JVClose();
    }
    JVLinkEmulator::setMediaOpener({});
}

TEST_F(JVLinkEmu, RealTimeDataByKey) {
    spit(src + "0B12/20240106.jvd", rec("RA", "7") + rec("SE", "71"));
    JVLinkEmulator jv = make();
    EXPECT_EQ(jv.JVRTOpen("0B12", "20240107"), -1);
    jv.JVClose();
    ASSERT_EQ(jv.JVRTOpen("0B12", "20240106"), 0);
    const auto got = readAll(jv);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].substr(0, 11), "record:RA7@");
    EXPECT_EQ(got[2].substr(0, 17), "eof:20240106.jvd@");
    EXPECT_EQ(jv.JVClose(), 0);
    // Real-time files are read from the source, never cached; named damage still applies.
    EXPECT_FALSE(fs::exists(home.path() + "jvlink-cache/0B12"));
    set("damage_data", "20240106.jvd");
    ASSERT_EQ(jv.JVRTOpen("0B12", "20240106"), 0);
    EXPECT_EQ(readAll(jv), std::vector<std::string>{"result:-403:20240106.jvd"});
    jv.JVClose();
}

TEST_F(JVLinkEmu, FilesWithDamagedNamesAreIgnoredWithAWarning) {
    // Beside the three sound RACE files: names that would carry a line break
    // or a separator into the caller's settings, and timestamps of no moment.
    const char* damaged[] = {"20240108180000-E\r\n[JVLINK].jvd", "20240108180000-F\x01.jvd", "20240108180000-G\\H.jvd",
                             "20241308180000-I.jvd", "20240108250000-J.jvd", "20240230180000-K.jvd",
                             "20240108186000-L.jvd", "2024010818000-M.jvd", "2024010818000x-N.jvd"};
    for (const char* name : damaged) spit(src + "RACE/" + name, rec("RA", "8"));
    JVLinkEmulator jv = make();
    int reads = 0, downloads = 0;
    std::string last;
    testing::internal::CaptureStderr();
    ASSERT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reads, 3);
    EXPECT_EQ(last, "20240113180000");
    for (const std::string& r : readAll(jv)) EXPECT_EQ(r.find("RA8"), std::string::npos) << r;
    jv.JVClose();
    // One warning line per damaged file, control characters shown as codes.
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), static_cast<long>(std::size(damaged)));
    EXPECT_NE(warnings.find("RACE/20240108180000-E\\x0d\\x0a[JVLINK].jvd: a control character"), std::string::npos);
    EXPECT_NE(warnings.find("RACE/20240108180000-G\\H.jvd: a path separator"), std::string::npos);
    EXPECT_NE(warnings.find("RACE/20241308180000-I.jvd: no valid 14-digit timestamp"), std::string::npos);
    EXPECT_EQ(warnings.find("notes.txt"), std::string::npos);  // not a data file: ignored silently
}

TEST_F(JVLinkEmu, AMissingSourceFolderFailsTheOpens) {
    set("source", home.path() + "nowhere/");
    JVLinkEmulator jv = make();
    int reads = -9, downloads = -9;
    std::string last;
    for (const int option : {1, 4}) {
        EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", option, reads, downloads, last), JVLinkEmulator::kSourceMissing);
        EXPECT_EQ(reads, 0);
        EXPECT_EQ(jv.JVClose(), 0);
    }
    EXPECT_EQ(jv.JVRTOpen("0B12", "20240106"), JVLinkEmulator::kSourceMissing);
    jv.JVClose();
    // An existing but empty source is an empty service.
    fs::create_directories(home.path() + "nowhere");
    EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", 4, reads, downloads, last), 0);
    EXPECT_EQ(reads, 0);
    jv.JVClose();
    EXPECT_EQ(jv.JVOpen("RACE", "20240101000000", 1, reads, downloads, last), -1);
    jv.JVClose();
}

TEST_F(JVLinkEmu, VideosAndTheTrainingList) {
    spit(src + "MOVIE/movies.tsv",
         "# type\tkey\tfile\tlist\r\n"
         "00\t202401060511\trace.mp4\r\n"
         "00\t202401060512\tmissing.mp4\r\n"
         "11\t202401032021104567\ttrain.mp4\t20240106\r\n"
         "11\t202401042019103333\ttrain.mp4\t20240106\r\n"
         "11\t202401112020101111\ttrain.mp4\t20240113\r\n");
    spit(src + "MOVIE/race.mp4", "x");
    spit(src + "MOVIE/train.mp4", "x");
    std::vector<std::string> played;
    JVLinkEmulator::setMediaOpener([&played](const std::string& p) {
        played.push_back(p);
        return 0;
    });
    JVLinkEmulator jv = make();
    EXPECT_EQ(jv.JVMVCheck("202401060511"), 1);
    EXPECT_EQ(jv.JVMVCheck("202401060512"), 1);
    EXPECT_EQ(jv.JVMVCheck("202401060501"), 0);
    EXPECT_EQ(jv.JVMVPlay("202401060511"), 0);
    EXPECT_EQ(jv.JVMVPlay("202401060512"), -1);  // listed, but its file is missing
    EXPECT_EQ(jv.JVMVPlay("202401060501"), -1);
    EXPECT_EQ(jv.JVMVPlayWithType("11", "202401032021104567"), 0);
    EXPECT_EQ(played, (std::vector<std::string>{src + "MOVIE/race.mp4", src + "MOVIE/train.mp4"}));

    ASSERT_EQ(jv.JVMVOpen("11", "20240106"), 0);
    std::string e;
    EXPECT_EQ(jv.JVMVRead(e, 19), 18);
    EXPECT_EQ(e, "202401032021104567");
    EXPECT_EQ(jv.JVMVRead(e, 19), 18);
    EXPECT_EQ(e, "202401042019103333");
    EXPECT_EQ(jv.JVMVRead(e, 19), 0);
    EXPECT_EQ(jv.JVClose(), 0);
    EXPECT_EQ(jv.JVMVOpen("11", "20240107"), -1);
    jv.JVClose();

    set("mvread_result", "-502");
    ASSERT_EQ(jv.JVMVOpen("11", "20240113"), 0);
    EXPECT_EQ(jv.JVMVRead(e, 19), -502);
    jv.JVClose();

    JVLinkEmulator::setMediaOpener([](const std::string&) { return 1; });
    EXPECT_EQ(jv.JVMVPlay("202401060511"), JVLinkEmulator::kPlayerFailed);
    JVLinkEmulator::setMediaOpener({});
}

TEST_F(JVLinkEmu, SettingsDialogHookAndOverrides) {
    JVLinkEmulator jv = make();
    EXPECT_EQ(jv.JVSetUIProperties(), -1);  // no dialog installed
    JVLinkUiSettings seen;
    JVLinkEmulator::setSettingsDialog([&seen](JVLinkUiSettings& s) {
        seen = s;
        s.source = "/elsewhere";
        s.version = "0500";
        s.rate = "4";
        return true;
    });
    EXPECT_EQ(jv.JVSetUIProperties(), 0);
    EXPECT_EQ(seen.source, src);
    EXPECT_EQ(seen.version, "0490");
    EXPECT_EQ(seen.rate, "0");
    EXPECT_EQ(jv.m_JVLinkVersion(), "0500");
    EXPECT_EQ(jv.sourceFolder(), "/elsewhere/");
    JVLinkEmulator::setSettingsDialog([](JVLinkUiSettings& s) {
        s.version = "0100";
        return false;  // cancelled: nothing changes
    });
    EXPECT_EQ(jv.JVSetUIProperties(), -1);
    EXPECT_EQ(jv.m_JVLinkVersion(), "0500");
    JVLinkEmulator::setSettingsDialog({});

    setenv("TARVO_JVLINK_SOURCE", src.c_str(), 1);
    setenv("TARVO_JVLINK_VERSION", "0491", 1);
    EXPECT_EQ(jv.sourceFolder(), src);
    EXPECT_EQ(jv.m_JVLinkVersion(), "0491");
    unsetenv("TARVO_JVLINK_SOURCE");
    unsetenv("TARVO_JVLINK_VERSION");
    set("source", "world");
    EXPECT_EQ(jv.sourceFolder(), home.path() + "world/");
    set("source", "");
    EXPECT_EQ(jv.sourceFolder(), home.path() + "jvlink-source/");
}

}  // namespace
}  // namespace tarvo
