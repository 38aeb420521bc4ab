// How one screen opens another. Each function is defined beside the screen it
// opens; until that screen exists its definition in screen_links_pending.cpp
// does nothing, so callers can be wired before the screen lands.
#pragma once

#include <optional>
#include <string>

#include "horse_view.h"
#include "race_key.h"
#include "screen_registry.h"

namespace tarvo {

// The race result screen TfrmResult of a stored race, modal. openerTag (CP932)
// is "通常", "過去", "過去2" or "過去3" and decides which runner table is evaluated.
void openRaceResult(const ScreenContext& context, const RaceKey& race, const std::string& openerTag);

// The horse data screen TfrmUmaRes, modal (HorseDataOpening in horse_view.h).
void openHorseData(const ScreenContext& context, const HorseDataOpening& opening);

// The race data editor TfrmUdtEdit for a local runner's stored run, modal.
void openRaceDataEditor(const ScreenContext& context, const RaceKey& race, const std::string& kettoNum,
                        const std::string& openerTag);

// The track variant adjustment screen for the day of a central race, modal.
void openTrackAdjustment(const ScreenContext& context, const RaceKey& race);

// Race day results and odds of one race fetched through the data service and
// stored (no card refresh); used by screens that step to a race not yet final.
void fetchRaceResults(const ScreenContext& context, const RaceKey& race);
// The odds of one race fetched and stored; true when win odds arrived.
bool fetchRaceOdds(const ScreenContext& context, const RaceKey& race);

// Race video: whether the shown race's video button is enabled (option on and
// a video exists), and playing a race's video with the error messages.
bool raceVideoAvailable(const ScreenContext& context, const RaceKey& race);
void playRaceVideo(const ScreenContext& context, const RaceKey& race);

}  // namespace tarvo
