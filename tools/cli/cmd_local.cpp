// tarvo-cli local-card FILE.rfl: the race card the main window shows after
// "出走表登録" of a provisional race card file, as tarvo-cli card prints it.
// tarvo-cli local-search NAMEPREFIX [--age N] [--date YYYYMMDD]: the horse
// search of the local graded race screen in the screen-command form.
// tarvo-cli race-edit YEAR MONTHDAY JYOCD RACENUM UMABAN L3F C2 C3 C4: the race
// data editor's correction of a local run, then the values stored.
#include <ostream>
#include <string>

#include "cli.h"
#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "layouts.h"
#include "local_card.h"
#include "local_raceedit.h"
#include "lookups.h"
#include "screen_print.h"
#include "settings.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

std::string today() {
    const DateTime now = nowLocal();
    return std::to_string(now.year) + twoDigits(now.month) + twoDigits(now.day);
}

bool isDigits(const std::string& s, std::size_t n) {
    return s.size() == n && s.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

int cmdLocalCard(Context& ctx) {
    if (ctx.args.size() != 1) {
        *ctx.err << "usage: tarvo-cli local-card FILE.rfl\n";
        return 2;
    }
    std::string data;
    if (!readFile(ctx.args[0], data)) {
        *ctx.err << "tarvo-cli local-card: cannot read " << ctx.args[0] << '\n';
        return 1;
    }
    const StorePaths paths(ctx.storeRoot());
    RflContent content = readRfl(paths, data, today());
    for (const std::string& p : content.problems) *ctx.err << "tarvo-cli local-card: " << p << '\n';
    if (content.header.date.empty()) content.header.date = today();
    if (isEmptyEntry(content.rows.front()) || trimBoth(content.header.courseKey).empty()) {
        *ctx.err << "tarvo-cli local-card: the card needs a course and a first runner\n";
        return 1;
    }
    loadEngineSettings(ctx.home() + kSettingsFileName);
    printRaceCard(ctx, buildLocalRaceCard({paths, ctx.home() + "file/"}, content.header, content.rows));
    return 0;
}

int cmdLocalSearch(Context& ctx) {
    const std::string date = ctx.has("--date") ? ctx.option("--date") : today();
    const int age = ctx.has("--age") ? toIntDef(ctx.option("--age"), -1) : 0;
    if (ctx.args.size() != 1 || !isCalendarDate(date) || (ctx.has("--age") && (age < 2 || age > 15))) {
        *ctx.err << "usage: tarvo-cli local-search NAMEPREFIX [--age 2..15] [--date YYYYMMDD]\n";
        return 2;
    }
    const std::vector<std::string> results = searchHorses(StorePaths(ctx.storeRoot()), toCp932(ctx.args[0]), age,
                                                          toIntDef(date.substr(0, 4), 0), nowLocal().year);
    printScreen(*ctx.out, localSearchView(results));
    return 0;
}

int cmdRaceEdit(Context& ctx) {
    const auto& a = ctx.args;
    if (a.size() != 9 || !isDigits(a[0], 4) || !isDigits(a[1], 4) || a[2].size() != 2 || !isDigits(a[3], 2) ||
        !isDigits(a[4], 2)) {
        *ctx.err << "usage: tarvo-cli race-edit YEAR MONTHDAY JYOCD RACENUM UMABAN L3F C2 C3 C4\n";
        return 2;
    }
    if (isCentralTrack(a[2])) {
        *ctx.err << "tarvo-cli race-edit: " << a[2] << " is not a local track\n";
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    const RaceKey race(a[0], a[1], a[2], a[3]);
    const std::string runner = findRunnerByNumber(paths, race, a[4]);
    if (runner.empty()) {
        *ctx.err << "tarvo-cli race-edit: no runner " << a[4] << " in that race\n";
        return 1;
    }
    const std::size_t dot = a[5].find('.');
    const std::string seconds = a[5].substr(0, dot), tenths = dot == std::string::npos ? "" : a[5].substr(dot + 1);
    const RaceDataEdit edit = raceDataEdit(seconds, tenths, {a[6], a[7], a[8]});
    const std::string ketto(getField(Family::SE, runner, "KettoNum"));
    const std::string jockey = trimBoth(getField(Family::SE, runner, "KisyuRyakusyo"));
    if (writeRaceData(paths, a[0] + a[1], trackName(a[2]), a[3], ketto, jockey, edit) != RaceDataWrite::Written) {
        *ctx.err << "tarvo-cli race-edit: the run's record was not found; nothing stored\n";
        return 1;
    }
    ctx.println("shown\t" + edit.l3fShown + "\t" + edit.positionsShown);
    const std::string stored = findRunnerByNumber(paths, race, a[4]);
    for (const char* name : {"KisyuRyakusyo", "Jyuni2c", "Jyuni3c", "Jyuni4c", "HaronTimeL3"})
        ctx.println(std::string("stored\t") + name + "\t" + std::string(getField(Family::SE, stored, name)));
    return 0;
}

}  // namespace tarvo::cli
