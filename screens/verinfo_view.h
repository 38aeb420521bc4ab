// The version information screen TfrmVerInfo: the system's edition, the
// edition of its standard time tables and the data service's version.
#pragma once

#include <string>
#include <string_view>

#include "screen_view.h"

namespace tarvo {

// The four-digit version text in dotted form: characters 1-2, 3 and 4 as
// integers (a part that is not a number gives 0) joined by "." ("0490" 4.9.0).
std::string dottedVersion(std::string_view version);

ScreenView versionScreen(std::string_view jvlinkVersion);

}  // namespace tarvo
