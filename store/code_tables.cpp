#include "code_tables.h"

#include <array>
#include <chrono>
#include <climits>
#include <initializer_list>
#include <vector>

#include "cp932.h"
#include "textfn.h"

namespace tarvo {
namespace {

// The first row that satisfies pred, or nullptr: the one look-up every table below goes through.
template <class Rows, class Pred>
auto firstRow(const Rows& rows, Pred pred) -> decltype(&*std::begin(rows)) {
    for (const auto& row : rows)
        if (pred(row)) return &row;
    return nullptr;
}

// A table of N text columns. The rows are written here in UTF-8 and held in CP932
// from the table's first use; any column can serve as the key.
template <std::size_t N>
class TextTable {
public:
    using Row = std::array<std::string, N>;

    TextTable(std::initializer_list<std::array<const char*, N>> rows) {
        rows_.reserve(rows.size());
        for (const auto& src : rows) {
            Row texts;
            for (std::size_t i = 0; i < N; ++i) texts[i] = sj(src[i]);
            rows_.push_back(std::move(texts));
        }
    }

    // The first row whose column `from` equals key exactly, or nullptr.
    const Row* row(std::string_view key, std::size_t from) const {
        return firstRow(rows_, [&](const Row& r) { return r[from] == key; });
    }
    // Column `to` of that row; fallback when there is none.
    std::string find(std::string_view key, std::size_t from, std::size_t to, std::string_view fallback = {}) const {
        const Row* r = row(key, from);
        return r ? (*r)[to] : std::string(fallback);
    }
    const std::vector<Row>& rows() const { return rows_; }

private:
    std::vector<Row> rows_;
};

// A colour keyed by a code, and one keyed by a range of integers.
struct CodeColour {
    std::string_view code;
    Rgb rgb;
};
struct RangeColour {
    int lo, hi;
    Rgb rgb;
};

constexpr Rgb kWhite = 0xFFFFFF;

template <std::size_t N>
Rgb colourOf(const std::array<CodeColour, N>& table, std::string_view code) {
    const auto* row = firstRow(table, [&](const CodeColour& r) { return r.code == code; });
    return row ? row->rgb : kWhite;
}

// ---- Tracks ----

const TextTable<2>& tracks() {
    static const TextTable<2> t{
        {"01", "札幌"}, {"02", "函館"}, {"03", "福島"}, {"04", "新潟"}, {"05", "東京"}, {"06", "中山"},
        {"07", "中京"}, {"08", "京都"}, {"09", "阪神"}, {"10", "小倉"}, {"30", "門別"}, {"31", "北見"},
        {"32", "岩見"}, {"33", "帯広"}, {"34", "旭川"}, {"35", "盛岡"}, {"36", "水沢"}, {"37", "上山"},
        {"38", "三条"}, {"39", "足利"}, {"40", "宇都"}, {"41", "高崎"}, {"42", "浦和"}, {"43", "船橋"},
        {"44", "大井"}, {"45", "川崎"}, {"46", "金沢"}, {"47", "笠松"}, {"48", "名古"}, {"49", "紀三"},
        {"50", "園田"}, {"51", "姫路"}, {"52", "益田"}, {"53", "福山"}, {"54", "高知"}, {"55", "佐賀"},
        {"56", "荒尾"}, {"57", "中津"}, {"58", "札チ"}, {"59", "函チ"}, {"60", "新チ"}, {"61", "中チ"},
    };
    return t;
}

// ---- Class names ----

// Race kind `SyubetuCD` in its four forms.
enum KindForm : std::size_t { kKindLong = 1, kKindShort, kKindShortest, kKindEngine };
const TextTable<5>& kinds() {
    static const TextTable<5> t{
        {"11", "サラ系２歳", "２歳", "２歳", "２歳"},
        {"12", "サラ系３歳", "３歳", "３歳", "３歳"},
        {"13", "サラ系３歳以上", "３歳上", "３上", "古馬"},
        {"14", "サラ系４歳以上", "４歳上", "４上", "古馬"},
        {"18", "サラ障害３歳以上", "障害", "障害", "障害"},
        {"19", "サラ障害４歳以上", "障害", "障害", "障害"},
        {"21", "アラブ系２歳", "", "", ""},
        {"22", "アラブ系３歳", "", "", ""},
        {"23", "アラブ系３歳以上", "", "", ""},
        {"24", "アラブ系４歳以上", "", "", ""},
    };
    return t;
}

// Conditions named by their code: column 1 for the long and short class names, 2 for the shortest.
const TextTable<3>& namedConditions() {
    static const TextTable<3> t{
        {"999", "OPEN", "ＯＰ"},
        {"701", "新馬", "新馬"},
        {"702", "未出走", "未出走"},
        {"703", "未勝利", "未勝利"},
        {"000", "", ""},
    };
    return t;
}

// Conditions by number of wins, used from 20190601 on: the code read as an integer falls in [lo, hi].
struct WinClass {
    int lo, hi;
    const char* name;      // long and short class names
    const char* shortest;  // shortest class name
};
constexpr std::array<WinClass, 3> kWinClasses{{
    {1, 5, "１勝クラス", "１勝級"},
    {6, 10, "２勝クラス", "２勝級"},
    {11, 16, "３勝クラス", "３勝級"},
}};
constexpr int kWinClassFrom = 20190601;

std::string condition(std::string_view jyokenCD5, std::string_view date, bool shortest) {
    if (const auto* named = namedConditions().row(jyokenCD5, 0)) return (*named)[shortest ? 2 : 1];
    const int n = toIntDef(jyokenCD5, 0);
    if (toIntDef(date, 0) < kWinClassFrom) return std::to_string(n) + sj(shortest ? "00万" : "00万以下");
    const auto* row = firstRow(kWinClasses, [&](const WinClass& w) { return n >= w.lo && n <= w.hi; });
    return row ? sj(shortest ? row->shortest : row->name) : std::string();
}

// Grade texts by `GradeCD`: the engine's for JyokenCD5 "999" and "000", the grade name's for the same two.
enum GradeColumn : std::size_t { kEngineOpen = 1, kEngineLocal, kGradeOpen, kGradeLocal };
const TextTable<5>& grades() {
    static const TextTable<5> t{
        {"A", "Ｇ１", "Jpn1", "Ｇ１", "Ｇ１"},
        {"B", "Ｇ２", "Jpn2", "Ｇ２", "Ｇ２"},
        {"C", "Ｇ３", "Jpn3", "Ｇ３", "Ｇ３"},
        {"D", "重賞", "地方重", "重賞", "重賞"},
        {"E", "OPEN", "地方OP", "OPEN", "OPEN"},
        {"F", "", "", "J・G1", ""},
        {"G", "", "", "J・G2", ""},
        {"H", "", "", "J・G3", ""},
        {"L", "リステッド", "", "L", ""},
    };
    return t;
}

// Local Jpn1 races recognised by name: each spelling (column 0) is first shortened (column 1),
// then a name containing any shortened form is a Jpn1 race when its `GradeCD` is "A".
const TextTable<2>& jpn1Names() {
    static const TextTable<2> t{
        {"ＪＢＣクラシック", "ＪＢＣクラシ"},
        {"ＪＢＣスプリント", "ＪＢＣスプリ"},
        {"ＪＢＣレディスクラシ", "ＪＢＣレディ"},
        {"マイルＣＳ南部杯", "ＭＣＳ南部杯"},
    };
    return t;
}
bool isJpn1RaceName(std::string_view raceName) {
    std::string name(raceName);
    for (const auto& r : jpn1Names().rows()) name = replaceAll(name, r[0], r[1]);
    return firstRow(jpn1Names().rows(), [&](const auto& r) { return containsText(name, r[1]); }) != nullptr;
}

// ---- Courses ----

struct Surface {
    int lo, hi;         // `TrackCD` read as an integer falls in [lo, hi]
    const char* word;   // course name
    const char* initial;  // course key
};
constexpr std::array<Surface, 3> kSurfaces{{
    {10, 22, "芝", "芝"},
    {23, 29, "ダート", "ダ"},
    {51, 59, "障害", "障"},
}};

std::string surface(std::string_view trackCD, bool initial) {
    const int n = toIntDef(trackCD, 0);
    const auto* row = firstRow(kSurfaces, [&](const Surface& s) { return n >= s.lo && n <= s.hi; });
    return row ? sj(initial ? row->initial : row->word) : std::string("??");
}

// ---- Race symbols ----

const TextTable<2>& symbolFirst() {
    static const TextTable<2> t{
        {"A", "(混)"}, {"B", "(父)"}, {"C", "(市)"}, {"D", "(抽)"}, {"E", "[抽]"},
        {"F", "(市)(抽)"}, {"G", "(抽)"}, {"H", "(抽)"}, {"I", "[抽]"}, {"J", "[抽]"},
        {"K", "(市)(抽)"}, {"L", "(市)(抽)"}, {"M", "(九州)"}, {"N", "(国際)"},
    };
    return t;
}
const TextTable<2>& symbolThird() {
    static const TextTable<2> t{{"1", "(指)"}, {"2", "(若手)"}, {"3", "[指]"}, {"4", "(特)"}};
    return t;
}
const TextTable<2>& sexLimits() {
    static const TextTable<2> t{{"1", "牡"}, {"2", "牝"}, {"3", "牡・ｾﾝ"}, {"4", "牡・牝"}};
    return t;
}

// One character of a `KigoCD`, trimmed of spaces.
std::string kigoChar(std::string_view kigoCD, std::size_t pos) { return trimBoth(part(kigoCD, pos, 1)); }

// ---- Plain code tables ----

const TextTable<2>& weightRules() {
    static const TextTable<2> t{{"1", "ハンデ"}, {"2", "別定"}, {"3", "馬齢"}, {"4", "定量"}};
    return t;
}
// Read both ways; the name column's first match wins, so "3" names ｾﾝ and セ only reads back.
const TextTable<2>& sexes() {
    static const TextTable<2> t{{"1", "牡"}, {"2", "牝"}, {"3", "ｾﾝ"}, {"3", "セ"}};
    return t;
}
const TextTable<2>& goings() {
    static const TextTable<2> t{{"1", "良"}, {"2", "稍"}, {"3", "重"}, {"4", "不"}};
    return t;
}
const TextTable<2>& weathers() {
    static const TextTable<2> t{{"1", "晴"}, {"2", "曇"}, {"3", "雨"}, {"4", "小雨"}, {"5", "雪"}, {"6", "小雪"}};
    return t;
}
const TextTable<3>& coats() {
    static const TextTable<3> t{
        {"01", "栗毛", "栗"},     {"02", "栃栗毛", "栃栗"}, {"03", "鹿毛", "鹿"},     {"04", "黒鹿毛", "黒鹿"},
        {"05", "青鹿毛", "青鹿"}, {"06", "青毛", "青"},     {"07", "芦毛", "芦"},     {"08", "栗粕毛", "栗粕"},
        {"09", "鹿粕毛", "鹿粕"}, {"10", "青粕毛", "青粕"}, {"11", "白毛", "白"},
    };
    return t;
}
const TextTable<2>& affiliations() {
    static const TextTable<2> t{{"1", "美浦"}, {"2", "栗東"}, {"3", "地方"}, {"4", "海外"}};
    return t;
}
// Weekday numbers as ISO 8601 counts them, Monday 1 to Sunday 7.
const TextTable<2>& weekdays() {
    static const TextTable<2> t{{"1", "月"}, {"2", "火"}, {"3", "水"}, {"4", "木"}, {"5", "金"}, {"6", "土"}, {"7", "日"}};
    return t;
}

// A trimmed part of a date read as a whole number.
bool datePart(std::string_view date, std::size_t pos, std::size_t len, long long& out) {
    return parseInt(trimBoth(part(date, pos, len)), out);
}

}  // namespace

Rgb frameColour(std::string_view wakuban) {
    static constexpr std::array<CodeColour, 8> table{{
        {"1", 0xFFFFFF}, {"2", 0x000000}, {"3", 0xFF0000}, {"4", 0x0000FF},
        {"5", 0xFFFF00}, {"6", 0x00FF00}, {"7", 0xFF6600}, {"8", 0xFF0099},
    }};
    return colourOf(table, wakuban);
}

Rgb placingColour(std::string_view position) {
    static constexpr std::array<CodeColour, 3> table{{{"01", 0xFFFF00}, {"02", 0x87CEEB}, {"03", 0xFF6347}}};
    return colourOf(table, position);
}

Rgb valueColour(std::string_view number) {
    static constexpr std::array<RangeColour, 2> table{{{90, 99, 0x87CEEB}, {100, INT_MAX, 0xFFFF00}}};
    const int n = toIntDef(number, 0);
    const auto* row = firstRow(table, [&](const RangeColour& r) { return n >= r.lo && n <= r.hi; });
    return row ? row->rgb : kWhite;
}

std::string trackName(std::string_view jyoCD) { return tracks().find(jyoCD, 0, 1); }
std::string trackCode(std::string_view name) { return tracks().find(name, 1, 0); }

std::string classNameLong(std::string_view syubetuCD, std::string_view jyokenCD5, std::string_view date) {
    return kinds().find(syubetuCD, 0, kKindLong) + " " + condition(jyokenCD5, date, false);
}
std::string classNameShort(std::string_view syubetuCD, std::string_view jyokenCD5, std::string_view date) {
    return kinds().find(syubetuCD, 0, kKindShort) + condition(jyokenCD5, date, false);
}
std::string classNameShortest(std::string_view syubetuCD, std::string_view jyokenCD5, std::string_view date) {
    return kinds().find(syubetuCD, 0, kKindShortest) + condition(jyokenCD5, date, true);
}

std::string engineClassName(std::string_view syubetuCD, std::string_view jyokenCD5, std::string_view gradeCD) {
    std::string cond;
    if (jyokenCD5 == "999")
        cond = grades().find(gradeCD, 0, kEngineOpen);
    else if (jyokenCD5 == "000")
        cond = grades().find(gradeCD, 0, kEngineLocal);
    else if (const auto* named = namedConditions().row(jyokenCD5, 0))
        cond = (*named)[1];  // 新馬, 未出走, 未勝利
    else
        cond = std::to_string(toIntDef(jyokenCD5, 0)) + "00";
    return kinds().find(syubetuCD, 0, kKindEngine) + cond;
}

std::string gradeName(std::string_view jyokenCD5, std::string_view gradeCD, std::string_view raceName) {
    if (gradeCD == "A" && isJpn1RaceName(raceName)) return "Jpn1";
    if (jyokenCD5 == "999") return grades().find(gradeCD, 0, kGradeOpen);
    if (jyokenCD5 == "000") return grades().find(gradeCD, 0, kGradeLocal);
    return {};
}

std::string weightRuleName(std::string_view jyuryoCD) { return weightRules().find(jyuryoCD, 0, 1); }

std::string courseName(std::string_view trackCD, std::string_view kyori) {
    return surface(trackCD, false) + std::string(kyori) + "m";
}
std::string courseKey(std::string_view trackCD, std::string_view kyori) {
    return surface(trackCD, true) + std::string(kyori);
}

std::string raceSymbol(std::string_view kigoCD) {
    return symbolFirst().find(kigoChar(kigoCD, 0), 0, 1) + symbolThird().find(kigoChar(kigoCD, 2), 0, 1);
}
std::string sexRestriction(std::string_view kigoCD) { return sexLimits().find(kigoChar(kigoCD, 1), 0, 1); }

std::string sexName(std::string_view sexCD) { return sexes().find(sexCD, 0, 1); }
std::string sexCode(std::string_view name) { return sexes().find(name, 1, 0); }

std::string goingName(std::string_view babaCD) { return goings().find(babaCD, 0, 1, "**"); }
std::string weatherName(std::string_view tenkoCD) { return weathers().find(tenkoCD, 0, 1, "**"); }

std::string coatNameLong(std::string_view keiroCD) { return coats().find(keiroCD, 0, 1); }
std::string coatNameShort(std::string_view keiroCD) { return coats().find(keiroCD, 0, 2); }

std::string affiliationName(std::string_view tozaiCD) { return affiliations().find(tozaiCD, 0, 1); }

std::string weekdayName(std::string_view date) {
    long long y = 0, m = 0, d = 0;
    if (!datePart(date, 0, 4, y) || !datePart(date, 4, 2, m) || !datePart(date, 6, 2, d)) return {};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return {};
    const std::chrono::year_month_day ymd{std::chrono::year(static_cast<int>(y)),
                                          std::chrono::month(static_cast<unsigned>(m)),
                                          std::chrono::day(static_cast<unsigned>(d))};
    if (!ymd.ok()) return {};
    const unsigned iso = std::chrono::weekday(std::chrono::sys_days(ymd)).iso_encoding();
    return weekdays().find(std::to_string(iso), 0, 1);
}
std::string weekdayNumber(std::string_view name) { return weekdays().find(name, 1, 0, "0"); }

}  // namespace tarvo
