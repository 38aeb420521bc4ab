#include "layouts.h"

#include <array>
#include <span>

#include "cp932.h"
#include "textfn.h"

namespace tarvo {
namespace {

// A member of a repeated group. '#' in a name stands for the index of the
// nearest repetition: the member's own (1 to count) when it repeats, else
// its group's.
struct Member {
    std::string_view name;
    std::size_t len;
    std::size_t count = 1;
};

// One row of a layout table: a field (members empty; repeated count times when
// count > 1, '#' in its name replaced by 1 to count), or count copies of a
// group of members, one after the other from pos; each copy's members are named
// by the row name (with '#' the copy's index) followed by the member name.
struct Row {
    std::string name;
    std::size_t pos;
    std::size_t len = 0;
    std::size_t count = 1;
    std::span<const Member> members = {};
};

Row group(std::string name, std::size_t pos, std::size_t count, std::span<const Member> members) {
    return Row{std::move(name), pos, 0, count, members};
}

// Head of every record: state and creation date.
constexpr Member kRecordHead[] = {{"DataKubun", 1}, {"MakeDate", 8}};
// The race identity at 10-25 of RA, SE, HR, CK and the odds records.
constexpr Member kRaceId[] = {{"Year", 4}, {"MonthDay", 4}, {"JyoCD", 2}, {"Kaiji", 2}, {"Nichiji", 2}, {"RaceNum", 2}};

constexpr Member kCorner[] = {{"Corner#", 1}, {"Syukaisu#", 1}, {"Jyuni#", 70}};

constexpr Member kPayUmaban[] = {{"Umaban#", 2}, {"Pay#", 9}, {"Ninki#", 2}};
constexpr Member kPayWaku[] = {{"Kumi#", 2}, {"Pay#", 9}, {"Ninki#", 2}};
constexpr Member kPayKumi2[] = {{"Kumi#", 4}, {"Pay#", 9}, {"Ninki#", 3}};
constexpr Member kPayKumi3[] = {{"Kumi#", 6}, {"Pay#", 9}, {"Ninki#", 3}};
constexpr Member kPaySantan[] = {{"Kumi#", 6}, {"Pay#", 9}, {"Ninki#", 4}};

constexpr Member kKetto3Info[] = {{"HansyokuNum#", 10}, {"Bamei#", 36}};

// First ride (KS); a first win is its first eight members.
constexpr Member kHatuKiJyo[] = {{"Date", 8},     {"JyoCD", 2},    {"Kaiji", 2},  {"Nichiji", 2},
                                 {"RaceNum", 2},  {"SyussoTosu", 2}, {"KettoNum", 10}, {"Bamei", 36},
                                 {"KakuteiJyuni", 2}, {"IJyoCD", 1}};
constexpr std::span<const Member> kHatuSyori = std::span(kHatuKiJyo).first(8);

constexpr Member kSaikinJyusyo[] = {{"Date", 8},       {"JyoCD", 2},      {"Kaiji", 2},     {"Nichiji", 2},
                                    {"RaceNum", 2},    {"Hondai", 60},    {"Ryakusyo10", 20}, {"Ryakusyo6", 12},
                                    {"Ryakusyo3", 6},  {"GradeCD", 1},    {"SyussoTosu", 2}, {"KettoNum", 10},
                                    {"Bamei", 36}};

constexpr Member kHonZenRuikei[] = {{"SetYear", 4},           {"HonSyokinHeichi", 10},  {"HonSyokinSyogai", 10},
                                    {"FukaSyokinHeichi", 10}, {"FukaSyokinSyogai", 10}, {"ChakuKaisuHeichi", 36},
                                    {"ChakuKaisuSyogai", 36}, {"ChakuKaisuJyo#", 36, 20}, {"ChakuKaisuKyori#", 36, 6}};

// Owner and breeder yearly set.
constexpr Member kYearSet[] = {{"SetYear#", 4}, {"HonSyokinTotal#", 10}, {"FukaSyokin#", 10}, {"ChakuKaisu#", 36}};

std::vector<Row> raHead() { return {group("", 1, 1, kRecordHead), group("", 10, 1, kRaceId)}; }
std::vector<Row> masterHead() { return {group("", 1, 1, kRecordHead)}; }

std::vector<Row> operator+(std::vector<Row> a, std::vector<Row> b) {
    for (Row& r : b) a.push_back(std::move(r));
    return a;
}

std::vector<Row> raRows() {
    return raHead() + std::vector<Row>{
        {"YoubiCD", 26, 1},        {"Hondai", 27, 60},        {"Fukudai", 87, 60},
        {"Kakko", 147, 60},        {"Ryakusyo10", 207, 20},   {"Ryakusyo6", 227, 12},
        {"Ryakusyo3", 239, 6},     {"Kubun", 245, 1},         {"Nkai", 246, 3},
        {"GradeCD", 249, 1},       {"GradeCDBefore", 250, 1}, {"SyubetuCD", 251, 2},
        {"KigoCD", 253, 3},        {"JyuryoCD", 256, 1},      {"JyokenCD#", 257, 3, 5},
        {"JyokenName", 272, 60},   {"Kyori", 332, 4},         {"KyoriBefore", 336, 4},
        {"TrackCD", 340, 2},       {"TrackCDBefore", 342, 2}, {"CourseKubunCD", 344, 2},
        {"CourseKubunCDBefore", 346, 2}, {"HassoTime", 348, 4}, {"HassoTimeBefore", 352, 4},
        {"TorokuTosu", 356, 2},    {"SyussoTosu", 358, 2},    {"NyusenTosu", 360, 2},
        {"TenkoCD", 362, 1},       {"SibaBabaCD", 363, 1},    {"DirtBabaCD", 364, 1},
        {"HaronTimeS3", 365, 3},   {"HaronTimeS4", 368, 3},   {"HaronTimeL3", 371, 3},
        {"HaronTimeL4", 374, 3},   group("", 377, 4, kCorner), {"RecordUpKubun", 665, 1},
    };
}

std::vector<Row> seRows() {
    return raHead() + std::vector<Row>{
        {"Wakuban", 26, 1},        {"Umaban", 27, 2},          {"KettoNum", 29, 10},
        {"Bamei", 39, 36},         {"UmaKigoCD", 75, 2},       {"SexCD", 77, 1},
        {"HinsyuCD", 78, 1},       {"KeiroCD", 79, 2},         {"Barei", 81, 2},
        {"TozaiCD", 83, 1},        {"ChokyosiCode", 84, 5},    {"ChokyosiRyakusyo", 89, 8},
        {"BanusiCode", 97, 6},     {"BanusiName", 103, 64},    {"Futan", 167, 3},
        {"FutanBefore", 170, 3},   {"Blinker", 173, 1},        {"KisyuCode", 174, 5},
        {"KisyuCodeBefore", 179, 5}, {"KisyuRyakusyo", 184, 8}, {"KisyuRyakusyoBefore", 192, 8},
        {"MinaraiCD", 200, 1},     {"MinaraiCDBefore", 201, 1}, {"BaTaijyu", 202, 3},
        {"ZogenFugo", 205, 1},     {"ZogenSa", 206, 3},        {"IJyoCD", 209, 1},
        {"NyusenJyuni", 210, 2},   {"KakuteiJyuni", 212, 2},   {"DochakuKubun", 214, 1},
        {"DochakuTosu", 215, 1},   {"Time", 216, 4},           {"ChakusaCD", 220, 3},
        {"Jyuni#c", 223, 2, 4},    {"Odds", 231, 4},           {"Ninki", 235, 2},
        {"HaronTimeL4", 237, 3},   {"HaronTimeL3", 240, 3},    {"TimeDiff", 243, 4},
        {"RecordUpKubun", 247, 1}, {"KyakusituKubun", 248, 1}, {"TrackCD", 249, 2},
        {"Kyori", 251, 4},         {"UserYoso", 255, 2},
    };
}

std::vector<Row> hrRows() {
    return raHead() + std::vector<Row>{
        group("PayTansyo", 26, 3, kPayUmaban),   group("PayFukusyo", 65, 5, kPayUmaban),
        group("PayWakuren", 130, 3, kPayWaku),   group("PayUmaren", 169, 3, kPayKumi2),
        group("PayWide", 217, 7, kPayKumi2),     group("PayUmatan", 329, 6, kPayKumi2),
        group("PaySanrenpuku", 425, 3, kPayKumi3), group("PaySanrentan", 479, 6, kPaySantan),
    };
}

const std::array<OddsInfo, 5>& oddsTable() {
    static const std::array<OddsInfo, 5> table = {{
        {Family::O2, "UmarenFlag", "OddsUmaren", "HyosuUmaren", 153, {{"Kumi", 4}, {"Odds", 6}, {"Ninki", 3}}},
        {Family::O3, "WideFlag", "OddsWide", "HyosuWide", 153,
         {{"Kumi", 4}, {"OddsLow", 5}, {"OddsHigh", 5}, {"Ninki", 3}}},
        {Family::O4, "UmarenFlag", "OddsUmatan", "HyosuUmaren", 306, {{"Kumi", 4}, {"Odds", 6}, {"Ninki", 3}}},
        {Family::O5, "SanrenFlag", "OddsSanren", "HyosuSanren", 816, {{"Kumi", 6}, {"Odds", 6}, {"Ninki", 3}}},
        {Family::O6, "SantanFlag", "OddsSantan", "HyosuSantan", 4896, {{"Kumi", 6}, {"Odds", 7}, {"Ninki", 4}}},
    }};
    return table;
}

// Head, sale flag, the elements (each one field) and the total votes after them.
std::vector<Row> oddsRows(Family f) {
    const OddsInfo& o = *oddsInfo(f);
    const std::size_t elements = 39;
    return raHead() + std::vector<Row>{
        {"HappyoTime", 26, 8},
        {"TorokuTosu", 34, 2},
        {"SyussoTosu", 36, 2},
        {std::string(o.flagName), 38, 1},
        {std::string(o.elementName) + "#", elements, o.elementLength(), o.count},
        {std::string(o.totalName), elements + o.count * o.elementLength(), 11},
    };
}

std::vector<Row> ckRows() {
    return raHead() + std::vector<Row>{
        {"KettoNum", 26, 10},           {"RuikeiHonsyoHeiti", 36, 9}, {"RuikeiSyutokuHeichi", 45, 9},
        {"TrackCD", 54, 2},             {"Kyori", 56, 4},             {"Uma_KyoriSiba", 60, 18},
        {"Uma_KyoriDart", 78, 18},      {"Uma_JyoSiba", 96, 18},      {"Uma_JyoDart", 114, 18},
        {"KisyuCode", 132, 5},          {"Kisyu_KyoriSiba", 137, 24}, {"Kisyu_KyoriDart", 161, 24},
        {"Kisyu_JyoSiba", 185, 24},     {"Kisyu_JyoDart", 209, 24},
    };
}

std::vector<Row> umRows() {
    return masterHead() + std::vector<Row>{
        {"KettoNum", 10, 10},           {"DelKubun", 20, 1},           {"RegDate", 21, 8},
        {"DelDate", 29, 8},             {"BirthDate", 37, 8},          {"Bamei", 45, 36},
        {"UmaKigoCD", 81, 2},           {"SexCD", 83, 1},              {"HinsyuCD", 84, 1},
        {"KeiroCD", 85, 2},             group("Ketto3Info", 87, 6, kKetto3Info),
        {"TozaiCD", 363, 1},            {"ChokyosiCode", 364, 5},      {"ChokyosiRyakusyo", 369, 8},
        {"Syotai", 377, 20},            {"BreederCode", 397, 8},       {"BreederName", 405, 72},
        {"SanchiName", 477, 20},        {"BanusiCode", 497, 6},        {"BanusiName", 503, 64},
        {"RuikeiHonsyoHeiti", 567, 9},  {"RuikeiHonsyoSyogai", 576, 9}, {"RuikeiFukaHeichi", 585, 9},
        {"RuikeiFukaSyogai", 594, 9},   {"RuikeiSyutokuHeichi", 603, 9}, {"RuikeiSyutokuSyogai", 612, 9},
        {"ChakuSogo", 621, 18},         {"ChakuChuo", 639, 18},        {"ChakuKaisuBa#", 657, 18, 7},
        {"ChakuKaisuJyotai#", 783, 18, 12}, {"ChakuKaisuKyori#", 999, 18, 6}, {"Kyakusitu#", 1107, 3, 4},
    };
}

std::vector<Row> umIndexRows() {
    return {{"KettoNum", 1, 10}, {"SexCD", 11, 1}, {"Bamei", 12, 36}, {"RunList", 48, 1500}};
}

std::vector<Row> ksRows() {
    return masterHead() + std::vector<Row>{
        {"KisyuCode", 10, 5},         {"DelKubun", 15, 1},         {"IssueDate", 16, 8},
        {"DelDate", 24, 8},           {"BirthDate", 32, 8},        {"KisyuName", 40, 34},
        {"KisyuNameKana", 74, 30},    {"KisyuRyakusyo", 104, 8},   {"SexCD", 112, 1},
        {"SikakuCD", 113, 1},         {"MinaraiCD", 114, 1},       {"TozaiCD", 115, 1},
        {"Syotai", 116, 20},          {"ChokyosiCode", 136, 5},    {"ChokyosiRyakusyo", 141, 8},
        group("HatuKiJyo#_", 149, 2, kHatuKiJyo),   group("HatuSyori#_", 283, 2, kHatuSyori),
        group("SaikinJyusyo#_", 411, 3, kSaikinJyusyo), group("HonZenRuikei#_", 900, 3, kHonZenRuikei),
    };
}

std::vector<Row> chRows() {
    return masterHead() + std::vector<Row>{
        {"ChokyosiCode", 10, 5},      {"DelKubun", 15, 1},         {"IssueDate", 16, 8},
        {"DelDate", 24, 8},           {"BirthDate", 32, 8},        {"ChokyosiName", 40, 34},
        {"ChokyosiNameKana", 74, 30}, {"ChokyosiRyakusyo", 104, 8}, {"SexCD", 112, 1},
        {"TozaiCD", 113, 1},          {"Syotai", 114, 20},
        group("SaikinJyusyo#_", 134, 3, kSaikinJyusyo), group("HonZenRuikei#_", 623, 3, kHonZenRuikei),
    };
}

std::vector<Row> brRows() {
    return masterHead() + std::vector<Row>{
        {"BreederCode", 10, 8},      {"BreederName_Co", 18, 72}, {"BreederName", 90, 72},
        {"BreederNameKana", 162, 72}, {"Address", 234, 20},      group("HonRuikei_", 254, 2, kYearSet),
    };
}

std::vector<Row> bnRows() {
    return masterHead() + std::vector<Row>{
        {"BanusiCode", 10, 6},      {"BanusiName_Co", 16, 64}, {"BanusiName", 80, 64},
        {"BanusiNameKana", 144, 50}, {"Fukusyoku", 194, 60},   group("Ruikei_", 254, 2, kYearSet),
    };
}

std::vector<Row> hnRows() {
    return masterHead() + std::vector<Row>{
        {"HansyokuNum", 10, 10},       {"reserved", 20, 8},     {"KettoNum", 28, 10},
        {"DelKubun", 38, 1},           {"Bamei", 39, 36},       {"BirthYear", 75, 4},
        {"SexCD", 79, 1},              {"HinsyuCD", 80, 1},     {"KeiroCD", 81, 2},
        {"HansyokuMochiKubun", 83, 1}, {"ImportYear", 84, 4},   {"SanchiName", 88, 20},
        {"HansyokuFNum", 108, 10},     {"HansyokuMNum", 118, 10},
    };
}

std::vector<Row> skRows() {
    return masterHead() + std::vector<Row>{
        {"KettoNum", 10, 10},       {"BirthDate", 20, 8},   {"SexCD", 28, 1},
        {"HinsyuCD", 29, 1},        {"KeiroCD", 30, 2},     {"SankuMochiKubun", 32, 1},
        {"ImportYear", 33, 4},      {"BreederCode", 37, 8}, {"SanchiName", 45, 20},
        {"HansyokuNum#", 65, 10, 6},
    };
}

// Track data: one record per meeting day and track, twelve race slots for the
// time variants and twelve for the last-3F variants, each a three-character
// value and a surface mark.
std::vector<Row> bbRows() {
    return {{"Year", 1, 4}, {"MonthDay", 5, 4}, {"JyoCD", 9, 2}, {"TimeVariant#", 11, 4, 12}, {"L3FVariant#", 59, 4, 12}};
}

// The old store format keeps the fields and their order with some widths
// changed; a width applies to the field of that name and to the repeated
// fields named by it followed by their index.
struct OldWidth {
    std::string_view name;
    std::size_t len;
};
constexpr OldWidth kUmOld[] = {{"Ketto3InfoHansyokuNum", 8}, {"BreederCode", 6}, {"BreederName", 70}};
constexpr OldWidth kBrOld[] = {{"BreederCode", 6}, {"BreederName_Co", 70}, {"BreederName", 70}, {"BreederNameKana", 70}};
constexpr OldWidth kHnOld[] = {{"HansyokuNum", 8}, {"HansyokuFNum", 8}, {"HansyokuMNum", 8}};
constexpr OldWidth kSkOld[] = {{"BreederCode", 6}, {"HansyokuNum", 8}};

bool namesField(std::string_view overrideName, std::string_view field) {
    if (field.substr(0, overrideName.size()) != overrideName) return false;
    for (char c : field.substr(overrideName.size()))
        if (c < '0' || c > '9') return false;
    return true;
}

struct FamilyDecl {
    Family family;
    std::string_view id;
    std::size_t lineLength;
    std::vector<Row> (*rows)();                // new-format families
    Family base = Family::RA;                  // old-format families: the new layout they derive from
    std::span<const OldWidth> oldWidths = {};  // and their changed widths
    std::vector<std::string_view> key = {};    // record key fields
};

std::vector<std::string_view> raceIdentity() { return {"Year", "MonthDay", "JyoCD", "Kaiji", "Nichiji", "RaceNum"}; }
std::vector<std::string_view> withKetto() {
    auto k = raceIdentity();
    k.push_back("KettoNum");
    return k;
}

// Same order as the enumeration.
const std::vector<FamilyDecl>& declarations() {
    static const std::vector<FamilyDecl> decls = {
        {Family::RA, "RA", 667, raRows, {}, {}, raceIdentity()},
        {Family::SE, "SE", 258, seRows, {}, {}, withKetto()},
        {Family::HR, "HR", 594, hrRows, {}, {}, raceIdentity()},
        {Family::O2, "O2", 2040, [] { return oddsRows(Family::O2); }, {}, {}, raceIdentity()},
        {Family::O3, "O3", 2652, [] { return oddsRows(Family::O3); }, {}, {}, raceIdentity()},
        {Family::O4, "O4", 4029, [] { return oddsRows(Family::O4); }, {}, {}, raceIdentity()},
        {Family::O5, "O5", 12291, [] { return oddsRows(Family::O5); }, {}, {}, raceIdentity()},
        {Family::O6, "O6", 83283, [] { return oddsRows(Family::O6); }, {}, {}, raceIdentity()},
        {Family::CK, "CK", 234, ckRows, {}, {}, withKetto()},
        {Family::UM, "UM", 1120, umRows, {}, {}, {"KettoNum"}},
        {Family::UMIDX, "UMIDX", 1549, umIndexRows, {}, {}, {"KettoNum"}},
        {Family::KS, "KS", 4057, ksRows, {}, {}, {"KisyuCode"}},
        {Family::CH, "CH", 3780, chRows, {}, {}, {"ChokyosiCode"}},
        {Family::BR, "BR", 375, brRows, {}, {}, {"BreederCode"}},
        {Family::BN, "BN", 375, bnRows, {}, {}, {"BanusiCode"}},
        {Family::HN, "HN", 129, hnRows, {}, {}, {"HansyokuNum"}},
        {Family::SK, "SK", 126, skRows, {}, {}, {"KettoNum"}},
        {Family::UMOld, "UMOld", 1104, nullptr, Family::UM, kUmOld, {"KettoNum"}},
        {Family::BROld, "BROld", 367, nullptr, Family::BR, kBrOld, {"BreederCode"}},
        {Family::HNOld, "HNOld", 123, nullptr, Family::HN, kHnOld, {"HansyokuNum"}},
        {Family::SKOld, "SKOld", 112, nullptr, Family::SK, kSkOld, {"KettoNum"}},
        {Family::BB, "BB", 108, bbRows, {}, {}, {"Year", "MonthDay", "JyoCD"}},
    };
    return decls;
}

std::string numbered(std::string_view name, std::size_t n) {
    std::string out;
    for (char c : name) {
        if (c == '#')
            out += std::to_string(n);
        else
            out += c;
    }
    return out;
}

std::vector<Field> expand(const std::vector<Row>& rows) {
    std::vector<Field> fields;
    for (const Row& r : rows) {
        if (r.members.empty()) {
            for (std::size_t i = 0; i < r.count; ++i)
                fields.push_back({numbered(r.name, i + 1), r.pos + i * r.len, r.len});
            continue;
        }
        std::size_t pos = r.pos;
        for (std::size_t g = 1; g <= r.count; ++g) {
            const std::string prefix = numbered(r.name, g);
            for (const Member& m : r.members) {
                for (std::size_t i = 1; i <= m.count; ++i) {
                    fields.push_back({prefix + numbered(m.name, m.count > 1 ? i : g), pos, m.len});
                    pos += m.len;
                }
            }
        }
    }
    return fields;
}

std::vector<Field> oldFields(const Layout& base, std::span<const OldWidth> widths) {
    std::vector<Field> fields = base.fields;
    std::size_t pos = 1;
    for (Field& f : fields) {
        for (const OldWidth& w : widths)
            if (namesField(w.name, f.name)) f.len = w.len;
        f.pos = pos;
        pos += f.len;
    }
    return fields;
}

struct Tables {
    std::vector<Layout> layouts;
    std::vector<std::vector<KeyRange>> keys;
};

const Tables& tables() {
    static const Tables t = [] {
        Tables out;
        const auto& decls = declarations();
        out.layouts.resize(decls.size());
        for (std::size_t i = 0; i < decls.size(); ++i) {
            const FamilyDecl& d = decls[i];
            Layout& l = out.layouts[i];
            l.id = d.id;
            l.lineLength = d.lineLength;
            l.fields = d.rows ? expand(d.rows()) : oldFields(out.layouts[static_cast<std::size_t>(d.base)], d.oldWidths);
            for (std::size_t k = 0; k < l.fields.size(); ++k) l.index.emplace(l.fields[k].name, k);
        }
        for (std::size_t i = 0; i < decls.size(); ++i) {
            std::vector<KeyRange> ranges;
            for (std::string_view name : decls[i].key) {
                const Field* f = out.layouts[i].find(name);
                if (!f) continue;
                if (!ranges.empty() && ranges.back().pos + ranges.back().len == f->pos - 1)
                    ranges.back().len += f->len;  // adjacent fields form one range
                else
                    ranges.push_back({f->pos - 1, f->len});
            }
            out.keys.push_back(std::move(ranges));
        }
        return out;
    }();
    return t;
}

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

const std::vector<Family>& allFamilies() {
    static const std::vector<Family> list = [] {
        std::vector<Family> v;
        for (const FamilyDecl& d : declarations()) v.push_back(d.family);
        return v;
    }();
    return list;
}

const Field* Layout::find(std::string_view name) const {
    const auto it = index.find(name);
    return it == index.end() ? nullptr : &fields[it->second];
}

const Layout& layoutOf(Family f) { return tables().layouts[static_cast<std::size_t>(f)]; }

std::optional<Family> familyById(std::string_view id) {
    for (const FamilyDecl& d : declarations())
        if (d.id == id) return d.family;
    return std::nullopt;
}

Family oldFormatOf(Family f) {
    for (const FamilyDecl& d : declarations())
        if (!d.rows && d.base == f) return d.family;
    return f;
}

bool keyedByRace(Family f) {
    const auto& key = declarations()[static_cast<std::size_t>(f)].key;
    return !key.empty() && key.front() == "Year";
}

std::string_view fieldText(std::string_view line, const Field& f) {
    const std::size_t start = f.pos - 1;
    return start >= line.size() ? std::string_view() : line.substr(start, f.len);
}

std::string_view getField(Family f, std::string_view line, std::string_view name) {
    const Field* field = layoutOf(f).find(name);
    return field ? fieldText(line, *field) : std::string_view();
}

const std::vector<KeyRange>& recordKey(Family f) { return tables().keys[static_cast<std::size_t>(f)]; }

LineBuilder::LineBuilder(Family f) : family_(f) {
    const std::size_t n = layoutOf(f).lineLength;
    line_.assign(n - 2, ' ');
    line_ += "\r\n";
}

LineBuilder::LineBuilder(Family f, std::string_view line) : LineBuilder(f) {
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n") line.remove_suffix(2);
    line_.replace(0, std::min(line.size(), line_.size() - 2), line.substr(0, line_.size() - 2));
}

bool LineBuilder::set(std::string_view name, std::string_view value) { return put(name, trimBoth(value)); }

bool LineBuilder::setRaw(std::string_view name, std::string_view value) { return put(name, value); }

bool LineBuilder::put(std::string_view name, std::string_view value) {
    const Field* f = layoutOf(family_).find(name);
    if (!f) return false;
    // Cut at a character boundary so that no lead byte is left without its trail byte.
    std::size_t n = 0;
    while (n < value.size() && n + charLen(value, n) <= f->len) n += charLen(value, n);
    std::string text(value.substr(0, n));
    text.append(f->len - n, ' ');
    line_.replace(f->pos - 1, f->len, text);
    return true;
}

std::string_view LineBuilder::get(std::string_view name) const { return getField(family_, line_, name); }

std::size_t OddsInfo::elementLength() const {
    std::size_t n = 0;
    for (const OddsMember& m : members) n += m.len;
    return n;
}

const OddsInfo* oddsInfo(Family f) {
    for (const OddsInfo& o : oddsTable())
        if (o.family == f) return &o;
    return nullptr;
}

std::string_view oddsElement(Family f, std::string_view line, std::string_view kumi) {
    const OddsInfo* o = oddsInfo(f);
    // A stored combination trimmed of spaces can only equal a text of its full width without blanks.
    if (!o || kumi.size() != o->kumiLength() || trimSpaces(kumi).size() != kumi.size()) return {};
    const Field* first = layoutOf(f).find(std::string(o->elementName) + "1");
    const std::size_t len = o->elementLength();
    for (std::size_t i = 0, pos = first->pos - 1; i < o->count && pos < line.size(); ++i, pos += len) {
        const std::string_view element = line.substr(pos, len);
        if (element.substr(0, kumi.size()) == kumi) return element;
    }
    return {};
}

std::string_view oddsField(Family f, std::string_view line, std::string_view name, std::string_view kumi) {
    const OddsInfo* o = oddsInfo(f);
    if (o && name == o->elementName) return oddsElement(f, line, kumi);
    return getField(f, line, name);
}

std::string_view oddsElementPart(Family f, std::string_view element, std::string_view member) {
    const OddsInfo* o = oddsInfo(f);
    if (!o) return {};
    std::size_t at = 0;
    for (const OddsMember& m : o->members) {
        if (m.name == member) return at >= element.size() ? std::string_view() : element.substr(at, m.len);
        at += m.len;
    }
    return {};
}

}  // namespace tarvo
