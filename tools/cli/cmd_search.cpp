// tarvo-cli search horses|races: the search screen after its scan, the criteria
// given as options (defaults as the screen starts); tarvo-cli videos: the
// training video list of a date after "一覧取得" and any heading clicks;
// tarvo-cli version: the version screen. All in the screen-command form.
#include <filesystem>
#include <ostream>
#include <string>

#include "cli.h"
#include "code_tables.h"
#include "cp932.h"
#include "inifile.h"
#include "jvlink_emu.h"
#include "mvlist_view.h"
#include "screen_print.h"
#include "search_view.h"
#include "settings.h"
#include "startup.h"
#include "textfn.h"
#include "verinfo_view.h"

namespace tarvo::cli {
namespace {

// The text of each comma-separated item of a list option.
std::vector<std::string> items(const std::string& list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        out.push_back(list.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) return out;
        start = comma + 1;
    }
}

// A check-box group option: the boxes named (by caption or by number from 1)
// are checked, the others not. False for a name the group lacks.
template <std::size_t N>
bool checks(Context& ctx, const char* option, const CheckItem (&boxes)[N], std::array<bool, N>& on) {
    if (!ctx.has(option)) return true;
    on.fill(false);
    for (const std::string& item : items(ctx.option(option))) {
        bool found = false;
        for (std::size_t i = 0; i < N; ++i)
            if (item == boxes[i].caption || item == std::to_string(i + 1)) on[i] = found = true;
        if (!found) {
            *ctx.err << "tarvo-cli search: " << option << " has no box " << item << " (";
            for (std::size_t i = 0; i < N; ++i) *ctx.err << (i ? ", " : "") << boxes[i].caption;
            *ctx.err << ")\n";
            return false;
        }
    }
    return true;
}

// A whole-number option, or def when absent. False when it is not a number.
bool numberOption(Context& ctx, const char* option, int& value) {
    if (!ctx.has(option)) return true;
    long long n = 0;
    if (!parseInt(ctx.option(option), n)) {
        *ctx.err << "tarvo-cli search: " << option << " takes a number\n";
        return false;
    }
    value = static_cast<int>(n);
    return true;
}

bool dateOption(Context& ctx, const char* option, std::string& date) {
    if (!ctx.has(option)) return true;
    date = ctx.option(option);
    if (isCalendarDate(date)) return true;
    *ctx.err << "tarvo-cli search: " << option << " takes a date YYYYMMDD\n";
    return false;
}

std::string todayText() {
    const DateTime t = nowLocal();
    return std::to_string(t.year) + twoDigits(t.month) + twoDigits(t.day);
}

int searchHorsesCommand(Context& ctx) {
    HorseCriteria c;
    const struct {
        const char *option, *exact;
        NameCriterion& criterion;
    } names[] = {{"--name", "--exact", c.name},
                 {"--sire", "--sire-exact", c.sire},
                 {"--dam", "--dam-exact", c.dam},
                 {"--dam-sire", "--dam-sire-exact", c.damSire}};
    for (const auto& n : names) n.criterion = {toCp932(ctx.option(n.option)), ctx.has(n.exact)};
    c.trainer = toCp932(ctx.option("--trainer"));
    c.owner = toCp932(ctx.option("--owner"));
    c.activeOnly = ctx.has("--active");
    if (!checks(ctx, "--sexes", kHorseSexes, c.sexes) || !numberOption(ctx, "--age-from", c.ageFrom) ||
        !numberOption(ctx, "--age-to", c.ageTo))
        return 2;
    const SearchResult r = searchHorses(StorePaths(ctx.storeRoot()), c, nowLocal().year);
    printScreen(*ctx.out, horseSearchScreen(c, r));
    return 0;
}

int searchRacesCommand(Context& ctx) {
    RaceCriteria c;
    c.from = c.to = todayText();
    if (!dateOption(ctx, "--from", c.from) || !dateOption(ctx, "--to", c.to)) return 2;
    if (ctx.has("--track")) {
        const std::string track = toCp932(ctx.option("--track"));
        bool found = track == sj(kAllTracks);
        for (int j = 1; j <= 10 && !found; ++j)
            if (track == trackName(twoDigits(j)) || ctx.option("--track") == twoDigits(j)) {
                c.jyoCD = twoDigits(j);
                found = true;
            }
        if (!found) {
            *ctx.err << "tarvo-cli search: --track takes a central track name, its code 01 to 10 or 全場\n";
            return 2;
        }
    }
    c.name = toCp932(ctx.option("--name"));
    if (!checks(ctx, "--ages", kRaceAges, c.ages) || !checks(ctx, "--classes", kRaceClasses, c.classes) ||
        !checks(ctx, "--surfaces", kRaceSurfaces, c.surfaces) || !numberOption(ctx, "--distance-from", c.distanceFrom) ||
        !numberOption(ctx, "--distance-to", c.distanceTo) || !checks(ctx, "--sexes", kRaceSexes, c.sexes) ||
        !checks(ctx, "--weights", kRaceWeights, c.weights) || !checks(ctx, "--goings", kRaceGoings, c.goings))
        return 2;
    const SearchResult r = searchRaces(StorePaths(ctx.storeRoot()), c);
    printScreen(*ctx.out, raceSearchScreen(c, r));
    return 0;
}

// A heading by caption or by column number.
int headingColumn(const std::string& heading) {
    for (int col = 0; col < kMvColumns; ++col)
        if (*kVideoHeadings[col] && (heading == kVideoHeadings[col] || heading == std::to_string(col))) return col;
    return -1;
}

}  // namespace

int cmdSearch(Context& ctx) {
    if (ctx.args.size() == 1 && ctx.args[0] == "horses") return searchHorsesCommand(ctx);
    if (ctx.args.size() == 1 && ctx.args[0] == "races") return searchRacesCommand(ctx);
    *ctx.err << "usage: tarvo-cli search horses [--name TEXT [--exact]] [--sire TEXT [--sire-exact]] "
                "[--dam TEXT [--dam-exact]] [--dam-sire TEXT [--dam-sire-exact]] [--trainer TEXT] [--owner TEXT] "
                "[--sexes LIST] [--age-from N] [--age-to N] [--active]\n"
                "       tarvo-cli search races [--from YYYYMMDD] [--to YYYYMMDD] [--track NAME] [--name TEXT] "
                "[--ages LIST] [--classes LIST] [--surfaces LIST] [--distance-from M] [--distance-to M] "
                "[--sexes LIST] [--weights LIST] [--goings LIST]\n";
    return 2;
}

int cmdVideos(Context& ctx) {
    if (ctx.args.size() != 1 || !isCalendarDate(ctx.args[0])) {
        *ctx.err << "usage: tarvo-cli videos YYYYMMDD [--sort HEADING[,HEADING...]] [--source DIR]\n";
        return 2;
    }
    JVLinkEmulator jv(ctx.home());
    if (ctx.has("--source")) jv.overrideSource(std::filesystem::absolute(ctx.option("--source")).string());
    jv.JVInit(kSoftwareId);
    VideoList list = fetchVideoList(jv, StorePaths(ctx.storeRoot()), ctx.args[0]);
    if (ctx.has("--sort"))
        for (const std::string& heading : items(ctx.option("--sort"))) {
            if (!clickVideoHeading(list.sort, headingColumn(heading))) {
                *ctx.err << "tarvo-cli videos: no heading " << heading << '\n';
                return 2;
            }
            sortVideoRows(list.rows, list.sort);
        }
    // The list button is enabled as the race viewer option sets it.
    const bool raceViewer = toIntDef(jv.m_JVLinkVersion(), 0) >= 240 &&
                            IniFile(ctx.home() + kSettingsFileName).read("RACE_VIEW", "race_vtr") == "1";
    printScreen(*ctx.out, videoListScreen(list, raceViewer));
    return 0;
}

int cmdVersion(Context& ctx) {
    JVLinkEmulator jv(ctx.home());
    printScreen(*ctx.out, versionScreen(jv.m_JVLinkVersion()));
    return 0;
}

}  // namespace tarvo::cli
