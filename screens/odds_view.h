// The odds list without any window: the matrix of one bet type for the shown
// race (trio and trifecta with one horse fixed), the hit cells from the
// payouts, the announcement text, and the combination text of a selected
// cell. Horse numbers 1 to n are the race card's rows 1 to n. Texts are CP932.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "race_key.h"
#include "screen_view.h"

namespace tarvo {

class StorePaths;

enum class OddsType { Umaren, Umatan, Wide, Sanrenpuku, Sanrentan };

// The type of a command word umaren, umatan, wide, sanrenpuku or sanrentan.
std::optional<OddsType> oddsTypeByName(std::string_view name);
std::string oddsCaption(OddsType type);
// Trio and trifecta fix one horse.
bool fixesHorse(OddsType type);

// One race card row: horse number as shown and horse name.
struct OddsRunner {
    std::string umaban, bamei;
};

// The items of cboTarget: horse number, "番：", horse name.
std::vector<std::string> targetItems(const std::vector<OddsRunner>& runners);

struct OddsMatrix {
    std::vector<std::vector<std::string>> rows;  // row 0 the column headers, column 0 the row headers
    std::vector<std::pair<int, int>> hits;      // (row, col) of paid combinations
    std::string announcement;                   // stxtOddsDate
};

// The matrix of a type; fixed is the horse number (1 to n) of trio and trifecta.
OddsMatrix oddsMatrix(const StorePaths& paths, const RaceKey& race, OddsType type,
                      const std::vector<OddsRunner>& runners, int fixed = 1);

// stxtKumi for the data cell (row, col) of a matrix; empty for a header cell
// or the same horse twice.
std::string oddsSelection(const OddsMatrix& m, OddsType type, const std::vector<OddsRunner>& runners, int fixed,
                          int row, int col);

// What the screen shows: the caption, the copied header labels, stxtOddsDate,
// the grid stgOddsList with its hits, the items of cboTarget, and stxtKumi
// when a cell is selected.
struct OddsLabels {
    std::string date, raceNum, hTime, raceName;
};
ScreenView oddsScreen(const OddsLabels& labels, OddsType type, const std::vector<OddsRunner>& runners,
                      const OddsMatrix& m, int fixed, std::optional<std::pair<int, int>> selected = std::nullopt);

}  // namespace tarvo
