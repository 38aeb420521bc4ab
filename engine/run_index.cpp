#include "run_index.h"

#include <array>

#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "race_key.h"
#include "std_tables.h"
#include "textfn.h"
#include "time_calc.h"

namespace tarvo {
namespace {

constexpr int kMissing = -150;

int numberOr(std::string_view text, int def) { return toIntDef(trimBoth(text), def); }

bool isJump(std::string_view courseKey) { return courseKey.substr(0, 2) == sj("障"); }

// The weight term: index points for the weight carried above or below 55.0 kg.
long double weightTerm(std::string_view futan) {
    return static_cast<long double>(numberOr(futan, 0) - 550) / 10.0L *
           static_cast<long double>(engineSettings().weight);
}

// The distance factor, single precision as the tables give it; products with
// it are formed in extended precision.
long double distanceFactor(std::string_view courseKey) {
    return engineSettings().distidx ? static_cast<long double>(distanceCoefficient(courseKey)) : 1.0L;
}

// A standard of table A (m ss t) in tenths.
int standardTenths(int cell) { return storedTimeToTenths(std::to_string(cell)); }

struct NameValue {
    const char* name;  // UTF-8
    int value;
};

// Values of the local graded races by their short name.
constexpr NameValue kJpnRaces[] = {
    {"東京大賞典", 101}, {"川崎記念", 101},   {"かしわ記念", 100},  {"帝王賞", 100},     {"ジャパンＤダ", 93},
    {"マイルＣｈＳ", 98}, {"ＪＢＣクラシ", 102}, {"ＪＢＣスプリ", 97}, {"全日本２歳優", 86}, {"エンプレス杯", 92},
    {"ダイオライト", 96}, {"兵庫ＣｈＳ", 88},   {"さきたま杯", 95},   {"関東オークス", 87}, {"ブリーダーズ", 95},
    {"日本ＴＶ盃", 97},   {"東京盃", 96},       {"兵庫ジュニア", 86}, {"浦和記念", 96},     {"名古屋ＧＰ", 96},
    {"ＴＣＫ女王盃", 93}, {"佐賀記念", 95},     {"黒船賞", 94},       {"名古屋大賞典", 95}, {"マリーンＣ", 90},
    {"東京スプリン", 96}, {"かきつばた記", 95}, {"北海道スプリ", 95}, {"スパーキング", 90}, {"マーキュリー", 96},
    {"クラスターＣ", 95}, {"サマーＣｈ", 94},   {"白山大賞典", 94},   {"エーデルワイ", 82}, {"北海道２歳優", 83},
    {"クイーン賞", 92},   {"兵庫ゴールド", 96}, {"ＪＢＣレディ", 95}, {"レディスプレ", 95}, {"オーバルスプ", 94},
};

// Races without a Jpn grade whose name sets the value.
constexpr NameValue kNamedRaces[] = {{"ＪＢＣレディ", 97}, {"レディスプレ", 96}, {"オーバルスプ", 94}};

// Base values by class name: tracks 42 to 45, tracks 30 and 50, any other track.
struct BaseRow {
    const char* className;
    std::array<int, 3> values;
};
constexpr BaseRow kBase[] = {
    {"２歳地方OP", {78, 75, 71}}, {"２歳地方重", {82, 79, 72}}, {"３歳地方OP", {75, 72, 69}},
    {"３歳地方重", {85, 81, 72}}, {"古馬地方OP", {85, 81, 75}}, {"古馬地方重", {90, 85, 78}},
};

// Jpn races not named above, by age word and grade (Jpn1, Jpn2, Jpn3).
struct GradeRow {
    const char* age;
    std::array<int, 3> values;
};
constexpr GradeRow kGrades[] = {{"古馬", {101, 96, 95}}, {"３歳", {92, 88, 87}}, {"２歳", {86, 85, 83}}};
constexpr const char* kJpn[] = {"Jpn1", "Jpn2", "Jpn3"};

template <std::size_t N>
int nameValue(const NameValue (&table)[N], std::string_view name, int def) {
    for (const NameValue& nv : table)
        if (name == sj(nv.name)) return nv.value;
    return def;
}

std::string indexText(int x) { return x <= -100 ? std::string("--") : std::to_string(x); }

}  // namespace

std::string runIndex(std::string_view jyoCD, std::string_view courseKey, std::string_view time,
                     std::string_view timeVariant, std::string_view futan) {
    const auto s = isJump(courseKey) ? std::nullopt : standardLookup('A', courseKey, jyoCD);
    const int v = numberOr(timeVariant, kMissing);
    if (!s || v == kMissing) return "**";
    const int t = storedTimeToTenths(time);
    if (t <= 0) return "--";
    const long double x =
        static_cast<long double>(standardTenths(*s) - t) * distanceFactor(courseKey) + 90 + weightTerm(futan);
    return std::to_string(v + roundHalfAway(x));
}

std::string last3fIndex(std::string_view jyoCD, std::string_view courseKey, std::string_view time,
                        std::string_view l3fVariant, std::string_view timeDiff, std::string_view futan,
                        std::string_view haronTimeL3) {
    if (courseKey.empty() || isJump(courseKey)) return "**";
    const auto sb = standardLookup('B', courseKey, jyoCD);
    const int v = numberOr(l3fVariant, kMissing);
    if (!sb || v == kMissing) return "**";
    const int t = storedTimeToTenths(time);
    const int l = numberOr(haronTimeL3, 0);
    const int blended = l + roundHalfAway(static_cast<long double>(t - l) / 2);
    int x = roundHalfAway(static_cast<long double>(*sb - blended) * distanceFactor(courseKey) + 90 + v +
                          weightTerm(futan));
    const int behind = numberOr(timeDiff, 0);
    if (behind > 5) x = roundHalfAway(static_cast<long double>(x) - static_cast<long double>(behind) / 2);
    return std::to_string(x);
}

int localClassValue(std::string_view jyoCD, std::string_view syubetuCD, std::string_view jyokenCD5,
                    std::string_view gradeCD, std::string_view ryakusyo6) {
    const std::string className = engineClassName(syubetuCD, jyokenCD5, gradeCD);
    std::string raceName = trimBoth(ryakusyo6);
    for (std::size_t pos = 0; pos < raceName.size(); pos += charLen(raceName, pos))
        if (raceName.compare(pos, 2, sj("（")) == 0) {
            raceName.resize(pos);
            break;
        }
    const int track = numberOr(jyoCD, 0);
    const std::size_t column = (track >= 42 && track <= 45) ? 0 : (track == 30 || track == 50) ? 1 : 2;
    int value = kMissing;
    for (const BaseRow& row : kBase)
        if (className == sj(row.className)) value = row.values[column];

    int grade = -1;  // 0 to 2 for Jpn1 to Jpn3
    for (int g = 0; g < 3 && grade < 0; ++g)
        if (containsText(className, kJpn[g])) grade = g;
    if (grade < 0) return nameValue(kNamedRaces, raceName, value);

    value = nameValue(kJpnRaces, raceName, value);
    if (value < 0)
        for (const GradeRow& row : kGrades)
            if (className.compare(0, sj(row.age).size(), sj(row.age)) == 0) value = row.values[grade];
    return value;
}

RaceRun raceRunOf(const RaceKey& race, std::string_view se, std::string_view ra, std::string_view courseKey) {
    auto f = [&](std::string_view name) { return getField(Family::SE, se, name); };
    auto r = [&](std::string_view name) { return getField(Family::RA, ra, name); };
    return {race.year,       race.monthDay, race.jyoCD,   race.raceNum,    r("Ryakusyo6"), r("KigoCD"),
            r("GradeCD"),    r("JyokenCD5"), r("SyubetuCD"), f("Futan"),   courseKey,      f("Time")};
}

std::string raceBasedIndex(const StorePaths& paths, const RaceRun& run) {
    const int c = localClassValue(run.jyoCD, run.syubetuCD, run.jyokenCD5, run.gradeCD, run.ryakusyo6);
    if (c <= kMissing) return "**";
    const int t = storedTimeToTenths(run.time);
    const int r = referenceTime(paths, run.year, run.monthDay, run.jyoCD, run.raceNum, PlaceOrder::Confirmed);
    return indexText(roundHalfAway(static_cast<long double>(r - t) * distanceFactor(run.courseKey) + c +
                                   weightTerm(run.futan)));
}

std::string steeplechaseIndex(const StorePaths& paths, const RaceRun& run) {
    if (numberOr(run.time, 0) <= 0) return "-150";
    int base = 75;
    if (run.jyokenCD5 == "999") base = run.gradeCD == "F" ? 88 : (run.gradeCD == "G" || run.gradeCD == "H") ? 85 : 80;
    const int t = storedTimeToTenths(run.time);
    const int r = referenceTime(paths, run.year, run.monthDay, run.jyoCD, run.raceNum, PlaceOrder::Arrival);
    return indexText(roundHalfAway(weightTerm(run.futan) + base + r - t));
}

}  // namespace tarvo
