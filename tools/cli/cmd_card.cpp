// tarvo-cli card YEAR MONTHDAY JYOCD RACENUM [--us]: the race card as the main
// window builds it, one tab-separated record per line: the header labels, the
// engine keys, the grid rows, the mark slots and scores of every runner, the
// race-level figures and the three bet grids.
// tarvo-cli csv YEAR MONTHDAY JYOCD RACENUM FILE: that card's CSV file.
// tarvo-cli mark YEAR MONTHDAY JYOCD RACENUM UMABAN MARK: the user's mark of a
// runner (◎ ○ ▲ △ × ☆ 注, or 無印 for none) as the input screen sets it.
#include <algorithm>
#include <string>

#include "card_args.h"
#include "card_view.h"
#include "cli.h"
#include "cp932.h"
#include "fsys.h"
#include "engine_settings.h"
#include "runner_tables.h"
#include "settings.h"
#include "store_paths.h"
#include "textfn.h"
#include "useryoso_view.h"

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

bool raceArgs(const Context& ctx, std::size_t extra) {
    const auto& a = ctx.args;
    return a.size() == 4 + extra && digits(a[0], 4) && digits(a[1], 4) && a[2].size() == 2 && a[3].size() == 2;
}

RaceKey raceOf(const Context& ctx) { return RaceKey(ctx.args[0], ctx.args[1], ctx.args[2], ctx.args[3]); }

RaceCard buildCard(const Context& ctx, const StorePaths& paths, bool userMarks) {
    loadEngineSettings(ctx.home() + kSettingsFileName);
    return buildRaceCard({paths, ctx.home() + "file/"}, raceOf(ctx), userMarks);
}

int cmdCard(Context& ctx) {
    if (!raceArgs(ctx, 0)) {
        *ctx.err << "usage: tarvo-cli card YEAR MONTHDAY JYOCD RACENUM [--us]\n";
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    printRaceCard(ctx, buildCard(ctx, paths, ctx.has("--us")));
    return 0;
}

void printRaceCard(const Context& ctx, const RaceCard& card) {
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
}

int cmdCsv(Context& ctx) {
    if (!raceArgs(ctx, 1)) {
        *ctx.err << "usage: tarvo-cli csv YEAR MONTHDAY JYOCD RACENUM FILE\n";
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    writeFileAtomic(ctx.args[4], cardCsv(buildCard(ctx, paths, false)));
    return 0;
}

int cmdMark(Context& ctx) {
    if (!raceArgs(ctx, 2) || !digits(ctx.args[4], 2)) {
        *ctx.err << "usage: tarvo-cli mark YEAR MONTHDAY JYOCD RACENUM UMABAN MARK\n";
        return 2;
    }
    const std::string mark = ctx.args[5] == "無印" ? std::string() : toCp932(ctx.args[5]);
    const auto& marks = userMarkTexts();
    const auto button = std::find(marks.begin(), marks.end(), mark);
    if (button == marks.end()) {
        *ctx.err << "tarvo-cli mark: not a mark: " << ctx.args[5] << '\n';
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    const RaceCard card = buildCard(ctx, paths, false);
    const auto row = std::find_if(card.rows.begin(), card.rows.end(),
                                  [&](const ViewRow& r) { return trimBoth(r[1].text) == ctx.args[4]; });
    if (row == card.rows.end()) {
        *ctx.err << "tarvo-cli mark: no runner " << ctx.args[4] << " in the race card\n";
        return 1;
    }
    const UserMarkChoice choice = userMarkChoice(card.rows, static_cast<std::size_t>(row - card.rows.begin()));
    if (!choice.enabled[static_cast<std::size_t>(button - marks.begin())]) {
        *ctx.err << "tarvo-cli mark: another runner holds " << ctx.args[5] << '\n';
        return 1;
    }
    if (!storeUserMark(paths, raceOf(ctx), (*row)[1].text, (*row)[2].text, mark)) {
        *ctx.err << "tarvo-cli mark: the runner's record was not found; nothing stored\n";
        return 1;
    }
    return 0;
}

}  // namespace tarvo::cli
