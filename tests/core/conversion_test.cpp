// Converting old-format lines and files: breeding numbers, breeder codes and
// names, the new file names, and the count of old files.
#include <gtest/gtest.h>

#include "conversion.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "test_support.h"

namespace tarvo {
namespace {

TEST(Conversion, BreedingNumbersGainTwoZerosAfterTheirThirdDigit) {
    const std::pair<const char*, const char*> cases[] = {{"12345678", "1230045678"}, {"00000000", "0000000000"},
                                                         {"        ", "0000000000"}, {"00000001", "0000000001"},
                                                         {"ABCDEFGH", "0000000000"}};
    for (const auto& [old, want] : cases) EXPECT_EQ(newBreedingNumber(old), want) << old;
}

TEST(Conversion, NewFileNames) {
    EXPECT_EQ(convertedPath(Family::HNOld, "/s/HN/12/HN12345.dat"), "/s/HN/12/HN1230045.datn");
    EXPECT_EQ(convertedPath(Family::UMOld, "/s/UM/2019/UM2019104.dat"), "/s/UM/2019/UM2019104.datn");
    EXPECT_EQ(convertedPath(Family::BROld, "/s/BR/BR12.dat"), "/s/BR/BR12.datn");
}

TEST(Conversion, OldLinesTakeTheNewLayout) {
    // Every old family: the line's length and the fields that change.
    LineBuilder um(Family::UMOld);
    um.assign("KettoNum", "2015104900");
    um.assign("BreederCode", "123456");
    um.assign("BreederName", "ABC");
    um.assign("Bamei", "X");
    const std::string umNew = convertOldLine(Family::UMOld, um.line());
    EXPECT_EQ(umNew.size() + 2, layoutOf(Family::UM).lineLength);
    EXPECT_EQ(getField(Family::UM, umNew, "BreederCode"), "12345600");
    EXPECT_EQ(getField(Family::UM, umNew, "BreederName"), "ABC" + std::string(69, ' '));
    EXPECT_EQ(getField(Family::UM, umNew, "KettoNum"), "2015104900");
    EXPECT_EQ(trimBoth(getField(Family::UM, umNew, "Bamei")), "X");

    LineBuilder hn(Family::HNOld);
    hn.assign("HansyokuNum", "11112222");
    hn.assign("HansyokuFNum", "00000000");
    hn.assign("HansyokuMNum", "33344444");
    const std::string hnNew = convertOldLine(Family::HNOld, hn.line());
    EXPECT_EQ(hnNew.size() + 2, layoutOf(Family::HN).lineLength);
    EXPECT_EQ(getField(Family::HN, hnNew, "HansyokuNum"), "1110012222");
    EXPECT_EQ(getField(Family::HN, hnNew, "HansyokuFNum"), "0000000000");
    EXPECT_EQ(getField(Family::HN, hnNew, "HansyokuMNum"), "3330044444");

    for (Family f : {Family::BROld, Family::SKOld})
        EXPECT_EQ(convertOldLine(f, LineBuilder(f).line()).size() + 2, layoutOf(f == Family::BROld ? Family::BR : Family::SK).lineLength);
}

TEST(Conversion, OnlyDatFilesBelowTheFourFamiliesAreOld) {
    test::TempDir dir;
    const StorePaths paths(dir.path());
    for (const char* f : {"UM/2015/UM2015104.dat", "HN/12/HN12345.dat", "UM/2015/UM2015104.idx", "UM/2015/UM2015104.datn",
                          "KS/KS012.dat", "BR/BR12.datn"}) {
        makeDirs(dirName(dir.path() + f));
        test::spit(dir.path() + f, "");
    }
    EXPECT_EQ(oldFormatCount(paths), 2);
}

TEST(Conversion, ShowFindsABreederInEitherFormat) {
    test::TempDir home;
    const StorePaths paths(home.path() + "data/");
    const std::pair<Family, std::string> records[] = {{Family::BR, "12345600"}, {Family::BROld, "654321"}};
    for (const auto& [f, code] : records) {
        LineBuilder b(f);
        b.assign("BreederCode", code);
        b.assign("BreederName", "N" + code);
        const std::string path = f == Family::BR ? paths.br(code) : paths.brOld(code);
        makeDirs(dirName(path));
        test::spit(path, b.line() + "\r\n");
    }
    for (const auto& [f, code] : records) {
        std::string out;
        ASSERT_EQ(test::runCli({"show", "BR", code, "--home", home.path()}, out), 0) << code;
        EXPECT_NE(out.find("BreederCode\t" + code + "\n"), std::string::npos) << out;
        EXPECT_NE(out.find("BreederName\tN" + code + " "), std::string::npos) << out;
    }
    std::string out;
    EXPECT_EQ(test::runCli({"show", "BR", "99999900", "--home", home.path()}, out), 1);
}

}  // namespace
}  // namespace tarvo
