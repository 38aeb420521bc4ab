#include "horse_view.h"

#include <array>
#include <cstdio>

#include "code_tables.h"
#include "cp932.h"
#include "fsys.h"
#include "lookups.h"
#include "record_io.h"
#include "run_index.h"
#include "store_paths.h"
#include "textfn.h"
#include "time_calc.h"
#include "track_variant.h"
#include "um_index.h"

namespace tarvo {
namespace {

constexpr const char* kHeaders[kHrColumns] = {
    " 日付", "場名", "Ｒ", "天", "レース名", "", "頭", "馬", "人", "着", " 騎手", " 距離",
    "状", "Time", "着差", "斤", "前", " 上3F", " 位置", "体重", "幅", "RW", "LS",
};

constexpr const char* kNoRunList = "**-**-**-**";

bool anyOf(std::string_view s, std::initializer_list<std::string_view> values) {
    for (std::string_view v : values)
        if (s == v) return true;
    return false;
}

// Openers from the race card: runs on or after its date are hidden, prize money is that of its CK record.
bool fromRaceCard(const std::string& tag) { return tag == sj("通常") || tag == sj("服色"); }

std::string_view surfaceOf(std::string_view courseKey) { return part(courseKey, 0, 2); }

// Tenths as seconds with one decimal ("35.2", "-0.4").
std::string secondsText(int tenths) {
    const int a = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
}

// Futan (tenths of a kilogram) in the shortest decimal form: 57, 55.5.
std::string weightText(std::string_view futan) {
    const int t = toIntDef(trimBoth(futan), 0);
    return t % 10 == 0 ? std::to_string(t / 10) : secondsText(t);
}

// Prize money in hundreds of yen as whole 10,000 yen, rounded.
std::string prizeText(std::string_view hundreds) {
    return std::to_string(roundHalfAway(static_cast<long double>(toIntDef(trimBoth(hundreds), 0)) / 100));
}

// The cells an abnormal run clears, by its IJyoCD.
struct Abnormal {
    std::string_view code;
    const char* mark;
    bool popularity, bodyWeight, times;  // 人; 体重 and 幅; Time, 着差, 前, 上3F, RW, LS
    bool corners;                        // 位置
};
constexpr Abnormal kAbnormal[] = {
    {"1", "消", true, true, true, true},
    {"2", "除", true, false, true, true},
    {"3", "除", true, false, true, true},
    {"4", "止", false, false, true, false},
    {"5", "失", false, false, false, false},
};
const Abnormal* abnormalOf(std::string_view iJyoCD) {
    for (const Abnormal& a : kAbnormal)
        if (a.code == iJyoCD) return &a;
    return nullptr;
}

// ---- Place counts ----

struct Counts {
    std::array<int, 4> n{};
    void add(int place) { ++n[static_cast<std::size_t>(place < 4 ? place - 1 : 3)]; }
    std::string text() const {
        std::string out;
        for (int v : n) out += (out.empty() ? "" : "-") + padLeft(std::to_string(v), 2);
        return out;
    }
};

enum Category { kAll, kCentral, kTurf, kTurfRight, kTurfLeft, kTurfHeavy, kDirt, kDirtRight, kDirtLeft, kDirtHeavy,
                kSameCourse, kSameDistance, kCategories };
constexpr const char* kCategoryLabels[kCategories] = {
    "lbl_ChaSogo", "lbl_ChaChuo", "lbl_SibaSogo", "lbl_SibaRight", "lbl_SibaLeft", "lbl_SibaOmo",
    "lbl_DartSogo", "lbl_DartRight", "lbl_DartLeft", "lbl_DartOmo", "lbl_CrsChaku", "lbl_SameChaku",
};

// What the counts compare a run with: the race the screen was opened from.
struct Target {
    std::string jyoCD, courseKey;
    // The same-course and same-distance rows apply to a central turf or dirt race.
    bool shown() const {
        return isCentralTrack(jyoCD) && (surfaceOf(courseKey) == sj("芝") || surfaceOf(courseKey) == sj("ダ"));
    }
};

bool isTurf(int trackCD) { return trackCD >= 10 && trackCD <= 22; }
bool isDirt(int trackCD) { return trackCD >= 23 && trackCD <= 29; }

void count(std::array<Counts, kCategories>& c, const Target& target, std::string_view jyoCD, int trackCD,
           std::string_view place, std::string_view going, std::string_view courseKey) {
    const int p = toIntDef(trimBoth(place), 0);
    if (p <= 0) return;
    c[kAll].add(p);
    if (!isCentralTrack(jyoCD)) return;
    c[kCentral].add(p);
    const bool heavy = going == sj("重") || going == sj("不");
    if (isTurf(trackCD)) {
        c[kTurf].add(p);
        if (trackCD >= 17) c[kTurfRight].add(p);
        if (trackCD >= 11 && trackCD <= 16) c[kTurfLeft].add(p);
        if (heavy) c[kTurfHeavy].add(p);
    }
    if (isDirt(trackCD)) {
        c[kDirt].add(p);
        if (trackCD == 24 || trackCD == 26) c[kDirtRight].add(p);
        if (trackCD == 23 || trackCD == 25) c[kDirtLeft].add(p);
        if (heavy) c[kDirtHeavy].add(p);
    }
    const std::string_view surface = surfaceOf(target.courseKey);
    if (jyoCD == target.jyoCD && ((surface == sj("芝") && isTurf(trackCD)) || (surface == sj("ダ") && isDirt(trackCD))))
        c[kSameCourse].add(p);
    if (courseKey == target.courseKey) c[kSameDistance].add(p);
}

// ---- Past runs ----

// The horse's stored run of an entry: the first runner line of the day file
// with its date and pedigree number whose data kind is a result.
std::string resultRun(const StorePaths& paths, const RunEntry& e, std::string_view kettoNum) {
    const std::string_view year = part(e.date, 0, 4), monthDay = part(e.date, 4, 4);
    std::string found;
    scanMatching(paths.se(year, monthDay, e.jyoCD), Family::SE,
                 {{"Year", year}, {"MonthDay", monthDay}, {"KettoNum", kettoNum}}, [&](std::string_view line) {
                     if (!anyOf(getField(Family::SE, line, "DataKubun"), {"5", "6", "7", "A"})) return true;
                     found = line;
                     return false;
                 });
    return found;
}

std::string goingOf(std::string_view courseKey, std::string_view ra) {
    auto r = [&](std::string_view name) { return getField(Family::RA, ra, name); };
    const std::string_view surface = surfaceOf(courseKey);
    if (surface == sj("芝")) return goingName(r("SibaBabaCD"));
    if (surface == sj("ダ")) return goingName(r("DirtBabaCD"));
    if (surface == sj("障")) return goingName(r("TrackCD") == "52" ? r("DirtBabaCD") : r("SibaBabaCD"));
    return "--";
}

std::string weatherOf(std::string_view tenkoCD) {
    const std::string w = weatherName(tenkoCD);
    if (w == sj("小雨")) return sj("雨");
    if (w == sj("小雪")) return sj("雪");
    return w;
}

std::string cornersOf(std::string_view se) {
    std::string out;
    for (const char* name : {"Jyuni2c", "Jyuni3c", "Jyuni4c"}) {
        const std::string_view c = getField(Family::SE, se, name);
        out += c == "00" ? std::string("**") : std::string(c);
    }
    return out;
}

std::string weightChange(std::string_view se) {
    if (trimBoth(getField(Family::SE, se, "BaTaijyu")).empty()) return "--";
    const std::string_view sa = getField(Family::SE, se, "ZogenSa");
    if (sa == "999") return "**";
    return trimBoth(getField(Family::SE, se, "ZogenFugo")) + std::to_string(toIntDef(trimBoth(sa), 0));
}

// The run index of column 21, right-aligned in three characters.
std::string runIndexCell(const EvalSource& src, const RaceKey& race, std::string_view se, std::string_view ra,
                         const std::string& courseKey, std::string_view timeVariant) {
    auto f = [&](std::string_view name) { return getField(Family::SE, se, name); };
    if (f("Time") == "0000") return "**";
    const RaceRun run = raceRunOf(race, se, ra, courseKey);
    std::string index;
    if (surfaceOf(courseKey) == sj("障")) {
        index = steeplechaseIndex(src.paths, run);
    } else {
        index = runIndex(race.jyoCD, courseKey, f("Time"), timeVariant, f("Futan"));
        long long n = 0;
        if (!isCentralTrack(race.jyoCD) && !parseInt(index, n)) index = raceBasedIndex(src.paths, run);
    }
    return padLeft(index, 3);
}

ViewRow runRow(const EvalSource& src, const RaceKey& race, std::string_view se, std::string_view ra) {
    auto f = [&](std::string_view name) { return getField(Family::SE, se, name); };
    auto r = [&](std::string_view name) { return getField(Family::RA, ra, name); };
    const std::string courseKey = tarvo::courseKey(r("TrackCD"), r("Kyori"));
    const std::string variant = runVariant(src.paths, src.fileFolder, race, courseKey);

    std::vector<std::string> c(kHrColumns);
    c[0] = race.date();
    c[1] = trackName(race.jyoCD);
    c[2] = race.raceNum;
    c[3] = weatherOf(r("TenkoCD"));
    c[4] = trimBoth(r("Ryakusyo6"));
    if (c[4].empty()) c[4] = classNameShort(r("SyubetuCD"), r("JyokenCD5"), race.date());
    c[5] = race.text();
    c[6] = r("SyussoTosu");
    c[7] = f("Umaban");
    c[8] = f("Ninki");
    c[9] = f("KakuteiJyuni");
    c[10] = trimBoth(f("KisyuRyakusyo"));
    c[11] = courseKey;
    c[12] = goingOf(courseKey, ra);
    c[13] = f("Time");
    c[14] = f("TimeDiff");
    c[15] = weightText(f("Futan"));
    const int horse3F = toIntDef(trimBoth(f("HaronTimeL3")), 0);
    const int race3F = toIntDef(trimBoth(r("HaronTimeL3")), 0);
    const std::string race3FText = "(" + (race3F < 1 ? std::string("--.-") : secondsText(race3F)) + ")";
    const bool jump = surfaceOf(courseKey) == sj("障");
    if (horse3F < 1) {
        c[16] = "--.-";
        c[17] = "--.-" + race3FText;
        c[22] = "--";
    } else {
        c[16] = secondsText(frontPace(f("Time"), courseKey, f("HaronTimeL3")));
        c[17] = secondsText(horse3F) + race3FText;
        c[22] = jump ? std::string("--")
                     : last3fIndex(race.jyoCD, courseKey, f("Time"), part(variant, 4, 4), f("TimeDiff"), f("Futan"),
                                   f("HaronTimeL3"));
    }
    c[18] = cornersOf(se);
    c[19] = trimBoth(f("BaTaijyu")).empty() ? std::string("---") : std::string(f("BaTaijyu"));
    c[20] = weightChange(se);
    c[21] = runIndexCell(src, race, se, ra, courseKey, part(variant, 0, 4));

    if (const Abnormal* a = abnormalOf(f("IJyoCD"))) {
        c[9] = sj(a->mark);
        if (a->popularity) c[8] = "--";
        if (a->times) {
            c[13] = c[14] = "----";
            c[16] = c[17] = "--.-";
            c[21] = c[22] = "--";
        }
        if (a->corners) c[18] = "------";
        if (a->bodyWeight) {
            c[19] = "---";
            c[20] = "--";
        }
    }
    ViewRow row;
    for (std::string& text : c) row.push_back({std::move(text)});
    return row;
}

// ---- Profile ----

struct Profile {
    std::string name, sex, age, coat, state, trainer, affiliation, owner, breeder, area, sire, dam, damSire;
    std::string birthDate, earned, main;
};

std::string trimmedField(Family f, std::string_view line, std::string_view name) {
    return trimBoth(getField(f, line, name));
}

std::string breederName(const StorePaths& paths, std::string_view code) {
    return trimmedField(Family::BR, findLine(paths.br(code), Family::BR, {{"BreederCode", code}}), "BreederName");
}

Profile horseProfile(const StorePaths& paths, const HorseDataOpening& o, std::string_view um, int currentYear) {
    auto u = [&](std::string_view name) { return trimmedField(Family::UM, um, name); };
    Profile p;
    p.name = u("Bamei");
    p.birthDate = u("BirthDate");
    p.sex = sexName(u("SexCD"));
    p.coat = coatNameLong(u("KeiroCD"));
    p.sire = u("Ketto3InfoBamei1");
    p.dam = u("Ketto3InfoBamei2");
    p.damSire = u("Ketto3InfoBamei5");
    p.owner = u("BanusiName");
    p.breeder = u("BreederName");
    p.area = u("SanchiName");
    p.trainer = trimmedField(Family::CH, findTrainer(paths, u("ChokyosiCode")), "ChokyosiName");
    p.affiliation = affiliationName(u("TozaiCD"));
    p.age = std::to_string(currentYear - toIntDef(part(p.birthDate, 0, 4), 0));
    if (u("DelKubun") == "0")
        p.state = sj("現役");
    else if (p.affiliation == sj("美浦") || p.affiliation == sj("栗東"))
        p.state = sj("抹消");
    std::string_view prizeLine = um;
    Family prizeFamily = Family::UM;
    std::string ck;
    if (fromRaceCard(o.openerTag) && o.race) {
        ck = findAptitude(paths, *o.race, o.kettoNum);
        if (!ck.empty()) {
            prizeLine = ck;
            prizeFamily = Family::CK;
        }
    }
    p.earned = prizeText(getField(prizeFamily, prizeLine, "RuikeiSyutokuHeichi"));
    p.main = prizeText(getField(prizeFamily, prizeLine, "RuikeiHonsyoHeiti"));
    return p;
}

// A horse known only from runner records: its latest run and its pedigree record.
Profile runnerProfile(const StorePaths& paths, std::string_view kettoNum, std::string_view latestRun,
                      int currentYear, std::string& chokyosiCode, std::string& trainerShort) {
    auto s = [&](std::string_view name) { return trimmedField(Family::SE, latestRun, name); };
    Profile p;
    p.name = s("Bamei");
    p.sex = sexName(s("SexCD"));
    p.coat = coatNameLong(s("KeiroCD"));
    p.owner = s("BanusiName");
    trainerShort = s("ChokyosiRyakusyo");
    chokyosiCode = s("ChokyosiCode");
    const std::string ch = findTrainerByShortName(paths, trainerShort);
    p.trainer = trimmedField(Family::CH, ch, "ChokyosiName");
    if (p.trainer.empty()) p.trainer = trainerShort;
    p.affiliation = affiliationName(trimmedField(Family::CH, ch, "TozaiCD"));
    if (p.affiliation.empty()) p.affiliation = "----";
    const int barei = toIntDef(s("Barei"), 0);
    p.age = barei < 1 ? std::string("--") : std::to_string(currentYear + barei - toIntDef(s("Year"), 0));

    const std::string sk = findOffspring(paths, kettoNum);
    auto k = [&](std::string_view name) { return trimmedField(Family::SK, sk, name); };
    auto ancestor = [&](const char* field) {
        return trimmedField(Family::HN, findBreedingHorse(paths, k(field)), "Bamei");
    };
    p.sire = ancestor("HansyokuNum1");
    p.dam = ancestor("HansyokuNum2");
    p.damSire = ancestor("HansyokuNum5");
    p.breeder = breederName(paths, k("BreederCode"));
    p.area = k("SanchiName");
    p.birthDate = k("BirthDate");
    for (std::string* v : {&p.sire, &p.dam, &p.damSire, &p.breeder, &p.area})
        if (v->empty()) *v = "--------";
    p.state = p.earned = p.main = "----";
    return p;
}

std::string withoutLeadingZero(std::string_view digits) {
    const int n = toIntDef(digits, -1);
    return n < 0 ? std::string(digits) : std::to_string(n);
}

void addProfileLabels(HorseData& d, const Profile& p) {
    auto& l = d.view.labels;
    l.push_back({"lbl_Uname", p.name});
    l.push_back({"lbl_seirei", p.sex + p.age});
    l.push_back({"lbl_color", p.coat});
    l.push_back({"lbl_toroku", p.state});
    l.push_back({"lbl_stable", sj("厩舎：") + p.trainer + "(" + p.affiliation + ")"});
    l.push_back({"lbl_Banushi", sj("馬主：") + p.owner});
    l.push_back({"lbl_Farm", sj("生産者：") + p.breeder + "(" + p.area + ")"});
    l.push_back({"lbl_Titi", sj("父：") + p.sire});
    l.push_back({"lbl_Haha", sj("母：") + p.dam});
    l.push_back({"lbl_Hati", sj("母父：") + p.damSire});
    l.push_back({"lbl_BYear", std::string(part(p.birthDate, 0, 4))});
    l.push_back({"lbl_BMonth", withoutLeadingZero(part(p.birthDate, 4, 2))});
    l.push_back({"lbl_BDay", withoutLeadingZero(part(p.birthDate, 6, 2))});
    l.push_back({"lbl_HiraShu", p.earned});
    l.push_back({"lbl_HiraHon", p.main});
    d.hints.push_back({"lbl_Banushi", p.owner});
    d.hints.push_back({"lbl_Farm", trimBoth(p.breeder + "(" + p.area + ")")});
}

Target targetOf(const StorePaths& paths, const HorseDataOpening& o) {
    if (!o.race) return {o.targetJyoCD, o.targetCourseKey};
    const std::string ra = findRace(paths, *o.race);
    return {o.race->jyoCD, ra.empty() ? std::string() : courseKey(getField(Family::RA, ra, "TrackCD"),
                                                                   getField(Family::RA, ra, "Kyori"))};
}

}  // namespace

HorseData horseData(const EvalSource& src, const HorseDataOpening& o, int currentYear) {
    const ReadCacheScope cache;
    const StorePaths& paths = src.paths;
    HorseData d;
    d.view.caption = sj("競走馬データ");
    d.view.labels.push_back({"lbl_ktnum", o.kettoNum});

    const std::vector<RunEntry> entries = runEntries(runList(paths, o.kettoNum));
    const std::string um = findHorse(paths, o.kettoNum);
    d.hasHorseRecord = !um.empty();
    if (d.hasHorseRecord) {
        addProfileLabels(d, horseProfile(paths, o, um, currentYear));
        d.banusiCode = trimmedField(Family::UM, um, "BanusiCode");
        d.chokyosiCode = trimmedField(Family::UM, um, "ChokyosiCode");
        d.trainerShortName = trimmedField(Family::UM, um, "ChokyosiRyakusyo");
    } else if (!entries.empty()) {
        const RunEntry& latest = entries.front();
        const std::string se =
            findRunInDayFile(paths, part(latest.date, 0, 4), part(latest.date, 4, 4), latest.jyoCD, o.kettoNum);
        addProfileLabels(d, runnerProfile(paths, o.kettoNum, se, currentYear, d.chokyosiCode, d.trainerShortName));
        d.banusiCode = trimmedField(Family::SE, se, "BanusiCode");
    }

    const Target target = targetOf(paths, o);
    std::array<Counts, kCategories> counts{};
    const bool hideLater = fromRaceCard(o.openerTag) && o.race;
    for (const RunEntry& e : entries) {
        if (hideLater && e.date >= o.race->date()) continue;
        const std::string se = resultRun(paths, e, o.kettoNum);
        if (se.empty()) continue;
        const RaceKey race = RaceKey::of(Family::SE, se);
        const std::string ra = findRace(paths, race);
        ViewRow row = runRow(src, race, se, ra);
        count(counts, target, race.jyoCD, toIntDef(getField(Family::RA, ra, "TrackCD"), 0), row[kHrPlace].text,
              row[kHrGoing].text, row[11].text);
        d.runs.push_back({race, trimBoth(getField(Family::SE, se, "KisyuCode")), row[kHrJockey].text});
        d.rows.push_back(std::move(row));
    }
    if (d.rows.empty()) d.rows.push_back({{sj("(未出走)")}});

    for (int c = 0; c < kCategories; ++c)
        d.view.labels.push_back({kCategoryLabels[c], entries.empty() ? std::string(kNoRunList)
                                                                      : counts[static_cast<std::size_t>(c)].text()});
    if (target.shown()) {
        d.view.labels.push_back({"lbl_RaceCrs", trackName(target.jyoCD) + std::string(surfaceOf(target.courseKey))});
        d.view.labels.push_back({"lbl_SameDist", target.courseKey});
    } else {
        for (auto& l : d.view.labels)
            if (l.name == "lbl_CrsChaku" || l.name == "lbl_SameChaku") l.text.clear();
        d.hidden = {"lbl_RaceCrs", "lbl_SameDist", "lbl_CrsOpen", "lbl_CrsClose", "lbl_DistOpen", "lbl_DistClose"};
    }

    ScreenView::GridRows grid{kHorseRunsGrid, {{}}};
    for (const char* h : kHeaders) grid.rows[0].push_back(sj(h));
    for (const ViewRow& r : d.rows) {
        std::vector<std::string> cells;
        for (const ViewCell& c : r) cells.push_back(c.text);
        grid.rows.push_back(std::move(cells));
    }
    d.view.grids.push_back(std::move(grid));
    return d;
}

std::uint32_t horseCellBackground(const ViewRow& row, std::size_t col) {
    if (col >= row.size()) return 0xFFFFFF;
    if (col == kHrPlace) return placingColour(row[col].text);
    if (col == kHrRunIndex || col == kHrL3fIndex) return valueColour(trimBoth(row[col].text));
    return 0xFFFFFF;
}

std::string videoMenuCaption(const ViewRow& row) {
    auto cell = [&](std::size_t col) { return col < row.size() ? row[col].text : std::string(); };
    return sj("レース動画を再生 [") + cell(kHrDate) + "." + cell(kHrTrack) + cell(2) + "R." + cell(kHrRaceName) +
           sj("] (&R)");
}

HorseSilks horseSilks(JVDTLabLib_TLB::IJVLink& jvlink, const StorePaths& paths, std::string_view banusiCode,
                      bool redraw) {
    HorseSilks s;
    if (toIntDef(jvlink.m_JVLinkVersion(), 0) < 230) {
        s.rewriteHidden = true;
        return s;
    }
    s.shown = true;
    const std::string path = paths.fk(banusiCode);
    const std::string description = trimBoth(getField(Family::BN, findOwner(paths, banusiCode), "Fukusyoku"));
    if (path.empty()) return s;
    int drawn = 0;
    if (redraw || !fileExists(path)) drawn = jvlink.JVFukuFile(description, path);
    if (drawn != 0 && drawn != -1) return s;
    readFile(path, s.bitmap);
    s.hint = description;
    if (drawn == -1) {
        std::remove(path.c_str());
        s.hint += sj("<画像を作成できません>");
        s.rewriteHidden = true;
    }
    return s;
}

}  // namespace tarvo
