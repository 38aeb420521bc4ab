// tarvo-cli show: one stored record found by its family's look-up, printed as
// "field<TAB>value" lines in layout order with the values untrimmed; or, for
// "show odds", the odds element of one combination. Nothing is printed and the
// status is 1 when there is no such record.
#include <functional>
#include <ostream>

#include "cli.h"
#include "layouts.h"
#include "lookups.h"
#include "store_paths.h"

namespace tarvo::cli {
namespace {

using Args = std::vector<std::string>;

struct ShowKind {
    const char* family;
    const char* keys;  // for the usage text
    std::size_t argCount;
    std::function<std::string(const StorePaths&, const Args&)> find;
    // The same record in the old store format, looked in when the new one has none.
    struct OldFormat {
        Family family;
        const char* keyField;
        std::string (*path)(const StorePaths&, const std::string& key);
    };
    std::optional<OldFormat> old = std::nullopt;
};

// The finder of a family keyed by race alone (year, month-day, track, race number).
auto byRace(Family f) {
    return [f](const StorePaths& p, const Args& a) {
        switch (f) {
            case Family::RA: return findRace(p, {a[0], a[1], a[2], a[3]});
            case Family::HR: return findPayout(p, {a[0], a[1], a[2], a[3]});
            default: return findOdds(p, f, {a[0], a[1], a[2], a[3]});
        }
    };
}

const std::vector<ShowKind>& kinds() {
    static const char* kRace = "YEAR MONTHDAY JYOCD RACENUM";
    static const std::vector<ShowKind> list = {
        {"RA", kRace, 4, byRace(Family::RA)},
        {"SE", "YEAR MONTHDAY JYOCD RACENUM UMABAN", 5,
         [](const StorePaths& p, const Args& a) { return findRunnerByNumber(p, {a[0], a[1], a[2], a[3]}, a[4]); }},
        {"HR", kRace, 4, byRace(Family::HR)},
        {"O2", kRace, 4, byRace(Family::O2)},
        {"O3", kRace, 4, byRace(Family::O3)},
        {"O4", kRace, 4, byRace(Family::O4)},
        {"O5", kRace, 4, byRace(Family::O5)},
        {"O6", kRace, 4, byRace(Family::O6)},
        {"CK", "YEAR MONTHDAY JYOCD RACENUM KETTONUM", 5,
         [](const StorePaths& p, const Args& a) { return findAptitude(p, {a[0], a[1], a[2], a[3]}, a[4]); }},
        {"UM", "KETTONUM", 1, [](const StorePaths& p, const Args& a) { return findHorse(p, a[0]); },
         ShowKind::OldFormat{Family::UMOld, "KettoNum", [](const StorePaths& p, const std::string& k) { return p.umOld(k, "dat"); }}},
        {"UMIDX", "KETTONUM", 1, [](const StorePaths& p, const Args& a) { return findRunIndexLine(p, a[0]); }},
        {"SK", "KETTONUM", 1, [](const StorePaths& p, const Args& a) { return findOffspring(p, a[0]); },
         ShowKind::OldFormat{Family::SKOld, "KettoNum", [](const StorePaths& p, const std::string& k) { return p.skOld(k); }}},
        {"KS", "KISYUCODE", 1, [](const StorePaths& p, const Args& a) { return findJockey(p, a[0]); }},
        {"CH", "CHOKYOSICODE", 1, [](const StorePaths& p, const Args& a) { return findTrainer(p, a[0]); }},
        {"BN", "BANUSICODE", 1, [](const StorePaths& p, const Args& a) { return findOwner(p, a[0]); }},
        {"HN", "HANSYOKUNUM", 1, [](const StorePaths& p, const Args& a) { return findBreedingHorse(p, a[0]); },
         ShowKind::OldFormat{Family::HNOld, "HansyokuNum", [](const StorePaths& p, const std::string& k) { return p.hnOld(k); }}},
        {"BR", "BREEDERCODE", 1, [](const StorePaths& p, const Args& a) { return findBreeder(p, a[0]); },
         ShowKind::OldFormat{Family::BROld, "BreederCode", [](const StorePaths& p, const std::string& k) { return p.brOld(k); }}},
    };
    return list;
}

int usage(Context& ctx) {
    *ctx.err << "usage: tarvo-cli show FAMILY KEYS...\n";
    for (const ShowKind& k : kinds()) *ctx.err << "  show " << k.family << ' ' << k.keys << '\n';
    *ctx.err << "  show odds O2|O3|O4|O5|O6 YEAR MONTHDAY JYOCD RACENUM KUMI\n";
    return 2;
}

const ShowKind* kindOf(const std::string& family) {
    for (const ShowKind& k : kinds())
        if (family == k.family) return &k;
    return nullptr;
}

}  // namespace

int cmdShow(Context& ctx) {
    if (ctx.args.empty()) return usage(ctx);
    const StorePaths paths(ctx.storeRoot());

    if (ctx.args[0] == "odds") {
        const std::optional<Family> f = ctx.args.size() == 7 ? familyById(ctx.args[1]) : std::nullopt;
        if (!f || !oddsInfo(*f)) return usage(ctx);
        const Args& a = ctx.args;
        const std::string line = findOdds(paths, *f, {a[2], a[3], a[4], a[5]});
        const std::string_view element = oddsElement(*f, line, a[6]);
        if (element.empty()) return 1;
        ctx.println(std::string(element));
        return 0;
    }

    const ShowKind* kind = kindOf(ctx.args[0]);
    if (!kind || ctx.args.size() != kind->argCount + 1) return usage(ctx);
    const Args keys(ctx.args.begin() + 1, ctx.args.end());
    std::string line = kind->find(paths, keys);
    Family f = *familyById(kind->family);
    if (line.empty() && kind->old) {
        line = findLine(kind->old->path(paths, keys[0]), kind->old->family, {{kind->old->keyField, keys[0]}});
        f = kind->old->family;
    }
    if (line.empty()) return 1;
    for (const Field& field : layoutOf(f).fields) ctx.println(field.name + "\t" + std::string(fieldText(line, field)));
    return 0;
}

}  // namespace tarvo::cli
