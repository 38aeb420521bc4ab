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
        LineBuilder b(Family::RA);
        test::setRaceKey(b, ra);
        for (const auto& [name, value] : {std::pair{"DataKubun", "2"}, {"TrackCD", "10"}, {"Kyori", "1600"},
                                          {"SyubetuCD", "13"}, {"JyokenCD5", "005"}, {"HassoTime", "1540"},
                                          {"HassoTimeBefore", "0000"}, {"KyoriBefore", "0000"}, {"TrackCDBefore", "00"},
                                          {"TenkoCD", "1"}, {"SibaBabaCD", "1"}})
            b.assignRaw(name, value);
        writeRecord(store.paths.ra(ra.year, ra.monthDay, ra.jyoCD), b.line(), recordKey(Family::RA));
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

    void show(TfrmMain& w) {
        installRaceCard(w);
        w.findChild<QDateEdit*>(u("dtpRcDate"))->setDate(QDate(2024, 6, 2));
        auto* list = w.findChild<QListWidget*>(u("lstRace"));
        ASSERT_EQ(list->count(), 1);
        list->setCurrentRow(0);
        emit list->itemClicked(list->item(0));
    }
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
