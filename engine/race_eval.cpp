#include "race_eval.h"

#include "code_tables.h"
#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "race_predict.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo {
namespace {

std::string seField(std::string_view line, std::string_view name) {
    return trimBoth(getField(Family::SE, line, name));
}

}  // namespace

std::string oddsInTenths(std::string_view odds) {
    if (toIntDef(odds, 0) == 0) return "";
    return std::to_string(toIntDef(part(odds, 0, 3), 0)) + "." + std::to_string(toIntDef(part(odds, 3, 1), 0));
}

std::string runnerWeightText(std::string_view se) {
    int tenths = toIntDef(seField(se, "Futan"), 0);
    if (tenths == 0) tenths = toIntDef(seField(se, "FutanBefore"), 0);
    std::string s = std::to_string(tenths / 10);
    if (tenths % 10 != 0) s += "." + std::to_string(tenths % 10);
    return s;
}

std::string runnerOddsText(std::string_view se) {
    const std::string ijyo = seField(se, "IJyoCD");
    const std::string raw = seField(se, "Odds");
    if (ijyo == "1") return sj("取消");
    if (ijyo == "2" || ijyo == "3") return sj("除外");
    if (raw == "----") return sj("取消");
    if (raw == "****") return sj("除外");
    return oddsInTenths(raw);
}

std::string runnerSexText(std::string_view se) {
    std::string sex = sexName(seField(se, "SexCD"));
    if (sex == sj("ｾﾝ")) sex = sj("セ");
    return sex;
}

RunnerTable& evaluateRace(const EvalSource& src, const RaceEvalCall& call, const std::vector<std::string>& runners,
                          const RunnerEvaluated& evaluated) {
    const RaceKey& race = call.race;
    const std::size_t n = runners.size();
    RunnerTable& t = allocateRunnerTable(call.caller, n);
    const bool central = isCentralTrack(race.jyoCD);
    const EngineSettings& settings = engineSettings();

    for (std::size_t i = 0; i < n; ++i) {
        const std::string& se = runners[i];
        const std::string ketto = seField(se, "KettoNum"), kisyu = seField(se, "KisyuCode");
        const std::string kisyuBefore = seField(se, "KisyuCodeBefore"), chokyosi = seField(se, "ChokyosiCode");
        const std::string sexCD = seField(se, "SexCD"), taijyu = seField(se, "BaTaijyu");
        const std::string weight = runnerWeightText(se);
        t.kettoNums[i] = ketto;
        t.odds[i] = runnerOddsText(se);
        if (i < t.jockeyCodes.size()) {  // lists of the main window's set only
            const int futanBefore = toIntDef(seField(se, "FutanBefore"), 0);
            t.jockeyCodes[i] = kisyu;
            t.trainerCodes[i] = chokyosi;
            t.weightChangeMarks[i] = futanBefore > 0 && futanBefore != toIntDef(seField(se, "Futan"), 0) ? "*" : "";
            t.jockeyChangeMarks[i] = seField(se, "KisyuRyakusyoBefore").empty() ? "" : "*";
        }

        RunnerCall rc;
        rc.caller = call.caller;
        rc.year = race.year;
        rc.monthDay = race.monthDay;
        rc.kettoNum = ketto;
        rc.kisyuCode = kisyu;
        rc.kisyuCodeBefore = kisyuBefore;
        rc.chokyosiCode = chokyosi;
        rc.courseKey = call.courseKey;
        rc.weightKg = weight;
        rc.jyokenCD5 = call.jyokenCD5;
        rc.gradeCD = call.gradeCD;
        rc.jyuryoCD = call.jyuryoCD;
        rc.baTaijyu = taijyu;
        rc.sexCD = sexCD;
        rc.row = static_cast<int>(i + 1);
        storeEvaluation(t, i, evaluateRunner(src, rc));
        t.marks[kSlotUserMark][i] = seField(se, "UserYoso");
        t.marks[kSlotCourseCheck][i].clear();
        t.marks[kSlotJockeyDistance][i].clear();
        t.marks[kSlotJockeyTrack][i].clear();
        t.marks[kSlotUmaban][i] = std::string(getField(Family::SE, se, "Umaban"));
        t.marks[kSlotSexName][i] = runnerSexText(se);

        if (central) {
            const std::string kyori = seField(se, "Kyori"), trackCD = seField(se, "TrackCD");
            if (settings.dsthyo)
                t.marks[kSlotCourseCheck][i] = courseAptitudeCheck(src.paths, race, call.gradeCD, kyori, trackCD, ketto);
            if (settings.kshadd) {
                const std::string check = jockeyAptitudeCheck(src.paths, race, kisyu, kyori, trackCD, ketto);
                t.marks[kSlotJockeyDistance][i] = std::string(part(check, 0, 1));
                t.marks[kSlotJockeyTrack][i] = std::string(part(check, 1, 1));
            }
        }
        if (evaluated) evaluated(i);
    }

    if (n > 4) {
        const RaceCall rc{call.caller, race.year,      race.monthDay, call.syubetuCD, call.jyokenCD5,
                          call.gradeCD, call.goingKey, call.courseKey, race.raceNum,  race.jyoCD};
        markRace(src, rc, static_cast<int>(n));
    }
    return t;
}

}  // namespace tarvo
