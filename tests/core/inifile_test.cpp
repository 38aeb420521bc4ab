#include <gtest/gtest.h>

#include "fsys.h"
#include "inifile.h"
#include "test_support.h"

namespace tarvo {
namespace {

using test::slurp;
using test::spit;

class IniFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.path() + "t.ini";
};

TEST_F(IniFileTest, ReadsWithProfileSemantics) {
    spit(path,
         "stray=before any section\r\n"
         "[Window]\r\n"
         "  Top =  12  \r\n"
         "top=99\r\n"
         "no equals sign here\r\n"
         "; left=5\r\n"
         "[window]\r\n"
         "left=7\r\n"
         "[OTHER]\n"
         "key=a=b\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.read("WINDOW", "TOP"), "12");       // case-insensitive, first key, trimmed
    EXPECT_EQ(ini.read("WINDOW", "left", "dflt"), "dflt");  // only the first section counts
    EXPECT_EQ(ini.read("WINDOW", "no equals sign here", "d"), "d");
    EXPECT_EQ(ini.read("OTHER", "key"), "a=b");        // LF-only lines too
    EXPECT_EQ(ini.read("NONE", "key", "x"), "x");
    EXPECT_EQ(ini.read("", "stray", "x"), "x");
    EXPECT_EQ(IniFile(dir.path() + "missing.ini").read("A", "b", "d"), "d");
}

TEST_F(IniFileTest, WriteReplacesInPlaceAndKeepsEveryOtherByte) {
    const std::string before = "#comment\r\n[A]\r\nx = 1 \r\n; note\r\ny=2\r\n\r\n[B]\r\nz=3\r\n";
    spit(path, before);
    const IniFile ini(path);
    ini.write("a", "X", "42");
    EXPECT_EQ(slurp(path), "#comment\r\n[A]\r\nX=42\r\n; note\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    ini.write("A", "new", "v");  // after the section's last non-empty line
    EXPECT_EQ(slurp(path), "#comment\r\n[A]\r\nX=42\r\n; note\r\ny=2\r\nnew=v\r\n\r\n[B]\r\nz=3\r\n");
    ini.write("C", "k", "");  // missing section at the end
    EXPECT_EQ(slurp(path), "#comment\r\n[A]\r\nX=42\r\n; note\r\ny=2\r\nnew=v\r\n\r\n[B]\r\nz=3\r\n[C]\r\nk=\r\n");
    EXPECT_EQ(ini.read("C", "k", "d"), "");
}

TEST_F(IniFileTest, WriteCreatesFileAndHandlesMissingLastLineEnd) {
    const IniFile ini(path);
    ini.write("S", "k", "v");
    EXPECT_EQ(slurp(path), "[S]\r\nk=v\r\n");
    spit(path, "[S]\r\nk=v");
    ini.write("S", "m", "w");
    EXPECT_EQ(slurp(path), "[S]\r\nk=v\r\nm=w\r\n");
    ini.write("T", "a", "b");
    EXPECT_EQ(slurp(path), "[S]\r\nk=v\r\nm=w\r\n[T]\r\na=b\r\n");
}

TEST_F(IniFileTest, ShiftJisValuesRoundTrip) {
    const IniFile ini(path);
    ini.write("UMA_DB", "dir", sj("/データ/"));
    EXPECT_EQ(ini.read("uma_db", "DIR"), sj("/データ/"));
}

TEST_F(IniFileTest, UnwritableFileRaises) {
    const IniFile ini(dir.path() + "no/such/folder/t.ini");
    EXPECT_THROW(ini.write("A", "b", "c"), IoError);
}

}  // namespace
}  // namespace tarvo
