#include "dtlist_view.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "code_tables.h"
#include "cp932.h"
#include "layouts.h"
#include "record_io.h"
#include "textfn.h"

namespace tarvo {
namespace {

std::string raField(std::string_view line, std::string_view name) { return trimBoth(getField(Family::RA, line, name)); }

}  // namespace

std::vector<std::string> storedYears(const StorePaths& p) {
    std::vector<std::string> years;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(p.root() + "RA/", ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_directory(ec)) continue;
        const std::string name = it->path().filename().string();
        long long n = 0;
        if (parseInt(name, n) && n > 0) years.push_back(name);
    }
    std::sort(years.begin(), years.end());
    return years;
}

int chooseYear(const std::vector<std::string>& years, int pickerYear) {
    if (years.empty()) return -1;
    for (std::size_t i = 0; i < years.size(); ++i)
        if (toIntDef(years[i], 0) == pickerYear) return static_cast<int>(i);
    if (pickerYear < toIntDef(years.front(), 0)) return 0;
    if (pickerYear > toIntDef(years.back(), 0)) return static_cast<int>(years.size() - 1);
    return -1;
}

int meetingRank(std::string_view jyokenCD5, std::string_view gradeCD) {
    const int c = toIntDef(trimBoth(jyokenCD5), 0);
    if (c == 701 || c == 702) return 1;
    if (c == 703) return 2;
    if (c >= 2 && c <= 5) return 3;
    if (c >= 6 && c <= 10) return 4;
    if (c >= 11 && c <= 700) return 5;
    if (c != 999) return 0;
    const std::string g = trimBoth(gradeCD);
    if (g == "E") return 6;
    if (g == "D") return 7;
    if (g == "C" || g == "H") return 8;
    if (g == "B" || g == "G") return 9;
    if (g == "A" || g == "F") return 10;
    return 0;
}

std::vector<DateRow> meetingDates(const StorePaths& p, std::string_view year) {
    if (year.empty() || !isSafeKeyText(year)) return {};
    // Working table: per date, one cell per central track: two-digit rank + short name.
    struct Day {
        std::string monthDay;
        std::array<std::string, 10> cells;
    };
    std::vector<Day> days;
    const std::string y(year);
    for (const std::string& file : walkDirectory(p.root() + "RA/" + y + "/", "*A.dat", false)) {
        forEachLine(file, [&](std::string_view line) {
            const std::string_view kubun = getField(Family::RA, line, "DataKubun");
            if (kubun == "0" || kubun == "9") return true;
            const std::string jyo = raField(line, "JyoCD");
            if (!isCentralTrack(jyo)) return true;
            const std::string monthDay(getField(Family::RA, line, "MonthDay"));
            auto day = std::find_if(days.begin(), days.end(), [&](const Day& d) { return d.monthDay == monthDay; });
            if (day == days.end()) {
                if (days.size() >= kMaxMeetingDates) return true;
                days.push_back({monthDay, {}});
                day = days.end() - 1;
            }
            const int rank = meetingRank(raField(line, "JyokenCD5"), raField(line, "GradeCD"));
            const std::string name = raField(line, "Ryakusyo10");
            std::string& cell = day->cells[static_cast<std::size_t>(toIntDef(jyo, 1) - 1)];
            if (cell.empty() || (toIntDef(part(cell, 0, 2), 0) < rank && !name.empty()))
                cell = twoDigits(rank) + name;
            return true;
        });
    }

    std::vector<DateRow> rows;
    rows.reserve(days.size());
    for (const Day& d : days) {
        DateRow row;
        row[kDateMonthDay] = std::string(part(d.monthDay, 0, 2)) + "/" + std::string(part(d.monthDay, 2, 2));
        row[kDateFull] = y + d.monthDay;
        row[kDateWeekday] = weekdayName(row[kDateFull]);
        std::size_t col = kDateFirstTrack;
        for (int code = 1; code <= 10 && col < kDateColumns; ++code) {
            const std::string& cell = d.cells[static_cast<std::size_t>(code - 1)];
            if (cell.empty()) continue;
            row[kDateTracks] += twoDigits(code);
            row[col] = trackName(twoDigits(code));
            const std::string race = trimBoth(part(cell, 2, 20));
            row[col + 1] = race.empty() ? sj("<一般戦>") : race;
            col += 2;
        }
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const DateRow& a, const DateRow& b) { return a[kDateFull] > b[kDateFull]; });
    return rows;
}

// ---- What the screen shows ----

std::vector<ViewRow> dateListRows(const StorePaths& p, std::string_view year) {
    const std::string saturday = sj("土"), sunday = sj("日");
    std::vector<ViewRow> rows;
    for (const DateRow& date : meetingDates(p, year)) {
        ViewRow row;
        for (const std::string& text : date) row.push_back({text});
        ViewCell& weekday = row[kDateWeekday];
        if (weekday.text == saturday) weekday.ink = Ink::Blue;
        if (weekday.text == sunday) weekday.ink = Ink::Red;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string chosenDate(const ViewRow& row) {
    if (row.size() <= kDateFull) return "";
    long long n = 0;
    return parseInt(row[kDateFull].text, n) && n > 0 ? row[kDateFull].text : "";
}

}  // namespace tarvo
