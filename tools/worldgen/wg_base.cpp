#include "wg_base.h"

namespace tarvo::worldgen {
namespace {

struct Civil {
    int y, m, d;
};

Civil civil(int z) {
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (m <= 2), m, d};
}

}  // namespace

Day Day::of(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return Day{era * 146097 + doe - 719468};
}

bool Day::parse(std::string_view s, Day& out) {
    if (s.size() != 8) return false;
    int v[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    std::size_t pos = 0;
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < widths[k]; ++i, ++pos) {
            if (s[pos] < '0' || s[pos] > '9') return false;
            v[k] = v[k] * 10 + (s[pos] - '0');
        }
    if (v[0] < 1900 || v[1] < 1 || v[1] > 12 || v[2] < 1) return false;
    const Day d = of(v[0], v[1], v[2]);
    if (d.month() != v[1]) return false;  // 31 April and the like
    out = d;
    return true;
}

int Day::year() const { return civil(n).y; }
int Day::month() const { return civil(n).m; }
int Day::dayOfMonth() const { return civil(n).d; }
std::string Day::mmdd() const { return zpad(month() * 100 + dayOfMonth(), 4); }

std::string zpad(long long v, int w) {
    std::string s = std::to_string(v < 0 ? -v : v);
    if (static_cast<int>(s.size()) < w) s.insert(0, static_cast<std::size_t>(w) - s.size(), '0');
    return s;
}

}  // namespace tarvo::worldgen
