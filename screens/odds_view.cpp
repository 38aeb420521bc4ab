#include "odds_view.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "cp932.h"
#include "layouts.h"
#include "lookups.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo {
namespace {

struct TypeInfo {
    const char* name;
    const char* caption;
    Family family;
    const char* payKumi;  // HR field prefix of the paid combinations
    int paid;
    const char* corner;
    bool ordered;  // combinations in finishing order
};
constexpr TypeInfo kTypes[] = {
    {"umaren", "オッズ一覧（馬連）", Family::O2, "PayUmarenKumi", 3, "(相手＼軸)", false},
    {"umatan", "オッズ一覧（馬単）", Family::O4, "PayUmatanKumi", 6, "(相手＼頭)", true},
    {"wide", "オッズ一覧（ワイド）", Family::O3, "PayWideKumi", 7, "(相手＼軸)", false},
    {"sanrenpuku", "オッズ一覧（３連複）", Family::O5, "PaySanrenpukuKumi", 3, "(相手＼軸)", false},
    {"sanrentan", "オッズ一覧（３連単）", Family::O6, "PaySanrentanKumi", 6, "(相手＼軸)", true},
};
const TypeInfo& info(OddsType t) { return kTypes[static_cast<std::size_t>(t)]; }

// The elements of an odds line by combination, the first of each combination.
std::unordered_map<std::string_view, std::string_view> elementsByKumi(Family f, std::string_view line) {
    std::unordered_map<std::string_view, std::string_view> out;
    const OddsInfo& o = *oddsInfo(f);
    const Field* first = layoutOf(f).find(std::string(o.elementName) + "1");
    if (line.empty() || !first) return out;
    const std::size_t len = o.elementLength();
    for (std::size_t i = 0; i < o.count; ++i) {
        const std::string_view e = part(line, first->pos - 1 + i * len, len);
        const std::string_view kumi = part(e, 0, o.kumiLength());
        if (kumi.empty() || kumi.front() == ' ') continue;
        out.emplace(kumi, e);
    }
    return out;
}

// Tenths without a last digit, ".", the last digit: 000123 gives 12.3.
std::string oddsNumber(std::string_view field) {
    return std::to_string(toIntDef(part(field, 0, field.size() - 1), 0)) + "." + std::string(part(field, field.size() - 1, 1));
}

std::string cellText(OddsType type, Family f, std::string_view element, bool diagonal) {
    std::string field;
    if (type == OddsType::Wide)
        field = std::string(oddsElementPart(f, element, "OddsLow")) + std::string(oddsElementPart(f, element, "OddsHigh"));
    else
        field = std::string(oddsElementPart(f, element, "Odds"));
    long long v = 0;
    if (parseInt(field, v) && v > 0) {
        if (type != OddsType::Wide) return oddsNumber(field);
        return padLeft(oddsNumber(part(field, 0, 5)), 6) + "-" + padLeft(oddsNumber(part(field, 5, 5)), 6);
    }
    if (diagonal) return "****";
    const std::size_t width = type == OddsType::Wide ? 10 : type == OddsType::Sanrentan ? 7 : 6;
    return field == std::string(width, '*') ? std::string() : field;
}

std::string two(int n) { return twoDigits(n); }

// The combination of a cell as stored: ascending or in finishing order.
std::string kumiOf(OddsType type, int fixed, int c, int r) {
    std::vector<int> nums;
    if (fixesHorse(type)) nums.push_back(fixed);
    nums.push_back(c);
    nums.push_back(r);
    if (!info(type).ordered) std::sort(nums.begin(), nums.end());
    std::string k;
    for (int n : nums) k += two(n);
    return k;
}

std::string announcementText(std::string_view line) {
    if (line.empty()) return sj("[情報未取得]");
    const std::string kubun = trimBoth(getField(Family::O2, line, "DataKubun"));
    const std::string t = trimBoth(getField(Family::O2, line, "HappyoTime"));
    if (kubun == "3") return sj("<最終オッズ>");
    if (kubun == "4" || kubun == "5") return sj("<確定オッズ>");
    if (kubun.empty()) return {};
    return padLeft(std::to_string(toIntDef(part(t, 0, 2), 0)), 2) + "/" + padLeft(part(t, 2, 2), 2) + " " +
           padLeft(std::to_string(toIntDef(part(t, 4, 2), 0)), 2) + ":" + std::string(part(t, 6, 2));
}

// The horse numbers a matrix's rows and columns stand for.
std::vector<int> axisNumbers(OddsType type, std::size_t n, int fixed) {
    std::vector<int> out;
    for (int k = 1; k <= static_cast<int>(n); ++k)
        if (!fixesHorse(type) || k != fixed) out.push_back(k);
    return out;
}

std::string nameOf(const std::vector<OddsRunner>& runners, int number) {
    for (const OddsRunner& r : runners)
        if (toIntDef(trimBoth(r.umaban), 0) == number) return toHalfWidth(trimBoth(r.bamei));
    return {};
}

std::string horse(const std::vector<OddsRunner>& runners, int number) {
    return std::to_string(number) + sj("番") + nameOf(runners, number);
}

}  // namespace

std::optional<OddsType> oddsTypeByName(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kTypes); ++i)
        if (name == kTypes[i].name) return static_cast<OddsType>(i);
    return std::nullopt;
}

std::string oddsCaption(OddsType type) { return sj(info(type).caption); }

bool fixesHorse(OddsType type) { return type == OddsType::Sanrenpuku || type == OddsType::Sanrentan; }

std::vector<std::string> targetItems(const std::vector<OddsRunner>& runners) {
    std::vector<std::string> items;
    for (const OddsRunner& r : runners) items.push_back(r.umaban + sj("番：") + r.bamei);
    return items;
}

OddsMatrix oddsMatrix(const StorePaths& paths, const RaceKey& race, OddsType type,
                      const std::vector<OddsRunner>& runners, int fixed) {
    const TypeInfo& ti = info(type);
    const std::vector<int> axis = axisNumbers(type, runners.size(), fixed);
    OddsMatrix m;
    std::vector<std::string> header{sj(ti.corner)};
    for (int c : axis) header.push_back(padLeft(std::to_string(c) + sj("番"), 4));
    m.rows.push_back(std::move(header));

    const std::string line = findOdds(paths, ti.family, race);
    m.announcement = announcementText(line);
    const auto elements = elementsByKumi(ti.family, line);
    const std::string pay = findPayout(paths, race);
    std::vector<std::string> paid;
    for (int i = 1; i <= ti.paid && !pay.empty(); ++i)
        paid.push_back(trimBoth(getField(Family::HR, pay, std::string(ti.payKumi) + std::to_string(i))));

    for (std::size_t ri = 0; ri < axis.size(); ++ri) {
        const int r = axis[ri];
        std::vector<std::string> row{padLeft(std::to_string(r) + ":", 3) + nameOf(runners, r)};
        for (std::size_t ci = 0; ci < axis.size(); ++ci) {
            const int c = axis[ci];
            const std::string kumi = kumiOf(type, fixed, c, r);
            if (c != r && std::find(paid.begin(), paid.end(), kumi) != paid.end())
                m.hits.emplace_back(static_cast<int>(ri + 1), static_cast<int>(ci + 1));
            const auto e = elements.find(kumi);
            row.push_back(cellText(type, ti.family, e == elements.end() ? std::string_view() : e->second, c == r));
        }
        m.rows.push_back(std::move(row));
    }
    return m;
}

std::string oddsSelection(const OddsMatrix& m, OddsType type, const std::vector<OddsRunner>& runners, int fixed,
                          int row, int col) {
    if (row < 1 || col < 1 || static_cast<std::size_t>(row) >= m.rows.size() ||
        static_cast<std::size_t>(col) >= m.rows[0].size())
        return {};
    const int r = toIntDef(trimBoth(part(m.rows[static_cast<std::size_t>(row)][0], 0, 2)), 0);
    const int c = toIntDef(trimBoth(part(m.rows[0][static_cast<std::size_t>(col)], 0, 2)), 0);
    if (r == c) return {};
    const std::string& cell = m.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    const std::string odds = sj("： ") + (cell.empty() ? std::string("----") : cell + sj("倍"));
    auto h = [&](int n) { return horse(runners, n); };
    switch (type) {
        case OddsType::Umaren:
        case OddsType::Wide: return h(std::min(r, c)) + sj("－") + h(std::max(r, c)) + odds;
        case OddsType::Umatan: return h(c) + sj("→") + h(r) + odds;
        case OddsType::Sanrenpuku: {
            std::array<int, 3> n{fixed, r, c};
            std::sort(n.begin(), n.end());
            return h(n[0]) + sj("－") + h(n[1]) + sj("－") + h(n[2]) + odds;
        }
        case OddsType::Sanrentan: return h(fixed) + sj("→") + h(c) + sj("→") + h(r) + odds;
    }
    return {};
}

ScreenView oddsScreen(const OddsLabels& labels, OddsType type, const std::vector<OddsRunner>& runners,
                      const OddsMatrix& m, int fixed, std::optional<std::pair<int, int>> selected) {
    ScreenView v;
    v.caption = oddsCaption(type);
    v.labels = {{"lbl_Date", labels.date},
                {"lbl_RaceNum", labels.raceNum},
                {"lbl_h_time", labels.hTime},
                {"lbl_RaceName", labels.raceName},
                {"stxtOddsDate", m.announcement}};
    if (selected)
        v.labels.push_back({"stxtKumi", oddsSelection(m, type, runners, fixed, selected->first, selected->second)});
    v.grids.push_back({"stgOddsList", m.rows});
    for (const auto& [r, c] : m.hits) v.hits.push_back({"stgOddsList", r, c});
    v.lists.push_back({"cboTarget", targetItems(runners)});
    return v;
}

}  // namespace tarvo
