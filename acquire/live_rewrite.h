// In-place rewrites of stored RA and SE lines by the same-day updates: a
// rewrite reads the race's RA month file or SE file line by line from the
// start, finds the record, and writes the same line back at its own position
// with the named fields replaced (each value trimmed and padded to the field);
// every other byte stays as it was. A line whose length does not fit its
// family is skipped and never written; when nothing matches nothing is
// written. Input/output failures raise IoError.
#pragma once

#include <string>
#include <string_view>

#include "race_key.h"
#include "store_paths.h"

namespace tarvo {

// The runner a change names. With an Umaban of 0 (as an integer) the runner is
// found by its race and its trimmed horse name, whatever number it has by then.
struct RunnerRef {
    RaceKey race;
    std::string umaban;  // two characters as received
    std::string bamei;   // as received (trimmed when compared)
};

struct JockeyChange {
    std::string futan, futanBefore;
    std::string kisyuCode, kisyuCodeBefore;
    std::string name, nameBefore;  // the received 34-byte names: their first 8 bytes at a whole character are stored
    std::string minaraiCD, minaraiCDBefore;
};

// Weather and going as announced: "0" (or a blank) is not announced.
struct WeatherAnnouncement {
    std::string year, monthDay, jyoCD;
    int hhmm = 0;  // announcement hour and minute
    std::string tenkoCD, sibaBabaCD, dirtBabaCD;
};

// Each returns the number of lines written.
// Win odds and popularity of a runner (runner key; first match).
int rewriteWinOdds(const StorePaths& p, const RaceKey& race, std::string_view umaban, std::string_view odds,
                   std::string_view ninki);
// Body weight (first match).
int rewriteBodyWeight(const StorePaths& p, const RunnerRef& runner, std::string_view baTaijyu,
                      std::string_view zogenFugo, std::string_view zogenSa);
// Scratching ("1") or exclusion ("2") into IJyoCD: the first match with DataKubun "1" or "2".
int rewriteScratch(const StorePaths& p, const RunnerRef& runner, std::string_view ijyoCD);
// Jockey fields after and before the change (the blinker flag between them kept): as a scratching.
int rewriteJockey(const StorePaths& p, const RunnerRef& runner, const JockeyChange& change);
// Start time after and before (HHMM): the race's first RA line with DataKubun "1" or "2".
int rewriteStartTime(const StorePaths& p, const RaceKey& race, std::string_view after, std::string_view before);
// Course after and before: that RA line, and TrackCD and Kyori of every SE line of
// the race with DataKubun "1" or "2" (the race's lines are contiguous).
int rewriteCourse(const StorePaths& p, const RaceKey& race, std::string_view kyori, std::string_view kyoriBefore,
                  std::string_view trackCD, std::string_view trackCDBefore);
// Weather and going of every RA line of the day and track with DataKubun "2"
// whose start time is not earlier than the announcement.
int rewriteWeather(const StorePaths& p, const WeatherAnnouncement& a);

// The going codes (turf, dirt) a race of TrackCD trackCD takes from an
// announcement of siba and dirt; "" keeps the stored one.
struct GoingUpdate {
    std::string siba, dirt;
};
GoingUpdate goingFor(std::string_view trackCD, std::string_view siba, std::string_view dirt);

// The first bytes of text that fit in width without half a double-byte character, trimmed.
std::string cutToWholeChars(std::string_view text, std::size_t width);

}  // namespace tarvo
