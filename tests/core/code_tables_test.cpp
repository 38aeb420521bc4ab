#include <gtest/gtest.h>

#include <set>

#include "code_tables.h"
#include "cp932.h"
#include "test_support.h"

namespace tarvo {
namespace {

// Results are compared in UTF-8 so that failures read as text.
using Fn1 = std::string (*)(std::string_view);
using Fn3 = std::string (*)(std::string_view, std::string_view, std::string_view);

std::string u(const std::string& cp932) { return toUtf8(cp932); }

TEST(CodeTables, Colours) {
    struct Case {
        Rgb (*fn)(std::string_view);
        const char* arg;
        Rgb want;
    };
    const Case cases[] = {
        {frameColour, "1", 0xFFFFFF}, {frameColour, "2", 0x000000}, {frameColour, "3", 0xFF0000},
        {frameColour, "4", 0x0000FF}, {frameColour, "5", 0xFFFF00}, {frameColour, "6", 0x00FF00},
        {frameColour, "7", 0xFF6600}, {frameColour, "8", 0xFF0099},
        {frameColour, "9", 0xFFFFFF}, {frameColour, "02", 0xFFFFFF}, {frameColour, "", 0xFFFFFF},
        {placingColour, "01", 0xFFFF00}, {placingColour, "02", 0x87CEEB}, {placingColour, "03", 0xFF6347},
        {placingColour, "04", 0xFFFFFF}, {placingColour, "1", 0xFFFFFF}, {placingColour, "", 0xFFFFFF},
        {valueColour, "89", 0xFFFFFF}, {valueColour, "90", 0x87CEEB}, {valueColour, "99", 0x87CEEB},
        {valueColour, "100", 0xFFFF00}, {valueColour, "2147483647", 0xFFFF00},
        {valueColour, "-95", 0xFFFFFF}, {valueColour, "**", 0xFFFFFF}, {valueColour, "", 0xFFFFFF},
        {valueColour, "95.5", 0xFFFFFF},  // not a whole number: read as 0
    };
    for (const auto& c : cases) EXPECT_EQ(c.fn(c.arg), c.want) << c.arg;
}

TEST(CodeTables, TrackTableReadsBothWays) {
    EXPECT_EQ(u(trackName("05")), "東京");
    EXPECT_EQ(u(trackName("30")), "門別");
    EXPECT_EQ(u(trackName("61")), "中チ");
    EXPECT_EQ(trackCode(sj("東京")), "05");
    EXPECT_EQ(trackCode(sj("札チ")), "58");
    // Not in the table, or not exactly as written.
    for (const char* code : {"11", "00", "29", "62", "5", "05 ", ""}) EXPECT_EQ(trackName(code), "") << code;
    for (const char* name : {"東京 ", "東", "", "05"}) EXPECT_EQ(trackCode(sj(name)), "") << name;

    // Exactly the codes 01 to 10 and 30 to 61 are named, each by a name that reads back to it.
    std::set<std::string> names;
    for (int n = 0; n <= 99; ++n) {
        const std::string code = (n < 10 ? "0" : "") + std::to_string(n);
        const std::string name = trackName(code);
        const bool listed = (n >= 1 && n <= 10) || (n >= 30 && n <= 61);
        EXPECT_EQ(!name.empty(), listed) << code;
        if (name.empty()) continue;
        EXPECT_EQ(name.size(), 4u) << code;  // two full-width characters
        EXPECT_EQ(trackCode(name), code) << u(name);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 42u);  // no name given twice
}

TEST(CodeTables, ClassNamesAcrossTheConditionChange) {
    struct Case {
        const char* syubetu;
        const char* jyoken;
        const char* date;
        const char* longName;
        const char* shortName;
        const char* shortest;
    };
    const Case cases[] = {
        // Prize-money names up to the last day before the change, win counts from that day on.
        {"13", "005", "20190526", "サラ系３歳以上 500万以下", "３歳上500万以下", "３上500万"},
        {"13", "005", "20190531", "サラ系３歳以上 500万以下", "３歳上500万以下", "３上500万"},
        {"13", "005", "20190601", "サラ系３歳以上 １勝クラス", "３歳上１勝クラス", "３上１勝級"},
        {"14", "010", "20180101", "サラ系４歳以上 1000万以下", "４歳上1000万以下", "４上1000万"},
        {"14", "016", "20180101", "サラ系４歳以上 1600万以下", "４歳上1600万以下", "４上1600万"},
        {"14", "001", "20200101", "サラ系４歳以上 １勝クラス", "４歳上１勝クラス", "４上１勝級"},
        {"14", "006", "20200101", "サラ系４歳以上 ２勝クラス", "４歳上２勝クラス", "４上２勝級"},
        {"14", "010", "20200101", "サラ系４歳以上 ２勝クラス", "４歳上２勝クラス", "４上２勝級"},
        {"14", "011", "20200101", "サラ系４歳以上 ３勝クラス", "４歳上３勝クラス", "４上３勝級"},
        {"14", "016", "20200101", "サラ系４歳以上 ３勝クラス", "４歳上３勝クラス", "４上３勝級"},
        {"14", "020", "20200101", "サラ系４歳以上 ", "４歳上", "４上"},
        {"14", "abc", "20200101", "サラ系４歳以上 ", "４歳上", "４上"},
        // Named conditions, the same on both sides of the change.
        {"11", "701", "20190526", "サラ系２歳 新馬", "２歳新馬", "２歳新馬"},
        {"12", "702", "20200101", "サラ系３歳 未出走", "３歳未出走", "３歳未出走"},
        {"12", "703", "20200101", "サラ系３歳 未勝利", "３歳未勝利", "３歳未勝利"},
        {"13", "999", "20200101", "サラ系３歳以上 OPEN", "３歳上OPEN", "３上ＯＰ"},
        {"13", "999", "20180101", "サラ系３歳以上 OPEN", "３歳上OPEN", "３上ＯＰ"},
        {"13", "000", "20180101", "サラ系３歳以上 ", "３歳上", "３上"},
        // Jump races and the Arab kinds, whose short forms are empty.
        {"18", "999", "20200101", "サラ障害３歳以上 OPEN", "障害OPEN", "障害ＯＰ"},
        {"19", "703", "20200101", "サラ障害４歳以上 未勝利", "障害未勝利", "障害未勝利"},
        {"21", "703", "20200101", "アラブ系２歳 未勝利", "未勝利", "未勝利"},
        {"24", "999", "20200101", "アラブ系４歳以上 OPEN", "OPEN", "ＯＰ"},
        // An unknown kind is empty; a date that is not a number counts as before the change.
        {"99", "703", "20200101", " 未勝利", "未勝利", "未勝利"},
        {"13", "005", "", "サラ系３歳以上 500万以下", "３歳上500万以下", "３上500万"},
    };
    for (const auto& c : cases) {
        const std::string s = sj(c.syubetu), j = sj(c.jyoken), d = sj(c.date);
        const std::string where = std::string(c.syubetu) + "/" + c.jyoken + "/" + c.date;
        EXPECT_EQ(u(classNameLong(s, j, d)), c.longName) << where;
        EXPECT_EQ(u(classNameShort(s, j, d)), c.shortName) << where;
        EXPECT_EQ(u(classNameShortest(s, j, d)), c.shortest) << where;
    }
}

TEST(CodeTables, EngineClassAndGradeNames) {
    struct Case {
        Fn3 fn;
        const char* a;
        const char* b;
        const char* c;
        const char* want;
    };
    const Case cases[] = {
        {engineClassName, "11", "701", "", "２歳新馬"},
        {engineClassName, "12", "703", "A", "３歳未勝利"},
        {engineClassName, "13", "005", "", "古馬500"},
        {engineClassName, "14", "016", "", "古馬1600"},
        {engineClassName, "13", "999", "A", "古馬Ｇ１"},
        {engineClassName, "13", "999", "C", "古馬Ｇ３"},
        {engineClassName, "13", "999", "E", "古馬OPEN"},
        {engineClassName, "13", "999", "L", "古馬リステッド"},
        {engineClassName, "18", "999", "F", "障害"},  // J-grades have no engine name
        {engineClassName, "13", "000", "A", "古馬Jpn1"},
        {engineClassName, "13", "000", "D", "古馬地方重"},
        {engineClassName, "13", "000", "E", "古馬地方OP"},
        {engineClassName, "13", "000", "L", "古馬"},
        {engineClassName, "21", "005", "", "500"},
        {engineClassName, "13", "", "", "古馬000"},

        {gradeName, "999", "A", "", "Ｇ１"},
        {gradeName, "999", "D", "", "重賞"},
        {gradeName, "999", "E", "", "OPEN"},
        {gradeName, "999", "F", "", "J・G1"},
        {gradeName, "999", "H", "", "J・G3"},
        {gradeName, "999", "L", "", "L"},
        {gradeName, "999", "Z", "", ""},
        {gradeName, "000", "B", "", "Ｇ２"},
        {gradeName, "000", "F", "", ""},
        {gradeName, "000", "L", "", ""},
        {gradeName, "016", "A", "", ""},
        // Local Jpn1 races known by name, in full or shortened spelling, only with grade A.
        {gradeName, "999", "A", "ＪＢＣクラシック", "Jpn1"},
        {gradeName, "999", "B", "ＪＢＣクラシック", "Ｇ２"},
        {gradeName, "000", "A", "第２０回ＪＢＣスプリント", "Jpn1"},
        {gradeName, "000", "A", "ＪＢＣレディスクラシック", "Jpn1"},
        {gradeName, "000", "A", "マイルＣＳ南部杯", "Jpn1"},
        {gradeName, "000", "A", "ＭＣＳ南部杯", "Jpn1"},
        {gradeName, "999", "A", "ＪＢＣ２歳優駿", "Ｇ１"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(u(c.fn(sj(c.a), sj(c.b), sj(c.c))), c.want) << c.a << "/" << c.b << "/" << c.c;

    // The race name is searched character by character: these bytes hold ＭＣＳ南部杯 only
    // across a character boundary (a kanji's trail byte 0x82, then "l", then ＣＳ南部杯).
    const std::string misaligned = std::string("\x89\x82") + "l" + sj("ＣＳ南部杯");
    ASSERT_NE(misaligned.find(sj("ＭＣＳ南部杯")), std::string::npos);
    EXPECT_EQ(u(gradeName("999", "A", misaligned)), "Ｇ１");
}

TEST(CodeTables, CourseNameAndKey) {
    struct Case {
        const char* trackCD;
        const char* kyori;
        const char* name;
        const char* key;
    };
    const Case cases[] = {
        {"10", "1600", "芝1600m", "芝1600"},   {"22", "2000", "芝2000m", "芝2000"},
        {"23", "1200", "ダート1200m", "ダ1200"}, {"29", "1800", "ダート1800m", "ダ1800"},
        {"51", "3000", "障害3000m", "障3000"},  {"52", "2880", "障害2880m", "障2880"},
        {"59", "3570", "障害3570m", "障3570"},  {"00", "1600", "??1600m", "??1600"},
        {"09", "1600", "??1600m", "??1600"},    {"30", "1600", "??1600m", "??1600"},
        {"60", "1600", "??1600m", "??1600"},    {"", "1600", "??1600m", "??1600"},
        {"17", "", "芝m", "芝"},                 {"24", "0900", "ダート0900m", "ダ0900"},  // distance as passed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(u(courseName(c.trackCD, c.kyori)), c.name) << c.trackCD;
        EXPECT_EQ(u(courseKey(c.trackCD, c.kyori)), c.key) << c.trackCD;
    }
}

TEST(CodeTables, SingleCodeTables) {
    struct Case {
        Fn1 fn;
        const char* arg;
        const char* want;
    };
    const Case cases[] = {
        {weightRuleName, "1", "ハンデ"}, {weightRuleName, "4", "定量"}, {weightRuleName, "0", ""},
        // Race symbol: first and third characters, each trimmed; the second is the sex restriction.
        {raceSymbol, "A  ", "(混)"}, {raceSymbol, "N 1", "(国際)(指)"}, {raceSymbol, "  4", "(特)"},
        {raceSymbol, "F03", "(市)(抽)[指]"}, {raceSymbol, "M02", "(九州)(若手)"}, {raceSymbol, "L  ", "(市)(抽)"},
        {raceSymbol, "J  ", "[抽]"}, {raceSymbol, "000", ""}, {raceSymbol, "   ", ""}, {raceSymbol, "A", "(混)"},
        {raceSymbol, "", ""}, {raceSymbol, "a  ", ""},
        {sexRestriction, "A2 ", "牝"}, {sexRestriction, " 1 ", "牡"}, {sexRestriction, "N3 ", "牡・ｾﾝ"},
        {sexRestriction, "A4 ", "牡・牝"}, {sexRestriction, "A5 ", ""}, {sexRestriction, "A", ""},
        {sexName, "1", "牡"}, {sexName, "2", "牝"}, {sexName, "3", "ｾﾝ"}, {sexName, "0", ""},
        {sexCode, "牡", "1"}, {sexCode, "牝", "2"}, {sexCode, "ｾﾝ", "3"}, {sexCode, "セ", "3"},
        {sexCode, "セン", ""}, {sexCode, "", ""},
        {goingName, "1", "良"}, {goingName, "2", "稍"}, {goingName, "3", "重"}, {goingName, "4", "不"},
        {goingName, "", "**"}, {goingName, " ", "**"}, {goingName, "0", "**"}, {goingName, "5", "**"},
        {weatherName, "1", "晴"}, {weatherName, "4", "小雨"}, {weatherName, "6", "小雪"},
        {weatherName, "7", "**"}, {weatherName, "", "**"},
        {coatNameLong, "01", "栗毛"}, {coatNameShort, "01", "栗"}, {coatNameLong, "04", "黒鹿毛"},
        {coatNameShort, "04", "黒鹿"}, {coatNameLong, "11", "白毛"}, {coatNameShort, "11", "白"},
        {coatNameLong, "1", ""}, {coatNameShort, "12", ""},
        {affiliationName, "1", "美浦"}, {affiliationName, "2", "栗東"}, {affiliationName, "3", "地方"},
        {affiliationName, "4", "海外"}, {affiliationName, "5", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(u(c.fn(sj(c.arg))), c.want) << "[" << c.arg << "]";
}

TEST(CodeTables, Weekdays) {
    struct Case {
        const char* date;
        const char* want;  // empty: not a calendar date
    };
    const Case cases[] = {
        {"20190601", "土"}, {"20190602", "日"}, {"20240101", "月"}, {"20000229", "火"},
        {"19991231", "金"}, {"2019 6 1", "土"},  // each part trimmed
        {"20190230", ""}, {"19000229", ""}, {"20191301", ""}, {"20190100", ""}, {"00000101", ""},
        {"2019060a", ""}, {"", ""}, {"2019", ""}, {"201906", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(u(weekdayName(c.date)), c.want) << c.date;

    const char* const names[] = {"月", "火", "水", "木", "金", "土", "日"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(weekdayNumber(sj(names[i])), std::to_string(i + 1)) << names[i];
    for (const char* other : {"", "土曜", "sat", "1"}) EXPECT_EQ(weekdayNumber(sj(other)), "0") << other;
}

TEST(CodeCli, PrintsOneResultLine) {
    struct Case {
        std::initializer_list<std::string> args;
        const char* out;
    };
    const Case cases[] = {
        {{"code", "frame-colour", "8"}, "FF0099\n"},
        {{"code", "frame-colour", "2"}, "000000\n"},
        {{"code", "placing-colour", "02"}, "87CEEB\n"},
        {{"code", "value-colour", "abc"}, "FFFFFF\n"},
        {{"code", "track-name", "05"}, "東京\n"},
        {{"code", "track-name", ""}, "\n"},
        {{"code", "track-code", "中チ"}, "61\n"},
        {{"code", "class-long", "13", "005", "20190526"}, "サラ系３歳以上 500万以下\n"},
        {{"code", "class-shortest", "13", "005", "20190601"}, "３上１勝級\n"},
        {{"code", "engine-class", "13", "000", "A"}, "古馬Jpn1\n"},
        {{"code", "grade-name", "999", "A", "ＪＢＣクラシック"}, "Jpn1\n"},
        {{"code", "course-name", "23", "1200"}, "ダート1200m\n"},
        {{"code", "race-symbol", "N 1"}, "(国際)(指)\n"},
        {{"code", "sex-code", "セ"}, "3\n"},
        {{"code", "going", ""}, "**\n"},
        {{"code", "coat-short", "02"}, "栃栗\n"},
        {{"code", "weekday-name", "20190601"}, "土\n"},
        {{"code", "weekday-number", "日"}, "7\n"},
    };
    for (const auto& c : cases) {
        std::string out, err;
        EXPECT_EQ(test::runCli(c.args, out, &err), 0) << err;
        EXPECT_EQ(out, c.out);
    }
}

TEST(CodeCli, RejectsBadDatesTablesAndArgumentCounts) {
    const std::initializer_list<std::string> bad[] = {
        {"code", "weekday-name", "20190230"},
        {"code", "weekday-name", ""},
        {"code", "no-such-table", "1"},
        {"code", "class-long", "13", "005"},
        {"code", "track-name"},
        {"code"},
    };
    for (const auto& args : bad) {
        std::string out, err;
        std::string words;
        for (const auto& a : args) words += a + " ";
        EXPECT_EQ(test::runCli(args, out, &err), 2) << words;
        EXPECT_EQ(out, "");
        EXPECT_NE(err, "");
    }
}

}  // namespace
}  // namespace tarvo
