// The racing calendar and the programme of a day: which tracks race, the
// twelve central races of a meeting day (ten at a local track), the graded
// races on their dates, and the runners each race draws from the horses in
// training.
#include <algorithm>
#include <cmath>
#include <map>

#include "cp932.h"
#include "wg_course.h"
#include "wg_world.h"

namespace tarvo::worldgen {
namespace {

// Central tracks racing on the weekends of each month.
constexpr const char* kMonthTracks[12][3] = {
    {"06", "08", "07"}, {"05", "08", "10"}, {"06", "09", "07"}, {"06", "09", "03"}, {"05", "08", "04"}, {"05", "09", "01"},
    {"03", "07", "02"}, {"04", "10", "01"}, {"06", "09", "04"}, {"05", "08", "04"}, {"05", "08", "03"}, {"06", "09", "07"}};

struct Graded {
    int month, nth, weekday;  // nth weekday of the month (-1: the last); day of month when weekday is -1
    const char* jyo;
    char surface;
    int kyori;
    const char* syubetu;
    char grade;
    bool fillies;
    const char* hondai;  // UTF-8
    const char* r6;
    char jyuryo;
    int firstYear;  // of the first running, for the edition number
};

constexpr int kSat = 5, kSun = 6, kWed = 2;
constexpr Graded kGraded[] = {
    {2, 1, kSun, "05", 'D', 1400, "14", 'C', false, "根岸ステークス", "根岸Ｓ", '2', 1987},
    {2, 3, kSun, "05", 'D', 1600, "14", 'A', false, "フェブラリーステークス", "フェブラリー", '4', 1984},
    {3, 1, kSat, "09", 'T', 1600, "12", 'C', true, "チューリップ賞", "チューリップ", '3', 1994},
    {3, 1, kSun, "06", 'T', 2000, "12", 'B', false, "報知杯弥生賞", "報知杯弥生賞", '3', 1964},
    {3, 2, kSat, "06", 'T', 1600, "12", 'L', true, "アネモネステークス", "アネモネＳ", '3', 1989},
    {3, 2, kSun, "09", 'T', 1400, "12", 'B', true, "フィリーズレビュー", "Ｆレビュー", '3', 1967},
    {3, 3, kSat, "09", 'T', 2000, "12", 'L', false, "若葉ステークス", "若葉Ｓ", '3', 1980},
    {3, 3, kSun, "06", 'T', 1800, "12", 'B', false, "スプリングステークス", "スプリングＳ", '3', 1952},
    {3, 3, kSun, "09", 'T', 3000, "14", 'B', false, "阪神大賞典", "阪神大賞典", '2', 1953},
    {3, 4, kSat, "06", 'T', 2500, "14", 'B', false, "日経賞", "日経賞", '2', 1953},
    {3, 4, kSun, "07", 'T', 1200, "14", 'A', false, "高松宮記念", "高松宮記念", '4', 1971},
    {4, 1, kSun, "09", 'T', 2000, "14", 'B', false, "産経大阪杯", "産経大阪杯", '4', 1957},
    {4, 2, kSat, "06", 'T', 1600, "12", 'B', false, "ニュージーランドトロフィー", "ＮＺＴ", '3', 1983},
    {4, 2, kSun, "09", 'T', 1600, "12", 'A', true, "桜花賞", "桜花賞", '3', 1939},
    {4, 3, kSat, "06", 'J', 4250, "19", 'F', false, "中山グランドジャンプ", "中山ＧＪ", '4', 1999},
    {4, 3, kSun, "06", 'T', 2000, "12", 'A', false, "皐月賞", "皐月賞", '3', 1939},
    {5, 1, kSat, "05", 'T', 2400, "12", 'B', false, "青葉賞", "青葉賞", '3', 1994},
    {5, 1, kSun, "08", 'T', 3200, "14", 'A', false, "天皇賞（春）", "天皇賞（春）", '4', 1938},
    {5, 2, kSun, "05", 'T', 1600, "12", 'A', false, "ＮＨＫマイルカップ", "ＮＨＫマイル", '3', 1996},
    {5, 3, kSun, "05", 'T', 1600, "14", 'A', true, "ヴィクトリアマイル", "ヴィクトリア", '4', 2006},
    {5, 4, kSat, "05", 'T', 2400, "12", 'A', true, "優駿牝馬", "オークス", '3', 1938},
    {5, -1, kSun, "05", 'T', 2400, "12", 'A', false, "東京優駿", "日本ダービー", '3', 1932},
    {6, 1, kSun, "05", 'T', 1600, "13", 'A', false, "安田記念", "安田記念", '4', 1951},
    {6, 4, kSun, "09", 'T', 2200, "13", 'A', false, "宝塚記念", "宝塚記念", '4', 1960},
    {9, 4, kSun, "09", 'T', 2400, "12", 'B', false, "神戸新聞杯", "神戸新聞杯", '3', 1953},
    {9, -1, kSat, "06", 'T', 1200, "13", 'A', false, "スプリンターズステークス", "スプリンタＳ", '4', 1967},
    {10, 2, kSun, "05", 'T', 1800, "13", 'B', false, "毎日王冠", "毎日王冠", '2', 1950},
    {10, 2, kSun, "08", 'T', 2400, "13", 'B', false, "京都大賞典", "京都大賞典", '2', 1966},
    {10, 3, kSat, "05", 'T', 1600, "13", 'C', false, "富士ステークス", "富士Ｓ", '2', 1998},
    {10, 3, kSun, "08", 'T', 2000, "12", 'A', true, "秋華賞", "秋華賞", '4', 1996},
    {10, 4, kSun, "08", 'T', 3000, "12", 'A', false, "菊花賞", "菊花賞", '3', 1938},
    {10, -1, kSat, "05", 'T', 2000, "13", 'A', false, "天皇賞（秋）", "天皇賞（秋）", '4', 1937},
    {11, 1, kSun, "08", 'D', 1800, "13", 'C', false, "みやこステークス", "みやこＳ", '2', 2010},
    {11, 2, kSat, "05", 'D', 1600, "13", 'C', false, "武蔵野ステークス", "武蔵野Ｓ", '2', 1996},
    {11, 2, kSun, "08", 'T', 2200, "13", 'A', true, "エリザベス女王杯", "エリザベス女", '4', 1976},
    {11, 3, kSun, "08", 'T', 1600, "13", 'A', false, "マイルチャンピオンシップ", "マイルＣＳ", '4', 1984},
    {11, 4, kSun, "05", 'T', 2400, "13", 'A', false, "ジャパンカップ", "ジャパンＣ", '4', 1981},
    {12, 1, kSat, "06", 'T', 3600, "13", 'B', false, "ステイヤーズステークス", "ステイヤーズ", '2', 1967},
    {12, 1, kSun, "07", 'D', 1800, "13", 'A', false, "ジャパンカップダート", "ＪＣダート", '4', 2000},
    {12, 2, kSun, "09", 'T', 1600, "11", 'A', true, "阪神ジュベナイルフィリーズ", "阪神ＪＦ", '3', 1949},
    {12, 3, kSun, "09", 'T', 1600, "11", 'A', false, "朝日杯フューチュリティステークス", "朝日杯ＦＳ", '3', 1949},
    {12, 4, kSat, "06", 'J', 4100, "18", 'F', false, "中山大障害", "中山大障害", '4', 1934},
    {12, 4, kSun, "06", 'T', 2500, "13", 'A', false, "有馬記念", "有馬記念", '4', 1956},
    // Graded races at local tracks.
    {1, -1, kWed, "45", 'D', 2100, "14", 'A', false, "川崎記念", "川崎記念", '2', 1951},
    {5, 1, kWed, "43", 'D', 1600, "14", 'A', false, "かしわ記念", "かしわ記念", '2', 1989},
    {6, 2, kWed, "30", 'D', 1200, "13", 'C', false, "北海道スプリントカップ", "北海道スプリ", '2', 1997},
    {6, -1, kWed, "44", 'D', 2000, "14", 'A', false, "帝王賞", "帝王賞", '4', 1978},
    {8, 2, kWed, "30", 'D', 2000, "13", 'B', true, "ブリーダーズゴールドカップ", "ブリーダーズ", '2', 1989},
    {11, 1, kWed, "44", 'D', 2000, "13", 'A', false, "ＪＢＣクラシック", "ＪＢＣクラシ", '4', 2001},
    {12, 2, kWed, "45", 'D', 1600, "11", 'A', false, "全日本２歳優駿", "全日本２歳優", '3', 1951},
    {12, 29, -1, "44", 'D', 2000, "13", 'A', false, "東京大賞典", "東京大賞典", '4', 1955},
};

bool graded(const Graded& g, Day d) {
    if (d.month() != g.month) return false;
    if (g.weekday < 0) return d.dayOfMonth() == g.nth;
    if (d.weekday() != g.weekday) return false;
    if (g.nth > 0) return (d.dayOfMonth() - 1) / 7 + 1 == g.nth;
    return (d + 7).month() != d.month();
}

bool centralDay(Day d) {
    if (d.weekday() != kSat && d.weekday() != kSun) return false;
    const int md = d.month() * 100 + d.dayOfMonth();
    return md > 104 && md < 1229;
}

std::vector<std::string> centralTracks(Day d) {
    if (!centralDay(d)) return {};
    const auto& m = kMonthTracks[d.month() - 1];
    return {m[0], m[1], m[2]};
}

constexpr const char* kLocalCycle[4] = {"44", "43", "45", "30"};

std::vector<std::string> localTracks(Day d) {
    std::vector<std::string> out;
    if (d.weekday() == kWed) {
        std::string t = kLocalCycle[(d.n / 7) % 4];
        if (t == "30" && (d.month() < 4 || d.month() > 11)) t = "44";
        out.push_back(t);
    }
    for (const Graded& g : kGraded)
        if (!isCentral(g.jyo) && graded(g, d) && std::find(out.begin(), out.end(), g.jyo) == out.end())
            out.push_back(g.jyo);
    return out;
}

// Meeting number and day of the meeting: a central track's meetings are its
// months of racing in the year; local meetings are the months.
std::pair<int, int> kaiNichi(const std::string& jyo, Day d) {
    if (!isCentral(jyo)) return {d.month(), (d.dayOfMonth() - 1) / 7 + 1};
    int kai = 0, nichi = 0, lastMonth = 0;
    for (Day x = Day::of(d.year(), 1, 1); x <= d; x = x + 1) {
        const auto tracks = centralTracks(x);
        if (std::find(tracks.begin(), tracks.end(), jyo) == tracks.end()) continue;
        if (x.month() != lastMonth) {
            ++kai;
            nichi = 0;
            lastMonth = x.month();
        }
        ++nichi;
    }
    return {kai, nichi};
}

// Names a special race: its name, the short forms of 10, 6 and 3 characters
// (a race with a well-known short name gives it as short6), and its number.
void nameRace(Race& r, const std::string& hondai, const std::string& short6 = {}) {
    r.hondai = hondai;
    r.r10 = raceShortName(hondai, 20);
    r.r6 = short6.empty() ? raceShortName(hondai, 12) : raceShortName(short6, 12);
    r.r3 = r.r6.size() <= 6 ? r.r6 : raceShortName(hondai, 6);
    std::uint64_t h = 0;
    for (const char c : hondai) h = h * 131 + static_cast<unsigned char>(c);
    r.tokuNum = 1000 + static_cast<int>(h % 8000);
}

constexpr long long kPrize[] = {55000, 55000, 75000, 100000, 150000, 200000};  // by level, 100 yen

void setPrize(Race& r) {
    long long first = kPrize[std::clamp(r.level, 0, 5)];
    if (r.local) first = 15000;
    if (r.jump) first = r.level >= 5 ? 150000 : 70000;
    switch (r.grade) {
        case 'A': first = r.local ? 800000 : 1500000; break;
        case 'B': first = r.local ? 500000 : 600000; break;
        case 'C': first = r.local ? 400000 : 400000; break;
        case 'F': first = 660000; break;
        case 'L': first = 220000; break;
        case 'D': first = 60000; break;
        default: break;
    }
    const double share[5] = {1.0, 0.4, 0.25, 0.15, 0.1};
    for (int i = 0; i < 5; ++i) r.prize[static_cast<std::size_t>(i)] = std::llround(static_cast<double>(first) * share[i] / 10.0) * 10;
}

void setConditions(Race& r) {
    r.jyokenAll.fill("000");
    const std::string& c = r.jyoken;
    if (r.syubetu == "11") r.jyokenAll[0] = c;
    else if (r.syubetu == "12") r.jyokenAll[1] = c;
    else if (r.syubetu == "13" || r.syubetu == "18") r.jyokenAll[1] = r.jyokenAll[2] = r.jyokenAll[3] = c;
    else r.jyokenAll[2] = r.jyokenAll[3] = c;
    r.jyokenAll[4] = c;
}

struct Weather {
    char tenko, siba, dirt;
};

Weather weatherOf(std::uint64_t seed, Day d, const std::string& jyo) {
    Rng rng(mix(seed, 0x7e47, static_cast<std::uint64_t>(d.n) * 100 + static_cast<std::uint64_t>(std::stoi(jyo))));
    const double u = rng.uniform();
    const bool winter = d.month() <= 2 || d.month() == 12;
    Weather w{'1', '1', '1'};
    if (u < 0.55) w.tenko = '1';
    else if (u < 0.83) w.tenko = '2';
    else if (u < 0.93) w.tenko = '3';
    else if (u < 0.98 || !winter) w.tenko = '4';
    else w.tenko = '5';
    const auto going = [&rng](bool wet) {
        const double g = rng.uniform();
        if (!wet) return g < 0.85 ? '1' : '2';
        return g < 0.35 ? '2' : g < 0.75 ? '3' : '4';
    };
    const bool wet = w.tenko >= '3';
    w.siba = going(wet);
    w.dirt = going(wet || rng.chance(0.1));
    return w;
}

// The race symbol: mixed ("A") or international ("N", the top graded races)
// at the central tracks, the sex restriction ("2" fillies and mares) and the
// designated jockeys ("3", the win classes and up); "0" where none applies.
std::string raceSymbol(const Race& r) {
    if (r.jump) return "000";
    std::string kigo = "000";
    if (!r.local) kigo[0] = r.grade == 'A' || r.grade == 'B' ? 'N' : 'A';
    if (r.fillies) kigo[1] = '2';
    if (r.level >= 2 && !r.local) kigo[2] = '3';
    return kigo;
}

// What follows from a race's class and course: symbol, going, conditions and prize money.
void settle(Race& r, const Weather& w) {
    r.kigo = raceSymbol(r);
    r.going = r.turf() || r.jump ? w.siba : w.dirt;
    setConditions(r);
    setPrize(r);
}

// One slot of a meeting day's programme.
struct Slot {
    int level;      // 0 newcomer .. 5 open
    bool young;     // the 2-year-old (from June) or 3-year-old races
    char surface;   // 'T', 'D', 'J'
    bool named;
};

int levelWinsMin(int level) { return level <= 1 ? 0 : level - 1; }

// The race kind of a young slot, adjusting its level to the season: 3-year-olds
// until May (newcomers until March), 2-year-old newcomers from June, their
// maidens from July beside the last 3-year-old maidens, 2-year-old winners'
// races from September.
const char* youngClass(int month, int slot, int& level) {
    if (month <= 5) {
        if (level == 0 && month > 3) level = 2;
        return "12";
    }
    if (month == 6) return level == 0 ? "11" : "12";
    if (month >= 9 && slot == 2) level = 2;
    if (month <= 9 && level == 1 && (slot == 0 || slot == 2)) return "12";
    return "11";
}

// The course of the race's track nearest the wanted distance, on the other
// surface when the track has none of the wanted one.
void pickCourse(Race& r, char surface, int wanted) {
    bool turf = surface == 'T';
    if (courseDistances(r.jyo, turf).empty()) turf = !turf;
    const std::vector<int>& ds = courseDistances(r.jyo, turf);
    int best = ds.front();
    for (const int x : ds)
        if (std::abs(x - wanted) < std::abs(best - wanted)) best = x;
    r.kyori = best;
    r.trackCD = trackCodeFor(r.jyo, turf ? 'T' : 'D', best);
}

// A central race too few horses enter becomes a 1-win class race of the older
// horses on the dirt, so that the meeting day keeps its twelve races; false
// for a graded race, which is not replaced.
bool toWinClass(Race& r) {
    if (std::string("ABCFGH").find(r.grade) != std::string::npos) return false;
    Race fresh;  // the same meeting, day, number, weather and post time
    fresh.day = r.day;
    fresh.jyo = r.jyo;
    fresh.kai = r.kai;
    fresh.nichi = r.nichi;
    fresh.num = r.num;
    fresh.tenko = r.tenko;
    fresh.siba = r.siba;
    fresh.dirt = r.dirt;
    fresh.courseKubun = r.courseKubun;
    fresh.hasso = r.hasso;
    r = std::move(fresh);
    const bool spring = r.day.month() <= 5;
    r.syubetu = spring ? "14" : "13";
    r.minAge = spring ? 4 : 3;
    r.level = 2;
    r.jyoken = "005";
    r.jyuryo = '4';
    pickCourse(r, 'D', 1700);
    r.target = 16;
    settle(r, Weather{r.tenko, r.siba, r.dirt});
    return true;
}

// The tracks racing on a day: the central ones first, then the local ones.
struct DayTracks {
    std::vector<std::string> central, local;
    std::vector<std::string> all() const {
        std::vector<std::string> out = central;
        out.insert(out.end(), local.begin(), local.end());
        return out;
    }
};

DayTracks tracksOf(Day d, bool mustRace) {
    DayTracks t{centralTracks(d), localTracks(d)};
    // A day that must race has the month's central meeting, so that the
    // same-day updates (central races only) have races on any weekday.
    if (mustRace && t.central.empty()) {
        const auto& m = kMonthTracks[d.month() - 1];
        t.central = {m[0], m[1], m[2]};
    }
    return t;
}

// The programme of one track on one day, before any horse is entered.
class TrackDay {
public:
    TrackDay(Rng& rng, std::uint64_t seed, Day d, const std::string& jyo, std::size_t order)
        : rng_(rng), d_(d), jyo_(jyo), local_(!isCentral(jyo)), order_(order), kaiDay_(kaiNichi(jyo, d)),
          w_(weatherOf(seed, d, jyo)), rail_(std::string(1, static_cast<char>('A' + rng.range(0, 3))) + " ") {}

    std::vector<Race> races() {
        if (local_) localRaces();
        else centralRaces();
        placeGraded();
        for (Race& r : day_) finish(r);
        return std::move(day_);
    }

private:
    Race base(int num) const {
        Race r;
        r.day = d_;
        r.jyo = jyo_;
        r.kai = kaiDay_.first;
        r.nichi = kaiDay_.second;
        r.num = num;
        r.local = local_;
        r.tenko = w_.tenko;
        r.siba = w_.siba;
        r.dirt = w_.dirt;
        r.courseKubun = rail_;
        return r;
    }

    // Ten dirt races by ability band, the last a named one.
    void localRaces() {
        const int month = d_.month();
        for (int num = 1; num <= 10; ++num) {
            Race r = base(num);
            r.syubetu = month >= 6 && num <= 2 ? "11" : "13";
            r.minAge = r.syubetu == "11" ? 2 : 3;
            r.maxAge = r.syubetu == "11" ? 2 : 99;
            r.jyoken = "000";
            r.level = 1 + (num - 1) * 4 / 10;  // ability band
            r.jyuryo = '2';
            r.target = rng_.range(9, 12);
            const auto& ds = courseDistances(jyo_, false);
            pickCourse(r, 'D', ds[static_cast<std::size_t>(rng_.range(0, static_cast<int>(ds.size()) - 1))]);
            if (num == 10) {
                r.grade = (d_.n / 7) % 2 ? 'D' : 'E';
                const std::string word = placeWord(rng_);
                nameRace(r, word + sj(r.grade == 'D' ? "記念" : "特別"));
                r.level = 5;
            }
            day_.push_back(std::move(r));
        }
    }

    std::vector<Slot> centralSlots() {
        const int month = d_.month();
        std::vector<Slot> slots = {
            {1, true, 'D', false}, {1, true, 'T', false}, {1, true, rng_.chance(0.5) ? 'T' : 'D', false},
            {1, true, 'D', false}, {0, true, newcomerSurface(), false}, {2, false, 'D', false},
            {2, false, 'T', false}, {2, false, 'D', false}, {3, false, 'T', true},
            {rng_.chance(0.5) ? 3 : 4, false, 'D', true}, {5, false, rng_.chance(0.7) ? 'T' : 'D', true},
            {rng_.chance(0.5) ? 2 : 3, false, 'D', false}};
        if (d_.weekday() == kSat && jyo_ != "01" && jyo_ != "02") slots[3] = {(d_.n / 7) % 2 ? 1 : 5, false, 'J', false};
        if (month > 3 && month < 6) slots[4] = {2, true, 'T', false};  // no newcomers from April to May
        return slots;
    }

    // Newcomers run on the dirt at one meeting day in three, by day and track.
    char newcomerSurface() const { return (d_.n + std::stoi(jyo_)) % 3 == 0 ? 'D' : 'T'; }

    void jumpRace(Race& r, const Slot& s) {
        const int month = d_.month();
        r.jump = true;
        r.syubetu = month <= 5 ? "19" : "18";
        r.minAge = month <= 5 ? 4 : 3;
        r.jyoken = s.level == 0 || s.level == 1 ? "703" : "999";
        const int jd[] = {2750, 2880, 3000, 3110, 3200, 3300, 3390};
        r.kyori = rng_.pick(jd);
        r.trackCD = trackCodeFor(jyo_, 'J', r.kyori);
        r.jyuryo = '2';
        r.target = rng_.range(9, 14);
    }

    void flatRace(Race& r, const Slot& s, int slot) {
        const int month = d_.month();
        if (s.young) {
            r.syubetu = youngClass(month, slot, r.level);
            r.minAge = r.maxAge = r.syubetu == "11" ? 2 : 3;
        } else {
            r.syubetu = month <= 5 ? "14" : "13";
            r.minAge = month <= 5 ? 4 : 3;
        }
        static const char* codes[] = {"701", "703", "005", "010", "016", "999"};
        r.jyoken = codes[r.level];
        if (r.level == 0 && r.syubetu == "12" && d_.n % 2) r.jyoken = "702";
        r.jyuryo = r.level <= 1 ? '3' : s.named ? (rng_.chance(0.4) ? '1' : '2') : '4';
        const int wanted = s.surface == 'T' ? rng_.range(6, 12) * 200 : rng_.range(5, 9) * 200;
        pickCourse(r, s.surface, wanted);
        const int cap = (jyo_ == "01" || jyo_ == "02") ? 14 : (r.turf() && r.kyori >= 1600 ? 18 : 16);
        r.target = r.level == 0 ? rng_.range(9, std::min(cap, 16)) : rng_.range(cap - 4, cap);
    }

    void centralRaces() {
        const std::vector<Slot> slots = centralSlots();
        for (int i = 0; i < 12; ++i) {
            const Slot& s = slots[static_cast<std::size_t>(i)];
            Race r = base(i + 1);
            r.level = s.level;
            if (s.surface == 'J') jumpRace(r, s);
            else flatRace(r, s, i);
            if (s.named) {
                const std::string word = raceWord(rng_);
                if (r.level >= 5) {
                    r.grade = rng_.chance(0.25) ? 'L' : 'E';
                    nameRace(r, word + sj("ステークス"));
                } else {
                    r.grade = 'E';
                    nameRace(r, word + sj("特別"));
                }
            }
            r.fillies = s.level >= 2 && rng_.chance(0.08);
            day_.push_back(std::move(r));
        }
    }

    // The graded races of the day take the main race slots, from the 11th down.
    void placeGraded() {
        int slot = local_ ? 10 : 11;
        for (const Graded& g : kGraded) {
            if (g.jyo != jyo_ || !graded(g, d_)) continue;
            Race& r = day_[static_cast<std::size_t>(slot - 1)];
            r = base(slot);
            r.syubetu = g.syubetu;
            r.grade = g.grade;
            r.fillies = g.fillies;
            r.jyuryo = g.jyuryo;
            r.jump = g.surface == 'J';
            r.jyoken = local_ ? "000" : "999";
            r.level = 5;
            const char age = g.syubetu[1];
            r.minAge = age == '1' ? 2 : age == '2' ? 3 : (age == '4' || age == '9') ? 4 : 3;
            r.maxAge = age == '1' ? 2 : age == '2' ? 3 : 99;
            r.kyori = g.kyori;
            r.trackCD = trackCodeFor(jyo_, g.surface, g.kyori);
            r.target = r.jump ? 14 : local_ ? 14 : (jyo_ == "07" || jyo_ == "06") && g.kyori <= 1200 ? 16 : 18;
            nameRace(r, sj(g.hondai), sj(g.r6));
            r.nkai = d_.year() - g.firstYear + 1;
            --slot;
        }
    }

    // Race symbol, going, conditions, prize money and post time.
    void finish(Race& r) const {
        static constexpr int kCentralTimes[12] = {955, 1025, 1055, 1125, 1215, 1245, 1315, 1345, 1420, 1455, 1535, 1610};
        settle(r, w_);
        r.hasso = local_ ? addMinutes(1440, 35 * (r.num - 1)) : addMinutes(kCentralTimes[r.num - 1], 5 * static_cast<int>(order_));
    }

    Rng& rng_;
    Day d_;
    std::string jyo_;
    bool local_;
    std::size_t order_;  // of the track among the day's tracks: staggers the post times
    std::pair<int, int> kaiDay_;
    Weather w_;
    std::string rail_;
    std::vector<Race> day_;
};

// Jockeys by track: the central ones share out over the day's central tracks
// ("central" names the pool central horses bring to local races); the local
// ones ride at the local tracks.
std::map<std::string, std::vector<int>> jockeyPools(Rng& rng, const std::vector<Jockey>& jockeys, const DayTracks& t) {
    std::map<std::string, std::vector<int>> pools;
    std::vector<int> c, l;
    for (std::size_t j = 0; j < jockeys.size(); ++j) (jockeys[j].local ? l : c).push_back(static_cast<int>(j));
    rng.shuffle(c);
    for (std::size_t i = 0; i < c.size() && !t.central.empty(); ++i) pools[t.central[i % t.central.size()]].push_back(c[i]);
    for (std::size_t i = 0; i < l.size(); ++i)
        if (!t.local.empty()) pools[t.local[i % t.local.size()]].push_back(l[i]);
    if (t.central.empty()) pools["central"] = c;
    else pools["central"] = pools[t.central.front()];
    return pools;
}

// Whether a horse may run in a race: its racing circuit, age, sex, rest and class.
bool eligible(const Horse& h, const Race& r, Day d, bool jpn) {
    if (h.retired || d < h.registered) return false;
    if (h.local != r.local && !(jpn && !h.local && h.wins >= 4 && !h.jumper)) return false;
    if (h.jumper != r.jump) return false;
    const int age = h.age(d);
    if (age < r.minAge || age > r.maxAge) return false;
    if (r.fillies && h.sex != '2') return false;
    if (d - h.lastRun < 13) return false;
    if (r.local) return true;
    if (r.jump) return (r.jyoken == "703") == (h.jumpWins == 0);
    if (r.level == 0) return h.starts == 0;
    if (r.level <= 4) return h.wins == levelWinsMin(r.level);
    const bool young = r.syubetu == "11" || r.syubetu == "12";
    return h.wins >= (young ? 1 : 4);
}

// Enters the race's runners from the horses not busy that day, the likeliest
// first; false (nobody entered) when fewer than five would run.
bool enter(Race& r, Rng& rng, const std::vector<Horse>& horses, std::vector<char>& busy) {
    const Day d = r.day;
    const bool jpn = r.local && (r.grade == 'A' || r.grade == 'B' || r.grade == 'C');
    struct Candidate {
        double score;
        int horse;
    };
    std::vector<Candidate> cands;
    for (std::size_t i = 0; i < horses.size(); ++i) {
        const Horse& h = horses[i];
        if (busy[i] || !eligible(h, r, d, jpn)) continue;
        const int rest = d - h.lastRun;
        double score = rng.uniform() * 1.2 + std::min(1.0, (rest - 13) / 40.0) * 0.8;
        if (!r.jump && !r.local) score += (r.turf() ? h.turf : -h.turf) * 0.7;
        score -= std::abs(r.kyori - h.distance) / 800.0;
        if (r.level >= 5) score += 0.9 * h.ability;
        if (r.local && r.level < 5) score -= std::abs(h.ability + 1.6 - 0.8 * r.level) * 0.8;  // ability bands
        if (jpn && !h.local) score += 2.0;
        cands.push_back({score, static_cast<int>(i)});
    }
    std::sort(cands.begin(), cands.end(), [](const Candidate& a, const Candidate& b) {
        return a.score != b.score ? a.score > b.score : a.horse < b.horse;
    });
    if (jpn) {  // at most five runners from the central tracks, the rest local
        std::vector<Candidate> mixed;
        int fromCentral = 0;
        for (const Candidate& x : cands) {
            if (!horses[static_cast<std::size_t>(x.horse)].local && ++fromCentral > 5) continue;
            mixed.push_back(x);
        }
        cands = std::move(mixed);
    }
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(r.target), cands.size());
    if (n < 5) return false;
    for (std::size_t k = 0; k < n; ++k) {
        Runner ru;
        ru.horse = cands[k].horse;
        busy[static_cast<std::size_t>(ru.horse)] = 1;
        r.runners.push_back(ru);
    }
    return true;
}

// Frames and horse numbers of the runners in their drawn order.
void numberRunners(std::vector<Runner>& runners) {
    const int n = static_cast<int>(runners.size());
    const int basePer = n / 8, extra = n % 8;
    int uma = 1;
    for (int waku = 1; waku <= 8 && uma <= n; ++waku) {
        const int inFrame = n <= 8 ? 1 : basePer + (waku > 8 - extra ? 1 : 0);
        for (int k = 0; k < inFrame && uma <= n; ++k, ++uma) {
            runners[static_cast<std::size_t>(uma - 1)].uma = uma;
            runners[static_cast<std::size_t>(uma - 1)].waku = waku;
        }
    }
}

// The weight a horse carries (tenths of a kilogram): by age, sex and the
// race's weight rule, less the apprentice allowance of its jockey.
int weightCarried(const Race& r, const Horse& h, const Jockey& jk) {
    const int age = h.age(r.day);
    int futan;
    if (r.jump) futan = 600;
    else if (age == 2) futan = 550;
    else if (age == 3 && (r.syubetu == "12")) futan = r.day.month() <= 6 ? 560 : 570;
    else if (age == 3) futan = 550;
    else futan = 570;
    if (h.sex == '2') futan -= 20;
    if (r.jyuryo == '1') futan = std::clamp(530 + static_cast<int>(std::lround(h.ability * 15)) / 5 * 5, 490, 590);
    if (r.jyuryo == '2') futan += std::min(30, 10 * std::max(0, h.wins - levelWinsMin(r.level) - 1));
    if (jk.minarai != '0' && r.grade == ' ' && (r.jyuryo == '3' || r.jyuryo == '4')) futan -= 10 * (jk.minarai - '0');
    return futan;
}

// Draw, jockeys, weights carried and body weights of an entered race.
void saddle(Race& r, Rng& rng, const World& w, std::map<std::string, std::vector<int>>& pools) {
    const int n = static_cast<int>(r.runners.size());
    rng.shuffle(r.runners);
    numberRunners(r.runners);
    std::vector<int> pool = pools[r.jyo];
    if (pool.empty()) pool = pools["central"];
    std::vector<std::pair<double, int>> js;
    for (const int j : pool)
        js.push_back({w.jockeys[static_cast<std::size_t>(j)].skill + rng.normal(0, 0.8) + (r.jump && w.jockeys[static_cast<std::size_t>(j)].jumps ? 5 : 0), j});
    std::sort(js.begin(), js.end(), [](const auto& a, const auto& b) { return a.first != b.first ? a.first > b.first : a.second < b.second; });
    // The better horses get the better jockeys.
    std::vector<std::pair<double, int>> order;
    for (int k = 0; k < n; ++k) {
        const Horse& h = w.horses[static_cast<std::size_t>(r.runners[static_cast<std::size_t>(k)].horse)];
        order.push_back({h.ability + rng.normal(0, 0.7), k});
    }
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first != b.first ? a.first > b.first : a.second < b.second; });
    const std::vector<int>& centralJockeys = pools["central"];
    for (int k = 0; k < n; ++k) {
        Runner& ru = r.runners[static_cast<std::size_t>(order[static_cast<std::size_t>(k)].second)];
        const Horse& h = w.horses[static_cast<std::size_t>(ru.horse)];
        if (r.local && !h.local && !centralJockeys.empty()) {  // a central horse brings its jockey
            ru.jockey = centralJockeys[static_cast<std::size_t>(k) % centralJockeys.size()];
        } else {
            ru.jockey = js[static_cast<std::size_t>(k) % js.size()].second;
        }
        ru.futan = weightCarried(r, h, w.jockeys[static_cast<std::size_t>(ru.jockey)]);
        ru.firstStart = h.starts == 0;
        ru.weight = static_cast<int>(std::lround(h.bodyWeight + rng.normal(0, 4)));
        ru.diff = h.lastWeight > 0 ? ru.weight - h.lastWeight : 0;
    }
    std::sort(r.runners.begin(), r.runners.end(), [](const Runner& a, const Runner& b) { return a.uma < b.uma; });
}

}  // namespace

std::string Race::key() const { return day.text() + jyo + zpad(num, 2); }

std::vector<Race> World::programDay(Day d, bool mustRace) {
    Rng rng(mix(seed, 0x960a, static_cast<std::uint64_t>(d.n)));
    const DayTracks tracks = tracksOf(d, mustRace);
    const std::vector<std::string> all = tracks.all();
    std::vector<Race> races;
    for (std::size_t t = 0; t < all.size(); ++t) {
        std::vector<Race> day = TrackDay(rng, seed, d, all[t], t).races();
        races.insert(races.end(), std::make_move_iterator(day.begin()), std::make_move_iterator(day.end()));
    }
    if (races.empty()) return races;

    std::map<std::string, std::vector<int>> pools = jockeyPools(rng, jockeys, tracks);
    // Runners, race by race; a horse runs at most once a day.
    std::vector<char> busy(horses.size(), 0);
    std::vector<Race> kept;
    for (Race& r : races)
        if (enter(r, rng, horses, busy) || (!r.local && toWinClass(r) && enter(r, rng, horses, busy))) kept.push_back(std::move(r));
    // Race numbers follow one another again at each track.
    std::map<std::string, int> numbers;
    for (Race& r : kept) r.num = ++numbers[r.jyo];
    for (Race& r : kept) saddle(r, rng, *this, pools);
    return kept;
}

}  // namespace tarvo::worldgen
