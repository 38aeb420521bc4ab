// The settings file tarvo.ini: its name, the default file, and the keys the
// application core reads at start-up.
#pragma once

#include <string>

namespace tarvo {

inline constexpr const char* kSettingsFileName = "tarvo.ini";

// The 35-line default settings file, CP932 with CR LF line ends.
const std::string& defaultSettingsText();

// Writes the default settings file, replacing any file of that name.
void writeDefaultSettings(const std::string& path);

}  // namespace tarvo
