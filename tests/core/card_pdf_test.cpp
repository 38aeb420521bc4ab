// The race card PDF: on a registered sample world (poppler reads the file,
// its text gives back the race, horse and jockey names, pdftoppm renders
// Japanese glyphs), and on small stores: the past-run cell, the total index,
// the odds state texts, pages of eighteen runners with their headers and
// footers, a local race's header and aptitude lines, the earned prize, and a
// local race whose header shows a central track's name.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "DEZErozi.h"
#include "card_view.h"
#include "cp932.h"
#include "engine_settings.h"
#include "layouts.h"
#include "pdf_tools.h"
#include "record_io.h"
#include "runner_tables.h"
#include "store_fixture.h"
#include "test_support.h"
#include "textfn.h"
#include "unit_pdfwr.h"
#include "wg_world.h"

namespace tarvo {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;  // UTF-8 values

// Whitespace and form feeds removed, so that texts drawn one character under
// another read as one word.
std::string squeezed(std::string s) {
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\n' && c != '\f' && c != '\r') out += c;
    return replaceAll(out, "　", "");
}

std::size_t occurrences(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

// The dark pixels of a grey PGM image (after its three header lines).
std::size_t inked(const std::string& pgm) {
    std::size_t at = 0;
    for (int line = 0; line < 3 && at != std::string::npos; ++line) at = pgm.find('\n', at) + 1;
    std::size_t n = 0;
    for (std::size_t i = at; i < pgm.size(); ++i) n += static_cast<unsigned char>(pgm[i]) < 128 ? 1 : 0;
    return n;
}

// ---- a registered sample world ----

class SampleCardPdf : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home_ = new test::TempDir;
        worldgen::Options o;
        o.out = home_->path() + "source";
        worldgen::Day::parse("20240101", o.from);
        worldgen::Day::parse("20240131", o.to);
        worldgen::generateWorld(o);
        std::string out;
        ASSERT_EQ(test::runCli({"--home", home_->path(), "--source", o.out, "register", "setup", "20240101"}, out), 0)
            << out;
    }
    static void TearDownTestSuite() {
        delete home_;
        home_ = nullptr;
    }

    static test::TempDir* home_;
};
test::TempDir* SampleCardPdf::home_ = nullptr;

TEST_F(SampleCardPdf, PopplerReadsTheCardAndItsNames) {
    const StorePaths paths(home_->path() + "data/");
    loadEngineSettings(home_->path() + "tarvo.ini");
    RaceKey race("2024", "0128", "06", "11");
    RaceCard card = buildRaceCard({paths, home_->path() + "file/"}, race);
    ASSERT_EQ(card.rows.size(), 18u);  // a full page

    const std::string file = home_->path() + "card.pdf";
    std::string out;
    ASSERT_EQ(test::runCli({"--home", home_->path(), "pdf", "2024", "0128", "06", "11", file}, out), 0) << out;
    const test::ToolRun info = test::pdfinfo(file);
    EXPECT_TRUE(test::soundReport(info)) << info.output;
    EXPECT_NE(info.output.find("Pages:           1"), std::string::npos) << info.output;

    const test::ToolRun text = test::pdftotext(file);
    ASSERT_TRUE(test::soundReport(text)) << text.output;
    const std::string all = squeezed(text.output);
    EXPECT_NE(all.find(squeezed(toUtf8(card.header.raceName))), std::string::npos) << toUtf8(card.header.raceName);
    // The jockeys stand one character under another in their column (x 130 to 146).
    const test::ToolRun column = test::runTool("pdftotext -x 130 -y 0 -W 16 -H 842 '" + file + "' -");
    const std::string jockeys = squeezed(column.output);
    for (const ViewRow& row : card.rows) {
        const std::string horse = trimBoth(row[2].text);
        const std::string shown = toUtf8(horse.substr(0, 18));  // nine full-width characters drawn
        const std::string jockey = replaceAll(toUtf8(trimBoth(row[5].text)), "ー", "｜");
        EXPECT_NE(all.find(shown), std::string::npos) << shown;
        EXPECT_NE(jockeys.find(jockey.substr(0, 12)), std::string::npos) << jockey << "\n" << jockeys;
    }
}

// Japanese glyphs render through the system's font substitution: two different
// characters give two different images with ink (empty boxes would be alike).
TEST_F(SampleCardPdf, RenderedPagesShowJapaneseGlyphs) {
    const auto render = [&](const std::string& name, const std::string& utf8) {
        const std::string file = home_->path() + name + ".pdf";
        {
            std::ofstream f(file, std::ios::binary);
            pdf::TDEZErozi d;
            d.BeginDoc(&f);
            d.Canvas().FontType = pdf::kMSGothic;
            d.Canvas().FontSize = 400;
            d.Canvas().TextOut(50, 300, sj(utf8));
            d.EndDoc();
        }
        const test::ToolRun r =
            test::runTool("pdftoppm -r 20 -gray -singlefile '" + file + "' '" + home_->path() + name + "'");
        EXPECT_TRUE(test::soundReport(r)) << r.output;
        return test::slurp(home_->path() + name + ".pgm");
    };
    const std::string horse = render("horse", "馬"), out = render("out", "出");
    ASSERT_FALSE(horse.empty());
    EXPECT_NE(horse, out);
    EXPECT_GT(inked(horse), 100u);
    EXPECT_GT(inked(out), 100u);

    std::string cli;
    const std::string card = home_->path() + "card2.pdf";
    ASSERT_EQ(test::runCli({"--home", home_->path(), "pdf", "2024", "0128", "06", "11", card}, cli), 0) << cli;
    const test::ToolRun page = test::runTool("pdftoppm -r 30 -gray -singlefile '" + card + "' '" + home_->path() + "card'");
    EXPECT_TRUE(test::soundReport(page)) << page.output;
    EXPECT_GT(inked(test::slurp(home_->path() + "card.pgm")), 1000u);
}

// ---- small stores ----

class CardPdfTest : public ::testing::Test {
protected:
    CardPdfTest() : store(dir.path() + "data/") { engineSettings() = EngineSettings{}; }

    void write(Family f, const Fields& fields) {
        LineBuilder b(f);
        for (const auto& [name, value] : fields) b.assignRaw(name, sj(value));
        writeRecord(store.paths.file(f, b.line()), b.line(), recordKey(f));
    }
    static Fields key(const RaceKey& r, Fields more) {
        Fields f = {{"Year", r.year},   {"MonthDay", r.monthDay}, {"JyoCD", r.jyoCD},
                    {"Kaiji", "01"},    {"Nichiji", "01"},        {"RaceNum", r.raceNum}};
        f.insert(f.end(), more.begin(), more.end());
        return f;
    }
    void race(const RaceKey& r, Fields more = {}) {
        Fields f = {{"DataKubun", "7"}, {"TrackCD", "23"}, {"Kyori", "1200"}, {"SyubetuCD", "13"},
                    {"JyokenCD5", "005"}, {"HassoTime", "1525"}, {"Hondai", "テスト特別"}, {"SyussoTosu", "12"}};
        f.insert(f.end(), more.begin(), more.end());
        write(Family::RA, key(r, f));
    }
    void runner(const RaceKey& r, int umaban, Fields more = {}) {
        const std::string u = (umaban < 10 ? "0" : "") + std::to_string(umaban);
        Fields f = {{"Umaban", u},          {"Wakuban", "1"},     {"KettoNum", "20190000" + u},
                    {"Bamei", "ウマ" + u},  {"SexCD", "1"},       {"Barei", "04"},
                    {"Futan", "570"},       {"IJyoCD", "0"},      {"KakuteiJyuni", u},
                    {"Time", "1123"},       {"TimeDiff", "+003"}, {"HaronTimeL3", "355"},
                    {"KisyuRyakusyo", "騎手" + u}, {"BaTaijyu", "480"}, {"Ninki", "03"}};
        f.insert(f.end(), more.begin(), more.end());
        write(Family::SE, key(r, f));
    }

    EvalSource source() const { return {store.paths, dir.path() + "file/"}; }

    // The card of a race as the main window builds it, written to a file.
    std::string writeCard(const RaceKey& r, RaceCard* built = nullptr) {
        const RaceCard card = buildRaceCard(source(), r);
        if (built) *built = card;
        const std::string file = dir.path() + "card" + r.jyoCD + ".pdf";
        writeRaceCardPdfFile(source(), cardPdfRace(card, r), card, runnerTable(kMainWindowCaller), file);
        const test::ToolRun info = test::pdfinfo(file);
        EXPECT_TRUE(test::soundReport(info)) << info.output;
        return file;
    }

    test::TempDir dir;
    test::StoreFixture store;
};

TEST_F(CardPdfTest, TotalIndex) {
    const struct {
        const char *run, *l3f, *total;
    } cases[] = {{"80", "85", "83"}, {"85", "80", "85"}, {"-81", "-80", "-81"}, {"**", "90", "**"},
                 {"-150", "10", "**"}, {"70", "--", "70"}, {"70", "70", "70"}};
    for (const auto& c : cases) EXPECT_EQ(totalIndexText(c.run, c.l3f), c.total) << c.run << " " << c.l3f;
}

TEST_F(CardPdfTest, OddsStateTexts) {
    const RaceKey r("2024", "0510", "06", "11");
    const struct {
        const char *kubun, *happyo, *text;
    } cases[] = {{"1", "05101530", "オッズ：15時30分 発表分"}, {"2", "05090905", "オッズ：9日9時5分 発表分"},
                 {"3", "05101540", "オッズ：＜最終オッズ＞"},     {"4", "05101600", "オッズ：＜確定オッズ＞"},
                 {"5", "05101600", "オッズ：＜確定オッズ＞"},     {"9", "05101200", "オッズ：＜レース中止＞"},
                 {"0", "05101200", ""},                           {"1", "00000000", ""}};
    EXPECT_EQ(oddsStateText(store.paths, r), "");  // no odds record
    for (const auto& c : cases) {
        write(Family::O2, key(r, {{"DataKubun", c.kubun}, {"HappyoTime", c.happyo}}));
        EXPECT_EQ(toUtf8(oddsStateText(store.paths, r)), c.text) << c.kubun << " " << c.happyo;
    }
}

TEST_F(CardPdfTest, PastRunCell) {
    const RaceKey past("2024", "0303", "06", "05");
    race(past, {{"Ryakusyo3", "春風"}, {"SibaBabaCD", "0"}, {"DirtBabaCD", "3"}});
    runner(past, 1, {{"Futan", "575"}, {"Jyuni2c", "00"}, {"Jyuni3c", "03"}, {"Jyuni4c", "02"}});
    runner(past, 2, {{"IJyoCD", "1"}, {"Futan", "550"}});
    const auto cell = [&](int umaban) {
        std::map<std::pair<int, float>, std::pair<float, std::string>> texts;
        for (const CellText& t : pastRunCell(source(), past.year + past.monthDay + past.jyoCD + past.raceNum,
                                             "201900000" + std::to_string(umaban)))
            texts[{t.line, t.dx}] = {t.size, toUtf8(t.text)};
        return texts;
    };
    using Placed = std::pair<float, std::string>;
    const auto placed = [](const auto& texts, int line, float dx) {
        const auto it = texts.find({line, dx});
        return it == texts.end() ? Placed(0, "(none)") : it->second;
    };
    const auto normal = cell(1);
    EXPECT_EQ(placed(normal, 1, 196), Placed(7, " 3.03"));  // a one-digit month moves left
    EXPECT_EQ(placed(normal, 1, 214), Placed(7, "中山"));
    EXPECT_EQ(placed(normal, 1, 229), Placed(7, "12頭"));
    EXPECT_EQ(placed(normal, 1, 242), Placed(7, " 1番"));
    EXPECT_EQ(placed(normal, 1, 255), Placed(7, " 3人"));
    EXPECT_EQ(placed(normal, 2, 199), Placed(7, "春風  (１勝)  "));
    EXPECT_EQ(placed(normal, 2, 240), Placed(7, "ダ1200"));
    EXPECT_EQ(placed(normal, 2, 261), Placed(7, "重"));
    EXPECT_EQ(placed(normal, 3, 199), Placed(6, "57.5"));
    EXPECT_EQ(placed(normal, 3, 210), Placed(7, "騎手01"));
    EXPECT_EQ(placed(normal, 3, 232), Placed(7, "1.12.3"));
    EXPECT_EQ(placed(normal, 3, 254), Placed(6, "+0.3"));
    EXPECT_EQ(placed(normal, 4, 240), Placed(8, " 1着"));
    EXPECT_EQ(placed(normal, 4, 257), Placed(7, "480"));
    EXPECT_EQ(placed(normal, 5, 199), Placed(7, "③-③-②"));  // second corner not passed: the third shown
    EXPECT_EQ(placed(normal, 5, 229), Placed(7, "35.5("));
    EXPECT_EQ(placed(normal, 5, 246), Placed(7, "36.8)"));  // (72.3 - 35.5) × 6 ÷ (12 - 6)

    const auto cancelled = cell(2);
    EXPECT_EQ(placed(cancelled, 3, 199), Placed(7, "55"));
    EXPECT_EQ(placed(cancelled, 3, 232), Placed(7, ""));
    EXPECT_EQ(placed(cancelled, 3, 254), Placed(6, ""));
    EXPECT_EQ(placed(cancelled, 4, 199), Placed(8, " **"));
    EXPECT_EQ(placed(cancelled, 4, 210), Placed(7, "( **/"));
    EXPECT_EQ(placed(cancelled, 4, 226), Placed(7, " **)"));
    EXPECT_EQ(placed(cancelled, 4, 240), Placed(8, "取消"));

    EXPECT_TRUE(pastRunCell(source(), "", "2019000001").empty());
    // A run whose records are gone keeps the fixed texts of the format.
    const auto missing = pastRunCell(source(), "202403030699", "2019000001");
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ(toUtf8(missing[2].text), "  頭");
}

// Nineteen runners: a second page with its own header; the footer on both
// pages of a central race and on neither of a local one, whose bands carry
// three aptitude lines instead of four.
TEST_F(CardPdfTest, PagesHeadersFootersAndAptitudeLines) {
    const struct {
        const char* jyoCD;
        std::size_t footers, aptitudeLines;
        const char* trackLabel;
    } cases[] = {{"06", 2, 19 * 4, "中山(芝・ダ)"}, {"30", 0, 19 * 3, "門別(ダ)"}};
    for (const auto& c : cases) {
        const RaceKey r("2024", "0510", c.jyoCD, "11");
        race(r);
        for (int u = 1; u <= 19; ++u) runner(r, u);
        const std::string file = writeCard(r);
        const test::ToolRun info = test::pdfinfo(file);
        EXPECT_NE(info.output.find("Pages:           2"), std::string::npos) << info.output;
        const std::string text = squeezed(test::pdftotext(file).output);
        EXPECT_EQ(occurrences(text, "発走"), 2u) << c.jyoCD;
        EXPECT_EQ(occurrences(text, "予想ﾍﾟｰｽ"), c.footers) << c.jyoCD;
        EXPECT_EQ(occurrences(text, c.trackLabel), 2u) << c.jyoCD;
        EXPECT_EQ(occurrences(test::slurp(file), "( 0- 0- 0- 0) Tj"), c.aptitudeLines) << c.jyoCD;
        EXPECT_NE(text.find("ウマ19"), std::string::npos);
    }
}

TEST_F(CardPdfTest, EarnedPrizeOnlyFromTheRunnersOwnAptitudeRecord) {
    const RaceKey r("2024", "0510", "06", "11");
    race(r);
    for (int u = 1; u <= 2; ++u) runner(r, u);
    write(Family::CK, key(r, {{"KettoNum", "2019000001"}, {"RuikeiSyutokuHeichi", "000123456"},
                              {"Uma_KyoriSiba", "001002000000003004"}}));
    const std::string file = test::slurp(writeCard(r));
    EXPECT_NE(file.find("111 723 Td\r(  1235) Tj"), std::string::npos);  // 1234.56 rounded
    EXPECT_NE(file.find("162 747 Td\r( 1- 2- 0- 7) Tj"), std::string::npos);
    EXPECT_NE(file.find("111 683 Td\r(      ) Tj"), std::string::npos);
}

// The header of a race at a track whose name reads as a central track's (札チ
// shown as 札幌) stays a local race's: its own track code decides.
TEST_F(CardPdfTest, ALocalRaceShownUnderACentralTrackNameStaysLocal) {
    const RaceKey r("2024", "0510", "58", "11");
    race(r);
    for (int u = 1; u <= 5; ++u) runner(r, u);
    RaceCard card;
    const std::string file = writeCard(r, &card);
    ASSERT_EQ(toUtf8(cardPdfRace(card, r).trackName), "札幌");
    const std::string text = squeezed(test::pdftotext(file).output);
    EXPECT_NE(text.find("札幌(ダ)"), std::string::npos);
    EXPECT_EQ(text.find("芝・ダ"), std::string::npos);
    EXPECT_EQ(text.find("予想ﾍﾟｰｽ"), std::string::npos);
    EXPECT_EQ(occurrences(test::slurp(file), "( 0- 0- 0- 0) Tj"), 5u * 3);
}

TEST_F(CardPdfTest, HeaderTextsAndDocumentProperties) {
    const RaceKey r("2024", "0510", "06", "11");
    race(r);
    for (int u = 1; u <= 3; ++u) runner(r, u, {{"Futan", u == 1 ? "575" : "570"}});
    RaceCard card;
    const std::string file = writeCard(r, &card);
    EXPECT_EQ(toUtf8(cardPdfDateText("20240510")), "2024.05.10(金)");
    EXPECT_EQ(toUtf8(cardPdfDateText("20240231")), "2024.02.31(**)");
    EXPECT_EQ(toUtf8(cardPdfCourseText(sj("ダート1200m"))), "ダ1200m");
    EXPECT_EQ(toUtf8(cardPdfCourseText(sj("芝1600m"))), "芝1600m");
    EXPECT_EQ(cardPdfCourseText(""), "");
    const std::string raw = test::slurp(file);
    EXPECT_NE(raw.find("/MediaBox [ 0 0 595 842 ]"), std::string::npos);
    EXPECT_NE(raw.find("/Author <FEFF001B6A61001B"), std::string::npos);
    const std::string info = test::pdfinfo(file).output;
    EXPECT_NE(info.find("出馬表：テスト特別"), std::string::npos) << info;
    EXPECT_NE(info.find("2024.05.10 中山11R ダ1200 "), std::string::npos) << info;
    // Weights carried: 57.5 as it is, 57 with a leading space.
    EXPECT_NE(raw.find("131 716 Td\r(57.5) Tj"), std::string::npos);
    EXPECT_NE(raw.find("131 676 Td\r( 57) Tj"), std::string::npos);
    const std::string text = squeezed(test::pdftotext(file).output);
    EXPECT_NE(text.find("15:25発走"), std::string::npos) << text;
}

}  // namespace
}  // namespace tarvo
