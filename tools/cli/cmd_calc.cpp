// tarvo-cli calc: one engine function per call, its result printed as the
// function returns it. calc --batch reads one call per line from standard
// input (words separated by tabs, an empty word an empty argument) and prints
// one result per line, so that many calls cost one process. Words and results
// are UTF-8 here and CP932 inside the engine.
#include <charconv>
#include <cstdlib>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "newcomer_stats.h"
#include "race_predict.h"
#include "settings.h"
#include "std_tables.h"
#include "store_paths.h"
#include "textfn.h"
#include "run_index.h"
#include "runner_eval.h"
#include "time_calc.h"
#include "track_variant.h"

namespace tarvo::cli {

namespace {

using Words = std::vector<std::string>;  // CP932

// The lines a call prints, or the reason it could not be made.
struct Outcome {
    std::vector<std::string> lines;
    std::string error;
    bool listFunctions = false;  // the error is about the function name
};

Outcome result(std::string line) { return {{std::move(line)}, {}}; }
Outcome failure(std::string why) { return {{}, std::move(why)}; }

// The shortest decimal text that reads back as the same single-precision value ("1.02", "0.995", "1").
std::string shortestText(float f) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, f, std::chars_format::fixed);
    return std::string(buf, res.ptr);
}

std::string flagText(bool b) { return b ? "1" : "0"; }

std::string bracketed(const std::string& s) { return "[" + s + "]"; }

std::optional<long double> parseNumber(const std::string& s) {
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const long double v = std::strtold(s.c_str(), &end);
    if (end != s.c_str() + s.size()) return std::nullopt;
    return v;
}

Outcome calcSettings(const Context& ctx, const Words&) {
    const EngineSettings& s = loadEngineSettings(ctx.home() + kSettingsFileName);
    return {{"weight\t" + shortestText(s.weight), "distidx\t" + flagText(s.distidx), "dsthyo\t" + flagText(s.dsthyo),
             "kshadd\t" + flagText(s.kshadd), "bbdcmp\t" + flagText(s.bbdcmp), "oddadd\t" + flagText(s.oddadd),
             "taiadd\t" + flagText(s.taiadd), "bcdadd\t" + flagText(s.bcdadd)},
            {}};
}

Outcome calcStd(const Context&, const Words& a) {
    if (a[0].size() != 1 || a[0][0] < 'A' || a[0][0] > 'E') return failure("TABLE must be one of A to E");
    const auto v = standardLookup(a[0][0], a[1], a[2]);
    return result(v ? std::to_string(*v) : "missing");
}

Outcome calcCoef(const Context&, const Words& a) { return result(shortestText(distanceCoefficient(a[0]))); }

Outcome calcRound(const Context&, const Words& a) {
    const auto x = parseNumber(a[0]);
    if (!x) return failure("X must be a number");
    return result(std::to_string(roundHalfAway(*x)));
}

Outcome calcTenths(const Context&, const Words& a) { return result(std::to_string(storedTimeToTenths(a[0]))); }

Outcome calcFrontPace(const Context&, const Words& a) {
    return result(std::to_string(frontPace(a[0], a[1], a[2])));
}

Outcome calcDays(const Context&, const Words& a) {
    const auto d = daysBetween(a[0], a[1]);
    if (!d) return failure("DATE1 and DATE2 must be dates YYYYMMDD");
    return result(std::to_string(*d));
}

Outcome calcRefTime(const Context& ctx, const Words& a) {
    PlaceOrder order;
    if (a[4] == "confirmed")
        order = PlaceOrder::Confirmed;
    else if (a[4] == "arrival")
        order = PlaceOrder::Arrival;
    else
        return failure("the order must be confirmed or arrival");
    return result(std::to_string(referenceTime(StorePaths(ctx.storeRoot()), a[0], a[1], a[2], a[3], order)));
}

Outcome calcTrim(const Context&, const Words& a) { return result(bracketed(trimBoth(a[0]))); }
Outcome calcHalf(const Context&, const Words& a) { return result(bracketed(toHalfWidth(a[0]))); }
Outcome calcFull(const Context&, const Words& a) { return result(bracketed(toFullWidth(a[0]))); }
Outcome calcCircled(const Context&, const Words& a) { return result(bracketed(circledNumber(a[0]))); }

template <std::string (*pad)(std::string_view, std::size_t)>
Outcome calcPad(const Context&, const Words& a) {
    long long width = 0;
    if (!parseInt(a[1], width) || width < 0) return failure("WIDTH must be a whole number of 0 or more");
    return result(bracketed(pad(a[0], static_cast<std::size_t>(width))));
}

Outcome calcClassAdj(const Context&, const Words& a) {
    return result(std::to_string(classAdjustment(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7])));
}

Outcome calcTop3(const Context& ctx, const Words& a) {
    return result(topThreeFigures(StorePaths(ctx.storeRoot()), {a[0], a[1], a[2], a[3]}));
}

Outcome calcVariant(const Context& ctx, const Words& a) {
    const bool distidx = reloadDistanceCoefficientSetting(ctx.home() + kSettingsFileName);
    return result(raceVariant(StorePaths(ctx.storeRoot()), {a[0], a[1], a[2], a[3]}, a[4], distidx));
}

Outcome calcStoredVariant(const Context& ctx, const Words& a) {
    return result(storedVariant(StorePaths(ctx.storeRoot()), ctx.home() + "file/", a[0], a[1], a[2]));
}

// The run indices read the engine settings as every evaluation does: loaded first.
void loadSettings(const Context& ctx) { loadEngineSettings(ctx.home() + kSettingsFileName); }

Outcome calcRunIndex(const Context& ctx, const Words& a) {
    loadSettings(ctx);
    return result(runIndex(a[0], a[1], a[2], a[3], a[4]));
}

Outcome calcL3fIndex(const Context& ctx, const Words& a) {
    loadSettings(ctx);
    return result(last3fIndex(a[0], a[1], a[2], a[3], a[4], a[5], a[6]));
}

template <std::string (*index)(const StorePaths&, const RaceRun&)>
Outcome calcRaceRunIndex(const Context& ctx, const Words& a) {
    loadSettings(ctx);
    const RaceRun run{a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11]};
    return result(index(StorePaths(ctx.storeRoot()), run));
}

// The newcomer statistics readers: the 18-byte text or an empty line.
template <std::string (*reader)(const std::string&, std::string_view, std::string_view, std::string_view)>
Outcome calcNewcomer(const Context& ctx, const Words& a) {
    return result(reader(ctx.home() + "file/", a[0], a[1], a[2]));
}

Outcome calcLocalClass(const Context&, const Words& a) {
    return result(std::to_string(localClassValue(a[0], a[1], a[2], a[3], a[4])));
}

// The command line evaluates as a caller other than the main window.
constexpr const char* kCliCaller = "tarvo-cli";

Outcome calcEval(const Context& ctx, const Words& a) {
    loadSettings(ctx);
    const StorePaths paths(ctx.storeRoot());
    // The arguments in the order of the call's fields, the caller first and the row last.
    const RunnerCall c{kCliCaller, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9], a[10], a[11], a[12], 1};
    return result(evaluateRunner({paths, ctx.home() + "file/"}, c));
}

Outcome calcCourseCheck(const Context& ctx, const Words& a) {
    return result(courseAptitudeCheck(StorePaths(ctx.storeRoot()), {a[0], a[1], a[2], a[3]}, a[4], a[5], a[6], a[7]));
}

Outcome calcJockeyCheck(const Context& ctx, const Words& a) {
    return result(jockeyAptitudeCheck(StorePaths(ctx.storeRoot()), {a[0], a[1], a[2], a[3]}, a[4], a[5], a[6], a[7]));
}

Outcome calcInterval(const Context&, const Words& a) {
    long long days = 0;
    if (!parseInt(a[1], days)) return failure("DAYS must be a whole number");
    return result(std::to_string(intervalPenalty(a[0], static_cast<int>(days))));
}

Outcome calcDraw(const Context&, const Words& a) {
    return result(std::to_string(drawScore(a[0], a[1], toIntDef(a[2], 0), toIntDef(a[3], 0), a[4])));
}

// X is read as the prediction reads the mean corner position: a number, 0 when it is not one.
Outcome calcStyle(const Context&, const Words& a) {
    const double x = static_cast<double>(parseNumber(trimBoth(a[3])).value_or(0));
    return result(std::to_string(runningStyleScore(a[0], a[1], a[2], x, a[4], a[5])));
}

// The numeric arguments by name, with the range of the stored field each
// stands for. A number outside it is refused before the engine sees it: the
// engine's arithmetic is sized for the fields. Texts that are no number go
// through, the engine reading them as missing.
struct ArgumentRange {
    const char* name;
    long long low, high;
    const char* field;
};

constexpr ArgumentRange kArgumentRanges[] = {
    {"TIME", 0, 9999, "a time of 4 digits, minutes and tenths of seconds"},
    {"L3F", 0, 999, "a time of 3 digits in tenths of seconds"},
    {"HARONTIMEL3", 0, 999, "a time of 3 digits in tenths of seconds"},
    {"TIMEDIFF", -999, 9999, "a time difference of 4 characters in tenths of seconds"},
    {"TIMEVARIANT", -999, 999, "a variant of 4 characters"},
    {"L3FVARIANT", -999, 999, "a variant of 4 characters"},
    {"FUTAN", 0, 999, "a weight of 3 digits in tenths of a kilogram"},
    {"WIDTH", 0, 99999, "a field width"},
    {"WEIGHTKG", 0, 99, "a weight carried in kilograms"},
    {"BATAIJYU", 0, 999, "a body weight of 3 digits in kilograms"},
    {"DAYS", -99999, 99999, "a number of days"},
    {"UMABAN", 0, 99, "a horse number of 2 digits"},
    {"MAXUMABAN", 0, 99, "a horse number of 2 digits"},
};

// The refusal of an argument outside its field's range, or "".
std::string outOfRange(std::string_view name, const std::string& word) {
    for (const ArgumentRange& r : kArgumentRanges) {
        if (name != r.name) continue;
        const std::string number = trimBoth(word);
        std::string_view digits = number;
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return {};
        long long v = 0;
        if (parseInt(number, v) && v >= r.low && v <= r.high) return {};
        return std::string(r.name) + " must be from " + std::to_string(r.low) + " to " + std::to_string(r.high) + " (" +
               r.field + "): " + word;
    }
    return {};
}

struct Function {
    const char* name;
    std::size_t argCount;
    const char* args;
    Outcome (*run)(const Context&, const Words&);
};

const std::vector<Function>& functions() {
    static const std::vector<Function> list = {
        {"settings", 0, "", calcSettings},
        {"std", 3, "TABLE COURSEKEY JYOCD", calcStd},
        {"coef", 1, "COURSEKEY", calcCoef},
        {"round", 1, "X", calcRound},
        {"tenths", 1, "TIME", calcTenths},
        {"front-pace", 3, "TIME COURSEKEY L3F", calcFrontPace},
        {"days", 2, "DATE1 DATE2", calcDays},
        {"reftime", 5, "YEAR MONTHDAY JYOCD RACENUM confirmed|arrival", calcRefTime},
        {"trim", 1, "TEXT", calcTrim},
        {"half", 1, "TEXT", calcHalf},
        {"full", 1, "TEXT", calcFull},
        {"circled", 1, "TEXT", calcCircled},
        {"pad-left", 2, "TEXT WIDTH", calcPad<padLeft>},
        {"pad-right", 2, "TEXT WIDTH", calcPad<padRight>},
        {"class-adj", 8, "MONTHDAY JYOCD TRACKCD RYAKUSYO6 KIGOCD GRADECD JYOKENCD5 SYUBETUCD", calcClassAdj},
        {"top3", 4, "YEAR MONTHDAY JYOCD RACENUM", calcTop3},
        {"variant", 5, "YEAR MONTHDAY JYOCD RACENUM COURSEKEY", calcVariant},
        {"stored-variant", 3, "DATE8 JYOCD RACENUM", calcStoredVariant},
        {"run-index", 5, "JYOCD COURSEKEY TIME TIMEVARIANT FUTAN", calcRunIndex},
        {"l3f-index", 7, "JYOCD COURSEKEY TIME L3FVARIANT TIMEDIFF FUTAN HARONTIMEL3", calcL3fIndex},
        {"race-index", 12,
         "YEAR MONTHDAY JYOCD RACENUM RYAKUSYO6 KIGOCD GRADECD JYOKENCD5 SYUBETUCD FUTAN COURSEKEY TIME",
         calcRaceRunIndex<raceBasedIndex>},
        {"jump-index", 12,
         "YEAR MONTHDAY JYOCD RACENUM RYAKUSYO6 KIGOCD GRADECD JYOKENCD5 SYUBETUCD FUTAN COURSEKEY TIME",
         calcRaceRunIndex<steeplechaseIndex>},
        {"local-class", 5, "JYOCD SYUBETUCD JYOKENCD5 GRADECD RYAKUSYO6", calcLocalClass},
        {"eval", 13,
         "YEAR MONTHDAY KETTONUM KISYUCODE KISYUCODEBEFORE CHOKYOSICODE COURSEKEY WEIGHTKG JYOKENCD5 GRADECD "
         "JYURYOCD BATAIJYU SEXCD",
         calcEval},
        {"course-check", 8, "YEAR MONTHDAY JYOCD RACENUM GRADECD KYORI TRACKCD KETTONUM", calcCourseCheck},
        {"jockey-check", 8, "YEAR MONTHDAY JYOCD RACENUM KISYUCODE KYORI TRACKCD KETTONUM", calcJockeyCheck},
        {"interval", 2, "GRADECD DAYS", calcInterval},
        {"shb-jockey", 3, "YEAR KISYUCODE COURSEKEY", calcNewcomer<jockeyStatistics>},
        {"shb-sire", 3, "YEAR NAME COURSEKEY", calcNewcomer<sireStatistics>},
        {"shb-damsire", 3, "YEAR NAME COURSEKEY", calcNewcomer<damSireStatistics>},
        {"draw", 5, "JYOCD COURSEKEY UMABAN MAXUMABAN GRADECD", calcDraw},
        {"style", 6, "JYOCD COURSEKEY GRADECD X PACELABEL JYOKENCD5", calcStyle},
    };
    return list;
}

std::string usageOf(const Function& f) {
    return std::string("calc ") + f.name + (*f.args ? " " : "") + f.args;
}

// One call: words[0] is the function name, the rest its arguments (CP932).
Outcome call(const Context& ctx, const Words& words) {
    if (words.empty() || words[0].empty()) return {{}, "no function given", true};
    for (const Function& f : functions()) {
        if (words[0] != f.name) continue;
        if (words.size() - 1 != f.argCount) return failure("usage: " + usageOf(f));
        std::string_view names = f.args;
        for (std::size_t i = 1; i < words.size(); ++i) {
            const std::size_t space = names.find(' ');
            if (const std::string why = outOfRange(names.substr(0, space), words[i]); !why.empty()) return failure(why);
            names = space == std::string_view::npos ? std::string_view() : names.substr(space + 1);
        }
        return f.run(ctx, Words(words.begin() + 1, words.end()));
    }
    return {{}, "unknown function " + words[0], true};
}

Words toCp932Words(const std::vector<std::string>& utf8) {
    Words w;
    w.reserve(utf8.size());
    for (const std::string& s : utf8) w.push_back(toCp932(s));
    return w;
}

// The tab-separated words of a batch line; an empty word stays an empty argument.
std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> words;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        words.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return words;
        start = tab + 1;
    }
}

int runBatch(Context& ctx) {
    if (!ctx.args.empty()) {
        *ctx.err << "tarvo-cli calc: --batch takes its calls from standard input only\n";
        return 2;
    }
    int status = 0;
    std::string line;
    while (std::getline(*ctx.in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Outcome o;
        try {
            o = call(ctx, toCp932Words(splitTabs(line)));
        } catch (const IoError& e) {
            o = failure(e.what());  // one failed read ends only its own call
        }
        if (!o.error.empty()) {
            ctx.println("error: " + o.error);
            status = 1;
        }
        for (const std::string& l : o.lines) ctx.println(l);
        ctx.out->flush();
    }
    return status;
}

}  // namespace

int cmdCalc(Context& ctx) {
    if (ctx.has("--batch")) return runBatch(ctx);
    const Outcome o = call(ctx, toCp932Words(ctx.args));
    if (!o.error.empty()) {
        *ctx.err << "tarvo-cli calc: " << toUtf8(o.error) << '\n';
        if (o.listFunctions)
            for (const Function& f : functions()) *ctx.err << "  " << usageOf(f) << '\n';
        return 2;
    }
    for (const std::string& l : o.lines) ctx.println(l);
    return 0;
}

}  // namespace tarvo::cli
