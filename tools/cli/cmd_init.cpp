// tarvo-cli init: the start-up steps that need no window, one line per outcome.
#include "cli.h"
#include "startup.h"
#include "std_tables.h"

namespace tarvo::cli {

int cmdInit(Context& ctx) {
    AppState state;
    std::unique_ptr<JVDTLabLib_TLB::IJVLink> jvlink;
    const StartupSeams seams{[](AppState&) { buildStandardTimeTables(); }, {}};
    const StartupOutcome outcome = Startup(state, jvlink).run(ctx.home(), ScreenGeometry{}, seams);
    for (const std::string& l : outcome.report) ctx.println(l);
    if (!outcome.complete) {
        if (!outcome.errorMessage.empty()) ctx.println(outcome.errorMessage);
        return 1;
    }
    return 0;
}

}  // namespace tarvo::cli
