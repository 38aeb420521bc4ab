// Openers of screens that are not built yet: each does nothing until its
// screen lands, which then moves the definition beside itself.
#include "screen_links.h"

namespace tarvo {

void openRaceResult(const ScreenContext&, const RaceKey&, const std::string&) {}
void openHorseData(const ScreenContext&, const HorseDataOpening&) {}
void openRaceDataEditor(const ScreenContext&, const RaceKey&, const std::string&, const std::string&) {}
void fetchRaceResults(const ScreenContext&, const RaceKey&) {}

}  // namespace tarvo
