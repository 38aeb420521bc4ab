#include "std_tables.h"

#include <array>
#include <string>
#include <vector>

#include "cp932.h"
#include "textfn.h"

namespace tarvo {

namespace {

// The rows as compiled in: course key, tracks 01 to 10, other tracks.
constexpr const char* kTableA[] = {
        "芝1000,580,579,581,553,,,583,,,576,",
        "芝1200,1099,1104,1093,1093,,1083,1094,1087,1091,1090,",
        "芝1400,,,,1216,1220,,1233,1218,1213,,",
        "芝1500,1295,,,,,,,,,,",
        "芝1600,,,,1343,1342,1343,1360,1344,1346,,",
        "芝1700,,,1423,,,,1432,,,1411,",
        "芝1800,1498,1503,1484,1472,1479,1487,1485,1470,1467,1481,",
        "芝2000,2026,2032,2012,2001,2010,2014,2010,2009,2012,2011,",
        "芝2200,,,,2142,2154,2151,2153,2148,2143,,",
        "芝2300,,,,,2207,,,,,,",
        "芝2400,,,,2276,2274,,,2272,2271,,",
        "芝2500,,,,,2350,2348,2354,,2340,,",
        "芝2600,2431,2442,2412,,,,,,2415,2417,",
        "芝3000,,,,,,,3048,3058,3084,,",
        "芝3200,,,,,3204,3221,,3200,,,",
        "芝3400,,,,,3347,,,,,,",
        "芝3600,,,,,,3498,,,,,",
        "ダ1000,592,593,594,,,597,596,,,590,608",
        "ダ1150,,,1088,,,,,,,,",
        "ダ1200,,,,1121,1124,1123,1139,1125,1124,,1142",
        "ダ1300,,,,,1188,,,,,,1208",
        "ダ1400,,,,,1254,,1263,1250,1248,,1272",
        "ダ1500,,,,,,,,,,,1339",
        "ダ1600,,,,,1384,,1405,,,,1406",
        "ダ1700,1463,1468,1464,1475,,,1471,,,1466,1490",
        "ダ1800,,,,1538,,1550,1556,1532,1536,,1565",
        "ダ1870,,,,,,,,,,,2030",
        "ダ1900,,,,,,,2004,1598,,,2058",
        "ダ2000,,,,,,,,,2065,,2096",
        "ダ2100,,,,,2128,,,,,,2161",
        "ダ2300,,,,,,,2292,,,,2324",
        "ダ2400,2356,2365,2356,,2345,2376,,,,2362,2394",
        "ダ2500,,,,2429,,2428,2449,,,,2462",
        "ダ2600,,,,,,,,,,,2530",
};

constexpr const char* kTableB[] = {
        "芝1000,464,464,466,441,,,466,,,460,",
        "芝1200,526,531,523,520,,515,521,518,518,520,",
        "芝1400,,,,584,583,,594,580,582,,",
        "芝1500,626,,,,,,,,,,",
        "芝1600,,,,640,644,648,658,644,647,,",
        "芝1700,,,691,,,,697,,,682,",
        "芝1800,728,733,721,707,713,721,720,710,705,718,",
        "芝2000,792,797,786,773,778,783,784,782,784,785,",
        "芝2200,,,,848,852,853,856,849,848,,",
        "芝2300,,,,,880,,,,,,",
        "芝2400,,,,915,913,,,911,912,,",
        "芝2500,,,,,955,953,956,,948,,",
        "芝2600,995,1004,986,,,,,,987,989,",
        "芝3000,,,,,,,1102,1112,1120,,",
        "芝3200,,,,,1183,1192,,1178,,,",
        "芝3400,,,,,1253,,,,,,",
        "芝3600,,,,,,1331,,,,,",
        "ダ1000,475,477,478,,,481,480,,,475,",
        "ダ1150,,,530,,,,,,,,",
        "ダ1200,,,,547,546,550,562,547,546,,",
        "ダ1300,,,,,578,,,,,,",
        "ダ1400,,,,,612,,619,612,611,,",
        "ダ1500,,,,,,,,,,,",
        "ダ1600,,,,,678,,694,,,,",
        "ダ1700,720,724,723,727,,,727,,,724,",
        "ダ1800,,,,760,,769,768,753,757,,",
        "ダ1870,,,,,,,,,,,",
        "ダ1900,,,,,,,793,786,,,",
        "ダ2000,,,,,,,,,822,,",
        "ダ2100,,,,,852,,,,,,",
        "ダ2300,,,,,,,937,,,,",
        "ダ2400,971,977,971,,964,983,,,,973,",
        "ダ2500,,,,1008,,1007,1014,,,,",
        "ダ2600,,,,,,,,,,,",
};

constexpr const char* kTableE[] = {
        "芝1000,348,352,343,336,,,345,,,338,",
        "芝1200,352,354,349,348,,344,347,347,348,347,",
        "芝1400,,,,352,353,,359,351,353,,",
        "芝1500,359,,,,,,,,,,",
        "芝1600,,,,352,354,354,363,353,353,,",
        "芝1700,,,361,,,,352,,,357,",
        "芝1800,363,367,362,364,362,361,360,364,366,361,",
        "芝2000,363,366,363,362,361,361,360,360,360,363,",
        "芝2200,,,,360,359,360,373,358,361,,",
        "芝2300,,,,,362,,,,,,",
        "芝2400,,,,360,362,,,360,361,,",
        "芝2500,,,,,361,365,363,,362,,",
        "芝2600,366,372,365,,,,,,366,367,",
        "芝3000,,,,,,,373,367,363,,",
        "芝3200,,,,,369,367,,369,,,",
        "芝3400,,,,,368,,,,,,",
        "芝3600,,,,,,361,,,,,",
        "ダ1000,358,357,358,,,364,358,,,356,",
        "ダ1150,,,358,,,,,,,,",
        "ダ1200,,,,364,365,364,354,366,364,,",
        "ダ1300,,,,,367,,,,,,",
        "ダ1400,,,,,369,,366,370,369,,",
        "ダ1500,,,,,,,,,,,",
        "ダ1600,,,,,372,,371,,,,",
        "ダ1700,378,381,381,378,,,383,,,382,",
        "ダ1800,,,,383,,389,388,380,381,,",
        "ダ1870,,,,,,,,,,,",
        "ダ1900,,,,,,,379,382,,,",
        "ダ2000,,,,,,,,,382,,",
        "ダ2100,,,,,383,,,,,,",
        "ダ2300,,,,,,,387,,,,",
        "ダ2400,389,392,390,,386,395,,,,390,",
        "ダ2500,,,,393,,400,401,,,,",
        "ダ2600,,,,,,,,,,,",
};

// Table C is table A without the other-tracks cells and with these cells changed;
// table D is table B with these cells changed.
struct CellChange {
    const char* course;
    int track;  // 1 to 10
    const char* value;
};

constexpr CellChange kChangesC[] = {
    {"芝1200", 6, "1086"}, {"芝1200", 7, "1095"}, {"芝1200", 8, "1089"}, {"芝1200", 9, "1092"},
    {"芝1600", 5, "1345"}, {"芝1600", 8, "1347"}, {"芝1800", 8, "1472"}, {"芝2000", 4, "2003"},
    {"芝2000", 8, "2011"}, {"芝2400", 8, "2274"}, {"芝3000", 8, "3068"}, {"芝3400", 5, "3350"},
    {"ダ1200", 6, "1125"}, {"ダ1800", 8, "1534"}, {"ダ2000", 9, "2068"}, {"ダ2100", 5, "2133"},
};

constexpr CellChange kChangesD[] = {
    {"芝1200", 6, "518"}, {"芝1200", 7, "524"}, {"芝1400", 8, "582"}, {"芝1600", 5, "647"},
    {"芝1600", 8, "647"}, {"芝2400", 8, "912"}, {"芝3000", 8, "1118"}, {"芝3400", 5, "1257"},
    {"ダ1800", 6, "771"},  {"ダ1800", 8, "755"}, {"ダ2100", 5, "855"},
};

constexpr int kFields = 12;
constexpr int kOtherTracks = 11;

// One row: its text split at commas (empty fields kept) and the key it is found by.
struct Row {
    std::string key;                         // the first six bytes of the trimmed row
    std::array<std::string, kFields> fields;  // CP932
    std::array<int, kFields> value{};         // the field as an integer above 0, else 0

    void setField(int i, std::string text) {
        fields[i] = std::move(text);
        long long v = 0;
        value[i] = parseInt(trimBoth(fields[i]), v) && v > 0 && v <= 0x7FFFFFFF ? static_cast<int>(v) : 0;
    }
};

using Table = std::vector<Row>;

Table parseRows(const char* const* rows, std::size_t n) {
    Table t;
    t.reserve(n);
    for (std::size_t r = 0; r < n; ++r) {
        const std::string text = sj(rows[r]);
        Row row;
        row.key = trimBoth(text).substr(0, 6);
        std::size_t start = 0;
        for (int i = 0; i < kFields; ++i) {
            const std::size_t comma = i + 1 < kFields ? text.find(',', start) : std::string::npos;
            row.setField(i, text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        t.push_back(std::move(row));
    }
    return t;
}

// The first row, in table order, whose key equals the course key.
template <class T>
auto findRow(T& t, std::string_view key) -> decltype(&t.front()) {
    for (auto& r : t)
        if (r.key == key) return &r;
    return nullptr;
}

template <std::size_t N>
void applyChanges(Table& t, const CellChange (&changes)[N]) {
    for (const CellChange& c : changes)
        if (Row* r = findRow(t, sj(c.course))) r->setField(c.track, c.value);
}

struct Tables {
    std::array<Table, 5> byLetter;  // A to E

    Tables() {
        Table& a = byLetter[0];
        Table& b = byLetter[1];
        Table& c = byLetter[2];
        Table& d = byLetter[3];
        a = parseRows(kTableA, std::size(kTableA));
        b = parseRows(kTableB, std::size(kTableB));
        byLetter[4] = parseRows(kTableE, std::size(kTableE));
        c = a;
        for (Row& r : c) r.setField(kOtherTracks, "");
        applyChanges(c, kChangesC);
        d = b;
        applyChanges(d, kChangesD);
    }
};

const Tables& tables() {
    static const Tables built;
    return built;
}

// The field a track code selects in a table, or 0 when the table has none for it.
int fieldFor(char table, std::string_view jyoCD) {
    long long code = 0;
    const bool number = parseInt(jyoCD, code);
    if (number && code >= 1 && code <= 10) return static_cast<int>(code);
    switch (table) {
        case 'E': return 0;
        case 'A': return number && code > 10 ? kOtherTracks : 0;
        default: return kOtherTracks;
    }
}

// Factor for distances below 'below', in ascending order; the last step holds for every longer distance.
struct Step {
    int below;
    float factor;
};

constexpr int kLongest = 0x7FFFFFFF;

constexpr Step kTurfSteps[] = {
    {1000, 1.035f}, {1200, 1.03f}, {1400, 1.025f}, {1500, 1.02f}, {1600, 1.01f},  {1700, 1.0f},
    {1800, 0.995f}, {2000, 0.99f}, {2200, 0.98f},  {2300, 0.975f}, {2400, 0.97f}, {2500, 0.965f},
    {2600, 0.96f},  {3000, 0.95f}, {3200, 0.945f}, {3400, 0.94f},  {3600, 0.935f}, {kLongest, 0.93f},
};

constexpr Step kDirtSteps[] = {
    {1000, 1.035f}, {1150, 1.03f},  {1200, 1.025f}, {1300, 1.02f}, {1400, 1.015f}, {1500, 1.01f},
    {1600, 1.005f}, {1700, 1.0f},   {1800, 0.995f}, {1900, 0.985f}, {2000, 0.975f}, {2100, 0.97f},
    {2300, 0.96f},  {2400, 0.955f}, {2500, 0.95f},  {2600, 0.94f}, {kLongest, 0.93f},
};

template <std::size_t N>
float stepFactor(const Step (&steps)[N], int distance) {
    for (const Step& s : steps)
        if (distance < s.below) return s.factor;
    return steps[N - 1].factor;  // a distance of kLongest itself
}

}  // namespace

void buildStandardTimeTables() { (void)tables(); }

std::optional<int> standardLookup(char table, std::string_view courseKey, std::string_view jyoCD) {
    if (table < 'A' || table > 'E') return std::nullopt;
    const int field = fieldFor(table, jyoCD);
    if (field == 0) return std::nullopt;
    const Row* row = findRow(tables().byLetter[table - 'A'], courseKey);
    if (!row || row->value[field] == 0) return std::nullopt;
    return row->value[field];
}

float distanceCoefficient(std::string_view courseKey) {
    static const std::string turf = sj("芝"), dirt = sj("ダ");
    const std::string_view surface = courseKey.substr(0, 2);
    const int distance = toIntDef(courseKey.substr(std::min<std::size_t>(2, courseKey.size()), 4), 0);
    if (surface == turf) return stepFactor(kTurfSteps, distance);
    if (surface == dirt) return stepFactor(kDirtSteps, distance);
    return 1.0f;
}

}  // namespace tarvo
