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

// One family of record files: its id and the path of a file below the store
// root. In a pattern, "{Field}" stands for the value of a key field,
// "{Field<n}" for its first n bytes and "{Field|rule}" for a letter or code
// made from it by a rule of nameRule(). The fields a pattern names are the
// family's file key; the text up to the first "/" is its folder.
struct FileFamily {
    std::string_view id;
    std::string_view pattern;
};

// In the order the folders are created.
constexpr FileFamily kFileFamilies[] = {
    {"RA", "RA/{Year}/RA{Year}{MonthDay<2}{JyoCD|central}.dat"},
    {"SE", "SE/{Year}/{MonthDay<2}/SE{Year}{MonthDay}{JyoCD|dayTrack}.dat"},
    {"UM", "UM/{KettoNum<4}/UM{KettoNum<7}{KettoNum|umGroup}.datn"},
    {"UMIDX", "UM/{KettoNum<4}/UM{KettoNum<7}{KettoNum|umGroup}.idx"},
    {"UMOld", "UM/{KettoNum<4}/UM{KettoNum<7}{KettoNum|umGroup}.dat"},
    {"BN", "BN/BN{BanusiCode<2}.dat"},
    {"BR", "BR/BR{BreederCode<2}.datn"},
    {"BROld", "BR/BR{BreederCode<2}.dat"},
    {"CH", "CH/CH{ChokyosiCode<3}.dat"},
    {"HR", "HR/{Year}/HR{Year}{MonthDay<2}.dat"},
    {"KS", "KS/KS{KisyuCode<3}.dat"},
    {"HN", "HN/{HansyokuNum<2}/HN{HansyokuNum<7}.datn"},
    {"HNOld", "HN/{HansyokuNum<2}/HN{HansyokuNum<5}.dat"},
    {"SK", "SK/{KettoNum<4}/SK{KettoNum<7}.datn"},
    {"SKOld", "SK/{KettoNum<4}/SK{KettoNum<7}.dat"},
    {"CK", "CK/{Year}/{MonthDay<2}/CK{Year}{MonthDay}{JyoCD|dayTrack}.dat"},
    {"O2", "O2/{Year}/O2{Year}{MonthDay<2}.dat"},
    {"O3", "O3/{Year}/O3{Year}{MonthDay<2}.dat"},
    {"O4", "O4/{Year}/O4{Year}{MonthDay<2}.dat"},
    {"O5", "O5/{Year}/O5{Year}{MonthDay}.dat"},
    {"O6", "O6/{Year}/O6{Year}{MonthDay}{JyoCD}.dat"},
    {"BB", "BB/{Year}/BB{Year}{MonthDay|quarter}.dat"},
    {"FK", "FK/FK{BanusiCode}.bmp"},
};

const FileFamily* fileFamily(std::string_view id) {
    for (const FileFamily& f : kFileFamilies)
        if (f.id == id) return &f;
    return nullptr;
}

std::string nameRule(std::string_view rule, std::string_view value) {
    if (rule == "central") return isCentralTrack(value) ? "A" : "B";
    if (rule == "dayTrack") return dayTrackPart(value);
    if (rule == "umGroup") return std::string(umGroup(value));
    if (rule == "quarter") return std::string(quarterLetter(value));
    return {};
}

// The pattern filled from the key values, or "" when a value is not safe in a file name.
std::string fillPattern(std::string_view pattern, const FieldValue& value) {
    std::string out;
    while (!pattern.empty()) {
        const std::size_t open = pattern.find('{');
        out += pattern.substr(0, open);
        if (open == std::string_view::npos) break;
        const std::size_t close = pattern.find('}', open);
        const std::string_view token = pattern.substr(open + 1, close - open - 1);
        pattern.remove_prefix(close + 1);
        const std::size_t mark = token.find_first_of("<|");
        const std::string_view v = value(token.substr(0, mark));
        if (!isSafeKeyText(v)) return {};
        if (mark == std::string_view::npos)
            out += v;
        else if (token[mark] == '<')
            out += part(v, 0, static_cast<std::size_t>(toIntDef(token.substr(mark + 1), 0)));
        else
            out += nameRule(token.substr(mark + 1), v);
    }
    return out;
}

// The value of a race's key field.
std::string_view raceField(const RaceKey& k, std::string_view name) {
    if (name == "Year") return k.year;
    if (name == "MonthDay") return k.monthDay;
    if (name == "JyoCD") return k.jyoCD;
    if (name == "RaceNum") return k.raceNum;
    return {};
}

}  // namespace

const std::vector<std::string>& familyFolders() {
    static const std::vector<std::string> folders = [] {
        std::vector<std::string> v;
        for (const FileFamily& f : kFileFamilies) {
            std::string folder(f.pattern.substr(0, f.pattern.find('/')));
            if (std::find(v.begin(), v.end(), folder) == v.end()) v.push_back(std::move(folder));
        }
        return v;
    }();
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

std::string StorePaths::file(std::string_view familyId, const FieldValue& value) const {
    const FileFamily* f = fileFamily(familyId);
    if (!f) return {};
    const std::string rest = fillPattern(f->pattern, value);
    return rest.empty() ? std::string() : root_ + rest;
}

std::string StorePaths::file(Family f, std::string_view line) const {
    return file(layoutOf(f).id, [&](std::string_view name) { return getField(f, line, name); });
}

std::string StorePaths::file(Family f, const RaceKey& race) const {
    return file(layoutOf(f).id, [&](std::string_view name) { return raceField(race, name); });
}

std::string StorePaths::dayFile(std::string_view familyId, std::string_view year, std::string_view monthDay,
                                std::string_view jyoCD) const {
    return file(familyId, [&](std::string_view name) {
        return name == "Year" ? year : name == "MonthDay" ? monthDay : name == "JyoCD" ? jyoCD : std::string_view();
    });
}

std::string StorePaths::codeFile(std::string_view familyId, std::string_view code) const {
    return file(familyId, [&](std::string_view) { return code; });
}

std::string StorePaths::ra(std::string_view y, std::string_view md, std::string_view j) const { return dayFile("RA", y, md, j); }
std::string StorePaths::se(std::string_view y, std::string_view md, std::string_view j) const { return dayFile("SE", y, md, j); }
std::string StorePaths::ck(std::string_view y, std::string_view md, std::string_view j) const { return dayFile("CK", y, md, j); }
std::string StorePaths::o6(std::string_view y, std::string_view md, std::string_view j) const { return dayFile("O6", y, md, j); }
std::string StorePaths::hr(std::string_view y, std::string_view md) const { return dayFile("HR", y, md, {}); }
std::string StorePaths::o2(std::string_view y, std::string_view md) const { return dayFile("O2", y, md, {}); }
std::string StorePaths::o3(std::string_view y, std::string_view md) const { return dayFile("O3", y, md, {}); }
std::string StorePaths::o4(std::string_view y, std::string_view md) const { return dayFile("O4", y, md, {}); }
std::string StorePaths::o5(std::string_view y, std::string_view md) const { return dayFile("O5", y, md, {}); }
std::string StorePaths::bb(std::string_view y, std::string_view md) const { return dayFile("BB", y, md, {}); }

std::string StorePaths::um(std::string_view kettoNum, std::string_view ext) const {
    return ext == "datn" ? codeFile("UM", kettoNum) : ext == "idx" ? codeFile("UMIDX", kettoNum) : std::string();
}

std::string StorePaths::umOld(std::string_view kettoNum, std::string_view ext) const {
    return ext == "dat" ? codeFile("UMOld", kettoNum) : ext == "idx" ? codeFile("UMIDX", kettoNum) : std::string();
}

std::string StorePaths::sk(std::string_view code) const { return codeFile("SK", code); }
std::string StorePaths::skOld(std::string_view code) const { return codeFile("SKOld", code); }
std::string StorePaths::ks(std::string_view code) const { return codeFile("KS", code); }
std::string StorePaths::ch(std::string_view code) const { return codeFile("CH", code); }
std::string StorePaths::br(std::string_view code) const { return codeFile("BR", code); }
std::string StorePaths::brOld(std::string_view code) const { return codeFile("BROld", code); }
std::string StorePaths::bn(std::string_view code) const { return codeFile("BN", code); }
std::string StorePaths::fk(std::string_view code) const { return codeFile("FK", code); }
std::string StorePaths::hn(std::string_view code) const { return codeFile("HN", code); }
std::string StorePaths::hnOld(std::string_view code) const { return codeFile("HNOld", code); }

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
