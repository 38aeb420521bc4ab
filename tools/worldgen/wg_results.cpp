// Running the races: the market, the finishing times around the standard
// times (by ability, going, pace and the day's track), positions, corners,
// margins, lap times, abnormalities and payouts; then the figures they add to
// horses and people.
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>

#include "wg_course.h"
#include "wg_market.h"
#include "wg_world.h"

namespace tarvo::worldgen {
namespace {

double expectedPerformance(const World& w, const Race& r, const Runner& ru) {
    const Horse& h = w.horses[static_cast<std::size_t>(ru.horse)];
    double e = r.jump ? h.jumpAbility : h.ability + 0.35 * (r.dirtCourse() || r.local ? -h.turf : h.turf);
    e -= std::abs(r.kyori - h.distance) / 1000.0 * 0.6;
    e += w.jockeys[static_cast<std::size_t>(ru.jockey)].skill * 0.12;
    e -= (ru.futan - 550) / 10.0 * 0.05;
    return e;
}

int baseTime(const Race& r) {
    if (const auto t = World::standardTime(r.jyo, r.trackCD, r.kyori)) return *t;
    return static_cast<int>(std::lround(r.kyori / (r.jump ? 14.2 : 16.5) * 10.0));  // no standard: by speed
}

int baseLast3F(const Race& r) {
    if (const auto t = World::standardLast3F(r.jyo, r.trackCD, r.kyori)) return *t;
    if (r.jump) return 395;
    return static_cast<int>(std::lround(372 + (r.kyori - 1200) / 1000.0 * 12));  // local dirt
}

double goingFactor(const Race& r) {
    const int g = r.going >= '1' && r.going <= '4' ? r.going - '1' : 0;
    static constexpr double turf[4] = {0, 0.006, 0.014, 0.024}, dirt[4] = {0, -0.003, -0.006, -0.009};
    return r.dirtCourse() || r.local ? dirt[g] : turf[g];
}

std::string marginCode(int diff) {
    static constexpr struct {
        int upTo;
        const char* code;
    } table[] = {{0, "H  "}, {1, "K  "}, {2, "1  "}, {3, "112"}, {4, "2  "}, {5, "212"}, {6, "3  "}, {8, "4  "},
                 {10, "5  "}, {13, "6  "}, {16, "7  "}, {20, "8  "}, {25, "9  "}, {35, "10 "}};
    for (const auto& t : table)
        if (diff <= t.upTo) return t.code;
    return "Z  ";
}

// The passing order at a corner: horse numbers in order, horses abreast in
// brackets, "-" where a gap opens.
std::string passingOrder(std::vector<std::pair<double, int>> pos) {
    std::sort(pos.begin(), pos.end());
    std::string out;
    std::size_t i = 0;
    while (i < pos.size()) {
        std::size_t j = i + 1;
        while (j < pos.size() && pos[j].first - pos[j - 1].first < 0.015) ++j;
        if (!out.empty()) out += pos[i].first - pos[i - 1].first > 0.07 ? "-" : ",";
        if (j - i == 1) {
            out += std::to_string(pos[i].second);
        } else {
            out += "(";
            for (std::size_t k = i; k < j; ++k) out += (k > i ? "," : "") + std::to_string(pos[k].second);
            out += ")";
        }
        i = j;
    }
    if (out.size() > 70) out.resize(70);
    return out;
}

std::vector<int> lapTimes(const Race& r, int total, int last3, double pace) {
    const int laps = (r.kyori + 199) / 200;
    if (r.jump || laps < 4) return {};
    std::vector<int> out(static_cast<std::size_t>(laps));
    const int l1 = last3 / 3;
    out[static_cast<std::size_t>(laps - 3)] = l1 - 1;
    out[static_cast<std::size_t>(laps - 2)] = l1;
    out[static_cast<std::size_t>(laps - 1)] = last3 - 2 * l1 + 1;
    const int rest = total - last3;
    const double firstLen = r.kyori - 200.0 * (laps - 1);
    const double per = rest / ((r.kyori - 600) / 200.0);
    int used = 0;
    for (int k = 0; k < laps - 3; ++k) {
        double v = per * (k == 0 ? firstLen / 200.0 * 1.06 : 1.0 - 0.01 * pace * (k < (laps - 3) / 2 ? 1 : -1));
        out[static_cast<std::size_t>(k)] = std::max(95, static_cast<int>(std::lround(v)));
        used += out[static_cast<std::size_t>(k)];
    }
    out[static_cast<std::size_t>(laps - 4)] += rest - used;  // the sum is the winner's time
    return out;
}

// Every finishing order the official positions allow (horses in a dead heat in either order).
std::vector<std::vector<int>> orders(const std::vector<std::pair<int, int>>& placeUma) {
    std::vector<std::vector<int>> result{{}};
    std::size_t i = 0;
    while (i < placeUma.size() && result.front().size() < 3) {
        std::size_t j = i;
        while (j < placeUma.size() && placeUma[j].first == placeUma[i].first) ++j;
        std::vector<int> group;
        for (std::size_t k = i; k < j; ++k) group.push_back(placeUma[k].second);
        std::vector<std::vector<int>> next;
        std::sort(group.begin(), group.end());
        do {
            for (const auto& o : result) {
                auto x = o;
                x.insert(x.end(), group.begin(), group.end());
                next.push_back(x);
            }
        } while (std::next_permutation(group.begin(), group.end()));
        result = std::move(next);
        i = j;
    }
    return result;
}

void payouts(Race& r, const Market& m) {
    std::vector<std::pair<int, int>> placeUma;
    for (const Runner& ru : r.runners)
        if (ru.place > 0) placeUma.push_back({ru.place, ru.uma});
    std::sort(placeUma.begin(), placeUma.end());
    if (placeUma.empty()) return;
    const auto all = orders(placeUma);
    const bool deadHeat = all.size() > 1;
    const double split = deadHeat ? 0.6 : 1.0;
    const auto pay = [&](Bet b, const std::string& kumi, bool low) {
        for (const Payout& p : r.pays[b])
            if (p.kumi == kumi) return;
        const Combo* c = m.find(b, kumi);
        if (!c) return;
        const long long yen = std::max(100LL, std::llround((low ? c->odds : c->odds) * 10.0 * split / 10.0) * 10);
        r.pays[b].push_back({kumi, yen, c->ninki});
    };
    const auto two = [](int u) { return zpad(u, 2); };
    std::map<int, int> wakuOf;
    for (const Runner& ru : r.runners) wakuOf[ru.uma] = ru.waku;
    for (const auto& o : all) {
        pay(kWin, two(o[0]), false);
        for (std::size_t k = 0; k < o.size() && static_cast<int>(k) < m.placesPaid; ++k) pay(kPlace, two(o[k]), true);
        if (o.size() >= 2) {
            const int a = std::min(o[0], o[1]), b = std::max(o[0], o[1]);
            pay(kQuinella, two(a) + two(b), false);
            pay(kExacta, two(o[0]) + two(o[1]), false);
            if (!m.bets[kBracket].empty()) {
                const int wa = std::min(wakuOf[o[0]], wakuOf[o[1]]), wb = std::max(wakuOf[o[0]], wakuOf[o[1]]);
                pay(kBracket, std::to_string(wa) + std::to_string(wb), false);
            }
        }
        if (o.size() >= 3) {
            for (int x = 0; x < 3; ++x)
                for (int y = x + 1; y < 3; ++y) {
                    const int a = std::min(o[static_cast<std::size_t>(x)], o[static_cast<std::size_t>(y)]);
                    const int b = std::max(o[static_cast<std::size_t>(x)], o[static_cast<std::size_t>(y)]);
                    pay(kWide, two(a) + two(b), true);
                }
            std::array<int, 3> s = {o[0], o[1], o[2]};
            std::sort(s.begin(), s.end());
            pay(kTrio, two(s[0]) + two(s[1]) + two(s[2]), false);
            pay(kTrifecta, two(o[0]) + two(o[1]) + two(o[2]), false);
        }
    }
    // Places beyond the paid number shared by a dead heat are paid as well.
    for (const auto& [place, uma] : placeUma)
        if (place <= m.placesPaid) pay(kPlace, two(uma), true);
}

// One finisher: its running time before rounding and its runner's index.
struct Run {
    double t;
    int k;
};

// Scratchings and exclusions before the start, the market's win
// probabilities, popularity and win odds, the votes and the starters.
void openMarket(const World& w, Race& r, Rng& rng) {
    for (Runner& ru : r.runners) {
        const double u = rng.uniform();
        ru.ijyo = u < 0.006 ? '1' : u < 0.008 ? '2' : '0';
        ru.perf = expectedPerformance(w, r, ru);
        ru.style = w.horses[static_cast<std::size_t>(ru.horse)].style;
    }
    double sum = 0;
    for (Runner& ru : r.runners) {
        ru.p = ru.ijyo == '0' ? std::exp(1.2 * (ru.perf + rng.normal(0, 0.6))) : 0.0;
        sum += ru.p;
    }
    for (Runner& ru : r.runners) ru.p = sum > 0 ? ru.p / sum : 0.0;
    std::vector<std::pair<double, int>> byP;
    for (std::size_t k = 0; k < r.runners.size(); ++k)
        if (r.runners[k].p > 0) byP.push_back({-r.runners[k].p, static_cast<int>(k)});
    std::sort(byP.begin(), byP.end());
    for (std::size_t k = 0; k < byP.size(); ++k) {
        Runner& ru = r.runners[static_cast<std::size_t>(byP[k].second)];
        ru.ninki = static_cast<int>(k) + 1;
        ru.odds = static_cast<int>(std::clamp<long long>(std::llround(8.0 / ru.p), 11, 9999));
    }
    r.votes = 200000 + static_cast<long long>(rng.uniform() * 1800000) * (r.grade == 'A' ? 10 : 1);
    r.starters = static_cast<int>(std::count_if(r.runners.begin(), r.runners.end(), [](const Runner& ru) { return ru.ijyo == '0'; }));
}

// The pace and the finishers in order of their running times; a horse that
// does not finish gets abnormality 4.
std::vector<Run> runTheRace(Race& r, Rng& rng, double variant) {
    int fronts = 0;
    for (const Runner& ru : r.runners) fronts += ru.ijyo == '0' && ru.style == 1;
    r.pace = rng.normal() + 0.25 * (fronts - r.starters / 8.0);
    const double base = baseTime(r) * (1.0 + goingFactor(r) + variant + 0.002 * r.pace);
    std::vector<Run> runs;
    for (std::size_t k = 0; k < r.runners.size(); ++k) {
        Runner& ru = r.runners[k];
        if (ru.ijyo != '0') continue;
        ru.perf += rng.normal(0, 0.45);
        if (rng.chance(0.003)) {
            ru.ijyo = '4';  // did not finish
            continue;
        }
        runs.push_back({base * (1.0 - 0.0045 * ru.perf) + rng.normal(0, 0.8), static_cast<int>(k)});
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.t != b.t ? a.t < b.t : a.k < b.k; });
    r.finishers = static_cast<int>(runs.size());
    return runs;
}

// Finishing times, arrival order and official positions, now and then a dead heat.
void placeFinishers(Race& r, Rng& rng, const std::vector<Run>& runs) {
    int deadHeatAt = -1;
    if (runs.size() >= 3 && rng.chance(0.005)) deadHeatAt = rng.range(0, std::min(3, static_cast<int>(runs.size()) - 2));
    int prev = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Runner& ru = r.runners[static_cast<std::size_t>(runs[i].k)];
        ru.time = std::max(prev, static_cast<int>(std::lround(runs[i].t)));
        const bool tie = deadHeatAt >= 0 && static_cast<int>(i) == deadHeatAt + 1;
        if (tie) {
            ru.time = prev;
            ru.deadHeat = r.runners[static_cast<std::size_t>(runs[i - 1].k)].deadHeat = true;
        }
        prev = ru.time;
        ru.arrive = static_cast<int>(i) + 1;
        ru.place = tie ? static_cast<int>(i) : static_cast<int>(i) + 1;
    }
}

// Now and then a horse is demoted or disqualified.
void stewardsInquiry(Race& r, Rng& rng, const std::vector<Run>& runs) {
    if (runs.size() < 6) return;
    const auto runner = [&](int i) -> Runner& { return r.runners[static_cast<std::size_t>(runs[static_cast<std::size_t>(i)].k)]; };
    if (rng.chance(0.004)) {
        const int i = rng.range(1, 4);
        Runner& a = runner(i);
        Runner& b = runner(i + 1);
        if (a.deadHeat || b.deadHeat) return;
        a.ijyo = '7';
        std::swap(a.place, b.place);
        return;
    }
    if (!rng.chance(0.002)) return;
    Runner& dq = runner(rng.range(0, static_cast<int>(runs.size()) - 2));
    if (dq.deadHeat) return;
    dq.ijyo = '5';
    for (Runner& o : r.runners)
        if (o.place > dq.place) --o.place;
    dq.place = static_cast<int>(runs.size());
}

// Last three and four furlongs of every finisher.
void lastFurlongs(Race& r, Rng& rng, const std::vector<Run>& runs) {
    const int l3base = baseLast3F(r);
    double meanPerf = 0;
    for (const Run& x : runs) meanPerf += r.runners[static_cast<std::size_t>(x.k)].perf;
    meanPerf /= static_cast<double>(runs.size());
    const int kick[5] = {0, 2, 0, -2, -4};
    for (const Run& x : runs) {
        Runner& ru = r.runners[static_cast<std::size_t>(x.k)];
        const double l3 = l3base * (1.0 + goingFactor(r) * 0.8 + 0.012 * r.pace) - 2.5 * (ru.perf - meanPerf) +
                          kick[ru.style] + rng.normal(0, 2.0);
        ru.l3f = std::clamp(static_cast<int>(std::lround(l3)), 300, 480);
        ru.l4f = ru.l3f + static_cast<int>(std::lround((ru.time - ru.l3f) * 200.0 / std::max(200, r.kyori - 600)));
    }
}

// Positions and passing orders at the corners, and the running style they show.
void corners(Race& r, Rng& rng) {
    r.corners = r.trackCD == 10 ? 0 : (r.kyori < 1500 && !r.jump) ? 2 : 4;
    const double weights[4] = {0.05, 0.15, 0.3, 0.55};
    std::vector<double> styleScore(r.runners.size());
    for (std::size_t k = 0; k < r.runners.size(); ++k) {
        const double s[5] = {0, 0.0, 0.3, 0.6, 0.85};
        styleScore[k] = s[r.runners[k].style] + rng.normal(0, 0.12);
    }
    const int n = static_cast<int>(r.runners.size());
    for (int c = 0; c < r.corners; ++c) {
        const double wgt = weights[4 - r.corners + c];
        std::vector<std::pair<double, int>> pos;
        std::vector<std::pair<double, std::size_t>> order;
        for (std::size_t k = 0; k < r.runners.size(); ++k) {
            const Runner& ru = r.runners[k];
            if (ru.ijyo != '0' && ru.ijyo != '5' && ru.ijyo != '7' && !(ru.ijyo == '4' && c < r.corners - 1)) continue;
            const double fin = ru.arrive > 0 ? (ru.arrive - 1.0) / n : 1.0;
            const double score = (1 - wgt) * styleScore[k] + wgt * fin;
            pos.push_back({score, ru.uma});
            order.push_back({score, k});
        }
        std::sort(order.begin(), order.end());
        for (std::size_t i = 0; i < order.size(); ++i) r.runners[order[i].second].corner[static_cast<std::size_t>(4 - r.corners + c)] = static_cast<int>(i) + 1;
        r.cornerText[static_cast<std::size_t>(c)] = passingOrder(pos);
    }
    for (Runner& ru : r.runners) {
        if (ru.arrive == 0) continue;
        const int at = r.corners > 0 ? ru.corner[3] : ru.arrive;
        ru.style = at == 1 ? 1 : at <= (n + 2) / 3 ? 2 : at <= 2 * n / 3 ? 3 : 4;
    }
}

// Margins and time differences; prize money by official position (a dead
// heat shares the two prizes); laps and sectional times of the race.
void settle(Race& r, const std::vector<Run>& runs) {
    const auto runner = [&](std::size_t i) -> Runner& { return r.runners[static_cast<std::size_t>(runs[i].k)]; };
    const Runner& winner = runner(0);
    const int second = runs.size() > 1 ? runner(1).time : winner.time;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Runner& ru = runner(i);
        ru.timeDiff = i == 0 ? -(second - winner.time) : ru.time - winner.time;
        if (i == 0) continue;
        const int behind = ru.time - runner(i - 1).time;
        ru.margin = ru.deadHeat && behind == 0 ? "D  " : marginCode(behind);
    }
    for (Runner& ru : r.runners) {
        if (ru.place < 1 || ru.place > 5) continue;
        const auto idx = static_cast<std::size_t>(ru.place - 1);
        ru.prize = ru.deadHeat && idx + 1 < 5 ? (r.prize[idx] + r.prize[idx + 1]) / 2 : r.prize[idx];
    }
    r.laps = lapTimes(r, winner.time, winner.l3f, r.pace);
    r.l3 = winner.l3f;
    r.l4 = winner.l4f;
    if (r.laps.size() >= 4) {
        r.s3 = r.laps[0] + r.laps[1] + r.laps[2];
        r.s4 = r.s3 + r.laps[3];
        r.l4 = std::accumulate(r.laps.end() - 4, r.laps.end(), 0);
    }
}

void simulateRace(const World& w, Race& r) {
    const auto day = static_cast<std::uint64_t>(r.day.n), jyo = static_cast<std::uint64_t>(std::stoi(r.jyo));
    Rng rng(mix(w.seed, 0x7ace, mix(day, jyo, static_cast<std::uint64_t>(r.num))));
    Rng trackRng(mix(w.seed, 0x7a7, mix(day, jyo)));  // the day's track variant, shared by its races
    const double variant = trackRng.normal(0, 0.004);
    r.cancelled = rng.chance(0.002);
    openMarket(w, r, rng);
    if (r.cancelled) {
        for (Runner& ru : r.runners) ru.style = 0;
        return;
    }
    const std::vector<Run> runs = runTheRace(r, rng, variant);
    if (runs.empty()) return;
    placeFinishers(r, rng, runs);
    stewardsInquiry(r, rng, runs);
    lastFurlongs(r, rng, runs);
    corners(r, rng);
    settle(r, runs);
    payouts(r, buildMarket(r));
}

}  // namespace

void World::simulate(std::vector<Race>& races) const {
    for (Race& r : races) simulateRace(*this, r);
}

void World::apply(const std::vector<Race>& races) {
    for (const Race& r : races) {
        if (r.cancelled) continue;
        Rng rng(mix(seed, 0xa991, mix(static_cast<std::uint64_t>(r.day.n), static_cast<std::uint64_t>(std::stoi(r.jyo)),
                                      static_cast<std::uint64_t>(r.num))));
        const int y = r.day.year();
        const bool gradedRace = std::string("ABCFGH").find(r.grade) != std::string::npos && r.grade != ' ';
        for (const Runner& ru : r.runners) {
            if (ru.ijyo == '1' || ru.ijyo == '2') continue;
            Horse& h = horses[static_cast<std::size_t>(ru.horse)];
            const RunFacts f = runFacts(r.jyo, r.trackCD, r.kyori, r.going, ru.place, ru.prize, ru.style);
            h.tally.add(f);
            ++h.starts;
            if (ru.place == 1) (r.jump ? h.jumpWins : h.wins) += 1;
            h.lastRun = r.day;
            h.lastWeight = ru.weight;
            h.bodyWeight = ru.weight;
            Jockey& j = jockeys[static_cast<std::size_t>(ru.jockey)];
            Person& t = trainers[static_cast<std::size_t>(h.trainer)];
            j.t.add(f, y);
            t.t.add(f, y);
            owners[static_cast<std::size_t>(h.owner)].t.add(f, y);
            breeders[static_cast<std::size_t>(h.breeder)].t.add(f, y);
            if (ru.place == 1 && gradedRace) {
                const GradedWin g{r.day.yyyymmdd(), r.jyo, r.kai, r.nichi, r.num, r.hondai, r.r10, r.r6, r.r3,
                                  r.grade, r.starters, h.ketto, h.name.name};
                for (Person* p : {static_cast<Person*>(&j), &t}) {
                    p->graded.insert(p->graded.begin(), g);
                    if (p->graded.size() > 3) p->graded.pop_back();
                }
            }
            const int age = h.age(r.day);
            if (rng.chance(0.004) || (age >= 6 && ru.place >= 10 && rng.chance(0.05))) h.retired = true;
        }
    }
}

}  // namespace tarvo::worldgen
