// Race prediction and marks: the pace forecast of a race, the running style
// and draw scores, the four scores A to D of every runner of the caller's
// runner table, and the PC marks ◎ ○ ▲ △ × ☆ 注 handed out from them.
//
// Callers evaluate every runner first (runner_eval.h) and store the values
// in the mark slots; the prediction reads only the runner table, the race's
// RA record, and for newcomer races the horses' UM and CK records and the
// newcomer statistics. It never reports an error: missing inputs read as
// -150 or 0.
#pragma once

#include <string>
#include <string_view>

#include "runner_eval.h"

namespace tarvo {

// The race as the caller passes it (texts as stored; CP932).
struct RaceCall {
    std::string_view caller;  // selects the runner table
    std::string_view year, monthDay, syubetuCD, jyokenCD5, gradeCD;
    std::string_view goingKey;   // 良, 稍, 重 or 不, from the race header
    std::string_view courseKey;  // 芝1600
    std::string_view raceNum, jyoCD;
};

// The four race-level texts shown below the race card, emptied at the start
// of each prediction and kept until the next, whichever caller runs it.
struct RaceFigures {
    std::string standard3F;  // 標3F
    std::string frontPace;   // 平3F
    std::string position;    // 位置
    std::string paceLabel;   // 予Ｐ
};
const RaceFigures& raceFigures();

// The 18-byte forecast: d (five bytes), the mean front pace S (five), the mean
// corner position X (four) and the pace label twice; 18 "-" when the runners
// have no front paces or corner positions.
std::string paceForecast(const StorePaths& paths, std::string_view caller, std::string_view year,
                         std::string_view monthDay, std::string_view raceNum, std::string_view jyoCD);

// The running style score for a mean corner position x under a pace label.
int runningStyleScore(std::string_view jyoCD, std::string_view courseKey, std::string_view gradeCD, double x,
                      std::string_view paceLabel, std::string_view jyokenCD5);

// -1, 0 or 1 for horse number u of a race whose highest horse number is maxUmaban.
int drawScore(std::string_view jyoCD, std::string_view courseKey, int u, int maxUmaban, std::string_view gradeCD);

// Computes the race-level figures and the score lists A to D of every runner
// of the caller's table.
void predictRace(const EvalSource& src, const RaceCall& race);

// Empties mark slot 0 of every runner, predicts the race and writes the PC
// marks into slot 0; runnerCount sets how many marks follow ◎.
void markRace(const EvalSource& src, const RaceCall& race, int runnerCount);

}  // namespace tarvo
