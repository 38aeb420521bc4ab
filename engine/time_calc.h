// Time arithmetic of the engine. Times are whole tenths of a second; every
// rounding is half away from zero.
#pragma once

#include <optional>
#include <string_view>

namespace tarvo {

class StorePaths;

// trunc(x + 0.5) for x >= 0, trunc(x - 0.5) below; clamped to the int range, 0 for NaN.
int roundHalfAway(long double x);

// A stored time (Time field: minutes, two digits of seconds, tenths; "1099" is
// 1:09.9) in tenths. A text of three characters or fewer gets one "0" in front.
// A part that is not a number counts as -100, so a malformed time gives a wrong
// but finite figure ("" gives -100, "----" -60100); callers test for <= 0.
int storedTimeToTenths(std::string_view time);

// The average time per 600 m of the part of the race before the last 600 m:
// (time - last 3F) / (hundreds of metres - 6) * span, the quotient held in single
// precision. The hundreds are bytes 3 and 4 of the course key (16 for "芝1600").
// A course key whose hundreds are 6 has no such part and gives 0.
int frontPace(std::string_view time, std::string_view courseKey, std::string_view last3F, int span = 6);

// The place field that picks a race's first three.
enum class PlaceOrder {
    Confirmed,  // KakuteiJyuni, the official finishing position
    Arrival,    // NyusenJyuni, the order past the post
};

// The reference time of a race: the mean time in tenths of the first three
// lines of the race's SE file, in file order, whose place is 1, 2 or 3 (of two
// runners placed third the one stored first counts). 0 for a missing file, a
// race not found, a race without placed runners, or a sum not above 0.
int referenceTime(const StorePaths& paths, std::string_view year, std::string_view monthDay, std::string_view jyoCD,
                  std::string_view raceNum, PlaceOrder order);

// Whole days from d1 to d2 (d2 - d1), both YYYYMMDD; nullopt when either is not
// a valid calendar date.
std::optional<int> daysBetween(std::string_view d1, std::string_view d2);

}  // namespace tarvo
