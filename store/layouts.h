// The stored line layouts of every record family: field name, 1-based
// position and width, derived once from compact tables in layouts.cpp.
// Field access by name, the line builder the record writers use, and the
// record keys the replace-or-append writer compares all derive from them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "record_io.h"

namespace tarvo {

// The record families of the store: the JV-Data families, the UM index, the
// old store format kept for the conversion, and the track data (BB) the
// store computes itself.
enum class Family { RA, SE, HR, O2, O3, O4, O5, O6, CK, UM, UMIDX, KS, CH, BR, BN, HN, SK, UMOld, BROld, HNOld, SKOld, BB };

// Every family, in the order of the enumeration.
const std::vector<Family>& allFamilies();

struct Field {
    std::string name;
    std::size_t pos;  // 1-based
    std::size_t len;
};

struct Layout {
    std::string_view id;     // "RA", "SE", ..., "UMIDX", "UMOld", ...
    std::size_t lineLength;  // stored line, CR LF included
    std::vector<Field> fields;  // in position order

    // The field of that exact (case-sensitive) name, or nullptr.
    const Field* find(std::string_view name) const;

    // Hashes std::string and std::string_view alike so that find() needs no copy.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> index;  // name -> fields[i]
};

const Layout& layoutOf(Family f);

// The family whose layout id is id ("RA", "UMIDX", "SKOld", ...).
std::optional<Family> familyById(std::string_view id);

// The family in the old store format that f's records take in the conversion
// (UMOld for UM, ...); f itself when it has none.
Family oldFormatOf(Family f);

// True when the records of f are keyed by their race (RA, SE, HR, CK, O2 to O6, BB).
bool keyedByRace(Family f);

// The part of line that holds field f: untrimmed, shorter or empty when the line is short.
std::string_view fieldText(std::string_view line, const Field& f);

// Untrimmed text of the field; "" for an unknown name; the part that a short line holds.
std::string_view getField(Family f, std::string_view line, std::string_view name);

// The record key of a family as byte ranges for writeRecord: the race identity
// (plus KettoNum for SE and CK) or the master code.
const std::vector<KeyRange>& recordKey(Family f);

// Builds a stored line of one family from field values. A new line is all
// half-width spaces followed by CR LF.
class LineBuilder {
public:
    explicit LineBuilder(Family f);
    // Starts from a stored line (with or without CR LF); a short line is padded with spaces.
    LineBuilder(Family f, std::string_view line);

    // The fixed-width field rule: the value trimmed of half-width and full-width
    // spaces at both ends, padded on the right with spaces. A value longer than
    // the field is cut at the last whole character that fits. False (and the
    // line unchanged) for a name that is not in the layout.
    bool set(std::string_view name, std::string_view value);
    // The value exactly as given (no trimming), cut or padded to the field's width.
    bool setRaw(std::string_view name, std::string_view value);

    std::string_view get(std::string_view name) const;
    // The stored line, CR LF included.
    const std::string& line() const { return line_; }

private:
    bool put(std::string_view name, std::string_view value);
    Family family_;
    std::string line_;
};

// The odds records O2 to O6: a head, the sale flag, a fixed number of elements
// (one per combination) and the total votes.
struct OddsMember {
    std::string_view name;  // "Kumi", "Odds", "OddsLow", "OddsHigh", "Ninki"
    std::size_t len;
};
struct OddsInfo {
    Family family;
    std::string_view flagName;     // sale flag field
    std::string_view elementName;  // elements are the fields elementName + "1" ... + count
    std::string_view totalName;    // total votes field
    std::size_t count;             // number of elements
    std::vector<OddsMember> members;  // layout of one element; "Kumi" first
    std::size_t elementLength() const;
    std::size_t kumiLength() const { return members.front().len; }
};

// The odds description of O2 to O6; nullptr for any other family.
const OddsInfo* oddsInfo(Family f);

// The first element whose combination (its first 4 or 6 characters, trimmed of
// spaces) equals kumi, whole as stored; "" when none matches or kumi is not of
// the combination's width.
std::string_view oddsElement(Family f, std::string_view line, std::string_view kumi);

// Odds field access: for the element name the element of that combination,
// for every other field its text (kumi ignored).
std::string_view oddsField(Family f, std::string_view line, std::string_view name, std::string_view kumi);

// One member ("Odds", "Ninki", ...) of an element returned by oddsElement; "" when unknown.
std::string_view oddsElementPart(Family f, std::string_view element, std::string_view member);

}  // namespace tarvo
