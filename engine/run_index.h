// The per-run figures: the run index, the last-3F index, the race-based index
// of local races and the steeplechase index. Each returns a text: an integer
// in decimal, or "**" (inputs missing), "--" (no valid time, or too low to
// mean anything), "-150" (steeplechase index of a run without a time). They
// read the process-wide engine settings (weight, distidx) as they stand:
// callers load them before they evaluate.
#pragma once

#include <string>
#include <string_view>

namespace tarvo {

class StorePaths;
struct RaceKey;

std::string runIndex(std::string_view jyoCD, std::string_view courseKey, std::string_view time,
                     std::string_view timeVariant, std::string_view futan);

std::string last3fIndex(std::string_view jyoCD, std::string_view courseKey, std::string_view time,
                        std::string_view l3fVariant, std::string_view timeDiff, std::string_view futan,
                        std::string_view haronTimeL3);

// The race fields both race-reading indices take.
struct RaceRun {
    std::string_view year, monthDay, jyoCD, raceNum, ryakusyo6, kigoCD, gradeCD, jyokenCD5, syubetuCD;
    std::string_view futan, courseKey, time;
};

// The fields of a stored run: its runner line (SE) and its race's line (RA). The
// result points into race, se, ra and courseKey.
RaceRun raceRunOf(const RaceKey& race, std::string_view se, std::string_view ra, std::string_view courseKey);

std::string raceBasedIndex(const StorePaths& paths, const RaceRun& run);
std::string steeplechaseIndex(const StorePaths& paths, const RaceRun& run);

// The class value of a local race, -150 when its class has none.
int localClassValue(std::string_view jyoCD, std::string_view syubetuCD, std::string_view jyokenCD5,
                    std::string_view gradeCD, std::string_view ryakusyo6);

}  // namespace tarvo
