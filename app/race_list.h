// The left column of the main window without any window: the race list of a
// meeting date, reading a race list line back, the button states after a race
// is chosen, and the meeting dates list of a year. The screens and tarvo-cli
// call the same functions. Texts are CP932.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store_paths.h"

namespace tarvo {

// ---- Race list ----

// The races of one date in list order.
struct RaceList {
    std::vector<std::string> lines;  // race list lines
    // True when a listed race carries an entry card or provisional results
    // (DataKubun 2 to 6): data that same-day updates can still change.
    bool sameDay = false;
};

// The races of a date (year four digits, monthDay four): the RA records of
// that date whose DataKubun is not "0", from the central and then the local
// month file, ordered by track code and race number (equal keys keep their
// order). A missing month file holds no race.
RaceList listRaces(const StorePaths& p, std::string_view year, std::string_view monthDay);

// The race list line of one RA record: track name, RaceNum as stored, "R ",
// and the short name Ryakusyo6, or the short class name when it has none; trimmed.
std::string raceListLine(std::string_view raLine);

// A race list line read back by position: bytes 1 to 4 the track name, 5 and 6
// the race number, 9 onward the title.
struct RaceLineParts {
    std::string trackName;  // as listed ("札チ" for track 58)
    std::string jyoCD;      // the code of that name, "" for an unknown name
    std::string raceNum;
    std::string title;
};
RaceLineParts readRaceListLine(std::string_view line);

// ---- Button states ----

// What a step does to a control: leave it, enable it or disable it.
enum class Gate { Keep, Enable, Disable };

// The three fetch buttons (btnDataGet, btnOddsBch, btnRstBch) after a date's
// races are listed: disabled for an empty list; otherwise, in normal mode,
// enabled exactly when the same-day flag is set; kept as they are in read-only mode.
Gate fetchButtonsAfterListing(bool readOnly, bool listEmpty, bool sameDay);

// The controls that the race selection sets once the race is shown.
struct SelectionButtons {
    Gate dataGet = Gate::Keep, oddsGet = Gate::Keep, oddsBch = Gate::Keep, rstBch = Gate::Keep;
    Gate result = Gate::Keep, oddsList = Gate::Keep;
};

// By access mode, track (central or local), the race's trimmed DataKubun and
// its odds-final state.
SelectionButtons selectionButtons(bool readOnly, std::string_view jyoCD, std::string_view dataKubun, bool oddsFinal);

// True when the stored quinella (O2) and exacta (O4) records of the race both
// have a DataKubun of 3 or more; a missing record counts as 0.
bool isOddsFinal(const StorePaths& p, std::string_view year, std::string_view monthDay, std::string_view jyoCD,
                 std::string_view raceNum);

// ---- Meeting dates list ----

// The year folders below RA/ whose names read as a positive integer, in name order.
std::vector<std::string> storedYears(const StorePaths& p);

// The index of the year to select for the date picker's year: the same year,
// else the first when the picker's year is earlier than the first, the last
// when it is later than the last; -1 otherwise (an empty list included).
int chooseYear(const std::vector<std::string>& years, int pickerYear);

// The meeting rank of a race from JyokenCD5 and GradeCD (higher is more important; 0 unranked).
int meetingRank(std::string_view jyokenCD5, std::string_view gradeCD);

// Grid columns of the meeting dates list.
enum DateColumn : std::size_t {
    kDateMonthDay = 0,  // MM/DD
    kDateFull = 1,      // YYYYMMDD (hidden; used to choose)
    kDateWeekday = 2,
    kDateTracks = 3,    // the track codes shown, joined (hidden)
    kDateFirstTrack = 4,  // track name at 4, 6, 8; main race at 5, 7, 9
    kDateColumns = 10,
};
using DateRow = std::array<std::string, kDateColumns>;

// At most this many meeting dates are kept per year.
inline constexpr std::size_t kMaxMeetingDates = 170;

// The rows of the meeting dates list of a year, newest date first: per date
// the first three central tracks that held races, each with its main race: the
// first race read, replaced by a later one only when that one has a higher rank
// and a short name; "<一般戦>" when the main race has no short name. Records
// with DataKubun "0" or "9" and local tracks are skipped.
std::vector<DateRow> meetingDates(const StorePaths& p, std::string_view year);

}  // namespace tarvo
