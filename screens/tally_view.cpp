#include "tally_view.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <span>
#include <tuple>

#include "code_tables.h"
#include "cp932.h"
#include "dtlist_view.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "race_eval.h"
#include "record_io.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo {
namespace {

// Race grid columns.
enum RaceCol : std::size_t {
    cDate, cTrack, cJyo, cRaceNum, cName, cTosu, cCourse, cGoing,
    cCombos, cAxis, cHit, cPay, cBalance, cReturn, cAge, cClass
};
constexpr std::size_t kSummaryBalanceCol = 7;
constexpr std::size_t kMaxMonthDays = 170;

std::string raField(std::string_view line, std::string_view name) {
    return trimBoth(getField(Family::RA, line, name));
}
std::string seField(std::string_view line, std::string_view name) {
    return trimBoth(getField(Family::SE, line, name));
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

long long cellNumber(const std::string& s) {
    long long n = 0;
    return parseInt(s, n) ? n : 0;
}

// The tracks of the track filter.
std::vector<std::string> filterTracks(const std::string& track) {
    struct Group {
        const char* name;
        std::vector<const char*> codes;
    };
    static const Group groups[] = {{"関東", {"05", "06"}},
                                   {"関西", {"08", "09"}},
                                   {"札函", {"01", "02"}},
                                   {"福新", {"03", "04"}},
                                   {"中４", {"05", "06", "08", "09"}},
                                   {"地６", {"01", "02", "03", "04", "07", "10"}},
                                   {"名小", {"07", "10"}}};
    const std::string t = trimBoth(track);
    if (t.empty() || t == sj("全場"))
        return {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"};
    for (const Group& g : groups)
        if (t == sj(g.name)) return {g.codes.begin(), g.codes.end()};
    return {trackCode(t)};
}

// The class text of a race.
std::string classText(std::string_view jyokenCD5, std::string_view gradeCD, bool jump) {
    if (jyokenCD5 == "701" || jyokenCD5 == "702") return sj("新馬");
    if (jyokenCD5 == "703") return jump ? sj("障未") : sj("未勝");
    if (jyokenCD5 == "999") {
        static const std::pair<const char*, const char*> flat[] = {{"A", "Ｇ１"}, {"B", "Ｇ２"}, {"C", "Ｇ３"}, {"D", "重賞"}};
        static const std::pair<const char*, const char*> jumps[] = {{"D", "障重"}, {"F", "J_G1"}, {"G", "J_G2"}, {"H", "J_G3"}};
        for (const auto& [code, name] : jump ? std::span(jumps) : std::span(flat))
            if (gradeCD == code) return sj(name);
        return jump ? sj("障OP") : sj("ＯＰ");
    }
    return twoDigits(toIntDef(jyokenCD5, 0)) + "00";
}

std::string ageClassText(std::string_view syubetuCD) {
    static const std::pair<const char*, const char*> ages[] = {{"11", "２歳"}, {"12", "３歳"}, {"13", "３上"}, {"14", "４上"}};
    for (const auto& [code, name] : ages)
        if (syubetuCD == code) return sj(name);
    return {};
}

// The going name for the race's surface.
std::string raceGoing(std::string_view ra, std::string_view courseKey) {
    const std::string siba = raField(ra, "SibaBabaCD"), dirt = raField(ra, "DirtBabaCD");
    if (startsWith(courseKey, sj("芝"))) return goingName(siba);
    if (startsWith(courseKey, sj("ダ"))) return goingName(dirt);
    if (startsWith(courseKey, sj("障"))) return goingName(raField(ra, "TrackCD") == "52" ? dirt : siba);
    return "--";
}

bool anyTicked(std::span<const bool> ticked, std::span<const TallyBox> boxes, const std::string& caption) {
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (ticked[i] && caption == sj(boxes[i].caption)) return true;
    return false;
}

bool passesFilter(const TallyOptions& o, std::string_view ra, const std::string& courseKey, const std::string& going) {
    const std::string jyoken = raField(ra, "JyokenCD5"), grade = raField(ra, "GradeCD");
    const std::string syubetu = raField(ra, "SyubetuCD");
    const int c = toIntDef(jyoken, 0);
    const bool classes[] = {jyoken == "701" || jyoken == "702",
                            jyoken == "703",
                            c >= 1 && c <= 5,
                            c >= 6 && c <= 10,
                            c >= 11 && c <= 16,
                            jyoken == "999" && (grade == "E" || grade.empty()),
                            grade == "C" || grade == "H",
                            grade == "B" || grade == "G",
                            grade == "A" || grade == "F",
                            grade == "D"};
    const bool ages[] = {syubetu == "11", syubetu == "12", syubetu == "13" || syubetu == "18",
                         syubetu == "14" || syubetu == "19"};
    bool classOk = false, ageOk = false;
    for (std::size_t i = 0; i < o.classes.size(); ++i) classOk = classOk || (o.classes[i] && classes[i]);
    for (std::size_t i = 0; i < o.ages.size(); ++i) ageOk = ageOk || (o.ages[i] && ages[i]);
    const int distance = toIntDef(part(courseKey, 2, 4), 0);
    const bool courseOk = distance >= toIntDef(o.distFrom, 0) && distance <= toIntDef(o.distTo, 0) &&
                          anyTicked(o.surfaces, kTallySurfaceBoxes, std::string(part(courseKey, 0, 2)));
    return classOk && ageOk && courseOk && anyTicked(o.goings, kTallyGoingBoxes, going);
}

// The period's central RA month files, year by year.
std::vector<std::string> periodFiles(const StorePaths& p, const std::string& from, const std::string& to) {
    std::vector<std::string> files;
    const std::string fromMonth = from.substr(0, 6), toMonth = to.substr(0, 6);
    for (int y = toIntDef(from.substr(0, 4), 0); y <= toIntDef(to.substr(0, 4), 0); ++y)
        for (const std::string& f : walkDirectory(p.root() + "RA/" + std::to_string(y) + "/", "*A.dat", false)) {
            const std::string name = std::filesystem::path(f).filename().string();
            const std::string month = name.substr(2, 6);
            if (month >= fromMonth && month <= toMonth) files.push_back(f);
        }
    return files;
}

std::size_t recordCount(const std::vector<std::string>& files) {
    std::size_t total = 0;
    const std::size_t length = layoutOf(Family::RA).lineLength;
    for (const std::string& f : files) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(f, ec);
        if (!ec) total += static_cast<std::size_t>(size) / length;
    }
    return total;
}

// The race's runners with a horse number, in file order.
std::vector<std::string> tallyRunners(const StorePaths& p, const RaceKey& race) {
    std::vector<std::string> lines;
    const std::vector<KeyPart> key{{"Year", race.year}, {"MonthDay", race.monthDay}, {"JyoCD", race.jyoCD},
                                   {"RaceNum", race.raceNum}};
    scanMatching(p.file(Family::SE, race), Family::SE, key, [&](std::string_view line) {
        if (getField(Family::SE, line, "Umaban") != "00") lines.emplace_back(line);
        return true;
    });
    return lines;
}

// The payout of the combinations bought: every stored payout whose
// combination equals one of them, so that a dead heat pays each share.
long long payoutOf(const std::string& hr, TallyBet bet, const std::vector<std::string>& combos) {
    if (hr.empty()) return 0;
    const auto [kumi, pay, count] = bet == TallyBet::Tansho   ? std::tuple("PayTansyoUmaban", "PayTansyoPay", 3)
                                    : bet == TallyBet::Umaren ? std::tuple("PayUmarenKumi", "PayUmarenPay", 3)
                                                              : std::tuple("PayUmatanKumi", "PayUmatanPay", 6);
    long long sum = 0;
    for (int n = 1; n <= count; ++n) {
        const std::string stored = trimBoth(getField(Family::HR, hr, kumi + std::to_string(n)));
        if (std::find(combos.begin(), combos.end(), stored) != combos.end())
            sum += cellNumber(trimBoth(getField(Family::HR, hr, pay + std::to_string(n))));
    }
    return sum;
}

// The axis horse's finish: its status first, so that a runner that did not
// finish shows why rather than the position stored for it.
std::string axisFinish(std::string_view se) {
    const std::string ijyo = seField(se, "IJyoCD");
    if (ijyo == "2" || ijyo == "3") return sj("除");
    if (ijyo == "4") return sj("止");
    if (ijyo == "5") return sj("失");
    const int pos = toIntDef(seField(se, "KakuteiJyuni"), 0);
    if (ijyo != "1" && pos >= 1 && pos <= 98) return std::to_string(pos);
    return "--";
}

// Evaluates a race into its grid row and the totals.
void evaluateInto(const EvalSource& src, const TallyOptions& o, const RaceKey& race, std::string_view ra,
                  std::vector<std::string>& row, TallyResult& r) {
    const std::vector<std::string> runners = tallyRunners(src.paths, race);
    if (runners.empty()) return;
    std::vector<std::string> marks;
    if (o.userMarks) {
        for (const std::string& se : runners) marks.push_back(seField(se, "UserYoso"));
    } else {
        const std::string syubetu = raField(ra, "SyubetuCD"), jyoken = raField(ra, "JyokenCD5");
        const std::string grade = raField(ra, "GradeCD"), jyuryo = raField(ra, "JyuryoCD");
        const RaceEvalCall call{kTallyCaller, race, syubetu, jyoken, grade, jyuryo, row[cCourse], row[cGoing]};
        const RunnerTable& t = evaluateRace(src, call, runners);
        for (const std::string& m : t.marks[kSlotPcMark]) marks.push_back(trimBoth(m));
    }

    const auto axisAt = std::find(marks.begin(), marks.end(), sj("◎"));
    std::vector<std::string> combos;
    std::string axisPos = "--";
    if (axisAt != marks.end()) {
        const std::size_t a = static_cast<std::size_t>(axisAt - marks.begin());
        const std::string axis(getField(Family::SE, runners[a], "Umaban"));
        axisPos = axisFinish(runners[a]);
        if (o.bet == TallyBet::Tansho) combos.push_back(axis);
        else
            for (std::size_t i = 0; i < runners.size(); ++i) {
                if (marks[i].empty() || i == a || marks[i] == sj("◎")) continue;
                const std::string u(getField(Family::SE, runners[i], "Umaban"));
                const bool smaller = o.bet == TallyBet::Umaren && toIntDef(u, 0) < toIntDef(axis, 0);
                combos.push_back(smaller ? u + axis : axis + u);
            }
    }
    row[cAxis] = axisPos;
    if (combos.empty()) {
        row[cCombos] = row[cHit] = "--";
        row[cPay] = row[cBalance] = row[cReturn] = "---";
        return;
    }
    const long long cost = static_cast<long long>(combos.size()) * 100;
    const long long pay = payoutOf(findPayout(src.paths, race), o.bet, combos);
    row[cCombos] = std::to_string(combos.size());
    row[cBalance] = std::to_string(pay - cost);
    row[cReturn] = tallyRate(pay, cost);
    ++r.predicted;
    r.bought += cost;
    const bool axisPlaced = axisPos == "1" || (axisPos == "2" && o.bet != TallyBet::Umatan);
    if (axisPlaced) ++r.axis;
    if (pay > 0) {
        row[cHit] = sj("○");
        row[cPay] = std::to_string(pay);
        ++r.hits;
        r.paid += pay;
        r.maxPay = std::max(r.maxPay, pay);
    } else {
        row[cHit] = sj("×");
        row[cPay] = "0";
    }
}

// --- Summaries -------------------------------------------------------------

struct Group {
    std::string label;
    int races = 0, hits = 0, axis = 0;
    long long bought = 0, paid = 0, maxPay = 0;

    void add(const std::vector<std::string>& row) {
        ++races;
        if (row[cHit] == sj("○")) ++hits;
        if (row[cAxis] == "1" || row[cAxis] == "2") ++axis;
        bought += cellNumber(row[cCombos]) * 100;
        const long long pay = cellNumber(row[cPay]);
        paid += pay;
        maxPay = std::max(maxPay, pay);
    }
    std::vector<std::string> cells() const {
        return {label,
                std::to_string(races),
                std::to_string(hits),
                tallyRate(axis, races),
                tallyRate(hits, races),
                std::to_string(bought),
                std::to_string(paid),
                std::to_string(paid - bought),
                bought > 0 ? tallyRate(paid, bought) : tallyRate(0, 1),
                std::to_string(maxPay)};
    }
};

// The groups of the races by a key (-1 for no group) in key order, labelled by name(key).
std::vector<std::vector<std::string>> summary(const std::vector<std::vector<std::string>>& races, int groups,
                                              const std::function<int(const std::vector<std::string>&)>& key,
                                              const std::function<std::string(int)>& name) {
    std::vector<Group> g(static_cast<std::size_t>(groups));
    for (const auto& row : races)
        if (const int k = key(row); k >= 0 && k < groups) g[static_cast<std::size_t>(k)].add(row);
    std::vector<std::vector<std::string>> rows;
    for (int k = 0; k < groups; ++k) {
        Group& one = g[static_cast<std::size_t>(k)];
        if (one.races == 0) continue;
        one.label = name(k);
        rows.push_back(one.cells());
    }
    return rows;
}

std::vector<std::vector<std::string>> dateSummary(const std::vector<std::vector<std::string>>& races) {
    std::vector<std::vector<std::string>> rows;
    Group g;
    for (std::size_t i = 0; i < races.size(); ++i) {
        if (i > 0 && races[i][cDate] != races[i - 1][cDate]) {
            rows.push_back(g.cells());
            g = Group{};
        }
        g.label = races[i][cDate];
        g.add(races[i]);
    }
    if (g.races > 0) rows.push_back(g.cells());
    return rows;
}

constexpr const char* kClassGroups[] = {"新馬", "未勝利", "500万", "1000万", "1600万", "OPEN",
                                        "他重賞", "Ｇ３", "Ｇ２", "Ｇ１", "障未勝", "障OPEN",
                                        "障重賞", "障JG3", "障JG2", "障JG1"};

int classGroup(const std::vector<std::string>& row) {
    static const std::pair<const char*, int> named[] = {{"新馬", 0}, {"未勝", 1}, {"ＯＰ", 5}, {"重賞", 6},
                                                        {"Ｇ３", 7}, {"Ｇ２", 8}, {"Ｇ１", 9}, {"障未", 10},
                                                        {"障OP", 11}, {"障重", 12}, {"J_G3", 13}, {"J_G2", 14},
                                                        {"J_G1", 15}};
    const std::string& c = row[cClass];
    for (const auto& [text, rank] : named)
        if (c == sj(text)) return rank;
    long long n = 0;
    if (!parseInt(c, n) || n < 1) return -1;
    return n <= 500 ? 2 : n <= 1000 ? 3 : 4;
}

struct Band {
    const char* surface;
    int lower;
    const char* label;
};
constexpr Band kBands[] = {{"芝", 1000, "芝1000～1399"}, {"芝", 1400, "芝1400～1799"}, {"芝", 1800, "芝1800～2199"},
                           {"芝", 2200, "芝2200～2599"}, {"芝", 2600, "芝2600～"},     {"ダ", 1000, "ダ1000～1399"},
                           {"ダ", 1400, "ダ1400～1799"}, {"ダ", 1800, "ダ1800～2199"}, {"ダ", 2200, "ダ2200～"},
                           {"障", 1000, "障1000～2999"}, {"障", 3000, "障3000～3999"}, {"障", 4000, "障4000～"}};

// The band of a race: the last band of its surface whose lower bound it reaches.
int distanceBand(const std::vector<std::string>& row) {
    const std::string surface(part(row[cCourse], 0, 2));
    const int d = toIntDef(part(row[cCourse], 2, 4), 0);
    int band = -1;
    for (std::size_t i = 0; i < std::size(kBands); ++i)
        if (surface == sj(kBands[i].surface) && d >= kBands[i].lower) band = static_cast<int>(i);
    return band;
}

constexpr std::size_t kSummaryColumns = 10;

struct ListLayout {
    std::vector<const char*> headers;  // grid header row (UTF-8)
    const char* csvHeader;
    std::vector<std::size_t> csvColumns;
};

const ListLayout& listLayout(std::string_view grid) {
    static const std::vector<const char*> summaryRest = {"ﾚｰｽ数", "的中数", "軸連率", "的中率", "購入",
                                                         "払戻",   "収支",   "回収率", "最高配当"};
    auto summaryHeaders = [&](const char* first) {
        std::vector<const char*> h{first};
        h.insert(h.end(), summaryRest.begin(), summaryRest.end());
        return h;
    };
    const std::vector<std::size_t> all{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    static const ListLayout layouts[] = {
        {{"日付", "場名", "Jcd", "No", "レース名", "頭", " 距離", "状", "点", "軸", "当", "配当", "収支", "回収率",
          "年齢", "クラス"},
         "日付,場名,No,レース名,頭,距離,状,点,軸,当,配当,収支,回収率",
         {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {summaryHeaders("日付"), "日付,レース数,的中数,軸連率,的中率,購入,払戻,収支,回収率,最高配当", all},
        {summaryHeaders(" 競馬場"), "競馬場,レース数,的中数,軸連率,的中率,購入,払戻,収支,回収率,最高配当", all},
        {summaryHeaders(" クラス"), "クラス,レース数,的中数,軸連率,的中率,購入,払戻,収支,回収率,最高配当", all},
        {summaryHeaders(" 距離"), "距離,レース数,的中数,軸連率,的中率,購入,払戻,収支,回収率,最高配当", all}};
    for (std::size_t i = 0; i < std::size(kTallyLists); ++i)
        if (grid == kTallyLists[i].grid) return layouts[i];
    return layouts[0];
}

bool isTallyGrid(std::string_view grid) {
    return std::any_of(std::begin(kTallyLists), std::end(kTallyLists),
                       [&](const TallyList& l) { return grid == l.grid; });
}

// A CSV cell: trimmed; quoted, its double quotes doubled, when it holds a comma or a double quote.
std::string csvCell(const std::string& text) {
    const std::string t = trimBoth(text);
    if (t.find_first_of(",\"") == std::string::npos) return t;
    return "\"" + replaceAll(t, "\"", "\"\"") + "\"";
}

}  // namespace

std::string tallyRate(long long num, long long den) {
    const bool negative = (num < 0) != (den < 0) && num != 0;
    const long long n = num < 0 ? -num : num, d = den < 0 ? -den : den;
    const long long tenths = (n * 2000 + d) / (2 * d);  // n ÷ d × 1000, half away from zero
    return (negative ? "-" : "") + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::vector<std::string> tallyMonthDays(const StorePaths& p, std::string_view year) {
    std::vector<std::string> days;
    for (const std::string& f : walkDirectory(p.root() + "RA/" + std::string(year) + "/", "*A.dat", false)) {
        forEachLine(f, [&](std::string_view ra) {
            const std::string kubun = raField(ra, "DataKubun");
            if (kubun == "0" || kubun == "9" || !isCentralTrack(raField(ra, "JyoCD"))) return true;
            const std::string md = raField(ra, "MonthDay");
            const std::string shown = std::string(part(md, 0, 2)) + "/" + std::string(part(md, 2, 2));
            if (std::find(days.begin(), days.end(), shown) == days.end()) days.push_back(shown);
            return days.size() < kMaxMonthDays;
        });
        if (days.size() >= kMaxMonthDays) break;
    }
    return days;
}

std::string tallyDate(std::string_view year, std::string_view mday) { return std::string(year) + replaceAll(mday, "/", ""); }

std::string tallyPeriodMessage(std::string_view frYear, std::string_view frMday, std::string_view toYear,
                               std::string_view toMday) {
    if (frYear.empty() || frMday.empty() || toYear.empty() || toMday.empty())
        return sj("「開始日」と「終了日」を指定してください");
    if (tallyDate(toYear, toMday) < tallyDate(frYear, frMday))
        return sj("「開始日」が「終了日」より後の日付になっています");
    return {};
}

std::string tallyRateLabel(TallyBet bet) { return bet == TallyBet::Umatan ? sj("軸勝率") : sj("軸連率"); }

TallyResult runTally(const EvalSource& src, const TallyOptions& o, const TallyHooks& hooks) {
    TallyResult r;
    const StorePaths& p = src.paths;
    const std::vector<std::string> tracks = filterTracks(o.track);
    const std::vector<std::string> files = periodFiles(p, o.from, o.to);
    const std::size_t total = recordCount(files);
    std::size_t done = 0;
    // Runners of one day's races share many past meetings: keep the day's reads.
    std::optional<ReadCacheScope> dayCache;
    std::string cachedDay;

    for (const std::string& file : files) {
        dayCache.reset();  // the month file itself is read outside the cache, which a new day clears
        cachedDay.clear();
        forEachLine(file, [&](std::string_view ra) {
            if (hooks.stop && hooks.stop()) {
                r.cancelled = true;
                return false;
            }
            if (hooks.bar) hooks.bar(++done, total);
            const std::string kubun = raField(ra, "DataKubun");
            const RaceKey race = RaceKey::of(Family::RA, ra);
            const std::string date = race.date();
            if ((kubun != "6" && kubun != "7") || date < o.from || date > o.to) return true;
            std::vector<std::string> row(kTallyRaceColumns);
            row[cCourse] = courseKey(raField(ra, "TrackCD"), raField(ra, "Kyori"));
            row[cGoing] = raceGoing(ra, row[cCourse]);
            if (!passesFilter(o, ra, row[cCourse], row[cGoing]) ||
                std::find(tracks.begin(), tracks.end(), race.jyoCD) == tracks.end())
                return true;

            const std::string syubetu = raField(ra, "SyubetuCD"), jyoken = raField(ra, "JyokenCD5");
            row[cDate] = date;
            row[cTrack] = trackName(race.jyoCD);
            row[cJyo] = race.jyoCD;
            row[cRaceNum] = race.raceNum;
            row[cName] = raField(ra, "Ryakusyo10");
            if (row[cName].empty()) row[cName] = classNameShort(syubetu, jyoken, date);
            row[cTosu] = raField(ra, "SyussoTosu");
            row[cAge] = ageClassText(syubetu);
            row[cClass] = classText(jyoken, raField(ra, "GradeCD"), startsWith(row[cCourse], sj("障")));
            r.lastText = date + " " + row[cTrack] + " " + race.raceNum + " " + row[cName];
            if (hooks.raceText) hooks.raceText(r.lastText);

            if (date != cachedDay) {
                dayCache.reset();
                dayCache.emplace();
                cachedDay = date;
            }
            evaluateInto(src, o, race, ra, row, r);
            r.races.push_back(std::move(row));
            return true;
        });
        if (r.cancelled) break;
    }
    for (const std::size_t col : {cRaceNum, cJyo, cDate})
        std::stable_sort(r.races.begin(), r.races.end(),
                         [col](const auto& a, const auto& b) { return a[col] < b[col]; });
    return r;
}

ScreenView tallyScreen(const TallyOptions& o, const TallyResult& r) {
    ScreenView v;
    v.caption = sj("予想結果の集計");
    const bool any = !r.races.empty();
    const std::string none = "--.-";
    v.labels = {{"stxtExec", r.lastText},
                {"lbl_rate", tallyRateLabel(o.bet)},
                {"stxtRaceCnt", std::to_string(r.races.size())},
                {"stxtYosoCnt", std::to_string(r.predicted)},
                {"stxtHitNum", std::to_string(r.hits)},
                {"stxtRate", r.predicted > 0 ? tallyRate(r.axis, r.predicted) : none},
                {"stxtHitRate", r.predicted > 0 ? tallyRate(r.hits, r.predicted) : none},
                {"stxtBuySum", std::to_string(r.bought)},
                {"stxtPaySum", std::to_string(r.paid)},
                {"stxtMaxPay", std::to_string(r.maxPay)},
                {"stxtRcvRate", r.bought > 0 ? tallyRate(r.paid, r.bought) : none}};

    std::vector<std::vector<std::string>> lists[std::size(kTallyLists)];
    lists[0] = r.races;
    if (any) {
        lists[1] = dateSummary(r.races);
        lists[2] = summary(
            r.races, 11, [](const auto& row) { return toIntDef(row[cJyo], -1); },
            [](int k) { return " " + trackName(twoDigits(k)); });
        lists[3] = summary(r.races, static_cast<int>(std::size(kClassGroups)), classGroup,
                           [](int k) { return " " + sj(kClassGroups[k]); });
        lists[4] = summary(r.races, static_cast<int>(std::size(kBands)), distanceBand,
                           [](int k) { return " " + sj(kBands[k].label); });
    }
    for (std::size_t i = 0; i < std::size(kTallyLists); ++i) {
        ScreenView::GridRows g{kTallyLists[i].grid, {}};
        std::vector<std::string> header;
        for (const char* h : tallyGridHeaders(g.name)) header.push_back(sj(h));
        g.rows.push_back(std::move(header));
        for (auto& row : lists[i]) g.rows.push_back(std::move(row));
        if (g.rows.size() == 1) g.rows.emplace_back(i == 0 ? kTallyRaceColumns : kSummaryColumns);
        v.grids.push_back(std::move(g));
    }
    v.states = {{"mnuCsvOut", any}, {"btnCancel", false}};
    if (r.cancelled) v.messages.push_back(sj("集計が中止されました"));
    return v;
}

const std::vector<const char*>& tallyGridHeaders(std::string_view grid) { return listLayout(grid).headers; }

std::string raceVideoCaption(const StorePaths& p, const RaceKey& race) {
    const std::string ra = findRace(p, race);
    std::string title = raField(ra, "Ryakusyo6");
    if (title.empty()) title = classNameShort(raField(ra, "SyubetuCD"), raField(ra, "JyokenCD5"), race.date());
    return sj("レース動画を再生 [") + race.date() + "." + trackName(race.jyoCD) + race.raceNum + "R." + title +
           "] (&R)";
}

std::vector<ViewRow> tallyGridRows(const ScreenView::GridRows& grid) {
    const std::size_t balance = grid.name == kTallyLists[0].grid ? static_cast<std::size_t>(cBalance) : kSummaryBalanceCol;
    std::vector<ViewRow> rows;
    for (std::size_t r = 1; r < grid.rows.size(); ++r) {
        ViewRow row;
        for (std::size_t c = 0; c < grid.rows[r].size(); ++c) {
            const std::string& text = grid.rows[r][c];
            Ink ink = Ink::Black;
            long long n = 0;
            if (c == balance && parseInt(text, n)) ink = n > 0 ? Ink::Blue : n < 0 ? Ink::Red : Ink::Black;
            row.push_back({text, ink});
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::string> tallyCsv(const ScreenView& view, std::string_view grid) {
    if (!isTallyGrid(grid)) return std::nullopt;
    const ListLayout& layout = listLayout(grid);
    std::string out = sj(layout.csvHeader) + "\r\n";
    for (const auto& g : view.grids) {
        if (g.name != grid) continue;
        for (std::size_t r = 1; r < g.rows.size(); ++r) {
            std::string line;
            for (std::size_t i = 0; i < layout.csvColumns.size(); ++i) {
                const std::size_t c = layout.csvColumns[i];
                line += (i ? "," : "") + csvCell(c < g.rows[r].size() ? g.rows[r][c] : std::string());
            }
            out += line + "\r\n";
        }
    }
    return out;
}

std::optional<RaceKey> tallyRowRace(const ScreenView& view, std::size_t row) {
    for (const auto& g : view.grids) {
        if (g.name != kTallyLists[0].grid || row == 0 || row >= g.rows.size()) continue;
        const auto& cells = g.rows[row];
        if (trimBoth(cells[cName]).empty() || cells[cDate].size() != 8) return std::nullopt;
        return RaceKey(cells[cDate].substr(0, 4), cells[cDate].substr(4, 4), cells[cJyo], cells[cRaceNum]);
    }
    return std::nullopt;
}

}  // namespace tarvo
