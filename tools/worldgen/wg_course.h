// Courses of the sample world: which distances a track runs, the course codes,
// the standard times the time model scatters around, and the counting
// categories of a run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "wg_world.h"

namespace tarvo::worldgen {

// Distances with a standard finishing time at the track, turf or dirt, ascending.
const std::vector<int>& courseDistances(const std::string& jyo, bool turf);

// The TrackCD of a course: surface 'T', 'D' or 'J' (steeplechase).
int trackCodeFor(const std::string& jyo, char surface, int kyori);

// Distance band of the count blocks: up to 1200, 1400, ..., 2400, 2800, longer.
int distanceBand(int kyori);

// The categories a run counts in and what it earned.
RunFacts runFacts(const std::string& jyo, int trackCD, int kyori, char going, int place, long long prize, int style);

bool isCentral(const std::string& jyo);

// HHMM plus minutes.
int addMinutes(int hhmm, int minutes);

}  // namespace tarvo::worldgen
