// The engine settings: the eight values of section COMP_IDX of the settings
// file, held in one process-wide record that every load replaces as a whole.
// Callers reload it immediately before they evaluate a race or compute
// indices, so a change written to the file takes effect at the next evaluation.
#pragma once

#include <string>
#include <string_view>

namespace tarvo {

struct EngineSettings {
    float weight = 1.0f;  // index points per kilogram carried above or below 55.0 kg
    bool distidx = true;  // multiply time differences by the distance coefficient
    bool dsthyo = true;   // run the horse's distance/course aptitude check (central races)
    bool kshadd = false;  // run the jockey's aptitude check (central races)
    bool bbdcmp = false;  // compute past central track variants from the stored results
    bool oddadd = false;  // fold the day's win odds into the prediction (central races)
    bool taiadd = false;  // fold the day's body weight into the prediction (central races)
    bool bcdadd = false;  // dirt heavy-going correction of the prediction (central races)
};

// The section and its keys.
inline constexpr const char* kEngineSection = "COMP_IDX";

// weight: the text as a single-precision number; a text that is not a number,
// and any value below 0, gives 1.0; 0 and positive values stand.
float parseWeightSetting(std::string_view text);
// distidx, dsthyo: only exactly "0" turns them off.
bool parseOnUnlessZero(std::string_view text);
// kshadd, bbdcmp, oddadd, taiadd, bcdadd: only exactly "1" turns them on.
bool parseOffUnlessOne(std::string_view text);

// The process-wide record. Callers may change it in memory (a caller that
// evaluates a local race switches the odds off until the next load).
EngineSettings& engineSettings();

// Reads the eight keys from the settings file at settingsPath (the program
// folder's tarvo.ini; a missing file or key reads as empty text), replaces the
// process-wide record and returns it.
EngineSettings& loadEngineSettings(const std::string& settingsPath);

// Re-reads distidx alone by the same rule (the track data builders do this
// before they start), sets it in the process-wide record and returns it.
bool reloadDistanceCoefficientSetting(const std::string& settingsPath);

}  // namespace tarvo
