// Same-day updates through the data service's real-time data: odds of a race,
// body weights and change information of a day, results of a race, and the
// batches over a day's races. Each fetch opens one real-time read, reads it to
// the end and closes it; what it finds is written into the store, through the
// in-place rewrites of stored RA and SE lines or through the record writers.
// Every failure is reported through the view (as the message boxes would) and
// the fetch returns; input/output failures of the store raise IoError.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "JVDTLabLib_TLB.h"
#include "message_kind.h"
#include "race_key.h"
#include "store_paths.h"

namespace tarvo {

class LiveView {
public:
    virtual ~LiveView() = default;
    virtual void message(MessageKind /*kind*/, const std::string& /*text*/) {}
};

// Consecutive reading results below 1 that mean nothing to the reading loop
// before it gives the fetch up.
inline constexpr int kLiveReadRetryLimit = 200;

enum class BatchKind { Odds, Results };

// What a batch did for one race: ACTIONS is "skip" (entries only, final,
// cancelled or local), "none" (no fetch in read-only mode or for a final
// provisional result), or the fetches in order joined by "," ("results", "odds").
struct BatchStep {
    std::size_t index = 0;  // the race's place in the list
    RaceKey race;
    std::string actions;
    bool raceCancelled = false;  // its RA or O2 DataKubun is "9" after the fetches
};

class LiveUpdates {
public:
    LiveUpdates(JVDTLabLib_TLB::IJVLink& jvlink, StorePaths paths, LiveView& view);

    // "0B30", "0B34", "0B35", "0B36" in that order; true when win odds arrived.
    bool fetchOdds(const RaceKey& race);
    // "0B11" of the date (yyyymmdd).
    void fetchWeights(const std::string& date);
    // "0B12" of the race's date, the race's records only.
    void fetchResults(const RaceKey& race);
    // "0B14" of the date; the weather summary is formed anew.
    void fetchChanges(const std::string& date);

    // The open result of the last change information or body weight fetch.
    int lastOpenResult() const { return lastOpen_; }
    // The weather summary of the last change information read: one line per
    // central track that had an announcement, in track code order, joined by "/".
    const std::string& weatherSummary() const { return summary_; }

    // A batch over the races of a date in list order. normalMode false (read
    // only) fetches nothing per race. after() runs after each race (the window
    // shows the race again, moves the progress bar and lets pending messages
    // run); the cancel flag is looked at after it. before() runs as each race starts.
    void runBatch(BatchKind kind, const std::string& date, const std::vector<RaceKey>& races, bool normalMode,
                  const std::function<void(const BatchStep&)>& after,
                  const std::function<void(const RaceKey&)>& before = {});
    // "取得中止": the batch stops after the race in hand (or before the first
    // race when set during the day fetches). The caller clears the flag as the
    // batch starts, before it lets pending messages run; the batch clears it at its end.
    void cancel() { cancel_ = true; }
    void clearCancel() { cancel_ = false; }
    bool cancelFlag() const { return cancel_; }

private:
    enum class Kind { Odds, Weights, Results, Changes };
    struct Weather {
        std::string tenko, siba, dirt;
    };
    // One real-time read; false when the odds fetch must not go on to its next spec.
    bool read(const char* spec, const std::string& key, int bufferSize, Kind kind, const RaceKey* race);
    void onRecord(const std::string& record, long length, const RaceKey* race);

    JVDTLabLib_TLB::IJVLink& jv_;
    StorePaths paths_;
    LiveView& view_;
    int lastOpen_ = 0;
    bool cancel_ = false;
    bool oddsArrived_ = false;
    std::map<std::string, Weather> weather_;  // track code -> last announced values
    std::string summary_;
};

// The window caption: appCaption, followed by " - " and the weather summary when there is one.
std::string weatherCaption(const std::string& appCaption, const std::string& summary);

}  // namespace tarvo
