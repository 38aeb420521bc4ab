#include "live_fetch.h"

#include <algorithm>

#include "code_tables.h"
#include "cp932.h"
#include "jv_record.h"
#include "layouts.h"
#include "live_rewrite.h"
#include "lookups.h"
#include "record_writers.h"
#include "textfn.h"

namespace tarvo {
namespace {

namespace jvr = JVDTLabLib_TLB::JVResult;

constexpr int kSmallBuffer = 15000;
constexpr int kLargeBuffer = 85000;

// The record kinds each real-time spec is read for; any other kind ends its file (JVSkip).
struct RealTimeSpec {
    const char* spec;
    std::vector<std::string_view> kinds;
    int bufferSize;
};
const RealTimeSpec kOddsSpecs[] = {
    {"0B30", {"O1", "O2", "O3"}, kSmallBuffer},
    {"0B34", {"O4"}, kSmallBuffer},
    {"0B35", {"O5"}, kSmallBuffer},
    {"0B36", {"O6"}, kLargeBuffer},
};
const RealTimeSpec kWeightSpec{"0B11", {"WH"}, kSmallBuffer};
const RealTimeSpec kResultSpec{"0B12", {"RA", "SE", "HR"}, kSmallBuffer};
const RealTimeSpec kChangeSpec{"0B14", {"WE", "AV", "JC", "TC", "CC"}, kSmallBuffer};

std::string field(const JVRecord& r, std::string_view path) { return std::string(r.get(path)); }
std::string trimmedField(const JVRecord& r, std::string_view path) { return trimBoth(r.get(path)); }

RaceKey raceOf(const JVRecord& r) {
    return RaceKey(r.get("id.Year"), r.get("id.MonthDay"), r.get("id.JyoCD"), r.get("id.RaceNum"));
}

RunnerRef runnerOf(const JVRecord& r, std::string_view group = "") {
    const std::string at = group.empty() ? std::string() : std::string(group) + ".";
    return {raceOf(r), field(r, at + "Umaban"), field(r, at + "Bamei")};
}

// The fields of repeat i (1-based) of a repeated group.
std::string item(std::string_view group, int i, std::string_view member) {
    return std::string(group) + "[" + std::to_string(i) + "]." + std::string(member);
}

const RealTimeSpec& specOf(const char* spec) {
    for (const RealTimeSpec* s : {&kWeightSpec, &kResultSpec, &kChangeSpec})
        if (std::string_view(s->spec) == spec) return *s;
    for (const RealTimeSpec& s : kOddsSpecs)
        if (std::string_view(s.spec) == spec) return s;
    return kChangeSpec;
}

bool isCentralCode(const std::string& jyo) {
    const int n = toIntDef(jyo, 0);
    return jyo.size() == 2 && n >= 1 && n <= 10;
}

}  // namespace

std::string weatherCaption(const std::string& appCaption, const std::string& summary) {
    return summary.empty() ? appCaption : appCaption + " - " + summary;
}

LiveUpdates::LiveUpdates(JVDTLabLib_TLB::IJVLink& jvlink, StorePaths paths, LiveView& view)
    : jv_(jvlink), paths_(std::move(paths)), view_(view) {}

bool LiveUpdates::read(const char* spec, const std::string& key, int bufferSize, Kind kind, const RaceKey* race) {
    const bool quiet = kind == Kind::Odds;
    const int opened = jv_.JVRTOpen(spec, key);
    if (kind == Kind::Changes || kind == Kind::Weights) lastOpen_ = opened;
    const bool silent = opened == jvr::kNoData || (kind == Kind::Results && opened == jvr::kMaintenance);
    if (opened != jvr::kOk && !silent) view_.message(MessageKind::Error, sj("JVOpenエラー：") + std::to_string(opened));
    if (opened == jvr::kOk) {
        const RealTimeSpec& s = specOf(spec);
        std::string buff, fileName;
        int meaningless = 0;
        for (;;) {
            const int n = jv_.JVRead(buff, bufferSize, fileName);
            if (n > 0) {
                meaningless = 0;
                const std::string_view kindId = std::string_view(buff).substr(0, 2);
                if (std::find(s.kinds.begin(), s.kinds.end(), kindId) == s.kinds.end()) {
                    jv_.JVSkip();
                    continue;
                }
                onRecord(buff, n, race);
                continue;
            }
            if (n == jvr::kEndOfData) break;
            if (n == jvr::kFileEnd || n == jvr::kDownloading) continue;
            if (n == jvr::kDamagedSize || n == jvr::kDamagedData || n == jvr::kDownloadFailed) {
                if (!quiet) {
                    const std::string text = n == jvr::kDamagedSize   ? fileName + sj("のサイズに異常があります。")
                                             : n == jvr::kDamagedData ? fileName + sj("のデータに異常があります。")
                                                                      : sj("データのダウンロードに失敗しました。");
                    view_.message(MessageKind::Error, text);
                }
                break;
            }
            // A result without meaning: read on, but not without end.
            if (++meaningless > kLiveReadRetryLimit) {
                view_.message(MessageKind::Error, sj("JVReadエラー：") + std::to_string(n));
                break;
            }
        }
    }
    const int closed = jv_.JVClose();
    if (closed != jvr::kOk && !quiet) view_.message(MessageKind::Error, sj("JVCloseエラー：") + std::to_string(closed));
    return closed == jvr::kOk;
}

void LiveUpdates::onRecord(const std::string& received, long length, const RaceKey* race) {
    JVRecord r;
    if (!r.copyFrom(received, length)) return;  // a record that fits no layout of its kind is skipped
    const std::string_view id = r.id();
    RecordWriters writers(paths_);
    if (id == "O1") {
        for (int i = 1; i <= 28; ++i) {
            const std::string umaban = field(r, item("OddsTansyoInfo", i, "Umaban"));
            if (trimBoth(umaban).empty()) break;
            rewriteWinOdds(paths_, raceOf(r), umaban, field(r, item("OddsTansyoInfo", i, "Odds")),
                           field(r, item("OddsTansyoInfo", i, "Ninki")));
            oddsArrived_ = true;
        }
    } else if (id[0] == 'O') {
        writers.writeOdds(r);
    } else if (id == "RA" || id == "SE" || id == "HR") {
        if (!race || raceOf(r) != *race) return;
        const std::string k = field(r, "head.DataKubun");
        if (id == "HR") writers.writeHR(r);
        else if (k == "3" || k == "4" || k == "5" || k == "6") id == "RA" ? writers.writeRA(r) : writers.writeSE(r);
    } else if (id == "WH") {
        for (int i = 1; i <= 18; ++i) {
            const std::string bamei = field(r, item("BataijyuInfo", i, "Bamei"));
            if (trimBoth(bamei).empty()) break;
            rewriteBodyWeight(paths_, {raceOf(r), field(r, item("BataijyuInfo", i, "Umaban")), bamei},
                              field(r, item("BataijyuInfo", i, "BaTaijyu")), field(r, item("BataijyuInfo", i, "ZogenFugo")),
                              field(r, item("BataijyuInfo", i, "ZogenSa")));
        }
    } else if (id == "WE") {
        WeatherAnnouncement a;
        a.year = field(r, "id.Year");
        a.monthDay = field(r, "id.MonthDay");
        a.jyoCD = field(r, "id.JyoCD");
        a.hhmm = toIntDef(r.get("HappyoTime.Hour"), 0) * 100 + toIntDef(r.get("HappyoTime.Minute"), 0);
        a.tenkoCD = trimmedField(r, "TenkoBaba.TenkoCD");
        a.sibaBabaCD = trimmedField(r, "TenkoBaba.SibaBabaCD");
        a.dirtBabaCD = trimmedField(r, "TenkoBaba.DirtBabaCD");
        rewriteWeather(paths_, a);
        if (isCentralCode(a.jyoCD)) {
            Weather& w = weather_[a.jyoCD];
            for (auto [value, kept] : {std::pair{&a.tenkoCD, &w.tenko}, {&a.sibaBabaCD, &w.siba}, {&a.dirtBabaCD, &w.dirt}})
                if (!value->empty() && *value != "0") *kept = *value;
        }
    } else if (id == "AV") {
        const std::string k = field(r, "head.DataKubun");
        if (k == "1" || k == "2") rewriteScratch(paths_, runnerOf(r), k);
    } else if (id == "JC") {
        JockeyChange c;
        c.futan = field(r, "JCInfoAfter.Futan");
        c.futanBefore = field(r, "JCInfoBefore.Futan");
        c.kisyuCode = field(r, "JCInfoAfter.KisyuCode");
        c.kisyuCodeBefore = field(r, "JCInfoBefore.KisyuCode");
        c.name = field(r, "JCInfoAfter.KisyuName");
        c.nameBefore = field(r, "JCInfoBefore.KisyuName");
        c.minaraiCD = field(r, "JCInfoAfter.MinaraiCD");
        c.minaraiCDBefore = field(r, "JCInfoBefore.MinaraiCD");
        rewriteJockey(paths_, runnerOf(r), c);
    } else if (id == "TC") {
        rewriteStartTime(paths_, raceOf(r), field(r, "TCInfoAfter.Ji") + field(r, "TCInfoAfter.Fun"),
                         field(r, "TCInfoBefore.Ji") + field(r, "TCInfoBefore.Fun"));
    } else if (id == "CC") {
        rewriteCourse(paths_, raceOf(r), field(r, "CCInfoAfter.Kyori"), field(r, "CCInfoBefore.Kyori"),
                      field(r, "CCInfoAfter.TruckCD"), field(r, "CCInfoBefore.TruckCD"));
    }
}

bool LiveUpdates::fetchOdds(const RaceKey& race) {
    oddsArrived_ = false;
    for (const RealTimeSpec& s : kOddsSpecs)
        if (!read(s.spec, race.text(), s.bufferSize, Kind::Odds, &race)) break;
    return oddsArrived_;
}

void LiveUpdates::fetchWeights(const std::string& date) {
    read(kWeightSpec.spec, date, kWeightSpec.bufferSize, Kind::Weights, nullptr);
}

void LiveUpdates::fetchResults(const RaceKey& race) {
    read(kResultSpec.spec, race.date(), kResultSpec.bufferSize, Kind::Results, &race);
}

void LiveUpdates::fetchChanges(const std::string& date) {
    weather_.clear();
    read(kChangeSpec.spec, date, kChangeSpec.bufferSize, Kind::Changes, nullptr);
    summary_.clear();
    for (const auto& [jyo, w] : weather_) {
        if (!summary_.empty()) summary_ += "/";
        summary_ += trackName(jyo) + "[" + weatherName(w.tenko) + "]" + sj("芝") + goingName(w.siba) + " " + sj("ダ") +
                    goingName(w.dirt);
    }
}

void LiveUpdates::runBatch(BatchKind kind, const std::string& date, const std::vector<RaceKey>& races,
                           bool normalMode, const std::function<void(const BatchStep&)>& after,
                           const std::function<void(const RaceKey&)>& before) {
    lastOpen_ = 0;
    fetchChanges(date);
    if (lastOpen_ < -99) cancel_ = true;
    if (!cancel_) {
        fetchWeights(date);
        if (lastOpen_ < -99) cancel_ = true;
    }
    const auto kubun = [&](Family f, const RaceKey& race) {
        return trimBoth(getField(f, f == Family::RA ? findRace(paths_, race) : findOdds(paths_, f, race), "DataKubun"));
    };
    const auto raceCancelled = [&](const RaceKey& race) {
        return kubun(Family::RA, race) == "9" || kubun(Family::O2, race) == "9";
    };
    for (std::size_t i = 0; !cancel_ && i < races.size(); ++i) {
        const RaceKey& race = races[i];
        if (before) before(race);
        BatchStep step{i, race, "", false};
        const std::string k = kubun(Family::RA, race);
        if (k == "1" || k == "7" || k == "9" || k == "A") {
            step.actions = "skip";
        } else if (normalMode && k != "6") {
            std::vector<std::string> done;
            if (kind == BatchKind::Results) {
                fetchResults(race);
                done.push_back("results");
            }
            fetchOdds(race);
            done.push_back("odds");
            if (kind == BatchKind::Odds && raceCancelled(race)) {
                fetchResults(race);
                done.push_back("results");
            }
            for (const std::string& d : done) step.actions += (step.actions.empty() ? "" : ",") + d;
        } else {
            step.actions = "none";
        }
        step.raceCancelled = raceCancelled(race);
        if (after) after(step);
    }
    cancel_ = false;
}

}  // namespace tarvo
