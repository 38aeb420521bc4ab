// The in-place rewrites of stored RA and SE lines: every case compares the
// whole file byte for byte with the file before, patched at the positions the
// change names (1-based, as the stored layouts give them).
#include <gtest/gtest.h>

#include <functional>

#include "fsys.h"
#include "layouts.h"
#include "live_rewrite.h"
#include "test_support.h"

namespace tarvo {
namespace {

using test::slurp;
using test::spit;

const RaceKey kRace("2024", "0106", "06", "05");
const RaceKey kOther("2024", "0106", "06", "06");

// A stored line whose free bytes are letters, so that a byte written by mistake shows.
std::string lineOf(Family f, const RaceKey& r, const std::string& kubun, const std::vector<std::pair<const char*, std::string>>& fields) {
    std::string base(layoutOf(f).lineLength - 2, ' ');
    for (std::size_t i = 0; i < base.size(); ++i) base[i] = static_cast<char>('a' + i % 26);
    LineBuilder b(f, base);
    b.assign("DataKubun", kubun);
    b.assign("Year", r.year);
    b.assign("MonthDay", r.monthDay);
    b.assign("JyoCD", r.jyoCD);
    b.assign("Kaiji", "01");
    b.assign("Nichiji", "02");
    b.assign("RaceNum", r.raceNum);
    for (const auto& [name, value] : fields) b.assignRaw(name, value);
    return b.line();
}

std::string se(const RaceKey& r, const std::string& kubun, const std::string& umaban, const std::string& bamei) {
    return lineOf(Family::SE, r, kubun, {{"Umaban", umaban}, {"Bamei", sj(bamei)}});
}
std::string ra(const RaceKey& r, const std::string& kubun, const std::string& hasso = "1500", const std::string& track = "10") {
    return lineOf(Family::RA, r, kubun, {{"HassoTime", hasso}, {"TrackCD", track}});
}

// Bytes replaced in line k of a file: (line, 1-based position in the line, text).
struct Patch {
    std::size_t line;
    std::size_t pos;
    std::string text;
};

std::string patched(const std::vector<std::string>& lines, const std::vector<Patch>& patches) {
    std::vector<std::string> out = lines;
    for (const Patch& p : patches) out[p.line].replace(p.pos - 1, p.text.size(), p.text);
    std::string all;
    for (const std::string& l : out) all += l;
    return all;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l;
    return all;
}

class LiveRewrite : public ::testing::Test {
protected:
    std::string seFile() const { return paths.se(kRace.year, kRace.monthDay, kRace.jyoCD); }
    std::string raFile() const { return paths.ra(kRace.year, kRace.monthDay, kRace.jyoCD); }
    test::TempDir dir;
    StorePaths paths{dir.path()};
};

TEST_F(LiveRewrite, RunnerChangesRewriteOnlyTheirFieldsOfTheMatchingLine) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::function<int(const StorePaths&)> change;
        std::vector<Patch> patches;
    };
    const std::string bad = std::string(100, 'x') + "\r\n";  // no SE line: never read as one, never written
    const Case cases[] = {
        {"win odds by number",
         {se(kRace, "2", "01", "アルファ"), se(kRace, "2", "03", "ガンマ")},
         [](const StorePaths& p) { return rewriteWinOdds(p, kRace, "03", "0123", "2"); },
         {{1, 231, "0123"}, {1, 235, "2 "}}},
        {"win odds of another race's number are not taken",
         {se(kOther, "2", "03", "ガンマ"), se(kRace, "2", "03", "ガンマ")},
         [](const StorePaths& p) { return rewriteWinOdds(p, kRace, "03", "0456", "11"); },
         {{1, 231, "0456"}, {1, 235, "11"}}},
        {"body weight by number: first match only",
         {se(kRace, "2", "03", "ガンマ"), se(kRace, "2", "03", "ガンマ")},
         [](const StorePaths& p) { return rewriteBodyWeight(p, {kRace, "03", ""}, "486", "+", "004"); },
         {{0, 202, "486+004"}}},
        {"body weight before the draw finds the runner by name, whatever its number now",
         {se(kRace, "2", "01", "アルファ"), se(kRace, "2", "07", "ガンマ")},
         [](const StorePaths& p) { return rewriteBodyWeight(p, {kRace, "00", sj("ガンマ　　")}, "502", "-", "010"); },
         {{1, 202, "502-010"}}},
        {"a line of the wrong length is skipped",
         {bad, se(kRace, "2", "03", "ガンマ")},
         [](const StorePaths& p) { return rewriteBodyWeight(p, {kRace, "03", ""}, "470", " ", "000"); },
         {{1, 202, "470 000"}}},
        {"scratching: the first match in entry state",
         {se(kRace, "7", "03", "ガンマ"), se(kRace, "2", "03", "ガンマ")},
         [](const StorePaths& p) { return rewriteScratch(p, {kRace, "03", ""}, "2"); },
         {{1, 209, "2"}}},
        {"jockey change keeps the blinker and cuts the names at a whole character",
         {lineOf(Family::SE, kRace, "1", {{"Umaban", "03"}, {"Blinker", "B"}})},
         [](const StorePaths& p) {
             return rewriteJockey(p, {kRace, "03", ""},
                                  {"570", "550", "01234", "05678", sj("ﾃｽﾄ武豊太郎"), sj("　北村宏司"), "1", "0"});
         },
         {{0, 167, "570550B"}, {0, 174, "0123405678"}, {0, 184, sj("ﾃｽﾄ武豊 ") + sj("北村宏") + "  "}, {0, 200, "10"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        spit(seFile(), joined(c.lines));
        EXPECT_EQ(c.change(paths), 1);
        EXPECT_EQ(slurp(seFile()), patched(c.lines, c.patches));
    }
}

TEST_F(LiveRewrite, NothingIsWrittenWithoutAMatch) {
    const std::vector<std::string> lines = {se(kRace, "7", "03", "ガンマ"), se(kOther, "2", "05", "デルタ")};
    spit(seFile(), joined(lines));
    spit(raFile(), ra(kRace, "7"));
    EXPECT_EQ(rewriteWinOdds(paths, kRace, "05", "0100", "1"), 0);
    EXPECT_EQ(rewriteBodyWeight(paths, {kRace, "00", sj("デルタ")}, "480", "+", "002"), 0);
    EXPECT_EQ(rewriteScratch(paths, {kRace, "03", ""}, "1"), 0);  // results, not entries
    EXPECT_EQ(rewriteStartTime(paths, kRace, "1510", "1500"), 0);
    EXPECT_EQ(rewriteCourse(paths, RaceKey("2024", "0106", "06", "09"), "1800", "2000", "24", "11"), 0);
    EXPECT_EQ(slurp(seFile()), joined(lines));
    EXPECT_EQ(slurp(raFile()), ra(kRace, "7"));
    EXPECT_EQ(rewriteScratch(paths, {RaceKey("2024", "0107", "06", "05"), "03", ""}, "1"), 0);  // no file at all
    EXPECT_FALSE(fileExists(paths.se("2024", "0107", "06")));
}

TEST_F(LiveRewrite, StartTimeAndCourseChanges) {
    const std::vector<std::string> raLines = {ra(kRace, "7"), ra(kRace, "2"), ra(kRace, "2")};
    spit(raFile(), joined(raLines));
    EXPECT_EQ(rewriteStartTime(paths, kRace, "1510", "1500"), 1);
    EXPECT_EQ(slurp(raFile()), patched(raLines, {{1, 348, "15101500"}}));

    spit(raFile(), joined(raLines));
    const std::vector<std::string> seLines = {se(kRace, "2", "01", "アルファ"), se(kRace, "1", "00", "ベータ"),
                                              se(kRace, "7", "02", "ガンマ"), se(kOther, "2", "01", "デルタ"),
                                              se(kRace, "2", "03", "イプシロン")};
    EXPECT_EQ(rewriteCourse(paths, kRace, "1800", "2000", "24", "11"), 1);
    spit(seFile(), joined(seLines));
    EXPECT_EQ(rewriteCourse(paths, kRace, "1800", "2000", "24", "11"), 3);
    // RA: Kyori, KyoriBefore, TrackCD, TrackCDBefore; SE: TrackCD then Kyori, in the race's first contiguous lines only.
    EXPECT_EQ(slurp(raFile()), patched(raLines, {{1, 332, "180020002411"}}));
    EXPECT_EQ(slurp(seFile()), patched(seLines, {{0, 249, "241800"}, {1, 249, "241800"}}));
}

TEST(LiveGoing, RuleTable) {
    struct Case {
        const char* trackCD;
        const char* siba;
        const char* dirt;
        const char* wantSiba;
        const char* wantDirt;
    };
    // "" keeps the stored code.
    const Case cases[] = {
        {"17", "2", "3", "2", ""}, {"24", "2", "3", "", "3"}, {"52", "2", "3", "2", "3"}, {"51", "2", "3", "2", ""},
        {"59", "2", "3", "2", ""}, {"00", "2", "3", "", ""},  {"17", "2", "0", "2", ""},  {"24", "2", "0", "", ""},
        {"52", "2", "0", "", ""},  {"54", "2", "0", "2", ""}, {"17", "0", "3", "", ""},   {"23", "0", "3", "", "3"},
        {"52", "0", "3", "", ""},  {"53", "0", "3", "", ""},  {"22", "0", "0", "", ""},   {"29", " ", " ", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.trackCD) + " " + c.siba + " " + c.dirt);
        const GoingUpdate g = goingFor(c.trackCD, c.siba, c.dirt);
        EXPECT_EQ(g.siba, c.wantSiba);
        EXPECT_EQ(g.dirt, c.wantDirt);
    }
}

TEST_F(LiveRewrite, WeatherReachesTheDayAndTracksRacesFromTheAnnouncementOn) {
    const RaceKey other("2024", "0106", "06", "07");
    const std::vector<std::string> lines = {
        lineOf(Family::RA, kRace, "2", {{"HassoTime", "1225"}, {"TrackCD", "17"}, {"TenkoCD", "1"}, {"SibaBabaCD", "1"}, {"DirtBabaCD", "1"}}),
        lineOf(Family::RA, kOther, "2", {{"HassoTime", "1230"}, {"TrackCD", "17"}, {"TenkoCD", "1"}, {"SibaBabaCD", "1"}, {"DirtBabaCD", "1"}}),
        lineOf(Family::RA, other, "2", {{"HassoTime", "1540"}, {"TrackCD", "52"}, {"TenkoCD", "1"}, {"SibaBabaCD", "1"}, {"DirtBabaCD", "1"}}),
        lineOf(Family::RA, RaceKey("2024", "0106", "06", "08"), "1", {{"HassoTime", "1610"}, {"TrackCD", "17"}, {"TenkoCD", "1"}, {"SibaBabaCD", "1"}, {"DirtBabaCD", "1"}}),
        lineOf(Family::RA, RaceKey("2024", "0107", "06", "01"), "2", {{"HassoTime", "1000"}, {"TrackCD", "17"}, {"TenkoCD", "1"}, {"SibaBabaCD", "1"}, {"DirtBabaCD", "1"}}),
    };
    spit(raFile(), joined(lines));
    // Turf only, weather "0": the turf race from 12:30 on, the steeplechase on track 52 not.
    EXPECT_EQ(rewriteWeather(paths, {"2024", "0106", "06", 1230, "0", "3", "0"}), 2);
    EXPECT_EQ(slurp(raFile()), patched(lines, {{1, 362, "13"}}));
    EXPECT_EQ(rewriteWeather(paths, {"2024", "0106", "06", 1230, "2", "3", "4"}), 2);
    EXPECT_EQ(slurp(raFile()), patched(lines, {{1, 362, "23"}, {2, 362, "234"}}));
}

TEST(LiveCut, JockeyNamesAtAWholeCharacter) {
    EXPECT_EQ(cutToWholeChars(sj("武豊太郎"), 8), sj("武豊太郎"));
    EXPECT_EQ(cutToWholeChars(sj("ﾃｽﾄ武豊太"), 8), sj("ﾃｽﾄ武豊"));
    EXPECT_EQ(cutToWholeChars(sj("ルメール　　　　"), 8), sj("ルメール"));
    EXPECT_EQ(cutToWholeChars("", 8), "");
}

}  // namespace
}  // namespace tarvo
