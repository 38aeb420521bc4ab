// The sample world: its people, horses and pedigrees, the racing calendar,
// and the day-by-day simulation of entries and results. Everything a day
// produces depends only on the seed, the first day and the days before it, so
// that a longer range extends a shorter one.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "wg_base.h"
#include "wg_names.h"

namespace tarvo::worldgen {

// Placing-count categories, the groups of the count blocks in the masters and CK.
enum Cat : int {
    kAll = 0,
    kCentral = 1,
    kSurfDir = 2,    // 7: turf straight, right, left; dirt straight, right, left; jump
    kGoing = 9,      // 12: turf, dirt, jump x good, slightly heavy, heavy, bad
    kTurfDist = 21,  // 9 distance bands
    kDirtDist = 30,
    kTurfJyo = 39,   // 10 central tracks
    kDirtJyo = 49,
    kJumpJyo = 59,
    kTurf = 69,
    kDirt = 70,
    kJump = 71,
    kFlat = 72,
    kJyoFlat = 73,   // 10 central tracks
    kJyoJump = 83,
    kKyori6 = 93,    // turf up to 1600, 2200, longer; dirt the same
    kCats = 99,
};

// The categories one run counts in, and what it earned.
struct RunFacts {
    std::array<int, 12> cats{};
    int ncats = 0;
    int place = 0;        // 1.. (0: not placed, counts as 6th or lower)
    long long prize = 0;  // 100 yen units
    bool jump = false;
    int style = 0;        // 1..4, 0 when unknown
};

struct Tally {
    std::array<std::array<std::uint16_t, 6>, kCats> c{};
    long long honFlat = 0, honJump = 0, fukaFlat = 0, fukaJump = 0;
    std::array<std::uint16_t, 4> style{};
    int starts = 0;
    void add(const RunFacts& f);
    int total() const;  // sum of the all-races counts
};

// Figures of the current year, the year before and the whole career.
struct Periods {
    int year = 0;
    Tally thisYear, lastYear, total;
    void rollTo(int y);
    void add(const RunFacts& f, int y);
};

struct GradedWin {
    int day = 0;  // yyyymmdd
    std::string jyo;
    int kai = 0, nichi = 0, num = 0;
    std::string hondai, r10, r6, r3;
    char grade = ' ';
    int starters = 0;
    std::string ketto, bamei;
};

struct BreedingHorse {
    int number = 0;        // the old eight-digit breeding number
    std::string ketto;     // "0000000000" when the horse never raced here
    NameSet name;
    int birthYear = 0;
    char sex = '1';
    std::string keiro;
    int sire = -1, dam = -1;
    bool imported = false;
    int importYear = 0;
    std::string birthplace;
    double quality = 0, turf = 0;
    int distance = 1800;
};

struct Breeder {
    std::string code;  // six characters; the current code appends "00"
    NameSet name;
    std::string address;
    Periods t;
};

struct Owner {
    std::string code;
    NameSet name;
    std::string silks;
    Periods t;
};

struct FirstRun {
    int day = 0;
    std::string jyo;
    int kai = 0, nichi = 0, num = 0, starters = 0, place = 0;
    std::string ketto, bamei;
};

struct Person {
    std::string code;
    NameSet name;
    char tozai = '1';
    char sex = '1';
    Day birth, issue;
    bool local = false;
    double skill = 0;
    Periods t;
    std::vector<GradedWin> graded;  // newest first, at most 3
};

struct Jockey : Person {
    char minarai = '0';  // apprentice allowance in kg, '0' none
    int trainer = -1;
    bool jumps = false;
    FirstRun firstRide[2], firstWin[2];  // flat, jump
};

struct Horse {
    std::string ketto;
    NameSet name;
    Day birth;
    char sex = '1';
    std::string keiro;
    int sire = -1, dam = -1;  // breeding horses
    int breeder = -1, owner = -1, trainer = -1;
    bool local = false, jumper = false, retired = false;
    double ability = 0, turf = 0, jumpAbility = 0;
    int distance = 1800, style = 2;
    int wins = 0, starts = 0, jumpWins = 0;
    Day lastRun{-100000};
    int bodyWeight = 470, lastWeight = 0;
    Day registered;
    Tally tally;
    int age(Day d) const { return d.year() - birth.year(); }
};

// One race as programmed and, once run, with its result.
struct Runner {
    int horse = -1, jockey = -1;
    int waku = 0, uma = 0;
    int futan = 550;        // tenths of a kilogram
    int weight = 0, diff = 0;
    bool firstStart = false;
    char ijyo = '0';        // abnormality code
    int arrive = 0, place = 0;  // arrival order and official position (0: none)
    bool deadHeat = false;
    int time = 0, l3f = 0, l4f = 0;  // tenths
    std::array<int, 4> corner{};
    int odds = 0, ninki = 0;  // tenths
    double p = 0;             // win probability of the market
    double perf = 0;
    int style = 0;
    long long prize = 0;
    std::string margin;
    int timeDiff = 0;
};

struct Payout {
    std::string kumi;
    long long pay = 0;  // yen per 100 yen
    int ninki = 0;
};

struct Race {
    Day day;
    std::string jyo;
    int kai = 1, nichi = 1, num = 1;
    bool local = false, jump = false, cancelled = false;
    std::string syubetu = "13";  // SyubetuCD
    std::string jyoken = "005";  // JyokenCD5
    std::array<std::string, 5> jyokenAll;
    char grade = ' ';
    std::string kigo = "000";
    char jyuryo = '4';
    bool fillies = false;
    int trackCD = 17, kyori = 1600;
    std::string hondai, r10, r6, r3, hondaiEng;
    int tokuNum = 0, nkai = 0;
    int hasso = 1000;
    std::string courseKubun = "A ";
    char tenko = '1', going = '1';  // weather and going of the surface run on
    char siba = '1', dirt = '1';    // the day's turf and dirt going
    std::array<long long, 5> prize{};
    // Entry rules.
    int minAge = 3, maxAge = 99, level = 1;  // level: 0 newcomer, 1 maiden, 2..4 win classes, 5 open
    int target = 16;
    std::vector<Runner> runners;
    // Result.
    int starters = 0, finishers = 0;
    std::vector<int> laps;
    int s3 = 0, s4 = 0, l3 = 0, l4 = 0;
    int corners = 0;                          // corners with passing orders
    std::array<std::string, 4> cornerText;
    double pace = 0;
    long long votes = 0;
    std::array<std::vector<Payout>, 8> pays;  // by bet type, in the order of wg_market.h

    bool turf() const { return trackCD >= 10 && trackCD <= 22; }
    bool dirtCourse() const { return trackCD >= 23 && trackCD <= 29; }
    std::string key() const;  // Year MonthDay JyoCD RaceNum
};

struct Options {
    std::string out;
    Day from, to;
    std::uint64_t seed = 1;
    std::optional<Day> today;
    bool oddsAll = false;
    bool oldFormat = false;
};

class World {
public:
    World(std::uint64_t seed, Day from);

    // Calendar events of a day that change the population (a new crop on the
    // first of January, retirements); returns the horses registered that day.
    std::vector<int> beginDay(Day d);
    // The day's races with their runners; empty when nobody races. A day that must have races (the --today day, so that
    // the sample store shows races and same-day updates on any weekday) gets
    // the month's central meeting when the calendar has none.
    std::vector<Race> programDay(Day d, bool mustRace = false);
    // Runs the races: results into the races, the world unchanged.
    void simulate(std::vector<Race>& races) const;
    // Applies the results to horses, people and their figures.
    void apply(const std::vector<Race>& races);

    // Standard finishing time and last-3F time (tenths) of a course, or none.
    static std::optional<int> standardTime(const std::string& jyo, int trackCD, int kyori);
    static std::optional<int> standardLast3F(const std::string& jyo, int trackCD, int kyori);

    std::uint64_t seed;
    Day from;
    std::vector<BreedingHorse> breeding;
    std::vector<Breeder> breeders;
    std::vector<Owner> owners;
    std::vector<Person> trainers;
    std::vector<Jockey> jockeys;
    std::vector<Horse> horses;

private:
    void createPeople(Rng& rng);
    void createBreeding(Rng& rng);
    int createHorse(Rng& rng, int birthYear, bool local, int serial);
    void createCrop(int birthYear, Day registered, std::vector<int>* added);
    void preHistory(Rng& rng, Horse& h, int hi);
    void rollYear(int y);

    std::unordered_set<std::string> names_;
    std::vector<int> sireWeights_;  // cumulative weights of the youngest stallions
    std::vector<int> youngSires_, youngMares_;
};

// Reads the command line (without the program name) into options; returns
// the error text, empty when the arguments are sound.
std::string parseOptions(const std::vector<std::string>& args, Options& options);

// Writes the source folder; returns a short report (one line per data spec).
// Input/output failures raise IoError.
std::vector<std::string> generateWorld(const Options& options);

}  // namespace tarvo::worldgen
