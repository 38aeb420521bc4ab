// tarvo-cli silks YEAR MONTHDAY JYOCD RACENUM: "一括取得" of the race card's
// silks strip, then one line per runner in card order: the horse number and
// the picture its strip cell shows (below the store root: its owner's file,
// the shared no_image.bmp, or nothing).
#include "card_view.h"
#include "cli.h"
#include "engine_settings.h"
#include "fsys.h"
#include "jvlink_emu.h"
#include "media_view.h"
#include "settings.h"
#include "textfn.h"

namespace tarvo::cli {

int cmdSilks(Context& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 4) {
        *ctx.err << "usage: tarvo-cli silks YEAR MONTHDAY JYOCD RACENUM\n";
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    loadEngineSettings(ctx.home() + kSettingsFileName);
    const RaceCard card = buildRaceCard({paths, ctx.home() + "file/"}, {a[0], a[1], a[2], a[3]});
    JVLinkEmulator jvlink(ctx.home());
    makeDirs(paths.root() + "FK/");
    fetchAllSilks(paths, jvlink, card.ownerCodes);
    for (std::size_t r = 0; r < card.rows.size(); ++r) {
        const std::string picture = silksPicture(paths, r < card.ownerCodes.size() ? card.ownerCodes[r] : "");
        ctx.println(trimBoth(card.rows[r][1].text) + "\t" +
                    (picture.empty() ? std::string() : picture.substr(paths.root().size())));
    }
    return 0;
}

}  // namespace tarvo::cli
