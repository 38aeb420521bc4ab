#include "um_index.h"

#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "textfn.h"

namespace tarvo {
namespace {

bool isDigits(std::string_view s, std::size_t n) {
    if (s.size() != n) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The run list with the new entry in its place (see updateRunList), at most kRunListCapacity entries.
std::string withRun(std::string list, std::string_view raceDate, std::string_view jyoCD) {
    const int date = toIntDef(raceDate, -1);
    std::size_t at = 0;
    for (; at < list.size(); at += kRunEntryLength) {
        const int listed = toIntDef(std::string_view(list).substr(at, 8), -1);
        if (listed == date) return list;
        if (listed < date) break;
    }
    if (at > list.size()) at = list.size();
    list.insert(at, std::string(raceDate) + std::string(jyoCD));
    if (list.size() > kRunListCapacity * kRunEntryLength) list.resize(kRunListCapacity * kRunEntryLength);
    return list;
}

}  // namespace

std::vector<RunEntry> runEntries(std::string_view runList) {
    std::vector<RunEntry> out;
    for (std::size_t at = 0; at < runList.size(); at += kRunEntryLength) {
        const std::string_view e = runList.substr(at, kRunEntryLength);
        out.push_back({std::string(e.substr(0, 8)), std::string(e.size() > 8 ? e.substr(8) : std::string_view())});
    }
    return out;
}

bool updateRunList(const StorePaths& p, std::string_view kettoNum, std::string_view bamei, std::string_view jyoCD,
                   std::string_view raceDate, std::string_view sexCD) {
    RecordFileSet files(1);
    return updateRunList(files, p, kettoNum, bamei, jyoCD, raceDate, sexCD);
}

bool updateRunList(RecordFileSet& files, const StorePaths& p, std::string_view kettoNum, std::string_view bamei,
                   std::string_view jyoCD, std::string_view raceDate, std::string_view sexCD) {
    if (kettoNum.size() != 10 || !isDigits(raceDate, 8) || jyoCD.size() != 2) return false;
    const std::string path = p.um(kettoNum, "idx");
    if (path.empty()) return false;
    LineBuilder b(Family::UMIDX);
    b.assignRaw("KettoNum", kettoNum);
    b.assign("SexCD", sexCD);
    b.assign("Bamei", bamei);
    const std::string keyLine = b.line();
    files.update(path, keyLine, recordKey(Family::UMIDX), [&](std::string_view stored) {
        b.assignRaw("RunList", withRun(trimBoth(getField(Family::UMIDX, stored, "RunList")), raceDate, jyoCD));
        return b.line();
    });
    return true;
}

}  // namespace tarvo
