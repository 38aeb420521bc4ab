#include "race_key.h"

namespace tarvo {
namespace {

bool allOf(std::string_view s, bool letters) {
    for (char c : s) {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!digit && !(letters && letter)) return false;
    }
    return true;
}

}  // namespace

RaceKey RaceKey::of(Family f, std::string_view line) {
    return {getField(f, line, "Year"), getField(f, line, "MonthDay"), getField(f, line, "JyoCD"),
            getField(f, line, "RaceNum")};
}

std::optional<RaceKey> RaceKey::parse(std::string_view text) {
    if (text.size() != 12) return std::nullopt;
    RaceKey k(text.substr(0, 4), text.substr(4, 4), text.substr(8, 2), text.substr(10, 2));
    if (!allOf(k.year, false) || !allOf(k.monthDay, false) || !allOf(k.jyoCD, true) || !allOf(k.raceNum, true))
        return std::nullopt;
    return k;
}

}  // namespace tarvo
