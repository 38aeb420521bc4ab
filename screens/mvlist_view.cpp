#include "mvlist_view.h"

#include <chrono>

#include "code_tables.h"
#include "cp932.h"
#include "fsys.h"
#include "grid_sort.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "search_view.h"
#include "textfn.h"
#include "time_calc.h"
#include "um_index.h"

namespace tarvo {

namespace jvr = JVDTLabLib_TLB::JVResult;

namespace {

using std::chrono::days;
using std::chrono::sys_days;

std::optional<sys_days> dayOf(std::string_view date) {
    if (!isCalendarDate(date)) return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year{toIntDef(date.substr(0, 4), 0)},
                                          std::chrono::month{static_cast<unsigned>(toIntDef(date.substr(4, 2), 0))},
                                          std::chrono::day{static_cast<unsigned>(toIntDef(date.substr(6, 2), 0))}};
    return sys_days(ymd);
}

std::string textOf(sys_days d) {
    const std::chrono::year_month_day ymd(d);
    const std::string y = std::to_string(static_cast<int>(ymd.year()));
    return std::string(y.size() < 4 ? 4 - y.size() : 0, '0') + y + twoDigits(static_cast<int>(unsigned(ymd.month()))) +
           twoDigits(static_cast<int>(unsigned(ymd.day())));
}

// "YYYY.MM.DD" of an eight-digit date.
std::string dotted(std::string_view d) {
    return std::string(part(d, 0, 4)) + "." + std::string(part(d, 4, 2)) + "." + std::string(part(d, 6, 2));
}

}  // namespace

std::optional<TrainingWeek> trainingWeek(std::string_view date) {
    const auto d = dayOf(date);
    if (!d) return std::nullopt;
    // Days from the date to its week's Saturday, by weekday (Sunday 0 to Saturday 6).
    constexpr int kToSaturday[7] = {-1, -2, -3, 3, 2, 1, 0};
    const sys_days sat = *d + days(kToSaturday[std::chrono::weekday(*d).c_encoding()]);
    return TrainingWeek{textOf(sat), textOf(sat + days(1)), textOf(sat + days(3))};
}

VideoListing fetchVideoListing(JVDTLabLib_TLB::IJVLink& jv, const TrainingWeek& week) {
    VideoListing out;
    int open = jv.JVMVOpen(kTrainingVideoType, week.saturday);
    if (open == jvr::kNoData) {
        jv.JVClose();
        open = jv.JVMVOpen(kTrainingVideoType, week.sunday);
    }
    if (open == jvr::kOk) {
        std::string collected, buff;
        int read = 0;
        while ((read = jv.JVMVRead(buff, 19)) > 0) collected += buff;
        if (read < 0) {
            if (read == jvr::kDownloadFailed)
                out.message = sj("ダウンロードに失敗しました。\r\n映像一覧取得を再度行ってください。");
            else if (read == jvr::kDamagedSize || read == jvr::kDamagedData)
                out.message = sj("ダウンロードしたデータが異常です。\r\n映像一覧取得を再度行ってください。");
            else
                out.message = sj("エラー番号 [") + std::to_string(read) + "]";
        } else {
            for (std::size_t at = 0; at < collected.size(); at += 18) {
                std::string piece = trimBoth(std::string_view(collected).substr(at, 18));
                if (piece.empty()) break;
                out.entries.push_back(std::move(piece));
            }
        }
    } else if (open == jvr::kMaintenance) {
        out.message = sj("サーバーメンテナンス中です。");
    } else if (open != jvr::kNoData) {
        out.message = sj("エラー番号 [") + std::to_string(open) + "]";
    }
    jv.JVClose();
    return out;
}

TrainerKana::TrainerKana(const StorePaths& paths) {
    for (const std::string& file : walkDirectory(paths.root() + "CH/", "*.dat", true))
        forEachLine(file, [&](std::string_view line) {
            if (line.empty()) return true;
            const std::string code = trimBoth(getField(Family::CH, line, "ChokyosiCode"));
            std::string kana = trimBoth(getField(Family::CH, line, "ChokyosiNameKana"));
            if (kana.find('.') == std::string::npos) {
                std::size_t cut = 0;
                for (int n = 0; n < 15 && cut < kana.size(); ++n) cut += charLen(kana, cut);
                kana = trimBoth(std::string_view(kana).substr(0, cut)) + trimBoth(std::string_view(kana).substr(cut));
            }
            pairs_.emplace_back(code, toFullWidth(kana));
            return true;
        });
}

std::string TrainerKana::of(std::string_view code) const {
    for (const auto& [c, kana] : pairs_)
        if (c == code) return trimBoth(toFullWidth(kana));
    return {};
}

const char* const kVideoHeadings[kMvColumns] = {
    "調教日付", "", "曜日", "", "", "馬名", "", "性齢", "", "", "毛色", "", "調教師",
    "", "", "所属", "", "賞金", "", "出走予定", "", "場名", "", "RN", "レース名", ""};

std::pair<std::string, long long> prizeText(std::string_view hundredYen) {
    const long long n = toIntDef(trimBoth(hundredYen), 0);
    const long long whole = n / 100, frac = (n < 0 ? -n : n) % 100;
    std::string text = (n < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
    if (frac == 0) return {text, whole};
    text += "." + (frac % 10 == 0 ? std::to_string(frac / 10) : twoDigits(static_cast<int>(frac)));
    return {text, 0};
}

namespace {

std::string fieldOf(Family f, std::string_view line, std::string_view name) { return trimBoth(getField(f, line, name)); }

// The runner value unless it is empty or the zero code, else the horse record's.
std::string shown(const std::string& runner, const std::string& horse, std::string_view zero) {
    return runner.empty() || runner == zero ? horse : runner;
}

}  // namespace

ViewRow trainingVideoRow(const StorePaths& paths, std::string_view entry, const TrainingWeek& week, int year,
                         const TrainerKana& kana) {
    const std::string date = trimBoth(part(entry, 0, 8));
    const std::string ketto = trimBoth(part(entry, 8, 10));
    const long long limit = toIntDef(week.limit, 0);

    // The latest run up to the week's limit.
    std::string run;
    for (const RunEntry& e : runEntries(runList(paths, ketto)))
        if (toIntDef(e.date, 0) <= limit) {
            run = findRunByTrackAndHorse(paths, part(e.date, 0, 4), part(e.date, 4, 4), e.jyoCD, ketto);
            break;
        }
    const auto se = [&](std::string_view name) { return fieldOf(Family::SE, run, name); };
    RaceKey race(se("Year"), se("MonthDay"), se("JyoCD"), se("RaceNum"));
    const std::string raLine = run.empty() ? std::string() : findRace(paths, race);
    const std::string umLine = findHorse(paths, ketto);
    const auto um = [&](std::string_view name) { return fieldOf(Family::UM, umLine, name); };

    const int age = year - toIntDef(part(ketto, 0, 4), 0);
    const auto [umPrize, umValue] = prizeText(um("RuikeiSyutokuHeichi"));
    std::string raceName = fieldOf(Family::RA, raLine, "Ryakusyo6");
    if (raceName.empty())
        raceName = classNameShortest(fieldOf(Family::RA, raLine, "SyubetuCD"), fieldOf(Family::RA, raLine, "JyokenCD5"),
                                     race.date());
    const std::string ck = run.empty() ? std::string() : findAptitude(paths, race, ketto);

    const std::string sex = shown(se("SexCD"), um("SexCD"), "0");
    const std::string keiro = shown(se("KeiroCD"), um("KeiroCD"), "00");
    const std::string trainer = shown(se("ChokyosiRyakusyo"), um("ChokyosiRyakusyo"), "");
    const std::string trainerCode = shown(se("ChokyosiCode"), um("ChokyosiCode"), "00000");
    const std::string tozai = shown(se("TozaiCD"), um("TozaiCD"), "0");

    const std::string raceDate = race.date();
    int daysBefore = 0;
    if (toIntDef(raceDate, 0) > 0) daysBefore = daysBetween(raceDate, week.limit).value_or(0);
    const bool kept = !raceDate.empty() && daysBefore <= 7;
    if (!kept) race = RaceKey("00", "0000", "00", "--");

    std::string prize = "*" + umPrize;
    long long value = umValue;
    if (!ck.empty() && kept) std::tie(prize, value) = prizeText(getField(Family::CK, ck, "RuikeiSyutokuHeichi"));

    ViewRow row(kMvColumns);
    auto set = [&](int col, std::string text) { row[static_cast<std::size_t>(col)].text = std::move(text); };
    const std::string weekday = weekdayName(date);
    set(kMvDate, dotted(date));
    set(kMvDate8, date);
    set(kMvWeekday, "[" + weekday + "]");
    if (weekday == sj("土")) row[kMvWeekday].ink = Ink::Blue;
    if (weekday == sj("日")) row[kMvWeekday].ink = Ink::Red;
    set(kMvWeekdayNum, weekdayNumber(weekday));
    set(kMvKey, date + ketto);
    set(kMvName, um("Bamei"));
    set(kMvKettoNum, ketto);
    set(kMvSexAge, sexName(sex) + std::to_string(age));
    set(kMvSexCD, sex);
    set(kMvAge, std::to_string(age));
    set(kMvCoat, coatNameShort(keiro));
    set(kMvKeiroCD, keiro);
    set(kMvTrainer, trainer);
    set(kMvTrainerKana, kana.of(trainerCode));
    set(kMvTrainerCode, trainerCode);
    set(kMvTozai, affiliationName(tozai));
    set(kMvTozaiCD, tozai);
    set(kMvPrize, prize);
    set(kMvPrizeValue, std::to_string(value));
    set(kMvRaceDate, kept ? dotted(raceDate) : sj("[出走なし]"));
    set(kMvRaceDate8, race.date());
    set(kMvTrack, kept ? trackName(race.jyoCD) : "----");
    set(kMvJyoCD, race.jyoCD);
    set(kMvRaceNum, race.raceNum);
    set(kMvRaceName, kept ? raceName : "----");
    set(kMvRaceKey, kept ? race.text() : "");
    return row;
}

namespace {

struct HeadingSort {
    int heading;
    std::vector<SortPass> passes;  // first to last, the last the primary key
};

const std::vector<HeadingSort>& headingSorts() {
    using enum SortAs;
    static const std::vector<HeadingSort> list = {
        {kMvDate, {{kMvName, Text}, {kMvTozaiCD, Number}, {kMvDate8, Number}}},
        {kMvWeekday, {{kMvWeekdayNum, Number}}},
        {kMvName, {{kMvName, Text}}},
        {kMvSexAge, {{kMvSexCD, Text}, {kMvAge, Number}}},
        {kMvCoat, {{kMvKeiroCD, Number}}},
        {kMvTrainer, {{kMvTrainerKana, Text}}},
        {kMvTozai, {{kMvTozaiCD, Number}}},
        {kMvPrize, {{kMvPrizeValue, Number}}},
        {kMvRaceDate, {{kMvRaceNum, Text}, {kMvJyoCD, Number}, {kMvRaceDate8, Number}}},
        {kMvTrack, {{kMvJyoCD, Number}}},
        {kMvRaceNum, {{kMvRaceNum, Text}}},
        {kMvRaceName, {{kMvRaceName, Text}}},
    };
    return list;
}

const HeadingSort* sortOf(int column) {
    for (const HeadingSort& h : headingSorts())
        if (h.heading == column) return &h;
    return nullptr;
}

}  // namespace

bool clickVideoHeading(VideoSort& sort, int column) {
    if (!sortOf(column)) return false;
    sort.ascending = !(column == sort.column && sort.ascending);
    sort.column = column;
    return true;
}

void sortVideoRows(std::vector<ViewRow>& rows, const VideoSort& sort) {
    if (const HeadingSort* h = sortOf(sort.column)) sortRows(rows, h->passes, sort.ascending);
}

VideoList fetchVideoList(JVDTLabLib_TLB::IJVLink& jvlink, const StorePaths& paths, std::string_view date) {
    VideoList list;
    list.date = std::string(date);
    const auto week = trainingWeek(date);
    if (!week) return list;
    const TrainerKana kana(paths);
    VideoListing listing = fetchVideoListing(jvlink, *week);
    list.message = std::move(listing.message);
    const int year = toIntDef(date.substr(0, 4), 0);
    for (const std::string& e : listing.entries) list.rows.push_back(trainingVideoRow(paths, e, *week, year, kana));
    sortVideoRows(list.rows, list.sort);
    return list;
}

ScreenView videoListScreen(const VideoList& list, bool raceViewer) {
    ScreenView v;
    v.caption = sj("調教映像一覧");
    v.labels.push_back({"dtpChDate", list.date});
    v.labels.push_back({"stxtMvNum", std::to_string(list.rows.size())});
    v.labels.push_back({"Label1", sj("件")});
    v.labels.push_back({"Label2", sj("※賞金の先頭が「*」の馬は、賞金額が最新データの値になっています。")});
    v.labels.push_back({"lbl_ClNum", std::to_string(list.sort.column)});
    v.labels.push_back({"lbl_SrtAsc", list.sort.ascending ? "TRUE" : "FALSE"});
    std::vector<std::string> header;
    for (const char* h : kVideoHeadings) header.push_back(sj(h));
    v.grids.push_back(gridRows("stgMvList", std::move(header), list.rows));
    v.states = {{"btnUpdList", raceViewer}, {"btnClose", true}};
    if (!list.message.empty()) v.messages.push_back(list.message);
    return v;
}

std::string trainingVideoCaption(const ViewRow& row) {
    return sj("調教映像を再生 [") + trimBoth(row[kMvDate].text) + " " + trimBoth(row[kMvName].text) + sj("] (&R)");
}

std::string trainingPlayMessage(int result) {
    if (result >= 0) return {};
    if (result == jvr::kMaintenance) return sj("サーバーメンテナンス中です。");
    if (result == jvr::kNoData) return sj("該当する映像データがありません。");
    return sj("エラー番号[") + std::to_string(result) + "]";
}

}  // namespace tarvo
