// A store of several years for the benchmarks, built once in a temporary
// folder with its files written whole, as a registration run leaves them, and
// removed when the fixture goes.
#pragma once

#include <string>
#include <vector>

namespace tarvo::bench {

struct Race {
    std::string year, monthDay, jyoCD, raceNum;
};
struct Runner {
    Race race;
    std::string kettoNum;
};

struct StoreSpec {
    int firstYear = 2018, lastYear = 2021;
    std::vector<std::string> tracks = {"05", "06", "44"};
    int daysPerYear = 104;
    int racesPerDay = 12;
    int runnersPerRace = 14;
    int jockeys = 0, trainers = 0;  // KS and CH records, every place-count group filled
};

// Confirmed races on 芝1600 (古馬500) with placed runners, and each horse's run list;
// and the jockey and trainer records the StoreSpec asks for.
struct Store {
    explicit Store(const StoreSpec& spec);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    std::string root;  // the store root, with a trailing separator
    std::vector<Race> races;       // shuffled
    std::vector<Runner> runners;   // shuffled
    std::vector<std::string> horses;  // shuffled
};

}  // namespace tarvo::bench
