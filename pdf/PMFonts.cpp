#include "PMFonts.h"

#include <charconv>
#include <span>
#include <vector>

namespace tarvo::pdf {
namespace {

constexpr const char* kCrLf = "\r\n";

// Widths of codes 47 to 126 in the font's design units (thousandths at the
// design size); the built-in tables are these scaled by 0.958, the em of the
// fonts the system names.
constexpr int kSansAscii[80] = {
    278, 556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667,
    722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667,
    944, 667, 667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222,
    500, 222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};
constexpr int kSansBoldAscii[80] = {
    278, 556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611, 975, 722, 722,
    722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667,
    944, 667, 667, 611, 333, 278, 333, 584, 556, 333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278,
    556, 278, 889, 611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};
constexpr int kSerifAscii[80] = {
    278, 556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 606, 606, 606, 444, 737, 722, 722,
    722, 778, 722, 667, 778, 833, 407, 556, 778, 667, 944, 815, 778, 667, 778, 722, 630, 667, 815, 722,
    981, 704, 704, 611, 333, 606, 333, 606, 500, 333, 556, 556, 444, 574, 500, 333, 537, 611, 315, 296,
    593, 315, 889, 611, 500, 574, 556, 444, 463, 389, 611, 537, 778, 537, 537, 481, 333, 606, 333, 606};

// Codes 31 to 46 as the built-in tables give them.
using FirstLine = std::array<int, 16>;

struct TrueTypeRow {
    const char* baseFont;
    int flags;
    std::array<int, 4> bbox;
    int stemV;
    FirstLine first;
    const int* ascii;  // codes 47 to 126, or none for a fixed pitch
};

// One row per TrueType font type 0 to 5; Ascent and CapHeight are the box top, Descent its bottom.
constexpr TrueTypeRow kTrueType[6] = {
    {"Century", 34, {-219, -219, 1188, 1001}, 78,
     {719, 266, 283, 373, 533, 533, 798, 781, 196, 319, 319, 479, 581, 266, 319, 266}, kSerifAscii},
    {"Century,Bold", 16416, {-219, -219, 1189, 1001}, 156,
     {719, 267, 284, 374, 533, 533, 799, 781, 196, 320, 320, 480, 581, 267, 320, 267}, kSerifAscii},
    {"Arial", 32, {-215, -215, 1313, 919}, 78,
     {719, 266, 266, 340, 533, 533, 852, 639, 183, 319, 319, 373, 559, 266, 319, 266}, kSansAscii},
    {"Arial,Bold", 16416, {-215, -215, 1261, 919}, 78,
     {719, 266, 319, 454, 533, 533, 852, 692, 228, 319, 319, 373, 559, 266, 319, 266}, kSansBoldAscii},
    {"Courier", 32, {-305, -305, 669, 845}, 78, {}, nullptr},
    {"Courier,Bold", 16416, {-305, -305, 759, 845}, 78, {}, nullptr},
};
constexpr int kCourierWidth = 575;

struct CompositeRow {
    const char* baseFont;  // MS Mincho and MS Gothic in CP932, each byte as #XX
    int flags;
};
constexpr CompositeRow kComposite[2] = {
    {"#82#6C#82#72#20#96#BE#92#A9", 6},
    {"#82#6C#82#72#20#83#53#83#56#83#62#83#4E", 4},
};

int scaled(int designWidth) { return (designWidth * 958 + 500) / 1000; }

// The widths of codes 31 to 255 of a TrueType row. The upper half, which the
// system never writes, takes the width of a digit.
std::vector<int> trueTypeWidths(const TrueTypeRow& r) {
    if (!r.ascii) return std::vector<int>(225, kCourierWidth);
    std::vector<int> w(r.first.begin(), r.first.end());
    for (int i = 0; i < 80; ++i) w.push_back(scaled(r.ascii[i]));
    while (w.size() < 225) w.push_back(scaled(556));
    return w;
}

// Numbers separated by single spaces, sixteen to a line, each line ending in a
// space and CR LF; the last number is followed by closing (after the line
// break when it ends a full line).
std::string numberRun(std::span<const int> numbers, const std::string& closing) {
    std::string out;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        out += std::to_string(numbers[i]);
        const bool fullLine = (i + 1) % 16 == 0;
        if (fullLine) out += std::string(" ") + kCrLf;
        else if (i + 1 < numbers.size()) out += " ";
        if (i + 1 == numbers.size()) out += closing;
    }
    return out;
}

// The numbers of text from position from onward up to the next "]".
std::vector<int> numbersAfter(const std::string& text, const std::string& opening) {
    std::vector<int> out;
    const std::size_t at = text.find(opening);
    if (at == std::string::npos) return out;
    const char* p = text.data() + at + opening.size();
    const char* end = text.data() + text.size();
    while (p < end && *p != ']') {
        int v = 0;
        const auto r = std::from_chars(p, end, v);
        if (r.ec == std::errc()) {
            out.push_back(v);
            p = r.ptr;
        } else {
            ++p;
        }
    }
    return out;
}

void storeWidths(std::array<int, 256>& table, std::size_t from, const std::vector<int>& numbers) {
    for (std::size_t i = 0; i < numbers.size() && from + i < table.size(); ++i) table[from + i] = numbers[i];
}

std::unique_ptr<TPDFFontDescriptorDef> descriptor(const std::string& name, int flags, std::array<int, 4> bbox,
                                                  int stemV) {
    auto d = std::make_unique<TPDFFontDescriptorDef>();
    d->Ascent = bbox[3];
    d->CapHeight = bbox[3];
    d->Descent = bbox[1];
    d->Flags = flags;
    d->FontBBox = bbox;
    d->FontName = name;
    d->StemV = stemV;
    return d;
}

std::unique_ptr<TPDFFontDef> trueType(std::uint8_t type) {
    const TrueTypeRow& r = kTrueType[type];
    auto def = std::make_unique<TPDFTrueTypeFontDef>();
    def->Subtype = "TrueType";
    def->BaseFont = r.baseFont;
    def->FontType = type;
    def->Descriptor = descriptor(r.baseFont, r.flags, r.bbox, r.stemV);
    def->WidthsText = "[ " + numberRun(trueTypeWidths(r), " ]");
    storeWidths(def->Widths, def->FirstChar, numbersAfter(def->WidthsText, "["));
    return def;
}

std::unique_ptr<TPDFFontDef> composite(std::uint8_t type) {
    const CompositeRow& r = kComposite[type - kMSMincyo];
    auto cid = std::make_unique<TPDFCID2FontDef>();
    cid->Subtype = "CIDFontType2";
    cid->BaseFont = r.baseFont;
    cid->FontType = type;
    cid->Descriptor = descriptor(r.baseFont, r.flags, {-143, -143, 1015, 872}, 78);
    std::vector<int> half(94, 479), wide(64, 479);
    wide[0] = 958;
    cid->W = std::string("[") + kCrLf + "1 [ " + numberRun(half, "]") + kCrLf + "326 [ " + numberRun(wide, "]") +
             kCrLf + "631 631 479" + kCrLf + "]" + kCrLf;
    storeWidths(cid->Widths, 32, numbersAfter(cid->W, "1 ["));
    storeWidths(cid->Widths, 160, numbersAfter(cid->W, "326 ["));
    cid->Widths[0] = cid->DW;

    auto def = std::make_unique<TPDFType0FontDef>();
    def->Subtype = "Type0";
    def->BaseFont = r.baseFont;
    def->FontType = type;
    def->Descendant = std::move(cid);
    return def;
}

}  // namespace

std::string TPDFTrueTypeFontDef::FontEntries() const {
    return "/Subtype /" + Subtype + kCrLf + "/BaseFont /" + BaseFont + kCrLf + "/FirstChar " +
           std::to_string(FirstChar) + kCrLf + "/LastChar " + std::to_string(LastChar) + kCrLf + "/Widths " +
           WidthsText + kCrLf + "/Encoding /" + Encoding + kCrLf;
}

std::string TPDFType0FontDef::FontEntries() const {
    return "/Subtype /" + Subtype + kCrLf + "/BaseFont /" + BaseFont + kCrLf + "/Encoding /" + Encoding + kCrLf;
}

std::string TPDFCID2FontDef::FontEntries() const {
    return "/Subtype /" + Subtype + kCrLf + "/BaseFont /" + BaseFont + kCrLf + "/WinCharSet /" +
           std::to_string(WinCharSet) + kCrLf + "/CIDSystemInfo <<" + kCrLf + CIDSystemInfo + kCrLf + ">>" + kCrLf +
           "/DW " + std::to_string(DW) + kCrLf + "/W " + W + kCrLf;
}

std::unique_ptr<TPDFFontDef> makeFontDef(std::uint8_t fontType) {
    return fontType >= kMSMincyo ? composite(fontType) : trueType(fontType);
}

}  // namespace tarvo::pdf
