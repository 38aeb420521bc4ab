// The left column of the main window without any window: the race list of a
// meeting date, reading a race list line back and the button states after a
// race is chosen. The main window and tarvo-cli call the same functions. Texts
// are CP932.
#pragma once

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

}  // namespace tarvo
