// Start-up of the commands that fetch from the data service: the emulator of
// the program folder (--source reads another source folder), the start-up
// steps, and the access mode's check.
#pragma once

#include <memory>

#include "JVDTLabLib_TLB.h"
#include "cli.h"
#include "startup.h"

namespace tarvo::cli {

struct StartedService {
    AppState state;
    std::unique_ptr<JVDTLabLib_TLB::IJVLink> jvlink;
};

// False (after printing why, as command's error) when start-up ended the
// program or the access mode forbids fetching; the exit status is then 1.
bool startWithService(Context& ctx, const char* command, StartedService& out);

}  // namespace tarvo::cli
