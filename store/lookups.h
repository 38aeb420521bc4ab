// Keyed look-ups and counts over the record store. Each reads only the file
// its key selects (the count of final races and the short-name searches scan
// their family folder), line by line from the start; the first line whose key
// fields hold the searched values exactly is the result. A missing file reads
// as no record: an empty line, a count of 0. Lines are returned without CR LF.
//
// Key values are compared with the stored fields as they stand, so callers pass
// codes at their stored widths: JyoCD, RaceNum and Umaban two characters,
// KettoNum ten ("1" for "01" finds nothing).
#pragma once

#include <functional>
#include <vector>
#include <string>
#include <string_view>

#include "layouts.h"
#include "race_key.h"
#include "store_paths.h"

namespace tarvo {

// One part of a search key: a field of the family and the exact text it must hold.
struct KeyPart {
    std::string_view field;
    std::string_view value;
};

// The generic keyed scan: calls fn with each line of the file whose key fields
// hold their values, in file order, until fn returns false. An unknown field
// name matches no line.
void scanMatching(const std::string& path, Family f, const std::vector<KeyPart>& key,
                  const std::function<bool(std::string_view)>& fn);
// The first matching line, or "".
std::string findLine(const std::string& path, Family f, const std::vector<KeyPart>& key);

// Race and runner records.
std::string findRace(const StorePaths& p, const RaceKey& race);
std::string findRunnerByNumber(const StorePaths& p, const RaceKey& race, std::string_view umaban);
std::string findRunnerByHorse(const StorePaths& p, const RaceKey& race, std::string_view kettoNum);
// The horse's first run of that day at that track.
std::string findRunByTrackAndHorse(const StorePaths& p, std::string_view year, std::string_view monthDay,
                                   std::string_view jyoCD, std::string_view kettoNum);
// The horse's first run of that day in the day file that jyoCD selects, whatever its
// track: in the file shared by the local tracks it finds the run at any of them.
std::string findRunInDayFile(const StorePaths& p, std::string_view year, std::string_view monthDay,
                             std::string_view jyoCD, std::string_view kettoNum);
// Runners of a race with a horse number (Umaban other than "00").
int countRunners(const StorePaths& p, const RaceKey& race);
// Every SE line of the race, numbered or not.
int countEntries(const StorePaths& p, const RaceKey& race);
// RA lines with DataKubun "7" in every central-track file ("...A.dat") below RA/;
// unless all, only those of that Year, MonthDay and JyoCD.
int countFinalRaces(const StorePaths& p, std::string_view year, std::string_view monthDay, std::string_view jyoCD,
                    bool all);

// Master records, each from the one file its code selects.
std::string findHorse(const StorePaths& p, std::string_view kettoNum);
std::string findJockey(const StorePaths& p, std::string_view kisyuCode);
std::string findTrainer(const StorePaths& p, std::string_view chokyosiCode);
std::string findOwner(const StorePaths& p, std::string_view banusiCode);
std::string findBreedingHorse(const StorePaths& p, std::string_view hansyokuNum);
std::string findBreeder(const StorePaths& p, std::string_view breederCode);
std::string findOffspring(const StorePaths& p, std::string_view kettoNum);
// The first record, over the family's files in walk order, whose short name
// trimmed of half-width and full-width spaces equals the trimmed name. An empty
// (or all blank) name finds nothing rather than the first record without a short name.
std::string findTrainerByShortName(const StorePaths& p, std::string_view name);
std::string findJockeyByShortName(const StorePaths& p, std::string_view name);

// The horse's line of the UM index, or "".
std::string findRunIndexLine(const StorePaths& p, std::string_view kettoNum);
// The horse's run list from the UM index, trimmed of half-width and full-width
// spaces: 10-character entries, date (8) and track code (2), newest first.
std::string runList(const StorePaths& p, std::string_view kettoNum);

// Payout, odds and aptitude records.
std::string findPayout(const StorePaths& p, const RaceKey& race);
// The odds line of family f (O2 to O6) from the file of that date (and track for O6); "" for another family.
std::string findOdds(const StorePaths& p, Family f, const RaceKey& race);
std::string findQuinellaOdds(const StorePaths& p, const RaceKey& race);
std::string findWideOdds(const StorePaths& p, const RaceKey& race);
std::string findExactaOdds(const StorePaths& p, const RaceKey& race);
std::string findTrioOdds(const StorePaths& p, const RaceKey& race);
std::string findTrifectaOdds(const StorePaths& p, const RaceKey& race);
std::string findAptitude(const StorePaths& p, const RaceKey& race, std::string_view kettoNum);

}  // namespace tarvo
