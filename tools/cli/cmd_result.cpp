// tarvo-cli result YEAR MONTHDAY JYOCD RACENUM [--tag 通常|過去] [--prev|--next]:
// the race result screen after creation (and one press of 前 or 次).
// tarvo-cli odds TYPE YEAR MONTHDAY JYOCD RACENUM [FIXED] [--select ROW COL]:
// the odds list of the race card's race. Both in the screen-command form.
#include <algorithm>
#include <ostream>
#include <string>

#include "card_view.h"
#include "cli.h"
#include "cp932.h"
#include "engine_settings.h"
#include "odds_view.h"
#include "result_view.h"
#include "screen_print.h"
#include "settings.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

// Four-digit year and month-day, two-character track and race number.
bool isRace(const std::vector<std::string>& a, std::size_t at) {
    auto fourDigits = [](const std::string& s) {
        return s.size() == 4 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return a.size() >= at + 4 && fourDigits(a[at]) && fourDigits(a[at + 1]) && a[at + 2].size() == 2 &&
           a[at + 3].size() == 2;
}

RaceKey raceAt(const std::vector<std::string>& a, std::size_t at) { return RaceKey(a[at], a[at + 1], a[at + 2], a[at + 3]); }

}  // namespace

int cmdResult(Context& ctx) {
    const std::string tag = ctx.has("--tag") ? toCp932(ctx.option("--tag")) : sj("通常");
    const bool tagOk = tag == sj("通常") || tag == sj("過去") || tag == sj("過去2") || tag == sj("過去3");
    if (ctx.args.size() != 4 || !isRace(ctx.args, 0) || !tagOk || (ctx.has("--prev") && ctx.has("--next"))) {
        *ctx.err << "usage: tarvo-cli result YEAR MONTHDAY JYOCD RACENUM [--tag 通常|過去] [--prev|--next]\n";
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    const EvalSource src{paths, ctx.home() + "file/"};
    loadEngineSettings(ctx.home() + kSettingsFileName);
    RaceResult shown = raceResult(src, raceAt(ctx.args, 0), resultCaller(tag), false);
    if (ctx.has("--prev") || ctx.has("--next")) {
        // The button steps only to a race whose results are final (nothing is fetched here).
        const auto target = neighbourRace(shown.race, ctx.has("--prev") ? -1 : 1);
        if (target && resultsFinal(raceDataKubun(paths, *target))) {
            loadEngineSettings(ctx.home() + kSettingsFileName);
            shown = raceResult(src, *target, kResultCaller, false);
        }
    }
    printScreen(*ctx.out, shown.view);
    return 0;
}

int cmdOdds(Context& ctx) {
    std::vector<std::string> a = ctx.args;
    int selRow = -1, selCol = -1;
    if (ctx.has("--select")) {  // --select ROW COL: the column is the last word
        selRow = toIntDef(ctx.option("--select"), -1);
        selCol = a.empty() ? -1 : toIntDef(a.back(), -1);
        if (!a.empty()) a.pop_back();
    }
    const auto type = a.empty() ? std::nullopt : oddsTypeByName(a[0]);
    if (!type || (a.size() != 5 && a.size() != 6) || !isRace(a, 1) || (ctx.has("--select") && (selRow < 0 || selCol < 0))) {
        *ctx.err << "usage: tarvo-cli odds umaren|umatan|wide|sanrenpuku|sanrentan YEAR MONTHDAY JYOCD RACENUM [FIXED] "
                    "[--select ROW COL]\n";
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    const RaceKey race = raceAt(a, 1);
    loadEngineSettings(ctx.home() + kSettingsFileName);
    const RaceCard card = buildRaceCard({paths, ctx.home() + "file/"}, race);
    std::vector<OddsRunner> runners;
    for (const ViewRow& r : card.rows) runners.push_back({r[1].text, r[2].text});
    const int fixed = a.size() == 6 ? toIntDef(a[5], 0) : 1;
    if (fixesHorse(*type) && (fixed < 1 || fixed > static_cast<int>(runners.size()))) {
        *ctx.err << "tarvo-cli odds: FIXED is a horse number from 1 to " << runners.size() << '\n';
        return 2;
    }
    const OddsMatrix m = oddsMatrix(paths, race, *type, runners, fixed);
    const OddsLabels labels{card.header.date, card.header.raceNum, card.header.hTime, card.header.raceName};
    std::optional<std::pair<int, int>> selected;
    if (selRow >= 0) selected = std::make_pair(selRow, selCol);
    printScreen(*ctx.out, oddsScreen(labels, *type, runners, m, fixed, selected));
    return 0;
}

}  // namespace tarvo::cli
