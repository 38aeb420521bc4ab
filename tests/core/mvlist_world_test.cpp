// The training video list end to end on a generated world registered by a
// setup: the lists the world's service offers, joined with the stored runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "jvlink_emu.h"
#include "test_support.h"
#include "wg_world.h"

namespace tarvo {
namespace {

// The cells of every data row of the list grid in tarvo-cli's output.
std::vector<std::vector<std::string>> listRows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("row\tstgMvList\t", 0) != 0 || line.rfind("row\tstgMvList\t0\t", 0) == 0) continue;
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, '\t');) cells.push_back(f);
        rows.push_back(std::vector<std::string>(cells.begin() + 3, cells.end()));
    }
    return rows;
}

TEST(VideoListWorld, WeekendListsJoinedWithTheirRuns) {
    for (const char* v : {"TARVO_JVLINK_SOURCE", "TARVO_JVLINK_RATE", "TARVO_JVLINK_VERSION"}) unsetenv(v);
    test::TempDir home;
    worldgen::Options o;
    o.out = home.path() + "source";
    // The world starts on Sunday 2 June 2024: that weekend has no Saturday races.
    worldgen::Day::parse("20240602", o.from);
    worldgen::Day::parse("20240611", o.to);
    o.seed = 7;
    worldgen::generateWorld(o);
    // The first weekend's list lies under its Sunday, the next under its Saturday.
    JVLinkEmulator jv(home.path());
    jv.overrideSource(o.out);
    EXPECT_EQ(jv.JVMVOpen("11", "20240601"), -1);
    EXPECT_EQ(jv.JVMVOpen("11", "20240602"), 0);
    EXPECT_EQ(jv.JVMVOpen("11", "20240608"), 0);
    EXPECT_EQ(jv.JVMVOpen("11", "20240609"), -1);
    jv.JVClose();

    std::string out, err;
    ASSERT_EQ(test::runCli({"--home", home.path(), "--source", o.out, "register", "setup", "20240602"}, out, &err), 0)
        << out << err;

    const struct {
        const char* chosen;
        std::vector<std::string> raceDays;
    } weeks[] = {
        {"20240529", {"2024.06.02"}},                // Wednesday: Saturday 1 June has no list, Sunday's is read
        {"20240611", {"2024.06.08", "2024.06.09"}},  // Tuesday: the weekend before
    };
    for (const auto& w : weeks) {
        ASSERT_EQ(test::runCli({"--home", home.path(), "--source", o.out, "videos", w.chosen}, out, &err), 0) << err;
        const auto rows = listRows(out);
        ASSERT_FALSE(rows.empty()) << w.chosen << out;
        for (const auto& r : rows) {
            // Every horse trained that week ran that weekend: a stored horse, the run kept, its prize from CK.
            EXPECT_FALSE(r[5].empty()) << w.chosen << " " << r[6];
            EXPECT_NE(std::find(w.raceDays.begin(), w.raceDays.end(), r[19]), w.raceDays.end()) << w.chosen << " " << r[19];
            EXPECT_NE(r[17].front(), '*') << w.chosen << " " << r[6];
            EXPECT_FALSE(r[25].empty());
        }
    }
}

}  // namespace
}  // namespace tarvo
