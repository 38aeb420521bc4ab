// A small record store built from the stored layouts, for tests.
#pragma once

#include <string>

#include "layouts.h"
#include "store_paths.h"

namespace tarvo::test {

class StoreFixture {
public:
    explicit StoreFixture(const std::string& root) : paths(root) {}

    // An RA record; the defaults are a confirmed ３歳未勝利 at 中山 on 芝1600.
    struct Race {
        std::string year = "2020", monthDay = "0510", jyoCD = "06", raceNum = "05";
        std::string dataKubun = "7", trackCD = "10", kyori = "1600";
        std::string syubetuCD = "12", jyokenCD5 = "703", gradeCD = " ", kigoCD = "A  ";
        std::string ryakusyo6;  // UTF-8
    };

    void addRace(const Race& r);
    // A runner with its arrival order, stored time ("1360") and last 3F ("345");
    // the confirmed order is the arrival order unless given.
    void addRunner(const Race& r, int umaban, const std::string& nyusen, const std::string& time,
                   const std::string& l3f, const std::string& kakutei = "");

    StorePaths paths;
};

// Sets the race identity of a RA or SE line (Kaiji and Nichiji "01").
void setRaceKey(LineBuilder& b, const StoreFixture::Race& r);

// A race of 2024 with the fields that lists of races tell apart.
StoreFixture::Race race(const std::string& monthDay, const std::string& jyoCD, const std::string& raceNum,
                        const std::string& dataKubun = "7", const std::string& ryakusyo6 = "");

// The stored time text ("1360") of t tenths.
std::string storedTime(int t);

}  // namespace tarvo::test
