// The race data editor's rule without any window: the last 3F and corner
// positions of a stored local run as typed, as stored and as shown, and the
// in-place correction of the run's SE line. Texts are CP932.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "race_key.h"
#include "store_paths.h"

namespace tarvo {

// What the editor's fields give: the stored texts (three bytes of last 3F,
// six bytes of positions) and the texts shown in the opener's row.
struct RaceDataEdit {
    std::string l3fStored, l3fShown;
    std::string positionsStored, positionsShown;
};

// seconds and tenths of the last 3F ("35", "2"), positions of the second,
// third and fourth corner ("1", "", "12").
RaceDataEdit raceDataEdit(std::string_view seconds, std::string_view tenths,
                          const std::array<std::string, 3>& positions);

// The editor's fields from a stored run: last 3F seconds and tenths, the three positions.
struct RaceDataFields {
    std::string seconds, tenths;
    std::array<std::string, 3> positions;
};
RaceDataFields raceDataFields(std::string_view seLine);

enum class RaceDataWrite { Written, NoFile, NoRun };

// Rewrites the run of kettoNum in the race (the track given by its name) in
// place: the jockey's short name, the corner positions and the last 3F; every
// other byte stays. Input/output failures raise IoError.
RaceDataWrite writeRaceData(const StorePaths& p, std::string_view date, std::string_view trackName,
                            std::string_view raceNum, std::string_view kettoNum, std::string_view jockey,
                            const RaceDataEdit& edit);

}  // namespace tarvo
