#include "textfn.h"

#include <chrono>

#include <cstdio>
#include <ctime>
#include <limits>

#include "cp932.h"
#include "widthmap.h"

namespace tarvo {
namespace {

constexpr std::string_view kFullSpace = "\x81\x40";

}  // namespace

std::string trimBoth(std::string_view s) {
    // Walk by characters so that a trail byte is never taken for a blank.
    std::size_t begin = 0;
    while (begin < s.size()) {
        if (s[begin] == ' ') {
            ++begin;
        } else if (s.substr(begin, 2) == kFullSpace) {
            begin += 2;
        } else {
            break;
        }
    }
    std::size_t end = begin;  // one past the last non-blank character
    for (std::size_t pos = begin; pos < s.size();) {
        const std::size_t n = charLen(s, pos);
        const std::string_view c = s.substr(pos, n);
        pos += n;
        if (c != " " && c != kFullSpace) end = pos;
    }
    return std::string(s.substr(begin, end - begin));
}

std::string padRight(std::string_view s, std::size_t width) {
    std::string t = trimBoth(s);
    if (t.size() < width) t.append(width - t.size(), ' ');
    return t;
}

std::string padLeft(std::string_view s, std::size_t width) {
    std::string t = trimBoth(s);
    if (t.size() < width) t.insert(0, width - t.size(), ' ');
    return t;
}

std::string replaceAll(std::string_view s, std::string_view pattern, std::string_view replacement) {
    if (pattern.empty()) return std::string(s);
    std::string out;
    for (std::size_t pos = 0; pos < s.size();) {
        if (s.substr(pos, pattern.size()) == pattern) {
            out += replacement;
            pos += pattern.size();
        } else {
            const std::size_t n = charLen(s, pos);
            out += s.substr(pos, n);
            pos += n;
        }
    }
    return out;
}

bool containsText(std::string_view s, std::string_view pattern) {
    for (std::size_t pos = 0; pos + pattern.size() <= s.size(); pos += charLen(s, pos))
        if (s.substr(pos, pattern.size()) == pattern) return true;
    return false;
}

std::string toHalfWidth(std::string_view s) { return mapToHalfWidth(s); }
std::string toFullWidth(std::string_view s) { return mapToFullWidth(s); }

std::string circledNumber(std::string_view s) {
    const std::string t = trimBoth(toHalfWidth(s));
    if (t.size() == 2 && t[0] >= '0' && t[0] <= '2' && t[1] >= '0' && t[1] <= '9') {
        const int n = (t[0] - '0') * 10 + (t[1] - '0');
        if (n >= 1 && n <= 20) return std::string{'\x87', static_cast<char>(0x40 + n - 1)};
    }
    return "**";
}

std::string dateTimeText(const DateTime& t, std::string_view sep) {
    char date[3][8];
    std::snprintf(date[0], sizeof date[0], "%04d", t.year);
    std::snprintf(date[1], sizeof date[1], "%02d", t.month);
    std::snprintf(date[2], sizeof date[2], "%02d", t.day);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    std::string out(date[0]);
    out += sep;
    out += date[1];
    out += sep;
    out += date[2];
    out += ' ';
    out += time;
    return out;
}

DateTime nowLocal() {
    const std::time_t now = std::time(nullptr);
    std::tm tm {};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string_view part(std::string_view s, std::size_t from, std::size_t count) {
    return from < s.size() ? s.substr(from, count) : std::string_view();
}

std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

bool parseInt(std::string_view s, long long& out) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    bool neg = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        neg = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 18) return false;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = neg ? -v : v;
    return true;
}

int toIntDef(std::string_view s, int def) {
    long long v = 0;
    if (!parseInt(s, v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return def;
    return static_cast<int>(v);
}

bool isCalendarDate(std::string_view s) {
    if (s.size() != 8 || s.find_first_not_of("0123456789") != std::string_view::npos) return false;
    const auto number = [&](std::size_t at, std::size_t len) {
        unsigned v = 0;
        for (const char c : s.substr(at, len)) v = v * 10 + static_cast<unsigned>(c - '0');
        return v;
    };
    const std::chrono::year_month_day day{std::chrono::year(static_cast<int>(number(0, 4))),
                                          std::chrono::month(number(4, 2)), std::chrono::day(number(6, 2))};
    return number(0, 4) >= 1 && day.ok();
}

}  // namespace tarvo
