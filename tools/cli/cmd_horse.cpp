// tarvo-cli horse KETTONUM [--race YEAR MONTHDAY JYOCD RACENUM] [--tag TAG]:
// the horse data screen in the screen-command form. --race names the race the
// screen was opened from; the tag defaults to "通常" with a race, "検索" without.
#include <optional>
#include <ostream>
#include <string>

#include "cli.h"
#include "cp932.h"
#include "engine_settings.h"
#include "horse_view.h"
#include "screen_print.h"
#include "settings.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo::cli {

int cmdHorse(Context& ctx) {
    const bool withRace = ctx.has("--race");
    const auto& a = ctx.args;
    std::optional<RaceKey> race;
    if (withRace && a.size() == 5) race = RaceKey::parse(a[1] + a[2] + a[3] + a[4]);
    if (a.size() != (withRace ? 5u : 1u) || a[0].size() != 10 || (withRace && !race)) {
        *ctx.err << "usage: tarvo-cli horse KETTONUM [--race YEAR MONTHDAY JYOCD RACENUM] [--tag TAG]\n";
        return 2;
    }
    const std::string tag = ctx.has("--tag") ? toCp932(ctx.option("--tag")) : sj(race ? "通常" : "検索");
    loadEngineSettings(ctx.home() + kSettingsFileName);
    const StorePaths paths(ctx.storeRoot());
    const HorseData d = horseData({paths, ctx.home() + "file/"}, {a[0], tag, race, {}, {}}, nowLocal().year);
    printScreen(*ctx.out, d.view);
    return 0;
}

}  // namespace tarvo::cli
