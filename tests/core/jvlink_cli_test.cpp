#include <gtest/gtest.h>

#include <cstdlib>

#include "test_support.h"

namespace tarvo {
namespace {

using test::runCli;
using test::slurp;
using test::spit;

TEST(JVLinkCli, OpenReadsEverythingAndDumpsTheRecords) {
    unsetenv("TARVO_JVLINK_SOURCE");
    test::TempDir home, src;
    const std::string a = "RA1\r\nSE12345\r\n", b = "HR9\r\n";
    spit(src.path() + "RACE/20240106180000-A.jvd", a);
    spit(src.path() + "RACE/20240107180000-B.jvd", b);
    spit(src.path() + "0B12/20240106.jvd", b);
    std::string out, err;
    ASSERT_EQ(runCli({"--home", home.path(), "jv", "open", "RACE", "20240101000000", "4", "--source", src.path(),
                      "--dump", home.path() + "dump.bin"},
                     out, &err),
              0)
        << err;
    EXPECT_EQ(out,
              "open\t0\nreadcount\t2\ndownloadcount\t2\nlastfiletimestamp\t20240107180000\n"
              "record\tRA\t5\nrecord\tSE\t9\nfile\t20240106180000-A.jvd\t20240106180000\t2\n"
              "record\tHR\t5\nfile\t20240107180000-B.jvd\t20240107180000\t1\n"
              "end\t0\nclose\t0\n");
    EXPECT_EQ(slurp(home.path() + "dump.bin"), a + b);

    // Nothing newer; a real-time key without data; one with data; a fault.
    ASSERT_EQ(runCli({"--home", home.path(), "--source", src.path(), "jv", "open", "RACE", "20240107180000", "1"}, out), 0);
    EXPECT_EQ(out, "open\t-1\nclose\t0\n");
    ASSERT_EQ(runCli({"--home", home.path(), "--source", src.path(), "jv", "rtopen", "0B12", "20240107"}, out), 0);
    EXPECT_EQ(out, "rtopen\t-1\nclose\t0\n");
    ASSERT_EQ(runCli({"--home", home.path(), "--source", src.path(), "jv", "rtopen", "0B12", "20240106"}, out), 0);
    EXPECT_EQ(out.substr(0, 27), "rtopen\t0\nrecord\tHR\t5\nfile\t2");
    spit(home.path() + "jvlink.ini", "[JVLINK]\r\ndownload_fail=20240107180000-B.jvd\r\n");
    EXPECT_EQ(runCli({"--home", home.path(), "--source", src.path(), "jv", "open", "RACE", "20240101000000", "4"}, out),
              1);
    EXPECT_NE(out.find("error\t-502\t20240107180000-B.jvd\nclose\t0\n"), std::string::npos) << out;

    EXPECT_EQ(runCli({"--home", home.path(), "jv", "open", "RACE"}, out, &err), 2);
}

}  // namespace
}  // namespace tarvo
