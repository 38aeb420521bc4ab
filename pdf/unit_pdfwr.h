// The race card PDF: the race shown on the race card written as an A4
// portrait document, a page header with the race's data and the odds state,
// then a 40-point band per runner (pedigree, connections, aptitude counts,
// five past runs in five-line cells, marks and indices), eighteen runners to
// a page. The cells, labels and marks come from the race card's view model
// and the main window's runner table, so the PDF shows the card as built.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "card_view.h"
#include "race_key.h"
#include "runner_eval.h"
#include "runner_tables.h"

namespace tarvo {

// What the PDF takes from the shown race (CP932 texts).
struct CardPdfRace {
    RaceKey race;            // the track code is the race's own, whatever name the header shows
    std::string trackName;   // the header's first two characters (東京)
    std::string raceNumber;  // its next two (11)
    std::string raceName, startTime, course, remarks;  // start time in half-width (15:40, --:--)
};
CardPdfRace cardPdfRace(const RaceCard& card, const RaceKey& race);

// "2024.01.07(日)"; "**" for the weekday of an invalid date.
std::string cardPdfDateText(std::string_view date8);
// 芝1600m, ダ1200m, 障3000m from the course label.
std::string cardPdfCourseText(std::string_view courseLabel);
// The odds state line of the race's quinella odds record, or "".
std::string oddsStateText(const StorePaths& p, const RaceKey& race);
// A past run's total index from its run index and last-3F index texts.
std::string totalIndexText(std::string_view runIndex, std::string_view last3fIndex);

// One text of a past-run cell: size, x from the cell's V (71 × slot), the
// line (1 to 5) and the text.
struct CellText {
    float size, dx;
    int line;
    std::string text;
};
// The texts of the past-run cell of a horse's run in the race of a 12-character
// key (date, track code, race number); none for an empty key.
std::vector<CellText> pastRunCell(const EvalSource& src, std::string_view raceKey12, std::string_view kettoNum);

// Writes the document to out (positioned at its start). Called after each
// runner with the runners done and the runner count.
void writeRaceCardPdf(const EvalSource& src, const CardPdfRace& race, const RaceCard& card, const RunnerTable& table,
                      std::ostream& out, const CardProgress& progress = {});
// The same into a file created (or overwritten) at path; IoError when it cannot be.
void writeRaceCardPdfFile(const EvalSource& src, const CardPdfRace& race, const RaceCard& card,
                          const RunnerTable& table, const std::string& path, const CardProgress& progress = {});

}  // namespace tarvo
