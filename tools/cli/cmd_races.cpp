// tarvo-cli races YYYYMMDD: the race list lines of that date in list order,
// then "same-day<TAB>1" or "same-day<TAB>0".
// tarvo-cli dates YEAR: the rows of the meeting dates list of that year in
// their final order (newest first), the ten grid columns separated by tabs.
#include <ostream>
#include <string>

#include "cli.h"
#include "code_tables.h"
#include "dtlist_view.h"
#include "race_list.h"
#include "store_paths.h"

namespace tarvo::cli {
namespace {

bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

int cmdRaces(Context& ctx) {
    if (ctx.args.size() != 1) {
        *ctx.err << "usage: tarvo-cli races YYYYMMDD\n";
        return 2;
    }
    const std::string& date = ctx.args[0];
    if (date.size() != 8 || !allDigits(date) || weekdayName(date).empty()) {
        *ctx.err << "tarvo-cli races: not a valid date: " << date << '\n';
        return 2;
    }
    const RaceList list = listRaces(StorePaths(ctx.storeRoot()), date.substr(0, 4), date.substr(4, 4));
    for (const std::string& line : list.lines) ctx.println(line);
    ctx.println(std::string("same-day\t") + (list.sameDay ? "1" : "0"));
    return 0;
}

int cmdDates(Context& ctx) {
    if (ctx.args.size() != 1) {
        *ctx.err << "usage: tarvo-cli dates YEAR\n";
        return 2;
    }
    const std::string& year = ctx.args[0];
    if (year.size() != 4 || !allDigits(year) || year == "0000") {
        *ctx.err << "tarvo-cli dates: not a year: " << year << '\n';
        return 2;
    }
    for (const DateRow& row : meetingDates(StorePaths(ctx.storeRoot()), year)) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "\t" : "") + row[i];
        ctx.println(line);
    }
    return 0;
}

}  // namespace tarvo::cli
