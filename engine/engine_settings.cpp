#include "engine_settings.h"

#include <charconv>
#include <cmath>

#include "inifile.h"

namespace tarvo {

namespace {

// A decimal floating-point number: optional sign, digits with an optional
// point, an optional exponent, and nothing else. Words such as "inf" or "nan"
// are not numbers here.
bool isDecimalNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

float parseWeightSetting(std::string_view text) {
    std::string_view s = trimBlanks(text);
    float value = -1.0f;
    if (isDecimalNumber(s)) {
        if (s.front() == '+') s.remove_prefix(1);  // from_chars takes no plus sign
        float parsed = 0.0f;
        const auto res = std::from_chars(s.data(), s.data() + s.size(), parsed);
        // A value too large for single precision does not convert.
        if (res.ec == std::errc() && res.ptr == s.data() + s.size() && std::isfinite(parsed)) value = parsed;
    }
    return value < 0.0f ? 1.0f : value;
}

bool parseOnUnlessZero(std::string_view text) { return text != "0"; }

bool parseOffUnlessOne(std::string_view text) { return text == "1"; }

EngineSettings& engineSettings() {
    static EngineSettings current;
    return current;
}

EngineSettings& loadEngineSettings(const std::string& settingsPath) {
    const IniFile ini(settingsPath);
    EngineSettings s;
    s.weight = parseWeightSetting(ini.read(kEngineSection, "weight"));
    s.distidx = parseOnUnlessZero(ini.read(kEngineSection, "distidx"));
    s.dsthyo = parseOnUnlessZero(ini.read(kEngineSection, "dsthyo"));
    s.kshadd = parseOffUnlessOne(ini.read(kEngineSection, "kshadd"));
    s.bbdcmp = parseOffUnlessOne(ini.read(kEngineSection, "bbdcmp"));
    s.oddadd = parseOffUnlessOne(ini.read(kEngineSection, "oddadd"));
    s.taiadd = parseOffUnlessOne(ini.read(kEngineSection, "taiadd"));
    s.bcdadd = parseOffUnlessOne(ini.read(kEngineSection, "bcdadd"));
    return engineSettings() = s;
}

bool reloadDistanceCoefficientSetting(const std::string& settingsPath) {
    return engineSettings().distidx = parseOnUnlessZero(IniFile(settingsPath).read(kEngineSection, "distidx"));
}

}  // namespace tarvo
