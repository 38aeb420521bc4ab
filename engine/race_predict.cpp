#include "race_predict.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>

#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "lookups.h"
#include "newcomer_stats.h"
#include "runner_tables.h"
#include "std_tables.h"
#include "store_paths.h"
#include "textfn.h"
#include "time_calc.h"
#include "track_variant.h"

namespace tarvo {
namespace {

constexpr int kMissing = kMissingValue;
constexpr std::size_t kForecastWidth = 18;

int intOf(std::string_view s, int def = kMissing) { return toIntDef(trimBoth(s), def); }

double decimalOf(std::string_view s, double def) {
    const std::string t = trimBoth(s);
    if (t.empty()) return def;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    return end == t.c_str() + t.size() && std::isfinite(v) ? v : def;
}

bool present(int x) { return x > kMissing; }
int round(double x) { return roundHalfAway(static_cast<long double>(x)); }

const std::string& turfMark() {
    static const std::string s = sj("芝");
    return s;
}
const std::string& dirtMark() {
    static const std::string s = sj("ダ");
    return s;
}

// The pace labels from the fastest (0) to the slowest (6).
const std::array<std::string, 7>& paceLabels() {
    static const std::array<std::string, 7> labels = {"HH", sj("Ｈ"), "LH", sj("Ｍ"), "LS", sj("Ｓ"), "SS"};
    return labels;
}
enum Pace { HH, H, LH, M, LS, S, SS, OtherPace };

Pace paceOf(std::string_view label) {
    const auto& labels = paceLabels();
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (labels[i] == label) return static_cast<Pace>(i);
    return OtherPace;
}

bool isGraded(std::string_view gradeCD) {
    return gradeCD == "A" || gradeCD == "B" || gradeCD == "C" || gradeCD == "D";
}

// The race terms every rule reads.
struct Course {
    int jyo = 0;  // track code as a number
    int g = kMissing;
    bool turf = false, dirt = false, central = false, graded = false;
    int cls = kMissing;  // JyokenCD5 as a number
    std::string gradeCD, syubetuCD;

    Course(std::string_view jyoCD, std::string_view courseKey, std::string_view grade, std::string_view jyokenCD5 = {},
           std::string_view syubetu = {})
        : jyo(intOf(jyoCD, 0)),
          g(intOf(part(courseKey, 2, 4))),
          turf(part(courseKey, 0, 2) == turfMark()),
          dirt(part(courseKey, 0, 2) == dirtMark()),
          central(isCentralTrack(jyoCD)),
          gradeCD(trimBoth(grade)),
          syubetuCD(trimBoth(syubetu)) {
        graded = isGraded(gradeCD);
        cls = intOf(jyokenCD5);
    }
    bool maiden() const { return cls == 703; }
    bool open() const { return cls == 999; }
    bool at(std::initializer_list<int> tracks) const {
        return std::find(tracks.begin(), tracks.end(), jyo) != tracks.end();
    }
};

// v rounded to sig significant digits, written with one decimal and fitted to
// width bytes (padded on the right; cut when longer, so that the fields of
// the forecast keep their positions).
std::string significant(double v, int sig, std::size_t width) {
    if (v != 0) {
        const double scale = std::pow(10.0, std::floor(std::log10(std::fabs(v))) - sig + 1);
        v = roundHalfAway(static_cast<long double>(v / scale)) * scale;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    std::string s = buf;
    s.resize(std::max(s.size(), width), ' ');
    return s.substr(0, width);
}

// The pace step 0 (HH) to 6 (SS) of the difference between the standard
// last 3F and the mean front pace.
int paceStep(double diff) {
    if (diff >= 15) return 0;
    if (diff >= 10) return 1;
    if (diff > 5) return 2;
    if (diff >= -5) return 3;
    if (diff > -10) return 4;
    if (diff > -15) return 5;
    return 6;
}

// Running styles by the mean corner position.
enum Style { Leader, Forward, Stalker, Closer, Deep };

Style styleOf(double x) {
    if (x < 2) return Leader;
    if (x < 4) return Forward;
    if (x < 6) return Stalker;
    if (x < 10) return Closer;
    return Deep;
}

// A slot figure beyond eight digits reads as not a number, so that the
// differences and sums of the steps stay within int.
constexpr int kLargestFigure = 99999999;

// The runner table's slot k of runner i.
struct Slots {
    const RunnerTable& t;
    std::size_t i;
    std::string_view text(std::size_t k) const { return t.marks[k][i]; }
    int number(std::size_t k, int def = kMissing) const {
        const int v = intOf(text(k), def);
        return v < -kLargestFigure || v > kLargestFigure ? def : v;
    }
    // A byte range of value 24 (slot 31), 1-based from.
    std::string_view summary(std::size_t from, std::size_t count) const { return part(text(31), from - 1, count); }
    // A byte range of value 23 (slot 29).
    int weights(std::size_t from, std::size_t count) const { return intOf(part(text(29), from - 1, count), 0); }
};

// Score terms are summed in 64 bits and stored as the 32-bit value of the
// same bits, so an out-of-range sum wraps rather than overflowing.
std::int32_t score(long long v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

// What the prediction knows of the race as a whole.
struct RaceTerms {
    RaceTerms(const RaceCall& rc, Course course) : call(rc), c(std::move(course)) {}
    const RaceCall& call;
    Course c;
    int monthDay = 0;
    bool newcomer = false;
    std::string goingKey;
    int std3F = 0, frontPace = 0;  // the race-level figures as numbers (0 when none)
    std::string paceLabel, secondLabel;
    int maxUmaban = 0;
};

// Sprint pace bonus T.
int sprintBonus(const RaceTerms& r, int w) {
    const Course& c = r.c;
    if (!(c.g >= 1000 && c.g <= 1800 && c.dirt && r.std3F > 0 && r.frontPace > 0 && w > 0)) return 0;
    const Pace p = paceOf(r.paceLabel);
    const bool fast = p == HH || p == H || p == LH;
    const bool fastOrMid = fast || p == M;
    const double gap = r.frontPace - w;
    int t = 0;
    if (c.jyo == 5 && c.g == 1300 && fastOrMid) t = round(gap / 4);
    else if (c.jyo == 5 && c.g == 1400 && fast) t = round(gap / 3);
    else if (c.jyo == 6 && c.g == 1200 && fastOrMid) t = round(gap / 3);
    else if (c.jyo == 8 && c.g == 1200 && fast) t = round(gap / 3);
    else if (c.jyo == 8 && c.g == 1400 && fast) t = round(gap / 4);
    else if (c.jyo == 9 && c.g == 1400 && fastOrMid) t = round(gap / 4);
    return std::max(t, 0);
}

// Distance penalties (step 5) on P and bD.
void distancePenalties(const Course& c, int m, int minD, int maxD, int& p, int& bD) {
    const int g = c.g;
    const auto asGradeA = [&] {
        if (c.turf) return g <= 2400 && g > maxD + 300;
        if (c.dirt) return (g <= 2100 && g > maxD + 200) || (g > 2100 && g > maxD + 500);
        return false;
    };
    bool penalty = false;
    if (c.gradeCD == "A") {
        penalty = asGradeA();
    } else if (c.graded) {
        if (c.syubetuCD == "11")
            penalty = g >= 1600 && g > maxD + 300 && m > -5;
        else if (c.syubetuCD == "12")
            penalty = (g >= 1800 && g <= 2200 && g > maxD + 300) || (g > 2200 && g > maxD + 400);
        else
            penalty = asGradeA();
    } else if (c.open()) {
        if (c.syubetuCD == "11")
            penalty = g >= 1800 && g > maxD + 300;
        else if (c.turf)
            penalty = g <= 2400 && g > maxD + 300;
        else if (c.dirt)
            penalty = g <= 2300 && g > maxD + 200;
    } else {
        if (present(minD)) {
            if (g <= minD - 400) bD -= 5;
            if (g == 1000 && g <= minD - 600) p -= 5;
        }
        if (present(maxD)) {
            if (g >= maxD + 400) bD -= 5;
            if (g <= 2200 && g > maxD + 200) p -= 5;
            if (g >= 2201 && g <= 2600 && g > maxD + 300) p -= 5;
        }
    }
    if (penalty) p -= 5;
}

// Body weight terms Z (score A) and aa (score B), step 10.
struct WeightTerms {
    int z = 0, aa = 0;
};

WeightTerms bodyWeightTerms(const RaceTerms& r, const Slots& s, bool filly, int age) {
    const Course& c = r.c;
    const int today = s.weights(1, 3), lowest = s.weights(4, 3), highest = s.weights(7, 3), mean = s.weights(10, 3);
    const int count = s.weights(13, 1);
    if (!(engineSettings().taiadd && today > 0 && c.central && mean > 0 && count >= 3)) return {};
    const int dAvg = today - mean, dMin = today - lowest, dMax = today - highest;
    const int last = intOf(s.summary(9, 3), 0);
    const int change = today == 0 || last == 0 ? 0 : today - last;
    WeightTerms out;
    if (c.maiden()) {
        struct Band {
            int from, low, high, minLow, maxHigh;
        };
        static constexpr Band bands[] = {
            {520, -24, 24, -12, 12}, {490, -20, 20, -10, 10}, {470, -18, 18, -10, 8}, {450, -16, 16, -10, 6},
            {0, -14, 14, -10, 6}};
        const Band& b = *std::find_if(std::begin(bands), std::end(bands), [&](const Band& x) { return mean >= x.from; });
        const int high = b.high - (filly ? 2 : 0);
        if (dAvg <= b.low || dAvg >= high)
            out = {-7, -5};
        else if (dMin <= b.minLow || dMax >= b.maxHigh)
            out = {-5, -5};
    } else {
        const int low = mean >= 520 ? -12 : -10;
        int maxHigh = mean >= 520 ? 12 : mean >= 490 ? 10 : mean >= 470 ? 8 : 6;
        if (!c.graded && filly && c.cls > 5) maxHigh -= 2;
        if (c.graded) {
            if (r.monthDay >= 701 && r.monthDay <= 915) {
                if (mean >= 460)
                    maxHigh += filly ? 4 : 8;
                else if (mean >= 430)
                    maxHigh += filly ? 2 : 6;
            }
            if (age == 3 && r.monthDay >= 916 && r.monthDay <= 1031 && mean >= 440) maxHigh += 2;
        }
        if (dMin <= low || dMax >= maxHigh) out = {-7, -5};
    }
    const bool openE = c.open() && c.gradeCD == "E";
    const bool lowClass = c.cls >= 1 && c.cls <= 5;
    if (!c.maiden() && !openE && !lowClass && out.z == 0 && out.aa == 0 && std::abs(change) >= (filly ? 12 : 14))
        out = {-2, -2};
    return out;
}

// Course position correction ab, step 11.
int coursePosition(const RaceTerms& r, double x, int v) {
    const Course& c = r.c;
    if (!c.central) return 0;
    if (c.jyo == 4) {
        if (!(c.dirt && c.g >= 1000 && c.g <= 1800)) return 0;
        if (c.g > 1200) return v;
        return x >= 11 ? v - 6 : x >= 8 ? v - 3 : v;
    }
    if (c.jyo == 5) return c.dirt && c.g >= 1000 && c.g <= 1400 ? v : 0;
    std::optional<double> limit;
    if (c.turf) {
        if (c.graded || x < 7) return 0;
        switch (c.jyo) {
            case 1: limit = c.maiden() ? 9 : 8; break;
            case 2: limit = 7; break;
            case 3: limit = 8.5; break;
            case 6: limit = c.open() ? 0 : c.maiden() ? 7 : 7.7; break;
            case 10: limit = 7.5; break;
            default: break;
        }
    } else if (c.dirt) {
        if (x < 6.5) return 0;
        const Pace p = paceOf(r.paceLabel);
        switch (c.jyo) {
            case 1: limit = c.maiden() ? 8.5 : 8; break;
            case 2: limit = c.maiden() ? 7 : 8.5; break;
            case 3: limit = 8.5; break;
            case 6:
            case 7: limit = c.maiden() ? 8.5 : 8; break;
            case 9:
                if ((c.maiden() || c.cls == 5) && c.g <= 1400 && (p == SS || p == S || p == LS)) limit = 10.5;
                break;
            case 10: limit = 9; break;
            default: break;
        }
    }
    return limit && x >= *limit ? -3 : 0;
}

// Heavy dirt correction l, step 13.
int heavyDirt(const RaceTerms& r, double x, int w) {
    const Course& c = r.c;
    if (!(engineSettings().bcdadd && c.central && c.dirt && (r.goingKey == sj("重") || r.goingKey == sj("不"))))
        return 0;
    switch (c.jyo) {
        case 5:
            if (c.g == 1600) return x >= 7 ? -2 : 0;
            if (c.g > 1600 && x >= 9)
                return -2 + (r.frontPace > 0 && w > 0 ? round((r.frontPace - w) / 4.0) : 0);
            return 0;
        case 8: return x >= 7 ? -2 : 0;
        case 9: return 0;
        default: return x >= 9 ? -3 : x >= 7 ? -2 : 0;
    }
}

// The runner's odds as a number, 0 when not a number.
double oddsOf(const RunnerTable& t, std::size_t i) { return i < t.odds.size() ? decimalOf(t.odds[i], 0) : 0; }
// 999 - o truncated (within int), 0 when o is 0.
int oddsComplement(double o) {
    if (o == 0) return 0;
    const long double v = std::trunc(999 - static_cast<long double>(o));
    return static_cast<int>(std::clamp<long double>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The four scores of a runner of an ordinary race.
std::array<std::int32_t, 4> ordinaryScores(const RaceTerms& r, const Slots& s, double o) {
    const Course& c = r.c;
    const EngineSettings& es = engineSettings();
    const int a9 = s.number(2), bb = s.number(3), bd = s.number(8), bf = s.number(16), U = s.number(12);
    const int s13 = s.number(13), bl = s.number(17), bw = s.number(24, 0);
    int P = s.number(11), Q = s.number(23);
    const int minD = s.number(26), maxD = s.number(27);
    const double x = decimalOf(s.text(6), 0);
    const int w = s.number(7, 0), u = s.number(kSlotUmaban, 0);
    const bool filly = trimBoth(s.text(kSlotSexName)) == sj("牝");
    const int m = intOf(s.summary(5, 4));
    const std::string lastFinish = trimBoth(s.summary(3, 2));
    const int rest = intOf(s.summary(12, 4)), age = intOf(s.summary(16, 2)), lastDist = intOf(s.summary(18, 4));
    const int oldestMargin = intOf(s.summary(24, 4));
    const int finished = s.weights(14, 1), weightCount = s.weights(13, 1);
    const bool longRest = rest >= 120 && !c.maiden();

    // 1. Margin bonus.
    int bu = 0;
    if (lastFinish == "01" && !(c.open() && c.gradeCD == "E")) {
        if (c.cls >= 1 && c.cls <= 5) {
            if (age >= 4 && m <= -5)
                bu = 1;
            else if (age == 3 && r.monthDay >= 101 && r.monthDay <= 531)
                bu = m <= -9 ? 3 : (m >= -8 && m <= -6 && bw == 0) ? 1 : 0;
        } else if (m <= -3 && (age != 2 || (c.gradeCD != "A" && c.gradeCD != "B"))) {
            bu = 2;
        }
    }
    const int N = bu;
    // 2. Maiden dirt fallback.
    if (c.maiden() && c.dirt && c.central && !present(P) && present(bl) && (!c.at({4, 6}) || c.g == 1200) &&
        (bd - bl <= 8 || (present(s13) && bd - s13 <= 6)))
        P = bd;
    // 3. Two-start rise.
    if (finished == 2 && bl - Q >= 15) {
        bool rise;
        if (c.open())
            rise = present(Q) && c.g - lastDist <= 400 && oldestMargin <= 12;
        else if (c.maiden())
            rise = c.turf && c.g >= 1000 && c.g <= 2200;
        else
            rise = present(Q);
        if (rise) Q = bl;
    }
    // 4. Distance cap.
    if (c.graded || c.at({1, 2, 4, 6})) {
        if (present(Q) && P > Q) P = Q;
    } else if (P > Q) {
        P = present(Q) ? Q : 0;
    }
    // 5. Distance penalties.
    int bD = a9;
    distancePenalties(c, m, minD, maxD, P, bD);
    // 6. Last-run correction.
    if (present(bl)) {
        const int d = bl - P;
        if (d < -5) {
            if (!longRest || d < -10) P = round((P + bl) / 2.0);
        } else if (present(s13) && P - s13 >= 12) {
            P = s13;
        }
    }
    // 7. Recent form.
    if ((c.maiden() || (c.cls >= 1 && c.cls <= 16) || !present(bl)) && present(U) && present(P) && U - P < -10) P = U;
    // 8. Central terms.
    int V = 0, bJ = 0, bK = 0, T = 0;
    if (c.central) {
        V = runningStyleScore(r.call.jyoCD, r.call.courseKey, c.gradeCD, x, r.secondLabel, r.call.jyokenCD5);
        bJ = drawScore(r.call.jyoCD, r.call.courseKey, u, r.maxUmaban, c.gradeCD);
        bK = c.jyo == 4 && c.turf && c.g == 1000 ? bJ : 0;
        T = sprintBonus(r, w);
    }
    // 9. Aptitudes.
    const int aP = es.dsthyo ? s.number(kSlotCourseCheck) : 0;
    const int aQ = es.kshadd ? s.number(kSlotJockeyDistance) + s.number(kSlotJockeyTrack) : 0;
    // 10. Body weight.
    const WeightTerms wt = bodyWeightTerms(r, s, filly, age);
    // 11. Course position.
    const int ab = coursePosition(r, x, V);
    // 12. First-start bonus.
    int cr = 0;
    if (c.maiden() && weightCount == 1 && finished == 1) {
        const bool beaten = intOf(lastFinish, 0) > 5;
        cr = P < 70 ? (beaten ? 6 : 4) : (beaten ? 3 : 2);
    }
    // 13. Heavy dirt.
    const int l = heavyDirt(r, x, w);
    // 14. Long-shot bonus.
    const int p = es.oddadd && o >= 10 && o <= 105 && c.dirt && w == 0 && c.at({5, 6, 8, 9}) && c.g >= minD - 100 &&
                          c.g <= maxD && c.gradeCD != "A" && aP >= 0
                      ? 2
                      : 0;

    using L = long long;
    const L common = L{T} + l + bJ + ab + aP + cr + bu;
    const L a = (L{P} + 300 + common + wt.z - bf) * 1000000 + (L{a9} + 300 + common) * 1000 +
                (L{bb} + 300 + common) * 100 + 100 - u;
    const L bTerms = L{p} + bK + V + aQ + bw + N;
    const L b = (L{bD} + 300 + bTerms + wt.aa - bf) * 1000000 + (L{bb} + 300 + bTerms) * 1000 +
                (L{bd} + 300 + bTerms) * 100 + 100 - u;
    L cScore;
    if (es.oddadd) {
        cScore = (L{a9} + aQ + bw + oddsComplement(o)) * 1000 + 1000 - u;
    } else {
        const L cTerms = L{bK} + V + aQ + bw + N;
        cScore = (L{a9} + 300 + cTerms + wt.aa - bf) * 1000000 + (L{bb} + 300 + cTerms) * 1000 +
                 (L{bd} + 300 + cTerms) * 100 + 100 - u;
    }
    return {score(a), score(b), score(cScore), score(a9)};
}

// The figures of the two blocks of a newcomer statistics text: first and
// second places of the surface block, then of the distance block.
std::array<int, 4> blockFigures(std::string_view blocks) {
    return {intOf(part(blocks, 0, 2), 0), intOf(part(blocks, 2, 2), 0), intOf(part(blocks, 9, 2), 0),
            intOf(part(blocks, 11, 2), 0)};
}
int sum(const std::array<int, 4>& f) { return f[0] + f[1] + f[2] + f[3]; }

// The statistics files of a newcomer race, each read once for all runners.
struct NewcomerFiles {
    NewcomerStatsFile jockey, sire, damSire;
    NewcomerFiles(const std::string& fileFolder, std::string_view year)
        : jockey(fileFolder, NewcomerTable::Jockey, year),
          sire(fileFolder, NewcomerTable::Sire, year),
          damSire(fileFolder, NewcomerTable::DamSire, year) {}
};

// Jockey score ac from the jockey's record in the runner's CK record.
int jockeyScore(const EvalSource& src, const RaceTerms& r, const Slots& s) {
    if (intOf(s.summary(33, 5), 0) > 0) return 60;
    const RaceCall& rc = r.call;
    const std::string ck =
        findAptitude(src.paths, RaceKey(rc.year, rc.monthDay, rc.jyoCD, rc.raceNum), s.t.kettoNums[s.i]);
    const std::string word = r.c.turf ? "Siba" : "Dart";
    const auto rate = [&](const std::string& field) {
        const auto n = aptitudeCounts(getField(Family::CK, ck, field), 4);
        const int total = n[0] + n[1] + n[2] + n[3] + n[4] + n[5];
        return total == 0 ? 0.0 : static_cast<double>(n[0] + n[1]) / total;
    };
    const double rd = rate("Kisyu_Kyori" + word), rt = rate("Kisyu_Jyo" + word);
    if (rd + rt < 0.2 && rd < 0.1 && rt < 0.1) return round(std::max(rd, rt) * 100) + 50;
    return round((rd + rt) * 50) + 50;
}

// The four scores of a runner of a newcomer race.
std::array<std::int32_t, 4> newcomerScores(const EvalSource& src, const RaceTerms& r, const Slots& s,
                                           const NewcomerFiles& files, double o) {
    const Course& c = r.c;
    const bool oddadd = engineSettings().oddadd;
    const int g = c.g, u = s.number(kSlotUmaban, 0);
    const bool filly = trimBoth(s.text(kSlotSexName)) == sj("牝");
    const std::string horse = findHorse(src.paths, s.t.kettoNums[s.i]);
    const auto j = blockFigures(files.jockey.blocks(s.summary(28, 5), r.call.courseKey));
    const auto sf = blockFigures(files.sire.blocks(trimBoth(getField(Family::UM, horse, "Ketto3InfoBamei1")),
                                                   r.call.courseKey));
    const auto df = blockFigures(files.damSire.blocks(trimBoth(getField(Family::UM, horse, "Ketto3InfoBamei5")),
                                                      r.call.courseKey));
    const double k = g <= 1300 ? 3 : 2;
    const int ad = round((j[0] + j[1]) / k), cy = round(sum(j) / k);
    const int sv = round(sum(sf) / 2.0), dv = round(sum(df) / 2.0);
    const int ac = jockeyScore(src, r, s);

    const bool early = r.monthDay >= 1 && r.monthDay <= 930;
    const bool flat = c.syubetuCD == "11";
    const int bw0 = early ? (flat ? 54 : (filly ? 54 : 56)) : (flat ? (filly ? 54 : 55) : (filly ? 55 : 57));
    const int wt = round(bw0 - decimalOf(s.summary(43, 4), 0));
    int ak = 0;
    if (oddadd) ak = o >= 100 ? -10 : (g >= 1800 && o >= 50) ? -5 : 0;
    const int ro = round(o), ad15 = round(1.5 * ad);
    const bool longShot = oddadd && o >= 10;

    using L = long long;
    L a, b;
    if (!c.turf) {
        int al = ac >= 60 ? 0 : (sv < 10 ? ad + sv : ad + 2 * sv);
        if (oddadd) al += dv == 0 ? -1 : dv > 9 ? 2 : 0;
        a = (L{al} + ac - (longShot ? ro : 0)) * 100 + 30100 - u;
        if (g >= 1400 && g <= 1799)
            b = (L{ad15} + ac + sv + ak) * 100 + L{wt} * 1000 + 30100 - u;
        else if (g >= 1800)
            b = (L{ad15} + ac + sv + ak + 6 * L{wt} + 300) * 100 + 100 - u;
        else
            b = (L{ad15} + ac + sv + round(2.5 * (df[2] + df[3])) + ak + 10 * L{wt} + 300) * 100 + 100 - u;
    } else {
        int al = ad + sv + 50;
        if (dv == 0) al -= g < 2000 ? 2 : 1;
        if (dv > 13) al += 2;
        const int h = al < ac ? round((ac + al) / 2.0) : al;
        a = L{h} * 100 - (longShot ? L{ro} * 100 : 0) + 30100 - u;
        if (g >= 1400 && g <= 1799)
            b = oddadd ? (10 * L{wt} + ac + ad + sv + dv + ak + 300) * 100 + 100 - u
                       : (L{ad15} + ac + sv + dv + 10 * L{wt} + 300) * 100 + 100 - u;
        else if (g >= 1800)
            b = oddadd ? (6 * L{wt} + ac + ad + sv + ak + 300) * 100 + 100 - u
                       : (L{ad15} + ac + sv + 6 * L{wt} + 300) * 100 + 100 - u;
        else
            b = (10 * L{wt} + ac + cy + sv + dv + ak + 300) * 100 + 100 - u;
    }
    const L cScore = oddadd ? (ak < 0 ? L{ac} : L{ac} + oddsComplement(o)) * 1000 + 1000 - u
                            : (L{ac} + cy + sv) * 1000 + 1000 - u;
    return {score(a), score(b), score(cScore), score(ac)};
}

RaceFigures& figures() {
    static RaceFigures f;
    return f;
}

// Marks after ◎ by the number of runners.
int marksAfterTop(int n) {
    if (n <= 5) return 2;
    if (n <= 8) return 3;
    if (n <= 11) return 4;
    if (n <= 13) return 5;
    return 6;
}

bool isOut(std::string_view odds) {
    const std::string t = trimBoth(odds);
    return t == sj("取消") || t == sj("除外");
}

}  // namespace

const RaceFigures& raceFigures() { return figures(); }

std::string paceForecast(const StorePaths& paths, std::string_view caller, std::string_view year,
                         std::string_view monthDay, std::string_view raceNum, std::string_view jyoCD) {
    const std::string none(kForecastWidth, '-');
    long long key = 0;
    if (!parseInt(std::string(monthDay) + std::string(jyoCD) + std::string(raceNum), key)) return none;
    const RunnerTable& t = runnerTable(caller);
    double paceSum = 0, positionSum = 0;
    int paces = 0, positions = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (const int w = intOf(t.marks[7][i]); w > 0) {
            paceSum += w;
            ++paces;
        }
        if (const double x = decimalOf(t.marks[6][i], 0); x > 0) {
            positionSum += x;
            ++positions;
        }
    }
    const double S = paces ? paceSum / paces : 0, X = positions ? positionSum / positions : 0;
    if (S == 0 || X == 0) return none;

    const std::string ra = findRace(paths, RaceKey(year, monthDay, jyoCD, raceNum));
    const auto f = [&](std::string_view name) { return getField(Family::RA, ra, name); };
    const std::string key6 = courseKey(f("TrackCD"), f("Kyori"));
    const double e = standardLookup('E', key6, jyoCD).value_or(kMissing);
    const double k = classAdjustment(monthDay, jyoCD, f("TrackCD"), "", f("KigoCD"), f("GradeCD"), f("JyokenCD5"),
                                     f("SyubetuCD"));
    const int distance = intOf(f("Kyori"), 0);
    const double factor = distance == 0 ? 1 : distance / 1600.0 * 0.375;
    const double d = e - k * factor;

    int step = paceStep(d - S);
    if (X >= 6.0 && step != 5 && step != 6) ++step;
    if (X <= 3.5 && step >= 2) --step;
    const std::string& label = paceLabels()[static_cast<std::size_t>(step)];
    return significant(d, 3, 5) + significant(S, 3, 5) + significant(X, 2, 4) + label + label;
}

int runningStyleScore(std::string_view jyoCD, std::string_view courseKey, std::string_view gradeCD, double x,
                      std::string_view paceLabel, std::string_view jyokenCD5) {
    const Course c(jyoCD, courseKey, gradeCD, jyokenCD5);
    const bool front = c.at({1, 2, 3, 6, 7, 10}) || (c.jyo == 4 && c.dirt && c.g <= 1800) ||
                       (c.jyo == 5 && c.dirt && c.g <= 1400);
    const bool closerTrack = (c.at({8, 9}) && (c.g >= 3000 || c.maiden())) ||
                             (c.at({4, 5}) && c.turf && (c.graded || c.maiden()));
    const Style style = styleOf(x);
    int f = 0;
    switch (style) {
        case Leader: f = front ? 1 : 0; break;
        case Forward:
        case Stalker: f = front ? 2 : 0; break;
        case Closer: f = 0; break;
        case Deep: f = front ? -1 : 0; break;
    }
    const int closer = (style == Closer || style == Deep) && closerTrack ? 2 : 0;
    const int r2 = round((6 - x) / 2), r25 = round((6 - x) / 2.5), r3 = round((6 - x) / 3);
    const int s4 = round((1 - x) / 4), s3 = round((1 - x) / 3);
    // Rows HH to SS, columns 逃げ 先行 好位 差し 追込; the score is f plus the cell.
    const std::array<std::array<int, 5>, 7> table = {{
        {-2 - r2, -1 - r25, -1 - r3, 1, 1},
        {-1 - r2, -1 - r25, -r3, 1, 0},
        {-1 - r3, -r3, -r3, 0, 0},
        {0, 0, 0, 0, 0},
        {1, 1, 0, s4, s4},
        {1, 1, -1, closer - 1 + s4, closer - 1 + s3},
        {1, 1, s4, closer - 1 + s3, closer - 2 + s3},
    }};
    const Pace p = paceOf(paceLabel);
    if (p == OtherPace) return 0;
    return f + table[p][style];
}

int drawScore(std::string_view jyoCD, std::string_view courseKey, int u, int maxUmaban, std::string_view gradeCD) {
    const Course c(jyoCD, courseKey, gradeCD);
    if (!c.turf || !c.central) return 0;
    const int g = c.g;
    const auto from = [&](int k) { return u >= k ? -1 : 0; };
    switch (c.jyo) {
        case 1: return g == 1200 ? from(11) : g == 2000 ? from(10) : 0;
        case 2: return g == 1200 ? from(12) : g == 1800 ? from(11) : 0;
        case 3: return g == 1800 ? from(13) : g == 2000 ? from(12) : 0;
        case 4:
            if (g == 1000) return u >= 1 && u <= 5 ? -1 : u >= static_cast<long long>(maxUmaban) - 4 ? 1 : 0;
            return g == 2000 && !c.graded ? from(14) : 0;
        case 5: return g >= 1400 && g <= 1600 ? from(13) : g == 2000 ? from(16) : 0;
        case 6:
            if (g >= 1200 && g <= 1800 && u >= 1 && u <= 7) return 1;
            return from(13);
        case 8: return g == 1200 ? from(13) : g == 1800 ? from(16) : g >= 2000 && g <= 2400 ? from(14) : 0;
        case 9: return g == 1200 || g == 1600 || (g == 1400 && !c.graded) ? from(14) : 0;
        case 10: return g == 1200 || (g == 1800 && !c.graded) ? from(14) : 0;
        default: return 0;
    }
}

void predictRace(const EvalSource& src, const RaceCall& rc) {
    ReadCacheScope cache;
    RaceFigures& fig = figures();
    fig = {};
    RunnerTable& t = runnerTable(rc.caller);
    RaceTerms r(rc, Course(rc.jyoCD, rc.courseKey, rc.gradeCD, rc.jyokenCD5, rc.syubetuCD));
    r.monthDay = intOf(rc.monthDay, 0);
    const std::string condition = trimBoth(rc.jyokenCD5);
    r.newcomer = condition == "701" || condition == "702";
    r.goingKey = trimBoth(rc.goingKey);

    // 1. The race-level figures.
    if (r.c.central) {
        const std::string forecast = paceForecast(src.paths, rc.caller, rc.year, rc.monthDay, rc.raceNum, rc.jyoCD);
        fig.standard3F = part(forecast, 0, 3);
        r.frontPace = intOf(part(forecast, 5, 3), 0);
        fig.frontPace = r.frontPace < 1 ? "---" : std::to_string(r.frontPace);
        fig.position = trimBoth(part(forecast, 10, 4));
        fig.paceLabel = part(forecast, 14, 2);
        r.secondLabel = part(forecast, 16, 2);
        r.std3F = intOf(fig.standard3F, 0);
    } else {
        fig.paceLabel = "--";
        fig.frontPace = "---";
    }
    r.paceLabel = fig.paceLabel;
    for (std::size_t i = 0; i < t.size(); ++i) r.maxUmaban = std::max(r.maxUmaban, intOf(t.marks[kSlotUmaban][i], 0));

    // 2. The scores of every runner.
    std::optional<NewcomerFiles> files;
    if (r.newcomer) files.emplace(src.fileFolder, rc.year);
    for (std::size_t i = 0; i < t.size(); ++i) {
        const Slots s{t, i};
        const double o = oddsOf(t, i);
        const auto scores = files ? newcomerScores(src, r, s, *files, o) : ordinaryScores(r, s, o);
        for (std::size_t k = 0; k < scores.size(); ++k) t.scores[k][i] = scores[k];
    }
}

void markRace(const EvalSource& src, const RaceCall& rc, int runnerCount) {
    RunnerTable& t = runnerTable(rc.caller);
    for (std::string& mark : t.marks[kSlotPcMark]) mark.clear();
    predictRace(src, rc);

    const std::size_t n = t.size();
    auto scores = t.scores;
    std::vector<bool> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = i < t.odds.size() && isOut(t.odds[i]);
    const auto valid = [&](std::size_t i) { return scores[3][i] > -100; };
    // The runner not out (and valid when asked) with the highest value of a
    // list; the earlier runner wins a tie.
    const auto best = [&](std::size_t list, bool needValid) -> std::optional<std::size_t> {
        std::optional<std::size_t> found;
        for (std::size_t i = 0; i < n; ++i)
            if (!out[i] && (!needValid || valid(i)) && (!found || scores[list][i] > scores[list][*found])) found = i;
        return found;
    };
    bool anyValid = false;
    for (std::size_t i = 0; i < n; ++i) anyValid = anyValid || valid(i);
    std::optional<std::size_t> marked = best(0, false);
    if (!anyValid || !marked) return;
    t.marks[kSlotPcMark][*marked] = sj("◎");

    const int count = marksAfterTop(runnerCount);
    const bool byOdds = engineSettings().oddadd && intOf(rc.jyoCD, 0) <= 10;
    const int byC = !byOdds ? 0 : count <= 2 ? 0 : count <= 4 ? 1 : 2;
    static const std::array<std::string, 5> names = {sj("○"), sj("▲"), sj("△"), sj("×"), sj("☆")};
    for (int i = 0; i < count; ++i) {
        for (auto& list : scores) list[*marked] = kMissing;
        const std::size_t list = !byOdds ? (i == 0 ? 0 : 1) : (i < byC ? 2 : 1);
        marked = best(list, true);
        if (!marked) return;
        t.marks[kSlotPcMark][*marked] = i + 1 == count ? sj("注") : names[static_cast<std::size_t>(i)];
    }
}

}  // namespace tarvo
