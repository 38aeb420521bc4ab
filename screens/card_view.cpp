#include "card_view.h"

#include <algorithm>
#include <tuple>

#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "race_eval.h"
#include "race_predict.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo {
namespace {

std::string raField(std::string_view line, std::string_view name) {
    return trimBoth(getField(Family::RA, line, name));
}
std::string seField(std::string_view line, std::string_view name) {
    return trimBoth(getField(Family::SE, line, name));
}

std::vector<KeyPart> keyOf(const RaceKey& r) {
    return {{"Year", r.year}, {"MonthDay", r.monthDay}, {"JyoCD", r.jyoCD}, {"RaceNum", r.raceNum}};
}

// The last RA record of the race, or "".
std::string lastRace(const StorePaths& p, const RaceKey& race) {
    std::string found;
    scanMatching(p.file(Family::RA, race), Family::RA, keyOf(race), [&](std::string_view line) {
        found = std::string(line);
        return true;
    });
    return found;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Weather and going label.
std::string weatherAndGoing(std::string_view ra) {
    const int track = toIntDef(raField(ra, "TrackCD"), 0);
    const std::string siba = goingName(raField(ra, "SibaBabaCD"));
    const std::string dirt = goingName(raField(ra, "DirtBabaCD"));
    std::string going;
    if (track >= 10 && track <= 22) going = sj("芝：") + siba;
    else if (track >= 23 && track <= 29) going = sj("ダ：") + dirt;
    else if (track == 52) going = sj("芝:") + padRight(siba, 3) + sj("ダ:") + padRight(dirt, 3);
    else if (track == 51 || (track >= 53 && track <= 59)) going = sj("芝") + siba;
    if (going.empty()) return "";
    return sj("天候：") + padRight(weatherName(raField(ra, "TenkoCD")), 5) + going;
}

std::string raceName(std::string_view ra, const std::string& date) {
    const std::string syubetu = raField(ra, "SyubetuCD"), jyoken = raField(ra, "JyokenCD5");
    const std::string raceType = classNameLong(syubetu, jyoken, date);
    const std::string hondai = raField(ra, "Hondai");
    if (hondai.empty()) return raceType;
    std::string grade = gradeName(jyoken, raField(ra, "GradeCD"), raField(ra, "Ryakusyo6"));
    if (grade == "OPEN" || grade == "L") grade = classNameShort(syubetu, jyoken, date);
    const int nkai = toIntDef(raField(ra, "Nkai"), 0);
    if (nkai > 0) return sj("第") + std::to_string(nkai) + sj("回 ") + hondai + "(" + grade + ")";
    if (containsText(grade, sj("万")) || containsText(grade, "OPEN") || trimBoth(grade).empty()) return hondai;
    return hondai + "(" + grade + ")";
}

// Columns 8 and 9: the body weight and its change.
std::pair<std::string, std::string> weightCells(std::string_view se) {
    const std::string taijyu = seField(se, "BaTaijyu");
    if (taijyu == "000") return {"---", "--"};
    if (taijyu.empty()) return {};
    const std::string zogenSa = seField(se, "ZogenSa");
    return {taijyu, zogenSa == "999" ? "--" : seField(se, "ZogenFugo") + std::to_string(toIntDef(zogenSa, 0))};
}

std::string ageText(std::string_view se) {
    long long age = 0;
    const std::string barei = seField(se, "Barei");
    return parseInt(barei, age) ? std::to_string(age) : barei;
}

// The runners of the race in card order.
std::vector<std::string> cardRunners(const StorePaths& p, const RaceKey& race, bool keepAll) {
    std::vector<std::string> lines;
    bool numbered = false;
    scanMatching(p.file(Family::SE, race), Family::SE, keyOf(race), [&](std::string_view line) {
        const bool hasNumber = getField(Family::SE, line, "Umaban") != "00";
        numbered = numbered || hasNumber;
        if (keepAll || hasNumber) lines.emplace_back(line);
        return true;
    });
    if (numbered)
        std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
            return toIntDef(seField(a, "Umaban"), 0) < toIntDef(seField(b, "Umaban"), 0);
        });
    else
        std::stable_sort(lines.begin(), lines.end(),
                         [](const std::string& a, const std::string& b) { return seField(a, "Bamei") < seField(b, "Bamei"); });
    return lines;
}

std::string betOdds(Family f, std::string_view oddsLine, std::string_view kumi) {
    const std::string_view field = oddsElementPart(f, oddsElement(f, oddsLine, kumi), "Odds");
    long long whole = 0;
    if (!parseInt(part(field, 0, 5), whole)) return "--.-";
    return std::to_string(whole) + "." + std::string(part(field, 5, 1));
}

BetGrid betGrid(std::string title, const std::vector<std::pair<std::string, std::string>>& pairs, Family oddsFamily,
                std::string_view sep, const std::string& oddsLine, const std::string& payLine,
                std::string_view payName) {
    BetGrid g;
    bool hit = false, miss = false;
    for (const auto& [first, second] : pairs) {
        const std::string kumi = first + second;
        BetLine b{first + std::string(sep) + second, betOdds(oddsFamily, oddsLine, kumi), ""};
        if (!payLine.empty()) {
            bool isHit = false;
            for (char n = '1'; n <= '3'; ++n)
                isHit = isHit || trimBoth(getField(Family::HR, payLine, std::string(payName) + n)) == kumi;
            b.result = isHit ? sj("○") : sj("×");
            (isHit ? hit : miss) = true;
        }
        g.lines.push_back(std::move(b));
    }
    g.title = std::move(title) + (hit ? sj("<的中>") : miss ? sj("<ﾊｽﾞﾚ>") : "");
    return g;
}

}  // namespace

std::string displayTrackName(std::string_view jyoCD) {
    const std::string name = trackName(jyoCD);
    if (name == sj("札チ")) return sj("札幌");
    if (name == sj("函チ")) return sj("函館");
    if (name == sj("新チ")) return sj("新潟");
    if (name == sj("中チ")) return sj("中京");
    return name;
}

CardHeader cardHeader(const StorePaths& p, const RaceKey& race) {
    CardHeader h;
    h.date = race.year + race.monthDay;
    h.raceNum = displayTrackName(race.jyoCD) + race.raceNum + "R";
    const std::string ra = lastRace(p, race);
    const std::string hasso = raField(ra, "HassoTime");
    h.hTimeRed = !ra.empty() && raField(ra, "HassoTimeBefore") != "0000";
    if (!ra.empty() && hasso != "0000") {
        h.hTime = std::string(part(hasso, 0, 2)) + sj("：") + std::string(part(hasso, 2, 2));
        h.oddsListEnabled = true;
    } else {
        h.hTime = sj("--：--");
    }
    if (ra.empty()) return h;
    h.crs = courseName(raField(ra, "TrackCD"), raField(ra, "Kyori"));
    h.crsRed = raField(ra, "KyoriBefore") != "0000" || raField(ra, "TrackCDBefore") != "00";
    h.weBa = weatherAndGoing(ra);
    h.raceName = raceName(ra, h.date);
    const std::string kigo = raField(ra, "KigoCD");
    h.biko = classNameLong(raField(ra, "SyubetuCD"), raField(ra, "JyokenCD5"), h.date) + " " +
             weightRuleName(raField(ra, "JyuryoCD")) + " " + sexRestriction(kigo) + raceSymbol(kigo);
    return h;
}

std::string cardCourseKey(std::string_view crs) {
    if (startsWith(crs, sj("芝"))) return sj("芝") + std::string(part(crs, 2, 4));
    if (startsWith(crs, sj("ダ"))) return sj("ダ") + std::string(part(crs, 6, 4));
    return std::string(crs);
}

std::string cardGoingKey(std::string_view weBa) { return trimBoth(part(trimBoth(weBa), 15, 4)); }

BetGrids buildBets(const StorePaths& p, const RaceKey& race, const std::vector<std::string>& marks,
                   const std::vector<std::string>& umabans) {
    std::vector<std::pair<std::string, std::string>> quinella, exacta1, exacta2;
    const auto axisAt = std::find(marks.begin(), marks.end(), sj("◎"));
    if (axisAt != marks.end()) {
        const std::string& axis = umabans[static_cast<std::size_t>(axisAt - marks.begin())];
        for (std::size_t i = 0; i < marks.size() && i < umabans.size(); ++i) {
            if (marks[i].empty() || marks[i] == sj("◎")) continue;
            const std::string& u = umabans[i];
            const bool smaller = toIntDef(u, 0) < toIntDef(axis, 0);
            quinella.emplace_back(smaller ? u : axis, smaller ? axis : u);
            exacta1.emplace_back(axis, u);
            exacta2.emplace_back(u, axis);
        }
    }
    const std::string pay = findPayout(p, race);
    const std::string o2 = findQuinellaOdds(p, race), o4 = findExactaOdds(p, race);
    return {betGrid(sj("馬連"), quinella, Family::O2, sj("－"), o2, pay, "PayUmarenKumi"),
            betGrid(sj("馬単１着付け"), exacta1, Family::O4, sj("→"), o4, pay, "PayUmatanKumi"),
            betGrid(sj("馬単２着付け"), exacta2, Family::O4, sj("→"), o4, pay, "PayUmatanKumi")};
}

std::vector<std::string> cardMarks(bool userMarks) {
    const RunnerTable& t = runnerTable(kMainWindowCaller);
    std::vector<std::string> marks;
    for (const std::string& m : t.marks[userMarks ? kSlotUserMark : kSlotPcMark]) marks.push_back(trimBoth(m));
    return marks;
}

std::vector<std::string> cardUmabans(const RaceCard& card) {
    std::vector<std::string> u;
    for (const ViewRow& row : card.rows) u.push_back(trimBoth(row[1].text));
    return u;
}

std::vector<std::string> numberedRunners(const StorePaths& p, const RaceKey& race) { return cardRunners(p, race, false); }

RunnerTable& evaluateRace(const EvalSource& src, const RaceKey& race, std::string_view caller,
                          const std::vector<std::string>& runners, std::string_view ra, std::string_view courseKey,
                          std::string_view goingKey, const CardProgress& progress) {
    const std::string gradeCD = raField(ra, "GradeCD"), jyokenCD5 = raField(ra, "JyokenCD5");
    const std::string syubetuCD = raField(ra, "SyubetuCD"), jyuryoCD = raField(ra, "JyuryoCD");
    const RaceEvalCall call{caller, race, syubetuCD, jyokenCD5, gradeCD, jyuryoCD, courseKey, goingKey};
    return evaluateRace(src, call, runners, [&](std::size_t i) {
        if (progress) progress(i + 1, runners.size());
    });
}

void remarkCard(const EvalSource& src, const RaceKey& race, RaceCard& card, bool userMarks) {
    if (!isCentralTrack(race.jyoCD)) engineSettings().oddadd = false;
    const std::string ra = lastRace(src.paths, race);
    const std::string gradeCD = raField(ra, "GradeCD"), jyokenCD5 = raField(ra, "JyokenCD5");
    const std::string syubetuCD = raField(ra, "SyubetuCD");
    const RaceCall call{kMainWindowCaller, race.year, race.monthDay, syubetuCD, jyokenCD5, gradeCD,
                        card.goingKey,     card.courseKey, race.raceNum, race.jyoCD};
    RunnerTable& t = runnerTable(kMainWindowCaller);
    predictRace(src, call);
    const std::size_t n = std::min(card.rows.size(), t.size());
    if (card.rows.size() > 4) {
        markRace(src, call, static_cast<int>(card.rows.size()));
        for (std::size_t i = 0; i < n; ++i) card.rows[i][15].text = t.marks[kSlotPcMark][i];
    }
    for (std::size_t i = 0; i < n; ++i) t.marks[kSlotUserMark][i] = trimBoth(card.rows[i][16].text);
    card.bets = buildBets(src.paths, race, cardMarks(userMarks), cardUmabans(card));
}

void evaluateCardRunner(const EvalSource& src, const RunnerCall& call, std::size_t i, ViewRow& row) {
    RunnerTable& t = runnerTable(kMainWindowCaller);
    storeEvaluation(t, i, evaluateRunner(src, call));
    for (std::size_t k = 0; k < kPastRuns; ++k) row[10 + k].text = t.pastCells[k][i];
    for (std::size_t k = 0; k < 3; ++k) row[17 + k].text = t.marks[6 + k][i];
}

void markCardRace(const EvalSource& src, const RaceCall& race, std::vector<ViewRow>& rows) {
    if (rows.size() < 5) return;
    markRace(src, race, static_cast<int>(rows.size()));
    const RunnerTable& t = runnerTable(kMainWindowCaller);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i][15].text = t.marks[kSlotPcMark][i];
}

RaceCard buildRaceCard(const EvalSource& src, const RaceKey& race, bool userMarks, const CardProgress& progress) {
    const ReadCacheScope cache;
    const StorePaths& p = src.paths;
    const bool central = isCentralTrack(race.jyoCD);
    if (!central) engineSettings().oddadd = false;

    RaceCard card;
    card.header = cardHeader(p, race);
    card.courseKey = cardCourseKey(card.header.crs);
    card.goingKey = cardGoingKey(card.header.weBa);
    const std::string ra = lastRace(p, race);
    card.dataKubun = raField(ra, "DataKubun");

    const std::vector<std::string> runners = cardRunners(p, race, card.dataKubun == "1");
    const std::size_t n = runners.size();
    RunnerTable& t = evaluateRace(src, race, kMainWindowCaller, runners, ra, card.courseKey, card.goingKey, progress);
    const bool numbered = std::any_of(runners.begin(), runners.end(),
                                      [](const std::string& l) { return getField(Family::SE, l, "Umaban") != "00"; });

    for (std::size_t i = 0; i < n; ++i) {
        const std::string& se = runners[i];
        const std::string ketto = seField(se, "KettoNum");
        const bool weightChanged = !t.weightChangeMarks[i].empty(), jockeyChanged = !t.jockeyChangeMarks[i].empty();
        card.ownerCodes.push_back(trimBoth(getField(Family::UM, findHorse(p, ketto), "BanusiCode")));

        ViewRow row(kCardColumns);
        row[0].text = numbered ? seField(se, "Wakuban") : sj("仮");
        row[1].text = std::string(getField(Family::SE, se, "Umaban"));
        row[2].text = seField(se, "Bamei");
        row[3].text = runnerSexText(se) + ageText(se);
        row[4] = {runnerWeightText(se), weightChanged ? Ink::Red : Ink::Black};
        row[5] = {seField(se, "KisyuRyakusyo"), jockeyChanged ? Ink::Red : Ink::Black};
        row[6].text = seField(se, "ChokyosiRyakusyo");
        row[7].text = t.odds[i];
        std::tie(row[8].text, row[9].text) = weightCells(se);
        for (std::size_t k = 0; k < kPastRuns; ++k) row[10 + k].text = t.pastCells[k][i];
        if (n > 4) row[15].text = t.marks[kSlotPcMark][i];
        row[16].text = t.marks[kSlotUserMark][i];
        for (std::size_t k = 0; k < 3; ++k) row[17 + k].text = t.marks[6 + k][i];
        card.rows.push_back(std::move(row));
    }

    card.betsTab = !startsWith(card.header.hTime, "--");
    if (card.betsTab && !startsWith(card.header.crs, sj("障害"))) {
        const RaceFigures& f = raceFigures();
        card.figures = {sj("標3F:") + f.standard3F, sj("平3F:") + f.frontPace, sj("位置:") + f.position, sj("予Ｐ:") + f.paceLabel};
    }
    card.bets = buildBets(p, race, cardMarks(userMarks), cardUmabans(card));
    return card;
}

std::uint32_t cardCellBackground(const RaceCard& card, std::size_t row, std::size_t col, bool colourPastRuns) {
    constexpr std::uint32_t white = 0xFFFFFF;
    if (row >= card.rows.size()) return white;
    const std::string& text = card.rows[row][col].text;
    if (col == 0) return frameColour(text);
    if (col < 10 || col > 14 || !colourPastRuns) return white;
    if (trimBoth(part(text, 4, 2)) != trimBoth(part(card.header.crs, 0, 2))) return white;
    std::string pos = trimBoth(part(text, 9, 2));
    if (pos.size() == 1) pos = "0" + pos;
    return placingColour(pos);
}

std::vector<CardRefresh> refreshedOddsColumn(const StorePaths& p, const RaceKey& race) {
    std::vector<CardRefresh> out;
    for (const std::string& se : cardRunners(p, race, false)) {
        const std::string text = runnerOddsText(se);
        out.push_back({std::string(getField(Family::SE, se, "Umaban")), text.empty() ? "0.0" : text, {}});
    }
    return out;
}

std::vector<CardRefresh> refreshedWeightColumns(const StorePaths& p, const RaceKey& race) {
    std::vector<CardRefresh> out;
    for (const std::string& se : cardRunners(p, race, false)) {
        const auto [weight, change] = weightCells(se);
        out.push_back({std::string(getField(Family::SE, se, "Umaban")), weight, change});
    }
    return out;
}

}  // namespace tarvo
