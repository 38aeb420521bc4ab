// The race result screen without any window: the evaluation of the race into
// the caller's runner table, the header labels, the result grid with the run
// indices and marks, the payout list, the corner and sectional times, and the
// states of the race buttons. The screen and tarvo-cli call the same
// functions. Texts are CP932.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "race_key.h"
#include "runner_eval.h"
#include "screen_view.h"

namespace tarvo {

inline constexpr std::size_t kResultColumns = 19;
inline constexpr std::string_view kResultCaller = "frmResult";

// The caller name an opener tag evaluates under: the main window's table for
// "通常", the second table for "過去", "過去2" and "過去3".
std::string_view resultCaller(std::string_view openerTag);

// True for the final results' DataKubun "6", "7" and "A".
bool resultsFinal(std::string_view dataKubun);

// The race's RA DataKubun (trimmed), "" without a record.
std::string raceDataKubun(const StorePaths& paths, const RaceKey& race);

// Evaluates the runners of the race into the caller's runner table in horse
// number order and marks the race, as the race card does. Loads nothing: the
// caller has loaded the engine settings.
void evaluateResultRace(const EvalSource& src, const RaceKey& race, std::string_view caller);

// The screen of a race after its evaluation.
struct RaceResult {
    RaceKey race;
    // Caption, the labels, grid stgRList (row 0 the header), list lstHarai and
    // the states btnPrev, btnNext, btnVtr and mnuBabaAdj.
    ScreenView view;
    // Per data row of the grid: pedigree number, jockey code, trainer code.
    std::vector<std::string> kettoNums, jockeyCodes, trainerCodes;
    bool central = false;
};

// Evaluates the race under the caller and fills the screen. videoAvailable is
// the state of btnVtr.
RaceResult raceResult(const EvalSource& src, const RaceKey& race, std::string_view caller, bool videoAvailable);

// The payout list of an HR line, one item per line, empty lines included;
// nothing for an empty line.
std::vector<std::string> payoutLines(std::string_view hr);

// The race "前" (step -1) or "次" (step +1) goes to: the same day and track,
// RaceNum 1 to 12; nullopt when the button does nothing.
std::optional<RaceKey> neighbourRace(const RaceKey& race, int step);

}  // namespace tarvo
