// What the commands that read the data service share: the cancel option, the
// start-up with the emulator, and the exit status of a run.
#include <filesystem>

#include "cli.h"
#include "jvlink_emu.h"
#include "std_tables.h"
#include "textfn.h"

namespace tarvo::cli {

long cancelAfterFiles(const Context& ctx) {
    if (!ctx.has("--cancel-after-files")) return 0;
    long long n = 0;
    return parseInt(ctx.option("--cancel-after-files"), n) && n >= 1 ? static_cast<long>(n) : -1;
}

std::unique_ptr<JVDTLabLib_TLB::IJVLink> startDataService(Context& ctx, AppState& state, const char* command) {
    auto emulator = std::make_unique<JVLinkEmulator>(ctx.home());
    if (ctx.has("--source")) emulator->overrideSource(std::filesystem::absolute(ctx.option("--source")).string());
    std::unique_ptr<JVDTLabLib_TLB::IJVLink> jvlink = std::move(emulator);
    const StartupSeams seams{[](AppState&) { buildStandardTimeTables(); }, {}};
    const StartupOutcome outcome = Startup(state, jvlink).run(ctx.home(), ScreenGeometry{}, seams);
    if (!outcome.complete) {
        if (!outcome.errorMessage.empty()) ctx.println(outcome.errorMessage);
        return nullptr;
    }
    if (state.readOnly) {
        *ctx.err << command << ": the access mode forbids fetching data\n";
        return nullptr;
    }
    return jvlink;
}

int runStatus(RunResult result) {
    switch (result) {
        case RunResult::Completed: return 0;
        case RunResult::Cancelled: return 3;
        case RunResult::Error: break;
    }
    return 1;
}

}  // namespace tarvo::cli
