// A horse with stored runs for the horse data screen's tests: one run's race
// and runner records with the run list entry, and the horse's master record.
#pragma once

#include <string>

#include "store_paths.h"

namespace tarvo::test {

inline constexpr const char* kFixtureHorse = "2020100001";

// One stored run: its race and its runner fields (codes as stored).
struct StoredRun {
    std::string date, jyoCD, raceNum = "05";
    std::string trackCD = "17", kyori = "2000", place = "01", iJyoCD = "0";
    std::string siba = "1", dirt = "1";  // going codes: 1 良, 3 重, 4 不
    std::string time = "2010", l3f = "345", raceL3f = "340", futan = "550";
    std::string tenko = "1", corners[3] = {"03", "02", "01"}, baTaijyu = "480", zogenFugo = "+", zogenSa = "004";
    std::string dataKubun = "7";
};

// Stores the run's RA and SE records and adds it to the horse's run list.
void storeRun(const StorePaths& paths, const StoredRun& r, const std::string& kettoNum = kFixtureHorse);
// The UM record of kFixtureHorse (trainer 01234, owner 000077) and its trainer's CH record.
void storeHorseRecord(const StorePaths& paths, const std::string& prize = "000012345");

}  // namespace tarvo::test
