// The race card on the main window: a chosen race fills the header, the grid
// (frame colours as drawn), the progress bar and the bets; the PC/US buttons
// rebuild the bets; the prediction options write the settings file and warn.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "card_support.h"
#include "cp932.h"
#include "fsys.h"
#include "grid.h"
#include "inifile.h"
#include "layouts.h"
#include "message_capture.h"
#include "pdf_tools.h"
#include "person_fixture.h"
#include "race_card.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"
#include "unit_main.h"

namespace tarvo {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class RaceCardTest : public ::testing::Test {
protected:
    RaceCardTest() {
        ra.year = "2024";
        ra.monthDay = "0602";
        ra.jyoCD = "05";
        ra.raceNum = "11";
        test::storeTurfMileRace(store, ra, "2");
        for (int n = 1; n <= 3; ++n) {
            LineBuilder s(Family::SE);
            test::setRaceKey(s, ra);
            const std::string num = "0" + std::to_string(n);
            s.assign("Umaban", num);
            s.assign("Wakuban", n == 2 ? "4" : "1");
            s.assign("KettoNum", "20200000" + num);
            s.assign("Bamei", sj("ウマ") + num);
            s.assign("Futan", "550");
            s.assign("KisyuCode", n == 1 ? "01234" : "09999");
            s.assign("KisyuRyakusyo", sj(n == 1 ? "騎手甲" : "騎手乙"));
            s.assignRaw("UserYoso", sj(n == 1 ? "◎" : n == 3 ? "○" : ""));
            writeRecord(store.paths.se(ra.year, ra.monthDay, ra.jyoCD), s.line(), recordKey(Family::SE));
        }
    }

    static void show(TfrmMain& w) { test::showOnlyRace(w, QDate(2024, 6, 2)); }
    static QString text(TfrmMain& w, const char* label) { return w.findChild<QLabel*>(u(label))->text(); }

    test::TempDir home;
    test::StoreFixture store{home.path() + "data/"};
    test::StoreFixture::Race ra;
};

TEST_F(RaceCardTest, ChosenRaceFillsHeaderGridProgressAndBets) {
    test::MessageCapture capture;
    TfrmMain w(home.path());
    show(w);
    EXPECT_EQ(text(w, "lbl_Date"), u("20240602"));
    EXPECT_EQ(text(w, "lbl_RaceNum"), u("東京11R"));
    EXPECT_EQ(text(w, "lbl_h_time"), u("15：40"));
    EXPECT_EQ(text(w, "lbl_Crs"), u("芝1600m"));
    auto* grid = w.findChild<Grid*>(u("stgUmaList"));
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->isVisible() || !grid->isHidden());
    ASSERT_EQ(grid->rows()->dataRows(), 3);
    EXPECT_EQ(grid->rows()->data(grid->rows()->index(2, 2), Qt::DisplayRole).toString(), u("ウマ03"));
    auto* progress = w.findChild<QProgressBar*>(u("prgExec"));
    EXPECT_EQ(progress->value(), progress->maximum());
    EXPECT_EQ(progress->maximum(), 3);

    // Frame "4" is drawn blue.
    grid->resize(grid->size());
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->rows()->index(1, 0));
    EXPECT_EQ(image.pixelColor(cell.left() + 1, cell.top() + 2), QColor(0, 0, 255));
    // Its number is written in white, and the narrow frame column keeps its table width.
    bool white = false;
    for (int x = cell.left(); x <= cell.right(); ++x)
        for (int y = cell.top(); y <= cell.bottom(); ++y) white = white || image.pixelColor(x, y).lightness() > 200;
    EXPECT_TRUE(white);
    EXPECT_LE(grid->columnWidth(0), 20);

    // Three runners: no PC marks, no PC bets; the US marks give 01－03.
    auto* bets = w.findChild<Grid*>(u("stgUmaren"));
    EXPECT_EQ(bets->rows()->dataRows(), 0);
    w.findChild<QRadioButton*>(u("rbtnUS"))->click();
    ASSERT_EQ(bets->rows()->dataRows(), 1);
    EXPECT_EQ(bets->rowCount(), 17) << "eighteen rows with the header";
    EXPECT_EQ(bets->rows()->data(bets->rows()->index(0, 0), Qt::DisplayRole).toString(), u("01－03"));
    EXPECT_EQ(bets->rows()->data(bets->rows()->index(0, 1), Qt::DisplayRole).toString(), u("--.-"));
    w.findChild<QRadioButton*>(u("rbtnPC"))->click();
    EXPECT_EQ(bets->rows()->dataRows(), 0);
    EXPECT_EQ(bets->rowCount(), 5);
    EXPECT_TRUE(w.action(u("mnuFileOut"))->isEnabled());
    EXPECT_TRUE(w.findChild<QPushButton*>(u("btnResult"))->font().bold()) << "DataKubun 2";
}

TEST_F(RaceCardTest, DoubleClickOnAJockeyTheStoreKnowsOpensItsDataScreen) {
    test::storePerson(store.paths, {Family::KS, {{"KisyuCode", "01234"}, {"KisyuRyakusyo", "騎手甲"}}});
    test::MessageCapture capture;
    TfrmMain w(home.path());
    show(w);
    auto* grid = w.findChild<Grid*>(u("stgUmaList"));
    QStringList opened;
    const auto doubleClick = [&](int row) {
        // A modal screen that opens is read and closed at once; none leaves the list empty.
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened << d->windowTitle();
                d->reject();
            }
        });
        emit grid->doubleClicked(grid->rows()->index(row, 5));
        QApplication::processEvents();
    };
    doubleClick(0);
    EXPECT_EQ(opened, QStringList{u("騎手データ")});
    doubleClick(1);  // 09999 is no jockey of the store: nothing opens
    EXPECT_EQ(opened, QStringList{u("騎手データ")});
}

// The user prediction input on a double click in the US column: the unique marks
// other runners hold are disabled, the runner's own mark is selected, and the
// chosen mark goes into the card and into the runner's stored line only.
TEST_F(RaceCardTest, UserMarkInputDisablesHeldMarksAndStoresTheChoice) {
    TfrmMain w(home.path());
    show(w);
    auto* grid = w.findChild<Grid*>(u("stgUmaList"));
    const std::string sePath = store.paths.se(ra.year, ra.monthDay, ra.jyoCD);
    std::string before;
    ASSERT_TRUE(readFile(sePath, before));
    struct Seen {
        QString number, name;
        std::vector<bool> enabled;
        int checked = -1;
    };
    const auto enterMark = [&](int row, int button) {
        Seen seen;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->windowTitle(), u("ユーザー予想の入力"));
            seen.number = d->findChild<QLabel*>(u("lbl_Unum"))->text();
            seen.name = d->findChild<QLabel*>(u("lbl_Uname"))->text();
            for (int b = 1; b <= 8; ++b) {
                auto* r = d->findChild<QRadioButton*>(QString::asprintf("rbtn%02d", b));
                seen.enabled.push_back(r->isEnabled());
                if (r->isChecked()) seen.checked = b;
            }
            d->findChild<QRadioButton*>(QString::asprintf("rbtn%02d", button))->setChecked(true);
            d->findChild<QPushButton*>(u("btnEntry"))->click();
        });
        emit grid->doubleClicked(grid->rows()->index(row, 16));
        QApplication::processEvents();
        return seen;
    };
    const auto storedMark = [&](int runner) {
        std::string lines;
        EXPECT_TRUE(readFile(sePath, lines));
        const std::size_t width = layoutOf(Family::SE).lineLength;
        return std::string(getField(Family::SE, std::string_view(lines).substr(width * static_cast<std::size_t>(runner), width), "UserYoso"));
    };

    // Runner 2 has no mark: ◎ (runner 1) and ○ (runner 3) are taken, 無印 is selected.
    Seen second = enterMark(1, 4);
    EXPECT_EQ(second.number, u("02番"));
    EXPECT_EQ(second.name, u("ウマ02"));
    EXPECT_EQ(second.enabled, (std::vector<bool>{false, false, true, true, true, true, true, true}));
    EXPECT_EQ(second.checked, 8);
    EXPECT_EQ(grid->rows()->index(1, 16).data().toString(), u("△"));
    EXPECT_EQ(storedMark(1), sj("△"));

    // Runner 1 holds ◎ itself, so ◎ stays choosable; 無印 stores two blanks.
    Seen first = enterMark(0, 8);
    EXPECT_EQ(first.enabled[0], true);
    EXPECT_EQ(first.enabled[1], false);
    EXPECT_EQ(first.checked, 1);
    EXPECT_EQ(storedMark(0), "  ");
    EXPECT_EQ(grid->rows()->index(0, 16).data().toString().trimmed(), QString());

    // Every other byte of the file is kept.
    const Field& userYoso = *layoutOf(Family::SE).find("UserYoso");
    const std::size_t width = layoutOf(Family::SE).lineLength;
    std::string expected = before;
    expected.replace(userYoso.pos - 1, 2, "  ");
    expected.replace(width + userYoso.pos - 1, 2, sj("△"));
    std::string after;
    ASSERT_TRUE(readFile(sePath, after));
    EXPECT_EQ(after, expected);
}

TEST_F(RaceCardTest, PredictionOptionsWriteTheSettingsAndWarn) {
    test::MessageCapture capture;
    TfrmMain w(home.path());
    installRaceCard(w);
    QAction* odds = w.action(u("mnuOptOdds"));
    ASSERT_TRUE(odds->isEnabled());
    EXPECT_FALSE(odds->isChecked());
    odds->trigger();
    EXPECT_TRUE(odds->isChecked());
    EXPECT_EQ(IniFile(home.path() + "tarvo.ini").read("COMP_IDX", "oddadd"), "1");
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(capture.messages[0].text,
              u("オッズを予想条件に組み込みました。\r\nこの設定変更により予想印が変わる可能性があります。\r\n"
                "※地方重賞予想はこの設定に影響されません。\r\n\r\n中央レースの出馬表を表示している場合には、レース一覧で\r\n"
                "当該レースを再指定、またはオッズ更新を行ってください。"));
    w.action(u("mnuOptCon"))->trigger();
    w.action(u("mnuOptCon"))->trigger();
    EXPECT_EQ(IniFile(home.path() + "tarvo.ini").read("COMP_IDX", "bcdadd"), "0");
    EXPECT_TRUE(capture.messages.back().text.startsWith(u("ダート道悪補正を無効にしました。")));
    w.action(u("mnuOptCha"))->trigger();
    EXPECT_EQ(IniFile(home.path() + "tarvo.ini").read("DSP_SET", "kako_clr"), "1");
    EXPECT_EQ(capture.messages.size(), 3u) << "the colouring option shows no message";
    QAction* viewer = w.action(u("mnuOptRViewer"));
    const bool was = viewer->isChecked();
    if (viewer->isEnabled()) {
        viewer->trigger();
        EXPECT_EQ(IniFile(home.path() + "tarvo.ini").read("RACE_VIEW", "race_vtr"), was ? "" : "1");
    }
}

// The PDF item opens the race card PDF screen for the shown race: an empty
// file name is refused, a chosen one is written in full.
TEST_F(RaceCardTest, PdfItemWritesTheShownRace) {
    test::MessageCapture capture;
    TfrmMain w(home.path());
    show(w);
    QAction* item = w.action(u("mnuPdfOut"));
    ASSERT_TRUE(item->isEnabled());
    const std::string file = home.path() + "card.pdf";
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        seen << d->windowTitle();
        for (const char* name : {"edtDate", "edtJyo", "edtRace"}) seen << test::child<QLineEdit>(*d, name)->text();
        test::child<QPushButton>(*d, "btnWrite")->click();
        test::child<QLineEdit>(*d, "edtFileName")->setText(QString::fromStdString(file));
        test::child<QPushButton>(*d, "btnWrite")->click();
        auto* bar = test::child<QProgressBar>(*d, "prgWrite");
        seen << QString::number(bar->value()) + "/" + QString::number(bar->maximum());
        d->reject();
    });
    item->trigger();
    EXPECT_EQ(seen, (QStringList{u("出馬表をPDF出力"), u("20240602"), u("東京"), u("11"), u("3/3")}));
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0], (test::Captured{MessageKind::Error, u("出力ファイル名を指定してください")}));
    const test::ToolRun info = test::pdfinfo(file);
    EXPECT_TRUE(test::soundReport(info)) << info.output;
}

}  // namespace
}  // namespace tarvo
