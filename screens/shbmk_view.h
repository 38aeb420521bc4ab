// The newcomer statistics builder (TfrmSmbDtMk) without any window: the year
// choices it opens with, and the run over the chosen years with its progress,
// cancel and closing message. The screen and tarvo-cli call the same functions.
// Texts are CP932.
#pragma once

#include <string>
#include <vector>

#include "message_kind.h"
#include "newcomer_stats.h"
#include "store_paths.h"

namespace tarvo {

// What the screen shows when it opens: the year folders below RA/ in both
// year choices, the first chosen as the start and the last as the end; or,
// when the store root does not exist, no choices and the error message.
struct NewcomerBuilderOpening {
    std::vector<std::string> years;
    int fromIndex = -1, toIndex = -1;
    std::string error;
};
NewcomerBuilderOpening openNewcomerBuilder(const StorePaths& paths);

// The years a pair of year choices stands for; a choice that is not a
// positive number (an empty list) chooses nothing: from after to.
struct YearRange {
    int from = 1, to = 0;
};
YearRange chosenYears(const std::string& fromText, const std::string& toText);

// The screen's side of a run. Each call comes only when what it shows changes.
class NewcomerBuildView {
public:
    virtual ~NewcomerBuildView() = default;
    virtual void yearBar(int /*position*/, int /*maximum*/) {}
    virtual void fileBar(int /*position*/, int /*maximum*/) {}
    // The SE file being counted.
    virtual void fileText(const std::string& /*path*/) {}
    // A year's files written, with the keys of each table.
    virtual void yearWritten(int /*year*/, const NewcomerYear& /*counts*/) {}
    // Lets pending window messages run (the cancel button among them).
    virtual void pump() {}
};

// How a run ended: the message the screen shows.
struct NewcomerBuildOutcome {
    MessageKind kind = MessageKind::Information;
    std::string text;
};

// Clears progress.cancelRequested, then makes the statistics files of each
// year from years.from to years.to until cancelled (tested before each year,
// file and line). A completed run sets both bars to their end and ends with
// "集計処理が終了しました", a cancelled one with "集計処理を中止しました"
// (the year in hand writes no file); an input/output failure ends it with the
// system's error text.
NewcomerBuildOutcome makeNewcomerYears(const StorePaths& paths, const std::string& fileFolder, YearRange years,
                                       NewcomerProgress& progress, NewcomerBuildView& view);

}  // namespace tarvo
