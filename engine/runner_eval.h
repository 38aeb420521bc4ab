// Runner evaluation: the 25 evaluation values of a runner from its last five
// confirmed runs, the past-run cells and summaries of the race card, the
// interval penalty, and the two aptitude checks from the runner's CK record.
// Results are texts; a missing file or record reads as missing values.
//
// Callers reload the engine settings, allocate their runner table, then
// evaluate the runners in order. A caller evaluating a whole race holds a
// ReadCacheScope (fsys.h) around the runners, so that the day files the
// runners share are read once per race.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "race_key.h"

namespace tarvo {

class StorePaths;

// Where the evaluation reads: the store and the file folder (babadif.csv).
struct EvalSource {
    const StorePaths& paths;
    std::string fileFolder;
};

// One runner of today's race as the caller passes it.
struct RunnerCall {
    std::string_view caller;  // "frmMain" fills the main window's past-run lists
    std::string_view year, monthDay, kettoNum, kisyuCode, kisyuCodeBefore, chokyosiCode;
    std::string_view courseKey;  // of today's race (芝1600; the whole course label of a steeplechase)
    std::string_view weightKg;   // weight carried in kilograms ("57.0"); 55.0 when not a number
    std::string_view jyokenCD5, gradeCD, jyuryoCD, baTaijyu;
    std::string_view sexCD;  // passed by the callers; the evaluation takes the sex from the runs
    int row = 0;             // 1-based position in the caller's order
};

// The 25 values, each in double quotes, separated by commas; 24 bare commas
// for a horse without a run list.
std::string evaluateRunner(const EvalSource& src, const RunnerCall& call);

// The variant text a past run's indices take: computed from the stored results
// for a central track when the engine setting bbdcmp is on, otherwise the
// stored variant of the race (storedVariant). The first four characters are
// the time variant, the next four the last-3F variant.
std::string pastRunVariant(const EvalSource& src, const RaceKey& race, std::string_view courseKey);

// 0 to 5 for the days since a run; one less (never below 0) when gradeCD is
// not A to D.
int intervalPenalty(std::string_view gradeCD, int days);

// The six counts (first, second, third, fourth, fifth, other) of a CK record
// field, each width digits; a count that is not a number is 0.
std::array<int, 6> aptitudeCounts(std::string_view field, std::size_t width);

// "0", "-3", "-5" or "-8" from the horse's course and distance record.
std::string courseAptitudeCheck(const StorePaths& paths, const RaceKey& race, std::string_view gradeCD,
                                std::string_view kyori, std::string_view trackCD, std::string_view kettoNum);

// Two characters "0"/"1": the jockey's distance record, then the track record.
std::string jockeyAptitudeCheck(const StorePaths& paths, const RaceKey& race, std::string_view kisyuCode,
                                std::string_view kyori, std::string_view trackCD, std::string_view kettoNum);

}  // namespace tarvo
