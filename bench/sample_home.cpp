#include "sample_home.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "jvlink_emu.h"
#include "registration.h"
#include "startup.h"
#include "std_tables.h"
#include "store_paths.h"
#include "textfn.h"
#include "wg_world.h"

namespace tarvo::bench {
namespace {

// The sample world of a year, registered by a setup run below folder.
void makeSampleStore(const std::string& folder, int year) {
    const std::string y = std::to_string(year);
    worldgen::Options o;
    o.out = folder + "world";
    worldgen::Day::parse(y + "0101", o.from);
    worldgen::Day::parse(y + "1231", o.to);
    worldgen::generateWorld(o);
    buildStandardTimeTables();
    JVLinkEmulator jv(folder);
    jv.overrideSource(o.out + "/");
    jv.JVInit(kSoftwareId);
    RegistrationView view;
    RegistrationRun run(jv, folder + "tarvo.ini", StorePaths(folder + "data/"), view);
    run.run(RunKind::Setup, y + "0101");
}

}  // namespace

SampleHome::SampleHome(const std::string& tempName, int y) : year(y) {
    if (const char* h = std::getenv("TARVO_BENCH_HOME")) {
        home = h;
        if (home.back() != '/') home += '/';
        if (const char* given = std::getenv("TARVO_BENCH_YEAR")) year = toIntDef(given, year);
    } else {
        temp_ = (std::filesystem::temp_directory_path() / tempName).string() + "/";
        std::filesystem::remove_all(temp_);
        std::filesystem::create_directories(temp_);
        std::printf("making the sample world of %d in %s ...\n", year, temp_.c_str());
        makeSampleStore(temp_, year);
        home = temp_;
    }
    std::printf("store: %sdata/, year %d\n", home.c_str(), year);
}

SampleHome::~SampleHome() {
    if (!temp_.empty()) std::filesystem::remove_all(temp_);
}

}  // namespace tarvo::bench
