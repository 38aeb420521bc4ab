// Code tables: the names of the JV-Data codes that stored records carry, and the
// few reverse translations the screens need. Every function is pure; arguments and
// results are CP932 texts. Comparisons are exact and case-sensitive on the text as
// passed (callers trim when they need to). A code missing from a table gives that
// table's fallback, the empty text unless the comment says otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvo {

// A cell colour as 0xRRGGBB.
using Rgb = std::uint32_t;

// Frame colour of a `Wakuban` "1" to "8"; white for anything else.
Rgb frameColour(std::string_view wakuban);
// Colour of a two-digit finishing position: "01" yellow, "02" sky blue, "03" tomato; white otherwise.
Rgb placingColour(std::string_view position);
// Colour of a figure read as an integer (0 when not a number): 90 to 99 sky blue, above 99 yellow, white otherwise.
Rgb valueColour(std::string_view number);

// Two-character track name of a `JyoCD`, and the `JyoCD` of such a name (one table read both ways).
std::string trackName(std::string_view jyoCD);
std::string trackCode(std::string_view name);

// Class names from the race kind `SyubetuCD`, the condition `JyokenCD5` and the race date
// (eight digits, year month day); conditions below 20190601 are named by prize money.
// Long: kind + " " + condition (サラ系３歳 未勝利); short: kind + condition (３歳上１勝クラス);
// shortest: kind + condition (３上１勝級).
std::string classNameLong(std::string_view syubetuCD, std::string_view jyokenCD5, std::string_view date);
std::string classNameShort(std::string_view syubetuCD, std::string_view jyokenCD5, std::string_view date);
std::string classNameShortest(std::string_view syubetuCD, std::string_view jyokenCD5, std::string_view date);

// The class name the index engine keys its class tables by: engine kind (２歳, ３歳, 古馬, 障害)
// followed by the grade for open and local graded races, else the condition (古馬500).
std::string engineClassName(std::string_view syubetuCD, std::string_view jyokenCD5, std::string_view gradeCD);

// Grade text of a race (Ｇ１, J・G1, L, ...); Jpn1 for the local Jpn1 races known by name.
std::string gradeName(std::string_view jyokenCD5, std::string_view gradeCD, std::string_view raceName);

// Name of a weight rule `JyuryoCD` (ハンデ, 別定, 馬齢, 定量).
std::string weightRuleName(std::string_view jyuryoCD);

// Surface word + distance as passed + "m" (ダート1200m); "??" for a surface the `TrackCD` does not name.
std::string courseName(std::string_view trackCD, std::string_view kyori);
// Surface initial + distance as passed (芝1600): the key of the standard time and aptitude tables.
std::string courseKey(std::string_view trackCD, std::string_view kyori);

// The marks of a `KigoCD`: its first character's mark followed by its third's ((混)(指)).
std::string raceSymbol(std::string_view kigoCD);
// The sex restriction named by the second character of a `KigoCD` (牡, 牝, 牡・ｾﾝ, 牡・牝).
std::string sexRestriction(std::string_view kigoCD);

// Sex name of a `SexCD` (牡, 牝, ｾﾝ), and the code of a name (セ also gives "3").
std::string sexName(std::string_view sexCD);
std::string sexCode(std::string_view name);

// Going of a `SibaBabaCD` or `DirtBabaCD` (良, 稍, 重, 不); "**" for anything else.
std::string goingName(std::string_view babaCD);
// Weather of a `TenkoCD` (晴, 曇, 雨, 小雨, 雪, 小雪); "**" for anything else.
std::string weatherName(std::string_view tenkoCD);

// Coat colour of a `KeiroCD`, long (栗毛) and short (栗).
std::string coatNameLong(std::string_view keiroCD);
std::string coatNameShort(std::string_view keiroCD);

// Affiliation of a `TozaiCD` (美浦, 栗東, 地方, 海外).
std::string affiliationName(std::string_view tozaiCD);

// Weekday (月 to 日) of a date of eight digits, year month day, each part trimmed.
// Empty when the text is not a valid calendar date: the caller decides whether that
// ends its action.
std::string weekdayName(std::string_view date);
// "1" (月) to "7" (日) for a weekday name, "0" for anything else.
std::string weekdayNumber(std::string_view name);

}  // namespace tarvo
