// Newcomer statistics: how the jockeys, sires and dam sires did in the central
// newcomer races of a year, kept in three text files per year in the folder
// "shbdat/" of the file folder, and the readers that give the race prediction
// the two place blocks of a key that fit a race's surface and distance.
//
// A line is a head (jockey: short name 8 bytes and code 5; sire or dam sire:
// the name, 36 bytes) followed by eight place blocks of 9 bytes (first, second
// and third places two digits each, other placings three), in the order turf,
// dirt, turf short, middle, long, dirt short, middle, long.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "store_paths.h"
#include "track_variant.h"

namespace tarvo {

enum class NewcomerTable { Jockey, Sire, DamSire };

// The keys a table holds at most; runs of further keys are not counted in it.
inline constexpr std::size_t kMaxNewcomerKeys = 1500;

// The statistics folder below the file folder (program folder + "file/").
std::string newcomerFolder(const std::string& fileFolder);
// The statistics file of a table for year Y: Y + "sbks.txt", "sbum.txt" or "sbbs.txt".
std::string newcomerFile(const std::string& fileFolder, NewcomerTable table, int year);

// A place block: each count at the width of its field; a count too large for
// it is written as the largest value the field holds, so no line ever shifts.
std::string placeBlockText(int first, int second, int third, int other);

// The statistics file of a table for the year before a race's Year (read as a
// number, 1 when it is not one), read once for any number of look-ups.
class NewcomerStatsFile {
public:
    NewcomerStatsFile(const std::string& fileFolder, NewcomerTable table, std::string_view raceYear);

    // The surface block followed by the surface-and-distance block (18 bytes)
    // of the first line whose key, trimmed, equals key trimmed; "" when the
    // file is missing or holds no such line. The surface is 芝 (turf) or any
    // other (dirt); the distance is bytes 3 to 6 of the course key.
    std::string blocks(std::string_view key, std::string_view courseKey) const;

private:
    NewcomerTable table_;
    std::string data_;
};

// The readers of the race prediction: each opens and scans the file.
std::string jockeyStatistics(const std::string& fileFolder, std::string_view raceYear, std::string_view kisyuCode,
                             std::string_view courseKey);
std::string sireStatistics(const std::string& fileFolder, std::string_view raceYear, std::string_view sireName,
                           std::string_view courseKey);
std::string damSireStatistics(const std::string& fileFolder, std::string_view raceYear, std::string_view damSireName,
                              std::string_view courseKey);

// The progress of making a year, owned by the caller: the maker publishes the
// file count, the index of the file in hand (files done before it) and its
// path; the caller's cancel button sets the request, tested before each file
// and each line.
struct NewcomerProgress {
    int fileCount = 0;
    int fileIndex = 0;
    std::string currentFile;
    bool cancelRequested = false;
};

// What making a year did: whether the files were written (not when cancelled)
// and the keys of each table.
struct NewcomerYear {
    bool written = false;
    std::size_t jockeys = 0, sires = 0, damSires = 0;
};

// Counts the runs of the central newcomer races of year Y (final results,
// turf or dirt, arrival order 1 to 95 or 99) in the store's SE files of that
// year and writes the three files whole, replacing earlier ones. pump runs
// before each file and each line. Raises IoError when an SE file cannot be
// read or a statistics file cannot be written.
NewcomerYear makeNewcomerStatistics(const StorePaths& paths, const std::string& fileFolder, int year,
                                    NewcomerProgress& progress, const MessagePump& pump);

}  // namespace tarvo
