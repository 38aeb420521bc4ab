#include "local_raceedit.h"

#include "code_tables.h"
#include "fsys.h"
#include "layouts.h"
#include "textfn.h"

namespace tarvo {
namespace {

constexpr std::string_view kPositionFields[] = {"Jyuni2c", "Jyuni3c", "Jyuni4c"};

// A field's text as a number, -1 when it is not one.
int numberOr(std::string_view text, int otherwise) {
    long long v = 0;
    return parseInt(trimBoth(text), v) ? static_cast<int>(v) : otherwise;
}

}  // namespace

RaceDataEdit raceDataEdit(std::string_view seconds, std::string_view tenths,
                          const std::array<std::string, 3>& positions) {
    const std::string secondsText = trimBoth(seconds), tenthsText = trimBoth(tenths);
    const int s = numberOr(secondsText, 0), t = numberOr(tenthsText, -1);
    RaceDataEdit e;
    e.l3fShown = s > 29 ? secondsText + "." + (t < 0 ? "-" : tenthsText) : "--.-";
    e.l3fStored = (s > 29 ? secondsText : "00") + (s > 29 && t >= 0 ? tenthsText : "0");
    for (const std::string& field : positions) {
        const int v = numberOr(field, -1);
        const std::string two = v < 0 ? "00" : twoDigits(v);
        e.positionsStored += two;
        e.positionsShown += two == "00" ? "**" : two;
    }
    return e;
}

RaceDataFields raceDataFields(std::string_view seLine) {
    const std::string_view l3f = getField(Family::SE, seLine, "HaronTimeL3");
    RaceDataFields f{std::string(part(l3f, 0, 2)), std::string(part(l3f, 2, 1)), {}};
    for (std::size_t c = 0; c < 3; ++c) f.positions[c] = std::string(getField(Family::SE, seLine, kPositionFields[c]));
    return f;
}

RaceDataWrite writeRaceData(const StorePaths& p, std::string_view date, std::string_view trackName,
                            std::string_view raceNum, std::string_view kettoNum, std::string_view jockey,
                            const RaceDataEdit& edit) {
    const std::string year(part(date, 0, 4)), monthDay(part(date, 4, 4));
    const std::string jyoCD = trackCode(trimBoth(trackName));
    const std::string path = p.se(year, monthDay, jyoCD);
    std::string data;
    if (path.empty() || !readFile(path, data)) return RaceDataWrite::NoFile;
    const Layout& se = layoutOf(Family::SE);
    const std::string key = year + monthDay + jyoCD + std::string(raceNum) + std::string(kettoNum);
    for (std::size_t at = 0; at + se.lineLength <= data.size(); at += se.lineLength) {
        const std::string_view line = std::string_view(data).substr(at, se.lineLength);
        const auto f = [&](std::string_view n) { return std::string(getField(Family::SE, line, n)); };
        if (f("Year") + f("MonthDay") + f("JyoCD") + f("RaceNum") + f("KettoNum") != key) continue;
        const auto put = [&](std::string_view name, std::string_view value) {
            const Field& field = *se.find(name);
            data.replace(at + field.pos - 1, field.len, padRight(value, field.len).substr(0, field.len));
        };
        put("KisyuRyakusyo", trimBoth(jockey));
        for (std::size_t c = 0; c < 3; ++c) put(kPositionFields[c], part(edit.positionsStored, 2 * c, 2));
        put("HaronTimeL3", edit.l3fStored);
        writeFileAtomic(path, data);
        return RaceDataWrite::Written;
    }
    return RaceDataWrite::NoRun;
}

}  // namespace tarvo
