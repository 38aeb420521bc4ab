// The identity of a race as it travels between the store, the look-ups and the
// track data builders: year, month-day, track code and race number, each as
// stored (four, four, two and two characters).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "layouts.h"

namespace tarvo {

struct RaceKey {
    std::string year, monthDay, jyoCD, raceNum;

    RaceKey() = default;
    RaceKey(std::string_view y, std::string_view md, std::string_view jyo, std::string_view race)
        : year(y), monthDay(md), jyoCD(jyo), raceNum(race) {}

    // The key of a stored line of a race family (RA, SE, HR, CK, O2 to O6).
    static RaceKey of(Family f, std::string_view line);

    // The twelve characters year + month-day + track + race.
    std::string text() const { return year + monthDay + jyoCD + raceNum; }
    // The key of a text() form: twelve characters, year and month-day digits,
    // track and race letters or digits; nullopt for anything else.
    static std::optional<RaceKey> parse(std::string_view text);

    // The race date as yyyymmdd.
    std::string date() const { return year + monthDay; }

    bool operator==(const RaceKey&) const = default;
};

}  // namespace tarvo
