// tarvo-cli card YEAR MONTHDAY JYOCD RACENUM [--us]: the race card as the main
// window builds it, one tab-separated record per line: the header labels, the
// engine keys, the grid rows, the mark slots and scores of every runner, the
// race-level figures and the three bet grids.
#include <string>

#include "card_view.h"
#include "cli.h"
#include "engine_settings.h"
#include "runner_tables.h"
#include "settings.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

bool digits(const std::string& s, std::size_t n) {
    if (s.size() != n) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// A cell's line break written as the two characters \n.
std::string oneLine(const std::string& s) { return replaceAll(s, "\r\n", "\\n"); }

std::string joined(const std::string& head, std::size_t n, auto&& cell, std::size_t count) {
    std::string line = head + "\t" + std::to_string(n);
    for (std::size_t i = 0; i < count; ++i) line += "\t" + cell(i);
    return line;
}

}  // namespace

int cmdCard(Context& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 4 || !digits(a[0], 4) || !digits(a[1], 4) || a[2].size() != 2 || a[3].size() != 2) {
        *ctx.err << "usage: tarvo-cli card YEAR MONTHDAY JYOCD RACENUM [--us]\n";
        return 2;
    }
    loadEngineSettings(ctx.home() + kSettingsFileName);
    const StorePaths paths(ctx.storeRoot());
    const RaceCard card = buildRaceCard({paths, ctx.home() + "file/"}, RaceKey(a[0], a[1], a[2], a[3]), ctx.has("--us"));
    const CardHeader& h = card.header;
    const std::pair<const char*, const std::string*> labels[] = {
        {"lbl_Date", &h.date}, {"lbl_RaceNum", &h.raceNum},   {"lbl_h_time", &h.hTime}, {"lbl_Crs", &h.crs},
        {"lbl_WeBa", &h.weBa}, {"lbl_RaceName", &h.raceName}, {"lbl_biko", &h.biko}};
    for (const auto& [name, text] : labels) ctx.println(std::string("header\t") + name + "\t" + *text);
    ctx.println("keys\t" + card.courseKey + "\t" + card.goingKey);
    const RunnerTable& t = runnerTable(kMainWindowCaller);
    for (std::size_t r = 0; r < card.rows.size(); ++r)
        ctx.println(joined("row", r + 1, [&](std::size_t c) { return oneLine(card.rows[r][c].text); }, kCardColumns));
    for (std::size_t r = 0; r < card.rows.size(); ++r)
        ctx.println(joined("slots", r + 1, [&](std::size_t s) { return t.marks[s][r]; }, kMarkSlots));
    for (std::size_t r = 0; r < card.rows.size(); ++r)
        ctx.println(joined("scores", r + 1, [&](std::size_t s) { return std::to_string(t.scores[s][r]); }, 4));
    ctx.println("figures\t" + card.figures[0] + "\t" + card.figures[1] + "\t" + card.figures[2] + "\t" +
                card.figures[3]);
    for (std::size_t g = 0; g < card.bets.size(); ++g) {
        ctx.println("bets\t" + std::to_string(g + 1) + "\t" + card.bets[g].title);
        for (const BetLine& b : card.bets[g].lines)
            ctx.println("bet\t" + std::to_string(g + 1) + "\t" + b.combination + "\t" + b.odds + "\t" + b.result);
    }
    return 0;
}

}  // namespace tarvo::cli
