// The silks fetch and the picture each strip cell shows, and the past-run
// video item's caption.
#include <gtest/gtest.h>

#include <filesystem>

#include "cp932.h"
#include "fsys.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "media_view.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"

namespace tarvo {
namespace {

void addOwner(const StorePaths& p, const char* code, const char* fukusyokuUtf8) {
    LineBuilder b(Family::BN);
    b.assign("BanusiCode", code);
    b.assign("Fukusyoku", sj(fukusyokuUtf8));
    writeRecord(p.bn(code), b.line(), recordKey(Family::BN));
}

TEST(SilksStrip, FetchKeepsDrawnPicturesAndOneSharedPlaceholder) {
    test::TempDir dir;
    const StorePaths paths(dir.path() + "data/");
    makeDirs(paths.root() + "FK/");
    addOwner(paths, "000101", "青，白襷");
    addOwner(paths, "000102", "");  // nothing to draw
    addOwner(paths, "000103", "");
    JVLinkEmulator jv(dir.path());
    int after = 0;
    // A runner without a UM record has no owner code; "000000" is no owner.
    fetchAllSilks(paths, jv, {"000101", "", "000102", "000000", "000103"}, [&] { ++after; });
    EXPECT_EQ(after, 5);
    EXPECT_TRUE(fileExists(paths.fk("000101")));
    EXPECT_FALSE(fileExists(paths.fk("000102")));
    EXPECT_FALSE(fileExists(paths.fk("000103")));
    ASSERT_TRUE(fileExists(noImagePath(paths)));  // made from the first placeholder

    const std::pair<const char*, std::string> shown[] = {
        {"000101", paths.fk("000101")}, {"000102", noImagePath(paths)}, {"", noImagePath(paths)}};
    for (const auto& [code, want] : shown) EXPECT_EQ(silksPicture(paths, code), want) << code;

    // The shared picture stays as the first placeholder made it.
    const std::string placeholder = test::slurp(noImagePath(paths));
    fetchAllSilks(paths, jv, {"000103"});
    EXPECT_EQ(test::slurp(noImagePath(paths)), placeholder);
    std::filesystem::remove(noImagePath(paths));
    EXPECT_EQ(silksPicture(paths, "000102"), "");
}

TEST(SilksStrip, PastRunCaptionTakesTheShortNameOrTheClass) {
    test::TempDir dir;
    test::StoreFixture fx(dir.path() + "data/");
    test::StoreFixture::Race named;
    named.ryakusyo6 = "若葉Ｓ";
    fx.addRace(named);
    test::StoreFixture::Race plain;
    plain.raceNum = "06";
    fx.addRace(plain);
    EXPECT_EQ(pastRunVideoCaption(fx.paths, {"2020", "0510", "06", "05"}),
              sj("レース動画を再生 [20200510.中山05R.若葉Ｓ] (&R)"));
    EXPECT_EQ(pastRunVideoCaption(fx.paths, {"2020", "0510", "06", "06"}),
              sj("レース動画を再生 [20200510.中山06R.３歳未勝利] (&R)"));
}

TEST(SilksStrip, CliFetchesAndPrintsEachRunnersPicture) {
    test::TempDir home;
    const StorePaths paths(home.path() + "data/");
    const test::StoreFixture::Race ra = test::race("0602", "05", "11", "2");
    test::StoreFixture(paths.root()).addRace(ra);
    // Runner 1's owner has silks, runner 2's none to draw, runner 3 no UM record.
    const char* owners[] = {"000101", "000102"};
    for (int n = 1; n <= 3; ++n) {
        LineBuilder se(Family::SE);
        test::setRaceKey(se, ra);
        const std::string num = "0" + std::to_string(n), ketto = "20200000" + num;
        se.assign("Umaban", num);
        se.assign("KettoNum", ketto);
        writeRecord(paths.se(ra.year, ra.monthDay, ra.jyoCD), se.line(), recordKey(Family::SE));
        if (n == 3) continue;
        LineBuilder um(Family::UM);
        um.assign("KettoNum", ketto);
        um.assign("BanusiCode", owners[n - 1]);
        writeRecord(paths.um(ketto, "datn"), um.line(), recordKey(Family::UM));
        addOwner(paths, owners[n - 1], n == 1 ? "赤，白襷" : "");
    }
    std::string out;
    ASSERT_EQ(test::runCli({"silks", "2024", "0602", "05", "11", "--home", home.path()}, out), 0) << out;
    EXPECT_EQ(out, "01\tFK/FK000101.bmp\n02\tFK/no_image.bmp\n03\tFK/no_image.bmp\n");
}

}  // namespace
}  // namespace tarvo
