// The user's own marks (the input screen TfrmUserYoso) and the race card's
// CSV export, without any window. Texts are CP932.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "card_view.h"

namespace tarvo {

// The marks of the radio buttons rbtn01 to rbtn07; rbtn08 is no mark.
inline constexpr std::size_t kUserMarkButtons = 8;
const std::array<std::string, kUserMarkButtons>& userMarkTexts();  // the last one empty

// The input screen opened on a runner of the card (0-based row).
struct UserMarkChoice {
    std::array<bool, kUserMarkButtons> enabled{};  // ◎ ○ ▲ are off while another runner holds them
    std::size_t selected = kUserMarkButtons - 1;   // the button of the runner's current mark
};
UserMarkChoice userMarkChoice(const std::vector<ViewRow>& rows, std::size_t row);

// Rewrites the runner's SE line in place with UserYoso set to the mark padded
// to two bytes: the line of the race whose Umaban and trimmed Bamei are those
// given. False, and nothing written, when no line matches or the race number
// is not above 0.
bool storeUserMark(const StorePaths& p, const RaceKey& race, std::string_view umaban, std::string_view bamei,
                   std::string_view mark);

// The CSV file of the built card (the main window's runner table): a header
// line and one line per runner, CR LF line ends.
std::string cardCsv(const RaceCard& card);

}  // namespace tarvo
