// The UM index: one line per horse in the ".idx" file of its UM group, holding
// its sex, name and run list (10-character entries, race date and track code,
// newest first, one entry per date).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "record_io.h"
#include "store_paths.h"

namespace tarvo {

inline constexpr std::size_t kRunEntryLength = 10;
// The run list field holds 150 entries; a horse with more keeps its newest 150.
inline constexpr std::size_t kRunListCapacity = 150;

struct RunEntry {
    std::string date;   // yyyymmdd
    std::string jyoCD;  // track code
};

// The entries of a run list as runList() returns it (a short last entry is kept as it stands).
std::vector<RunEntry> runEntries(std::string_view runList);

// Adds the run of a stored runner record to its horse's index line: inserted
// before the first entry with an earlier date, at the end when none is earlier,
// not at all when an entry of that date exists; the sex and name are refreshed
// in every case. Beyond the field's capacity the oldest entries are dropped, so
// the line keeps its length. The index file and its folder are created when
// missing. Nothing is written and false is returned when the inputs cannot make
// a sound entry: kettoNum not ten characters, raceDate not eight digits, jyoCD
// not two characters. Input/output failures raise IoError.
bool updateRunList(const StorePaths& p, std::string_view kettoNum, std::string_view bamei, std::string_view jyoCD,
                   std::string_view raceDate, std::string_view sexCD);
// The same, written through the record files of a batch.
bool updateRunList(RecordFileSet& files, const StorePaths& p, std::string_view kettoNum, std::string_view bamei,
                   std::string_view jyoCD, std::string_view raceDate, std::string_view sexCD);

}  // namespace tarvo
