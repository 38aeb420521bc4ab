// tarvo-cli pdf YEAR MONTHDAY JYOCD RACENUM FILE: the race card PDF of that
// race as the PDF screen writes it for the card the main window shows.
#include "card_args.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "unit_pdfwr.h"

namespace tarvo::cli {

int cmdPdf(Context& ctx) {
    if (!raceArgs(ctx, 1)) {
        *ctx.err << "usage: tarvo-cli pdf YEAR MONTHDAY JYOCD RACENUM FILE\n";
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    const RaceCard card = buildCard(ctx, paths, false);
    const RaceKey race = raceOf(ctx);
    writeRaceCardPdfFile({paths, ctx.home() + "file/"}, cardPdfRace(card, race), card, runnerTable(kMainWindowCaller),
                         ctx.args[4]);
    return 0;
}

}  // namespace tarvo::cli
