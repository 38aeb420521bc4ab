// The three track data maintenance screens without any window: the
// adjustment of one race's stored track variant (TfrmBbAdj), the rebuild of
// all track data (TfrmBabaUpd) and the update of a period (TfrmBbUpdTm). The
// screens and tarvo-cli call the same functions. Texts are CP932.
#pragma once

#include <string>
#include <string_view>

#include "message_kind.h"
#include "race_key.h"
#include "store_paths.h"
#include "track_variant.h"

namespace tarvo {

// The two values of a variant as the screen shows them: the time variant
// ("RW馬場") and the last-3F variant ("LS馬場"), each trimmed.
struct VariantPair {
    std::string rw, ls;
    bool operator==(const VariantPair&) const = default;
};
// Characters 1-4 and 5-8 of a variant text, trimmed.
VariantPair splitVariant(std::string_view variant);

// What the adjustment screen shows when it opens.
struct TrackAdjustment {
    std::string dataKubun, courseKey;
    VariantPair before;    // "調整前": stored when the screen opened
    VariantPair computed;  // "未調整": as a rebuild would write it
    bool updateEnabled = false;
    std::string error;     // the missing-standard message, or ""
};
TrackAdjustment openTrackAdjust(const StorePaths& paths, const std::string& settingsPath,
                                const std::string& fileFolder, const RaceKey& race);

// A typed value: the integer it reads as ("+" and leading zeros accepted),
// kMissingValue when it is no integer.
int adjustValue(std::string_view text);
// True for a value the slots can keep: -99 to 199.
bool validAdjustValue(int v);

// The outcome of "更新".
struct AdjustOutcome {
    enum class Focus { None, Rw, Ls };
    Focus focus = Focus::None;  // the field to correct, when rejected
    std::string error;          // "有効な値を入力してください" when rejected
    VariantPair now;            // "現在値" after the update
};
// Checks the two typed values and, when both are valid, writes them into the
// race's track data with the surface mark of its course.
AdjustOutcome applyTrackAdjustment(const StorePaths& paths, const RaceKey& race, std::string_view rwText,
                                   std::string_view lsText);

// The rebuild and period screens' side of a run.
class TrackBuildView {
public:
    virtual ~TrackBuildView() = default;
    virtual void barMaximum(int /*maximum*/) {}
    virtual void barEnd() {}
    virtual void caption(const std::string& /*text*/) {}
    // Lets pending window messages run (the timer and the cancel button).
    virtual void pump() {}
};

// How a run ended: the final caption and the message box (empty text: none).
struct TrackBuildOutcome {
    bool cancelled = false;
    std::string caption;
    MessageKind kind = MessageKind::Information;
    std::string message;
};

// "馬場データ作成": deletes every track data file, then computes every
// confirmed central race. A cancel request stops it after the race in hand and
// is cleared; an input/output failure ends it with the system's error text.
TrackBuildOutcome rebuildAllFromScreen(const StorePaths& paths, const std::string& settingsPath,
                                       BuilderProgress& progress, TrackBuildView& view);

// "指定期間の馬場を更新" for the dates from and to (yyyymmdd).
TrackBuildOutcome rebuildPeriodFromScreen(const StorePaths& paths, const std::string& settingsPath,
                                          const std::string& from, const std::string& to, BuilderProgress& progress,
                                          TrackBuildView& view);

}  // namespace tarvo
