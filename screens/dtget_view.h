// The registration screen (TfrmDataGet) without any window: its status label
// groups and what a status label shows. The run itself (RegistrationRun) tells
// the screen what changes; this is what the screen derives from it.
#pragma once

#include <array>
#include <string>

#include "registration.h"
#include "view_cells.h"

namespace tarvo {

// One status label group: the four data specs in run order, then the track data.
struct StatusGroup {
    const char* title;  // UTF-8
    std::string sts, start, end, cnt;  // label object names; cnt "" for no count label
    std::string titleLabel;
};
const std::array<StatusGroup, kTrackDataGroup + 1>& statusGroups();

// A status label's text and colour for a status of the run.
ViewCell statusCell(const std::string& text, StatusColour colour);

// What every status label shows before any run: "登録前" in black.
ViewCell statusBeforeRun();

}  // namespace tarvo
