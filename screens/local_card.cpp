#include "local_card.h"

#include <algorithm>

#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "race_predict.h"
#include "record_io.h"
#include "runner_tables.h"
#include "textfn.h"
#include "um_index.h"

namespace tarvo {
namespace {

// One runner line field of the .rfl file: written at its width, read one byte
// shorter where the separating blank follows.
struct RflField {
    std::size_t width, readWidth;
};
constexpr RflField kRflFields[kEntryColumns] = {{5, 5}, {28, 28}, {5, 4}, {5, 4}, {11, 10},
                                                {9, 8}, {6, 5},   {9, 8}, {5, 5}};
constexpr std::size_t kRflKettoEnd = 53;  // bytes before the jockey and trainer fields

constexpr std::string_view kNoPerson = "**";
constexpr std::string_view kNoCode = "00000";

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string umIndexField(std::string_view line, std::string_view name) {
    return std::string(getField(Family::UMIDX, line, name));
}

// The status text of column 0 ("番", "除>", "消>"), its number the first two bytes.
std::string statusOf(const EntryRow& row) { return trimBoth(part(trimBoth(row[0]), 2, 3)); }
std::string numberOf(const EntryRow& row) { return std::string(part(row[0], 0, 2)); }

std::string quoted(std::string_view s) { return "\"" + replaceAll(s, "\"", "\"\"") + "\""; }

// The sex code the evaluation is passed for a sex name.
std::string sexCodeOf(std::string_view sexName) {
    if (sexName == sj("牡")) return "1";
    if (sexName == sj("牝")) return "2";
    if (sexName == sj("ｾﾝ") || sexName == sj("セ")) return "3";
    return "";
}

// Kana and short names of the person lists: without half-width blanks, full width.
std::string listText(std::string_view s) { return toFullWidth(replaceAll(trimBoth(s), " ", "")); }

}  // namespace

bool isEmptyEntry(const EntryRow& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& c) { return trimBoth(c).empty(); });
}

std::string bracketNumber(int h, int f) {
    if (h < 1 || h > 18 || f < 1 || f > 18) return "";
    if (f <= 8) return std::to_string(h);
    // h / 2 + (16 - f) / 2 rounded half away from zero: both halves are whole or half numbers.
    if (f <= 15) return std::to_string(h <= 16 - f ? h : (h + 16 - f + 1) / 2);
    if (h <= 14) return std::to_string((h + 1) / 2);
    if (h == 15) return f == 18 ? "7" : "8";
    return "8";
}

std::vector<std::string> LocalEntry::allHorseNumbers() {
    std::vector<std::string> n;
    for (int h = 1; h <= 18; ++h) n.push_back(twoDigits(h) + sj("番"));
    return n;
}

void LocalEntry::returnNumber(const std::string& number) {
    if (number.empty() || std::find(numbers.begin(), numbers.end(), number) != numbers.end()) return;
    numbers.push_back(number);
    std::sort(numbers.begin(), numbers.end());
}

void LocalEntry::takeNumber(const std::string& number) { std::erase(numbers, number); }

std::string searchResultLine(std::string_view name, std::string_view sex, std::string_view age,
                             std::string_view kettoNum) {
    return padRight(name, 28) + padRight(sex, 2) + padRight(age, 2) + "   " + padRight(kettoNum, 10);
}

std::vector<std::string> searchFiles(const StorePaths& p, int age, int currentYear) {
    const std::string um = p.root() + "UM/";
    if (age <= 0) return walkDirectory(um, "*.idx", true);
    return walkDirectory(um + std::to_string(currentYear - age) + "/", "*.idx", false);
}

void searchFile(const std::string& path, std::string_view text, int raceYear, std::vector<std::string>& results) {
    const std::string key = trimBoth(text);
    if (key.empty()) return;
    forEachLine(path, [&](std::string_view line) {
        if (getField(Family::UMIDX, line, "Bamei").substr(0, key.size()) != key) return true;
        const std::string ketto = umIndexField(line, "KettoNum");
        const int age = raceYear - toIntDef(part(ketto, 0, 4), 0);
        const std::string result =
            searchResultLine(trimBoth(umIndexField(line, "Bamei")), sexName(umIndexField(line, "SexCD")),
                             age < 1 ? std::string(kNoPerson) : std::to_string(age), ketto);
        if (std::find(results.begin(), results.end(), result) == results.end()) results.push_back(result);
        return true;
    });
}

std::vector<std::string> searchHorses(const StorePaths& p, std::string_view text, int age, int raceYear,
                                      int currentYear, const std::function<void(std::size_t, std::size_t)>& step) {
    std::vector<std::string> results;
    if (trimBoth(text).empty()) return results;
    const std::vector<std::string> files = searchFiles(p, age, currentYear);
    for (std::size_t i = 0; i < files.size(); ++i) {
        searchFile(files[i], text, raceYear, results);
        if (step) step(i + 1, files.size());
    }
    return results;
}

TrainerRef trainerLookup(const StorePaths& p, std::string_view raceDate, std::string_view kettoNum) {
    const std::vector<RunEntry> runs = runEntries(runList(p, kettoNum));
    TrainerRef t;
    if (!runs.empty()) {
        const int date = toIntDef(raceDate, 0);
        auto run = std::find_if(runs.begin(), runs.end(), [&](const RunEntry& e) { return toIntDef(e.date, 0) <= date; });
        if (run == runs.end()) run = runs.end() - 1;
        const std::string se = findRunInDayFile(p, part(run->date, 0, 4), part(run->date, 4, 4), run->jyoCD, kettoNum);
        t.name = trimBoth(getField(Family::SE, se, "ChokyosiRyakusyo"));
        t.code = trimBoth(getField(Family::SE, se, "ChokyosiCode"));
    }
    if (t.code.empty() || t.code == kNoCode) {
        t.code = trimBoth(getField(Family::CH, findTrainerByShortName(p, t.name), "ChokyosiCode"));
        if (t.code.empty()) t.code = kNoCode;
    }
    if (t.name.empty()) t.name = kNoPerson;
    return t;
}

std::string addRunner(LocalEntry& e, const StorePaths& p, std::string_view resultLine, std::string_view number,
                      std::string_view weight, std::string_view raceDate) {
    const std::string name = trimBoth(part(resultLine, 0, 28)), sex = trimBoth(part(resultLine, 28, 2));
    const std::string age = trimBoth(part(resultLine, 30, 2)), ketto = trimBoth(part(resultLine, 35, 10));
    const std::string num = trimBoth(number);
    if (num.empty()) return "";
    const TrainerRef trainer = trainerLookup(p, raceDate, ketto);
    if (std::any_of(e.rows.begin(), e.rows.end(), [&](const EntryRow& r) { return r[4] == ketto; }))
        return name + sj(" は既に追加されています");
    if (!isEmptyEntry(e.rows.front())) e.rows.emplace_back();
    e.rows.back() = {num, name, sex + age, trimBoth(weight), ketto, std::string(kNoPerson), std::string(kNoCode),
                     trainer.name, trainer.code};
    std::stable_sort(e.rows.begin(), e.rows.end(), [](const EntryRow& a, const EntryRow& b) { return a[0] < b[0]; });
    e.takeNumber(num);
    const auto at = std::find_if(e.rows.begin(), e.rows.end(), [&](const EntryRow& r) { return r[1] == name; });
    e.selected = static_cast<std::size_t>(at - e.rows.begin()) + 1;
    return "";
}

void removeRunner(LocalEntry& e) {
    if (e.selected == 0 || e.selected > e.rows.size()) return;
    const EntryRow& row = e.rows[e.selected - 1];
    if (!isEmptyEntry(row)) {
        e.returnNumber(numberOf(row) + sj("番"));
        const std::string line =
            searchResultLine(row[1], part(row[2], 0, 2), part(row[2], 2, 2), row[4]);
        if (std::find(e.results.begin(), e.results.end(), line) == e.results.end()) e.results.push_back(line);
    }
    if (e.rows.size() == 1)
        e.rows.front() = EntryRow{};
    else
        e.rows.erase(e.rows.begin() + static_cast<std::ptrdiff_t>(e.selected - 1));
    e.selected = 0;
}

void moveRunner(LocalEntry& e, int step) {
    const std::size_t r = e.selected;
    if (r == 0 || r > e.rows.size()) return;
    if ((step < 0 && r == 1) || (step > 0 && r == e.rows.size())) return;
    const std::size_t other = step < 0 ? r - 1 : r + 1;
    EntryRow& a = e.rows[r - 1];
    EntryRow& b = e.rows[other - 1];
    const std::string numberA = numberOf(a), numberB = numberOf(b);
    std::swap(a, b);
    a[0] = numberA + statusOf(a);
    b[0] = numberB + statusOf(b);
    e.selected = other;
}

void toggleStatus(LocalEntry& e, std::string_view status) {
    if (e.selected == 0 || e.selected > e.rows.size()) return;
    EntryRow& row = e.rows[e.selected - 1];
    if (isEmptyEntry(row)) return;
    const std::string s = std::string(part(trimBoth(row[0]), 2, 2));
    row[0] = numberOf(row) + (s == status ? sj("番") : std::string(status) + ">");
}

std::string rflText(const LocalRaceHeader& header, const std::vector<EntryRow>& rows) {
    std::string out = sj("＃") + header.date + "," + quoted(trimBoth(header.trackName)) + "," +
                      quoted(header.courseKey) + "," + quoted(header.raceName) + "\r\n";
    for (const EntryRow& row : rows) {
        for (std::size_t c = 0; c < kEntryColumns; ++c) out += padRight(trimBoth(row[c]), kRflFields[c].width);
        out += "\r\n";
    }
    return out;
}

RflContent readRfl(const StorePaths& p, std::string_view data, std::string_view fallbackDate) {
    RflContent content;
    const std::string mark = sj("＃");
    std::vector<std::string> runnerLines;
    bool headerSeen = false;
    forEachLineOf(data, [&](std::string_view line) {
        if (startsWith(line, mark)) {
            headerSeen = true;
            const std::vector<std::string> values = splitCommaText(line);
            const std::string date = values.empty() ? std::string() : std::string(part(values[0], 2, 8));
            if (isCalendarDate(date))
                content.header.date = date;
            else
                content.problems.push_back("the header line holds no race date");
            if (values.size() < 4) content.problems.push_back("the header line lacks the track, course or race name");
            content.header.trackName = values.size() > 1 ? values[1] : "";
            content.header.courseKey = values.size() > 2 ? values[2] : "";
            content.header.raceName = values.size() > 3 ? values[3] : "";
        } else if (!trimBoth(line).empty()) {
            runnerLines.emplace_back(line);
        }
        return true;
    });
    if (!headerSeen) content.problems.push_back("the file has no header line");
    const std::string date = content.header.date.empty() ? std::string(fallbackDate) : content.header.date;
    for (const std::string& line : runnerLines) {
        EntryRow row;
        std::size_t at = 0;
        for (std::size_t c = 0; c < kEntryColumns; ++c) {
            row[c] = trimBoth(part(line, at, kRflFields[c].readWidth));
            at += kRflFields[c].width;
        }
        if (trimBoth(part(line, kRflKettoEnd, 30)).empty()) {
            const TrainerRef trainer = trainerLookup(p, date, row[4]);
            row[5] = kNoPerson;
            row[6] = kNoCode;
            row[7] = trainer.name;
            row[8] = trainer.code;
        }
        if (line.size() < kRflKettoEnd) content.problems.push_back("a runner line ends before its KettoNum: " + row[0]);
        content.rows.push_back(std::move(row));
    }
    if (content.rows.empty()) content.rows.emplace_back();
    return content;
}

void loadEntry(LocalEntry& e, const RflContent& content) {
    e.rows = content.rows;
    e.numbers = LocalEntry::allHorseNumbers();
    for (const EntryRow& row : e.rows)
        if (!isEmptyEntry(row)) e.takeNumber(numberOf(row) + sj("番"));
    e.selected = 1;
}

std::string localCourseLabel(std::string_view courseKey) {
    if (startsWith(courseKey, sj("芝"))) return sj("芝") + std::string(part(courseKey, 2, 4)) + "m";
    if (startsWith(courseKey, sj("ダ"))) return sj("ダート") + std::string(part(courseKey, 2, 4)) + "m";
    return "";
}

RaceKey localRaceKey(const LocalRaceHeader& header) {
    return RaceKey(std::string(part(header.date, 0, 4)), std::string(part(header.date, 4, 4)),
                   trackCode(trimBoth(header.trackName)), "**");
}

RaceCard buildLocalRaceCard(const EvalSource& src, const LocalRaceHeader& header, const std::vector<EntryRow>& rows,
                            const CardProgress& progress) {
    const ReadCacheScope cache;
    engineSettings().oddadd = false;
    const RaceKey race = localRaceKey(header);
    RaceCard card;
    card.courseKey = trimBoth(header.courseKey);
    card.goingKey = "**";
    card.header.date = header.date;
    card.header.raceNum = trimBoth(header.trackName) + "**R";
    card.header.hTime = sj("--：--");
    card.header.crs = localCourseLabel(card.courseKey);
    card.header.raceName = trimBoth(header.raceName);

    const std::size_t n = rows.size();
    RunnerTable& t = allocateRunnerTable(kMainWindowCaller, n);
    const int field = toIntDef(part(rows.empty() ? std::string() : trimBoth(rows.back()[0]), 0, 2), 0);
    for (std::size_t i = 0; i < n; ++i) {
        EntryRow cells;
        for (std::size_t c = 0; c < kEntryColumns; ++c) cells[c] = trimBoth(rows[i][c]);
        const std::string h = std::string(part(cells[0], 0, 2)), status = std::string(part(cells[0], 2, 2));
        for (std::size_t c : {std::size_t{5}, std::size_t{7}})
            if (cells[c].empty()) cells[c] = kNoPerson;
        const std::string& ketto = cells[4];
        t.kettoNums[i] = ketto;
        t.jockeyCodes[i] = cells[6];
        t.trainerCodes[i] = cells[8];
        card.ownerCodes.push_back(trimBoth(getField(Family::UM, findHorse(src.paths, ketto), "BanusiCode")));

        ViewRow row(kCardColumns);
        row[0].text = bracketNumber(toIntDef(h, 0), field);
        row[1].text = h;
        row[2].text = cells[1];
        row[3].text = cells[2];
        row[4].text = cells[3];
        row[5].text = cells[5];
        row[6].text = cells[7];
        row[7].text = status == sj("除") ? sj("除外") : status == sj("消") ? sj("取消") : "";
        t.odds[i] = row[7].text;

        const std::string sex = std::string(part(cells[2], 0, 2)), sexCD = sexCodeOf(trimBoth(sex));
        RunnerCall call;
        call.caller = kMainWindowCaller;
        call.year = race.year;
        call.monthDay = race.monthDay;
        call.kettoNum = ketto;
        call.kisyuCode = cells[6];
        call.kisyuCodeBefore = cells[6];
        call.chokyosiCode = cells[8];
        call.courseKey = card.courseKey;
        call.weightKg = cells[3];
        call.jyokenCD5 = "999";
        call.gradeCD = "D";
        call.jyuryoCD = "0";
        call.baTaijyu = "000";
        call.sexCD = sexCD;
        call.row = static_cast<int>(i + 1);
        evaluateCardRunner(src, call, i, row);
        for (std::size_t slot : {kSlotUserMark, kSlotCourseCheck, kSlotJockeyDistance, kSlotJockeyTrack})
            t.marks[slot][i].clear();
        t.marks[kSlotUmaban][i] = h;
        t.marks[kSlotSexName][i] = sex;
        card.rows.push_back(std::move(row));
        if (progress) progress(i + 1, n);
    }
    markCardRace(src,
                 {kMainWindowCaller, race.year, race.monthDay, "", "000", "D", card.goingKey, card.courseKey,
                  race.raceNum, race.jyoCD},
                 card.rows);
    return card;
}

std::vector<std::string> personChoiceLines(const StorePaths& p, Family family) {
    const bool jockeys = family == Family::KS;
    const std::string kana = jockeys ? "KisyuNameKana" : "ChokyosiNameKana";
    const std::string shortName = jockeys ? "KisyuRyakusyo" : "ChokyosiRyakusyo";
    const std::string code = jockeys ? "KisyuCode" : "ChokyosiCode";
    std::vector<std::string> lines;
    for (const std::string& file : walkDirectory(p.root() + (jockeys ? "KS/" : "CH/"), "*.dat", true))
        forEachLine(file, [&](std::string_view line) {
            const auto f = [&](const std::string& name) { return trimBoth(getField(family, line, name)); };
            lines.push_back(padRight(listText(f(kana)), 30) + " " + padRight(listText(f(shortName)), 8) + " " +
                            padRight(f(code), 5) + " " + padRight(affiliationName(f("TozaiCD")), 4) + " " +
                            padRight(f("Syotai"), 20));
            return true;
        });
    std::stable_sort(lines.begin(), lines.end());
    lines.insert(lines.begin(), padRight(sj("[直接入力]"), 30) + " " + padRight("", 8) + " " + std::string(kNoCode) +
                                    " " + padRight(kNoPerson, 4) + " " + padRight("", 20));
    return lines;
}

std::string findPersonChoice(const std::vector<std::string>& lines, std::string_view text) {
    const std::string key = trimBoth(text);
    if (key.empty() || key[0] == '[') return "";
    for (const std::string& line : lines)
        if (startsWith(part(line, 0, 31), key) || startsWith(part(line, 31, 9), key)) return line;
    return "";
}

ScreenView localSearchView(const std::vector<std::string>& results) {
    ScreenView v;
    v.caption = sj("地方重賞予想");
    v.labels.push_back({"lblNum", std::to_string(results.size())});
    v.lists.push_back({"lstSchResult", results});
    return v;
}

std::vector<std::string> weightChoices() {
    std::vector<std::string> w;
    for (int half = 96; half <= 124; ++half) w.push_back(std::to_string(half / 2) + (half % 2 ? ".5" : ".0"));
    return w;
}

const std::vector<std::string>& courseChoices() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k;
        for (const char* d : {"1000", "1200", "1400", "1500", "1600", "1700", "1800", "2000", "2200", "2300", "2400",
                              "2500", "2600", "3000", "3200", "3600"})
            k.push_back(sj("芝") + d);
        for (const char* d : {"1000", "1150", "1200", "1300", "1400", "1600", "1700", "1800", "1900", "2000", "2100",
                              "2300", "2400", "2500", "2600"})
            k.push_back(sj("ダ") + d);
        return k;
    }();
    return keys;
}

}  // namespace tarvo
