#include "store_paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>

#include "cp932.h"
#include "fsys.h"
#include "textfn.h"

namespace tarvo {
namespace {

int trackNumber(std::string_view jyoCD) {
    long long v = 0;
    return parseInt(jyoCD, v) && v >= 0 && v < 1000 ? static_cast<int>(v) : 0;
}

// Track part of the SE and CK file names: the code as two digits for a central
// track, "0A" for every other track of the day.
std::string dayTrackPart(std::string_view jyoCD) {
    const int n = trackNumber(jyoCD);
    return n < 1 || n > 10 ? "0A" : twoDigits(n);
}

std::string_view umGroup(std::string_view kettoNum) {
    const std::string_view d = part(kettoNum, 7, 1);
    if (d.empty()) return "A";
    switch (d[0]) {
        case '2': case '3': return "B";
        case '4': case '5': return "C";
        case '6': case '7': return "D";
        case '8': case '9': return "E";
        default: return "A";
    }
}

std::string_view quarterLetter(std::string_view monthDay) {
    const int m = toIntDef(part(monthDay, 0, 2), 0);
    if (m >= 1 && m <= 3) return "A";
    if (m >= 4 && m <= 6) return "B";
    if (m >= 7 && m <= 9) return "C";
    return "D";
}

}  // namespace

const std::vector<std::string>& familyFolders() {
    static const std::vector<std::string> folders = {"RA", "SE", "UM", "BN", "BR", "CH", "HR", "KS", "HN",
                                                     "SK", "CK", "O2", "O3", "O4", "O5", "O6", "BB", "FK"};
    return folders;
}

bool isSafeKeyText(std::string_view text) {
    if (text.find("..") != std::string_view::npos) return false;
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
    return true;
}

bool isCentralTrack(std::string_view jyoCD) {
    const int n = trackNumber(jyoCD);
    return n >= 1 && n <= 10;
}

std::string StorePaths::join(std::initializer_list<std::string_view> keys,
                             std::initializer_list<std::string_view> parts) const {
    for (std::string_view k : keys)
        if (!isSafeKeyText(k)) return {};
    std::string path = root_;
    for (std::string_view p : parts) path += p;
    return path;
}

std::string StorePaths::ra(std::string_view year, std::string_view monthDay, std::string_view jyoCD) const {
    return join({year, monthDay, jyoCD}, {"RA/", year, "/", "RA", year, part(monthDay, 0, 2), isCentralTrack(jyoCD) ? "A" : "B", ".dat"});
}

std::string StorePaths::se(std::string_view year, std::string_view monthDay, std::string_view jyoCD) const {
    return join({year, monthDay, jyoCD}, {"SE/", year, "/", part(monthDay, 0, 2), "/", "SE", year, monthDay, dayTrackPart(jyoCD), ".dat"});
}

std::string StorePaths::ck(std::string_view year, std::string_view monthDay, std::string_view jyoCD) const {
    return join({year, monthDay, jyoCD}, {"CK/", year, "/", part(monthDay, 0, 2), "/", "CK", year, monthDay, dayTrackPart(jyoCD), ".dat"});
}

#define TARVO_MONTH_FILE(fn, fam)                                                                 \
    std::string StorePaths::fn(std::string_view year, std::string_view monthDay) const {         \
        return join({year, monthDay}, {fam "/", year, "/", fam, year, part(monthDay, 0, 2), ".dat"});              \
    }
TARVO_MONTH_FILE(hr, "HR")
TARVO_MONTH_FILE(o2, "O2")
TARVO_MONTH_FILE(o3, "O3")
TARVO_MONTH_FILE(o4, "O4")
#undef TARVO_MONTH_FILE

std::string StorePaths::o5(std::string_view year, std::string_view monthDay) const {
    return join({year, monthDay}, {"O5/", year, "/", "O5", year, monthDay, ".dat"});
}

std::string StorePaths::o6(std::string_view year, std::string_view monthDay, std::string_view jyoCD) const {
    return join({year, monthDay, jyoCD}, {"O6/", year, "/", "O6", year, monthDay, jyoCD, ".dat"});
}

std::string StorePaths::bb(std::string_view year, std::string_view monthDay) const {
    return join({year, monthDay}, {"BB/", year, "/", "BB", year, quarterLetter(monthDay), ".dat"});
}

std::string StorePaths::um(std::string_view kettoNum, std::string_view ext) const {
    if (ext != "datn" && ext != "idx") return {};
    return join({kettoNum}, {"UM/", part(kettoNum, 0, 4), "/", "UM", part(kettoNum, 0, 7), umGroup(kettoNum), ".", ext});
}

std::string StorePaths::umOld(std::string_view kettoNum, std::string_view ext) const {
    if (ext != "dat" && ext != "idx") return {};
    return join({kettoNum}, {"UM/", part(kettoNum, 0, 4), "/", "UM", part(kettoNum, 0, 7), umGroup(kettoNum), ".", ext});
}

std::string StorePaths::sk(std::string_view kettoNum) const {
    return join({kettoNum}, {"SK/", part(kettoNum, 0, 4), "/", "SK", part(kettoNum, 0, 7), ".datn"});
}

std::string StorePaths::skOld(std::string_view kettoNum) const {
    return join({kettoNum}, {"SK/", part(kettoNum, 0, 4), "/", "SK", part(kettoNum, 0, 7), ".dat"});
}

std::string StorePaths::ks(std::string_view code) const { return join({code}, {"KS/", "KS", part(code, 0, 3), ".dat"}); }
std::string StorePaths::ch(std::string_view code) const { return join({code}, {"CH/", "CH", part(code, 0, 3), ".dat"}); }
std::string StorePaths::br(std::string_view code) const { return join({code}, {"BR/", "BR", part(code, 0, 2), ".datn"}); }
std::string StorePaths::brOld(std::string_view code) const { return join({code}, {"BR/", "BR", part(code, 0, 2), ".dat"}); }
std::string StorePaths::bn(std::string_view code) const { return join({code}, {"BN/", "BN", part(code, 0, 2), ".dat"}); }
std::string StorePaths::fk(std::string_view code) const { return join({code}, {"FK/", "FK", code, ".bmp"}); }

std::string StorePaths::hn(std::string_view num) const {
    return join({num}, {"HN/", part(num, 0, 2), "/", "HN", part(num, 0, 7), ".datn"});
}

std::string StorePaths::hnOld(std::string_view num) const {
    return join({num}, {"HN/", part(num, 0, 2), "/", "HN", part(num, 0, 5), ".dat"});
}

bool matchesMask(std::string_view name, std::string_view mask) {
    if (mask.empty() || mask == "*.*" || mask == "*") return true;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    // Iterative glob with backtracking to the last "*".
    std::size_t n = 0, m = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || lower(mask[m]) == lower(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            star = m++;
            mark = n;
        } else if (star != std::string_view::npos) {
            m = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

namespace {

void walk(const std::string& folder, const std::string& mask, bool recursive, std::vector<std::string>& out) {
    DIR* d = ::opendir(folder.c_str());
    if (!d) return;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string full = folder + name;
        if (dirExists(full)) {
            if (recursive) walk(full + "/", mask, recursive, out);
        } else if (matchesMask(name, mask)) {
            out.push_back(full);
        }
    }
}

}  // namespace

std::vector<std::string> walkDirectory(const std::string& folder, const std::string& mask, bool recursive) {
    std::vector<std::string> out;
    std::string f = folder;
    if (f.empty() || f.back() != '/') f += '/';
    walk(f, mask.empty() ? "*.*" : mask, recursive, out);
    return out;
}

void deleteAllTrackData(const StorePaths& paths) {
    // Track data files are named "BB" + year + quarter letter + ".dat".
    for (const std::string& file : walkDirectory(paths.root() + "BB/", "BB*", true)) {
        const std::string name = file.substr(file.find_last_of('/') + 1);
        if (name.size() < 11 || name.compare(7, 4, ".dat") != 0) continue;
        if (std::remove(file.c_str()) != 0) throwIoError(sj("ファイルを削除できません"), file, errno);
    }
}

void createFamilyFolders(const StorePaths& paths) {
    makeDirs(paths.root());
    for (const std::string& f : familyFolders()) makeDirs(paths.root() + f + "/");
}

}  // namespace tarvo
