#include "newcomer_stats.h"

#include <array>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "race_key.h"
#include "record_io.h"
#include "textfn.h"

namespace tarvo {
namespace {

// ---------------------------------------------------------------- line layout

// The counts of a place block in order (first, second, third, other) and the width of each.
constexpr std::size_t kCountWidths[] = {2, 2, 2, 3};
constexpr std::size_t kPlaces = std::size(kCountWidths);
constexpr std::size_t kBlockWidth = [] {
    std::size_t w = 0;
    for (std::size_t c : kCountWidths) w += c;
    return w;
}();

// The blocks of a line: the two surfaces, then three distance bands of each.
enum Surface : std::size_t { kTurf = 0, kDirt = 1 };
constexpr std::size_t kBands = 3;
constexpr std::size_t kBlocks = 2 + 2 * kBands;

// The distance band of a distance in metres: below 1500, 1500 to 1899, 1900 and above.
std::size_t band(int kyori) { return kyori < 1500 ? 0 : kyori < 1900 ? 1 : 2; }
std::size_t distanceBlock(Surface s, int kyori) { return 2 + s * kBands + band(kyori); }

// A table's file and head: the short name that precedes the key (jockeys
// only) and the key, each padded on the right to its width.
struct TableLayout {
    const char* suffix;
    std::size_t nameWidth;  // the key's position
    std::size_t keyWidth;
    std::size_t headWidth() const { return nameWidth + keyWidth; }
    std::size_t blockPos(std::size_t block) const { return headWidth() + block * kBlockWidth; }
};
constexpr TableLayout kLayouts[] = {
    {"sbks.txt", 8, 5},   // jockeys: KisyuRyakusyo, KisyuCode
    {"sbum.txt", 0, 36},  // sires
    {"sbbs.txt", 0, 36},  // dam sires
};
constexpr std::size_t kTables = std::size(kLayouts);
const TableLayout& tableLayout(NewcomerTable t) { return kLayouts[static_cast<std::size_t>(t)]; }

// n zero-padded to width digits; the largest such number when n does not fit.
std::string countText(int n, std::size_t width) {
    int largest = 1;
    for (std::size_t i = 0; i < width; ++i) largest *= 10;
    --largest;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", static_cast<int>(width), n < 0 ? 0 : n > largest ? largest : n);
    return buf;
}

using Counts = std::array<int, kPlaces>;

std::string blockText(const Counts& c) {
    std::string s;
    for (std::size_t i = 0; i < kPlaces; ++i) s += countText(c[i], kCountWidths[i]);
    return s;
}

// ---------------------------------------------------------------- counting

// One key of a table: its counts per block and, for jockeys, the short name of its last counted run.
struct Entry {
    std::string key, name;
    std::array<Counts, kBlocks> blocks{};
};

// The keys of a table in the order of their first counted run, at most kMaxNewcomerKeys.
class Tally {
public:
    // The key's entry; nullptr for an empty key or a new key when the table is full.
    Entry* entry(const std::string& key) {
        if (key.empty()) return nullptr;
        if (const auto it = index_.find(key); it != index_.end()) return &entries_[it->second];
        if (entries_.size() >= kMaxNewcomerKeys) return nullptr;
        index_.emplace(key, entries_.size());
        entries_.push_back({key, {}, {}});
        return &entries_.back();
    }
    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> index_;
};

// The JyokenCD5 of the races, each RA month file read once: the first record of a race key counts, as in findRace.
class RaceConditions {
public:
    explicit RaceConditions(const StorePaths& paths) : paths_(paths) {}

    const std::string& jyokenCD5(const RaceKey& race) {
        static const std::string none;
        const std::string path = paths_.file(Family::RA, race);
        auto file = files_.find(path);
        if (file == files_.end()) {
            file = files_.emplace(path, std::unordered_map<std::string, std::string>()).first;
            forEachLine(path, [&](std::string_view line) {
                file->second.emplace(RaceKey::of(Family::RA, line).text(),
                                     std::string(getField(Family::RA, line, "JyokenCD5")));
                return true;
            });
        }
        const auto it = file->second.find(race.text());
        return it == file->second.end() ? none : it->second;
    }

private:
    const StorePaths& paths_;
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> files_;
};

int number(std::string_view line, std::string_view field) { return toIntDef(getField(Family::SE, line, field), 0); }

// Counts one SE line into the tables when it is a counted run.
void countRun(const StorePaths& paths, RaceConditions& races, std::array<Tally, kTables>& tables,
              std::string_view line) {
    const int trackCD = number(line, "TrackCD");
    const int nyusen = number(line, "NyusenJyuni");
    if (number(line, "DataKubun") != 7 || trackCD < 10 || trackCD > 29) return;
    if (!((nyusen >= 1 && nyusen <= 95) || nyusen == 99)) return;
    if (races.jyokenCD5(RaceKey::of(Family::SE, line)) != "701") return;

    const Surface surface = trackCD <= 22 ? kTurf : kDirt;
    const std::size_t byDistance = distanceBlock(surface, number(line, "Kyori"));
    const std::size_t place = nyusen <= 3 ? static_cast<std::size_t>(nyusen - 1) : kPlaces - 1;

    const std::string horse = findHorse(paths, getField(Family::SE, line, "KettoNum"));
    const std::string keys[kTables] = {
        trimBoth(getField(Family::SE, line, "KisyuCode")),
        trimBoth(getField(Family::UM, horse, "Ketto3InfoBamei1")),
        trimBoth(getField(Family::UM, horse, "Ketto3InfoBamei5")),
    };
    for (std::size_t t = 0; t < kTables; ++t) {
        Entry* e = tables[t].entry(keys[t]);
        if (!e) continue;
        if (static_cast<NewcomerTable>(t) == NewcomerTable::Jockey)
            e->name = trimBoth(getField(Family::SE, line, "KisyuRyakusyo"));
        ++e->blocks[surface][place];
        ++e->blocks[byDistance][place];
    }
}

std::string fileText(const TableLayout& layout, const std::vector<Entry>& entries) {
    std::string text;
    for (const Entry& e : entries) {
        if (layout.nameWidth > 0) text += padRight(e.name, layout.nameWidth);
        text += padRight(e.key, layout.keyWidth);
        for (const Counts& c : e.blocks) text += blockText(c);
        text += "\r\n";
    }
    return text;
}

}  // namespace

std::string newcomerFolder(const std::string& fileFolder) { return fileFolder + "shbdat/"; }

std::string newcomerFile(const std::string& fileFolder, NewcomerTable table, int year) {
    return newcomerFolder(fileFolder) + std::to_string(year) + tableLayout(table).suffix;
}

std::string placeBlockText(int first, int second, int third, int other) {
    return blockText({first, second, third, other});
}

NewcomerStatsFile::NewcomerStatsFile(const std::string& fileFolder, NewcomerTable table, std::string_view raceYear)
    : table_(table) {
    if (!readFile(newcomerFile(fileFolder, table, toIntDef(raceYear, 1) - 1), data_)) data_.clear();
}

namespace {

// Whether a key field can equal the key once trimmed, tested without the
// trim's copy: it must contain the key, and a field that trims to nothing
// starts with a half-width or full-width blank.
bool mayTrimTo(std::string_view field, std::string_view key) {
    if (key.empty()) return field.empty() || field[0] == ' ' || field[0] == '\x81';
    return field.find(key) != std::string_view::npos;
}

}  // namespace

std::string NewcomerStatsFile::blocks(std::string_view key, std::string_view courseKey) const {
    const TableLayout& layout = tableLayout(table_);
    const std::string wanted = trimBoth(key);
    const Surface surface = trimBoth(part(courseKey, 0, 2)) == sj("芝") ? kTurf : kDirt;
    const std::size_t byDistance = distanceBlock(surface, toIntDef(part(courseKey, 2, 4), 0));
    std::string result;
    forEachLineOf(data_, [&](std::string_view line) {
        const std::string_view field = part(line, layout.nameWidth, layout.keyWidth);
        if (!mayTrimTo(field, wanted) || trimBoth(field) != wanted) return true;
        result = std::string(part(line, layout.blockPos(surface), kBlockWidth)) +
                 std::string(part(line, layout.blockPos(byDistance), kBlockWidth));
        return false;
    });
    return result;
}

std::string jockeyStatistics(const std::string& fileFolder, std::string_view raceYear, std::string_view kisyuCode,
                             std::string_view courseKey) {
    return NewcomerStatsFile(fileFolder, NewcomerTable::Jockey, raceYear).blocks(kisyuCode, courseKey);
}

std::string sireStatistics(const std::string& fileFolder, std::string_view raceYear, std::string_view sireName,
                           std::string_view courseKey) {
    return NewcomerStatsFile(fileFolder, NewcomerTable::Sire, raceYear).blocks(sireName, courseKey);
}

std::string damSireStatistics(const std::string& fileFolder, std::string_view raceYear, std::string_view damSireName,
                              std::string_view courseKey) {
    return NewcomerStatsFile(fileFolder, NewcomerTable::DamSire, raceYear).blocks(damSireName, courseKey);
}

NewcomerYear makeNewcomerStatistics(const StorePaths& paths, const std::string& fileFolder, int year,
                                    NewcomerProgress& progress, const MessagePump& pump) {
    const auto runPump = [&] {
        if (pump) pump();
    };
    makeDirs(newcomerFolder(fileFolder));
    progress.fileIndex = 0;
    progress.currentFile.clear();
    const std::vector<std::string> files =
        walkDirectory(paths.root() + "SE/" + std::to_string(year) + "/", "*.*", true);
    progress.fileCount = static_cast<int>(files.size());

    std::array<Tally, kTables> tables;
    RaceConditions races(paths);
    for (std::size_t i = 0; i < files.size() && !progress.cancelRequested; ++i) {
        runPump();
        progress.fileIndex = static_cast<int>(i);
        // The day files of the local and other tracks ("0A") hold no central race.
        if (containsText(files[i], "A.dat")) continue;
        progress.currentFile = files[i];
        forEachLine(files[i], [&](std::string_view line) {
            runPump();
            if (progress.cancelRequested) return false;
            countRun(paths, races, tables, line);
            return true;
        });
    }
    NewcomerYear result;
    if (progress.cancelRequested) return result;
    for (std::size_t t = 0; t < kTables; ++t)
        writeFileAtomic(newcomerFile(fileFolder, static_cast<NewcomerTable>(t), year),
                        fileText(kLayouts[t], tables[t].entries()));
    result.written = true;
    result.jockeys = tables[0].entries().size();
    result.sires = tables[1].entries().size();
    result.damSires = tables[2].entries().size();
    return result;
}

}  // namespace tarvo
