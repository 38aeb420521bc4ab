#include "result_view.h"

#include <algorithm>

#include "card_view.h"
#include "race_eval.h"
#include "code_tables.h"
#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo {
namespace {

std::string raField(std::string_view ra, std::string_view name) { return trimBoth(getField(Family::RA, ra, name)); }
std::string seField(std::string_view se, std::string_view name) { return trimBoth(getField(Family::SE, se, name)); }
bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

constexpr const char* kHeaders[kResultColumns] = {"着",   "*",   "PC",  "US",  "枠",  "番",    "馬名",
                                                  "性齢", "斤",  " 騎手", " 調教師", "Time", "差", "RW",
                                                  "位置", "L3F", "LS",  " 体重", "単勝"};

// The engine's course key of the race: surface initial of TrackCD and Kyori.
std::string evaluationCourseKey(std::string_view ra) { return courseKey(raField(ra, "TrackCD"), raField(ra, "Kyori")); }

std::string goingOf(std::string_view ra, std::string_view course) {
    if (startsWith(course, sj("芝"))) return goingName(raField(ra, "SibaBabaCD"));
    if (startsWith(course, sj("ダ"))) return goingName(raField(ra, "DirtBabaCD"));
    return {};
}

// The course key of the indices from the course label.
std::string labelCourseKey(std::string_view crs) {
    if (startsWith(crs, sj("障"))) return sj("障") + std::string(part(crs, 4, 4));
    if (startsWith(crs, sj("芝")) || startsWith(crs, sj("ダ"))) return cardCourseKey(crs);
    return {};
}

std::string conditionLabel(std::string_view ra, std::string_view crs) {
    const std::string siba = goingName(raField(ra, "SibaBabaCD")), dirt = goingName(raField(ra, "DirtBabaCD"));
    std::string going;
    if (startsWith(crs, sj("芝"))) going = sj("芝：") + siba;
    else if (startsWith(crs, sj("ダ"))) going = sj("ダ：") + dirt;
    else if (startsWith(crs, sj("障")))
        going = raField(ra, "TrackCD") == "52" ? sj("芝：") + siba + sj(" ダ：") + dirt : sj("芝：") + siba;
    else going = sj("？：**");
    return sj("天候：") + weatherName(raField(ra, "TenkoCD")) + "/" + going;
}

// Tenths with one decimal; "--.-" for a blank or non-numeric field, and below min.
std::string tenthsText(std::string_view field, long long min = 0) {
    long long v = 0;
    if (!parseInt(trimBoth(field), v) || v < min) return "--.-";
    return std::to_string(v / 10) + "." + std::to_string(v % 10);
}

std::string sectionalTimes(std::string_view ra, const char* three, const char* four) {
    return tenthsText(getField(Family::RA, ra, three)) + " / " + tenthsText(getField(Family::RA, ra, four));
}

// The passing order of the corner entry whose Corner is c, cut before its first blank.
std::string cornerText(std::string_view ra, char c) {
    for (char n = '1'; n <= '4'; ++n) {
        if (raField(ra, std::string("Corner") + n) != std::string(1, c)) continue;
        const std::string_view order = getField(Family::RA, ra, std::string("Jyuni") + n);
        return trimBoth(order.substr(0, order.find(' ')));
    }
    return {};
}

// Futan ÷ 10 in the shortest decimal form.
std::string futanText(std::string_view se) {
    const int tenths = toIntDef(seField(se, "Futan"), 0);
    std::string s = std::to_string(tenths / 10);
    if (tenths % 10 != 0) s += "." + std::to_string(tenths % 10);
    return s;
}

// BaTaijyu with the change: 480+ 4; BaTaijyu alone for ZogenSa 999; "---" unweighed.
std::string bodyWeightText(std::string_view se) {
    const std::string taijyu = seField(se, "BaTaijyu");
    if (toIntDef(taijyu, 0) <= 0) return "---";
    const std::string sa = seField(se, "ZogenSa");
    if (sa == "999") return taijyu;
    return taijyu + padRight(seField(se, "ZogenFugo"), 1) + padLeft(std::to_string(toIntDef(sa, 0)), 2);
}

std::string positions(std::string_view se) {
    std::string out;
    for (const char* f : {"Jyuni2c", "Jyuni3c", "Jyuni4c"}) {
        const std::string j = seField(se, f);
        out += j == "00" ? "**" : j;
    }
    return out;
}

// The finishing key a runner is ordered by.
int orderKey(std::string_view se, bool central, std::string_view dataKubun) {
    const bool arrival = central && (dataKubun == "6" || dataKubun == "7");
    const int key = toIntDef(seField(se, arrival ? "NyusenJyuni" : "KakuteiJyuni"), 0);
    return key == 0 && !resultsFinal(dataKubun) ? 100 : key;
}

struct Status {
    const char* codes;  // IJyoCD values
    const char* mark;
    bool dashPlace, dashTimes, bodyWeight, dashOdds;
};
constexpr Status kStatuses[] = {
    {"1", "消", true, true, false, true},  {"23", "除", true, true, true, true}, {"4", "止", true, true, true, false},
    {"5", "失", false, false, true, false}, {"7", "降", false, false, true, false},
};

void applyStatus(std::vector<std::string>& row, std::string_view se) {
    const std::string ijyo = seField(se, "IJyoCD");
    const Status* st = nullptr;
    for (const Status& s : kStatuses)
        if (ijyo.size() == 1 && std::string_view(s.codes).find(ijyo[0]) != std::string_view::npos) st = &s;
    if (st) row[1] = sj(st->mark);
    if (!st || !st->dashTimes) {
        if (seField(se, "KakuteiJyuni") == "01") row[12].clear();
        row[17] = bodyWeightText(se);
        return;
    }
    row[0] = "--";
    row[11] = "----";
    row[12] = "---";
    row[15] = "--.-";
    row[16] = "**";
    row[17] = st->bodyWeight ? bodyWeightText(se) : "---";
    if (st->dashOdds) row[18] = "-.-";
}

// The pay-out sections: heading, field prefix, entries, combination form, amount width.
enum class Kumi { Umaban, Waku, Pair, Triple };
struct PaySection {
    const char* heading;
    const char* prefix;
    int entries;
    Kumi kumi;
    int width;
};
constexpr PaySection kPaySections[] = {
    {"単勝", "PayTansyo", 3, Kumi::Umaban, 12},     {"複勝", "PayFukusyo", 5, Kumi::Umaban, 12},
    {"枠連", "PayWakuren", 3, Kumi::Waku, 13},      {"馬連", "PayUmaren", 3, Kumi::Pair, 11},
    {"ワイド", "PayWide", 7, Kumi::Pair, 11},        {"馬単", "PayUmatan", 6, Kumi::Pair, 11},
    {"３連複", "PaySanrenpuku", 3, Kumi::Triple, 8}, {"３連単", "PaySanrentan", 6, Kumi::Triple, 8},
};

std::string combination(Kumi k, std::string_view v) {
    switch (k) {
        case Kumi::Umaban: return std::string(v) + sj("番");
        case Kumi::Waku: return std::string(part(v, 0, 1)) + "-" + std::string(part(v, 1, 1));
        case Kumi::Pair: return std::string(part(v, 0, 2)) + "-" + std::string(part(v, 2, 2));
        case Kumi::Triple:
            return std::string(part(v, 0, 2)) + "-" + std::string(part(v, 2, 2)) + "-" + std::string(part(v, 4, 2));
    }
    return {};
}

bool entryShown(Kumi k, const std::string& v, bool trifecta) {
    if (k == Kumi::Umaban || k == Kumi::Waku) return toIntDef(v, 0) > 0;
    return !v.empty() && !(trifecta && v == "000000");
}

}  // namespace

std::string_view resultCaller(std::string_view openerTag) {
    return openerTag == sj("通常") ? kMainWindowCaller : kResultCaller;
}

bool resultsFinal(std::string_view dataKubun) { return dataKubun == "6" || dataKubun == "7" || dataKubun == "A"; }

std::string raceDataKubun(const StorePaths& paths, const RaceKey& race) {
    return raField(findRace(paths, race), "DataKubun");
}

void evaluateResultRace(const EvalSource& src, const RaceKey& race, std::string_view caller) {
    const ReadCacheScope cache;
    const std::string ra = findRace(src.paths, race);
    const std::string course = evaluationCourseKey(ra);
    evaluateRace(src, race, caller, numberedRunners(src.paths, race), ra, std::string(part(course, 0, 6)),
                 goingOf(ra, course));
}

std::vector<std::string> payoutLines(std::string_view hr) {
    std::vector<std::string> lines;
    if (hr.empty()) return lines;
    for (const PaySection& s : kPaySections) {
        const bool trifecta = &s == &kPaySections[std::size(kPaySections) - 1];
        const char* member = s.kumi == Kumi::Umaban ? "Umaban" : "Kumi";
        bool headed = !trifecta;
        if (headed) {
            if (!lines.empty()) lines.emplace_back();
            lines.push_back(sj(s.heading));
        }
        for (int n = 1; n <= s.entries; ++n) {
            const std::string suffix = std::string(member) + std::to_string(n);
            const std::string kumi = trimBoth(getField(Family::HR, hr, std::string(s.prefix) + suffix));
            if (!entryShown(s.kumi, kumi, trifecta)) continue;
            if (!headed) {  // the trifecta heading comes with its first entry shown
                lines.emplace_back();
                lines.push_back(sj(s.heading));
                headed = true;
            }
            const int pay = toIntDef(trimBoth(getField(Family::HR, hr, std::string(s.prefix) + "Pay" + std::to_string(n))), 0);
            lines.push_back(combination(s.kumi, kumi) + " " + padLeft(std::to_string(pay), static_cast<std::size_t>(s.width)));
        }
    }
    return lines;
}

std::optional<RaceKey> neighbourRace(const RaceKey& race, int step) {
    const int num = toIntDef(race.raceNum, 0) + step;
    const int from = toIntDef(race.raceNum, 0);
    if (from < 1 || from > 12 || num < 1 || num > 12) return std::nullopt;
    RaceKey target = race;
    target.raceNum = twoDigits(num);
    return target;
}

RaceResult raceResult(const EvalSource& src, const RaceKey& race, std::string_view caller, bool videoAvailable) {
    evaluateResultRace(src, race, caller);
    const ReadCacheScope cache;
    const StorePaths& p = src.paths;
    RaceResult out;
    out.race = race;
    out.central = isCentralTrack(race.jyoCD);
    const std::string ra = findRace(p, race);
    const CardHeader h = cardHeader(p, race);
    ScreenView& v = out.view;
    v.labels = {{"lbl_Date", h.date},
                {"lbl_RaceNum", h.raceNum},
                {"lbl_h_time", h.hTime},
                {"lbl_Crs", h.crs},
                {"lbl_RaCond", ra.empty() ? std::string() : conditionLabel(ra, h.crs)},
                {"lbl_RaceName", h.raceName},
                {"lbl_biko", h.biko},
                {"stxt3cnr", cornerText(ra, '3')},
                {"stxt4cnr", cornerText(ra, '4')},
                {"stxtMae", sectionalTimes(ra, "HaronTimeS3", "HaronTimeS4")},
                {"stxtAgari", sectionalTimes(ra, "HaronTimeL3", "HaronTimeL4")}};

    const std::string dataKubun = raField(ra, "DataKubun");
    const bool final = resultsFinal(dataKubun);
    const std::string course = labelCourseKey(h.crs);
    const bool jump = startsWith(course, sj("障"));
    std::vector<std::string> runners = numberedRunners(p, race);
    std::stable_sort(runners.begin(), runners.end(), [&](const std::string& a, const std::string& b) {
        return orderKey(a, out.central, dataKubun) < orderKey(b, out.central, dataKubun);
    });

    const RunnerTable& t = runnerTable(caller);
    ScreenView::GridRows grid{"stgRList", {}};
    grid.rows.emplace_back(std::begin(kHeaders), std::end(kHeaders));
    for (std::string& hd : grid.rows[0]) hd = sj(hd);
    for (const std::string& se : runners) {
        if (!final && toIntDef(seField(se, "KakuteiJyuni"), 0) <= 0) continue;
        std::vector<std::string> row(kResultColumns);
        const std::string time = seField(se, "Time");
        const RunFigures fig = runFigures(src, se, ra, race, course, true);
        row[0] = seField(se, "KakuteiJyuni");
        const std::string ketto = seField(se, "KettoNum");
        for (std::size_t i = 0; i < t.size(); ++i)
            if (t.kettoNums[i] == ketto) row[2] = trimBoth(t.marks[kSlotPcMark][i]);
        row[3] = seField(se, "UserYoso");
        row[4] = seField(se, "Wakuban");
        row[5] = std::string(getField(Family::SE, se, "Umaban"));
        row[6] = seField(se, "Bamei");
        row[7] = sexName(seField(se, "SexCD")) + std::to_string(toIntDef(seField(se, "Barei"), 0));
        row[8] = futanText(se);
        row[9] = seField(se, "KisyuRyakusyo");
        row[10] = seField(se, "ChokyosiRyakusyo");
        const bool timed = toIntDef(time, 0) >= 1;
        row[11] = final || timed ? time : "----";
        row[12] = final || timed ? seField(se, "TimeDiff") : "---";
        row[13] = toIntDef(time, 0) == 0 ? " **" : padLeft(fig.run, 3);
        row[14] = positions(se);
        row[15] = tenthsText(getField(Family::SE, se, "HaronTimeL3"), 1);
        row[16] = toIntDef(seField(se, "HaronTimeL3"), 0) >= 1 && !jump ? fig.l3f : "**";
        row[18] = oddsInTenths(seField(se, "Odds"));
        applyStatus(row, se);
        grid.rows.push_back(std::move(row));
        out.kettoNums.push_back(ketto);
        out.jockeyCodes.push_back(seField(se, "KisyuCode"));
        out.trainerCodes.push_back(seField(se, "ChokyosiCode"));
    }
    // A race whose results have not begun keeps a row per runner, empty.
    const bool provisional = dataKubun == "3" || dataKubun == "4" || dataKubun == "5";
    if (!final && !provisional)
        while (grid.rows.size() < runners.size() + 1) grid.rows.emplace_back(kResultColumns);
    v.grids.push_back(std::move(grid));
    v.lists.push_back({"lstHarai", payoutLines(findPayout(p, race))});

    const bool babaAdj = out.central && (startsWith(course, sj("芝")) || startsWith(course, sj("ダ")));
    v.caption = provisional ? sj("レース結果＜速報＞") : sj("レース結果");
    v.states = {{"btnPrev", !provisional}, {"btnNext", !provisional}, {"btnVtr", videoAvailable},
                {"mnuBabaAdj", babaAdj && !provisional}};
    return out;
}

}  // namespace tarvo
