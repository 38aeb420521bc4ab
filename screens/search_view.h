// The horse search TfrmUmaSch and the race search TfrmRceSch: each scans one
// family folder of the store file by file (progress and stop between files),
// keeps the records that meet the criteria as grid rows and sorts them.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "screen_view.h"
#include "store_paths.h"
#include "view_cells.h"

namespace tarvo {

// Called after each file with the files done and the files in all; a false
// result stops the scan after that file.
using ScanProgress = std::function<bool(int done, int files)>;

struct SearchResult {
    std::vector<ViewRow> rows;
    bool stopped = false;
};

// A check box of a criteria group: object name and caption (UTF-8).
struct CheckItem {
    const char* objectName;
    const char* caption;
};

// A column above which a heading label stands: object name, caption (UTF-8), hint.
struct SearchHeading {
    const char* objectName;
    const char* caption;
    const char* hint;
    int column;
};

// ---- Horse search ----

// A name criterion: CP932 text (trimmed when used), contained in its field or,
// when exact, equal to it (both trimmed).
struct NameCriterion {
    std::string text;
    bool exact = false;
};

struct HorseCriteria {
    NameCriterion name, sire, dam, damSire;  // Bamei, Ketto3InfoBamei1, 2, 5
    std::string trainer, owner;              // contained in the short trainer name, the owner name
    std::array<bool, 3> sexes{true, true, true};  // SexCD 1, 2, 3
    int ageFrom = 2, ageTo = 12;
    bool activeOnly = false;  // DelKubun "0" only
};

inline constexpr CheckItem kHorseSexes[] = {{"chkOsu", "牡"}, {"chkMesu", "牝"}, {"chkSen", "セン"}};
inline constexpr int kAgeChoiceFirst = 2, kAgeChoiceLast = 30;

enum HorseColumn {
    kHsName = 0, kHsKettoNum = 1, kHsSex = 2, kHsAge = 3, kHsStatus = 4, kHsTrainer = 5, kHsTozai = 6,
    kHsTrainerCode = 7, kHsSire = 8, kHsDam = 9, kHsDamSire = 10, kHsOwner = 11, kHsColumns = 12
};
extern const std::vector<SearchHeading> kHorseHeadings;

// The age of a UM record's horse in currentYear, 0 when below 1 (shown as "--").
int horseAge(std::string_view umLine, int currentYear);
// The row of a UM record; currentYear gives the age.
ViewRow horseRow(std::string_view umLine, int currentYear);
bool horseMatches(const HorseCriteria& c, std::string_view umLine, int age);
// Every UM record of the store that matches, sorted by age and then name.
SearchResult searchHorses(const StorePaths& paths, const HorseCriteria& c, int currentYear,
                          const ScanProgress& progress = {});
// The screen after a search.
ScreenView horseSearchScreen(const HorseCriteria& c, const SearchResult& result);

// ---- Race search ----

struct RaceCriteria {
    std::string from, to;      // race dates YYYYMMDD, inclusive
    std::string jyoCD;         // one central track, "" for "全場"
    std::string name;          // CP932; contained (in full-width) in Hondai, Ryakusyo10 or Ryakusyo6
    std::array<bool, 4> ages{true, true, true, true};
    std::array<bool, 10> classes{true, true, true, true, true, true, true, true, true, true};
    std::array<bool, 3> surfaces{true, true, true};
    int distanceFrom = 1000, distanceTo = 4500;
    std::array<bool, 3> sexes{true, true, true};
    std::array<bool, 4> weights{true, true, true, true};
    std::array<bool, 4> goings{true, true, true, true};
};

// The check boxes of each group in the criteria's order, and the choices of
// the track and distance boxes.
inline constexpr CheckItem kRaceAges[] = {{"chk2sai", "２歳"}, {"chk3sai", "３歳"}, {"chk3up", "３上"}, {"chk4up", "４上"}};
inline constexpr CheckItem kRaceClasses[] = {
    {"chkMisyori", "未勝利"}, {"chkSinba", "新馬・未出走"}, {"chk500", "500万"}, {"chk1000", "1000万"},
    {"chk1600", "1600万"},    {"chkOpen", "OPEN"},          {"chkG3", "G３"},    {"chkG2", "Ｇ２"},
    {"chkG1", "Ｇ１"},        {"chkJyusyo", "他重賞"}};
inline constexpr CheckItem kRaceSurfaces[] = {{"chkSiba", "芝"}, {"chkDirt", "ダ"}, {"chkSyogai", "障"}};
inline constexpr CheckItem kRaceSexes[] = {{"chkSexAll", "牡・牝・セ"}, {"chkSexOM", "牡・牝"}, {"chkHinba", "牝馬限定"}};
inline constexpr CheckItem kRaceWeights[] = {{"chkBarei", "馬齢"}, {"chkTeiryo", "定量"}, {"chkBettei", "別定"}, {"chkHande", "ハンデ"}};
inline constexpr CheckItem kRaceGoings[] = {{"chkRyo", "良"}, {"chkYaya", "稍"}, {"chkOmo", "重"}, {"chkFuryo", "不"}};
inline constexpr const char* kAllTracks = "全場";
inline constexpr int kDistanceChoices[] = {1000, 1150, 1200, 1300, 1400, 1500, 1600, 1700, 1800, 1900, 2000, 2100,
                                           2200, 2300, 2400, 2500, 2600, 3000, 3200, 3400, 3600, 4000, 4500};
// "札幌" … "小倉" and "全場" (CP932).
std::vector<std::string> trackChoices();

enum RaceColumn {
    kRsDate = 0, kRsTrack = 1, kRsJyoCD = 2, kRsRaceNum = 3, kRsName = 4, kRsRunners = 5, kRsCourse = 6,
    kRsWeather = 7, kRsGoing = 8, kRsWinner = 9, kRsWinnerKetto = 10, kRsSexAge = 11, kRsTime = 12,
    kRsTenths = 13, kRsCorners = 14, kRsLast3F = 15, kRsFront3 = 16, kRsRaceLast3 = 17, kRsColumns = 18
};
extern const std::vector<SearchHeading> kRaceHeadings;

// A stored three-digit 3F time ("345") as ss.t ("34.5"); "--.-" for 0 when zeroMark.
std::string furlongText(std::string_view sst, bool zeroMark);
// The race's front 3F in tenths: HaronTimeS3, or the mean of S3 and S4 off the 200 m grid; 0 when S3 is not above 0.
int frontThreeFurlongs(std::string_view raLine);
// The going the race search compares: turf, or dirt, by the course's surface.
std::string raceGoing(std::string_view raLine);
bool raceMatches(const RaceCriteria& c, std::string_view raLine);
// The row of a final RA record with its winner's SE record ("" when none).
ViewRow raceRow(std::string_view raLine, std::string_view winnerLine);
// Every final RA record of the store that matches, sorted by date, track and race number.
SearchResult searchRaces(const StorePaths& paths, const RaceCriteria& c, const ScanProgress& progress = {});
ScreenView raceSearchScreen(const RaceCriteria& c, const SearchResult& result);

// The count label's text ("12件").
std::string searchCountText(std::size_t rows);
// A grid of a screen view: the header row, then the texts of the rows.
ScreenView::GridRows gridRows(const char* name, std::vector<std::string> header, const std::vector<ViewRow>& rows);

// "レース動画を再生 [" date "." track name race number "R" "." race name "] (&R)" of a result row.
std::string raceVideoCaption(const ViewRow& row);

}  // namespace tarvo
