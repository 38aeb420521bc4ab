// The race card's media and the main window's links outward, without any
// window: the silks pictures of the strip and their fetch through the data
// service, the past-run video item's caption, the support site's addresses
// and the local track variant file's check and messages. Texts are CP932.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "JVDTLabLib_TLB.h"
#include "race_key.h"
#include "store_paths.h"

namespace tarvo {

// The shared picture of runners without silks: FK/no_image.bmp under the store root.
std::string noImagePath(const StorePaths& paths);
// The picture a strip cell shows for an owner: the owner's silks file when it
// exists, else the shared picture when it exists, else "".
std::string silksPicture(const StorePaths& paths, std::string_view ownerCode);

// "一括取得": for each owner code above 0 as a number, the owner's silks
// description (BN Fukusyoku, trimmed) drawn by the data service into the
// owner's file. A description it could not draw (-1) leaves the placeholder it
// wrote as the shared picture when there is none yet and no file of the
// owner's. after() runs after each runner.
void fetchAllSilks(const StorePaths& paths, JVDTLabLib_TLB::IJVLink& jvlink, const std::vector<std::string>& ownerCodes,
                   const std::function<void()>& after = {});

// The past-run popup item's caption: "レース動画を再生 [YYYYMMDD.場名NNR.title] (&R)",
// the title being the race's short name or, without one, its short class name.
std::string pastRunVideoCaption(const StorePaths& paths, const RaceKey& race);

// The support site: its top page and the address of babadif.csv, from the
// settings section SUPPORT_SITE (keys top and babadif) when present.
inline constexpr const char* kSupportSection = "SUPPORT_SITE";
std::string supportSiteUrl(const std::string& settingsPath);
std::string babadifUrl(const std::string& settingsPath);

// True when body is a local track variant file: track data records (a date,
// a track code and the two runs of slots), one a line, at least one.
bool isBabadifBody(std::string_view body);

// The messages of the download.
std::string babadifDownloadedText(const std::string& path);
std::string babadifFailedText();

}  // namespace tarvo
