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

// The run index and last-3F index of one stored run (its SE line and its
// race's RA line), in the order every screen takes them: on a 障 course the
// steeplechase index when jumpIndex is set (else "**"); otherwise the run index
// against the race's track variant, replaced by the race-based index for a run
// at a track other than 01 to 10 that has none, and the last-3F index for runs
// at tracks 01 to 10 only ("**" elsewhere).
struct RunFigures {
    std::string run = "**", l3f = "**";
};
RunFigures runFigures(const EvalSource& src, std::string_view se, std::string_view ra, const RaceKey& race,
                      std::string_view courseKey, bool jumpIndex);

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
