// Racing silks pictures: a jersey drawn in the colours and patterns a silks
// description names ("青，白襷，袖黄縦縞"), written as a 24-bit bitmap file.
//
// A description is a list of parts separated by "，", "、", "," or blanks. The
// first colour of the first part is the jersey's colour. Every part may then
// name a colour and a pattern for the body ("白縦縞", "赤一本輪", "黄襷") or,
// with "袖" in front, for the sleeves ("袖白", "袖赤縦縞"); a colour followed by
// "袖" colours the sleeves ("白袖"). A colour without a pattern fills its part
// of the jersey; a pattern the drawing does not know shows as a patch of its
// colour on the chest.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

struct SilksPicture {
    static constexpr int kWidth = 48, kHeight = 48;
    bool drawn = false;             // false: the description named no colour (placeholder)
    std::vector<std::uint32_t> rgb; // kWidth * kHeight pixels, 0xRRGGBB, row 0 at the top

    std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y * kWidth + x)]; }
};

// Sample points inside the picture's areas, for checks of the drawing.
struct SilksPoint {
    int x, y;
};
inline constexpr SilksPoint kSilksChest{24, 18};   // body, upper chest (clear of hoops and bands)
inline constexpr SilksPoint kSilksSleeve{7, 20};   // left sleeve
inline constexpr SilksPoint kSilksOutside{1, 46};  // background

// The picture of a CP932 silks description.
SilksPicture drawSilks(std::string_view description);

// The picture as a bottom-up 24-bit BMP file image.
std::string bitmapFile(const SilksPicture& picture);

// Writes the picture of description to path: 0 when drawn, -1 when the
// description names no colour (a placeholder picture is written), -2 when the
// file cannot be written.
int writeSilksBitmap(std::string_view description, const std::string& path);

}  // namespace tarvo
