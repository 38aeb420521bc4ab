// The registration run end to end on generated worlds: a setup followed by a
// usual run after the world went on stores what a setup of the longer world
// stores, and a cancelled setup resumed leaves the same store as one run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "JVData_Structure.h"
#include "jvlink_emu.h"
#include "layouts.h"
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

// The stored record key of a family, read from a stored line or from a raw
// record (its fields under their raw names: "id.Year", "UmaChaku.KettoNum").
std::string storedKey(Family f, std::string_view line) {
    std::string key;
    for (const KeyRange& k : recordKey(f)) key += line.substr(k.pos, k.len);
    return key;
}

std::string rawKey(Family f, const RawLayout& raw, std::string_view record) {
    std::string key;
    for (const Field& field : layoutOf(f).fields) {
        const bool inKey = std::any_of(recordKey(f).begin(), recordKey(f).end(), [&](const KeyRange& k) {
            return field.pos - 1 >= k.pos && field.pos - 1 < k.pos + k.len;
        });
        if (!inKey) continue;
        for (const std::string& path : {"id." + field.name, field.name, "UmaChaku." + field.name})
            if (raw.find(path)) {
                key += raw.get(record, path);
                break;
            }
    }
    return key;
}

TEST_F(RegisterWorld, ASetupStoresTheLatestRecordOfEveryKeyInEveryFamily) {
    const std::string source = world(shortWorld, 20240107);
    const std::string start = "20240101";
    test::TempDir home;
    ASSERT_EQ(run(home, source, RunKind::Setup), RunResult::Completed);

    // What the source delivers from the start on, file by file in timestamp
    // order: the latest DataKubun and MakeDate of every key of every family;
    // race records dated before the start are not stored.
    std::map<Family, std::map<std::string, std::string>> expected;
    for (const char* spec : {"RACE", "DIFN", "SNPN", "BLDN"}) {
        std::vector<std::string> files;
        for (const auto& e : fs::directory_iterator(source + spec))
            if (e.path().filename().string() >= start) files.push_back(e.path().string());
        std::sort(files.begin(), files.end());
        for (const std::string& file : files)
            forEachLineOf(test::slurp(file), [&](std::string_view line) {
                const std::string id(line.substr(0, 2));
                const auto family = familyById(id);
                const RawLayout* raw = rawLayout(id);
                if (!family || !raw) return true;
                const bool race = raw->find("id.Year") != nullptr;
                if (race && std::string(raw->get(line, "id.Year")) + std::string(raw->get(line, "id.MonthDay")) < start)
                    return true;
                expected[*family][rawKey(*family, *raw, line)] = std::string(line.substr(2, 9));
                return true;
            });
    }
    for (const Family f : {Family::RA, Family::SE, Family::HR, Family::O2, Family::O3, Family::O4, Family::O5, Family::O6,
                           Family::CK, Family::UM, Family::KS, Family::CH, Family::BR, Family::BN, Family::HN, Family::SK}) {
        const Layout& l = layoutOf(f);
        SCOPED_TRACE(std::string(l.id));
        std::map<std::string, std::string> stored;
        std::error_code missing;  // a family folder never made reads as empty
        for (const auto& e : fs::recursive_directory_iterator(home.path() + "data/" + std::string(l.id), missing))
            if (e.is_regular_file())
                forEachLine(e.path().string(), [&](std::string_view line) {
                    if (line.size() + 2 == l.lineLength) stored[storedKey(f, line)] = std::string(line.substr(0, 9));
                    return true;
                });
        EXPECT_FALSE(stored.empty());
        EXPECT_EQ(stored.size(), expected[f].size());
        EXPECT_TRUE(stored == expected[f]);
    }
}

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
