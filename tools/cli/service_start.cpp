#include "service_start.h"

#include <filesystem>

#include "jvlink_emu.h"
#include "std_tables.h"
#include "textfn.h"

namespace tarvo::cli {

bool startWithService(Context& ctx, const char* command, StartedService& out) {
    auto emulator = std::make_unique<JVLinkEmulator>(ctx.home());
    if (ctx.has("--source")) emulator->overrideSource(std::filesystem::absolute(ctx.option("--source")).string());
    out.jvlink = std::move(emulator);
    const StartupSeams seams{[](AppState&) { buildStandardTimeTables(); }, {}};
    const StartupOutcome outcome = Startup(out.state, out.jvlink).run(ctx.home(), ScreenGeometry{}, seams);
    if (!outcome.complete) {
        if (!outcome.errorMessage.empty()) ctx.println(outcome.errorMessage);
        return false;
    }
    if (out.state.readOnly) {
        *ctx.err << command << ": the access mode forbids fetching data\n";
        return false;
    }
    return true;
}

long cancelAfterFiles(const Context& ctx) {
    if (!ctx.has("--cancel-after-files")) return 0;
    long long n = 0;
    return parseInt(ctx.option("--cancel-after-files"), n) && n >= 1 ? static_cast<long>(n) : -1;
}

int exitStatus(RunResult result) {
    switch (result) {
        case RunResult::Completed: return 0;
        case RunResult::Cancelled: return 3;
        case RunResult::Error: break;
    }
    return 1;
}

}  // namespace tarvo::cli
