// The evaluation of one race's runners, the same for every caller: allocate
// the caller's runner table, evaluate each runner in the caller's order and
// store its values in the mark slots, run the aptitude checks of a central
// race when they are switched on, then mark the race when it has five runners
// or more. The caller has loaded the engine settings and holds a
// ReadCacheScope (fsys.h) around the call, so that the files the runners
// share are read once for the race.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "race_key.h"
#include "runner_eval.h"

namespace tarvo {

struct RunnerTable;

// The race as the caller evaluates it (texts as stored; CP932).
struct RaceEvalCall {
    std::string_view caller;  // selects the runner table
    RaceKey race;
    std::string_view syubetuCD, jyokenCD5, gradeCD, jyuryoCD;
    std::string_view courseKey;  // passed to the evaluation and the marking
    std::string_view goingKey;   // 良, 稍, 重 or 不
};

// Called after runner i has been evaluated and checked, before the marking.
using RunnerEvaluated = std::function<void(std::size_t i)>;

// Evaluates the runners (their SE lines in the caller's order) into the
// caller's table and marks the race; returns the table. Besides the
// evaluation values the table gets per runner its pedigree number, odds text,
// user mark (slot 1), horse number (slot 25) and sex text (slot 30).
RunnerTable& evaluateRace(const EvalSource& src, const RaceEvalCall& call, const std::vector<std::string>& runners,
                          const RunnerEvaluated& evaluated = {});

// The weight carried of an SE line in kilograms, Futan ÷ 10 (FutanBefore when
// Futan is 0) in the shortest decimal form ("57", "55.5").
std::string runnerWeightText(std::string_view se);

// The odds text of an SE line: 取消 or 除外 by IJyoCD, else 取消 for Odds
// "----" and 除外 for "****", else the odds in tenths as "12.3" ("" for 0).
std::string runnerOddsText(std::string_view se);

// An SE Odds field in tenths as "12.3" ("" for 0).
std::string oddsInTenths(std::string_view odds);

// The sex name of an SE line, with ｾﾝ written セ.
std::string runnerSexText(std::string_view se);

}  // namespace tarvo
