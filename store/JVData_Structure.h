// The raw JV-Data records as the data service delivers them: for each record
// kind the system handles, in its current layout and, where the breeding
// number extension changed it, its old layout, the record length (CR LF
// included) and its fields in byte order. Field paths are the published
// member names joined by dots, repeats indexed from 1 in brackets
// ("id.JyoCD", "PayTansyo[2].Pay", "Ketto3Info[14].HansyokuNum").
//
// The tables come from tools/gen_jvdata_layouts.py (store/jvdata_layouts.inc)
// and are parsed once, on first use. Records are CP932 bytes; positions and
// widths count bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarvo {

enum class RawVersion { Current, Old };

struct RawField {
    std::string path;
    std::size_t pos = 0;  // 1-based, as the published tables count
    std::size_t len = 0;
};

class RawLayout {
public:
    RawLayout(std::string id, RawVersion version, std::size_t length, std::vector<RawField> fields);
    RawLayout(const RawLayout&) = delete;
    RawLayout& operator=(const RawLayout&) = delete;

    // Two-letter record id ("RA").
    const std::string& id() const { return id_; }
    RawVersion version() const { return version_; }
    // Record length in bytes, CR LF included.
    std::size_t length() const { return length_; }
    const std::vector<RawField>& fields() const { return fields_; }

    // The field of that path, or nullptr.
    const RawField* find(std::string_view path) const;

    // The field's bytes, untrimmed; empty for an unknown path; the part of the
    // field that a short record holds.
    std::string_view get(std::string_view record, std::string_view path) const;

    // A record of this kind with every field blank: the record id, spaces, CR LF.
    std::string blank() const;

    // Writes text into the field of a record of length() bytes: left-aligned,
    // padded with spaces, cut at a character boundary when too long. An unknown
    // path or a record of the wrong size is a programming error and throws
    // std::invalid_argument.
    void put(std::string& record, std::string_view path, std::string_view text) const;
    // Writes a number right-aligned with leading zeros ("0012"); a value that
    // does not fit the width writes the largest one that does (all nines), a
    // negative value writes 0.
    void putNum(std::string& record, std::string_view path, long long value) const;
    // The same for a field of this layout found before (no look-up by path).
    void put(std::string& record, const RawField& f, std::string_view text) const;
    void putNum(std::string& record, const RawField& f, long long value) const;

    // The field of that path; an unknown path throws std::invalid_argument.
    const RawField& field(std::string_view path) const;

private:

    std::string id_;
    RawVersion version_;
    std::size_t length_;
    std::vector<RawField> fields_;
    std::unordered_map<std::string_view, std::size_t> index_;  // path -> fields_ slot
};

// The layout of a record kind; nullptr for a kind the system does not handle
// (or that has no old layout, asked for the old one).
const RawLayout* rawLayout(std::string_view recordId, RawVersion version = RawVersion::Current);

// The layout of a received record: by its first two bytes, the old layout when
// the kind has one and the record has the old length.
const RawLayout* rawLayoutOf(std::string_view record);

// Every layout, in the order of the tables.
const std::vector<const RawLayout*>& rawLayouts();

}  // namespace tarvo
