// The desktop side of the data-service emulator: its settings dialog (shown by
// JVSetUIProperties) and the opening of video files with the desktop's
// default handler.
#pragma once

#include <string>

class QWidget;

namespace tarvo {

struct JVLinkUiSettings;

// Shows the settings dialog over parent; true when the user accepted the edits.
bool editJVLinkSettings(QWidget* parent, JVLinkUiSettings& settings);

// Installs the dialog and the desktop opener into the emulator.
void installJVLinkDesktop(QWidget* parent);

}  // namespace tarvo
