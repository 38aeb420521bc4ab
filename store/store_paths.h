// Where every record file of the store lies. The families of files are
// declared once in store_paths.cpp, each by a path pattern over its key fields;
// every builder here derives from that table and returns the full path below
// the store root (names formed by plain concatenation of the key as it stands)
// without checking that the file exists. A key text that could lead
// a path out of the store (a separator, "..", a control character) yields the
// empty path, which readers treat as a missing file and writers refuse.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "layouts.h"
#include "race_key.h"

namespace tarvo {

// The value of a key field by its name ("Year", "KettoNum", ...).
using FieldValue = std::function<std::string_view(std::string_view name)>;

// The family folders below the store root, in the order they are created.
const std::vector<std::string>& familyFolders();

// True when text may stand in a file or folder name.
bool isSafeKeyText(std::string_view text);

class StorePaths {
public:
    explicit StorePaths(std::string root) : root_(std::move(root)) {}
    const std::string& root() const { return root_; }

    // The file of family familyId ("RA", "UMIDX", "BB", "FK", ...) that the key
    // values select; "" for an unknown family or a key unfit for a file name.
    std::string file(std::string_view familyId, const FieldValue& value) const;
    // The file of a stored line of family f, from the line's key fields.
    std::string file(Family f, std::string_view line) const;
    // The file of family f that holds the records of a race.
    std::string file(Family f, const RaceKey& race) const;

    std::string ra(std::string_view year, std::string_view monthDay, std::string_view jyoCD) const;
    std::string se(std::string_view year, std::string_view monthDay, std::string_view jyoCD) const;
    std::string ck(std::string_view year, std::string_view monthDay, std::string_view jyoCD) const;
    std::string hr(std::string_view year, std::string_view monthDay) const;
    std::string o2(std::string_view year, std::string_view monthDay) const;
    std::string o3(std::string_view year, std::string_view monthDay) const;
    std::string o4(std::string_view year, std::string_view monthDay) const;
    std::string o5(std::string_view year, std::string_view monthDay) const;
    std::string o6(std::string_view year, std::string_view monthDay, std::string_view jyoCD) const;
    std::string bb(std::string_view year, std::string_view monthDay) const;
    // ext is "datn" (horse record) or "idx" (run index); anything else gives "".
    std::string um(std::string_view kettoNum, std::string_view ext) const;
    std::string sk(std::string_view kettoNum) const;
    std::string ks(std::string_view kisyuCode) const;
    std::string ch(std::string_view chokyosiCode) const;
    std::string br(std::string_view breederCode) const;
    std::string bn(std::string_view banusiCode) const;
    std::string hn(std::string_view hansyokuNum) const;
    std::string fk(std::string_view banusiCode) const;

    // Old store format, kept for the conversion: ext "dat" or "idx" for UM.
    std::string umOld(std::string_view kettoNum, std::string_view ext) const;
    std::string brOld(std::string_view breederCode) const;
    std::string hnOld(std::string_view hansyokuNum) const;
    std::string skOld(std::string_view kettoNum) const;

private:
    std::string dayFile(std::string_view familyId, std::string_view year, std::string_view monthDay,
                        std::string_view jyoCD) const;
    std::string codeFile(std::string_view familyId, std::string_view code) const;
    std::string root_;
};

// Central tracks are codes 1 to 10 read as a number; anything else (a
// non-numeric code counts as 0) is a local or other track.
bool isCentralTrack(std::string_view jyoCD);

// Files below folder whose names match mask ("*" and "?"; empty = "*.*"),
// depth first when recursive. Entries are taken in name order.
std::vector<std::string> walkDirectory(const std::string& folder, const std::string& mask, bool recursive);

// True when name matches a "*"/"?" mask, letter case ignored; "*.*" matches every name.
bool matchesMask(std::string_view name, std::string_view mask);

// Removes every track data file of the store (the BB family).
void deleteAllTrackData(const StorePaths& paths);

// Creates the store root and the family folders that are missing.
void createFamilyFolders(const StorePaths& paths);

}  // namespace tarvo
