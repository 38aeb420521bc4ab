#include "search_view.h"


#include "code_tables.h"
#include "cp932.h"
#include "fsys.h"
#include "grid_sort.h"
#include "layouts.h"
#include "record_io.h"
#include "textfn.h"
#include "time_calc.h"

namespace tarvo {
namespace {

constexpr std::string_view kFullSpace = "\x81\x40";  // 　 in CP932

// Reads every file of the list line by line; progress after each file, a stop
// request ends the scan there. True when stopped.
bool scanFiles(const std::vector<std::string>& files, const std::function<void(std::string_view)>& line,
               const ScanProgress& progress) {
    std::string buffer;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string_view text;
        if (readFileView(files[i], buffer, text))
            forEachLineOf(text, [&](std::string_view l) {
                if (!l.empty()) line(l);
                return true;
            });
        if (progress && !progress(static_cast<int>(i + 1), static_cast<int>(files.size())))
            return i + 1 < files.size();
    }
    return false;
}

std::string um(std::string_view line, std::string_view name) { return trimBoth(getField(Family::UM, line, name)); }
std::string ra(std::string_view line, std::string_view name) { return trimBoth(getField(Family::RA, line, name)); }
std::string se(std::string_view line, std::string_view name) { return trimBoth(getField(Family::SE, line, name)); }

int number(std::string_view s) { return toIntDef(trimBoth(s), 0); }

bool nameMatches(const NameCriterion& c, std::string_view field) {
    const std::string want = trimBoth(c.text);
    if (want.empty()) return true;
    return c.exact ? trimBoth(field) == want : containsText(field, want);
}

std::string ownerName(std::string_view line) { return trimBoth(replaceAll(um(line, "BanusiName"), kFullSpace, "")); }

// The heading row of a grid: each heading's caption above its column.
std::vector<std::string> headerRow(const std::vector<SearchHeading>& headings, int columns) {
    std::vector<std::string> row(static_cast<std::size_t>(columns));
    for (const SearchHeading& h : headings) row[static_cast<std::size_t>(h.column)] = sj(h.caption);
    return row;
}

void addGrid(ScreenView& v, const char* name, const std::vector<SearchHeading>& headings, int columns,
             const std::vector<ViewRow>& rows) {
    v.grids.push_back(gridRows(name, headerRow(headings, columns), rows));
}

const char* flag(bool on) { return on ? "1" : "0"; }

template <std::size_t N>
void addChecks(ScreenView& v, const CheckItem (&items)[N], const std::array<bool, N>& on) {
    for (std::size_t i = 0; i < N; ++i) v.labels.push_back({items[i].objectName, flag(on[i])});
}

void addHeadings(ScreenView& v, const std::vector<SearchHeading>& headings) {
    for (const SearchHeading& h : headings) v.labels.push_back({h.objectName, sj(h.caption)});
}

}  // namespace

// ---- Horse search ----

const std::vector<SearchHeading> kHorseHeadings = {
    {"lbl_HdName", "馬名", "", kHsName},       {"lbl_HdSexAge", "性齢", "", kHsSex},
    {"lbl_HdStatus", "登", "", kHsStatus},     {"lbl_HdTrainer", "調教師", "", kHsTrainer},
    {"lbl_HdTozai", "所属", "", kHsTozai},     {"lbl_HdSire", "父馬", "", kHsSire},
    {"lbl_HdDam", "母馬", "", kHsDam},         {"lbl_HdDamSire", "母父", "", kHsDamSire},
    {"lbl_HdOwner", "馬主", "", kHsOwner},
};

int horseAge(std::string_view line, int currentYear) {
    const int age = currentYear - number(part(getField(Family::UM, line, "BirthDate"), 0, 4));
    return age < 1 ? 0 : age;
}

ViewRow horseRow(std::string_view line, int currentYear) {
    ViewRow row(kHsColumns);
    auto set = [&](int col, std::string text) { row[static_cast<std::size_t>(col)].text = std::move(text); };
    const int age = horseAge(line, currentYear);
    set(kHsName, " " + um(line, "Bamei"));
    set(kHsKettoNum, um(line, "KettoNum"));
    set(kHsSex, sexName(um(line, "SexCD")));
    set(kHsAge, age < 1 ? "--" : std::to_string(age));
    set(kHsStatus, sj(um(line, "DelKubun") == "0" ? "現" : "消"));
    set(kHsTrainer, " " + um(line, "ChokyosiRyakusyo"));
    set(kHsTozai, affiliationName(um(line, "TozaiCD")));
    set(kHsTrainerCode, um(line, "ChokyosiCode"));
    set(kHsSire, " " + um(line, "Ketto3InfoBamei1"));
    set(kHsDam, " " + um(line, "Ketto3InfoBamei2"));
    set(kHsDamSire, " " + um(line, "Ketto3InfoBamei5"));
    set(kHsOwner, " " + ownerName(line));
    return row;
}

bool horseMatches(const HorseCriteria& c, std::string_view line, int age) {
    if (age < c.ageFrom || age > c.ageTo) return false;
    if (c.activeOnly && um(line, "DelKubun") != "0") return false;
    const int sex = number(getField(Family::UM, line, "SexCD"));
    if (sex < 1 || sex > 3 || !c.sexes[static_cast<std::size_t>(sex - 1)]) return false;
    if (!nameMatches(c.name, getField(Family::UM, line, "Bamei")) ||
        !nameMatches(c.sire, getField(Family::UM, line, "Ketto3InfoBamei1")) ||
        !nameMatches(c.dam, getField(Family::UM, line, "Ketto3InfoBamei2")) ||
        !nameMatches(c.damSire, getField(Family::UM, line, "Ketto3InfoBamei5")))
        return false;
    return nameMatches({c.trainer, false}, getField(Family::UM, line, "ChokyosiRyakusyo")) &&
           nameMatches({c.owner, false}, ownerName(line));
}

SearchResult searchHorses(const StorePaths& paths, const HorseCriteria& c, int currentYear,
                          const ScanProgress& progress) {
    SearchResult result;
    result.stopped = scanFiles(walkDirectory(paths.root() + "UM/", "*.datn", true), [&](std::string_view line) {
        if (horseMatches(c, line, horseAge(line, currentYear))) result.rows.push_back(horseRow(line, currentYear));
    }, progress);
    sortRows(result.rows, {{kHsName, SortAs::Text}, {kHsAge, SortAs::Number}}, true);
    return result;
}

ScreenView::GridRows gridRows(const char* name, std::vector<std::string> header, const std::vector<ViewRow>& rows) {
    ScreenView::GridRows grid{name, {std::move(header)}};
    for (const ViewRow& r : rows) {
        std::vector<std::string> cells;
        for (const ViewCell& c : r) cells.push_back(c.text);
        grid.rows.push_back(std::move(cells));
    }
    return grid;
}

std::string searchCountText(std::size_t rows) { return std::to_string(rows) + sj("件"); }

ScreenView horseSearchScreen(const HorseCriteria& c, const SearchResult& result) {
    ScreenView v;
    v.caption = sj("競争馬の検索(中央レースに出走のない地方馬・海外馬は除く)");
    const std::pair<const char*, const char*> names[] = {
        {"edt_UmaName", "chkUmKan"}, {"edt_TitiName", "chkTiKan"}, {"edt_HahaName", "chkHaKan"}, {"edt_HatiName", "chkHtKan"}};
    const NameCriterion* criteria[] = {&c.name, &c.sire, &c.dam, &c.damSire};
    for (std::size_t i = 0; i < 4; ++i) {
        v.labels.push_back({names[i].first, criteria[i]->text});
        v.labels.push_back({names[i].second, flag(criteria[i]->exact)});
    }
    v.labels.push_back({"edt_Chokyo", c.trainer});
    v.labels.push_back({"edt_Banushi", c.owner});
    addChecks(v, kHorseSexes, c.sexes);
    v.labels.push_back({"cboFrom", std::to_string(c.ageFrom)});
    v.labels.push_back({"cboTo", std::to_string(c.ageTo)});
    v.labels.push_back({"chkGen", flag(c.activeOnly)});
    addHeadings(v, kHorseHeadings);
    v.labels.push_back({"lblCount", searchCountText(result.rows.size())});
    addGrid(v, "stgUmaList", kHorseHeadings, kHsColumns, result.rows);
    v.states = {{"btnStart", true}, {"btnStop", false}, {"btnClose", true}};
    return v;
}

// ---- Race search ----

const std::vector<SearchHeading> kRaceHeadings = {
    {"lbl_HdDate", "レース日", "", kRsDate},
    {"lbl_HdTrack", "場名", "", kRsTrack},
    {"lbl_HdRN", "RN", "", kRsRaceNum},
    {"lbl_HdName", "レース名", "", kRsName},
    {"lbl_HdTosu", "頭", "", kRsRunners},
    {"lbl_HdCourse", "距離", "", kRsCourse},
    {"lbl_HdWeather", "天", "", kRsWeather},
    {"lbl_HdGoing", "状", "", kRsGoing},
    {"lbl_HdWinner", "１着馬", "", kRsWinner},
    {"lbl_HdSexAge", "性齢", "", kRsSexAge},
    {"lbl_HdTime", "Time", "", kRsTime},
    {"lbl_HdCorners", "位置", "１着馬の位置取りです（２角３角４角）", kRsCorners},
    {"lbl_HdLast3F", "上3F", "", kRsLast3F},
    {"lbl_HdFront3", "R前3", "レースの前３ハロンタイムです", kRsFront3},
    {"lbl_HdRaceLast3", "R後3", "レースの後３ハロンタイムです", kRsRaceLast3},
};

std::vector<std::string> trackChoices() {
    std::vector<std::string> out;
    for (int j = 1; j <= 10; ++j) out.push_back(trackName(twoDigits(j)));
    out.push_back(sj(kAllTracks));
    return out;
}

std::string furlongText(std::string_view sst, bool zeroMark) {
    const int t = number(sst);
    if (t == 0 && zeroMark) return "--.-";
    const std::string d = std::to_string(t);
    return (t < 10 ? "0" : "") + d.substr(0, d.size() - 1) + "." + d.back();
}

int frontThreeFurlongs(std::string_view line) {
    const int s3 = number(getField(Family::RA, line, "HaronTimeS3"));
    if (s3 <= 0) return 0;
    if (number(getField(Family::RA, line, "Kyori")) % 200 == 0) return s3;
    return roundHalfAway((s3 + number(getField(Family::RA, line, "HaronTimeS4"))) / 2.0L);
}

std::string raceGoing(std::string_view line) {
    const std::string track = ra(line, "TrackCD");
    const std::string surface(part(courseKey(track, ra(line, "Kyori")), 0, 2));
    const bool turf = surface == sj("芝") || (surface == sj("障") && track != "52");
    return goingName(ra(line, turf ? "SibaBabaCD" : "DirtBabaCD"));
}

namespace {

// The class check boxes by JyokenCD5 and GradeCD, in kRaceClasses order.
bool classMatches(int box, int jyoken, const std::string& grade) {
    switch (box) {
        case 0: return jyoken == 703;
        case 1: return jyoken == 701 || jyoken == 702;
        case 2: return jyoken >= 1 && jyoken <= 5;
        case 3: return jyoken >= 6 && jyoken <= 10;
        case 4: return jyoken >= 11 && jyoken <= 16;
        case 5: return jyoken == 999 && (grade == "E" || grade.empty());
        case 6: return grade == "C" || grade == "H";
        case 7: return grade == "B" || grade == "G";
        case 8: return grade == "A" || grade == "F";
        default: return grade == "D";
    }
}

// Index of code within codes (each box's codes), or -1.
int boxOf(std::string_view code, std::initializer_list<std::initializer_list<const char*>> boxes) {
    int i = 0;
    for (const auto& codes : boxes) {
        for (const char* c : codes)
            if (code == c) return i;
        ++i;
    }
    return -1;
}

// Index of text among names (CP932), or -1.
template <std::size_t N>
int indexIn(const std::string& text, const std::string (&names)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        if (text == names[i]) return static_cast<int>(i);
    return -1;
}

template <std::size_t N>
bool checked(const std::array<bool, N>& boxes, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < N && boxes[static_cast<std::size_t>(i)];
}

}  // namespace

bool raceMatches(const RaceCriteria& c, std::string_view line) {
    const std::string date = ra(line, "Year") + ra(line, "MonthDay");
    if (date < c.from || date > c.to) return false;
    const std::string jyo = ra(line, "JyoCD");
    if (c.jyoCD.empty() ? !isCentralTrack(jyo) : jyo != c.jyoCD) return false;
    if (const std::string name = toFullWidth(trimBoth(c.name)); !name.empty()) {
        if (!containsText(getField(Family::RA, line, "Hondai"), name) &&
            !containsText(getField(Family::RA, line, "Ryakusyo10"), name) &&
            !containsText(getField(Family::RA, line, "Ryakusyo6"), name))
            return false;
    }
    if (!checked(c.ages, boxOf(ra(line, "SyubetuCD"), {{"11"}, {"12"}, {"13", "18"}, {"14", "19"}}))) return false;
    const int jyoken = number(getField(Family::RA, line, "JyokenCD5"));
    const std::string grade = ra(line, "GradeCD");
    bool classOk = false;
    for (int box = 0; box < 10; ++box) classOk = classOk || (c.classes[static_cast<std::size_t>(box)] && classMatches(box, jyoken, grade));
    if (!classOk) return false;
    const std::string_view kigo = getField(Family::RA, line, "KigoCD");
    if (!checked(c.sexes, boxOf(part(kigo, 1, 1), {{"0"}, {"4"}, {"2"}}))) return false;
    const int distance = number(getField(Family::RA, line, "Kyori"));
    if (distance < c.distanceFrom || distance > c.distanceTo) return false;
    const std::string surface(part(courseKey(ra(line, "TrackCD"), ra(line, "Kyori")), 0, 2));
    static const std::string surfaces[] = {sj("芝"), sj("ダ"), sj("障")};
    if (!checked(c.surfaces, indexIn(surface, surfaces))) return false;
    if (!checked(c.weights, boxOf(ra(line, "JyuryoCD"), {{"3"}, {"4"}, {"2"}, {"1"}}))) return false;
    static const std::string goings[] = {sj("良"), sj("稍"), sj("重"), sj("不")};
    return checked(c.goings, indexIn(raceGoing(line), goings));
}

ViewRow raceRow(std::string_view line, std::string_view winner) {
    ViewRow row(kRsColumns);
    auto set = [&](int col, std::string text) { row[static_cast<std::size_t>(col)].text = std::move(text); };
    const std::string date = ra(line, "Year") + ra(line, "MonthDay");
    const std::string jyo = ra(line, "JyoCD");
    set(kRsDate, date);
    set(kRsTrack, trackName(jyo));
    set(kRsJyoCD, jyo);
    set(kRsRaceNum, ra(line, "RaceNum"));
    std::string name = ra(line, "Ryakusyo6");
    set(kRsName, name.empty() ? classNameShort(ra(line, "SyubetuCD"), ra(line, "JyokenCD5"), date) : name);
    set(kRsRunners, ra(line, "SyussoTosu"));
    set(kRsCourse, courseKey(ra(line, "TrackCD"), ra(line, "Kyori")));
    std::string weather = weatherName(ra(line, "TenkoCD"));
    if (weather == sj("小雨")) weather = sj("ｺｻ");
    if (weather == sj("小雪")) weather = sj("ｺﾕ");
    set(kRsWeather, weather);
    set(kRsGoing, raceGoing(line));
    if (!winner.empty()) {
        set(kRsWinner, se(winner, "Bamei"));
        set(kRsWinnerKetto, se(winner, "KettoNum"));
        set(kRsSexAge, padRight(sexName(se(winner, "SexCD")), 2) + padRight(se(winner, "Barei"), 2));
        set(kRsTime, std::string(getField(Family::SE, winner, "Time")));
        set(kRsTenths, std::to_string(storedTimeToTenths(getField(Family::SE, winner, "Time"))));
        std::string corners;
        for (const char* f : {"Jyuni2c", "Jyuni3c", "Jyuni4c"})
            corners += padRight(number(getField(Family::SE, winner, f)) == 0 ? "**" : se(winner, f), 2);
        set(kRsCorners, corners);
        set(kRsLast3F, furlongText(getField(Family::SE, winner, "HaronTimeL3"), false));
    }
    set(kRsFront3, furlongText(std::to_string(frontThreeFurlongs(line)), true));
    set(kRsRaceLast3, furlongText(getField(Family::RA, line, "HaronTimeL3"), true));
    return row;
}

namespace {

// The winners of the races of one SE file, read once for all races of the file.
class Winners {
public:
    explicit Winners(const StorePaths& paths) : paths_(paths) {}

    std::string_view of(std::string_view raLine) {
        const RaceKey key = RaceKey::of(Family::RA, raLine);
        const std::string path = paths_.se(key.year, key.monthDay, key.jyoCD);
        if (path != path_) {
            path_ = path;
            winners_.clear();
            std::string_view text;
            if (readFileView(path, buffer_, text))
                forEachLineOf(text, [&](std::string_view l) {
                    if (getField(Family::SE, l, "KakuteiJyuni") == "01") winners_.push_back(l);
                    return true;
                });
        }
        // The first winner of the race in the file.
        const std::string race = key.text();
        for (const std::string_view w : winners_)
            if (RaceKey::of(Family::SE, w).text() == race) return w;
        return {};
    }

private:
    const StorePaths& paths_;
    std::string path_, buffer_;
    std::vector<std::string_view> winners_;  // into buffer_
};

}  // namespace

SearchResult searchRaces(const StorePaths& paths, const RaceCriteria& c, const ScanProgress& progress) {
    SearchResult result;
    Winners winners(paths);
    result.stopped = scanFiles(walkDirectory(paths.root() + "RA/", "*.dat", true), [&](std::string_view line) {
        if (getField(Family::RA, line, "DataKubun") != "7" || !raceMatches(c, line)) return;
        result.rows.push_back(raceRow(line, winners.of(line)));
    }, progress);
    sortRows(result.rows, {{kRsRaceNum, SortAs::Number}, {kRsJyoCD, SortAs::Number}, {kRsDate, SortAs::Number}}, true);
    return result;
}

ScreenView raceSearchScreen(const RaceCriteria& c, const SearchResult& result) {
    ScreenView v;
    v.caption = sj("レースの検索");
    v.labels.push_back({"dtpFromDate", c.from});
    v.labels.push_back({"dtpToDate", c.to});
    v.labels.push_back({"cboCrs", c.jyoCD.empty() ? sj(kAllTracks) : trackName(c.jyoCD)});
    v.labels.push_back({"edtRName", c.name});
    addChecks(v, kRaceAges, c.ages);
    addChecks(v, kRaceClasses, c.classes);
    addChecks(v, kRaceSurfaces, c.surfaces);
    v.labels.push_back({"cboFrom", std::to_string(c.distanceFrom)});
    v.labels.push_back({"cboTo", std::to_string(c.distanceTo)});
    addChecks(v, kRaceSexes, c.sexes);
    addChecks(v, kRaceWeights, c.weights);
    addChecks(v, kRaceGoings, c.goings);
    addHeadings(v, kRaceHeadings);
    v.labels.push_back({"lblCount", searchCountText(result.rows.size())});
    addGrid(v, "stgRaceList", kRaceHeadings, kRsColumns, result.rows);
    v.states = {{"btnStart", true}, {"btnCancel", false}, {"btnClose", true}};
    return v;
}

std::string raceVideoCaption(const ViewRow& row) {
    return sj("レース動画を再生 [") + row[kRsDate].text + "." + row[kRsTrack].text + row[kRsRaceNum].text + "R" +
           "." + row[kRsName].text + sj("] (&R)");
}

}  // namespace tarvo
