#include "track_variant.h"

#include <array>
#include <cstdio>
#include <vector>

#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "std_tables.h"
#include "store_paths.h"
#include "textfn.h"
#include "time_calc.h"

namespace tarvo {
namespace {

// ---------------------------------------------------------------- class adjustment

// The date window of a row: MonthDay as a number, both ends included.
struct DateWindow {
    int from = 0, to = 9999;
};
constexpr DateWindow kAnyDate{};

struct NameValue {
    const char* raceName;  // Ryakusyo6 (UTF-8)
    int value;
};

// One cell: the value and its race-name exceptions.
struct Cell {
    int value;
    std::vector<NameValue> exceptions;
};

// One row of a class table: the class words it matches (or a range of the
// prize class e), its date window and its cells by column.
struct ClassRow {
    std::vector<const char*> words;  // class words (UTF-8); empty = match e in [eFrom, eTo]
    int eFrom = 0, eTo = 0;
    DateWindow window;
    std::vector<Cell> cells;
};

struct AgeTable {
    const char* age;  // age word (UTF-8)
    bool byTrack;     // columns: major/minor x open/fillies, or open/fillies only
    std::vector<ClassRow> rows;
};

const std::vector<AgeTable>& classTables() {
    static const std::vector<AgeTable> tables = {
        {"古馬", true, {
            {{}, 1, 500, kAnyDate, {{-3, {}}, {-4, {}}, {-5, {}}, {-6, {}}}},
            {{}, 501, 1000, kAnyDate, {{1, {}}, {-1, {}}, {-2, {}}, {-3, {}}}},
            {{}, 1001, 1600, kAnyDate, {{6, {}}, {4, {}}, {3, {}}, {2, {}}}},
            {{"OPEN", "リステッド"}, 0, 0, kAnyDate, {{8, {}}, {5, {}}, {6, {}}, {4, {}}}},
            {{"Ｇ３", "重賞"}, 0, 0, kAnyDate,
             {{9, {{"富士Ｓ", 10}, {"根岸Ｓ", 10}, {"武蔵野Ｓ", 10}, {"みやこＳ", 10}}}, {6, {}}, {7, {}}, {5, {}}}},
            {{"Ｇ２"}, 0, 0, kAnyDate,
             {{9, {{"日経賞", 10}, {"阪神大賞典", 10}, {"産経大阪杯", 10}, {"京都大賞典", 10}, {"毎日王冠", 11},
                   {"ステイヤーズ", 7}}},
              {7, {}}, {6, {}}, {4, {}}}},
        }},
        {"３歳", false, {
            {{}, 1, 500, kAnyDate, {{-5, {}}, {-7, {}}}},
            {{}, 501, 1000, kAnyDate, {{0, {}}, {-3, {}}}},
            {{"新馬", "未出走"}, 0, 0, kAnyDate, {{-27, {}}, {-29, {}}}},
            {{"未勝利"}, 0, 0, kAnyDate, {{-12, {}}, {-14, {}}}},
            {{"OPEN", "リステッド"}, 0, 0, {0, 700}, {{1, {{"若葉Ｓ", 3}}}, {-2, {{"アネモネＳ", 0}}}}},
            {{"OPEN", "リステッド"}, 0, 0, {701, 9999}, {{2, {}}, {0, {}}}},
            {{"Ｇ３", "重賞"}, 0, 0, {0, 700}, {{3, {}}, {0, {{"チューリップ", 3}}}}},
            {{"Ｇ３", "重賞"}, 0, 0, {701, 9999}, {{3, {}}, {1, {}}}},
            {{"Ｇ２"}, 0, 0, {0, 700},
             {{4, {{"報知杯弥生賞", 6}, {"スプリングＳ", 6}, {"ＮＺＴ", 5}, {"青葉賞", 5}}}, {3, {{"Ｆレビュー", 0}}}}},
            {{"Ｇ２"}, 0, 0, {701, 9999}, {{8, {{"神戸新聞杯", 10}}}, {7, {}}}},
            {{"Ｇ１"}, 0, 0, {0, 700}, {{8, {}}, {5, {}}}},
            {{"Ｇ１"}, 0, 0, {701, 9999}, {{13, {}}, {8, {}}}},
        }},
        {"２歳", false, {
            {{}, 1, 500, kAnyDate, {{-6, {}}, {-8, {}}}},
            {{"新馬"}, 0, 0, kAnyDate, {{-26, {}}, {-28, {}}}},
            {{"未勝利"}, 0, 0, kAnyDate, {{-9, {}}, {-11, {}}}},
            {{"OPEN", "リステッド"}, 0, 0, {0, 1007}, {{-6, {}}, {-8, {}}}},
            {{"OPEN", "リステッド"}, 0, 0, {1008, 9999}, {{-4, {}}, {-5, {}}}},
            {{"Ｇ３", "重賞"}, 0, 0, {0, 1007}, {{-4, {}}, {-4, {}}}},
            {{"Ｇ３", "重賞"}, 0, 0, {1008, 9999}, {{-2, {{"ラジＮＩＫ杯", 0}}}, {-4, {}}}},
            {{"Ｇ２"}, 0, 0, kAnyDate, {{-1, {{"京王杯２歳Ｓ", 0}}}, {-3, {}}}},
            {{"Ｇ１"}, 0, 0, kAnyDate, {{2, {}}, {1, {}}}},
        }},
    };
    return tables;
}

// The older horses' Ｇ１ row: the minor track has the major track's values, and
// two dirt races have their own value everywhere.
const ClassRow& olderGradeOne() {
    static const ClassRow row = [] {
        const Cell open{14, {{"天皇賞（春）", 12}, {"高松宮記念", 13}, {"安田記念", 13}, {"スプリンタＳ", 13},
                             {"マイルＣＳ", 13}, {"フェブラリー", 10}, {"ＪＣダート", 10}}};
        return ClassRow{{"Ｇ１"}, 0, 0, kAnyDate, {open, open, {10, {}}, {10, {}}}};
    }();
    return row;
}

bool rowMatches(const ClassRow& row, std::string_view word, long long e, int d) {
    if (d < row.window.from || d > row.window.to) return false;
    if (row.words.empty()) return e >= row.eFrom && e <= row.eTo;
    for (const char* w : row.words)
        if (word == sj(w)) return true;
    return false;
}

int cellValue(const Cell& cell, std::string_view ryakusyo6) {
    for (const NameValue& nv : cell.exceptions)
        if (ryakusyo6 == sj(nv.raceName)) return nv.value;
    return cell.value;
}

bool isMajorTrack(std::string_view jyoCD) {
    return jyoCD == "05" || jyoCD == "06" || jyoCD == "08" || jyoCD == "09";
}

// ---------------------------------------------------------------- track data records

// The slots of a track data record (the BB layout): time variants, then last-3F variants.
constexpr int kSlots = 12;
constexpr std::string_view kSlotRuns[] = {"TimeVariant", "L3FVariant"};
constexpr std::string_view kEmptySlot = "****";

std::string slotName(std::string_view run, int slot) { return std::string(run) + std::to_string(slot); }

int numberOr(std::string_view text, int def) { return toIntDef(trimBoth(text), def); }

// The slot text of a value: the value form, "***" when it does not fit three characters.
std::string slotValue(int v) {
    std::string t = variantValueText(v);
    return t.size() > 3 ? std::string("***") : t;
}

// The SE lines of one race, read once per builder run from a one-file cache.
class SeFileCache {
public:
    const std::string& content(const std::string& path) {
        if (path != path_) {
            path_ = path;
            if (!readFile(path, data_)) data_.clear();
        }
        return data_;
    }

private:
    std::string path_, data_;
};

std::string topThree(const std::string& seFile, std::string_view jyoCD, std::string_view raceNum) {
    const std::string none = "********";
    // Collect the race's lines: contiguous, at most 28.
    std::vector<std::string_view> lines;
    forEachLineOf(seFile, [&](std::string_view line) {
        const bool match = getField(Family::SE, line, "JyoCD") == jyoCD &&
                           getField(Family::SE, line, "RaceNum") == raceNum;
        if (match) {
            lines.push_back(line);
            return lines.size() < 28;
        }
        return lines.empty();  // a race's lines are contiguous
    });
    // The first three past the post.
    std::vector<std::string_view> taken;
    bool winner = false;
    for (std::string_view line : lines) {
        const std::string_view pos = getField(Family::SE, line, "NyusenJyuni");
        if (pos != "01" && pos != "02" && pos != "03") continue;
        winner = winner || pos == "01";
        taken.push_back(line);
        if ((winner && taken.size() >= 3) || taken.size() >= 9) break;
    }
    if (!winner || taken.size() < 3) return none;
    long long sumTime = 0;
    float sumBlended = 0.0f;
    for (std::string_view line : taken) {
        const int t = storedTimeToTenths(getField(Family::SE, line, "Time"));
        const int l = numberOr(getField(Family::SE, line, "HaronTimeL3"), 0);
        const float blended = static_cast<float>(t - l) / 2.0f + static_cast<float>(l);
        sumTime += t;
        sumBlended += blended;
    }
    const auto n = static_cast<long double>(taken.size());
    const int meanTime = roundHalfAway(static_cast<long double>(sumTime) / n);
    const int meanBlended = roundHalfAway(static_cast<long double>(sumBlended) / n);
    return padRight(std::to_string(meanTime), 4) + padRight(std::to_string(meanBlended), 4);
}

// The RA fields a variant needs; only the key when the race has no RA record.
struct RaceFields {
    std::string_view year, monthDay, jyoCD, raceNum, trackCD, kigoCD, gradeCD, jyokenCD5, syubetuCD;
    std::string ryakusyo6;  // trimmed
};

RaceFields raceFields(std::string_view ra) {
    auto f = [&](const char* name) { return getField(Family::RA, ra, name); };
    return {f("Year"),    f("MonthDay"), f("JyoCD"),     f("RaceNum"),   f("TrackCD"),
            f("KigoCD"),  f("GradeCD"),  f("JyokenCD5"), f("SyubetuCD"), trimBoth(f("Ryakusyo6"))};
}

std::string variantOf(const RaceFields& race, const std::string& seFile, std::string_view courseKey, bool distidx) {
    const std::string mark = surfaceMark(courseKey);
    const std::string figures = topThree(seFile, race.jyoCD, race.raceNum);
    const bool measured = figures != "********";
    const int a = measured ? numberOr(figures.substr(0, 4), 0) : 0;
    const int b = measured ? numberOr(figures.substr(4, 4), 0) : 0;
    const auto cStd = standardLookup('C', courseKey, race.jyoCD);
    const int c = cStd ? storedTimeToTenths(std::to_string(*cStd)) : 0;
    const int d = standardLookup('D', courseKey, race.jyoCD).value_or(kMissingValue);
    const int adj = classAdjustment(race.monthDay, race.jyoCD, race.trackCD, race.ryakusyo6, race.kigoCD,
                                    race.gradeCD, race.jyokenCD5, race.syubetuCD);
    const float k = distidx ? distanceCoefficient(courseKey) : 1.0f;
    auto value = [&](int run, int standard) -> std::string {
        if (standard <= 0 || run <= 0) return "***";
        const float v = static_cast<float>(run - standard) * k + static_cast<float>(adj);
        return variantValueText(roundHalfAway(v));
    };
    return padRight(value(a, c), 4) + padRight(value(b, d), 4) + mark;
}

std::string raceCourseKey(std::string_view raLine) {
    return courseKey(getField(Family::RA, raLine, "TrackCD"), getField(Family::RA, raLine, "Kyori"));
}

// Computes and writes the variant of a confirmed race.
void buildRace(const StorePaths& paths, std::string_view raLine, SeFileCache& cache, bool distidx) {
    const RaceKey race = RaceKey::of(Family::RA, raLine);
    const std::string& se = cache.content(paths.file(Family::SE, race));
    writeVariant(paths, race, variantOf(raceFields(raLine), se, raceCourseKey(raLine), distidx));
}

// The central race files of the store.
std::vector<std::string> centralRaceFiles(const StorePaths& paths) {
    std::vector<std::string> files;
    for (const std::string& f : walkDirectory(paths.root() + "RA/", "*.*", true))
        if (f.size() >= 5 && f.compare(f.size() - 5, 5, "A.dat") == 0) files.push_back(f);
    return files;
}

bool isConfirmed(std::string_view raLine) { return getField(Family::RA, raLine, "DataKubun") == "7"; }

void startBuilder(BuilderProgress& progress) { progress = BuilderProgress(); }

void pumpEvents(const MessagePump& pump) {
    if (pump) pump();
}

}  // namespace

std::string variantValueText(int v) {
    if (v <= kMissingValue) return "***";
    char buf[16];
    std::snprintf(buf, sizeof buf, v >= 0 && v <= 99 ? "+%.2d" : "%.2d", v);
    return buf;
}

int classAdjustment(std::string_view monthDay, std::string_view jyoCD, std::string_view /*trackCD*/,
                    std::string_view ryakusyo6, std::string_view kigoCD, std::string_view gradeCD,
                    std::string_view jyokenCD5, std::string_view syubetuCD) {
    const bool major = isMajorTrack(jyoCD);
    const int fillyCode = numberOr(part(kigoCD, 1, 2), -1);
    const bool fillies = fillyCode >= 20 && fillyCode <= 24;
    const int d = numberOr(monthDay, 0);
    const std::string name = engineClassName(syubetuCD, jyokenCD5, gradeCD);

    int value = kMissingValue;
    for (const AgeTable& table : classTables()) {
        const std::string age = sj(table.age);
        if (name.compare(0, age.size(), age) != 0) continue;
        const std::string_view word = std::string_view(name).substr(age.size());
        long long e = 0;
        if (!parseInt(word, e)) e = 0;
        const std::size_t column = table.byTrack ? (major ? 0 : 1) + (fillies ? 2 : 0) : (fillies ? 1 : 0);
        const ClassRow* found = nullptr;
        for (const ClassRow& row : table.rows)
            if (rowMatches(row, word, e, d)) {
                found = &row;
                break;
            }
        if (!found && table.byTrack && rowMatches(olderGradeOne(), word, e, d)) found = &olderGradeOne();
        if (found) value = cellValue(found->cells[column], ryakusyo6);
        break;
    }
    // Minor tracks outside the summer season.
    if (!major && ((d >= 101 && d <= 614) || (d >= 908 && d <= 1231))) value -= 2;
    return value;
}

std::string surfaceMark(std::string_view courseKey) {
    const std::string_view surface = part(courseKey, 0, 2);
    return surface == sj("芝") ? "T" : surface == sj("ダ") ? "D" : "*";
}

std::string topThreeFigures(const StorePaths& paths, const RaceKey& race) {
    std::string se;
    readFile(paths.file(Family::SE, race), se);
    return topThree(se, race.jyoCD, race.raceNum);
}

std::string raceVariant(const StorePaths& paths, const RaceKey& race, std::string_view courseKey, bool distidx) {
    const std::string ra = findRace(paths, race);
    RaceFields fields = raceFields(ra);
    fields.year = race.year;
    fields.monthDay = race.monthDay;
    fields.jyoCD = race.jyoCD;
    fields.raceNum = race.raceNum;
    std::string se;
    readFile(paths.file(Family::SE, race), se);
    return variantOf(fields, se, courseKey, distidx);
}

void writeVariant(const StorePaths& paths, const RaceKey& race, std::string_view variant) {
    const int r = toIntDef(trimBoth(race.raceNum), -1);
    if (r < 1) return;
    const std::string timeValue = slotValue(numberOr(part(variant, 0, 4), kMissingValue));
    const std::string l3fValue = slotValue(numberOr(part(variant, 4, 4), kMissingValue));
    const std::string mark = padRight(trimBoth(part(variant, 8, 1)), 1);
    const std::string path = paths.file(Family::BB, race);
    if (path.empty()) throw IoError(sj("ファイル名にできない文字を含むキーのため、馬場データを書き込めません"));

    // The day's record rebuilt from the one that stands, or a new one; a race
    // number above 12 fills no slot.
    LineBuilder blank(Family::BB);
    blank.assignRaw("Year", race.year);
    blank.assignRaw("MonthDay", race.monthDay);
    blank.assignRaw("JyoCD", race.jyoCD);
    for (std::string_view run : kSlotRuns)
        for (int slot = 1; slot <= kSlots; ++slot) blank.assignRaw(slotName(run, slot), kEmptySlot);
    updateRecord(path, blank.line(), recordKey(Family::BB), [&](std::string_view stored) {
        LineBuilder b(Family::BB, stored.empty() ? std::string_view(blank.line()) : stored);
        for (std::string_view run : kSlotRuns) {
            for (int slot = 1; slot <= kSlots; ++slot) {
                const std::string name = slotName(run, slot);
                if (slot == r)
                    b.assignRaw(name, padRight(run == kSlotRuns[0] ? timeValue : l3fValue, 3) + mark);
                else
                    b.assign(name, std::string(b.get(name)));
            }
        }
        return b.line();
    });
}

std::string storedVariant(const StorePaths& paths, const std::string& fileFolder, std::string_view date8,
                          std::string_view jyoCD, std::string_view raceNum) {
    const std::string path = isCentralTrack(jyoCD) ? paths.bb(part(date8, 0, 4), part(date8, 4, 4))
                                                   : fileFolder + "babadif.csv";
    if (path.empty() || !fileExists(path)) return "********";
    const int r = toIntDef(trimBoth(raceNum), 0);
    const std::string key = std::string(date8) + std::string(jyoCD);
    const std::size_t keyLength = 10;  // Year, MonthDay and JyoCD
    std::string first, second;
    forEachLine(path, [&](std::string_view line) {
        if (line.substr(0, keyLength) != key) return true;
        if (r >= 1 && r <= kSlots) {
            auto slot = [&](std::string_view run) {
                return trimBoth(part(getField(Family::BB, line, slotName(run, r)), 0, 3));
            };
            first = slot(kSlotRuns[0]);
            second = slot(kSlotRuns[1]);
        }
        return false;
    });
    return padRight(first.empty() ? std::string(kEmptySlot) : first, 4) +
           padRight(second.empty() ? std::string(kEmptySlot) : second, 4);
}

namespace {

// The date window of the period builder, as eight-digit numbers.
struct Period {
    long long from, to;
};

// Computes every confirmed central race (of the period, when one is given),
// advancing the race counter and stopping at a cancel after the race in hand.
// The period builder also publishes the file index and lets events run after
// each file name and each record.
int buildCentralRaces(const StorePaths& paths, const std::string& settingsPath, const Period* period,
                      BuilderProgress& progress, const MessagePump& pump) {
    const bool distidx = reloadDistanceCoefficientSetting(settingsPath);
    startBuilder(progress);
    SeFileCache cache;
    const auto files = centralRaceFiles(paths);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (period) {
            progress.fileIndex = static_cast<int>(i);
            pumpEvents(pump);
        }
        bool stop = false;
        forEachLine(files[i], [&](std::string_view line) {
            if (period) pumpEvents(pump);
            if (!isConfirmed(line)) return true;
            if (period) {
                long long date = 0;
                const std::string d8 = std::string(getField(Family::RA, line, "Year")) +
                                       std::string(getField(Family::RA, line, "MonthDay"));
                if (!parseInt(d8, date) || date < period->from || date > period->to) return true;
            }
            buildRace(paths, line, cache, distidx);
            pumpEvents(pump);
            ++progress.raceCount;
            stop = progress.cancelRequested;
            return !stop;
        });
        if (stop) break;
    }
    return progress.raceCount;
}

}  // namespace

int rebuildAllTrackData(const StorePaths& paths, const std::string& settingsPath, BuilderProgress& progress,
                        const MessagePump& pump) {
    return buildCentralRaces(paths, settingsPath, nullptr, progress, pump);
}

int rebuildTrackDataPeriod(const StorePaths& paths, const std::string& settingsPath, std::string_view fromDate,
                           std::string_view toDate, BuilderProgress& progress, const MessagePump& pump) {
    const Period period{toIntDef(fromDate, 0), toIntDef(toDate, 0)};
    return buildCentralRaces(paths, settingsPath, &period, progress, pump);
}

int rebuildTrackDataRace(const StorePaths& paths, const std::string& settingsPath, const RaceKey& race,
                         BuilderProgress& progress, const MessagePump& pump) {
    const bool distidx = reloadDistanceCoefficientSetting(settingsPath);
    startBuilder(progress);
    if (!isCentralTrack(race.jyoCD)) return 0;
    SeFileCache cache;
    forEachLine(paths.file(Family::RA, race), [&](std::string_view line) {
        if (!isConfirmed(line) || RaceKey::of(Family::RA, line) != race) return true;
        buildRace(paths, line, cache, distidx);
        pumpEvents(pump);
        ++progress.raceCount;
        return false;
    });
    return progress.raceCount;
}

std::string runVariant(const StorePaths& paths, const std::string& fileFolder, const RaceKey& race,
                       std::string_view courseKey) {
    const EngineSettings& s = engineSettings();
    return s.bbdcmp && isCentralTrack(race.jyoCD)
               ? raceVariant(paths, race, courseKey, s.distidx)
               : storedVariant(paths, fileFolder, race.date(), race.jyoCD, race.raceNum);
}

}  // namespace tarvo
