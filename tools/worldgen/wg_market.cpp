#include "wg_market.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace tarvo::worldgen {
namespace {

constexpr double kPayback[kBets] = {0.8, 0.8, 0.775, 0.775, 0.775, 0.75, 0.75, 0.725};

std::string two(int u) { return zpad(u, 2); }

int oddsOf(Bet b, double prob, double factor = 1.0) {
    if (prob <= 0) return maxOdds(b);
    const long long v = std::llround(10.0 * kPayback[b] / prob * factor);
    return static_cast<int>(std::clamp<long long>(v, b == kWin ? 11 : 10, maxOdds(b)));
}

void rank(std::vector<Combo>& v) {
    std::vector<std::size_t> idx(v.size());
    for (std::size_t i = 0; i < idx.size(); ++i) idx[i] = i;
    std::sort(idx.begin(), idx.end(), [&v](std::size_t a, std::size_t b) {
        return v[a].prob != v[b].prob ? v[a].prob > v[b].prob : v[a].kumi < v[b].kumi;
    });
    for (std::size_t r = 0; r < idx.size(); ++r) v[idx[r]].ninki = static_cast<int>(r) + 1;
}

}  // namespace

int maxOdds(Bet b) {
    switch (b) {
        case kWin:
        case kPlace: return 9999;
        case kBracket:
        case kWide: return 99999;
        case kTrifecta: return 9999999;
        default: return 999999;
    }
}

const Combo* Market::find(Bet b, const std::string& kumi) const {
    for (const Combo& c : bets[b])
        if (c.kumi == kumi) return &c;
    return nullptr;
}

Market buildMarket(const Race& r) {
    Market m;
    std::array<double, 19> p{};
    std::array<int, 19> waku{};
    for (const Runner& ru : r.runners) {
        if (ru.ijyo == '1' || ru.ijyo == '2' || ru.p <= 0) continue;
        m.umas.push_back(ru.uma);
        p[static_cast<std::size_t>(ru.uma)] = ru.p;
        waku[static_cast<std::size_t>(ru.uma)] = ru.waku;
    }
    const std::size_t n = m.umas.size();
    m.placesPaid = n >= 8 ? 3 : 2;
    const auto P = [&p](int u) { return p[static_cast<std::size_t>(u)]; };

    // Trifecta probabilities (Harville), from which the others add up.
    std::map<std::pair<int, int>, double> pairTop2, pairTop3;
    std::array<double, 19> top[3]{};
    for (const int a : m.umas)
        for (const int b : m.umas) {
            if (b == a) continue;
            const double pab = P(a) * P(b) / (1.0 - P(a));
            for (const int c : m.umas) {
                if (c == a || c == b) continue;
                const double pabc = pab * P(c) / (1.0 - P(a) - P(b));
                m.bets[kTrifecta].push_back({two(a) + two(b) + two(c), pabc});
                top[2][static_cast<std::size_t>(c)] += pabc;
                pairTop3[{std::min(a, c), std::max(a, c)}] += pabc;
                pairTop3[{std::min(b, c), std::max(b, c)}] += pabc;
            }
            m.bets[kExacta].push_back({two(a) + two(b), pab});
            pairTop2[{std::min(a, b), std::max(a, b)}] += pab;
            top[1][static_cast<std::size_t>(b)] += pab;
        }
    for (const auto& [k, v] : pairTop2) pairTop3[k] += v;
    for (const int a : m.umas) {
        top[0][static_cast<std::size_t>(a)] = P(a);
        m.bets[kWin].push_back({two(a), P(a)});
        const double place = P(a) + top[1][static_cast<std::size_t>(a)] + (m.placesPaid == 3 ? top[2][static_cast<std::size_t>(a)] : 0.0);
        m.bets[kPlace].push_back({two(a), place});
    }
    for (const auto& [k, v] : pairTop2) m.bets[kQuinella].push_back({two(k.first) + two(k.second), v});
    for (const auto& [k, v] : pairTop3) m.bets[kWide].push_back({two(k.first) + two(k.second), v});
    // Trio: the six orders of each set.
    std::map<std::array<int, 3>, double> sets;
    for (const Combo& c : m.bets[kTrifecta]) {
        std::array<int, 3> s = {std::stoi(c.kumi.substr(0, 2)), std::stoi(c.kumi.substr(2, 2)), std::stoi(c.kumi.substr(4, 2))};
        std::sort(s.begin(), s.end());
        sets[s] += c.prob;
    }
    for (const auto& [k, v] : sets) m.bets[kTrio].push_back({two(k[0]) + two(k[1]) + two(k[2]), v});
    // Bracket quinella: frame pairs, a frame with itself when it holds two horses.
    if (n >= 9) {
        std::map<std::pair<int, int>, double> frames;
        for (const auto& [k, v] : pairTop2) {
            const int a = waku[static_cast<std::size_t>(k.first)], b = waku[static_cast<std::size_t>(k.second)];
            frames[{std::min(a, b), std::max(a, b)}] += v;
        }
        for (const auto& [k, v] : frames) m.bets[kBracket].push_back({std::to_string(k.first) + std::to_string(k.second), v});
    }
    for (int b = 0; b < kBets; ++b) {
        for (Combo& c : m.bets[static_cast<std::size_t>(b)]) {
            if (b == kPlace || b == kWide) {  // a range: the lowest and the highest odds
                c.odds = oddsOf(static_cast<Bet>(b), c.prob, 0.8);
                c.high = std::min(maxOdds(static_cast<Bet>(b)), static_cast<int>(std::lround(c.odds * 1.6)));
            } else {
                c.odds = oddsOf(static_cast<Bet>(b), c.prob);
            }
        }
        rank(m.bets[static_cast<std::size_t>(b)]);
    }
    std::sort(m.bets[kTrifecta].begin(), m.bets[kTrifecta].end(), [](const Combo& a, const Combo& b) { return a.kumi < b.kumi; });
    std::sort(m.bets[kExacta].begin(), m.bets[kExacta].end(), [](const Combo& a, const Combo& b) { return a.kumi < b.kumi; });
    return m;
}

}  // namespace tarvo::worldgen
