#include "bbadj_view.h"

#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fsys.h"
#include "lookups.h"
#include "std_tables.h"
#include "textfn.h"

namespace tarvo {

VariantPair splitVariant(std::string_view variant) {
    return {trimBoth(part(variant, 0, 4)), trimBoth(part(variant, 4, 4))};
}

namespace {

// The race's DataKubun and course key from its RA record.
struct RaceCourse {
    std::string dataKubun, courseKey;
};
RaceCourse raceCourse(const StorePaths& paths, const RaceKey& race) {
    const std::string ra = findRace(paths, race);
    auto f = [&](const char* name) { return getField(Family::RA, ra, name); };
    return {trimBoth(f("DataKubun")), courseKey(f("TrackCD"), f("Kyori"))};
}

VariantPair stored(const StorePaths& paths, const std::string& fileFolder, const RaceKey& race) {
    return splitVariant(storedVariant(paths, fileFolder, race.date(), race.jyoCD, race.raceNum));
}

}  // namespace

TrackAdjustment openTrackAdjust(const StorePaths& paths, const std::string& settingsPath,
                                const std::string& fileFolder, const RaceKey& race) {
    TrackAdjustment a;
    const RaceCourse rc = raceCourse(paths, race);
    a.dataKubun = rc.dataKubun;
    a.courseKey = rc.courseKey;
    const bool distidx = reloadDistanceCoefficientSetting(settingsPath);
    a.computed = splitVariant(raceVariant(paths, race, rc.courseKey, distidx));
    a.before = stored(paths, fileFolder, race);
    if (rc.dataKubun != "7") return a;
    const bool standards =
        standardLookup('C', rc.courseKey, race.jyoCD).has_value() && standardLookup('D', rc.courseKey, race.jyoCD).has_value();
    a.updateEnabled = standards;
    if (!standards)
        a.error = trackName(race.jyoCD) + rc.courseKey + sj("の基準タイムがないため、\r\n当レースの馬場調整はできません");
    return a;
}

int adjustValue(std::string_view text) { return toIntDef(trimBoth(text), kMissingValue); }

bool validAdjustValue(int v) { return v >= -99 && v <= 199; }

AdjustOutcome applyTrackAdjustment(const StorePaths& paths, const RaceKey& race, std::string_view rwText,
                                   std::string_view lsText) {
    AdjustOutcome o;
    const int a = adjustValue(rwText), b = adjustValue(lsText);
    if (!validAdjustValue(a) || !validAdjustValue(b)) {
        o.error = sj("有効な値を入力してください");
        o.focus = validAdjustValue(a) ? AdjustOutcome::Focus::Ls : AdjustOutcome::Focus::Rw;
        return o;
    }
    o.now = {variantValueText(a), variantValueText(b)};
    const std::string mark = surfaceMark(raceCourse(paths, race).courseKey);
    writeVariant(paths, race, padRight(o.now.rw, 4) + padRight(o.now.ls, 4) + mark);
    return o;
}

namespace {

// Runs one builder: the common frame of both screens' runs.
template <class Build>
TrackBuildOutcome runBuilder(const char* title, const char* working, const char* cancelled,
                             BuilderProgress& progress, TrackBuildView& view, Build&& build) {
    TrackBuildOutcome o;
    o.caption = sj(title);
    try {
        build([&] {
            view.caption(sj(title) + sj(working));
            view.pump();
        });
    } catch (const IoError& e) {
        progress.cancelRequested = false;
        o.kind = MessageKind::Error;
        o.message = e.what();
        return o;
    }
    if (progress.cancelRequested) {
        progress.cancelRequested = false;
        o.cancelled = true;
        o.caption = sj(title) + sj(cancelled);
        o.kind = MessageKind::Warning;
    }
    return o;
}

}  // namespace

TrackBuildOutcome rebuildAllFromScreen(const StorePaths& paths, const std::string& settingsPath,
                                       BuilderProgress& progress, TrackBuildView& view) {
    TrackBuildOutcome o = runBuilder(
        "馬場データの再作成", "(馬場データ作成中)", "(馬場データの作成を中止しました)", progress, view,
        [&](const auto& started) {
            deleteAllTrackData(paths);
            view.barMaximum(countFinalRaces(paths, "", "", "", true));
            started();
            rebuildAllTrackData(paths, settingsPath, progress, [&] { view.pump(); });
        });
    if (!o.cancelled && o.message.empty()) o.message = sj("馬場データ再作成が終了しました");
    return o;
}

TrackBuildOutcome rebuildPeriodFromScreen(const StorePaths& paths, const std::string& settingsPath,
                                          const std::string& from, const std::string& to, BuilderProgress& progress,
                                          TrackBuildView& view) {
    if (toIntDef(to, 0) < toIntDef(from, 0))
        return {false, sj("期間内の馬場データ更新"), MessageKind::Information,
                sj("開始と終了の順序を正しく設定してください")};
    progress.raceCount = 0;
    progress.fileIndex = 0;
    TrackBuildOutcome o = runBuilder(
        "期間内の馬場データ更新", "(馬場データ作成中)", "(馬場データの更新を中止しました)", progress, view,
        [&](const auto& started) {
            view.barMaximum(static_cast<int>(walkDirectory(paths.root() + "RA/", "", true).size()));
            started();
            rebuildTrackDataPeriod(paths, settingsPath, from, to, progress, [&] { view.pump(); });
        });
    if (o.cancelled || !o.message.empty()) return o;
    view.barEnd();
    o.message = sj(progress.raceCount == 0 ? "該当する期間のデータはありません" : "馬場データ更新が終了しました");
    return o;
}

}  // namespace tarvo
