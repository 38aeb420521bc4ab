#include "unit_pdfwr.h"

#include <cerrno>
#include <fstream>
#include <ostream>

#include "DEZErozi.h"
#include "code_tables.h"
#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "run_index.h"
#include "store_paths.h"
#include "textfn.h"
#include "track_variant.h"
#include "time_calc.h"

namespace tarvo {
namespace {

using pdf::TDEZErozi;
using pdf::TPDFContents;

constexpr std::size_t kRunnersPerPage = 18;
constexpr float kBandHeight = 40;
constexpr float kFirstBandTop = 754;

// ---- drawing ----

struct Label {
    const char* text;  // UTF-8
    float size, x, y;
};

struct ColumnLine {
    float x, width;
};
// The column lines the header and every band share.
constexpr ColumnLine kColumnLines[] = {{29, 1.0f}, {45, 1.0f}, {130, 1.0f}, {146, 0.7f}, {162, 0.7f}, {197, 0.9f}};

void text(TPDFContents& c, float size, float x, float y, std::string_view s) {
    c.FontSize = size;
    c.TextOut(x, y, s);
}
void line(TPDFContents& c, float width, float x1, float y1, float x2, float y2) {
    c.LineWidth = width;
    c.DrawLine(x1, y1, x2, y2);
}
void rect(TPDFContents& c, float width, float x1, float y1, float x2, float y2) {
    c.LineWidth = width;
    c.DrawRect(x1, y1, x2, y2);
}
void columnLines(TPDFContents& c, float top, float bottom) {
    for (const ColumnLine& l : kColumnLines) line(c, l.width, l.x, top, l.x, bottom);
}

// ---- texts ----

std::string field(Family f, std::string_view line, std::string_view name) { return trimBoth(getField(f, line, name)); }

// The first bytes of a text, never splitting a double-byte character.
std::string leftBytes(std::string_view s, std::size_t n) {
    std::size_t end = 0;
    while (end < s.size() && end + charLen(s, end) <= n) end += charLen(s, end);
    return std::string(s.substr(0, end));
}

std::string left(std::string_view s, std::size_t n) { return padRight(trimBoth(s), n); }
std::string right(std::string_view s, std::size_t n) { return padLeft(trimBoth(s), n); }

std::string number(std::string_view s) {
    long long v = 0;
    return parseInt(s, v) ? std::to_string(v) : std::string(trimBoth(s));
}

bool positive(std::string_view s) {
    long long v = 0;
    return parseInt(s, v) && v > 0;
}

// The first four characters of a name written one under the other, "ー" turned upright.
std::vector<std::string> verticalChars(std::string_view name) {
    const std::string upright = replaceAll(name, sj("ー"), sj("｜"));
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < upright.size() && chars.size() < 4; i += charLen(upright, i))
        chars.push_back(upright.substr(i, charLen(upright, i)));
    return chars;
}

// "1-0-2- 3": first, second, third and the rest, each right-aligned in 2.
std::string aptitudeLine(const std::array<int, 6>& counts) {
    return padLeft(std::to_string(counts[0]), 2) + "-" + padLeft(std::to_string(counts[1]), 2) + "-" +
           padLeft(std::to_string(counts[2]), 2) + "-" + padLeft(std::to_string(counts[3] + counts[4] + counts[5]), 2);
}

// ---- the past-run cell ----

const char* gradeText(std::string_view gradeCD) {
    static const std::pair<const char*, const char*> grades[] = {{"A", "Ｇ１"}, {"B", "Ｇ２"}, {"C", "Ｇ３"},
                                                                 {"D", "重賞"}, {"E", "ＯＰ"}, {"F", "J-G1"},
                                                                 {"G", "J-G2"}, {"H", "J-G3"}, {"L", "Ｌ"}};
    for (const auto& [code, name] : grades)
        if (gradeCD == code) return name;
    return "";
}

std::string pastClass(std::string_view ra, std::string_view date, bool central) {
    const std::string jyoken = field(Family::RA, ra, "JyokenCD5"), grade = field(Family::RA, ra, "GradeCD");
    if (jyoken == "999") {
        // A local Jpn1 race keeps its name's grade, as the race card's grade names do.
        if (grade == "A" && gradeName("999", "A", field(Family::RA, ra, "Ryakusyo6")) == "Jpn1") return "Jpn1";
        const std::string g = sj(gradeText(grade));
        return g.empty() ? sj("ＯＰ") : g;
    }
    if (jyoken == "701") return sj("新馬");
    if (jyoken == "702") return sj("未出走");
    if (jyoken == "703") return sj("未勝利");
    if (jyoken == "000") {
        if (central) return "****";
        if (grade == "A") return containsText(field(Family::RA, ra, "Hondai"), sj("東京大賞典")) ? sj("Ｇ１") : "Jpn1";
        if (grade == "B") return "Jpn2";
        if (grade == "C") return "Jpn3";
        if (grade == "D") return sj("重賞");
        return "****";
    }
    const int n = toIntDef(jyoken, 0);
    if (date < "20190601")
        return std::to_string(n) + (field(Family::RA, ra, "Ryakusyo3").empty() ? sj("00万") : std::string("00"));
    if (n >= 1 && n <= 5) return sj("１勝");
    if (n >= 6 && n <= 10) return sj("２勝");
    if (n >= 11 && n <= 16) return sj("３勝");
    return "----";
}

std::string ageClass(std::string_view syubetuCD) {
    if (syubetuCD == "11") return sj("２歳");
    if (syubetuCD == "12") return sj("３歳");
    if (syubetuCD == "13") return sj("３歳上");
    if (syubetuCD == "14") return sj("４歳上");
    if (syubetuCD == "18" || syubetuCD == "19") return sj("障害");
    return "";
}

bool steeplechase(int trackCD) { return trackCD >= 51 && trackCD <= 59; }

std::string goingText(std::string_view ra) {
    const int track = toIntDef(field(Family::RA, ra, "TrackCD"), 0);
    const std::string turf = goingName(field(Family::RA, ra, "SibaBabaCD"));
    const std::string dirt = goingName(field(Family::RA, ra, "DirtBabaCD"));
    if (steeplechase(track)) return track == 52 ? dirt : turf;
    return positive(field(Family::RA, ra, "SibaBabaCD")) ? turf : dirt;
}

// A time in tenths as ss.t.
std::string secondsText(int tenths) { return twoDigits(tenths / 10) + "." + std::to_string(tenths % 10); }

std::string finishText(std::string_view ijyo, std::string_view kakutei) {
    if (ijyo == "1") return sj("取消");
    if (ijyo == "2" || ijyo == "3") return sj("除外");
    if (ijyo == "4") return sj("中止");
    if (ijyo == "5") return sj("失格");
    return padLeft(number(kakutei), 2) + sj("着");
}

// Jyuni2c to Jyuni4c as circled numbers; a second corner not passed shows the third.
std::string cornersText(std::string_view se) {
    std::string c2 = circledNumber(field(Family::SE, se, "Jyuni2c"));
    const std::string c3 = circledNumber(field(Family::SE, se, "Jyuni3c"));
    const std::string c4 = circledNumber(field(Family::SE, se, "Jyuni4c"));
    if (c2 == "**") c2 = c3;
    return c2 + "-" + c3 + "-" + c4;
}

// ---- the runner band ----

struct BandValues {
    std::string sire, dam, damSire, coat, trainer, affiliation, prize;
    std::array<std::string, 4> aptitude;  // distance turf, distance dirt, track turf, track dirt
};

std::string pedigreeName(const StorePaths& p, std::string_view sk, std::string_view um, int n) {
    const std::string k = std::to_string(n);
    std::string name = field(Family::HN, findBreedingHorse(p, field(Family::SK, sk, "HansyokuNum" + k)), "Bamei");
    if (name.empty()) name = field(Family::UM, um, "Ketto3InfoBamei" + k);
    return trimBoth(toHalfWidth(name));
}

// The trainer's master record by code, or by short name when the code is not a positive number.
std::string trainerRecord(const StorePaths& p, std::string_view code, std::string_view shortName) {
    return positive(code) ? findTrainer(p, code) : findTrainerByShortName(p, shortName);
}

// The aptitude counts from the horse's runs before the meeting date (no CK record).
std::array<std::string, 4> countedAptitude(const StorePaths& p, const RaceKey& race, std::string_view ketto,
                                           std::string_view kyori) {
    std::array<std::array<int, 6>, 4> counts{};
    const std::string runs = runList(p, ketto);
    const std::string date = race.date();
    for (std::size_t i = 0; i + 10 <= runs.size(); i += 10) {
        const std::string_view run = std::string_view(runs).substr(i, 10);
        if (run.substr(0, 8) >= date) continue;
        const std::string se =
            findRunByTrackAndHorse(p, run.substr(0, 4), run.substr(4, 4), run.substr(8, 2), ketto);
        if (se.empty()) continue;
        const int place = toIntDef(field(Family::SE, se, "KakuteiJyuni"), 0);
        if (place <= 0) continue;
        const std::size_t slot = static_cast<std::size_t>(std::min(place, 4) - 1);
        const int track = toIntDef(field(Family::SE, se, "TrackCD"), 0);
        const bool turf = track >= 10 && track <= 22, dirt = track >= 23 && track <= 29;
        const bool sameTrack = run.substr(8, 2) == race.jyoCD;
        const bool sameDistance = field(Family::SE, se, "Kyori") == kyori;
        if (sameDistance && turf) ++counts[0][slot];
        if (sameDistance && dirt) ++counts[1][slot];
        if (sameTrack && turf) ++counts[2][slot];
        if (sameTrack && dirt) ++counts[3][slot];
    }
    std::array<std::string, 4> out;
    for (std::size_t k = 0; k < 4; ++k) out[k] = aptitudeLine(counts[k]);
    return out;
}

BandValues bandValues(const StorePaths& p, const RaceKey& race, std::string_view kyori, const ViewRow& row,
                      std::string_view ketto, std::string_view trainerCode) {
    BandValues v;
    const std::string um = findHorse(p, ketto);
    const std::string sk = findOffspring(p, ketto);
    v.sire = pedigreeName(p, sk, um, 1);
    v.dam = pedigreeName(p, sk, um, 2);
    v.damSire = pedigreeName(p, sk, um, 5);

    const std::string column6 = trimBoth(row[6].text);
    const std::string se = findRunnerByHorse(p, race, ketto);
    if (!se.empty()) {
        v.coat = coatNameLong(field(Family::SE, se, "KeiroCD"));
        v.trainer = column6;
        const std::string ch = trainerRecord(p, field(Family::SE, se, "ChokyosiCode"),
                                             field(Family::SE, se, "ChokyosiRyakusyo"));
        if (!ch.empty()) v.affiliation = affiliationName(field(Family::CH, ch, "TozaiCD"));
    } else {
        // A provisional card: the horse's most recent run before the meeting date.
        std::string last;
        const std::string runs = runList(p, ketto);
        for (std::size_t i = 0; i + 10 <= runs.size() && last.empty(); i += 10) {
            const std::string_view run = std::string_view(runs).substr(i, 10);
            if (run.substr(0, 8) < race.date())
                last = findRunByTrackAndHorse(p, run.substr(0, 4), run.substr(4, 4), run.substr(8, 2), ketto);
        }
        const bool fromCard = !column6.empty() && column6 != "**";
        const std::string shortName = fromCard ? column6 : field(Family::SE, last, "ChokyosiRyakusyo");
        const std::string code = fromCard ? std::string(trainerCode) : field(Family::SE, last, "ChokyosiCode");
        v.coat = coatNameLong(field(Family::SE, last, "KeiroCD"));
        const std::string ch = trainerRecord(p, code, shortName);
        v.trainer = ch.empty() ? shortName : field(Family::CH, ch, "ChokyosiRyakusyo");
        if (!ch.empty()) v.affiliation = affiliationName(field(Family::CH, ch, "TozaiCD"));
    }

    const std::string ck = findAptitude(p, race, ketto);
    if (ck.empty()) {
        v.aptitude = countedAptitude(p, race, ketto, kyori);
        return v;
    }
    const long long prize = toIntDef(field(Family::CK, ck, "RuikeiSyutokuHeichi"), 0);
    v.prize = std::to_string(roundHalfAway(static_cast<long double>(prize) / 100));
    const char* fields[] = {"Uma_KyoriSiba", "Uma_KyoriDart", "Uma_JyoSiba", "Uma_JyoDart"};
    for (std::size_t k = 0; k < 4; ++k) v.aptitude[k] = aptitudeLine(aptitudeCounts(getField(Family::CK, ck, fields[k]), 3));
    return v;
}

// ---- the page ----

constexpr Label kHeaderLabels[] = {
    {"枠", 8, 18, 770},          {"番", 8, 18, 760},          {"馬", 8, 32, 770},
    {"番", 8, 32, 760},          {"父名", 6, 46, 774},        {"競争馬名", 6, 58, 768},
    {"母名", 6, 46, 762},        {"母父名", 6, 46, 756},      {"毛色", 6, 97, 774},
    {"性齢", 6, 117, 774},       {"収得賞金", 6, 105, 762},   {"単勝オッズ", 6, 99, 756},
    {"騎", 6, 134, 773},         {"手", 6, 134, 766},         {"斤量", 6, 131, 757},
    {"調", 6, 150, 773},         {"教", 6, 150, 766},         {"師", 6, 150, 759},
    {"当該距離(芝)", 5, 163, 774}, {"当該距離(ダ)", 5, 163, 768}, {"馬体重(増減)", 5, 163, 756},
    {"５走前", 7, 221, 758},     {"４走前", 7, 292, 758},     {"３走前", 7, 363, 758},
    {"２走前", 7, 434, 758},     {"前走", 7, 507, 758},
    {"[１行目]ﾚ-ｽ日付,競馬場,出走頭数,馬番,単勝人気　[２行目]ﾚｰｽ名(条件),距離,馬場状態　[３行目]斤量,騎手名,走破ﾀｲﾑ,ﾀｲﾑ差", 6,
     197, 774},
    {"[４行目]総合指数(RW指数/LS指数),着順,馬体重　　[５行目]ｺｰﾅｰ位置(２角-３角-４角),上がり3Fﾀｲﾑ(前3Fﾀｲﾑ)", 6, 197,
     767},
    {"PC印", 6, 554, 774},       {"US印", 6, 567, 774},       {"総合指数", 5, 554, 767},
    {"位置平均", 5, 554, 762},   {"前３ハロン", 5, 554, 757},
};

class CardPage {
public:
    CardPage(const EvalSource& src, const CardPdfRace& race, const RaceCard& card, const RunnerTable& table,
             TDEZErozi& doc)
        : src_(src), race_(race), card_(card), table_(table), doc_(doc),
          central_(isCentralTrack(race.race.jyoCD)),
          kyori_(field(Family::RA, findRace(src.paths, race.race), "Kyori")),
          oddsState_(oddsStateText(src.paths, race.race)) {}

    void header() {
        TPDFContents& c = doc_.Canvas();
        rect(c, 1.3f, 15, 780, 580, 820);
        text(c, 6, 16, 822, oddsState_);
        text(c, 10, 16, 809, cardPdfDateText(race_.race.date()));
        text(c, 17, 19, 788, race_.startTime);
        text(c, 8, 62, 788, sj("発走"));
        text(c, 12, 85, 808, race_.trackName);
        text(c, 19, 87, 787, race_.raceNumber);
        text(c, 12, 115, 808, cardPdfCourseText(race_.course));
        text(c, 16, 115, 788, race_.raceName);
        text(c, 12, 170, 808, race_.remarks);
        rect(c, 1.3f, 15, 755, 580, 780);
        columnLines(c, 755, 780);
        line(c, 0.7f, 197, 765, 553, 765);
        for (std::size_t s = 0; s + 1 < kPastRuns; ++s) line(c, 0.7f, cellRight(s), 755, cellRight(s), 765);
        line(c, 0.7f, 553, 755, 553, 780);
        line(c, 0.7f, 553, 772, 580, 772);
        for (const Label& l : kHeaderLabels) text(c, l.size, l.x, l.y, sj(l.text));
        text(c, 5, 163, 762, race_.trackName + sj(central_ ? "(芝・ダ)" : "(ダ)"));
    }

    void band(std::size_t i, float top) {
        TPDFContents& c = doc_.Canvas();
        const ViewRow& row = card_.rows[i];
        const float t = top, b = top - kBandHeight;
        line(c, 1.3f, 15, t, 15, b);
        line(c, 1.3f, 580, t, 580, b);
        rect(c, 0.8f, 15, t, 580, b);
        columnLines(c, t, b);

        const auto cell = [&](std::size_t col) { return trimBoth(row[col].text); };
        if (positive(cell(0))) text(c, 16, 18, t - 25, cell(0));
        text(c, 11, 31, t - 24, cell(1));
        text(c, 8, 47, t - 20, leftBytes(cell(2), 18));
        const BandValues v = bandValues(src_.paths, race_.race, kyori_, row, at(table_.kettoNums, i),
                                        at(table_.trainerCodes, i));
        text(c, 6, 46, t - 7, leftBytes(v.sire, 20));
        text(c, 6, 46, t - 31, leftBytes(v.dam, 20));
        text(c, 6, 46, t - 37, leftBytes(v.damSire, 20));
        text(c, 6, 97, t - 7, v.coat);
        text(c, 6, 118, t - 7, cell(3));
        text(c, 6, 111, t - 31, right(v.prize, 6));
        text(c, 6, 114, t - 37, right(cell(7), 5));
        vertical(c, 134, t, cell(5));
        text(c, 7, 131, t - 38, weightCarried(cell(4)));
        vertical(c, 150, t, v.trainer);
        if (!v.affiliation.empty()) text(c, 6, 145, t - 37, "(" + v.affiliation + ")");
        text(c, 6, 162, t - 7, v.aptitude[0]);
        text(c, 6, 162, t - 13, v.aptitude[1]);
        if (central_) {
            text(c, 6, 162, t - 19, v.aptitude[2]);
            text(c, 6, 162, t - 25, v.aptitude[3]);
        } else {
            text(c, 6, 162, t - 19, v.aptitude[3]);
        }
        text(c, 7, 164, t - 37, cell(8));
        if (!cell(9).empty()) text(c, 7, 173, t - 37, "(" + cell(9) + ")");

        for (std::size_t s = 0; s < kPastRuns; ++s) {
            const float vx = 71.0f * static_cast<float>(s);
            for (const CellText& ct : pastRunCell(src_, at(table_.pastRaceKeys[s], i), at(table_.kettoNums, i)))
                text(c, ct.size, vx + ct.dx, t - kLineDrop[ct.line - 1], ct.text);
            line(c, 0.7f, cellRight(s), t, cellRight(s), b);
        }
        line(c, 0.7f, 553, t - 13, 580, t - 13);
        line(c, 0.4f, 566, t, 566, t - 13);
        text(c, 10, 554, t - 10, cell(15));
        text(c, 10, 567, t - 10, cell(16));
        text(c, 7, 554, t - 21, sj("指"));
        text(c, 7, 554, t - 30, sj("位"));
        text(c, 7, 554, t - 38, sj("前"));
        text(c, 10, 563, t - 22, right(cell(19), 3));
        text(c, 7, 564, t - 30, right(cell(17), 4));
        const std::string front = cell(18);
        text(c, 7, 564, t - 38, right(front.size() > 2 ? front.substr(0, 2) + "." + front.substr(2) : front, 4));
    }

    void footer(float lastTop) {
        if (!central_) return;
        TPDFContents& c = doc_.Canvas();
        const float y = lastTop - 48;
        text(c, 7, 16, y, sj("前3F標準:") + figure(0) + " /");
        text(c, 7, 65, y, sj("前3F平均:") + figure(1) + " /");
        text(c, 7, 114, y, sj("位置平均:") + padLeft(figure(2), 4) + " // ");
        text(c, 7, 169, y, sj("予想ﾍﾟｰｽ:") + figure(3));
    }

private:
    static constexpr float kLineDrop[5] = {7, 14, 22, 30, 38};

    static float cellRight(std::size_t s) { return 269.0f + 71.0f * static_cast<float>(s); }

    static std::string at(const std::vector<std::string>& list, std::size_t i) {
        return i < list.size() ? list[i] : std::string();
    }

    // A race-level figure of the card without its caption.
    std::string figure(std::size_t k) const {
        const std::string& f = card_.figures[k];
        const std::size_t colon = f.find(':');
        return colon == std::string::npos ? std::string() : f.substr(colon + 1);
    }

    static std::string weightCarried(std::string w) {
        if (w.size() >= 2 && w.compare(w.size() - 2, 2, ".0") == 0) w.resize(w.size() - 2);
        return w.size() >= 3 && w[2] == '.' ? w : " " + w;
    }

    static void vertical(TPDFContents& c, float x, float top, std::string_view name) {
        static constexpr float drops[4] = {7, 15, 22, 29};
        const std::vector<std::string> chars = verticalChars(name);
        for (std::size_t k = 0; k < chars.size(); ++k) text(c, 7, x, top - drops[k], chars[k]);
    }

    const EvalSource& src_;
    const CardPdfRace& race_;
    const RaceCard& card_;
    const RunnerTable& table_;
    TDEZErozi& doc_;
    bool central_;
    std::string kyori_, oddsState_;
};

}  // namespace

CardPdfRace cardPdfRace(const RaceCard& card, const RaceKey& race) {
    const CardHeader& h = card.header;
    CardPdfRace r;
    r.race = race;
    r.trackName = std::string(part(h.raceNum, 0, 4));
    r.raceNumber = std::string(part(h.raceNum, 4, 2));
    r.raceName = h.raceName;
    r.startTime = toHalfWidth(h.hTime);
    r.course = h.crs;
    r.remarks = h.biko;
    return r;
}

std::string cardPdfDateText(std::string_view date8) {
    const std::string weekday = weekdayName(date8);
    return std::string(part(date8, 0, 4)) + "." + std::string(part(date8, 4, 2)) + "." + std::string(part(date8, 6, 2)) +
           "(" + (weekday.empty() ? std::string("**") : weekday) + ")";
}

std::string cardPdfCourseText(std::string_view courseLabel) {
    const std::string label = trimBoth(courseLabel);
    if (label.size() < 7 || label.back() != 'm') return "";
    return label.substr(0, charLen(label, 0)) + label.substr(label.size() - 5);
}

std::string oddsStateText(const StorePaths& p, const RaceKey& race) {
    const std::string o2 = findQuinellaOdds(p, race);
    const std::string kubun = field(Family::O2, o2, "DataKubun");
    const std::string happyo = field(Family::O2, o2, "HappyoTime");
    if (o2.empty() || toIntDef(happyo, 0) == 0) return "";
    if (kubun == "1" || kubun == "2") {
        const std::string day = happyo.substr(0, 4) == race.monthDay ? std::string() : number(part(happyo, 2, 2)) + sj("日");
        return sj("オッズ：") + day + number(part(happyo, 4, 2)) + sj("時") + number(part(happyo, 6, 2)) + sj("分 発表分");
    }
    if (kubun == "3") return sj("オッズ：＜最終オッズ＞");
    if (kubun == "4" || kubun == "5") return sj("オッズ：＜確定オッズ＞");
    if (kubun == "9") return sj("オッズ：＜レース中止＞");
    return "";
}

std::string totalIndexText(std::string_view runIndex, std::string_view last3fIndex) {
    long long run = 0, l3f = 0;
    if (!parseInt(runIndex, run) || run < -149) return "**";
    if (parseInt(last3fIndex, l3f) && l3f > run) return std::to_string(roundHalfAway((run + l3f) / 2.0L));
    return std::to_string(run);
}

std::vector<CellText> pastRunCell(const EvalSource& src, std::string_view raceKey12, std::string_view kettoNum) {
    const auto key = RaceKey::parse(raceKey12);
    if (!key) return {};
    const StorePaths& p = src.paths;
    const std::string ra = findRace(p, *key);
    const std::string se = findRunnerByHorse(p, *key, kettoNum);
    const auto r = [&](std::string_view name) { return field(Family::RA, ra, name); };
    const auto s = [&](std::string_view name) { return field(Family::SE, se, name); };
    const bool oneDigitMonth = key->monthDay[0] == '0';
    const std::string month = oneDigitMonth ? " " + key->monthDay.substr(1, 1) : key->monthDay.substr(0, 2);

    std::vector<CellText> out;
    const auto add = [&](float size, float dx, int line, std::string t) { out.push_back({size, dx, line, std::move(t)}); };
    add(7, oneDigitMonth ? 196 : 198, 1, padLeft(month + "." + key->monthDay.substr(2, 2), 5));
    add(7, oneDigitMonth ? 214 : 215, 1, left(trackName(key->jyoCD), 4));
    add(7, 229, 1, right(number(r("SyussoTosu")), 2) + sj("頭"));
    add(7, 242, 1, right(number(s("Umaban")), 2) + sj("番"));
    add(7, 255, 1, (positive(s("Ninki")) ? right(number(s("Ninki")), 2) : std::string(" *")) + sj("人"));

    const std::string ryakusyo3 = r("Ryakusyo3");
    const std::string cls = pastClass(ra, key->date(), isCentralTrack(key->jyoCD));
    add(7, 199, 2, left(ryakusyo3.empty() ? ageClass(r("SyubetuCD")) + cls : left(ryakusyo3, 6) + "(" + cls + ")", 14));
    const std::string ck = ra.empty() ? std::string() : courseKey(r("TrackCD"), r("Kyori"));
    add(7, 240, 2, left(ck, 6));
    add(7, 261, 2, ra.empty() ? std::string() : goingText(ra));

    const std::string futan = s("Futan");
    const bool half = futan.size() >= 3 && futan[2] == '5';
    add(half ? 6.0f : 7.0f, 199, 3, half ? futan.substr(0, 2) + "." + futan.substr(2, 1) : futan.substr(0, 2));
    add(7, 210, 3, leftBytes(s("KisyuRyakusyo"), 6));
    const int ijyo = toIntDef(s("IJyoCD"), 0);
    const bool abnormal = ijyo >= 1 && ijyo <= 5;
    const std::string time = s("Time"), diff = s("TimeDiff");
    add(7, 232, 3, abnormal || time.size() < 4 ? std::string() : time.substr(0, 1) + "." + time.substr(1, 2) + "." + time.substr(3, 1));
    add(6, 254, 3, abnormal || diff.size() < 4 ? std::string() : diff.substr(0, 1) + number(diff.substr(1, 2)) + "." + diff.substr(3, 1));

    std::string run = " **", l3f = " **", total = " **";
    if (!abnormal && !se.empty()) {
        if (part(ck, 0, 2) == sj("障")) {
            run = l3f = "**";
        } else {
            const std::string variant = runVariant(src.paths, src.fileFolder, *key, ck);
            run = runIndex(key->jyoCD, ck, getField(Family::SE, se, "Time"), part(variant, 0, 4),
                           getField(Family::SE, se, "Futan"));
            l3f = last3fIndex(key->jyoCD, ck, getField(Family::SE, se, "Time"), part(variant, 4, 4),
                              getField(Family::SE, se, "TimeDiff"), getField(Family::SE, se, "Futan"),
                              getField(Family::SE, se, "HaronTimeL3"));
        }
        total = totalIndexText(run, l3f);
    }
    add(8, 199, 4, right(total, 3));
    add(7, 210, 4, "(" + right(run, 3) + "/");
    add(7, 226, 4, right(l3f, 3) + ")");
    add(8, 240, 4, finishText(s("IJyoCD"), s("KakuteiJyuni")));
    add(7, 257, 4, toIntDef(s("BaTaijyu"), 0) == 0 ? std::string("***") : s("BaTaijyu"));

    add(7, 199, 5, cornersText(se));
    const std::string l3 = s("HaronTimeL3");
    const bool hasL3 = positive(l3);
    add(7, 229, 5, (hasL3 ? secondsText(toIntDef(l3, 0)) : std::string("**.*")) + "(");
    add(7, 246, 5, (hasL3 ? secondsText(frontPace(time, ck, l3)) : std::string("**.*")) + ")");
    return out;
}

void writeRaceCardPdf(const EvalSource& src, const CardPdfRace& race, const RaceCard& card, const RunnerTable& table,
                      std::ostream& out, const CardProgress& progress) {
    const ReadCacheScope cache;  // the runners share their day and master files
    TDEZErozi doc;
    doc.SetPageHeight(842);
    doc.SetPageWidth(595);
    doc.Author = "TARVO for JRA-VAN Data Lab. Ver.2.00";
    doc.Title = sj("出馬表：") + race.raceName;
    doc.Subject = cardPdfDateText(race.race.date()).substr(0, 10) + " " + race.trackName + race.raceNumber + "R " +
                  leftBytes(cardPdfCourseText(race.course), 6) + " " + race.remarks;
    doc.BeginDoc(&out);
    doc.Canvas().FontType = pdf::kMSGothic;
    CardPage page(src, race, card, table, doc);
    page.header();
    const std::size_t n = card.rows.size();
    std::size_t k = 0;
    float top = kFirstBandTop;
    for (std::size_t i = 0; i < n; ++i) {
        top = kFirstBandTop - kBandHeight * static_cast<float>(k);
        page.band(i, top);
        if (k + 1 == kRunnersPerPage && i + 1 < n) {
            page.footer(top);
            doc.NewPage();
            doc.Canvas().FontType = pdf::kMSGothic;
            page.header();
            k = 0;
        } else {
            ++k;
        }
        if (progress) progress(i + 1, n);
    }
    page.footer(top);
    doc.EndDoc();
}

void writeRaceCardPdfFile(const EvalSource& src, const CardPdfRace& race, const RaceCard& card,
                          const RunnerTable& table, const std::string& path, const CardProgress& progress) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throwIoError(sj("ファイルを作成できません"), path, errno);
    writeRaceCardPdf(src, race, card, table, out, progress);
}

}  // namespace tarvo
