// Storing received records: each JV-Data record, once copied into its
// structure, is turned into the stored line of its family field by field (the
// stored layout's fields filled from the raw fields of the same names, each
// trimmed of blanks and padded to its width) and written with the
// replace-or-append rule. The dispatch recognises a record by its id, filters
// it by date and state, and says what the caller should do with the rest of
// the file.
//
// The writers keep no state of any screen; a RecordWriters object lives for one
// batch of records (a registration run, a conversion, a same-day update) and
// remembers only the course of races it has looked up, forgetting a race when
// its RA record is written.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "jv_record.h"
#include "layouts.h"
#include "store_paths.h"

namespace tarvo {

// Which writers the dispatch uses: a registration run drops records in state
// "B" and stores the masters in the current format; the conversion keeps "B"
// and stores UM, BR, HN and SK in the old format.
enum class DispatchMode { Registration, Conversion };

enum class StoreOutcome {
    Stored,     // written into the store
    NotStored,  // recognised and well formed, but dated before the floor or in state "B"
    Refused,    // a kind the system stores, but the record does not fit it: skipped silently
    OtherKind,  // a kind the system does not store: the caller skips the rest of the file
};

// The stored line of family built from a raw record of the matching kind
// (RA from RA, UMOld from an old-layout UM, ...), before any writer rule. The
// fields the store adds (SE course and user mark, CK selections) stay blank.
// False when the record is of another kind or layout.
bool buildStoredLine(Family family, const JVRecord& record, LineBuilder& out);

class RecordWriters {
public:
    using ShowFn = std::function<void(const std::string& cp932)>;

    explicit RecordWriters(StorePaths paths) : paths_(std::move(paths)) {}

    const StorePaths& paths() const { return paths_; }

    // Called with the identity of every recognised record (the registration
    // screen's stxtExec).
    void setShow(ShowFn show) { show_ = std::move(show); }

    // The dispatch: copies length bytes of received into the record's structure,
    // shows its identity and stores it when its date is on or after dateFloor
    // (yyyymmdd). Input/output failures raise IoError.
    StoreOutcome store(std::string_view received, long length, int dateFloor,
                       DispatchMode mode = DispatchMode::Registration);
    // The record the last store() copied (empty after a refusal or another kind).
    const JVRecord& lastRecord() const { return record_; }

    // The family writers. Each returns false, writing nothing, when the record is
    // not of its kind and layout; input/output failures raise IoError.
    bool writeRA(const JVRecord& r);
    bool writeSE(const JVRecord& r);
    bool writeHR(const JVRecord& r);
    // O2 to O6, by the record's id.
    bool writeOdds(const JVRecord& r);
    bool writeUM(const JVRecord& r);
    bool writeKS(const JVRecord& r);
    bool writeCH(const JVRecord& r);
    bool writeBR(const JVRecord& r);
    bool writeBN(const JVRecord& r);
    bool writeHN(const JVRecord& r);
    bool writeSK(const JVRecord& r);
    bool writeCK(const JVRecord& r);
    // The old store format, from records in the old layouts (the conversion).
    bool writeUMOld(const JVRecord& r);
    bool writeBROld(const JVRecord& r);
    bool writeHNOld(const JVRecord& r);
    bool writeSKOld(const JVRecord& r);

    // The family writer for f (RA ... SK, O2 to O6, CK and the old formats).
    bool write(Family f, const JVRecord& r);

private:
    struct Course {
        std::string trackCD, kyori;  // blank when the race is not stored
    };
    const Course& course(const RaceKey& race);
    bool writeWhole(Family f, const JVRecord& r);

    StorePaths paths_;
    ShowFn show_;
    JVRecord record_;
    std::unordered_map<std::string, Course> courses_;  // RaceKey::text() -> course of its RA line
};

// The file of a stored line of family f, from the key fields of the line.
std::string storedPath(const StorePaths& paths, Family f, std::string_view line);

}  // namespace tarvo
