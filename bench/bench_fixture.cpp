#include "bench_fixture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <unistd.h>

#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo::bench {

Store::Store(const StoreSpec& spec) {
    root = (std::filesystem::temp_directory_path() / ("tarvo-bench-" + std::to_string(::getpid()))).string() + "/";
    const StorePaths paths(root);
    std::map<std::string, std::string> files;             // path -> contents
    std::map<std::string, std::vector<std::string>> runs;  // kettoNum -> run entries, oldest first
    std::mt19937 rng(7);
    for (int year = spec.firstYear; year <= spec.lastYear; ++year) {
        const std::string y = std::to_string(year);
        // Pool of horses born three years before the racing year, spread over every UM group.
        std::vector<std::string> pool;
        for (int i = 0; i < 4000; ++i) {
            char k[16];
            std::snprintf(k, sizeof k, "%04d10%04d", year - 3, i);
            pool.push_back(k);
        }
        for (int day = 0; day < spec.daysPerYear; ++day) {
            const std::string md = twoDigits(1 + day * 12 / spec.daysPerYear) + twoDigits(1 + day % 9 * 3);
            for (const std::string& jyo : spec.tracks) {
                for (int r = 1; r <= spec.racesPerDay; ++r) {
                    const Race race{y, md, jyo, twoDigits(r)};
                    LineBuilder ra(Family::RA);
                    const std::pair<const char*, std::string> fields[] = {
                        {"DataKubun", "7"}, {"Year", y},           {"MonthDay", md},      {"JyoCD", jyo},
                        {"Kaiji", "01"},    {"Nichiji", twoDigits(day % 8 + 1)}, {"RaceNum", race.raceNum},
                        {"Kyori", "1600"},  {"TrackCD", "10"},     {"SyubetuCD", "13"},   {"JyokenCD5", "005"}};
                    for (const auto& [name, value] : fields) (void)ra.set(name, value);
                    files[paths.ra(y, md, jyo)] += ra.line();
                    races.push_back(race);
                    for (int u = 1; u <= spec.runnersPerRace; ++u) {
                        const std::string& ketto = pool[rng() % pool.size()];
                        LineBuilder se(Family::SE, ra.line().substr(0, 25));
                        (void)se.set("Umaban", twoDigits(u));
                        (void)se.set("KettoNum", ketto);
                        (void)se.set("NyusenJyuni", twoDigits(u));
                        (void)se.set("KakuteiJyuni", twoDigits(u));
                        (void)se.set("Time", std::to_string(1340 + u + static_cast<int>(rng() % 10)));
                        (void)se.set("HaronTimeL3", std::to_string(340 + static_cast<int>(rng() % 20)));
                        files[paths.se(y, md, jyo)] += se.line();
                        runners.push_back({race, ketto});
                        auto& list = runs[ketto];
                        if (list.empty() || list.back().substr(0, 8) != y + md) list.push_back(y + md + jyo);
                    }
                }
            }
        }
    }
    for (auto& [ketto, list] : runs) {
        std::string runList;
        for (auto it = list.rbegin(); it != list.rend() && runList.size() < 1500; ++it) runList += *it;
        LineBuilder idx(Family::UMIDX);
        (void)idx.set("KettoNum", ketto);
        (void)idx.set("SexCD", "1");
        (void)idx.set("RunList", runList);
        files[paths.um(ketto, "idx")] += idx.line();
        horses.push_back(ketto);
    }
    // Jockeys and trainers: codes spread over many files, every affiliation and status.
    for (const auto& [family, count] : {std::pair{Family::KS, spec.jockeys}, std::pair{Family::CH, spec.trainers}}) {
        const bool ks = family == Family::KS;
        for (int i = 0; i < count; ++i) {
            char code[16];
            std::snprintf(code, sizeof code, "%05d", 1 + i * 7);
            LineBuilder b(family);
            const std::pair<std::string, std::string> fields[] = {
                {"DataKubun", "1"},
                {"MakeDate", std::to_string(spec.lastYear) + "1130"},
                {ks ? "KisyuCode" : "ChokyosiCode", code},
                {"DelKubun", i % 5 == 0 ? "1" : "0"},
                {"BirthDate", std::to_string(1960 + i % 40) + "0401"},
                {ks ? "KisyuName" : "ChokyosiName", toCp932("名前") + code},
                {ks ? "KisyuNameKana" : "ChokyosiNameKana", toCp932("ﾅﾏｴ ") + code},
                {ks ? "KisyuRyakusyo" : "ChokyosiRyakusyo", code},
                {"TozaiCD", std::to_string(1 + i % 4)},
                {"HonZenRuikei1_SetYear", std::to_string(spec.lastYear)},
                {"HonZenRuikei2_SetYear", std::to_string(spec.lastYear - 1)},
            };
            for (const auto& [name, value] : fields) (void)b.set(name, value);
            for (const Field& f : layoutOf(family).fields) {
                if (f.name.find("ChakuKaisu") == std::string::npos) continue;
                std::string counts;
                for (int n = 0; n < 6; ++n) {
                    char c[8];
                    std::snprintf(c, sizeof c, "%06u", static_cast<unsigned>(rng() % 300));
                    counts += c;
                }
                (void)b.setRaw(f.name, counts);
            }
            files[paths.file(family, b.line())] += b.line();
        }
    }
    for (const auto& [path, data] : files) {
        makeDirs(dirName(path));
        writeFileAtomic(path, data);
    }
    std::shuffle(races.begin(), races.end(), rng);
    std::shuffle(runners.begin(), runners.end(), rng);
    std::shuffle(horses.begin(), horses.end(), rng);
}

Store::~Store() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

}  // namespace tarvo::bench
