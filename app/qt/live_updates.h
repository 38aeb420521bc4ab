// The same-day updates of the main window: the buttons "開催情報", "オッズ更新",
// "レース結果", the batches "オ" and "結" with the progress bar and "取得中止",
// their enable/disable rules and the weather summary in the caption. The
// fetching itself is LiveUpdates (acquire/live_fetch.h); the shown card is
// refreshed through the hooks the race card gives.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "race_key.h"

namespace tarvo {

class TfrmMain;

struct LiveCardHooks {
    std::function<std::optional<RaceKey>()> shownRace;         // the race on the card, if any
    std::function<void(const std::string& listLine)> showAgain;  // the card built again from a race list line
    std::function<void()> refreshOdds;     // column 7 from the stored odds
    std::function<void()> refreshWeights;  // columns 8 and 9 from the stored body weights
    std::function<void()> refillHeader;    // the header labels again, the race-level figures kept
    std::function<void()> remark;          // engine settings, prediction, PC marks and bets again
};

// Connects the buttons of a started main window; lives as long as the window.
void installLiveUpdates(TfrmMain& window, LiveCardHooks hooks);

}  // namespace tarvo
