// The betting market of a race: from each starter's win probability, the
// probabilities, odds and popularity of every combination of every bet type,
// as the odds records and the payouts use them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "wg_world.h"

namespace tarvo::worldgen {

enum Bet { kWin, kPlace, kBracket, kQuinella, kWide, kExacta, kTrio, kTrifecta, kBets };

struct Combo {
    std::string kumi;  // horse numbers of two digits, or frame numbers of one
    double prob = 0;
    int odds = 0, high = 0;  // tenths; high only for place and wide
    int ninki = 0;
};

struct Market {
    std::vector<int> umas;  // the starters' horse numbers, ascending
    std::array<std::vector<Combo>, kBets> bets;
    int placesPaid = 3;
    const Combo* find(Bet b, const std::string& kumi) const;
};

// Odds of every bet type; the win probabilities come from the runners.
Market buildMarket(const Race& r);

// The widths of the odds fields, as the largest odds each can carry.
int maxOdds(Bet b);

}  // namespace tarvo::worldgen
