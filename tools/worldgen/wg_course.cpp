#include "wg_course.h"

#include <algorithm>
#include <map>

#include "code_tables.h"
#include "std_tables.h"

namespace tarvo::worldgen {
namespace {

constexpr int kCandidateDistances[] = {1000, 1150, 1200, 1300, 1400, 1500, 1600, 1700, 1800, 1870, 1900, 2000,
                                       2100, 2200, 2300, 2400, 2500, 2600, 3000, 3200, 3400, 3600};

// Local tracks run only some of the distances the common local standards cover.
const std::vector<int>* localDistances(const std::string& jyo) {
    static const std::map<std::string, std::vector<int>> tracks = {
        {"44", {1000, 1200, 1400, 1600, 1800, 2000, 2600}},
        {"43", {1000, 1200, 1500, 1600, 1700, 1800}},
        {"45", {1400, 1500, 1600, 2000, 2100}},
        {"30", {1000, 1200, 1500, 1600, 1700, 1800, 2000}},
    };
    const auto it = tracks.find(jyo);
    return it == tracks.end() ? nullptr : &it->second;
}

bool leftHanded(const std::string& jyo) { return jyo == "04" || jyo == "05" || jyo == "07"; }

}  // namespace

bool isCentral(const std::string& jyo) { return jyo >= "01" && jyo <= "10" && jyo.size() == 2; }

// The one source of standard times for the time model.
std::optional<int> World::standardTime(const std::string& jyo, int trackCD, int kyori) {
    const auto cell = standardLookup('A', courseKey(zpad(trackCD, 2), zpad(kyori, 4)), jyo);
    if (!cell) return std::nullopt;
    return *cell / 1000 * 600 + *cell % 1000;  // m ss t digits to tenths
}

std::optional<int> World::standardLast3F(const std::string& jyo, int trackCD, int kyori) {
    return standardLookup('E', courseKey(zpad(trackCD, 2), zpad(kyori, 4)), jyo);
}

const std::vector<int>& courseDistances(const std::string& jyo, bool turf) {
    static std::map<std::pair<std::string, bool>, std::vector<int>> cache;
    const auto key = std::make_pair(jyo, turf);
    if (const auto it = cache.find(key); it != cache.end()) return it->second;
    std::vector<int> out;
    const std::vector<int>* local = isCentral(jyo) ? nullptr : localDistances(jyo);
    for (const int d : kCandidateDistances) {
        if (!isCentral(jyo) && (turf || !local || std::find(local->begin(), local->end(), d) == local->end())) continue;
        if (World::standardTime(jyo, turf ? 17 : 24, d)) out.push_back(d);
    }
    return cache[key] = out;
}

int trackCodeFor(const std::string& jyo, char surface, int kyori) {
    const bool left = leftHanded(jyo);
    if (surface == 'J') return jyo == "05" || jyo == "07" ? 52 : left ? 53 : 54;
    if (surface == 'D') return left ? 23 : 24;
    if (jyo == "04" && kyori == 1000) return 10;  // the straight course
    const bool outer = (kyori == 1600 || kyori == 1800) && (jyo == "04" || jyo == "08" || jyo == "09");
    return left ? (outer ? 12 : 11) : (outer ? 18 : 17);
}

int distanceBand(int kyori) {
    if (kyori <= 1200) return 0;
    if (kyori <= 2400) return (kyori - 1001) / 200;
    return kyori <= 2800 ? 7 : 8;
}

RunFacts runFacts(const std::string& jyo, int trackCD, int kyori, char going, int place, long long prize, int style) {
    RunFacts f;
    f.place = place;
    f.prize = prize;
    f.style = style;
    const auto add = [&f](int c) { f.cats[static_cast<std::size_t>(f.ncats++)] = c; };
    const bool central = isCentral(jyo);
    const int j = central ? std::stoi(jyo) - 1 : -1;
    const int g = going >= '1' && going <= '4' ? going - '1' : 0;
    add(kAll);
    if (central) add(kCentral);
    if (trackCD >= 51) {
        f.jump = true;
        add(kSurfDir + 6);
        add(kGoing + 8 + g);
        add(kJump);
        if (central) {
            add(kJumpJyo + j);
            add(kJyoJump + j);
        }
        return f;
    }
    const bool turf = trackCD <= 22;
    const int dir = trackCD == 10 || trackCD == 29 ? 0 : (trackCD <= 16 || trackCD == 23 || trackCD == 25 || trackCD == 27) ? 2 : 1;
    add(kSurfDir + (turf ? 0 : 3) + dir);
    add(kGoing + (turf ? 0 : 4) + g);
    add(turf ? kTurf : kDirt);
    add(kFlat);
    add((turf ? kTurfDist : kDirtDist) + distanceBand(kyori));
    add(kKyori6 + (turf ? 0 : 3) + (kyori <= 1600 ? 0 : kyori <= 2200 ? 1 : 2));
    if (central) {
        add((turf ? kTurfJyo : kDirtJyo) + j);
        add(kJyoFlat + j);
    }
    return f;
}

int addMinutes(int hhmm, int minutes) {
    const int t = hhmm / 100 * 60 + hhmm % 100 + minutes;
    return t / 60 * 100 + t % 60;
}

}  // namespace tarvo::worldgen
