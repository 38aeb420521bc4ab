// Start-up of the commands that fetch from the data service: the emulator of
// the program folder (--source reads another source folder), the start-up
// steps, and the access mode's check.
#pragma once

#include <memory>

#include "JVDTLabLib_TLB.h"
#include "cli.h"
#include "registration.h"
#include "startup.h"

namespace tarvo::cli {

struct StartedService {
    AppState state;
    std::unique_ptr<JVDTLabLib_TLB::IJVLink> jvlink;
};

// False (after printing why, as command's error) when start-up ended the
// program or the access mode forbids fetching; the exit status is then 1.
bool startWithService(Context& ctx, const char* command, StartedService& out);

// --cancel-after-files N of the runs over files: 0 without it, N for a number
// of 1 or more, -1 for anything else (a usage error).
long cancelAfterFiles(const Context& ctx);

// The exit status of a run: 0 completed, 3 cancelled (also by the data
// service), 1 ended by an error.
int exitStatus(RunResult result);

}  // namespace tarvo::cli
