// The PDF document writer: a PDF 1.2 document of pages whose content streams
// hold stroked lines, rectangles and text in the eight built-in fonts. Every
// object stays in memory, owned by the maker TDEZErozi, until EndDoc writes
// the whole file in one pass with its cross-reference table and trailer.
// Texts are CP932; a misuse raises PdfError with the writer's own text, and a
// failing stream raises IoError.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "PMFonts.h"

namespace tarvo::pdf {

class PdfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TDEZErozi;

// A number as content streams write it: rounded to two decimals
// (truncate(x × 100 + 0.5) ÷ 100) in its shortest decimal form.
std::string numberText(float x);

// A 24-bit RGB colour, red in the high byte.
using TColor = std::uint32_t;

class TPDFObject {
public:
    explicit TPDFObject(TDEZErozi& maker);
    virtual ~TPDFObject() = default;
    TPDFObject(const TPDFObject&) = delete;
    TPDFObject& operator=(const TPDFObject&) = delete;
    // The object's text without its "obj" and "endobj" lines.
    virtual std::string Body() const { return {}; }

    std::int32_t ObjectNumber = 0;

protected:
    TDEZErozi& maker_;
};

// References to objects owned elsewhere.
class TPDFObjectList {
public:
    int Add(TPDFObject* o);  // its 0-based index, -1 for none
    TPDFObject* Item(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }
    std::string RefArray() const;  // "[4 0 R 9 0 R ]"

private:
    std::vector<TPDFObject*> items_;
};

class TPDFContents : public TPDFObject {
public:
    using TPDFObject::TPDFObject;
    std::string Body() const override;

    void DrawLine(float x1, float y1, float x2, float y2);
    void DrawRect(float x1, float y1, float x2, float y2);
    void TextOut(float x, float y, std::string_view text);

    std::uint8_t FontType = 0;
    float FontSize = 10, LineWidth = 1;
    std::uint8_t LineJoin = 0, LineCap = 0;
    TColor FillColor = 0, StrokeColor = 0;
    float Leading = 0, CharSpace = 0, WordSpace = 0;

private:
    std::string text_;
};

class TPDFPages;

class TPDFPage : public TPDFObject {
public:
    TPDFPage(TDEZErozi& maker, TPDFPages& parent);
    std::string Body() const override;
    TPDFContents& Contents() { return *contents_; }

private:
    TPDFContents* contents_;
    TPDFPages& parent_;
};

class TPDFPages : public TPDFObject {
public:
    TPDFPages(TDEZErozi& maker, std::int32_t width, std::int32_t height);
    std::string Body() const override;
    TPDFPage& AddPage();

private:
    TPDFObjectList kids_;
    std::int32_t height_, width_;
};

class TPDFCatalog : public TPDFObject {
public:
    TPDFCatalog(TDEZErozi& maker, std::int32_t width, std::int32_t height);
    std::string Body() const override;
    TPDFPages& Pages() { return *pages_; }

private:
    TPDFPages* pages_;
};

class TPDFFontDescriptor : public TPDFObject {
public:
    TPDFFontDescriptor(TDEZErozi& maker, const TPDFFontDescriptorDef& values);
    std::string Body() const override;

private:
    const TPDFFontDescriptorDef& values_;  // owned by the font's definition
};

class TPDFFont : public TPDFObject {
public:
    using TPDFObject::TPDFObject;
    std::string Body() const override;
    void SetFontDef(std::unique_ptr<TPDFFontDef> def);
    const TPDFFontDef& FontDef() const { return *def_; }

    std::int32_t FontNumber = 0;

private:
    std::unique_ptr<TPDFFontDef> def_;
    TPDFFontDescriptor* descriptor_ = nullptr;
    TPDFFont* descendant_ = nullptr;
};

class TPDFInfo : public TPDFObject {
public:
    using TPDFObject::TPDFObject;
    std::string Body() const override;
};

// The UTF-16 hex text of an information property: "FEFF001B6A61001B" then
// each code unit of the CP932 text as four hex digits, at most 1024 units.
std::string infoHexText(std::string_view cp932);

class TDEZErozi {
public:
    TDEZErozi() = default;
    ~TDEZErozi() { Clear(); }
    TDEZErozi(const TDEZErozi&) = delete;
    TDEZErozi& operator=(const TDEZErozi&) = delete;

    std::int32_t PageWidth() const { return pageWidth_; }
    std::int32_t PageHeight() const { return pageHeight_; }
    void SetPageWidth(std::int32_t w);
    void SetPageHeight(std::int32_t h);

    std::string Author, Title, Creator, Subject;  // CP932

    // Starts a document written to stream at EndDoc, with its first page.
    void BeginDoc(std::ostream* stream);
    void NewPage();
    TPDFContents& Canvas();
    // Writes the file and closes the document; the stream stays the caller's.
    void EndDoc();
    TPDFFont& GetFont(std::uint8_t fontType);
    void Clear();

    // Creates an object of the document. Its number is taken when its
    // construction begins, so that the objects it creates follow it.
    template <class T, class... Args>
    T& Make(Args&&... args) {
        auto o = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& ref = *o;
        objects_[static_cast<std::size_t>(o->ObjectNumber - 1)] = std::move(o);
        return ref;
    }
    // The next object number, its place in the object table kept for the object.
    std::int32_t Reserve();
    const TPDFObjectList& Fonts() const { return fonts_; }

private:
    std::ostream* stream_ = nullptr;
    TPDFCatalog* catalog_ = nullptr;
    std::vector<std::unique_ptr<TPDFObject>> objects_;
    TPDFObjectList fonts_;
    TPDFContents* canvas_ = nullptr;
    TPDFInfo* info_ = nullptr;
    bool fontUsed_[kFontTypes] = {};
    std::int32_t pageWidth_ = 596, pageHeight_ = 842;
};

}  // namespace tarvo::pdf
