// tarvo-cli bb: the track data builders, the writer and the deletion.
#include <ostream>

#include "cli.h"
#include "settings.h"
#include "store_paths.h"
#include "track_variant.h"

namespace tarvo::cli {

int cmdBb(Context& ctx) {
    const auto& a = ctx.args;
    const StorePaths paths(ctx.storeRoot());
    const std::string settings = ctx.home() + kSettingsFileName;
    BuilderProgress progress;
    auto usage = [&] {
        *ctx.err << "usage: bb rebuild all | bb rebuild period FROMDATE TODATE | "
                    "bb rebuild race YEAR MONTHDAY JYOCD RACENUM | bb write YEAR MONTHDAY JYOCD RACENUM VARIANT | "
                    "bb delete\n";
        return 2;
    };
    if (a.size() == 2 && a[0] == "rebuild" && a[1] == "all") {
        ctx.println(std::to_string(rebuildAllTrackData(paths, settings, progress, {})));
    } else if (a.size() == 4 && a[0] == "rebuild" && a[1] == "period") {
        ctx.println(std::to_string(rebuildTrackDataPeriod(paths, settings, a[2], a[3], progress, {})));
    } else if (a.size() == 6 && a[0] == "rebuild" && a[1] == "race") {
        ctx.println(std::to_string(rebuildTrackDataRace(paths, settings, {a[2], a[3], a[4], a[5]}, progress, {})));
    } else if (a.size() == 6 && a[0] == "write") {
        writeVariant(paths, {a[1], a[2], a[3], a[4]}, a[5]);
    } else if (a.size() == 1 && a[0] == "delete") {
        deleteAllTrackData(paths);
    } else {
        return usage();
    }
    return 0;
}

}  // namespace tarvo::cli
