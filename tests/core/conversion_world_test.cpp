// The conversion end to end: a world generated with the old data specs is
// stored by an earlier version's setup into an old-format store; once the
// world went on, the conversion brings that store up to date and rewrites it,
// and the store then holds what a setup from the new data specs stores.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "conversion.h"
#include "inifile.h"
#include "jvlink_emu.h"
#include "lookups.h"
#include "record_writers.h"
#include "registration.h"
#include "startup.h"
#include "test_support.h"
#include "wg_world.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;
namespace jvr = JVDTLabLib_TLB::JVResult;
using worldgen::Day;

std::string world(const test::TempDir& dir, int to) {
    worldgen::Options o;
    o.out = dir.path() + "source";
    Day::parse("20240101", o.from);
    Day::parse(std::to_string(to), o.to);
    o.seed = 7;
    o.oldFormat = true;
    worldgen::generateWorld(o);
    return o.out + "/";
}

// What an earlier version's setup from 2024-01-01 left: the old data specs
// stored, the masters in the old format, and each data spec's keys.
void oldSetup(const test::TempDir& home, const std::string& source) {
    JVLinkEmulator jv(home.path());
    jv.overrideSource(source);
    ASSERT_EQ(jv.JVInit(kSoftwareId), 0);
    RecordWriters writers(StorePaths(home.path() + "data/"));
    const IniFile ini(home.path() + "tarvo.ini");
    const std::pair<const char*, const char*> specs[] = {{"RACE", "RCE"}, {"DIFF", "DFF"}, {"BLOD", "BLD"}, {"SNAP", "SNP"}};
    for (const auto& [spec, prefix] : specs) {
        int reads = 0, downloads = 0;
        std::string stamp, buff, file;
        ASSERT_EQ(jv.JVOpen(spec, "20240101000000", 4, reads, downloads, stamp), 0) << spec;
        while (jv.JVStatus() < downloads) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        for (int n; (n = jv.JVGets(buff, kRecordBufferSize, file)) != jvr::kEndOfData;) {
            if (n == jvr::kDownloading) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (n > 0 && writers.store(buff, n, 20240101, DispatchMode::Conversion) == StoreOutcome::OtherKind) jv.JVSkip();
        }
        jv.JVClose();
        ini.write("UMA_DB", std::string(prefix) + "_start", "20240101000000");
        ini.write("UMA_DB", std::string(prefix) + "_ltime", stamp);
    }
}

// Every file below the store but the track data and the trio and trifecta odds.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string rel = fs::relative(e.path(), folder).string();
        if (e.is_regular_file() && rel.compare(0, 2, "O5") != 0 && rel.compare(0, 2, "O6") != 0 &&
            rel.compare(0, 2, "BB") != 0)
            out[rel] = test::slurp(e.path().string());
    }
    return out;
}

struct MemoView : ConversionView {
    void memoLine(const std::string& l) override { memo.push_back(l); }
    void message(MessageKind, const std::string& t) override { messages.push_back(t); }
    void fileDone() override {
        if (cancelAfter > 0 && ++files == cancelAfter) run->cancel();
    }
    std::vector<std::string> memo, messages;
    ConversionRun* run = nullptr;
    int cancelAfter = 0, files = 0;
};

RunResult convert(const test::TempDir& home, const std::string& source, MemoView& view) {
    JVLinkEmulator jv(home.path());
    jv.overrideSource(source);
    EXPECT_EQ(jv.JVInit(kSoftwareId), 0);
    ConversionRun run(jv, home.path() + "tarvo.ini", StorePaths(home.path() + "data/"), view);
    view.run = &run;
    const RunResult r = run.run();
    EXPECT_EQ(run.conversionCompleted(), r == RunResult::Completed);
    return r;
}

bool contains(const std::vector<std::string>& lines, const char* utf8) {
    return std::find(lines.begin(), lines.end(), sj(utf8)) != lines.end();
}

TEST(ConversionWorld, AnOldStoreConvertedLooksUpAsASetupOfTheNewSpecs) {
    test::TempDir shortWorld, longWorld, reference, home;
    const std::string before = world(shortWorld, 20240107), after = world(longWorld, 20240114);
    {
        JVLinkEmulator jv(reference.path());
        jv.overrideSource(after);
        ASSERT_EQ(jv.JVInit(kSoftwareId), 0);
        RegistrationView quiet;
        RegistrationRun setup(jv, reference.path() + "tarvo.ini", StorePaths(reference.path() + "data/"), quiet);
        ASSERT_EQ(setup.run(RunKind::Setup, "20240101"), RunResult::Completed);
    }
    oldSetup(home, before);
    const StorePaths paths(home.path() + "data/");
    ASSERT_GT(oldFormatCount(paths), 0);

    // Cancelled after a few files: nothing converted, the old files kept.
    MemoView cancelled;
    cancelled.cancelAfter = 3;
    ASSERT_EQ(convert(home, after, cancelled), RunResult::Cancelled);
    EXPECT_TRUE(contains(cancelled.memo, "> キャンセル処理が行われたため、データ変換を中止しました。"));
    EXPECT_GT(oldFormatCount(paths), 0);

    // Run again: it resumes and completes.
    MemoView view;
    ASSERT_EQ(convert(home, after, view), RunResult::Completed) << (view.messages.empty() ? "" : view.messages[0]);
    EXPECT_EQ(oldFormatCount(paths), 0);
    EXPECT_TRUE(view.messages.empty());
    for (const char* line : {"＞ 生産者データを変換 (ファイル数:", "＞ 競争馬データを変換 (ファイル数:"}) {
        const auto it = std::find_if(view.memo.begin(), view.memo.end(),
                                     [&](const std::string& l) { return l.rfind(sj(line), 0) == 0; });
        EXPECT_NE(it, view.memo.end()) << line;
    }

    const auto stored = snapshot(paths.root()), expected = snapshot(reference.path() + "data/");
    for (const auto& [file, text] : expected) {
        const auto it = stored.find(file);
        if (it == stored.end()) ADD_FAILURE() << "missing " << file;
        else EXPECT_TRUE(it->second == text) << file;
    }
    for (const auto& [file, text] : stored) EXPECT_TRUE(expected.count(file)) << "extra " << file;
}

}  // namespace
}  // namespace tarvo
