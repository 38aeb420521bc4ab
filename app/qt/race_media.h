// The race card's media and the main window's links outward: the silks strip
// of the tab "服色" with "一括取得", the race video button, option and the
// past-run video popup of the card grid, the download of babadif.csv, the help
// file and the support site.
#pragma once

#include <string>

class QTableView;

namespace tarvo {

class TfrmMain;
struct RaceCard;
struct RaceKey;

class RaceMedia;

// Installs the media on a started window; cardGrid is the race card grid
// (stgUmaList) whose past-run cells get the video popup. Lives as long as the window.
RaceMedia* installRaceMedia(TfrmMain& window, QTableView* cardGrid);

// After each race card build: the strip's columns and the video button.
void raceCardShown(RaceMedia& media, const RaceCard& card, const RaceKey& race);

}  // namespace tarvo
