// tarvo-cli live: the same-day updates of the main window.
//   live changes YYYYMMDD     change information of a day, then caption<TAB>TEXT
//   live weights YYYYMMDD     body weights of a day
//   live odds YEAR MONTHDAY JYOCD RACENUM      odds of a race
//   live results YEAR MONTHDAY JYOCD RACENUM   results of a race
//   live batch odds|results YYYYMMDD [--cancel-after-races N] [--shown JYOCD RACENUM]
//       the batch of "オ" or "結" over the date's race list: per race a line
//       race<TAB>JYOCD<TAB>RACENUM<TAB>ACTIONS followed by its messages, and
//       shown<TAB>JYOCD<TAB>RACENUM[<TAB><中止>] when the shown race is shown again.
// Every message box text is printed as a line. --source reads another source folder.
#include <string>

#include "card_view.h"
#include "cli.h"
#include "cp932.h"
#include "live_fetch.h"
#include "race_list.h"
#include "service_start.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

constexpr const char* kUsage =
    "usage: live changes|weights YYYYMMDD | live odds|results YEAR MONTHDAY JYOCD RACENUM | "
    "live batch odds|results YYYYMMDD [--cancel-after-races N] [--shown JYOCD RACENUM] [--source DIR]\n";

// Messages print at once, or wait until the batch has printed its race line.
class CliLiveView : public LiveView {
public:
    explicit CliLiveView(Context& ctx) : ctx_(ctx) {}
    void message(MessageKind, const std::string& text) override {
        if (hold_) held_.push_back(text);
        else ctx_.println(text);
    }
    void hold() { hold_ = true; }
    void release() {
        for (const std::string& t : held_) ctx_.println(t);
        held_.clear();
        hold_ = false;
    }

private:
    Context& ctx_;
    bool hold_ = false;
    std::vector<std::string> held_;
};

bool isCode(const std::string& s, std::size_t n) {
    return s.size() == n && s.find_first_not_of("0123456789") == std::string::npos;
}

int batch(Context& ctx, LiveUpdates& live, CliLiveView& view, const StorePaths& paths, bool readOnly) {
    const auto& a = ctx.args;
    const std::string& date = a[2];
    long long cancelAfter = 0;
    if (ctx.has("--cancel-after-races") && (!parseInt(ctx.option("--cancel-after-races"), cancelAfter) || cancelAfter < 1))
        return -1;
    std::optional<RaceKey> shown;
    if (ctx.has("--shown")) {
        if (a.size() != 4) return -1;
        shown = RaceKey(date.substr(0, 4), date.substr(4), ctx.option("--shown"), a[3]);
    } else if (a.size() != 3) {
        return -1;
    }
    std::vector<RaceKey> races;
    for (const std::string& line : listRaces(paths, date.substr(0, 4), date.substr(4)).lines) {
        const RaceLineParts parts = readRaceListLine(line);
        races.emplace_back(date.substr(0, 4), date.substr(4), parts.jyoCD, parts.raceNum);
    }
    const bool hasStart = shown && cardHeader(paths, *shown).hTime.rfind("--", 0) != 0;
    long long done = 0;
    live.runBatch(a[1] == "odds" ? BatchKind::Odds : BatchKind::Results, date, races, !readOnly,
                  [&](const BatchStep& s) {
                      ctx.println("race\t" + s.race.jyoCD + "\t" + s.race.raceNum + "\t" + s.actions);
                      view.release();
                      if (s.actions != "skip" && hasStart && s.race == *shown)
                          ctx.println("shown\t" + s.race.jyoCD + "\t" + s.race.raceNum +
                                      (s.raceCancelled ? "\t" + sj("<中止>") : std::string()));
                      if (cancelAfter > 0 && ++done >= cancelAfter) live.cancel();
                  },
                  [&](const RaceKey&) { view.hold(); });
    view.release();
    return 0;
}

}  // namespace

int cmdLive(Context& ctx) {
    const auto& a = ctx.args;
    const std::string what = a.empty() ? std::string() : a[0];
    const bool day = (what == "changes" || what == "weights") && a.size() == 2 && isCalendarDate(a[1]);
    const bool race = (what == "odds" || what == "results") && a.size() == 5 && isCode(a[1], 4) && isCode(a[2], 4) &&
                      a[3].size() == 2 && a[4].size() == 2;
    const bool isBatch = what == "batch" && a.size() >= 3 && (a[1] == "odds" || a[1] == "results") && isCalendarDate(a[2]);
    if (!day && !race && !isBatch) {
        *ctx.err << kUsage;
        return 2;
    }
    StartedService started;
    if (!startWithService(ctx, "live", started)) return 1;
    const StorePaths paths(started.state.storeRoot);
    CliLiveView view(ctx);
    LiveUpdates live(*started.jvlink, paths, view);
    if (what == "changes") {
        live.fetchChanges(a[1]);
        ctx.println("caption\t" + weatherCaption(kAppCaption, live.weatherSummary()));
    } else if (what == "weights") {
        live.fetchWeights(a[1]);
    } else if (what == "odds") {
        live.fetchOdds(RaceKey(a[1], a[2], a[3], a[4]));
    } else if (what == "results") {
        live.fetchResults(RaceKey(a[1], a[2], a[3], a[4]));
    } else {
        if (batch(ctx, live, view, paths, started.state.readOnly) < 0) {
            *ctx.err << kUsage;
            return 2;
        }
    }
    return 0;
}

}  // namespace tarvo::cli
