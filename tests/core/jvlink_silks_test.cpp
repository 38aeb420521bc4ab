#include <gtest/gtest.h>

#include "cp932.h"
#include "jvlink_emu.h"
#include "silks_bitmap.h"
#include "test_support.h"

namespace tarvo {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0x202020, kRed = 0xE00000, kBlue = 0x0040D0,
                        kYellow = 0xFFE000, kGreen = 0x008040, kPurple = 0x8000A0, kPink = 0xFF90C0,
                        kSky = 0x60C0FF, kBrown = 0x804000;

std::uint32_t at(const SilksPicture& p, SilksPoint pt) { return p.at(pt.x, pt.y); }

TEST(Silks, ColoursAndPatternsOfTheDescription) {
    struct Case {
        const char* description;
        std::uint32_t chest, sleeve;
    };
    const Case cases[] = {
        {"黒", kBlack, kBlack},
        {"白", kWhite, kWhite},
        {"赤，白袖", kRed, kWhite},
        {"青，袖黄", kBlue, kYellow},
        {"緑、袖桃", kGreen, kPink},
        {"水色", kSky, kSky},
        {"茶，紫袖", kBrown, kPurple},
        {"紫，白一本輪", kPurple, kPurple},   // a hoop lies below the chest
        {"黄，黒蛇目", kBlack, kYellow},      // a pattern without picture: a chest patch
        {"桃，袖青縦縞", kPink, kPink},       // the sample point of the sleeve is between stripes
    };
    for (const Case& c : cases) {
        const SilksPicture p = drawSilks(sj(c.description));
        SCOPED_TRACE(c.description);
        EXPECT_TRUE(p.drawn);
        EXPECT_EQ(at(p, kSilksChest), c.chest);
        EXPECT_EQ(at(p, kSilksSleeve), c.sleeve);
        EXPECT_EQ(at(p, kSilksOutside), kWhite);
    }
}

// Counts the body pixels of each colour along a line, to see that a pattern shows.
int count(const SilksPicture& p, std::uint32_t colour, bool vertical, int at) {
    int n = 0;
    for (int i = 0; i < SilksPicture::kWidth; ++i)
        if ((vertical ? p.at(at, i) : p.at(i, at)) == colour) ++n;
    return n;
}

TEST(Silks, PatternsShowBothColours) {
    // Stripes: a row across the body meets both colours; a hoop: a column does.
    const SilksPicture stripes = drawSilks(sj("黒，白縦縞"));
    EXPECT_GT(count(stripes, kWhite, false, 30) - 2 * 15, 0);  // beyond the background on both sides
    EXPECT_GT(count(stripes, kBlack, false, 30), 4);
    const SilksPicture hoop = drawSilks(sj("紫，白一本輪"));
    EXPECT_EQ(hoop.at(24, 29), kWhite);
    EXPECT_EQ(hoop.at(24, 20), kPurple);
    const SilksPicture sash = drawSilks(sj("赤，白襷"));
    EXPECT_EQ(sash.at(16, 11), kWhite);   // from the left shoulder
    EXPECT_EQ(sash.at(31, 43), kWhite);   // to the right hip
    EXPECT_EQ(sash.at(31, 12), kRed);
    const SilksPicture chevron = drawSilks(sj("青，黄山形"));
    EXPECT_GT(count(chevron, kYellow, true, 20), 3);
    EXPECT_GT(count(chevron, kBlue, true, 20), 3);
    const SilksPicture sleeves = drawSilks(sj("白，袖赤縦縞"));
    EXPECT_EQ(sleeves.at(kSilksChest.x, kSilksChest.y), kWhite);
    int red = 0;
    for (int x = 2; x < 14; ++x) red += sleeves.at(x, 20) == kRed;
    EXPECT_GT(red, 0);
}

TEST(Silks, UnreadableDescriptionsGiveThePlaceholder) {
    for (const char* d : {"", "   ", "abc", "縦縞"}) {
        const SilksPicture p = drawSilks(sj(d));
        SCOPED_TRACE(d);
        EXPECT_FALSE(p.drawn);
        EXPECT_EQ(at(p, kSilksChest), 0xD8D8D8u);
    }
}

TEST(Silks, JVFukuFileWritesA24BitBitmap) {
    test::TempDir home;
    JVLinkEmulator jv(home.path());
    const std::string path = home.path() + "FK/FK000123.bmp";
    ASSERT_EQ(jv.JVFukuFile(sj("赤，白袖"), path), 0);
    const std::string bmp = test::slurp(path);
    ASSERT_EQ(bmp.size(), 54u + 48u * 48u * 3u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24);  // bits per pixel
    // Bottom-up rows, blue green red: the chest pixel.
    const std::size_t off = 54 + static_cast<std::size_t>((47 - kSilksChest.y) * 48 + kSilksChest.x) * 3;
    EXPECT_EQ(static_cast<unsigned char>(bmp[off + 2]), 0xE0);
    EXPECT_EQ(static_cast<unsigned char>(bmp[off + 1]), 0x00);

    EXPECT_EQ(jv.JVFukuFile("", home.path() + "FK/FK000124.bmp"), -1);
    EXPECT_EQ(test::slurp(home.path() + "FK/FK000124.bmp").size(), bmp.size());
    EXPECT_EQ(jv.JVFukuFile(sj("赤"), home.path() + "FK/FK000123.bmp/x.bmp"), -2);
}

}  // namespace
}  // namespace tarvo
