#include "person_view.h"

#include <algorithm>

#include "code_tables.h"
#include "cp932.h"
#include "fsys.h"
#include "lookups.h"
#include "textfn.h"

namespace tarvo {

const PersonKind kJockeys{
    .family = Family::KS, .folder = "KS",
    .nameField = "KisyuName", .kanaField = "KisyuNameKana", .codeField = "KisyuCode", .shortNameField = "KisyuRyakusyo",
    .listGrid = "stgKshList", .listCaption = "騎手一覧", .dataCaption = "騎手データ",
    .totalHeading = "騎乗", .careerTotalHeading = "通乗", .careerTotalHint = "平地の通算騎乗数です",
    .codeLabel = "lbl_ksnum", .nameLabel = "lbl_knam", .dataLeft = 390, .jockey = true,
};

const PersonKind kTrainers{
    .family = Family::CH, .folder = "CH",
    .nameField = "ChokyosiName", .kanaField = "ChokyosiNameKana", .codeField = "ChokyosiCode",
    .shortNameField = "ChokyosiRyakusyo",
    .listGrid = "stgChoList", .listCaption = "調教師一覧", .dataCaption = "調教師データ",
    .totalHeading = "出走", .careerTotalHeading = "通出", .careerTotalHint = "平地の通算出走数です",
    .codeLabel = "lbl_Chnum", .nameLabel = "lbl_CNam", .dataLeft = 440, .jockey = false,
};

namespace {

constexpr std::string_view kFullSpace = "\x81\x40";  // 　 in CP932

std::string field(const PersonKind& k, std::string_view line, std::string_view name) {
    return std::string(getField(k.family, line, name));
}
std::string trimmed(const PersonKind& k, std::string_view line, std::string_view name) {
    return trimBoth(getField(k.family, line, name));
}
// A place-count field of a block: "HonZenRuikei1_" + ending.
std::string_view counts(const PersonKind& k, std::string_view line, int block, std::string_view ending) {
    return getField(k.family, line, "HonZenRuikei" + std::to_string(block) + "_" + std::string(ending));
}
bool isLocalOrAbroad(std::string_view tozai) { return tozai == "3" || tozai == "4"; }

std::string withoutText(std::string_view s, std::string_view gone) { return replaceAll(s, gone, ""); }

// First, second, third right-aligned in 3 and others in 4, joined by "-".
std::string countsText(const PlaceCounts& c) {
    return padLeft(std::to_string(c.n[0]), 3) + "-" + padLeft(std::to_string(c.n[1]), 3) + "-" +
           padLeft(std::to_string(c.n[2]), 3) + "-" + padLeft(std::to_string(c.others()), 4);
}

}  // namespace

PlaceCounts placeCounts(std::string_view text) {
    PlaceCounts c;
    for (std::size_t i = 0; i < 6; ++i) c.n[i] = toIntDef(part(text, i * 6, 6), 0);
    return c;
}

std::string rateText(long long num, long long total) {
    if (total == 0) return "-.---";
    const bool negative = (num < 0) != (total < 0);
    const long long a = num < 0 ? -num : num, b = total < 0 ? -total : total;
    const long long thousandths = (a * 2000 + b) / (2 * b);  // half away from zero
    std::string frac = std::to_string(thousandths % 1000);
    frac.insert(0, 3 - frac.size(), '0');
    return (negative && thousandths ? "-" : "") + std::to_string(thousandths / 1000) + "." + frac;
}

Rates rates(const PlaceCounts& c) {
    const long long t = c.total();
    return {rateText(c.n[0], t), rateText(c.n[0] + c.n[1], t), rateText(c.n[0] + c.n[1] + c.n[2], t)};
}

// ---- The list ----

std::vector<PersonHeading> personHeadings(const PersonKind& kind, bool lastYear) {
    return {
        {"lbl_Name", "名前", "", 0, {1}, false, true},
        {"lbl_tozai", "所属", "", 3, {4}, false, true},
        {"lbl_toroku", "登", "", 6, {7}, false, true},
        {"lbl_seinen", "生年", "", 8, {8}, false, false},
        {"lbl_chaku", lastYear ? "前年成績（平地）" : "本年成績（平地）", "", 9, {9, 13, 12, 11, 10}, true, false},
        {"lbl_honnum", kind.totalHeading, "", 14, {14}, true, false},
        {"lbl_Wrate", "勝率", "", 15, {14, 15}, true, false},
        {"lbl_Rrate", "連対", "", 16, {14, 16}, true, false},
        {"lbl_Frate", "３着", "", 17, {14, 17}, true, false},
        {"lbl_Towin", "通勝", "平地の通算勝利数です", 18, {18}, true, false},
        {"lbl_Tonum", kind.careerTotalHeading, kind.careerTotalHint, 19, {19}, true, false},
        {"lbl_ToWrate", "勝率", "平地の通算勝率です", 20, {19, 20}, true, false},
        {"lbl_ToRrate", "連対", "平地の通算連対率です", 21, {19, 21}, true, false},
        {"lbl_ToFrate", "３着", "平地の通算３着内率です", 22, {19, 22}, true, false},
    };
}

namespace {

const PersonHeading* headingOf(const std::vector<PersonHeading>& hs, std::string_view name) {
    for (const PersonHeading& h : hs)
        if (name == h.objectName) return &h;
    return nullptr;
}

long long numberOf(const ViewCell& c) {
    long long n = 0;
    return parseInt(c.text, n) ? n : 0;
}
// A rate "0.125" as thousandths; "-.---" and other texts count as 0.
long long rateOf(const ViewCell& c) {
    const std::string& t = c.text;
    const auto dot = t.find('.');
    if (dot == std::string::npos) return numberOf(c) * 1000;
    long long whole = 0, frac = 0;
    if (!parseInt(t.substr(0, dot), whole) || !parseInt(t.substr(dot + 1), frac)) return 0;
    return whole * 1000 + frac;
}

// Stable sorts on one column each, the last the primary key. The year heading's
// first column is text; every other column of a numeric heading is a number.
void sortBy(std::vector<ViewRow>& rows, const std::vector<int>& columns, bool numericHeading, bool ascending) {
    for (const int col : columns) {
        const auto at = static_cast<std::size_t>(col);
        const bool numeric = numericHeading && col != 9;
        const bool rate = (col >= 15 && col <= 17) || col >= 20;
        auto key = [&](const ViewRow& r) { return rate ? rateOf(r[at]) : numberOf(r[at]); };
        std::stable_sort(rows.begin(), rows.end(), [&](const ViewRow& a, const ViewRow& b) {
            if (numeric) return ascending ? key(a) < key(b) : key(b) < key(a);
            return ascending ? a[at].text < b[at].text : b[at].text < a[at].text;
        });
    }
}

}  // namespace

bool clickHeading(const PersonKind& kind, PersonSort& sort, std::string_view objectName) {
    const auto hs = personHeadings(kind, false);
    const PersonHeading* h = headingOf(hs, objectName);
    if (!h) return false;
    sort.field = objectName;
    if (sort.field != sort.previous)
        sort.direction = h->ascendingFirst ? "asc" : "dsc";
    else
        sort.direction = sort.direction == "asc" ? "dsc" : "asc";
    sort.previous = sort.field;
    return true;
}

void applySort(const PersonKind& kind, PersonSort& sort, std::vector<ViewRow>& rows) {
    if (sort.field.empty()) {
        sortBy(rows, {13, 12, 11, 10}, true, false);
        sort = {"lbl_chaku", "lbl_chaku", "dsc"};
        return;
    }
    const auto hs = personHeadings(kind, false);
    if (const PersonHeading* h = headingOf(hs, sort.field)) sortBy(rows, h->columns, h->numeric, sort.direction == "asc");
}

ViewRow personListRow(const PersonKind& kind, std::string_view line, bool lastYear, int currentYear) {
    ViewRow row(kPlColumns);
    auto set = [&](int col, std::string text) { row[static_cast<std::size_t>(col)].text = std::move(text); };
    const std::string tozai = trimmed(kind, line, "TozaiCD");
    set(0, " " + trimBoth(withoutText(field(kind, line, kind.nameField), kFullSpace)));
    set(1, " " + toFullWidth(withoutText(trimBoth(field(kind, line, kind.kanaField)), " ")));
    set(2, trimmed(kind, line, kind.codeField));
    set(3, affiliationName(tozai));
    set(4, tozai);
    set(5, tozai == "1" || tozai == "2" ? "1" : tozai);
    set(8, std::string(part(field(kind, line, "BirthDate"), 0, 4)));

    // The selected year's flat counts.
    const int makeYear = toIntDef(part(field(kind, line, "MakeDate"), 0, 4), 0);
    const int year1 = toIntDef(trimmed(kind, line, "HonZenRuikei1_SetYear"), 0);
    const int year2 = toIntDef(trimmed(kind, line, "HonZenRuikei2_SetYear"), 0);
    int block = 0;
    if (makeYear <= currentYear) {
        if (year1 == currentYear)
            block = lastYear ? (year2 == currentYear - 1 ? 2 : 0) : 1;
        else if (year1 == currentYear - 1)
            block = lastYear ? 1 : 0;
    }
    PlaceCounts year;
    if (block) {
        year = placeCounts(counts(kind, line, block, "ChakuKaisuHeichi"));
        if (!(year.total() == 0 && isLocalOrAbroad(tozai))) set(9, countsText(year));
    }
    for (int i = 0; i < 3; ++i) set(10 + i, std::to_string(year.n[i]));
    set(13, std::to_string(year.others()));
    set(14, std::to_string(year.total()));
    const Rates yr = rates(year);
    set(15, yr.win);
    set(16, yr.quinella);
    set(17, yr.show);

    // Status.
    const bool active = field(kind, line, "DelKubun") == "0";
    if (active) {
        set(6, sj("現"));
        set(7, "0");
    } else if (isLocalOrAbroad(tozai) && (year1 == currentYear || year1 == currentYear - 1)) {
        set(6, "--");
        set(7, year.total() > 0 ? "0" : "1");
    } else {
        set(6, sj("消"));
        set(7, "1");
    }

    const PlaceCounts career = placeCounts(counts(kind, line, 3, "ChakuKaisuHeichi"));
    set(18, std::to_string(career.n[0]));
    set(19, std::to_string(career.total()));
    const Rates cr = rates(career);
    set(20, cr.win);
    set(21, cr.quinella);
    set(22, cr.show);
    return row;
}

namespace {

bool kept(const ViewRow& row, const PersonListFilter& f) {
    const std::string& key = row[7].text;
    if (!((key == "0" && f.active) || (key == "1" && f.retired))) return false;
    const int area = toIntDef(row[4].text, 0);
    if (area < 1 || area > 4 || !f.areas[area - 1]) return false;
    const std::string name = trimBoth(f.name);
    if (name.empty()) return true;
    return containsText(withoutText(withoutText(row[0].text, " "), kFullSpace), name);
}

}  // namespace

PersonList loadPersonList(const PersonKind& kind, const StorePaths& paths, const PersonListFilter& filter,
                          int currentYear, const std::function<void(int, int)>& progress) {
    PersonList list;
    std::string newest;
    const std::vector<std::string> files = walkDirectory(paths.root() + std::string(kind.folder) + "/", "*.dat", false);
    std::string buffer;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string_view text;
        if (readFileView(files[i], buffer, text)) {
            while (!text.empty()) {
                const auto end = text.find('\n');
                std::string_view line = text.substr(0, end);
                text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                if (line.empty()) continue;
                ViewRow row = personListRow(kind, line, filter.lastYear, currentYear);
                if (!kept(row, filter)) continue;
                newest = std::max(newest, field(kind, line, "MakeDate"));
                list.rows.push_back(std::move(row));
            }
        }
        if (progress) progress(static_cast<int>(i + 1), static_cast<int>(files.size()));
    }
    list.caption = sj(kind.listCaption);
    if (!newest.empty())
        list.caption += sj(" [") + newest.substr(0, 4) + sj("年") + std::string(part(newest, 4, 2)) + sj("月") +
                        std::string(part(newest, 6, 2)) + sj("日現在]");
    return list;
}

std::string countText(std::size_t rows) { return std::to_string(rows) + sj("件"); }

ScreenView personListScreen(const PersonKind& kind, const PersonList& list, const PersonSort& sort, bool lastYear) {
    ScreenView v;
    v.caption = list.caption;
    std::vector<std::string> header(kPlColumns);
    for (const PersonHeading& h : personHeadings(kind, lastYear)) {
        v.labels.push_back({h.objectName, sj(h.caption)});
        header[static_cast<std::size_t>(h.above)] = sj(h.caption);
    }
    v.labels.push_back({"lblCount", countText(list.rows.size())});
    v.labels.push_back({"lblNote", sj("※下の見出しをクリックすると、一覧をソートします")});
    v.labels.push_back({"lbl_sort_fld", sort.field});
    v.labels.push_back({"lbl_sort_mae", sort.previous});
    v.labels.push_back({"lbl_sort_jun", sort.direction});
    ScreenView::GridRows grid{kind.listGrid, {header}};
    for (const ViewRow& r : list.rows) {
        std::vector<std::string> cells;
        for (const ViewCell& c : r) cells.push_back(c.text);
        grid.rows.push_back(std::move(cells));
    }
    v.grids.push_back(std::move(grid));
    for (const char* name : {"chkActive", "chkRetired", "chkKanto", "chkKansai", "chkLocal", "chkAbroad", "edtName",
                             "rdgYear", "btnUpdate", "btnClose"})
        v.states.push_back({name, true});
    return v;
}

// ---- The data screen ----

std::string findPerson(const PersonKind& kind, const StorePaths& paths, std::string_view code, std::string_view name) {
    long long n = 0;
    const bool byCode = parseInt(code, n) && n > 0;
    std::string digits = std::to_string(n);
    digits.insert(0, digits.size() < 5 ? 5 - digits.size() : 0, '0');
    if (kind.family == Family::KS)
        return byCode ? findJockey(paths, digits) : findJockeyByShortName(paths, name);
    return byCode ? findTrainer(paths, digits) : findTrainerByShortName(paths, name);
}

namespace {

struct BlockInfo {
    PersonBlock block;
    int group;             // HonZenRuikei group
    const char* prefix;    // label object names
};
constexpr BlockInfo kBlocks[] = {
    {PersonBlock::Career, 3, "lblTsusan"},
    {PersonBlock::ThisYear, 1, "lblHonnen"},
    {PersonBlock::LastYear, 2, "lblZennen"},
};

constexpr struct {
    const char* label;
    const char* ending;
} kConditionRows[] = {
    {"札幌競馬場", "ChakuKaisuJyo1"},   {"函館競馬場", "ChakuKaisuJyo3"},   {"福島競馬場", "ChakuKaisuJyo5"},
    {"新潟競馬場", "ChakuKaisuJyo7"},   {"東京競馬場", "ChakuKaisuJyo9"},   {"中山競馬場", "ChakuKaisuJyo11"},
    {"中京競馬場", "ChakuKaisuJyo13"},  {"京都競馬場", "ChakuKaisuJyo15"},  {"阪神競馬場", "ChakuKaisuJyo17"},
    {"小倉競馬場", "ChakuKaisuJyo19"},  {"芝1600m以下", "ChakuKaisuKyori1"}, {"芝1601m～2200m", "ChakuKaisuKyori2"},
    {"芝2201m以上", "ChakuKaisuKyori3"}, {"ダ1600m以下", "ChakuKaisuKyori4"}, {"ダ1601m～2200m", "ChakuKaisuKyori5"},
    {"ダ2201m以上", "ChakuKaisuKyori6"},
};

int groupOf(PersonBlock b) {
    for (const BlockInfo& i : kBlocks)
        if (i.block == b) return i.group;
    return 3;
}

// The kana trimmed, its first space and the spaces around it reduced to one half-width space.
std::string shownKana(std::string_view kana) {
    const std::string k = trimBoth(kana);
    auto isSpaceAt = [&](std::size_t i) {
        return k[i] == ' ' || (i + 1 < k.size() && std::string_view(k).substr(i, 2) == kFullSpace);
    };
    for (std::size_t i = 0; i < k.size(); i += charLen(k, i)) {
        if (!isSpaceAt(i)) continue;
        std::size_t end = i;
        while (end < k.size() && isSpaceAt(end)) end += k[end] == ' ' ? 1 : 2;
        return k.substr(0, i) + " " + k.substr(end);
    }
    return k;
}

// "    5    3    2   40 [    50]" and "勝率 0.100  連対 0.160  3着 0.200".
std::string countLine(const PlaceCounts& c) {
    return padLeft(std::to_string(c.n[0]), 5) + padLeft(std::to_string(c.n[1]), 5) +
           padLeft(std::to_string(c.n[2]), 5) + padLeft(std::to_string(c.others()), 5) + " [" +
           padLeft(std::to_string(c.total()), 6) + "]";
}
std::string rateLine(const PlaceCounts& c) {
    const Rates r = rates(c);
    return sj("勝率 ") + r.win + sj("  連対 ") + r.quinella + sj("  3着 ") + r.show;
}

// A latest graded win, "" when its date is not positive.
std::string gradedLine(const PersonKind& k, std::string_view line, int n) {
    const std::string p = "SaikinJyusyo" + std::to_string(n) + "_";
    const std::string date = trimmed(k, line, p + "Date");
    if (toIntDef(date, 0) <= 0) return {};
    const std::string race = trimmed(k, line, p + "Ryakusyo10");
    const std::string grade = gradeName("999", trimmed(k, line, p + "GradeCD"), race);
    return padLeft(std::to_string(toIntDef(part(date, 0, 4), 0)), 4) + "/" +
           padLeft(std::to_string(toIntDef(part(date, 4, 2), 0)), 2) + "/" +
           padLeft(std::to_string(toIntDef(part(date, 6, 2), 0)), 2) + " " + trackName(trimmed(k, line, p + "JyoCD")) +
           trimmed(k, line, p + "RaceNum") + "R " + padRight(race + "[" + grade + "]", 27) +
           trimmed(k, line, p + "Bamei");
}

std::string datePart(std::string_view text, std::string_view none) {
    return toIntDef(text, 0) == 0 ? std::string(none) : std::string(text);
}

}  // namespace

std::vector<std::vector<std::string>> conditionTable(const PersonKind& kind, std::string_view line, PersonBlock block) {
    std::vector<std::vector<std::string>> rows;
    rows.push_back({});
    for (const char* h : {"条件", "１着", "２着", "３着", "着外", "合計", "勝率", "連対率", "３着内"}) rows[0].push_back(sj(h));
    if (line.empty()) return rows;
    for (const auto& r : kConditionRows) {
        const PlaceCounts c = placeCounts(counts(kind, line, groupOf(block), r.ending));
        const Rates rt = rates(c);
        rows.push_back({sj(r.label), std::to_string(c.n[0]), std::to_string(c.n[1]), std::to_string(c.n[2]),
                        std::to_string(c.others()), std::to_string(c.total()), rt.win, rt.quinella, rt.show});
    }
    return rows;
}

PersonData personData(const PersonKind& kind, const StorePaths& paths, std::string_view code, std::string_view name) {
    PersonData d;
    d.line = findPerson(kind, paths, code, name);
    const std::string_view line = d.line;
    const std::string tozai = trimmed(kind, line, "TozaiCD");
    ScreenView& v = d.view;
    v.caption = sj(kind.dataCaption);
    v.labels.push_back({kind.codeLabel, std::string(code)});
    v.labels.push_back({kind.nameLabel, std::string(name)});

    std::string shown = trimmed(kind, line, kind.nameField);
    if (shown.empty()) shown = trimBoth(name);
    const std::string kana = tozai == "4" ? std::string() : shownKana(field(kind, line, kind.kanaField));
    if (!kana.empty()) shown += sj("（") + kana + sj("）");
    v.labels.push_back({"lblName", shown});

    const std::string made = field(kind, line, "MakeDate");
    v.labels.push_back({"lblMakeDateTitle", sj("データ作成日")});
    v.labels.push_back({"lblMakeDate", datePart(part(made, 0, 4), "----") + sj("年") + datePart(part(made, 4, 2), "--") +
                                           sj("月") + datePart(part(made, 6, 2), "--") + sj("日現在")});

    std::string affiliation;
    if (!line.empty()) {
        affiliation = affiliationName(tozai);
        if (kind.jockey) {
            if (field(kind, line, "ChokyosiCode") != "00000")
                affiliation += sj("・") + trimmed(kind, line, "ChokyosiRyakusyo");
            else
                affiliation += sj("・") + (isLocalOrAbroad(tozai) ? trimmed(kind, line, "Syotai") : sj("フリー"));
        } else if (isLocalOrAbroad(tozai)) {
            affiliation += sj("・") + trimmed(kind, line, "Syotai");
        }
    }
    v.labels.push_back({"lblShozokuTitle", sj("所属")});
    v.labels.push_back({"lblShozoku", affiliation});

    std::vector<std::string> choices;
    for (const BlockInfo& b : kBlocks) {
        const std::string prefix = b.prefix;
        std::string title = sj("（通算）");
        std::string yearText;
        if (b.block != PersonBlock::Career) {
            const std::string setYear = trimmed(kind, line, "HonZenRuikei" + std::to_string(b.group) + "_SetYear");
            yearText = toIntDef(setYear, 0) > 0 ? setYear : "----";
            title = sj("（") + yearText + sj("年）");
        }
        v.labels.push_back({prefix + "Title", title});
        const int year = toIntDef(yearText, 0);
        for (const auto& [ending, word, what] : {std::tuple{"ChakuKaisuHeichi", "Heichi", "平地"},
                                                 std::tuple{"ChakuKaisuSyogai", "Syogai", "障害"}}) {
            const PlaceCounts c = placeCounts(counts(kind, line, b.group, ending));
            const std::string head = prefix + word;
            v.labels.push_back({head, sj(what)});
            v.labels.push_back({head + "Cnt", countLine(c)});
            v.labels.push_back({head + "Rate", rateLine(c)});
            const std::string area = std::string_view(word) == "Heichi" ? sj("中央(芝＋ダート)の") : sj("中央(障害)の");
            if (b.block == PersonBlock::Career)
                d.hints.push_back({head, area + sj("通算成績です")});
            else if (year > 1900)
                d.hints.push_back({head, area + yearText + sj("年成績です")});
        }
    }

    v.labels.push_back({"lblJyusyoTitle", sj("（重賞勝）")});
    for (int n = 1; n <= 3; ++n) {
        std::string g = gradedLine(kind, line, n);
        if (n == 1 && g.empty()) g = sj("<重賞未勝利>");
        v.labels.push_back({"lblJyusyo" + std::to_string(n), g});
    }

    ScreenView::ListItems items{kConditionChoice, {}};
    if (!line.empty()) {
        items.items = {trimmed(kind, line, "HonZenRuikei1_SetYear") + sj("年平地成績"),
                       trimmed(kind, line, "HonZenRuikei2_SetYear") + sj("年平地成績"), sj("通算平地成績")};
    }
    v.lists.push_back(std::move(items));
    v.grids.push_back({kConditionGrid, conditionTable(kind, line, PersonBlock::ThisYear)});
    return d;
}

}  // namespace tarvo
