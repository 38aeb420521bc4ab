#include "runner_tables.h"

#include "textfn.h"

namespace tarvo {
namespace {

RunnerTable& mainWindowSet() {
    static RunnerTable t;
    return t;
}

RunnerTable& secondSet() {
    static RunnerTable t;
    return t;
}

bool isMainWindow(std::string_view caller) { return caller == kMainWindowCaller; }

void resize(RunnerTable::Texts& list, std::size_t n) { list.assign(n, std::string()); }

}  // namespace

std::size_t evaluationSlot(std::size_t v) {
    if (v == 0) return 17;
    if (v <= 15) return v + 1;   // 2 to 16
    if (v <= 19) return v + 5;   // 21 to 24
    if (v <= 23) return v + 6;   // 26 to 29
    return 31;
}

RunnerTable& runnerTable(std::string_view caller) { return isMainWindow(caller) ? mainWindowSet() : secondSet(); }

RunnerTable& allocateRunnerTable(std::string_view caller, std::size_t n) {
    const bool main = isMainWindow(caller);
    RunnerTable& t = runnerTable(caller);
    const std::size_t own = main ? n : 0;  // lists the second set does not have
    resize(t.kettoNums, n);
    resize(t.odds, n);
    for (auto& s : t.scores) s.assign(n, 0);
    for (auto& m : t.marks) resize(m, n);
    resize(t.jockeyCodes, own);
    resize(t.trainerCodes, own);
    resize(t.weightChangeMarks, own);
    resize(t.jockeyChangeMarks, own);
    for (std::size_t k = 0; k < kPastRuns; ++k) {
        resize(t.pastRaceKeys[k], own);
        resize(t.pastCells[k], own);
        resize(t.pastSummaries[k], own);
    }
    return t;
}

std::vector<std::string> splitCommaText(std::string_view text) {
    std::vector<std::string> values(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                values.back() += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                values.back() += text[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            values.emplace_back();
        } else {
            values.back() += c;
        }
    }
    return values;
}

void storeEvaluation(RunnerTable& table, std::size_t i, std::string_view values) {
    if (i >= table.size()) return;
    const std::vector<std::string> v = splitCommaText(values);
    for (std::size_t k = 0; k < kEvaluationValues; ++k) {
        const std::string value = k < v.size() ? v[k] : std::string();
        table.marks[evaluationSlot(k)][i] = k == kEvaluationValues - 1 ? value : trimBoth(value);
    }
}

}  // namespace tarvo
