// The race card area of the main window: the grid stgUmaList, the header and
// figure labels, the bet grids of the tab "買目" with the PC/US buttons, the
// progress bar while a card builds, the user mark input TfrmUserYoso, the CSV
// export and the prediction option items. Installed on a started main window.
#pragma once

namespace tarvo {

class TfrmMain;

// Replaces the main window's placeholder grids, installs the race shower and
// the menu items the card serves. The card lives as long as the window.
void installRaceCard(TfrmMain& window);

}  // namespace tarvo
