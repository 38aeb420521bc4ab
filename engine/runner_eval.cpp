#include "runner_eval.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "lookups.h"
#include "run_index.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "textfn.h"
#include "time_calc.h"
#include "track_variant.h"
#include "um_index.h"

namespace tarvo {
namespace {

constexpr int kMissing = kMissingValue;
constexpr int kRunsLooked = 5;
constexpr int kSurfaceRunsLooked = 3;

int number(std::string_view s, int def) { return toIntDef(trimBoth(s), def); }
bool isNumber(std::string_view s) {
    long long v = 0;
    return parseInt(trimBoth(s), v);
}
// An index text as a figure, -150 when it is not a number.
int figure(std::string_view index) { return number(index, kMissing); }
bool present(int x) { return x > kMissing; }

std::string_view surfaceOf(std::string_view courseKey) { return part(courseKey, 0, 2); }

bool isGraded(std::string_view gradeCD) {
    return gradeCD == "A" || gradeCD == "B" || gradeCD == "C" || gradeCD == "D";
}

// Best, lowest, count, sum and sum of absolute values of the figures present.
struct Stats {
    int best = kMissing, lowest = kMissing, second = kMissing;
    int count = 0;
    long long sum = 0, sumAbs = 0;

    void add(int x) {
        if (!present(x)) return;
        if (count == 0 || x > best) {
            second = best;
            best = x;
        } else if (x > second) {
            second = x;
        }
        if (count == 0 || x < lowest) lowest = x;
        ++count;
        sum += x;
        sumAbs += std::abs(x);
    }
};

// The three indices of one run: run index, last-3F index, combined index.
using Triple = std::array<int, 3>;
constexpr Triple kNoTriple = {kMissing, kMissing, kMissing};

std::array<Triple, kRunsLooked> noTriples() {
    std::array<Triple, kRunsLooked> slots;
    slots.fill(kNoTriple);
    return slots;
}

void takeBest(Triple& best, const Triple& x) {
    for (std::size_t i = 0; i < best.size(); ++i)
        if (present(x[i]) && x[i] > best[i]) best[i] = x[i];
}

// Today's race as the values read it.
struct Today {
    std::string date, surface, jyokenCD5, gradeCD, jyuryoCD;
    long double kg = 55, w = 0;  // weight carried and the weight term
    int distance = 0;            // G
    int age = 0;
};

Today todayOf(const RunnerCall& c) {
    Today t;
    t.date = std::string(c.year) + std::string(c.monthDay);
    t.surface = surfaceOf(c.courseKey);
    t.jyokenCD5 = trimBoth(c.jyokenCD5);
    t.gradeCD = trimBoth(c.gradeCD);
    t.jyuryoCD = trimBoth(c.jyuryoCD);
    const std::string kg = trimBoth(c.weightKg);
    char* end = nullptr;
    const long double v = kg.empty() ? 0 : std::strtold(kg.c_str(), &end);
    if (!kg.empty() && end == kg.c_str() + kg.size()) t.kg = v;
    t.w = (t.kg - 55) * static_cast<long double>(engineSettings().weight);
    t.distance = number(part(c.courseKey, 2, 4), 0);
    t.age = number(c.year, 0) - number(part(c.kettoNum, 0, 4), 0);
    return t;
}

std::string text(int x) { return std::to_string(x); }
std::string orMissing(int x, const std::string& value, const char* missing = "**") {
    return present(x) ? value : missing;
}
std::string minusW(int x, const Today& t) { return orMissing(x, text(roundHalfAway(x - t.w))); }

// A best value adjusted for today's class, weight rule and weight carried.
std::string adjusted(int x, const Today& t, const char* missing) {
    long double r = x;
    if (t.jyokenCD5 == "999")
        r = t.w >= -1 ? (t.kg > 59 ? x - t.w : x) : x - t.w;
    else if (t.jyokenCD5 == "703" || t.jyuryoCD == "1")
        r = x - t.w;
    else if (t.w < -1)
        r = x - t.w / 2;
    return orMissing(x, text(roundHalfAway(r)), missing);
}

// Tracks whose runs on the other surface stand in on today's dirt.
bool isSubstituteTrack(std::string_view jyoCD, const Today& t) {
    const int condition = number(t.jyokenCD5, -1);
    const bool lowClass = condition == 703 || condition == 5;
    const int jyo = number(jyoCD, 0);
    const int g = t.distance;
    return jyo == 8 || (jyo == 9 && g > 1400) || (jyo == 5 && g == 1600) || (jyo == 6 && g == 1200 && lowClass) ||
           (jyo >= 1 && jyo <= 3 && g >= 1700 && lowClass);
}

int recencyWindow(std::string_view jyokenCD5) {
    if (jyokenCD5 == "703") return 240;
    if (jyokenCD5 == "999") return 366;
    return 185;
}

std::string runMarker(std::string_view iJyoCD) {
    if (iJyoCD == "1") return sj("消");
    if (iJyoCD == "2" || iJyoCD == "3") return sj("除");
    if (iJyoCD == "4") return sj("止");
    return {};
}

// The track's one-character short name: 名 for 中京, else the first character of its name.
std::string trackInitial(std::string_view jyoCD) {
    if (jyoCD == "07") return sj("名");
    const std::string name = trackName(jyoCD);
    return name.substr(0, name.empty() ? 0 : charLen(name, 0));
}

// The three texts a past-run cell and summary show: combined, run index, last-3F index.
struct RunTexts {
    std::string combined, run, l3f;
};

std::string pastCell(std::string_view jyoCD, std::string_view courseKey, int place, const RunTexts& r) {
    const std::string pos = place <= 0 || place > 30 ? std::string("--") : text(place);
    return padLeft(trackInitial(jyoCD), 4) + std::string(part(courseKey, 0, 4)) + " " + padLeft(pos, 2) + "\r\n" +
           padLeft(r.combined, 3) + "(" + padLeft(r.run, 3) + "/" + padLeft(r.l3f, 3) + ")";
}

std::string pastSummary(std::string_view courseKey, const RunTexts& r) {
    return std::string(part(courseKey, 0, 4)) + "(" + r.combined + ")(" + r.run + ")(" + r.l3f + ")";
}

// The run index and last-3F index of a run that finished normally.
struct RunIndices {
    std::string run = "**", l3f = "**";
};

RunIndices indicesOf(const EvalSource& src, const Today& today, std::string_view se, const RaceKey& race,
                     const std::string& courseKey, const std::string& ra) {
    auto f = [&](std::string_view name) { return getField(Family::SE, se, name); };
    auto r = [&](std::string_view name) { return getField(Family::RA, ra, name); };
    const RaceRun raceRun{race.year,    race.monthDay, race.jyoCD,     race.raceNum,
                          r("Ryakusyo6"), r("KigoCD"),   r("GradeCD"),   r("JyokenCD5"),
                          r("SyubetuCD"), f("Futan"),    courseKey,      f("Time")};
    const bool central = isCentralTrack(race.jyoCD);
    RunIndices out;
    if (surfaceOf(courseKey) == sj("障")) {
        if (central && today.surface == sj("障")) out.run = steeplechaseIndex(src.paths, raceRun);
        return out;
    }
    const std::string variant = pastRunVariant(src, race, courseKey);
    out.run = runIndex(race.jyoCD, courseKey, f("Time"), part(variant, 0, 4), f("Futan"));
    if (central)
        out.l3f = last3fIndex(race.jyoCD, courseKey, f("Time"), part(variant, 4, 4), f("TimeDiff"), f("Futan"),
                              f("HaronTimeL3"));
    else if (!isNumber(out.run))
        out.run = raceBasedIndex(src.paths, raceRun);
    return out;
}

int daysFrom(std::string_view from, std::string_view to) { return daysBetween(from, to).value_or(0); }

// Everything the walk over the runs gathers.
struct Walk {
    // Every counted run.
    long long weightSum = 0;
    int weightCount = 0, weightHigh = 0, weightLow = 999;
    std::string sexCD;
    // Runs that finished normally.
    std::optional<int> d2;
    int placed = 0;
    int cornerSum = 0, cornerCount = 0;
    std::string recentJyo, recentPlace, recentDiff, recentWeight;
    std::optional<int> recentDistance;
    std::string oldestPlace, oldestDiff;
    std::string indexedDate;  // run R, the most recent run with an index
    std::optional<int> interval;
    // Runs with an index.
    std::optional<int> d1;
    int lastIndex = kMissing;
    Stats run, l3f, combined;
    Triple distanceBest = kNoTriple;
    int shortest = 4000, longest = kMissing, indexedRuns = 0;
    long long distanceSum = 0;
    int recentBest = kMissing;
    std::array<Triple, kRunsLooked> same = noTriples(), substitute = noTriples();
    bool sameFound = false, substituteFound = false;
    long long paceSum = 0;
    int paceCount = 0;
};

std::string quoted(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& v : values) out += (out.empty() ? "\"" : ",\"") + v + "\"";
    return out;
}

// Value 5: the mean rounded to two significant digits, one decimal shown.
std::string cornerText(const Walk& w) {
    if (w.cornerCount == 0) return "--";
    const long double mean = static_cast<long double>(w.cornerSum) / w.cornerCount;
    const int tenths = mean >= 10 ? roundHalfAway(mean) * 10 : roundHalfAway(mean * 10);
    return text(tenths / 10) + "." + text(tenths % 10);
}

std::string highestOfRecent(const std::array<Triple, kRunsLooked>& slots, std::size_t i, const Today& t) {
    int best = kMissing;
    for (int k = 0; k < kSurfaceRunsLooked; ++k)
        if (present(slots[static_cast<std::size_t>(k)][i]) && slots[static_cast<std::size_t>(k)][i] > best)
            best = slots[static_cast<std::size_t>(k)][i];
    return minusW(best, t);
}

std::string growthBonus(const Walk& w, const Today& t) {
    if (!w.d1 || (t.age != 2 && t.age != 3)) return "**";
    const long double span = t.age == 3 && w.sexCD != "2" ? 25 : 30;
    return text(roundHalfAway(*w.d1 / span) + (w.placed == 1 ? 12 : 0));
}

std::string weightsText(const Walk& w, std::string_view baTaijyu) {
    const long long mean = w.weightCount > 0 ? w.weightSum / w.weightCount : 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3d%.3d%.3d%.3lld%.1d%.1d", number(baTaijyu, 0), w.weightLow, w.weightHigh,
                  mean, w.weightCount, w.placed);
    return buf;
}

std::string summaryText(const Walk& w, const Today& t, const RunnerCall& c) {
    char interval[16], age[16], distance[16];
    std::snprintf(interval, sizeof interval, "%.4d", w.interval.value_or(0));
    std::snprintf(age, sizeof age, "%.2d", t.age);
    if (w.recentDistance)
        std::snprintf(distance, sizeof distance, "%.4d", *w.recentDistance);
    else
        std::snprintf(distance, sizeof distance, "    ");
    return padRight(w.recentJyo, 2) + padRight(w.recentPlace, 2) + padRight(w.recentDiff, 4) +
           padRight(w.recentWeight, 3) + interval + age + distance + padRight(w.oldestPlace, 2) +
           padRight(w.oldestDiff, 4) + padRight(c.kisyuCode, 5) + padRight(c.kisyuCodeBefore, 5) +
           padRight(c.chokyosiCode, 5) + padRight(c.weightKg, 4);
}

std::vector<std::string> values(const Walk& w, const Today& t, const RunnerCall& c) {
    const auto mean = [&](const Stats& s) {
        return s.count == 0 ? std::string("**")
                            : text(roundHalfAway(static_cast<long double>(s.sum) / s.count - t.w));
    };
    std::string steady = "**";
    if (w.combined.count >= 3)
        steady = text(roundHalfAway(static_cast<long double>(w.combined.sumAbs - std::abs(w.combined.lowest)) /
                                        (w.combined.count - 1) -
                                    t.w));
    else if (w.combined.count > 0)
        steady = minusW(w.combined.best, t);
    const std::array<Triple, kRunsLooked>* surface =
        w.sameFound ? &w.same : w.substituteFound ? &w.substitute : nullptr;
    const auto surfaceValue = [&](std::size_t i) { return surface ? highestOfRecent(*surface, i, t) : "**"; };
    const auto penalty = [&](const std::optional<int>& d) {
        return d ? text(intervalPenalty(t.gradeCD, *d)) : std::string("**");
    };
    return {
        minusW(w.lastIndex, t),
        adjusted(w.run.best, t, "**"),
        adjusted(w.l3f.best, t, "**"),
        mean(w.run),
        mean(w.l3f),
        cornerText(w),
        w.paceCount == 0 ? std::string("***")
                         : text(roundHalfAway(static_cast<long double>(w.paceSum) / w.paceCount)),
        adjusted(w.combined.best, t, "--"),
        surfaceValue(0),
        surfaceValue(1),
        surfaceValue(2),
        minusW(w.recentBest, t),
        steady,
        minusW(present(w.combined.second) ? w.combined.second : w.combined.best, t),
        penalty(w.d1),
        penalty(w.d2),
        orMissing(w.distanceBest[0], text(w.distanceBest[0])),
        orMissing(w.distanceBest[1], text(w.distanceBest[1])),
        orMissing(w.distanceBest[2], text(w.distanceBest[2])),
        growthBonus(w, t),
        w.shortest >= 4000 ? std::string("**") : text(w.shortest),
        orMissing(w.longest, text(w.longest)),
        w.indexedRuns == 0 ? std::string("**")
                           : text(roundHalfAway(static_cast<long double>(w.distanceSum) / w.indexedRuns)),
        weightsText(w, c.baTaijyu),
        summaryText(w, t, c),
    };
}

}  // namespace

std::string pastRunVariant(const EvalSource& src, const RaceKey& race, std::string_view courseKey) {
    const EngineSettings& s = engineSettings();
    return s.bbdcmp && isCentralTrack(race.jyoCD)
               ? raceVariant(src.paths, race, courseKey, s.distidx)
               : storedVariant(src.paths, src.fileFolder, race.date(), race.jyoCD, race.raceNum);
}

std::string evaluateRunner(const EvalSource& src, const RunnerCall& call) {
    const ReadCacheScope cache;  // a run's day file also gives its reference time and variant
    const std::string list = runList(src.paths, call.kettoNum);
    if (list.empty()) return std::string(kEvaluationValues - 1, ',');
    const Today today = todayOf(call);
    RunnerTable* table = nullptr;
    if (call.caller == kMainWindowCaller && call.row >= 1) table = &runnerTable(call.caller);
    const std::size_t row = static_cast<std::size_t>(call.row - 1);

    Walk w;
    int k = 0;
    for (const RunEntry& entry : runEntries(list)) {
        if (k >= kRunsLooked) break;
        if (entry.date >= today.date) continue;
        const std::string se =
            findRunInDayFile(src.paths, part(entry.date, 0, 4), part(entry.date, 4, 4), entry.jyoCD, call.kettoNum);
        if (se.empty()) continue;  // the run list promises a line; without one the entry is skipped
        auto f = [&](std::string_view name) { return getField(Family::SE, se, name); };
        const std::string dataKubun = trimBoth(f("DataKubun"));
        if (dataKubun != "7" && dataKubun != "A") continue;
        const RaceKey race = RaceKey::of(Family::SE, se);
        std::string ra;
        auto raceLine = [&]() -> const std::string& {
            if (ra.empty()) ra = findRace(src.paths, race);
            return ra;
        };
        std::string kyori(trimBoth(f("Kyori"))), trackCD(trimBoth(f("TrackCD")));
        if (kyori.empty() || trackCD.empty()) {
            kyori = trimBoth(getField(Family::RA, raceLine(), "Kyori"));
            trackCD = trimBoth(getField(Family::RA, raceLine(), "TrackCD"));
        }
        const std::string key = courseKey(trackCD, kyori);
        const int distance = number(kyori, 0);
        const std::size_t slot = static_cast<std::size_t>(k);
        if (k == 0) w.sexCD = trimBoth(f("SexCD"));

        const int weight = number(f("BaTaijyu"), 0);
        w.weightSum += weight;
        if (weight > 0) ++w.weightCount;
        w.weightHigh = std::max(w.weightHigh, weight);
        w.weightLow = std::min(w.weightLow, weight);

        const std::string marker = runMarker(trimBoth(f("IJyoCD")));
        const int place = number(f("KakuteiJyuni"), 0);
        RunTexts shown{marker, "--", "--"};
        if (marker.empty()) {
            const RunIndices idx = indicesOf(src, today, se, race, key, raceLine());
            const int r = figure(idx.run), l = figure(idx.l3f);
            const int c = !present(r) ? kMissing : r < l ? roundHalfAway((r + l) / 2.0L) : r;
            if (present(r))
                shown = {text(c), idx.run, idx.l3f};
            else
                shown.combined = isNumber(idx.run) ? std::string("--") : idx.run;

            const int days = daysFrom(race.date(), today.date);
            if (!w.d2) {
                w.d2 = days;
                w.recentJyo = f("JyoCD");
                w.recentPlace = f("KakuteiJyuni");
                w.recentDiff = f("TimeDiff");
                w.recentWeight = f("BaTaijyu");
                w.recentDistance = distance;
            }
            w.oldestPlace = f("KakuteiJyuni");
            w.oldestDiff = f("TimeDiff");
            if (!w.indexedDate.empty() && !w.interval && (present(r) || (place >= 1 && place <= 18)))
                w.interval = daysFrom(race.date(), w.indexedDate);
            if (place >= 1 && place <= 30) ++w.placed;

            if (present(r)) {
                if (w.indexedDate.empty()) {
                    w.indexedDate = race.date();
                    w.d1 = days;
                    const bool tooLong = (today.gradeCD.empty() || today.gradeCD == "E") &&
                                         today.distance + 100 < distance;
                    w.lastIndex = tooLong ? kMissing : r;
                }
                w.run.add(r);
                w.l3f.add(l);
                w.combined.add(c);
                const Triple triple = {r, l, c};
                const int g = today.distance;
                const bool inWindow = g > 2400 ? distance >= 2300 && distance <= g + 600
                                               : distance >= g - 200 && distance <= g + 200;
                if (g > 0 && inWindow) takeBest(w.distanceBest, triple);
                w.shortest = std::min(w.shortest, distance);
                w.longest = std::max(w.longest, distance);
                w.distanceSum += distance;
                ++w.indexedRuns;
                if (days <= recencyWindow(today.jyokenCD5) && c > w.recentBest) w.recentBest = c;
                if (surfaceOf(key) == today.surface) {
                    w.same[slot] = triple;
                    w.sameFound = true;
                    if (number(f("HaronTimeL3"), 0) != 0) {
                        w.paceSum += frontPace(f("Time"), key, f("HaronTimeL3"));
                        ++w.paceCount;
                    }
                } else if (today.surface == sj("ダ") && today.gradeCD != "A" && isSubstituteTrack(race.jyoCD, today)) {
                    w.substitute[slot] = triple;
                    w.substituteFound = true;
                }
            }
            for (const char* corner : {"Jyuni2c", "Jyuni3c", "Jyuni4c"})
                if (const int p = number(f(corner), 0); p != 0) {
                    w.cornerSum += p;
                    ++w.cornerCount;
                }
        }
        if (table && row < table->pastCells[kPastRuns - 1 - slot].size()) {
            const std::size_t at = kPastRuns - 1 - slot;
            table->pastRaceKeys[at][row] = race.text();
            table->pastCells[at][row] = pastCell(race.jyoCD, key, place, shown);
            table->pastSummaries[at][row] = pastSummary(key, shown);
        }
        ++k;
    }
    return quoted(values(w, today, call));
}

int intervalPenalty(std::string_view gradeCD, int days) {
    int p = days < 8 ? 2 : days < 20 ? 1 : days < 120 ? 0 : days < 270 ? 1 : days < 365 ? 2 : days < 540 ? 4 : 5;
    if (!isGraded(trimBoth(gradeCD))) --p;
    return std::max(p, 0);
}

namespace {

// The six counts of an aptitude field (first, second, third, fourth, fifth, other).
int total(const std::array<int, 6>& c) { return c[0] + c[1] + c[2] + c[3] + c[4] + c[5]; }

// The record's field pair for today's surface: "Siba" for TrackCD 10 to 22, "Dart" for 23 to 29.
std::optional<std::string> surfaceWord(std::string_view trackCD) {
    const int tc = number(trackCD, 0);
    if (tc >= 10 && tc <= 22) return "Siba";
    if (tc >= 23 && tc <= 29) return "Dart";
    return std::nullopt;
}

bool sameDistance(std::string_view ck, std::string_view kyori) {
    return number(getField(Family::CK, ck, "Kyori"), -1) == number(kyori, -2);
}

}  // namespace

std::array<int, 6> aptitudeCounts(std::string_view field, std::size_t width) {
    std::array<int, 6> c{};
    for (std::size_t i = 0; i < c.size(); ++i) c[i] = number(part(field, i * width, width), 0);
    return c;
}

std::string courseAptitudeCheck(const StorePaths& paths, const RaceKey& race, std::string_view gradeCD,
                                std::string_view kyori, std::string_view trackCD, std::string_view kettoNum) {
    const std::string ck = findAptitude(paths, race, kettoNum);
    const auto word = surfaceWord(trackCD);
    if (ck.empty() || !word) return "0";
    const bool graded = isGraded(trimBoth(gradeCD));
    int result = 0;
    const auto track = aptitudeCounts(getField(Family::CK, ck, "Uma_Jyo" + *word), 3);
    const double n = total(track), t = track[0] + track[1] + track[2];
    if (n >= 3 && t / n < (graded ? 0.28 : 0.25)) result -= 3;
    if (sameDistance(ck, kyori)) {
        const auto dist = aptitudeCounts(getField(Family::CK, ck, "Uma_Kyori" + *word), 3);
        const double m = total(dist), w2 = dist[0] + dist[1], w3 = w2 + dist[2];
        if (m >= 4 && (graded ? (w2 / m < 0.2 || w3 / m < 0.35) : w3 / m < 0.2)) result -= 5;
    }
    return text(result);
}

std::string jockeyAptitudeCheck(const StorePaths& paths, const RaceKey& race, std::string_view kisyuCode,
                                std::string_view kyori, std::string_view trackCD, std::string_view kettoNum) {
    const std::string ck = findAptitude(paths, race, kettoNum);
    const auto word = surfaceWord(trackCD);
    if (ck.empty() || !word || trimBoth(getField(Family::CK, ck, "KisyuCode")) != trimBoth(kisyuCode) ||
        !sameDistance(ck, kyori))
        return "00";
    const auto flag = [&](std::string_view field, int upper) {
        const auto c = aptitudeCounts(getField(Family::CK, ck, field), 4);
        const double n = total(c), r2 = (c[0] + c[1]) / n, r3 = (c[0] + c[1] + c[2]) / n;
        if (n < 50) return '0';
        const bool good = n < upper ? (r2 >= 0.25 || r3 >= 0.3) : (r2 >= 0.23 || r3 >= 0.28);
        return good ? '1' : '0';
    };
    return {flag("Kisyu_Kyori" + *word, 100), flag("Kisyu_Jyo" + *word, 150)};
}

}  // namespace tarvo
