// The race card of the main window without any window: the header labels of
// a race, the card build (runner rows, the engine run over the runners, the
// race-level figures) and the bet suggestions of the "買目" tab. The main
// window and tarvo-cli call the same functions. Texts are CP932.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "race_key.h"
#include "race_predict.h"
#include "runner_eval.h"
#include "runner_tables.h"
#include "view_cells.h"

namespace tarvo {

inline constexpr std::size_t kCardColumns = 20;

// The header labels of the shown race.
struct CardHeader {
    std::string date, raceNum, hTime, crs, weBa, raceName, biko;
    bool hTimeRed = false, crsRed = false;
    bool oddsListEnabled = false;  // "オッズ一覧を開く(&O)": the race has a start time
};

// The track name as the header shows it: 札チ, 函チ, 新チ and 中チ read as the
// central track they share their ground with.
std::string displayTrackName(std::string_view jyoCD);

// Fills the header from the race's RA record (the last one with the key wins);
// a missing record leaves the labels that need it empty.
CardHeader cardHeader(const StorePaths& p, const RaceKey& race);

// The keys the engine calls take from the header labels.
std::string cardCourseKey(std::string_view crs);
std::string cardGoingKey(std::string_view weBa);

// One proposed combination of a bet grid.
struct BetLine {
    std::string combination;  // 03－07, 07→03
    std::string odds;         // 12.3 or --.-
    std::string result;       // ○, × or empty while no payout is stored
};
struct BetGrid {
    std::string title;
    std::vector<BetLine> lines;
};
using BetGrids = std::array<BetGrid, 3>;  // 馬連, 馬単１着付け, 馬単２着付け

// The bets of a race from the marks of its runners in card order (PC or US
// marks, as stored) and their horse numbers as the card shows them.
BetGrids buildBets(const StorePaths& p, const RaceKey& race, const std::vector<std::string>& marks,
                   const std::vector<std::string>& umabans);

// The built card.
struct RaceCard {
    CardHeader header;
    std::string courseKey, goingKey;
    std::string dataKubun;
    std::vector<ViewRow> rows;           // kCardColumns cells per runner; red ink on changed weights and jockeys
    std::vector<std::string> ownerCodes;  // per runner, empty without a UM record
    std::array<std::string, 4> figures;  // 標3F:, 平3F:, 位置:, 予Ｐ: labels, or all empty
    bool betsTab = false;                // the tab "買目" in front; else "服色"
    BetGrids bets;
};

// Called after each runner with the runners done and the runner count.
using CardProgress = std::function<void(std::size_t done, std::size_t count)>;

// Builds the card of a race as the main window does: the caller has loaded
// the engine settings; a local race switches the odds setting off in memory.
// Evaluates every runner into the main window's runner table, checks the
// aptitudes, marks the race and builds the bets from the PC marks, or from
// the US marks when userMarks is set.
RaceCard buildRaceCard(const EvalSource& src, const RaceKey& race, bool userMarks = false,
                       const CardProgress& progress = {});

// The SE lines of a race's runners with a horse number, in horse number order.
std::vector<std::string> numberedRunners(const StorePaths& p, const RaceKey& race);

// Evaluates the runners of a race (stored SE lines, in the caller's order)
// into the caller's runner table as every screen does: pedigree numbers, odds
// texts, the 25 values, UserYoso in slot 1, the aptitude checks of a central
// race, horse number and sex name; then, with more than 4 runners, marks the
// race (PC marks in slot 0). ra is the race's RA line. The caller has loaded
// the engine settings and holds a ReadCacheScope.
RunnerTable& evaluateRace(const EvalSource& src, const RaceKey& race, std::string_view caller,
                          const std::vector<std::string>& runners, std::string_view ra, std::string_view courseKey,
                          std::string_view goingKey, const CardProgress& progress = {});

// The odds update of a shown card: predicts the race again from the main
// window's runner table as it stands, and with more than 4 runners marks it
// into column 15; copies column 16 into the US mark slot and rebuilds the bets.
// The caller has loaded the engine settings.
void remarkCard(const EvalSource& src, const RaceKey& race, RaceCard& card, bool userMarks);

// One runner of a card build: evaluates runner i of the main window's runner
// table (its codes set by the caller) into its mark slots, and fills the row's
// past-run cells (columns 10 to 14) and summaries (17 to 19).
void evaluateCardRunner(const EvalSource& src, const RunnerCall& call, std::size_t i, ViewRow& row);

// Marks a card of five runners or more (fewer get no marks) and shows the PC
// marks in column 15.
void markCardRace(const EvalSource& src, const RaceCall& race, std::vector<ViewRow>& rows);

// The marks a bet build reads: mark slot 0 (PC) or slot 1 (US) of the main
// window's runner table, trimmed, and the horse numbers of column 1.
std::vector<std::string> cardMarks(bool userMarks);
std::vector<std::string> cardUmabans(const RaceCard& card);

// The background of a card cell as 0xRRGGBB (white for plain cells): the frame
// colour in column 0, and with the colouring option the finishing position of
// a past run on the shown race's surface in columns 10 to 14.
std::uint32_t cardCellBackground(const RaceCard& card, std::size_t row, std::size_t col, bool colourPastRuns);

// ---- Same-day refreshes of a shown card ----

// One runner's refreshed cells, by its horse number as stored.
struct CardRefresh {
    std::string umaban;
    std::string text;    // column 7, or column 8
    std::string change;  // column 9 (weights only)
};
// Column 7 after an odds fetch, for the runners with a number in number order:
// "取消" or "除外" for a scratched or excluded runner, else the odds text, else "0.0".
std::vector<CardRefresh> refreshedOddsColumn(const StorePaths& p, const RaceKey& race);
// Columns 8 and 9 after a results fetch, likewise.
std::vector<CardRefresh> refreshedWeightColumns(const StorePaths& p, const RaceKey& race);

}  // namespace tarvo
