#include <gtest/gtest.h>

#include <filesystem>

#include "fsys.h"
#include "record_io.h"
#include "test_support.h"

namespace tarvo {
namespace {

// A 10-byte stored line: key in bytes 0-3, payload 4-7, CR LF.
std::string rec(const std::string& key, const std::string& payload) { return key + payload + "\r\n"; }
const std::vector<KeyRange> kKey = {{0, 4}};

class RecordIoTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.path() + "f/g/x.dat";
};

TEST_F(RecordIoTest, ReplacesTheFirstMatchOrAppends) {
    writeRecord(path, rec("AAAA", "1111"), kKey);
    writeRecord(path, rec("BBBB", "2222"), kKey);
    writeRecord(path, rec("AAAA", "3333"), kKey);
    EXPECT_EQ(test::slurp(path), rec("AAAA", "3333") + rec("BBBB", "2222"));
    EXPECT_EQ(readLines(path), (std::vector<std::string>{"AAAA3333", "BBBB2222"}));
}

TEST_F(RecordIoTest, SeveralKeyRanges) {
    const std::vector<KeyRange> key = {{0, 1}, {3, 1}};
    writeRecord(path, rec("AxxB", "1111"), key);
    writeRecord(path, rec("AyyB", "2222"), key);  // same key: bytes 0 and 3
    writeRecord(path, rec("AyyC", "3333"), key);
    EXPECT_EQ(test::slurp(path), rec("AyyB", "2222") + rec("AyyC", "3333"));
}

TEST_F(RecordIoTest, AnIncompleteTailIsCutBeforeTheNextWrite) {
    writeRecord(path, rec("AAAA", "1111"), kKey);
    test::spit(path, test::slurp(path) + "BBBB2");  // a write cut short
    writeRecord(path, rec("CCCC", "3333"), kKey);
    EXPECT_EQ(test::slurp(path), rec("AAAA", "1111") + rec("CCCC", "3333"));
    EXPECT_EQ(std::filesystem::file_size(path) % 10, 0u);
}

TEST_F(RecordIoTest, ADamagedFileIsNotWrittenInto) {
    writeRecord(path, rec("AAAA", "1111"), kKey);
    writeRecord(path, rec("BBBB", "2222"), kKey);
    const std::string good = test::slurp(path);
    struct Case {
        const char* what;
        std::string content;
    };
    const Case damaged[] = {
        {"a byte inserted", good.substr(0, 3) + "x" + good.substr(3)},
        {"a byte inserted in the last record", good.substr(0, 15) + "x" + good.substr(15)},
        {"a line end lost", good.substr(0, 8) + "  " + good.substr(10)},
        {"lines of another length", "AAAA11\r\nBBBB22\r\nCCCC33\r\n"},
    };
    for (const Case& c : damaged) {
        SCOPED_TRACE(c.what);
        test::spit(path, c.content);
        try {
            writeRecord(path, rec("CCCC", "3333"), kKey);
            ADD_FAILURE() << "written";
        } catch (const IoError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::slurp(path), c.content);  // nothing cut, nothing written
    }
    // Whole blocks sound and a short tail: the tail is cut and the write goes on.
    test::spit(path, good + "CC");
    writeRecord(path, rec("CCCC", "3333"), kKey);
    EXPECT_EQ(test::slurp(path), good + rec("CCCC", "3333"));
}

TEST_F(RecordIoTest, AFileSetKeepsFilesOpenAndNoticesOtherWriters) {
    const std::string other = dir.path() + "y.dat", third = dir.path() + "z.dat";
    {
        RecordFileSet files(2);
        files.write(path, rec("AAAA", "1111"), kKey);
        files.write(other, rec("AAAA", "1111"), kKey);
        files.write(third, rec("AAAA", "1111"), kKey);  // closes path, the least recently written
        // Written by someone else meanwhile: an append and a cut-short write.
        writeRecord(other, rec("BBBB", "2222"), kKey);
        test::spit(path, test::slurp(path) + rec("BBBB", "2222") + "CC");
        files.write(path, rec("BBBB", "3333"), kKey);
        files.write(other, rec("BBBB", "4444"), kKey);
        files.write(other, rec("CCCC", "5555"), kKey);
        files.update(path, rec("AAAA", "6666"), kKey, [](std::string_view stored) {
            return std::string(stored.substr(0, 4)) + "7777\r\n";
        });
        // Readers see every write at once.
        EXPECT_EQ(readLines(other), (std::vector<std::string>{"AAAA1111", "BBBB4444", "CCCC5555"}));
    }
    EXPECT_EQ(test::slurp(path), rec("AAAA", "7777") + rec("BBBB", "3333"));
    EXPECT_EQ(test::slurp(third), rec("AAAA", "1111"));
}

TEST_F(RecordIoTest, ManyRecordsAcrossReadChunks) {
    // Enough records that the scan spans several read chunks.
    for (int i = 0; i < 9000; ++i) {
        char k[5];
        std::snprintf(k, sizeof k, "%04d", i);
        writeRecord(path, rec(k, "0000"), kKey);
    }
    writeRecord(path, rec("8999", "XXXX"), kKey);
    writeRecord(path, rec("6554", "YYYY"), kKey);
    const auto lines = readLines(path);
    ASSERT_EQ(lines.size(), 9000u);
    EXPECT_EQ(lines[8999], "8999XXXX");
    EXPECT_EQ(lines[6554], "6554YYYY");
}

TEST_F(RecordIoTest, RefusedPathWritesNothing) {
    EXPECT_THROW(writeRecord("", rec("AAAA", "1111"), kKey), IoError);
    // A folder in the way of the file.
    std::filesystem::create_directories(dir.path() + "blocked/x.dat");
    EXPECT_THROW(writeRecord(dir.path() + "blocked/x.dat", rec("AAAA", "1111"), kKey), IoError);
    // A file in the way of a folder.
    test::spit(dir.path() + "plain", "x");
    EXPECT_THROW(writeRecord(dir.path() + "plain/x.dat", rec("AAAA", "1111"), kKey), IoError);
}

TEST_F(RecordIoTest, ReaderSeesMissingFilesAsEmptyAndStopsOnRequest) {
    EXPECT_TRUE(readLines(dir.path() + "missing.dat").empty());
    EXPECT_TRUE(readLines("").empty());
    test::spit(path, "a\r\nb\nc");
    int n = 0;
    forEachLine(path, [&](std::string_view) { return ++n < 2; });
    EXPECT_EQ(n, 2);
    EXPECT_EQ(readLines(path), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ReadCacheScope, FilesAreReadOnceUntilTheOutermostScopeEnds) {
    test::TempDir dir;
    const std::string a = dir.path() + "a.dat", missing = dir.path() + "b.dat";
    test::spit(a, "one\r\n");
    auto lines = [](const std::string& path) { return readLines(path).size(); };
    {
        const ReadCacheScope outer;
        EXPECT_EQ(lines(a), 1u);
        EXPECT_EQ(lines(missing), 0u);
        {
            const ReadCacheScope inner;
            test::spit(a, "one\r\ntwo\r\n");
            test::spit(missing, "new\r\n");
        }
        std::string data;
        EXPECT_TRUE(readFile(a, data));
        EXPECT_EQ(data, "one\r\n");  // the inner scope's end keeps the outer cache
        EXPECT_FALSE(readFile(missing, data));
        EXPECT_EQ(lines(missing), 0u);
    }
    EXPECT_EQ(lines(a), 2u);
    EXPECT_EQ(lines(missing), 1u);
}

}  // namespace
}  // namespace tarvo
