#include <gtest/gtest.h>

#include <filesystem>

#include "store_paths.h"
#include "test_support.h"

namespace tarvo {
namespace {

TEST(StorePaths, FamilyPaths) {
    const StorePaths p("/r/");
    struct Case {
        std::string got, want;
    };
    const Case cases[] = {
        {p.ra("2020", "0607", "05"), "/r/RA/2020/RA202006A.dat"},
        {p.se("2020", "0607", "05"), "/r/SE/2020/06/SE2020060705.dat"},
        {p.ra("2020", "0607", "44"), "/r/RA/2020/RA202006B.dat"},
        {p.se("2020", "0607", "44"), "/r/SE/2020/06/SE202006070A.dat"},
        {p.ra("2020", "0607", "xx"), "/r/RA/2020/RA202006B.dat"},  // non-numeric counts as 0
        {p.ck("2020", "0607", "10"), "/r/CK/2020/06/CK2020060710.dat"},
        {p.ck("2020", "0607", "30"), "/r/CK/2020/06/CK202006070A.dat"},
        {p.hr("2020", "0607"), "/r/HR/2020/HR202006.dat"},
        {p.o2("2020", "0607"), "/r/O2/2020/O2202006.dat"},
        {p.o3("2020", "0607"), "/r/O3/2020/O3202006.dat"},
        {p.o4("2020", "0607"), "/r/O4/2020/O4202006.dat"},
        {p.o5("2020", "0607"), "/r/O5/2020/O520200607.dat"},
        {p.o6("2020", "0607", "05"), "/r/O6/2020/O62020060705.dat"},
        {p.um("2015104901", "datn"), "/r/UM/2015/UM2015104E.datn"},
        {p.um("2015104901", "idx"), "/r/UM/2015/UM2015104E.idx"},
        {p.um("2015104001", "datn"), "/r/UM/2015/UM2015104A.datn"},
        {p.um("2015104301", "datn"), "/r/UM/2015/UM2015104B.datn"},
        {p.um("2015104X49", "datn"), "/r/UM/2015/UM2015104A.datn"},
        {p.um("2015104049", "dat"), ""},
        {p.sk("2015104049"), "/r/SK/2015/SK2015104.datn"},
        {p.ks("01234"), "/r/KS/KS012.dat"},
        {p.ch("01234"), "/r/CH/CH012.dat"},
        {p.br("12345678"), "/r/BR/BR12.datn"},
        {p.bn("123456"), "/r/BN/BN12.dat"},
        {p.hn("1234567890"), "/r/HN/12/HN1234567.datn"},
        {p.fk("123456"), "/r/FK/FK123456.bmp"},
        {p.umOld("2015104049", "dat"), "/r/UM/2015/UM2015104A.dat"},
        {p.umOld("2015104049", "idx"), "/r/UM/2015/UM2015104A.idx"},
        {p.umOld("2015104049", "datn"), ""},
        {p.brOld("123456"), "/r/BR/BR12.dat"},
        {p.hnOld("12345678"), "/r/HN/12/HN12345.dat"},
        {p.skOld("2015104049"), "/r/SK/2015/SK2015104.dat"},
        {p.bb("2020", "0315"), "/r/BB/2020/BB2020A.dat"},
        {p.bb("2020", "0601"), "/r/BB/2020/BB2020B.dat"},
        {p.bb("2020", "0901"), "/r/BB/2020/BB2020C.dat"},
        {p.bb("2020", "1001"), "/r/BB/2020/BB2020D.dat"},
        {p.bb("2020", "xx01"), "/r/BB/2020/BB2020D.dat"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(StorePaths, RootIsAPlainPrefix) {
    // A root without its trailing separator makes sibling folders, as written.
    EXPECT_EQ(StorePaths("/x/store").ra("2020", "0607", "05"), "/x/storeRA/2020/RA202006A.dat");
}

TEST(StorePaths, KeysThatWouldLeaveTheStoreGiveNoPath) {
    const StorePaths p("/r/");
    EXPECT_EQ(p.ks("../x"), "");
    EXPECT_EQ(p.fk("a/b"), "");
    EXPECT_EQ(p.fk("a\\b"), "");
    EXPECT_EQ(p.ra("20\n0", "0607", "05"), "");
    EXPECT_EQ(p.o6("2020", "0607", ".."), "");
    EXPECT_EQ(p.um("../../etc", "datn"), "");
    EXPECT_NE(p.ks("A1 23"), "");
}

TEST(StorePaths, MaskMatching) {
    EXPECT_TRUE(matchesMask("RA202006A.dat", "*A.dat"));
    EXPECT_TRUE(matchesMask("ra202006a.DAT", "*A.dat"));
    EXPECT_FALSE(matchesMask("RA202006B.dat", "*A.dat"));
    EXPECT_TRUE(matchesMask("noext", "*.*"));
    EXPECT_TRUE(matchesMask("abc", "a?c"));
    EXPECT_FALSE(matchesMask("abcd", "a?c"));
    EXPECT_TRUE(matchesMask("x.dat", ""));
}

TEST(StorePaths, DirectoryWalk) {
    test::TempDir d;
    EXPECT_TRUE(walkDirectory(d.path(), "", true).empty());
    EXPECT_TRUE(walkDirectory(d.path() + "missing", "*.*", true).empty());
    test::spit(d.path() + "b.dat", "x");
    test::spit(d.path() + "a/c.dat", "x");
    test::spit(d.path() + "a/d.txt", "x");
    test::spit(d.path() + "e.dat", "x");
    const std::string root = d.path().substr(0, d.path().size() - 1);  // without "/"
    EXPECT_EQ(walkDirectory(root, "*.dat", true),
              (std::vector<std::string>{d.path() + "a/c.dat", d.path() + "b.dat", d.path() + "e.dat"}));
    EXPECT_EQ(walkDirectory(d.path(), "*.dat", false),
              (std::vector<std::string>{d.path() + "b.dat", d.path() + "e.dat"}));
}

TEST(StorePaths, FamilyFoldersAndTrackDataDeletion) {
    test::TempDir d;
    const StorePaths p(d.path() + "data/");
    createFamilyFolders(p);
    for (const auto& f : familyFolders()) EXPECT_TRUE(std::filesystem::is_directory(p.root() + f)) << f;
    EXPECT_EQ(familyFolders().size(), 18u);
    test::spit(p.bb("2020", "0315"), "x");
    test::spit(p.bb("2021", "1215"), "x");
    test::spit(p.ra("2020", "0315", "05"), "keep");
    deleteAllTrackData(p);
    EXPECT_TRUE(walkDirectory(p.root() + "BB/", "", true).empty());
    EXPECT_EQ(test::slurp(p.ra("2020", "0315", "05")), "keep");
}

}  // namespace
}  // namespace tarvo

namespace tarvo {
namespace {

TEST(RaceKeyTest, TextAndParse) {
    const RaceKey k{"2024", "0106", "05", "11"};
    EXPECT_EQ(k.text(), "202401060511");
    EXPECT_EQ(RaceKey::parse(k.text()), k);
    EXPECT_EQ(RaceKey::parse("20240106A411"), (RaceKey{"2024", "0106", "A4", "11"}));  // overseas track code
    for (const char* bad : {"", "20240106051", "2024010605111", "2O2401060511", "2024 1060511", "20240106 511"})
        EXPECT_EQ(RaceKey::parse(bad), std::nullopt) << bad;
    // The race's files are those of its day and track.
    const StorePaths p("/r/");
    EXPECT_EQ(p.file(Family::SE, k), p.se("2024", "0106", "05"));
    EXPECT_EQ(p.file(Family::O6, k), p.o6("2024", "0106", "05"));
    EXPECT_EQ(p.file(Family::BB, k), p.bb("2024", "0106"));
}

}  // namespace
}  // namespace tarvo
