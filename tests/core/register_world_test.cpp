// The registration run end to end on generated worlds: a setup followed by a
// usual run after the world went on stores what a setup of the longer world
// stores, and a cancelled setup resumed leaves the same store as one run.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "jvlink_emu.h"
#include "record_io.h"
#include "registration.h"
#include "startup.h"
#include "test_support.h"
#include "wg_world.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using worldgen::Day;

struct CancellingView : RegistrationView {
    void fileDone() override {
        if (cancelAfter > 0 && ++files == cancelAfter) run->cancel();
    }
    void pump() override {
        if (run->downloadTimerEnabled()) run->downloadTimerTick();
    }
    RegistrationRun* run = nullptr;
    int cancelAfter = 0, files = 0;
};

// Every file below a folder with its contents; the trio and trifecta odds are
// left out, the generator writing them for the last days of a world only.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string rel = fs::relative(e.path(), folder).string();
        if (e.is_regular_file() && rel.compare(0, 2, "O5") != 0 && rel.compare(0, 2, "O6") != 0)
            out[rel] = test::slurp(e.path().string());
    }
    return out;
}

class RegisterWorld : public ::testing::Test {
protected:
    static std::string world(const test::TempDir& dir, int to) {
        worldgen::Options o;
        o.out = dir.path() + "source";
        Day::parse("20240101", o.from);
        Day::parse(std::to_string(to), o.to);
        o.seed = 7;
        worldgen::generateWorld(o);
        return o.out + "/";
    }

    static RunResult run(const test::TempDir& home, const std::string& source, RunKind kind, int cancelAfter = 0,
                         std::string* queue = nullptr) {
        JVLinkEmulator jv(home.path());
        jv.overrideSource(source);
        EXPECT_EQ(jv.JVInit(kSoftwareId), 0);
        CancellingView view;
        RegistrationRun r(jv, home.path() + "tarvo.ini", StorePaths(home.path() + "data/"), view);
        view.run = &r;
        view.cancelAfter = cancelAfter;
        const RunResult result = r.run(kind, "20240101");
        if (queue) *queue = r.resultsQueue();
        return result;
    }

    test::TempDir shortWorld, longWorld;
};

TEST_F(RegisterWorld, UsualRunAfterAWeekStoresWhatASetupOfTheLongerWorldStores) {
    const std::string before = world(shortWorld, 20240107), after = world(longWorld, 20240114);
    test::TempDir reference, home;
    ASSERT_EQ(run(reference, after, RunKind::Setup), RunResult::Completed);
    ASSERT_EQ(run(home, before, RunKind::Setup), RunResult::Completed);

    // The track data left is that of the races the usual run queued.
    deleteAllTrackData(StorePaths(home.path() + "data/"));
    std::string queue;
    ASSERT_EQ(run(home, after, RunKind::Usual, 0, &queue), RunResult::Completed);
    ASSERT_FALSE(queue.empty());
    for (std::size_t at = 0; at < queue.size(); at += 12) EXPECT_GT(queue.substr(at, 8), "20240107") << queue.substr(at, 12);

    auto stored = snapshot(home.path() + "data/"), expected = snapshot(reference.path() + "data/");
    std::size_t trackDays = 0;
    for (auto it = expected.begin(); it != expected.end();) {
        if (it->first.compare(0, 2, "BB") != 0) {
            ++it;
            continue;
        }
        // Only the days of the new week, and for those days the same track data.
        std::string week;
        forEachLineOf(it->second, [&](std::string_view line) {
            if (line.substr(0, 8) > "20240107") week += std::string(line) + "\r\n";
            return true;
        });
        forEachLineOf(stored[it->first], [&](std::string_view) {
            ++trackDays;
            return true;
        });
        EXPECT_EQ(stored[it->first], week) << it->first;
        stored.erase(it->first);
        it = expected.erase(it);
    }
    EXPECT_GT(trackDays, 0u);
    EXPECT_TRUE(stored == expected);
}

TEST_F(RegisterWorld, CancelledSetupsResumedEqualOneSetup) {
    const std::string source = world(longWorld, 20240107);
    test::TempDir reference;
    ASSERT_EQ(run(reference, source, RunKind::Setup), RunResult::Completed);
    const auto expected = snapshot(reference.path() + "data/");
    for (int files : {9, 23}) {
        SCOPED_TRACE(files);
        test::TempDir home;
        ASSERT_EQ(run(home, source, RunKind::Setup, files), RunResult::Cancelled);
        ASSERT_EQ(run(home, source, RunKind::Setup), RunResult::Completed);
        EXPECT_TRUE(snapshot(home.path() + "data/") == expected);
    }
}

}  // namespace
}  // namespace tarvo
