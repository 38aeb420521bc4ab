// The local graded race prediction without any window: the entry grid of the
// provisional race card and its operations, the horse search over the UM
// index, the trainer lookup, the provisional race card file (.rfl), the
// bracket numbers and the card build on the main window's race card. The
// screen TfrmSrch and tarvo-cli call the same functions. Texts are CP932.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "card_view.h"
#include "screen_view.h"
#include "store_paths.h"

namespace tarvo {

// Entry grid columns: 0 number and status ("01番", "01除>", "01消>"), 1 name,
// 2 sex and age, 3 weight, 4 KettoNum, 5 jockey, 6 KisyuCode, 7 trainer,
// 8 ChokyosiCode.
inline constexpr std::size_t kEntryColumns = 9;
using EntryRow = std::array<std::string, kEntryColumns>;

bool isEmptyEntry(const EntryRow& row);

// The bracket number of horse number h in a field whose highest number is f,
// or "" outside 1 to 18.
std::string bracketNumber(int h, int f);

// The header of a provisional card: date YYYYMMDD, track name, course key, race name.
struct LocalRaceHeader {
    std::string date, trackName, courseKey, raceName;
};

// The screen's state: its entry grid (never without a row), the horse number
// choice, the search results and the selected row (1-based, 0 for none).
struct LocalEntry {
    std::vector<EntryRow> rows{EntryRow{}};
    std::vector<std::string> numbers = allHorseNumbers();
    std::vector<std::string> results;
    std::size_t selected = 0;

    // "01番" to "18番".
    static std::vector<std::string> allHorseNumbers();
    // The number texts of the rows back in the choice, kept sorted.
    void returnNumber(const std::string& number);
    void takeNumber(const std::string& number);
};

// A search result line (45 bytes): name, sex, age, three blanks, KettoNum.
std::string searchResultLine(std::string_view name, std::string_view sex, std::string_view age,
                             std::string_view kettoNum);

// The UM index files a search reads: every ".idx" below UM/ for age 0 ("全"),
// else those of the birth year currentYear - age.
std::vector<std::string> searchFiles(const StorePaths& p, int age, int currentYear);

// Adds to results the lines of one UM index file whose horse name begins with
// the (trimmed) text, each at most once; ages count from raceYear.
void searchFile(const std::string& path, std::string_view text, int raceYear, std::vector<std::string>& results);

// The whole search: called after each file with (done, count), as the screen
// processes messages. An empty (blank) text gives no results.
std::vector<std::string> searchHorses(const StorePaths& p, std::string_view text, int age, int raceYear,
                                      int currentYear, const std::function<void(std::size_t, std::size_t)>& step = {});

// The horse's trainer for a race date: short name ("**" for none) and code ("00000").
struct TrainerRef {
    std::string name, code;
};
TrainerRef trainerLookup(const StorePaths& p, std::string_view raceDate, std::string_view kettoNum);

// The operations of the screen on its state. addRunner returns the message to
// show ("" when added); the others do nothing without a selected row.
std::string addRunner(LocalEntry& e, const StorePaths& p, std::string_view resultLine, std::string_view number,
                      std::string_view weight, std::string_view raceDate);
void removeRunner(LocalEntry& e);
// Exchanges the selected runner with the one above (-1) or below (+1).
void moveRunner(LocalEntry& e, int step);
// "除" or "消" on the selected row: sets the status, or returns to "番" when it is set.
void toggleStatus(LocalEntry& e, std::string_view status);

// The provisional race card file.
std::string rflText(const LocalRaceHeader& header, const std::vector<EntryRow>& rows);

struct RflContent {
    LocalRaceHeader header;   // date empty when the file has no readable header date
    std::vector<EntryRow> rows;  // one empty row for a file without runner lines
    std::vector<std::string> problems;  // what could not be read (English, for messages)
};
// Reads a file's bytes; runner lines without jockeys and trainers get "**"
// jockeys and the trainer lookup for the header's date (fallbackDate without one).
RflContent readRfl(const StorePaths& p, std::string_view data, std::string_view fallbackDate);
// Puts what a file held into the screen's state: its rows, the number choice
// without their numbers, row 1 selected.
void loadEntry(LocalEntry& e, const RflContent& content);

// The card the main window shows after "出走表登録": the caller has loaded the
// engine settings; the odds setting is switched off in memory.
RaceCard buildLocalRaceCard(const EvalSource& src, const LocalRaceHeader& header, const std::vector<EntryRow>& rows,
                            const CardProgress& progress = {});
// The race key a provisional card stands for: its date, track code and "**".
RaceKey localRaceKey(const LocalRaceHeader& header);

// The course label of a course key: 芝1600 -> "芝1600m", ダ1200 -> "ダート1200m", else "".
std::string localCourseLabel(std::string_view courseKey);

// The runner editor's jockey (KS) or trainer (CH) list, "[直接入力]" first,
// the rest in kana order; 71-byte lines.
std::vector<std::string> personChoiceLines(const StorePaths& p, Family family);
// The first line whose kana or short name begins with the text ("" for none,
// blank text or text beginning with "[").
std::string findPersonChoice(const std::vector<std::string>& lines, std::string_view text);

// The search results as the screen shows them: lstSchResult and the count lblNum.
ScreenView localSearchView(const std::vector<std::string>& results);

// The weights of the choices: 48.0 to 62.0 in steps of 0.5.
std::vector<std::string> weightChoices();

// The course keys of the course choice.
const std::vector<std::string>& courseChoices();

}  // namespace tarvo
