// The two ways the store touches a record file: the replace-or-append writer
// and the line-by-line reader.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// A byte range of a stored line (0-based position, width) that is part of its record key.
struct KeyRange {
    std::size_t pos = 0;
    std::size_t len = 0;
};

// Writes one stored line (CR LF included) into the file at path: over the first
// record whose key ranges equal the line's, or at the end. Missing folders and
// the file are created. A file whose length is not a whole number of records
// (a write cut short) loses its incomplete tail first, so that every record
// stays on its block boundary. An empty path (a key unfit for a file name) and
// every failure to create, open or write raise IoError; nothing is written then.
void writeRecord(const std::string& path, std::string_view line, const std::vector<KeyRange>& key);

// Makes the line to write from the stored record it replaces (CR LF included),
// or from an empty text when the file holds none with the same key.
using RecordMaker = std::function<std::string(std::string_view stored)>;

// writeRecord for writers that carry fields over from the stored record: one
// scan finds the record whose key ranges equal keyLine's, make() builds the
// line from it, and the line goes over it or at the end. The line has keyLine's
// length and key.
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
