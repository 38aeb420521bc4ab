// The jockey and trainer screens: a list of every master record of the family
// and the data screen of one person. Jockeys (KS) and trainers (CH) are shown
// alike; a PersonKind holds everything in which they differ, and every
// function here serves both.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "layouts.h"
#include "screen_view.h"
#include "store_paths.h"
#include "view_cells.h"

namespace tarvo {

// What differs between the jockey and the trainer screens. Texts are UTF-8.
struct PersonKind {
    Family family;
    std::string_view folder;  // family folder below the store root
    std::string_view nameField, kanaField, codeField, shortNameField;
    const char* listGrid;        // the list grid's object name
    const char* listCaption;     // list caption without the date
    const char* dataCaption;     // data screen caption
    const char* totalHeading;    // heading of the selected year's total (column 14)
    const char* careerTotalHeading, *careerTotalHint;  // heading of column 19 and its hint
    const char* codeLabel, *nameLabel;  // data screen's code and name labels
    int dataLeft;                // data screen: pixels right of the main window's corner
    bool jockey;                 // affiliation with the stable or "フリー" (jockeys) or alone (trainers)
};

extern const PersonKind kJockeys;
extern const PersonKind kTrainers;

// Six place counts: first to fifth and out of the first five.
struct PlaceCounts {
    long long n[6] = {};
    long long others() const { return n[3] + n[4] + n[5]; }
    long long total() const { return n[0] + n[1] + n[2] + others(); }
};
// The six six-digit counts of a place-count field (non-numbers count 0).
PlaceCounts placeCounts(std::string_view field);

// num / total rounded half away from zero to three decimals ("0.125"), "-.---"
// for a total of 0; computed in integers.
std::string rateText(long long num, long long total);

// The win, 連対 and 3着内 rates of counts.
struct Rates {
    std::string win, quinella, show;
};
Rates rates(const PlaceCounts& c);

// ---- The list ----

// List columns that other code reads.
enum PersonListColumn { kPlName = 0, kPlKana = 1, kPlCode = 2, kPlColumns = 23 };

struct PersonListFilter {
    bool active = true, retired = false;          // "現役", "抹消"
    bool areas[4] = {true, true, true, true};     // "関東", "関西", "地方", "海外"
    std::string name;                             // CP932; contained in the name when not empty
    bool lastYear = false;                        // "前年" instead of "本年"
};

// A column heading above the list grid: its object name, caption (UTF-8) and
// the columns a click sorts by, primary key last.
struct PersonHeading {
    const char* objectName;
    const char* caption;
    const char* hint;
    int above;                 // the visible column it stands above
    std::vector<int> columns;
    bool numeric;
    bool ascendingFirst;  // the direction of a first click
};
// Every heading in the order of the columns; the year and total captions as the kind gives them.
std::vector<PersonHeading> personHeadings(const PersonKind& kind, bool lastYear);

// The hidden sort state: the object name of the heading last sorted by (the
// previous one while a click is handled) and the direction "asc" or "dsc".
// An empty field stands for the first opening.
struct PersonSort {
    std::string field, previous, direction;
};
// A click on the heading of that object name: flips the direction on the same
// heading, else takes the heading's first direction. False for an unknown name.
bool clickHeading(const PersonKind& kind, PersonSort& sort, std::string_view objectName);
// Sorts rows by the state; on the first opening by wins descending and records the year heading.
void applySort(const PersonKind& kind, PersonSort& sort, std::vector<ViewRow>& rows);

struct PersonList {
    std::vector<ViewRow> rows;
    std::string caption;  // CP932, with the newest creation date of the kept rows
};
// Reads every record of the family folder, one step of progress per file.
// currentYear is the calendar year of the computer's clock.
PersonList loadPersonList(const PersonKind& kind, const StorePaths& paths, const PersonListFilter& filter,
                          int currentYear, const std::function<void(int done, int files)>& progress = {});
// One list row from a record (filters not applied).
ViewRow personListRow(const PersonKind& kind, std::string_view line, bool lastYear, int currentYear);

// The list screen after "再表示": caption, headings (bold one not marked),
// count, sort state, the grid (row 0 the headings) and the filter states.
ScreenView personListScreen(const PersonKind& kind, const PersonList& list, const PersonSort& sort, bool lastYear);
// The count label's text ("12件").
std::string countText(std::size_t rows);

// ---- The data screen ----

// The record of the person: by code when it is a positive number, else by short name; "" when none.
std::string findPerson(const PersonKind& kind, const StorePaths& paths, std::string_view code, std::string_view name);

// The three count blocks (career, this year, last year) and the condition table's rows.
enum class PersonBlock { Career, ThisYear, LastYear };

struct PersonData {
    std::string line;  // the record, "" when not found
    ScreenView view;   // caption, labels, the condition items and table of the first condition
    std::vector<ScreenView::Label> hints;  // label object name, hint text (CP932)
};
// The data screen of the person opened with code and name.
PersonData personData(const PersonKind& kind, const StorePaths& paths, std::string_view code, std::string_view name);

// The condition table (header row and 16 rows) of a block of the record; only the header for no record.
std::vector<std::vector<std::string>> conditionTable(const PersonKind& kind, std::string_view line, PersonBlock block);
inline constexpr const char* kConditionGrid = "stgChaList";
inline constexpr const char* kConditionChoice = "cboCond";

}  // namespace tarvo
