// tarvo-cli bb: the track data builders, the writer and the deletion.
#include <ostream>

#include "bbadj_view.h"
#include "cli.h"
#include "cp932.h"
#include "fsys.h"
#include "settings.h"
#include "store_paths.h"
#include "track_variant.h"

namespace tarvo::cli {

namespace {

// The adjustment screen's opening and "更新": the rows before, computed and
// now, or the screen's message (exit 1) when the update is refused.
int adjust(Context& ctx, const StorePaths& paths, const std::string& settings, const RaceKey& race,
           const std::string& rw, const std::string& ls) {
    const TrackAdjustment a = openTrackAdjust(paths, settings, ctx.home() + "file/", race);
    auto row = [&](const char* caption, const VariantPair& v) { ctx.println(sj(caption) + "\t" + v.rw + "\t" + v.ls); };
    row("調整前", a.before);
    row("未調整", a.computed);
    if (!a.updateEnabled) {
        *ctx.err << (a.error.empty() ? "bb adjust: the race has no final results\n" : toUtf8(a.error) + "\n");
        return 1;
    }
    const AdjustOutcome o = applyTrackAdjustment(paths, race, rw, ls);
    if (!o.error.empty()) {
        *ctx.err << toUtf8(o.error) << '\n';
        return 1;
    }
    row("現在値", o.now);
    return 0;
}

}  // namespace

int cmdBb(Context& ctx) {
    const auto& a = ctx.args;
    const StorePaths paths(ctx.storeRoot());
    const std::string settings = ctx.home() + kSettingsFileName;
    BuilderProgress progress;
    auto usage = [&] {
        *ctx.err << "usage: bb rebuild all | bb rebuild period FROMDATE TODATE | "
                    "bb rebuild race YEAR MONTHDAY JYOCD RACENUM | bb write YEAR MONTHDAY JYOCD RACENUM VARIANT | "
                    "bb delete | bb adjust YEAR MONTHDAY JYOCD RACENUM RW LS\n";
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
    } else if (a.size() == 7 && a[0] == "adjust") {
        return adjust(ctx, paths, settings, {a[1], a[2], a[3], a[4]}, a[5], a[6]);
    } else if (a.size() == 1 && a[0] == "delete") {
        deleteAllTrackData(paths);
    } else {
        return usage();
    }
    return 0;
}

}  // namespace tarvo::cli
