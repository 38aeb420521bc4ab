// The meeting dates list (TfrmDtList) without any window: the stored years, the
// year to select first, the rows of a year and the date a chosen row stands
// for. The screen and tarvo-cli call the same functions. Texts are CP932.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store_paths.h"
#include "view_cells.h"

namespace tarvo {

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

// ---- What the screen shows ----

// The grid rows of a year: the cells of meetingDates, the weekday in blue on a
// Saturday and in red on a Sunday.
std::vector<ViewRow> dateListRows(const StorePaths& p, std::string_view year);

// The date (YYYYMMDD) a grid row stands for: its hidden date column when that
// reads as a positive number, else "" (the row chooses nothing).
std::string chosenDate(const ViewRow& row);

}  // namespace tarvo
