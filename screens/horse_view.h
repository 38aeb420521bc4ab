// The horse data screen TfrmUmaRes: one horse's profile, every past run with
// its run index and last-3F index, and place counts of those runs by category.
// Everything is computed once, when the screen opens.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "JVDTLabLib_TLB.h"
#include "race_key.h"
#include "runner_eval.h"
#include "screen_view.h"
#include "view_cells.h"

namespace tarvo {

// What the horse data screen is opened with.
struct HorseDataOpening {
    std::string kettoNum;    // 10-character pedigree number
    std::string openerTag;   // CP932: "通常", "服色", "結果", "検索", "Ｒ検", "地方", "地方２", "調教映像"
    std::optional<RaceKey> race;  // the stored race it was opened from (target course, prize money)
    std::string targetJyoCD;      // target track code when no stored race gives it (local card)
    std::string targetCourseKey;  // target course key likewise, e.g. "芝1600"
};

inline constexpr const char* kHorseRunsGrid = "stgRc_rireki";

// Columns of the past-runs grid that other code reads.
enum HorseRunColumn {
    kHrDate = 0, kHrTrack = 1, kHrRaceName = 4, kHrRaceKey = 5, kHrPlace = 9, kHrJockey = 10, kHrGoing = 12,
    kHrLast3F = 17, kHrCorners = 18, kHrRunIndex = 21, kHrL3fIndex = 22, kHrColumns = 23,
};

// One data row's run, for the screen's double clicks.
struct HorseRun {
    RaceKey race;
    std::string kisyuCode, kisyuRyakusyo;  // trimmed
};

struct HorseData {
    ScreenView view;  // caption, the labels shown, the past-runs grid (row 0 the header)
    std::vector<ViewRow> rows;   // the grid's data rows (one "(未出走)" row when no run is shown)
    std::vector<HorseRun> runs;  // per data row; empty for the "(未出走)" row
    std::vector<std::string> hidden;               // labels hidden (same course and distance)
    std::vector<ScreenView::Label> hints;          // label object name, hint text (CP932)
    bool hasHorseRecord = false;                   // the UM record exists
    std::string banusiCode, chokyosiCode, trainerShortName;  // trimmed
};

// The screen of a horse. currentYear is the calendar year of the computer's
// clock (ages). Reloading the engine settings is the caller's part.
HorseData horseData(const EvalSource& src, const HorseDataOpening& opening, int currentYear);

// The background of a data cell as 0xRRGGBB: the place colours in column 9,
// the figure colours in columns 21 and 22, white elsewhere.
std::uint32_t horseCellBackground(const ViewRow& row, std::size_t col);

// The caption of the pop-up menu item that plays a data row's race video.
std::string videoMenuCaption(const ViewRow& row);

// The owner's silks picture as the screen shows it.
struct HorseSilks {
    bool shown = false;        // the data service can draw silks (version 230 or later)
    std::string bitmap;        // the picture file's bytes; empty when there is no picture
    std::string hint;          // CP932
    bool rewriteHidden = false;
};
// Loads the picture file of the owner, asking the data service to draw it from
// the owner's silks description when the file is missing (always when redraw).
// A picture the service cannot draw is shown once and deleted, so that the next
// opening tries again. Raises IoError when the file cannot be read.
HorseSilks horseSilks(JVDTLabLib_TLB::IJVLink& jvlink, const StorePaths& paths, std::string_view banusiCode,
                      bool redraw);

}  // namespace tarvo
