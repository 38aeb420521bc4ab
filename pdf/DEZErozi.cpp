#include "DEZErozi.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "cp932.h"
#include "fsys.h"
#include "textfn.h"

namespace tarvo::pdf {
namespace {

constexpr const char* kCrLf = "\r\n";

// The error text with its number in place of %d.
std::string formatted(const char* utf8Format, int n) { return replaceAll(sj(utf8Format), "%d", std::to_string(n)); }

[[noreturn]] void fail(const char* utf8) { throw PdfError(sj(utf8)); }

std::string ref(std::int32_t objectNumber) { return std::to_string(objectNumber) + " 0 R"; }

std::string pair(float x, float y) { return numberText(x) + " " + numberText(y); }

std::string colourText(TColor c) {
    const auto component = [](unsigned v) { return numberText(static_cast<float>(v) / 255.0f); };
    return component((c >> 16) & 0xFF) + " " + component((c >> 8) & 0xFF) + " " + component(c & 0xFF);
}

bool hasDoubleByte(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); i += charLen(line, i))
        if (isLeadByte(static_cast<unsigned char>(line[i]))) return true;
    return false;
}

// One show operator: a line with a double-byte character as a hex string of
// all its bytes, any other as a literal string with ( ) \ escaped.
std::string showOperator(std::string_view line) {
    std::string out;
    if (hasDoubleByte(line)) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        out = "<";
        for (const char ch : line) {
            const auto b = static_cast<unsigned char>(ch);
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
        return out + "> Tj\r";
    }
    out = "(";
    for (const char ch : line) {
        if (ch == '(' || ch == ')' || ch == '\\') out += '\\';
        out += ch;
    }
    return out + ") Tj\r";
}

// The lines of a text split at CR LF or a lone CR; a break at the end opens no further line.
std::vector<std::string_view> textLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

std::string numberText(float x) {
    const long long v = static_cast<long long>(std::trunc(static_cast<double>(x) * 100.0 + 0.5));
    const long long a = v < 0 ? -v : v;
    std::string out = (v < 0 ? "-" : "") + std::to_string(a / 100);
    const long long cents = a % 100;
    if (cents != 0) {
        out += "." + std::to_string(cents / 10);
        if (cents % 10 != 0) out += std::to_string(cents % 10);
    }
    return out;
}

std::string infoHexText(std::string_view cp932) {
    std::string out = "FEFF001B6A61001B";
    std::size_t units = 0;
    for (std::size_t i = 0; i < cp932.size() && units < 1024;) {
        std::size_t len = 1;
        const char32_t c = decodeChar(cp932, i, &len);
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(c & 0xFFFF));
        out += buf;
        ++units;
        i += len == 0 ? 1 : len;
    }
    return out;
}

// ---- objects ----

TPDFObject::TPDFObject(TDEZErozi& maker) : ObjectNumber(maker.Reserve()), maker_(maker) {}

int TPDFObjectList::Add(TPDFObject* o) {
    if (!o) return -1;
    items_.push_back(o);
    return Count() - 1;
}

TPDFObject* TPDFObjectList::Item(int index) const {
    if (index < 0 || index >= Count()) throw PdfError(formatted("Internel Error Invalid Index %d", index));
    return items_[static_cast<std::size_t>(index)];
}

std::string TPDFObjectList::RefArray() const {
    std::string out = "[";
    for (const TPDFObject* o : items_) out += ref(o->ObjectNumber) + " ";
    return out + "]";
}

TPDFCatalog::TPDFCatalog(TDEZErozi& maker, std::int32_t width, std::int32_t height)
    : TPDFObject(maker), pages_(&maker.Make<TPDFPages>(width, height)) {}

std::string TPDFCatalog::Body() const {
    return std::string("<<") + kCrLf + "/Type /Catalog" + kCrLf + "/Pages " + ref(pages_->ObjectNumber) + kCrLf +
           ">>" + kCrLf;
}

TPDFPages::TPDFPages(TDEZErozi& maker, std::int32_t width, std::int32_t height)
    : TPDFObject(maker), height_(height), width_(width) {}

TPDFPage& TPDFPages::AddPage() {
    TPDFPage& page = maker_.Make<TPDFPage>(*this);
    kids_.Add(&page);
    return page;
}

std::string TPDFPages::Body() const {
    return std::string("<<") + kCrLf + "/Kids " + kids_.RefArray() + kCrLf + "/Count " +
           std::to_string(kids_.Count()) + kCrLf + "/Type /Pages" + kCrLf + "/MediaBox [ 0 0 " +
           std::to_string(width_) + " " + std::to_string(height_) + " ]" + kCrLf + ">>" + kCrLf;
}

TPDFPage::TPDFPage(TDEZErozi& maker, TPDFPages& parent)
    : TPDFObject(maker), contents_(&maker.Make<TPDFContents>()), parent_(parent) {}

std::string TPDFPage::Body() const {
    std::string out = std::string("<<") + kCrLf + "/Type /Page" + kCrLf + "/Parent " + ref(parent_.ObjectNumber) +
                      kCrLf + "/Resources <<" + kCrLf + "/Font <<" + kCrLf;
    const TPDFObjectList& fonts = maker_.Fonts();
    for (int i = 0; i < fonts.Count(); ++i) {
        const auto* f = static_cast<const TPDFFont*>(fonts.Item(i));
        out += "/F" + std::to_string(f->FontNumber) + " " + ref(f->ObjectNumber) + kCrLf;
    }
    return out + ">>" + kCrLf + "/ProcSet [ /PDF /Text ]" + kCrLf + ">>" + kCrLf + "/Contents " +
           ref(contents_->ObjectNumber) + kCrLf + ">>" + kCrLf;
}

std::string TPDFContents::Body() const {
    return std::string("<<") + kCrLf + "/Length " + std::to_string(text_.size()) + kCrLf + ">>" + kCrLf + "stream" +
           kCrLf + text_ + "\n" + "endstream" + kCrLf;
}

void TPDFContents::DrawLine(float x1, float y1, float x2, float y2) {
    text_ += pair(x1, y1) + " m\r" + numberText(LineCap) + " J\r" + colourText(StrokeColor) + " RG \r" +
             numberText(LineWidth) + " w\r" + pair(x2, y2) + " l\r" + "S\r" + "n\r";
}

void TPDFContents::DrawRect(float x1, float y1, float x2, float y2) {
    text_ += pair(x1, y1) + " m\r" + numberText(LineWidth) + " w\r" + numberText(LineJoin) + " j\r" +
             colourText(StrokeColor) + " RG \r" + pair(x1, y2) + " l\r" + pair(x2, y2) + " l\r" + pair(x2, y1) +
             " l\r" + "s\r";
}

void TPDFContents::TextOut(float x, float y, std::string_view text) {
    const TPDFFont& font = maker_.GetFont(FontType);
    std::string out = "BT\r/F" + std::to_string(font.FontNumber) + " " + numberText(FontSize) + " Tf\r" +
                      colourText(FillColor) + " rg \r" + numberText(Leading) + " TL\r" + numberText(CharSpace) +
                      " Tc\r" + numberText(WordSpace) + " Tw\r" + pair(x, y) + " Td\r";
    const std::vector<std::string_view> lines = textLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += "T*\r";
        out += showOperator(lines[i]);
    }
    text_ += out + "ET\r";
}

void TPDFFont::SetFontDef(std::unique_ptr<TPDFFontDef> def) {
    def_ = std::move(def);
    if (def_->Descriptor) descriptor_ = &maker_.Make<TPDFFontDescriptor>(*def_->Descriptor);
    if (def_->Descendant) {
        descendant_ = &maker_.Make<TPDFFont>();
        descendant_->SetFontDef(std::move(def_->Descendant));
    }
}

std::string TPDFFont::Body() const {
    std::string out = std::string("<<") + kCrLf + "/Type /Font" + kCrLf + "/Name /F" + std::to_string(FontNumber) +
                      kCrLf + def_->FontEntries();
    if (descriptor_) out += "/FontDescriptor " + ref(descriptor_->ObjectNumber) + kCrLf;
    if (descendant_) out += "/DescendantFonts [" + ref(descendant_->ObjectNumber) + "]" + kCrLf;
    return out + ">>" + kCrLf;
}

TPDFFontDescriptor::TPDFFontDescriptor(TDEZErozi& maker, const TPDFFontDescriptorDef& values)
    : TPDFObject(maker), values_(values) {}

std::string TPDFFontDescriptor::Body() const {
    const auto& v = values_;
    return std::string("<<") + kCrLf + "/Type /FontDescriptor" + kCrLf + "/FontName /" + v.FontName + kCrLf +
           "/Flags " + std::to_string(v.Flags) + kCrLf + "/FontBBox [ " + std::to_string(v.FontBBox[0]) + " " +
           std::to_string(v.FontBBox[1]) + " " + std::to_string(v.FontBBox[2]) + " " + std::to_string(v.FontBBox[3]) +
           " ]" + kCrLf + "/StemV " + std::to_string(v.StemV) + kCrLf + "/Ascent " + std::to_string(v.Ascent) + kCrLf +
           "/CapHeight " + std::to_string(v.CapHeight) + kCrLf + "/Descent " + std::to_string(v.Descent) + kCrLf +
           "/ItalicAngle " + std::to_string(v.ItalicAngle) + kCrLf + ">>" + kCrLf;
}

std::string TPDFInfo::Body() const {
    const DateTime t = nowLocal();
    char date[32];
    std::snprintf(date, sizeof date, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return std::string("<<") + kCrLf + "/CreationDate (D:" + date + ")" + kCrLf + "/Creator <" +
           infoHexText(maker_.Creator) + ">" + kCrLf + "/Producer (DEZErozi0.4)" + kCrLf + "/Author <" +
           infoHexText(maker_.Author) + ">" + kCrLf + "/Title <" + infoHexText(maker_.Title) + ">" + kCrLf +
           "/Subject <" + infoHexText(maker_.Subject) + ">" + kCrLf + ">>" + kCrLf;
}

// ---- the maker ----

void TDEZErozi::SetPageWidth(std::int32_t w) {
    if (canvas_) fail("出力中はサイズ変更はできません。");
    if (w > 0) pageWidth_ = w;
}

void TDEZErozi::SetPageHeight(std::int32_t h) {
    if (canvas_) fail("出力中はサイズ変更はできません。");
    if (h > 0) pageHeight_ = h;
}

std::int32_t TDEZErozi::Reserve() {
    objects_.emplace_back();
    return static_cast<std::int32_t>(objects_.size());
}

void TDEZErozi::BeginDoc(std::ostream* stream) {
    if (!stream) fail("Invarid Stream");
    stream_ = stream;
    Clear();
    catalog_ = &Make<TPDFCatalog>(pageWidth_, pageHeight_);
    for (bool& used : fontUsed_) used = false;
    info_ = &Make<TPDFInfo>();
    NewPage();
}

void TDEZErozi::NewPage() { canvas_ = &catalog_->Pages().AddPage().Contents(); }

TPDFContents& TDEZErozi::Canvas() {
    if (!canvas_) fail("BeginDocが呼び出されていません");
    return *canvas_;
}

void TDEZErozi::EndDoc() {
    std::string file = std::string("%PDF-1.2 ") + kCrLf;
    std::vector<std::size_t> offsets;
    for (const auto& o : objects_) {
        offsets.push_back(file.size());
        file += std::to_string(o->ObjectNumber) + " 0 obj" + kCrLf + o->Body() + "endobj" + kCrLf;
    }
    const std::size_t xref = file.size();
    file += std::string("xref") + kCrLf + "0 " + std::to_string(objects_.size() + 1) + kCrLf + "0000000000 65535 f" +
            kCrLf;
    for (const std::size_t at : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", at);
        file += entry;
    }
    file += std::string("trailer") + kCrLf + "<<" + kCrLf + "/Size " + std::to_string(objects_.size() + 1) + kCrLf +
            "/Root " + ref(catalog_->ObjectNumber) + kCrLf + "/Info " + ref(info_->ObjectNumber) + kCrLf + ">>" +
            kCrLf + "startxref" + kCrLf + std::to_string(xref) + kCrLf + "%%EOF" + kCrLf;
    canvas_ = nullptr;
    stream_->seekp(0);
    stream_->write(file.data(), static_cast<std::streamsize>(file.size()));
    stream_->flush();
    if (!*stream_) throw IoError(sj("PDFファイルに書き込めません"));
}

TPDFFont& TDEZErozi::GetFont(std::uint8_t fontType) {
    if (fontType >= kFontTypes) throw PdfError(formatted("このフォントは現在サポートされていません (%d)", fontType));
    if (fontUsed_[fontType])
        for (int i = 0; i < fonts_.Count(); ++i) {
            auto* f = static_cast<TPDFFont*>(fonts_.Item(i));
            if (f->FontDef().FontType == fontType) return *f;
        }
    TPDFFont& font = Make<TPDFFont>();
    font.FontNumber = fonts_.Add(&font);
    font.SetFontDef(makeFontDef(fontType));
    fontUsed_[fontType] = true;
    return font;
}

void TDEZErozi::Clear() {
    while (!objects_.empty()) objects_.pop_back();
    fonts_.Clear();
    canvas_ = nullptr;
    catalog_ = nullptr;
    info_ = nullptr;
}

}  // namespace tarvo::pdf
