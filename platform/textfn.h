// The small text functions every layer uses on CP932 bytes. Widths and
// positions count bytes (a full-width character takes two).
#pragma once

#include <string>
#include <string_view>

namespace tarvo {

// Without leading and trailing half-width spaces and full-width spaces (　).
std::string trimBoth(std::string_view s);
// The trimmed text followed by spaces up to width bytes; a longer text whole.
std::string padRight(std::string_view s, std::size_t width);
// Spaces up to width bytes followed by the trimmed text; a longer text whole.
std::string padLeft(std::string_view s, std::size_t width);
// Every occurrence of pattern replaced, scanning left to right, character-aligned.
std::string replaceAll(std::string_view s, std::string_view pattern, std::string_view replacement);
// True when pattern occurs in s starting at a character boundary.
bool containsText(std::string_view s, std::string_view pattern);
// Width mapping, at most 256 bytes.
std::string toHalfWidth(std::string_view s);
std::string toFullWidth(std::string_view s);
// "01" to "20" (after half-width mapping and trimming) as ① to ⑳, anything else "**".
std::string circledNumber(std::string_view s);

struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// "YYYY<sep>MM<sep>DD hh:mm:ss".
std::string dateTimeText(const DateTime& t, std::string_view sep);
// The current local date and time.
DateTime nowLocal();

// The part of s from byte from, at most count bytes; empty past the end.
std::string_view part(std::string_view s, std::size_t from, std::size_t count);
// n as at least two digits, zero-padded ("05", "12", "123").
std::string twoDigits(int n);

// Integer value of a text as the system reads numbers: optional blanks and sign,
// decimal digits only; false when the text is not a whole number.
bool parseInt(std::string_view s, long long& out);
// True when s is eight digits yyyymmdd naming a real calendar day (year 1 or later).
bool isCalendarDate(std::string_view s);
// parseInt with a default for texts that are not numbers.
int toIntDef(std::string_view s, int def);

}  // namespace tarvo
