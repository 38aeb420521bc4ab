// The PDF document writer: the exact bytes of a small document, the content
// operators and their number form, text splitting and string kinds, object
// numbering with fonts and pages, the information dictionary's hex text, the
// misuse errors, and poppler reading what it writes.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "DEZErozi.h"
#include "cp932.h"
#include "pdf_tools.h"
#include "test_support.h"

namespace tarvo::pdf {
namespace {

// Lines each ending in CR LF.
std::string crlf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

std::string withoutDate(const std::string& file) {
    return std::regex_replace(file, std::regex("D:[0-9]{14}"), "D:yyyymmddhhnnss");
}

// A document drawn by draw on its first page, as written.
template <class Draw>
std::string document(Draw draw) {
    TDEZErozi d;
    std::ostringstream out;
    d.BeginDoc(&out);
    draw(d, d.Canvas());
    d.EndDoc();
    return out.str();
}

// The content text of page 1 (object 5).
std::string firstContents(const std::string& file) {
    const std::size_t from = file.find("stream\r\n", file.find("5 0 obj")) + 8;
    return file.substr(from, file.find("\nendstream", from) - from);
}

std::string drawn(float x, float y, std::string_view text) {
    return firstContents(document([&](TDEZErozi&, TPDFContents& c) { c.TextOut(x, y, text); }));
}

TEST(PdfWriter, ASmallDocumentIsWrittenByteForByte) {
    TDEZErozi d;
    d.SetPageWidth(595);
    std::ostringstream out;
    d.BeginDoc(&out);
    TPDFContents& c = d.Canvas();
    c.FontType = kMSGothic;
    c.LineWidth = 0.7f;
    c.DrawLine(197, 765, 553, 765);
    c.LineWidth = 1.3f;
    c.DrawRect(15, 780, 580, 820);
    c.FontSize = 6;
    c.TextOut(16, 822, "(1) a\\b");
    c.FontSize = 10;
    c.TextOut(16, 809, sj("発走"));
    d.Author = "TARVO";
    d.EndDoc();

    const std::string gothic = "/BaseFont /#82#6C#82#72#20#83#53#83#56#83#62#83#4E";
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "479 ";
    const std::string contents =
        "197 765 m\r0 J\r0 0 0 RG \r0.7 w\r553 765 l\rS\rn\r"
        "15 780 m\r1.3 w\r0 j\r0 0 0 RG \r15 820 l\r580 820 l\r580 780 l\rs\r"
        "BT\r/F0 6 Tf\r0 0 0 rg \r0 TL\r0 Tc\r0 Tw\r16 822 Td\r(\\(1\\) a\\\\b) Tj\rET\r"
        "BT\r/F0 10 Tf\r0 0 0 rg \r0 TL\r0 Tc\r0 Tw\r16 809 Td\r<94AD9196> Tj\rET\r";
    const std::string expected =
        crlf({"%PDF-1.2 ", "1 0 obj", "<<", "/Type /Catalog", "/Pages 2 0 R", ">>", "endobj", "2 0 obj", "<<",
              "/Kids [4 0 R ]", "/Count 1", "/Type /Pages", "/MediaBox [ 0 0 595 842 ]", ">>", "endobj", "3 0 obj",
              "<<", "/CreationDate (D:yyyymmddhhnnss)", "/Creator <FEFF001B6A61001B>", "/Producer (DEZErozi0.4)",
              "/Author <FEFF001B6A61001B0054004100520056004F>", "/Title <FEFF001B6A61001B>",
              "/Subject <FEFF001B6A61001B>", ">>", "endobj", "4 0 obj", "<<", "/Type /Page", "/Parent 2 0 R",
              "/Resources <<", "/Font <<", "/F0 6 0 R", ">>", "/ProcSet [ /PDF /Text ]", ">>", "/Contents 5 0 R",
              ">>", "endobj", "5 0 obj", "<<", "/Length 235", ">>", "stream"}) +
        contents + "\n" +
        crlf({"endstream", "endobj", "6 0 obj", "<<", "/Type /Font", "/Name /F0", "/Subtype /Type0", gothic,
              "/Encoding /90msp-RKSJ-H", "/DescendantFonts [7 0 R]", ">>", "endobj", "7 0 obj", "<<", "/Type /Font",
              "/Name /F0", "/Subtype /CIDFontType2", gothic, "/WinCharSet /128", "/CIDSystemInfo <<",
              "/Registry(Adobe)", "/Ordering(Japan1)", "/Supplement 2", ">>", "/DW 1000", "/W [", "1 [ " + sixteen,
              sixteen, sixteen, sixteen, sixteen, "479 479 479 479 479 479 479 479 479 479 479 479 479 479]",
              "326 [ 958 479 479 479 479 479 479 479 479 479 479 479 479 479 479 479 ", sixteen, sixteen, sixteen,
              "]", "631 631 479", "]", "", "/FontDescriptor 8 0 R", ">>", "endobj", "8 0 obj", "<<",
              "/Type /FontDescriptor", "/FontName /#82#6C#82#72#20#83#53#83#56#83#62#83#4E", "/Flags 4",
              "/FontBBox [ -143 -143 1015 872 ]", "/StemV 78", "/Ascent 872", "/CapHeight 872", "/Descent -143",
              "/ItalicAngle 0", ">>", "endobj", "xref", "0 9", "0000000000 65535 f", "0000000011 00000 n",
              "0000000066 00000 n", "0000000158 00000 n", "0000000375 00000 n", "0000000514 00000 n",
              "0000000807 00000 n", "0000000976 00000 n", "0000001916 00000 n", "trailer", "<<", "/Size 9",
              "/Root 1 0 R", "/Info 3 0 R", ">>", "startxref", "2131", "%%EOF"});
    EXPECT_EQ(withoutDate(out.str()), expected);
    EXPECT_EQ(contents.size(), 235u);  // /Length leaves out the LF before endstream
}

TEST(PdfWriter, NumberForm) {
    const std::vector<std::pair<float, std::string>> cases = {
        {10, "10"}, {0.8f, "0.8"}, {1.3f, "1.3"}, {5.25f, "5.25"}, {0.7f, "0.7"}, {0, "0"},
        {754.004f, "754"}, {2.345f, "2.35"}, {35.8f, "35.8"}, {0.5019608f, "0.5"}};
    for (const auto& [x, text] : cases) EXPECT_EQ(numberText(x), text) << x;
}

TEST(PdfWriter, StrokeAndFillColoursAreWrittenAsFractions) {
    const std::string c = firstContents(document([](TDEZErozi&, TPDFContents& canvas) {
        canvas.StrokeColor = 0xFF0080;
        canvas.DrawLine(1, 2, 3, 4);
        canvas.FillColor = 0x00FF00;
        canvas.LineCap = 2;
        canvas.TextOut(5, 6, "x");
    }));
    EXPECT_NE(c.find("1 0 0.5 RG \r"), std::string::npos) << c;
    EXPECT_NE(c.find("0 1 0 rg \r"), std::string::npos) << c;
}

TEST(PdfWriter, TextLinesAndStringKinds) {
    const std::string head = "BT\r/F0 10 Tf\r0 0 0 rg \r0 TL\r0 Tc\r0 Tw\r1 2 Td\r";
    const struct {
        std::string text, shows;
    } cases[] = {
        {"", ""},
        {"abc", "(abc) Tj\r"},
        {"a(b)c\\", "(a\\(b\\)c\\\\) Tj\r"},
        {"one\r\ntwo", "(one) Tj\rT*\r(two) Tj\r"},
        {"one\rtwo", "(one) Tj\rT*\r(two) Tj\r"},
        {"one\r\n", "(one) Tj\r"},
        {"one\ntwo", "(one\ntwo) Tj\r"},
        {"a\r\n\r\nb", "(a) Tj\rT*\r() Tj\rT*\r(b) Tj\r"},
        {sj("ｱｲ(3)"), sj("(ｱｲ\\(3\\)) Tj\r")},  // half-width katakana are single bytes
        {sj("3着") + "\r\n(x)", "<339285> Tj\rT*\r(\\(x\\)) Tj\r"},
    };
    for (const auto& c : cases) EXPECT_EQ(drawn(1, 2, c.text), head + c.shows + "ET\r") << toUtf8(c.text);
}

TEST(PdfWriter, ObjectsAreNumberedByCreation) {
    // One page and no text: five objects and an empty font dictionary.
    const std::string empty = document([](TDEZErozi&, TPDFContents&) {});
    EXPECT_NE(empty.find("/Font <<\r\n>>\r\n"), std::string::npos);
    EXPECT_NE(empty.find("xref\r\n0 6\r\n"), std::string::npos);

    // Gothic first (6 to 8, /F0), Arial next (9 and its descriptor 10, /F1), then
    // page 2 (11, 12); every page lists both fonts.
    const std::string file = document([](TDEZErozi& d, TPDFContents& c) {
        c.FontType = kMSGothic;
        c.TextOut(1, 1, sj("馬"));
        c.FontType = kArial;
        c.TextOut(1, 1, "A");
        d.NewPage();
        d.Canvas().FontType = kMSGothic;
        d.Canvas().TextOut(1, 1, "B");
    });
    for (const char* part : {"/Kids [4 0 R 11 0 R ]", "/Count 2", "6 0 obj\r\n<<\r\n/Type /Font\r\n/Name /F0\r\n/Subtype /Type0",
                             "7 0 obj\r\n<<\r\n/Type /Font\r\n/Name /F0\r\n/Subtype /CIDFontType2",
                             "8 0 obj\r\n<<\r\n/Type /FontDescriptor", "9 0 obj\r\n<<\r\n/Type /Font\r\n/Name /F1\r\n/Subtype /TrueType",
                             "/FontDescriptor 10 0 R", "/Contents 12 0 R", "xref\r\n0 13\r\n"})
        EXPECT_NE(file.find(part), std::string::npos) << part;
    const std::string resources = "/Font <<\r\n/F0 6 0 R\r\n/F1 9 0 R\r\n>>";
    EXPECT_NE(file.find(resources), file.rfind(resources));
    EXPECT_NE(file.find("BT\r/F0 10 Tf"), std::string::npos);
    EXPECT_NE(file.find("BT\r/F1 10 Tf"), std::string::npos);
}

TEST(PdfWriter, TrueTypeFontsCarryTheirWidthTables) {
    struct Case {
        std::uint8_t type;
        std::string name, firstLine;
        int space, a;
    };
    const std::vector<Case> cases = {
        {kCentury, "Century", "719 266 283 373 533 533 798 781 196 319 319 479 581 266 319 266", 266, 692},
        {kCenturyBold, "Century,Bold", "719 267 284 374 533 533 799 781 196 320 320 480 581 267 320 267", 267, -1},
        {kArial, "Arial", "719 266 266 340 533 533 852 639 183 319 319 373 559 266 319 266", 266, 639},
        {kArialBold, "Arial,Bold", "719 266 319 454 533 533 852 692 228 319 319 373 559 266 319 266", 266, -1},
        {kCourier, "Courier", "575 575 575 575 575 575 575 575 575 575 575 575 575 575 575 575", 575, 575},
    };
    for (const Case& c : cases) {
        const auto def = makeFontDef(c.type);
        const auto& tt = dynamic_cast<const TPDFTrueTypeFontDef&>(*def);
        EXPECT_EQ(tt.BaseFont, c.name);
        EXPECT_EQ(tt.WidthsText.substr(0, 2 + c.firstLine.size() + 3), "[ " + c.firstLine + " \r\n") << c.name;
        EXPECT_EQ(tt.WidthsText.substr(tt.WidthsText.size() - 2), " ]");
        EXPECT_EQ(std::count(tt.WidthsText.begin(), tt.WidthsText.end(), '\n'), 14) << c.name;  // 225 numbers
        EXPECT_EQ(tt.Widths[32], c.space);
        if (c.a > 0) {
            EXPECT_EQ(tt.Widths[65], c.a) << c.name;
        }
        EXPECT_EQ(tt.Descriptor->FontName, c.name);
    }
    const auto mincho = makeFontDef(kMSMincyo);
    EXPECT_EQ(mincho->Descendant->Descriptor->Flags, 6);
    EXPECT_EQ(mincho->Descendant->Widths[32], 479);
    EXPECT_EQ(mincho->Descendant->Widths[160], 958);
    EXPECT_EQ(mincho->Descendant->Widths[0], 1000);
}

TEST(PdfWriter, InformationTexts) {
    EXPECT_EQ(infoHexText(""), "FEFF001B6A61001B");
    EXPECT_EQ(infoHexText(sj("出馬表：A ｱ")), "FEFF001B6A61001B51FA99AC8868FF1A00410020FF71");
    EXPECT_EQ(infoHexText(std::string(2000, 'a')).size(), 16u + 4 * 1024);
}

TEST(PdfWriter, MisuseRaisesTheWritersTexts) {
    const auto message = [](auto&& f) {
        try {
            f();
        } catch (const PdfError& e) {
            return toUtf8(e.what());
        }
        return std::string("no error");
    };
    TDEZErozi d;
    EXPECT_EQ(message([&] { d.Canvas(); }), "BeginDocが呼び出されていません");
    EXPECT_EQ(message([&] { d.BeginDoc(nullptr); }), "Invarid Stream");
    EXPECT_EQ(message([&] { TPDFObjectList().Item(0); }), "Internel Error Invalid Index 0");

    d.SetPageWidth(0);
    d.SetPageHeight(-5);
    EXPECT_EQ(d.PageWidth(), 596);
    EXPECT_EQ(d.PageHeight(), 842);
    std::ostringstream out;
    d.BeginDoc(&out);
    EXPECT_EQ(message([&] { d.SetPageWidth(600); }), "出力中はサイズ変更はできません。");
    EXPECT_EQ(message([&] { d.SetPageHeight(600); }), "出力中はサイズ変更はできません。");
    d.Canvas().FontType = 8;
    EXPECT_EQ(message([&] { d.Canvas().TextOut(1, 1, "x"); }), "このフォントは現在サポートされていません (8)");
    EXPECT_TRUE(out.str().empty());  // nothing is written before EndDoc
    d.EndDoc();
    d.SetPageWidth(600);  // closed again
    EXPECT_EQ(d.PageWidth(), 600);

    // A used maker starts afresh.
    std::ostringstream again;
    d.BeginDoc(&again);
    d.EndDoc();
    EXPECT_NE(again.str().find("xref\r\n0 6\r\n"), std::string::npos);
    EXPECT_NE(again.str().find("/MediaBox [ 0 0 600 842 ]"), std::string::npos);
}

TEST(PdfWriter, PopplerReadsTheDocument) {
    test::TempDir dir;
    const std::string path = dir.path() + "doc.pdf";
    {
        std::ofstream f(path, std::ios::binary);
        TDEZErozi d;
        d.Title = sj("出馬表：テスト");
        d.BeginDoc(&f);
        for (int page = 0; page < 3; ++page) {
            if (page > 0) d.NewPage();
            TPDFContents& c = d.Canvas();
            c.FontType = kMSGothic;
            c.DrawRect(15, 780, 580, 820);
            c.TextOut(50, 700, sj("ページ") + std::to_string(page + 1));
            c.FontType = kCourier;
            c.TextOut(50, 600, "Courier (text)");
        }
        d.EndDoc();
    }
    const test::ToolRun info = test::pdfinfo(path);
    EXPECT_TRUE(test::soundReport(info)) << info.output;
    EXPECT_NE(info.output.find("Pages:           3"), std::string::npos) << info.output;
    const test::ToolRun text = test::pdftotext(path);
    EXPECT_TRUE(test::soundReport(text)) << text.output;
    for (const char* t : {"ページ1", "ページ2", "ページ3", "Courier (text)"})
        EXPECT_NE(text.output.find(t), std::string::npos) << t << "\n" << text.output;
}

}  // namespace
}  // namespace tarvo::pdf
