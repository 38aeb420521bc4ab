#include "time_calc.h"

#include <chrono>
#include <cmath>
#include <limits>

#include "layouts.h"
#include "record_io.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo {

int roundHalfAway(long double x) {
    if (std::isnan(x)) return 0;
    const long double r = std::trunc(x >= 0 ? x + 0.5L : x - 0.5L);
    if (r >= static_cast<long double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (r <= static_cast<long double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

int storedTimeToTenths(std::string_view time) {
    std::string padded;
    if (time.size() <= 3) {
        padded = "0";
        padded += time;
        time = padded;
    }
    const int minutes = toIntDef(time.substr(0, 1), -100);
    const int rest = toIntDef(time.substr(1, 3), -100);
    return rest + minutes * 600;
}

int frontPace(std::string_view time, std::string_view courseKey, std::string_view last3F, int span) {
    const int t = storedTimeToTenths(time);
    const int l = toIntDef(last3F, 0);
    const int h = toIntDef(courseKey.substr(std::min<std::size_t>(2, courseKey.size()), 2), 0);
    if (h == 6) return 0;
    const float perPart = static_cast<float>(static_cast<long double>(t - l) / (h - 6));
    return roundHalfAway(static_cast<long double>(perPart) * span);
}

int referenceTime(const StorePaths& paths, std::string_view year, std::string_view monthDay, std::string_view jyoCD,
                  std::string_view raceNum, PlaceOrder order) {
    const std::string_view placeField = order == PlaceOrder::Confirmed ? "KakuteiJyuni" : "NyusenJyuni";
    long long sum = 0;
    int count = 0;
    forEachLine(paths.se(year, monthDay, jyoCD), [&](std::string_view line) {
        if (getField(Family::SE, line, "Year") != year || getField(Family::SE, line, "MonthDay") != monthDay ||
            getField(Family::SE, line, "JyoCD") != jyoCD || getField(Family::SE, line, "RaceNum") != raceNum)
            return true;
        const int place = toIntDef(getField(Family::SE, line, placeField), 0);
        if (place < 1 || place > 3) return true;
        sum += storedTimeToTenths(getField(Family::SE, line, "Time"));
        return ++count < 3;
    });
    if (count <= 0 || sum <= 0) return 0;
    return roundHalfAway(static_cast<long double>(sum) / count);
}

namespace {

std::optional<std::chrono::sys_days> calendarDate(std::string_view d) {
    if (d.size() != 8) return std::nullopt;
    for (char c : d)
        if (c < '0' || c > '9') return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year{toIntDef(d.substr(0, 4), 0)},
                                          std::chrono::month{static_cast<unsigned>(toIntDef(d.substr(4, 2), 0))},
                                          std::chrono::day{static_cast<unsigned>(toIntDef(d.substr(6, 2), 0))}};
    if (!ymd.ok() || ymd.year() < std::chrono::year{1}) return std::nullopt;
    return std::chrono::sys_days{ymd};
}

}  // namespace

std::optional<int> daysBetween(std::string_view d1, std::string_view d2) {
    const auto a = calendarDate(d1), b = calendarDate(d2);
    if (!a || !b) return std::nullopt;
    return static_cast<int>((*b - *a).count());
}

}  // namespace tarvo
