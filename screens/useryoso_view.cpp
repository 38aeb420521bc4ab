#include "useryoso_view.h"

#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "record_io.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo {
namespace {

constexpr std::size_t kUserMarkColumn = 16;
constexpr std::size_t kUniqueMarks = 3;  // ◎ ○ ▲

}  // namespace

const std::array<std::string, kUserMarkButtons>& userMarkTexts() {
    static const std::array<std::string, kUserMarkButtons> marks = {sj("◎"), sj("○"), sj("▲"), sj("△"),
                                                                    sj("×"), sj("☆"), sj("注"), ""};
    return marks;
}

UserMarkChoice userMarkChoice(const std::vector<ViewRow>& rows, std::size_t row) {
    const auto& marks = userMarkTexts();
    UserMarkChoice c;
    c.enabled.fill(true);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r == row) continue;
        const std::string m = trimBoth(rows[r][kUserMarkColumn].text);
        for (std::size_t b = 0; b < kUniqueMarks; ++b)
            if (m == marks[b]) c.enabled[b] = false;
    }
    if (row < rows.size()) {
        const std::string& current = rows[row][kUserMarkColumn].text;
        for (std::size_t b = 0; b + 1 < kUserMarkButtons; ++b)
            if (current == marks[b]) c.selected = b;
    }
    return c;
}

bool storeUserMark(const StorePaths& p, const RaceKey& race, std::string_view umaban, std::string_view bamei,
                   std::string_view mark) {
    if (toIntDef(race.raceNum, 0) <= 0) return false;
    const std::string path = p.file(Family::SE, race);
    std::string data;
    if (!readFile(path, data)) return false;
    const std::size_t lineLength = layoutOf(Family::SE).lineLength;
    const Field& field = *layoutOf(Family::SE).find("UserYoso");
    const std::string name = trimBoth(bamei);
    for (std::size_t at = 0; at + field.pos - 1 + field.len <= data.size(); at += lineLength) {
        const std::string_view line = std::string_view(data).substr(at, lineLength);
        const auto f = [&](std::string_view n) { return getField(Family::SE, line, n); };
        if (f("Year") != race.year || f("MonthDay") != race.monthDay || f("JyoCD") != race.jyoCD ||
            f("RaceNum") != race.raceNum || f("Umaban") != umaban || trimBoth(f("Bamei")) != name)
            continue;
        data.replace(at + field.pos - 1, field.len, padRight(mark, field.len).substr(0, field.len));
        writeFileAtomic(path, data);
        return true;
    }
    return false;
}

std::string cardCsv(const RaceCard& card) {
    const RunnerTable& t = runnerTable(kMainWindowCaller);
    std::string out = sj("馬番,馬名,斤量,５走前,４走前,３走前,２走前,前走,PC,US,位置,S3F,総合") + "\r\n";
    const std::string ban = sj("番");
    for (std::size_t r = 0; r < card.rows.size() && r < t.size(); ++r) {
        const ViewRow& row = card.rows[r];
        std::vector<std::string> fields = {trimBoth(row[1].text) + ban, trimBoth(row[2].text), trimBoth(row[4].text)};
        for (std::size_t k = 0; k < kPastRuns; ++k) fields.push_back(trimBoth(t.pastSummaries[k][r]));
        for (std::size_t slot : {kSlotPcMark, kSlotUserMark, std::size_t{6}, std::size_t{7}, std::size_t{8}})
            fields.push_back(trimBoth(t.marks[slot][r]));
        for (std::size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + fields[i];
        out += "\r\n";
    }
    return out;
}

}  // namespace tarvo
