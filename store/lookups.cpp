#include "lookups.h"

#include "record_io.h"
#include "textfn.h"

namespace tarvo {
namespace {

struct ResolvedPart {
    const Field* field;
    std::string_view value;
};

std::vector<KeyPart> raceKey(const RaceKey& r) {
    return {{"Year", r.year}, {"MonthDay", r.monthDay}, {"JyoCD", r.jyoCD}, {"RaceNum", r.raceNum}};
}

std::vector<KeyPart> plus(std::vector<KeyPart> key, KeyPart more) {
    key.push_back(more);
    return key;
}

int countMatching(const std::string& path, Family f, const std::vector<KeyPart>& key,
                  const std::function<bool(std::string_view)>& counts = {}) {
    int n = 0;
    scanMatching(path, f, key, [&](std::string_view line) {
        if (!counts || counts(line)) ++n;
        return true;
    });
    return n;
}

// The first line over every file below folder (walk order) whose field, trimmed, equals the trimmed name.
std::string findByShortName(const std::string& folder, Family f, std::string_view fieldName, std::string_view name) {
    const std::string wanted = trimBoth(name);
    const Field* field = layoutOf(f).find(fieldName);
    if (wanted.empty() || !field) return {};
    std::string found;
    for (const std::string& file : walkDirectory(folder, "", true)) {
        forEachLine(file, [&](std::string_view line) {
            if (trimBoth(fieldText(line, *field)) != wanted) return true;
            found = line;
            return false;
        });
        if (!found.empty()) break;
    }
    return found;
}

}  // namespace

void scanMatching(const std::string& path, Family f, const std::vector<KeyPart>& key,
                  const std::function<bool(std::string_view)>& fn) {
    const Layout& layout = layoutOf(f);
    std::vector<ResolvedPart> parts;
    parts.reserve(key.size());
    for (const KeyPart& k : key) {
        const Field* field = layout.find(k.field);
        if (!field) return;
        parts.push_back({field, k.value});
    }
    forEachLine(path, [&](std::string_view line) {
        for (const ResolvedPart& part : parts)
            if (fieldText(line, *part.field) != part.value) return true;
        return fn(line);
    });
}

std::string findLine(const std::string& path, Family f, const std::vector<KeyPart>& key) {
    std::string found;
    scanMatching(path, f, key, [&](std::string_view line) {
        found = line;
        return false;
    });
    return found;
}

std::string findRace(const StorePaths& p, const RaceKey& race) {
    return findLine(p.file(Family::RA, race), Family::RA, raceKey(race));
}

std::string findRunnerByNumber(const StorePaths& p, const RaceKey& race, std::string_view umaban) {
    return findLine(p.file(Family::SE, race), Family::SE,
                    plus(raceKey(race), {"Umaban", umaban}));
}

std::string findRunnerByHorse(const StorePaths& p, const RaceKey& race, std::string_view kettoNum) {
    return findLine(p.file(Family::SE, race), Family::SE,
                    plus(raceKey(race), {"KettoNum", kettoNum}));
}

std::string findRunByTrackAndHorse(const StorePaths& p, std::string_view year, std::string_view monthDay,
                                   std::string_view jyoCD, std::string_view kettoNum) {
    return findLine(p.se(year, monthDay, jyoCD), Family::SE,
                    {{"Year", year}, {"MonthDay", monthDay}, {"JyoCD", jyoCD}, {"KettoNum", kettoNum}});
}

std::string findRunInDayFile(const StorePaths& p, std::string_view year, std::string_view monthDay,
                             std::string_view jyoCD, std::string_view kettoNum) {
    return findLine(p.se(year, monthDay, jyoCD), Family::SE,
                    {{"Year", year}, {"MonthDay", monthDay}, {"KettoNum", kettoNum}});
}

int countRunners(const StorePaths& p, const RaceKey& race) {
    return countMatching(p.file(Family::SE, race), Family::SE, raceKey(race),
                         [](std::string_view line) { return getField(Family::SE, line, "Umaban") != "00"; });
}

int countEntries(const StorePaths& p, const RaceKey& race) {
    return countMatching(p.file(Family::SE, race), Family::SE, raceKey(race));
}

int countFinalRaces(const StorePaths& p, std::string_view year, std::string_view monthDay, std::string_view jyoCD,
                    bool all) {
    std::vector<KeyPart> key = {{"DataKubun", "7"}};
    if (!all) key.insert(key.end(), {{"Year", year}, {"MonthDay", monthDay}, {"JyoCD", jyoCD}});
    int n = 0;
    for (const std::string& file : walkDirectory(p.root() + "RA/", "*A.dat", true))
        n += countMatching(file, Family::RA, key);
    return n;
}

std::string findHorse(const StorePaths& p, std::string_view kettoNum) {
    return findLine(p.um(kettoNum, "datn"), Family::UM, {{"KettoNum", kettoNum}});
}

std::string findJockey(const StorePaths& p, std::string_view kisyuCode) {
    return findLine(p.ks(kisyuCode), Family::KS, {{"KisyuCode", kisyuCode}});
}

std::string findTrainer(const StorePaths& p, std::string_view chokyosiCode) {
    return findLine(p.ch(chokyosiCode), Family::CH, {{"ChokyosiCode", chokyosiCode}});
}

std::string findOwner(const StorePaths& p, std::string_view banusiCode) {
    return findLine(p.bn(banusiCode), Family::BN, {{"BanusiCode", banusiCode}});
}

std::string findBreedingHorse(const StorePaths& p, std::string_view hansyokuNum) {
    return findLine(p.hn(hansyokuNum), Family::HN, {{"HansyokuNum", hansyokuNum}});
}

std::string findBreeder(const StorePaths& p, std::string_view breederCode) {
    return findLine(p.br(breederCode), Family::BR, {{"BreederCode", breederCode}});
}

std::string findOffspring(const StorePaths& p, std::string_view kettoNum) {
    return findLine(p.sk(kettoNum), Family::SK, {{"KettoNum", kettoNum}});
}

std::string findTrainerByShortName(const StorePaths& p, std::string_view name) {
    return findByShortName(p.root() + "CH/", Family::CH, "ChokyosiRyakusyo", name);
}

std::string findJockeyByShortName(const StorePaths& p, std::string_view name) {
    return findByShortName(p.root() + "KS/", Family::KS, "KisyuRyakusyo", name);
}

std::string findRunIndexLine(const StorePaths& p, std::string_view kettoNum) {
    return findLine(p.um(kettoNum, "idx"), Family::UMIDX, {{"KettoNum", kettoNum}});
}

std::string runList(const StorePaths& p, std::string_view kettoNum) {
    return trimBoth(getField(Family::UMIDX, findRunIndexLine(p, kettoNum), "RunList"));
}

std::string findPayout(const StorePaths& p, const RaceKey& race) {
    return findLine(p.file(Family::HR, race), Family::HR, raceKey(race));
}

std::string findOdds(const StorePaths& p, Family f, const RaceKey& race) {
    if (!oddsInfo(f)) return {};
    const std::string path = p.file(f, race);
    return findLine(path, f, raceKey(race));
}

std::string findQuinellaOdds(const StorePaths& p, const RaceKey& race) {
    return findOdds(p, Family::O2, race);
}

std::string findWideOdds(const StorePaths& p, const RaceKey& race) {
    return findOdds(p, Family::O3, race);
}

std::string findExactaOdds(const StorePaths& p, const RaceKey& race) {
    return findOdds(p, Family::O4, race);
}

std::string findTrioOdds(const StorePaths& p, const RaceKey& race) {
    return findOdds(p, Family::O5, race);
}

std::string findTrifectaOdds(const StorePaths& p, const RaceKey& race) {
    return findOdds(p, Family::O6, race);
}

std::string findAptitude(const StorePaths& p, const RaceKey& race, std::string_view kettoNum) {
    return findLine(p.file(Family::CK, race), Family::CK,
                    plus(raceKey(race), {"KettoNum", kettoNum}));
}

}  // namespace tarvo
