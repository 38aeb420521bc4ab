// tarvo-cli tally FROM TO [--track NAME] [--bet tansho|umaren|umatan] [--us]
// [--classes LIST] [--ages LIST] [--surfaces LIST] [--dist FROM TO]
// [--going LIST] [--csv GRID FILE]: the prediction results tally of the
// period FROM to TO (YYYYMMDD) in the screen-command form, the inputs as the
// screen starts unless given. A LIST names check boxes by caption or object
// name, separated by commas; the boxes not named are unticked. --csv writes
// the list of that grid as the screen's CSV item does.
#include <fstream>
#include <ostream>
#include <span>
#include <string>

#include "cli.h"
#include "cp932.h"
#include "engine_settings.h"
#include "screen_print.h"
#include "settings.h"
#include "store_paths.h"
#include "tally_view.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

bool isDate(const std::string& s) {
    return s.size() == 8 && s.find_first_not_of("0123456789") == std::string::npos;
}

// Ticks the boxes a list names; false for a name that is no box.
template <std::size_t N>
bool tickBoxes(const std::string& list, std::span<const TallyBox> boxes, std::array<bool, N>& ticked) {
    ticked.fill(false);
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        start = comma + 1;
        if (name.empty()) continue;
        bool found = false;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (name == boxes[i].name || name == boxes[i].caption) found = ticked[i] = true;
        if (!found) return false;
    }
    return true;
}

// The two words of a two-value option.
std::pair<std::string, std::string> pairOf(const std::string& value) {
    const std::size_t tab = value.find('\t');
    if (tab == std::string::npos) return {value, ""};
    return {value.substr(0, tab), value.substr(tab + 1)};
}

int usage(Context& ctx, const std::string& why) {
    if (!why.empty()) *ctx.err << "tarvo-cli tally: " << why << '\n';
    *ctx.err << "usage: tarvo-cli tally FROM TO [--track NAME] [--bet tansho|umaren|umatan] [--us] [--classes LIST] "
                "[--ages LIST] [--surfaces LIST] [--dist FROM TO] [--going LIST] [--csv GRID FILE]\n";
    return 2;
}

}  // namespace

int cmdTally(Context& ctx) {
    if (ctx.args.size() != 2 || !isDate(ctx.args[0]) || !isDate(ctx.args[1])) return usage(ctx, "");
    TallyOptions o;
    o.from = ctx.args[0];
    o.to = ctx.args[1];
    o.userMarks = ctx.has("--us");
    if (ctx.has("--track")) {
        o.track = toCp932(ctx.option("--track"));
        if (std::find_if(std::begin(kTallyTracks), std::end(kTallyTracks),
                         [&](const char* t) { return sj(t) == o.track; }) == std::end(kTallyTracks))
            return usage(ctx, "no track " + ctx.option("--track"));
    }
    if (ctx.has("--bet")) {
        const std::string bet = ctx.option("--bet");
        if (bet == "tansho") o.bet = TallyBet::Tansho;
        else if (bet == "umaren") o.bet = TallyBet::Umaren;
        else if (bet == "umatan") o.bet = TallyBet::Umatan;
        else return usage(ctx, "no bet type " + bet);
    }
    const struct {
        const char* option;
        bool ok;
    } lists[] = {
        {"--classes", !ctx.has("--classes") || tickBoxes(ctx.option("--classes"), kTallyClassBoxes, o.classes)},
        {"--ages", !ctx.has("--ages") || tickBoxes(ctx.option("--ages"), kTallyAgeBoxes, o.ages)},
        {"--surfaces", !ctx.has("--surfaces") || tickBoxes(ctx.option("--surfaces"), kTallySurfaceBoxes, o.surfaces)},
        {"--going", !ctx.has("--going") || tickBoxes(ctx.option("--going"), kTallyGoingBoxes, o.goings)},
    };
    for (const auto& l : lists)
        if (!l.ok) return usage(ctx, std::string("a name in ") + l.option + " is no box");
    if (ctx.has("--dist")) std::tie(o.distFrom, o.distTo) = pairOf(ctx.option("--dist"));

    const std::string message =
        tallyPeriodMessage(o.from.substr(0, 4), o.from.substr(4), o.to.substr(0, 4), o.to.substr(4));
    if (!message.empty()) {
        // Refused: the screen as it stood, with the message and no tally.
        ScreenView v;
        v.caption = sj("予想結果の集計");
        v.labels = {{"lbl_rate", tallyRateLabel(o.bet)}};
        v.states = {{"mnuCsvOut", false}};
        v.messages.push_back(message);
        printScreen(*ctx.out, v);
        return 0;
    }
    loadEngineSettings(ctx.home() + kSettingsFileName);
    const StorePaths paths(ctx.storeRoot());
    const ScreenView view = tallyScreen(o, runTally({paths, ctx.home() + "file/"}, o));
    printScreen(*ctx.out, view);

    if (ctx.has("--csv")) {
        const auto [grid, file] = pairOf(ctx.option("--csv"));
        const std::optional<std::string> csv = tallyCsv(view, grid);
        if (!csv) return usage(ctx, "no list " + grid);
        if (view.grids.front().rows.size() < 2 || view.grids.front().rows[1][0].empty()) {
            *ctx.err << "tarvo-cli tally: no race was tallied, the CSV item is disabled\n";
            return 1;
        }
        std::ofstream out(file, std::ios::binary);
        out << *csv;
        if (!out.flush()) {
            *ctx.err << "tarvo-cli tally: cannot write " << file << '\n';
            return 1;
        }
    }
    return 0;
}

}  // namespace tarvo::cli
