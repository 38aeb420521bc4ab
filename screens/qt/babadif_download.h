// Downloading the local track variant file babadif.csv from the support site
// with Qt Network. The body goes to a temporary file beside the target and
// replaces it only when the download succeeded and the body is a babadif.csv,
// so that a failure never damages the file in place.
#pragma once

#include <string>

namespace tarvo {

struct DownloadOutcome {
    bool ok = false;
    std::string message;  // CP932: the success or the failure message
};

// Downloads url to fileFolder + "babadif.csv", creating the folder first.
// Needs a QCoreApplication; runs its own event loop until the download ends
// or timeoutMs passes.
DownloadOutcome downloadBabadif(const std::string& url, const std::string& fileFolder, int timeoutMs = 30000);

}  // namespace tarvo
