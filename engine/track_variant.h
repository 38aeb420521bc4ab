// Track variants: how much slower (positive) or faster than the standard a
// race was run, in tenths of a second, for the time and for the last 3F; the
// class adjustment they rest on; the track data files that keep them (one
// 108-byte record per meeting day and track, twelve race slots per run); and
// the builders that compute them over the store.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "race_key.h"

namespace tarvo {

class StorePaths;

// Missing marker of a variant value, and the figure that means missing.
inline constexpr int kMissingValue = -150;

// A variant value as text: "***" when v <= -150; "-05", "-120" below 0; "+00" to
// "+99"; "100" and above without a sign.
std::string variantValueText(int v);

// The top-three figures of a race: mean time and mean blended time of the first
// three past the post, each padded to four characters; "********" when the race
// has no first place or fewer than three placed.
std::string topThreeFigures(const StorePaths& paths, const RaceKey& race);

// The class adjustment in tenths (-150 for a class without an entry).
int classAdjustment(std::string_view monthDay, std::string_view jyoCD, std::string_view trackCD,
                    std::string_view ryakusyo6, std::string_view kigoCD, std::string_view gradeCD,
                    std::string_view jyokenCD5, std::string_view syubetuCD);

// The surface mark of a course key: "T" for turf, "D" for dirt, "*" otherwise.
std::string surfaceMark(std::string_view courseKey);

// The variant text of a race (nine characters: time variant padded to four,
// last-3F variant padded to four, surface mark "T", "D" or "*"). distidx says
// whether the distance coefficient applies.
std::string raceVariant(const StorePaths& paths, const RaceKey& race, std::string_view courseKey, bool distidx);

// Stores one race's two values in the track data file. A value that does not fit
// the three characters of a slot ("-100" to "-149", "1000" and above) is stored
// as "***". Raises IoError when the file cannot be written.
void writeVariant(const StorePaths& paths, const RaceKey& race, std::string_view variant);

// The stored variant of a race: eight characters, the time and the last-3F
// variant each padded to four, "****" for a part that is empty, "********"
// when the file does not exist. Central tracks read the track data file of the
// quarter, other tracks babadif.csv in the file folder.
std::string storedVariant(const StorePaths& paths, const std::string& fileFolder, std::string_view date8,
                          std::string_view jyoCD, std::string_view raceNum);

// The variant a past run's indices take: computed from the store for a central
// race when the engine setting bbdcmp is on, else the stored variant.
std::string runVariant(const StorePaths& paths, const std::string& fileFolder, const RaceKey& race,
                       std::string_view courseKey);

// The progress of one builder run, owned by whoever starts it: the builder
// counts races and publishes the file index into it, the caller's cancel
// button sets the request the builder tests after each race.
struct BuilderProgress {
    int raceCount = 0;             // races computed by the builder in hand
    bool cancelRequested = false;  // tested after each race
    int fileIndex = 0;             // index of the race file the period builder reads
};

// Called after each race (and by the period builder after each file name and
// record) so that the user interface can process pending events.
using MessagePump = std::function<void()>;

// The builders. Each re-reads distidx from the settings file, resets
// progress, and returns the number of races computed.
int rebuildAllTrackData(const StorePaths& paths, const std::string& settingsPath, BuilderProgress& progress,
                        const MessagePump& pump);
int rebuildTrackDataPeriod(const StorePaths& paths, const std::string& settingsPath, std::string_view fromDate,
                           std::string_view toDate, BuilderProgress& progress, const MessagePump& pump);
int rebuildTrackDataRace(const StorePaths& paths, const std::string& settingsPath, const RaceKey& race,
                         BuilderProgress& progress, const MessagePump& pump);

}  // namespace tarvo
