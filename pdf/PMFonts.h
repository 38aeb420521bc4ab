// The font definitions of the document writer: the eight built-in fonts
// (six TrueType fonts and the two composite Japanese fonts, each of those with
// its CIDFontType2 descendant), their descriptor values and width tables, and
// the dictionary lines each kind of definition writes. None is embedded: a
// reader substitutes a font of its own by the names written here.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tarvo::pdf {

// The font types a content stream selects with its FontType.
inline constexpr std::uint8_t kCentury = 0, kCenturyBold = 1, kArial = 2, kArialBold = 3, kCourier = 4,
                              kCourierBold = 5, kMSMincyo = 6, kMSGothic = 7;
inline constexpr std::uint8_t kFontTypes = 8;

struct TPDFFontDescriptorDef {
    int Ascent = 0, CapHeight = 0, Descent = 0, Flags = 0;
    std::array<int, 4> FontBBox{};  // left, bottom, right, top
    std::string FontName;
    int ItalicAngle = 0, StemV = 0;
};

class TPDFFontDef {
public:
    virtual ~TPDFFontDef() = default;
    // The type-specific dictionary lines, each ending in CR LF.
    virtual std::string FontEntries() const { return {}; }

    std::string Subtype, BaseFont;
    std::unique_ptr<TPDFFontDescriptorDef> Descriptor;  // none for a composite font
    std::unique_ptr<TPDFFontDef> Descendant;            // a composite font's CID font
    std::uint8_t FontType = 0;
    std::array<int, 256> Widths{};  // by character code
};

class TPDFTrueTypeFontDef : public TPDFFontDef {
public:
    std::string FontEntries() const override;
    std::uint8_t FirstChar = 31, LastChar = 255;
    std::string WidthsText;  // "[ 719 266 ... ]", sixteen numbers to a line
    std::string Encoding = "WinAnsiEncoding";
};

class TPDFType0FontDef : public TPDFFontDef {
public:
    std::string FontEntries() const override;
    std::string Encoding = "90msp-RKSJ-H";
};

class TPDFCID2FontDef : public TPDFFontDef {
public:
    std::string FontEntries() const override;
    int WinCharSet = 128;
    std::string CIDSystemInfo = "/Registry(Adobe)\r\n/Ordering(Japan1)\r\n/Supplement 2";
    int DW = 1000;
    std::string W;
};

// The definition of a font type (0 to 7), its width table filled from its text.
std::unique_ptr<TPDFFontDef> makeFontDef(std::uint8_t fontType);

}  // namespace tarvo::pdf
