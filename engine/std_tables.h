// The built-in standard time tables A to E and the distance coefficient.
//
// Table A: full-race standard times as stored times (1099 = 1:09.9).
// Table B: blended standard times, (finishing time + last-3F time) / 2, in tenths.
// Table C: as A, the figures the track variant of a race is measured against.
// Table D: as B, for the last-3F variant of a race.
// Table E: standard last-3F times in tenths, for the pace forecast.
// Each table has 34 rows (17 turf, 17 dirt, ascending distance) of a course
// key and eleven cells: the central tracks 01 to 10 and one for every other
// track. An empty cell means the track has no standard for that course.
#pragma once

#include <optional>
#include <string_view>

namespace tarvo {

// Builds the tables; later calls do nothing. Start-up calls it once, and every
// lookup calls it as well, so a lookup never sees unbuilt tables.
void buildStandardTimeTables();

// The cell of table 'A' to 'E' for a course key (CP932, e.g. "芝1600") and a
// track code, or nullopt when the course has no row, the track no cell, or the
// cell is not a number above 0. Tracks 01 to 10 take their own cell; any other
// code takes the cell of the other tracks in tables B to D, has none in table
// E, and in table A takes it when above 10 and has none when not a positive
// number.
std::optional<int> standardLookup(char table, std::string_view courseKey, std::string_view jyoCD);

// The distance coefficient of a course key by surface and distance; 1.0 for
// a surface other than turf and dirt. A distance that is not a number counts
// as 0. Callers apply it only while the distidx setting is on.
float distanceCoefficient(std::string_view courseKey);

}  // namespace tarvo
