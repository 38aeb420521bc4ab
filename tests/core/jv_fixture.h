// Hand-made JV-Data records and small source folders of the data-service
// emulator, for the storing and registration tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "JVData_Structure.h"
#include "store_paths.h"

namespace tarvo::test {

// A raw record of one kind, every field blank until set.
struct Raw {
    explicit Raw(const char* id, RawVersion v = RawVersion::Current) : layout(*rawLayout(id, v)), rec(layout.blank()) {}
    Raw& set(const char* path, std::string_view cp932) {
        layout.put(rec, path, cp932);
        return *this;
    }
    // Bytes at a 1-based position of the received record.
    Raw& at(std::size_t pos, std::string_view text) {
        rec.replace(pos - 1, text.size(), text);
        return *this;
    }
    const RawLayout& layout;
    std::string rec;
};

// A race-keyed record (RA, SE, HR, O1 to O6, CK) of race raceNum on 2024 + monthDay at track jyo.
Raw race(const char* id, const char* jyo = "05", const char* kubun = "7", const char* monthDay = "0106",
         const char* raceNum = "11");

// A race on 芝1600 (TrackCD 17) for three-year-old maidens.
Raw raRecord(const char* jyo, const char* trackCD, const char* kyori, const char* kubun = "7",
             const char* monthDay = "0106", const char* raceNum = "11");

// Horse number 03 of race 11 on 2024-01-06.
Raw seRecord(const char* jyo, const char* kubun, const char* ketto = "2019104567");

// Stores a raw RA or SE record through the record writers.
void storeRaceRecord(const StorePaths& paths, const Raw& raw);

// Writes the real-time file SPEC/KEY.jvd of a source folder (with a trailing separator).
void addRealTime(const std::string& sourceRoot, const std::string& spec, const std::string& key,
                 const std::vector<Raw>& records);

// A source folder of the emulator: data spec folders with files of records.
class SourceFolder {
public:
    explicit SourceFolder(std::string root) : root_(std::move(root)) {}
    const std::string& root() const { return root_; }
    // Writes SPEC/TIMESTAMP-LABEL.jvd holding the records back to back; returns the file name.
    std::string addFile(const std::string& spec, const std::string& timestamp, const std::string& label,
                        const std::vector<std::string>& records) const;

private:
    std::string root_;
};

// A small world of race days in a source folder: each day two confirmed central
// races at track 05 and one local race at 44 with four runners each, their
// payouts and aptitude records (RACE, SNPN), the horses and jockeys of the day
// (DIFN) and breeding records (BLDN). Every day gives one file per kind and
// data spec, stamped on the evening of the day.
void addRaceDay(const SourceFolder& src, const std::string& monthDay);

// The race keys (Year MonthDay JyoCD RaceNum) of the confirmed central races of a day.
std::vector<std::string> centralRaceKeys(const std::string& monthDay);

}  // namespace tarvo::test
