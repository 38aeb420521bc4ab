// The training video list TfrmMvList: the week's list of training videos that
// the data service offers, each entry joined with the horse's records in the
// store (its race of the week, trainer, prize money), sorted by headings.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "JVDTLabLib_TLB.h"
#include "screen_view.h"
#include "store_paths.h"
#include "view_cells.h"

namespace tarvo {

// The training week of a chosen date: its Saturday, Sunday and the limit (the
// Tuesday after the Saturday), each YYYYMMDD.
struct TrainingWeek {
    std::string saturday, sunday, limit;
};
// nullopt when date is not a calendar date YYYYMMDD.
std::optional<TrainingWeek> trainingWeek(std::string_view date);

// The video type of training videos.
inline constexpr const char* kTrainingVideoType = "11";

// The list as the data service gave it: 18-character entries (training date and
// KettoNum), and the error message (CP932, "" when none).
struct VideoListing {
    std::vector<std::string> entries;
    std::string message;
};
// Opens the Saturday's list (the Sunday's when the Saturday has none), reads it
// and closes the service's list again in every case.
VideoListing fetchVideoListing(JVDTLabLib_TLB::IJVLink& jvlink, const TrainingWeek& week);

// Trainer code and kana of every stored CH record, in the order of the folder walk.
class TrainerKana {
public:
    explicit TrainerKana(const StorePaths& paths);
    // The kana of the first pair with that code, full-width and trimmed; "" for none.
    std::string of(std::string_view code) const;
    std::size_t size() const { return pairs_.size(); }

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
};

enum VideoColumn {
    kMvDate = 0, kMvDate8 = 1, kMvWeekday = 2, kMvWeekdayNum = 3, kMvKey = 4, kMvName = 5, kMvKettoNum = 6,
    kMvSexAge = 7, kMvSexCD = 8, kMvAge = 9, kMvCoat = 10, kMvKeiroCD = 11, kMvTrainer = 12, kMvTrainerKana = 13,
    kMvTrainerCode = 14, kMvTozai = 15, kMvTozaiCD = 16, kMvPrize = 17, kMvPrizeValue = 18, kMvRaceDate = 19,
    kMvRaceDate8 = 20, kMvTrack = 21, kMvJyoCD = 22, kMvRaceNum = 23, kMvRaceName = 24, kMvRaceKey = 25,
    kMvColumns = 26
};
// The headings of the visible columns (UTF-8), "" for hidden ones.
extern const char* const kVideoHeadings[kMvColumns];

// Prize money in units of 100 yen as units of 10,000 yen in the shortest
// decimal form ("1500", "262.5") and its whole value (0 with a fraction).
std::pair<std::string, long long> prizeText(std::string_view hundredYen);

// The row of one list entry; year is the chosen date's year.
ViewRow trainingVideoRow(const StorePaths& paths, std::string_view entry, const TrainingWeek& week, int year,
                         const TrainerKana& kana);

// The sort state that the hidden labels hold: the column last sorted and its direction.
struct VideoSort {
    int column = 0;
    bool ascending = true;
};
// A double click on heading column: ascending, unless the same column was last
// sorted ascending. False for a column that sorts nothing.
bool clickVideoHeading(VideoSort& sort, int column);
// Sorts the rows by the state's column and direction.
void sortVideoRows(std::vector<ViewRow>& rows, const VideoSort& sort);

struct VideoList {
    std::string date;  // the chosen date YYYYMMDD
    std::vector<ViewRow> rows;
    VideoSort sort;
    std::string message;  // CP932, "" when none
};
// A fetch for the chosen date: rows sorted by training date ascending.
VideoList fetchVideoList(JVDTLabLib_TLB::IJVLink& jvlink, const StorePaths& paths, std::string_view date);
ScreenView videoListScreen(const VideoList& list, bool raceViewer);
// The pop-up item's caption for a row.
std::string trainingVideoCaption(const ViewRow& row);
// The message of a play result, "" when it started.
std::string trainingPlayMessage(int result);

}  // namespace tarvo
