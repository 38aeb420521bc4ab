// The prediction results tally TfrmShkMain ("予想結果の集計") without any
// window: the period lists, the filters, the tally of the finished central
// races of a period (PC marks recomputed as before the race, or the stored
// user marks; the bets of one type at 100 yen a combination against the
// stored payouts), the four summaries, the figures and the CSV of each list.
// Texts are CP932; rates are exact fractions rounded half away from zero.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runner_eval.h"
#include "screen_view.h"
#include "view_cells.h"

namespace tarvo {

class StorePaths;

// The caller name of the tally's runner table (the second set).
inline constexpr std::string_view kTallyCaller = "frmShkMain";

// A filter check box: object name and caption (UTF-8), in the screen's order.
struct TallyBox {
    const char* name;
    const char* caption;
};
inline constexpr TallyBox kTallyClassBoxes[] = {
    {"chkShin", "新馬"}, {"chkMishori", "未勝"}, {"chk500man", "500"}, {"chk1000man", "1000"},
    {"chk1600man", "1600"}, {"chkOpen", "OPEN"}, {"chkG3", "G3"}, {"chkG2", "G2"},
    {"chkG1", "G1"}, {"chkJusho", "他重賞"}};
inline constexpr TallyBox kTallyAgeBoxes[] = {
    {"chk2sai", "２歳"}, {"chk3sai", "３歳"}, {"chk3jyo", "３歳上"}, {"chk4jyo", "４歳上"}};
inline constexpr TallyBox kTallySurfaceBoxes[] = {{"chkTurf", "芝"}, {"chkDart", "ダ"}, {"chkSho", "障"}};
inline constexpr TallyBox kTallyGoingBoxes[] = {{"chkB1", "良"}, {"chkB2", "稍"}, {"chkB3", "重"}, {"chkB4", "不"}};

// The items of the track filter cboCrs and of the distance lists (UTF-8).
inline constexpr const char* kTallyTracks[] = {"札幌", "函館", "福島", "新潟", "東京", "中山",
                                               "中京", "京都", "阪神", "小倉", "関東", "関西",
                                               "中４", "地６", "札函", "福新", "名小", "全場"};
inline constexpr const char* kTallyDistances[] = {"1000", "1150", "1200", "1300", "1400", "1500",
                                                  "1600", "1700", "1800", "1900", "2000", "2100",
                                                  "2200", "2300", "2400", "2500", "2600", "3000",
                                                  "3200", "3400", "3600", "4000", "4500"};

enum class TallyBet { Tansho, Umaren, Umatan };

// The screen's inputs; the defaults are those it starts with.
struct TallyOptions {
    std::string from, to;  // YYYYMMDD
    std::string track;     // CP932 item of cboCrs; "" counts as 全場
    std::array<bool, std::size(kTallyClassBoxes)> classes{true, true, true, true, true,
                                                          true, true, true, true, true};
    std::array<bool, std::size(kTallyAgeBoxes)> ages{true, true, true, true};
    std::array<bool, std::size(kTallySurfaceBoxes)> surfaces{true, true, true};
    std::array<bool, std::size(kTallyGoingBoxes)> goings{true, true, true, true};
    std::string distFrom = "1000", distTo = "4500";
    TallyBet bet = TallyBet::Umaren;
    bool userMarks = false;  // US; PC otherwise
};

// The year lists: the stored RA years. The month-day list of a year: the
// distinct MonthDay of its central races in order of first appearance, at
// most 170, written MM/DD.
std::vector<std::string> tallyMonthDays(const StorePaths& p, std::string_view year);

// "" when a tally of the period may start, else the refusal (warning icon).
// A month-day is MM/DD or MMDD.
std::string tallyPeriodMessage(std::string_view frYear, std::string_view frMday, std::string_view toYear,
                               std::string_view toMday);
// YYYYMMDD of a year and a month-day list text.
std::string tallyDate(std::string_view year, std::string_view mday);

// The label of the axis rate: 軸連率, or 軸勝率 for 馬単.
std::string tallyRateLabel(TallyBet bet);

// What a running tally reports, each optional.
struct TallyHooks {
    std::function<bool()> stop;                                   // asked before each record; true cancels
    std::function<void(const std::string&)> raceText;             // the progress text of each race tallied
    std::function<void(std::size_t done, std::size_t total)> bar;  // records read of the period's files
};

inline constexpr std::size_t kTallyRaceColumns = 16;

struct TallyResult {
    std::vector<std::vector<std::string>> races;  // kTallyRaceColumns cells, in date, track and race order
    int predicted = 0, hits = 0, axis = 0;        // races that bought, hits, axis finishes among those
    long long bought = 0, paid = 0, maxPay = 0;   // yen
    bool cancelled = false;
    std::string lastText;  // the progress text last shown
};

// Tallies the period. The caller has loaded the engine settings.
TallyResult runTally(const EvalSource& src, const TallyOptions& options, const TallyHooks& hooks = {});

// The screen after a tally: the figures, the five grids (row 0 the header),
// the CSV item's state and the message of a cancelled tally.
ScreenView tallyScreen(const TallyOptions& options, const TallyResult& result);

// The grids of tallyScreen, in tab order: object name and tab caption (UTF-8).
struct TallyList {
    const char* grid;
    const char* tab;
};
inline constexpr TallyList kTallyLists[] = {{"stgShuRRes", "レース別"},
                                            {"stgShuDRes", "日付別"},
                                            {"stgShuCRes", "競馬場別"},
                                            {"stgShuLRes", "クラス別"},
                                            {"stgShuKRes", "距離別"}};

// The header captions (UTF-8) of a grid of tallyScreen, as its row 0 holds them.
const std::vector<const char*>& tallyGridHeaders(std::string_view grid);

// The caption of the race video popup item of a race: "レース動画を再生 [" +
// date + "." + track name + RaceNum + "R." + title + "] (&R)", the title
// Ryakusyo6 or the short condition name.
std::string raceVideoCaption(const StorePaths& p, const RaceKey& race);

// The data rows of a grid of tallyScreen with their ink: 収支 blue above 0, red below.
std::vector<ViewRow> tallyGridRows(const ScreenView::GridRows& grid);

// The CSV of one grid of tallyScreen (CP932, CR LF), nullopt for another name.
std::optional<std::string> tallyCsv(const ScreenView& view, std::string_view grid);

// The race of a race grid data row (1-based as in the grid), nullopt for a
// row without a race name.
std::optional<RaceKey> tallyRowRace(const ScreenView& view, std::size_t row);

// The rate num ÷ den × 100 with one decimal, rounded half away from zero
// ("6.3" for 1/16); the caller handles den 0.
std::string tallyRate(long long num, long long den);

}  // namespace tarvo
