// The runner tables: the per-runner lists of the race being evaluated, one
// process-wide set for the main window (caller "frmMain") and a second set
// for every other caller, so that a screen evaluating another race leaves the
// race card alone. Every list is indexed by the runner's 0-based position in
// the caller's order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// The caller name that selects the main window's set.
inline constexpr std::string_view kMainWindowCaller = "frmMain";

inline constexpr std::size_t kPastRuns = 5;    // past-run lists: index 4 the most recent run
inline constexpr std::size_t kMarkSlots = 32;

// The mark slots that callers and the race prediction share.
inline constexpr std::size_t kSlotPcMark = 0;
inline constexpr std::size_t kSlotUserMark = 1;
inline constexpr std::size_t kSlotCourseCheck = 18;
inline constexpr std::size_t kSlotJockeyDistance = 19;
inline constexpr std::size_t kSlotJockeyTrack = 20;
inline constexpr std::size_t kSlotUmaban = 25;
inline constexpr std::size_t kSlotSexName = 30;
inline constexpr std::size_t kEvaluationValues = 25;

// The mark slot that holds evaluation value v (0 to 24).
std::size_t evaluationSlot(std::size_t v);

struct RunnerTable {
    using Texts = std::vector<std::string>;

    // Both sets.
    Texts kettoNums;  // filled by the caller
    Texts odds;       // win odds as text, or 取消 / 除外
    std::array<std::vector<std::int32_t>, 4> scores;  // A to D, filled by the race prediction
    std::array<Texts, kMarkSlots> marks;

    // The main window's set only (empty in the second set).
    Texts jockeyCodes, trainerCodes;
    Texts weightChangeMarks, jockeyChangeMarks;
    std::array<Texts, kPastRuns> pastRaceKeys;
    std::array<Texts, kPastRuns> pastCells;
    std::array<Texts, kPastRuns> pastSummaries;

    std::size_t size() const { return kettoNums.size(); }
};

// The set a caller uses.
RunnerTable& runnerTable(std::string_view caller);

// Sizes every list of the caller's set for n runners and clears it (empty
// texts, zero integers); returns the set.
RunnerTable& allocateRunnerTable(std::string_view caller, std::size_t n);

// Stores an evaluation values text (25 comma-separated values, quoted or not)
// in the mark slots of the runner at 0-based index i: each value trimmed, except
// value 24, whose fixed positions the race prediction reads, which is kept as it
// stands. Nothing happens for an index outside the table.
void storeEvaluation(RunnerTable& table, std::size_t i, std::string_view values);

// The values of a comma text: split at commas outside double quotes, the
// quotes of a quoted value removed ("" inside one stands for a quote).
std::vector<std::string> splitCommaText(std::string_view text);

}  // namespace tarvo
