// The race words the race card commands share: YEAR MONTHDAY JYOCD RACENUM
// followed by extra words, and the card the main window builds for that race.
#pragma once

#include <cstddef>

#include "card_view.h"
#include "cli.h"
#include "race_key.h"

namespace tarvo::cli {

// Four race words of their widths and exactly extra words after them.
bool raceArgs(const Context& ctx, std::size_t extra);
RaceKey raceOf(const Context& ctx);
// The card as the main window builds it for the race of the first four words,
// with the engine settings of the program folder loaded.
RaceCard buildCard(const Context& ctx, const StorePaths& paths, bool userMarks);

}  // namespace tarvo::cli
