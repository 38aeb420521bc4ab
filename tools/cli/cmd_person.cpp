// tarvo-cli jockeys / trainers: the list screen after "再表示" (and a click on a
// heading); tarvo-cli jockey / trainer: the data screen of one person. Both in
// the screen-command form.
#include <ostream>
#include <string>

#include "cli.h"
#include "cp932.h"
#include "person_view.h"
#include "screen_print.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

// A heading by object name, or by caption (the first heading of that caption).
std::string headingName(const PersonKind& kind, const std::string& heading) {
    const auto hs = personHeadings(kind, false);
    for (const PersonHeading& h : hs)
        if (heading == h.objectName) return h.objectName;
    for (const PersonHeading& h : personHeadings(kind, true))
        if (heading == h.caption) return h.objectName;
    for (const PersonHeading& h : hs)
        if (heading == h.caption) return h.objectName;
    return {};
}

int listCommand(Context& ctx, const PersonKind& kind, const char* name) {
    PersonListFilter filter;
    filter.retired = ctx.has("--retired");
    filter.lastYear = ctx.has("--last-year");
    filter.name = toCp932(ctx.option("--name"));
    if (ctx.has("--areas")) {
        for (bool& a : filter.areas) a = false;
        for (char c : ctx.option("--areas")) {
            if (c >= '1' && c <= '4')
                filter.areas[c - '1'] = true;
            else if (c != ',') {
                *ctx.err << "tarvo-cli " << name << ": --areas takes 1 to 4 (関東, 関西, 地方, 海外)\n";
                return 2;
            }
        }
    }
    const bool sorting = ctx.has("--sort");
    if (ctx.args.size() > (sorting ? 1u : 0u) || (ctx.args.size() == 1 && ctx.args[0] != "asc" && ctx.args[0] != "dsc")) {
        *ctx.err << "usage: tarvo-cli " << name << " [--retired] [--areas LIST] [--name TEXT] [--last-year] "
                 << "[--sort HEADING [asc|dsc]]\n";
        return 2;
    }
    PersonList list = loadPersonList(kind, StorePaths(ctx.storeRoot()), filter, nowLocal().year);
    PersonSort sort;
    applySort(kind, sort, list.rows);
    if (sorting) {
        const std::string heading = headingName(kind, ctx.option("--sort"));
        if (!clickHeading(kind, sort, heading)) {
            *ctx.err << "tarvo-cli " << name << ": no heading " << ctx.option("--sort") << '\n';
            return 2;
        }
        if (!ctx.args.empty()) sort.direction = ctx.args[0];
        applySort(kind, sort, list.rows);
    }
    printScreen(*ctx.out, personListScreen(kind, list, sort, filter.lastYear));
    return 0;
}

int dataCommand(Context& ctx, const PersonKind& kind, const char* name) {
    const bool byName = ctx.has("--name");
    if (ctx.args.size() != (byName ? 0u : 1u)) {
        *ctx.err << "usage: tarvo-cli " << name << " CODE|--name SHORTNAME\n";
        return 2;
    }
    const std::string code = byName ? std::string() : ctx.args[0];
    const std::string shortName = byName ? toCp932(ctx.option("--name")) : std::string();
    printScreen(*ctx.out, personData(kind, StorePaths(ctx.storeRoot()), code, shortName).view);
    return 0;
}

}  // namespace

int cmdJockeys(Context& ctx) { return listCommand(ctx, kJockeys, "jockeys"); }
int cmdTrainers(Context& ctx) { return listCommand(ctx, kTrainers, "trainers"); }
int cmdJockey(Context& ctx) { return dataCommand(ctx, kJockeys, "jockey"); }
int cmdTrainer(Context& ctx) { return dataCommand(ctx, kTrainers, "trainer"); }

}  // namespace tarvo::cli
