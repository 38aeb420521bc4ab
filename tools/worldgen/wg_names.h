// Invented names for the sample world: horses, people, owners, breeders,
// silks and special races. Every text is CP932; kana forms are half-width.
#pragma once

#include <string>

#include "wg_base.h"

namespace tarvo::worldgen {

struct NameSet {
    std::string name;      // full name, or the horse name in katakana
    std::string nameCo;    // with the corporate form (owners and breeders)
    std::string kana;      // half-width katakana
    std::string eng;       // Latin letters
    std::string ryakusyo;  // short name of at most 8 bytes (people)
};

// A horse name of 2 to 9 katakana; the caller keeps names unique.
NameSet horseName(Rng& rng);
// A person: surname and given name, separated by a full-width space.
NameSet personName(Rng& rng);
NameSet ownerName(Rng& rng);
NameSet breederName(Rng& rng);
// A municipality of a breeding region, and a country for imported horses.
std::string breedingPlace(Rng& rng);
std::string foreignCountry(Rng& rng);
// A silks description such as "青，白襷，袖黄縦縞".
std::string silksDescription(Rng& rng);
// A word for the name of a special race ("若潮").
std::string raceWord(Rng& rng);
// A family name, the first word of the names of local special races.
std::string placeWord(Rng& rng);

// The short form of a race name (CP932) in at most bytes bytes, as the
// service abbreviates: the name itself when it fits, else with its long words
// abbreviated ("ステークス" "Ｓ", "カップ" "Ｃ", "チャンピオンシップ" "ＣＳ"),
// a bracketed part dropped, and at last its stem shortened before a kept
// ending ("Ｓ", "記念", "賞") or, when too little of the stem would be left,
// the stem alone.
std::string raceShortName(const std::string& name, std::size_t bytes);

}  // namespace tarvo::worldgen
