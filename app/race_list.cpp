#include "race_list.h"

#include <algorithm>

#include "code_tables.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "textfn.h"

namespace tarvo {
namespace {

std::string raField(std::string_view line, std::string_view name) { return trimBoth(getField(Family::RA, line, name)); }

// Track code followed by race number read as one integer ("05" and "11" give 511).
int listOrderKey(std::string_view raLine) { return toIntDef(raField(raLine, "JyoCD") + raField(raLine, "RaceNum"), 0); }

}  // namespace

// ---- Race list ----

std::string raceListLine(std::string_view raLine) {
    std::string title = raField(raLine, "Ryakusyo6");
    if (title.empty())
        title = classNameShort(raField(raLine, "SyubetuCD"), raField(raLine, "JyokenCD5"),
                               raField(raLine, "Year") + raField(raLine, "MonthDay"));
    return trimBoth(trackName(raField(raLine, "JyoCD")) + std::string(getField(Family::RA, raLine, "RaceNum")) + "R " +
                    title);
}

RaceList listRaces(const StorePaths& p, std::string_view year, std::string_view monthDay) {
    struct Kept {
        int key;
        std::string line;
    };
    std::vector<Kept> kept;
    RaceList list;
    // The month file's letter follows the track code: any central code gives the
    // central file, any other code the local one.
    for (std::string_view anyTrack : {"01", "30"}) {
        scanMatching(p.ra(year, monthDay, anyTrack), Family::RA, {{"Year", year}, {"MonthDay", monthDay}},
                     [&](std::string_view line) {
                         const std::string_view kubun = getField(Family::RA, line, "DataKubun");
                         if (kubun == "0") return true;
                         const int k = toIntDef(kubun, 0);
                         if (k >= 2 && k <= 6) list.sameDay = true;
                         kept.push_back({listOrderKey(line), raceListLine(line)});
                         return true;
                     });
    }
    std::stable_sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) { return a.key < b.key; });
    list.lines.reserve(kept.size());
    for (Kept& k : kept) list.lines.push_back(std::move(k.line));
    return list;
}

RaceLineParts readRaceListLine(std::string_view line) {
    RaceLineParts r;
    r.trackName = std::string(part(line, 0, 4));
    r.jyoCD = trackCode(r.trackName);
    r.raceNum = std::string(part(line, 4, 2));
    r.title = std::string(part(line, 8, std::string_view::npos));
    return r;
}

// ---- Button states ----

Gate fetchButtonsAfterListing(bool readOnly, bool listEmpty, bool sameDay) {
    if (listEmpty) return Gate::Disable;
    if (readOnly) return Gate::Keep;
    return sameDay ? Gate::Enable : Gate::Disable;
}

SelectionButtons selectionButtons(bool readOnly, std::string_view jyoCD, std::string_view dataKubun, bool oddsFinal) {
    SelectionButtons b;
    // "1" is an entry list without final data, "9" a cancelled race.
    const bool nothingToFetch = dataKubun == "1" || dataKubun == "9";
    if (readOnly) {
        if (nothingToFetch) b.result = b.oddsList = Gate::Disable;
        return b;
    }
    if (!isCentralTrack(jyoCD)) {
        b.dataGet = b.oddsGet = b.oddsBch = b.rstBch = b.oddsList = Gate::Disable;
    } else if (nothingToFetch) {
        b.dataGet = b.oddsGet = b.oddsBch = b.rstBch = b.result = b.oddsList = Gate::Disable;
    } else if (dataKubun == "7") {
        b.dataGet = b.oddsGet = b.oddsBch = b.rstBch = Gate::Disable;
        b.oddsList = Gate::Enable;
    } else {
        b.dataGet = b.oddsBch = b.rstBch = b.oddsList = Gate::Enable;
        b.oddsGet = oddsFinal ? Gate::Disable : Gate::Enable;
    }
    return b;
}

bool isOddsFinal(const StorePaths& p, std::string_view year, std::string_view monthDay, std::string_view jyoCD,
                 std::string_view raceNum) {
    const auto final = [](Family f, const std::string& line) {
        return toIntDef(trimBoth(getField(f, line, "DataKubun")), 0) >= 3;
    };
    return final(Family::O2, findQuinellaOdds(p, {year, monthDay, jyoCD, raceNum})) &&
           final(Family::O4, findExactaOdds(p, {year, monthDay, jyoCD, raceNum}));
}

}  // namespace tarvo
