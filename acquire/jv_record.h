// A received JV-Data record copied into the structure of its kind: exactly
// the record's bytes, checked against the kind's layout before anything reads
// a field. A record that does not fit (wrong length, cut short, no CR LF at its
// end, control bytes inside, key fields that cannot name a file) is refused.
#pragma once

#include <string>
#include <string_view>

#include "JVData_Structure.h"

namespace tarvo {

class JVRecord {
public:
    JVRecord() = default;

    // The kind's layout; nullptr while nothing was copied.
    const RawLayout* layout() const { return layout_; }
    // Two-letter record id.
    std::string_view id() const { return std::string_view(bytes_).substr(0, 2); }
    // The record, CR LF included.
    const std::string& bytes() const { return bytes_; }
    // A field's bytes, untrimmed; "" for a path the layout does not have.
    std::string_view get(std::string_view path) const { return layout_ ? layout_->get(bytes_, path) : std::string_view(); }

    // Copies exactly length bytes of received into this structure. The layout is
    // chosen by the record id and, for kinds with an old layout, by the length.
    // False (and this record left empty) when the kind is unknown, length is not
    // the kind's length, received holds fewer bytes, or the content does not fit
    // the kind; nothing past received's end is ever read.
    bool copyFrom(std::string_view received, long length);

private:
    const RawLayout* layout_ = nullptr;
    std::string bytes_;
};

}  // namespace tarvo
