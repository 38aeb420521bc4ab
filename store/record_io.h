// The two ways the store touches a record file: the replace-or-append writer
// and the line-by-line reader.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarvo {

// A byte range of a stored line (0-based position, width) that is part of its record key.
struct KeyRange {
    std::size_t pos = 0;
    std::size_t len = 0;
    bool operator==(const KeyRange&) const = default;
};

// Makes the line to write from the stored record it replaces (CR LF included),
// or from an empty text when the file holds none with the same key.
using RecordMaker = std::function<std::string(std::string_view stored)>;

// The record files one batch of writes touches (a registration run, a
// conversion), each kept open with the offsets of its keys so that a write
// costs no scan of the file. Every write goes straight to the file, so readers
// see it at once. A file changed in length by anyone else is indexed again on
// its next write; a file removed or replaced while the set has it open is not
// noticed. The files are closed when the set is destroyed.
//
// The write rule: a stored line (CR LF included) goes over the first record
// whose key ranges equal the line's, or at the end. Missing folders and the
// file are created. Before the first write into a file its block structure is
// checked: when a whole block of the record length does not end in CR LF the
// file is damaged and nothing is written into it (IoError naming the file); a
// file whose length is not a whole number of records (a write cut short) loses
// its incomplete tail, so that every record stays on its block boundary. An
// empty path (a key unfit for a file name) and every failure to create, open,
// read or write raise IoError.
class RecordFileSet {
public:
    // At most maxOpen files are kept open; the least recently written is closed first.
    explicit RecordFileSet(std::size_t maxOpen = 64);
    ~RecordFileSet();
    RecordFileSet(const RecordFileSet&) = delete;
    RecordFileSet& operator=(const RecordFileSet&) = delete;
    RecordFileSet(RecordFileSet&&) noexcept;
    RecordFileSet& operator=(RecordFileSet&&) noexcept;

    void write(const std::string& path, std::string_view line, const std::vector<KeyRange>& key);
    // write() for writers that carry fields over from the stored record:
    // make() builds the line from the record with keyLine's key (or from ""),
    // and the line goes over it or at the end. The line has keyLine's length and key.
    void update(const std::string& path, std::string_view keyLine, const std::vector<KeyRange>& key,
                const RecordMaker& make);

private:
    // A set for one write: the index keeps only the key written.
    struct OneWrite {};
    explicit RecordFileSet(OneWrite) : RecordFileSet(1) { oneWrite_ = true; }
    friend void writeRecord(const std::string&, std::string_view, const std::vector<KeyRange>&);
    friend void updateRecord(const std::string&, std::string_view, const std::vector<KeyRange>&, const RecordMaker&);

    struct OpenFile;
    OpenFile& open(const std::string& path, std::size_t length, const std::vector<KeyRange>& key,
                   const std::string& wanted);
    std::size_t maxOpen_;
    bool oneWrite_ = false;
    std::list<std::unique_ptr<OpenFile>> files_;  // most recently written first
    std::unordered_map<std::string, std::list<std::unique_ptr<OpenFile>>::iterator> byPath_;
};

// One write by the rule of RecordFileSet, the file opened and indexed for it alone.
void writeRecord(const std::string& path, std::string_view line, const std::vector<KeyRange>& key);
void updateRecord(const std::string& path, std::string_view keyLine, const std::vector<KeyRange>& key,
                  const RecordMaker& make);

// Calls fn for each line of the file (without its line end) until fn returns
// false. A missing file or an empty path reads as no lines. Failures other
// than a missing file raise IoError.
void forEachLine(const std::string& path, const std::function<bool(std::string_view)>& fn);

// The same over text already in memory.
void forEachLineOf(std::string_view data, const std::function<bool(std::string_view)>& fn);

// The whole-line reader as a list (for callers that sort or filter lines).
std::vector<std::string> readLines(const std::string& path);

}  // namespace tarvo
